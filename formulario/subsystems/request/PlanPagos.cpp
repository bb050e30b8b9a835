#include "formulario/subsystems/request/PlanPagos.h"

#include "formulario/core/Fileproc.h"
#include "formulario/core/Formato.h"
#include "formulario/core/ModGen00.h"
#include "platform/database.h"
#include "platform/vbnumbers.h"

#include <cmath>

namespace {

const QString kFormatoCuota = QStringLiteral("#,###,###,###,##0");
const QString kFormatoEntero = QStringLiteral("############0");

// The minimum initial instalment's share of the debt: brackets of twelve
// instalments from 8 % to 16 %, the first bracket free for a debt up to
// 3 UIT; deferral followed by instalments moves every bracket down by six.
double PorcentajeCuotaInicial(bool bMayorTresUit, bool bAplazamiento, int nCuotas)
{
    if (nCuotas < 0)
        return 0;
    const int n = bAplazamiento ? nCuotas + 6 : nCuotas;
    if (n <= 12)
        return bMayorTresUit ? 0.08 : 0;
    if (n > 72)
        return 0;
    return 0.08 + 0.02 * ((n - 13) / 12);
}

} // namespace

const QList<BloqueEntidad>& BloquesEntidad()
{
    static const QList<BloqueEntidad> bloques{
        {1, 500, 535, 550, QStringLiteral("8030")}, {2, 507, 536, 560, QStringLiteral("5239")},
        {3, 514, 537, 570, QStringLiteral("5332")}, {5, 521, 538, 580, QStringLiteral("5060")},
        {8, 528, 539, 590, QStringLiteral("7203")},
    };
    return bloques;
}

std::optional<BloqueEntidad> BloqueDeEntidad(int nEntidad)
{
    for (const BloqueEntidad& bloque : BloquesEntidad()) {
        if (bloque.nEntidad == nEntidad)
            return bloque;
    }
    return std::nullopt;
}

void Obtiene_TIM(const QString& sFecha)
{
    sTim = sFecha < QLatin1String("201003") ? QStringLiteral("1.5") : QStringLiteral("1.2");
}

QString Calcula_deuda_fracc2(int iCuotas, Moneda cMonto, Moneda cCuotaIni)
{
    const std::optional<double> dTim = NumeroDeTexto(sTim);
    if (iCuotas <= 0 || !dTim)
        return {};
    const double i = *dTim * 0.8 / 100;
    const double P = (cMonto - cCuotaIni).ComoDouble();
    const double f = std::pow(1 + i, iCuotas);
    return TextoDeNumero(f * i * P / (f - 1));
}

QString CuotaFraccionamiento(const QString& sCuotas, const QString& sDeuda, const QString& sCuotaInicial)
{
    const std::optional<int> nCuotas = EnteroDeTexto(sCuotas);
    const std::optional<Moneda> deuda = Moneda::Convierte(sDeuda);
    if (!nCuotas || !deuda)
        return {};
    const Moneda cuotaInicial = Moneda::Convierte(sCuotaInicial).value_or(Moneda());
    const QString sMonto = Calcula_deuda_fracc2(*nCuotas, *deuda, cuotaInicial);
    return sMonto.isEmpty() ? QString() : Formato(sMonto, kFormatoCuota);
}

QString CalculaCuotaInicial2(const QString& sDeuda, Moneda dUit, const QString& Tipo, const QString& sCuotasFrac,
                             const QString& /*sMesesAplaz*/)
{
    int nCuotas = 0;
    if (!sCuotasFrac.trimmed().isEmpty()) {
        const double dCuotas = platform::bankersRound(Moneda::ValorInicial(sCuotasFrac).ComoDouble());
        if (dCuotas >= -32768 && dCuotas <= 32767)
            nCuotas = int(dCuotas);
    }
    const std::optional<double> dDeuda = NumeroDeTexto(sDeuda);
    if (!dDeuda)
        return {};
    if (sBuenContrib != QLatin1String("0"))
        return QStringLiteral("0");
    const bool bMayor = *dDeuda > 3 * dUit.ComoDouble();
    const double dPorcentaje = PorcentajeCuotaInicial(bMayor, Tipo == QLatin1String("2"), nCuotas);
    return Formato(*dDeuda * dPorcentaje, kFormatoEntero);
}

DecisionGarantia CambiaGarantia2(const QString& sDeuda, Moneda dUit, const QString& sCuotaAcog,
                                 const QString& sFormaPago)
{
    DecisionGarantia decision = DecisionGarantia::No;
    if (sBuenContrib != QLatin1String("1")) {
        const std::optional<double> dDeuda = NumeroDeTexto(sDeuda);
        if (!dDeuda)
            return DecisionGarantia::SinCambio;
        const double dCuotaAcog = NumeroDeTexto(sCuotaAcog).value_or(0);
        double dTotal = *dDeuda + Moneda::ValorInicial(sMtoDeuda).ComoDouble();
        if (sFormaPago == QLatin1String("0"))
            dTotal -= dCuotaAcog;
        const bool bSinGarantia = sIndGarantia == QLatin1String("0")
            && (dTotal > 100 * dUit.ComoDouble() ? sNumDeudas == QLatin1String("0")
                                                 : sNumDeudas == QLatin1String("0") || sNumDeudas == QLatin1String("1"));
        decision = bSinGarantia ? DecisionGarantia::No : DecisionGarantia::Si;
    }
    sGarantia = decision == DecisionGarantia::Si ? QStringLiteral("1") : QStringLiteral("0");
    return decision;
}

QString CalculaDeudaAcogida(const QString& sNumDocDeclarante)
{
    sSQL = QStringLiteral("SELECT SUM(mto_act_c * 1) FROM TMP_F0913DEUDAS WHERE doc_id_d = ? AND semana = ?");
    const QVariant vSuma = EjecutaConReintento(QStringLiteral("CalculaDeudaAcogida"), [&] {
        return oBaseDatos->scalar(sSQL, {sNumDocDeclarante, nEntidad});
    });
    if (vSuma.isNull())
        return QStringLiteral("0");
    return Formato(TextoDeNumero(vSuma.toDouble()), QStringLiteral("###,###,###,##0"));
}
