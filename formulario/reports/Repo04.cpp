#include "formulario/reports/Repo04.h"

#include "formulario/core/Formularios.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/TablaArchivos.h"
#include "formulario/reports/ImpLinea.h"
#include "formulario/reports/frmPreview.h"
#include "platform/dberror.h"
#include "platform/dialogs.h"

#include <QCoreApplication>

int nDestino = 1;
std::unique_ptr<frmPreview> oPreview;

namespace {

bool HayAnexos(const EleccionReporte& eleccion)
{
    return eleccion.bAcogidos || eleccion.bOtras || eleccion.bNoAcogidos || eleccion.bCartaFianza
        || eleccion.bHipoteca;
}

void AbreArchivoReporte()
{
    nArchivo = FreeFile();
    sLineaRep.clear();
    if (sSalida != kSalidaArchivo)
        return;
    const int nError = AbreNumero(nArchivo, sArchivo, modoArchivo::Salida);
    if (nError != 0)
        throw platform::DbError(nError, QStringLiteral("No se pudo crear el archivo del reporte %1").arg(sArchivo));
    nPagina = 0;
}

} // namespace

void ImprimeDeclaracion(const EleccionReporte& eleccion)
{
    AbreArchivoReporte();
    for (int nCopia = 0; nCopia < nDestino; ++nCopia) {
        nLinea = 0;
        // The form sheet is page 0; without it the first annex page is.
        nPagina = eleccion.bDeclaracion ? 0 : -1;
    }
    // The page index of the last page, plus one.
    const int nHojas = HayAnexos(eleccion) || !eleccion.bDeclaracion ? nUltPagina + 1 : 1;
    sLineaRep = QStringLiteral("<!nHojas!>%1<!/nHojas!>").arg(nHojas);
    if (!EscribeLinea(nArchivo, sLineaRep))
        throw platform::DbError(errorArchivo::ErrorDispositivo,
                                QStringLiteral("No se pudo escribir en el archivo del reporte."));
    CierraArchivo(nArchivo);
    PunteroNormal();
    QCoreApplication::processEvents();
}

bool MuestraReporte(const QString& sNombre, const QString& sModo)
{
    oPreview = std::make_unique<frmPreview>();
    oPreview->sArchivoReporte = sNombre;
    bool bHecho = true;
    if (sModo == QLatin1String("Vprevia")) {
        oPreview->Form_Load();
        platform::showModal(*oPreview);
    } else {
        bHecho = oPreview->Imprime();
    }
    oPreview.reset();
    return bHecho;
}
