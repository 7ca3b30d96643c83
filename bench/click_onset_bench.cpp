// Where the click track's sounds land in the built-in synthesizer's output, rendered offline:
// the frame each click is heard against its exact frame on the step grid.
#include "midi/click_track_player.h"
#include "midi/midi_event.h"
#include "midi/sound_engine.h"
#include "midi/system_midi.h"

#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>
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

int OnsetNear(const std::vector<float>& s, std::int64_t exact, const std::vector<float>& t,
              int search = kSearch) {
    int best = 0;
    double bestDot = -1e30;
    for (int shift = -search; shift <= search; ++shift) {
        const std::int64_t at = exact + shift;
        if (at < 0 || at + std::int64_t(t.size()) > std::int64_t(s.size()))
            continue;
        double d = 0;
        for (std::size_t i = 0; i < t.size(); ++i)
            d += double(s[std::size_t(at) + i]) * t[i];
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

// The same live: the click track started on the built-in synthesizer with its real audio
// output (the sound server's default sink), the sink's monitor recorded with parec, and the
// interval between each two recorded clicks compared with the step period. Skipped without a
// sound server. Run it with PulseAudio's null sink as the default sink (BENCHMARKS.md).
void BM_ClickTrackLive(benchmark::State& state) {
    constexpr int kLiveClicks = 200;
    constexpr int kPeriodMs = 150;
    const QString font = harmik::FindGeneralMidiSoundFont();
    harmik::SoundEngine engine;
    if (font.isEmpty() || !engine.loadSoundFont(font) || !engine.openAudioOutput()) {
        state.SkipWithError("no SoundFont or no sound server");
        return;
    }
    harmik::ClickTrack track;
    track.Click = {9, 42, 100};
    track.Accent = track.Click;
    track.StepsPerBar = 4;
    track.StepCount = kLiveClicks - 1;
    track.Period = kPeriodMs;
    track.LoopMode = 2;
    track.Steps.fill(harmik::StepClick);
    const std::vector<float> click = Attack(font, track.Click);
    std::vector<double> errorsMs;
    for (auto _ : state) {
        FILE* rec = popen("parec --device=@DEFAULT_MONITOR@ --format=float32le --rate=48000 "
                          "--channels=1 --latency-msec=20",
                          "r");
        if (!rec) {
            state.SkipWithError("parec");
            return;
        }
        std::vector<float> recorded;
        std::atomic<bool> recording{true};
        std::thread reader([&] {
            float buffer[1024];
            while (recording.load()) {
                const std::size_t n = fread(buffer, sizeof(float), 1024, rec);
                if (n == 0)
                    break;
                recorded.insert(recorded.end(), buffer, buffer + n);
            }
        });
        harmik::BuiltInSynthOutput synth(engine);
        harmik::ClickTrackPlayer player(nullptr);
        engine.keepAwake(true);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        player.Start(track, synth);
        std::this_thread::sleep_for(std::chrono::milliseconds(kPeriodMs * (kLiveClicks + 4)));
        player.Kill();
        recording = false;
        pclose(rec);
        reader.join();
        // The first click: the first sample well above the silence; each next one near one
        // period later, placed by its attack.
        std::size_t first = 0;
        while (first < recorded.size() && std::abs(recorded[first]) < 1e-3f)
            ++first;
        const std::int64_t period = std::int64_t(kPeriodMs) * 48;
        std::int64_t previous = std::int64_t(first) - 8;
        previous += OnsetNear(recorded, previous, click);
        for (int k = 1; k < kLiveClicks; ++k) {
            const std::int64_t expected = previous + period;
            if (expected + 2400 + std::int64_t(kAttack) >= std::int64_t(recorded.size()))
                break;
            const std::int64_t onset = expected + OnsetNear(recorded, expected, click, 2400);
            errorsMs.push_back(std::abs(double(onset - expected)) / 48.0);
            previous = onset;
        }
    }
    std::sort(errorsMs.begin(), errorsMs.end());
    if (errorsMs.empty()) {
        state.SkipWithError("nothing recorded");
        return;
    }
    state.counters["intervals"] = double(errorsMs.size());
    state.counters["median_ms"] = errorsMs[errorsMs.size() / 2];
    state.counters["p99_ms"] = errorsMs[errorsMs.size() * 99 / 100];
    state.counters["max_ms"] = errorsMs.back();
}
BENCHMARK(BM_ClickTrackLive)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
