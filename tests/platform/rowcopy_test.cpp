#include "db_testing.h"

#include "platform/rowcopy.h"

using namespace platform;
using dbtesting::column;
using dbtesting::errorNumber;

namespace {

class DbRowCopy : public dbtesting::DatabaseTest {};

const ColumnDef kDoc = column(QStringLiteral("doc"), FieldType::Text, 5);
const ColumnDef kMonto = column(QStringLiteral("monto"), FieldType::Text, 15, true);
const ColumnDef kCorrel = column(QStringLiteral("Correl"), FieldType::Text, 3);

// The source holds the row `fila` and a row of document "otro"; the copy
// takes the rows of `fila`'s document into a destination of columns doc
// and monto.
struct Caso {
    const char* nombre;
    QList<ColumnDef> origen;
    QList<ColumnDef> destino;
    QStringList columnas;
    QVariantList fila;
    int error; // 0: the row arrives whole
};

TEST_F(DbRowCopy, CopiesTheChosenRowsAndKeepsTheDestinationChecks)
{
    const QString vacio(QLatin1String(""));
    const QList<Caso> casos = {
        {"same columns", {kDoc, kMonto}, {kDoc, kMonto}, {}, {QStringLiteral("12345"), vacio}, 0},
        {"named columns of a wider table", {kDoc, kCorrel, kMonto}, {kDoc, kMonto},
         {QStringLiteral("doc"), QStringLiteral("monto")}, {QStringLiteral("123"), QStringLiteral("001"), vacio}, 0},
        {"destination refuses the empty text", {kDoc, kMonto},
         {kDoc, column(QStringLiteral("monto"), FieldType::Text, 15)}, {}, {QStringLiteral("123"), vacio},
         dberr::ZeroLength},
        {"destination narrower", {column(QStringLiteral("doc"), FieldType::Text, 10), kMonto}, {kDoc, kMonto}, {},
         {QStringLiteral("1234567"), QStringLiteral("9")}, dberr::FieldTooSmall},
        {"named columns into a narrower one", {kDoc, kCorrel, column(QStringLiteral("monto"), FieldType::Text, 20)},
         {kDoc, kMonto}, {QStringLiteral("doc"), QStringLiteral("monto")},
         {QStringLiteral("123"), QStringLiteral("001"), QStringLiteral("12345678901234567")}, dberr::FieldTooSmall},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        db->createTable(QStringLiteral("ORIGEN"), caso.origen);
        db->createTable(QStringLiteral("DESTINO"), caso.destino);
        const QString valores = caso.fila.size() == 2 ? QStringLiteral("?, ?") : QStringLiteral("?, ?, ?");
        db->execute(QStringLiteral("INSERT INTO ORIGEN VALUES (%1)").arg(valores), caso.fila);
        QVariantList otra = caso.fila;
        otra[0] = QStringLiteral("otro");
        db->execute(QStringLiteral("INSERT INTO ORIGEN VALUES (%1)").arg(valores), otra);

        const auto copia = [&] {
            copyRows(*db, QStringLiteral("DESTINO"), QStringLiteral("ORIGEN"), caso.columnas, QStringLiteral("doc = ?"),
                     {caso.fila.first()});
        };
        if (caso.error != 0) {
            EXPECT_EQ(errorNumber(copia), caso.error);
            EXPECT_EQ(count(QStringLiteral("DESTINO")), 0);
        } else {
            copia();
            EXPECT_EQ(count(QStringLiteral("DESTINO")), 1);
            EXPECT_EQ(db->scalar(QStringLiteral("SELECT doc FROM DESTINO")), caso.fila.first());
            EXPECT_EQ(db->scalar(QStringLiteral("SELECT monto FROM DESTINO")), QVariant(vacio));
        }
        db->dropTable(QStringLiteral("ORIGEN"));
        db->dropTable(QStringLiteral("DESTINO"));
    }
}

} // namespace
