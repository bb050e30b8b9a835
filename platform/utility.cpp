#include "platform/utility.h"

#include <QDate>

#include <algorithm>

namespace platform {

namespace {

constexpr int kBackspace = 8;
constexpr int kEnter = 13;

bool isDigitKey(int keyAscii)
{
    return keyAscii >= '0' && keyAscii <= '9';
}

bool allDigits(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return isDigitKey(c.unicode()); });
}

// "d/m/yyyy" or "dd/mm/yyyy" as a date; invalid when it is not one.
QDate parseDate(const QString& text)
{
    const QStringList parts = text.trimmed().split(u'/');
    if (parts.size() != 3 || parts[0].size() > 2 || parts[1].size() > 2 || parts[2].size() != 4)
        return {};
    for (const QString& part : parts) {
        if (part.isEmpty() || !allDigits(part))
            return {};
    }
    return QDate(parts[2].toInt(), parts[1].toInt(), parts[0].toInt());
}

} // namespace

bool Utility::isValidRuc(const QString& ruc) const
{
    if (ruc.size() != 11 || !allDigits(ruc))
        return false;
    static constexpr int weights[10] = {5, 4, 3, 2, 7, 6, 5, 4, 3, 2};
    int sum = 0;
    for (int i = 0; i < 10; ++i)
        sum += (ruc[i].unicode() - '0') * weights[i];
    const int check = (11 - sum % 11) % 10; // 10 -> 0, 11 -> 1
    return ruc[10].unicode() - '0' == check;
}

QString Utility::fixedColumn(const QString& key, int width) const
{
    return key.leftJustified(width, u' ', true);
}

int Utility::filterNumericKey(int keyAscii, bool allowPoint) const
{
    const bool keep = isDigitKey(keyAscii) || keyAscii == kBackspace || keyAscii == kEnter
        || (allowPoint && keyAscii == '.');
    return keep ? keyAscii : 0;
}

// A longer text is returned whole: a column never eats characters.
QString Utility::padRight(const QString& text, int width, QChar fill) const
{
    return text.leftJustified(width, fill);
}

QString Utility::padLeft(const QString& text, int width, QChar fill) const
{
    return text.rightJustified(width, fill);
}

// Keeps Backspace, Enter and the printable characters; drops the other
// control keys (Ctrl+V and the like) and "|", the field separator of the
// files the programs exchange.
int Utility::filterKey(int keyAscii) const
{
    if (keyAscii == kBackspace || keyAscii == kEnter)
        return keyAscii;
    if (keyAscii < 32 || keyAscii == 127 || keyAscii == '|')
        return 0;
    return keyAscii;
}

bool Utility::isValidDate(const QString& date, const QString& from, const QString& to) const
{
    const QDate value = parseDate(date);
    return value.isValid() && value >= parseDate(from) && value <= parseDate(to);
}

} // namespace platform
