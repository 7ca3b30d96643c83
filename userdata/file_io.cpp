#include "userdata/file_io.h"

#include <QDir>
#include <QRegularExpression>
#include <QSaveFile>

namespace harmik {

bool WriteFileWhole(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    auto fail = [&] {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail();
    // The bytes sit in the device's buffer until flushed; a full disk shows only then, and
    // commit() would rename the short temporary file over the old one without saying so.
    if (file.write(bytes) != bytes.size() || !file.flush())
        return fail();
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

int RemoveInterruptedWrites(const QString& folder, const QStringList& fileNames) {
    const QDir dir(folder);
    int removed = 0;
    for (const QString& name : fileNames) {
        const QRegularExpression temporary(
            QStringLiteral("^%1\\.[A-Za-z0-9]{6}$").arg(QRegularExpression::escape(name)));
        const QStringList found =
            dir.entryList({name + QStringLiteral(".??????")}, QDir::Files | QDir::Hidden);
        for (const QString& entry : found) {
            if (temporary.match(entry).hasMatch() && QFile::remove(dir.filePath(entry)))
                ++removed;
        }
    }
    return removed;
}

} // namespace harmik
