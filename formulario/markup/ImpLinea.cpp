#include "formulario/markup/ImpLinea.h"

#include "formulario/core/TablaArchivos.h"

QString sSalida;
int nArchivo = 0;
int nPagina = 0;
int nLinea = 0;
int nLargoPag = 0;
int nFila = 0;
QString sLineaRep;
QString sFilaRep;
int nUltPagina = 0;

namespace {

constexpr int kPasoFila = 175;

void Escribe(const QString& sLinea)
{
    if (sSalida != kSalidaArchivo)
        return;
    if (!EscribeLinea(nArchivo, sLinea))
        throw ErrorEscrituraReporte(ErrorLineaNoEscrita(nArchivo));
}

bool EsTag(const QString& sLinea)
{
    return sLinea.startsWith(QLatin1String("<!"));
}

// A "|" would end the field early and shift every following one.
QString TextoDeCampo(const QString& sTexto)
{
    QString sCampo = sTexto;
    return sCampo.replace(u'|', u'¦');
}

int LineasPorPagina()
{
    return nLargoPag < 83 ? 85 : 83;
}

} // namespace

platform::DbError ErrorEscrituraReporte(int nError)
{
    if (nError == errorArchivo::DiscoLleno)
        return ErrorDeArchivo(nError);
    return platform::DbError(errorArchivo::ErrorDispositivo,
                             QStringLiteral("No se pudo escribir en el archivo del reporte."));
}

void ImprimeLinea(QString& sLinea)
{
    if (!EsTag(sLinea)) {
        nFila += kPasoFila;
        sLinea = QStringLiteral("pPos|10|%1|%2|False|8|%3|").arg(nFila).arg(TextoDeCampo(sLinea)).arg(nPagina - 1);
    } else if (nPagina > 1 && sLineaRep != kTagHorizontal && sLineaRep != kTagVertical) {
        return;
    }
    Escribe(sLinea);
    if (++nLinea >= LineasPorPagina()) {
        nLinea = 0;
        ++nPagina;
        Escribe(kNuevaHoja);
    }
}

void ImprimeTexto(int X, int Y, const QString& sTexto, bool bNegrita, const QVariant& vTamano, int nHoja)
{
    if (sTexto == kNuevaHoja) {
        Escribe(kNuevaHoja);
        return;
    }
    if (EsTag(sTexto)) {
        if (nPagina <= 1)
            Escribe(sTexto);
        return;
    }
    Escribe(QStringLiteral("pPos|%1|%2|%3|%4|%5|%6|")
                .arg(X)
                .arg(Y)
                .arg(TextoDeCampo(sTexto), bNegrita ? QStringLiteral("True") : QStringLiteral("False"),
                     vTamano.toString())
                .arg(nHoja));
}

void ImprimeCuadro(int x1, int y1, int x2, int y2, int nHoja)
{
    Escribe(QStringLiteral("pCuadro|%1|%2|%3|%4|%5|").arg(x1).arg(y1).arg(x2).arg(y2).arg(nHoja));
}

void ImprimeNuevaHoja(const QString& sTagOrientacion)
{
    ImprimeTexto(0, 0, kNuevaHoja, false, 0, 0);
    nLinea = 0;
    sLineaRep = sTagOrientacion;
    ImprimeLinea(sLineaRep);
}
