#pragma once

// Helpers of the database layer's tests.

#include "platform/database.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <functional>
#include <optional>

namespace dbtesting {

// The DbError that `action` throws; a test failure when it throws none.
inline platform::DbError errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const platform::DbError& e) {
        return e;
    }
    ADD_FAILURE() << "no DbError was thrown";
    return platform::DbError(0, QStringLiteral("none"));
}

inline int errorNumber(const std::function<void()>& action)
{
    return errorOf(action).number();
}

inline platform::ColumnDef column(const QString& name, platform::FieldType type, int size = 0,
                                  bool allowZeroLength = false, bool required = false)
{
    return {name, type, size, allowZeroLength, required};
}

// A new database file in a temporary folder, opened.
class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db = platform::Database::create(path());
    }

    QString path(const QString& name = QStringLiteral("base.db")) const { return dir.filePath(name); }

    // A second connection to the same file, waiting only briefly for locks.
    std::unique_ptr<platform::Database> second(bool exclusive = false) const
    {
        platform::OpenOptions options;
        options.busyTimeoutMs = 20;
        options.exclusive = exclusive;
        return platform::Database::open(path(), options);
    }

    int count(const QString& table)
    {
        return db->scalar(QStringLiteral("SELECT count(*) FROM ") + table).toInt();
    }

    QTemporaryDir dir;
    std::unique_ptr<platform::Database> db;
};

} // namespace dbtesting
