#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "heard_support.h"
#include "theory/cadence.h"
#include "theory/exercise_points.h"
#include "theory/melody.h"
#include "theory/note_names.h"
#include "theory/theory_tables.h"

namespace harmik {
namespace {

MelodyOptions melodyOptions(int tonality, int noteCount, int leap) {
    MelodyOptions melody;
    melody.Tonality = static_cast<std::uint8_t>(tonality);
    melody.NoteCount = static_cast<std::uint8_t>(noteCount);
    melody.Leap = static_cast<std::uint8_t>(leap);
    return melody;
}

GeneratorOptions rangeOptions(int tonic, int lower = 36, int upper = 83) {
    GeneratorOptions options;
    options.RootNote = tonic;
    options.LowestNote = lower;
    options.HighestNote = upper;
    options.Tempo = 90;
    return options;
}

std::vector<int> notesOf(const ExerciseItem& exercise) {
    return {exercise.melodyNotes.begin() + 1,
            exercise.melodyNotes.begin() + 1 + exercise.melodyNotes[0]};
}

// Melodies of every tonality and length, in keys around the melody tonics 52..65, use only
// the notes of the key's scale and stay in the module's range.
TEST(GenerateMelody, NotesStayInTheScaleAndTheRange) {
    std::uint32_t seed = 1;
    for (int tonality = 0; tonality < kTonalityCount; ++tonality)
        for (int tonic = 52; tonic <= 65; tonic += 3)
            for (int noteCount = 1; noteCount <= 15; noteCount += 2)
                for (int leap : {1, 3, 7}) {
                    ExerciseItem exercise;
                    Random random(seed++);
                    const GeneratorOptions options = rangeOptions(tonic, 36, 83);
                    GenerateMelody(exercise, options, melodyOptions(tonality, noteCount, leap),
                                   random);
                    const ScaleRecord& scale = scaleRow(tonalityScaleRow(tonality));
                    std::set<int> classes;
                    for (std::uint8_t offset : scale.notes())
                        classes.insert(pitchClass(tonic + offset));
                    ASSERT_EQ(exercise.melodyNotes[0], noteCount);
                    for (int note : notesOf(exercise)) {
                        EXPECT_TRUE(classes.count(pitchClass(note)))
                            << "tonality " << tonality << " tonic " << tonic << " note " << note;
                        EXPECT_GE(note, 36);
                        EXPECT_LE(note, 83);
                    }
                    EXPECT_EQ(pitchClass(exercise.root), pitchClass(tonic));
                    EXPECT_EQ(exercise.itemIndex, tonality);
                    EXPECT_EQ(exercise.keyTonic, 36);
                }
}

// A melody keeps to the range when it fits; a range too narrow for it is given up after 20
// attempts and the melody is then taken as long as it lies within 36..83.
TEST(GenerateMelody, KeepsToANarrowRangeWhenItCanElseTo36To83) {
    const GeneratorOptions tooNarrow = rangeOptions(60, 60, 62);
    EXPECT_FALSE(melodyPlacementFits(50, 70, 20, tooNarrow));
    EXPECT_TRUE(melodyPlacementFits(50, 70, 21, tooNarrow));
    EXPECT_FALSE(melodyPlacementFits(30, 70, 41, tooNarrow));
    EXPECT_TRUE(melodyPlacementFits(60, 62, 1, tooNarrow));
    const struct {
        GeneratorOptions Options;
        int Notes, Leap, Low, High;
    } cases[] = {{rangeOptions(60, 55, 76), 5, 2, 55, 76}, {tooNarrow, 9, 4, 36, 83}};
    for (const auto& c : cases)
        for (std::uint32_t seed = 1; seed <= 200; ++seed) {
            ExerciseItem exercise;
            Random random(seed);
            GenerateMelody(exercise, c.Options, melodyOptions(0, c.Notes, c.Leap), random);
            for (int note : notesOf(exercise)) {
                EXPECT_GE(note, c.Low) << seed;
                EXPECT_LE(note, c.High) << seed;
            }
        }
}

int lastNoteDegreeClass(const ExerciseItem& exercise) {
    return pitchClass(exercise.melodyNotes[static_cast<std::size_t>(exercise.melodyNotes[0])] -
                      exercise.root);
}

// In a major key about three endings in seven would fall on the tonic, third or fifth by
// chance; the generator ends there almost always. The chromatic tonality has no preference.
TEST(GenerateMelody, EndsOnTheTonicTriadFarMoreOftenThanChance) {
    int onTriad = 0;
    int chromaticOnTriad = 0;
    constexpr int kMelodies = 1000;
    for (std::uint32_t seed = 1; seed <= kMelodies; ++seed) {
        ExerciseItem exercise;
        Random random(seed);
        GenerateMelody(exercise, rangeOptions(60), melodyOptions(0, 7, 3), random);
        const int last = lastNoteDegreeClass(exercise);
        onTriad += last == 0 || last == 4 || last == 7;

        GenerateMelody(exercise, rangeOptions(60), melodyOptions(6, 7, 3), random);
        const int chromatic = lastNoteDegreeClass(exercise);
        chromaticOnTriad += chromatic == 0 || chromatic == 4 || chromatic == 7;
    }
    EXPECT_GT(onTriad, kMelodies * 9 / 10);
    EXPECT_LT(chromaticOnTriad, kMelodies * 4 / 10);
}

TEST(GenerateMelody, StepsMatchTheNotes) {
    for (std::uint32_t seed = 1; seed <= 50; ++seed)
        for (int tonality : {0, 3, 4}) {
            ExerciseItem exercise;
            Random random(seed);
            GenerateMelody(exercise, rangeOptions(57), melodyOptions(tonality, 15, 5), random);
            const int row = tonalityScaleRow(tonality);
            const int perOctave = scaleRow(row).Count - 1;
            for (int k = 1; k <= exercise.melodyNotes[0]; ++k) {
                const int step = exercise.melodySteps[static_cast<std::size_t>(k)];
                const int octave = step >= 0 ? step / 7 : -((-step + 6) / 7);
                const int degree = step - 7 * octave;
                ASSERT_LT(degree, perOctave);
                EXPECT_EQ(exercise.melodyNotes[static_cast<std::size_t>(k)],
                          exercise.root + 12 * octave +
                              scaleRow(row).Offsets[static_cast<std::size_t>(degree)]);
            }
        }
}

TEST(MelodyDegree, NegativeDegreesCountDownFromTheTonic) {
    EXPECT_EQ(melodyDegree(-1, 0, 7).Offset, -1);
    EXPECT_EQ(melodyDegree(-1, 0, 7).Step, -1);
    EXPECT_EQ(melodyDegree(-7, 0, 7).Offset, -12);
    EXPECT_EQ(melodyDegree(9, 0, 7).Offset, 16);
    EXPECT_EQ(melodyDegree(9, 0, 7).Step, 9);
    EXPECT_EQ(melodyDegree(-1, 25, 5).Offset, -3) << "the sixth below in major pentatonic";
    EXPECT_EQ(melodyDegree(-1, 25, 5).Step, -3);
    EXPECT_EQ(melodyDegree(13, 24, 12).Offset, 13);
}

// A single note: no leaps, so p = 1 x f x 2 x weight, and every note-on of it is one step.
TEST(GenerateMelody, PointsByModeAndTonality) {
    struct Case {
        int tonality;
        bool reading;
        bool showStart;
        int exercises;
        int points;
    };
    for (const Case& c :
         {Case{0, false, false, 20, 4}, Case{0, true, false, 20, 5}, Case{0, false, true, 20, 6},
          Case{3, false, false, 20, 6}, Case{0, true, true, 18, 6}}) {
        MelodyOptions melody = melodyOptions(c.tonality, 1, 2);
        melody.PrimaVista = c.reading;
        melody.ShowStartNote = c.showStart;
        GeneratorOptions options = rangeOptions(60);
        options.ExercisesPerTask = c.exercises;
        ExerciseItem exercise;
        Random random(4);
        const MelodyGenerateResult result = GenerateMelody(exercise, options, melody, random);
        EXPECT_EQ(exercise.points, c.points) << c.tonality << c.reading << c.showStart;
        EXPECT_EQ(exercise.pointStep, c.points);
        EXPECT_TRUE(result.PointsChanged);
    }
}

TEST(GenerateMelody, ClefStaffAndPianoRequests) {
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        MelodyOptions melody = melodyOptions(1, 11, 4);
        melody.ShowStartNote = 1;
        ExerciseItem exercise;
        Random random(seed);
        const MelodyGenerateResult result =
            GenerateMelody(exercise, rangeOptions(62), melody, random);
        const std::vector<int> notes = notesOf(exercise);
        const auto [low, high] = std::minmax_element(notes.begin(), notes.end());
        EXPECT_EQ(exercise.clef, intervalClef(*low, *high));
        EXPECT_EQ(result.StaffRoomNeeded, 11 * 27 + 35);
        EXPECT_EQ(result.PianoOctaveBarX, (notes[0] - 36) / 12 * 182 + 1);
        EXPECT_TRUE(result.MarkStartNote);
        EXPECT_EQ(result.StartNote, notes[0]);
        EXPECT_EQ(result.Key.signatureKey, 5) << "D minor is written with the signature of F";
    }
}

using test::Heard;
using test::heard;

TEST(PlayMelody, OneNoteAfterTheLongCadenceAndAloneFromTickTwo) {
    ExerciseItem exercise;
    Random random(8);
    GeneratorOptions options = rangeOptions(60);
    options.PlayStyle = CadenceClassical;
    GenerateMelody(exercise, options, melodyOptions(0, 1, 2), random);
    ASSERT_EQ(exercise.melodyNotes[0], 1);
    const int note = exercise.melodyNotes[1];

    NoteQueue q;
    const CadencePlayback cadence =
        PlayCadence(q, kStoredPlayStyle, melodyCadenceKey(0, options), options);
    EXPECT_EQ(PlayMelody(q, exercise, cadence.StartTick, options), 666);
    const std::vector<Heard> events = heard(q);
    EXPECT_EQ(events[events.size() - 2], (Heard{13, note, true}));
    EXPECT_EQ(events.back(), (Heard{14, note, false}));

    NoteQueue alone;
    PlayMelody(alone, exercise, 1, options);
    EXPECT_EQ(heard(alone), (std::vector<Heard>{{2, note, true}, {3, note, false}}));
}

// Repeated notes are released before they are struck again, and each note-on has one
// release.
TEST(PlayMelody, EveryNoteOnIsReleasedBeforeTheNext) {
    for (std::uint32_t seed = 1; seed <= 100; ++seed) {
        ExerciseItem exercise;
        Random random(seed);
        GeneratorOptions options = rangeOptions(55);
        GenerateMelody(exercise, options, melodyOptions(seed % 7, 15, 1), random);
        NoteQueue q;
        const int start =
            PlayCadence(q, static_cast<int>(seed % 6), {false, 55}, options).StartTick;
        PlayMelody(q, exercise, start, options);
        EXPECT_TRUE(test::releasesEveryNote(q)) << "seed " << seed;
        if (start == 1) {
            EXPECT_EQ(heard(q).front().Tick, 2) << "without a cadence the melody starts at 2";
        }
    }
}

} // namespace
} // namespace harmik
