// The main window's widgets and how they are connected.
#include "app/activity_lamps.h"
#include "app/exercise_options.h"
#include "app/instrument_panel.h"
#include "app/main_window.h"
#include "app/melody_options.h"
#include "app/module_buttons.h"
#include "app/rhythm_options.h"
#include "app/score_panel.h"
#include "app/screen_layout.h"
#include "app/sound_controls.h"
#include "app/sound_panel.h"
#include "app/transport_panel.h"
#include "app/tutor_control.h"
#include "input/answer_layout.h"
#include "input/answer_panel.h"
#include "userdata/hints.h"
#include "userdata/strings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>
#include <vector>

namespace harmik {
void TForm1::buildLayout() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("MainArea"));
    setCentralWidget(central);

    freeArea_ = central;
    central->setMouseTracking(true);
    central->installEventFilter(this);

    speedMenu_ = new SpeedMenu(settings_, central);
    tutor_ = new TutorControl(*this, central);
    session_->setTutor(tutor_);

    panOve_ = new QFrame(central);
    panOve_->setObjectName(QStringLiteral("Pan_Ove"));
    static_cast<QFrame*>(panOve_)->setFrameShape(QFrame::StyledPanel);
    panOve_->setAutoFillBackground(true);
    scorePanel_ = new ScorePanel(session_->Score(), panOve_);
    auto* oveColumn = new QVBoxLayout(panOve_);
    oveColumn->setContentsMargins(6, 6, 6, 6);
    oveColumn->addWidget(scorePanel_);
    oveColumn->addStretch(1);

    labTime_ = new PracticeClockLabel(session_->Score(), central);
    labTime_->setObjectName(QStringLiteral("LabTime"));

    transport_ = new TransportPanel(central);
    answerPanel_ = new AnswerPanel(settings_, cursors_, itemNames_, central);
    options_ = new ExerciseOptionsPanel(settings_, central);
    rhythmOptions_ = new RhythmOptionsPanel(settings_, answerPanel_);
    rhythmOptions_->hide();
    melodyOptions_ = new MelodyOptionsPanel(settings_, central);

    credits_ = new QLabel(central);
    credits_->setObjectName(QStringLiteral("LabCredits"));
    credits_->setCursor(Qt::PointingHandCursor);
    credits_->installEventFilter(this);

    buildInstrumentsAndStaff(central);

    panStatus_ = new QLabel(central);
    panStatus_->setObjectName(QStringLiteral("PanStatus"));
    panStatus_->setFrameShape(QFrame::Panel);
    panStatus_->setFrameShadow(QFrame::Sunken);
    panStatus_->setIndent(4);

    panValg_ = new SoundPanel(central);
    soundControls_ = new SoundControls(
        settings_, [this] { return sound_ ? &sound_->Output() : nullptr; }, panValg_);
    panValg_->addControls(soundControls_->box());
    connect(soundControls_, &SoundControls::touched, panValg_, &SoundPanel::KeepOpen);
    auto* spin = new TempoSpinButtons(panValg_);
    panValg_->addToTempoRow(spin);
    tempoFields_ = new TempoFields(settings_, this);
    tempoFields_->attach(panValg_->EditTempo(), rhythmOptions_->EditTempo2(), spin);
    connect(tempoFields_, &TempoFields::soundPanelTouched, panValg_, &SoundPanel::KeepOpen);
    connect(imageMini_, &MiniPicture::touched, this, &TForm1::openSoundPanel);
}

void TForm1::buildExercisePanels() {
    options_->setTickBox(
        [this](int index, bool ticked) { answerPanel_->setBoxTicked(index, ticked); });
    options_->applyCursors(cursors_);
    connectPanels();
}

void TForm1::connectPanels() {
    connect(speedMenu_, &SpeedMenu::moduleChosen, this, &TForm1::SelectModule);
    connect(answerPanel_, &AnswerPanel::answerGiven, this,
            [this](int index) { Judge(index, SourceAnswerPanel); });
    connect(options_, &ExerciseOptionsPanel::playStylePreviewRequested, this,
            &TForm1::RadioKlassiskMouseDown);
    connect(melodyOptions_, &MelodyOptionsPanel::tonalityPreviewRequested, session_.get(),
            &PracticeSession::PreviewTonality);
    connect(answerPanel_, &AnswerPanel::previewRequested, session_.get(),
            &PracticeSession::PreviewItem);
    connect(answerPanel_, &AnswerPanel::screenLayoutRequested, this, &TForm1::EarDoScreen);
    connect(answerPanel_, &AnswerPanel::rhythmSymbolChanged, rhythmOptions_->ImageRytmeValg(),
            &RhythmSymbolPicture::showSymbol);
    connect(options_, &ExerciseOptionsPanel::rangeChanged, this, [this](int range) {
        answerPanel_->ApplyIntervalRange(range);
        EarDoScreen();
    });
    connect(melodyOptions_, &MelodyOptionsPanel::previousMetreRequested, rhythmOptions_,
            &RhythmOptionsPanel::PreviousMetreClick);
    connect(melodyOptions_, &MelodyOptionsPanel::nextMetreRequested, rhythmOptions_,
            &RhythmOptionsPanel::NextMetreClick);
    connect(transport_, &TransportPanel::startStopClicked, this, &TForm1::NyKnapClick);
    connect(transport_->GentagKnap(), &QPushButton::clicked, this, &TForm1::GentagKnapClick);
    connect(transport_->SvarKnap(), &QPushButton::clicked, this, &TForm1::SvarKnapClick);
    connect(transport_->ShutUp(), &QToolButton::clicked, this, &TForm1::ShutUpClick);
    connectInstruments();
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    EarDoScreen();
}

void TForm1::EarDoScreen() {
    if (screenLayout_)
        screenLayout_->EarDoScreen();
}

} // namespace harmik
