#include "userdata/profile_record.h"

#include "userdata/file_io.h"
#include "userdata/strings.h"

#include <QFile>
#include <algorithm>
#include <cstring>

namespace harmik {
namespace {

constexpr int kDefaultUserName = 1702; // "(Ваше имя)"
constexpr int kHeaderBytes = 36;

template <int Capacity>
bool sameShortString(const ShortString<Capacity>& a, const ShortString<Capacity>& b) {
    if (a.Length != b.Length)
        return false;
    const std::size_t n = std::min<std::size_t>(a.Length, Capacity);
    return std::memcmp(a.Chars.data(), b.Chars.data(), n) == 0;
}

QByteArray recordBytes(const ProfileRecord& p) {
    return {reinterpret_cast<const char*>(&p), kProfileRecordSize};
}

} // namespace

ProfileRecord DefaultProfile() {
    ProfileRecord p;
    p.UserName.setText(LoadStr(kDefaultUserName));
    return p;
}

void StampProfileHeader(ProfileRecord& p) {
    p.Header.setText(QString::fromLatin1(kProfileHeaderText));
}

bool HasProfileHeader(const ProfileRecord& p) {
    ProfileRecord expected;
    StampProfileHeader(expected);
    return sameShortString(p.Header, expected.Header);
}

ProfileReadResult ReadProfileFile(const QString& path, ProfileRecord& p) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ProfileReadResult::Unreadable;
    const QByteArray bytes = file.read(kProfileRecordSize);
    if (bytes.size() < kHeaderBytes)
        return ProfileReadResult::Unreadable;
    ProfileRecord read;
    std::memcpy(static_cast<void*>(&read), bytes.constData(), kHeaderBytes);
    if (!HasProfileHeader(read))
        return ProfileReadResult::WrongHeader;
    if (bytes.size() < kProfileRecordSize)
        return ProfileReadResult::Unreadable;
    std::memcpy(static_cast<void*>(&p), bytes.constData(), kProfileRecordSize);
    return ProfileReadResult::Loaded;
}

bool WriteProfileFile(ProfileRecord& p, const QString& path, QString* error) {
    StampProfileHeader(p);
    return WriteFileWhole(path, recordBytes(p), error);
}

bool SameProfileContent(const ProfileRecord& a, const ProfileRecord& b) {
    return sameShortString(a.UserName, b.UserName) && sameShortString(a.TutorTitle, b.TutorTitle) &&
           sameShortString(a.TutorName, b.TutorName) && sameShortString(a.TutorInfo, b.TutorInfo) &&
           a.Level == b.Level && a.MaxLevel == b.MaxLevel;
}

} // namespace harmik
