#include "formulario/subsystems/request/Frm913Servicios.h"

namespace {
ServiciosFrm913* oFormularioSolicitud = nullptr;
}

ServiciosFrm913* FormularioSolicitud()
{
    return oFormularioSolicitud;
}

void EstableceFormularioSolicitud(ServiciosFrm913* oFormulario)
{
    oFormularioSolicitud = oFormulario;
}
