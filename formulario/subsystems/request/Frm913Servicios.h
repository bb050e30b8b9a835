#pragma once

// What the debt review dialogs use of the request form: the controls and
// state they read and the two routines they call back. The open Frm913
// provides it; tests put a stand-in in its place.

#include <QString>

class QLineEdit;
class QWidget;
namespace platform { class Recordset; }

class ServiciosFrm913 {
public:
    virtual ~ServiciosFrm913() = default;

    // The window the dialogs are shown over.
    virtual QWidget* Ventana() = 0;
    // Operation code "N", "E" or "D", set just before a grid command acts.
    virtual QString pOperacion() const = 0;
    // cboNumdoc: the chosen declarant's text; its first 11 characters,
    // trimmed, are the RUC.
    virtual QString TextoNumdoc() const = 0;

    // SSTab1: the current tab, a tab's caption, the tab control's position
    // in the form's tab order and its help context number.
    virtual int TabActual() const = 0;
    virtual QString CaptionTab(int nTab) const = 0;
    virtual int TabIndexTab() const = 0;
    virtual int HelpContextTab() const = 0;

    // Dat(n): the record set of tab n (1 or 2) over TMP_F0913DEUDAS; its
    // current row is the debt being edited.
    virtual platform::Recordset& Dat(int nIndex) = 0;
    // Moves Dat(n) to row nPosicion (0 the first); TDBGrid(n) and its
    // record-count label follow it, as a grid bound to the rows does.
    virtual void PosicionaDat(int nIndex, int nPosicion) = 0;
    // TDBGrid(n): the current row's field as stored, by field name.
    virtual QString ColumnaGrilla(int nIndex, const QString& sColumna) const = 0;
    // txtmtototal(n): the tab's accepted total; "0" means none to recompute.
    virtual QLineEdit& txtmtototal(int nIndex) = 0;
    // mkeFechaAcog: the date of update of the debts, "dd/mm/yyyy".
    virtual QString FechaAcog() const = 0;

    // Reloads tab n's rows from TMP_F0913DEUDAS, its grid and count label.
    virtual void CargaTabIndex(int nIndex) = 0;
    // Puts into the box the sum of mto_act_c of tab n's debts.
    virtual void CalculaMontoTotal(QLineEdit& txtBox, int nIndex) = 0;
};

// The request form the dialogs work for (nullptr when none is open).
ServiciosFrm913* FormularioSolicitud();
void EstableceFormularioSolicitud(ServiciosFrm913* oFormulario);
