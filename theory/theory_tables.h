#pragma once
#include <array>
#include <cstdint>
#include <span>

#include "theory/module_id.h"

// The constant catalogues of intervals, scales, chords and inversions. Offsets are semitones
// above a root; a pitch class is a MIDI note number mod 12 (0 = C).
namespace harmik {

constexpr int kIntervalItemCount = 36;
constexpr int kScaleCount = 28;
constexpr int kChordTypeCount = 48;
constexpr int kChordVoicingCount = 146;
constexpr int kInversionRecordCount = 35;
constexpr int kInversionChordCount = 7;
constexpr int kProgressionItemCount = 48;

// Point weight of an interval, by its size mod 12.
extern const std::array<std::uint8_t, 12> IntervalDifficulty;

// One scale: note count (both ends of the octave included), offsets, difficulty.
struct ScaleRecord {
    std::uint8_t Count;
    std::array<std::uint8_t, 13> Offsets;
    std::uint8_t Difficulty;

    std::span<const std::uint8_t> notes() const { return {Offsets.data(), Count}; }
};
static_assert(sizeof(ScaleRecord) == 15);

// Rows 0..6: modes of the major scale; 7..13 modes of harmonic minor; 14..20 modes of melodic
// minor (each family in degree order); 21..27 symmetric and other scales.
extern const std::array<ScaleRecord, kScaleCount> ScaleTable;

constexpr int kMajorModesFirstRow = 0;
constexpr int kHarmonicMinorFirstRow = 7;
constexpr int kMelodicMinorFirstRow = 14;
constexpr int kOtherScalesFirstRow = 21;

// Where the voicings of one chord type start in ChordVoicingTable and how many there are.
struct ChordTypeEntry {
    std::uint8_t First;
    std::uint8_t Count;
};
static_assert(sizeof(ChordTypeEntry) == 2);

extern const std::array<ChordTypeEntry, kChordTypeCount> ChordTypeIndex;

// One chord voicing: note count, offsets above the root (the root itself, offset 0, lowest),
// difficulty. The first voicing of a type is its close root position.
struct ChordVoicing {
    std::uint8_t Count;
    std::array<std::uint8_t, 7> Offsets;
    std::uint8_t Difficulty;

    std::span<const std::uint8_t> notes() const { return {Offsets.data(), Count}; }
    int span() const { return Count > 0 ? Offsets[Count - 1] : 0; }
};
static_assert(sizeof(ChordVoicing) == 9);

extern const std::array<ChordVoicing, kChordVoicingCount> ChordVoicingTable;

// One inversion: note count (3 or 4), offsets measured from the chord's root, difficulty.
struct InversionRecord {
    std::uint8_t Count;
    std::array<std::uint8_t, 4> Offsets;
    std::uint8_t Difficulty;

    std::span<const std::uint8_t> notes() const { return {Offsets.data(), Count}; }
    int span() const { return Count > 0 ? Offsets[Count - 1] : 0; }
};
static_assert(sizeof(InversionRecord) == 6);

// Record = 7 x block + chord. Block 0 labels the answer grid's rows, block 1 holds the root
// positions, blocks 2..4 the first to third inversions. The triads' third-inversion records
// (28, 29, 30) are empty and never asked.
extern const std::array<InversionRecord, kInversionRecordCount> InversionTable;

constexpr int kFirstInversionItem = 7;
constexpr bool isAskableInversion(int record) {
    return record >= kFirstInversionItem && record < kInversionRecordCount &&
           !(record >= 28 && record <= 30);
}

// Checked range accessors: an index outside the table is clamped to its nearest row.
const ScaleRecord& scaleRow(int row);
const ChordVoicing& chordVoicing(int record);
const ChordTypeEntry& chordType(int type);
const InversionRecord& inversionRecord(int record);

// The record of ChordVoicingTable played for a chord type and voicing number.
int chordVoicingRecord(int type, int voicing);

// Item groups of the option panel: the answer boxes that group box g (1..5) of module m ticks
// at once, as a string of '0'/'1' (character i stands for answer box i; boxes beyond the end
// are not touched). Empty for a module or group that has none.
const char* ItemGroupMask(ModuleId module, int group);
bool ItemGroupContains(ModuleId module, int group, int box);

} // namespace harmik
