// The framed panel and group box: frames and client area, the grid, the
// disabling of children, the bottom-aligned panel and the top-line group.
#include "components/framed/FcGroupBox.h"
#include "components/framed/FcPanel.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

struct PanelForm {
    PanelForm()
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 300, 200);
        panel = new TFcPanel(form.get());
        panel->SetParent(form.get());
        panel->SetBounds(10, 10, 100, 60);
        form->AfterConstruction();
    }
    std::unique_ptr<TForm> form;
    TFcPanel* panel;
};

int CountPixels(TBitmap& B, TColor C, const TRect& R)
{
    int n = 0;
    for (int y = R.Top; y < R.Bottom; ++y)
        for (int x = R.Left; x < R.Right; ++x)
            if (B.Pixel(x, y) == ColorToRGB(C))
                ++n;
    return n;
}

}  // namespace

TEST(PanelTest, ChildrenSitInsideTheFrames)
{
    PanelForm f;
    EXPECT_EQ(f.panel->BorderOuter(), fsRaised);
    EXPECT_EQ(f.panel->FixClientRect(Rect(0, 0, 100, 60), true), Rect(2, 2, 98, 58));
    f.panel->SetBorderInner(fsFlat);
    f.panel->SetBorderWidth(3);
    EXPECT_EQ(f.panel->FixClientRect(Rect(0, 0, 100, 60), true), Rect(6, 6, 94, 54));
    f.panel->SetBorderSides(SideBit(sdTop));
    EXPECT_EQ(f.panel->FixClientRect(Rect(0, 0, 100, 60), false), Rect(0, 3, 100, 60));
    auto* child = new TFcPanel(f.form.get());
    child->SetParent(f.panel);
    child->SetAlign(alClient);
    f.panel->Realign();
    EXPECT_EQ(child->BoundsRect(), Rect(3, 6, 97, 57)) << "band all round, frames on the top only";
}

TEST(PanelTest, BandColourAndGrid)
{
    PanelForm f;
    f.panel->SetBorderOuter(fsNone);
    f.panel->SetBorderWidth(2);
    f.panel->SetBorderColor(clGrayText);
    f.panel->SetColor(clWhite);
    f.panel->SetShowGrid(true);
    f.panel->SetGridColor(clRed);
    f.panel->SetBounds(10, 10, 24, 24);
    TBitmap shot;
    f.panel->PaintTo(&shot);
    EXPECT_EQ(shot.Pixel(0, 10), ColorToRGB(clGrayText));
    EXPECT_EQ(shot.Pixel(1, 10), ColorToRGB(clGrayText));
    EXPECT_EQ(shot.Pixel(2, 10), clWhite);
    EXPECT_EQ(CountPixels(shot, clRed, Rect(0, 0, 24, 24)), 4) << "an 8 x 8 grid on 20 x 20 is 2 x 2 dots";
    EXPECT_EQ(shot.Pixel(2 + 8 - 1, 2 + 8 - 1), clRed);
    f.panel->SetGridXSize(0);
    f.panel->PaintTo(&shot);
    EXPECT_EQ(CountPixels(shot, clRed, Rect(0, 0, 24, 24)), 0) << "no columns, no division fault";
}

TEST(PanelTest, DisablingRemembersDisabledChildren)
{
    PanelForm f;
    TFcPanel* kids[3];
    for (auto*& k : kids) {
        k = new TFcPanel(f.form.get());
        k->SetParent(f.panel);
    }
    kids[1]->SetEnabled(false);
    f.panel->SetEnabled(false);
    for (auto* k : kids)
        EXPECT_FALSE(k->Enabled());
    auto* late = new TFcPanel(f.form.get());
    late->SetParent(f.panel);
    late->SetEnabled(false);
    f.panel->SetEnabled(true);
    EXPECT_TRUE(kids[0]->Enabled());
    EXPECT_FALSE(kids[1]->Enabled());
    EXPECT_TRUE(kids[2]->Enabled());
    EXPECT_TRUE(late->Enabled()) << "a child added while disabled is enabled";
}

TEST(PanelTest, BottomAlignedPanelKeepsItsBottom)
{
    PanelForm f;
    f.panel->SetAlign(alBottom);
    const int bottom = f.panel->Top() + f.panel->Height();
    f.panel->SetHeight(f.panel->Height() + 30);
    EXPECT_EQ(f.panel->Top() + f.panel->Height(), bottom);
}

TEST(PanelTest, ResultBoardRowTakesItsBorderColour)
{
    PanelForm f;
    f.panel->SetBorderOuter(fsNone);
    f.panel->SetColor(clBlack);
    f.panel->SetBorderWidth(3);
    f.panel->SetBorderColor(clYellow);
    TBitmap shot;
    f.panel->PaintTo(&shot);
    EXPECT_EQ(shot.Pixel(1, 30), clYellow);
    EXPECT_EQ(shot.Pixel(50, 30), clBlack);
    f.panel->SetBorderColor(clLime);
    f.panel->PaintTo(&shot);
    EXPECT_EQ(shot.Pixel(1, 30), clLime);
}

TEST(GroupBoxTest, TopLineCaptionAndClientArea)
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 300, 200);
    auto* box = new TFcCustomGroupBox(form.get());
    box->SetParent(form.get());
    box->SetBounds(0, 0, 200, 80);
    form->AfterConstruction();
    box->SetGroupStyle(gsTopLine);
    box->SetCaption(QStringLiteral("Tila"));
    box->CaptionFont()->SetStyle(fsBold);
    box->CaptionFont()->SetHeight(-13);
    box->SetColor(clWhite);
    auto* child = new TLabel(form.get());
    child->SetParent(box);
    child->SetAlign(alClient);
    box->Realign();
    TBitmap m(1, 1);
    m.Canvas()->SetFont(*box->Font());
    EXPECT_EQ(child->Top(), m.Canvas()->TextHeight(QStringLiteral("Yy")));
    box->SetVisualStyle(vsClassic);
    TBitmap shot;
    box->PaintTo(&shot);
    m.Canvas()->SetFont(*box->CaptionFont());
    const int t = m.Canvas()->TextHeight(QStringLiteral("Pp"));
    const TRect cap = box->CaptionRect();
    EXPECT_EQ(cap.Left, 0);
    EXPECT_EQ(cap.Right, m.Canvas()->TextWidth(QStringLiteral("Tila")) + 4);
    EXPECT_EQ(shot.Pixel(150, t / 2 - 1), ColorToRGB(clBtnShadow)) << "the groove line";
    EXPECT_EQ(shot.Pixel(150, t / 2), ColorToRGB(clBtnHighlight));
    EXPECT_NE(shot.Pixel(cap.Right - 1, t / 2 - 1), ColorToRGB(clBtnShadow)) << "the caption covers the line";
}
