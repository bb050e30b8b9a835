#include "formulario/shell/Inicio.h"

#include "formulario/core/ConfiguracionRegional.h"
#include "formulario/shell/MDIFrm.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/SharedForm.h"
#include "formulario/core/cWindows.h"
#include "platform/dialogs.h"
#include "platform/singleinstance.h"
#include "platform/utility.h"

namespace {

bool OtraInstanciaEnEjecucion()
{
    // Held until the process ends, so that a later copy finds it.
    static platform::SingleInstance instancia(QStringLiteral("Tarvel"));
    return instancia.anotherIsRunning();
}

} // namespace

void Main()
{
    const cWindows oWindows;
    oUtil = std::make_unique<platform::Utility>();

    if (!oWindows.CorreApp(QStringLiteral("Sistema Vardeno"))) {
        platform::messageBox(QStringLiteral("Debe ejecutar este módulo desde el Integrador del VRD"),
                             platform::mb::Critical | platform::mb::OkOnly,
                             QStringLiteral("Error al ejecutar el módulo"));
        platform::endProgram(1);
    }
    if (OtraInstanciaEnEjecucion()) {
        platform::messageBox(QStringLiteral("La Aplicación ya se encuentra en ejecución"),
                             platform::mb::Information, kNombreProducto);
        platform::endProgram(1);
    }
    if (!VerificaConfiguracionRegional())
        platform::endProgram(1);

    MDIFrm& frm = SharedForm<MDIFrm>::instance();
    frm.Form_Load();
    frm.show();
    // Started from the host, the program takes the keyboard from it: with no
    // window manager to hand it on, it would stay on the host's window.
    frm.activateWindow();
}
