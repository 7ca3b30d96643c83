#pragma once
#include "app/judge_rules.h"
#include "theory/exercise_generators.h"
#include "theory/exercise_item.h"

#include <QString>
#include <functional>
#include <string>
#include <vector>

namespace harmik {

class StaffWidget;
struct ItemNameList;

// What the exercises write on the staff: the root of each new item, the notes answered one by
// one, the whole answer with its name and a bar line, and the labels of progression chords.
// It keeps the staff's text position moving right and makes room when it nears the edge.
class ExerciseStaff {
public:
    // `MarkKey` marks a note on the keyboard pictures (negative: a root played downwards).
    ExerciseStaff(StaffWidget& staff, const ItemNameList& names, std::function<void(int)> MarkKey);

    void setGermanNaming(bool on) { germanNaming_ = on; }

    // A clean staff for the module, with the text position where a task starts writing.
    void ResetForTask(int module);
    // A new item: clears the accidental memory, makes room, and writes the root.
    void BeginItem(int module, const ExerciseItem& item, const StaffRequest& request);
    // The progression's chord labels for the staff (from the generator).
    void SetProgressionLabels(std::vector<std::string> labels);
    // A note of the item answered on its own (1-based index in the item).
    void DrawEnteredNote(int module, const ExerciseItem& item, int index);
    // A progression chord answered (0-based).
    void DrawProgressionChord(const ExerciseItem& item, int chord);
    // The whole answer after a right answer or the show-answer button: what was not drawn yet,
    // the item's name, a bar line, and the text position moved on.
    void ShowAnswer(int module, const ExerciseItem& item, const AnswerProgress& progress);
    // A new melody: room for its notes 27 pixels apart, and in reading mode the notes
    // themselves.
    void BeginMelody(const ExerciseItem& item, bool reading);
    // Melody note `counter` (from 1) answered: written (unless the reading mode wrote it) and
    // marked green, or blue when the staff click revealed it.
    void DrawMelodyNote(const ExerciseItem& item, int counter, bool revealed);
    // A wrong note: a red mark where the next note belongs (`counter` notes answered).
    void MarkMelodyMiss(int counter);
    // The example of an item heard with a right click on its answer box.
    void ShowExample(int module, const ExerciseItem& item, const StaffRequest& request);

    // How far right the progression's labels reach from the text position.
    int progressionWidth(const ExerciseItem& item) const;

private:
    void makeRoom(int module, int needed);
    void drawRoot(int module, const ExerciseItem& item, int signedRoot);
    void drawNote(const ExerciseItem& item, int note, int index);
    void writeName(const QString& text);
    QString chordNameOf(const ExerciseItem& item, int chord) const;
    void showIntervalAnswer(const ExerciseItem& item);
    void showScaleAnswer(const ExerciseItem& item);
    void showNotesAnswer(int module, const ExerciseItem& item, const AnswerProgress& progress);
    void showProgressionAnswer(const ExerciseItem& item);
    void showMelodyAnswer(const ExerciseItem& item, const AnswerProgress& progress);
    void drawMelodyNote(const ExerciseItem& item, int k);

    StaffWidget& staff_;
    const ItemNameList& names_;
    std::function<void(int)> markKey_;
    std::vector<std::string> labels_;
    bool germanNaming_ = false;
    int progressionStartX_ = 0;
    int progressionChordsDrawn_ = 0;
    bool melodyWritten_ = false; // reading mode: the melody stands on the staff
};

} // namespace harmik
