#pragma once

// The file digest the statement import checks the extracted file's name against.

#include <QString>

// SHA-1 digest of a file's content as 40 lower-case hexadecimal characters;
// the empty text when the file cannot be read.
QString CalculaHashArchivo(const QString& sRuta);
