// From a tap to its stored time while the main thread is busy: a key press, a mouse press on
// the rhythm picture or a MIDI note is stamped when it happened, the main thread draws the
// rhythm picture for a while before it handles the input, and the tap the rhythm exercise
// keeps is compared with the moment of the input. The figure is the 99th percentile of that
// difference in milliseconds; with the alternative timing (the clock read when the tap is
// handled) it shows the time the main thread was busy instead.
#include "app/main_window.h"
#include "app/rhythm_screen.h"
#include "app/rhythm_session.h"
#include "app/transport_panel.h"
#include "bench_support.h"
#include "input/answer_panel.h"
#include "input/rhythm_staff_widget.h"
#include "theory/clock.h"

#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

using namespace harmik;

enum TapInput : int { SpaceKey = 0, MidiNote = 1 };

// A rhythm task in reading mode at the slowest tempo: the click track never ends a pass
// while the benchmark taps.
void StartRhythmTask(TForm1& window, bool alternativeTiming) {
    window.Settings().ExerciseOptions.Tempo[6] = 10;
    window.Settings().RhythmOptions.RhythmMode = RhythmRead;
    window.Settings().AltRhythmTiming = alternativeTiming ? 1 : 0;
    window.Settings().MidiListen = 1;
    window.SelectModule(7);
    window.Group_Problem()->setBoxTicked(2, true);
    window.resize(1600, 900);
    window.NyKnapClick();
}

void TapToStoredTime(benchmark::State& state) {
    const auto input = static_cast<TapInput>(state.range(0));
    const int busyPaints = static_cast<int>(state.range(1));
    const bool alternative = state.range(2) != 0;
    QTemporaryDir dir;
    bench::CountingMidi midi(true);
    TForm1 window(bench::QuietWindowSetup(midi, dir.path()));
    StartRhythmTask(window, alternative);
    RhythmSession& rhythm = window.Session().RhythmTask();
    if (!rhythm.running()) {
        state.SkipWithError("the rhythm did not start");
        return;
    }
    RhythmStaffWidget* picture = window.RhythmView()->ImageRytme();
    QImage canvas(picture->size() * 2, QImage::Format_RGB32);
    canvas.setDevicePixelRatio(2);
    QWidget* focus = window.PanelTransport()->NyKnap();
    std::vector<double> differences;
    std::vector<double> busy;
    for (auto _ : state) {
        if (rhythm.Taps().size() >= RhythmSession::kMaxTaps - 1)
            window.GentagKnapClick(); // a new pass: the taps start empty
        const std::uint32_t at = MonotonicMs();
        if (input == SpaceKey) {
            auto* down = new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
            down->setTimestamp(at);
            QCoreApplication::postEvent(focus, down);
            auto* up = new QKeyEvent(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier);
            up->setTimestamp(at);
            QCoreApplication::postEvent(focus, up);
        } else {
            const std::uint8_t on[3] = {0x90, 60, 100};
            const std::uint8_t off[3] = {0x90, 60, 0};
            midi.feed(on, 3);
            midi.feed(off, 3);
        }
        // The main thread draws the rhythm before it reaches the input.
        for (int i = 0; i < busyPaints; ++i) {
            QPainter p(&canvas);
            picture->paintPicture(p);
        }
        busy.push_back(MonotonicMs() - at);
        const std::size_t before = rhythm.Taps().size();
        QCoreApplication::processEvents();
        if (rhythm.Taps().size() != before + 1) {
            state.SkipWithError("the tap was not stored");
            return;
        }
        differences.push_back(static_cast<std::int32_t>(rhythm.Taps().back() - at));
    }
    window.NyKnapClick();
    std::sort(differences.begin(), differences.end());
    std::sort(busy.begin(), busy.end());
    const auto p99 = [](const std::vector<double>& v) {
        return v.empty() ? 0.0 : v[std::min(v.size() - 1, v.size() * 99 / 100)];
    };
    state.counters["p99_tap_error_ms"] = p99(differences);
    state.counters["max_tap_error_ms"] = differences.empty() ? 0.0 : differences.back();
    state.counters["median_busy_ms"] = busy.empty() ? 0.0 : busy[busy.size() / 2];
}
BENCHMARK(TapToStoredTime)
    ->ArgNames({"input", "paints", "alt"})
    ->Args({SpaceKey, 400, 0})
    ->Args({MidiNote, 400, 0})
    ->Args({SpaceKey, 400, 1})
    ->Iterations(300)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return harmik::bench::RunBenchmarksWithWidgets(argc, argv);
}
