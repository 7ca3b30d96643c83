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

// The number of a module as the program stores and compares it.
constexpr int moduleNumber(ModuleId m) {
    return static_cast<int>(m);
}

// Whether module number m is the given module.
constexpr bool isModule(int m, ModuleId module) {
    return m == moduleNumber(module);
}

constexpr bool isValidModule(int m) {
    return m >= 1 && m <= kModuleCount;
}

} // namespace harmik
