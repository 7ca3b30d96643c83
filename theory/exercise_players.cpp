#include "theory/exercise_players.h"

#include <algorithm>
#include <vector>

#include "theory/theory_tables.h"

namespace harmik {

namespace {

constexpr int kMaxItemNotes = 16;

struct Voice {
    int Channel;
    int Velocity;
};

Voice voiceOf(const GeneratorOptions& options) {
    return {std::clamp(options.OutChannel, 1, 16), std::clamp(options.Velocity, 1, 127)};
}

void noteOn(NoteQueue& q, int tick, int note, const Voice& v) {
    QueueNote(q, tick, static_cast<std::uint8_t>(v.Channel), static_cast<std::uint8_t>(note),
              static_cast<std::uint8_t>(v.Velocity));
}

void noteOff(NoteQueue& q, int tick, int note, const Voice& v) {
    QueueNote(q, tick, static_cast<std::uint8_t>(v.Channel), static_cast<std::uint8_t>(note), 0);
}

bool isMidiNote(int note) {
    return note >= 0 && note <= 127;
}

// root + offsets, without notes outside the MIDI range.
std::vector<int> notesAbove(int root, std::span<const std::uint8_t> offsets) {
    std::vector<int> notes;
    notes.reserve(kMaxItemNotes);
    for (std::uint8_t offset : offsets)
        if (isMidiNote(root + offset))
            notes.push_back(root + offset);
    return notes;
}

void queueWithVoice(NoteQueue& q, std::span<const int> notes, int playMode, const Voice& v) {
    const int n = static_cast<int>(notes.size());
    switch (playMode) {
    case PlayHarmonic:
        for (int note : notes)
            noteOn(q, 1, note, v);
        for (int note : notes)
            noteOff(q, 4, note, v);
        break;
    case PlaySustained:
        for (int k = 1; k <= n; ++k)
            noteOn(q, k, notes[static_cast<std::size_t>(k - 1)], v);
        for (int note : notes)
            noteOff(q, n + 3, note, v);
        break;
    default: // melodic
        for (int k = 1; k <= n; ++k) {
            noteOn(q, k, notes[static_cast<std::size_t>(k - 1)], v);
            noteOff(q, k + 1, notes[static_cast<std::size_t>(k - 1)], v);
        }
        break;
    }
}

// The lowest note alone at tick 1, released and struck again with the others at tick 2, all
// released at tick 5.
void queueTunedChord(NoteQueue& q, std::span<const int> notes, const Voice& v) {
    if (notes.empty())
        return;
    noteOn(q, 1, notes.front(), v);
    noteOff(q, 2, notes.front(), v);
    for (int note : notes)
        noteOn(q, 2, note, v);
    for (int note : notes)
        noteOff(q, 5, note, v);
}

} // namespace

int tickIntervalMs(int tempo) {
    return 60000 / std::max(1, tempo);
}

void queueNotes(NoteQueue& queue, std::span<const int> notes, int playMode, int channel,
                int velocity) {
    std::vector<int> playable;
    for (int note : notes)
        if (isMidiNote(note))
            playable.push_back(note);
    queueWithVoice(queue, playable, playMode,
                   {std::clamp(channel, 1, 16), std::clamp(velocity, 1, 127)});
}

int PlayInterval(NoteQueue& queue, int root, int size, const GeneratorOptions& options) {
    std::vector<int> notes;
    for (int note : {root, root + size})
        if (isMidiNote(note))
            notes.push_back(note);
    queueWithVoice(queue, notes, options.PlayMode, voiceOf(options));
    return tickIntervalMs(options.Tempo);
}

int PlayScale(NoteQueue& queue, int root, int row, const GeneratorOptions& options) {
    queueWithVoice(queue, notesAbove(root, scaleRow(row).notes()), options.PlayMode,
                   voiceOf(options));
    return tickIntervalMs(options.Tempo);
}

int PlayChord(NoteQueue& queue, int root, int record, const GeneratorOptions& options) {
    const std::vector<int> notes = notesAbove(root, chordVoicing(record).notes());
    if (options.PlayMode == PlayHarmonic && options.ChordTuning)
        queueTunedChord(queue, notes, voiceOf(options));
    else
        queueWithVoice(queue, notes, options.PlayMode, voiceOf(options));
    return tickIntervalMs(options.Tempo);
}

int PlayInversion(NoteQueue& queue, int root, int record, const GeneratorOptions& options) {
    queueWithVoice(queue, notesAbove(root, inversionRecord(record).notes()), options.PlayMode,
                   voiceOf(options));
    return tickIntervalMs(options.Tempo);
}

} // namespace harmik
