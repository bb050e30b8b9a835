#include "formulario/core/ModGen00.h"

#include "formulario/core/MDIFrm.h"
#include "formulario/core/Regional.h"
#include "formulario/core/SharedForm.h"
#include "formulario/core/cWindows.h"
#include "platform/dialogs.h"
#include "platform/singleinstance.h"
#include "platform/utility.h"

std::unique_ptr<platform::Database> oBaseDatos;
QString sSQL;
QString sSysPath;
QString sRutaBD;
QString sSysUser;
QString sRutaRpt;
QString sArchivoAyuda;
std::unique_ptr<platform::Utility> oUtil;

QString sRuc;
QString sRazonSocial;
QString sPeriodo;
QString sPeriodoMMAAAA;
int nEntidad = 0;
QString sFecActualiza;
QString sEfectivo;
int nModo = 0;
bool bEnviadas = false;

QString sArchivo;
QString sMensaje;
QString sTipoConsulta;

QString sTim;
int nBcolibrad = 0;
QString sBuenContrib;
QString sIndGarantia;
QString sIndPersona;
QString sMtoDeuda;
QString sMtoDeudaGarantia;
QString sNumDeudas;
bool bDeudaGrabada = false;
bool bFormCargado = false;
QString sGarantia;
int nTabActual = 0;
QString sRucDeclarante;
int nGrabando = 0;
int nInconsistencia = 0;

// ---------------------------------------------------------------------------
// Start procedure

const QString kNombreProducto = QStringLiteral("Régimen de Reprogramación de Deudas");

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
                             platform::mb::Information, kNombreProducto + QLatin1Char(' '));
        platform::endProgram(1);
    }
    if (!VerificaConfiguracionRegional())
        platform::endProgram(1);

    MDIFrm& frm = SharedForm<MDIFrm>::instance();
    frm.Form_Load();
    frm.show();
}
