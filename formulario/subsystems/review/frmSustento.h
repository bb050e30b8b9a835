#pragma once

// The evidence of one reason of disagreement of the debt under review: the
// payments not considered (reason 1), the file number of a material error
// (reason 3) or the resolution number of an accepted withdrawal (reason 4).
// It hands the evidence back to the debt detail dialog and marks the reason.

#include <QDialog>
#include <QString>
#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class frmCondeuDet;

class frmSustento : public QDialog {
    Q_OBJECT
public:
    frmSustento();

    void Form_Load();
    void Form_Activate();
    void cmdAccion_Click(int Index);
    void cmdSustento_Click(int Index);
    bool ValidaSalida(int nIndex);

    void txtcodform_LostFocus();

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLineEdit* txtcodform = nullptr;
    QLineEdit* txtnumord = nullptr;
    QLineEdit* mkeFechaPago = nullptr; // mask 99/99/9999, prompt "_"
    std::array<QPushButton*, 2> cmdAccion{};
    QListWidget* lstForm = nullptr;
    QLabel* lbl01 = nullptr;
    QLineEdit* txt01 = nullptr;
    std::array<QPushButton*, 2> cmdSustento{};

    int HelpContext() const { return nHelpContext_; }

    // The date box as the user sees it, "__/__/____" when empty.
    QString TextoFechaPago() const;

public slots:
    void reject() override; // Esc and the window's close button leave as "&Salir"

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreaControles();
    void DisposicionUnCampo();
    void AgregaPago();
    void EliminaPago();
    bool Rechaza(const QString& sMensaje, QLineEdit& oCampo, int nSeleccion);
    frmCondeuDet& Deuda() const;

    QString sMensajePendiente;
    int nHelpContext_ = 0;
};
