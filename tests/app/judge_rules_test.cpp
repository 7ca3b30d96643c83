#include "app/judge_rules.h"

#include "theory/theory_tables.h"

#include <gtest/gtest.h>

using namespace harmik;

namespace {

JudgeItemView view(int module, int itemIndex, int root) {
    JudgeItemView v;
    v.module = module;
    v.item.itemIndex = itemIndex;
    v.item.root = root;
    v.notes = ItemNotes(module, v.item);
    return v;
}

} // namespace

TEST(Judge, IntervalOnAKeyboardIgnoresTheRootAndJudgesTheSecondNote) {
    AnswerProgress progress;
    const JudgeItemView down = view(1, -7, 67); // a fifth down from G
    EXPECT_EQ(DecideVerdict(down, 67, SourceMidiKeyboard, progress).verdict, Verdict::Ignored);
    EXPECT_EQ(DecideVerdict(down, 74, SourceMidiKeyboard, progress).verdict, Verdict::Wrong);
    EXPECT_EQ(DecideVerdict(down, 60, SourceMidiKeyboard, progress).verdict, Verdict::Correct);
    // The unison is answered by the root itself.
    EXPECT_EQ(DecideVerdict(view(1, 0, 60), 60, SourcePiano, progress).verdict, Verdict::Correct);
    // On the panel the name is enough, whatever the direction.
    EXPECT_EQ(DecideVerdict(down, 7, SourceAnswerPanel, progress).verdict, Verdict::Correct);
    EXPECT_EQ(DecideVerdict(down, 5, SourceAnswerPanel, progress).verdict, Verdict::Wrong);
}

TEST(Judge, ChordPlayedInAnyOrderIsRightAfterItsLastNewNote) {
    JudgeItemView major = view(3, 0, 60);
    ASSERT_EQ(major.notes, (std::vector<int>{60, 64, 67}));
    AnswerProgress progress;
    EXPECT_EQ(DecideVerdict(major, 67, SourcePiano, progress).verdict, Verdict::Partial);
    EXPECT_EQ(DecideVerdict(major, 67, SourcePiano, progress).verdict, Verdict::Partial);
    EXPECT_EQ(progress.noteCounter, 1); // a repeated note counts once
    const VerdictResult third = DecideVerdict(major, 64, SourcePiano, progress);
    EXPECT_EQ(third.verdict, Verdict::Partial);
    EXPECT_EQ(third.enteredIndex, 2);
    EXPECT_EQ(DecideVerdict(major, 60, SourcePiano, progress).verdict, Verdict::Correct);

    AnswerProgress other;
    EXPECT_EQ(DecideVerdict(major, 63, SourceMidiKeyboard, other).verdict, Verdict::Wrong);
    // The same pitch class an octave away is not a note of this voicing.
    EXPECT_EQ(DecideVerdict(major, 72, SourceMidiKeyboard, other).verdict, Verdict::Wrong);
}

TEST(Judge, ScaleNeedsEveryNoteIncludingTheOctave) {
    JudgeItemView ionian = view(2, 0, 60);
    ASSERT_EQ(ionian.notes.size(), 8u);
    AnswerProgress progress;
    for (std::size_t i = 0; i + 1 < ionian.notes.size(); ++i)
        EXPECT_EQ(DecideVerdict(ionian, ionian.notes[i], SourceStaffNote, progress).verdict,
                  Verdict::Partial);
    EXPECT_EQ(DecideVerdict(ionian, 72, SourceStaffNote, progress).verdict, Verdict::Correct);
}

TEST(Judge, InversionByChordTypeEarnsHalf) {
    const JudgeItemView second = view(4, 7 * 3 + 2, 60); // block 3: second inversion of type 2
    AnswerProgress progress;
    const VerdictResult byType = DecideVerdict(second, 2, SourceAnswerPanel, progress);
    EXPECT_EQ(byType.verdict, Verdict::Correct);
    EXPECT_TRUE(byType.halvePoints);
    EXPECT_EQ(DecideVerdict(second, 3, SourceAnswerPanel, progress).verdict, Verdict::Wrong);
    const VerdictResult exact = DecideVerdict(second, 23, SourceAnswerPanel, progress);
    EXPECT_EQ(exact.verdict, Verdict::Correct);
    EXPECT_FALSE(exact.halvePoints);
    EXPECT_EQ(DecideVerdict(second, 16, SourceAnswerPanel, progress).verdict, Verdict::Wrong);
}

TEST(Judge, ProgressionChordsInOrderWithTheirTypes) {
    JudgeItemView v = view(5, 0, 62); // in D
    v.progression = {{0, 0}, {7, 0}, {0, 0}};
    AnswerProgress progress;
    EXPECT_EQ(DecideVerdict(v, 50, SourcePiano, progress).verdict, Verdict::Partial); // any D
    EXPECT_EQ(DecideVerdict(v, 69, SourceChordMenu, progress, 1).verdict, Verdict::Wrong);
    EXPECT_EQ(DecideVerdict(v, 69, SourceChordMenu, progress, 0).verdict, Verdict::Partial);
    EXPECT_EQ(DecideVerdict(v, 74, SourceMidiKeyboard, progress).verdict, Verdict::Correct);
}

TEST(Judge, RhythmThresholdAndShowAnswer) {
    JudgeItemView v;
    v.module = 7;
    v.rhythmSensitivity = 96;
    AnswerProgress progress;
    EXPECT_EQ(DecideVerdict(v, 95, SourceMidiKeyboard, progress).verdict, Verdict::Wrong);
    EXPECT_EQ(DecideVerdict(v, 96, SourceMidiKeyboard, progress).verdict, Verdict::Correct);
    EXPECT_EQ(DecideVerdict(v, 0, SourceShowAnswer, progress).verdict, Verdict::Correct);
}

TEST(Judge, PenaltiesRoundHalvesToEven) {
    // Four ticked items: the divisor is 2.
    EXPECT_EQ(PointsAfterWrongAnswer(1, 100, 0, 4, 0), 50);
    EXPECT_EQ(PointsAfterWrongAnswer(1, 5, 0, 4, 0), 3); // 5 - round(2.5) = 5 - 2
    EXPECT_EQ(PointsAfterWrongAnswer(1, 7, 0, 4, 0), 3); // 7 - round(3.5) = 7 - 4
    // One ticked item: the penalty is twice the points.
    EXPECT_EQ(PointsAfterWrongAnswer(3, 40, 0, 1, 0), -40);
    // Melodies lose a share per note, rhythm by the missing accuracy.
    EXPECT_EQ(PointsAfterWrongAnswer(6, 100, 0, 0, 8), 88); // 100 - round(12.5)
    EXPECT_EQ(PointsAfterWrongAnswer(7, 90, 70, 0, 0), 81); // 90 - round(27 / 3)
}

TEST(Judge, BonusesBySourceAndStatisticsEntries) {
    EXPECT_EQ(40 + SourceBonus(1, SourcePiano, 40), 50);
    EXPECT_EQ(SourceBonus(3, SourceMidiKeyboard, 41), 10);
    EXPECT_EQ(SourceBonus(5, SourceChordMenu, 41), 20);
    EXPECT_EQ(SourceBonus(5, SourceStaffNote, 41), 13);
    EXPECT_EQ(SourceBonus(2, SourceStaffNote, 41), 20);
    EXPECT_EQ(SourceBonus(2, SourceAnswerPanel, 41), 0);

    EXPECT_EQ(WrongAnswerStatisticsEntry(1, -19), 19);
    EXPECT_EQ(WrongAnswerStatisticsEntry(6, 3), 0);
    EXPECT_EQ(ShownAnswerStatisticsEntry(1, -19), 7);
    EXPECT_EQ(ShownAnswerStatisticsEntry(1, 16), 16);
    EXPECT_EQ(ShownAnswerStatisticsEntry(7, 5), 0);
}
