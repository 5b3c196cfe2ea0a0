// Text, number and interface utilities as case tables.
#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rtool.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>

TEST(UtilitiesTest, FindAndRemoveParts)
{
    struct Case {
        int n;
        const char* expected;
    } cases[] = {{0, "a"}, {1, "a"}, {2, "b"}, {3, "c"}, {4, ""}};
    for (const Case& c : cases)
        EXPECT_EQ(FindStrPart(QStringLiteral("a;b;c"), QStringLiteral(";"), c.n, false), QLatin1String(c.expected)) << c.n;
    QString s = QStringLiteral("key=value");
    EXPECT_EQ(RemoveStrPart(s, QStringLiteral("="), false), QStringLiteral("key"));
    EXPECT_EQ(s, QStringLiteral("value"));
    s = QStringLiteral("plain");
    EXPECT_EQ(RemoveStrPart(s, QStringLiteral("="), false), QStringLiteral("plain"));
    EXPECT_TRUE(s.isEmpty());
}

TEST(UtilitiesTest, SearchAndReplace)
{
    EXPECT_EQ(FindStrFromTo(QStringLiteral("{"), QStringLiteral("}"), QStringLiteral("x{y}z"), false, true), QStringLiteral("y"));
    EXPECT_EQ(FindStrFromTo(QStringLiteral("{"), QStringLiteral("}"), QStringLiteral("x{y}z"), false, false), QStringLiteral("{y"));
    EXPECT_EQ(ReplaceStr(QStringLiteral("&"), QStringLiteral("&&"), QStringLiteral("A&B&C"), true, false), QStringLiteral("A&&B&&C"));
    EXPECT_EQ(ReplaceStrFromTo(QStringLiteral("{"), QStringLiteral("}"), QStringLiteral("X"), QStringLiteral("a{1}b{2}c"), true, true, false), QStringLiteral("aXbXc"));
    EXPECT_EQ(ReplaceStrFromTo(QStringLiteral("{"), QStringLiteral("}"), QStringLiteral("X"), QStringLiteral("a{1}b{2}c"), false, true, false), QStringLiteral("aX}bX}c"));
    EXPECT_EQ(AnsiPosEx(QStringLiteral("ä"), QStringLiteral("xÄyä"), 0, false), 2);
    EXPECT_EQ(AnsiPosEx(QStringLiteral("ä"), QStringLiteral("xÄyä"), 1, true), 4);
    EXPECT_EQ(ClearStr(QStringLiteral("ab"), QStringLiteral("xabyAB"), false), QStringLiteral("xy"));
    const QString seps = QStringLiteral(" .");
    EXPECT_TRUE(ContainWholeWord(QStringLiteral("cat"), QStringLiteral("the cat."), seps, 0));
    EXPECT_TRUE(ContainWholeWord(QStringLiteral("cat"), QStringLiteral("concat cat"), seps, 0));
    EXPECT_FALSE(ContainWholeWord(QStringLiteral("cat"), QStringLiteral("concat"), seps, 0));
}

TEST(UtilitiesTest, NumbersAndFill)
{
    EXPECT_EQ(IntToStr0(7, 3), QStringLiteral("007"));
    EXPECT_EQ(IntToStr0(-5, 4), QStringLiteral("00-5"));
    EXPECT_EQ(UpdateToDecimalSeparator(QStringLiteral("1.234,5")), QStringLiteral("1") + QChar(0xA0) + QStringLiteral("234,5"));
    EXPECT_EQ(UpdateToDecimalSeparator(QStringLiteral("12.5")), QStringLiteral("12,5"));
    EXPECT_EQ(CleanLastEOL(QStringLiteral("a\r\n\r\n")), QStringLiteral("a"));
    EXPECT_EQ(ConvertUnicodeToAscii(QStringLiteral("Pää")), QStringLiteral("P??"));
    EXPECT_EQ(SortNum(QString(), QStringLiteral("1")), -1);
    EXPECT_EQ(SortNum(QStringLiteral("x"), QStringLiteral("9")), -1);
    EXPECT_EQ(SortNum(QStringLiteral("9"), QStringLiteral("10")), -1);
    EXPECT_EQ(SortNum(QStringLiteral("10"), QStringLiteral("10")), 0);
}

TEST(UtilitiesTest, InterfaceRoutines)
{
    int delta = 240;
    Word key = 0;
    EXPECT_TRUE(ProcMouseWheel(delta, key));
    EXPECT_EQ(key, VK_UP);
    EXPECT_EQ(delta, 120);
    delta = -60;
    EXPECT_TRUE(ProcMouseWheel(delta, key));
    EXPECT_EQ(key, VK_DOWN);
    EXPECT_EQ(delta, 0);
    key = 0;
    EXPECT_FALSE(ProcMouseWheel(delta, key));
    EXPECT_EQ(key, 0);

    TFont f;
    bool reset = false;
    UseFontFormatParams(&f, QStringLiteral("$0000FF"));
    EXPECT_EQ(f.Color(), clRed);  // $BBGGRR
    UseFontFormatParams(&f, QStringLiteral("12"));
    EXPECT_EQ(f.Size(), 12);
    UseFontFormatParams(&f, QStringLiteral("Navy"));
    EXPECT_EQ(f.Color(), clNavy);
    UseFontFormatParams(&f, QStringLiteral("B"));
    UseFontFormatParams(&f, QStringLiteral("N"), reset);
    EXPECT_TRUE(reset);
    EXPECT_EQ(f.Style(), 0u);
    EXPECT_EQ(SetEndOfPath(QString()), QString());
    EXPECT_EQ(SetEndOfPath(QStringLiteral("/data")), QStringLiteral("/data/"));
    SetScreenPixelsPerInch(144);
    EXPECT_EQ(DPI_ScaleSize(10), 15);
    SetScreenPixelsPerInch(96);
    EXPECT_EQ(GetStyleSystemColor(clBtnFace), clBtnFace);
    const TCursor before = WCursor();
    EXPECT_EQ(Screen->Cursor(), crHourGlass);
    ChCursor(before);
    EXPECT_EQ(Screen->Cursor(), before);
}

TEST(UtilitiesTest, StyleServicesAndTheHotTrackRecord)
{
    // The light look is the system's own style: enabled, never a custom one.
    ASSERT_NE(GetThemeServices(), nullptr);
    EXPECT_EQ(GetThemeEnabled(), GetThemeServices()->Enabled());
    EXPECT_FALSE(StyleIsActive());
    SetThemeServicesEnabled(false);
    EXPECT_FALSE(GetThemeEnabled());
    SetThemeServicesEnabled(true);
    EXPECT_TRUE(GetThemeEnabled());

    THotTrackCellInfo info;
    info.Rect = {1, 2, 4, 6};
    EXPECT_TRUE(CheckHotTrackCoord(info, 1, 2));
    SetHotTrackCoord(info, 3, 5);
    EXPECT_EQ(GetHotTrackCoord(info), (TGridCoord{3, 5}));
    EXPECT_EQ(info.Rect.Right, 3) << "the rectangle becomes that one cell";
    EXPECT_EQ(info.Rect.Bottom, 5);
    SetHotTrackCoord(info, TGridCoord{0, 7});
    EXPECT_TRUE(CheckHotTrackCoord(info, TGridCoord{0, 7}));
    EXPECT_FALSE(CheckHotTrackCoord(info, 7, 0));
}

TEST(UtilitiesTest, ConfigurationDefaults)
{
    EXPECT_TRUE(TParioCompConfig::GetConfig_OnOffAuto(0, true));
    EXPECT_FALSE(TParioCompConfig::GetConfig_OnOffAuto(-1, true));
    EXPECT_TRUE(TParioCompConfig::GetConfig_OnOffAuto(1, false));
    EXPECT_FALSE(TParioCompConfig::GetConfig_OnOffAuto(5, false));
    EXPECT_TRUE(ParioCompConfig.rDBToolCfg.IsReservedKeyword(QStringLiteral("select")));
    EXPECT_FALSE(ParioCompConfig.rDBToolCfg.IsReservedKeyword(QStringLiteral("SELECTED")));
    EXPECT_TRUE(ParioCompConfig.rDBToolCfg.IsReservedKeyword(QStringLiteral("COUNT")));
    EXPECT_EQ(ParioCompConfig.rDBGridCfg.CellSingleLineEOLSeparator, QStringLiteral(" | "));
    EXPECT_EQ(ParioCompConfig.PropSaveCfg.Suffix_BlockSaveItems, QStringLiteral("_nostore"));
    EXPECT_EQ(ParioCompConfig.rDBComponentsCfg.RequeryCursorType, crSQLWait);
    int fired = 0;
    ParioCompConfig.DoParioCompGeneralEventSimple(nullptr, 1001);  // no handler: nothing
    ParioCompConfig.Global_OnParioCompGeneralEvent = [&](TComponent*, int id, TComponent*, TComponent*, QVariant& v) {
        fired = id;
        v = 5;
    };
    ParioCompConfig.DoParioCompGeneralEventSimple(nullptr, 1101);
    ParioCompConfig.Global_OnParioCompGeneralEvent = nullptr;
    EXPECT_EQ(fired, 1101);
}
