#include "formulario/subsystems/reports/LectorReporte.h"

#include "platform/printer.h"
#include "platform/vbnumbers.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QRectF>
#include <cmath>
#include <limits>
#include <utility>

namespace {

using Tipo = ComandoReporte::Tipo;

constexpr int kPasoVertical = 190;

// The command's name and where its fields begin: characters are taken until
// the name ends in "|" (dropped), "!>" or "aHoja".
std::optional<std::pair<QString, int>> NombreComando(const QString& sLinea)
{
    for (int i = 1; i <= sLinea.size(); ++i) {
        const QStringView sNombre = QStringView(sLinea).left(i);
        if (sNombre.endsWith(u'|'))
            return std::pair{sNombre.chopped(1).trimmed().toString(), i};
        if (sNombre.endsWith(u"!>") || sNombre.endsWith(u"aHoja"))
            return std::pair{sNombre.trimmed().toString(), i};
    }
    return std::nullopt;
}

// The fields after the name, each ended by "|"; nothing when fewer than `nCampos`.
std::optional<QStringList> Campos(const QString& sLinea, int nInicio, int nCampos)
{
    QStringList campos;
    int nDesde = nInicio;
    while (campos.size() < nCampos) {
        const int nBarra = sLinea.indexOf(u'|', nDesde);
        if (nBarra < 0)
            return std::nullopt;
        campos << sLinea.mid(nDesde, nBarra - nDesde);
        nDesde = nBarra + 1;
    }
    return campos;
}

// Leading number, rounded half to even to a 16-bit whole number.
std::optional<int> Entero(const QString& sCampo)
{
    const double nValor = platform::bankersRound(platform::vbVal(sCampo));
    if (nValor < std::numeric_limits<qint16>::min() || nValor > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return int(nValor);
}

std::optional<bool> Verdad(const QString& sCampo)
{
    const QString sValor = sCampo.trimmed();
    if (sValor.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (sValor.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool bNumero = false;
    const double nValor = sValor.toDouble(&bNumero);
    if (!bNumero)
        return std::nullopt;
    return nValor != 0;
}

QString ValorTag(const QString& sLinea, int nInicio, const QString& sNombre)
{
    const QString sCierre = QStringLiteral("<!/") + sNombre.mid(2);
    const int nFin = sLinea.indexOf(sCierre, nInicio);
    return sLinea.mid(nInicio, nFin < 0 ? -1 : nFin - nInicio).trimmed();
}

std::optional<ComandoReporte> LeeTexto(const QString& sLinea, int nInicio, Tipo tipo)
{
    const auto campos = Campos(sLinea, nInicio, 6);
    if (!campos)
        return std::nullopt;
    const auto X = Entero((*campos)[0]), Y = Entero((*campos)[1]), nTamano = Entero((*campos)[4]),
               nHoja = Entero((*campos)[5]);
    const auto bNegrita = Verdad((*campos)[3]);
    if (!X || !Y || !nTamano || !nHoja || !bNegrita || *nHoja < 0)
        return std::nullopt;
    ComandoReporte comando;
    comando.tipo = tipo;
    comando.X = *X;
    comando.Y = *Y;
    comando.sValor = (*campos)[2];
    comando.bNegrita = *bNegrita;
    comando.nTamano = *nTamano;
    comando.nHoja = *nHoja;
    return comando;
}

std::optional<ComandoReporte> LeeCuadro(const QString& sLinea, int nInicio)
{
    const auto campos = Campos(sLinea, nInicio, 5);
    if (!campos)
        return std::nullopt;
    int valores[5];
    for (int i = 0; i < 5; ++i) {
        const auto nValor = Entero((*campos)[i]);
        if (!nValor)
            return std::nullopt;
        valores[i] = *nValor;
    }
    if (valores[4] < 0)
        return std::nullopt;
    ComandoReporte comando;
    comando.tipo = Tipo::Cuadro;
    comando.X = valores[0];
    comando.Y = valores[1];
    comando.X2 = valores[2];
    comando.Y2 = valores[3];
    comando.nHoja = valores[4];
    return comando;
}

ComandoReporte Tag(Tipo tipo, const QString& sValor = {})
{
    ComandoReporte comando;
    comando.tipo = tipo;
    comando.sValor = sValor;
    return comando;
}

bool EsDibujo(const ComandoReporte& comando)
{
    return comando.tipo == Tipo::Texto || comando.tipo == Tipo::Cuadro || comando.tipo == Tipo::TextoVertical;
}

// How far a character of the text may reach right and below its corner:
// no font draws one wider or taller than twice its size.
double AlcanceCaracter(const ComandoReporte& comando)
{
    return 2.0 * qMax(1, comando.nTamano) * platform::kTwipsPerPoint;
}

// Where a text of `nColumnas` characters by `nFilas` may draw.
QRectF Caja(const ComandoReporte& comando, qsizetype nColumnas, qsizetype nFilas)
{
    const double nAlcance = AlcanceCaracter(comando);
    return QRectF(comando.X, comando.Y, nAlcance * double(qMax<qsizetype>(1, nColumnas)),
                  nAlcance + double(kPasoVertical) * double(qMax<qsizetype>(1, nFilas) - 1));
}

// The first and last characters of a vertical text that may fall inside the
// zone (all of them without one); the last is below the first when none does.
std::pair<qsizetype, qsizetype> CaracteresEnZona(const ComandoReporte& comando, const QRectF& zona)
{
    const qsizetype nLargo = comando.sValor.size();
    if (zona.isNull())
        return {0, nLargo - 1};
    if (!zona.intersects(Caja(comando, 1, nLargo)))
        return {0, -1};
    const double nDesde = (zona.top() - AlcanceCaracter(comando) - comando.Y) / kPasoVertical;
    const double nHasta = (zona.bottom() - comando.Y) / kPasoVertical;
    return {qsizetype(qMax(0.0, std::ceil(nDesde))), qsizetype(qMin(double(nLargo - 1), std::floor(nHasta)))};
}

QPageLayout::Orientation Orientacion(const QString& sValor, QPageLayout::Orientation actual)
{
    if (sValor == QLatin1String("H"))
        return QPageLayout::Landscape;
    if (sValor == QLatin1String("V"))
        return QPageLayout::Portrait;
    return actual;
}

} // namespace

std::optional<ComandoReporte> LeeComando(const QString& sLinea)
{
    const auto nombre = NombreComando(sLinea);
    if (!nombre)
        return std::nullopt;
    const auto& [sNombre, nInicio] = *nombre;
    static const std::pair<QLatin1String, Tipo> kTagsConValor[] = {
        {QLatin1String("<!font!>"), Tipo::Fuente},
        {QLatin1String("<!nHojas!>"), Tipo::NumeroHojas},
        {QLatin1String("<!Color!>"), Tipo::Color},
        {QLatin1String("<!Orientacion!>"), Tipo::Orientacion},
    };
    for (const auto& [sTag, tipo] : kTagsConValor) {
        if (sNombre == sTag)
            return Tag(tipo, ValorTag(sLinea, nInicio, sNombre));
    }
    if (sNombre == QLatin1String("pNuevaHoja"))
        return Tag(Tipo::NuevaHoja);
    if (sNombre == QLatin1String("pPos"))
        return LeeTexto(sLinea, nInicio, Tipo::Texto);
    if (sNombre == QLatin1String("pPosVerti"))
        return LeeTexto(sLinea, nInicio, Tipo::TextoVertical);
    if (sNombre == QLatin1String("pCuadro"))
        return LeeCuadro(sLinea, nInicio);
    return std::nullopt;
}

std::optional<QColor> LeeColor(const QString& sLiteral)
{
    if (!sLiteral.startsWith(QLatin1String("&H"), Qt::CaseInsensitive) || !sLiteral.endsWith(u'&'))
        return std::nullopt;
    bool bHex = false;
    const quint32 nValor = sLiteral.mid(2, sLiteral.size() - 3).toUInt(&bHex, 16);
    if (!bHex)
        return std::nullopt;
    if (nValor & 0x80000000u) {
        const QPalette paleta = QGuiApplication::palette();
        return (nValor & 0xFFu) == 5 ? paleta.color(QPalette::Base) : paleta.color(QPalette::Window);
    }
    return QColor(int(nValor & 0xFF), int((nValor >> 8) & 0xFF), int((nValor >> 16) & 0xFF));
}

void DibujaComando(QPainter& painter, const ComandoReporte& comando, const QRectF& zona)
{
    switch (comando.tipo) {
    case Tipo::Texto:
        if (zona.isNull() || zona.intersects(Caja(comando, comando.sValor.size(), 1)))
            platform::drawReportText(painter, comando.X, comando.Y, comando.sValor, comando.bNegrita,
                                     comando.nTamano);
        break;
    case Tipo::TextoVertical: {
        const auto [nPrimero, nUltimo] = CaracteresEnZona(comando, zona);
        for (qsizetype k = nPrimero; k <= nUltimo; ++k)
            platform::drawReportText(painter, comando.X, comando.Y + kPasoVertical * int(k), comando.sValor.at(k),
                                     comando.bNegrita, comando.nTamano);
        break;
    }
    case Tipo::Cuadro:
        platform::drawReportLine(painter, comando.X, comando.Y, comando.X, comando.Y2);
        platform::drawReportLine(painter, comando.X2, comando.Y, comando.X2, comando.Y2);
        platform::drawReportLine(painter, comando.X, comando.Y, comando.X2, comando.Y);
        platform::drawReportLine(painter, comando.X, comando.Y2, comando.X2, comando.Y2);
        break;
    default:
        break;
    }
}

HojasReporte LeeHojasReporte(const QStringList& lineas)
{
    HojasReporte reporte;
    reporte.hojas.resize(1);
    for (const QString& sLinea : lineas) {
        const auto comando = LeeComando(sLinea);
        if (!comando)
            continue;
        if (comando->tipo == Tipo::Color) {
            if (const auto color = LeeColor(comando->sValor))
                reporte.color = *color;
        } else if (EsDibujo(*comando)) {
            if (comando->nHoja >= reporte.hojas.size())
                reporte.hojas.resize(comando->nHoja + 1);
            reporte.hojas[comando->nHoja].append(*comando);
        }
    }
    return reporte;
}

void ImprimeLineasReporte(const QStringList& lineas)
{
    platform::PrintJob trabajo;
    QPageLayout::Orientation orientacion = QPageLayout::Portrait;
    for (const QString& sLinea : lineas) {
        const auto comando = LeeComando(sLinea);
        if (!comando)
            continue;
        if (comando->tipo == Tipo::Orientacion) {
            orientacion = Orientacion(comando->sValor, orientacion);
            trabajo.setOrientation(orientacion);
        } else if (comando->tipo == Tipo::NuevaHoja) {
            trabajo.newPage();
        } else if (EsDibujo(*comando)) {
            DibujaComando(trabajo.painter(), *comando);
        }
    }
    trabajo.end();
}
