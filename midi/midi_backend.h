#pragma once
#include "theory/click_track.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace harmik {

// An output that sounds the click track's sounds at exact sample frames: the click-track
// thread hands each one over ahead of time with its frame, and the audio callback starts it
// there. Frames count the output's samples since it was created.
class ClickScheduler {
public:
    virtual ~ClickScheduler() = default;
    // Main thread, while no click track runs: prepares the click, accent and rhythm sounds,
    // each held for holdMs. False: this track plays on the thread-timed path instead.
    virtual bool prepareClickSounds(const std::array<ClickSound, 3>& sounds, int holdMs) = 0;
    // Main thread, after the click track stopped: what still sounds of it stops.
    virtual void forgetClickSounds() = 0;
    virtual int clickSampleRate() const = 0;
    // The frame the output renders at that time of the monotonic clock (nanoseconds).
    virtual std::int64_t framePlayedAt(std::int64_t monotonicNs) const = 0;
    // Click-track thread; never allocates or blocks. sound: 0 click, 1 accent, 2 rhythm.
    virtual void scheduleClickSound(int sound, std::int64_t frame) = 0;
};

// An open MIDI output: the built-in synthesizer or a system port. Every operation may be
// called from the main thread and the click-track thread at once; none of them allocates.
class MidiOutBackend {
public:
    virtual ~MidiOutBackend() = default;
    virtual void sendShort(std::uint32_t message) = 0; // status | data1 << 8 | data2 << 16
    virtual void sendLong(const std::uint8_t* data, std::size_t length) = 0;
    virtual void reset() = 0; // all notes off at device level
    virtual void setVolume(std::uint16_t left, std::uint16_t right) = 0;
    // Null for an output that only sounds what is sent when it is sent (a system port).
    virtual ClickScheduler* clickScheduler() { return nullptr; }
};

// Receives the bytes of one incoming MIDI message on the driver's thread.
class MidiInSink {
public:
    virtual ~MidiInSink() = default;
    virtual void MidiDriverCallback(const std::uint8_t* bytes, std::size_t length) = 0;
};

// An open MIDI input port. It delivers to its sink until it is destroyed; destroying it waits
// until no delivery is running any more.
class MidiInPort {
public:
    virtual ~MidiInPort() = default;
};

// The machine's MIDI devices. Output device id -1 is the built-in synthesizer's place (the
// default output); ids 0.. are system ports. Open failures throw the component's error with
// the system's text.
class MidiSystem {
public:
    virtual ~MidiSystem() = default;
    virtual int outputPortCount() = 0;          // system output ports
    virtual bool builtInSynthAvailable() = 0;   // id -1 can sound
    virtual std::string outputName(int id) = 0; // id -1 .. outputPortCount()-1
    virtual std::unique_ptr<MidiOutBackend> openOutput(int id) = 0;
    virtual int inputPortCount() = 0;
    virtual std::string inputName(int id) = 0;
    virtual std::unique_ptr<MidiInPort> openInput(int id, MidiInSink& sink) = 0;
};

} // namespace harmik
