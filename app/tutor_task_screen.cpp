// The tutor's controls on the main window and a tutor task put onto the module's options.
#include "app/exercise_options.h"
#include "app/main_window.h"
#include "app/melody_options.h"
#include "app/rhythm_options.h"
#include "app/tutor_control.h"
#include "input/answer_panel.h"
#include "tutor/tutor_message.h"
#include "userdata/hints.h"
#include "userdata/strings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QToolButton>

namespace harmik {
namespace {

constexpr int kStrLevel = 3500;
constexpr int kStrTaskOf = 1003;
constexpr int kStrTutorOffHint = 3100;
constexpr int kStrProfileHint = 3106;
constexpr int kStrGaugeHint = 3505;
constexpr int kIntervals = 1;
constexpr int kChords = 3;
constexpr int kMelodies = 6;
constexpr int kRhythm = 7;
constexpr int kPictureSize = 28;

QPixmap picture(bool tutor) {
    QPixmap pixmap(kPictureSize, kPictureSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(20, 30, 90);
    p.setPen(QPen(ink, 1.4));
    p.setBrush(ink);
    if (tutor) {
        // A teacher's cap over a note.
        const QPointF cap[4] = {{14, 4}, {27, 9}, {14, 14}, {1, 9}};
        p.drawPolygon(cap, 4);
        p.drawLine(QPointF(24, 10), QPointF(24, 17));
        p.drawEllipse(QRectF(9, 20, 7, 5));
        p.drawLine(QPointF(16, 22), QPointF(16, 13));
    } else {
        // A head and shoulders.
        p.drawEllipse(QRectF(9, 3, 10, 10));
        p.drawChord(QRectF(4, 15, 20, 20), 0, 180 * 16);
    }
    return pixmap;
}

QLabel* clickableLabel(QWidget* area, const char* name, QObject* filter) {
    auto* l = new QLabel(area);
    l->setObjectName(QString::fromLatin1(name));
    l->setCursor(Qt::PointingHandCursor);
    l->installEventFilter(filter);
    l->hide();
    return l;
}

} // namespace

TutorControl::TutorControl(TForm1& window, QWidget* area) : QObject(&window), w_(window) {
    speedTutor_ = new QToolButton(area);
    speedTutor_->setObjectName(QStringLiteral("SpeedTutor"));
    speedTutor_->setCheckable(true);
    speedTutor_->setAutoRaise(true);
    speedTutor_->setIcon(QIcon(picture(true)));
    speedTutor_->setIconSize(QSize(kPictureSize, kPictureSize));
    ApplyHintId(speedTutor_, kStrTutorOffHint);
    connect(speedTutor_, &QToolButton::clicked, this, &TutorControl::SpeedTutorClick);

    bitBtnProfil_ = new QToolButton(area);
    bitBtnProfil_->setObjectName(QStringLiteral("BitBtnProfil"));
    bitBtnProfil_->setAutoRaise(true);
    bitBtnProfil_->setIcon(QIcon(picture(false)));
    bitBtnProfil_->setIconSize(QSize(kPictureSize, kPictureSize));
    ApplyHintId(bitBtnProfil_, kStrProfileHint);
    connect(bitBtnProfil_, &QToolButton::clicked, this, &TutorControl::Opretnyprofil1Click);

    gaugeNiveau_ = new QProgressBar(area);
    gaugeNiveau_->setObjectName(QStringLiteral("GaugeNiveau"));
    gaugeNiveau_->setTextVisible(false);
    gaugeNiveau_->setMinimum(0);
    ApplyHintId(gaugeNiveau_, kStrGaugeHint);
    gaugeNiveau_->hide();
    labNiveau_ = clickableLabel(area, "LabNiveau", this);
    labTutSet_ = clickableLabel(area, "LabTutSet", this);
    for (QLabel* l : {labNiveau_, labTutSet_})
        ApplyHintId(l, kStrGaugeHint);
}

int TutorControl::Place(int right, int rowHeight) {
    const QSize button = speedTutor_->sizeHint();
    const int top = std::max(0, (rowHeight - button.height()) / 2);
    bitBtnProfil_->setGeometry(right - button.width(), top, button.width(), button.height());
    speedTutor_->setGeometry(bitBtnProfil_->x() - button.width() - 2, top, button.width(),
                             button.height());
    int left = speedTutor_->x();
    if (!gaugeNiveau_->isHidden()) {
        gaugeNiveau_->setGeometry(left - 64, (rowHeight - 10) / 2, 60, 10);
        labNiveau_->adjustSize();
        labTutSet_->adjustSize();
        const int labelsWidth = std::max(labNiveau_->width(), labTutSet_->width());
        left = gaugeNiveau_->x() - labelsWidth - 6;
        labNiveau_->move(left, rowHeight / 2 - labNiveau_->height());
        labTutSet_->move(left, rowHeight / 2);
    }
    return left;
}

void TutorControl::showLevelControls(bool shown) {
    for (QWidget* c : std::initializer_list<QWidget*>{labNiveau_, gaugeNiveau_, labTutSet_})
        c->setVisible(shown);
    w_.EarDoScreen();
}

void TutorControl::enableTutorSetControls(bool enabled) {
    ExerciseOptionsPanel* o = w_.Options();
    for (QWidget* c :
         std::initializer_list<QWidget*>{o->GroupKvalitet(), o->RadioOpNed(), o->RadioOmfang(),
                                         o->GroupGrundtone(), o->RadioAfspil(), o->GroupBelig()})
        c->setEnabled(enabled);
    MelodyOptionsPanel* melody = w_.MelodyOptions();
    // The group's own controls follow the group.
    for (QWidget* c : std::initializer_list<QWidget*>{
             melody->GroupMelodi(), melody->BitBtnKvintOp(), melody->BitBtnKvintNed()})
        c->setEnabled(enabled);
    w_.RhythmOptions()->setTutorActive(!enabled);
}

bool TutorControl::ApplyTutorTask(int level, int task) {
    const int m = currentModule();
    const std::optional<LevelPlace> place = FindLevel(lines_, level);
    const std::optional<TutorTask> t =
        place ? ReadTask(lines_, *place, task, m) : std::optional<TutorTask>();
    if (!t)
        return false;
    place_ = *place;
    state_.TaskBase = place->TaskBase;
    state_.TasksInLevel = place->TasksInLevel;
    gaugeNiveau_->setMaximum(place->TasksInLevel);
    labNiveau_->setText(FormatStr(kStrLevel, {level}));
    applyTaskToOptions(*t);
    state_.FlunkPercent = static_cast<std::uint8_t>(std::clamp(t->FlunkPercent, 0, 100));
    state_.PassPercent = static_cast<std::uint8_t>(std::clamp(t->PassPercent, 0, 100));
    state_.Repetitions = static_cast<std::uint8_t>(std::clamp(t->Repetitions, 1, 255));
    state_.Text = t->Text;
    state_.Level = static_cast<std::uint8_t>(level);
    state_.Task = task;
    bands_ = {state_.FlunkPercent, state_.PassPercent};
    gaugeNiveau_->setValue(task);
    labTutSet_->setText(FormatStr(kStrTaskOf, {task, place->TasksInLevel}));
    w_.EarDoScreen();
    return true;
}

void TutorControl::applyTaskToOptions(const TutorTask& t) {
    const int m = currentModule();
    SettingsRecord& s = w_.Settings();
    if (m == kMelodies) {
        MelodyOptionsRecord& o = s.MelodyOptions;
        o.Key = static_cast<std::uint8_t>(std::clamp(t.Key, 0, 11));
        o.Tonality = static_cast<std::uint8_t>(std::clamp(t.Tonality, 0, 6));
        o.Leap = static_cast<std::uint8_t>(std::clamp(t.Leap, 1, 7));
        o.NoteCount = static_cast<std::uint8_t>(std::clamp(t.NoteCount, 1, 15));
        w_.MelodyOptions()->ApplyLoadedSettings();
        w_.MelodyOptions()->ComboToneartChange();
        return;
    }
    // The tutor's own ticks: the lock that keeps the user's hands off them waits meanwhile.
    AnswerPanel* panel = w_.Group_Problem();
    panel->setTutorActive(false);
    for (int k = 0; k < panel->AnswerBoxCount(); ++k)
        panel->setBoxTicked(k, t.Items[static_cast<std::size_t>(k)]);
    for (int k = 0; k < panel->AnswerBoxCount(); ++k)
        panel->box(k)->setEnabled(panel->boxTicked(k));
    panel->setTutorActive(state_.Active);
    if (m == kRhythm) {
        RhythmOptionsRecord& r = s.RhythmOptions;
        r.RhythmMode = static_cast<std::uint8_t>(std::clamp(t.Direction, 0, 2));
        r.Metre = static_cast<std::uint8_t>(std::clamp(t.Range, 0, 7));
        r.Bars = static_cast<std::uint8_t>(std::clamp(t.Root, 1, 6));
        r.InterBar = t.PlayMode == 1 ? 1 : 0;
        w_.RhythmOptions()->ApplyLoadedSettings();
        return;
    }
    ExerciseOptionsPanel* o = w_.Options();
    o->RadioOpNedClick(t.Direction);
    if (m == kIntervals)
        o->RadioOmfangClick(t.Range);
    if (m == kChords)
        o->CheckBeligClick(t.Range == 1);
    o->ComboGrundtoneChange(t.Root);
    o->RadioAfspilClick(t.PlayMode);
}

TutorTaskFacts TutorControl::taskFacts() const {
    TutorTaskFacts f;
    const SettingsRecord& s = w_.Settings();
    f.Module = currentModule();
    const MelodyOptionsPanel* melody = w_.MelodyOptions();
    f.NoteCount = s.MelodyOptions.NoteCount;
    f.KeyText = melody->ComboToneart()->currentText();
    f.TonalityText = melody->ComboTonalitet()->currentText();
    f.LeapText = melody->ComboSpring()->currentText();
    f.Bars = s.RhythmOptions.Bars;
    f.MetreText = w_.RhythmOptions()->ComboTaktart()->currentText();
    f.RhythmMode = s.RhythmOptions.RhythmMode;
    f.DirectionShown = !w_.Options()->RadioOpNed()->isHidden();
    f.Direction = s.ExerciseOptions.Direction;
    f.PlayMode = s.ExerciseOptions.PlayMode;
    f.RandomRoot = s.ExerciseOptions.RootNote == kRandomRootNote;
    return f;
}

} // namespace harmik
