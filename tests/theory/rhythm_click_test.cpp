#include <gtest/gtest.h>

#include "rhythm_test_support.h"
#include "theory/rhythm_click.h"
#include "theory/rhythm_evaluator.h"

namespace harmik {
namespace {

using rhythm_test::MakeRhythm;
using rhythm_test::Options;

TEST(RhythmClickGrid, ClicksEveryBeatAndMarksTheProgramsNotesAfterTheCountIn) {
    // 3/4: a click every 12 cells; the rhythm starts at cell 36.
    Rhythm r = MakeRhythm({12, 12, -24, 18, 6});
    r.Events[4].Tie = 1;
    ClickGrid grid{};
    grid.fill(9);
    FillClickGrid(grid, r, 2, RhythmImitate);
    for (int cell = 0; cell < kClickGridCells; ++cell) {
        std::uint8_t expected = cell % 12 == 0 ? StepClick : StepSilent;
        if (cell == 36 || cell == 42 || cell == 60)
            expected |= StepRhythm;
        ASSERT_EQ(grid[static_cast<std::size_t>(cell)], expected) << "cell " << cell;
    }
    EXPECT_EQ(grid[36], StepClickAndRhythm);
    EXPECT_EQ(grid[69], StepSilent) << "a tied note is not struck again";
}

TEST(RhythmClickTrackFill, LaysOutOnePassOfTheExercise) {
    const Rhythm r = MakeRhythm({24, 24, 48, 96});
    RhythmOptions o = Options(3, 2);
    o.InterBar = 1;
    ClickGrid grid{};
    FillClickGrid(grid, r, o.Metre, o.RhythmMode);
    RhythmSoundSettings sounds;
    sounds.ClickChannel = 10;
    sounds.RhythmChannel = 16;
    sounds.RhythmSound = 40;
    ClickTrack track;
    track.Step = 17;
    FillClickTrack(track, grid, o, sounds, 120, 1);

    // Count-in, two bars played, the empty bar and two bars for the user: 24 beats.
    EXPECT_EQ(track.StepCount, 24 * 12 - 1);
    EXPECT_EQ(track.StepsPerBar, 48);
    EXPECT_EQ(track.Period, 42) << "21 ms a unit at 120";
    EXPECT_EQ(track.LoopMode, 1);
    EXPECT_EQ(track.Step.load(), 0);
    EXPECT_EQ(track.Click.Channel, 9);
    EXPECT_EQ(track.Click.Note, 39);
    EXPECT_EQ(track.Accent.Channel, 9);
    EXPECT_EQ(track.Accent.Note, 37);
    EXPECT_EQ(track.Rhythm.Channel, 15);
    EXPECT_EQ(track.Rhythm.Note, 40);
    EXPECT_EQ(track.Rhythm.Velocity, 90);
    EXPECT_EQ(track.Steps[48], StepClickAndRhythm);
    EXPECT_EQ(track.Steps[60], StepClickAndRhythm);
    EXPECT_EQ(track.Steps[72], StepClickAndRhythm);
    EXPECT_EQ(track.Steps[96], StepClickAndRhythm);
    EXPECT_EQ(track.Steps[84], StepClick) << "inside the half note";
}

// In reading mode the grid holds only clicks, and the track leaves out the program's bars and
// the empty bar.
TEST(RhythmClickTrackFill, ReadingModeHoldsOnlyClicksAndTheUsersBars) {
    RhythmOptions o = Options(6, 3, RhythmRead);
    o.InterBar = 1;
    ClickGrid grid{};
    FillClickGrid(grid, MakeRhythm({8, 8, 8, 24, 48}), o.Metre, o.RhythmMode);
    for (int cell = 0; cell < kClickGridCells; ++cell) // 6/8: a click every eighth, 6 cells
        ASSERT_EQ(grid[static_cast<std::size_t>(cell)], cell % 6 == 0 ? StepClick : StepSilent);
    ClickTrack track;
    FillClickTrack(track, grid, o, RhythmSoundSettings{}, 90, 0);
    EXPECT_EQ(track.StepsPerBar, 36);
    EXPECT_EQ(track.StepCount, 4 * 36 - 1) << "count-in and three bars of 6/8";
}

TEST(RhythmClickTrackFill, TempoSetsTheStepPeriod) {
    ClickTrack track;
    const RhythmOptions o = Options(3, 1);
    const std::pair<int, int> tempoToPeriod[] = {{300, 16}, {200, 24}, {60, 84}, {10, 500}};
    for (const auto& [tempo, period] : tempoToPeriod) {
        FillClickTrack(track, ClickGrid{}, o, RhythmSoundSettings{}, tempo, 0);
        EXPECT_EQ(track.Period, period) << "tempo " << tempo;
    }
    FillClickTrack(track, ClickGrid{}, o, RhythmSoundSettings{}, 0, 0);
    EXPECT_GT(track.Period, 0) << "a damaged tempo still gives a running clock";
}

// The click track and the evaluator must agree on when the user's turn starts, for every
// combination of options, and every pass must fit the step table.
TEST(RhythmClickTrackFill, EveryPassFitsTheTableAndTheUsersTurnStartsWhereTheEvaluatorExpects) {
    const Rhythm r = MakeRhythm({24});
    for (int metre = 0; metre < kMetreCount; ++metre) {
        const TimeSignature& ts = TimeSignatureTable[static_cast<std::size_t>(metre)];
        for (int bars = 1; bars <= kMaxBars; ++bars) {
            for (int mode = 0; mode < 3; ++mode) {
                for (int interBar = 0; interBar < 2; ++interBar) {
                    RhythmOptions o = Options(metre, bars, mode);
                    o.InterBar = static_cast<std::uint8_t>(interBar);
                    ClickTrack track;
                    FillClickTrack(track, ClickGrid{}, o, RhythmSoundSettings{}, 137, 0);
                    ASSERT_LT(track.StepCount, ClickTrack::kStepTableSize);
                    const int userSteps = bars * StepsPerBarOf(ts);
                    const int userFirstStep = track.StepCount + 1 - userSteps;
                    EXPECT_EQ(userFirstStep % track.StepsPerBar, 0);

                    RhythmPass pass;
                    pass.Options = o;
                    pass.Tempo = 137;
                    const RhythmEvaluation e = EvaluateRhythm(r, pass);
                    EXPECT_EQ(e.UserStart, userFirstStep * track.Period)
                        << "metre " << metre << " bars " << bars << " mode " << mode;
                }
            }
        }
    }
}

} // namespace
} // namespace harmik
