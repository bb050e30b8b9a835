#include "formulario/subsystems/reports/LectorReporte.h"

#include "platform/printer.h"
#include "tests/support/PdfLectura.h"

#include <QPainter>
#include <QPaintEngine>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Tipo = ComandoReporte::Tipo;

TEST(LeeComando, TagsGiveTheirValueTrimmed)
{
    struct Caso { const char* sLinea; Tipo tipo; const char* sValor; };
    const Caso casos[] = {
        {"<!font!>Courier New<!/font!>", Tipo::Fuente, "Courier New"},
        {"<!nHojas!>12<!/nHojas!>", Tipo::NumeroHojas, "12"},
        {"<!Color!> &H00FFFFC0& <!/Color!>", Tipo::Color, "&H00FFFFC0&"},
        {"<!Orientacion!>H<!/Orientacion!>", Tipo::Orientacion, "H"},
        {"  pNuevaHoja", Tipo::NuevaHoja, ""},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.sLinea);
        const auto comando = LeeComando(QString::fromUtf8(caso.sLinea));
        ASSERT_TRUE(comando.has_value());
        EXPECT_EQ(comando->tipo, caso.tipo);
        EXPECT_EQ(comando->sValor, QString::fromUtf8(caso.sValor));
    }
}

TEST(LeeComando, TextKeepsItsBlanksAndReadsItsNumbersByTheLeadingNumberRule)
{
    const auto comando = LeeComando(QStringLiteral("pPos| 10x|175.5|  RESUMEN de envío |True|8|2|"));
    ASSERT_TRUE(comando.has_value());
    EXPECT_EQ(comando->tipo, Tipo::Texto);
    EXPECT_EQ(comando->X, 10);
    EXPECT_EQ(comando->Y, 176); // rounded half to even
    EXPECT_EQ(comando->sValor, QStringLiteral("  RESUMEN de envío "));
    EXPECT_TRUE(comando->bNegrita);
    EXPECT_EQ(comando->nTamano, 8);
    EXPECT_EQ(comando->nHoja, 2);
    EXPECT_FALSE(LeeComando(QStringLiteral("pPos|10|175|x|False|8|0|"))->bNegrita);
}

TEST(LeeComando, RectangleAndVerticalText)
{
    const auto cuadro = LeeComando(QStringLiteral("pCuadro|100|200|11000|900|1|"));
    ASSERT_TRUE(cuadro.has_value());
    EXPECT_EQ(cuadro->tipo, Tipo::Cuadro);
    EXPECT_EQ(QList<int>({cuadro->X, cuadro->Y, cuadro->X2, cuadro->Y2, cuadro->nHoja}),
              QList<int>({100, 200, 11000, 900, 1}));
    const auto vertical = LeeComando(QStringLiteral("pPosVerti|50|60|ABC|False|9|0|"));
    ASSERT_TRUE(vertical.has_value());
    EXPECT_EQ(vertical->tipo, Tipo::TextoVertical);
}

TEST(LeeComando, MalformedLinesAreSkipped)
{
    for (const char* sLinea : {"", "    ", "RESUMEN", "pTexto|1|2|", "pPos|10|175|sin campos", "pPos|10|175|x|Quizas|8|0|",
                               "pPos|40000|175|x|False|8|0|", "pPos|10|175|x|False|8|-1|", "pCuadro|1|2|3|4|",
                               "pCuadro|1|2|3|4|-2|"}) {
        SCOPED_TRACE(sLinea);
        EXPECT_FALSE(LeeComando(QString::fromUtf8(sLinea)).has_value());
    }
}

TEST(LeeColor, RgbLiteralsAndTheWindowBackground)
{
    EXPECT_EQ(LeeColor(QStringLiteral("&H00FFFFC0&")), QColor(0xC0, 0xFF, 0xFF));
    EXPECT_EQ(LeeColor(QStringLiteral("&H000000FF&")), QColor(0xFF, 0, 0));
    EXPECT_TRUE(LeeColor(QStringLiteral("&H80000005&")).has_value());
    EXPECT_FALSE(LeeColor(QStringLiteral("azul")).has_value());
    EXPECT_FALSE(LeeColor(QStringLiteral("&HZZ&")).has_value());
}

TEST(LeeHojasReporte, OnePageForEachIndexUpToTheHighestAndThePagesColour)
{
    const HojasReporte reporte = LeeHojasReporte({
        QStringLiteral("<!font!>Courier New<!/font!>"),
        QStringLiteral("<!Color!>&H00FFFFC0&<!/Color!>"),
        QStringLiteral("pPos|10|175|uno|False|8|0|"),
        QStringLiteral("pNuevaHoja"),
        QStringLiteral("<!Orientacion!>H<!/Orientacion!>"),
        QStringLiteral("pCuadro|1|2|3|4|3|"),
        QStringLiteral("pPos|10|175|roto|False|8|"),
        QStringLiteral("pPos|10|350|dos|False|8|0|"),
        QStringLiteral("<!nHojas!>4<!/nHojas!>"),
    });
    ASSERT_EQ(reporte.hojas.size(), 4);
    EXPECT_EQ(reporte.hojas[0].size(), 2);
    EXPECT_TRUE(reporte.hojas[1].isEmpty()); // created though no command names it
    EXPECT_TRUE(reporte.hojas[2].isEmpty());
    EXPECT_EQ(reporte.hojas[3].size(), 1);
    EXPECT_EQ(reporte.color, QColor(0xC0, 0xFF, 0xFF));
}

TEST(LeeHojasReporte, AFileWithoutDrawingsHasOneEmptyPage)
{
    const HojasReporte reporte = LeeHojasReporte({QStringLiteral("<!nHojas!>1<!/nHojas!>")});
    ASSERT_EQ(reporte.hojas.size(), 1);
    EXPECT_TRUE(reporte.hojas[0].isEmpty());
    EXPECT_EQ(reporte.color, QColor(Qt::white));
}

// A surface that counts the texts drawn on it.
class Contador : public QPaintDevice {
public:
    int Textos() const { return motor_.nTextos; }
    QPaintEngine* paintEngine() const override { return &motor_; }

protected:
    int metric(PaintDeviceMetric metrica) const override
    {
        switch (metrica) {
        case PdmWidth:
        case PdmHeight: return 1 << 24;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return platform::kTwipsPerInch;
        case PdmDepth: return 32;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        default: return 1;
        }
    }

private:
    struct Motor : QPaintEngine {
        Motor() : QPaintEngine(AllFeatures) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawTextItem(const QPointF&, const QTextItem&) override { ++nTextos; }
        Type type() const override { return User; }
        int nTextos = 0;
    };
    mutable Motor motor_;
};

int TextosDibujados(const QString& sLinea, const QRectF& zona)
{
    Contador superficie;
    QPainter painter(&superficie);
    DibujaComando(painter, *LeeComando(sLinea), zona);
    painter.end();
    return superficie.Textos();
}

TEST(DibujaComando, WithinAZoneOnlyWhatMayReachIntoItIsDrawn)
{
    // Characters of 8 points (at most 320 twips high), one every 190 twips
    // from y 1000: on a letter-size page, characters 0 to 78.
    const QString sVertical = QStringLiteral("pPosVerti|500|1000|%1|False|8|0|").arg(QString(100000, u'A'));
    const QRectF pagina(0, 0, 12240, 15840);
    EXPECT_EQ(TextosDibujados(sVertical, pagina), 79);
    // From y 100000 to 101000: characters 520 to 526.
    EXPECT_EQ(TextosDibujados(sVertical, QRectF(0, 100000, 12240, 1000)), 7);
    EXPECT_EQ(TextosDibujados(sVertical, QRectF(9000, 0, 1000, 15840)), 0);
    EXPECT_EQ(TextosDibujados(QStringLiteral("pPosVerti|500|1000|ABC|False|8|0|"), QRectF()), 3); // no zone: all
    EXPECT_EQ(TextosDibujados(QStringLiteral("pPos|500|17000|ANEXO|False|8|0|"), pagina), 0);
    EXPECT_EQ(TextosDibujados(QStringLiteral("pPos|500|15800|ANEXO|False|8|0|"), pagina), 1);
}

class ImprimeLineasReporteTest : public ::testing::Test {
protected:
    void SetUp() override { platform::PrintJob::setPdfOutputForTesting(pdf); }
    void TearDown() override { platform::PrintJob::setPdfOutputForTesting({}); }
    QTemporaryDir dir;
    QString pdf = dir.filePath(QStringLiteral("reporte.pdf"));
};

TEST_F(ImprimeLineasReporteTest, SheetsFollowTheBreaksAndTheOrientationTags)
{
    ImprimeLineasReporte({
        QStringLiteral("<!font!>Courier New<!/font!>"),
        QStringLiteral("<!Orientacion!>V<!/Orientacion!>"),
        QStringLiteral("<!Color!>&H00FFFFC0&<!/Color!>"),
        QStringLiteral("pPos|300|350|ALCOR|True|16|0|"),
        QStringLiteral("pCuadro|150|300|1700|1640|0|"),
        QStringLiteral("pNuevaHoja"),
        QStringLiteral("<!Orientacion!>H<!/Orientacion!>"),
        QStringLiteral("pPos|14400|2000|ANEXO|False|8|1|"),
        QStringLiteral("pPosVerti|500|4000|AB|False|8|1|"),
        QStringLiteral("pNuevaHoja"),
        QStringLiteral("<!Orientacion!>V<!/Orientacion!>"),
        QStringLiteral("pPos|1000|1500|FIN|False|10|2|"),
        QStringLiteral("<!nHojas!>3<!/nHojas!>"),
    });
    const QList<PdfHoja> hojas = LeePdf(pdf);
    ASSERT_EQ(hojas.size(), 3);
    EXPECT_FALSE(hojas[0].apaisada());
    EXPECT_TRUE(hojas[1].apaisada());
    EXPECT_FALSE(hojas[2].apaisada());
    const PdfPalabra* alcor = hojas[0].busca(QStringLiteral("ALCOR"));
    ASSERT_NE(alcor, nullptr);
    EXPECT_NEAR(alcor->x, 15.0, 1.0); // twips / 20
    EXPECT_NEAR(alcor->y, 17.5, 3.0);
    const PdfPalabra* anexo = hojas[1].busca(QStringLiteral("ANEXO"));
    ASSERT_NE(anexo, nullptr);
    EXPECT_NEAR(anexo->x, 720.0, 1.0); // beyond a portrait sheet's width
    EXPECT_NEAR(anexo->y, 100.0, 2.0);
    const PdfPalabra* b = hojas[1].busca(QStringLiteral("B"));
    ASSERT_NE(b, nullptr);
    EXPECT_NEAR(b->y, 209.5, 2.0); // 4000 + 190 twips
    const PdfPalabra* fin = hojas[2].busca(QStringLiteral("FIN"));
    ASSERT_NE(fin, nullptr);
    EXPECT_NEAR(fin->x, 50.0, 1.0);
    EXPECT_NEAR(fin->y, 75.0, 2.0);
}

} // namespace
