// The main window's settings commands: the two settings dialogs with what follows their OK.
#include "app/exercise_options.h"
#include "app/exercise_staff.h"
#include "app/main_window.h"
#include "app/melody_options.h"
#include "app/sound_bridge.h"
#include "input/staff_widget.h"
#include "midi/sound_tables.h"
#include "userdata/hints.h"
#include "userdata/messages.h"
#include "userdata/midi_settings_dialog.h"
#include "userdata/other_settings_dialog.h"
#include "userdata/strings.h"

#include <QAction>
#include <QLabel>
#include <QTimer>

namespace harmik {

MidiSettingsSound TForm1::midiSettingsSound() {
    MidiSettingsSound s;
    s.outputs = sound_->MidiOutList();
    s.inputs = sound_->MidiInList();
    s.drumName = [](int note) {
        const std::string_view name = DrumSoundName(note);
        return QString::fromUtf8(name.data(), qsizetype(name.size()));
    };
    s.testNote = [this](int channel, int note, int velocity, int ms) {
        sound_->Output().NoteOn(settings_.MidiOutDevice, channel, note, velocity);
        QTimer::singleShot(ms, this, [this, channel, note] {
            sound_->Output().NoteOff(settings_.MidiOutDevice, channel, note);
        });
    };
    s.playWave = [this](const QString& file) { sound_->Output().PlayWaveFile(file, false); };
    return s;
}

void TForm1::MidiSetupClick() {
    const SettingsRecord before = settings_;
    bool ok = false;
    {
        TIndstillinger dialog(settings_, midiSettingsSound(), this);
        ok = dialog.exec() == QDialog::Accepted;
    }
    if (ok)
        applyMidiSettings(before);
}

void TForm1::applyMidiSettings(const SettingsRecord& before) {
    syncSoundSettings();
    if (before.MidiOutDevice != settings_.MidiOutDevice ||
        before.MidiThruDevice != settings_.MidiThruDevice ||
        before.MidiInDevice != settings_.MidiInDevice)
        ShowSoundMessages(this, sound_->ReopenDevices());
    // The instruments on the channels (and devices) now chosen.
    sound_->ApplyLoadedSettings();
    actions_.value(QStringLiteral("mMidiThru"))->setChecked(settings_.MidiThruOn != 0);
    if (settings_.PcSpeakerOnly != 0)
        options_->ApplyPcSpeakerRule();
}

void TForm1::DiverseTabClick() {
    const bool statusBarBefore = settings_.StatusBar != 0;
    {
        TTabDiverse dialog(
            settings_, tipsAtStart_, [this](int seconds) { hintTiming_->SetHintDelay(seconds); },
            this);
        if (dialog.exec() == QDialog::Accepted) {
            tipsAtStart_ = dialog.tipsAtStart();
            melodyOptions_->ComboTonalitetChange();
        }
    }
    applyOtherSettings(statusBarBefore);
}

void TForm1::applyOtherSettings(bool statusBarBefore) {
    const bool german = settings_.GermanNaming != 0;
    options_->SetGermanNaming(german);
    options_->ReselectRootItem();
    imageStaff_->setGermanNaming(german);
    exerciseStaff_->setGermanNaming(german);
    syncInputState();
    // Also what undoes the hint pause a cancelled dialog tried out.
    hintTiming_->SetHintDelay(settings_.HintDelay);
    if (statusBarBefore != (settings_.StatusBar != 0))
        applyStatusBar();
}

} // namespace harmik
