// The MIDI device components: properties and their errors, and the input's ring fed from a
// driver thread.
#include "loopback_support.h"

#include "midi/midi_errors.h"
#include "midi/midi_input.h"
#include "midi/midi_output.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <thread>

namespace harmik::test {
namespace {

TEST(MidiOutputComponent, DeviceIdRangeAndChangesWhileOpen) {
    LoopbackMidi ports(2, 0);
    TMidiOutput out(ports);
    out.setBuiltInName("Built-in");
    EXPECT_EQ(out.DeviceID(), -1);
    EXPECT_EQ(out.ProductName(), "Built-in");
    EXPECT_THROW(out.setDeviceID(-2), EmidioutputError);
    EXPECT_THROW(out.setDeviceID(2), EmidioutputError);
    out.setDeviceID(1);
    EXPECT_EQ(out.ProductName(), "Loopback out 1");

    out.Open();
    try {
        out.setDeviceID(0);
        ADD_FAILURE() << "changing DeviceID of an open device must fail";
    } catch (const EmidioutputError& e) {
        EXPECT_STREQ(e.what(), "Change to DeviceID while device was open");
    }
    EXPECT_EQ(out.DeviceID(), 1);
    EXPECT_TRUE(out.Close());
    EXPECT_FALSE(out.Close());

    out.setProductName("Loopback out 0");
    EXPECT_EQ(out.DeviceID(), 0);
    EXPECT_THROW(out.setProductName("Nothing"), EmidioutputError);
    EXPECT_THROW(out.PutMidiEvent(TMyMidiEvent{}), EmidioutputError); // closed
}

TEST(MidiOutputComponent, EventsGoOutAsShortOrLongMessages) {
    LoopbackMidi ports(1, 0);
    TMidiOutput out(ports);
    out.setDeviceID(0);
    out.Open();
    TMyMidiEvent note;
    note.MidiMessage = 0x90;
    note.Data1 = 60;
    note.Data2 = 99;
    out.PutMidiEvent(note);
    TMyMidiEvent sysex;
    sysex.MidiMessage = 0xF0;
    sysex.Sysex = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    sysex.SysexLength = 6;
    out.PutMidiEvent(sysex);
    const auto sent = ports.Sent.all();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].Short, PackShortMessage(0x90, 60, 99));
    EXPECT_EQ(sent[1].Long, sysex.Sysex);
}

class MidiInputRing : public ::testing::Test {
protected:
    void SetUp() override {
        input.setDeviceID(0);
        input.OnMidiInput = [this] {
            ++inputCalls;
            while (input.MessageCount() > 0)
                received.push_back(*input.GetMidiEvent());
        };
        input.OnOverflow = [this] { ++overflows; };
        input.Open();
        input.Start();
    }
    // Lets the main thread handle what the driver thread posted (the driver thread has
    // finished, so its wake-up is already waiting).
    void processPosted() {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    // One sysex buffer of 8 bytes, so that every block needs the same buffer back.
    void reopenWithOneSysexBuffer() {
        input.Close();
        input.setSysexBufferCount(1);
        input.setSysexBufferSize(8);
        input.Open();
        input.Start();
    }
    void feedFromDriverThread(const std::vector<std::vector<std::uint8_t>>& messages) {
        std::thread driver([&] {
            for (const auto& m : messages)
                ports.feed(m);
        });
        driver.join();
    }

    LoopbackMidi ports{0, 1};
    TMidiInput input{ports};
    std::vector<TMyMidiEvent> received;
    int inputCalls = 0;
    int overflows = 0;
};

TEST_F(MidiInputRing, FullRingKeeps1024AndReportsTheLostEventOnce) {
    std::vector<std::vector<std::uint8_t>> notes;
    for (int i = 0; i < 1025; ++i)
        notes.push_back({0x90, std::uint8_t(i % 128), 64});
    feedFromDriverThread(notes); // the main thread is busy meanwhile
    EXPECT_EQ(input.MessageCount(), 1024u);
    processPosted();
    ASSERT_EQ(received.size(), 1024u);
    EXPECT_EQ(overflows, 1);
    EXPECT_EQ(received[1023].Data1, 1023 % 128);

    // After the overflow the ring takes events again.
    feedFromDriverThread({{0x80, 60, 0}});
    processPosted();
    EXPECT_EQ(received.size(), 1025u);
    EXPECT_EQ(overflows, 1);
}

TEST_F(MidiInputRing, ActiveSensingAndClockNeverArrive) {
    feedFromDriverThread({{0xFE}, {0xF8}, {0xFE}, {0x90, 60, 100}, {0xF8}});
    processPosted();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].MidiMessage, 0x90);
    EXPECT_EQ(received[0].Data1, 60);
    EXPECT_EQ(received[0].Data2, 100);
    EXPECT_LT(received[0].Time, 1000u) << "time counts from Start";

    received.clear();
    inputCalls = 0;
    feedFromDriverThread({{0xFE}, {0xFE}});
    processPosted();
    EXPECT_EQ(inputCalls, 0);
}

TEST_F(MidiInputRing, SysexArrivesAsOneEventWithItsOwnCopyAndTheBufferIsReused) {
    reopenWithOneSysexBuffer();
    const std::vector<std::uint8_t> block{0xF0, 0x43, 0x10, 0x4C, 0xF7};
    for (int round = 0; round < 3; ++round) { // one buffer serves every block in turn
        feedFromDriverThread({block});
        processPosted();
    }
    ASSERT_EQ(received.size(), 3u);
    for (const TMyMidiEvent& e : received) {
        EXPECT_EQ(e.MidiMessage, 0xF0);
        EXPECT_EQ(e.Data1, 0);
        EXPECT_EQ(e.SysexLength, 5);
        EXPECT_EQ(e.Sysex, block);
    }

    // A block longer than the buffer arrives cut short (the incomplete-block case).
    feedFromDriverThread({{0xF0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0xF7}});
    processPosted();
    ASSERT_EQ(received.size(), 4u);
    EXPECT_EQ(received[3].SysexLength, 8);
}

TEST_F(MidiInputRing, PopMidiEventTakesEventsInOrderAndHandsSysexBuffersBack) {
    input.OnMidiInput = nullptr; // the test empties the ring itself
    reopenWithOneSysexBuffer();
    const std::vector<std::uint8_t> block{0xF0, 0x43, 0x10, 0x4C, 0xF7};
    TMyMidiEvent e;
    for (int round = 0; round < 3; ++round) { // the one buffer must come back every time
        ASSERT_TRUE(ports.feed({0x90, 60, 100}));
        ASSERT_TRUE(ports.feed(block));
        ASSERT_TRUE(ports.feed({0xB1, 7, 90}));
        ASSERT_EQ(input.MessageCount(), 3u) << "round " << round;

        ASSERT_TRUE(input.PopMidiEvent(e));
        EXPECT_EQ(e.MidiMessage, 0x90);
        EXPECT_EQ(e.Data1, 60);
        EXPECT_EQ(e.Data2, 100);
        ASSERT_TRUE(input.PopMidiEvent(e));
        EXPECT_EQ(e.MidiMessage, 0xF0);
        EXPECT_EQ(e.Data1, 0);
        EXPECT_EQ(e.SysexLength, 5);
        EXPECT_TRUE(e.Sysex.empty()) << "no room was offered for the bytes";
        ASSERT_TRUE(input.PopMidiEvent(e));
        EXPECT_EQ(e.MidiMessage, 0xB1);
        EXPECT_EQ(e.Data2, 90);
        EXPECT_EQ(e.SysexLength, 0);
        EXPECT_FALSE(input.PopMidiEvent(e));
    }

    // With room reserved the block's bytes are copied; a later short message clears them.
    e.Sysex.reserve(8);
    ASSERT_TRUE(ports.feed(block));
    ASSERT_TRUE(ports.feed({0x80, 60, 0}));
    ASSERT_TRUE(input.PopMidiEvent(e));
    EXPECT_EQ(e.Sysex, block);
    ASSERT_TRUE(input.PopMidiEvent(e));
    EXPECT_EQ(e.MidiMessage, 0x80);
    EXPECT_TRUE(e.Sysex.empty());

    input.Close();
    EXPECT_FALSE(input.PopMidiEvent(e));
}

TEST_F(MidiInputRing, SysexOnlyDropsShortMessages) {
    input.setSysexOnly(true);
    feedFromDriverThread({{0x90, 60, 100}, {0xF0, 1, 0xF7}});
    processPosted();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].MidiMessage, 0xF0);
}

TEST_F(MidiInputRing, ClosedOrStoppedInputReportsNothing) {
    input.Stop();
    feedFromDriverThread({{0x90, 60, 100}});
    processPosted();
    EXPECT_TRUE(received.empty());

    input.Start();
    feedFromDriverThread({{0x90, 61, 100}});
    input.Close(); // before the main thread got to it
    processPosted();
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(input.MessageCount(), 0u);
    EXPECT_EQ(input.GetMidiEvent(), nullptr);
    EXPECT_FALSE(ports.feed({0x90, 62, 100})) << "a closed port has no driver callback";
}

TEST_F(MidiInputRing, InputPropertiesCannotChangeWhileOpen) {
    EXPECT_THROW(input.setDeviceID(0), EMidiInputError);
    EXPECT_THROW(input.setSysexBufferSize(100), EMidiInputError);
    input.Close();
    EXPECT_THROW(input.setDeviceID(1), EMidiInputError);
    LoopbackMidi none(0, 0);
    TMidiInput missing(none);
    EXPECT_THROW(missing.Open(), EMidiInputError) << "no input device: invalid device ID";
}

} // namespace
} // namespace harmik::test
