// MIDI input as any bytes from a device: messages of any length and status, system-exclusive
// blocks among them, taken out between arrivals at any moment. Every message that is filed
// comes out once, in order, with its own bytes (a block cut to the buffer size); none is lost
// while the ring and the block buffers have room, and none appears twice.
#include "fuzz_support.h"
#include "midi/midi_backend.h"
#include "midi/midi_errors.h"
#include "midi/midi_input.h"

#include <QCoreApplication>

#include <deque>
#include <memory>
#include <vector>

using namespace harmik;

namespace {

// One input port whose driver thread is the fuzzer itself.
class FuzzMidi : public MidiSystem {
public:
    MidiInSink* Sink = nullptr;
    int outputPortCount() override { return 0; }
    bool builtInSynthAvailable() override { return false; }
    std::string outputName(int) override { return {}; }
    std::unique_ptr<MidiOutBackend> openOutput(int) override {
        throw EmidioutputError("Invalid device ID");
    }
    int inputPortCount() override { return 1; }
    std::string inputName(int) override { return "fuzz"; }
    std::unique_ptr<MidiInPort> openInput(int, MidiInSink& sink) override {
        Sink = &sink;
        return std::make_unique<MidiInPort>();
    }
};

struct Expected {
    std::uint8_t status = 0, data1 = 0, data2 = 0;
    std::vector<std::uint8_t> sysex; // a block's kept bytes
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    // Three bytes of set-up: ring capacity, block buffers and their size, sysex-only.
    const std::uint16_t capacity = 1 + data[0] % 16;
    const std::uint16_t buffers = data[1] % 4;
    const std::uint16_t bufferSize = (data[1] >> 2) % 48;
    const bool sysexOnly = data[2] & 1;
    data += 3;
    size -= 3;

    FuzzMidi midi;
    TMidiInput input(midi);
    input.setCapacity(capacity);
    input.setSysexBufferCount(buffers);
    input.setSysexBufferSize(bufferSize);
    input.setSysexOnly(sysexOnly);
    input.Open();
    input.Start();
    FUZZ_CHECK(midi.Sink != nullptr);

    std::deque<Expected> waiting; // what the ring should hold, oldest first
    int blocksHeld = 0;
    auto takeOne = [&](bool allocating) {
        TMyMidiEvent reusable;
        reusable.Sysex.reserve(16);
        std::unique_ptr<TMyMidiEvent> fresh;
        TMyMidiEvent* e = &reusable;
        bool got = false;
        if (allocating) {
            fresh = input.GetMidiEvent();
            got = fresh != nullptr;
            e = fresh.get();
        } else {
            got = input.PopMidiEvent(reusable);
        }
        FUZZ_CHECK(got == !waiting.empty());
        if (!got)
            return false;
        const Expected x = waiting.front();
        waiting.pop_front();
        FUZZ_CHECK(e->MidiMessage == x.status && e->Data1 == x.data1 && e->Data2 == x.data2);
        if (x.status == 0xF0) {
            --blocksHeld;
            FUZZ_CHECK(e->SysexLength == x.sysex.size());
            if (allocating || x.sysex.size() <= 16)
                FUZZ_CHECK(e->Sysex == x.sysex);
            else
                FUZZ_CHECK(e->Sysex.empty());
        } else {
            FUZZ_CHECK(e->SysexLength == 0 && e->Sysex.empty());
        }
        return true;
    };

    size_t i = 0;
    while (i < size) {
        const std::uint8_t command = data[i++];
        if (command >= 0xF0) { // take events out: 0xF0..0xF7 one, 0xF8.. all
            const bool allocating = command & 1;
            if (command < 0xF8)
                takeOne(allocating);
            else
                while (takeOne(allocating)) {
                }
            continue;
        }
        const size_t length = std::min<size_t>(command, size - i);
        const std::uint8_t* bytes = data + i;
        i += length;
        midi.Sink->MidiDriverCallback(bytes, length);

        // What the input should have filed.
        if (length == 0 || bytes[0] == 0xFE || bytes[0] == 0xF8)
            continue;
        Expected x;
        x.status = bytes[0];
        if (bytes[0] == 0xF0) {
            if (bufferSize == 0 || blocksHeld >= buffers)
                continue; // no buffer for the block: the driver drops it
            x.sysex.assign(bytes, bytes + std::min<size_t>(length, bufferSize));
            x.data1 = x.data2 = 0;
        } else {
            if (sysexOnly)
                continue;
            x.data1 = length > 1 ? bytes[1] : 0;
            x.data2 = length > 2 ? bytes[2] : 0;
        }
        if (waiting.size() >= capacity)
            continue; // the ring is full: lost and counted as an overflow
        if (x.status == 0xF0)
            ++blocksHeld;
        waiting.push_back(x);
        FUZZ_CHECK(input.MessageCount() == waiting.size());
    }
    while (takeOne(false)) {
    }
    FUZZ_CHECK(input.MessageCount() == 0);
    input.Close();
    return 0;
}
