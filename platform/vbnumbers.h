#pragma once

// Numbers as Visual Basic reads and writes them: Val, the whole-text check of
// a number, the plain text of a number, and rounding halves to even.

#include <QString>

namespace platform {

double vbVal(const QString& text);                      // leading number, blanks skipped; 0 without one
bool parseVbNumber(const QString& text, double* value); // the whole text is one number
QString vbNumberText(double value);                     // plain form, "." decimal
double bankersRound(double value);                      // halves to the even neighbour

} // namespace platform
