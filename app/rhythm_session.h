#pragma once
#include "app/task_state.h"
#include "theory/click_track.h"
#include "theory/exercise_item.h"
#include "theory/random.h"
#include "theory/rhythm_evaluator.h"
#include "theory/rhythm_types.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace harmik {

class PracticeView;
class SoundSystem;
struct AnswerChoice;
struct SettingsRecord;

// The rhythm checks of a task's start: the upper number of the time signature and, when it is
// odd, whether a value short enough for it is ticked (eighth-note metres: boxes 3, 4 or 8;
// quarter-note metres: 2, 3, 4, 7 or 8).
void FillRhythmStartCheck(StartCheckInput& check, int metre, const AnswerChoice& choice);

// The rhythm exercise of a running task: its rhythm, the click track that plays it, the taps
// of the current pass, and at the end of each pass the evaluation with its verdict, pass
// counter and marks. The practice session calls it at the points of its task cycle; it shows
// through the practice view and plays through the sound system.
// The rhythm scroll through one bar: the timer's interval and the pixels of each of its steps
// (an interval of 0: the bar is not one of the rhythm's, nothing scrolls).
struct RhythmScrollStep {
    int IntervalMs = 0;
    double Pixels = 0;
};

class RhythmSession {
public:
    RhythmSession(SettingsRecord& settings, PracticeView& view);
    ~RhythmSession();
    RhythmSession(const RhythmSession&) = delete;
    RhythmSession& operator=(const RhythmSession&) = delete;

    void setSound(SoundSystem* sound) { sound_ = sound; }

    // A new exercise: a rhythm from the ticked values, its points into the item, drawn unless
    // listening, then played (the short loop in the listening modes); the first of a task
    // shows the mode's caption.
    void NewExercise(ExerciseItem& item, const AnswerChoice& choice, int exercisesPerTask,
                     Random& random, bool firstOfTask);
    // The repeat button: the loop starts again from its first step, the pass's taps dropped
    // (after the panic button, the rhythm is started again).
    void Repeat();
    // Kills the click track and silences its sounds; the rhythm is no longer running.
    void Kill();
    // A tap (drum pad, key, MIDI note, press on the picture) at a time of the program's clock;
    // kept only while the rhythm runs.
    void Tap(std::uint32_t clockMs);
    bool running() const { return running_; }

    // A report of the click track. A bar moves the phase marker; the end of a pass is
    // evaluated and gives the accuracy for the judge (none when no pass of this rhythm ended
    // or nothing is to be judged).
    std::optional<int> Report(int bar, std::uint32_t startTime, bool judging);
    // After the judge has decided a pass of the same exercise: its marks on the picture
    // (outside the listening mode).
    void ShowMarksOfLastPass();
    // The scroll through bar `bar` of the pass (1..): eight steps a beat through the bars of
    // the rhythm, none through the count-in and the empty bar.
    RhythmScrollStep ScrollStepOfBar(int bar) const;
    // The judge's wrong verdict: the picture is redrawn (the listening mode keeps its notes
    // hidden), without the marks of before.
    void RedrawAfterWrong();
    // The show-answer button's first press, and its second (the mode's caption again).
    void ShowAnswer();
    void AnswerClosed();

    int exerciseSerial() const { return serial_; }
    int passes() const { return passes_; }
    const Rhythm& CurrentRhythm() const { return rhythm_; }
    const RhythmEvaluation& LastEvaluation() const { return evaluation_; }
    const ClickTrack& Track() const { return track_; }
    // The taps of the pass so far, in the program's clock.
    std::span<const std::uint32_t> Taps() const {
        return {taps_.data(), static_cast<std::size_t>(tapCount_)};
    }

    static constexpr int kMaxTaps = 512;

private:
    RhythmOptions options() const;
    int tempo() const;
    void showRhythm(bool notesShown);
    void PlayRhythm(std::uint8_t loopMode, const RhythmOptions& options);
    void silence();

    SettingsRecord& settings_;
    PracticeView& view_;
    SoundSystem* sound_ = nullptr;

    Rhythm rhythm_;
    ClickTrack track_;
    bool running_ = false;
    std::array<std::uint32_t, kMaxTaps> taps_{};
    int tapCount_ = 0;
    int passes_ = 0;
    int serial_ = 0;
    RhythmEvaluation evaluation_;
    int evaluatedSerial_ = -1;
};

} // namespace harmik
