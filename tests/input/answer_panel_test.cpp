#include "input/answer_layout.h"
#include "input/answer_panel.h"
#include "input/cursor_table.h"
#include "theory/generator_options.h"
#include "theory/item_names.h"
#include "theory/theory_tables.h"
#include "userdata/settings_record.h"
#include "userdata/strings.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace harmik;

namespace {

// The main window's parts for an 800 × 600 client area: SpeedMenu 40 high, Pan_Staff 150,
// Pan_Klaver nearest(600 / 5) = 120, the status bar on, Pan_Ove 160 wide.
PanelLayoutInput window800(int module, int count, int longest) {
    PanelLayoutInput in;
    in.ClientWidth = 800;
    in.ClientHeight = 600;
    in.WindowWidth = 800;
    in.StaffHeight = 150;
    in.PianoHeight = 120;
    in.MenuHeight = 40;
    in.OveWidth = 160;
    in.StatusBar = 1;
    in.Module = module;
    in.AnswerBoxCount = count;
    in.LongestItemName = longest;
    in.KvalitetTag = 3;
    in.AfspilTag = 3;
    return in;
}

constexpr int kCountOf[8] = {0, 36, 28, 48, 35, 48, 0, 12};

class AnswerPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        cursors.Load();
        names = BuildItemNameList([](int id) { return LoadStr(id).toStdString(); });
        panel = std::make_unique<AnswerPanel>(settings, cursors, names);
    }

    // Module selection's steps 6 and 7, then the layout of an 800 × 600 window; shown, so
    // that clicks reach the boxes.
    void select(int module) {
        settings.CurrentModule = static_cast<std::uint8_t>(module);
        panel->PlaceChecks(QStringLiteral("Title"), kCountOf[module]);
        panel->EarDoProblemGroup(window800(module, 0, 0));
        panel->show();
    }

    QString caption(int i) const { return panel->box(i)->text(); }
    bool ticked(int i) const { return panel->box(i)->isChecked(); }
    bool stored(int module, int i) const { return settings.AnswerChecks[module - 1][i] != 0; }

    void click(int i) { QTest::mouseClick(panel->box(i), Qt::LeftButton); }

    // A mouse move with the left button held, delivered to the box that took the press (as
    // the window system does while a button is down), at the centre of box `over`.
    void dragTo(int source, int over) {
        AnswerBox* from = panel->box(source);
        const QPoint inPanel = panel->box(over)->geometry().center();
        const QPointF local = from->mapFrom(panel.get(), inPanel);
        QMouseEvent move(QEvent::MouseMove, local, from->mapToGlobal(local), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(from, &move);
    }

    SettingsRecord settings;
    CursorTable cursors;
    ItemNameList names;
    std::unique_ptr<AnswerPanel> panel;
};

// ---------------------------------------------------------------- PlaceChecks

TEST_F(AnswerPanelTest, BoxesAreCreatedOnceWithTheirNamesCursorAndHelpContext) {
    ASSERT_EQ(panel->objectName(), "Group_Problem");
    for (int i = 0; i < AnswerPanel::kBoxCount; ++i) {
        AnswerBox* b = panel->box(i);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->objectName(), QStringLiteral("Problem%1").arg(i));
        EXPECT_EQ(panel->children().indexOf(b), i) << "a box's index is its place among children";
        EXPECT_EQ(b->property("HelpContext").toInt(), 101);
    }
    EXPECT_EQ(panel->box(51), nullptr);
    EXPECT_EQ(panel->DragFill(), -1);
}

TEST_F(AnswerPanelTest, PlaceChecksShowsCaptionsAndCountsTheRememberedTicksOfEachModule) {
    // Every third box of every module remembered as ticked.
    for (int m = 0; m < 7; ++m)
        for (int i = 0; i < 51; i += 3)
            settings.AnswerChecks[m][i] = 1;

    for (int module : {1, 2, 3, 4, 5, 7}) {
        SCOPED_TRACE(module);
        QSignalSpy layoutRequests(panel.get(), &AnswerPanel::screenLayoutRequested);
        settings.CurrentModule = static_cast<std::uint8_t>(module);
        const int count = kCountOf[module];
        panel->PlaceChecks(QStringLiteral("Caption %1").arg(module), count);

        EXPECT_EQ(panel->title(), QStringLiteral("Caption %1").arg(module));
        EXPECT_EQ(panel->AnswerBoxCount(), count);
        EXPECT_EQ(layoutRequests.count(), 1);
        int expected = 0;
        for (int i = 0; i < 51; ++i) {
            const bool triadThirdInversion = module == 4 && i >= 28 && i <= 30;
            EXPECT_EQ(panel->box(i)->isHidden(), i >= count || triadThirdInversion) << i;
            if (i >= count)
                continue;
            EXPECT_EQ(ticked(i), i % 3 == 0) << i;
            if (ticked(i) && !triadThirdInversion && (module != 4 || i >= 7))
                ++expected;
        }
        EXPECT_EQ(panel->SelectedCount(), expected);
    }
    // 36 / 28 / 48 / 35 (grid 7..34 without 28..30) / 48 / 12 boxes.
    settings.CurrentModule = 4;
    panel->PlaceChecks(QString(), 35);
    EXPECT_EQ(panel->SelectedCount(), 8); // 9, 12, 15, 18, 21, 24, 27, 33 (30 hidden)
}

TEST_F(AnswerPanelTest, CaptionsAreABlankAndTheItemNameInversionGridBlank) {
    select(1);
    EXPECT_EQ(caption(0), QStringLiteral(" ") + LoadStr(101));
    EXPECT_EQ(caption(11), QStringLiteral(" ") + LoadStr(112));
    select(2);
    EXPECT_EQ(caption(27), QStringLiteral(" ") + LoadStr(157));
    select(3);
    EXPECT_EQ(caption(47), QStringLiteral(" ") + LoadStr(218));
    select(4);
    EXPECT_EQ(caption(3), QStringLiteral(" ") + LoadStr(253));
    for (int i = 7; i < 35; ++i)
        EXPECT_EQ(caption(i), QStringLiteral(" ")) << i;
    EXPECT_FALSE(panel->LabOktav(1)->isHidden());
    EXPECT_FALSE(panel->LabOktav(4)->isHidden());
    select(7);
    EXPECT_EQ(caption(9), QStringLiteral(" ") + LoadStr(400));
    EXPECT_EQ(caption(11), QStringLiteral(" ") + LoadStr(404));
    EXPECT_TRUE(panel->LabOktav(1)->isHidden());
}

// ---------------------------------------------------------------- ticking between tasks

TEST_F(AnswerPanelTest, ClickTicksColoursWritesThroughAndRecounts) {
    select(3);
    const QColor groupColour = panel->palette().color(QPalette::WindowText);
    click(5);
    EXPECT_TRUE(ticked(5));
    EXPECT_TRUE(stored(3, 5));
    EXPECT_EQ(panel->captionColour(5), QColor(255, 255, 255));
    EXPECT_EQ(panel->SelectedCount(), 1);
    click(5);
    EXPECT_FALSE(ticked(5));
    EXPECT_FALSE(stored(3, 5));
    EXPECT_EQ(panel->captionColour(5), groupColour);
    EXPECT_EQ(panel->SelectedCount(), 0);
    // A cleared caption follows the group's font colour (silver on a low-colour display).
    QPalette silver = panel->palette();
    silver.setColor(QPalette::WindowText, QColor(0xC0, 0xC0, 0xC0));
    panel->setPalette(silver);
    EXPECT_EQ(panel->captionColour(5), QColor(0xC0, 0xC0, 0xC0));
    click(5);
    EXPECT_EQ(panel->captionColour(5), QColor(255, 255, 255));
    // The other modules' remembered ticks are untouched and come back on switching.
    settings.AnswerChecks[0][4] = 1;
    select(1);
    EXPECT_TRUE(ticked(4));
    EXPECT_EQ(panel->SelectedCount(), 1);
}

TEST_F(AnswerPanelTest, InversionRowSwitchCopiesToTheRowAndOnlyTheGridCounts) {
    select(4);
    click(3);
    for (int b : {3, 10, 17, 24, 31}) {
        EXPECT_TRUE(ticked(b)) << b;
        EXPECT_TRUE(stored(4, b)) << b;
    }
    EXPECT_EQ(panel->SelectedCount(), 4) << "box 3 itself is not counted";
    // Clearing box 3 clears 10, 17, 24 and 31 and their remembered ticks.
    click(3);
    for (int b : {3, 10, 17, 24, 31}) {
        EXPECT_FALSE(ticked(b)) << b;
        EXPECT_FALSE(stored(4, b)) << b;
    }
    EXPECT_EQ(panel->SelectedCount(), 0);
    // All seven row switches: 28 grid boxes ticked, of which 28..30 are hidden.
    for (int i = 0; i < 7; ++i)
        click(i);
    EXPECT_TRUE(ticked(29));
    EXPECT_EQ(panel->SelectedCount(), 25);
    GeneratorOptions options;
    panel->CopySelection(options);
    EXPECT_EQ(options.AnswerBoxCount, 35);
    EXPECT_EQ(options.SelectedCount, 25);
    EXPECT_TRUE(options.AnswerChecks[29]);
    EXPECT_FALSE(options.AnswerVisible[29]) << "the triads' third inversions are never asked";
    EXPECT_FALSE(options.AnswerVisible[35]);
    // A grid box alone changes only itself.
    click(8);
    EXPECT_FALSE(ticked(8));
    EXPECT_TRUE(ticked(1));
    EXPECT_TRUE(ticked(15));
    EXPECT_EQ(panel->SelectedCount(), 24);
}

TEST_F(AnswerPanelTest, RowSwitchDoesNotCopyWhileThePanelIsHidden) {
    select(4);
    panel->hide();
    panel->setBoxTicked(2, true);
    EXPECT_TRUE(stored(4, 2));
    EXPECT_FALSE(ticked(9));
    EXPECT_FALSE(stored(4, 9));
}

TEST_F(AnswerPanelTest, ItemGroupTicksRunTheClickPath) {
    select(1);
    // EarFill of "Диатон.": boxes 0, 5, 7, 12, 17, 19, 24, 29, 31.
    for (int i = 0; i < 36; ++i)
        if (ItemGroupContains(ModuleId::Intervals, 1, i))
            panel->setBoxTicked(i, true);
    for (int i : {0, 5, 7, 12, 17, 19, 24, 29, 31}) {
        EXPECT_TRUE(ticked(i)) << i;
        EXPECT_TRUE(stored(1, i)) << i;
    }
    EXPECT_EQ(panel->SelectedCount(), 9);
    EXPECT_EQ(panel->captionColour(7), QColor(255, 255, 255));
    panel->setBoxTicked(7, false);
    EXPECT_FALSE(stored(1, 7));
    EXPECT_EQ(panel->SelectedCount(), 8);
}

TEST_F(AnswerPanelTest, TutorLockTicksAClearedBoxAgainAndNothingElse) {
    settings.AnswerChecks[2][4] = 1;
    select(3);
    panel->setTutorActive(true);
    click(4);
    EXPECT_TRUE(ticked(4));
    EXPECT_TRUE(stored(3, 4));
    panel->setBoxTicked(4, false);
    EXPECT_TRUE(ticked(4));
    // A new tick is not remembered nor counted: nothing but the re-tick happens.
    click(6);
    EXPECT_FALSE(stored(3, 6));
    EXPECT_EQ(panel->SelectedCount(), 1);
    panel->setTutorActive(false);
    click(4);
    EXPECT_FALSE(ticked(4));
    EXPECT_FALSE(stored(3, 4));
}

// ---------------------------------------------------------------- drag selection

TEST_F(AnswerPanelTest, DragFromATickedBoxClearsEveryBoxPassedIncludingTheFirst) {
    for (int i = 0; i < 4; ++i)
        settings.AnswerChecks[0][i] = 1;
    settings.AnswerChecks[0][6] = 1;
    select(1);
    ASSERT_EQ(panel->SelectedCount(), 5);

    QTest::mousePress(panel->box(0), Qt::LeftButton);
    dragTo(0, 0);
    EXPECT_EQ(panel->DragFill(), 0);
    EXPECT_FALSE(ticked(0)) << "the first box is entered too";
    dragTo(0, 1);
    dragTo(0, 2);
    dragTo(0, 3);
    dragTo(0, 4); // already clear
    QTest::mouseRelease(panel->box(0), Qt::LeftButton);

    EXPECT_EQ(panel->DragFill(), -1);
    for (int i = 0; i <= 4; ++i) {
        EXPECT_FALSE(ticked(i)) << i;
        EXPECT_FALSE(stored(1, i)) << i;
    }
    EXPECT_TRUE(ticked(6)) << "not passed over";
    EXPECT_EQ(panel->SelectedCount(), 1);
}

TEST_F(AnswerPanelTest, DragFromAClearBoxTicksAcrossColumnsAndTheReleaseIsNoClick) {
    select(3);
    QTest::mousePress(panel->box(10), Qt::LeftButton);
    dragTo(10, 11);
    dragTo(10, 23); // next column
    EXPECT_EQ(panel->DragFill(), 1);
    QTest::mouseRelease(panel->box(10), Qt::LeftButton);
    for (int i : {10, 11, 23})
        EXPECT_TRUE(stored(3, i)) << i;
    EXPECT_EQ(panel->SelectedCount(), 3);
    EXPECT_EQ(panel->DragFill(), -1);
    // A plain click afterwards is a click again.
    click(10);
    EXPECT_FALSE(ticked(10));
}

// ---------------------------------------------------------------- during a task

TEST_F(AnswerPanelTest, TaskClickAnswersAndKeepsTheBoxTicked) {
    for (int i : {2, 5})
        settings.AnswerChecks[0][i] = 1;
    select(1);
    QSignalSpy answers(panel.get(), &AnswerPanel::answerGiven);
    panel->setTaskRunning(true);
    panel->enableForTask();
    EXPECT_TRUE(panel->box(2)->isEnabled());
    EXPECT_FALSE(panel->box(3)->isEnabled());
    EXPECT_EQ(panel->toolTip(), LoadStr(3011).section('|', 0, 0));
    EXPECT_EQ(panel->focusFirstBox(), panel->box(2)) << "the first box that can take the focus";

    // A resize during the task keeps the task's hint.
    panel->EarDoProblemGroup(window800(0, 0, 0));
    EXPECT_EQ(panel->toolTip(), LoadStr(3011).section('|', 0, 0));

    click(5);
    ASSERT_EQ(answers.count(), 1);
    EXPECT_EQ(answers.at(0).at(0).toInt(), 5);
    EXPECT_TRUE(ticked(5));
    EXPECT_TRUE(stored(1, 5));
    EXPECT_EQ(panel->SelectedCount(), 2);

    // Once the answer is shown, clicks do not answer.
    panel->setAnswerShown(true);
    click(2);
    EXPECT_EQ(answers.count(), 1);
    EXPECT_TRUE(ticked(2));

    // No drag during a task.
    QTest::mousePress(panel->box(2), Qt::LeftButton);
    dragTo(2, 5);
    EXPECT_EQ(panel->DragFill(), -1);
    QTest::mouseRelease(panel->box(2), Qt::LeftButton);
}

TEST_F(AnswerPanelTest, RhythmClickDuringATaskCallsNoEvaluation) {
    settings.AnswerChecks[6][2] = 1;
    select(7);
    QSignalSpy answers(panel.get(), &AnswerPanel::answerGiven);
    panel->setTaskRunning(true);
    panel->enableForTask();
    click(2);
    EXPECT_EQ(answers.count(), 0);
    EXPECT_TRUE(ticked(2));
}

TEST_F(AnswerPanelTest, TaskEndRestoresHintsAndEnablingUnlessTheTutorHoldsThem) {
    settings.AnswerChecks[1][0] = 1;
    select(2);
    panel->setTaskRunning(true);
    panel->enableForTask();
    panel->setTaskRunning(false);
    panel->restoreAfterTask(true);
    EXPECT_EQ(panel->toolTip(), LoadStr(3012).section('|', 0, 0));
    EXPECT_FALSE(panel->box(1)->isEnabled()) << "the tutor keeps the task's selection";
    panel->restoreAfterTask(false);
    EXPECT_EQ(panel->toolTip(), LoadStr(3008));
    EXPECT_EQ(panel->statusTip(), LoadStr(3010));
    for (int i = 0; i < 28; ++i)
        EXPECT_TRUE(panel->box(i)->isEnabled()) << i;
}

// ---------------------------------------------------------------- preview and rhythm symbols

TEST_F(AnswerPanelTest, RightClickAsksForAPreviewBetweenTasksOnly) {
    select(3);
    QSignalSpy previews(panel.get(), &AnswerPanel::previewRequested);
    QTest::mouseClick(panel->box(7), Qt::RightButton);
    ASSERT_EQ(previews.count(), 1);
    EXPECT_EQ(previews.at(0).at(0).toInt(), 7);
    EXPECT_FALSE(ticked(7)) << "a right click ticks nothing";
    panel->setTaskRunning(true);
    QTest::mouseClick(panel->box(7), Qt::RightButton);
    EXPECT_EQ(previews.count(), 1);
    panel->setTaskRunning(false);
    select(7);
    QTest::mouseClick(panel->box(1), Qt::RightButton);
    EXPECT_EQ(previews.count(), 1) << "rhythm has no preview";
}

TEST_F(AnswerPanelTest, RhythmSymbolShowsSelectedWhileItsBoxOrItsTripletPartnerIsTicked) {
    select(7);
    QSignalSpy symbols(panel.get(), &AnswerPanel::rhythmSymbolChanged);
    click(6); // quarter triplets: symbol 2
    click(2); // quarters: symbol 2
    click(6);
    click(2);
    click(0);
    ASSERT_EQ(symbols.count(), 5);
    const std::vector<std::pair<int, bool>> expected{
        {2, true}, {2, true}, {2, true}, {2, false}, {0, true}};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(symbols.at(k).at(0).toInt(), expected[k].first) << k;
        EXPECT_EQ(symbols.at(k).at(1).toBool(), expected[k].second) << k;
    }
    click(10); // dots: no symbol
    EXPECT_EQ(symbols.count(), 5);

    const RhythmSymbolBlit quarterOn = RhythmSymbolCopy(2, true);
    EXPECT_EQ(quarterOn.SourceX, 26);
    EXPECT_EQ(quarterOn.SourceY, 37);
    EXPECT_EQ(quarterOn.Width, 11);
    EXPECT_EQ(quarterOn.Height, 36);
    EXPECT_EQ(quarterOn.DestX, 48);
    EXPECT_EQ(RhythmSymbolCopy(4, false).SourceY, 0);
}

TEST(PreviewRoot, RandomRootDrawsFromTheModulesOctaveFixedRootLowersHighChords) {
    Random a(7), b(7);
    for (int k = 0; k < 20; ++k) {
        EXPECT_EQ(PreviewRoot(3, 0, 72, a), b.random(12) + 50);
        EXPECT_EQ(PreviewRoot(1, 5, 72, a), b.random(12) + 56);
        EXPECT_EQ(PreviewRoot(5, 5, 72, a), b.random(12) + 56);
    }
    Random r(1);
    EXPECT_EQ(PreviewRoot(1, 35, 71, r), 71) << "only chords are lowered";
    EXPECT_EQ(PreviewRoot(4, 34, 71, r), 71);
    // A major triad (span 7) from 71 reaches 78: kept; a chord reaching past 83 is lowered.
    ASSERT_EQ(chordVoicing(chordVoicingRecord(0, 0)).span(), 7);
    EXPECT_EQ(PreviewRoot(3, 0, 71, r), 71);
    int wide = -1;
    for (int t = 0; t < kChordTypeCount && wide < 0; ++t)
        if (chordVoicing(chordVoicingRecord(t, 0)).span() > 12)
            wide = t;
    ASSERT_GE(wide, 0);
    const int span = chordVoicing(chordVoicingRecord(wide, 0)).span();
    EXPECT_EQ(PreviewRoot(3, wide, 83 - span, r), 83 - span) << "83 itself is allowed";
    EXPECT_EQ(PreviewRoot(3, wide, 84 - span, r), 72 - span);
}

// ---------------------------------------------------------------- interval range

TEST_F(AnswerPanelTest, IntervalRangeShowsHidesAndCaptionsTheOctaveColumns) {
    for (int i : {1, 12, 13, 20, 24, 30})
        settings.AnswerChecks[0][i] = 1;
    select(1);
    ASSERT_EQ(panel->SelectedCount(), 6);

    panel->ApplyIntervalRange(0);
    EXPECT_FALSE(panel->box(12)->isHidden());
    for (int i = 13; i <= 35; ++i)
        EXPECT_TRUE(panel->box(i)->isHidden()) << i;
    EXPECT_EQ(caption(12), QStringLiteral(" ") + LoadStr(113));
    EXPECT_TRUE(panel->LabOktav(1)->isHidden());
    EXPECT_TRUE(panel->LabOktav(2)->isHidden());
    EXPECT_EQ(panel->SelectedCount(), 2);
    EXPECT_EQ(settings.ExerciseOptions.Range, 0);

    panel->ApplyIntervalRange(1);
    EXPECT_EQ(caption(12), QString());
    EXPECT_EQ(caption(13), QStringLiteral(" ") + LoadStr(114));
    EXPECT_FALSE(panel->box(24)->isHidden());
    EXPECT_TRUE(panel->box(25)->isHidden());
    EXPECT_FALSE(panel->LabOktav(1)->isHidden());
    EXPECT_TRUE(panel->LabOktav(2)->isHidden());
    EXPECT_EQ(panel->LabOktav(1)->text(), QStringLiteral("+1 ") + LoadStr(120));
    EXPECT_EQ(panel->SelectedCount(), 5);

    panel->ApplyIntervalRange(2);
    for (int i = 12; i <= 35; ++i) {
        EXPECT_FALSE(panel->box(i)->isHidden()) << i;
        EXPECT_EQ(caption(i), QString()) << i;
    }
    EXPECT_FALSE(panel->LabOktav(2)->isHidden());
    EXPECT_EQ(panel->LabOktav(2)->text(), QStringLiteral("+2 ") + LoadStr(121));
    EXPECT_EQ(panel->SelectedCount(), 6);
    EXPECT_EQ(settings.ExerciseOptions.Range, 2);

    // Switching away and back restores the range-2 grid once the range is applied again.
    select(2);
    EXPECT_TRUE(panel->LabOktav(1)->isHidden());
    panel->ApplyIntervalRange(1);
    EXPECT_FALSE(panel->box(25)->isHidden()) << "scale boxes are not touched";
    EXPECT_EQ(settings.ExerciseOptions.Range, 1);
    panel->ApplyIntervalRange(2);
    select(1);
    panel->ApplyIntervalRange(settings.ExerciseOptions.Range);
    EXPECT_EQ(caption(20), QString());
    EXPECT_FALSE(panel->LabOktav(2)->isHidden());
}

// ---------------------------------------------------------------- geometry

TEST(PanelGeometry, IntervalsIn800x600HaveThreeColumnsOfTwelveTheThirdNarrower) {
    // H = 600 − 150 − 120 − 16 − 40 = 274; colW = (800 div 75) × 13 = 130; pitch = 274 div 13
    // = 21; width 20 × 3 + 30 + 390 = 480, W = 450; box width trunc(150 × 0.875) = 131.
    const PanelLayout l = ComputePanelLayout(window800(1, 36, 13));
    EXPECT_EQ(l.H, 274);
    EXPECT_EQ(l.Cols, 3);
    EXPECT_EQ(l.ColW, 130);
    EXPECT_EQ(l.Pitch, 21);
    EXPECT_EQ(l.StepThreeWidth, 480);
    ASSERT_EQ(l.Boxes.size(), 36u);
    EXPECT_EQ(l.Boxes[0].Rect, (PanelRect{15, 21, 131, 17}));
    EXPECT_TRUE(l.Boxes[0].CaptionLeft);
    EXPECT_EQ(l.Boxes[11].Rect, (PanelRect{15, 252, 131, 17}));
    // Column 2: nearest(130 / 1.6 = 81.25) + 130 + 5.
    EXPECT_EQ(l.Boxes[12].Rect, (PanelRect{216, 21, 131, 17}));
    EXPECT_FALSE(l.Boxes[12].CaptionLeft);
    EXPECT_EQ(l.Boxes[23].Rect, (PanelRect{216, 252, 131, 17}));
    // Column 3: 2 × 81 + 135, narrower by 1.3: nearest(131 / 1.3 = 100.77).
    for (int i = 24; i < 36; ++i)
        EXPECT_EQ(l.Boxes[static_cast<std::size_t>(i)].Rect.Width, 101) << i;
    EXPECT_EQ(l.Boxes[24].Rect.Left, 297);
    // Font: max(11, min(274 div 16 = 17, trunc(405 / 13 × 1.8 / 3 = 18.69))) Arial.
    EXPECT_EQ(l.Boxes[5].FontSize, 17);
    EXPECT_EQ(l.Boxes[5].FontFamily, "Arial");
    // Panel: at Pan_Ove + 3 below SpeedMenu; width 480 − 65 + 15.
    EXPECT_EQ(l.Panel, (PanelRect{163, 40, 430, 274}));
    EXPECT_EQ(l.LabelCount, 2);
    EXPECT_EQ(l.LabelCentreX[0], 222);
    EXPECT_EQ(l.LabelCentreX[1], 303);
    EXPECT_EQ(l.LabelTop, 0);
    for (bool shown : l.BevelShown)
        EXPECT_FALSE(shown);

    // Option groups at 163 + 430 − 2 = 591, 200 wide, stacked up from the panel's bottom 314.
    const OptionGroupLayout& o = l.Options;
    EXPECT_EQ(o.RadioAfspil, (PanelRect{591, 263, 200, 51}));    // (274 div 16) × 3
    EXPECT_EQ(o.GroupGrundtone, (PanelRect{591, 218, 200, 45})); // 274 div 6
    EXPECT_EQ(o.RadioOmfang, (PanelRect{591, 179, 200, 39}));    // 274 div 7
    EXPECT_EQ(o.RadioOpNed, (PanelRect{591, 140, 200, 39}));
    EXPECT_EQ(o.GroupKvalitet, (PanelRect{591, 40, 160, 76})); // (274 div 14) × 4
    EXPECT_EQ(o.KvalitetBoxes.size(), 3u);
    EXPECT_EQ(o.KvalitetFontSize, 11);
    EXPECT_EQ(o.ComboGrundtone.Top, 15);
    EXPECT_EQ(o.ComboGrundtone.Width, 100);

    PanelLayoutInput disabled = window800(1, 36, 13);
    disabled.OpNedEnabled = false;
    EXPECT_EQ(ComputePanelLayout(disabled).Options.RadioOpNed, (PanelRect{591, 179, 200, 0}));
}

TEST(PanelGeometry, NearestTakesHalvesToTheEvenNeighbour) {
    EXPECT_EQ(Nearest(62.5), 62);
    EXPECT_EQ(Nearest(63.5), 64);
    EXPECT_EQ(Nearest(-2.5), -2);
    EXPECT_EQ(Trunc(-2.7), -2);
    // colW = 100: nearest(100 / 1.6 = 62.5) = 62, so column 2 starts at 62 + 100 + 5.
    const PanelLayout l = ComputePanelLayout(window800(1, 36, 10));
    EXPECT_EQ(l.Boxes[12].Rect.Left, 167);
    EXPECT_EQ(l.Boxes[24].Rect.Left, 229);
}

TEST(PanelGeometry, InversionsIn800x600FiveColumnsWithTheLineAndTheLabels) {
    // rows 7, cols 5, colW 80, pitch 274 div 8 = 34; width 100 + 30 + 400 = 530, W = 500.
    const PanelLayout l = ComputePanelLayout(window800(4, 35, 8));
    EXPECT_EQ(l.Cols, 5);
    EXPECT_EQ(l.Pitch, 34);
    EXPECT_EQ(l.Boxes[0].Rect, (PanelRect{15, 34, 87, 17})); // trunc(100 × 0.875)
    EXPECT_EQ(l.Boxes[6].Rect, (PanelRect{15, 238, 87, 17}));
    EXPECT_EQ(l.Boxes[7].Rect, (PanelRect{135, 34, 87, 17})); // nearest(40 + 15 + 80)
    EXPECT_EQ(l.Boxes[27].Rect, (PanelRect{295, 238, 87, 17}));
    EXPECT_EQ(l.Boxes[28].Rect, (PanelRect{375, 34, 20, 17})); // boxes past 27: 20 wide
    EXPECT_FALSE(l.Boxes[10].CaptionLeft);
    // Font: max(11, min(274 div 11 = 24, trunc(415 / 8 × 1.8 / 5 = 18.68))) = 18.
    EXPECT_EQ(l.Boxes[0].FontSize, 18);
    EXPECT_EQ(l.LabelCount, 4);
    EXPECT_EQ(l.LabelTop, 34 - 11) << "one (8-point) font height above box 0";
    EXPECT_EQ(FontPixelHeight(8), 11);
    EXPECT_EQ(FontPixelHeight(18), 24);
    EXPECT_EQ(l.LabelCentreX, (std::array<int, 4>{141, 221, 301, 381}));
    EXPECT_EQ(l.Panel.Width, 5 * 80 + 30 - 20 + 15);
    EXPECT_TRUE(l.BevelShown[0]);
    EXPECT_EQ(l.Bevels[0], (PanelRect{107, 34, 1, 244}));
    EXPECT_FALSE(l.BevelShown[1]);
}

TEST(PanelGeometry, ScaleBracketsChordAndProgressionColumns) {
    // Scales: rows 14, cols 2, colW 200, pitch 274 div 15 = 18.
    const PanelLayout s = ComputePanelLayout(window800(2, 28, 20));
    EXPECT_EQ(s.Boxes[14].Rect, (PanelRect{235, 18, 192, 17}));
    EXPECT_EQ(s.Panel.Width, 470);
    EXPECT_EQ(s.Bevels[0], (PanelRect{8, 23, 14, 115}));
    EXPECT_EQ(s.Bevels[1], (PanelRect{8, 149, 14, 115}));
    EXPECT_EQ(s.Bevels[2], (PanelRect{228, 23, 14, 115}));
    EXPECT_EQ(s.Bevels[3], (PanelRect{228, 149, 14, 61}));
    EXPECT_EQ(s.Bevels[4], (PanelRect{228, 221, 14, 43}));

    // Chords: rows 12, cols 4, colW 150; width 80 + 30 + 600 = 710; 45 and 46 wider.
    const PanelLayout c = ComputePanelLayout(window800(3, 48, 15));
    EXPECT_EQ(c.Boxes[12].Rect.Left, 185);
    EXPECT_EQ(c.Boxes[44].Rect.Width, 148); // trunc(680 / 4 × 0.875)
    EXPECT_EQ(c.Boxes[45].Rect.Width, 195); // trunc(710 / 4 × 1.1)
    EXPECT_EQ(c.Panel.Width, 710 + 16);

    // Progressions: columns at (800 div 75) × 0, 10, 27 + 15; font Arial up to 820 wide.
    const PanelLayout p = ComputePanelLayout(window800(5, 48, 14));
    EXPECT_EQ(p.Pitch, 16);
    EXPECT_EQ(p.Boxes[0].Rect, (PanelRect{15, 16, 100, 17}));
    EXPECT_EQ(p.Boxes[16].Rect, (PanelRect{115, 16, 170, 17}));
    EXPECT_EQ(p.Boxes[47].Rect, (PanelRect{285, 256, 220, 17}));
    EXPECT_EQ(p.Boxes[0].FontFamily, "Arial");
    EXPECT_EQ(p.Boxes[0].FontSize, 13);
    EXPECT_EQ(p.Panel.Width, 510 + 15);
    EXPECT_EQ(p.Options.GroupKadence, (PanelRect{163 + 525 - 2, 218 - 68, 200, 68}));
    PanelLayoutInput wide = window800(5, 48, 14);
    wide.WindowWidth = 1024;
    EXPECT_EQ(ComputePanelLayout(wide).Boxes[0].FontFamily, "Times");
    EXPECT_EQ(ComputePanelLayout(wide).Boxes[0].FontSize, 13); // max(12, min(13, 14))
}

TEST(PanelGeometry, RhythmHasItsFixedBoxesCentredRightOfTheExercisePanel) {
    const PanelLayout r = ComputePanelLayout(window800(7, 12, 0));
    // Staff top 600 − 120 − 16 − 150 = 314: left 160 + (640 − 345) div 2, top 40 + 90 div 2.
    EXPECT_EQ(r.Panel, (PanelRect{307, 85, 345, 184}));
    EXPECT_EQ(r.PanelFontSize, 10);
    ASSERT_EQ(r.Boxes.size(), 12u);
    EXPECT_EQ(r.Boxes[0].Rect, (PanelRect{65, 56, 16, 17}));
    EXPECT_EQ(r.Boxes[4].Rect, (PanelRect{161, 56, 16, 17}));
    EXPECT_EQ(r.Boxes[5].Rect, (PanelRect{89, 74, 16, 17}));
    EXPECT_EQ(r.Boxes[5].FontSize, 6);
    EXPECT_EQ(r.Boxes[11].Rect, (PanelRect{220, 75, 120, 17}));
    EXPECT_EQ(r.Boxes[11].FontSize, 9);
    EXPECT_EQ(r.PanRytmeTop, 93);
    EXPECT_TRUE(r.RhythmPicturesShown);
    EXPECT_FALSE(ComputePanelLayout(window800(7, 12, 0), true).RhythmPicturesShown);
    EXPECT_TRUE(ComputePanelLayout(window800(6, 0, 0)).Boxes.empty()) << "melodies: no panel";
}

TEST_F(AnswerPanelTest, EarDoProblemGroupMovesThePanelItsBoxesLabelsAndBrackets) {
    select(4);
    const PanelLayout l = panel->EarDoProblemGroup(window800(0, 0, 0));
    EXPECT_EQ(l.Module, 4);
    EXPECT_EQ(l.ColW, 80) << "inversions use 8 characters";
    EXPECT_EQ(panel->geometry(), QRect(l.Panel.Left, l.Panel.Top, l.Panel.Width, l.Panel.Height));
    // Box 7 stands where the layout puts it, ends before the next column of its row, and
    // every caption takes one font no larger than the layout's.
    const PanelRect& b7 = l.Boxes[7].Rect;
    EXPECT_EQ(panel->box(7)->x(), b7.Left);
    EXPECT_LE(panel->box(7)->geometry().right(), l.Boxes[14].Rect.Left);
    EXPECT_GE(panel->box(7)->height(), b7.Height);
    EXPECT_LE(panel->box(7)->font().pointSize(), l.Boxes[7].FontSize);
    for (int i = 0; i < 35; ++i)
        EXPECT_EQ(panel->box(i)->font(), panel->box(0)->font()) << i;
    QLabel* second = panel->LabOktav(2);
    EXPECT_EQ(second->x(), l.LabelCentreX[1] - second->width() / 2);
    EXPECT_LE(second->geometry().bottom(), panel->box(7)->y());
    EXPECT_FALSE(panel->Bevel(2)->isHidden());
    EXPECT_TRUE(panel->Bevel(3)->isHidden());
    EXPECT_EQ(panel->toolTip(), LoadStr(3008));

    select(1);
    EXPECT_TRUE(panel->box(0)->captionLeft());
    EXPECT_FALSE(panel->box(12)->captionLeft());
    EXPECT_TRUE(panel->Bevel(2)->isHidden());

    select(7);
    EXPECT_EQ(panel->geometry(), QRect(307, 85, 345, 184));
    EXPECT_EQ(panel->font().pointSize(), 10);
    EXPECT_FALSE(panel->box(0)->captionLeft());
    EXPECT_TRUE(panel->toolTip().isEmpty());
}

} // namespace
