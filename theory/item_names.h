#pragma once
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "theory/module_id.h"

// The list of answer-item names, built once from the string table, from which the answer
// panel takes its captions and chord naming its interval names.
namespace harmik {

// Fetches a string of the string table by id, as UTF-8 ("" for an unknown id).
using StringLookup = std::function<std::string(int id)>;

// String ids used here.
namespace string_id {
constexpr int FirstIntervalName = 101; // sizes 0..16 are 101..117
constexpr int RangeWord = 120;         // "Диапазон" (one octave)
constexpr int OctavesWord = 121;       // "Октавы"
constexpr int FirstScaleName = 130;
constexpr int FirstChordName = 171;
constexpr int FirstInversionChord = 250;
constexpr int RootPositionLabel = 260;
constexpr int InversionLabel = 261; // "%d. обращ."
} // namespace string_id

// One chord of a catalogued progression as its label shows it: root offset above the key
// tonic and the chord type (0..47) under which it is named.
struct ProgressionChordLabel {
    int RootOffset = 0;
    int ChordType = 0;
};
using ProgressionLabelChords = std::vector<ProgressionChordLabel>;

struct ItemNameList {
    // 36 interval, 28 scale, 48 chord, 35 inversion and 48 progression names, in that order.
    std::vector<std::string> Items;
    // Longest names in characters (for chords the length less 3), for the panel layout.
    int LongestInterval = 0;
    int LongestScale = 0;
    int LongestChord = 0;
    // Octave words kept for chord naming: string 120 and string 121.
    std::string RangeWord;
    std::string OctavesWord;

    // The name of item `index` of a module with answer boxes; "" outside the module's slice.
    const std::string& name(ModuleId module, int index) const;
    const std::string& intervalName(int size) const { return name(ModuleId::Intervals, size); }
};

// First entry and length of a module's slice of the list (rhythm and melodies have none).
int itemNameSliceStart(ModuleId module);
int itemNameSliceLength(ModuleId module);

// Builds the list. The progressions' chords come from the progression catalogue (the program
// passes ProgressionLabelCatalogue() of progression_table.h); entries missing from
// `progressions` get an empty label.
ItemNameList BuildItemNameList(const StringLookup& lookup,
                               std::span<const ProgressionLabelChords> progressions = {});

// A progression's label: its chords joined by " - ", each as the roman numeral of its root
// offset, a blank before type 16, then the chord name for types above 1 or "m" for type 1.
std::string progressionLabel(const ProgressionLabelChords& chords, const StringLookup& lookup);

// Replaces the first "%d" of a string-table pattern by a number.
std::string formatNumber(const std::string& pattern, int value);

// Number of characters (code points) of a UTF-8 string.
int utf8Length(const std::string& text);

} // namespace harmik
