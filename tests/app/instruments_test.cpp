// Playing and writing in the main window: the piano and guitar under the staff, answers
// played on the keys, what the exercises write on the staff, the range, listening and thru.
#include "app/exercise_options.h"
#include "app/instrument_panel.h"
#include "app/judge_rules.h"
#include "app/transport_panel.h"
#include "input/answer_panel.h"
#include "input/fretboard_widget.h"
#include "input/piano_input.h"
#include "input/piano_widget.h"
#include "input/staff_widget.h"
#include "theory/progression_table.h"
#include "window_test_support.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>

using namespace harmik;

namespace {

class InstrumentsTest : public WindowTest {
protected:
    std::unique_ptr<TForm1> shownWindow() {
        auto w = makeWindow();
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        w->EarDoScreen();
        return w;
    }

    // Presses and releases the piano key of a note in the upper zone of the keyboard, where
    // every semitone has its own slot.
    static void playOnPiano(TForm1& w, int note, Qt::KeyboardModifiers modifiers = {},
                            Qt::MouseButton button = Qt::LeftButton) {
        PianoPicture* piano = w.Pan_Klaver()->Image_Klaver();
        const double width = piano->width();
        const int keyHeight = static_cast<int>(std::nearbyint(piano->height() * 113.0 / 132.0));
        const QPoint at(static_cast<int>((note - 36 + 0.5) * width / 48.0),
                        piano->height() - keyHeight + 4);
        QTest::mousePress(piano, button, modifiers, at);
        QTest::mouseRelease(piano, button, modifiers, at);
    }

    static int count(const StaffWidget& staff, StaffItem::Kind kind) {
        return static_cast<int>(
            std::count_if(staff.items().begin(), staff.items().end(),
                          [kind](const StaffItem& i) { return i.Type == kind; }));
    }

    static std::vector<QString> texts(const StaffWidget& staff) {
        std::vector<QString> out;
        for (const StaffItem& i : staff.items())
            if (i.Type == StaffItem::Kind::Text)
                out.push_back(i.Text);
        return out;
    }
};

} // namespace

TEST_F(InstrumentsTest, TheStaffStandsOnThePianoAndTheFretboardSharesThePanel) {
    auto w_ = shownWindow();
    TForm1& w = *w_;
    const int h = w.centralWidget()->height();
    const int status = 16 * (w.Settings().StatusBar ? 1 : 0);
    EXPECT_EQ(w.Pan_Klaver()->height(), static_cast<int>(std::nearbyint(h / 5.0)));
    EXPECT_EQ(w.Pan_Klaver()->y() + w.Pan_Klaver()->height(), h - status);
    EXPECT_EQ(w.Pan_Staff()->y() + w.Pan_Staff()->height(), w.Pan_Klaver()->y());
    EXPECT_EQ(w.Pan_Staff()->width(), w.centralWidget()->width() - 38);
    EXPECT_LE(w.Group_Problem()->geometry().bottom(), w.PanelTransport()->y());
    EXPECT_FALSE(w.Pan_Klaver()->Image_guitar()->isVisible());

    // The guitar shown: both pictures share a taller panel, and the choice is kept.
    w.Pan_Klaver()->CheckFret()->click();
    EXPECT_EQ(w.Settings().ShowFretboard, 1);
    EXPECT_EQ(w.Pan_Klaver()->height(), static_cast<int>(std::nearbyint(h / 3.5)));
    const QRect piano = w.Pan_Klaver()->Image_Klaver()->geometry();
    const QRect guitar = w.Pan_Klaver()->Image_guitar()->geometry();
    EXPECT_TRUE(w.Pan_Klaver()->Image_guitar()->isVisible());
    EXPECT_EQ(piano.height(), w.Pan_Klaver()->height() / 2);
    EXPECT_EQ(guitar.top(), w.Pan_Klaver()->height() / 2);
    EXPECT_EQ(piano.width(), w.Pan_Klaver()->width() - 70);

    // The piano hidden: the guitar takes the whole panel.
    w.Pan_Klaver()->CheckPiano()->click();
    EXPECT_EQ(w.Settings().ShowPiano, 0);
    EXPECT_FALSE(w.Pan_Klaver()->Image_Klaver()->isVisible());
    EXPECT_EQ(w.Pan_Klaver()->Image_guitar()->height(), w.Pan_Klaver()->height());
}

TEST_F(InstrumentsTest, APressOnThePianoOrTheGuitarSoundsOneNote) {
    auto w_ = shownWindow();
    TForm1& w = *w_;
    w.Pan_Klaver()->CheckFret()->click(); // both pictures shown
    const auto onGuitar = [&w] {
        QWidget* guitar = w.Pan_Klaver()->Image_guitar();
        const QPoint at(guitar->width() / 2, guitar->height() / 2);
        QTest::mousePress(guitar, Qt::LeftButton, {}, at);
        QTest::mouseRelease(guitar, Qt::LeftButton, {}, at);
    };
    const std::pair<const char*, std::function<void()>> presses[] = {
        {"piano", [&w] { playOnPiano(w, 60); }},
        {"guitar", onGuitar},
    };
    for (const auto& [what, press] : presses) {
        SCOPED_TRACE(what);
        midi.Sent.clear();
        press();
        int noteOns = 0;
        for (const auto& m : midi.Sent.all())
            noteOns += (m.Short & 0xF0) == 0x90 && ((m.Short >> 16) & 0x7F) > 0;
        EXPECT_EQ(noteOns, 1);
    }
}

TEST_F(InstrumentsTest, AnIntervalPlayedOnThePianoIgnoresTheRootAndIsWrittenWithItsNames) {
    auto w_ = shownWindow();
    TForm1& w = *w_;
    w.Settings().ExerciseOptions.ExercisesPerTask = 20;
    w.Group_Problem()->setBoxTicked(4, true);
    w.Group_Problem()->setBoxTicked(7, true);
    w.NyKnapClick();
    ASSERT_EQ(w.Task().running, 1);
    StaffWidget& staff = *w.ImageStaff();
    const int interval = w.Session().Item().itemIndex;
    const int worth = w.Session().Item().points;
    const int root = w.Session().Item().root;
    const int textX = staff.StaffTextX;
    EXPECT_EQ(count(staff, StaffItem::Kind::Head), 1); // the root
    EXPECT_EQ(w.Keys()->noteHeld()[static_cast<std::size_t>(root)], false);

    playOnPiano(w, root); // the root itself counts for nothing
    EXPECT_EQ(w.Session().Score().wrong, 0);
    EXPECT_EQ(w.Task().exerciseCount, 0);

    playOnPiano(w, root + interval);
    EXPECT_EQ(w.Session().Score().right, 1);
    EXPECT_EQ(w.Task().exerciseCount, 1);
    EXPECT_GT(worth, 0);
    EXPECT_EQ(w.Session().Score().score, worth + worth / 4); // a played answer earns a quarter more
    // The answer: the second note, both names with the lower first, a bar line half a column
    // on; the next exercise's root starts a column further.
    EXPECT_EQ(count(staff, StaffItem::Kind::Bar), 1);
    const std::vector<QString> written = texts(staff);
    ASSERT_GE(written.size(), 2u);
    EXPECT_TRUE(written[0].contains(QStringLiteral(" - "))) << written[0].toStdString();
    EXPECT_EQ(staff.StaffTextX, textX + 80);
    EXPECT_EQ(count(staff, StaffItem::Kind::Head), 3);

    // A wrong key counts as wrong.
    playOnPiano(w, w.Session().Item().root + w.Session().Item().itemIndex + 1);
    EXPECT_EQ(w.Session().Score().wrong, 1);
}

TEST_F(InstrumentsTest, ListeningOffPlaysButDoesNotJudgeAndThruFollowsTheMenu) {
    auto w_ = shownWindow();
    TForm1& w = *w_;
    w.Group_Problem()->setBoxTicked(4, true);
    w.NyKnapClick();
    ASSERT_EQ(w.Task().running, 1);

    w.Pan_Klaver()->SpeedMidiInd()->click();
    EXPECT_EQ(w.Settings().MidiListen, 0);
    EXPECT_FALSE(w.menuAction("mMidiKlaverLyt")->isChecked());
    midi.Sent.clear();
    playOnPiano(w, w.Session().Item().root + 4);
    EXPECT_EQ(w.Task().exerciseCount, 0);
    bool heard = false;
    for (const auto& m : midi.Sent.all())
        heard = heard || ((m.Short & 0xF0) == 0x90 &&
                          ((m.Short >> 8) & 0x7F) == unsigned(w.Session().Item().root + 4));
    EXPECT_TRUE(heard);

    w.menuAction("mMidiKlaverLyt")->trigger();
    EXPECT_EQ(w.Settings().MidiListen, 1);
    EXPECT_TRUE(w.Pan_Klaver()->SpeedMidiInd()->isChecked());
    playOnPiano(w, w.Session().Item().root + 4);
    EXPECT_EQ(w.Task().exerciseCount, 1);

    const int thru = w.Settings().MidiThruOn;
    w.menuAction("mMidiThru")->trigger();
    EXPECT_EQ(w.Settings().MidiThruOn, thru != 0 ? 0 : 1);
    EXPECT_EQ(w.menuAction("mMidiThru")->isChecked(), w.Settings().MidiThruOn != 0);
}

TEST_F(InstrumentsTest, ChordNotesPlayedOneByOneAreWrittenAsTheyCome) {
    auto w_ = shownWindow();
    TForm1& w = *w_;
    w.SelectModule(3);
    w.Group_Problem()->setBoxTicked(0, true); // major
    w.NyKnapClick();
    ASSERT_EQ(w.Task().running, 1);
    StaffWidget& staff = *w.ImageStaff();
    const int heads = count(staff, StaffItem::Kind::Head);
    EXPECT_EQ(heads, 1);
    const std::vector<int> notes = ItemNotes(3, w.Session().Item());
    ASSERT_GE(notes.size(), 3u);
    // Any order: the top note, then the root (written already), then the others; the last
    // new note settles it.
    playOnPiano(w, notes.back());
    EXPECT_EQ(count(staff, StaffItem::Kind::Head), 2);
    playOnPiano(w, notes.front());
    EXPECT_EQ(count(staff, StaffItem::Kind::Head), 2);
    for (std::size_t k = 1; k + 1 < notes.size(); ++k) {
        EXPECT_EQ(w.Task().exerciseCount, 0);
        playOnPiano(w, notes[k]);
    }
    EXPECT_EQ(w.Task().exerciseCount, 1);
    EXPECT_EQ(w.Session().Score().right, 1);
    EXPECT_EQ(count(staff, StaffItem::Kind::Bar), 1);
}

TEST_F(InstrumentsTest, ManyAnswersScrollTheStaffInsteadOfWritingPastItsEdge) {
    auto w_ = shownWindow();
    TForm1& w = *w_;
    w.Settings().ExerciseOptions.ExercisesPerTask = 30;
    w.Group_Problem()->setBoxTicked(7, true);
    w.NyKnapClick();
    StaffWidget& staff = *w.ImageStaff();
    for (int exercise = 0; exercise < 25; ++exercise) {
        ASSERT_EQ(w.Task().running, 1);
        w.Group_Problem()->box(7)->click();
        while (staff.scrolling())
            staff.ScrollFrame();
        EXPECT_LE(staff.StaffTextX + 40, staff.logicalWidth()) << exercise;
        for (const StaffItem& i : staff.items())
            EXPECT_LT(i.X, staff.logicalWidth()) << exercise;
        // Whole exercises leave: every bar line still has its names, and the new root its own.
        int named = 0;
        for (const QString& t : texts(staff))
            named += t.contains(QStringLiteral(" - ")) ? 1 : 0;
        EXPECT_EQ(named, count(staff, StaffItem::Kind::Bar)) << exercise;
        EXPECT_EQ(count(staff, StaffItem::Kind::Head), 2 * named + 1) << exercise;
    }
}

TEST_F(InstrumentsTest, CtrlOnThePianoSetsTheRangeBetweenTasksOnly) {
    auto w_ = shownWindow();
    TForm1& w = *w_;
    playOnPiano(w, 60, Qt::ControlModifier);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, LoadStr(2030));
    EXPECT_EQ(w.Settings().LowestNote[0], 48);
    EXPECT_EQ(w.Pan_Klaver()->Image_Klaver()->lowestNote(), 48);
    playOnPiano(w, 76, Qt::ControlModifier, Qt::RightButton);
    EXPECT_EQ(w.Settings().HighestNote[0], 76);
    EXPECT_EQ(w.Pan_Klaver()->Image_Klaver()->highestNote(), 76);
}

TEST_F(InstrumentsTest, TheWhiteKeyDisplayWritesTwentyEightNotes) {
    auto w_ = shownWindow();
    TForm1& w = *w_;
    w.menuAction("mVisnoder")->trigger();
    int treble = 0;
    int bass = 0;
    for (const StaffItem& i : w.ImageStaff()->items())
        if (i.Type == StaffItem::Kind::Head)
            (i.Y < 62 ? treble : bass)++;
    EXPECT_EQ(treble, 14);
    EXPECT_EQ(bass, 14);
}

TEST_F(InstrumentsTest, AProgressionChordChosenFromTheMenuIsLabelledOnTheStaff) {
    auto w_ = shownWindow();
    TForm1& w = *w_;
    w.SelectModule(5);
    w.Group_Problem()->setBoxTicked(0, true);
    w.NyKnapClick();
    ASSERT_EQ(w.Task().running, 1);
    const std::size_t before = texts(*w.ImageStaff()).size();
    const ProgressionChordLabel first =
        ProgressionLabelCatalogue()[static_cast<std::size_t>(w.Session().Item().itemIndex)][0];
    const int note = 48 + (w.Session().Item().root + first.RootOffset) % 12;
    // The right button on the chord's root during the task opens the chord-type menu.
    PianoInput& keys = *w.Keys();
    PianoPicture* piano = w.Pan_Klaver()->Image_Klaver();
    const double width = piano->width();
    const int keyHeight = static_cast<int>(std::nearbyint(piano->height() * 113.0 / 132.0));
    const QPointF at((note - 36 + 0.5) * width / 48.0, piano->height() - keyHeight + 4);
    midi.Sent.clear();
    keys.Image_KlaverMouseDown(at, Qt::RightButton);
    EXPECT_TRUE(keys.chordMenu()->isVisible());
    EXPECT_TRUE(midi.Sent.all().empty()); // no sound for the menu's key
    keys.chordMenu()->close();
    keys.PopDurClick(first.ChordType);
    EXPECT_EQ(w.Session().Score().wrong, 0);
    const std::vector<QString> after = texts(*w.ImageStaff());
    ASSERT_EQ(after.size(), before + 2); // the label and the chord's name
}

TEST_F(InstrumentsTest, AMelodyPlayedOnThePianoIsWrittenNoteByNoteWithItsMarks) {
    auto w_ = shownWindow();
    TForm1& w = *w_;
    w.SelectModule(6);
    w.Settings().MelodyOptions.NoteCount = 3;
    // Before the task a right press on a play-style button lets the cadence be heard.
    QTest::mousePress(w.Options()->PlayStyleButton(0), Qt::RightButton);
    EXPECT_TRUE(w.Session().TimerMidi1()->isActive());
    w.NyKnapClick();
    ASSERT_EQ(w.Task().running, 1);
    const ExerciseItem item = w.Session().Item();
    StaffWidget& staff = *w.ImageStaff();
    EXPECT_EQ(w.Pan_Klaver()->Image_Klaver()->octaveBarNote(), item.melodyNotes[1]);
    EXPECT_EQ(count(staff, StaffItem::Kind::Head), 0); // dictation: nothing written yet

    playOnPiano(w, item.melodyNotes[1]);
    playOnPiano(w, item.melodyNotes[2] == 40 ? 41 : 40); // wrong
    EXPECT_EQ(count(staff, StaffItem::Kind::Head), 1);
    EXPECT_EQ(count(staff, StaffItem::Kind::Mark), 2); // green, then red
    playOnPiano(w, item.melodyNotes[2]);
    playOnPiano(w, item.melodyNotes[3]);
    EXPECT_EQ(w.Task().exerciseCount, 1);
    EXPECT_EQ(w.Session().Score().right, 1);
    EXPECT_EQ(w.Session().Score().wrong, 1);
    EXPECT_EQ(count(staff, StaffItem::Kind::Mark), 4);
    EXPECT_EQ(count(staff, StaffItem::Kind::Bar), 1);
    w.NyKnapClick();
}
