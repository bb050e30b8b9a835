#include "formulario/subsystems/reports/AnexoGarantia.h"

#include "formulario/core/ModGen00.h"
#include "formulario/subsystems/reports/DeclaracionImpresa.h"
#include "formulario/subsystems/reports/Repo04.h"
#include "tests/support/ReporteTest.h"

#include <gtest/gtest.h>

namespace {

class AnexoGarantiaTest : public ReporteTest {
protected:
    void SetUp() override
    {
        ReporteTest::SetUp();
        aCasilla[541] = QStringLiteral("15/03/2010");
        aCasilla[551] = QStringLiteral("110");
    }

    QStringList SoloGarantia(bool bCartaFianza)
    {
        EleccionReporte eleccion;
        eleccion.bDeclaracion = false;
        eleccion.bCartaFianza = bCartaFianza;
        eleccion.bHipoteca = !bCartaFianza;
        ImprimeDeclaracion(eleccion, 6);
        return LineasReporte();
    }

    void InsertaDeudaAceptada(const QString& sNumDoc, const QString& sActC)
    {
        DeudaReporte deuda;
        deuda.sNumDoc = sNumDoc;
        deuda.sCodTri = QStringLiteral("080201");
        deuda.vActC = sActC;
        deuda.vTributoC = sActC;
        InsertaDeuda(deuda);
    }
};

TEST(NombreMesTest, NamesTheTwelveMonthsAndNothingElse)
{
    const std::pair<int, const char*> casos[] = {{0, ""}, {1, "Enero"}, {6, "Junio"}, {9, "Setiembre"},
                                                 {12, "Diciembre"}, {13, ""}};
    for (const auto& [nMes, sNombre] : casos)
        EXPECT_EQ(NombreMes(nMes), QString::fromLatin1(sNombre)) << nMes;
    EXPECT_EQ(LineaFechaGarantia(QDate(2026, 6, 9)), QStringLiteral("    , 9 de Junio de 2026"));
}

TEST_F(AnexoGarantiaTest, TheGuaranteeAmountFollowsTheKindAndTheModality)
{
    struct Caso { bool bCartaFianza; const char* sModalidad; const char* sInicial; const char* sTotal; QString sImporte; };
    const Caso casos[] = {
        {true, "2", "20", "100", Blancos(61) + "105.00"},
        {false, "2", "20", "100", Blancos(61) + "140.00"},
        {true, "0", "20.00", "100", Blancos(62) + "84.00"},
        {true, "1", "20", "100", Blancos(62) + "84.00"},
        {true, "0", "", "100", Blancos(61) + "105.00"},
        {true, "2", "", "10.50", Blancos(62) + "11.00"},
        {true, "0", "20", "0", Blancos(63) + "0.00"},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(std::string(caso.sModalidad) + " " + caso.sInicial + " " + caso.sTotal);
        db().execute(QStringLiteral("DELETE FROM F0913DEUDAS"));
        aCasilla[501] = QString::fromLatin1(caso.sModalidad);
        aCasilla[535] = QString::fromLatin1(caso.sInicial);
        InsertaDeudaAceptada(QStringLiteral("0230010012345"), QString::fromLatin1(caso.sTotal));
        const QStringList lineas = SoloGarantia(caso.bCartaFianza);
        EXPECT_TRUE(lineas.contains("pPos|4630|3630|" + caso.sImporte + "|False|8|0|")) << lineas.join(u'\n').toStdString();
    }
}

TEST_F(AnexoGarantiaTest, ALetterOfGuaranteeListsItsDebtsTotalAndInstructions)
{
    aCasilla[501] = QStringLiteral("2");
    InsertaDeudaAceptada(QStringLiteral("0230010012345"), QStringLiteral("1000"));
    const QStringList lineas = SoloGarantia(true);
    const int nInicio = lineas.indexOf(QStringLiteral("pCuadro|290|2550|12100|3090|0|"));
    ASSERT_GE(nInicio, 0);
    const QStringList esperadas{
        "pCuadro|290|2550|12100|3090|0|",
        "pPos|300|2550|N° del valor     Período     Tributo / Concepto" + Blancos(26)
            + "Monto actualizado al: 15/03/2010|True|8|0|",
        "pPos|300|2820|resolución       Mes  Año Código  Denominación" + Blancos(24)
            + "Tributo/Multa       Interés          Total|True|8|0|",
        "pPos|300|3090|0230010012345     12  2009 8021   RESOLUCIÓN EN COBRANZA - REPRO " + Blancos(10)
            + "1,000.00 " + Blancos(14) + " " + Blancos(6) + "1,000.00|False|8|0|",
        "pCuadro|290|3360|12100|3900|0|",
        "pPos|6800|3390|Total   :|False|8|0|",
        "pPos|4260|3360|" + Blancos(53) + Blancos(10) + "1,000.00|False|8|0|",
        "pPos|6800|3660|Importe de la Carta Fianza:|False|8|0|",
        "pPos|4630|3630|" + Blancos(50) + Blancos(9) + "1,050.00|False|8|0|",
        "pPos|300|3930|La carta fianza se debe entregar dentro de los diez (10) días hábiles siguientes de presentada "
        "la solicitud |False|8|0|",
        "pPos|300|4200|de acogimiento, en los lugares establecidos en el numeral 6.2 del artículo 2° del Reglamento de "
        "Aplazamiento |False|8|0|",
        "pPos|300|4470|y/o Fraccionamiento del Art. 36° del Código Tributario. |False|8|0|",
        "<!nHojas!>1<!/nHojas!>",
    };
    EXPECT_EQ(lineas.mid(nInicio), esperadas);
}

TEST_F(AnexoGarantiaTest, AMortgageWithoutDebtsIsTitledHipotecaAndDeferralAloneIsNamedSo)
{
    aCasilla[501] = QStringLiteral("1");
    const QStringList esperadas{
        "<!font!>Courier New<!/font!>",
        "<!Orientacion!>V<!/Orientacion!>",
        "<!Color!>&H00FFFFC0&<!/Color!>",
        "pPos|2240|400|REPORTE DE REQUERIMIENTO DE HIPOTECA|True|9|0|",
        "pPos|300|670|" + LineaFechaGarantia(QDate::currentDate()) + "|False|9|0|",
        "pPos|300|940|RUC N.° 20100070970|False|9|0|",
        "pPos|300|1210|Razón social: COMERCIAL PEÑA HERMANOS S.A.C.|False|9|0|",
        "pPos|300|1480|Solicitud de acogimiento al Aplazamiento|False|9|0|",
        "pPos|300|1750|Fecha de presentación de la solicitud 15/03/2010|False|9|0|",
        "pPos|300|2020|Detalle de la deuda por la que solicita el acogimiento al Aplazamiento|False|9|0|",
        "pCuadro|290|2280|16000|2550|0|",
        "pPos|300|2280|HIPOTECA|True|8|0|",
        "pPos|300|2550|NO EXISTE INFORMACIÓN A DECLARAR|False|8|0|",
        "<!nHojas!>1<!/nHojas!>",
    };
    EXPECT_EQ(SoloGarantia(false), esperadas);
}

TEST_F(AnexoGarantiaTest, TheModalityOfTheHeaderFollowsThePlan)
{
    const std::pair<const char*, const char*> casos[] = {
        {"", "Fraccionamiento"}, {"0", "Fraccionamiento"}, {"1", "Aplazamiento"}, {"2", "Aplazamiento con fraccionamiento"}};
    for (const auto& [sValor, sTexto] : casos) {
        aCasilla[501] = QString::fromLatin1(sValor);
        EXPECT_TRUE(SoloGarantia(true).contains(
            QStringLiteral("pPos|300|1480|Solicitud de acogimiento al %1|False|9|0|").arg(QLatin1String(sTexto))))
            << sValor;
    }
}

TEST_F(AnexoGarantiaTest, ALongLetterOfGuaranteeRepeatsItsHeaderOnEveryPage)
{
    for (int i = 0; i < 40; ++i)
        InsertaDeudaAceptada(QStringLiteral("02300100%1").arg(i, 5, 10, QLatin1Char('0')), QStringLiteral("10"));
    const QStringList lineas = SoloGarantia(true);
    EXPECT_TRUE(lineas.contains(QStringLiteral("pPos|2240|400|REPORTE DE REQUERIMIENTO DE CARTA FIANZA|True|9|0|")));
    EXPECT_TRUE(lineas.contains(QStringLiteral("pPos|2240|400|REPORTE DE REQUERIMIENTO DE CARTA FIANZA|True|9|1|")));
    EXPECT_EQ(lineas.count(QStringLiteral("pNuevaHoja")), 1);
    const int nSalto = lineas.indexOf(QStringLiteral("pNuevaHoja"));
    EXPECT_EQ(lineas[nSalto + 1], QStringLiteral("<!Orientacion!>V<!/Orientacion!>"));
    EXPECT_TRUE(lineas.contains(QStringLiteral("pCuadro|290|2740|12100|3280|1|")));
    EXPECT_EQ(lineas.filter(QStringLiteral("|0230010000")).size(), 40);
    EXPECT_TRUE(lineas.contains("pPos|4260|4350|" + Blancos(53) + Blancos(12) + "400.00|False|8|1|"));
    EXPECT_EQ(lineas.last(), QStringLiteral("<!nHojas!>2<!/nHojas!>"));
}

TEST_F(AnexoGarantiaTest, TheGuaranteeRowIsLoadedWithEmptyAmountsAsZero)
{
    sIndGarantia = QStringLiteral("antes");
    CargaGarantiaReporte(6);
    EXPECT_EQ(sIndGarantia, QStringLiteral("antes"));
    InsertaGarantia(QVariant(), QStringLiteral(" 1050 "));
    CargaGarantiaReporte(6);
    EXPECT_EQ(sIndGarantia, QStringLiteral("100"));
    EXPECT_EQ(sIndPersona, QStringLiteral("J"));
    EXPECT_EQ(sMtoDeuda, QStringLiteral("0"));
    EXPECT_EQ(sMtoDeudaGarantia, QStringLiteral("1050"));
}

} // namespace
