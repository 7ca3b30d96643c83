// Cost of the rhythm module's work per exercise: generating a rhythm (on every new exercise)
// and evaluating the taps of a pass (on the main thread at the end of every pass).
#include <benchmark/benchmark.h>

#include <vector>

#include "theory/rhythm_click.h"
#include "theory/rhythm_evaluator.h"
#include "theory/rhythm_generator.h"

namespace {

using namespace harmik;

RhythmRequest SixBarsEverythingTicked(int metre) {
    RhythmRequest request;
    request.Options.Metre = static_cast<std::uint8_t>(metre);
    request.Options.Bars = 6;
    request.Options.RhythmMode = RhythmReadListen;
    request.Ticked.fill(true);
    return request;
}

void BM_GenerateSixBarRhythm(benchmark::State& state) {
    const RhythmRequest request = SixBarsEverythingTicked(static_cast<int>(state.range(0)));
    Random random(1);
    for (auto _ : state) {
        RhythmExercise exercise = GenerateRhythm(request, random);
        benchmark::DoNotOptimize(exercise);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_GenerateSixBarRhythm)->Arg(3)->Arg(5)->Arg(6);

// The densest pass: six bars of 5/4 in sixteenth triplets (180 notes), with a tap on every
// one of the 361 steps of the table.
void BM_EvaluateFullRhythm(benchmark::State& state) {
    RhythmRequest request;
    request.Options.Metre = 5;
    request.Options.Bars = 6;
    request.Options.RhythmMode = RhythmRead;
    request.Ticked[ItemSixteenthTriplets] = true;
    Random random(1);
    const Rhythm rhythm = GenerateRhythm(request, random).rhythm;

    const int tempo = 120;
    const std::int32_t stepMs = 2 * UnitMs(tempo);
    const std::uint32_t start = 1000;
    const std::uint32_t userStart = start + static_cast<std::uint32_t>(5 * 12 * stepMs);
    std::vector<std::uint32_t> taps;
    for (int step = 0; step < kRhythmTapSteps; ++step)
        taps.push_back(userStart + static_cast<std::uint32_t>(step * stepMs + step % 3));

    RhythmPass pass;
    pass.Options = request.Options;
    pass.Tempo = tempo;
    pass.StartTime = start;
    pass.Taps = taps;
    for (auto _ : state) {
        RhythmEvaluation result = EvaluateRhythm(rhythm, pass);
        benchmark::DoNotOptimize(result);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_EvaluateFullRhythm);

} // namespace

BENCHMARK_MAIN();
