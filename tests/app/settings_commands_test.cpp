// The settings commands of the main window: the two settings dialogs opened from the menu and
// what their OK changes in the window and its devices, and the exercise-set files.
#include "app/exercise_options.h"
#include "app/main_window.h"
#include "userdata/midi_settings_dialog.h"
#include "userdata/other_settings_dialog.h"
#include "window_test_support.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

using namespace harmik;

namespace {

QByteArray fileBytes(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int hintPauseMs() {
    return QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay);
}

class SettingsCommandsTest : public WindowTest {
protected:
    // Runs `work` on the dialog of type D once the menu command has opened it.
    template <class D> void whenOpen(std::function<void(D&)> work) {
        QTimer::singleShot(0, [work] {
            auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            work(*d);
        });
    }
    static void pressOk(QDialog& d) { d.findChild<QPushButton*>(QStringLiteral("OKBtn"))->click(); }
};

TEST_F(SettingsCommandsTest, TheSettingsCommandsAreThereWithTheirShortcuts) {
    auto w = makeWindow();
    const struct {
        const char* item;
        const char* keys;
    } items[] = {{"mMidi", "Ctrl+M"}, {"mDiverse", "Ctrl+O"}};
    for (const auto& i : items) {
        QAction* a = w->menuAction(QString::fromLatin1(i.item));
        EXPECT_TRUE(a->isEnabled()) << i.item;
        EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromLatin1(i.keys))) << i.item;
    }
}

TEST_F(SettingsCommandsTest, OtherSettingsTakeEffectAfterOkAndCancelTakesBackTheHintPause) {
    auto w = makeWindow();
    w->show();
    int pauseWhileOpen = -1;
    whenOpen<TTabDiverse>([&](TTabDiverse& d) {
        d.CheckGermansk()->setChecked(true);
        d.CheckStatuslinie()->setChecked(false);
        d.CheckTips()->setChecked(false);
        d.Scr_AntOpgaver()->setValue(12);
        d.Scr_HintPause()->setValue(0);
        pauseWhileOpen = hintPauseMs();
        pressOk(d);
    });
    w->menuAction(QStringLiteral("mDiverse"))->trigger();
    EXPECT_EQ(pauseWhileOpen, 0);
    EXPECT_EQ(w->Options()->ComboGrundtone()->itemText(11), QStringLiteral("H"));
    EXPECT_EQ(w->PanStatus()->height(), 0);
    EXPECT_FALSE(w->TipsAtStart());
    EXPECT_EQ(w->Settings().ExerciseOptions.ExercisesPerTask, 12);
    EXPECT_EQ(hintPauseMs(), 0);

    // Tried out and cancelled: the pause goes back, nothing else moves.
    const SettingsRecord before = w->Settings();
    whenOpen<TTabDiverse>([&](TTabDiverse& d) {
        d.Scr_HintPause()->setValue(5);
        pauseWhileOpen = hintPauseMs();
        d.CheckGermansk()->setChecked(false);
        d.reject();
    });
    w->menuAction(QStringLiteral("mDiverse"))->trigger();
    EXPECT_EQ(pauseWhileOpen, 5000);
    EXPECT_EQ(hintPauseMs(), 0);
    EXPECT_EQ(std::memcmp(&before, &w->Settings(), sizeof before), 0);
    EXPECT_EQ(w->Options()->ComboGrundtone()->itemText(11), QStringLiteral("H"));
}

TEST_F(SettingsCommandsTest, MidiSettingsMoveTheDevicesAndTheKeyboardSetsARemoteKey) {
    auto w = makeWindow();
    w->show();
    ASSERT_EQ(w->Sound().MIDIUD().DeviceID(), -1); // the built-in synthesizer first

    // The MIDI port for both outputs; a moved click slider is heard on the port at once.
    whenOpen<TIndstillinger>([&](TIndstillinger& d) {
        EXPECT_EQ(d.ComboMidiOut()->count(), 2);
        EXPECT_EQ(d.ComboMidiOut()->itemText(0), LoadStr(1361));
        d.ComboMidiOut()->setCurrentIndex(1);
        d.ComboMidiThru()->setCurrentIndex(1);
        d.CheckThru()->setChecked(false);
        d.Pages()->setCurrentIndex(TIndstillinger::kRemoteKeyPage);
        // A key on the MIDI keyboard while the remote-key page shows.
        ASSERT_TRUE(midi.feed({0x90, 50, 100}));
        EXPECT_TRUE(QTest::qWaitFor([&] { return d.Scr_Remote(0)->value() == 50; }, 5000));
        pressOk(d);
    });
    w->menuAction(QStringLiteral("mMidi"))->trigger();
    TMidiOutput& out = w->Sound().MIDIUD();
    EXPECT_TRUE(out.isOpen());
    EXPECT_EQ(out.DeviceID(), 0);
    EXPECT_EQ(w->Settings().RemoteKey1, 50);
    EXPECT_FALSE(w->menuAction(QStringLiteral("mMidiThru"))->isChecked());
    EXPECT_TRUE(midi.inputOpen());

    midi.Sent.clear();
    whenOpen<TIndstillinger>([&](TIndstillinger& d) {
        d.soundRow(TIndstillinger::Click).test->click();
        // Back to the built-in synthesizer, chosen through the thru list.
        d.ComboMidiThru()->setCurrentIndex(0);
        emit d.ComboMidiThru()->activated(0);
        pressOk(d);
    });
    w->menuAction(QStringLiteral("mMidi"))->trigger();
    EXPECT_EQ(midi.Sent.shortsTo(0).front(), 0x99u | (39u << 8) | (80u << 16));
    EXPECT_EQ(out.DeviceID(), -1);
    EXPECT_TRUE(out.isOpen());
    EXPECT_EQ(w->Settings().MidiThruDevice, 0);

    // After closing the program the choices are in the settings file.
    answers = {MessageAnswer::Yes};
    ASSERT_TRUE(w->close());
    const QByteArray file = fileBytes(QStringLiteral("init.hkm"));
    ASSERT_EQ(file.size(), 966);
    EXPECT_EQ(file[952], 50); // RemoteKey1
    EXPECT_EQ(file[521], 0);  // MidiThruOn
    EXPECT_EQ(file[860], 0);  // MidiOutDevice
}

} // namespace
