#pragma once

// A stand-in for the request form as the debt dialogs see it: its two debt
// grids read TMP_F0913DEUDAS as the form loads them, with their record-count
// labels and total boxes, and it counts the call-backs.

#include "formulario/core/Formularios.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/Moneda.h"
#include "formulario/request/Frm913Servicios.h"
#include "platform/database.h"

#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <array>
#include <memory>

class FormularioSolicitudPrueba : public ServiciosFrm913 {
public:
    QString sOperacion = QStringLiteral("N");
    QString sNumdoc;
    int nTab = 2;
    std::array<QLabel, 2> lblTab;
    std::array<QLineEdit, 2> cajasTotal;
    int nCargas = 0;  // CargaTabIndex calls
    int nTotales = 0; // CalculaMontoTotal calls

    QWidget* Ventana() override { return &ventana_; }
    QString pOperacion() const override { return sOperacion; }
    QString TextoNumdoc() const override { return sNumdoc; }
    int TabActual() const override { return nTab; }
    QString CaptionTab(int nIndex) const override
    {
        return QStringList{"&Información general", "&Resoluciones", "&Otras Resoluciones", "&Casillas"}.value(nIndex);
    }
    int TabIndexTab() const override { return 1; }
    int HelpContextTab() const override { return 1013; }
    platform::Recordset& Dat(int nIndex) override { return *dat_.at(nIndex - 1); }
    QString ColumnaGrilla(int nIndex, const QString& sColumna) const override
    {
        return dat_.at(nIndex - 1)->field(sColumna).text();
    }
    QString ColumnaGrilla(int nIndex, int nColumna) const override
    {
        static const QStringList columnas = {"per_doc", "des_tributo", "des_valor", "num_doc", "mto_act_s",
                                             "mto_act_c", "cod_tri", "Cod_For", "Cod_Tip_doc"};
        const QString sValor = ColumnaGrilla(nIndex, columnas.at(nColumna));
        return nColumna == 0 ? PeriodoMMAAAA(sValor) : sValor;
    }
    QLineEdit& txtmtototal(int nIndex) override { return cajasTotal.at(nIndex - 1); }
    QString FechaAcog() const override { return {}; }

    void CargaTabIndex(int nIndex) override
    {
        ++nCargas;
        dat_.at(nIndex - 1) = oBaseDatos->openRecordset(
            QStringLiteral("SELECT * FROM TMP_F0913DEUDAS WHERE doc_id_d = ? AND Semana = ? AND ind_tip_deu IN %1 "
                           "ORDER BY per_doc DESC, cod_tri")
                .arg(nIndex == 1 ? "('01', '04', '06')" : "('05')"),
            {sNumdoc.left(11).trimmed(), nEntidad});
        platform::Recordset& rs = *dat_.at(nIndex - 1);
        lblTab.at(nIndex - 1).setText(rs.recordCount() < 1 ? QStringLiteral("Sin registros")
                                                            : QStringLiteral("Total de registros : %1 de %2")
                                                                  .arg(rs.absolutePosition() + 1)
                                                                  .arg(rs.recordCount()));
    }
    void CalculaMontoTotal(QLineEdit& txtBox, int nIndex) override
    {
        ++nTotales;
        const QVariant suma = oBaseDatos->scalar(
            QStringLiteral("SELECT SUM(mto_act_c * 1) FROM TMP_F0913DEUDAS WHERE doc_id_d = ? AND Semana = ? "
                           "AND ind_tip_deu %1")
                .arg(nIndex == 1 ? "IN ('01', '04') AND ind_ver_deu IN ('00', '07')" : "= '05'"),
            {sNumdoc.left(11).trimmed(), nEntidad});
        txtBox.setText(suma.isNull() ? QStringLiteral("0")
                                     : Moneda::Convierte(suma.toString()).value_or(Moneda()).Formatea(0, true));
    }

private:
    QWidget ventana_;
    std::array<std::unique_ptr<platform::Recordset>, 2> dat_;
};
