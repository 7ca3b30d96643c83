#include "midi/system_midi.h"

#include "midi/midi_errors.h"
#include "midi/midi_event.h"
#include "midi/sound_engine.h"

#include <alsa/asoundlib.h>
#include <cstdarg>
#include <mutex>
#include <rtmidi/RtMidi.h>

namespace harmik {

namespace {

constexpr const char* kClientName = "Harmik";

void SilentAlsaError(const char*, int, const char*, int, const char*, ...) {}

void SilentRtMidiError(RtMidiError::Type, const std::string&, void*) {}

// Asked first, because RtMidi prints its own complaint before it throws.
bool AlsaSequencerAvailable() {
    snd_seq_t* seq = nullptr;
    if (snd_seq_open(&seq, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK) < 0)
        return false;
    snd_seq_close(seq);
    return true;
}

// No sequencer means no ports (RtMidi's constructors would throw).
template <class Port> std::unique_ptr<Port> MakeAlsaPort() {
    if (!AlsaSequencerAvailable())
        return nullptr;
    try {
        auto port = std::make_unique<Port>(RtMidi::LINUX_ALSA, kClientName);
        port->setErrorCallback(SilentRtMidiError, nullptr);
        return port;
    } catch (const RtMidiError&) {
        return nullptr;
    }
}

// Lists the ports of another program (ours are left out) as names and port numbers.
template <class Port>
void ListPorts(Port& probe, std::vector<std::string>& names, std::vector<unsigned>& numbers) {
    names.clear();
    numbers.clear();
    const unsigned n = probe.getPortCount();
    for (unsigned i = 0; i < n && names.size() < SystemMidi::kMaxPorts; ++i) {
        const std::string name = probe.getPortName(i);
        if (name.rfind(kClientName, 0) == 0)
            continue;
        names.push_back(name);
        numbers.push_back(i);
    }
}

class AlsaMidiOutput : public MidiOutBackend {
public:
    explicit AlsaMidiOutput(std::unique_ptr<RtMidiOut> port) : Port_(std::move(port)) {}

    void sendShort(std::uint32_t message) override {
        const std::uint8_t bytes[3] = {StatusOf(message), Data1Of(message), Data2Of(message)};
        send(bytes, ShortLength(bytes[0]));
    }
    void sendLong(const std::uint8_t* data, std::size_t length) override { send(data, length); }
    void reset() override {
        for (std::uint8_t channel = 0; channel < 16; ++channel) {
            sendShort(PackShortMessage(0xB0 | channel, 120, 0)); // all sound off
            sendShort(PackShortMessage(0xB0 | channel, 123, 0)); // all notes off
            sendShort(PackShortMessage(0xB0 | channel, 121, 0)); // reset controllers
        }
    }
    void setVolume(std::uint16_t left, std::uint16_t) override {
        // Universal master volume, 14 bits.
        const unsigned level = unsigned(left) * 0x3FFF / 0xFFFF;
        const std::uint8_t bytes[8] = {
            0xF0, 0x7F, 0x7F, 0x04, 0x01, std::uint8_t(level & 0x7F), std::uint8_t(level >> 7),
            0xF7};
        send(bytes, sizeof bytes);
    }

private:
    static std::size_t ShortLength(std::uint8_t status) {
        const std::uint8_t kind = status & 0xF0;
        return kind == 0xC0 || kind == 0xD0 ? 2 : 3;
    }
    void send(const std::uint8_t* data, std::size_t length) {
        // The port is shared by the main thread and the click track; a send is short.
        const std::lock_guard lock(Mutex_);
        try {
            Port_->sendMessage(data, length);
        } catch (const RtMidiError&) {
        }
    }

    std::mutex Mutex_;
    std::unique_ptr<RtMidiOut> Port_;
};

class AlsaMidiInput : public MidiInPort {
public:
    AlsaMidiInput(std::unique_ptr<RtMidiIn> port, MidiInSink& sink)
        : Port_(std::move(port)), Sink_(sink) {
        Port_->ignoreTypes(false, false, false); // the input component filters for itself
        Port_->setCallback(&AlsaMidiInput::Deliver, this);
    }
    ~AlsaMidiInput() override { Port_->closePort(); } // waits for the callback thread

private:
    static void Deliver(double, std::vector<unsigned char>* message, void* self) {
        if (message && !message->empty())
            static_cast<AlsaMidiInput*>(self)->Sink_.MidiDriverCallback(message->data(),
                                                                        message->size());
    }

    std::unique_ptr<RtMidiIn> Port_;
    MidiInSink& Sink_;
};

} // namespace

void SilenceSoundLibraryLogs() {
    snd_lib_error_set_handler(SilentAlsaError);
}

void WarmUpSoundLibraries() {
    SilenceSoundLibraryLogs();
    // Only read: the first look for a definition also runs the PulseAudio plugin's hook, which
    // may start a sound server (a fork) and is left to the main thread, so that no other
    // thread forks while Qt's D-Bus thread has a connection's pipe open (the forked server
    // would inherit it and the connection would wait on it for ever).
    snd_config_update();
}

void BuiltInSynthOutput::sendShort(std::uint32_t message) {
    Synth_.midiShort(message);
}

void BuiltInSynthOutput::sendLong(const std::uint8_t* data, std::size_t length) {
    Synth_.midiSysex(data, length);
}

void BuiltInSynthOutput::reset() {
    Synth_.allSoundsOff();
}

void BuiltInSynthOutput::setVolume(std::uint16_t left, std::uint16_t) {
    Synth_.setSynthVolume(double(left) / (255.0 * 255.0));
}

bool BuiltInSynthOutput::prepareClickSounds(const std::array<ClickSound, 3>& sounds, int holdMs) {
    return Synth_.prepareClickSounds(sounds, holdMs);
}

void BuiltInSynthOutput::forgetClickSounds() {
    Synth_.forgetClickSounds();
}

int BuiltInSynthOutput::clickSampleRate() const {
    return Synth_.sampleRate();
}

std::int64_t BuiltInSynthOutput::framePlayedAt(std::int64_t monotonicNs) const {
    return Synth_.framePlayedAt(monotonicNs);
}

void BuiltInSynthOutput::scheduleClickSound(int sound, std::int64_t frame) {
    Synth_.scheduleClickSound(sound, frame);
}

SystemMidi::SystemMidi(SoundEngine* synth, bool soundFontFound)
    : Synth_(synth), SoundFontFound_(soundFontFound) {
    SilenceSoundLibraryLogs();
    enumeratePorts();
}

SystemMidi::~SystemMidi() = default;

void SystemMidi::enumeratePorts() {
    if (auto out = MakeAlsaPort<RtMidiOut>())
        ListPorts(*out, OutNames_, OutPorts_);
    if (auto in = MakeAlsaPort<RtMidiIn>())
        ListPorts(*in, InNames_, InPorts_);
}

std::string SystemMidi::outputName(int id) {
    if (id == -1)
        return "FluidSynth";
    return id >= 0 && id < outputPortCount() ? OutNames_[std::size_t(id)] : std::string();
}

std::string SystemMidi::inputName(int id) {
    return id >= 0 && id < inputPortCount() ? InNames_[std::size_t(id)] : std::string();
}

std::unique_ptr<MidiOutBackend> SystemMidi::openOutput(int id) {
    if (id == -1) {
        if (!Synth_)
            throw EmidioutputError("The built-in synthesizer is not available");
        return std::make_unique<BuiltInSynthOutput>(*Synth_);
    }
    if (id < 0 || id >= outputPortCount())
        throw EmidioutputError("Invalid device ID");
    auto port = MakeAlsaPort<RtMidiOut>();
    if (!port)
        throw EmidioutputError("The ALSA sequencer is not available");
    try {
        port->openPort(OutPorts_[std::size_t(id)], "Harmik output");
    } catch (const RtMidiError& e) {
        throw EmidioutputError(e.getMessage());
    }
    if (!port->isPortOpen())
        throw EmidioutputError("The device cannot be opened: " + OutNames_[std::size_t(id)]);
    return std::make_unique<AlsaMidiOutput>(std::move(port));
}

std::unique_ptr<MidiInPort> SystemMidi::openInput(int id, MidiInSink& sink) {
    if (id < 0 || id >= inputPortCount())
        throw EMidiInputError("Invalid device ID");
    auto port = MakeAlsaPort<RtMidiIn>();
    if (!port)
        throw EMidiInputError("The ALSA sequencer is not available");
    try {
        port->openPort(InPorts_[std::size_t(id)], "Harmik input");
    } catch (const RtMidiError& e) {
        throw EMidiInputError(e.getMessage());
    }
    if (!port->isPortOpen())
        throw EMidiInputError("The device cannot be opened: " + InNames_[std::size_t(id)]);
    return std::make_unique<AlsaMidiInput>(std::move(port), sink);
}

} // namespace harmik
