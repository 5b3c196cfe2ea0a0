#include "platform/rtl/Exception.h"
#include "platform/rtl/StrUtils.h"

#include <gtest/gtest.h>

TEST(TextHelpers, OneBasedCopyPosDelete)
{
    EXPECT_EQ(Copy("abcdef", 1, 3), "abc");
    EXPECT_EQ(Copy("abcdef", 4), "def");
    EXPECT_EQ(Copy("abcdef", 0, 2), "ab");    // index below one starts at one
    EXPECT_EQ(Copy("abcdef", 7, 2), "");      // past the end
    EXPECT_EQ(Copy("abcdef", 2, -1), "");
    EXPECT_EQ(Pos("cd", "abcdef"), 3);
    EXPECT_EQ(Pos("x", "abcdef"), 0);
    EXPECT_EQ(Pos("", "abc"), 0);
    EXPECT_EQ(Pos("a", "abca", 2), 4);
    QString s = "abcdef";
    Delete(s, 2, 2);
    EXPECT_EQ(s, "adef");
    Insert("XY", s, 2);
    EXPECT_EQ(s, "aXYdef");
}

TEST(TextHelpers, TrimAndCase)
{
    EXPECT_EQ(Trim(" \t ab c\r\n"), "ab c");
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(TrimRight("  a "), "  a");
    EXPECT_EQ(UpperCase("sorvex.fdb äö"), "SORVEX.FDB äö");  // ASCII only
    EXPECT_EQ(AnsiUpperCase("äö"), "ÄÖ");
    EXPECT_TRUE(SameText("Sorvex.FDB", "SORVEX.fdb"));
    EXPECT_FALSE(SameText("a", "b"));
    EXPECT_EQ(StringReplace("a-b-c", "-", "+", rfReplaceAll), "a+b+c");
    EXPECT_EQ(StringReplace("a-b-c", "-", "+", 0), "a+b-c");
    EXPECT_EQ(StringReplace("aXbx", "x", "_", rfReplaceAll | rfIgnoreCase), "a_b_");
    EXPECT_EQ(QuotedStr("it's"), "'it''s'");
}

TEST(TextHelpers, IntegerConversions)
{
    struct Case {
        const char* text;
        bool ok;
        int value;
    };
    const Case cases[] = {{"12", true, 12},     {"-7", true, -7},       {" 3", true, 3},
                          {"$1F", true, 31},    {"0x10", true, 16},     {"", false, 0},
                          {"3 ", false, 0},     {"1.5", false, 0},      {"abc", false, 0},
                          {"2147483648", false, 0}, {"-2147483648", true, -2147483647 - 1}};
    for (const Case& c : cases) {
        int v = 0;
        EXPECT_EQ(TryStrToInt(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
        EXPECT_EQ(StrToIntDef(c.text, -99), c.ok ? c.value : -99) << c.text;
    }
    EXPECT_THROW(StrToInt("x"), EConvertError);
    EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(IntToHex(255, 4), "00FF");
}

TEST(TextHelpers, FloatsUseTheFinnishSettingsAndAcceptAPoint)
{
    EXPECT_EQ(FloatToStr(1.5), "1,5");
    EXPECT_DOUBLE_EQ(StrToFloat("1,25"), 1.25);
    EXPECT_DOUBLE_EQ(StrToFloat("1.25"), 1.25);
    double v = 0;
    EXPECT_FALSE(TryStrToFloat("1,2.3", v));
    EXPECT_FALSE(TryStrToFloat("", v));
    EXPECT_EQ(FormatFloat("0.00", 3.14159), "3,14");
    EXPECT_EQ(FormatFloat("#,##0.00", 1234567.891), QString("1\u00A0234\u00A0567,89"));
    EXPECT_EQ(FormatFloat("0", -0.4), "0");
    EXPECT_EQ(FormatFloat("0.0;(0.0)", -2.25), "(2,3)");
}

TEST(TextHelpers, Format)
{
    EXPECT_EQ(Format("Unknown field: %s", {QString("name")}), "Unknown field: name");
    EXPECT_EQ(Format("Unknown index: %d", {5}), "Unknown index: 5");
    EXPECT_EQ(Format("%3d|%-3d|%.3d", {7, 7, 7}), "  7|7  |007");
    EXPECT_EQ(Format("%1:s %0:s", {QString("a"), QString("b")}), "b a");
    EXPECT_EQ(Format("%x %.2f %%", {255, 2.5}), "FF 2,50 %");
    EXPECT_THROW(Format("%d", {QString("x")}), EConvertError);
    EXPECT_THROW(Format("%s %s", {QString("x")}), EConvertError);
}
