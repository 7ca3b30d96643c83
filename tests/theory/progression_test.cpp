#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "chord_type_support.h"
#include "heard_support.h"
#include "tests/theory/exercise_test_options.h"
#include "tests/theory/theory_test_strings.h"
#include "theory/exercise_points.h"
#include "theory/keys.h"
#include "theory/note_names.h"
#include "theory/progression.h"
#include "theory/theory_tables.h"

namespace harmik {
namespace {

const std::vector<std::string> kPrintedLabels = {
    "V - I",
    "IV - I",
    "IVm - I",
    "IIm - I",
    "VIm - I",
    "bVI - I",
    "bIII - I",
    "IIIm - I",
    "bVII - I",
    "Vм.маж.7 - I",
    "bIIм.маж.7 - I",
    "VIIум.7 - I",
    "Iум.7 - I",
    "III - I",
    "V - Im",
    "IV - Im",
    "IVm - Im",
    "bVI - Im",
    "bIII - Im",
    "bVII - Im",
    "Vм.маж.7 - Im",
    "bIIм.маж.7 - Im",
    "VIIум.7 - Im",
    "bIIб.маж.7 - Iб.маж.7",
    "IV - IVm - I",
    "bVII - IV - I",
    "bVI - bVII - I",
    "IV - V - I",
    "V - IV - I",
    "IIм.мин.7 - Vм.маж.7 - Iб.маж.7",
    "IIм.мин.7 - Vм.маж.7 - Iм.мин.7",
    "IIм.мин.7(b5) - V7(b9) - Iб.маж.7",
    "IIм.мин.7(b5) - V7(b9) - Iм.мин.7",
    "IIм.мин.7(b5) - bII7(b9) - Iм.мин.7",
    "IIм.мин.7 - bIIб.маж.7 - Iб.маж.7",
    "I - Iум.7 - I",
    "I - IV - V - I",
    "I - IVm - V - I",
    "I - VIm - IIm - Vм.маж.7",
    "Iб.маж.7 - VIм.маж.7 - IIм.маж.7 - Vм.маж.7",
    "Iб.маж.7 - bIIIм.маж.7 - bVIм.маж.7 - bIIм.маж.7",
    "Iб.маж.7 - bIIIб.маж.7 - bVIб.маж.7 - bIIб.маж.7",
    "Iм.мин.7 - VIм.мин.7(b5) - IIм.мин.7(b5) - V7(b9)",
    "IIIм.мин.7 - VIм.маж.7 - IIм.мин.7 - Vм.маж.7",
    "VIм.мин.7 - IIм.маж.7 - Vм.маж.7 - I",
    "I 13 - VI 13 - IV 13 - II 13",
    "IIм.мин.7 - Vм.маж.7 - IIIм.мин.7 - VIм.маж.7",
    "VI7(#9) - II 13 - V7(#9) - I 13"};

StringLookup lookupWithHint() {
    return [](int id) {
        return id == kProgressionHintTextId ? std::string("Подсказка") : test::theoryLookup()(id);
    };
}

const ItemNameList& names() {
    static const ItemNameList list =
        BuildItemNameList(test::theoryLookup(), ProgressionLabelCatalogue());
    return list;
}

GeneratorOptions progressionOptions(int rootNote, int playMode = PlayHarmonic) {
    GeneratorOptions options = test::optionsWithAllTicked(kProgressionItemCount);
    options.RootNote = rootNote;
    options.LowestNote = 48;
    options.HighestNote = 83;
    options.PlayMode = playMode;
    options.PlayStyle = 5; // no cadence
    options.Tempo = 120;
    return options;
}

struct Played {
    ProgressionPlayback Playback;
    ExerciseItem Exercise;
    NoteQueue Queue;
};

Played play(int item, const GeneratorOptions& options, std::uint32_t seed = 1) {
    Played p;
    Random random(seed);
    GenerateProgression(p.Exercise, options, random, names(), item);
    p.Playback =
        PlayProgression(p.Queue, p.Exercise, p.Exercise.root, item, false, options, random);
    return p;
}

std::vector<int> chordNotes(const ProgressionChordVoices& chord) {
    std::vector<int> notes;
    for (int j = 0; j <= chord.VoiceCount; ++j)
        notes.push_back(chord.note(j));
    return notes;
}

std::vector<int> upperVoices(const ProgressionChordVoices& chord) {
    std::vector<int> notes;
    for (int j = 1; j <= chord.VoiceCount; ++j)
        notes.push_back(chord.note(j));
    return notes;
}

// The chord a label names: the root above the key and the pitch classes of its type.
struct NamedChord {
    int Root = 0;
    int Type = 0;
};

int chordTypeNamed(const std::string& quality) {
    if (quality.empty())
        return 0;
    if (quality == "m")
        return 1;
    if (quality == " 13")
        return 16;
    for (int type = 2; type < kChordTypeCount; ++type)
        if (test::theoryLookup()(string_id::FirstChordName + type) == quality)
            return type;
    return -1;
}

NamedChord parseChordLabel(const std::string& label) {
    NamedChord named{-1, -1};
    std::size_t longest = 0;
    for (int degree = 0; degree < 12; ++degree) {
        const std::string_view numeral = RomanNumerals[static_cast<std::size_t>(degree)];
        if (label.rfind(numeral, 0) == 0 && numeral.size() > longest) {
            longest = numeral.size();
            named.Root = degree;
        }
    }
    named.Type = chordTypeNamed(label.substr(longest));
    return named;
}

TEST(ProgressionTable, LabelsAreThePrintedOnes) {
    for (int item = 0; item < kProgressionItemCount; ++item)
        EXPECT_EQ(names().name(ModuleId::Progressions, item),
                  kPrintedLabels[static_cast<std::size_t>(item)])
            << "item " << item;
}

// Every chord sounds what its label names, in root position, in several keys and with random
// roots: its lowest note is the named root and its notes sound the named type. This holds the
// fixed voicings of the jazz progressions to their names as well as the voice-led chords.
TEST(ProgressionHarmony, EveryChordIsTheChordItsLabelNames) {
    std::set<int> fixedVoicingsHeard;
    for (int item = 0; item < kProgressionItemCount; ++item) {
        EXPECT_EQ(progressionRecord(item).Difficulty, progressionGroupOf(item) + 1) << item;
        for (const ProgressionChord& chord : progressionRecord(item).chords())
            if (isFixedVoicingType(chord.ChordType))
                fixedVoicingsHeard.insert(chord.ChordType);
        std::vector<std::string> labels =
            progressionChordLabels(names().name(ModuleId::Progressions, item));
        for (int rootNote : {60, 62, 66, 71, kRandomRootNote}) {
            GeneratorOptions options = progressionOptions(rootNote);
            options.RandomRoot = rootNote == kRandomRootNote;
            const Played p = play(item, options, static_cast<std::uint32_t>(item * 7 + rootNote));
            const int key = pitchClass(options.RandomRoot ? p.Exercise.root : rootNote);
            ASSERT_EQ(p.Playback.Played.ChordCount, static_cast<int>(labels.size()));
            for (int k = 0; k < p.Playback.Played.ChordCount; ++k) {
                const NamedChord named = parseChordLabel(labels[static_cast<std::size_t>(k)]);
                ASSERT_GE(named.Type, 0) << labels[static_cast<std::size_t>(k)];
                const std::vector<int> notes =
                    chordNotes(p.Playback.Played.Chords[static_cast<std::size_t>(k)]);
                const int root = (key + named.Root) % 12;
                const std::string where = "item " + std::to_string(item) + " chord " +
                                          std::to_string(k) + " root note " +
                                          std::to_string(rootNote);
                EXPECT_EQ(pitchClass(*std::min_element(notes.begin(), notes.end()) - root), 0)
                    << where;
                EXPECT_TRUE(test::soundsChordType(notes, root, named.Type))
                    << where << " (" << labels[static_cast<std::size_t>(k)] << ")";
            }
        }
    }
    EXPECT_EQ(fixedVoicingsHeard.size(), static_cast<std::size_t>(kProgressionVoicingCount))
        << "every fixed voicing is played by some item";
}

TEST(ProgressionVoiceLeading, DominantToTonicHoldsTheCommonToneAndStepsTheRest) {
    const VoicedProgression v = voiceProgression(0, 60);
    EXPECT_EQ(chordNotes(v.Chords[0]), (std::vector<int>{55, 59, 62, 67})) << "G: B D G over G";
    EXPECT_EQ(chordNotes(v.Chords[1]), (std::vector<int>{48, 60, 64, 67})) << "C: C E G over C";

    // I - IV - V - I: C, F over C, G over B... the upper voices stay within a fourth.
    const VoicedProgression cadence = voiceProgression(36, 60);
    EXPECT_EQ(upperVoices(cadence.Chords[1]), (std::vector<int>{60, 65, 69}));
    EXPECT_EQ(upperVoices(cadence.Chords[2]), (std::vector<int>{59, 62, 67}));
}

// The fixed rule for a seventh chord resolving to a triad: the fourth voice heads for the
// tonic's bass note, the only following voice left, and takes the nearest note of its own
// pitch class. G7 - C keeps D a step above C; Cdim7 - C puts A a minor third below C.
TEST(ProgressionVoiceLeading, FourVoicesIntoThreeFollowTheFixedRule) {
    EXPECT_EQ(upperVoices(voiceProgression(9, 60).Chords[0]), (std::vector<int>{59, 62, 65, 67}));
    EXPECT_EQ(upperVoices(voiceProgression(12, 60).Chords[0]), (std::vector<int>{57, 60, 63, 66}));
    EXPECT_EQ(upperVoices(voiceProgression(22, 60).Chords[0]), (std::vector<int>{59, 62, 65, 68}));
}

// In every voice-led progression common tones stay where they are and no upper voice moves
// further than a minor third to reach the next chord.
TEST(ProgressionVoiceLeading, CommonTonesHeldAndSmallSteps) {
    for (int item = 0; item < kProgressionItemCount; ++item) {
        if (ProgressionTable[static_cast<std::size_t>(item)].VoiceLeading == 0)
            continue;
        const VoicedProgression v = voiceProgression(item, 60);
        for (int k = 0; k + 1 < v.ChordCount; ++k) {
            const std::vector<int> here = upperVoices(v.Chords[static_cast<std::size_t>(k)]);
            const std::vector<int> next = upperVoices(v.Chords[static_cast<std::size_t>(k + 1)]);
            for (int note : here) {
                int nearest = 99;
                for (int target : next) {
                    nearest = std::min(nearest, std::abs(target - note));
                    if (pitchClass(target) == pitchClass(note)) {
                        EXPECT_EQ(target, note) << "item " << item << " chord " << k;
                    }
                }
                EXPECT_LE(nearest, 3) << "item " << item << " chord " << k << " voice " << note;
            }
            EXPECT_TRUE(std::is_sorted(here.begin(), here.end()));
        }
    }
}

// A jazz progression sounds its stored voicing, only moved by octaves into the range.
TEST(ProgressionPlacement, JazzVoicingsKeepTheirShape) {
    const Played p = play(45, progressionOptions(60));
    const ProgressionVoicing& first = ProgressionVoicingTable[245 - 201];
    const std::vector<int> notes = chordNotes(p.Playback.Played.Chords[0]);
    const int shift = notes[0] - (60 - 12 + first.Bass);
    EXPECT_EQ(shift % 12, 0);
    for (int v = 0; v < 4; ++v)
        EXPECT_EQ(notes[static_cast<std::size_t>(v + 1)],
                  60 - 12 + first.Upper[static_cast<std::size_t>(v)] + shift);
}

// Whatever the root, the placed progression stays in 36..83 with its highest bass at most 62,
// keeps the key of the fixed root, and gets the clef of its span; random roots reach most keys.
TEST(ProgressionPlacement, StaysPlayableInEveryKey) {
    std::set<int> randomKeys;
    for (int item = 0; item < kProgressionItemCount; ++item)
        for (int rootNote = 60; rootNote <= kRandomRootNote; ++rootNote)
            for (std::uint32_t seed = 1; seed <= (rootNote == kRandomRootNote ? 20u : 1u); ++seed) {
                GeneratorOptions options = progressionOptions(rootNote);
                options.RandomRoot = rootNote == kRandomRootNote;
                const Played p = play(item, options, seed);
                int low = 127, high = 0, highestBass = 0;
                for (int k = 0; k < p.Playback.Played.ChordCount; ++k) {
                    const ProgressionChordVoices& chord =
                        p.Playback.Played.Chords[static_cast<std::size_t>(k)];
                    highestBass = std::max(highestBass, chord.note(0));
                    for (int note : chordNotes(chord)) {
                        low = std::min(low, note);
                        high = std::max(high, note);
                    }
                }
                EXPECT_GE(low, 36) << item;
                EXPECT_LE(high, 83) << item;
                EXPECT_LE(highestBass, 62) << item;
                EXPECT_EQ(p.Exercise.keyTonic, options.RandomRoot ? kRandomRootNote : rootNote);
                if (options.RandomRoot)
                    randomKeys.insert(pitchClass(p.Exercise.root));
                else
                    EXPECT_EQ(pitchClass(p.Exercise.root), pitchClass(rootNote)) << item;
                EXPECT_EQ(p.Exercise.clef, scaleClef(low, high)) << item;
            }
    EXPECT_GE(randomKeys.size(), 10u);
}

using test::Heard;
using test::heard;

TEST(ProgressionPlayback, HarmonicChordsTakeSixTicksFromTickTwo) {
    const Played p = play(0, progressionOptions(60, PlayHarmonic));
    EXPECT_EQ(heard(p.Queue), (std::vector<Heard>{{2, 55, true},
                                                  {2, 59, true},
                                                  {2, 62, true},
                                                  {2, 67, true},
                                                  {7, 55, false},
                                                  {7, 59, false},
                                                  {7, 62, false},
                                                  {7, 67, false},
                                                  {8, 48, true},
                                                  {8, 60, true},
                                                  {8, 64, true},
                                                  {8, 67, true},
                                                  {14, 48, false},
                                                  {14, 60, false},
                                                  {14, 64, false},
                                                  {14, 67, false}}));
    EXPECT_EQ(p.Playback.FirstChordTick, 2);
    EXPECT_EQ(p.Playback.TickIntervalMs, 250) << "half a beat at 120";
}

TEST(ProgressionPlayback, MelodicAndSustainedLayouts) {
    const Played melodic = play(0, progressionOptions(60, PlayMelodic));
    std::vector<Heard> events = heard(melodic.Queue);
    ASSERT_EQ(events.size(), 16u);
    // Voice j of the first chord on at 2j + 2, off two ticks later; the second chord from 11.
    EXPECT_EQ(events[0], (Heard{2, 55, true}));
    EXPECT_EQ(events[1], (Heard{4, 55, false}));
    EXPECT_EQ(events[2], (Heard{4, 59, true}));
    EXPECT_EQ(events[7], (Heard{10, 67, false}));
    EXPECT_EQ(events[8], (Heard{11, 48, true}));
    EXPECT_EQ(events.back(), (Heard{19, 67, false}));

    const Played sustained = play(0, progressionOptions(60, PlaySustained));
    events = heard(sustained.Queue);
    ASSERT_EQ(events.size(), 16u);
    EXPECT_EQ(events[3], (Heard{8, 67, true}));
    EXPECT_EQ(events[4], (Heard{10, 55, false}));
    EXPECT_EQ(events[6], (Heard{10, 62, false}));
    EXPECT_EQ(events[7], (Heard{11, 67, false})) << "the top voice a tick longer";
    EXPECT_EQ(events[8], (Heard{11, 48, true}));
    EXPECT_EQ(events.back(), (Heard{20, 67, false}));
}

TEST(ProgressionPlayback, CadenceComesFirstAtTheSameTickRate) {
    GeneratorOptions options = progressionOptions(60, PlayHarmonic);
    options.PlayStyle = 0; // long classical cadence, 12 ticks
    const Played p = play(0, options);
    EXPECT_EQ(p.Playback.FirstChordTick, 15);
    const std::vector<Heard> events = heard(p.Queue);
    EXPECT_EQ(events.front(), (Heard{1, 48, true}));
    const auto firstChord = std::find(events.begin(), events.end(), Heard{15, 55, true});
    ASSERT_NE(firstChord, events.end());
    for (auto e = events.begin(); e != firstChord; ++e)
        EXPECT_LE(e->Tick, 12);
    EXPECT_EQ(p.Playback.TickIntervalMs, 250);
}

TEST(ProgressionPlayback, ReplayWithoutCadenceSoundsTheSameChordsFromTickTwo) {
    GeneratorOptions options = progressionOptions(60, PlayMelodic);
    options.PlayStyle = 1;
    options.RandomRoot = true;
    // A voice-led item: replaying on the placed root must give the placed chords.
    Played p = play(37, options, 5);
    const int placedRoot = p.Exercise.root;
    NoteQueue again;
    Random random(99);
    const ProgressionPlayback replay =
        PlayProgression(again, p.Exercise, placedRoot, 37, true, options, random);
    EXPECT_EQ(p.Exercise.root, placedRoot);
    EXPECT_EQ(replay.FirstChordTick, 2);
    EXPECT_EQ(heard(again).front(), (Heard{2, p.Playback.Played.Chords[0].note(0), true}));
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(chordNotes(replay.Played.Chords[static_cast<std::size_t>(k)]),
                  chordNotes(p.Playback.Played.Chords[static_cast<std::size_t>(k)]));
    EXPECT_EQ(replay.SignatureKey, pitchClass(placedRoot));
}

TEST(ProgressionPlayback, EveryNoteOnIsReleasedOnce) {
    for (int item = 0; item < kProgressionItemCount; ++item)
        for (int mode : {PlayHarmonic, PlayMelodic, PlaySustained})
            for (int style = 0; style <= 5; ++style) {
                GeneratorOptions options = progressionOptions(60 + item % 12, mode);
                options.PlayStyle = style;
                const Played p = play(item, options);
                EXPECT_TRUE(test::releasesEveryNote(p.Queue))
                    << "item " << item << " mode " << mode << " style " << style;
            }
}

TEST(GenerateProgression, PointsRootAndChordLabels) {
    GeneratorOptions options = test::optionsWithTicked({30, 31, 32, 33, 34}, kProgressionItemCount);
    options.PlayMode = PlayHarmonic;
    options.RandomRoot = true;
    ExerciseItem exercise;
    Random random(3);
    const ProgressionGenerateResult result =
        GenerateProgression(exercise, options, random, names());
    EXPECT_GE(exercise.itemIndex, 30);
    EXPECT_LE(exercise.itemIndex, 34);
    EXPECT_EQ(exercise.root, kRandomRootNote);
    EXPECT_EQ(exercise.keyTonic, kRandomRootNote);
    // Difficulty 2: base 10 + 5 + 5 (harmonic) + 15 (random root) = 35, x sqrt(4) x 2.0.
    EXPECT_EQ(exercise.points, 140);
    EXPECT_EQ(exercise.pointStep, 28);
    EXPECT_TRUE(result.Result.PointsChanged);
    EXPECT_TRUE(result.Result.Staff.MakeRoom);

    options.RandomRoot = false;
    options.RootNote = 65;
    const ProgressionGenerateResult given =
        GenerateProgression(exercise, options, random, names(), 31);
    EXPECT_EQ(exercise.points, 140) << "a given item leaves the points alone";
    EXPECT_FALSE(given.Result.PointsChanged);
    EXPECT_EQ(exercise.root, 65);
    EXPECT_EQ(given.ChordLabels, (std::vector<std::string>{"IIм.мин.7(b5)", "V7(b9)", "Iб.маж.7"}));
    EXPECT_EQ(progressionChordLabels("I 13 - VI 13"), (std::vector<std::string>{"I 13", "VI 13"}));
}

TEST(GenerateProgression, AvoidsRepeatingTheLastItem) {
    GeneratorOptions options = test::optionsWithTicked({3, 7, 11, 19}, kProgressionItemCount);
    ExerciseItem exercise;
    Random random(11);
    int repeats = 0;
    for (int n = 0; n < 200; ++n) {
        const int before = exercise.itemIndex;
        GenerateProgression(exercise, options, random, names());
        repeats += exercise.itemIndex == before;
    }
    EXPECT_LT(repeats, 10);
}

TEST(ProgressionNames, ChordNamesAndHintsInTheKey) {
    const StringLookup lookup = lookupWithHint();
    EXPECT_EQ(ProgressionChordName(2, 0, 7, false, lookup), "Cm");
    EXPECT_EQ(ProgressionChordName(45, 0, 0, false, lookup), "C13") << "no blank in a name";
    EXPECT_EQ(ProgressionChordName(29, 0, 0, false, lookup), "Dм.мин.7") << "named type";
    EXPECT_EQ(ProgressionChordName(0, 1, 11, true, lookup), "H");
    EXPECT_EQ(ProgressionChordName(0, 1, 10, true, lookup), "Bb");

    const std::vector<std::string> hints = BuildProgressionHints(2, false, lookup);
    ASSERT_EQ(hints.size(), 48u);
    EXPECT_EQ(hints[0], "A - D|Подсказка");
    EXPECT_EQ(hints[36], "D - G - A - D|Подсказка");
    EXPECT_EQ(hints[47], "B7(#9) - E13 - A7(#9) - D13|Подсказка");
}

TEST(ProgressionNames, LabelAdvanceOnTheStaff) {
    EXPECT_EQ(progressionLabelAdvance("G", "V"), 21);
    EXPECT_EQ(progressionLabelAdvance("Dм.мин.7", "IIм.мин.7"), 98);
    EXPECT_EQ(progressionLabelAdvance("G7(b9)", "V7(b9)"), 66 + 10 - 11);
}

TEST(ProgressionGroups, OnlyTheFirstTickedItemsGroupSurvives) {
    GeneratorOptions options = test::optionsWithTicked({5, 30, 40, 12}, kProgressionItemCount);
    keepFirstTickedProgressionGroup(options);
    EXPECT_TRUE(options.AnswerChecks[5]);
    EXPECT_TRUE(options.AnswerChecks[12]);
    EXPECT_FALSE(options.AnswerChecks[30]);
    EXPECT_FALSE(options.AnswerChecks[40]);
    EXPECT_EQ(options.SelectedCount, 2);

    options = test::optionsWithTicked({47, 24, 35}, kProgressionItemCount);
    keepFirstTickedProgressionGroup(options);
    EXPECT_TRUE(options.AnswerChecks[24]);
    EXPECT_TRUE(options.AnswerChecks[35]);
    EXPECT_FALSE(options.AnswerChecks[47]);
    EXPECT_EQ(options.SelectedCount, 2);
}

} // namespace
} // namespace harmik
