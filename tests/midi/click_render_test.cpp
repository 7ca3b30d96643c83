// The click track through the built-in synthesizer, rendered offline: every click, accent and
// rhythm note on its exact sample.
#include "render_support.h"

#include "../theory/rhythm_test_support.h"
#include "midi/click_track_player.h"
#include "midi/midi_event.h"
#include "midi/sound_engine.h"
#include "midi/system_midi.h"
#include "theory/rhythm_click.h"

#include <atomic>
#include <cmath>
#include <gtest/gtest.h>
#include <set>

namespace harmik::test {
namespace {

constexpr int kBlock = 64;
constexpr std::size_t kTemplate = 480; // the first 10 ms of a sound
constexpr int kSearch = 48;            // frames either side of the exact time

struct NoReports : ClickReportSink {
    void postClickReport(std::int32_t, std::uint32_t) override {}
};

// The first 10 ms of a sound as the synthesizer plays it after a plain note-on.
std::vector<float> Attack(const QString& font, const ClickSound& sound) {
    SoundEngine engine;
    EXPECT_TRUE(engine.loadSoundFont(font));
    engine.midiShort(
        PackShortMessage(std::uint8_t(0x90 | sound.Channel), sound.Note, sound.Velocity));
    std::vector<float> s = Render(engine, 0.02);
    s.resize(kTemplate);
    return s;
}

double Dot(const std::vector<float>& s, std::size_t at, const std::vector<float>& t) {
    double sum = 0;
    for (std::size_t i = 0; i < t.size() && at + i < s.size(); ++i)
        sum += double(s[at + i]) * t[i];
    return sum;
}

// How well the sound's attack matches the render at a frame: 1 for the same waveform.
double Likeness(const std::vector<float>& s, std::size_t at, const std::vector<float>& t) {
    const std::vector<float> part(s.begin() + long(at), s.begin() + long(at + t.size()));
    const double norm = std::sqrt(Dot(part, 0, part) * Dot(t, 0, t));
    return norm > 0 ? Dot(s, at, t) / norm : 0;
}

// Where the sound starts near a frame: the shift that matches its attack best.
int OnsetNear(const std::vector<float>& s, std::int64_t exact, const std::vector<float>& t) {
    int best = -kSearch;
    double bestDot = -1e30;
    for (int shift = -kSearch; shift <= kSearch; ++shift) {
        const double d = Dot(s, std::size_t(exact + shift), t);
        if (d > bestDot) {
            bestDot = d;
            best = shift;
        }
    }
    return best;
}

class ClickRender : public ::testing::Test {
protected:
    void SetUp() override {
        Font = TestSoundFont();
        if (Font.isEmpty())
            GTEST_SKIP() << "no General MIDI SoundFont installed";
    }

    // One pass of a two-bar 4/4 rhythm at 120 bpm, each step handed over one step ahead of
    // the block that plays it, as the click-track thread does.
    std::vector<float> renderPass(int mode) {
        const Rhythm rhythm = rhythm_test::MakeRhythm({24, 24, 48, 12, 12, 24, -24, 24});
        const RhythmOptions options = rhythm_test::Options(3, 2, mode);
        ClickGrid grid{};
        FillClickGrid(grid, rhythm, options.Metre, options.RhythmMode);
        FillClickTrack(Track, grid, options, Sounds, 120, 2);
        SoundEngine engine;
        EXPECT_TRUE(engine.loadSoundFont(Font));
        BuiltInSynthOutput synth(engine);
        ClickScheduler& scheduler = *synth.clickScheduler();
        EXPECT_TRUE(
            scheduler.prepareClickSounds({Track.Click, Track.Accent, Track.Rhythm}, Track.Period));
        StepFrames = std::int64_t(Track.Period) * engine.sampleRate() / 1000;
        const std::int64_t passFrames = (Track.StepCount + 1) * StepFrames;
        std::vector<float> left(std::size_t(FirstFrame + passFrames + engine.sampleRate()));
        std::vector<float> right(kBlock);
        ClickTickState state;
        NoReports reports;
        SampleClickSounds sounds(scheduler);
        std::int64_t step = 0;
        for (std::size_t at = 0; at + kBlock <= left.size(); at += kBlock) {
            for (; step <= Track.StepCount &&
                   FirstFrame + step * StepFrames < std::int64_t(at) + 2 * StepFrames;
                 ++step) {
                sounds.Frame = FirstFrame + step * StepFrames;
                ClickTrackTick(Track, state, sounds, reports, 0);
            }
            std::fill(right.begin(), right.end(), 0.0f);
            engine.render(left.data() + at, right.data(), kBlock);
        }
        return left;
    }

    // Where the beats and the rhythm's notes fall, from the rhythm itself: 24 units a beat,
    // two units a step, the program's bars after the count-in bar.
    std::int64_t frameOfUnits(int units) const { return FirstFrame + units / 2 * StepFrames; }

    QString Font;
    RhythmSoundSettings Sounds{10, 42, 80, 36, 110, 10, 76, 100}; // hi-hat, bass drum, wood block
    ClickTrack Track;
    std::int64_t FirstFrame = 1000; // not on a block boundary
    std::int64_t StepFrames = 0;
};

std::vector<float> Sum(const std::vector<float>& a, const std::vector<float>* b) {
    std::vector<float> sum = a;
    for (std::size_t i = 0; b && i < sum.size(); ++i)
        sum[i] += (*b)[i];
    return sum;
}

TEST_F(ClickRender, EveryClickAccentAndRhythmNoteSoundsOnItsSample) {
    const std::vector<float> click = Attack(Font, {9, 42, 80});
    const std::vector<float> accent = Attack(Font, {9, 36, 110});
    const std::vector<float> note = Attack(Font, {9, 76, 100});
    const std::set<int> noteUnits = {0, 24, 48, 96, 108, 120, 168}; // the rest left out
    for (int mode : {RhythmImitate, RhythmRead, RhythmReadListen}) {
        SCOPED_TRACE(testing::Message() << "mode " << mode);
        const std::vector<float> s = renderPass(mode);
        const bool played = mode != RhythmRead;
        const int beats = played ? 20 : 12; // count-in, (program's two bars,) the user's two
        // Every step where something sounds: the beats, and the program's notes after the
        // count-in bar; where a note falls on a beat both start together.
        for (int units = 0; units < beats * 24; units += 2) {
            const bool beat = units % 24 == 0;
            const bool first = units % 96 == 0;
            const bool rhythmNote = played && units >= 96 && noteUnits.count(units - 96) > 0;
            if (!beat && !rhythmNote)
                continue;
            SCOPED_TRACE(testing::Message() << "unit " << units);
            const std::int64_t exact = frameOfUnits(units);
            const std::vector<float>* withNote = rhythmNote ? &note : nullptr;
            const std::vector<float> heard = beat ? Sum(first ? accent : click, withNote) : note;
            EXPECT_LE(std::abs(OnsetNear(s, exact, heard)), 1);
            EXPECT_GT(Likeness(s, std::size_t(exact), heard), 0.9);
            if (beat) {
                EXPECT_GT(Likeness(s, std::size_t(exact), heard),
                          Likeness(s, std::size_t(exact), Sum(first ? click : accent, withNote)))
                    << "the accent falls on each bar's first beat, the click on the others";
            }
        }
        if (!played) {
            for (int units : noteUnits)
                EXPECT_LT(Likeness(s, std::size_t(frameOfUnits(96 + units)), note), 0.5)
                    << "no rhythm note while reading";
        }
    }
}

} // namespace
} // namespace harmik::test
