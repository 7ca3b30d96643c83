#pragma once
#include "midi/midi_backend.h"
#include "midi/midi_event.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

namespace harmik {

// The MIDI output component: one device of the machine (id -1 the built-in synthesizer, ids
// 0.. system ports), opened and closed by the program, taking short and long messages.
class TMidiOutput {
public:
    explicit TMidiOutput(MidiSystem& system);
    ~TMidiOutput();
    TMidiOutput(const TMidiOutput&) = delete;
    TMidiOutput& operator=(const TMidiOutput&) = delete;

    QString ProductName() const { return ProductName_; }
    void setProductName(const QString& name);
    std::int32_t DeviceID() const { return DeviceID_; }
    void setDeviceID(std::int32_t id);
    std::uint16_t Error() const { return Error_; }

    // Called on the main thread after a long message has been played.
    std::function<void()> Onmidioutput;

    bool Open();
    bool Close();
    void PutMidiEvent(const TMyMidiEvent& event);
    void PutShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    void PutLong(const std::uint8_t* data, std::size_t length);
    void SetVolume(std::uint16_t left, std::uint16_t right);
    void Reset();

    bool isOpen() const { return Backend_ != nullptr; }
    // The open device, for the click track that sends to it straight from its own thread;
    // null while closed.
    MidiOutBackend* backend() const { return Backend_.get(); }

    // Name shown for the built-in synthesizer (the program's string table has it).
    void setBuiltInName(const QString& name);

private:
    QString nameOf(std::int32_t id) const;
    MidiOutBackend& requireOpen();

    MidiSystem& System_;
    QString ProductName_;
    QString BuiltInName_ = QStringLiteral("FluidSynth");
    std::int32_t DeviceID_ = -1;
    std::uint16_t Error_ = 0;
    std::unique_ptr<MidiOutBackend> Backend_;
    QObject Context_; // for the queued long-message-done call
};

} // namespace harmik
