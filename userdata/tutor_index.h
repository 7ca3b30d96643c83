#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>

namespace harmik {

// A tutor is an index file NAME.TUT and one level file NAME.lv1 .. NAME.lv7 per module, all
// plain text. The files are looked for in the user's folder (the current directory) first,
// then among the program's shipped data, without regard to letter case.

// The course that ships with the program: the default tutor of a new profile.
constexpr const char* kShippedTutorName = "HARMIK01";

// The text of a tutor file: UTF-8, or Windows-1251 when the bytes are not UTF-8. Line ends
// (LF or CR LF) are removed.
QStringList TutorFileLines(const QByteArray& bytes);

// The path of a tutor file of that name, or empty when there is none.
QString FindTutorFile(const QString& fileName);

// The tutor's name: the file's base name (path and extension removed), at most 8 characters.
QString TutorNameFromPath(const QString& path);

// What the index file says: line 1 the title, lines 2..8 the highest level of modules 1..7
// (99 and more: no levels), line 9 the information text; later lines are ignored.
struct TutorIndex {
    QString Title;
    std::array<int, 7> MaxLevel{};
    QString Info;
};

struct TutorIndexRead {
    bool Ok = false;
    TutorIndex Index;
    QString Name;     // the tutor's name, from the file's name
    QString FileName; // the file's name without its path, for messages
    QString Error;    // why it could not be used
};

// Reads an index file. A file that cannot be read, or a line 2..8 that is not a whole number
// from 1 on, gives Ok false and nothing else.
TutorIndexRead ReadTutorIndex(const QString& path);

} // namespace harmik
