// The built-in synthesizer and mixer, rendered offline: what a listener would hear.
#include "loopback_support.h"
#include "render_support.h"

#include "midi/click_track_player.h"
#include "midi/midi_event.h"
#include "midi/midi_output.h"
#include "midi/sound_engine.h"
#include "midi/sound_output.h"
#include "midi/system_midi.h"
#include "midi/wave_file.h"

#include <QFile>
#include <fluidsynth.h>
#include <gtest/gtest.h>
#include <thread>

namespace harmik::test {
namespace {

constexpr double kSilence = 1e-4;

class SynthRender : public ::testing::Test {
protected:
    void SetUp() override {
        const QString font = TestSoundFont();
        if (font.isEmpty())
            GTEST_SKIP() << "no General MIDI SoundFont installed";
        ASSERT_TRUE(engine.loadSoundFont(font));
    }

    void noteOn(int channel, int note, int velocity) {
        engine.midiShort(PackShortMessage(std::uint8_t(0x90 + channel - 1), std::uint8_t(note),
                                          std::uint8_t(velocity)));
    }

    // The fundamental a listener hears: the spectral peak near the expected pitch, after the
    // period of the waveform has confirmed the octave.
    double pitchOf(int note, double expectedHz) {
        noteOn(1, note, 85);
        const auto s = Render(engine, 0.6);
        const int rate = engine.sampleRate();
        const double period = FundamentalHz(s, rate, rate / 10, std::size_t(rate / 5));
        EXPECT_NEAR(period, expectedHz, expectedHz * 0.015) << "wrong octave or note";
        return SpectralPeakHz(s, rate, rate / 10, std::size_t(rate / 2), expectedHz * 0.8,
                              expectedHz * 1.2);
    }

    SoundEngine engine;
};

TEST_F(SynthRender, NotesSoundAtTheirPitchAndAGoodLevel) {
    EXPECT_NEAR(pitchOf(69, 440.0), 440.0, 1.0);
    engine.allSoundsOff();
    Render(engine, 0.05);
    EXPECT_NEAR(pitchOf(60, 261.63), 261.63, 1.0);

    engine.allSoundsOff();
    Render(engine, 0.05);
    noteOn(1, 69, 85);
    const float peak = Peak(Render(engine, 0.5));
    EXPECT_GT(peak, 0.15f) << "a single note should be clearly heard";
    EXPECT_LT(peak, 1.0f);
}

TEST_F(SynthRender, NoteOffStopAllAndPanicEachLeaveSilence) {
    SystemMidi system(&engine, true);
    TMidiOutput midiud(system);
    TMidiOutput midithru(system);
    midiud.Open(); // device -1: the built-in synthesizer
    SoundSettings settings;
    SoundOutput out(midiud, midithru, &engine, settings);

    // Note-off: a note-on with velocity 0.
    out.NoteOn(0, 1, 69, 85);
    EXPECT_GT(Rms(Render(engine, 0.3)), 0.01);
    out.NoteOff(0, 1, 69);
    auto after = Render(engine, 1.5);
    EXPECT_LT(Rms(after, after.size() - 4800), kSilence);

    // StopAll releases the queued note-offs of notes that are sounding.
    NoteQueue queue;
    QueueNote(queue, 1, 1, 60, 85);
    QueueNote(queue, 1, 1, 64, 85);
    QueueNote(queue, 3, 1, 60, 0);
    QueueNote(queue, 3, 1, 64, 0);
    out.TimerMidi1Timer(queue);
    EXPECT_GT(Rms(Render(engine, 0.2)), 0.01);
    out.StopAll(queue);
    after = Render(engine, 1.5);
    EXPECT_LT(Rms(after, after.size() - 4800), kSilence);

    // Panic stops every voice at once, held notes included; only the reverb's tail rings out.
    out.NoteOn(0, 1, 48, 100);
    out.NoteOn(0, 1, 72, 100);
    Render(engine, 0.1);
    midiud.Reset();
    after = Render(engine, 0.9);
    EXPECT_EQ(fluid_synth_get_active_voice_count(engine.synth()), 0);
    EXPECT_LT(Rms(after, after.size() - 4800), kSilence);
}

TEST_F(SynthRender, ProgramChangeChangesTheSound) {
    auto renderNote = [&] {
        noteOn(1, 69, 90);
        auto s = Render(engine, 0.3);
        engine.allSoundsOff();
        Render(engine, 1.0); // the reverb rings out
        return s;
    };
    const auto piano = renderNote();
    engine.midiShort(PackShortMessage(0xC0, 73, 0)); // flute
    const auto flute = renderNote();
    std::vector<float> difference(piano.size());
    for (std::size_t i = 0; i < piano.size(); ++i)
        difference[i] = piano[i] - flute[i];
    EXPECT_GT(Rms(difference), 0.5 * Rms(piano));
    EXPECT_NEAR(FundamentalHz(flute, engine.sampleRate(), 4800, 9600), 440.0, 2.0);

    // A panic (between the two renders above and below) keeps the chosen instrument.
    const auto fluteAgain = renderNote();
    for (std::size_t i = 0; i < piano.size(); ++i)
        difference[i] = fluteAgain[i] - flute[i];
    EXPECT_LT(Rms(difference), 0.1 * Rms(flute));
}

// The synthesizer holds only the presets its channels use; each one sounds exactly as from
// the whole SoundFont, also after other instruments came and went.
TEST(SynthRenderCut, EveryInstrumentSoundsAsFromTheWholeSoundFont) {
    const QString font = TestSoundFont();
    if (font.isEmpty())
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    SoundEngine engine;
    ASSERT_TRUE(engine.loadSoundFont(font));
    SynthCore whole(engine.sampleRate());
    ASSERT_NE(fluid_synth_sfload(whole.Synth, QFile::encodeName(font).constData(), 1),
              FLUID_FAILED);
    auto renderWhole = [&](double seconds) {
        std::vector<float> left(std::size_t(seconds * engine.sampleRate()) / 64 * 64);
        float right[64];
        for (std::size_t at = 0; at < left.size(); at += 64) {
            std::fill(std::begin(right), std::end(right), 0.0f);
            float* fx[4] = {left.data() + at, right, left.data() + at, right};
            float* dry[2] = {left.data() + at, right};
            fluid_synth_process(whole.Synth, 64, 4, fx, 2, dry);
        }
        return left;
    };
    struct Case {
        int channel, program, note; // program -1: the one the channel starts with
    } cases[] = {{0, -1, 60}, {9, -1, 38}, {0, 73, 69}, {1, 40, 64},
                 {9, 25, 36}, {0, 0, 60},  {2, 127, 60}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "channel " << c.channel << ", program " << c.program);
        const auto channel = std::uint8_t(c.channel);
        if (c.program >= 0) {
            engine.midiShort(PackShortMessage(0xC0 | channel, std::uint8_t(c.program), 0));
            fluid_synth_program_change(whole.Synth, c.channel, c.program);
        }
        engine.midiShort(PackShortMessage(0x90 | channel, std::uint8_t(c.note), 100));
        fluid_synth_noteon(whole.Synth, c.channel, c.note, 100);
        const auto cut = Render(engine, 0.4);
        const auto expected = renderWhole(0.4);
        ASSERT_EQ(cut.size(), expected.size());
        std::vector<float> difference(cut.size());
        for (std::size_t i = 0; i < cut.size(); ++i)
            difference[i] = cut[i] - expected[i];
        EXPECT_GT(Rms(expected), 0.01);
        EXPECT_LT(Rms(difference), 1e-3 * Rms(expected));
        engine.allSoundsOff();
        fluid_synth_all_sounds_off(whole.Synth, -1);
        Render(engine, 1.0); // the reverb rings out in both
        renderWhole(1.0);
    }
}

TEST(SynthStartUp, WhatIsPlayedBeforeTheSoundFontLoadedIsNotLost) {
    const QString font = TestSoundFont();
    if (font.isEmpty())
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    SoundEngine early;
    SoundEngine late;
    early.midiShort(PackShortMessage(0xC0, 73, 0));
    early.loadSoundFontInBackground(font);
    early.midiShort(PackShortMessage(0x90, 69, 90)); // at once: the SoundFont is still loading
    ASSERT_TRUE(late.loadSoundFont(font));
    late.midiShort(PackShortMessage(0xC0, 73, 0));
    late.midiShort(PackShortMessage(0x90, 69, 90));
    const auto a = Render(early, 0.3);
    const auto b = Render(late, 0.3);
    std::vector<float> difference(a.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        difference[i] = a[i] - b[i];
    EXPECT_LT(Rms(difference), 0.05 * Rms(b));
}

TEST(Mixer, FeedbackWaveIsHeardAtTheWaveVolume) {
    SoundEngine engine; // no SoundFont needed for the WAV voices
    const QString dataDir = TestDataDir();
    WaveSound fork;
    ASSERT_TRUE(LoadWaveFile(FindDataFile({dataDir}, "STEMGAFL.WAV"), engine.sampleRate(), fork));

    engine.setWaveVolume(1.0);
    engine.playWave(fork);
    const auto loud = Render(engine, 0.5);
    EXPECT_NEAR(FundamentalHz(loud, engine.sampleRate(), 4800, 9600), 440.0, 1.0);

    engine.stopWaves();
    Render(engine, 0.01);
    engine.setWaveVolume(0.25);
    engine.playWave(fork);
    const auto soft = Render(engine, 0.5);
    EXPECT_NEAR(Rms(soft), 0.25 * Rms(loud), 0.02 * Rms(loud));
    engine.stopWaves();
    EXPECT_LT(Rms(Render(engine, 0.1), 64), kSilence);
}

TEST(Mixer, MissingFeedbackFilePlaysTheDefaultSound) {
    SoundEngine engine;
    LoopbackMidi ports(0, 0);
    TMidiOutput midiud(ports);
    TMidiOutput midithru(ports);
    SoundSettings settings;
    settings.CorrectWave = 7;
    SoundOutput out(midiud, midithru, &engine, settings);
    out.setDataFolders({"/nonexistent"});
    out.PlayAnswerFeedback(true);
    EXPECT_GT(Rms(Render(engine, 0.2)), 0.01);
}

class Speaker : public ::testing::Test {
protected:
    Speaker() : midiud(ports), midithru(ports), out(midiud, midithru, &engine, settings) {
        settings.PcSpeakerOnly = true;
        settings.CurrentModule = 1;
        settings.Tempo[0] = 100; // one beat = 600 ms
    }
    double toneOf(int note) {
        out.NoteOn(0, 1, note, 85);
        const auto s = Render(engine, 0.3);
        out.NoteOff(0, 1, note);
        return FundamentalHz(s, engine.sampleRate(), 480, 9600);
    }

    SoundEngine engine;
    LoopbackMidi ports{1, 0};
    TMidiOutput midiud;
    TMidiOutput midithru;
    SoundSettings settings;
    SoundOutput out;
};

TEST_F(Speaker, PlaysASquareWaveAtTheTablesFrequency) {
    EXPECT_NEAR(toneOf(57), 440.0, 1.5);
    EXPECT_NEAR(toneOf(48), 261.0, 1.0);
    EXPECT_NEAR(toneOf(38), 149.0, 0.5); // the table's own values, not equal temperament
    EXPECT_NEAR(toneOf(42), 189.0, 0.5);

    out.NoteOn(0, 1, 57, 85);
    const auto s = Render(engine, 0.1);
    int levels = 0;
    for (float v : s)
        levels += std::abs(std::abs(v) - Peak(s)) < 1e-6f;
    EXPECT_GT(levels, int(s.size() * 99 / 100)) << "a square wave sits at its two levels";
    EXPECT_TRUE(ports.Sent.all().empty()) << "the speaker route sends no MIDI";
}

TEST_F(Speaker, ToneLastsOneBeatAndNotesOutsideTheTableAreSilent) {
    out.NoteOn(0, 1, 60, 85);
    const auto s = Render(engine, 0.8);
    EXPECT_GT(Rms(s, 0, 28000), 0.1);
    EXPECT_LT(Rms(s, 29500), kSilence); // 600 ms = 28800 frames

    for (int note : {23, 84, 127}) {
        out.NoteOn(0, 1, note, 85);
        EXPECT_LT(Rms(Render(engine, 0.1)), kSilence) << note;
    }
}

} // namespace
} // namespace harmik::test

namespace harmik::test {
namespace {

// The audio callback renders on its own thread while the main thread starts and stops
// sounds and click tracks, and the click track feeds the same synthesizer (by the thread
// until the SoundFont is there, then on its samples).
TEST(Mixer, IsSharedSafelyByTheMainThreadTheClickTrackAndTheAudioThread) {
    SoundEngine engine;
    const QString font = TestSoundFont();
    if (!font.isEmpty())
        engine.loadSoundFontInBackground(font); // loading while everything else runs
    std::atomic<bool> running{true};
    std::atomic<int> blocks{0};
    double heard = 0;
    std::thread audio([&] {
        float left[64];
        float right[64];
        while (running.load()) {
            std::fill(std::begin(left), std::end(left), 0.0f);
            std::fill(std::begin(right), std::end(right), 0.0f);
            engine.render(left, right, 64);
            for (float v : left)
                heard = std::max(heard, double(std::abs(v)));
            blocks.fetch_add(1);
        }
    });
    BuiltInSynthOutput synth(engine);
    ClickTrackPlayer click(nullptr);
    ClickTrack track;
    track.Click = {9, 42, 80};
    track.Accent = {9, 37, 100};
    track.StepsPerBar = 4;
    track.StepCount = 15;
    track.Period = 2;
    track.Steps.fill(StepClick);
    ASSERT_TRUE(click.Start(track, synth));
    const WaveSound beep = DefaultSound(engine.sampleRate());
    for (int round = 0; round < 50; ++round) {
        engine.playWave(beep);
        engine.speakerTone(440, 5);
        engine.setWaveVolume(round % 2 ? 0.5 : 1.0);
        engine.midiShort(PackShortMessage(0xC0, std::uint8_t(round), 0));
        engine.midiShort(PackShortMessage(0x90, std::uint8_t(40 + round), 90));
        if (round % 10 == 9) {
            engine.stopWaves();
            engine.speakerOff();
        }
        if (round % 5 == 4) {
            ASSERT_TRUE(click.Start(track, synth)); // the running one is killed first
        }
        for (int seen = blocks.load(); blocks.load() < seen + 4;)
            std::this_thread::yield();
    }
    if (engine.waitForSoundFont()) {
        ASSERT_TRUE(click.Start(track, synth));
        EXPECT_TRUE(click.sampleExact());
        for (int seen = blocks.load(); blocks.load() < seen + 200;)
            std::this_thread::yield();
    }
    click.Kill();
    running = false;
    audio.join();
    EXPECT_GT(heard, 0.01);
}

} // namespace
} // namespace harmik::test
