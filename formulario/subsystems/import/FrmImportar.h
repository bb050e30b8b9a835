#pragma once

#include "formulario/subsystems/import/CargaDeudas.h"

#include <QDialog>
#include <QString>
#include <functional>

class DirectoryList;
class DriveList;
class FileList;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace platform {
class Recordset;
} // namespace platform

// Import of a debt statement: the archive of one declarant and one creditor
// entity is unzipped, its one file checked against its digest and loaded into
// F0913DEUDAS, and the new declaration's header (CAB), the entity's guarantee
// box (DET) and its guarantee row (F0913GARANTIA) are written, all in one
// transaction.
class FrmImportar : public QDialog {
    Q_OBJECT
public:
    FrmImportar();
    ~FrmImportar() override;

    void Form_Load();
    void Form_Activate();
    void CmbRuc_Click();
    void CmbEntidad_Click();
    void DirList_Change();
    void DirList_Click();
    void DrvLst_Change();
    void CmdGrabar_Click();
    void CmdCancelar_Click();

    // "0913" + RUC + entity when they have 11 digits and 1 character; else "".
    static QString KeyNombreArchivo(const QString& sRuc, const QString& sEntidad);

    // Loads the extracted file with the record loader (CargaDeudas.h) and
    // keeps what it leaves; false when it was not loaded whole. The rows go
    // in under the import's transaction, which it begins once the file is
    // read; a load that fails rolls it back before its messages are shown.
    bool DesencriptaArch(const QString& sNomarch, const QString& sClave, QWidget& oForm);

    QGroupBox* Frame2 = nullptr;
    QComboBox* CmbRuc = nullptr;
    QLineEdit* txtNombre = nullptr;
    QComboBox* CmbEntidad = nullptr;
    QGroupBox* Frame1 = nullptr;
    DriveList* DrvLst = nullptr;
    DirectoryList* DirList = nullptr;
    FileList* flListaFiles = nullptr;
    QPushButton* CmdGrabar = nullptr;
    QPushButton* CmdCancelar = nullptr;
    QGroupBox* Frame3 = nullptr;
    QProgressBar* pbar1 = nullptr;
    QLabel* lblbar1 = nullptr;

    // What the record loader left of the last record.
    ValoresCarga oCarga;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreaControles();
    void DisposicionNormal();
    void DisposicionEspera();
    void MuestraPaso(int nValor, const QString& sTexto);
    QString RucElegido() const;
    QString EntidadElegida() const;
    void Importa();
    void ArchivoNoValido();
    void GrabaDeclaracion(const QString& sRucImp, int nEntidadImp);
    static void AgregaFila(const QString& sTabla, const std::function<void(platform::Recordset&)>& llena);
    // Runs a database step of the import; on an error the central handler
    // decides: again, or the end (of the program with a transaction open,
    // of the import without one). An open transaction is rolled back before
    // it asks, and "again" then runs the whole import anew.
    void Paso(const std::function<void()>& paso);
    [[noreturn]] void TerminaImportacion(bool bTerminaPrograma);
    void CancelaTransaccion();

    bool bHayDeclarantes = false;
    bool bTransaccion = false;
    bool bImportando = false;
};
