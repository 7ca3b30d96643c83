// Writing files whole: a full disk keeps the old file and names the reason, an interrupted
// write's leftovers go at the next start.
#include "userdata/file_io.h"
#include "userdata/settings_record.h"
#include "userdata/top_ten.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>

using namespace harmik;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A folder that holds exactly the files written into it before Fill() and no byte more: a tmpfs
// of two pages in a mount namespace of this thread where the system lets a test mount one,
// otherwise a file size limit (the kernel then refuses the bytes with "File too large").
class FullFolder {
public:
    FullFolder() {
        mounted_ =
            unshare(CLONE_NEWNS) == 0 &&
            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
            mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0, "size=8k") == 0;
    }
    ~FullFolder() {
        if (mounted_)
            umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
        if (limited_)
            setrlimit(RLIMIT_FSIZE, &saved_);
    }
    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    void Fill() {
        if (mounted_)
            return; // the two files written take both pages
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit tiny = saved_;
        tiny.rlim_cur = 100;
        limited_ = setrlimit(RLIMIT_FSIZE, &tiny) == 0;
    }
    QString expectedReason() const {
        return QString::fromLocal8Bit(strerror(mounted_ ? ENOSPC : EFBIG));
    }
    QStringList entries() const { return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden); }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    bool limited_ = false;
    rlimit saved_{};
};

} // namespace

TEST(WholeFiles, AFullDiskKeepsBothOldFilesAndNamesTheReason) {
    FullFolder folder;
    SettingsRecord settings = DefaultSettings();
    settings.CurrentModule = 3;
    TopTenTable table = DefaultTopTen(QStringLiteral("Анна"));
    const QString settingsPath = folder.path(kSettingsFileName);
    const QString tablePath = folder.path(kTopTenFileName);
    ASSERT_TRUE(SaveSettingsFile(settings, settingsPath, nullptr));
    ASSERT_TRUE(WriteTopTen(table, tablePath, nullptr));
    const QByteArray oldSettings = readAll(settingsPath);
    const QByteArray oldTable = readAll(tablePath);
    folder.Fill();

    settings.CurrentModule = 5;
    table.records[0].score = 9999;
    QString settingsReason, tableReason;
    EXPECT_FALSE(SaveSettingsFile(settings, settingsPath, &settingsReason));
    EXPECT_FALSE(WriteTopTen(table, tablePath, &tableReason));
    EXPECT_EQ(settingsReason.toStdString(), folder.expectedReason().toStdString());
    EXPECT_EQ(tableReason.toStdString(), folder.expectedReason().toStdString());
    EXPECT_EQ(readAll(settingsPath), oldSettings);
    EXPECT_EQ(readAll(tablePath), oldTable);
    EXPECT_EQ(folder.entries(), QStringList({kSettingsFileName, kTopTenFileName}))
        << "no temporary file stays";
}

TEST(WholeFiles, LeftoversOfAnInterruptedWriteAreRemovedAndNothingElse) {
    QTemporaryDir dir;
    const QStringList names = {QStringLiteral("init.hkm"), QStringLiteral("top10.hkt")};
    const QStringList leftovers = {QStringLiteral("init.hkm.a1B2c3"),
                                   QStringLiteral("top10.hkt.XyZ987")};
    const QStringList kept = {QStringLiteral("init.hkm"),        QStringLiteral("init.hkm.bak"),
                              QStringLiteral("init.hkm.a1B2c"),  QStringLiteral("init.hkm.a1B2c3d"),
                              QStringLiteral("init.hkm.a1-2c3"), QStringLiteral("other.a1B2c3"),
                              QStringLiteral("harmik.hkp")};
    for (const QString& name : leftovers + kept)
        ASSERT_TRUE(WriteFileWhole(dir.filePath(name), "x", nullptr));
    EXPECT_EQ(RemoveInterruptedWrites(dir.path(), names), 2);
    QStringList left = QDir(dir.path()).entryList(QDir::Files);
    QStringList expected = kept;
    left.sort();
    expected.sort();
    EXPECT_EQ(left, expected);
}
