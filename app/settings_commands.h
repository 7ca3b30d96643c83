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

private:
    MidiSettingsSound midiSettingsSound();
    void applyMidiSettings(const SettingsRecord& before);
    void applyOtherSettings(bool statusBarBefore);

    TForm1& w_;
};

} // namespace harmik
