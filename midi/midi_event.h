#pragma once
#include <cstdint>
#include <vector>

namespace harmik {

// One event taken from the MIDI input. A system-exclusive block carries its own copy of the
// data; short messages carry none.
struct TMyMidiEvent {
    std::uint8_t MidiMessage = 0; // status byte, 0xF0 for a system-exclusive block
    std::uint8_t Data1 = 0;
    std::uint8_t Data2 = 0;
    std::uint32_t Time = 0;        // ms since the input was started
    std::uint32_t ArrivalMs = 0;   // the program's clock when the driver delivered it (0: unknown)
    std::uint16_t SysexLength = 0; // 0 for short messages
    std::vector<std::uint8_t> Sysex;
};

// A short message packed as the devices take it: status | data1 << 8 | data2 << 16.
constexpr std::uint32_t PackShortMessage(std::uint8_t status, std::uint8_t data1,
                                         std::uint8_t data2) {
    return std::uint32_t{status} | std::uint32_t{data1} << 8 | std::uint32_t{data2} << 16;
}

constexpr std::uint8_t StatusOf(std::uint32_t msg) {
    return msg & 0xFF;
}
constexpr std::uint8_t Data1Of(std::uint32_t msg) {
    return (msg >> 8) & 0xFF;
}
constexpr std::uint8_t Data2Of(std::uint32_t msg) {
    return (msg >> 16) & 0xFF;
}

} // namespace harmik
