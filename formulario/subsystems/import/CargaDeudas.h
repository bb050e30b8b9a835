#pragma once

// The statement's record loader: each line of the extracted file is one
// record of "|"-terminated fields and becomes one row of F0913DEUDAS. It runs
// inside the import's transaction and touches no widget of the dialog.

#include <QDate>
#include <QString>
#include <array>
#include <memory>

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

    // Loads every line of `sNomarch` into F0913DEUDAS; false (after telling
    // the user why) when a line could not be stored, the file is not a
    // statement's (too large, a line too long) or the guarantee values it
    // leaves do not fit their columns. `sClave` is not used; `oForm` shows
    // the wait pointer.
    bool DesencriptaArch(const QString& sNomarch, const QString& sClave, QWidget& oForm);
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

    QString sRuc_;
    int nEntidad_;
    QString sTitulo_;
    std::unique_ptr<platform::Recordset> rsDeudas_;
    std::array<platform::Field*, 33> camposDeuda_{}; // F0913DEUDAS in table order
    QDate dHoy_;                                     // the day of the load
};
