// The musician's own playing: from a note arriving at the MIDI input (on the driver's thread)
// to the judge's verdict on the main thread, and the drawing of one exercise on the staff.
#include "app/exercise_staff.h"
#include "app/main_window.h"
#include "bench_support.h"
#include "input/answer_panel.h"
#include "input/staff_widget.h"
#include "theory/exercise_generators.h"
#include "theory/item_names.h"
#include "theory/progression_table.h"
#include "userdata/strings.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The driver's thread: plays one note-on each time the benchmark asks for one and notes when
// it handed it over.
class KeyboardPlayer {
public:
    explicit KeyboardPlayer(harmik::bench::CountingMidi& midi)
        : midi_(midi), thread_([this] { run(); }) {}
    ~KeyboardPlayer() {
        stop_.store(true);
        thread_.join();
    }
    void play(int note) {
        note_.store(note);
        requested_.fetch_add(1);
    }
    Clock::time_point handedOver() const { return Clock::time_point(Clock::duration(at_.load())); }

private:
    void run() {
        long done = 0;
        while (!stop_.load()) {
            if (requested_.load() == done) {
                std::this_thread::yield();
                continue;
            }
            ++done;
            const std::uint8_t bytes[3] = {0x90, std::uint8_t(note_.load()), 100};
            at_.store(Clock::now().time_since_epoch().count());
            midi_.feed(bytes, sizeof bytes);
        }
    }

    harmik::bench::CountingMidi& midi_;
    std::atomic<bool> stop_{false};
    std::atomic<long> requested_{0};
    std::atomic<int> note_{0};
    std::atomic<Clock::rep> at_{0};
    std::thread thread_;
};

void MidiNoteToVerdict(benchmark::State& state) {
    QTemporaryDir dir;
    harmik::bench::CountingMidi midi(true);
    const harmik::TForm1Setup setup = harmik::bench::QuietWindowSetup(midi, dir.path());
    harmik::TForm1 window(setup);
    window.Settings().ExerciseOptions.FeedbackType = 2;
    window.Settings().ExerciseOptions.ExercisesPerTask = 50;
    window.Settings().MidiThruOn = 1;
    for (int i : {2, 3, 4, 5, 7, 9})
        window.Group_Problem()->setBoxTicked(i, true);
    window.NyKnapClick();
    KeyboardPlayer player(midi);
    std::vector<double> latencies;

    for (auto _ : state) {
        window.Session().Task().exerciseCount = 0; // the task never ends here
        const int right = window.Session().Item().root + window.Session().Item().itemIndex;
        const int before = window.Session().Score().right;
        player.play(right);
        // The main thread waits idle until the input's wake-up arrives.
        while (window.Session().Score().right == before)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const auto verdict = Clock::now();
        const double us =
            std::chrono::duration<double, std::micro>(verdict - player.handedOver()).count();
        latencies.push_back(us);
        state.SetIterationTime(us / 1e6);
    }
    window.NyKnapClick();
    std::sort(latencies.begin(), latencies.end());
    if (!latencies.empty()) {
        auto at = [&](double q) {
            return latencies[std::min(latencies.size() - 1,
                                      static_cast<std::size_t>(q * latencies.size()))];
        };
        state.counters["p50_us"] = at(0.50);
        state.counters["p99_us"] = at(0.99);
        state.counters["max_us"] = latencies.back();
    }
}
BENCHMARK(MidiNoteToVerdict)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);

// The last note of a melody played on the MIDI keyboard, to the next melody's cadence queued and
// its first chord sent to the output.
void LastMelodyNoteToNextCadence(benchmark::State& state) {
    QTemporaryDir dir;
    harmik::bench::CountingMidi midi(true);
    const harmik::TForm1Setup setup = harmik::bench::QuietWindowSetup(midi, dir.path());
    harmik::TForm1 window(setup);
    window.Settings().ExerciseOptions.FeedbackType = 2;
    window.Settings().ExerciseOptions.ExercisesPerTask = 50;
    window.Settings().ExerciseOptions.PlayStyle = 0; // the long classical cadence
    window.SelectModule(6);
    window.Settings().MelodyOptions.NoteCount = 1; // every note is the melody's last
    window.NyKnapClick();
    KeyboardPlayer player(midi);
    harmik::PracticeSession& session = window.Session();

    for (auto _ : state) {
        session.Task().exerciseCount = 0; // the task never ends here
        const int settled = session.Score().right;
        player.play(session.Item().melodyNotes[1]);
        while (session.Score().right == settled)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const long sent = midi.sent.load();
        session.TimerMidi1Timer(); // the cadence's first tick
        if (midi.sent.load() == sent)
            state.SkipWithError("no chord was sent");
        const double us =
            std::chrono::duration<double, std::micro>(Clock::now() - player.handedOver()).count();
        state.SetIterationTime(us / 1e6);
    }
    window.NyKnapClick();
}
BENCHMARK(LastMelodyNoteToNextCadence)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(500);

// One interval exercise written on a 760-pixel staff: its root, the answer with the names and
// the bar line, and the whole picture painted.
void StaffDrawOneExercise(benchmark::State& state) {
    using namespace harmik;
    const ItemNameList names = BuildItemNameList([](int id) { return LoadStr(id).toStdString(); },
                                                 ProgressionLabelCatalogue());
    StaffWidget staff;
    staff.resize(760, kStaffHeight);
    ExerciseStaff writer(staff, names, {});
    writer.ResetForTask(1);
    GeneratorOptions options;
    for (int i : {2, 3, 4, 5, 7, 9})
        options.AnswerChecks[static_cast<std::size_t>(i)] = true;
    options.AnswerBoxCount = 37;
    options.SelectedCount = 6;
    Random random(7);
    ExerciseItem item;
    QImage picture(staff.size() * 2, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(2);
    for (auto _ : state) {
        const GenerateResult r = GenerateInterval(item, options, random);
        writer.BeginItem(1, item, r.Staff);
        writer.ShowAnswer(1, item, AnswerProgress{});
        while (staff.scrolling())
            staff.ScrollFrame();
        QPainter painter(&picture);
        staff.render(&painter);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(StaffDrawOneExercise)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return harmik::bench::RunBenchmarksWithWidgets(argc, argv);
}
