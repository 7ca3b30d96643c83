#include "app/sound_panel.h"

#include "userdata/strings.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace harmik {

SoundPanel::SoundPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Pan_Valg"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    setMouseTracking(true);

    labTempo_ = new QLabel(LoadStr(1322), this);
    labTempo_->setObjectName(QStringLiteral("Lab_TempoValg"));
    editTempo_ = new QLineEdit(this);
    editTempo_->setObjectName(QStringLiteral("EditTempo"));
    editTempo_->setMaximumWidth(48);
    const HintParts hint = SplitHint(LoadStr(3059));
    editTempo_->setToolTip(hint.Short);
    editTempo_->setStatusTip(hint.Long);

    column_ = new QVBoxLayout(this);
    column_->setContentsMargins(6, 4, 6, 4);
    tempoRow_ = new QHBoxLayout;
    tempoRow_->addWidget(labTempo_);
    tempoRow_->addWidget(editTempo_);
    tempoRow_->addStretch(1);
    column_->addLayout(tempoRow_);
    hide();

    timer1_.setInterval(kTickMilliseconds);
    connect(&timer1_, &QTimer::timeout, this, &SoundPanel::Timer1Timer);
}

void SoundPanel::addControls(QWidget* controls) {
    column_->insertWidget(0, controls);
}

void SoundPanel::addToTempoRow(QWidget* widget) {
    tempoRow_->insertWidget(2, widget);
}

void SoundPanel::Open(int tempo) {
    if (panelOpen_)
        return;
    panelOpen_ = true;
    editTempo_->setText(QString::number(tempo));
    show();
    raise();
    SoundPanelCountdown = kCountdownStart;
    timer1_.setInterval(kTickMilliseconds);
    timer1_.start();
}

void SoundPanel::Timer1Timer() {
    if (SoundPanelCountdown < 1) {
        panelOpen_ = false;
        hide();
        timer1_.stop();
        emit closed();
        return;
    }
    --SoundPanelCountdown;
}

bool SoundPanel::event(QEvent* e) {
    if (e->type() == QEvent::Enter || e->type() == QEvent::MouseMove)
        KeepOpen();
    return QFrame::event(e);
}

MiniPicture::MiniPicture(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ImageMini"));
    setFixedSize(24, 24);
    setMouseTracking(true);
}

void MiniPicture::paintEvent(QPaintEvent*) {
    // A small loudspeaker.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath speaker;
    speaker.moveTo(4, 9);
    speaker.lineTo(8, 9);
    speaker.lineTo(13, 4);
    speaker.lineTo(13, 20);
    speaker.lineTo(8, 15);
    speaker.lineTo(4, 15);
    speaker.closeSubpath();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(230, 230, 230));
    p.drawPath(speaker);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(11, 7, 6, 10), -60 * 16, 120 * 16);
    p.drawArc(QRectF(11, 4, 10, 16), -60 * 16, 120 * 16);
}

} // namespace harmik
