#pragma once

// Numeric picture formats as the forms and reports write amounts: "#" a digit
// shown only when significant, "0" a digit always shown, "," anywhere among
// the whole digits groups them by thousands, "." the decimal point. Also the
// conversions between texts and numbers that the plan arithmetic uses.

#include <QString>
#include <optional>

// The value written with the picture, rounded half away from zero at the
// picture's last decimal place. Digits beyond the picture's whole places are
// all shown. A zero under a picture without a "0" writes no digit at all
// ("##" gives "", "##.##" gives "."). An empty text gives an empty text, and a
// text that is not a number comes back unchanged, as the old Format did.
QString Formato(const QString& sValor, const QString& sPatron);
QString Formato(double dValor, const QString& sPatron);

// The whole text read as a number: blanks around it, a sign, thousands
// separators before the decimal point and an exponent allowed. Nothing when
// it is empty or not a number.
std::optional<double> NumeroDeTexto(const QString& sTexto);

// The text as a 16-bit whole number, as the old CInt made it (halves to
// even); nothing for a text that is not a number or lies outside the range.
std::optional<int> EnteroDeTexto(const QString& sTexto);

// The shortest decimal form of the number (at most 15 significant digits),
// with "." and no separators or exponent: 1.5 gives "1.5", 0 gives "0";
// an empty text for an infinity or a value that is no number.
QString TextoDeNumero(double dValor);
