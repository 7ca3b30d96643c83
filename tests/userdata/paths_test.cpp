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

TEST(StartUpFolders, TheSessionBusIsDeclaredAbsentOnlyWhereNoneCanBeReachedOrStarted) {
    QTemporaryDir dir;
    const QString runtime = dir.filePath(QStringLiteral("run"));
    const QString withLauncher = dir.filePath(QStringLiteral("bin"));
    const QString empty = dir.filePath(QStringLiteral("empty"));
    for (const QString& folder : {runtime, withLauncher, empty})
        ASSERT_TRUE(QDir().mkpath(folder));
    const QString launcher = withLauncher + QStringLiteral("/dbus-launch");
    ASSERT_TRUE(WriteFileWhole(launcher, "#!/bin/sh\n", nullptr));
    QFile::setPermissions(launcher, QFile::ReadOwner | QFile::ExeOwner);
    const QString bus = runtime + QStringLiteral("/bus");

    const char* names[] = {"DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR", "PATH"};
    QByteArray saved[3];
    bool wasSet[3];
    for (int i = 0; i < 3; ++i) {
        wasSet[i] = qEnvironmentVariableIsSet(names[i]);
        saved[i] = qgetenv(names[i]);
    }
    const struct {
        const char* what;
        const char* address;
        bool busSocket;
        QString path, systemFolder;
        const char* expected; // null: still unset
    } cases[] = {
        {"an address of the session's own", "unix:path=/run/bus", false, empty, empty,
         "unix:path=/run/bus"},
        {"a bus socket in the runtime folder", nullptr, true, empty, empty, nullptr},
        {"dbus-launch on PATH", nullptr, false, withLauncher, empty, nullptr},
        {"dbus-launch in the system's folder", nullptr, false, empty, withLauncher, nullptr},
        {"no bus can be reached or started", nullptr, false, empty, empty, "disabled:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.address)
            qputenv(names[0], c.address);
        else
            qunsetenv(names[0]);
        qputenv(names[1], runtime.toLocal8Bit());
        qputenv(names[2], c.path.toLocal8Bit());
        QFile::remove(bus);
        if (c.busSocket) {
            ASSERT_TRUE(WriteFileWhole(bus, "", nullptr));
        }
        SkipBusLaunchThatCannotWork(c.systemFolder);
        if (c.expected)
            EXPECT_EQ(qgetenv(names[0]), QByteArray(c.expected));
        else
            EXPECT_FALSE(qEnvironmentVariableIsSet(names[0]));
    }
    for (int i = 0; i < 3; ++i) {
        if (wasSet[i])
            qputenv(names[i], saved[i]);
        else
            qunsetenv(names[i]);
    }
}
