#pragma once

// Stand-in of the request form for the tests of the debt review dialogs:
// the two debt tabs over TMP_F0913DEUDAS of one declarant with their
// record-count labels and total boxes, the update date and a log of the
// routines the dialogs call back; and a fixture that installs the stand-in
// over a fresh host with notified debts of its own.

#include "formulario/core/Formato.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/SharedForm.h"
#include "formulario/subsystems/request/Frm913Servicios.h"
#include "formulario/subsystems/request/TablasTrabajo.h"
#include "formulario/subsystems/review/frmCondeuDet.h"
#include "platform/database.h"
#include "tests/support/EventosUsuario.h"
#include "tests/support/HostTest.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QWidget>
#include <array>
#include <memory>

class Frm913Simulado : public ServiciosFrm913 {
public:
    explicit Frm913Simulado(const QString& sRucDeclarante,
                            const QString& sRazonSocial = QStringLiteral("EMPRESA DE PRUEBA"))
        : sNumdoc(sRucDeclarante.leftJustified(20) + sRazonSocial)
    {
        for (QLineEdit& total : totales)
            total.setText(QStringLiteral("0"));
    }

    QWidget* Ventana() override { return &ventana; }
    QString pOperacion() const override { return sOperacion; }
    QString TextoNumdoc() const override { return sNumdoc; }
    int TabActual() const override { return nTab; }
    QString CaptionTab(int nIndex) const override { return captions.value(nIndex); }
    int TabIndexTab() const override { return 0; }
    int HelpContextTab() const override { return 1017; }
    platform::Recordset& Dat(int nIndex) override { return *dat.at(nIndex); }
    void PosicionaDat(int nIndex, int nPosicion) override
    {
        dat.at(nIndex)->setAbsolutePosition(nPosicion);
        Cuenta(nIndex);
    }

    QString ColumnaGrilla(int nIndex, const QString& sColumna) const override
    {
        platform::Recordset& rs = *dat.at(nIndex);
        if (rs.eof() || rs.bof() || !rs.hasField(sColumna))
            return {};
        return rs.field(sColumna).text();
    }
    QLineEdit& txtmtototal(int nIndex) override { return totales.at(nIndex); }
    QString FechaAcog() const override { return sFechaAcog; }

    // The form's own grid query and total; the record-count label as the
    // form sets it after a reload.
    void CargaTabIndex(int nIndex) override
    {
        llamadas.append(QStringLiteral("CargaTabIndex(%1)").arg(nIndex));
        dat.at(nIndex) = oBaseDatos->openRecordset(ConsultaGrilla(nIndex), {Ruc(), nEntidad});
        Cuenta(nIndex);
    }
    void CalculaMontoTotal(QLineEdit& txtBox, int nIndex) override
    {
        llamadas.append(QStringLiteral("CalculaMontoTotal(%1)").arg(nIndex));
        const QVariant suma = SumaAcogidaGrilla(nIndex, Ruc());
        txtBox.setText(suma.isNull() ? QStringLiteral("0") : Formato(suma.toDouble(), QStringLiteral("###,###,###,##0")));
    }

    QString Ruc() const { return sNumdoc.left(11).trimmed(); }

    // The record-count label of tab n, as the form shows it for the current row.
    void Cuenta(int nIndex)
    {
        platform::Recordset& rs = *dat.at(nIndex);
        lblTab.at(nIndex).setText(rs.recordCount() < 1 ? QStringLiteral("Sin registros")
                                                       : QStringLiteral("Total de registros : %1 de %2")
                                                             .arg(rs.absolutePosition() + 1)
                                                             .arg(rs.recordCount()));
    }

    QString sNumdoc; // cboNumdoc
    QString sOperacion = QStringLiteral("E");
    int nTab = 1; // SSTab1's current tab
    QString sFechaAcog = QStringLiteral("15/01/2016");
    QStringList captions = {QStringLiteral("&Información general"), QStringLiteral("&Resoluciones"),
                            QStringLiteral("&Otras Resoluciones"), QStringLiteral("&Casillas")};
    QStringList llamadas; // the call-backs, in order
    std::array<std::unique_ptr<platform::Recordset>, 3> dat;
    std::array<QLabel, 3> lblTab;
    std::array<QLineEdit, 3> totales;
    QWidget ventana;
};

// A debt of the work table; the defaults make a valid notified debt of
// period 01/2015 that nobody has reviewed yet.
struct DeudaPrueba {
    QString sIndTipDeu = QStringLiteral("01");
    QString sPerDoc = QStringLiteral("201501");
    QString sCodTri = QStringLiteral("010101");
    QString sNumDoc = QStringLiteral("0230010012345");
    QString sCodFor = QStringLiteral("0621");
    QString sCodTipDoc = QStringLiteral("000011");
    QString sCodTriAso = QStringLiteral("000000");
    QString sIndVerDeu = QStringLiteral("00");
    QString sFecDesDeu = QStringLiteral("2015-02-15");
    QString sMtoTributoS = QStringLiteral("1000.00");
    QString sMtoIntCapS = QStringLiteral("0.00");
    QString sMtoIntS = QStringLiteral("200.00");
    QVariant indAcog;
    QVariant indConf;
    QString sMtoTributoC;
    QString sMtoIntCapC;
    QString sMtoIntC;
    QString sMtoActC;
    int nIndValor = 1;
    QString sIndImpugnado = QStringLiteral("0");
    int nNumCuo = 0;
};

class RevisionTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        if (HasFatalFailure())
            return;
        sPeriodo = QStringLiteral("201512");
        nEntidad = 1;
        sTim = QStringLiteral("1.2");
        nTabActual = 1;
        frm = std::make_unique<Frm913Simulado>(kRuc);
        EstableceFormularioSolicitud(frm.get());
    }

    void TearDown() override
    {
        SharedForm<frmCondeuDet>::release();
        EstableceFormularioSolicitud(nullptr);
        frm.reset();
        HostTest::TearDown();
    }

    void Inserta(const DeudaPrueba& d)
    {
        const auto nulo = [](const QString& s) { return s.isNull() ? QVariant() : QVariant(s); };
        db().execute(
            QStringLiteral("INSERT INTO TMP_F0913DEUDAS (tip_doc_d, doc_id_d, periodo, formulario, semana, "
                           "Ind_tip_deu, per_doc, cod_tri, Num_doc, Cod_for, Cod_tip_doc, Cod_tri_aso, Ind_ver_deu, "
                           "Fec_des_deu, Num_cuo, Num_pro, mto_tributo_s, mto_int_cap_s, mto_int_s, mto_act_s, "
                           "ind_acog, ind_conf, mto_tributo_c, mto_int_cap_c, mto_int_c, mto_act_c, Cod_for_dj, "
                           "Num_ord_dj, Ind_valor, Ind_deuda_dj, Ind_impugnado, cnumero) VALUES (6, ?, ?, '0913', ?, "
                           "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, '00000000000001', ?, ?, ?, '0', ?, ?, ?, ?, ?, ?, '0621', "
                           "'12345', ?, 0, ?, '000000')"),
            {kRuc, sPeriodo, nEntidad, d.sIndTipDeu, d.sPerDoc, d.sCodTri, d.sNumDoc, d.sCodFor, d.sCodTipDoc,
             d.sCodTriAso, d.sIndVerDeu, QDate::fromString(d.sFecDesDeu, Qt::ISODate), d.nNumCuo, d.sMtoTributoS,
             d.sMtoIntCapS, d.sMtoIntS, d.indAcog, d.indConf, nulo(d.sMtoTributoC), nulo(d.sMtoIntCapC),
             nulo(d.sMtoIntC), nulo(d.sMtoActC), d.nIndValor, d.sIndImpugnado});
    }

    // Loads tab 1 with its rows and puts it on row `nFila` (0 the newest).
    void Carga(int nFila = 0)
    {
        frm->CargaTabIndex(1);
        frm->Dat(1).setAbsolutePosition(nFila);
        frm->llamadas.clear();
    }

    // Opens the detail dialog on the current row of tab 1.
    frmCondeuDet& Abre()
    {
        SharedForm<frmCondeuDet>::release();
        frmCondeuDet& dlg = SharedForm<frmCondeuDet>::instance();
        dlg.Form_Load();
        return dlg;
    }

    QStringList Mensajes() const
    {
        QStringList textos;
        for (const platform::ShownMessage& m : script.shown())
            textos.append(m.text);
        return textos;
    }

    const QString kRuc = QStringLiteral("20100066603");
    std::unique_ptr<Frm913Simulado> frm;
};
