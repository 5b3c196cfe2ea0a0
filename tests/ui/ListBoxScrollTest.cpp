// List boxes wider than their window, tab stops, and virtual lists whose
// texts come from OnData.
#include "platform/ui/Forms.h"
#include "platform/ui/ListBoxes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

void Key(TControl* C, int QtKey, const QString& Text = QString())
{
    QKeyEvent e(QEvent::KeyPress, QtKey, Qt::NoModifier, Text);
    QApplication::sendEvent(C->Widget(), &e);
}

QScrollBar* Bar(TControl* C, Qt::Orientation O)
{
    for (QScrollBar* b : C->Widget()->findChildren<QScrollBar*>())
        if (b->orientation() == O)
            return b;
    return nullptr;
}

class ListBoxScrollTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 300);
        List = new TListBox(Form);
        List->SetParent(Form);
        List->SetBounds(10, 10, 150, 102);
    }
    void TearDown() override { delete Form; }
    TForm* Form = nullptr;
    TListBox* List = nullptr;
};

TEST_F(ListBoxScrollTest, ScrollWidthBringsAHorizontalBarAndShiftsTheLines)
{
    List->SetStyle(lbOwnerDrawFixed);
    List->SetItemHeight(20);
    List->SetItems({QStringLiteral("a"), QStringLiteral("b")});
    std::vector<TRect> drawn;
    List->OnDrawItem = [&](TWinControl*, int, const TRect& R, TOwnerDrawState) { drawn.push_back(R); };

    // narrower than the window: no bar, nothing to scroll
    List->SetScrollWidth(100);
    EXPECT_TRUE(Bar(List, Qt::Horizontal)->isHidden());
    EXPECT_EQ(List->MaxLeftOffset(), 0);
    List->SetLeftOffset(30);
    EXPECT_EQ(List->LeftOffset(), 0);

    List->SetScrollWidth(400);
    QScrollBar* h = Bar(List, Qt::Horizontal);
    ASSERT_FALSE(h->isHidden());
    EXPECT_EQ(List->ClientRect(), Rect(1, 1, 149, 101 - 17));  // the bar takes the bottom
    EXPECT_EQ(List->MaxLeftOffset(), 400 - 148);
    EXPECT_EQ(h->maximum(), 400 - 148);

    List->SetLeftOffset(1000);
    EXPECT_EQ(List->LeftOffset(), 252);
    List->SetLeftOffset(50);
    EXPECT_EQ(h->value(), 50);
    TBitmap bmp;
    List->PaintTo(&bmp);
    ASSERT_EQ(drawn.size(), 2u);
    // the line starts 50 pixels left of the area and is ScrollWidth wide
    EXPECT_EQ(drawn[0], Rect(1 - 50, 1, 1 - 50 + 400, 21));

    // Right and Left keys scroll by an item height; the bar moves the lines too
    Key(List, Qt::Key_Right);
    EXPECT_EQ(List->LeftOffset(), 70);
    Key(List, Qt::Key_Left);
    Key(List, Qt::Key_Left);
    EXPECT_EQ(List->LeftOffset(), 30);
    h->setValue(100);
    EXPECT_EQ(List->LeftOffset(), 100);

    // narrowing the lines again takes the offset and the bar away
    List->SetScrollWidth(0);
    EXPECT_EQ(List->LeftOffset(), 0);
    EXPECT_TRUE(h->isHidden());
}

TEST_F(ListBoxScrollTest, BothBarsMakeRoomForEachOther)
{
    List->SetStyle(lbOwnerDrawFixed);
    List->SetItemHeight(20);
    // five items of 20 fit into 100 pixels, but not once the horizontal bar takes 17
    List->SetItems({"1", "2", "3", "4", "5"});
    EXPECT_TRUE(Bar(List, Qt::Vertical)->isHidden());
    List->SetScrollWidth(140);  // fits beside no vertical bar (148) ...
    EXPECT_TRUE(Bar(List, Qt::Horizontal)->isHidden());
    List->SetScrollWidth(200);  // ... this does not, and then the items need the vertical bar
    EXPECT_FALSE(Bar(List, Qt::Horizontal)->isHidden());
    EXPECT_FALSE(Bar(List, Qt::Vertical)->isHidden());
    EXPECT_EQ(List->ClientRect(), Rect(1, 1, 149 - 17, 101 - 17));
    EXPECT_EQ(List->MaxLeftOffset(), 200 - 131);

    // a list narrower than a scroll bar without ScrollWidth has no horizontal bar
    List->SetScrollWidth(0);
    List->SetBounds(10, 10, 12, 102);
    EXPECT_TRUE(Bar(List, Qt::Horizontal)->isHidden());
}

TEST_F(ListBoxScrollTest, TabsJumpToTheListsOwnStops)
{
    List->SetFont(*Form->Font());
    List->SetItems({QStringLiteral("a\tb")});
    EXPECT_EQ(List->TabStopPixels(), 0);
    List->TabWidth = 80;  // dialog units: 20 average characters
    const int stop = List->TabStopPixels();
    EXPECT_GT(stop, 60);
    EXPECT_LT(stop, 200);

    TBitmap bmp;
    List->PaintTo(&bmp);
    // the "b" starts at the first stop after the text's start (3 pixels in)
    auto inkIn = [&](int From, int To) {
        for (int x = From; x < To; ++x)
            for (int y = 1; y < List->ItemHeight(); ++y)
                if (bmp.Pixel(x, y) != 0xFFFFFF)
                    return true;
        return false;
    };
    EXPECT_TRUE(inkIn(3, 3 + List->Canvas()->TextWidth(QStringLiteral("a")) + 1));
    EXPECT_FALSE(inkIn(3 + stop / 2, 3 + stop));
    EXPECT_TRUE(inkIn(3 + stop, 3 + stop + 10));
}

TEST_F(ListBoxScrollTest, VirtualListAsksOnDataOnlyForWhatItShows)
{
    int asked = 0;
    List->SetItems({QStringLiteral("gone")});
    List->SetStyle(lbVirtual);
    EXPECT_EQ(List->Count(), 0);  // texts kept by the list do not survive
    List->OnData = [&](TWinControl*, int Index, QString& Data) {
        ++asked;
        Data = QStringLiteral("Rivi %1").arg(Index);
    };
    List->OnDataFind = [](TWinControl*, const QString& Text) {
        return Text.startsWith(QStringLiteral("Rivi ")) ? Text.mid(5).toInt() : -1;
    };
    List->SetCount(100000);
    EXPECT_EQ(List->Count(), 100000);
    EXPECT_EQ(List->AddItem(QStringLiteral("x")), -1);
    EXPECT_EQ(List->Count(), 100000);
    EXPECT_EQ(List->Strings(4711), QStringLiteral("Rivi 4711"));
    EXPECT_EQ(List->IndexOf(QStringLiteral("Rivi 99")), 99);

    asked = 0;
    TBitmap bmp;
    List->PaintTo(&bmp);
    EXPECT_GT(asked, 0);
    EXPECT_LE(asked, List->VisibleItemCount() + 1);

    // selection and scrolling work by index as in any list
    List->SetItemIndex(99990);
    EXPECT_EQ(List->ItemIndex(), 99990);
    EXPECT_GT(List->TopIndex(), 99900);
    EXPECT_EQ(Bar(List, Qt::Vertical)->value(), List->TopIndex());
    EXPECT_EQ(Bar(List, Qt::Vertical)->maximum(), 100000 - List->VisibleItemCount());
    Key(List, Qt::Key_End);
    EXPECT_EQ(List->ItemIndex(), 99999);

    // shrinking drops a current item past the end
    List->SetCount(10);
    EXPECT_EQ(List->ItemIndex(), -1);
    EXPECT_EQ(List->TopIndex() + List->VisibleItemCount(), 10);  // no room left below the last
    EXPECT_EQ(List->Strings(10), QString());
}

TEST_F(ListBoxScrollTest, TypedLetterMovesToTheNextItemStartingWithIt)
{
    List->SetItems({QStringLiteral("Kemi"), QStringLiteral("Oulu"), QStringLiteral("kuopio"), QStringLiteral("Espoo")});
    int changes = 0;
    List->OnChange = [&](TComponent*) { ++changes; };
    struct Case { int QtKey; const char* Text; int Index; };
    for (const Case& c : {Case{Qt::Key_K, "k", 0}, Case{Qt::Key_K, "k", 2}, Case{Qt::Key_K, "K", 0},
                          Case{Qt::Key_E, "e", 3}, Case{Qt::Key_X, "x", 3}}) {
        Key(List, c.QtKey, QString::fromLatin1(c.Text));
        EXPECT_EQ(List->ItemIndex(), c.Index) << c.Text;
    }
    EXPECT_EQ(changes, 4);

    // a virtual list searches the texts OnData gives
    List->SetStyle(lbVirtual);
    List->OnData = [](TWinControl*, int Index, QString& Data) { Data = Index == 7 ? QStringLiteral("Vaasa") : QStringLiteral("Pori"); };
    List->SetCount(10);
    Key(List, Qt::Key_V, QStringLiteral("v"));
    EXPECT_EQ(List->ItemIndex(), 7);
}

TEST_F(ListBoxScrollTest, VirtualOwnerDrawListDrawsThroughOnDrawItem)
{
    List->SetStyle(lbVirtualOwnerDraw);
    List->SetItemHeight(25);
    List->SetCount(3);
    QStringList drawn;
    List->OnDrawItem = [&](TWinControl*, int Index, const TRect& R, TOwnerDrawState) {
        drawn << QStringLiteral("%1@%2").arg(Index).arg(R.Top);
    };
    TBitmap bmp;
    List->PaintTo(&bmp);
    EXPECT_EQ(drawn.join(' '), QStringLiteral("0@1 1@26 2@51"));
    // a non-virtual list ignores SetCount
    List->SetStyle(lbStandard);
    List->SetCount(7);
    EXPECT_EQ(List->Count(), 0);
}

}  // namespace
