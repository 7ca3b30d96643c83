#pragma once
// A SoundFont read with only some of its presets.
//
// FluidSynth builds the zones of every preset of a SoundFont when it loads it, whether or not
// they are ever played: some 9 MiB for FluidR3_GM's 189 presets, of which the program uses a
// handful. Through the loader here FluidSynth reads the file as if its preset table held only
// the presets asked for: the instruments and samples stay where they are in the file, and
// what is heard from a preset is exactly what the whole SoundFont gives.
//
// The presets travel in the name FluidSynth is given (SoundFontSubsetName), because its file
// callbacks get nothing else; it opens the name again whenever it reads a preset's samples.
#include <compare>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct _fluid_synth_t;

namespace harmik {

struct SoundFontPreset {
    int Bank = 0;
    int Program = 0;
    auto operator<=>(const SoundFontPreset&) const = default;
};

// Where a SoundFont file keeps its preset tables (the pdta list).
struct SoundFontLayout {
    std::uint64_t FileSize = 0;
    std::uint64_t PdtaStart = 0;    // the list's chunk header
    std::uint64_t PdtaEnd = 0;      // just past the list
    std::vector<std::uint8_t> Pdta; // the list's sub-chunks, headers included
};

// Reads `length` bytes at `offset` of the file; false when it cannot.
using ReadFileAt = std::function<bool(std::uint64_t offset, void* into, std::size_t length)>;

// The layout of a RIFF sfbk file; nothing when the file is not one.
std::optional<SoundFontLayout> ReadSoundFontLayout(const ReadFileAt& read, std::uint64_t fileSize);

// Every preset of the file, in the order of its table; empty when its tables are inconsistent.
std::vector<SoundFontPreset> PresetsOf(const SoundFontLayout& layout);

// The pdta list, chunk header included, with only the presets in `keep`; nothing when the
// tables are inconsistent.
std::optional<std::vector<std::uint8_t>> PresetListWith(const SoundFontLayout& layout,
                                                        const std::vector<SoundFontPreset>& keep);

// The presets of the SoundFont file at `path` (empty when it cannot be read as one).
std::vector<SoundFontPreset> ListSoundFontPresets(const std::string& path);

// What FluidSynth must keep for a channel with `bank` and `program` to get the preset it would
// get from the whole SoundFont: the preset itself, and bank 0's with that program, which
// FluidSynth falls back to (the first preset of each bank it falls back to further is kept
// by the caller anyway).
std::vector<SoundFontPreset> PresetsForProgram(const std::vector<SoundFontPreset>& available,
                                               int bank, int program);

// The name under which the loader below reads the file at `path` with only `presets`.
std::string SoundFontSubsetName(const std::string& path,
                                const std::vector<SoundFontPreset>& presets);

// Gives the synthesizer the loader that reads such names, and plain paths as they are. Before
// any SoundFont is loaded.
void AddSoundFontSubsetLoader(_fluid_synth_t* synth);

} // namespace harmik
