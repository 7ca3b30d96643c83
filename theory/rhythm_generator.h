#pragma once
#include <cstdint>
#include <string_view>

#include "theory/random.h"
#include "theory/rhythm_types.h"

// The rhythm module's generator: a random rhythm of one to six bars from the ticked note
// values, with rests, dots, ties, beam marks, its playback grid and its point value.
namespace harmik {

// Shown when no ticked value fits a position (3/4 with only halves ticked reaches it at the
// third beat); generation then goes on with the last value drawn.
inline constexpr std::string_view kRhythmDrawFaultMessage = "!Bug b5, report this!";

inline constexpr std::array<int, kMetreCount> TimeSignatureWeight{10, 20, 15, 5, 8, 10, 20, 25};
inline constexpr std::array<int, 3> RhythmModeWeight{4, 3, 2};

struct RhythmRequest {
    RhythmOptions Options;
    RhythmItemTicks Ticked{};
    int ExercisesPerTask = 20; // the tutor level's count when the tutor is active
};

// The rhythm part of the current exercise item (the rhythm module sets no pointStep: its
// points do not decay).
struct RhythmExercise {
    Rhythm rhythm;
    ClickGrid clickGrid{};
    std::int32_t points = 0;
    // kRhythmDrawFaultMessage when some position had no ticked value that fits, else empty.
    std::string_view fault;
};

RhythmExercise GenerateRhythm(const RhythmRequest& request, Random& random);

// The steps of the generator, in the order GenerateRhythm runs them; each works on the events
// written so far.

// Longest value index (0 a whole bar, 1 half .. 5 thirty-second) allowed at position p.
int LongestAllowedValue(int p, const TimeSignature& ts);
// Writes the bars with sounding values; returns false when some position had no fitting
// ticked value.
bool FillBars(Rhythm& rhythm, const RhythmRequest& request, Random& random);
void PlaceRests(Rhythm& rhythm, const RhythmRequest& request, Random& random);
// Lets notes and rests absorb the rests after them into ticked values; true if any changed.
bool MergeRests(Rhythm& rhythm, const TimeSignature& ts, const RhythmItemTicks& ticked);
bool DotBeforeRests(Rhythm& rhythm, const TimeSignature& ts, const RhythmItemTicks& ticked);
void PlaceTies(Rhythm& rhythm, const RhythmItemTicks& ticked, Random& random);
void SetBeamMarks(Rhythm& rhythm, const TimeSignature& ts);
std::int32_t RhythmPoints(const Rhythm& rhythm, const RhythmRequest& request);

} // namespace harmik
