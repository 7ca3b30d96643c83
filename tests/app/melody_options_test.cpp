#include "app/melody_options.h"
#include "app/module_table.h"
#include "userdata/strings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <utility>

using namespace harmik;

namespace {

constexpr int kMelodies = 6;
constexpr int kRhythm = 7;

class MelodyOptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        enterModule(kMelodies);
        window.show();
    }
    void enterModule(int m) {
        settings.CurrentModule = static_cast<std::uint8_t>(m);
        panel.applyModule(DescribeModuleScreen(m, 0, 0));
    }

    // The user picks entry i from a list's pop-up.
    static void choose(QComboBox* combo, int i) {
        combo->setCurrentIndex(i);
        emit combo->activated(i);
    }
    int rootNote() const { return settings.ExerciseOptions.RootNote; }
    int key() const { return settings.MelodyOptions.Key; }
    int tonality() const { return settings.MelodyOptions.Tonality; }
    int leap() const { return settings.MelodyOptions.Leap; }
    QString label() const { return panel.LabelToneart()->text(); }

    SettingsRecord settings = DefaultSettings();
    QWidget window;
    MelodyOptionsPanel panel{settings, &window};
};

TEST_F(MelodyOptionsTest, LoadedRecordShowsItsOptionsAndWaitsForTheTonalityChange) {
    MelodyOptionsRecord& o = settings.MelodyOptions;
    o.Key = 2;
    o.Tonality = 3;
    o.Leap = 4;
    o.NoteCount = 9;
    o.PrimaVista = 1;
    o.ShowStartNote = 1;
    settings.ExerciseOptions.RootNote = 62;

    panel.ApplyLoadedSettings();
    EXPECT_EQ(panel.ComboToneart()->currentIndex(), 2);
    EXPECT_EQ(panel.ComboTonalitet()->currentIndex(), 3);
    EXPECT_EQ(tonality(), kTonalityNotApplied);
    EXPECT_EQ(panel.ComboSpring()->currentIndex(), 3);
    EXPECT_EQ(panel.ComboToner()->currentIndex(), 4);
    EXPECT_TRUE(panel.CheckPrimaVista()->isChecked());
    EXPECT_TRUE(panel.CheckVisStartTone()->isChecked());

    QSignalSpy keyChanged(&panel, &MelodyOptionsPanel::keyChanged);
    panel.ComboTonalitetChange();
    EXPECT_EQ(tonality(), 3);
    EXPECT_EQ(key(), 2);
    EXPECT_EQ(leap(), 4);
    EXPECT_EQ(panel.ComboSpring()->currentIndex(), 3);
    EXPECT_EQ(label(), QStringLiteral("D ") + LoadStr(172));
    EXPECT_EQ(keyChanged.count(), 1);
    // D harmonic minor: one flat, and its seventh (C) raised.
    EXPECT_EQ(panel.keyState().signatureKey, 5);
    EXPECT_EQ(panel.keyState().stepAccidentals[0], kSharpCode);
}

TEST_F(MelodyOptionsTest, DamagedRecordShowsFirstOrNearestEntries) {
    MelodyOptionsRecord& o = settings.MelodyOptions;
    o.Key = 40;
    o.Tonality = kTonalityNotApplied; // saved before a tonality change ran
    o.Leap = 0;
    o.NoteCount = 200;
    panel.ApplyLoadedSettings();
    EXPECT_EQ(panel.ComboToneart()->currentIndex(), 0);
    EXPECT_EQ(panel.ComboTonalitet()->currentIndex(), 0);
    EXPECT_EQ(panel.ComboSpring()->currentIndex(), 0);
    EXPECT_EQ(panel.ComboToner()->currentIndex(), 7);
    EXPECT_EQ(NoteCountItemFor(10), 4); // an even count shows the odd one below
    panel.ComboTonalitetChange();
    EXPECT_EQ(tonality(), 0);
    EXPECT_EQ(leap(), 1);
}

TEST_F(MelodyOptionsTest, KeyListPlacesTheTonicBelowE) {
    QSignalSpy keyChanged(&panel, &MelodyOptionsPanel::keyChanged);
    for (const auto& [item, tonic] : {std::pair{4, 52}, std::pair{11, 59}}) {
        choose(panel.ComboToneart(), item);
        EXPECT_EQ(key(), item);
        EXPECT_EQ(rootNote(), tonic) << "item " << item;
    }
    EXPECT_EQ(keyChanged.count(), 2);
    EXPECT_EQ(label(), QStringLiteral("B ") + LoadStr(171));
}

TEST_F(MelodyOptionsTest, FifthButtonsWrapAtTheirOwnPoints) {
    settings.ExerciseOptions.RootNote = 60;
    panel.ComboTonalitetChange();

    QTest::mouseClick(panel.BitBtnKvintOp(), Qt::LeftButton);
    EXPECT_EQ(key(), 7);
    EXPECT_EQ(rootNote(), 55); // 67 is 64 or more
    EXPECT_EQ(panel.ComboToneart()->currentIndex(), 7);
    EXPECT_EQ(label(), QStringLiteral("G ") + LoadStr(171));

    QTest::mouseClick(panel.BitBtnKvintNed(), Qt::LeftButton);
    EXPECT_EQ(key(), 0);
    EXPECT_EQ(rootNote(), 60); // 48 + 12
    QTest::mouseClick(panel.BitBtnKvintNed(), Qt::LeftButton);
    EXPECT_EQ(key(), 5);
    EXPECT_EQ(rootNote(), 65); // 53 is below 54
}

TEST_F(MelodyOptionsTest, KeyNamesFollowTonalityAndGermanNaming) {
    choose(panel.ComboToneart(), 10);
    EXPECT_EQ(label(), QStringLiteral("Bb ") + LoadStr(171));
    EXPECT_EQ(panel.ComboToneart()->itemText(6), QStringLiteral("Gb"));

    choose(panel.ComboTonalitet(), 1);
    EXPECT_EQ(label(), QStringLiteral("Bb ") + LoadStr(172));
    EXPECT_EQ(panel.ComboToneart()->itemText(6), QStringLiteral("F#"));
    EXPECT_EQ(panel.ComboToneart()->currentIndex(), 10);

    settings.GermanNaming = 1;
    choose(panel.ComboToneart(), 11);
    EXPECT_EQ(label(), QStringLiteral("H ") + LoadStr(172));
    EXPECT_EQ(panel.ComboToneart()->itemText(11), QStringLiteral("H"));
    EXPECT_EQ(panel.ComboToneart()->itemText(10), QStringLiteral("Bb"));
}

TEST_F(MelodyOptionsTest, TonalityChangeRebuildsTheLeapList) {
    choose(panel.ComboSpring(), 6); // an octave
    EXPECT_EQ(leap(), 7);
    EXPECT_EQ(panel.ComboSpring()->itemText(0), LoadStr(360));
    EXPECT_EQ(panel.ComboSpring()->count(), 7);

    // Pentatonic leaps count scale steps; the octave becomes the largest of them.
    choose(panel.ComboTonalitet(), 5);
    EXPECT_EQ(tonality(), 5);
    EXPECT_EQ(panel.ComboSpring()->count(), 5);
    EXPECT_EQ(panel.ComboSpring()->itemText(0), FormatStr(382, {1}));
    EXPECT_EQ(panel.ComboSpring()->itemText(4), FormatStr(383, {5}));
    EXPECT_EQ(leap(), 5);
    EXPECT_EQ(panel.ComboSpring()->currentIndex(), 4);

    choose(panel.ComboSpring(), 1);
    EXPECT_EQ(leap(), 2);
    choose(panel.ComboTonalitet(), 6);
    EXPECT_EQ(panel.ComboSpring()->count(), 7);
    EXPECT_EQ(panel.ComboSpring()->currentIndex(), 1);
    EXPECT_EQ(leap(), 2);
}

TEST_F(MelodyOptionsTest, NoteCountAndCheckBoxesWriteTheirFields) {
    choose(panel.ComboToner(), 7);
    EXPECT_EQ(int(settings.MelodyOptions.NoteCount), 15);
    choose(panel.ComboToner(), 0);
    EXPECT_EQ(int(settings.MelodyOptions.NoteCount), 1);

    panel.CheckPrimaVista()->click();
    EXPECT_EQ(int(settings.MelodyOptions.PrimaVista), 1);
    EXPECT_EQ(int(settings.MelodyOptions.ShowStartNote), 0);
    panel.CheckVisStartTone()->click();
    EXPECT_EQ(int(settings.MelodyOptions.ShowStartNote), 1);
    panel.CheckPrimaVista()->click();
    EXPECT_EQ(int(settings.MelodyOptions.PrimaVista), 0);
}

TEST_F(MelodyOptionsTest, OnlyTheUsersChoiceWritesTheRecord) {
    settings.ExerciseOptions.RootNote = 62;
    panel.ComboToneart()->setCurrentIndex(4);
    panel.ComboToner()->setCurrentIndex(6);
    EXPECT_EQ(rootNote(), 62);
    EXPECT_EQ(int(settings.MelodyOptions.NoteCount), 5);

    // A key press on the closed list is a choice of the user.
    panel.ComboToner()->setFocus();
    QTest::keyClick(panel.ComboToner(), Qt::Key_Up);
    EXPECT_EQ(int(settings.MelodyOptions.NoteCount), 11);
}

TEST_F(MelodyOptionsTest, ModuleDecidesWhatShowsAndWhatTheFifthButtonsDo) {
    settings.ExerciseOptions.RootNote = 67;
    enterModule(kMelodies);
    EXPECT_FALSE(panel.GroupMelodi()->isHidden());
    EXPECT_FALSE(panel.LabelToneart()->isHidden());
    EXPECT_FALSE(panel.BitBtnKvintOp()->isHidden());
    EXPECT_EQ(panel.BitBtnKvintNed()->toolTip(), LoadStr(3206).section(QLatin1Char('|'), 0, 0));
    // Entering melodies applies the key of the root note.
    EXPECT_EQ(key(), 7);
    EXPECT_EQ(label(), QStringLiteral("G ") + LoadStr(171));

    enterModule(kRhythm);
    EXPECT_TRUE(panel.GroupMelodi()->isHidden());
    EXPECT_TRUE(panel.LabelToneart()->isHidden());
    EXPECT_FALSE(panel.BitBtnKvintNed()->isHidden());
    EXPECT_EQ(panel.BitBtnKvintOp()->toolTip(), LoadStr(447).section(QLatin1Char('|'), 0, 0));
    QSignalSpy previous(&panel, &MelodyOptionsPanel::previousMetreRequested);
    QSignalSpy next(&panel, &MelodyOptionsPanel::nextMetreRequested);
    QTest::mouseClick(panel.BitBtnKvintOp(), Qt::LeftButton);
    QTest::mouseClick(panel.BitBtnKvintNed(), Qt::LeftButton);
    QTest::mouseClick(panel.BitBtnKvintNed(), Qt::LeftButton);
    EXPECT_EQ(previous.count(), 1);
    EXPECT_EQ(next.count(), 2);
    EXPECT_EQ(key(), 7);
    EXPECT_EQ(rootNote(), 67);

    enterModule(1);
    EXPECT_TRUE(panel.BitBtnKvintOp()->isHidden());
    EXPECT_TRUE(panel.BitBtnKvintNed()->isHidden());
}

} // namespace
