#include "formulario/subsystems/reports/frmImprimir.h"

#include "formulario/core/GrillaRecordset.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/SharedForm.h"
#include "formulario/subsystems/reports/DeclaracionImpresa.h"
#include "formulario/markup/ImpLinea.h"
#include "formulario/subsystems/reports/frmPreview.h"
#include "platform/database.h"
#include "platform/printer.h"
#include "platform/statusbar.h"
#include "platform/textfile.h"
#include "tests/support/HostTest.h"
#include "tests/support/PdfLectura.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>

using namespace platform::mb;

namespace {

struct Declaracion {
    int nTipDoc;
    QString sDocId;
    QString sPeriodo;
    int nSemana;
    QString sCorrel; // sent ones
    QList<QPair<QString, QString>> casillas;
};

const Declaracion kPena{6, "20100070970", "201003", 1, {}, {{"028", "4445555"}, {"500", "15000"}, {"501", "2"},
                                                             {"721", "X"}, {"722", "Y"}}};
const Declaracion kAcuna{6, "20456712381", "201506", 2, {}, {{"508", "2"}, {"509", "6"}}};
const Declaracion kNunez{6, "10412345679", "201001", 1, {}, {{"501", "7"}}};
const Declaracion kQuispe{1, "41234567", "201012", 5, {}, {{"521", "800"}}};
const Declaracion kEnviada1{6, "20100070970", "201003", 1, "001", {{"500", "111"}}};
const Declaracion kEnviada2{6, "20100070970", "201003", 1, "002", {{"500", "999"}, {"501", "0"}}};

class ImprimirTest : public HostTest {
protected:
    ImprimirTest() { withFormTables = false; }

    void SetUp() override
    {
        HostTest::SetUp();
        if (HasFatalFailure())
            return;
        for (const Declaracion& d : {kPena, kAcuna, kNunez, kQuispe})
            Inserta(d, QStringLiteral("CAB"), QStringLiteral("DET"));
        for (const Declaracion& d : {kEnviada1, kEnviada2})
            Inserta(d, QStringLiteral("HCAB"), QStringLiteral("HDET"));
        platform::PrintJob::setPdfOutputForTesting(pdf);
    }
    void TearDown() override
    {
        platform::PrintJob::setPdfOutputForTesting({});
        SharedForm<frmImprimir>::release();
        HostTest::TearDown();
    }

    void Inserta(const Declaracion& d, const QString& sCabecera, const QString& sDetalle)
    {
        QString sColumnas = QStringLiteral("tip_doc_d, doc_id_d, periodo, formulario, Semana");
        QVariantList clave{d.nTipDoc, d.sDocId, d.sPeriodo, QStringLiteral("0913"), d.nSemana};
        if (!d.sCorrel.isEmpty()) {
            sColumnas += QStringLiteral(", Correl");
            clave << d.sCorrel;
        }
        const QString sMarcas = QStringList(QList<QString>(clave.size(), QStringLiteral("?"))).join(u',');
        db().execute(QStringLiteral("INSERT INTO %1 (%2, estado) VALUES (%3, 1)").arg(sCabecera, sColumnas, sMarcas),
                     clave);
        for (const auto& [sCasilla, sValor] : d.casillas)
            db().execute(QStringLiteral("INSERT INTO %1 (%2, Casilla, i_valor) VALUES (%3, ?, ?)")
                             .arg(sDetalle, sColumnas, sMarcas),
                         clave + QVariantList{sCasilla, sValor});
    }

    frmImprimir& Carga(bool bSoloEnviadas = false)
    {
        bEnviadas = bSoloEnviadas;
        frmImprimir& frm = SharedForm<frmImprimir>::instance();
        frm.Form_Load();
        return frm;
    }

    // Makes the row of that declarant current; false when it is not listed.
    static bool Elige(frmImprimir& frm, const QString& sDocId)
    {
        for (int nFila = 0; nFila < frm.Lista().rowCount(); ++nFila) {
            if (frm.Lista().Texto(nFila, frmImprimir::ColRuc) == sDocId) {
                frm.grdImprimir->setCurrentIndex(frm.Lista().index(nFila, frmImprimir::ColRuc));
                return true;
            }
        }
        return false;
    }

    QStringList ListaDeRucs(frmImprimir& frm)
    {
        QStringList rucs;
        for (int nFila = 0; nFila < frm.Lista().rowCount(); ++nFila)
            rucs << frm.Lista().Texto(nFila, frmImprimir::ColRuc);
        return rucs;
    }

    QString FilaSpool()
    {
        auto rs = db().openRecordset(QStringLiteral("SELECT CodRep, Secuencia, Archivo, tip_doc_d, doc_id_d FROM SPOOL"));
        QStringList filas;
        for (; !rs->eof(); rs->moveNext())
            filas << QStringList{rs->field(0).text(), rs->field(1).text(), rs->field(2).text(), rs->field(3).text(),
                                 rs->field(4).text()}.join(u',');
        return filas.join(u';');
    }

    void AceptaPrevia() { script.onForm(QStringLiteral("frmPreview"), [](QWidget&) { return 0; }); }

    QTemporaryDir dirPdf;
    QString pdf = dirPdf.filePath(QStringLiteral("impreso.pdf"));
};

TEST_F(ImprimirTest, ListsTheCurrentDeclarationsOfEveryDeclarantForAUserOfTypeZero)
{
    frmImprimir& frm = Carga();
    EXPECT_EQ(frm.windowTitle(), QStringLiteral("Imprimir "));
    EXPECT_EQ(ListaDeRucs(frm), (QStringList{"41234567", "10412345679", "20100070970", "20456712381"}));
    ASSERT_TRUE(Elige(frm, kPena.sDocId));
    const int nFila = frm.FilaActual();
    EXPECT_EQ(frm.Lista().Texto(nFila, frmImprimir::ColTipoDoc).trimmed(), QStringLiteral("R.U.C."));
    EXPECT_EQ(frm.Lista().Texto(nFila, frmImprimir::ColNombre), QStringLiteral("COMERCIAL PEÑA HERMANOS S.A.C."));
    EXPECT_EQ(frm.Lista().Texto(nFila, frmImprimir::ColEntidad).trimmed(), QStringLiteral("TESORO"));
    EXPECT_EQ(frm.Lista().Texto(nFila, frmImprimir::ColPeriodo), QStringLiteral("032010"));
    EXPECT_TRUE(frm.grdImprimir->isColumnHidden(frmImprimir::ColCorrel));
}

class ImprimirContadorTest : public ImprimirTest {
protected:
    ImprimirContadorTest() { hostOptions.user = QStringLiteral("CONTADOR1"); }
};

TEST_F(ImprimirContadorTest, AnyOtherUserSeesOnlyTheDeclarantsRegisteredUnderHisName)
{
    EXPECT_EQ(ListaDeRucs(Carga()), (QStringList{"20100070970", "20456712381"}));
}

TEST_F(ImprimirTest, SentDeclarationsAreListedWithTheirCorrelative)
{
    frmImprimir& frm = Carga(true);
    EXPECT_EQ(ListaDeRucs(frm), (QStringList{"20100070970", "20100070970"}));
    EXPECT_FALSE(frm.grdImprimir->isColumnHidden(frmImprimir::ColCorrel));
}

TEST_F(ImprimirTest, AnnexBoxesFollowTheOption)
{
    frmImprimir& frm = Carga();
    const QList<int> anexos{0, 3, 7, 8, 9};
    for (int i : anexos)
        EXPECT_FALSE(frm.chkAnexos[i]->isEnabled());
    frm.OptImp[1]->click();
    for (int i : anexos) {
        EXPECT_TRUE(frm.chkAnexos[i]->isEnabled());
        EXPECT_FALSE(frm.chkAnexos[i]->isChecked());
    }
    frm.chkAnexos[3]->setChecked(true);
    frm.OptImp[2]->click();
    EXPECT_TRUE(frm.chkAnexos[3]->isChecked());
    frm.OptImp[0]->click();
    for (int i : anexos) {
        EXPECT_FALSE(frm.chkAnexos[i]->isEnabled());
        EXPECT_FALSE(frm.chkAnexos[i]->isChecked());
    }
    EXPECT_EQ(frm.chkAnexos[8]->text(), QStringLiteral("Garantía - Reporte de Carta  Fianza"));
}

TEST_F(ImprimirTest, AnOptionWithAnnexesAndNoneTickedIsRefusedButSalirStillCloses)
{
    frmImprimir& frm = Carga();
    frm.OptImp[1]->click();
    script.answer(Ok);
    frm.CmdImprimir_Click(0);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown()[0].text, QStringLiteral("Debe indicar el/los  anexo(s)"));
    EXPECT_EQ(script.shown()[0].title, QStringLiteral("Imprimir "));
    EXPECT_EQ(script.shown()[0].style, Critical | OkOnly);
    EXPECT_TRUE(FilaSpool().isEmpty());

    frm.show();
    frm.CmdImprimir[2]->click();
    EXPECT_EQ(script.shown().size(), 1);
    EXPECT_FALSE(frm.isVisible());
}

TEST_F(ImprimirTest, EachButtonAndOptionRegistersItsReportCodeAndDocumentType)
{
    struct Caso { int nBoton; int nOpcion; const char* sFila; };
    const Caso casos[] = {
        {0, 0, "F36005,000001,00000001.PRN,6,41234567"},
        {0, 1, "F36006,000001,00000002.PRN,6,41234567"},
        {0, 2, "F36005,000002,00000003.PRN,6,41234567"},
        {1, 0, "F36005,000003,00000004.PRN,1,41234567"},
        {1, 1, "F36005,000004,00000005.PRN,1,41234567"},
    };
    frmImprimir& frm = Carga();
    AceptaPrevia();
    QStringList esperadas;
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.sFila);
        ASSERT_TRUE(Elige(frm, kQuispe.sDocId));
        frm.OptImp[caso.nOpcion]->click();
        if (caso.nOpcion != 0) // a guarantee the declaration does not name: no debts are read
            frm.chkAnexos[frmImprimir::AnexoCartaFianza]->setChecked(true);
        frm.CmdImprimir_Click(caso.nBoton);
        esperadas << QString::fromLatin1(caso.sFila);
        EXPECT_EQ(FilaSpool(), esperadas.join(u';'));
    }
    EXPECT_EQ(script.formsShown().size(), 3);
}

TEST_F(ImprimirTest, TheChosenRowBecomesTheOpenDeclarationAndItsBoxesAreLoaded)
{
    frmImprimir& frm = Carga();
    AceptaPrevia();
    ASSERT_TRUE(Elige(frm, kPena.sDocId));
    aCasilla[900 - 1] = QStringLiteral("de antes");
    frm.CmdImprimir_Click(0);
    EXPECT_EQ(sPeriodo, QStringLiteral("201003"));
    EXPECT_EQ(nEntidad, 1);
    EXPECT_EQ(sRuc, QStringLiteral("20100070970"));
    EXPECT_EQ(sRazonSocial, QStringLiteral("COMERCIAL PEÑA HERMANOS S.A.C."));
    EXPECT_EQ(aCasilla[28], QStringLiteral("4445555"));
    EXPECT_EQ(aCasilla[500], QStringLiteral("15000"));
    EXPECT_TRUE(aCasilla[721].isEmpty());
    EXPECT_TRUE(aCasilla[722].isEmpty());
    EXPECT_TRUE(aCasilla[899].isEmpty());
    EXPECT_EQ(sModalidad, QStringLiteral("Aplaz. con fracc."));
    EXPECT_EQ(nLargoPag, 104);
    EXPECT_EQ(sArchivo, QDir(sRutaRpt).filePath(QStringLiteral("00000001.PRN")));
}

TEST_F(ImprimirTest, ModalityTextComesFromTheEntitysModalityBoxAndAnUnknownValueLeavesItEmpty)
{
    frmImprimir& frm = Carga();
    AceptaPrevia();
    ASSERT_TRUE(Elige(frm, kAcuna.sDocId));
    frm.CmdImprimir_Click(0);
    EXPECT_EQ(sModalidad, QStringLiteral("Aplaz. con fracc."));
    ASSERT_TRUE(Elige(frm, kNunez.sDocId));
    frm.CmdImprimir_Click(0);
    EXPECT_TRUE(sModalidad.isEmpty());
}

TEST_F(ImprimirTest, ASentDeclarationIsReadWithItsCorrelative)
{
    frmImprimir& frm = Carga(true);
    AceptaPrevia();
    frm.grdImprimir->setCurrentIndex(frm.Lista().index(1, frmImprimir::ColRuc));
    frm.CmdImprimir_Click(1);
    EXPECT_EQ(sCorrel, QStringLiteral("002"));
    EXPECT_EQ(aCasilla[500], QStringLiteral("999"));
    EXPECT_EQ(sModalidad, QStringLiteral("Fraccionamiento"));
}

TEST_F(ImprimirTest, ThePreviewShowsTheRegisteredFileAndTheSameRowIsCurrentAfterwards)
{
    frmImprimir& frm = Carga();
    ASSERT_TRUE(Elige(frm, kAcuna.sDocId));
    QString sMostrado;
    script.onForm(QStringLiteral("frmPreview"), [&sMostrado](QWidget& ventana) {
        sMostrado = static_cast<frmPreview&>(ventana).sArchivoReporte;
        return 0;
    });
    frm.CmdImprimir_Click(0);
    EXPECT_EQ(sMostrado, QStringLiteral("00000001.PRN"));
    QStringList lineas;
    ASSERT_TRUE(platform::readTextLines(paths().sysPath + QStringLiteral("RPT/00000001.PRN"), &lineas));
    EXPECT_EQ(lineas.last(), QStringLiteral("<!nHojas!>1<!/nHojas!>"));
    EXPECT_EQ(frm.Lista().Texto(frm.FilaActual(), frmImprimir::ColRuc), kAcuna.sDocId);
}

TEST_F(ImprimirTest, ADoubleClickAndEnterPreviewAndPrintingGoesToThePrinter)
{
    frmImprimir& frm = Carga();
    AceptaPrevia();
    ASSERT_TRUE(Elige(frm, kPena.sDocId));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(frm.grdImprimir, &enter);
    frm.grdImprimir_DblClick();
    EXPECT_EQ(script.formsShown().size(), 2);
    frm.CmdImprimir[1]->click();
    EXPECT_EQ(script.formsShown().size(), 2);
    EXPECT_EQ(LeePdf(pdf).size(), 1);
}

TEST_F(ImprimirTest, AClickGivenWhileAReportIsWrittenWaitsForItsCommitAndNoPreviewHoldsTheWriteLock)
{
    frmImprimir& frm = Carga();
    frm.show();
    ASSERT_TRUE(Elige(frm, kPena.sDocId));
    platform::OpenOptions opciones;
    opciones.busyTimeoutMs = 20;
    const auto otroPrograma = platform::Database::open(db().path(), opciones);
    QStringList previas;
    script.onForm(QStringLiteral("frmPreview"), [&](QWidget& ventana) {
        bool bEscribe = true;
        try {
            otroPrograma->beginTrans();
            otroPrograma->commitTrans();
        } catch (const platform::DbError&) {
            bEscribe = false;
        }
        previas << static_cast<frmPreview&>(ventana).sArchivoReporte + (bEscribe ? " libre" : " bloqueada");
        return 0;
    });
    // The second click of a double click waits in the queue while the first one is handled.
    QPushButton& preliminar = *frm.CmdImprimir[0];
    const QPointF punto(2, 2);
    for (const QEvent::Type tipo : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons pulsados = tipo == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QCoreApplication::postEvent(&preliminar, new QMouseEvent(tipo, punto, preliminar.mapToGlobal(punto),
                                                                 Qt::LeftButton, pulsados, Qt::NoModifier));
    }
    preliminar.click();
    EXPECT_EQ(previas, (QStringList{"00000002.PRN libre", "00000001.PRN libre"}));
}

TEST_F(ImprimirTest, AListThatCannotBeReadIsToldAndLeavesTheDialogEmpty)
{
    db().execute(QStringLiteral("DROP TABLE CONT"));
    script.answer(Ok);
    frmImprimir& frm = Carga();
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown()[0].text.startsWith(QStringLiteral("Error Técnico : ( ")));
    EXPECT_EQ(script.shown()[0].title, QStringLiteral("Impresión"));
    EXPECT_FALSE(frm.grdImprimir->isEnabled());
    frm.CmdImprimir_Click(0);
    EXPECT_EQ(script.shown().size(), 1);
}

TEST_F(ImprimirTest, BoxesOrASpoolThatCannotBeReadGiveNoReport)
{
    frmImprimir& frm = Carga();
    ASSERT_TRUE(Elige(frm, kPena.sDocId));
    for (const char* sTabla : {"SPOOL", "DET"}) {
        SCOPED_TRACE(sTabla);
        db().execute(QStringLiteral("DROP TABLE ") + QLatin1String(sTabla));
        script.clear();
        script.answer(Ok);
        frm.CmdImprimir_Click(0);
        ASSERT_EQ(script.shown().size(), 1);
        EXPECT_TRUE(script.shown()[0].text.startsWith(QStringLiteral("Error Técnico : ( ")));
        EXPECT_EQ(script.shown()[0].title, QStringLiteral("Impresión"));
    }
    EXPECT_TRUE(script.formsShown().isEmpty());
    EXPECT_TRUE(QDir(paths().sysPath + QStringLiteral("RPT")).entryList(QDir::Files).isEmpty());
}

TEST_F(ImprimirTest, TheMainWindowsStatusBarShowsTheCurrentRow)
{
    QWidget ventana;
    auto* barra = new platform::HostStatusBar(&ventana);
    barra->setObjectName(QStringLiteral("BarradeEstadoVRD1"));
    frmImprimir& frm = Carga();
    ASSERT_TRUE(Elige(frm, kAcuna.sDocId));
    EXPECT_EQ(barra->numdoc(), kAcuna.sDocId);
    EXPECT_EQ(barra->razonsocial(), QStringLiteral("INVERSIONES ACUÑA Y ASOCIADOS S.R.L."));
    EXPECT_EQ(barra->periodo_ejercicio(), QStringLiteral("062015"));
    EXPECT_EQ(barra->formulario(), QStringLiteral("0913"));
}

TEST_F(ImprimirTest, AReportFileThatCannotBeWrittenIsToldAndNeitherRegisteredNorShown)
{
    frmImprimir& frm = Carga();
    ASSERT_TRUE(Elige(frm, kPena.sDocId));
    QDir(paths().sysPath).rename(QStringLiteral("RPT"), QStringLiteral("RPT_fuera"));
    script.answer(Ok);
    frm.CmdImprimir_Click(0);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown()[0].title, QStringLiteral("Impresión"));
    // Named as the user will look for it, not by the name it is written under until whole.
    EXPECT_EQ(script.shown()[0].text,
              QStringLiteral("Error Técnico : ( 76) No se pudo crear el archivo del reporte %1RPT/00000001.PRN")
                  .arg(paths().sysPath));
    EXPECT_TRUE(script.formsShown().isEmpty());
    EXPECT_TRUE(FilaSpool().isEmpty());
}

TEST_F(ImprimirTest, EachColumnHoldsItsHeadingAndTheNamesTakeTheSpareWidthOnOneLine)
{
    frmImprimir& frm = Carga();
    frm.resize(760, 480);
    frm.show();
    QCoreApplication::processEvents();
    const QTableView& grilla = *frm.grdImprimir;
    const QFontMetrics letra = grilla.horizontalHeader()->fontMetrics();
    for (const auto& [nColumna, sTitulo] : QList<QPair<int, QString>>{{frmImprimir::ColTipoDoc, "Tipo docum."},
                                                                      {frmImprimir::ColRuc, "R.U.C."},
                                                                      {frmImprimir::ColNombre, "Razón social"},
                                                                      {frmImprimir::ColFormulario, "Formulario"},
                                                                      {frmImprimir::ColEntidad, "Entidad"},
                                                                      {frmImprimir::ColPeriodo, "Periodo"}})
        EXPECT_GT(grilla.columnWidth(nColumna), letra.horizontalAdvance(sTitulo)) << qPrintable(sTitulo);
    EXPECT_FALSE(grilla.wordWrap());
    for (const QString sNombre : {"COMERCIAL PEÑA HERMANOS S.A.C.", "INVERSIONES ACUÑA Y ASOCIADOS S.R.L."})
        EXPECT_GT(grilla.columnWidth(frmImprimir::ColNombre), grilla.fontMetrics().horizontalAdvance(sNombre));
    EXPECT_LT(grilla.columnWidth(frmImprimir::ColPeriodo), 2 * letra.horizontalAdvance(QStringLiteral("Periodo")));
}

TEST_F(ImprimirTest, TheCurrentCellIsDrawnLikeTheRestOfItsSelectedRow)
{
    frmImprimir& frm = Carga();
    frm.show();
    QCoreApplication::processEvents();
    QTableView& grilla = *frm.grdImprimir;
    const QRect celda = grilla.visualRect(frm.Lista().index(0, frmImprimir::ColRuc));
    ASSERT_EQ(grilla.currentIndex(), frm.Lista().index(0, frmImprimir::ColRuc));
    const QImage actual = grilla.viewport()->grab(celda).toImage();
    grilla.setCurrentIndex(frm.Lista().index(0, frmImprimir::ColFormulario));
    EXPECT_TRUE(grilla.selectionModel()->isSelected(frm.Lista().index(0, frmImprimir::ColRuc)));
    EXPECT_TRUE(grilla.viewport()->grab(celda).toImage() == actual);
}

} // namespace
