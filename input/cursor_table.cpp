#include "input/cursor_table.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace harmik {
namespace {

constexpr int kSize = 32;

QPixmap blank() {
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    return pm;
}

void outlined(QPainter& p, const QPainterPath& path, const QColor& fill) {
    p.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(path);
}

// A pointing hand with the finger tip at the top left; scale 1 is the full size.
QCursor hand(double scale) {
    QPixmap pm = blank();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    QPainterPath path;
    path.moveTo(8, 2);
    path.cubicTo(10, 1, 12, 2, 12, 4);
    path.lineTo(12, 13);
    path.lineTo(22, 14);
    path.cubicTo(26, 15, 27, 18, 26, 22);
    path.lineTo(24, 29);
    path.lineTo(11, 29);
    path.lineTo(4, 19);
    path.cubicTo(3, 17, 5, 15, 7, 17);
    path.lineTo(8, 19);
    path.closeSubpath();
    outlined(p, path, QColor(255, 240, 210));
    p.end();
    return QCursor(pm, static_cast<int>(9 * scale), static_cast<int>(2 * scale));
}

QCursor tuningFork() {
    QPixmap pm = blank();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.moveTo(10, 2);
    path.lineTo(10, 16);
    path.cubicTo(10, 20, 22, 20, 22, 16);
    path.lineTo(22, 2);
    path.moveTo(16, 19);
    path.lineTo(16, 30);
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(path);
    p.setPen(QPen(QColor(90, 90, 100), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(path);
    p.end();
    return QCursor(pm, 16, 30);
}

QCursor drum(const QColor& shell) {
    QPixmap pm = blank();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath body;
    body.addRect(5, 14, 22, 12);
    outlined(p, body, shell);
    QPainterPath head;
    head.addEllipse(5, 10, 22, 8);
    outlined(p, head, QColor(245, 245, 235));
    p.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(4, 2, 13, 13);
    p.end();
    return QCursor(pm, 4, 2);
}

QCursor pen(bool crossed) {
    QPixmap pm = blank();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.moveTo(2, 30);
    path.lineTo(5, 22);
    path.lineTo(24, 3);
    path.lineTo(29, 8);
    path.lineTo(10, 27);
    path.closeSubpath();
    outlined(p, path, QColor(250, 220, 90));
    if (crossed) {
        p.setPen(QPen(QColor(200, 0, 0), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawEllipse(6, 6, 20, 20);
        p.drawLine(9, 23, 23, 9);
    }
    p.end();
    return QCursor(pm, 2, 30);
}

QCursor dragArrows() {
    QPixmap pm = blank();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.moveTo(16, 2);
    path.lineTo(21, 8);
    path.lineTo(18, 8);
    path.lineTo(18, 24);
    path.lineTo(21, 24);
    path.lineTo(16, 30);
    path.lineTo(11, 24);
    path.lineTo(14, 24);
    path.lineTo(14, 8);
    path.lineTo(11, 8);
    path.closeSubpath();
    outlined(p, path, Qt::white);
    p.end();
    return QCursor(pm, 16, 16);
}

// A note head with a stem, with one flag for the eighth note.
QCursor note(bool flag) {
    QPixmap pm = blank();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addEllipse(QRectF(6, 22, 10, 7));
    path.addRect(14.5, 4, 1.8, 21);
    if (flag) {
        path.moveTo(16, 4);
        path.cubicTo(20, 9, 26, 11, 22, 20);
        path.cubicTo(23, 13, 19, 11, 16, 10);
        path.closeSubpath();
    }
    outlined(p, path, Qt::black);
    p.end();
    return QCursor(pm, 11, 25);
}

QCursor quarterRest() {
    QPixmap pm = blank();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.moveTo(12, 3);
    path.lineTo(19, 11);
    path.lineTo(14, 17);
    path.lineTo(19, 24);
    path.cubicTo(13, 22, 11, 26, 15, 30);
    path.cubicTo(8, 27, 9, 20, 15, 21);
    path.lineTo(10, 15);
    path.lineTo(15, 10);
    path.closeSubpath();
    outlined(p, path, Qt::black);
    p.end();
    return QCursor(pm, 14, 16);
}

} // namespace

void CursorTable::Load() {
    cursors_.insert(CursorQuarterNote, note(false));
    cursors_.insert(CursorEighthNote, note(true));
    cursors_.insert(CursorQuarterRest, quarterRest());
    cursors_.insert(CursorHand, hand(1.0));
    cursors_.insert(CursorSmallHand, hand(0.7));
    cursors_.insert(CursorTuningFork, tuningFork());
    cursors_.insert(CursorTom, drum(QColor(60, 90, 160)));
    cursors_.insert(CursorPen, pen(false));
    cursors_.insert(CursorNoPen, pen(true));
    cursors_.insert(CursorDrum, drum(QColor(170, 40, 40)));
    cursors_.insert(CursorDrag, dragArrows());
}

QCursor CursorTable::cursor(int slot) const {
    return cursors_.value(slot, QCursor(Qt::ArrowCursor));
}

} // namespace harmik
