// The playback queue and the note operations, heard through recording outputs.
#include "loopback_support.h"

#include "midi/midi_output.h"
#include "midi/sound_output.h"

#include <gtest/gtest.h>

namespace harmik::test {
namespace {

constexpr std::uint32_t Msg(std::uint8_t status, std::uint8_t d1, std::uint8_t d2) {
    return PackShortMessage(status, d1, d2);
}

// Output list: entry 0 = id -1, entry k = port k - 1 (ports 0..2).
class Playback : public ::testing::Test {
protected:
    Playback() : midiud(ports), midithru(ports), out(midiud, midithru, nullptr, settings) {}

    void openDevices(int outIndex, int thruIndex) {
        settings.MidiOutDevice = outIndex;
        settings.MidiThruDevice = thruIndex;
        midiud.setDeviceID(outIndex - 1);
        midiud.Open();
        if (thruIndex != outIndex) {
            midithru.setDeviceID(thruIndex - 1);
            midithru.Open();
        }
    }
    // Runs the timer until the queue says stop; returns the number of ticks.
    int playToEnd(NoteQueue& q) {
        for (int tick = 1; tick <= 1000; ++tick)
            if (out.TimerMidi1Timer(q).Stop)
                return tick;
        return -1;
    }

    LoopbackMidi ports{3, 0};
    TMidiOutput midiud;
    TMidiOutput midithru;
    SoundSettings settings;
    SoundOutput out;
};

TEST_F(Playback, EventsOfOneTickGoOutInQueueOrder) {
    openDevices(1, 1);
    NoteQueue q;
    QueueNote(q, 1, 1, 60, 85);
    QueueNote(q, 2, 1, 60, 0); // off of the first note before the on of the next
    QueueNote(q, 2, 1, 62, 85);
    QueueNote(q, 3, 1, 62, 0);
    const auto first = out.TimerMidi1Timer(q);
    EXPECT_TRUE(first.FirstTick);
    EXPECT_FALSE(first.Stop);
    EXPECT_FALSE(out.TimerMidi1Timer(q).FirstTick);
    EXPECT_EQ(ports.Sent.shortsTo(0),
              (std::vector<std::uint32_t>{Msg(0x90, 60, 85), Msg(0x90, 60, 0), Msg(0x90, 62, 85)}));
}

TEST_F(Playback, QueueStopsAfterItsLastTickOrAfter500Ticks) {
    openDevices(1, 1);
    NoteQueue q;
    QueueNote(q, 1, 1, 60, 85);
    QueueNote(q, 3, 1, 60, 0);
    EXPECT_EQ(playToEnd(q), 3);
    EXPECT_EQ(q.CurrentTick, 3) << "kept until the next StopAll";
    EXPECT_EQ(q.Count, 0);
    EXPECT_EQ(q.LastTick, 0);
    out.StopAll(q);
    EXPECT_EQ(q.CurrentTick, 0);

    NoteQueue empty;
    EXPECT_EQ(playToEnd(empty), 500);
}

TEST_F(Playback, TwoHundredEventsAllPlayAndRelease) {
    openDevices(1, 1);
    NoteQueue q;
    for (int i = 0; i < 100; ++i) {
        QueueNote(q, i + 1, 1, std::uint8_t(20 + i), 85);
        QueueNote(q, i + 2, 1, std::uint8_t(20 + i), 0);
    }
    QueueNote(q, 1, 1, 127, 85); // a 201st event is stored but never played
    EXPECT_EQ(playToEnd(q), 101);
    const auto sent = ports.Sent.shortsTo(0);
    ASSERT_EQ(sent.size(), 200u);
    int ons = 0;
    int offs = 0;
    for (std::uint32_t m : sent) {
        EXPECT_NE(Data1Of(m), 127);
        (Data2Of(m) > 0 ? ons : offs)++;
    }
    EXPECT_EQ(ons, 100);
    EXPECT_EQ(offs, 100);
}

TEST_F(Playback, StopAllReleasesEveryQueuedNoteOffOnTheExerciseOutput) {
    openDevices(1, 2);
    NoteQueue q;
    QueueNote(q, 1, 3, 60, 85);
    QueueNote(q, 5, 3, 60, 0);
    QueueNote(q, 6, 3, 64, 0); // not sounded yet: released all the same
    out.TimerMidi1Timer(q);
    out.StopAll(q);
    EXPECT_EQ(ports.Sent.shortsTo(0),
              (std::vector<std::uint32_t>{Msg(0x92, 60, 85), Msg(0x92, 60, 0), Msg(0x92, 64, 0)}));
    EXPECT_TRUE(ports.Sent.shortsTo(1).empty());
    EXPECT_EQ(q.Count, 0);
}

TEST_F(Playback, RoutingChannelsAndNoteOffs) {
    openDevices(1, 2); // exercise on port 0, thru on port 1
    out.NoteOn(2, 2, 60, 70);
    out.NoteOn(1, 1, 62, 70);
    EXPECT_EQ(ports.Sent.shortsTo(1), std::vector<std::uint32_t>{Msg(0x91, 60, 70)});
    EXPECT_EQ(ports.Sent.shortsTo(0), std::vector<std::uint32_t>{Msg(0x90, 62, 70)});

    ports.Sent.clear();
    settings.MidiThruDevice = settings.MidiOutDevice; // the same device: all through MIDIUD
    out.NoteOn(1, 2, 60, 70);
    EXPECT_TRUE(ports.Sent.shortsTo(1).empty());
    EXPECT_EQ(ports.Sent.shortsTo(0).size(), 1u);

    // Channel 16 is the last status nibble; a note-off goes out as velocity zero.
    ports.Sent.clear();
    out.NoteOn(1, 16, 60, 100);
    out.NoteOff(1, 16, 60);
    out.ProgramChange(1, 16, 40);
    EXPECT_EQ(ports.Sent.shortsTo(0),
              (std::vector<std::uint32_t>{Msg(0x9F, 60, 100), Msg(0x9F, 60, 0), Msg(0xCF, 40, 0)}));
}

TEST_F(Playback, MidiFeedbackReleasesNote21OnEveryTick) {
    openDevices(1, 1);
    settings.FeedbackType = 1;
    settings.OutChannel = 4;
    NoteQueue q;
    QueueNote(q, 1, 4, 60, 85);
    QueueNote(q, 2, 4, 60, 0);
    playToEnd(q);
    EXPECT_EQ(ports.Sent.shortsTo(0),
              (std::vector<std::uint32_t>{Msg(0x93, 21, 0), Msg(0x93, 60, 85), Msg(0x93, 21, 0),
                                          Msg(0x93, 60, 0)}));

    ports.Sent.clear();
    out.PlayAnswerFeedback(false); // the wrong-answer note, sounded for 150 ms
    EXPECT_EQ(ports.Sent.shortsTo(0),
              (std::vector<std::uint32_t>{Msg(0x99, 71, 90), Msg(0x99, 71, 0)}));

    ports.Sent.clear();
    settings.FeedbackType = 2;
    out.PlayAnswerFeedback(true);
    EXPECT_TRUE(ports.Sent.all().empty());
}

TEST_F(Playback, ClosedOutputsStaySilentWithoutErrors) {
    // Nothing opened: a missing device must not stop the exercise.
    NoteQueue q;
    QueueNote(q, 1, 1, 60, 85);
    QueueNote(q, 2, 1, 60, 0);
    int lamps = 0;
    out.OnOutputActivity = [&] { ++lamps; };
    EXPECT_NO_THROW(playToEnd(q));
    EXPECT_NO_THROW(out.ProgramChange(0, 1, 5));
    EXPECT_NO_THROW(out.SetMidiVolume(100));
    EXPECT_TRUE(ports.Sent.all().empty());
    EXPECT_EQ(lamps, 1) << "the output lamp lights for note-ons only";
}

TEST_F(Playback, VolumeWordIsThePositionTimes255) {
    openDevices(1, 1);
    out.SetMidiVolume(200);
    const auto sent = ports.Sent.all();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].Long, (std::vector<std::uint8_t>{0xFF, (200 * 255) >> 8, (200 * 255) >> 8}));
}

} // namespace
} // namespace harmik::test
