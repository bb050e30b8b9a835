#pragma once

// Repo04: the declaration report driver, which writes the chosen parts of a
// declaration into its report file (the form sheet as page 0, then the
// annexes), the form sheet itself, and the show-report routine, which
// previews or prints any report file of the report folder.

#include <QString>
#include <memory>

class frmPreview;

// What the print dialog asks the report to hold.
struct EleccionReporte {
    bool bDeclaracion = true;  // the form sheet
    bool bAcogidos = false;    // "Resoluciones - Acogidos"
    bool bOtras = false;       // "Otras resoluciones"
    bool bNoAcogidos = false;  // "Resoluciones - No acogidos"
    bool bCartaFianza = false; // "Garantía - Reporte de Carta  Fianza"
    bool bHipoteca = false;    // "Garantía - Reporte de Garantía Hipotecaria"
};

extern int nDestino; // times the driver writes the report's content (1)
extern int nFontRep; // size in points of the ordinary texts of the sheet and annexes

// The preview window while MuestraReporte runs; nothing otherwise.
extern std::unique_ptr<frmPreview> oPreview;

// Writes the report of the declaration being printed into sArchivo: the
// chosen parts, then the page-count tag (the pages written by this report),
// and closes the file. `nTipDoc` is the declarant's document type, which
// the guarantee annexes read their guarantee row with. Throws
// platform::DbError (file errors by their number) and leaves the file open
// then; the caller closes nArchivo.
void ImprimeDeclaracion(const EleccionReporte& eleccion, int nTipDoc);

// The form sheet, page 0: the tags of the first page, the header and the
// payment table of the entity nEntidad, from aCasilla. An unknown entity
// gets the table with its labels and no box numbers or box values.
void ImprimeFormulario();
// The sheet's header on page `nHoja` (a page break first unless it is 0).
void ImprimeCabecera(int nHoja);

// Shows the report file `sNombre` of the report folder in the preview
// ("Vprevia", modally) or prints it at once (any other mode). Printing
// failures are shown; false when nothing was printed.
bool MuestraReporte(const QString& sNombre, const QString& sModo);
