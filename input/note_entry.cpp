#include "input/note_entry.h"

#include <algorithm>
#include <array>
#include <cmath>

#include <QMouseEvent>
#include <QPainter>

#include "input/cursor_table.h"
#include "input/staff_geometry.h"
#include "input/staff_widget.h"
#include "theory/module_id.h"
#include "theory/note_names.h"

namespace harmik {

namespace {

constexpr int kMelodies = static_cast<int>(ModuleId::Melodies);
constexpr int kChromaticTonality = 6;
constexpr int kTopStep = 27;

// The view's staff lines are 10 pixels apart, the staff picture's 6.
constexpr double kGlyphScale = 10.0 / 6.0;
// The view's top lies this far above the staff picture's top.
constexpr int kViewAboveStaff = 40;
constexpr int kStaffLeft = 13;
constexpr int kStaffRightMargin = 12;
constexpr double kLedgerLeft = 32;
constexpr double kLedgerRight = 57;

const QColor kInk(0, 0, 0);
const QColor kGrey(0x80, 0x80, 0x80);

int letterOf(int step) {
    return ((step % 7) + 7) % 7;
}

int keyAccidental(const KeyState& key, int step) {
    const auto letter = static_cast<std::size_t>(letterOf(step));
    const auto staff = static_cast<std::size_t>(keyStaffIndex(step));
    return key.staffAccidentals[staff][letter] - 2 + key.stepAccidentals[letter] - 2;
}

// Sideways movement: whole steps of 25 pixels, counted towards zero so that the natural
// holds for 24 pixels either side of the press point.
int sidewaysAccidental(int startX, int x) {
    return std::clamp((x - startX) / 25 + 2, 0, 4);
}

// C flat and F flat are as far down as C and F go, E sharp and B sharp as far up as E and B.
int limitForLetter(int letter, int accidental) {
    if ((letter == 0 || letter == 3) && accidental == kDoubleFlat)
        return 1;
    if ((letter == 2 || letter == 6) && accidental == kDoubleSharp)
        return 3;
    return accidental;
}

// The letter of a step and the suffix of its accidental; German naming writes the B and the
// B sharp as H and H sharp.
QString entryNoteName(int step, int accidental, bool germanNaming) {
    const auto pc = static_cast<std::size_t>(StaffStepNote[static_cast<std::size_t>(step)] % 12);
    const std::string letter =
        applyGermanNaming(NoteNamesFlat[pc], germanNaming && accidental >= 2);
    return QString::fromStdString(letter + std::string(accidentalSuffix(accidental - 2)));
}

void drawGuideLines(QPainter& p, double w) {
    p.setPen(QPen(kGrey, 1.0));
    for (int k = 1; k <= 5; ++k) {
        p.drawLine(QPointF(0, 6 * k + 60), QPointF(12, 10 * k + 31));
        p.drawLine(QPointF(w - 12, 10 * k + 31), QPointF(w, 6 * k + 61));
        p.drawLine(QPointF(0, 6 * k + 109), QPointF(12, 10 * k + 113));
        p.drawLine(QPointF(w - 12, 10 * k + 113), QPointF(w, 6 * k + 108));
    }
}

void drawStaves(QPainter& p, double w, const QColor& line) {
    p.setPen(QPen(line, 2.0));
    for (int k = 1; k <= 5; ++k) {
        p.drawLine(QPointF(kStaffLeft, 10 * k + 32), QPointF(w - kStaffRightMargin, 10 * k + 32));
        p.drawLine(QPointF(kStaffLeft, 10 * k + 113), QPointF(w - kStaffRightMargin, 10 * k + 113));
    }
}

void drawLedgerLines(QPainter& p, int step, const QColor& line) {
    p.setPen(QPen(line, 2.0));
    for (const LedgerLine& l : ledgerLines(step, 0)) {
        const double y = NoteInView::headY(l.Step);
        p.drawLine(QPointF(kLedgerLeft, y), QPointF(kLedgerRight, y));
    }
}

// The head, and its accidental left of it, drawn as the staff draws them but larger.
void drawEnlargedNote(QPainter& p, int step, int symbol) {
    p.save();
    p.translate(NoteInView::kHeadX, NoteInView::headY(step));
    p.scale(kGlyphScale, kGlyphScale);
    drawStaffHead(p, 0, 0);
    if (symbol != kNoAccidental)
        drawStaffAccidental(p, -accidentalGlyph(symbol).Offset, 0, symbol);
    p.restore();
}

// The five accidentals the sideways movement chooses from, the current one framed.
void drawAccidentalChoices(QPainter& p, double w, int accidental) {
    const double slot = (w - kStaffLeft - kStaffRightMargin) / 5.0;
    const double rowY = NoteInView::kHeightWithoutSymbols + 10;
    for (int code = 0; code <= 4; ++code) {
        const double left = kStaffLeft + slot * code;
        const int glyph = code == kNoAccidental ? kNaturalSign : code;
        const double glyphLeft = left + (slot - accidentalGlyph(glyph).Width) / 2.0;
        drawStaffAccidental(p, glyphLeft, rowY, glyph);
        if (code == accidental) {
            p.setPen(QPen(kGrey, 1.0));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(left + 0.5, rowY - 9.5, slot - 1, 18));
        }
    }
}

// The name at the top right, away from the accidental of a high note.
void drawNameText(QPainter& p, double w, const NoteEntryChoice& choice) {
    QFont font = p.font();
    font.setPixelSize(13);
    p.setFont(font);
    p.setPen(kInk);
    QString text = choice.Name;
    if (!choice.Syllable.isEmpty())
        text += QStringLiteral("  ") + choice.Syllable;
    p.drawText(QRectF(0, 2, w - 6, 18), Qt::AlignRight | Qt::AlignTop, text);
}

// The widget the view is placed in: the given one, else the staff's parent, else the staff
// itself, so that the view never becomes a window of its own.
QWidget* panelHost(StaffWidget* staff, QWidget* panelParent) {
    if (panelParent)
        return panelParent;
    if (staff && staff->parentWidget())
        return staff->parentWidget();
    return staff;
}

} // namespace

int entryStartStep(int y) {
    const int step = y > Staff_Y(12, 1) ? (111 - y + 1) / 3 : (62 - y + 1) / 3 + 12;
    return std::clamp(step, 0, kTopStep);
}

bool melodyKeyReading(int module, int tonality) {
    return module == kMelodies && tonality < kChromaticTonality;
}

NoteEntryChoice chooseEntryNote(int startStep, int startX, int startY, int x, int y,
                                const NoteEntryContext& context) {
    NoteEntryChoice c;
    const double s = std::clamp(startStep + (8 + startY - y) / 10.0, 0.4, 27.5);
    c.Step = static_cast<int>(s);
    int a = sidewaysAccidental(startX, x);
    const bool melody = context.Module == kMelodies;
    if (melody && context.KeyReading)
        a = kNoAccidental;
    if (melody && context.Key)
        a = std::clamp(a + keyAccidental(*context.Key, c.Step), 0, 4);
    c.Accidental = limitForLetter(letterOf(c.Step), a);
    c.Note = StaffStepNote[static_cast<std::size_t>(c.Step)] + 36 + c.Accidental - 2;
    c.Symbol = (melody && context.Key) ? displayedAccidental(*context.Key, c.Step, c.Accidental)
                                       : c.Accidental;
    c.Name = entryNoteName(c.Step, c.Accidental, context.GermanNaming);
    if (melody && context.Solfege) {
        const auto degree = static_cast<std::size_t>(pitchClass(c.Note - context.MelodyRoot));
        c.Syllable = QString::fromUtf8(SolfegeSyllables[degree].data(),
                                       static_cast<qsizetype>(SolfegeSyllables[degree].size()));
    }
    return c;
}

// ---------------------------------------------------------------------------------------------

NoteInView::NoteInView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    resizeToScale();
}

int NoteInView::headY(int step) {
    return 183 - 5 * step - (step >= 14 ? 21 : 0);
}

void NoteInView::setScale(double scale) {
    scale_ = scale > 0 ? scale : 1.0;
    resizeToScale();
}

void NoteInView::setSymbolsShown(bool shown) {
    symbolsShown_ = shown;
    resizeToScale();
}

void NoteInView::resizeToScale() {
    resize(static_cast<int>(std::lround(kWidth * scale_)),
           static_cast<int>(std::lround(logicalHeight() * scale_)));
}

void NoteInView::forgetShownNote() {
    shownStep_ = kNothingShown;
    shownSymbol_ = kNothingShown;
}

bool NoteInView::showChoice(const NoteEntryChoice& choice) {
    if (choice.Step == shownStep_ && choice.Symbol == shownSymbol_)
        return false;
    choice_ = choice;
    shownStep_ = choice.Step;
    shownSymbol_ = choice.Symbol;
    update();
    return true;
}

void NoteInView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(scale_, scale_);
    const double w = kWidth;
    const QRectF area(0, 0, w, logicalHeight());
    if (highColour_)
        drawStaffPaper(p, area);
    else
        p.fillRect(area, Qt::white);
    const QColor line = highColour_ ? kGrey : kInk;
    drawGuideLines(p, w);
    drawStaves(p, w, line);
    if (shownStep_ == kNothingShown)
        return;
    drawLedgerLines(p, choice_.Step, line);
    drawEnlargedNote(p, choice_.Step, symbolsShown_ ? choice_.Symbol : kNoAccidental);
    if (symbolsShown_)
        drawAccidentalChoices(p, w, choice_.Accidental);
    drawNameText(p, w, choice_);
}

// ---------------------------------------------------------------------------------------------

StaffNoteEntry::StaffNoteEntry(StaffWidget* staff, QWidget* panelParent, const CursorTable* cursors,
                               QObject* parent)
    : QObject(parent), staff_(staff), watchedStaff_(staff),
      panelParent_(panelHost(staff, panelParent)), cursors_(cursors) {
    view_ = new NoteInView(panelParent_);
    view_->hide();
    if (staff_)
        staff_->installEventFilter(this);
}

StaffNoteEntry::~StaffNoteEntry() {
    if (active_)
        closeView();
    if (staff_)
        staff_->removeEventFilter(this);
    delete view_.data();
}

void StaffNoteEntry::setModule(int module) {
    if (active_ && module != module_)
        closeView();
    module_ = module;
}

void StaffNoteEntry::setTaskState(bool running, bool answered) {
    taskRunning_ = running;
    answered_ = answered;
}

void StaffNoteEntry::setHighColour(bool on) {
    if (view_)
        view_->setHighColour(on);
}

bool StaffNoteEntry::eventFilter(QObject* watched, QEvent* event) {
    if (watched != watchedStaff_ || staff_.isNull())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto& me = static_cast<const QMouseEvent&>(*event);
        return ImageStaffMouseDown(me.button(), toLogical(me));
    }
    case QEvent::MouseMove:
        if (!active_)
            return false;
        ImageStaffMouseMove(toLogical(static_cast<const QMouseEvent&>(*event)));
        return true;
    case QEvent::MouseButtonRelease:
        if (!active_ || static_cast<const QMouseEvent&>(*event).button() != Qt::LeftButton)
            return false;
        ImageStaffMouseUp();
        return true;
    default:
        return false;
    }
}

bool StaffNoteEntry::entryAllowed() const {
    switch (static_cast<ModuleId>(module_)) {
    case ModuleId::Intervals:
    case ModuleId::Chords:
    case ModuleId::Inversions:
        return true;
    case ModuleId::Melodies:
        return !(taskRunning_ && sightReading_);
    default:
        return false;
    }
}

bool StaffNoteEntry::ImageStaffMouseDown(Qt::MouseButton button, QPoint pos) {
    if (button == Qt::LeftButton)
        return leftPress(pos);
    if (button == Qt::RightButton)
        return rightPress();
    return false;
}

bool StaffNoteEntry::leftPress(QPoint pos) {
    if (active_ || !entryAllowed() || !staff_ || !view_)
        return false;
    active_ = true;
    key_ = staff_->keyState();
    startStep_ = entryStartStep(pos.y());
    start_ = pos;
    openView();
    ShowNoteIn(pos);
    return true;
}

bool StaffNoteEntry::rightPress() {
    if (active_) {
        closeView();
        return true;
    }
    if (module_ == kMelodies && taskRunning_ && vocalSupport_) {
        emit answer(0, kSourceVocalSupport);
        return true;
    }
    return false;
}

void StaffNoteEntry::ImageStaffMouseMove(QPoint pos) {
    ShowNoteIn(pos);
    emit activity();
}

void StaffNoteEntry::ImageStaffMouseUp() {
    const int note = choice_.Note;
    closeView();
    emit playNote(note);
    if (taskRunning_ && !answered_)
        emit answer(note, kSourceStaffNote);
}

void StaffNoteEntry::ShowNoteIn(QPoint pos) {
    choice_ = chooseEntryNote(startStep_, start_.x(), start_.y(), pos.x(), pos.y(), context());
    view_->showChoice(choice_);
}

NoteEntryContext StaffNoteEntry::context() const {
    NoteEntryContext c;
    c.Module = module_;
    c.KeyReading = melodyKeyReading(module_, melodyTonality_);
    c.Key = key_;
    c.GermanNaming = germanNaming_;
    c.Solfege = solfege_;
    c.MelodyRoot = melodyRoot_;
    return c;
}

double StaffNoteEntry::staffScale() const {
    return staff_ && staff_->height() > 0 ? staff_->height() / double(kStaffHeight) : 1.0;
}

QPoint StaffNoteEntry::toLogical(const QMouseEvent& event) const {
    const QPointF p = event.position() / staffScale();
    return QPoint(static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y())));
}

// The view stands right of the text position and reaches 40 logical pixels above the staff,
// so that its guide lines meet the staff's lines; sideways it is kept inside its parent.
void StaffNoteEntry::openView() {
    const double scale = staffScale();
    view_->setScale(scale);
    view_->setSymbolsShown(!melodyKeyReading(module_, melodyTonality_));
    view_->forgetShownNote();

    const int textX = module_ == kMelodies ? staff_->MelodyTextX : staff_->StaffTextX;
    const QPoint inStaff(static_cast<int>(std::lround((textX + 10) * scale)), 0);
    QPoint at =
        panelParent_ && panelParent_->isAncestorOf(staff_)
            ? staff_->mapTo(panelParent_, inStaff)
            : (panelParent_ ? panelParent_->mapFromGlobal(staff_->mapToGlobal(inStaff)) : inStaff);
    at.ry() -= static_cast<int>(std::lround(kViewAboveStaff * scale));
    if (panelParent_ && panelParent_->width() > view_->width())
        at.setX(std::clamp(at.x(), 0, panelParent_->width() - view_->width()));
    view_->move(at);
    view_->show();
    view_->raise();

    savedToolTip_ = staff_->toolTip();
    staff_->setToolTip(QString());
    if (cursors_) {
        savedCursor_.reset();
        if (staff_->testAttribute(Qt::WA_SetCursor))
            savedCursor_ = staff_->cursor();
        staff_->setCursor(cursors_->cursor(CursorTom));
        view_->setCursor(cursors_->cursor(CursorTom));
    }
}

void StaffNoteEntry::closeView() {
    active_ = false;
    if (view_)
        view_->hide();
    if (!staff_)
        return;
    staff_->setToolTip(savedToolTip_);
    if (cursors_) {
        if (savedCursor_)
            staff_->setCursor(*savedCursor_);
        else
            staff_->unsetCursor();
    }
}

} // namespace harmik
