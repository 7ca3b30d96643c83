#pragma once
#include <array>
#include <string>
#include <string_view>

// Note, degree and syllable names. All names are plain ASCII; under German notation a name
// that is exactly "B" is written "H".
namespace harmik {

extern const std::array<std::string_view, 12> NoteNamesFlat;
extern const std::array<std::string_view, 12> NoteNamesSharp;
extern const std::array<std::string_view, 12> NoteNamesKey; // key lists of the melody module
extern const std::array<std::string_view, 12> SolfegeSyllables;
extern const std::array<std::string_view, 12> RomanNumerals;     // by semitones above the tonic
extern const std::array<std::string_view, 5> AccidentalSuffixes; // by accidental + 2
extern const std::array<bool, 12> WhiteKey;

// Pitch class of a note, 0..11 also for negative numbers.
constexpr int pitchClass(int note) {
    return ((note % 12) + 12) % 12;
}

// "B" becomes "H" when germanNaming is set; every other name is returned as it is.
std::string applyGermanNaming(std::string_view name, bool germanNaming);

std::string flatNoteName(int note, bool germanNaming);
std::string sharpNoteName(int note, bool germanNaming);
std::string keyNoteName(int note, bool germanNaming);

// Suffix of an accidental -2 (double flat) .. +2 (double sharp); "" outside that range.
std::string_view accidentalSuffix(int accidental);

// Name of a note spelled on a staff letter (0 C .. 6 B) with an accidental -2..+2.
std::string spelledNoteName(int letter, int accidental, bool germanNaming);

// Roman numeral of the degree `semitones` above the key tonic (taken mod 12).
std::string_view romanNumeral(int semitones);

} // namespace harmik
