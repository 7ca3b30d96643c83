// The top-ten file as any bytes: no damaged place is left to be shown, the good places keep
// their bytes, and what was read survives a write and a read unchanged.
#include "fuzz_support.h"
#include "userdata/top_ten.h"

#include <cstring>

using namespace harmik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const QString path = fuzz::Scratch().filePath(QStringLiteral("top10.hkt"));
    fuzz::WriteBytes(path, reinterpret_cast<const char*>(data), size);

    const TopTenTable defaults = DefaultTopTen(QStringLiteral("Анна                Борис"));
    TopTenTable table = defaults;
    ReadTopTen(table, path);

    for (int i = 0; i < kTopTenPlaceCount; ++i) {
        const TopTenRecord& r = table.records[static_cast<std::size_t>(i)];
        FUZZ_CHECK(!IsDamagedName(r.name));
        // A place is either a whole record or the empty one.
        const bool empty = r.name.Length == 0 && r.score == 0 && r.date == 0 && r.module == 0;
        FUZZ_CHECK(empty || !IsDamagedPlace(r));
        // A place the file held whole and undamaged is as the file had it.
        TopTenRecord stored = defaults.records[static_cast<std::size_t>(i)];
        const size_t start = static_cast<size_t>(i) * sizeof(TopTenRecord);
        if (size >= start + sizeof(TopTenRecord)) {
            std::memcpy(&stored, data + start, sizeof stored);
            if (!IsDamagedPlace(stored))
                FUZZ_CHECK(std::memcmp(&stored, &r, sizeof r) == 0);
        }
    }
    FUZZ_CHECK(!IsDamagedName(table.records[kTopTenPlaceCount].name));

    FUZZ_CHECK(WriteTopTen(table, path, nullptr));
    TopTenTable again = DefaultTopTen(QString());
    ReadTopTen(again, path);
    FUZZ_CHECK(std::memcmp(&again, &table, sizeof table) == 0);
    return 0;
}
