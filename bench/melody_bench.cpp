// Cost of generating a 15-note melody and queuing it after its cadence, as the exercise cycle
// does for every new melody exercise.
#include <benchmark/benchmark.h>

#include "theory/cadence.h"
#include "theory/melody.h"

namespace {

using namespace harmik;

void BM_FifteenNoteMelody(benchmark::State& state) {
    GeneratorOptions options;
    options.RootNote = 57;
    options.PlayStyle = 1; // long jazz cadence
    MelodyOptions melody;
    melody.Tonality = static_cast<std::uint8_t>(state.range(0));
    melody.NoteCount = 15;
    melody.Leap = 4;
    Random random(7);
    ExerciseItem item;
    NoteQueue queue;
    for (auto _ : state) {
        benchmark::DoNotOptimize(GenerateMelody(item, options, melody, random));
        ClearQueue(queue);
        const CadencePlayback cadence = PlayCadence(
            queue, kStoredPlayStyle, melodyCadenceKey(item.itemIndex, options), options);
        benchmark::DoNotOptimize(PlayMelody(queue, item, cadence.StartTick, options));
        benchmark::ClobberMemory();
    }
}
// Major and harmonic minor draw up to 11 melodies for a good ending; chromatic draws one.
BENCHMARK(BM_FifteenNoteMelody)->Arg(0)->Arg(3)->Arg(6);

// A range too narrow for 15 notes: 20 placements fail before 36..83 is good enough.
void BM_FifteenNoteMelodyNarrowRange(benchmark::State& state) {
    GeneratorOptions options;
    options.RootNote = 60;
    options.LowestNote = 60;
    options.HighestNote = 64;
    MelodyOptions melody;
    melody.NoteCount = 15;
    melody.Leap = 7;
    Random random(9);
    ExerciseItem item;
    for (auto _ : state)
        benchmark::DoNotOptimize(GenerateMelody(item, options, melody, random));
}
BENCHMARK(BM_FifteenNoteMelodyNarrowRange);

} // namespace

BENCHMARK_MAIN();
