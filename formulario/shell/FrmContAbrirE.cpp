#include "formulario/shell/FrmContAbrirE.h"

FrmContAbrirE::FrmContAbrirE()
    : SelectorDeclaraciones({
          QStringLiteral("FrmContAbrirE"),
          QStringLiteral("Declaraciones Enviadas"),
          true,
          {QStringLiteral("&Ver Declaración"), QStringLiteral("Seleccione la declaración enviada que desea ver :"),
           QStringLiteral("Ver Declaraciones")},
          {QStringLiteral("&Eliminar"), QStringLiteral("Seleccione la declaración enviada que desea eliminar :"),
           QStringLiteral("Eliminar Declaraciones enviadas")},
      })
{
}
