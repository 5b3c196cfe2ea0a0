// The cell editor's drop-downs and button: pick lists as wide as their
// widest item, colour lists with room for their squares, a window's own
// size and drawing of a list, the general events around a drop-down, and the
// ellipsis button's format.

#include "tests/rdbgrid/RDBGridFixture.h"

#include "components/grid/rDBGridInplaceEditEx.h"
#include "platform/database/DataSource.h"
#include "platform/database/Fields.h"
#include "platform/ui/ListBoxes.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>

namespace {

constexpr int NameData = 1, ClubData = 2, StatusData = 3;

class DropDownTest : public RDBGridTest {
protected:
    void SetUp() override
    {
        RDBGridTest::SetUp();
        grid->SetOptions(grid->Options() | dgEditing);
        grid->Columns()->Items(ClubData)->SetWidth(60);
        grid->Columns()->Items(ClubData)->PickList = {QStringLiteral("OK"),
                                                       QStringLiteral("Suunta-Äänekosken Rastiseura ry")};
        grid->OnGeneralEvent = [this](TComponent*, TGeneralEventType T, TGeneralEventRec&, bool&) {
            if (T == geDropDownShowing)
                ++showing;
            else if (T == geDropDownClosed)
                ++closed;
        };
    }
    TrDBGridInplaceEditEx* Open(int DataCol)
    {
        grid->SetSelectedIndex(DataCol);
        grid->ShowEditor();
        TrDBGridInplaceEditEx* ed = grid->GetInplaceEditor();
        Word k = VK_F4;
        ed->KeyDown(k, 0);
        return ed;
    }
    // The grid over one run of "OK Espoo" (club 2 of two) with its default
    // columns, the editor shown in the lookup column CLUB (2).
    std::unique_ptr<TClientDataSet> EditOneClubRun(TClientDataSet& Clubs)
    {
        auto runs = MakeClubRuns(Clubs, {"Rasti-Helsinki", "OK Espoo"});
        runs->AppendRecord({1, 2});
        runs->First();
        src->SetDataSet(runs.get());
        grid->Columns()->SetState(csDefault);
        grid->LayoutChanged();
        grid->SetSelectedIndex(2);
        grid->ShowEditor();
        return runs;
    }
    int showing = 0, closed = 0;
};

}  // namespace

TEST_F(DropDownTest, APickListWidensToItsWidestItem)
{
    TrDBGridInplaceEditEx* ed = Open(ClubData);
    ASSERT_TRUE(ed->ListVisible());
    TWinControl* list = ed->ActiveList();
    grid->Canvas()->Font()->Assign(*ed->Font());
    const int widest = grid->Canvas()->TextWidth(QStringLiteral("Suunta-Äänekosken Rastiseura ry"));
    EXPECT_GE(list->Width(), widest + 8);
    EXPECT_GT(list->Width(), ed->Width());
    EXPECT_EQ(showing, 1);
    ed->CloseUp(false);
    EXPECT_EQ(closed, 1);

    // Without AutoPickListWidth the platform's width stays.
    grid->OptionsEx2().Editors.AutoPickListWidth = false;
    ed = Open(ClubData);
    EXPECT_LT(ed->ActiveList()->Width(), widest);
    ed->CloseUp(false);

    // A window may size the list itself.
    grid->OnPickListSetSize = [](TComponent*, int& W, int& H, bool& Resize) {
        W = 333;
        H = 77;
        Resize = true;
    };
    ed = Open(ClubData);
    EXPECT_EQ(ed->ActiveList()->Width(), 333);
    EXPECT_EQ(ed->ActiveList()->Height(), 77);
    ed->CloseUp(false);
}

TEST_F(DropDownTest, ColourListsMakeRoomForTheirSquares)
{
    grid->FieldsAsColor.Add(QStringLiteral("STATUS"));
    grid->LoadColorPickList();
    TrDBGridInplaceEditEx* ed = Open(StatusData);
    ASSERT_TRUE(ed->ListVisible());
    grid->Canvas()->Font()->Assign(*ed->Font());
    int widest = 0;
    for (const QString& s : grid->Columns()->Items(StatusData)->PickList)
        widest = std::max(widest, grid->Canvas()->TextWidth(s));
    EXPECT_GE(ed->ActiveList()->Width(), widest + ed->Height() + 16 + 12);
    ed->CloseUp(false);
}

TEST_F(DropDownTest, AWindowDrawsAndMeasuresItsOwnDropDowns)
{
    grid->FieldsDrawDropDown.Add(QStringLiteral("CLUB"));
    QList<int> drawn;
    int measured = 0;
    grid->OnPickListMeasureItem = [&measured](TWinControl*, int, int& H) {
        ++measured;
        H = 30;
    };
    grid->OnPickListDrawItem = [&drawn](TWinControl* C, int Index, const TRect& R, TOwnerDrawState) {
        drawn << Index;
        TCanvas* c = static_cast<TCustomListBox*>(C)->Canvas();
        c->Brush()->SetColor(clRed);
        c->FillRect(R);
    };
    TrDBGridInplaceEditEx* ed = Open(ClubData);
    ASSERT_TRUE(ed->ListVisible());
    EXPECT_GE(measured, 2);
    EXPECT_GE(ed->ActiveList()->Height(), 60) << "the measured heights";
    QWidget* w = ed->ActiveList()->Widget();
    QImage img(w->size(), QImage::Format_ARGB32);
    w->render(&img);
    EXPECT_TRUE(drawn.contains(0) && drawn.contains(1));
    EXPECT_GT(CountPixels(img, Rect(0, 0, img.width(), img.height()), IsRed), 100);
    ed->CloseUp(false);
    // Other columns keep the plain list.
    drawn.clear();
    grid->Columns()->Items(NameData)->PickList = {QStringLiteral("a"), QStringLiteral("b")};
    ed = Open(NameData);
    ASSERT_TRUE(ed->ListVisible());
    w = ed->ActiveList()->Widget();
    w->render(&img);
    EXPECT_TRUE(drawn.isEmpty());
    ed->CloseUp(false);
}

TEST_F(DropDownTest, TheEllipsisButtonTakesTheWindowsFormat)
{
    grid->Columns()->Items(NameData)->ButtonStyle = cbsEllipsis;
    // A red square on white: the bottom-left pixel's colour is transparent.
    TBitmap red(10, 10);
    red.Canvas()->Brush()->SetColor(clWhite);
    red.Canvas()->FillRect(Rect(0, 0, 10, 10));
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(Rect(1, 1, 9, 9));
    int asked = 0;
    TField* seen = nullptr;
    grid->OnGetEllipsisButtonFormat = [&](TComponent*, int ColIndex, TField* F, int& W, TBitmap*& Glyph) {
        ++asked;
        EXPECT_EQ(ColIndex, NameData);
        seen = F;
        W = 0;
        Glyph = &red;
    };
    grid->SetSelectedIndex(NameData);
    grid->ShowEditor();
    TrDBGridInplaceEditEx* ed = grid->GetInplaceEditor();
    ASSERT_EQ(ed->EditStyle(), esEllipsis);
    QWidget* w = ed->Widget();
    QImage img(w->size(), QImage::Format_ARGB32);
    img.fill(Qt::white);
    w->render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
    EXPECT_GT(asked, 0);
    EXPECT_EQ(seen, data->FieldByName(QStringLiteral("NAME")));
    EXPECT_GT(CountPixels(img, Rect(img.width() / 2, 0, img.width(), img.height()), IsRed), 30) << "the window's glyph";
}

TEST_F(DropDownTest, AListOpenedPastTheScreensRightEdgeKeepsItsWidth)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QRect desk = screen->availableGeometry();
    // The editor starts beyond the right edge, and just inside it.
    for (int left : {desk.right() + 40, desk.right() - 20}) {
        form->SetBounds(left - grid->CellRect(ClubData + 1, 1).Left, 0, 700, 420);
        grid->SetSelectedIndex(ClubData);
        grid->ShowEditor();
        TrDBGridInplaceEditEx* ed = grid->GetInplaceEditor();
        ASSERT_NE(ed, nullptr);
        QTest::keyClick(ed->Widget(), Qt::Key_F4);
        ASSERT_TRUE(ed->ListVisible()) << left;
        TWinControl* list = ed->ActiveList();
        EXPECT_GE(list->Width(), ed->Width()) << left;
        EXPECT_LE(list->Widget()->geometry().right(), desk.right()) << left;
        EXPECT_GE(list->Widget()->geometry().left(), desk.left()) << left;
        ed->CloseUp(false);
    }
}

TEST_F(DropDownTest, TheWheelOverTheGridMovesAnOpenListALinePerNotch)
{
    grid->Columns()->Items(ClubData)->PickList = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                                                   QStringLiteral("D"), QStringLiteral("E")};
    TrDBGridInplaceEditEx* ed = Open(ClubData);
    ASSERT_TRUE(ed->ListVisible());
    auto* list = dynamic_cast<TCustomListBox*>(ed->ActiveList());
    ASSERT_NE(list, nullptr);
    list->SetItemIndex(0);
    const int top = grid->TopRow();
    auto wheel = [&](int Delta) {
        const QPointF p(20, 40);
        QWheelEvent e(p, grid->Widget()->mapToGlobal(p), QPoint(), QPoint(0, Delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid->Widget(), &e);
    };
    wheel(-240);
    EXPECT_EQ(list->ItemIndex(), 2);
    wheel(60);  // a started notch counts
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(grid->TopRow(), top) << "the grid does not scroll under an open list";
    ed->CloseUp(false);
}

TEST_F(DropDownTest, TheLookupListTakesTheGridsItemHeight)
{
    TClientDataSet clubs;
    auto runs = MakeClubRuns(clubs, {"Rasti-Helsinki", "OK Espoo", "Kiito-Tampere"});
    runs->AppendRecord({1, 1});
    runs->First();
    src->SetDataSet(runs.get());
    grid->Columns()->SetState(csDefault);
    grid->LayoutChanged();
    // Grid height, event's answer -> the list's row height (0 = text height + increase).
    struct Case { int GridHeight; int EventHeight; int Increase; } cases[] = {{0, -1, 2}, {0, -1, 9}, {30, -1, 2}, {30, 24, 2}};
    int textRows = 0;
    for (const Case& c : cases) {
        grid->LookupListItemHeight = c.GridHeight;
        grid->LookupListItemIncreaseHeight = c.Increase;
        grid->OnGetLookupListItemHeight = nullptr;
        if (c.EventHeight >= 0)
            grid->OnGetLookupListItemHeight = [&](TComponent*, TCanvas*, const QString& Key, const QString& List, int& H) {
                EXPECT_EQ(Key, QStringLiteral("CID"));
                EXPECT_EQ(List, QStringLiteral("CNAME"));
                H = c.EventHeight;
            };
        TrDBGridInplaceEditEx* ed = Open(2);
        ASSERT_TRUE(ed->ListVisible());
        ASSERT_EQ(ed->ActiveList(), ed->DataList());
        const int rows = ed->DataList()->RowCount();
        const int rowHeight = (ed->DataList()->Height() - 2) / rows;
        const int want = c.EventHeight >= 0 ? c.EventHeight : c.GridHeight;
        if (want > 0)
            EXPECT_EQ(rowHeight, want);
        else if (c.Increase == 2)
            textRows = rowHeight;
        else
            EXPECT_EQ(rowHeight, textRows + 7);
        ed->CloseUp(false);
    }
    runs->Cancel();
    src->SetDataSet(data.get());
}

TEST_F(DropDownTest, DeleteInALookupCellWithItsListClosedGoesToTheGrid)
{
    TClientDataSet clubs;
    auto runs = EditOneClubRun(clubs);
    TrDBGridInplaceEditEx* ed = grid->GetInplaceEditor();
    ASSERT_NE(ed, nullptr);
    ASSERT_FALSE(ed->ListVisible());
    ed->SetSelStart(0);
    ed->SetSelLength(0);
    QTest::keyClick(ed->Widget(), Qt::Key_Delete);
    EXPECT_EQ(ed->Text(), QStringLiteral("OK Espoo")) << "the editor does not cut the club's name";
    runs->Cancel();
    src->SetDataSet(data.get());
}

TEST_F(DropDownTest, ALookupCellOpensOnDoubleClickAndItsListEndsTheLookupFilter)
{
    TClientDataSet clubs;
    grid->OptionsEx2().Editors.AllowLookupFilter = true;
    auto runs = EditOneClubRun(clubs);
    TrDBGridInplaceEditEx* ed = grid->GetInplaceEditor();
    ASSERT_NE(ed, nullptr);
    ASSERT_FALSE(ed->ListVisible());
    QTest::mouseDClick(ed->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    ASSERT_TRUE(ed->ListVisible());
    EXPECT_EQ(ed->ActiveList(), ed->DataList());
    // The grid's lookup-filter search narrowed the clubs while the list was open.
    clubs.SetFilter(QStringLiteral("CID = 2"));
    clubs.SetFiltered(true);
    const int before = closed;
    ed->CloseUp(false);
    EXPECT_FALSE(clubs.Filtered());
    EXPECT_EQ(closed, before + 1);
    runs->Cancel();
    src->SetDataSet(data.get());
}
