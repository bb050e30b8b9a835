#include "formulario/core/MDIFrm.h"

#include "formulario/core/ModGen01.h"

MDIFrm::MDIFrm()
{
    setObjectName(QStringLiteral("MDIFrm"));
    setWindowTitle(QStringLiteral("0913 - Régimen de Reprogramación de Deudas"));
}

void MDIFrm::Form_Load()
{
    LeeConfiguracion();
}
