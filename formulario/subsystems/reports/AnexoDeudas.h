#pragma once

// The debt annexes of a declaration report: the debts included in the plan
// and those not included (kind "DN", landscape), the other resolutions
// ("ODR", portrait), each with its page header, framed title, column
// headings, one fixed-column line per debt, count and totals. The row
// selection, headings and detail lines also serve the guarantee annexes
// (kinds "CF" and "GH").

#include <QString>
#include <QVariantList>

namespace platform { class Recordset; }

// The page that a page header opens: the next index after nPagina, which
// becomes nPagina and nUltPagina. Page 0 opens the file with the font,
// orientation and colour tags; any other starts a new sheet in that
// orientation.
int AbreHojaReporte(const QString& sTagOrientacion);
// The font, orientation and colour tags that open a report file.
void ImprimeTagsPrimeraHoja(const QString& sTagOrientacion);

// Builds in sSQL the selection of the debts of the annex `sTipo` of the
// declaration being printed (sRuc, nEntidad; sCorrel for a sent one) from
// `sTabla`, newest period first, and gives the values its "?" take in order.
QVariantList ArmaSqlAnexo(const QString& sTabla, const QString& sTipo, bool bAcogido);

// The two lines of column headings of the kind, bold, the first at nY; nY
// is left at the second line's position.
void ImprimeTitulosAnexo(int nHoja, int& nY, const QString& sTipo);

// The detail line of the current row of `rs` at nY.
void ImprimeDetalleDeuda(int nHoja, int nY, platform::Recordset& rs, const QString& sTipo);

// Page headers of the debt annexes, landscape and portrait: each opens the
// next page and gives its index.
int ImprimeCabeceraH();
int ImprimeCabeceraV();

// The block of an annex without rows: `sTitulo` framed at nY (the frame
// reaching nAncho) and "NO EXISTE INFORMACIÓN A DECLARAR" below it.
void ImprimeSinInformacion(int nHoja, int nY, const QString& sTitulo, int nAncho);

// Writes the whole annex of kind "DN" (included or not, by `bAcogido`) or
// "ODR" with its title. The rows come from the sent table while bEnviadas
// is set; `sTabla` names the saved one.
void ImprimeAnexoDeudas(const QString& sTabla, const QString& sTitulo, const QString& sTipo, bool bAcogido);

// The text left-aligned (Izquierda) or right-aligned (Derecha) in a column of
// `nAncho` by the utility's pads; a longer text is never cut.
QString Izquierda(const QString& sTexto, int nAncho);
QString Derecha(const QString& sTexto, int nAncho);

// The table the annexes read: the sent copy of `sTabla` while bEnviadas.
QString TablaAnexo(const QString& sTabla);
