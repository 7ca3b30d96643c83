// The judge: every answer of every input is decided here, scored, and followed by the next
// exercise or the end of the task.
#include "app/exercise_staff.h"
#include "app/main_window.h"
#include "app/score_panel.h"
#include "app/statistics_window.h"
#include "app/top_ten_window.h"
#include "app/transport_panel.h"
#include "input/answer_panel.h"

namespace harmik {
namespace {

const QColor kWrongColour(0xFF, 0x00, 0x00);
const QColor kRightColour(0x00, 0xFF, 0x00);

} // namespace

JudgeItemView TForm1::judgeView() const {
    JudgeItemView v;
    v.module = settings_.CurrentModule;
    v.item = item_;
    v.notes = ItemNotes(v.module, item_);
    v.progression = progressionChords_;
    v.rhythmSensitivity = settings_.RhythmOptions.RhythmSensitivity;
    return v;
}

void TForm1::Judge(int value, int source, int recognisedChordType) {
    if (task_.running == 0 || (task_.answerShown && source != SourceShowAnswer))
        return;
    if (!task_.answerShown)
        labTime_->TimeShow();
    colourExercisePanel(windowColour_);

    const VerdictResult v =
        DecideVerdict(judgeView(), value, source, progress_, recognisedChordType);
    switch (v.verdict) {
    case Verdict::Ignored:
        return;
    case Verdict::Partial:
        drawEnteredAnswer(settings_.CurrentModule, v.enteredIndex);
        return;
    case Verdict::Wrong:
        wrongAnswer(value);
        return;
    case Verdict::Correct:
        if (source != SourceShowAnswer && source != SourceAnswerPanel)
            drawEnteredAnswer(settings_.CurrentModule, v.enteredIndex);
        settleExercise(source, v.halvePoints);
        return;
    }
}

void TForm1::wrongAnswer(int value) {
    const int m = settings_.CurrentModule;
    syncSoundSettings();
    sound_->Output().PlayAnswerFeedback(false);
    colourExercisePanel(kWrongColour);
    ++score_.wrong;
    scorePanel_->DoGauge(task_.exercisesPerTask);
    item_.points = PointsAfterWrongAnswer(m, item_.points, value, answerPanel_->SelectedCount(),
                                          item_.melodyNotes[0]);
    scorePanel_->ShowPoints(item_.points);
    AddError(errors_, WrongAnswerStatisticsEntry(m, item_.itemIndex));
}

void TForm1::settleExercise(int source, bool halvePoints) {
    const int m = settings_.CurrentModule;
    timerPoint_.stop();
    colourExercisePanel(kRightColour);
    if (!task_.answerShown) {
        if (source == SourceShowAnswer) {
            score_.wrong += 2;
            AddError(errors_, ShownAnswerStatisticsEntry(m, item_.itemIndex));
        } else {
            if (halvePoints)
                item_.points /= 2;
            ++score_.right;
            score_.score += item_.points + SourceBonus(m, source, item_.points);
            scorePanel_->ShowScore();
        }
        scorePanel_->DoGauge(task_.exercisesPerTask);
        exerciseStaff_->ShowAnswer(m, item_, progress_);
        ++task_.exerciseCount;
        transport_->ShowProgress(task_.exerciseCount, task_.exercisesPerTask);
    }
    progress_.reset();
    if (source != SourceShowAnswer) {
        syncSoundSettings();
        sound_->Output().PlayAnswerFeedback(true);
    }
    if (source == SourceShowAnswer) {
        if (!task_.answerShown) {
            // The first press shows the answer; the second goes on.
            task_.answerShown = true;
            answerPanel_->setAnswerShown(true);
            syncInputState();
            transport_->ShowAnswerButtonNext();
            labTime_->TimeCalc();
            return;
        }
        labTime_->StartSegment();
        transport_->ShowAnswerButtonOpen();
        task_.answerShown = false;
        answerPanel_->setAnswerShown(false);
        syncInputState();
    }
    timerMidi1_.stop();
    sound_->Output().StopAll(noteQueue_);
    nextExerciseOrEnd();
}

void TForm1::nextExerciseOrEnd() {
    if (task_.exerciseCount >= task_.exercisesPerTask) {
        endTask();
        return;
    }
    generateAndPlay();
    startPointTimer();
}

void TForm1::endTask() {
    const int m = settings_.CurrentModule;
    EarStopOve();
    AddTaskToLevelTotals(score_);
    SortErrorStatistics(errors_);
    ShowStatisticsWindow(errors_, static_cast<ModuleId>(m), score_.score, itemNames_, this);
    TopTenCheck(topTen_, score_.score, m, this);
}

} // namespace harmik
