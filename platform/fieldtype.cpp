#include "platform/fieldtype.h"
#include "platform/dberror.h"
#include "platform/dbinternal.h"

#include <QDateTime>
#include <QRegularExpression>
#include <cmath>
#include <cstdio>
#include <limits>
#include <sqlite3.h>

namespace platform {

namespace {

// Day 0 of the old engine's date numbers.
const QDate kZeroDate(1899, 12, 30);

QDateTime dateFromNumber(double days)
{
    const double whole = std::floor(days);
    const qint64 seconds = qRound64((days - whole) * 86400.0);
    return QDateTime(kZeroDate.addDays(qint64(whole)), QTime(0, 0)).addSecs(seconds);
}

// Stored text ("yyyy-MM-dd hh:mm:ss", or the date alone) or text as the user
// writes it ("dd/MM/yyyy" with an optional time).
QDateTime parseDateTime(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^\\s*(?:(\\d{4})-(\\d{1,2})-(\\d{1,2})|(\\d{1,2})/(\\d{1,2})/(\\d{4}))"
        "(?:[ T](\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?\\s*$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return {};
    const bool iso = !m.captured(1).isEmpty();
    const QDate date(m.captured(iso ? 1 : 6).toInt(), m.captured(iso ? 2 : 5).toInt(),
                     m.captured(iso ? 3 : 4).toInt());
    const QTime time(m.captured(7).toInt(), m.captured(8).toInt(), m.captured(9).toInt());
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time);
}

bool isNumberVariant(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Long: case QMetaType::ULong:
    case QMetaType::Char: case QMetaType::SChar: case QMetaType::UChar:
    case QMetaType::Double: case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// The value as a number, as the engine converts it for a numeric field.
double numberOf(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? -1 : 0;
    if (isNumberVariant(value))
        return value.toDouble();
    if (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime) {
        const QDateTime when = value.toDateTime();
        return kZeroDate.daysTo(when.date()) + when.time().msecsSinceStartOfDay() / 86400000.0;
    }
    double number = 0;
    if (!parseVbNumber(value.toString(), &number))
        throwDbError(dberr::ConversionError);
    return number;
}

QVariant integerValue(double number)
{
    const double rounded = bankersRound(number);
    if (std::fabs(rounded) > 9.0e18)
        throwDbError(dberr::NumericOverflow);
    const qint64 whole = qint64(rounded);
    if (whole >= std::numeric_limits<int>::min() && whole <= std::numeric_limits<int>::max())
        return int(whole);
    return whole;
}

QString booleanText(bool value)
{
    return value ? QStringLiteral("Verdadero") : QStringLiteral("Falso");
}

QString dateText(const QDateTime& value)
{
    return value.time() == QTime(0, 0) ? value.toString(QStringLiteral("dd/MM/yyyy"))
                                       : value.toString(QStringLiteral("dd/MM/yyyy hh:mm:ss"));
}

} // namespace

QString declaredType(FieldType type, int size)
{
    switch (type) {
    case FieldType::Boolean: return QStringLiteral("BIT");
    case FieldType::Byte: return QStringLiteral("BYTE");
    case FieldType::Integer: return QStringLiteral("SHORT");
    case FieldType::Long: return QStringLiteral("LONG");
    case FieldType::Currency: return QStringLiteral("CURRENCY");
    case FieldType::Single: return QStringLiteral("SINGLE");
    case FieldType::Double: return QStringLiteral("DOUBLE");
    case FieldType::Date: return QStringLiteral("DATETIME");
    case FieldType::Text: return QStringLiteral("VARCHAR(%1)").arg(size > 0 ? size : 255);
    case FieldType::Memo: return QStringLiteral("LONGTEXT");
    }
    return QStringLiteral("LONGTEXT");
}

FieldType fieldTypeFromDeclared(const QString& declared, int* size)
{
    static const QRegularExpression sized(QStringLiteral("^(\\w+)\\s*\\(\\s*(\\d+)"));
    const QString upper = declared.trimmed().toUpper();
    const QRegularExpressionMatch m = sized.match(upper);
    const QString name = m.hasMatch() ? m.captured(1) : upper.section(QLatin1Char(' '), 0, 0);
    if (size)
        *size = 0;
    static const QList<QPair<QStringList, FieldType>> names = {
        {{"BIT", "BOOLEAN", "BOOL", "YESNO", "LOGICAL"}, FieldType::Boolean},
        {{"BYTE", "TINYINT"}, FieldType::Byte},
        {{"SHORT", "SMALLINT", "INTEGER2"}, FieldType::Integer},
        {{"LONG", "INT", "INTEGER", "INTEGER4", "BIGINT", "COUNTER", "AUTOINCREMENT"}, FieldType::Long},
        {{"CURRENCY", "MONEY"}, FieldType::Currency},
        {{"SINGLE", "FLOAT4", "IEEESINGLE"}, FieldType::Single},
        {{"DOUBLE", "FLOAT", "FLOAT8", "REAL", "NUMERIC", "DECIMAL", "NUMBER"}, FieldType::Double},
        {{"DATETIME", "DATE", "TIME", "TIMESTAMP"}, FieldType::Date},
    };
    for (const auto& [aliases, type] : names) {
        if (aliases.contains(name))
            return type;
    }
    static const QStringList textNames = {"VARCHAR", "CHAR", "TEXT", "NVARCHAR", "NCHAR", "CHARACTER",
                                          "ALPHANUMERIC", "STRING"};
    if (m.hasMatch() && textNames.contains(name)) {
        if (size)
            *size = m.captured(2).toInt();
        return FieldType::Text;
    }
    return FieldType::Memo;
}

bool isIntegerType(FieldType type)
{
    return type == FieldType::Byte || type == FieldType::Integer || type == FieldType::Long;
}

bool isNumericType(FieldType type)
{
    return isIntegerType(type) || type == FieldType::Currency || type == FieldType::Single
        || type == FieldType::Double;
}

int fieldSize(FieldType type, int declaredSize)
{
    switch (type) {
    case FieldType::Boolean: case FieldType::Byte: return 1;
    case FieldType::Integer: return 2;
    case FieldType::Long: case FieldType::Single: return 4;
    case FieldType::Currency: case FieldType::Double: case FieldType::Date: return 8;
    case FieldType::Text: return declaredSize;
    case FieldType::Memo: return 0;
    }
    return 0;
}

QByteArray dateTimeText(const QDateTime& value)
{
    // Written by hand: the calendar's general formatter is a sizeable part of a long load.
    const QDate date = value.date();
    const QTime time = value.time();
    char text[48];
    const int size = std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", date.year(), date.month(),
                                   date.day(), time.hour(), time.minute(), time.second());
    return QByteArray(text, size);
}

QVariant readRaw(sqlite3_stmt* stmt, int column)
{
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER: {
        const qint64 value = sqlite3_column_int64(stmt, column);
        if (value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max())
            return int(value);
        return value;
    }
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt, column);
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, column)),
                          sqlite3_column_bytes(stmt, column));
    default:
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                                 sqlite3_column_bytes(stmt, column));
    }
}

FieldType typeOfRaw(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int: return FieldType::Long;
    case QMetaType::LongLong: case QMetaType::Double: return FieldType::Double;
    default: return FieldType::Memo;
    }
}

QVariant readColumn(sqlite3_stmt* stmt, int column, FieldType type)
{
    const QVariant raw = readRaw(stmt, column);
    if (raw.isNull())
        return raw;
    if (type == FieldType::Text || type == FieldType::Memo)
        return raw.typeId() == QMetaType::QString ? raw : QVariant(raw.toString());
    // A value the column's type cannot hold (stored by another program) is
    // handed back as it is.
    try {
        return toFieldValue(raw, type);
    } catch (const DbError&) {
        return raw;
    }
}

QVariant toFieldValue(const QVariant& value, FieldType type)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (type) {
    case FieldType::Boolean: {
        const QString text = value.toString().trimmed().toLower();
        if (value.typeId() == QMetaType::QString
            && (text == QLatin1String("true") || text == QLatin1String("verdadero")))
            return true;
        if (value.typeId() == QMetaType::QString
            && (text == QLatin1String("false") || text == QLatin1String("falso")))
            return false;
        return numberOf(value) != 0;
    }
    case FieldType::Byte:
    case FieldType::Integer:
    case FieldType::Long:
        return integerValue(numberOf(value));
    case FieldType::Currency:
        return bankersRound(numberOf(value) * 10000.0) / 10000.0;
    case FieldType::Single:
    case FieldType::Double:
        return numberOf(value);
    case FieldType::Date: {
        if (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime) {
            const QDateTime when = value.toDateTime();
            return when.isValid() ? QVariant(when) : QVariant();
        }
        if (isNumberVariant(value))
            return dateFromNumber(value.toDouble());
        const QDateTime when = parseDateTime(value.toString());
        if (!when.isValid())
            throwDbError(dberr::ConversionError);
        return when;
    }
    case FieldType::Text:
    case FieldType::Memo:
        if (value.typeId() == QMetaType::QString)
            return value;
        if (value.typeId() == QMetaType::Bool)
            return booleanText(value.toBool());
        if (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime)
            return dateText(value.toDateTime());
        if (isNumberVariant(value))
            return vbNumberText(value.toDouble());
        return value.toString();
    }
    return value;
}

QString fieldText(const QVariant& value, FieldType type)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDateTime:
    case QMetaType::QDate:
        return dateText(value.toDateTime());
    case QMetaType::Bool:
        return booleanText(value.toBool());
    case QMetaType::Double:
        return vbNumberText(value.toDouble());
    default:
        return type == FieldType::Boolean ? booleanText(value.toBool()) : value.toString();
    }
}

} // namespace platform
