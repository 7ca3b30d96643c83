// The exercise task: start with its checks, each exercise generated and played, repeat, the
// show-answer button, stop and panic.
#include "app/exercise_options.h"
#include "app/exercise_staff.h"
#include "app/main_window.h"
#include "app/melody_options.h"
#include "app/module_buttons.h"
#include "app/module_table.h"
#include "app/score_panel.h"
#include "app/transport_panel.h"
#include "input/answer_panel.h"
#include "input/piano_input.h"
#include "theory/clock.h"
#include "theory/exercise_generators.h"
#include "theory/exercise_players.h"
#include "theory/progression.h"
#include "theory/progression_table.h"
#include "theory/theory_tables.h"
#include "userdata/messages.h"
#include "userdata/strings.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QToolButton>

namespace harmik {
namespace {

constexpr int kProgressions = 5;
constexpr int kMelodies = 6;
constexpr int kRhythm = 7;
constexpr int kNoTaskYet = 2042; // the module's exercises are not in this build
constexpr int kStartHelpTopic = 150;

MessageRequest refusalMessage(int id) {
    switch (id) {
    case 2008:
        return {MessageType::Warning, MessageButtons::OkHelp, LoadStr(id), kStartHelpTopic, {}};
    case 2009:
        return {MessageType::Information, MessageButtons::OkHelp, LoadStr(id), kStartHelpTopic, {}};
    default:
        return {MessageType::Information, MessageButtons::Ok, LoadStr(id), 0, {}};
    }
}

} // namespace

int TForm1::tempoOfCurrentModule() const {
    const int m = settings_.CurrentModule;
    return isValidModule(m) ? settings_.ExerciseOptions.Tempo[m - 1] : 100;
}

bool TForm1::moduleHasTaskInThisBuild(int module) const {
    // The melody and rhythm modules answer on their own panels, which this build lacks.
    return module >= 1 && module <= kProgressions;
}

GeneratorOptions TForm1::generatorOptions() const {
    GeneratorOptions o;
    for (int i = 0; i < kAnswerBoxCount; ++i) {
        o.AnswerChecks[static_cast<std::size_t>(i)] = answerPanel_->boxTicked(i);
        o.AnswerVisible[static_cast<std::size_t>(i)] = !answerPanel_->box(i)->isHidden();
    }
    o.AnswerBoxCount = answerPanel_->AnswerBoxCount();
    o.SelectedCount = answerPanel_->SelectedCount();
    const ExerciseOptionsRecord& e = settings_.ExerciseOptions;
    o.RandomRoot = e.RootNote == kRandomRootNote;
    o.RootNote = o.RandomRoot ? 60 : e.RootNote;
    const int m = isValidModule(settings_.CurrentModule) ? settings_.CurrentModule : 1;
    o.LowestNote = settings_.LowestNote[m - 1];
    o.HighestNote = settings_.HighestNote[m - 1];
    o.PlayMode = e.PlayMode;
    o.Direction = e.Direction;
    o.Belig = e.Belig != 0;
    o.ChordTuning = settings_.ChordTuning != 0;
    o.Velocity = e.Velocity;
    o.OutChannel = settings_.OutChannel;
    o.Tempo = tempoOfCurrentModule();
    o.ExercisesPerTask = task_.running != 0 ? task_.exercisesPerTask : e.ExercisesPerTask;
    o.PlayStyle = e.PlayStyle;
    o.PcSpeakerOnly = settings_.PcSpeakerOnly != 0;
    return o;
}

void TForm1::NyKnapClick() {
    if (task_.running != 0)
        EarStopOve();
    else
        startTask();
}

void TForm1::startTask() {
    const int m = settings_.CurrentModule;
    StartCheckInput check;
    check.module = m;
    check.haveMidiOutput = sound_->MidiOutputCount() > 0;
    check.pcSpeakerOnly = settings_.PcSpeakerOnly != 0;
    check.primaVista = settings_.MelodyOptions.PrimaVista != 0;
    check.selectedCount = answerPanel_->SelectedCount();
    if (const int refusal = StartRefusal(check)) {
        ShowMessage(this, refusalMessage(refusal));
        return;
    }
    if (!moduleHasTaskInThisBuild(m)) {
        ShowMessage(this,
                    {MessageType::Information, MessageButtons::Ok, LoadStr(kNoTaskYet), 0, {}});
        return;
    }

    transport_->ShowRunning(false);
    task_.exercisesPerTask = settings_.ExerciseOptions.ExercisesPerTask;
    task_.exerciseCount = 0;
    task_.answerShown = false;
    ClearErrorStatistics(errors_);
    progress_.reset();
    speedMenu_->setTaskRunning(true);
    for (const char* menu : {"mPointMenu", "mIndstilMenu", "mModuler"})
        actions_.value(QString::fromLatin1(menu))->setEnabled(false);
    labTime_->StartSegment();
    random_.seed(MonotonicMs());

    if (m == kProgressions) {
        // Only the length of the first ticked progression is asked.
        int first = -1;
        for (int i = 0; i < answerPanel_->AnswerBoxCount() && first < 0; ++i)
            if (answerPanel_->boxTicked(i))
                first = i;
        for (int i = 0; i < answerPanel_->AnswerBoxCount(); ++i)
            if (progressionGroupOf(i) != progressionGroupOf(first))
                answerPanel_->setBoxTicked(i, false);
    }
    previousItem_ = -1;
    exerciseStaff_->ResetForTask(m);
    answerPanel_->setTaskRunning(true);
    answerPanel_->setAnswerShown(false);
    generateAndPlay();
    answerPanel_->enableForTask();

    // The option groups hide while the task runs.
    options_->GroupKvalitet()->hide();
    options_->RadioOpNed()->hide();
    options_->RadioOmfang()->hide();
    options_->GroupBelig()->hide();
    options_->GroupGrundtone()->hide();
    options_->GroupKadence()->setVisible(m == kProgressions || m == kMelodies);
    melodyOptions_->GroupMelodi()->hide();
    melodyOptions_->BitBtnKvintOp()->hide();
    melodyOptions_->BitBtnKvintNed()->hide();

    scorePanel_->ResetForTask(task_.exercisesPerTask);
    transport_->ShowProgress(0, task_.exercisesPerTask);
    task_.running = 1;
    syncInputState();
    answerPanel_->focusFirstBox();
    startPointTimer();
    EarDoScreen(); // the transport panel grew its progress row
}

void TForm1::generateAndPlay() {
    const GeneratorOptions options = generatorOptions();
    const int m = settings_.CurrentModule;
    GenerateResult generated;
    RedrawInstruments();
    switch (m) {
    case 1:
        generated = GenerateInterval(item_, options, random_);
        break;
    case 2:
        generated = GenerateScale(item_, options, random_);
        break;
    case 3:
        generated = GenerateChord(item_, options, random_);
        break;
    case 4:
        generated = GenerateInversion(item_, options, random_);
        break;
    case kProgressions: {
        ProgressionGenerateResult progression =
            GenerateProgression(item_, options, random_, itemNames_);
        generated = progression.Result;
        exerciseStaff_->SetProgressionLabels(std::move(progression.ChordLabels));
        progressionChords_.clear();
        const std::vector<ProgressionLabelChords> catalogue = ProgressionLabelCatalogue();
        if (item_.itemIndex >= 0 && item_.itemIndex < static_cast<int>(catalogue.size()))
            for (const ProgressionChordLabel& c :
                 catalogue[static_cast<std::size_t>(item_.itemIndex)])
                progressionChords_.push_back({c.RootOffset, c.ChordType});
        break;
    }
    default:
        return;
    }
    exerciseStaff_->BeginItem(m, item_, generated.Staff);
    scorePanel_->ShowPoints(item_.points);
    playCurrentItem(false);
}

void TForm1::playCurrentItem(bool repeat) {
    const GeneratorOptions options = generatorOptions();
    timerMidi1_.stop();
    sound_->Output().StopAll(noteQueue_);
    int tickMs = tickIntervalMs(options.Tempo);
    switch (settings_.CurrentModule) {
    case 1:
        tickMs = PlayInterval(noteQueue_, item_.root, item_.itemIndex, options);
        break;
    case 2:
        tickMs = PlayScale(noteQueue_, item_.root, item_.itemIndex, options);
        break;
    case 3:
        tickMs = PlayChord(noteQueue_, item_.root,
                           chordVoicingRecord(item_.itemIndex, item_.voicing), options);
        break;
    case 4:
        tickMs = PlayInversion(noteQueue_, item_.root, item_.itemIndex, options);
        break;
    case kProgressions:
        tickMs = PlayProgression(noteQueue_, item_, item_.root, item_.itemIndex, repeat, options,
                                 random_)
                     .TickIntervalMs;
        break;
    default:
        return;
    }
    startPlayback(tickMs);
}

void TForm1::startPlayback(int tickMs) {
    syncSoundSettings();
    timerMidi1_.setInterval(std::max(1, tickMs));
    timerMidi1_.start();
}

void TForm1::TimerMidi1Timer() {
    const QueueTickResult r = sound_->Output().TimerMidi1Timer(noteQueue_);
    if (r.FirstTick)
        colourExercisePanel(windowColour_);
    if (r.Stop)
        timerMidi1_.stop();
}

void TForm1::startPointTimer() {
    const int m = settings_.CurrentModule;
    timerPoint_.setInterval(PointTimerInterval(m, tempoOfCurrentModule(),
                                               settings_.ExerciseOptions.PlayStyle,
                                               settings_.MelodyOptions.NoteCount));
    if (m != kRhythm)
        timerPoint_.start();
}

void TForm1::TimerPointTimer() {
    scorePanel_->TimerPointTimer(item_);
}

void TForm1::GentagKnapClick() {
    if (task_.running == 0)
        return;
    setFocus();
    playCurrentItem(true);
    ApplyRepeatCost(item_);
    scorePanel_->ShowPoints(item_.points);
}

void TForm1::SvarKnapClick() {
    if (task_.running != 0)
        Judge(0, SourceShowAnswer);
}

void TForm1::EarStopOve() {
    transport_->AniBusy()->Stop();
    labTime_->TimeCalc();
    transport_->ShowIdle();
    task_.answerShown = false;
    timerMidi1_.stop();
    sound_->Output().StopAll(noteQueue_);
    if (settings_.CurrentModule == kRhythm)
        sound_->KillClickTrack();
    task_.running = 0;
    colourExercisePanel(windowColour_);
    timerPoint_.stop();

    answerPanel_->setTaskRunning(false);
    answerPanel_->setAnswerShown(false);
    answerPanel_->restoreAfterTask(false);
    syncInputState();
    exerciseStaff_->ResetForTask(settings_.CurrentModule);

    showIdleOptionGroups();

    speedMenu_->setTaskRunning(false);
    for (const char* menu : {"mPointMenu", "mIndstilMenu", "mModuler"})
        actions_.value(QString::fromLatin1(menu))->setEnabled(true);
    EarDoScreen();
}

void TForm1::showIdleOptionGroups() {
    const OptionGroupVisibility v = IdleOptionGroups(settings_.CurrentModule);
    options_->GroupKvalitet()->setVisible(v.GroupKvalitet);
    options_->RadioOpNed()->setVisible(v.RadioOpNed);
    options_->RadioOmfang()->setVisible(v.RadioOmfang);
    options_->GroupGrundtone()->setVisible(v.GroupGrundtone);
    options_->RadioAfspil()->setVisible(v.RadioAfspil);
    options_->GroupBelig()->setVisible(v.GroupBelig);
    options_->GroupKadence()->setVisible(v.GroupKadence);
    melodyOptions_->GroupMelodi()->setVisible(v.GroupMelodi);
    melodyOptions_->BitBtnKvintOp()->setVisible(v.BitBtnKvint);
    melodyOptions_->BitBtnKvintNed()->setVisible(v.BitBtnKvint);
}

void TForm1::ShutUpClick() {
    sound_->ShutUpClick(noteQueue_);
    pianoInput_->clearNoteHeld();
}

void TForm1::colourExercisePanel(const QColor& colour) {
    QPalette pal = panOve_->palette();
    pal.setColor(QPalette::Window, colour);
    panOve_->setPalette(pal);
    panOve_->update();
}

} // namespace harmik
