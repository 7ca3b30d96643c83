#pragma once
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

// The tutor's level files and its run-time state. A level file is fixed-column text, columns
// counted from 1:
//   level header  1-2 level number, 55-56 number of tasks
//   task line     1-2 level, 4.. one character per answer item ("_": not asked), melodies
//                 9-10 key, 17-18 tonality, 33-34 leap, 41-42 notes; 55-56 repetitions,
//                 58-60 flunk %, 63-65 pass %, 68 direction (rhythm: mode), 70 range (rhythm:
//                 metre), 72-73 root (rhythm: bars), 75 play mode (rhythm: empty bar), 77.. text
//   level end     4-5 "**", 58-60 and 63-65 the level's flunk and pass percentages
namespace harmik {

constexpr int kMaxAnswerItems = 51;

// The tutor's state while it runs (`Active`); the program keeps one.
struct TutorState {
    QString Name; // at most 8 characters
    bool Active = false;
    std::uint8_t Level = 0;
    std::int32_t TaskBase = 0; // index of the current level's header + 1
    std::int32_t TasksInLevel = 0;
    std::int32_t Task = 0; // from 1
    std::uint8_t Repetitions = 0;
    std::uint8_t PassPercent = 0;
    std::uint8_t FlunkPercent = 0;
    QString Text;
};

// One task of a level file as the module's options take it.
struct TutorTask {
    std::array<bool, kMaxAnswerItems> Items{};          // answer items asked
    int Key = 0, Tonality = 0, Leap = 1, NoteCount = 1; // melodies
    int Repetitions = 0;
    int FlunkPercent = 0;
    int PassPercent = 0;
    int Direction = 0; // rhythm: the mode
    int Range = 0;     // rhythm: the time signature
    int Root = 0;      // rhythm: the bars
    int PlayMode = 0;  // rhythm: 1 turns the empty bar on
    QString Text;      // title "|" description, at most 255 characters
};

// Where a level stands in the file.
struct LevelPlace {
    int TaskBase = 0;
    int TasksInLevel = 0;
    int FlunkPercent = 0; // of the level end
    int PassPercent = 0;
};

// The number in columns first..last (from 1), blanks around it allowed; nullopt when the line
// is shorter or the columns hold no number.
std::optional<int> ColumnNumber(const QString& line, int first, int last);

// Whether the line is a level end ("**" in columns 4-5).
bool IsLevelEnd(const QString& line);

// The level of that number: its header, its task lines and its level end all there. nullopt
// when the file does not hold the level whole (a damaged file).
std::optional<LevelPlace> FindLevel(const QStringList& lines, int level);

// Task t (from 1) of a level found by FindLevel, for module m (1..7); nullopt when its fields
// are not numbers.
std::optional<TutorTask> ReadTask(const QStringList& lines, const LevelPlace& place, int task,
                                  int module);

// The level file of the tutor for module m: tutor name + ".lv" + m.
QString LevelFileName(const QString& tutorName, int module);

// Fills `lines` from the level file of the tutor and module (the user's folder first, then the
// shipped data). False when there is no such file or it cannot be read.
bool LoadLevelFile(const QString& tutorName, int module, QStringList& lines);

// The task after the results of a task: back one (not before 1), the same, or on. Whether that
// reaches the level end shows in `levelEnd`.
struct TaskStep {
    int Task = 1;
    bool LevelEnd = false;
};
TaskStep NextTask(int task, int tasksInLevel, int choice);

// The level after the level's judgement: down one (not below 1), the same, or up one.
int NextLevel(int level, int choice);

} // namespace harmik
