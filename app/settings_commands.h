#pragma once
#include "userdata/midi_settings_dialog.h"
#include "userdata/settings_record.h"

#include <QString>

namespace harmik {

class TForm1;

// The main window's settings commands: the two settings dialogs with what follows their OK,
// and the exercise-set files.
class SettingsCommands {
public:
    explicit SettingsCommands(TForm1& window) : w_(window) {}

    void MidiSetupClick();
    void DiverseTabClick();
    void mGemovelseClick();
    void mHentovelseClick();
    // The exercise-set commands once their file dialog has given the file; false when the file
    // was not written or the set was refused (the user has been told).
    bool SaveExerciseSetTo(const QString& path);
    bool LoadExerciseSetFrom(const QString& path);
    // The settings (to `settingsPath`) and the top-ten table written, each whole or not at all;
    // false when one was not written (the user has been told which and why).
    bool SaveSettingsAndTopTen(const QString& settingsPath);

private:
    MidiSettingsSound midiSettingsSound();
    void applyMidiSettings(const SettingsRecord& before);
    void applyOtherSettings(bool statusBarBefore);

    TForm1& w_;
};

} // namespace harmik
