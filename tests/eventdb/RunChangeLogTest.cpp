// The change log a results grid reads after each card read: every desk's
// changes reach it, also those whose transaction commits after a later one.

#include "data/vrkRunChangeLog.h"
#include "tests/eventdb/EventDbFixture.h"

#include <gtest/gtest.h>

namespace {

class RunChangeLogTest : public ::testing::Test {
protected:
    RunChangeLogTest()
    {
        // three runs of the fixture event
        db.Script(QStringLiteral(
            "insert into VRK_RESULTS_CLASS (RESULTS_CLASS_ID, EVENT_ID, CONTROL_CARD, RESULT_STATUS) values (91, 100, '91', 'I');\n"
            "insert into VRK_RESULTS_CLASS (RESULTS_CLASS_ID, EVENT_ID, CONTROL_CARD, RESULT_STATUS) values (92, 100, '92', 'I');\n"
            "insert into VRK_RESULTS_CLASS (RESULTS_CLASS_ID, EVENT_ID, CONTROL_CARD, RESULT_STATUS) values (93, 100, '93', 'I');\n"
            "COMMIT;\n"));
        Read.SetConnection(&db.Connection());
        Shared.SetConnection(&db.Connection());
        Shared.SetTransaction(&Read);
    }
    // A run's change in a transaction of its own, left open.
    void Change(TFbTransaction& T, int Run)
    {
        T.SetConnection(&db.Connection());
        if (!T.Active())
            T.StartTransaction();
        TFbQuery q;
        q.SetConnection(&db.Connection());
        q.SetTransaction(&T);
        q.SQL().Add(QStringLiteral("update VRK_RESULTS_CLASS set PERSON_NAME = 'X' where RESULTS_CLASS_ID = %1").arg(Run));
        q.ExecSQL();
    }
    QSet<int64_t> Changed(int64_t NowMs = 0) { return Log.Changed(Shared, NowMs); }

    EventDb db;
    TFbTransaction Read;
    TFbQuery Shared;
    TRunChangeLog Log;
};

TEST_F(RunChangeLogTest, EveryCommittedChangeIsToldOnceWhateverTheOrderOfCommits)
{
    Log.Start(Shared, 0);
    EXPECT_TRUE(Changed().isEmpty());  // what the grid read at its start is not told again

    TFbTransaction first, second;
    Change(first, 91);   // takes the lower number
    Change(second, 92);  // takes the higher one and commits first
    second.Commit();
    EXPECT_EQ(Changed(), QSet<int64_t>({92}));
    first.Commit();
    EXPECT_EQ(Changed(), QSet<int64_t>({91}));
    EXPECT_TRUE(Changed().isEmpty());

    // a change undone leaves its number missing for good: it is given up
    // after a while, and later changes are told all the same
    TFbTransaction undone, later;
    Change(undone, 93);
    Change(later, 92);
    undone.Rollback();
    later.Commit();
    EXPECT_EQ(Changed(1000), QSet<int64_t>({92}));
    Change(later, 93);
    later.Commit();
    EXPECT_EQ(Changed(1000 + TRunChangeLog::kMissingForgottenMs + 1), QSet<int64_t>({93}));
    if (Read.Active())
        Read.Commit();
}

TEST_F(RunChangeLogTest, DeletedRunsAndUploadMarksAreLogged)
{
    Log.Start(Shared, 0);
    db.Exec(QStringLiteral("insert into VRK_DATA_REPLICATION (REPLICATION_ID, REPL_DATA_ID, REPL_DATA, REPL_TYPE) "
                           "values (7001, 92, 'VRK_RESULTS_CLASS', 'U')"));
    EXPECT_EQ(Changed(), QSet<int64_t>({92}));
    db.Exec(QStringLiteral("delete from VRK_DATA_REPLICATION where REPLICATION_ID = 7001"));
    db.Exec(QStringLiteral("delete from VRK_RESULTS_CLASS where RESULTS_CLASS_ID = 93"));
    EXPECT_EQ(Changed(), QSet<int64_t>({92, 93}));
    if (Read.Active())
        Read.Commit();
}

TEST_F(RunChangeLogTest, OnlyTheLastChangesAreKeptAndAReadingFurtherBehindIsToldSo)
{
    Log.Start(Shared, 0);
    // the numbering moved far on (a long day of other desks' changes), to
    // just before a number at which the log lets its oldest changes go
    const int64_t now = db.Value(QStringLiteral("select gen_id(SEQ_VRK_RUN_CHANGES, 0) from RDB$DATABASE")).toLongLong();
    const int64_t target = (now + 2 * TRunChangeLog::kKeptChanges) / 1000 * 1000 + 999;
    db.Value(QStringLiteral("select gen_id(SEQ_VRK_RUN_CHANGES, %1) from RDB$DATABASE").arg(target - now));
    db.Exec(QStringLiteral("update VRK_RESULTS_CLASS set PERSON_NAME = 'Y' where RESULTS_CLASS_ID = 91"));
    EXPECT_EQ(db.Value(QStringLiteral("select count(*) from VRK_RUN_CHANGES where CHANGE_ID <= %1").arg(now)).toInt(), 0);
    EXPECT_EQ(db.Value(QStringLiteral("select count(*) from VRK_RUN_CHANGES where CHANGE_ID = %1").arg(target + 1)).toInt(), 1);
    EXPECT_THROW(Changed(), std::runtime_error);
    // read whole again, the grid goes on from there
    Log.Start(Shared, 0);
    db.Exec(QStringLiteral("update VRK_RESULTS_CLASS set PERSON_NAME = 'Z' where RESULTS_CLASS_ID = 92"));
    EXPECT_EQ(Changed(), QSet<int64_t>({92}));
    if (Read.Active())
        Read.Commit();
}

}  // namespace
