// The two settings dialogs as a user works them: what the controls show, what OK stores and
// Cancel leaves, the enabling rules, the test sounds and the remote keys.
#include "userdata/messages.h"
#include "userdata/midi_settings_dialog.h"
#include "userdata/other_settings_dialog.h"
#include "userdata/settings_record.h"
#include "userdata/strings.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace harmik;

namespace {

bool sameRecord(const SettingsRecord& a, const SettingsRecord& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void pressOk(QDialog& d) {
    d.findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
}

TEST(OtherSettingsDialog, OkStoresEveryFieldAndCancelNothing) {
    for (const bool ok : {true, false}) {
        SettingsRecord s = DefaultSettings();
        const SettingsRecord before = s;
        TTabDiverse d(s, true, {});
        d.Scr_HintPause()->setValue(4);
        d.Scr_AntOpgaver()->setValue(33);
        d.ScrRytmeSans()->setValue(92);
        for (QCheckBox* box : {d.CheckTips(), d.CheckNoStartSound(), d.CheckGermansk(),
                               d.CheckSolfege(), d.CheckStatuslinie(), d.CheckAkkGrundtone(),
                               d.CheckTilladSyng(), d.CheckRytmeTiming()})
            box->toggle();
        if (!ok) {
            d.reject();
            EXPECT_TRUE(sameRecord(s, before));
            continue;
        }
        pressOk(d);
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_EQ(s.HintDelay, 4);
        EXPECT_EQ(s.ExerciseOptions.ExercisesPerTask, 33);
        EXPECT_EQ(s.RhythmOptions.RhythmSensitivity, 92);
        EXPECT_FALSE(d.tipsAtStart());
        EXPECT_EQ(s.NoStartMusic, 1);
        EXPECT_EQ(s.GermanNaming, 1);
        EXPECT_EQ(s.Solfege, 1);
        EXPECT_EQ(s.StatusBar, 0);
        EXPECT_EQ(s.ChordTuning, 1);
        EXPECT_EQ(s.VocalSupport, 1);
        EXPECT_EQ(s.AltRhythmTiming, 1);
        // The tip switch is the main window's copy until the settings are saved.
        EXPECT_EQ(s.TipsAtStart, before.TipsAtStart);
    }
}

TEST(OtherSettingsDialog, SlidersShowTheirValuesAndTheHintPauseActsAtOnce) {
    SettingsRecord s = DefaultSettings();
    std::vector<int> preview;
    TTabDiverse d(s, true, [&](int seconds) { preview.push_back(seconds); });
    // As opened from the defaults: one second, 20 exercises, sensitivity 96 shown as 7.
    EXPECT_EQ(d.LabHintPause()->text(), QStringLiteral("1"));
    EXPECT_EQ(d.LabAntOpgaver()->text(), QStringLiteral("20"));
    EXPECT_EQ(d.LabRytmeSans()->text(), QStringLiteral("7"));
    EXPECT_TRUE(preview.empty());

    const struct {
        int seconds;
        const char* shown;
    } cases[] = {{0, "0"}, {10, "(выкл.)"}, {3, "3"}};
    for (const auto& c : cases) {
        d.Scr_HintPause()->setValue(c.seconds);
        EXPECT_EQ(d.LabHintPause()->text(), QString::fromUtf8(c.shown));
        EXPECT_EQ(preview.back(), c.seconds);
    }
    d.ScrRytmeSans()->setValue(99);
    EXPECT_EQ(d.LabRytmeSans()->text(), QStringLiteral("10"));
    d.Scr_AntOpgaver()->setValue(100);
    EXPECT_EQ(d.LabAntOpgaver()->text(), QStringLiteral("50"));
}

TEST(SettingsDialogs, ReopenOnTheLastPage) {
    SettingsRecord s = DefaultSettings();
    {
        TTabDiverse d(s, true, {});
        d.Pages()->setCurrentIndex(1);
    }
    TTabDiverse again(s, true, {});
    EXPECT_EQ(again.Pages()->currentIndex(), 1);

    {
        TIndstillinger d(s, {});
        d.Pages()->setCurrentIndex(2);
        EXPECT_EQ(d.helpContext(), 202);
    }
    TIndstillinger midiAgain(s, {});
    EXPECT_EQ(midiAgain.Pages()->currentIndex(), 2);
    midiAgain.Pages()->setCurrentIndex(0);
}

struct Played {
    int channel, note, velocity, ms;
    bool operator==(const Played&) const = default;
};

class MidiSettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        s = DefaultSettings();
        before = s;
        SetMessageHook([this](const MessageRequest& r) {
            shown.push_back(r);
            return MessageAnswer::Ok;
        });
    }
    void TearDown() override { SetMessageHook({}); }

    MidiSettingsSound sound() {
        MidiSettingsSound m;
        m.outputs = {QStringLiteral("Synth"), QStringLiteral("Port A"), QStringLiteral("Port B")};
        m.inputs = {QStringLiteral("Keys A"), QStringLiteral("Keys B")};
        m.drumName = [](int note) {
            return note >= 27 && note <= 88 ? QStringLiteral("Drum %1").arg(note) : QString();
        };
        m.testNote = [this](int c, int n, int v, int ms) { played.push_back({c, n, v, ms}); };
        m.playWave = [this](const QString& f) { waves.push_back(f); };
        return m;
    }

    SettingsRecord s;
    SettingsRecord before;
    std::vector<MessageRequest> shown;
    std::vector<Played> played;
    QStringList waves;
};

TEST_F(MidiSettingsDialogTest, OkStoresEveryFieldAndCancelNothing) {
    for (const bool ok : {true, false}) {
        s = before;
        played.clear();
        TIndstillinger d(s, sound());
        EXPECT_TRUE(played.empty()); // setting the controls sounds nothing
        d.ComboMidiOut()->setCurrentIndex(2);
        d.ComboMidiThru()->setCurrentIndex(1);
        d.ComboMidiIn()->setCurrentIndex(1);
        d.SpinKanalOut()->setValue(3);
        d.SpinKanalThru()->setValue(4);
        d.CheckGMud()->setChecked(false);
        d.CheckGMthru()->setChecked(false);
        d.CheckThru()->setChecked(false);
        d.CheckPCspeaker()->setChecked(true);
        int base = 5;
        for (int i = 0; i < TIndstillinger::SoundRowCount; ++i) {
            const auto& row = d.soundRow(TIndstillinger::SoundRowIndex(i));
            if (row.channel)
                row.channel->setValue(base);
            row.sound->setValue(40 + base);
            row.volume->setValue(50 + base);
            ++base;
        }
        d.ScrKorrektLydDigi()->setValue(7);
        d.ScrFejlLydDigi()->setValue(8);
        for (int i = 0; i < 3; ++i)
            d.Scr_Remote(i)->setValue(60 + i);
        d.RadioRespons()->button(2)->click();
        if (!ok) {
            d.reject();
            EXPECT_TRUE(sameRecord(s, before));
            continue;
        }
        pressOk(d);
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_EQ(s.MidiOutDevice, 2);
        EXPECT_EQ(s.MidiThruDevice, 1);
        EXPECT_EQ(s.MidiInDevice, 1);
        EXPECT_EQ(s.OutChannel, 3);
        EXPECT_EQ(s.ThruChannel, 4);
        EXPECT_EQ(s.OutIsGM, 0);
        EXPECT_EQ(s.ThruIsGM, 0);
        EXPECT_EQ(s.MidiThruOn, 0);
        EXPECT_EQ(s.PcSpeakerOnly, 1);
        EXPECT_EQ(s.ClickChannel, 5);
        EXPECT_EQ(s.ClickSound, 45);
        EXPECT_EQ(s.ClickVolume, 55);
        EXPECT_EQ(s.FirstBeatSound, 46);
        EXPECT_EQ(s.FirstBeatVolume, 56);
        EXPECT_EQ(s.RhythmChannel, 7);
        EXPECT_EQ(s.RhythmSound, 47);
        EXPECT_EQ(s.RhythmVolume, 57);
        EXPECT_EQ(s.CorrectChannel, 8);
        EXPECT_EQ(s.CorrectSound, 48);
        EXPECT_EQ(s.CorrectVolume, 58);
        EXPECT_EQ(s.WrongChannel, 9);
        EXPECT_EQ(s.WrongSound, 49);
        EXPECT_EQ(s.WrongVolume, 59);
        EXPECT_EQ(s.CorrectWave, 7);
        EXPECT_EQ(s.WrongWave, 8);
        EXPECT_EQ(s.RemoteKey1, 60);
        EXPECT_EQ(s.RemoteKey2, 61);
        EXPECT_EQ(s.RemoteKey3, 62);
        EXPECT_EQ(s.ExerciseOptions.FeedbackType, 2);
    }
}

TEST_F(MidiSettingsDialogTest, TheSynthesizerServesBothOutputsOrNeither) {
    TIndstillinger d(s, sound());
    // Choosing it for one list chooses it for the other.
    d.ComboMidiOut()->setCurrentIndex(1);
    d.ComboMidiThru()->setCurrentIndex(1);
    d.ComboMidiThru()->setCurrentIndex(0);
    emit d.ComboMidiThru()->activated(0);
    EXPECT_EQ(d.ComboMidiOut()->currentIndex(), 0);

    // Chosen for one only: 2006 with its help, the dialog stays, nothing is stored.
    d.ComboMidiThru()->setCurrentIndex(2);
    d.Scr_Remote(0)->setValue(40);
    pressOk(d);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text,
              QStringLiteral("Используйте MIDI-карту и для MIDI ВЫХ.и для MIDI THRU"));
    EXPECT_EQ(shown[0].buttons, MessageButtons::OkHelp);
    EXPECT_EQ(shown[0].helpTopic, 210);
    EXPECT_EQ(d.result(), 0);
    EXPECT_TRUE(sameRecord(s, before));
}

TEST_F(MidiSettingsDialogTest, PcSpeakerDisablesTheMidiDevicesAndFeedbackShowsItsPanel) {
    TIndstillinger d(s, sound());
    const std::vector<QWidget*> midi{d.ComboMidiOut(),  d.SpinKanalOut(),  d.CheckGMud(),
                                     d.ComboMidiThru(), d.SpinKanalThru(), d.CheckGMthru(),
                                     d.CheckThru()};
    for (const bool speaker : {true, false}) {
        d.CheckPCspeaker()->setChecked(speaker);
        for (QWidget* w : midi)
            EXPECT_EQ(w->isEnabled(), !speaker) << w->metaObject()->className();
        EXPECT_TRUE(d.ComboMidiIn()->isEnabled());
    }

    const struct {
        int item;
        bool wave, midiSounds;
    } cases[] = {{1, false, true}, {2, false, false}, {0, true, false}};
    for (const auto& c : cases) {
        d.RadioRespons()->button(c.item)->click();
        EXPECT_EQ(!d.PanDigiLyde()->isHidden(), c.wave) << c.item;
        EXPECT_EQ(!d.PanLyde()->isHidden(), c.midiSounds) << c.item;
    }
}

TEST_F(MidiSettingsDialogTest, SoundsAreNamedAndHeard) {
    TIndstillinger d(s, sound());
    const auto& click = d.soundRow(TIndstillinger::Click);
    const auto& correct = d.soundRow(TIndstillinger::Correct);
    // General MIDI: drum names for the drum notes; the feedback sound only for 27..88.
    EXPECT_EQ(click.soundLabel->text(), QStringLiteral("Drum 39"));
    EXPECT_EQ(correct.soundLabel->text(), QStringLiteral("Drum 56"));
    correct.sound->setValue(100);
    EXPECT_EQ(correct.soundLabel->text(), QStringLiteral("100"));
    d.CheckGMud()->setChecked(false);
    EXPECT_EQ(click.soundLabel->text(), QStringLiteral("39"));
    d.CheckGMud()->setChecked(true);
    d.CheckPCspeaker()->setChecked(true);
    EXPECT_EQ(click.soundLabel->text(), QStringLiteral("39"));
    EXPECT_EQ(d.LabKorrektLydDigi()->text(), QStringLiteral("WAV1"));

    // A moved slider sounds 200 ms, a test button 300 ms; the first beat has the click's
    // channel.
    played.clear();
    click.volume->setValue(70);
    d.soundRow(TIndstillinger::FirstBeat).test->click();
    const std::vector<Played> expected{{10, 39, 70, 200}, {10, 37, 80, 300}};
    EXPECT_EQ(played, expected);

    d.ScrFejlLydDigi()->setValue(3);
    EXPECT_EQ(d.LabFejlLydDigi()->text(), QStringLiteral("WAV3"));
    d.waveTestButton(false)->click();
    d.waveTestButton(true)->click();
    EXPECT_EQ(waves, QStringList({QStringLiteral("wrong3.wav"), QStringLiteral("right1.wav")}));
}

TEST_F(MidiSettingsDialogTest, RemoteKeysShowNoteNamesAndFollowTheKeyboard) {
    const struct {
        int key;
        const char* name;
    } names[] = {{84, "C +2"}, {97, "Db +3"}, {60, "C "}, {71, "B "}, {48, "C -1"}, {0, "C -5"}};
    for (const auto& n : names)
        EXPECT_EQ(RemoteKeyName(n.key), QString::fromUtf8(n.name)) << n.key;

    TIndstillinger d(s, sound());
    EXPECT_EQ(d.remoteKeyLabel(0)->text(), QStringLiteral("Db +3"));
    d.Pages()->setCurrentIndex(TIndstillinger::kRemoteKeyPage);
    EXPECT_TRUE(d.remoteKeyPageShown());
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    // No slider focused: the first takes the note.
    d.moveFocusedRemoteKey(84);
    EXPECT_EQ(d.Scr_Remote(0)->value(), 84);
    EXPECT_EQ(d.remoteKeyLabel(0)->text(), QStringLiteral("C +2"));
    EXPECT_EQ(d.pointerRow(), 0);
    // A click on a key's function focuses its slider, which then takes the note.
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(d.remoteFunctionLabel(2), &release);
    ASSERT_TRUE(d.Scr_Remote(2)->hasFocus());
    d.moveFocusedRemoteKey(50);
    EXPECT_EQ(d.Scr_Remote(2)->value(), 50);
    EXPECT_EQ(d.pointerRow(), 2);
    d.Pages()->setCurrentIndex(0);
}

} // namespace
