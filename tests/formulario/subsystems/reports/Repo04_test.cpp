#include "formulario/subsystems/reports/Repo04.h"

#include "formulario/core/ModGen00.h"
#include "formulario/core/TablaArchivos.h"
#include "formulario/subsystems/reports/DeclaracionImpresa.h"
#include "formulario/markup/ImpLinea.h"
#include "platform/database.h"
#include "platform/dberror.h"
#include "platform/printer.h"
#include "tests/support/PdfLectura.h"
#include "tests/support/ReporteTest.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The boxes of a declaration of entity 1 that plans deferral and instalments.
void LlenaCasillasTesoro()
{
    aCasilla[28] = QStringLiteral("4445555");
    aCasilla[500] = QStringLiteral("1234567");
    aCasilla[501] = QStringLiteral("2");
    aCasilla[502] = QStringLiteral("3");
    aCasilla[503] = QStringLiteral("12");
    aCasilla[504] = QStringLiteral("98765.5");
    aCasilla[505] = QStringLiteral("8021");
    aCasilla[506] = QStringLiteral("1");
    aCasilla[535] = QStringLiteral("20000");
    aCasilla[541] = QStringLiteral("15/03/2010");
    aCasilla[545] = QStringLiteral("1");
    aCasilla[551] = QStringLiteral("111");
    sModalidad = QStringLiteral("Aplaz. con fracc.");
}

// The sheet's lines from the payment table's first label on.
QStringList FilasDePago(const QStringList& lineas)
{
    const int nInicio = lineas.indexOf(QStringLiteral("pPos|300|2880|Entidad|False|8|0|"));
    EXPECT_GE(nInicio, 0);
    return lineas.mid(nInicio);
}

// One row of the payment table: its label, its box (none where the value
// stands alone) and where its value starts.
struct FilaPago {
    int nY;
    const char* sEtiqueta;
    const char* sCasilla;
    int nXValor;
};

const FilaPago kFilasTesoro[] = {
    {3150, "Deuda acogida", "500", 9275},
    {3420, "Forma de pago", "501", 9275},
    {3690, "Número de meses de aplazamiento", "502", 9275},
    {3960, "Número de cuotas de fraccionamiento", "503", 9275},
    {4230, "Monto de la cuota de fraccionamiento", "504", 9275},
    {4500, "Código de tributo", "505", 9275},
    {4770, "Garantía de deuda", "506", 9275},
    {5040, "Cuota de acogimiento", "535", 9275},
    {5310, "Tipo de garantía", nullptr, 3275},
    {5580, "¿Tiene empresas fusionadas y/o absorbidas?", nullptr, 9275},
    {6120, "Fecha de actualización", nullptr, 9275},
};

// The payment table of entity 1 (TESORO) as the sheet writes it, from its
// first label on, with `valores` as the texts of its rows in order.
QStringList TablaDePagoTesoro(const QStringList& valores)
{
    QStringList lineas{"pPos|300|2880|Entidad|False|8|0|", "pPos|9800|2880|TESORO|True|8|0|"};
    EXPECT_EQ(valores.size(), std::size(kFilasTesoro));
    for (size_t i = 0; i < std::size(kFilasTesoro); ++i) {
        const FilaPago& fila = kFilasTesoro[i];
        lineas << QStringLiteral("pPos|300|%1|%2|False|8|0|").arg(fila.nY).arg(QString::fromUtf8(fila.sEtiqueta));
        if (fila.sCasilla)
            lineas << QStringLiteral("pPos|8775|%1|%2|False|8|0|").arg(fila.nY).arg(QString::fromLatin1(fila.sCasilla));
        lineas << QStringLiteral("pPos|%1|%2|%3|False|8|0|").arg(fila.nXValor).arg(fila.nY).arg(valores.value(qsizetype(i)));
    }
    return lineas;
}

class Repo04Test : public ReporteTest {};

TEST_F(Repo04Test, TheFormSheetAloneIsPageZeroLineByLine)
{
    LlenaCasillasTesoro();
    nUltPagina = 4; // left by an earlier report
    ImprimeDeclaracion(EleccionReporte{}, 6);
    QStringList esperadas{
        "<!font!>Courier New<!/font!>",
        "<!Orientacion!>V<!/Orientacion!>",
        "<!Color!>&H00FFFFC0&<!/Color!>",
        "pPos|300|350|ALCOR|True|16|0|",
        "pPos|550|1330|0913|True|12|0|",
        "pCuadro|150|300|1700|1640|0|",
        "pPos|1760|400|REGIMEN DE REPROGRAMACION DE DEUDAS|True|9|0|",
        "pCuadro|1700|300|8500|1100|0|",
        "pPos|1750|1170|RUC|False|8|0|",
        "pPos|3150|1170|20100070970|True|8|0|",
        "pCuadro|3100|1100|11000|1370|0|",
        "pCuadro|8500|1100|11000|1370|0|",
        "pPos|9030|1170|TELEFONO|False|8|0|",
        "pPos|9030|1440|4445555|False|8|0|",
        "pPos|1750|1450|RAZÓN SOCIAL|False|8|0|",
        "pPos|3150|1450|COMERCIAL PEÑA HERMANOS S.A.C.|True|8|0|",
        "pCuadro|1700|1370|3100|1640|0|",
        "pCuadro|3100|1370|8500|1640|0|",
        "pPos|9000|400|Copia para el|False|8|0|",
        "pPos|9000|700|Contribuyente (1)|False|8|0|",
        "pCuadro|8500|300|11000|1100|0|",
        "pCuadro|8500|1100|11000|1640|0|",
        "pCuadro|150|2820|11000|3090|0|", "pCuadro|8675|2820|8675|3090|0|",
        "pCuadro|150|3090|11000|3360|0|", "pCuadro|8675|3090|8675|3360|0|", "pCuadro|9175|3090|9175|3360|0|",
        "pCuadro|150|3360|11000|3630|0|", "pCuadro|8675|3360|8675|3630|0|", "pCuadro|9175|3360|9175|3630|0|",
        "pCuadro|150|3630|11000|3900|0|", "pCuadro|8675|3630|8675|3900|0|", "pCuadro|9175|3630|9175|3900|0|",
        "pCuadro|150|3900|11000|4170|0|", "pCuadro|8675|3900|8675|4170|0|", "pCuadro|9175|3900|9175|4170|0|",
        "pCuadro|150|4170|11000|4440|0|", "pCuadro|8675|4170|8675|4440|0|", "pCuadro|9175|4170|9175|4440|0|",
        "pCuadro|150|4440|11000|4710|0|", "pCuadro|8675|4440|8675|4710|0|", "pCuadro|9175|4440|9175|4710|0|",
        "pCuadro|150|4710|11000|4980|0|", "pCuadro|8675|4710|8675|4980|0|", "pCuadro|9175|4710|9175|4980|0|",
        "pCuadro|150|4980|11000|5250|0|", "pCuadro|8675|4980|8675|5250|0|", "pCuadro|9175|4980|9175|5250|0|",
        "pCuadro|150|5250|11000|5520|0|",
        "pCuadro|150|5520|11000|5790|0|", "pCuadro|8675|5520|8675|5790|0|", "pCuadro|9175|5520|9175|5790|0|",
        "pCuadro|150|6060|11000|6330|0|", "pCuadro|8675|6060|8675|6330|0|",
        "pCuadro|150|2470|11000|2815|0|",
        "pPos|300|2540|MODALIDAD DE PAGO|True|10|0|",
    };
    esperadas << TablaDePagoTesoro({Blancos(7) + "1,234,567", "Aplaz. con fracc.", Blancos(15) + "3",
                                    Blancos(14) + "12", Blancos(10) + "98,766", Blancos(12) + "8021",
                                    Blancos(14) + "SI", Blancos(10) + "20,000",
                                    Blancos(6) + "- Carta fianza - Hipoteca - Garantía mobiliaria",
                                    Blancos(6) + "SI", Blancos(6) + "15/03/2010"})
              << "<!nHojas!>1<!/nHojas!>";
    EXPECT_EQ(LineasReporte(), esperadas);
    EXPECT_EQ(nPagina, 0);
    EXPECT_EQ(AbreNumero(nArchivo, sArchivo, modoArchivo::Salida), 0); // it was closed
}

// Each entity shows its own block of boxes, initial-instalment box, name and
// guarantee types; the modality text is the print dialog's.
TEST_F(Repo04Test, EachEntityAndModalityShowsItsOwnBoxes)
{
    struct Caso {
        int nEntidad;
        int b, c, g;
        const char* sNombre;
        const char* sModalidad;
        const char* sMeses;
        const char* sTipos;
        const char* sGarantias;
    };
    const Caso casos[] = {
        {2, 507, 536, 560, "ESSALUD", "Fraccionamiento", "0", "010", "- Hipoteca "},
        {3, 514, 537, 570, "ONP", "Aplazamiento", "6", "001", "- Garantía mobiliaria"},
        {5, 521, 538, 580, "FONAVI", "Aplaz. con fracc.", "4", "110", "- Carta fianza - Hipoteca "},
        {8, 528, 539, 590, "FONCOMUN", "Fraccionamiento", "0", "000", ""},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nEntidad);
        BorraArray();
        nEntidad = caso.nEntidad;
        sModalidad = QString::fromUtf8(caso.sModalidad);
        aCasilla[caso.b] = QStringLiteral("1500");
        aCasilla[caso.b + 2] = QString::fromLatin1(caso.sMeses);
        aCasilla[caso.b + 6] = QStringLiteral("0");
        aCasilla[caso.c] = QStringLiteral("0");
        aCasilla[caso.g + 1] = QString::fromLatin1(caso.sTipos);
        ImprimeDeclaracion(EleccionReporte{}, 6);
        const QStringList filas = FilasDePago(LineasReporte());
        ASSERT_EQ(filas.size(), 33);
        EXPECT_EQ(filas[1], QStringLiteral("pPos|9800|2880|%1|True|8|0|").arg(QString::fromLatin1(caso.sNombre)));
        EXPECT_EQ(filas[3], QStringLiteral("pPos|8775|3150|%1|False|8|0|").arg(caso.b));
        EXPECT_EQ(filas[4], "pPos|9275|3150|" + Blancos(11) + "1,500|False|8|0|");
        EXPECT_EQ(filas[7], QStringLiteral("pPos|9275|3420|%1|False|8|0|").arg(QString::fromUtf8(caso.sModalidad)));
        const QString sMeses = QString::fromLatin1(caso.sMeses) == QLatin1String("0") ? Blancos(16)
                                                                                     : Blancos(15) + caso.sMeses;
        EXPECT_EQ(filas[10], "pPos|9275|3690|" + sMeses + "|False|8|0|");
        EXPECT_EQ(filas[22], "pPos|9275|4770|" + Blancos(14) + "NO|False|8|0|");
        EXPECT_EQ(filas[23], QStringLiteral("pPos|300|5040|Cuota de acogimiento|False|8|0|"));
        EXPECT_EQ(filas[24], QStringLiteral("pPos|8775|5040|%1|False|8|0|").arg(caso.c));
        EXPECT_EQ(filas[25], "pPos|9275|5040|" + Blancos(15) + "0|False|8|0|");
        EXPECT_EQ(filas[27], "pPos|3275|5310|" + Blancos(6) + QString::fromUtf8(caso.sGarantias) + "|False|8|0|");
        EXPECT_EQ(filas[29], "pPos|9275|5580|" + Blancos(6) + "NO|False|8|0|");
        EXPECT_EQ(filas[32], QStringLiteral("<!nHojas!>1<!/nHojas!>"));
    }
}

TEST_F(Repo04Test, EmptyBoxesGiveBlankValues)
{
    ImprimeDeclaracion(EleccionReporte{}, 6);
    const QStringList filas = FilasDePago(LineasReporte());
    ASSERT_EQ(filas.size(), 33);
    EXPECT_EQ(filas[4], "pPos|9275|3150|" + Blancos(16) + "|False|8|0|");
    EXPECT_EQ(filas[7], QStringLiteral("pPos|9275|3420||False|8|0|"));
    EXPECT_EQ(filas[22], QStringLiteral("pPos|9275|4770||False|8|0|"));
    EXPECT_EQ(filas[27], "pPos|3275|5310|" + Blancos(6) + "|False|8|0|");
    EXPECT_EQ(filas[31], "pPos|9275|6120|" + Blancos(6) + "|False|8|0|");
}

TEST_F(Repo04Test, AnUnknownEntityPrintsItsLabelsWithoutBoxesAndNoGuaranteeAnnex)
{
    LlenaCasillasTesoro();
    nEntidad = 4;
    EleccionReporte eleccion;
    eleccion.bCartaFianza = true;
    eleccion.bHipoteca = true;
    ImprimeDeclaracion(eleccion, 6);
    const QStringList lineas = LineasReporte();
    const QStringList filas = FilasDePago(lineas);
    EXPECT_FALSE(lineas.join(u'\n').contains(QStringLiteral("pPos|8775|")));
    EXPECT_EQ(filas[1], QStringLiteral("pPos|9800|2880||True|8|0|"));
    EXPECT_EQ(filas[3], "pPos|9275|3150|" + Blancos(16) + "|False|8|0|");
    EXPECT_EQ(filas[5], QStringLiteral("pPos|9275|3420|Aplaz. con fracc.|False|8|0|"));
    EXPECT_EQ(filas[15], QStringLiteral("pPos|9275|4770||False|8|0|"));
    EXPECT_EQ(filas[19], "pPos|3275|5310|" + Blancos(6) + "|False|8|0|");
    EXPECT_FALSE(lineas.contains(QStringLiteral("pNuevaHoja")));
    EXPECT_EQ(lineas.last(), QStringLiteral("<!nHojas!>1<!/nHojas!>"));
}

TEST_F(Repo04Test, AGuaranteeAnnexTheDeclarationDoesNotNameIsLeftOutAndTheCountIsThisReportsOwn)
{
    LlenaCasillasTesoro();
    aCasilla[551] = QStringLiteral("001");
    nUltPagina = 7; // left by an earlier report
    EleccionReporte eleccion;
    eleccion.bCartaFianza = true;
    eleccion.bHipoteca = true;
    ImprimeDeclaracion(eleccion, 6);
    const QStringList lineas = LineasReporte();
    EXPECT_FALSE(lineas.contains(QStringLiteral("pNuevaHoja")));
    EXPECT_EQ(lineas.last(), QStringLiteral("<!nHojas!>1<!/nHojas!>"));
}

TEST_F(Repo04Test, AnnexesFollowTheSheetInTheirOrderAndThePageCountIsLast)
{
    LlenaCasillasTesoro();
    EleccionReporte eleccion;
    eleccion.bAcogidos = eleccion.bNoAcogidos = eleccion.bOtras = true;
    eleccion.bCartaFianza = eleccion.bHipoteca = true;
    ImprimeDeclaracion(eleccion, 6);
    const QStringList lineas = LineasReporte();
    QStringList titulos;
    for (const QString& sLinea : lineas) {
        if (sLinea.contains(QLatin1String("|True|14|")) || sLinea.contains(QLatin1String("|REPORTE DE REQUERIMIENTO")))
            titulos << sLinea.section(u'|', 3, 3) + u'@' + sLinea.section(u'|', 6, 6);
    }
    EXPECT_EQ(titulos, (QStringList{"RESOLUCIONES - ACOGIDOS@1", "RESOLUCIONES - NO ACOGIDOS@2",
                                    "OTRAS RESOLUCIONES - RESOLUCIONES@3", "REPORTE DE REQUERIMIENTO DE CARTA FIANZA@4",
                                    "REPORTE DE REQUERIMIENTO DE HIPOTECA@5"}));
    EXPECT_EQ(lineas.count(QStringLiteral("pNuevaHoja")), 5);
    EXPECT_EQ(lineas.last(), QStringLiteral("<!nHojas!>6<!/nHojas!>"));
}

TEST_F(Repo04Test, WithoutTheSheetTheFirstAnnexOpensTheFile)
{
    EleccionReporte eleccion;
    eleccion.bDeclaracion = false;
    eleccion.bOtras = true;
    ImprimeDeclaracion(eleccion, 6);
    const QStringList lineas = LineasReporte();
    ASSERT_GE(lineas.size(), 4);
    EXPECT_EQ(lineas.mid(0, 4), (QStringList{"<!font!>Courier New<!/font!>", "<!Orientacion!>V<!/Orientacion!>",
                                             "<!Color!>&H00FFFFC0&<!/Color!>", "pPos|400|350|ALCOR|True|16|0|"}));
    EXPECT_FALSE(lineas.contains(QStringLiteral("pNuevaHoja")));
    EXPECT_EQ(lineas.last(), QStringLiteral("<!nHojas!>1<!/nHojas!>"));
}

TEST_F(Repo04Test, ASentDeclarationPrintsItsOwnBoxesAndDebts)
{
    bEnviadas = true;
    sCorrel = QStringLiteral("002");
    const std::pair<const char*, const char*> casillas[] = {
        {"500", "2500000"}, {"501", "1"}, {"502", "6"}, {"503", "0"}, {"504", "0"}, {"505", "8021"},
        {"506", "1"}, {"535", "0"}, {"541", "20/04/2010"}, {"545", "0"}, {"551", "100"}};
    for (const auto& [sCasilla, sValor] : casillas)
        db().execute(QStringLiteral("INSERT INTO HDET (tip_doc_d, doc_id_d, periodo, formulario, Semana, Correl, "
                                    "Casilla, i_valor) VALUES (6, ?, ?, '0913', 1, '002', ?, ?)"),
                     {sRuc, sPeriodo, QString::fromLatin1(sCasilla), QString::fromLatin1(sValor)});
    db().execute(QStringLiteral("INSERT INTO HDET (tip_doc_d, doc_id_d, periodo, formulario, Semana, Correl, "
                                "Casilla, i_valor) VALUES (6, ?, ?, '0913', 1, '001', '500', '111')"),
                 {sRuc, sPeriodo});
    DeudaReporte deuda;
    deuda.sNumDoc = QStringLiteral("0230010012345");
    deuda.vActC = QStringLiteral("2500000");
    InsertaDeuda(deuda, QStringLiteral("002"));
    deuda.sNumDoc = QStringLiteral("0230010099999");
    InsertaDeuda(deuda, QStringLiteral("001"));
    LeeCasillas(6, sRuc);
    EleccionReporte eleccion;
    eleccion.bAcogidos = true;
    ImprimeDeclaracion(eleccion, 6);
    const QStringList lineas = LineasReporte();
    const QStringList esperadas
        = TablaDePagoTesoro({Blancos(7) + "2,500,000", "Aplazamiento", Blancos(15) + "6", Blancos(16),
                             Blancos(15) + "0", Blancos(12) + "8021", Blancos(14) + "SI", Blancos(15) + "0",
                             Blancos(6) + "- Carta fianza ", Blancos(6) + "NO", Blancos(6) + "20/04/2010"})
          + QStringList{"pNuevaHoja"};
    EXPECT_EQ(FilasDePago(lineas).mid(0, esperadas.size()), esperadas);
    const QString sTexto = lineas.join(u'\n');
    EXPECT_TRUE(sTexto.contains(QLatin1String(" 0230010012345 ")));
    EXPECT_FALSE(sTexto.contains(QLatin1String("0230010099999")));
    EXPECT_TRUE(sTexto.contains(QLatin1String("Cantidad total de registros  : 1")));
    EXPECT_EQ(lineas.last(), QStringLiteral("<!nHojas!>2<!/nHojas!>"));
}

TEST_F(Repo04Test, AFileThatCannotBeCreatedRaisesItsFileError)
{
    sArchivo = paths().sysPath + QStringLiteral("no/existe/00000003.PRN");
    try {
        ImprimeDeclaracion(EleccionReporte{}, 6);
        FAIL() << "the report was written";
    } catch (const platform::DbError& err) {
        EXPECT_EQ(err.number(), errorArchivo::RutaNoExiste);
    }
}

TEST_F(Repo04Test, APrintedReportHasOnePageForEachPageOfTheFileInItsOrientation)
{
    QTemporaryDir dirPdf;
    const QString sPdf = dirPdf.filePath(QStringLiteral("impreso.pdf"));
    platform::PrintJob::setPdfOutputForTesting(sPdf);
    LlenaCasillasTesoro();
    DeudaReporte deuda;
    deuda.sNumDoc = QStringLiteral("0230010012345");
    deuda.vActC = QStringLiteral("1000");
    InsertaDeuda(deuda);
    InsertaGarantia(QStringLiteral("1000"), QStringLiteral("1050"));
    EleccionReporte eleccion;
    eleccion.bAcogidos = eleccion.bOtras = eleccion.bCartaFianza = true;
    ImprimeDeclaracion(eleccion, 6);
    EXPECT_TRUE(MuestraReporte(QStringLiteral("00000001.PRN"), QStringLiteral("xx")));
    platform::PrintJob::setPdfOutputForTesting({});
    const QList<PdfHoja> hojas = LeePdf(sPdf);
    ASSERT_EQ(hojas.size(), 4);
    EXPECT_FALSE(hojas[0].apaisada());
    EXPECT_TRUE(hojas[1].apaisada());
    EXPECT_FALSE(hojas[2].apaisada());
    EXPECT_FALSE(hojas[3].apaisada());
    EXPECT_NE(hojas[0].busca(QStringLiteral("MODALIDAD")), nullptr);
    EXPECT_NE(hojas[3].busca(QStringLiteral("FIANZA")), nullptr);
    EXPECT_EQ(oPreview, nullptr);
}

} // namespace
