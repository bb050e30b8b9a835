#pragma once

// Saving a declaration of the request form into its header CAB, its boxes
// DET and the saved debt, reason and evidence tables, in one transaction;
// and reading its boxes back (DET, or HDET for a sent declaration). Boxes
// travel as a map of box number to the text the form shows.

#include "formulario/core/ClaveDeclaracion.h"

#include <QMap>
#include <QString>
#include <optional>

// What the form's controls hold that the save writes.
struct DeclaracionFormulario {
    ClaveDeclaracion clave;           // the declarant (nTipDocDeclarante, sNumDocDeclarante), sPeriodo, nEntidad
    bool bRectifica = false;          // OptRectifica "Si" selected
    std::optional<bool> bFusion;      // Opt_Fusion: "Si" true, "No" false, neither nothing
    QString sTelefono;                // txtTelefono
    QString sFechaAcog;               // mkeFechaAcog as shown, "dd/mm/yyyy"
    QString sTiposGarantia;           // ChkGarantia 0 to 2, "1" ticked, "0" not: "010" mortgage only
    int nDeudasNotificadas = 0;       // rows of Dat(1)
    int nOtrasResoluciones = 0;       // rows of Dat(2)
    QMap<int, QString> casillas;      // txtValor(500) to txtValor(539); a box left out counts as empty
};

// Box value classes: the text stored in DET.i_valor for what the form shows,
// and what the form shows for a stored text.
QString ValorGuardado(int nCasilla, const QString& sValor);
QString ValorMostrado(int nCasilla, const QString& sGuardado);

// One box of the open declaration: with nGrabando 1 writes `sValor` (a value
// empty after trimming writes nothing) and returns ""; otherwise returns the
// stored value as shown, "" without a row. A guarantee-required box sets
// sGarantia either way. Reads HDET of the correlative when bEnviadas is set.
// Throws platform::DbError to the caller.
QString GrabarCasilla(const ClaveDeclaracion& clave, const QString& sCasilla, const QString& sValor);

// Writes the version date of the form `sArgumento` (PARAM 856) into the box
// the parameter names (790 for "0913"). Throws platform::DbError.
void GrabaCasillaParam(const ClaveDeclaracion& clave, const QString& sArgumento);

// Every stored box of the declaration as the form shows it (sets sGarantia
// from a guarantee-required box). The form applies them to its controls:
// 005 "1"/"2" the substitute option, 028 the phone, 551 + 10k the guarantee
// types, 541 the update date (then Obtiene_TIM), 545 the merger option,
// 500 to 539 txtValor (a box absent from the map empties its text box).
// A database error goes to ManejaErrorBD as "GrabarCasilla".
QMap<int, QString> CargaCasillas(const ClaveDeclaracion& clave);

// Saves the declaration: header (fec_pro, Rectifica, estado 9 when
// nInconsistencia is 1, else 0; reads nBcolibrad and sBuenContrib back from
// it), the boxes replaced, the work tables copied back into the saved
// tables, the initial instalments ("0" for the entity of a good taxpayer).
// An entity outside the five saves the same, without the boxes of an entity
// block of its own. All or nothing: on a database error the transaction is
// undone and the error shown under `sTitulo` (EjecutaGrabacion; a locked
// table may be retried, which runs the whole save again); false then, and
// the form stays as it was. Before it the form reloads both grids and runs
// ValidaTodo(2); on success it says so and sets nModo 1 and clears
// bModificado.
bool GrabaFormulario(const DeclaracionFormulario& datos, const QString& sTitulo);
