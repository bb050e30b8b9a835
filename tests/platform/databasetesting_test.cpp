#include "db_testing.h"

#include "platform/databasetesting.h"

using namespace platform;
using dbtesting::column;
using dbtesting::errorNumber;

namespace {

class DbFailingWrites : public dbtesting::DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        db->createTable(QStringLiteral("CONT"), {column(QStringLiteral("doc_id"), FieldType::Text, 15),
                                                 column(QStringLiteral("monto"), FieldType::Double)});
        db->execute(QStringLiteral("INSERT INTO CONT VALUES ('A', 1)"));
    }

    // One write of each kind the layer counts, in one transaction.
    void save()
    {
        db->beginTrans();
        try {
            db->execute(QStringLiteral("UPDATE CONT SET monto = 2"));
            auto set = db->openRecordset(QStringLiteral("CONT"), {}, RecordsetType::Dynaset);
            set->addNew();
            set->field(QStringLiteral("doc_id")).setValue(QStringLiteral("B"));
            set->update();
            set->moveFirst();
            set->edit();
            set->field(QStringLiteral("monto")).setValue(3);
            set->update();
            set->deleteCurrent();
            db->commitTrans();
        } catch (const DbError&) {
            db->rollback();
            throw;
        }
    }

    QString contents()
    {
        auto set = db->openRecordset(QStringLiteral("SELECT doc_id, monto FROM CONT ORDER BY doc_id"));
        QStringList rows;
        for (; !set->eof(); set->moveNext())
            rows.append(set->field(0).text() + QLatin1Char('=') + set->field(1).text());
        return rows.join(QLatin1Char(';'));
    }
};

TEST_F(DbFailingWrites, CountsEveryKindOfWrite)
{
    platform::testing::FailWriteNumber counter(0);
    save();
    EXPECT_EQ(counter.writesDone(), 4);
    EXPECT_FALSE(counter.failed());
    EXPECT_EQ(contents(), QStringLiteral("B="));
}

TEST_F(DbFailingWrites, EachWriteFailingInTurnLeavesTheTableAsItWas)
{
    for (int n = 1; n <= 4; ++n) {
        platform::testing::FailWriteNumber failing(n);
        EXPECT_EQ(errorNumber([&] { save(); }), platform::testing::kFailedWriteError) << "write " << n;
        EXPECT_TRUE(failing.failed());
        EXPECT_EQ(failing.writesDone(), n);
        EXPECT_EQ(contents(), QStringLiteral("A=1")) << "write " << n;
    }
    save(); // without a guard nothing fails
    EXPECT_EQ(contents(), QStringLiteral("B="));
}

TEST_F(DbFailingWrites, ReadsAreNotCounted)
{
    platform::testing::FailWriteNumber failing(1);
    EXPECT_EQ(contents(), QStringLiteral("A=1"));
    EXPECT_EQ(failing.writesDone(), 0);
    EXPECT_FALSE(failing.failed());
}

} // namespace
