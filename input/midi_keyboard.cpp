#include "input/midi_keyboard.h"

#include "input/shortcuts.h"
#include "midi/midi_event.h"
#include "midi/midi_input.h"
#include "userdata/messages.h"
#include "userdata/settings_record.h"

#include <algorithm>
#include <utility>

namespace harmik {

namespace {

constexpr std::uint8_t kNoteOff = 0x80;
constexpr std::uint8_t kNoteOn = 0x90;
constexpr std::uint8_t kSystem = 0xF0;

template <typename... Params, typename... Args>
void Call(const std::function<void(Params...)>& hook, Args&&... args) {
    if (hook)
        hook(std::forward<Args>(args)...);
}

std::uint8_t KindOf(std::uint8_t status) {
    return status & 0xF0;
}

bool IsNoteEvent(std::uint8_t kind) {
    return kind == kNoteOff || kind == kNoteOn;
}

// A status byte with its high bit and 7-bit data bytes; anything else a faulty driver may
// hand over is dropped rather than echoed or taken for a note.
bool IsWellFormed(const TMyMidiEvent& event) {
    return event.MidiMessage >= 0x80 && event.Data1 < 0x80 && event.Data2 < 0x80;
}

// Notes go out on the thru channel; every other message keeps its own status.
std::uint8_t ThruStatus(std::uint8_t status, int thruChannel) {
    const std::uint8_t kind = KindOf(status);
    if (!IsNoteEvent(kind))
        return status;
    return std::uint8_t(kind + std::clamp(thruChannel, 1, 16) - 1);
}

} // namespace

MidiKeyboard::MidiKeyboard(SettingsRecord& settings, MidiKeyboardHooks hooks)
    : settings_(settings), hooks_(std::move(hooks)) {}

void MidiKeyboard::drainInput(TMidiInput& input, qint64 messageTime) {
    // Local, so that a handler that runs a nested event loop may drain the input itself.
    TMyMidiEvent event;
    while (input.PopMidiEvent(event))
        handleEvent(event, messageTime);
}

void MidiKeyboard::handleEvent(const TMyMidiEvent& event, qint64 messageTime) {
    if (!IsWellFormed(event))
        return;
    echoOrPlayRhythm(event);
    const std::uint8_t kind = KindOf(event.MidiMessage);
    if (!IsNoteEvent(kind))
        return;
    const int note = event.Data1;
    const bool pressed = kind == kNoteOn && event.Data2 > 0;
    // A tap is timed when the driver delivered the note, not when the window got round to it.
    const qint64 noteTime = event.ArrivalMs != 0 ? qint64{event.ArrivalMs} : messageTime;
    switch (activeWindow()) {
    case MidiActiveWindow::MainWindow:
        mainWindowNote(note, pressed, noteTime);
        break;
    case MidiActiveWindow::MidiSettingsRemotePage:
        Call(hooks_.moveRemoteKeySlider, note);
        break;
    case MidiActiveWindow::TutorMessage:
        if (pressed)
            Call(hooks_.closeTutorMessageOk);
        break;
    case MidiActiveWindow::Statistics:
        statisticsNote(note, pressed);
        break;
    case MidiActiveWindow::TopTen:
        if (pressed && note == settings_.RemoteKey3)
            Call(hooks_.closeTopTenOk);
        break;
    case MidiActiveWindow::OtherSettingsPage:
    case MidiActiveWindow::Other:
        break;
    }
}

void MidiKeyboard::overflow(QWidget* parent) {
    MessageRequest request;
    request.type = MessageType::Plain;
    request.text = QStringLiteral("MIDI OVERFLOW");
    ShowMessage(parent, request);
}

void MidiKeyboard::toggleListening() {
    settings_.MidiListen = settings_.MidiListen ? 0 : 1;
    Call(hooks_.listeningChanged, settings_.MidiListen != 0);
}

bool MidiKeyboard::toggleThru() {
    settings_.MidiThruOn = settings_.MidiThruOn ? 0 : 1;
    return settings_.MidiThruOn != 0;
}

// While the rhythm runs in its module, a key plays the rhythm sound with its own velocity and
// nothing at all goes to the thru device.
void MidiKeyboard::echoOrPlayRhythm(const TMyMidiEvent& event) {
    const std::uint8_t kind = KindOf(event.MidiMessage);
    if (ask(hooks_.rhythmModule) && ask(hooks_.rhythmRunning)) {
        if (kind == kNoteOn)
            Call(hooks_.rhythmNote, int(event.Data2));
        return;
    }
    if (settings_.MidiThruOn && kind != kSystem)
        echoThru(event);
}

void MidiKeyboard::echoThru(const TMyMidiEvent& event) {
    TMyMidiEvent out; // no sysex data: nothing to allocate
    out.MidiMessage = ThruStatus(event.MidiMessage, settings_.ThruChannel);
    out.Data1 = event.Data1;
    out.Data2 = event.Data2;
    out.Time = event.Time;
    Call(hooks_.echo, out, settings_.MidiThruDevice == settings_.MidiOutDevice);
}

// Releases, the three remote keys, and every other key held, named and judged; each note
// event lights the input lamp.
void MidiKeyboard::mainWindowNote(int note, bool pressed, qint64 messageTime) {
    if (!pressed)
        Call(hooks_.noteHeldChanged, note, false);
    else if (note == settings_.RemoteKey1)
        toggleListening();
    else if (note == settings_.RemoteKey2)
        Call(ask(hooks_.taskRunning) ? hooks_.repeat : hooks_.start);
    else if (note == settings_.RemoteKey3)
        Call(hooks_.formKeyDown, ask(hooks_.taskRunning) ? KeyCode::NumPad0 : KeyCode::Enter,
             false);
    else
        heldNote(note, messageTime);
    Call(hooks_.lightInputLamp);
}

void MidiKeyboard::heldNote(int note, qint64 messageTime) {
    Call(hooks_.noteHeldChanged, note, true);
    if (!settings_.MidiListen)
        return;
    if (ask(hooks_.rhythmModule) && ask(hooks_.rhythmRunning))
        Call(hooks_.rhythmTap, messageTime);
    else if (ask(hooks_.taskRunning) && !ask(hooks_.exerciseAnswered))
        Call(hooks_.judge, note, kSourceMidiKeyboard);
}

void MidiKeyboard::statisticsNote(int note, bool pressed) {
    if (!pressed || note != settings_.RemoteKey3)
        return;
    if (ask(hooks_.tutorActive))
        Call(hooks_.clickStatisticsFocusedControl);
    else
        Call(hooks_.closeStatisticsOk);
}

bool MidiKeyboard::ask(const std::function<bool()>& question) const {
    return question && question();
}

MidiActiveWindow MidiKeyboard::activeWindow() const {
    return hooks_.activeWindow ? hooks_.activeWindow() : MidiActiveWindow::Other;
}

} // namespace harmik
