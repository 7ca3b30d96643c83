// Cost of generating and queuing one exercise item of each single-sonority module, as the
// exercise cycle does it for every new exercise.
#include <benchmark/benchmark.h>

#include "theory/exercise_generators.h"
#include "theory/exercise_players.h"
#include "theory/theory_tables.h"

namespace {

using namespace harmik;

GeneratorOptions allTicked(int boxes, int firstCounted) {
    GeneratorOptions options;
    options.AnswerBoxCount = boxes;
    for (int box = 0; box < boxes; ++box)
        options.AnswerChecks[static_cast<std::size_t>(box)] = true;
    options.SelectedCount = boxes - firstCounted;
    options.RandomRoot = true;
    options.Belig = true;
    options.PlayMode = PlaySustained;
    return options;
}

void BM_IntervalItem(benchmark::State& state) {
    GeneratorOptions options = allTicked(kIntervalItemCount, 0);
    options.Direction = DirectionBoth;
    Random random(1);
    ExerciseItem item;
    NoteQueue queue;
    for (auto _ : state) {
        benchmark::DoNotOptimize(GenerateInterval(item, options, random));
        ClearQueue(queue);
        benchmark::DoNotOptimize(PlayInterval(queue, item.root, item.itemIndex, options));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_IntervalItem);

void BM_ScaleItem(benchmark::State& state) {
    const GeneratorOptions options = allTicked(kScaleCount, 0);
    Random random(2);
    ExerciseItem item;
    NoteQueue queue;
    for (auto _ : state) {
        benchmark::DoNotOptimize(GenerateScale(item, options, random));
        ClearQueue(queue);
        benchmark::DoNotOptimize(PlayScale(queue, item.root, item.itemIndex, options));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ScaleItem);

void BM_ChordItem(benchmark::State& state) {
    const GeneratorOptions options = allTicked(kChordTypeCount, 0);
    Random random(3);
    ExerciseItem item;
    NoteQueue queue;
    for (auto _ : state) {
        benchmark::DoNotOptimize(GenerateChord(item, options, random));
        ClearQueue(queue);
        const int record = chordVoicingRecord(item.itemIndex, item.voicing);
        benchmark::DoNotOptimize(PlayChord(queue, item.root, record, options));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ChordItem);

void BM_InversionItem(benchmark::State& state) {
    GeneratorOptions options = allTicked(kInversionRecordCount, kFirstInversionItem);
    for (int box : {28, 29, 30})
        options.AnswerVisible[static_cast<std::size_t>(box)] = false;
    options.SelectedCount = 25;
    Random random(4);
    ExerciseItem item;
    NoteQueue queue;
    for (auto _ : state) {
        benchmark::DoNotOptimize(GenerateInversion(item, options, random));
        ClearQueue(queue);
        benchmark::DoNotOptimize(PlayInversion(queue, item.root, item.itemIndex, options));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_InversionItem);

} // namespace

BENCHMARK_MAIN();
