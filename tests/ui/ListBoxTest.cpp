// Self-painted list boxes: items and selection, owner drawing, scrolling,
// and the check list box driven by real mouse and key events.
#include "platform/ui/CheckLst.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ListBoxes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

void Press(TControl* C, int X, int Y, Qt::KeyboardModifiers Mods = Qt::NoModifier, bool Double = false)
{
    QWidget* w = C->Widget();
    const QPointF p(X, Y);
    QMouseEvent down(Double ? QEvent::MouseButtonDblClick : QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::LeftButton,
                     Qt::LeftButton, Mods);
    QApplication::sendEvent(w, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton, Qt::NoButton, Mods);
    QApplication::sendEvent(w, &up);
}

void Key(TControl* C, int QtKey, const QString& Text = QString())
{
    QKeyEvent e(QEvent::KeyPress, QtKey, Qt::NoModifier, Text);
    QApplication::sendEvent(C->Widget(), &e);
}

class ListBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 300);
    }
    void TearDown() override { delete Form; }
    template <class T>
    T* Make(int Height = 82)
    {
        auto* l = new T(Form);
        l->SetParent(Form);
        l->SetBounds(10, 10, 150, Height);
        return l;
    }
    TForm* Form = nullptr;
};

TEST_F(ListBoxTest, ItemsKeepTheirObjectsAndSortedListsInsertInOrder)
{
    auto* l = Make<TListBox>();
    int a = 1, b = 2;
    l->AddItem(QStringLiteral("Oulu"), &a);
    l->AddItem(QStringLiteral("Espoo"), &b);
    l->SetSorted(true);
    EXPECT_EQ(l->Items(), (QStringList{QStringLiteral("Espoo"), QStringLiteral("Oulu")}));
    EXPECT_EQ(l->Objects(0), &b);
    EXPECT_EQ(l->AddItem(QStringLiteral("Kemi")), 1);
    l->SetItemIndex(2);
    l->DeleteItem(0);
    EXPECT_EQ(l->ItemIndex(), 1);
    EXPECT_EQ(l->Strings(1), QStringLiteral("Oulu"));
    l->DeleteItem(1);
    EXPECT_EQ(l->ItemIndex(), -1);
    EXPECT_EQ(l->IndexOf(QStringLiteral("Kemi")), 0);
}

TEST_F(ListBoxTest, StandardItemsDrawSelectionInHighlightColour)
{
    auto* l = Make<TListBox>();
    l->SetItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    l->SetItemIndex(1);
    const int h = l->ItemHeight();
    EXPECT_GT(h, 8);
    EXPECT_EQ(l->ItemRect(1), Rect(1, 1 + h, 149, 1 + 2 * h));
    TBitmap bmp;
    l->PaintTo(&bmp);
    EXPECT_EQ(bmp.Pixel(140, 1 + h + h / 2), 0xD77800);  // clHighlight
    EXPECT_EQ(bmp.Pixel(140, 1 + h / 2), 0xFFFFFF);
    EXPECT_EQ(bmp.Pixel(0, 40), 0x7A7A7A);  // the border
}

TEST_F(ListBoxTest, OwnerDrawVariableMeasuresAndDrawsEachItem)
{
    auto* l = Make<TListBox>();
    l->SetStyle(lbOwnerDrawVariable);
    l->OnMeasureItem = [](TWinControl*, int Index, int& Height) { Height = 10 + 5 * Index; };
    QStringList drawn;
    l->OnDrawItem = [&](TWinControl* Control, int Index, const TRect& R, TOwnerDrawState State) {
        auto* list = static_cast<TListBox*>(Control);
        list->Canvas()->Brush()->SetColor(Index == 1 ? clRed : clWindow);
        list->Canvas()->FillRect(R);
        drawn << QStringLiteral("%1:%2-%3%4").arg(Index).arg(R.Top).arg(R.Bottom).arg(State & odSelected ? "s" : "");
    };
    l->SetItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"), QStringLiteral("e")});
    l->SetItemIndex(2);
    TBitmap bmp;
    l->PaintTo(&bmp);
    // 10 + 15 + 20 + 25 fit in the 80 pixels inside the border; the fifth is cut
    EXPECT_EQ(drawn.join(' '), QStringLiteral("0:1-11 1:11-26 2:26-46s 3:46-71 4:71-101"));
    EXPECT_EQ(bmp.Pixel(50, 15), 0x0000FF);
    EXPECT_EQ(l->ItemAtPos({50, 30}, true), 2);
    EXPECT_EQ(l->ItemAtPos({50, 200}, true), -1);
}

TEST_F(ListBoxTest, ClicksAndKeysSelectAndScroll)
{
    auto* l = Make<TListBox>(62);
    l->SetStyle(lbOwnerDrawFixed);
    l->SetItemHeight(20);
    QStringList items;
    for (int i = 0; i < 10; ++i)
        items << QStringLiteral("rivi %1").arg(i);
    l->SetItems(items);
    int changes = 0, clicks = 0;
    l->OnChange = [&](TComponent*) { ++changes; };
    l->OnClick = [&](TComponent*) { ++clicks; };
    Press(l, 20, 25);
    EXPECT_EQ(l->ItemIndex(), 1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(clicks, 1);
    {
        // dragging with the button held moves the selection
        QWidget* w = l->Widget();
        QMouseEvent move(QEvent::MouseMove, QPointF(20, 45), w->mapToGlobal(QPointF(20, 45)), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
        EXPECT_EQ(l->ItemIndex(), 2);
        EXPECT_EQ(changes, 2);
    }
    Key(l, Qt::Key_End);
    EXPECT_EQ(l->ItemIndex(), 9);
    EXPECT_EQ(l->TopIndex(), 7);  // three items of 20 fit in 60
    Key(l, Qt::Key_Up);
    EXPECT_EQ(l->ItemIndex(), 8);
    EXPECT_EQ(l->TopIndex(), 7);
    Key(l, Qt::Key_Home);
    EXPECT_EQ(l->TopIndex(), 0);
    l->SetTopIndex(50);
    EXPECT_EQ(l->TopIndex(), 7);
    EXPECT_EQ(l->VisibleItemCount(), 3);
}

TEST_F(ListBoxTest, MultiSelectExtendsWithShiftAndTogglesWithCtrl)
{
    auto* l = Make<TListBox>(200);
    l->SetMultiSelect(true);
    l->SetItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")});
    const int h = l->ItemHeight();
    Press(l, 20, 1 + h / 2);
    Press(l, 20, 1 + 2 * h + h / 2, Qt::ShiftModifier);
    EXPECT_EQ(l->SelCount(), 3);
    Press(l, 20, 1 + h + h / 2, Qt::ControlModifier);
    EXPECT_EQ(l->SelCount(), 2);
    EXPECT_FALSE(l->Selected(1));
    EXPECT_TRUE(l->Selected(2));
    // the anchor of a Shift range follows deleted items
    l->DeleteItem(3);
    l->DeleteItem(2);
    Press(l, 20, 1 + h / 2, Qt::ShiftModifier);
    EXPECT_TRUE(l->Selected(0));
    EXPECT_TRUE(l->Selected(1));
}

TEST_F(ListBoxTest, CheckBoxPressTogglesOnceButTextPressOnlySelects)
{
    auto* l = Make<TCheckListBox>();
    l->SetItems({QStringLiteral("Hiihto"), QStringLiteral("Suunnistus"), QStringLiteral("Pyöräily")});
    int checks = 0;
    QStringList order;
    l->OnClickCheck = [&](TComponent*) { ++checks; order << QStringLiteral("check"); };
    l->OnMouseDown = [&](TComponent*, TMouseButton, TShiftState, int, int) { order << QStringLiteral("down%1").arg(l->ItemIndex()); };
    const int h = l->ItemHeight();
    Press(l, 6, 1 + h + h / 2);  // on the check box of the second item
    EXPECT_TRUE(l->Checked(1));
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(order.join(','), QStringLiteral("check,down1"));  // the press selected first
    Press(l, 80, 1 + h / 2);  // on the text of the first item
    EXPECT_FALSE(l->Checked(0));
    EXPECT_EQ(l->ItemIndex(), 0);
    EXPECT_EQ(checks, 1);
    l->SetItemEnabled(2, false);
    Press(l, 6, 1 + 2 * h + h / 2);
    EXPECT_FALSE(l->Checked(2));
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(l->ItemIndex(), 2);  // a disabled item can still be the current one
    Key(l, Qt::Key_Space, QStringLiteral(" "));
    EXPECT_FALSE(l->Checked(2));
    // space toggles the current item; grayed comes between when allowed
    l->SetItemIndex(0);
    l->AllowGrayed = true;
    Key(l, Qt::Key_Space, QStringLiteral(" "));
    EXPECT_EQ(l->State(0), cbChecked);
    Key(l, Qt::Key_Space, QStringLiteral(" "));
    EXPECT_EQ(l->State(0), cbGrayed);
    Key(l, Qt::Key_Space, QStringLiteral(" "));
    EXPECT_EQ(l->State(0), cbUnchecked);
    EXPECT_EQ(checks, 4);
}

TEST_F(ListBoxTest, CheckMarksMoveAndVanishWithTheirItems)
{
    auto* l = Make<TCheckListBox>();
    l->SetItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    l->SetChecked(0, true);
    l->SetItemEnabled(2, false);
    l->MoveItem(0, 2);
    EXPECT_EQ(l->Items(), (QStringList{QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("a")}));
    EXPECT_TRUE(l->Checked(2));
    EXPECT_FALSE(l->ItemEnabled(1));
    l->InsertItem(0, QStringLiteral("z"));
    EXPECT_TRUE(l->Checked(3));
    EXPECT_FALSE(l->Checked(0));
    l->DeleteItem(0);
    EXPECT_TRUE(l->Checked(2));
    l->CheckAll(cbChecked, true, false);
    EXPECT_TRUE(l->Checked(0));
    EXPECT_FALSE(l->Checked(1));  // disabled items kept
    l->Clear();
    EXPECT_FALSE(l->Checked(0));
}

TEST_F(ListBoxTest, OwnerDrawnCheckListGetsTheRectangleRightOfTheBox)
{
    auto* l = Make<TCheckListBox>();
    l->SetStyle(lbOwnerDrawFixed);
    l->SetItemHeight(18);
    TRect seen;
    l->OnDrawItem = [&](TWinControl*, int Index, const TRect& R, TOwnerDrawState State) {
        if (Index == 0) {
            seen = R;
            EXPECT_TRUE(State & odChecked);
        }
    };
    l->SetItems({QStringLiteral("a")});
    l->SetChecked(0, true);
    TBitmap bmp;
    l->PaintTo(&bmp);
    EXPECT_EQ(seen, Rect(1 + l->CheckWidth(), 1, 149, 19));
}

}  // namespace

namespace {

TEST(ListBoxScrollBar, ShowsOnlyWhenTheItemsDoNotFit)
{
    TForm f(nullptr);
    auto* l = new TListBox(&f);
    l->SetParent(&f);
    l->SetBounds(0, 0, 100, 2 + 3 * l->ItemHeight());
    l->SetItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    auto* bar = l->Widget()->findChild<QScrollBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isHidden());
    EXPECT_EQ(l->ClientRect().Right, 99);
    l->AddItem(QStringLiteral("d"));
    EXPECT_FALSE(bar->isHidden());
    EXPECT_EQ(l->ClientRect().Right, 99 - 17);
    EXPECT_EQ(bar->maximum(), 1);
    bar->setValue(1);
    EXPECT_EQ(l->TopIndex(), 1);
    l->DeleteItem(0);
    EXPECT_TRUE(bar->isHidden());
    EXPECT_EQ(l->TopIndex(), 0);
}

}  // namespace
