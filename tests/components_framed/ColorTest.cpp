// Colour arithmetic on the 0..240 scale and the colour sets of the looks.
#include "components/framed/FcCommon.h"
#include "components/framed/FcRegIniFile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

int Lightness(TColor C)
{
    uint8_t h, s, l;
    ColorToHSL(C, h, s, l);
    return l;
}

}  // namespace

TEST(ColorTest, ArithmeticCases)
{
    struct Case {
        const char* what;
        TColor got, expected;
    };
    const Case cases[] = {
        {"white darkened by 255 is black", DarkerColor(clWhite, 255), clBlack},
        {"any colour lightened by 255 is white", LighterColor(RGB(12, 90, 200), 255), clWhite},
        {"lightening black by 255", LighterColor(clBlack, 255), clWhite},
        {"adjustment 0 keeps even a system colour", AdjustColor(clBtnFace, 0), clBtnFace},
        {"negative adjustment darkens", AdjustColor(clWhite, -255), clBlack},
        {"grey from hue 0, saturation 0", HSLtoColor(0, 0, 120), RGB(128, 128, 128)},
        {"grey of lightness 60", HSLtoColor(0, 0, 60), RGB(64, 64, 64)},
        {"pure red back and forth", HSLtoColor(0, 240, 120), clRed},
        {"half blend", BlendColors(clWhite, clBlack, 128), RGB(128, 128, 128)},
        {"no alpha keeps the background", BlendColors(clRed, clBlue, 0), clBlue},
        {"full alpha gives the foreground", BlendColors(clRed, clBlue, 255), clRed},
        {"system colours resolve before blending", BlendColors(clBtnFace, clBtnFace, 77), RGB(240, 240, 240)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.expected) << c.what;
}

TEST(ColorTest, HslOfKnownColours)
{
    struct Case {
        TColor color;
        int h, s, l;
    } cases[] = {{clRed, 0, 240, 120}, {clLime, 80, 240, 120}, {clBlue, 160, 240, 120},
                 {clWhite, 0, 0, 240}, {clBlack, 0, 0, 0},     {RGB(0, 120, 215), 138, 240, 101}};
    for (const Case& c : cases) {
        uint8_t h, s, l;
        ColorToHSL(c.color, h, s, l);
        EXPECT_EQ(int(h), c.h) << std::hex << c.color;
        EXPECT_EQ(int(s), c.s) << std::hex << c.color;
        EXPECT_EQ(int(l), c.l) << std::hex << c.color;
    }
}

TEST(ColorTest, DarkerByPointsNotPercent)
{
    const TColor base = RGB(200, 100, 50);
    EXPECT_EQ(Lightness(DarkerColor(base, 20)), Lightness(base) - 20);
    EXPECT_EQ(Lightness(LighterColor(base, 20)), Lightness(base) + 20);
}

TEST(ColorTest, ColoursTooCloseByHueAndLightness)
{
    // two greys (same hue 0) 59 and 60 lightness points apart
    EXPECT_TRUE(ColorsTooClose(HSLtoColor(0, 0, 100), HSLtoColor(0, 0, 159)));
    EXPECT_FALSE(ColorsTooClose(HSLtoColor(0, 0, 100), HSLtoColor(0, 0, 160)));
    EXPECT_FALSE(ColorsTooClose(clRed, clBlue)) << "hues far apart";
}

TEST(ColorTest, ComplementaryTurnsTheHueBy120)
{
    uint8_t h, s, l;
    ColorToHSL(RGB(80, 200, 40), h, s, l);
    ASSERT_EQ(h, 70);
    EXPECT_EQ(ComplementaryColor(RGB(80, 200, 40), 120), HSLtoColor(190, 240, 120));
    EXPECT_EQ(ComplementaryColor(RGB(40, 80, 200), 120), HSLtoColor(ColorHue(RGB(40, 80, 200)) - 120, 240, 120));
    EXPECT_EQ(Lightness(ComplementaryColor(clRed, 180)), 180);
}

TEST(ColorTest, GradientColourSets)
{
    CurrentXPColorScheme = xpcsGreen;
    TColor frame, start, stop;
    GetGradientSelectionColors(gcsMSOffice, frame, start, stop);
    EXPECT_EQ(frame, xpOfficeGreen_Selection_FrameColor);
    EXPECT_EQ(start, RGB(255, 238, 194));
    EXPECT_EQ(stop, RGB(255, 217, 160));
    GetGradientPanelColors(gcsMSOffice, start, stop);
    EXPECT_EQ(start, RGB(255, 255, 237));
    EXPECT_EQ(stop, RGB(184, 199, 146));
    EXPECT_EQ(GetGradientPanelFrameColor(gcsMSOffice), RGB(127, 161, 119));
    TColor barStop, barStart, barFrame;
    GetGradientStatusBarColors(gcsMSOffice, barStop, barStart, barFrame);
    EXPECT_EQ(barStop, RGB(184, 199, 146));
    EXPECT_EQ(barFrame, barStop);
    CurrentXPColorScheme = xpcsBlue;

    // the custom style takes the system branch
    GetGradientSelectionColors(gcsCustom, frame, start, stop);
    EXPECT_EQ(frame, clHighlight);
    EXPECT_EQ(stop, BlendColors(clHighlight, clWindow, 77));
    EXPECT_EQ(start, LighterColor(stop, 20));
    GetGradientPanelColors(gcsSystem, start, stop);
    EXPECT_EQ(start, clWindow);
    EXPECT_EQ(stop, DarkerColor(clBtnFace, 10));
    GetGradientStatusBarColors(gcsSystem, barStop, barStart, barFrame);
    EXPECT_EQ(barStop, DarkerColor(clBtnFace, 20));
    EXPECT_EQ(barStart, clWindow);
    EXPECT_EQ(barFrame, DarkerColor(clBtnFace, 40));

    FullColorSupported = false;
    GetGradientSelectionColors(gcsSystem, frame, start, stop);
    EXPECT_EQ(start, stop) << "without full colour the selection is flat";
    FullColorSupported = true;
}

TEST(ColorTest, SchemeFromTheProgramSetting)
{
    struct Case {
        const char* value;
        TFcXPColorScheme scheme;
    } cases[] = {{"homestead", xpcsGreen}, {"METALLIC", xpcsSilver}, {"NormalColor", xpcsBlue}, {"", xpcsBlue}};
    for (const Case& c : cases) {
        qputenv("SORVEX_COLOR_SCHEME", c.value);
        EXPECT_EQ(GetXPColorScheme(), c.scheme) << c.value;
    }
    qunsetenv("SORVEX_COLOR_SCHEME");
}

TEST(ColorTest, SchemeFromTheUsersSettingStore)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    qunsetenv("SORVEX_COLOR_SCHEME");
    EXPECT_EQ(GetXPColorScheme(), xpcsBlue) << "nothing stored: the blue scheme";
    TFcRegIniFile store(nullptr);
    store.SetPathType(ptRegistry);
    store.SetRegKey(hkeyCurrentUser);
    store.SetPath(QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion"));
    store.WriteString(QStringLiteral("ThemeManager"), QStringLiteral("ColorName"), QStringLiteral("HomeStead"));
    EXPECT_EQ(GetXPColorScheme(), xpcsGreen);
    qputenv("SORVEX_COLOR_SCHEME", "METALLIC");
    EXPECT_EQ(GetXPColorScheme(), xpcsSilver) << "the environment value wins for one run";
    qunsetenv("SORVEX_COLOR_SCHEME");
    qunsetenv("XDG_CONFIG_HOME");
}
