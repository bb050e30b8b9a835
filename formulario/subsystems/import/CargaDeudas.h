#pragma once

// The statement's record loader: each line of the extracted file is one
// record of "|"-terminated fields and becomes one row of F0913DEUDAS. Its
// rows are stored inside the import's transaction, and what it has to tell
// the user then waits until the import has let the transaction go: no box
// waits on the user while the database's write lock is held. It touches no
// widget of the dialog.

#include <QDate>
#include <QList>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace platform {
class Field;
class Recordset;
} // namespace platform

class CamposRegistro;

// What the loader leaves: the last record's date verdict, the date part of
// its date field and its guarantee fields 24 to 27.
struct ValoresCarga {
    bool bArchivoDeHoy = false;
    QString sFechaActualizaImp;
    QString sIndGarantiaImp;
    QString sIndPersonaImp;
    QString sMtoDeudaImp;
    QString sMtoDeudaGarantiaImp;
};

class CargaDeudas {
public:
    // Loads for the declarant `sRuc` and the entity `nEntidadImp`; messages
    // are titled `sTitulo`.
    CargaDeudas(const QString& sRuc, int nEntidadImp, const QString& sTitulo);
    ~CargaDeudas();

    // The lines of the extracted file `sNomarch`; nothing when it cannot be
    // opened (AbreArchivo has said why) or is no statement's (too large, a
    // line too long), which it says.
    std::optional<QList<QByteArray>> LeeEstado(const QString& sNomarch);
    // Stores every line in F0913DEUDAS; false when a line could not be
    // stored, there was none, or the guarantee values it leaves do not fit
    // their columns. Why is kept for MuestraAvisos. `oForm` shows the wait
    // pointer.
    bool CargaLineas(const QList<QByteArray>& lineas, QWidget& oForm);
    // Tells the user, in their order, what the last load kept to tell.
    void MuestraAvisos();
    // Stores one record; false when it was not stored.
    bool CargaTablaValor(const QString& sCadenaNoEncryp);
    // Field `sCampo` (a number, from 0) of a record, trimmed; "" past the last
    // "|". A field of more than 254 characters up to the one after it throws
    // DbError 6 (overflow).
    static QString RetornaCampo(const QString& sRegistro, const QString& sCampo);

    ValoresCarga valores;

private:
    bool AbreDeudas();
    void LlenaFila(const CamposRegistro& campos, const QString& sFechaHora);
    bool GarantiaCabe();
    void MensajeTecnico(int nError);
    void MensajeCarga();
    void Avisa(const QString& sMensaje, const QString& sTitulo);

    QString sRuc_;
    int nEntidad_;
    QString sTitulo_;
    std::unique_ptr<platform::Recordset> rsDeudas_;
    std::array<platform::Field*, 33> camposDeuda_{}; // F0913DEUDAS in table order
    QDate dHoy_;                                     // the day of the load
    QList<std::function<void()>> avisos_;            // what the load has to tell
};
