#pragma once
#include <QString>
#include <QStringList>

namespace harmik {

// The user's own folder: $XDG_DATA_HOME/harmik (by default ~/.local/share/harmik). The
// program makes it its current directory at start-up.
QString UserDataFolder();

// Creates the user's folder if needed and makes it the current directory. Returns false with
// the reason when that is not possible.
bool EnterUserDataFolder(QString* error);

// The installed data folder found relative to the program's binary (share/harmik beside bin/
// of the prefix, wherever the install was moved), or empty when the program runs from a build.
QString InstalledDataFolder();

// The folders searched for a file shipped with the program, in order: the user's folder (so a
// user can replace a file), then the installed data folder or, for a program run from its
// build tree, the build tree's data folders.
QStringList ShippedDataFolders();

// The path of a shipped file, matched without regard to letter case, or empty when none of
// the folders has it.
QString FindShippedFile(const QString& name);

// The folder for the single-instance lock: the user's runtime folder, else the data folder.
QString RuntimeFolder();

} // namespace harmik
