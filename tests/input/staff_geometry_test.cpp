#include "input/staff_geometry.h"

#include <numeric>

#include <gtest/gtest.h>

using namespace harmik;

TEST(StaffGeometry, RowsOfStepsAndStaves) {
    // {step, clef, row}: middle C one ledger line below the treble staff (clef 0 and 1) or
    // above the bass staff (clef 2); clef 0 puts the B below it on the bass staff.
    const int rows[][3] = {{14, 0, 56}, {14, 2, 69}, {14, 1, 56}, {13, 0, 72},
                           {13, 1, 59}, {0, 0, 111}, {28, 0, 14}};
    for (const auto& [step, clef, row] : rows)
        EXPECT_EQ(Staff_Y(step, clef), row) << step << " " << clef;
}

TEST(StaffGeometry, StepNotesAndResetPositions) {
    EXPECT_EQ(staffStepOffset(-1), -1); // the B below
    EXPECT_EQ(staffStepOffset(30), 52);
    EXPECT_EQ(resetStaffTextX(1), 80);
    EXPECT_EQ(resetStaffTextX(2), 190);
    EXPECT_EQ(resetStaffTextX(5), 40);
    EXPECT_EQ(resetStaffTextX(7), 50);
}

TEST(StaffGeometry, LedgerLines) {
    auto rows = [](int step, int clef) {
        std::vector<int> ys;
        for (const LedgerLine& l : ledgerLines(step, clef))
            ys.push_back(Staff_Y(l.Step, l.Clef));
        std::sort(ys.begin(), ys.end());
        return ys;
    };
    EXPECT_EQ(rows(14, 0), std::vector<int>({56}));
    EXPECT_EQ(rows(14, 2), std::vector<int>({69}));
    EXPECT_EQ(rows(15, 2), std::vector<int>({69}));
    EXPECT_EQ(rows(16, 2), std::vector<int>({63, 69}));
    EXPECT_EQ(rows(10, 1), std::vector<int>({56, 62, 68}));
    EXPECT_EQ(rows(13, 0), std::vector<int>());
    EXPECT_EQ(rows(20, 0), std::vector<int>());
    EXPECT_EQ(rows(2, 0), std::vector<int>({105}));
    EXPECT_EQ(rows(0, 0), std::vector<int>({105, 111}));
    EXPECT_EQ(rows(27, 0), std::vector<int>({20}));
    EXPECT_EQ(rows(28, 0), std::vector<int>({14, 20}));
}

TEST(StaffGeometry, AccidentalGridStacksColumnsLeftward) {
    AccidentalMemory m;
    EXPECT_EQ(m.place(10, 3), 0);
    EXPECT_EQ(m.place(12, 3), 2); // a third higher: the first two columns are taken
    EXPECT_EQ(m.place(20, 1), 0); // far enough away to stand in the first column
    EXPECT_EQ(m.place(11, 0), 4); // a double flat needs two free columns
    EXPECT_EQ(m.cell(11, 6), 0);
    EXPECT_EQ(m.cell(11, 7), 2);
    EXPECT_EQ(m.AccidentalColumns, 5);
    m.NulFortegnMatrix();
    EXPECT_EQ(m.AccidentalColumns, 0);
    EXPECT_EQ(m.place(12, 3), 0);
    // Steps outside the grid still get a column.
    EXPECT_EQ(m.place(40, 3), 0);
}

TEST(StaffGeometry, SpellingInAKey) {
    EXPECT_EQ(spellFlatSide(61).Step, 15);
    EXPECT_EQ(spellFlatSide(61).Accidental, 1);
    EXPECT_EQ(spellFlatSide(60).Accidental, 2);
    EXPECT_EQ(accidentalForStep(14, 61), 3);
    EXPECT_EQ(accidentalForStep(15, 61), 1);
    EXPECT_EQ(accidentalForStep(14, 58), 0); // clamped at a double flat

    const KeyState dMinor = SetupKeySignature(62, 3); // D harmonic minor: B flat, raised C
    const StaffSpelling cSharp = spellInKey(73, dMinor);
    EXPECT_EQ(cSharp.Step, 21);
    EXPECT_EQ(cSharp.Accidental, 3);
    EXPECT_EQ(displayedAccidental(dMinor, cSharp.Step, cSharp.Accidental), 3);
    const StaffSpelling bFlat = spellInKey(70, dMinor);
    EXPECT_EQ(bFlat.Step, 20);
    EXPECT_EQ(bFlat.Accidental, 1);
    EXPECT_EQ(displayedAccidental(dMinor, bFlat.Step, 1), kNoAccidental);
    EXPECT_EQ(displayedAccidental(dMinor, 6, 2), kNaturalSign); // B natural in the bass

    const KeyState eMajor = SetupKeySignature(64, 0); // four sharps: D sharp, not E flat
    EXPECT_EQ(spellInKey(63, eMajor).Step, 15);
    EXPECT_EQ(spellInKey(63, eMajor).Accidental, 3);
    const KeyState cMajor = SetupKeySignature(60, 0);
    EXPECT_EQ(spellInKey(70, cMajor).Accidental, 1); // no sharps: the flat side
}

TEST(StaffGeometry, ScrollEasesAndRoundsHalvesToEven) {
    const auto whole = scrollSteps(110);
    EXPECT_EQ(whole,
              (std::array<int, kScrollFrames>{1, 2, 4, 8, 12, 16, 19, 16, 12, 8, 5, 3, 2, 1, 1}));
    const auto half = scrollSteps(55);
    EXPECT_EQ(half[0], 0);  // 0.5
    EXPECT_EQ(half[6], 10); // 9.5
    EXPECT_EQ(half[10], 2); // 2.5
    EXPECT_EQ(half[11], 2); // 1.5
    const auto twice = scrollSteps(220);
    EXPECT_EQ(std::accumulate(twice.begin(), twice.end(), 0), 220);
}
