#pragma once

#include <QString>
#include <QtGlobal>
#include <compare>
#include <optional>

// A currency amount kept as a whole number of ten-thousandths, so that sums
// and the roundings at fixed places are exact. Texts are read and written
// with the decimal point "." and the thousands separator ",", the regional
// settings the program requires.
class Moneda {
public:
    static constexpr int kDecimales = 4;
    static constexpr qint64 kEscala = 10000;

    constexpr Moneda() = default;
    static constexpr Moneda DesdeUnidades(qint64 nDiezMilesimas) { return Moneda(nDiezMilesimas); }
    static constexpr Moneda DesdeEntero(qint64 nValor) { return Moneda(nValor * kEscala); }

    // The whole text as an amount: blanks around it, a sign, thousands
    // separators and a decimal point allowed; digits beyond the fourth
    // decimal round half away from zero. Nothing when it is not an amount.
    static std::optional<Moneda> Convierte(const QString& sTexto);
    // The amount that the text begins with (blanks skipped, reading stops at
    // the first character that cannot continue a number); 0 without one.
    static Moneda ValorInicial(const QString& sTexto);

    constexpr qint64 Unidades() const { return nUnidades_; }
    double ComoDouble() const { return double(nUnidades_) / kEscala; }

    // Rounded to `nDecimales` places (0 to 4), halves away from zero.
    Moneda Redondea(int nDecimales) const;
    // The amount with `nDecimales` places, rounded half away from zero, and
    // with thousands separators when `bMiles` ("#,##0.00", "0", ...).
    QString Formatea(int nDecimales, bool bMiles) const;

    constexpr Moneda operator+(Moneda otra) const { return Moneda(nUnidades_ + otra.nUnidades_); }
    constexpr Moneda operator-(Moneda otra) const { return Moneda(nUnidades_ - otra.nUnidades_); }
    constexpr Moneda& operator+=(Moneda otra)
    {
        nUnidades_ += otra.nUnidades_;
        return *this;
    }
    constexpr auto operator<=>(const Moneda&) const = default;

private:
    constexpr explicit Moneda(qint64 nUnidades) : nUnidades_(nUnidades) {}
    qint64 nUnidades_ = 0;
};

// The text read as an amount (as Moneda::Convierte reads it); a text that is
// no amount raises the run-time type mismatch (DbError 13) for the caller's
// handler, as the old CCur did.
Moneda MontoDeTexto(const QString& sTexto);

// `nValor` divided by `nDivisor` (> 0), rounded half away from zero; the
// dividend is wide enough for the product of two amounts.
qint64 DivideRedondeando(__int128 nValor, qint64 nDivisor);
