// The driver callback, the click-track tick and the audio callback never allocate.
#include "loopback_support.h"
#include "render_support.h"

#include "midi/click_track_player.h"
#include "midi/midi_event.h"
#include "midi/midi_input.h"
#include "midi/sound_engine.h"

#include <atomic>
#include <gtest/gtest.h>

namespace harmik::test {
namespace {

TEST(NoAllocation, InputCallbackFilesEventsWithoutAllocating) {
    LoopbackMidi ports(0, 1);
    TMidiInput input(ports);
    input.setDeviceID(0);
    input.Open();
    input.Start();
    const std::vector<std::uint8_t> note{0x90, 60, 100};
    const std::vector<std::uint8_t> sysex{0xF0, 0x41, 0x10, 0x42, 0xF7};
    const std::vector<std::uint8_t> sensing{0xFE};
    AllocationCounter counter;
    for (int i = 0; i < 100; ++i) {
        ports.feed(note);
        ports.feed(sysex);
        ports.feed(sensing);
    }
    for (int i = 0; i < 2000; ++i)
        ports.feed(note); // a full ring drops and counts
    EXPECT_EQ(counter.count(), 0);
}

class CountingOutput : public MidiOutBackend {
public:
    void sendShort(std::uint32_t) override {
        Sent.fetch_add(1);
        Sent.notify_all();
    }
    void sendLong(const std::uint8_t*, std::size_t) override {}
    void reset() override {}
    void setVolume(std::uint16_t, std::uint16_t) override {}
    std::atomic<int> Sent{0};
};

TEST(NoAllocation, ClickTrackThreadTicksWithoutAllocating) {
    ClickTrackPlayer player(nullptr);
    CountingOutput out;
    ClickTrack track;
    track.Click = {9, 42, 80};
    track.Accent = {9, 37, 100};
    track.Rhythm = {9, 38, 90};
    track.StepsPerBar = 2;
    track.StepCount = 3;
    track.Period = 2;
    track.Steps.fill(StepClickAndRhythm);
    ASSERT_TRUE(player.Start(track, out));
    {
        AllocationCounter counter(true);
        // 20 steps: sounds, releases, bar and end-of-pass reports.
        for (int sent = out.Sent.load(); sent < 60; sent = out.Sent.load())
            out.Sent.wait(sent);
        EXPECT_EQ(counter.count(), 0);
    }
    player.Kill();
}

TEST(NoAllocation, AudioCallbackMixesWithoutAllocating) {
    SoundEngine engine;
    const QString font = TestSoundFont();
    if (!font.isEmpty()) {
        ASSERT_TRUE(engine.loadSoundFont(font));
    }
    WaveSound beep = DefaultSound(engine.sampleRate());
    engine.playWave(beep);
    engine.speakerTone(440, 100);
    for (int note = 48; note < 64; ++note)
        engine.midiShort(PackShortMessage(0x90, std::uint8_t(note), 90));
    const bool clicks = engine.prepareClickSounds({{{9, 42, 80}, {9, 37, 100}, {9, 38, 90}}}, 50);
    float left[64] = {};
    float right[64] = {};
    engine.render(left, right, 64); // the first block sets up the voices
    AllocationCounter counter;
    for (int block = 0; block < 200; ++block) {
        if (clicks && block % 10 == 0) // the click track's hand-over, ahead of the block
            engine.scheduleClickSound(block % 3, (block + 1) * 64 + block % 64);
        engine.render(left, right, 64);
    }
    EXPECT_EQ(counter.count(), 0);
}

} // namespace
} // namespace harmik::test
