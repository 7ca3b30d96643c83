#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "theory/theory_tables.h"

namespace harmik {
namespace {

std::vector<int> asInts(std::span<const std::uint8_t> offsets) {
    return {offsets.begin(), offsets.end()};
}

std::set<int> pitchClasses(std::span<const std::uint8_t> offsets) {
    std::set<int> classes;
    for (int o : offsets)
        classes.insert(o % 12);
    return classes;
}

// Mode k of a family is the family's first row played from its k-th degree, and every mode is
// of a difficulty the points know (2 to 4).
void expectModesOfFamily(int firstRow) {
    const ScaleRecord& parent = ScaleTable[static_cast<std::size_t>(firstRow)];
    for (int degree = 0; degree < 7; ++degree) {
        std::vector<int> expected;
        const int start = parent.Offsets[static_cast<std::size_t>(degree)];
        for (int i = 0; i < 7; ++i)
            expected.push_back(
                (parent.Offsets[static_cast<std::size_t>((degree + i) % 7)] - start + 12) % 12);
        expected.push_back(12);
        const ScaleRecord& mode = ScaleTable[static_cast<std::size_t>(firstRow + degree)];
        EXPECT_EQ(asInts(mode.notes()), expected) << "row " << firstRow + degree;
        EXPECT_TRUE(mode.Difficulty >= 2 && mode.Difficulty <= 4) << "row " << firstRow + degree;
    }
}

TEST(ScaleTable, ModeRowsAreRotationsOfTheirParentScale) {
    expectModesOfFamily(kMajorModesFirstRow);
    expectModesOfFamily(kHarmonicMinorFirstRow);
    expectModesOfFamily(kMelodicMinorFirstRow);
}

// The parent scales and the symmetric and pentatonic rows as a musician knows them; the
// plain major scale and the simple symmetric scales are the easiest to hear.
TEST(ScaleTable, PrintedRowsAndDifficulties) {
    const struct {
        int Row;
        std::vector<int> Notes;
        int Difficulty;
    } rows[] = {
        {0, {0, 2, 4, 5, 7, 9, 11, 12}, 2},     // major
        {7, {0, 2, 3, 5, 7, 8, 11, 12}, 3},     // harmonic minor
        {14, {0, 2, 3, 5, 7, 9, 11, 12}, 3},    // melodic minor
        {6, {0, 1, 3, 5, 6, 8, 10, 12}, 4},     // Locrian
        {21, {0, 2, 3, 5, 6, 8, 9, 11, 12}, 3}, // diminished, whole-half
        {22, {0, 1, 3, 4, 6, 7, 9, 10, 12}, 3}, // diminished, half-whole
        {23, {0, 2, 4, 6, 8, 10, 12}, 2},       // whole tone
        {24, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 2},
        {25, {0, 2, 4, 7, 9, 12}, 2},     // major pentatonic
        {26, {0, 3, 5, 7, 10, 12}, 2},    // minor pentatonic
        {27, {0, 3, 5, 6, 7, 10, 12}, 2}, // blues
    };
    for (const auto& r : rows) {
        const ScaleRecord& scale = ScaleTable[static_cast<std::size_t>(r.Row)];
        EXPECT_EQ(asInts(scale.notes()), r.Notes) << "row " << r.Row;
        EXPECT_EQ(scale.Difficulty, r.Difficulty) << "row " << r.Row;
    }
}

TEST(ChordTables, TypesFollowEachOtherWithoutGaps) {
    int next = 0;
    for (int type = 0; type < kChordTypeCount; ++type) {
        EXPECT_EQ(ChordTypeIndex[static_cast<std::size_t>(type)].First, next) << type;
        EXPECT_GE(ChordTypeIndex[static_cast<std::size_t>(type)].Count, 1);
        next += ChordTypeIndex[static_cast<std::size_t>(type)].Count;
    }
    EXPECT_EQ(next, kChordVoicingCount);
}

TEST(ChordTables, EveryVoicingHasItsRootLowestAndTheSameNotesAsItsType) {
    for (int type = 0; type < kChordTypeCount; ++type) {
        const ChordTypeEntry& entry = ChordTypeIndex[static_cast<std::size_t>(type)];
        const ChordVoicing& close = ChordVoicingTable[entry.First];
        for (int v = 0; v < entry.Count; ++v) {
            const ChordVoicing& voicing =
                ChordVoicingTable[static_cast<std::size_t>(entry.First + v)];
            SCOPED_TRACE(testing::Message() << "type " << type << " voicing " << v);
            ASSERT_GE(voicing.Count, 3);
            ASSERT_LE(voicing.Count, 7);
            EXPECT_EQ(voicing.Offsets[0], 0);
            EXPECT_TRUE(
                std::is_sorted(voicing.Offsets.begin(), voicing.Offsets.begin() + voicing.Count));
            EXPECT_EQ(voicing.Difficulty, close.Difficulty);
            for (int i = voicing.Count; i < 7; ++i)
                EXPECT_EQ(voicing.Offsets[static_cast<std::size_t>(i)], 0);
            // An alternative voicing may leave out a tone of the close position (the fifth of a
            // ninth chord, say) but never adds a foreign one.
            const auto closeClasses = pitchClasses(close.notes());
            for (int cls : pitchClasses(voicing.notes()))
                EXPECT_TRUE(closeClasses.count(cls)) << "pitch class " << cls;
        }
    }
}

TEST(ChordTables, PrintedSamples) {
    EXPECT_EQ(asInts(ChordVoicingTable[0].notes()), (std::vector<int>{0, 4, 7}));
    EXPECT_EQ(asInts(ChordVoicingTable[chordVoicingRecord(10, 3)].notes()),
              (std::vector<int>{0, 9, 12, 15, 18}));
    EXPECT_EQ(asInts(ChordVoicingTable[chordVoicingRecord(22, 0)].notes()),
              (std::vector<int>{0, 3, 7, 10, 14, 17, 21}));
    EXPECT_EQ(asInts(ChordVoicingTable[chordVoicingRecord(45, 1)].notes()),
              (std::vector<int>{0, 11, 16, 21, 28, 30}));
    EXPECT_EQ(asInts(ChordVoicingTable[145].notes()), (std::vector<int>{0, 3, 6, 10, 14, 17}));
    EXPECT_EQ(ChordVoicingTable[chordVoicingRecord(6, 0)].Difficulty, 1);
    EXPECT_EQ(ChordVoicingTable[chordVoicingRecord(7, 0)].Difficulty, 2);
    EXPECT_EQ(ChordVoicingTable[chordVoicingRecord(12, 0)].Difficulty, 3);
    // A voicing number beyond the type's count stays within the type.
    EXPECT_EQ(chordVoicingRecord(46, 5), 144);
}

TEST(InversionTable, InversionsAreRotationsOfTheRootPosition) {
    for (int chord = 0; chord < kInversionChordCount; ++chord) {
        const InversionRecord& label = InversionTable[static_cast<std::size_t>(chord)];
        std::vector<int> rotated =
            asInts(InversionTable[static_cast<std::size_t>(7 + chord)].notes());
        EXPECT_EQ(asInts(label.notes()), rotated) << "block 0 repeats the root positions";
        EXPECT_EQ(rotated.front(), 0);
        for (int block = 2; block <= (rotated.size() == 4 ? 4 : 3); ++block) {
            // Move the lowest note an octave up.
            rotated.push_back(rotated.front() + 12);
            rotated.erase(rotated.begin());
            const InversionRecord& inv =
                InversionTable[static_cast<std::size_t>(7 * block + chord)];
            EXPECT_EQ(asInts(inv.notes()), rotated) << "chord " << chord << " block " << block;
            EXPECT_EQ(inv.Difficulty, label.Difficulty);
        }
    }
}

TEST(InversionTable, TriadsHaveNoThirdInversionAndOnlyBlocksOneToFourAreAsked) {
    for (int record : {28, 29, 30}) {
        EXPECT_EQ(InversionTable[static_cast<std::size_t>(record)].Count, 3);
        EXPECT_EQ(InversionTable[static_cast<std::size_t>(record)].span(), 0);
        EXPECT_FALSE(isAskableInversion(record));
    }
    for (int record = 0; record < 7; ++record)
        EXPECT_FALSE(isAskableInversion(record));
    int askable = 0;
    for (int record = 0; record < kInversionRecordCount; ++record)
        askable += isAskableInversion(record) ? 1 : 0;
    EXPECT_EQ(askable, 25);
    const int difficulties[7] = {1, 1, 2, 1, 2, 2, 2};
    for (int chord = 0; chord < 7; ++chord)
        EXPECT_EQ(InversionTable[static_cast<std::size_t>(chord)].Difficulty, difficulties[chord]);
}

std::set<int> groupMembers(ModuleId module, int group, int count) {
    std::set<int> members;
    for (int box = 0; box < count; ++box)
        if (ItemGroupContains(module, group, box))
            members.insert(box);
    return members;
}

std::set<int> inEveryOctave(std::initializer_list<int> sizes) {
    std::set<int> members;
    for (int octave = 0; octave < 3; ++octave)
        for (int s : sizes)
            members.insert(12 * octave + s);
    return members;
}

TEST(ItemGroups, IntervalGroupsCoverTheirSizesInAllThreeOctaves) {
    EXPECT_EQ(groupMembers(ModuleId::Intervals, 1, 51), inEveryOctave({0, 5, 7}));
    EXPECT_EQ(groupMembers(ModuleId::Intervals, 2, 51), inEveryOctave({3, 4, 8, 9}));
    EXPECT_EQ(groupMembers(ModuleId::Intervals, 3, 51), inEveryOctave({1, 2, 6, 10, 11}));
}

TEST(ItemGroups, ScaleChordAndProgressionGroups) {
    EXPECT_EQ(groupMembers(ModuleId::Scales, 1, 51),
              (std::set<int>{0, 3, 4, 9, 11, 12, 16, 17, 18, 23, 25}));
    EXPECT_EQ(groupMembers(ModuleId::Scales, 2, 51),
              (std::set<int>{1, 2, 5, 6, 7, 8, 10, 13, 14, 15, 19, 20, 21, 22, 26, 27}));
    EXPECT_EQ(groupMembers(ModuleId::Scales, 3, 51).size(), 7u);
    EXPECT_EQ(groupMembers(ModuleId::Scales, 4, 51).size(), 21u);
    EXPECT_EQ(groupMembers(ModuleId::Scales, 5, 51), (std::set<int>{21, 22, 23, 24}));
    EXPECT_EQ(groupMembers(ModuleId::Chords, 1, 51), (std::set<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(groupMembers(ModuleId::Chords, 2, 51), (std::set<int>{6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(groupMembers(ModuleId::Chords, 3, 51).size(), 18u);
    EXPECT_EQ(*groupMembers(ModuleId::Chords, 4, 51).begin(), 30);
    EXPECT_EQ(groupMembers(ModuleId::Chords, 4, 51).size(), 18u);
    EXPECT_EQ(groupMembers(ModuleId::Progressions, 2, 51).size(), 12u);
    EXPECT_EQ(*groupMembers(ModuleId::Progressions, 3, 51).begin(), 36);
    EXPECT_TRUE(groupMembers(ModuleId::Inversions, 1, 51).empty());
    EXPECT_TRUE(groupMembers(ModuleId::Chords, 5, 51).empty());
}

} // namespace
} // namespace harmik
