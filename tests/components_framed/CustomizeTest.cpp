// The tool bar's overflow popup and the customize dialog.
#include "components/framed/FcCustomizeToolbar.h"
#include "components/framed/FcToolbarPopup.h"
#include "platform/ui/PopupHost.h"
#include "tests/support/RealInput.h"

#include "platform/ui/ImgList.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct OverflowForm {
    OverflowForm()
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 300, 200);
        bar = new TFcToolbar(form.get());
        bar->SetName(QStringLiteral("tbMain"));
        bar->SetParent(form.get());
        bar->SetAlign(alNone);
        bar->SetBounds(0, 0, 300, 32);
        for (int i = 0; i < 6; ++i) {
            auto* b = new TFcToolButton(form.get());
            b->SetName(QStringLiteral("btn%1").arg(i + 1));
            b->SetParent(bar);
            b->SetUseToolbarButtonSize(false);
            b->SetBounds(0, 0, 72, 25);
            b->SetCaption(QStringLiteral("Nappi %1").arg(i + 1));
            b->OnClick = [this, i](TComponent*) { clicked = i + 1; };
            buttons.push_back(b);
        }
        spacer = new TFcSpacer(form.get());
        spacer->SetParent(bar);
        form->AfterConstruction();
        bar->SetWrapControls(false);
        bar->PositionControls();
        bar->PositionControls();
    }
    std::unique_ptr<TForm> form;
    TFcToolbar* bar;
    TFcSpacer* spacer;
    std::vector<TFcToolButton*> buttons;
    int clicked = 0;
};

}  // namespace

TEST(OverflowTest, CopiesTheButtonsThatDoNotFit)
{
    OverflowForm f;
    ASSERT_TRUE(f.bar->ShowToolbarPopupButton());
    f.buttons[5]->SetEnabled(false);
    auto old = PopupHostHook;
    QStringList copies;
    bool disabledCopy = false;
    PopupHostHook = [&](TWinControl* Content) {
        auto* bar = dynamic_cast<TFcToolbar*>(Content->Controls(0));
        EXPECT_NE(bar, nullptr);
        TFcPopupToolButton* first = nullptr;
        for (int i = 0; bar && i < bar->ControlCount(); ++i)
            if (auto* copy = dynamic_cast<TFcPopupToolButton*>(bar->Controls(i))) {
                copies << copy->Caption();
                disabledCopy = disabledCopy || !copy->Enabled();
                if (!first)
                    first = copy;
            }
        if (first)
            first->Click();
        return true;
    };
    f.bar->ToolbarPopupButton()->DisplayButtons();
    PopupHostHook = old;
    EXPECT_EQ(copies, QStringList({QStringLiteral("Nappi 5"), QStringLiteral("Nappi 6")}));
    EXPECT_TRUE(disabledCopy) << "a copy of a disabled button stays disabled";
    EXPECT_EQ(f.clicked, 5) << "choosing the copy clicks the fifth button";
}

TEST(OverflowTest, ThePopupFollowsTheBarsReadingOrderAndHintsAndTheCopiesTheirButtons)
{
    OverflowForm f;
    f.bar->SetBiDiMode(bdRightToLeft);
    f.bar->SetShowHint(true);
    f.buttons[4]->Tag = 7;
    f.buttons[4]->SetParentFont(false);
    f.buttons[4]->SetShowHint(false);
    f.bar->PositionControls();
    ASSERT_TRUE(f.bar->ShowToolbarPopupButton());
    auto old = PopupHostHook;
    TFcToolbar* popupBar = nullptr;
    std::vector<TFcPopupToolButton*> copies;
    PopupHostHook = [&](TWinControl* Content) {
        popupBar = dynamic_cast<TFcToolbar*>(Content->Controls(0));
        for (int i = 0; popupBar && i < popupBar->ControlCount(); ++i)
            if (auto* copy = dynamic_cast<TFcPopupToolButton*>(popupBar->Controls(i))) {
                copies.push_back(copy);
                EXPECT_GT(copy->Left(), popupBar->Margin()) << "laid out from the right like the bar";
            }
        if (!popupBar)
            return true;
        EXPECT_EQ(popupBar->BiDiMode(), bdRightToLeft);
        EXPECT_TRUE(popupBar->ShowHint());
        for (TFcPopupToolButton* copy : copies) {
            TFcToolButton* source = copy->MappedButton();
            EXPECT_EQ(copy->Tag, source->Tag) << copy->Caption().toStdString();
            EXPECT_EQ(copy->BiDiMode(), source->BiDiMode()) << copy->Caption().toStdString();
            EXPECT_EQ(copy->ParentBiDiMode(), source->ParentBiDiMode()) << copy->Caption().toStdString();
            EXPECT_EQ(copy->ParentFont(), source->ParentFont()) << copy->Caption().toStdString();
            EXPECT_EQ(copy->ShowHint(), source->ShowHint()) << copy->Caption().toStdString();
            EXPECT_EQ(copy->ParentShowHint(), source->ParentShowHint()) << copy->Caption().toStdString();
        }
        return true;
    };
    f.bar->ToolbarPopupButton()->DisplayButtons();
    PopupHostHook = old;
    ASSERT_NE(popupBar, nullptr);
    EXPECT_EQ(copies.size(), 2u);
}

TEST(OverflowTest, TheCopiesHintsPopUpAsTheirButtonsAndTheBarSay)
{
    OverflowForm f;
    f.bar->SetShowHint(false);
    f.buttons[4]->SetHint(QStringLiteral("Viides"));
    f.buttons[4]->SetShowHint(true);
    f.buttons[5]->SetHint(QStringLiteral("Kuudes"));
    f.form->Show();
    ASSERT_TRUE(f.bar->ShowToolbarPopupButton());
    EXPECT_EQ(realinput::RestOn(f.buttons[5]), QString()) << "the bar's hints are off";
    auto old = PopupHostHook;
    QStringList shown;
    PopupHostHook = [&](TWinControl* Content) {
        auto* bar = dynamic_cast<TFcToolbar*>(Content->Controls(0));
        for (int i = 0; bar && i < bar->ControlCount(); ++i)
            if (auto* copy = dynamic_cast<TFcPopupToolButton*>(bar->Controls(i)))
                shown << copy->Caption() + QLatin1Char('=') + realinput::RestOn(copy);
        return true;
    };
    f.bar->ToolbarPopupButton()->DisplayButtons();
    PopupHostHook = old;
    EXPECT_EQ(shown, QStringList({QStringLiteral("Nappi 5=Viides"), QStringLiteral("Nappi 6=")}))
        << "a copy with hints of its own shows them; one following the bar follows the popup's bar";
}

TEST(CustomizeTest, RowsMovesAndVisibility)
{
    OverflowForm f;
    TFcFrmCustomizeToolbar dialog(nullptr);
    dialog.Toolbar = f.bar;
    dialog.CompOwner = f.form.get();
    dialog.UpdateControls(*f.bar->CustomizeCaptions(), false);
    EXPECT_EQ(dialog.Caption(), QStringLiteral("Customize Toolbar"));
    ASSERT_EQ(dialog.LstControls->Count(), 7);
    EXPECT_EQ(dialog.LstControls->Strings(6), QStringLiteral("Spacer"));
    EXPECT_FALSE(dialog.BtnMoveUp->Enabled()) << "the first row cannot move up";
    EXPECT_TRUE(dialog.BtnMoveDown->Enabled());
    EXPECT_FALSE(dialog.CbxTextOptions->Visible());
    dialog.MoveDown();
    EXPECT_EQ(f.bar->ToolbarControls()->Items(1).Control, f.buttons[0]);
    EXPECT_EQ(f.buttons[0]->Left(), 4 + 72) << "the bar laid out again";
    dialog.LstControls->SetItemIndex(0);
    dialog.LstControls->ToggleCheckState();
    EXPECT_FALSE(f.buttons[1]->Visible()) << "unchecking hides the control";
    EXPECT_EQ(f.buttons[0]->Left(), 4) << "and the gap closes";
    dialog.LstControls->SetItemIndex(6);
    dialog.LstControls->Click();
    EXPECT_FALSE(dialog.BtnMoveDown->Enabled()) << "the last row cannot move down";
    // dragging the row of button 3 onto the first row
    const TRect from = dialog.LstControls->ItemRect(2), to = dialog.LstControls->ItemRect(0);
    TControl* list = dialog.LstControls;
    list->MouseDown(mbLeft, ssLeft, from.Left + 40, from.Top + 3);
    list->MouseUp(mbLeft, 0, to.Left + 40, to.Top + 3);
    EXPECT_EQ(f.bar->ToolbarControls()->Items(0).Control, f.buttons[2]);
    EXPECT_EQ(dialog.LstControls->Strings(0), QStringLiteral("Nappi 3"));
    f.bar->CustomizeCaptions()->SetCaption(1, QStringLiteral("Muokkaa työkaluriviä"));
    EXPECT_TRUE(f.bar->CustomizeCaptions()->StoreCaptions());
    dialog.UpdateControls(*f.bar->CustomizeCaptions(), true);
    EXPECT_EQ(dialog.Caption(), QStringLiteral("Muokkaa työkaluriviä"));
}

TEST(CustomizeTest, DraggingARowScrollsAtTheEdgeAndDropsIt)
{
    // more rows than the list shows, so that it has to scroll
    TForm form(nullptr);
    auto* bar = new TFcToolbar(&form);
    bar->SetParent(&form);
    std::vector<TFcToolButton*> buttons;
    for (int i = 0; i < 19; ++i) {
        auto* b = new TFcToolButton(&form);
        b->SetParent(bar);
        b->SetCaption(QStringLiteral("Nappi %1").arg(i + 1));
        buttons.push_back(b);
    }
    form.AfterConstruction();
    TFcFrmCustomizeToolbar dialog(nullptr);
    dialog.Toolbar = bar;
    dialog.CompOwner = &form;
    dialog.UpdateControls(*bar->CustomizeCaptions(), true);
    dialog.Show();
    Application->ProcessMessages();
    QWidget* list = dialog.LstControls->Widget();
    const TRect first = dialog.LstControls->ItemRect(0);
    const QPoint press(first.Left + 60, first.Top + 5);
    QTest::mousePress(list, Qt::LeftButton, {}, press);
    // held in the bottom band, the list scrolls down a row every 100 ms
    const QPoint edge(press.x(), dialog.LstControls->ClientHeight() - 4);
    QTest::mouseMove(list, QPoint(press.x(), press.y() + 30));
    EXPECT_FALSE(dialog.Timer1->Enabled()) << "no scrolling in the middle";
    QTest::mouseMove(list, edge);
    EXPECT_TRUE(dialog.Timer1->Enabled());
    QTest::qWait(450);
    EXPECT_GE(dialog.LstControls->TopIndex(), 2);
    // back in the middle the scrolling stops; the drop lands on the row under the pointer
    const QPoint middle(press.x(), dialog.LstControls->ClientHeight() / 2);
    QTest::mouseMove(list, middle);
    EXPECT_FALSE(dialog.Timer1->Enabled());
    const int target = dialog.LstControls->ItemAtPos(Point(middle.x(), middle.y()), true);
    ASSERT_GT(target, 0);
    QTest::mouseRelease(list, Qt::LeftButton, {}, middle);
    EXPECT_EQ(bar->ToolbarControls()->Items(target).Control, buttons[0]);
    EXPECT_EQ(dialog.LstControls->ItemIndex(), target);
    dialog.Hide();
}

TEST(CustomizeTest, RowsShowTheControlsPictures)
{
    OverflowForm f;
    auto* images = new TImageList(f.form.get());
    images->SetSize(16, 16);
    TBitmap green(16, 16);
    green.Canvas()->Brush()->SetColor(clGreen);
    green.Canvas()->FillRect(Rect(0, 0, 16, 16));
    images->Add(&green);
    f.bar->SetImages(images);
    f.buttons[0]->SetImageIndex(0);
    f.spacer->SetGrooved(true);
    TFcFrmCustomizeToolbar dialog(nullptr);
    dialog.Toolbar = f.bar;
    dialog.CompOwner = f.form.get();
    dialog.UpdateControls(*f.bar->CustomizeCaptions(), true);
    dialog.Show();
    Application->ProcessMessages();
    TBitmap shot;
    dialog.LstControls->PaintTo(&shot);
    const int indent = dialog.LstControls->GlyphWidth() + 8;
    const TRect row0 = dialog.LstControls->ItemRect(0);
    EXPECT_EQ(shot.Pixel(row0.Left + indent + 2 + 8, row0.Top + 2 + 8), clGreen) << "the button's image";
    const TRect spacerRow = dialog.LstControls->ItemRect(6);
    // the grooved spacer's picture: its sunken line in the middle of the cell
    EXPECT_EQ(shot.Pixel(spacerRow.Left + indent + 2 + 7, spacerRow.Top + 2 + 8), ColorToRGB(clBtnShadow));
    dialog.Hide();
}
