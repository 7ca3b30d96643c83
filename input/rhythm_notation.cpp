#include "input/rhythm_notation.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include "input/rhythm_layout.h"
#include "input/staff_widget.h"

namespace harmik {

namespace {

constexpr double kStemLength = 28;
constexpr double kStemOffset = 3.9; // from the head's centre to the stem
constexpr double kBeamThickness = 3.2;
constexpr double kBeamSpacing = 5.2;
constexpr double kStubLength = 6;

bool IsTripletDuration(int duration) {
    return duration == 32 || duration == 16 || duration == 8 || duration == 4;
}

const RhythmEvent& At(const Rhythm& r, int i) {
    return r.Events[static_cast<std::size_t>(i)];
}

double StemX(const RhythmEvent& e) {
    return e.StaffX + kStemOffset;
}

// Beam levels (flags) a written value needs: eighth 1, sixteenth 2, thirty-second 3.
int LevelsOf(int value) {
    return value >= 3 ? value - 2 : 0;
}

// A filled head for quarters and shorter; an open one (a ring with a slanted opening) for
// halves and wholes.
void PaintHead(QPainter& p, double x, double y, int value, const QColor& ink) {
    if (value >= 2) {
        drawStaffHead(p, x, y);
        return;
    }
    const bool whole = value == 0;
    QPainterPath ring;
    ring.setFillRule(Qt::OddEvenFill);
    QTransform outer;
    outer.translate(x, y);
    outer.rotate(whole ? 0 : -20);
    QPainterPath o;
    o.addEllipse(QPointF(0, 0), whole ? 5.2 : 4.4, whole ? 3.3 : 3.0);
    ring.addPath(outer.map(o));
    QTransform inner;
    inner.translate(x, y);
    inner.rotate(whole ? 55 : -35);
    QPainterPath i;
    i.addEllipse(QPointF(0, 0), whole ? 2.6 : 3.3, whole ? 1.5 : 1.3);
    ring.addPath(inner.map(i));
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPath(ring);
}

void PaintDots(QPainter& p, double x, double y, int dots, const QColor& ink) {
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    for (int d = 0; d < dots; ++d)
        p.drawEllipse(QPointF(x + d * 3.6, y - 3), 1.25, 1.25);
}

void PaintFlags(QPainter& p, double stemX, double top, int levels, const QColor& ink) {
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    for (int k = 0; k < levels; ++k) {
        const double y = top + k * kBeamSpacing;
        QPainterPath flag(QPointF(stemX, y));
        flag.cubicTo(QPointF(stemX + 1, y + 5), QPointF(stemX + 8, y + 7),
                     QPointF(stemX + 5.5, y + 14));
        flag.cubicTo(QPointF(stemX + 6.5, y + 8), QPointF(stemX + 2, y + 6.5),
                     QPointF(stemX, y + 4.5));
        flag.closeSubpath();
        p.drawPath(flag);
    }
}

void PaintRest(QPainter& p, double x, double y, int value, const QColor& ink) {
    p.setBrush(ink);
    switch (value) {
    case 0: // hangs from the line
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(x - 4, y, 8, 3.4));
        return;
    case 1: // sits on the line
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(x - 4, y - 3.4, 8, 3.4));
        return;
    case 2: {
        p.setPen(QPen(ink, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath path(QPointF(x - 1.5, y - 10));
        path.lineTo(QPointF(x + 2.5, y - 5.5));
        path.quadTo(QPointF(x - 1.5, y - 3), QPointF(x - 0.5, y - 0.5));
        path.lineTo(QPointF(x + 2.5, y + 3.5));
        path.quadTo(QPointF(x - 3, y + 1.5), QPointF(x + 0.5, y + 8));
        path.quadTo(QPointF(x - 4.5, y + 3), QPointF(x - 0.5, y + 3.5));
        path.lineTo(QPointF(x - 2.5, y - 0.5));
        path.quadTo(QPointF(x + 1.5, y - 3.5), QPointF(x - 1.5, y - 10));
        p.drawPath(path);
        return;
    }
    default: { // eighth and shorter: a slanted stroke with one hook per level
        const int hooks = LevelsOf(value);
        const double top = y - 6;
        p.setPen(QPen(ink, 1.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x + 2.5 + 0.2 * hooks, top),
                   QPointF(x - 1.5, top + 9 + 5 * (hooks - 1)));
        for (int k = 0; k < hooks; ++k) {
            const double hx = x + 2.5 - k * 1.3;
            const double hy = top + k * 5;
            p.setPen(Qt::NoPen);
            p.drawEllipse(QPointF(hx - 4.2, hy + 0.6), 1.6, 1.6);
            p.setPen(QPen(ink, 1.0));
            p.drawLine(QPointF(hx - 4.2, hy + 1.8), QPointF(hx, hy));
        }
        return;
    }
    }
}

void PaintTie(QPainter& p, double fromX, double toX, double y, const QColor& ink) {
    const double mid = (fromX + toX) / 2;
    QPainterPath tie(QPointF(fromX, y));
    tie.quadTo(QPointF(mid, y + 7), QPointF(toX, y));
    tie.quadTo(QPointF(mid, y + 5), QPointF(fromX, y));
    p.setPen(QPen(ink, 0.6));
    p.setBrush(ink);
    p.drawPath(tie);
}

void PaintBeamSegment(QPainter& p, double x1, double x2, double y, const QColor& ink) {
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawRect(QRectF(x1 - 0.55, y, x2 - x1 + 1.1, kBeamThickness));
}

bool JoinsNext(std::uint8_t mark) {
    return mark == BeamBoth || mark == BeamNext;
}
bool JoinsPrevious(std::uint8_t mark) {
    return mark == BeamBoth || mark == BeamPrevious;
}

// Whether note i's beam at `level` runs on to the next note (both sides agree on it).
bool JoinedToNext(const Rhythm& r, int i, int level) {
    if (i < 0 || i + 1 >= r.Count || At(r, i).Rest != 0 || At(r, i + 1).Rest != 0)
        return false;
    const auto l = static_cast<std::size_t>(level);
    return JoinsNext(At(r, i).Beam[l]) && JoinsPrevious(At(r, i + 1).Beam[l]);
}

// The beams and flags of note i: a beam to the next note where both join it; a stub where
// only this note has the level (a broken beam); flags where its eighth level stands alone.
void PaintBeamsOf(QPainter& p, const Rhythm& r, int i, double top, const QColor& ink) {
    const RhythmEvent& e = At(r, i);
    const int levels = LevelsOf(WrittenValueOf(e.Duration).Value);
    if (levels == 0)
        return;
    const bool beamed = JoinedToNext(r, i, BeamEighth) || JoinedToNext(r, i - 1, BeamEighth);
    if (!beamed) {
        PaintFlags(p, StemX(e), top, levels, ink);
        return;
    }
    for (int level = 0; level < levels; ++level) {
        const double y = top + level * kBeamSpacing;
        if (JoinedToNext(r, i, level)) {
            PaintBeamSegment(p, StemX(e), StemX(At(r, i + 1)), y, ink);
        } else if (!JoinedToNext(r, i - 1, level)) {
            // A level of its own under a beamed eighth: a stub towards the beamed side.
            const bool left = !JoinedToNext(r, i, BeamEighth);
            const double x = StemX(e);
            PaintBeamSegment(p, left ? x - kStubLength : x, left ? x : x + kStubLength, y, ink);
        }
    }
}

void PaintNote(QPainter& p, const Rhythm& r, int i, double y, const QColor& ink) {
    const RhythmEvent& e = At(r, i);
    const WrittenValue w = WrittenValueOf(e.Duration);
    const double x = e.StaffX;
    if (e.Rest) {
        PaintRest(p, x, y, w.Value, ink);
        PaintDots(p, x + 6, y, w.Dots, ink);
        return;
    }
    PaintHead(p, x, y, w.Value, ink);
    PaintDots(p, x + 7, y, w.Dots, ink);
    const double top = y - kStemLength;
    if (w.Value >= 1) {
        p.setPen(QPen(ink, 1.1));
        p.drawLine(QPointF(StemX(e), y - 1), QPointF(StemX(e), top));
    }
    PaintBeamsOf(p, r, i, top, ink);
    if (w.TiedQuarter) {
        const double qx = x + 96 * kRhythmUnitWidth;
        PaintHead(p, qx, y, 2, ink);
        p.setPen(QPen(ink, 1.1));
        p.drawLine(QPointF(qx + kStemOffset, y - 1), QPointF(qx + kStemOffset, top));
        PaintTie(p, x + 5, qx - 4, y + 4, ink);
    }
}

// The bracket with its "3" over three notes of a triplet.
void PaintTripletBracket(QPainter& p, double x1, double x2, double y, const QColor& ink) {
    const double mid = (x1 + x2) / 2;
    p.setPen(QPen(ink, 0.9));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(x1, y + 3), QPointF(x1, y));
    p.drawLine(QPointF(x1, y), QPointF(mid - 4, y));
    p.drawLine(QPointF(mid + 4, y), QPointF(x2, y));
    p.drawLine(QPointF(x2, y), QPointF(x2, y + 3));
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(9);
    font.setItalic(true);
    font.setBold(true);
    p.setFont(font);
    p.setPen(ink);
    p.drawText(QRectF(mid - 5, y - 6, 10, 11), Qt::AlignCenter, QStringLiteral("3"));
}

void PaintTriplets(QPainter& p, const Rhythm& r, double lineY, const QColor& ink) {
    for (int i = 0; i < r.Count;) {
        const int d = At(r, i).Duration;
        if (!IsTripletDuration(d)) {
            ++i;
            continue;
        }
        int last = i;
        int sum = 0;
        while (last < r.Count && At(r, last).Duration == d && sum < 3 * d) {
            sum += d;
            ++last;
        }
        const double y = lineY - kStemLength - 10;
        PaintTripletBracket(p, At(r, i).StaffX - 4, StemX(At(r, last - 1)) + 2, y, ink);
        i = last;
    }
}

void PaintTies(QPainter& p, const Rhythm& r, double lineY, const QColor& ink) {
    for (int i = 1; i < r.Count; ++i) {
        const RhythmEvent& e = At(r, i);
        if (e.Tie && !e.Rest && At(r, i - 1).Rest == 0)
            PaintTie(p, At(r, i - 1).StaffX + 4, e.StaffX - 4, lineY + 4, ink);
    }
}

} // namespace

void PaintRhythmNotes(QPainter& p, const Rhythm& rhythm, double lineY, const QColor& ink) {
    for (int i = 0; i < rhythm.Count; ++i)
        PaintNote(p, rhythm, i, lineY, ink);
    PaintTies(p, rhythm, lineY, ink);
    PaintTriplets(p, rhythm, lineY, ink);
}

void PaintTimeSignature(QPainter& p, int metre, double x, double lineY, const QColor& ink) {
    const TimeSignature& ts = TimeSignatureOf(metre);
    p.setPen(ink);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setBold(true);
    font.setPixelSize(15);
    p.setFont(font);
    if (metre == 4) { // alla breve: the C with its stroke
        p.drawText(QRectF(x, lineY - 10, 16, 20), Qt::AlignCenter, QStringLiteral("C"));
        p.setPen(QPen(ink, 1.4));
        p.drawLine(QPointF(x + 8, lineY - 13), QPointF(x + 8, lineY + 13));
        return;
    }
    p.drawText(QRectF(x, lineY - 17, 16, 16), Qt::AlignCenter, QString::number(ts.Beats));
    p.drawText(QRectF(x, lineY + 1, 16, 16), Qt::AlignCenter, QString::number(ts.Note));
}

} // namespace harmik
