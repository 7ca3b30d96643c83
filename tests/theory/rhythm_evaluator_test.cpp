#include <gtest/gtest.h>

#include <vector>

#include "rhythm_test_support.h"
#include "theory/rhythm_click.h"
#include "theory/rhythm_evaluator.h"
#include "theory/rhythm_generator.h"

namespace harmik {
namespace {

using rhythm_test::MakeRhythm;
using rhythm_test::Options;
using rhythm_test::Ticks;

// A user who taps every struck note of the rhythm, `delay` ms late, each tap off by up to
// `jitter` ms either way. Time runs as the click track plays it: whole ms per unit.
struct Tapper {
    RhythmOptions options;
    int tempo = 120;
    std::uint32_t start = 100000;

    std::int64_t UserStart() const {
        const TimeSignature& ts = TimeSignatureOf(options.Metre);
        const int before = options.RhythmMode == RhythmRead
                               ? ts.Beats
                               : ts.Beats * (1 + options.Bars + (options.InterBar ? 1 : 0));
        return std::int64_t{24} * UnitMs(tempo) * before * 4 / ts.Note;
    }

    // Time of the note that starts at `units` into the user's bars.
    std::uint32_t At(int units, int delay = 0) const {
        return start + static_cast<std::uint32_t>(UserStart() + units * UnitMs(tempo) + delay);
    }

    std::vector<std::uint32_t> Taps(const Rhythm& r, int delay, int jitter, Random& random) const {
        std::vector<std::uint32_t> taps;
        int p = 0;
        for (int i = 0; i < r.Count; ++i) {
            const RhythmEvent& e = r.Events[static_cast<std::size_t>(i)];
            if (IsStruck(e))
                taps.push_back(At(p, delay + random.random(2 * jitter + 1) - jitter));
            p += e.Duration;
        }
        return taps;
    }

    RhythmEvaluation Evaluate(const Rhythm& r, const std::vector<std::uint32_t>& taps) const {
        RhythmPass pass;
        pass.Options = options;
        pass.Tempo = tempo;
        pass.StartTime = start;
        pass.Taps = taps;
        return EvaluateRhythm(r, pass);
    }
};

TEST(RhythmEvaluator, ARhythmTappedWithAConstantDelayAndSmallJitterScoresNearlyFull) {
    Random random(5);
    const RhythmItemTicks ticks =
        Ticks({ItemHalf, ItemQuarter, ItemEighth, ItemSixteenth, ItemQuarterTriplets,
               ItemEighthTriplets, ItemRests, ItemDots, ItemTies});
    for (std::uint32_t seed = 0; seed < 300; ++seed) {
        RhythmRequest request;
        request.Options =
            Options(static_cast<int>(seed % kMetreCount), 1 + static_cast<int>(seed % kMaxBars),
                    static_cast<int>(seed % 3));
        request.Options.InterBar = seed % 4 == 1;
        request.Ticked = ticks;
        Random generator(seed);
        const Rhythm rhythm = GenerateRhythm(request, generator).rhythm;

        Tapper user{request.Options, 60 + static_cast<int>(seed % 8) * 20};
        if (seed % 10 == 3)
            user.start = 0xFFFFF000u; // the clock wraps during the pass
        // A delay is recognised while it stays below half the closest spacing of two notes
        // (72 ms between sixteenths at the fastest tempo here).
        const int delay = random.random(51) - 25;
        const auto taps = user.Taps(rhythm, delay, 4, random);
        const RhythmEvaluation result = user.Evaluate(rhythm, taps);
        EXPECT_GE(result.Value, 95) << "seed " << seed << " delay " << delay;
        EXPECT_EQ(result.Matched, result.Sounding) << "seed " << seed;
        EXPECT_EQ(result.ExtraTaps, 0) << "seed " << seed;
    }
}

class RhythmQuarterBar : public testing::Test {
protected:
    // One bar of 4/4 at 120: 21 ms a unit, 504 ms a quarter.
    Rhythm rhythm = MakeRhythm({24, 24, 24, 24});
    Tapper user{Options(3, 1), 120};

    std::vector<std::uint32_t> Exact(std::initializer_list<int> units, int delay = 0) const {
        std::vector<std::uint32_t> taps;
        for (int u : units)
            taps.push_back(user.At(u, delay));
        return taps;
    }
};

TEST_F(RhythmQuarterBar, ExactAndConstantlyLateTapsScoreFull) {
    for (int delay : {0, 30, -45, 90}) {
        const RhythmEvaluation r = user.Evaluate(rhythm, Exact({0, 24, 48, 72}, delay));
        EXPECT_EQ(r.Value, 100) << "delay " << delay;
        EXPECT_EQ(r.VerdictId, VerdictYes);
    }
}

TEST_F(RhythmQuarterBar, MissingAndExtraTapsTakeTheirShareOfTheNotes) {
    EXPECT_EQ(user.Evaluate(rhythm, Exact({0, 24, 72})).Value, 75) << "one of four missed";
    const RhythmEvaluation extra = user.Evaluate(rhythm, Exact({0, 12, 24, 48, 72}));
    EXPECT_EQ(extra.Value, 75) << "one tap too many";
    EXPECT_EQ(extra.ExtraTaps, 1);
    EXPECT_EQ(user.Evaluate(rhythm, Exact({0, 12, 24, 72})).Value, 50) << "one of each";
    EXPECT_EQ(user.Evaluate(rhythm, Exact({0, 24, 72})).VerdictId, VerdictTryAgain);
    EXPECT_EQ(user.Evaluate(rhythm, {}).Value, 0) << "no taps";
    EXPECT_EQ(user.Evaluate(rhythm, {}).VerdictId, VerdictOhNo);
}

TEST_F(RhythmQuarterBar, TimingErrorsCountByMeanAndLargest) {
    // Deviations 0, 20, 20, 0 ms, mean delay 0: k = round(10 x 200 / 2016) = 1,
    // a = 100 - 1 - 20 x 30 / 504 = 97.8.
    const std::vector<std::uint32_t> taps{user.At(0), user.At(24, 20), user.At(48, -20),
                                          user.At(72)};
    const RhythmEvaluation r = user.Evaluate(rhythm, taps);
    EXPECT_NEAR(r.Accuracy, 100 - 1 - 20.0 * 30 / 504, 1e-9);
    EXPECT_EQ(r.Value, 98);
    EXPECT_EQ(r.VerdictId, VerdictYes);
}

TEST(RhythmVerdict, FollowsTheValueAndTheSensitivity) {
    struct Case {
        int value, sensitivity, id;
    };
    for (const Case c :
         {Case{0, 96, VerdictOhNo}, Case{49, 96, VerdictOhNo}, Case{50, 96, VerdictTryAgain},
          Case{89, 96, VerdictTryAgain}, Case{90, 96, VerdictNotBad}, Case{95, 96, VerdictNotBad},
          Case{96, 96, VerdictGood}, Case{97, 96, VerdictGood}, Case{98, 96, VerdictYes},
          Case{100, 96, VerdictYes}, Case{98, 99, VerdictNotBad}, Case{99, 99, VerdictYes},
          Case{89, 89, VerdictGood}})
        EXPECT_EQ(RhythmVerdictFor(c.value, c.sensitivity), c.id)
            << c.value << " at sensitivity " << c.sensitivity;
}

// Read mode in 5/4, six bars of quarters at tempo 300 (8 ms a unit, 16 ms a step): the last
// step of the table is 360. Quarters tapped 80 ms early move the user's start 77 to 80 ms
// earlier, which pushes a late last tap past the end of the table.
TEST(RhythmEvaluatorMends, ATapBeyondTheTableIsAnExtraTap) {
    Rhythm rhythm;
    for (int i = 0; i < 30; ++i)
        rhythm.Events[static_cast<std::size_t>(rhythm.Count++)].Duration = 24;
    Tapper user{Options(5, 6, RhythmRead), 300};

    for (int lastDelay : {0, 50, 120, 200}) {
        std::vector<std::uint32_t> taps;
        for (int i = 0; i < 29; ++i)
            taps.push_back(user.At(24 * i, -80));
        taps.push_back(user.At(24 * 29, lastDelay));
        const RhythmEvaluation r = user.Evaluate(rhythm, taps);
        EXPECT_GE(r.Value, 0);
        EXPECT_LE(r.Value, 100);
        if (lastDelay == 200) {
            // The 29 early taps match exactly after the correction; the last note is missed
            // and its tap, at step 366, is extra: 100 x (1 - 2 / 30).
            EXPECT_EQ(r.Matched, 29);
            EXPECT_EQ(r.ExtraTaps, 1);
            EXPECT_NEAR(r.Accuracy, 100.0 * 28 / 30, 1e-9);
            EXPECT_EQ(r.Value, 93);
        }
    }

    // Taps long after the pass are extra as well.
    std::vector<std::uint32_t> taps;
    for (int i = 0; i < 30; ++i)
        taps.push_back(user.At(24 * i));
    for (int late : {6000, 9000, 60000})
        taps.push_back(user.At(0, late));
    const RhythmEvaluation r = user.Evaluate(rhythm, taps);
    EXPECT_EQ(r.ExtraTaps, 3);
    EXPECT_NEAR(r.Accuracy, 90.0, 1e-9);
}

// Ten taps on a 2/2 bar of two halves: both parts of the formula are negative; their product
// must not come out as a full score.
TEST(RhythmEvaluatorMends, WildTappingScoresNothing) {
    const Rhythm rhythm = MakeRhythm({48, 48});
    Tapper user{Options(0, 1), 120};
    for (int spacing : {2, 5, 9}) {
        std::vector<std::uint32_t> taps;
        for (int i = 0; i < 10; ++i)
            taps.push_back(user.At(i * spacing));
        const RhythmEvaluation r = user.Evaluate(rhythm, taps);
        EXPECT_EQ(r.Value, 0) << "spacing " << spacing;
        EXPECT_EQ(r.VerdictId, VerdictOhNo);
    }
}

// Accuracies of exactly one half are rounded to even, whatever the order of the arithmetic:
// computed in floating point they came out a hair above the half and were rounded up.
TEST(RhythmEvaluatorMends, AnAccuracyOfExactlyAHalfIsRoundedToEven) {
    struct Case {
        const char* what;
        RhythmOptions options;
        int tempo;
        Rhythm rhythm;
        std::vector<std::uint32_t> taps; // ms after the pass's start
        double accuracy;
        int value;
    };
    const std::vector<Case> cases{
        {"5/4, six bars read at tempo 10, one of forty notes tapped",
         Options(5, 6, RhythmRead),
         10,
         MakeRhythm({8, 8, 8, 48, 48, 48, 48, 8, 8, 8, 48, 48, 8, 8, 8, 48, 8, 8, 8, 8,
                     8, 8, 8, 8,  8,  48, 8,  8, 8, 8, 8,  8,  8, 8, 8, 48, 8, 8, 8, 48}),
         {182708},
         5.0 / 2,
         2},
        {"3/8, one bar, 120 ms late",
         Options(1, 1),
         60,
         MakeRhythm({12, 12, 12}),
         {3481, 3905, 4152},
         41.0 / 2,
         20},
    };
    for (const Case& c : cases) {
        Tapper user{c.options, c.tempo};
        std::vector<std::uint32_t> taps;
        for (std::uint32_t t : c.taps)
            taps.push_back(user.start + t);
        const RhythmEvaluation r = user.Evaluate(c.rhythm, taps);
        EXPECT_EQ(r.Accuracy, c.accuracy) << c.what;
        EXPECT_EQ(r.Value, c.value) << c.what;
    }
}

TEST(RhythmEvaluatorMends, RandomTapsStayInsideTheTableAndScoreZeroToHundred) {
    Random random(99);
    const RhythmItemTicks ticks =
        Ticks({ItemWhole, ItemHalf, ItemQuarter, ItemEighth, ItemSixteenth, ItemHalfTriplets,
               ItemSixteenthTriplets, ItemRests, ItemTies});
    for (int trial = 0; trial < 400; ++trial) {
        RhythmRequest request;
        request.Options =
            Options(random.random(kMetreCount), 1 + random.random(kMaxBars), random.random(3));
        request.Options.InterBar = static_cast<std::uint8_t>(random.random(2));
        request.Ticked = ticks;
        const Rhythm rhythm = GenerateRhythm(request, random).rhythm;

        Tapper user{request.Options, 10 + random.random(291)};
        user.start = static_cast<std::uint32_t>(random.random(1 << 30)) * 4u;
        const TimeSignature& ts = TimeSignatureOf(request.Options.Metre);
        const int passMs = PassBeats(request.Options) * 48 / ts.Note * 2 * UnitMs(user.tempo);
        std::vector<std::uint32_t> taps(static_cast<std::size_t>(random.random(500)));
        for (auto& t : taps)
            t = user.start - 1000u + static_cast<std::uint32_t>(random.random(2 * passMs + 1001));

        const RhythmEvaluation r = user.Evaluate(rhythm, taps);
        ASSERT_GE(r.Accuracy, 0.0);
        ASSERT_LE(r.Accuracy, 100.0);
        ASSERT_GE(r.Value, 0);
        ASSERT_LE(r.Value, 100);
        for (const RhythmTapStep& s : r.Steps)
            ASSERT_LT(s.Event, rhythm.Count);
        ASSERT_LE(r.Matched, r.Sounding);
    }
}

} // namespace
} // namespace harmik
