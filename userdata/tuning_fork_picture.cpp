#include "userdata/tuning_fork_picture.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace harmik {
namespace {

constexpr int kFrameMs = 30;
constexpr double kLargestSwing = 2.5; // pixels of the picture
constexpr double kSwingPeriodMs = 90.0;

} // namespace

TuningForkPicture::TuningForkPicture(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ImageStemGafl"));
    setMinimumSize(19, 45);
    frames_.setInterval(kFrameMs);
    connect(&frames_, &QTimer::timeout, this, [this] {
        if (sounding_.elapsed() >= length_)
            frames_.stop();
        update();
    });
}

void TuningForkPicture::Sound(int ms) {
    length_ = std::max(0, ms);
    sounding_.start();
    if (length_ > 0)
        frames_.start();
    else
        frames_.stop();
    update();
}

double TuningForkPicture::swing() const {
    if (!frames_.isActive() || length_ <= 0)
        return 0.0;
    const double t = static_cast<double>(sounding_.elapsed());
    const double left = std::max(0.0, 1.0 - t / length_);
    return kLargestSwing * left * std::sin(2.0 * std::numbers::pi * t / kSwingPeriodMs);
}

void TuningForkPicture::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

// The fork in the 38 x 90 picture: a ball at the foot, the stem, the bow and two tines that
// stand `swing` pixels further apart (or closer) than at rest.
void TuningForkPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double scale = std::min(width() / 38.0, height() / 90.0);
    p.translate((width() - 38.0 * scale) / 2.0, (height() - 90.0 * scale) / 2.0);
    p.scale(scale, scale);

    const QColor steel(0x9A, 0xA4, 0xAE);
    const QColor edge(0x4A, 0x52, 0x5A);
    const double s = swing();
    QPainterPath fork;
    fork.moveTo(11.0 - s, 4.0);
    fork.lineTo(11.0 - s * 0.4, 40.0);
    fork.cubicTo(11.0, 52.0, 27.0, 52.0, 27.0 + s * 0.4, 40.0);
    fork.lineTo(27.0 + s, 4.0);
    QPen tine(edge, 5.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(tine);
    p.drawPath(fork);
    tine.setColor(steel);
    tine.setWidthF(3.0);
    p.setPen(tine);
    p.drawPath(fork);

    p.setPen(QPen(edge, 1.0));
    p.setBrush(steel);
    p.drawRoundedRect(QRectF(17.5, 48.0, 3.0, 30.0), 1.0, 1.0);
    p.drawEllipse(QPointF(19.0, 82.0), 4.5, 4.5);

    // Sound lines beside the tines while the fork sounds.
    if (isSounding()) {
        p.setPen(QPen(QColor(0x30, 0x60, 0xC0), 1.2));
        p.setBrush(Qt::NoBrush);
        const double r = 6.0 + std::abs(s);
        p.drawArc(QRectF(2.0 - r, 14.0, 2.0 * r, 16.0), 120 * 16, 120 * 16);
        p.drawArc(QRectF(36.0 - r, 14.0, 2.0 * r, 16.0), -60 * 16, 120 * 16);
    }
}

} // namespace harmik
