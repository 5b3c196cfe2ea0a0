// Drawing rules of the canvas, checked pixel by pixel on bitmaps.
#include "platform/ui/Graphics.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct CanvasTest : ::testing::Test {
    TBitmap bmp{20, 20};
    TCanvas* c = bmp.Canvas();
    void SetUp() override
    {
        c->Brush()->SetColor(clWhite);
        c->FillRect(Rect(0, 0, 20, 20));
        c->Pen()->SetColor(clBlack);
    }
};

}  // namespace

TEST_F(CanvasTest, LineToLeavesOutItsEndPoint)
{
    c->MoveTo(2, 5);
    c->LineTo(8, 5);
    EXPECT_EQ(bmp.Pixel(2, 5), clBlack);
    EXPECT_EQ(bmp.Pixel(7, 5), clBlack);
    EXPECT_EQ(bmp.Pixel(8, 5), clWhite);
    EXPECT_EQ(c->PenPos(), Point(8, 5));
    c->MoveTo(3, 10);
    c->LineTo(7, 14);  // diagonal: (3,10) … (6,13)
    EXPECT_EQ(bmp.Pixel(3, 10), clBlack);
    EXPECT_EQ(bmp.Pixel(6, 13), clBlack);
    EXPECT_EQ(bmp.Pixel(7, 14), clWhite);
}

TEST_F(CanvasTest, RectanglesExcludeRightAndBottom)
{
    struct Case {
        const char* what;
        int x, y;
        TColor expected;
    };
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(2, 2, 6, 6));
    c->Brush()->SetColor(clBlue);
    c->FrameRect(Rect(8, 2, 12, 6));
    c->Brush()->SetColor(clLime);
    c->Rectangle(2, 10, 8, 16);
    const Case cases[] = {
        {"fill inside", 5, 5, clRed},         {"fill right edge", 6, 5, clWhite}, {"fill bottom edge", 5, 6, clWhite},
        {"frame corner", 8, 2, clBlue},       {"frame far corner", 11, 5, clBlue}, {"frame inside", 9, 3, clWhite},
        {"frame outside", 12, 5, clWhite},    {"rect pen", 2, 10, clBlack},        {"rect pen far", 7, 15, clBlack},
        {"rect brush", 3, 11, clLime},        {"rect beyond", 8, 15, clWhite},
    };
    for (const Case& k : cases)
        EXPECT_EQ(bmp.Pixel(k.x, k.y), k.expected) << k.what;
}

TEST_F(CanvasTest, SystemColoursResolveToTheFixedLook)
{
    EXPECT_EQ(ColorToRGB(clBtnFace), 0xF0F0F0);
    EXPECT_EQ(ColorToRGB(clHighlight), 0xD77800);
    EXPECT_EQ(ColorToRGB(clInfoBk), 0xE1FFFF);
    EXPECT_EQ(ColorToRGB(cl3DDkShadow), 0x696969);
    TColor col = 0;
    EXPECT_TRUE(ColorFromName(QStringLiteral("navy"), col));
    EXPECT_EQ(col, clNavy);
    EXPECT_FALSE(ColorFromName(QStringLiteral("nosuch"), col));
}

TEST_F(CanvasTest, VerticalGradientRunsFromStartColour)
{
    c->GradientFill(Rect(0, 0, 20, 10), clBlack, RGB(100, 200, 0), gdVertical);
    EXPECT_EQ(bmp.Pixel(0, 0), clBlack);
    EXPECT_EQ(bmp.Pixel(19, 5), RGB(50, 100, 0));
    EXPECT_EQ(bmp.Pixel(0, 9), RGB(90, 180, 0));
    EXPECT_EQ(bmp.Pixel(0, 10), clWhite);
}

TEST(DrawTextTest, WrapsEllipsisAndAlignment)
{
    TCanvas c;  // measuring needs no surface
    c.Font()->SetName(QStringLiteral("Tahoma"));
    c.Font()->SetHeight(-11);
    const int lh = c.TextHeight(QStringLiteral("Wg"));
    const int w = c.TextWidth(QStringLiteral("alpha beta"));
    TRect r = Rect(0, 0, w + 1, 0);
    EXPECT_EQ(c.DrawText(QStringLiteral("alpha beta gamma"), r, DT_WORDBREAK | DT_CALCRECT), 2 * lh);
    EXPECT_EQ(r.Height(), 2 * lh);
    EXPECT_EQ(r.Width(), w);
    r = Rect(0, 0, 1000, 0);
    c.DrawText(QStringLiteral("&File"), r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.Width(), c.TextWidth(QStringLiteral("File")));
    r = Rect(0, 0, 1000, 0);
    c.DrawText(QStringLiteral("&File"), r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(r.Width(), c.TextWidth(QStringLiteral("&File")));

    // drawn: right alignment puts the ink at the right edge, the ellipsis keeps inside
    TBitmap b(100, 20);
    TCanvas* bc = b.Canvas();
    bc->Brush()->SetColor(clWhite);
    bc->FillRect(Rect(0, 0, 100, 20));
    bc->Font()->SetColor(clBlack);
    bc->Brush()->SetStyle(bsClear);
    TRect rr = Rect(0, 0, 100, 20);
    bc->DrawText(QStringLiteral("IIII"), rr, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
    int leftmost = 100;
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 20; ++y)
            if (b.Pixel(x, y) != clWhite)
                leftmost = std::min(leftmost, x);
    EXPECT_GE(leftmost, 100 - bc->TextWidth(QStringLiteral("IIII")));
    EXPECT_LT(leftmost, 100);
    bc->Brush()->SetColor(clWhite);
    bc->FillRect(Rect(0, 0, 100, 20));
    bc->Brush()->SetStyle(bsClear);
    TRect narrow = Rect(0, 0, 40, 20);
    bc->DrawText(QStringLiteral("A very long text that does not fit"), narrow, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    for (int x = 41; x < 100; ++x)
        for (int y = 0; y < 20; ++y)
            ASSERT_EQ(b.Pixel(x, y), clWhite) << x << "," << y;
}

TEST(DrawTextTest, RightToLeftReadingRunsTabbedPiecesFromTheRight)
{
    // "I" then a tab then "WWWW": read right to left, the narrow first piece
    // stands at the line's right end and the wide one left of the stop
    TBitmap b(200, 20);
    TCanvas* bc = b.Canvas();
    auto inkColumns = [&](unsigned Flags) {
        bc->Brush()->SetColor(clWhite);
        bc->FillRect(Rect(0, 0, 200, 20));
        bc->Font()->SetColor(clBlack);
        bc->Brush()->SetStyle(bsClear);
        TRect r = Rect(0, 0, 200, 20);
        bc->DrawText(QStringLiteral("I\tWWWW"), r, Flags | DT_SINGLELINE | DT_EXPANDTABS);
        std::vector<bool> ink(200, false);
        for (int x = 0; x < 200; ++x)
            for (int y = 0; y < 20; ++y)
                if (b.Pixel(x, y) != clWhite)
                    ink[size_t(x)] = true;
        return ink;
    };
    const int lineWidth = [&] {
        TRect m = Rect(0, 0, 200, 20);
        bc->DrawText(QStringLiteral("I\tWWWW"), m, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
        return m.Width();
    }();
    const int iWidth = bc->TextWidth(QStringLiteral("I"));
    const std::vector<bool> ltr = inkColumns(DT_LEFT);
    EXPECT_TRUE(std::any_of(ltr.begin(), ltr.begin() + iWidth + 1, [](bool v) { return v; })) << "the I at the left";
    const int wWidth = bc->TextWidth(QStringLiteral("WWWW"));
    ASSERT_GT(lineWidth - iWidth - wWidth, 6) << "a tab gap between the pieces";
    const std::vector<bool> rtl = inkColumns(DT_LEFT | DT_RTLREADING);
    EXPECT_TRUE(std::any_of(rtl.begin(), rtl.begin() + 3, [](bool v) { return v; })) << "the wide piece first";
    EXPECT_FALSE(std::any_of(rtl.begin() + wWidth + 2, rtl.begin() + lineWidth - iWidth - 2, [](bool v) { return v; }))
        << "then the gap";
    EXPECT_TRUE(std::any_of(rtl.begin() + lineWidth - iWidth - 1, rtl.begin() + lineWidth + 1, [](bool v) { return v; }))
        << "the I at the right end of the line";
    const std::vector<bool> mirrored = inkColumns(DT_RIGHT | DT_RTLREADING);
    EXPECT_TRUE(std::any_of(mirrored.end() - iWidth - 1, mirrored.end(), [](bool v) { return v; }));
}

TEST(BitmapTest, TransparentDrawLeavesOutTheBottomLeftColour)
{
    TBitmap glyph(4, 4);
    glyph.Canvas()->Brush()->SetColor(clFuchsia);
    glyph.Canvas()->FillRect(Rect(0, 0, 4, 4));
    glyph.SetPixel(1, 1, clBlue);
    glyph.SetTransparent(true);
    EXPECT_EQ(glyph.TransparentColor(), clFuchsia);
    TBitmap target(4, 4);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(Rect(0, 0, 4, 4));
    target.Canvas()->Draw(0, 0, &glyph);
    EXPECT_EQ(target.Pixel(1, 1), clBlue);
    EXPECT_EQ(target.Pixel(2, 2), clWhite);
}
