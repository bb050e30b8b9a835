#pragma once

// Definitions of the ten tables of form 0913 (columns in table order, primary
// key): the one list that the installer creates them from and that every
// reader and writer of Tarvel takes their columns from.

#include "platform/fieldtype.h"

#include <QList>
#include <QString>
#include <QStringList>

struct DefinicionTabla {
    QString sNombre;
    QList<platform::ColumnDef> columnas;
    QString sNombreClave;      // the primary key's name
    QStringList columnasClave; // in key order
};

// The ten tables in the order they are created.
const QList<DefinicionTabla>& TablasFormulario();
// The table of that name (any case); nullptr when it is none of the ten.
const DefinicionTabla* DefinicionDe(const QString& sTabla);
// The three debt tables (saved, sent, work) and the columns of theirs that
// accept an empty text.
QStringList TablasDeudas();
QStringList ColumnasLongitudCero();
