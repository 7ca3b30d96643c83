#pragma once
#include "userdata/short_string.h"

#include <QDate>
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>

namespace harmik {

#pragma pack(push, 1)
struct TopTenRecord {
    ShortString<25> name;
    std::uint8_t padding26[2] = {};
    std::int32_t score = 0;
    double date = 0; // days since 30 December 1899, whole days
    std::uint8_t module = 1;
    std::uint8_t padding41[7] = {};
};
#pragma pack(pop)

static_assert(sizeof(TopTenRecord) == 48);
static_assert(offsetof(TopTenRecord, score) == 28);
static_assert(offsetof(TopTenRecord, date) == 32);
static_assert(offsetof(TopTenRecord, module) == 40);

// Records 1..10 (indices 0..9) are the places, best first; record 11 (index 10) keeps the last
// name typed; record 12 (index 11) is the candidate being entered.
struct TopTenTable {
    std::array<TopTenRecord, 12> records{};
};
static_assert(sizeof(TopTenTable) == 576);

constexpr const char* kTopTenFileName = "top10.hkt";
constexpr int kTopTenNameLength = 25;
constexpr int kTopTenPlaceCount = 10;

double DateToDays(const QDate& date);
// The date of a stored day number; no date for one that is not a whole day from 1990 to 9999.
QDate DaysToDate(double days);

// A name longer than its capacity or holding a byte that is no letter.
bool IsDamagedName(const ShortString<25>& name);
// A place that no run of the program could have written: a damaged name, negative points, no
// date, or no module.
bool IsDamagedPlace(const TopTenRecord& r);

// The twelve default entries: names from the given list of 20-character pieces, scores
// 4000 down to 400 for the places (0 and -400 for records 11 and 12), 24.12.1998, module 1.
TopTenTable DefaultTopTen(const QString& defaultNames);

// Overlays the table with the file; a missing, empty or short file leaves the rest as it was.
// Damaged places become empty ones (shown as the placeholder name with no date), a damaged
// last name an empty one.
void ReadTopTen(TopTenTable& table, const QString& path);

// Writes the 576 bytes whole or not at all.
bool WriteTopTen(const TopTenTable& table, const QString& path, QString* error);

} // namespace harmik
