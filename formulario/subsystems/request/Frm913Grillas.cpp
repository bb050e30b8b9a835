// The request form's debt grids over the work tables: loading a grid with
// its record count and total, the commands of the two debt tabs (accept or
// reject all, new, change, delete) with the review dialogs they open, and
// what those dialogs read back of the form.

#include "formulario/subsystems/request/Frm913.h"

#include "formulario/core/ClaveDeclaracion.h"
#include "formulario/core/Fileproc.h"
#include "formulario/core/Formato.h"
#include "formulario/core/Formularios.h"
#include "formulario/core/GrillaRecordset.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/Registros.h"
#include "formulario/subsystems/request/DatosDeclarante.h"
#include "formulario/subsystems/request/RecalculaDeudas.h"
#include "formulario/subsystems/request/TablasTrabajo.h"
#include "formulario/subsystems/review/FrmNoNotificada.h"
#include "formulario/subsystems/review/frmCondeuDet.h"
#include "platform/database.h"
#include "platform/dialogs.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTableView>

#include <algorithm>

using namespace platform::mb;

// ---------------------------------------------------------------------------
// Debt grids and work tables

void Frm913::CargaDataTemporales(const QString& sTipo)
{
    ::CargaDataTemporales(sTipo, bEnviadas ? ClaveEnviada() : Clave());
}

void Frm913::CargaTabIndex(int nIndex)
{
    EjecutaConReintento(QStringLiteral("CargaTabIndex"), [this, nIndex] {
        sSQL = ConsultaGrilla(nIndex);
        rsDat_[nIndex] = oBaseDatos->openRecordset(sSQL, {sNumDocDeclarante, nEntidad});
        CargaTipoPersona(sNumDocDeclarante);
    });
    platform::Recordset& rs = *rsDat_[nIndex];
    modeloDat_[nIndex]->CargaRecordset(rs);
    if (rs.bof() && rs.eof()) {
        lblTab[nIndex]->setText(QStringLiteral("Sin registros"));
    } else {
        rs.moveFirst();
        lblTab[nIndex]->setText(QStringLiteral("Total de registros : %1 de %2")
                                    .arg(rs.absolutePosition() + 1)
                                    .arg(rs.recordCount()));
    }
    SigueGrilla(nIndex);
}

// The grid's current row becomes the record set's.
void Frm913::SigueGrilla(int nIndex)
{
    QTableView* grilla = TDBGrid[nIndex];
    const int nFila = FilaGrilla(nIndex);
    const QSignalBlocker bloqueo(grilla->selectionModel());
    if (nFila < 0)
        grilla->selectionModel()->clear();
    else
        grilla->setCurrentIndex(modeloDat_[nIndex]->index(nFila, 0));
    grilla->viewport()->update();
}

// The record set's current row; -1 without one.
int Frm913::FilaGrilla(int nIndex) const
{
    const platform::Recordset* rs = rsDat_[nIndex].get();
    if (!rs || rs->eof() || rs->bof())
        return -1;
    return rs->absolutePosition();
}

void Frm913::CalculaMontoTotal(QLineEdit& oTextBox, int nIndex)
{
    if (nIndex == 0 || nIndex == 4 || nIndex == 5)
        return;
    const QVariant vSuma = EjecutaConReintento(QStringLiteral("CalculaMontoTotal"), [this, nIndex] {
        return SumaAcogidaGrilla(nIndex, sNumDocDeclarante);
    });
    oTextBox.setText(vSuma.isNull() ? QStringLiteral("0") : Formato(vSuma.toDouble(), QStringLiteral("###,###,###,##0")));
    oTextBox.setAlignment(Qt::AlignRight);
}

bool Frm913::Existen_Deudas(const QString& sTipo) const
{
    return ::Existen_Deudas(sTipo, sNumDocDeclarante);
}

void Frm913::txtmtototal_Change(int)
{
    CalculaCasillas2();
}

void Frm913::TDBGrid_RowColChange(int Index, int LastRow)
{
    if (LastRow < 0 || !rsDat_[Index])
        return;
    lblTab[Index]->setText(QStringLiteral("Total de registros : %1 de %2")
                               .arg(rsDat_[Index]->absolutePosition() + 1)
                               .arg(rsDat_[Index]->recordCount()));
}

// ---------------------------------------------------------------------------
// Debt grid commands

// True (after telling the user) when grid nIndex has no rows to act on.
bool Frm913::GridVacia(int nIndex, const QString& sAccion)
{
    if (modeloDat_[nIndex]->rowCount() > 0)
        return false;
    platform::messageBox(QStringLiteral("No existen registros disponibles para ") + sAccion, Information | OkOnly,
                         QStringLiteral("Información"));
    return true;
}

// Steps shared by the bulk decisions: rows, undecided debts and the user's
// yes to marking them `sMarca` ("acogidas" or "no acogidas").
bool Frm913::ConfirmaDecisionMasiva(int Index, const QString& sMarca)
{
    if (GridVacia(Index, QStringLiteral("actualizar.")) || Index != 1)
        return false;
    if (!Existen_Deudas(QStringLiteral("1"))) {
        platform::messageBox(QStringLiteral("No existen deudas sin acoger"), Information | OkOnly, windowTitle());
        return false;
    }
    return platform::messageBox(QStringLiteral("Se modificarán las deudas sin marcar como ") + sMarca
                                    + QStringLiteral(". ¿ Desea continuar ?"),
                                YesNo | Question, windowTitle())
        == Yes;
}

void Frm913::CmdAcoge_Click(int Index)
{
    if (!ConfirmaDecisionMasiva(Index, QStringLiteral("acogidas")))
        return;
    TrasDecisionMasiva(AcogeTodas(sNumDocDeclarante, mkeFechaAcog->displayText()));
}

void Frm913::CmdNoAcoge_Click(int Index)
{
    if (!ConfirmaDecisionMasiva(Index, QStringLiteral("no acogidas")))
        return;
    TrasDecisionMasiva(NoAcogeTodas(sNumDocDeclarante));
}

// Grid 1 is loaded again either way; a decision made marks the form and
// brings its total up to date, which carries the accepted debt into the
// entity's boxes, as a change from a review dialog does.
void Frm913::TrasDecisionMasiva(bool bHecha)
{
    CargaTabIndex(1);
    if (!bHecha)
        return;
    bModificado = true;
    CalculaMontoTotal(txtmtototal(1), 1);
}

bool Frm913::MuestraDialogoDeuda(int nIndex)
{
    const bool bAntes = bDeudaGrabada;
    bDeudaGrabada = false;
    // Also when the dialog fails to load and the error leaves from here: an
    // earlier saved debt is not forgotten on the way to the user's Retry.
    const auto alSalir = qScopeGuard([this, bAntes] {
        if (bDeudaGrabada)
            bModificado = true;
        bDeudaGrabada = bAntes || bDeudaGrabada;
    });
    if (nIndex == 1)
        MuestraFormularioNuevo<frmCondeuDet>();
    else
        MuestraFormularioNuevo<FrmNoNotificada>();
    return bDeudaGrabada; // this dialog's alone: read before alSalir runs
}

void Frm913::cmdNew_Click(int Index)
{
    sOperacion_ = QStringLiteral("N");
    nFilaGrilla = std::max(FilaGrilla(Index), 0);
    if (Index == 2)
        MuestraDialogoDeuda(2);
    SSTab1_Click(1);
    const int nTab = SSTab1->currentIndex();
    CalculaMontoTotal(txtmtototal(nTab), nTab);
}

void Frm913::cmdEdit_Click(int Index)
{
    sOperacion_ = QStringLiteral("E");
    if (GridVacia(Index, QStringLiteral("actualizar")))
        return;
    nFilaGrilla = std::max(FilaGrilla(Index), 0);
    if (Index == 1)
        nTabActual = 1;
    MuestraDialogoDeuda(Index);
    SSTab1_Click(1);
}

void Frm913::TDBGrid_DblClick(int Index)
{
    sOperacion_ = QStringLiteral("E");
    if (GridVacia(Index, QStringLiteral("actualizar")))
        return;
    nFilaGrilla = std::max(FilaGrilla(Index), 0);
    nTabActual = Index;
    if (!bEnviadas)
        MuestraDialogoDeuda(Index);
    const int nFila = nFilaGrilla;
    SSTab1_Click(1);
    if (nFila > 0 && nFila < rsDat_[Index]->recordCount()) {
        rsDat_[Index]->setAbsolutePosition(nFila);
        SigueGrilla(Index);
    }
}

// The condition that picks the current hand-entered debt of grid 2 alone.
QString Frm913::CondicionBorrado(QVariantList& params) const
{
    auto columna = [this](const char* sCampo) { return ColumnaGrilla(2, QLatin1String(sCampo)); };
    QString sCondicion = QStringLiteral("doc_id_d = ? AND Semana = ? AND Ind_tip_deu = '05' AND per_doc = ? "
                                        "AND cod_tri = ? ");
    params = {sNumDocDeclarante, nEntidad, columna("per_doc"), columna("cod_tri")};
    if (columna("ind_valor") == QLatin1String("1")) {
        sCondicion += QStringLiteral("AND num_doc = trim(?) AND cod_for = '0' AND cod_tip_doc = ? ");
        params << columna("num_doc") << columna("cod_tip_doc").left(6);
    } else if (columna("ind_deuda_dj") == QLatin1String("1")) {
        sCondicion += QStringLiteral("AND num_doc = ? AND cod_for = ? ");
        params << columna("num_doc") << columna("cod_for");
    } else if (columna("cod_tri").startsWith(u'6') && columna("ind_deuda_dj") == QLatin1String("0")
               && columna("ind_valor") == QLatin1String("0")) {
        sCondicion += QStringLiteral("AND num_doc = '0' AND cod_for = '0' AND cod_tip_doc = '0' AND cod_tri_aso = ? ");
        params << FormateaCodigo(columna("cod_tri_aso").left(4), true);
    } else {
        // Every hand-entered row of that period and tribute would go: only
        // the row the user chose does.
        sCondicion += QStringLiteral("AND num_doc = ? AND cod_for = ? AND cod_tip_doc = ? AND cod_tri_aso = ? ");
        params << columna("num_doc") << columna("cod_for") << columna("cod_tip_doc") << columna("cod_tri_aso");
    }
    return sCondicion;
}

void Frm913::cmdDelete_Click(int Index)
{
    sOperacion_ = QStringLiteral("D");
    if (GridVacia(Index, QStringLiteral("eliminar")))
        return;
    if (platform::messageBox(QStringLiteral("¿Confirma que va a eliminar el registro seleccionado?"),
                             YesNo | Question | DefaultButton2, windowTitle())
        != Yes)
        return;
    QVariantList params;
    const QString sCondicion = CondicionBorrado(params);
    try {
        oBaseDatos->execute(QStringLiteral("DELETE FROM TMP_F0913DEUDAS WHERE ") + sCondicion, params);
    } catch (const platform::DbError& err) {
        platform::messageBox(err.description() + QStringLiteral("\n\nEl registro no fue eliminado."),
                             Critical | OkOnly, windowTitle());
        return;
    }
    if (oBaseDatos->recordsAffected() == 0) {
        platform::messageBox(QStringLiteral("No se encontró el registro seleccionado. No se eliminó ningún registro."),
                             Exclamation | OkOnly, windowTitle());
        return;
    }
    bModificado = true;
    SSTab1_Click(3);
    platform::messageBox(QStringLiteral("Se eliminó el registro satisfactoriamente"), Information | OkOnly,
                         windowTitle());
}

QString Frm913::TDBGrid_FormatText(int Index, int ColIndex, const QVariant& Value) const
{
    const QString sValor = Value.isNull() ? QString() : Value.toString();
    const bool bTributo = Index == 2 && ColIndex == 15;
    if (ColIndex == 0)
        return sValor.size() == 6 ? sValor.right(2) + QLatin1Char('/') + sValor.left(4) : sValor;
    if (ColIndex == 4 || bTributo)
        return Formato(sValor, QStringLiteral("#,###,###,###,##0.00"));
    if (ColIndex == 5)
        return Formato(sValor, QStringLiteral("#,###,###,###,##0"));
    if (Index == 1 && ColIndex == 24)
        return sValor == QLatin1String("1") ? QStringLiteral("SI") : sValor == QLatin1String("2") ? QStringLiteral("NO") : sValor;
    return sValor;
}

// ---------------------------------------------------------------------------
// What the review dialogs use

QString Frm913::TextoNumdoc() const
{
    return cboNumdoc->currentText();
}

int Frm913::TabActual() const
{
    return SSTab1->currentIndex();
}

QString Frm913::CaptionTab(int nTab) const
{
    return SSTab1->tabText(nTab);
}

platform::Recordset& Frm913::Dat(int nIndex)
{
    return *rsDat_[nIndex];
}

void Frm913::PosicionaDat(int nIndex, int nPosicion)
{
    rsDat_[nIndex]->setAbsolutePosition(nPosicion);
    SigueGrilla(nIndex);
    // SigueGrilla keeps the grid quiet, so the count label is told of the
    // row itself.
    TDBGrid_RowColChange(nIndex, 0);
}

QString Frm913::ColumnaGrilla(int nIndex, const QString& sColumna) const
{
    const platform::Recordset* rs = rsDat_[nIndex].get();
    if (FilaGrilla(nIndex) < 0 || !rs->hasField(sColumna))
        return {};
    return const_cast<platform::Recordset*>(rs)->field(sColumna).text();
}

QLineEdit& Frm913::txtmtototal(int nIndex)
{
    if (nIndex == 1 || nIndex == 2)
        return *txtmtototal_[nIndex];
    if (!txtSinTotal_)
        txtSinTotal_ = std::make_unique<QLineEdit>();
    txtSinTotal_->setText(QStringLiteral("0"));
    return *txtSinTotal_;
}

QString Frm913::FechaAcog() const
{
    return mkeFechaAcog->displayText();
}
