// Times what one keystroke in a box of the payment plan asks of the plan's
// arithmetic when the number of instalments changes: the UIT of the period
// (twice, as the form fetches it before each decision), the minimum initial
// instalment, the guarantee decision and the instalment amount twice (before
// and after the initial instalment settles). The baseline is one frame of a
// 60 Hz screen: a ratio below 1 means the box follows the typing.
//
//   tecla_bench [keystrokes]

#include "formulario/core/Formato.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/mod_Combo.h"
#include "formulario/request/PlanPagos.h"
#include "inserta/Instalacion.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/utility.h"
#include "tools/hostkit/hostkit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

constexpr double kCuadro = 1.0 / 60;

void preparaHost(const QString& carpeta)
{
    const hostkit::HostPaths paths = hostkit::prepareHost(carpeta);
    hostkit::setWindowsDirectory(paths);
    {
        platform::DialogScript script;
        if (inserta::Main() != inserta::SalidaCompleta || !script.shown().isEmpty()) {
            std::fprintf(stderr, "the installer failed: %s\n", qPrintable(script.lastText()));
            std::exit(1);
        }
    }
    sSysPath = paths.sysPath;
    sPeriodo = QStringLiteral("201506");
    nEntidad = 1;
    sTim = QStringLiteral("1.2");
    sBuenContrib = QStringLiteral("0");
    sNumDeudas = QStringLiteral("1");
    sIndGarantia = QStringLiteral("0");
    oUtil = std::make_unique<platform::Utility>();
    platform::OpenOptions options;
    options.workgroupFile = paths.workgroupFile;
    oBaseDatos = platform::Database::open(paths.dbFile, options);
}

// The plan's work for the instalments box holding `sCuotas`.
void Tecla(const QString& sCuotas, const QString& sModalidad)
{
    const QString sDeuda = QStringLiteral("123,456");
    const QString sCuotaInicial = CalculaCuotaInicial2(sDeuda, ObtieneUIT(), sModalidad, sCuotas, QString());
    CambiaGarantia2(sDeuda, ObtieneUIT(), sCuotaInicial, sModalidad);
    CuotaFraccionamiento(sCuotas, sDeuda, sCuotaInicial);
    Formato(sCuotaInicial, QStringLiteral("############0"));
    CuotaFraccionamiento(sCuotas, sDeuda, sCuotaInicial);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int nTeclas = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 1000;
    QTemporaryDir carpeta;
    preparaHost(carpeta.path());

    double dTotal = 0;
    double dPeor = 0;
    QElapsedTimer reloj;
    for (int i = 0; i < nTeclas; ++i) {
        const QString sCuotas = QString::number(1 + i % 72);
        reloj.start();
        Tecla(sCuotas, i % 2 ? QStringLiteral("2") : QStringLiteral("0"));
        const double dSegundos = reloj.nsecsElapsed() / 1e9;
        dTotal += dSegundos;
        dPeor = std::max(dPeor, dSegundos);
    }
    std::printf("%10s %12s %12s %12s %8s\n", "keystrokes", "mean (ms)", "worst (ms)", "frame (ms)", "ratio");
    std::printf("%10d %12.3f %12.3f %12.3f %8.3f\n", nTeclas, 1000 * dTotal / nTeclas, 1000 * dPeor, 1000 * kCuadro,
                dPeor / kCuadro);
    return 0;
}
