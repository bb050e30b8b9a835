#include "platform/database.h"
#include "platform/dbinternal.h"

#include <QRegularExpression>
#include <cstring>
#include <sqlite3.h>

namespace platform {

namespace {

// The statement of a record set: a bare table name, as the old engine took
// it, stands for all the table's rows.
QString selectText(const QString& source)
{
    static const QRegularExpression tableName(QStringLiteral("^\\s*(?:\\[([^\\]]+)\\]|\"([^\"]+)\"|([\\w$]+))\\s*$"));
    const QRegularExpressionMatch m = tableName.match(source);
    if (!m.hasMatch())
        return source;
    return QStringLiteral("SELECT * FROM ") + quoteIdentifier(m.captured(1) + m.captured(2) + m.captured(3));
}

// A Dynaset's statement with the rowid of its one table as last column (so
// that ORDER BY 1 still names the first field), or empty when the statement
// cannot stand for the rows of one table.
QString withRowId(const QString& sql)
{
    static const QRegularExpression select(QStringLiteral("^\\s*SELECT\\s+"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression literals(QStringLiteral("'(?:[^']|'')*'"));
    static const QRegularExpression combined(QStringLiteral("\\b(DISTINCT|GROUP\\s+BY|UNION|INTERSECT|EXCEPT|JOIN)\\b"),
                                             QRegularExpression::CaseInsensitiveOption);
    const qsizetype from = topLevelFrom(sql);
    if (from < 0 || !select.match(sql).hasMatch() || combined.match(QString(sql).remove(literals)).hasMatch())
        return {};
    return sql.left(from) + QStringLiteral(", rowid AS \"$rowid\" ") + sql.mid(from);
}

QString columnTable(sqlite3_stmt* stmt, int column)
{
    return QString::fromUtf8(sqlite3_column_table_name(stmt, column));
}

// Runs one change of a row; the number of rows changed.
int changeRow(const Database& db, const QString& sql, const QVariantList& values)
{
    Statement statement(db, sql, values);
    statement.bind(values);
    statement.step();
    return sqlite3_changes(db.handle());
}

// Reads the rows of a statement as its fields' values. A column that stores
// the same text or whole number as in the row before hands back the value
// already made: the codes, dates, amounts and flags of a long set repeat
// from row to row, and so are converted once and share one string.
class RowReader {
public:
    // Without `manyRows` every value is converted afresh (one row alone).
    RowReader(const QList<Field>& fields, const QList<bool>& declared, bool manyRows) : manyRows_(manyRows)
    {
        columns_.reserve(fields.size());
        for (int i = 0; i < fields.size(); ++i)
            columns_.append({fields.at(i).type(), declared.at(i), SQLITE_NULL, {}, {}});
    }

    QVariantList read(sqlite3_stmt* stmt)
    {
        QVariantList row;
        row.reserve(columns_.size());
        for (int i = 0; i < columns_.size(); ++i)
            row.append(value(stmt, i));
        return row;
    }

private:
    struct Column {
        FieldType type;
        bool declared;
        int storage; // SQLITE_TEXT or SQLITE_INTEGER when `value` can be handed again
        QByteArray stored; // what `value` was made from, as stored
        QVariant value;
    };

    QVariant convert(sqlite3_stmt* stmt, int i) const
    {
        const Column& column = columns_.at(i);
        return column.declared ? readColumn(stmt, i, column.type) : readRaw(stmt, i);
    }

    QVariant value(sqlite3_stmt* stmt, int i)
    {
        const int storage = manyRows_ ? sqlite3_column_type(stmt, i) : SQLITE_NULL;
        if (storage == SQLITE_TEXT) {
            const QByteArrayView text(sqlite3_column_text(stmt, i), sqlite3_column_bytes(stmt, i));
            return repeated(stmt, i, storage, text);
        }
        if (storage == SQLITE_INTEGER) {
            const qint64 number = sqlite3_column_int64(stmt, i);
            return repeated(stmt, i, storage, QByteArrayView(reinterpret_cast<const char*>(&number), sizeof number));
        }
        return convert(stmt, i);
    }

    QVariant repeated(sqlite3_stmt* stmt, int i, int storage, QByteArrayView stored)
    {
        Column& column = columns_[i];
        if (column.storage == storage && column.stored == stored)
            return column.value;
        column.value = convert(stmt, i);
        column.storage = storage;
        column.stored.resize(stored.size()); // keeps its room: no allocation per row
        std::memcpy(column.stored.data(), stored.data(), size_t(stored.size()));
        return column.value;
    }

    bool manyRows_;
    QList<Column> columns_;
};

} // namespace

// --- Field -------------------------------------------------------------------

QVariant Field::value() const
{
    return owner_->values().at(index_);
}

QString Field::text() const
{
    return fieldText(value(), type_);
}

void Field::setValue(const QVariant& value)
{
    owner_->setValue(index_, value);
}

// --- Opening -----------------------------------------------------------------

std::unique_ptr<Recordset> Database::openRecordset(const QString& sql, const QVariantList& params,
                                                   RecordsetType type)
{
    std::unique_ptr<Recordset> recordset(new Recordset(this, type));
    recordset->open(sql, params);
    return recordset;
}

Recordset::Recordset(Database* db, RecordsetType type) : db_(db), type_(type) {}

Recordset::~Recordset() = default;

void Recordset::open(const QString& source, const QVariantList& params)
{
    const QString sql = selectText(source);
    std::unique_ptr<Statement> statement;
    bool rowIds = false;
    const QString updatable = type_ == RecordsetType::Dynaset ? withRowId(sql) : QString();
    if (!updatable.isEmpty()) {
        try {
            statement = std::make_unique<Statement>(*db_, updatable, params);
            table_ = columnTable(statement->get(), statement->columnCount() - 1);
            rowIds = true;
        } catch (const DbError&) {
            // Not one table's rows (a view, a sub-query): read-only.
        }
    }
    if (!statement)
        statement = std::make_unique<Statement>(*db_, sql, params);
    if (statement->columnCount() == 0) // an action statement gives no rows: it is not run here
        throwDbError(dberr::InvalidOperation);
    statement->bind(params);
    describeFields(statement->get(), statement->columnCount() - (rowIds ? 1 : 0));
    if (type_ == RecordsetType::ForwardOnly) {
        forward_ = std::move(statement);
        fetchNextForward();
    } else {
        readAll(*statement, rowIds);
    }
    inferTypes();
}

// Columns without a declared type (expressions) take the type of their first
// value; without one they count as Memo.
void Recordset::inferTypes()
{
    for (Field& field : fields_) {
        if (declared_.at(field.index_))
            continue;
        for (const QVariantList& row : std::as_const(rows_)) {
            if (!row.at(field.index_).isNull()) {
                field.type_ = typeOfRaw(row.at(field.index_));
                field.size_ = fieldSize(field.type_, 0);
                break;
            }
        }
    }
}

void Recordset::describeFields(sqlite3_stmt* stmt, int count)
{
    for (int column = 0; column < count; ++column) {
        const int index = column;
        const QString name = QString::fromUtf8(sqlite3_column_name(stmt, column));
        const char* declared = sqlite3_column_decltype(stmt, column);
        int size = 0;
        const FieldType type = declared ? fieldTypeFromDeclared(QString::fromUtf8(declared), &size) : FieldType::Memo;
        fields_.append(Field(this, index, name, type, fieldSize(type, size)));
        declared_.append(declared != nullptr);
        if (!fieldIndex_.contains(name.toCaseFolded()))
            fieldIndex_.insert(name.toCaseFolded(), index);
        const bool ofTable = !table_.isEmpty() && columnTable(stmt, column) == table_;
        columns_.append(ofTable ? QString::fromUtf8(sqlite3_column_origin_name(stmt, column)) : QString());
    }
}

// The current row of `stmt`, each value read as its field's type.
QVariantList Recordset::readRow(sqlite3_stmt* stmt) const
{
    return RowReader(fields_, declared_, false).read(stmt);
}

// With `rowIds` the statement's last column is the rowid of each row.
void Recordset::readAll(Statement& statement, bool rowIds)
{
    RowReader reader(fields_, declared_, true);
    while (statement.step()) {
        rows_.append(reader.read(statement.get()));
        if (rowIds)
            rowIds_.append(sqlite3_column_int64(statement.get(), int(fields_.size())));
    }
    position_ = 0;
}

void Recordset::fetchNextForward()
{
    rows_.clear();
    position_ = 0;
    if (!forward_)
        return;
    if (forward_->step()) {
        rows_.append(readRow(forward_->get()));
        ++forwardCount_;
    } else {
        forward_.reset(); // done: lets go of the file
    }
}

// --- Position ----------------------------------------------------------------

bool Recordset::eof() const
{
    return !deletedCurrent_ && position_ >= rows_.size();
}

bool Recordset::bof() const
{
    if (deletedCurrent_)
        return false;
    if (rows_.isEmpty())
        return type_ != RecordsetType::ForwardOnly || forwardCount_ == 0;
    return position_ < 0;
}

int Recordset::recordCount() const
{
    return type_ == RecordsetType::ForwardOnly ? forwardCount_ : int(rows_.size());
}

int Recordset::absolutePosition() const
{
    if (deletedCurrent_ || position_ < 0 || position_ >= rows_.size())
        return -1;
    return type_ == RecordsetType::ForwardOnly ? forwardCount_ - 1 : position_;
}

void Recordset::checkScrollable() const
{
    if (type_ == RecordsetType::ForwardOnly)
        throwDbError(dberr::InvalidOperation);
}

void Recordset::checkCurrent() const
{
    if (deletedCurrent_)
        throwDbError(dberr::RecordDeleted);
    if (position_ < 0 || position_ >= rows_.size())
        throwDbError(dberr::NoCurrentRecord);
}

// Moving discards an edit in progress, as the old engine did.
void Recordset::moveTo(int position)
{
    editMode_ = EditMode::None;
    deletedCurrent_ = false;
    position_ = position;
}

void Recordset::setAbsolutePosition(int position)
{
    checkScrollable();
    if (position < 0 || position >= rows_.size())
        throwDbError(dberr::InvalidArgument);
    moveTo(position);
}

void Recordset::moveFirst()
{
    checkScrollable();
    if (rows_.isEmpty())
        throwDbError(dberr::NoCurrentRecord);
    moveTo(0);
}

void Recordset::moveLast()
{
    checkScrollable();
    if (rows_.isEmpty())
        throwDbError(dberr::NoCurrentRecord);
    moveTo(int(rows_.size()) - 1);
}

void Recordset::moveNext()
{
    if (deletedCurrent_) { // the row after the deleted one already sits at its place
        moveTo(position_);
        return;
    }
    if (eof())
        throwDbError(dberr::NoCurrentRecord);
    if (type_ == RecordsetType::ForwardOnly) {
        editMode_ = EditMode::None;
        fetchNextForward();
        return;
    }
    moveTo(position_ + 1);
}

void Recordset::movePrevious()
{
    checkScrollable();
    if (!deletedCurrent_ && bof())
        throwDbError(dberr::NoCurrentRecord);
    moveTo(position_ - 1);
}

// --- Fields ------------------------------------------------------------------

Field& Recordset::field(int index)
{
    if (index < 0 || index >= fields_.size())
        throwDbError(dberr::ItemNotFound);
    return fields_[index];
}

Field& Recordset::field(const QString& name)
{
    return field(fieldIndex_.value(name.toCaseFolded(), -1));
}

bool Recordset::hasField(const QString& name) const
{
    return fieldIndex_.contains(name.toCaseFolded());
}

// Rows added through the set are not held: like every row of the old
// engine's dynasets, they are read from the table when they become current,
// so a long load keeps nothing in memory and shows what the table stored.
const QVariantList& Recordset::currentRow()
{
    checkCurrent();
    QVariantList& row = rows_[position_];
    if (!row.isEmpty())
        return row;
    if (!reread_) {
        QStringList columns;
        for (const QString& column : std::as_const(columns_))
            columns.append(column.isEmpty() ? QStringLiteral("NULL") : quoteIdentifier(column));
        reread_ = std::make_unique<Statement>(*db_, QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                                                        .arg(columns.join(QStringLiteral(", ")), quoteIdentifier(table_)));
    }
    reread_->bind(0, rowIds_.at(position_));
    const bool found = reread_->step();
    if (found)
        row = readRow(reread_->get());
    reread_->reset();
    if (!found) // deleted since, or gone with a rollback
        throwDbError(dberr::RecordDeleted);
    return row;
}

const QVariantList& Recordset::values()
{
    return editMode_ != EditMode::None ? buffer_ : currentRow();
}

// --- Changes -----------------------------------------------------------------

void Recordset::checkUpdatable() const
{
    if (type_ != RecordsetType::Dynaset || table_.isEmpty())
        throwDbError(dberr::NotUpdatable);
}

void Recordset::addNew()
{
    checkUpdatable();
    editMode_ = EditMode::Add;
    buffer_ = QVariantList(fields_.size());
    assigned_ = QList<bool>(fields_.size(), false);
}

void Recordset::edit()
{
    checkUpdatable();
    buffer_ = currentRow();
    editMode_ = EditMode::Edit;
    assigned_ = QList<bool>(fields_.size(), false);
}

void Recordset::setValue(int index, const QVariant& value)
{
    if (editMode_ == EditMode::None)
        throwDbError(dberr::UpdateWithoutEdit);
    if (columns_.at(index).isEmpty())
        throwDbError(dberr::FieldNotUpdatable);
    buffer_[index] = toFieldValue(value, fields_.at(index).type_);
    assigned_[index] = true;
}

void Recordset::update()
{
    if (editMode_ == EditMode::None)
        throwDbError(dberr::UpdateWithoutEdit);
    countWrite();
    if (editMode_ == EditMode::Add)
        insertBuffer();
    else if (editMode_ == EditMode::Edit)
        updateBuffer();
    editMode_ = EditMode::None; // a failed update keeps the buffer for another try
}

void Recordset::cancelUpdate()
{
    if (editMode_ == EditMode::None)
        throwDbError(dberr::UpdateWithoutEdit);
    editMode_ = EditMode::None;
}

void Recordset::insertBuffer()
{
    if (!insert_ || insertFields_ != assigned_) {
        QStringList names, marks;
        for (int i = 0; i < fields_.size(); ++i) {
            if (assigned_.at(i)) {
                names.append(quoteIdentifier(columns_.at(i)));
                marks.append(QStringLiteral("?"));
            }
        }
        const QString table = quoteIdentifier(table_);
        insert_ = std::make_unique<Statement>(*db_, names.isEmpty()
            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(table, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
        insertFields_ = assigned_;
    }
    int parameter = 0;
    for (int i = 0; i < fields_.size(); ++i) {
        if (assigned_.at(i))
            insert_->bind(parameter++, buffer_.at(i));
    }
    insert_->step();
    insert_->reset();
    // The new row joins the end of the set; the current row stays as it was.
    const bool atEnd = position_ >= rows_.size();
    rows_.append(QVariantList());
    rowIds_.append(sqlite3_last_insert_rowid(db_->handle()));
    if (atEnd)
        position_ = int(rows_.size());
}

void Recordset::updateBuffer()
{
    QStringList assignments;
    QVariantList values;
    for (int i = 0; i < fields_.size(); ++i) {
        if (assigned_.at(i)) {
            assignments.append(quoteIdentifier(columns_.at(i)) + QStringLiteral(" = ?"));
            values.append(buffer_.at(i));
        }
    }
    if (!assignments.isEmpty()) {
        values.append(rowIds_.at(position_));
        const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                                .arg(quoteIdentifier(table_), assignments.join(QStringLiteral(", ")));
        if (changeRow(*db_, sql, values) == 0)
            throwDbError(dberr::RecordDeleted);
    }
    rows_[position_] = buffer_;
}

void Recordset::deleteCurrent()
{
    checkUpdatable();
    checkCurrent();
    countWrite();
    if (changeRow(*db_, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoteIdentifier(table_)),
                  {rowIds_.at(position_)}) == 0)
        throwDbError(dberr::RecordDeleted);
    editMode_ = EditMode::None;
    rows_.removeAt(position_);
    rowIds_.removeAt(position_);
    deletedCurrent_ = true;
}

} // namespace platform
