#include "input/fretboard_widget.h"
#include "input/piano_geometry.h"
#include "input/piano_input.h"
#include "input/piano_widget.h"
#include "theory/item_names.h"
#include "userdata/messages.h"
#include "userdata/settings_record.h"
#include "userdata/strings.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace harmik;

namespace {

// The piano 728 × 132 (keys from y = 19, black keys above y = 85), the fretboard 700 × 120.
class PianoInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        names = BuildItemNameList([](int id) { return LoadStr(id).toStdString(); });
        piano.resize(728, 132);
        fretboard.resize(700, 120);
        settings.CurrentModule = 1;
        input = std::make_unique<PianoInput>(settings, names, &piano, &fretboard);
        previousHook = SetMessageHook([this](const MessageRequest& request) {
            messages.push_back(request);
            return MessageAnswer::Ok;
        });
    }
    void TearDown() override { SetMessageHook(previousHook); }

    // The middle of a white key's lower part.
    static QPoint whiteKey(int note) {
        for (int slot = 0; slot < 28; ++slot)
            if (36 + WhiteKeyNote[slot] == note)
                return QPoint(slot * 26 + 13, 120);
        return {};
    }
    void click(QWidget& w, QPoint at, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers releaseModifiers = Qt::NoModifier) {
        QTest::mousePress(&w, button, Qt::NoModifier, at);
        QTest::mouseRelease(&w, button, releaseModifiers, at);
    }

    SettingsRecord settings;
    ItemNameList names;
    PianoPicture piano;
    FretboardPicture fretboard;
    std::unique_ptr<PianoInput> input;
    std::vector<MessageRequest> messages;
    MessageHook previousHook;
};

TEST_F(PianoInputTest, CtrlReleaseSetsTheRangeWithItsLimits) {
    QSignalSpy range(input.get(), &PianoInput::rangeChanged);
    QSignalSpy answers(input.get(), &PianoInput::answer);
    // Left button: the lowest note, pulled down to 48; right: the highest, pulled up to 71.
    click(piano, whiteKey(60), Qt::LeftButton, Qt::ControlModifier);
    click(piano, whiteKey(60), Qt::RightButton, Qt::ControlModifier);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].type, MessageType::Information);
    EXPECT_EQ(messages[1].text, LoadStr(2031));
    EXPECT_EQ(settings.LowestNote[0], 48);
    EXPECT_EQ(settings.HighestNote[0], 71);
    EXPECT_EQ(range.count(), 2);
    EXPECT_EQ(answers.count(), 0);

    // Within the limits: stored silently, for the current module only.
    settings.CurrentModule = 3;
    click(piano, whiteKey(41), Qt::LeftButton, Qt::ControlModifier);
    click(piano, whiteKey(79), Qt::RightButton, Qt::ControlModifier);
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_EQ(settings.LowestNote[2], 41);
    EXPECT_EQ(settings.HighestNote[2], 79);
    EXPECT_EQ(settings.LowestNote[0], 48);

    // During a task Ctrl changes nothing and the note answers.
    input->setTaskState(true, false);
    click(piano, whiteKey(60), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(settings.LowestNote[2], 41);
    ASSERT_EQ(answers.count(), 1);
    EXPECT_EQ(answers[0], (QList<QVariant>{60, kSourcePianoKey}));
}

TEST_F(PianoInputTest, PressPlaysHoldsAndReleaseAnswersDuringATask) {
    QSignalSpy on(input.get(), &PianoInput::noteOn);
    QSignalSpy off(input.get(), &PianoInput::noteOff);
    QSignalSpy answers(input.get(), &PianoInput::answer);
    QSignalSpy status(input.get(), &PianoInput::statusText);
    input->setTaskState(true, false);

    QTest::mousePress(&piano, Qt::LeftButton, Qt::NoModifier, QPoint(386, 40)); // C sharp
    ASSERT_EQ(on.count(), 1);
    EXPECT_EQ(on[0][0].toInt(), 61);
    EXPECT_TRUE(input->noteHeld()[61]);
    EXPECT_EQ(input->heldKey(), 61);
    ASSERT_FALSE(status.isEmpty());
    EXPECT_FALSE(status.last()[0].toString().isEmpty());
    QTest::mouseRelease(&piano, Qt::LeftButton, Qt::NoModifier, QPoint(386, 40));
    EXPECT_EQ(off.count(), 1);
    EXPECT_FALSE(input->noteHeld()[61]);
    EXPECT_TRUE(status.last()[0].toString().isEmpty());
    ASSERT_EQ(answers.count(), 1);
    EXPECT_EQ(answers[0], (QList<QVariant>{61, kSourcePianoKey}));

    // A press between keys does nothing, not even at its release; once answered, a key is
    // played but not judged.
    click(piano, QPoint(26 * 14 + 1, 120));
    input->setTaskState(true, true);
    click(piano, whiteKey(62));
    EXPECT_EQ(on.count(), 2);
    EXPECT_EQ(off.count(), 2);
    EXPECT_EQ(answers.count(), 1);
}

TEST_F(PianoInputTest, HeldNotesNameTheirChord) {
    QSignalSpy status(input.get(), &PianoInput::statusText);
    for (int note : {60, 64, 67, 70, 73})
        input->setNoteHeld(note, true);
    EXPECT_EQ(input->chordText(), QStringLiteral("C7(b9)"));
    EXPECT_EQ(status.last()[0].toString(), QStringLiteral("C7(b9)"));
    // A key pressed on the piano joins the MIDI keyboard's notes, and leaves them again.
    QTest::mousePress(&piano, Qt::LeftButton, Qt::NoModifier, whiteKey(43));
    EXPECT_TRUE(input->noteHeld()[43]);
    EXPECT_TRUE(input->chordText().startsWith(QLatin1Char('G')));
    QTest::mouseRelease(&piano, Qt::LeftButton, Qt::NoModifier, whiteKey(43));
    EXPECT_EQ(input->chordText(), QStringLiteral("C7(b9)"));
    input->clearNoteHeld();
    EXPECT_TRUE(input->chordText().isEmpty());
    EXPECT_TRUE(status.last()[0].toString().isEmpty());
}

TEST_F(PianoInputTest, GuitarRowsPlayTheirStringsAndMarkThePress) {
    QSignalSpy on(input.get(), &PianoInput::noteOn);
    click(fretboard, QPoint(10, 0));
    click(fretboard, QPoint(10, fretboard.height() - 1));
    click(fretboard, QPoint(fretboard.fretX()[2], fretboard.height() - 1));
    ASSERT_EQ(on.count(), 3);
    EXPECT_EQ(on[0][0].toInt(), 76);
    EXPECT_EQ(on[1][0].toInt(), 52);
    EXPECT_EQ(on[2][0].toInt(), 54);
    ASSERT_EQ(fretboard.marks().size(), 3u);
    EXPECT_EQ(fretboard.marks()[0].String, 6);
    EXPECT_EQ(fretboard.marks()[2].Fret, 2);
    EXPECT_EQ(piano.marks(), (std::vector<int>{76, 52, 54}));
    // Right of the last fret wire there is nothing to play.
    click(fretboard, QPoint(fretboard.fretX().back() + 2, 0));
    EXPECT_EQ(on.count(), 3);
}

TEST_F(PianoInputTest, MarksOfRightAnswersStayUntilTheRedraw) {
    input->MarkKey(64);
    input->MarkKey(-61); // on the piano only, with its extra mark
    input->MarkKey(40);  // below the guitar
    input->MarkKey(61);
    EXPECT_EQ(piano.marks(), (std::vector<int>{64, -61, 40, 61}));
    ASSERT_EQ(fretboard.marks().size(), 2u);
    EXPECT_EQ(fretboard.marks()[0].String, 3);
    EXPECT_EQ(fretboard.marks()[0].Fret, 2);
    EXPECT_EQ(fretboard.marks()[1].String, 2);
    EXPECT_EQ(fretboard.marks()[1].Fret, 4);

    // The white key's mark is drawn on the key (dark on white).
    piano.resize(728, 124);
    QImage image = piano.grab().toImage();
    const QPoint markCentre = pianoMarkRect(64, 728).center() + QPoint(0, 5);
    EXPECT_LT(qGray(image.pixel(markCentre)), 128);

    input->redrawInstruments();
    EXPECT_TRUE(piano.marks().empty());
    EXPECT_TRUE(fretboard.marks().empty());
    image = piano.grab().toImage();
    EXPECT_GT(qGray(image.pixel(markCentre)), 200);
    // Showing or hiding an instrument redraws them too.
    input->MarkKey(60);
    input->CheckFretClick(true);
    EXPECT_TRUE(piano.marks().empty());
}

TEST_F(PianoInputTest, PictureShowsMiddleCAndTheRangeBars) {
    piano.resize(728, 124);
    settings.LowestNote[0] = 48;
    settings.HighestNote[0] = 71;
    input->redrawInstruments();
    const QImage image = piano.grab().toImage();
    EXPECT_EQ(QColor(image.pixel(371, 9)), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(QColor(image.pixel(100, 1)), QColor(Qt::red));
    EXPECT_EQ(QColor(image.pixel(600, 1)), QColor(Qt::red));
    EXPECT_NE(QColor(image.pixel(400, 1)), QColor(Qt::red));
}

TEST_F(PianoInputTest, ProgressionRightPressOpensTheChordMenu) {
    settings.CurrentModule = 5;
    input->setTaskState(true, false);
    QSignalSpy on(input.get(), &PianoInput::noteOn);
    QSignalSpy answers(input.get(), &PianoInput::answer);

    QTest::mousePress(&piano, Qt::LeftButton, Qt::NoModifier, whiteKey(62)); // plays as usual
    EXPECT_FALSE(input->chordMenu()->isVisible());
    QTest::mouseRelease(&piano, Qt::LeftButton, Qt::NoModifier, whiteKey(62));
    QTest::mousePress(&piano, Qt::RightButton, Qt::NoModifier, whiteKey(60));
    EXPECT_EQ(on.count(), 1);
    EXPECT_TRUE(input->chordMenu()->isVisible());
    EXPECT_EQ(input->chosenChordType(), -1);

    QAction* major = nullptr;
    for (QAction* action : input->chordMenu()->actions())
        if (action->data().toInt() == 0)
            major = action;
    ASSERT_NE(major, nullptr);
    EXPECT_EQ(major->text(), LoadStr(171));
    input->chordMenu()->hide();
    major->trigger();
    EXPECT_EQ(input->chosenChordType(), 0);
    EXPECT_FALSE(input->noteHeld()[60]);
    ASSERT_EQ(answers.count(), 2);
    EXPECT_EQ(answers[1], (QList<QVariant>{60, kSourceChordMenu}));

    // A menu closed without a choice releases its key.
    QTest::mousePress(&piano, Qt::RightButton, Qt::NoModifier, whiteKey(64));
    EXPECT_TRUE(input->noteHeld()[64]);
    input->chordMenu()->hide();
    EXPECT_FALSE(input->noteHeld()[64]);
    // Once answered, a choice no longer judges.
    input->setTaskState(true, true);
    major->trigger();
    EXPECT_EQ(answers.count(), 2);
}

TEST_F(PianoInputTest, RhythmModuleTurnsThePianoIntoADrumPad) {
    settings.CurrentModule = 7;
    QSignalSpy on(input.get(), &PianoInput::noteOn);
    QSignalSpy drumOn(input.get(), &PianoInput::drumOn);
    QSignalSpy drumOff(input.get(), &PianoInput::drumOff);
    QSignalSpy taps(input.get(), &PianoInput::rhythmTap);
    QSignalSpy answers(input.get(), &PianoInput::answer);

    click(piano, whiteKey(60));
    EXPECT_EQ(drumOn.count(), 1);
    EXPECT_EQ(drumOff.count(), 1);
    EXPECT_EQ(taps.count(), 0);

    input->setTaskState(true, false);
    // Even the gap between two keys is part of the pad.
    click(piano, QPoint(26 * 14 + 1, 120));
    click(fretboard, QPoint(10, 0));
    EXPECT_EQ(drumOn.count(), 3);
    EXPECT_EQ(drumOff.count(), 3);
    EXPECT_EQ(taps.count(), 2);
    EXPECT_EQ(on.count(), 0);
    EXPECT_EQ(answers.count(), 0);
}

} // namespace
