#include "app/rhythm_options.h"

#include "app/exercise_options.h"
#include "input/answer_layout.h"
#include "theory/keys.h"
#include "userdata/hints.h"
#include "userdata/strings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QRadioButton>
#include <algorithm>
#include <utility>

namespace harmik {
namespace {

// Captions and hints of the rhythm panel.
constexpr std::array<int, 3> kModeCaption{406, 408, 410};
constexpr std::array<int, 3> kModeHint{407, 409, 411};
constexpr int kTaktartCaption = 412, kTaktartHint = 413;
constexpr int kMellemtaktCaption = 414, kMellemtaktHint = 415;
constexpr int kTakterCaption = 416, kTakterHint = 417;
constexpr int kKortLoopCaption = 418, kKortLoopHint = 419;
constexpr int kTriolerCaption = 433;
constexpr int kAllaBreveName = 470;
constexpr int kTempoCaption = 1322, kTempoHint = 3059;

constexpr int kRhythmModuleIndex = 6; // AnswerChecks row of the rhythm module
constexpr int kModeCount = 3;
constexpr int kMetreAllaBreve = 4;

// The answer panel of the rhythm module is 345 × 184; the options fill its lower part.
constexpr int kPanelWidth = 335;

int clampedBars(int bars) {
    return std::clamp(bars, kMinBars, kMaxBars);
}

// Draws one note value into a symbol's cell of the picture: 0 whole, 1 half, 2 quarter,
// 3 eighth, 4 sixteenth.
void drawNoteValue(QPainter& p, int symbol, const QRectF& cell, const QColor& ink) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(ink, 1.4);
    p.setPen(pen);
    const bool hollow = symbol <= 1;
    const bool stem = symbol >= 1;
    const int flags = symbol >= 3 ? symbol - 2 : 0;

    // The head: a slanted oval low in the cell, wider for the whole note.
    const QPointF centre(symbol == 0 ? cell.center().x() : cell.left() + 5.0, cell.top() + 28.0);
    const double rx = symbol == 0 ? 5.5 : 4.2;
    const double ry = symbol == 0 ? 3.6 : 3.0;
    p.save();
    p.translate(centre);
    p.rotate(-20.0);
    p.setBrush(hollow ? Qt::NoBrush : QBrush(ink));
    if (hollow)
        p.setPen(QPen(ink, symbol == 0 ? 2.0 : 1.6));
    p.drawEllipse(QPointF(0, 0), rx, ry);
    p.restore();

    if (stem) {
        const double x = centre.x() + rx - 0.6;
        const double top = cell.top() + 5.0;
        p.drawLine(QPointF(x, centre.y() - 1.0), QPointF(x, top));
        p.setBrush(ink);
        for (int f = 0; f < flags; ++f) {
            const double y = top + 6.0 * f;
            QPainterPath flag(QPointF(x, y));
            flag.cubicTo(QPointF(x + 2.0, y + 5.0), QPointF(x + 8.0, y + 6.0),
                         QPointF(x + 6.0, y + 13.0));
            flag.cubicTo(QPointF(x + 6.5, y + 8.0), QPointF(x + 3.0, y + 7.0), QPointF(x, y + 5.0));
            p.drawPath(flag);
        }
    }
    p.restore();
}

} // namespace

RhythmOptionsRecord NormalisedRhythmOptions(const RhythmOptionsRecord& stored) {
    RhythmOptionsRecord o = stored;
    o.Metre = static_cast<std::uint8_t>(std::clamp<int>(stored.Metre, 0, kMetreCount - 1));
    o.Bars = static_cast<std::uint8_t>(clampedBars(stored.Bars));
    o.ShortLoop = stored.ShortLoop != 0 ? 1 : 0;
    o.InterBar = stored.InterBar != 0 ? 1 : 0;
    if (stored.RhythmMode >= kModeCount)
        o.RhythmMode = RhythmImitate;
    return o;
}

QStringList TimeSignatureNames() {
    QStringList names;
    for (int i = 0; i < kMetreCount; ++i) {
        const TimeSignature& ts = TimeSignatureTable[static_cast<std::size_t>(i)];
        // Alla breve shares the numbers of 2/2; it is told apart by its name.
        names << (i == kMetreAllaBreve ? LoadStr(kAllaBreveName)
                                       : QStringLiteral("%1/%2").arg(ts.Beats).arg(ts.Note));
    }
    return names;
}

bool RhythmSymbolSelected(int symbol, const std::uint8_t* rhythmTicks) {
    if (symbol < 0 || symbol >= kRhythmSymbolCount)
        return false;
    const RhythmSymbolPair pair = RhythmSymbolOf(symbol);
    return rhythmTicks[pair.Symbol] != 0 || rhythmTicks[pair.Partner] != 0;
}

// ---------------------------------------------------------------------------------------------

RhythmSymbolPicture::RhythmSymbolPicture(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ImageRytmeValg"));
    resize(sizeHint());
}

bool RhythmSymbolPicture::isSelected(int symbol) const {
    return symbol >= 0 && symbol < kRhythmSymbolCount &&
           selected_[static_cast<std::size_t>(symbol)];
}

QSize RhythmSymbolPicture::sizeHint() const {
    const RhythmSymbolBlit last = RhythmSymbolCopy(kRhythmSymbolCount - 1, false);
    return {last.DestX + last.Width, last.Height};
}

void RhythmSymbolPicture::showSymbol(int symbol, bool selected) {
    if (symbol < 0 || symbol >= kRhythmSymbolCount)
        return;
    selected_[static_cast<std::size_t>(symbol)] = selected;
    const RhythmSymbolBlit cell = RhythmSymbolCopy(symbol, selected);
    update(cell.DestX, cell.DestY, cell.Width, cell.Height);
}

void RhythmSymbolPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    for (int j = 0; j < kRhythmSymbolCount; ++j) {
        const bool selected = selected_[static_cast<std::size_t>(j)];
        const RhythmSymbolBlit b = RhythmSymbolCopy(j, selected);
        const QRectF cell(b.DestX, b.DestY, b.Width, b.Height);
        if (selected) {
            p.fillRect(cell, QColor(255, 255, 255));
            p.setPen(QColor(128, 128, 128));
            p.drawRect(cell.adjusted(0, 0, -1, -1));
        }
        drawNoteValue(p, j, cell, selected ? QColor(0, 0, 0) : QColor(160, 160, 160));
    }
}

// ---------------------------------------------------------------------------------------------

RhythmOptionsPanel::RhythmOptionsPanel(SettingsRecord& settings, QWidget* parent)
    : QFrame(parent), settings_(settings) {
    setObjectName(QStringLiteral("PanRytme"));
    setFrameShape(QFrame::NoFrame);
    buildControls();

    // The pictures stand elsewhere on the answer panel (the symbols over their boxes) and on
    // the window (the label over the staff); they hang under the same parent.
    QWidget* owner = parent ? parent : this;
    imageRytmeValg_ = new RhythmSymbolPicture(owner);
    labRytmeTrioler_ = new QLabel(LoadStr(kTriolerCaption), owner);
    labRytmeTrioler_->setObjectName(QStringLiteral("LabRytmeTrioler"));
    labRytmePct_ = new QLabel(owner);
    labRytmePct_->setObjectName(QStringLiteral("LabRytmePct"));

    ApplyLoadedSettings();
}

void RhythmOptionsPanel::buildControls() {
    auto* modes = new QButtonGroup(this);
    static const std::array<const char*, 3> modeNames{"RadioRytmeLyt", "RadioRytmeSe",
                                                      "RadioRytmeSeLyt"};
    for (int m = 0; m < kModeCount; ++m) {
        auto* b = new QRadioButton(LoadStr(kModeCaption[static_cast<std::size_t>(m)]), this);
        b->setObjectName(QString::fromLatin1(modeNames[static_cast<std::size_t>(m)]));
        ApplyHintId(b, kModeHint[static_cast<std::size_t>(m)]);
        modes->addButton(b, m);
        modeButtons_[static_cast<std::size_t>(m)] = b;
    }
    connect(modeButtons_[0], &QRadioButton::clicked, this, &RhythmOptionsPanel::RadioRytmeLytClick);
    connect(modeButtons_[1], &QRadioButton::clicked, this, &RhythmOptionsPanel::RadioRytmeSeClick);
    connect(modeButtons_[2], &QRadioButton::clicked, this,
            &RhythmOptionsPanel::RadioRytmeSeLytClick);

    labTaktart_ = new QLabel(LoadStr(kTaktartCaption), this);
    labTaktart_->setObjectName(QStringLiteral("LabTaktart"));
    ApplyHintId(labTaktart_, kTaktartHint);
    comboTaktart_ = new QComboBox(this);
    comboTaktart_->setObjectName(QStringLiteral("ComboTaktart"));
    comboTaktart_->addItems(TimeSignatureNames());
    ApplyHintId(comboTaktart_, kTaktartHint);
    labTaktart_->setBuddy(comboTaktart_);
    connect(comboTaktart_, &QComboBox::activated, this, &RhythmOptionsPanel::ComboTaktartChange);

    labTakter_ = new QLabel(LoadStr(kTakterCaption), this);
    labTakter_->setObjectName(QStringLiteral("LabTakter"));
    labVisTakter_ = new QLabel(this);
    labVisTakter_->setObjectName(QStringLiteral("LabVisTakter"));
    labVisTakter_->setAlignment(Qt::AlignCenter);
    labVisTakter_->setMinimumWidth(14);
    spinTakter_ = new TempoSpinButtons(this);
    spinTakter_->setObjectName(QStringLiteral("SpinTakter"));
    for (QWidget* w : {static_cast<QWidget*>(labTakter_), static_cast<QWidget*>(labVisTakter_),
                       static_cast<QWidget*>(spinTakter_)})
        ApplyHintId(w, kTakterHint);
    connect(spinTakter_, &TempoSpinButtons::upClicked, this,
            &RhythmOptionsPanel::SpinTakterUpClick);
    connect(spinTakter_, &TempoSpinButtons::downClicked, this,
            &RhythmOptionsPanel::SpinTakterDownClick);

    checkMellemtakt_ = new QCheckBox(LoadStr(kMellemtaktCaption), this);
    checkMellemtakt_->setObjectName(QStringLiteral("CheckMellemtakt"));
    ApplyHintId(checkMellemtakt_, kMellemtaktHint);
    connect(checkMellemtakt_, &QCheckBox::clicked, this, &RhythmOptionsPanel::CheckMellemtaktClick);
    checkKortLoop_ = new QCheckBox(LoadStr(kKortLoopCaption), this);
    checkKortLoop_->setObjectName(QStringLiteral("CheckKortLoop"));
    ApplyHintId(checkKortLoop_, kKortLoopHint);
    connect(checkKortLoop_, &QCheckBox::clicked, this, &RhythmOptionsPanel::CheckKortLoopClick);

    // Pan_Bpm2: the rhythm module's own tempo; the window's tempo fields take over the field.
    panBpm2_ = new QFrame(this);
    panBpm2_->setObjectName(QStringLiteral("Pan_Bpm2"));
    ApplyHintId(panBpm2_, kTempoHint);
    labTempo2_ = new QLabel(LoadStr(kTempoCaption), panBpm2_);
    labTempo2_->setObjectName(QStringLiteral("LabTempo2"));
    editTempo2_ = new QLineEdit(panBpm2_);
    editTempo2_->setObjectName(QStringLiteral("EditTempo2"));
    editTempo2_->setMaxLength(4);
    editTempo2_->setFixedWidth(editTempo2_->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 4 +
                               12);
    labTempo2_->setBuddy(editTempo2_);
    auto* tempoRow = new QHBoxLayout(panBpm2_);
    tempoRow->setContentsMargins(0, 0, 0, 0);
    tempoRow->setSpacing(4);
    tempoRow->addWidget(labTempo2_);
    tempoRow->addWidget(editTempo2_);
    tempoRow->addStretch(1);

    // Three columns: the modes; the time signature and the bars; the boxes and the tempo.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(1);
    for (int m = 0; m < kModeCount; ++m)
        grid->addWidget(modeButtons_[static_cast<std::size_t>(m)], m, 0);

    grid->addWidget(labTaktart_, 0, 1);
    grid->addWidget(comboTaktart_, 1, 1);
    auto* barsRow = new QHBoxLayout;
    barsRow->setSpacing(4);
    barsRow->addWidget(labTakter_);
    barsRow->addWidget(labVisTakter_);
    barsRow->addWidget(spinTakter_);
    barsRow->addStretch(1);
    grid->addLayout(barsRow, 2, 1);

    grid->addWidget(checkMellemtakt_, 0, 2);
    grid->addWidget(checkKortLoop_, 1, 2);
    grid->addWidget(panBpm2_, 2, 2);
    grid->setColumnStretch(1, 1);
}

QSize RhythmOptionsPanel::sizeHint() const {
    const QSize fromLayout = QFrame::sizeHint();
    return {std::max(fromLayout.width(), kPanelWidth), fromLayout.height()};
}

QRadioButton* RhythmOptionsPanel::ModeButton(int mode) const {
    if (mode < 0 || mode >= kModeCount)
        return nullptr;
    return modeButtons_[static_cast<std::size_t>(mode)];
}

void RhythmOptionsPanel::ApplyLoadedSettings() {
    settings_.RhythmOptions = NormalisedRhythmOptions(settings_.RhythmOptions);
    const int m = metre();
    comboTaktart_->setCurrentIndex(m);
    ComboTaktartChange(m);
    showBars();
    selectMode(mode());
    RefreshSymbols();
}

void RhythmOptionsPanel::RefreshSymbols() {
    const std::uint8_t* ticks = settings_.AnswerChecks[kRhythmModuleIndex];
    for (int j = 0; j < kRhythmSymbolCount; ++j)
        imageRytmeValg_->showSymbol(j, RhythmSymbolSelected(j, ticks));
}

void RhythmOptionsPanel::ComboTaktartChange(int index) {
    if (index < 0 || index >= kMetreCount)
        return;
    settings_.RhythmOptions.Metre = static_cast<std::uint8_t>(index);
    if (comboTaktart_->currentIndex() != index)
        comboTaktart_->setCurrentIndex(index);
    emit staffResetRequested();
}

void RhythmOptionsPanel::PreviousMetreClick() {
    ComboTaktartChange(previousTimeSignature(metre()));
}

void RhythmOptionsPanel::NextMetreClick() {
    ComboTaktartChange(nextTimeSignature(metre()));
}

void RhythmOptionsPanel::SpinTakterUpClick() {
    settings_.RhythmOptions.Bars =
        static_cast<std::uint8_t>(BarsAfterSpinUp(clampedBars(settings_.RhythmOptions.Bars)));
    showBars();
    emit staffResetRequested();
}

void RhythmOptionsPanel::SpinTakterDownClick() {
    settings_.RhythmOptions.Bars =
        static_cast<std::uint8_t>(BarsAfterSpinDown(clampedBars(settings_.RhythmOptions.Bars)));
    showBars();
    emit staffResetRequested();
}

void RhythmOptionsPanel::showBars() {
    labVisTakter_->setText(QString::number(settings_.RhythmOptions.Bars));
}

void RhythmOptionsPanel::RadioRytmeLytClick() {
    selectMode(RhythmImitate);
    emit staffResetRequested();
}

void RhythmOptionsPanel::RadioRytmeSeClick() {
    selectMode(RhythmRead);
    emit staffResetRequested();
}

void RhythmOptionsPanel::RadioRytmeSeLytClick() {
    selectMode(RhythmReadListen);
    emit staffResetRequested();
}

void RhythmOptionsPanel::selectMode(int mode) {
    settings_.RhythmOptions.RhythmMode = static_cast<std::uint8_t>(mode);
    modeButtons_[static_cast<std::size_t>(mode)]->setChecked(true);
    applyMode();
}

// In reading mode the two boxes are greyed (neither ticked nor clear) and cannot be used;
// the stored flags stay and come back with the other modes.
void RhythmOptionsPanel::applyMode() {
    const bool usable = LoopBoxesUsable(mode());
    const std::array<std::pair<QCheckBox*, std::uint8_t>, 2> boxes{
        {{checkMellemtakt_, settings_.RhythmOptions.InterBar},
         {checkKortLoop_, settings_.RhythmOptions.ShortLoop}}};
    for (const auto& [box, stored] : boxes) {
        if (usable) {
            box->setTristate(false);
            box->setChecked(stored != 0);
        } else {
            box->setCheckState(Qt::PartiallyChecked);
        }
    }
    applyEnabling();
}

void RhythmOptionsPanel::applyEnabling() {
    const bool free = !tutorActive_;
    for (QWidget* w :
         {static_cast<QWidget*>(modeButtons_[0]), static_cast<QWidget*>(modeButtons_[1]),
          static_cast<QWidget*>(modeButtons_[2]), static_cast<QWidget*>(labTaktart_),
          static_cast<QWidget*>(comboTaktart_), static_cast<QWidget*>(labTakter_),
          static_cast<QWidget*>(labVisTakter_), static_cast<QWidget*>(spinTakter_)})
        w->setEnabled(free);
    const bool usable = LoopBoxesUsable(mode());
    checkMellemtakt_->setEnabled(free && usable);
    // The tutor leaves the loop and the tempo to the user.
    checkKortLoop_->setEnabled(usable);
    panBpm2_->setEnabled(true);
}

void RhythmOptionsPanel::CheckMellemtaktClick() {
    if (checkMellemtakt_->checkState() == Qt::PartiallyChecked)
        return;
    settings_.RhythmOptions.InterBar = checkMellemtakt_->isChecked() ? 1 : 0;
}

void RhythmOptionsPanel::CheckKortLoopClick() {
    if (checkKortLoop_->checkState() == Qt::PartiallyChecked)
        return;
    settings_.RhythmOptions.ShortLoop = checkKortLoop_->isChecked() ? 1 : 0;
}

void RhythmOptionsPanel::PlaceOnAnswerPanel(int panRytmeTop) {
    setGeometry(QRect(QPoint(kPanRytmeLeft, panRytmeTop), sizeHint()));
    imageRytmeValg_->setGeometry(QRect(kImageRytmeValgPos, imageRytmeValg_->sizeHint()));
    labRytmeTrioler_->setGeometry(QRect(kLabRytmeTriolerPos, labRytmeTrioler_->sizeHint()));
}

void RhythmOptionsPanel::ShowRhythmPictures(bool shown) {
    for (QWidget* w :
         {static_cast<QWidget*>(this), static_cast<QWidget*>(imageRytmeValg_),
          static_cast<QWidget*>(labRytmeTrioler_), static_cast<QWidget*>(labRytmePct_)})
        w->setVisible(shown);
}

void RhythmOptionsPanel::setTutorActive(bool active) {
    tutorActive_ = active;
    applyEnabling();
}

void RhythmOptionsPanel::ShowModeCaption() {
    labRytmePct_->setText(LoadStr(RhythmModeCaptionId(mode())));
}

} // namespace harmik
