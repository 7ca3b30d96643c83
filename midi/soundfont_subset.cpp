#include "midi/soundfont_subset.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fluidsynth.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace harmik {

namespace {

constexpr const char kSubsetPrefix[] = "harmik-presets:";
// Beyond this a preset table is taken for a damaged file rather than read into memory.
constexpr std::uint64_t kMaxPdtaBytes = 64u << 20;

// The pdta list's sub-chunks in the order the format fixes, with their record sizes.
enum Table { Phdr, Pbag, Pmod, Pgen, Inst, Ibag, Imod, Igen, Shdr, kTables };
constexpr std::array<const char*, kTables> kTableIds = {"phdr", "pbag", "pmod", "pgen", "inst",
                                                        "ibag", "imod", "igen", "shdr"};
constexpr std::array<std::size_t, kTables> kRecordSizes = {38, 4, 10, 4, 22, 4, 10, 4, 46};
constexpr std::size_t kPresetProgram = 20, kPresetBank = 22, kPresetBag = 24;

unsigned get16(const std::uint8_t* p) {
    return unsigned(p[0]) | unsigned(p[1]) << 8;
}
std::uint32_t get32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
void put16(std::uint8_t* p, unsigned v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
void put32(std::uint8_t* p, std::uint32_t v) {
    put16(p, v & 0xFFFF);
    put16(p + 2, v >> 16);
}
bool isId(const std::uint8_t* p, const char* id) {
    return std::memcmp(p, id, 4) == 0;
}

struct Span {
    const std::uint8_t* Data = nullptr;
    std::size_t Count = 0; // records
};
using Tables = std::array<Span, kTables>;

// Each of the nine tables once, each a whole number of records and at least its terminal one.
std::optional<Tables> tablesOf(const std::vector<std::uint8_t>& pdta) {
    Tables tables{};
    std::size_t at = 0;
    while (at + 8 <= pdta.size()) {
        const std::uint8_t* chunk = pdta.data() + at;
        const std::size_t length = get32(chunk + 4);
        if (length > pdta.size() - at - 8)
            return {};
        for (int t = 0; t < kTables; ++t) {
            if (isId(chunk, kTableIds[std::size_t(t)]) && !tables[std::size_t(t)].Data) {
                if (length % kRecordSizes[std::size_t(t)] != 0 || length == 0)
                    return {};
                tables[std::size_t(t)] = {chunk + 8, length / kRecordSizes[std::size_t(t)]};
            }
        }
        at += 8 + length + (length & 1);
    }
    for (const Span& table : tables)
        if (!table.Data)
            return {};
    return tables;
}

const std::uint8_t* record(const Tables& tables, Table t, std::size_t index) {
    return tables[std::size_t(t)].Data + index * kRecordSizes[std::size_t(t)];
}

struct PresetEntry {
    SoundFontPreset Id;
    std::size_t Record = 0;
    std::size_t FirstBag = 0, EndBag = 0; // its zones, the next one's first bag closing them
};

// The presets with their zones, once every index between the tables is known to hold.
std::optional<std::vector<PresetEntry>> presetEntries(const Tables& tables) {
    const std::size_t presets = tables[Phdr].Count, bags = tables[Pbag].Count;
    unsigned lastGen = 0, lastMod = 0;
    for (std::size_t b = 0; b < bags; ++b) {
        const unsigned gen = get16(record(tables, Pbag, b));
        const unsigned mod = get16(record(tables, Pbag, b) + 2);
        if (gen < lastGen || mod < lastMod || gen > tables[Pgen].Count || mod > tables[Pmod].Count)
            return {};
        lastGen = gen;
        lastMod = mod;
    }
    std::vector<PresetEntry> entries;
    for (std::size_t p = 0; p + 1 < presets; ++p) {
        const std::uint8_t* header = record(tables, Phdr, p);
        const std::size_t first = get16(header + kPresetBag);
        const std::size_t end = get16(record(tables, Phdr, p + 1) + kPresetBag);
        if (first > end || end >= bags)
            return {};
        entries.push_back({{int(get16(header + kPresetBank)), int(get16(header + kPresetProgram))},
                           p,
                           first,
                           end});
    }
    return entries;
}

void appendChunk(std::vector<std::uint8_t>& out, const char* id, const std::uint8_t* data,
                 std::size_t length) {
    const std::size_t at = out.size();
    out.resize(at + 8);
    std::memcpy(out.data() + at, id, 4);
    put32(out.data() + at + 4, std::uint32_t(length));
    out.insert(out.end(), data, data + length);
}

void appendRecords(std::vector<std::uint8_t>& out, const Tables& tables, Table t, std::size_t first,
                   std::size_t end) {
    out.insert(out.end(), record(tables, t, first), record(tables, t, end));
}

// The file as FluidSynth reads it: pieces of the file and of memory one after the other.
struct VirtualFile {
    struct Piece {
        std::uint64_t Length = 0;
        std::uint64_t FileOffset = 0;        // when read from the file
        const std::uint8_t* Bytes = nullptr; // when held here
    };
    ~VirtualFile() {
        if (Fd >= 0)
            ::close(Fd);
    }
    int Fd = -1;
    std::vector<std::uint8_t> Head, List;
    std::vector<Piece> Pieces;
    std::uint64_t Size = 0;
    std::uint64_t Position = 0;
};

bool readFileAt(int fd, std::uint64_t offset, void* into, std::size_t length) {
    auto* out = static_cast<std::uint8_t*>(into);
    while (length > 0) {
        const ssize_t n = ::pread(fd, out, length, off_t(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        out += n;
        offset += std::uint64_t(n);
        length -= std::size_t(n);
    }
    return true;
}

ReadFileAt readerOf(int fd) {
    return [fd](std::uint64_t offset, void* into, std::size_t length) {
        return readFileAt(fd, offset, into, length);
    };
}

// The file with its preset list cut to `presets`; false when it cannot be cut.
bool cutPresets(VirtualFile& file, const std::vector<SoundFontPreset>& presets) {
    const std::optional<SoundFontLayout> layout = ReadSoundFontLayout(readerOf(file.Fd), file.Size);
    if (!layout)
        return false;
    std::optional<std::vector<std::uint8_t>> list = PresetListWith(*layout, presets);
    if (!list)
        return false;
    const std::uint64_t size = layout->PdtaStart + list->size() + (file.Size - layout->PdtaEnd);
    if (size - 8 > 0xFFFFFFFFu)
        return false;
    file.Head.resize(12);
    if (!readFileAt(file.Fd, 0, file.Head.data(), 12))
        return false;
    put32(file.Head.data() + 4, std::uint32_t(size - 8));
    file.List = std::move(*list);
    file.Pieces = {{12, 0, file.Head.data()},
                   {layout->PdtaStart - 12, 12, nullptr},
                   {file.List.size(), 0, file.List.data()},
                   {file.Size - layout->PdtaEnd, layout->PdtaEnd, nullptr}};
    file.Size = size;
    return true;
}

// "harmik-presets:0.0,128.0:/path": the path and the presets; a plain path otherwise.
std::string parseName(const char* name, std::vector<SoundFontPreset>& presets, bool& subset) {
    const std::string_view text(name);
    const std::string_view prefix(kSubsetPrefix);
    subset = false;
    if (!text.starts_with(prefix))
        return std::string(text);
    const std::size_t end = text.find(':', prefix.size());
    if (end == std::string_view::npos)
        return std::string(text);
    const char* at = text.data() + prefix.size();
    const char* const last = text.data() + end;
    while (at < last) {
        SoundFontPreset preset;
        auto [afterBank, bankError] = std::from_chars(at, last, preset.Bank);
        if (bankError != std::errc{} || afterBank == last || *afterBank != '.')
            return std::string(text);
        auto [afterProgram, programError] = std::from_chars(afterBank + 1, last, preset.Program);
        if (programError != std::errc{} || (afterProgram != last && *afterProgram != ','))
            return std::string(text);
        presets.push_back(preset);
        at = afterProgram == last ? last : afterProgram + 1;
    }
    subset = true;
    return std::string(text.substr(end + 1));
}

void* openSoundFont(const char* name) {
    std::vector<SoundFontPreset> presets;
    bool subset = false;
    const std::string path = parseName(name, presets, subset);
    auto file = std::make_unique<VirtualFile>();
    file->Fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status {};
    if (file->Fd < 0 || ::fstat(file->Fd, &status) != 0 || !S_ISREG(status.st_mode))
        return nullptr;
    file->Size = std::uint64_t(status.st_size);
    if (!subset || !cutPresets(*file, presets)) // a file that cannot be cut is read whole
        file->Pieces = {{file->Size, 0, nullptr}};
    return file.release();
}

int readSoundFont(void* into, fluid_long_long_t count, void* handle) {
    auto& file = *static_cast<VirtualFile*>(handle);
    if (count < 0 || std::uint64_t(count) > file.Size - file.Position)
        return FLUID_FAILED;
    auto* out = static_cast<std::uint8_t*>(into);
    std::uint64_t left = std::uint64_t(count);
    std::uint64_t pieceStart = 0;
    for (const VirtualFile::Piece& piece : file.Pieces) {
        const std::uint64_t pieceEnd = pieceStart + piece.Length;
        if (left > 0 && file.Position < pieceEnd) {
            const std::uint64_t within = file.Position - pieceStart;
            const std::uint64_t n = std::min(left, piece.Length - within);
            if (piece.Bytes)
                std::memcpy(out, piece.Bytes + within, std::size_t(n));
            else if (!readFileAt(file.Fd, piece.FileOffset + within, out, std::size_t(n)))
                return FLUID_FAILED;
            out += n;
            left -= n;
            file.Position += n;
        }
        pieceStart = pieceEnd;
    }
    return left == 0 ? FLUID_OK : FLUID_FAILED;
}

int seekSoundFont(void* handle, fluid_long_long_t offset, int origin) {
    auto& file = *static_cast<VirtualFile*>(handle);
    const long long base = origin == SEEK_SET   ? 0
                           : origin == SEEK_CUR ? (long long)file.Position
                           : origin == SEEK_END ? (long long)file.Size
                                                : -1;
    if (base < 0 || offset < -base || (long long)file.Size - base < offset)
        return FLUID_FAILED;
    file.Position = std::uint64_t(base + offset);
    return FLUID_OK;
}

fluid_long_long_t tellSoundFont(void* handle) {
    return fluid_long_long_t(static_cast<VirtualFile*>(handle)->Position);
}

int closeSoundFont(void* handle) {
    delete static_cast<VirtualFile*>(handle);
    return FLUID_OK;
}

} // namespace

std::optional<SoundFontLayout> ReadSoundFontLayout(const ReadFileAt& read, std::uint64_t fileSize) {
    std::uint8_t head[12];
    if (fileSize < 12 || !read(0, head, 12) || !isId(head, "RIFF") || !isId(head + 8, "sfbk"))
        return {};
    const std::uint64_t riffEnd =
        std::min<std::uint64_t>(fileSize, 8 + std::uint64_t(get32(head + 4)));
    for (std::uint64_t at = 12; at + 12 <= riffEnd;) {
        std::uint8_t chunk[12];
        if (!read(at, chunk, 12))
            return {};
        const std::uint64_t length = get32(chunk + 4);
        if (length > fileSize - at - 8)
            return {};
        if (isId(chunk, "LIST") && isId(chunk + 8, "pdta") && length >= 4) {
            if (length > kMaxPdtaBytes)
                return {};
            SoundFontLayout layout;
            layout.FileSize = fileSize;
            layout.PdtaStart = at;
            layout.PdtaEnd = std::min(at + 8 + length + (length & 1), fileSize);
            layout.Pdta.resize(std::size_t(length - 4));
            if (!read(at + 12, layout.Pdta.data(), layout.Pdta.size()))
                return {};
            return layout;
        }
        at += 8 + length + (length & 1);
    }
    return {};
}

std::vector<SoundFontPreset> PresetsOf(const SoundFontLayout& layout) {
    std::vector<SoundFontPreset> presets;
    if (const std::optional<Tables> tables = tablesOf(layout.Pdta))
        if (const std::optional<std::vector<PresetEntry>> entries = presetEntries(*tables))
            for (const PresetEntry& entry : *entries)
                presets.push_back(entry.Id);
    return presets;
}

std::optional<std::vector<std::uint8_t>> PresetListWith(const SoundFontLayout& layout,
                                                        const std::vector<SoundFontPreset>& keep) {
    const std::optional<Tables> tables = tablesOf(layout.Pdta);
    if (!tables)
        return {};
    const std::optional<std::vector<PresetEntry>> entries = presetEntries(*tables);
    if (!entries)
        return {};
    const Tables& t = *tables;
    std::vector<std::uint8_t> phdr, pbag, pmod, pgen;
    auto closeBag = [&] {
        const std::size_t at = pbag.size();
        pbag.resize(at + 4);
        put16(pbag.data() + at, unsigned(pgen.size() / kRecordSizes[Pgen]));
        put16(pbag.data() + at + 2, unsigned(pmod.size() / kRecordSizes[Pmod]));
    };
    auto appendHeader = [&](std::size_t index) {
        const std::size_t at = phdr.size();
        appendRecords(phdr, t, Phdr, index, index + 1);
        put16(phdr.data() + at + kPresetBag, unsigned(pbag.size() / kRecordSizes[Pbag]));
    };
    for (const PresetEntry& entry : *entries) {
        if (std::find(keep.begin(), keep.end(), entry.Id) == keep.end())
            continue;
        appendHeader(entry.Record);
        for (std::size_t b = entry.FirstBag; b < entry.EndBag; ++b) {
            closeBag();
            const std::uint8_t* bag = record(t, Pbag, b);
            const std::uint8_t* next = record(t, Pbag, b + 1);
            appendRecords(pgen, t, Pgen, get16(bag), get16(next));
            appendRecords(pmod, t, Pmod, get16(bag + 2), get16(next + 2));
        }
    }
    // The terminal records: the last header closing the last preset's zones, and so on down.
    appendHeader(t[Phdr].Count - 1);
    closeBag();
    appendRecords(pgen, t, Pgen, t[Pgen].Count - 1, t[Pgen].Count);
    appendRecords(pmod, t, Pmod, t[Pmod].Count - 1, t[Pmod].Count);

    std::vector<std::uint8_t> list = {'L', 'I', 'S', 'T', 0, 0, 0, 0, 'p', 'd', 't', 'a'};
    appendChunk(list, "phdr", phdr.data(), phdr.size());
    appendChunk(list, "pbag", pbag.data(), pbag.size());
    appendChunk(list, "pmod", pmod.data(), pmod.size());
    appendChunk(list, "pgen", pgen.data(), pgen.size());
    for (int table = Inst; table < kTables; ++table)
        appendChunk(list, kTableIds[std::size_t(table)], t[std::size_t(table)].Data,
                    t[std::size_t(table)].Count * kRecordSizes[std::size_t(table)]);
    put32(list.data() + 4, std::uint32_t(list.size() - 8));
    return list;
}

std::vector<SoundFontPreset> ListSoundFontPresets(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    std::vector<SoundFontPreset> presets;
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode))
        if (const auto layout = ReadSoundFontLayout(readerOf(fd), std::uint64_t(status.st_size)))
            presets = PresetsOf(*layout);
    ::close(fd);
    return presets;
}

std::vector<SoundFontPreset> PresetsForProgram(const std::vector<SoundFontPreset>& available,
                                               int bank, int program) {
    std::vector<SoundFontPreset> presets;
    for (const SoundFontPreset preset :
         {SoundFontPreset{bank, program}, SoundFontPreset{0, program}})
        if (std::find(available.begin(), available.end(), preset) != available.end() &&
            std::find(presets.begin(), presets.end(), preset) == presets.end())
            presets.push_back(preset);
    return presets;
}

std::string SoundFontSubsetName(const std::string& path,
                                const std::vector<SoundFontPreset>& presets) {
    std::string name = kSubsetPrefix;
    for (const SoundFontPreset& preset : presets) {
        if (&preset != presets.data())
            name += ',';
        name += std::to_string(preset.Bank) + '.' + std::to_string(preset.Program);
    }
    return name + ':' + path;
}

void AddSoundFontSubsetLoader(_fluid_synth_t* synth) {
    fluid_sfloader_t* loader = new_fluid_defsfloader(fluid_synth_get_settings(synth));
    if (!loader)
        return;
    fluid_sfloader_set_callbacks(loader, openSoundFont, readSoundFont, seekSoundFont, tellSoundFont,
                                 closeSoundFont);
    fluid_synth_add_sfloader(synth, loader);
}

} // namespace harmik
