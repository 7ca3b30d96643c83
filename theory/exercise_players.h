#pragma once
#include <span>

#include "theory/generator_options.h"
#include "theory/note_queue.h"

// The players of the interval, scale, chord and inversion modules. The caller stops the
// playback timer and runs StopAll first (which empties the queue); a player then queues the
// item's note-ons and releases from tick 1 on OutChannel with Velocity, and returns the
// interval of the playback timer in milliseconds, which the caller sets before starting it.
namespace harmik {

// One tick per beat: 60000 div Tempo milliseconds.
int tickIntervalMs(int tempo);

// Queues the notes of one item in a play mode: harmonic (all on at 1, off at 4), melodic (note
// k on at k, off at k + 1) or sustained (note k on at k, all off at n + 3). Notes outside
// 0..127 are left out.
void queueNotes(NoteQueue& queue, std::span<const int> notes, int playMode, int channel,
                int velocity);

// First note root, second root + size (size negative downwards).
int PlayInterval(NoteQueue& queue, int root, int size, const GeneratorOptions& options);
int PlayScale(NoteQueue& queue, int root, int row, const GeneratorOptions& options);
// record: ChordTypeIndex start of the type + voicing. In harmonic mode with ChordTuning the
// lowest note sounds alone at tick 1 and the whole chord from tick 2.
int PlayChord(NoteQueue& queue, int root, int record, const GeneratorOptions& options);
int PlayInversion(NoteQueue& queue, int root, int record, const GeneratorOptions& options);

} // namespace harmik
