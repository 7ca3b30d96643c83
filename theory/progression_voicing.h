#pragma once
#include <array>

#include "theory/generator_options.h"
#include "theory/progression_table.h"
#include "theory/random.h"

// Voicing and placing a catalogued progression: the chords are built on a root, voice-led
// backwards from the last chord where the catalogue asks for it, and the whole progression is
// then moved into the module's range.
namespace harmik {

// Slot 0 holds the bass, slots 1..VoiceCount the upper voices.
constexpr int kProgressionVoiceSlots = 8;

struct ProgressionVoice {
    int Note = 0;
    bool Assigned = false; // taken over by the voice leading
};

struct ProgressionChordVoices {
    int Bass = 0;
    int VoiceCount = 0;
    std::array<ProgressionVoice, kProgressionVoiceSlots> Voices{};

    int note(int slot) const { return Voices[static_cast<std::size_t>(slot)].Note; }
};

struct VoicedProgression {
    int ChordCount = 0;
    std::array<ProgressionChordVoices, kMaxProgressionChords> Chords{};
    int TopVoice = 0;   // the highest upper voice of all chords
    int LowestBass = 0; // the lowest and highest bass over all chords
    int HighestBass = 0;
};

// Builds the chords of a progression on root R, from the last chord to the first.
// - A fixed voicing puts its bass and four voices at R - 12 + its offsets.
// - A catalogue chord puts its bass at R + root offset and its voices at the bass plus the
//   offsets of the type's first voicing; the slots past the voicing's notes hold the bass note.
//   In item 21 a three-voice chord gets a fourth voice, its first voice an octave up.
// - A voice-led progression then moves each chord towards the chord after it: voices that
//   share a pitch class with a voice of the following chord take that voice's note; each
//   following voice that no voice took draws the remaining voice nearest to it in pitch class
//   to the nearest note of that pitch class. Voices at least an octave above R drop an octave
//   unless that would bring them within a semitone of another voice; a bass more than a fifth
//   above the next bass drops an octave; the voices are sorted upwards.
// The following chord's voices are counted 1 .. this chord's voice count. Where that leaves a
// choice, the rule is fixed so: the voices are matched in order from the lowest, each taking
// the first following voice of its pitch class that is still free; a following voice left over
// when every voice is already placed is skipped.
// Finally slot 0 gets the bass (an octave below the built bass for catalogue chords).
VoicedProgression voiceProgression(int item, int root);

struct ProgressionPlacement {
    int LowestBass = 0; // where the lowest bass of the progression goes
    int Root = 0;       // the root that puts it there
    int Clef = 0;       // ExerciseClef
};

// Moves a progression voiced on `root` so that it fits the module's range: the lowest bass
// stays where it is, or with random root goes to a random place; then it is moved by octaves
// into the range (and 36..82 and a highest bass up to 62).
ProgressionPlacement placeProgression(const VoicedProgression& voiced, int root,
                                      const GeneratorOptions& options, Random& random);

} // namespace harmik
