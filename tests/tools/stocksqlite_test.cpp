// The shared database as any SQLite tool sees it: on a host the installer
// made, with a statement imported and its declaration saved, the stock
// sqlite3 shell (a process of its own, no extension loaded) reads, filters,
// sorts and changes the tables, and the system reads what the shell wrote.

#include "formulario/core/DefinicionTablas.h"
#include "formulario/core/ModGen00.h"
#include "formulario/subsystems/request/GrabaDeclaracion.h"
#include "formulario/subsystems/request/TablasTrabajo.h"
#include "platform/database.h"
#include "tests/support/HostTest.h"
#include "tools/hostkit/statement.h"
#include "tools/importa/importa.h"

#include <QDir>
#include <QProcess>

namespace {

const QString kRuc = QStringLiteral("20100070970");

class StockSqliteTest : public HostTest {
protected:
    StockSqliteTest()
    {
        withFormTables = false;
        hostOptions.ravisolPath = QStringLiteral(RAVISOL_BIN); // the installer runs as the host runs it
    }

    void SetUp() override
    {
        HostTest::SetUp();
        if (HasFatalFailure())
            return;
        const QString descargas = paths().root + QStringLiteral("/descargas/");
        QDir().mkpath(descargas);
        hostkit::writeStatementArchive(descargas, hostkit::sampleStatement(kRuc, 1, 3));
        ASSERT_EQ(ImportaEstadoAdeudos(kRuc, 1, descargas), QStringLiteral("La importación ha terminado satisfactoriamente"));

        DeclaracionFormulario datos;
        datos.clave = {6, kRuc, db().scalar(QStringLiteral("SELECT periodo FROM CAB WHERE doc_id_d = ? AND Semana = 1"),
                                            {kRuc}).toString(), 1, {}};
        datos.sTelefono = QStringLiteral("4411234");
        datos.sFechaAcog = QStringLiteral("31/03/2010");
        datos.sTiposGarantia = QStringLiteral("010");
        datos.nDeudasNotificadas = 3;
        sPeriodo = datos.clave.sPeriodo;
        nEntidad = 1;
        CargaDataTemporales(QStringLiteral("C"), datos.clave);
        ASSERT_TRUE(GrabaFormulario(datos, QStringLiteral("0913 Solicitud")));
    }

    // The output lines of `sql` run by the sqlite3 shell on the host's database.
    QStringList shell(const QString& sql, bool succeeds = true)
    {
        QProcess process;
        process.start(QStringLiteral("sqlite3"),
                      {QStringLiteral("-init"), QStringLiteral("/dev/null"), QStringLiteral("-batch"),
                       QStringLiteral("-bail"), paths().dbFile});
        process.write(sql.toUtf8());
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(60000)) << "sqlite3 did not end";
        EXPECT_EQ(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0, succeeds)
            << sql.toStdString() << "\n" << process.readAllStandardError().toStdString();
        return QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    }

    QString firstTextColumn(const QString& table)
    {
        for (const platform::ColumnDef& column : db().columns(table)) {
            if (column.type == platform::FieldType::Text || column.type == platform::FieldType::Memo)
                return column.name;
        }
        return {};
    }
};

TEST_F(StockSqliteTest, TheShellReadsFiltersAndSortsEveryTable)
{
    QString sql;
    QStringList counted;
    for (const QString& table : db().tableNames()) {
        const QString column = firstTextColumn(table);
        sql += QStringLiteral("SELECT '%1', count(*), (SELECT count(*) FROM (SELECT \"%2\" FROM \"%1\" "
                              "WHERE \"%2\" >= '0' ORDER BY \"%2\" DESC)) FROM \"%1\";\n")
                   .arg(table, column);
        counted.append(QStringLiteral("%1|%2|%3").arg(
            table, db().scalar(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)).toString(),
            db().scalar(QStringLiteral("SELECT count(*) FROM \"%1\" WHERE \"%2\" >= '0'").arg(table, column)).toString()));
    }
    EXPECT_EQ(shell(sql), counted);
    EXPECT_GE(counted.size(), 20);
    EXPECT_EQ(shell(QStringLiteral("SELECT nombre FROM CONT WHERE nombre LIKE '%peÑa%' ORDER BY nombre;\n"
                                   "SELECT count(*) FROM F0913DEUDAS WHERE doc_id_d = '20100070970' AND semana = 1;\n"
                                   "SELECT count(*) FROM sqlite_master WHERE sql GLOB '*JET*' OR sql GLOB '*Len(*';")),
              (QStringList{QStringLiteral("COMERCIAL PEÑA HERMANOS S.A.C."), QStringLiteral("4"), QStringLiteral("0")}));
}

TEST_F(StockSqliteTest, TheShellChangesEveryFormTableTheHeaderAndTheBoxesAndTheSystemReadsIt)
{
    QStringList tables{QStringLiteral("CAB"), QStringLiteral("DET")};
    for (const DefinicionTabla& tabla : TablasFormulario())
        tables.append(tabla.sNombre);
    for (const QString& table : std::as_const(tables)) {
        SCOPED_TRACE(table.toStdString());
        shell(QStringLiteral("INSERT INTO %1 (tip_doc_d, doc_id_d, periodo, formulario, semana) "
                             "VALUES (1, 'ñandú', '201512', '0913', 3), (1, 'ñandú', '201512', '0913', 5);\n"
                             "UPDATE %1 SET periodo = '201601' WHERE doc_id_d = 'ñandú' AND semana = 5;\n"
                             "DELETE FROM %1 WHERE doc_id_d = 'ñandú' AND semana = 3;")
                  .arg(table));
        shell(QStringLiteral("UPDATE %1 SET periodo = '2016011' WHERE doc_id_d = 'ñandú';").arg(table), false);
        EXPECT_EQ(rows(QStringLiteral("SELECT tip_doc_d, periodo, semana FROM %1 WHERE doc_id_d = 'ÑANDU'").arg(table)),
                  QStringList{QStringLiteral("1|201601|5")});
    }
    EXPECT_EQ(shell(QStringLiteral("UPDATE F0913DEUDAS SET mto_act_c = '1';\nSELECT changes();\nPRAGMA integrity_check;")),
              (QStringList{db().scalar(QStringLiteral("SELECT count(*) FROM F0913DEUDAS")).toString(), QStringLiteral("ok")}));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM F0913DEUDAS WHERE mto_act_c <> '1'")).toInt(), 0);
}

} // namespace
