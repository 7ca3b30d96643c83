#pragma once
#include "midi/midi_backend.h"
#include "midi/midi_event.h"

#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace harmik {

class ThreadWaker;

// One entry of the input ring: what the driver callback copies for one incoming message.
struct RingEvent {
    std::uint32_t TimeStamp = 0;    // ms since the input was started
    std::uint32_t ArrivalMs = 0;    // the program's clock when the driver delivered it
    std::uint32_t ShortMessage = 0; // status | data1 << 8 | data2 << 16; 0 for a sysex block
    std::int32_t SysexBuffer = -1;  // index of the system-exclusive buffer, -1 for none
};

// Fixed ring of incoming events with one producer (the driver callback) and one consumer (the
// main thread). Only the entry count is shared; each side owns its own position.
class EventRing {
public:
    explicit EventRing(std::uint16_t capacity);
    bool push(const RingEvent& e); // producer; false when full
    bool pop(RingEvent& e);        // consumer; false when empty
    std::uint32_t count() const { return Count_.load(std::memory_order_acquire); }

private:
    std::vector<RingEvent> Entries_;
    std::uint32_t WritePos_ = 0;
    std::uint32_t ReadPos_ = 0;
    std::atomic<std::uint32_t> Count_{0};
};

// Fixed pool of system-exclusive buffers lent to the driver callback one block at a time and
// handed back as soon as the main thread has copied the block out.
class SysexPool {
public:
    SysexPool(std::uint16_t count, std::uint16_t size);
    int claim(); // producer; -1 when every buffer is in use
    void release(int index);
    std::uint8_t* data(int index) { return Data_.data() + std::size_t(index) * Size_; }
    std::uint16_t& length(int index) { return Lengths_[std::size_t(index)]; }
    std::uint16_t size() const { return Size_; }
    int inUseCount() const;

private:
    std::vector<std::uint8_t> Data_;
    std::vector<std::uint16_t> Lengths_;
    std::unique_ptr<std::atomic<bool>[]> InUse_;
    std::uint16_t Count_;
    std::uint16_t Size_;
};

// The MIDI input component: opens a port of the machine, and its driver callback files every
// incoming message into a fixed ring that the main thread empties with PopMidiEvent (or
// GetMidiEvent).
class TMidiInput : private MidiInSink {
public:
    explicit TMidiInput(MidiSystem& system);
    ~TMidiInput() override;
    TMidiInput(const TMidiInput&) = delete;
    TMidiInput& operator=(const TMidiInput&) = delete;

    QString ProductName() const { return ProductName_; }
    void setProductName(const QString& name);
    std::uint16_t DeviceID() const { return DeviceID_; }
    void setDeviceID(int id);
    std::uint16_t Capacity() const { return Capacity_; }
    void setCapacity(std::uint16_t capacity);
    std::uint16_t Error() const { return Error_; }
    std::uint16_t SysexBufferSize() const { return SysexBufferSize_; }
    void setSysexBufferSize(std::uint16_t size);
    std::uint16_t SysexBufferCount() const { return SysexBufferCount_; }
    void setSysexBufferCount(std::uint16_t count);
    bool SysexOnly() const { return SysexOnly_.load(std::memory_order_relaxed); }
    void setSysexOnly(bool on) { SysexOnly_.store(on, std::memory_order_relaxed); }

    // Called on the main thread: events are waiting / an event was lost to a full ring.
    std::function<void()> OnMidiInput;
    std::function<void()> OnOverflow;

    void Open();
    void Close();
    void Start();
    void Stop();
    bool isOpen() const { return Open_; }
    std::uint32_t MessageCount() const;
    // Takes the next event into a new event object with its own copy of a sysex block; null when
    // none is waiting.
    std::unique_ptr<TMyMidiEvent> GetMidiEvent();
    // Takes the next event into `out` without allocating; false when none is waiting. A sysex
    // block comes as status 0xF0 with its SysexLength; its bytes are copied into out.Sysex only
    // when that vector already has the capacity for them, otherwise out.Sysex is left empty.
    // Either way the block's buffer goes back to the driver at once.
    bool PopMidiEvent(TMyMidiEvent& out);

private:
    void MidiDriverCallback(const std::uint8_t* bytes, std::size_t length) override;
    bool fileSysexBlock(const std::uint8_t* bytes, std::size_t length, RingEvent& e);
    bool takeEvent(TMyMidiEvent& out, bool growSysex);
    void deliverWaitingEvents();
    void requireClosed(const char* property) const;

    MidiSystem& System_;
    QString ProductName_;
    std::uint16_t DeviceID_ = 0;
    std::uint16_t Capacity_ = 1024;
    std::uint16_t Error_ = 0;
    std::uint16_t SysexBufferSize_ = 4096;
    std::uint16_t SysexBufferCount_ = 16;
    std::atomic<bool> SysexOnly_{false};
    bool Open_ = false;

    // Shared with the driver callback; allocated before the port opens, freed after it closed.
    std::unique_ptr<EventRing> Ring_;
    std::unique_ptr<SysexPool> Sysex_;
    std::atomic<bool> Recording_{false};
    std::atomic<std::uint32_t> StartedAt_{0};
    std::atomic<std::uint32_t> Overflows_{0};
    std::unique_ptr<ThreadWaker> Waker_;
    std::unique_ptr<MidiInPort> Port_;
};

} // namespace harmik
