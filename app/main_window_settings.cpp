// The main window's settings commands: the two settings dialogs with what follows their OK,
// and the exercise-set files.
#include "app/exercise_options.h"
#include "app/exercise_staff.h"
#include "app/main_window.h"
#include "app/melody_options.h"
#include "app/sound_bridge.h"
#include "input/staff_widget.h"
#include "midi/sound_tables.h"
#include "userdata/exercise_sets.h"
#include "userdata/hints.h"
#include "userdata/messages.h"
#include "userdata/midi_settings_dialog.h"
#include "userdata/other_settings_dialog.h"
#include "userdata/strings.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QTimer>

namespace harmik {
namespace {

constexpr int kSaveTitle = 654;
constexpr int kLoadTitle = 655;
constexpr int kFileNotWritten = 2041;

void warnNotWritten(QWidget* parent, const QString& path, const QString& reason) {
    ShowMessage(parent,
                {MessageType::Warning,
                 MessageButtons::Ok,
                 FormatStr(kFileNotWritten, {QDir::current().absoluteFilePath(path), reason}),
                 0,
                 {}});
}

// The desktop's file dialog for exercise sets, opening in the user's folder.
QString askExerciseSetFile(QWidget* parent, bool save) {
    QFileDialog dialog(parent, LoadStr(save ? kSaveTitle : kLoadTitle), QDir::currentPath(),
                       ExerciseSetFilter());
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QString::fromLatin1(kExerciseSetSuffix));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

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

void TForm1::mGemovelseClick() {
    const QString path = askExerciseSetFile(this, true);
    if (!path.isEmpty())
        SaveExerciseSetTo(path);
}

void TForm1::mHentovelseClick() {
    const QString path = askExerciseSetFile(this, false);
    if (!path.isEmpty())
        LoadExerciseSetFrom(path);
}

bool TForm1::SaveExerciseSetTo(const QString& path) {
    SaveSettings();
    QString reason;
    bool ok = true;
    if (!SaveSettingsFile(settings_, path, &reason)) {
        warnNotWritten(this, path, reason);
        ok = false;
    }
    if (!WriteTopTen(topTen_, QString::fromLatin1(kTopTenFileName), &reason)) {
        warnNotWritten(this, QString::fromLatin1(kTopTenFileName), reason);
        ok = false;
    }
    return ok;
}

bool TForm1::LoadExerciseSetFrom(const QString& path) {
    if (session_->running())
        EarStopOve(); // the set may change the module and its choices under the task
    if (!LoadExerciseSet(settings_, path)) {
        ShowMessage(this,
                    {MessageType::Plain, MessageButtons::Ok, LoadStr(kExerciseSetRefused), 0, {}});
        return false;
    }
    EarSetLoadedSettings();
    syncSoundSettings();
    return true;
}

} // namespace harmik
