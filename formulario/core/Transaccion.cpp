#include "formulario/core/Transaccion.h"

void DeshaceTransaccion(int nNivel)
{
    while (oBaseDatos->transactionLevel() > nNivel) {
        try {
            oBaseDatos->rollback();
        } catch (const platform::DbError&) {
            return; // the engine could not undo it; nothing of it is committed either
        }
    }
}
