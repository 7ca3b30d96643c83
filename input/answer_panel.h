#pragma once
#include <array>
#include <vector>

#include <QCheckBox>
#include <QGroupBox>
#include <QPointer>

#include "input/answer_layout.h"

class QLabel;

namespace harmik {

class AnswerPanel;
class CursorTable;

// A layout rectangle as a Qt rectangle, for setGeometry of the option groups.
inline QRect toQRect(const PanelRect& r) {
    return QRect(r.Left, r.Top, r.Width, r.Height);
}
struct GeneratorOptions;
struct ItemNameList;
struct SettingsRecord;

// One answer check box ("Problem0".."Problem50"): a check box that hands its right press,
// its drag moves and its release to the panel (ProblemMouseDown, ProblemMouseMove,
// ProblemDragOver, ProblemEndDrag).
class AnswerBox : public QCheckBox {
    Q_OBJECT
public:
    AnswerBox(int index, AnswerPanel* panel);

    int index() const { return index_; }
    // The caption stands left of the box (intervals 0..11) or right of it.
    void setCaptionLeft(bool left);
    bool captionLeft() const;
    // The box's own hints (ShowHint): when off, its tooltip is not shown.
    void setShowHint(bool on) { showHint_ = on; }
    bool showHint() const { return showHint_; }

protected:
    // The whole box takes the click, caption or not (the grid boxes have a blank caption).
    bool hitButton(const QPoint& pos) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    int index_;
    AnswerPanel* panel_;
    bool showHint_ = true;
};

// A bracket of the scale module's panel or the inversion module's vertical line
// (Bevel2..Bevel6): a one-pixel-wide rectangle is drawn as a line, a wider one as "[".
class PanelBevel : public QWidget {
    Q_OBJECT
public:
    explicit PanelBevel(QWidget* parent) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The answer-choice panel `Group_Problem`: the 51 answer boxes, their captions,
// layout and selection rules, the remembered ticks (AnswerChecks of the SettingsRecord), drag
// selection, the right-click preview request, the inversion row switches, the rhythm symbol
// boxes and the tutor lock. The main window owns it, connects its signals (answerGiven to
// the judge with source 1, previewRequested to the module's generator and player,
// screenLayoutRequested to EarDoScreen) and tells it about the task and the tutor.
class AnswerPanel : public QGroupBox {
    Q_OBJECT
public:
    static constexpr int kBoxCount = kAnswerBoxTotal;

    // The boxes are created here, once, in index order 0..50, hidden until PlaceChecks.
    AnswerPanel(SettingsRecord& settings, const CursorTable& cursors, const ItemNameList& names,
                QWidget* parent = nullptr);

    AnswerBox* box(int index) const;
    // The column labels LabOktav1..LabOktav4 (n = 1..4) and the brackets Bevel2..Bevel6.
    QLabel* LabOktav(int n) const;
    PanelBevel* Bevel(int n) const;

    // The module the boxes are set up for (CurrentModule at the last PlaceChecks).
    int Module() const { return module_; }
    int AnswerBoxCount() const { return answerBoxCount_; }
    int SelectedCount() const { return selectedCount_; }
    // −1 when no drag is under way, else the tick a drag gives to every box it enters.
    int DragFill() const { return dragFill_; }

    // Sets the boxes up for CurrentModule: caption, visibility (inversions hide 28..30),
    // captions " " + item name (inversion grid 7.. " "; rhythm strings 420..430, 400/402/404),
    // ticks from AnswerChecks, caption colours, column labels, AnswerBoxCount and
    // SelectedCount; then emits screenLayoutRequested (EarDoScreen).
    void PlaceChecks(const QString& title, int count);

    // Lays the panel out for the window (EarDoProblemGroup; rhythm: the fixed layout
    // and EarDoScreen's size and centring). The input's Module, AnswerBoxCount and
    // LongestItemName are taken from the panel, LabelFontHeight from the panel's font. Moves the
    // panel, its boxes, labels and brackets, sets the hints of step 6, and returns the whole
    // layout, option groups included, for the main window to place what it owns.
    PanelLayout EarDoProblemGroup(PanelLayoutInput input);
    // Whether every caption of the last layout fits its box at the smallest caption size.
    bool captionsFit() const { return captionsFit_; }

    // The click handler `ProblemCheck` of box `index` (after its tick has changed): the answer
    // during a task, the tutor lock, or DoCheckProblem.
    void ProblemCheck(int index);
    // Applies a changed tick between tasks: caption colour, inversion row switch, rhythm
    // symbol, AnswerChecks and the SelectedCount recount.
    void DoCheckProblem(int index);
    // Sets a box's tick the way a click between tasks does (item groups, EarFill): nothing
    // when the tick is already so, otherwise the tick changes and ProblemCheck runs.
    void setBoxTicked(int index, bool ticked);
    bool boxTicked(int index) const;

    // The selection as the generators read it: ticked and shown states of the 51 boxes,
    // AnswerBoxCount and SelectedCount.
    void CopySelection(GeneratorOptions& options) const;

    // Recounts SelectedCount over boxes first..last−1 that are shown and ticked.
    int RecountSelected(int first, int last);

    // Intervals: the range step of RadioOmfangClick: show, hide and caption boxes
    // 12..35 and the range labels for range index 0, 1 or 2, recount SelectedCount over boxes
    // 0..35 and store Range. Outside the interval module only Range is stored.
    void ApplyIntervalRange(int rangeIndex);

    // Task seams.
    void setTutorActive(bool active) { tutorActive_ = active; }
    bool tutorActive() const { return tutorActive_; }
    void setTaskRunning(bool running);
    bool taskRunning() const { return taskRunning_; }
    void setAnswerShown(bool shown) { answerShown_ = shown; }
    bool answerShown() const { return answerShown_; }

    // Task start steps 15 and 19: every box in use enabled exactly when ticked; the group's
    // hint string 3011 (not in rhythm).
    void enableForTask();
    // Task start step 19 (modules 1..5): the keyboard focus goes to the first box in use
    // that can take it (shown and enabled). Returns that box or nullptr.
    AnswerBox* focusFirstBox();
    // Task stop steps 5 and 9: all modules but rhythm: with the tutor the group's hint is
    // string 3012; otherwise every box shows hints again and the hint is 3008 + "|" + 3010.
    // Without the tutor every box in use is enabled.
    void restoreAfterTask(bool tutorActive);
    // The interval module's step of EarDoProblemGroup: every box's own hint is cleared (the
    // group's hint shows over them).
    void clearBoxHints();
    // The group hint of EarDoProblemGroup step 6: 3008 + "|" + 3010.
    static QString IdleHint();

    // The caption colour of a box: white when ticked, the group's font colour when cleared.
    QColor captionColour(int index) const;

    // Drag handling, called by the boxes with positions in the panel.
    bool ProblemMouseMove(AnswerBox* source, const QPoint& panelPos);
    bool ProblemEndDrag(AnswerBox* source);
    void ProblemDragOver(AnswerBox* target);
    // Right press: emits previewRequested between tasks.
    bool ProblemMouseDown(AnswerBox* source, Qt::MouseButton button);

signals:
    // A click on a box during a task (not in rhythm, not once the answer is shown): the judge
    // takes it with source 1.
    void answerGiven(int itemIndex);
    // A right click between tasks (modules 1..5): play an example of the item.
    void previewRequested(int itemIndex);
    // Rhythm boxes 0..8: the symbol (0..4) whose picture changes and whether it shows
    // selected (copy RhythmSymbolCopy(symbol, selected) onto ImageRytmeValg).
    void rhythmSymbolChanged(int symbol, bool selected);
    // PlaceChecks is done: run EarDoScreen.
    void screenLayoutRequested();

private:
    // What a screen reader says for box `index` where its caption says nothing.
    QString accessibleBoxName(int index) const;
    void setTickQuietly(AnswerBox* box, bool ticked);
    void paintCaption(int index);
    void storeTick(int index);
    AnswerBox* boxAt(const QPoint& panelPos) const;
    void placeColumnLabels();
    void applyLayout(const PanelLayout& layout);
    QFont captionFont(const PanelLayout& layout, const std::vector<int>& widths) const;
    int labelFontHeight() const;

    SettingsRecord& settings_;
    const CursorTable& cursors_;
    const ItemNameList& names_;
    std::array<AnswerBox*, kBoxCount> boxes_{};
    std::array<QLabel*, 4> labels_{};
    std::array<PanelBevel*, 5> bevels_{};

    int module_ = 0;
    int answerBoxCount_ = 0;
    int selectedCount_ = 0;
    int dragFill_ = -1;
    QPointer<AnswerBox> dragSource_;
    QPointer<AnswerBox> lastEntered_;
    bool tutorActive_ = false;
    bool taskRunning_ = false;
    bool answerShown_ = false;
    mutable bool captionsFit_ = true;
};

} // namespace harmik
