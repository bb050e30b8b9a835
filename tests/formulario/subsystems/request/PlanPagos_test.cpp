#include "formulario/subsystems/request/PlanPagos.h"

#include "formulario/core/Formato.h"
#include "formulario/core/ModGen00.h"
#include "tests/formulario/subsystems/request/DeudasPrueba.h"
#include "tests/support/HostTest.h"

#include <gtest/gtest.h>

namespace {

const Moneda kUit = Moneda::DesdeEntero(3950); // 3 UIT = 11,850; 100 UIT = 395,000

// The declarant flags the plan reads, back to empty after each test.
class PlanTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sBuenContrib = QStringLiteral("0");
        sNumDeudas = QStringLiteral("1");
        sIndGarantia = QStringLiteral("0");
    }
    void TearDown() override
    {
        for (QString* s : {&sTim, &sBuenContrib, &sNumDeudas, &sIndGarantia, &sMtoDeuda, &sGarantia})
            s->clear();
    }
};

struct CasoTim {
    const char* sPeriodo;
    const char* sTim;
};

void PrintTo(const CasoTim& c, std::ostream* os)
{
    *os << c.sPeriodo;
}

class TimTest : public PlanTest, public ::testing::WithParamInterface<CasoTim> {};

TEST_P(TimTest, SeComparaComoTextoConMarzoDe2010)
{
    Obtiene_TIM(QString::fromLatin1(GetParam().sPeriodo));
    EXPECT_EQ(sTim, QString::fromLatin1(GetParam().sTim));
}

INSTANTIATE_TEST_SUITE_P(Periodos, TimTest,
                         ::testing::Values(CasoTim{"200912", "1.5"}, CasoTim{"201002", "1.5"},
                                           CasoTim{"201003", "1.2"}, CasoTim{"201512", "1.2"},
                                           CasoTim{"2010", "1.5"}, CasoTim{"", "1.5"}, CasoTim{"abc", "1.2"}));

TEST_F(PlanTest, CuotaDeDoceMesesSegunLaTim)
{
    sTim = QStringLiteral("1.2");
    EXPECT_EQ(CuotaFraccionamiento("12", "10,000", ""), "886");
    EXPECT_EQ(CuotaFraccionamiento("12", "10,000", "1,000"), "798"); // computed on 9,000
    sTim = QStringLiteral("1.5");
    EXPECT_EQ(CuotaFraccionamiento("12", "10000", "0"), "900");
}

TEST_F(PlanTest, UnaCuotaEsElCapitalConUnMesDeInteres)
{
    sTim = QStringLiteral("1.2");
    EXPECT_EQ(Formato(Calcula_deuda_fracc2(1, Moneda::DesdeEntero(1000), Moneda()), "#,##0.00"), "1,009.60");
}

TEST_F(PlanTest, SinCuotasNiTasaNoHayMonto)
{
    sTim = QStringLiteral("1.2");
    EXPECT_EQ(Calcula_deuda_fracc2(0, Moneda::DesdeEntero(1000), Moneda()), "");
    EXPECT_EQ(Calcula_deuda_fracc2(-3, Moneda::DesdeEntero(1000), Moneda()), "");
    EXPECT_EQ(CuotaFraccionamiento("", "10000", ""), "");
    EXPECT_EQ(CuotaFraccionamiento("12", "", ""), "");
    EXPECT_EQ(CuotaFraccionamiento("doce", "10000", ""), "");
    sTim.clear();
    EXPECT_EQ(Calcula_deuda_fracc2(12, Moneda::DesdeEntero(1000), Moneda()), "");
}

struct CasoCuotaInicial {
    const char* sDeuda;
    const char* sModalidad;
    const char* sCuotas;
    const char* sEsperado;
};

void PrintTo(const CasoCuotaInicial& c, std::ostream* os)
{
    *os << c.sDeuda << " modality " << c.sModalidad << " instalments " << c.sCuotas;
}

class CuotaInicialTest : public PlanTest, public ::testing::WithParamInterface<CasoCuotaInicial> {};

TEST_P(CuotaInicialTest, PorcentajeSegunCuotasModalidadYDeuda)
{
    const CasoCuotaInicial& c = GetParam();
    EXPECT_EQ(CalculaCuotaInicial2(c.sDeuda, kUit, c.sModalidad, c.sCuotas, "3"), QString::fromLatin1(c.sEsperado))
        << c.sDeuda << " modality " << c.sModalidad << " instalments " << c.sCuotas;
}

// 11,850 is exactly 3 UIT; 11,851 lies above.
INSTANTIATE_TEST_SUITE_P(
    HastaTresUitEnCuotas, CuotaInicialTest,
    ::testing::Values(CasoCuotaInicial{"11,850", "0", "", "0"}, CasoCuotaInicial{"11,850", "0", "-1", "0"},
                      CasoCuotaInicial{"11,850", "0", "0", "0"}, CasoCuotaInicial{"11,850", "0", "12", "0"},
                      CasoCuotaInicial{"11,850", "0", "13", "948"}, CasoCuotaInicial{"11,850", "0", "24", "948"},
                      CasoCuotaInicial{"11,850", "0", "25", "1185"}, CasoCuotaInicial{"11,850", "0", "36", "1185"},
                      CasoCuotaInicial{"11,850", "0", "37", "1422"}, CasoCuotaInicial{"11,850", "0", "48", "1422"},
                      CasoCuotaInicial{"11,850", "0", "49", "1659"}, CasoCuotaInicial{"11,850", "0", "60", "1659"},
                      CasoCuotaInicial{"11,850", "0", "61", "1896"}, CasoCuotaInicial{"11,850", "0", "72", "1896"},
                      CasoCuotaInicial{"11,850", "0", "73", "0"}, CasoCuotaInicial{"11,850", "1", "13", "948"}));

INSTANTIATE_TEST_SUITE_P(
    SobreTresUitEnCuotas, CuotaInicialTest,
    ::testing::Values(CasoCuotaInicial{"11,851", "0", "", "948"}, CasoCuotaInicial{"11,851", "0", "-1", "0"},
                      CasoCuotaInicial{"11,851", "0", "0", "948"}, CasoCuotaInicial{"11,851", "0", "12", "948"},
                      CasoCuotaInicial{"11,851", "0", "24", "948"}, CasoCuotaInicial{"11,851", "0", "25", "1185"},
                      CasoCuotaInicial{"11,851", "0", "36", "1185"}, CasoCuotaInicial{"11,851", "0", "37", "1422"},
                      CasoCuotaInicial{"11,851", "0", "48", "1422"}, CasoCuotaInicial{"11,851", "0", "49", "1659"},
                      CasoCuotaInicial{"11,851", "0", "60", "1659"}, CasoCuotaInicial{"11,851", "0", "61", "1896"},
                      CasoCuotaInicial{"11,851", "0", "72", "1896"}, CasoCuotaInicial{"11,851", "0", "73", "0"}));

INSTANTIATE_TEST_SUITE_P(
    HastaTresUitConAplazamiento, CuotaInicialTest,
    ::testing::Values(CasoCuotaInicial{"11,850", "2", "", "0"}, CasoCuotaInicial{"11,850", "2", "6", "0"},
                      CasoCuotaInicial{"11,850", "2", "7", "948"}, CasoCuotaInicial{"11,850", "2", "18", "948"},
                      CasoCuotaInicial{"11,850", "2", "19", "1185"}, CasoCuotaInicial{"11,850", "2", "30", "1185"},
                      CasoCuotaInicial{"11,850", "2", "31", "1422"}, CasoCuotaInicial{"11,850", "2", "42", "1422"},
                      CasoCuotaInicial{"11,850", "2", "43", "1659"}, CasoCuotaInicial{"11,850", "2", "54", "1659"},
                      CasoCuotaInicial{"11,850", "2", "55", "1896"}, CasoCuotaInicial{"11,850", "2", "66", "1896"},
                      CasoCuotaInicial{"11,850", "2", "67", "0"}, CasoCuotaInicial{"11,850", "2", "-1", "0"}));

INSTANTIATE_TEST_SUITE_P(
    SobreTresUitConAplazamiento, CuotaInicialTest,
    ::testing::Values(CasoCuotaInicial{"11,851", "2", "-1", "0"}, CasoCuotaInicial{"11,851", "2", "0", "948"},
                      CasoCuotaInicial{"11,851", "2", "18", "948"}, CasoCuotaInicial{"11,851", "2", "19", "1185"},
                      CasoCuotaInicial{"11,851", "2", "30", "1185"}, CasoCuotaInicial{"11,851", "2", "31", "1422"},
                      CasoCuotaInicial{"11,851", "2", "42", "1422"}, CasoCuotaInicial{"11,851", "2", "43", "1659"},
                      CasoCuotaInicial{"11,851", "2", "54", "1659"}, CasoCuotaInicial{"11,851", "2", "55", "1896"},
                      CasoCuotaInicial{"11,851", "2", "66", "1896"}, CasoCuotaInicial{"11,851", "2", "67", "0"}));

INSTANTIATE_TEST_SUITE_P(
    TextosDeLasCasillas, CuotaInicialTest,
    ::testing::Values(CasoCuotaInicial{"", "0", "13", ""}, CasoCuotaInicial{"  ", "0", "13", ""},
                      CasoCuotaInicial{"mil", "0", "13", ""},
                      CasoCuotaInicial{"10,006.25", "0", "13", "801"},  // 800.5 rounds up
                      CasoCuotaInicial{"10000", "0", "13 cuotas", "800"}, // the leading value counts
                      CasoCuotaInicial{"10000", "0", "12.5", "0"},        // halves to even: 12
                      CasoCuotaInicial{"10000", "0", "13.5", "800"}));    // 14

TEST_F(PlanTest, BuenContribuyenteNoPagaCuotaInicial)
{
    sBuenContrib = QStringLiteral("1");
    EXPECT_EQ(CalculaCuotaInicial2("50,000", kUit, "0", "24", ""), "0");
    EXPECT_EQ(CalculaCuotaInicial2("", kUit, "0", "24", ""), "");
    sBuenContrib.clear();
    EXPECT_EQ(CalculaCuotaInicial2("50,000", kUit, "0", "24", ""), "0");
}

struct CasoGarantia {
    const char* sDeuda;
    const char* sCuotaAcog;
    const char* sFormaPago;
    const char* sMtoDeuda;
    const char* sNumDeudas;
    const char* sIndGarantia;
    DecisionGarantia esperada;
};

void PrintTo(const CasoGarantia& c, std::ostream* os)
{
    *os << c.sDeuda << " less " << c.sCuotaAcog << " modality " << c.sFormaPago << " plus " << c.sMtoDeuda
        << " flags " << c.sNumDeudas << c.sIndGarantia;
}

class GarantiaTest : public PlanTest, public ::testing::WithParamInterface<CasoGarantia> {};

TEST_P(GarantiaTest, DecideContraCienUit)
{
    const CasoGarantia& c = GetParam();
    sMtoDeuda = QString::fromLatin1(c.sMtoDeuda);
    sNumDeudas = QString::fromLatin1(c.sNumDeudas);
    sIndGarantia = QString::fromLatin1(c.sIndGarantia);
    EXPECT_EQ(CambiaGarantia2(c.sDeuda, kUit, c.sCuotaAcog, c.sFormaPago), c.esperada)
        << c.sDeuda << " less " << c.sCuotaAcog << " modality " << c.sFormaPago;
    EXPECT_EQ(sGarantia, c.esperada == DecisionGarantia::Si ? "1" : "0");
}

using enum DecisionGarantia;
INSTANTIATE_TEST_SUITE_P(
    Casos, GarantiaTest,
    ::testing::Values(CasoGarantia{"395,000", "", "2", "", "1", "0", No},     // exactly 100 UIT
                      CasoGarantia{"395,001", "", "2", "", "1", "0", Si},
                      CasoGarantia{"395,001", "1", "0", "", "1", "0", No},    // less the initial instalment
                      CasoGarantia{"395,001", "1", "2", "", "1", "0", Si},    // not subtracted
                      CasoGarantia{"395,000", "", "2", "1", "1", "0", Si},    // plus the guarantee row's debt
                      CasoGarantia{"395,000", "", "2", "1 sol", "1", "0", Si}, // its leading value
                      CasoGarantia{"395,001", "", "2", "", "0", "0", No},
                      CasoGarantia{"100", "", "0", "", "0", "0", No},
                      CasoGarantia{"100", "", "0", "", "", "0", Si},
                      CasoGarantia{"100", "", "0", "", "1", "1", Si},
                      CasoGarantia{"395,001", "", "0", "", "0", "1", Si},
                      CasoGarantia{"100", "cien", "0", "", "1", "0", No}));

TEST_F(PlanTest, GarantiaDeBuenContribuyenteSiempreNo)
{
    sBuenContrib = QStringLiteral("1");
    sIndGarantia = QStringLiteral("1");
    EXPECT_EQ(CambiaGarantia2("", kUit, "", "0"), DecisionGarantia::No);
    EXPECT_EQ(sGarantia, "0");
}

TEST_F(PlanTest, SinDeudaLaGarantiaQuedaComoEstaba)
{
    sIndGarantia = QStringLiteral("1");
    sGarantia = QStringLiteral("1");
    EXPECT_EQ(CambiaGarantia2(" ", kUit, "", "0"), DecisionGarantia::SinCambio);
    EXPECT_EQ(CambiaGarantia2("mucho", kUit, "", "0"), DecisionGarantia::SinCambio);
    EXPECT_EQ(sGarantia, "1");
}

TEST(BloqueEntidadTest, CasillasDeCadaEntidad)
{
    const std::optional<BloqueEntidad> bloque = BloqueDeEntidad(8);
    ASSERT_TRUE(bloque);
    EXPECT_EQ(bloque->nCasillaBase, 528);
    EXPECT_EQ(bloque->Garantia(), 534);
    EXPECT_EQ(bloque->nCasillaCuotaInicial, 539);
    EXPECT_EQ(bloque->TiposGarantia(), 591);
    EXPECT_EQ(bloque->sCodigoTributo, "7203");
    EXPECT_EQ(BloqueDeEntidad(2)->CodigoTributo(), 512);
    EXPECT_FALSE(BloqueDeEntidad(4));
}

class DeudaAcogidaTest : public HostTest {};

TEST_F(DeudaAcogidaTest, SumaTodasLasDeudasDelDeclaranteYEntidad)
{
    nEntidad = 1;
    DeudaPrueba d;
    d.sActC = QStringLiteral("1234.6");
    InsertaDeuda(db(), "TMP_F0913DEUDAS", d);
    d.sNumDoc = QStringLiteral("2");
    d.sIndTipDeu = QStringLiteral("05");
    d.vAcog = QVariant();
    d.sActC = QStringLiteral("1000");
    InsertaDeuda(db(), "TMP_F0913DEUDAS", d);
    d.nSemana = 2; // another entity
    InsertaDeuda(db(), "TMP_F0913DEUDAS", d);
    EXPECT_EQ(CalculaDeudaAcogida("20100070970"), "2,235");
}

TEST_F(DeudaAcogidaTest, SinDeudasMuestraCero)
{
    nEntidad = 1;
    EXPECT_EQ(CalculaDeudaAcogida("20100070970"), "0");
}

} // namespace
