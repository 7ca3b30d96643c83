#include "userdata/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>

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

bool EnterUserDataFolder(QString* error) {
    const QString folder = UserDataFolder();
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = folder;
        return false;
    }
    if (!QDir::setCurrent(folder)) {
        if (error)
            *error = folder;
        return false;
    }
    return true;
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

QString RuntimeFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    return UserDataFolder();
}

} // namespace harmik
