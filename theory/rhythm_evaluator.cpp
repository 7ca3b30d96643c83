#include "theory/rhythm_evaluator.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "theory/rhythm_click.h"

namespace harmik {

namespace {

constexpr int kLastStep = kRhythmTapSteps - 1;

using TapTable = std::array<RhythmTapStep, kRhythmTapSteps>;

// Timing of the pass, derived from the tempo as actually played (whole milliseconds per unit).
struct PassTiming {
    std::int32_t UnitMs;
    std::int32_t StepMs; // 2 units: 1/12 of a quarter at the tempo as played
    std::int32_t QuarterMs;
    int UserSteps;          // steps of the user's bars
    std::int64_t UserStart; // ms from the pass start
};

PassTiming TimePass(const RhythmOptions& options, int tempo) {
    const TimeSignature& ts = TimeSignatureOf(options.Metre);
    const int bars = BarsOf(options);
    // Beats before the user's turn: count-in, then unless reading the program's bars and the
    // empty bar.
    int beatsBefore = ts.Beats;
    if (options.RhythmMode != RhythmRead)
        beatsBefore += bars * ts.Beats + (options.InterBar ? ts.Beats : 0);
    PassTiming t{};
    t.UnitMs = UnitMs(tempo);
    t.StepMs = 2 * t.UnitMs;
    t.QuarterMs = 24 * t.UnitMs;
    t.UserSteps = std::min(bars * ts.Beats * 48 / ts.Note, kLastStep);
    t.UserStart = static_cast<std::int64_t>(t.QuarterMs) * beatsBefore * 4 / ts.Note;
    return t;
}

std::int64_t RoundHalfEven(double x) {
    return static_cast<std::int64_t>(std::nearbyint(x));
}

// r / d to the nearest integer, halves to even (d > 0).
std::int64_t DivideRounded(std::int64_t r, std::int64_t d) {
    std::int64_t q = r / d;
    std::int64_t rest = r % d;
    if (rest < 0) {
        rest += d;
        --q;
    }
    if (2 * rest > d || (2 * rest == d && q % 2 != 0))
        ++q;
    return q;
}

// Puts every tap on its step; a tap beyond the last step is counted as extra instead. Tap
// times are taken relative to the pass start, so the clock's wrap-around does no harm.
int BuildTapTable(TapTable& table, const RhythmPass& pass, std::int64_t userStart,
                  std::int32_t stepMs) {
    table.fill(RhythmTapStep{});
    int beyond = 0;
    for (const std::uint32_t tap : pass.Taps) {
        const std::int64_t offset = static_cast<std::int32_t>(tap - pass.StartTime);
        const std::int64_t r = offset - userStart;
        const std::int64_t step = std::max<std::int64_t>(0, DivideRounded(r, stepMs));
        if (step > kLastStep) {
            ++beyond;
            continue;
        }
        RhythmTapStep& s = table[static_cast<std::size_t>(step)];
        s.Tapped = true;
        s.R = static_cast<std::int32_t>(std::clamp<std::int64_t>(r, INT32_MIN / 2, INT32_MAX / 2));
    }
    return beyond;
}

// Nearest tapped step at or below each step, and at or above it up to the user's last step.
struct TapNeighbours {
    std::array<int, kRhythmTapSteps> Below;
    std::array<int, kRhythmTapSteps> Above;
};

TapNeighbours FindTapNeighbours(const TapTable& table, int userSteps) {
    TapNeighbours n{};
    int below = -1;
    for (int s = 0; s <= kLastStep; ++s) {
        if (table[static_cast<std::size_t>(s)].Tapped)
            below = s;
        n.Below[static_cast<std::size_t>(s)] = below;
    }
    int above = -1;
    for (int s = kLastStep; s >= 0; --s) {
        if (s <= userSteps && table[static_cast<std::size_t>(s)].Tapped)
            above = s;
        n.Above[static_cast<std::size_t>(s)] = s <= userSteps ? above : -1;
    }
    return n;
}

// The tapped step an event at step e claims: the one below unless the one above is nearer;
// the very first step is only taken from above, the user's last step never.
int ChooseTap(const TapNeighbours& n, int e, int userSteps) {
    if (e < 0 || e > kLastStep)
        return -1;
    const int lo = n.Below[static_cast<std::size_t>(e)];
    const int hi = n.Above[static_cast<std::size_t>(e)];
    if (lo > 0 && (hi < 0 || e - lo <= hi - e))
        return lo;
    if (hi >= 0 && hi < userSteps)
        return hi;
    return -1;
}

// One round: every struck event claims its tap; a tap keeps the event it deviates least from.
bool MatchRound(TapTable& table, const TapNeighbours& n, const Rhythm& rhythm,
                const PassTiming& t) {
    bool changed = false;
    int p = 0;
    for (int i = 0; i < rhythm.Count; ++i) {
        const RhythmEvent& event = rhythm.Events[static_cast<std::size_t>(i)];
        const int e = p / 2;
        p += event.Duration;
        if (!IsStruck(event))
            continue;
        const int c = ChooseTap(n, e, t.UserSteps);
        if (c < 0)
            continue;
        RhythmTapStep& step = table[static_cast<std::size_t>(c)];
        const std::int64_t expected = static_cast<std::int64_t>(e) * t.QuarterMs / 12;
        const std::int64_t dev = expected - step.R;
        if (std::llabs(dev) < std::abs(step.Deviation)) {
            step.Event = i;
            step.Deviation = static_cast<std::int32_t>(dev);
            changed = true;
        }
    }
    return changed;
}

void MatchTaps(TapTable& table, const Rhythm& rhythm, const PassTiming& t) {
    const TapNeighbours n = FindTapNeighbours(table, t.UserSteps);
    for (int round = 0; round <= rhythm.Count; ++round) {
        if (!MatchRound(table, n, rhythm, t))
            break;
    }
}

// The user's constant delay: the mean deviation of the matched taps (integer division).
std::int64_t MeanDeviation(const TapTable& table) {
    std::int64_t sum = 0;
    std::int64_t count = 0;
    for (const RhythmTapStep& s : table) {
        if (s.Event >= 0) {
            sum += s.Deviation;
            ++count;
        }
    }
    return count > 0 ? sum / count : 0;
}

int CountStruck(const Rhythm& rhythm) {
    int n = 0;
    for (int i = 0; i < rhythm.Count; ++i)
        n += IsStruck(rhythm.Events[static_cast<std::size_t>(i)]);
    return n;
}

struct Deviations {
    std::int64_t Sum = 0;
    std::int64_t Largest = 0;
    int Matched = 0;
    int TapsWithoutEvent = 0;
};

Deviations SumDeviations(const TapTable& table) {
    Deviations d;
    for (const RhythmTapStep& s : table) {
        if (s.Event >= 0) {
            const std::int64_t dev = std::llabs(static_cast<std::int64_t>(s.Deviation));
            d.Sum += dev;
            d.Largest = std::max(d.Largest, dev);
            ++d.Matched;
        } else if (s.Tapped) {
            ++d.TapsWithoutEvent;
        }
    }
    return d;
}

// The accuracy as an exact fraction of integers, so that a value of exactly one half is
// rounded as a half (to even) and not nudged up or down by the error of a floating-point sum.
struct Fraction {
    std::int64_t Num = 0;
    std::int64_t Den = 1;
};

// Mean and largest deviation lower the score; every missed note and extra tap takes its share
// of the sounding notes. Both parts are limited before they are multiplied, so that wild
// tapping cannot turn two negative parts into a full score.
Fraction Accuracy(const Deviations& d, int extra, int sounding, const RhythmOptions& options,
                  const PassTiming& t) {
    if (d.Matched == 0 || sounding == 0)
        return {};
    const TimeSignature& ts = TimeSignatureOf(options.Metre);
    const std::int64_t quarter = t.QuarterMs;
    const std::int64_t userMs = static_cast<std::int64_t>(BarsOf(options)) * ts.Beats * quarter;
    // k = round(mean deviation x 200 / the user's bars in ms)
    const std::int64_t k = DivideRounded(d.Sum * 200, d.Matched * userMs);
    // timing = 100 - k^2 - Dmax x 30 / Q, in Q-ths, limited to 0..100
    const std::int64_t timing =
        std::clamp<std::int64_t>((100 - k * k) * quarter - d.Largest * 30, 0, 100 * quarter);
    // share = 1 - extra / sounding, in sounding-ths, limited to 0..1
    const std::int64_t share = std::clamp<std::int64_t>(sounding - extra, 0, sounding);
    return {timing * share, quarter * sounding};
}

} // namespace

std::int32_t RoundAccuracy(double accuracy) {
    return static_cast<std::int32_t>(RoundHalfEven(accuracy));
}

std::int32_t RhythmVerdictFor(std::int32_t value, int sensitivity) {
    std::int32_t id = 0;
    if (value < 50)
        id = VerdictOhNo;
    else if (value < 90)
        id = VerdictTryAgain;
    else if (value < 99)
        id = VerdictNotBad;
    if (value >= sensitivity) {
        id = VerdictGood;
        if (value >= 98)
            id = VerdictYes;
    }
    return id;
}

RhythmEvaluation EvaluateRhythm(const Rhythm& rhythm, const RhythmPass& pass) {
    RhythmEvaluation result;
    const PassTiming timing = TimePass(pass.Options, pass.Tempo);

    TapTable& table = result.Steps;
    std::int64_t userStart = timing.UserStart;
    BuildTapTable(table, pass, userStart, timing.StepMs);
    MatchTaps(table, rhythm, timing);

    userStart -= MeanDeviation(table);
    const int beyond = BuildTapTable(table, pass, userStart, timing.StepMs);
    MatchTaps(table, rhythm, timing);

    const Deviations d = SumDeviations(table);
    result.Sounding = CountStruck(rhythm);
    result.Matched = d.Matched;
    result.ExtraTaps = d.TapsWithoutEvent + beyond;
    const int extra = (result.Sounding - d.Matched) + result.ExtraTaps;
    const Fraction a = Accuracy(d, extra, result.Sounding, pass.Options, timing);
    result.Accuracy = static_cast<double>(a.Num) / static_cast<double>(a.Den);
    result.Value = static_cast<std::int32_t>(DivideRounded(a.Num, a.Den));
    result.VerdictId = RhythmVerdictFor(result.Value, pass.Options.RhythmSensitivity);
    result.UserStart = static_cast<std::int32_t>(userStart);
    return result;
}

} // namespace harmik
