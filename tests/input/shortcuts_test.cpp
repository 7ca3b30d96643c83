#include "input/event_clock.h"
#include "input/shortcuts.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

using namespace harmik;

namespace {

ShortcutActions Down(int code, ShortcutState state, bool shiftOnly = false) {
    return FormKeyDownActions({code, shiftOnly}, state);
}

ShortcutActions Only(bool ShortcutActions::*member) {
    ShortcutActions a;
    a.*member = true;
    return a;
}

constexpr ShortcutState kIdle{};
constexpr ShortcutState kRunning{false, true, false};

TEST(Shortcuts, StartAndStopKeys) {
    EXPECT_EQ(Down(KeyCode::Enter, kIdle), Only(&ShortcutActions::Start));
    EXPECT_EQ(Down(KeyCode::S, kIdle), Only(&ShortcutActions::Start))
        << "S starts and does not stop the task it started";
    for (int key : {KeyCode::Escape, KeyCode::Insert, KeyCode::NumPad0})
        EXPECT_FALSE(Down(key, kIdle).any()) << key;

    for (int key : {KeyCode::Escape, KeyCode::Insert, KeyCode::S, KeyCode::NumPad0})
        EXPECT_EQ(Down(key, kRunning), Only(&ShortcutActions::Stop)) << key;
    EXPECT_FALSE(Down(KeyCode::Enter, kRunning).any());
    EXPECT_FALSE(Down(KeyCode::None, kRunning).any());
}

TEST(Shortcuts, EscapeWithTheTutorAndDeleteAsPanic) {
    ShortcutActions stopAndTutor = Only(&ShortcutActions::Stop);
    stopAndTutor.TutorMenu = true;
    EXPECT_EQ(Down(KeyCode::Escape, {false, true, true}), stopAndTutor);
    EXPECT_EQ(Down(KeyCode::Escape, {false, false, true}), Only(&ShortcutActions::TutorMenu));
    EXPECT_EQ(Down(KeyCode::Enter, {false, false, true}), Only(&ShortcutActions::Start));

    EXPECT_EQ(Down(KeyCode::Delete, kIdle), Only(&ShortcutActions::Panic));
    EXPECT_EQ(Down(KeyCode::Delete, kRunning), Only(&ShortcutActions::Panic));
}

TEST(Shortcuts, ShiftAndSpaceTapTheRhythmOnlyWhileARhythmTaskRuns) {
    const ShortcutState rhythmTask{true, true, true};
    EXPECT_EQ(Down(KeyCode::Shift, rhythmTask, true), Only(&ShortcutActions::RhythmTap));
    EXPECT_EQ(Down(KeyCode::Space, rhythmTask), Only(&ShortcutActions::RhythmTap));
    EXPECT_FALSE(Down(KeyCode::Space, {true, false, false}).any()) << "no task: no tap";
    EXPECT_FALSE(Down(KeyCode::Space, kRunning).any()) << "not the rhythm module";
    EXPECT_EQ(Down(KeyCode::Escape, rhythmTask, true), Only(&ShortcutActions::RhythmTap))
        << "a shifted key taps and does nothing else";
    EXPECT_EQ(Down(KeyCode::Escape, rhythmTask, false).Stop, true);
    EXPECT_FALSE(Down(KeyCode::Shift, {true, false, false}, true).any());
    EXPECT_FALSE(Down(KeyCode::Shift, kRunning, true).any()) << "not the rhythm module";
    EXPECT_EQ(Down(KeyCode::S, {true, false, false}, true), Only(&ShortcutActions::Start));

    EXPECT_TRUE(FormKeyUpSendsRhythmOff(true, true));
    EXPECT_FALSE(FormKeyUpSendsRhythmOff(true, false));
    EXPECT_FALSE(FormKeyUpSendsRhythmOff(false, true));
}

TEST(Shortcuts, QtKeysMapToTheWindowsKeyCodes) {
    struct Case {
        int qtKey;
        Qt::KeyboardModifiers modifiers;
        int code;
        bool shiftOnly;
    };
    const Case cases[] = {
        {Qt::Key_Return, Qt::NoModifier, KeyCode::Enter, false},
        {Qt::Key_Enter, Qt::KeypadModifier, KeyCode::Enter, false},
        {Qt::Key_S, Qt::NoModifier, KeyCode::S, false},
        {Qt::Key_S, Qt::ShiftModifier, KeyCode::S, true},
        {Qt::Key_S, Qt::ShiftModifier | Qt::ControlModifier, KeyCode::S, false},
        {Qt::Key_Escape, Qt::NoModifier, KeyCode::Escape, false},
        {Qt::Key_Space, Qt::NoModifier, KeyCode::Space, false},
        {Qt::Key_Insert, Qt::KeypadModifier, KeyCode::Insert, false},
        {Qt::Key_0, Qt::KeypadModifier, KeyCode::NumPad0, false},
        {Qt::Key_0, Qt::NoModifier, KeyCode::None, false},
        {Qt::Key_Delete, Qt::NoModifier, KeyCode::Delete, false},
        {Qt::Key_Shift, Qt::NoModifier, KeyCode::Shift, true},
        {Qt::Key_Shift, Qt::ShiftModifier, KeyCode::Shift, true},
        {Qt::Key_Shift, Qt::ShiftModifier | Qt::AltModifier, KeyCode::Shift, false},
        {Qt::Key_A, Qt::ShiftModifier, KeyCode::None, true},
    };
    for (const Case& c : cases) {
        const QKeyEvent event(QEvent::KeyPress, c.qtKey, c.modifiers);
        const ShortcutKey key = ShortcutKeyOf(event);
        EXPECT_EQ(key.Code, c.code) << std::hex << c.qtKey;
        EXPECT_EQ(key.ShiftOnly, c.shiftOnly) << std::hex << c.qtKey;
    }
}

// A tap is timed by its key event's own stamp, brought onto the program's clock.
TEST(EventClock, StampsOfTheSameClockStandAndOthersAreMovedOntoIt) {
    struct Case {
        qint64 stamp;
        std::uint32_t now;
        std::uint32_t expected;
    };
    EventClock same;
    for (const Case c : {Case{100000, 100035, 100000}, Case{100040, 100035, 100040},
                         Case{0, 5000, 5000}, Case{0xFFFFFFF0, 0x10, 0xFFFFFFF0}})
        EXPECT_EQ(same.toClock(c.stamp, c.now), c.expected) << c.stamp;

    // A clock of its own (stamps from 1000, ours near 9,000,000): the least delay seen is
    // the offset.
    EventClock foreign;
    EXPECT_EQ(foreign.toClock(1000, 9000030), 9000030u);
    EXPECT_EQ(foreign.toClock(2000, 9001010), 9001010u) << "delivered sooner: a new offset";
    EXPECT_EQ(foreign.toClock(3000, 9002500), 9002010u) << "delivered late: moved back";
}

} // namespace
