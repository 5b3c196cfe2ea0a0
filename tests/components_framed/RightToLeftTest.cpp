// Right-to-left reading order across the framed controls: every family draws
// its text, glyphs, buttons and parts mirrored, and places what it arranges
// from the right edge, while the same control left to right stays as it was.
#include "components/framed/FcButton.h"
#include "components/framed/FcChkLst.h"
#include "components/framed/FcCmboBx.h"
#include "components/framed/FcEdit.h"
#include "components/framed/FcGroupBox.h"
#include "components/framed/FcLabel.h"
#include "components/framed/FcRadChk.h"
#include "components/framed/FcRadGrp.h"
#include "components/framed/FcStatus.h"
#include "components/framed/FcToolButton.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "tests/support/RealInput.h"

#include <QApplication>
#include <QLineEdit>
#include <gtest/gtest.h>
#include <cstdlib>
#include <memory>

namespace {

struct Window {
    Window()
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 420, 300);
    }
    template <class T>
    T* Add(int X, int Y, int W, int H)
    {
        auto* c = new T(form.get());
        c->SetParent(form.get());
        c->SetBounds(X, Y, W, H);
        return c;
    }
    void Show()
    {
        form->AfterConstruction();
        form->Show();
        QApplication::processEvents();
    }
    std::unique_ptr<TForm> form;
};

// The first and last column in Area with ink: pixels clearly darker or lighter
// than the area's top-left one (faces may shade a little, text stands out).
std::pair<int, int> InkColumns(TControl* Control, const TRect& Area)
{
    TBitmap shot;
    Control->PaintTo(&shot);
    int first = -1, last = -1;
    const TColor bg = shot.Pixel(Area.Left, Area.Top);
    for (int x = Area.Left; x < Area.Right; ++x)
        for (int y = Area.Top; y < Area.Bottom; ++y)
            if (const TColor p = shot.Pixel(x, y); std::abs(GetRValue(p) - GetRValue(bg)) + std::abs(GetGValue(p) - GetGValue(bg)) +
                                                         std::abs(GetBValue(p) - GetBValue(bg)) > 150) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    return {first, last};
}

}  // namespace

TEST(RightToLeftTest, ReadingOrderFollowsTheParentUntilSetItself)
{
    Window w;
    auto* panel = w.Add<TFcPanel>(0, 0, 200, 100);
    auto* label = new TFcLabel(w.form.get());
    label->SetParent(panel);
    w.form->SetBiDiMode(bdRightToLeft);
    EXPECT_EQ(panel->BiDiMode(), bdRightToLeft);
    EXPECT_EQ(label->BiDiMode(), bdRightToLeft) << "down through every level";
    EXPECT_TRUE(label->UseRightToLeftAlignment());
    EXPECT_EQ(label->DrawTextBiDiModeFlags(DT_LEFT), DT_RIGHT | DT_RTLREADING);
    EXPECT_EQ(label->DrawTextBiDiModeFlags(DT_RIGHT), DT_LEFT | DT_RTLREADING);
    EXPECT_EQ(label->DrawTextBiDiModeFlags(DT_CENTER), DT_CENTER | DT_RTLREADING);
    label->SetBiDiMode(bdRightToLeftReadingOnly);
    EXPECT_FALSE(label->UseRightToLeftAlignment()) << "reading order only: nothing swaps sides";
    EXPECT_EQ(label->DrawTextBiDiModeFlags(DT_LEFT), DT_RTLREADING);
    w.form->SetBiDiMode(bdLeftToRight);
    EXPECT_EQ(label->BiDiMode(), bdRightToLeftReadingOnly) << "its own mode stays";
    label->SetParentBiDiMode(true);
    EXPECT_EQ(label->BiDiMode(), bdLeftToRight);
}

TEST(RightToLeftTest, TextOfLabelsPanesButtonsAndGroupCaptionsStartsAtTheRight)
{
    Window w;
    auto* label = w.Add<TFcLabel>(0, 0, 200, 20);
    label->SetAutoSize(false);
    label->SetTransparent(false);
    label->SetColor(clWhite);
    label->SetCaption(QStringLiteral("Lähtö"));
    auto* pane = w.Add<TFcStatusPane>(0, 30, 200, 20);
    pane->SetTransparent(false);
    pane->SetFillColor(clWhite);
    pane->SetCaption(QStringLiteral("Valmis"));
    auto* button = w.Add<TFcButton>(0, 60, 200, 25);
    button->SetAlignment(taLeftJustify);
    button->SetThemeAware(false);  // a plain face: only the text differs from it
    button->SetCaption(QStringLiteral("Tallenna"));
    auto* box = w.Add<TFcCustomGroupBox>(0, 100, 200, 80);
    box->SetCaption(QStringLiteral("Sarja"));
    w.Show();
    struct Case {
        TControl* control;
        TRect area;
    } cases[] = {{label, Rect(0, 0, 200, 20)},
                 {pane, Rect(2, 4, 198, 16)},
                 {button, Rect(3, 8, 197, 18)},
                 {box, Rect(0, 0, 200, 5)}};  // above the frame line
    for (const Case& c : cases) {
        const auto [ltrFirst, ltrLast] = InkColumns(c.control, c.area);
        ASSERT_GE(ltrFirst, 0);
        EXPECT_LT(ltrLast, 100) << typeid(*c.control).name() << ": left to right the text starts at the left";
        c.control->SetBiDiMode(bdRightToLeft);
        const auto [rtlFirst, rtlLast] = InkColumns(c.control, c.area);
        EXPECT_GT(rtlFirst, 100) << typeid(*c.control).name() << ": mirrored it ends at the right";
        EXPECT_NEAR(rtlLast, 199 - ltrFirst, 3) << typeid(*c.control).name();
    }
    EXPECT_GT(box->CaptionRect().Left, 100);
    EXPECT_EQ(box->CaptionRect().Right, 200 - 8) << "8 pixels in from the right edge";
}

TEST(RightToLeftTest, GlyphsAndButtonsChangeSides)
{
    Window w;
    auto* check = w.Add<TFcCheckBox>(0, 0, 150, 17);
    check->SetAutoSize(false);
    check->SetCaption(QStringLiteral("Maksettu"));
    auto* edit = w.Add<TFcEdit>(0, 30, 150, 21);
    edit->SetDropButtonVisible(true);
    auto* combo = w.Add<TFcComboBox>(0, 60, 150, 21);
    w.Show();
    edit->SetFocus();  // the check box draws no focus rectangle over its caption
    QApplication::processEvents();
    int x, y;
    check->GetGlyphPosition(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_GT(edit->DropButton()->Left(), 150 / 2);
    EXPECT_GT(combo->ButtonRect().Left, 150 / 2);
    w.form->SetBiDiMode(bdRightToLeft);
    check->GetGlyphPosition(x, y);
    EXPECT_EQ(x, 150 - check->GlyphWidth()) << "the box moves to the right, the caption to its left";
    EXPECT_EQ(check->ControlsAlignment(), taLeftJustify);
    EXPECT_EQ(edit->DropButton()->Left(), 2) << "the drop button takes the left edge";
    EXPECT_TRUE(static_cast<QLineEdit*>(edit->Widget())->alignment() & Qt::AlignRight) << "the text starts at the right";
    EXPECT_LT(combo->ButtonRect().Right, 150 / 2);
    // the caption is painted left of the glyph
    const auto [first, last] = InkColumns(check, Rect(0, 2, 150 - check->GlyphWidth() - 2, 15));
    EXPECT_GT(first, 40);
    EXPECT_LE(last, 150 - check->GlyphWidth());
}

TEST(RightToLeftTest, ArrangedControlsRunFromTheRight)
{
    Window w;
    auto* group = w.Add<TFcRadioGroup>(0, 0, 400, 80);
    group->SetItems({QStringLiteral("Mies"), QStringLiteral("Nainen")});
    group->SetColumns(2);
    group->SetSpaceEvenly(true);
    auto* bar = w.Add<TFcToolbar>(0, 100, 400, 32);
    TFcToolButton* buttons[2];
    for (auto*& b : buttons) {
        b = new TFcToolButton(w.form.get());
        b->SetParent(bar);
    }
    w.Show();
    const int firstLeft = group->Buttons(0)->Left();
    EXPECT_LT(group->Buttons(0)->Left(), group->Buttons(1)->Left());
    EXPECT_LT(buttons[0]->Left(), buttons[1]->Left());
    w.form->SetBiDiMode(bdRightToLeft);
    const int cw = (400 - 8 - 10) / 2;
    EXPECT_EQ(group->Buttons(0)->Left(), group->ClientWidth() - cw - 8) << "the first column at the right";
    EXPECT_GT(group->Buttons(0)->Left(), group->Buttons(1)->Left());
    EXPECT_EQ(group->Buttons(0)->BiDiMode(), bdRightToLeft);
    EXPECT_GT(buttons[0]->Left(), buttons[1]->Left()) << "the tool bar fills from the right";
    EXPECT_EQ(buttons[0]->Left() + buttons[0]->Width(), bar->Width() - bar->Margin());
    buttons[0]->SetToolStyle(tsDropDown);  // wider: the next one moves further left
    EXPECT_EQ(buttons[0]->Left() + buttons[0]->Width(), bar->Width() - bar->Margin());
    EXPECT_LE(buttons[1]->Left() + buttons[1]->Width(), buttons[0]->Left());
    w.form->SetBiDiMode(bdLeftToRight);
    EXPECT_EQ(group->Buttons(0)->Left(), firstLeft);
}

TEST(RightToLeftTest, ToolButtonArrowPartIsAtTheLeft)
{
    Window w;
    auto* bar = w.Add<TFcToolbar>(0, 0, 400, 40);
    auto* b = new TFcToolButton(w.form.get());
    b->SetParent(bar);
    b->SetUseToolbarButtonSize(false);
    b->SetBounds(0, 0, 40, 25);
    b->SetToolStyle(tsDropDown);
    TPopupMenu menu(nullptr);
    b->SetDropDownMenu(&menu);
    int popups = 0, clicks = 0;
    auto old = TPopupMenu::PopupHook;
    TPopupMenu::PopupHook = [&](TPopupMenu*) { ++popups; };
    b->OnClick = [&](TComponent*) { ++clicks; };
    b->SetBiDiMode(bdRightToLeft);
    w.Show();
    realinput::Click(b, QPoint(b->Width() - 5, 10));
    EXPECT_EQ(clicks, 1) << "the right part is the button";
    EXPECT_EQ(popups, 0);
    realinput::Click(b, QPoint(5, 10));
    EXPECT_EQ(popups, 1) << "the left 14 pixels open the menu";
    EXPECT_EQ(clicks, 1);
    TPopupMenu::PopupHook = old;
    b->SetDropDownMenu(nullptr);
    // the arrow's triangle is painted in the left part
    b->SetFlat(false);
    const auto [first, last] = InkColumns(b, Rect(1, b->Height() / 2, 16, b->Height() / 2 + 4));
    EXPECT_GE(first, 2);
    EXPECT_LT(first, 14);
}

TEST(RightToLeftTest, ListItemsCheckBoxesAndCellsMirror)
{
    Window w;
    auto* list = w.Add<TFcCheckList>(0, 0, 300, 200);
    list->AddEx(QStringLiteral("Lähtö\tA"), false, true);
    list->AddEx(QStringLiteral("Maali\tB"), false, true);
    w.Show();
    const TRect item = list->ItemRect(0);
    EXPECT_EQ(list->CheckBoxZone(0).Left, item.Left);
    list->SetBiDiMode(bdRightToLeft);
    QApplication::processEvents();
    const TRect zone = list->CheckBoxZone(0);
    EXPECT_EQ(zone.Right, item.Right) << "the check boxes stand at the right";
    // a click on the mirrored box toggles it
    realinput::Click(list, QPoint(zone.Right - 5, (zone.Top + zone.Bottom) / 2));
    EXPECT_TRUE(list->GetItemChecked(0));
    realinput::Click(list, QPoint(zone.Left - 40, (zone.Top + zone.Bottom) / 2 + item.Height()));
    EXPECT_FALSE(list->GetItemChecked(1)) << "a click on the text does not";
    // the text reads from the right: nothing of it in the left half
    const auto [first, last] =
        InkColumns(list, Rect(item.Left + 2, item.Top + 2, item.Right - list->GlyphWidth() - 10, item.Bottom - 2));
    EXPECT_GT(first, 150);
}
