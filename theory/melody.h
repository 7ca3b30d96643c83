#pragma once
#include <array>
#include <cstdint>

#include "theory/exercise_item.h"
#include "theory/generator_options.h"
#include "theory/keys.h"
#include "theory/note_queue.h"
#include "theory/random.h"

// The melody module: a random melody in the key and tonality of the melody options, placed in
// the module's range, and its player.
namespace harmik {

// Point weight of each tonality.
extern const std::array<std::uint8_t, kTonalityCount> TonalityWeight;

constexpr int kMelodyAttempts = 41;       // placements tried before the last one stands
constexpr int kMelodyWideRangeFrom = 21;  // from this attempt on 36..83 is good enough
constexpr int kMelodyEndingTries = 11;    // melodies drawn to find a good last note
constexpr int kMelodyStaffNoteWidth = 27; // pixels from one melody note to the next
constexpr int kPianoOctaveWidth = 182;    // pixels of one octave of the on-screen piano

// A scale degree (counted from the tonic, any sign) as a note offset above the tonic and a
// scale position 7 x octave + degree, in scale row `row` of `degreesPerOctave` notes.
struct MelodyDegree {
    int Offset = 0;
    int Step = 0;
};
MelodyDegree melodyDegree(int degree, int row, int degreesPerOctave);

// Whether a melody with these lowest and highest notes may stand at placement attempt
// `attempt` (from 1): within the module's range, or from the 21st attempt on within 36..83.
bool melodyPlacementFits(int lowest, int highest, int attempt, const GeneratorOptions& options);

struct MelodyGenerateResult {
    KeyState Key;              // the key signature, to be shown before the melody
    bool PointsChanged = true; // show the melody's points
    // Scroll or reset the staff when this many pixels do not fit right of its drawing position.
    int StaffRoomNeeded = 0;
    // The on-screen piano marks the octave of the first note with a blue bar 182 x 3 pixels at
    // this x, and, with ShowStartNote, the first note's key.
    int PianoOctaveBarX = 0;
    bool MarkStartNote = false;
    int StartNote = 0;
};

// Fills the melody fields of the exercise item: itemIndex the tonality, root the placed tonic,
// keyTonic 36, melodyNotes, melodySteps, clef, points and pointStep. The tonic is
// options.RootNote and the range options.LowestNote..HighestNote. The melody moves by random
// steps of up to Leap scale degrees; unless the tonality is chromatic, up to 11 melodies are
// drawn to end on the tonic, third or fifth of the scale.
MelodyGenerateResult GenerateMelody(ExerciseItem& exercise, const GeneratorOptions& options,
                                    const MelodyOptions& melody, Random& random);

// Queues note k of the melody on at startTick + k and off a tick later, and returns the tick
// interval (one beat). With a start tick below 2 the melody plays alone: the caller stops the
// timer and runs StopAll first, as before any player; otherwise it follows the cadence that
// PlayCadence queued and whose start tick it was given.
int PlayMelody(NoteQueue& queue, const ExerciseItem& exercise, int startTick,
               const GeneratorOptions& options);

// The scale of a tonality from `tonic` up an octave and down again, one note a tick from
// startTick + 1 (as a melody follows its cadence); returns the tick interval.
int PlayTonalityScale(NoteQueue& queue, int tonic, int tonality, int startTick,
                      const GeneratorOptions& options);

} // namespace harmik
