#pragma once

// The sending summary of one saved declaration (report F36008): its lines,
// written once in the report markup and once as plain text.

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace reporte {

// Boxes 1 to 600 of the declaration; entry 0 is unused.
constexpr int kUltimaCasilla = 600;

// What the summary shows of one declaration.
struct DatosResumen {
    QString sDocumento;    // as the host sends it, blanks included
    QString sPeriodoEnvio; // YYYYMM
    QString sNomEntidad;
    int nCasillaBase = 0;  // first box of the entity's block
    QString sNombre;       // the declarant's name
    QStringList aCasillas = QStringList(kUltimaCasilla + 1); // box n at index n, "" when it has no row
};

// A blank and the value rounded to a whole number with thousands grouped
// ("#,###,###,##0"), right-aligned in `nAncho`; a longer text follows the
// blank as it is.
QString FormatoMonto(double nValor, int nAncho);
// The trimmed text right-aligned in `nAncho` with `cRelleno`.
QString RellenaIzquierda(const QString& sTexto, int nAncho, QChar cRelleno);

// The identification lines (document, name, form, period, entity) and the
// body (the entity's figures between rules), without indentation.
QStringList LineasIdentificacion(const DatosResumen& datos);
QStringList LineasCuerpo(const DatosResumen& datos);

// The plain-text summary, line by line as the file holds them.
QStringList ResumenTexto(const DatosResumen& datos);
// The lines of the markup summary before the line writer places them: tag
// lines as they stand and plain lines (the header's date and time are
// `dFechaHora`). The first `kLineasEtiqueta` are the page-1 tag lines and
// the empty line among them.
constexpr int kLineasEtiqueta = 5;
QStringList ResumenMarcado(const DatosResumen& datos, const QDateTime& dFechaHora);

// Write the plain-text and the markup summary to `sArchivo` (a file opened
// by number, Windows-1252, CR LF). A file that cannot be written throws its
// file error (ErrorDeArchivo, ErrorEscrituraReporte).
void ImprimeResumenTexto(const DatosResumen& datos, const QString& sArchivo);
void ImprimeResumen(const DatosResumen& datos, const QString& sArchivo);

} // namespace reporte
