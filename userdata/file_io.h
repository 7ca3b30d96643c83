#pragma once
#include <QByteArray>
#include <QString>

namespace harmik {

// Writes the bytes to the file whole or not at all (a temporary file renamed over the old
// one). On failure returns false and puts the system's reason into *error.
bool WriteFileWhole(const QString& path, const QByteArray& bytes, QString* error);

} // namespace harmik
