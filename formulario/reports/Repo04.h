#pragma once

// Repo04: the declaration report driver, which writes the chosen parts of a
// declaration into its report file, and the show-report routine, which
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

// The preview window while MuestraReporte runs; nothing otherwise.
extern std::unique_ptr<frmPreview> oPreview;

// Writes the report of the declaration being printed into sArchivo: the
// chosen parts, then the page-count tag, and closes the file. Throws
// platform::DbError (file errors by their number) and leaves the file open
// then; the caller closes nArchivo.
void ImprimeDeclaracion(const EleccionReporte& eleccion);

// Shows the report file `sNombre` of the report folder in the preview
// ("Vprevia", modally) or prints it at once (any other mode). Printing
// failures are shown; false when nothing was printed.
bool MuestraReporte(const QString& sNombre, const QString& sModo);
