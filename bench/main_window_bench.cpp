// Start-up cost of the main window: creation with all its defaults and files, and the first
// paint, in the offscreen platform.
#include "app/main_window.h"
#include "bench_support.h"
#include "userdata/messages.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QPixmapCache>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void MainWindowCreateAndFirstPaint(benchmark::State& state) {
    QTemporaryDir dir;
    // Devices that open at once: the window's own work is measured, not the machine's sound
    // system.
    harmik::bench::CountingMidi midi;
    const harmik::TForm1Setup setup = harmik::bench::QuietWindowSetup(midi, dir.path());
    for (auto _ : state) {
        harmik::TForm1 window(setup);
        window.show();
        QPixmap first = window.grab();
        benchmark::DoNotOptimize(first);
    }
}
BENCHMARK(MainWindowCreateAndFirstPaint)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The main window shown, with devices that open at once.
struct ShownWindow {
    QTemporaryDir dir;
    harmik::bench::CountingMidi midi;
    harmik::TForm1 window{harmik::bench::QuietWindowSetup(midi, dir.path())};
    ShownWindow() { window.show(); }
};

// Painting the whole shown window again, as after it was covered: every control, the staff and
// the piano; without Qt's pixmap cache, as the program runs.
void MainWindowRepaint(benchmark::State& state) {
    QPixmapCache::setCacheLimit(0);
    ShownWindow shown;
    QPixmap picture = shown.window.grab();
    for (auto _ : state) {
        picture = shown.window.grab();
        benchmark::DoNotOptimize(picture);
    }
    QPixmapCache::setCacheLimit(10240); // Qt's default, for the other benchmarks
}
BENCHMARK(MainWindowRepaint)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Laying out the whole window again at 1920 × 1200 (what every resize does), in the module
// given: answer panel, option groups, staff, piano and the panels round them.
void MainWindowRelayoutAt1920x1200(benchmark::State& state) {
    ShownWindow shown;
    harmik::TForm1& window = shown.window;
    window.setWindowState(Qt::WindowNoState);
    window.resize(1920, 1200);
    window.SelectModule(static_cast<int>(state.range(0)));
    for (auto _ : state)
        window.EarDoScreen();
}
BENCHMARK(MainWindowRelayoutAt1920x1200)
    ->Arg(1)
    ->Arg(3)
    ->Arg(5)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    return harmik::bench::RunBenchmarksWithWidgets(argc, argv);
}
