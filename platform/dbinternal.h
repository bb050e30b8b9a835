#pragma once

// Pieces shared by the files of the database layer; not for its users.

#include "platform/fieldtype.h"
#include "platform/vbnumbers.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

struct sqlite3;
struct sqlite3_stmt;

namespace platform {

class Database;

// Further engine error numbers the layer raises.
namespace dberr {
constexpr int OutOfMemory = 7;
constexpr int DiskFull = 61;
constexpr int InvalidArgument = 3001;
constexpr int DiskError = 3043;
constexpr int DamagedDatabase = 3049;
constexpr int TooFewParameters = 3061;
constexpr int SelectNotExecutable = 3065;
constexpr int UndefinedFunction = 3085;
constexpr int TextAfterStatement = 3142;
constexpr int FieldNotUpdatable = 3164;
constexpr int RecordDeleted = 3167;
constexpr int DatabaseExists = 3204;
constexpr int InvalidOperation = 3219;
constexpr int UnrecognizedFormat = 3343;
constexpr int ConversionError = 3421;
} // namespace dberr

// One prepared statement, finalized when it goes out of scope. Failures are
// raised as DbError through the owning database.
//
// `params`, the values the statement will first be bound to, let a
// comparison with a parameter bound to a number or a code of digits keep the
// column's own collation, and so its index (see adaptToEngine). A value bound
// later that does not compare so has the statement prepared again with the
// old engine's collation for that parameter.
class Statement {
public:
    Statement(const Database& db, const QString& sql, const QVariantList& params = {});
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    sqlite3_stmt* get() const { return stmt_; }
    const QString& sql() const { return sql_; }
    void bind(const QVariantList& params);
    void bind(int index, const QVariant& value); // 0-based
    bool step();  // true with a row, false when done
    void reset(); // ready to run again; bindings are kept
    int columnCount() const;

private:
    void prepare(quint64 alikeParams);
    void bindValue(int position, const QVariant& value);

    const Database& db_;
    QString sql_;
    sqlite3_stmt* stmt_ = nullptr;
    quint64 keptParams_ = 0; // parameters compared without the old engine's collation
    QVariantList bound_;     // with keptParams_: the values bound, for a new preparation
};

// The engine's error `number` with its Spanish text ("%1" in the text takes `arg`).
[[noreturn]] void throwDbError(int number, const QString& arg = {});
// Translates the last failure of `db` (result `code`, while running `sql`).
[[noreturn]] void throwEngineError(sqlite3* db, int code, const QString& sql);
// Message a SQL function leaves so that the failure reads as engine error `number`.
QByteArray functionErrorMessage(int number);

// "name" quoted as a SQL identifier.
QString quoteIdentifier(const QString& name);

// Values: reading a column as its field type, converting for a field and text.
QVariant readColumn(sqlite3_stmt* stmt, int column, FieldType type);
QVariant readRaw(sqlite3_stmt* stmt, int column); // as stored: int, qint64, double, text or bytes
FieldType typeOfRaw(const QVariant& value);       // type of a column without a declared type
QVariant toFieldValue(const QVariant& value, FieldType type); // 3421 when it does not convert
QString fieldText(const QVariant& value, FieldType type);
int fieldSize(FieldType type, int declaredSize);

QByteArray dateTimeText(const QDateTime& value);  // stored form "yyyy-MM-dd hh:mm:ss"

// The functions of the old engine's dialect and the JET collation.
void registerSqlFunctions(sqlite3* db);
// Called before every write (see databasetesting.h); throws when a test chose it to fail.
void countWrite();
// True when `text` is digits alone (or empty), as codes are written.
bool isDigitsAlone(QStringView text);
// The statement, written in the old engine's SQL, as SQLite reads it with the
// same meaning (see databasedialect.cpp). Bit i of `alikeParams` tells that
// parameter i (the i-th ?) is bound to a value that compares as digits alone
// do; `keptParams` the parameters among them whose comparisons keep the
// column's own collation.
struct EngineSql {
    QString sql;
    quint64 keptParams = 0;
};
EngineSql adaptToEngine(const QString& sql, quint64 alikeParams);
// Offset of the FROM of the statement's own select list; -1 without one.
qsizetype topLevelFrom(const QString& sql);

} // namespace platform
