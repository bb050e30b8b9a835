#include "formulario/core/Moneda.h"
#include "platform/dberror.h"

#include <gtest/gtest.h>

namespace {

qint64 Unidades(const char* texto)
{
    const std::optional<Moneda> valor = Moneda::Convierte(QString::fromLatin1(texto));
    EXPECT_TRUE(valor.has_value()) << texto;
    return valor ? valor->Unidades() : -1;
}

} // namespace

TEST(MonedaConvierte, ReadsAmountsWithSeparatorsSignAndBlanks)
{
    EXPECT_EQ(Unidades("1,200,000"), 12000000000LL);
    EXPECT_EQ(Unidades(" 3950.00 "), 39500000);
    EXPECT_EQ(Unidades("-12.5"), -125000);
    EXPECT_EQ(Unidades(".5"), 5000);
    EXPECT_EQ(Unidades("7."), 70000);
    EXPECT_EQ(Unidades("000000000000000000001"), 10000);
}

TEST(MonedaConvierte, RoundsTheFifthDecimalHalfAwayFromZero)
{
    EXPECT_EQ(Unidades("12.34565"), 123457);
    EXPECT_EQ(Unidades("12.34564999"), 123456);
    EXPECT_EQ(Unidades("-0.00005"), -1);
}

TEST(MonedaConvierte, RefusesWhatIsNotAnAmount)
{
    for (const char* texto : {"", " ", "abc", "1.2.3", "12a", "-", ".", "1.000,5", "99999999999999999"})
        EXPECT_FALSE(Moneda::Convierte(QString::fromLatin1(texto)).has_value()) << texto;
}

TEST(MonedaValorInicial, ReadsTheNumberAtTheStart)
{
    EXPECT_EQ(Moneda::ValorInicial(QStringLiteral("00003950.00")), Moneda::DesdeEntero(3950));
    EXPECT_EQ(Moneda::ValorInicial(QStringLiteral("  12abc")), Moneda::DesdeEntero(12));
    EXPECT_EQ(Moneda::ValorInicial(QStringLiteral("1,200")), Moneda::DesdeEntero(1));
    EXPECT_EQ(Moneda::ValorInicial(QStringLiteral("1 2 3")), Moneda::DesdeEntero(123));
    EXPECT_EQ(Moneda::ValorInicial(QStringLiteral("-4.5x")), Moneda::DesdeUnidades(-45000));
    EXPECT_EQ(Moneda::ValorInicial(QString()), Moneda());
    EXPECT_EQ(Moneda::ValorInicial(QStringLiteral("abc")), Moneda());
}

TEST(MonedaFormatea, RoundsHalfAwayFromZeroAtTheGivenPlaces)
{
    EXPECT_EQ(Moneda::DesdeUnidades(12345670050LL).Formatea(2, true), QStringLiteral("1,234,567.01"));
    EXPECT_EQ(Moneda::DesdeUnidades(12345670049LL).Formatea(2, true), QStringLiteral("1,234,567.00"));
    EXPECT_EQ(Moneda::DesdeUnidades(-50).Formatea(2, false), QStringLiteral("-0.01"));
    EXPECT_EQ(Moneda::DesdeUnidades(5000).Formatea(0, false), QStringLiteral("1"));
    EXPECT_EQ(Moneda::DesdeUnidades(-5000).Formatea(0, false), QStringLiteral("-1"));
    EXPECT_EQ(Moneda().Formatea(2, true), QStringLiteral("0.00"));
    EXPECT_EQ(Moneda::DesdeEntero(999).Formatea(0, true), QStringLiteral("999"));
    EXPECT_EQ(Moneda::DesdeEntero(1000).Formatea(0, true), QStringLiteral("1,000"));
    EXPECT_EQ(Moneda::DesdeEntero(100000).Formatea(2, true), QStringLiteral("100,000.00"));
}

TEST(MonedaFormatea, RedondeaKeepsTheRoundedAmount)
{
    EXPECT_EQ(Moneda::DesdeUnidades(12345).Redondea(2), Moneda::DesdeUnidades(12300));
    EXPECT_EQ(Moneda::DesdeUnidades(12350).Redondea(2), Moneda::DesdeUnidades(12400));
    EXPECT_EQ(Moneda::DesdeUnidades(-12350).Redondea(2), Moneda::DesdeUnidades(-12400));
    EXPECT_EQ(DivideRedondeando(-15, 10), -2);
    EXPECT_EQ(DivideRedondeando(14, 10), 1);
}

TEST(MontoDeTexto, ReadsAnAmountOrRaisesTheTypeMismatch)
{
    EXPECT_EQ(MontoDeTexto(QStringLiteral(" 1,234.5 ")), Moneda::DesdeUnidades(12345000));
    for (const char* sTexto : {"", "abc", "1.2.3"}) {
        SCOPED_TRACE(sTexto);
        try {
            MontoDeTexto(QString::fromLatin1(sTexto));
            ADD_FAILURE() << "no error";
        } catch (const platform::DbError& err) {
            EXPECT_EQ(err.number(), 13);
        }
    }
}
