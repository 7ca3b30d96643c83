#include "input/rhythm_layout.h"

#include <cstdlib>

namespace harmik {

WrittenValue WrittenValueOf(int duration) {
    switch (duration) {
    case 120: // a full bar of 5/4: a whole tied to a quarter
        return {0, 0, false, true};
    case 96:
        return {0, 0, false, false};
    case 84:
        return {1, 2, false, false};
    case 72:
        return {1, 1, false, false};
    case 48:
        return {1, 0, false, false};
    case 36:
        return {2, 1, false, false};
    case 32:
        return {1, 0, true, false};
    case 24:
        return {2, 0, false, false};
    case 18:
        return {3, 1, false, false};
    case 16:
        return {2, 0, true, false};
    case 12:
        return {3, 0, false, false};
    case 9:
        return {4, 1, false, false};
    case 8:
        return {3, 0, true, false};
    case 6:
        return {4, 0, false, false};
    case 4:
        return {4, 0, true, false};
    case 3:
        return {5, 0, false, false};
    default:
        // No other duration is generated; the nearest shorter value keeps the picture sane.
        return {duration > 48 ? 1 : (duration > 24 ? 2 : (duration > 12 ? 3 : 4)), 0, false, false};
    }
}

double RhythmBarLineX(int bar, int metre) {
    const int length = BarLength(TimeSignatureOf(metre));
    return kRhythmFirstX + bar * length * kRhythmUnitWidth + bar * kRhythmBarGap -
           kRhythmBarGap / 2.0 - 4;
}

double RhythmWidth(int bars, int metre) {
    return RhythmBarLineX(bars, metre) + 24;
}

void LayOutRhythm(Rhythm& rhythm, int metre) {
    const int length = BarLength(TimeSignatureOf(metre));
    int p = 0;
    for (int i = 0; i < rhythm.Count; ++i) {
        RhythmEvent& e = rhythm.Events[static_cast<std::size_t>(i)];
        const int bar = length > 0 ? p / length : 0;
        e.StaffX =
            static_cast<std::int32_t>(kRhythmFirstX + p * kRhythmUnitWidth + bar * kRhythmBarGap);
        p += e.Duration;
    }
}

std::vector<RhythmPhase> PassPhases(const RhythmOptions& options) {
    const int bars = BarsOf(options);
    std::vector<RhythmPhase> phases;
    phases.reserve(static_cast<std::size_t>(2 * bars + 2));
    phases.push_back(RhythmPhase::CountIn);
    if (options.RhythmMode != RhythmRead) {
        for (int b = 0; b < bars; ++b)
            phases.push_back(RhythmPhase::Listen);
        if (options.InterBar)
            phases.push_back(RhythmPhase::Pause);
    }
    for (int b = 0; b < bars; ++b)
        phases.push_back(RhythmPhase::Play);
    return phases;
}

namespace {

double EventX(const Rhythm& rhythm, int i) {
    return rhythm.Events[static_cast<std::size_t>(i)].StaffX;
}

// Between the last matched note and the one after it; before the first note or after the
// last one when there is no such pair.
double ExtraTapX(const Rhythm& rhythm, int lastMatched) {
    if (rhythm.Count == 0)
        return kRhythmFirstX;
    if (lastMatched < 0)
        return EventX(rhythm, 0) - 8;
    if (lastMatched + 1 >= rhythm.Count)
        return EventX(rhythm, lastMatched) + 10;
    return (EventX(rhythm, lastMatched) + EventX(rhythm, lastMatched + 1)) / 2;
}

} // namespace

std::vector<RhythmMark> RhythmMarksFor(const Rhythm& rhythm, const RhythmEvaluation& evaluation,
                                       int quarterMs) {
    std::vector<RhythmMark> marks;
    std::array<bool, Rhythm::kMaxEvents> tapped{};
    int lastMatched = -1;
    for (const RhythmTapStep& s : evaluation.Steps) {
        if (s.Event >= 0 && s.Event < rhythm.Count) {
            tapped[static_cast<std::size_t>(s.Event)] = true;
            lastMatched = s.Event;
            const int dev = std::abs(s.Deviation);
            if (quarterMs > 0 && dev * 16 > quarterMs)
                marks.push_back({RhythmMark::Kind::Deviation, EventX(rhythm, s.Event) - 2, 5,
                                 dev * 50.0 / quarterMs, s.Deviation > 0});
        } else if (s.Tapped) {
            marks.push_back({RhythmMark::Kind::ExtraTap, ExtraTapX(rhythm, lastMatched), 2, 20});
        }
    }
    for (int i = 0; i < rhythm.Count; ++i)
        if (IsStruck(rhythm.Events[static_cast<std::size_t>(i)]) &&
            !tapped[static_cast<std::size_t>(i)])
            marks.push_back({RhythmMark::Kind::MissedNote, EventX(rhythm, i) - 3, 6, 6});
    return marks;
}

} // namespace harmik
