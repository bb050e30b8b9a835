#pragma once

// One transaction of the shared database around a multi-table write: all of
// it committed, or, when a step throws, all of it undone before the error
// goes on to the caller.

#include "formulario/core/ModGen00.h"
#include "platform/database.h"

// Undoes the transactions opened above `nNivel` that are still open; an
// error while undoing is left out, the one being handled matters.
void DeshaceTransaccion(int nNivel);

template <class Paso>
void EnTransaccion(Paso&& paso)
{
    const int nNivel = oBaseDatos->transactionLevel();
    oBaseDatos->beginTrans();
    try {
        paso();
        oBaseDatos->commitTrans();
    } catch (...) {
        DeshaceTransaccion(nNivel);
        throw;
    }
}
