#include "theory/item_names.h"

#include <algorithm>

#include "theory/note_names.h"
#include "theory/theory_tables.h"

namespace harmik {

namespace {

constexpr int kInversionItemCount = kInversionRecordCount;

const std::string& emptyString() {
    static const std::string empty;
    return empty;
}

std::string intervalItemName(int size, const StringLookup& lookup) {
    if (size >= 0 && size <= 16)
        return lookup(string_id::FirstIntervalName + size);
    if (size == 24)
        return "2 " + lookup(string_id::OctavesWord);
    return "";
}

std::string inversionItemName(int index, const StringLookup& lookup) {
    if (index < kInversionChordCount)
        return lookup(string_id::FirstInversionChord + index);
    const int block = index / kInversionChordCount; // 1..4
    if (block == 1)
        return lookup(string_id::RootPositionLabel);
    return formatNumber(lookup(string_id::InversionLabel), block - 1);
}

} // namespace

int itemNameSliceStart(ModuleId module) {
    switch (module) {
    case ModuleId::Intervals:
        return 0;
    case ModuleId::Scales:
        return kIntervalItemCount;
    case ModuleId::Chords:
        return kIntervalItemCount + kScaleCount;
    case ModuleId::Inversions:
        return kIntervalItemCount + kScaleCount + kChordTypeCount;
    case ModuleId::Progressions:
        return kIntervalItemCount + kScaleCount + kChordTypeCount + kInversionItemCount;
    default:
        return 0;
    }
}

int itemNameSliceLength(ModuleId module) {
    switch (module) {
    case ModuleId::Intervals:
        return kIntervalItemCount;
    case ModuleId::Scales:
        return kScaleCount;
    case ModuleId::Chords:
        return kChordTypeCount;
    case ModuleId::Inversions:
        return kInversionItemCount;
    case ModuleId::Progressions:
        return kProgressionItemCount;
    default:
        return 0;
    }
}

const std::string& ItemNameList::name(ModuleId module, int index) const {
    if (index < 0 || index >= itemNameSliceLength(module))
        return emptyString();
    const auto at = static_cast<std::size_t>(itemNameSliceStart(module) + index);
    return at < Items.size() ? Items[at] : emptyString();
}

std::string formatNumber(const std::string& pattern, int value) {
    std::string text = pattern;
    const auto at = text.find("%d");
    if (at != std::string::npos)
        text.replace(at, 2, std::to_string(value));
    return text;
}

int utf8Length(const std::string& text) {
    return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string progressionLabel(const ProgressionLabelChords& chords, const StringLookup& lookup) {
    std::string label;
    for (std::size_t i = 0; i < chords.size(); ++i) {
        const ProgressionChordLabel& chord = chords[i];
        if (i > 0)
            label += " - ";
        label += romanNumeral(chord.RootOffset);
        if (chord.ChordType == 16)
            label += ' ';
        if (chord.ChordType > 1)
            label += lookup(string_id::FirstChordName + chord.ChordType);
        else if (chord.ChordType == 1)
            label += 'm';
    }
    return label;
}

ItemNameList BuildItemNameList(const StringLookup& lookup,
                               std::span<const ProgressionLabelChords> progressions) {
    ItemNameList list;
    list.Items.reserve(static_cast<std::size_t>(itemNameSliceStart(ModuleId::Progressions) +
                                                kProgressionItemCount));
    for (int size = 0; size < kIntervalItemCount; ++size) {
        list.Items.push_back(intervalItemName(size, lookup));
        list.LongestInterval = std::max(list.LongestInterval, utf8Length(list.Items.back()));
    }
    for (int row = 0; row < kScaleCount; ++row) {
        list.Items.push_back(lookup(string_id::FirstScaleName + row));
        list.LongestScale = std::max(list.LongestScale, utf8Length(list.Items.back()));
    }
    for (int type = 0; type < kChordTypeCount; ++type) {
        list.Items.push_back(lookup(string_id::FirstChordName + type));
        list.LongestChord = std::max(list.LongestChord, utf8Length(list.Items.back()) - 3);
    }
    for (int index = 0; index < kInversionItemCount; ++index)
        list.Items.push_back(inversionItemName(index, lookup));
    for (int item = 0; item < kProgressionItemCount; ++item) {
        const auto i = static_cast<std::size_t>(item);
        list.Items.push_back(i < progressions.size() ? progressionLabel(progressions[i], lookup)
                                                     : std::string());
    }
    list.RangeWord = lookup(string_id::RangeWord);
    list.OctavesWord = lookup(string_id::OctavesWord);
    return list;
}

} // namespace harmik
