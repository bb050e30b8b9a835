#include "formulario/core/Fileproc.h"
#include "formulario/core/FrmConsist.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/SharedForm.h"
#include "platform/textfile.h"
#include "tests/support/PlantedFile.h"

#include <QApplication>
#include <QFile>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform::mb;

namespace {

class FrmConsistTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        FijaCarpetaPrograma(dir.path());
        script.onUnexpected = [](const platform::ShownMessage& box) {
            ADD_FAILURE() << "Unexpected message box: " << box.text.toStdString();
        };
        sArchivo = dir.filePath(QStringLiteral("Mens.txt"));
    }
    void TearDown() override
    {
        SharedForm<FrmConsist>::release();
        FijaCarpetaPrograma(QString());
        sArchivo.clear();
    }

    void Escribe(const QByteArray& contenido)
    {
        QFile archivo(sArchivo);
        ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
        archivo.write(contenido);
    }

    FrmConsist& Carga()
    {
        FrmConsist& frm = SharedForm<FrmConsist>::instance();
        frm.Form_Load();
        return frm;
    }

    QTemporaryDir dir;
    platform::DialogScript script;
};

TEST_F(FrmConsistTest, ShowsTheFindingsInOrderWithTheirLineBreaks)
{
    ASSERT_TRUE(platform::writeTextLines(sArchivo, {QStringLiteral("- Debe ingresar el teléfono."),
                                                    QStringLiteral("- La cuota inicial no alcanza el mínimo."),
                                                    QStringLiteral("   sangría conservada")}));
    FrmConsist& frm = Carga();
    EXPECT_EQ(frm.TxtPreliminar->toPlainText(),
              QStringLiteral("- Debe ingresar el teléfono.\n- La cuota inicial no alcanza el mínimo.\n"
                             "   sangría conservada\n"));
    EXPECT_TRUE(frm.TxtPreliminar->isReadOnly());
    EXPECT_EQ(frm.windowTitle(), QStringLiteral("Inconsistencias detectadas"));
    EXPECT_EQ(frm.Label1->text(), QStringLiteral("En su declaración se han detectado las siguientes inconsistencias :"));
    EXPECT_EQ(frm.CmdGrabar->text(), QStringLiteral("&Aceptar"));
    EXPECT_EQ(frm.Command1->text(), QStringLiteral("&Imprimir"));
    EXPECT_EQ(frm.TxtPreliminar->font().family(), QStringLiteral("Courier New"));
}

TEST_F(FrmConsistTest, ALongFindingWrapsAtTheWindowsWidthAndStaysOneLine)
{
    const QString sLarga = QStringLiteral("- El monto de la cuota inicial es menor al mínimo exigido. ").repeated(4);
    ASSERT_TRUE(platform::writeTextLines(sArchivo, {sLarga, QStringLiteral("- Debe ingresar el teléfono.")}));
    FrmConsist& frm = Carga();
    frm.show();
    QApplication::processEvents();
    EXPECT_EQ(frm.TxtPreliminar->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(frm.TxtPreliminar->document()->firstBlock().layout()->lineCount(), 1);
    EXPECT_EQ(frm.TxtPreliminar->document()->blockCount(), 3); // two lines and the end
}

TEST_F(FrmConsistTest, AnEmptyFileShowsAnEmptyBox)
{
    Escribe(QByteArray());
    EXPECT_TRUE(Carga().TxtPreliminar->toPlainText().isEmpty());
}

TEST_F(FrmConsistTest, PrintDoesNothingAndAcceptCloses)
{
    Escribe("uno\r\n");
    FrmConsist& frm = Carga();
    frm.Command1->click();
    EXPECT_TRUE(script.shown().isEmpty());
    EXPECT_TRUE(script.formsShown().isEmpty());
    frm.CmdGrabar->click();
    EXPECT_EQ(frm.result(), QDialog::Accepted);
}

TEST_F(FrmConsistTest, AMissingFileIsAFatalErrorThatIsLogged)
{
    script.answer(Ok);
    EXPECT_THROW(Carga(), platform::ProgramEnded);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown()[0].title.contains(QStringLiteral("(Rutina: Form_Load)")));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("errorlog.txt"))));
}

TEST_F(FrmConsistTest, AFileThatNeverEndsIsRefusedAtOnceAsAnUnreadableOne)
{
    for (const Planted tipo : {Planted::Fifo, Planted::DeviceLink}) {
        SCOPED_TRACE(plantedName(tipo));
        ASSERT_TRUE(plant(tipo, sArchivo));
        script.answer(Ok);
        EXPECT_THROW(Carga(), platform::ProgramEnded);
        EXPECT_TRUE(script.shown().last().title.startsWith(QStringLiteral("Error crítico: 75 (Rutina: Form_Load)")));
        ASSERT_TRUE(QFile::remove(sArchivo));
    }
}

} // namespace
