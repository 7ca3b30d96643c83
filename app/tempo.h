#pragma once
#include <QString>
#include <optional>

// Tempo of a module in beats per minute, as the tempo fields and their spin buttons change it.
// Slow tempos move in steps of 2, tempos above 200 in steps of 5.
namespace harmik {

constexpr int kTempoMin = 10;
constexpr int kTempoMax = 800;
constexpr int kRhythmTempoMax = 300;
constexpr int kRhythmTempoTooSlow = 30; // what the rhythm field makes of a number below 10

// One step up: +2, and +3 more once the result reaches 202; never past the cap (800, or 300 in
// the rhythm module).
int TempoStepUp(int tempo, bool rhythm);

// One step down: -2 from 12 on, and -3 more while the result is still 203 or above.
int TempoStepDown(int tempo);

// A number typed into the tempo field: at least 10, even below 201, a multiple of 5 from 201
// on, at most 800 (300 in the rhythm module); rounding goes down.
int TypedTempo(int typed, bool rhythm);

// A number typed into the rhythm module's own field: as TypedTempo, but below 10 becomes 30
// and the cap is 300.
int TypedRhythmTempo(int typed);

// The number in a tempo field's text; none when the text is not a whole number.
std::optional<int> TempoFieldNumber(const QString& text);

} // namespace harmik
