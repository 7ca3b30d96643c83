// Start-up and shutdown of the sound layer, with missing and failing devices.
#include "loopback_support.h"
#include "render_support.h"

#include "midi/midi_event.h"
#include "midi/sound_system.h"
#include "theory/clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace harmik::test {
namespace {

SoundSystemOptions Offline(LoopbackMidi& ports, QStringList soundFontFolders = {}) {
    SoundSystemOptions o;
    o.OpenAudio = false;
    o.Midi = &ports;
    o.SoundFontFolders = std::move(soundFontFolders);
    o.DataFolders = {TestDataDir()};
    return o;
}

std::vector<int> ArgsOf(const std::vector<SoundMessage>& messages) {
    std::vector<int> ids;
    for (const SoundMessage& m : messages)
        ids.push_back(m.StringId == SoundText::NoDevice ? m.ArgStringId : m.StringId);
    return ids;
}

TEST(SoundStartUp, NothingThereStartsSilentlyAndSaysOnceWhatIsMissing) {
    LoopbackMidi nothing(0, 0, false);
    SoundSystem sound(nullptr, Offline(nothing, {"/nonexistent"}));
    const auto found = sound.EnumerateMidiDevices();
    EXPECT_EQ(ArgsOf(found), (std::vector<int>{SoundText::MidiOut, SoundText::MidiIn,
                                               SoundText::NoSoundFont, SoundText::Wave}));
    EXPECT_TRUE(sound.NoWaveDevice());
    EXPECT_TRUE(sound.SoundFontMissing());
    EXPECT_EQ(sound.MidiOutputCount(), 0);
    EXPECT_TRUE(sound.MidiOutList().isEmpty());

    EXPECT_TRUE(sound.OpenDevices().empty()) << "missing devices are not reported twice";
    NoteQueue q;
    QueueNote(q, 1, 1, 60, 85);
    QueueNote(q, 2, 1, 60, 0);
    EXPECT_NO_THROW({
        sound.Output().TimerMidi1Timer(q);
        sound.Output().PlayAnswerFeedback(true);
        sound.ShutUpClick(q);
    });
    ClickTrack track;
    track.Period = 10;
    EXPECT_FALSE(sound.StartClickTrack(track)) << "no output: no click track";
}

TEST(SoundStartUp, ADeviceThatFailsToOpenIsReportedOnceAndStartUpGoesOn) {
    LoopbackMidi ports(2, 1);
    ports.FailingOutput = 0; // settings index 1
    SoundSystem sound(nullptr, Offline(ports));
    sound.EnumerateMidiDevices();
    EXPECT_EQ(sound.MidiOutputCount(), 3);
    EXPECT_EQ(sound.MidiOutList().size(), 3);
    sound.Settings.MidiOutDevice = 1;
    sound.Settings.MidiThruDevice = 2;
    const auto messages = sound.OpenDevices();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].IsError);
    EXPECT_EQ(messages[0].Text, "The device is already in use by another program");
    // The input and the thru device were still opened.
    EXPECT_TRUE(sound.MidiInput1().isOpen());
    EXPECT_TRUE(sound.MIDITHRU().isOpen());
    EXPECT_FALSE(sound.MIDIUD().isOpen());
    sound.ApplyLoadedSettings(); // the user's instrument still reaches the thru device
    EXPECT_EQ(ports.Sent.shortsTo(1), std::vector<std::uint32_t>{PackShortMessage(0xC1, 4, 0)});
    sound.Output().NoteOn(2, 2, 60, 80); // the user's own sound still plays
    EXPECT_EQ(ports.Sent.shortsTo(1).size(), 2u);
}

TEST(SoundStartUp, AStoredDeviceThatIsGoneIsNamedOnceAndLeftClosed) {
    LoopbackMidi ports(1, 1);
    SoundSystem sound(nullptr, Offline(ports));
    sound.EnumerateMidiDevices();
    sound.Settings.MidiOutDevice = 9;
    sound.Settings.MidiThruDevice = 9;
    sound.Settings.MidiInDevice = 4;
    const auto messages = sound.OpenDevices();
    // Once each, by kind and number; the thru device is the output device and not told again.
    ASSERT_EQ(messages.size(), 2u);
    for (const auto& [m, kind, number] : {std::tuple{messages[0], SoundText::MidiOut, 9},
                                          std::tuple{messages[1], SoundText::MidiIn, 4}}) {
        EXPECT_EQ(m.StringId, SoundText::DeviceGone);
        EXPECT_EQ(m.ArgStringId, kind);
        EXPECT_EQ(m.Number, number);
        EXPECT_FALSE(m.IsError);
    }
    EXPECT_FALSE(sound.MIDIUD().isOpen());
    EXPECT_FALSE(sound.MidiInput1().isOpen());

    sound.Settings.MidiOutDevice = 1;
    sound.Settings.MidiThruDevice = 1;
    sound.Settings.MidiInDevice = 0;
    EXPECT_TRUE(sound.ReopenDevices().empty());
    EXPECT_TRUE(sound.MIDIUD().isOpen());
    EXPECT_TRUE(sound.MidiInput1().isOpen());
}

TEST(SoundStartUp, PanicResetsTheOutputsAndStopsTheClickTrack) {
    LoopbackMidi ports(2, 0);
    SoundSystem sound(nullptr, Offline(ports));
    sound.EnumerateMidiDevices();
    sound.Settings.MidiOutDevice = 1;
    sound.Settings.MidiThruDevice = 2;
    sound.OpenDevices();
    ClickTrack track;
    track.Period = 1000;
    track.StepCount = 3;
    ASSERT_TRUE(sound.StartClickTrack(track));
    NoteQueue q;
    QueueNote(q, 1, 1, 60, 85);
    QueueNote(q, 4, 1, 60, 0);
    sound.Output().TimerMidi1Timer(q);
    sound.ShutUpClick(q);
    EXPECT_FALSE(sound.ClickTrackPlayback().running());
    EXPECT_EQ(ports.Sent.resets(0), 1);
    EXPECT_EQ(ports.Sent.resets(1), 1);
    EXPECT_EQ(ports.Sent.shortsTo(0).back(), PackShortMessage(0x90, 60, 0));
    EXPECT_EQ(q.Count, 0);

    sound.Settings.MidiThruOn = false; // thru off: only the exercise output is reset
    sound.ShutUpClick(q);
    EXPECT_EQ(ports.Sent.resets(1), 1);
}

TEST(SoundStartUp, ShutdownClosesEverythingOnce) {
    LoopbackMidi ports(1, 1);
    SoundSystem sound(nullptr, Offline(ports));
    sound.EnumerateMidiDevices();
    sound.Settings.MidiOutDevice = 1;
    sound.Settings.MidiThruDevice = 1;
    sound.OpenDevices();
    NoteQueue q;
    QueueNote(q, 1, 1, 60, 85);
    QueueNote(q, 2, 1, 60, 0);
    sound.Output().TimerMidi1Timer(q);
    sound.Shutdown(q);
    EXPECT_FALSE(sound.MIDIUD().isOpen());
    EXPECT_FALSE(sound.MidiInput1().isOpen());
    EXPECT_FALSE(ports.inputOpen());
    EXPECT_EQ(ports.Sent.shortsTo(0).back(), PackShortMessage(0x90, 60, 0));
}

TEST(SoundStartUp, AtMostSixteenPortsOfEachKindAreListed) {
    LoopbackMidi many(20, 20);
    SoundSystem sound(nullptr, Offline(many));
    sound.EnumerateMidiDevices();
    const QStringList outputs = sound.MidiOutList();
    ASSERT_EQ(outputs.size(), 17); // the built-in synthesizer and the first 16 ports
    EXPECT_EQ(outputs[0], "FluidSynth");
    EXPECT_EQ(outputs[16], "Loopback out 15");
    EXPECT_EQ(sound.MidiInList().size(), 16);
}

TEST(SoundStartUp, StartMusicPlaysThroughTheMixerUnlessSwitchedOff) {
    LoopbackMidi ports(0, 0);
    SoundSystem sound(nullptr, Offline(ports));
    sound.Settings.NoStartMusic = true;
    sound.PlayStartMusic();
    EXPECT_LT(Rms(Render(sound.Engine(), 0.3)), 1e-4);
    sound.Settings.NoStartMusic = false;
    sound.PlayStartMusic(); // decoded apart, then handed to the main thread
    QTRY_VERIFY(sound.Engine().anythingSounding());
    EXPECT_GT(Rms(Render(sound.Engine(), 0.3)), 0.01);
}

// The fork: its WAV through the mixer while one can be heard; without it, the A on the exercise
// output, released a second later while the program goes on.
TEST(SoundStartUp, TuningForkSoundsItsWaveOrTheMidiA) {
    {
        LoopbackMidi ports(0, 0);
        SoundSystem sound(nullptr, Offline(ports));
        const int ms = sound.PlayTuningFork();
        EXPECT_GT(ms, 1000);
        const auto heard = Render(sound.Engine(), 0.5);
        EXPECT_NEAR(FundamentalHz(heard, sound.Engine().sampleRate(), 4800, 9600), 440.0, 1.0);
    }
    LoopbackMidi ports(1, 0);
    SoundSystem sound(nullptr, Offline(ports)); // no audio output: the WAV cannot be heard
    sound.EnumerateMidiDevices();
    sound.Settings.MidiOutDevice = 1;
    sound.Settings.MidiThruDevice = 1;
    sound.Settings.OutChannel = 2;
    sound.OpenDevices();
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(sound.PlayTuningFork(), 1000);
    EXPECT_EQ(ports.Sent.shortsTo(0), (std::vector<std::uint32_t>{PackShortMessage(0x91, 69, 85)}));
    QTRY_COMPARE_WITH_TIMEOUT(ports.Sent.shortsTo(0).size(), 2u, 5000);
    EXPECT_GE(clock.elapsed(), 1000);
    EXPECT_EQ(ports.Sent.shortsTo(0)[1], PackShortMessage(0x91, 69, 0));
}

// An audio device that plays nothing: the test renders the mix itself.
class StandInDevice : public AudioDevice {
public:
    QString name() const override { return QStringLiteral("stand-in"); }
};

TEST(SoundAtRest, EveryTimerStopsOnceTheOutputRestsAndTheFirstNoteAfterIsWhole) {
    if (TestSoundFont().isEmpty())
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    SoundSystemOptions options;
    options.Audio = [](SoundEngine&) { return std::make_unique<StandInDevice>(); };
    auto atRest = [](SoundSystem& sound) {
        return !sound.Engine().outputOpen() && !sound.RestCheckRunning() &&
               !sound.ClickTrackPlayback().running();
    };
    SoundSystem silentStart(nullptr, options);
    silentStart.Settings.NoStartMusic = true;
    silentStart.EnumerateMidiDevices();
    EXPECT_TRUE(atRest(silentStart)) << "nothing has sounded since start-up";

    SoundSystem sound(nullptr, options);
    sound.EnumerateMidiDevices();
    sound.Settings.MidiOutDevice = 0; // the built-in synthesizer
    sound.Settings.MidiThruDevice = 0;
    sound.OpenDevices();
    ASSERT_TRUE(sound.Engine().waitForSoundFont());
    EXPECT_TRUE(sound.Engine().outputOpen()) << "open for the start music";
    const std::uint32_t later = MonotonicMs() + 3'600'000;
    sound.CheckRest(later);
    EXPECT_TRUE(atRest(sound)) << "and resting without it";

    sound.Output().NoteOn(0, 1, 69, 100);
    EXPECT_TRUE(sound.Engine().outputOpen());
    EXPECT_TRUE(sound.RestCheckRunning());
    const std::vector<float> afterRest = Render(sound.Engine(), 0.5);
    SoundEngine fresh;
    ASSERT_TRUE(fresh.loadSoundFont(TestSoundFont()));
    fresh.midiShort(PackShortMessage(0x90, 69, 100));
    const std::vector<float> heard = Render(fresh, 0.5);
    EXPECT_NEAR(Rms(afterRest), Rms(heard), Rms(heard) * 0.01) << "the whole note is heard";
    EXPECT_GT(Rms(afterRest, 0, 480), Rms(heard, 0, 480) * 0.99) << "its attack too";
    sound.Output().NoteOff(0, 1, 69);
    sound.CheckRest(later + 30'000);
    EXPECT_TRUE(atRest(sound));

    ClickTrack track;
    track.Period = 100;
    track.StepCount = 3;
    ASSERT_TRUE(sound.StartClickTrack(track));
    sound.CheckRest(later + 60'000);
    EXPECT_TRUE(sound.Engine().outputOpen()) << "the click track keeps the output open";
    EXPECT_TRUE(sound.RestCheckRunning());
    sound.KillClickTrack();
    sound.CheckRest(later + 120'000);
    EXPECT_TRUE(atRest(sound));
}

} // namespace
} // namespace harmik::test
