#include "app/judge_rules.h"

#include <algorithm>

#include "theory/exercise_points.h"
#include "theory/module_id.h"
#include "theory/theory_tables.h"

#include <cstdlib>

namespace harmik {
namespace {

constexpr int kIntervals = 1;
constexpr int kScales = 2;
constexpr int kChords = 3;
constexpr int kInversions = 4;
constexpr int kProgressions = 5;
constexpr int kMelodies = 6;
constexpr int kRhythm = 7;

int roundedDiv(double a, double b) {
    return static_cast<int>(roundHalfEven(a / b));
}

VerdictResult panelVerdict(const JudgeItemView& view, int value) {
    const int index = view.item.itemIndex;
    if (view.module == kInversions && value < kFirstInversionItem) {
        // The chord type alone: right at half the points.
        if (index % kInversionChordCount == value)
            return {Verdict::Correct, true, -1};
        return {Verdict::Wrong, false, -1};
    }
    return {std::abs(index) == value ? Verdict::Correct : Verdict::Wrong, false, -1};
}

// Scales, chords and inversions, note by note: each new right note counts once.
VerdictResult noteSetVerdict(const JudgeItemView& view, int value, AnswerProgress& progress) {
    const int count = static_cast<int>(view.notes.size());
    for (int k = 1; k <= count && k < 16; ++k) {
        if (view.notes[static_cast<std::size_t>(k - 1)] != value)
            continue;
        VerdictResult r{Verdict::Partial, false, -1};
        if (!progress.hitFlags[static_cast<std::size_t>(k)]) {
            ++progress.noteCounter;
            r.enteredIndex = k;
        }
        progress.hitFlags[static_cast<std::size_t>(k)] = true;
        if (progress.noteCounter >= count)
            r.verdict = Verdict::Correct;
        return r;
    }
    return {Verdict::Wrong, false, -1};
}

VerdictResult progressionVerdict(const JudgeItemView& view, int value, AnswerProgress& progress,
                                 int recognisedChordType) {
    const int length = static_cast<int>(view.progression.size());
    const int next = progress.noteCounter;
    if (next >= length)
        return {Verdict::Wrong, false, -1};
    const ExpectedChord& expected = view.progression[static_cast<std::size_t>(next)];
    const int expectedClass = ((expected.rootOffset + view.item.root) % 12 + 12) % 12;
    const bool rootMatches = ((value % 12) + 12) % 12 == expectedClass;
    const bool typeMatches = recognisedChordType < 0 || recognisedChordType == expected.chordType;
    if (!rootMatches || !typeMatches)
        return {Verdict::Wrong, false, -1};
    ++progress.noteCounter;
    if (progress.noteCounter < 16)
        progress.hitFlags[progress.noteCounter] = true;
    return {progress.noteCounter >= length ? Verdict::Correct : Verdict::Partial, false,
            progress.noteCounter};
}

VerdictResult melodyVerdict(const JudgeItemView& view, int value, int source,
                            AnswerProgress& progress) {
    const int length = static_cast<int>(view.notes.size());
    const int next = progress.noteCounter;
    if (next >= length)
        return {Verdict::Wrong, false, -1};
    if (source != SourceStaffClick && view.notes[static_cast<std::size_t>(next)] != value)
        return {Verdict::Wrong, false, -1};
    ++progress.noteCounter;
    if (progress.noteCounter < 16)
        progress.hitFlags[progress.noteCounter] = true;
    return {progress.noteCounter >= length ? Verdict::Correct : Verdict::Partial, false,
            progress.noteCounter};
}

} // namespace

std::vector<int> ItemNotes(int module, const ExerciseItem& item) {
    std::vector<int> notes;
    auto add = [&](std::span<const std::uint8_t> offsets) {
        for (std::uint8_t o : offsets)
            notes.push_back(item.root + o);
    };
    switch (module) {
    case kScales:
        add(scaleRow(item.itemIndex).notes());
        break;
    case kChords:
        add(chordVoicing(chordVoicingRecord(item.itemIndex, item.voicing)).notes());
        break;
    case kInversions:
        add(inversionRecord(item.itemIndex).notes());
        break;
    case kMelodies: {
        const int count = std::clamp<int>(item.melodyNotes[0], 0, kMaxMelodyNotes);
        notes.assign(item.melodyNotes.begin() + 1, item.melodyNotes.begin() + 1 + count);
        break;
    }
    default:
        break;
    }
    return notes;
}

VerdictResult DecideVerdict(const JudgeItemView& view, int value, int source,
                            AnswerProgress& progress, int recognisedChordType) {
    if (source == SourceShowAnswer)
        return {Verdict::Correct, false, -1};
    if (source == SourceAnswerPanel)
        return panelVerdict(view, value);
    switch (view.module) {
    case kIntervals:
        if (value == view.item.root && view.item.itemIndex != 0)
            return {Verdict::Ignored, false, -1};
        return {value - view.item.root == view.item.itemIndex ? Verdict::Correct : Verdict::Wrong,
                false, -1};
    case kScales:
    case kChords:
    case kInversions:
        return noteSetVerdict(view, value, progress);
    case kProgressions:
        return progressionVerdict(view, value, progress, recognisedChordType);
    case kMelodies:
        return melodyVerdict(view, value, source, progress);
    case kRhythm:
        return {value >= view.rhythmSensitivity ? Verdict::Correct : Verdict::Wrong, false, -1};
    default:
        return {Verdict::Wrong, false, -1};
    }
}

int PointsAfterWrongAnswer(int module, int points, int value, int selectedCount, int melodyLength) {
    const double p = points;
    if (module == kMelodies)
        return points - (melodyLength > 0 ? roundedDiv(p, melodyLength) : 0);
    if (module == kRhythm)
        return points - roundedDiv(p - p * value / 100.0, 3.0);
    // With one ticked item the divisor is a half: the answer costs twice the points.
    if (selectedCount <= 0)
        return points;
    return points - roundedDiv(p, selectedCount / 2.0);
}

int SourceBonus(int module, int source, int points) {
    if (source == SourcePiano || source == SourceMidiKeyboard)
        return points / 4;
    if (module == kProgressions) {
        if (source == SourceChordMenu)
            return points / 2;
        if (source == SourceStaffNote)
            return points / 3;
        return 0;
    }
    if (source == SourceStaffNote)
        return points / 2;
    return 0;
}

int WrongAnswerStatisticsEntry(int module, int itemIndex) {
    if (module == kMelodies || module == kRhythm)
        return 0;
    return std::abs(itemIndex);
}

int ShownAnswerStatisticsEntry(int module, int itemIndex) {
    if (module == kMelodies || module == kRhythm)
        return 0;
    // Intervals wider than the two-octave grid count against their simple size.
    const int index = std::abs(itemIndex);
    return module == kIntervals && index > 16 ? index % 12 : index;
}

} // namespace harmik
