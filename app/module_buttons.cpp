#include "app/module_buttons.h"

#include "app/module_table.h"
#include "userdata/hints.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace harmik {
namespace {

constexpr int kPictureSize = 32;

// Pictures are drawn on a 32 x 32 grid and scaled to the asked size.
void noteHead(QPainter& p, double x, double y) {
    p.save();
    p.translate(x, y);
    p.rotate(-20);
    p.drawEllipse(QRectF(-3.5, -2.5, 7, 5));
    p.restore();
}

void stem(QPainter& p, double x, double yHead, double yTop) {
    p.drawLine(QPointF(x + 3, yHead), QPointF(x + 3, yTop));
}

void drawIntervals(QPainter& p) {
    noteHead(p, 10, 24);
    stem(p, 10, 24, 8);
    noteHead(p, 22, 12);
    stem(p, 22, 12, 3);
}

void drawScale(QPainter& p) {
    for (int k = 0; k < 5; ++k)
        noteHead(p, 5 + 5.5 * k, 27 - 5 * k);
}

void drawChord(QPainter& p) {
    for (int k = 0; k < 3; ++k)
        noteHead(p, 14, 26 - 7 * k);
    stem(p, 14, 26, 3);
}

void drawInversion(QPainter& p) {
    for (int k = 0; k < 3; ++k)
        noteHead(p, 20, 26 - 7 * k);
    stem(p, 20, 26, 3);
    QPainterPath arrow;
    arrow.moveTo(11, 27);
    arrow.cubicTo(2, 24, 2, 10, 10, 7);
    p.setBrush(Qt::NoBrush);
    p.drawPath(arrow);
    p.drawLine(QPointF(10, 7), QPointF(6, 5));
    p.drawLine(QPointF(10, 7), QPointF(7, 10));
}

void drawProgression(QPainter& p) {
    const double tops[3] = {20, 14, 22};
    for (int c = 0; c < 3; ++c) {
        noteHead(p, 5 + 10 * c, tops[c] + 6);
        noteHead(p, 5 + 10 * c, tops[c]);
    }
}

void drawMelody(QPainter& p) {
    const double ys[4] = {22, 14, 18, 10};
    for (int k = 0; k < 4; ++k) {
        noteHead(p, 5 + 7 * k, ys[k]);
        stem(p, 5 + 7 * k, ys[k], 3);
    }
    p.setPen(QPen(p.pen().color(), 2.5));
    p.drawLine(QPointF(8, 3), QPointF(29, 3));
}

void drawDrum(QPainter& p) {
    p.drawLine(QPointF(6, 3), QPointF(15, 13));
    p.drawLine(QPointF(26, 3), QPointF(17, 13));
    p.setBrush(QColor(190, 40, 40));
    QPainterPath body;
    body.moveTo(5, 17);
    body.lineTo(5, 26);
    body.arcTo(QRectF(5, 22, 22, 8), 180, 180);
    body.lineTo(27, 17);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(QColor(235, 225, 200));
    p.drawEllipse(QRectF(5, 13, 22, 8));
}

} // namespace

QPixmap ModuleButtonPicture(int m, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(double(size) / kPictureSize, double(size) / kPictureSize);
    const QColor ink(20, 30, 90);
    p.setPen(QPen(ink, 1.4));
    p.setBrush(ink);
    switch (m) {
    case 1:
        drawIntervals(p);
        break;
    case 2:
        drawScale(p);
        break;
    case 3:
        drawChord(p);
        break;
    case 4:
        drawInversion(p);
        break;
    case 5:
        drawProgression(p);
        break;
    case 6:
        drawMelody(p);
        break;
    default:
        drawDrum(p);
        break;
    }
    return pixmap;
}

SpeedMenu::SpeedMenu(SettingsRecord& settings, QWidget* parent)
    : QFrame(parent), settings_(settings) {
    setObjectName(QStringLiteral("SpeedMenu"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);

    group_ = new QButtonGroup(this);
    group_->setExclusive(true);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(3, 2, 3, 2);
    row->setSpacing(2);
    // The buttons stand in the order of the modules' numbers.
    for (int m = 1; m <= 7; ++m) {
        const ModuleTableEntry& e = ModuleEntry(m);
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(e.toolButton));
        b->setCheckable(true);
        b->setAutoRaise(true);
        b->setIcon(QIcon(ModuleButtonPicture(m, kPictureSize)));
        b->setIconSize(QSize(kPictureSize, kPictureSize));
        ApplyHintId(b, e.toolButtonHintId);
        group_->addButton(b, m);
        row->addWidget(b);
        buttons_[static_cast<std::size_t>(m - 1)] = b;
        connect(b, &QToolButton::clicked, this, [this, m] { SpeedButtonClick(m); });
    }
    row->addStretch(1);
}

QToolButton* SpeedMenu::button(int m) const {
    if (m < 1 || m > 7)
        return nullptr;
    return buttons_[static_cast<std::size_t>(m - 1)];
}

void SpeedMenu::SpeedButtonClick(int m) {
    if (m >= 1 && m <= 7 && m != settings_.CurrentModule)
        emit moduleChosen(m);
    // The button pressed is the current module's, also when the window kept its module.
    pressDown(settings_.CurrentModule);
}

void SpeedMenu::chooseFromMenu(int m) {
    QToolButton* b = button(m);
    if (!b || !b->isEnabled())
        return;
    SpeedButtonClick(m);
}

void SpeedMenu::pressDown(int m) {
    if (QToolButton* b = button(m))
        b->setChecked(true);
}

void SpeedMenu::setTaskRunning(bool running) {
    for (int m = 1; m <= 7; ++m)
        button(m)->setEnabled(!running || m == settings_.CurrentModule);
}

} // namespace harmik
