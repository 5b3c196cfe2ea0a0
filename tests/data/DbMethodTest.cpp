// The method pattern every loader and procedure method follows.

#include "tests/support/DataModuleFixture.h"

#include <gtest/gtest.h>

namespace {

class DbMethod : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(f.Connect()); }
    DataModuleFixture f;
};

TEST_F(DbMethod, SuccessCommitsAndLogsNothing)
{
    int64_t n = -1;
    const QString err = RunDbMethod(QStringLiteral("countMessages"), *f.Module->fbTrUpdateCallFD, [&] {
        TFbQuery& q = SetStatement(*f.Module->fbUpdateDefaultFD,
                                   {QStringLiteral("select count(*) N from vrk_messages"),
                                    QStringLiteral("where message_language = :LANG")});
        q.ParamByName(QStringLiteral("LANG")).SetAsString(QStringLiteral("FI"));
        q.Open();
        n = ReqId(q, QStringLiteral("N"));
    });
    EXPECT_TRUE(err.isEmpty());
    EXPECT_GT(n, 0);
    EXPECT_FALSE(f.Module->fbTrUpdateCallFD->Active());
    EXPECT_EQ(f.LogLines().size(), 1);  // the connect line
}

TEST_F(DbMethod, FailingStatementLogsRollsBackAndTheNextCallStartsCleanly)
{
    const QString err = RunDbMethod(QStringLiteral("brokenMethod"), *f.Module->fbTrUpdateCallFD, [&] {
        TFbQuery& q = SetStatement(*f.Module->fbUpdateDefaultFD, {QStringLiteral("select X from NO_SUCH_TABLE")});
        q.Open();
    });
    EXPECT_TRUE(err.startsWith(QStringLiteral("(brokenMethod): "))) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("NO_SUCH_TABLE")));
    EXPECT_FALSE(f.Module->fbTrUpdateCallFD->Active());
    const QStringList errors = f.Messages(QStringLiteral("Error"));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("(brokenMethod): ")));

    // A null where the database always gives a value fails like any error.
    const QString err2 = RunDbMethod(QStringLiteral("nullMethod"), *f.Module->fbTrUpdateCallFD, [&] {
        TFbQuery& q = SetStatement(*f.Module->fbUpdateDefaultFD, {QStringLiteral("select cast(null as varchar(5)) S from rdb$database")});
        q.Open();
        EXPECT_EQ(NullStr(q, QStringLiteral("S")), QString());
        EXPECT_EQ(NullStr(q, QStringLiteral("S"), QStringLiteral("E")), QStringLiteral("E"));
        EXPECT_EQ(NullId(q, QStringLiteral("S")), 0);
        ReqStr(q, QStringLiteral("S"));
    });
    EXPECT_EQ(err2, QStringLiteral("(nullMethod): Field 'S' is null"));
    EXPECT_FALSE(f.Module->fbTrUpdateCallFD->Active());

    // The next method runs on a clean transaction.
    const QString ok = RunDbMethod(QStringLiteral("next"), *f.Module->fbTrUpdateCallFD, [&] {
        SetStatement(*f.Module->fbUpdateDefaultFD, {QStringLiteral("select 1 from rdb$database")}).Open();
    });
    EXPECT_TRUE(ok.isEmpty());
}

TEST_F(DbMethod, OthersStyleAndRaisingAgain)
{
    TDbMethodOptions opt;
    opt.LogStyle = TDbLogStyle::Others;
    opt.Reraise = true;
    EXPECT_THROW(RunDbMethod(QStringLiteral("getNewSyncMessageId"), *f.Module->fbTrUpdateCallWorkerFD,
                             [] { throw EDatabaseError(QStringLiteral("boom")); }, opt),
                 EDatabaseError);
    EXPECT_EQ(f.Messages(QStringLiteral("Error")), QStringList({"getNewSyncMessageId.OTHERS: boom"}));
    EXPECT_FALSE(f.Module->fbTrUpdateCallWorkerFD->Active());
}

TEST_F(DbMethod, BodyMayEndTheTransactionItself)
{
    const QString err = RunDbMethod(QStringLiteral("conditional"), *f.Module->fbTrUpdateCallFD, [&] {
        f.Module->fbTrUpdateCallFD->Rollback();
    });
    EXPECT_TRUE(err.isEmpty());
    EXPECT_FALSE(f.Module->fbTrUpdateCallFD->Active());
}

// A method that only reads starts its transaction read-only (a write in it
// fails); a read left open for the reads after it is ended by the next
// method that writes, which gets a transaction of its own, and the
// transaction's own mode is kept for its other users.
TEST_F(DbMethod, AReadOnlyMethodStartsReadOnlyAndAWriterAfterItStartsItsOwn)
{
    f.Exec(QStringLiteral("insert into vrk_client (client_id, client_name, in_use, first_sync_done) "
                          "values (7, 'PC', 'K', 'Y');"));
    const QString name = QStringLiteral("select client_name from vrk_client where client_id = 7");
    TFbTransaction& t = *f.Module->fbTrUpdateCallFD;
    TDbMethodOptions readOnly;
    readOnly.ReadOnly = true;
    readOnly.Commit = false;
    const QString read = RunDbMethod(QStringLiteral("read"), t, [&] {
        SetStatement(*f.Module->fbUpdateDefaultFD, {QStringLiteral("select 1 from rdb$database")}).Open();
    }, readOnly);
    EXPECT_TRUE(read.isEmpty()) << read.toStdString();
    EXPECT_TRUE(t.ActiveReadOnly());
    EXPECT_FALSE(t.ReadOnly);

    const QString write = RunDbMethod(QStringLiteral("write"), t, [&] {
        EXPECT_FALSE(t.ActiveReadOnly());
        SetStatement(*f.Module->fbUpdateDefaultFD,
                     {QStringLiteral("update vrk_client set client_name = 'W' where client_id = 7")})
            .ExecSQL();
    });
    EXPECT_TRUE(write.isEmpty()) << write.toStdString();
    EXPECT_FALSE(t.Active());
    EXPECT_EQ(f.Value(name).toString(), QStringLiteral("W"));

    readOnly.Commit = true;
    const QString refused = RunDbMethod(QStringLiteral("writeInRead"), t, [&] {
        SetStatement(*f.Module->fbUpdateDefaultFD,
                     {QStringLiteral("update vrk_client set client_name = 'R' where client_id = 7")})
            .ExecSQL();
    }, readOnly);
    EXPECT_FALSE(refused.isEmpty());
    EXPECT_FALSE(t.Active());
    EXPECT_EQ(f.Value(name).toString(), QStringLiteral("W"));
}

}  // namespace
