#include "app/transport_panel.h"

#include "userdata/hints.h"
#include "userdata/strings.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QtMath>

namespace harmik {
namespace {

constexpr int kStartCaption = 1200;
constexpr int kStopCaption = 1201;
constexpr int kRepeatCaption = 1202;
constexpr int kShowCaption = 1203;
constexpr int kNextCaption = 1208;
constexpr int kProgressPattern = 1003; // "%d из %d"
constexpr int kStartHint = 3023;
constexpr int kStopHint = 3024;
constexpr int kRepeatHint = 3025;
constexpr int kShowHint = 3026;
constexpr int kPanicHint = 3048;

} // namespace

BusyAnimation::BusyAnimation(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("AniBusy"));
    setFixedSize(28, 28);
    connect(&timer_, &QTimer::timeout, this, [this] {
        phase_ = (phase_ + 1) % 12;
        update();
    });
}

void BusyAnimation::Start(int speed) {
    // The speed value counts in the animation's own units: 70 turns it about once a second.
    timer_.start(std::max(20, 6000 / std::max(1, speed)));
}

void BusyAnimation::Stop() {
    timer_.stop();
    phase_ = 0;
    update();
}

void BusyAnimation::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(width() / 2.0, height() / 2.0);
    for (int i = 0; i < 12; ++i) {
        const int age = (phase_ - i + 12) % 12;
        QColor c = palette().color(QPalette::WindowText);
        c.setAlphaF(timer_.isActive() ? 1.0 - age / 13.0 : 0.35);
        p.setPen(QPen(c, 2.2, Qt::SolidLine, Qt::RoundCap));
        const double a = i * M_PI / 6.0;
        p.drawLine(QPointF(6 * std::cos(a), 6 * std::sin(a)),
                   QPointF(11 * std::cos(a), 11 * std::sin(a)));
    }
}

TransportPanel::TransportPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PanelTransport"));
    setFrameShape(QFrame::StyledPanel);

    nyKnap_ = new QPushButton(this);
    nyKnap_->setObjectName(QStringLiteral("NyKnap"));
    aniBusy_ = new BusyAnimation(this);
    gentagKnap_ = new QPushButton(LoadStr(kRepeatCaption), this);
    gentagKnap_->setObjectName(QStringLiteral("GentagKnap"));
    ApplyHintId(gentagKnap_, kRepeatHint);
    svarKnap_ = new QPushButton(this);
    svarKnap_->setObjectName(QStringLiteral("SvarKnap"));
    shutUp_ = new QToolButton(this);
    shutUp_->setObjectName(QStringLiteral("ShutUp"));
    shutUp_->setText(QStringLiteral("■"));
    ApplyHintId(shutUp_, kPanicHint);
    labOve_ = new QLabel(this);
    labOve_->setObjectName(QStringLiteral("Lab_Ove"));
    gaugeProgress_ = new QProgressBar(this);
    gaugeProgress_->setObjectName(QStringLiteral("GaugeProgress"));
    gaugeProgress_->setTextVisible(false);
    gaugeProgress_->setFixedHeight(8);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->addWidget(aniBusy_, 0, 0);
    grid->addWidget(nyKnap_, 0, 1);
    grid->addWidget(gentagKnap_, 0, 2);
    grid->addWidget(svarKnap_, 0, 3);
    grid->addWidget(shutUp_, 0, 4);
    grid->addWidget(labOve_, 1, 1);
    grid->addWidget(gaugeProgress_, 1, 2, 1, 2);

    connect(nyKnap_, &QPushButton::clicked, this, &TransportPanel::startStopClicked);
    ShowIdle();
}

void TransportPanel::ShowIdle() {
    nyKnap_->setText(LoadStr(kStartCaption));
    ApplyHintId(nyKnap_, kStartHint);
    ApplyHintId(aniBusy_, kStartHint);
    aniBusy_->Stop();
    gentagKnap_->setEnabled(false);
    ShowAnswerButtonOpen();
    svarKnap_->setEnabled(false);
    gaugeProgress_->hide();
    labOve_->clear();
    labOve_->hide();
}

void TransportPanel::ShowRunning(bool answerButtonSaysNext) {
    nyKnap_->setText(LoadStr(kStopCaption));
    ApplyHintId(nyKnap_, kStopHint);
    ApplyHintId(aniBusy_, kStopHint);
    aniBusy_->Start(70);
    gentagKnap_->setEnabled(true);
    svarKnap_->setEnabled(true);
    if (answerButtonSaysNext)
        ShowAnswerButtonNext();
    else
        ShowAnswerButtonOpen();
}

void TransportPanel::ShowAnswerButtonOpen() {
    svarKnap_->setText(LoadStr(kShowCaption));
    ApplyHintId(svarKnap_, kShowHint);
}

void TransportPanel::ShowAnswerButtonNext() {
    svarKnap_->setText(LoadStr(kNextCaption));
    ApplyHint(svarKnap_, QString());
}

void TransportPanel::ShowProgress(int count, int total) {
    labOve_->setText(FormatStr(kProgressPattern, {count, total}));
    labOve_->show();
    gaugeProgress_->setMaximum(std::max(1, total));
    gaugeProgress_->setValue(count);
    gaugeProgress_->show();
}

} // namespace harmik
