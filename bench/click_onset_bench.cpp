// Where the click track's sounds land in the built-in synthesizer's output, rendered offline:
// the frame each click is heard against its exact frame on the step grid.
#include "midi/click_track_player.h"
#include "midi/midi_event.h"
#include "midi/sound_engine.h"
#include "midi/system_midi.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <vector>

namespace {

constexpr int kBlock = 256; // the live output's period
constexpr int kClicks = 200;
constexpr std::size_t kAttack = 480;
constexpr int kSearch = 300;

struct NoReports : harmik::ClickReportSink {
    void postClickReport(std::int32_t, std::uint32_t) override {}
};

std::vector<float> Attack(const QString& font, const harmik::ClickSound& sound) {
    harmik::SoundEngine engine;
    engine.loadSoundFont(font);
    engine.midiShort(
        harmik::PackShortMessage(std::uint8_t(0x90 | sound.Channel), sound.Note, sound.Velocity));
    std::vector<float> left(kAttack + 64), right(kAttack + 64);
    for (std::size_t at = 0; at < kAttack; at += 64)
        engine.render(left.data() + at, right.data() + at, 64);
    left.resize(kAttack);
    return left;
}

int OnsetNear(const std::vector<float>& s, std::int64_t exact, const std::vector<float>& t) {
    int best = 0;
    double bestDot = -1e30;
    for (int shift = -kSearch; shift <= kSearch; ++shift) {
        double d = 0;
        for (std::size_t i = 0; i < t.size(); ++i)
            d += double(s[std::size_t(exact + shift) + i]) * t[i];
        if (d > bestDot) {
            bestDot = d;
            best = shift;
        }
    }
    return best;
}

// Argument 0: each sound scheduled on its frame. Argument 1, for comparison: the note-on sent
// to the synthesizer before the block that holds its frame is rendered, as a thread-timed
// note-on reaches it at best.
void BM_ClickOnsetError(benchmark::State& state) {
    const QString font = harmik::FindGeneralMidiSoundFont();
    if (font.isEmpty()) {
        state.SkipWithError("no SoundFont");
        return;
    }
    harmik::ClickTrack track;
    track.Click = {9, 42, 80};
    track.Accent = {9, 36, 110};
    track.StepsPerBar = 4;
    track.StepCount = kClicks - 1;
    track.Period = 42;
    track.LoopMode = 2;
    track.Steps.fill(harmik::StepClick);
    const std::vector<float> click = Attack(font, track.Click);
    const std::vector<float> accent = Attack(font, track.Accent);
    std::vector<double> errors;
    for (auto _ : state) {
        harmik::SoundEngine engine;
        engine.loadSoundFont(font);
        harmik::BuiltInSynthOutput synth(engine);
        harmik::ClickScheduler& scheduler = *synth.clickScheduler();
        scheduler.prepareClickSounds({track.Click, track.Accent, track.Rhythm}, track.Period);
        track.Step = 0;
        harmik::ClickTickState tick;
        NoReports reports;
        harmik::SampleClickSounds sounds(scheduler);
        const std::int64_t first = 1000, period = std::int64_t(track.Period) * 48;
        std::vector<float> left(std::size_t(first + (kClicks + 2) * period)), right(kBlock);
        std::int64_t step = 0;
        for (std::size_t at = 0; at + kBlock <= left.size(); at += kBlock) {
            for (; step < kClicks && first + step * period < std::int64_t(at + kBlock); ++step) {
                sounds.Frame = first + step * period;
                if (state.range(0) == 0)
                    harmik::ClickTrackTick(track, tick, sounds, reports, 0);
                else
                    harmik::ClickTrackTick(track, tick, synth, reports, 0);
            }
            engine.render(left.data() + at, right.data(), kBlock);
        }
        for (int k = 0; k < kClicks; ++k)
            errors.push_back(
                std::abs(OnsetNear(left, first + k * period, k % 4 == 0 ? accent : click)));
    }
    std::sort(errors.begin(), errors.end());
    state.counters["median_frames"] = errors[errors.size() / 2];
    state.counters["max_frames"] = errors.back();
}
BENCHMARK(BM_ClickOnsetError)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
