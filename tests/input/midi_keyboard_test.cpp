#include "input/midi_keyboard.h"

#include "loopback_support.h"
#include "midi/midi_event.h"
#include "midi/midi_input.h"
#include "userdata/messages.h"
#include "userdata/settings_record.h"

#include <QString>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace harmik;
using Log = std::vector<std::string>;

namespace {

TMyMidiEvent Midi(int status, int data1, int data2) {
    TMyMidiEvent e;
    e.MidiMessage = std::uint8_t(status);
    e.Data1 = std::uint8_t(data1);
    e.Data2 = std::uint8_t(data2);
    return e;
}

std::string Hex(int byte) {
    return QString::number(byte, 16).toStdString();
}

// The program around the MIDI keyboard: its state as plain fields, and every call it
// receives written to a log. Settings are the defaults: listening and thru on, thru channel
// 2, remote keys 97, 98, 99, output and thru device the same.
class MidiKeyboardTest : public ::testing::Test {
protected:
    MidiKeyboardHooks recordingHooks() {
        MidiKeyboardHooks h;
        h.activeWindow = [this] { return window; };
        h.taskRunning = [this] { return running; };
        h.exerciseAnswered = [this] { return answered; };
        h.rhythmModule = [this] { return rhythmModule; };
        h.rhythmRunning = [this] { return rhythmRunning; };
        h.tutorActive = [this] { return tutor; };
        h.judge = [this](int n, int source) { add("judge " + num(n) + " " + num(source)); };
        h.start = [this] { add("start"); };
        h.repeat = [this] { add("repeat"); };
        h.formKeyDown = [this](int key, bool shift) {
            add("key " + num(key) + (shift ? " shift" : ""));
        };
        h.listeningChanged = [this](bool on) { add(on ? "listening on" : "listening off"); };
        h.noteHeldChanged = [this](int n, bool held) {
            add((held ? "hold " : "release ") + num(n));
        };
        h.lightInputLamp = [this] { add("lamp"); };
        h.rhythmTap = [this](qint64 t) { add("tap " + num(int(t))); };
        h.rhythmNote = [this](int velocity) { add("rhythm " + num(velocity)); };
        h.echo = [this](const TMyMidiEvent& e, bool throughMidiOut) {
            add("echo " + Hex(e.MidiMessage) + " " + num(e.Data1) + " " + num(e.Data2) +
                (throughMidiOut ? " out" : " thru"));
        };
        h.moveRemoteKeySlider = [this](int n) { add("slider " + num(n)); };
        h.closeTutorMessageOk = [this] { add("tutor ok"); };
        h.closeStatisticsOk = [this] { add("statistics ok"); };
        h.clickStatisticsFocusedControl = [this] { add("statistics click"); };
        h.closeTopTenOk = [this] { add("top ten ok"); };
        return h;
    }
    void add(std::string s) { log.push_back(std::move(s)); }
    static std::string num(int n) { return std::to_string(n); }
    // The log of one event.
    Log play(int status, int data1, int data2, qint64 time = 1000) {
        log.clear();
        keyboard.handleEvent(Midi(status, data1, data2), time);
        return log;
    }

    SettingsRecord settings;
    MidiActiveWindow window = MidiActiveWindow::MainWindow;
    bool running = false;
    bool answered = false;
    bool rhythmModule = false;
    bool rhythmRunning = false;
    bool tutor = false;
    Log log;
    MidiKeyboard keyboard{settings, recordingHooks()};
};

TEST_F(MidiKeyboardTest, NotesAreJudgedOnlyWhileAnUnansweredTaskRuns) {
    EXPECT_EQ(play(0x90, 60, 100), (Log{"echo 91 60 100 out", "hold 60", "lamp"}));
    running = true;
    EXPECT_EQ(play(0x90, 64, 90), (Log{"echo 91 64 90 out", "hold 64", "judge 64 5", "lamp"}));
    EXPECT_EQ(play(0x80, 64, 40), (Log{"echo 81 64 40 out", "release 64", "lamp"}));
    answered = true;
    EXPECT_EQ(play(0x90, 67, 90), (Log{"echo 91 67 90 out", "hold 67", "lamp"}));
    // Other channel messages only go through.
    EXPECT_EQ(play(0xB0, 64, 127), (Log{"echo b0 64 127 out"}));
}

TEST_F(MidiKeyboardTest, VelocityZeroIsAReleaseAlsoForTheRemoteKeys) {
    settings.MidiThruOn = 0;
    EXPECT_EQ(play(0x90, 60, 0), (Log{"release 60", "lamp"}));
    for (int key : {97, 98, 99}) {
        EXPECT_EQ(play(0x90, key, 0), (Log{"release " + num(key), "lamp"}));
        EXPECT_EQ(play(0x80, key, 64), (Log{"release " + num(key), "lamp"}));
    }
    EXPECT_EQ(settings.MidiListen, 1);
}

TEST_F(MidiKeyboardTest, RemoteKeysToggleListeningStartRepeatAndEnter) {
    settings.MidiThruOn = 0;
    EXPECT_EQ(play(0x90, 97, 80), (Log{"listening off", "lamp"}));
    EXPECT_EQ(settings.MidiListen, 0);
    EXPECT_EQ(play(0x90, 97, 80), (Log{"listening on", "lamp"}));
    EXPECT_EQ(settings.MidiListen, 1);

    EXPECT_EQ(play(0x90, 98, 80), (Log{"start", "lamp"}));
    EXPECT_EQ(play(0x90, 99, 80), (Log{"key 13", "lamp"}));
    running = true;
    EXPECT_EQ(play(0x90, 98, 80), (Log{"repeat", "lamp"}));
    EXPECT_EQ(play(0x90, 99, 80), (Log{"key 96", "lamp"})) << "stops the running task";

    // The keys are read from the settings each time.
    settings.RemoteKey2 = 40;
    EXPECT_EQ(play(0x90, 40, 80), (Log{"repeat", "lamp"}));
    EXPECT_EQ(play(0x90, 98, 80), (Log{"hold 98", "judge 98 5", "lamp"}));
}

TEST_F(MidiKeyboardTest, WithListeningOffNotesAreEchoedHeldAndLitButNotJudgedOrTapped) {
    settings.MidiListen = 0;
    running = true;
    EXPECT_EQ(play(0x90, 60, 100), (Log{"echo 91 60 100 out", "hold 60", "lamp"}));
    rhythmModule = true;
    rhythmRunning = true;
    EXPECT_EQ(play(0x90, 62, 100), (Log{"rhythm 100", "hold 62", "lamp"}));
}

TEST_F(MidiKeyboardTest, ThruEchoUsesTheThruChannelForNotesOnly) {
    window = MidiActiveWindow::Other; // the echo does not depend on the window
    EXPECT_EQ(play(0x90, 60, 100), (Log{"echo 91 60 100 out"}));
    EXPECT_EQ(play(0x80, 60, 0), (Log{"echo 81 60 0 out"}));
    EXPECT_EQ(play(0x94, 60, 0), (Log{"echo 91 60 0 out"})) << "from channel 5";
    EXPECT_EQ(play(0xB0, 7, 100), (Log{"echo b0 7 100 out"}));
    EXPECT_EQ(play(0xE3, 0, 64), (Log{"echo e3 0 64 out"}));
    EXPECT_EQ(play(0xC2, 5, 0), (Log{"echo c2 5 0 out"}));
    EXPECT_EQ(play(0xF0, 0, 0), Log{}) << "sysex is never echoed";
    EXPECT_EQ(play(0xF2, 1, 2), Log{}) << "nor any system message";

    settings.MidiThruDevice = 3;
    EXPECT_EQ(play(0x90, 60, 100), (Log{"echo 91 60 100 thru"}));
    settings.MidiOutDevice = 3;
    EXPECT_EQ(play(0x90, 60, 100), (Log{"echo 91 60 100 out"}));

    settings.ThruChannel = 16;
    EXPECT_EQ(play(0x80, 60, 0), (Log{"echo 8f 60 0 out"}));
    settings.ThruChannel = 0; // out of range: kept within the 16 channels
    EXPECT_EQ(play(0x93, 60, 1), (Log{"echo 90 60 1 out"}));
    settings.ThruChannel = 40;
    EXPECT_EQ(play(0x93, 60, 1), (Log{"echo 9f 60 1 out"}));

    settings.MidiThruOn = 0;
    EXPECT_EQ(play(0x90, 60, 100), Log{});
}

TEST_F(MidiKeyboardTest, WhileTheRhythmRunsKeysPlayTheRhythmSoundAndTap) {
    rhythmModule = true;
    running = true;
    EXPECT_EQ(play(0x90, 60, 100), (Log{"echo 91 60 100 out", "hold 60", "judge 60 5", "lamp"}))
        << "rhythm module, rhythm not running";

    rhythmRunning = true;
    EXPECT_EQ(play(0x93, 60, 77, 5000), (Log{"rhythm 77", "hold 60", "tap 5000", "lamp"}));
    EXPECT_EQ(play(0x90, 60, 0), (Log{"rhythm 0", "release 60", "lamp"}));
    EXPECT_EQ(play(0x80, 60, 0), (Log{"release 60", "lamp"})) << "nothing echoed";
    EXPECT_EQ(play(0xB0, 64, 127), Log{});
    EXPECT_EQ(play(0x90, 98, 50), (Log{"rhythm 50", "repeat", "lamp"}));
}

TEST_F(MidiKeyboardTest, StatisticsAndTopTenWindowsHearOnlyRemoteKeyThree) {
    settings.MidiThruOn = 0;
    running = true;
    window = MidiActiveWindow::Statistics;
    for (int key : {60, 97, 98})
        EXPECT_EQ(play(0x90, key, 100), Log{}) << key;
    EXPECT_EQ(play(0x90, 99, 0), Log{});
    EXPECT_EQ(play(0x80, 99, 0), Log{});
    EXPECT_EQ(play(0x90, 99, 100), (Log{"statistics ok"}));
    tutor = true;
    EXPECT_EQ(play(0x90, 99, 100), (Log{"statistics click"}));
    EXPECT_EQ(settings.MidiListen, 1);

    window = MidiActiveWindow::TopTen;
    EXPECT_EQ(play(0x90, 60, 100), Log{});
    EXPECT_EQ(play(0x90, 99, 0), Log{});
    EXPECT_EQ(play(0x90, 99, 100), (Log{"top ten ok"}));

    settings.MidiThruOn = 1;
    EXPECT_EQ(play(0x90, 60, 100), (Log{"echo 91 60 100 out"}));
}

TEST_F(MidiKeyboardTest, DialogsTakeTheirNotes) {
    settings.MidiThruOn = 0;
    window = MidiActiveWindow::MidiSettingsRemotePage;
    EXPECT_EQ(play(0x90, 61, 100), (Log{"slider 61"}));
    EXPECT_EQ(play(0x80, 62, 0), (Log{"slider 62"}));
    EXPECT_EQ(play(0x90, 97, 0), (Log{"slider 97"}));
    EXPECT_EQ(play(0xB0, 63, 0), Log{});

    window = MidiActiveWindow::OtherSettingsPage;
    EXPECT_EQ(play(0x90, 61, 100), Log{});

    window = MidiActiveWindow::TutorMessage;
    EXPECT_EQ(play(0x90, 61, 0), Log{});
    EXPECT_EQ(play(0x80, 61, 64), Log{});
    EXPECT_EQ(play(0x90, 61, 1), (Log{"tutor ok"}));
}

TEST_F(MidiKeyboardTest, BytesOutsideSevenBitsAreDropped) {
    running = true;
    EXPECT_EQ(play(0x90, 200, 100), Log{});
    EXPECT_EQ(play(0x90, 255, 0), Log{});
    EXPECT_EQ(play(0x80, 60, 128), Log{});
    EXPECT_EQ(play(0xB0, 7, 200), Log{});
    EXPECT_EQ(play(0x10, 60, 100), Log{}) << "no status byte";
    rhythmModule = rhythmRunning = true;
    EXPECT_EQ(play(0x90, 60, 255), Log{});
    window = MidiActiveWindow::MidiSettingsRemotePage;
    EXPECT_EQ(play(0x90, 128, 1), Log{});
}

TEST_F(MidiKeyboardTest, TogglesAndOverflowMessage) {
    keyboard.toggleListening();
    EXPECT_EQ(log, (Log{"listening off"}));
    EXPECT_EQ(settings.MidiListen, 0);
    EXPECT_FALSE(keyboard.toggleThru());
    EXPECT_EQ(settings.MidiThruOn, 0);
    EXPECT_TRUE(keyboard.toggleThru());

    std::vector<MessageRequest> shown;
    MessageHook previous = SetMessageHook([&](const MessageRequest& r) {
        shown.push_back(r);
        return MessageAnswer::Ok;
    });
    keyboard.overflow(nullptr);
    SetMessageHook(previous);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].type, MessageType::Plain);
    EXPECT_EQ(shown[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(shown[0].text, QStringLiteral("MIDI OVERFLOW"));
}

TEST_F(MidiKeyboardTest, EmptyHooksAreSkipped) {
    MidiKeyboard bare(settings, {});
    bare.handleEvent(Midi(0x90, 97, 100), 0); // no window: nothing but the echo, which is empty
    EXPECT_EQ(settings.MidiListen, 1);
    MidiKeyboardHooks mainOnly;
    mainOnly.activeWindow = [] { return MidiActiveWindow::MainWindow; };
    MidiKeyboard sparse(settings, std::move(mainOnly));
    sparse.handleEvent(Midi(0x90, 97, 100), 0);
    sparse.handleEvent(Midi(0x90, 98, 100), 0);
    sparse.handleEvent(Midi(0x90, 60, 100), 0);
    EXPECT_EQ(settings.MidiListen, 0);
}

// Draining a real input: every waiting event in order, sysex buffers handed back, and not one
// allocation on the way.
class MidiKeyboardDrain : public ::testing::Test {
protected:
    void SetUp() override {
        input.setDeviceID(0);
        input.setSysexBufferCount(1);
        input.Open();
        input.Start();
    }
    MidiKeyboardHooks countingHooks() {
        MidiKeyboardHooks h;
        h.activeWindow = [] { return MidiActiveWindow::MainWindow; };
        h.taskRunning = [] { return true; };
        h.judge = [this](int n, int) { judged[judgedCount++ % 8] = n; };
        h.noteHeldChanged = [this](int, bool) { ++held; };
        h.lightInputLamp = [this] { ++lamps; };
        h.echo = [this](const TMyMidiEvent& e, bool) { lastEcho = e.MidiMessage, ++echoes; };
        return h;
    }

    test::LoopbackMidi ports{0, 1};
    TMidiInput input{ports};
    SettingsRecord settings;
    int judged[8] = {};
    int judgedCount = 0;
    int held = 0;
    int lamps = 0;
    int echoes = 0;
    int lastEcho = 0;
};

TEST_F(MidiKeyboardDrain, HandlesEveryWaitingEventWithoutAllocating) {
    MidiKeyboard keyboard(settings, countingHooks());
    const std::vector<std::uint8_t> sysex{0xF0, 0x41, 0x10, 0xF7};
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(ports.feed({0x90, 60, 100}));
        ASSERT_TRUE(ports.feed(sysex));
        ASSERT_TRUE(ports.feed({0xB0, 7, 90}));
        ASSERT_TRUE(ports.feed({0x90, 64, 100}));
        ASSERT_TRUE(ports.feed({0x80, 60, 0}));
        ASSERT_EQ(input.MessageCount(), 5u) << "the one sysex buffer came back";
        test::AllocationCounter counter;
        keyboard.drainInput(input, 1234);
        EXPECT_EQ(counter.count(), 0);
        EXPECT_EQ(input.MessageCount(), 0u);
    }
    EXPECT_EQ(judgedCount, 6);
    EXPECT_EQ(judged[0], 60);
    EXPECT_EQ(judged[1], 64);
    EXPECT_EQ(held, 9);
    EXPECT_EQ(lamps, 9);
    EXPECT_EQ(echoes, 12) << "notes and the controller, not the sysex";
    EXPECT_EQ(lastEcho, 0x81);
}

} // namespace
