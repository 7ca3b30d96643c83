#include "input/rhythm_staff_widget.h"

#include <algorithm>

#include <QMouseEvent>
#include <QPainter>

#include "input/rhythm_notation.h"
#include "input/staff_geometry.h"
#include "input/staff_widget.h"
#include "userdata/strings.h"

namespace harmik {

namespace {

const QColor kInk(0, 0, 0);
const QColor kHeaderLine(0x80, 0x80, 0x80);
const QColor kMarker(0x30, 0x60, 0xC0);
const QColor kCurrentBar(0xC8, 0xD8, 0xF0);
const QColor kLateMark(0x40, 0x40, 0x40);
const QColor kEarlyMark(0xB0, 0xB0, 0xB0);
const QColor kExtraTapMark(0xA0, 0x00, 0x00);
const QColor kMissedMark(0x00, 0x00, 0x00);

constexpr double kHeaderTop = 2;
constexpr double kHeaderHeight = 14;
constexpr double kHeaderLeft = 8;
constexpr double kTimeSignatureX = 20;
constexpr double kScrollMargin = 40;

// Names of the phases of a pass over the rhythm.
constexpr int kCountInText = 8100; // "Отсчёт"
constexpr int kListenText = 8101;  // "Слушайте"
constexpr int kPauseText = 8102;   // "Пауза"
constexpr int kPlayText = 8103;    // "Играйте"

int PhaseTextId(RhythmPhase phase) {
    switch (phase) {
    case RhythmPhase::CountIn:
        return kCountInText;
    case RhythmPhase::Listen:
        return kListenText;
    case RhythmPhase::Pause:
        return kPauseText;
    case RhythmPhase::Play:
        return kPlayText;
    }
    return kPlayText;
}

} // namespace

RhythmStaffWidget::RhythmStaffWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ImageRytme"));
    setMinimumHeight(kStaffHeight / 2);
}

double RhythmStaffWidget::logicalWidth() const {
    const double scale = height() > 0 ? height() / double(kStaffHeight) : 1.0;
    return width() / scale;
}

void RhythmStaffWidget::setRhythm(const Rhythm& rhythm, int metre, bool notesShown) {
    rhythm_ = rhythm;
    metre_ = metre;
    LayOutRhythm(rhythm_, metre_);
    const int length = BarLength(TimeSignatureOf(metre));
    int units = 0;
    for (int i = 0; i < rhythm_.Count; ++i)
        units += rhythm_.Events[static_cast<std::size_t>(i)].Duration;
    bars_ = std::max(1, length > 0 ? (units + length - 1) / length : 1);
    notesShown_ = notesShown;
    marks_.clear();
    scrollX_ = 0;
    update();
}

void RhythmStaffWidget::setEmpty(int metre, int bars) {
    rhythm_ = Rhythm{};
    metre_ = metre;
    bars_ = std::max(1, bars);
    notesShown_ = false;
    marks_.clear();
    passBar_ = 0;
    scrollX_ = 0;
    update();
}

void RhythmStaffWidget::setNotesShown(bool shown) {
    notesShown_ = shown;
    update();
}

// The marker stays where it is while the pass keeps its bars (a redraw of the same rhythm).
void RhythmStaffWidget::setPhases(std::vector<RhythmPhase> phases) {
    if (phases != phases_)
        passBar_ = 0;
    phases_ = std::move(phases);
    update();
}

// The marker moves to the bar; a bar of the rhythm (heard or played) is scrolled into view.
void RhythmStaffWidget::setPassBar(int bar) {
    passBar_ = bar;
    if (bar >= 1 && bar <= static_cast<int>(phases_.size())) {
        const auto index = static_cast<std::size_t>(bar - 1);
        const RhythmPhase phase = phases_[index];
        if (phase == RhythmPhase::Listen || phase == RhythmPhase::Play) {
            std::size_t first = index;
            while (first > 0 && phases_[first - 1] == phase)
                --first;
            scrollToBar(static_cast<int>(index - first));
        } else if (phase == RhythmPhase::CountIn) {
            scrollToBar(0);
        }
    }
    update();
}

void RhythmStaffWidget::scrollBy(double pixels) {
    const double overhang = RhythmWidth(bars_, metre_) - logicalWidth();
    if (overhang <= 0)
        return;
    scrollX_ = std::clamp(scrollX_ + pixels, 0.0, overhang);
    update();
}

void RhythmStaffWidget::scrollToBar(int rhythmBar) {
    const double overhang = RhythmWidth(bars_, metre_) - logicalWidth();
    if (overhang <= 0) {
        scrollX_ = 0;
        return;
    }
    // The first bar shows the time signature with it.
    const double x = rhythmBar == 0 ? 0.0 : RhythmBarLineX(rhythmBar, metre_) - kScrollMargin;
    scrollX_ = std::clamp(x, 0.0, overhang);
}

void RhythmStaffWidget::setMarks(std::vector<RhythmMark> marks) {
    marks_ = std::move(marks);
    update();
}

void RhythmStaffWidget::setHighColour(bool on) {
    highColour_ = on;
    update();
}

void RhythmStaffWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    paintPicture(p);
}

void RhythmStaffWidget::mousePressEvent(QMouseEvent* event) {
    emit tapped(static_cast<qint64>(event->timestamp()));
    event->accept();
}

void RhythmStaffWidget::paintPicture(QPainter& p) const {
    const double w = logicalWidth();
    beginStaffPicture(p, height(), w, highColour_);
    paintHeader(p, w);
    p.save();
    p.setClipRect(QRectF(0, kHeaderTop + kHeaderHeight + 1, w, kStaffHeight));
    p.translate(-scrollX_, 0);
    paintMusic(p);
    paintMarks(p);
    p.restore();
}

// One cell per bar of the pass, the phase's name over its cells, the bar now playing shaded
// with a marker under it.
void RhythmStaffWidget::paintHeader(QPainter& p, double width) const {
    if (phases_.empty())
        return;
    const double cell = (width - 2 * kHeaderLeft) / static_cast<double>(phases_.size());
    if (passBar_ >= 1 && passBar_ <= static_cast<int>(phases_.size())) {
        const double x = kHeaderLeft + (passBar_ - 1) * cell;
        p.fillRect(QRectF(x, kHeaderTop, cell, kHeaderHeight), kCurrentBar);
        p.setPen(Qt::NoPen);
        p.setBrush(kMarker);
        const double mid = x + cell / 2;
        const double y = kHeaderTop + kHeaderHeight + 1;
        const QPointF tip[] = {{mid - 4, y}, {mid + 4, y}, {mid, y + 5}};
        p.drawPolygon(tip, 3);
    }
    p.setPen(QPen(kHeaderLine, 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(kHeaderLeft, kHeaderTop, cell * phases_.size(), kHeaderHeight));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(9);
    p.setFont(font);
    for (std::size_t i = 0; i < phases_.size();) {
        std::size_t end = i;
        while (end < phases_.size() && phases_[end] == phases_[i])
            ++end;
        const double x = kHeaderLeft + i * cell;
        p.setPen(QPen(kHeaderLine, 0.8));
        for (std::size_t b = i + 1; b < end; ++b)
            p.drawLine(QPointF(kHeaderLeft + b * cell, kHeaderTop + 9),
                       QPointF(kHeaderLeft + b * cell, kHeaderTop + kHeaderHeight));
        if (i > 0)
            p.drawLine(QPointF(x, kHeaderTop), QPointF(x, kHeaderTop + kHeaderHeight));
        p.setPen(kInk);
        p.drawText(QRectF(x, kHeaderTop, (end - i) * cell, kHeaderHeight), Qt::AlignCenter,
                   LoadStr(PhaseTextId(phases_[i])));
        i = end;
    }
}

void RhythmStaffWidget::paintMusic(QPainter& p) const {
    const double y = kRhythmLineY;
    const QColor line = highColour_ ? QColor(0x50, 0x50, 0x50) : kInk;
    const double end = RhythmBarLineX(bars_, metre_);
    p.setPen(QPen(line, 1.0));
    p.drawLine(QPointF(8, y + 0.5), QPointF(end, y + 0.5));
    PaintTimeSignature(p, metre_, kTimeSignatureX, y, kInk);
    for (int b = 1; b < bars_; ++b) {
        const double x = RhythmBarLineX(b, metre_);
        p.drawLine(QPointF(x, y - 12), QPointF(x, y + 12));
    }
    // The closing double bar: a thin line and a thick one.
    p.drawLine(QPointF(end - 4, y - 12), QPointF(end - 4, y + 12));
    p.fillRect(QRectF(end - 1.5, y - 12, 3, 24), line);
    if (notesShown_)
        PaintRhythmNotes(p, rhythm_, y, kInk);
}

void RhythmStaffWidget::paintMarks(QPainter& p) const {
    p.setPen(Qt::NoPen);
    for (const RhythmMark& m : marks_) {
        QColor colour = kMissedMark;
        if (m.Type == RhythmMark::Kind::Deviation)
            colour = m.Early ? kEarlyMark : kLateMark;
        else if (m.Type == RhythmMark::Kind::ExtraTap)
            colour = kExtraTapMark;
        p.fillRect(QRectF(m.X, kRhythmMarkTop, m.Width, m.Height), colour);
    }
}

} // namespace harmik
