#include "formulario/subsystems/reports/frmPreview.h"

#include "formulario/core/Formularios.h"
#include "formulario/core/ModGen00.h"
#include "formulario/subsystems/reports/Repo04.h"
#include "platform/dialogs.h"
#include "platform/printer.h"
#include "platform/textfile.h"
#include "tests/support/PdfLectura.h"
#include "tests/support/PlantedFile.h"

#include <QFile>
#include <QPrinterInfo>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>

using namespace platform::mb;

namespace {

// Three pages: 0 and 2 portrait, 1 landscape.
const QStringList kTresHojas{
    "<!font!>Courier New<!/font!>",
    "<!Orientacion!>V<!/Orientacion!>",
    "<!Color!>&H00FFFFC0&<!/Color!>",
    "pPos|300|350|ALCOR|True|16|0|",
    "pCuadro|150|300|1700|1640|0|",
    "pNuevaHoja",
    "<!Orientacion!>H<!/Orientacion!>",
    "pPos|500|500|ANEXO|False|8|1|",
    "pNuevaHoja",
    "<!Orientacion!>V<!/Orientacion!>",
    "pPos|500|500|GARANTIA|False|8|2|",
    "<!nHojas!>3<!/nHojas!>",
};

class PreviaTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        script.onUnexpected = [](const platform::ShownMessage& box) {
            ADD_FAILURE() << "Unexpected message box: " << box.text.toStdString();
        };
        sRutaRpt = dir.path() + u'/';
        ASSERT_TRUE(platform::writeTextLines(dir.filePath(QStringLiteral("00000007.PRN")), kTresHojas));
        platform::PrintJob::setPdfOutputForTesting(pdf);
    }
    void TearDown() override
    {
        platform::PrintJob::setPdfOutputForTesting({});
        sRutaRpt.clear();
    }

    frmPreview& Carga(const QString& sArchivo = QStringLiteral("00000007.PRN"))
    {
        frm.sArchivoReporte = sArchivo;
        frm.Form_Load();
        return frm;
    }

    QList<bool> Visibles() const
    {
        QList<bool> visibles;
        for (const CajaHoja* caja : frm.picPrevia)
            visibles << caja->isVisibleTo(&frm);
        return visibles;
    }

    platform::DialogScript script;
    QTemporaryDir dir;
    QString pdf = dir.filePath(QStringLiteral("impreso.pdf"));
    frmPreview frm;
};

TEST_F(PreviaTest, OneBoxAPageTheFirstShownAndPagingStopsAtBothEnds)
{
    Carga();
    EXPECT_EQ(frm.windowTitle(), QStringLiteral("Presentación Preliminar"));
    ASSERT_EQ(frm.picPrevia.size(), 3);
    EXPECT_EQ(frm.TotalHojas(), 3);
    EXPECT_EQ(frm.picPrevia[1]->objectName(), QStringLiteral("picPrevia_1"));
    EXPECT_EQ(frm.picPrevia[0]->Comandos().size(), 2);
    EXPECT_EQ(frm.picPrevia[1]->Comandos().first().sValor, QStringLiteral("ANEXO"));
    EXPECT_EQ(Visibles(), (QList<bool>{true, false, false}));

    frm.tlbPrevia_ButtonClick(2); // "Pag Anterior" on the first page
    EXPECT_EQ(frm.HojaActual(), 0);
    QList<int> hojas;
    for (int i = 0; i < 3; ++i) {
        frm.tlbBotones[2]->click(); // "Pag Sgt"
        hojas << frm.HojaActual();
    }
    EXPECT_EQ(hojas, (QList<int>{1, 2, 2}));
    EXPECT_EQ(Visibles(), (QList<bool>{false, false, true}));
    frm.tlbBotones[1]->click();
    EXPECT_EQ(frm.HojaActual(), 1);
    EXPECT_EQ(Visibles(), (QList<bool>{false, true, false}));
}

TEST_F(PreviaTest, ToolbarButtonsCarryTheirTexts)
{
    QStringList textos;
    for (const QToolButton* boton : frm.tlbBotones)
        textos << boton->text();
    EXPECT_EQ(textos, (QStringList{"", "Pag Anterior", "Pag Sgt", "Imprimir", "Salir"}));
}

TEST_F(PreviaTest, ThePrintButtonShowsThePrinterOfTheOtherToolbars)
{
    const QImage impresora = IconoImpresora().pixmap(24, 24).toImage();
    EXPECT_TRUE(frm.tlbBotones[3]->icon().pixmap(24, 24).toImage() == impresora);
}

TEST_F(PreviaTest, BothVerticalBarsMoveTheShownPageTogetherAndPagingTakesItBackToTheTop)
{
    Carga();
    frm.resize(600, 400);
    ASSERT_GT(frm.vsbPic[1]->maximum(), 100);
    frm.vsbPic[1]->setValue(100);
    EXPECT_EQ(frm.vsbPic[0]->value(), 100);
    EXPECT_EQ(frm.picPrevia[0]->y(), -100);
    frm.HScroll1->setValue(30);
    EXPECT_EQ(frm.picPrevia[0]->x(), -30);
    frm.pMostrar(-1);
    EXPECT_EQ(frm.vsbPic[0]->value(), 0);
    EXPECT_EQ(frm.vsbPic[1]->value(), 0);
    EXPECT_EQ(frm.picPrevia[1]->y(), 0);
    EXPECT_EQ(frm.picPrevia[1]->x(), -30);
}

TEST_F(PreviaTest, PageBoxesTakeTheReportsColour)
{
    Carga();
    const QImage imagen = frm.picPrevia[2]->grab().toImage();
    EXPECT_EQ(imagen.pixelColor(imagen.width() - 2, imagen.height() - 2), QColor(0xC0, 0xFF, 0xFF));
}

TEST_F(PreviaTest, AMissingFileIsReportedAndTheWindowShowsAnEmptyPage)
{
    script.answer(Ok);
    Carga(QStringLiteral("00000099.PRN"));
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown()[0].text, QStringLiteral("Archivo Físico del Reporte no Existe"));
    EXPECT_EQ(script.shown()[0].title, QStringLiteral("Error al Imprimir"));
    EXPECT_EQ(script.shown()[0].style, Critical | OkOnly);
    EXPECT_EQ(frm.picPrevia.size(), 1);
    EXPECT_EQ(frm.TotalHojas(), 1);
}

TEST_F(PreviaTest, AReportThatNeverEndsOrIsFarTooLargeIsReportedAsMissing)
{
    const QString sRuta = dir.filePath(QStringLiteral("00000008.PRN"));
    const QList<QPair<const char*, std::function<bool()>>> casos = {
        {"a link to a device", [&] { return plant(Planted::DeviceLink, sRuta); }},
        {"a FIFO", [&] { return plant(Planted::Fifo, sRuta); }},
        {"a file of 4 GB", [&] { return plantHugeFile(sRuta, qint64(4) << 30); }},
    };
    for (const auto& [sCaso, planta] : casos) {
        SCOPED_TRACE(sCaso);
        ASSERT_TRUE(planta());
        script.answer(Ok);
        frmPreview previa;
        previa.sArchivoReporte = QStringLiteral("00000008.PRN");
        previa.Form_Load();
        EXPECT_EQ(script.lastText(), QStringLiteral("Archivo Físico del Reporte no Existe"));
        EXPECT_EQ(previa.TotalHojas(), 1);
        ASSERT_TRUE(QFile::remove(sRuta));
    }
    EXPECT_EQ(script.shown().size(), 3);
}

TEST_F(PreviaTest, PrintingFromThePreviewPrintsEveryPageAndKeepsThePageShown)
{
    Carga();
    frm.pMostrar(-1);
    script.answer(Ok);
    frm.tlbBotones[3]->click();
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown()[0].text, QStringLiteral("Reporte se imprimió satisfactoriamente"));
    EXPECT_EQ(script.shown()[0].title, QStringLiteral("Presentación Preliminar"));
    EXPECT_EQ(script.shown()[0].style, Information | OkOnly);
    const QList<PdfHoja> hojas = LeePdf(pdf);
    ASSERT_EQ(hojas.size(), 3);
    EXPECT_TRUE(hojas[1].apaisada());
    EXPECT_EQ(frm.HojaActual(), 1);
    EXPECT_EQ(frm.TotalHojas(), 3);
    frm.pMostrar(-1);
    EXPECT_EQ(frm.HojaActual(), 2);
}

TEST_F(PreviaTest, APrinterFailureIsToldAndNotReportedAsSuccess)
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "this machine has a default printer";
    platform::PrintJob::setPdfOutputForTesting({});
    Carga();
    script.answer(Ok);
    frm.tlbPrevia_ButtonClick(4);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown()[0].text, QStringLiteral("No existe una impresora seleccionada.Verifique."));
    EXPECT_EQ(script.shown()[0].title, QStringLiteral("Impresión"));
    EXPECT_EQ(script.shown()[0].style, Critical | OkOnly);
}

TEST_F(PreviaTest, ShowingAReportPrintsWithoutAWindowOrShowsThePreviewModally)
{
    EXPECT_TRUE(MuestraReporte(QStringLiteral("00000007.PRN"), QStringLiteral("xx")));
    EXPECT_TRUE(script.formsShown().isEmpty());
    EXPECT_EQ(LeePdf(pdf).size(), 3);
    EXPECT_EQ(oPreview, nullptr);

    int nHojas = 0;
    script.onForm(QStringLiteral("frmPreview"), [&nHojas](QWidget& ventana) {
        nHojas = static_cast<frmPreview&>(ventana).TotalHojas();
        return 0;
    });
    EXPECT_TRUE(MuestraReporte(QStringLiteral("00000007.PRN"), QStringLiteral("Vprevia")));
    EXPECT_EQ(script.formsShown(), QStringList{QStringLiteral("frmPreview")});
    EXPECT_EQ(nHojas, 3);
    EXPECT_EQ(oPreview, nullptr);
}

TEST_F(PreviaTest, PrintingAMissingFileSaysSoAndPrintsNothing)
{
    script.answer(Ok);
    EXPECT_FALSE(MuestraReporte(QStringLiteral("00000099.PRN"), QStringLiteral("xx")));
    EXPECT_EQ(script.lastText(), QStringLiteral("Archivo Físico del Reporte no Existe"));
    EXPECT_FALSE(QFile::exists(pdf));
}

} // namespace
