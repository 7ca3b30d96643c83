#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "exercise_test_options.h"
#include "theory/exercise_generators.h"
#include "theory/exercise_points.h"
#include "theory/theory_tables.h"

namespace harmik {
namespace {

using test::optionsWithAllTicked;
using test::optionsWithTicked;

// ---- drawing the item -------------------------------------------------------------------

// Every ticked item is drawn about equally often and no other one; a lone ticked item is drawn
// even though it repeats the last one, and a ticked count larger than the ticks still gives a
// ticked item.
TEST(PickTickedItem, OnlyTickedItemsAreDrawnEvenWhenTheyRepeatOrTheCountIsWrong) {
    const GeneratorOptions options = optionsWithTicked({2, 9, 30, 47}, 48);
    Random random(3);
    std::map<int, int> seen;
    for (int i = 0; i < 2000; ++i)
        ++seen[PickTickedItem(options, -1, 0, 48, random)];
    EXPECT_EQ(seen.size(), 4u);
    for (auto [item, count] : seen) {
        EXPECT_TRUE(item == 2 || item == 9 || item == 30 || item == 47);
        EXPECT_NEAR(count, 500, 100) << item;
    }
    const GeneratorOptions lone = optionsWithTicked({17}, 36);
    GeneratorOptions miscounted = optionsWithTicked({4, 6}, 28);
    miscounted.SelectedCount = 9;
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(PickTickedItem(lone, 17, 0, 36, random), 17);
        const int item = PickTickedItem(miscounted, -1, 0, 28, random);
        EXPECT_TRUE(item == 4 || item == 6) << item;
    }
}

// Share of draws that repeat the previous item.
double repeatShare(int ticked, std::uint32_t seed) {
    GeneratorOptions options = optionsWithAllTicked(ticked);
    Random random(seed);
    int repeats = 0;
    const int draws = 20000;
    for (int i = 0; i < draws; ++i)
        repeats += PickTickedItem(options, 0, 0, ticked, random) == 0 ? 1 : 0;
    return static_cast<double>(repeats) / draws;
}

TEST(PickTickedItem, RepeatsAreAvoidedWithTwoDrawsUpToThreeItemsAndFourAbove) {
    // Up to 3 ticked items a repeat needs two unlucky draws, above that four.
    EXPECT_NEAR(repeatShare(2, 1), 1.0 / 4, 0.02);
    EXPECT_NEAR(repeatShare(3, 2), 1.0 / 9, 0.015);
    EXPECT_NEAR(repeatShare(4, 3), 1.0 / 256, 0.003);
    EXPECT_NEAR(repeatShare(10, 4), 0.0, 0.001);
}

// ---- intervals --------------------------------------------------------------------------

TEST(GenerateInterval, AnUpwardTwelfthFromAFixedRootIsLoweredAnOctave) {
    GeneratorOptions options = optionsWithTicked({19}, 36);
    options.HighestNote = 72;
    ExerciseItem item;
    Random random(1);
    const GenerateResult result = GenerateInterval(item, options, random);
    EXPECT_EQ(item.itemIndex, 19);
    EXPECT_EQ(item.root, 48);
    EXPECT_EQ(item.keyTonic, 48);
    EXPECT_TRUE(result.PointsChanged);
    EXPECT_TRUE(result.Staff.ClearAccidentals);
    EXPECT_TRUE(result.Staff.DrawRoot);
    EXPECT_EQ(result.Staff.RootToDraw, 48);
}

TEST(GenerateInterval, DirectionSetsTheSignAndAGivenIndexLeavesThePoints) {
    GeneratorOptions options = optionsWithTicked({4}, 36);
    options.Direction = DirectionDown;
    options.PlayMode = PlayHarmonic;
    ExerciseItem item;
    item.points = 77;
    item.pointStep = 3;
    Random random(1);
    GenerateResult result = GenerateInterval(item, options, random, 7);
    EXPECT_EQ(item.itemIndex, -7);
    EXPECT_EQ(item.root, 60);
    EXPECT_FALSE(result.PointsChanged) << "a given index leaves the points alone";
    EXPECT_EQ(item.points, 77);
    EXPECT_EQ(item.pointStep, 3);
    EXPECT_EQ(result.Staff.RootToDraw, -60) << "a downward harmonic interval is drawn negated";

    options.PlayMode = PlayMelodic;
    result = GenerateInterval(item, options, random, 7);
    EXPECT_EQ(result.Staff.RootToDraw, 60);

    options.Direction = DirectionBoth;
    std::set<int> signs;
    for (int i = 0; i < 100; ++i) {
        GenerateInterval(item, options, random);
        signs.insert(item.itemIndex);
    }
    EXPECT_EQ(signs, (std::set<int>{-4, 4}));
}

TEST(GenerateInterval, PointsFollowDifficultyModeAndRandomRoot) {
    struct Case {
        int size;
        int direction;
        int playMode;
        bool randomRoot;
        int ticked;
        int exercises;
        int points;
        int pointStep;
    };
    const Case cases[] = {
        // fifth: d = 2, base 10 + 3 (harmonic) + 15 (random) = 28; sqrt(4) x 28 x 1.5 = 84
        {7, DirectionUp, PlayHarmonic, true, 5, 20, 84, 16},
        // minor third: d = 3, base 15; 1 x 15 x 1.5 = 22.5 rounds to the even 22
        {3, DirectionUp, PlayMelodic, false, 2, 20, 22, 4},
        // major third: d = 4, base 20; 30 x 22 div 12 = 55
        {4, DirectionUp, PlayMelodic, false, 2, 10, 55, 11},
        // downward minor second: d = 4 + 0 + 1 = 5, base 25; 3 x 25 x 1.5 = 112.5 -> 112
        {1, DirectionDown, PlayMelodic, false, 10, 20, 112, 22},
        // major seventh up counts one octave more (|11 + 1| div 12 = 1): d = 5, base 25
        {11, DirectionUp, PlayMelodic, false, 2, 20, 38, 7},
        // two octaves down: d = 1 + 1 + 1 = 3, base 15 + 3; 27
        {24, DirectionDown, PlayHarmonic, false, 2, 20, 27, 5},
        // a single ticked item is worth nothing
        {7, DirectionUp, PlayHarmonic, true, 1, 20, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "size " << c.size << " ticked " << c.ticked);
        GeneratorOptions options = optionsWithTicked({c.size}, 36);
        // The other ticked items lie above the one under test, away from it.
        for (int box = 35; options.SelectedCount < c.ticked; --box)
            if (box != c.size) {
                options.AnswerChecks[static_cast<std::size_t>(box)] = true;
                ++options.SelectedCount;
            }
        options.Direction = c.direction;
        options.PlayMode = c.playMode;
        options.RandomRoot = c.randomRoot;
        options.ExercisesPerTask = c.exercises;
        ExerciseItem item;
        item.itemIndex = 100; // none of the boxes
        Random random(1);
        // Draw until the item is the one under test (a draw sets the points).
        for (int i = 0; i < 200 && std::abs(item.itemIndex) != c.size; ++i)
            GenerateInterval(item, options, random);
        ASSERT_EQ(std::abs(item.itemIndex), c.size);
        EXPECT_EQ(item.points, c.points);
        EXPECT_EQ(item.pointStep, c.pointStep);
    }
}

TEST(GenerateInterval, RandomRootsKeepBothNotesInTheRange) {
    for (int lower : {36, 40, 48})
        for (int upper : {71, 77, 83}) {
            GeneratorOptions options = optionsWithAllTicked(36);
            options.RandomRoot = true;
            options.Direction = DirectionBoth;
            options.LowestNote = lower;
            options.HighestNote = upper;
            Random random(static_cast<std::uint32_t>(lower * 100 + upper));
            ExerciseItem item;
            for (int i = 0; i < 2000; ++i) {
                GenerateInterval(item, options, random);
                const int a = item.root, b = item.root + item.itemIndex;
                if (std::abs(item.itemIndex) > upper - lower)
                    continue; // cannot fit
                ASSERT_GE(std::min(a, b), lower) << a << " " << b;
                ASSERT_LE(std::max(a, b), upper) << a << " " << b;
            }
        }
}

TEST(GenerateInterval, EveryNoteStaysWithinTheExerciseCompass) {
    for (int root = 60; root <= 71; ++root)
        for (int lower : {36, 48})
            for (int upper : {71, 83})
                for (int direction : {DirectionUp, DirectionDown})
                    for (int size = 0; size < 36; ++size) {
                        GeneratorOptions options = optionsWithAllTicked(36);
                        options.RootNote = root;
                        options.Direction = direction;
                        options.LowestNote = lower;
                        options.HighestNote = upper;
                        ExerciseItem item;
                        Random random(1);
                        GenerateInterval(item, options, random, size);
                        const int a = item.root, b = item.root + item.itemIndex;
                        ASSERT_GE(std::min(a, b), 36) << root << " " << size;
                        ASSERT_LE(std::max(a, b), 83) << root << " " << size;
                    }
}

TEST(GenerateInterval, ClefFollowsTheNotes) {
    GeneratorOptions options = optionsWithAllTicked(36);
    ExerciseItem item;
    Random random(1);
    options.RootNote = 60;
    GenerateInterval(item, options, random, 4); // 60..64
    EXPECT_EQ(item.clef, ClefTreble);
    options.LowestNote = 36;
    options.Direction = DirectionDown;
    GenerateInterval(item, options, random, 7); // 53..60
    EXPECT_EQ(item.clef, ClefBass);
    GenerateInterval(item, options, random, 16); // 44..60: below 55
    EXPECT_EQ(item.clef, ClefBass);
    options.Direction = DirectionUp;
    GenerateInterval(item, options, random, 7); // 60..67: above 65
    EXPECT_EQ(item.clef, ClefTreble);
    options.RootNote = 50;
    GenerateInterval(item, options, random, 17); // 50..67
    EXPECT_EQ(item.clef, ClefBoth);
}

// ---- scales -----------------------------------------------------------------------------

TEST(GenerateScale, KeyTonicIsTheParentMajorKey) {
    EXPECT_EQ(scaleKeyTonic(1, 62), 60);  // D Dorian: C major
    EXPECT_EQ(scaleKeyTonic(4, 67), 60);  // G Mixolydian
    EXPECT_EQ(scaleKeyTonic(5, 69), 60);  // A Aeolian
    EXPECT_EQ(scaleKeyTonic(7, 69), 60);  // A harmonic minor: relative C
    EXPECT_EQ(scaleKeyTonic(8, 71), 60);  // its second mode on B
    EXPECT_EQ(scaleKeyTonic(14, 69), 60); // A melodic minor
    EXPECT_EQ(scaleKeyTonic(20, 68), 48); // G# altered: A melodic minor, relative C
    EXPECT_EQ(scaleKeyTonic(23, 61), 61); // whole tone: its own root
    EXPECT_EQ(scaleKeyTonic(27, 50), 50);
    EXPECT_EQ(scaleKeyTonic(6, 36), 37) << "B Locrian low down stays at 36 or above";
    EXPECT_EQ(scaleKeyTonic(7, 36), 39);
}

TEST(GenerateScale, RandomRootsLeaveRoomForTheOctave) {
    GeneratorOptions options = optionsWithAllTicked(28);
    options.RandomRoot = true;
    for (int lower : {36, 45})
        for (int upper : {71, 83}) {
            options.LowestNote = lower;
            options.HighestNote = upper;
            Random random(static_cast<std::uint32_t>(lower + upper));
            ExerciseItem item;
            std::set<int> roots;
            for (int i = 0; i < 3000; ++i) {
                GenerateScale(item, options, random);
                ASSERT_GE(item.root, lower);
                ASSERT_LE(item.root + 12, upper);
                ASSERT_GE(item.keyTonic, 36);
                roots.insert(item.root);
            }
            EXPECT_EQ(static_cast<int>(roots.size()), upper - lower - 11);
        }
}

TEST(GenerateScale, FixedRootPointsAndClef) {
    GeneratorOptions options = optionsWithTicked({2, 24}, 28);
    options.PlayMode = PlayHarmonic;
    options.RootNote = 62;
    ExerciseItem item;
    Random random(4);
    for (int i = 0; i < 50 && item.itemIndex != 2; ++i)
        GenerateScale(item, options, random);
    ASSERT_EQ(item.itemIndex, 2); // Phrygian, difficulty 4
    EXPECT_EQ(item.root, 62);
    EXPECT_EQ(item.keyTonic, 58); // D Phrygian: B flat major
    // base 20 + 5 + 5 = 30; 1 x 30 x 2 = 60
    EXPECT_EQ(item.points, 60);
    EXPECT_EQ(item.pointStep, 12);
    EXPECT_EQ(item.clef, ClefTreble); // 62..74
    options.RootNote = 53;
    GenerateScale(item, options, random, 0);
    EXPECT_EQ(item.clef, ClefBass); // 53..65: low, and not above 65
}

// ---- chords -----------------------------------------------------------------------------

int chordTop(const ExerciseItem& item) {
    return item.root + ChordVoicingTable[static_cast<std::size_t>(
                                             chordVoicingRecord(item.itemIndex, item.voicing))]
                           .span();
}

TEST(GenerateChord, AFixedRootIsLoweredWhenTheChordReachesTheUpperLimit) {
    GeneratorOptions options = optionsWithTicked({0}, 48);
    options.LowestNote = 44;
    options.HighestNote = 67;
    ExerciseItem item;
    Random random(1);
    GenerateChord(item, options, random);
    EXPECT_EQ(item.root, 48) << "the top note may not reach the upper limit itself";
    options.HighestNote = 68;
    GenerateChord(item, options, random);
    EXPECT_EQ(item.root, 60);
    options.RootNote = 71;
    options.HighestNote = 83;
    GenerateChord(item, options, random, 22); // m13, span 21
    EXPECT_EQ(item.root, 59);
    EXPECT_EQ(item.keyTonic, 59);
}

// Without Belig only the close voicing is played; with it all four voicings of maj9 (type 13)
// and its neighbour of the same difficulty come, and the points count the voicing.
TEST(GenerateChord, VoicingsOnlyWithBeligAndPointsCountThem) {
    GeneratorOptions options = optionsWithTicked({13, 20}, 48);
    options.PlayMode = PlayMelodic;
    ExerciseItem item;
    Random random(21);
    for (bool belig : {false, true}) {
        options.Belig = belig;
        std::set<int> voicings;
        for (int i = 0; i < 400; ++i) {
            GenerateChord(item, options, random);
            voicings.insert(item.voicing);
            // difficulty 3: base 15 + 5 + 3 x voicing; 1 x base x 1.5: 30, 34.5 -> 34, 39, 43.5 ->
            // 44
            const int expected[] = {30, 34, 39, 44};
            if (belig) {
                EXPECT_EQ(item.points, expected[item.voicing]) << item.voicing;
                EXPECT_EQ(item.pointStep, item.points / 5);
            }
        }
        EXPECT_EQ(voicings, belig ? (std::set<int>{0, 1, 2, 3}) : (std::set<int>{0}));
    }
}

TEST(GenerateChord, NotesStayWithinTheCompassAndARandomRootWithRoomWithinTheRange) {
    for (bool randomRoot : {false, true})
        for (int lower : {36, 44, 48})
            for (int upper : {60, 71, 83}) {
                GeneratorOptions options = optionsWithAllTicked(48);
                options.RandomRoot = randomRoot;
                options.RootNote = 71;
                options.Belig = true;
                options.LowestNote = lower;
                options.HighestNote = upper;
                Random random(static_cast<std::uint32_t>(lower * 7 + upper));
                ExerciseItem item;
                for (int i = 0; i < 1500; ++i) {
                    GenerateChord(item, options, random);
                    ASSERT_GE(item.root, 36);
                    ASSERT_LE(chordTop(item), 83)
                        << "type " << item.itemIndex << " voicing " << item.voicing;
                    ASSERT_LT(item.voicing, ChordTypeIndex[item.itemIndex].Count);
                    if (randomRoot && lower == 44 && upper == 83) { // room for every chord
                        ASSERT_GE(item.root, 44);
                        ASSERT_LT(chordTop(item), 83);
                    }
                }
            }
}

// ---- inversions -------------------------------------------------------------------------

// Every askable record is drawn, never the label column nor the hidden triads' third
// inversions, and the notes stay within the compass.
TEST(GenerateInversion, RecordsComeFromBlocksOneToFourAndNotesFromTheCompass) {
    std::set<int> seen;
    GeneratorOptions options = optionsWithAllTicked(35, kFirstInversionItem);
    for (int box : {28, 29, 30})
        options.AnswerVisible[static_cast<std::size_t>(box)] = false;
    options.SelectedCount = 25;
    for (bool randomRoot : {false, true})
        for (int lower : {36, 44, 48})
            for (int upper : {71, 83}) {
                options.RandomRoot = randomRoot;
                options.RootNote = 66;
                options.LowestNote = lower;
                options.HighestNote = upper;
                Random random(static_cast<std::uint32_t>(lower + upper));
                ExerciseItem item;
                for (int i = 0; i < 1500; ++i) {
                    GenerateInversion(item, options, random);
                    ASSERT_TRUE(isAskableInversion(item.itemIndex)) << item.itemIndex;
                    seen.insert(item.itemIndex);
                    const InversionRecord& r = InversionTable[item.itemIndex];
                    ASSERT_GE(item.root + r.Offsets[0], 36);
                    ASSERT_LE(item.root + r.span(), 83);
                }
            }
    EXPECT_EQ(seen.size(), 25u);
}

TEST(GenerateInversion, PointsAndClefFromTheBass) {
    GeneratorOptions options = optionsWithTicked({31, 14}, 35, kFirstInversionItem);
    options.PlayMode = PlayHarmonic;
    options.RootNote = 60;
    options.ExercisesPerTask = 20;
    ExerciseItem item;
    Random random(3);
    for (int i = 0; i < 50 && item.itemIndex != 31; ++i)
        GenerateInversion(item, options, random);
    ASSERT_EQ(item.itemIndex, 31); // major seventh, third inversion: 11 12 16 19
    EXPECT_EQ(item.root, 60);
    // base 5 + 5 + 3 = 13; 1 x 13 x 1.5 = 19.5 -> 20; step div 8
    EXPECT_EQ(item.points, 20);
    EXPECT_EQ(item.pointStep, 2);
    EXPECT_EQ(item.clef, ClefTreble); // 71..79
}

TEST(GenerateInversion, AGivenRowLabelPlaysTheRootPosition) {
    GeneratorOptions options = optionsWithTicked({14}, 35, kFirstInversionItem);
    ExerciseItem item;
    Random random(1);
    GenerateInversion(item, options, random, 4);
    EXPECT_EQ(item.itemIndex, 4);
    EXPECT_EQ(InversionTable[4].notes()[0], 0);
    GenerateInversion(item, options, random, 99);
    EXPECT_EQ(item.itemIndex, 34) << "an index past the table stays inside it";
}

// ---- arithmetic -------------------------------------------------------------------------

// The clef thresholds of scales and intervals; nothing ticked gives no points, not a NaN.
TEST(ExercisePoints, ClefThresholdsAndNoTicks) {
    EXPECT_EQ(scaleClef(53, 65), ClefBass);
    EXPECT_EQ(scaleClef(53, 66), ClefBoth);
    EXPECT_EQ(scaleClef(54, 66), ClefTreble);
    EXPECT_EQ(intervalClef(54, 60), ClefBass);
    EXPECT_EQ(intervalClef(55, 65), ClefTreble);
    EXPECT_EQ(intervalClef(55, 62), ClefBass) << "average 58 lies below middle C";
    EXPECT_EQ(itemPoints(0, 10, 1.5, 20), 0);
}

} // namespace
} // namespace harmik
