// Quenbo run as the host runs it: a process of its own on a fixture host,
// with the command line of a saved declaration.

#include "platform/database.h"
#include "platform/profile.h"
#include "platform/textfile.h"
#include "reporte/Reporte.h"
#include "tests/support/HostTest.h"
#include "tests/support/OtherUser.h"
#include "tests/support/PlantedFile.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/SmallDisk.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace platform::mb;

namespace {

const QString kRuc = QStringLiteral("20100070970"); // COMERCIAL PEÑA HERMANOS S.A.C.
const QString kRegla = QStringLiteral("====================================");

QString blancos(int n)
{
    return QString(n, u' ');
}

class QuenboTest : public HostTest {
protected:
    QuenboTest() { withFormTables = false; }

    // The boxes of a saved declaration of the sample declarant, period 200508.
    void guardaCasillas(int nEntidad, const QList<QPair<QString, QVariant>>& casillas)
    {
        for (const auto& [sCasilla, vValor] : casillas) {
            db().execute(QStringLiteral("INSERT INTO DET (tip_doc_d, doc_id_d, periodo, formulario, Semana, Casilla, "
                                        "i_valor) VALUES (6, ?, '200508', '0913', ?, ?, ?)"),
                         {kRuc, nEntidad, sCasilla, vValor});
        }
    }

    ProgramRun ejecuta(int nEntidad, const QString& sDocumento = kRuc, Screen pantalla = Screen::Offscreen,
                       RunAs usuario = RunAs::TestUser)
    {
        return ejecutaLinea(hostkit::quenboCommandLine(sDocumento, QStringLiteral("200508"), nEntidad,
                                                       QStringLiteral("ABCDEFGH")),
                            pantalla, usuario);
    }
    ProgramRun ejecutaLinea(const QString& sLinea, Screen pantalla = Screen::Offscreen,
                            RunAs usuario = RunAs::TestUser)
    {
        return runProgram(paths(), QStringLiteral(QUENBO_BIN), {sLinea}, QString(), pantalla, usuario,
                          nLimiteArchivo);
    }
    // The limit on the size of a file the runs write, when set.
    std::optional<qint64> nLimiteArchivo;

    void esperaExito(const ProgramRun& corrida)
    {
        EXPECT_EQ(corrida.exitCode, 0);
        for (const RunBox& caja : corrida.boxes)
            ADD_FAILURE() << "Unexpected box \"" << caja.title.toStdString() << "\": " << caja.text.toStdString();
    }
    // A failed run: one critical box of that title, a non-zero status.
    RunBox esperaFalla(const ProgramRun& corrida, const QString& sTitulo)
    {
        EXPECT_NE(corrida.exitCode, 0);
        EXPECT_EQ(corrida.boxes.size(), 1);
        const RunBox caja = corrida.boxes.value(0);
        EXPECT_EQ(caja.title, sTitulo);
        EXPECT_EQ(caja.buttons | caja.icon, Critical | OkOnly);
        return caja;
    }

    QStringList archivos(const QString& sCarpeta)
    {
        return QDir(paths().dbPath + sCarpeta).entryList(QDir::Files, QDir::Name);
    }
    QStringList lineas(const QString& sArchivo)
    {
        QStringList resultado;
        EXPECT_TRUE(platform::readTextLines(paths().dbPath + sArchivo, &resultado)) << sArchivo.toStdString();
        return resultado;
    }
    QStringList spool()
    {
        QStringList filas;
        auto rs = db().openRecordset(QStringLiteral("SELECT CodRep, Secuencia, Archivo, Usuario, tip_doc_d, doc_id_d "
                                                    "FROM SPOOL ORDER BY Archivo"));
        for (; !rs->eof(); rs->moveNext()) {
            QStringList valores;
            for (int i = 0; i < rs->fieldCount(); ++i)
                valores.append(rs->field(i).text());
            filas.append(valores.join(u'|'));
        }
        return filas;
    }
    void esperaNadaEscrito()
    {
        EXPECT_EQ(archivos("RPT"), QStringList());
        EXPECT_EQ(archivos("TMP"), QStringList());
        EXPECT_EQ(spool(), QStringList());
    }
};

const QList<QPair<QString, QVariant>> kCasillasEssalud = {
    {"507", "15000"}, {"508", "1"}, {"509", "3"}, {"510", "12"}, {"511", "1250.6"}, {"513", "1"},
};

TEST_F(QuenboTest, WritesTheSummaryTwiceAndRegistersIt)
{
    guardaCasillas(2, kCasillasEssalud);

    esperaExito(ejecuta(2));

    EXPECT_EQ(archivos("RPT"), (QStringList{"00000001.PRN", "09132005082ABCDEFGH.PRN"}));
    // The temporary text file is gone; its copy stays.
    EXPECT_EQ(archivos("TMP"), QStringList{"09132005082ABCDEFGH.txt"});
    EXPECT_EQ(lineas("TMP/09132005082ABCDEFGH.txt"),
              (QStringList{
                  "DOCUMENTO     :20100070970    ",
                  "RAZON SOCIAL  :COMERCIAL PEÑA HERMA",
                  "FORMULARIO    :0913-VRD Refinanc.",
                  "PERIODO       :08/2005",
                  "ENTIDAD       :ESSALUD",
                  " ",
                  kRegla,
                  "      CONCEPTOS           ESSALUD",
                  kRegla,
                  "Monto deuda acogida:         15,000",
                  "Forma de pago      :    APLAZAMIENTO",
                  "Nº de cuotas fracc.:             12",
                  "Nº de meses aplaz. :              3",
                  "Monto cuota fracc. :          1,251",
                  "Garantía de deudas :             SI",
                  kRegla,
              }));
    // Windows-1252 text with CR LF.
    QFile texto(paths().dbPath + "TMP/09132005082ABCDEFGH.txt");
    ASSERT_TRUE(texto.open(QIODevice::ReadOnly));
    const QByteArray bytes = texto.readAll();
    EXPECT_TRUE(bytes.startsWith("DOCUMENTO     :20100070970    \r\nRAZON SOCIAL  :COMERCIAL PE\xD1" "A HERMA\r\n"));
    EXPECT_TRUE(bytes.endsWith("Garant\xED" "a de deudas :             SI\r\n====================================\r\n"));
    EXPECT_EQ(lineas("RPT/00000001.PRN"), lineas("RPT/09132005082ABCDEFGH.PRN"));
    EXPECT_EQ(spool(), QStringList{"F36008|000001|00000001.PRN|ADMIN|6|20100070970"});
    EXPECT_EQ(platform::readProfileString("Options", "SystemDB", QString(), paths().iniFile),
              paths().dbPath + "KOVAL.MDW");
}

TEST_F(QuenboTest, MarkupPlacesEveryLineOnePositionBelowTheLast)
{
    guardaCasillas(2, kCasillasEssalud);
    const QDate hoy = QDate::currentDate();

    esperaExito(ejecuta(2));

    QStringList marcado = lineas("RPT/00000001.PRN");
    ASSERT_EQ(marcado.size(), 31);
    // The header's date and time are the run's.
    const QRegularExpression fecha(QStringLiteral("^pPos\\|10\\|1050\\|          (\\d\\d/\\d\\d/\\d{4}) {56}Pag\\. 01/01\\|False\\|8\\|0\\|$"));
    const auto encontrada = fecha.match(marcado[9]);
    ASSERT_TRUE(encontrada.hasMatch()) << marcado[9].toStdString();
    EXPECT_GE(QDate::fromString(encontrada.captured(1), "dd/MM/yyyy"), hoy);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^pPos\\|10\\|1225\\|          \\d\\d:\\d\\d:\\d\\d\\|False\\|8\\|0\\|$"))
                    .match(marcado[10])
                    .hasMatch())
        << marcado[10].toStdString();
    marcado.remove(9, 2);
    const QString s = blancos(26);
    EXPECT_EQ(marcado, (QStringList{
                           "<!font!>Courier New<!/font!>",
                           "<!nHojas!>1<!/nHojas!>",
                           "pPos|10|175||False|8|0|",
                           "<!Orientacion!>V<!/Orientacion!>",
                           "<!Color!>&H80000005&<!/Color!>",
                           "pPos|10|350||False|8|0|",
                           "pPos|10|525||False|8|0|",
                           "pPos|10|700||False|8|0|",
                           "pPos|10|875||False|8|0|",
                           "pPos|10|1400||False|8|0|",
                           "pPos|10|1575|" + blancos(32) + "Resumen de Envío - VRD 0913|False|8|0|",
                           "pPos|10|1750||False|8|0|",
                           "pPos|10|1925||False|8|0|",
                           "pPos|10|2100|" + s + "DOCUMENTO     :20100070970    |False|8|0|",
                           "pPos|10|2275|" + s + "RAZON SOCIAL  :COMERCIAL PEÑA HERMA|False|8|0|",
                           "pPos|10|2450|" + s + "FORMULARIO    :0913-VRD Refinanc.|False|8|0|",
                           "pPos|10|2625|" + s + "PERIODO       :08/2005|False|8|0|",
                           "pPos|10|2800|" + s + "ENTIDAD       :ESSALUD|False|8|0|",
                           "pPos|10|2975||False|8|0|",
                           "pPos|10|3150|" + s + kRegla + "|False|8|0|",
                           "pPos|10|3325|" + s + "      CONCEPTOS           ESSALUD|False|8|0|",
                           "pPos|10|3500|" + s + kRegla + "|False|8|0|",
                           "pPos|10|3675|" + s + "Monto deuda acogida:         15,000|False|8|0|",
                           "pPos|10|3850|" + s + "Forma de pago      :    APLAZAMIENTO|False|8|0|",
                           "pPos|10|4025|" + s + "Nº de cuotas fracc.:             12|False|8|0|",
                           "pPos|10|4200|" + s + "Nº de meses aplaz. :              3|False|8|0|",
                           "pPos|10|4375|" + s + "Monto cuota fracc. :          1,251|False|8|0|",
                           "pPos|10|4550|" + s + "Garantía de deudas :             SI|False|8|0|",
                           "pPos|10|4725|" + s + kRegla + "|False|8|0|",
                       }));
}

// Each entity reads its own block of boxes and shows its own name.
TEST_F(QuenboTest, EachEntityShowsItsOwnBlock)
{
    const struct { int nEntidad; const char* sNombre; const char* sMonto; const char* sGarantia; } casos[] = {
        {1, "TESORO", "500", "506"},   {2, "ESSALUD", "507", "513"}, {3, "ONP", "514", "520"},
        {5, "FONAVI", "521", "527"},   {8, "FONCOMUN", "528", "534"},
    };
    for (const auto& caso : casos) {
        guardaCasillas(caso.nEntidad, {{caso.sMonto, "1234567"}, {caso.sGarantia, "0"}});

        esperaExito(ejecuta(caso.nEntidad));

        const QString sTexto = QStringLiteral("TMP/0913200508%1ABCDEFGH.txt").arg(caso.nEntidad);
        const QStringList texto = lineas(sTexto);
        ASSERT_EQ(texto.size(), 16) << caso.sNombre;
        EXPECT_EQ(texto[4], QStringLiteral("ENTIDAD       :") + caso.sNombre);
        EXPECT_EQ(texto[7], QStringLiteral("      CONCEPTOS           ") + caso.sNombre);
        EXPECT_EQ(texto[9], "Monto deuda acogida:      1,234,567");
        EXPECT_EQ(texto[10], "Forma de pago      :");
        EXPECT_EQ(texto[14], "Garantía de deudas :             NO");
    }
    EXPECT_EQ(spool().size(), 5);
}

TEST_F(QuenboTest, ModalityAndGuaranteeTexts)
{
    const struct { const char* sModalidad; const char* sForma; const char* sGarantia; const char* sTextoGarantia; } casos[] = {
        {"0", "Forma de pago      : FRACCIONAMIENTO", "1", "             SI"},
        {"1", "Forma de pago      :    APLAZAMIENTO", "0", "             NO"},
        {"2", "Forma de pago      :APLAZ. CON FRACC.", "", "             "},
        {"7", "Forma de pago      :", "2", "             "},
        {"", "Forma de pago      :", "X", "             "},
    };
    int nCorrida = 0;
    for (const auto& caso : casos) {
        db().execute(QStringLiteral("DELETE FROM DET"));
        guardaCasillas(1, {{"501", caso.sModalidad}, {"506", caso.sGarantia}});

        esperaExito(ejecuta(1));

        const QStringList texto = lineas("TMP/09132005081ABCDEFGH.txt");
        ASSERT_EQ(texto.size(), 16);
        EXPECT_EQ(texto[10], caso.sForma) << caso.sModalidad;
        EXPECT_EQ(texto[14], QStringLiteral("Garantía de deudas :") + caso.sTextoGarantia) << caso.sGarantia;
        ++nCorrida;
    }
    // The copies are overwritten; every run has a spool file of its own.
    EXPECT_EQ(archivos("RPT").size(), nCorrida + 1);
}

TEST_F(QuenboTest, SecondRunNumbersTheNextSpoolFile)
{
    db().execute(QStringLiteral("INSERT INTO SPOOL (CodRep, Secuencia, Archivo, Usuario, tip_doc_d, doc_id_d) VALUES "
                                "('F36005', '000007', '00000041.PRN', 'ADMIN', 6, '1'), "
                                "('F36008', '000003', '00000042.PRN', 'ADMIN', 6, '1')"));
    guardaCasillas(1, {{"500", "100"}});

    esperaExito(ejecuta(1));
    esperaExito(ejecuta(1));

    EXPECT_EQ(spool().mid(2), (QStringList{"F36008|000004|00000043.PRN|ADMIN|6|20100070970",
                                           "F36008|000005|00000044.PRN|ADMIN|6|20100070970"}));
    EXPECT_EQ(archivos("RPT"), (QStringList{"00000043.PRN", "00000044.PRN", "09132005081ABCDEFGH.PRN"}));
}

// The host pads the document number: the header keeps it whole, the queries
// and the spool row use it trimmed.
TEST_F(QuenboTest, PaddedDocumentIsTrimmedForTheQueriesAndKeptInTheHeader)
{
    guardaCasillas(1, {{"500", "2500"}});

    esperaExito(ejecuta(1, kRuc + "    "));

    const QStringList texto = lineas("TMP/09132005081ABCDEFGH.txt");
    EXPECT_EQ(texto.value(0), "DOCUMENTO     :20100070970    ");
    EXPECT_EQ(texto.value(9), "Monto deuda acogida:          2,500");
    EXPECT_EQ(spool(), QStringList{"F36008|000001|00000001.PRN|ADMIN|6|20100070970"});
}

TEST_F(QuenboTest, BoxesOutsideTheSummaryAndNullValuesAreIgnored)
{
    guardaCasillas(1, {{"000", "1"}, {"650", "1"}, {"721", "1"}, {"790", "1"}, {"999", "1"}, {"ABC", "1"},
                       {"500", QVariant()}, {"503", "6"}});

    esperaExito(ejecuta(1));

    const QStringList texto = lineas("TMP/09132005081ABCDEFGH.txt");
    ASSERT_EQ(texto.size(), 16);
    EXPECT_EQ(texto[9], "Monto deuda acogida: ");
    EXPECT_EQ(texto[11], "Nº de cuotas fracc.:              6");
}

TEST_F(QuenboTest, NullNameReadsAsEmpty)
{
    db().execute(QStringLiteral("UPDATE CONT SET nombre = NULL WHERE doc_id_d = ?"), {kRuc});

    esperaExito(ejecuta(3));

    EXPECT_EQ(lineas("TMP/09132005083ABCDEFGH.txt").value(1), "RAZON SOCIAL  :");
}

TEST_F(QuenboTest, EmptyUserRegistersAsAdminist)
{
    ASSERT_TRUE(platform::writeProfileString("Options", "SysUser", " ", paths().iniFile));

    esperaExito(ejecuta(1));

    EXPECT_EQ(spool(), QStringList{"F36008|000001|00000001.PRN|ADMINIST|6|20100070970"});
}

TEST_F(QuenboTest, DatabaseFolderWithoutFinalSeparatorStillHoldsTheReports)
{
    QString sCarpeta = paths().dbPath;
    sCarpeta.chop(1);
    ASSERT_TRUE(platform::writeProfileString("Options", "DBPath", sCarpeta, paths().iniFile));
    ASSERT_TRUE(platform::writeProfileString("Options", "DBName", "/" + paths().dbName, paths().iniFile));

    esperaExito(ejecuta(1));

    EXPECT_EQ(archivos("RPT"), (QStringList{"00000001.PRN", "09132005081ABCDEFGH.PRN"}));
    EXPECT_EQ(archivos("TMP"), QStringList{"09132005081ABCDEFGH.txt"});
    EXPECT_EQ(platform::readProfileString("Options", "SystemDB", QString(), paths().iniFile),
              paths().dbPath + "KOVAL.MDW");
}

TEST_F(QuenboTest, WhatLiesAtTheNextSpoolNamesIsPassedOverAndLeftAlone)
{
    QTemporaryDir fuera;
    const QString sFuera = outsideFile(fuera.path());
    const QString sRpt = paths().dbPath + "RPT/";
    ASSERT_TRUE(plant(Planted::Link, sRpt + "00000001.PRN", sFuera));
    ASSERT_TRUE(plant(Planted::Fifo, sRpt + "00000002.PRN"));

    esperaExito(ejecuta(1));

    EXPECT_EQ(spool(), QStringList{"F36008|000001|00000003.PRN|ADMIN|6|20100070970"});
    EXPECT_EQ(lineas("RPT/00000003.PRN"), lineas("RPT/09132005081ABCDEFGH.PRN"));
    EXPECT_TRUE(stillPlanted(Planted::Link, sRpt + "00000001.PRN", sFuera));
    EXPECT_TRUE(stillPlanted(Planted::Fifo, sRpt + "00000002.PRN"));
    EXPECT_EQ(plainBytes(sFuera), QByteArray("fuera\r\n"));
}

// A copy's name holding a link or a FIFO is refused as a folder there is.
TEST_F(QuenboTest, ACopyIsNeverWrittenThroughALinkNorIntoAFifo)
{
    QTemporaryDir fuera;
    const QString sFuera = outsideFile(fuera.path());
    const struct {
        Planted tipo;
        const char* sCopia;
    } casos[] = {
        {Planted::Link, "RPT/09132005081ABCDEFGH.PRN"},
        {Planted::Fifo, "TMP/09132005081ABCDEFGH.txt"},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(plantedName(caso.tipo));
        const QString sCopia = paths().dbPath + caso.sCopia;
        ASSERT_TRUE(plant(caso.tipo, sCopia, sFuera));

        const RunBox caja = esperaFalla(ejecuta(1), "Mensaje");

        EXPECT_EQ(caja.text, "Error tecnico:  75\\nError de acceso a la ruta o el archivo\\nIntente nuevamente por favor.");
        EXPECT_TRUE(stillPlanted(caso.tipo, sCopia, sFuera));
        EXPECT_EQ(plainBytes(sFuera), QByteArray("fuera\r\n"));
        ASSERT_TRUE(QFile::remove(sCopia));
    }
}

// The user may write the folders but not an earlier copy: it is refused as
// a link there is, and stays as it was.
TEST_F(QuenboTest, ACopyTheUserMayNotWriteIsLeftAsItIs)
{
    openToEveryone(paths().root);
    for (const char* sCopia : {"RPT/09132005081ABCDEFGH.PRN", "TMP/09132005081ABCDEFGH.txt"}) {
        SCOPED_TRACE(sCopia);
        const QString sRuta = paths().dbPath + sCopia;
        ASSERT_TRUE(platform::writeTextLines(sRuta, {QStringLiteral("anterior")}));
        QFile::setPermissions(sRuta, runsAsRoot() ? QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther
                                                  : QFile::ReadOwner | QFile::ReadOther);

        const RunBox caja = esperaFalla(ejecuta(1, kRuc, Screen::Offscreen, RunAs::OtherUser), "Mensaje");

        EXPECT_EQ(caja.text, "Error tecnico:  75\\nError de acceso a la ruta o el archivo\\nIntente nuevamente por favor.");
        EXPECT_EQ(lineas(sCopia), QStringList{"anterior"});
        EXPECT_EQ(QFileInfo(sRuta).ownerId(), ::getuid());
        ASSERT_TRUE(QFile::remove(sRuta));
    }
}

TEST_F(QuenboTest, UnregisteredDeclarantWritesNothing)
{
    const RunBox caja = esperaFalla(ejecuta(1, "20999999991"), "Error");

    EXPECT_EQ(caja.text, "No existe data para Generar Reporte de Envio!!!\r\\n\\n");
    esperaNadaEscrito();
}

TEST_F(QuenboTest, UnknownEntityWritesNothing)
{
    const ProgramRun corrida = ejecuta(4);

    const RunBox caja = esperaFalla(corrida, "Error");
    EXPECT_EQ(caja.text, "El código de entidad \"4\" no es válido. No se generó el Reporte de Envio.");
    EXPECT_EQ(corrida.exitCode, 3);
    esperaNadaEscrito();
}

TEST_F(QuenboTest, SuffixThatNamesAnotherFolderWritesNothing)
{
    const RunBox caja = esperaFalla(ejecutaLinea(hostkit::quenboCommandLine(kRuc, "200508", 1, "/../../x")), "Error");

    EXPECT_EQ(caja.text, "El nombre de archivo \"09132005081/../../x\" no es válido. No se generó el Reporte de Envio.");
    esperaNadaEscrito();
}

TEST_F(QuenboTest, UnopenableDatabaseWritesNothing)
{
    ASSERT_TRUE(platform::writeProfileString("Options", "DBName", "NOHAY.MDB", paths().iniFile));

    const ProgramRun corrida = ejecuta(1);

    const RunBox caja = esperaFalla(corrida, "Mensaje");
    EXPECT_TRUE(caja.text.startsWith("\\nNo se encuentra el archivo")) << caja.text.toStdString();
    EXPECT_TRUE(caja.text.endsWith("\\nIntente nuevamente por favor.")) << caja.text.toStdString();
    EXPECT_EQ(corrida.exitCode, 2);
    esperaNadaEscrito();
}

TEST_F(QuenboTest, AMarkupThatCannotBeWrittenIsNotRegisteredAndLeavesNoTemporaryFile)
{
    ASSERT_TRUE(QDir(paths().dbPath + "RPT").removeRecursively());

    const RunBox caja = esperaFalla(ejecuta(1), "Mensaje");

    EXPECT_TRUE(caja.text.startsWith("Error tecnico:  76\\n")) << caja.text.toStdString();
    EXPECT_EQ(archivos("TMP"), QStringList());
    EXPECT_EQ(spool(), QStringList());
}

// The text summary goes to TMP, the markup to RPT: whichever disk is full,
// of data or of files, the run says so and registers nothing.
TEST_F(QuenboTest, AFullDiskIsToldAsSuch)
{
    const struct {
        const char* sCarpeta;
        bool bSinInodos;
    } casos[] = {{"TMP", false}, {"TMP", true}, {"RPT", false}, {"RPT", true}};
    for (const auto& caso : casos) {
        SCOPED_TRACE(std::string(caso.sCarpeta) + (caso.bSinInodos ? ", no inode left" : ", no room left"));
        const SmallDisk disco(paths().dbPath + caso.sCarpeta);
        if (!disco.mounted())
            GTEST_SKIP() << "only root mounts a tmpfs";
        caso.bSinInodos ? disco.fillInodes() : disco.fillRoom();

        const RunBox caja = esperaFalla(ejecuta(1), "Mensaje");

        EXPECT_EQ(caja.text, "Error tecnico:  61\\nDisco lleno\\nIntente nuevamente por favor.");
        EXPECT_EQ(spool(), QStringList());
    }
}

// The first write past the limit on a file's size fails as a refused write:
// the run says so and ends, and leaves nothing it had written.
TEST_F(QuenboTest, AWritePastTheFileSizeLimitIsToldAndLeavesNothingBehind)
{
    const struct {
        const char* sCaso;
        qint64 nLimite;
        const char* sTexto;
    } casos[] = {
        // The settings' update is let go, as ever; the text summary is refused.
        {"nothing the run writes fits", 100,
         "Error tecnico:  57\\nError de E/S de dispositivo\\nIntente nuevamente por favor."},
        // The journal of the new row and both summaries fit; the table's own
        // page, written as the row is committed, lies beyond.
        {"the registration cannot be committed", 16384,
         "Error tecnico:  3043\\nError de disco o de red.\\nIntente nuevamente por favor."},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.sCaso);
        nLimiteArchivo = caso.nLimite;

        const ProgramRun corrida = ejecuta(1);

        ASSERT_EQ(corrida.exitCode, 4) << "-1: ended by a signal";
        EXPECT_EQ(esperaFalla(corrida, "Mensaje").text, caso.sTexto);
        esperaNadaEscrito();
        EXPECT_EQ(db().scalar("PRAGMA integrity_check").toString(), "ok");
    }
}

TEST_F(QuenboTest, RunsWithoutADisplay)
{
    esperaExito(ejecuta(1, kRuc, Screen::None));
    EXPECT_EQ(archivos("TMP"), QStringList{"09132005081ABCDEFGH.txt"});

    // A failure is told on the error output and the run still ends.
    const ProgramRun corrida = ejecuta(4, kRuc, Screen::None);
    EXPECT_EQ(corrida.exitCode, 3);
    EXPECT_EQ(corrida.boxes.size(), 1);
}

TEST(CreaArchivoTemporal, DrawsAgainRatherThanOverwriteAFile)
{
    QTemporaryDir carpeta;
    ASSERT_TRUE(carpeta.isValid());
    // The name the first draw gives is taken already.
    QRandomGenerator mismaSemilla(41);
    QFile ocupado(carpeta.filePath(QString::number(mismaSemilla.bounded(10000000, 100000000))));
    ASSERT_TRUE(ocupado.open(QIODevice::WriteOnly));
    ocupado.write("ocupado");
    ocupado.close();

    QRandomGenerator generador(41);
    const QString sRuta = reporte::CreaArchivoTemporal(carpeta.path(), generador);

    EXPECT_NE(sRuta, ocupado.fileName());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("/\\d{8}$")).match(sRuta).hasMatch()) << sRuta.toStdString();
    EXPECT_EQ(QFileInfo(sRuta).size(), 0);
    ASSERT_TRUE(ocupado.open(QIODevice::ReadOnly));
    EXPECT_EQ(ocupado.readAll(), "ocupado");
}

TEST(CreaArchivoTemporal, MissingFolderIsAPathError)
{
    QRandomGenerator generador(7);
    try {
        reporte::CreaArchivoTemporal(QStringLiteral("/no/existe/TMP"), generador);
        ADD_FAILURE() << "a file was made in a missing folder";
    } catch (const platform::DbError& e) {
        EXPECT_EQ(e.number(), 76);
    }
}

} // namespace
