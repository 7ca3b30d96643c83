#include "userdata/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QLoggingCategory>
#include <QStandardPaths>

#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace harmik {
namespace {

// Off unless asked for (QT_LOGGING_RULES="harmik.data.debug=true"): says where the shipped
// data is looked for.
Q_LOGGING_CATEGORY(lcData, "harmik.data", QtWarningMsg)

} // namespace

QString UserDataFolder() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir(base).filePath(QStringLiteral("harmik"));
}

bool EnterFolder(const QString& folder, QString* error) {
    namespace fs = std::filesystem;
    const fs::path path(QFile::encodeName(folder).toStdString());
    std::error_code ec;
    fs::create_directories(path, ec);
    if (!ec && !fs::is_directory(path, ec) && !ec)
        ec = std::make_error_code(std::errc::not_a_directory);
    if (!ec)
        fs::current_path(path, ec);
    if (ec) {
        if (error)
            *error = QString::fromLocal8Bit(ec.message());
        return false;
    }
    return true;
}

bool EnterUserDataFolder(QString* error) {
    return EnterFolder(UserDataFolder(), error);
}

QString InstalledDataFolder() {
    const QString appDir = QCoreApplication::applicationDirPath();
    if (appDir.isEmpty())
        return {};
#ifdef HARMIK_INSTALLED_DATA_DIR
    const QString relative = QStringLiteral(HARMIK_INSTALLED_DATA_DIR);
#else
    const QString relative = QStringLiteral("../share/harmik");
#endif
    const QString folder = QDir::cleanPath(QDir(appDir).filePath(relative));
    return QFileInfo(folder).isDir() ? folder : QString();
}

QStringList ShippedDataFolders() {
    QStringList folders{UserDataFolder()};
    const QString installed = InstalledDataFolder();
    if (!installed.isEmpty()) {
        folders << installed;
    } else {
#ifdef HARMIK_BUILD_DATA_DIR
        folders << QStringLiteral(HARMIK_BUILD_DATA_DIR);
#endif
#ifdef HARMIK_SOURCE_DATA_DIR
        folders << QStringLiteral(HARMIK_SOURCE_DATA_DIR);
#endif
    }
    qCDebug(lcData).noquote() << "shipped data folders:" << folders.join(QLatin1Char(':'));
    return folders;
}

QString FindShippedFile(const QString& name) {
    for (const QString& folder : ShippedDataFolders()) {
        const QDir dir(folder);
        if (!dir.exists())
            continue;
        const QString exact = dir.filePath(name);
        if (QFileInfo::exists(exact))
            return exact;
        for (const QString& entry : dir.entryList(QDir::Files)) {
            if (entry.compare(name, Qt::CaseInsensitive) == 0)
                return dir.filePath(entry);
        }
    }
    return {};
}

QStringList InstanceLockPaths() {
    const QString name = QStringLiteral("harmik.lock");
    QStringList paths;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        paths << QDir(runtime).filePath(name);
    if (QFileInfo(UserDataFolder()).isDir())
        paths << QDir(UserDataFolder()).filePath(name);
    // The temporary folder is shared by every user: the lock carries the user's number.
    paths << QDir(QDir::tempPath()).filePath(QStringLiteral("harmik-%1.lock").arg(getuid()));
    return paths;
}

InstanceLockResult TakeInstanceLock(std::unique_ptr<QLockFile>& lock,
                                    const QStringList& candidates) {
    for (const QString& path : candidates) {
        auto candidate = std::make_unique<QLockFile>(path);
        candidate->setStaleLockTime(0); // a lock whose process is gone is taken over
        if (candidate->tryLock(0)) {
            lock = std::move(candidate);
            return InstanceLockResult::Held;
        }
        if (candidate->error() == QLockFile::LockFailedError)
            return InstanceLockResult::OtherCopyRuns;
        // The folder refuses the lock file: the next folder is asked.
    }
    return InstanceLockResult::Unavailable;
}

void SkipBusLaunchThatCannotWork(const QString& systemFolder) {
    if (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        return;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo::exists(QDir(runtime).filePath(QStringLiteral("bus"))))
        return;
    const QString launcher = QStringLiteral("dbus-launch");
    if (!QStandardPaths::findExecutable(launcher, {systemFolder}).isEmpty() ||
        !QStandardPaths::findExecutable(launcher).isEmpty())
        return;
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
}

} // namespace harmik
