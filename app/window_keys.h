#pragma once
#include "input/shortcuts.h"

#include <QObject>
#include <memory>

namespace harmik {

class MidiKeyboard;
class TForm1;
class UserSound;

// The keys that reach the main window: the MIDI keyboard (answers, remote keys, thru,
// listening) and the computer keyboard's shortcuts (rhythm tap, start, stop, panic), which the
// window sees before its controls do.
class WindowKeys : public QObject {
    Q_OBJECT
public:
    WindowKeys(TForm1& window, UserSound& userSound);
    ~WindowKeys() override;

    // The handler of the MIDI keyboard (made on first use).
    MidiKeyboard& midiKeyboard();
    // The MIDI input's events go to the handler.
    void connectMidiInput();
    // The input's handlers: every waiting event drained and handled; the overflow message.
    void MidiInput1MidiInput();
    void MIDIInput1OnOverflow();

    // A key going down; `timestamp` is the key event's own time (0: none, taken as now).
    ShortcutActions FormKeyDown(ShortcutKey key, qint64 timestamp = 0);
    void FormKeyUp();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TForm1& w_;
    UserSound& userSound_;
    std::unique_ptr<MidiKeyboard> midiKeyboard_;
};

} // namespace harmik
