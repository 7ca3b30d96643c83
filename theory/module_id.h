#pragma once
#include <cstdint>

namespace harmik {

// The seven exercise modules, numbered as everywhere in the program (and in stored files).
enum class ModuleId : std::uint8_t {
    Intervals = 1,
    Scales = 2,
    Chords = 3,
    Inversions = 4,
    Progressions = 5,
    Melodies = 6,
    Rhythm = 7,
};

constexpr int kModuleCount = 7;

constexpr bool isValidModule(int m) {
    return m >= 1 && m <= kModuleCount;
}

} // namespace harmik
