#include "app/exercise_options.h"
#include "app/module_buttons.h"
#include "app/module_table.h"
#include "app/tempo.h"
#include "userdata/strings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <array>
#include <numeric>
#include <vector>

using namespace harmik;

namespace {

// The answer boxes as the answer panel keeps them: one tick per box.
struct AnswerTicks {
    std::array<bool, 51> ticked{};
    ExerciseOptionsPanel::TickBox callback() {
        return [this](int i, bool t) { ticked.at(static_cast<std::size_t>(i)) = t; };
    }
    std::vector<int> tickedBoxes() const {
        std::vector<int> out;
        for (int i = 0; i < 51; ++i)
            if (ticked[static_cast<std::size_t>(i)])
                out.push_back(i);
        return out;
    }
};

class OptionsPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings.CurrentModule = 1;
        panel.setTickBox(answers.callback());
    }
    void enterModule(int m) {
        settings.CurrentModule = static_cast<std::uint8_t>(m);
        panel.applyModule(m);
    }

    SettingsRecord settings = DefaultSettings();
    QWidget window;
    ExerciseOptionsPanel panel{settings, &window};
    AnswerTicks answers;
};

TEST(ModuleTable, EveryGroupSetStaysWithinItsModulesBoxes) {
    for (int m = 1; m <= 7; ++m)
        for (int g = 1; g <= kItemGroupCount; ++g)
            for (int box : ItemGroupBoxes(m, g))
                EXPECT_LT(box, ModuleEntry(m).answerBoxCount) << "module " << m << " group " << g;
    // The three progression lengths split the 48 progressions without overlap.
    std::vector<int> all, expected(48);
    for (int g = 1; g <= 3; ++g)
        for (int box : ItemGroupBoxes(5, g))
            all.push_back(box);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(all, expected);
    EXPECT_TRUE(ItemGroupBoxes(4, 1).empty());
    EXPECT_TRUE(ItemGroupBoxes(6, 1).empty());
}

TEST(ModuleTable, ScreenOfIntervalsScalesMelodiesAndRhythm) {
    const ModuleScreenSetup iv = DescribeModuleScreen(1, 0, 0);
    EXPECT_EQ(iv.answerCaption, QStringLiteral("Инт&ервалы"));
    EXPECT_EQ(iv.answerBoxCount, 36);
    EXPECT_EQ(iv.staffCursor, 5);
    EXPECT_EQ(iv.staffHintId, 3035);
    EXPECT_TRUE(iv.visible.GroupKvalitet && iv.visible.RadioOpNed && iv.visible.RadioOmfang);
    EXPECT_TRUE(iv.visible.GroupGrundtone && iv.visible.RadioAfspil && iv.visible.Group_Problem);
    EXPECT_FALSE(iv.visible.GroupBelig || iv.visible.GroupKadence || iv.visible.GroupMelodi);
    EXPECT_EQ(iv.itemGroupCount, 3);
    EXPECT_EQ(iv.itemGroupCaptions[1], QStringLiteral("Консонанс"));
    EXPECT_EQ(iv.RootNote, 60);

    // Scales have group captions but show no group box.
    const ModuleScreenSetup sc = DescribeModuleScreen(2, 4, 0);
    EXPECT_EQ(sc.helpContext, 12);
    EXPECT_EQ(sc.staffCursor, 6);
    EXPECT_FALSE(sc.visible.GroupKvalitet);
    EXPECT_EQ(sc.itemGroupCount, 0);
    EXPECT_EQ(sc.RootNote, 64);
    EXPECT_FALSE(sc.RandomRoot);

    const ModuleScreenSetup mel = DescribeModuleScreen(6, 12, 0);
    EXPECT_EQ(mel.caption, QStringLiteral(" H A R M I K - Мелодии"));
    EXPECT_EQ(mel.helpContext, 15);
    EXPECT_FALSE(mel.hasAnswerPanel);
    EXPECT_FALSE(mel.visible.Group_Problem || mel.visible.GroupGrundtone);
    EXPECT_TRUE(mel.visible.GroupMelodi && mel.visible.GroupKadence && mel.visible.BitBtnKvint);
    EXPECT_EQ(mel.kvintUpHintId, 3205);
    EXPECT_EQ(mel.RootNote, 72);
    EXPECT_TRUE(mel.RandomRoot);

    const ModuleScreenSetup rh = DescribeModuleScreen(7, 0, 0);
    EXPECT_EQ(rh.staffHintId, 3036);
    EXPECT_EQ(rh.answerBoxCount, 12);
    EXPECT_TRUE(rh.visible.RhythmPanel && rh.visible.BitBtnKvint && rh.visible.Group_Problem);
    EXPECT_FALSE(rh.visible.GroupGrundtone || rh.visible.RadioAfspil || rh.visible.GroupKadence);
    EXPECT_EQ(rh.kvintDownHintId, 448);
}

TEST(ModuleTable, ColumnLabelsOfInversionsAndIntervalRanges) {
    const ModuleScreenSetup inv = DescribeModuleScreen(4, 0, 2);
    EXPECT_EQ(inv.labOktavVisible, (std::array<bool, 4>{true, true, true, true}));
    EXPECT_EQ(inv.labOktavText[0], QStringLiteral("1. обращ."));
    EXPECT_EQ(inv.labOktavText[3], QStringLiteral("4. обращ."));
    EXPECT_FALSE(inv.visible.GroupKvalitet);

    const bool lab1ByRange[3] = {false, true, true};
    const bool lab2ByRange[3] = {false, false, true};
    for (int range = 0; range < 3; ++range) {
        const ModuleScreenSetup iv = DescribeModuleScreen(1, 0, range);
        EXPECT_EQ(iv.labOktavVisible[0], lab1ByRange[range]) << range;
        EXPECT_EQ(iv.labOktavVisible[1], lab2ByRange[range]) << range;
        EXPECT_FALSE(iv.labOktavVisible[2]);
        EXPECT_EQ(iv.labOktavText[0], QStringLiteral("+1 Диапазон"));
        EXPECT_EQ(iv.labOktavText[1], QStringLiteral("+2 Октавы"));
    }
    EXPECT_FALSE(DescribeModuleScreen(3, 0, 2).labOktavVisible[0]);
}

TEST_F(OptionsPanelTest, DiatonicGroupTicksAndClearsExactlyItsIntervals) {
    enterModule(1);
    answers.ticked[1] = true; // a minor second, ticked by hand, outside the group
    panel.CheckKval(1)->click();
    EXPECT_EQ(answers.tickedBoxes(), (std::vector<int>{0, 1, 5, 7, 12, 17, 19, 24, 29, 31}));
    panel.CheckKval(1)->click();
    EXPECT_EQ(answers.tickedBoxes(), (std::vector<int>{1}));
}

TEST_F(OptionsPanelTest, ProgressionLengthsExcludeEachOther) {
    enterModule(5);
    panel.CheckKval(1)->click();
    answers.ticked[40] = true; // one four-chord progression ticked by hand
    panel.CheckKval(2)->click();
    EXPECT_FALSE(panel.CheckKval(1)->isChecked());
    EXPECT_TRUE(panel.CheckKval(2)->isChecked());
    std::vector<int> expected(12);
    std::iota(expected.begin(), expected.end(), 24);
    expected.push_back(40); // its group box was never ticked, so nothing clears it
    EXPECT_EQ(answers.tickedBoxes(), expected);

    panel.CheckKval(3)->click();
    EXPECT_FALSE(panel.CheckKval(2)->isChecked());
    EXPECT_EQ(answers.tickedBoxes().front(), 36);
    EXPECT_EQ(answers.tickedBoxes().size(), 12u);

    // Clearing a group leaves the other group boxes alone.
    panel.CheckKval(3)->click();
    EXPECT_TRUE(answers.tickedBoxes().empty());
}

TEST_F(OptionsPanelTest, ChordGroupsOverlapWithoutExcludingEachOther) {
    enterModule(3);
    panel.CheckKval(1)->click();
    panel.CheckKval(2)->click();
    EXPECT_TRUE(panel.CheckKval(1)->isChecked());
    EXPECT_EQ(answers.tickedBoxes().size(), 12u);
}

TEST_F(OptionsPanelTest, SwitchingModuleShowsItsGroupsAndClearsGroupBoxes) {
    enterModule(1);
    panel.CheckKval(2)->click();
    enterModule(3);
    EXPECT_FALSE(panel.CheckKval(2)->isChecked());
    EXPECT_FALSE(panel.GroupKvalitet()->isHidden());
    EXPECT_FALSE(panel.CheckKval(4)->isHidden());
    EXPECT_TRUE(panel.CheckKval(5)->isHidden());
    EXPECT_EQ(panel.CheckKval(4)->text(), QStringLiteral("Альтер."));
    EXPECT_EQ(panel.GroupKvalitet()->property("Tag").toInt(), 4);
    EXPECT_FALSE(panel.GroupBelig()->isHidden());
    EXPECT_TRUE(panel.RadioOpNed()->isHidden());
    EXPECT_TRUE(panel.GroupKadence()->isHidden());

    panel.ComboGrundtone()->setCurrentIndex(7);
    enterModule(5);
    EXPECT_EQ(int(settings.ExerciseOptions.RootNote), 67);
    EXPECT_FALSE(panel.GroupKadence()->isHidden());
    EXPECT_TRUE(panel.GroupBelig()->isHidden());

    enterModule(7);
    EXPECT_TRUE(panel.GroupKvalitet()->isHidden());
    EXPECT_TRUE(panel.GroupGrundtone()->isHidden());
    EXPECT_TRUE(panel.RadioAfspil()->isHidden());
}

TEST_F(OptionsPanelTest, SpeakerOnlyPlaysOneNoteAtATime) {
    panel.RadioAfspil()->item(0)->click();
    EXPECT_EQ(int(settings.ExerciseOptions.PlayMode), 0);
    panel.PlayStyleButton(1)->click();
    EXPECT_EQ(int(settings.ExerciseOptions.PlayStyle), 1);

    settings.PcSpeakerOnly = 1;
    panel.RadioAfspil()->item(0)->click();
    EXPECT_EQ(int(settings.ExerciseOptions.PlayMode), 1);
    EXPECT_TRUE(panel.RadioAfspil()->item(1)->isChecked());
    panel.RadioAfspil()->item(2)->click();
    EXPECT_EQ(int(settings.ExerciseOptions.PlayMode), 1);

    for (int tag : {0, 1, 3, 4}) {
        panel.PlayStyleButton(tag)->click();
        EXPECT_EQ(int(settings.ExerciseOptions.PlayStyle), 2) << tag;
        EXPECT_TRUE(panel.PlayStyleButton(2)->isChecked()) << tag;
    }
    panel.PlayStyleButton(5)->click();
    EXPECT_EQ(int(settings.ExerciseOptions.PlayStyle), 5);

    // Switching the speaker on corrects the stored choices.
    settings.PcSpeakerOnly = 0;
    panel.RadioAfspilClick(0);
    panel.RadioKlassiskClick(4);
    settings.PcSpeakerOnly = 1;
    panel.ApplyPcSpeakerRule();
    EXPECT_EQ(int(settings.ExerciseOptions.PlayMode), 1);
    EXPECT_EQ(int(settings.ExerciseOptions.PlayStyle), 2);
}

TEST_F(OptionsPanelTest, RightPressOnAPlayStyleAsksForAPreviewWithoutChoosingIt) {
    panel.RadioKlassiskClick(5);
    QSignalSpy preview(&panel, &ExerciseOptionsPanel::playStylePreviewRequested);
    QTest::mousePress(panel.PlayStyleButton(3), Qt::RightButton);
    ASSERT_EQ(preview.count(), 1);
    EXPECT_EQ(preview.at(0).at(0).toInt(), 3);
    EXPECT_EQ(int(settings.ExerciseOptions.PlayStyle), 5);
    EXPECT_TRUE(panel.PlayStyleButton(5)->isChecked());
}

TEST_F(OptionsPanelTest, OptionClicksWriteTheSettings) {
    QSignalSpy range(&panel, &ExerciseOptionsPanel::rangeChanged);
    panel.RadioOmfang()->item(2)->click();
    EXPECT_EQ(int(settings.ExerciseOptions.Range), 2);
    ASSERT_EQ(range.count(), 1);
    EXPECT_EQ(range.at(0).at(0).toInt(), 2);

    panel.RadioOpNed()->item(1)->click();
    EXPECT_EQ(int(settings.ExerciseOptions.Direction), 1);
    panel.CheckBelig()->click();
    EXPECT_EQ(int(settings.ExerciseOptions.Belig), 1);

    QSignalSpy root(&panel, &ExerciseOptionsPanel::rootNoteChanged);
    panel.ComboGrundtoneChange(12);
    EXPECT_EQ(int(settings.ExerciseOptions.RootNote), 72);
    EXPECT_TRUE(panel.randomRoot());
    panel.ComboGrundtoneChange(11);
    EXPECT_EQ(int(settings.ExerciseOptions.RootNote), 71);
    EXPECT_FALSE(panel.randomRoot());
    EXPECT_EQ(root.count(), 2);
}

TEST_F(OptionsPanelTest, LoadedRecordShowsInTheControls) {
    settings.ExerciseOptions.RootNote = 72;
    settings.ExerciseOptions.Direction = 2;
    settings.ExerciseOptions.Range = 1;
    settings.ExerciseOptions.PlayMode = 0;
    settings.ExerciseOptions.Belig = 1;
    settings.ExerciseOptions.PlayStyle = 3;
    QSignalSpy range(&panel, &ExerciseOptionsPanel::rangeChanged);
    panel.ApplyLoadedSettings();
    EXPECT_EQ(panel.ComboGrundtone()->currentIndex(), 12);
    EXPECT_TRUE(panel.randomRoot());
    EXPECT_TRUE(panel.RadioOpNed()->item(2)->isChecked());
    EXPECT_TRUE(panel.RadioOmfang()->item(1)->isChecked());
    EXPECT_EQ(range.count(), 1);
    EXPECT_TRUE(panel.RadioAfspil()->item(0)->isChecked());
    EXPECT_TRUE(panel.CheckBelig()->isChecked());
    EXPECT_TRUE(panel.PlayStyleButton(3)->isChecked());

    // A melody tonic below the root list's octave selects its pitch class; the note stays.
    settings.ExerciseOptions.RootNote = 55;
    settings.ExerciseOptions.Direction = 9; // out of range in a damaged file
    panel.ApplyLoadedSettings();
    EXPECT_EQ(panel.ComboGrundtone()->currentIndex(), 7);
    EXPECT_EQ(int(settings.ExerciseOptions.RootNote), 55);
    EXPECT_FALSE(panel.randomRoot());
    EXPECT_EQ(int(settings.ExerciseOptions.Direction), 0);
}

TEST_F(OptionsPanelTest, GermanNamingRenamesTheRootListsB) {
    EXPECT_EQ(panel.ComboGrundtone()->itemText(11), QStringLiteral("B"));
    panel.SetGermanNaming(true);
    EXPECT_EQ(panel.ComboGrundtone()->itemText(11), QStringLiteral("H"));
    EXPECT_EQ(panel.ComboGrundtone()->itemText(10), QStringLiteral("Bb"));
    panel.SetGermanNaming(false);
    EXPECT_EQ(panel.ComboGrundtone()->itemText(11), QStringLiteral("B"));
}

TEST(TempoRules, TypedTempoIsRoundedDownAndLimited) {
    // {typed, rhythm's limit of 300, stored}
    const int cases[][3] = {{9, 0, 10},    {-40, 0, 10},  {11, 0, 10},   {199, 0, 198},
                            {201, 0, 200}, {203, 0, 200}, {209, 0, 205}, {999, 0, 800},
                            {999, 1, 300}, {304, 1, 300}, {299, 1, 295}};
    for (const auto& [typed, rhythm, stored] : cases)
        EXPECT_EQ(TypedTempo(typed, rhythm != 0), stored) << typed << " " << rhythm;
    EXPECT_EQ(TypedRhythmTempo(5), 30);
    EXPECT_EQ(TypedRhythmTempo(10), 10);
    EXPECT_EQ(TypedRhythmTempo(999), 300);
    EXPECT_EQ(TypedRhythmTempo(203), 200);
}

TEST(TempoRules, StepsGoByTwoBelowTwoHundredAndByFiveAbove) {
    std::vector<int> up{198};
    for (int k = 0; k < 3; ++k)
        up.push_back(TempoStepUp(up.back(), false));
    EXPECT_EQ(up, (std::vector<int>{198, 200, 205, 210}));
    std::vector<int> down{210};
    for (int k = 0; k < 3; ++k)
        down.push_back(TempoStepDown(down.back()));
    EXPECT_EQ(down, (std::vector<int>{210, 205, 200, 198}));

    // At the ends: 798 is off the grid and still goes no further than the top.
    const int ups[][3] = {
        {795, 0, 800}, {800, 0, 800}, {798, 0, 800}, {300, 1, 300}, {295, 1, 300}};
    for (const auto& [from, rhythm, to] : ups)
        EXPECT_EQ(TempoStepUp(from, rhythm != 0), to) << from;
    for (const auto& [from, to] : {std::pair{12, 10}, std::pair{11, 11}, std::pair{10, 10}})
        EXPECT_EQ(TempoStepDown(from), to) << from;
}

class TempoFieldsTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings.CurrentModule = 1;
        tempo.attach(&editTempo, &editTempo2, &spin);
    }
    void typeInto(QLineEdit& field, const char* text) {
        field.clear();
        QTest::keyClicks(&field, QString::fromLatin1(text));
        QTest::keyClick(&field, Qt::Key_Return);
    }
    int tempoOf(int m) const { return settings.ExerciseOptions.Tempo[m - 1]; }

    SettingsRecord settings = DefaultSettings();
    QWidget window;
    QLineEdit editTempo{&window};
    QLineEdit editTempo2{&window};
    TempoSpinButtons spin{&window};
    TempoFields tempo{settings};
};

TEST_F(TempoFieldsTest, TypingIntoTheTempoFieldStoresTheCurrentModulesTempo) {
    QSignalSpy touched(&tempo, &TempoFields::soundPanelTouched);
    typeInto(editTempo, "9");
    EXPECT_EQ(tempoOf(1), 10);
    EXPECT_EQ(editTempo.text(), QStringLiteral("10"));
    EXPECT_GE(touched.count(), 2); // typing and leaving the field

    typeInto(editTempo, "999");
    EXPECT_EQ(tempoOf(1), 800);
    EXPECT_EQ(tempoOf(2), 100);

    settings.CurrentModule = 7;
    typeInto(editTempo, "999");
    EXPECT_EQ(tempoOf(7), 300);
    EXPECT_EQ(editTempo2.text(), QStringLiteral("300"));

    // Nothing typed: the tempo stays and shows again.
    typeInto(editTempo, "");
    EXPECT_EQ(tempoOf(7), 300);
    EXPECT_EQ(editTempo.text(), QStringLiteral("300"));
}

TEST_F(TempoFieldsTest, RhythmFieldKeepsTheSoundPanelCountdown) {
    settings.CurrentModule = 7;
    QSignalSpy touched(&tempo, &TempoFields::soundPanelTouched);
    typeInto(editTempo2, "5");
    EXPECT_EQ(tempoOf(7), 30);
    EXPECT_EQ(editTempo.text(), QStringLiteral("30"));
    EXPECT_EQ(editTempo2.text(), QStringLiteral("30"));
    EXPECT_EQ(touched.count(), 0);
}

TEST_F(TempoFieldsTest, SpinButtonsStepTheCurrentModule) {
    settings.ExerciseOptions.Tempo[2] = 198;
    settings.CurrentModule = 3;
    QSignalSpy touched(&tempo, &TempoFields::soundPanelTouched);
    spin.upButton()->click();
    spin.upButton()->click();
    EXPECT_EQ(tempoOf(3), 205);
    EXPECT_EQ(editTempo.text(), QStringLiteral("205"));
    spin.downButton()->click();
    EXPECT_EQ(tempoOf(3), 200);
    EXPECT_EQ(touched.count(), 3);
    EXPECT_EQ(editTempo2.text(), QStringLiteral("80")); // the rhythm module's own tempo

    settings.CurrentModule = 7;
    settings.ExerciseOptions.Tempo[6] = 295;
    tempo.Spin_bpmUpClick();
    tempo.Spin_bpmUpClick();
    EXPECT_EQ(tempoOf(7), 300);
}

class SpeedMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings.CurrentModule = 1;
        menu.pressDown(1);
        // The window switches unless it is told to keep its module.
        QObject::connect(&menu, &SpeedMenu::moduleChosen, [this](int m) {
            if (!refuse)
                settings.CurrentModule = static_cast<std::uint8_t>(m);
        });
    }
    bool refuse = false;
    SettingsRecord settings = DefaultSettings();
    SpeedMenu menu{settings};
};

TEST_F(SpeedMenuTest, ButtonsAskOnlyForAnotherModule) {
    QSignalSpy chosen(&menu, &SpeedMenu::moduleChosen);
    menu.button(1)->click();
    EXPECT_EQ(chosen.count(), 0);
    EXPECT_TRUE(menu.button(1)->isChecked());
    menu.button(4)->click();
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toInt(), 4);
    EXPECT_TRUE(menu.button(4)->isChecked());
    EXPECT_FALSE(menu.button(1)->isChecked());
    EXPECT_FALSE(menu.button(4)->toolTip().isEmpty());

    // The settings loader re-selects the saved module from module 0.
    settings.CurrentModule = 0;
    menu.SpeedIntervalClick();
    EXPECT_EQ(chosen.count(), 2);
    EXPECT_TRUE(menu.button(1)->isChecked());

    // A module the window does not switch to does not stay pressed.
    refuse = true;
    menu.button(6)->click();
    EXPECT_EQ(chosen.count(), 3);
    EXPECT_TRUE(menu.button(1)->isChecked());
    EXPECT_FALSE(menu.button(6)->isChecked());
}

} // namespace
