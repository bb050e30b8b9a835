#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace platform {

// Text files the programs read and write are Windows-1252 with CR LF.
QByteArray toCp1252(const QString& text);
QString fromCp1252(const QByteArray& bytes);
// The lines of a text, split at CR LF or LF; a line end at the very end
// starts no further line.
QStringList textLines(const QByteArray& bytes);
// The text of the lines, each ended by CR LF.
QByteArray textBytes(const QStringList& lines);
// The lines of a plain file (see plainfile.h); false when it cannot be read.
bool readTextLines(const QString& path, QStringList* lines);
// Appends or writes lines, each ended by CR LF, into a plain file only; a
// rewritten file is replaced whole, so a failed write leaves the old one.
bool writeTextLines(const QString& path, const QStringList& lines, bool append = false);

} // namespace platform
