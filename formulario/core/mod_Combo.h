#pragma once

// Readers of the host's parameter table Param and user table CLAVES, the
// lists filled from them and from the declarant register CONT, and the
// width of a combo box's drop-down list. The lookups have no error handling
// of their own: a database error reaches the operation that called them.

#include "formulario/core/Moneda.h"

#include <QString>
#include <QtGlobal>

class QComboBox;
class QWidget;

// How ObtieneFuncionParam hands back its cut of Funcion.
enum class CorteFuncion {
    TalCual,   // as stored, blanks included
    Recortado, // without the blanks around it (descriptions for labels and reports)
};

// `nLargo` characters of Funcion from position `nInicio` (1-based) of the row
// of list `sNumero` whose Argumento is `sArgumento`; "" without such a row.
// Length before start. List 726 is keyed by the first three characters of
// its Argumento, so there `sArgumento` is the three-character code.
QString ObtieneFuncionParam(const QString& sNumero, const QString& sArgumento, int nLargo, int nInicio,
                            CorteFuncion eCorte = CorteFuncion::TalCual);

// Appends to the combo one line per row of list `sNumero` whose Argumento is
// Like `sPatron` (* ? # [list]), in Argumento order: the key in a column of
// 12, five blanks and `nLargo` characters of Funcion from `nInicio` (the
// description is left out when its first 15 characters are blank). With
// `nPosMarca` not 0 only rows with "1" at that position of Funcion count.
// The combo's current item stays as it was (none in an empty combo).
void CargaComboParam(QComboBox& oCombo, const QString& sNumero, const QString& sPatron, int nLargo, int nInicio,
                     quint8 nPosMarca = 0);

// CLAVES.Tipo of sSysUser; "1" when the user has no row. "0" sees every
// declarant's declarations.
QString ObtieneTipoUsuario();

// The UIT in force for sPeriodo (parameter 404: Argumento the first day
// YYYYMMDD it applies from, Funcion the amount); 0 when none applies.
Moneda ObtieneUIT();

// Fills the combo with the declarants of that document type (only the current
// user's unless his type is "0"): the number in 20 characters followed by the
// name in 60. With `nSeleccion` set, the item of `sNumDoc` becomes current;
// otherwise no item is current. Without declarants the combo is emptied, a
// message says so and the result is false.
bool CargaNumeroDocumento(QComboBox& oCombo, quint8 nTipoDoc, const QString& sNumDoc, int nSeleccion);

// Average width in pixels of the letters in the form's font.
int AnchoPromedioCaracter(const QWidget& oForm);
// Makes the combo's drop-down list (nCaracteres - 2) average characters wide
// at least; never narrower than the combo itself.
void AjustaAnchoCombo(const QWidget& oForm, QComboBox& oCombo, int nCaracteres);
