#pragma once

#include "platform/dberror.h"

#include <QString>
#include <QVariantList>

// Settings file KOVAL.INI and the shared database connection.

// Reads the settings, makes SysPath the current folder and opens the database.
void LeeConfiguracion();
// Opens oBaseDatos; on failure shows the reason and ends the program.
bool AbreBaseDatos();
// Runs one action statement; a failure is shown and the caller goes on.
void EjecutaSQL(const QString& sSentencia, const QVariantList& params = {});
// Shows a failed statement's error as EjecutaSQL does.
void MuestraErrorSQL(const platform::DbError& err);
