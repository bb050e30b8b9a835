#pragma once

// Dialog of one debt that the administration never notified, entered by hand
// on the request form's tab of other resolutions: added one after another
// (operation "N") or changed (operation "E", its amounts and the merged
// company's RUC). The request form sets the operation and shows it through
// MuestraFormularioNuevo<FrmNoNotificada>().

#include "formulario/subsystems/review/DeudaNoNotificada.h"

#include <QDialog>
#include <QString>
#include <array>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class ServiciosFrm913;

class FrmNoNotificada : public QDialog {
    Q_OBJECT
public:
    FrmNoNotificada();

    void Form_Load();

    // Empties every field.
    void Deshabilita_campos();
    // Fills the combo with the document types (parameter list 872) and
    // selects the one of that code, if any.
    void CargaValoresNEW(QComboBox& oCombo, const QString& sCodigo = QString());
    // Loads the request form's current row of the grid of tab `nTab`: with
    // the flag 1 its period, type and number are shown and fixed; with 0 they
    // are empty and open.
    void CargaCampos(int nFlag, int nTab);
    bool Valida_Datos();
    GrabacionDeuda GrabaDatos();

    // Events
    void cboDocumento_Click();
    void mkePeriodo_Change();
    void mkePeriodo_KeyPress(int& KeyAscii);
    void txtNumDocumento_KeyPress(int& KeyAscii);
    void TxtRuc_KeyPress(int& KeyAscii);
    // The three amount boxes share their handlers.
    void Monto_Change(QLineEdit& oCaja);
    void Monto_GotFocus(QLineEdit& oCaja);
    void Monto_LostFocus(QLineEdit& oCaja);
    void Monto_KeyPress(QLineEdit& oCaja, int& KeyAscii);
    void cmdOpcion_Click(int Index);

    QGroupBox* Frame1 = nullptr;
    QLineEdit* mkePeriodo = nullptr;
    QComboBox* cboDocumento = nullptr;
    QLineEdit* txtDocumento = nullptr;
    QLineEdit* txtTributo = nullptr;
    QLineEdit* txtNumDocumento = nullptr;
    QLineEdit* TxtRuc = nullptr;
    QLineEdit* txtmtoTributo = nullptr;
    QLineEdit* TxtMtoInteresesCAP = nullptr;
    QLineEdit* TxtMtoIntereses = nullptr;
    QLineEdit* lblMtoAcogido = nullptr;
    std::array<QPushButton*, 2> cmdOpcion{};

private:
    void CreaControles();
    void AsignaEventos();
    ServiciosFrm913& Formulario() const;
    bool EsNueva() const;
    DeudaNoNotificada Deuda() const;
    QWidget* Campo(CampoDeuda eCampo) const;
    void RecalculaTotal();

    QString sDeclarante_; // the declarant's document number
    int nTabOrigen_ = 0;  // the request form's tab the dialog works for
};
