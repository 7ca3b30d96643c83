#pragma once
#include "theory/item_names.h"
#include "theory/module_id.h"

#include <QString>
#include <array>
#include <cstdint>

namespace harmik {

// Errors of a task per answer item. During a task entry i counts item i (melodies and rhythm
// count everything in entry 0); at the end the entries are sorted by count for the
// statistics window.
constexpr int kErrorEntryCount = 51;

struct ErrorEntry {
    std::int32_t item = 0;
    std::int32_t count = 0;
};

using ErrorStatistics = std::array<ErrorEntry, kErrorEntryCount>;

// Entry i := (item i, count 0).
void ClearErrorStatistics(ErrorStatistics& stats);

// One more error for the entry of `item`; an item outside 0..50 is not counted.
void AddError(ErrorStatistics& stats, int item);

// Largest count first; entries with equal counts keep their order.
void SortErrorStatistics(ErrorStatistics& stats);

// After sorting: whether the task had errors, and how many rows the statistics window lists
// (entries with errors, at most seven).
constexpr int kMaxErrorRows = 7;
bool HasErrors(const ErrorStatistics& sorted);
int ErrorRowCount(const ErrorStatistics& sorted);

// The text of an item's row in the statistics window.
QString ErrorRowText(ModuleId module, int item, const ItemNameList& names);

} // namespace harmik
