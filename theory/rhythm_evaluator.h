#pragma once
#include <array>
#include <cstdint>
#include <span>

#include "theory/rhythm_types.h"

// The rhythm evaluator: compares the user's taps of one pass with the rhythm and gives an
// accuracy in percent, the verdict text to show, and what the result drawing marks.
namespace harmik {

// Verdict texts of the string table.
enum RhythmVerdict : std::int32_t {
    VerdictYes = 460,      // "Да!"
    VerdictGood = 461,     // "Хорошо!"
    VerdictNotBad = 462,   // "Неплохо, пробуйте снова..."
    VerdictTryAgain = 463, // "Пробуйте снова..."
    VerdictOhNo = 464,     // "О, нет! Пробуйте снова..."
};

// One step of the tap table; a step is 2 units (1/12 of a quarter) of the user's bars.
struct RhythmTapStep {
    bool Tapped = false;
    std::int32_t R = 0;             // the tap's time in ms from the user's start
    std::int32_t Event = -1;        // the matched event, -1 none
    std::int32_t Deviation = 32000; // expected time - R of the matched event
};

constexpr int kRhythmTapSteps = 361;

// One pass of the click track as the user tapped it.
struct RhythmPass {
    RhythmOptions Options;
    int Tempo = 120;
    std::uint32_t StartTime = 0; // when step 0 of the pass sounded (ms of the monotonic clock)
    std::span<const std::uint32_t> Taps; // tap times, same clock
};

struct RhythmEvaluation {
    double Accuracy = 0;                                // percent, 0..100
    std::int32_t Value = 0;                             // the accuracy rounded, handed to the judge
    std::int32_t VerdictId = 0;                         // string to show, 0 when none applies
    std::array<RhythmTapStep, kRhythmTapSteps> Steps{}; // the final table, after delay removal
    std::int32_t Sounding = 0;                          // events that should be tapped
    std::int32_t Matched = 0;                           // of them, matched with a tap
    std::int32_t ExtraTaps = 0; // taps without an event, including those after the table
    std::int32_t UserStart = 0; // ms from the pass start to the user's first step, corrected
};

// Nearest integer, halves to even.
std::int32_t RoundAccuracy(double accuracy);

// The verdict for a rounded accuracy and the sensitivity setting (89..99).
std::int32_t RhythmVerdictFor(std::int32_t value, int sensitivity);

RhythmEvaluation EvaluateRhythm(const Rhythm& rhythm, const RhythmPass& pass);

} // namespace harmik
