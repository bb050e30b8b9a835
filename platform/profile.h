#pragma once

#include <QString>
#include <optional>

namespace platform {

// Profile (INI) files with the semantics of the Windows profile calls:
// sections and keys compare case-insensitively, a missing file, section or
// key gives the default; names and values are trimmed of blanks and a value
// between a pair of equal quotes loses them, as Windows reads them; the value
// is cut to `maxChars`. The first section and key of a name count. The files
// are Windows-1252 text with CR LF, read and written as plain files only
// (plainfile.h): a folder, a FIFO, a device or a file too large is neither
// read nor written, and a link is read through but never written through.
//
// A file named without a folder lies in the Windows directory: the folder
// named by the environment variable WINDIR, or ~/.config/vardeno/windows
// when it is not set.
QString windowsDirectory();
QString profilePath(const QString& fileName);

QString readProfileString(const QString& section, const QString& key, const QString& defaultValue,
                          const QString& fileName, int maxChars = 255);
// The same, but nothing when the file is there and cannot be read.
std::optional<QString> readProfileValue(const QString& section, const QString& key, const QString& defaultValue,
                                        const QString& fileName, int maxChars = 255);
// Writes (or adds) the key; creates the file and section when missing. The
// file is read and written under its lock (updatePlainFile), so programs
// writing keys of one file at once lose none; a file the value leaves as it
// was is not touched and waits for no other writer.
bool writeProfileString(const QString& section, const QString& key, const QString& value,
                        const QString& fileName);

// WIN.INI (in the Windows directory), as the Windows calls GetProfileString / WriteProfileString.
QString readWinIni(const QString& section, const QString& key, const QString& defaultValue);
bool writeWinIni(const QString& section, const QString& key, const QString& value);
QString winIniPath();

} // namespace platform
