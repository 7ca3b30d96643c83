#include <algorithm>
#include <cmath>

#include "theory/rhythm_generator.h"

// The point value of a rhythm: short values, dotted values, triplets and ties weigh more; a
// mix of plain values and triplets weighs most.
namespace harmik {

namespace {

// Nearest integer, halves to even (the default rounding mode).
double RoundHalfEven(double x) {
    return std::nearbyint(x);
}

bool IsDottedValue(int d) {
    return d == 9 || d == 18 || d == 36 || d == 72;
}
bool IsTripletValue(int d) {
    return d == 2 || d == 4 || d == 8 || d == 16 || d == 32;
}

int TickedCount(const RhythmItemTicks& ticked) {
    return static_cast<int>(std::count(ticked.begin(), ticked.end(), true));
}

struct EventWeights {
    double Sum = 0;
    int Plain = 0;    // events with a weight (all of them)
    int Triplets = 0; // triplet values among them
};

EventWeights WeighEvents(const Rhythm& rhythm) {
    EventWeights weights;
    for (int i = 0; i < rhythm.Count; ++i) {
        const RhythmEvent& e = rhythm.Events[static_cast<std::size_t>(i)];
        const int d = e.Duration;
        int w = 3;
        if (d <= 12)
            w += 4;
        if (d <= 6)
            w += 8;
        if (IsDottedValue(d))
            w += w / 2;
        if (w > 0)
            ++weights.Plain;
        if (IsTripletValue(d)) {
            w *= 2;
            ++weights.Triplets;
        }
        if (e.Tie)
            w *= 2;
        weights.Sum += w;
    }
    return weights;
}

} // namespace

std::int32_t RhythmPoints(const Rhythm& rhythm, const RhythmRequest& request) {
    const RhythmOptions& o = request.Options;
    const EventWeights weights = WeighEvents(rhythm);
    const int bars = BarsOf(o);
    const int mode = std::clamp<int>(o.RhythmMode, 0, 2);
    const int metre = std::clamp<int>(o.Metre, 0, kMetreCount - 1);

    double s = weights.Sum / 1.5;
    if (mode != RhythmImitate)
        s = s / bars * (1 + (bars - 1) / 4.0);
    const int h = weights.Plain;
    const int t = weights.Triplets;
    const double mix = h + t > 0 ? 1 + 2.0 * std::min(h, t) / (h + t) : 1;
    auto v = static_cast<std::int64_t>(
        RoundHalfEven(TimeSignatureWeight[static_cast<std::size_t>(metre)] * s / 16 * mix *
                      RhythmModeWeight[static_cast<std::size_t>(mode)]));

    const int ticked = TickedCount(request.Ticked);
    if (ticked == 1)
        v /= 3;
    else if (ticked == 2)
        v /= 2;
    const int divisor = std::max(1, request.ExercisesPerTask + 2);
    return static_cast<std::int32_t>(RoundHalfEven(static_cast<double>(v) * 22 / divisor));
}

} // namespace harmik
