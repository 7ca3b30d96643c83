#include <gtest/gtest.h>

#include "theory/item_names.h"
#include "theory/note_names.h"
#include "theory_test_strings.h"

namespace harmik {
namespace {

const ItemNameList list = BuildItemNameList(test::theoryLookup());

TEST(ItemNameList, SlicesFollowEachOtherInModuleOrder) {
    EXPECT_EQ(list.Items.size(), 36u + 28u + 48u + 35u + 48u);
    EXPECT_EQ(list.name(ModuleId::Intervals, 0), "Унисон");
    EXPECT_EQ(list.name(ModuleId::Scales, 0), "Ионийский");
    EXPECT_EQ(list.name(ModuleId::Scales, 27), "Блюзовый");
    EXPECT_EQ(list.name(ModuleId::Chords, 0), "мажор");
    EXPECT_EQ(list.name(ModuleId::Chords, 47), "m11(b5)");
    EXPECT_EQ(list.name(ModuleId::Inversions, 6), "m7(b5)");
    EXPECT_EQ(list.name(ModuleId::Chords, 48), "") << "past the slice";
    EXPECT_EQ(list.name(ModuleId::Melodies, 0), "") << "no answer boxes";
    EXPECT_EQ(list.name(ModuleId::Progressions, 0), "") << "no progression labels given";
}

TEST(ItemNameList, IntervalNamesStopAtTheTenthExceptForTwoOctaves) {
    EXPECT_EQ(list.intervalName(12), "Октава");
    EXPECT_EQ(list.intervalName(16), "(Б.децима)");
    EXPECT_EQ(list.intervalName(24), "2 Октавы");
    for (int size : {17, 18, 23, 25, 35})
        EXPECT_EQ(list.intervalName(size), "") << size;
}

TEST(ItemNameList, InversionLabelsNameTheColumns) {
    EXPECT_EQ(list.name(ModuleId::Inversions, 7), "осн.вид");
    EXPECT_EQ(list.name(ModuleId::Inversions, 13), "осн.вид");
    EXPECT_EQ(list.name(ModuleId::Inversions, 14), "1. обращ.");
    EXPECT_EQ(list.name(ModuleId::Inversions, 27), "2. обращ.");
    EXPECT_EQ(list.name(ModuleId::Inversions, 34), "3. обращ.");
}

TEST(ItemNameList, LongestNamesCountCharactersNotBytes) {
    EXPECT_EQ(list.LongestInterval, 10);  // "(М.децима)", "(Б.децима)"
    EXPECT_EQ(list.LongestScale, 21);     // "Миксолидийский b9,b13"
    EXPECT_EQ(list.LongestChord, 12 - 3); // "m7(b5) add11", "maj13(#11)" is 10
    EXPECT_EQ(list.RangeWord, "Диапазон");
    EXPECT_EQ(list.OctavesWord, "Октавы");
}

TEST(NoteNames, SpellingAndGermanNotation) {
    EXPECT_EQ(flatNoteName(61, false), "Db");
    EXPECT_EQ(sharpNoteName(61, false), "C#");
    EXPECT_EQ(keyNoteName(63, false), "Eb");
    EXPECT_EQ(keyNoteName(66, false), "F#");
    EXPECT_EQ(flatNoteName(71, true), "H");
    EXPECT_EQ(flatNoteName(70, true), "Bb");
    EXPECT_EQ(sharpNoteName(70, true), "A#");
    EXPECT_EQ(flatNoteName(-1, false), "B") << "negative notes wrap to their pitch class";
    EXPECT_EQ(spelledNoteName(6, -2, false), "Bbb");
    EXPECT_EQ(spelledNoteName(3, 2, false), "F##");
    EXPECT_EQ(spelledNoteName(6, 0, true), "H");
    EXPECT_EQ(spelledNoteName(6, -1, true), "Bb");
    EXPECT_EQ(accidentalSuffix(3), "");
    EXPECT_EQ(romanNumeral(10), "bVII");
    EXPECT_EQ(romanNumeral(-1), "VII");
}

TEST(FormatNumber, ReplacesThePlaceholder) {
    EXPECT_EQ(formatNumber("%d. обращ.", 2), "2. обращ.");
    EXPECT_EQ(formatNumber("без числа", 2), "без числа");
}

} // namespace
} // namespace harmik
