#include "reporte/ResumenEnvio.h"

#include "formulario/core/Formato.h"
#include "formulario/core/TablaArchivos.h"
#include "formulario/markup/ImpLinea.h"

#include <functional>
#include <optional>

namespace reporte {

namespace {

const QString kRegla = QString(36, u'=');
const QString kSangria = QString(26, u' ');
constexpr int kAnchoMonto = 13;

QString Monto(const QString& sCasilla)
{
    const std::optional<double> nValor = NumeroDeTexto(sCasilla);
    return nValor ? FormatoMonto(*nValor, kAnchoMonto) : QString();
}

QString FormaDePago(const QString& sCasilla)
{
    const QString sModalidad = sCasilla.trimmed();
    if (sModalidad == u'0')
        return QStringLiteral(" FRACCIONAMIENTO");
    if (sModalidad == u'1')
        return QStringLiteral("    APLAZAMIENTO");
    if (sModalidad == u'2')
        return QStringLiteral("APLAZ. CON FRACC.");
    return QString();
}

QString Garantia(const QString& sCasilla)
{
    const QString sValor = sCasilla.trimmed();
    const QString sTexto = sValor == u'1' ? QStringLiteral("SI") : sValor == u'0' ? QStringLiteral("NO") : QString();
    return QString(13, u' ') + sTexto;
}

QStringList Sangradas(const QStringList& lineas)
{
    QStringList resultado;
    for (const QString& sLinea : lineas)
        resultado.append(kSangria + sLinea);
    return resultado;
}

// A line whose text is blank is written as one blank.
QString LineaTexto(const QString& sLinea)
{
    return sLinea.trimmed().isEmpty() ? QStringLiteral(" ") : sLinea;
}

} // namespace

QString FormatoMonto(double nValor, int nAncho)
{
    return u' ' + Formato(nValor, QStringLiteral("#,###,###,##0")).rightJustified(nAncho, u' ');
}

QString RellenaIzquierda(const QString& sTexto, int nAncho, QChar cRelleno)
{
    return sTexto.trimmed().rightJustified(nAncho, cRelleno);
}

QStringList LineasIdentificacion(const DatosResumen& datos)
{
    const QString& sPeriodo = datos.sPeriodoEnvio;
    return {
        QStringLiteral("DOCUMENTO     :") + datos.sDocumento,
        QStringLiteral("RAZON SOCIAL  :") + datos.sNombre.left(20),
        QStringLiteral("FORMULARIO    :0913-VRD Refinanc."),
        QStringLiteral("PERIODO       :") + sPeriodo.right(2) + u'/' + sPeriodo.left(4),
        QStringLiteral("ENTIDAD       :") + datos.sNomEntidad,
    };
}

QStringList LineasCuerpo(const DatosResumen& datos)
{
    const auto casilla = [&datos](int k) { return datos.aCasillas.value(datos.nCasillaBase + k); };
    const std::optional<double> nCuotas = NumeroDeTexto(casilla(3));
    return {
        kRegla,
        QStringLiteral("      CONCEPTOS           ") + datos.sNomEntidad,
        kRegla,
        QStringLiteral("Monto deuda acogida: ") + Monto(casilla(0)),
        QStringLiteral("Forma de pago      :") + FormaDePago(casilla(1)),
        QStringLiteral("Nº de cuotas fracc.:") + (nCuotas ? RellenaIzquierda(casilla(3), 15, u' ') : QString()),
        QStringLiteral("Nº de meses aplaz. : ") + Monto(casilla(2)),
        QStringLiteral("Monto cuota fracc. : ") + Monto(casilla(4)),
        QStringLiteral("Garantía de deudas :") + Garantia(casilla(6)),
        kRegla,
    };
}

QStringList ResumenTexto(const DatosResumen& datos)
{
    QStringList lineas;
    for (const QString& sLinea : LineasIdentificacion(datos) + QStringList{QString()} + LineasCuerpo(datos))
        lineas.append(LineaTexto(sLinea));
    return lineas;
}

QStringList ResumenMarcado(const DatosResumen& datos, const QDateTime& dFechaHora)
{
    const QString sMargen(10, u' ');
    QStringList lineas{
        QStringLiteral("<!font!>Courier New<!/font!>"),
        QStringLiteral("<!nHojas!>1<!/nHojas!>"),
        QString(), // the line buffer, still empty
        QStringLiteral("<!Orientacion!>V<!/Orientacion!>"),
        QStringLiteral("<!Color!>&H80000005&<!/Color!>"),
        QString(), QString(), QString(), QString(),
        sMargen + dFechaHora.toString(QStringLiteral("dd/MM/yyyy")) + QString(56, u' ') + QStringLiteral("Pag. 01/01"),
        sMargen + dFechaHora.toString(QStringLiteral("hh:mm:ss")),
        QString(),
        QString(32, u' ') + QStringLiteral("Resumen de Envío - VRD 0913"),
        QString(),
        QString(),
    };
    lineas += Sangradas(LineasIdentificacion(datos));
    lineas.append(QString());
    lineas += Sangradas(LineasCuerpo(datos));
    return lineas;
}

// Opens `sArchivo` for output under a free number, lets `escribe` write
// through that number and closes it on every path; what did not reach the
// file by its closing fails it as well.
void EscribeArchivo(const QString& sArchivo, const std::function<void(int nNumero)>& escribe)
{
    const int nNumero = FreeFile();
    if (nNumero == 0)
        throw ErrorDeArchivo(errorArchivo::DemasiadosArchivos);
    if (const int nError = AbreNumero(nNumero, sArchivo, modoArchivo::Salida))
        throw ErrorDeArchivo(nError);
    try {
        escribe(nNumero);
    } catch (...) {
        CierraArchivo(nNumero);
        throw;
    }
    if (const int nError = CierraArchivo(nNumero))
        throw ErrorDeArchivo(nError);
}

void ImprimeResumenTexto(const DatosResumen& datos, const QString& sArchivo)
{
    // A line that is not written stops the writing; the closing tells why.
    EscribeArchivo(sArchivo, [&datos](int nNumero) {
        for (const QString& sLinea : ResumenTexto(datos)) {
            if (!EscribeLinea(nNumero, sLinea))
                return;
        }
    });
}

// The markup goes through the report line writer: each plain line becomes a
// "pPos" command 175 twips below the one before, from the top of page 1.
void ImprimeResumen(const DatosResumen& datos, const QString& sArchivo)
{
    const QStringList lineas = ResumenMarcado(datos, QDateTime::currentDateTime());
    EscribeArchivo(sArchivo, [&lineas](int nNumero) {
        nArchivo = nNumero;
        sSalida = kSalidaArchivo;
        sLineaRep.clear();
        nLargoPag = 80;
        nPagina = 1;
        nLinea = 0;
        nFila = 0;
        for (qsizetype i = 0; i < lineas.size(); ++i) {
            QString sLinea = lineas.at(i);
            ImprimeLinea(sLinea);
            if (i + 1 == kLineasEtiqueta)
                nLinea = 1;
        }
    });
}

} // namespace reporte
