#pragma once
#include "app/practice_session.h"

namespace harmik {

class TForm1;

// The practice session as the main window shows it: the transport panel, the answer panel and
// the option groups, the score panel and the clock, the exercise panel's colour, the staff and
// the keyboard pictures, and the results windows.
class PracticeScreen : public PracticeView {
public:
    explicit PracticeScreen(TForm1& window) : w_(window) {}

    AnswerChoice answerChoice() const override;
    void untickAnswerBox(int index) override;
    MessageAnswer showMessage(const MessageRequest& request) override;

    void taskStarting(int module) override;
    void taskStarted(int module, int exercisesPerTask) override;
    void taskStopped(int module) override;
    void answerShownChanged(bool shown) override;

    void colourExercise(ExerciseColour colour) override;
    void showPoints(int points) override;
    void showCounters(int exercisesPerTask, bool scoreChanged) override;
    void showProgress(int exerciseCount, int exercisesPerTask) override;
    void showClock() override;

    void redrawInstruments() override;
    void MarkKey(int note) override;
    void setProgressionLabels(std::vector<std::string> labels) override;
    void beginItem(int module, const ExerciseItem& item, const StaffRequest& request) override;
    void drawEnteredNote(int module, const ExerciseItem& item, int index) override;
    void drawProgressionChord(const ExerciseItem& item, int chord) override;
    void showAnswer(int module, const ExerciseItem& item, const AnswerProgress& progress) override;
    void showExample(int module, const ExerciseItem& item, const StaffRequest& request) override;

    void beginMelody(const ExerciseItem& item, const MelodyGenerateResult& generated,
                     bool reading) override;
    void melodyNoteAnswered(const ExerciseItem& item, int counter, bool revealed) override;
    void melodyNoteMissed(int counter) override;

    void showResults(const ErrorStatistics& sorted, int module, int score) override;

    void showRhythm(const Rhythm& rhythm, const RhythmOptions& options, bool notesShown) override;
    void showRhythmBar(int bar) override;
    void showRhythmMarks(const std::vector<RhythmMark>& marks) override;
    void showRhythmText(int stringId) override;
    void showRhythmPasses(int passes) override;
    void scrollRhythm(double pixels) override;

    // The option groups of the module while no task runs.
    void showIdleOptionGroups(int module);

private:
    void enableMenusAndModules(bool idle);

    TForm1& w_;
};

} // namespace harmik
