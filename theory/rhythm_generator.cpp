#include "theory/rhythm_generator.h"

#include <algorithm>

#include "theory/rhythm_click.h"

namespace harmik {

namespace {

constexpr int kFruitlessDraws = 100;
constexpr int kThirtySecondIndex = 5;

// Value index to units: 0 is a whole bar, then half, quarter, eighth, sixteenth, 32nd.
int ValueDuration(int k, int barLength) {
    constexpr std::array<int, 6> durations{0, 48, 24, 12, 6, 3};
    return k == 0 ? barLength : durations[static_cast<std::size_t>(k)];
}

bool PlainTicked(int k, const RhythmItemTicks& ticked) {
    return k <= ItemSixteenth && ticked[static_cast<std::size_t>(k)];
}

// Triplets exist for the whole bar down to the eighth (three notes in the time of one).
bool TripletTicked(int k, const RhythmItemTicks& ticked) {
    return k < ItemSixteenth && ticked[static_cast<std::size_t>(k + ItemHalfTriplets)];
}

bool Ticked(const RhythmItemTicks& ticked, RhythmItem item) {
    return ticked[static_cast<std::size_t>(item)];
}

// A drawn value can be written when its box or its triplet's box is ticked; sixteenth triplets
// only start on an eighth.
bool DrawAcceptable(int k, int p, const RhythmItemTicks& ticked) {
    if (PlainTicked(k, ticked))
        return true;
    return TripletTicked(k, ticked) && (k != ItemEighth || p % 12 == 0);
}

// Draws value indices from m on until one is acceptable; reports false after 100 fruitless
// draws, leaving the last one drawn in k.
bool DrawValue(int m, int p, const RhythmItemTicks& ticked, Random& random, int& k) {
    for (int draw = 0; draw < kFruitlessDraws; ++draw) {
        k = m + random.random(5 - m);
        if (DrawAcceptable(k, p, ticked))
            return true;
    }
    return false;
}

bool WriteAsTriplet(int k, int p, const RhythmRequest& request, const Rhythm& rhythm,
                    Random& random) {
    if (!TripletTicked(k, request.Ticked))
        return false;
    if (PlainTicked(k, request.Ticked) && random.random(4) != 0)
        return false;
    const int barLength = BarLength(TimeSignatureOf(request.Options.Metre));
    if (k == ItemEighth && p % 12 != 0)
        return false;
    if (request.Options.Metre == kMetreSixEight && k == ItemQuarter && p % barLength == 24)
        return false;
    return rhythm.Count + 3 <= Rhythm::kMaxEvents;
}

// A plain value, dotted when dots and the next shorter value are ticked, it starts on a beat
// unit and the dotted note ends before the bar line.
int PlainValue(int k, int p, const RhythmRequest& request, Random& random) {
    const TimeSignature& ts = TimeSignatureOf(request.Options.Metre);
    const int barLength = BarLength(ts);
    const int plain = ValueDuration(k, barLength);
    if (!Ticked(request.Ticked, ItemDots) || k < 1 || k > 3)
        return plain;
    if (!PlainTicked(k + 1, request.Ticked) || random.random(3) != 0)
        return plain;
    const int dotted = plain + plain / 2;
    const int r = p % barLength;
    if (p % ts.Unit == 0 && r < barLength - dotted && r + dotted <= barLength)
        return dotted;
    return plain;
}

// A value that would overrun the last bar gives way to the longest one that fits.
int FitIntoRest(int value, int left, int barLength) {
    if (value <= left)
        return value;
    for (int k = 0; k <= kThirtySecondIndex; ++k) {
        if (ValueDuration(k, barLength) <= left)
            return ValueDuration(k, barLength);
    }
    return left;
}

void Append(Rhythm& rhythm, int duration) {
    RhythmEvent& e = rhythm.Events[static_cast<std::size_t>(rhythm.Count++)];
    e = RhythmEvent{};
    e.Duration = static_cast<std::uint8_t>(duration);
}

void Erase(Rhythm& rhythm, int i) {
    auto first = rhythm.Events.begin() + i;
    std::copy(first + 1, rhythm.Events.begin() + rhythm.Count, first);
    --rhythm.Count;
}

int SoundingCount(const Rhythm& rhythm) {
    int n = 0;
    for (int i = 0; i < rhythm.Count; ++i)
        n += rhythm.Events[static_cast<std::size_t>(i)].Rest == 0;
    return n;
}

bool IsRestableValue(int d, int barLength) {
    return d == 3 || d == 6 || d == 12 || d == 24 || d == 48 || d == barLength;
}

// Rests that would read awkwardly are kept as notes: none on a bar's first beat when the
// exercise loops at once; no sixteenth or eighth rest on the second sixteenth of a beat when
// the next note then reaches the beat's end; none on the beat's middle right after an eighth.
bool RestAllowed(const Rhythm& rhythm, int i, int start, const RhythmRequest& request) {
    const int barLength = BarLength(TimeSignatureOf(request.Options.Metre));
    const RhythmEvent& e = rhythm.Events[static_cast<std::size_t>(i)];
    const int d = e.Duration;
    if (!IsRestableValue(d, barLength))
        return false;
    if (request.Options.ShortLoop && start % barLength == 0)
        return false;
    const bool shortValue = d == 6 || d == 12;
    if (shortValue && start % 24 == 6) {
        const int nextDuration =
            i + 1 < rhythm.Count ? rhythm.Events[static_cast<std::size_t>(i + 1)].Duration : 0;
        const int nextQuarter = (start / 24 + 1) * 24;
        if (start + d + nextDuration >= nextQuarter)
            return false;
    }
    if (shortValue && start % 24 == 12 && i > 0) {
        const RhythmEvent& previous = rhythm.Events[static_cast<std::size_t>(i - 1)];
        if (previous.Duration == 12 && previous.Rest == 0)
            return false;
    }
    return true;
}

bool WithinOne(int start, int length, int span) {
    return start / span == (start + length - 1) / span;
}

bool CanMerge(int p, int sum, const TimeSignature& ts, const RhythmItemTicks& ticked) {
    const int barLength = BarLength(ts);
    if (!WithinOne(p, sum, barLength))
        return false;
    const bool inUnit = WithinOne(p, sum, ts.Unit);
    const int q = p % 24;
    const int r = p % barLength;
    return (sum == 6 && q <= 18 && inUnit && Ticked(ticked, ItemSixteenth)) ||
           (sum == 12 && q <= 12 && inUnit && Ticked(ticked, ItemEighth)) ||
           (sum == 24 && q == 0 && inUnit && Ticked(ticked, ItemQuarter)) ||
           (sum == 48 && r <= barLength - 48 && Ticked(ticked, ItemHalf)) ||
           (sum == barLength && r == 0 && Ticked(ticked, ItemWhole));
}

bool CanDot(int p, int sum, const TimeSignature& ts, const RhythmItemTicks& ticked) {
    const int barLength = BarLength(ts);
    if (!WithinOne(p, sum, ts.Unit))
        return false;
    const int q = p % 24;
    const int r = p % barLength;
    return (sum == 9 && q <= 15 && Ticked(ticked, ItemSixteenth)) ||
           (sum == 18 && q <= 6 && Ticked(ticked, ItemEighth)) ||
           (sum == 36 && q == 0 && r <= barLength - 36 && Ticked(ticked, ItemQuarter)) ||
           (sum == 72 && r <= barLength - 72 && Ticked(ticked, ItemHalf));
}

// One pass that lets each event swallow the rest after it when `joins` allows the sum.
template <typename Joins> bool AbsorbFollowingRests(Rhythm& rhythm, Joins joins) {
    bool changed = false;
    int p = 0;
    for (int i = 0; i + 1 < rhythm.Count;) {
        RhythmEvent& e = rhythm.Events[static_cast<std::size_t>(i)];
        const RhythmEvent& next = rhythm.Events[static_cast<std::size_t>(i + 1)];
        const int sum = e.Duration + next.Duration;
        if (next.Rest && joins(p, sum)) {
            e.Duration = static_cast<std::uint8_t>(sum);
            Erase(rhythm, i + 1);
            changed = true;
            continue;
        }
        p += e.Duration;
        ++i;
    }
    return changed;
}

bool IsTripletValue(int d) {
    return d == 4 || d == 8 || d == 16 || d == 32;
}

} // namespace

int LongestAllowedValue(int p, const TimeSignature& ts) {
    const int barLength = BarLength(ts);
    const int unit = ts.Unit;
    const int r = p % barLength;
    const int q = p % 24;
    int m = r == 0 ? 0 : 1;
    if ((r != 0 && r != 24 && r != 48 && r != 72) || r > barLength - 48)
        m = 2;
    if (r > barLength - 24 || (q != 0 && q != 12) || (q == 12 && unit != 36))
        m = 3;
    if (p % unit > unit - 12)
        m = 4;
    if (q > 18)
        m = 5;
    return m;
}

bool FillBars(Rhythm& rhythm, const RhythmRequest& request, Random& random) {
    const TimeSignature& ts = TimeSignatureOf(request.Options.Metre);
    const int barLength = BarLength(ts);
    const int total = BarsOf(request.Options) * barLength;
    bool allFitted = true;
    rhythm.Count = 0;
    int p = 0;
    while (p < total && rhythm.Count < Rhythm::kMaxEvents) {
        const int m = LongestAllowedValue(p, ts);
        int k = m;
        if (!DrawValue(m, p, request.Ticked, random, k))
            allFitted = false;
        if (WriteAsTriplet(k, p, request, rhythm, random)) {
            const int whole = ValueDuration(k, barLength);
            for (int n = 0; n < 3; ++n)
                Append(rhythm, whole / 3);
            p += whole;
            continue;
        }
        const int value = FitIntoRest(PlainValue(k, p, request, random), total - p, barLength);
        Append(rhythm, value);
        p += value;
    }
    return allFitted;
}

void PlaceRests(Rhythm& rhythm, const RhythmRequest& request, Random& random) {
    if (!Ticked(request.Ticked, ItemRests))
        return;
    const int bars = BarsOf(request.Options);
    int sounding = SoundingCount(rhythm);
    int p = 0;
    for (int i = 0; i < rhythm.Count; ++i) {
        RhythmEvent& e = rhythm.Events[static_cast<std::size_t>(i)];
        const int start = p;
        p += e.Duration;
        if (e.Rest || sounding <= bars || random.random(4) != 0)
            continue;
        if (RestAllowed(rhythm, i, start, request)) {
            e.Rest = 1;
            --sounding;
        }
    }
}

bool MergeRests(Rhythm& rhythm, const TimeSignature& ts, const RhythmItemTicks& ticked) {
    bool any = false;
    while (
        AbsorbFollowingRests(rhythm, [&](int p, int sum) { return CanMerge(p, sum, ts, ticked); }))
        any = true;
    return any;
}

bool DotBeforeRests(Rhythm& rhythm, const TimeSignature& ts, const RhythmItemTicks& ticked) {
    bool any = false;
    while (AbsorbFollowingRests(rhythm, [&](int p, int sum) { return CanDot(p, sum, ts, ticked); }))
        any = true;
    return any;
}

void PlaceTies(Rhythm& rhythm, const RhythmItemTicks& ticked, Random& random) {
    for (int i = 0; i < rhythm.Count; ++i)
        rhythm.Events[static_cast<std::size_t>(i)].Tie = 0;
    if (!Ticked(ticked, ItemTies))
        return;
    int p = 0;
    for (int i = 0; i + 1 < rhythm.Count; ++i) {
        const RhythmEvent& e = rhythm.Events[static_cast<std::size_t>(i)];
        RhythmEvent& next = rhythm.Events[static_cast<std::size_t>(i + 1)];
        p += e.Duration;
        if (e.Rest || e.Tie || next.Rest || random.random(3) != 0)
            continue;
        // Off the quarter grid only triplet values tie over, and only half as often.
        if (p % 24 != 0 && (!IsTripletValue(e.Duration) || random.random(2) != 0))
            continue;
        if (e.Duration == next.Duration && (e.Duration == 24 || e.Duration == 48))
            continue;
        next.Tie = 1;
    }
}

RhythmExercise GenerateRhythm(const RhythmRequest& request, Random& random) {
    RhythmExercise exercise;
    Rhythm& rhythm = exercise.rhythm;
    const TimeSignature& ts = TimeSignatureOf(request.Options.Metre);
    if (!FillBars(rhythm, request, random))
        exercise.fault = kRhythmDrawFaultMessage;
    PlaceRests(rhythm, request, random);
    MergeRests(rhythm, ts, request.Ticked);
    if (Ticked(request.Ticked, ItemDots)) {
        DotBeforeRests(rhythm, ts, request.Ticked);
        MergeRests(rhythm, ts, request.Ticked);
    }
    PlaceTies(rhythm, request.Ticked, random);
    SetBeamMarks(rhythm, ts);
    FillClickGrid(exercise.clickGrid, rhythm, request.Options.Metre, request.Options.RhythmMode);
    exercise.points = RhythmPoints(rhythm, request);
    return exercise;
}

} // namespace harmik
