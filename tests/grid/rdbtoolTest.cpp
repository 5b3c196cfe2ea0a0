// The dataset utilities: field kinds and lists, the record walk, locating,
// text masks (the loop fault of a value holding its own tag included), the
// filter text builders and applying them, and the search hint.

#include "components/grid/rdbtool.h"
#include "platform/database/ClientDataSet.h"
#include "platform/database/DataSource.h"
#include "platform/database/FilterExpr.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

class RdbToolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitParioComp();
        d = std::make_unique<TClientDataSet>();
        d->AddField(QStringLiteral("ID"), ftInteger);
        d->AddField(QStringLiteral("NAME"), ftWideString, 30);
        d->AddField(QStringLiteral("FIRST_NAME"), ftWideString, 30);
        d->AddField(QStringLiteral("SECS"), ftFloat);
        d->AddField(QStringLiteral("BORN"), ftDate);
        d->AddField(QStringLiteral("OK"), ftBoolean);
        d->AddField(QStringLiteral("NOTE"), ftWideMemo);
        d->AddField(QStringLiteral("PIC"), ftGraphic);
        d->AddField(QStringLiteral("START"), ftTime);
        d->SetKeyFields(QStringLiteral("ID"));
        d->CreateDataSet();
        Add(1, QStringLiteral("Alexander"), 12.5);
        Add(2, QStringLiteral("Bob"), 20);
        Add(3, QStringLiteral("O'Neil"), 31);
        Add(4, QStringLiteral("<<NAME>> and <<#13>>"), 40);
        Add(5, QStringLiteral("Eve"), 50);
        d->First();
        modalHook = SetModalHook([this](TCustomForm*) {
            ++errorBoxes;
            return 1;
        });
    }
    void TearDown() override { SetModalHook(modalHook); }
    void Add(int Id, const QString& Name, double Secs)
    {
        d->Append();
        d->FieldByName(QStringLiteral("ID"))->SetAsInteger(Id);
        d->FieldByName(QStringLiteral("NAME"))->SetAsString(Name);
        d->FieldByName(QStringLiteral("SECS"))->SetAsFloat(Secs);
        d->FieldByName(QStringLiteral("BORN"))->SetAsDateTime(EncodeDate(2024, 12, 31));
        d->Post();
    }
    TField* F(const char* n) { return d->FieldByName(QString::fromLatin1(n)); }
    std::unique_ptr<TClientDataSet> d;
    TModalHook modalHook;
    int errorBoxes = 0;
};

TEST_F(RdbToolTest, FieldKinds)
{
    EXPECT_TRUE(IsSimpleField(F("NAME")));
    EXPECT_TRUE(IsApostrField(F("NAME")));
    EXPECT_FALSE(IsApostrField(F("SECS")));
    EXPECT_TRUE(IsMemoField(F("NOTE")));
    EXPECT_FALSE(IsSimpleField(F("NOTE")));
    EXPECT_TRUE(IsGraphicField(F("PIC")));
    EXPECT_FALSE(IsMemoField(F("PIC")));
    EXPECT_TRUE(IsDateField(F("BORN")));
    EXPECT_TRUE(IsTimeField(F("START")));
    EXPECT_FALSE(IsDateField(F("START")));
    EXPECT_TRUE(IsDateTimeField(F("START")));
    EXPECT_FALSE(IsSimpleField(nullptr));
    EXPECT_TRUE(IsDataField(F("ID")));
    auto* ok = dynamic_cast<TBooleanField*>(F("OK"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(GetBooleanFieldTextValue(ok, true), QStringLiteral("True"));
    ok->DisplayValues = QStringLiteral("K;E");
    EXPECT_EQ(GetBooleanFieldTextValue(ok, true), QStringLiteral("K"));
    EXPECT_EQ(GetBooleanFieldTextValue(ok, false), QStringLiteral("E"));
    EXPECT_TRUE(GetBooleanFieldState(ok, QStringLiteral("k")));
    EXPECT_EQ(GetBooleanFieldTextValue(F("NAME"), true), QString());
}

// The narrow whole numbers and the extended float a client dataset can carry
// are simple fields, filtered as unquoted numbers.
TEST(RdbToolNarrowKindsTest, SimpleNumericFields)
{
    TClientDataSet d;
    for (TFieldType t : {ftLongWord, ftShortint, ftByte, ftExtended})
        d.AddField(QStringLiteral("F%1").arg(int(t)), t);
    d.CreateDataSet();
    for (int i = 0; i < d.Fields().Count(); ++i) {
        TField* f = d.Fields()[i];
        SCOPED_TRACE(f->FieldName().toStdString());
        EXPECT_TRUE(InSimpleFldSet(f->DataType()));
        EXPECT_TRUE(IsSimpleField(f));
        EXPECT_FALSE(IsApostrField(f));
        EXPECT_EQ(GetFilterCond(f, QStringLiteral("12"), false, QString()), QStringLiteral("(%1 = 12)").arg(f->FieldName()));
    }
}

// A plain blob holds a picture only when flagged as starting with a picture
// header; a memo never does.
TEST(RdbToolGraphicTest, BlobWithGraphicHeaderIsGraphic)
{
    bool& blobAsMemo = ParioCompConfig.rDBToolCfg.BlobField_ftBlobAsMemo;
    const bool saved = blobAsMemo;
    blobAsMemo = false;
    TBlobField blob;
    EXPECT_FALSE(IsGraphicField(&blob));
    blob.SetGraphicHeader(true);
    EXPECT_TRUE(IsGraphicField(&blob));
    TMemoField memo;
    memo.SetGraphicHeader(true);
    EXPECT_FALSE(IsGraphicField(&memo));
    blobAsMemo = saved;
}

TEST_F(RdbToolTest, FieldListsOfDatasetAndGrid)
{
    EXPECT_FALSE(HasFldDef(GetFldDefs(true, true, true, true, true, true, true), fdGetIndex));
    TStringList l;
    EXPECT_EQ(GetFldList(d.get(), &l, GetFldDefs(false, false, true, false, false, false, false)), 7);
    EXPECT_EQ(l[0], QStringLiteral("ID"));
    EXPECT_EQ(GetFldList(d.get(), &l, GetFldDefs(false, false, false, true, true, false, false)), 2);
    EXPECT_EQ(l[0], QStringLiteral("NOTE"));
    // An unsupported object leaves the list alone.
    TDataSource src;
    EXPECT_EQ(GetFldList(&src, &l, FldDef(fdAllField)), 0);
    EXPECT_EQ(l.Count(), 2);

    src.SetDataSet(d.get());
    TForm form(nullptr);
    auto* g = new TDBGrid(&form);
    g->SetParent(&form);
    g->SetDataSource(&src);
    g->Columns()->Clear();
    for (const char* n : {"ID", "NAME", "SECS", "BORN"})
        g->Columns()->Add()->SetFieldName(QString::fromLatin1(n));
    g->Columns()->Items(1)->SetVisible(false);
    g->Columns()->Items(2)->Title()->SetCaption(QStringLiteral("Seconds"));
    EXPECT_EQ(GetFldList(g, &l, FldDef(fdGetIndex) | FldDef(fdVisibleFieldOnly) | FldDef(fdAllField)), 3);
    EXPECT_EQ(l.Text(), QStringLiteral("0\r\n2\r\n3\r\n"));
    EXPECT_EQ(GetFldList(g, &l, FldDef(fdGetLabels) | FldDef(fdAllField)), 4);
    EXPECT_EQ(l[2], QStringLiteral("Seconds"));
    EXPECT_EQ(GetDataSet(g), d.get());
    EXPECT_EQ(GetDataSet(&src), d.get());
    EXPECT_FALSE(IsEditing(g));
    d->Edit();
    EXPECT_TRUE(IsEditing(g));
    d->Cancel();
}

TEST_F(RdbToolTest, ScanAllRecordsCallsBackAndRestores)
{
    ASSERT_TRUE(d->Locate(QStringLiteral("ID"), 2));
    int scrolls = 0;
    d->AfterScroll = [&](TDataSet*) { ++scrolls; };
    std::vector<int> seen;
    const bool done = ScanAllRecords(
        d.get(), [&](TDataSet* D, int RecIndex, bool& Abort) {
            seen.push_back(RecIndex);
            EXPECT_EQ(D->FieldByName(QStringLiteral("ID"))->AsInteger(), RecIndex);
            Abort = RecIndex == 3;
        },
        true, true, true);
    EXPECT_FALSE(done);
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(d->FieldByName(QStringLiteral("ID"))->AsInteger(), 2) << "back on the record it started on";
    EXPECT_EQ(scrolls, 0) << "scroll handlers were detached";
    EXPECT_TRUE(bool(d->AfterScroll)) << "and put back";
    EXPECT_FALSE(d->ControlsDisabled());

    // A failing callback still restores everything before the error passes.
    EXPECT_THROW(ScanAllRecords(
                     d.get(), [](TDataSet*, int, bool&) { throw Exception(QStringLiteral("boom")); }, true, true, true),
                 Exception);
    EXPECT_FALSE(d->ControlsDisabled());
    EXPECT_TRUE(bool(d->AfterScroll));
    EXPECT_TRUE(ScanAllRecords(nullptr, nullptr, true, true, true));
    int n = 0;
    EXPECT_TRUE(ScanAllRecords(d.get(), [&](TDataSet*, int, bool&) { ++n; }, false, false, false));
    EXPECT_EQ(n, 5);

    TStringList names;
    EXPECT_EQ(LoadRecordList(F("NAME"), F("ID"), &names), 5);
    EXPECT_EQ(names[1], QStringLiteral("Bob"));
    EXPECT_EQ(reinterpret_cast<intptr_t>(names.Objects(1)), 2);
}

TEST_F(RdbToolTest, LocateRecord)
{
    EXPECT_TRUE(LocateRecord(F("NAME"), QStringLiteral("bob"), false));
    EXPECT_EQ(F("ID")->AsInteger(), 2);
    EXPECT_FALSE(LocateRecord(F("NAME"), QStringLiteral("eve"), true));
    EXPECT_TRUE(LocateRecord(F("ID"), 5, true));
    EXPECT_EQ(F("NAME")->AsString(), QStringLiteral("Eve"));
    EXPECT_FALSE(LocateRecord(F("ID"), QVariant(), true));
    EXPECT_FALSE(LocateRecord(nullptr, 1, true));
}

TEST_F(RdbToolTest, FillTextMask)
{
    struct Case {
        int Id;
        const char* Mask;
        const char* Expected;
    };
    const Case cases[] = {
        {1, "<<NAME:T5>>", "Alexa"},
        {2, "[<<NAME:R8>>]", "[     Bob]"},
        {2, "[<<NAME:C7>>]", "[  Bob  ]"},
        {2, "[<<NAME:6>>]", "[Bob   ]"},
        {1, "[<<NAME:3>>]", "[Alexander]"},
        {2, "<<X>>", "?X?"},
        {2, "a<<#13>>b<<#crlf>>c", "a\rb\r\nc"},
        {2, "<<#what>>", "?#what?"},
        {1, "<<#StrPart(NAME,2,3)>>", "lex"},
        {1, "<<#StrPart(NAME,x,d)>>", "xan"},
        {2, "<<name>> <<NAME>>", "Bob Bob"},
        {2, "<<>> <<NAME>>", "<<>> <<NAME>>"},
        // Past an empty tag, only tags already met are replaced.
        {2, "<<NAME>><<>><<name>> <<X>>", "Bob<<>>Bob <<X>>"},
        {2, "<<NAME", "<<NAME"},
        // A value that holds its own tag is not expanded again.
        {4, "<<NAME>>!", "<<NAME>> and <<#13>>!"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(d->Locate(QStringLiteral("ID"), c.Id));
        EXPECT_EQ(FillTextMask(QString::fromLatin1(c.Mask), d.get()), QString::fromLatin1(c.Expected)) << c.Mask;
    }
    EXPECT_EQ(FillTextMask(QStringLiteral("<<X:R5>> <<NAME>>"), d.get(), QStringLiteral("<<"), QStringLiteral(">>"), QString(), true),
              QStringLiteral("<<X>> <<NAME>> and <<#13>>"));
    EXPECT_EQ(FillTextMask(QStringLiteral("<<START>>|"), d.get(), QStringLiteral("<<"), QStringLiteral(">>"), QStringLiteral("-")),
              QStringLiteral("-|"));
    d->Close();
    EXPECT_EQ(FillTextMask(QStringLiteral("<<NAME>>"), d.get()), QString());
    EXPECT_EQ(FillTextMask(QStringLiteral("<<NAME>>"), nullptr), QString());
}

TEST_F(RdbToolTest, FilterTextBuilders)
{
    // The in-memory dataset counts as a client dataset: memo fields use LIKE
    // and null tests IS / IS NOT.
    EXPECT_EQ(GetFilterCond(F("NAME"), QStringLiteral("abc"), false, QString()), QStringLiteral("(NAME = 'abc')"));
    EXPECT_EQ(GetFilterCond(F("NAME"), QStringLiteral("O'Neil"), false, QString()), QStringLiteral("(NAME = 'O''Neil')"));
    EXPECT_EQ(GetFilterCond(F("NAME"), QStringLiteral("a''b"), false, QString()), QStringLiteral("(NAME = 'a''''b')"));
    EXPECT_EQ(GetFilterCond(F("NAME"), QStringLiteral("ab*"), false, QStringLiteral("LIKE")), QStringLiteral("(NAME LIKE 'ab*')"));
    EXPECT_EQ(GetFilterCond(F("SECS"), QStringLiteral("12,5"), false, QString()), QStringLiteral("(SECS = 12.5)"));
    EXPECT_EQ(GetFilterCond(F("OK"), QStringLiteral("1"), false, QString()), QStringLiteral("(OK = true)"));
    EXPECT_EQ(GetFilterCond(F("OK"), QStringLiteral("no"), false, QString()), QStringLiteral("(OK = false)"));
    EXPECT_EQ(GetFilterCond(F("BORN"), QStringLiteral("31.12.2024"), false, QString()), QStringLiteral("(BORN = '31.12.2024')"));
    EXPECT_EQ(GetFilterCond(F("NOTE"), QStringLiteral("abc"), false, QString()), QStringLiteral("(NOTE LIKE 'abc')"));
    EXPECT_EQ(GetFilterCond(F("NAME"), QString(), true, QString()), QStringLiteral("(NAME IS  NULL )"));
    EXPECT_EQ(GetFilterCondEx(F("NAME"), QString(), false, true, QString()), QStringLiteral("(NAME IS NOT  NULL )"));
    EXPECT_EQ(GetFilterCond(F("FIRST_NAME"), QStringLiteral("x"), false, QString()), QStringLiteral("([FIRST_NAME] = 'x')"));
    EXPECT_EQ(GetFilterCond(F("PIC"), QStringLiteral("x"), false, QString()), QString());
    EXPECT_EQ(GetQuotedFieldName(QStringLiteral("FIRST NAME")), QStringLiteral("[FIRST NAME]"));
    EXPECT_EQ(GetQuotedFieldName(QStringLiteral("SELECT")), QStringLiteral("[SELECT]"));
    EXPECT_EQ(GetQuotedFieldName(QStringLiteral("NAME")), QStringLiteral("NAME"));
    EXPECT_EQ(GetFilterNullEqualStr(nullptr), QStringLiteral("="));
    EXPECT_EQ(GetFilterNotNullEqualStr(nullptr), QStringLiteral("<>"));
    EXPECT_EQ(GetFilterWildCardChar(nullptr, false), QLatin1Char('*'));
    EXPECT_EQ(GetFilterWildCardChar(d.get(), false), QLatin1Char('%'));
    EXPECT_EQ(GetNumericFieldFilterValue(12.5), QStringLiteral("12.5"));
    EXPECT_EQ(MakeFilterCond(QStringLiteral("NAME"), QStringLiteral("="), QStringLiteral("NULL"), QStringLiteral(" ")),
              QStringLiteral("(NAME =  NULL )"));
    EXPECT_EQ(MakeFilterBetweenCond(QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("2"), QString()),
              QStringLiteral("(A>=1) AND (A<=2)"));
    EXPECT_EQ(MakeSQLCondAND({QStringLiteral("A=1"), QString(), QStringLiteral("(B=2)")}), QStringLiteral("(A=1) AND (B=2)"));
    EXPECT_EQ(MakeSQLCondOR({QStringLiteral("(X) OR (Y)"), QStringLiteral("Z")}), QStringLiteral("((X) OR (Y)) OR (Z)"));
    EXPECT_EQ(MakeSQLCondAND({QString(), QString()}), QString());
}

TEST_F(RdbToolTest, ApplyingFilters)
{
    ASSERT_TRUE(d->Locate(QStringLiteral("ID"), 3));
    EXPECT_TRUE(SetFilterString(d.get(), QStringLiteral("(SECS >= 20)"), true));
    EXPECT_TRUE(d->Filtered());
    EXPECT_EQ(d->RecordCount(), 4);
    EXPECT_EQ(F("ID")->AsInteger(), 3) << "the current record is kept";
    // Blanks only: filtering off, the old text stays.
    EXPECT_TRUE(SetFilterString(d.get(), QStringLiteral("   "), true));
    EXPECT_FALSE(d->Filtered());
    EXPECT_EQ(d->Filter(), QStringLiteral("(SECS >= 20)"));
    // A rejected expression: false and the error box.
    EXPECT_FALSE(SetFilterString(d.get(), QStringLiteral("(SECS >= )"), true));
    EXPECT_EQ(errorBoxes, 1);
    EXPECT_FALSE(SetFilterString(d.get(), QStringLiteral("(NOPE = 1)"), false));
    EXPECT_EQ(errorBoxes, 1);
    // Filter by the current value, joined with the present filter.
    d->SetFiltered(false);
    SetFilterString(d.get(), QStringLiteral("(SECS > 15)"), true);
    ASSERT_TRUE(d->Locate(QStringLiteral("ID"), 2));
    EXPECT_TRUE(FilterByField(F("BORN"), fjAnd));
    EXPECT_EQ(d->Filter(), QStringLiteral("((SECS > 15)) AND (BORN = '31.12.2024')"));
    EXPECT_EQ(d->RecordCount(), 4);
    EXPECT_TRUE(FilterByField(F("NAME"), fjNone));
    EXPECT_EQ(d->Filter(), QStringLiteral("(NAME = 'Bob')"));
    EXPECT_EQ(d->RecordCount(), 1);
    ClearFilter(d.get());
    EXPECT_FALSE(d->Filtered());
    EXPECT_EQ(d->RecordCount(), 5);
}

TEST_F(RdbToolTest, SearchHint)
{
    EXPECT_EQ(GetSearchHintText(QStringLiteral("Smi"), QStringLiteral("x"), stFindFirst, false, true, false),
              QStringLiteral("Smi (Smix not found)\r\n* Ctrl+Right to filter"));
    EXPECT_EQ(GetSearchHintText(QStringLiteral("Smi"), QString(), stFindNext, true, true, true),
              QStringLiteral("Smi >>\r\n* Filtered, Ctrl+Left to reset"));
    EXPECT_EQ(GetSearchHintText(QStringLiteral("Smi"), QString(), stFindPrev, false, false, false), QStringLiteral("<< Smi (not found)"));
    EXPECT_EQ(GetSearchHintText(QString(), QString(), stFindFirst, true, true, false), QString());
}

}  // namespace
