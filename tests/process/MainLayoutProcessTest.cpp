// The main window's layout across real starts: the results grid's columns
// are written to "sorvex.ini" in the program folder when the window closes
// and restored at the next start.

#include "tests/support/ProgramUnderTest.h"
#include "tests/support/XDisplay.h"

#include <gtest/gtest.h>

namespace {

std::string S(const QString& Text)
{
    return Text.toStdString();
}

QStringList Titles(TDriverClient& D)
{
    const QStringList rows = D.Grid(QStringLiteral("formMain.rdbgrdResultsClass")).Lines();
    return rows.isEmpty() ? QStringList() : rows.first().split(QLatin1Char('\t'));
}

// Sets one key of a column section ("FieldName=" + Field) in the saved text.
QString WithColumnKey(QString Ini, const QString& Field, const QString& Key, const QString& Value)
{
    const int at = Ini.indexOf(QStringLiteral("FieldName=") + Field + QStringLiteral("\r\n"));
    const int key = Ini.indexOf(Key + QLatin1Char('='), at);
    const int end = Ini.indexOf(QStringLiteral("\r\n"), key);
    EXPECT_TRUE(at >= 0 && key >= 0 && end >= 0) << S(Field);
    return Ini.replace(key, end - key, Key + QLatin1Char('=') + Value);
}

}  // namespace

TEST(MainLayoutProcess, TheResultsGridLayoutIsSavedAtCloseAndRestoredAtTheNextStart)
{
    TProgramUnderTest p;
    auto run = [&p](QStringList& Titles_) {
        ASSERT_TRUE(p.Start()) << S(p.LastError());
        ASSERT_TRUE(p.Driver.Wait(QStringLiteral("formMain.tvMainTree"), 20000)) << S(p.Driver.LastError());
        Titles_ = Titles(p.Driver);
        ASSERT_TRUE(p.QuitAndWait()) << S(p.LastError());
    };
    // the first start writes the default layout
    QStringList first;
    ASSERT_NO_FATAL_FAILURE(run(first));
    EXPECT_TRUE(first.contains(QStringLiteral("Henkilö")));
    EXPECT_FALSE(first.contains(QStringLiteral("Pituus")));
    QString saved = QString::fromUtf8(p.Home.Read(QStringLiteral("sorvex.ini")));
    ASSERT_TRUE(saved.contains(QStringLiteral("[formMain.rdbgrdResultsClass]"))) << S(saved);

    // a layout with the length shown and the name hidden comes back
    saved = WithColumnKey(saved, QStringLiteral("COURSE_LENGTH"), QStringLiteral("ColVisible"), QStringLiteral("1"));
    saved = WithColumnKey(saved, QStringLiteral("PERSON_NAME"), QStringLiteral("ColVisible"), QStringLiteral("0"));
    p.Home.Write(QStringLiteral("sorvex.ini"), saved.toUtf8());
    QStringList second;
    ASSERT_NO_FATAL_FAILURE(run(second));
    EXPECT_TRUE(second.contains(QStringLiteral("Pituus"))) << S(second.join(QLatin1Char(' ')));
    EXPECT_FALSE(second.contains(QStringLiteral("Henkilö"))) << S(second.join(QLatin1Char(' ')));
    EXPECT_EQ(second.size(), first.size());

    // and is written back as it was shown
    QStringList third;
    ASSERT_NO_FATAL_FAILURE(run(third));
    EXPECT_EQ(third, second);
}

// Sets a key of a section in the saved text (the key added when missing).
static QString WithKey(QString Ini, const QString& Section, const QString& Key, const QString& Value)
{
    const int at = Ini.indexOf(QLatin1Char('[') + Section + QStringLiteral("]\r\n"));
    EXPECT_GE(at, 0) << S(Section);
    const int next = Ini.indexOf(QStringLiteral("\r\n["), at + 1);
    const int key = Ini.indexOf(QStringLiteral("\r\n") + Key + QLatin1Char('='), at);
    if (key >= 0 && (next < 0 || key < next)) {
        const int end = Ini.indexOf(QStringLiteral("\r\n"), key + 2);
        return Ini.replace(key + 2, end - key - 2, Key + QLatin1Char('=') + Value);
    }
    return Ini.insert(Ini.indexOf(QStringLiteral("\r\n"), at) + 2, Key + QLatin1Char('=') + Value + QStringLiteral("\r\n"));
}

static QString KeyValue(const QString& Ini, const QString& Section, const QString& Key)
{
    const int at = Ini.indexOf(QLatin1Char('[') + Section + QStringLiteral("]\r\n"));
    const int next = Ini.indexOf(QStringLiteral("\r\n["), at + 1);
    const int key = Ini.indexOf(QStringLiteral("\r\n") + Key + QLatin1Char('='), at);
    if (at < 0 || key < 0 || (next >= 0 && key > next))
        return QStringLiteral("<none>");
    const int from = key + 2 + Key.size() + 1;
    return Ini.mid(from, Ini.indexOf(QStringLiteral("\r\n"), from) - from);
}

// The window's place and size, the grid's sort and its filter bar survive a
// restart: read at the start, they are what the next close writes again.
// (The place lies inside the offscreen screen of 800 x 600, which a window
// is kept inside.)
TEST(MainLayoutProcess, WindowPlaceSortAndFilterBarComeBackAfterARestart)
{
    TProgramUnderTest p;
    auto run = [&p] {
        ASSERT_TRUE(p.Start()) << S(p.LastError());
        ASSERT_TRUE(p.Driver.Wait(QStringLiteral("formMain.tvMainTree"), 20000)) << S(p.Driver.LastError());
        ASSERT_TRUE(p.QuitAndWait()) << S(p.LastError());
    };
    ASSERT_NO_FATAL_FAILURE(run());
    QString saved = QString::fromUtf8(p.Home.Read(QStringLiteral("sorvex.ini")));
    ASSERT_TRUE(saved.contains(QStringLiteral("[formMain_XY]"))) << S(saved);
    const QString grid = QStringLiteral("formMain.rdbgrdResultsClass");
    const struct {
        QString Section, Key, Value;
    } changes[] = {{QStringLiteral("formMain_XY"), QStringLiteral("Left"), QStringLiteral("40")},
                   {QStringLiteral("formMain_XY"), QStringLiteral("Top"), QStringLiteral("30")},
                   {QStringLiteral("formMain_XY"), QStringLiteral("Right"), QStringLiteral("740")},
                   {QStringLiteral("formMain_XY"), QStringLiteral("Bottom"), QStringLiteral("560")},
                   {grid, QStringLiteral("SortField"), QStringLiteral("PERSON_NAME")},
                   {grid, QStringLiteral("SortDesc"), QStringLiteral("0")},
                   {grid, QStringLiteral("FilterBar"), QStringLiteral("1")}};
    for (const auto& c : changes)
        saved = WithKey(saved, c.Section, c.Key, c.Value);
    p.Home.Write(QStringLiteral("sorvex.ini"), saved.toUtf8());
    ASSERT_NO_FATAL_FAILURE(run());
    const QString again = QString::fromUtf8(p.Home.Read(QStringLiteral("sorvex.ini")));
    // The place may move by the window frame's few pixels: a window is
    // placed by its inner area and reports where its frame is.
    for (const auto& c : changes) {
        if (c.Section == QLatin1String("formMain_XY"))
            EXPECT_NEAR(KeyValue(again, c.Section, c.Key).toInt(), c.Value.toInt(), 4) << S(c.Key) << "\n" << S(again);
        else
            EXPECT_EQ(S(KeyValue(again, c.Section, c.Key)), S(c.Value)) << S(c.Section) << " " << S(c.Key) << "\n" << S(again);
    }
}

// On a desktop with a window manager, which frames the window and reports
// its place back, the main window comes back exactly where it was closed,
// restart after restart (a place that grew by the frame on every start
// would walk across the screen).
TEST(MainLayoutProcess, WindowPlaceDoesNotDriftUnderAWindowManager)
{
    TXDisplay x;
    if (!x.Start())
        GTEST_SKIP() << S(x.LastError());
    TProgramUnderTest p;
    p.Options.Display = x.Name();
    auto run = [&p] {
        ASSERT_TRUE(p.Start()) << S(p.LastError());
        ASSERT_TRUE(p.Driver.Wait(QStringLiteral("formMain.tvMainTree"), 20000)) << S(p.Driver.LastError());
        ASSERT_TRUE(p.QuitAndWait()) << S(p.LastError());
    };
    const QStringList keys = {QStringLiteral("Left"), QStringLiteral("Top"), QStringLiteral("Right"), QStringLiteral("Bottom")};
    auto place = [&p, &keys] {
        const QString ini = QString::fromUtf8(p.Home.Read(QStringLiteral("sorvex.ini")));
        QStringList v;
        for (const QString& k : keys)
            v << KeyValue(ini, QStringLiteral("formMain_XY"), k);
        return v.join(QLatin1Char(' '));
    };
    ASSERT_NO_FATAL_FAILURE(run());
    QString saved = QString::fromUtf8(p.Home.Read(QStringLiteral("sorvex.ini")));
    const QStringList wanted = {QStringLiteral("100"), QStringLiteral("80"), QStringLiteral("1000"), QStringLiteral("780")};
    for (int i = 0; i < keys.size(); ++i)
        saved = WithKey(saved, QStringLiteral("formMain_XY"), keys[i], wanted[i]);
    p.Home.Write(QStringLiteral("sorvex.ini"), saved.toUtf8());
    ASSERT_NO_FATAL_FAILURE(run());
    const QString first = place();
    EXPECT_EQ(S(first), S(wanted.join(QLatin1Char(' '))));
    for (int restart = 0; restart < 2; ++restart) {
        ASSERT_NO_FATAL_FAILURE(run());
        EXPECT_EQ(S(place()), S(first)) << "restart " << restart + 2;
    }
}
