#include "input/shortcuts.h"

#include <QKeyEvent>

namespace harmik {

namespace {

int KeyCodeOf(int qtKey, bool keypad) {
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return KeyCode::Enter;
    case Qt::Key_Shift:
        return KeyCode::Shift;
    case Qt::Key_Escape:
        return KeyCode::Escape;
    case Qt::Key_Space:
        return KeyCode::Space;
    case Qt::Key_Insert:
        return KeyCode::Insert;
    case Qt::Key_Delete:
        return KeyCode::Delete;
    case Qt::Key_S:
        return KeyCode::S;
    case Qt::Key_0:
        return keypad ? KeyCode::NumPad0 : KeyCode::None;
    default:
        return KeyCode::None;
    }
}

bool StartsIdleTask(int code) {
    return code == KeyCode::Enter || code == KeyCode::S;
}

bool StopsRunningTask(int code) {
    return code == KeyCode::Escape || code == KeyCode::Insert || code == KeyCode::S ||
           code == KeyCode::NumPad0;
}

} // namespace

ShortcutKey ShortcutKeyOf(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    Qt::KeyboardModifiers state = modifiers & ~Qt::KeypadModifier;
    // Some platforms report the Shift key's own press without the Shift modifier.
    if (event.key() == Qt::Key_Shift)
        state |= Qt::ShiftModifier;
    return {KeyCodeOf(event.key(), keypad), state == Qt::ShiftModifier};
}

ShortcutActions FormKeyDownActions(ShortcutKey key, const ShortcutState& state) {
    ShortcutActions actions;
    if (state.RhythmModule && state.TaskRunning && (key.ShiftOnly || key.Code == KeyCode::Space)) {
        actions.RhythmTap = true;
        return actions;
    }
    actions.Start = !state.TaskRunning && StartsIdleTask(key.Code);
    actions.Stop = state.TaskRunning && StopsRunningTask(key.Code);
    actions.TutorMenu = state.TutorActive && key.Code == KeyCode::Escape;
    actions.Panic = key.Code == KeyCode::Delete;
    return actions;
}

bool FormKeyUpSendsRhythmOff(bool rhythmModule, bool taskRunning) {
    return rhythmModule && taskRunning;
}

} // namespace harmik
