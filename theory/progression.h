#pragma once
#include <string>
#include <vector>

#include "theory/exercise_generators.h"
#include "theory/exercise_item.h"
#include "theory/generator_options.h"
#include "theory/item_names.h"
#include "theory/note_queue.h"
#include "theory/progression_voicing.h"
#include "theory/random.h"

// The chord-progression module: drawing an item, playing it after a cadence, and the names of
// its chords.
namespace harmik {

// String 3010, the second part of every progression item's hint.
constexpr int kProgressionHintTextId = 3010;
// The staff is reset before a new progression when its drawing position is this close to its
// right edge.
constexpr int kProgressionStaffMargin = 10;

struct ProgressionGenerateResult {
    // Staff.MakeRoom: reset the staff when the drawing position is within
    // kProgressionStaffMargin pixels of its right edge.
    GenerateResult Result;
    // The label of each chord for the staff, such as "IIм.мин.7" or "V".
    std::vector<std::string> ChordLabels;
};

// Draws a ticked progression (index -1, which also sets the points) or takes the given one.
// root and keyTonic become the fixed root, or kRandomRootNote with random root. `names` gives
// the item's caption, which is split into the chord labels.
ProgressionGenerateResult GenerateProgression(ExerciseItem& exercise,
                                              const GeneratorOptions& options, Random& random,
                                              const ItemNameList& names, int index = kDrawNewItem);

// A caption "A - B - C" split into its chords "A", "B", "C".
std::vector<std::string> progressionChordLabels(const std::string& caption);

struct ProgressionPlayback {
    int TickIntervalMs = 0; // half a beat per tick
    int SignatureKey = 0;   // the pitch class of the key the staff writes the chords in
    int FirstChordTick = 0; // where the first chord starts sounding
    // The chords as they sound: slot 0 the bass, slots 1..VoiceCount the upper voices.
    VoicedProgression Played;
};

// Voices progression `item` on `root`, queues the cadence (unless withoutCadence) and the
// chords in the play mode, on OutChannel with Velocity. As with every player, the caller has
// stopped the timer and run StopAll first.
// Without the flag the progression is moved into the module's range (to a random place with
// random root), and exercise.root becomes the root that puts it there, so that replaying
// with the flag and that root sounds the same chords, without the cadence, from tick 2.
// exercise.keyTonic becomes `root`; exercise.clef is set by the placement.
// Harmonic: each chord 6 ticks (all on at its tick 1, off at 6, the last at 7). Melodic: voice
// j (0 the bass) on at 2j + 1, off two ticks later; 2c + 3 ticks for c upper voices.
// Sustained: voice j on at 2j + 1, all off at 2c + 3 but the top voice at 2c + 4.
ProgressionPlayback PlayProgression(NoteQueue& queue, ExerciseItem& exercise, int root, int item,
                                    bool withoutCadence, const GeneratorOptions& options,
                                    Random& random);

// The name of chord `chord` (0 = first) of an item in a key (pitch class): the root's flat name
// followed by "m" for minor, nothing for major, the chord name (string 171 + type) otherwise;
// fixed voicings are named by their named type.
std::string ProgressionChordName(int item, int chord, int key, bool germanNaming,
                                 const StringLookup& lookup);

// The hints of the 48 items: the chord names in the key joined by " - ", "|" and string 3010.
std::vector<std::string> BuildProgressionHints(int key, bool germanNaming,
                                               const StringLookup& lookup);

// Keeps only the group of the first ticked item (items 0..23, 24..35 or 36..47) ticked, and
// recounts the ticked items.
void keepFirstTickedProgressionGroup(GeneratorOptions& options);

// How far right of a chord's labels the next chord's start: max(11 x name length, 7 x label
// length) + 10 pixels, 11 fewer when the name holds "(" after its first character.
int progressionLabelAdvance(const std::string& chordName, const std::string& label);

} // namespace harmik
