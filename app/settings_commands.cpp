#include "app/settings_commands.h"

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

MidiSettingsSound SettingsCommands::midiSettingsSound() {
    MidiSettingsSound s;
    s.outputs = w_.Sound().MidiOutList();
    s.inputs = w_.Sound().MidiInList();
    s.drumName = [](int note) {
        const std::string_view name = DrumSoundName(note);
        return QString::fromUtf8(name.data(), qsizetype(name.size()));
    };
    s.testNote = [this](int channel, int note, int velocity, int ms) {
        w_.Sound().Output().NoteOn(w_.Settings().MidiOutDevice, channel, note, velocity);
        QTimer::singleShot(ms, &w_, [this, channel, note] {
            w_.Sound().Output().NoteOff(w_.Settings().MidiOutDevice, channel, note);
        });
    };
    s.playWave = [this](const QString& file) { w_.Sound().Output().PlayWaveFile(file, false); };
    return s;
}

void SettingsCommands::MidiSetupClick() {
    const SettingsRecord before = w_.Settings();
    bool ok = false;
    {
        TIndstillinger dialog(w_.Settings(), midiSettingsSound(), &w_);
        ok = dialog.exec() == QDialog::Accepted;
    }
    if (ok)
        applyMidiSettings(before);
}

void SettingsCommands::applyMidiSettings(const SettingsRecord& before) {
    w_.syncSoundSettings();
    if (before.MidiOutDevice != w_.Settings().MidiOutDevice ||
        before.MidiThruDevice != w_.Settings().MidiThruDevice ||
        before.MidiInDevice != w_.Settings().MidiInDevice)
        ShowSoundMessages(&w_, w_.Sound().ReopenDevices());
    // The instruments on the channels (and devices) now chosen.
    w_.Sound().ApplyLoadedSettings();
    w_.menuAction(QStringLiteral("mMidiThru"))->setChecked(w_.Settings().MidiThruOn != 0);
    if (w_.Settings().PcSpeakerOnly != 0)
        w_.Options()->ApplyPcSpeakerRule();
}

void SettingsCommands::DiverseTabClick() {
    const bool statusBarBefore = w_.Settings().StatusBar != 0;
    {
        TTabDiverse dialog(
            w_.Settings(), w_.TipsAtStart(),
            [this](int seconds) { w_.Hints()->SetHintDelay(seconds); }, &w_);
        if (dialog.exec() == QDialog::Accepted) {
            w_.setTipsAtStart(dialog.tipsAtStart());
            w_.MelodyOptions()->ComboTonalitetChange();
        }
    }
    applyOtherSettings(statusBarBefore);
}

void SettingsCommands::applyOtherSettings(bool statusBarBefore) {
    const bool german = w_.Settings().GermanNaming != 0;
    w_.Options()->SetGermanNaming(german);
    w_.Options()->ReselectRootItem();
    w_.ImageStaff()->setGermanNaming(german);
    w_.ExerciseWriter().setGermanNaming(german);
    w_.syncInputState();
    // Also what undoes the hint pause a cancelled dialog tried out.
    w_.Hints()->SetHintDelay(w_.Settings().HintDelay);
    if (statusBarBefore != (w_.Settings().StatusBar != 0))
        w_.applyStatusBar();
}

void SettingsCommands::mGemovelseClick() {
    const QString path = askExerciseSetFile(&w_, true);
    if (!path.isEmpty())
        SaveExerciseSetTo(path);
}

void SettingsCommands::mHentovelseClick() {
    const QString path = askExerciseSetFile(&w_, false);
    if (!path.isEmpty())
        LoadExerciseSetFrom(path);
}

bool SettingsCommands::SaveExerciseSetTo(const QString& path) {
    return SaveSettingsAndTopTen(path);
}

bool SettingsCommands::SaveSettingsAndTopTen(const QString& settingsPath) {
    w_.SaveSettings();
    QString reason;
    bool ok = true;
    if (!SaveSettingsFile(w_.Settings(), settingsPath, &reason)) {
        warnNotWritten(&w_, settingsPath, reason);
        ok = false;
    }
    if (!WriteTopTen(w_.TopTen(), QString::fromLatin1(kTopTenFileName), &reason)) {
        warnNotWritten(&w_, QString::fromLatin1(kTopTenFileName), reason);
        ok = false;
    }
    return ok;
}

bool SettingsCommands::LoadExerciseSetFrom(const QString& path) {
    if (w_.Session().running())
        w_.EarStopOve(); // the set may change the module and its choices under the task
    if (!LoadExerciseSet(w_.Settings(), path)) {
        ShowMessage(&w_,
                    {MessageType::Plain, MessageButtons::Ok, LoadStr(kExerciseSetRefused), 0, {}});
        return false;
    }
    w_.EarSetLoadedSettings();
    w_.syncSoundSettings();
    return true;
}

} // namespace harmik
