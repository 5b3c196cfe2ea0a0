// The grid base classes: geometry, the in-place editor's key flow on a
// string grid and on a data grid, painting through the data link's window
// without moving the cursor, pick lists, selected rows and page scrolling.

#include "platform/database/ClientDataSet.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/Forms.h"
#include "platform/ui/HintWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace {

// Exposes the protected hooks the tests drive.
class TestStringGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;
    using TStringGrid::CanEditShow;
};

class TestDBGrid : public TDBGrid {
public:
    using TDBGrid::TDBGrid;
    using TDBGrid::GetEditStyle;
};

class GridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 640, 480);
    }
    std::unique_ptr<TForm> form;
};

TEST_F(GridTest, CellGeometryAndScrollingIntoView)
{
    auto* g = new TestStringGrid(form.get());
    g->SetParent(form.get());
    g->SetScrollBars(ssNone);
    g->SetBounds(0, 0, 300, 200);
    g->SetColCount(6);
    g->SetRowCount(30);
    g->SetDefaultRowHeight(19);
    g->SetDefaultColWidth(60);
    // Cells are 60 x 19 with a one-pixel line after each.
    EXPECT_EQ(g->CellRect(0, 0).Left, 0);
    EXPECT_EQ(g->CellRect(1, 1).Left, 61);
    EXPECT_EQ(g->CellRect(1, 1).Top, 20);
    EXPECT_EQ(g->CellRect(1, 1).Width(), 60);
    EXPECT_EQ(g->VisibleRowCount(), 9);  // (200 - 20) / 20
    TGridCoord c = g->MouseCoord(70, 25);
    EXPECT_EQ(c.X, 1);
    EXPECT_EQ(c.Y, 1);
    // Moving below the last whole row scrolls the rows; the fixed row stays.
    g->SetRow(15);
    EXPECT_EQ(g->Row(), 15);
    EXPECT_EQ(g->TopRow(), 7);
    EXPECT_EQ(g->CellRect(1, 15).Top, 20 + 8 * 20);
    EXPECT_TRUE(g->CellRect(1, 3).IsEmpty()) << "scrolled out of view";
    EXPECT_EQ(g->CellRect(1, 0).Top, 0);
    g->SetColWidths(2, 100);
    EXPECT_EQ(g->CellRect(3, 0).Left, 61 + 61 + 101);
}

TEST_F(GridTest, StringGridEditorKeyFlow)
{
    auto* g = new TestStringGrid(form.get());
    g->SetParent(form.get());
    g->SetBounds(0, 0, 400, 200);
    g->SetColCount(4);
    g->SetRowCount(4);
    g->SetOptions(g->Options() | goEditing | goTabs);
    g->SetCells(1, 1, QStringLiteral("old"));
    g->FocusCell(1, 1, true);

    // Typing over a cell opens the editor with the key.
    QChar ch = QLatin1Char('x');
    g->KeyPress(ch);
    ASSERT_TRUE(g->EditorMode());
    TInplaceEdit* ed = g->InplaceEditor();
    EXPECT_EQ(ed->Text(), QStringLiteral("x"));
    EXPECT_EQ(g->Cells(1, 1), QStringLiteral("old")) << "nothing written before the editor lets go";
    Word key = VK_RETURN;
    g->InplaceEditor()->KeyDown(key, 0);
    EXPECT_FALSE(g->EditorMode());
    EXPECT_EQ(g->Cells(1, 1), QStringLiteral("x"));

    // F2 opens it on the cell's text; Escape puts it back and closes.
    key = VK_F2;
    g->KeyDown(key, 0);
    ASSERT_TRUE(g->EditorMode());
    EXPECT_EQ(ed->Text(), QStringLiteral("x"));
    ed->SetText(QStringLiteral("typed"));
    key = VK_ESCAPE;
    ed->KeyDown(key, 0);
    EXPECT_FALSE(g->EditorMode());
    EXPECT_EQ(g->Cells(1, 1), QStringLiteral("x"));

    // Down in the editor writes the cell and moves with the editor open.
    key = VK_F2;
    g->KeyDown(key, 0);
    ed->SetText(QStringLiteral("abc"));
    key = VK_DOWN;
    ed->KeyDown(key, 0);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(g->Cells(1, 1), QStringLiteral("abc"));
    EXPECT_EQ(g->Row(), 2);
    EXPECT_TRUE(g->EditorMode());
    EXPECT_EQ(ed->Text(), QString());
    // Tab moves to the next column; the editor follows the cell.
    ed->SetText(QStringLiteral("r2"));
    key = VK_TAB;
    ed->KeyDown(key, 0);
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(g->Cells(1, 2), QStringLiteral("r2"));
    const TRect r = g->CellRect(2, 2);
    EXPECT_EQ(ed->Left(), r.Left);
    EXPECT_EQ(ed->Top(), r.Top);
    // Left at the start of the text leaves the editor and moves the cell.
    ed->SetText(QString());
    key = VK_LEFT;
    ed->KeyDown(key, 0);
    EXPECT_EQ(g->Col(), 1);
    // Without goEditing nothing opens.
    key = VK_ESCAPE;
    ed->KeyDown(key, 0);
    g->SetOptions(g->Options() & ~goEditing);
    ch = QLatin1Char('y');
    g->KeyPress(ch);
    EXPECT_FALSE(g->EditorMode());
}

void SendKey(QWidget* W, int Key, const QString& Text = QString(), Qt::KeyboardModifiers Mods = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, Key, Mods, Text);
    QApplication::sendEvent(W, &press);
    QKeyEvent release(QEvent::KeyRelease, Key, Mods, Text);
    QApplication::sendEvent(W, &release);
}

TEST_F(GridTest, RealKeyEventsReachGridAndEditor)
{
    auto* g = new TestStringGrid(form.get());
    g->SetParent(form.get());
    g->SetBounds(0, 0, 400, 200);
    g->SetOptions(g->Options() | goEditing);
    form->Show();
    g->SetFocus();
    g->FocusCell(1, 1, true);
    SendKey(g->Widget(), Qt::Key_K, QStringLiteral("k"));
    ASSERT_TRUE(g->EditorMode());
    QWidget* ew = g->InplaceEditor()->Widget();
    SendKey(ew, Qt::Key_I, QStringLiteral("i"));
    EXPECT_EQ(g->InplaceEditor()->Text(), QStringLiteral("ki"));
    SendKey(ew, Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_FALSE(g->EditorMode());
    EXPECT_EQ(g->Cells(1, 1), QStringLiteral("ki"));
    SendKey(g->Widget(), Qt::Key_Down);
    EXPECT_EQ(g->Row(), 2);
    SendKey(g->Widget(), Qt::Key_F2);
    ASSERT_TRUE(g->EditorMode());
    SendKey(g->InplaceEditor()->Widget(), Qt::Key_Up);
    EXPECT_EQ(g->Row(), 1) << "the editor hands row moves to the grid";
    EXPECT_EQ(g->InplaceEditor()->Text(), QStringLiteral("ki"));
    form->Hide();
}

// A client dataset of N runners: ID, NAME, CLUB, SECS.
std::unique_ptr<TClientDataSet> MakeRuns(int N)
{
    auto d = std::make_unique<TClientDataSet>();
    d->AddField(QStringLiteral("ID"), ftInteger);
    d->AddField(QStringLiteral("NAME"), ftWideString, 30);
    d->AddField(QStringLiteral("CLUB"), ftWideString, 10);
    d->AddField(QStringLiteral("SECS"), ftInteger);
    d->SetKeyFields(QStringLiteral("ID"));
    d->CreateDataSet();
    for (int i = 1; i <= N; ++i)
        d->AppendRecord({i, QStringLiteral("Runner %1").arg(i), i % 2 ? QStringLiteral("K") : QStringLiteral("E"), 1000 + i});
    d->First();
    return d;
}

class DBGridTest : public GridTest {
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        data = MakeRuns(50);
        src = std::make_unique<TDataSource>();
        src->SetDataSet(data.get());
        grid = new TestDBGrid(form.get());
        grid->SetParent(form.get());
        grid->SetBounds(0, 0, 500, 22 * 11);
        grid->SetDataSource(src.get());
        data->BeforeScroll = [this](TDataSet*) { ++scrolls; };
        data->AfterScroll = [this](TDataSet*) { ++scrolls; };
    }
    std::unique_ptr<TClientDataSet> data;
    std::unique_ptr<TDataSource> src;
    TestDBGrid* grid = nullptr;
    int scrolls = 0;
};

TEST_F(DBGridTest, LayoutFollowsTheFields)
{
    EXPECT_EQ(grid->Columns()->Count(), 4);
    EXPECT_EQ(grid->Columns()->State(), csDefault);
    EXPECT_EQ(grid->ColCount(), 5) << "indicator and four columns";
    EXPECT_EQ(grid->FixedRows(), 1);
    EXPECT_EQ(grid->Columns()->Items(1)->Title()->Caption(), QStringLiteral("NAME"));
    EXPECT_EQ(grid->RowCount(), 1 + grid->DataLink()->BufferCount());
    EXPECT_EQ(grid->DataLink()->BufferCount(), 10);
    EXPECT_EQ(grid->SelectedField()->FieldName(), QStringLiteral("ID"));
    grid->Columns()->Items(2)->SetVisible(false);
    EXPECT_EQ(grid->ColCount(), 4);
    EXPECT_EQ(grid->RawToDataColumn(3), 3);
    EXPECT_EQ(grid->DataToRawColumn(2), -1);
    grid->SetOptions(grid->Options() & ~dgIndicator);
    EXPECT_EQ(grid->ColCount(), 3);
    EXPECT_EQ(grid->RawToDataColumn(0), 0);
}

TEST_F(DBGridTest, PaintingReadsOtherRowsWithoutMovingTheCursor)
{
    ASSERT_TRUE(data->Locate(QStringLiteral("ID"), 5));
    scrolls = 0;
    std::map<int, QString> painted;  // data row -> NAME read while painting
    std::map<int, bool> selected;
    grid->OnDrawColumnCell = [&](TComponent*, const TRect& R, int DataCol, TColumn* Column, TGridDrawState State) {
        if (DataCol != 1)
            return;
        const int dataRow = (R.Top - grid->CellRect(1, 1).Top) / (grid->DefaultRowHeight() + 1);
        painted[dataRow] = Column->Field()->AsString();
        selected[dataRow] = State & gdSelected;
    };
    grid->SetOptions(grid->Options() | dgMultiSelect | dgAlwaysShowSelection);
    grid->SelectedRows()->SetCurrentRowSelected(true);
    ASSERT_TRUE(data->Locate(QStringLiteral("ID"), 3));
    grid->SelectedRows()->SetCurrentRowSelected(true);
    scrolls = 0;
    TBitmap bmp;
    grid->PaintTo(&bmp);
    EXPECT_EQ(scrolls, 0) << "painting must not scroll the dataset";
    EXPECT_EQ(data->FieldByName(QStringLiteral("ID"))->AsInteger(), 3);
    EXPECT_EQ(data->ActiveRecordOverride(), -1);
    ASSERT_EQ(painted.size(), 10u);
    const int first = grid->DataLink()->FirstRecord();
    for (auto& [row, name] : painted)
        EXPECT_EQ(name, QStringLiteral("Runner %1").arg(first + row + 1));
    EXPECT_TRUE(selected[3 - first - 1]);
    EXPECT_TRUE(selected[5 - first - 1]);
    EXPECT_FALSE(selected[4 - first - 1]);
    EXPECT_EQ(grid->SelectedRows()->Count(), 2);
}

TEST_F(DBGridTest, EditorKeyFlowEditsAndPosts)
{
    grid->SetSelectedIndex(1);  // NAME
    ASSERT_EQ(grid->SelectedField()->FieldName(), QStringLiteral("NAME"));
    QChar ch = QLatin1Char('Z');
    grid->KeyPress(ch);
    ASSERT_TRUE(grid->EditorMode());
    EXPECT_EQ(data->State(), dsEdit) << "typing puts the record into edit mode";
    TInplaceEdit* ed = grid->InplaceEditor();
    EXPECT_EQ(ed->Text(), QStringLiteral("Z"));
    ed->SetText(QStringLiteral("Zorro"));
    Word key = VK_RETURN;
    ed->KeyDown(key, 0);
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_EQ(data->State(), dsEdit);
    EXPECT_EQ(data->FieldByName(QStringLiteral("NAME"))->AsString(), QStringLiteral("Zorro"));
    // Leaving the row posts.
    key = VK_DOWN;
    grid->KeyDown(key, 0);
    EXPECT_EQ(data->State(), dsBrowse);
    EXPECT_EQ(data->RecNo(), 2);
    EXPECT_EQ(grid->Row(), 2);
    data->First();
    EXPECT_EQ(data->FieldByName(QStringLiteral("NAME"))->AsString(), QStringLiteral("Zorro"));

    // Escape in the editor restores the text; Escape in the grid cancels.
    data->Next();
    key = VK_F2;
    grid->KeyDown(key, 0);
    ASSERT_TRUE(grid->EditorMode());
    ch = QLatin1Char('Q');
    ed->KeyPress(ch);
    ed->SetText(QStringLiteral("Quux"));
    key = VK_ESCAPE;
    ed->KeyDown(key, 0);
    EXPECT_FALSE(grid->EditorMode());
    key = VK_ESCAPE;
    grid->KeyDown(key, 0);
    EXPECT_EQ(data->State(), dsBrowse);
    EXPECT_EQ(data->FieldByName(QStringLiteral("NAME"))->AsString(), QStringLiteral("Runner 2"));
}

TEST_F(DBGridTest, PickListChoosesAValue)
{
    TColumn* club = grid->Columns()->Items(2);
    club->PickList = QStringList{QStringLiteral("K"), QStringLiteral("E")};
    grid->SetSelectedIndex(2);
    EXPECT_EQ(grid->GetEditStyle(grid->Col(), grid->Row()), esPickList);
    Word key = VK_F2;
    grid->KeyDown(key, 0);
    auto* ed = dynamic_cast<TInplaceEditList*>(grid->InplaceEditor());
    ASSERT_NE(ed, nullptr);
    EXPECT_EQ(ed->EditStyle(), esPickList);
    QChar none;
    (void)none;
    key = VK_DOWN;
    ed->KeyDown(key, ssAlt);
    ASSERT_TRUE(ed->ListVisible());
    key = VK_DOWN;
    ed->KeyDown(key, 0);
    EXPECT_EQ(ed->ListItemIndex(), 1);
    key = VK_RETURN;
    ed->KeyDown(key, 0);
    EXPECT_FALSE(ed->ListVisible());
    EXPECT_EQ(data->FieldByName(QStringLiteral("CLUB"))->AsString(), QStringLiteral("E"));
    data->Post();
    EXPECT_EQ(data->FieldByName(QStringLiteral("CLUB"))->AsString(), QStringLiteral("E"));
}

TEST_F(DBGridTest, PageDownWalksEveryRowOnce)
{
    int pages = 0;
    while (!data->Eof() && pages < 100) {
        Word key = VK_NEXT;
        grid->KeyDown(key, 0);
        ++pages;
        EXPECT_GE(grid->Row(), 1);
        EXPECT_LE(grid->Row(), 10);
        EXPECT_EQ(grid->Row() - 1, grid->DataLink()->ActiveRecord());
    }
    EXPECT_EQ(data->RecNo(), 50);
    EXPECT_EQ(pages, 5);  // 1 -> 11 -> 21 -> 31 -> 41 -> 50 (the end)
    Word key = VK_HOME;
    grid->KeyDown(key, ssCtrl);
    EXPECT_EQ(data->RecNo(), 1);
    EXPECT_EQ(grid->Row(), 1);
    // Clicking a row moves the dataset there.
    const TRect r = grid->CellRect(2, 4);
    grid->MouseDown(mbLeft, 0, r.Left + 3, r.Top + 3);
    grid->MouseUp(mbLeft, 0, r.Left + 3, r.Top + 3);
    EXPECT_EQ(data->RecNo(), 4);
    EXPECT_EQ(grid->Col(), 2);
}

TEST_F(DBGridTest, TitleClickAndColumnSizing)
{
    TColumn* clicked = nullptr;
    grid->OnTitleClick = [&](TColumn* C) { clicked = C; };
    const TRect t = grid->CellRect(2, 0);
    grid->MouseDown(mbLeft, 0, t.Left + 10, t.Top + 5);
    EXPECT_TRUE(grid->HotTrackPressed());
    grid->MouseUp(mbLeft, 0, t.Left + 10, t.Top + 5);
    ASSERT_NE(clicked, nullptr);
    EXPECT_EQ(clicked->FieldName(), QStringLiteral("NAME"));
    // Dragging the right edge of a title sizes the column.
    const int w = grid->Columns()->Items(0)->Width();
    const TRect t0 = grid->CellRect(1, 0);
    grid->MouseDown(mbLeft, 0, t0.Right, 5);
    EXPECT_EQ(grid->GridState(), gsColSizing);
    grid->MouseMove(ssLeft, t0.Right + 30, 5);
    grid->MouseUp(mbLeft, 0, t0.Right + 30, 5);
    EXPECT_EQ(grid->Columns()->Items(0)->Width(), w + 30);
    EXPECT_EQ(grid->ColWidths(1), w + 30);
}

TEST_F(DBGridTest, InsertedRowShowsAtTheCursorAndPushesTheRestDown)
{
    ASSERT_TRUE(data->Locate(QStringLiteral("ID"), 3));
    std::map<int, QString> painted;
    grid->OnDrawColumnCell = [&](TComponent*, const TRect& R, int DataCol, TColumn* Column, TGridDrawState) {
        if (DataCol == 1)
            painted[(R.Top - grid->CellRect(1, 1).Top) / (grid->DefaultRowHeight() + 1)] = Column->Field()->AsString();
    };
    Word key = VK_INSERT;
    grid->KeyDown(key, 0);
    ASSERT_EQ(data->State(), dsInsert);
    TBitmap bmp;
    grid->PaintTo(&bmp);
    EXPECT_EQ(painted[1], QStringLiteral("Runner 2"));
    EXPECT_EQ(painted[2], QString()) << "the new record";
    EXPECT_EQ(painted[3], QStringLiteral("Runner 3"));
    EXPECT_EQ(painted[4], QStringLiteral("Runner 4"));
    key = VK_ESCAPE;
    grid->KeyDown(key, 0);
    EXPECT_EQ(data->State(), dsBrowse);
    EXPECT_EQ(data->RecordCount(), 50);
}

TEST(HintWindowTest, SizedForItsTextAndShownWithoutFocus)
{
    THintWindow h(nullptr);
    const TRect one = h.CalcHintRect(300, QStringLiteral("Smi (Smix not found)"));
    const TRect two = h.CalcHintRect(300, QStringLiteral("Smi (Smix not found)\r\n* Ctrl+Right to filter"));
    EXPECT_GT(one.Width(), 40);
    EXPECT_GT(two.Height(), one.Height() + 5);
    const TRect narrow = h.CalcHintRect(60, QStringLiteral("several words that cannot fit on one narrow line"));
    EXPECT_LE(narrow.Width(), 62);
    EXPECT_GT(narrow.Height(), two.Height());
    h.ActivateHint(Rect(100, 100, 100 + two.Width(), 100 + two.Height()), QStringLiteral("a\r\nb"));
    EXPECT_TRUE(h.Showing());
    EXPECT_EQ(h.Width(), two.Width());
    TBitmap bmp;
    h.PaintTo(&bmp);
    h.ReleaseHandle();
    EXPECT_FALSE(h.Showing());
}

TEST_F(DBGridTest, CellHintsFollowTheMouse)
{
    grid->OnCellHint = [](TCustomGrid*, int ACol, int ARow, QString& Hint, bool& CanShow) {
        Hint = QStringLiteral("col %1|row %2").arg(ACol).arg(ARow);
        CanShow = ACol != 3;
    };
    const TRect r = grid->CellRect(2, 3);
    grid->MouseMove(0, r.Left + 2, r.Top + 2);
    EXPECT_EQ(grid->Hint(), QStringLiteral("col 2\nrow 3"));
    const TRect r3 = grid->CellRect(3, 3);
    grid->MouseMove(0, r3.Left + 2, r3.Top + 2);
    EXPECT_EQ(grid->Hint(), QString());
}

}  // namespace
