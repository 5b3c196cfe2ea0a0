// Sorting through the grid's sort state and its sorter: the normal forms of
// the sort texts, a sort by two fields through the index sorter, ReSort
// after the data was reordered, title clicks with their modifier keys, and
// sorts the sorter refuses.

#include "tests/rdbgrid/RDBGridFixture.h"

#include "components/grid/rDBGridSorter.h"
#include "platform/database/Fields.h"

#include <QScrollBar>

namespace {

// Whether the records run in CLUB ascending, NAME descending order.
bool InClubNameDescOrder(TClientDataSet* d)
{
    QString prevClub, prevName;
    bool first = true;
    bool ok = true;
    d->DisableControls();
    const TBookmark b = d->GetBookmark();
    for (d->First(); !d->Eof(); d->Next()) {
        const QString club = d->FieldByName(QStringLiteral("CLUB"))->AsString();
        const QString name = d->FieldByName(QStringLiteral("NAME"))->AsString();
        if (!first) {
            const int c = QString::localeAwareCompare(prevClub.toLower(), club.toLower());
            ok = ok && (c < 0 || (c == 0 && QString::localeAwareCompare(prevName.toLower(), name.toLower()) >= 0));
        }
        prevClub = club;
        prevName = name;
        first = false;
    }
    d->GotoBookmark(b);
    d->EnableControls();
    return ok;
}

// Whether the grid shows its scroll bar of that orientation.
bool ShowsScrollBar(TrDBGrid* G, Qt::Orientation O)
{
    for (QScrollBar* b : G->Widget()->findChildren<QScrollBar*>())
        if (b->orientation() == O && b->isVisibleTo(G->Widget()))
            return true;
    return false;
}

}  // namespace

TEST(RDBGridSortState, NormalFormsPositionsAndDirections)
{
    TrDBGrid g(nullptr);
    g.SetSortFieldName(QStringLiteral(" NAME , ,CLUB "));
    EXPECT_EQ(g.SortFieldName(), QStringLiteral("NAME,CLUB"));
    g.SetSortDirections(QStringLiteral(" d, D ,x"));
    EXPECT_EQ(g.SortDirections(), QStringLiteral("A,D,A"));
    g.SetSortDirections(QStringLiteral("A,D"));
    EXPECT_EQ(g.PosInSortField(QStringLiteral("club")), 2);
    EXPECT_TRUE(g.GetSortDirection(QStringLiteral("CLUB")));
    EXPECT_EQ(g.GetSortDirection(QStringLiteral("CITY")), g.SortDesc());
    EXPECT_EQ(g.ChangeSortDirection(QStringLiteral("NAME")), QStringLiteral("D,D"));
    struct Case {
        const char *names, *dirs, *remove, *outNames, *outDirs;
    } cases[] = {
        {"NAME,CLUB,CITY", "D", "club", "NAME,CITY", "D,A"},
        {"NAME", "d", "", "NAME", "A"},
        {"A, ,B", "D,x", "", "A,B", "D,A"},
        {"", "D", "", "", "D"},
    };
    for (const Case& c : cases) {
        QString n = QString::fromLatin1(c.names), d = QString::fromLatin1(c.dirs);
        TrDBGrid::CheckFormatSortDirection(n, d, QString::fromLatin1(c.remove));
        EXPECT_EQ(n, QString::fromLatin1(c.outNames)) << c.names;
        EXPECT_EQ(d, QString::fromLatin1(c.outDirs)) << c.names;
    }
}

TEST_F(RDBGridTest, SortByTwoFieldsThroughTheSorterKeepsTheRecordAndReSortRestoresTheOrder)
{
    TrDBGridSorter_FireDac sorter(form.get());
    grid->SetSorter(&sorter);
    data->Locate(QStringLiteral("ID"), 7);
    ASSERT_TRUE(grid->ChangeSortEx(QStringLiteral("CLUB,NAME"), QStringLiteral("A,D")));
    EXPECT_EQ(sorter.LastSortString(), QStringLiteral("CLUB, NAME DESC"));
    EXPECT_EQ(data->IndexName(), QStringLiteral("CLUB; NAME_NAME"));
    EXPECT_TRUE(InClubNameDescOrder(data.get()));
    EXPECT_EQ(data->FieldByName(QStringLiteral("ID"))->AsInteger(), 7) << "the current record stays";
    EXPECT_EQ(grid->SortFieldName(), QStringLiteral("CLUB,NAME"));
    // A window puts the data back in its natural order and asks for the sort again.
    data->SetIndexName(QString());
    data->Locate(QStringLiteral("ID"), 12);
    ASSERT_TRUE(grid->ReSort());
    EXPECT_TRUE(InClubNameDescOrder(data.get()));
    EXPECT_EQ(data->FieldByName(QStringLiteral("ID"))->AsInteger(), 12);
    // Sorting by nothing returns to the natural order.
    ASSERT_TRUE(grid->ChangeSortEx(QString(), QString()));
    EXPECT_EQ(data->IndexName(), QString());
    EXPECT_EQ(Ids().first(), 1);
}

TEST_F(RDBGridTest, SortsTheSorterRefuses)
{
    TrDBGridSorter_FireDac sorter(form.get());
    grid->SetSorter(&sorter);
    EXPECT_FALSE(grid->ChangeSortEx(QStringLiteral("NAME,NO_SUCH"), QStringLiteral("A,A")));
    EXPECT_EQ(grid->SortFieldName(), QString()) << "a refused sort leaves the state alone";
    data->Edit();
    EXPECT_FALSE(grid->ChangeSort(QStringLiteral("NAME"), false)) << "not while the record is edited";
    data->Cancel();
    // Without a sorter the sort events decide.
    grid->SetSorter(nullptr);
    QStringList seen;
    grid->OnChangeSortEx = [&](TComponent*, TDataSet*, const TSortFieldNames& N, const TSortDirections& D, bool&) {
        seen << N.join(QLatin1Char(',')) + QLatin1Char('/') + (D.size() == 1 && D[0] ? QStringLiteral("D") : QStringLiteral("?"));
    };
    EXPECT_TRUE(grid->ChangeSort(QStringLiteral("NAME"), true));
    EXPECT_EQ(seen, QStringList{QStringLiteral("NAME/D")});
    EXPECT_TRUE(grid->ReSort());
    EXPECT_EQ(seen.size(), 2);
}

TEST_F(RDBGridTest, TitleClicksSortAndModifiersAddOrRemoveFields)
{
    TrDBGridSorter_FireDac sorter(form.get());
    grid->SetSorter(&sorter);
    auto title = [&](int col) {
        const TRect r = grid->CellRect(col, 0);
        return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    };
    const TPoint name = title(2), club = title(3);
    Click(name.X, name.Y);
    EXPECT_EQ(grid->SortFieldName(), QStringLiteral("NAME"));
    EXPECT_EQ(grid->SortDirections(), QStringLiteral("A"));
    Click(name.X, name.Y);
    EXPECT_EQ(grid->SortDirections(), QStringLiteral("D")) << "a second click turns the order round";
    Click(club.X, club.Y, Qt::ShiftModifier);
    EXPECT_EQ(grid->SortFieldName(), QStringLiteral("NAME,CLUB"));
    EXPECT_EQ(grid->SortDirections(), QStringLiteral("D,A"));
    Render();  // the second field's title shows one order mark
    Click(name.X, name.Y, Qt::ControlModifier);
    EXPECT_EQ(grid->SortFieldName(), QStringLiteral("CLUB")) << "Ctrl takes a field out of the sort";
    EXPECT_EQ(data->IndexName(), QStringLiteral("CLUB_"));
}

TEST_F(RDBGridTest, RecordScanRestoresPositionEventsAndFilter)
{
    data->SetFilter(QStringLiteral("STATUS = '0'"));
    data->SetFiltered(true);
    data->SetRecNo(4);
    const int id = data->FieldByName(QStringLiteral("ID"))->AsInteger();
    scrolls = 0;
    int reasons = 0, calls = 0;
    grid->BeforeScanDataset = [&](TComponent*, TDataSet*, int R) { reasons += R; };
    grid->ScanAllRecords(5, 2, true, false, [&](TDataSet*, int) { ++calls; });
    EXPECT_EQ(calls, 3) << "at most MaxRecords + 1 records";
    calls = 0;
    grid->ScanAllRecords(5, 0, false, false, [&](TDataSet*, int) { ++calls; });
    EXPECT_EQ(calls, 1) << "only the current record";
    // A callback that raises leaves neither the filter off nor the record moved.
    EXPECT_THROW(grid->ScanAllRecords(4, 0, true, true, [&](TDataSet* D, int I) {
        if (I == 3)
            throw std::runtime_error("scan");
        (void)D;
    }),
                 std::runtime_error);
    EXPECT_TRUE(data->Filtered());
    EXPECT_EQ(data->FieldByName(QStringLiteral("ID"))->AsInteger(), id);
    EXPECT_EQ(scrolls, 0) << "scans raise no scroll events";
    EXPECT_EQ(reasons, 14);
    EXPECT_TRUE(data->BeforeScroll != nullptr);
}

TEST_F(RDBGridTest, AssignFrozenColumnsAndFieldLists)
{
    grid->FieldsAsBoolean.Add(QStringLiteral("RENTED=K;E"));
    grid->SetSortFieldName(QStringLiteral("NAME"));
    grid->SetColorHotTrackRow(clYellow);
    TrDBGrid copy(form.get());
    copy.Assign(*grid);
    EXPECT_EQ(copy.FieldsAsBoolean.Values(QStringLiteral("RENTED")), QStringLiteral("K;E"));
    EXPECT_EQ(copy.SortFieldName(), QString()) << "the sort state is not copied";
    EXPECT_EQ(copy.ColorHotTrackRow(), clYellow);
    EXPECT_EQ(copy.Columns()->Count(), grid->Columns()->Count());
    // Frozen columns: three of six with an indicator, clamped to leave one scrolling.
    EXPECT_EQ(grid->SetFixedCols(3), 3);
    EXPECT_EQ(grid->FixedCols(), 4);
    EXPECT_EQ(grid->GetFixedCols(), 3);
    EXPECT_EQ(grid->SetFixedCols(10), 5);
    EXPECT_EQ(grid->SetFixedCols(0), 0);
    // The columns for the export engines, with the titles the grid shows.
    TStringList l;
    EXPECT_EQ(GetFldListrDBGrid(grid, &l, FldDef(fdGetLabels) | FldDef(fdAllField)), 6);
    grid->Columns()->Items(1)->Title()->SetCaption(QStringLiteral("Nimi"));
    GetFldListrDBGrid(grid, &l, FldDef(fdGetLabels) | FldDef(fdAllField));
    EXPECT_EQ(l[1], QStringLiteral("Nimi"));
}

TEST_F(RDBGridTest, TitleWidthsCountLinesButtonsAndFunnelsAndCodeWidthsAreReported)
{
    TColumn* name = grid->Columns()->Items(1);
    name->Title()->SetCaption(QStringLiteral("Juoksijan koko nimi"));
    const int oneLine = grid->GetTitleWidth(name);
    grid->SetTitleLines(3);
    const int threeLines = grid->GetTitleWidth(name);
    EXPECT_LT(threeLines, oneLine) << "a title of three lines is as wide as its widest line";
    grid->SetTitleLines(1);
    grid->OptionsEx2().Filters.FunnelBtn = true;
    EXPECT_EQ(grid->GetTitleWidth(name), oneLine + rGlyphs.FilterWidth(grid->ScaleRatio()) + 6);
    grid->OptionsEx2().Filters.FunnelBtn = false;
    // A width set by code is reported as not manual.
    std::vector<std::pair<TColumn*, bool>> changes;
    grid->OnColWidthChanged = [&](TComponent*, TColumn* C, bool Manual) { changes.push_back({C, Manual}); };
    grid->SetOneColumnWidth(cwLabelWidth, name, 0);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].first, name);
    EXPECT_FALSE(changes[0].second);
    EXPECT_EQ(name->Width(), oneLine);
}

// The same-width and automatic modes share out the room left of a vertical
// scroll bar and inside the border, so no horizontal bar appears; the bar's
// room is kept also while no vertical bar shows, so none appears as rows come.
TEST_F(RDBGridTest, WidthModesFitBesideTheVerticalScrollBar)
{
    for (TBorderStyle border : {bsSingle, bsNone}) {
        grid->SetBorderStyle(border);
        for (TColumnWidth mode : {cwSameWidth, cwAutoWidth}) {
            SCOPED_TRACE(int(mode) * 10 + int(border));
            grid->SetColumnWidthMode(cwNone);
            for (int i = 0; i < grid->Columns()->Count(); ++i)
                grid->Columns()->Items(i)->SetWidth(200);
            ASSERT_TRUE(ShowsScrollBar(grid, Qt::Horizontal)) << "too wide at first";
            grid->SetColumnWidthMode(mode);
            EXPECT_TRUE(ShowsScrollBar(grid, Qt::Vertical));
            EXPECT_FALSE(ShowsScrollBar(grid, Qt::Horizontal));
        }
    }
    grid->SetBorderStyle(bsNone);
    grid->SetVisible(false);  // a shown data grid always keeps its vertical bar
    grid->SetScrollBars(ssHorizontal);
    grid->SetColumnWidthMode(cwNone);
    grid->SetColumnWidthMode(cwSameWidth);
    ASSERT_FALSE(ShowsScrollBar(grid, Qt::Vertical));
    int used = (grid->Options() & dgIndicator) ? grid->ColWidths(0) : 0;
    for (int i = 0; i < grid->Columns()->Count(); ++i)
        used += grid->Columns()->Items(i)->Width() + 1;
    EXPECT_LE(used, grid->Width() - TCustomGrid::ScrollBarSize());
    EXPECT_GT(used, grid->Width() - TCustomGrid::ScrollBarSize() - 2 * grid->Columns()->Count()) << "the rest is shared out";
}
