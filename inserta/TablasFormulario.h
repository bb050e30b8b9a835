#pragma once

// The installer steps for the ten tables of form 0913 in the shared
// database: create, rebuild and upgrade them from their definitions
// (formulario/core/DefinicionTablas.h).

#include <QString>

namespace inserta {

// Drops the three work tables (TMP_) where they exist.
void BorraTablasTemporales();
// Creates each missing table with its key; rebuilds an F0913GARANTIA of the
// old layout (six columns or fewer).
void CreaTablas();
// Lets the six amount and return columns of a debt table take an empty text;
// any other table name, a missing table or column is left alone. A column
// whose table cannot be rebuilt for it is reported and the next one tried.
void PermiteLongitudCero(const QString& sTabla);
// True when a table of that name exists, whatever the case it was created in.
bool ExisteTabla(const QString& sTabla);

} // namespace inserta
