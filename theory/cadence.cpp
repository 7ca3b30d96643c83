#include "theory/cadence.h"

#include <algorithm>

#include "theory/exercise_players.h"
#include "theory/keys.h"
#include "theory/note_names.h"
#include "theory/progression_table.h"

namespace harmik {

const std::array<std::array<CadenceChord, kCadenceChordCount>, 4> CadenceTable = {{
    // Classical, major: I, IV, I six-four, V7, I.
    {{{4, {12, 28, 31, 36, 0}},
      {4, {17, 29, 33, 36, 0}},
      {4, {19, 28, 31, 36, 0}},
      {4, {7, 26, 29, 35, 0}},
      {4, {12, 28, 31, 36, 0}}}},
    // Jazz, major: I, VI, II, V, I with added ninths and thirteenths.
    {{{5, {12, 23, 26, 28, 31}},
      {5, {9, 24, 26, 31, 35}},
      {5, {14, 24, 28, 29, 33}},
      {5, {7, 17, 23, 28, 33}},
      {5, {12, 23, 26, 28, 31}}}},
    // Classical, minor.
    {{{4, {12, 27, 31, 36, 0}},
      {4, {17, 29, 32, 36, 0}},
      {4, {19, 27, 31, 36, 0}},
      {4, {7, 26, 29, 35, 0}},
      {4, {12, 27, 31, 36, 0}}}},
    // Jazz, minor.
    {{{5, {12, 21, 26, 27, 31}},
      {5, {9, 19, 23, 25, 30}},
      {5, {14, 20, 24, 26, 29}},
      {5, {7, 17, 21, 23, 27}},
      {5, {12, 15, 19, 23, 26}}}},
}};

namespace {

constexpr int kJazzMajorRow = 1;
constexpr int kJazzMinorRow = 3;

bool isChordCadence(int kind) {
    return kind == CadenceClassical || kind == CadenceJazz || kind == CadenceClassicalShort ||
           kind == CadenceJazzShort;
}

bool isJazzCadence(int kind) {
    return kind == CadenceJazz || kind == CadenceJazzShort;
}

// Chord types whose third is minor: minor, diminished, minor seventh, half-diminished,
// diminished seventh and minor-major seventh.
bool hasMinorThird(int chordType) {
    switch (chordType) {
    case 1:
    case 2:
    case 8:
    case 9:
    case 10:
    case 11:
        return true;
    default:
        return false;
    }
}

struct Sound {
    std::uint8_t Channel;
    std::uint8_t Velocity;
};

Sound soundOf(const GeneratorOptions& options) {
    return {static_cast<std::uint8_t>(std::clamp(options.OutChannel, 1, 16)),
            static_cast<std::uint8_t>(std::clamp(options.Velocity, 1, 127))};
}

void queueNote(NoteQueue& queue, int on, int off, int note, const Sound& sound) {
    if (note < 0 || note > 127)
        return;
    const auto n = static_cast<std::uint8_t>(note);
    QueueNote(queue, on, sound.Channel, n, sound.Velocity);
    QueueNote(queue, off, sound.Channel, n, 0);
}

// Chords first..4 of a table row, two ticks each from tick 1, the last one held a tick longer.
void queueCadenceChords(NoteQueue& queue, int row, int first, int tonic, const Sound& sound) {
    const auto& chords = CadenceTable[static_cast<std::size_t>(row)];
    for (int j = first; j < kCadenceChordCount; ++j) {
        const int on = 2 * (j - first) + 1;
        const int off = on + 2 + (j == kCadenceChordCount - 1 ? 1 : 0);
        const CadenceChord& chord = chords[static_cast<std::size_t>(j)];
        for (int k = 0; k < chord.Count; ++k)
            queueNote(queue, on, off, tonic - 24 + chord.Offsets[static_cast<std::size_t>(k)],
                      sound);
    }
}

// The tonic at tick 1 an octave down, then the tonic itself at tick 2, both released at 4.
void queueTonicOnly(NoteQueue& queue, int tonic, const Sound& sound) {
    queueNote(queue, 1, 4, tonic - 12, sound);
    queueNote(queue, 2, 4, tonic, sound);
}

int startTickAfter(int kind) {
    switch (kind) {
    case CadenceClassical:
    case CadenceJazz:
        return 12;
    case CadenceTonicOnly:
        return 5;
    case CadenceClassicalShort:
    case CadenceJazzShort:
        return 6;
    default:
        return 1;
    }
}

} // namespace

int chosenPlayStyle(int clickedStyle, bool pcSpeakerOnly) {
    return pcSpeakerOnly && isChordCadence(clickedStyle) ? CadenceTonicOnly : clickedStyle;
}

CadenceKey melodyCadenceKey(int tonality, const GeneratorOptions& options) {
    return {isMinorTonality(tonality), options.RootNote};
}

bool progressionCadenceIsMinor(int item) {
    const ProgressionRecord& record = progressionRecord(item);
    bool minor = false;
    for (const ProgressionChord& chord : record.chords())
        if (chord.RootOffset == 0)
            minor = hasMinorThird(namedChordType(chord.ChordType));
    return minor;
}

CadenceKey progressionCadenceKey(int item, int itemRoot, const GeneratorOptions& options) {
    return {progressionCadenceIsMinor(item), options.RandomRoot ? itemRoot : options.RootNote};
}

int cadenceTableRow(int kind, bool minor) {
    return (minor ? 2 : 0) + (isJazzCadence(kind) ? 1 : 0);
}

int cadenceTonic(int row, const CadenceKey& key) {
    const int t = pitchClass(key.TonicNote) + 60;
    if (row == kJazzMinorRow)
        return t;
    const int lowerFrom = row == kJazzMajorRow ? 70 : 67;
    return t >= lowerFrom ? t - 12 : t;
}

CadencePlayback PlayCadence(NoteQueue& queue, int kind, const CadenceKey& key,
                            const GeneratorOptions& options) {
    if (kind == kStoredPlayStyle)
        kind = options.PlayStyle;
    const int row = cadenceTableRow(kind, key.Minor);
    const int tonic = cadenceTonic(row, key);
    const Sound sound = soundOf(options);
    if (kind == CadenceClassical || kind == CadenceJazz)
        queueCadenceChords(queue, row, 0, tonic, sound);
    else if (kind == CadenceClassicalShort || kind == CadenceJazzShort)
        queueCadenceChords(queue, row, 3, tonic, sound);
    else if (kind == CadenceTonicOnly)
        queueTonicOnly(queue, tonic, sound);
    return {startTickAfter(kind), tickIntervalMs(options.Tempo)};
}

} // namespace harmik
