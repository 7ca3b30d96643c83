#include "midi/midi_input.h"

#include "midi/midi_errors.h"
#include "midi/thread_waker.h"
#include "theory/clock.h"

#include <algorithm>
#include <cstring>

namespace harmik {

namespace {
constexpr std::uint8_t kActiveSensing = 0xFE;
constexpr std::uint8_t kTimingClock = 0xF8;
constexpr std::uint8_t kSysexStart = 0xF0;
} // namespace

EventRing::EventRing(std::uint16_t capacity) : Entries_(std::max<std::uint16_t>(capacity, 1)) {}

bool EventRing::push(const RingEvent& e) {
    if (Count_.load(std::memory_order_acquire) >= Entries_.size())
        return false;
    Entries_[WritePos_] = e;
    WritePos_ = (WritePos_ + 1) % Entries_.size();
    Count_.fetch_add(1, std::memory_order_release);
    return true;
}

bool EventRing::pop(RingEvent& e) {
    if (Count_.load(std::memory_order_acquire) == 0)
        return false;
    e = Entries_[ReadPos_];
    ReadPos_ = (ReadPos_ + 1) % Entries_.size();
    Count_.fetch_sub(1, std::memory_order_release);
    return true;
}

SysexPool::SysexPool(std::uint16_t count, std::uint16_t size)
    : Data_(std::size_t(count) * size), Lengths_(count), InUse_(new std::atomic<bool>[count]),
      Count_(count), Size_(size) {
    for (std::uint16_t i = 0; i < count; ++i)
        InUse_[i].store(false);
}

int SysexPool::claim() {
    for (std::uint16_t i = 0; i < Count_; ++i)
        if (!InUse_[i].load(std::memory_order_relaxed) &&
            !InUse_[i].exchange(true, std::memory_order_acquire))
            return i;
    return -1;
}

void SysexPool::release(int index) {
    InUse_[std::size_t(index)].store(false, std::memory_order_release);
}

int SysexPool::inUseCount() const {
    int n = 0;
    for (std::uint16_t i = 0; i < Count_; ++i)
        n += InUse_[i].load(std::memory_order_acquire) ? 1 : 0;
    return n;
}

TMidiInput::TMidiInput(MidiSystem& system) : System_(system) {}

TMidiInput::~TMidiInput() {
    Close();
}

void TMidiInput::requireClosed(const char* property) const {
    if (Open_)
        throw EMidiInputError(std::string("Change to ") + property + " while device was open");
}

void TMidiInput::setDeviceID(int id) {
    requireClosed("DeviceID");
    if (id < 0 || id >= System_.inputPortCount())
        throw EMidiInputError("Invalid device ID");
    DeviceID_ = static_cast<std::uint16_t>(id);
    ProductName_ = QString::fromStdString(System_.inputName(id));
}

void TMidiInput::setProductName(const QString& name) {
    requireClosed("ProductName");
    const int n = System_.inputPortCount();
    for (int id = 0; id < n; ++id) {
        if (QString::fromStdString(System_.inputName(id)) == name) {
            setDeviceID(id);
            return;
        }
    }
    throw EMidiInputError("MIDI Input Device " + name.toStdString() + " not installed ");
}

void TMidiInput::setCapacity(std::uint16_t capacity) {
    requireClosed("Capacity");
    Capacity_ = capacity;
}

void TMidiInput::setSysexBufferSize(std::uint16_t size) {
    requireClosed("SysexBufferSize");
    SysexBufferSize_ = size;
}

void TMidiInput::setSysexBufferCount(std::uint16_t count) {
    requireClosed("SysexBuffercount");
    SysexBufferCount_ = count;
}

void TMidiInput::Open() {
    if (Open_)
        return;
    Ring_ = std::make_unique<EventRing>(Capacity_);
    Sysex_ = std::make_unique<SysexPool>(SysexBufferCount_, SysexBufferSize_);
    Overflows_.store(0);
    Recording_.store(false);
    if (!Waker_)
        Waker_ = std::make_unique<ThreadWaker>([this] { deliverWaitingEvents(); });
    try {
        Port_ = System_.openInput(DeviceID_, *this);
    } catch (const EMidiInputError&) {
        Error_ = 1;
        Ring_.reset();
        Sysex_.reset();
        throw;
    }
    Error_ = 0;
    Open_ = true;
}

void TMidiInput::Close() {
    if (!Open_)
        return;
    Open_ = false;
    Recording_.store(false);
    Port_.reset(); // no callback runs after this
    Ring_.reset();
    Sysex_.reset();
}

void TMidiInput::Start() {
    if (!Open_)
        return;
    StartedAt_.store(MonotonicMs(), std::memory_order_relaxed);
    Recording_.store(true, std::memory_order_release);
}

void TMidiInput::Stop() {
    if (Open_)
        Recording_.store(false, std::memory_order_release);
}

std::uint32_t TMidiInput::MessageCount() const {
    return Open_ && Ring_ ? Ring_->count() : 0;
}

bool TMidiInput::fileSysexBlock(const std::uint8_t* bytes, std::size_t length, RingEvent& e) {
    const int buffer = Sysex_->claim();
    if (buffer < 0)
        return false; // the driver has no buffer to put the block in
    // A block longer than a buffer arrives cut to the buffer's size (the incomplete-block case).
    const std::size_t kept = std::min<std::size_t>(length, Sysex_->size());
    std::memcpy(Sysex_->data(buffer), bytes, kept);
    Sysex_->length(buffer) = static_cast<std::uint16_t>(kept);
    e.SysexBuffer = buffer;
    e.ShortMessage = 0;
    return true;
}

void TMidiInput::MidiDriverCallback(const std::uint8_t* bytes, std::size_t length) {
    if (length == 0 || !Ring_ || !Recording_.load(std::memory_order_acquire))
        return;
    const std::uint8_t status = bytes[0];
    if (status == kActiveSensing || status == kTimingClock)
        return;
    RingEvent e;
    e.ArrivalMs = MonotonicMs();
    e.TimeStamp = e.ArrivalMs - StartedAt_.load(std::memory_order_relaxed);
    if (status == kSysexStart) {
        if (Sysex_->size() == 0 || !fileSysexBlock(bytes, length, e))
            return;
    } else {
        if (SysexOnly_.load(std::memory_order_relaxed))
            return;
        e.ShortMessage =
            PackShortMessage(status, length > 1 ? bytes[1] : 0, length > 2 ? bytes[2] : 0);
    }
    if (!Ring_->push(e)) {
        if (e.SysexBuffer >= 0)
            Sysex_->release(e.SysexBuffer);
        Overflows_.fetch_add(1, std::memory_order_relaxed);
    }
    Waker_->notify();
}

bool TMidiInput::takeEvent(TMyMidiEvent& out, bool growSysex) {
    RingEvent e;
    if (!Open_ || !Ring_ || !Ring_->pop(e))
        return false;
    out.Time = e.TimeStamp;
    out.ArrivalMs = e.ArrivalMs;
    out.Sysex.clear();
    if (e.SysexBuffer < 0) {
        out.MidiMessage = StatusOf(e.ShortMessage);
        out.Data1 = Data1Of(e.ShortMessage);
        out.Data2 = Data2Of(e.ShortMessage);
        out.SysexLength = 0;
        return true;
    }
    out.MidiMessage = kSysexStart;
    out.Data1 = 0;
    out.Data2 = 0;
    out.SysexLength = Sysex_->length(e.SysexBuffer);
    if (growSysex || out.Sysex.capacity() >= out.SysexLength) {
        const std::uint8_t* data = Sysex_->data(e.SysexBuffer);
        out.Sysex.assign(data, data + out.SysexLength);
    }
    Sysex_->release(e.SysexBuffer); // back to the driver at once
    return true;
}

std::unique_ptr<TMyMidiEvent> TMidiInput::GetMidiEvent() {
    auto event = std::make_unique<TMyMidiEvent>();
    if (!takeEvent(*event, true))
        return nullptr;
    return event;
}

bool TMidiInput::PopMidiEvent(TMyMidiEvent& out) {
    return takeEvent(out, false);
}

void TMidiInput::deliverWaitingEvents() {
    if (!Open_)
        return;
    if (OnMidiInput && MessageCount() > 0)
        OnMidiInput();
    for (std::uint32_t lost = Overflows_.exchange(0); lost > 0 && Open_; --lost)
        if (OnOverflow)
            OnOverflow();
}

} // namespace harmik
