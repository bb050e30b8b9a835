#include "formulario/subsystems/reports/AnexoGarantia.h"

#include "formulario/core/ClaveDeclaracion.h"
#include "formulario/core/Formato.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/modGen02.h"
#include "formulario/subsystems/reports/AnexoDeudas.h"
#include "formulario/subsystems/reports/DeclaracionImpresa.h"
#include "formulario/markup/ImpLinea.h"
#include "formulario/subsystems/reports/Repo04.h"
#include "formulario/subsystems/request/PlanPagos.h"
#include "platform/database.h"

#include <optional>

namespace {

const QString kCartaFianza = QStringLiteral("CF");
constexpr int kLimite = 9900;
constexpr int kAnchoMarco = 12100;

// The plan's modality as the header names it, from the modality boxes of
// the five entities read together as one number.
QString TextoModalidad()
{
    QString sModalidades;
    for (int nCasilla : {501, 508, 515, 522, 529})
        sModalidades += aCasilla[nCasilla];
    const double dModalidad = NumeroDeTexto(sModalidades.trimmed()).value_or(0);
    if (dModalidad == 0)
        return QStringLiteral("Fraccionamiento");
    if (dModalidad == 1)
        return QStringLiteral("Aplazamiento");
    return QStringLiteral("Aplazamiento con fraccionamiento");
}

// What the annex of the kind guarantees: title, amount label, factor and instructions.
struct Garantia {
    QString sEncabezado;
    QString sImporte;
    double dFactor;
    QStringList instrucciones;
};

Garantia GarantiaDe(const QString& sTipo)
{
    if (sTipo == kCartaFianza)
        return {QStringLiteral("REPORTE DE REQUERIMIENTO DE CARTA FIANZA"),
                QStringLiteral("Importe de la Carta Fianza:"),
                1.05,
                {QStringLiteral("La carta fianza se debe entregar dentro de los diez (10) días hábiles siguientes de "
                                "presentada la solicitud "),
                 QStringLiteral("de acogimiento, en los lugares establecidos en el numeral 6.2 del artículo 2° del "
                                "Reglamento de Aplazamiento "),
                 QStringLiteral("y/o Fraccionamiento del Art. 36° del Código Tributario. ")}};
    return {QStringLiteral("REPORTE DE REQUERIMIENTO DE HIPOTECA"),
            QStringLiteral("Importe de la Hipoteca:"),
            1.4,
            {QStringLiteral("La documentación sustentatoria de la Hipoteca se debe presentar dentro de los diez (10) "
                            "días hábiles"),
             QStringLiteral("siguientes de presentada la solicitud de acogimiento, en los lugares establecidos en el "
                            "numeral 6.2 "),
             QStringLiteral("del artículo 2° del Reglamento de Aplazamiento y/o Fraccionamiento del Art. 36° del "
                            "Código Tributario."),
             QStringLiteral("Se debe adjuntar:"),
             QStringLiteral("a)  Copia literal de dominio del bien o bienes a hipotecar o hipotecados, certificado de "
                            "gravamen del bien "),
             QStringLiteral("    hipotecado, así como aquella información necesaria para su debida identificación."),
             QStringLiteral("b)  Tasación arancelaria o comercial efectuada por el Cuerpo Técnico de Tasaciones."),
             QStringLiteral("c)  Fotocopia simple del poder o poderes correspondientes a la persona o personas "
                            "autorizadas a hipotecar "),
             QStringLiteral("    el bien o bienes, cuando corresponda.")}};
}

QString TextoTotal(Moneda total)
{
    const QString sPatron = total == Moneda() ? QStringLiteral("###,###,###,###.##")
                                              : QStringLiteral("###,###,###,##0.00");
    return QString(53, u' ') + Derecha(Formato(total.Formatea(Moneda::kDecimales, false), sPatron), 18);
}

// The guarantee's amount: the total, less the initial instalment unless the
// plan defers before its instalments, times the kind's factor, in whole units.
QString TextoImporte(Moneda total, double dFactor, int nTipDoc)
{
    if (total == Moneda())
        return QString(53, u' ') + Derecha(QStringLiteral("0.00"), 14);
    CargaGarantiaReporte(nTipDoc);
    const BloqueEntidad bloque = *BloqueDeEntidad(nEntidad);
    Moneda base = total;
    if (aCasilla[bloque.Modalidad()].trimmed() != QLatin1String("2"))
        base = base - CeroSiNulo(aCasilla[bloque.nCasillaCuotaInicial]);
    const double dImporte = base.ComoDouble() * dFactor;
    return QString(50, u' ') + Derecha(Formato(dImporte, QStringLiteral("######,##0")), 14) + QStringLiteral(".00");
}

// The debts the guarantee covers, one line each, a new page whenever a line
// would reach the bottom limit; their total, nothing without rows.
std::optional<Moneda> ImprimeFilas(platform::Recordset& rs, const QString& sTipo, int& nHoja, int& nY)
{
    if (rs.eof())
        return std::nullopt;
    Moneda total;
    nY += 540;
    if (nY + 610 < kLimite) {
        nY += 270;
        ImprimeCuadro(290, nY, kAnchoMarco, nY + 540, nHoja);
        ImprimeTitulosAnexo(nHoja, nY, sTipo);
        nY += 70;
    }
    for (; !rs.eof(); rs.moveNext()) {
        nY += 200;
        if (nY >= kLimite) {
            nHoja = ImprimeCabeceraGarantia(sTipo);
            nY = 2740;
            ImprimeCuadro(290, nY, kAnchoMarco, nY + 540, nHoja);
            ImprimeTitulosAnexo(nHoja, nY, sTipo);
            nY += 270;
        }
        ImprimeDetalleDeuda(nHoja, nY, rs, sTipo);
        total += CeroSiNulo(rs.value(QStringLiteral("mto_act_c")));
    }
    return total;
}

// The total, the guarantee's amount and how to hand the guarantee in.
void ImprimeImporte(Moneda total, const QString& sTipo, int nTipDoc, int nHoja, int nY)
{
    const Garantia garantia = GarantiaDe(sTipo);
    ImprimeCuadro(290, nY, kAnchoMarco, nY + 540, nHoja);
    ImprimeTexto(6800, nY + 30, QStringLiteral("Total   :"), false, nFontRep, nHoja);
    ImprimeTexto(4260, nY, TextoTotal(total), false, nFontRep, nHoja);
    ImprimeTexto(6800, nY + 300, garantia.sImporte, false, nFontRep, nHoja);
    ImprimeTexto(4630, nY + 270, TextoImporte(total, garantia.dFactor, nTipDoc), false, nFontRep, nHoja);
    nY += 570;
    for (const QString& sInstruccion : garantia.instrucciones) {
        ImprimeTexto(300, nY, sInstruccion, false, nFontRep, nHoja);
        nY += 270;
    }
}

} // namespace

QString NombreMes(int nMes)
{
    static const char* const meses[] = {"Enero", "Febrero", "Marzo", "Abril", "Mayo", "Junio", "Julio",
                                        "Agosto", "Setiembre", "Octubre", "Noviembre", "Diciembre"};
    return nMes >= 1 && nMes <= 12 ? QString::fromLatin1(meses[nMes - 1]) : QString();
}

QString LineaFechaGarantia(const QDate& dFecha)
{
    return QStringLiteral("    , %1 de %2 de %3").arg(dFecha.day()).arg(NombreMes(dFecha.month())).arg(dFecha.year());
}

void CargaGarantiaReporte(int nTipDoc)
{
    const ClaveDeclaracion clave = ClaveDeclaracionAbierta(nTipDoc, sRuc);
    sSQL = QStringLiteral("SELECT * FROM F0913GARANTIA WHERE ") + clave.Condicion();
    const auto rs = oBaseDatos->openRecordset(sSQL, clave.Parametros());
    if (rs->eof())
        return;
    const auto texto = [&rs](const char* sColumna) { return rs->field(QLatin1String(sColumna)).text().trimmed(); };
    const auto monto = [&texto](const char* sColumna) {
        const QString sMonto = texto(sColumna);
        return sMonto.isEmpty() ? QStringLiteral("0") : sMonto;
    };
    sIndGarantia = texto("ind_garantia");
    sIndPersona = texto("ind_persona");
    sMtoDeuda = monto("mto_deuda");
    sMtoDeudaGarantia = monto("mto_deuda_garantia");
}

int ImprimeCabeceraGarantia(const QString& sTipo)
{
    const int nHoja = AbreHojaReporte(kTagVertical);
    const QString sModalidadPlan = TextoModalidad();
    ImprimeTexto(2240, 400, GarantiaDe(sTipo).sEncabezado, true, 9, nHoja);
    const QString lineas[] = {
        LineaFechaGarantia(QDate::currentDate()),
        QStringLiteral("RUC N.° ") + sRuc,
        QStringLiteral("Razón social: ") + sRazonSocial,
        QStringLiteral("Solicitud de acogimiento al ") + sModalidadPlan,
        QStringLiteral("Fecha de presentación de la solicitud ") + aCasilla[541],
        QStringLiteral("Detalle de la deuda por la que solicita el acogimiento al ") + sModalidadPlan,
    };
    int nY = 670;
    for (const QString& sLinea : lineas) {
        ImprimeTexto(300, nY, sLinea, false, 9, nHoja);
        nY += 270;
    }
    return nHoja;
}

void ImprimeAnexoGarantia(const QString& sTitulo, const QString& sTipo, int nTipDoc)
{
    nFontRep = 8;
    const QVariantList valores = ArmaSqlAnexo(TablaAnexo(QStringLiteral("F0913DEUDAS")), sTipo, true);
    int nHoja = ImprimeCabeceraGarantia(sTipo);
    int nY = 1620 + 120;
    const auto rs = oBaseDatos->openRecordset(sSQL, valores);
    const std::optional<Moneda> total = ImprimeFilas(*rs, sTipo, nHoja, nY);

    nY += 270;
    if (nY > kLimite - 1000) {
        nHoja = ImprimeCabeceraGarantia(sTipo);
        nY = 1740 + 540;
    }
    if (!total) {
        ImprimeSinInformacion(nHoja, nY + 270, sTitulo, 16000);
        return;
    }
    ImprimeImporte(*total, sTipo, nTipDoc, nHoja, nY);
}
