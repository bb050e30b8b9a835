#include "formulario/subsystems/reports/ErrorImpresion.h"

#include "platform/dberror.h"
#include "platform/dialogs.h"

void MuestraErrorImpresion(const platform::DbError& err)
{
    QString sMensaje;
    switch (err.number()) {
    case errorImpresion::ArchivoNoEncontrado:
    case errorImpresion::ArchivoAbierto:
    case errorImpresion::Interrumpida:
        return;
    case errorImpresion::Cancelada:
        sMensaje = QStringLiteral("La Impresión ha sido Cancelada.");
        break;
    case errorImpresion::SinImpresora:
        sMensaje = QStringLiteral("No existe una impresora seleccionada.Verifique.");
        break;
    case errorImpresion::SinInformacion:
        sMensaje = QStringLiteral("No Existe Información a Imprimir.Verifique.");
        break;
    default:
        // The number as the decimal conversion writes it: a blank before a positive one.
        sMensaje = QStringLiteral("Error Técnico : (%1%2) %3")
                       .arg(err.number() >= 0 ? QStringLiteral(" ") : QString())
                       .arg(err.number())
                       .arg(err.description());
    }
    platform::messageBox(sMensaje, platform::mb::Critical | platform::mb::OkOnly, QStringLiteral("Impresión"));
}
