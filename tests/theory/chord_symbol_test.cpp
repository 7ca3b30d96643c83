#include <gtest/gtest.h>

#include <initializer_list>

#include "theory/chord_symbol.h"
#include "theory_test_strings.h"

namespace harmik {
namespace {

class ChordSymbolTest : public testing::Test {
protected:
    std::string name(std::initializer_list<int> notes, bool german = false) const {
        NoteHeldFlags held{};
        for (int n : notes)
            held[static_cast<std::size_t>(n)] = true;
        return BuildChordSymbol(held, names_, german);
    }

    ItemNameList names_ = BuildItemNameList(test::theoryLookup());
};

constexpr int C = 48, Db = 49, D = 50, Eb = 51, E = 52, F = 53, Gb = 54, G = 55, Ab = 56, A = 57,
              Bb = 58, B = 59;

TEST_F(ChordSymbolTest, NothingHeldGivesAnEmptyName) {
    EXPECT_EQ(name({}), "");
    EXPECT_EQ(name({0}), "") << "note 0 lies outside 1..127";
}

TEST_F(ChordSymbolTest, SingleNotesAndOctavesNameTheBassBothWays) {
    EXPECT_EQ(name({Db}), "Db/C#");
    EXPECT_EQ(name({Bb}), "Bb/A#");
    EXPECT_EQ(name({E}), "E");
    EXPECT_EQ(name({C, C + 12}), "C (+1 Диапазон)");
    EXPECT_EQ(name({Gb, Gb + 24}), "Gb/F# (+2 Октавы)");
    EXPECT_EQ(name({C, C + 12, C + 24}), "C") << "one pitch class in three notes";
}

TEST_F(ChordSymbolTest, IntervalsNameTheDistanceToTheSecondLowestNote) {
    EXPECT_EQ(name({C, E + 12}), "C +Б.терция (+1 Диапазон)");
    EXPECT_EQ(name({C, G}), "C +Ч.квинта");
    EXPECT_EQ(name({A, C + 12}), "A +М.терция");
    EXPECT_EQ(name({Eb, E + 36}), "Eb/D# +М.секунда (+3 Октавы)");
    // Two pitch classes in three notes: still an interval, measured to the next note up.
    EXPECT_EQ(name({C, G, C + 12}), "C +Ч.квинта");
    // Two notes a unison apart cannot be held, but a tritone can.
    EXPECT_EQ(name({F, B}), "F +Тритон");
}

TEST_F(ChordSymbolTest, Triads) {
    EXPECT_EQ(name({C, E, G}), "C");
    EXPECT_EQ(name({C, Eb, G}), "Cm");
    EXPECT_EQ(name({C, Eb, Gb}), "Cdim");
    EXPECT_EQ(name({C, E, Ab}), "Caug");
    EXPECT_EQ(name({C, D, G}), "Csus2");
    EXPECT_EQ(name({C, F, G}), "Csus4");
    // Doublings and spread positions do not change the name.
    EXPECT_EQ(name({C, G, E + 12, C + 24}), "C");
    EXPECT_EQ(name({D, A, F + 12}), "Dm");
}

TEST_F(ChordSymbolTest, SeventhChords) {
    EXPECT_EQ(name({C, E, G, Bb}), "C7");
    EXPECT_EQ(name({C, E, G, B}), "Cmaj7");
    EXPECT_EQ(name({C, Eb, G, Bb}), "Cm7");
    EXPECT_EQ(name({C, Eb, G, B}), "Cmmaj7");
    EXPECT_EQ(name({C, Eb, Gb, Bb}), "Cm7(b5)");
    EXPECT_EQ(name({C, Eb, Gb, A}), "Cdim7");
    EXPECT_EQ(name({C, F, G, Bb}), "Csus7");
}

TEST_F(ChordSymbolTest, ExtensionsAndAlterations) {
    EXPECT_EQ(name({C, E, G, Bb, Db + 12}), "C7(b9)");
    EXPECT_EQ(name({C, E, G, Bb, Eb + 12}), "C7(#9)");
    EXPECT_EQ(name({C, E, G, Bb, D + 12}), "C9");
    EXPECT_EQ(name({C, E, G, B, D + 12}), "Cmaj9");
    EXPECT_EQ(name({C, E, G, A}), "C6");
    EXPECT_EQ(name({C, E, G, A, D + 12}), "C6/9");
    EXPECT_EQ(name({C, E, G, D + 12}), "Cadd9");
    EXPECT_EQ(name({C, Eb, G, Bb, D + 12, F + 12}), "Cm11");
    EXPECT_EQ(name({C, E, G, Bb, D + 12, A + 12}), "C13");
    EXPECT_EQ(name({C, E, Gb, Bb}), "C7(b5)");
    EXPECT_EQ(name({C, E, Ab, Bb}), "C7(#5)");
    EXPECT_EQ(name({C, E, Ab, Bb, Eb + 12}), "C7(#5,#9)");
    EXPECT_EQ(name({C, E, G, Bb, Gb + 12}), "C7(#11)");
    EXPECT_EQ(name({C, E, G, B, Gb + 12}), "Cmaj7(#11)");
}

TEST_F(ChordSymbolTest, TheBassNamesTheChordEvenWhenItIsNotTheRoot) {
    // E G C: named from the bass E with its pitch classes above it.
    EXPECT_EQ(name({E, G, C + 12}), "Em(#5)");
    EXPECT_EQ(name({D, F, A, C + 12}), "Dm7");
    EXPECT_EQ(name({Ab, C + 12, Eb + 12, Gb + 12}), "Ab7");
}

TEST_F(ChordSymbolTest, GermanNotationRenamesOnlyB) {
    EXPECT_EQ(name({B}, true), "H");
    EXPECT_EQ(name({Bb}, true), "Bb/A#");
    EXPECT_EQ(name({B, D + 12, Gb + 12}, true), "Hm");
    EXPECT_EQ(name({B, D + 12, Gb + 12}, false), "Bm");
    EXPECT_EQ(name({Bb, D + 12, F + 12}, true), "Bb");
}

} // namespace
} // namespace harmik
