#include "midi/midi_output.h"

#include "midi/midi_errors.h"

#include <QTimer>

namespace harmik {

namespace {
constexpr std::uint16_t kInvalidHandle = 5;
}

TMidiOutput::TMidiOutput(MidiSystem& system) : System_(system) {
    ProductName_ = nameOf(DeviceID_);
}

TMidiOutput::~TMidiOutput() {
    Close();
}

void TMidiOutput::setBuiltInName(const QString& name) {
    BuiltInName_ = name;
    if (DeviceID_ == -1)
        ProductName_ = name;
}

QString TMidiOutput::nameOf(std::int32_t id) const {
    if (id == -1)
        return BuiltInName_;
    return QString::fromStdString(System_.outputName(id));
}

void TMidiOutput::setDeviceID(std::int32_t id) {
    if (isOpen())
        throw EmidioutputError("Change to DeviceID while device was open");
    if (id < -1 || id >= System_.outputPortCount())
        throw EmidioutputError("Invalid device ID");
    DeviceID_ = id;
    ProductName_ = nameOf(id);
}

void TMidiOutput::setProductName(const QString& name) {
    if (isOpen())
        throw EmidioutputError("Change to ProductName while device was open");
    const int n = System_.outputPortCount();
    for (int id = -1; id < n; ++id) {
        if (nameOf(id) == name) {
            setDeviceID(id);
            return;
        }
    }
    throw EmidioutputError("MIDI output Device " + name.toStdString() + " not installed");
}

bool TMidiOutput::Open() {
    if (isOpen())
        return true;
    try {
        Backend_ = System_.openOutput(DeviceID_);
    } catch (const EmidioutputError&) {
        Error_ = 1;
        throw;
    }
    Error_ = 0;
    return true;
}

bool TMidiOutput::Close() {
    const bool wasOpen = isOpen();
    Backend_.reset();
    return wasOpen;
}

MidiOutBackend& TMidiOutput::requireOpen() {
    if (!Backend_) {
        Error_ = kInvalidHandle;
        throw EmidioutputError("Invalid handle");
    }
    return *Backend_;
}

void TMidiOutput::PutMidiEvent(const TMyMidiEvent& event) {
    if (!isOpen())
        throw EmidioutputError("MIDI Output device not open");
    if (!event.Sysex.empty())
        PutLong(event.Sysex.data(), event.SysexLength);
    else
        PutShort(event.MidiMessage, event.Data1, event.Data2);
}

void TMidiOutput::PutShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    requireOpen().sendShort(PackShortMessage(status, data1, data2));
}

void TMidiOutput::PutLong(const std::uint8_t* data, std::size_t length) {
    requireOpen().sendLong(data, length);
    QTimer::singleShot(0, &Context_, [this] {
        if (Onmidioutput)
            Onmidioutput();
    });
}

void TMidiOutput::SetVolume(std::uint16_t left, std::uint16_t right) {
    requireOpen().setVolume(left, right);
}

void TMidiOutput::Reset() {
    if (Backend_)
        Backend_->reset();
}

} // namespace harmik
