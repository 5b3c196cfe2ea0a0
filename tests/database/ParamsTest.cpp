// Named markers become positional ones; literals, quoted names and comments
// keep their colons.

#include "platform/database/Params.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* sql;
    const char* text;
    QStringList names;
};

TEST(NamedParams, MarkersBecomePositions)
{
    const Case cases[] = {
        {"select * from t where a = :A", "select * from t where a = ?", {"A"}},
        {"where a = :id and b = :ID", "where a = ? and b = ?", {"id", "ID"}},
        {"values (:NEW_X, :old_y)", "values (?, ?)", {"NEW_X", "old_y"}},
        {"where s = ':NOT' and \"C:X\" = 1", "where s = ':NOT' and \"C:X\" = 1", {}},
        {"where s = 'it''s :no' -- :no\n and a=:yes", "where s = 'it''s :no' -- :no\n and a=?", {"yes"}},
        {"/* :no */ select :a1_b$ from rdb$database", "/* :no */ select ? from rdb$database", {"a1_b$"}},
        {"select 1 from x where t = '12:30'", "select 1 from x where t = '12:30'", {}},
    };
    for (const Case& c : cases) {
        TParsedSQL p = ParseNamedParams(QString::fromUtf8(c.sql));
        EXPECT_EQ(p.Text, QString::fromUtf8(c.text)) << c.sql;
        EXPECT_EQ(p.Names, c.names) << c.sql;
    }
}

TEST(NamedParams, DistinctNamesIgnoreCase)
{
    EXPECT_EQ(DistinctParamNames({"A", "b", "a", "B", "c"}), QStringList({"A", "b", "c"}));
}

TEST(Params, KindsAndConversions)
{
    TParams ps;
    ps.Add(QStringLiteral("ID")).SetAsLargeInt(5000000000LL);
    ps.Add(QStringLiteral("Money")).SetAsCurrency(Currency::FromDouble(12.345));
    ps.Add(QStringLiteral("n"));
    EXPECT_EQ(ps.ParamByName(QStringLiteral("id")).AsLargeInt(), 5000000000LL);
    EXPECT_EQ(ps.ParamByName(QStringLiteral("MONEY")).AsString(), QStringLiteral("12.3450"));
    EXPECT_TRUE(ps.ParamByName(QStringLiteral("N")).IsNull());
    EXPECT_THROW(ps.ParamByName(QStringLiteral("missing")), EDatabaseError);
    ps.ParamByName(QStringLiteral("n")).SetValue(QVariant(QStringLiteral("x")));
    EXPECT_EQ(ps.ParamByName(QStringLiteral("n")).DataType(), ftWideString);
    ps.ParamByName(QStringLiteral("n")).Clear();
    EXPECT_TRUE(ps.ParamByName(QStringLiteral("n")).IsNull());
}

TEST(Params, RebuildKeepsValuesOfKeptNames)
{
    TParams ps;
    ps.Rebuild({"A", "B"});
    ps.ParamByName(QStringLiteral("B")).SetAsInteger(7);
    ps.Rebuild({"b", "C"});
    ASSERT_EQ(ps.Count(), 2);
    EXPECT_EQ(ps.ParamByName(QStringLiteral("B")).AsInteger(), 7);
    EXPECT_EQ(ps.FindParam(QStringLiteral("A")), nullptr);
}

}  // namespace
