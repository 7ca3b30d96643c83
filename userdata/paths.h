#pragma once
#include <QString>
#include <QStringList>

#include <memory>

class QLockFile;

namespace harmik {

// The user's own folder: $XDG_DATA_HOME/harmik (by default ~/.local/share/harmik). The
// program makes it its current directory at start-up.
QString UserDataFolder();

// Creates the folder (and its parents) if needed and makes it the current directory. Returns
// false with the system's reason when that is not possible.
bool EnterFolder(const QString& folder, QString* error);
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

// Where the single-instance lock may live, in order: the user's runtime folder, the data folder
// (each when it is there), the temporary folder (always).
QStringList InstanceLockPaths();

enum class InstanceLockResult {
    Held,          // this copy holds the lock
    OtherCopyRuns, // another running copy holds it
    Unavailable,   // no folder took a lock file: nothing can be told, the program runs
};

// Takes the first lock file of the candidates that can be made; a folder that refuses the file
// passes on to the next one, a lock held by a live process ends the search.
InstanceLockResult TakeInstanceLock(std::unique_ptr<QLockFile>& lock,
                                    const QStringList& candidates = InstanceLockPaths());

// Without a session bus the D-Bus library starts one for the display by running dbus-launch
// (first from the system's folder, then from PATH), forking the whole program to do so: every
// page the program writes afterwards is copied once more, some 15 ms of the start. Where no bus
// can come of it (no address, no bus socket in the runtime folder, no dbus-launch), the library
// is told at once that there is none. Called before any other thread reads the environment.
void SkipBusLaunchThatCannotWork(const QString& systemFolder = QStringLiteral("/usr/bin"));

} // namespace harmik
