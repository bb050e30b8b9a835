#pragma once

// The run of Quenbo: the host names a saved declaration on the command line,
// and its sending summary is written into the report folder (markup,
// registered in SPOOL) and the temporary folder (plain text) of the host's
// database folder, under the spool number and under a name built from the
// command line.

#include <QString>
#include <optional>

class QRandomGenerator;

namespace reporte {

// Exit statuses of Quenbo.
constexpr int SalidaCompleta = 0;     // the summary was written and registered
constexpr int SalidaSinDatos = 1;     // the declarant is not registered in CONT
constexpr int SalidaSinBase = 2;      // the shared database could not be opened
constexpr int SalidaLineaInvalida = 3; // unknown entity, or a name that is no file name
constexpr int SalidaError = 4;        // any other failure (its number was shown)

// The command line, read by 1-based positions: 3-17 the document number,
// 22-27 the period, 28 the entity, 29-36 the suffix of the output names.
struct LineaComando {
    QString sDocumento;
    QString sPeriodoEnvio;
    QString sEntidad;
    QString sSufijo;
    // "0913", period, entity and suffix: the name of the copies.
    QString NombreBase() const;
};
LineaComando LeeLineaComando(const QString& sLinea);

// Name and first box of the creditor entity of that code; nothing for a
// code that is not one of the five.
struct Entidad {
    QString sNomEntidad;
    int nCasillaBase = 0;
};
std::optional<Entidad> BuscaEntidad(const QString& sEntidad);

// Creates a new, empty file named by eight random digits in the folder and
// gives its path; a name already taken is drawn again, so no existing file
// is overwritten. Throws platform::DbError (a file error) when the folder
// cannot take it.
QString CreaArchivoTemporal(const QString& sCarpeta, QRandomGenerator& generador);

// The whole run; returns the exit status. Every failure shows its message
// and leaves no temporary file behind.
int Main(const QString& sLineaComando);

} // namespace reporte
