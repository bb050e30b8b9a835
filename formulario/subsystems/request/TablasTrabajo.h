#pragma once

// The request form's work tables TMP_F0913DEUDAS, TMP_F0913MOTIVO and
// TMP_F0913SUSTEN: copying a declaration's detail rows into them and back,
// the queries of the two debt grids, their totals and the undecided debts.
// The work tables hold the open declaration's rows alone, so the grid
// queries select by document number and entity only.

#include <QString>
#include <QVariant>

struct ClaveDeclaracion;

// "C" copies the declaration's saved rows (the sent rows of its correlative
// while bEnviadas is set) into the work tables, each first losing the
// declaration's rows; "G" runs GuardaTablasTrabajo in a transaction of its
// own. A failing copy throws DbError to the caller.
void CargaDataTemporales(const QString& sTipo, const ClaveDeclaracion& clave);

// Copies the work tables back into the saved tables, in the caller's
// transaction, each first losing the declaration's rows (`clave` without a
// correlative). Any failing statement throws DbError, a deletion's too, so
// that no row the user removed outlives the copy.
void GuardaTablasTrabajo(const ClaveDeclaracion& clave);

// Empties the three work tables, every row, in one transaction.
void VaciaTablasTrabajo();

// The rows grid `nIndex` shows (1 the notified debts and summary rows, 2 the
// debts entered by hand), newest period first; the two placeholders take
// the document number and the entity. Both grids carry ind_valor and
// ind_deuda_dj, which the delete of a hand-entered debt and its dialog read.
QString ConsultaGrilla(int nIndex);

// The sum of the accepted amounts mto_act_c that grid `nIndex`'s total
// counts (grid 1: notified kinds 01 and 04 of status 00 or 07; grid 2: every
// hand-entered debt); Null when no row counts.
QVariant SumaAcogidaGrilla(int nIndex, const QString& sNumDoc);

// True when debts are still undecided (ind_acog null): with "1" the
// acceptable notified debts, otherwise the hand-entered ones of status 00.
bool Existen_Deudas(const QString& sTipo, const QString& sNumDoc);
