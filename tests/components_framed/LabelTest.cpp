// The framed label: angles, automatic size with borders and shadow, condensed
// captions and the hover colour.
#include "components/framed/FcLabel.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

struct LabelForm {
    LabelForm()
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 300, 200);
        label = new TFcLabel(form.get());
        label->SetParent(form.get());
        label->SetCaption(QStringLiteral("Lähtö 10.00"));
        form->AfterConstruction();
    }
    std::unique_ptr<TForm> form;
    TFcLabel* label;
};

}  // namespace

TEST(LabelTest, AnglesAndRotation)
{
    LabelForm f;
    f.label->SetAngle(-90);
    EXPECT_EQ(f.label->Angle(), 270);
    EXPECT_EQ(f.label->Rotation(), roFlat) << "a non-zero angle turns the text";
    f.label->SetAngle(450);
    EXPECT_EQ(f.label->Angle(), 90);
    f.label->SetRotation(roNone);
    EXPECT_EQ(f.label->Angle(), 0);
}

TEST(LabelTest, AutoSizeWithShadowAndBorders)
{
    LabelForm f;
    const int w = f.label->Width(), h = f.label->Height();
    f.label->SetTextStyle(tsShadow);
    f.label->AdjustBounds();
    EXPECT_EQ(f.label->Width(), w + 2);
    EXPECT_EQ(f.label->Height(), h + 2);
    f.label->SetTextStyle(TTextStyle::tsNormal);
    f.label->SetBorderOuter(fsFlat);
    f.label->SetBorderWidth(3);
    f.label->AdjustBounds();
    EXPECT_EQ(f.label->Width(), w + 2 * (1 + 3));
    EXPECT_EQ(f.label->Height(), h + 2 * (1 + 3));
    f.label->SetCondenseCaption(ccAtEnd);
    EXPECT_FALSE(f.label->AutoSize());
}

TEST(LabelTest, HoverColourIsPutBack)
{
    LabelForm f;
    f.label->Font()->SetColor(clNavy);
    f.label->SetFlyByEnabled(true);
    f.label->SetFlyByColor(clRed);
    TControl* c = f.label;
    c->MouseEnter();
    EXPECT_EQ(f.label->Font()->Color(), clRed);
    c->MouseLeave();
    EXPECT_EQ(f.label->Font()->Color(), clNavy);
}

TEST(LabelTest, TransparentCentredTextOverTheParent)
{
    LabelForm f;
    f.form->SetColor(clWhite);
    f.label->SetAutoSize(false);
    f.label->SetBounds(0, 0, 200, 40);
    f.label->SetAlignment(taCenter);
    f.label->SetWordWrap(true);
    f.label->SetTransparent(false);
    f.label->SetColor(clYellow);
    f.label->Font()->SetColor(clRed);
    TBitmap shot;
    f.label->PaintTo(&shot);
    EXPECT_EQ(shot.Pixel(2, 35), clYellow) << "not transparent: filled first";
    bool red = false;
    for (int x = 60; x < 140 && !red; ++x)
        for (int y = 0; y < 20 && !red; ++y)
            red = GetRValue(shot.Pixel(x, y)) > 200 && GetGValue(shot.Pixel(x, y)) < 80;
    EXPECT_TRUE(red) << "the caption in the middle";
}
