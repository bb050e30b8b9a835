#include "db_testing.h"

#include <QFile>

using namespace platform;
using dbtesting::column;
using dbtesting::errorNumber;
using dbtesting::errorOf;

namespace {

class DbDialect : public dbtesting::DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        db->createTable(QStringLiteral("PARAM"), {column(QStringLiteral("numero"), FieldType::Text, 3),
                                                  column(QStringLiteral("argumento"), FieldType::Text, 6),
                                                  column(QStringLiteral("funcion"), FieldType::Text, 100, true),
                                                  column(QStringLiteral("activo"), FieldType::Boolean),
                                                  column(QStringLiteral("monto"), FieldType::Text, 15, true),
                                                  column(QStringLiteral("semana"), FieldType::Byte)});
    }

    void insert(const QString& numero, const QString& argumento, const QVariant& funcion = {},
                const QVariant& activo = {}, const QVariant& monto = {}, const QVariant& semana = {})
    {
        db->execute(QStringLiteral("INSERT INTO PARAM VALUES (?, ?, ?, ?, ?, ?)"),
                    {numero, argumento, funcion, activo, monto, semana});
    }

    void insertNames(const QStringList& names)
    {
        for (const QString& name : names)
            insert(QStringLiteral("001"), name.left(6), name);
    }

    QVariant eval(const QString& expression) { return db->scalar(QStringLiteral("SELECT ") + expression); }

    int count(const QString& where, const QVariantList& params = {})
    {
        return db->scalar(QStringLiteral("SELECT count(*) FROM PARAM WHERE ") + where, params).toInt();
    }

    QStringList column0(const QString& sql, RecordsetType type = RecordsetType::Snapshot)
    {
        auto set = db->openRecordset(sql, {}, type);
        QStringList values;
        for (; !set->eof(); set->moveNext())
            values.append(set->field(0).text());
        return values;
    }
};

struct Case {
    const char* sql;
    const char* expected;
};

// --- Concatenation ---------------------------------------------------------------

TEST_F(DbDialect, AmpersandJoinsTextsWithNullAsEmpty)
{
    const Case cases[] = {
        {"Mid('a1011', 2, 3) & Right('a1011', 1)", "1011"},
        {"'a' & NULL & 'b'", "ab"},
        {"NULL & 'b'", "b"},
        {"1 + 2 & 'x'", "3x"},
        {"'n' & 1.5 & 7", "n1.57"},
        {"'(' & ('a' & 'b') & ')'", "(ab)"},
        {"Left('0913', 2) & '-' & UCase('x')", "09-X"},
        {"'a&b' & 'c'", "a&bc"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(eval(QString::fromUtf8(c.sql)).toString(), QString::fromUtf8(c.expected)) << c.sql;
    EXPECT_TRUE(eval(QStringLiteral("NULL & NULL")).isNull());
}

TEST_F(DbDialect, AmpersandInListsAndConditions)
{
    insert(QStringLiteral("871"), QStringLiteral("030210"), QStringLiteral("IGV"));
    EXPECT_EQ(column0(QStringLiteral("SELECT  mid(ARGUMENTO,2,3) & mid(ARGUMENTO,6,1) as codigo, "
                                     "mid(FUNCION,1,55) as descrip FROM PARAM WHERE NUMERO='871'  order by  1 ")),
              QStringList{QStringLiteral("3020")});
    EXPECT_EQ(count(QStringLiteral("numero & argumento = '871030210'")), 1);
    EXPECT_EQ(count(QStringLiteral("funcion & '' = 'igv'")), 1);
}

// --- Statements of the old dialect -------------------------------------------------

TEST_F(DbDialect, DeleteWithStarRemovesTheRows)
{
    insert(QStringLiteral("001"), QStringLiteral("05"));
    insert(QStringLiteral("001"), QStringLiteral("05"));
    insert(QStringLiteral("001"), QStringLiteral("01"));
    db->execute(QStringLiteral("DELETE * FROM PARAM  WHERE argumento = '05' "));
    EXPECT_EQ(db->recordsAffected(), 2);
    EXPECT_EQ(count(QStringLiteral("1 = 1")), 1);
}

TEST_F(DbDialect, LikeTakesTheOldWildcards)
{
    insertNames({QStringLiteral("abeja"), QStringLiteral("Árbol"), QStringLiteral("b12"), QStringLiteral("100%"),
                 QStringLiteral("ñandú")});
    const struct {
        const char* condition;
        int rows;
    } cases[] = {
        {"funcion Like 'a*'", 2},           // Árbol: accents aside
        {"funcion LIKE 'AB*'", 1},
        {"funcion Not Like 'a*'", 3},
        {"funcion Like '?1*'", 1},
        {"funcion Like '*#'", 1},
        {"funcion Like '[!a-m]*'", 2},       // 100% and ñandú: ñ sorts after n
        {"funcion Like '100%'", 1},
        {"funcion Like '1%'", 0},
        {"funcion Like 'Ñ*'", 1},
        {"funcion Like 'n*'", 0},
        {"funcion & 'x' Like '*ax'", 1},
        {"Trim(funcion) Like 'b*' AND semana IS NULL", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(count(QString::fromUtf8(c.condition)), c.rows) << c.condition;
    EXPECT_EQ(count(QStringLiteral("funcion Like ?"), {QStringLiteral("*l")}), 1);
}

TEST_F(DbDialect, TrueIsMinusOne)
{
    insert(QStringLiteral("001"), QStringLiteral("a"), {}, true);
    insert(QStringLiteral("001"), QStringLiteral("b"), {}, false);
    db->execute(QStringLiteral("INSERT INTO PARAM (numero, activo) VALUES ('002', True)"));
    EXPECT_EQ(count(QStringLiteral("activo = True")), 2);
    EXPECT_EQ(count(QStringLiteral("activo = False")), 1);
    EXPECT_EQ(count(QStringLiteral("activo = -1 AND numero = '002'")), 1);
    EXPECT_EQ(count(QStringLiteral("activo <> true")), 1);
}

TEST_F(DbDialect, TextOperandsOfArithmeticAreWholeNumbers)
{
    insert(QStringLiteral("001"), QStringLiteral("a"), {}, {}, QStringLiteral("1,234.50"), 1);
    insert(QStringLiteral("001"), QStringLiteral("b"), {}, {}, QStringLiteral(" 100 "), 1);
    insert(QStringLiteral("001"), QStringLiteral("c"), {}, {}, QVariant(), 1);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT SUM(monto * 1)  FROM  PARAM WHERE semana = 1")).toDouble(), 1334.5);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT monto * 1 FROM PARAM WHERE argumento = 'b'")), QVariant(100));
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT 10 - monto / 4 FROM PARAM WHERE argumento = 'b'")).toDouble(), -15);
    EXPECT_EQ(eval(QStringLiteral("-2 * 3")).toInt(), -6);

    insert(QStringLiteral("001"), QStringLiteral("d"), {}, {}, QStringLiteral("12abc"), 1);
    EXPECT_EQ(errorNumber([&] { db->scalar(QStringLiteral("SELECT SUM(monto * 1) FROM PARAM")); }),
              dberr::TypeMismatch)
        << "a text that is no number is refused, not read as its leading digits";
}

TEST_F(DbDialect, ParenthesisedUnionMembersAndNumbersRunIntoWords)
{
    insert(QStringLiteral("001"), QStringLiteral("02"), {}, {}, {}, 1);
    insert(QStringLiteral("001"), QStringLiteral("01"), {}, {}, {}, 1);
    insert(QStringLiteral("001"), QStringLiteral("03"), {}, {}, {}, 2);
    const QString base = QStringLiteral("SELECT * FROM PARAM WHERE numero = '001' AND semana = 1");
    EXPECT_EQ(column0(base + QStringLiteral(" AND argumento = '02' UNION (") + base
                      + QStringLiteral("AND argumento = '01')  ORDER BY argumento DESC"),
                      RecordsetType::Snapshot)
                  .size(),
              2);
    EXPECT_EQ(column0(QStringLiteral("SELECT argumento FROM PARAM WHERE semana = 1AND argumento = '01'")),
              QStringList{QStringLiteral("01")});
    EXPECT_EQ(column0(QStringLiteral("Select argumento from PARAM where argumento= '03'and semana=2")),
              QStringList{QStringLiteral("03")});
}

// --- Text order ---------------------------------------------------------------------

TEST_F(DbDialect, TextComparesWithoutCapitalsOrAccents)
{
    insertNames({QStringLiteral("Oso "), QStringLiteral("oso"), QStringLiteral("Ñandú"), QStringLiteral("arbol")});
    const struct {
        const char* condition;
        int rows;
    } cases[] = {
        {"funcion = 'OSO'", 1},
        {"UCase(funcion) = 'oso'", 1},
        {"Trim(funcion) = 'oso'", 2},
        {"'ÑANDÚ' = 'Ñandú' AND funcion = 'ÑANDU'", 1},
        {"funcion = 'nandu'", 0},
        {"funcion = 'ÁRBOL'", 1},
        {"Mid(funcion, 1, 3) IN ('OSO', 'ARB')", 3},
        {"Left(funcion, 1) BETWEEN 'N' AND 'O'", 3},
        {"Left(funcion, 1) > 'n'", 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(count(QString::fromUtf8(c.condition)), c.rows) << c.condition;
}

TEST_F(DbDialect, TextSortsInSpanishOrder)
{
    insertNames({QStringLiteral("Zorro"), QStringLiteral("Ñandú"), QStringLiteral("Nube"), QStringLiteral("Árbol"),
                 QStringLiteral("oso"), QStringLiteral("abeja"), QStringLiteral("ala")});
    const QStringList expected = {QStringLiteral("abeja"), QStringLiteral("ala"), QStringLiteral("Árbol"),
                                  QStringLiteral("Nube"),  QStringLiteral("Ñandú"), QStringLiteral("oso"),
                                  QStringLiteral("Zorro")};
    const char* const orders[] = {
        "SELECT funcion FROM PARAM ORDER BY funcion",
        "SELECT funcion FROM PARAM ORDER BY UCase(funcion)",
        "SELECT funcion & '' AS nombre FROM PARAM ORDER BY 1",
        "SELECT funcion, numero FROM PARAM ORDER BY numero, 1 ASC",
    };
    for (const char* sql : orders)
        EXPECT_EQ(column0(QString::fromUtf8(sql)), expected) << sql;
    QStringList reversed(expected.crbegin(), expected.crend());
    EXPECT_EQ(column0(QStringLiteral("SELECT funcion FROM PARAM ORDER BY 1 DESC")), reversed);
}

TEST_F(DbDialect, DynasetSortsByItsOwnFirstColumnAndStaysUpdatable)
{
    insertNames({QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("a")});
    auto set = db->openRecordset(QStringLiteral("SELECT funcion, argumento FROM PARAM ORDER BY 1 DESC"), {},
                                 RecordsetType::Dynaset);
    ASSERT_EQ(set->fieldCount(), 2);
    QStringList order;
    for (; !set->eof(); set->moveNext())
        order.append(set->field(0).text());
    EXPECT_EQ(order, (QStringList{QStringLiteral("c"), QStringLiteral("b"), QStringLiteral("a")}));
    set->moveFirst();
    set->edit();
    set->field(QStringLiteral("funcion")).setValue(QStringLiteral("z"));
    set->update();
    EXPECT_EQ(count(QStringLiteral("funcion = 'z' AND argumento = 'c'")), 1);
}

// --- Values and files --------------------------------------------------------------

TEST_F(DbDialect, SizeCountsTheWholeValueNulIncluded)
{
    const QString fifteen = QStringLiteral("12345") + QChar(0) + QStringLiteral("789012345");
    insert(QStringLiteral("001"), QStringLiteral("a"), {}, {}, fifteen);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT monto FROM PARAM")).toString(), fifteen);
    const QString longer = QStringLiteral("1") + QChar(0) + QString(40, QLatin1Char('9'));
    EXPECT_EQ(errorNumber([&] { insert(QStringLiteral("001"), QStringLiteral("b"), {}, {}, longer); }),
              dberr::FieldTooSmall);
    EXPECT_EQ(errorNumber([&] {
                  db->execute(QStringLiteral("UPDATE PARAM SET monto = ?"), {fifteen + QStringLiteral("0")});
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

TEST_F(DbDialect, FilesThatAreNoDatabaseAreRefusedWhenConnecting)
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

TEST_F(DbDialect, ReadOnlyFileIsRefusedUnlessOpenedForReading)
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
    EXPECT_TRUE(Database::open(path(), reading)->tableExists(QStringLiteral("PARAM")));
}

} // namespace
