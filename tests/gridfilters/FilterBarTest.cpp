// The filter bar, funnel buttons and filter panel on a grid, driven through
// real mouse and key events: which presses they take, what Enter, Escape and
// the clear button do, the list of used texts, moving between columns, the
// panel's direct text and history, and the filter options' own rules.

#include "components/grid/TrDBGridColumnFilters.h"
#include "components/grid/TrDBGridFilterBar.h"
#include "components/grid/TrDBGridFilterForm.h"
#include "components/grid/rDBGrid.h"
#include "platform/database/DataSource.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"
#include "tests/rdbgrid/RDBGridFixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {

class FilterBar : public RDBGridTest {
protected:
    void SetUp() override
    {
        RDBGridTest::SetUp();
        TOptionsFilters& o = grid->OptionsEx2().Filters;
        o.TextBar = true;
        o.FunnelBtn = true;
        grid->LayoutChanged();
        bar = TrDBGridFilterBar::Of(grid);
        store = TrDBGridColumnFilters::Of(grid);
    }
    // The middle of a data column's bar.
    TPoint BarPoint(int DataCol)
    {
        const TRect r = bar->FilterComboRect(grid->CellRect(grid->DataToRawColumn(DataCol), 0), true);
        return TPoint{r.Left + 6, (r.Top + r.Bottom) / 2};
    }
    void ComboKey(int QtKey, Qt::KeyboardModifiers Mods = Qt::NoModifier, const QString& Text = QString())
    {
        QWidget* w = bar->FilterCombo()->Widget();
        QKeyEvent press(QEvent::KeyPress, QtKey, Mods, Text);
        QApplication::sendEvent(w, &press);
    }
    void Type(const QString& Text)
    {
        for (QChar c : Text)
            ComboKey(Qt::Key_A + (c.toUpper().unicode() - 'A'), Qt::NoModifier, QString(c));
    }
    TrDBGridFilterBar* bar = nullptr;
    TrDBGridColumnFilters* store = nullptr;
};

}  // namespace

// A bar at the top of the titles sits below the title line band, where the
// title text's area starts, and a press there opens its box.
TEST_F(FilterBar, ATopBarSitsBelowTheTitleLine)
{
    grid->OptionsEx2().Filters.TextBarTopLayout = true;
    grid->TitleLineText()->SetText(QStringLiteral("Kevätrastit"));
    grid->LayoutChanged();
    const int band = grid->TitleLineText()->SumHeight();
    ASSERT_GT(band, 0);
    const TRect cell = grid->CellRect(grid->DataToRawColumn(1), 0);
    const TRect r = bar->FilterComboRect(cell, false);
    EXPECT_EQ(r.Top, cell.Top + band);
    EXPECT_EQ(r.Bottom, grid->TitleRectToTextRect(cell).Top);
    const TPoint p = BarPoint(1);
    Click(p.X, p.Y);
    EXPECT_TRUE(bar->FilterCombo()->Visible());
    EXPECT_EQ(bar->EditColumnIndex(), 1);
}

TEST_F(FilterBar, TitleGrowsByTheBarAndAPressOnItOpensTheBox)
{
    const int withBar = grid->RowHeights(0);
    grid->OptionsEx2().Filters.TextBar = false;
    grid->LayoutChanged();
    EXPECT_EQ(withBar - grid->RowHeights(0), 23);
    grid->OptionsEx2().Filters.TextBar = true;
    grid->LayoutChanged();
    const TPoint p = BarPoint(1);
    Click(p.X, p.Y);
    ASSERT_TRUE(bar->FilterCombo()->Visible());
    EXPECT_EQ(bar->EditColumnIndex(), 1);
    // Typing and Enter apply the text at once.
    Type(QStringLiteral("Laine"));
    EXPECT_EQ(bar->FilterCombo()->Text(), QStringLiteral("Laine"));
    EXPECT_TRUE(bar->EditChanged());
    ComboKey(Qt::Key_Return);
    EXPECT_EQ(data->RecordCount(), 3);
    EXPECT_EQ(store->EditValues.Values(QStringLiteral("NAME")), QStringLiteral("Laine"));
    EXPECT_EQ(grid->FilteredFieldNames(), QStringLiteral("NAME;"));
    // The text went into the column's list of used texts.
    EXPECT_EQ(bar->TextValueList[QStringLiteral("NAME")], QStringList{QStringLiteral("Laine")});
    // Escape drops a pending change and closes the box.
    Type(QStringLiteral("Aino"));
    ComboKey(Qt::Key_Escape);
    EXPECT_FALSE(bar->FilterCombo()->Visible());
    EXPECT_EQ(data->RecordCount(), 3);
}

TEST_F(FilterBar, ClearButtonRemovesOnlyItsColumnAndRefusedTextsTurnRed)
{
    store->ProcFilterBarFilter(data->FieldByName(QStringLiteral("CLUB")), QStringLiteral("Espoo"));
    store->ProcFilterBarFilter(data->FieldByName(QStringLiteral("STATUS")), QStringLiteral("0"));
    EXPECT_EQ(data->RecordCount(), 5);
    grid->Invalidate();
    const TRect b = bar->ClearButtonRect(bar->FilterComboRect(grid->CellRect(grid->DataToRawColumn(2), 0), true));
    Click((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);
    EXPECT_FALSE(bar->FilterCombo()->Visible());
    EXPECT_EQ(data->RecordCount(), 20);  // the status filter stays
    EXPECT_EQ(grid->FilteredFieldNames(), QStringLiteral("STATUS;"));
    // "abc" on a number column gives no condition: marked, nothing changes.
    bar->SetTextFilter(grid->Columns()->Items(5), QStringLiteral("abc"), true);
    EXPECT_EQ(store->EditStatuses.Values(QStringLiteral("SECS")), QStringLiteral("E"));
    EXPECT_EQ(store->EditValues.Values(QStringLiteral("SECS")), QStringLiteral("abc"));
    EXPECT_EQ(data->RecordCount(), 20);
    // With the window's own filter handler the bar follows its answer.
    bool accept = false;
    grid->OnSetColumnFilter = [&](TComponent*, TDataSet*, TField*, const QString&, const QString&, TComponent*, bool& Result) {
        Result = accept;
    };
    bar->SetTextFilter(grid->Columns()->Items(1), QStringLiteral("Ai"), true);
    EXPECT_EQ(store->EditStatuses.Values(QStringLiteral("NAME")), QStringLiteral("E"));
    accept = true;
    bar->SetTextFilter(grid->Columns()->Items(1), QStringLiteral("Aino"), true);
    EXPECT_EQ(store->EditStatuses.Values(QStringLiteral("NAME")), QString());
    EXPECT_EQ(store->EditValues.Values(QStringLiteral("NAME")), QStringLiteral("Aino"));
}

TEST_F(FilterBar, AltArrowsMoveTheBoxToTheNextBarColumnApplyingTheText)
{
    grid->FieldsFilterButton.Add(QStringLiteral("NAME"));
    grid->FieldsFilterButton.Add(QStringLiteral("SECS"));
    bar->ShowTextFilter(grid->Columns()->Items(1));
    Type(QStringLiteral("Aino"));
    ComboKey(Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(bar->EditColumnIndex(), 5);  // CLUB .. RENTED are not bar columns
    EXPECT_EQ(data->RecordCount(), 3);
    ComboKey(Qt::Key_Right, Qt::AltModifier);  // wraps round
    EXPECT_EQ(bar->EditColumnIndex(), 1);
}

TEST_F(FilterBar, FunnelPressOpensTheValueListAndASecondPressClosesIt)
{
    const TRect cell = grid->CellRect(grid->DataToRawColumn(2), 0);
    const TRect f = bar->FunnelRect(cell);
    Click((f.Left + f.Right) / 2, (f.Top + f.Bottom) / 2);
    ASSERT_NE(bar->FunnelForm(), nullptr);
    EXPECT_TRUE(bar->FunnelForm()->Visible());
    EXPECT_EQ(bar->FunnelForm()->DisplayList.size(), 5);  // "(select all)" and four clubs
    Click((f.Left + f.Right) / 2, (f.Top + f.Bottom) / 2);
    EXPECT_FALSE(bar->FunnelForm()->Visible());
    // A press on the title text still sorts (it is not the funnel's).
    Click(cell.Left + 10, cell.Top + 4);
    EXPECT_FALSE(bar->FunnelForm()->Visible());
}

TEST_F(FilterBar, PanelAppliesTypedTextAndKeepsAHistory)
{
    grid->OptionsEx2().Filters.FilterPanel = true;
    grid->LayoutChanged();
    const TRect p = bar->FilterPanelComboRect();
    ASSERT_GT(p.Width(), 0);
    EXPECT_LE(p.Bottom, grid->ClientHeight());
    EXPECT_GE(p.Top, grid->GridClientRect().Bottom);
    Click(p.Left + 10, (p.Top + p.Bottom) / 2);
    ASSERT_TRUE(bar->FilterPanelCombo()->Visible());
    bar->FilterPanelCombo()->SetText(QStringLiteral("STATUS = '3'"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(bar->FilterPanelCombo()->Widget(), &enter);
    EXPECT_EQ(data->RecordCount(), 4);
    EXPECT_EQ(grid->FilteredFieldNames(), QStringLiteral("STATUS;"));
    ASSERT_TRUE(bar->FilterPanelApply(QStringLiteral("SECS > 2900")));
    ASSERT_TRUE(bar->FilterPanelApply(QStringLiteral("status = '3'")));
    // The latest on top; an equal text (any case) appears once.
    EXPECT_EQ(bar->FilterPanelCombo()->Items(), (QStringList{QStringLiteral("status = '3'"), QStringLiteral("SECS > 2900")}));
}

TEST_F(FilterBar, FilteredFieldNamesSkipQuotedValues)
{
    data->SetFilter(QStringLiteral("(NAME = 'CLUB A') AND (SECS >= 3)"));
    data->SetFiltered(true);
    store->RefreshFilteredFieldNames();
    EXPECT_EQ(grid->FilteredFieldNames(), QStringLiteral("NAME;SECS;"));
}

TEST(FilterOptions, PanelButtonListAndDerivedHeights)
{
    TOptionsFilters o;
    o.SetFilterPanelButtonList(QStringLiteral(" 3 , x, -1 ,7"));
    EXPECT_EQ(o.FilterPanelButtonIndexes(), (std::vector<int>{3, 7}));
    EXPECT_EQ(o.TextBarTopHeight() + o.TextBarBottomHeight(), 0);
    o.TextBar = true;
    EXPECT_EQ(o.TextBarBottomHeight(), 23);
    o.TextBarTopLayout = true;
    EXPECT_EQ(o.TextBarTopHeight(), 23);
    EXPECT_EQ(o.TextBarBottomHeight(), 0);
    o.FilterPanel = true;
    o.FilterPanelPaddingHeight = 5;
    EXPECT_EQ(o.FilterPanelHeight(), 31);
    EXPECT_EQ(TOptionsFilters::ClampMargin(-3), 0);
    EXPECT_EQ(TOptionsFilters::ClampMargin(25), 20);
}

TEST_F(FilterBar, PanelGlyphSwitchesTheFilterOffAndBackOn)
{
    grid->OptionsEx2().Filters.FilterPanel = true;
    grid->LayoutChanged();
    store->ProcFilterBarFilter(data->FieldByName(QStringLiteral("STATUS")), QStringLiteral("3"));
    ASSERT_EQ(data->RecordCount(), 4);
    const TRect p = bar->FilterPanelRect();
    Click(p.Left + 3, (p.Top + p.Bottom) / 2);
    EXPECT_EQ(data->RecordCount(), 24);
    EXPECT_TRUE(store->EditValues.Values(QStringLiteral("STATUS")).isEmpty());
    Click(p.Left + 3, (p.Top + p.Bottom) / 2);
    EXPECT_EQ(data->RecordCount(), 4);
    EXPECT_EQ(grid->FilteredFieldNames(), QStringLiteral("STATUS;"));
}

TEST_F(FilterBar, TheBoxFollowsItsColumnWhenTheGridScrollsSideways)
{
    for (int i = 0; i < grid->Columns()->Count(); ++i)
        grid->Columns()->Items(i)->SetWidth(200);
    bar->ShowTextFilter(grid->Columns()->Items(1));
    ASSERT_TRUE(bar->FilterCombo()->Visible());
    const int before = bar->FilterCombo()->Left();
    grid->SetLeftCol(grid->LeftCol() + 1);
    if (bar->FilterCombo()->Visible())
        EXPECT_LT(bar->FilterCombo()->Left(), before);
    // Scrolled out of sight, the box closes.
    grid->SetLeftCol(grid->LeftCol() + 2);
    EXPECT_FALSE(bar->FilterCombo()->Visible());
}

TEST_F(FilterBar, PanelButtonsShowTheirImagesAndReportTheirIndex)
{
    TImageList images(form.get());
    FillImages(&images);
    images.Tag = 1;  // opaque
    TOptionsFilters& o = grid->OptionsEx2().Filters;
    o.FilterPanel = true;
    o.SetFilterPanelButtonList(QStringLiteral("2,0,9"));
    grid->LayoutChanged();
    // Without an image list the buttons stay plain: no digits drawn.
    auto dark = [](QRgb p) { return qGray(p) < 60; };
    QImage img = Render();
    for (int i = 0; i < 3; ++i) {
        TRect b = bar->FilterPanelButtonRect(i);
        b = Rect(b.Left + 2, b.Top + 2, b.Right - 2, b.Bottom - 2);
        EXPECT_EQ(CountPixels(img, b, dark), 0) << i;
    }
    grid->SetTitleImageList(&images);
    img = Render();
    EXPECT_GT(CountPixels(img, bar->FilterPanelButtonRect(0), IsBlue), 100) << "button 0 shows image 2";
    EXPECT_GT(CountPixels(img, bar->FilterPanelButtonRect(1), IsRed), 100) << "button 1 shows image 0";
    const TRect b9 = bar->FilterPanelButtonRect(2);
    EXPECT_EQ(CountPixels(img, Rect(b9.Left + 2, b9.Top + 2, b9.Right - 2, b9.Bottom - 2), dark), 0)
        << "index 9 lies beyond the list";
    int pressed = -1;
    grid->OnFilterPanelButtonClick = [&pressed](TComponent*, TDataSet*, TColumn*, TField*, const QVariant& Index) {
        pressed = Index.toInt();
    };
    const TRect b = bar->FilterPanelButtonRect(1);
    Click((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);
    EXPECT_EQ(pressed, 1);
}

TEST_F(FilterBar, TheBarCornerOfTheTopLeftCellSwitchesTheFilterOffAndBackOn)
{
    store->ProcFilterBarFilter(data->FieldByName(QStringLiteral("STATUS")), QStringLiteral("3"));
    ASSERT_EQ(data->RecordCount(), 4);
    const TRect corner = bar->FilterComboRect(grid->CellRect(0, 0), false);
    ASSERT_GT(corner.Width(), 0);
    const int x = (corner.Left + corner.Right) / 2, y = (corner.Top + corner.Bottom) / 2;
    Click(x, y);
    EXPECT_EQ(data->RecordCount(), 24);
    EXPECT_TRUE(store->EditValues.Values(QStringLiteral("STATUS")).isEmpty());
    Click(x, y);
    EXPECT_EQ(data->RecordCount(), 4) << "the last filter text comes back";
    // A press elsewhere in the top-left cell leaves the filter alone.
    const TRect tl = grid->CellRect(0, 0);
    Click(tl.Left + 2, tl.Top + 2);
    EXPECT_EQ(data->RecordCount(), 4);
}

TEST_F(FilterBar, TheGridsMenuShortcutsWorkWhileTypingAFilter)
{
    TPopupMenu menu(form.get());
    int found = 0;
    auto* item = new TMenuItem(&menu);
    item->SetShortCut(ShortCut(Word('F'), ssCtrl));
    item->OnClick = [&found](TComponent*) { ++found; };
    menu.Items()->Add(item);
    grid->SetPopupMenu(&menu);
    bar->ShowTextFilter(grid->Columns()->Items(1));
    ASSERT_TRUE(bar->FilterCombo()->Visible());
    Type(QStringLiteral("Vi"));
    ComboKey(Qt::Key_F, Qt::ControlModifier, QStringLiteral("\x06"));
    EXPECT_EQ(found, 1);
    EXPECT_EQ(bar->FilterCombo()->Text(), QStringLiteral("Vi")) << "the shortcut is not typed";
    ComboKey(Qt::Key_G, Qt::ControlModifier, QStringLiteral("\x07"));
    EXPECT_EQ(found, 1) << "other keys reach the box";
    grid->SetPopupMenu(nullptr);
}

TEST_F(FilterBar, HintsOfTheFunnelAndThePanelButtons)
{
    TOptionsFilters& o = grid->OptionsEx2().Filters;
    o.FilterPanel = true;
    o.SetFilterPanelButtonList(QStringLiteral("0,1"));
    grid->TitleHints.Add(QStringLiteral("#FilterPanel#_Button2=Tallenna suodatin"));
    grid->LayoutChanged();
    const int nameRaw = grid->DataToRawColumn(1);
    const TRect funnel = bar->FunnelRect(grid->CellRect(nameRaw, 0));
    Move((funnel.Left + funnel.Right) / 2, (funnel.Top + funnel.Bottom) / 2);
    EXPECT_EQ(Hint(nameRaw, 0), QString()) << "nothing to clear";
    store->ProcFilterBarFilter(data->FieldByName(QStringLiteral("STATUS")), QStringLiteral("3"));
    Move((funnel.Left + funnel.Right) / 2, (funnel.Top + funnel.Bottom) / 2);
    EXPECT_EQ(Hint(nameRaw, 0), QStringLiteral("Clear current filter"));
    const TRect b = bar->FilterPanelButtonRect(1);
    Move((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);
    EXPECT_EQ(Hint(0, -3), QStringLiteral("Tallenna suodatin"));
    const TRect p = bar->FilterPanelRect();
    Move(p.Left + 3, (p.Top + p.Bottom) / 2);
    EXPECT_EQ(Hint(0, -3), QStringLiteral("Clear current filter"));
    // A window's hint handler sees the values of the record under the mouse.
    QString club;
    grid->OnGetHintStringEx = [&club](TComponent*, TColumn*, bool, bool, const TStringList& Values, const QString&, QString&) {
        club = Values.Values(QStringLiteral("CLUB"));
    };
    const TRect cell = grid->CellRect(nameRaw, 2);
    Move(cell.Left + 3, cell.Top + 3);
    Hint(nameRaw, 2);
    data->RecNo();
    EXPECT_FALSE(club.isEmpty());
}

TEST_F(FilterBar, APressOnTheGridClosesTheBoxKeepingItsText)
{
    bar->ShowTextFilter(grid->Columns()->Items(1));
    Type(QStringLiteral("Laine"));
    ASSERT_TRUE(bar->FilterCombo()->Visible());
    // A press on a data cell: the box closes and its text is applied, as leaving it would.
    const TPoint p = Blank(3, 4);
    Click(p.X, p.Y);
    EXPECT_FALSE(bar->FilterCombo()->Visible());
    EXPECT_EQ(bar->EditColumnIndex(), -1);
    EXPECT_EQ(data->RecordCount(), 3);
    EXPECT_EQ(store->EditValues.Values(QStringLiteral("NAME")), QStringLiteral("Laine"));
    // The panel's box closes too.
    grid->OptionsEx2().Filters.FilterPanel = true;
    grid->LayoutChanged();
    bar->FilterPanelComboShow();
    ASSERT_TRUE(bar->FilterPanelCombo()->Visible());
    Click(p.X, p.Y);
    EXPECT_FALSE(bar->FilterPanelCombo()->Visible());
}

TEST_F(FilterBar, GridFilterOperationsGoThroughItsVirtualOperations)
{
    struct Watching : TrDBGrid {
        using TrDBGrid::TrDBGrid;
        QStringList calls;
        bool IntSetFilterForField(TField* Fld, TField* MappingFld, const QString& S, bool Multi, bool Set, bool ShowError) override
        {
            calls << QStringLiteral("set:") + (Fld ? Fld->FieldName() : QStringLiteral("-"));
            return TrDBGrid::IntSetFilterForField(Fld, MappingFld, S, Multi, Set, ShowError);
        }
        bool IntProcFilterBarFilter(TField* Field, const QString& Text) override
        {
            calls << QStringLiteral("bar:") + Text;
            return TrDBGrid::IntProcFilterBarFilter(Field, Text);
        }
        void DoFilterChange() override
        {
            calls << QStringLiteral("changed");
            TrDBGrid::DoFilterChange();
        }
        void IntShowFilterDlg(int RawCol) override { calls << QStringLiteral("funnel:%1").arg(RawCol); }
    };
    auto* g = new Watching(form.get());
    g->SetParent(form.get());
    g->SetBounds(0, 0, 600, 300);
    g->SetDataSource(src.get());
    g->OptionsEx2().Filters.TextBar = true;
    g->OptionsEx2().Filters.FunnelBtn = true;
    int notified = 0;
    g->OnFilterChanged = [&](TComponent*) { ++notified; };
    // The bar's text: the bar operation, then the field's filter, then the notification.
    g->SetTextFilter(g->Columns()->Items(2), QStringLiteral("Espoo"), true);
    EXPECT_EQ(g->calls, (QStringList{QStringLiteral("bar:Espoo"), QStringLiteral("set:CLUB"), QStringLiteral("changed")}));
    EXPECT_EQ(data->RecordCount(), 6);
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(g->ColumnFilters().size(), 1u);
    EXPECT_TRUE(g->GetColumnFilterString().contains(QStringLiteral("CLUB")));
    g->calls.clear();
    g->ShowFilterDlg(g->Columns()->Items(2));
    EXPECT_EQ(g->calls, QStringList{QStringLiteral("funnel:3")});
    g->calls.clear();
    g->ResetFilter();
    EXPECT_EQ(g->calls.value(0), QStringLiteral("set:-"));
    EXPECT_EQ(data->RecordCount(), 24);
    // A filter set by other means: the notification marks its fields.
    data->SetFilter(QStringLiteral("STATUS = '3'"));
    data->SetFiltered(true);
    g->FilterChangedNotification();
    EXPECT_EQ(g->FilteredFieldNames(), QStringLiteral("STATUS;"));
    EXPECT_GE(notified, 2);
}

TEST_F(FilterBar, FunnelsOfUnfilteredColumnsShowUnderTheMouseOnly)
{
    TOptionsFilters& o = grid->OptionsEx2().Filters;
    o.TextBar = false;
    grid->LayoutChanged();
    const TRect cell = grid->CellRect(grid->DataToRawColumn(2), 0);
    const TRect f = bar->FunnelRect(cell);
    auto funnelArea = [&] {
        const QImage img = Render();
        return img.copy(f.Left, f.Top, f.Width(), f.Height());
    };
    const QImage always = funnelArea();
    o.FunnelBtnActiveOnly = true;
    EXPECT_NE(funnelArea(), always) << "no funnel on an unfiltered column";
    // The title under the mouse shows it as it would without the option.
    Move(cell.Left + 5, (cell.Top + cell.Bottom) / 2);
    const QImage hovered = funnelArea();
    o.FunnelBtnActiveOnly = false;
    EXPECT_EQ(funnelArea(), hovered);
    // The room is kept either way: the title text never runs under the funnel.
    o.FunnelBtnActiveOnly = true;
    EXPECT_GT(bar->TitleReservedWidth(grid->Columns()->Items(2)), 0);
}

// A column's filter text ends in a grey "x" that clears it, set off by a
// grey line; the box is framed in the window frame colour.
TEST_F(FilterBar, TheClearSquareIsAGreyCrossBesideTheText)
{
    store->ProcFilterBarFilter(data->FieldByName(QStringLiteral("CLUB")), QStringLiteral("Espoo"));
    const TRect box = bar->FilterComboRect(grid->CellRect(grid->DataToRawColumn(2), 0), true);
    const TRect x = bar->ClearButtonRect(box);
    EXPECT_EQ(x.Width(), box.Height() - 1 - 4) << "a square as wide as the inside is high, less 4";
    EXPECT_EQ(x.Right, box.Right - 3);
    const QImage img = Render();
    const QRgb grey = ToQColor(clGrayText).rgb() & 0xFFFFFF;
    auto isGrey = [grey](QRgb p) { return (p & 0xFFFFFF) == grey; };
    auto greyish = [](QRgb p) { return qAbs(qRed(p) - qBlue(p)) < 12 && qGray(p) > 60 && qGray(p) < 200; };
    EXPECT_GT(CountPixels(img, TRect(x.Left + 1, x.Top, x.Right, x.Bottom), greyish), 3) << "the x";
    EXPECT_GE(CountPixels(img, TRect(x.Left - 1, x.Top + 2, x.Left, x.Bottom - 1), isGrey), x.Height() - 4) << "the line";
    const QRgb frame = ToQColor(clWindowFrame).rgb() & 0xFFFFFF;
    EXPECT_EQ(img.pixel(box.Left, (box.Top + box.Bottom) / 2) & 0xFFFFFF, frame);
}
