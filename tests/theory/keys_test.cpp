#include <gtest/gtest.h>

#include "theory/keys.h"
#include "theory/note_names.h"
#include "theory_test_strings.h"

namespace harmik {
namespace {

constexpr int kLetterC = 0, kLetterD = 1, kLetterE = 2, kLetterF = 3, kLetterG = 4, kLetterA = 5,
              kLetterB = 6;

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

TEST(Keys, SignatureStepsSpellSharpsAndFlatsInOrder) {
    const std::array<int, 6> sharps = {kLetterF, kLetterC, kLetterG, kLetterD, kLetterA, kLetterE};
    const std::array<int, 6> flats = {kLetterB, kLetterE, kLetterA, kLetterD, kLetterG, kLetterC};
    for (int k = 1; k <= 6; ++k) {
        EXPECT_EQ(KeySignatureSteps[static_cast<std::size_t>(6 + k)] % 7, sharps[k - 1]);
        EXPECT_EQ(KeySignatureSteps[static_cast<std::size_t>(6 - k)] % 7, flats[k - 1]);
    }
}

TEST(Keys, TonalityRows) {
    const int rows[] = {0, 5, 14, 7, 25, 26, 24};
    for (int t = 0; t < kTonalityCount; ++t)
        EXPECT_EQ(tonalityScaleRow(t), rows[t]);
}

TEST(SetupKeySignature, DHarmonicMinorRaisesC) {
    const KeyState key = SetupKeySignature(62, 3);
    EXPECT_EQ(key.signatureKey, 5); // F major: one flat
    for (const auto& staff : key.staffAccidentals)
        for (int letter = 0; letter < 7; ++letter)
            EXPECT_EQ(staff[static_cast<std::size_t>(letter)],
                      letter == kLetterB ? kFlatCode : kNaturalCode);
    for (int letter = 0; letter < 7; ++letter)
        EXPECT_EQ(key.stepAccidentals[static_cast<std::size_t>(letter)],
                  letter == kLetterC ? kSharpCode : kNaturalCode);
}

TEST(SetupKeySignature, MelodicMinorRaisesSixthAndSeventh) {
    const KeyState e = SetupKeySignature(52, 2); // E melodic minor: C# and D#
    EXPECT_EQ(e.signatureKey, 7);
    EXPECT_EQ(e.staffAccidentals[0][kLetterF], kSharpCode);
    EXPECT_EQ(e.stepAccidentals[kLetterC], kSharpCode);
    EXPECT_EQ(e.stepAccidentals[kLetterD], kSharpCode);
    EXPECT_EQ(e.stepAccidentals[kLetterE], kNaturalCode);
    // G melodic minor (two flats): E natural and F sharp, written as raised steps.
    const KeyState g = SetupKeySignature(55, 2);
    EXPECT_EQ(g.staffAccidentals[1][kLetterE], kFlatCode);
    EXPECT_EQ(g.stepAccidentals[kLetterE], kSharpCode);
    EXPECT_EQ(g.stepAccidentals[kLetterF], kSharpCode);
}

TEST(SetupKeySignature, AMinorHasNoSignatureAndHarmonicMinorStillRaisesG) {
    const KeyState natural = SetupKeySignature(57, 1);
    EXPECT_EQ(natural.signatureKey, 0);
    for (int letter = 0; letter < 7; ++letter) {
        EXPECT_EQ(natural.staffAccidentals[0][static_cast<std::size_t>(letter)], kNaturalCode);
        EXPECT_EQ(natural.stepAccidentals[static_cast<std::size_t>(letter)], kNaturalCode);
    }
    // Like every other harmonic minor key, A harmonic minor enters G sharp on its G step.
    const KeyState harmonic = SetupKeySignature(57, 3);
    EXPECT_EQ(harmonic.stepAccidentals[kLetterG], kSharpCode);
    EXPECT_EQ(harmonic.stepAccidentals[kLetterF], kNaturalCode);
}

TEST(SetupKeySignature, MajorAndPentatonicTonalitiesAddNoSteps) {
    for (int tonality : {0, 4, 5, 6}) {
        const KeyState key = SetupKeySignature(59, tonality);
        for (int a : key.stepAccidentals)
            EXPECT_EQ(a, kNaturalCode) << tonality;
    }
    const KeyState bMajor = SetupKeySignature(59, 0);
    int sharps = 0;
    for (int a : bMajor.staffAccidentals[0])
        sharps += a == kSharpCode ? 1 : 0;
    EXPECT_EQ(sharps, 5);
    const KeyState ebMinor = SetupKeySignature(63, 1); // relative of Gb: six flats
    EXPECT_EQ(ebMinor.signatureKey, 6);
    int flats = 0;
    for (int a : ebMinor.staffAccidentals[1])
        flats += a == kFlatCode ? 1 : 0;
    EXPECT_EQ(flats, 6);
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
    const auto major = keyComboEntries(0, false);
    const auto minor = keyComboEntries(1, true);
    ASSERT_EQ(major.size(), 12u);
    EXPECT_EQ(major[1], "Db");
    EXPECT_EQ(major[6], "Gb");
    EXPECT_EQ(minor[1], "C#");
    EXPECT_EQ(minor[10], "Bb");
    EXPECT_EQ(minor[11], "H");
    EXPECT_EQ(keyComboEntries(0, true)[11], "H");

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
