// Gradients, frame painters and glyphs, checked on their returned rectangles
// and on pixels.
#include "components/framed/FcFrames.h"
#include "components/framed/FcGrafx.h"
#include "components/framed/FcSystem.h"
#include "components/framed/FcButton.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>

namespace {

TBitmap* Blank(TBitmap& B, int W, int H, TColor Color = clWhite)
{
    B.SetSize(W, H);
    B.Canvas()->Brush()->SetColor(Color);
    B.Canvas()->FillRect(Rect(0, 0, W, H));
    return &B;
}

bool Solid(TBitmap& B, TColor Color)
{
    for (int y = 0; y < B.Height(); ++y)
        for (int x = 0; x < B.Width(); ++x)
            if (B.Pixel(x, y) != ColorToRGB(Color))
                return false;
    return true;
}

}  // namespace

TEST(GradientTest, EqualColoursAndSmallBoxesAreOneFill)
{
    struct Case {
        TFcGradientDirection direction;
        int w, h;
        TColor start, stop;
    } cases[] = {{gdDiagonalUp, 40, 30, clRed, clRed},   {gdDiagonalDown, 40, 30, clNavy, clNavy},
                 {gdSquareBox, 40, 30, clTeal, clTeal},  {gdHorizontalBox, 4, 100, clRed, clBlue},
                 {gdBigSquareBox, 100, 3, clRed, clBlue}};
    for (const Case& c : cases) {
        TBitmap b;
        PaintGradient(Blank(b, c.w, c.h)->Canvas(), Rect(0, 0, c.w, c.h), c.direction, c.start, c.stop);
        EXPECT_TRUE(Solid(b, c.start)) << int(c.direction);
    }
}

TEST(GradientTest, EndColoursOfTheLineStyles)
{
    TBitmap b;
    // horizontal bands from the top (start) to the bottom (stop)
    PaintGradient(Blank(b, 20, 50)->Canvas(), Rect(0, 0, 20, 50), gdHorizontalEnd, clWhite, clBlack);
    EXPECT_EQ(b.Pixel(5, 0), clWhite);
    EXPECT_LT(GetRValue(b.Pixel(5, 49)), 10);
    // centre: the stop colour in the middle row, the start colour at the bottom
    PaintGradient(Blank(b, 20, 41)->Canvas(), Rect(0, 0, 20, 41), gdHorizontalCenter, RGB(200, 0, 0), RGB(0, 0, 200));
    EXPECT_EQ(b.Pixel(3, 20), RGB(0, 0, 200));
    EXPECT_EQ(b.Pixel(19, 40), RGB(200, 0, 0));
    EXPECT_NEAR(GetRValue(b.Pixel(3, 0)), 200, 10) << "the top reaches the start within the truncation";
    for (int y = 1; y < 41; ++y)
        EXPECT_NE(b.Pixel(0, y), clWhite) << "no gap at row " << y;
    // vertical centre: start at both side columns, stop in the middle column
    PaintGradient(Blank(b, 31, 10)->Canvas(), Rect(0, 0, 31, 10), gdVerticalCenter, clRed, clBlue);
    EXPECT_EQ(b.Pixel(15, 5), clBlue);
    EXPECT_EQ(b.Pixel(30, 5), clRed);
}

TEST(GradientTest, BoxesAreSymmetricWithTheStopColourInTheCentre)
{
    TBitmap b;
    PaintGradient(Blank(b, 41, 31)->Canvas(), Rect(0, 0, 41, 31), gdSquareBox, clWhite, clBlack);
    EXPECT_EQ(b.Pixel(20, 15), clBlack);
    EXPECT_EQ(b.Pixel(0, 0), b.Pixel(40, 30));
    EXPECT_EQ(b.Pixel(3, 7), b.Pixel(37, 23));
    EXPECT_GT(GetRValue(b.Pixel(0, 0)), 200);
}

TEST(GradientTest, DiagonalRunsFromTheLowerLeftCorner)
{
    TBitmap b;
    PaintGradient(Blank(b, 40, 40)->Canvas(), Rect(0, 0, 40, 40), gdDiagonalUp, clBlack, clWhite);
    EXPECT_EQ(b.Pixel(0, 39), clBlack);
    EXPECT_GT(GetRValue(b.Pixel(39, 0)), GetRValue(b.Pixel(20, 20)));
    PaintGradient(Blank(b, 40, 40)->Canvas(), Rect(0, 0, 40, 40), gdDiagonalDown, clBlack, clWhite);
    EXPECT_EQ(b.Pixel(39, 39), clWhite) << "the lower right starts with the stop colour";
    EXPECT_LT(GetRValue(b.Pixel(0, 0)), GetRValue(b.Pixel(20, 20)));
}

TEST(FramePainterTest, ReturnedRectangles)
{
    TBitmap b;
    TCanvas* c = Blank(b, 40, 30)->Canvas();
    const TRect r(0, 0, 40, 30);
    const TSides leftTop = SideBit(sdLeft) | SideBit(sdTop);
    struct Case {
        const char* what;
        TRect got, expected;
    } cases[] = {
        {"no sides", DrawSides(c, r, clRed, clRed, 0), r},
        {"fsNone", DrawBorderSides(c, r, fsNone, sdAllSides), r},
        {"fsFlatBold on two sides", DrawBorderSides(c, r, fsFlatBold, leftTop), Rect(2, 2, 40, 30)},
        {"fsFlat", DrawBorder(c, r, fsFlat), Rect(1, 1, 39, 29)},
        {"groove", DrawBorder(c, r, fsGroove), Rect(2, 2, 38, 28)},
        {"raised", DrawBorder(c, r, fsRaised), Rect(2, 2, 38, 28)},
        {"status", DrawBorder(c, r, fsStatus), Rect(1, 1, 39, 29)},
        {"bevel of 3", DrawBevel(c, r, clRed, clBlue, 3, sdAllSides), Rect(3, 3, 37, 27)},
        {"box", DrawBox(c, r, clRed), Rect(1, 1, 39, 29)},
        {"rounded", DrawRoundedFlatBorder(c, r, clRed, sdAllSides), Rect(2, 2, 38, 28)},
        {"colour button", DrawColorButtonBorder(c, r, clTeal, false), Rect(2, 2, 38, 28)},
    };
    for (const Case& k : cases)
        EXPECT_EQ(k.got, k.expected) << k.what;
}

TEST(FramePainterTest, PixelsOfTheFrames)
{
    TBitmap b;
    TCanvas* c = Blank(b, 20, 20)->Canvas();
    DrawSides(c, Rect(0, 0, 20, 20), clRed, clBlue, sdAllSides);
    EXPECT_EQ(b.Pixel(0, 10), clRed);
    EXPECT_EQ(b.Pixel(10, 0), clRed);
    EXPECT_EQ(b.Pixel(19, 10), clBlue);
    EXPECT_EQ(b.Pixel(10, 19), clBlue);
    EXPECT_EQ(b.Pixel(10, 10), clWhite);

    // a flat colour frame on white is 50 lightness points darker than white
    Blank(b, 20, 20);
    DrawColorBorder(c, Rect(0, 0, 20, 20), clWhite, fsFlat);
    EXPECT_EQ(b.Pixel(0, 5), DarkerColor(clWhite, 50));

    // groove: outer left and top shadow, inner highlight
    Blank(b, 20, 20, clRed);
    DrawBorder(c, Rect(0, 0, 20, 20), fsGroove);
    EXPECT_EQ(b.Pixel(0, 5), ColorToRGB(clBtnShadow));
    EXPECT_EQ(b.Pixel(1, 5), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(b.Pixel(19, 5), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(b.Pixel(18, 5), ColorToRGB(clBtnShadow));

    // an edit frame on the window colour takes the table colours, any other its own shades
    Blank(b, 20, 20);
    DrawFrame(c, 20, 20, fsLowered, clWindow, clBlack, sdAllSides, false);
    EXPECT_EQ(b.Pixel(0, 5), ColorToRGB(clBtnShadow));
    DrawFrame(c, 20, 20, fsLowered, clYellow, clBlack, sdAllSides, false);
    EXPECT_EQ(b.Pixel(0, 5), DarkerColor(clYellow, 50));

    // the band of a panel border
    Blank(b, 30, 30);
    TFcBorderSet set;
    set.BorderOuter = fsFlat;
    set.BorderWidth = 2;
    set.BorderColor = clGrayText;
    const TRect inner = DrawInnerOuterBorders(c, Rect(0, 0, 30, 30), set);
    EXPECT_EQ(inner, Rect(3, 3, 27, 27));
    EXPECT_EQ(b.Pixel(1, 15), ColorToRGB(clGrayText));
    EXPECT_EQ(b.Pixel(2, 15), ColorToRGB(clGrayText));
    EXPECT_EQ(b.Pixel(0, 15), AdjustColor(clBtnShadow, 30));
}

TEST(GlyphTest, CheckMarkAndRadioDot)
{
    TBitmap b;
    TCanvas* c = Blank(b, 13, 13)->Canvas();
    TFcGlyphColors colors;
    colors.MarkColor = clRed;
    DrawCheckBox(c, Rect(0, 0, 13, 13), cbChecked, bdsNormal, false, htsInterior, colors, false, false);
    EXPECT_EQ(b.Pixel(1 + 2, 1 + 4), clRed);
    EXPECT_EQ(b.Pixel(1 + 8, 1 + 2), clRed);
    EXPECT_EQ(b.Pixel(0, 0), ColorToRGB(clBtnShadow));
    // disabled: the mark is the shadow colour whatever was asked
    DrawCheckBox(c, Rect(0, 0, 13, 13), cbChecked, bdsDisabled, false, htsInterior, colors, false, false);
    EXPECT_EQ(b.Pixel(3, 5), ColorToRGB(clBtnShadow));
    EXPECT_EQ(b.Pixel(6, 3), ColorToRGB(clBtnFace)) << "disabled interior";
    // read-only interior
    DrawCheckBox(c, Rect(0, 0, 13, 13), cbUnchecked, bdsNormal, false, htsInterior, colors, true, false);
    EXPECT_EQ(b.Pixel(6, 6), ColorToRGB(clInfoBk));

    Blank(b, 13, 13);
    colors.FrameColor = clBlue;
    DrawRadioButton(c, Rect(0, 0, 13, 13), true, bdsNormal, false, htsInterior, colors, false, false, false);
    EXPECT_EQ(b.Pixel(6, 6), clRed) << "the dot";
    EXPECT_EQ(b.Pixel(6, 0), clBlue) << "frame pixel F";
    EXPECT_EQ(b.Pixel(0, 0), ColorToRGB(clBtnFace)) << "background B";
    EXPECT_EQ(b.Pixel(4, 0), BlendColors(clBlue, clBtnFace, 128)) << "half blend H";
}

TEST(GlyphTest, DropDownArrowIsTheWindows10Chevron)
{
    TBitmap a, b;
    for (TFcUIStyle style : {uiWindows95, uiWindowsXP, uiWindows10}) {
        TBitmap& t = style == uiWindows95 ? a : b;
        Blank(t, 17, 17);
        DrawDropDownArrow(t.Canvas(), Rect(0, 0, 17, 17), style, false, true);
        EXPECT_EQ(t.Pixel(8, 10), clBlack) << "the chevron's point";
        EXPECT_EQ(t.Pixel(8, 6), clWhite) << "open above the point";
    }
    EXPECT_EQ(a.SaveToData(), b.SaveToData()) << "the style passed makes no difference";
}

TEST(SystemFunctionsTest, VersionAndText)
{
    EXPECT_TRUE(RunningAtLeast(win7));
    EXPECT_TRUE(RunningAtLeast(win8));
    EXPECT_TRUE(RunningAtLeast(win10));
    EXPECT_FALSE(RunningUnder(win7));
    EXPECT_TRUE(RunningUnder(win10));
    EXPECT_TRUE(RunningAtLeastOn(winXP, true, 6, 0)) << "a higher major version whatever the minor";
    EXPECT_FALSE(RunningAtLeastOn(winXP, true, 5, 0));
    EXPECT_TRUE(RunningUnderOn(win8, true, 6, 3));

    struct Case {
        const char* in;
        const char* out;
    } cases[] = {{"&Tallenna", "Tallenna"}, {"Tom && Jerry", "Tom & Jerry"}, {"Loppu&", "Loppu&"}, {"", ""}};
    for (const Case& c : cases)
        EXPECT_EQ(RemoveAccelerators(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
    EXPECT_EQ(CountChar(QLatin1Char('x'), QStringLiteral("abc")), 0);
    EXPECT_EQ(FirstNonWhitespaceChar(QStringLiteral(" \t ab")), QLatin1Char('a'));
    EXPECT_EQ(FirstNonWhitespaceChar(QStringLiteral("  ")), QChar());
    EXPECT_EQ(CenterRect(Rect(0, 0, 11, 11), 4, 4), Rect(3, 3, 7, 7));
    EXPECT_EQ(GetMonitorContainingPoint(Point(-100000, -100000)), -1);
}

namespace {

// A parent whose own painting is two colours side by side.
class TwoColourParent : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clRed);
        Canvas()->FillRect(Rect(0, 0, Width() / 2, Height()));
        Canvas()->Brush()->SetColor(clBlue);
        Canvas()->FillRect(Rect(Width() / 2, 0, Width(), Height()));
    }
};

}  // namespace

TEST(PaintersTest, ParentImageShowsWhatTheParentPaintsUnderTheControl)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto* parent = new TwoColourParent(&form);
    parent->SetParent(&form);
    parent->SetBounds(0, 0, 200, 100);
    auto* child = new TFcButton(&form);
    child->SetParent(parent);
    child->SetBounds(80, 10, 40, 20);  // across the colour border at x = 100
    TBitmap under(40, 20);
    DrawParentImage(child, under.Canvas(), false);
    EXPECT_EQ(under.Pixel(5, 5), clRed);
    EXPECT_EQ(under.Pixel(35, 5), clBlue);
}
