// The tool bar's layout arithmetic: rows, wrapping, the overflow button,
// text options and the saved layout.
#include "components/framed/FcRegIniFile.h"
#include "components/framed/FcToolbar.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct BarForm {
    explicit BarForm(int Buttons = 6)
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 400, 300);
        bar = new TFcToolbar(form.get());
        bar->SetName(QStringLiteral("tbMain"));
        bar->SetParent(form.get());
        bar->SetAlign(alNone);
        bar->SetBounds(0, 0, 400, 32);
        bar->SetRowHeight(48);
        for (int i = 0; i < Buttons; ++i) {
            auto* s = new TFcSpacer(form.get());
            s->SetName(QStringLiteral("btn%1").arg(i));
            s->SetParent(bar);
            s->SetBounds(0, 0, 72, 40);
            buttons.push_back(s);
        }
        form->AfterConstruction();
        bar->SetAlign(alTop);
        bar->SetWidth(400);
        bar->PositionControls();
    }
    std::unique_ptr<TForm> form;
    TFcToolbar* bar;
    std::vector<TFcSpacer*> buttons;
};

}  // namespace

TEST(ToolbarTest, WrapsToASecondRowAndFitsItsHeight)
{
    BarForm f;
    ASSERT_EQ(f.bar->ToolbarControls()->Count(), 6);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(f.buttons[size_t(i)]->Left(), 4 + 72 * i);
        EXPECT_EQ(f.buttons[size_t(i)]->Top(), 2 + 24 - 20);
    }
    EXPECT_EQ(f.buttons[5]->Left(), 4);
    EXPECT_EQ(f.buttons[5]->Top(), 48 + 2 + 24 - 20);
    EXPECT_EQ(f.bar->Height(), 2 * 48 + 4);
    // an invisible control takes no room
    f.buttons[1]->SetVisible(false);
    f.bar->PositionControls();
    EXPECT_EQ(f.buttons[5]->Left(), 4 + 72 * 4);
    EXPECT_EQ(f.bar->Height(), 48 + 4);
}

TEST(ToolbarTest, FirstControlNeverWrapsAndFreedControlsLeaveTheList)
{
    BarForm f(2);
    f.buttons[0]->SetWidth(500);
    f.bar->PositionControls();
    EXPECT_EQ(f.buttons[0]->Left(), 4);
    EXPECT_EQ(f.buttons[0]->Top(), 2 + 24 - 20) << "still on the first row";
    EXPECT_EQ(f.buttons[1]->Top(), 48 + 2 + 24 - 20);
    delete f.buttons[0];
    EXPECT_EQ(f.bar->ToolbarControls()->Count(), 1);
    EXPECT_EQ(f.buttons[1]->Left(), 4) << "the rest close up";
}

TEST(ToolbarTest, OverflowButtonWithoutWrapping)
{
    BarForm f;
    f.bar->SetWrapControls(false);
    f.bar->PositionControls();
    EXPECT_EQ(f.buttons[5]->Left(), 4 + 72 * 5) << "one row";
    EXPECT_EQ(f.bar->Height(), 48 + 4);
    ASSERT_TRUE(f.bar->ShowToolbarPopupButton());
    TFcToolbarPopupButton* overflow = f.bar->ToolbarPopupButton();
    EXPECT_EQ(overflow->BoundsRect(), Rect(400 - 14, 0, 400, f.bar->Height()));
    EXPECT_EQ(overflow->HiddenControls().size(), 1u);
    EXPECT_EQ(f.bar->InvalidateMarginSize(), Point(15, 1));
    f.form->SetWidth(700);
    f.bar->PositionControls();
    EXPECT_FALSE(f.bar->ShowToolbarPopupButton()) << "gone once the bar is wide enough";
}

TEST(ToolbarTest, OverflowOfARightToLeftBarOffersTheButtonsCutOffAtTheLeft)
{
    BarForm f;
    f.bar->SetWrapControls(false);
    f.bar->SetBiDiMode(bdRightToLeft);
    f.bar->PositionControls();
    ASSERT_TRUE(f.bar->ShowToolbarPopupButton());
    ASSERT_LT(f.buttons[5]->Left(), f.bar->Margin()) << "the last button runs off the left edge";
    const std::vector<TControl*> hidden = f.bar->ToolbarPopupButton()->HiddenControls();
    EXPECT_EQ(hidden, std::vector<TControl*>{f.buttons[5]});
}

TEST(ToolbarTest, OverflowButtonGoesWhenNoListedControlIsVisible)
{
    BarForm f;
    f.bar->SetWrapControls(false);
    f.bar->PositionControls();
    ASSERT_TRUE(f.bar->ShowToolbarPopupButton());
    for (TFcSpacer* b : f.buttons)
        b->SetVisible(false);
    f.bar->PositionControls();
    EXPECT_FALSE(f.bar->ShowToolbarPopupButton());
}

TEST(ToolbarTest, AGrowingBarTakesItsButtonsWithTheMarginAndOverflowsNothing)
{
    BarForm f;
    f.bar->SetWrapControls(false);
    f.bar->PositionControls();
    ASSERT_TRUE(f.bar->ShowToolbarPopupButton());
    f.bar->SetAutoSize(true);
    f.bar->PositionControls();
    EXPECT_EQ(f.bar->Width(), 400) << "aligned to the top, the form keeps its width";
    EXPECT_FALSE(f.bar->ShowToolbarPopupButton()) << "a bar that grows shows no overflow button";
    f.bar->SetAlign(alNone);
    f.bar->PositionControls();
    EXPECT_EQ(f.bar->Width(), 4 + 6 * 72 + 4) << "the room after the last button is the margin";
    f.buttons[5]->SetVisible(false);
    EXPECT_EQ(f.bar->Width(), 4 + 5 * 72 + 4) << "a hidden button gives its room back";
}

TEST(ToolbarTest, TextOptions)
{
    BarForm f(1);
    f.bar->SetTextOptions(ttoShowTextLabels);
    EXPECT_EQ(f.bar->ButtonWidth(), 60);
    EXPECT_EQ(f.bar->ButtonHeight(), 40);
    EXPECT_EQ(f.bar->ButtonLayout(), blGlyphTop);
    EXPECT_TRUE(f.bar->ShowButtonCaptions());
    EXPECT_EQ(f.bar->RowHeight(), 40);
    EXPECT_EQ(f.bar->TextOptions(), ttoShowTextLabels);
    f.bar->SetButtonWidth(70);
    EXPECT_EQ(f.bar->TextOptions(), ttoCustom);
    f.bar->SetTextOptions(ttoNoTextLabels);
    EXPECT_EQ(f.bar->RowHeight(), 25);
    EXPECT_FALSE(f.bar->ShowButtonCaptions());
}

TEST(ToolbarTest, SavedLayoutOrderAndVisibility)
{
    BarForm f;
    QTemporaryDir dir;
    TFcRegIniFile ini(nullptr);
    ini.SetPath(dir.filePath(QStringLiteral("bars.ini")));
    EXPECT_THROW(f.bar->SaveLayout(), ENoRegIniFile);
    f.bar->SetRegIniFile(&ini);
    f.buttons[2]->SetVisible(false);
    f.bar->SaveLayout();
    EXPECT_EQ(ini.ReadString(QStringLiteral("tbMain"), QStringLiteral("Control2"), QString()), QStringLiteral("##btn2"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("tbMain"), QStringLiteral("Count"), 0), 6);

    f.buttons[2]->SetVisible(true);
    ini.WriteString(QStringLiteral("tbMain"), QStringLiteral("Control0"), QStringLiteral("btn5"));
    ini.WriteString(QStringLiteral("tbMain"), QStringLiteral("Control5"), QStringLiteral("btn0"));
    f.bar->RestoreLayout();
    EXPECT_EQ(f.bar->ToolbarControls()->Items(0).Control, f.buttons[5]);
    EXPECT_FALSE(f.buttons[2]->Visible()) << "\"##\" hides the control";
    EXPECT_EQ(f.buttons[5]->Left(), 4);

    // a stored count that differs from the bar's list changes nothing
    ini.WriteInteger(QStringLiteral("tbMain"), QStringLiteral("Count"), 5);
    f.buttons[2]->SetVisible(true);
    f.bar->RestoreLayout();
    EXPECT_TRUE(f.buttons[2]->Visible());
    f.bar->SetRegIniFile(nullptr);
}

namespace {

class CountingToolbar : public TFcToolbar {
public:
    using TFcToolbar::TFcToolbar;
    void Invalidate() override
    {
        ++Invalidations;
        TFcToolbar::Invalidate();
    }
    int Invalidations = 0;
};

}  // namespace

TEST(ToolbarTest, ImageListsRepaintTheBarWithoutTakingTheirOwnHandler)
{
    auto form = std::make_unique<TForm>(nullptr);
    auto* bar = new CountingToolbar(form.get());
    bar->SetParent(form.get());
    TImageList images(nullptr), disabled(nullptr), other(nullptr);
    int ownHandler = 0;
    images.OnChange = [&] { ++ownHandler; };
    bar->SetImages(&images);
    bar->SetDisabledImages(&disabled);
    EXPECT_TRUE(bool(images.OnChange)) << "the list keeps its own change handler";
    bar->Invalidations = 0;
    images.SetSize(24, 24);
    EXPECT_EQ(ownHandler, 1);
    EXPECT_EQ(bar->Invalidations, 1) << "a change inside the list repaints the bar";
    disabled.SetSize(24, 24);
    EXPECT_EQ(bar->Invalidations, 2) << "the disabled list too";
    bar->SetImages(&other);
    bar->Invalidations = 0;
    images.SetSize(32, 32);
    EXPECT_EQ(bar->Invalidations, 0) << "a list no longer used calls nothing";
    other.SetSize(32, 32);
    EXPECT_EQ(bar->Invalidations, 1);
    delete bar;  // lists that outlive the bar must not call it any more
    other.SetSize(16, 16);
    disabled.SetSize(16, 16);
    EXPECT_EQ(ownHandler, 2);
}
