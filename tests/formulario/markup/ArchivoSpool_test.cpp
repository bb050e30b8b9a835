#include "formulario/markup/ArchivoSpool.h"

#include "formulario/core/ModGen00.h"
#include "platform/database.h"
#include "tests/support/HostTest.h"
#include "tests/support/PlantedFile.h"
#include "tests/support/ProcesoInterrumpido.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <sys/wait.h>
#include <thread>

namespace {

const QByteArray kReporte = "<!font!>Courier New<!/font!>\r\n<!nHojas!>1<!/nHojas!>\r\n";

void EscribeReporte(const QString& sRuta)
{
    QFile archivo(sRuta);
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    archivo.write(kReporte);
}

class ArchivoSpoolTest : public HostTest {
protected:
    ArchivoSpoolTest() { withFormTables = false; }

    ArchivoSpool registra(const char* sCodRep, int nTipDoc = 6, platform::Database* oBase = nullptr)
    {
        return GeneraArchivoSpool(oBase ? *oBase : db(), sRpt, QString::fromLatin1(sCodRep), QStringLiteral("1"),
                                  nTipDoc, QStringLiteral("U"), EscribeReporte);
    }
    QStringList archivos() const { return QDir(sRpt).entryList(QDir::Files, QDir::Name); }

    void agrega(const char* sCodRep, const char* sSecuencia, const char* sArchivo)
    {
        db().execute(QStringLiteral("INSERT INTO SPOOL (CodRep, Secuencia, Archivo, Usuario) VALUES (?, ?, ?, 'X')"),
                     {QString::fromLatin1(sCodRep), QString::fromLatin1(sSecuencia), QString::fromLatin1(sArchivo)});
    }
    QString fila(const QString& sArchivo)
    {
        auto rs = db().openRecordset(
            QStringLiteral("SELECT CodRep, Secuencia, Usuario, tip_doc_d, doc_id_d FROM SPOOL WHERE Archivo = ?"),
            {sArchivo});
        if (rs->eof())
            return {};
        QStringList campos;
        for (int i = 0; i < rs->fieldCount(); ++i)
            campos << rs->field(i).text();
        return campos.join(u',');
    }
    int filas() { return db().scalar(QStringLiteral("SELECT count(*) FROM SPOOL")).toInt(); }

    QTemporaryDir carpeta;
    const QString sRpt = carpeta.path() + u'/';
};

TEST_F(ArchivoSpoolTest, EmptyTableGivesTheFirstSequenceAndFile)
{
    const ArchivoSpool archivo = GeneraArchivoSpool(db(), sRpt, QStringLiteral("F36005"),
                                                    QStringLiteral("20100066603"), 6, QStringLiteral("ADMIN"),
                                                    EscribeReporte);
    EXPECT_EQ(archivo.sNombre, QStringLiteral("00000001.PRN"));
    EXPECT_EQ(archivo.sRuta, sRpt + QStringLiteral("00000001.PRN"));
    EXPECT_EQ(fila(archivo.sNombre), QStringLiteral("F36005,000001,ADMIN,6,20100066603"));
    EXPECT_EQ(archivos(), QStringList{"00000001.PRN"});
    EXPECT_EQ(plainBytes(archivo.sRuta), kReporte);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT date(Fecha) FROM SPOOL")).toString(),
              QDate::currentDate().toString(Qt::ISODate));
}

TEST_F(ArchivoSpoolTest, SequenceRunsPerCodeAndTheFileNumberOverTheWholeTable)
{
    agrega("F36005", "000007", "00000041.PRN");
    agrega("F36008", "000003", "00000042.PRN");
    EXPECT_EQ(registra("F36005").sNombre, QStringLiteral("00000043.PRN"));
    EXPECT_EQ(fila(QStringLiteral("00000043.PRN")), QStringLiteral("F36005,000008,U,6,1"));
    EXPECT_EQ(registra("F36006", 1).sNombre, QStringLiteral("00000044.PRN"));
    EXPECT_EQ(fila(QStringLiteral("00000044.PRN")), QStringLiteral("F36006,000001,U,1,1"));
}

TEST_F(ArchivoSpoolTest, NamesThatAreNoNumbersDoNotHideTheNumberedFiles)
{
    agrega("F36005", "000002", "00000009.PRN");
    agrega("F36005", "ABCDEF", "RESUMEN.PRN");
    const ArchivoSpool archivo = registra("F36005");
    EXPECT_EQ(archivo.sNombre, QStringLiteral("00000010.PRN"));
    EXPECT_EQ(fila(archivo.sNombre), QStringLiteral("F36005,000003,U,6,1"));
}

TEST_F(ArchivoSpoolTest, TwoProgramsRegisteringAtOnceGetDifferentFiles)
{
    platform::OpenOptions opciones;
    opciones.busyTimeoutMs = 20000;
    auto registraVarios = [&](QStringList* nombres, const char* sCodRep) {
        auto oBase = platform::Database::open(db().path(), opciones);
        for (int i = 0; i < 25; ++i)
            *nombres << registra(sCodRep, 6, oBase.get()).sNombre;
    };
    QStringList primeros, segundos;
    std::thread tarvel(registraVarios, &primeros, "F36005");
    std::thread quenbo(registraVarios, &segundos, "F36008");
    tarvel.join();
    quenbo.join();
    QStringList todos = primeros + segundos;
    todos.removeDuplicates();
    EXPECT_EQ(todos.size(), 50);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(DISTINCT Archivo) FROM SPOOL")).toInt(), 50);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT max(Archivo) FROM SPOOL")).toString(), QStringLiteral("00000050.PRN"));
    EXPECT_EQ(archivos().size(), 50);
}

TEST_F(ArchivoSpoolTest, ANumberWhoseNameSomethingHoldsIsPassedOverAndLeftAlone)
{
    QTemporaryDir fuera;
    const QString sFuera = outsideFile(fuera.path());
    const Planted tipos[] = {Planted::Link, Planted::Fifo, Planted::Folder, Planted::DeviceLink};
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(plant(tipos[i], sRpt + QStringLiteral("0000000%1.PRN").arg(i + 1), sFuera));
    ASSERT_TRUE(QFile::link(sRpt + QStringLiteral("no-existe"), sRpt + QStringLiteral("00000005.PRN")));
    ASSERT_TRUE(QFile(sRpt + QStringLiteral("00000006.PRN")).open(QIODevice::WriteOnly));

    const ArchivoSpool registrado = registra("F36005");
    EXPECT_EQ(registrado.sNombre, QStringLiteral("00000007.PRN"));
    EXPECT_EQ(fila(QStringLiteral("00000007.PRN")), QStringLiteral("F36005,000001,U,6,1"));
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(stillPlanted(tipos[i], sRpt + QStringLiteral("0000000%1.PRN").arg(i + 1), sFuera)) << i;
    EXPECT_EQ(plainBytes(sFuera), QByteArray("fuera\r\n"));
}

TEST_F(ArchivoSpoolTest, AFailedRegistrationAddsNoRowAndLeavesNoTransactionOpen)
{
    db().execute(QStringLiteral("DROP TABLE SPOOL"));
    EXPECT_THROW(registra("F36005"), platform::DbError);
    EXPECT_EQ(db().transactionLevel(), 0);
}

TEST_F(ArchivoSpoolTest, AReportThatFailsHalfWrittenLeavesNoRowAndNoFile)
{
    EXPECT_THROW(GeneraArchivoSpool(db(), sRpt, QStringLiteral("F36005"), QStringLiteral("1"), 6, QStringLiteral("U"),
                                    [](const QString& sRuta) {
                                        EscribeReporte(sRuta);
                                        throw platform::DbError(61, QStringLiteral("Disco lleno"));
                                    }),
                 platform::DbError);
    EXPECT_EQ(filas(), 0);
    EXPECT_EQ(archivos(), QStringList());
    EXPECT_EQ(db().transactionLevel(), 0);
}

TEST_F(ArchivoSpoolTest, AWriterKilledMidwayLeavesNoRowAndTheNextRegistrationTakesItsNumberWhole)
{
    // The writer is killed before the one SPOOL row could be followed by a second.
    const int estado = EjecutaYMuere(db().path(), "SPOOL", 2, [this] {
        GeneraArchivoSpool(*oBaseDatos, sRpt, QStringLiteral("F36005"), QStringLiteral("1"), 6, QStringLiteral("U"),
                           [](const QString& sRuta) {
                               QFile archivo(sRuta);
                               if (archivo.open(QIODevice::WriteOnly) && archivo.write(kReporte.left(30)) == 30
                                   && archivo.flush())
                                   ::raise(SIGKILL);
                           });
    });
    ASSERT_TRUE(WIFSIGNALED(estado) && WTERMSIG(estado) == SIGKILL) << estado;
    EXPECT_EQ(filas(), 0);
    const QStringList restos = archivos();
    ASSERT_EQ(restos.size(), 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^00000001\\.PRN\\.~[0-9a-f]{16}$")).match(restos[0]).hasMatch())
        << restos[0].toStdString();

    const ArchivoSpool archivo = registra("F36005");

    EXPECT_EQ(fila(QStringLiteral("00000001.PRN")), QStringLiteral("F36005,000001,U,6,1"));
    EXPECT_EQ(archivos(), QStringList{"00000001.PRN"});
    EXPECT_EQ(plainBytes(archivo.sRuta), kReporte);
}

} // namespace
