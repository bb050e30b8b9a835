#include "formulario/shell/FrmConsultas.h"

#include "formulario/core/GrillaRecordset.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/TablaArchivos.h"
#include "formulario/markup/ImpLinea.h"
#include "platform/database.h"
#include "platform/printer.h"
#include "platform/textfile.h"
#include "tests/support/HostTest.h"
#include "tests/support/PdfLectura.h"
#include "tests/support/PlantedFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

using namespace platform::mb;

namespace {

class ConsultasTest : public HostTest {
protected:
    ConsultasTest() { withFormTables = false; }
    void SetUp() override
    {
        HostTest::SetUp();
        platform::PrintJob::setPdfOutputForTesting(pdf);
    }
    void TearDown() override
    {
        platform::PrintJob::setPdfOutputForTesting({});
        HostTest::TearDown();
    }

    FrmConsultas& Carga(const char* sTipo)
    {
        sTipoConsulta = QString::fromLatin1(sTipo);
        frm.Form_Load();
        return frm;
    }
    QStringList Columna(int nColumna) const
    {
        const auto* modelo = static_cast<const GrillaRecordset*>(frm.grdConsultas->model());
        QStringList textos;
        for (int nFila = 0; nFila < modelo->rowCount(); ++nFila)
            textos << modelo->Texto(nFila, nColumna);
        return textos;
    }
    QStringList ArchivoImpreso() const
    {
        QStringList lineas;
        EXPECT_TRUE(platform::readTextLines(paths().sysPath + QStringLiteral("RPT/Consultas.txt"), &lineas));
        return lineas;
    }

    QTemporaryDir dirPdf;
    QString pdf = dirPdf.filePath(QStringLiteral("consulta.pdf"));
    FrmConsultas frm;
};

TEST_F(ConsultasTest, TributesAreShownInTheirFourCharacterForm)
{
    Carga("T");
    EXPECT_EQ(frm.windowTitle(), QStringLiteral("Consulta de Tributos"));
    EXPECT_EQ(Columna(0), (QStringList{"1011", "3031", "3071", "3072", "3073", "3074", "3081", "5031", "5059", "5210",
                                       "5216", "5237", "5310", "5315", "5331", "7201", "7202", "8021", "8029"}));
    EXPECT_EQ(Columna(1).first(), QStringLiteral("IGV - CUENTA PROPIA"));
    EXPECT_TRUE(frm.grdConsultas->isEnabled());
}

TEST_F(ConsultasTest, DocumentTypesShowTheFirstTwentyCharactersOfTheirText)
{
    Carga("R");
    EXPECT_EQ(frm.windowTitle(), QStringLiteral("Consulta de Tipos de documento"));
    EXPECT_EQ(Columna(0), (QStringList{"017001", "017004", "017011", "017501", "017504"}));
    EXPECT_EQ(Columna(1)[0], QStringLiteral("RESOL. DETERMINACIÓN"));
    EXPECT_EQ(Columna(1)[2], QStringLiteral("ORDEN DE PAGO       "));
}

TEST_F(ConsultasTest, AnEmptyListDisablesTheGrid)
{
    db().execute(QStringLiteral("DELETE FROM Param WHERE Numero = '872'"));
    Carga("R");
    EXPECT_FALSE(frm.grdConsultas->isEnabled());
}

TEST_F(ConsultasTest, PrintingWritesTheListAndPrintsItAtOnce)
{
    db().execute(QStringLiteral("DELETE FROM Param WHERE Numero = '872' AND Argumento > '017004'"));
    Carga("R");
    script.answer(Ok);
    frm.cmdImprimir->click();
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown()[0].text, QStringLiteral("El reporte fue impreso satisfactoriamente"));
    EXPECT_EQ(script.shown()[0].title, QStringLiteral("Consulta de Tipos de documento"));
    EXPECT_EQ(script.shown()[0].style, Information | OkOnly);
    EXPECT_EQ(ArchivoImpreso(), (QStringList{
                                    "<!font!>Courier New<!/font!>",
                                    "<!Orientacion!>V<!/Orientacion!>",
                                    "<!Color!>&H00FFFFC0&<!/Color!>",
                                    "<!Orientacion!>V<!/Orientacion!>",
                                    "pPos|1000|1500|Consulta de Tipos de documento|True|10|0|",
                                    "pPos|500|2500|Código|True|8|0|",
                                    "pPos|2500|2500|Descripción|True|8|0|",
                                    "pPos|500|2900|017001|False|8|0|",
                                    "pPos|2500|2900|RESOL. DETERMINACIÓN|False|8|0|",
                                    "pPos|500|3150|017004|False|8|0|",
                                    "pPos|2500|3150|RESOLUCIÓN DE MULTA |False|8|0|",
                                }));
    const QList<PdfHoja> hojas = LeePdf(pdf);
    ASSERT_EQ(hojas.size(), 1);
    ASSERT_NE(hojas[0].busca(QStringLiteral("017004")), nullptr);
    EXPECT_NEAR(hojas[0].busca(QStringLiteral("017004"))->x, 25.0, 1.0);
    EXPECT_NEAR(hojas[0].busca(QStringLiteral("017004"))->y, 157.5, 2.0);
}

TEST_F(ConsultasTest, EnterInTheGridPrintsNothing)
{
    Carga("R");
    frm.show();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(frm.grdConsultas, &enter);
    EXPECT_TRUE(script.shown().isEmpty());
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(ConsultasTest, FiftyOneRowsFillAPageAndTheFiftySecondStartsTheNext)
{
    FrmConsultas::Filas filas;
    for (int i = 1; i <= 52; ++i)
        filas.append({QStringLiteral("C%1").arg(i), QStringLiteral("D%1").arg(i)});
    const auto escribe = [&](int nFilas) {
        sArchivo = paths().sysPath + QStringLiteral("RPT/Consultas.txt");
        nArchivo = FreeFile();
        ASSERT_EQ(AbreNumero(nArchivo, sArchivo, modoArchivo::Salida), 0);
        FrmConsultas::EscribeConsulta(QStringLiteral("Titulo"), filas.mid(0, nFilas));
        CierraArchivo(nArchivo);
    };
    escribe(51);
    QStringList lineas = ArchivoImpreso();
    EXPECT_FALSE(lineas.contains(QStringLiteral("pNuevaHoja")));
    EXPECT_EQ(lineas.last(), QStringLiteral("pPos|2500|15400|D51|False|8|0|"));

    escribe(52);
    lineas = ArchivoImpreso();
    const int nSalto = int(lineas.indexOf(QStringLiteral("pNuevaHoja")));
    ASSERT_GT(nSalto, 0);
    EXPECT_EQ(lineas.mid(nSalto - 1), (QStringList{
                                           "pPos|2500|15400|D51|False|8|0|",
                                           "pNuevaHoja",
                                           "pPos|500|2500|Código|True|8|1|",
                                           "pPos|2500|2500|Descripción |True|8|1|",
                                           "pPos|500|2900|C52|False|8|1|",
                                           "pPos|2500|2900|D52|False|8|1|",
                                       }));
}

TEST_F(ConsultasTest, PrintingAgainReplacesThePrintFile)
{
    Carga("T");
    script.answer(Ok);
    frm.cmdImprimir_Click();
    const int nLineas = int(ArchivoImpreso().size());
    script.answer(Ok);
    frm.cmdImprimir_Click();
    EXPECT_EQ(ArchivoImpreso().size(), nLineas);
    EXPECT_EQ(sArchivo, QStringLiteral("Consultas.txt"));
}

// A print file's name holding a link or a FIFO is refused, and said so.
TEST_F(ConsultasTest, APrintFileThatIsNoPlainFileIsToldAndNothingPrinted)
{
    QTemporaryDir fuera;
    const QString sFuera = outsideFile(fuera.path());
    const QString sConsultas = paths().sysPath + QStringLiteral("RPT/Consultas.txt");
    Carga("T");
    for (const Planted tipo : {Planted::Link, Planted::Fifo}) {
        SCOPED_TRACE(plantedName(tipo));
        ASSERT_TRUE(plant(tipo, sConsultas, sFuera));
        script.answer(Ok);
        frm.cmdImprimir_Click();
        EXPECT_EQ(script.lastText(), QStringLiteral("No se pudo escribir el archivo %1.\nVerifique que no sea una carpeta, "
                                                    "un enlace o un dispositivo, que se pueda modificar y que haya "
                                                    "espacio en el disco.")
                                         .arg(sConsultas));
        EXPECT_TRUE(stillPlanted(tipo, sConsultas, sFuera));
        EXPECT_EQ(plainBytes(sFuera), QByteArray("fuera\r\n"));
        EXPECT_FALSE(QFile::exists(pdf));
        ASSERT_TRUE(QFile::remove(sConsultas));
    }
}

} // namespace
