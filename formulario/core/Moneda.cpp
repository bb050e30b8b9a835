#include "formulario/core/Moneda.h"

#include "platform/dberror.h"

namespace {

constexpr qint64 Potencia10(int n)
{
    qint64 nValor = 1;
    while (n-- > 0)
        nValor *= 10;
    return nValor;
}

// Integer digits and decimal digits of a number being read.
struct Cifras {
    bool bNegativo = false;
    QString sEnteros;
    QString sDecimales;
};

std::optional<Moneda> DesdeCifras(const Cifras& cifras)
{
    qsizetype nCeros = 0;
    while (nCeros < cifras.sEnteros.size() && cifras.sEnteros[nCeros] == u'0')
        ++nCeros;
    // One decimal more than kept, so that it can be rounded away; beyond 18
    // digits the ten-thousandths no longer fit.
    const QString sCifras = cifras.sEnteros.mid(nCeros)
        + cifras.sDecimales.leftJustified(Moneda::kDecimales + 1, u'0', true);
    if (sCifras.size() > 18)
        return std::nullopt;
    const qint64 nQuintos = sCifras.toLongLong();
    const qint64 nUnidades = DivideRedondeando(nQuintos, 10);
    return Moneda::DesdeUnidades(cifras.bNegativo ? -nUnidades : nUnidades);
}

// Reads a sign, digits and one decimal point from the start of the text,
// skipping thousands separators before the point when `bMiles`; returns
// where the reading stopped.
qsizetype LeeCifras(const QString& sNumero, bool bMiles, Cifras* cifras)
{
    qsizetype i = 0;
    if (i < sNumero.size() && (sNumero[i] == u'-' || sNumero[i] == u'+'))
        cifras->bNegativo = sNumero[i++] == u'-';
    bool bPunto = false;
    for (; i < sNumero.size(); ++i) {
        const QChar c = sNumero[i];
        if (c >= u'0' && c <= u'9')
            (bPunto ? cifras->sDecimales : cifras->sEnteros).append(c);
        else if (c == u'.' && !bPunto)
            bPunto = true;
        else if (!(bMiles && c == u',' && !bPunto))
            break;
    }
    return i;
}

} // namespace

qint64 DivideRedondeando(__int128 nValor, qint64 nDivisor)
{
    const __int128 nMitad = nDivisor / 2;
    const __int128 nCociente = nValor >= 0 ? (nValor + nMitad) / nDivisor : -((-nValor + nMitad) / nDivisor);
    return qint64(nCociente);
}

std::optional<Moneda> Moneda::Convierte(const QString& sTexto)
{
    const QString sNumero = sTexto.trimmed();
    Cifras cifras;
    if (LeeCifras(sNumero, true, &cifras) != sNumero.size()
        || (cifras.sEnteros.isEmpty() && cifras.sDecimales.isEmpty()))
        return std::nullopt;
    return DesdeCifras(cifras);
}

Moneda Moneda::ValorInicial(const QString& sTexto)
{
    QString sNumero = sTexto;
    sNumero.remove(u' ').remove(u'\t').remove(u'\n');
    Cifras cifras;
    LeeCifras(sNumero, false, &cifras);
    return DesdeCifras(cifras).value_or(Moneda());
}

Moneda Moneda::Redondea(int nDecimales) const
{
    const qint64 nPaso = Potencia10(kDecimales - nDecimales);
    return Moneda(DivideRedondeando(nUnidades_, nPaso) * nPaso);
}

QString Moneda::Formatea(int nDecimales, bool bMiles) const
{
    const qint64 nValor = DivideRedondeando(nUnidades_, Potencia10(kDecimales - nDecimales));
    const qint64 nAbsoluto = nValor < 0 ? -nValor : nValor;
    const qint64 nDivisor = Potencia10(nDecimales);
    QString sEnteros = QString::number(nAbsoluto / nDivisor);
    if (bMiles) {
        for (qsizetype nPos = sEnteros.size() - 3; nPos > 0; nPos -= 3)
            sEnteros.insert(nPos, u',');
    }
    QString sTexto = (nValor < 0 ? QStringLiteral("-") : QString()) + sEnteros;
    if (nDecimales > 0)
        sTexto += u'.' + QString::number(nAbsoluto % nDivisor).rightJustified(nDecimales, u'0');
    return sTexto;
}

Moneda MontoDeTexto(const QString& sTexto)
{
    const std::optional<Moneda> monto = Moneda::Convierte(sTexto);
    if (!monto)
        platform::throwTypeMismatch();
    return *monto;
}
