#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "theory/item_names.h"

// Keys of the exercises: the fixed or random root of the single-sonority modules, and the
// melody module's key with its tonality, key signature and circle-of-fifths stepping.
namespace harmik {

// Sharps (> 0) or flats (< 0) of the major key on each tonic pitch class.
extern const std::array<int, 12> FifthsPosition;
// Staff steps of the signature: entry 6 + k is the k-th sharp, entry 6 - k the k-th flat.
extern const std::array<std::int32_t, 13> KeySignatureSteps;
// The scale row used by each tonality, two digits per tonality.
extern const char TonalityScaleRows[];

constexpr int kTonalityCount = 7;
constexpr int kTimeSignatureCount = 8;

// Scale row of ScaleTable for a tonality 0..6.
int tonalityScaleRow(int tonality);
// Tonalities 1, 2, 3 and 5 are minor-type, 0, 4 and 6 major-type.
bool isMinorTonality(int tonality);

// The melody module's options as stored with the settings (36 bytes, 6..35 reserved).
struct MelodyOptions {
    std::uint8_t Key = 0;       // tonic pitch class, index of the key list
    std::uint8_t Tonality = 0;  // 0..6
    std::uint8_t Leap = 2;      // index of the leap list + 1
    std::uint8_t NoteCount = 5; // 1, 3, 5 .. 15
    std::uint8_t PrimaVista = 0;
    std::uint8_t ShowStartNote = 0;
    std::array<std::uint8_t, 30> Reserved{};
};
static_assert(sizeof(MelodyOptions) == 36);

// Accidental codes of the staff: 1 flat, 2 natural, 3 sharp.
constexpr int kFlatCode = 1;
constexpr int kNaturalCode = 2;
constexpr int kSharpCode = 3;

// The key state derived from the tonic and tonality.
struct KeyState {
    int signatureKey = 0; // pitch class of the major key whose signature is written
    std::array<std::array<int, 7>, 2> staffAccidentals{}; // per staff and step letter
    std::array<int, 7> stepAccidentals{};                 // per step letter
};

// Pitch class of the major key whose signature a key is written with.
int signatureKeyOf(int tonic, int tonality);

// Signature, staff accidentals and the tonality's raised or lowered steps for a tonic note and
// tonality.
KeyState SetupKeySignature(int tonic, int tonality);

// Staff steps counted from the C of note 36 (step 0); a black key is written as the step above
// with a flat (flat side) or the step below with a sharp (sharp side). Notes below 36 give
// negative steps, following the same pattern.
int flatSideStep(int note);
int sharpSideStep(int note);

// The fixed root of the single-sonority modules: the root list's index 0..11 gives 60..71, its
// thirteenth entry (12) gives 72, which marks the random root.
constexpr int kRandomRootNote = 72;
int rootNoteFromComboIndex(int index);
constexpr bool isRandomRoot(int rootNote) {
    return rootNote == kRandomRootNote;
}

// Melody tonic from the key list's index: 60 + index, an octave lower from 64 on (52..63).
int melodyTonicFromKey(int key);

// Moving the melody key a fifth up or down; the tonic stays within 52..65.
struct MelodyKey {
    int Key = 0;    // pitch class
    int Tonic = 60; // MIDI note
};
MelodyKey fifthUp(MelodyKey key);
MelodyKey fifthDown(MelodyKey key);

// The rhythm module's use of the same buttons: up selects the previous time signature, down
// the next, each stopping at the ends of the list of 8. The caller re-applies the time
// signature in any case.
int previousTimeSignature(int index);
int nextTimeSignature(int index);

// The 12 entries of the key list: flat names for major-type, key names for minor-type
// tonalities.
std::vector<std::string> SetupComboToneart(int tonality, bool germanNaming);

// The key label, e.g. "D минор": tonic name, a blank and string 171 or 172.
std::string keyLabel(int tonic, int tonality, bool germanNaming, const StringLookup& lookup);

// The leap list: step counts for the pentatonic tonalities, interval names otherwise.
std::vector<std::string> leapListEntries(int tonality, const StringLookup& lookup);

// The melody note count and the index of its list (1, 3, 5 .. 15 notes).
constexpr int noteCountFromComboIndex(int index) {
    return index * 2 + 1;
}
constexpr int comboIndexFromNoteCount(int noteCount) {
    return (noteCount - 1) / 2;
}

// Everything a change of tonality (or of key) recomputes for the melody window and the staff.
struct TonalitySetup {
    KeyState Key;                         // signature and step accidentals
    std::string Label;                    // the key label
    std::vector<std::string> KeyEntries;  // the key list
    int SelectedKey = 0;                  // the key list's selection: the tonic's pitch class
    std::vector<std::string> LeapEntries; // the leap list
};
TonalitySetup tonalityChange(int tonic, int tonality, bool germanNaming,
                             const StringLookup& lookup);

} // namespace harmik
