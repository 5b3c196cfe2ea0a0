// List boxes following the display scale, check marks by click and double
// click, the scalable image list and its file, and the multi-column combo box.
#include "components/base/rComboBoxEx.h"
#include "components/base/rImageListEx.h"
#include "components/base/rListBoxes.h"
#include "components/base/zlib_interface.h"
#include "platform/ui/Forms.h"
#include "tests/support/TempProgramDir.h"

#include "platform/ui/ComboListDraw.h"
#include <QAbstractItemView>
#include <QComboBox>
#include <gtest/gtest.h>
#include <memory>

TEST(ListBoxesTest, ItemHeightFollowsTheScale)
{
    auto form = std::make_unique<TForm>(nullptr);
    auto* list = new TrListBox(form.get());
    list->SetParent(form.get());
    list->ScaleBy(144, 96);
    EXPECT_EQ(list->Style(), lbOwnerDrawFixed);
    EXPECT_DOUBLE_EQ(list->ScaleRatio(), 1.5);
    EXPECT_EQ(list->ItemHeight(), 24);
    list->ScaleBy(96, 144);
    EXPECT_DOUBLE_EQ(list->ScaleRatio(), 1.0);
    EXPECT_EQ(list->ItemHeight(), 16);
    list->ScaleBy(11, 10);
    EXPECT_EQ(list->ItemHeight(), 17);  // truncated
    EXPECT_EQ(list->SelectedItemText(), QString());
}

namespace {

struct CheckFixture : ::testing::Test {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TrCheckListBox* List = nullptr;
    QStringList Log;

    void SetUp() override
    {
        List = new TrCheckListBox(Form.get());
        List->SetParent(Form.get());
        List->SetBounds(0, 0, 200, 120);
        List->SetItems({QStringLiteral("H21"), QStringLiteral("D21"), QStringLiteral("H35")});
        List->SetItemEnabled(2, false);
        List->OnClickCheck = [this](TComponent*) { Log << QStringLiteral("check"); };
        List->OnClick = [this](TComponent*) { Log << QStringLiteral("click"); };
        List->OnDblClick = [this](TComponent*) { Log << QStringLiteral("dbl"); };
    }

    TPoint TextPoint(int Index) const
    {
        const TRect r = List->ItemRect(Index);
        return {r.Left + List->CheckWidth() + 20, r.Top + 3};
    }
};

}  // namespace

TEST_F(CheckFixture, EmptyListAnswers)
{
    List->SetItems({});
    EXPECT_FALSE(List->SelectedItemChecked());
    EXPECT_EQ(List->SelectedItemText(), QString());
    EXPECT_EQ(List->CheckedCount(), 0);
}

TEST_F(CheckFixture, ItemClickTogglesOnce)
{
    List->CheckboxUpdateMode = chmItemClick;
    const TPoint p = TextPoint(0);
    List->MouseDown(mbLeft, ssLeft, p.X, p.Y);
    EXPECT_TRUE(List->Checked(0));
    EXPECT_EQ(Log.count(QStringLiteral("check")), 1);
    const TRect r = List->ItemRect(1);
    List->MouseDown(mbLeft, ssLeft, r.Left + List->CheckWidth() / 2, r.Top + r.Height() / 2);  // on the box
    EXPECT_TRUE(List->Checked(1));
    EXPECT_EQ(Log.count(QStringLiteral("check")), 2);
    List->MouseDown(mbLeft, ssLeft | ssCtrl, p.X, p.Y);
    EXPECT_TRUE(List->Checked(0));
    const TPoint d = TextPoint(2);
    List->MouseDown(mbLeft, ssLeft, d.X, d.Y);
    EXPECT_FALSE(List->Checked(2));
    EXPECT_EQ(List->CheckedCount(), 2);
}

TEST_F(CheckFixture, DoubleClickTogglesInOrder)
{
    List->CheckboxUpdateMode = chmItemDblClick;
    List->SetItemIndex(1);
    Log.clear();
    List->DblClick();
    EXPECT_TRUE(List->Checked(1));
    EXPECT_EQ(Log, (QStringList{QStringLiteral("dbl"), QStringLiteral("check"), QStringLiteral("click")}));
    EXPECT_TRUE(List->SelectedItemChecked());
    EXPECT_EQ(List->SelectedItemText(), QStringLiteral("D21"));
}

namespace {

// A 16 x 16 image: a red 8 x 8 square in the middle of a transparent field.
void AddSquare(TCustomImageList* List)
{
    TBitmap b;
    b.SetAlphaFormat(afDefined);
    b.SetSize(16, 16);
    b.Canvas()->Brush()->SetColor(clRed);
    b.Canvas()->FillRect(Rect(4, 4, 12, 12));
    List->Add(&b);
}

}  // namespace

TEST(ImageListExTest, ResizesFromTheLoadedImages)
{
    TrImageListEx list(nullptr);
    AddSquare(&list);
    list.StoreAsOriginalImages();
    TBitmap b;
    list.ResizeImages(1.5);
    ASSERT_EQ(list.Width(), 24);
    list.GetBitmap(0, &b);
    EXPECT_EQ(b.Pixel(8, 8), clRed);   // unscaled: the square stays 8 wide in the centre
    EXPECT_NE(b.Pixel(6, 6), clRed);
    list.ResizeImages(2.0);
    ASSERT_EQ(list.Width(), 32);
    list.GetBitmap(0, &b);
    EXPECT_EQ(b.Pixel(16, 16), clRed);  // resampled: the square grows
    EXPECT_EQ(b.Pixel(10, 10), clRed);
    list.ResizeImages(1.0);
    EXPECT_EQ(list.Width(), 16);
    EXPECT_EQ(list.Count(), 1);
}

TEST(ImageListExTest, ExternalFileRoundTripAndDamage)
{
    TempProgramDir home;
    TComponent owner(nullptr);
    owner.SetName(QStringLiteral("frmMain"));
    auto* list = new TrImageListEx(&owner);
    list->SetName(QStringLiteral("ilKuvat"));
    AddSquare(list);
    AddSquare(list);
    list->WriteExternalFile();
    EXPECT_TRUE(QFile::exists(home.File(QStringLiteral("frmMain_ilKuvat.rsc"))));
    auto* other = new TrImageListEx(&owner);
    other->SetName(QStringLiteral("ilKuvat"));
    other->ReadExternalFile();
    EXPECT_EQ(other->Count(), 2);
    TBitmap b;
    other->GetBitmap(1, &b);
    EXPECT_EQ(b.Pixel(8, 8), clRed);
    // a zlib error reaches the caller as it is; a stream that is no image list is refused
    home.Write(QStringLiteral("frmMain_ilKuvat.rsc"), QByteArray("ei zlib-virta"));
    EXPECT_THROW(other->ReadExternalFile(), Exception);
    home.Write(QStringLiteral("frmMain_ilKuvat.rsc"), ZCompress(QByteArray("ei kuvalista")));
    EXPECT_THROW(other->ReadExternalFile(), EImageListReadError);
    EXPECT_EQ(other->Count(), 2);
    other->ExternalFileName = QStringLiteral("puuttuu.rsc");
    other->Clear();
    other->ReadExternalFile();
    EXPECT_EQ(other->Count(), 0);
}

TEST(ComboBoxExTest, ItemsColumnsAndWidth)
{
    auto form = std::make_unique<TForm>(nullptr);
    auto* combo = new TrComboBoxEx(form.get());
    combo->SetParent(form.get());
    combo->SetBounds(0, 0, 100, 21);
    combo->SetItems({QStringLiteral("H21"), QStringLiteral("D21")});
    combo->AddTextToItems(QStringLiteral("x"));
    combo->AddTextToItems(QStringLiteral(" h21 "));
    EXPECT_EQ(combo->Count(), 2);
    combo->AddTextToItems(QStringLiteral("H35"));
    EXPECT_EQ(combo->Count(), 3);
    combo->RemoveTextFromItems(QStringLiteral("h35"));
    EXPECT_EQ(combo->Count(), 2);
    combo->DisplayedItems()->SetColumnSeparator(QStringLiteral("#9"));
    combo->DisplayedItems()->SetAddItemAsFirstColumn(true);
    combo->DisplayedItems()->SetListItems({QStringLiteral("Miehet 21\t12,3 km"), QStringLiteral("Naiset 21\t9,8 km")});
    EXPECT_EQ(combo->DisplayedItems()->GetItemDisplayedText(1), QStringLiteral("D21#9Naiset 21\t9,8 km"));
    combo->DisplayedItems()->SetColumnSeparator(QStringLiteral("\t"));
    EXPECT_EQ(combo->DisplayedItems()->GetItemDisplayedText(1), QStringLiteral("D21\tNaiset 21\t9,8 km"));
    EXPECT_EQ(combo->DisplayedItems()->GetItemDisplayedText(5), QString());
    const int w = combo->DisplayedItems()->GetMaxItemWidth(8);
    EXPECT_EQ(combo->DisplayedItems()->ColumnWidths().size(), 3u);
    int sum = 0;
    for (int c : combo->DisplayedItems()->ColumnWidths())
        sum += c + 4;
    EXPECT_EQ(w, std::max(sum, 100));
    combo->DropDownMaxWidth = 120;
    combo->DropDown();
    EXPECT_EQ(combo->DropDownWidth(), std::max(100, std::min(120, w)));
    combo->CloseUp();
}

TEST(ComboBoxExTest, AnEditableBoxShowsColumnsInItsList)
{
    auto form = std::make_unique<TForm>(nullptr);
    auto* combo = new TrComboBoxEx(form.get());
    combo->SetParent(form.get());
    combo->SetBounds(0, 0, 100, 21);
    combo->SetItems({QStringLiteral("H21"), QStringLiteral("D21")});
    combo->DisplayedItems()->SetColumnSeparator(QStringLiteral("\t"));
    combo->DisplayedItems()->SetListItems({QStringLiteral("Miehet\t12,3 km"), QStringLiteral("Naiset\t9,8 km")});
    EXPECT_EQ(combo->Style(), csDropDown) << "the edit field stays";
    EXPECT_TRUE(ComboListOwnerDrawn(combo)) << "the list draws its columns";
    // the list's rows are painted by the box: the column line between the columns
    std::vector<int> drawn;
    combo->OnGetListItemProps = [&](TComponent*, TCanvas*, int Index, TOwnerDrawState, TRect&, QString&, TBitmap*, bool&, bool&) {
        drawn.push_back(Index);
    };
    form->Show();
    combo->SetDroppedDown(true);
    Application->ProcessMessages();
    combo->SetDroppedDown(false);
    EXPECT_FALSE(drawn.empty());
}

// A wide list that would pass the desktop's right edge ends where the box
// ends; one that fits stays at the box's left edge.
TEST(ComboBoxExTest, AListAtTheDesktopsRightEdgeEndsAtTheBoxsRightEdge)
{
    const TRect desk = Screen->DesktopRect();
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(desk.Right - 160, 100, 150, 80);
    auto* combo = new TrComboBoxEx(form.get());
    combo->SetParent(form.get());
    combo->SetBounds(10, 10, 100, 21);
    combo->SetItems({QStringLiteral("H21"), QStringLiteral("D21 pitkä rata, jonka nimi ei mahdu")});
    form->Show();
    Application->ProcessMessages();
    const TPoint at = combo->ClientToScreen({0, 0});
    TRect fits(at.X, 200, at.X + 100, 300);
    combo->PlaceDropDownList(fits);
    EXPECT_EQ(fits.Left, at.X);
    TRect wide(at.X, 200, at.X + 400, 300);
    combo->PlaceDropDownList(wide);
    EXPECT_EQ(wide.Right, at.X + 100);
    EXPECT_EQ(wide.Width(), 400);
    // The list window itself.
    combo->DropDownAutoWidth = false;
    combo->SetDropDownWidth(400);
    combo->SetDroppedDown(true);
    Application->ProcessMessages();
    const QWidget* list = static_cast<QComboBox*>(combo->Widget())->view()->window();
    EXPECT_EQ(list->geometry().right() + 1, at.X + 100);
    combo->SetDroppedDown(false);
}

TEST(ComboBoxExTest, LoadingItemsFromTheTypedTextUpdatesTheListOnce)
{
    auto form = std::make_unique<TForm>(nullptr);
    auto* combo = new TrComboBoxEx(form.get());
    combo->SetParent(form.get());
    combo->OnUpdateLoadItems = [&](TComponent*, const QString& Cur, QString&) {
        combo->Clear();
        for (int i = 0; i < 50; ++i)
            combo->AddItem(Cur + QString::number(i));
        // inside the bracket the items are known though the list waits
        EXPECT_EQ(combo->Count(), 50);
    };
    combo->SetText(QStringLiteral("Ra"));
    combo->ResetTimer(false, true);
    EXPECT_EQ(combo->Count(), 50);
    EXPECT_EQ(combo->Items().at(3), QStringLiteral("Ra3"));
}
