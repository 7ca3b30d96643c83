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

TEST_F(AnswerPanelTest, PlaceChecksShowsCaptionsAndCountsTheRememberedTicksOfEachModule) {
    // Every third box of every module remembered as ticked. Inversions count only their grid
    // 7..34 without the triads' third inversions 28..30: 9, 12, 15, 18, 21, 24, 27, 33.
    for (int m = 0; m < 7; ++m)
        for (int i = 0; i < 51; i += 3)
            settings.AnswerChecks[m][i] = 1;
    const std::pair<int, int> selectedOf[] = {{1, 12}, {2, 10}, {3, 16}, {4, 8}, {5, 16}, {7, 4}};
    for (const auto& [module, selected] : selectedOf) {
        SCOPED_TRACE(module);
        QSignalSpy layoutRequests(panel.get(), &AnswerPanel::screenLayoutRequested);
        settings.CurrentModule = static_cast<std::uint8_t>(module);
        const int count = kCountOf[module];
        panel->PlaceChecks(QStringLiteral("Caption %1").arg(module), count);
        EXPECT_EQ(panel->title(), QStringLiteral("Caption %1").arg(module));
        EXPECT_EQ(panel->AnswerBoxCount(), count);
        EXPECT_EQ(layoutRequests.count(), 1);
        for (int i = 0; i < 51; ++i) {
            const bool triadThirdInversion = module == 4 && i >= 28 && i <= 30;
            EXPECT_EQ(panel->box(i)->isHidden(), i >= count || triadThirdInversion) << i;
            if (i < count) {
                EXPECT_EQ(ticked(i), i % 3 == 0) << i;
            }
        }
        EXPECT_EQ(panel->SelectedCount(), selected);
    }
}

TEST_F(AnswerPanelTest, CaptionsAreABlankAndTheItemNameInversionGridBlank) {
    const int named[][3] = {{1, 0, 101}, {1, 11, 112}, {2, 27, 157}, {3, 47, 218},
                            {4, 3, 253}, {7, 9, 400},  {7, 11, 404}}; // module, box, string
    for (const auto& [module, box, id] : named) {
        select(module);
        EXPECT_EQ(caption(box), QStringLiteral(" ") + LoadStr(id)) << module << " " << box;
    }
    EXPECT_TRUE(panel->LabOktav(1)->isHidden());
    select(4);
    for (int i = 7; i < 35; ++i)
        EXPECT_EQ(caption(i), QStringLiteral(" ")) << i;
    EXPECT_FALSE(panel->LabOktav(1)->isHidden());
    EXPECT_FALSE(panel->LabOktav(4)->isHidden());
}

// ---------------------------------------------------------------- ticking between tasks

TEST_F(AnswerPanelTest, ClickTicksColoursWritesThroughAndRecounts) {
    select(3);
    const QColor groupColour = panel->palette().color(QPalette::WindowText);
    click(5);
    EXPECT_TRUE(ticked(5) && stored(3, 5));
    EXPECT_EQ(panel->captionColour(5), QColor(255, 255, 255));
    EXPECT_EQ(panel->SelectedCount(), 1);
    click(5);
    EXPECT_FALSE(ticked(5) || stored(3, 5));
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
    for (bool on : {true, false}) { // ticking box 3, then clearing it
        click(3);
        for (int b : {3, 10, 17, 24, 31})
            EXPECT_EQ(ticked(b) && stored(4, b), on) << b;
        EXPECT_EQ(panel->SelectedCount(), on ? 4 : 0) << "box 3 itself is not counted";
    }
    // All seven row switches: 28 grid boxes ticked, of which 28..30 are hidden.
    for (int i = 0; i < 7; ++i)
        click(i);
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
    EXPECT_TRUE(ticked(1) && ticked(15));
    EXPECT_EQ(panel->SelectedCount(), 24);

    // While the panel is hidden a row switch copies nothing.
    click(2);
    panel->hide();
    panel->setBoxTicked(2, true);
    EXPECT_TRUE(stored(4, 2));
    EXPECT_FALSE(ticked(9) || stored(4, 9));
}

TEST_F(AnswerPanelTest, TutorLockTicksAClearedBoxAgainAndNothingElse) {
    settings.AnswerChecks[2][4] = 1;
    select(3);
    panel->setTutorActive(true);
    click(4);
    EXPECT_TRUE(ticked(4) && stored(3, 4));
    panel->setBoxTicked(4, false);
    EXPECT_TRUE(ticked(4));
    // A new tick is not remembered nor counted: nothing but the re-tick happens.
    click(6);
    EXPECT_FALSE(stored(3, 6));
    EXPECT_EQ(panel->SelectedCount(), 1);
    panel->setTutorActive(false);
    click(4);
    EXPECT_FALSE(ticked(4) || stored(3, 4));
}

// ---------------------------------------------------------------- drag selection

TEST_F(AnswerPanelTest, DragFromATickedBoxClearsEveryBoxPassedIncludingTheFirst) {
    for (int i : {0, 1, 2, 3, 6})
        settings.AnswerChecks[0][i] = 1;
    select(1);
    QTest::mousePress(panel->box(0), Qt::LeftButton);
    dragTo(0, 0);
    EXPECT_EQ(panel->DragFill(), 0);
    EXPECT_FALSE(ticked(0)) << "the first box is entered too";
    for (int over = 1; over <= 4; ++over) // box 4 is clear already
        dragTo(0, over);
    QTest::mouseRelease(panel->box(0), Qt::LeftButton);
    EXPECT_EQ(panel->DragFill(), -1);
    for (int i = 0; i <= 4; ++i)
        EXPECT_FALSE(ticked(i) || stored(1, i)) << i;
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
    EXPECT_EQ(panel->focusFirstBox(), panel->box(2)) << "the first box that can take the focus";
    // A resize during the task keeps the task's hint.
    panel->EarDoProblemGroup(window800(0, 0, 0));
    EXPECT_EQ(panel->toolTip(), LoadStr(3011).section('|', 0, 0));

    click(5);
    ASSERT_EQ(answers.count(), 1);
    EXPECT_EQ(answers.at(0).at(0).toInt(), 5);
    EXPECT_TRUE(ticked(5) && stored(1, 5));
    EXPECT_EQ(panel->SelectedCount(), 2);
    // Once the answer is shown, clicks do not answer; no drag during a task.
    panel->setAnswerShown(true);
    click(2);
    EXPECT_EQ(answers.count(), 1);
    EXPECT_TRUE(ticked(2));
    QTest::mousePress(panel->box(2), Qt::LeftButton);
    dragTo(2, 5);
    EXPECT_EQ(panel->DragFill(), -1);
    QTest::mouseRelease(panel->box(2), Qt::LeftButton);

    // A rhythm box answers nothing.
    settings.AnswerChecks[6][2] = 1;
    select(7);
    panel->setAnswerShown(false);
    panel->enableForTask();
    click(2);
    EXPECT_EQ(answers.count(), 1);
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

// ---------------------------------------------------------------- preview

TEST_F(AnswerPanelTest, RightClickAsksForAPreviewBetweenTasksOnly) {
    select(3);
    QSignalSpy previews(panel.get(), &AnswerPanel::previewRequested);
    QTest::mouseClick(panel->box(7), Qt::RightButton);
    ASSERT_EQ(previews.count(), 1);
    EXPECT_EQ(previews.at(0).at(0).toInt(), 7);
    EXPECT_FALSE(ticked(7)) << "a right click ticks nothing";
    panel->setTaskRunning(true);
    QTest::mouseClick(panel->box(7), Qt::RightButton);
    panel->setTaskRunning(false);
    select(7);
    QTest::mouseClick(panel->box(1), Qt::RightButton);
    EXPECT_EQ(previews.count(), 1) << "none during a task, none in rhythm";
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
    int wide = 0;
    while (wide < kChordTypeCount && chordVoicing(chordVoicingRecord(wide, 0)).span() <= 12)
        ++wide;
    ASSERT_LT(wide, kChordTypeCount);
    const int span = chordVoicing(chordVoicingRecord(wide, 0)).span();
    EXPECT_EQ(PreviewRoot(3, wide, 83 - span, r), 83 - span) << "83 itself is allowed";
    EXPECT_EQ(PreviewRoot(3, wide, 84 - span, r), 72 - span);
}

// ---------------------------------------------------------------- interval range

TEST_F(AnswerPanelTest, IntervalRangeShowsHidesAndCaptionsTheOctaveColumns) {
    for (int i : {1, 12, 13, 20, 24, 30})
        settings.AnswerChecks[0][i] = 1;
    select(1);
    // Range 0 ends with the octave, range 1 with two octaves, range 2 with three.
    const int lastBox[] = {12, 24, 35};
    const int selected[] = {2, 5, 6};
    for (int range = 0; range <= 2; ++range) {
        SCOPED_TRACE(range);
        panel->ApplyIntervalRange(range);
        EXPECT_EQ(settings.ExerciseOptions.Range, range);
        for (int i = 12; i <= 35; ++i)
            EXPECT_EQ(panel->box(i)->isHidden(), i > lastBox[range]) << i;
        EXPECT_EQ(panel->LabOktav(1)->isHidden(), range < 1);
        EXPECT_EQ(panel->LabOktav(2)->isHidden(), range < 2);
        EXPECT_EQ(panel->SelectedCount(), selected[range]);
    }
    // The octave is named in range 0 only; beyond it the column labels name the octaves.
    for (int i = 12; i <= 35; ++i)
        EXPECT_EQ(caption(i), QString()) << i;
    panel->ApplyIntervalRange(1);
    EXPECT_EQ(caption(12), QString());
    EXPECT_EQ(caption(13), QStringLiteral(" ") + LoadStr(114));
    panel->ApplyIntervalRange(0);
    EXPECT_EQ(caption(12), QStringLiteral(" ") + LoadStr(113));
    panel->ApplyIntervalRange(2);
    EXPECT_EQ(panel->LabOktav(1)->text(), QStringLiteral("+1 ") + LoadStr(120));
    EXPECT_EQ(panel->LabOktav(2)->text(), QStringLiteral("+2 ") + LoadStr(121));

    // Switching away and back restores the range-2 grid once the range is applied again.
    select(2);
    EXPECT_TRUE(panel->LabOktav(1)->isHidden());
    panel->ApplyIntervalRange(1);
    EXPECT_FALSE(panel->box(25)->isHidden()) << "scale boxes are not touched";
    panel->ApplyIntervalRange(2);
    select(1);
    panel->ApplyIntervalRange(settings.ExerciseOptions.Range);
    EXPECT_EQ(caption(20), QString());
    EXPECT_FALSE(panel->LabOktav(2)->isHidden());
}

// ---------------------------------------------------------------- geometry

// In the 800 × 600 window the panel is H = 600 − 150 − 120 − 16 − 40 = 274 high and a column
// of a name n characters long is colW = (800 div 75) × n wide.
TEST(PanelGeometry, BoxesStandInTheColumnsOfEachModule) {
    struct Case {
        int module, longest, box;
        PanelRect rect;
    };
    const Case cases[] = {
        // Intervals: colW 130, pitch 274 div 13 = 21, width trunc(150 × 0.875); column 2 at
        // nearest(130 / 1.6 = 81.25) + 130 + 5, column 3 at 2 × 81 + 135, narrower by 1.3.
        {1, 13, 0, {15, 21, 131, 17}},
        {1, 13, 23, {216, 252, 131, 17}},
        {1, 13, 35, {297, 252, 101, 17}},
        // colW 100: nearest(100 / 1.6 = 62.5) takes the half to the even neighbour 62.
        {1, 10, 12, {167, 21, 105, 17}},
        {1, 10, 24, {229, 21, 81, 17}},
        // Inversions: colW 80, pitch 274 div 8 = 34, width trunc(100 × 0.875); the second
        // column at nearest(40 + 15 + 80); boxes past 27 are 20 wide.
        {4, 8, 6, {15, 238, 87, 17}},
        {4, 8, 7, {135, 34, 87, 17}},
        {4, 8, 27, {295, 238, 87, 17}},
        {4, 8, 28, {375, 34, 20, 17}},
        // Scales: two columns of 14, colW 200, pitch 274 div 15 = 18.
        {2, 20, 14, {235, 18, 192, 17}},
        // Chords: four columns of 12 at 15 + 680 / 4 apart, width trunc(680 / 4 × 0.875); 45
        // and 46 wider: trunc(710 / 4 × 1.1).
        {3, 15, 12, {185, 21, 148, 17}},
        {3, 15, 45, {525, 210, 195, 17}},
        // Progressions: columns at (800 div 75) × 0, 10, 27 + 15, pitch 16.
        {5, 14, 0, {15, 16, 100, 17}},
        {5, 14, 16, {115, 16, 170, 17}},
        {5, 14, 47, {285, 256, 220, 17}},
        // Rhythm: fixed boxes.
        {7, 0, 0, {65, 56, 16, 17}},
        {7, 0, 4, {161, 56, 16, 17}},
        {7, 0, 5, {89, 74, 16, 17}},
        {7, 0, 11, {220, 75, 120, 17}},
    };
    for (const Case& c : cases) {
        const PanelLayout l =
            ComputePanelLayout(window800(c.module, kCountOf[c.module], c.longest));
        ASSERT_EQ(l.Boxes.size(), std::size_t(kCountOf[c.module])) << c.module;
        EXPECT_EQ(l.Boxes[std::size_t(c.box)].Rect, c.rect) << c.module << " box " << c.box;
    }
    EXPECT_TRUE(ComputePanelLayout(window800(6, 0, 0)).Boxes.empty()) << "melodies: no panel";
}

TEST(PanelGeometry, PanelFontsLabelsAndBracketsOfEachModule) {
    // Intervals: at Pan_Ove + 3 below SpeedMenu, 480 − 65 + 15 wide; captions in
    // max(11, min(274 div 16 = 17, trunc(405 / 13 × 1.8 / 3 = 18.69))) point Arial.
    const PanelLayout iv = ComputePanelLayout(window800(1, 36, 13));
    EXPECT_EQ(iv.Panel, (PanelRect{163, 40, 430, 274}));
    EXPECT_EQ(iv.Boxes[5].FontSize, 17);
    EXPECT_EQ(iv.Boxes[5].FontFamily, "Arial");
    EXPECT_EQ(iv.LabelCount, 2);
    EXPECT_EQ(iv.LabelCentreX[0], 222);
    EXPECT_EQ(iv.LabelCentreX[1], 303);
    EXPECT_EQ(iv.LabelTop, 0);
    for (bool shown : iv.BevelShown)
        EXPECT_FALSE(shown);

    // Inversions: max(11, min(274 div 11 = 24, trunc(415 / 8 × 1.8 / 5 = 18.68))) = 18; the
    // labels one (8-point) font height above box 0; the line after the first column.
    const PanelLayout inv = ComputePanelLayout(window800(4, 35, 8));
    EXPECT_EQ(inv.Panel, (PanelRect{163, 40, 5 * 80 + 30 - 20 + 15, 274}));
    EXPECT_EQ(inv.Boxes[0].FontSize, 18);
    EXPECT_EQ(inv.LabelCount, 4);
    EXPECT_EQ(inv.LabelTop, 34 - 11);
    EXPECT_EQ(FontPixelHeight(8), 11);
    EXPECT_EQ(FontPixelHeight(18), 24);
    EXPECT_EQ(inv.LabelCentreX, (std::array<int, 4>{141, 221, 301, 381}));
    EXPECT_TRUE(inv.BevelShown[0]);
    EXPECT_EQ(inv.Bevels[0], (PanelRect{107, 34, 1, 244}));
    EXPECT_FALSE(inv.BevelShown[1]);

    // Scales: brackets over the modes' groups.
    const PanelLayout s = ComputePanelLayout(window800(2, 28, 20));
    EXPECT_EQ(s.Panel.Width, 470);
    const PanelRect brackets[] = {{8, 23, 14, 115},
                                  {8, 149, 14, 115},
                                  {228, 23, 14, 115},
                                  {228, 149, 14, 61},
                                  {228, 221, 14, 43}};
    for (std::size_t k = 0; k < 5; ++k)
        EXPECT_EQ(s.Bevels[k], brackets[k]) << k;

    EXPECT_EQ(ComputePanelLayout(window800(3, 48, 15)).Panel.Width, 710 + 16);

    // Progressions: Arial up to 820 wide, then Times max(12, min(13, 14)).
    const PanelLayout p = ComputePanelLayout(window800(5, 48, 14));
    EXPECT_EQ(p.Boxes[0].FontFamily, "Arial");
    EXPECT_EQ(p.Boxes[0].FontSize, 13);
    EXPECT_EQ(p.Panel.Width, 510 + 15);
    EXPECT_EQ(p.Options.GroupKadence, (PanelRect{163 + 525 - 2, 218 - 68, 200, 68}));
    PanelLayoutInput wide = window800(5, 48, 14);
    wide.WindowWidth = 1024;
    EXPECT_EQ(ComputePanelLayout(wide).Boxes[0].FontFamily, "Times");
    EXPECT_EQ(ComputePanelLayout(wide).Boxes[0].FontSize, 13);

    // Rhythm: staff top 600 − 120 − 16 − 150 = 314; left 160 + (640 − 345) div 2, top
    // 40 + 90 div 2.
    const PanelLayout r = ComputePanelLayout(window800(7, 12, 0));
    EXPECT_EQ(r.Panel, (PanelRect{307, 85, 345, 184}));
    EXPECT_EQ(r.PanelFontSize, 10);
    EXPECT_EQ(r.Boxes[5].FontSize, 6);
    EXPECT_EQ(r.Boxes[11].FontSize, 9);
    EXPECT_EQ(r.PanRytmeTop, 93);
    EXPECT_TRUE(r.RhythmPicturesShown);
    EXPECT_FALSE(ComputePanelLayout(window800(7, 12, 0), true).RhythmPicturesShown);
}

TEST(PanelGeometry, OptionGroupsStackUpFromThePanelsBottom) {
    // At 163 + 430 − 2 = 591, 200 wide, from the panel's bottom 314 upwards.
    const OptionGroupLayout o = ComputePanelLayout(window800(1, 36, 13)).Options;
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

TEST_F(AnswerPanelTest, EarDoProblemGroupMovesThePanelItsBoxesLabelsAndBrackets) {
    select(4);
    const PanelLayout l = panel->EarDoProblemGroup(window800(0, 0, 0));
    EXPECT_EQ(l.ColW, 80) << "the module's own names, 8 characters";
    EXPECT_EQ(panel->geometry(), QRect(l.Panel.Left, l.Panel.Top, l.Panel.Width, l.Panel.Height));
    // Box 7 stands where the layout puts it, ends before the next column of its row, and
    // every caption takes one font no larger than the layout's.
    EXPECT_EQ(panel->box(7)->x(), l.Boxes[7].Rect.Left);
    EXPECT_LE(panel->box(7)->geometry().right(), l.Boxes[14].Rect.Left);
    EXPECT_GE(panel->box(7)->height(), l.Boxes[7].Rect.Height);
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
