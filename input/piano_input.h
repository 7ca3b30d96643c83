#pragma once
#include <QObject>
#include <QPointer>
#include <QString>

#include "theory/chord_symbol.h"

class QMenu;
class QWidget;

namespace harmik {

class CursorTable;
class FretboardPicture;
class PianoPicture;
struct ItemNameList;
struct SettingsRecord;

// Answer source numbers of the two instruments.
constexpr int kSourcePianoKey = 3;
constexpr int kSourceChordMenu = 4;

// What the on-screen piano and fretboard do with presses: play and hold the note, name the
// chord of the held notes, answer on release, open the chord-type menu in the progression
// module, set the range with Ctrl between tasks, and serve as a drum pad in the rhythm module.
// Sound, judging and the status panel belong to the window: they are reached through the
// signals.
class PianoInput : public QObject {
    Q_OBJECT
public:
    // The pictures may be null (a window without them); `cursors` may be null.
    PianoInput(SettingsRecord& settings, const ItemNameList& names, PianoPicture* piano,
               FretboardPicture* fretboard, const CursorTable* cursors = nullptr,
               QObject* parent = nullptr);
    ~PianoInput() override;

    // The task cycle's state as the instruments need it.
    void setTaskState(bool running, bool answered);

    // Mouse handlers (the pictures' signals are connected to them). Positions are in the
    // picture's pixels; `timestamp` is the window message's time in milliseconds.
    void Image_KlaverMouseDown(QPointF pos, Qt::MouseButton button, qint64 timestamp = 0);
    void Image_guitarMouseDown(QPoint pos, Qt::MouseButton button, qint64 timestamp = 0);
    void Image_KlaverMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    // A choice from the chord-type menu: `chordType` is the item's tag.
    void PopDurClick(int chordType);

    // The mark of a note on both pictures (string 0: the note's own string).
    void MarkKey(int note, int fret = 0, int string = 0);
    // Redraws both pictures: clears the marks and shows the current module's range.
    void redrawInstruments();
    // The show/hide check boxes: store the choice, show or hide the picture, ask the window
    // for its layout (layoutRequested) and redraw.
    void CheckPianoClick(bool show);
    void CheckFretClick(bool show);
    // Applies the module's cursor (the drum in the rhythm module, the hand elsewhere).
    void updateCursor();

    // Held notes, shared with the MIDI keyboard; the panic button clears them.
    void setNoteHeld(int note, bool held);
    void clearNoteHeld();
    const NoteHeldFlags& noteHeld() const { return noteHeld_; }
    // The chord name of the held notes, as the status panel shows it.
    QString chordText() const;

    int heldKey() const { return heldKey_; }
    int chosenChordType() const { return chosenChordType_; }
    QMenu* chordMenu() const { return popup_; }

signals:
    // Play / silence the user's own note (thru device, thru channel, the user's velocity).
    void noteOn(int note);
    void noteOff(int note);
    // The drum pad of the rhythm module: rhythm channel, sound and volume.
    void drumOn();
    void drumOff();
    // A tap while the rhythm runs; `timestamp` is the window message's time (the window uses
    // its multimedia clock instead when the alternative timing is on).
    void rhythmTap(qint64 timestamp);
    // An answer for the judge: the note and the source (3 piano or guitar, 4 chord menu).
    void answer(int value, int source);
    // The status panel's text changed (the chord name of the held notes).
    void statusText(const QString& text);
    // LowestNote or HighestNote of the current module changed.
    void rangeChanged();
    // A picture was shown or hidden: the window lays itself out again (and may place the
    // pictures with instrumentRects).
    void layoutRequested();

private:
    int module() const;
    void press(int note, Qt::MouseButton button, QPoint menuPos);
    void drumPress(qint64 timestamp);
    void refreshStatus();
    void buildMenu();

    SettingsRecord& settings_;
    const ItemNameList& names_;
    QPointer<PianoPicture> piano_;
    QPointer<FretboardPicture> fretboard_;
    const CursorTable* cursors_;
    QMenu* popup_ = nullptr;

    NoteHeldFlags noteHeld_{};
    int heldKey_ = 0;
    int chosenChordType_ = -1;
    bool mouseDown_ = false;
    bool drumDown_ = false;
    bool menuNoteHeld_ = false;
    bool taskRunning_ = false;
    bool answered_ = false;
};

} // namespace harmik
