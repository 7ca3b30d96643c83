#pragma once
#include <stdexcept>
#include <string>

namespace harmik {

// Errors of the MIDI input component: a failing device call, an invalid property change.
class EMidiInputError : public std::runtime_error {
public:
    explicit EMidiInputError(const std::string& text) : std::runtime_error(text) {}
};

// Errors of the MIDI output component.
class EmidioutputError : public std::runtime_error {
public:
    explicit EmidioutputError(const std::string& text) : std::runtime_error(text) {}
};

} // namespace harmik
