#include <gtest/gtest.h>

#include <string>

#include "theory/keys.h"
#include "theory/note_names.h"
#include "theory_test_strings.h"

namespace harmik {
namespace {

TEST(Keys, FifthsPositionMatchesTheCircleOfFifths) {
    // Each fifth up adds a sharp (or removes a flat) around the circle, wrapping from 5 sharps
    // (B) to 6 flats (Gb).
    int pc = 0;
    for (int i = 0; i < 12; ++i) {
        const int next = (pc + 7) % 12;
        const int here = FifthsPosition[static_cast<std::size_t>(pc)];
        const int there = FifthsPosition[static_cast<std::size_t>(next)];
        EXPECT_EQ(here == 5 ? -6 : here + 1, there) << pc;
        pc = next;
    }
}

TEST(Keys, TonalityRows) {
    const int rows[] = {0, 5, 14, 7, 25, 26, 24};
    for (int t = 0; t < kTonalityCount; ++t)
        EXPECT_EQ(tonalityScaleRow(t), rows[t]);
}

// Accidentals per letter C D E F G A B: b flat, n natural, # sharp (a raised step).
std::string letters(const std::array<int, 7>& codes) {
    std::string out;
    for (int code : codes)
        out += code == kFlatCode      ? 'b'
               : code == kSharpCode   ? '#'
               : code == kNaturalCode ? 'n'
                                      : '?';
    return out;
}

// The signature on both staves and the steps the tonality raises; an empty signature is not
// checked (the pentatonic and chromatic tonalities).
TEST(SetupKeySignature, SignatureAndRaisedStepsOfEachTonality) {
    const struct {
        int Tonic, Tonality, SignatureKey;
        std::string Staff, Steps;
    } cases[] = {
        {62, 3, 5, "nnnnnnb", "#nnnnnn"},  // D harmonic minor: one flat, C sharp
        {52, 2, 7, "nnn#nnn", "##nnnnn"},  // E melodic minor: C sharp and D sharp
        {55, 2, 10, "nnbnnnb", "nn##nnn"}, // G melodic minor: E natural and F sharp
        {57, 1, 0, "nnnnnnn", "nnnnnnn"},  // A minor: nothing
        {57, 3, 0, "nnnnnnn", "nnnn#nn"},  // A harmonic minor still raises G
        {59, 0, 11, "##n###n", "nnnnnnn"}, // B major: five sharps
        {63, 1, 6, "bbbnbbb", "nnnnnnn"},  // E flat minor, relative of G flat: six flats
        {59, 4, -1, "", "nnnnnnn"},        {59, 5, -1, "", "nnnnnnn"}, {59, 6, -1, "", "nnnnnnn"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "tonic " << c.Tonic << " tonality " << c.Tonality);
        const KeyState key = SetupKeySignature(c.Tonic, c.Tonality);
        EXPECT_EQ(letters(key.stepAccidentals), c.Steps);
        if (c.Staff.empty())
            continue;
        EXPECT_EQ(key.signatureKey, c.SignatureKey);
        EXPECT_EQ(letters(key.staffAccidentals[0]), c.Staff);
        EXPECT_EQ(letters(key.staffAccidentals[1]), c.Staff);
    }
}

TEST(StaffSteps, BlackKeysAreSpelledFromEitherSide) {
    EXPECT_EQ(flatSideStep(36), 0);
    EXPECT_EQ(flatSideStep(37), 1);
    EXPECT_EQ(sharpSideStep(37), 0);
    EXPECT_EQ(flatSideStep(60), 14);
    EXPECT_EQ(sharpSideStep(70), 19);
    EXPECT_EQ(flatSideStep(70), 20);
    EXPECT_EQ(flatSideStep(84), 28);
    EXPECT_EQ(sharpSideStep(84), 28);
    EXPECT_EQ(flatSideStep(35), -1);
}

TEST(MelodyKey, TonicFromTheKeyList) {
    EXPECT_EQ(melodyTonicFromKey(4), 52) << "E lies below 64";
    EXPECT_EQ(melodyTonicFromKey(3), 63);
    EXPECT_EQ(melodyTonicFromKey(0), 60);
    EXPECT_EQ(melodyTonicFromKey(11), 59);
}

TEST(MelodyKey, FifthStepsWrapAtDifferentPoints) {
    EXPECT_EQ(fifthUp({0, 60}).Tonic, 55);
    EXPECT_EQ(fifthUp({0, 60}).Key, 7);
    EXPECT_EQ(fifthDown({0, 60}).Tonic, 65);
    EXPECT_EQ(fifthDown({0, 60}).Key, 5);
    MelodyKey up{0, 60}, down{0, 60};
    for (int i = 0; i < 24; ++i) {
        up = fifthUp(up);
        down = fifthDown(down);
        EXPECT_GE(up.Tonic, 52);
        EXPECT_LE(up.Tonic, 65);
        EXPECT_GE(down.Tonic, 52);
        EXPECT_LE(down.Tonic, 65);
        EXPECT_EQ(pitchClass(up.Tonic), up.Key);
        EXPECT_EQ(pitchClass(down.Tonic), down.Key);
    }
    EXPECT_EQ(up.Key, 0);
}

TEST(TimeSignatureStepping, StopsAtBothEnds) {
    EXPECT_EQ(previousTimeSignature(0), 0);
    EXPECT_EQ(previousTimeSignature(3), 2);
    EXPECT_EQ(nextTimeSignature(3), 4);
    EXPECT_EQ(nextTimeSignature(7), 7);
}

TEST(RootNote, ComboIndexAndRandomRoot) {
    EXPECT_EQ(rootNoteFromComboIndex(0), 60);
    EXPECT_EQ(rootNoteFromComboIndex(11), 71);
    EXPECT_EQ(rootNoteFromComboIndex(12), 72);
    EXPECT_TRUE(isRandomRoot(rootNoteFromComboIndex(12)));
    EXPECT_FALSE(isRandomRoot(71));
}

TEST(KeyLists, ComboEntriesLabelAndLeaps) {
    const auto major = SetupComboToneart(0, false);
    const auto minor = SetupComboToneart(1, true);
    ASSERT_EQ(major.size(), 12u);
    EXPECT_EQ(major[1], "Db");
    EXPECT_EQ(major[6], "Gb");
    EXPECT_EQ(minor[1], "C#");
    EXPECT_EQ(minor[10], "Bb");
    EXPECT_EQ(minor[11], "H");
    EXPECT_EQ(SetupComboToneart(0, true)[11], "H");

    const auto lookup = test::theoryLookup();
    EXPECT_EQ(keyLabel(61, 0, false, lookup), "Db мажор");
    EXPECT_EQ(keyLabel(61, 3, false, lookup), "C# минор");
    EXPECT_EQ(keyLabel(59, 1, true, lookup), "H минор");
    EXPECT_EQ(keyLabel(58, 0, true, lookup), "Bb мажор");

    const auto leaps = leapListEntries(0, lookup);
    ASSERT_EQ(leaps.size(), 7u);
    EXPECT_EQ(leaps.front(), "Секунда");
    EXPECT_EQ(leaps.back(), "Октава");
    const auto steps = leapListEntries(5, lookup);
    ASSERT_EQ(steps.size(), 5u);
    EXPECT_EQ(steps[0], "1 ст.");
    EXPECT_EQ(steps[4], "5 ст.");
}

TEST(KeyLists, TonalityChangeGathersTheKeyState) {
    const TonalitySetup d = tonalityChange(62, 3, false, test::theoryLookup());
    EXPECT_EQ(d.Label, "D минор");
    EXPECT_EQ(d.SelectedKey, 2);
    EXPECT_EQ(d.Key.signatureKey, 5);
    EXPECT_EQ(d.KeyEntries[1], "C#");
    EXPECT_EQ(d.LeapEntries.size(), 7u);
    EXPECT_EQ(noteCountFromComboIndex(7), 15);
    EXPECT_EQ(comboIndexFromNoteCount(5), 2);
}

} // namespace
} // namespace harmik
