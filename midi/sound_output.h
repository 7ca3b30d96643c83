#pragma once
#include "midi/sound_settings.h"
#include "theory/note_queue.h"

#include <QStringList>
#include <cstdint>
#include <functional>

namespace harmik {

class TMidiOutput;
class SoundEngine;

// What one tick of the playback timer did.
struct QueueTickResult {
    bool FirstTick = false; // CurrentTick became 1: the exercise panel drops its feedback colour
    bool Stop = false;      // the queue is done: disable the timer
};

// The note operations of the program: routing between the exercise output (MIDIUD) and the
// user's own sound (MIDITHRU), the PC-speaker route, the playback queue's tick, feedback
// sounds. All on the main thread. A closed device swallows what is sent to it.
class SoundOutput {
public:
    SoundOutput(TMidiOutput& midiud, TMidiOutput& midithru, SoundEngine* mixer,
                const SoundSettings& settings);

    void NoteOn(int device, int channel, int note, int velocity);
    void NoteOff(int device, int channel, int note);
    void ProgramChange(int device, int channel, std::uint8_t program);
    void SetMidiVolume(std::uint8_t level);
    void SetWaveVolume(std::uint8_t level);
    void StopAll(NoteQueue& queue);
    QueueTickResult TimerMidi1Timer(NoteQueue& queue);
    void PlayAnswerFeedback(bool correct);
    // Plays a shipped sound through the mixer; false when it could not be played (no such
    // file, no audio output). A missing file may give the default sound instead.
    bool PlayWaveFile(const QString& name, bool defaultSoundIfMissing);
    void SpeakerTone(int note);
    void SpeakerOff();
    static void Delay(int ms);

    // Which component a device index goes to.
    TMidiOutput& Route(int device);

    // Folders searched for the shipped sounds (the user's data folder first).
    void setDataFolders(const QStringList& folders) { DataFolders_ = folders; }
    // The output lamp: called when a note starts sounding.
    std::function<void()> OnOutputActivity;

private:
    void sendShort(int device, std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    static std::uint8_t StatusFor(std::uint8_t base, int channel);

    TMidiOutput& MIDIUD_;
    TMidiOutput& MIDITHRU_;
    SoundEngine* Mixer_;
    const SoundSettings& Settings_;
    QStringList DataFolders_;
};

} // namespace harmik
