#pragma once

#include "platform/dberror.h"
#include "platform/fieldtype.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace platform {

class Recordset;
class Statement;

enum class RecordsetType {
    Snapshot,    // every row read at once; read-only
    ForwardOnly, // read once, front to back; read-only
    Dynaset,     // rows of one table that can be added, edited and deleted
};

struct OpenOptions {
    QString workgroupFile; // must exist when given; its content is the host's
    QString user;          // accepted, not checked
    QString password;      // accepted, not checked
    bool exclusive = false; // hold the file so that no other process opens it
    bool readOnly = false;
    int busyTimeoutMs = 1500; // how long a statement waits for another writer
};

// One open database file. Statements are written in the old engine's SQL
// (Jet) and keep its meaning: & joins texts (a Null counting as ""), Like
// takes the old wildcards (* ? # [list] [!list]), True is -1, DELETE * FROM
// is taken, text operands of * / - are numbers only when they spell one out
// whole, and text compares and sorts as the old engine's Spanish order did
// (capitals and accents aside, Ñ after N), also on the results of functions.
// Values are always bound as parameters ("?" in the SQL text): a null
// QVariant is Null, true/false are stored as the engine's -1/0, QDate/QDateTime
// as the text "yyyy-MM-dd hh:mm:ss" (so dates compare and sort as text).
// Besides SQLite's own functions, statements may call Val, Mid, Left, Right,
// Len, UCase, LCase, Nz, InStr, CStr, CInt, CLng, CDbl with Visual Basic's
// meanings. Every failure throws DbError with the engine's number and
// Spanish text.
class Database {
public:
    // Refuses, when connecting, a missing file (3024), an empty file or one
    // that is no database (3343), and, unless `readOnly`, a file that cannot
    // be written (3051).
    static std::unique_ptr<Database> open(const QString& path, const OpenOptions& options = {});
    // Creates a new, empty database file (the host stand-in and tests use it).
    static std::unique_ptr<Database> create(const QString& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& path() const { return path_; }

    // Runs one action statement; fails on any error (no partial update of
    // that statement is kept).
    void execute(const QString& sql, const QVariantList& params = {});
    int recordsAffected() const { return recordsAffected_; }

    // `sql` is a SELECT or, as the old engine allowed, the name of a table.
    std::unique_ptr<Recordset> openRecordset(const QString& sql, const QVariantList& params = {},
                                             RecordsetType type = RecordsetType::Snapshot);
    // First column of the first row, or a null QVariant without rows.
    QVariant scalar(const QString& sql, const QVariantList& params = {});

    // Transactions of the default workspace; they nest.
    void beginTrans();
    void commitTrans();
    void rollback();
    int transactionLevel() const { return transactionLevel_; }

    // Table definitions. The tables, keys and checks made here hold nothing
    // but SQLite's own types, collations and functions: any SQLite tool
    // opens, reads and changes the file.
    bool tableExists(const QString& table);
    QList<ColumnDef> columns(const QString& table);
    QString tableSql(const QString& table); // CREATE statement; 3078 when missing
    void createTable(const QString& table, const QList<ColumnDef>& columns); // 3010 when it exists
    void dropTable(const QString& table);                                    // 3376 when missing
    void createPrimaryKey(const QString& table, const QString& keyName, const QStringList& columns); // 3283
    bool hasPrimaryKey(const QString& table);
    QStringList primaryKeyColumns(const QString& table);
    QStringList tableNames();
    // Lets a Text or Memo column take the empty text (or refuses it again);
    // the table is rebuilt with its rows and key.
    void setAllowZeroLength(const QString& table, const QString& column, bool allow);

    sqlite3* handle() const { return db_; }

    // Translates the engine's last failure (and optionally a statement) into DbError.
    [[noreturn]] void raise(int sqliteCode, const QString& context = {}) const;

private:
    Database() = default;
    static std::unique_ptr<Database> connect(const QString& path, int flags, const OpenOptions& options);
    void run(const QString& sql); // a statement without parameters or rows
    bool transactionLost() const;
    QString primaryKeyIndex(const QString& table);
    int transactionLevel_ = 0;
    int recordsAffected_ = 0;
    QString path_;
    sqlite3* db_ = nullptr;
    friend class Recordset;
};

// One field of a record set's current row.
class Field {
public:
    const QString& name() const { return name_; }
    FieldType type() const { return type_; }
    int size() const { return size_; }

    QVariant value() const;
    bool isNull() const { return value().isNull(); }
    // Text of the value; Null gives "".
    QString text() const;
    void setValue(const QVariant& value); // only between addNew/edit and update

private:
    friend class Recordset;
    Field(Recordset* owner, int index, const QString& name, FieldType type, int size)
        : owner_(owner), index_(index), name_(name), type_(type), size_(size) {}
    Recordset* owner_;
    int index_;
    QString name_;
    FieldType type_;
    int size_;
};

// Rows of a SELECT, in the manner of the old data-access record sets:
// a current row, EOF/BOF, moves, and (Dynaset) an edit buffer.
class Recordset {
public:
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    bool eof() const;
    bool bof() const;
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    int recordCount() const;            // rows read so far (all rows for Snapshot/Dynaset)
    int absolutePosition() const;       // 0-based; -1 without a current row
    void setAbsolutePosition(int position);

    int fieldCount() const { return int(fields_.size()); }
    Field& field(int index);
    Field& field(const QString& name); // case-insensitive; 3265 when missing
    Field& operator[](const QString& name) { return field(name); }
    QVariant value(const QString& name) { return field(name).value(); }
    // The current row's values in field order, as its fields give them;
    // good until the next move or change.
    const QVariantList& values();
    bool hasField(const QString& name) const;

    void addNew();
    void edit();
    void update();
    void cancelUpdate();
    void deleteCurrent();
    bool editing() const { return editMode_ != EditMode::None; }

    RecordsetType type() const { return type_; }
    const QString& tableName() const { return table_; }

private:
    friend class Database;
    friend class Field;
    enum class EditMode { None, Add, Edit };
    Recordset(Database* db, RecordsetType type);
    void open(const QString& source, const QVariantList& params);
    void describeFields(sqlite3_stmt* stmt, int count);
    QVariantList readRow(sqlite3_stmt* stmt) const;
    void readAll(Statement& statement, bool rowIds);
    void inferTypes();
    void fetchNextForward();
    void checkCurrent() const;
    void checkScrollable() const;
    void checkUpdatable() const;
    void moveTo(int position);
    const QVariantList& currentRow();
    void setValue(int index, const QVariant& value);
    void insertBuffer();
    void updateBuffer();

    Database* db_;
    RecordsetType type_;
    QString table_;                 // Dynaset: the one table; empty when it cannot be updated
    QList<Field> fields_;
    QList<bool> declared_;          // field has a declared type; the others' values are read as stored
    QHash<QString, int> fieldIndex_; // case-folded name -> index
    QStringList columns_;           // Dynaset: table column behind each field; empty for expressions
    QList<QVariantList> rows_;      // ForwardOnly: the current row only; Dynaset: empty until read for a row added here
    QList<qint64> rowIds_;          // Dynaset: rowid of each row
    int position_ = 0;              // index in rows_; -1 before the first, rows_.size() after the last
    bool deletedCurrent_ = false;   // the current row was deleted; the next move leaves it
    EditMode editMode_ = EditMode::None;
    QVariantList buffer_;
    QList<bool> assigned_;          // fields set since addNew/edit
    std::unique_ptr<Statement> forward_; // ForwardOnly: the running statement
    int forwardCount_ = 0;          // ForwardOnly: rows read so far
    std::unique_ptr<Statement> insert_;  // Dynaset: INSERT of the fields in insertFields_
    QList<bool> insertFields_;
    std::unique_ptr<Statement> reread_;  // Dynaset: one added row, by its rowid
};

// True when `text` holds a control character (below the blank, DEL, or
// 0x80 to 0x9F). Codes and amounts read from a file must hold none; the
// caller refuses such a value before storing it.
bool hasControlCharacter(const QString& text);

} // namespace platform
