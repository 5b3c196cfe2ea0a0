// The framed list box family: incremental search with its reset delay,
// groups, tab stops and cells, and the check list's toggles, veto and text format.
#include "components/framed/FcChkLst.h"
#include "platform/os/Sound.h"
#include "platform/ui/Forms.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

void Type(TControl* C, const QString& Text)
{
    for (QChar ch : Text) {
        int key = int(ch.toUpper().unicode());
        if (ch == QLatin1Char('\b'))
            key = Qt::Key_Backspace;
        else if (ch == QChar(27))
            key = Qt::Key_Escape;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(C->Widget(), &press);
    }
}

template <class T>
struct ListForm {
    ListForm()
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 300, 300);
        list = new T(form.get());
        list->SetParent(form.get());
        list->SetBounds(0, 0, 200, 200);
        form->AfterConstruction();
        SetSoundSink([this](const QString&) { ++beeps; });
    }
    ~ListForm() { SetSoundSink(nullptr); }
    std::unique_ptr<TForm> form;
    T* list;
    int beeps = 0;
};

}  // namespace

TEST(FcListBoxTest, IncrementalSearchWithResetDelay)
{
    ListForm<TFcListBox> f;
    f.list->SetItems({QStringLiteral("Aalto"), QStringLiteral("Berg"), QStringLiteral("Beck"), QStringLiteral("Eerola")});
    Type(f.list, QStringLiteral("be"));
    EXPECT_EQ(f.list->ItemIndex(), 1);
    Type(f.list, QStringLiteral("c"));
    EXPECT_EQ(f.list->ItemIndex(), 2) << "\"bec\"";
    Type(f.list, QStringLiteral("x"));
    EXPECT_EQ(f.beeps, 1);
    EXPECT_EQ(f.list->SearchString(), QStringLiteral("bec"));
    f.list->SearchTimerExpired();
    Type(f.list, QStringLiteral("e"));
    EXPECT_EQ(f.list->ItemIndex(), 3) << "after the delay a new search";
    Type(f.list, QStringLiteral("\b"));
    EXPECT_EQ(f.list->ItemIndex(), 0) << "backspace that empties the search selects the first item";
    Type(f.list, QString(QChar(27)));
    EXPECT_EQ(f.list->ItemIndex(), -1);
}

TEST(FcListBoxTest, OnlyTooWideItemsNeedAHint)
{
    ListForm<TFcListBox> f;
    f.list->SetItems({QStringLiteral("Lyhyt"),
                      QStringLiteral("Jyväskylän Suunnistajat – H21 pitkä matka, lähtö 10:00, rata 12,4 km")});
    EXPECT_FALSE(f.list->ItemNeedsHint(0));
    EXPECT_TRUE(f.list->ItemNeedsHint(1));
    EXPECT_FALSE(f.list->ItemNeedsHint(7));
}

TEST(FcListBoxTest, Groups)
{
    ListForm<TFcListBox> f;
    f.list->SetItems({QStringLiteral("//Pojat"), QStringLiteral("H12"), QStringLiteral("H14"), QStringLiteral("//Tytöt"),
                      QStringLiteral("D12")});
    EXPECT_TRUE(f.list->GetItemIsGroup(0));
    EXPECT_EQ(f.list->ItemCaption(3), QStringLiteral("Tytöt"));
    EXPECT_EQ(f.list->ItemIndexOfGroup(1), 3);
    EXPECT_EQ(f.list->ItemsInGroup(0), 2);
    EXPECT_EQ(f.list->ItemGroupIndex(4), 3);
    EXPECT_EQ(f.list->GroupIndexOfItem(3), 1);
    EXPECT_EQ(f.list->GroupIndexOfItem(4), -1);
    EXPECT_EQ(f.list->AddItemToGroup(0, QStringLiteral("H16")), 3);
    EXPECT_EQ(f.list->InsertItemIntoGroup(1, 5, QStringLiteral("x")), -1);
    EXPECT_EQ(f.list->InsertItemIntoGroup(7, 0, QStringLiteral("x")), -1);
    f.list->SetShowGroups(true);
    f.list->SetItemIndex(1);
    TBitmap shot;
    f.list->PaintTo(&shot);
    EXPECT_NE(shot.Pixel(150, 3), shot.Pixel(150, f.list->ItemHeight() + 3)) << "the header has its band";
}

TEST(FcTabbedListBoxTest, CellsAndAutomaticStops)
{
    ListForm<TFcTabbedListBox> f;
    f.list->SetItems({QStringLiteral("101\tVirtanen"), QStringLiteral("7\tAho"), QStringLiteral("12")});
    EXPECT_EQ(f.list->GetCellText(1, 0), QStringLiteral("Virtanen"));
    try {
        f.list->GetCellText(2, 0);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Column parameter out of range"));
    }
    try {
        f.list->GetCellText(0, 5);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Row parameter out of range"));
    }
    f.list->SetCellText(0, 1, QStringLiteral("8"));
    EXPECT_EQ(f.list->Strings(1), QStringLiteral("8\tAho"));
    f.list->SetTabStopsMode(tsmAutomatic);
    ASSERT_EQ(f.list->TabStops()->Count(), 1);
    TBitmap m(1, 1);
    m.Canvas()->SetFont(*f.list->Font());
    EXPECT_EQ(f.list->TabStops()->Items(0), m.Canvas()->TextWidth(QStringLiteral("101")) / f.list->DialogUnits() + 4);
    EXPECT_EQ(f.list->GetTabArray().front(), f.list->TabStops()->Items(0) * 4);
    EXPECT_THROW(f.list->UpdateFromHeader(nullptr), EHeaderError);
}

TEST(FcCheckListTest, TogglesVetoAndDisabledItems)
{
    ListForm<TFcCheckList> f;
    f.list->SetItems({QStringLiteral("btnNew"), QStringLiteral("btnEdit"), QStringLiteral("//Ryhmä"), QStringLiteral("btnDel")});
    auto clickBox = [&](int index, int dx = 3) {
        const TRect r = f.list->ItemRect(index);
        f.list->HandlePress(mbLeft, ssLeft, r.Left + dx, r.Top + 3);
        f.list->MouseDown(mbLeft, ssLeft, r.Left + dx, r.Top + 3);
        f.list->MouseUp(mbLeft, 0, r.Left + dx, r.Top + 3);
    };
    f.list->AllowGrayed = true;
    TCheckBoxState seen[3];
    for (auto& s : seen) {
        clickBox(0);
        s = f.list->GetItemState(0);
    }
    EXPECT_EQ(seen[0], cbGrayed);
    EXPECT_EQ(seen[1], cbChecked);
    EXPECT_EQ(seen[2], cbUnchecked);
    clickBox(1, 100);
    EXPECT_EQ(f.list->GetItemState(1), cbUnchecked) << "the text toggles only with ToggleOnItemClick";
    f.list->ToggleOnItemClick = true;
    clickBox(1, 100);
    EXPECT_EQ(f.list->GetItemState(1), cbGrayed);
    clickBox(2);
    EXPECT_EQ(f.list->GetItemState(2), cbUnchecked) << "a header never toggles";
    f.list->SetItemEnabled(3, false);
    clickBox(3);
    EXPECT_EQ(f.list->GetItemState(3), cbUnchecked) << "a disabled item never toggles";
    f.list->OnChanging = [](TComponent*, int Index, TCheckBoxState, bool& Allow) { Allow = Index != 0; };
    clickBox(0);
    EXPECT_EQ(f.list->GetItemState(0), cbUnchecked) << "vetoed";
    f.list->CheckAll();
    EXPECT_EQ(f.list->ItemsChecked(), 3) << "the header does not count";
    f.list->SetEnabled(false);
    EXPECT_FALSE(f.list->GetItemEnabled(0));
    f.list->SetEnabled(true);
    EXPECT_TRUE(f.list->GetItemEnabled(3));
}

TEST(FcCheckListTest, MarkedTextFormat)
{
    ListForm<TFcCheckList> f;
    f.list->AddEx(QStringLiteral("Uusi"), true, true);
    f.list->AddEx(QStringLiteral("Tulosta"), false, false, 7, 12);
    EXPECT_EQ(f.list->SaveToText(), QStringLiteral("@1 1 --- --- Uusi\r\n@0 0 007 012 Tulosta\r\n"));
    f.list->LoadFromText(QStringLiteral("&0 2 Vanha\r\n@1 1 003 --- Kolme\r\ntavallinen\r\n"));
    ASSERT_EQ(f.list->Count(), 3);
    EXPECT_EQ(f.list->Strings(0), QStringLiteral("Vanha"));
    EXPECT_FALSE(f.list->GetItemEnabled(0));
    EXPECT_EQ(f.list->GetItemState(0), cbGrayed);
    EXPECT_EQ(f.list->GetItemImageIndex(1), 3);
    EXPECT_EQ(f.list->GetItemDisabledIndex(1), -1);
    EXPECT_EQ(f.list->Strings(1), QStringLiteral("Kolme"));
    EXPECT_TRUE(f.list->GetItemEnabled(2));
    f.list->MoveItem(1, 0);
    EXPECT_EQ(f.list->GetItemImageIndex(0), 3) << "the record moves with its item";
}
