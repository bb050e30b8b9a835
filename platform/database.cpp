#include "platform/database.h"
#include "platform/dbinternal.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <sqlite3.h>

namespace platform {

// --- Statement ---------------------------------------------------------------

namespace {

// How a bound value is stored.
enum class Storage { Null, Integer, Real, Blob, Text };

Storage storageOf(const QVariant& value)
{
    const bool noDate = (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime)
        && !value.toDateTime().isValid();
    if (!value.isValid() || value.isNull() || noDate)
        return Storage::Null;
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Long: case QMetaType::ULong:
    case QMetaType::Char: case QMetaType::SChar: case QMetaType::UChar:
        return Storage::Integer;
    case QMetaType::Double: case QMetaType::Float:
        return Storage::Real;
    case QMetaType::QByteArray:
        return Storage::Blob;
    default:
        return Storage::Text;
    }
}

// True when a comparison with `value` comes out alike in the column's own
// collation and in the old engine's order, as one with digits alone does
// (see isDigitsAlone): Null, a whole number, a number SQLite writes as text
// without an exponent (its minus sign and point, like a digit, fall on the
// same side of every other character in both), or a text of digits alone.
bool comparesAsDigits(const QVariant& value)
{
    switch (storageOf(value)) {
    case Storage::Null:
    case Storage::Integer:
        return true;
    case Storage::Real: {
        const double size = std::abs(value.toDouble());
        return size == 0 || (size >= 1e-4 && size < 1e14);
    }
    case Storage::Text:
        return isDigitsAlone(value.toString());
    case Storage::Blob:
        return false;
    }
    return false;
}

} // namespace

Statement::Statement(const Database& db, const QString& sql, const QVariantList& params) : db_(db), sql_(sql)
{
    quint64 alike = 0;
    for (int i = 0; i < std::min(int(params.size()), 64); ++i)
        alike |= quint64(comparesAsDigits(params.at(i))) << i;
    prepare(alike);
}

void Statement::prepare(quint64 alikeParams)
{
    const EngineSql adapted = adaptToEngine(sql_, alikeParams);
    const QByteArray utf8 = adapted.sql.toUtf8();
    const char* tail = nullptr;
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    const int rc = sqlite3_prepare_v2(db_.handle(), utf8.constData(), int(utf8.size()), &stmt_, &tail);
    if (rc != SQLITE_OK)
        db_.raise(rc, sql_);
    if (!stmt_)
        throwDbError(dberr::SyntaxError, sql_.simplified());
    if (tail && !QByteArray(tail).trimmed().isEmpty()) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        throwDbError(dberr::TextAfterStatement);
    }
    keptParams_ = adapted.keptParams;
    if (keptParams_ != 0)
        bound_.resize(sqlite3_bind_parameter_count(stmt_));
}

Statement::~Statement()
{
    sqlite3_finalize(stmt_);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(stmt_);
}

void Statement::bind(const QVariantList& params)
{
    const int expected = sqlite3_bind_parameter_count(stmt_);
    if (params.size() < expected)
        throwDbError(dberr::TooFewParameters, QString::number(expected - params.size()));
    if (params.size() > expected)
        throwDbError(dberr::InvalidArgument);
    for (int i = 0; i < expected; ++i)
        bind(i, params.at(i));
}

// A value that does not compare as the statement was prepared for has it
// prepared again, that parameter compared in the old engine's order, and
// the other values bound again.
void Statement::bind(int index, const QVariant& value)
{
    const quint64 bit = index >= 0 && index < 64 ? quint64(1) << index : 0;
    if ((keptParams_ & bit) != 0 && !comparesAsDigits(value)) {
        prepare(keptParams_ & ~bit);
        for (int i = 0; i < bound_.size(); ++i)
            bindValue(i + 1, bound_.at(i));
    }
    if (keptParams_ != 0 && index < bound_.size())
        bound_[index] = value;
    bindValue(index + 1, value);
}

void Statement::bindValue(int position, const QVariant& value)
{
    int rc = SQLITE_OK;
    switch (storageOf(value)) {
    case Storage::Null:
        rc = sqlite3_bind_null(stmt_, position);
        break;
    case Storage::Integer: // True is the engine's -1
        rc = sqlite3_bind_int64(stmt_, position,
                                value.typeId() == QMetaType::Bool ? -qint64(value.toBool()) : value.toLongLong());
        break;
    case Storage::Real:
        rc = sqlite3_bind_double(stmt_, position, value.toDouble());
        break;
    case Storage::Blob: {
        const QByteArray bytes = value.toByteArray();
        rc = sqlite3_bind_blob(stmt_, position, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        break;
    }
    case Storage::Text: {
        const QByteArray text = value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime
            ? dateTimeText(value.toDateTime())
            : value.toString().toUtf8();
        rc = sqlite3_bind_text(stmt_, position, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        break;
    }
    }
    if (rc != SQLITE_OK)
        db_.raise(rc, sql_);
}

bool Statement::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    try {
        db_.raise(rc, sql_);
    } catch (...) {
        sqlite3_reset(stmt_); // lets go of the locks the failed run held
        throw;
    }
}

void Statement::reset()
{
    sqlite3_reset(stmt_);
}

QString quoteIdentifier(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

// --- Opening -----------------------------------------------------------------

// The engine's switches of its join optimisations (its sqliteInt.h).
constexpr unsigned kBloomFilter = 0x00080000;
constexpr unsigned kBloomPulldown = 0x00100000;

std::unique_ptr<Database> Database::connect(const QString& path, int flags, const OpenOptions& options)
{
    std::unique_ptr<Database> db(new Database);
    db->path_ = path;
    // A connection serves one thread, as the rest of its state does, so the
    // engine need not lock it on every call of a long read.
    const int rc =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db->db_, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc == SQLITE_CANTOPEN || rc == SQLITE_PERM)
        throwDbError(dberr::AlreadyExclusive, path);
    if (rc != SQLITE_OK)
        db->raise(rc);
    sqlite3_extended_result_codes(db->db_, 1);
    sqlite3_busy_timeout(db->db_, options.busyTimeoutMs);
    registerSqlFunctions(db->db_);
    // A Bloom filter over a join hashes a text as it is stored, so two texts
    // that compare equal in Spanish but differ in accents or capitals miss
    // each other and the join loses rows.
    sqlite3_test_control(SQLITE_TESTCTRL_OPTIMIZATIONS, db->db_, kBloomFilter | kBloomPulldown);

    // Reading the schema tells a database from another file and finds out
    // whether someone holds it; an exclusive connection keeps its lock.
    const char* probe = "SELECT count(*) FROM sqlite_master";
    if (options.exclusive) {
        probe = options.readOnly ? "PRAGMA locking_mode = EXCLUSIVE; SELECT count(*) FROM sqlite_master"
                                 : "PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE; COMMIT";
    }
    const int probed = sqlite3_exec(db->db_, probe, nullptr, nullptr, nullptr);
    switch (probed & 0xff) {
    case SQLITE_OK:
        return db;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        throwDbError(dberr::AlreadyExclusive, path);
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        throwDbError(dberr::UnrecognizedFormat, path);
    default:
        db->raise(probed);
    }
}

std::unique_ptr<Database> Database::open(const QString& path, const OpenOptions& options)
{
    // The engine reads its workgroup file before it looks for any database.
    if (!options.workgroupFile.isEmpty() && !QFileInfo(options.workgroupFile).isFile())
        throwDbError(dberr::WorkgroupFile);
    const QFileInfo file(path);
    if (!file.isFile())
        throwDbError(dberr::FileNotFound, path);
    if (file.size() == 0) // SQLite would take it for a new, empty database
        throwDbError(dberr::UnrecognizedFormat, path);
    // A file without write permission is refused now, not at its first write.
    if (!options.readOnly && (!file.isWritable() || !file.permission(QFileDevice::WriteOwner)))
        throwDbError(dberr::AlreadyExclusive, path);
    std::unique_ptr<Database> db =
        connect(path, options.readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE, options);
    if (!options.readOnly && sqlite3_db_readonly(db->db_, "main") == 1)
        throwDbError(dberr::AlreadyExclusive, path);
    return db;
}

std::unique_ptr<Database> Database::create(const QString& path)
{
    if (QFileInfo::exists(path))
        throwDbError(dberr::DatabaseExists);
    std::unique_ptr<Database> db = connect(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, {});
    db->run(QStringLiteral("VACUUM")); // writes the file's header
    return db;
}

Database::~Database()
{
    sqlite3_close_v2(db_); // waits for record sets still open, rolls back an open transaction
}

void Database::raise(int sqliteCode, const QString& context) const
{
    throwEngineError(db_, sqliteCode, context);
}

// --- Statements --------------------------------------------------------------

void Database::run(const QString& sql)
{
    Statement statement(*this, sql);
    while (statement.step()) {
    }
}

void Database::execute(const QString& sql, const QVariantList& params)
{
    Statement statement(*this, sql, params);
    statement.bind(params);
    if (statement.columnCount() > 0 && sqlite3_stmt_readonly(statement.get()))
        throwDbError(dberr::SelectNotExecutable);
    countWrite();
    const qint64 before = sqlite3_total_changes64(db_);
    while (statement.step()) {
    }
    recordsAffected_ = sqlite3_total_changes64(db_) == before ? 0 : sqlite3_changes(db_);
}

QVariant Database::scalar(const QString& sql, const QVariantList& params)
{
    Statement statement(*this, sql, params);
    statement.bind(params);
    if (!statement.step())
        return {};
    const char* declared = sqlite3_column_decltype(statement.get(), 0);
    return declared ? readColumn(statement.get(), 0, fieldTypeFromDeclared(QString::fromUtf8(declared)))
                    : readRaw(statement.get(), 0);
}

// --- Transactions ------------------------------------------------------------

void Database::beginTrans()
{
    run(transactionLevel_ == 0 ? QStringLiteral("BEGIN IMMEDIATE")
                               : QStringLiteral("SAVEPOINT level%1").arg(transactionLevel_ + 1));
    ++transactionLevel_;
}

// After some failures (a full disk, an I/O error) the engine undoes the whole
// transaction by itself: its levels are then left without any SQL.
bool Database::transactionLost() const
{
    return sqlite3_get_autocommit(db_) != 0;
}

void Database::commitTrans()
{
    if (transactionLevel_ == 0)
        throwDbError(dberr::NoTransaction);
    if (transactionLost()) {
        --transactionLevel_; // nothing of it can be committed: the caller must hear so
        throwDbError(dberr::NoTransaction);
    }
    run(transactionLevel_ > 1 ? QStringLiteral("RELEASE level%1").arg(transactionLevel_) : QStringLiteral("COMMIT"));
    --transactionLevel_;
}

void Database::rollback()
{
    if (transactionLevel_ == 0)
        throwDbError(dberr::NoTransaction);
    if (!transactionLost()) {
        if (transactionLevel_ > 1) {
            run(QStringLiteral("ROLLBACK TO level%1").arg(transactionLevel_));
            run(QStringLiteral("RELEASE level%1").arg(transactionLevel_));
        } else {
            run(QStringLiteral("ROLLBACK"));
        }
    }
    --transactionLevel_;
}

bool hasControlCharacter(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        const char16_t u = c.unicode();
        return u < 0x20 || u == 0x7F || (u >= 0x80 && u <= 0x9F);
    });
}

// --- Table definitions -------------------------------------------------------

namespace {

QString zeroLengthConstraint(const QString& column)
{
    return QStringLiteral("CONSTRAINT ") + quoteIdentifier(QStringLiteral("zl$") + column);
}

// A column with the checks that make every write keep the column's type,
// size and zero-length rule. The definition holds nothing but SQLite's own
// (types, NOCASE, length, typeof), so that any SQLite tool opens the file.
// Text columns, and the keys over them, fold capitals as the old engine did;
// its whole Spanish order (accents aside, Ñ after N) is applied by the
// dialect in every comparison and sort this layer runs.
QString columnDefinition(const ColumnDef& column)
{
    const QString name = quoteIdentifier(column.name);
    const bool text = column.type == FieldType::Text || column.type == FieldType::Memo;
    QString definition = name + QLatin1Char(' ') + declaredType(column.type, column.size);
    if (text)
        definition += QStringLiteral(" COLLATE NOCASE");
    if (column.required)
        definition += QStringLiteral(" NOT NULL");
    const auto check = [&](const QString& kind, const QString& condition) {
        definition += QStringLiteral(" CONSTRAINT %1 CHECK (%2)")
                          .arg(quoteIdentifier(kind + QLatin1Char('$') + column.name), condition);
    };
    if (column.type == FieldType::Text) {
        const int size = column.size > 0 ? column.size : 255; // as declaredType writes it
        // SQLite's length() stops at a NUL character; this layer's
        // connections give it the whole value (see sqlfunctions.cpp).
        check(QStringLiteral("len"), QStringLiteral("length(%1) <= %2").arg(name).arg(size));
    }
    if (text && !column.allowZeroLength)
        check(QStringLiteral("zl"), name + QStringLiteral(" <> ''"));
    const QString numeric = QStringLiteral("%1 IS NULL OR (typeof(%1) IN ('integer', 'real')").arg(name);
    switch (column.type) {
    case FieldType::Byte:
        check(QStringLiteral("rng"), numeric + QStringLiteral(" AND %1 BETWEEN 0 AND 255)").arg(name));
        break;
    case FieldType::Integer:
        check(QStringLiteral("rng"), numeric + QStringLiteral(" AND %1 BETWEEN -32768 AND 32767)").arg(name));
        break;
    case FieldType::Long:
        check(QStringLiteral("rng"),
              numeric + QStringLiteral(" AND %1 BETWEEN -2147483648 AND 2147483647)").arg(name));
        break;
    case FieldType::Boolean:
    case FieldType::Currency:
    case FieldType::Single:
    case FieldType::Double:
        check(QStringLiteral("rng"), numeric + QLatin1Char(')'));
        break;
    default:
        break;
    }
    return definition;
}

} // namespace

bool Database::tableExists(const QString& table)
{
    return scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"),
                  {table})
               .toInt()
        > 0;
}

QStringList Database::tableNames()
{
    QStringList names;
    Statement statement(*this, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                              "AND substr(name, 1, 7) <> 'sqlite_' ORDER BY name COLLATE NOCASE"));
    while (statement.step())
        names.append(readRaw(statement.get(), 0).toString());
    return names;
}

QString Database::tableSql(const QString& table)
{
    const QVariant sql = scalar(
        QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"), {table});
    if (sql.isNull())
        throwDbError(dberr::NoSuchTable, table);
    return sql.toString();
}

QList<ColumnDef> Database::columns(const QString& table)
{
    const QString schema = tableSql(table);
    QList<ColumnDef> result;
    Statement statement(*this, QStringLiteral("SELECT name, type, \"notnull\" FROM pragma_table_info(?)"));
    statement.bind({table});
    while (statement.step()) {
        ColumnDef column;
        column.name = readRaw(statement.get(), 0).toString();
        column.type = fieldTypeFromDeclared(readRaw(statement.get(), 1).toString(), &column.size);
        column.required = readRaw(statement.get(), 2).toInt() != 0;
        column.allowZeroLength = (column.type == FieldType::Text || column.type == FieldType::Memo)
            && !schema.contains(zeroLengthConstraint(column.name), Qt::CaseInsensitive);
        result.append(column);
    }
    return result;
}

void Database::createTable(const QString& table, const QList<ColumnDef>& columns)
{
    if (tableExists(table))
        throwDbError(dberr::TableExists, table);
    QStringList definitions;
    for (const ColumnDef& column : columns)
        definitions.append(columnDefinition(column));
    run(QStringLiteral("CREATE TABLE %1 (%2)").arg(quoteIdentifier(table), definitions.join(QStringLiteral(", "))));
}

void Database::dropTable(const QString& table)
{
    if (!tableExists(table))
        throwDbError(dberr::TableNotFoundDrop, table);
    run(QStringLiteral("DROP TABLE ") + quoteIdentifier(table));
}

QString Database::primaryKeyIndex(const QString& table)
{
    return scalar(QStringLiteral("SELECT name FROM pragma_index_list(?) "
                                 "WHERE origin = 'pk' OR substr(name, 1, 3) = 'pk$' LIMIT 1"),
                  {table})
        .toString();
}

QStringList Database::primaryKeyColumns(const QString& table)
{
    tableSql(table);
    const QString index = primaryKeyIndex(table);
    // A key without an index of its own is the table's INTEGER PRIMARY KEY.
    Statement statement(*this, index.isEmpty()
                                   ? QStringLiteral("SELECT name FROM pragma_table_info(?) WHERE pk > 0 ORDER BY pk")
                                   : QStringLiteral("SELECT name FROM pragma_index_info(?) ORDER BY seqno"));
    statement.bind({index.isEmpty() ? table : index});
    QStringList names;
    while (statement.step())
        names.append(readRaw(statement.get(), 0).toString());
    return names;
}

bool Database::hasPrimaryKey(const QString& table)
{
    return !primaryKeyColumns(table).isEmpty();
}

void Database::createPrimaryKey(const QString& table, const QString& keyName, const QStringList& columns)
{
    if (hasPrimaryKey(table))
        throwDbError(dberr::PrimaryKeyExists);
    QStringList quoted;
    for (const QString& column : columns)
        quoted.append(quoteIdentifier(column));
    // Index names are unique in the whole file, key names only within a table.
    run(QStringLiteral("CREATE UNIQUE INDEX %1 ON %2 (%3)")
            .arg(quoteIdentifier(QStringLiteral("pk$%1$%2").arg(table, keyName)), quoteIdentifier(table),
                 quoted.join(QStringLiteral(", "))));
}

void Database::setAllowZeroLength(const QString& table, const QString& column, bool allow)
{
    QList<ColumnDef> definitions = columns(table);
    const auto target = std::find_if(definitions.begin(), definitions.end(), [&](const ColumnDef& c) {
        return c.name.compare(column, Qt::CaseInsensitive) == 0;
    });
    if (target == definitions.end())
        throwDbError(dberr::ItemNotFound);
    if (target->type != FieldType::Text && target->type != FieldType::Memo)
        throwDbError(dberr::InvalidOperation);
    if (target->allowZeroLength == allow)
        return;
    target->allowZeroLength = allow;

    // The engine cannot change a column's checks: the table is made again
    // under a new name, filled, and given the old name and indexes.
    const QString name = scalar(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name = ? "
                                               "COLLATE NOCASE"),
                                {table})
                             .toString();
    QStringList indexes;
    Statement indexSql(*this, QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'index' "
                                             "AND tbl_name = ? AND sql IS NOT NULL"));
    indexSql.bind({name});
    while (indexSql.step())
        indexes.append(readRaw(indexSql.get(), 0).toString());
    QStringList names;
    for (const ColumnDef& c : std::as_const(definitions))
        names.append(quoteIdentifier(c.name));
    const QString list = names.join(QStringLiteral(", "));
    const QString rebuilt = name + QStringLiteral("$rebuilt");

    beginTrans();
    try {
        createTable(rebuilt, definitions);
        run(QStringLiteral("INSERT INTO %1 (rowid, %2) SELECT rowid, %2 FROM %3")
                .arg(quoteIdentifier(rebuilt), list, quoteIdentifier(name)));
        run(QStringLiteral("DROP TABLE ") + quoteIdentifier(name));
        run(QStringLiteral("PRAGMA legacy_alter_table = ON")); // views naming the table are left as they are
        run(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(quoteIdentifier(rebuilt), quoteIdentifier(name)));
        run(QStringLiteral("PRAGMA legacy_alter_table = OFF"));
        for (const QString& sql : std::as_const(indexes))
            run(sql);
        commitTrans();
    } catch (...) {
        run(QStringLiteral("PRAGMA legacy_alter_table = OFF"));
        rollback();
        throw;
    }
}

} // namespace platform
