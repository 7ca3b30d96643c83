#pragma once
#include <array>
#include <cstdint>

// The one current exercise item of the program, shared by all modules. Modules that need more
// than a single sonority (progressions, melodies, rhythm) add their own fields after the common
// ones; every field has a default so that the record stays a plain aggregate.
namespace harmik {

// The staff on which an item is drawn.
enum ExerciseClef : std::int32_t {
    ClefBoth = 0,
    ClefTreble = 1,
    ClefBass = 2,
};

constexpr int kMaxMelodyNotes = 15;

struct ExerciseItem {
    // Index of the item's answer box. Intervals: the size in semitones, negative downwards;
    // scales: the row of ScaleTable; chords: the chord type; inversions: the record 7..34.
    std::int32_t itemIndex = -1;
    // The note the item is played from (for intervals the first note).
    std::int32_t root = 60;
    // Chords: voicing number within the type (0 = close root position).
    std::int32_t voicing = 0;
    // Tonic of the key in which the staff spells the item's notes.
    std::int32_t keyTonic = 60;
    // ExerciseClef.
    std::int32_t clef = ClefBoth;
    // Point value, lowered by pointStep on each tick of the points timer.
    std::int32_t points = 0;
    std::int32_t pointStep = 0;

    // Melodies: melodyNotes[0] is the note count (1..15), melodyNotes[1..count] the notes;
    // melodySteps[k] is the scale position of note k, 7 x octave + degree counted from the
    // tonic (the octave may be negative).
    std::array<std::int32_t, kMaxMelodyNotes + 1> melodyNotes{};
    std::array<std::int32_t, kMaxMelodyNotes + 1> melodySteps{};
};

} // namespace harmik
