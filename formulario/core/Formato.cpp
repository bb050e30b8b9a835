#include "formulario/core/Formato.h"

#include "platform/vbnumbers.h"

#include <cmath>

namespace {

// A number as its decimal digits, exactly as written.
struct Decimal {
    bool bNegativo = false;
    QString sEnteros;   // without leading zeros
    QString sDecimales; // without trailing zeros
};

void Normaliza(Decimal& d)
{
    qsizetype nCeros = 0;
    while (nCeros < d.sEnteros.size() && d.sEnteros[nCeros] == u'0')
        ++nCeros;
    d.sEnteros.remove(0, nCeros);
    while (d.sDecimales.endsWith(u'0'))
        d.sDecimales.chop(1);
    if (d.sEnteros.isEmpty() && d.sDecimales.isEmpty())
        d.bNegativo = false;
}

// Moves the decimal point `nExponente` places to the right (left when negative).
void Desplaza(Decimal& d, int nExponente)
{
    for (; nExponente > 0; --nExponente) {
        d.sEnteros += d.sDecimales.isEmpty() ? QChar(u'0') : d.sDecimales[0];
        d.sDecimales.remove(0, 1);
    }
    for (; nExponente < 0; ++nExponente) {
        d.sDecimales.prepend(d.sEnteros.isEmpty() ? QChar(u'0') : d.sEnteros.back());
        if (!d.sEnteros.isEmpty())
            d.sEnteros.chop(1);
    }
}

bool EsCifra(QChar c)
{
    return c >= u'0' && c <= u'9';
}

std::optional<Decimal> Lee(const QString& sTexto)
{
    const QString s = sTexto.trimmed();
    Decimal d;
    qsizetype i = 0;
    if (i < s.size() && (s[i] == u'-' || s[i] == u'+'))
        d.bNegativo = s[i++] == u'-';
    bool bPunto = false;
    for (; i < s.size(); ++i) {
        const QChar c = s[i];
        if (EsCifra(c))
            (bPunto ? d.sDecimales : d.sEnteros).append(c);
        else if (c == u'.' && !bPunto)
            bPunto = true;
        else if (!(c == u',' && !bPunto && !d.sEnteros.isEmpty()))
            break;
    }
    if (d.sEnteros.isEmpty() && d.sDecimales.isEmpty())
        return std::nullopt;
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
        bool bOk = false;
        const int nExponente = s.mid(i + 1).toInt(&bOk);
        if (!bOk || nExponente > 308 || nExponente < -330)
            return std::nullopt;
        i = s.size();
        Desplaza(d, nExponente);
    }
    if (i != s.size())
        return std::nullopt;
    Normaliza(d);
    return d;
}

// Adds one unit at the last place of the digits ("0" becomes "1", "99" "100").
QString Incrementa(QString sCifras)
{
    for (qsizetype i = sCifras.size() - 1; i >= 0; --i) {
        if (sCifras[i] != u'9') {
            sCifras[i] = QChar(sCifras[i].unicode() + 1);
            return sCifras;
        }
        sCifras[i] = u'0';
    }
    return u'1' + sCifras;
}

// Rounded to `nDecimales` places, halves away from zero.
void Redondea(Decimal& d, int nDecimales)
{
    if (d.sDecimales.size() <= nDecimales)
        return;
    const bool bSube = d.sDecimales[nDecimales] >= u'5';
    QString sCifras = d.sEnteros + d.sDecimales.left(nDecimales);
    if (bSube)
        sCifras = Incrementa(sCifras);
    d.sEnteros = sCifras.left(sCifras.size() - nDecimales);
    d.sDecimales = sCifras.right(nDecimales);
    Normaliza(d);
}

struct Patron {
    QString sPrefijo, sSufijo;
    bool bMiles = false;
    bool bPunto = false;
    int nMinEnteros = 0;
    int nMinDecimales = 0;
    int nMaxDecimales = 0;
};

bool EsMarcador(QChar c)
{
    return c == u'#' || c == u'0';
}

Patron LeePatron(const QString& sPatron)
{
    Patron p;
    qsizetype nInicio = 0;
    while (nInicio < sPatron.size() && !EsMarcador(sPatron[nInicio]) && sPatron[nInicio] != u'.')
        ++nInicio;
    qsizetype nFin = sPatron.size();
    while (nFin > nInicio && !EsMarcador(sPatron[nFin - 1]) && sPatron[nFin - 1] != u'.')
        --nFin;
    p.sPrefijo = sPatron.left(nInicio);
    p.sSufijo = sPatron.mid(nFin);
    const QString sCuerpo = sPatron.mid(nInicio, nFin - nInicio);
    const qsizetype nPunto = sCuerpo.indexOf(u'.');
    p.bPunto = nPunto >= 0;
    const QString sEnteros = p.bPunto ? sCuerpo.left(nPunto) : sCuerpo;
    const QString sDecimales = p.bPunto ? sCuerpo.mid(nPunto + 1) : QString();
    p.bMiles = sEnteros.contains(u',');
    bool bCero = false;
    for (const QChar c : sEnteros) {
        bCero = bCero || c == u'0';
        if (bCero && EsMarcador(c))
            ++p.nMinEnteros;
    }
    for (const QChar c : sDecimales) {
        if (EsMarcador(c))
            ++p.nMaxDecimales;
        if (c == u'0')
            p.nMinDecimales = p.nMaxDecimales;
    }
    return p;
}

QString ConMiles(QString sEnteros)
{
    for (qsizetype nPos = sEnteros.size() - 3; nPos > 0; nPos -= 3)
        sEnteros.insert(nPos, u',');
    return sEnteros;
}

QString Escribe(Decimal d, const Patron& p)
{
    Redondea(d, p.nMaxDecimales);
    QString sEnteros = d.sEnteros.rightJustified(p.nMinEnteros, u'0');
    if (p.bMiles)
        sEnteros = ConMiles(sEnteros);
    QString sTexto = (d.bNegativo ? QStringLiteral("-") : QString()) + p.sPrefijo + sEnteros;
    if (p.bPunto)
        sTexto += u'.' + d.sDecimales.leftJustified(p.nMinDecimales, u'0');
    return sTexto + p.sSufijo;
}

QString Plano(const Decimal& d)
{
    QString sTexto = (d.bNegativo ? QStringLiteral("-") : QString())
        + (d.sEnteros.isEmpty() ? QStringLiteral("0") : d.sEnteros);
    if (!d.sDecimales.isEmpty())
        sTexto += u'.' + d.sDecimales;
    return sTexto;
}

} // namespace

QString Formato(const QString& sValor, const QString& sPatron)
{
    const std::optional<Decimal> d = Lee(sValor);
    if (!d)
        return sValor;
    return Escribe(*d, LeePatron(sPatron));
}

QString Formato(double dValor, const QString& sPatron)
{
    return Formato(TextoDeNumero(dValor), sPatron);
}

std::optional<double> NumeroDeTexto(const QString& sTexto)
{
    const std::optional<Decimal> d = Lee(sTexto);
    if (!d)
        return std::nullopt;
    return Plano(*d).toDouble();
}

std::optional<int> EnteroDeTexto(const QString& sTexto)
{
    const std::optional<double> dNumero = NumeroDeTexto(sTexto);
    if (!dNumero)
        return std::nullopt;
    const double dEntero = platform::bankersRound(*dNumero);
    if (dEntero < -32768 || dEntero > 32767)
        return std::nullopt;
    return int(dEntero);
}

QString TextoDeNumero(double dValor)
{
    if (!std::isfinite(dValor))
        return {};
    return Plano(*Lee(QString::number(dValor, 'g', 15)));
}
