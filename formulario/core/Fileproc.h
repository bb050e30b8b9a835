#pragma once

// Failures a procedure cannot handle by itself: the central database error
// handler with its error log, and the opening of files with their messages.

#include "formulario/core/TablaArchivos.h"
#include "platform/dberror.h"
#include "platform/dialogs.h"

#include <QString>
#include <QtGlobal>

// What ManejaErrorBD tells its caller.
constexpr quint8 kReintentar = 0;  // run the failed statement again
constexpr quint8 kTerminar = 1;    // end the program at once

// Central database error handler, called with the name of the failing
// routine and its error. A locked table (40002, state "S1000") offers a
// retry; any other error is appended to errorlog.txt in the program's folder,
// shown as a critical message, and the answer is to end the program.
quint8 ManejaErrorBD(const QString& sRutina, const platform::DbError& err);

// Runs `paso` (one statement, or a step that can safely run again) and
// returns what it returns. On a database error it asks ManejaErrorBD with
// `sRutina`: a retry runs the step again; an end gives the step up and the
// caller gets what `alTerminar` returns. Only for a step that holds no
// transaction and leaves nothing half done when it fails.
template <class Paso, class AlTerminar>
auto EjecutaConReintento(const QString& sRutina, Paso&& paso, AlTerminar&& alTerminar) -> decltype(paso())
{
    for (;;) {
        try {
            return paso();
        } catch (const platform::DbError& err) {
            if (ManejaErrorBD(sRutina, err) == kTerminar)
                return alTerminar();
        }
    }
}

// The same, where an end ends the program. A caller that holds a transaction
// must not use it: it has to roll back first.
template <class Paso>
auto EjecutaConReintento(const QString& sRutina, Paso&& paso) -> decltype(paso())
{
    return EjecutaConReintento(sRutina, paso, []() -> decltype(paso()) { platform::endProgram(); });
}

// Opens the file in one of the modes of modoArchivo and returns its number,
// or 0 when nothing was opened. A file whose own name (not its folders)
// holds ; < = > ? [ ] * or a blank is refused; with `bDebeExistir` a missing
// file for binary reading is reported as "No existe archivo: ". Every other
// failure is explained by MensajeErrorArchivo, and Retry tries again.
int AbreArchivo(const QString& sNombre, int nModo, int nLargoRegistro, bool bDebeExistir);

// The message of a file error, with Retry and Cancel: 0 Retry, 2 Cancel,
// 3 when the number has no message (nothing is shown).
int MensajeErrorArchivo(int nError);

// True when the path (wildcards allowed) names an ordinary file: not a
// folder, not hidden.
bool ExisteArchivo(const QString& sRuta);

// Folder of the running program, where the error log lies. Tests point it
// at a folder of their own; an empty text restores the program's folder.
QString CarpetaPrograma();
void FijaCarpetaPrograma(const QString& sCarpeta);
