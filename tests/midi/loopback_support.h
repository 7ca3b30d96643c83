#pragma once
// Loopback MIDI devices for the tests: outputs that record what they are sent, inputs that a
// test (or a producer thread) feeds as a driver would.
#include "midi/midi_backend.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

namespace harmik::test {

struct SentMessage {
    int Device;          // output id the message went to
    std::uint32_t Short; // packed short message, 0 for a long one
    std::vector<std::uint8_t> Long;
};

// Everything sent to any loopback output, in order.
class SentLog {
public:
    void add(SentMessage m);
    std::vector<SentMessage> all() const;
    std::vector<std::uint32_t> shortsTo(int device) const;
    int resets(int device) const;
    void addReset(int device);
    void clear();

private:
    mutable std::mutex Mutex_;
    std::vector<SentMessage> Messages_;
    std::vector<int> Resets_;
};

class LoopbackInput;

class LoopbackMidi : public MidiSystem {
public:
    LoopbackMidi(int outputs, int inputs, bool builtIn = true);

    int outputPortCount() override { return Outputs_; }
    bool builtInSynthAvailable() override { return BuiltIn_; }
    std::string outputName(int id) override;
    std::unique_ptr<MidiOutBackend> openOutput(int id) override;
    int inputPortCount() override { return Inputs_; }
    std::string inputName(int id) override;
    std::unique_ptr<MidiInPort> openInput(int id, MidiInSink& sink) override;

    // Sends bytes into the open input (as the driver's thread would); false when it is closed.
    bool feed(const std::vector<std::uint8_t>& bytes);
    bool inputOpen() const { return Sink_.load() != nullptr; }

    int FailingOutput = -100; // opening this output id fails
    SentLog Sent;

private:
    friend class LoopbackInput;
    int Outputs_;
    int Inputs_;
    bool BuiltIn_;
    std::mutex FeedMutex_; // a feed and a close never overlap, as with a real driver
    std::atomic<MidiInSink*> Sink_{nullptr};
};

// Counts operator new calls made while a scope is active: on the calling thread only, or on
// every thread of the program.
class AllocationCounter {
public:
    explicit AllocationCounter(bool allThreads = false);
    ~AllocationCounter();
    long count() const;
};

} // namespace harmik::test
