#include "formulario/markup/ImpLinea.h"

#include "formulario/core/TablaArchivos.h"
#include "platform/dberror.h"
#include "platform/textfile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A report file open for output with the writer state a producer sets.
class ImpLineaTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sRuta = dir.filePath(QStringLiteral("00000001.PRN"));
        nArchivo = FreeFile();
        ASSERT_EQ(AbreNumero(nArchivo, sRuta, modoArchivo::Salida), 0);
        sSalida = kSalidaArchivo;
        nLinea = 0;
        nPagina = 1;
        nFila = 0;
        nLargoPag = 0;
        sLineaRep.clear();
    }
    void TearDown() override { CierraArchivo(nArchivo); }

    QStringList lineas()
    {
        CierraArchivo(nArchivo);
        QStringList escritas;
        EXPECT_TRUE(platform::readTextLines(sRuta, &escritas));
        return escritas;
    }

    QTemporaryDir dir;
    QString sRuta;
};

TEST_F(ImpLineaTest, PlainLineBecomesATextAtTheNextRowOnThePreviousPageIndex)
{
    nPagina = 3;
    nFila = 350;
    QString sLinea = QStringLiteral("  RESUMEN");
    ImprimeLinea(sLinea);
    EXPECT_EQ(sLinea, QStringLiteral("pPos|10|525|  RESUMEN|False|8|2|"));
    EXPECT_EQ(lineas(), QStringList{QStringLiteral("pPos|10|525|  RESUMEN|False|8|2|")});
    EXPECT_EQ(nLinea, 1);
}

TEST_F(ImpLineaTest, EmptyLineIsATextWithNothingInIt)
{
    QString sLinea;
    ImprimeLinea(sLinea);
    EXPECT_EQ(lineas(), QStringList{QStringLiteral("pPos|10|175||False|8|0|")});
}

TEST_F(ImpLineaTest, PageBreaksAfterTheLastLineThePageLengthAllows)
{
    struct Caso { int nLargo; int nLineas; };
    for (const Caso caso : {Caso{0, 85}, Caso{82, 85}, Caso{83, 83}, Caso{104, 83}}) {
        SCOPED_TRACE(caso.nLargo);
        CierraArchivo(nArchivo);
        ASSERT_EQ(AbreNumero(nArchivo, sRuta, modoArchivo::Salida), 0);
        nLargoPag = caso.nLargo;
        nPagina = 1;
        nLinea = 0;
        nFila = 0;
        for (int i = 0; i <= caso.nLineas; ++i) {
            QString sLinea = QStringLiteral("x");
            ImprimeLinea(sLinea);
        }
        const QStringList escritas = lineas();
        ASSERT_EQ(escritas.size(), caso.nLineas + 2);
        EXPECT_EQ(escritas[caso.nLineas - 1].section(u'|', 6, 6), QStringLiteral("0"));
        EXPECT_EQ(escritas[caso.nLineas], QStringLiteral("pNuevaHoja"));
        EXPECT_EQ(escritas[caso.nLineas + 1].section(u'|', 6, 6), QStringLiteral("1"));
        EXPECT_EQ(nPagina, 2);
        EXPECT_EQ(nLinea, 1);
    }
}

TEST_F(ImpLineaTest, AfterPageOneOnlyTheOrientationTagsPassAndOnlyWhileTheBufferHoldsOne)
{
    nPagina = 2;
    QString sColor = kTagColor;
    ImprimeLinea(sColor);
    EXPECT_EQ(nLinea, 0);
    sLineaRep = kTagHorizontal;
    ImprimeLinea(sLineaRep);
    EXPECT_EQ(nLinea, 1);
    EXPECT_EQ(lineas(), QStringList{QStringLiteral("<!Orientacion!>H<!/Orientacion!>")});
}

TEST_F(ImpLineaTest, TagLinesPassOnTheFirstPageWhateverTheBuffer)
{
    nPagina = 0;
    QString sFuente = kTagFuente;
    QString sColor = kTagColor;
    ImprimeLinea(sFuente);
    ImprimeLinea(sColor);
    EXPECT_EQ(lineas(), (QStringList{QStringLiteral("<!font!>Courier New<!/font!>"),
                                     QStringLiteral("<!Color!>&H00FFFFC0&<!/Color!>")}));
}

TEST_F(ImpLineaTest, TextCommandCarriesItsFieldsEachFollowedByABar)
{
    ImprimeTexto(3500, 1200, QStringLiteral("Fecha de Presentación"), true, 8, 0);
    ImprimeTexto(-20, 0, QStringLiteral("º"), false, 10, 4);
    EXPECT_EQ(lineas(), (QStringList{QStringLiteral("pPos|3500|1200|Fecha de Presentación|True|8|0|"),
                                     QStringLiteral("pPos|-20|0|º|False|10|4|")}));
}

TEST_F(ImpLineaTest, ABarInsideATextIsReplacedSoTheFieldsStayInPlace)
{
    ImprimeTexto(100, 200, QStringLiteral("A|B"), false, 8, 0);
    QString sLinea = QStringLiteral("C|D");
    ImprimeLinea(sLinea);
    EXPECT_EQ(lineas(), (QStringList{QStringLiteral("pPos|100|200|A¦B|False|8|0|"),
                                     QStringLiteral("pPos|10|175|C¦D|False|8|0|")}));
}

TEST_F(ImpLineaTest, TextWriterPassesAPageBreakAndTagsOfPageOneOnly)
{
    nPagina = 2;
    nLinea = 7;
    ImprimeTexto(0, 0, QStringLiteral("pNuevaHoja"), false, 8, 1);
    ImprimeTexto(0, 0, kTagVertical, false, 8, 1);
    EXPECT_EQ(nPagina, 2);
    EXPECT_EQ(nLinea, 7);
    nPagina = 1;
    ImprimeTexto(0, 0, kTagVertical, false, 8, 0);
    EXPECT_EQ(lineas(), (QStringList{QStringLiteral("pNuevaHoja"), QStringLiteral("<!Orientacion!>V<!/Orientacion!>")}));
}

TEST_F(ImpLineaTest, RectangleCommand)
{
    ImprimeCuadro(100, 200, 11000, 900, 1);
    EXPECT_EQ(lineas(), QStringList{QStringLiteral("pCuadro|100|200|11000|900|1|")});
}

TEST_F(ImpLineaTest, NewSheetWritesTheBreakAndOrientationAndStartsTheLineCountAgain)
{
    nPagina = 5;
    nLargoPag = 104;
    nLinea = 82; // one more counted line would break the page
    ImprimeNuevaHoja(kTagHorizontal);
    EXPECT_EQ(nLinea, 1);
    EXPECT_EQ(nPagina, 5);
    EXPECT_EQ(lineas(), (QStringList{QStringLiteral("pNuevaHoja"), QStringLiteral("<!Orientacion!>H<!/Orientacion!>")}));
}

TEST_F(ImpLineaTest, NothingIsWrittenOutsideTheFileMode)
{
    sSalida.clear();
    ImprimeCuadro(1, 2, 3, 4, 0);
    EXPECT_TRUE(lineas().isEmpty());
}

TEST_F(ImpLineaTest, AWriteToAClosedFileRaisesAnError)
{
    CierraArchivo(nArchivo);
    EXPECT_THROW(ImprimeCuadro(1, 2, 3, 4, 0), platform::DbError);
}

} // namespace
