// A musician answering with a MIDI keyboard, the computer keyboard's shortcuts and notes
// written on the staff, in the main window on loopback MIDI devices.
#include "app/judge_rules.h"
#include "input/answer_panel.h"
#include "input/note_entry.h"
#include "input/piano_input.h"
#include "input/staff_geometry.h"
#include "input/staff_widget.h"
#include "window_test_support.h"

#include <QLabel>
#include <QTest>

#include <cstdlib>

using namespace harmik;

namespace {

class KeyboardsTest : public WindowTest {
protected:
    std::unique_ptr<TForm1> intervalTask(int box) {
        auto w = makeWindow();
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        w->EarDoScreen();
        w->Settings().ExerciseOptions.ExercisesPerTask = 20;
        w->Group_Problem()->setBoxTicked(box, true);
        w->NyKnapClick();
        EXPECT_EQ(w->Task().running, 1);
        return w;
    }

    // Plays bytes on the MIDI keyboard and waits until the window has handled them.
    void play(std::vector<std::uint8_t> bytes) {
        ASSERT_TRUE(midi.inputOpen());
        const std::size_t before = midi.Sent.all().size();

        ASSERT_TRUE(midi.feed(bytes));
        // The window drains the input when the driver's wake-up reaches the main thread; the
        // lamp or an echo shows it has.
        QTRY_VERIFY_WITH_TIMEOUT(inputHandled(before), 5000);
    }

    bool inputHandled(std::size_t sentBefore) { return midi.Sent.all().size() > sentBefore; }

    void noteOn(int note, int velocity = 100, int channel = 1) {
        play({std::uint8_t(0x90 + channel - 1), std::uint8_t(note), std::uint8_t(velocity)});
    }

    bool sent(std::uint32_t message) const {
        for (const test::SentMessage& m : midi.Sent.all())
            if (m.Short == message)
                return true;
        return false;
    }
};

} // namespace

// The verdict rules are the judge's; here the MIDI keyboard's notes must reach it.
TEST_F(KeyboardsTest, NotesOfTheMidiKeyboardAnswerTheExercise) {
    auto w_ = intervalTask(7);
    TForm1& w = *w_;
    const int root = w.Session().Item().root;
    noteOn(root + 7);
    EXPECT_EQ(w.Task().exerciseCount, 1);
    EXPECT_EQ(w.Session().Score().right, 1);
    noteOn(root + 7, 0);
    noteOn(w.Session().Item().root + 6);
    EXPECT_EQ(w.Session().Score().wrong, 1);
}

TEST_F(KeyboardsTest, RemoteKeysStopListenAndStart) {
    auto w_ = intervalTask(7);
    TForm1& w = *w_;
    const int listening = w.Settings().MidiListen;
    noteOn(w.Settings().RemoteKey1, 0); // a release does nothing
    EXPECT_EQ(w.Settings().MidiListen, listening);
    noteOn(w.Settings().RemoteKey3);
    EXPECT_EQ(w.Task().running, 0);
    noteOn(w.Settings().RemoteKey2);
    EXPECT_EQ(w.Task().running, 1);
    noteOn(w.Settings().RemoteKey1);
    EXPECT_EQ(w.Settings().MidiListen, listening != 0 ? 0 : 1);
}

TEST_F(KeyboardsTest, WithListeningOffNotesAreEchoedAndNamedButNotJudged) {
    auto w_ = intervalTask(7);
    TForm1& w = *w_;
    w.SpeedMidiIndClick();
    ASSERT_EQ(w.Settings().MidiListen, 0);
    w.Settings().MidiThruOn = 1;
    w.Settings().ThruChannel = 2;
    const int second = w.Session().Item().root + 7;
    midi.Sent.clear();
    noteOn(second);
    EXPECT_EQ(w.Task().exerciseCount, 0);
    EXPECT_EQ(w.Session().Score().wrong, 0);
    EXPECT_TRUE(sent(PackShortMessage(0x91, std::uint8_t(second), 100)));
    EXPECT_TRUE(w.Keys()->noteHeld()[static_cast<std::size_t>(second)]);
    EXPECT_FALSE(w.PanStatus()->text().isEmpty());
    // A controller keeps its channel.
    play({0xB0, 7, 90});
    EXPECT_TRUE(sent(PackShortMessage(0xB0, 7, 90)));
}

TEST_F(KeyboardsTest, EnterStartsEscapeStopsAndDeleteSilences) {
    auto w_ = makeWindow();
    TForm1& w = *w_;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.Group_Problem()->setBoxTicked(7, true);
    QTest::keyClick(w.centralWidget(), Qt::Key_Return);
    EXPECT_EQ(w.Task().running, 1);
    QTest::keyClick(w.centralWidget(), Qt::Key_Escape);
    EXPECT_EQ(w.Task().running, 0);
    QTest::keyClick(w.centralWidget(), Qt::Key_S);
    EXPECT_EQ(w.Task().running, 1); // S starts and does not stop again at once
    QTest::keyClick(w.centralWidget(), Qt::Key_0, Qt::KeypadModifier);
    EXPECT_EQ(w.Task().running, 0);

    w.Keys()->setNoteHeld(60, true);
    QTest::keyClick(w.centralWidget(), Qt::Key_Delete);
    EXPECT_FALSE(w.Keys()->noteHeld()[60]);
}

TEST_F(KeyboardsTest, ANoteWrittenOnTheStaffAnswersTheInterval) {
    auto w_ = intervalTask(12); // the octave: the same letter one staff step pattern higher
    TForm1& w = *w_;
    StaffWidget* staff = w.ImageStaff();
    const int target = w.Session().Item().root + 12;
    const StaffSpelling spelling = spellFlatSide(target);
    const double scale = staff->height() / double(kStaffHeight);
    // Press on the step's row; a black key is the step above with a flat: 25 px to the left.
    const int row =
        spelling.Step >= 14 ? 62 + 1 - 3 * (spelling.Step - 12) : 111 + 1 - 3 * spelling.Step;
    const QPoint press(static_cast<int>(200 * scale), static_cast<int>(row * scale));
    const int sideways = spelling.Accidental == 1 ? -25 : 0;
    const QPoint release(static_cast<int>((200 + sideways) * scale), press.y());
    midi.Sent.clear();
    QTest::mousePress(staff, Qt::LeftButton, {}, press);
    ASSERT_TRUE(w.NoteEntry()->active());
    QTest::mouseMove(staff, release);
    EXPECT_EQ(w.NoteEntry()->choice().Note, target);
    QTest::mouseRelease(staff, Qt::LeftButton, {}, release);
    EXPECT_FALSE(w.NoteEntry()->active());
    EXPECT_EQ(w.Task().exerciseCount, 1);
    EXPECT_EQ(w.Session().Score().right, 1);
    bool sounded = false;
    for (const test::SentMessage& m : midi.Sent.all())
        sounded = sounded || ((m.Short & 0xF0) == 0x90 && Data1Of(m.Short) == target);
    EXPECT_TRUE(sounded);
}
