#include "userdata/top_ten.h"

#include "userdata/file_io.h"

#include <QFile>

#include <cmath>

namespace harmik {
namespace {

const QDate kDateEpoch(1899, 12, 30);
constexpr int kNamePieceLength = 20;
const double kFirstDay = static_cast<double>(kDateEpoch.daysTo(QDate(1990, 1, 1)));
const double kLastDay = static_cast<double>(kDateEpoch.daysTo(QDate(9999, 12, 31)));

} // namespace

double DateToDays(const QDate& date) {
    return static_cast<double>(kDateEpoch.daysTo(date));
}

QDate DaysToDate(double days) {
    // A damaged file may hold anything here; such a date is no date. Nothing was dated before
    // the program existed, and the dates it writes are whole days.
    if (!std::isfinite(days) || days < kFirstDay || days > kLastDay || days != std::floor(days))
        return {};
    return kDateEpoch.addDays(static_cast<qint64>(days));
}

bool IsDamagedName(const ShortString<25>& name) {
    if (name.Length > kTopTenNameLength)
        return true;
    for (int i = 0; i < name.Length; ++i) {
        const auto c = static_cast<unsigned char>(name.Chars[static_cast<std::size_t>(i)]);
        if (c < 0x20 || c == 0x7F || c == 0x98) // control characters, a byte with no letter
            return true;
    }
    return false;
}

bool IsDamagedPlace(const TopTenRecord& r) {
    return IsDamagedName(r.name) || r.score < 0 || !DaysToDate(r.date).isValid() || r.module < 1 ||
           r.module > 7;
}

TopTenTable DefaultTopTen(const QString& defaultNames) {
    TopTenTable t;
    for (int i = 1; i <= 12; ++i) {
        TopTenRecord& r = t.records[static_cast<std::size_t>(i - 1)];
        r.name.setText(defaultNames.mid((i - 1) * kNamePieceLength, kNamePieceLength).trimmed());
        r.score = 4400 - 400 * i;
        r.date = DateToDays(QDate(1998, 12, 24));
        r.module = 1;
    }
    return t;
}

void ReadTopTen(TopTenTable& table, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    auto* dst = reinterpret_cast<char*>(&table);
    qint64 total = 0;
    while (total < static_cast<qint64>(sizeof(TopTenTable))) {
        const qint64 got = file.read(dst + total, static_cast<qint64>(sizeof(TopTenTable)) - total);
        if (got <= 0)
            break;
        total += got;
    }
    // A damaged place is shown empty: no name, no points, no date, no module. Record 11 only
    // lends its name; record 12 is filled anew before it is shown.
    for (int i = 0; i < kTopTenPlaceCount; ++i) {
        TopTenRecord& r = table.records[static_cast<std::size_t>(i)];
        if (IsDamagedPlace(r)) {
            r.name.setText(QString());
            r.score = 0;
            r.date = 0;
            r.module = 0;
        }
    }
    TopTenRecord& last = table.records[kTopTenPlaceCount];
    if (IsDamagedName(last.name))
        last.name.setText(QString());
}

bool WriteTopTen(const TopTenTable& table, const QString& path, QString* error) {
    const QByteArray bytes(reinterpret_cast<const char*>(&table), sizeof(TopTenTable));
    return WriteFileWhole(path, bytes, error);
}

} // namespace harmik
