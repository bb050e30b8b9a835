#include "formulario/core/Formato.h"

#include <gtest/gtest.h>

namespace {

struct CasoFormato {
    const char* sValor;
    const char* sPatron;
    const char* sEsperado;
};

void PrintTo(const CasoFormato& c, std::ostream* os)
{
    *os << '"' << c.sValor << "\" with " << c.sPatron;
}

class FormatoTest : public ::testing::TestWithParam<CasoFormato> {};

TEST_P(FormatoTest, EscribeElValorConLaMascara)
{
    const CasoFormato& caso = GetParam();
    EXPECT_EQ(Formato(QString::fromUtf8(caso.sValor), QString::fromUtf8(caso.sPatron)),
              QString::fromUtf8(caso.sEsperado))
        << caso.sValor << " with " << caso.sPatron;
}

INSTANTIATE_TEST_SUITE_P(
    Mascaras, FormatoTest,
    ::testing::Values(CasoFormato{"1234567", "#,###,###,###,##0", "1,234,567"},
                      CasoFormato{"0", "#,###,###,###,##0", "0"},
                      CasoFormato{"1234.5", "###,###,###,##0", "1,235"},
                      CasoFormato{"-1234.5", "###,###,###,##0", "-1,235"},
                      CasoFormato{"999.5", "#,##0", "1,000"},
                      CasoFormato{"2.5", "############0", "3"},
                      CasoFormato{"-2.5", "############0", "-3"},
                      CasoFormato{"2.4999", "############0", "2"},
                      CasoFormato{"12,345.678", "###########0", "12346"},
                      CasoFormato{"12.345", "###########0.00", "12.35"},
                      CasoFormato{"7", "###########0.00", "7.00"},
                      CasoFormato{"0", "###########0.00", "0.00"},
                      CasoFormato{"1234567.891", "#,###,###,##0.00", "1,234,567.89"},
                      CasoFormato{"0.005", "#,###,###,##0.00", "0.01"},
                      CasoFormato{"-0.004", "#,###,###,##0.00", "0.00"},
                      CasoFormato{"12345", "##,###,###,###0", "12,345"},
                      CasoFormato{"0", "##.##", "."},
                      CasoFormato{"5", "##.##", "5."},
                      CasoFormato{"0.5", "##.##", ".5"},
                      CasoFormato{"0", "##", ""},
                      CasoFormato{"0", "######", ""},
                      CasoFormato{"0.4", "############", ""},
                      CasoFormato{"8030", "######", "8030"},
                      CasoFormato{"12", "##", "12"},
                      CasoFormato{"5", "0###", "0005"},
                      CasoFormato{"1,234.5", "#########0.#0", "1234.50"},
                      CasoFormato{"1,234.567", "#########0.#0", "1234.57"},
                      CasoFormato{"0.00000015", "0.0000000", "0.0000002"},
                      CasoFormato{"12345678901234567", "#,##0", "12,345,678,901,234,567"},
                      CasoFormato{"  42 ", "###0", "42"},
                      CasoFormato{"1E3", "###0", "1000"},
                      CasoFormato{"", "###0", ""},
                      CasoFormato{"   ", "###0", "   "},
                      CasoFormato{"abc", "###0", "abc"},
                      CasoFormato{"12abc", "###0", "12abc"},
                      CasoFormato{"1.2.3", "###0", "1.2.3"}));

TEST(FormatoNumeroTest, UnNumeroSeEscribeComoSuTextoDeQuinceCifras)
{
    EXPECT_EQ(Formato(886.243967419572, "#,###,###,###,##0"), "886");
    EXPECT_EQ(Formato(0.125, "0.00"), "0.13");
    EXPECT_EQ(Formato(1.005, "0.00"), "1.01");
    EXPECT_EQ(Formato(10006.25 * 0.08, "############0"), "801");
}

TEST(FormatoNumeroTest, NumeroDeTexto)
{
    EXPECT_EQ(NumeroDeTexto("1,234.5"), 1234.5);
    EXPECT_EQ(NumeroDeTexto(" -12 "), -12.0);
    EXPECT_EQ(NumeroDeTexto("1.5E2"), 150.0);
    EXPECT_FALSE(NumeroDeTexto(""));
    EXPECT_FALSE(NumeroDeTexto("12 cuotas"));
    EXPECT_FALSE(NumeroDeTexto(","));
}

TEST(FormatoNumeroTest, TextoDeNumero)
{
    EXPECT_EQ(TextoDeNumero(1.5), "1.5");
    EXPECT_EQ(TextoDeNumero(0), "0");
    EXPECT_EQ(TextoDeNumero(-0.25), "-0.25");
    EXPECT_EQ(TextoDeNumero(0.1 + 0.2), "0.3");
    EXPECT_EQ(TextoDeNumero(1e20), "100000000000000000000");
    EXPECT_EQ(TextoDeNumero(1.0 / 0.0), "");
}

} // namespace
