#pragma once
#include "theory/exercise_item.h"

#include <array>
#include <cstdint>
#include <vector>

namespace harmik {

// Where an answer came from.
enum AnswerSource : int {
    SourceShowAnswer = 0,
    SourceAnswerPanel = 1,
    SourceStaffClick = 2,
    SourcePiano = 3,
    SourceChordMenu = 4,
    SourceMidiKeyboard = 5, // also the rhythm evaluator, with the accuracy in percent
    SourceStaffNote = 6,
};

// The notes of the current item entered so far (reset with every new exercise and every
// settled answer).
struct AnswerProgress {
    std::uint8_t noteCounter = 0;
    std::array<bool, 16> hitFlags{}; // 1..15 used

    void reset() {
        noteCounter = 0;
        hitFlags.fill(false);
    }
};

// One expected chord of a progression: its root above the key's tonic and its chord type.
struct ExpectedChord {
    int rootOffset = 0;
    int chordType = 0;
};

// What the judge compares an answer with, besides the item itself.
struct JudgeItemView {
    int module = 1;
    ExerciseItem item;
    std::vector<int> notes;                 // scales, chords, inversions, melodies: MIDI notes
    std::vector<ExpectedChord> progression; // progressions: the chords in order
    int rhythmSensitivity = 96;             // rhythm: lowest accuracy that counts as right
};

enum class Verdict {
    Ignored, // no verdict: nothing changes (the root of an interval played on a keyboard)
    Partial, // a right note of several: the exercise stays open
    Wrong,
    Correct,
};

struct VerdictResult {
    Verdict verdict = Verdict::Wrong;
    bool halvePoints = false; // an inversion named by its chord type only
    int enteredIndex = -1;    // 1-based index of the note or chord just entered, when new
};

// The notes of an item of the scale, chord or inversion module, lowest first; the notes of a
// melody in order.
std::vector<int> ItemNotes(int module, const ExerciseItem& item);

// Decides an answer (value, source) against the item; updates the progress for note-by-note
// answers. `recognisedChordType` is the chord type an input recognised (-1 for none).
VerdictResult DecideVerdict(const JudgeItemView& view, int value, int source,
                            AnswerProgress& progress, int recognisedChordType = -1);

// The item's points after a wrong answer (each division rounded, halves to even).
int PointsAfterWrongAnswer(int module, int points, int value, int selectedCount, int melodyLength);

// Extra points for answering through a playing input.
int SourceBonus(int module, int source, int points);

// The statistics entry a wrong answer counts against, and the one a shown answer counts
// against.
int WrongAnswerStatisticsEntry(int module, int itemIndex);
int ShownAnswerStatisticsEntry(int module, int itemIndex);

} // namespace harmik
