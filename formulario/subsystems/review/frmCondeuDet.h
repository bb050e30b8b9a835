#pragma once

// The review of one notified debt of the request form: what the
// administration states about it, and the declarant's answers (include it
// or not, agree with its amount or not, his own amounts, the reasons of
// disagreement with their evidence). "&Aceptar" hands them to the
// conciliation, which writes the work tables and may show the next debt.

#include "formulario/core/Moneda.h"
#include "formulario/subsystems/review/Conciliacion.h"

#include <QDialog>
#include <QString>
#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class ServiciosFrm913;

// State of the review dialogs shared with the evidence dialog.
extern int nMotivo;             // the reason whose evidence is being entered
extern bool bDetalleAceptado;   // the dialog's buttons and the conciliation set it
extern QString sCodTipDoc;      // cod_Tip_doc of the debt under review

class frmCondeuDet : public QDialog {
    Q_OBJECT
public:
    frmCondeuDet();
    ~frmCondeuDet() override;

    void Form_Load();
    void CargaValorDj();
    void GrabaConciliacion();
    void Posiciona_Etiqueta();

    void optAcogeFrac_Click(int Index);
    void optConformeMto_Click(int Index);
    void cmdOpcion_Click(int Index);
    void chkmotivo_Click(int Index);
    void cmdMotivo_Click(int Index);
    void txtmtoTributo_Change();
    void lblMtoInteres_Change();

    // Evidence of reasons 4 and 3, read and written by the evidence dialog.
    QString pnumres() const { return fila_.sNumRes; }
    void setPnumres(const QString& vNewValue) { fila_.sNumRes = vNewValue; }
    QString pnumexp() const { return fila_.sNumExp; }
    void setPnumexp(const QString& vNewValue) { fila_.sNumExp = vNewValue; }

    // The reason's mark: "1" evidence registered, "0" none.
    QString TagMotivo(int nIndex) const;
    void EstableceTagMotivo(int nIndex, const QString& sTag);

    bool Modificado() const { return bModificado; }
    int HelpContext() const { return nHelpContext_; }

    // Frame6, "Deuda notificada"
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame6 = nullptr;
    QLineEdit* lblPeriodo = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* lblNumvalor = nullptr;
    QLabel* label9 = nullptr;
    QLineEdit* lblCodtributo = nullptr;
    QLineEdit* LblDestributo = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* lblCod_tip_doc = nullptr;
    QLineEdit* lblDes_tip_doc = nullptr;
    QLabel* lblTitTributoAso = nullptr;
    QLineEdit* lblCod_Tri_aso = nullptr;
    QLineEdit* lblDesetapa = nullptr;
    QLabel* lblTitEstado = nullptr;
    QLineEdit* lblIndEstado = nullptr;
    QLineEdit* lblDesEstado = nullptr;
    QLabel* lblTitFecha = nullptr;
    QLineEdit* lblFechaAct = nullptr;
    QLineEdit* lblDesFecha = nullptr;
    // FrmSinBeneficio, "Deuda según ALCOR"
    QGroupBox* FrmSinBeneficio = nullptr;
    QLabel* lblmtotribinsol1 = nullptr;
    QLabel* lblmtointcapital = nullptr;
    QLabel* lblmtointnocapital = nullptr;
    QLabel* lblmtotot1 = nullptr;
    QLineEdit* lblNum_ord_dj = nullptr;
    QLabel* lblInd_valor = nullptr;
    // Frame2, "Información del contribuyente"
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QGroupBox* Frame4 = nullptr;
    QGroupBox* Frame7 = nullptr;
    QGroupBox* Frame5 = nullptr;
    std::array<QRadioButton*, 2> optAcogeFrac{};
    std::array<QRadioButton*, 2> optConformeMto{};
    QLineEdit* txtmtoTributo = nullptr;
    QLineEdit* lblMtoInteresCAP = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* lblMtoInteres = nullptr;
    QLabel* Label24 = nullptr;
    QLineEdit* lblMtoAcogido = nullptr;
    std::array<QCheckBox*, kMotivos + 1> chkmotivo{};    // 1 to 8
    std::array<QPushButton*, kMotivos + 1> cmdMotivo{};  // 1 to 6 and 8; there is no 7
    QListWidget* lstForm = nullptr;
    std::array<QPushButton*, 2> cmdOpcion{};

public slots:
    void reject() override; // Esc and the window's close button leave as "&Salir"

private:
    void CreaControles();
    void CreaDeudaNotificada();
    void CreaDeudaSegunAlcor();
    void CreaRespuestas();
    void CreaMotivos();
    void ConectaEventos();
    void DisposicionDisenada();
    void LimpiaRespuestas();
    void LeeFila(ServiciosFrm913& frm);
    void MuestraFila();
    void AplicaRespuestas(bool bConMontos);
    void CargaMotivos();
    void MarcaMotivo(int nIndex, bool bMarcado);
    void DesmarcaOpciones(std::array<QRadioButton*, 2>& opciones);
    void ReiniciaMotivos(bool bNo);
    void EstadoMontos(bool bEditable);
    void CalculaMontosConforme();
    void SumaMontos();
    Moneda Impugnacion() const;
    void Monto_GotFocus(QLineEdit& oCampo);
    void Monto_LostFocus(QLineEdit& oCampo);
    void Monto_KeyPress(int& KeyAscii);
    DeudaRevisada Revisada() const;
    QString FechaAcog() const;

    // The row under review: its key and status, and the evidence slots.
    DeudaRevisada fila_;
    // Its other columns, as text.
    QString sDesTributo;
    QString sDesValor;
    QString sNumOrdDj;
    QString sIndDeudaDj;
    QString sCodForDj;
    QString sDesEstado;
    QString sFecDesDeu;
    QString sMtoTributoS;
    QString sMtoIntCapS;
    QString sMtoIntS;
    QString sIndAcog;
    QString sIndConf;
    QString sMtoTributoC;
    QString sMtoIntCapC;
    QString sMtoIntC;
    QString sMtoActC;

    bool bModificado = false;
    int nHelpContext_ = 0;
};
