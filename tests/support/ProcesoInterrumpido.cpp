#include "tests/support/ProcesoInterrumpido.h"

#include "formulario/core/ModGen00.h"
#include "platform/database.h"
#include "tests/support/ChildProcess.h"

#include <csignal>
#include <sqlite3.h>
#include <unistd.h>

namespace {

const char* tablaVigilada = nullptr;
int filasRestantes = 0;

void CuentaFila(void*, int, const char*, const char* sTabla, sqlite3_int64)
{
    if (qstricmp(sTabla, tablaVigilada) == 0 && --filasRestantes == 0)
        ::raise(SIGKILL);
}

} // namespace

int EjecutaYMuere(const QString& sBase, const char* sTabla, int nFilas, const std::function<void()>& paso)
{
    const pid_t pid = fork();
    if (pid == 0) {
        (void)oBaseDatos.release(); // the parent's connection is not used across the fork
        oBaseDatos = platform::Database::open(sBase);
        tablaVigilada = sTabla;
        filasRestantes = nFilas;
        sqlite3_update_hook(oBaseDatos->handle(), CuentaFila, nullptr);
        paso();
        ::_exit(0);
    }
    return waitForChild(pid);
}
