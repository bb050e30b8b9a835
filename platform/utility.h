#pragma once

#include <QChar>
#include <QString>

namespace platform {

// Stand-in for the host suite's utility object: taxpayer-number and date
// checks, padding and key filters.
class Utility {
public:
    // A RUC is eleven digits whose last is the check digit of the first ten:
    // with the weights 5, 4, 3, 2, 7, 6, 5, 4, 3, 2 from the left, S is the
    // weighted sum of the first ten digits and the check digit is
    // 11 - (S mod 11), where 10 stands for 0 and 11 for 1.
    bool isValidRuc(const QString& ruc) const;
    // The key text laid out left-aligned in a column of `width` characters.
    QString fixedColumn(const QString& key, int width) const;
    // Keeps digits, Backspace and Enter (and "." when allowed): the key to keep, 0 to drop it.
    int filterNumericKey(int keyAscii, bool allowPoint) const;
    QString padRight(const QString& text, int width, QChar fill) const; // left-aligned
    QString padLeft(const QString& text, int width, QChar fill) const;  // right-aligned
    // Single-character filter: the key to keep, 0 to drop it.
    int filterKey(int keyAscii) const;
    // A real date "dd/mm/yyyy" within [from, to].
    bool isValidDate(const QString& date, const QString& from = QStringLiteral("01/01/1850"),
                     const QString& to = QStringLiteral("01/01/2500")) const;
};

} // namespace platform
