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
// retry; any other error is appended to errorlog.txt in the program's folder
// (with SQLite's own text, which only the log holds), shown as a critical
// message with the old engine's Spanish error list, and the answer is to end
// the program.
quint8 ManejaErrorBD(const QString& sRutina, const platform::DbError& err);

// An error no handler of the program caught, left by an event handler of
// `sDonde` (to be called inside the catch block): the central handler shows
// it, and the program ends when it so answers; otherwise the operation that
// failed stops there. An error that is no DbError counts as an internal
// run-time error.
void ManejaErrorNoCapturado(const QString& sDonde);

// A table locked by another user of the shared database (40002, state
// "S1000"): the one error ManejaErrorBD offers to retry.
bool EsTablaBloqueada(const platform::DbError& err);

// A database error after which the dialog titled `sTitulo` stays open with
// nothing of the failed save written: logged as ManejaErrorBD logs, and shown
// with its number and description and the note that nothing was saved.
void MuestraErrorNoGrabado(const QString& sRutina, const platform::DbError& err, const QString& sTitulo);

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

// Runs a save that undoes itself whole when it fails, for a dialog that
// stays open with the user's values afterwards. A locked table gets
// ManejaErrorBD's retry (which runs the whole save again); any other database
// error is shown by MuestraErrorNoGrabado. A save given up returns what
// `alFallar` returns.
template <class Paso, class AlFallar>
auto EjecutaGrabacion(const QString& sRutina, const QString& sTitulo, Paso&& paso, AlFallar&& alFallar)
    -> decltype(paso())
{
    // Only a locked table goes on to the retry; any other error ends the save here.
    const auto grabacion = [&]() -> decltype(paso()) {
        try {
            return paso();
        } catch (const platform::DbError& err) {
            if (EsTablaBloqueada(err))
                throw;
            MuestraErrorNoGrabado(sRutina, err, sTitulo);
            return alFallar();
        }
    };
    return EjecutaConReintento(sRutina, grabacion, alFallar);
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

// Says, under "Error de Archivo", that the file named could not be created
// or written: what lies at the name is no plain file, it may not be written,
// or the disk took no more.
void MensajeArchivoNoEscrito(const QString& sRuta);

// True when the path (wildcards allowed) names an ordinary file: not a
// folder, not hidden.
bool ExisteArchivo(const QString& sRuta);

// Folder of the running program, where the error log lies. Tests point it
// at a folder of their own; an empty text restores the program's folder.
QString CarpetaPrograma();
void FijaCarpetaPrograma(const QString& sCarpeta);
