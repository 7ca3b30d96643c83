#pragma once
#include "app/error_statistics.h"
#include "app/judge_rules.h"
#include "app/score_state.h"
#include "app/task_state.h"
#include "app/task_tutor.h"
#include "input/rhythm_layout.h"
#include "theory/cadence.h"
#include "theory/exercise_generators.h"
#include "theory/exercise_item.h"
#include "theory/generator_options.h"
#include "theory/melody.h"
#include "theory/note_queue.h"
#include "theory/random.h"
#include "userdata/messages.h"

#include <QObject>
#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace harmik {

class RhythmSession;
class SoundSystem;
struct ItemNameList;
struct SettingsRecord;

// The user's choice of items on the answer panel.
struct AnswerChoice {
    std::array<bool, kAnswerBoxCount> ticked{};
    std::array<bool, kAnswerBoxCount> visible{};
    int boxCount = 0;      // boxes in use for the module
    int selectedCount = 0; // of them ticked and shown
};

// The colour of the exercise panel: the window's own, or the verdict's.
enum class ExerciseColour { Window, Wrong, Right };

// What the practice session asks of the screen it runs on: the answer panel's choice, what
// must be shown, the staff writing and the results. The main window implements it; tests
// record it.
class PracticeView {
public:
    virtual ~PracticeView() = default;

    virtual AnswerChoice answerChoice() const = 0;
    virtual void untickAnswerBox(int index) = 0;
    virtual MessageAnswer showMessage(const MessageRequest& request) = 0;

    // The task starts (before its first exercise), has started (after it), has stopped.
    virtual void taskStarting(int module) = 0;
    virtual void taskStarted(int module, int exercisesPerTask) = 0;
    virtual void taskStopped(int module) = 0;
    // The show-answer button's two states: the answer is shown, or the next exercise opens.
    virtual void answerShownChanged(bool shown) = 0;

    virtual void colourExercise(ExerciseColour colour) = 0;
    virtual void showPoints(int points) = 0;
    // Counters, gauge and score after a verdict (`scoreChanged`: the score too).
    virtual void showCounters(int exercisesPerTask, bool scoreChanged) = 0;
    virtual void showProgress(int exerciseCount, int exercisesPerTask) = 0;
    // The practice clock changed or moved on: show it.
    virtual void showClock() = 0;

    // The staff and the keyboard pictures.
    virtual void redrawInstruments() = 0;
    virtual void MarkKey(int note) = 0;
    virtual void setProgressionLabels(std::vector<std::string> labels) = 0;
    virtual void beginItem(int module, const ExerciseItem& item, const StaffRequest& request) = 0;
    virtual void drawEnteredNote(int module, const ExerciseItem& item, int index) = 0;
    virtual void drawProgressionChord(const ExerciseItem& item, int chord) = 0;
    virtual void showAnswer(int module, const ExerciseItem& item,
                            const AnswerProgress& progress) = 0;
    virtual void showExample(int module, const ExerciseItem& item, const StaffRequest& request) = 0;
    // Melodies: a new melody (written at once in reading mode), a note answered (`revealed`:
    // by the staff click of vocal support), a wrong note where note `counter` + 1 belongs.
    virtual void beginMelody(const ExerciseItem& item, const MelodyGenerateResult& generated,
                             bool reading) = 0;
    virtual void melodyNoteAnswered(const ExerciseItem& item, int counter, bool revealed) = 0;
    virtual void melodyNoteMissed(int counter) = 0;

    // The end of a task: the error statistics (sorted) and the top-ten check.
    virtual void showResults(const ErrorStatistics& sorted, int module, int score) = 0;

    // Rhythm: the exercise's rhythm on its picture with the bars of one pass (its notes shown
    // or hidden), the marker on a bar of the pass, the marks of a judged pass, the mode's
    // caption or the verdict (a string id; 0 leaves the text), and the pass counter.
    virtual void showRhythm(const Rhythm&, const RhythmOptions&, bool /*notesShown*/) {}
    virtual void showRhythmBar(int /*bar*/) {}
    virtual void showRhythmMarks(const std::vector<RhythmMark>&) {}
    virtual void showRhythmText(int /*stringId*/) {}
    virtual void showRhythmPasses(int /*passes*/) {}
    // The rhythm scroll: the picture moves on by `pixels` (logical) while it is wider than
    // its place.
    virtual void scrollRhythm(double /*pixels*/) {}
};

// A practice session: the running task, its score, the current exercise and its answer
// progress, the error statistics, the note queue and the random source; the task cycle (start
// with its checks, generate and play, repeat, show answer, stop, panic) and the judge of every
// answer. It reads the settings, plays through the sound system and shows through the view.
class PracticeSession : public QObject {
    Q_OBJECT
public:
    using Clock = std::function<std::uint32_t()>;

    // `sound` may be null (no sound layer yet); `now` reads the millisecond clock.
    PracticeSession(SettingsRecord& settings, const ItemNameList& names, PracticeView& view,
                    QObject* parent = nullptr, Clock now = {});
    ~PracticeSession() override;

    void setSound(SoundSystem* sound);
    // The tutor that runs the tasks while it is switched on (may be null).
    void setTutor(TaskTutor* tutor) { tutor_ = tutor; }

    TaskState& Task() { return task_; }
    const TaskState& Task() const { return task_; }
    ScoreState& Score() { return score_; }
    ExerciseItem& Item() { return item_; }
    ErrorStatistics& Errors() { return errors_; }
    const AnswerProgress& Progress() const { return progress_; }
    const std::vector<ExpectedChord>& ProgressionChords() const { return progressionChords_; }
    NoteQueue& Queue() { return noteQueue_; }
    Random& RandomSource() { return random_; }
    QTimer* TimerMidi1() { return &timerMidi1_; }
    QTimer* TimerPoint() { return &timerPoint_; }
    bool running() const { return task_.running != 0; }
    RhythmSession& RhythmTask() { return *rhythm_; }

    // The start button: starts a task when none runs, otherwise stops it.
    void NyKnapClick();
    void GentagKnapClick();
    void SvarKnapClick();
    // Stops the running task and restores the idle state.
    void EarStopOve();
    // The running stretch joins the practice time, which the clock then shows.
    void TimeCalc();
    void ShutUpClick();
    void TimerPointTimer();
    void TimerMidi1Timer();

    // Decides an answer from any input (sources of AnswerSource).
    void Judge(int value, int source, int recognisedChordType = -1);

    // Rhythm: a report of the click track (a bar, or the end of a pass with its start time),
    // and a tap at a time of the program's clock.
    void ClickTrackReport(int bar, std::uint32_t startTime);
    void RhythmTap(std::uint32_t clockMs);

    // The example of answer item `index`, heard and written with a right click (idle only).
    void PreviewItem(int index);
    // The cadence of play style `kind`, heard with a right click on its button (idle only).
    void PreviewCadence(int kind);
    // The melody's key heard before a task: its cadence, then the tonality's scale (idle only).
    void PreviewTonality();

    // What the generators and players read from the settings and the answer panel.
    GeneratorOptions generatorOptions() const;

private:
    int tempoOfCurrentModule() const;
    bool readingMode() const;
    MelodyOptions melodyOptions() const;
    CadenceKey cadenceKey(const GeneratorOptions& options) const;
    void soundNoteForABeat(int channel, int note, int velocity, int ms);
    void startTask();
    bool refuseStart(int module);
    void keepFirstProgressionGroup(const AnswerChoice& choice);
    void generateAndPlay();
    void playCurrentItem(bool repeat);
    void startPlayback(int tickMs);
    void startPointTimer();
    void stopSound();
    void syncSoundSettings();
    void wrongAnswer(int value);
    void settleExercise(int source, bool halvePoints);
    void nextExerciseOrEnd();
    bool everyPressGoesOn() const;
    void startRhythmScroll(int bar);
    void endTask();
    void drawEnteredAnswer(int enteredIndex, int source);
    JudgeItemView judgeView() const;
    std::uint32_t now() const;

    SettingsRecord& settings_;
    const ItemNameList& names_;
    PracticeView& view_;
    SoundSystem* sound_ = nullptr;
    TaskTutor* tutor_ = nullptr;
    Clock now_;

    TaskState task_;
    ScoreState score_;
    ErrorStatistics errors_{};
    AnswerProgress progress_;
    ExerciseItem item_;
    std::vector<ExpectedChord> progressionChords_;
    NoteQueue noteQueue_;
    Random random_;
    QTimer timerMidi1_;
    QTimer timerPoint_;
    std::unique_ptr<RhythmSession> rhythm_;
};

} // namespace harmik
