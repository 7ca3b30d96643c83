#pragma once
#include "app/score_state.h"
#include "app/task_tutor.h"
#include "tutor/tutor_state.h"
#include "userdata/messages.h"
#include "userdata/profile_record.h"

#include <QObject>
#include <QStringList>

class QLabel;
class QProgressBar;
class QToolButton;
class QWidget;

namespace harmik {

class TForm1;
struct TutorTaskFacts;

// The user's profile and the tutor on the main window: the profile loaded at start-up and its
// dialog (BitBtnProfil, mSeRetProfil), the tutor's button SpeedTutor (and mTutor), its level
// label LabNiveau, task label LabTutSet and gauge GaugeNiveau, the tasks applied to the
// module's options, the message that opens each task, and the judgement and the moves between
// tasks and levels after each task.
class TutorControl : public QObject, public TaskTutor {
    Q_OBJECT
public:
    // Creates the button, labels and gauge as children of `area`.
    TutorControl(TForm1& window, QWidget* area);

    ProfileRecord& Profile() { return profile_; }
    bool ProfileModified() const { return profileModified_; }
    TutorState& State() { return state_; }
    const QStringList& LevelLines() const { return lines_; }

    QToolButton* SpeedTutor() const { return speedTutor_; }
    QToolButton* BitBtnProfil() const { return bitBtnProfil_; }
    QProgressBar* GaugeNiveau() const { return gaugeNiveau_; }
    QLabel* LabNiveau() const { return labNiveau_; }
    QLabel* LabTutSet() const { return labTutSet_; }

    // Start-up: the default profile (following the shipped course), then the file LastProfile.
    void LoadProfileAtStart();
    // The profile dialog (BitBtnProfil and mSeRetProfil).
    void Opretnyprofil1Click();
    // Writes the profile to LastProfile after a level change; false (the user has been told
    // which file and why) when it could not be written. The level stays in memory.
    bool SaveProfileAfterLevelChange();

    // The tutor's button: its down state is the request to switch the tutor on.
    void SpeedTutorClick();
    // The menu item: toggles the button, then its click.
    void mTutorClick();
    // Applies task t of level L to the module's options and the tutor's state; false when the
    // level file does not hold that task (it is damaged).
    bool ApplyTutorTask(int level, int task);

    // The task cycle's questions to the tutor.
    bool tutorActive() const override { return state_.Active; }
    int tutorTaskStarting() override;
    // The borderless window that introduces the task about to start (`text`: the task's text).
    void ShowTutorMessage(const QString& text);
    void tutorTaskEnded(const ErrorStatistics& sorted, int module, int score) override;

    // The control gauge's bands of the current task while the tutor is on, else null.
    const TutorGaugeBands* GaugeBands() const { return state_.Active ? &bands_ : nullptr; }
    // The task has started or stopped: the tutor's controls follow.
    void TaskStarted();
    void TaskStopped();
    // Places the button, the profile button, the gauge and the labels so that they end at
    // `right` on the row of the module buttons; returns their left edge.
    int Place(int right, int rowHeight);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void switchOn();
    void switchOff();
    void refuse(MessageType type, const QString& text);
    void enableTutorSetControls(bool enabled);
    void showLevelControls(bool shown);
    void applyTaskToOptions(const TutorTask& task);
    TutorTaskFacts taskFacts() const;
    int judge(const ErrorStatistics& sorted, int module, int score, bool levelMode, int percentage);
    void moveAfterTask(const ErrorStatistics& sorted, int module, int score, int choice);
    bool changeLevel(int level);
    int currentModule() const;
    int profileLevel() const;

    TForm1& w_;
    ProfileRecord profile_;
    bool profileModified_ = false;
    TutorState state_;
    QStringList lines_;
    LevelPlace place_;
    TutorGaugeBands bands_;

    QToolButton* speedTutor_ = nullptr;
    QToolButton* bitBtnProfil_ = nullptr;
    QProgressBar* gaugeNiveau_ = nullptr;
    QLabel* labNiveau_ = nullptr;
    QLabel* labTutSet_ = nullptr;
};

} // namespace harmik
