#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace harmik {

// Writes the bytes to the file whole or not at all: they go to a temporary file beside it
// (the file's name and six random letters or digits) that is flushed, synced and then renamed
// over the old one. Every file the program writes goes through here. On any failure, including
// one that only shows when the buffered bytes are flushed (a full disk), the old file stays as
// it was, the temporary file is removed, and false comes back with the system's reason in
// *error.
bool WriteFileWhole(const QString& path, const QByteArray& bytes, QString* error);

// Removes what an interrupted WriteFileWhole of one of the named files left in the folder:
// temporary files named as above. Returns how many were removed.
int RemoveInterruptedWrites(const QString& folder, const QStringList& fileNames);

} // namespace harmik
