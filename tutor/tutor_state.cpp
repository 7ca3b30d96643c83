#include "tutor/tutor_state.h"

#include "userdata/tutor_index.h"

#include <QFile>

namespace harmik {
namespace {

constexpr int kMelodies = 6;
constexpr int kFirstItemColumn = 4;
constexpr int kTextColumn = 77;
constexpr int kMaxTextLength = 255;

// Answer items per module (index module - 1); melodies have none.
constexpr std::array<int, 7> kItemCount = {36, 28, 48, 35, 48, 0, 12};

enum Choice { Back = 0, Repeat = 1, Next = 2 };

} // namespace

std::optional<int> ColumnNumber(const QString& line, int first, int last) {
    if (line.size() < last)
        return std::nullopt;
    bool ok = false;
    const int value = line.mid(first - 1, last - first + 1).trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

bool IsLevelEnd(const QString& line) {
    return line.mid(3, 2) == QLatin1String("**");
}

std::optional<LevelPlace> FindLevel(const QStringList& lines, int level) {
    int header = -1;
    for (int i = 0; i < lines.size() && header < 0; ++i)
        if (ColumnNumber(lines[i], 1, 2) == level)
            header = i;
    if (header < 0)
        return std::nullopt;
    LevelPlace place;
    place.TaskBase = header + 1;
    place.TasksInLevel = ColumnNumber(lines[header], 55, 56).value_or(0);
    const int end = place.TaskBase + place.TasksInLevel;
    if (place.TasksInLevel < 1 || end >= lines.size() || !IsLevelEnd(lines[end]))
        return std::nullopt;
    for (int i = place.TaskBase; i < end; ++i)
        if (IsLevelEnd(lines[i]))
            return std::nullopt;
    const auto flunk = ColumnNumber(lines[end], 58, 60);
    const auto pass = ColumnNumber(lines[end], 63, 65);
    if (!flunk || !pass)
        return std::nullopt;
    place.FlunkPercent = *flunk;
    place.PassPercent = *pass;
    return place;
}

std::optional<TutorTask> ReadTask(const QStringList& lines, const LevelPlace& place, int task,
                                  int module) {
    if (task < 1 || task > place.TasksInLevel || module < 1 || module > 7)
        return std::nullopt;
    const QString& line = lines[place.TaskBase + task - 1];
    TutorTask t;
    const auto repetitions = ColumnNumber(line, 55, 56);
    const auto flunk = ColumnNumber(line, 58, 60);
    const auto pass = ColumnNumber(line, 63, 65);
    if (!repetitions || !flunk || !pass || *repetitions < 1)
        return std::nullopt;
    t.Repetitions = *repetitions;
    t.FlunkPercent = *flunk;
    t.PassPercent = *pass;
    t.Text = line.mid(kTextColumn - 1, kMaxTextLength);
    if (module == kMelodies) {
        const auto key = ColumnNumber(line, 9, 10);
        const auto tonality = ColumnNumber(line, 17, 18);
        const auto leap = ColumnNumber(line, 33, 34);
        const auto notes = ColumnNumber(line, 41, 42);
        if (!key || !tonality || !leap || !notes)
            return std::nullopt;
        t.Key = *key;
        t.Tonality = *tonality;
        t.Leap = *leap;
        t.NoteCount = *notes;
        return t;
    }
    const int items = kItemCount[static_cast<std::size_t>(module - 1)];
    for (int k = 0; k < items; ++k)
        t.Items[static_cast<std::size_t>(k)] =
            line.at(kFirstItemColumn - 1 + k) != QLatin1Char('_');
    const auto direction = ColumnNumber(line, 68, 68);
    const auto range = ColumnNumber(line, 70, 70);
    const auto root = ColumnNumber(line, 72, 73);
    const auto playMode = ColumnNumber(line, 75, 75);
    if (!direction || !range || !root || !playMode)
        return std::nullopt;
    t.Direction = *direction;
    t.Range = *range;
    t.Root = *root;
    t.PlayMode = *playMode;
    return t;
}

QString LevelFileName(const QString& tutorName, int module) {
    return tutorName + QStringLiteral(".lv") + QString::number(module);
}

bool LoadLevelFile(const QString& tutorName, int module, QStringList& lines) {
    const QString path = FindTutorFile(LevelFileName(tutorName, module));
    if (tutorName.isEmpty() || path.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    lines = TutorFileLines(file.readAll());
    return true;
}

TaskStep NextTask(int task, int tasksInLevel, int choice) {
    TaskStep step{task, false};
    if (choice == Back && task > 1)
        step.Task = task - 1;
    else if (choice == Next)
        step.Task = task + 1;
    if (step.Task > tasksInLevel) {
        step.Task = tasksInLevel;
        step.LevelEnd = true;
    }
    return step;
}

int NextLevel(int level, int choice) {
    if (choice == Back && level > 1)
        return level - 1;
    if (choice == Next)
        return level + 1;
    return level;
}

} // namespace harmik
