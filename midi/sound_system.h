#pragma once
#include "midi/click_track_player.h"
#include "midi/midi_input.h"
#include "midi/midi_output.h"
#include "midi/sound_engine.h"
#include "midi/sound_output.h"
#include "midi/sound_settings.h"

#include <QString>
#include <QStringList>
#include <QTimer>
#include <memory>
#include <thread>
#include <vector>

class QObject;

namespace harmik {

// String-table ids of what the sound layer asks the program to tell the user.
namespace SoundText {
constexpr int NoDevice = 2000;    // "У Вас нет %s устройства!"
constexpr int MidiIn = 2002;      // %s of NoDevice: "MIDI ВХОД"
constexpr int MidiOut = 2003;     // "MIDI ВЫХОД"
constexpr int Wave = 2004;        // "WAVE ()"
constexpr int NoSoundFont = 2040; // no General MIDI SoundFont for the built-in synthesizer
constexpr int DeviceGone = 2043; // "Не найдено устройство %s № %d, ...": a stored device is gone
constexpr int NoDeviceHelp = 150; // help context of the NoDevice box
} // namespace SoundText

// One message for the user. StringId 0 means an error box with the device's own Text.
struct SoundMessage {
    bool IsError = false; // error box; otherwise a warning with OK and Help
    int StringId = 0;
    int ArgStringId = 0; // string put in for %s, 0 for none
    QString Text;
    int HelpContext = 0;
    int Number = -1; // number put in for %d after the %s, -1 for none
};

struct SoundSystemOptions {
    QStringList DataFolders;      // where shipped sounds are looked up, user's folder first
    QStringList SoundFontFolders; // empty: the standard places
    QString BuiltInSynthName = QStringLiteral("FluidSynth");
    bool OpenAudio = true;      // false: no audio output (render offline)
    AudioDeviceOpener Audio;    // empty: the machine's sound servers and ALSA
    MidiSystem* Midi = nullptr; // null: the machine's devices
    // Made ahead on another thread (see SynthCore); taken by the sound system made first.
    std::shared_ptr<SynthCore> PreparedSynth;
};

// The sound layer as the main window uses it: the two output components and the input, the
// built-in synthesizer with its mixer, the note operations and the click track.
//
// Start-up: construct (with the object that receives ClickTrackReportEvent); copy the settings
// into Settings; EnumerateMidiDevices (show its messages; when NoWaveDevice() set FeedbackType to 1
// and copy it again); OpenDevices (show its messages); ApplyLoadedSettings. While running: the
// note operations and the playback timer's tick through Output(), MidiInput1().OnMidiInput /
// OnOverflow, Output().OnOutputActivity for the lamp, StartClickTrack / RestartClickTrack /
// KillClickTrack, ShutUpClick for the panic button. Shut down with Shutdown (after stopping the
// playback timer), or let the destructor do it.
class SoundSystem {
public:
    SoundSystem(QObject* clickReportReceiver, SoundSystemOptions options = {});
    ~SoundSystem();
    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    // The settings the sound layer reads; the program keeps them equal to its settings record.
    SoundSettings Settings;

    std::vector<SoundMessage> EnumerateMidiDevices();
    std::vector<SoundMessage> OpenDevices();
    std::vector<SoundMessage> ReopenDevices(); // after the MIDI settings dialog's OK
    // The sound part of applying loaded settings: both instruments, MIDI and wave volume.
    void ApplyLoadedSettings();

    int MidiOutputCount() const { return OutputCount_; } // 0: hint 3046, no task without speaker
    int MidiInputCount() const { return InputCount_; }
    QStringList MidiOutList() const; // entry k is output DeviceID k - 1
    QStringList MidiInList() const;
    bool NoWaveDevice() const { return NoWaveDevice_; }
    bool SoundFontMissing() const { return SoundFontPath_.isEmpty(); }
    QString SoundFontPath() const { return SoundFontPath_; }

    SoundOutput& Output() { return *Output_; }
    SoundEngine& Engine() { return *Engine_; }
    TMidiOutput& MIDIUD() { return *MIDIUD_; }
    TMidiOutput& MIDITHRU() { return *MIDITHRU_; }
    TMidiInput& MidiInput1() { return *MidiInput1_; }
    ClickTrackPlayer& ClickTrackPlayback() { return *Click_; }

    // Starts the click track on the exercise output; false when that output is closed.
    bool StartClickTrack(ClickTrack& track);
    void RestartClickTrack() { Click_->Restart(); }
    void KillClickTrack();

    // The output rests when nothing has sounded for a while; the check for that runs only
    // while the output is open. CheckRest is what the check does, at the given time.
    bool RestCheckRunning() const { return RestTimer_.isActive(); }
    void CheckRest(std::uint32_t nowMs);

    void ShutUpClick(NoteQueue& queue); // panic: silence everything
    void PlayStartMusic();
    // The tuning fork: "stemgafl.wav" through the mixer, or when that cannot be heard, the A
    // (note 69) on the exercise output for a second, released by a timer (nothing waits).
    // Returns how long the fork sounds, in milliseconds.
    int PlayTuningFork();
    void Shutdown(NoteQueue& queue);

private:
    // The devices by their settings index (outputs: 0 is the MIDI mapper; Open raises, a
    // message is added and the device stays closed).
    void OpenMidiOut(int index, std::vector<SoundMessage>& messages);
    void OpenMidiThru(int index, std::vector<SoundMessage>& messages);
    void OpenMidiIn(int index, std::vector<SoundMessage>& messages);
    void StartMidiIn();
    void CloseMidiIn();
    void CloseMidiOut();
    void CloseMidiThru();
    void openOutput(TMidiOutput& out, int index, std::vector<SoundMessage>& messages);
    void closeOutputs();
    void watchForRest();
    void releaseFork();
    void surveyAudioOutput(std::vector<SoundMessage>& messages);
    void playDecodedMusic();

    SoundSystemOptions Options_;
    std::unique_ptr<SoundEngine> Engine_;
    std::unique_ptr<MidiSystem> OwnMidi_;
    MidiSystem* Midi_ = nullptr;
    std::unique_ptr<TMidiOutput> MIDIUD_;
    std::unique_ptr<TMidiOutput> MIDITHRU_;
    std::unique_ptr<TMidiInput> MidiInput1_;
    std::unique_ptr<SoundOutput> Output_;
    std::unique_ptr<ClickTrackPlayer> Click_;
    QString SoundFontPath_;
    int OutputCount_ = 0;
    int InputCount_ = 0;
    bool NoWaveDevice_ = false;
    bool ShutDown_ = false;
    QTimer RestTimer_; // lets the audio output rest when nothing has sounded for a while
    QTimer ForkTimer_; // releases the fork's MIDI note
    int ForkDevice_ = 0;
    int ForkChannel_ = 1;
    std::thread MusicDecoder_; // the start music, decoded apart
    WaveSound DecodedMusic_;
    QTimer MusicDecoded_; // started from the decoder: plays the music on the main thread
};

} // namespace harmik
