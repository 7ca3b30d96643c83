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

#include <cmath>
#include <vector>

namespace harmik {
namespace {

constexpr int kMargin = 4;

constexpr int kSmallestOptionPoints = 6;

// A group's type and its items' (set on each: a group with a style sheet of its own does not
// hand its font down).
void setPoints(QWidget* w, double points) {
    QFont f = w->font();
    f.setPointSizeF(std::max<double>(kSmallestOptionPoints, std::round(points)));
    w->setFont(f);
    for (QWidget* child : w->findChildren<QWidget*>())
        child->setFont(f);
}

// Tick marks as high as the group's text, so that the items of a group in small type stand
// closer together; a group in its normal type keeps the style's own marks.
void setCompactMarks(QWidget* group, bool compact) {
    QString sheet;
    if (compact) {
        const int mark = std::max(8, QFontMetrics(group->font()).height() - 3);
        sheet = QStringLiteral("QRadioButton::indicator, QCheckBox::indicator { width: %1px; "
                               "height: %1px; } QRadioButton, QCheckBox { spacing: 3px; }")
                    .arg(mark);
    }
    if (group->styleSheet() != sheet)
        group->setStyleSheet(sheet);
}

// The option groups beside the answer panel: where the layout gives them, each at least as
// high as its items need; when they do not fit in one column they stand side by side, and when
// they do not fit at all, their fonts are made smaller together.
bool placeOptionGroups(ExerciseOptionsPanel& options, const PanelLayout& layout, int clientWidth,
                       const QFont& windowFont, double smallestPoints, int bottom = -1) {
    const OptionGroupLayout& o = layout.Options;
    // In the order they stack from the panel's foot; the item groups stand at its top.
    std::vector<std::pair<QWidget*, PanelRect>> groups;
    const auto add = [&groups](QWidget* g, const PanelRect& r) {
        if (!g->isHidden() && r.Height > 0)
            groups.emplace_back(g, r);
    };
    add(options.RadioAfspil(), o.RadioAfspil);
    add(options.GroupGrundtone(), o.GroupGrundtone);
    add(options.RadioOmfang(), o.RadioOmfang);
    add(options.RadioOpNed(), o.RadioOpNed);
    add(options.GroupBelig(), o.GroupBelig);
    if (layout.Module == 5)
        add(options.GroupKadence(), o.GroupKadence);
    add(options.GroupKvalitet(), o.GroupKvalitet);
    if (options.RadioOpNed()->isVisible() && o.RadioOpNed.Height <= 0)
        options.RadioOpNed()->setGeometry(0, 0, 0, 0);
    if (groups.empty())
        return true;

    options.ComboGrundtone()->setMinimumWidth(0);
    const double basePoints = windowFont.pointSizeF();
    const int left = layout.Panel.right() - 2;
    std::vector<PanelRect> rects;
    for (double scale = 1.0;; scale -= 0.08) {
        for (auto& [g, r] : groups) {
            setCompactMarks(g, scale < 1.0);
            setPoints(g, basePoints * scale);
            if (g == options.GroupKvalitet())
                for (int k = 1; k <= options.GroupKvalitet()->shownGroups(); ++k)
                    setPoints(options.CheckKval(k), std::max(1, o.KvalitetFontSize) * scale);
        }
        // The play styles stand in two columns where there is room, else in one.
        RadioGroupBox* kadence = options.GroupKadence();
        kadence->setColumns(2);
        if (kadence->minimumSizeHint().width() > clientWidth - left)
            kadence->setColumns(1);
        std::vector<OptionGroupNeed> needs;
        for (const auto& [g, r] : groups) {
            const QSize least = g->minimumSizeHint();
            needs.push_back({r, least.width(), least.height(), g == options.GroupKvalitet()});
        }
        rects = FitOptionGroups(needs, left, layout.Panel.Top,
                                bottom < 0 ? layout.Panel.bottom() : bottom, clientWidth);
        if (!rects.empty() || basePoints * (scale - 0.08) < smallestPoints)
            break;
    }
    for (std::size_t i = 0; i < groups.size(); ++i)
        groups[i].first->setGeometry(toQRect(rects.empty() ? groups[i].second : rects[i]));
    QComboBox* combo = options.ComboGrundtone();
    combo->setMinimumWidth(
        std::min(options.GroupGrundtone()->width() / 2, options.GroupGrundtone()->width() - 12));
    return !rects.empty();
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
    RadioGroupBox* kadence = options_->GroupKadence();
    kadence->setColumns(2);
    kadence->setFont(font());
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

    // The module buttons along the top, the practice clock at their right.
    const QSize clockSize = labTime_->sizeHint();
    const int clockLeft = w - clockSize.width() - 50;
    speedMenu_->setGeometry(0, 0, std::max(0, clockLeft - 10), menuHeight);
    labTime_->setGeometry(clockLeft, (menuHeight - clockSize.height()) / 2, clockSize.width(),
                          clockSize.height());
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
    credits_->show();
    if (panValg_->isVisible()) {
        panValg_->adjustSize();
        panValg_->move(std::max(0, width() - panValg_->width() - 25),
                       std::max(menuHeight, panKlaver_->y() - panValg_->height() + 40));
        panValg_->raise();
    }

    // The exercise panel on the left, between the module buttons and the transport panel.
    const int oveWidth = std::max(150, panOve_->sizeHint().width());
    panOve_->setGeometry(0, menuHeight, oveWidth, std::max(0, footTop - menuHeight));

    // The melody groups end above the credits where these stand below them.
    placeMelodyAndKeyControls(menuHeight, oveWidth, std::min(staffTop, credits_->y()));
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
    // The option groups first take the room beside the panel and smaller fonts; where that is
    // not enough, the panel is laid out narrower, as for a narrower window.
    PanelLayout layout = answerPanel_->EarDoProblemGroup(in);
    if (settings_.CurrentModule <= 5) {
        const double points = font().pointSizeF();
        const int narrowest = w * 3 / 5;
        bool fits = placeOptionGroups(*options_, layout, w, font(), points * 0.8);
        while (!fits && in.ClientWidth > narrowest) {
            PanelLayoutInput narrower = in;
            narrower.ClientWidth = std::max(narrowest, in.ClientWidth - w / 20);
            const PanelLayout tried = answerPanel_->EarDoProblemGroup(narrower);
            if (!answerPanel_->captionsFit()) {
                layout = answerPanel_->EarDoProblemGroup(in);
                break;
            }
            in = narrower;
            layout = tried;
            fits = placeOptionGroups(*options_, layout, w, font(), points * 0.8);
        }
        // Still too little room: the option groups take the foot of the window down to the
        // staff too, and the credits stand left of them where they fit.
        bool footTaken = false;
        if (!fits) {
            footTaken = placeOptionGroups(*options_, layout, w, font(), 6.0, staffTop - 2);
            if (!footTaken)
                placeOptionGroups(*options_, layout, w, font(), 6.0);
        }
        if (footTaken) {
            const int right = layout.Panel.right() - 8;
            credits_->move(right - creditsSize.width(), credits_->y());
            credits_->setVisible(credits_->x() >= transport_->geometry().right() + 8);
        }
    }
    const bool rhythm = settings_.CurrentModule == 7;
    rhythmOptions_->ShowRhythmPictures(rhythm && layout.RhythmPicturesShown);
    if (rhythm)
        rhythmOptions_->PlaceOnAnswerPanel(layout.PanRytmeTop);
    const bool panelShown = !(rhythm && session_->running());
    answerPanel_->setVisible(panelShown);
}

} // namespace harmik
