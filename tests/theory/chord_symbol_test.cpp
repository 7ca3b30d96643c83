#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "theory/chord_symbol.h"
#include "theory_test_strings.h"

namespace harmik {
namespace {

class ChordSymbolTest : public testing::Test {
protected:
    ItemNameList names_ = BuildItemNameList(test::theoryLookup());
};

constexpr int C = 48, Db = 49, D = 50, Eb = 51, E = 52, F = 53, Gb = 54, G = 55, Ab = 56, A = 57,
              Bb = 58, B = 59;

// The held notes and the name shown for them. Single notes name the bass both ways; an
// interval is measured to the second lowest pitch class; doublings, spread positions and
// octaves do not change a chord's name; the bass names the chord even when it is not the
// root; German notation renames only B.
TEST_F(ChordSymbolTest, HeldNotesNameTheirChord) {
    const struct {
        std::vector<int> Notes;
        bool German;
        std::string Name;
    } cases[] = {
        {{}, false, ""},
        {{0}, false, ""}, // note 0 lies outside 1..127
        {{Db}, false, "Db/C#"},
        {{Bb}, false, "Bb/A#"},
        {{E}, false, "E"},
        {{C, C + 12}, false, "C (+1 Диапазон)"},
        {{Gb, Gb + 24}, false, "Gb/F# (+2 Октавы)"},
        {{C, C + 12, C + 24}, false, "C"}, // one pitch class in three notes
        {{C, E + 12}, false, "C +Б.терция (+1 Диапазон)"},
        {{C, G}, false, "C +Ч.квинта"},
        {{A, C + 12}, false, "A +М.терция"},
        {{Eb, E + 36}, false, "Eb/D# +М.секунда (+3 Октавы)"},
        {{C, G, C + 12}, false, "C +Ч.квинта"},
        {{F, B}, false, "F +Тритон"},
        {{C, E, G}, false, "C"},
        {{C, Eb, G}, false, "Cm"},
        {{C, Eb, Gb}, false, "Cdim"},
        {{C, E, Ab}, false, "Caug"},
        {{C, D, G}, false, "Csus2"},
        {{C, F, G}, false, "Csus4"},
        {{C, G, E + 12, C + 24}, false, "C"},
        {{D, A, F + 12}, false, "Dm"},
        {{C, E, G, Bb}, false, "C7"},
        {{C, E, G, B}, false, "Cmaj7"},
        {{C, Eb, G, Bb}, false, "Cm7"},
        {{C, Eb, G, B}, false, "Cmmaj7"},
        {{C, Eb, Gb, Bb}, false, "Cm7(b5)"},
        {{C, Eb, Gb, A}, false, "Cdim7"},
        {{C, F, G, Bb}, false, "Csus7"},
        {{C, E, G, Bb, Db + 12}, false, "C7(b9)"},
        {{C, E, G, Bb, Eb + 12}, false, "C7(#9)"},
        {{C, E, G, Bb, D + 12}, false, "C9"},
        {{C, E, G, B, D + 12}, false, "Cmaj9"},
        {{C, E, G, A}, false, "C6"},
        {{C, E, G, A, D + 12}, false, "C6/9"},
        {{C, E, G, D + 12}, false, "Cadd9"},
        {{C, Eb, G, Bb, D + 12, F + 12}, false, "Cm11"},
        {{C, E, G, Bb, D + 12, A + 12}, false, "C13"},
        {{C, E, Gb, Bb}, false, "C7(b5)"},
        {{C, E, Ab, Bb}, false, "C7(#5)"},
        {{C, E, Ab, Bb, Eb + 12}, false, "C7(#5,#9)"},
        {{C, E, G, Bb, Gb + 12}, false, "C7(#11)"},
        {{C, E, G, B, Gb + 12}, false, "Cmaj7(#11)"},
        {{E, G, C + 12}, false, "Em(#5)"},
        {{D, F, A, C + 12}, false, "Dm7"},
        {{Ab, C + 12, Eb + 12, Gb + 12}, false, "Ab7"},
        {{B}, true, "H"},
        {{Bb}, true, "Bb/A#"},
        {{B, D + 12, Gb + 12}, true, "Hm"},
        {{B, D + 12, Gb + 12}, false, "Bm"},
        {{Bb, D + 12, F + 12}, true, "Bb"},
    };
    for (const auto& c : cases) {
        NoteHeldFlags held{};
        for (int n : c.Notes)
            held[static_cast<std::size_t>(n)] = true;
        EXPECT_EQ(BuildChordSymbol(held, names_, c.German), c.Name) << c.Name;
    }
}

} // namespace
} // namespace harmik
