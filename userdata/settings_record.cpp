#include "userdata/settings_record.h"

#include "userdata/file_io.h"

#include <QFile>
#include <algorithm>
#include <cstring>

namespace harmik {
namespace {

constexpr int kHeaderBytes = 36;

ShortString<35> currentHeader() {
    ShortString<35> h;
    h.setText(QString::fromLatin1(kSettingsHeaderText));
    return h;
}

char* recordBytes(SettingsRecord& s) {
    return reinterpret_cast<char*>(&s);
}

// Reads up to n bytes into dst; returns how many were read.
qint64 readInto(QFile& file, char* dst, qint64 n) {
    qint64 total = 0;
    while (total < n) {
        const qint64 got = file.read(dst + total, n - total);
        if (got <= 0)
            break;
        total += got;
    }
    return total;
}

} // namespace

SettingsRecord DefaultSettings() {
    SettingsRecord s;
    s.Header = currentHeader();
    s.LastProfile.setText(QStringLiteral("harmik.hkp"));
    return s;
}

bool HasCurrentHeader(const SettingsRecord& s) {
    const ShortString<35> expected = currentHeader();
    return std::memcmp(&s.Header, &expected, 1 + expected.Length) == 0;
}

SettingsLoadResult LoadSettings(SettingsRecord& s, const QString& path) {
    SettingsLoadResult result = SettingsLoadResult::Loaded;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result = SettingsLoadResult::Unreadable;
    } else if (file.size() == 0) {
        result = SettingsLoadResult::EmptyFile;
    } else if (readInto(file, recordBytes(s), kHeaderBytes) < kHeaderBytes) {
        result = SettingsLoadResult::Unreadable;
    } else if (!HasCurrentHeader(s)) {
        result = SettingsLoadResult::WrongHeader;
    } else {
        file.seek(0);
        if (readInto(file, recordBytes(s), kSettingsRecordSize) < kSettingsRecordSize)
            result = SettingsLoadResult::Unreadable;
    }
    if (result != SettingsLoadResult::Loaded || !(s.CurrentModule >= 1 && s.CurrentModule <= 7))
        s.CurrentModule = 1;
    return result;
}

bool SaveSettingsFile(SettingsRecord& s, const QString& path, QString* error) {
    // Only the header's first 20 bytes are written over; the rest stays as it was.
    const ShortString<35> header = currentHeader();
    s.Header.Length = header.Length;
    std::copy_n(header.Chars.begin(), header.Length, s.Header.Chars.begin());
    const QByteArray bytes(reinterpret_cast<const char*>(&s), kSettingsRecordSize);
    return WriteFileWhole(path, bytes, error);
}

} // namespace harmik
