#pragma once

#include <QDate>
#include <QDialog>
#include <QString>
#include <array>
#include <functional>
#include <memory>

class CamposRegistro;
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
class Field;
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

    // The statement's record loader.
    // Loads every line of `sNomarch` into F0913DEUDAS; false (after telling
    // the user why) when a line could not be stored. `sClave` is not used.
    bool DesencriptaArch(const QString& sNomarch, const QString& sClave, QWidget& oForm);
    // Stores one record; false when it was not stored.
    bool CargaTablaValor(const QString& sCadenaNoEncryp);
    // Field `sCampo` (a number, from 0) of a record, trimmed; "" past the last
    // "|". A field of more than 254 characters up to the one after it throws
    // DbError 6 (overflow).
    static QString RetornaCampo(const QString& sRegistro, const QString& sCampo);

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

    // What the loader leaves: the last record's date verdict, the date part
    // of its date field and its guarantee fields 24 to 27.
    bool bArchivoDeHoy = false;
    QString sFechaActualizaImp;
    QString sIndGarantiaImp;
    QString sIndPersonaImp;
    QString sMtoDeudaImp;
    QString sMtoDeudaGarantiaImp;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Outcome of unzipping: extracted, failed, or an archive that is not a statement's.
    enum class Extraccion { Ok, Error, NoValido };

    void CreaControles();
    void DisposicionNormal();
    void DisposicionEspera();
    void MuestraPaso(int nValor, const QString& sTexto);
    QString RucElegido() const;
    QString EntidadElegida() const;
    void Importa();
    Extraccion Descomprime(const QString& sArchivoZip, const QString& sCarpeta);
    static bool NombreEsHash(const QString& sRuta);
    void ArchivoNoValido(const QString& sExtraido);
    void GrabaDeclaracion(const QString& sRucImp, int nEntidadImp);
    static void AgregaFila(const QString& sTabla, const std::function<void(platform::Recordset&)>& llena);
    // Runs a database step of the import; on an error the central handler
    // decides: again, or the end (of the program with a transaction open,
    // of the import without one).
    void Paso(const std::function<void()>& paso);
    void CancelaTransaccion();

    // Loader
    bool AbreDeudas();
    void VerificaGarantia(const CamposRegistro& campos);
    void MensajeCarga();

    bool bHayDeclarantes = false;
    bool bTransaccion = false;
    bool bImportando = false;
    std::unique_ptr<platform::Recordset> rsDeudas_;
    std::array<platform::Field*, 33> camposDeuda_{}; // F0913DEUDAS in table order
    std::array<int, 4> largosGarantia_{};            // F0913GARANTIA's sizes of the guarantee fields
    QDate dHoy_;                                     // the day of the load
};
