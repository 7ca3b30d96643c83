// What a musician feels after a right answer: from the answer to the next exercise queued and
// its first note sent to the output, with visual feedback (no feedback sound to wait for).
#include "app/main_window.h"
#include "bench_support.h"
#include "input/answer_panel.h"
#include "userdata/messages.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

void RightAnswerToNextExerciseFirstNote(benchmark::State& state) {
    QTemporaryDir dir;
    // Devices that open at once: the window's own work is measured, not the machine's sound
    // system.
    harmik::bench::CountingMidi midi;
    const harmik::TForm1Setup setup = harmik::bench::QuietWindowSetup(midi, dir.path());
    harmik::TForm1 window(setup);
    window.Settings().ExerciseOptions.FeedbackType = 2;
    window.Settings().ExerciseOptions.ExercisesPerTask = 50;
    window.Settings().ExerciseOptions.PlayMode = 0; // harmonic: both notes on the first tick
    for (int i : {2, 3, 4, 5, 7, 9})
        window.Group_Problem()->setBoxTicked(i, true);
    window.NyKnapClick();

    for (auto _ : state) {
        window.Session().Task().exerciseCount = 0; // the task never ends here
        const long before = midi.sent.load();
        window.Judge(std::abs(window.Session().Item().itemIndex), harmik::SourceAnswerPanel);
        window.Session().TimerMidi1Timer(); // the playback's first tick
        if (midi.sent.load() == before)
            state.SkipWithError("no note was sent");
    }
    window.NyKnapClick();
}
BENCHMARK(RightAnswerToNextExerciseFirstNote)->Unit(benchmark::kMicrosecond);

// A melody after its long cadence at 300 beats a minute, timed by the playback queue's timer:
// how far each chord and note starts from its tick (the first onset is tick 1).
void MelodyOnsetGrid(benchmark::State& state) {
    QTemporaryDir dir;
    harmik::bench::CountingMidi midi;
    harmik::bench::OnsetLog onsets;
    midi.onsets = &onsets;
    const harmik::TForm1Setup setup = harmik::bench::QuietWindowSetup(midi, dir.path());
    harmik::TForm1 window(setup);
    window.SelectModule(6);
    window.Settings().ExerciseOptions.PlayStyle = 0;
    window.Settings().ExerciseOptions.Tempo[5] = 300;
    window.Settings().MelodyOptions.NoteCount = 15;
    std::vector<double> errors;
    for (auto _ : state) {
        onsets.Count.store(0);
        window.NyKnapClick();
        QTimer* timer = window.Session().TimerMidi1();
        while (timer->isActive())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        window.NyKnapClick();
        const int n = onsets.Count.load(std::memory_order_acquire);
        const double tickMs = timer->interval();
        for (int k = 1; k < n; ++k) {
            const double ms = std::chrono::duration<double, std::milli>(
                                  onsets.At[static_cast<std::size_t>(k)] - onsets.At[0])
                                  .count();
            const double ticks = std::round(ms / tickMs);
            if (ticks > 0)
                errors.push_back(std::abs(ms - ticks * tickMs));
        }
    }
    std::sort(errors.begin(), errors.end());
    if (!errors.empty()) {
        state.counters["onsets"] = static_cast<double>(errors.size());
        state.counters["p50_ms"] = errors[errors.size() / 2];
        state.counters["p99_ms"] = errors[std::min(errors.size() - 1, errors.size() * 99 / 100)];
        state.counters["max_ms"] = errors.back();
    }
}
BENCHMARK(MelodyOnsetGrid)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv) {
    return harmik::bench::RunBenchmarksWithWidgets(argc, argv);
}
