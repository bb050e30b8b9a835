#include "reporte/ResumenEnvio.h"

#include <gtest/gtest.h>

using namespace reporte;

namespace {

TEST(FormatoMonto, RightAlignsTheGroupedWholeNumberAfterABlank)
{
    const struct { double nValor; const char* sEsperado; } casos[] = {
        {15000, "        15,000"},
        {0, "             0"},
        {999.5, "         1,000"},
        {1234.49, "         1,234"},
        {-2500.5, "        -2,501"},
        {-0.4, "             0"},
        {1234567890123.0, " 1,234,567,890,123"},
    };
    for (const auto& caso : casos)
        EXPECT_EQ(FormatoMonto(caso.nValor, 13), QString::fromLatin1(caso.sEsperado)) << caso.nValor;
}

TEST(RellenaIzquierda, PadsTheTrimmedTextOnTheLeft)
{
    EXPECT_EQ(RellenaIzquierda(" 12 ", 5, u' '), "   12");
    EXPECT_EQ(RellenaIzquierda("7", 3, u'0'), "007");
    EXPECT_EQ(RellenaIzquierda("123456", 4, u' '), "123456");
}

DatosResumen Datos()
{
    DatosResumen datos;
    datos.sDocumento = QStringLiteral("20100070970    ");
    datos.sPeriodoEnvio = QStringLiteral("201003");
    datos.sNomEntidad = QStringLiteral("ONP");
    datos.nCasillaBase = 514;
    datos.sNombre = QStringLiteral("CORPORACIÓN INDUSTRIAL Y COMERCIAL");
    return datos;
}

TEST(ResumenEnvio, IdentificationShowsTheFirstTwentyCharactersOfTheNameAndTheMonthFirst)
{
    EXPECT_EQ(LineasIdentificacion(Datos()), (QStringList{
                                                 "DOCUMENTO     :20100070970    ",
                                                 "RAZON SOCIAL  :CORPORACIÓN INDUSTRI",
                                                 "FORMULARIO    :0913-VRD Refinanc.",
                                                 "PERIODO       :03/2010",
                                                 "ENTIDAD       :ONP",
                                             }));
}

TEST(ResumenEnvio, FiguresAreShownOnlyForNumericBoxes)
{
    DatosResumen datos = Datos();
    datos.aCasillas[514] = QStringLiteral(" 1,500.75 ");
    datos.aCasillas[515] = QStringLiteral("0");
    datos.aCasillas[516] = QStringLiteral("DOS");
    datos.aCasillas[517] = QStringLiteral("24");
    datos.aCasillas[518] = QStringLiteral("1e3");
    datos.aCasillas[520] = QStringLiteral("0");
    // A box of another entity's block is not read.
    datos.aCasillas[500] = QStringLiteral("99");

    EXPECT_EQ(LineasCuerpo(datos), (QStringList{
                                       "====================================",
                                       "      CONCEPTOS           ONP",
                                       "====================================",
                                       "Monto deuda acogida:          1,501",
                                       "Forma de pago      : FRACCIONAMIENTO",
                                       "Nº de cuotas fracc.:             24",
                                       "Nº de meses aplaz. : ",
                                       "Monto cuota fracc. :          1,000",
                                       "Garantía de deudas :             NO",
                                       "====================================",
                                   }));
}

TEST(ResumenEnvio, PlainTextWritesABlankForTheEmptyLine)
{
    const QStringList texto = ResumenTexto(Datos());

    ASSERT_EQ(texto.size(), 16);
    EXPECT_EQ(texto[5], " ");
    EXPECT_EQ(texto[15], "====================================");
}

} // namespace
