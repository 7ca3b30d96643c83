#pragma once
#include "userdata/settings_record.h"

#include <QString>

namespace harmik {

// An exercise set (.HKS) is a whole settings file; loading one takes over only its exercise
// part: the header, the answer choices, the melody and rhythm options, the module and the
// exercise options (the first 520 bytes). Devices, sounds, remote keys, hints, the profile
// path and the display stay as they are.
constexpr int kExerciseSetBytes = 520;
constexpr int kExerciseSetRefused = 657; // "Ошибка (это не файл Harmik,или неверная версия)..."

// The file dialogs' filter from string 656 ("Упражнения Harmik (.HKS)|*.HKS"), in Qt's form,
// taking the extension in either letter case.
QString ExerciseSetFilter();
constexpr const char* kExerciseSetSuffix = "HKS";

// Takes the set's exercise part into the record. A file that cannot be read, carries another
// header or is shorter than the exercise part (or names no module) changes nothing and
// returns false: the user is told with 657.
bool LoadExerciseSet(SettingsRecord& s, const QString& path);

} // namespace harmik
