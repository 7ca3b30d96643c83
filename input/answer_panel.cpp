#include "input/answer_panel.h"

#include <algorithm>

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QToolTip>

#include "input/cursor_table.h"
#include "theory/generator_options.h"
#include "theory/item_names.h"
#include "userdata/hints.h"
#include "userdata/settings_record.h"
#include "userdata/strings.h"

namespace harmik {

namespace {

constexpr int kIntervals = 1;
constexpr int kInversions = 4;
constexpr int kProgressions = 5;
constexpr int kRhythm = 7;
constexpr int kBoxHelpContext = 101;
constexpr int kFirstInversionGridBox = 7;
constexpr int kIntervalBoxCount = 36;

// String ids used by the panel.
constexpr int kHintChoose = 3008;     // "Выбор"
constexpr int kHintChooseLong = 3010; // how to tick, drag and preview
constexpr int kHintAnswer = 3011;     // during a task
constexpr int kHintTutor = 3012;      // selection fixed by the tutor

// Rhythm boxes: the value and triplet names (0..8) and the rest, dot and tie options (9..11)
// with their hints.
constexpr std::array<int, 12> kRhythmCaption{420, 421, 422, 423, 424, 427,
                                             428, 429, 430, 400, 402, 404};
constexpr std::array<int, 3> kRhythmOptionHint{401, 403, 405};

bool validModule(int m) {
    return m >= 1 && m <= 7;
}

} // namespace

// ---------------------------------------------------------------- AnswerBox

AnswerBox::AnswerBox(int index, AnswerPanel* panel)
    : QCheckBox(panel), index_(index), panel_(panel) {}

void AnswerBox::setCaptionLeft(bool left) {
    setLayoutDirection(left ? Qt::RightToLeft : Qt::LeftToRight);
}

bool AnswerBox::captionLeft() const {
    return layoutDirection() == Qt::RightToLeft;
}

bool AnswerBox::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

void AnswerBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton && panel_->ProblemMouseDown(this, Qt::RightButton)) {
        event->accept();
        return;
    }
    QCheckBox::mousePressEvent(event);
}

void AnswerBox::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) &&
        panel_->ProblemMouseMove(this, mapTo(panel_, event->position().toPoint()))) {
        event->accept();
        return;
    }
    QCheckBox::mouseMoveEvent(event);
}

void AnswerBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && panel_->ProblemEndDrag(this)) {
        // The drag has set the boxes; the release is no click.
        setDown(false);
        event->accept();
        return;
    }
    QCheckBox::mouseReleaseEvent(event);
}

bool AnswerBox::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip && !showHint_) {
        QToolTip::hideText();
        event->accept();
        return true;
    }
    return QCheckBox::event(event);
}

// ---------------------------------------------------------------- PanelBevel

void PanelBevel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor colour = palette().color(QPalette::WindowText);
    if (width() <= 2) {
        p.fillRect(rect(), colour);
        return;
    }
    p.setPen(QPen(colour, 1));
    const int x = 2;
    const int right = width() - 1;
    const int bottom = height() - 1;
    p.drawLine(x, 0, right, 0);
    p.drawLine(x, 0, x, bottom);
    p.drawLine(x, bottom, right, bottom);
}

// ---------------------------------------------------------------- AnswerPanel

AnswerPanel::AnswerPanel(SettingsRecord& settings, const CursorTable& cursors,
                         const ItemNameList& names, QWidget* parent)
    : QGroupBox(parent), settings_(settings), cursors_(cursors), names_(names) {
    setObjectName(QStringLiteral("Group_Problem"));
    // The boxes first, so that a box's index is its position among the panel's children.
    for (int i = 0; i < kBoxCount; ++i) {
        auto* box = new AnswerBox(i, this);
        box->setObjectName(QStringLiteral("Problem%1").arg(i));
        box->setProperty("HelpContext", kBoxHelpContext);
        box->setCursor(cursors_.cursor(CursorSmallHand));
        box->hide();
        connect(box, &QAbstractButton::clicked, this, [this, i] { ProblemCheck(i); });
        boxes_[static_cast<std::size_t>(i)] = box;
    }
    for (int n = 0; n < 4; ++n) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("LabOktav%1").arg(n + 1));
        label->hide();
        labels_[static_cast<std::size_t>(n)] = label;
    }
    for (int n = 0; n < 5; ++n) {
        auto* bevel = new PanelBevel(this);
        bevel->setObjectName(QStringLiteral("Bevel%1").arg(n + 2));
        bevel->hide();
        bevels_[static_cast<std::size_t>(n)] = bevel;
    }
    ApplyHint(this, IdleHint());
}

AnswerBox* AnswerPanel::box(int index) const {
    return index >= 0 && index < kBoxCount ? boxes_[static_cast<std::size_t>(index)] : nullptr;
}

QLabel* AnswerPanel::LabOktav(int n) const {
    return n >= 1 && n <= 4 ? labels_[static_cast<std::size_t>(n - 1)] : nullptr;
}

PanelBevel* AnswerPanel::Bevel(int n) const {
    return n >= 2 && n <= 6 ? bevels_[static_cast<std::size_t>(n - 2)] : nullptr;
}

QString AnswerPanel::IdleHint() {
    return LoadStr(kHintChoose) + QLatin1Char('|') + LoadStr(kHintChooseLong);
}

bool AnswerPanel::boxTicked(int index) const {
    const AnswerBox* b = box(index);
    return b && b->isChecked();
}

QColor AnswerPanel::captionColour(int index) const {
    const AnswerBox* b = box(index);
    return b ? b->palette().color(QPalette::WindowText) : QColor();
}

void AnswerPanel::setTickQuietly(AnswerBox* b, bool ticked) {
    const QSignalBlocker block(b);
    b->setChecked(ticked);
}

void AnswerPanel::paintCaption(int index) {
    // Ticked: white; cleared: the group's font colour, inherited so that it follows the group.
    AnswerBox* b = box(index);
    QPalette pal;
    if (b->isChecked()) {
        pal.setColor(QPalette::WindowText, QColor(0xFF, 0xFF, 0xFF));
        pal.setColor(QPalette::ButtonText, QColor(0xFF, 0xFF, 0xFF));
    }
    b->setPalette(pal);
}

void AnswerPanel::storeTick(int index) {
    if (validModule(module_))
        settings_.AnswerChecks[module_ - 1][index] = boxTicked(index) ? 1 : 0;
}

int AnswerPanel::RecountSelected(int first, int last) {
    int count = 0;
    for (int i = std::max(0, first); i < std::min(last, static_cast<int>(kBoxCount)); ++i) {
        const AnswerBox* b = box(i);
        if (!b->isHidden() && b->isChecked())
            ++count;
    }
    selectedCount_ = count;
    return count;
}

void AnswerPanel::CopySelection(GeneratorOptions& options) const {
    for (int i = 0; i < kBoxCount; ++i) {
        options.AnswerChecks[static_cast<std::size_t>(i)] = box(i)->isChecked();
        options.AnswerVisible[static_cast<std::size_t>(i)] = !box(i)->isHidden();
    }
    options.AnswerBoxCount = answerBoxCount_;
    options.SelectedCount = selectedCount_;
}

void AnswerPanel::PlaceChecks(const QString& title, int count) {
    module_ = settings_.CurrentModule;
    count = std::clamp(count, 0, static_cast<int>(kBoxCount));
    setTitle(title);

    // Step 2: visibility.
    for (int i = 0; i < kBoxCount; ++i)
        box(i)->setHidden(i >= count);
    if (module_ == kInversions)
        for (int i = 28; i <= 30 && i < count; ++i)
            box(i)->hide();

    // Step 3: captions, ticks, the count of ticked and shown boxes.
    int selected = 0;
    for (int i = 0; i < kBoxCount; ++i) {
        AnswerBox* b = box(i);
        ApplyHint(b, QString());
        b->setShowHint(true);
        if (i >= count)
            continue;
        QString caption;
        if (module_ == kRhythm) {
            caption = QLatin1Char(' ') +
                      LoadStr(kRhythmCaption[static_cast<std::size_t>(std::min(i, 11))]);
            if (i >= 9 && i <= 11)
                ApplyHintId(b, kRhythmOptionHint[static_cast<std::size_t>(i - 9)]);
        } else if (module_ == kInversions && i >= kFirstInversionGridBox) {
            caption = QStringLiteral(" ");
        } else if (validModule(module_)) {
            caption = QLatin1Char(' ') +
                      QString::fromStdString(names_.name(static_cast<ModuleId>(module_), i));
        } else {
            caption = QStringLiteral(" ");
        }
        b->setText(caption);
        b->setCursor(cursors_.cursor(CursorSmallHand));
        setTickQuietly(b, validModule(module_) && settings_.AnswerChecks[module_ - 1][i] != 0);
        paintCaption(i);
        const bool counted = module_ != kInversions || i >= kFirstInversionGridBox;
        if (counted && b->isChecked() && !b->isHidden())
            ++selected;
    }
    placeColumnLabels();

    // Step 4.
    answerBoxCount_ = count;
    selectedCount_ = selected;
    emit screenLayoutRequested();
}

void AnswerPanel::placeColumnLabels() {
    for (QLabel* label : labels_)
        label->hide();
    if (module_ == kInversions) {
        // The columns of the grid: root position and the first to third inversions, named as
        // the item-name list names the grid's rows (entries 7, 14, 21, 28).
        for (int n = 0; n < 4; ++n) {
            QLabel* label = labels_[static_cast<std::size_t>(n)];
            label->setText(QString::fromStdString(
                names_.name(ModuleId::Inversions, kFirstInversionGridBox * (n + 1))));
            label->show();
        }
    } else if (module_ == kIntervals) {
        labels_[0]->setText(QStringLiteral("+1 ") + QString::fromStdString(names_.RangeWord));
        labels_[1]->setText(QStringLiteral("+2 ") + QString::fromStdString(names_.OctavesWord));
        const int range = settings_.ExerciseOptions.Range;
        labels_[0]->setVisible(range >= 1);
        labels_[1]->setVisible(range >= 2);
    }
}

void AnswerPanel::ApplyIntervalRange(int rangeIndex) {
    settings_.ExerciseOptions.Range = static_cast<std::uint8_t>(std::clamp(rangeIndex, 0, 2));
    if (module_ != kIntervals)
        return;
    const auto named = [this](int i) {
        box(i)->setText(QLatin1Char(' ') +
                        QString::fromStdString(names_.name(ModuleId::Intervals, i)));
    };
    switch (rangeIndex) {
    case 0:
        for (int i = 13; i <= 35; ++i)
            box(i)->hide();
        labels_[0]->hide();
        labels_[1]->hide();
        for (int i = 12; i <= 17; ++i)
            named(i);
        break;
    case 1:
        for (int i = 13; i <= 24; ++i)
            box(i)->show();
        for (int i = 25; i <= 35; ++i)
            box(i)->hide();
        labels_[0]->show();
        labels_[1]->hide();
        box(12)->setText(QString());
        for (int i = 13; i <= 24; ++i)
            named(i);
        break;
    default:
        for (int i = 12; i <= 35; ++i) {
            box(i)->show();
            box(i)->setText(QString());
        }
        labels_[0]->show();
        labels_[1]->show();
        break;
    }
    RecountSelected(0, kIntervalBoxCount);
}

PanelLayout AnswerPanel::EarDoProblemGroup(PanelLayoutInput input) {
    input.Module = module_;
    input.AnswerBoxCount = module_ == kRhythm ? 12 : answerBoxCount_;
    input.LongestItemName = LongestItemName(module_, names_);
    input.LabelFontHeight = labelFontHeight();
    const PanelLayout layout = ComputePanelLayout(input, taskRunning_);
    applyLayout(layout);
    return layout;
}

int AnswerPanel::labelFontHeight() const {
    const QFont f = labels_[0]->font();
    return f.pixelSize() > 0 ? f.pixelSize() : FontPixelHeight(f.pointSize());
}

namespace {

// The caption's font at the layout's size, made smaller where the caption would not fit beside
// the tick mark in the box's width (narrow windows, long names).
QFont fittedFont(QFont f, int points, const QString& caption, int boxWidth) {
    constexpr int kMinimumPoints = 6;
    constexpr int kTickMarkWidth = 22;
    f.setPointSize(points);
    while (points > kMinimumPoints &&
           QFontMetrics(f).horizontalAdvance(caption) + kTickMarkWidth > boxWidth)
        f.setPointSize(--points);
    return f;
}

} // namespace

void AnswerPanel::applyLayout(const PanelLayout& layout) {
    if (layout.Panel.Width <= 0)
        return; // melodies: no panel layout
    const PanelRect& r = layout.Panel;
    setGeometry(r.Left, r.Top, r.Width, r.Height);
    if (layout.PanelFontSize > 0) {
        QFont f = font();
        f.setPointSize(layout.PanelFontSize);
        setFont(f);
    }

    for (std::size_t i = 0; i < layout.Boxes.size() && i < boxes_.size(); ++i) {
        const BoxLayout& bl = layout.Boxes[i];
        AnswerBox* b = boxes_[i];
        b->setGeometry(bl.Rect.Left, bl.Rect.Top, bl.Rect.Width, bl.Rect.Height);
        b->setCaptionLeft(bl.CaptionLeft);
        QFont f = b->font();
        f.setFamily(QString::fromStdString(bl.FontFamily));
        b->setFont(fittedFont(f, std::max(1, bl.FontSize), b->text(), bl.Rect.Width));
    }

    for (int n = 0; n < 4; ++n) {
        QLabel* label = labels_[static_cast<std::size_t>(n)];
        if (n >= layout.LabelCount)
            continue;
        label->adjustSize();
        const int centre = layout.LabelCentreX[static_cast<std::size_t>(n)];
        label->move(centre - label->width() / 2, layout.LabelTop);
    }

    for (std::size_t n = 0; n < bevels_.size(); ++n) {
        const PanelRect& br = layout.Bevels[n];
        bevels_[n]->setGeometry(br.Left, br.Top, br.Width, br.Height);
        bevels_[n]->setVisible(layout.BevelShown[n]);
    }

    // Step 6: hints. A task's or the tutor's hint stays while they last.
    if (module_ == kRhythm) {
        ApplyHint(this, QString());
    } else {
        if (!taskRunning_ && !tutorActive_)
            ApplyHint(this, IdleHint());
        if (module_ == kIntervals)
            clearBoxHints();
    }
}

void AnswerPanel::ProblemCheck(int index) {
    AnswerBox* b = box(index);
    if (!b)
        return;
    if (taskRunning_) {
        // An answer: the box stays ticked, the handler is not entered again.
        setTickQuietly(b, true);
        if (module_ != kRhythm && !answerShown_)
            emit answerGiven(index);
        return;
    }
    if (tutorActive_) {
        // The tutor fixes the selection: a cleared box is ticked again, nothing else.
        if (!b->isChecked())
            setTickQuietly(b, true);
        return;
    }
    DoCheckProblem(index);
}

void AnswerPanel::DoCheckProblem(int index) {
    AnswerBox* b = box(index);
    if (!b)
        return;
    // 1. Caption colour.
    paintCaption(index);

    // 2. Inversions: box i of the first column switches the row of chord type i.
    if (module_ == kInversions && index < kFirstInversionGridBox && !isHidden()) {
        for (int k = 1; k <= 4; ++k) {
            const int target = index + kFirstInversionGridBox * k;
            setTickQuietly(box(target), b->isChecked());
            paintCaption(target);
            storeTick(target);
        }
    }

    // 3. Rhythm: the symbol's picture shows selected while its box or its partner is ticked.
    if (module_ == kRhythm && index <= 8) {
        const RhythmSymbolPair pair = RhythmSymbolOf(index);
        emit rhythmSymbolChanged(pair.Symbol, boxTicked(pair.Symbol) || boxTicked(pair.Partner));
    }

    // 4. Remember the tick and recount.
    storeTick(index);
    RecountSelected(module_ == kInversions ? kFirstInversionGridBox : 0, answerBoxCount_);
}

void AnswerPanel::setBoxTicked(int index, bool ticked) {
    AnswerBox* b = box(index);
    if (!b || b->isChecked() == ticked)
        return;
    setTickQuietly(b, ticked);
    ProblemCheck(index);
}

void AnswerPanel::setTaskRunning(bool running) {
    taskRunning_ = running;
    if (running && dragFill_ != -1) {
        if (dragSource_)
            dragSource_->setCursor(cursors_.cursor(CursorSmallHand));
        dragFill_ = -1;
        dragSource_ = nullptr;
        lastEntered_ = nullptr;
    }
}

void AnswerPanel::enableForTask() {
    for (int i = 0; i < answerBoxCount_; ++i)
        box(i)->setEnabled(box(i)->isChecked());
    if (module_ != kRhythm)
        ApplyHintId(this, kHintAnswer);
}

void AnswerPanel::clearBoxHints() {
    for (AnswerBox* b : boxes_)
        ApplyHint(b, QString());
}

AnswerBox* AnswerPanel::focusFirstBox() {
    for (int i = 0; i < answerBoxCount_; ++i) {
        AnswerBox* b = box(i);
        if (!b->isHidden() && b->isEnabled()) {
            b->setFocus(Qt::OtherFocusReason);
            return b;
        }
    }
    return nullptr;
}

void AnswerPanel::restoreAfterTask(bool tutorActive) {
    if (module_ != kRhythm) {
        if (tutorActive) {
            ApplyHintId(this, kHintTutor);
        } else {
            for (AnswerBox* b : boxes_)
                b->setShowHint(true);
            ApplyHint(this, IdleHint());
        }
    }
    if (!tutorActive)
        for (int i = 0; i < answerBoxCount_; ++i)
            box(i)->setEnabled(true);
}

AnswerBox* AnswerPanel::boxAt(const QPoint& panelPos) const {
    for (int i = 0; i < answerBoxCount_; ++i) {
        AnswerBox* b = box(i);
        if (!b->isHidden() && b->geometry().contains(panelPos))
            return b;
    }
    return nullptr;
}

bool AnswerPanel::ProblemMouseMove(AnswerBox* source, const QPoint& panelPos) {
    if (taskRunning_)
        return false;
    if (dragFill_ == -1) {
        // No threshold: the first move with the button down starts the drag, and the box it
        // starts on is the first one entered.
        dragFill_ = source->isChecked() ? 0 : 1;
        dragSource_ = source;
        source->setDown(false);
        source->setCursor(cursors_.cursor(CursorDrag));
        lastEntered_ = source;
        ProblemDragOver(source);
    }
    AnswerBox* target = boxAt(panelPos);
    if (target != lastEntered_) {
        lastEntered_ = target;
        if (target)
            ProblemDragOver(target);
    }
    return true;
}

void AnswerPanel::ProblemDragOver(AnswerBox* target) {
    if (dragFill_ == -1 || !target)
        return;
    const bool fill = dragFill_ == 1;
    if (target->isChecked() == fill)
        return;
    setTickQuietly(target, fill);
    ProblemCheck(target->index());
}

bool AnswerPanel::ProblemEndDrag(AnswerBox*) {
    if (dragFill_ == -1)
        return false;
    dragFill_ = -1;
    if (dragSource_)
        dragSource_->setCursor(cursors_.cursor(CursorSmallHand));
    dragSource_ = nullptr;
    lastEntered_ = nullptr;
    return true;
}

bool AnswerPanel::ProblemMouseDown(AnswerBox* source, Qt::MouseButton button) {
    if (button != Qt::RightButton || taskRunning_)
        return false;
    if (module_ >= kIntervals && module_ <= kProgressions)
        emit previewRequested(source->index());
    return true;
}

} // namespace harmik
