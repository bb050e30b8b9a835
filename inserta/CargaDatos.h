#pragma once

// Rows the form needs in the host's tables: parameters (Param), report
// titles (reportes) and export definitions (envio_t).

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>

namespace inserta {

// One line of the export-definition file "env913.txt".
struct DefinicionEnvio {
    QString sTablaO;
    QString sTablaD;
    QString sTablaExt;
    QVariantList numeros; // indice, obliga, c_tip_doc_d, then the six c_ columns
};

// One line of the parameter file "Par913.txt".
struct LineaParametro {
    QString sNumero;
    QString sArgumento;
    QString sFuncion;
    QString sCorrel; // Correl_Param as stored: the sequence number with three digits
};

// The whole seeding step; closes nothing (the caller owns the database).
void CargaDatos();
// Updates the parameter row (Numero, Argumento) or inserts it.
bool GrabaParam(const QString& sNumero, const QString& sArgumento, const QString& sFuncion,
                const QString& sCorrel);
bool ExisteParam(const QString& sNumero, const QString& sArgumento);
bool ExisteEnvio(const QString& sTablaO);
// Loads "Par913.txt" (from "tmp/" under the host folder, else the host folder) into Param.
void CargaParametros();

// The lines of a file of "|"-ended fields, up to the first empty or blank
// line. Each holds at least `nCampos` fields, or *sError tells which does not.
bool LeeArchivoCampos(const QString& sArchivo, int nCampos, QList<QStringList>* lineas, QString* sError);
// Reads and checks the whole export-definition file; false with the reason.
bool LeeDefinicionesEnvio(const QString& sArchivo, QList<DefinicionEnvio>* definiciones, QString* sError);
// Reads and checks the whole parameter file; false with the reason.
bool LeeParametros(const QString& sArchivo, QList<LineaParametro>* parametros, QString* sError);
// The sequence number with the number format "000"; a text that is no number
// stays as it is; nothing for a number of sixteen digits or more.
std::optional<QString> FormatoCorrelativo(const QString& sCampo);

} // namespace inserta
