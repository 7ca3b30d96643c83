// The folders and the single-instance lock of start-up.
#include "userdata/file_io.h"
#include "userdata/paths.h"

#include <QDir>
#include <QLockFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace harmik;

TEST(StartUpFolders, AFolderThatCannotBeMadeIsRefusedWithTheSystemsReason) {
    QTemporaryDir dir;
    const QString start = QDir::currentPath();
    ASSERT_TRUE(WriteFileWhole(dir.filePath(QStringLiteral("file")), "x", nullptr));
    const struct {
        QString folder;
        const char* reason;
    } cases[] = {
        {dir.filePath(QStringLiteral("file/harmik")), "Not a directory"},
        {dir.filePath(QStringLiteral("file")), "Not a directory"},
        {dir.filePath(QString(300, QLatin1Char('a'))), "File name too long"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        QString reason;
        EXPECT_FALSE(EnterFolder(c.folder, &reason));
        EXPECT_EQ(reason.toStdString(), c.reason);
        EXPECT_EQ(QDir::currentPath(), start) << "the start folder stays current";
    }
    EXPECT_TRUE(EnterFolder(dir.filePath(QStringLiteral("a/b/harmik")), nullptr));
    EXPECT_EQ(QDir::currentPath(),
              QDir(dir.filePath(QStringLiteral("a/b/harmik"))).canonicalPath());
    QDir::setCurrent(start);
}

TEST(StartUpFolders, TheLockPassesOverFoldersThatRefuseItAndOnlyALiveCopyStopsIt) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("gone/harmik.lock"));
    const QString usable = dir.filePath(QStringLiteral("harmik.lock"));

    std::unique_ptr<QLockFile> first;
    ASSERT_EQ(TakeInstanceLock(first, {missing, usable}), InstanceLockResult::Held);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->fileName(), usable);

    // A second copy finds the lock held through the same folders.
    std::unique_ptr<QLockFile> second;
    EXPECT_EQ(TakeInstanceLock(second, {missing, usable}), InstanceLockResult::OtherCopyRuns);
    EXPECT_FALSE(second);

    first.reset(); // the first copy ends
    EXPECT_EQ(TakeInstanceLock(second, {missing, usable}), InstanceLockResult::Held);
    EXPECT_EQ(TakeInstanceLock(first, {missing}), InstanceLockResult::Unavailable);
    EXPECT_TRUE(InstanceLockPaths().last().startsWith(QDir::tempPath()));
}
