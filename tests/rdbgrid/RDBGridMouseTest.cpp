// Mouse gestures on the grid's decorations and cells: a double click at a
// title border sizes the column, a click on a link's text raises the link
// event, one-click check boxes, the top-left cell and footer cell clicks,
// and the hints of titles, cut cells and the record count.

#include "tests/rdbgrid/RDBGridFixture.h"

#include "platform/database/Fields.h"
#include "platform/ui/HintWindow.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QWidget>
#include <algorithm>

#include <QApplication>
#include <QWidget>

namespace {

constexpr int NameCol = 2, ClubCol = 3, RentedCol = 5;

}  // namespace

TEST_F(RDBGridTest, DoubleClickAtATitleBorderSizesTheColumnToItsData)
{
    const TRect r = grid->CellRect(ClubCol, 0);
    int dblClicks = 0;
    grid->OnDblClick = [&](TComponent*) { ++dblClicks; };
    const QString longest = QStringLiteral("Suunta-Äänekoski");
    DoubleClick(r.Right - 1, (r.Top + r.Bottom) / 2);
    TColumn* club = grid->Columns()->Items(2);
    grid->Canvas()->Font()->Assign(*club->Font());
    EXPECT_EQ(club->Width(), grid->Canvas()->TextWidth(longest) + 8) << "the widest club name + 8";
    EXPECT_EQ(dblClicks, 0) << "a double click on the titles raises no OnDblClick";
    EXPECT_EQ(grid->SortFieldName(), QString());
}

// A link cell drawn as a data image is a link only over its image, which is
// centred and as wide as the image list's images; a plain link cell over its
// text as drawn.
TEST_F(RDBGridTest, ALinkShownAsAnImageIsClickedOnTheImage)
{
    TImageList images(nullptr);
    images.SetSize(16, 16);
    FillImages(&images);
    grid->SetDataImageList(&images);
    grid->FieldsAsLink.Add(QStringLiteral("CLUB=user_defined"));
    grid->DataImages.SetText(QStringLiteral("[CLUB]\r\n*=0\r\n"));
    const TRect club = grid->CellRect(ClubCol, 2);
    const int mid = (club.Left + club.Right) / 2, y = club.Top + 9;
    const struct {
        int X;
        bool Link;
    } cases[] = {{mid, true}, {mid - 7, true}, {mid + 6, true}, {club.Left + 8, false}, {mid + 12, false}};
    for (const auto& c : cases) {
        Move(c.X, y);
        EXPECT_EQ(grid->IsOverLink(), c.Link) << c.X - mid;
    }
    grid->SetDataImageList(nullptr);
}

TEST_F(RDBGridTest, LinkTextClickCheckBoxClickAndFixedCells)
{
    grid->FieldsAsLink.Add(QStringLiteral("CLUB=user_defined"));
    QVariant clicked;
    grid->OnLinkClick = [&](TComponent*, TDataSet*, TColumn*, TField*, const QVariant& V) { clicked = V; };
    const TRect club = grid->CellRect(ClubCol, 2);
    // Beside the text: no link.
    Move(club.Right - 3, club.Top + 8);
    EXPECT_FALSE(grid->IsOverLink());
    Click(club.Right - 3, club.Top + 8);
    EXPECT_FALSE(clicked.isValid());
    Move(club.Left + 8, club.Top + 8);
    EXPECT_TRUE(grid->IsOverLink());
    Click(club.Left + 8, club.Top + 8);
    EXPECT_EQ(clicked.toString(), QStringLiteral("Kiito-Tampere"));
    // One click toggles a check box when so configured.
    grid->FieldsAsBoolean.Add(QStringLiteral("RENTED=K;E"));
    grid->OptionsEx2().Editors.BoolOneClickChange = true;
    const TRect rented = grid->CellRect(RentedCol, 3);
    Click((rented.Left + rented.Right) / 2, (rented.Top + rented.Bottom) / 2);
    EXPECT_EQ(data->FieldByName(QStringLiteral("ID"))->AsInteger(), 3);
    EXPECT_EQ(data->FieldByName(QStringLiteral("RENTED"))->AsString(), QStringLiteral("E")) << "record 3 was rented";
    data->Cancel();
    // The top-left cell and the footer cells.
    int topLeft = 0, footerCol = -1;
    TColumn* footerColumn = nullptr;
    grid->OnTitleExClick = [&](TComponent*) { ++topLeft; };
    grid->OnFooterCellClick = [&](TComponent*, int ACol, TColumn* C) {
        footerCol = ACol;
        footerColumn = C;
    };
    const TRect tl = grid->CellRect(0, 0);
    Click(tl.Left + 3, tl.Top + 3);
    EXPECT_EQ(topLeft, 1);
    grid->FooterRow()->SetFooterVisible(true);
    const TRect fc = grid->FooterRow()->FooterCellRect(NameCol);
    Click((fc.Left + fc.Right) / 2, (fc.Top + fc.Bottom) / 2);
    EXPECT_EQ(footerCol, NameCol);
    ASSERT_NE(footerColumn, nullptr);
    EXPECT_EQ(footerColumn->FieldName(), QStringLiteral("NAME"));
    // A fixed-column cell is a button while the base grid's fixed-column
    // click is on, however that was switched.
    int fixCol = 0;
    grid->OnFixColClick = [&](TComponent*) { ++fixCol; };
    const TRect ind = grid->CellRect(0, 2);
    auto* base = static_cast<TCustomGrid*>(grid);
    for (bool on : {true, false, true}) {
        base->SetOptions(on ? base->Options() | goFixedColClick : base->Options() & ~goFixedColClick);
        const int before = fixCol;
        Click(ind.Left + 3, ind.Top + 3);
        EXPECT_EQ(fixCol, before + (on ? 1 : 0)) << on;
    }
}

// The hand shows only over a link's text; anywhere else, and after the mouse
// left the grid from a link cell, the grid's own cursor shows again.
TEST_F(RDBGridTest, TheHandCursorShowsOnlyOverALink)
{
    grid->FieldsAsLink.Add(QStringLiteral("CLUB=user_defined"));
    const TRect club = grid->CellRect(ClubCol, 2), name = grid->CellRect(NameCol, 3);
    QWidget* w = grid->Widget();
    auto leave = [&] {
        QEvent e(QEvent::Leave);
        QApplication::sendEvent(w, &e);
    };
    const struct {
        TCursor Own;
        Qt::CursorShape Shape;
    } cases[] = {{crDefault, Qt::ArrowCursor}, {crCross, Qt::CrossCursor}};
    for (const auto& c : cases) {
        grid->SetCursor(c.Own);
        Move(club.Left + 8, club.Top + 8);
        EXPECT_EQ(w->cursor().shape(), Qt::PointingHandCursor);
        Move(club.Left + 9, club.Top + 8);
        EXPECT_EQ(w->cursor().shape(), Qt::PointingHandCursor) << "still over the link";
        Move(name.Left + 8, name.Top + 8);
        EXPECT_EQ(w->cursor().shape(), c.Shape) << "off the link";
        Move(club.Left + 8, club.Top + 8);
        leave();
        EXPECT_EQ(w->cursor().shape(), c.Shape) << "left from the link";
        Move(name.Left + 8, name.Top + 8);
        EXPECT_EQ(w->cursor().shape(), c.Shape) << "back on a plain cell";
        EXPECT_EQ(grid->Cursor(), c.Own);
    }
}

TEST_F(RDBGridTest, HintsOfTitlesCutCellsAndTheRecordCount)
{
    auto hint = [&](int c, int r) { return Hint(c, r); };
    grid->TitleHints.Add(QStringLiteral("NAME=Juoksijan nimi|sukunimi ensin"));
    EXPECT_EQ(hint(NameCol, 0), QStringLiteral("Juoksijan nimi\nsukunimi ensin"));
    EXPECT_EQ(hint(ClubCol, 0), QString()) << "a title that fits has no hint";
    grid->Columns()->Items(2)->SetWidth(30);
    EXPECT_EQ(hint(ClubCol, 0), QStringLiteral("CLUB")) << "a cut title shows itself";
    EXPECT_EQ(hint(ClubCol, 1), QStringLiteral("OK Espoo")) << "a cut cell shows its text";
    EXPECT_EQ(hint(ClubCol + 1, 1), QString());
    grid->OptionsEx2().FixedCell.TitleExBtnHintRecCount = true;
    data->SetFilter(QStringLiteral("STATUS = '3'"));
    data->SetFiltered(true);
    EXPECT_EQ(hint(0, 0), QStringLiteral("Total count of records: 4\nFilter condition:\nSTATUS = '3'"));
}

TEST_F(RDBGridTest, AClickOnTheTopLeftCellShowsTheRecordCountAtOnce)
{
    const TRect tl = grid->CellRect(0, 0);
    Click((tl.Left + tl.Right) / 2, (tl.Top + tl.Bottom) / 2);
    THintWindow* hint = grid->RecCountHintWindow();
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->Showing());
    EXPECT_EQ(hint->HintText(), QStringLiteral("Total count of records: 24"));
    // Moving on to the data hides it.
    const TRect c = grid->CellRect(2, 3);
    Move(c.Left + 5, c.Top + 5);
    EXPECT_FALSE(hint->Showing());
    // A window's own handler replaces the hint.
    int own = 0;
    grid->OnTitleExClick = [&own](TComponent*) { ++own; };
    Click((tl.Left + tl.Right) / 2, (tl.Top + tl.Bottom) / 2);
    EXPECT_EQ(own, 1);
    EXPECT_FALSE(hint->Showing());
    // A grid that shows no hints shows no count either.
    grid->OnTitleExClick = nullptr;
    grid->SetShowHint(false);
    Click((tl.Left + tl.Right) / 2, (tl.Top + tl.Bottom) / 2);
    EXPECT_FALSE(hint->Showing());
}

TEST_F(RDBGridTest, ScrollingSidewaysOrDownTellsTheWindow)
{
    int moved = 0;
    grid->OnTopLeftChanged = [&moved](TComponent*) { ++moved; };
    for (int i = 0; i < grid->Columns()->Count(); ++i)
        grid->Columns()->Items(i)->SetWidth(200);
    grid->SetLeftCol(grid->LeftCol() + 1);
    EXPECT_EQ(moved, 1);
    grid->SetTopRow(grid->TopRow() + 2);
    EXPECT_GE(moved, 1);
}

// A right click on the titles is the titles' own, also where no menu is set;
// on the data the grid's own menu shows.
TEST_F(RDBGridTest, RightClicksOnTheTitlesNeverShowTheGridsOwnMenu)
{
    TPopupMenu own(form.get());
    grid->SetPopupMenu(&own);
    std::vector<TPopupMenu*> shown;
    auto old = TPopupMenu::PopupHook;
    TPopupMenu::PopupHook = [&](TPopupMenu* M) { shown.push_back(M); };
    bool veto = false;
    grid->OnGeneralEvent = [&](TComponent*, TGeneralEventType T, TGeneralEventRec&, bool& Continue) {
        if (T == geContextTitlePopup && veto)
            Continue = false;
    };
    const TRect topLeft = grid->CellRect(0, 0), title = grid->CellRect(NameCol, 0), cell = grid->CellRect(NameCol, 2);
    const struct { const char* what; TRect at; bool titleLines; bool veto; bool ownMenu; } cases[] = {
        {"top-left cell without its menu", topLeft, true, false, false},
        {"title without popup lines", title, false, false, false},
        {"title with popup lines", title, true, false, false},
        {"title, popup vetoed", title, true, true, true},
        {"data cell", cell, true, false, true},
    };
    for (const auto& c : cases) {
        shown.clear();
        veto = c.veto;
        grid->OptionsEx2().FixedCell.TitlePopup = c.titleLines;
        grid->TitlePopupItems.Clear();
        const QPoint p(c.at.Left + 4, c.at.Bottom - 3);
        QContextMenuEvent e(QContextMenuEvent::Mouse, p, grid->Widget()->mapToGlobal(p));
        QApplication::sendEvent(grid->Widget(), &e);
        EXPECT_EQ(std::count(shown.begin(), shown.end(), &own), c.ownMenu ? 1 : 0) << c.what;
    }
    TPopupMenu::PopupHook = old;
    grid->OnGeneralEvent = nullptr;
}

TEST_F(RDBGridTest, DoubleClickEditsOnlyColumnsThatAreNotReadOnly)
{
    grid->SetOptions(grid->Options() | dgEditing);
    // The window declares the club column read-only through the general event.
    grid->OnGeneralEvent = [](TComponent*, TGeneralEventType T, TGeneralEventRec& R, bool&) {
        if (T == geIsReadOnlyColumn && R.Field && R.Field->FieldName() == QLatin1String("CLUB"))
            R.ParamValue = true;
    };
    const struct { int col; bool edits; } cases[] = {{NameCol, true}, {ClubCol, false}};
    for (const auto& c : cases) {
        const TRect r = grid->CellRect(c.col, 2);
        Click(r.Left + 8, r.Top + 8);
        grid->HideEditor();
        // The double click itself (the widget's press shows the base editor on its own).
        static_cast<TControl*>(grid)->DblClick();
        EXPECT_EQ(grid->EditorMode(), c.edits) << c.col;
        grid->HideEditor();
    }
    grid->OnGeneralEvent = nullptr;
}
