#include "tests/grid/FilterDataFixture.h"

#include "platform/database/FbScript.h"
#include "platform/rtl/DateUtils.h"
#include "tests/support/TestDatabase.h"

namespace {

struct Runner {
    int Id;
    const char16_t* Name;
    const char16_t* Club;  // nullptr: null
    double Secs;           // < 0: null
    int Year, Month, Day;  // Year 0: null
    int Ok;                // -1: null
    const char16_t* FirstName;
};

const Runner kRunners[] = {
    {1, u"Aalto", u"Rasti", 3600.5, 1990, 5, 1, 1, u"Anna"},
    {2, u"B\u00e4ck", u"Kiito", 4000, 1985, 12, 31, 0, u"Olli"},
    {3, u"O'Neil", nullptr, 2500.25, 0, 0, 0, -1, u"Sean"},
    {4, u"aalto", u"Rasti", -1, 2001, 1, 1, 1, u"anna"},
    {5, u"\u00d6hman", u"Kiito", 3000, 1999, 12, 31, 0, u"Eero"},
};

void Fill(TDataSet& D, const Runner& R)
{
    D.Append();
    D.FieldByName(QStringLiteral("ID"))->SetAsInteger(R.Id);
    D.FieldByName(QStringLiteral("NAME"))->SetAsString(QString::fromUtf16(R.Name));
    if (R.Club)
        D.FieldByName(QStringLiteral("CLUB"))->SetAsString(QString::fromUtf16(R.Club));
    if (R.Secs >= 0)
        D.FieldByName(QStringLiteral("SECS"))->SetAsFloat(R.Secs);
    if (R.Year)
        D.FieldByName(QStringLiteral("BORN"))->SetAsDateTime(EncodeDate(R.Year, R.Month, R.Day));
    if (R.Ok >= 0)
        D.FieldByName(QStringLiteral("OK"))->SetAsBoolean(R.Ok == 1);
    D.FieldByName(QStringLiteral("FIRST_NAME"))->SetAsString(QString::fromUtf16(R.FirstName));
    D.Post();
}

}  // namespace

RunnerData::RunnerData(TRunnerSource Source)
{
    if (Source == TRunnerSource::Memory) {
        auto cds = std::make_unique<TClientDataSet>();
        cds->AddField(QStringLiteral("ID"), ftInteger);
        cds->AddField(QStringLiteral("NAME"), ftWideString, 40);
        cds->AddField(QStringLiteral("CLUB"), ftWideString, 20);
        cds->AddField(QStringLiteral("SECS"), ftFloat);
        cds->AddField(QStringLiteral("BORN"), ftDate);
        cds->AddField(QStringLiteral("OK"), ftBoolean);
        cds->AddField(QStringLiteral("FIRST_NAME"), ftWideString, 20);
        cds->SetKeyFields(QStringLiteral("ID"));
        cds->CreateDataSet();
        for (const Runner& r : kRunners)
            Fill(*cds, r);
        cds->First();
        FDataSet = std::move(cds);
        return;
    }
    FDb = std::make_unique<TestDatabase>(TestDatabase::Empty);
    FCon = std::make_unique<TFbConnection>();
    FCon->DatabaseName = FDb->Path();
    FCon->Open();
    {
        TFbScript s;
        s.Connection = FCon.get();
        s.AutoCommitDDL = true;
        s.ExecuteScript(QStringLiteral(
            "create table runner (id integer not null primary key, name varchar(40) not null, club varchar(20),\n"
            "  secs numeric(18,2), born date, ok boolean, first_name varchar(20));\n"
            "commit;\n"));
        if (FCon->DefaultTransaction()->Active())
            FCon->DefaultTransaction()->Commit();
    }
    FTr = std::make_unique<TFbTransaction>();
    FTr->SetConnection(FCon.get());
    auto q = std::make_unique<TFbQuery>();
    q->SetConnection(FCon.get());
    q->SetTransaction(FTr.get());
    q->SQL().Add(QStringLiteral("select * from runner order by id"));
    q->UpdateOptions().UpdateTableName = QStringLiteral("RUNNER");
    q->SetKeyFieldNames(QStringLiteral("ID"));
    q->Open();
    for (const Runner& r : kRunners)
        Fill(*q, r);
    FTr->Commit();
    q->Close();
    q->Open();
    FDataSet = std::move(q);
}

RunnerData::~RunnerData()
{
    FDataSet.reset();
    FTr.reset();
    FCon.reset();
}

std::vector<int> RunnerData::Ids()
{
    std::vector<int> r;
    TDataSet& d = *FDataSet;
    const TBookmark b = d.GetBookmark();
    d.DisableControls();
    for (d.First(); !d.Eof(); d.Next())
        r.push_back(d.FieldByName(QStringLiteral("ID"))->AsInteger());
    if (d.BookmarkValid(b))
        d.GotoBookmark(b);
    d.EnableControls();
    return r;
}

std::set<int> RunnerData::IdSet()
{
    const auto v = Ids();
    return std::set<int>(v.begin(), v.end());
}
