#include "platform/vbnumbers.h"

#include <QRegularExpression>
#include <cmath>

namespace platform {

double bankersRound(double value)
{
    return std::nearbyint(value); // the default rounding mode sends halves to the even neighbour
}

double vbVal(const QString& text)
{
    QString number;
    bool digits = false, point = false, exponent = false;
    for (const QChar c : text) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            continue;
        const bool sign = c == QLatin1Char('+') || c == QLatin1Char('-');
        if (c.isDigit() && c.unicode() < 128) {
            digits = true;
        } else if (sign && (number.isEmpty() || number.back() == QLatin1Char('e'))) {
        } else if (c == QLatin1Char('.') && !point && !exponent) {
            point = true;
        } else if ((c.toLower() == QLatin1Char('e') || c.toLower() == QLatin1Char('d')) && digits && !exponent) {
            exponent = true;
            number += QLatin1Char('e');
            continue;
        } else {
            break;
        }
        number += c;
    }
    // Drop an exponent or sign left without digits.
    while (!number.isEmpty() && !number.back().isDigit() && number.back() != QLatin1Char('.'))
        number.chop(1);
    return digits ? number.toDouble() : 0.0;
}

bool parseVbNumber(const QString& text, double* value)
{
    static const QRegularExpression pattern(
        QStringLiteral("^[+-]?(\\d[\\d,]*(\\.\\d*)?|\\.\\d+)([eEdD][+-]?\\d+)?$"));
    QString trimmed = text.trimmed();
    if (!pattern.match(trimmed).hasMatch())
        return false;
    trimmed.remove(QLatin1Char(','));
    trimmed.replace(QLatin1Char('d'), QLatin1Char('e')).replace(QLatin1Char('D'), QLatin1Char('e'));
    bool ok = false;
    *value = trimmed.toDouble(&ok);
    return ok && std::isfinite(*value);
}

QString vbNumberText(double value)
{
    if (value == 0)
        return QStringLiteral("0");
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    // Fifteen significant digits written without an exponent.
    const int magnitude = int(std::floor(std::log10(std::fabs(value))));
    QString text = QString::number(value, 'f', qBound(0, 14 - magnitude, 330));
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text;
}

} // namespace platform
