#include "formulario/markup/ArchivoSpool.h"

#include "platform/database.h"
#include "tests/support/HostTest.h"
#include "tests/support/PlantedFile.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <thread>

namespace {

class ArchivoSpoolTest : public HostTest {
protected:
    ArchivoSpoolTest() { withFormTables = false; }

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
};

TEST_F(ArchivoSpoolTest, EmptyTableGivesTheFirstSequenceAndFile)
{
    const ArchivoSpool archivo =
        GeneraArchivoSpool(db(), QStringLiteral("/rpt/"), QStringLiteral("F36005"), QStringLiteral("20100066603"), 6,
                           QStringLiteral("ADMIN"));
    EXPECT_EQ(archivo.sNombre, QStringLiteral("00000001.PRN"));
    EXPECT_EQ(archivo.sRuta, QStringLiteral("/rpt/00000001.PRN"));
    EXPECT_EQ(fila(archivo.sNombre), QStringLiteral("F36005,000001,ADMIN,6,20100066603"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT date(Fecha) FROM SPOOL")).toString(),
              QDate::currentDate().toString(Qt::ISODate));
}

TEST_F(ArchivoSpoolTest, SequenceRunsPerCodeAndTheFileNumberOverTheWholeTable)
{
    agrega("F36005", "000007", "00000041.PRN");
    agrega("F36008", "000003", "00000042.PRN");
    EXPECT_EQ(GeneraArchivoSpool(db(), QStringLiteral("/rpt"), QStringLiteral("F36005"), QStringLiteral("1"), 6,
                                 QStringLiteral("U")).sNombre,
              QStringLiteral("00000043.PRN"));
    EXPECT_EQ(fila(QStringLiteral("00000043.PRN")), QStringLiteral("F36005,000008,U,6,1"));
    EXPECT_EQ(GeneraArchivoSpool(db(), QStringLiteral("/rpt"), QStringLiteral("F36006"), QStringLiteral("1"), 1,
                                 QStringLiteral("U")).sNombre,
              QStringLiteral("00000044.PRN"));
    EXPECT_EQ(fila(QStringLiteral("00000044.PRN")), QStringLiteral("F36006,000001,U,1,1"));
}

TEST_F(ArchivoSpoolTest, NamesThatAreNoNumbersDoNotHideTheNumberedFiles)
{
    agrega("F36005", "000002", "00000009.PRN");
    agrega("F36005", "ABCDEF", "RESUMEN.PRN");
    const ArchivoSpool archivo = GeneraArchivoSpool(db(), QStringLiteral("/rpt"), QStringLiteral("F36005"),
                                                    QStringLiteral("1"), 6, QStringLiteral("U"));
    EXPECT_EQ(archivo.sNombre, QStringLiteral("00000010.PRN"));
    EXPECT_EQ(fila(archivo.sNombre), QStringLiteral("F36005,000003,U,6,1"));
}

TEST_F(ArchivoSpoolTest, TwoProgramsRegisteringAtOnceGetDifferentFiles)
{
    platform::OpenOptions opciones;
    opciones.busyTimeoutMs = 20000;
    auto registra = [&](QStringList* nombres, const QString& sCodRep) {
        auto oBase = platform::Database::open(db().path(), opciones);
        for (int i = 0; i < 25; ++i)
            *nombres << GeneraArchivoSpool(*oBase, QStringLiteral("/rpt"), sCodRep, QStringLiteral("1"), 6,
                                           QStringLiteral("U")).sNombre;
    };
    QStringList primeros, segundos;
    std::thread tarvel(registra, &primeros, QStringLiteral("F36005"));
    std::thread quenbo(registra, &segundos, QStringLiteral("F36008"));
    tarvel.join();
    quenbo.join();
    QStringList todos = primeros + segundos;
    todos.removeDuplicates();
    EXPECT_EQ(todos.size(), 50);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(DISTINCT Archivo) FROM SPOOL")).toInt(), 50);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT max(Archivo) FROM SPOOL")).toString(), QStringLiteral("00000050.PRN"));
}

TEST_F(ArchivoSpoolTest, ANumberWhoseNameSomethingHoldsIsPassedOverAndLeftAlone)
{
    QTemporaryDir carpeta, fuera;
    const QString sFuera = outsideFile(fuera.path());
    const QString sRpt = carpeta.path() + u'/';
    const Planted tipos[] = {Planted::Link, Planted::Fifo, Planted::Folder, Planted::DeviceLink};
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(plant(tipos[i], sRpt + QStringLiteral("0000000%1.PRN").arg(i + 1), sFuera));
    ASSERT_TRUE(QFile::link(sRpt + QStringLiteral("no-existe"), sRpt + QStringLiteral("00000005.PRN")));
    ASSERT_TRUE(QFile(sRpt + QStringLiteral("00000006.PRN")).open(QIODevice::WriteOnly));

    const ArchivoSpool registrado = GeneraArchivoSpool(db(), sRpt, QStringLiteral("F36005"), QStringLiteral("1"), 6,
                                                       QStringLiteral("U"));
    EXPECT_EQ(registrado.sNombre, QStringLiteral("00000007.PRN"));
    EXPECT_EQ(fila(QStringLiteral("00000007.PRN")), QStringLiteral("F36005,000001,U,6,1"));
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(stillPlanted(tipos[i], sRpt + QStringLiteral("0000000%1.PRN").arg(i + 1), sFuera)) << i;
    EXPECT_EQ(plainBytes(sFuera), QByteArray("fuera\r\n"));
}

TEST_F(ArchivoSpoolTest, AFailedRegistrationAddsNoRowAndLeavesNoTransactionOpen)
{
    db().execute(QStringLiteral("DROP TABLE SPOOL"));
    EXPECT_THROW(GeneraArchivoSpool(db(), QStringLiteral("/rpt"), QStringLiteral("F36005"), QStringLiteral("1"), 6,
                                    QStringLiteral("U")),
                 platform::DbError);
    EXPECT_EQ(db().transactionLevel(), 0);
}

} // namespace
