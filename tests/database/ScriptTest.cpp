// Scripts split at the terminator outside literals and comments, with
// terminator changes; the runner stops at the first failing statement.

#include "platform/database/FbScript.h"
#include "platform/database/FbQuery.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

namespace {

TEST(ScriptSplit, TerminatorsCommentsAndLiterals)
{
    const QString script = QStringLiteral(
        "/* header; with a semicolon */\n"
        "create table a (x varchar(10));\n"
        "-- comment; here\n"
        "insert into a values ('a;b');\n"
        "SET TERM ^ ;\n"
        "create procedure p as\n"
        "begin\n"
        "  insert into a values ('^ no');\n"
        "end^\n"
        "SET TERM ; ^\n"
        "commit;\n"
        "insert into a values ('last')");
    const auto st = SplitScript(script);
    ASSERT_EQ(st.size(), 5u);
    EXPECT_EQ(st[0].Text, QStringLiteral("create table a (x varchar(10))"));
    EXPECT_EQ(st[0].Line, 2);
    EXPECT_EQ(st[1].Text, QStringLiteral("insert into a values ('a;b')"));
    EXPECT_EQ(st[1].Line, 4);
    EXPECT_TRUE(st[2].Text.startsWith(QStringLiteral("create procedure p as")));
    EXPECT_TRUE(st[2].Text.endsWith(QStringLiteral("end")));
    EXPECT_EQ(st[2].Line, 6);
    EXPECT_EQ(st[3].Text, QStringLiteral("commit"));
    EXPECT_EQ(st[4].Text, QStringLiteral("insert into a values ('last')"));
    EXPECT_EQ(st[4].Line, 12);
}

TEST(ScriptSplit, TermWithoutBlank)
{
    const auto st = SplitScript(QStringLiteral("SET TERM !!;\nselect 1 from rdb$database!!\nSET TERM ;!!\nselect 2 from rdb$database;"));
    ASSERT_EQ(st.size(), 2u);
    EXPECT_EQ(st[0].Text, QStringLiteral("select 1 from rdb$database"));
    EXPECT_EQ(st[1].Text, QStringLiteral("select 2 from rdb$database"));
}

TEST(ScriptRun, RunsPsqlAndStopsAtTheFirstError)
{
    TestDatabase db(TestDatabase::Empty);
    TFbConnection con;
    con.DatabaseName = db.Path();
    con.Open();
    TFbTransaction tr;
    tr.SetConnection(&con);
    TFbScript script;
    script.Connection = &con;
    script.Transaction = &tr;
    script.AutoCommitDDL = true;
    script.ExecuteScript(QStringLiteral(
        "SET SQL DIALECT 3;\n"
        "create table t (id integer, s varchar(20));\n"
        "SET TERM ^ ;\n"
        "create procedure add_row (v integer) as\n"
        "declare x integer;\n"
        "begin\n"
        "  x = :v * 2;\n"
        "  insert into t values (:x, 'psql');\n"
        "end^\n"
        "SET TERM ; ^\n"
        "execute procedure add_row(21);\n"
        "commit;\n"));
    EXPECT_FALSE(tr.Active());

    try {
        script.ExecuteScript(QStringLiteral("insert into t values (1, 'ok');\n\ninsert into nowhere values (1);\ninsert into t values (2, 'never');"));
        FAIL() << "the script should have failed";
    } catch (const EFbScriptError& e) {
        EXPECT_EQ(e.Line(), 3);
        EXPECT_TRUE(e.Message().contains(QStringLiteral("NOWHERE"))) << e.Message().toStdString();
    }
    tr.Rollback();

    TFbQuery q;
    q.SetConnection(&con);
    q.SetTransaction(&tr);
    q.SQL().Add(QStringLiteral("select id, s from t order by id"));
    q.Open();
    ASSERT_EQ(q.RecordCount(), 1);
    EXPECT_EQ(q.FieldByName(QStringLiteral("ID"))->AsInteger(), 42);
    q.Close();
    tr.Commit();
}

}  // namespace
