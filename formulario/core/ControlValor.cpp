#include "formulario/core/ControlValor.h"

#include "formulario/core/modGen02.h"
#include "platform/database.h"
#include "platform/textfile.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>

using platform::FieldType;

namespace {

QString TextoFecha(const QVariant& vValor)
{
    QDate fecha;
    if (vValor.metaType().id() == QMetaType::QDateTime)
        fecha = vValor.toDateTime().date();
    else if (vValor.metaType().id() == QMetaType::QDate)
        fecha = vValor.toDate();
    else
        fecha = QDateTime::fromString(vValor.toString(), Qt::ISODate).date();
    if (!fecha.isValid())
        return {};
    return QString::number(fecha.year() * 10000 + fecha.month() * 100 + fecha.day());
}

// A number in plain decimal form, never with an exponent: the shortest that
// reads back as its value at 15 significant digits.
QString DecimalSimple(double dValor)
{
    const double dQuince = QString::number(dValor, 'g', 15).toDouble();
    return QString::number(dQuince, 'f', QLocale::FloatingPointShortest);
}

// The text a column contributes, by its declared type.
QString TextoColumna(platform::Field& campo)
{
    const QVariant vValor = campo.value();
    if (vValor.isNull())
        return {};
    switch (campo.type()) {
    case FieldType::Byte:
    case FieldType::Integer:
    case FieldType::Long: {
        bool bOk = false;
        const qlonglong nValor = vValor.toLongLong(&bOk);
        return bOk ? QString::number(nValor) : SinBlancos(vValor.toString());
    }
    case FieldType::Single:
    case FieldType::Double:
    case FieldType::Currency: {
        bool bOk = false;
        const double dValor = vValor.toDouble(&bOk);
        return bOk ? DecimalSimple(dValor) : SinBlancos(vValor.toString());
    }
    case FieldType::Date:
        return TextoFecha(vValor);
    case FieldType::Text:
    case FieldType::Memo: // a text column declared without a size
        return SinBlancos(vValor.toString());
    default:
        return {};
    }
}

bool EsDigito(QChar c) { return c >= u'0' && c <= u'9'; }

// Whether the whole text is a number: sign, digits (commas allowed between
// digits), one decimal point, an optional exponent.
bool EsNumerico(const QString& sTexto)
{
    qsizetype i = 0;
    const qsizetype n = sTexto.size();
    if (i < n && (sTexto[i] == u'+' || sTexto[i] == u'-'))
        ++i;
    bool bDigitos = false;
    for (; i < n; ++i) {
        if (EsDigito(sTexto[i]))
            bDigitos = true;
        else if (sTexto[i] == u',' && bDigitos && i + 1 < n && EsDigito(sTexto[i + 1]))
            continue;
        else
            break;
    }
    if (i < n && sTexto[i] == u'.') {
        for (++i; i < n && EsDigito(sTexto[i]); ++i)
            bDigitos = true;
    }
    if (!bDigitos)
        return false;
    if (i < n && QStringLiteral("eEdD").contains(sTexto[i])) {
        ++i;
        if (i < n && (sTexto[i] == u'+' || sTexto[i] == u'-'))
            ++i;
        if (i == n || !EsDigito(sTexto[i]))
            return false;
        while (i < n && EsDigito(sTexto[i]))
            ++i;
    }
    return i == n;
}

// The number that the leading characters form, read without thousands
// separators; a text that is not a number counts 0.
double ValorNumerico(const QString& sTexto)
{
    if (!EsNumerico(sTexto))
        return 0;
    QByteArray numero = sTexto.toLatin1();
    const qsizetype nComa = numero.indexOf(',');
    if (nComa >= 0)
        numero.truncate(nComa);
    numero.replace('d', 'e').replace('D', 'e');
    return numero.toDouble();
}

// Last three digits of the sum, rounded to 15 significant digits and then to
// a whole number (halves away from zero); the sign drops out.
QString TresDigitos(double dSuma)
{
    if (!std::isfinite(dSuma))
        platform::throwOverflow();
    if (dSuma == std::trunc(dSuma) && std::fabs(dSuma) < 1e15) // a whole number keeps every digit
        return QStringLiteral("%1").arg(qint64(std::fabs(dSuma)) % 1000, 3, 10, QLatin1Char('0'));
    char mantisa[32];
    std::snprintf(mantisa, sizeof mantisa, "%.14e", std::fabs(dSuma));
    // "d.dddddddddddddde+XX": 15 significant digits and a decimal exponent.
    QByteArray digitos(mantisa, 1);
    digitos.append(mantisa + 2, 14);
    const int nExponente = std::atoi(mantisa + 17);

    QByteArray entero;
    bool bSube = false;
    if (nExponente >= 14) {
        entero = digitos + QByteArray(nExponente - 14, '0');
    } else if (nExponente >= 0) {
        entero = digitos.left(nExponente + 1);
        bSube = digitos[nExponente + 1] >= '5';
    } else {
        entero = "0";
        bSube = nExponente == -1 && digitos[0] >= '5';
    }
    entero = QByteArray(3, '0') + entero;
    for (qsizetype i = entero.size() - 1; bSube && i >= 0; --i) {
        bSube = entero[i] == '9';
        entero[i] = bSube ? '0' : char(entero[i] + 1);
    }
    return QString::fromLatin1(entero.right(3));
}

// Code of a character in Windows-1252.
int CodigoCp1252(QChar c)
{
    if (c.unicode() < 0x80)
        return c.unicode();
    const QByteArray byte = platform::toCp1252(QString(c));
    return byte.isEmpty() ? 0 : static_cast<unsigned char>(byte[0]);
}

// In 64 bits: a long text counts every character, far past a 16-bit product.
double SumaCaracteres(const QString& sTexto)
{
    qint64 nSuma = 0;
    for (qsizetype i = 0; i < sTexto.size(); ++i)
        nSuma += qint64(CodigoCp1252(sTexto[i])) * (i + 1);
    return double(nSuma);
}

} // namespace

QString FormateaCampo(platform::Recordset& rs, int nParticion)
{
    double dValores = 0;
    double dCaracteres = 0;
    for (int i = 0; i < nParticion; ++i)
        dValores += ValorNumerico(TextoColumna(rs.field(i)));
    for (int i = nParticion; i < rs.fieldCount() - 1; ++i)
        dCaracteres += SumaCaracteres(TextoColumna(rs.field(i)));
    return TresDigitos(dValores) + TresDigitos(dCaracteres);
}
