#pragma once

#include "formulario/subsystems/reports/Repo04.h"

#include <QDialog>
#include <QString>
#include <array>

class GrillaRecordset;
class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QTableView;

// The print dialog: lists the registered declarations, current or sent as
// bEnviadas says, and previews or prints the chosen one's report (the form
// sheet, its annexes, or both), registered in the spool.
class frmImprimir : public QDialog {
    Q_OBJECT
public:
    // Columns of the list.
    enum Columna { ColTipDoc, ColTipoDoc, ColRuc, ColNombre, ColFormulario, ColEntidad, ColSemana, ColPeriodo,
                   ColCorrel };
    // Elements of chkAnexos.
    enum Anexo { AnexoAcogidos = 0, AnexoOtras = 3, AnexoNoAcogidos = 7, AnexoCartaFianza = 8, AnexoHipoteca = 9 };

    frmImprimir();

    void Form_Load();
    void Form_Activate();
    void Carga_Grilla();
    void CargarCasillas();
    // Writes the chosen report into sArchivo; a failure is thrown
    // (platform::DbError) with the file closed.
    void ImprimirReporte2(const QString& ps_autogenerado);
    void OptImp_Click(int Index);
    void CmdImprimir_Click(int Index);
    void grdImprimir_DblClick();
    void grdImprimir_RowColChange();

    // What the options and the annex boxes ask the report to hold.
    EleccionReporte Eleccion() const;
    GrillaRecordset& Lista() const { return *dtaDecRegis; }
    int FilaActual() const;

    QGroupBox* Frame2 = nullptr;
    QTableView* grdImprimir = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 3> OptImp{};
    QGroupBox* Frame3 = nullptr;
    std::array<QCheckBox*, 10> chkAnexos{}; // elements 0, 3, 7, 8 and 9
    std::array<QPushButton*, 3> CmdImprimir{};

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreaControles();
    QString Columna(int nColumna) const;
    bool AnexoMarcado() const;
    void PonFilaActual(int nFila);

    GrillaRecordset* dtaDecRegis = nullptr;
    int nModoReporte = 0;
};
