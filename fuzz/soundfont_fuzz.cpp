// A SoundFont file as any bytes: its preset table is read without reading past anything, and a
// cut of it holds exactly the presets asked for, in the file's order.
#include "fuzz_support.h"
#include "midi/soundfont_subset.h"

#include <algorithm>
#include <cstring>

using namespace harmik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const QString path = fuzz::Scratch().filePath(QStringLiteral("font.sf2"));
    fuzz::WriteBytes(path, reinterpret_cast<const char*>(data), size);
    const std::vector<SoundFontPreset> presets = ListSoundFontPresets(path.toStdString());

    const std::optional<SoundFontLayout> layout = ReadSoundFontLayout(
        [&](std::uint64_t offset, void* into, std::size_t length) {
            if (offset > size || length > size - offset)
                return false;
            std::memcpy(into, data + offset, length);
            return true;
        },
        size);
    FUZZ_CHECK(layout || presets.empty());
    if (!layout)
        return 0;
    FUZZ_CHECK(PresetsOf(*layout) == presets);

    // Every other preset, and one the file may not have.
    std::vector<SoundFontPreset> keep = {{1000, 1000}}, kept;
    for (std::size_t i = 0; i < presets.size(); ++i)
        if (i % 2 == 0)
            keep.push_back(presets[i]);
    for (const SoundFontPreset& preset : presets)
        if (std::find(keep.begin(), keep.end(), preset) != keep.end())
            kept.push_back(preset);
    const std::optional<std::vector<std::uint8_t>> list = PresetListWith(*layout, keep);
    FUZZ_CHECK(list || presets.empty());
    if (!list)
        return 0;
    SoundFontLayout cut;
    cut.Pdta.assign(list->begin() + 12, list->end());
    FUZZ_CHECK(PresetsOf(cut) == kept);
    return 0;
}
