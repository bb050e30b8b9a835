#pragma once

// The refinancing request form: one declaration of one declarant, period
// and creditor entity, from its debts (two grids over the work tables)
// through the payment plan of the entity's boxes to its saved header and
// boxes. The review dialogs reach it through ServiciosFrm913.

#include "formulario/core/Moneda.h"
#include "formulario/subsystems/request/Frm913Servicios.h"

#include <QDialog>
#include <QMap>
#include <QString>
#include <array>
#include <map>
#include <memory>

class GrillaRecordset;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;
struct ClaveDeclaracion;
struct DeclaracionAValidar;

// The declaration chosen in a picker: the columns of its grid's current row
// that the form reads when it loads.
struct DeclaracionElegida {
    int nTipDoc = 0;  // column 0, the document type
    QString sNumDoc;  // column 2
    QString sNombre;  // column 3
    QString sEntidad; // column 6, the entity's name
    QString sCorrel;  // column 10, sent declarations only
};

class Frm913 : public QDialog, public ServiciosFrm913 {
    Q_OBJECT
public:
    Frm913();
    ~Frm913() override;

    // Shows a fresh form for the declaration chosen in a picker, modally,
    // and releases it once it is closed. A form that could not load is not
    // shown: the user is told so over the picker, and it unloads.
    static int MuestraDeclaracion(const DeclaracionElegida& declaracion);
    // The picker's row that the next Form_Load reads.
    void EstableceDeclaracion(const DeclaracionElegida& declaracion) { declaracion_ = declaracion; }

    // Life of the form
    void Form_Load();
    void Form_Activate();
    // After a load that did not reach its end: says so and closes the form,
    // which has nothing to save.
    void CierraSinCargar();
    void Form_Unload();
    void CmdCancelar_Click();
    void CmdGrabar_Click();
    void CmdValidar_Click();

    // Tabs and declaration options
    void SSTab1_Click(int PreviousTab);
    void Opt_Fusion_Click(int Index);
    void OptRectifica_Click(int Index);

    // Identification tab
    void cboNumdoc_Click();
    bool ValidaContForm1(int nModo);
    void mkeFechaAcog_GotFocus();
    void mkeFechaAcog_LostFocus();
    void mkeFechaAcog_KeyPress(int& KeyAscii);
    void txtTelefono_KeyPress(int& KeyAscii);

    // Debt grids and work tables
    void CargaDataTemporales(const QString& sTipo);
    void CargaTabIndex(int nIndex) override;
    void CalculaMontoTotal(QLineEdit& oTextBox, int nIndex) override;
    bool Existen_Deudas(const QString& sTipo) const;
    void txtmtototal_Change(int Index);
    void TDBGrid_RowColChange(int Index, int LastRow);

    // Debt grid commands
    void CmdAcoge_Click(int Index);
    void CmdNoAcoge_Click(int Index);
    void cmdNew_Click(int Index);
    void cmdEdit_Click(int Index);
    void TDBGrid_DblClick(int Index);
    void cmdDelete_Click(int Index);
    // The text a grid cell shows for its stored value.
    QString TDBGrid_FormatText(int Index, int ColIndex, const QVariant& Value) const;

    // Plan arithmetic and the boxes it fills
    void Obtiene_TIM(const QString& sFecha);
    void CalculaCasillas();
    void CalculaCasillas2();
    void CambiaGarantia2(const QString& sDeuda, Moneda dUit, int iCasGar, const QString& sCuotaAcog,
                         const QString& sFormaPago);

    // The boxes' own events
    void txtValor_Change(int Index);
    void txtValor_GotFocus(int Index);
    void txtValor_KeyPress(int Index, int& KeyAscii);
    void txtValor_LostFocus(int Index);

    // What the review dialogs use (ServiciosFrm913)
    QWidget* Ventana() override { return this; }
    QString pOperacion() const override { return sOperacion_; }
    QString TextoNumdoc() const override;
    int TabActual() const override;
    QString CaptionTab(int nTab) const override;
    int TabIndexTab() const override { return 0; }
    int HelpContextTab() const override { return nHelpContextTab_; }
    platform::Recordset& Dat(int nIndex) override;
    void PosicionaDat(int nIndex, int nPosicion) override;
    QString ColumnaGrilla(int nIndex, const QString& sColumna) const override;
    QLineEdit& txtmtototal(int nIndex) override;
    QString FechaAcog() const override;

    // Form state that the tests and the routines of later steps read.
    bool Modificado() const { return bModificado; }
    int HelpContext() const { return nHelpContext_; }
    int CasillaBase() const { return nCasillaBase; }
    int CasillaGarantia() const { return nCasillaGarantia; }

    // Controls (the index of a control array is its box number or its grid)
    QTabWidget* SSTab1 = nullptr;
    QComboBox* cboNumdoc = nullptr;
    QLineEdit* txtRazon = nullptr;
    QLineEdit* txtTelefono = nullptr;
    QLineEdit* mkeFechaAcog = nullptr;
    QLabel* lblFechaAcog = nullptr;
    QLineEdit* TxtEntidad = nullptr;
    QLineEdit* txtCorrel = nullptr;
    QLabel* lblCorrel = nullptr;
    std::array<QRadioButton*, 2> OptRectifica{};
    std::array<QRadioButton*, 2> Opt_Fusion{};
    std::array<QTableView*, 3> TDBGrid{};
    std::array<QLabel*, 3> lblTab{};
    std::array<QLineEdit*, 3> txtmtototal_{};
    // Stands for the total of a tab without debts: always reads "0".
    std::unique_ptr<QLineEdit> txtSinTotal_;
    std::array<QPushButton*, 2> CmdAcoge{};
    std::array<QPushButton*, 2> CmdNoAcoge{};
    std::array<QPushButton*, 3> cmdEdit{};
    std::array<QPushButton*, 3> cmdNew{};
    std::array<QPushButton*, 3> cmdDelete{};
    std::array<QLabel*, 9> txtdescas{};
    std::array<QGroupBox*, 5> FrameEntidad{}; // Frame_ALCOR ... Frame_FONCOMUN
    std::array<QLabel*, 5> txtdescol{};
    std::map<int, QLineEdit*> txtnumcas;
    std::map<int, QLineEdit*> txtValor;
    QGroupBox* Frame_Garantia = nullptr;
    std::array<QCheckBox*, 3> ChkGarantia{};
    QLabel* lblmsg = nullptr;
    QPushButton* CmdValidar = nullptr;
    QPushButton* CmdGrabar = nullptr;
    QPushButton* CmdCancelar = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void done(int resultado) override;

private:
    // Background of a box: white (the user may fill it) or grey.
    static void PintaCaja(QLineEdit& oCaja, bool bBlanca);
    void CreaControles();
    void CreaIdentificacion(QWidget* pagina);
    void CreaGrilla(QWidget* pagina, int nIndex);
    void CreaModalidad(QWidget* pagina);
    void ConectaEventos();
    // The open declaration's key, without the correlative.
    ClaveDeclaracion Clave() const;
    // With the correlative of a sent declaration.
    ClaveDeclaracion ClaveEnviada() const;
    QString PeriodoFechaAcog() const;
    DeclaracionAValidar DatosAValidar() const;
    void TomaDeclarante();
    void AplicaCasillas(const QMap<int, QString>& casillas);
    QMap<int, QString> TextosCasillas() const;
    bool GridVacia(int nIndex, const QString& sAccion);
    bool ConfirmaDecisionMasiva(int Index, const QString& sMarca);
    void TrasDecisionMasiva(bool bHecha);
    // Shows the review dialog of grid nIndex's debts; true when it saved one.
    bool MuestraDialogoDeuda(int nIndex);
    QString CondicionBorrado(QVariantList& params) const;
    void SoloLectura();
    void MuestraEntidad();
    void MuestraGarantia();
    void HabilitaCasillasModalidad();
    // Box helpers of the live recalculation
    QString Texto(int nCasilla) const;
    void Vacia(int nCasilla);
    void EstadoCaja(int nCasilla, bool bHabilitada, bool bBlanca);
    void ActualizaGarantia();
    void ActualizaCuotaInicial(int nDeuda, int nModalidad, int nMeses, int nCuotas);
    void RecalculaCasilla(int Index);
    void CambiaDeuda(int B);
    void CambiaModalidad(int B);
    void CambiaMeses(int B);
    void CambiaCuotas(int B);
    void CambiaCuotaInicial(int nCasilla);
    void EstableceFechaAcog(const QString& sFecha);
    void SigueGrilla(int nIndex);
    int FilaGrilla(int nIndex) const;
    void Descarga();

    // Form-level state
    DeclaracionElegida declaracion_;
    int nTipDocDeclarante = 0;
    QString sNumDocDeclarante;
    QString sCorrelativo;
    int nCasillaBase = 0;
    int nCasillaBase2 = 0;
    int nCasillaGarantia = 0;
    int nCasillaCuota = 0; // the entity's initial-instalment box
    bool bModificado = false;
    bool bCargaCorrecta = false;
    int nFilaGrilla = 0;
    QString sOperacion_; // pOperacion
    QString sFechaAnterior;
    int nArchivoMens = 0;

    int nHelpContext_ = 0;
    int nHelpContextTab_ = 1014;
    int nTabPrevio_ = 0;
    bool bEnTab_ = false;
    bool bEnFecha_ = false;
    bool bDescargado_ = false;
    std::array<std::unique_ptr<platform::Recordset>, 3> rsDat_;
    std::array<GrillaRecordset*, 3> modeloDat_{};
};
