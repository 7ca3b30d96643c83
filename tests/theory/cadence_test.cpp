#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>
#include <vector>

#include "chord_type_support.h"
#include "theory/cadence.h"
#include "theory/keys.h"
#include "theory/progression_table.h"

namespace harmik {
namespace {

GeneratorOptions cadenceOptions(int rootNote = 60, int tempo = 100) {
    GeneratorOptions options;
    options.RootNote = rootNote;
    options.Tempo = tempo;
    options.OutChannel = 2;
    options.Velocity = 70;
    return options;
}

// The notes struck at each tick, and the notes released at each tick.
struct Layout {
    std::map<int, std::multiset<int>> On;
    std::map<int, std::multiset<int>> Off;
};

Layout layoutOf(const NoteQueue& q) {
    Layout layout;
    for (int i = 0; i < q.Count; ++i) {
        const NoteEvent& e = q.Events[static_cast<std::size_t>(i)];
        (e.Velocity > 0 ? layout.On : layout.Off)[e.Tick].insert(e.Note);
    }
    return layout;
}

// A cadence ending on a minor tonic chord is minor: the tonic chords of items 14..22, 30, 32,
// 33 and 42 have a minor third (items 30, 32 and 33 end on a minor seventh chord, item 42
// starts on one); every other item resolves to a major chord or has no chord on the tonic.
TEST(ProgressionCadence, MinorExactlyWhereTheTonicChordIsMinor) {
    std::set<int> minor;
    for (int item = 0; item < kProgressionItemCount; ++item)
        if (progressionCadenceIsMinor(item))
            minor.insert(item);
    EXPECT_EQ(minor, (std::set<int>{14, 15, 16, 17, 18, 19, 20, 21, 22, 30, 32, 33, 42}));
}

TEST(ProgressionCadence, RandomRootTakesTheTonicFromThePlacedRoot) {
    GeneratorOptions options = cadenceOptions(60);
    EXPECT_EQ(progressionCadenceKey(0, 45, options).TonicNote, 60);
    EXPECT_TRUE(progressionCadenceKey(30, 45, options).Minor) << "ends on C minor seventh";
    options.RandomRoot = true;
    const CadenceKey key = progressionCadenceKey(0, 45, options);
    EXPECT_EQ(key.TonicNote, 45);
    EXPECT_FALSE(key.Minor);
    NoteQueue q;
    PlayCadence(q, CadenceTonicOnly, key, options);
    EXPECT_EQ(layoutOf(q).On[2], (std::multiset<int>{57})) << "A, from the placed root";
}

TEST(MelodyCadence, MinorForTheMinorTypeTonalities) {
    const GeneratorOptions options = cadenceOptions(62);
    for (int tonality = 0; tonality < kTonalityCount; ++tonality) {
        const CadenceKey key = melodyCadenceKey(tonality, options);
        EXPECT_EQ(key.Minor, tonality == 1 || tonality == 2 || tonality == 3 || tonality == 5);
        EXPECT_EQ(key.TonicNote, 62);
    }
}

// Each chord of each cadence, as a root above the tonic and a type of the chord catalogue.
struct CadenceChordName {
    int Root;
    int Type;
};
const std::array<std::array<CadenceChordName, kCadenceChordCount>, 4> kCadenceChordNames = {{
    {{{0, 0}, {5, 0}, {0, 0}, {7, 7}, {0, 0}}},      // I, IV, I six-four, V7, I
    {{{0, 13}, {9, 21}, {2, 20}, {7, 16}, {0, 13}}}, // Imaj9, VIm11, IIm9, V13, Imaj9
    {{{0, 1}, {5, 1}, {0, 1}, {7, 7}, {0, 1}}},      // Im, IVm, Im six-four, V7, Im
    {{{0, 24}, {9, 16}, {2, 9}, {7, 33}, {0, 25}}},  // Im6/9, VI13, IIm7(b5), V7(#5), Im(maj9)
}};

TEST(CadenceTable, EveryChordSoundsTheChordItStandsFor) {
    for (std::size_t row = 0; row < CadenceTable.size(); ++row)
        for (std::size_t j = 0; j < kCadenceChordCount; ++j) {
            const CadenceChord& chord = CadenceTable[row][j];
            const std::vector<int> notes(chord.Offsets.begin(),
                                         chord.Offsets.begin() + chord.Count);
            const CadenceChordName named = kCadenceChordNames[row][j];
            EXPECT_TRUE(test::soundsChordType(notes, named.Root, named.Type))
                << "cadence " << row << " chord " << j;
        }
}

// In C minor the long classical cadence plays i, iv, i six-four, V7, i, two ticks a chord, the
// last one held a tick longer; the melody may start after tick 12.
TEST(PlayCadence, LongClassicalMinor) {
    const GeneratorOptions options = cadenceOptions(60, 120);
    NoteQueue q;
    const CadencePlayback played = PlayCadence(q, CadenceClassical, {true, 60}, options);
    EXPECT_EQ(played.StartTick, 12);
    EXPECT_EQ(played.TickIntervalMs, 500);
    const Layout layout = layoutOf(q);
    const std::map<int, std::multiset<int>> expectedOn = {
        {1, {48, 63, 67, 72}}, // C minor
        {3, {53, 65, 68, 72}}, // F minor
        {5, {55, 63, 67, 72}}, // C minor over G
        {7, {43, 62, 65, 71}}, // G7
        {9, {48, 63, 67, 72}}, // C minor
    };
    EXPECT_EQ(layout.On, expectedOn);
    EXPECT_EQ(layout.Off.at(3), expectedOn.at(1));
    EXPECT_EQ(layout.Off.at(9), expectedOn.at(7));
    EXPECT_EQ(layout.Off.at(12), expectedOn.at(9));
    EXPECT_EQ(layout.Off.size(), 5u);
    for (int i = 0; i < q.Count; ++i) {
        EXPECT_EQ(q.Events[static_cast<std::size_t>(i)].Channel, 2);
        if (q.Events[static_cast<std::size_t>(i)].Velocity > 0) {
            EXPECT_EQ(q.Events[static_cast<std::size_t>(i)].Velocity, 70);
        }
    }
}

TEST(PlayCadence, ShortKindsPlayTheLastTwoChords) {
    NoteQueue q;
    const CadencePlayback played = PlayCadence(q, CadenceJazzShort, {false, 60}, cadenceOptions());
    EXPECT_EQ(played.StartTick, 6);
    const Layout layout = layoutOf(q);
    EXPECT_EQ(layout.On.at(1), (std::multiset<int>{43, 53, 59, 64, 69})) << "jazz V";
    EXPECT_EQ(layout.On.at(3), (std::multiset<int>{48, 59, 62, 64, 67})) << "jazz I";
    EXPECT_EQ(layout.Off.at(3).size(), 5u);
    EXPECT_EQ(layout.Off.at(6).size(), 5u);
    EXPECT_EQ(q.LastTick, 6);
}

TEST(PlayCadence, TonicOnlyAndNone) {
    NoteQueue q;
    EXPECT_EQ(PlayCadence(q, CadenceTonicOnly, {false, 64}, cadenceOptions()).StartTick, 5);
    const Layout layout = layoutOf(q);
    EXPECT_EQ(layout.On.at(1), (std::multiset<int>{52}));
    EXPECT_EQ(layout.On.at(2), (std::multiset<int>{64}));
    EXPECT_EQ(layout.Off.at(4), (std::multiset<int>{52, 64}));

    NoteQueue none;
    EXPECT_EQ(PlayCadence(none, CadenceNone, {false, 64}, cadenceOptions()).StartTick, 1);
    EXPECT_EQ(none.Count, 0);
    EXPECT_EQ(PlayCadence(none, 9, {false, 64}, cadenceOptions()).StartTick, 1)
        << "an unknown kind plays nothing";
    EXPECT_EQ(none.Count, 0);
}

TEST(PlayCadence, StoredStyleIsUsedForKindMinusOne) {
    GeneratorOptions options = cadenceOptions();
    options.PlayStyle = CadenceClassicalShort;
    NoteQueue q;
    EXPECT_EQ(PlayCadence(q, kStoredPlayStyle, {false, 60}, options).StartTick, 6);
    EXPECT_EQ(layoutOf(q).On.at(1), (std::multiset<int>{43, 62, 65, 71}));
}

// The tonic sits in 60..71 and drops an octave from G (67) for the classical cadences and the
// tonic alone, from B flat (70) for jazz major; jazz minor keeps it.
TEST(PlayCadence, TonicOctaveByCadence) {
    EXPECT_EQ(cadenceTonic(0, {false, 66}), 66);
    EXPECT_EQ(cadenceTonic(0, {false, 43}), 55);
    EXPECT_EQ(cadenceTonic(2, {true, 67}), 55);
    EXPECT_EQ(cadenceTonic(1, {false, 69}), 69);
    EXPECT_EQ(cadenceTonic(1, {false, 70}), 58);
    EXPECT_EQ(cadenceTonic(3, {true, 71}), 71);
    EXPECT_EQ(cadenceTableRow(CadenceJazz, true), 3);
    EXPECT_EQ(cadenceTableRow(CadenceClassicalShort, true), 2);
    EXPECT_EQ(cadenceTableRow(CadenceTonicOnly, false), 0);
}

TEST(PlayStyle, PcSpeakerTurnsChordCadencesIntoTheTonic) {
    for (int style = 0; style < kPlayStyleCount; ++style) {
        EXPECT_EQ(chosenPlayStyle(style, false), style);
        const bool chord = style == 0 || style == 1 || style == 3 || style == 4;
        EXPECT_EQ(chosenPlayStyle(style, true), chord ? CadenceTonicOnly : style);
    }
}

} // namespace
} // namespace harmik
