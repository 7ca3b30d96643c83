#include "input/staff_widget.h"

#include <algorithm>
#include <cmath>

#include <QPainter>
#include <QPainterPath>

#include "theory/note_names.h"
#include "theory/theory_tables.h"

namespace harmik {

namespace {

const QColor kInk(0, 0, 0);
const QColor kGreyLine(0x80, 0x80, 0x80);
const QColor kPaper(0xf4, 0xee, 0xdc);

constexpr int kScales = 2;
constexpr int kInversions = 4;
constexpr int kProgressions = 5;
constexpr int kMelodies = 6;
constexpr int kRhythm = 7;

bool shiftsSeconds(int module) {
    return module == 1 || module == 3 || module == kInversions || module == kProgressions;
}

// A smooth stroke through a list of points (quadratic curves between the midpoints).
QPainterPath smoothPath(const std::vector<QPointF>& p) {
    QPainterPath path(p.front());
    for (std::size_t i = 1; i + 1 < p.size(); ++i)
        path.quadTo(p[i], (p[i] + p[i + 1]) / 2);
    path.lineTo(p.back());
    return path;
}

// The treble clef around the G line at (cx, gy).
void drawTrebleClef(QPainter& p, double cx, double gy) {
    std::vector<QPointF> pts;
    const double rel[][2] = {{1, 1},   {3, -2}, {0, -4}, {-4, -2},  {-5, 3},   {-1, 7},  {5, 7},
                             {8, 2},   {6, -4}, {0, -9}, {-3, -15}, {-2, -22}, {1, -27}, {3, -24},
                             {1, -17}, {1, 0},  {2, 14}, {1, 18},   {-2, 18},  {-3, 15}};
    for (const auto& r : rel)
        pts.emplace_back(cx + r[0], gy + r[1]);
    p.setPen(QPen(kInk, 1.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(smoothPath(pts));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(cx - 1.5, gy + 15), 2.2, 2.2);
}

// The bass clef on the F line at (cx, fy).
void drawBassClef(QPainter& p, double cx, double fy) {
    std::vector<QPointF> pts;
    const double rel[][2] = {{-4, 0}, {-3, -4}, {2, -6}, {7, -2}, {6, 5}, {0, 11}, {-6, 15}};
    for (const auto& r : rel)
        pts.emplace_back(cx + r[0], fy + r[1]);
    p.setPen(QPen(kInk, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(smoothPath(pts));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(cx - 3.5, fy), 2.4, 2.4);
    p.drawEllipse(QPointF(cx + 10, fy - 3), 1.2, 1.2);
    p.drawEllipse(QPointF(cx + 10, fy + 3), 1.2, 1.2);
}

void drawFlat(QPainter& p, double left, double y) {
    p.setPen(QPen(kInk, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(left + 1, y - 10), QPointF(left + 1, y + 3));
    QPainterPath bowl(QPointF(left + 1, y - 1));
    bowl.cubicTo(QPointF(left + 4, y - 4), QPointF(left + 8, y - 1), QPointF(left + 1, y + 3));
    p.setPen(QPen(kInk, 1.4));
    p.drawPath(bowl);
}

// An accidental glyph whose left edge is at left, centred on the row y.
void drawAccidental(QPainter& p, double left, double y, int code) {
    switch (code) {
    case 0:
        drawFlat(p, left, y);
        drawFlat(p, left + 5, y);
        break;
    case 1:
        drawFlat(p, left, y);
        break;
    case 3:
        p.setPen(QPen(kInk, 0.9));
        p.drawLine(QPointF(left + 1.5, y - 6), QPointF(left + 1.5, y + 7));
        p.drawLine(QPointF(left + 4.5, y - 7), QPointF(left + 4.5, y + 6));
        p.setPen(QPen(kInk, 1.6));
        p.drawLine(QPointF(left, y - 1.5), QPointF(left + 6, y - 3));
        p.drawLine(QPointF(left, y + 3), QPointF(left + 6, y + 1.5));
        break;
    case 4: {
        p.setPen(QPen(kInk, 1.5, Qt::SolidLine, Qt::SquareCap));
        const double cx = left + 4.5;
        p.drawLine(QPointF(cx - 2.5, y - 2.5), QPointF(cx + 2.5, y + 2.5));
        p.drawLine(QPointF(cx - 2.5, y + 2.5), QPointF(cx + 2.5, y - 2.5));
        break;
    }
    case kNaturalSign:
        p.setPen(QPen(kInk, 0.9));
        p.drawLine(QPointF(left + 0.5, y - 7), QPointF(left + 0.5, y + 3));
        p.drawLine(QPointF(left + 4.5, y - 3), QPointF(left + 4.5, y + 7));
        p.setPen(QPen(kInk, 1.6));
        p.drawLine(QPointF(left + 0.5, y - 1), QPointF(left + 4.5, y - 2.5));
        p.drawLine(QPointF(left + 0.5, y + 2.5), QPointF(left + 4.5, y + 1));
        break;
    default:
        break;
    }
}

void drawHead(QPainter& p, double x, double y) {
    p.save();
    p.translate(x, y);
    p.rotate(-20);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(0, 0), 4.3, 2.9);
    p.restore();
}

// The paper: a warm tone with faint fibres, the same on every repaint.
void drawPaper(QPainter& p, const QRectF& area) {
    p.fillRect(area, kPaper);
    p.setPen(QPen(QColor(0xe6, 0xdd, 0xc4), 0.6));
    std::uint32_t seed = 2463534242u;
    auto next = [&seed] {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        return seed;
    };
    const int fibres = static_cast<int>(area.width() / 6);
    for (int i = 0; i < fibres; ++i) {
        const double x = area.left() + (next() % 1000) / 1000.0 * area.width();
        const double y = (next() % 1000) / 1000.0 * area.height();
        const double len = 3 + next() % 9;
        const double tilt = (static_cast<int>(next() % 3) - 1) * 0.5;
        p.drawLine(QPointF(x, y), QPointF(x + len, y + tilt));
    }
}

} // namespace

void drawStaffAccidental(QPainter& p, double left, double y, int code) {
    drawAccidental(p, left, y, code);
}

void drawStaffHead(QPainter& p, double x, double y) {
    drawHead(p, x, y);
}

void drawStaffPaper(QPainter& p, const QRectF& area) {
    drawPaper(p, area);
}

void beginStaffPicture(QPainter& p, int widgetHeight, double logicalWidth, bool highColour) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const double scale = widgetHeight > 0 ? widgetHeight / double(kStaffHeight) : 1.0;
    p.scale(scale, scale);
    const QRectF area(0, 0, logicalWidth, kStaffHeight);
    if (highColour)
        drawPaper(p, area);
    else
        p.fillRect(area, Qt::white);
}

StaffWidget::StaffWidget(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(kStaffHeight / 2);
    scrollTimer_.setInterval(kScrollFrameMs);
    connect(&scrollTimer_, &QTimer::timeout, this, [this] { ScrollFrame(); });
    ResetStaff(module_, 0);
}

void StaffWidget::setHighColour(bool on) {
    highColour_ = on;
    update();
}

void StaffWidget::setKey(std::optional<KeyState> key) {
    key_ = key;
    signatureKey_ = key;
    if (clefsShown_)
        signature_ = computeSignature();
    update();
}

double StaffWidget::logicalWidth() const {
    const double scale = height() > 0 ? height() / double(kStaffHeight) : 1.0;
    return width() / scale;
}

void StaffWidget::ResetStaff(int module, int x0) {
    while (scrolling())
        ScrollFrame();
    module_ = module;
    if (x0 == 0)
        x0 = 8;
    std::erase_if(items_, [x0](const StaffItem& it) { return it.X >= x0; });
    if (x0 <= 8) {
        clefsShown_ = module != kProgressions && module != kRhythm;
        signature_ = computeSignature();
        restoreBarAccidentals();
        StaffTextX = resetStaffTextX(module);
        MelodyTextX = kResetMelodyTextX;
    }
    update();
}

void StaffWidget::restoreBarAccidentals() {
    if (key_ && signatureKey_)
        key_->staffAccidentals = signatureKey_->staffAccidentals;
}

void StaffWidget::ShowBar(int x, bool doubleBar) {
    restoreBarAccidentals();
    StaffItem bar;
    bar.Type = StaffItem::Kind::Bar;
    bar.X = x;
    bar.Code = doubleBar ? 1 : 0;
    addItem(std::move(bar));
}

// Written during a scroll, an item shows once the scroll ends.
void StaffWidget::addItem(StaffItem item) {
    item.Hidden = scrolling();
    items_.push_back(std::move(item));
    update();
}

void StaffWidget::MarkNote(int x, int y, int rgb) {
    StaffItem mark;
    mark.Type = StaffItem::Kind::Mark;
    mark.X = x;
    mark.Y = y;
    mark.Code = rgb;
    addItem(std::move(mark));
}

void StaffWidget::WriteText(int x, int y, const QString& text, std::optional<QFont> font) {
    StaffItem t;
    t.Font = std::move(font);
    t.Type = StaffItem::Kind::Text;
    t.X = x;
    t.Y = y;
    t.Text = text;
    addItem(std::move(t));
}

void StaffWidget::RewriteText(int x, int y, const QString& text, std::optional<QFont> font) {
    std::erase_if(items_, [x, y](const StaffItem& it) {
        return it.Type == StaffItem::Kind::Text && it.X == x && it.Y == y;
    });
    WriteText(x, y, text, std::move(font));
}

void StaffWidget::DrawNote(int x, int step, int accidental, int note, int clef, int index) {
    const int y = Staff_Y(step, clef);
    int shift = 0;
    if (index > 0 && shiftsSeconds(module_)) {
        const int previousY = Staff_Y(PreviousStep, PreviousClef);
        shift = secondShift(y, previousY, y == previousY, PreviousShifted);
    }
    PreviousShifted = shift > 0;

    if ((index == 0 || index == 99) && module_ != kProgressions) {
        const auto letter = ((step % 7) + 7) % 7;
        LastNoteName =
            QString::fromStdString(spelledNoteName(letter, accidental - 2, germanNaming_));
        WriteText(StaffTextX - 5, -2, LastNoteName);
        if (module_ == kInversions) {
            PreviousStep = step;
            PreviousClef = clef;
            return;
        }
    }
    const bool hidden = scrolling();
    for (const LedgerLine& l : ledgerLines(step, clef)) {
        StaffItem ledger;
        ledger.Type = StaffItem::Kind::Ledger;
        ledger.X = x;
        ledger.Y = Staff_Y(l.Step, l.Clef);
        ledger.Left = -10 + shift;
        ledger.Right = 10 + shift;
        ledger.Hidden = hidden;
        items_.push_back(ledger);
    }
    StaffItem head;
    head.Type = StaffItem::Kind::Head;
    head.X = x;
    head.Y = y;
    head.Left = shift;
    head.Step = step;
    head.Clef = clef;
    head.Hidden = hidden;
    items_.push_back(head);

    int symbol = accidental;
    if (module_ == kMelodies && key_)
        symbol = displayedAccidental(*key_, step, accidental);
    if (symbol != kNoAccidental) {
        const int column =
            (module_ == kScales || module_ == kMelodies) ? 0 : memory_.place(step, symbol);
        StaffItem acc;
        acc.Type = StaffItem::Kind::Accidental;
        acc.X = x;
        acc.Y = y;
        acc.Left = -4 * column - accidentalGlyph(symbol).Offset;
        acc.Code = symbol;
        acc.Step = step;
        acc.Hidden = hidden;
        items_.push_back(acc);
        if (module_ == kMelodies && key_ && accidental >= 1 && accidental <= 3) {
            const auto letter = static_cast<std::size_t>(((step % 7) + 7) % 7);
            key_->staffAccidentals[static_cast<std::size_t>(keyStaffIndex(step))][letter] =
                accidental;
        }
    }
    if (module_ == kScales && note == scaleRoot_ + 12) {
        for (int side = 0; side < 2; ++side) {
            StaffItem bracket;
            bracket.Type = StaffItem::Kind::OctaveBracket;
            bracket.X = x;
            bracket.Y = y;
            bracket.Left = side == 0 ? -7 : 6;
            bracket.Code = side;
            bracket.Hidden = hidden;
            items_.push_back(bracket);
        }
    }
    PreviousStep = step;
    PreviousClef = clef;
    update();
}

void StaffWidget::DrawNoteNamed(int x, int note, int clef, int index) {
    note = std::abs(note);
    const StaffSpelling s =
        (module_ == kMelodies && key_) ? spellInKey(note, *key_) : spellFlatSide(note);
    DrawNote(x, s.Step, s.Accidental, note, clef, index);
}

void StaffWidget::ShowScale(int root, int row) {
    const ScaleRecord& scale = scaleRow(row);
    scaleRoot_ = root;
    const int clef = PreviousClef;
    for (int k = 2; k <= scale.Count; ++k) {
        const int x = StaffTextX + 30 * (k - 1);
        const int note = root + scale.Offsets[static_cast<std::size_t>(k - 1)];
        if (row <= 20) {
            const int step = PreviousStep + 1;
            DrawNote(x, step, accidentalForStep(step, note), note, clef, k);
        } else {
            DrawNoteNamed(x, note, clef, k);
        }
        emit scaleNoteMarked(note);
    }
}

void StaffWidget::DoScroll(int x, int distance) {
    while (scrolling())
        ScrollFrame();
    if (distance <= 0)
        return;
    scrollSteps_ = scrollSteps(distance);
    scrollFrame_ = 0;
    scrollX_ = x;
    for (StaffItem& it : items_)
        it.Moving = it.X >= x;
    StaffTextX -= distance;
    scrollTimer_.start();
}

bool StaffWidget::ScrollFrame() {
    if (!scrolling())
        return false;
    const int s = scrollSteps_[static_cast<std::size_t>(scrollFrame_++)];
    for (StaffItem& it : items_)
        if (it.Moving)
            it.X -= s;
    // What slid over the left edge of the scrolled part is gone.
    std::erase_if(items_, [this](const StaffItem& it) { return it.Moving && it.X < scrollX_; });
    if (!scrolling()) {
        scrollTimer_.stop();
        for (StaffItem& it : items_) {
            it.Hidden = false;
            it.Moving = false;
        }
    }
    update();
    return scrolling();
}

void StaffWidget::mVisnoderClick() {
    const int saved = module_;
    ResetStaff(1, 0);
    // The notes start right of the clefs, so the 28 columns share the width beyond them and
    // the last one stays inside the picture.
    for (const WhiteKeyNote& w : whiteKeyLayout(logicalWidth() - 34)) {
        memory_.NulFortegnMatrix();
        StaffTextX = w.X;
        DrawNoteNamed(w.X, w.Note, w.Clef, 0);
    }
    module_ = saved;
    StaffTextX = 40;
    update();
}

std::vector<StaffWidget::SignatureGlyph> StaffWidget::computeSignature() const {
    std::vector<SignatureGlyph> glyphs;
    if (module_ != kMelodies || !key_ || !clefsShown_)
        return glyphs;
    const int f = FifthsPosition[static_cast<std::size_t>(pitchClass(key_->signatureKey))];
    for (int i = 1; i <= std::abs(f); ++i) {
        const int step = KeySignatureSteps[static_cast<std::size_t>(f > 0 ? 6 + i : 6 - i)];
        const int code = f > 0 ? 3 : 1;
        glyphs.push_back({7 * i + 30, Staff_Y(step, 1) - 12, code});
        glyphs.push_back({7 * i + 30, Staff_Y(step - 14, 2) - 12, code});
    }
    return glyphs;
}

void StaffWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const double w = logicalWidth();
    beginStaffPicture(p, height(), w, highColour_);
    const QColor line = highColour_ ? kGreyLine : kInk;

    if (module_ != kProgressions && module_ != kRhythm) {
        p.setPen(QPen(line, 1.0));
        for (const auto& steps : {TrebleLineSteps, BassLineSteps})
            for (int s : steps) {
                const double y = Staff_Y(s, 0) + 0.5;
                p.drawLine(QPointF(8, y), QPointF(w, y));
            }
    }
    if (clefsShown_) {
        p.setPen(QPen(line, 1.0));
        p.drawLine(QPointF(8.5, Staff_Y(24, 0) + 0.5), QPointF(8.5, Staff_Y(4, 0) + 0.5));
        drawTrebleClef(p, 17, Staff_Y(18, 0));
        drawBassClef(p, 16, Staff_Y(10, 0));
        for (const SignatureGlyph& g : signature_)
            drawAccidental(p, g.X, g.Y + 12, g.Code);
    }

    QFont font = p.font();
    font.setPixelSize(11);
    p.setFont(font);
    for (const StaffItem& it : items_) {
        if (it.Hidden)
            continue;
        switch (it.Type) {
        case StaffItem::Kind::Head:
            drawHead(p, it.X + it.Left, it.Y);
            break;
        case StaffItem::Kind::Accidental:
            drawAccidental(p, it.X + it.Left, it.Y, it.Code);
            break;
        case StaffItem::Kind::Ledger:
            p.setPen(QPen(line, 1.0));
            p.drawLine(QPointF(it.X + it.Left, it.Y + 0.5), QPointF(it.X + it.Right, it.Y + 0.5));
            break;
        case StaffItem::Kind::Text:
            p.setPen(kInk);
            p.setFont(it.Font ? *it.Font : font);
            p.drawText(QRectF(it.X, it.Y, 400, 16), Qt::AlignLeft | Qt::AlignTop, it.Text);
            break;
        case StaffItem::Kind::Bar:
            p.setPen(QPen(line, 1.0));
            p.drawLine(QPointF(it.X - 0.5, 26), QPointF(it.X - 0.5, 99.5));
            if (it.Code == 1)
                p.drawLine(QPointF(it.X + 1.5, 26), QPointF(it.X + 1.5, 99.5));
            break;
        case StaffItem::Kind::Mark:
            p.fillRect(QRectF(it.X, it.Y, 9, 3), QColor(QRgb(it.Code)));
            break;
        case StaffItem::Kind::OctaveBracket: {
            p.setPen(QPen(kInk, 1.0));
            const double l = it.X + it.Left;
            const double top = it.Y - 9.5;
            const double bottom = it.Y + 9.5;
            const double edge = it.Code == 0 ? l : l + 6;
            const double tip = it.Code == 0 ? l + 4 : l + 2;
            p.drawLine(QPointF(edge, top), QPointF(edge, bottom));
            p.drawLine(QPointF(edge, top), QPointF(tip, top));
            p.drawLine(QPointF(edge, bottom), QPointF(tip, bottom));
            break;
        }
        }
    }
}

} // namespace harmik
