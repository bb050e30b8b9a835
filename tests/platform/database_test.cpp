#include "db_testing.h"
#include "tests/support/PlantedFile.h"
#include "tests/support/SmallDisk.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

using namespace platform;
using dbtesting::column;
using dbtesting::errorNumber;
using dbtesting::errorOf;

namespace {

class DbOpen : public dbtesting::DatabaseTest {};
class DbTables : public dbtesting::DatabaseTest {};
class DbConstraints : public dbtesting::DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        db->createTable(QStringLiteral("F0913DEUDAS"),
                        {column(QStringLiteral("semana"), FieldType::Byte),
                         column(QStringLiteral("doc_id_d"), FieldType::Text, 5),
                         column(QStringLiteral("num_orden"), FieldType::Integer),
                         column(QStringLiteral("mto_act_c"), FieldType::Text, 15, true),
                         column(QStringLiteral("obs"), FieldType::Memo),
                         column(QStringLiteral("clave"), FieldType::Text, 3, false, true)});
    }

    void insert(const QVariantList& values)
    {
        db->execute(QStringLiteral("INSERT INTO F0913DEUDAS VALUES (?, ?, ?, ?, ?, ?)"), values);
    }
};
class DbStatements : public dbtesting::DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        db->createTable(QStringLiteral("CONT"), {column(QStringLiteral("doc_id"), FieldType::Text, 15),
                                                 column(QStringLiteral("nombre"), FieldType::Text, 60),
                                                 column(QStringLiteral("tipo"), FieldType::Byte),
                                                 column(QStringLiteral("activo"), FieldType::Boolean),
                                                 column(QStringLiteral("fecha"), FieldType::Date),
                                                 column(QStringLiteral("monto"), FieldType::Double)});
    }
};
class DbTransactions : public DbStatements {};

// --- Opening -------------------------------------------------------------------

TEST_F(DbOpen, RefusesWhatCannotBeOpened)
{
    const QString missing = path(QStringLiteral("falta.mdb"));
    const DbError notFound = errorOf([&] { Database::open(missing); });
    EXPECT_EQ(notFound.number(), dberr::FileNotFound);
    EXPECT_EQ(notFound.description(), QStringLiteral("No se encuentra el archivo '%1'.").arg(missing));
    EXPECT_FALSE(QFile::exists(missing)) << "opening must never create the file";

    OpenOptions withWorkgroup;
    withWorkgroup.workgroupFile = path(QStringLiteral("KOVAL.MDW"));
    const DbError workgroup = errorOf([&] { Database::open(path(), withWorkgroup); });
    EXPECT_EQ(workgroup.number(), dberr::WorkgroupFile);
    EXPECT_EQ(workgroup.description(),
              QStringLiteral("No se puede iniciar la aplicación. Falta el archivo de información de grupo de "
                             "trabajo o está abierto exclusivamente por otro usuario."));
    QFile mdw(withWorkgroup.workgroupFile);
    ASSERT_TRUE(mdw.open(QIODevice::WriteOnly));
    mdw.close();
    withWorkgroup.user = QStringLiteral("anyone");
    withWorkgroup.password = QStringLiteral("anything");
    EXPECT_NE(Database::open(path(), withWorkgroup), nullptr);

    withWorkgroup.workgroupFile = path(QStringLiteral("OTRO.MDW"));
    EXPECT_EQ(errorNumber([&] { Database::open(missing, withWorkgroup); }), dberr::WorkgroupFile)
        << "the workgroup file is looked for first";

    QFile text(path(QStringLiteral("texto.mdb")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write(QByteArray("esto no es una base de datos, sino un texto cualquiera").repeated(40));
    text.close();
    const DbError format = errorOf([&] { Database::open(text.fileName()); });
    EXPECT_EQ(format.number(), 3343);
    EXPECT_TRUE(format.description().contains(text.fileName()));
}

TEST_F(DbOpen, ExclusiveHolderKeepsOthersOutUntilItCloses)
{
    db.reset();
    auto holder = second(true);
    const DbError refused = errorOf([&] { second(); });
    EXPECT_EQ(refused.number(), dberr::AlreadyExclusive);
    EXPECT_EQ(refused.description(),
              QStringLiteral("El motor de base de datos no puede abrir el archivo '%1'. Ya está abierto en modo "
                             "exclusivo por otro usuario o necesita permiso para ver sus datos.")
                  .arg(path()));
    holder->createTable(QStringLiteral("T"), {column(QStringLiteral("a"), FieldType::Long)});
    EXPECT_EQ(errorNumber([&] { second(); }), dberr::AlreadyExclusive) << "the lock outlives a write";
    holder.reset();
    auto shared = second();
    EXPECT_TRUE(shared->tableExists(QStringLiteral("T")));
}

TEST_F(DbOpen, CreateMakesAnEmptyDatabaseOnlyOnce)
{
    EXPECT_TRUE(QFileInfo(path()).size() > 0);
    EXPECT_TRUE(db->tableNames().isEmpty());
    EXPECT_EQ(errorNumber([&] { Database::create(path()); }), 3204);
    db.reset();
    EXPECT_NE(Database::open(path()), nullptr);
}

TEST_F(DbOpen, ReadOnlyConnectionRefusesWrites)
{
    db->createTable(QStringLiteral("T"), {column(QStringLiteral("a"), FieldType::Long)});
    OpenOptions readOnly;
    readOnly.readOnly = true;
    auto reader = Database::open(path(), readOnly);
    EXPECT_EQ(errorNumber([&] { reader->execute(QStringLiteral("INSERT INTO T VALUES (1)")); }),
              dberr::NotUpdatable);
    EXPECT_EQ(reader->scalar(QStringLiteral("SELECT count(*) FROM T")).toInt(), 0);
}

TEST_F(DbOpen, FilesThatAreNoDatabaseAreRefusedWhenConnecting)
{
    const auto write = [&](const QString& name, const QByteArray& content) {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return file.fileName();
    };
    const struct {
        const char* name;
        QByteArray content;
    } files[] = {{"vacia.mdb", {}}, {"corta.mdb", "abc"}, {"texto.mdb", QByteArray("no es una base ").repeated(100)}};
    for (const auto& f : files) {
        const QString file = write(QString::fromLatin1(f.name), f.content);
        const DbError error = errorOf([&] { Database::open(file); });
        EXPECT_EQ(error.number(), 3343) << f.name;
        EXPECT_EQ(error.description(), QStringLiteral("Formato de base de datos no reconocido '%1'.").arg(file));
        EXPECT_EQ(QFile(file).size(), f.content.size()) << "the file is left as it was";
    }
}

TEST_F(DbOpen, ReadOnlyFileIsRefusedUnlessOpenedForReading)
{
    db.reset();
    QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    const DbError error = errorOf([&] { Database::open(path()); });
    EXPECT_EQ(error.number(), dberr::AlreadyExclusive);
    EXPECT_EQ(error.description(),
              QStringLiteral("El motor de base de datos no puede abrir el archivo '%1'. Ya está abierto en modo "
                             "exclusivo por otro usuario o necesita permiso para ver sus datos.")
                  .arg(path()));
    OpenOptions reading;
    reading.readOnly = true;
    EXPECT_EQ(Database::open(path(), reading)->tableNames(), QStringList());
}

// --- Table definitions ---------------------------------------------------------

TEST_F(DbTables, ColumnsComeBackAsTheyWereDefined)
{
    const QList<ColumnDef> defined = {
        column(QStringLiteral("tip_doc_d"), FieldType::Byte),
        column(QStringLiteral("doc_id_d"), FieldType::Text, 15),
        column(QStringLiteral("mto_act_c"), FieldType::Text, 15, true),
        column(QStringLiteral("num_orden"), FieldType::Integer, 0, false, true),
        column(QStringLiteral("correl"), FieldType::Long),
        column(QStringLiteral("activo"), FieldType::Boolean),
        column(QStringLiteral("importe"), FieldType::Currency),
        column(QStringLiteral("tasa"), FieldType::Single),
        column(QStringLiteral("monto"), FieldType::Double),
        column(QStringLiteral("Fec_des_deu"), FieldType::Date),
        column(QStringLiteral("notas"), FieldType::Memo, 0, true),
        column(QStringLiteral("resumen"), FieldType::Memo),
    };
    db->createTable(QStringLiteral("F0913DEUDAS"), defined);
    const QList<ColumnDef> read = db->columns(QStringLiteral("f0913deudas"));
    ASSERT_EQ(read.size(), defined.size());
    for (int i = 0; i < defined.size(); ++i) {
        SCOPED_TRACE(defined[i].name.toStdString());
        EXPECT_EQ(read[i].name, defined[i].name);
        EXPECT_EQ(read[i].type, defined[i].type);
        EXPECT_EQ(read[i].size, defined[i].size);
        EXPECT_EQ(read[i].allowZeroLength, defined[i].allowZeroLength);
        EXPECT_EQ(read[i].required, defined[i].required);
    }
    EXPECT_EQ(errorNumber([&] { db->columns(QStringLiteral("NADA")); }), dberr::NoSuchTable);
}

TEST_F(DbTables, DeclaredTypesReadBack)
{
    int size = -1;
    EXPECT_EQ(declaredType(FieldType::Text, 17), QStringLiteral("VARCHAR(17)"));
    EXPECT_EQ(fieldTypeFromDeclared(QStringLiteral("VARCHAR(17)"), &size), FieldType::Text);
    EXPECT_EQ(size, 17);
    for (FieldType type : {FieldType::Boolean, FieldType::Byte, FieldType::Integer, FieldType::Long,
                           FieldType::Currency, FieldType::Single, FieldType::Double, FieldType::Date,
                           FieldType::Memo})
        EXPECT_EQ(fieldTypeFromDeclared(declaredType(type, 0), &size), type) << declaredType(type, 0).toStdString();
    // Tables made by other programs.
    EXPECT_EQ(fieldTypeFromDeclared(QStringLiteral("integer")), FieldType::Long);
    EXPECT_EQ(fieldTypeFromDeclared(QStringLiteral("REAL")), FieldType::Double);
    EXPECT_EQ(fieldTypeFromDeclared(QStringLiteral("TEXT")), FieldType::Memo);
    EXPECT_EQ(fieldTypeFromDeclared(QStringLiteral("char(3)"), &size), FieldType::Text);
    EXPECT_EQ(size, 3);
    EXPECT_EQ(fieldTypeFromDeclared(QString()), FieldType::Memo);
    EXPECT_TRUE(isIntegerType(FieldType::Byte));
    EXPECT_FALSE(isIntegerType(FieldType::Double));
    EXPECT_TRUE(isNumericType(FieldType::Currency));
    EXPECT_FALSE(isNumericType(FieldType::Text));
    EXPECT_FALSE(isNumericType(FieldType::Boolean));
}

TEST_F(DbTables, CreateAndDropRefuseWhatExistsOrIsMissing)
{
    db->createTable(QStringLiteral("TMP_F0913MOTIVO"), {column(QStringLiteral("a"), FieldType::Long)});
    EXPECT_TRUE(db->tableExists(QStringLiteral("tmp_f0913motivo")));
    const DbError exists = errorOf(
        [&] { db->createTable(QStringLiteral("TMP_F0913MOTIVO"), {column(QStringLiteral("b"), FieldType::Long)}); });
    EXPECT_EQ(exists.number(), dberr::TableExists);
    EXPECT_EQ(exists.description(), QStringLiteral("La tabla 'TMP_F0913MOTIVO' ya existe."));
    EXPECT_EQ(errorNumber([&] { db->execute(QStringLiteral("CREATE TABLE tmp_f0913motivo (x LONG)")); }),
              dberr::TableExists);
    EXPECT_EQ(db->tableNames(), QStringList{QStringLiteral("TMP_F0913MOTIVO")});

    db->dropTable(QStringLiteral("tmp_f0913motivo"));
    EXPECT_FALSE(db->tableExists(QStringLiteral("TMP_F0913MOTIVO")));
    const DbError missing = errorOf([&] { db->dropTable(QStringLiteral("TMP_F0913MOTIVO")); });
    EXPECT_EQ(missing.number(), dberr::TableNotFoundDrop);
    EXPECT_EQ(missing.description(), QStringLiteral("La tabla 'TMP_F0913MOTIVO' no existe."));
    EXPECT_EQ(errorNumber([&] { db->execute(QStringLiteral("Drop Table TMP_F0913MOTIVO")); }),
              dberr::TableNotFoundDrop);
}

TEST_F(DbTables, PrimaryKeysAreNamedPerTableAndRefuseDuplicates)
{
    const QList<ColumnDef> columns = {column(QStringLiteral("doc_id_d"), FieldType::Text, 15),
                                      column(QStringLiteral("semana"), FieldType::Byte),
                                      column(QStringLiteral("periodo"), FieldType::Text, 6)};
    db->createTable(QStringLiteral("F0913DEUDAS"), columns);
    db->createTable(QStringLiteral("F0913GARANTIA"), columns);
    EXPECT_FALSE(db->hasPrimaryKey(QStringLiteral("F0913DEUDAS")));
    db->createPrimaryKey(QStringLiteral("F0913DEUDAS"), QStringLiteral("PK_F0913DEUDAS"),
                         {QStringLiteral("doc_id_d"), QStringLiteral("Semana")});
    // The same key name on another table, as the installer gives it.
    db->createPrimaryKey(QStringLiteral("F0913GARANTIA"), QStringLiteral("PK_F0913DEUDAS"),
                         {QStringLiteral("periodo"), QStringLiteral("doc_id_d"), QStringLiteral("semana")});
    EXPECT_TRUE(db->hasPrimaryKey(QStringLiteral("f0913deudas")));
    EXPECT_EQ(db->primaryKeyColumns(QStringLiteral("F0913DEUDAS")),
              (QStringList{QStringLiteral("doc_id_d"), QStringLiteral("semana")}));
    EXPECT_EQ(db->primaryKeyColumns(QStringLiteral("F0913GARANTIA")),
              (QStringList{QStringLiteral("periodo"), QStringLiteral("doc_id_d"), QStringLiteral("semana")}));

    const DbError again = errorOf([&] {
        db->createPrimaryKey(QStringLiteral("F0913DEUDAS"), QStringLiteral("PK2"), {QStringLiteral("periodo")});
    });
    EXPECT_EQ(again.number(), dberr::PrimaryKeyExists);
    EXPECT_EQ(again.description(), QStringLiteral("Ya existe una clave principal."));

    const QString insert = QStringLiteral("INSERT INTO F0913DEUDAS VALUES (?, ?, ?)");
    db->execute(insert, {QStringLiteral("20100066603"), 1, QStringLiteral("201001")});
    const DbError duplicate = errorOf(
        [&] { db->execute(insert, {QStringLiteral("20100066603"), 1, QStringLiteral("201002")}); });
    EXPECT_EQ(duplicate.number(), dberr::DuplicateKey);
    EXPECT_TRUE(duplicate.description().startsWith(
        QStringLiteral("No se realizaron los cambios en la tabla porque se crearían valores duplicados")));
    db->execute(insert, {QStringLiteral("abc"), 1, {}});
    EXPECT_EQ(errorNumber([&] { db->execute(insert, {QStringLiteral("ABC"), 1, {}}); }), dberr::DuplicateKey)
        << "keys compare without regard to case";

    db->dropTable(QStringLiteral("F0913GARANTIA"));
    db->createTable(QStringLiteral("F0913GARANTIA"), columns);
    db->execute(QStringLiteral("INSERT INTO F0913GARANTIA VALUES ('1', 1, 'x')"));
    db->execute(QStringLiteral("INSERT INTO F0913GARANTIA VALUES ('1', 1, 'x')"));
    EXPECT_EQ(errorNumber([&] {
                  db->createPrimaryKey(QStringLiteral("F0913GARANTIA"), QStringLiteral("PK_F0913DEUDAS"),
                                       {QStringLiteral("doc_id_d")});
              }),
              dberr::DuplicateKey);
    EXPECT_FALSE(db->hasPrimaryKey(QStringLiteral("F0913GARANTIA")));
}

TEST_F(DbTables, ZeroLengthPermissionChangesKeepRowsAndKey)
{
    db->createTable(QStringLiteral("HF0913DEUDAS"), {column(QStringLiteral("doc_id_d"), FieldType::Text, 15),
                                                     column(QStringLiteral("Cod_for_dj"), FieldType::Text, 4),
                                                     column(QStringLiteral("semana"), FieldType::Byte)});
    db->createPrimaryKey(QStringLiteral("HF0913DEUDAS"), QStringLiteral("PK_HF0913DEUDAS"),
                         {QStringLiteral("doc_id_d")});
    db->execute(QStringLiteral("INSERT INTO HF0913DEUDAS VALUES ('A', '0621', 1), ('B', NULL, 2)"));
    EXPECT_EQ(errorNumber([&] { db->execute(QStringLiteral("INSERT INTO HF0913DEUDAS VALUES ('C', '', 3)")); }),
              dberr::ZeroLength);

    db->setAllowZeroLength(QStringLiteral("hf0913deudas"), QStringLiteral("cod_for_dj"), true);
    db->execute(QStringLiteral("INSERT INTO HF0913DEUDAS VALUES ('C', '', 3)"));
    EXPECT_TRUE(db->columns(QStringLiteral("HF0913DEUDAS"))[1].allowZeroLength);
    EXPECT_EQ(db->tableNames(), QStringList{QStringLiteral("HF0913DEUDAS")});
    EXPECT_EQ(count(QStringLiteral("HF0913DEUDAS")), 3);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT Cod_for_dj FROM HF0913DEUDAS WHERE doc_id_d = 'A'")).toString(),
              QStringLiteral("0621"));
    EXPECT_EQ(db->primaryKeyColumns(QStringLiteral("HF0913DEUDAS")), QStringList{QStringLiteral("doc_id_d")});
    EXPECT_EQ(errorNumber([&] { db->execute(QStringLiteral("INSERT INTO HF0913DEUDAS VALUES ('a', '1', 1)")); }),
              dberr::DuplicateKey);
    db->setAllowZeroLength(QStringLiteral("HF0913DEUDAS"), QStringLiteral("Cod_for_dj"), true); // nothing to do

    // Taking the permission back fails while an empty text is stored, and changes nothing.
    EXPECT_EQ(errorNumber([&] {
                  db->setAllowZeroLength(QStringLiteral("HF0913DEUDAS"), QStringLiteral("Cod_for_dj"), false);
              }),
              dberr::ZeroLength);
    EXPECT_TRUE(db->columns(QStringLiteral("HF0913DEUDAS"))[1].allowZeroLength);
    EXPECT_EQ(db->transactionLevel(), 0);
    EXPECT_EQ(count(QStringLiteral("HF0913DEUDAS")), 3);

    EXPECT_EQ(errorNumber([&] {
                  db->setAllowZeroLength(QStringLiteral("HF0913DEUDAS"), QStringLiteral("no_hay"), true);
              }),
              dberr::ItemNotFound);
    EXPECT_EQ(errorNumber([&] { db->setAllowZeroLength(QStringLiteral("NADA"), QStringLiteral("x"), true); }),
              dberr::NoSuchTable);
}

TEST_F(DbTables, AnySQLiteConnectionReadsChangesAndChecksTheTables)
{
    db->createTable(QStringLiteral("F0913DEUDAS"), {column(QStringLiteral("doc_id_d"), FieldType::Text, 5),
                                                    column(QStringLiteral("semana"), FieldType::Byte),
                                                    column(QStringLiteral("obs"), FieldType::Memo),
                                                    column(QStringLiteral("fecha"), FieldType::Date)});
    db->createPrimaryKey(QStringLiteral("F0913DEUDAS"), QStringLiteral("PK_F0913DEUDAS"),
                         {QStringLiteral("doc_id_d"), QStringLiteral("semana")});
    db->setAllowZeroLength(QStringLiteral("F0913DEUDAS"), QStringLiteral("obs"), true);
    db.reset();

    sqlite3* plain = nullptr; // without this layer's functions and collation
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(path()).constData(), &plain, SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    const auto run = [&](const char* sql) {
        char* error = nullptr;
        QString result;
        sqlite3_exec(
            plain, sql,
            [](void* text, int, char** values, char**) {
                *static_cast<QString*>(text) += QString::fromUtf8(values[0]);
                return 0;
            },
            &result, &error);
        if (error)
            result = QString::fromUtf8(error);
        sqlite3_free(error);
        return result;
    };
    EXPECT_EQ(run("INSERT INTO F0913DEUDAS VALUES ('ñandú', 1, '', '2010-03-15 00:00:00'), ('Abc', 2, NULL, NULL)"),
              QString());
    EXPECT_EQ(run("UPDATE F0913DEUDAS SET semana = 3 WHERE doc_id_d = 'abc'"), QString());
    EXPECT_EQ(run("SELECT doc_id_d || semana || ' ' FROM F0913DEUDAS WHERE doc_id_d > 'A' ORDER BY doc_id_d"),
              QStringLiteral("Abc3 ñandú1 "));
    const struct {
        const char* sql;
        const char* error;
    } refused[] = {
        {"UPDATE F0913DEUDAS SET doc_id_d = '123456'", "CHECK constraint failed: len$doc_id_d"},
        {"UPDATE F0913DEUDAS SET doc_id_d = ''", "CHECK constraint failed: zl$doc_id_d"},
        {"UPDATE F0913DEUDAS SET semana = 256", "CHECK constraint failed: rng$semana"},
        {"INSERT INTO F0913DEUDAS (doc_id_d, semana) VALUES ('ABC', 3)",
         "UNIQUE constraint failed: F0913DEUDAS.doc_id_d, F0913DEUDAS.semana"},
    };
    for (const auto& r : refused)
        EXPECT_EQ(run(r.sql), QString::fromUtf8(r.error)) << r.sql;
    EXPECT_EQ(run("PRAGMA integrity_check"), QStringLiteral("ok"));
    sqlite3_close(plain);

    db = Database::open(path());
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT fecha FROM F0913DEUDAS WHERE doc_id_d = 'ÑANDU'")).toDateTime(),
              QDateTime(QDate(2010, 3, 15), QTime(0, 0)));
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT semana FROM F0913DEUDAS WHERE doc_id_d = 'ABC'")), QVariant(3));
}

TEST_F(DbTables, KeysFoldTheCapitalsOfPlainLettersOnly)
{
    db->createTable(QStringLiteral("CONT"), {column(QStringLiteral("nombre"), FieldType::Text, 20)});
    db->createPrimaryKey(QStringLiteral("CONT"), QStringLiteral("PK_CONT"), {QStringLiteral("nombre")});
    const QString insert = QStringLiteral("INSERT INTO CONT VALUES (?)");
    db->execute(insert, {QStringLiteral("jose")});
    EXPECT_EQ(errorNumber([&] { db->execute(insert, {QStringLiteral("JOSE")}); }), dberr::DuplicateKey);
    db->execute(insert, {QStringLiteral("josé")}); // SQLite's own NOCASE keeps accents apart
    db->execute(insert, {QStringLiteral("JOSÉ")});
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT count(*) FROM CONT WHERE nombre = 'Jose'")).toInt(), 3)
        << "statements still compare in the old engine's order";
}

// --- Checks on every write path -------------------------------------------------

TEST_F(DbConstraints, TextLongerThanItsColumnIsRefusedEverywhere)
{
    const QString tooSmall = QStringLiteral("El campo es demasiado pequeño para aceptar la cantidad de datos que "
                                            "intentó agregar. Intente insertar o pegar menos datos.");
    const DbError direct = errorOf([&] { insert({1, QStringLiteral("123456"), 1, {}, {}, QStringLiteral("k")}); });
    EXPECT_EQ(direct.number(), dberr::FieldTooSmall);
    EXPECT_EQ(direct.description(), tooSmall);
    insert({1, QStringLiteral("12345"), 1, {}, {}, QStringLiteral("k")});
    insert({1, QStringLiteral("ñandú"), 1, {}, {}, QStringLiteral("k")}); // characters, not bytes, count
    EXPECT_EQ(errorNumber([&] { db->execute(QStringLiteral("UPDATE F0913DEUDAS SET doc_id_d = doc_id_d || 'x'")); }),
              dberr::FieldTooSmall);

    db->createTable(QStringLiteral("ORIGEN"), {column(QStringLiteral("doc"), FieldType::Memo)});
    db->execute(QStringLiteral("INSERT INTO ORIGEN VALUES ('corto'), ('demasiado largo')"));
    EXPECT_EQ(errorNumber([&] {
                  db->execute(QStringLiteral("INSERT INTO F0913DEUDAS (semana, doc_id_d, clave) "
                                             "SELECT 1, doc, 'k' FROM ORIGEN"));
              }),
              dberr::FieldTooSmall);
    EXPECT_EQ(count(QStringLiteral("F0913DEUDAS")), 2) << "a failed statement keeps none of its rows";
}

TEST_F(DbConstraints, NumbersOutsideTheirTypeOverflow)
{
    const QString overflow = QStringLiteral("Desbordamiento del campo numérico.");
    EXPECT_EQ(errorOf([&] { insert({256, {}, 1, {}, {}, QStringLiteral("k")}); }).description(), overflow);
    EXPECT_EQ(errorNumber([&] { insert({-1, {}, 1, {}, {}, QStringLiteral("k")}); }), dberr::NumericOverflow);
    EXPECT_EQ(errorNumber([&] { insert({1, {}, 32768, {}, {}, QStringLiteral("k")}); }), dberr::NumericOverflow);
    EXPECT_EQ(errorNumber([&] { insert({QStringLiteral("abc"), {}, 1, {}, {}, QStringLiteral("k")}); }),
              dberr::NumericOverflow);
    insert({255, {}, -32768, {}, {}, QStringLiteral("k")});
    insert({QStringLiteral("8"), {}, {}, {}, {}, QStringLiteral("k")}); // numeric text becomes the number
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT count(*) FROM F0913DEUDAS WHERE semana = 8")).toInt(), 1);
}

TEST_F(DbConstraints, EmptyTextAndNullFollowTheColumnRules)
{
    const DbError zeroLength = errorOf([&] { insert({1, QString(""), 1, {}, {}, QStringLiteral("k")}); });
    EXPECT_EQ(zeroLength.number(), dberr::ZeroLength);
    EXPECT_EQ(zeroLength.description(),
              QStringLiteral("El campo 'doc_id_d' no puede ser una cadena de longitud cero."));
    EXPECT_EQ(errorNumber([&] { insert({1, {}, 1, {}, QString(""), QStringLiteral("k")}); }), dberr::ZeroLength);
    insert({1, {}, 1, QString(""), {}, QStringLiteral("k")});
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT count(*) FROM F0913DEUDAS WHERE mto_act_c = ''")).toInt(), 1);

    const DbError required = errorOf([&] { insert({1, {}, 1, {}, {}, {}}); });
    EXPECT_EQ(required.number(), dberr::FieldRequired);
    EXPECT_EQ(required.description(),
              QStringLiteral("El campo 'clave' no puede contener un valor Null porque la propiedad Requerido para "
                             "este campo está establecida a True. Escriba un valor en este campo."));
}

TEST_F(DbConstraints, SizeCountsTheWholeValueNulIncluded)
{
    const QString fifteen = QStringLiteral("12345") + QChar(0) + QStringLiteral("789012345");
    insert({1, {}, 1, fifteen, {}, QStringLiteral("A")});
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT mto_act_c FROM F0913DEUDAS")).toString(), fifteen);
    const QString longer = QStringLiteral("1") + QChar(0) + QString(40, QLatin1Char('9'));
    EXPECT_EQ(errorNumber([&] { insert({1, {}, 2, longer, {}, QStringLiteral("B")}); }), dberr::FieldTooSmall);
    EXPECT_EQ(errorNumber([&] {
                  db->execute(QStringLiteral("UPDATE F0913DEUDAS SET mto_act_c = ?"), {fifteen + QStringLiteral("0")});
              }),
              dberr::FieldTooSmall);
}

TEST(DbControlCharacters, FoundInCodesAndAmounts)
{
    const struct {
        QString text;
        bool found;
    } cases[] = {
        {QStringLiteral("20100066603"), false},
        {QStringLiteral("1,234.50"), false},
        {QStringLiteral("Ñandú S.A.C."), false},
        {QString(), false},
        {QStringLiteral("12") + QChar(0) + QStringLiteral("3"), true},
        {QStringLiteral("12\t3"), true},
        {QStringLiteral("123\r"), true},
        {QStringLiteral("1") + QChar(0x7F), true},
        {QStringLiteral("1") + QChar(0x85), true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hasControlCharacter(c.text), c.found) << qPrintable(c.text.toUtf8().toHex());
}

// --- Statements ----------------------------------------------------------------

TEST_F(DbStatements, ParametersKeepQuotesTypesAndDates)
{
    const QString name = QStringLiteral("O'Brien \"el\" 100% ñandú; DROP TABLE CONT");
    const QDateTime when(QDate(2010, 3, 15), QTime(8, 30, 5));
    db->execute(QStringLiteral("INSERT INTO CONT VALUES (?, ?, ?, ?, ?, ?)"),
                {QStringLiteral("20100066603"), name, 6, true, when, 12.5});
    EXPECT_EQ(db->recordsAffected(), 1);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT nombre FROM CONT WHERE nombre = ?"), {name}).toString(), name);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT typeof(activo) || activo FROM CONT")).toString(),
              QStringLiteral("integer-1"));
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT fecha || '' FROM CONT")).toString(),
              QStringLiteral("2010-03-15 08:30:05"));
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT fecha FROM CONT")).toDateTime(), when);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT count(*) FROM CONT WHERE fecha >= ? AND fecha < ?"),
                         {QDate(2010, 3, 15), QDate(2010, 3, 16)})
                  .toInt(),
              1);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT activo FROM CONT")), QVariant(true));
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT tipo FROM CONT")), QVariant(6));
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT monto FROM CONT")), QVariant(12.5));
    EXPECT_TRUE(db->scalar(QStringLiteral("SELECT tipo FROM CONT WHERE 0")).isNull());

    db->execute(QStringLiteral("UPDATE CONT SET tipo = ? WHERE doc_id = ?"), {1, QStringLiteral("nadie")});
    EXPECT_EQ(db->recordsAffected(), 0);
    db->execute(QStringLiteral("UPDATE CONT SET tipo = ?, nombre = NULL"), {1});
    EXPECT_EQ(db->recordsAffected(), 1);
    EXPECT_TRUE(db->scalar(QStringLiteral("SELECT nombre FROM CONT")).isNull());
}

TEST_F(DbStatements, TextComparesAndSortsWithoutRegardToCase)
{
    for (const char* name : {"beta", "Alfa", "GAMMA", "alfa2"})
        db->execute(QStringLiteral("INSERT INTO CONT (nombre) VALUES (?)"), {QString::fromUtf8(name)});
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT count(*) FROM CONT WHERE nombre = 'ALFA'")).toInt(), 1);
    EXPECT_EQ(
        db->scalar(QStringLiteral("SELECT count(*) FROM CONT WHERE nombre = ?"), {QStringLiteral("gamma")}).toInt(), 1);
    auto rs = db->openRecordset(QStringLiteral("SELECT nombre FROM CONT ORDER BY nombre"));
    QStringList order;
    for (; !rs->eof(); rs->moveNext())
        order.append(rs->field(0).text());
    EXPECT_EQ(order, (QStringList{QStringLiteral("Alfa"), QStringLiteral("alfa2"), QStringLiteral("beta"),
                                  QStringLiteral("GAMMA")}));
}

TEST_F(DbStatements, EngineFailuresCarryTheirNumbers)
{
    const DbError table = errorOf([&] { db->execute(QStringLiteral("DELETE FROM CAB WHERE 1")); });
    EXPECT_EQ(table.number(), dberr::NoSuchTable);
    EXPECT_EQ(table.description(),
              QStringLiteral("El motor de base de datos no puede encontrar la tabla o consulta de entrada 'CAB'. "
                             "Asegúrese de que existe y de que su nombre está escrito correctamente."));
    EXPECT_EQ(table.errors(), QStringList{table.description()});
    EXPECT_EQ(table.engineText(), QStringLiteral("no such table: CAB"));
    EXPECT_EQ(errorNumber([&] { db->openRecordset(QStringLiteral("SELECT * FROM [CAB]")); }), dberr::NoSuchTable);

    const DbError column = errorOf([&] { db->execute(QStringLiteral("UPDATE CONT SET nada = 1")); });
    EXPECT_EQ(column.number(), 3061);
    EXPECT_EQ(column.description(), QStringLiteral("Pocos parámetros. Se esperaba 1."));
    EXPECT_EQ(errorOf([&] { db->execute(QStringLiteral("UPDATE CONT SET tipo = ? WHERE doc_id = ?"), {1}); })
                  .description(),
              QStringLiteral("Pocos parámetros. Se esperaba 1."));

    const DbError syntax = errorOf([&] { db->execute(QStringLiteral("UPDATE CONT SET WHERE")); });
    EXPECT_EQ(syntax.number(), dberr::SyntaxError);
    EXPECT_TRUE(syntax.description().startsWith(QStringLiteral("Error de sintaxis en la expresión de consulta '")));

    EXPECT_EQ(errorNumber([&] { db->execute(QStringLiteral("SELECT * FROM CONT")); }), 3065);
    EXPECT_EQ(errorNumber([&] { db->execute(QStringLiteral("DELETE FROM CONT; DELETE FROM CONT")); }), 3142);
    db->execute(QStringLiteral("DELETE FROM CONT;"));
    EXPECT_EQ(errorNumber([&] { db->execute(QStringLiteral("UPDATE CONT SET tipo = Sinfuncion(1)")); }), 3085);

    const DbError reserved = errorOf([&] { db->scalar(QStringLiteral("SELECT abs(-9223372036854775807 - 1)")); });
    EXPECT_EQ(reserved.description(), QStringLiteral("Error reservado (1); no hay mensaje para este error."));
    EXPECT_EQ(reserved.engineText(), QStringLiteral("integer overflow"));
}

// What the disk under the database does to a statement, told as the old
// engine told it: never as a reserved error without a message. Each fault
// has a small disk of its own.
TEST_F(DbStatements, TheDisksFailuresAreToldInSpanish)
{
    const auto filled = [](Database& base) {
        base.execute(QStringLiteral("CREATE TABLE t (v TEXT)"));
        for (int i = 0; i < 8; ++i)
            base.execute(QStringLiteral("INSERT INTO t VALUES (?)"), {QString(3000, u'x')});
    };
    // Bytes of the file written over behind the engine's back.
    const auto overwrite = [](const QString& file, qint64 offset, const QByteArray& bytes) {
        QFile damaged(file);
        ASSERT_TRUE(damaged.open(QIODevice::ReadWrite));
        ASSERT_TRUE(damaged.seek(offset));
        ASSERT_EQ(damaged.write(bytes), bytes.size());
    };
    const QString onDisk = path(QStringLiteral("disco/base.db"));
    const QString diskFull = QStringLiteral("Disco lleno");
    const struct {
        const char* fault;
        bool onSmallDisk;
        std::function<void(const SmallDisk&)> failing;
        int number;
        QString description;
    } cases[] = {
        {"full disk", true,
         [&](const SmallDisk& disk) {
             auto base = Database::create(onDisk);
             filled(*base);
             disk.fillRoom();
             base->execute(QStringLiteral("INSERT INTO t VALUES (?)"), {QString(20000, u'y')});
         },
         61, diskFull},
        {"no inode left for the journal", true,
         [&](const SmallDisk& disk) {
             auto base = Database::create(onDisk);
             filled(*base);
             disk.fillInodes();
             base->execute(QStringLiteral("INSERT INTO t VALUES ('y')"));
         },
         61, diskFull},
        {"no room for the shared memory of a write-ahead log", true, // as another SQLite tool may leave the file
         [&](const SmallDisk& disk) {
             ASSERT_EQ(Database::create(onDisk)->scalar(QStringLiteral("PRAGMA journal_mode = WAL")),
                       QVariant(QStringLiteral("wal")));
             disk.fillRoom();
             Database::open(onDisk);
         },
         61, diskFull},
        {"a write the system refuses", false,
         [&](const SmallDisk&) {
             filled(*db);
             const FileSizeLimit limit(QFileInfo(path()).size());
             db->execute(QStringLiteral("INSERT INTO t VALUES (?)"), {QString(20000, u'y')});
         },
         3043, QStringLiteral("Error de disco o de red.")},
        {"the file deleted under the connection", false,
         [&](const SmallDisk&) {
             filled(*db);
             ASSERT_TRUE(QFile::remove(path()));
             db->execute(QStringLiteral("INSERT INTO t VALUES ('y')"));
         },
         3024, QStringLiteral("No se encuentra el archivo '%1'.").arg(path())},
        {"a damaged page", false,
         [&](const SmallDisk&) {
             filled(*db);
             db.reset();
             overwrite(path(), 4096, QByteArray(4096, '\x5a'));
             Database::open(path())->scalar(QStringLiteral("SELECT count(*) FROM t WHERE v <> ''"));
         },
         3049,
         QStringLiteral("No se puede abrir la base de datos '%1'. Puede que no sea una base de datos que su "
                        "aplicación reconozca o que el archivo esté dañado.")
             .arg(path())},
        {"a header that is no database's", false,
         [&](const SmallDisk&) {
             filled(*db);
             overwrite(path(), 0, QByteArray(100, '\x5a'));
             db->scalar(QStringLiteral("SELECT count(*) FROM t"));
         },
         3343, QStringLiteral("Formato de base de datos no reconocido '%1'.").arg(path())},
    };
    QStringList notRun;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        const SmallDisk disk(path(QStringLiteral("disco")));
        if (c.onSmallDisk && !disk.mounted()) {
            notRun.append(QString::fromLatin1(c.fault));
            continue;
        }
        const DbError error = errorOf([&] { c.failing(disk); });
        EXPECT_EQ(error.number(), c.number);
        EXPECT_EQ(error.description(), c.description);
        EXPECT_EQ(error.errors(), QStringList{c.description});
        QFile::remove(path());
        db = Database::create(path());
    }
    if (!notRun.isEmpty())
        GTEST_SKIP() << "only root mounts a tmpfs; not run: " << notRun.join(QStringLiteral(", ")).toStdString();
}

// --- SQL functions -----------------------------------------------------------

TEST_F(DbStatements, FunctionsOfTheOldDialect)
{
    const auto eval = [&](const QString& expression, const QVariantList& params = {}) {
        return db->scalar(QStringLiteral("SELECT ") + expression, params);
    };
    EXPECT_EQ(eval(QStringLiteral("Val('  12.5abc')")).toDouble(), 12.5);
    EXPECT_EQ(eval(QStringLiteral("Val(' 1 2 3')")).toDouble(), 123);
    EXPECT_EQ(eval(QStringLiteral("Val('')")).toDouble(), 0);
    EXPECT_EQ(eval(QStringLiteral("Val('abc')")).toDouble(), 0);
    EXPECT_EQ(eval(QStringLiteral("Val('-0913')")).toDouble(), -913);
    EXPECT_EQ(eval(QStringLiteral("Val('1,234')")).toDouble(), 1);
    EXPECT_EQ(eval(QStringLiteral("Val('1e3x')")).toDouble(), 1000);
    EXPECT_EQ(eval(QStringLiteral("Val('7.x')")).toDouble(), 7);
    EXPECT_EQ(eval(QStringLiteral("Val('--5')")).toDouble(), 0);
    EXPECT_TRUE(eval(QStringLiteral("Val(NULL)")).isNull());
    EXPECT_EQ(eval(QStringLiteral("Val(?) + 1"), {QStringLiteral("41")}).toDouble(), 42);

    EXPECT_EQ(eval(QStringLiteral("Mid('abcdef', 2, 3)")).toString(), QStringLiteral("bcd"));
    EXPECT_EQ(eval(QStringLiteral("Mid('abcdef', 3)")).toString(), QStringLiteral("cdef"));
    EXPECT_EQ(eval(QStringLiteral("Mid('abc', 5)")).toString(), QString());
    EXPECT_TRUE(eval(QStringLiteral("Mid(NULL, 1)")).isNull());
    EXPECT_EQ(errorNumber([&] { eval(QStringLiteral("Mid('abc', 0)")); }), 3001);
    EXPECT_EQ(eval(QStringLiteral("Left('0913', 2) || RIGHT ('0913', 1) || 'left(x)'")).toString(),
              QStringLiteral("093left(x)"));
    EXPECT_EQ(eval(QStringLiteral("Len('ñandú')")).toInt(), 5);
    EXPECT_EQ(eval(QStringLiteral("Trim('  a b  ') || LTrim(' c') || RTrim('d ')")).toString(),
              QStringLiteral("a bcd"));
    EXPECT_EQ(eval(QStringLiteral("UCase('ñandú árbol')")).toString(), QStringLiteral("ÑANDÚ ÁRBOL"));
    EXPECT_EQ(eval(QStringLiteral("LCase('ÑANDÚ')")).toString(), QStringLiteral("ñandú"));
    EXPECT_EQ(eval(QStringLiteral("IIf(1 > 2, 'si', 'no')")).toString(), QStringLiteral("no"));
    EXPECT_EQ(eval(QStringLiteral("Nz(NULL, 'x') || Nz(NULL) || Nz('y')")).toString(), QStringLiteral("xy"));
    EXPECT_EQ(eval(QStringLiteral("InStr('abcABC', 'C')")).toInt(), 3);
    EXPECT_EQ(eval(QStringLiteral("InStr(4, 'abcABC', 'c')")).toInt(), 6);
    EXPECT_EQ(eval(QStringLiteral("InStr('abc', 'z')")).toInt(), 0);
    EXPECT_TRUE(eval(QStringLiteral("InStr(NULL, 'z')")).isNull());

    EXPECT_EQ(eval(QStringLiteral("CStr(12.5) || '|' || CStr(3.0) || '|' || CStr(7)")).toString(),
              QStringLiteral("12.5|3|7"));
    EXPECT_EQ(eval(QStringLiteral("CInt(2.5)")).toInt(), 2);
    EXPECT_EQ(eval(QStringLiteral("CInt(3.5)")).toInt(), 4);
    EXPECT_EQ(eval(QStringLiteral("CLng('-2.5')")).toInt(), -2);
    EXPECT_EQ(eval(QStringLiteral("CDbl('1,234.5')")).toDouble(), 1234.5);
    EXPECT_EQ(errorNumber([&] { eval(QStringLiteral("CInt(40000)")); }), dberr::NumericOverflow);
    EXPECT_EQ(errorNumber([&] { eval(QStringLiteral("CLng('abc')")); }), dberr::TypeMismatch);
}

TEST_F(DbStatements, LikeJetFollowsTheOldPatterns)
{
    const auto like = [&](const QVariant& text, const QString& pattern) {
        return db->scalar(QStringLiteral("SELECT LIKEJET(?, ?)"), {text, pattern});
    };
    EXPECT_EQ(like(QStringLiteral("ABC"), QStringLiteral("a*")).toInt(), 1);
    EXPECT_EQ(like(QStringLiteral("abc"), QStringLiteral("*C")).toInt(), 1);
    EXPECT_EQ(like(QStringLiteral("abcd"), QStringLiteral("*c")).toInt(), 0);
    EXPECT_EQ(like(QStringLiteral("abc"), QStringLiteral("a?c")).toInt(), 1);
    EXPECT_EQ(like(QStringLiteral("ac"), QStringLiteral("a?c")).toInt(), 0);
    EXPECT_EQ(like(QStringLiteral("a1c"), QStringLiteral("a#c")).toInt(), 1);
    EXPECT_EQ(like(QStringLiteral("abc"), QStringLiteral("a#c")).toInt(), 0);
    EXPECT_EQ(like(QStringLiteral("B"), QStringLiteral("[a-c]")).toInt(), 1);
    EXPECT_EQ(like(QStringLiteral("d"), QStringLiteral("[!a-c]")).toInt(), 1);
    EXPECT_EQ(like(QStringLiteral("b"), QStringLiteral("[!a-c]")).toInt(), 0);
    EXPECT_EQ(like(QStringLiteral("x*y"), QStringLiteral("x[*]y")).toInt(), 1);
    EXPECT_EQ(like(QStringLiteral("xzy"), QStringLiteral("x[*]y")).toInt(), 0);
    EXPECT_EQ(like(QStringLiteral("100%"), QStringLiteral("100%")).toInt(), 1);
    EXPECT_EQ(like(QStringLiteral("1000"), QStringLiteral("100%")).toInt(), 0) << "% is no wildcard";
    EXPECT_EQ(like(QStringLiteral("Ñandú"), QStringLiteral("ñ*Ú")).toInt(), 1);
    EXPECT_EQ(like(QString(""), QStringLiteral("*")).toInt(), 1);
    EXPECT_EQ(like(QStringLiteral("a*b*c"), QStringLiteral("*b*")).toInt(), 1);
    EXPECT_TRUE(like(QVariant(), QStringLiteral("*")).isNull());

    for (const char* argumento : {"1001", "1002", "2001", "10"})
        db->execute(QStringLiteral("INSERT INTO CONT (doc_id) VALUES (?)"), {QString::fromLatin1(argumento)});
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT count(*) FROM CONT WHERE LIKEJET(doc_id, ?)"),
                         {QStringLiteral("1###")})
                  .toInt(),
              2);
}

// --- Transactions --------------------------------------------------------------

TEST_F(DbTransactions, NestedTransactionsCommitAndRollBackTheirOwnPart)
{
    const QString insert = QStringLiteral("INSERT INTO CONT (doc_id) VALUES (?)");
    db->beginTrans();
    db->execute(insert, {QStringLiteral("A")});
    db->beginTrans();
    EXPECT_EQ(db->transactionLevel(), 2);
    db->execute(insert, {QStringLiteral("B")});
    db->rollback();
    db->beginTrans();
    db->execute(insert, {QStringLiteral("C")});
    db->commitTrans();
    EXPECT_EQ(errorNumber([&] { db->execute(QStringLiteral("INSERT INTO CONT (tipo) VALUES (999)")); }),
              dberr::NumericOverflow);
    EXPECT_EQ(db->transactionLevel(), 1) << "a failed statement leaves the transaction open";
    db->commitTrans();
    EXPECT_EQ(db->transactionLevel(), 0);
    auto other = second();
    EXPECT_EQ(other->scalar(QStringLiteral("SELECT group_concat(doc_id, '') FROM CONT")).toString(),
              QStringLiteral("AC"));

    db->beginTrans();
    db->beginTrans();
    db->execute(insert, {QStringLiteral("D")});
    db->commitTrans();
    db->rollback();
    EXPECT_EQ(count(QStringLiteral("CONT")), 2) << "rolling back the outer level undoes the committed inner one";

    const DbError none = errorOf([&] { db->commitTrans(); });
    EXPECT_EQ(none.number(), dberr::NoTransaction);
    EXPECT_EQ(none.description(), QStringLiteral("Ha intentado confirmar o deshacer una transacción sin comenzar "
                                                 "antes una transacción."));
    EXPECT_EQ(errorNumber([&] { db->rollback(); }), dberr::NoTransaction);
}

TEST_F(DbTransactions, ATransactionTheEngineUndidCannotBeCommitted)
{
    const QString insert = QStringLiteral("INSERT INTO CONT (doc_id) VALUES (?)");
    db->beginTrans();
    db->execute(insert, {QStringLiteral("A")});
    db->beginTrans();
    db->execute(insert, {QStringLiteral("B")});
    // What the engine does by itself after a full disk or an I/O error.
    ASSERT_EQ(sqlite3_exec(db->handle(), "ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);

    EXPECT_EQ(errorNumber([&] { db->commitTrans(); }), dberr::NoTransaction);
    EXPECT_EQ(db->transactionLevel(), 1);
    EXPECT_EQ(errorNumber([&] { db->commitTrans(); }), dberr::NoTransaction);
    EXPECT_EQ(db->transactionLevel(), 0);
    EXPECT_EQ(count(QStringLiteral("CONT")), 0);

    db->beginTrans();
    db->beginTrans();
    ASSERT_EQ(sqlite3_exec(db->handle(), "ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
    db->rollback(); // rolling back what is already undone is no failure
    db->rollback();
    EXPECT_EQ(db->transactionLevel(), 0);
    db->beginTrans();
    db->execute(insert, {QStringLiteral("C")});
    db->commitTrans();
    EXPECT_EQ(count(QStringLiteral("CONT")), 1);
}

TEST_F(DbTransactions, AnotherWriterGivesLockedTableUntilItEnds)
{
    auto other = second();
    other->beginTrans();
    other->execute(QStringLiteral("INSERT INTO CONT (doc_id) VALUES ('otro')"));

    auto mine = second();
    const QString insert = QStringLiteral("INSERT INTO CONT (doc_id) VALUES ('mio')");
    const DbError locked = errorOf([&] { mine->execute(insert); });
    EXPECT_EQ(locked.number(), dberr::TableLocked);
    EXPECT_TRUE(locked.description().startsWith(QStringLiteral("S1000"))) << locked.description().toStdString();
    EXPECT_EQ(errorNumber([&] { mine->beginTrans(); }), dberr::TableLocked);
    EXPECT_EQ(mine->transactionLevel(), 0);
    EXPECT_EQ(mine->scalar(QStringLiteral("SELECT count(*) FROM CONT")).toInt(), 0) << "readers go on";

    other->commitTrans();
    mine->execute(insert); // the retry succeeds once the other writer is done
    mine->beginTrans();
    mine->execute(insert);
    mine->commitTrans();
    EXPECT_EQ(count(QStringLiteral("CONT")), 3);
}

} // namespace
