// The settings file as any bytes: loading brings every value into range and keeps the bytes the
// program does not use; what was loaded survives a save and a load unchanged; a file that could
// not be used is kept as <name>.bak.
#include "fuzz_support.h"
#include "userdata/settings_record.h"

#include <cstring>
#include <utility>

using namespace harmik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const QString path = fuzz::Scratch().filePath(QStringLiteral("init.hkm"));
    const QString backup = path + QStringLiteral(".bak");
    QFile::remove(backup);
    fuzz::WriteBytes(path, reinterpret_cast<const char*>(data), size);
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    SettingsRecord s = DefaultSettings();
    const SettingsLoadResult result = LoadSettings(s, path);
    const QByteArray loaded(reinterpret_cast<const char*>(&s), kSettingsRecordSize);

    // Every value in range: fitting again changes nothing.
    SettingsRecord refitted = s;
    FitSettingsToRanges(refitted);
    FUZZ_CHECK(std::memcmp(&refitted, &s, sizeof s) == 0);
    FUZZ_CHECK(s.CurrentModule >= 1 && s.CurrentModule <= 7);
    FUZZ_CHECK(s.HintDelay >= 0 && s.HintDelay <= 10);

    if (result == SettingsLoadResult::Loaded) {
        FUZZ_CHECK(size >= static_cast<size_t>(kSettingsRecordSize));
        const std::pair<int, int> unused[] = {{20, 16}, {393, 3}, {402, 30}, {439, 1}, {498, 22},
                                              {523, 1}, {533, 3}, {798, 2},  {857, 3}, {886, 2}};
        for (const auto& [offset, length] : unused)
            FUZZ_CHECK(loaded.mid(offset, length) == input.mid(offset, length));
    }
    const bool unusable = result == SettingsLoadResult::WrongHeader ||
                          (result == SettingsLoadResult::Unreadable && size > 0);
    FUZZ_CHECK(QFile::exists(backup) == unusable);
    if (unusable)
        FUZZ_CHECK(fuzz::ReadBytes(backup) == input);

    FUZZ_CHECK(SaveSettingsFile(s, path, nullptr));
    SettingsRecord again = DefaultSettings();
    FUZZ_CHECK(LoadSettings(again, path) == SettingsLoadResult::Loaded);
    FUZZ_CHECK(std::memcmp(&again, &s, sizeof s) == 0);
    return 0;
}
