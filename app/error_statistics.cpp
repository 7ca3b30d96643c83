#include "app/error_statistics.h"

#include "userdata/strings.h"

#include <algorithm>

namespace harmik {
namespace {

constexpr int kStrMelodyErrors = 1153;
constexpr int kStrFirstModuleTitle = 1707; // + module number
constexpr int kStrRangeWord = 120;         // one octave
constexpr int kStrOctavesWord = 121;       // several octaves
constexpr int kInversionChords = 7;
constexpr int kOctave = 12;

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Intervals: the simple interval's name, followed by the item's own name above the octave
// (" (М.нона)") or, for sizes without one, by the octaves added (" (+1 Диапазон)").
QString intervalRowText(int item, const ItemNameList& names) {
    const QString own = fromUtf8(names.intervalName(item));
    if (item <= kOctave || (item % kOctave == 0 && !own.isEmpty()))
        return own;
    const QString simple = fromUtf8(names.intervalName(item % kOctave));
    if (!own.isEmpty())
        return simple + QLatin1Char(' ') + own;
    const int octaves = item / kOctave;
    const QString word = LoadStr(octaves == 1 ? kStrRangeWord : kStrOctavesWord);
    return simple + QStringLiteral(" (+%1 %2)").arg(octaves).arg(word);
}

// Inversions: the chord's name, and for a record of the grid its inversion.
QString inversionRowText(int item, const ItemNameList& names) {
    const QString chord = fromUtf8(names.name(ModuleId::Inversions, item % kInversionChords));
    if (item < kInversionChords)
        return chord;
    return chord + QLatin1Char(' ') + fromUtf8(names.name(ModuleId::Inversions, item));
}

} // namespace

void ClearErrorStatistics(ErrorStatistics& stats) {
    for (int i = 0; i < kErrorEntryCount; ++i)
        stats[static_cast<std::size_t>(i)] = ErrorEntry{i, 0};
}

void AddError(ErrorStatistics& stats, int item) {
    if (item < 0 || item >= kErrorEntryCount)
        return;
    ++stats[static_cast<std::size_t>(item)].count;
}

void SortErrorStatistics(ErrorStatistics& stats) {
    std::stable_sort(stats.begin(), stats.end(),
                     [](const ErrorEntry& a, const ErrorEntry& b) { return a.count > b.count; });
}

bool HasErrors(const ErrorStatistics& sorted) {
    return sorted[0].count > 0;
}

int ErrorRowCount(const ErrorStatistics& sorted) {
    int rows = 0;
    while (rows < kMaxErrorRows && sorted[static_cast<std::size_t>(rows)].count > 0)
        ++rows;
    return rows;
}

QString ErrorRowText(ModuleId module, int item, const ItemNameList& names) {
    switch (module) {
    case ModuleId::Intervals:
        return intervalRowText(item, names);
    case ModuleId::Inversions:
        return inversionRowText(item, names);
    case ModuleId::Scales:
    case ModuleId::Chords:
    case ModuleId::Progressions:
        return fromUtf8(names.name(module, item));
    case ModuleId::Melodies:
        return LoadStr(kStrMelodyErrors);
    case ModuleId::Rhythm:
        break;
    }
    // Rhythm counts all its errors together: the row carries the module's title.
    return LoadStr(kStrFirstModuleTitle + static_cast<int>(ModuleId::Rhythm));
}

} // namespace harmik
