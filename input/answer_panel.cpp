#include "input/answer_panel.h"

#include <algorithm>

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyle>
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
            const QString name = LoadStr(kRhythmCaption[static_cast<std::size_t>(std::min(i, 11))]);
            // The value boxes stand under their symbols, too narrow for a name: it is their hint.
            caption = i <= 8 ? QStringLiteral(" ") : QLatin1Char(' ') + name;
            if (i <= 8)
                ApplyHint(b, name);
            else
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
        b->setAccessibleName(accessibleBoxName(i));
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

QString AnswerPanel::accessibleBoxName(int index) const {
    if (module_ == kRhythm)
        return LoadStr(kRhythmCaption[static_cast<std::size_t>(std::min(index, 11))]);
    if (module_ == kInversions && index >= kFirstInversionGridBox) {
        // A grid box is named by its row's chord and its column's position.
        const int chord = index % kFirstInversionGridBox;
        const int column = index / kFirstInversionGridBox;
        return QString::fromStdString(names_.name(ModuleId::Inversions, chord)) +
               QStringLiteral(", ") +
               QString::fromStdString(
                   names_.name(ModuleId::Inversions, kFirstInversionGridBox * column));
    }
    return QString(); // the caption names the box
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

constexpr int kSmallestCaptionPoints = 6;

// The width a box needs for its tick mark and its caption in font f.
int boxNeed(const QCheckBox* b, const QFont& f) {
    const QStyle* s = b->style();
    const int mark = s->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, b) +
                     s->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, b);
    const QString text = b->text().trimmed();
    return text.isEmpty() ? mark : mark + QFontMetrics(f).horizontalAdvance(text);
}

} // namespace

// One size for every caption of the panel: the layout's size, or the largest below it at which
// every caption fits beside its tick mark and one line fits in a row.
QFont AnswerPanel::captionFont(const PanelLayout& layout, const std::vector<int>& widths) const {
    QFont f = font();
    if (layout.Boxes.empty())
        return f;
    f.setFamily(QString::fromStdString(layout.Boxes.front().FontFamily));
    int points = std::max(1, layout.Boxes.front().FontSize);
    const int rowHeight = layout.Pitch > 0 ? layout.Pitch : layout.Boxes.front().Rect.Height;
    const auto fits = [&](const QFont& candidate) {
        if (QFontMetrics(candidate).height() > rowHeight)
            return false;
        for (std::size_t i = 0; i < layout.Boxes.size() && i < boxes_.size(); ++i) {
            const AnswerBox* b = boxes_[i];
            if (!b->isHidden() && boxNeed(b, candidate) > widths[i])
                return false;
        }
        return true;
    };
    f.setPointSize(points);
    while (points > kSmallestCaptionPoints && !fits(f))
        f.setPointSize(--points);
    captionsFit_ = fits(f);
    return f;
}

void AnswerPanel::applyLayout(const PanelLayout& layout) {
    captionsFit_ = true;
    if (layout.Panel.Width <= 0)
        return; // melodies: no panel layout
    const PanelRect& r = layout.Panel;
    setGeometry(r.Left, r.Top, r.Width, r.Height);
    if (layout.PanelFontSize > 0) {
        QFont f = font();
        f.setPointSize(layout.PanelFontSize);
        setFont(f);
    }

    // Progressions: the columns share the panel's width as their longest captions need it.
    std::vector<PanelRect> rects;
    for (const BoxLayout& bl : layout.Boxes)
        rects.push_back(bl.Rect);
    if (module_ == kProgressions && layout.Rows > 0 && !layout.Boxes.empty()) {
        QFont f = font();
        f.setFamily(QString::fromStdString(layout.Boxes.front().FontFamily));
        f.setPointSize(std::max(1, layout.Boxes.front().FontSize));
        std::vector<int> need(static_cast<std::size_t>(layout.Cols), 1);
        for (std::size_t i = 0; i < rects.size() && i < boxes_.size(); ++i) {
            auto& n = need[std::min(i / static_cast<std::size_t>(layout.Rows), need.size() - 1)];
            n = std::max(n, boxNeed(boxes_[i], f));
        }
        int total = 0;
        for (int n : need)
            total += n;
        const int usable = r.Width - 15 - 4;
        std::vector<int> lefts{15};
        for (int n : need)
            lefts.push_back(lefts.back() + usable * n / total);
        for (std::size_t i = 0; i < rects.size(); ++i) {
            const std::size_t c =
                std::min(i / static_cast<std::size_t>(layout.Rows), need.size() - 1);
            rects[i].Left = lefts[c];
            rects[i].Width = lefts[c + 1] - lefts[c];
        }
    }

    // A box ends before the next box of its row and inside the panel's frame.
    std::vector<int> widths;
    for (std::size_t i = 0; i < rects.size() && i < boxes_.size(); ++i) {
        const PanelRect& own = rects[i];
        int right = r.Width - 4;
        for (std::size_t k = 0; k < layout.Boxes.size() && k < boxes_.size(); ++k) {
            const PanelRect& other = rects[k];
            if (k != i && !boxes_[k]->isHidden() && other.Top == own.Top && other.Left > own.Left)
                right = std::min(right, other.Left - 2);
        }
        widths.push_back(std::max(0, std::min(own.Width, right - own.Left)));
    }

    const bool rhythm = module_ == kRhythm;
    const QFont common = rhythm ? QFont() : captionFont(layout, widths);
    for (std::size_t i = 0; i < layout.Boxes.size() && i < boxes_.size(); ++i) {
        const BoxLayout& bl = layout.Boxes[i];
        AnswerBox* b = boxes_[i];
        QFont f = common;
        if (rhythm) {
            f = b->font();
            f.setFamily(QString::fromStdString(bl.FontFamily));
            f.setPointSize(std::max(1, bl.FontSize));
        }
        b->setFont(f);
        // A box is at least one line high, as far as its row allows.
        const int lineHeight = QFontMetrics(f).height();
        const int height = rhythm || layout.Pitch <= 0
                               ? std::max(bl.Rect.Height, lineHeight)
                               : std::clamp(lineHeight, bl.Rect.Height, layout.Pitch);
        const int top = bl.Rect.Top - (height - bl.Rect.Height) / 2;
        b->setGeometry(rects[i].Left, std::max(0, top), widths[i], height);
        b->setCaptionLeft(bl.CaptionLeft);
    }

    for (int n = 0; n < 4; ++n) {
        QLabel* label = labels_[static_cast<std::size_t>(n)];
        if (n >= layout.LabelCount)
            continue;
        label->adjustSize();
        const int centre = layout.LabelCentreX[static_cast<std::size_t>(n)];
        // The inversion labels stand just above the first row of the grid.
        const int top = module_ == kInversions
                            ? std::min(layout.LabelTop, boxes_[0]->y() - label->height())
                            : layout.LabelTop;
        label->move(centre - label->width() / 2, top);
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
