#pragma once
// What the fuzz targets share: a scratch folder for the files they read and write, and a
// check that stops the run with a message when an invariant fails.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace harmik::fuzz {

inline const QDir& Scratch() {
    static QTemporaryDir dir(QDir(QFileInfo(QStringLiteral("/dev/shm")).isDir()
                                      ? QStringLiteral("/dev/shm")
                                      : QDir::tempPath())
                                 .filePath(QStringLiteral("harmik-fuzz-XXXXXX")));
    static const QDir scratch(dir.path());
    return scratch;
}

inline void WriteBytes(const QString& path, const char* data, size_t size) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        f.write(data, static_cast<qint64>(size)) != static_cast<qint64>(size)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::abort();
    }
}

inline QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace harmik::fuzz

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "invariant failed: %s (%s:%d)\n", #condition, __FILE__,           \
                         __LINE__);                                                                \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)
