// The tutor on the main window: switching it on and off, the message before each task, the
// judgement after it and the moves between tasks and levels, and the user's profile it reads
// and writes.
#include "app/tutor_control.h"

#include "app/main_window.h"
#include "app/module_buttons.h"
#include "app/statistics_window.h"
#include "app/top_ten_window.h"
#include "input/answer_panel.h"
#include "tutor/tutor_message.h"
#include "userdata/hints.h"
#include "userdata/messages.h"
#include "userdata/profile_dialog.h"
#include "userdata/strings.h"
#include "userdata/tutor_index.h"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <QToolButton>

namespace harmik {
namespace {

constexpr int kStrNotAProfile = 653;
constexpr int kStrLevelFileDamaged = 2020;
constexpr int kStrNoLevels = 2021;
constexpr int kStrFileNotWritten = 2041;
constexpr int kStrTutorOffHint = 3100;
constexpr int kStrTutorBusyHint = 3101;
constexpr int kStrTutorOnHint = 3102;
constexpr int kStrLastLevel = 8300;
constexpr int kRhythm = 7;

QAction* action(TForm1& w, const char* name) {
    return w.menuAction(QString::fromLatin1(name));
}

// The shipped course as the tutor of a profile, when it is there.
void followShippedCourse(ProfileRecord& p) {
    const QString path =
        FindTutorFile(QString::fromLatin1(kShippedTutorName) + QStringLiteral(".TUT"));
    if (path.isEmpty())
        return;
    const TutorIndexRead read = ReadTutorIndex(path);
    if (!read.Ok)
        return;
    p.TutorName.setText(read.Name);
    p.TutorTitle.setText(read.Index.Title);
    p.TutorInfo.setText(read.Index.Info);
    for (std::size_t i = 0; i < 7; ++i)
        p.MaxLevel[i] = static_cast<std::uint8_t>(std::clamp(read.Index.MaxLevel[i], 1, 255));
}

} // namespace

int TutorControl::currentModule() const {
    return std::clamp<int>(w_.Settings().CurrentModule, 1, 7);
}

int TutorControl::profileLevel() const {
    const auto i = static_cast<std::size_t>(currentModule() - 1);
    return std::clamp<int>(profile_.Level[i], 1, std::max<int>(1, profile_.MaxLevel[i]));
}

void TutorControl::LoadProfileAtStart() {
    profile_ = DefaultProfile();
    followShippedCourse(profile_);
    profileModified_ = false;
    const QString path = w_.Settings().LastProfile.text();
    if (ReadProfileFile(path, profile_) == ProfileReadResult::WrongHeader)
        ShowMessage(&w_, {MessageType::Error, MessageButtons::Ok, LoadStr(kStrNotAProfile), 0, {}});
    state_ = TutorState{};
    state_.Name = profile_.TutorName.text();
}

void TutorControl::Opretnyprofil1Click() {
    if (state_.Active)
        return;
    const bool modifiedBefore = profileModified_;
    TProfilDialog dialog({profile_, profileModified_, w_.Settings().LastProfile}, &w_);
    if (dialog.exec() == QDialog::Accepted)
        state_.Name = profile_.TutorName.text();
    else
        profileModified_ = modifiedBefore && profileModified_;
}

bool TutorControl::SaveProfileAfterLevelChange() {
    const QString path = w_.Settings().LastProfile.text();
    QString error;
    if (!WriteProfileFile(profile_, path, &error)) {
        ShowMessage(&w_,
                    {MessageType::Warning,
                     MessageButtons::Ok,
                     FormatStr(kStrFileNotWritten, {QDir::current().absoluteFilePath(path), error}),
                     0,
                     {}});
        return false;
    }
    profileModified_ = false;
    return true;
}

void TutorControl::mTutorClick() {
    speedTutor_->setChecked(!speedTutor_->isChecked());
    SpeedTutorClick();
}

void TutorControl::SpeedTutorClick() {
    const bool down = speedTutor_->isChecked();
    if (w_.Session().running()) {
        if (!state_.Active) {
            speedTutor_->setChecked(false);
            return;
        }
        if (down)
            return;
        w_.Session().NyKnapClick(); // stops the task first
    }
    if (down && !state_.Active)
        switchOn();
    else if (!down && state_.Active)
        switchOff();
}

void TutorControl::refuse(MessageType type, const QString& text) {
    state_.Active = false;
    speedTutor_->setChecked(false);
    ShowMessage(&w_, {type, MessageButtons::Ok, text, 0, {}});
}

void TutorControl::switchOn() {
    const int m = currentModule();
    if (profile_.MaxLevel[static_cast<std::size_t>(m - 1)] >= kNoTutorLevels) {
        refuse(MessageType::Information, FormatStr(kStrNoLevels, {profile_.TutorTitle.text()}));
        return;
    }
    const QString levelFile = LevelFileName(state_.Name, m);
    const int level = profileLevel();
    const std::optional<LevelPlace> place =
        LoadLevelFile(state_.Name, m, lines_) ? FindLevel(lines_, level) : std::nullopt;
    if (!place || !ReadTask(lines_, *place, 1, m)) {
        refuse(MessageType::Warning, FormatStr(kStrLevelFileDamaged, {levelFile}));
        return;
    }
    state_.Active = true;
    ApplyHintId(speedTutor_, kStrTutorOnHint);
    AnswerPanel* panel = w_.Group_Problem();
    panel->setTutorActive(true);
    if (m != kRhythm)
        ApplyHintId(panel, 3012);
    showLevelControls(true);
    w_.ModuleButtons()->setTaskRunning(true);
    action(w_, "mSeRetProfil")->setEnabled(false);
    action(w_, "mModuler")->setEnabled(false);
    bitBtnProfil_->setEnabled(false);
    enableTutorSetControls(false);
    ApplyTutorTask(level, 1);
    ClearLevelTotals(w_.Session().Score());
    w_.update();
    w_.Session().NyKnapClick();
}

void TutorControl::switchOff() {
    state_.Active = false;
    speedTutor_->setChecked(false);
    AnswerPanel* panel = w_.Group_Problem();
    panel->setTutorActive(false);
    for (int i = 0; i < panel->AnswerBoxCount(); ++i)
        panel->box(i)->setEnabled(true);
    if (currentModule() != kRhythm)
        ApplyHint(panel, AnswerPanel::IdleHint());
    showLevelControls(false);
    ApplyHintId(speedTutor_, kStrTutorOffHint);
    w_.ModuleButtons()->setTaskRunning(false);
    action(w_, "mSeRetProfil")->setEnabled(true);
    action(w_, "mModuler")->setEnabled(true);
    bitBtnProfil_->setEnabled(true);
    enableTutorSetControls(true);
    w_.update();
}

void TutorControl::ShowTutorMessage(const QString& text) {
    TTutorMessage message(
        MakeTutorMessage(text, taskFacts(), state_.Level, state_.Task, state_.Repetitions), &w_);
    message.exec();
}

int TutorControl::tutorTaskStarting() {
    ShowTutorMessage(state_.Text);
    ApplyHintId(speedTutor_, kStrTutorBusyHint);
    return state_.Repetitions;
}

void TutorControl::TaskStarted() {
    speedTutor_->setVisible(state_.Active);
    bitBtnProfil_->setVisible(state_.Active);
}

void TutorControl::TaskStopped() {
    speedTutor_->show();
    bitBtnProfil_->show();
    if (!state_.Active)
        return;
    ApplyHintId(speedTutor_, kStrTutorOnHint);
    w_.ModuleButtons()->setTaskRunning(true);
    action(w_, "mModuler")->setEnabled(false);
}

int TutorControl::judge(const ErrorStatistics& sorted, int module, int score, bool levelMode,
                        int percentage) {
    TutorJudgementInput in;
    in.levelMode = levelMode;
    in.task = state_.Task;
    in.level = state_.Level;
    in.percentage = percentage;
    in.flunkPercent = state_.FlunkPercent;
    in.passPercent = state_.PassPercent;
    const TutorChoiceView view = MakeTutorChoice(in);
    return ShowStatisticsWindow(sorted, static_cast<ModuleId>(module), score, w_.ItemNames(), &w_,
                                levelMode, &view);
}

void TutorControl::tutorTaskEnded(const ErrorStatistics& sorted, int module, int score) {
    const int choice = judge(sorted, module, score, false, w_.Session().Score().controlPercentage);
    moveAfterTask(sorted, module, score, choice);
    TopTenCheck(w_.TopTen(), score, module, &w_);
    if (!state_.Active)
        return;
    if (!ApplyTutorTask(state_.Level, state_.Task)) {
        const QString file = LevelFileName(state_.Name, currentModule());
        switchOff();
        refuse(MessageType::Warning, FormatStr(kStrLevelFileDamaged, {file}));
        return;
    }
    w_.Session().NyKnapClick();
}

void TutorControl::moveAfterTask(const ErrorStatistics& sorted, int module, int score, int choice) {
    const TaskStep step = NextTask(state_.Task, state_.TasksInLevel, choice);
    state_.Task = step.Task;
    if (!step.LevelEnd)
        return;
    state_.FlunkPercent = static_cast<std::uint8_t>(place_.FlunkPercent);
    state_.PassPercent = static_cast<std::uint8_t>(place_.PassPercent);
    ScoreState& s = w_.Session().Score();
    const int levelChoice = judge(sorted, module, score, true, LevelPercentage(s));
    state_.Task = 1;
    changeLevel(NextLevel(state_.Level, levelChoice));
    ClearLevelTotals(s);
}

// Moves to another level of the module, or stays where the course ends. A level the file does
// not hold whole switches the tutor off with the damaged-file message.
bool TutorControl::changeLevel(int level) {
    const auto i = static_cast<std::size_t>(currentModule() - 1);
    if (level > profile_.MaxLevel[i] || (level != state_.Level && !FindLevel(lines_, level))) {
        if (level > profile_.MaxLevel[i]) {
            ShowMessage(&w_, {MessageType::Information,
                              MessageButtons::Ok,
                              FormatStr(kStrLastLevel, {int(state_.Level)}),
                              0,
                              {}});
            return true;
        }
        const QString file = LevelFileName(state_.Name, currentModule());
        switchOff();
        refuse(MessageType::Warning, FormatStr(kStrLevelFileDamaged, {file}));
        return false;
    }
    state_.Level = static_cast<std::uint8_t>(level);
    if (profile_.Level[i] != level) {
        profile_.Level[i] = static_cast<std::uint8_t>(level);
        SaveProfileAfterLevelChange();
    }
    return true;
}

bool TutorControl::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == labNiveau_ || watched == labTutSet_) &&
        event->type() == QEvent::MouseButtonPress) {
        speedTutor_->setChecked(false);
        SpeedTutorClick();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace harmik
