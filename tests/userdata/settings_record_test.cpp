#include "userdata/settings_record.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>

using namespace harmik;

namespace {

QByteArray bytesOf(const SettingsRecord& s) {
    return QByteArray(reinterpret_cast<const char*>(&s), sizeof(s));
}

std::int32_t int32At(const QByteArray& b, int offset) {
    std::int32_t v = 0;
    std::memcpy(&v, b.constData() + offset, 4);
    return v;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class SettingsFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("init.hkm")); }
};

} // namespace

TEST(SettingsRecordLayout, DefaultsSitAtTheirFileOffsets) {
    const QByteArray b = bytesOf(DefaultSettings());
    ASSERT_EQ(b.size(), 966);
    EXPECT_EQ(b[0], 19);
    EXPECT_EQ(b.mid(1, 19), QByteArray("HARMIK SETUP 1.6 b1"));
    EXPECT_EQ(b.mid(20, 16), QByteArray(16, '\0'));
    EXPECT_EQ(b.mid(36, 357), QByteArray(357, '\0')); // no answer ticked
    // Melody and rhythm options.
    EXPECT_EQ(b.mid(396, 6), QByteArray("\x00\x00\x02\x05\x00\x00", 6));
    EXPECT_EQ(b.mid(432, 6), QByteArray("\x03\x01\x00\x00\x00\x60", 6));
    // Exercise options: the packed block with unaligned geometry fields.
    EXPECT_EQ(b.mid(440, 8), QByteArray("\x00\x3c\xe1\xb4\x55\x01\x04\x01", 8));
    EXPECT_EQ(int32At(b, 448), 100);
    EXPECT_EQ(int32At(b, 464), 120); // progressions
    EXPECT_EQ(int32At(b, 472), 80);  // rhythm
    EXPECT_EQ(b[477], 20);           // exercises per task
    EXPECT_EQ(b[478], 5);            // play style
    EXPECT_EQ(int32At(b, 481), 0);
    EXPECT_EQ(int32At(b, 489), 800);
    EXPECT_EQ(int32At(b, 493), 600);
    EXPECT_EQ(b[497], 1); // maximised
    EXPECT_EQ(b[520], 1);
    EXPECT_EQ(b[521], 1);
    EXPECT_EQ(int32At(b, 524), -1);
    EXPECT_EQ(b[528], 1);
    EXPECT_EQ(b[531], 1);
    EXPECT_EQ(int32At(b, 536), 1);
    EXPECT_EQ(b[540], 10);
    EXPECT_EQ(b.mid(541, 10), QByteArray("harmik.hkp"));
    EXPECT_EQ(int32At(b, 808), 44);
    EXPECT_EQ(int32At(b, 824), 0);
    EXPECT_EQ(int32At(b, 828), 83);
    EXPECT_EQ(int32At(b, 852), 0);
    EXPECT_EQ(int32At(b, 880), 2);
    EXPECT_EQ(int32At(b, 888), 10);
    EXPECT_EQ(int32At(b, 892), 39);
    EXPECT_EQ(int32At(b, 936), 71);
    EXPECT_EQ(int32At(b, 960), 99);
    EXPECT_EQ(b[964], 0);
    EXPECT_EQ(b[965], 1);
}

TEST_F(SettingsFileTest, RoundTripRestoresEveryField) {
    SettingsRecord s = DefaultSettings();
    s.CurrentModule = 6;
    s.AnswerChecks[4][50] = 1;
    s.ExerciseOptions.WinLeft = -7;
    s.ExerciseOptions.WinHeight = 655;
    s.ExerciseOptions.Tempo[6] = 240;
    s.LastProfile.setText(QStringLiteral("/home/анна/профиль.hkp"));
    s.RemoteKey3 = 84;
    ASSERT_TRUE(SaveSettingsFile(s, path(), nullptr));
    EXPECT_EQ(QFileInfo(path()).size(), 966);

    SettingsRecord back = DefaultSettings();
    EXPECT_EQ(LoadSettings(back, path()), SettingsLoadResult::Loaded);
    EXPECT_EQ(bytesOf(back), bytesOf(s));
    EXPECT_EQ(back.LastProfile.text(), QStringLiteral("/home/анна/профиль.hkp"));
}

TEST_F(SettingsFileTest, AnotherVersionTakesOnlyTheHeaderAndStartsInIntervals) {
    SettingsRecord other = DefaultSettings();
    other.CurrentModule = 5;
    other.HintDelay = 7;
    QByteArray bytes = bytesOf(other);
    bytes[19] = '2'; // "HARMIK SETUP 1.6 b2"
    writeFile(path(), bytes);

    SettingsRecord s = DefaultSettings();
    EXPECT_EQ(LoadSettings(s, path()), SettingsLoadResult::WrongHeader);
    EXPECT_EQ(s.CurrentModule, 1);
    EXPECT_EQ(int(s.HintDelay), 1);
    EXPECT_EQ(s.Header.Chars[18], '2'); // the header bytes read stay

    // The next save writes a valid file again.
    ASSERT_TRUE(SaveSettingsFile(s, path(), nullptr));
    SettingsRecord again = DefaultSettings();
    EXPECT_EQ(LoadSettings(again, path()), SettingsLoadResult::Loaded);
}

TEST_F(SettingsFileTest, ShortEmptyAndMissingFilesKeepDefaultsForWhatWasNotRead) {
    SettingsRecord written = DefaultSettings();
    written.CurrentModule = 4;
    written.MelodyOptions.NoteCount = 9;
    written.RemoteKey1 = 60;
    writeFile(path(), bytesOf(written).left(500));

    SettingsRecord s = DefaultSettings();
    EXPECT_EQ(LoadSettings(s, path()), SettingsLoadResult::Unreadable);
    EXPECT_EQ(s.MelodyOptions.NoteCount, 9); // read before the end of the file
    EXPECT_EQ(int(s.RemoteKey1), 97);        // past it: default
    EXPECT_EQ(s.CurrentModule, 1);

    writeFile(path(), QByteArray());
    SettingsRecord e = DefaultSettings();
    EXPECT_EQ(LoadSettings(e, path()), SettingsLoadResult::EmptyFile);
    EXPECT_EQ(bytesOf(e).mid(0, 438), bytesOf(DefaultSettings()).mid(0, 438));
    EXPECT_EQ(e.CurrentModule, 1);

    SettingsRecord m = DefaultSettings();
    EXPECT_EQ(LoadSettings(m, dir.filePath(QStringLiteral("none.hkm"))),
              SettingsLoadResult::Unreadable);
    EXPECT_EQ(m.CurrentModule, 1);

    writeFile(path(), QByteArray("HARM"));
    SettingsRecord tiny = DefaultSettings();
    EXPECT_EQ(LoadSettings(tiny, path()), SettingsLoadResult::Unreadable);
    EXPECT_EQ(tiny.CurrentModule, 1);
}

TEST_F(SettingsFileTest, ModuleNumberOutsideTheSevenBecomesIntervals) {
    SettingsRecord bad = DefaultSettings();
    bad.CurrentModule = 9;
    ASSERT_TRUE(SaveSettingsFile(bad, path(), nullptr));
    SettingsRecord s = DefaultSettings();
    LoadSettings(s, path());
    EXPECT_EQ(s.CurrentModule, 1);
}

TEST_F(SettingsFileTest, SaveKeepsHeaderBytesPastTheTwentiethAndReportsFailures) {
    SettingsRecord s = DefaultSettings();
    s.Header.Chars[25] = 'Z';
    ASSERT_TRUE(SaveSettingsFile(s, path(), nullptr));
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll()[26], 'Z');

    QString reason;
    EXPECT_FALSE(
        SaveSettingsFile(s, dir.filePath(QStringLiteral("no/such/folder/init.hkm")), &reason));
    EXPECT_FALSE(reason.isEmpty());
}

TEST_F(SettingsFileTest, AFailedSaveLeavesTheOldFileWhole) {
    SettingsRecord s = DefaultSettings();
    s.CurrentModule = 2;
    ASSERT_TRUE(SaveSettingsFile(s, path(), nullptr));
    // A read-only folder refuses the new file; the old one must survive untouched.
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    s.CurrentModule = 3;
    QString reason;
    const bool saved = SaveSettingsFile(s, path(), &reason);
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    SettingsRecord back = DefaultSettings();
    ASSERT_EQ(LoadSettings(back, path()), SettingsLoadResult::Loaded);
    EXPECT_EQ(back.CurrentModule, saved ? 3 : 2); // root may write anyway; never half
}
