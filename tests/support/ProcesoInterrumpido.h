#pragma once

// Running a database write in a child process that is killed (SIGKILL) in
// the middle of it, to see that the database is left whole.

#include <QString>
#include <functional>

// Forks; the child opens `sBase` as the program's database (oBaseDatos), runs
// `paso` and is killed once the engine has changed `nFilas` rows of
// `sTabla`. Returns the child's wait status (WIFSIGNALED with SIGKILL when
// it was killed; a normal exit 0 when `paso` ended first).
int EjecutaYMuere(const QString& sBase, const char* sTabla, int nFilas, const std::function<void()>& paso);
