#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "theory/item_names.h"
#include "theory/theory_tables.h"

// The catalogue of the progression module: 48 progressions of two to four chords relative to a
// key, and the fixed voicings that the jazz progressions are played with.
namespace harmik {

constexpr int kMaxProgressionChords = 4;
constexpr int kProgressionVoicingCount = 52;
// Chord types from this number on name a row of ProgressionVoicingTable instead of a row of
// ChordTypeIndex.
constexpr int kFirstFixedVoicingType = 201;

// One chord of a progression: its root in semitones above the key tonic and its chord type.
struct ProgressionChord {
    std::uint8_t RootOffset;
    std::uint8_t ChordType;
};

struct ProgressionRecord {
    std::uint8_t ChordCount; // 2..4
    std::array<ProgressionChord, kMaxProgressionChords> Chords;
    std::uint8_t VoiceLeading; // 1: voiced at play time, 0: voicings used as stored
    std::uint8_t Difficulty;

    std::span<const ProgressionChord> chords() const { return {Chords.data(), ChordCount}; }
};
static_assert(sizeof(ProgressionRecord) == 11);

// A fixed four-voice voicing. Bass and upper voices are semitones above the key tonic one
// octave down.
struct ProgressionVoicing {
    std::uint8_t VoiceCount; // always 4
    std::uint8_t Bass;
    std::array<std::uint8_t, 4> Upper;
    std::array<std::uint8_t, 2> Unused;
    std::uint8_t Spare;     // always 3, not read
    std::uint8_t NamedType; // the chord type (0..47) the chord is named as
};
static_assert(sizeof(ProgressionVoicing) == 10);

extern const std::array<ProgressionRecord, kProgressionItemCount> ProgressionTable;
extern const std::array<ProgressionVoicing, kProgressionVoicingCount> ProgressionVoicingTable;

// The record of an item; an index outside the catalogue takes its nearest row.
const ProgressionRecord& progressionRecord(int item);

constexpr bool isFixedVoicingType(int chordType) {
    return chordType >= kFirstFixedVoicingType;
}

// The fixed voicing of a chord type 201..252 (clamped to the table).
const ProgressionVoicing& fixedVoicing(int chordType);

// The chord type (0..47) a progression chord is named as: its own type, or for a fixed voicing
// the type stored with it.
int namedChordType(int chordType);

// The chords of every progression as its label names them, for BuildItemNameList.
std::vector<ProgressionLabelChords> ProgressionLabelCatalogue();

// The three item groups of the module: two-chord (0..23), three-chord (24..35) and four-chord
// progressions (36..47). Returns 0, 1 or 2.
int progressionGroupOf(int item);

} // namespace harmik
