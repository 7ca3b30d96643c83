#pragma once
#include <array>
#include <string_view>

namespace harmik {

// PC-speaker frequencies in hertz for notes 24..83 (the speaker sounds note n at the pitch of
// n + 12). Notes outside that range have none and are never sent to the speaker.
constexpr int kSpeakerLowestNote = 24;
constexpr int kSpeakerHighestNote = 83;
extern const std::array<int, 60> SpeakerFrequency;

// Frequency for a note, or 0 when the note has no speaker frequency.
int SpeakerFrequencyOf(int note);

// General MIDI instrument names by program number, and the 16 families heading eight programs
// each.
extern const std::array<std::string_view, 128> InstrumentNames;
extern const std::array<std::string_view, 16> InstrumentFamilies;

// Drum-sound names of drum notes 27..88.
constexpr int kFirstDrumNote = 27;
constexpr int kLastDrumNote = 88;
extern const std::array<std::string_view, 62> DrumSoundNames;

// The drum name of a note, or an empty view outside 27..88.
std::string_view DrumSoundName(int note);

} // namespace harmik
