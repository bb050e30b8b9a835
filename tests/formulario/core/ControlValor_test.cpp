#include "formulario/core/ControlValor.h"
#include "platform/database.h"

#include <QDate>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using platform::ColumnDef;
using platform::FieldType;

namespace {

// A table whose last column is the control column, and a new row on it.
class FormateaCampoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = platform::Database::create(dir.filePath(QStringLiteral("control.db")));
    }

    platform::Recordset& nuevaFila(const QList<ColumnDef>& columnas)
    {
        QList<ColumnDef> todas = columnas;
        todas.append({QStringLiteral("cnumero"), FieldType::Text, 6});
        db->createTable(QStringLiteral("T"), todas);
        rs = db->openRecordset(QStringLiteral("SELECT * FROM T"), {}, platform::RecordsetType::Dynaset);
        rs->addNew();
        return *rs;
    }

    static ColumnDef texto(const char* nombre, int largo = 30) { return {QString::fromLatin1(nombre), FieldType::Text, largo}; }
    static ColumnDef de(const char* nombre, FieldType tipo) { return {QString::fromLatin1(nombre), tipo}; }

    QTemporaryDir dir;
    std::unique_ptr<platform::Database> db;
    std::unique_ptr<platform::Recordset> rs;
};

TEST_F(FormateaCampoTest, ValuePartThenCharacterPart)
{
    auto& fila = nuevaFila({de("a", FieldType::Byte), texto("b")});
    fila.field(0).setValue(6);
    fila.field(1).setValue(QStringLiteral("abc")); // 97 + 2 x 98 + 3 x 99
    EXPECT_EQ(FormateaCampo(fila, 1), QStringLiteral("006590"));
    // Split 0: every column counts by its characters ("6" is 54).
    EXPECT_EQ(FormateaCampo(fila, 0), QStringLiteral("000644"));
    // Split 2: every column counts by value, no character part.
    EXPECT_EQ(FormateaCampo(fila, 2), QStringLiteral("006000"));
}

TEST_F(FormateaCampoTest, TheControlColumnNeverCountsSoRecomputingGivesTheSameValue)
{
    auto& fila = nuevaFila({texto("a"), texto("b")});
    fila.field(0).setValue(QStringLiteral("0913"));
    fila.field(1).setValue(QStringLiteral("xyz"));
    const QString valor = FormateaCampo(fila, 1);
    fila.field(2).setValue(valor);
    EXPECT_EQ(FormateaCampo(fila, 1), valor);
    fila.field(2).setValue(QStringLiteral("999999"));
    EXPECT_EQ(FormateaCampo(fila, 1), valor);
    EXPECT_EQ(valor.left(3), QStringLiteral("913"));
}

TEST_F(FormateaCampoTest, TextsCountByTheNumberTheirLeadingCharactersForm)
{
    const struct {
        const char* texto;
        const char* digitos;
    } casos[] = {
        {"0913", "913"}, {"01", "001"},   {"-12", "012"},  {"1,234", "001"}, {"12-34", "000"},
        {"abc", "000"},  {"", "000"},     {"2e2", "200"},  {"2.5", "003"},   {"-0.5", "001"},
        {"0.4", "000"},  {"1.", "001"},   {".5", "001"},   {"1.5e1", "015"}, {"1,2,3.9", "001"},
        {"1e", "000"},   {"+7", "007"},   {"12a", "000"},  {"1234567890123456", "460"},
    };
    auto& fila = nuevaFila({texto("a")});
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.texto);
        fila.field(0).setValue(QString::fromLatin1(caso.texto));
        EXPECT_EQ(FormateaCampo(fila, 1), QString::fromLatin1(caso.digitos) + QStringLiteral("000"));
    }
}

TEST_F(FormateaCampoTest, NumbersSumAndKeepTheirLastThreeDigits)
{
    auto& fila = nuevaFila({de("a", FieldType::Integer), de("b", FieldType::Long), de("c", FieldType::Double),
                            de("d", FieldType::Currency)});
    fila.field(0).setValue(-3);
    fila.field(1).setValue(123456);
    fila.field(2).setValue(12.5);
    fila.field(3).setValue(0.25);
    // -3 + 123456 + 12.5 + 0.25 = 123465.75, rounded 123466.
    EXPECT_EQ(FormateaCampo(fila, 4), QStringLiteral("466000"));
    fila.field(1).setValue(-9);
    fila.field(2).setValue(0);
    fila.field(3).setValue(0);
    EXPECT_EQ(FormateaCampo(fila, 4), QStringLiteral("012000")); // -12
}

TEST_F(FormateaCampoTest, DatesCountAsYearMonthDayAndYesNoCountsNothing)
{
    auto& fila = nuevaFila({de("f", FieldType::Date), de("s", FieldType::Boolean), de("g", FieldType::Date)});
    fila.field(0).setValue(QDateTime(QDate(2015, 7, 31), QTime(23, 59, 58)));
    fila.field(1).setValue(true);
    fila.field(2).setValue(QDate(2015, 7, 31));
    // Value part: 20150731 (the time of day is ignored); character part over
    // "20150731": 50 + 2x48 + 3x49 + 4x53 + 5x48 + 6x55 + 7x51 + 8x49 = 1824.
    EXPECT_EQ(FormateaCampo(fila, 2), QStringLiteral("731824"));
    EXPECT_EQ(FormateaCampo(fila, 1), QStringLiteral("731824"));
}

TEST_F(FormateaCampoTest, CharactersCountByTheirWindows1252CodeAndTheirPositionInTheirOwnColumn)
{
    auto& fila = nuevaFila({texto("a"), texto("b"), de("c", FieldType::Byte), texto("d")});
    fila.field(0).setValue(QStringLiteral("Ñ"));   // 209
    fila.field(1).setValue(QStringLiteral("  a ")); // blanks around are dropped: 97
    fila.field(2).setValue(5);                      // the character 5: 53
    EXPECT_EQ(FormateaCampo(fila, 0), QStringLiteral("000359"));
}

TEST_F(FormateaCampoTest, NothingInTheCharacterPartGivesZeros)
{
    auto& fila = nuevaFila({de("a", FieldType::Byte), texto("b"), de("c", FieldType::Byte)});
    fila.field(0).setValue(1);
    EXPECT_EQ(FormateaCampo(fila, 1), QStringLiteral("001000"));
}

TEST_F(FormateaCampoTest, ALongTextCountsEveryCharacterWithoutOverflow)
{
    auto& fila = nuevaFila({texto("a", 255), texto("b")});
    fila.field(0).setValue(QString(129, QChar(0xff)));
    EXPECT_EQ(FormateaCampo(fila, 0), QStringLiteral("000175")); // 255 x (1 + ... + 129) = 2138175
}

TEST_F(FormateaCampoTest, FailuresReachTheCaller)
{
    auto& fila = nuevaFila({texto("a", 255)});
    fila.field(0).setValue(QStringLiteral("x"));
    try {
        FormateaCampo(fila, 5);
        FAIL() << "split beyond the row";
    } catch (const platform::DbError& err) {
        EXPECT_EQ(err.number(), platform::dberr::ItemNotFound);
    }
    fila.cancelUpdate();
    try {
        FormateaCampo(fila, 1);
        FAIL() << "no current row";
    } catch (const platform::DbError& err) {
        EXPECT_EQ(err.number(), platform::dberr::NoCurrentRecord);
    }
}

} // namespace

namespace {

TEST_F(FormateaCampoTest, OnlyBlanksAreTrimmedFromATextColumn)
{
    auto& fila = nuevaFila({texto("a")});
    const struct {
        QString texto;
        const char* control;
    } casos[] = {
        {QStringLiteral("  ab  "), "000293"},   // 97 + 2 x 98
        {QStringLiteral("\tab"), "000497"},     // 9 + 2 x 97 + 3 x 98
        {QStringLiteral("ab\r"), "000332"},     // 97 + 2 x 98 + 3 x 13
        {QStringLiteral("\u00A0ab"), "000648"}, // 160 + 2 x 97 + 3 x 98
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.texto.toStdString());
        fila.field(0).setValue(c.texto);
        EXPECT_EQ(FormateaCampo(fila, 0), QString::fromLatin1(c.control));
    }
}

TEST_F(FormateaCampoTest, ALongTextColumnCountsAsText)
{
    db->execute(QStringLiteral("CREATE TABLE L (a TEXT, b LONGTEXT, cnumero VARCHAR(6))"));
    rs = db->openRecordset(QStringLiteral("SELECT * FROM L"), {}, platform::RecordsetType::Dynaset);
    rs->addNew();
    ASSERT_EQ(rs->field(0).type(), FieldType::Memo);
    rs->field(0).setValue(QStringLiteral("12"));
    rs->field(1).setValue(QStringLiteral("abc"));
    // By value 12; by characters 97 + 2 x 98 + 3 x 99 = 590.
    EXPECT_EQ(FormateaCampo(*rs, 1), QStringLiteral("012590"));
}

TEST_F(FormateaCampoTest, DecimalNumbersAreWrittenWithoutExponent)
{
    auto& fila = nuevaFila({de("a", FieldType::Double)});
    const struct {
        double valor;
        const char* control;
    } casos[] = {
        {12.5, "000499"},   // "12.5": 49 + 2 x 50 + 3 x 46 + 4 x 53
        {1e20, "000089"},   // "1" and twenty "0": 49 + 48 x (2 + ... + 21) = 11089
        {0.0001, "000010"}, // "0.0001": 48 + 2 x 46 + 3 x 48 + 4 x 48 + 5 x 48 + 6 x 49 = 1010
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.valor);
        fila.field(0).setValue(c.valor);
        EXPECT_EQ(FormateaCampo(fila, 0), QString::fromLatin1(c.control));
    }
}

} // namespace
