#pragma once
#include <optional>

#include <QCursor>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "theory/keys.h"

class QMouseEvent;

namespace harmik {

class CursorTable;
class StaffWidget;

// Answer source numbers of the staff: a written note, and the vocal-support request.
constexpr int kSourceVocalSupport = 2;
constexpr int kSourceStaffNote = 6;

// The step a note entry starts on, from the row pressed (staff logical pixels): the bass
// staff below row 62, the treble staff above it; always 0..27.
int entryStartStep(int y);

// The melody module reads the written step in its key unless the tonality is chromatic (6).
bool melodyKeyReading(int module, int tonality);

// What the choice of a note depends on besides the mouse.
struct NoteEntryContext {
    int Module = 1;
    bool KeyReading = false;     // melody module, non-chromatic tonality: sideways is ignored
    std::optional<KeyState> Key; // the melody module's key with the bar's accidentals
    bool GermanNaming = false;
    bool Solfege = false;
    int MelodyRoot = 60;
};

// The note chosen by the mouse: step 0..27, accidental code 0..4, MIDI note, the symbol
// written beside the head (2 none, kNaturalSign a natural), its name and solfege syllable.
struct NoteEntryChoice {
    int Step = 0;
    int Accidental = 2;
    int Note = 36;
    int Symbol = 2;
    QString Name;
    QString Syllable;
};

// The note for the mouse at (x, y) after a press at (startX, startY) on startStep: every 10
// pixels up one step, every full 25 pixels right one sharp more and left one flat more.
NoteEntryChoice chooseEntryNote(int startStep, int startX, int startY, int x, int y,
                                const NoteEntryContext& context);

// The enlarged note view shown during note entry: the grand staff with the chosen note, its
// accidental and its name, and grey guide lines joining the staff lines to the view's. Its
// coordinates are logical pixels with 10 between staff lines, scaled like the staff picture
// so that the guide lines meet the staff's lines.
class NoteInView : public QWidget {
    Q_OBJECT
public:
    // A fixed width: room for a double flat, the head, its ledger lines and the name.
    static constexpr int kWidth = 90;
    static constexpr int kHeight = 215;
    static constexpr int kHeightWithoutSymbols = 195;
    static constexpr int kNothingShown = 999;

    explicit NoteInView(QWidget* parent = nullptr);

    // The staff picture's pixels per logical pixel; the view is sized to match.
    void setScale(double scale);
    double scale() const { return scale_; }
    // Without the accidental symbols the view is lower and writes no accidental.
    void setSymbolsShown(bool shown);
    bool symbolsShown() const { return symbolsShown_; }
    void setHighColour(bool on) { highColour_ = on; }
    int logicalHeight() const { return symbolsShown_ ? kHeight : kHeightWithoutSymbols; }

    // Forgets the shown note, so that the next choice is drawn in any case.
    void forgetShownNote();
    // Shows a choice; true when its step or symbol differs from the shown one and the view
    // is drawn again.
    bool showChoice(const NoteEntryChoice& choice);
    int shownStep() const { return shownStep_; }
    int shownSymbol() const { return shownSymbol_; }

    // Row of the head of a step: 5 pixels a step, the treble staff 21 pixels higher.
    static int headY(int step);
    // Centre of the head.
    static constexpr double kHeadX = 44.5;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void resizeToScale();

    NoteEntryChoice choice_;
    int shownStep_ = kNothingShown;
    int shownSymbol_ = kNothingShown;
    double scale_ = 1.0;
    bool symbolsShown_ = true;
    bool highColour_ = true;
};

// Note entry on the staff: a left press opens the note view, moving chooses the step (up and
// down) and the accidental (sideways), the release plays the note and answers with it; a
// right press cancels, or asks for vocal support in the melody module. The view is placed in
// `panelParent` (the window's central area) over the staff.
class StaffNoteEntry : public QObject {
    Q_OBJECT
public:
    // `cursors` may be null (the cursor is then left alone); without `panelParent` the view
    // is placed in the staff's parent.
    StaffNoteEntry(StaffWidget* staff, QWidget* panelParent, const CursorTable* cursors = nullptr,
                   QObject* parent = nullptr);
    ~StaffNoteEntry() override;

    // A change of module cancels an open entry.
    void setModule(int module);
    void setTaskState(bool running, bool answered);
    void setSightReading(bool on) { sightReading_ = on; }
    void setVocalSupport(bool on) { vocalSupport_ = on; }
    void setMelodyTonality(int tonality) { melodyTonality_ = tonality; }
    void setGermanNaming(bool on) { germanNaming_ = on; }
    void setSolfege(bool on) { solfege_ = on; }
    void setMelodyRoot(int note) { melodyRoot_ = note; }
    void setHighColour(bool on);

    bool active() const { return active_; }
    const NoteEntryChoice& choice() const { return choice_; }
    NoteInView* view() const { return view_; }

signals:
    // The written note to sound (thru device and channel, the user's velocity, briefly).
    void playNote(int note);
    // An answer for the judge: the note with source 6, or 0 with source 2.
    void answer(int value, int source);
    // The mouse moved during the entry (the window restarts its idle countdowns).
    void activity();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The staff's mouse handlers; a press is handled (true) or passed on.
    bool ImageStaffMouseDown(Qt::MouseButton button, QPoint pos);
    bool leftPress(QPoint pos);
    bool rightPress();
    void ImageStaffMouseMove(QPoint pos);
    void ImageStaffMouseUp();
    // The note view at the pointer's position: the step and accidental chosen there.
    void ShowNoteIn(QPoint pos);
    void openView();
    void closeView();
    bool entryAllowed() const;
    NoteEntryContext context() const;
    QPoint toLogical(const QMouseEvent& event) const;
    double staffScale() const;

    QPointer<StaffWidget> staff_;
    // The staff as the filter sees it; compared without a cast, also while it is destroyed.
    const QObject* watchedStaff_ = nullptr;
    QPointer<QWidget> panelParent_;
    QPointer<NoteInView> view_;
    const CursorTable* cursors_;

    int module_ = 1;
    bool taskRunning_ = false;
    bool answered_ = false;
    bool sightReading_ = false;
    bool vocalSupport_ = false;
    int melodyTonality_ = 0;
    bool germanNaming_ = false;
    bool solfege_ = false;
    int melodyRoot_ = 60;

    bool active_ = false;
    int startStep_ = 0;
    QPoint start_;
    NoteEntryChoice choice_;
    std::optional<KeyState> key_;
    QString savedToolTip_;
    std::optional<QCursor> savedCursor_;
};

} // namespace harmik
