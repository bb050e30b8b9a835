// Times what one keystroke in a box of the payment plan asks of the plan's
// arithmetic when the number of instalments changes: the UIT of the period
// (twice, as the form fetches it before each decision), the minimum initial
// instalment, the guarantee decision and the instalment amount twice (before
// and after the initial instalment settles). The baseline is one frame of a
// 60 Hz screen: a ratio below 1 means the box follows the typing.
//
//   tecla_bench [keystrokes]

#include "bench/benchmark.h"
#include "formulario/core/Formato.h"
#include "formulario/core/mod_Combo.h"
#include "formulario/subsystems/request/PlanPagos.h"

#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

constexpr double kCuadro = 1.0 / 60;

void preparaHost(const QString& carpeta)
{
    bench::installHost(carpeta);
    sPeriodo = QStringLiteral("201506");
    nEntidad = 1;
    sTim = QStringLiteral("1.2");
    sBuenContrib = QStringLiteral("0");
    sNumDeudas = QStringLiteral("1");
    sIndGarantia = QStringLiteral("0");
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
    bench::Application app(argc, argv);
    const int nTeclas = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 1000;
    QTemporaryDir carpeta;
    preparaHost(carpeta.path());

    double dTotal = 0;
    double dPeor = 0;
    for (int i = 0; i < nTeclas; ++i) {
        const QString sCuotas = QString::number(1 + i % 72);
        const double dSegundos
            = bench::seconds([&] { Tecla(sCuotas, i % 2 ? QStringLiteral("2") : QStringLiteral("0")); });
        dTotal += dSegundos;
        dPeor = std::max(dPeor, dSegundos);
    }
    std::printf("%10s %12s %12s %12s %8s\n", "keystrokes", "mean (ms)", "worst (ms)", "frame (ms)", "ratio");
    std::printf("%10d %12.3f %12.3f %12.3f %8.3f\n", nTeclas, 1000 * dTotal / nTeclas, 1000 * dPeor, 1000 * kCuadro,
                dPeor / kCuadro);
    return 0;
}
