#include "components/output/TSLKExport.h"
#include "components/output/TTXTExport.h"
#include "tests/output/ExportFixture.h"
#include "tests/output/ExportReaders.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

void Quiet(TExportEngine& E)
{
    E.ActionAfter = aaNone;
}

void SetDelimited(TTXTExport& T)
{
    Quiet(T);
    T.FieldSeparator = QStringLiteral(";");
    T.TextApostrophe = QStringLiteral("\"");
    T.FillChar = QChar();
}

}  // namespace

TEST(TextExport, DelimitedQuotesOnlyTextAndSkipsSeparatorAfterEmptyStart)
{
    TClientDataSet d;
    d.AddField(QStringLiteral("N"), ftInteger);
    d.AddField(QStringLiteral("S"), ftWideString, 10);
    d.AddField(QStringLiteral("I"), ftInteger);
    d.AddField(QStringLiteral("E"), ftWideString, 10);
    d.CreateDataSet();
    d.AppendRecord({QVariant(), QStringLiteral("ABC"), 12, QString()});
    TTXTExport t;
    SetDelimited(t);
    t.ExportFieldName = false;
    ASSERT_TRUE(t.Execute(&d));
    ASSERT_EQ(t.ExportResult.Count(), 1);
    // the null first value adds nothing, not even a separator
    EXPECT_EQ(t.ExportResult[0], QStringLiteral("\"ABC\";12;\"\""));
}

TEST(TextExport, AlignValueCutsFillsAndCentres)
{
    struct Case { QString v; int w; TFieldAlignment a; QString out; };
    const Case cases[] = {
        {QStringLiteral("Alexandra"), 6, TFieldAlignment::LeftJustify, QStringLiteral("Alex..")},
        {QStringLiteral("7"), 4, TFieldAlignment::RightJustify, QStringLiteral("   7")},
        {QStringLiteral("ab"), 7, TFieldAlignment::Center, QStringLiteral("  ab   ")},
        {QStringLiteral("ab"), 3, TFieldAlignment::LeftJustify, QStringLiteral("ab ")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TTXTExport::AlignValue(c.v, c.w, c.a, QLatin1Char(' ')), c.out) << c.v.toStdString();
    EXPECT_EQ(TTXTExport::AlignValue(QStringLiteral("Alexandra"), 6, TFieldAlignment::LeftJustify, QChar()), QStringLiteral("Alexandra"));
}

TEST(TextExport, AwkwardValuesComeBackWhole)
{
    auto d = MakeAwkwardTable();
    QTemporaryDir dir;
    TTXTExport t;
    SetDelimited(t);
    t.ExportMemoFields = true;
    t.MemoEOLString = QStringLiteral("\\n");
    t.ExportFile = dir.filePath(QStringLiteral("runs.txt"));
    ASSERT_TRUE(t.Execute(d.get()));
    const QByteArray bytes = ReadAll(t.ExportFile);
    ASSERT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    const auto rows = ParseDelimited(QString::fromUtf8(bytes));
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0], (QStringList{"ID", "Runner", "FEE", "STARTED", "NOTE"}));  // the hidden column stays out
    EXPECT_EQ(rows[1][1], QStringLiteral("a;b\"c"));
    EXPECT_EQ(QString(rows[1][2]).replace(QLatin1Char(','), QLatin1Char('.')), QStringLiteral("12.50"));
    EXPECT_EQ(rows[1][4], QStringLiteral("line one\\nline two"));
    EXPECT_EQ(rows[2][1], QStringLiteral("Hämäläinen Säde, Österberg"));
    EXPECT_EQ(rows[2][4], QString(300, QLatin1Char('m')));
}

TEST(TextExport, StructureOnlyAndAppendKeepingTheMark)
{
    auto d = MakeAwkwardTable();
    QTemporaryDir dir;
    const QString fn = dir.filePath(QStringLiteral("old.txt"));
    {
        QFile f(fn);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\xEF\xBB\xBFold line\r\n");
    }
    TTXTExport t;
    SetDelimited(t);
    t.ExportFieldName = false;
    t.ExportStructureOnly = true;
    t.ExportMemoFields = true;
    t.AppendToFile = true;
    t.ExportFile = fn;
    ASSERT_TRUE(t.Execute(d.get()));
    EXPECT_EQ(ReadAll(fn), QByteArray("\xEF\xBB\xBFold line\r\nID;Runner;FEE;STARTED;NOTE\r\n"));
}

TEST(SylkExport, EncodesTextNumbersBreaksAndLongValues)
{
    TSLKExport s;
    EXPECT_EQ(s.EncodeValue(QStringLiteral("a;b\"c"), false, true), QStringLiteral("\"a;;b\"c\""));
    EXPECT_EQ(s.EncodeValue(QStringLiteral("x\ny"), false, true), QStringLiteral("\"x") + QChar(27) + QStringLiteral(" :y\""));
    EXPECT_EQ(s.EncodeValue(QStringLiteral("1234,5"), true, false), QStringLiteral("1234.5"));
    EXPECT_EQ(s.EncodeValue(QString(300, QLatin1Char('m')), false, true),
              QLatin1Char('"') + QString(247, QLatin1Char('m')) + QStringLiteral("...\""));
    EXPECT_EQ(s.EncodeValue(QStringLiteral("12"), false, false), QStringLiteral("12"));
}

TEST(SylkExport, WritesPositionsPicturesSumsAndBoldRows)
{
    auto d = MakeAwkwardTable();
    QTemporaryDir dir;
    TSLKExport s;
    Quiet(s);
    s.MakeSumRow = true;
    s.Encoding = seWindows1252;
    s.ExportFile = dir.filePath(QStringLiteral("runs.slk"));
    ASSERT_TRUE(s.Execute(d.get()));
    const QByteArray bytes = ReadAll(s.ExportFile);
    EXPECT_TRUE(bytes.contains("H\xE4m\xE4l\xE4inen"));  // Windows-1252
    const QStringList lines = QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.first(), QStringLiteral("ID;PSLKExport"));
    EXPECT_TRUE(lines.contains(QStringLiteral("P;P0.00")));
    EXPECT_TRUE(lines.contains(QStringLiteral("F;P1;X4")));
    EXPECT_TRUE(lines.contains(QStringLiteral("C;K45366")));
    EXPECT_TRUE(lines.contains(QStringLiteral("F;P5;X3")));
    EXPECT_TRUE(lines.contains(QStringLiteral("C;K12.5")));
    EXPECT_TRUE(lines.contains(QStringLiteral("C;X1;K3;ESUM(R2C:R4C)")));
    EXPECT_TRUE(lines.contains(QStringLiteral("F;R1;SM1")));
    EXPECT_TRUE(lines.contains(QStringLiteral("F;R5;SM1")));
    EXPECT_EQ(lines.at(lines.size() - 2), QStringLiteral("E"));
    const auto rows = SheetRows(ParseSylk(bytes));
    ASSERT_EQ(rows.size(), 5);
    EXPECT_EQ(rows[1][1], QStringLiteral("a;b\"c"));
    EXPECT_EQ(rows[1][4], QStringLiteral("line one\nline two"));
    EXPECT_EQ(rows[3], (QStringList{"", "", "", "", ""}));  // nulls leave their cells empty
    EXPECT_EQ(rows[4][1], QStringLiteral("Sum:"));
    EXPECT_EQ(rows[4][2], QStringLiteral("=SUM(R2C:R4C)"));
}

TEST(SylkExport, NilFontDropsFontTableAndBoldRows)
{
    auto d = MakeAwkwardTable();
    QTemporaryDir dir;
    TSLKExport s;
    Quiet(s);
    s.SetFontName = QStringLiteral("nil");
    s.MakeSumRow = true;
    s.ExportFile = dir.filePath(QStringLiteral("runs.slk"));
    ASSERT_TRUE(s.Execute(d.get()));
    const QByteArray bytes = ReadAll(s.ExportFile);
    EXPECT_FALSE(bytes.contains("P;F"));
    EXPECT_FALSE(bytes.contains("F;R"));
}

// ---- the rules every exporter shares, as a table ----

struct TRuleCase {
    const char* Name;
    std::function<void(TExportEngine&, TExportGrid&)> Setup;
    QStringList Titles;
    QStringList FirstColumn;  // IDs of the exported rows
};

QList<QStringList> RunRule(const TRuleCase& C, const char* Kind)
{
    auto d = MakeAwkwardTable();
    TExportGrid g(d.get());
    QTemporaryDir dir;
    QList<QStringList> rows;
    if (QByteArray(Kind) == "txt") {
        TTXTExport t;
        SetDelimited(t);
        t.ExportMemoFields = true;
        t.ExportFile = dir.filePath(QStringLiteral("r.txt"));
        C.Setup(t, g);
        EXPECT_TRUE(t.Execute(g.Grid));
        rows = ParseDelimited(QString::fromUtf8(ReadAll(t.ExportFile)));
    } else {
        TSLKExport s;
        Quiet(s);
        s.ExportFile = dir.filePath(QStringLiteral("r.slk"));
        C.Setup(s, g);
        EXPECT_TRUE(s.Execute(g.Grid));
        rows = SheetRows(ParseSylk(ReadAll(s.ExportFile)));
    }
    return rows;
}

TEST(ExportRules, SharedAcrossTextAndSylk)
{
    const QStringList shown{"ID", "Runner", "FEE", "STARTED", "NOTE"};
    const TRuleCase cases[] = {
        {"visible columns", [](TExportEngine&, TExportGrid&) {}, shown, {"1", "2", ""}},
        {"hidden grid column", [](TExportEngine&, TExportGrid& g) { g.Grid->Columns()->Items(2)->SetVisible(false); },
         {"ID", "Runner", "STARTED", "NOTE"}, {"1", "2", ""}},
        {"all columns", [](TExportEngine& e, TExportGrid& g) { g.Grid->Columns()->Items(2)->SetVisible(false); e.ExportOnlyVisibleFields = false; },
         shown, {"1", "2", ""}},
        {"real names", [](TExportEngine& e, TExportGrid&) { e.RealFieldNamesAsTitle = true; },
         {"ID", "NAME", "FEE", "STARTED", "NOTE"}, {"1", "2", ""}},
        {"selected rows", [](TExportEngine& e, TExportGrid& g) { g.Select({2}); e.ExportOnlySelectedRows = true; }, shown, {"2"}},
        {"structure only", [](TExportEngine& e, TExportGrid&) { e.ExportFieldName = false; e.ExportStructureOnly = true; }, shown, {}},
    };
    for (const char* kind : {"txt", "slk"})
        for (const TRuleCase& c : cases) {
            SCOPED_TRACE(std::string(kind) + ": " + c.Name);
            const auto rows = RunRule(c, kind);
            ASSERT_FALSE(rows.isEmpty());
            QStringList titles = rows[0];
            while (titles.size() > c.Titles.size() && titles.last().isEmpty())
                titles.removeLast();
            EXPECT_EQ(titles, c.Titles);
            QStringList ids;
            for (int i = 1; i < rows.size(); ++i)
                ids << rows[i][0];
            EXPECT_EQ(ids, c.FirstColumn);
        }
}

TEST(ExportRules, AbortLeavesThePreviousFileAlone)
{
    auto d = MakeResultsTable(300);
    QTemporaryDir dir;
    const QString fn = dir.filePath(QStringLiteral("keep.txt"));
    for (int kind = 0; kind < 2; ++kind) {
        {
            QFile f(fn);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("previous");
        }
        std::unique_ptr<TExportEngine> e;
        if (kind == 0)
            e = std::make_unique<TTXTExport>();
        else
            e = std::make_unique<TSLKExport>();
        Quiet(*e);
        e->ExportFile = fn;
        int seen = 0;
        e->OnProgressEvent = [&](TComponent*, TExportProgressStage st, int, const QString&) {
            if (st == psRunning && ++seen == 50)
                e->DoAbort();
        };
        EXPECT_FALSE(e->Execute(d.get()));
        EXPECT_EQ(seen, 50);
        EXPECT_EQ(ReadAll(fn), QByteArray("previous"));
    }
}

TEST(SylkExport, SystemEncodingFollowsTheLocalesCharacterSet)
{
    const std::pair<const char*, TSLKEncoding> cases[] = {
        {"fi_FI.UTF-8", seUtf8}, {"C.utf8", seUtf8}, {"fi_FI.ISO-8859-15", seWindows1252}, {"C", seWindows1252}, {"", seWindows1252}};
    for (const auto& [locale, enc] : cases)
        EXPECT_EQ(TSLKExport::SystemEncoding(QString::fromLatin1(locale)), enc) << locale;
    EXPECT_EQ(TSLKExport::Encode(QStringLiteral("Ä€"), seUtf8), QByteArray("\xC3\x84\xE2\x82\xAC"));
    EXPECT_EQ(TSLKExport::Encode(QStringLiteral("Ä€"), seWindows1252), QByteArray("\xC4\x80"));
    // never a byte-order mark: the file must start with "ID;"
    EXPECT_TRUE(TSLKExport::Encode(QStringLiteral("ID;P"), seUtf8).startsWith("ID;"));
}

// A grouped data grid exports its columns captioned as it shows them: the
// master of a collapsed group under the group's title. Asked for indexes and
// labels at once, the grid answers indexes.
TEST(TextExport, AGroupedGridExportsTheTitlesItShows)
{
    auto d = MakeAwkwardTable();
    TExportGrid g(d.get());
    g.Grid->FieldsGroups.SetText(QStringLiteral("[1::Juoksija::clNone::clNone::<<NAME>>::0]\r\nNAME=M\r\nFEE=0\r\n"));
    g.Grid->OptionsEx2().Groups.Active = true;
    g.Grid->CollapseGroup(1);
    TStringList both, indexes;
    const TGetFldDefs simple = GetFldDefs(false, true, true, false, false, false, false);
    GetFldListrDBGrid(g.Grid, &both, TGetFldDefs(simple | FldDef(fdGetLabels) | FldDef(fdGetIndex)));
    GetFldListrDBGrid(g.Grid, &indexes, TGetFldDefs(simple | FldDef(fdGetIndex)));
    ASSERT_GT(indexes.Count(), 0);
    EXPECT_EQ(both.Text(), indexes.Text());
    TTXTExport t;
    SetDelimited(t);
    t.TextApostrophe.clear();
    ASSERT_TRUE(t.Execute(g.Grid));
    ASSERT_GE(t.ExportResult.Count(), 1);
    EXPECT_TRUE(t.ExportResult[0].split(QLatin1Char(';')).contains(QStringLiteral("Juoksija"))) << t.ExportResult[0].toStdString();
    EXPECT_FALSE(t.ExportResult[0].contains(QStringLiteral("Runner")));
}
