#include "theory/melody.h"

#include <algorithm>
#include <vector>

#include "theory/exercise_players.h"
#include "theory/exercise_points.h"
#include "theory/theory_tables.h"

namespace harmik {

const std::array<std::uint8_t, kTonalityCount> TonalityWeight = {4, 4, 6, 6, 4, 6, 6};

namespace {

constexpr int kChromaticTonality = 6;

// Degrees of a melody before placement, and the sum of its step sizes.
struct MelodyDraft {
    std::array<int, kMaxMelodyNotes> Degrees{};
    int LeapTotal = 0;
};

int firstDegree(int tonality, Random& random) {
    if (tonality == kChromaticTonality)
        return random.random(12);
    if (tonality == 4 || tonality == 5)
        return random.random(5);
    return random.random(7);
}

MelodyDraft drawDegrees(int tonality, int noteCount, int leap, Random& random) {
    MelodyDraft draft;
    draft.Degrees[0] = firstDegree(tonality, random);
    for (int k = 1; k < noteCount; ++k) {
        const int direction = random.random(11) - 5;
        const int step = random.random(leap) + 1;
        const int previous = draft.Degrees[static_cast<std::size_t>(k - 1)];
        draft.Degrees[static_cast<std::size_t>(k)] =
            direction < 0 ? previous - step : (direction > 0 ? previous + step : previous);
        draft.LeapTotal += step;
    }
    return draft;
}

// The last degree falls on the tonic, the third or the fifth of the scale (the remainder takes
// the sign of the degree, so endings below the tonic count only on a tonic).
bool endsOnTriad(const MelodyDraft& draft, int noteCount, int degreesPerOctave) {
    if (noteCount == 1)
        return true;
    const int r = draft.Degrees[static_cast<std::size_t>(noteCount - 1)] % degreesPerOctave;
    return r == 0 || r == 2 || r == 4;
}

MelodyDraft drawMelody(int tonality, int noteCount, int leap, int degreesPerOctave,
                       Random& random) {
    const int tries = tonality == kChromaticTonality ? 1 : kMelodyEndingTries;
    MelodyDraft draft;
    for (int t = 0; t < tries; ++t) {
        draft = drawDegrees(tonality, noteCount, leap, random);
        if (endsOnTriad(draft, noteCount, degreesPerOctave))
            break;
    }
    return draft;
}

// Whole octaves (at least one) for a note `excess` semitones past a limit.
int octavesFor(int excess) {
    return 12 + 12 * (excess / 12);
}

int randomOctaveShift(int tonic, Random& random) {
    if (random.random(3) == 0)
        return tonic + (random.random(3) - 1) * 12;
    return tonic;
}

int clampMelodyRoot(int root, int lowest, int highest, const GeneratorOptions& options) {
    if (root + highest > options.HighestNote)
        root -= octavesFor(root + highest - options.HighestNote);
    if (root + lowest < options.LowestNote)
        root += octavesFor(options.LowestNote - root - lowest);
    if (root + highest > 83)
        root -= octavesFor(root + highest - 83);
    if (root + lowest < 36)
        root += octavesFor(36 - root - lowest);
    return root;
}

double melodyFactor(const MelodyOptions& melody) {
    if (melody.PrimaVista != 0)
        return 0.6;
    return melody.ShowStartNote != 0 ? 0.8 : 0.5;
}

int melodyPoints(int leapTotal, int noteCount, int tonality, const MelodyOptions& melody,
                 const GeneratorOptions& options) {
    const double a = static_cast<double>(leapTotal) / noteCount;
    const double p = roundHalfEven((a + 1.0) * melodyFactor(melody) * (noteCount + 1) *
                                   TonalityWeight[static_cast<std::size_t>(tonality)]);
    return static_cast<int>(roundHalfEven(p * 22.0 / std::max(1, options.ExercisesPerTask + 2)));
}

} // namespace

MelodyDegree melodyDegree(int degree, int row, int degreesPerOctave) {
    int r = degree % degreesPerOctave;
    int q = degree / degreesPerOctave;
    if (r < 0) {
        r += degreesPerOctave;
        q -= 1;
    }
    const int offset = scaleRow(row).Offsets[static_cast<std::size_t>(r)];
    return {offset + 12 * q, 7 * q + r};
}

bool melodyPlacementFits(int lowest, int highest, int attempt, const GeneratorOptions& options) {
    if (lowest >= options.LowestNote && highest <= options.HighestNote)
        return true;
    return attempt >= kMelodyWideRangeFrom && lowest >= 36 && highest <= 83;
}

MelodyGenerateResult GenerateMelody(ExerciseItem& exercise, const GeneratorOptions& options,
                                    const MelodyOptions& melody, Random& random) {
    const int tonality = std::clamp<int>(melody.Tonality, 0, kTonalityCount - 1);
    const int row = tonalityScaleRow(tonality);
    const int degreesPerOctave = scaleRow(row).Count - 1;
    const int n = std::clamp<int>(melody.NoteCount, 1, kMaxMelodyNotes);
    const int leap = std::max<int>(melody.Leap, 1);

    MelodyGenerateResult result;
    result.Key = SetupKeySignature(options.RootNote, tonality);

    MelodyDraft draft;
    std::array<MelodyDegree, kMaxMelodyNotes> notes{};
    int root = options.RootNote;
    int lowest = 0;
    int highest = 0;
    for (int attempt = 1; attempt <= kMelodyAttempts; ++attempt) {
        draft = drawMelody(tonality, n, leap, degreesPerOctave, random);
        for (int k = 0; k < n; ++k)
            notes[static_cast<std::size_t>(k)] =
                melodyDegree(draft.Degrees[static_cast<std::size_t>(k)], row, degreesPerOctave);
        const auto [low, high] = std::minmax_element(
            notes.begin(), notes.begin() + n,
            [](const MelodyDegree& a, const MelodyDegree& b) { return a.Offset < b.Offset; });
        lowest = low->Offset;
        highest = high->Offset;
        root =
            clampMelodyRoot(randomOctaveShift(options.RootNote, random), lowest, highest, options);
        if (melodyPlacementFits(root + lowest, root + highest, attempt, options))
            break;
    }

    exercise.itemIndex = tonality;
    exercise.root = root;
    exercise.keyTonic = 36;
    exercise.melodyNotes = {};
    exercise.melodySteps = {};
    exercise.melodyNotes[0] = n;
    for (int k = 1; k <= n; ++k) {
        const MelodyDegree& note = notes[static_cast<std::size_t>(k - 1)];
        exercise.melodyNotes[static_cast<std::size_t>(k)] = root + note.Offset;
        exercise.melodySteps[static_cast<std::size_t>(k)] = note.Step;
    }
    exercise.points = melodyPoints(draft.LeapTotal, n, tonality, melody, options);
    exercise.pointStep = exercise.points / n;
    exercise.clef = intervalClef(root + lowest, root + highest);

    const int first = exercise.melodyNotes[1];
    result.StaffRoomNeeded = n * kMelodyStaffNoteWidth + 35;
    result.PianoOctaveBarX = ((first - 36) / 12) * kPianoOctaveWidth + 1;
    result.MarkStartNote = melody.ShowStartNote != 0;
    result.StartNote = first;
    return result;
}

int PlayMelody(NoteQueue& queue, const ExerciseItem& exercise, int startTick,
               const GeneratorOptions& options) {
    const auto channel = static_cast<std::uint8_t>(std::clamp(options.OutChannel, 1, 16));
    const auto velocity = static_cast<std::uint8_t>(std::clamp(options.Velocity, 1, 127));
    const int count = std::clamp(exercise.melodyNotes[0], 0, kMaxMelodyNotes);
    for (int k = 1; k <= count; ++k) {
        const int note = exercise.melodyNotes[static_cast<std::size_t>(k)];
        if (note < 0 || note > 127)
            continue;
        QueueNote(queue, startTick + k, channel, static_cast<std::uint8_t>(note), velocity);
        QueueNote(queue, startTick + k + 1, channel, static_cast<std::uint8_t>(note), 0);
    }
    return tickIntervalMs(options.Tempo);
}

int PlayTonalityScale(NoteQueue& queue, int tonic, int tonality, int startTick,
                      const GeneratorOptions& options) {
    const auto channel = static_cast<std::uint8_t>(std::clamp(options.OutChannel, 1, 16));
    const auto velocity = static_cast<std::uint8_t>(std::clamp(options.Velocity, 1, 127));
    const ScaleRecord& row = scaleRow(tonalityScaleRow(tonality));
    std::vector<int> notes;
    for (int k = 0; k < row.Count; ++k)
        notes.push_back(tonic + row.Offsets[static_cast<std::size_t>(k)]);
    for (int k = row.Count - 2; k >= 0; --k)
        notes.push_back(notes[static_cast<std::size_t>(k)]);
    int tick = startTick;
    for (int note : notes) {
        if (note < 0 || note > 127)
            continue;
        ++tick;
        QueueNote(queue, tick, channel, static_cast<std::uint8_t>(note), velocity);
        QueueNote(queue, tick + 1, channel, static_cast<std::uint8_t>(note), 0);
    }
    return tickIntervalMs(options.Tempo);
}

} // namespace harmik
