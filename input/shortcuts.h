#pragma once

class QKeyEvent;

namespace harmik {

// The main window's own key codes, as its key handlers compare them.
namespace KeyCode {
constexpr int None = 0; // a key without a shortcut
constexpr int Enter = 13;
constexpr int Shift = 16;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int Insert = 45;
constexpr int Delete = 46;
constexpr int S = 83;
constexpr int NumPad0 = 96;
} // namespace KeyCode

// A key as the window's key-down handler sees it: its code and whether the shift state is
// exactly Shift (no Ctrl, no Alt).
struct ShortcutKey {
    int Code = KeyCode::None;
    bool ShiftOnly = false;
};

// Maps a key press or release to the window's key codes: Return and Enter give 13, S 83,
// Escape 27, Space 32, Insert 45, 0 of the numeric keypad 96, Delete 46, Shift 16; any other key
// gives 0.
ShortcutKey ShortcutKeyOf(const QKeyEvent& event);

// What a key going down makes the main window do. More than one can apply (Escape stops a
// running task and also works the tutor's menu item); the window performs them in the order
// of the members.
struct ShortcutActions {
    bool RhythmTap = false; // store a tap and play the rhythm sound; nothing else happens
    bool Start = false;     // the start button (no task running)
    bool Stop = false;      // the same button stopping the running task
    bool TutorMenu = false; // the click of the tutor's menu item
    bool Panic = false;     // silence every sound

    bool any() const { return RhythmTap || Start || Stop || TutorMenu || Panic; }
    bool operator==(const ShortcutActions&) const = default;
};

// The window's state a shortcut depends on, taken when the key went down.
struct ShortcutState {
    bool RhythmModule = false;
    bool TaskRunning = false;
    bool TutorActive = false;
};

// The key-down decision. In the rhythm module while a task runs, any key with the shift
// state exactly Shift, and the Space bar, is a rhythm tap and nothing more. Otherwise: Enter or S
// start when no task runs; Escape, Insert, S or keypad 0 stop a running task; Escape with the tutor
// active works the tutor's menu item; Delete is the panic button. The conditions are read from the
// state before any action, so S starts an idle task without stopping it again at once.
ShortcutActions FormKeyDownActions(ShortcutKey key, const ShortcutState& state);

// Any key release in the rhythm module while a task runs silences the rhythm sound.
bool FormKeyUpSendsRhythmOff(bool rhythmModule, bool taskRunning);

} // namespace harmik
