#include "app/score_panel.h"

#include "theory/clock.h"
#include "userdata/hints.h"
#include "userdata/messages.h"
#include "userdata/strings.h"

#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

namespace harmik {
namespace {

constexpr int kStrWrong = 1000;
constexpr int kStrRight = 1001;
constexpr int kStrResetClock = 512;
constexpr int kHintGauge = 3020;
constexpr int kHintRight = 3021;
constexpr int kHintWrong = 3022;
constexpr int kHintScore = 3070;
constexpr int kHintClock = 3103;

QLabel* makeLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

} // namespace

QColor BandColour(GaugeBand band) {
    switch (band) {
    case GaugeBand::Red:
        return QColor(255, 0, 0);
    case GaugeBand::Yellow:
        return QColor(255, 255, 0);
    case GaugeBand::Green:
        break;
    }
    return QColor(0, 255, 0);
}

ControlGauge::ControlGauge(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("GaugeRigtige"));
    setMinimumSize(60, 14);
}

void ControlGauge::setPosition(int percentage) {
    position_ = std::clamp(percentage, 0, 100);
    update();
}

void ControlGauge::setBackgroundColour(const QColor& colour) {
    background_ = colour;
    update();
}

void ControlGauge::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    p.fillRect(rect(), background_);
    // The reached part in a darker shade of the band, so the band's colour stays readable.
    const int filled = r.width() * position_ / 100;
    p.fillRect(QRect(r.left() + 1, r.top() + 1, std::max(filled - 1, 0), r.height() - 1),
               background_.darker(135));
    p.setPen(Qt::gray);
    p.drawRect(r);
    p.setPen(Qt::black);
    p.drawText(rect(), Qt::AlignCenter, QStringLiteral("%1 %").arg(position_));
}

ScorePanel::ScorePanel(ScoreState& score, QWidget* parent) : QWidget(parent), score_(score) {
    setObjectName(QStringLiteral("ScorePanel"));
    gauge_ = new ControlGauge(this);
    labRight_ = makeLabel("LabRigtige", this);
    labWrong_ = makeLabel("LabForkerte", this);
    labScore_ = makeLabel("Lab_Score", this);
    pointLabel_ = makeLabel("PointLabel", this);
    pointLabel_->hide();

    // Stacked for the narrow exercise panel: the score large on top, then the gauge and the
    // two counters.
    QFont big = labScore_->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    labScore_->setFont(big);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(labScore_);
    layout->addWidget(gauge_);
    layout->addWidget(labRight_);
    layout->addWidget(labWrong_);
    ApplyHints();
    ShowScore();
}

void ScorePanel::ApplyHints() {
    ApplyHintId(gauge_, kHintGauge);
    ApplyHintId(labRight_, kHintRight);
    ApplyHintId(labWrong_, kHintWrong);
    ApplyHintId(labScore_, kHintScore);
}

void ScorePanel::DoGauge(int exercisesPerTask, const TutorGaugeBands* tutorBands) {
    const GaugeBand band = UpdateControlPercentage(score_, exercisesPerTask, tutorBands);
    gauge_->setPosition(score_.controlPercentage);
    gauge_->setBackgroundColour(BandColour(band));
    labRight_->setText(LoadStr(kStrRight) + QStringLiteral(": ") + QString::number(score_.right));
    labWrong_->setText(LoadStr(kStrWrong) + QStringLiteral(": ") + QString::number(score_.wrong));
    labRight_->repaint();
    labWrong_->repaint();
}

void ScorePanel::ShowScore() {
    labScore_->setText(ScoreText(score_.score));
}

void ScorePanel::ShowPoints(int points) {
    pointLabel_->setText(QString::number(points));
}

void ScorePanel::ShowAll(int exercisesPerTask, const TutorGaugeBands* tutorBands) {
    DoGauge(exercisesPerTask, tutorBands);
    ShowScore();
}

PracticeClockLabel::PracticeClockLabel(ScoreState& score, QWidget* parent, Clock now)
    : QLabel(parent), score_(score), now_(std::move(now)) {
    setObjectName(QStringLiteral("LabTime"));
    TimeShow();
}

std::uint32_t PracticeClockLabel::now() const {
    return now_ ? now_() : MonotonicMs();
}

void PracticeClockLabel::TimeShow() {
    const std::int64_t t = PracticeTimeAt(score_, now());
    setText(ClockCaptionText(t));
    ApplyHint(this, ClockLongText(t) + QStringLiteral(" - ") + LoadStr(kHintClock));
}

void PracticeClockLabel::LabTimeDblClick() {
    MessageRequest question;
    question.type = MessageType::Confirmation;
    question.buttons = MessageButtons::YesNo;
    question.text = LoadStr(kStrResetClock);
    if (ShowMessage(this, question) != MessageAnswer::Yes)
        return;
    ResetPracticeClock(score_, now());
    TimeShow();
}

void PracticeClockLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        LabTimeDblClick();
    QLabel::mouseDoubleClickEvent(event);
}

} // namespace harmik
