// The shared glyph set, custom glyphs, enlargement steps and the grid look styles.
#include "components/base/rGlyphs.h"
#include "components/base/rdlg.h"
#include "components/base/rdlg_baseform.h"

#include <gtest/gtest.h>

namespace {

class GlyphsTest : public ::testing::Test {
protected:
    void SetUp() override { LoadStandardGlyphs(); }
    void TearDown() override { ParioCompConfig.Global_CustomGlyphs = nullptr; }
};

TBitmap Solid(int W, int H, TColor C)
{
    TBitmap b(W, H);
    b.Canvas()->Brush()->SetColor(C);
    b.Canvas()->FillRect(Rect(0, 0, W, H));
    return b;
}

TEST_F(GlyphsTest, EveryStandardGlyphLoadsFromTheProgramResources)
{
    ASSERT_EQ(rGlyphs.BmpArray.size(), 36u);
    for (int i = 0; i < StandardGlyphCount; ++i) {
        const TBitmap* b = rGlyphs.BmpArray[size_t(i)].get();
        SCOPED_TRACE(rResName[size_t(i)]);
        EXPECT_GT(b->Width(), 0);
        EXPECT_GT(b->Height(), 0);
        EXPECT_EQ(b->Transparent(), i != 2 && i != 3);
    }
    // the sizes the resource names promise
    EXPECT_EQ(rGlyphs.BmpArray[28]->Width(), 12);  // RBTNCBADD12
    EXPECT_EQ(rGlyphs.BmpArray[30]->Width(), 10);  // RBTNFORMAT10
    EXPECT_EQ(rGlyphs.BmpArray[32]->Width(), 16);  // RBTNSEEK16
    EXPECT_EQ(rGlyphs.BmpArray[35]->Height(), 12);  // RDBLOOKUPSELECT12
    EXPECT_FALSE(rGlyphs.StyleBmp->Transparent());
}

TEST_F(GlyphsTest, UnscaledLookupReturnsTheStandardBitmapItself)
{
    EXPECT_EQ(rGlyphs.BmpFromIndex(5, 1.0, nullptr), rGlyphs.BmpArray[5].get());
    EXPECT_EQ(rGlyphs.BmpFromIndex(0, 1.49, nullptr), rGlyphs.BmpArray[0].get());
    EXPECT_EQ(rGlyphs.BmpFromIndex(101, 2.0, nullptr), nullptr);
    EXPECT_EQ(rGlyphs.BmpFromIndex(36, 1.0, nullptr), nullptr);
    EXPECT_EQ(rGlyphs.BmpFromIndex(-1, 1.0, nullptr), nullptr);
}

TEST_F(GlyphsTest, EnlargementGoesInHalfSteps)
{
    const TBitmap* sort = rGlyphs.BmpArray[0].get();
    const int w = sort->Width(), h = sort->Height();
    struct Case {
        double Ratio, Factor;
    };
    for (Case c : {Case{1.5, 1.5}, Case{1.75, 1.5}, Case{1.99, 1.5}, Case{2.0, 2.0}, Case{2.49, 2.0}, Case{3.1, 3.0}}) {
        SCOPED_TRACE(c.Ratio);
        TBitmap* b = rGlyphs.BmpFromIndex(0, c.Ratio, nullptr);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b, rGlyphs.ResizedBmp.get());
        EXPECT_EQ(b->Width(), int(std::nearbyint(w * c.Factor)));
        EXPECT_EQ(b->Height(), int(std::nearbyint(h * c.Factor)));
        EXPECT_TRUE(b->Transparent());
    }
    EXPECT_DOUBLE_EQ(rGlyphs.RecalcScaleRatio(1.49), 1.0);
    EXPECT_DOUBLE_EQ(rGlyphs.RecalcScaleRatio(std::nan("")), 1.0);
    EXPECT_DOUBLE_EQ(rGlyphs.RecalcScaleRatio(2.7), 2.5);
}

TEST_F(GlyphsTest, EnlargedGlyphLeavesOutTheSamePixels)
{
    TBitmap* src = rGlyphs.BmpArray[18].get();  // current-record triangle
    const TColor key = src->TransparentColor();
    std::vector<bool> keyed;
    for (int y = 0; y < src->Height(); ++y)
        for (int x = 0; x < src->Width(); ++x)
            keyed.push_back(src->Pixel(x, y) == key);
    TBitmap* big = rGlyphs.BmpFromIndex(18, 2.0, nullptr);
    ASSERT_EQ(big->Width(), src->Width() * 2);
    EXPECT_EQ(big->TransparentColor(), key);
    for (int y = 0; y < src->Height(); ++y)
        for (int x = 0; x < src->Width(); ++x)
            EXPECT_EQ(big->Pixel(2 * x + 1, 2 * y + 1) == key, keyed[size_t(y * src->Width() + x)]) << x << "," << y;
}

TEST_F(GlyphsTest, CustomGlyphsWinOverGlobalOnesAndStandardOnes)
{
    TrCustomGlyphs own(nullptr), global(nullptr);
    const TBitmap red = Solid(7, 7, clRed), blue = Solid(5, 5, clBlue), empty;
    own.SetMemo(&red);
    global.SetGlyph(TrCustomGlyphs::gMemo, &blue);
    global.SetGlyph(TrCustomGlyphs::gBtnEllipsis, &blue);
    global.SetGlyph(TrCustomGlyphs::gSortUp, &empty);  // width 0: ignored
    EXPECT_TRUE(own.Memo()->Transparent());
    EXPECT_EQ(rGlyphs.BmpFromIndex(8, 1.0, &own), own.Memo());
    EXPECT_EQ(rGlyphs.BmpFromIndex(8, 1.0, nullptr), rGlyphs.BmpArray[8].get());
    global.SetUseAsGlobalGlyphs(true);
    EXPECT_EQ(ParioCompConfig.Global_CustomGlyphs, &global);
    EXPECT_EQ(rGlyphs.BmpFromIndex(9, 1.0, nullptr), global.Memo());
    EXPECT_EQ(rGlyphs.BmpFromIndex(7, 1.0, &own), own.Memo());
    EXPECT_EQ(rGlyphs.BmpFromIndex(101, 1.0, nullptr), global.BtnEllipsis());
    EXPECT_EQ(rGlyphs.BmpFromIndex(0, 1.0, nullptr), rGlyphs.BmpArray[0].get());
    // indexes that cannot be replaced
    TrCustomGlyphs all(nullptr);
    for (int g = 0; g < TrCustomGlyphs::GlyphCount; ++g)
        all.SetGlyph(TrCustomGlyphs::TGlyph(g), &red);
    for (int i : {16, 17, 18, 19, 20, 21, 22, 23, 28, 29, 32, 33})
        EXPECT_EQ(rGlyphs.BmpFromIndex(i, 1.0, &all), rGlyphs.BmpArray[size_t(i)].get()) << i;
    // unsetting the flag keeps the reference; freeing the component clears it
    global.SetUseAsGlobalGlyphs(false);
    EXPECT_EQ(ParioCompConfig.Global_CustomGlyphs, &global);
    {
        TrCustomGlyphs temp(nullptr);
        temp.SetUseAsGlobalGlyphs(true);
    }
    EXPECT_EQ(ParioCompConfig.Global_CustomGlyphs, nullptr);
}

TEST_F(GlyphsTest, StyleCheckboxReplacesBothCheckGlyphs)
{
    rGlyphs.UseStyleCheckbox = true;
    TBitmap* b = rGlyphs.BmpFromIndex(3, 1.0, nullptr);
    EXPECT_EQ(b, rGlyphs.StyleBmp.get());
    EXPECT_EQ(b->Width(), 12);
    EXPECT_EQ(rGlyphs.BmpFromIndex(2, 2.0, nullptr)->Width(), 24);
    rGlyphs.UseStyleCheckbox = false;
    EXPECT_EQ(rGlyphs.BmpFromIndex(3, 1.0, nullptr), rGlyphs.BmpArray[3].get());
}

TEST_F(GlyphsTest, IndexRules)
{
    EXPECT_EQ(TrGlyphsRec::SortIndex(true), 1);
    EXPECT_EQ(TrGlyphsRec::CheckIndex(false), 2);
    EXPECT_EQ(TrGlyphsRec::MemoIndex(true, glsFlatGray), 6);
    EXPECT_EQ(TrGlyphsRec::MemoIndex(false, glsStandard), 7);
    EXPECT_EQ(TrGlyphsRec::PictureIndex(true, glsFlatBlack), 11);
    EXPECT_EQ(TrGlyphsRec::PictureIndex(false, glsFlatGray), 15);
    EXPECT_EQ(TrGlyphsRec::FilterIndex(true), 25);
    EXPECT_EQ(TrGlyphsRec::FilterBarIndex(false), 26);
    EXPECT_EQ(TrGlyphsRec::TitleExIndex(true), 17);
    EXPECT_EQ(TrGlyphsRec::EllipsisIndex(), 101);
    struct Ind {
        bool Active, Selected, ReadOnly;
        TDataSetState State;
        int Expected;
    };
    for (Ind c : {Ind{false, false, true, dsBrowse, -1}, Ind{false, true, false, dsEdit, 22}, Ind{true, true, false, dsBrowse, 23},
                  Ind{true, true, false, dsEdit, 19}, Ind{true, false, true, dsInsert, 20}, Ind{true, false, true, dsBrowse, 21},
                  Ind{true, false, false, dsBrowse, 18}})
        EXPECT_EQ(TrGlyphsRec::RecordIndicatorIndex(c.Active, c.Selected, c.ReadOnly, c.State), c.Expected);
    EXPECT_EQ(TrGlyphsRec::ButtonIndex(QStringLiteral("seek")), 32);
    EXPECT_EQ(TrGlyphsRec::ButtonIndex(QStringLiteral("12")), 35);
    EXPECT_EQ(TrGlyphsRec::ButtonIndex(QStringLiteral("xyz")), -1);
}

TEST_F(GlyphsTest, SortAndFilterWidthsFollowTheStandardBitmaps)
{
    const int sort = std::max(rGlyphs.BmpArray[0]->Width(), rGlyphs.BmpArray[1]->Width());
    const int filter = std::max(rGlyphs.BmpArray[24]->Width(), rGlyphs.BmpArray[25]->Width());
    EXPECT_EQ(rGlyphs.SortWidth(1.0), sort);
    EXPECT_EQ(rGlyphs.SortWidth(1.6), int(std::nearbyint(1.5 * sort)));
    EXPECT_EQ(rGlyphs.FilterWidth(2.2), 2 * filter);
    // custom glyphs do not change the widths
    TrCustomGlyphs g(nullptr);
    const TBitmap wide = Solid(40, 4, clRed);
    g.SetGlyph(TrCustomGlyphs::gSortUp, &wide);
    g.SetUseAsGlobalGlyphs(true);
    EXPECT_EQ(rGlyphs.SortWidth(1.0), sort);
}

TEST(GridLookStyles, TableHoldsFourteenStylesBuiltFromTheDefault)
{
    InitGridThemeColors();
    QStringList names{QStringLiteral("junk")};
    LoadGridLookStyleList(names);
    ASSERT_EQ(names.size(), 14);
    EXPECT_EQ(names.front(), QStringLiteral("(default)"));
    EXPECT_EQ(names[grsBlueNavy], QStringLiteral("Blue Nave"));
    EXPECT_EQ(names.back(), QStringLiteral("Khaki"));
    const TGridLookStyleDef& def = GridLookStyleDefs[grs_Default];
    EXPECT_EQ(def.GradientStartColor, 0xFFFFFF);
    EXPECT_EQ(def.TextBkColorActiveRow, clInfoBk);
    EXPECT_EQ(def.TextBkColorOddRow, clNone);
    const TGridLookStyleDef& office = GridLookStyleDefs[grsBlueOffice];
    EXPECT_EQ(office.TitleFontColor, clWindowText);  // kept from the default
    EXPECT_EQ(office.TextFontColor, 0x333333);
    EXPECT_EQ(office.TextBkColorActiveRow, 0x4EB3FE);
    EXPECT_EQ(office.TextBkColorOddRow, clNone);
    const TGridLookStyleDef& khaki = GridLookStyleDefs[grsKhaki];
    EXPECT_EQ(khaki.TitleFontColor, 0xBBD9D9);
    EXPECT_EQ(khaki.TextFontColor, 0x33444D);
    EXPECT_EQ(GridLookStyleDefs[grsOrange].TextBkColorOddRow, 0xEFF3F7);
}

TEST(DialogIcons, MessageDialogFormCarriesItsFourIcons)
{
    TrDlgForm f(nullptr);
    for (TImage* img : {f.imgI, f.imgQ, f.imgW, f.imgE}) {
        EXPECT_EQ(img->Picture()->Width(), 48);
        EXPECT_EQ(img->Picture()->Height(), 48);
    }
    EXPECT_EQ(f.ImgDlgBtn->Count(), 3);
    EXPECT_EQ(f.ImgDlgBtn->Width(), 24);
    TrDlgBaseForm base(nullptr);
    EXPECT_EQ(base.ImgDlgEna->Count(), 3) << "Ok, Cancel, Close";
    EXPECT_EQ(base.ImgZoomEna->Count(), 3) << "fit, in, out";
    EXPECT_EQ(base.btCancel->ImageIndex, 1);
    EXPECT_EQ(base.ClientWidth(), 413);
    EXPECT_EQ(base.ClientHeight(), 217);
    // Rescaled for a larger screen from the images as loaded; the list's
    // users hear of it once, not once per image.
    int changes = 0, clientChanges = 0;
    base.ImgZoomEna->OnChange = [&] { ++changes; };
    base.ImgZoomEna->RegisterChanges(&clientChanges, [&] { ++clientChanges; });
    base.ImgZoomEna->ResizeImages(2.0);
    EXPECT_EQ(base.ImgZoomEna->Width(), 32);
    EXPECT_EQ(base.ImgZoomEna->Count(), 3);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(clientChanges, 1);
    base.ImgZoomEna->UnRegisterChanges(&clientChanges);
    base.ImgZoomEna->OnChange = nullptr;
    // A disabled Ok shows the images of the disabled list, none when there is none.
    base.btOk->SetEnabled(false);
    EXPECT_EQ(base.btOk->Images, nullptr);
    base.btOk->SetEnabled(true);
    EXPECT_EQ(base.btOk->Images, base.ImgDlgEna);
}

TEST(DialogIcons, MessageButtonsShowTheirImagesByButtonSet)
{
    std::vector<int> seen;
    auto old = SetModalHook([&](TCustomForm* dlg) {
        for (TButton* b : static_cast<TrDlgForm*>(dlg)->Buttons)
            seen.push_back(b->ImageIndex);
        return int(mrCancel);
    });
    ShowDlg(dtQuestion, btnYesNoCancel, {QStringLiteral("?")}, true);
    ShowDlg(dtNone, btnCustom2, {QStringLiteral("@1A"), QStringLiteral("@2B"), QStringLiteral("x")}, true);
    SetModalHook(old);
    EXPECT_EQ(seen, (std::vector<int>{0, 2, 1, -1, -1}));
}

}  // namespace
