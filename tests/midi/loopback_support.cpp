#include "loopback_support.h"

#include "midi/midi_errors.h"
#include "midi/midi_event.h"

#include <cstdlib>
#include <new>

namespace harmik::test {

void SentLog::add(SentMessage m) {
    const std::lock_guard lock(Mutex_);
    Messages_.push_back(std::move(m));
}

std::vector<SentMessage> SentLog::all() const {
    const std::lock_guard lock(Mutex_);
    return Messages_;
}

std::vector<std::uint32_t> SentLog::shortsTo(int device) const {
    const std::lock_guard lock(Mutex_);
    std::vector<std::uint32_t> out;
    for (const SentMessage& m : Messages_)
        if (m.Device == device && m.Long.empty())
            out.push_back(m.Short);
    return out;
}

int SentLog::resets(int device) const {
    const std::lock_guard lock(Mutex_);
    int n = 0;
    for (int d : Resets_)
        n += d == device;
    return n;
}

void SentLog::addReset(int device) {
    const std::lock_guard lock(Mutex_);
    Resets_.push_back(device);
}

void SentLog::clear() {
    const std::lock_guard lock(Mutex_);
    Messages_.clear();
    Resets_.clear();
}

namespace {

class RecordingOutput : public MidiOutBackend {
public:
    RecordingOutput(SentLog& log, int device) : Log_(log), Device_(device) {}
    void sendShort(std::uint32_t message) override { Log_.add({Device_, message, {}}); }
    void sendLong(const std::uint8_t* data, std::size_t length) override {
        Log_.add({Device_, 0, std::vector<std::uint8_t>(data, data + length)});
    }
    void reset() override { Log_.addReset(Device_); }
    void setVolume(std::uint16_t left, std::uint16_t right) override {
        Log_.add({Device_, 0, {0xFF, std::uint8_t(left >> 8), std::uint8_t(right >> 8)}});
    }

private:
    SentLog& Log_;
    int Device_;
};

} // namespace

class LoopbackInput : public MidiInPort {
public:
    LoopbackInput(LoopbackMidi& midi, MidiInSink& sink) : Midi_(midi) { Midi_.Sink_.store(&sink); }
    ~LoopbackInput() override {
        const std::lock_guard lock(Midi_.FeedMutex_);
        Midi_.Sink_.store(nullptr);
    }

private:
    LoopbackMidi& Midi_;
};

LoopbackMidi::LoopbackMidi(int outputs, int inputs, bool builtIn)
    : Outputs_(outputs), Inputs_(inputs), BuiltIn_(builtIn) {}

std::string LoopbackMidi::outputName(int id) {
    return "Loopback out " + std::to_string(id);
}
std::string LoopbackMidi::inputName(int id) {
    return "Loopback in " + std::to_string(id);
}

std::unique_ptr<MidiOutBackend> LoopbackMidi::openOutput(int id) {
    if (id == FailingOutput)
        throw EmidioutputError("The device is already in use by another program");
    return std::make_unique<RecordingOutput>(Sent, id);
}

std::unique_ptr<MidiInPort> LoopbackMidi::openInput(int id, MidiInSink& sink) {
    if (id < 0 || id >= Inputs_)
        throw EMidiInputError("Invalid device ID");
    return std::make_unique<LoopbackInput>(*this, sink);
}

bool LoopbackMidi::feed(const std::vector<std::uint8_t>& bytes) {
    const std::lock_guard lock(FeedMutex_);
    MidiInSink* sink = Sink_.load();
    if (!sink)
        return false;
    sink->MidiDriverCallback(bytes.data(), bytes.size());
    return true;
}

} // namespace harmik::test
