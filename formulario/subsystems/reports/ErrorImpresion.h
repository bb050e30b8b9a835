#pragma once

// What the user is told when writing, previewing or printing a report fails.

#include "formulario/core/TablaArchivos.h"
#include "platform/printer.h"

namespace platform { class DbError; }

// Error numbers of a report run that have a reaction of their own.
namespace errorImpresion {
constexpr int ArchivoNoEncontrado = errorArchivo::NoEncontrado; // the rest of the run is skipped, silently
constexpr int ArchivoAbierto = errorArchivo::YaAbierto;        // the report file is closed, silently
constexpr int SinInformacion = 380;
constexpr int SinImpresora = platform::kErrorNoPrinter;
constexpr int Interrumpida = 2055;      // the run ends silently
constexpr int Cancelada = platform::kErrorPrintCancelled;
} // namespace errorImpresion

// Shows the message of the error under the title "Impresión" (critical
// icon): the table's own text for a printer that is missing, a cancelled job
// or nothing to print, no message for the silent ones, and
// "Error Técnico : ( n) description" for any other.
void MuestraErrorImpresion(const platform::DbError& err);
