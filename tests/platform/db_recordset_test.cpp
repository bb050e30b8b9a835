#include "db_testing.h"

#include <QDateTime>

using namespace platform;
using dbtesting::column;
using dbtesting::errorNumber;

namespace {

class DbRecordsets : public dbtesting::DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        db->createTable(QStringLiteral("DET"), {column(QStringLiteral("tip_doc_d"), FieldType::Byte),
                                                column(QStringLiteral("casilla"), FieldType::Text, 3),
                                                column(QStringLiteral("i_valor"), FieldType::Text, 15, true),
                                                column(QStringLiteral("num_orden"), FieldType::Integer),
                                                column(QStringLiteral("acogida"), FieldType::Boolean),
                                                column(QStringLiteral("monto"), FieldType::Double),
                                                column(QStringLiteral("fecha"), FieldType::Date),
                                                column(QStringLiteral("cNumero"), FieldType::Text, 6)});
        db->createPrimaryKey(QStringLiteral("DET"), QStringLiteral("PK_DET"), {QStringLiteral("casilla")});
    }

    void addBoxes(const QStringList& boxes)
    {
        for (const QString& box : boxes)
            db->execute(QStringLiteral("INSERT INTO DET (tip_doc_d, casilla, i_valor) VALUES (6, ?, ?)"),
                        {box, QStringLiteral("v") + box});
    }

    QStringList boxesInTable()
    {
        auto rs = db->openRecordset(QStringLiteral("SELECT casilla FROM DET ORDER BY casilla"));
        QStringList boxes;
        for (; !rs->eof(); rs->moveNext())
            boxes.append(rs->field(0).text());
        return boxes;
    }

    static QStringList walk(Recordset& rs)
    {
        QStringList seen;
        for (; !rs.eof(); rs.moveNext())
            seen.append(rs[QStringLiteral("casilla")].text());
        return seen;
    }
};

TEST_F(DbRecordsets, EmptySetIsAtBothEnds)
{
    for (RecordsetType type : {RecordsetType::Snapshot, RecordsetType::ForwardOnly, RecordsetType::Dynaset}) {
        auto rs = db->openRecordset(QStringLiteral("SELECT * FROM DET"), {}, type);
        EXPECT_TRUE(rs->eof());
        EXPECT_TRUE(rs->bof());
        EXPECT_EQ(rs->recordCount(), 0);
        EXPECT_EQ(rs->absolutePosition(), -1);
        EXPECT_EQ(errorNumber([&] { rs->moveNext(); }), dberr::NoCurrentRecord);
        EXPECT_EQ(errorNumber([&] { rs->field(QStringLiteral("casilla")).value(); }), dberr::NoCurrentRecord);
        EXPECT_EQ(rs->fieldCount(), 8) << "fields are known without rows";
    }
    auto rs = db->openRecordset(QStringLiteral("SELECT * FROM DET"));
    EXPECT_EQ(errorNumber([&] { rs->moveFirst(); }), dberr::NoCurrentRecord);
    EXPECT_EQ(errorNumber([&] { rs->movePrevious(); }), dberr::NoCurrentRecord);
}

TEST_F(DbRecordsets, SnapshotMovesAsTheOldRecordSets)
{
    addBoxes({QStringLiteral("500"), QStringLiteral("501"), QStringLiteral("502")});
    auto rs = db->openRecordset(QStringLiteral("SELECT * FROM DET ORDER BY casilla"));
    EXPECT_FALSE(rs->bof());
    EXPECT_EQ(rs->recordCount(), 3);
    EXPECT_EQ(rs->absolutePosition(), 0);
    rs->moveLast();
    EXPECT_EQ(rs->value(QStringLiteral("CASILLA")).toString(), QStringLiteral("502"));
    rs->moveNext();
    EXPECT_TRUE(rs->eof());
    EXPECT_FALSE(rs->bof());
    EXPECT_EQ(rs->absolutePosition(), -1);
    EXPECT_EQ(errorNumber([&] { rs->moveNext(); }), dberr::NoCurrentRecord);
    rs->movePrevious();
    EXPECT_EQ(rs->field(1).text(), QStringLiteral("502"));
    rs->setAbsolutePosition(1);
    EXPECT_EQ(rs->field(1).text(), QStringLiteral("501"));
    rs->moveFirst();
    rs->movePrevious();
    EXPECT_TRUE(rs->bof());
    EXPECT_FALSE(rs->eof());
    EXPECT_EQ(errorNumber([&] { rs->movePrevious(); }), dberr::NoCurrentRecord);
    rs->moveNext();
    EXPECT_EQ(rs->field(1).text(), QStringLiteral("500"));
    EXPECT_EQ(errorNumber([&] { rs->setAbsolutePosition(3); }), 3001);

    EXPECT_EQ(errorNumber([&] { rs->field(QStringLiteral("nada")); }), dberr::ItemNotFound);
    EXPECT_EQ(errorNumber([&] { rs->field(8); }), dberr::ItemNotFound);
    EXPECT_TRUE(rs->hasField(QStringLiteral("I_VALOR")));
    EXPECT_FALSE(rs->hasField(QStringLiteral("rowid")));
    EXPECT_EQ(errorNumber([&] { rs->edit(); }), dberr::NotUpdatable);
    EXPECT_EQ(errorNumber([&] { rs->addNew(); }), dberr::NotUpdatable);
    EXPECT_EQ(errorNumber([&] { rs->field(1).setValue(QStringLiteral("x")); }), dberr::UpdateWithoutEdit);

    EXPECT_EQ(errorNumber([&] { db->openRecordset(QStringLiteral("DELETE FROM DET")); }), 3219);
    EXPECT_EQ(count(QStringLiteral("DET")), 3) << "an action statement is not run as a record set";
}

TEST_F(DbRecordsets, FieldsCarryTheirDeclaredTypesAndTypedValues)
{
    db->execute(QStringLiteral("INSERT INTO DET VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                {6, QStringLiteral("535"), QString(""), -3, true, 1234.5, QDateTime(QDate(2010, 2, 1), QTime(0, 0)),
                 {}});
    auto rs = db->openRecordset(QStringLiteral("SELECT *, count(*) OVER () AS total, Val(casilla) / 2 AS mitad, "
                                               "casilla || 'x' AS texto FROM DET"));
    const auto expectField = [&](const char* name, FieldType type, int size, const QVariant& value,
                                 const QString& text) {
        SCOPED_TRACE(name);
        Field& field = rs->field(QString::fromLatin1(name));
        EXPECT_EQ(field.type(), type);
        EXPECT_EQ(field.size(), size);
        EXPECT_EQ(field.value(), value);
        EXPECT_EQ(field.value().typeId(), value.typeId());
        EXPECT_EQ(field.text(), text);
    };
    expectField("tip_doc_d", FieldType::Byte, 1, 6, QStringLiteral("6"));
    expectField("casilla", FieldType::Text, 3, QStringLiteral("535"), QStringLiteral("535"));
    expectField("i_valor", FieldType::Text, 15, QString(""), QString());
    expectField("num_orden", FieldType::Integer, 2, -3, QStringLiteral("-3"));
    expectField("acogida", FieldType::Boolean, 1, true, QStringLiteral("Verdadero"));
    expectField("monto", FieldType::Double, 8, 1234.5, QStringLiteral("1234.5"));
    expectField("fecha", FieldType::Date, 8, QDateTime(QDate(2010, 2, 1), QTime(0, 0)), QStringLiteral("01/02/2010"));
    expectField("total", FieldType::Long, 4, 1, QStringLiteral("1"));
    expectField("mitad", FieldType::Double, 8, 267.5, QStringLiteral("267.5"));
    expectField("texto", FieldType::Memo, 0, QStringLiteral("535x"), QStringLiteral("535x"));
    EXPECT_TRUE(rs->field(QStringLiteral("cNumero")).isNull());
    EXPECT_EQ(rs->field(QStringLiteral("cNumero")).text(), QString());
    EXPECT_EQ(rs->field(0).name(), QStringLiteral("tip_doc_d"));

    db->execute(QStringLiteral("UPDATE DET SET fecha = ?"), {QDateTime(QDate(2010, 2, 1), QTime(13, 5, 9))});
    auto again = db->openRecordset(QStringLiteral("SELECT fecha FROM DET"));
    EXPECT_EQ(again->field(0).text(), QStringLiteral("01/02/2010 13:05:09"));
    db->execute(QStringLiteral("UPDATE DET SET fecha = ?"), {QDate()});
    EXPECT_TRUE(db->scalar(QStringLiteral("SELECT fecha FROM DET")).isNull()) << "an invalid date is Null";

    auto numbers = db->openRecordset(QStringLiteral("SELECT 0.1, 0.00001, 123456789012.34, -2.5, 3.0, 1e20"));
    QStringList texts;
    for (int i = 0; i < numbers->fieldCount(); ++i)
        texts.append(numbers->field(i).text());
    EXPECT_EQ(texts.join(QLatin1Char('|')),
              QStringLiteral("0.1|0.00001|123456789012.34|-2.5|3|100000000000000000000"));
}

TEST_F(DbRecordsets, RowsRepeatingStoredTextKeepTheirOwnValues)
{
    const QDateTime enero(QDate(2010, 1, 5), QTime(0, 0));
    const QDateTime marzo(QDate(2010, 3, 7), QTime(8, 30));
    const QVariantList fechas = {enero, enero, marzo, enero};
    for (int i = 0; i < fechas.size(); ++i)
        db->execute(QStringLiteral("INSERT INTO DET (casilla, i_valor, fecha) VALUES (?, '1.50', ?)"),
                    {QString::number(100 + i), fechas.at(i)});
    db->execute(QStringLiteral("INSERT INTO DET (casilla, i_valor, fecha) VALUES ('104', 'Peña', NULL)"));
    auto rs = db->openRecordset(QStringLiteral("SELECT casilla, i_valor, fecha, Val(i_valor) * 2 AS doble FROM DET "
                                               "ORDER BY casilla"),
                                {}, RecordsetType::Dynaset);
    QStringList filas;
    for (; !rs->eof(); rs->moveNext()) {
        QStringList fila;
        for (int i = 0; i < rs->fieldCount(); ++i)
            fila.append(rs->field(i).text());
        filas.append(fila.join(QLatin1Char('|')));
    }
    EXPECT_EQ(filas, QStringList({QStringLiteral("100|1.50|05/01/2010|3"), QStringLiteral("101|1.50|05/01/2010|3"),
                                  QStringLiteral("102|1.50|07/03/2010 08:30:00|3"),
                                  QStringLiteral("103|1.50|05/01/2010|3"), QStringLiteral("104|Peña||0")}));

    rs->moveFirst();
    rs->edit();
    rs->field(QStringLiteral("i_valor")).setValue(QStringLiteral("9"));
    rs->update();
    rs->moveNext();
    EXPECT_EQ(rs->field(QStringLiteral("i_valor")).value(), QVariant(QStringLiteral("1.50")))
        << "a change of one row leaves the rows that stored the same text alone";
}

TEST_F(DbRecordsets, ForwardOnlyReadsOnceFromFrontToBack)
{
    addBoxes({QStringLiteral("500"), QStringLiteral("501"), QStringLiteral("502")});
    auto rs = db->openRecordset(QStringLiteral("SELECT casilla, Val(casilla) AS n FROM DET ORDER BY casilla"), {},
                                RecordsetType::ForwardOnly);
    EXPECT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->field(1).type(), FieldType::Double);
    EXPECT_EQ(walk(*rs), (QStringList{QStringLiteral("500"), QStringLiteral("501"), QStringLiteral("502")}));
    EXPECT_EQ(rs->recordCount(), 3);
    EXPECT_FALSE(rs->bof());
    EXPECT_EQ(errorNumber([&] { rs->moveNext(); }), dberr::NoCurrentRecord);
    EXPECT_EQ(errorNumber([&] { rs->moveFirst(); }), 3219);
    EXPECT_EQ(errorNumber([&] { rs->movePrevious(); }), 3219);
    EXPECT_EQ(errorNumber([&] { rs->edit(); }), dberr::NotUpdatable);
    db->execute(QStringLiteral("DELETE FROM DET")); // the finished read holds nothing
}

TEST_F(DbRecordsets, DynasetAddsRowsAndKeepsItsPlace)
{
    addBoxes({QStringLiteral("500")});
    auto rs = db->openRecordset(QStringLiteral("SELECT * FROM DET WHERE tip_doc_d = ?"), {6}, RecordsetType::Dynaset);
    EXPECT_EQ(rs->tableName(), QStringLiteral("DET"));
    rs->addNew();
    EXPECT_TRUE(rs->editing());
    EXPECT_TRUE(rs->field(QStringLiteral("casilla")).isNull()) << "a new row starts as Null";
    rs->field(QStringLiteral("tip_doc_d")).setValue(QStringLiteral("6"));
    rs->field(QStringLiteral("CASILLA")).setValue(501);
    rs->field(QStringLiteral("i_valor")).setValue(12.5);
    rs->field(QStringLiteral("num_orden")).setValue(2.5);
    rs->field(QStringLiteral("acogida")).setValue(1);
    rs->field(QStringLiteral("fecha")).setValue(QDate(2010, 3, 1));
    EXPECT_EQ(rs->field(QStringLiteral("casilla")).value(), QVariant(QStringLiteral("501")));
    EXPECT_EQ(rs->field(QStringLiteral("tip_doc_d")).value(), QVariant(6));
    rs->update();
    EXPECT_FALSE(rs->editing());
    EXPECT_EQ(rs->field(QStringLiteral("casilla")).text(), QStringLiteral("500")) << "the current row stays";
    EXPECT_EQ(rs->recordCount(), 2);
    rs->moveLast();
    EXPECT_EQ(rs->field(QStringLiteral("casilla")).text(), QStringLiteral("501"));

    auto stored = db->openRecordset(QStringLiteral("SELECT * FROM DET WHERE casilla = '501'"));
    EXPECT_EQ(stored->value(QStringLiteral("tip_doc_d")), QVariant(6));
    EXPECT_EQ(stored->value(QStringLiteral("i_valor")), QVariant(QStringLiteral("12.5")));
    EXPECT_EQ(stored->value(QStringLiteral("num_orden")), QVariant(2)) << "halves round to even";
    EXPECT_EQ(stored->value(QStringLiteral("acogida")), QVariant(true));
    EXPECT_EQ(stored->value(QStringLiteral("fecha")), QVariant(QDateTime(QDate(2010, 3, 1), QTime(0, 0))));

    // A table's name stands for all its rows.
    for (const char* source : {"DET", " [det] ", "\"Det\""}) {
        auto table = db->openRecordset(QString::fromLatin1(source), {}, RecordsetType::Dynaset);
        EXPECT_EQ(table->recordCount(), 2) << source;
        EXPECT_EQ(table->fieldCount(), 8) << source;
        EXPECT_EQ(table->tableName(), QStringLiteral("DET")) << source;
    }

    // Adding to an empty set leaves it at its end until a move.
    auto empty = db->openRecordset(QStringLiteral("SELECT * FROM DET WHERE casilla = '999'"), {},
                                   RecordsetType::Dynaset);
    empty->addNew();
    empty->field(QStringLiteral("casilla")).setValue(QStringLiteral("999"));
    empty->update();
    EXPECT_TRUE(empty->eof());
    empty->moveFirst();
    EXPECT_EQ(empty->field(QStringLiteral("casilla")).text(), QStringLiteral("999"));
}

TEST_F(DbRecordsets, AddedRowsReadBackWhatTheTableStored)
{
    db->execute(QStringLiteral("CREATE TABLE SPOOL (Archivo VARCHAR(12), Usuario VARCHAR(20) DEFAULT 'ADMIN', "
                               "Fecha DATETIME)"));
    auto rs = db->openRecordset(QStringLiteral("SELECT *, upper(Archivo) AS mayuscula FROM SPOOL"), {},
                                RecordsetType::Dynaset);
    const QList<QDateTime> fechas{QDateTime(QDate(1850, 1, 2), QTime(3, 4, 5)),
                                  QDateTime(QDate(2500, 12, 31), QTime(23, 59, 59))};
    for (const QDateTime& fecha : fechas) {
        rs->addNew();
        rs->field(QStringLiteral("Archivo")).setValue(fecha.toString(QStringLiteral("yyyyMMdd")));
        rs->field(QStringLiteral("Fecha")).setValue(fecha);
        rs->update();
    }
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT group_concat(CAST(Fecha AS TEXT), '|') FROM SPOOL")).toString(),
              QStringLiteral("1850-01-02 03:04:05|2500-12-31 23:59:59"));

    rs->moveFirst();
    EXPECT_EQ(rs->field(QStringLiteral("Usuario")).text(), QStringLiteral("ADMIN")) << "the column's default";
    EXPECT_EQ(rs->field(QStringLiteral("Fecha")).value(), QVariant(fechas.first()));
    EXPECT_TRUE(rs->field(QStringLiteral("mayuscula")).isNull());
    rs->edit();
    rs->field(QStringLiteral("Usuario")).setValue(QStringLiteral("CONTADOR1"));
    rs->update();
    EXPECT_EQ(rs->field(QStringLiteral("Usuario")).text(), QStringLiteral("CONTADOR1"));
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT Usuario FROM SPOOL WHERE Archivo = '18500102'")).toString(),
              QStringLiteral("CONTADOR1"));

    db->execute(QStringLiteral("DELETE FROM SPOOL WHERE Archivo = '25001231'"));
    rs->moveNext();
    EXPECT_EQ(errorNumber([&] { rs->field(0).value(); }), 3167) << "a row deleted since reads as deleted";
    EXPECT_EQ(errorNumber([&] { rs->edit(); }), 3167);
}

TEST_F(DbRecordsets, DynasetEditsCancelsAndRefusesBadValues)
{
    addBoxes({QStringLiteral("500"), QStringLiteral("501")});
    auto rs = db->openRecordset(QStringLiteral("SELECT casilla AS box, i_valor, tip_doc_d, Len(i_valor) AS largo "
                                               "FROM DET ORDER BY casilla"),
                                {}, RecordsetType::Dynaset);
    EXPECT_EQ(errorNumber([&] { rs->update(); }), dberr::UpdateWithoutEdit);
    EXPECT_EQ(errorNumber([&] { rs->cancelUpdate(); }), dberr::UpdateWithoutEdit);
    EXPECT_EQ(errorNumber([&] { rs->field(1).setValue(QStringLiteral("x")); }), dberr::UpdateWithoutEdit);

    rs->edit();
    EXPECT_EQ(rs->field(QStringLiteral("box")).text(), QStringLiteral("500"));
    rs->field(QStringLiteral("i_valor")).setValue(QStringLiteral("nuevo"));
    EXPECT_EQ(rs->field(QStringLiteral("i_valor")).text(), QStringLiteral("nuevo"));
    rs->cancelUpdate();
    EXPECT_EQ(rs->field(QStringLiteral("i_valor")).text(), QStringLiteral("v500"));

    rs->edit();
    EXPECT_EQ(errorNumber([&] { rs->field(QStringLiteral("tip_doc_d")).setValue(QStringLiteral("abc")); }), 3421);
    EXPECT_EQ(errorNumber([&] { rs->field(QStringLiteral("largo")).setValue(1); }), 3164);
    rs->field(QStringLiteral("i_valor")).setValue(QStringLiteral("1234567890123456"));
    EXPECT_EQ(errorNumber([&] { rs->update(); }), dberr::FieldTooSmall);
    EXPECT_TRUE(rs->editing()) << "a failed update keeps the edit";
    rs->field(QStringLiteral("i_valor")).setValue(QStringLiteral("bien"));
    rs->field(QStringLiteral("box")).setValue(QStringLiteral("599"));
    rs->update();
    EXPECT_EQ(rs->field(QStringLiteral("i_valor")).text(), QStringLiteral("bien"));
    EXPECT_EQ(boxesInTable(), (QStringList{QStringLiteral("501"), QStringLiteral("599")}));
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT i_valor FROM DET WHERE casilla = '599'")).toString(),
              QStringLiteral("bien"));

    rs->moveNext();
    rs->edit();
    rs->field(QStringLiteral("box")).setValue(QStringLiteral("599"));
    EXPECT_EQ(errorNumber([&] { rs->update(); }), dberr::DuplicateKey);
    rs->moveFirst();
    EXPECT_FALSE(rs->editing()) << "a move discards the edit";
    EXPECT_EQ(boxesInTable(), (QStringList{QStringLiteral("501"), QStringLiteral("599")}));
}

TEST_F(DbRecordsets, DynasetDeletesAsTheOldRecordSets)
{
    addBoxes({QStringLiteral("500"), QStringLiteral("501"), QStringLiteral("502"), QStringLiteral("503")});
    auto rs = db->openRecordset(QStringLiteral("SELECT * FROM DET ORDER BY casilla"), {}, RecordsetType::Dynaset);
    rs->moveNext();
    rs->deleteCurrent();
    EXPECT_FALSE(rs->eof());
    EXPECT_EQ(errorNumber([&] { rs->field(QStringLiteral("casilla")).value(); }), 3167);
    rs->moveNext();
    EXPECT_EQ(rs->field(QStringLiteral("casilla")).text(), QStringLiteral("502")) << "no row is skipped";
    EXPECT_EQ(rs->recordCount(), 3);
    EXPECT_EQ(boxesInTable(), (QStringList{QStringLiteral("500"), QStringLiteral("502"), QStringLiteral("503")}));

    rs->moveFirst();
    while (!rs->eof()) { // the usual loop that empties a set
        rs->deleteCurrent();
        rs->moveNext();
    }
    EXPECT_TRUE(rs->bof());
    EXPECT_EQ(rs->recordCount(), 0);
    EXPECT_EQ(count(QStringLiteral("DET")), 0);
}

TEST_F(DbRecordsets, ReadOnlyDynasetsAndTooLongText)
{
    addBoxes({QStringLiteral("500")});
    db->createTable(QStringLiteral("CAB"), {column(QStringLiteral("casilla"), FieldType::Text, 3)});
    db->execute(QStringLiteral("INSERT INTO CAB VALUES ('500')"));
    for (const char* sql : {"SELECT DET.casilla FROM DET, CAB WHERE DET.casilla = CAB.casilla",
                            "SELECT DISTINCT casilla FROM DET", "SELECT * FROM (SELECT casilla FROM DET)"}) {
        auto rs = db->openRecordset(QString::fromLatin1(sql), {}, RecordsetType::Dynaset);
        EXPECT_EQ(rs->field(0).text(), QStringLiteral("500")) << sql;
        EXPECT_EQ(errorNumber([&] { rs->edit(); }), dberr::NotUpdatable) << sql;
    }

    auto rs = db->openRecordset(QStringLiteral("SELECT * FROM DET"), {}, RecordsetType::Dynaset);
    rs->addNew();
    rs->field(QStringLiteral("casilla")).setValue(QStringLiteral("5001"));
    EXPECT_EQ(errorNumber([&] { rs->update(); }), dberr::FieldTooSmall);
    rs->cancelUpdate();
    EXPECT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(count(QStringLiteral("DET")), 1);
}

TEST_F(DbRecordsets, ManyRowsAddedInOneTransaction)
{
    auto rs = db->openRecordset(QStringLiteral("SELECT * FROM DET WHERE 0"), {}, RecordsetType::Dynaset);
    db->beginTrans();
    for (int i = 0; i < 500; ++i) {
        rs->addNew();
        rs->field(QStringLiteral("casilla")).setValue(QString::number(i));
        if (i % 2)
            rs->field(QStringLiteral("monto")).setValue(i / 4.0); // another set of fields now and then
        rs->update();
    }
    db->commitTrans();
    EXPECT_EQ(rs->recordCount(), 500);
    rs->setAbsolutePosition(499);
    EXPECT_EQ(rs->field(QStringLiteral("casilla")).text(), QStringLiteral("499"));
    EXPECT_EQ(rs->field(QStringLiteral("monto")).value(), QVariant(124.75));

    // Rows added through a set that is still open go with a rollback.
    auto reading = db->openRecordset(QStringLiteral("SELECT casilla FROM DET"), {}, RecordsetType::ForwardOnly);
    db->beginTrans();
    rs->addNew();
    rs->field(QStringLiteral("casilla")).setValue(QStringLiteral("new"));
    rs->update();
    db->rollback();
    EXPECT_EQ(count(QStringLiteral("DET")), 500);
    rs->moveLast();
    EXPECT_EQ(errorNumber([&] { rs->field(QStringLiteral("casilla")).value(); }), 3167)
        << "a row gone with the rollback reads as deleted";
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT sum(monto) FROM DET")).toDouble(), 15625.0);
}

TEST_F(DbRecordsets, DynasetOrderedByPositionSortsByItsOwnFirstColumnAndStaysUpdatable)
{
    addBoxes({QStringLiteral("501"), QStringLiteral("503"), QStringLiteral("502")});
    auto rs = db->openRecordset(QStringLiteral("SELECT casilla, i_valor FROM DET ORDER BY 1 DESC"), {},
                                RecordsetType::Dynaset);
    ASSERT_EQ(rs->fieldCount(), 2);
    EXPECT_EQ(walk(*rs), (QStringList{QStringLiteral("503"), QStringLiteral("502"), QStringLiteral("501")}));
    rs->moveFirst();
    rs->edit();
    rs->field(QStringLiteral("i_valor")).setValue(QStringLiteral("z"));
    rs->update();
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT i_valor FROM DET WHERE casilla = '503'")), QVariant(QStringLiteral("z")));
}

} // namespace
