#include "input/cursor_table.h"
#include "input/note_entry.h"
#include "input/staff_widget.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <utility>

using namespace harmik;

namespace {

NoteEntryContext plainContext(int module = 1) {
    NoteEntryContext c;
    c.Module = module;
    return c;
}

NoteEntryContext melodyContext(int tonic, int tonality) {
    NoteEntryContext c;
    c.Module = 6;
    c.KeyReading = melodyKeyReading(6, tonality);
    c.Key = SetupKeySignature(tonic, tonality);
    c.MelodyRoot = tonic;
    return c;
}

// A press on the row of a step, then a move by dx right and dy up: the note chosen.
struct Move {
    int Step;
    int Dx;
    int Dy;
    int Note;
    const char* Name;
    int Symbol;
};

void expectChoices(const NoteEntryContext& context, std::initializer_list<Move> moves) {
    for (const Move& m : moves) {
        const int y = Staff_Y(m.Step, 0);
        const NoteEntryChoice c =
            chooseEntryNote(entryStartStep(y), 100, y, 100 + m.Dx, y - m.Dy, context);
        EXPECT_EQ(c.Note, m.Note) << m.Step << " " << m.Dx << " " << m.Dy;
        EXPECT_EQ(c.Name, QString::fromLatin1(m.Name)) << m.Step << " " << m.Dx;
        EXPECT_EQ(c.Symbol, m.Symbol) << m.Step << " " << m.Dx;
    }
}

TEST(NoteEntryStep, PressedRowGivesTheStepOnEitherStaffWithinTheRange) {
    // Rows of middle C over each staff, the outer lines, and the border between the staves'
    // ledger notes (62 treble, 63 bass); beyond the written range the step stays in 0..27.
    const std::pair<int, int> rows[] = {{56, 14}, {50, 16}, {48, 17}, {26, 24},  {62, 12}, {63, 16},
                                        {69, 14}, {75, 12}, {99, 4},  {105, 2},  {0, 27},  {14, 27},
                                        {112, 0}, {119, 0}, {500, 0}, {-300, 27}};
    for (const auto& [y, step] : rows)
        EXPECT_EQ(entryStartStep(y), step) << y;
}

TEST(NoteEntryChoice, UpwardsChoosesTheStepSidewaysTheAccidental) {
    expectChoices(plainContext(),
                  {{14, 0, 0, 60, "C", 2},
                   {14, 0, 10, 62, "D", 2},
                   {14, 0, 30, 65, "F", 2},
                   {14, 0, -20, 57, "A", 2},
                   {14, 0, 1000, 83, "B", 2},
                   {14, 0, -1000, 36, "C", 2},
                   {15, 24, 0, 62, "D", 2},
                   {15, -24, 0, 62, "D", 2},
                   {15, 25, 0, 63, "D#", 3},
                   {15, -25, 0, 61, "Db", 1},
                   {15, -60, 0, 60, "Dbb", 0},
                   {15, -600, 0, 60, "Dbb", 0},
                   {15, 600, 0, 64, "D##", 4},
                   // C and F go no lower than a flat, E and B no higher than a sharp.
                   {14, -50, 0, 59, "Cb", 1},
                   {17, -100, 0, 64, "Fb", 1},
                   {16, 100, 0, 65, "E#", 3},
                   {20, 100, 0, 72, "B#", 3},
                   {0, -100, -100, 35, "Cb", 1},
                   {27, 100, 100, 84, "B#", 3}});
}

TEST(NoteEntryChoice, GermanNamingWritesHAndSolfegeOnlyForMelodies) {
    auto c = plainContext();
    c.GermanNaming = true;
    c.Solfege = true;
    expectChoices(c, {{20, 0, 0, 71, "H", 2}, {20, 30, 0, 72, "H#", 3}, {20, -30, 0, 70, "Bb", 1}});
    EXPECT_TRUE(chooseEntryNote(20, 0, 0, 0, 0, c).Syllable.isEmpty());

    auto g = melodyContext(55, 6); // G chromatic
    g.Solfege = true;
    EXPECT_EQ(chooseEntryNote(14, 0, 0, 0, 0, g).Syllable, QStringLiteral("fa")); // C over G
    EXPECT_EQ(chooseEntryNote(17, 0, 0, 0, 0, g).Syllable, QStringLiteral("ti")); // F sharp
}

TEST(NoteEntryChoice, MelodyReadsTheStepInItsKey) {
    // G major: the F step gives F sharp whatever the sideways movement, without a symbol.
    expectChoices(melodyContext(55, 0), {{17, -100, 0, 66, "F#", 2},
                                         {17, 0, 0, 66, "F#", 2},
                                         {17, 100, 0, 66, "F#", 2},
                                         {3, 50, 0, 42, "F#", 2},
                                         {18, 50, 0, 67, "G", 2}});
    // D harmonic minor: B flat from the signature, the raised seventh with its sharp.
    expectChoices(melodyContext(62, 3), {{20, 0, 0, 70, "Bb", 2}, {21, -50, 0, 73, "C#", 3}});
    // Chromatic: sideways counts from the signature; a natural where it alters the letter.
    const auto chromatic = melodyContext(55, 6);
    EXPECT_FALSE(chromatic.KeyReading);
    expectChoices(chromatic, {{17, 0, 0, 66, "F#", 2},
                              {17, -25, 0, 65, "F", kNaturalSign},
                              {17, 25, 0, 67, "F##", 4},
                              {16, 25, 0, 65, "E#", 3}});
    // Without a key the melody module writes plainly.
    auto keyless = chromatic;
    keyless.Key.reset();
    expectChoices(keyless, {{17, 0, 0, 65, "F", 2}, {17, 25, 0, 66, "F#", 3}});
}

// ---------------------------------------------------------------------------------------------

int lightness(const QImage& img, double x, double y) {
    return QColor(img.pixel(static_cast<int>(x), static_cast<int>(y))).lightness();
}

bool anyDark(const QImage& img, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (lightness(img, x, y) < 60)
                return true;
    return false;
}

TEST(NoteInViewPicture, HeadLandsOnItsRowAndTheAccidentalOnlyWhenShown) {
    NoteInView view;
    EXPECT_EQ(view.size(), QSize(NoteInView::kWidth, NoteInView::kHeight));
    NoteEntryChoice c = chooseEntryNote(15, 0, 0, 30, 0, plainContext()); // D sharp
    ASSERT_EQ(c.Symbol, 3);
    EXPECT_TRUE(view.showChoice(c));
    EXPECT_FALSE(view.showChoice(c)); // nothing new: no redraw

    const int y = NoteInView::headY(c.Step);
    const QRect accidentalArea(18, y - 8, 14, 16);
    QImage img = view.grab().toImage();
    EXPECT_LT(lightness(img, NoteInView::kHeadX, y), 60);
    EXPECT_GT(lightness(img, NoteInView::kHeadX, y - 20), 100);
    EXPECT_GT(lightness(img, NoteInView::kHeadX, y + 20), 100);
    EXPECT_TRUE(anyDark(img, accidentalArea));

    view.setSymbolsShown(false);
    EXPECT_EQ(view.height(), NoteInView::kHeightWithoutSymbols);
    img = view.grab().toImage();
    EXPECT_FALSE(anyDark(img, accidentalArea));
    EXPECT_LT(lightness(img, NoteInView::kHeadX, y), 60);

    // The bottom line of each staff carries its E and G; low colour and twice the size.
    view.setHighColour(false);
    view.setScale(2.0);
    EXPECT_EQ(view.size(), QSize(2 * NoteInView::kWidth, 2 * NoteInView::kHeightWithoutSymbols));
    for (int step : {16, 4, 0}) {
        view.forgetShownNote();
        view.showChoice(chooseEntryNote(step, 0, 0, 0, 8, plainContext()));
        ASSERT_EQ(view.shownStep(), step);
        img = view.grab().toImage();
        const int row = NoteInView::headY(step);
        EXPECT_LT(lightness(img, 2 * NoteInView::kHeadX, 2 * row), 60) << step;
        EXPECT_LT(lightness(img, 2 * 34, 2 * row), 60) << step; // line or ledger line
    }
}

// ---------------------------------------------------------------------------------------------

// The central area 1000 × 400 with the staff 800 × 120 at (20, 150).
class StaffNoteEntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        area.resize(1000, 400);
        staff = new StaffWidget(&area);
        staff->setGeometry(20, 150, 800, 120);
        staff->ResetStaff(1, 0);
        entry = std::make_unique<StaffNoteEntry>(staff, &area);
        entry->setModule(1);
    }

    void press(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(staff, button, Qt::NoModifier, at);
    }
    void release(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseRelease(staff, button, Qt::NoModifier, at);
    }
    void click(QPoint at, Qt::MouseButton button) {
        press(at, button);
        release(at, button);
    }
    // The second press of a quick double click.
    void secondPress(QPoint at) {
        QMouseEvent e(QEvent::MouseButtonDblClick, QPointF(at), staff->mapToGlobal(QPointF(at)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(staff, &e);
    }
    void move(QPoint at) {
        QMouseEvent e(QEvent::MouseMove, QPointF(at), staff->mapToGlobal(QPointF(at)), Qt::NoButton,
                      Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(staff, &e);
    }
    bool viewOpen() const { return !entry->view()->isHidden(); }

    QWidget area;
    StaffWidget* staff = nullptr;
    std::unique_ptr<StaffNoteEntry> entry;
};

TEST_F(StaffNoteEntryTest, WrittenNoteIsPlayedAndAnsweredOnlyWhileATaskWaits) {
    QSignalSpy played(entry.get(), &StaffNoteEntry::playNote);
    QSignalSpy answers(entry.get(), &StaffNoteEntry::answer);
    QSignalSpy activity(entry.get(), &StaffNoteEntry::activity);
    entry->setTaskState(true, false);

    // The view opens above the staff at the text position; the note is chosen by the move.
    const QPoint middleC(300, Staff_Y(14, 0));
    press(middleC);
    ASSERT_TRUE(viewOpen());
    EXPECT_EQ(entry->view()->pos(), QPoint(20 + staff->StaffTextX + 10, 150 - 40));
    EXPECT_EQ(entry->view()->height(), NoteInView::kHeight);
    move(middleC + QPoint(25, -10));
    EXPECT_EQ(activity.count(), 1);
    release(middleC + QPoint(25, -10));
    EXPECT_FALSE(viewOpen());
    ASSERT_EQ(played.count(), 1);
    ASSERT_EQ(answers.count(), 1);
    EXPECT_EQ(answers.at(0), (QList<QVariant>{63, kSourceStaffNote}));

    // Answered already, or no task: the note only sounds.
    entry->setTaskState(true, true);
    press(middleC);
    release(middleC);
    entry->setTaskState(false, false);
    secondPress(middleC); // a quick second click writes a note too
    release(middleC);
    EXPECT_EQ(played.count(), 3);
    EXPECT_EQ(answers.count(), 1);
}

TEST_F(StaffNoteEntryTest, ScaledStaffReadsLogicalPixelsAndScalesTheView) {
    staff->setGeometry(20, 150, 1600, 240);
    area.resize(2000, 600);
    QSignalSpy played(entry.get(), &StaffNoteEntry::playNote);
    const QPoint middleC(600, 2 * Staff_Y(14, 0));
    press(middleC);
    ASSERT_TRUE(entry->active());
    EXPECT_EQ(entry->view()->size(),
              QSize(2 * NoteInView::kWidth, 2 * NoteInView::kHeight)); // as big as the staff
    EXPECT_EQ(entry->view()->pos(), QPoint(20 + 2 * (staff->StaffTextX + 10), 150 - 80));
    move(middleC + QPoint(50, -20)); // 25 logical pixels right, 10 up
    EXPECT_EQ(entry->choice().Name, QStringLiteral("D#"));
    release(middleC);
    ASSERT_EQ(played.count(), 1);
    EXPECT_EQ(played.at(0).at(0).toInt(), 63);

    // Near the right edge the view stays inside the central area.
    staff->StaffTextX = 990;
    press(middleC);
    EXPECT_EQ(entry->view()->geometry().right(), area.width() - 1);
    release(middleC);
}

TEST_F(StaffNoteEntryTest, OnlyIntervalChordInversionAndMelodyModulesOpenTheView) {
    QSignalSpy played(entry.get(), &StaffNoteEntry::playNote);
    const QPoint at(300, 50);
    for (int module = 1; module <= 7; ++module) {
        entry->setModule(module);
        press(at);
        const bool opens = module != 2 && module != 5 && module != 7;
        EXPECT_EQ(entry->active(), opens) << module;
        EXPECT_EQ(viewOpen(), opens) << module;
        release(at);
    }
    EXPECT_EQ(played.count(), 4);

    // Sight reading blocks the melody entry only while its task runs.
    entry->setModule(6);
    entry->setSightReading(true);
    press(at);
    EXPECT_TRUE(entry->active());
    release(at);
    entry->setTaskState(true, false);
    press(at);
    EXPECT_FALSE(entry->active());
    release(at);

    // A change of module closes an open view.
    entry->setModule(1);
    press(at);
    entry->setModule(2);
    EXPECT_FALSE(entry->active());
    EXPECT_FALSE(viewOpen());
}

TEST_F(StaffNoteEntryTest, RightClickCancelsOrAsksForVocalSupport) {
    CursorTable cursors;
    cursors.Load();
    entry = std::make_unique<StaffNoteEntry>(staff, &area, &cursors);
    QSignalSpy played(entry.get(), &StaffNoteEntry::playNote);
    QSignalSpy answers(entry.get(), &StaffNoteEntry::answer);
    entry->setModule(6);
    entry->setTaskState(true, false);
    staff->setToolTip(QStringLiteral("hint"));

    const QPoint at(300, 50);
    press(at);
    ASSERT_TRUE(entry->active());
    EXPECT_TRUE(staff->toolTip().isEmpty());
    EXPECT_TRUE(staff->testAttribute(Qt::WA_SetCursor));
    press(at, Qt::RightButton);
    EXPECT_FALSE(entry->active());
    EXPECT_FALSE(viewOpen());
    release(at, Qt::RightButton);
    release(at);
    EXPECT_EQ(played.count(), 0);
    EXPECT_EQ(answers.count(), 0);
    EXPECT_EQ(staff->toolTip(), QStringLiteral("hint"));
    EXPECT_FALSE(staff->testAttribute(Qt::WA_SetCursor));

    // No open view: a right click is a request for vocal support in a melody task.
    click(at, Qt::RightButton);
    EXPECT_EQ(answers.count(), 0);
    entry->setVocalSupport(true);
    click(at, Qt::RightButton);
    ASSERT_EQ(answers.count(), 1);
    EXPECT_EQ(answers.at(0).at(0).toInt(), 0);
    EXPECT_EQ(answers.at(0).at(1).toInt(), kSourceVocalSupport);
    entry->setModule(1);
    click(at, Qt::RightButton);
    entry->setModule(6);
    entry->setTaskState(false, false);
    click(at, Qt::RightButton);
    EXPECT_EQ(answers.count(), 1);
}

TEST_F(StaffNoteEntryTest, MelodyEntryReadsTheStaffsKeyAtItsTextPosition) {
    staff->setKey(SetupKeySignature(55, 0)); // G major
    staff->ResetStaff(6, 0);
    staff->MelodyTextX = 200;
    entry->setModule(6);
    entry->setMelodyTonality(0);
    entry->setSolfege(true);
    entry->setMelodyRoot(55);
    QSignalSpy played(entry.get(), &StaffNoteEntry::playNote);

    const QPoint f(300, Staff_Y(17, 0));
    press(f);
    ASSERT_TRUE(entry->active());
    EXPECT_EQ(entry->view()->pos().x(), 20 + 210);
    EXPECT_FALSE(entry->view()->symbolsShown());
    EXPECT_EQ(entry->view()->height(), NoteInView::kHeightWithoutSymbols);
    move(f + QPoint(-80, 0));
    EXPECT_EQ(entry->choice().Name, QStringLiteral("F#"));
    EXPECT_EQ(entry->choice().Syllable, QStringLiteral("ti"));
    release(f + QPoint(-80, 0));
    ASSERT_EQ(played.count(), 1);
    EXPECT_EQ(played.at(0).at(0).toInt(), 66);

    // The chromatic tonality shows the symbols.
    entry->setMelodyTonality(6);
    press(f);
    EXPECT_TRUE(entry->view()->symbolsShown());
    release(f);
}

} // namespace
