#include "platform/rowcopy.h"

#include "platform/database.h"
#include "platform/dbinternal.h"

#include <sqlite3.h>

namespace platform {

namespace {

// The items between the outer parentheses of a CREATE TABLE statement, as
// written: its column definitions and table constraints.
QStringList definitionItems(const QString& createSql)
{
    QStringList items;
    QChar closing; // of the quoted name or text being read
    int depth = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < createSql.size(); ++i) {
        const QChar c = createSql.at(i);
        if (!closing.isNull()) {
            if (c == closing)
                closing = QChar();
        } else if (c == u'\'' || c == u'"' || c == u'`' || c == u'[') {
            closing = c == u'[' ? QChar(u']') : c;
        } else if (c == u'(') {
            if (++depth == 1)
                start = i + 1;
        } else if (c == u',' || c == u')') {
            if (depth == 1) {
                items.append(createSql.mid(start, i - start).trimmed());
                start = i + 1;
            }
            if (c == u')')
                --depth;
        }
    }
    return items;
}

// The item that defines `column` the way this layer writes one: quoted
// name first. Empty when there is none.
QString columnItem(const QStringList& items, const QString& column)
{
    const QString head = quoteIdentifier(column) + u' ';
    for (const QString& item : items) {
        if (item.startsWith(head, Qt::CaseInsensitive))
            return item;
    }
    return {};
}

// A trigger's statements would be prepared along with the copy, and so
// without their own tables' checks.
bool hasTriggers(Database& db, const QString& table)
{
    return db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'trigger' "
                                    "AND tbl_name = ? COLLATE NOCASE"),
                     {table})
               .toInt()
        > 0;
}

// True when the destination's column checks are those the copied rows met
// in the source.
bool checkedAlready(Database& db, const QString& destination, const QString& source, const QStringList& columns)
{
    const QStringList target = definitionItems(db.tableSql(destination));
    const QStringList origin = definitionItems(db.tableSql(source));
    QStringList feeding = origin;
    if (!columns.isEmpty()) {
        feeding.clear();
        for (const QString& column : columns)
            feeding.append(columnItem(origin, column));
    }
    return !target.isEmpty() && target == feeding && !hasTriggers(db, destination);
}

// Statements prepared while it lives leave the column checks out.
class ChecksLeftOut {
public:
    explicit ChecksLeftOut(sqlite3* db) : db_(db) { set("ON"); }
    ~ChecksLeftOut() { set("OFF"); }
    ChecksLeftOut(const ChecksLeftOut&) = delete;
    ChecksLeftOut& operator=(const ChecksLeftOut&) = delete;

private:
    void set(const char* state)
    {
        sqlite3_exec(db_, QByteArray("PRAGMA ignore_check_constraints = ").append(state).constData(), nullptr,
                     nullptr, nullptr);
    }
    sqlite3* db_;
};

} // namespace

void copyRows(Database& db, const QString& destination, const QString& source, const QStringList& columns,
              const QString& condition, const QVariantList& params)
{
    const QString sql = QStringLiteral("INSERT INTO %1 SELECT %2 FROM %3 WHERE %4")
                            .arg(destination, columns.isEmpty() ? QStringLiteral("*") : columns.join(u", "), source,
                                 condition);
    if (!checkedAlready(db, destination, source, columns)) {
        db.execute(sql, params);
        return;
    }
    const ChecksLeftOut unchecked(db.handle());
    db.execute(sql, params);
}

} // namespace platform
