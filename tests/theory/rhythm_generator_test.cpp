#include <gtest/gtest.h>

#include <vector>

#include "rhythm_test_support.h"
#include "theory/rhythm_generator.h"

namespace harmik {
namespace {

using rhythm_test::MakeRhythm;
using rhythm_test::Options;
using rhythm_test::Starts;
using rhythm_test::Ticks;
using rhythm_test::TotalUnits;

RhythmExercise Generate(int metre, int bars, const RhythmItemTicks& ticks, std::uint32_t seed,
                        bool shortLoop = false) {
    RhythmRequest request;
    request.Options = Options(metre, bars);
    request.Options.ShortLoop = shortLoop;
    request.Ticked = ticks;
    Random random(seed);
    return GenerateRhythm(request, random);
}

// A random selection with at least one value box ticked.
RhythmItemTicks RandomTicks(Random& random) {
    RhythmItemTicks t{};
    for (auto& box : t)
        box = random.random(2) == 1;
    t[static_cast<std::size_t>(random.random(9))] = true;
    return t;
}

int SoundingEvents(const Rhythm& r) {
    int n = 0;
    for (int i = 0; i < r.Count; ++i)
        n += r.Events[static_cast<std::size_t>(i)].Rest == 0;
    return n;
}

TEST(RhythmGenerator, EveryRhythmFillsItsBarsWithoutCrossingABarLine) {
    Random pick(7);
    for (int metre = 0; metre < kMetreCount; ++metre) {
        const int bar = BarLength(TimeSignatureTable[static_cast<std::size_t>(metre)]);
        for (int bars = 1; bars <= kMaxBars; ++bars) {
            for (std::uint32_t seed = 0; seed < 25; ++seed) {
                const RhythmItemTicks ticks = RandomTicks(pick);
                const RhythmExercise ex = Generate(metre, bars, ticks, seed);
                const Rhythm& r = ex.rhythm;
                SCOPED_TRACE(testing::Message()
                             << "metre " << metre << " bars " << bars << " seed " << seed);
                ASSERT_LE(r.Count, Rhythm::kMaxEvents);
                EXPECT_EQ(TotalUnits(r), bars * bar);
                const std::vector<int> starts = Starts(r);
                for (int i = 0; i < r.Count; ++i) {
                    const int d = r.Events[static_cast<std::size_t>(i)].Duration;
                    ASSERT_GT(d, 0);
                    const int s = starts[static_cast<std::size_t>(i)];
                    EXPECT_EQ(s / bar, (s + d - 1) / bar) << "event " << i << " crosses a bar";
                }
                if (ticks[ItemRests]) {
                    EXPECT_GE(SoundingEvents(r), bars);
                }
                if (ticks[ItemEighth] && ticks[ItemSixteenth]) {
                    EXPECT_TRUE(ex.fault.empty()) << "short values fit every place";
                }
                EXPECT_FALSE(r.Events[0].Tie) << "the first note has nothing to tie to";
            }
        }
    }
}

TEST(RhythmGenerator, WholeNotesFillTheirBars) {
    const RhythmExercise ex = Generate(3, 2, Ticks({ItemWhole}), 1);
    ASSERT_EQ(ex.rhythm.Count, 2);
    EXPECT_EQ(ex.rhythm.Events[0].Duration, 96);
    EXPECT_EQ(ex.rhythm.Events[1].Duration, 96);
    EXPECT_TRUE(ex.fault.empty());
}

TEST(RhythmGenerator, ThreeFourWithOnlyHalvesReportsTheFaultAndStillFillsTheBar) {
    for (std::uint32_t seed = 0; seed < 20; ++seed) {
        const RhythmExercise ex = Generate(2, 1, Ticks({ItemHalf}), seed);
        EXPECT_EQ(ex.fault, kRhythmDrawFaultMessage);
        ASSERT_GE(ex.rhythm.Count, 2);
        EXPECT_EQ(ex.rhythm.Events[0].Duration, 48);
        EXPECT_LT(ex.rhythm.Events[1].Duration, 48) << "a shorter value takes the third beat";
        EXPECT_EQ(TotalUnits(ex.rhythm), 72);
    }
    // With the quarter ticked as well every position has a value.
    for (std::uint32_t seed = 0; seed < 20; ++seed)
        EXPECT_TRUE(Generate(2, 4, Ticks({ItemHalf, ItemQuarter}), seed).fault.empty());
}

TEST(RhythmGenerator, LongestValueFollowsThePositionInTheBar) {
    const TimeSignature& threeFour = TimeSignatureTable[2];
    const TimeSignature& fourFour = TimeSignatureTable[3];
    const TimeSignature& sixEight = TimeSignatureTable[6];
    EXPECT_EQ(LongestAllowedValue(0, fourFour), 0);
    EXPECT_EQ(LongestAllowedValue(24, fourFour), 1);
    EXPECT_EQ(LongestAllowedValue(72, fourFour), 2) << "a half would cross the bar line";
    EXPECT_EQ(LongestAllowedValue(84, fourFour), 3);
    EXPECT_EQ(LongestAllowedValue(90, fourFour), 4);
    EXPECT_EQ(LongestAllowedValue(48, threeFour), 2);
    EXPECT_EQ(LongestAllowedValue(72 + 48, threeFour), 2) << "same place in the second bar";
    EXPECT_EQ(LongestAllowedValue(12, sixEight), 2) << "compound metre: a quarter after an eighth";
    EXPECT_EQ(LongestAllowedValue(12, fourFour), 3);
}

TEST(RhythmGenerator, TripletsComeInThreesOfTheTickedValue) {
    const RhythmExercise eighths = Generate(3, 2, Ticks({ItemEighthTriplets}), 3);
    ASSERT_EQ(eighths.rhythm.Count, 24);
    for (int i = 0; i < eighths.rhythm.Count; ++i)
        EXPECT_EQ(eighths.rhythm.Events[static_cast<std::size_t>(i)].Duration, 8);

    // 6/8 takes no eighth triplet across its beat: the middle quarter stays plain.
    const Rhythm sixEight = Generate(6, 1, Ticks({ItemEighthTriplets}), 3).rhythm;
    std::vector<int> durations;
    for (int i = 0; i < sixEight.Count; ++i)
        durations.push_back(sixEight.Events[static_cast<std::size_t>(i)].Duration);
    EXPECT_EQ(durations, (std::vector<int>{8, 8, 8, 24, 8, 8, 8}));

    const RhythmExercise sixteenths = Generate(1, 2, Ticks({ItemSixteenthTriplets}), 3);
    ASSERT_EQ(sixteenths.rhythm.Count, 18) << "3/8: six eighths, each as three";
    for (int i = 0; i < sixteenths.rhythm.Count; ++i)
        EXPECT_EQ(sixteenths.rhythm.Events[static_cast<std::size_t>(i)].Duration, 4);
}

// "2/2" beats in halves, alla breve in quarters: a dotted quarter or half may start on every
// quarter in alla breve, only on the half-note beats in 2/2.
TEST(RhythmGenerator, DottedValuesStartOnlyOnTheMetresBeatUnits) {
    const RhythmItemTicks ticks =
        Ticks({ItemHalf, ItemQuarter, ItemEighth, ItemDots, ItemRests, ItemSixteenth});
    int allaBreveOffBeat = 0;
    int dottedSeen = 0;
    for (std::uint32_t seed = 0; seed < 300; ++seed) {
        for (int metre : {0, 4}) {
            const Rhythm r = Generate(metre, 2, ticks, seed).rhythm;
            const std::vector<int> starts = Starts(r);
            for (int i = 0; i < r.Count; ++i) {
                const int d = r.Events[static_cast<std::size_t>(i)].Duration;
                if (d != 36 && d != 72)
                    continue;
                ++dottedSeen;
                const int s = starts[static_cast<std::size_t>(i)];
                EXPECT_EQ(s % (metre == 0 ? 48 : 24), 0) << "metre " << metre << " at " << s;
                if (metre == 4 && s % 48 == 24)
                    ++allaBreveOffBeat;
            }
        }
    }
    EXPECT_GT(dottedSeen, 50);
    EXPECT_GT(allaBreveOffBeat, 0) << "alla breve should use its quarter beats";
}

TEST(RhythmGenerator, RestsKeepClearOfTheExcludedPlaces) {
    const RhythmItemTicks ticks =
        Ticks({ItemQuarter, ItemEighth, ItemSixteenth, ItemRests, ItemTies});
    int rests = 0;
    for (std::uint32_t seed = 0; seed < 200; ++seed) {
        const int metre = static_cast<int>(seed % kMetreCount);
        const int bar = BarLength(TimeSignatureTable[static_cast<std::size_t>(metre)]);
        const Rhythm r = Generate(metre, 3, ticks, seed, /*shortLoop=*/true).rhythm;
        const std::vector<int> starts = Starts(r);
        for (int i = 0; i < r.Count; ++i) {
            const RhythmEvent& e = r.Events[static_cast<std::size_t>(i)];
            if (i > 0 && e.Tie) {
                const RhythmEvent& before = r.Events[static_cast<std::size_t>(i - 1)];
                EXPECT_FALSE(before.Rest) << "a tie follows a note";
                EXPECT_FALSE(before.Duration == e.Duration && e.Duration == 24)
                    << "two equal quarters are not tied";
            }
            if (!e.Rest)
                continue;
            ++rests;
            EXPECT_FALSE(e.Tie);
            EXPECT_NE(starts[static_cast<std::size_t>(i)] % bar, 0)
                << "the loop forbids a rest on a bar's first beat (seed " << seed << ")";
        }
    }
    EXPECT_GT(rests, 20);
}

TEST(RhythmGenerator, RestsMergeIntoTickedValuesOnly) {
    // A quarter and an eighth rest in 3/8 share one beat unit and become a dotted quarter; a
    // sixteenth note and rest become an eighth.
    RhythmItemTicks ticks = Ticks({ItemQuarter, ItemEighth, ItemSixteenth});
    const TimeSignature& threeEight = TimeSignatureTable[1];
    Rhythm r = MakeRhythm({6, -6, 24});
    EXPECT_TRUE(MergeRests(r, threeEight, ticks));
    ASSERT_EQ(r.Count, 2);
    EXPECT_EQ(r.Events[0].Duration, 12);

    ticks[ItemDots] = true;
    r = MakeRhythm({24, -12});
    EXPECT_TRUE(DotBeforeRests(r, threeEight, ticks));
    ASSERT_EQ(r.Count, 1);
    EXPECT_EQ(r.Events[0].Duration, 36);

    // In 4/4 the same pair crosses the quarter beat and stays as it is.
    r = MakeRhythm({24, -12, 12, 48});
    EXPECT_FALSE(DotBeforeRests(r, TimeSignatureTable[3], ticks));
    EXPECT_EQ(r.Count, 4);
    // Without eighths ticked two sixteenths are not written as an eighth.
    ticks[ItemEighth] = false;
    r = MakeRhythm({6, -6, 24});
    EXPECT_FALSE(MergeRests(r, threeEight, ticks));
}

std::vector<int> Marks(const Rhythm& r, int level) {
    std::vector<int> marks;
    for (int i = 0; i < r.Count; ++i)
        marks.push_back(
            r.Events[static_cast<std::size_t>(i)].Beam[static_cast<std::size_t>(level)]);
    return marks;
}

TEST(RhythmBeams, GroupsFollowTheBeat) {
    Rhythm eighths = MakeRhythm({12, 12, 12, 12, 48});
    SetBeamMarks(eighths, TimeSignatureTable[3]);
    EXPECT_EQ(Marks(eighths, 0), (std::vector<int>{2, 3, 2, 3, 0}));

    Rhythm sixteenths = MakeRhythm({6, 6, 6, 6, 24, 48});
    SetBeamMarks(sixteenths, TimeSignatureTable[3]);
    EXPECT_EQ(Marks(sixteenths, 0), (std::vector<int>{2, 1, 1, 3, 0, 0}));
    EXPECT_EQ(Marks(sixteenths, 1), (std::vector<int>{2, 1, 1, 3, 0, 0}));
    EXPECT_EQ(Marks(sixteenths, 2), (std::vector<int>{0, 0, 0, 0, 0, 0}));

    Rhythm compound = MakeRhythm({12, 12, 12, 12, 12, 12});
    SetBeamMarks(compound, TimeSignatureTable[6]);
    EXPECT_EQ(Marks(compound, 0), (std::vector<int>{2, 1, 3, 2, 1, 3}));

    // An eighth alone between longer notes, and one after a rest, carry their own flag.
    Rhythm lone = MakeRhythm({24, 12, 24, 36});
    SetBeamMarks(lone, TimeSignatureTable[3]);
    EXPECT_EQ(Marks(lone, 0), (std::vector<int>{0, 4, 0, 0}));
    Rhythm afterRest = MakeRhythm({24, 24, -12, 12, 24});
    SetBeamMarks(afterRest, TimeSignatureTable[3]);
    EXPECT_EQ(Marks(afterRest, 0), (std::vector<int>{0, 0, 0, 4, 0}));
}

TEST(RhythmBeams, OnlyNotesShorterThanTheLevelCarryMarks) {
    Random pick(11);
    const RhythmItemTicks all =
        Ticks({ItemHalf, ItemQuarter, ItemEighth, ItemSixteenth, ItemQuarterTriplets,
               ItemEighthTriplets, ItemSixteenthTriplets, ItemRests, ItemDots, ItemTies});
    for (std::uint32_t seed = 0; seed < 200; ++seed) {
        const Rhythm r = Generate(static_cast<int>(seed % kMetreCount), 2, all, seed).rhythm;
        for (int i = 0; i < r.Count; ++i) {
            const RhythmEvent& e = r.Events[static_cast<std::size_t>(i)];
            const int limits[3] = {24, 12, 6};
            const int triplet[3] = {16, 8, 4};
            for (int level = 0; level < 3; ++level) {
                const int mark = e.Beam[static_cast<std::size_t>(level)];
                const bool beamed =
                    !e.Rest && e.Duration < limits[level] && e.Duration != triplet[level];
                EXPECT_EQ(mark != BeamNone, beamed) << "event " << i << " level " << level;
                EXPECT_LE(mark, BeamFlag);
            }
        }
    }
}

TEST(RhythmPoints, WeighValuesTripletsTiesAndMode) {
    RhythmRequest plain;
    plain.Options = Options(3, 1, RhythmImitate);
    plain.Ticked = Ticks({ItemQuarter});
    // Four quarters: 12 / 1.5 x 5 / 16 x 4 = 10; a single ticked box divides by 3.
    EXPECT_EQ(RhythmPoints(MakeRhythm({24, 24, 24, 24}), plain), 3);

    RhythmRequest triplets;
    triplets.Options = Options(3, 1, RhythmRead);
    triplets.Ticked = Ticks({ItemQuarter, ItemEighthTriplets, ItemRests});
    triplets.ExercisesPerTask = 9;
    // (3 x 14 + 3 x 3) / 1.5 = 34; 5 x 34 / 16 x (1 + 2 x 3/9) x 3 = 53.125 -> 53; x 22 / 11.
    EXPECT_EQ(RhythmPoints(MakeRhythm({8, 8, 8, 24, 24, 24}), triplets), 106);

    RhythmRequest dotted;
    dotted.Options = Options(2, 2, RhythmReadListen);
    dotted.Ticked = Ticks({ItemQuarter, ItemDots});
    Rhythm r = MakeRhythm({36, 12, 24, 18, 6, 48});
    r.Events[1].Tie = 1;
    // 43 / 1.5 / 2 x 1.25 = 17.92; 15 x 17.92 / 16 x 2 = 33.6 -> 34; two boxes halve it.
    EXPECT_EQ(RhythmPoints(r, dotted), 17);
}

} // namespace
} // namespace harmik
