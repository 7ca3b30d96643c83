#include "theory/rhythm_generator.h"

// Beam marks of the rhythm drawing: for each note shorter than a quarter and each level
// (eighth, sixteenth, thirty-second) whether its stem joins the previous note, the next, both,
// or neither.
namespace harmik {

namespace {

// The longest note below each level's beam: levels start below 24, 12 and 6 units, and the
// triplet value of the level above (16, 8, 4) is drawn without that beam.
constexpr std::array<int, 3> kBeamBelow{24, 12, 6};
constexpr std::array<int, 3> kTripletWithoutBeam{16, 8, 4};

bool Sounds(const RhythmEvent& e) {
    return e.Rest == 0;
}

// A sounding note that carries an eighth beam.
bool IsShort(const RhythmEvent& e) {
    return Sounds(e) && e.Duration < 24 && e.Duration != 16;
}

void SetOpenMarks(RhythmEvent& e) {
    for (std::size_t level = 0; level < 3; ++level) {
        const bool beamed =
            Sounds(e) && e.Duration < kBeamBelow[level] && e.Duration != kTripletWithoutBeam[level];
        e.Beam[level] = beamed ? BeamBoth : BeamNone;
    }
}

struct BeamContext {
    const RhythmEvent& previous;
    const RhythmEvent& current;
    const RhythmEvent& next;
    int start;
    int end;
    const TimeSignature& ts;
};

int MarkAtBeatEdges(const BeamContext& c, int mark) {
    const int unit = c.ts.Unit;
    const int s = c.start;
    if (s % unit == 0 || c.previous.Duration == 36)
        mark = IsShort(c.next) ? BeamNext : BeamFlag;
    if (c.end / unit > s / unit) {
        const bool previousInSameUnit = (s - c.previous.Duration) / unit >= s / unit;
        mark = IsShort(c.previous) && previousInSameUnit ? BeamPrevious : BeamFlag;
    }
    return mark;
}

int MarkAmongNeighbours(const BeamContext& c, std::size_t level, int mark) {
    if (mark != BeamBoth)
        return mark;
    if (c.next.Beam[level] == BeamNone && Sounds(c.previous))
        mark = BeamPrevious;
    if (c.previous.Beam[level] == BeamNone && Sounds(c.next) && c.next.Duration < 24)
        mark = BeamNext;
    if (!Sounds(c.previous) && !(Sounds(c.next) && c.next.Duration < 16))
        mark = BeamFlag;
    return mark;
}

// Inner beams in quarter-note metres break at the eighth when thirty-seconds are near.
int MarkInQuarterMetre(const BeamContext& c, int mark) {
    const int unit = c.ts.Unit;
    const int d = c.current.Duration;
    const int endInUnit = c.end % unit;
    const int startInUnit = c.start % unit;
    if (mark == BeamBoth && (endInUnit == 12 || endInUnit == 24) && (d < 6 || c.next.Duration < 6))
        mark = BeamPrevious;
    if (mark == BeamBoth && (startInUnit == 12 || startInUnit == 24) &&
        (d < 6 || c.previous.Duration < 6))
        mark = BeamNext;
    return mark;
}

// Inner beams in other metres break on the beaming unit (an eighth in compound metres, else a
// quarter), and at its eighths when thirty-seconds are near.
int MarkInOtherMetre(const BeamContext& c, int mark) {
    if (mark != BeamBoth && mark != BeamNext && mark != BeamPrevious)
        return mark;
    const int b = c.ts.Unit == 36 ? 12 : 24;
    const int d = c.current.Duration;
    const int te = c.end % b;
    const int ts = c.start % b;
    const bool endsGroup = (te == 0 && (d < 12 || c.next.Duration < 12)) ||
                           ((te == 12 || te == 24) && (d < 6 || c.next.Duration < 6));
    if (Sounds(c.previous) && endsGroup)
        mark = BeamPrevious;
    const bool startsGroup = (ts == 0 && (d < 12 || c.previous.Duration < 12)) ||
                             ((ts == 12 || ts == 24) && (d < 6 || c.previous.Duration < 6));
    if (Sounds(c.next) && startsGroup)
        mark = BeamNext;
    return mark;
}

int DecideMark(const BeamContext& c, std::size_t level) {
    int mark = MarkAtBeatEdges(c, BeamBoth);
    mark = MarkAmongNeighbours(c, level, mark);
    if (level == BeamEighth)
        return mark;
    return c.ts.Note == 4 ? MarkInQuarterMetre(c, mark) : MarkInOtherMetre(c, mark);
}

} // namespace

void SetBeamMarks(Rhythm& rhythm, const TimeSignature& ts) {
    for (int i = 0; i < rhythm.Count; ++i)
        SetOpenMarks(rhythm.Events[static_cast<std::size_t>(i)]);

    // The first and the last note see silence beyond the rhythm: a rest of a whole bar.
    RhythmEvent silence;
    silence.Duration = static_cast<std::uint8_t>(BarLength(ts));
    silence.Rest = 1;

    int start = 0;
    for (int i = 0; i < rhythm.Count; ++i) {
        RhythmEvent& e = rhythm.Events[static_cast<std::size_t>(i)];
        const RhythmEvent& previous =
            i > 0 ? rhythm.Events[static_cast<std::size_t>(i - 1)] : silence;
        const RhythmEvent& next =
            i + 1 < rhythm.Count ? rhythm.Events[static_cast<std::size_t>(i + 1)] : silence;
        const BeamContext context{previous, e, next, start, start + e.Duration, ts};
        for (std::size_t level = 0; level < 3; ++level) {
            if (e.Beam[level] == BeamBoth)
                e.Beam[level] = static_cast<std::uint8_t>(DecideMark(context, level));
        }
        start += e.Duration;
    }
}

} // namespace harmik
