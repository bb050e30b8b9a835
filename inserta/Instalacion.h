#pragma once

// The installer run of form 0913: finds the host's folder, opens the shared
// database, prepares the form's tables and seeds the host's rows.

#include "platform/database.h"

#include <QString>
#include <QVariantList>
#include <functional>
#include <memory>

namespace inserta {

// Exit statuses of Ravisol.
constexpr int SalidaCompleta = 0;   // every step was done
constexpr int SalidaSinVrd = 1;     // no SysPath setting: the host suite is not installed
constexpr int SalidaSinBase = 2;    // the shared database could not be opened
constexpr int SalidaIncompleta = 3; // some step failed (its message was shown)

// Process-wide state of the run.
extern QString sRutaInstalacion;                              // SysPath, ending with "/"
extern std::unique_ptr<platform::Database> oBaseInstalacion; // the shared database
extern bool bHuboFalla;                                       // a step failed and said so

// The whole run. Returns SalidaCompleta when everything was done; every other
// outcome shows its message and ends the program with its status.
int Main();

// Opens the shared database named by DBName below sRuta; on failure shows why
// and ends the program, so it never returns false.
bool AbreBaseInstalacion(const QString& sRuta);

// The database work of the run: tables, zero-length permissions, seeded rows.
// The database is closed when it returns.
void ActualizaBase(const QString& sRuta);

// Runs one statement (or one table-definition call); a failure shows its
// message and gives false. An existing table (after its question) and an
// existing primary key count as done.
bool EjecutaSentencia(const QString& sSQL, const QVariantList& params = {});
bool EjecutaSentencia(const std::function<void()>& sentencia);

// Runs `unidad` in one transaction: committed when it gives true, undone when
// it gives false or throws.
bool EjecutaTransaccion(const std::function<bool()>& unidad);

// Shows a failure of the run and remembers that the run is incomplete.
void AvisaFalla(const QString& sTexto, const QString& sTitulo);
// The same for a statement's error, with its number and description.
void AvisaErrorSentencia(const platform::DbError& e);

// True when the folder part of the path and the file both exist.
bool VerificaArchivo(const QString& sRuta);

} // namespace inserta
