#include "app/exercise_options.h" // TempoSpinButtons
#include "app/rhythm_options.h"
#include "input/answer_layout.h"
#include "input/answer_panel.h"
#include "input/cursor_table.h"
#include "theory/item_names.h"
#include "userdata/settings_record.h"
#include "userdata/strings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

using namespace harmik;

namespace {

constexpr int kRhythm = 7;

class RhythmOptionsTest : public ::testing::Test {
protected:
    void SetUp() override { settings.CurrentModule = kRhythm; }

    // A record as the settings file may hold it, pushed into the controls.
    void load(int metre, int bars, bool loop, bool interBar, int mode) {
        settings.RhythmOptions.Metre = static_cast<std::uint8_t>(metre);
        settings.RhythmOptions.Bars = static_cast<std::uint8_t>(bars);
        settings.RhythmOptions.ShortLoop = loop ? 1 : 0;
        settings.RhythmOptions.InterBar = interBar ? 1 : 0;
        settings.RhythmOptions.RhythmMode = static_cast<std::uint8_t>(mode);
        panel.ApplyLoadedSettings();
    }

    int metre() const { return settings.RhythmOptions.Metre; }
    int bars() const { return settings.RhythmOptions.Bars; }
    int mode() const { return settings.RhythmOptions.RhythmMode; }
    int interBar() const { return settings.RhythmOptions.InterBar; }
    int shortLoop() const { return settings.RhythmOptions.ShortLoop; }

    SettingsRecord settings = DefaultSettings();
    QWidget window;
    RhythmOptionsPanel panel{settings, &window};
};

bool greyed(const QCheckBox* box) {
    return box->checkState() == Qt::PartiallyChecked && !box->isEnabled();
}

// ---------------------------------------------------------------- the loaded record

TEST_F(RhythmOptionsTest, LoadingSelectsTheStoredMetreBarsBoxesAndMode) {
    QSignalSpy reset(&panel, &RhythmOptionsPanel::staffResetRequested);
    load(6, 4, true, true, 2);
    EXPECT_EQ(panel.ComboTaktart()->currentText(), "6/8");
    EXPECT_EQ(panel.barLength(), 72);
    EXPECT_EQ(reset.count(), 1); // the time signature is applied
    EXPECT_EQ(panel.LabVisTakter()->text(), "4");
    EXPECT_TRUE(panel.RadioRytmeSeLyt()->isChecked());
    EXPECT_TRUE(panel.CheckMellemtakt()->isChecked() && panel.CheckMellemtakt()->isEnabled());
    EXPECT_TRUE(panel.CheckKortLoop()->isChecked() && panel.CheckKortLoop()->isEnabled());

    // Reading mode greys both boxes but keeps the stored flags for the other modes.
    load(1, 6, true, false, 1);
    EXPECT_EQ(panel.ComboTaktart()->currentText(), "3/8");
    EXPECT_EQ(panel.LabVisTakter()->text(), "6");
    EXPECT_TRUE(panel.RadioRytmeSe()->isChecked());
    EXPECT_TRUE(greyed(panel.CheckMellemtakt()));
    EXPECT_TRUE(greyed(panel.CheckKortLoop()));
    EXPECT_EQ(shortLoop(), 1);
    EXPECT_EQ(interBar(), 0);

    load(0, 2, false, true, 0);
    EXPECT_TRUE(panel.RadioRytmeLyt()->isChecked());
    EXPECT_EQ(panel.CheckMellemtakt()->checkState(), Qt::Checked);
    EXPECT_EQ(panel.CheckKortLoop()->checkState(), Qt::Unchecked);
    EXPECT_TRUE(panel.CheckKortLoop()->isEnabled());
}

TEST_F(RhythmOptionsTest, ADamagedRecordIsBroughtIntoRange) {
    load(12, 0, false, false, 7);
    EXPECT_EQ(metre(), 7);
    EXPECT_EQ(panel.ComboTaktart()->currentText(), "7/8");
    EXPECT_EQ(bars(), 1);
    EXPECT_EQ(mode(), 0);
    EXPECT_TRUE(panel.RadioRytmeLyt()->isChecked());

    load(3, 40, false, false, 0);
    EXPECT_EQ(bars(), 6);
    EXPECT_EQ(panel.LabVisTakter()->text(), "6");
}

// ---------------------------------------------------------------- handlers

TEST_F(RhythmOptionsTest, MetreButtonsStepThroughTheListAndStopAtItsEnds) {
    load(0, 1, false, false, 0);
    QSignalSpy reset(&panel, &RhythmOptionsPanel::staffResetRequested);
    // At an end of the list a button changes nothing but applies the metre again.
    panel.PreviousMetreClick();
    EXPECT_EQ(metre(), 0);
    for (int k = 0; k < 8; ++k)
        panel.NextMetreClick();
    EXPECT_EQ(metre(), 7);
    for (int k = 0; k < 3; ++k)
        panel.PreviousMetreClick();
    EXPECT_EQ(metre(), 4);
    EXPECT_EQ(panel.ComboTaktart()->currentText(), "Alla breve");
    EXPECT_EQ(panel.timeSignature().Unit, 24);

    // The user's choice in the list.
    panel.ComboTaktart()->setCurrentIndex(2);
    emit panel.ComboTaktart()->activated(2);
    EXPECT_EQ(metre(), 2);
    EXPECT_EQ(panel.barLength(), 72);
    EXPECT_EQ(reset.count(), 13);
}

TEST_F(RhythmOptionsTest, BarsStayBetweenOneAndSix) {
    QSignalSpy reset(&panel, &RhythmOptionsPanel::staffResetRequested);
    panel.SpinTakterDownClick();
    EXPECT_EQ(bars(), 1);
    for (int k = 0; k < 7; ++k)
        panel.SpinTakter()->upButton()->click();
    EXPECT_EQ(bars(), 6);
    EXPECT_EQ(panel.LabVisTakter()->text(), "6");
    panel.SpinTakter()->downButton()->click();
    EXPECT_EQ(bars(), 5);
    EXPECT_EQ(panel.LabVisTakter()->text(), "5");
    EXPECT_EQ(reset.count(), 9);
}

TEST_F(RhythmOptionsTest, ModeButtonsStoreTheModeAndGreyTheBoxesWhenReading) {
    panel.CheckMellemtakt()->click();
    EXPECT_EQ(interBar(), 1);
    panel.CheckKortLoop()->click();
    EXPECT_EQ(shortLoop(), 1);

    QSignalSpy reset(&panel, &RhythmOptionsPanel::staffResetRequested);
    panel.RadioRytmeSe()->click();
    EXPECT_EQ(mode(), 1);
    EXPECT_TRUE(greyed(panel.CheckMellemtakt()));
    EXPECT_TRUE(greyed(panel.CheckKortLoop()));
    // A greyed box takes no click and the stored flags stay.
    panel.CheckKortLoop()->click();
    EXPECT_EQ(shortLoop(), 1);
    EXPECT_EQ(interBar(), 1);

    panel.RadioRytmeSeLyt()->click();
    EXPECT_EQ(mode(), 2);
    EXPECT_EQ(panel.CheckMellemtakt()->checkState(), Qt::Checked);
    EXPECT_EQ(panel.CheckKortLoop()->checkState(), Qt::Checked);
    panel.CheckKortLoop()->click();
    EXPECT_EQ(shortLoop(), 0);
    EXPECT_FALSE(panel.CheckKortLoop()->isTristate()); // a click never greys it

    panel.RadioRytmeLyt()->click();
    EXPECT_EQ(mode(), 0);
    EXPECT_EQ(reset.count(), 3);

    panel.ShowModeCaption();
    EXPECT_EQ(panel.LabRytmePct()->text(), "Слушаем");
    panel.RadioRytmeSe()->click();
    panel.ShowModeCaption();
    EXPECT_EQ(panel.LabRytmePct()->text(), "Чтение");
}

TEST_F(RhythmOptionsTest, TheTutorLeavesOnlyTheLoopAndTheTempo) {
    panel.setTutorActive(true);
    EXPECT_FALSE(panel.ComboTaktart()->isEnabled());
    EXPECT_FALSE(panel.SpinTakter()->isEnabled());
    EXPECT_FALSE(panel.RadioRytmeSe()->isEnabled());
    EXPECT_FALSE(panel.CheckMellemtakt()->isEnabled());
    EXPECT_TRUE(panel.CheckKortLoop()->isEnabled());
    EXPECT_TRUE(panel.EditTempo2()->isEnabled());

    // Reading mode keeps its greyed boxes when the tutor lets go.
    load(3, 1, false, false, 1);
    panel.setTutorActive(false);
    EXPECT_TRUE(panel.ComboTaktart()->isEnabled());
    EXPECT_TRUE(greyed(panel.CheckKortLoop()));
    EXPECT_TRUE(greyed(panel.CheckMellemtakt()));
}

// ---------------------------------------------------------------- the symbol picture

// The darkest grey level within a symbol's cell of the picture.
int darkest(const QImage& image, int symbol) {
    const RhythmSymbolBlit b = RhythmSymbolCopy(symbol, false);
    int least = 255;
    for (int x = b.DestX; x < b.DestX + b.Width; ++x)
        for (int y = b.DestY; y < b.DestY + b.Height; ++y)
            least = std::min(least, qGray(image.pixel(x, y)));
    return least;
}

bool sameCell(const QImage& a, const QImage& b, int symbol) {
    const RhythmSymbolBlit c = RhythmSymbolCopy(symbol, false);
    const QRect r(c.DestX, c.DestY, c.Width, c.Height);
    return a.copy(r) == b.copy(r);
}

TEST_F(RhythmOptionsTest, SymbolPictureDrawsEachSymbolInItsCell) {
    RhythmSymbolPicture* picture = panel.ImageRytmeValg();
    EXPECT_EQ(picture->sizeHint(), QSize(117, 36));
    picture->resize(picture->sizeHint());
    const QImage plain = picture->grab().toImage();
    for (int j = 0; j < kRhythmSymbolCount; ++j) {
        EXPECT_FALSE(picture->isSelected(j));
        EXPECT_LT(darkest(plain, j), 200) << "symbol " << j << " is drawn";
        EXPECT_GT(darkest(plain, j), 60) << "symbol " << j << " looks unselected";
    }

    picture->showSymbol(3, true);
    EXPECT_TRUE(picture->isSelected(3));
    const QImage eighth = picture->grab().toImage();
    EXPECT_LT(darkest(eighth, 3), 40);
    for (int j : {0, 1, 2, 4})
        EXPECT_TRUE(sameCell(plain, eighth, j)) << "symbol " << j << " is untouched";

    picture->showSymbol(3, false);
    picture->showSymbol(5, true);  // no such symbol
    picture->showSymbol(-1, true); // nor this
    EXPECT_EQ(picture->grab().toImage(), plain);
}

TEST_F(RhythmOptionsTest, LoadingAndRefreshingFollowTheRememberedTicks) {
    settings.AnswerChecks[kRhythm - 1][4] = 1; // sixteenths
    settings.AnswerChecks[kRhythm - 1][5] = 1; // half triplets
    panel.ApplyLoadedSettings();
    EXPECT_TRUE(panel.ImageRytmeValg()->isSelected(4));
    EXPECT_TRUE(panel.ImageRytmeValg()->isSelected(1));
    EXPECT_FALSE(panel.ImageRytmeValg()->isSelected(0));

    settings.AnswerChecks[kRhythm - 1][4] = 0;
    panel.RefreshSymbols();
    EXPECT_FALSE(panel.ImageRytmeValg()->isSelected(4));
}

TEST_F(RhythmOptionsTest, ThePictureFollowsTheAnswerBoxes) {
    CursorTable cursors;
    cursors.Load();
    const ItemNameList names = BuildItemNameList([](int id) { return LoadStr(id).toStdString(); });
    AnswerPanel answers(settings, cursors, names);
    RhythmSymbolPicture* picture = panel.ImageRytmeValg();
    QObject::connect(&answers, &AnswerPanel::rhythmSymbolChanged, picture,
                     &RhythmSymbolPicture::showSymbol);
    answers.PlaceChecks(QStringLiteral("Ритм"), 12);

    answers.setBoxTicked(7, true); // eighth triplets select the eighth
    EXPECT_TRUE(picture->isSelected(3));
    answers.setBoxTicked(3, true);
    answers.setBoxTicked(7, false); // the plain eighths keep it selected
    EXPECT_TRUE(picture->isSelected(3));
    answers.setBoxTicked(3, false);
    EXPECT_FALSE(picture->isSelected(3));
    answers.setBoxTicked(0, true);
    EXPECT_TRUE(picture->isSelected(0));
    answers.setBoxTicked(6, true); // quarter triplets select the quarter
    EXPECT_TRUE(picture->isSelected(2));
}

TEST(RhythmOptionsPlacing, OptionsAndPicturesFitTheRhythmPanelBesideItsBoxes) {
    SettingsRecord settings = DefaultSettings();
    settings.CurrentModule = kRhythm;
    CursorTable cursors;
    cursors.Load();
    const ItemNameList names = BuildItemNameList([](int id) { return LoadStr(id).toStdString(); });
    AnswerPanel answers(settings, cursors, names);
    RhythmOptionsPanel panel(settings, &answers);
    answers.PlaceChecks(QStringLiteral("Ритм"), 12);
    PanelLayoutInput in;
    in.Module = kRhythm;
    const PanelLayout layout = answers.EarDoProblemGroup(in);
    ASSERT_EQ(layout.PanelFontSize, 10);
    panel.PlaceOnAnswerPanel(layout.PanRytmeTop);

    const QRect inside(0, 0, layout.Panel.Width, layout.Panel.Height);
    const QRect options = panel.geometry();
    EXPECT_TRUE(inside.contains(options)) << options.width() << " x " << options.height();
    EXPECT_GE(options.top(), answers.box(11)->geometry().bottom());

    // Each symbol stands over its box, the triplet label before the first triplet box.
    const QRect picture = panel.ImageRytmeValg()->geometry();
    EXPECT_LE(picture.bottom(), answers.box(0)->geometry().top());
    for (int j = 0; j < kRhythmSymbolCount; ++j) {
        const RhythmSymbolBlit cell = RhythmSymbolCopy(j, false);
        const QRect box = answers.box(j)->geometry();
        const int symbolLeft = picture.left() + cell.DestX;
        EXPECT_LT(symbolLeft, box.right()) << j;
        EXPECT_GT(symbolLeft + cell.Width, box.left()) << j;
    }
    EXPECT_LE(picture.right(), answers.box(9)->geometry().left());
    EXPECT_LE(panel.LabRytmeTrioler()->geometry().right(), answers.box(5)->geometry().left());

    panel.ShowRhythmPictures(false);
    EXPECT_TRUE(panel.isHidden() && panel.ImageRytmeValg()->isHidden() &&
                panel.LabRytmeTrioler()->isHidden() && panel.LabRytmePct()->isHidden());
}

} // namespace
