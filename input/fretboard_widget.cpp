#include "input/fretboard_widget.h"

#include <QMouseEvent>
#include <QPainter>

namespace harmik {

namespace {
const QColor kWood(0x65, 0x40, 0x00);
const QColor kDot(0x90, 0x90, 0x80);
} // namespace

FretboardPicture::FretboardPicture(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Image_guitar"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    fretX_ = fretWirePositions(width());
}

QSize FretboardPicture::sizeHint() const {
    return QSize(728, 124);
}

void FretboardPicture::addMark(int note, int fret, int string) {
    FretPress mark{note, fret, string};
    if (string == 0) {
        mark = fretboardPlaceOf(note);
        if (mark.String == 0)
            return;
    }
    marks_.push_back(mark);
    update();
}

void FretboardPicture::clearMarks() {
    marks_.clear();
    update();
}

void FretboardPicture::resizeEvent(QResizeEvent* event) {
    fretX_ = fretWirePositions(width());
    QWidget::resizeEvent(event);
}

void FretboardPicture::paintEvent(QPaintEvent*) {
    const int w = width();
    const int h = height();
    QPainter p(this);
    p.fillRect(rect(), kWood);
    p.setPen(QPen(Qt::white, 1));
    for (int x : fretX_)
        p.drawLine(x, 0, x, h);
    p.setPen(QPen(QColor(0xF0, 0xF0, 0xE0), 2));
    p.drawLine(kNutX, 0, kNutX, h);
    // Position dots drawn as the inverse of the wood.
    const QColor inverse(255 - kWood.red(), 255 - kWood.green(), 255 - kWood.blue());
    for (const FretDot& dot : fretboardPositionDots(w, h))
        p.fillRect(dot.X, dot.Y - 3, 7, 7, inverse);
    p.setPen(QPen(QColor(0xD8, 0xD8, 0xD8), 1));
    for (int s = 0; s < kGuitarStrings; ++s) {
        const int y = stringLineY(s, h);
        p.drawLine(0, y, w, y);
    }
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kDot);
    for (const FretPress& mark : marks_) {
        int x = 0;
        int y = 0;
        if (fretboardDotCentre(mark.Fret, mark.String, h, fretX_, x, y))
            p.drawEllipse(QPoint(x, y), 7, 7);
    }
}

void FretboardPicture::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->position().toPoint(), event->button(),
                 static_cast<qint64>(event->timestamp()));
}

void FretboardPicture::mouseReleaseEvent(QMouseEvent* event) {
    emit released(event->button(), event->modifiers());
}

} // namespace harmik
