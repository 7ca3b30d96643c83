#pragma once
#include <QtGlobal>
#include <cstdint>
#include <functional>

class QWidget;

namespace harmik {

class TMidiInput;
struct SettingsRecord;
struct TMyMidiEvent;

// Answer source number of the MIDI keyboard.
constexpr int kSourceMidiKeyboard = 5;

// The window that has the user's attention when a MIDI event arrives; it decides what a note
// does beyond the thru echo.
enum class MidiActiveWindow {
    MainWindow,
    MidiSettingsRemotePage, // the MIDI settings dialog showing its remote-key page
    OtherSettingsPage,
    TutorMessage,
    Statistics,
    TopTen,
    Other,
};

// Everything the MIDI keyboard asks of the program. Built once; an empty member is skipped
// (an empty question answers false, an empty window answers Other).
struct MidiKeyboardHooks {
    std::function<MidiActiveWindow()> activeWindow;
    std::function<bool()> taskRunning;
    std::function<bool()> exerciseAnswered;
    std::function<bool()> rhythmModule;
    std::function<bool()> rhythmRunning;
    std::function<bool()> tutorActive;

    // Main window.
    std::function<void(int note, int source)> judge;
    std::function<void()> start;                          // the start button
    std::function<void()> repeat;                         // repeat the running exercise
    std::function<void(int key, bool shift)> formKeyDown; // the window's key-down handler
    std::function<void(bool listening)> listeningChanged; // button and menu check
    // NoteHeld[note] := held, then the status panel shows the chord name of the held notes.
    std::function<void(int note, bool held)> noteHeldChanged;
    std::function<void()> lightInputLamp;
    // A tap at the time the note arrived (the window message's time when that is unknown).
    std::function<void(qint64 noteTime)> rhythmTap;
    // The rhythm sound on the MIDI output: NoteOn(MidiOutDevice, RhythmChannel, RhythmSound,
    // velocity); velocity 0 silences it.
    std::function<void(int velocity)> rhythmNote;
    // Send the event through the MIDI output when `throughMidiOut` (the thru device is the
    // output device), else through the thru output.
    std::function<void(const TMyMidiEvent& event, bool throughMidiOut)> echo;

    // Other windows.
    std::function<void(int note)> moveRemoteKeySlider; // the focused one, else the first
    std::function<void()> closeTutorMessageOk;
    std::function<void()> closeStatisticsOk;
    std::function<void()> clickStatisticsFocusedControl;
    std::function<void()> closeTopTenOk;
};

// The main window's MIDI input handler, apart from the window: echoes what the keyboard plays
// to the thru device, plays the rhythm sound while a rhythm runs, holds and names notes,
// judges them, taps rhythms, and works the three remote-control keys in whichever window is
// active. Runs on the main thread and never allocates per event.
class MidiKeyboard {
public:
    MidiKeyboard(SettingsRecord& settings, MidiKeyboardHooks hooks);

    // Handles every waiting event of the input; `messageTime` is the time of the window
    // message that announced them, shared by all.
    void drainInput(TMidiInput& input, qint64 messageTime);
    // Handles one event.
    void handleEvent(const TMyMidiEvent& event, qint64 messageTime);
    // An event was lost to a full input ring.
    void overflow(QWidget* parent);

    // The listening button and menu item: MidiListen := not MidiListen.
    void toggleListening();
    // The thru menu item: MidiThruOn := not MidiThruOn; returns the new state for the check.
    bool toggleThru();

private:
    void echoOrPlayRhythm(const TMyMidiEvent& event);
    void echoThru(const TMyMidiEvent& event);
    void mainWindowNote(int note, bool pressed, qint64 messageTime);
    void heldNote(int note, qint64 messageTime);
    void statisticsNote(int note, bool pressed);
    bool ask(const std::function<bool()>& question) const;
    MidiActiveWindow activeWindow() const;

    SettingsRecord& settings_;
    MidiKeyboardHooks hooks_;
};

} // namespace harmik
