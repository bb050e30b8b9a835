#pragma once

#include <QString>

namespace platform {

// Profile (INI) files with the semantics of the Windows profile calls:
// sections and keys compare case-insensitively, a missing file, section or
// key gives the default; names and values are trimmed of blanks and a value
// between a pair of equal quotes loses them, as Windows reads them; the value
// is cut to `maxChars`. The first section and key of a name count. The files
// are Windows-1252 text with CR LF. What is not a plain file (a folder, a
// FIFO, a device) is neither read nor written: it reads as missing.
//
// A file named without a folder lies in the Windows directory: the folder
// named by the environment variable WINDIR, or ~/.config/vardeno/windows
// when it is not set.
QString windowsDirectory();
QString profilePath(const QString& fileName);

QString readProfileString(const QString& section, const QString& key, const QString& defaultValue,
                          const QString& fileName, int maxChars = 255);
// Writes (or adds) the key; creates the file and section when missing.
bool writeProfileString(const QString& section, const QString& key, const QString& value,
                        const QString& fileName);

// WIN.INI (in the Windows directory), as the Windows calls GetProfileString / WriteProfileString.
QString readWinIni(const QString& section, const QString& key, const QString& defaultValue);
bool writeWinIni(const QString& section, const QString& key, const QString& value);
QString winIniPath();

} // namespace platform
