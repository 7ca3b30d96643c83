// The settings commands of the main window: the two settings dialogs opened from the menu and
// what their OK changes in the window and its devices, and the exercise-set files.
#include "app/exercise_options.h"
#include "app/main_window.h"
#include "app/settings_commands.h"
#include "userdata/exercise_sets.h"
#include "userdata/midi_settings_dialog.h"
#include "userdata/other_settings_dialog.h"
#include "window_test_support.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
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

bool writeBytes(const QString& name, const QByteArray& bytes) {
    QFile f(name);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
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

    // Chooses `path` in the exercise-set file dialog the command opens.
    void chooseFile(const QString& path) {
        whenOpen<QFileDialog>([path](QFileDialog& d) {
            EXPECT_EQ(QDir(d.directory()).canonicalPath(), QDir::current().canonicalPath());
            d.selectFile(path);
            static_cast<QDialog&>(d).accept(); // as the dialog's own button does
        });
    }
};

TEST_F(SettingsCommandsTest, TheSettingsCommandsAreThereWithTheirShortcuts) {
    auto w = makeWindow();
    const struct {
        const char* item;
        const char* keys;
    } items[] = {
        {"mMidi", "Ctrl+M"}, {"mDiverse", "Ctrl+O"}, {"mGemovelse", "F2"}, {"mHentovelse", "F3"}};
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

TEST_F(SettingsCommandsTest, AnExerciseSetSavedWithF2OpensItsModuleWithF3) {
    auto w = makeWindow();
    w->SelectModule(7);
    QFile::remove(QStringLiteral("top10.hkt"));
    chooseFile(QDir::current().filePath(QStringLiteral("lesson")));
    w->menuAction(QStringLiteral("mGemovelse"))->trigger();
    const QByteArray set = fileBytes(QStringLiteral("lesson.HKS"));
    ASSERT_EQ(set.size(), 966);
    EXPECT_EQ(set.left(20), QByteArray("\x13HARMIK SETUP 1.6 b1"));
    EXPECT_EQ(fileBytes(QStringLiteral("top10.hkt")).size(), 576);

    // Another module and other own settings; the set brings back only its exercise part.
    w->SelectModule(1);
    SettingsRecord& s = w->Settings();
    s.RemoteKey1 = 11;
    s.HintDelay = 7;
    s.ClickSound = 44;
    chooseFile(QDir::current().filePath(QStringLiteral("lesson.HKS")));
    w->menuAction(QStringLiteral("mHentovelse"))->trigger();
    EXPECT_EQ(s.CurrentModule, 7);
    EXPECT_EQ(w->windowTitle(), QStringLiteral(" H A R M I K - Ритм"));
    EXPECT_EQ(s.RemoteKey1, 11);
    EXPECT_EQ(s.HintDelay, 7);
    EXPECT_EQ(s.ClickSound, 44);
    EXPECT_TRUE(shown.empty());
}

TEST_F(SettingsCommandsTest, ExerciseSetsThatAreRefusedChangeNothing) {
    auto w = makeWindow();
    SettingsRecord file = DefaultSettings();
    file.CurrentModule = 6;
    file.ExerciseOptions.ExercisesPerTask = 9;
    file.MidiOutDevice = 1;
    file.RemoteKey2 = 12;
    ASSERT_TRUE(SaveSettingsFile(file, QStringLiteral("init-copy.hks"), nullptr));
    const QByteArray whole = fileBytes(QStringLiteral("init-copy.hks"));
    QByteArray otherHeader = whole;
    otherHeader[18] = '5';

    const struct {
        const char* name;
        QByteArray bytes;
        bool loads;
    } cases[] = {
        {"copy.HKS", whole, true},
        {"exact.hks", whole.left(520), true},
        {"short.HKS", whole.left(519), false},
        {"other.HKS", otherHeader, false},
        {"empty.HKS", QByteArray(), false},
    };
    for (const auto& c : cases) {
        w->SelectModule(1);
        w->Settings().ExerciseOptions.ExercisesPerTask = 20;
        shown.clear();
        const SettingsRecord before = w->Settings();
        ASSERT_TRUE(writeBytes(QString::fromLatin1(c.name), c.bytes));
        EXPECT_EQ(w->SettingsMenu().LoadExerciseSetFrom(QString::fromLatin1(c.name)), c.loads)
            << c.name;
        const SettingsRecord& s = w->Settings();
        // Devices and remote keys are the running program's in every case.
        EXPECT_EQ(s.MidiOutDevice, before.MidiOutDevice) << c.name;
        EXPECT_EQ(s.RemoteKey2, before.RemoteKey2) << c.name;
        if (c.loads) {
            EXPECT_EQ(s.CurrentModule, 6) << c.name;
            EXPECT_EQ(s.ExerciseOptions.ExercisesPerTask, 9) << c.name;
            EXPECT_TRUE(shown.empty()) << c.name;
        } else {
            EXPECT_EQ(std::memcmp(&s, &before, sizeof s), 0) << c.name;
            ASSERT_EQ(shown.size(), 1u) << c.name;
            EXPECT_EQ(shown[0].text, LoadStr(657));
        }
    }
}

TEST_F(SettingsCommandsTest, ASetThatCannotBeWrittenIsNamedWithTheReason) {
    auto w = makeWindow();
    const QString path = QDir::current().filePath(QStringLiteral("no-such-folder/lesson.HKS"));
    EXPECT_FALSE(w->SettingsMenu().SaveExerciseSetTo(path));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].type, MessageType::Warning);
    EXPECT_TRUE(shown[0].text.startsWith(FormatStr(2041, {path, QString()}).left(20)));
    EXPECT_TRUE(shown[0].text.contains(path));
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
