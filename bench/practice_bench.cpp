// What a musician feels after a right answer: from the answer to the next exercise queued and
// its first note sent to the output, with visual feedback (no feedback sound to wait for).
#include "app/main_window.h"
#include "bench_support.h"
#include "input/answer_panel.h"
#include "userdata/messages.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>

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

} // namespace

int main(int argc, char** argv) {
    return harmik::bench::RunBenchmarksWithWidgets(argc, argv);
}
