#pragma once
#include "userdata/short_string.h"

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>

namespace harmik {

#pragma pack(push, 1)

// The user's profile: who practises, which tutor they follow and the level reached in each
// module. A profile file (.HKP) is exactly this record, byte for byte.
struct ProfileRecord {
    ShortString<35> Header;
    ShortString<25> UserName;
    ShortString<8> TutorName;
    ShortString<25> TutorTitle;
    ShortString<255> TutorInfo;
    std::array<std::uint8_t, 7> Level{1, 1, 1, 1, 1, 1, 1};    // index module - 1
    std::array<std::uint8_t, 7> MaxLevel{1, 1, 1, 1, 1, 1, 1}; // 99 and more: no levels
    std::uint8_t Reserved[45] = {};
};

#pragma pack(pop)

static_assert(sizeof(ProfileRecord) == 412);
static_assert(offsetof(ProfileRecord, UserName) == 36);
static_assert(offsetof(ProfileRecord, TutorName) == 62);
static_assert(offsetof(ProfileRecord, TutorTitle) == 71);
static_assert(offsetof(ProfileRecord, TutorInfo) == 97);
static_assert(offsetof(ProfileRecord, Level) == 353);
static_assert(offsetof(ProfileRecord, MaxLevel) == 360);
static_assert(offsetof(ProfileRecord, Reserved) == 367);

constexpr int kProfileRecordSize = 412;
constexpr const char* kProfileHeaderText = "HARMIK PROFIL 1.6 b1";
constexpr const char* kDefaultProfileName = "harmik.hkp";
// A module whose highest level is this or more has no levels in the tutor.
constexpr int kNoTutorLevels = 99;

// The defaults: the name "(Ваше имя)", every level and maximum 1, everything else zero.
ProfileRecord DefaultProfile();

// Writes the current header into the record.
void StampProfileHeader(ProfileRecord& p);
// Whether the record's header is the current one (its length byte and that many characters).
bool HasProfileHeader(const ProfileRecord& p);

enum class ProfileReadResult {
    Loaded,      // the whole record was read
    WrongHeader, // another kind of file or layout version: nothing taken
    Unreadable,  // missing, empty, short or unreadable: nothing taken
};

// Reads a profile file into `p`; on anything but Loaded `p` stays as it was.
ProfileReadResult ReadProfileFile(const QString& path, ProfileRecord& p);

// Stamps the header and writes the whole record to the file, whole or not at all. Returns
// false with the system's reason when it cannot be written.
bool WriteProfileFile(ProfileRecord& p, const QString& path, QString* error);

// Whether two profiles agree in what the profile dialog compares: the name, the tutor's title,
// name and information, and every module's level and maximum.
bool SameProfileContent(const ProfileRecord& a, const ProfileRecord& b);

} // namespace harmik
