#pragma once

// The ten tables of form 0913 in the shared database: their definitions and
// the installer steps that create, rebuild and upgrade them.

#include "platform/fieldtype.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace inserta {

struct TablaFormulario {
    QString sNombre;
    QList<platform::ColumnDef> columnas;
    QString sNombreClave;     // the primary key's name
    QStringList columnasClave; // in key order
};

// The ten tables in the order they are created.
const QList<TablaFormulario>& TablasFormulario();
// The three debt tables whose amount columns accept an empty text.
QStringList TablasDeudas();

// Drops the three work tables (TMP_) where they exist.
void BorraTablasTemporales();
// Creates each missing table with its key; rebuilds an F0913GARANTIA of the
// old layout (six columns or fewer).
void CreaTablas();
// Lets the six amount and return columns of a debt table take an empty text;
// any other table name, a missing table or column is left alone.
void PermiteLongitudCero(const QString& sTabla);
// True when a table of that name exists, whatever the case it was created in.
bool ExisteTabla(const QString& sTabla);

} // namespace inserta
