#include "app/activity_lamps.h"

#include <QPainter>

namespace harmik {
namespace {

void drawLamp(QPainter& p, int top, bool lit, const QColor& litColour) {
    const QRectF r(0.5, top + 0.5, 11, 11);
    QRadialGradient g(r.center() - QPointF(2, 2), 7);
    g.setColorAt(0, lit ? litColour.lighter(160) : QColor(90, 90, 90));
    g.setColorAt(1, lit ? litColour : QColor(40, 40, 40));
    p.setBrush(g);
    p.setPen(QPen(Qt::black, 1));
    p.drawEllipse(r);
}

} // namespace

ActivityLamps::ActivityLamps(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ImageEndeH"));
    setFixedSize(12, 24);
    timerAlways_.setSingleShot(true);
    timerAlways_.setInterval(kLampMilliseconds);
    connect(&timerAlways_, &QTimer::timeout, this, &ActivityLamps::TimerAlwaysTimer);
}

void ActivityLamps::LightInput() {
    if (inputLit_)
        return;
    inputLit_ = true;
    update();
    if (!timerAlways_.isActive())
        timerAlways_.start();
}

void ActivityLamps::LightOutput() {
    if (outputLit_)
        return;
    outputLit_ = true;
    update();
    if (!timerAlways_.isActive())
        timerAlways_.start();
}

void ActivityLamps::TimerAlwaysTimer() {
    inputLit_ = false;
    outputLit_ = false;
    update();
}

void ActivityLamps::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    drawLamp(p, 0, inputLit_, QColor(40, 200, 40));
    drawLamp(p, 13, outputLit_, QColor(230, 60, 30));
}

} // namespace harmik
