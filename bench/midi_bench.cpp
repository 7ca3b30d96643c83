// What a user of the sound layer feels: click-track timing, the time from a note-on to sound,
// the synthesizer's speed, the time from a MIDI key to the main thread, memory and idle cost.
// Run by hand: midi_bench [--benchmark_filter=...]. HARMIK_CLICK_STEPS sets the number of
// click-track steps (default 2000).
#include "midi/click_track_player.h"
#include "midi/midi_backend.h"
#include "midi/midi_event.h"
#include "midi/midi_input.h"
#include "midi/sound_engine.h"
#include "midi/sound_system.h"
#include "theory/clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <sys/resource.h>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Percentile(std::vector<double> v, double p) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<std::size_t>(p * double(v.size())))];
}

// Records when each step's note-on left the click track.
class TimingOutput : public harmik::MidiOutBackend {
public:
    explicit TimingOutput(std::size_t steps) : Times(steps) {}
    void sendShort(std::uint32_t m) override {
        if (harmik::Data2Of(m) == 0)
            return;
        const std::size_t i = Count.load(std::memory_order_relaxed);
        if (i < Times.size())
            Times[i] = Clock::now();
        Count.store(i + 1, std::memory_order_release);
        Count.notify_all();
    }
    void sendLong(const std::uint8_t*, std::size_t) override {}
    void reset() override {}
    void setVolume(std::uint16_t, std::uint16_t) override {}
    std::vector<Clock::time_point> Times;
    std::atomic<std::size_t> Count{0};
};

// Lateness of every click-track step against its ideal time, 16 ms steps (tempo 300).
// Argument 1: with the other core kept busy.
void BM_ClickTrackLateness(benchmark::State& state) {
    const std::size_t steps = qEnvironmentVariableIntValue("HARMIK_CLICK_STEPS") > 0
                                  ? std::size_t(qEnvironmentVariableIntValue("HARMIK_CLICK_STEPS"))
                                  : 2000;
    constexpr int kPeriod = 16;
    for (auto _ : state) {
        std::atomic<bool> busy{state.range(0) == 1};
        std::thread load([&] {
            volatile std::uint64_t x = 0;
            while (busy.load(std::memory_order_relaxed))
                x = x + 1;
        });
        harmik::ClickTrack track;
        track.Click = {9, 42, 80};
        track.Accent = {9, 37, 100};
        track.StepsPerBar = 4;
        track.StepCount = 839;
        track.Period = kPeriod;
        track.LoopMode = 0;
        track.Steps.fill(harmik::StepClick);
        TimingOutput out(steps);
        harmik::ClickTrackPlayer player(nullptr);
        const auto start = Clock::now();
        player.Start(track, out);
        for (std::size_t n = out.Count.load(); n < steps; n = out.Count.load())
            out.Count.wait(n);
        player.Kill();
        busy = false;
        load.join();
        std::vector<double> lateMs;
        for (std::size_t k = 0; k < steps; ++k) {
            const auto ideal = start + std::chrono::milliseconds(kPeriod * (k + 1));
            lateMs.push_back(
                std::chrono::duration<double, std::milli>(out.Times[k] - ideal).count());
        }
        state.counters["median_ms"] = Percentile(lateMs, 0.5);
        state.counters["p99_ms"] = Percentile(lateMs, 0.99);
        state.counters["max_ms"] = Percentile(lateMs, 1.0);
        state.counters["realtime_prio"] = player.realTimePriority() ? 1 : 0;
    }
}
BENCHMARK(BM_ClickTrackLateness)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

harmik::SoundEngine& LoadedEngine() {
    static harmik::SoundEngine engine;
    static const bool loaded = engine.loadSoundFont(harmik::FindGeneralMidiSoundFont());
    (void)loaded;
    return engine;
}

// Frames from a note-on call to the first sample above 1e-6 in the rendered output.
void BM_SynthNoteOnToSound(benchmark::State& state) {
    harmik::SoundEngine& engine = LoadedEngine();
    std::vector<float> left(64), right(64);
    std::vector<double> frames;
    for (auto _ : state) {
        engine.allSoundsOff();
        for (int i = 0; i < 2000; ++i) { // let the reverb ring out
            std::fill(left.begin(), left.end(), 0.0f);
            engine.render(left.data(), right.data(), 64);
        }
        engine.midiShort(harmik::PackShortMessage(0x90, 69, 85));
        int frame = 0;
        for (bool heard = false; !heard && frame < 48000; frame += 64) {
            std::fill(left.begin(), left.end(), 0.0f);
            engine.render(left.data(), right.data(), 64);
            for (int i = 0; i < 64 && !heard; ++i)
                if (std::abs(left[std::size_t(i)]) > 1e-6f) {
                    heard = true;
                    frames.push_back(frame + i);
                }
        }
        engine.midiShort(harmik::PackShortMessage(0x90, 69, 0));
    }
    state.counters["first_sample"] = Percentile(frames, 0.5);
}
BENCHMARK(BM_SynthNoteOnToSound)->Iterations(20)->Unit(benchmark::kMillisecond);

// One second of audio with 16 voices sounding; rt_factor = how much faster than real time.
void BM_SynthSixteenVoices(benchmark::State& state) {
    harmik::SoundEngine& engine = LoadedEngine();
    std::vector<float> left(64), right(64);
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        engine.allSoundsOff();
        for (int note = 0; note < 16; ++note)
            engine.midiShort(harmik::PackShortMessage(0x90 + (note % 8 == 7 ? 1 : 0),
                                                      std::uint8_t(48 + note), 90));
        state.ResumeTiming();
        const auto t0 = Clock::now();
        for (int block = 0; block < engine.sampleRate() / 64; ++block) {
            std::fill(left.begin(), left.end(), 0.0f);
            std::fill(right.begin(), right.end(), 0.0f);
            engine.render(left.data(), right.data(), 64);
        }
        seconds += std::chrono::duration<double>(Clock::now() - t0).count();
    }
    state.counters["rt_factor"] = double(state.iterations()) / seconds;
}
BENCHMARK(BM_SynthSixteenVoices)->Iterations(10)->Unit(benchmark::kMillisecond);

// A loopback input port fed from a driver thread.
class LoopbackInput : public harmik::MidiSystem {
public:
    int outputPortCount() override { return 0; }
    bool builtInSynthAvailable() override { return false; }
    std::string outputName(int) override { return {}; }
    std::unique_ptr<harmik::MidiOutBackend> openOutput(int) override { return nullptr; }
    int inputPortCount() override { return 1; }
    std::string inputName(int) override { return "loopback"; }
    std::unique_ptr<harmik::MidiInPort> openInput(int, harmik::MidiInSink& sink) override {
        Sink = &sink;
        return std::make_unique<harmik::MidiInPort>();
    }
    harmik::MidiInSink* Sink = nullptr;
};

// From the driver callback to OnMidiInput on the main thread, main thread idle.
void BM_MidiInputToMainThread(benchmark::State& state) {
    LoopbackInput system;
    harmik::TMidiInput input(system);
    input.setDeviceID(0);
    std::atomic<int> handled{0};
    Clock::time_point sentAt;
    std::vector<double> latencyMs;
    input.OnMidiInput = [&] {
        while (auto e = input.GetMidiEvent()) {
            latencyMs.push_back(
                std::chrono::duration<double, std::milli>(Clock::now() - sentAt).count());
            handled.fetch_add(1);
        }
    };
    input.Open();
    input.Start();
    for (auto _ : state) {
        const int before = handled.load();
        std::thread driver([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(2)); // main thread idle
            const std::uint8_t note[3] = {0x90, 60, 100};
            sentAt = Clock::now();
            system.Sink->MidiDriverCallback(note, 3);
        });
        while (handled.load() == before)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        driver.join();
    }
    state.counters["median_ms"] = Percentile(latencyMs, 0.5);
    state.counters["p99_ms"] = Percentile(latencyMs, 0.99);
}
BENCHMARK(BM_MidiInputToMainThread)->Iterations(500)->Unit(benchmark::kMillisecond);

long PeakRssKiB() {
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// Peak resident memory after loading the SoundFont the program picks and choosing the
// instruments of a session (piano, the user's sound, the drum kit).
void BM_SoundFontMemory(benchmark::State& state) {
    for (auto _ : state) {
        harmik::SoundEngine engine;
        engine.loadSoundFontInBackground(harmik::FindGeneralMidiSoundFont());
        engine.waitForSoundFont();
        engine.midiShort(harmik::PackShortMessage(0xC0, 1, 0));
        engine.midiShort(harmik::PackShortMessage(0xC1, 4, 0));
        state.counters["peak_rss_MiB"] = double(PeakRssKiB()) / 1024.0;
    }
}
BENCHMARK(BM_SoundFontMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double PulseCpuSeconds() {
    QFile pidFile(qEnvironmentVariable("XDG_RUNTIME_DIR") + "/pulse/pid");
    if (!pidFile.open(QIODevice::ReadOnly))
        return 0;
    QFile stat("/proc/" + pidFile.readAll().trimmed() + "/stat");
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = stat.readAll().split(' ');
    return fields.size() > 15 ? (fields[13].toDouble() + fields[14].toDouble()) / 100.0 : 0;
}

// Runs the main thread's event loop for a while, as the idle program would.
void RunEventLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// With a sound server: the sound layer's start-up (survey, SoundFont, devices), one note, then
// idle for 10 s. Reports the time to open the output, its buffering, the CPU share of the
// program and of the sound server over the 10 s after start-up, and how soon a note after the
// output's rest is heard (waking it plus its buffering).
void BM_AudioOutputIdle(benchmark::State& state) {
    for (auto _ : state) {
        const double startCpu = CpuSeconds();
        harmik::SoundSystemOptions options;
        harmik::SoundSystem sound(nullptr, options);
        const auto t0 = Clock::now();
        sound.EnumerateMidiDevices();
        state.counters["survey_ms"] =
            std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
        if (sound.NoWaveDevice()) {
            state.SkipWithError("no audio output (start a sound server)");
            return;
        }
        sound.OpenDevices();
        sound.Engine().waitForSoundFont();
        state.counters["startup_cpu_s"] = CpuSeconds() - startCpu;

        const double cpu0 = CpuSeconds();
        const double pulse0 = PulseCpuSeconds();
        RunEventLoop(10000);
        state.counters["idle_cpu_percent"] = (CpuSeconds() - cpu0) / 10.0 * 100.0;
        state.counters["server_idle_cpu_percent"] = (PulseCpuSeconds() - pulse0) / 10.0 * 100.0;

        const auto wake = Clock::now();
        sound.Output().NoteOn(1, 1, 69, 85);
        state.counters["buffered_ms"] = sound.Engine().bufferedMs();
        state.counters["heard_after_rest_ms"] =
            std::chrono::duration<double, std::milli>(Clock::now() - wake).count() +
            sound.Engine().bufferedMs();
        RunEventLoop(300);
        sound.Output().NoteOff(1, 1, 69);

        // Sounding, then resting again: CPU over the 10 s after one note.
        const double cpu1 = CpuSeconds();
        const double pulse1 = PulseCpuSeconds();
        RunEventLoop(10000);
        state.counters["after_note_cpu_percent"] = (CpuSeconds() - cpu1) / 10.0 * 100.0;
        state.counters["after_note_server_cpu_percent"] =
            (PulseCpuSeconds() - pulse1) / 10.0 * 100.0;
        state.counters["rested"] = sound.Engine().resting() ? 1 : 0;
    }
}
BENCHMARK(BM_AudioOutputIdle)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
