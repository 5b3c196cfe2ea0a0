// The filter language on an in-memory dataset and on a Firebird query: each
// expression of the table must show exactly the expected rows on both.

#include "platform/database/FilterExpr.h"
#include "tests/grid/FilterDataFixture.h"

#include <gtest/gtest.h>

namespace {

struct FilterCase {
    const char16_t* Expr;
    std::set<int> Ids;
    bool CaseInsensitive = false;
};

const FilterCase kCases[] = {
    {u"(NAME = 'Aalto')", {1}},
    {u"(NAME = 'Aalto')", {1, 4}, true},
    {u"(NAME = 'O''Neil')", {3}},
    {u"(NAME <> 'Aalto')", {2, 3, 4, 5}},
    {u"(NAME LIKE 'aa*')", {4}},
    {u"(NAME LIKE 'aa*')", {1, 4}, true},
    {u"(NAME LIKE '%al%')", {1, 4}},
    {u"(NAME LIKE 'B_ck')", {2}},
    {u"(NAME LIKE '*N*')", {3}},
    {u"(NAME NOT LIKE 'A*')", {2, 3, 4, 5}},
    {u"(NAME = 'Aa*')", {1}},
    {u"(CLUB =  NULL )", {3}},
    {u"(CLUB <>  NULL )", {1, 2, 4, 5}},
    {u"(CLUB IS  NULL )", {3}},
    {u"(CLUB IS NOT  NULL )", {1, 2, 4, 5}},
    {u"(SECS >= 3000)", {1, 2, 5}},
    {u"(SECS = 2500.25)", {3}},
    {u"(SECS < 3600.5) AND (CLUB = 'Kiito')", {5}},
    {u"(CLUB = 'Rasti') OR (NAME = 'B\u00e4ck')", {1, 2, 4}},
    {u"NOT (CLUB = 'Rasti')", {2, 3, 5}},
    {u"(BORN = '31.12.1999')", {5}},
    {u"(BORN < '1.1.1990')", {2}},
    {u"(BORN >= '2001-01-01')", {4}},
    {u"(OK = true)", {1, 4}},
    {u"(OK = false)", {2, 5}},
    {u"([FIRST_NAME] = 'Anna')", {1}},
    {u"(first_name = 'anna')", {4}},
    {u"((CLUB = 'Kiito') AND ((SECS > 3500) OR (NAME LIKE '\u00d6*')))", {2, 5}},
    {u"(ID >= 2) AND (ID <= 4)", {2, 3, 4}},
    {u"(ID>=2)AND(ID<=4)", {2, 3, 4}},
    {u"(3 < ID)", {4, 5}},
    {u"(ID = -1)", {}},
    {u"(NAME = '\u00f6hman')", {5}, true},
};

class FilterLanguage : public ::testing::TestWithParam<TRunnerSource> {};

TEST_P(FilterLanguage, EachExpressionShowsItsRows)
{
    RunnerData data(GetParam());
    TDataSet& d = data.DataSet();
    for (const FilterCase& c : kCases) {
        const QString expr = QString::fromUtf16(c.Expr);
        d.SetFilterOptions(c.CaseInsensitive ? foCaseInsensitive : 0);
        d.SetFilter(expr);
        d.SetFiltered(true);
        EXPECT_EQ(data.IdSet(), c.Ids) << expr.toStdString() << (c.CaseInsensitive ? " (ignoring case)" : "");
        EXPECT_EQ(d.RecordCount(), int(c.Ids.size())) << expr.toStdString();
        d.SetFiltered(false);
    }
    EXPECT_EQ(d.RecordCount(), 5);
}

TEST_P(FilterLanguage, BadExpressionsAreRefusedWhenAssigned)
{
    RunnerData data(GetParam());
    TDataSet& d = data.DataSet();
    d.SetFilter(QStringLiteral("(ID = 1)"));
    d.SetFiltered(true);
    const char* bad[] = {"(NAME = 'abc'", "(NOSUCH = 1)", "(SECS = 'abc')", "(NAME =)", "(NAME = 'x') AND", "(NAME ! 'x')",
                         "(NAME = 'unclosed)", "(BORN = 'not a date')", "(CLUB < NULL)", ""};
    for (const char* b : bad) {
        if (!*b)
            continue;
        EXPECT_THROW(d.SetFilter(QString::fromLatin1(b)), EDatabaseError) << b;
    }
    // The last good filter still works.
    d.SetFilter(QStringLiteral("(ID = 2)"));
    EXPECT_EQ(data.IdSet(), std::set<int>{2});
}

// Hostile texts must not run the stack out: deep nesting is refused with a
// syntax error, and long chains of AND and OR are parsed and evaluated.
TEST(FilterDepth, DeepNestingIsRefusedAndLongChainsWork)
{
    RunnerData data(TRunnerSource::Memory);
    TDataSet& d = data.DataSet();
    d.SetFiltered(true);
    const int n = 100000;
    const QString nots = QString("NOT ").repeated(n) + "(ID = 1)";
    const QString parens = QString("(").repeated(n) + "ID = 1" + QString(")").repeated(n);
    for (const QString& deep : {nots, parens}) {
        try {
            d.SetFilter(deep);
            ADD_FAILURE() << "accepted " << deep.left(20).toStdString();
        } catch (const EDatabaseError& e) {
            EXPECT_TRUE(e.Message().contains("nested")) << e.Message().toStdString();
        }
    }
    // The nesting the library's own features write still works.
    d.SetFilter(QString("NOT ").repeated(100) + "(ID = 1)");
    EXPECT_EQ(data.IdSet(), std::set<int>{1});  // an even number of NOTs
    d.SetFilter(QString("(").repeated(150) + "ID = 2" + QString(")").repeated(150));
    EXPECT_EQ(data.IdSet(), std::set<int>{2});

    QStringList terms;
    for (int i = 0; i < 300000; ++i)
        terms << "(ID > 1)";
    d.SetFilter(terms.join(" AND ") + " AND (ID < 3)");
    EXPECT_EQ(data.IdSet(), std::set<int>{2});
    terms.clear();
    for (int i = 0; i < 100000; ++i)
        terms << "(ID = 9)";
    d.SetFilter(terms.join(" OR ") + " OR (ID = 4)");
    EXPECT_EQ(data.IdSet(), std::set<int>{4});
}

TEST_P(FilterLanguage, BookmarkSurvivesFilterToggling)
{
    RunnerData data(GetParam());
    TDataSet& d = data.DataSet();
    ASSERT_TRUE(d.Locate(QStringLiteral("ID"), 4));
    const TBookmark b = d.GetBookmark();
    d.SetFilter(QStringLiteral("(CLUB = 'Rasti')"));
    d.SetFiltered(true);
    EXPECT_EQ(d.FieldByName(QStringLiteral("ID"))->AsInteger(), 4);
    EXPECT_TRUE(d.BookmarkValid(b));
    d.SetFilter(QStringLiteral("(CLUB = 'Kiito')"));
    EXPECT_FALSE(d.BookmarkValid(b));
    d.SetFiltered(false);
    ASSERT_TRUE(d.BookmarkValid(b));
    d.GotoBookmark(b);
    EXPECT_EQ(d.FieldByName(QStringLiteral("ID"))->AsInteger(), 4);
}

TEST_P(FilterLanguage, LocateHonoursCaseAndPartialKeyOptions)
{
    RunnerData data(GetParam());
    TDataSet& d = data.DataSet();
    EXPECT_FALSE(d.Locate(QStringLiteral("NAME"), QStringLiteral("\u00f6hman")));
    EXPECT_TRUE(d.Locate(QStringLiteral("NAME"), QStringLiteral("\u00f6hman"), loCaseInsensitive));
    EXPECT_EQ(d.FieldByName(QStringLiteral("ID"))->AsInteger(), 5);
    EXPECT_TRUE(d.Locate(QStringLiteral("NAME"), QStringLiteral("O'N"), loPartialKey));
    EXPECT_EQ(d.FieldByName(QStringLiteral("ID"))->AsInteger(), 3);
    EXPECT_FALSE(d.Locate(QStringLiteral("NAME"), QStringLiteral("O'N")));
}

TEST_P(FilterLanguage, IndexesReorderAndSurviveRequery)
{
    RunnerData data(GetParam());
    TDataSet& d = data.DataSet();
    d.AddIndex(QStringLiteral("byName"), QStringLiteral("NAME"));
    d.AddIndex(QStringLiteral("bySecs"), QStringLiteral("SECS"), QStringLiteral("SECS"));
    d.AddIndex(QStringLiteral("byClubName"), QStringLiteral("CLUB;NAME"), QString(), true);
    ASSERT_TRUE(d.Locate(QStringLiteral("ID"), 3));
    d.SetIndexName(QStringLiteral("byName"));
    // Finnish order: upper case before lower case only as a tie-break, and
    // the letters with dots after z.
    EXPECT_EQ(data.Ids(), (std::vector<int>{1, 4, 2, 3, 5}));
    EXPECT_EQ(d.FieldByName(QStringLiteral("ID"))->AsInteger(), 3) << "the current row is kept";
    d.SetIndexName(QStringLiteral("bySecs"));
    EXPECT_EQ(data.Ids(), (std::vector<int>{2, 1, 5, 3, 4})) << "descending, the null last";
    d.SetIndexName(QStringLiteral("byClubName"));
    EXPECT_EQ(data.Ids()[0], 3) << "null club first";
    EXPECT_EQ(data.Ids(), (std::vector<int>{3, 2, 5, 1, 4}));

    d.SetIndexName(QStringLiteral("byName"));
    ASSERT_TRUE(d.Locate(QStringLiteral("ID"), 2));
    if (GetParam() == TRunnerSource::Firebird) {
        // An in-memory table has no rows after closing; a query reads them again.
        const TBookmark b = d.GetBookmark();
        d.Close();
        d.Open();
        EXPECT_EQ(d.IndexName(), QStringLiteral("byName"));
        EXPECT_EQ(data.Ids(), (std::vector<int>{1, 4, 2, 3, 5}));
        ASSERT_TRUE(d.BookmarkValid(b));
        d.GotoBookmark(b);
        EXPECT_EQ(d.FieldByName(QStringLiteral("ID"))->AsInteger(), 2);
        EXPECT_EQ(d.RecNo(), 3);
        d.Refresh();
        EXPECT_EQ(d.FieldByName(QStringLiteral("ID"))->AsInteger(), 2) << "a refresh keeps the row";
    }

    // A filter and an index together; clearing the index gives the natural order.
    d.SetFilter(QStringLiteral("(SECS <> NULL)"));
    d.SetFiltered(true);
    EXPECT_EQ(data.Ids(), (std::vector<int>{1, 2, 3, 5}));
    d.SetIndexName(QString());
    d.SetFiltered(false);
    EXPECT_EQ(data.Ids(), (std::vector<int>{1, 2, 3, 4, 5}));
}

INSTANTIATE_TEST_SUITE_P(BothSources, FilterLanguage, ::testing::Values(TRunnerSource::Memory, TRunnerSource::Firebird),
                         [](const auto& info) { return info.param == TRunnerSource::Memory ? std::string("Memory") : std::string("Firebird"); });

TEST(FilterLike, Wildcards)
{
    EXPECT_TRUE(FilterLikeMatch(QStringLiteral("Smith"), QStringLiteral("S*h"), false));
    EXPECT_TRUE(FilterLikeMatch(QStringLiteral("Smith"), QStringLiteral("%it%"), false));
    EXPECT_TRUE(FilterLikeMatch(QStringLiteral("Smith"), QStringLiteral("Sm_th"), false));
    EXPECT_FALSE(FilterLikeMatch(QStringLiteral("Smith"), QStringLiteral("Sm_h"), false));
    EXPECT_TRUE(FilterLikeMatch(QStringLiteral("aXbXc"), QStringLiteral("*X*X*"), false));
    EXPECT_FALSE(FilterLikeMatch(QStringLiteral("SMITH"), QStringLiteral("smith"), false));
    EXPECT_TRUE(FilterLikeMatch(QStringLiteral("SMITH"), QStringLiteral("smith"), true));
    EXPECT_TRUE(FilterLikeMatch(QString(), QStringLiteral("*"), false));
    EXPECT_FALSE(FilterLikeMatch(QString(), QStringLiteral("_"), false));
}

}  // namespace
