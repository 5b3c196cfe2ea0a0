// The hooks derived grids and editors build on: dragging and cancel mode,
// the editor's paste and button painting, owner-drawn pick lists, the data
// grid's lookup list, the themed drawing style and the tree's sideways
// scrolling.

#include "platform/database/ClientDataSet.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Themes.h"
#include "platform/ui/TreeViews.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

// An editor that counts what its grid asks of it.
class CountingEdit : public TInplaceEditList {
public:
    using TInplaceEditList::TInplaceEditList;
    int Pastes = 0;
    int ButtonPaints = 0;
    bool LastPressed = false;
    int BtnWidth = 0;
    int ButtonWidth() const override { return BtnWidth > 0 ? BtnWidth : TInplaceEditList::ButtonWidth(); }
    void Paste() override
    {
        ++Pastes;
        TInplaceEditList::Paste();
        // Pasted lines lose their line breaks, as a derived editor cleans them.
        SetText(Text().remove(QLatin1Char('\n')));
    }

protected:
    void PaintButton(TCanvas* ACanvas, const TRect& R, bool Pressed) override
    {
        ++ButtonPaints;
        LastPressed = Pressed;
        TInplaceEditList::PaintButton(ACanvas, R, Pressed);
    }
};

class HookGrid : public TStringGrid {
public:
    explicit HookGrid(TComponent* AOwner) : TStringGrid(AOwner)
    {
        SetColCount(4);
        SetRowCount(6);
        SetOptions(Options() | goEditing | goColSizing);
    }
    TEditStyle Style = esSimple;
    int ButtonClicks = 0;
    bool Editable = true;
    using TStringGrid::CancelMode;

protected:
    TInplaceEdit* CreateEditor() override { return new CountingEdit(this); }
    TEditStyle GetEditStyle(int, int) const override { return Style; }
    void EditButtonClick() override { ++ButtonClicks; }
    bool CanEditModify() override { return Editable; }
};

class HooksTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 640, 480);
        grid = new HookGrid(form.get());
        grid->SetParent(form.get());
        grid->SetBounds(0, 0, 400, 200);
    }
    CountingEdit* OpenEditor()
    {
        grid->FocusCell(1, 1, true);
        grid->ShowEditor();
        return dynamic_cast<CountingEdit*>(grid->InplaceEditor());
    }
    std::unique_ptr<TForm> form;
    HookGrid* grid = nullptr;
};

void SendMouse(QWidget* W, QEvent::Type Type, QPoint At)
{
    QMouseEvent e(Type, QPointF(At), QPointF(W->mapToGlobal(At)), Qt::LeftButton,
                  Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(W, &e);
}

int Red(QRgb P) { return qRed(P); }
int Green(QRgb P) { return qGreen(P); }
int Blue(QRgb P) { return qBlue(P); }
void ExpectColor(QRgb P, TColor C)
{
    C = ColorToRGB(C);
    EXPECT_EQ(Red(P), int(C & 0xFF));
    EXPECT_EQ(Green(P), int((C >> 8) & 0xFF));
    EXPECT_EQ(Blue(P), int((C >> 16) & 0xFF));
}

}  // namespace

TEST_F(HooksTest, DragStartsPastTheThresholdAndEndsOnTheDropTarget)
{
    int starts = 0, ends = 0;
    TComponent* target = reinterpret_cast<TComponent*>(1);
    grid->OnStartDrag = [&](TComponent*) { ++starts; };
    grid->OnEndDrag = [&](TComponent*, TComponent* T, int, int) {
        ++ends;
        target = T;
    };
    const TRect cell = grid->CellRect(2, 2);
    grid->MouseDown(mbLeft, ssLeft, cell.Left + 5, cell.Top + 5);
    grid->BeginDrag(false);
    grid->MouseMove(ssLeft, cell.Left + 8, cell.Top + 5);
    EXPECT_FALSE(grid->Dragging()) << "within the threshold";
    grid->MouseMove(ssLeft, cell.Left + 40, cell.Top + 30);
    EXPECT_TRUE(grid->Dragging());
    EXPECT_EQ(starts, 1);
    grid->MouseUp(mbLeft, 0, cell.Left + 40, cell.Top + 30);
    EXPECT_FALSE(grid->Dragging());
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(target, grid) << "dropped on the grid itself";

    // A drag stopped by cancel mode has no target.
    grid->BeginDrag(true);
    EXPECT_EQ(starts, 2);
    grid->CancelMode(nullptr);
    EXPECT_FALSE(grid->Dragging());
    EXPECT_EQ(ends, 2);
    EXPECT_EQ(target, nullptr);
}

TEST_F(HooksTest, CancelModeStopsColumnSizing)
{
    const int before = grid->ColWidths(1);
    const TRect title = grid->CellRect(1, 0);
    grid->MouseDown(mbLeft, ssLeft, title.Right, title.Top + 3);
    ASSERT_EQ(grid->GridState(), gsColSizing);
    grid->MouseMove(ssLeft, title.Right + 50, title.Top + 3);
    grid->CancelMode(nullptr);
    EXPECT_EQ(grid->GridState(), gsNormal);
    grid->MouseUp(mbLeft, 0, title.Right + 50, title.Top + 3);
    EXPECT_EQ(grid->ColWidths(1), before);
}

TEST_F(HooksTest, PasteGoesThroughTheEditorsHook)
{
    CountingEdit* ed = OpenEditor();
    ASSERT_NE(ed, nullptr);
    QApplication::clipboard()->setText(QStringLiteral("12\n34"));
    ed->SelectAll();
    Word key = 'V';
    ed->KeyDown(key, ssCtrl);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(ed->Pastes, 1);
    EXPECT_EQ(ed->Text(), QStringLiteral("1234"));
    key = VK_INSERT;
    ed->KeyDown(key, ssShift);
    EXPECT_EQ(ed->Pastes, 2);
    EXPECT_EQ(ed->Text(), QStringLiteral("123412\n34").remove(QLatin1Char('\n')));

    // A cell that may not change keeps its text.
    grid->Editable = false;
    ed->SetText(QStringLiteral("x"));
    key = 'V';
    ed->KeyDown(key, ssCtrl);
    EXPECT_EQ(ed->Text(), QStringLiteral("x"));
}

TEST_F(HooksTest, ButtonIsPaintedByTheEditorAndClicksThrough)
{
    grid->Style = esEllipsis;
    CountingEdit* ed = OpenEditor();
    ASSERT_NE(ed, nullptr);
    ASSERT_EQ(ed->EditStyle(), esEllipsis);
    const TRect b = ed->ButtonRect();
    EXPECT_EQ(b.Width(), 17);
    EXPECT_EQ(b.Right, ed->Width());
    auto* line = static_cast<QLineEdit*>(ed->Widget());
    EXPECT_EQ(line->textMargins().right(), 17) << "the text stops before the button";

    QImage img = line->grab().toImage();
    EXPECT_GE(ed->ButtonPaints, 1);
    // Three dark dots in the button's middle.
    const QRgb mid = img.pixel((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);
    EXPECT_LT(qGray(mid), 80);

    // A wider button moves the text margin with it.
    ed->BtnWidth = 30;
    ed->InvalidateButton();
    EXPECT_EQ(ed->ButtonRect().Width(), 30);
    EXPECT_EQ(line->textMargins().right(), 30);

    QWidget* button = line->childAt(QPoint(ed->ButtonRect().Left + 5, 5));
    ASSERT_NE(button, nullptr);
    SendMouse(button, QEvent::MouseButtonPress, QPoint(3, 3));
    EXPECT_TRUE(ed->ButtonPressed());
    button->grab();
    EXPECT_TRUE(ed->LastPressed);
    SendMouse(button, QEvent::MouseButtonRelease, QPoint(3, 3));
    EXPECT_FALSE(ed->ButtonPressed());
    EXPECT_EQ(grid->ButtonClicks, 1);
}

TEST_F(HooksTest, PickListDrawnByItsOwnerWithVariableHeights)
{
    grid->Style = esPickList;
    CountingEdit* ed = OpenEditor();
    ASSERT_NE(ed, nullptr);
    ed->PickList = QStringList{QStringLiteral("red"), QStringLiteral("green"), QStringLiteral("blue")};
    ed->DropDown();
    ASSERT_TRUE(ed->ListVisible());
    EXPECT_EQ(ed->PickListBox()->Style(), lbStandard);
    ed->CloseUp(false);

    int drawn = 0;
    ed->PickListBox()->OnMeasureItem = [](TWinControl*, int Index, int& Height) { Height = 20 + Index * 5; };
    ed->PickListBox()->OnDrawItem = [&](TWinControl*, int, const TRect&, TOwnerDrawState) { ++drawn; };
    ed->DropDown();
    ASSERT_TRUE(ed->ListVisible());
    EXPECT_EQ(ed->PickListBox()->Style(), lbOwnerDrawVariable);
    EXPECT_EQ(ed->PickListBox()->Height(), 20 + 25 + 30 + 4);
    ed->PickListBox()->Widget()->grab();
    EXPECT_EQ(drawn, 3);

    // Cancel mode from elsewhere closes the list without taking a value.
    ed->SetListItemIndex(2);
    grid->CancelMode(nullptr);
    EXPECT_FALSE(ed->ListVisible());
    EXPECT_NE(ed->Text(), QStringLiteral("blue"));

    // A click on an item takes it.
    ed->DropDown();
    const TRect second = ed->PickListBox()->ItemRect(1);
    ed->PickListBox()->MouseDown(mbLeft, ssLeft, second.Left + 3, second.Top + 3);
    ed->PickListBox()->MouseUp(mbLeft, 0, second.Left + 3, second.Top + 3);
    EXPECT_FALSE(ed->ListVisible());
    EXPECT_EQ(ed->Text(), QStringLiteral("green"));
}

// ---- the data grid's lookup list ---------------------------------------------------------

namespace {

class TestDBGrid : public TDBGrid {
public:
    using TDBGrid::TDBGrid;
    using TDBGrid::CancelMode;
};

class LookupGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 640, 480);
        clubs.AddField(QStringLiteral("CODE"), ftWideString, 5);
        clubs.AddField(QStringLiteral("CLUB_NAME"), ftWideString, 30);
        clubs.CreateDataSet();
        clubs.AppendRecord({QStringLiteral("E"), QStringLiteral("Espoon Suunta")});
        clubs.AppendRecord({QStringLiteral("K"), QStringLiteral("Kiito")});
        clubs.AppendRecord({QStringLiteral("R"), QStringLiteral("Rasti")});
        clubs.First();
        runs.AddField(QStringLiteral("ID"), ftInteger);
        runs.AddField(QStringLiteral("CLUB"), ftWideString, 5);
        TField* name = runs.AddField(QStringLiteral("CLUB_TEXT"), ftWideString, 30, fkLookup);
        name->KeyFields = QStringLiteral("CLUB");
        name->LookupDataSet = &clubs;
        name->LookupKeyFields = QStringLiteral("CODE");
        name->LookupResultField = QStringLiteral("CLUB_NAME");
        runs.CreateDataSet();
        runs.AppendRecord({1, QStringLiteral("K")});
        runs.AppendRecord({2, QStringLiteral("E")});
        runs.First();
        src.SetDataSet(&runs);
        grid = new TestDBGrid(form.get());
        grid->SetParent(form.get());
        grid->SetBounds(0, 0, 500, 200);
        grid->SetDataSource(&src);
        grid->SetSelectedIndex(2);
    }
    TDBGridInplaceEdit* Edit()
    {
        Word key = VK_F2;
        grid->KeyDown(key, 0);
        return dynamic_cast<TDBGridInplaceEdit*>(grid->InplaceEditor());
    }
    std::unique_ptr<TForm> form;
    TClientDataSet clubs, runs;
    TDataSource src;
    TestDBGrid* grid = nullptr;
};

}  // namespace

TEST_F(LookupGridTest, LookupListWritesTheChosenKey)
{
    TDBGridInplaceEdit* ed = Edit();
    ASSERT_NE(ed, nullptr);
    EXPECT_TRUE(ed->UseDataList());
    EXPECT_EQ(ed->EditStyle(), esDataList);
    EXPECT_EQ(ed->Text(), QStringLiteral("Kiito"));
    Word key = VK_DOWN;
    ed->KeyDown(key, ssAlt);
    ASSERT_TRUE(ed->ListVisible());
    ASSERT_NE(ed->DataList(), nullptr);
    EXPECT_EQ(ed->ActiveList(), ed->DataList());
    EXPECT_EQ(ed->DataList()->RecordIndex(), 1) << "the list starts at the current key";
    EXPECT_EQ(ed->DataList()->RowCount(), 3) << "no more rows than the lookup dataset has";
    key = VK_DOWN;
    ed->KeyDown(key, 0);
    EXPECT_EQ(key, 0);
    EXPECT_TRUE(ed->ListVisible()) << "moving in the list keeps it open";
    key = VK_RETURN;
    ed->KeyDown(key, 0);
    EXPECT_FALSE(ed->ListVisible());
    EXPECT_EQ(ed->DataList()->ListSource(), nullptr) << "a closed list lets go of the lookup dataset";
    EXPECT_EQ(runs.State(), dsEdit);
    EXPECT_EQ(runs.FieldByName(QStringLiteral("CLUB"))->AsString(), QStringLiteral("R"));
    EXPECT_EQ(ed->Text(), QStringLiteral("Rasti"));
    // Leaving the editor and the row keeps the chosen key.
    key = VK_RETURN;
    ed->KeyDown(key, 0);
    runs.Post();
    runs.First();
    EXPECT_EQ(runs.FieldByName(QStringLiteral("CLUB"))->AsString(), QStringLiteral("R"));
    EXPECT_EQ(runs.FieldByName(QStringLiteral("CLUB_TEXT"))->AsString(), QStringLiteral("Rasti"));
}

TEST_F(LookupGridTest, EscapeAndCancelModeLeaveTheKey)
{
    TDBGridInplaceEdit* ed = Edit();
    ASSERT_NE(ed, nullptr);
    ed->DropDown();
    ASSERT_TRUE(ed->ListVisible());
    Word key = VK_DOWN;
    ed->KeyDown(key, 0);
    key = VK_ESCAPE;
    ed->KeyDown(key, 0);
    EXPECT_FALSE(ed->ListVisible());
    EXPECT_EQ(runs.FieldByName(QStringLiteral("CLUB"))->AsString(), QStringLiteral("K"));
    ed->ClickButton();
    ASSERT_TRUE(ed->ListVisible()) << "the button opens the list";
    grid->CancelMode(nullptr);
    EXPECT_FALSE(ed->ListVisible());
    EXPECT_EQ(runs.FieldByName(QStringLiteral("CLUB"))->AsString(), QStringLiteral("K"));
}

TEST_F(LookupGridTest, TypingSearchesTheOpenList)
{
    TDBGridInplaceEdit* ed = Edit();
    ASSERT_NE(ed, nullptr);
    ed->DropDown();
    ASSERT_TRUE(ed->ListVisible());
    QChar ch = QLatin1Char('r');
    ed->KeyPress(ch);
    EXPECT_TRUE(ch.isNull()) << "the list takes the key, the editor text stays";
    EXPECT_EQ(ed->Text(), QStringLiteral("Kiito"));
    EXPECT_EQ(ed->DataList()->RecordIndex(), 2);
    ch = QLatin1Char('e');
    ed->KeyPress(ch);
    EXPECT_EQ(ed->DataList()->RecordIndex(), 0) << "no row starts with \"re\": the search starts again from \"e\"";
    EXPECT_EQ(ed->DataList()->SearchText(), QStringLiteral("e"));
    // The list's own hook may take a key first.
    int hooked = 0;
    ed->DataList()->OnSearchKey = [&](TDBLookupListBase*, QChar& Key) {
        ++hooked;
        Key = QChar();
    };
    ch = QLatin1Char('k');
    ed->KeyPress(ch);
    EXPECT_EQ(hooked, 1);
    EXPECT_EQ(ed->DataList()->SearchText(), QStringLiteral("e"));
    Word key = VK_RETURN;
    ed->KeyDown(key, 0);
    EXPECT_EQ(runs.FieldByName(QStringLiteral("CLUB"))->AsString(), QStringLiteral("E"));
}

TEST_F(LookupGridTest, ReadOnlyKeyGivesNoList)
{
    runs.FieldByName(QStringLiteral("CLUB"))->SetReadOnly(true);
    TDBGridInplaceEdit* ed = Edit();
    ASSERT_NE(ed, nullptr);
    EXPECT_FALSE(ed->UseDataList());
    EXPECT_NE(ed->EditStyle(), esDataList);
    ed->DropDown();
    EXPECT_FALSE(ed->ListVisible());
}

TEST_F(LookupGridTest, ThemedStylePaintsHeaderSectionsAndTheLightSelection)
{
    grid->SetOptions(grid->Options() | dgMultiSelect | dgAlwaysShowSelection);
    ASSERT_TRUE(runs.Locate(QStringLiteral("ID"), 2));
    grid->SelectedRows()->SetCurrentRowSelected(true);
    runs.First();
    const TRect title = grid->CellRect(1, 0);
    const TRect selected = grid->CellRect(1, 2);

    TBitmap classic;
    grid->PaintTo(&classic);
    ExpectColor(classic.Image().pixel(title.Left + 4, title.Top + 4), clBtnFace);

    grid->SetDrawingStyle(grids::gdsThemed);
    TBitmap themed;
    grid->PaintTo(&themed);
    ExpectColor(themed.Image().pixel(title.Left + 4, title.Top + 4), clWhite);
    ExpectColor(themed.Image().pixel(selected.Left + 2, selected.Top + 2), ThemedSelectionColor(false));
}

// ---- the tree's sideways scrolling -------------------------------------------------------

TEST(TreeHScrollTest, WideLinesScrollSidewaysAndNotify)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 300);
    auto* t = new TTreeView(&form);
    t->SetParent(&form);
    t->SetBounds(0, 0, 120, 200);
    TTreeNode* n = t->Items()->Add(nullptr, QStringLiteral("Events"));
    for (int i = 0; i < 4; ++i)
        n = t->Items()->AddChild(n, QStringLiteral("A rather long name of a level %1").arg(i));
    t->FullExpand();
    int scrolls = 0;
    t->OnHScroll = [&](TComponent*) { ++scrolls; };
    ASSERT_GT(t->ContentWidth(), t->Width());
    const int left = n->DisplayRect(true).Left;
    t->ScrollHorz(30);
    EXPECT_EQ(t->HorzPosition(), 30);
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(n->DisplayRect(true).Left, left - 30) << "the lines move left";
    t->SetHorzPosition(30);
    EXPECT_EQ(scrolls, 1) << "no change, no notification";
    t->ScrollHorz(100000);
    EXPECT_EQ(scrolls, 2);
    EXPECT_LT(t->HorzPosition(), t->ContentWidth());
    t->DoMouseWheel(ssShift, 120 * 100, {0, 0});
    EXPECT_EQ(t->HorzPosition(), 0) << "Shift and the wheel scroll sideways";
    EXPECT_EQ(scrolls, 3);
}
