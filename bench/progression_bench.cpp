// Cost of drawing, voicing, placing and queuing one chord progression with its cadence, as the
// exercise cycle does for every new progression exercise.
#include <benchmark/benchmark.h>

#include <string>

#include "theory/progression.h"

namespace {

using namespace harmik;

ItemNameList progressionNames() {
    return BuildItemNameList([](int id) { return "name " + std::to_string(id); },
                             ProgressionLabelCatalogue());
}

GeneratorOptions allProgressionsTicked() {
    GeneratorOptions options;
    options.AnswerBoxCount = kProgressionItemCount;
    for (int box = 0; box < kProgressionItemCount; ++box)
        options.AnswerChecks[static_cast<std::size_t>(box)] = true;
    options.SelectedCount = kProgressionItemCount;
    options.RandomRoot = true;
    options.LowestNote = 48;
    options.PlayMode = PlaySustained;
    options.PlayStyle = 1; // long jazz cadence: the most events
    return options;
}

void BM_ProgressionItem(benchmark::State& state) {
    const GeneratorOptions options = allProgressionsTicked();
    const ItemNameList names = progressionNames();
    Random random(5);
    ExerciseItem item;
    NoteQueue queue;
    for (auto _ : state) {
        benchmark::DoNotOptimize(GenerateProgression(item, options, random, names));
        ClearQueue(queue);
        benchmark::DoNotOptimize(
            PlayProgression(queue, item, item.root, item.itemIndex, false, options, random));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ProgressionItem);

// The voice leading alone, for the four-chord voice-led progression.
void BM_VoiceLeadFourChords(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(voiceProgression(37, 60));
}
BENCHMARK(BM_VoiceLeadFourChords);

} // namespace

BENCHMARK_MAIN();
