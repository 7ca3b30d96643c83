#pragma once
#include "theory/exercise_item.h"

#include <QString>
#include <cstdint>

namespace harmik {

// The numbers a task produces: counters, score, control gauge and the practice clock. All
// zero at program start; times are read from the program's monotonic millisecond clock.
struct ScoreState {
    std::int32_t right = 0;
    std::int32_t wrong = 0; // a shown answer counts 2
    std::int32_t score = 0;
    std::uint8_t controlPercentage = 0;
    // Practice time accumulated since program start, in milliseconds.
    std::int64_t practiceTime = 0;
    // Clock reading when the current timed stretch began, and whether a stretch is running
    // (it is not while no task runs, nor while a shown answer waits for the next press).
    std::uint32_t segmentStart = 0;
    bool segmentRunning = false;
    // Right and wrong summed over the tasks since the tutor last judged a level.
    std::int32_t LevelRight = 0;
    std::int32_t LevelWrong = 0;
};

// Task start: counters and score back to zero (the gauge then shows 100).
void ResetTaskScore(ScoreState& s);

// Task end: the task's counts join the level totals.
void AddTaskToLevelTotals(ScoreState& s);
void ClearLevelTotals(ScoreState& s);

// Share of right answers over the level: LevelRight x 100 div (LevelRight + LevelWrong), 100
// when there were none.
int LevelPercentage(const ScoreState& s);

// Control gauge value: (N x 100) div (N + wrong), 100 when N + wrong is not positive.
int ControlPercentage(int exercisesPerTask, int wrong);

enum class GaugeBand { Red, Yellow, Green };

// Thresholds of the current tutor task.
struct TutorGaugeBands {
    int FlunkPercent = 0;
    int PassPercent = 0;
};

// Band without the tutor: below 50 red, 50 to 80 yellow, above 80 green.
GaugeBand ControlBand(int percentage);
// Band with the tutor: red below FlunkPercent - 1, yellow below PassPercent, else green.
GaugeBand ControlBand(int percentage, const TutorGaugeBands& bands);

// Recomputes the control percentage of the record and returns its band.
GaugeBand UpdateControlPercentage(ScoreState& s, int exercisesPerTask,
                                  const TutorGaugeBands* tutorBands);

// numerator / denominator rounded to the nearest integer, halves to even (denominator > 0).
std::int32_t RoundHalfEven(std::int64_t numerator, std::int64_t denominator);

// One tick of the points decay: points fall by pointStep while they are above it.
int DecayedPoints(int points, int pointStep);
void ApplyPointDecay(ExerciseItem& item);

// What a repeat of the exercise leaves: round(points / 1.2), halves to even.
int RepeatedPoints(int points);
void ApplyRepeatCost(ExerciseItem& item);

// The score as the program shows it: "%5.5d".
QString ScoreText(int score);

// Practice clock. `now` is a reading of the monotonic millisecond clock.
std::int64_t PracticeTimeAt(const ScoreState& s, std::uint32_t now);
// A new timed stretch begins (task start, next exercise after a shown answer).
void StartClockSegment(ScoreState& s, std::uint32_t now);
// The running stretch joins the practice time; the clock then waits for the next stretch.
void AddClockSegment(ScoreState& s, std::uint32_t now);
// Practice time back to zero; a running stretch starts again from now.
void ResetPracticeClock(ScoreState& s, std::uint32_t now);

// "h:nn" and "h:nn:ss" of a time in milliseconds (hours are not limited to a day).
QString ClockCaptionText(std::int64_t ms);
QString ClockLongText(std::int64_t ms);

} // namespace harmik
