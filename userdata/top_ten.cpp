#include "userdata/top_ten.h"

#include "userdata/file_io.h"

#include <QFile>

#include <cmath>

namespace harmik {
namespace {

const QDate kDateEpoch(1899, 12, 30);
constexpr int kNamePieceLength = 20;

} // namespace

double DateToDays(const QDate& date) {
    return static_cast<double>(kDateEpoch.daysTo(date));
}

QDate DaysToDate(double days) {
    // A damaged file may hold anything here; such a date is no date.
    if (!std::isfinite(days) || days < -700000.0 || days > 3000000.0)
        return {};
    return kDateEpoch.addDays(static_cast<qint64>(days));
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
}

bool WriteTopTen(const TopTenTable& table, const QString& path, QString* error) {
    const QByteArray bytes(reinterpret_cast<const char*>(&table), sizeof(TopTenTable));
    return WriteFileWhole(path, bytes, error);
}

} // namespace harmik
