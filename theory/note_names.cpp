#include "theory/note_names.h"

namespace harmik {

const std::array<std::string_view, 12> NoteNamesFlat = {"C",  "Db", "D",  "Eb", "E",  "F",
                                                        "Gb", "G",  "Ab", "A",  "Bb", "B"};
const std::array<std::string_view, 12> NoteNamesSharp = {"C",  "C#", "D",  "D#", "E",  "F",
                                                         "F#", "G",  "G#", "A",  "A#", "B"};
const std::array<std::string_view, 12> NoteNamesKey = {"C",  "C#", "D",  "Eb", "E",  "F",
                                                       "F#", "G",  "G#", "A",  "Bb", "B"};
const std::array<std::string_view, 12> SolfegeSyllables = {"do", "ri",  "re", "me", "mi", "fa",
                                                           "fi", "sol", "le", "la", "te", "ti"};
const std::array<std::string_view, 12> RomanNumerals = {"I",  "bII", "II",  "bIII", "III",  "IV",
                                                        "bV", "V",   "bVI", "VI",   "bVII", "VII"};
const std::array<std::string_view, 5> AccidentalSuffixes = {"bb", "b", "", "#", "##"};
const std::array<bool, 12> WhiteKey = {true,  false, true,  false, true,  true,
                                       false, true,  false, true,  false, true};

namespace {
constexpr std::array<std::string_view, 7> kLetters = {"C", "D", "E", "F", "G", "A", "B"};
}

std::string applyGermanNaming(std::string_view name, bool germanNaming) {
    if (germanNaming && name == "B")
        return "H";
    return std::string(name);
}

std::string flatNoteName(int note, bool germanNaming) {
    return applyGermanNaming(NoteNamesFlat[static_cast<std::size_t>(pitchClass(note))],
                             germanNaming);
}

std::string sharpNoteName(int note, bool germanNaming) {
    return applyGermanNaming(NoteNamesSharp[static_cast<std::size_t>(pitchClass(note))],
                             germanNaming);
}

std::string keyNoteName(int note, bool germanNaming) {
    return applyGermanNaming(NoteNamesKey[static_cast<std::size_t>(pitchClass(note))],
                             germanNaming);
}

std::string_view accidentalSuffix(int accidental) {
    if (accidental < -2 || accidental > 2)
        return "";
    return AccidentalSuffixes[static_cast<std::size_t>(accidental + 2)];
}

std::string spelledNoteName(int letter, int accidental, bool germanNaming) {
    const std::string_view base = kLetters[static_cast<std::size_t>(((letter % 7) + 7) % 7)];
    std::string name = std::string(base) + std::string(accidentalSuffix(accidental));
    return applyGermanNaming(name, germanNaming);
}

std::string_view romanNumeral(int semitones) {
    return RomanNumerals[static_cast<std::size_t>(pitchClass(semitones))];
}

} // namespace harmik
