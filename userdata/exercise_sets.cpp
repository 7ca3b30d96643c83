#include "userdata/exercise_sets.h"

#include "userdata/strings.h"

#include <QFile>
#include <cstring>

namespace harmik {

QString ExerciseSetFilter() {
    const QString table = LoadStr(656);
    const qsizetype bar = table.indexOf(QLatin1Char('|'));
    const QString name = bar < 0 ? table : table.left(bar);
    const QString pattern = bar < 0 ? QStringLiteral("*.HKS") : table.mid(bar + 1);
    return name + QStringLiteral(" (") + pattern + QLatin1Char(' ') + pattern.toLower() +
           QLatin1Char(')');
}

bool LoadExerciseSet(SettingsRecord& s, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.read(kExerciseSetBytes);
    if (bytes.size() < kExerciseSetBytes)
        return false;
    SettingsRecord set;
    std::memcpy(reinterpret_cast<char*>(&set), bytes.constData(), kExerciseSetBytes);
    if (!HasCurrentHeader(set) || !(set.CurrentModule >= 1 && set.CurrentModule <= 7))
        return false;
    std::memcpy(reinterpret_cast<char*>(&s), reinterpret_cast<const char*>(&set),
                kExerciseSetBytes);
    return true;
}

} // namespace harmik
