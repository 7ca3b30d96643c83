#include "input/piano_widget.h"

#include "input/piano_geometry.h"
#include "theory/note_names.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace harmik {

namespace {

const QColor kLightGrey(0xC0, 0xC0, 0xC0);
const QColor kGrey(0x80, 0x80, 0x80);
const QColor kDarkGrey(0x41, 0x41, 0x41);
const QColor kHeldTint(0xA8, 0xC8, 0xF0);

// Logical key geometry, matching the hit-testing of pianoNoteAt on a 728 × 124 picture.
double keysTop() {
    return kPianoLogicalHeight - kPianoLogicalHeight * 113.0 / 132.0;
}
double blackKeyHeight() {
    return 0.58 * (kPianoLogicalHeight - keysTop());
}
double semitoneWidth() {
    return static_cast<double>(kPianoLogicalWidth) / kPianoSemitones;
}

} // namespace

PianoPicture::PianoPicture(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Image_Klaver"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize PianoPicture::sizeHint() const {
    return QSize(kPianoLogicalWidth, kPianoLogicalHeight);
}

void PianoPicture::setRange(int lowestNote, int highestNote) {
    lowest_ = lowestNote;
    highest_ = highestNote;
    update();
}

void PianoPicture::addMark(int note) {
    marks_.push_back(note);
    update();
}

void PianoPicture::clearMarks() {
    marks_.clear();
    update();
}

void PianoPicture::setOctaveBar(int note) {
    octaveNote_ = note;
    update();
}

void PianoPicture::setHeld(const NoteHeldFlags& held) {
    held_ = held;
    update();
}

void PianoPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), palette().window());
    p.scale(static_cast<double>(width()) / kPianoLogicalWidth,
            static_cast<double>(height()) / kPianoLogicalHeight);

    const double top = keysTop();
    const double bottom = kPianoLogicalHeight;
    // White keys with their light and dark edges.
    for (int k = 0; k < kPianoWhiteKeys; ++k) {
        const int note = kPianoLowNote + WhiteKeyNote[static_cast<std::size_t>(k)];
        const QRectF key(k * kPianoWhiteKeyWidth, top, kPianoWhiteKeyWidth, bottom - top);
        p.fillRect(key, held_[static_cast<std::size_t>(note)] ? kHeldTint : QColor(Qt::white));
        p.setPen(QPen(kLightGrey, 1));
        p.drawLine(key.topLeft() + QPointF(1, 0), key.bottomLeft() + QPointF(1, -1));
        p.setPen(QPen(kGrey, 1));
        p.drawLine(key.bottomLeft() + QPointF(1, -1), key.bottomRight() + QPointF(-1, -1));
        p.setPen(QPen(kDarkGrey, 1));
        p.drawLine(key.topRight(), key.bottomRight());
    }
    // Black keys on the chromatic grid.
    for (int s = 0; s < kPianoSemitones; ++s) {
        if (WhiteKey[static_cast<std::size_t>(s % 12)])
            continue;
        const int note = kPianoLowNote + s;
        const QRectF key(s * semitoneWidth(), top, semitoneWidth(), blackKeyHeight());
        p.fillRect(key, kDarkGrey);
        p.fillRect(key.adjusted(1.5, 0, -1.5, -3),
                   held_[static_cast<std::size_t>(note)] ? kGrey : QColor(Qt::black));
    }
    // Middle C.
    p.fillRect(QRectF(369, 7, 5, 5), kGrey);
    // Keys outside the range carry a red bar above them.
    const QRect low = pianoLowRangeBar(lowest_);
    if (!low.isEmpty())
        p.fillRect(low, Qt::red);
    const QRect high = pianoHighRangeBar(highest_);
    if (!high.isEmpty())
        p.fillRect(high, Qt::red);
    if (octaveNote_ >= kPianoLowNote)
        p.fillRect(pianoOctaveBar(octaveNote_), Qt::blue);

    // Marks: a dark dot at the foot of a white key, a light dot at the end of a black key;
    // a negative note also gets a triangle on the top strip.
    // The dots are drawn round whatever the picture's proportions.
    const QTransform toWidget = p.transform();
    const double radius = 7.5 * std::min(toWidget.m11(), toWidget.m22());
    p.setPen(Qt::NoPen);
    for (int note : marks_) {
        const QRect r = pianoMarkRect(note, kPianoLogicalWidth);
        const QPointF centre = toWidget.map(QPointF(r.center().x(), r.bottom() - 10.5));
        p.setBrush(pianoIsWhiteKey(note) ? QColor(0x20, 0x20, 0x90) : QColor(0xF0, 0xF0, 0x60));
        p.save();
        p.resetTransform();
        p.drawEllipse(centre, radius, radius);
        p.restore();
        const QRect extra = pianoExtraMarkRect(note, kPianoLogicalWidth);
        if (!extra.isEmpty()) {
            p.setBrush(QColor(0x20, 0x90, 0x20));
            const QPolygonF arrow({QPointF(extra.left(), extra.top()),
                                   QPointF(extra.right(), extra.top()),
                                   QPointF(extra.center().x(), extra.bottom())});
            p.drawPolygon(arrow);
        }
    }
}

void PianoPicture::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->position(), event->button(), static_cast<qint64>(event->timestamp()));
}

void PianoPicture::mouseReleaseEvent(QMouseEvent* event) {
    emit released(event->button(), event->modifiers());
}

} // namespace harmik
