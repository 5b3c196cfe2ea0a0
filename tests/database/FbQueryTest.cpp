// Queries, updates and procedures against a real embedded database file with
// tables of this suite's own.

#include "platform/database/DataSource.h"
#include "platform/database/FbQuery.h"
#include "platform/database/FbScript.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

class FbQueryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        db = new TestDatabase(TestDatabase::Empty);
        TFbConnection con;
        con.DatabaseName = db->Path();
        con.Open();
        TFbScript s;
        s.Connection = &con;
        s.AutoCommitDDL = true;
        s.ExecuteScript(QStringLiteral(
            "create table runner (id bigint not null primary key, name varchar(40) not null, club_id bigint,\n"
            "  fee numeric(18,4), secs numeric(18,2), born date, seen timestamp, flag char(1) default 'E',\n"
            "  note blob sub_type text, ok boolean);\n"
            "create table club (club_id bigint not null primary key, club_name varchar(40));\n"
            "create sequence gen_id;\n"
            "SET TERM ^ ;\n"
            "create procedure twice (in_a integer, in_text varchar(20)) returns (out_a integer, out_text varchar(40)) as\n"
            "begin\n"
            "  out_a = :in_a * 2;\n"
            "  out_text = :in_text || :in_text;\n"
            "  suspend;\n"
            "end^\n"
            "SET TERM ; ^\n"
            "insert into club values (1, 'Rasti');\n"
            "insert into club values (2, 'Kiito');\n"
            "commit;\n"));
        if (s.Transaction == nullptr && con.DefaultTransaction()->Active())
            con.DefaultTransaction()->Commit();
    }
    static void TearDownTestSuite()
    {
        delete db;
        db = nullptr;
    }
    void SetUp() override
    {
        con.DatabaseName = db->Path();
        con.Open();
        tr.SetConnection(&con);
        tr2.SetConnection(&con);
        Exec(QStringLiteral("delete from runner"));
        tr.Commit();
    }
    void Exec(const QString& sql)
    {
        TFbQuery q;
        q.SetConnection(&con);
        q.SetTransaction(&tr);
        q.SQL().Add(sql);
        q.ExecSQL();
    }
    std::unique_ptr<TFbQuery> Query(const QString& sql, TFbTransaction* t)
    {
        auto q = std::make_unique<TFbQuery>();
        q->SetConnection(&con);
        q->SetTransaction(t);
        q->SQL().Add(sql);
        return q;
    }
    static TestDatabase* db;
    TFbConnection con;
    TFbTransaction tr;
    TFbTransaction tr2;
};
TestDatabase* FbQueryTest::db = nullptr;

TEST_F(FbQueryTest, ValuesTravelAsBoundParameters)
{
    auto ins = Query(QStringLiteral("insert into runner (id, name, club_id, fee, secs, born, seen, flag, note, ok) "
                                    "values (:id, :name, :club, :fee, :secs, :born, :seen, :flag, :note, :ok)"),
                     &tr);
    ins->ParamByName(QStringLiteral("ID")).SetAsLargeInt(9000000000123LL);
    ins->ParamByName(QStringLiteral("NAME")).SetAsString(QStringLiteral("O'Brien'); delete from club; --"));
    ins->ParamByName(QStringLiteral("CLUB")).Clear();
    ins->ParamByName(QStringLiteral("FEE")).SetAsCurrency(Currency::FromDouble(12.3456));
    ins->ParamByName(QStringLiteral("SECS")).SetAsFloat(3599.5);
    ins->ParamByName(QStringLiteral("BORN")).SetAsDate(EncodeDate(1999, 12, 31));
    ins->ParamByName(QStringLiteral("SEEN")).SetAsDateTime(EncodeDateTime(2026, 6, 1, 18, 30, 15, 250));
    ins->ParamByName(QStringLiteral("FLAG")).SetAsString(QStringLiteral("K"));
    ins->ParamByName(QStringLiteral("NOTE")).SetAsString(QString(5000, QChar(0x00E4)));
    ins->ParamByName(QStringLiteral("OK")).SetAsBoolean(true);
    ins->ExecSQL();
    EXPECT_EQ(ins->RowsAffected(), 1);
    tr.Commit();

    auto q = Query(QStringLiteral("select r.*, (select count(*) from club) clubs from runner r where r.id = :ID"), &tr);
    q->ParamByName(QStringLiteral("id")).SetAsString(QStringLiteral("9000000000123"));
    q->Open();
    ASSERT_EQ(q->RecordCount(), 1);
    EXPECT_EQ(q->FieldByName(QStringLiteral("ID"))->AsLargeInt(), 9000000000123LL);
    EXPECT_EQ(q->FieldByName(QStringLiteral("NAME"))->AsString(), QStringLiteral("O'Brien'); delete from club; --"));
    EXPECT_TRUE(q->FieldByName(QStringLiteral("CLUB_ID"))->IsNull());
    EXPECT_EQ(q->FieldByName(QStringLiteral("CLUB_ID"))->AsLargeInt(), 0);
    EXPECT_EQ(q->FieldByName(QStringLiteral("FEE"))->AsCurrency(), Currency::FromDouble(12.3456));
    EXPECT_EQ(q->FieldByName(QStringLiteral("SECS"))->AsFloat(), 3599.5);
    EXPECT_EQ(q->FieldByName(QStringLiteral("BORN"))->AsDateTime(), EncodeDate(1999, 12, 31));
    EXPECT_NEAR(q->FieldByName(QStringLiteral("SEEN"))->AsDateTime(), EncodeDateTime(2026, 6, 1, 18, 30, 15, 250), 1e-8);
    EXPECT_EQ(q->FieldByName(QStringLiteral("FLAG"))->AsString(), QStringLiteral("K"));
    EXPECT_EQ(q->FieldByName(QStringLiteral("NOTE"))->AsString(), QString(5000, QChar(0x00E4)));
    EXPECT_TRUE(q->FieldByName(QStringLiteral("OK"))->AsBoolean());
    EXPECT_EQ(q->FieldByName(QStringLiteral("CLUBS"))->AsInteger(), 2);
    EXPECT_TRUE(q->FieldByName(QStringLiteral("CLUBS"))->ReadOnly());
    EXPECT_TRUE(dynamic_cast<TWideMemoField*>(q->FieldByName(QStringLiteral("NOTE"))));
    EXPECT_TRUE(dynamic_cast<TLargeintField*>(q->FieldByName(QStringLiteral("ID"))));
    q->Close();
    tr.Commit();
}

TEST_F(FbQueryTest, ReadCommittedSeesCommitsOfOtherTransactions)
{
    tr2.StartTransaction();
    auto q = Query(QStringLiteral("select count(*) n from runner"), &tr2);
    q->Open();
    EXPECT_EQ(q->FieldByName(QStringLiteral("N"))->AsInteger(), 0);
    Exec(QStringLiteral("insert into runner (id, name) values (1, 'a')"));
    tr.Commit();
    q->Close();
    q->Open();
    EXPECT_EQ(q->FieldByName(QStringLiteral("N"))->AsInteger(), 1);
    tr2.Commit();
}

TEST_F(FbQueryTest, FailingStatementLeavesNoActiveTransaction)
{
    auto q = Query(QStringLiteral("select * from no_such_table where id = :ID"), &tr);
    q->ParamByName(QStringLiteral("ID")).SetAsInteger(1);
    try {
        q->Open();
        FAIL();
    } catch (const EFbError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("NO_SUCH_TABLE")));
        EXPECT_EQ(e.SQLCode(), -204);
    }
    EXPECT_FALSE(tr.Active());
    EXPECT_FALSE(q->Active());

    // A missing parameter value is refused before anything runs.
    auto p = Query(QStringLiteral("insert into runner (id, name) values (:id, :name)"), &tr);
    p->Params().Clear();
    EXPECT_THROW(p->ExecSQL(), EDatabaseError);
    EXPECT_FALSE(tr.Active());
}

TEST_F(FbQueryTest, ClosingTheConnectionRollsBack)
{
    Exec(QStringLiteral("insert into runner (id, name) values (7, 'gone')"));
    EXPECT_TRUE(tr.Active());
    con.Close();
    EXPECT_FALSE(tr.Active());
    con.Open();
    auto q = Query(QStringLiteral("select count(*) n from runner"), &tr);
    q->Open();
    EXPECT_EQ(q->FieldByName(QStringLiteral("N"))->AsInteger(), 0);
    tr.Commit();
}

TEST_F(FbQueryTest, EditsPostThroughGeneratedStatements)
{
    Exec(QStringLiteral("insert into runner (id, name, club_id) values (1, 'Eka', 1)"));
    Exec(QStringLiteral("insert into runner (id, name, club_id) values (2, 'Toka', 2)"));
    tr.Commit();
    auto q = Query(QStringLiteral("select r.*, c.club_name from runner r left join club c on c.club_id = r.club_id "
                                  "order by r.id"),
                   &tr);
    q->SetKeyFieldNames(QStringLiteral("ID"));
    q->Open();
    q->Edit();
    q->FieldByName(QStringLiteral("NAME"))->SetAsString(QStringLiteral("Ensimmäinen"));
    q->FieldByName(QStringLiteral("ID"))->SetAsInteger(11);
    q->Post();
    q->Append();
    q->FieldByName(QStringLiteral("ID"))->SetAsInteger(3);
    q->FieldByName(QStringLiteral("NAME"))->SetAsString(QStringLiteral("Kolmas"));
    q->Post();
    q->Locate(QStringLiteral("ID"), 2);
    q->Delete();
    tr.Commit();

    auto check = Query(QStringLiteral("select id, name from runner order by id"), &tr);
    check->Open();
    QStringList rows;
    for (; !check->Eof(); check->Next())
        rows << check->FieldByName(QStringLiteral("ID"))->AsString() + QLatin1Char('=') +
                    check->FieldByName(QStringLiteral("NAME"))->AsString();
    EXPECT_EQ(rows, QStringList({"3=Kolmas", "11=Ensimmäinen"}));
    tr.Commit();
}

TEST_F(FbQueryTest, UpdateObjectReturnsTheStoredRow)
{
    TFbUpdateSQL upd;
    upd.InsertSQL = QStringLiteral("insert into runner (id, name) values (next value for gen_id, :NEW_NAME) "
                                   "returning id, flag");
    upd.ModifySQL = QStringLiteral("update runner set name = upper(:NAME) where id = :OLD_ID returning name");
    upd.DeleteSQL = QStringLiteral("delete from runner where id = :OLD_ID");
    auto q = Query(QStringLiteral("select * from runner"), &tr);
    q->SetKeyFieldNames(QStringLiteral("ID"));
    q->SetUpdateObject(&upd);
    q->Open();
    q->Insert();
    q->FieldByName(QStringLiteral("NAME"))->SetAsString(QStringLiteral("uusi"));
    q->Post();
    EXPECT_GT(q->FieldByName(QStringLiteral("ID"))->AsLargeInt(), 0);
    EXPECT_EQ(q->FieldByName(QStringLiteral("FLAG"))->AsString(), QStringLiteral("E"));
    q->Edit();
    q->FieldByName(QStringLiteral("NAME"))->SetAsString(QStringLiteral("muutettu"));
    q->Post();
    EXPECT_EQ(q->FieldByName(QStringLiteral("NAME"))->AsString(), QStringLiteral("MUUTETTU"));
    tr.Commit();

    // A row changed under the dataset's feet is not silently lost.
    Exec(QStringLiteral("delete from runner"));
    tr.Commit();
    q->Edit();
    q->FieldByName(QStringLiteral("NAME"))->SetAsString(QStringLiteral("x"));
    EXPECT_THROW(q->Post(), EDatabaseError);
    EXPECT_EQ(q->State(), dsEdit);
    EXPECT_FALSE(tr.Active());
    q->Cancel();
}

TEST_F(FbQueryTest, ReadOnlyAndDisabledKindsAreRefused)
{
    Exec(QStringLiteral("insert into runner (id, name) values (1, 'a')"));
    auto q = Query(QStringLiteral("select * from runner"), &tr);
    q->UpdateOptions().EnableDelete = false;
    q->Open();
    EXPECT_THROW(q->Delete(), EDatabaseError);
    q->UpdateOptions().EnableInsert = q->UpdateOptions().EnableUpdate = false;
    EXPECT_FALSE(q->CanModify());
    EXPECT_THROW(q->Edit(), EDatabaseError);
    EXPECT_THROW(q->Insert(), EDatabaseError);
    tr.Rollback();
}

TEST_F(FbQueryTest, BookmarksSurviveARequeryByKey)
{
    for (int i = 1; i <= 5; ++i)
        Exec(QStringLiteral("insert into runner (id, name) values (%1, 'r%1')").arg(i * 10));
    tr.Commit();
    auto q = Query(QStringLiteral("select id, name from runner order by id desc"), &tr);
    q->SetKeyFieldNames(QStringLiteral("ID"));
    q->Open();
    q->Locate(QStringLiteral("ID"), 30);
    const TBookmark b = q->GetBookmark();
    Exec(QStringLiteral("insert into runner (id, name) values (45, 'new')"));
    q->Refresh();
    EXPECT_EQ(q->FieldByName(QStringLiteral("ID"))->AsInteger(), 30);
    EXPECT_EQ(q->RecNo(), 4);
    q->Close();
    q->Open();
    EXPECT_TRUE(q->BookmarkValid(b));
    q->GotoBookmark(b);
    EXPECT_EQ(q->FieldByName(QStringLiteral("NAME"))->AsString(), QStringLiteral("r30"));
    Exec(QStringLiteral("delete from runner where id = 30"));
    q->Refresh();
    EXPECT_FALSE(q->BookmarkValid(b));
    EXPECT_EQ(q->RecNo(), 4);
    tr.Commit();
}

TEST_F(FbQueryTest, DetailFollowsItsMaster)
{
    Exec(QStringLiteral("insert into runner (id, name, club_id) values (1, 'a', 1)"));
    Exec(QStringLiteral("insert into runner (id, name, club_id) values (2, 'b', 2)"));
    Exec(QStringLiteral("insert into runner (id, name, club_id) values (3, 'c', 2)"));
    tr.Commit();
    auto master = Query(QStringLiteral("select * from club order by club_id"), &tr);
    TDataSource ms;
    ms.SetDataSet(master.get());
    auto detail = Query(QStringLiteral("select * from runner where club_id = :CLUB_ID order by id"), &tr);
    detail->SetMasterSource(&ms);
    master->Open();
    detail->Open();
    EXPECT_EQ(detail->RecordCount(), 1);
    master->DisableControls();
    master->Next();
    EXPECT_EQ(detail->RecordCount(), 2);
    master->EnableControls();
    master->Close();
    EXPECT_FALSE(detail->Active());
    tr.Commit();
}

TEST_F(FbQueryTest, StoredProcedureInputsAndOutputs)
{
    TFbStoredProc p;
    p.SetConnection(&con);
    p.SetTransaction(&tr);
    p.SetStoredProcName(QStringLiteral("TWICE"));
    tr.StartTransaction();
    p.ParamByName(QStringLiteral("IN_A")).SetAsInteger(21);
    p.ParamByName(QStringLiteral("IN_TEXT")).SetAsString(QStringLiteral("ö"));
    p.ExecProc();
    EXPECT_EQ(p.ParamByName(QStringLiteral("OUT_A")).AsInteger(), 42);
    EXPECT_EQ(p.ParamByName(QStringLiteral("OUT_TEXT")).AsString(), QStringLiteral("öö"));
    EXPECT_EQ(p.Params()[0].ParamType(), ptInput);
    EXPECT_EQ(p.Params()[3].ParamType(), ptOutput);
    tr.Commit();

    auto sel = Query(QStringLiteral("select out_a, out_text from twice(:a, :t)"), &tr);
    sel->ParamByName(QStringLiteral("a")).SetAsInteger(2);
    sel->ParamByName(QStringLiteral("t")).Clear();
    sel->Open();
    EXPECT_EQ(sel->FieldByName(QStringLiteral("OUT_A"))->AsInteger(), 4);
    EXPECT_TRUE(sel->FieldByName(QStringLiteral("OUT_TEXT"))->IsNull());
    sel->Close();

    // An executed procedure opened as a query gives its outputs as one row.
    auto exec = Query(QStringLiteral("execute procedure twice(:a, :t)"), &tr);
    exec->ParamByName(QStringLiteral("a")).SetAsInteger(5);
    exec->ParamByName(QStringLiteral("t")).SetAsString(QStringLiteral("x"));
    exec->Open();
    ASSERT_EQ(exec->RecordCount(), 1);
    EXPECT_EQ(exec->FieldByName(QStringLiteral("OUT_A"))->AsInteger(), 10);
    EXPECT_EQ(exec->FieldByName(QStringLiteral("OUT_TEXT"))->AsString(), QStringLiteral("xx"));
    tr.Commit();
}

TEST(FbConnectionTest, MissingDatabaseIsRefused)
{
    TestDatabase db(TestDatabase::Empty);
    TFbConnection con;
    con.DatabaseName = db.Folder() + QStringLiteral("missing.fdb");
    EXPECT_THROW(con.Open(), EFbError);
    EXPECT_FALSE(con.Connected());
}

}  // namespace
