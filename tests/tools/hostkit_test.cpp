// The host stand-in: folders, settings, workgroup files, the host tables and
// their rows, the RUC check rule and the test fixture built on them.

#include "formulario/core/ModGen00.h"
#include "platform/database.h"
#include "platform/profile.h"
#include "platform/textfile.h"
#include "tests/support/HostTest.h"
#include "platform/utility.h"
#include "tools/hostkit/hostkit.h"
#include "tools/hostkit/statement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using platform::Database;
using platform::FieldType;

// A host prepared in a folder of its own, with the database open.
class PreparedHost : public ::testing::Test {
protected:
    void prepare(const hostkit::PrepareOptions& options = {})
    {
        ASSERT_TRUE(dir_.isValid());
        host_ = hostkit::prepareHost(dir_.path(), options);
        open();
    }
    void open()
    {
        platform::OpenOptions options;
        options.workgroupFile = host_.workgroupFile;
        db_ = Database::open(host_.dbFile, options);
    }
    int count(const QString& sql, const QVariantList& params = {})
    {
        return db_->scalar(sql, params).toInt();
    }
    QString setting(const QString& key)
    {
        return platform::readProfileString(QStringLiteral("Options"), key, QStringLiteral("(none)"),
                                           QStringLiteral("KOVAL.INI"));
    }

    QTemporaryDir dir_;
    hostkit::HostPaths host_;
    std::unique_ptr<Database> db_;
};

TEST_F(PreparedHost, MakesTheFoldersAndFilesTheProgramsUse)
{
    prepare();
    EXPECT_TRUE(host_.sysPath.endsWith(u'/'));
    // The installer opens SysPath + DBName, the other programs DBPath + DBName;
    // the report program takes the workgroup file from DBPath, the others from SysPath.
    EXPECT_EQ(host_.dbPath, host_.sysPath);
    EXPECT_EQ(host_.dbFile, host_.sysPath + host_.dbName);
    EXPECT_EQ(host_.workgroupFile, host_.sysPath + QStringLiteral("KOVAL.MDW"));
    for (const QString& folder : {host_.windowsDir, host_.sysPath + "RPT", host_.sysPath + "TMP",
                                  host_.sysPath + "tmp", host_.sysPath + "ENV", host_.sysPath + "0913"})
        EXPECT_TRUE(QFileInfo(folder).isDir()) << folder.toStdString();
    for (const QString& file : {host_.workgroupFile, host_.iniFile, host_.dbFile, host_.sysPath + "tmp/env913.txt",
                                host_.sysPath + "tmp/Par913.txt"})
        EXPECT_TRUE(QFileInfo(file).isFile()) << file.toStdString();
}

TEST_F(PreparedHost, SettingsAreReadFromTheWindowsDirectory)
{
    hostkit::PrepareOptions options;
    options.user = QStringLiteral("CONTADOR1");
    prepare(options);
    const QByteArray saved = qgetenv("WINDIR");
    hostkit::setWindowsDirectory(host_);
    EXPECT_EQ(platform::windowsDirectory(), QDir::cleanPath(host_.windowsDir));
    EXPECT_EQ(setting(QStringLiteral("SysPath")), host_.sysPath);
    EXPECT_EQ(setting(QStringLiteral("DBPath")) + setting(QStringLiteral("DBName")), host_.dbFile);
    EXPECT_EQ(setting(QStringLiteral("SysUser")), QStringLiteral("CONTADOR1"));
    for (const char* key : {"SysAsist0913", "SysHelp", "SysMenu"})
        EXPECT_NE(setting(QString::fromLatin1(key)), QStringLiteral("(none)")) << key;
    qputenv("WINDIR", saved);
}

TEST_F(PreparedHost, InstallerInputsDefineTheExportOfEveryTableOfTheForm)
{
    prepare();
    QStringList lines;
    ASSERT_TRUE(platform::readTextLines(host_.sysPath + "tmp/env913.txt", &lines));
    QStringList sources;
    for (const QString& line : lines) {
        EXPECT_EQ(line.count(u'|'), 13) << line.toStdString();
        EXPECT_TRUE(line.endsWith(u'|'));
        sources.append(line.section(u'|', 1, 1));
    }
    EXPECT_EQ(sources, (QStringList{"CAB", "DET", "F0913DEUDAS", "F0913MOTIVO", "F0913SUSTEN", "F0913GARANTIA"}));
}

TEST_F(PreparedHost, HostTablesHaveTheirKeysAndControlColumnLast)
{
    prepare();
    const QList<QPair<QString, QStringList>> keys{
        {"CAB", {"tip_doc_d", "doc_id_d", "periodo", "formulario", "Semana"}},
        {"HCAB", {"tip_doc_d", "doc_id_d", "periodo", "formulario", "Semana", "Correl"}},
        {"DET", {"tip_doc_d", "doc_id_d", "periodo", "formulario", "Semana", "Casilla"}},
        {"HDET", {"tip_doc_d", "doc_id_d", "periodo", "formulario", "Semana", "Correl", "Casilla"}},
        {"CONT", {"tip_doc_d", "doc_id_d"}},
        {"CLAVES", {"Usuario"}},
        {"Param", {"Numero", "Argumento"}},
        {"SPOOL", {"Archivo"}},
        {"reportes", {"codrep"}},
        {"envio_t", {"formulario", "tabla_o"}},
    };
    for (const auto& [table, key] : keys) {
        ASSERT_TRUE(db_->tableExists(table)) << table.toStdString();
        EXPECT_EQ(db_->primaryKeyColumns(table), key) << table.toStdString();
    }
    // The control value counts the key columns first and leaves out the last column.
    for (const auto& [table, key] : keys.first(4)) {
        const QList<platform::ColumnDef> columns = db_->columns(table);
        for (qsizetype i = 0; i < key.size(); ++i)
            EXPECT_EQ(columns.at(i).name, key.at(i)) << table.toStdString();
        EXPECT_EQ(columns.last().name, QStringLiteral("cNumero")) << table.toStdString();
        EXPECT_EQ(columns.last().type, FieldType::Text);
        EXPECT_EQ(columns.last().size, 6);
    }
    // The form's own tables are the installer's.
    EXPECT_FALSE(db_->tableExists(QStringLiteral("F0913DEUDAS")));
}

TEST_F(PreparedHost, EveryColumnTheProgramsWriteTakesItsValue)
{
    prepare();
    db_->execute("INSERT INTO CAB (tip_doc_d, doc_id_d, periodo, formulario, Semana, bcolibrad, nrocheque, "
                 "efectivo, cheque, Rectifica, estado, fec_pro, cNumero) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)",
                 {6, "20100070970", "201512", "0913", 8, 255, "15/01/2016", "", " 1 ", 0, 9, "15/01/2016", "123456"});
    db_->execute("INSERT INTO DET (tip_doc_d, doc_id_d, periodo, formulario, Semana, Casilla, i_valor, "
                 "idcasilla, estado, cNumero) VALUES (?,?,?,?,?,?,?,?,?,?)",
                 {6, "20100070970", "201512", "0913", 8, "534", "", "01", "9", "123456"});
    db_->execute("INSERT INTO HDET (tip_doc_d, doc_id_d, periodo, formulario, Semana, Correl, Casilla, i_valor, "
                 "idcasilla, cNumero) VALUES (?,?,?,?,?,?,?,?,?,?)",
                 {6, "20100070970", "201512", "0913", 8, "001", "541", "15/01/2016", "01", "654321"});
    db_->execute("INSERT INTO SPOOL (CodRep, Secuencia, Archivo, Fecha, Usuario, tip_doc_d, doc_id_d) "
                 "VALUES (?,?,?,?,?,?,?)",
                 {"F36008", "000001", "00000001.PRN", QDateTime::currentDateTime(), "ADMINIST", 6, "20100070970"});
    db_->execute("INSERT INTO reportes VALUES (?,?,?)", {"F36008", "Resumen de envio de información - 0913", 1});
    db_->execute("INSERT INTO envio_t VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)",
                 {"0913", "F0913GARANTIA", " ", "GAR0913", 6, 0, 1, 2, 4, 3, 0, 0, 5});
    db_->execute("INSERT INTO Param VALUES (?,?,?,?)", {"992", "0913", "2", ""});
    EXPECT_EQ(count("SELECT bcolibrad FROM CAB"), 255);
    EXPECT_EQ(db_->scalar("SELECT cheque FROM CAB").toString(), QStringLiteral(" 1 "));
    // One declaration has one header and one row per box.
    EXPECT_THROW(db_->execute("INSERT INTO CAB (tip_doc_d, doc_id_d, periodo, formulario, Semana) VALUES (?,?,?,?,?)",
                              {6, "20100070970", "201512", "0913", 8}),
                 platform::DbError);
    EXPECT_THROW(db_->execute("INSERT INTO DET (tip_doc_d, doc_id_d, periodo, formulario, Semana, Casilla) "
                              "VALUES (?,?,?,?,?,?)",
                              {6, "20100070970", "201512", "0913", 8, "534"}),
                 platform::DbError);
}

TEST_F(PreparedHost, SampleDeclarantsAndUsersAreRegistered)
{
    prepare();
    const QList<hostkit::SampleDeclarant>& declarants = hostkit::sampleDeclarants();
    EXPECT_EQ(count("SELECT count(*) FROM CONT"), declarants.size());
    for (const hostkit::SampleDeclarant& declarant : declarants) {
        auto row = db_->openRecordset("SELECT * FROM CONT WHERE tip_doc_d = ? AND doc_id_d = ?",
                                      {declarant.tipDoc, declarant.docId});
        ASSERT_FALSE(row->eof()) << declarant.docId.toStdString();
        EXPECT_EQ(row->field("nombre").text(), declarant.nombre);
        EXPECT_EQ(row->field("usuario").text(), declarant.usuario);
    }
    EXPECT_EQ(db_->scalar("SELECT nombre FROM CONT WHERE doc_id_d = ?", {"20100070970"}).toString(),
              QStringLiteral("COMERCIAL PEÑA HERMANOS S.A.C."));
    EXPECT_EQ(count("SELECT count(*) FROM CONT WHERE tip_doc_d = 6 AND usuario = ?", {"CONTADOR1"}), 2);

    for (const hostkit::SampleUser& user : hostkit::sampleUsers())
        EXPECT_EQ(db_->scalar("SELECT Tipo FROM CLAVES WHERE Usuario = ?", {user.usuario}).toString(), user.tipo);
    EXPECT_EQ(db_->scalar("SELECT Tipo FROM CLAVES WHERE Usuario = ?", {"ADMIN"}).toString(), QStringLiteral("0"));
    EXPECT_EQ(count("SELECT count(*) FROM CLAVES WHERE Tipo = '1'"), 2);

    for (const char* table : {"CAB", "DET", "HCAB", "HDET", "SPOOL", "reportes", "envio_t"})
        EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table))), 0) << table;
}

TEST_F(PreparedHost, HostParameterListsAreSeededAndTheInstallersAreNot)
{
    prepare();
    auto funcion = [this](const QString& numero, const QString& argumento) {
        return db_->scalar("SELECT Funcion FROM Param WHERE Numero = ? AND Argumento = ?", {numero, argumento})
            .toString();
    };
    // Document type names in positions 31-42, entity names in 1-20.
    EXPECT_EQ(funcion("044", "06").mid(30, 12).trimmed(), QStringLiteral("R.U.C."));
    const QStringList entities{"TESORO", "ESSALUD", "ONP", "FONAVI", "FONCOMUN"};
    const QStringList codes{"1", "2", "3", "5", "8"};
    for (int i = 0; i < codes.size(); ++i)
        EXPECT_EQ(funcion("727", codes.at(i)).left(20).trimmed(), entities.at(i));
    EXPECT_EQ(count("SELECT count(*) FROM Param WHERE Numero = '727'"), 5);
    // Tributes keyed 0abc0d: every tribute a resolution entered by hand can get.
    for (const char* tribute : {"080201", "052106", "053105", "050301", "072001", "080209", "052307", "053301",
                                "050509", "072002"}) {
        EXPECT_FALSE(funcion("871", tribute).isEmpty()) << tribute;
        EXPECT_FALSE(funcion("725", tribute).isEmpty()) << tribute;
    }
    // Debt document types: short name in 1-20, full name from 22.
    EXPECT_EQ(funcion("872", "017004").mid(21).trimmed(), QStringLiteral("RESOLUCIÓN DE MULTA"));
    for (const char* type : {"017001", "017004", "017501", "017504"})
        EXPECT_FALSE(funcion("872", type).left(20).trimmed().isEmpty()) << type;
    // The sample statement's debts take the types in turn, so the grid names them.
    const QStringList sampleTypes{"ORDEN DE PAGO", "RESOLUCIÓN DE DETERMINACIÓN", "RESOLUCIÓN DE MULTA",
                                  "ORDEN DE PAGO"};
    for (int n = 0; n < sampleTypes.size(); ++n)
        EXPECT_EQ(funcion("872", hostkit::sampleDebt(n).codTipDoc).mid(21).trimmed(), sampleTypes.at(n)) << n;
    EXPECT_FALSE(funcion("874", "0023").left(20).trimmed().isEmpty());
    EXPECT_TRUE(funcion("874", "0099").left(20).trimmed().isEmpty());
    // The installer writes its own rows.
    EXPECT_EQ(count("SELECT count(*) FROM Param WHERE Numero IN ('404', '856', '880', '992', '996')"), 0);
}

TEST_F(PreparedHost, WithoutSamplesOnlyTheParametersAreThere)
{
    hostkit::PrepareOptions options;
    options.withSamples = false;
    prepare(options);
    EXPECT_EQ(count("SELECT count(*) FROM CONT"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM CLAVES"), 0);
    EXPECT_GT(count("SELECT count(*) FROM Param WHERE Numero = '727'"), 0);
}

TEST_F(PreparedHost, PreparingAgainKeepsTheDatabaseAndItsRows)
{
    prepare();
    db_->execute("INSERT INTO CAB (tip_doc_d, doc_id_d, periodo, formulario, Semana) VALUES (?,?,?,?,?)",
                 {6, "20100070970", "201512", "0913", 1});
    db_->execute("DELETE FROM CONT WHERE doc_id_d = ?", {"20456712381"});
    db_.reset();
    host_ = hostkit::prepareHost(dir_.path());
    open();
    EXPECT_EQ(count("SELECT count(*) FROM CAB"), 1);
    EXPECT_EQ(count("SELECT count(*) FROM CONT"), hostkit::sampleDeclarants().size() - 1);
}

TEST_F(PreparedHost, InstallerThatFailsOrShowsAMessageIsReported)
{
    prepare();
    db_.reset();
    // A stand-in installer: records what it was given, then behaves as told.
    auto installer = [this](const QString& body) {
        const QString path = dir_.path() + QStringLiteral("/installer.sh");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(("#!/bin/sh\necho \"$WINDIR|$QT_QPA_PLATFORM|$(pwd)\" > \"" + dir_.path() + "/seen\"\n" + body + "\n")
                       .toUtf8());
        file.close();
        file.setPermissions(file.permissions() | QFileDevice::ExeUser);
        return path;
    };
    EXPECT_NO_THROW(hostkit::runRavisol(host_, installer(QStringLiteral("exit 0"))));
    QStringList seen;
    ASSERT_TRUE(platform::readTextLines(dir_.path() + QStringLiteral("/seen"), &seen));
    EXPECT_EQ(seen.value(0), host_.windowsDir + "|offscreen|" + QDir(host_.sysPath).absolutePath());

    EXPECT_THROW(hostkit::runRavisol(host_, installer(QStringLiteral("exit 3"))), hostkit::HostError);
    EXPECT_THROW(hostkit::runRavisol(host_, installer(QStringLiteral(
                                                "echo 'MSGBOX|Mensaje|Debe instalar primero el VRD |0|64' >&2"))),
                 hostkit::HostError);
    EXPECT_THROW(hostkit::runRavisol(host_, dir_.path() + QStringLiteral("/missing")), hostkit::HostError);

    hostkit::PrepareOptions options;
    options.ravisolPath = installer(QStringLiteral("exit 1"));
    EXPECT_THROW(hostkit::prepareHost(dir_.path(), options), hostkit::HostError);
}

TEST_F(PreparedHost, PreparingWithTheInstallerLeavesTheFormReadyToUse)
{
    hostkit::PrepareOptions options;
    options.ravisolPath = QStringLiteral(RAVISOL_BIN);
    prepare(options);
    for (const char* table : {"F0913DEUDAS", "TMP_F0913DEUDAS", "HF0913SUSTEN", "F0913GARANTIA"})
        EXPECT_TRUE(db_->tableExists(QString::fromLatin1(table))) << table;
    EXPECT_EQ(count("SELECT count(*) FROM Param WHERE Numero = '404'"), 8);
    EXPECT_EQ(count("SELECT count(*) FROM envio_t WHERE formulario = '0913'"), 6);
    EXPECT_EQ(count("SELECT count(*) FROM reportes"), 4);
    // The host's own rows are still there, and a second run is as quiet.
    EXPECT_EQ(count("SELECT count(*) FROM CONT"), hostkit::sampleDeclarants().size());
    db_.reset();
    EXPECT_NO_THROW(hostkit::runRavisol(host_, QStringLiteral(RAVISOL_BIN)));
}

TEST(SampleDeclarants, RucsPassTheCheckAndAWrongDigitFails)
{
    const platform::Utility util;
    int rucs = 0;
    for (const hostkit::SampleDeclarant& declarant : hostkit::sampleDeclarants()) {
        if (declarant.tipDoc != 6)
            continue;
        ++rucs;
        EXPECT_TRUE(util.isValidRuc(declarant.docId)) << declarant.docId.toStdString();
        QString wrong = declarant.docId;
        wrong[10] = QChar(u'0' + (wrong.at(10).digitValue() + 1) % 10);
        EXPECT_FALSE(util.isValidRuc(wrong)) << wrong.toStdString();
    }
    EXPECT_GE(rucs, 4);
    EXPECT_FALSE(util.isValidRuc(QStringLiteral("2010007097")));
    EXPECT_FALSE(util.isValidRuc(QStringLiteral("201000709700")));
    EXPECT_FALSE(util.isValidRuc(QString()));
}

TEST(QuenboCommandLine, PlacesEachFieldAtItsPositions)
{
    const QString line = hostkit::quenboCommandLine(QStringLiteral("20100070970"), QStringLiteral("200508"), 2,
                                                    QStringLiteral("ABCDEFGH"));
    ASSERT_EQ(line.size(), 36);
    EXPECT_EQ(line.mid(2, 15), QStringLiteral("20100070970    ")); // positions 3-17
    EXPECT_EQ(line.mid(21, 6), QStringLiteral("200508"));          // 22-27
    EXPECT_EQ(line.mid(27, 1), QStringLiteral("2"));               // 28
    EXPECT_EQ(line.mid(28, 8), QStringLiteral("ABCDEFGH"));        // 29-36
}

// The fixture leaves the main program as its start-up would and cleans up after.
class HostFixtureTest : public HostTest {
protected:
    HostFixtureTest() { withFormTables = false; }
};

TEST_F(HostFixtureTest, StartUpStateIsInPlaceAndIsClearedAfterwards)
{
    EXPECT_EQ(sSysPath, paths().sysPath);
    EXPECT_EQ(sRutaRpt, paths().sysPath + QStringLiteral("RPT/"));
    EXPECT_EQ(sRutaBD, paths().dbFile);
    EXPECT_EQ(sSysUser, QStringLiteral("ADMIN"));
    EXPECT_EQ(QDir::currentPath() + u'/', paths().sysPath);
    ASSERT_TRUE(oBaseDatos);
    EXPECT_TRUE(oUtil);
    EXPECT_EQ(&db(), oBaseDatos.get());
    EXPECT_GT(db().scalar("SELECT count(*) FROM CONT").toInt(), 0);
    EXPECT_EQ(platform::readProfileString("Options", "SysPath", "", "KOVAL.INI"), sSysPath);

    sPeriodo = QStringLiteral("201512");
    nEntidad = 8;
    nModo = 3;
    bEnviadas = true;
    TearDown();
    EXPECT_FALSE(oBaseDatos);
    EXPECT_TRUE(sSysPath.isEmpty());
    EXPECT_TRUE(sPeriodo.isEmpty());
    EXPECT_EQ(nEntidad, 0);
    EXPECT_EQ(nModo, 0);
    EXPECT_FALSE(bEnviadas);
    EXPECT_NE(QDir::currentPath() + u'/', paths().sysPath);
    SetUp(); // the framework tears down once more
}

TEST_F(HostFixtureTest, UnexpectedMessageBoxFailsTheTest)
{
    // The box is recorded and takes its default answer; the failure it
    // reports is checked here instead of failing this test.
    const auto reported = script.onUnexpected;
    QString seen;
    script.onUnexpected = [&seen](const platform::ShownMessage& box) { seen = box.title + u'|' + box.text; };
    EXPECT_EQ(platform::messageBox(QStringLiteral("Texto"), platform::mb::YesNo | platform::mb::DefaultButton2,
                                   QStringLiteral("Título")),
              platform::mb::No);
    EXPECT_EQ(seen, QStringLiteral("Título|Texto"));
    script.onUnexpected = reported;
    script.answer(platform::mb::Yes);
    EXPECT_EQ(platform::messageBox(QStringLiteral("Otra"), platform::mb::YesNo, QStringLiteral("Título")),
              platform::mb::Yes);
}

} // namespace
