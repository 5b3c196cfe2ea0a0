// Tool buttons: groups, the drop-down menu and its reopen guard, settings
// taken from the tool bar, and the image and caption layout arithmetic.
#include "components/framed/FcToolButton.h"
#include "components/framed/FcToolbarButton.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

struct ButtonForm {
    ButtonForm()
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 500, 200);
        bar = new TFcToolbar(form.get());
        bar->SetParent(form.get());
        for (auto*& b : buttons) {
            b = new TFcToolButton(form.get());
            b->SetParent(bar);
        }
        form->AfterConstruction();
    }
    void Press(TFcToolButton* B, int X = 3)
    {
        B->MouseDown(mbLeft, ssLeft, X, 3);
        B->MouseUp(mbLeft, 0, X, 3);
    }
    std::unique_ptr<TForm> form;
    TFcToolbar* bar;
    TFcToolButton* buttons[2];
};

}  // namespace

TEST(ToolButtonTest, GroupedButtons)
{
    ButtonForm f;
    int clicks = 0;
    for (auto* b : f.buttons) {
        b->SetGroupIndex(1);
        b->OnClick = [&](TComponent*) { ++clicks; };
    }
    f.Press(f.buttons[0]);
    EXPECT_TRUE(f.buttons[0]->Down());
    EXPECT_EQ(clicks, 1);
    f.Press(f.buttons[0]);
    EXPECT_TRUE(f.buttons[0]->Down()) << "a down button without AllowAllUp stays down";
    EXPECT_EQ(clicks, 1) << "and fires no click";
    f.Press(f.buttons[1]);
    EXPECT_TRUE(f.buttons[1]->Down());
    EXPECT_FALSE(f.buttons[0]->Down()) << "the other one went up";
    f.buttons[1]->SetAllowAllUp(true);
    EXPECT_TRUE(f.buttons[0]->AllowAllUp()) << "the group shares AllowAllUp";
    f.Press(f.buttons[1]);
    EXPECT_FALSE(f.buttons[1]->Down());
}

TEST(ToolButtonTest, DropDownMenuAndItsReopenGuard)
{
    ButtonForm f;
    TPopupMenu menu(nullptr);
    int popups = 0, clicks = 0;
    auto old = TPopupMenu::PopupHook;
    TPopupMenu::PopupHook = [&](TPopupMenu*) { ++popups; };
    TFcToolButton* b = f.buttons[0];
    b->SetUseToolbarButtonSize(false);
    b->SetBounds(0, 0, 40, 25);
    b->SetToolStyle(tsDropDown);
    EXPECT_EQ(b->Width(), 54);
    b->SetDropDownMenu(&menu);
    b->OnClick = [&](TComponent*) { ++clicks; };
    f.Press(b, 5);
    EXPECT_EQ(popups, 0);
    EXPECT_EQ(clicks, 1) << "the left part clicks";
    f.Press(b, 50);
    EXPECT_EQ(popups, 1) << "the arrow part opens the menu";
    EXPECT_EQ(clicks, 1);
    f.Press(b, 50);
    EXPECT_EQ(popups, 1) << "the press that closed the menu does not reopen it";
    b->OnClick = nullptr;
    b->SetDropDownMenu(&menu);
    f.Press(b, 5);
    EXPECT_EQ(popups, 2) << "without a click handler any press opens it";
    b->SetToolStyle(tsButton);
    EXPECT_EQ(b->Width(), 40) << "back to the width it had";
    TPopupMenu::PopupHook = old;
    b->SetDropDownMenu(nullptr);
}

TEST(ToolButtonTest, FollowsTheToolbarUntilSetItself)
{
    ButtonForm f;
    TFcToolButton* b = f.buttons[0];
    b->SetCaption(QStringLiteral("Uusi"));
    f.bar->SetShowButtonCaptions(true);
    EXPECT_TRUE(b->ShowCaption());
    f.bar->SetButtonWidth(60);
    f.bar->SetButtonHeight(40);
    EXPECT_EQ(b->Width(), 60);
    EXPECT_EQ(b->Height(), 40);
    f.bar->SetVisualStyle(vsGradient);
    EXPECT_EQ(b->VisualStyle(), vsGradient);
    b->SetShowCaption(false);
    f.bar->SetShowButtonCaptions(false);
    f.bar->SetShowButtonCaptions(true);
    EXPECT_FALSE(b->ShowCaption()) << "its own setting wins";
}

TEST(ToolButtonTest, ImageAndCaptionLayout)
{
    ButtonForm f;
    TImageList images(nullptr);
    images.SetSize(32, 32);
    TBitmap pic(32, 32);
    images.Add(&pic);
    TFcToolButton* b = f.buttons[0];
    b->SetImages(&images);
    b->SetImageIndex(0);
    b->SetUseToolbarButtonSize(false);
    b->SetBounds(0, 0, 72, 50);
    b->SetLayout(blGlyphTop);
    b->SetShowCaption(true);
    b->SetVisualStyle(vsGradient);
    b->Font()->SetName(QStringLiteral("Segoe UI"));
    b->Font()->SetHeight(-16);
    b->SetCaption(QStringLiteral("Uusi"));
    TRect image, caption;
    b->GetImageAndCaptionRects(image, caption);
    const int th = caption.Height();
    EXPECT_EQ(image.Top, 2 + (46 - 4 - 32 - th) / 2) << "truncating division";
    EXPECT_EQ(caption.Top, image.Top + 32 + 4);
    if (th == 19) {
        EXPECT_EQ(image.Top, -2);
    }
    EXPECT_EQ(image.Left, 2 + (68 - 32) / 2);

    b->SetShowCaption(false);
    b->SetAlignment(taLeftJustify);
    b->GetImageAndCaptionRects(image, caption);
    EXPECT_EQ(image.Left, 4) << "the block starts Spacing from the left edge";
    EXPECT_EQ(image.Top, 2 + (46 - 32) / 2);
    b->SetAlignment(taCenter);
    b->SetVisualStyle(vsClassic);
    b->MouseDown(mbLeft, ssLeft, 3, 3);
    b->GetImageAndCaptionRects(image, caption);
    EXPECT_EQ(image.TopLeft(), Point(2 + 18 + 1, 2 + 7 + 1)) << "classic: pressed moves right and down";
    b->SetVisualStyle(vsWinXP);
    b->GetImageAndCaptionRects(image, caption);
    EXPECT_EQ(image.TopLeft(), Point(2 + 18 + 1, 2 + 7)) << "visual style: right only";
    b->MouseUp(mbLeft, 0, 3, 3);
    b->SetImages(nullptr);
}

TEST(ToolbarButtonTest, HotGlyphHiddenCaptionActionAndAccelerator)
{
    ButtonForm f;
    auto* b = new TFcToolbarButton(f.form.get());
    b->SetParent(f.bar);
    b->SetCaption(QStringLiteral("&Tulosta"));
    EXPECT_TRUE(b->Flat());
    TBitmap plain(16, 16), hot(32, 16);
    plain.Canvas()->Brush()->SetColor(clGreen);
    plain.Canvas()->FillRect(Rect(0, 0, 16, 16));
    hot.Canvas()->Brush()->SetColor(clRed);
    hot.Canvas()->FillRect(Rect(0, 0, 32, 16));
    b->SetGlyph(&plain);
    b->SetHotGlyph(&hot);
    EXPECT_TRUE(b->UseHotGlyph);
    EXPECT_EQ(b->HotNumGlyphs(), 2) << "a strip of two square cells";
    // under the mouse the hot glyph shows, and the plain one comes back
    static_cast<TControl*>(b)->MouseEnter();
    EXPECT_EQ(b->Glyph()->Pixel(1, 1), clRed);
    static_cast<TControl*>(b)->MouseLeave();
    EXPECT_EQ(b->Glyph()->Pixel(1, 1), clGreen);
    // a hidden caption is kept and comes back
    b->SetShowCaption(false);
    EXPECT_TRUE(b->Caption().isEmpty());
    b->SetCaption(QStringLiteral("&Esikatselu"));
    EXPECT_TRUE(b->Caption().isEmpty());
    b->SetShowCaption(true);
    EXPECT_EQ(b->Caption(), QStringLiteral("&Esikatselu"));
    // the action's caption is left alone with IgnoreActionCaption
    auto* action = new TAction(f.form.get());
    action->SetCaption(QStringLiteral("Toiminto"));
    b->IgnoreActionCaption = true;
    b->SetAction(action);
    EXPECT_EQ(b->Caption(), QStringLiteral("&Esikatselu"));
    // the bar's text options size it directly
    f.bar->UpdateButtonSize(70, 44, false);
    EXPECT_EQ(b->Width(), 70);
    EXPECT_EQ(b->Height(), 44);
    EXPECT_TRUE(b->Caption().isEmpty()) << "captions off";
    f.bar->UpdateButtonSize(70, 44, true);
    EXPECT_EQ(b->Layout(), blGlyphTop);
    // the accelerator: a grouped button goes down, then clicks
    int clicks = 0;
    b->OnClick = [&](TComponent*) { ++clicks; };
    b->SetGroupIndex(3);
    f.form->Show();
    EXPECT_TRUE(b->DialogChar('E', ssAlt));
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(b->DialogChar('Q', ssAlt));
}

TEST(ToolButtonTest, FollowsItsImageListAndHandsItsStateToAnAction)
{
    ButtonForm f;
    TFcToolButton* b = f.buttons[0];
    auto* images = new TImageList(nullptr);
    images->SetSize(16, 16);
    b->SetImages(images);
    EXPECT_TRUE(b->UseToolbarButtonSize());
    images->SetSize(40, 30);  // a change of the list: the button grows to hold its pictures
    EXPECT_GE(b->Width(), 40);
    EXPECT_GE(b->Height(), 30);
    EXPECT_FALSE(b->UseToolbarButtonSize()) << "grown, it keeps a size of its own";
    delete images;
    EXPECT_EQ(b->Images(), nullptr);
    // assigning the button to an action
    TAction action(nullptr);
    b->SetCaption(QStringLiteral("Tulosta"));
    b->SetGroupIndex(1);
    b->SetDown(true);
    b->SetImageIndex(3);
    b->AssignTo(&action);
    EXPECT_TRUE(action.Checked());
    EXPECT_EQ(action.ImageIndex(), 3);
    EXPECT_EQ(action.Caption(), QStringLiteral("Tulosta"));
}
