// The dataset model over an in-memory table: navigation, editing, events,
// links and their notifications, bookmarks, filter and index views.

#include "platform/database/ClientDataSet.h"
#include "platform/database/DataSource.h"

#include <gtest/gtest.h>

namespace {

class Table : public ::testing::Test {
protected:
    void SetUp() override
    {
        ds.AddField(QStringLiteral("ID"), ftLargeint);
        ds.AddField(QStringLiteral("NAME"), ftWideString, 30);
        ds.AddField(QStringLiteral("FEE"), ftFMTBcd, 4);
        ds.AddField(QStringLiteral("WHEN"), ftDateTime);
        ds.SetKeyFields(QStringLiteral("ID"));
        ds.CreateDataSet();
        ds.AppendRecord({3, QStringLiteral("Ärrä"), 2.5, QVariant()});
        ds.AppendRecord({1, QStringLiteral("bertta"), QVariant(), QVariant()});
        ds.AppendRecord({2, QStringLiteral("Aatu"), 10, QVariant()});
        ds.First();
    }
    TClientDataSet ds;
    QString names()
    {
        QStringList r;
        ds.DisableControls();
        for (ds.First(); !ds.Eof(); ds.Next())
            r << ds.FieldByName(QStringLiteral("NAME"))->AsString();
        ds.EnableControls();
        return r.join(QLatin1Char(','));
    }
};

class RecordingLink : public TDataLink {
public:
    QStringList log;

protected:
    void ActiveChanged() override { log << QStringLiteral("active"); }
    void DataSetChanged() override { log << QStringLiteral("changed"); }
    void DataSetScrolled(int d) override { log << QStringLiteral("scrolled%1").arg(d); }
    void EditingChanged() override { log << QStringLiteral("editing"); }
    void RecordChanged(TField* f) override { log << QStringLiteral("record:") + (f ? f->FieldName() : QString()); }
    void UpdateData() override { log << QStringLiteral("update"); }
};

TEST_F(Table, NavigationAndPositions)
{
    EXPECT_TRUE(ds.Bof());
    EXPECT_EQ(ds.RecNo(), 1);
    EXPECT_EQ(ds.RecordCount(), 3);
    EXPECT_EQ(ds.MoveBy(5), 2);
    EXPECT_TRUE(ds.Eof());
    EXPECT_EQ(ds.RecNo(), 3);
    ds.Next();
    EXPECT_TRUE(ds.Eof());
    EXPECT_EQ(ds.MoveBy(-1), -1);
    EXPECT_FALSE(ds.Eof());
    ds.SetRecNo(1);
    EXPECT_EQ(ds.FieldByName(QStringLiteral("id"))->AsLargeInt(), 3);
    EXPECT_EQ(names(), QStringLiteral("Ärrä,bertta,Aatu"));
}

TEST_F(Table, FieldValuesAndNulls)
{
    TField* fee = ds.FieldByName(QStringLiteral("FEE"));
    EXPECT_EQ(fee->AsCurrency(), Currency::FromDouble(2.5));
    EXPECT_EQ(fee->AsString(), QStringLiteral("2,5000"));
    EXPECT_TRUE(dynamic_cast<TFMTBCDField*>(fee));
    ds.Next();
    EXPECT_TRUE(fee->IsNull());
    EXPECT_EQ(fee->AsFloat(), 0.0);
    EXPECT_EQ(fee->AsString(), QString());
    EXPECT_FALSE(fee->AsVariant().isValid());
    EXPECT_EQ(ds.FindField(QStringLiteral("nothing")), nullptr);
    EXPECT_THROW(ds.FieldByName(QStringLiteral("nothing")), EDatabaseError);
    EXPECT_THROW(ds.FieldByName(QStringLiteral("NAME"))->SetAsString(QStringLiteral("x")), EDatabaseError);
}

TEST_F(Table, EditPostCancelAndEvents)
{
    QStringList events;
    ds.BeforePost = [&](TDataSet*) { events << QStringLiteral("beforePost"); };
    ds.AfterPost = [&](TDataSet*) { events << QStringLiteral("afterPost"); };
    ds.AfterInsert = [&](TDataSet*) { events << QStringLiteral("afterInsert"); };
    ds.Edit();
    EXPECT_EQ(ds.State(), dsEdit);
    ds.FieldByName(QStringLiteral("NAME"))->SetAsString(QStringLiteral("Uusi"));
    EXPECT_EQ(ds.FieldByName(QStringLiteral("NAME"))->OldValue().toString(), QStringLiteral("Ärrä"));
    ds.Cancel();
    EXPECT_EQ(ds.FieldByName(QStringLiteral("NAME"))->AsString(), QStringLiteral("Ärrä"));
    ds.Edit();
    ds.FieldByName(QStringLiteral("NAME"))->SetAsString(QStringLiteral("Uusi"));
    ds.Post();
    EXPECT_EQ(ds.FieldByName(QStringLiteral("NAME"))->AsString(), QStringLiteral("Uusi"));
    ds.Insert();
    EXPECT_EQ(ds.RecNo(), -1);
    ds.FieldByName(QStringLiteral("ID"))->SetAsInteger(9);
    ds.Post();
    EXPECT_EQ(ds.RecordCount(), 4);
    EXPECT_EQ(ds.RecNo(), 1);
    EXPECT_EQ(events, QStringList({"beforePost", "afterPost", "afterInsert", "beforePost", "afterPost"}));

    // An aborting BeforePost keeps the edit.
    ds.BeforePost = [](TDataSet*) { Abort(); };
    ds.Edit();
    ds.FieldByName(QStringLiteral("ID"))->SetAsInteger(10);
    EXPECT_THROW(ds.Post(), EAbort);
    EXPECT_EQ(ds.State(), dsEdit);
    // A handler saved, nulled and called later, as windows do.
    auto saved = ds.BeforePost;
    ds.BeforePost = nullptr;
    ds.Post();
    EXPECT_EQ(ds.State(), dsBrowse);
    EXPECT_THROW(saved(&ds), EAbort);
}

TEST_F(Table, LinksFollowTheDataSet)
{
    TDataSource src;
    src.SetDataSet(&ds);
    RecordingLink link;
    link.SetDataSource(&src);
    EXPECT_TRUE(link.Active());
    link.log.clear();
    ds.Next();
    ds.Last();
    ds.Edit();
    ds.FieldByName(QStringLiteral("NAME"))->SetAsString(QStringLiteral("x"));
    ds.Post();
    EXPECT_EQ(link.log, QStringList({"scrolled1", "scrolled1", "editing", "record:", "record:NAME", "update",
                                     "editing", "changed"}));

    // While controls are disabled the link hears nothing; enabling sends one change.
    link.log.clear();
    ds.DisableControls();
    ds.First();
    ds.Next();
    ds.EnableControls();
    EXPECT_EQ(link.log, QStringList({"changed"}));

    ds.Close();
    EXPECT_FALSE(link.Active());
}

TEST_F(Table, BufferWindowAndActiveRecord)
{
    TDataSource src;
    src.SetDataSet(&ds);
    RecordingLink link;
    link.SetDataSource(&src);
    link.SetBufferCount(2);
    ds.Last();
    EXPECT_EQ(link.FirstRecord(), 1);
    EXPECT_EQ(link.ActiveRecord(), 1);
    link.log.clear();
    link.SetActiveRecord(0);
    EXPECT_EQ(ds.FieldByName(QStringLiteral("NAME"))->AsString(), QStringLiteral("bertta"));
    link.SetActiveRecord(1);
    EXPECT_EQ(ds.FieldByName(QStringLiteral("NAME"))->AsString(), QStringLiteral("Aatu"));
    EXPECT_TRUE(link.log.isEmpty());
    EXPECT_EQ(ds.RecNo(), 3);
}

TEST_F(Table, BookmarksLocateAndLookup)
{
    ds.Next();
    const TBookmark b = ds.GetBookmark();
    EXPECT_TRUE(ds.Locate(QStringLiteral("NAME"), QStringLiteral("aa"), loCaseInsensitive | loPartialKey));
    EXPECT_EQ(ds.FieldByName(QStringLiteral("ID"))->AsInteger(), 2);
    EXPECT_FALSE(ds.Locate(QStringLiteral("NAME"), QStringLiteral("aa")));
    EXPECT_EQ(ds.Lookup(QStringLiteral("ID"), {3}, QStringLiteral("NAME")).toString(), QStringLiteral("Ärrä"));
    ds.GotoBookmark(b);
    EXPECT_EQ(ds.FieldByName(QStringLiteral("ID"))->AsInteger(), 1);
    ds.Delete();
    EXPECT_FALSE(ds.BookmarkValid(b));
    EXPECT_THROW(ds.GotoBookmark(b), EDatabaseError);
}

TEST_F(Table, FilterAndIndexViewsKeepTheCurrentRow)
{
    ds.Locate(QStringLiteral("ID"), 1);
    ds.SetIndexFieldNames(QStringLiteral("NAME"));
    EXPECT_EQ(ds.FieldByName(QStringLiteral("ID"))->AsInteger(), 1);
    EXPECT_EQ(names(), QStringLiteral("Aatu,bertta,Ärrä"));
    ds.AddIndex(QStringLiteral("byIdDesc"), QStringLiteral("ID"), QStringLiteral("ID"));
    ds.SetIndexName(QStringLiteral("byIdDesc"));
    EXPECT_EQ(names(), QStringLiteral("Ärrä,Aatu,bertta"));
    ds.OnFilterRecord = [](TDataSet* d, bool& accept) { accept = d->FieldByName(QStringLiteral("ID"))->AsInteger() != 2; };
    ds.SetFiltered(true);
    EXPECT_EQ(ds.RecordCount(), 2);
    EXPECT_EQ(names(), QStringLiteral("Ärrä,bertta"));
    ds.SetFiltered(false);
    ds.SetIndexName(QString());
    EXPECT_EQ(names(), QStringLiteral("Ärrä,bertta,Aatu"));
    EXPECT_THROW(ds.SetIndexName(QStringLiteral("none")), EDatabaseError);
}

TEST(FieldDataLinkTest, WritesPendingValueOnPost)
{
    TClientDataSet ds;
    ds.AddField(QStringLiteral("FLAG"), ftWideString, 1);
    ds.CreateDataSet();
    ds.AppendRecord({QStringLiteral("E")});
    TDataSource src;
    src.SetDataSet(&ds);
    TFieldDataLink link;
    QString shown;
    link.OnDataChange = [&](TFieldDataLink* l) { shown = l->Field() ? l->Field()->AsString() : QString(); };
    link.OnUpdateData = [](TFieldDataLink* l) { l->Field()->SetAsString(QStringLiteral("K")); };
    link.SetDataSource(&src);
    link.SetFieldName(QStringLiteral("flag"));
    EXPECT_EQ(shown, QStringLiteral("E"));
    EXPECT_TRUE(link.Edit());
    link.SetModified();
    ds.Post();
    EXPECT_EQ(ds.FieldByName(QStringLiteral("FLAG"))->AsString(), QStringLiteral("K"));
    EXPECT_EQ(shown, QStringLiteral("K"));
}

}  // namespace

namespace {

TEST(CalculatedFields, LookupAndCalculatedFieldsFollowTheirRows)
{
    TClientDataSet names;
    names.AddField(QStringLiteral("CODE"), ftWideString, 5);
    names.AddField(QStringLiteral("TEXT"), ftWideString, 30);
    names.CreateDataSet();
    names.AppendRecord({QStringLiteral("V"), QStringLiteral("Hyväksytty")});
    names.AppendRecord({QStringLiteral("M"), QStringLiteral("Maastossa")});

    TClientDataSet runs;
    runs.AddField(QStringLiteral("STATUS"), ftWideString, 5);
    TField* text = runs.AddField(QStringLiteral("STATUS_TEXT"), ftWideString, 30, fkLookup);
    text->KeyFields = QStringLiteral("STATUS");
    text->LookupDataSet = &names;
    text->LookupKeyFields = QStringLiteral("CODE");
    text->LookupResultField = QStringLiteral("TEXT");
    runs.AddField(QStringLiteral("LOUD"), ftWideString, 30, fkCalculated);
    runs.OnCalcFields = [](TDataSet* d) {
        d->FieldByName(QStringLiteral("LOUD"))->SetAsString(d->FieldByName(QStringLiteral("STATUS_TEXT"))->AsString().toUpper());
    };
    runs.CreateDataSet();
    runs.AppendRecord({QStringLiteral("M")});
    runs.AppendRecord({QStringLiteral("X")});
    runs.First();
    EXPECT_EQ(runs.FieldByName(QStringLiteral("STATUS_TEXT"))->AsString(), QStringLiteral("Maastossa"));
    EXPECT_EQ(runs.FieldByName(QStringLiteral("LOUD"))->AsString(), QStringLiteral("MAASTOSSA"));
    EXPECT_FALSE(runs.FieldByName(QStringLiteral("LOUD"))->CanModify());
    runs.Next();
    EXPECT_TRUE(runs.FieldByName(QStringLiteral("STATUS_TEXT"))->IsNull());
    runs.Edit();
    runs.FieldByName(QStringLiteral("STATUS"))->SetAsString(QStringLiteral("V"));
    EXPECT_THROW(runs.FieldByName(QStringLiteral("LOUD"))->SetAsString(QStringLiteral("x")), EDatabaseError);
    runs.Post();
    EXPECT_EQ(runs.FieldByName(QStringLiteral("LOUD"))->AsString(), QStringLiteral("HYVÄKSYTTY"));
}

}  // namespace

namespace {

TEST_F(Table, BookmarksSurviveFilterToggling)
{
    ds.Locate(QStringLiteral("ID"), 2);
    const TBookmark b = ds.GetBookmark();
    ds.SetFilter(QStringLiteral("NAME = 'Aatu'"));
    ds.SetFiltered(true);
    EXPECT_EQ(ds.RecordCount(), 1);
    EXPECT_EQ(ds.FieldByName(QStringLiteral("ID"))->AsInteger(), 2);
    EXPECT_THROW(ds.SetFilter(QStringLiteral("NAME = ")), EDatabaseError);
    ds.SetFiltered(false);
    ds.First();
    EXPECT_TRUE(ds.BookmarkValid(b));
    ds.GotoBookmark(b);
    EXPECT_EQ(ds.RecNo(), 3);
}

}  // namespace
