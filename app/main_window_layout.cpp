// The main window's widgets and their placement for the current module and window size.
#include "app/activity_lamps.h"
#include "app/exercise_options.h"
#include "app/instrument_panel.h"
#include "app/main_window.h"
#include "app/melody_options.h"
#include "app/module_buttons.h"
#include "app/rhythm_options.h"
#include "app/score_panel.h"
#include "app/sound_controls.h"
#include "app/sound_panel.h"
#include "app/transport_panel.h"
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

namespace harmik {
namespace {

constexpr int kMargin = 4;

void place(QWidget* w, const PanelRect& r) {
    w->setGeometry(toQRect(r));
}

} // namespace

void TForm1::buildLayout() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("MainArea"));
    setCentralWidget(central);

    freeArea_ = central;
    central->setMouseTracking(true);
    central->installEventFilter(this);

    speedMenu_ = new SpeedMenu(settings_, central);

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
    connect(options_, &ExerciseOptionsPanel::playStylePreviewRequested, session_.get(),
            &PracticeSession::PreviewCadence);
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

// Melodies: the melody group centred in the area right of the exercise panel, with the cadence
// group below it; the key label and the fifth buttons above them. Rhythm: the fifth buttons
// step the time signature and stand at the top of the area.
void TForm1::placeMelodyAndKeyControls(int menuHeight, int oveWidth, int bottom) {
    const int m = settings_.CurrentModule;
    const int areaLeft = oveWidth;
    const int areaWidth = centralWidget()->width() - oveWidth;
    QWidget* up = melodyOptions_->BitBtnKvintOp();
    QWidget* down = melodyOptions_->BitBtnKvintNed();
    QLabel* key = melodyOptions_->LabelToneart();
    const int buttonsTop = menuHeight + 6;
    down->move(areaLeft + 10, buttonsTop);
    up->move(down->x() + down->width() + 4, buttonsTop);
    key->adjustSize();
    key->move(up->x() + up->width() + 10, buttonsTop + (up->height() - key->height()) / 2);
    if (m != 6)
        return;
    QWidget* melody = melodyOptions_->GroupMelodi();
    QWidget* kadence = options_->GroupKadence();
    const QSize melodySize = melody->sizeHint();
    const QSize kadenceSize(275, kadence->sizeHint().height());
    const int areaTop = buttonsTop + up->height() + 4;
    const int total = melodySize.height() + kadenceSize.height();
    const int top = areaTop + std::max(0, (bottom - areaTop - total) / 2);
    melody->setGeometry(areaLeft + (areaWidth - melodySize.width()) / 2, top, melodySize.width(),
                        melodySize.height());
    kadence->setGeometry(areaLeft + (areaWidth - kadenceSize.width()) / 2,
                         top + melodySize.height(), kadenceSize.width(), kadenceSize.height());
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    EarDoScreen();
}

void TForm1::EarDoScreen() {
    QWidget* central = centralWidget();
    if (central == nullptr || speedMenu_ == nullptr || panKlaver_ == nullptr)
        return;
    const int w = central->width();
    const int h = central->height();
    const int status = settings_.StatusBar ? 1 : 0;
    const int statusHeight = 16 * status;
    const int menuHeight = speedMenu_->sizeHint().height();

    speedMenu_->setGeometry(0, 0, w, menuHeight);
    panStatus_->setGeometry(0, h - statusHeight, w, statusHeight);

    // Along the foot: the piano and guitar, the staff above them, the transport panel above
    // the staff on the left and the credits on the right.
    placeStaffAndInstruments(w, h, statusHeight);
    const int staffTop = panStaff_->y();
    const QSize transportSize = transport_->sizeHint();
    const int footTop = std::max(menuHeight, staffTop - transportSize.height());
    transport_->setGeometry(0, footTop, transportSize.width(), transportSize.height());
    const QSize creditsSize = credits_->sizeHint();
    credits_->setGeometry(w - creditsSize.width() - 8, staffTop - creditsSize.height() - 2,
                          creditsSize.width(), creditsSize.height());
    if (panValg_->isVisible()) {
        panValg_->adjustSize();
        panValg_->move(std::max(0, width() - panValg_->width() - 25),
                       std::max(menuHeight, panKlaver_->y() - panValg_->height() + 40));
        panValg_->raise();
    }

    // The top right: the practice clock.
    const QSize clockSize = labTime_->sizeHint();
    labTime_->setGeometry(w - clockSize.width() - 50, menuHeight + 2, clockSize.width(),
                          clockSize.height());

    // The exercise panel on the left, between the module buttons and the transport panel.
    const int oveWidth = std::max(150, panOve_->sizeHint().width());
    panOve_->setGeometry(0, menuHeight, oveWidth, std::max(0, footTop - menuHeight));

    placeMelodyAndKeyControls(menuHeight, oveWidth, staffTop);
    if (settings_.CurrentModule < 1 || settings_.CurrentModule == 6) {
        answerPanel_->hide();
        return;
    }
    PanelLayoutInput in;
    in.ClientWidth = w;
    // The transport panel stands on the left above the staff: the answer panel and its option
    // groups end above it.
    in.ClientHeight = h - transportSize.height();
    in.WindowWidth = width();
    in.StaffHeight = panStaff_->height();
    in.PianoHeight = panKlaver_->height();
    in.MenuHeight = menuHeight;
    in.OveWidth = oveWidth;
    in.StatusBar = status;
    in.KvalitetTag = options_->GroupKvalitet()->shownGroups();
    in.AfspilTag = options_->RadioAfspil()->count();
    in.OpNedEnabled = options_->RadioOpNed()->isEnabled();
    const PanelLayout layout = answerPanel_->EarDoProblemGroup(in);
    if (settings_.CurrentModule <= 5) {
        const OptionGroupLayout& o = layout.Options;
        place(options_->GroupKvalitet(), o.GroupKvalitet);
        for (std::size_t g = 0; g < o.KvalitetBoxes.size(); ++g) {
            QCheckBox* box = options_->CheckKval(static_cast<int>(g) + 1);
            place(box, o.KvalitetBoxes[g]);
            QFont f = box->font();
            f.setPointSize(std::max(6, o.KvalitetFontSize));
            box->setFont(f);
        }
        PanelRect combo = o.ComboGrundtone;
        if (combo.Height <= 0)
            combo.Height = options_->ComboGrundtone()->sizeHint().height();
        place(options_->ComboGrundtone(), combo);
        place(options_->CheckBelig(), o.CheckBelig);
        place(options_->RadioAfspil(), o.RadioAfspil);
        place(options_->GroupGrundtone(), o.GroupGrundtone);
        place(options_->RadioOmfang(), o.RadioOmfang);
        place(options_->RadioOpNed(), o.RadioOpNed);
        place(options_->GroupBelig(), o.GroupBelig);
        if (settings_.CurrentModule == 5)
            place(options_->GroupKadence(), o.GroupKadence);
    }
    const bool rhythm = settings_.CurrentModule == 7;
    rhythmOptions_->ShowRhythmPictures(rhythm && layout.RhythmPicturesShown);
    if (rhythm)
        rhythmOptions_->PlaceOnAnswerPanel(layout.PanRytmeTop);
    const bool panelShown = !(rhythm && session_->running());
    answerPanel_->setVisible(panelShown);
}

} // namespace harmik
