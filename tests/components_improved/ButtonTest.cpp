// The library's button: images while disabled, and the drop-down menu.
#include "components/base/rButton.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

struct RecordingMenu : TPopupMenu {
    explicit RecordingMenu(TComponent* AOwner) : TPopupMenu(AOwner) {}
    void Popup(int X, int Y) override { At.push_back({X, Y}); }
    std::vector<TPoint> At;
};

}  // namespace

TEST(ButtonTest, DisabledImagesComeAndGoWithTheEnabledState)
{
    auto form = std::make_unique<TForm>(nullptr);
    form->BeginLoading();
    auto* normal = new TImageList(form.get());
    auto* button = new TrButton(form.get());
    button->SetParent(form.get());
    button->Images = normal;
    form->EndLoading();
    button->SetEnabled(false);
    EXPECT_EQ(button->Images, nullptr);  // no disabled images: none shown
    button->SetEnabled(true);
    EXPECT_EQ(button->Images, normal);
    auto* grey = new TImageList(form.get());
    button->SetImagesDisabled(grey);
    button->SetEnabled(false);
    EXPECT_EQ(button->Images, grey);
    delete grey;
    EXPECT_EQ(button->ImagesDisabled(), nullptr);
    EXPECT_EQ(button->Images, nullptr);
}

TEST(ButtonTest, DropDownMenuOpensBelowTheButtonOnALeftPress)
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 300, 200);
    auto* button = new TrButton(form.get());
    button->SetParent(form.get());
    button->SetBounds(20, 30, 90, 25);
    auto* menu = new RecordingMenu(form.get());
    button->DropDownMenu = menu;
    form->Show();
    button->MouseDown(mbRight, ssRight, 5, 5);
    EXPECT_TRUE(menu->At.empty());
    button->MouseDown(mbLeft, ssLeft, 5, 5);
    ASSERT_EQ(menu->At.size(), 1u);
    const TPoint origin = button->ClientToScreen({0, 0});
    EXPECT_EQ(menu->At[0], TPoint(origin.X - 1, origin.Y + 25));
    button->Style = bsSplitButton;
    button->MouseDown(mbLeft, ssLeft, 5, 5);
    EXPECT_EQ(menu->At.size(), 1u);
}
