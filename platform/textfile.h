#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace platform {

// Text files the programs read and write are Windows-1252 with CR LF.
QByteArray toCp1252(const QString& text);
QString fromCp1252(const QByteArray& bytes);
// Lines of a file split at CR LF or LF; false when it cannot be read.
bool readTextLines(const QString& path, QStringList* lines);
// Appends or writes lines, each ended by CR LF.
bool writeTextLines(const QString& path, const QStringList& lines, bool append = false);

} // namespace platform
