#pragma once
#include "midi/midi_backend.h"

#include <memory>
#include <string>
#include <vector>

class RtMidiIn;
class RtMidiOut;

namespace harmik {

class SoundEngine;

// The machine's MIDI devices: the built-in synthesizer at output id -1 and the system's MIDI
// ports through the ALSA sequencer (at most 16 of each kind). Without a sequencer there are
// no ports, and nothing is printed.
class SystemMidi : public MidiSystem {
public:
    static constexpr int kMaxPorts = 16;

    // synth may be null (no built-in synthesizer); soundFontFound says whether it can sound.
    SystemMidi(SoundEngine* synth, bool soundFontFound);
    ~SystemMidi() override;

    int outputPortCount() override { return int(OutNames_.size()); }
    bool builtInSynthAvailable() override { return Synth_ && SoundFontFound_; }
    std::string outputName(int id) override;
    std::unique_ptr<MidiOutBackend> openOutput(int id) override;
    int inputPortCount() override { return int(InNames_.size()); }
    std::string inputName(int id) override;
    std::unique_ptr<MidiInPort> openInput(int id, MidiInSink& sink) override;

    // Rereads the port lists (start-up enumerates once).
    void enumeratePorts();

private:
    SoundEngine* Synth_;
    bool SoundFontFound_;
    std::vector<std::string> OutNames_;
    std::vector<unsigned> OutPorts_; // sequencer port number of each listed output
    std::vector<std::string> InNames_;
    std::vector<unsigned> InPorts_;
};

// The built-in synthesizer as a MIDI output; it places the click track's sounds on their
// samples.
class BuiltInSynthOutput : public MidiOutBackend, private ClickScheduler {
public:
    explicit BuiltInSynthOutput(SoundEngine& synth) : Synth_(synth) {}
    void sendShort(std::uint32_t message) override;
    void sendLong(const std::uint8_t* data, std::size_t length) override;
    void reset() override;
    void setVolume(std::uint16_t left, std::uint16_t right) override;
    ClickScheduler* clickScheduler() override { return this; }

private:
    bool prepareClickSounds(const std::array<ClickSound, 3>& sounds, int holdMs) override;
    void forgetClickSounds() override;
    int clickSampleRate() const override;
    std::int64_t framePlayedAt(std::int64_t monotonicNs) const override;
    void scheduleClickSound(int sound, std::int64_t frame) override;

    SoundEngine& Synth_;
};

// Silences the sound libraries' own error printing (failed opens of missing devices).
void SilenceSoundLibraryLogs();

// Reads the sound system's configuration (ALSA's) once, so that opening the MIDI ports and
// the audio output later finds it read. Any thread; start-up runs it beside the toolkit's.
void WarmUpSoundLibraries();

} // namespace harmik
