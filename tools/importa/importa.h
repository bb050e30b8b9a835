#pragma once

#include <QString>

// Drives the import dialog as a user would: chooses the declarant and the
// entity, goes to the folder of the archive, picks it and accepts. The
// program state (oBaseDatos, sSysPath, ...) must be in place. Returns the
// text of the last message the import showed.
QString ImportaEstadoAdeudos(const QString& sRuc, int nEntidad, const QString& sCarpeta);
