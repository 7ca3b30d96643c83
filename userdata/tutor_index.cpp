#include "userdata/tutor_index.h"

#include "userdata/paths.h"
#include "userdata/short_string.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace harmik {
namespace {

constexpr int kTutorNameLength = 8;
constexpr int kIndexLines = 9;

} // namespace

QStringList TutorFileLines(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = FromCp1251(bytes.constData(), static_cast<int>(bytes.size()));
    text.remove(QLatin1Char('\r'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString FindTutorFile(const QString& fileName) {
    const QDir current = QDir::current();
    if (QFileInfo::exists(current.filePath(fileName)))
        return current.filePath(fileName);
    for (const QString& entry : current.entryList(QDir::Files)) {
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0)
            return current.filePath(entry);
    }
    return FindShippedFile(fileName);
}

QString TutorNameFromPath(const QString& path) {
    return QFileInfo(path).completeBaseName().left(kTutorNameLength);
}

TutorIndexRead ReadTutorIndex(const QString& path) {
    TutorIndexRead r;
    r.FileName = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        r.Error = file.errorString();
        return r;
    }
    const QStringList lines = TutorFileLines(file.readAll());
    const auto line = [&lines](int n) { return n <= lines.size() ? lines[n - 1] : QString(); };
    for (int m = 1; m <= 7; ++m) {
        bool ok = false;
        const int max = line(m + 1).trimmed().toInt(&ok);
        if (!ok || max < 1) {
            r.Error = QStringLiteral("%1: %2").arg(m + 1).arg(line(m + 1));
            return r;
        }
        r.Index.MaxLevel[static_cast<std::size_t>(m - 1)] = max;
    }
    r.Index.Title = line(1);
    r.Index.Info = line(kIndexLines);
    r.Name = TutorNameFromPath(path);
    r.Ok = true;
    return r;
}

} // namespace harmik
