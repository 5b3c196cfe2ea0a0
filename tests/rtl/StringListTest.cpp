#include "platform/rtl/Exception.h"
#include "platform/rtl/StringList.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(StringList, DelimitedAndCommaText)
{
    TStringList l;
    l.SetCommaText("a,\"b c\",,\"d\"\"e\"");
    ASSERT_EQ(l.Count(), 4);
    EXPECT_EQ(l[1], "b c");
    EXPECT_EQ(l[2], "");
    EXPECT_EQ(l[3], "d\"e");
    EXPECT_EQ(l.CommaText(), "a,\"b c\",,\"d\"\"e\"");

    TStringList s;
    s.Delimiter = ';';
    s.StrictDelimiter = true;
    s.SetDelimitedText("x y;;z;");
    EXPECT_EQ(s.ToQStringList(), QStringList({"x y", "", "z", ""}));
}

TEST(StringList, SortedFindValuesAndText)
{
    TStringList l;
    l.SetSorted(true);
    l.Add("b");
    l.Add("A");
    l.Add("c");
    l.Add("B");  // ignored duplicate: the list is case-insensitive
    EXPECT_EQ(l.ToQStringList(), QStringList({"A", "b", "c"}));
    EXPECT_EQ(l.IndexOf("C"), 2);
    EXPECT_THROW(l.Insert(0, "x"), EStringListError);
    EXPECT_THROW(l[5], EStringListError);

    TStringList v;
    v.SetText("k1=v1\r\nK2=v2\nlast");
    EXPECT_EQ(v.Values("k2"), "v2");
    v.SetValues("k1", "");
    EXPECT_EQ(v.Count(), 2);
    EXPECT_EQ(v.Text(), "K2=v2\r\nlast\r\n");
}

TEST(StringList, FilesAreUtf8AndOldFilesFallBackToWindows1252)
{
    QTemporaryDir dir;
    const QString name = dir.path() + "/l.txt";
    TStringList l;
    l.Add("Hämeenlinna");
    l.SaveToFile(name);
    TStringList r;
    r.LoadFromFile(name);
    EXPECT_EQ(r[0], "Hämeenlinna");

    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("H\xe4me\r\n");
    f.close();
    r.LoadFromFile(name);
    EXPECT_EQ(r[0], "Häme");
    EXPECT_THROW(r.LoadFromFile(dir.path() + "/missing"), EInOutError);
}

// Every change tells the owner once; a compound change (text, assignment,
// an update bracket) once at its end; a copy does not take the handler.
TEST(StringList, ChangeNotices)
{
    TStringList l;
    int changes = 0;
    l.OnChange = [&] { ++changes; };
    const struct {
        const char* What;
        std::function<void()> Do;
        int Expected;
    } cases[] = {
        {"add", [&] { l.Add("A=1"); }, 1},
        {"set value", [&] { l.SetValues("A", "2"); }, 1},
        {"set line", [&] { l.SetStrings(0, "A=3"); }, 1},
        {"insert", [&] { l.Insert(0, "B=1"); }, 1},
        {"exchange", [&] { l.Exchange(0, 1); }, 1},
        {"sort", [&] { l.Sort(); }, 1},
        {"delete", [&] { l.Delete(0); }, 1},
        {"text", [&] { l.SetText("x\ny\nz"); }, 1},
        {"assign", [&] { l.Assign(QStringList{"p", "q"}); }, 1},
        {"bracket", [&] { l.BeginUpdate(); l.Add("r"); l.Add("s"); l.EndUpdate(); }, 1},
        {"empty bracket", [&] { l.BeginUpdate(); l.EndUpdate(); }, 0},
        {"copy into", [&] { TStringList o; o.Add("k"); l = o; }, 1},
        {"clear", [&] { l.Clear(); }, 1},
        {"clear empty", [&] { l.Clear(); }, 0},
    };
    for (const auto& c : cases) {
        changes = 0;
        c.Do();
        EXPECT_EQ(changes, c.Expected) << c.What;
    }
    l.Add("t");
    TStringList copy(l);
    EXPECT_FALSE(bool(copy.OnChange));
    EXPECT_EQ(copy.ToQStringList(), QStringList{"t"});
}
