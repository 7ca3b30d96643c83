#include "app/instrument_panel.h"

#include "app/activity_lamps.h"
#include "app/sound_panel.h"
#include "input/fretboard_widget.h"
#include "input/piano_geometry.h"
#include "input/piano_widget.h"
#include "userdata/hints.h"
#include "userdata/strings.h"

#include <algorithm>

#include <QCheckBox>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

namespace harmik {
namespace {

constexpr int kPianoHint = 3045;
constexpr int kCheckPianoHint = 3043;
constexpr int kCheckFretHint = 3044;
constexpr int kCheckPianoCaption = 3052;
constexpr int kCheckFretCaption = 3053;
constexpr int kListeningHint = 1450;
constexpr int kLampsHint = 3049;
constexpr int kSoundPanelHint = 3051;
constexpr int kCheckHeight = 18;

// The listening button's picture: a few piano keys with an ear of sound waves above them.
QIcon listeningIcon() {
    QPixmap pixmap(40, 40);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::white);
    for (int k = 0; k < 5; ++k)
        p.drawRect(QRectF(4 + 6.4 * k, 18, 6.4, 18));
    p.setBrush(Qt::black);
    for (int k : {0, 1, 3})
        p.drawRect(QRectF(8.5 + 6.4 * k, 18, 4, 10));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x00, 0x40, 0xA0), 2));
    for (int r = 0; r < 3; ++r)
        p.drawArc(QRectF(14 - 4 * r, 8 - 3 * r, 12 + 8 * r, 12 + 6 * r), 30 * 16, 120 * 16);
    return QIcon(pixmap);
}

} // namespace

InstrumentPanel::InstrumentPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Pan_Klaver"));
    piano_ = new PianoPicture(this);
    piano_->setObjectName(QStringLiteral("Image_Klaver"));
    guitar_ = new FretboardPicture(this);
    guitar_->setObjectName(QStringLiteral("Image_guitar"));
    checkPiano_ = new QCheckBox(this);
    checkPiano_->setObjectName(QStringLiteral("CheckPiano"));
    checkFret_ = new QCheckBox(this);
    checkFret_->setObjectName(QStringLiteral("CheckFret"));
    speedMidiInd_ = new QToolButton(this);
    speedMidiInd_->setObjectName(QStringLiteral("SpeedMidiInd"));
    speedMidiInd_->setCheckable(true);
    speedMidiInd_->setAutoRaise(true);
    speedMidiInd_->setIcon(listeningIcon());
    speedMidiInd_->setIconSize(QSize(24, 24));
    imageMini_ = new MiniPicture(this);
    imageEndeH_ = new ActivityLamps(this);
}

void InstrumentPanel::applyTexts() {
    checkPiano_->setText(LoadStr(kCheckPianoCaption));
    checkFret_->setText(LoadStr(kCheckFretCaption));
    ApplyHintId(checkPiano_, kCheckPianoHint);
    ApplyHintId(checkFret_, kCheckFretHint);
    ApplyHintId(piano_, kPianoHint);
    ApplyHintId(speedMidiInd_, kListeningHint);
    ApplyHintId(imageEndeH_, kLampsHint);
    ApplyHintId(imageMini_, kSoundPanelHint);
}

void InstrumentPanel::placeContents(bool showPiano, bool showFretboard) {
    const int w = width();
    const int h = height();
    const InstrumentRects rects = instrumentRects(0, w, h, showPiano, showFretboard);
    piano_->setVisible(showPiano);
    guitar_->setVisible(showFretboard);
    if (showPiano)
        piano_->setGeometry(rects.Piano);
    if (showFretboard)
        guitar_->setGeometry(rects.Fretboard);

    const int strip = w - kStripWidth;
    imageMini_->setGeometry(w - imageMini_->sizeHint().width() - 13, h / 8,
                            imageMini_->sizeHint().width(), imageMini_->sizeHint().height());
    speedMidiInd_->setGeometry(strip + 2, h / 6, 30, 30);
    checkFret_->setGeometry(strip + 2, h - kCheckHeight - 1, kStripWidth - 4, kCheckHeight);
    checkPiano_->setGeometry(strip + 2, h - 2 * kCheckHeight - 1, kStripWidth - 4, kCheckHeight);
    // The lamps at half height, above the check boxes on a low panel.
    imageEndeH_->move(w - 30, std::min(h / 2, checkPiano_->y() - imageEndeH_->height() - 1));
}

} // namespace harmik
