// The windowed control's 3-D border (Ctl3D, following the parent as the
// font does) and AutoSize (the control takes its children's box).
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ListBoxes.h"
#include "platform/ui/StdCtrls.h"

#include <QApplication>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct PanelForm {
    PanelForm()
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 400, 300);
        panel = new TPanel(form.get());
        panel->SetParent(form.get());
        panel->SetBounds(10, 10, 200, 150);
        edit = new TEdit(form.get());
        edit->SetParent(panel);
        edit->SetBounds(10, 10, 120, 24);
        list = new TListBox(form.get());
        list->SetParent(panel);
        list->SetBounds(10, 50, 120, 60);
        form->AfterConstruction();
    }
    std::unique_ptr<TForm> form;
    TPanel* panel;
    TEdit* edit;
    TListBox* list;
};

// A control that keeps some room after its last child.
class TRoomyPanel : public TPanel {
public:
    using TPanel::TPanel;
    bool CanAutoSize(int& NewWidth, int& NewHeight) override
    {
        if (!TPanel::CanAutoSize(NewWidth, NewHeight))
            return false;
        NewWidth += 7;
        return true;
    }
};

}  // namespace

TEST(Ctl3DTest, ChildrenFollowTheParentUntilGivenTheirOwn)
{
    PanelForm f;
    EXPECT_TRUE(f.edit->Ctl3D());
    EXPECT_TRUE(f.edit->ParentCtl3D());
    f.panel->SetCtl3D(false);
    EXPECT_FALSE(f.edit->Ctl3D()) << "follows the parent";
    EXPECT_FALSE(f.list->Ctl3D());
    EXPECT_TRUE(f.edit->ParentCtl3D());
    EXPECT_FALSE(f.panel->ParentCtl3D()) << "set on its own";

    f.edit->SetCtl3D(true);
    EXPECT_FALSE(f.edit->ParentCtl3D()) << "given its own";
    f.panel->SetCtl3D(true);
    f.panel->SetCtl3D(false);
    EXPECT_TRUE(f.edit->Ctl3D()) << "no longer follows";
    f.edit->SetParentCtl3D(true);
    EXPECT_FALSE(f.edit->Ctl3D()) << "follows again at once";

    auto* late = new TEdit(f.form.get());
    late->SetParent(f.panel);
    EXPECT_FALSE(late->Ctl3D()) << "a control put on a flat parent is flat";
}

TEST(Ctl3DTest, AFlatBorderIsOneLineInTheFrameColour)
{
    PanelForm f;
    f.form->Show();
    Application->ProcessMessages();
    for (TWinControl* c : {static_cast<TWinControl*>(f.edit), static_cast<TWinControl*>(f.list)}) {
        const int y = c->Height() / 2;
        TBitmap sunken;
        c->PaintTo(&sunken);
        EXPECT_NE(sunken.Pixel(0, y), ColorToRGB(clWindowFrame)) << (c == f.edit ? "edit" : "list");
        c->SetCtl3D(false);
        Application->ProcessMessages();
        TBitmap flat;
        c->PaintTo(&flat);
        EXPECT_EQ(flat.Pixel(0, y), ColorToRGB(clWindowFrame)) << (c == f.edit ? "edit" : "list");
        EXPECT_EQ(flat.Pixel(c->Width() - 1, y), ColorToRGB(clWindowFrame)) << (c == f.edit ? "edit" : "list");
        EXPECT_EQ(flat.Pixel(1, y), ColorToRGB(c->Color())) << "one line only";
        c->SetCtl3D(true);
        Application->ProcessMessages();
        TBitmap back;
        c->PaintTo(&back);
        EXPECT_EQ(back.Pixel(0, y), sunken.Pixel(0, y)) << "the sunken border comes back";
    }
    f.form->Hide();
}

TEST(AutoSizeTest, TheControlTakesItsChildrensBox)
{
    PanelForm f;
    f.panel->SetBorderWidth(3);
    f.panel->SetAutoSize(true);
    // edit 10..130 wide, list down to 110; the border width and the bevel stay round them
    const int edge = 3 + f.panel->BevelWidth();
    EXPECT_EQ(f.panel->Width(), 130 + edge);
    EXPECT_EQ(f.panel->Height(), 110 + edge);

    struct Step {
        const char* what;
        std::function<void()> act;
        int width, height;
    } steps[] = {
        {"a child grows", [&] { f.edit->SetWidth(200); }, 210 + edge, 110 + edge},
        {"a child moves", [&] { f.list->SetTop(100); }, 210 + edge, 160 + edge},
        {"a child hides", [&] { f.list->SetVisible(false); }, 210 + edge, 34 + edge},
        {"a child shows", [&] { f.list->SetVisible(true); }, 210 + edge, 160 + edge},
        {"a filling child does not count", [&] { f.list->SetAlign(alClient); }, 210 + edge, 34 + edge},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(f.panel->Width(), s.width) << s.what;
        EXPECT_EQ(f.panel->Height(), s.height) << s.what;
    }

    f.panel->SetAutoSize(false);
    f.edit->SetWidth(50);
    EXPECT_EQ(f.panel->Width(), 210 + edge) << "off: the size stays";
}

TEST(AutoSizeTest, WithoutChildrenTheSizeStaysAndCanAutoSizeMayAddRoom)
{
    auto form = std::make_unique<TForm>(nullptr);
    auto* empty = new TPanel(form.get());
    empty->SetParent(form.get());
    empty->SetBounds(0, 0, 80, 40);
    form->AfterConstruction();
    empty->SetAutoSize(true);
    EXPECT_EQ(empty->Width(), 80);
    EXPECT_EQ(empty->Height(), 40);

    auto* roomy = new TRoomyPanel(form.get());
    roomy->SetParent(form.get());
    auto* child = new TPanel(form.get());
    child->SetParent(roomy);
    child->SetBounds(5, 5, 30, 20);
    roomy->SetAutoSize(true);
    EXPECT_EQ(roomy->Width(), 35 + roomy->BevelWidth() + 7);
    EXPECT_EQ(roomy->Height(), 25 + roomy->BevelWidth());
}
