#include "app/score_state.h"

#include <algorithm>

namespace harmik {

void ResetTaskScore(ScoreState& s) {
    s.right = 0;
    s.wrong = 0;
    s.score = 0;
}

void AddTaskToLevelTotals(ScoreState& s) {
    s.LevelRight += s.right;
    s.LevelWrong += s.wrong;
}

void ClearLevelTotals(ScoreState& s) {
    s.LevelRight = 0;
    s.LevelWrong = 0;
}

int LevelPercentage(const ScoreState& s) {
    const std::int64_t total = std::int64_t{s.LevelRight} + s.LevelWrong;
    if (total <= 0)
        return 100;
    return static_cast<int>(std::int64_t{s.LevelRight} * 100 / total);
}

int ControlPercentage(int exercisesPerTask, int wrong) {
    const std::int64_t total = std::int64_t{exercisesPerTask} + wrong;
    if (total <= 0)
        return 100;
    const std::int64_t p = std::int64_t{exercisesPerTask} * 100 / total;
    return static_cast<int>(std::clamp<std::int64_t>(p, 0, 100));
}

GaugeBand ControlBand(int percentage) {
    if (percentage < 50)
        return GaugeBand::Red;
    if (percentage <= 80)
        return GaugeBand::Yellow;
    return GaugeBand::Green;
}

GaugeBand ControlBand(int percentage, const TutorGaugeBands& bands) {
    if (percentage < bands.FlunkPercent - 1)
        return GaugeBand::Red;
    if (percentage < bands.PassPercent)
        return GaugeBand::Yellow;
    return GaugeBand::Green;
}

GaugeBand UpdateControlPercentage(ScoreState& s, int exercisesPerTask,
                                  const TutorGaugeBands* tutorBands) {
    const int p = ControlPercentage(exercisesPerTask, s.wrong);
    s.controlPercentage = static_cast<std::uint8_t>(p);
    return tutorBands ? ControlBand(p, *tutorBands) : ControlBand(p);
}

std::int32_t RoundHalfEven(std::int64_t numerator, std::int64_t denominator) {
    // Floor division first, so that negative values round the same way as positive ones.
    std::int64_t q = numerator / denominator;
    std::int64_t r = numerator % denominator;
    if (r < 0) {
        q -= 1;
        r += denominator;
    }
    const std::int64_t twice = 2 * r;
    if (twice > denominator || (twice == denominator && (q % 2) != 0))
        q += 1;
    return static_cast<std::int32_t>(q);
}

int DecayedPoints(int points, int pointStep) {
    return points > pointStep ? points - pointStep : points;
}

void ApplyPointDecay(ExerciseItem& item) {
    item.points = DecayedPoints(item.points, item.pointStep);
}

int RepeatedPoints(int points) {
    // points / 1.2 is points x 5 / 6, kept exact so that halves are recognised.
    return RoundHalfEven(std::int64_t{points} * 5, 6);
}

void ApplyRepeatCost(ExerciseItem& item) {
    item.points = RepeatedPoints(item.points);
}

QString ScoreText(int score) {
    return QString::asprintf("%5.5d", score);
}

std::int64_t PracticeTimeAt(const ScoreState& s, std::uint32_t now) {
    if (!s.segmentRunning)
        return s.practiceTime;
    // Unsigned difference: right across a wrap of the 32-bit clock.
    return s.practiceTime + static_cast<std::uint32_t>(now - s.segmentStart);
}

void StartClockSegment(ScoreState& s, std::uint32_t now) {
    s.segmentStart = now;
    s.segmentRunning = true;
}

void AddClockSegment(ScoreState& s, std::uint32_t now) {
    s.practiceTime = PracticeTimeAt(s, now);
    s.segmentStart = now;
    s.segmentRunning = false;
}

void ResetPracticeClock(ScoreState& s, std::uint32_t now) {
    s.practiceTime = 0;
    s.segmentStart = now;
}

namespace {

QString clockText(std::int64_t ms, bool withSeconds) {
    const std::int64_t totalSeconds = std::max<std::int64_t>(ms, 0) / 1000;
    const qlonglong hours = totalSeconds / 3600;
    const int minutes = static_cast<int>(totalSeconds / 60 % 60);
    const int seconds = static_cast<int>(totalSeconds % 60);
    if (withSeconds)
        return QString::asprintf("%lld:%02d:%02d", hours, minutes, seconds);
    return QString::asprintf("%lld:%02d", hours, minutes);
}

} // namespace

QString ClockCaptionText(std::int64_t ms) {
    return clockText(ms, false);
}

QString ClockLongText(std::int64_t ms) {
    return clockText(ms, true);
}

} // namespace harmik
