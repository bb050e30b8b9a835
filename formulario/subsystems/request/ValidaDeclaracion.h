#pragma once

// The whole-declaration checks of the request form: every notified debt
// decided, something to refinance, and the open entity's boxes within the
// regime's limits (fractions of the UIT, taken exactly: an amount equal to
// the limit passes). Findings go as lines to the findings file Mens.txt.

#include "formulario/core/ClaveDeclaracion.h"

#include <QMap>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>

// What the form's controls hold that the checks read.
struct DeclaracionAValidar {
    ClaveDeclaracion clave;       // the declarant, sPeriodo, nEntidad
    QMap<int, QString> casillas;  // txtValor texts by box number; a box left out counts as empty
    QString sCodTriGrilla1;       // cod_tri of the current row of the notified-debts grid
    int nOtrasResoluciones = 0;   // rows of Dat(2)
    bool bTipoGarantia = false;   // at least one ChkGarantia ticked
};

// Opens sSysPath + "Mens.txt" for output (emptied), puts its path in
// sArchivo and returns its number, 0 when it could not be opened. The form's
// validate command opens it before the identification checks write to it.
int AbreArchivoMens();

// Runs the checks. `nModo` 0 writes each finding as a line of the open file
// `nArchivoMens` (none when 0) and goes on, leaving the file open; 2 stops at
// the first finding, except that nothing to refinance sets
// `bSeleccionaModalidad` (the form selects tab 3) and the checks go on.
// nInconsistencia ends 1 when anything was found, else 0; the result is true
// for a clean declaration. The form shows "La información de la declaración
// no presenta inconsistencias." or FrmConsist on the file afterwards (mode 0).
// A database error goes to ManejaErrorBD as "ValidaTodo".
bool ValidaTodo(quint8 nModo, const DeclaracionAValidar& datos, int nArchivoMens,
                bool* bSeleccionaModalidad = nullptr);

// The validate command without its widgets: nGrabando and nInconsistencia
// to 0, Mens.txt opened, the identification checks run (the form's
// ValidaContForm1(0), given the file's number to write into) and, when they
// pass, ValidaTodo(0). The file is closed; true for a clean declaration.
// The form then shows the message or FrmConsist on sArchivo. Nothing, after
// a message naming the file, when Mens.txt could not be created or written
// whole: the form shows neither, so no older file passes for this one.
std::optional<bool> ValidaDeclaracion(const std::function<bool(int nArchivoMens)>& ValidaContForm1,
                                      const DeclaracionAValidar& datos);
