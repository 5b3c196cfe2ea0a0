// The grid's option objects: defaults, the limits their setters keep, the
// grid switches and layout they change, assignment through the setters, and
// the wildcard and LIKE operator of text filters.

#include "tests/rdbgrid/RDBGridFixture.h"

#include "components/grid/TrDBGridFilterBar.h"
#include "components/grid/rDBGridSorter.h"
#include "platform/database/DataSource.h"
#include "platform/database/Fields.h"

#include <QScrollBar>
#include <QWidget>

namespace {

class OptionObjects : public RDBGridTest {};

// Whether the grid shows its scroll bar of the orientation.
bool BarShown(TrDBGrid* G, Qt::Orientation O)
{
    for (QScrollBar* b : G->Widget()->findChildren<QScrollBar*>())
        if (b->orientation() == O && b->isVisibleTo(G->Widget()))
            return true;
    return false;
}

}  // namespace

TEST_F(OptionObjects, HidingTheHorizontalBarKeepsTheVerticalOne)
{
    grid->SetWidth(300);
    for (bool hide : {true, false, true}) {
        grid->OptionsEx2().Appearance.HideHScrollBar = hide;
        EXPECT_TRUE(BarShown(grid, Qt::Vertical)) << hide;
        EXPECT_EQ(BarShown(grid, Qt::Horizontal), !hide) << hide;
    }
    // Even with every row in view the vertical bar stays.
    grid->SetHeight(2000);
    EXPECT_TRUE(BarShown(grid, Qt::Vertical));
}

// A cell line without a colour of its own takes the drawing style's.
TEST_F(OptionObjects, CellLineColourFollowsTheDrawingStyle)
{
    const struct {
        grids::TGridDrawingStyle Style;
        TColor Given, Expected;
    } cases[] = {{grids::gdsClassic, clNone, TColor(0xC0C0C0)}, {grids::gdsThemed, clNone, TColor(0xF0F0F0)},
                 {grids::gdsGradient, clNone, TColor(0xF0F0F0)}, {grids::gdsThemed, clRed, clRed}};
    for (const auto& c : cases) {
        grid->SetDrawingStyle(c.Style);
        EXPECT_EQ(grid->GetCellLineColor(c.Given), c.Expected) << int(c.Style);
    }
}

TEST_F(OptionObjects, DefaultsAndLimits)
{
    TOptionsEx2& o = grid->OptionsEx2();
    EXPECT_EQ(o.Appearance.ActiveRowOriginalColorShadowLuminance, 10);
    EXPECT_FALSE(o.Editors.NotProcDblClick);
    EXPECT_FALSE(o.Editors.NotProcMemoDblClick);
    EXPECT_FALSE(o.Editors.NotProcGraphicDblClick);
    EXPECT_FALSE(o.Appearance.HideHScrollBar);
    EXPECT_EQ(TComboBoxStyle(o.Filters.TextComboStyle), csDropDown);
    struct Clamp { TIntOption* option; int set, expect; };
    const Clamp cases[] = {{&o.FixedCell.TitleImageSpace, 250, 100}, {&o.FixedCell.TitleImageSpace, -4, 0},
                           {&o.FixedCell.TitleTextMinWidth, 300, 200}, {&o.Filters.TextMarginX, -3, 0},
                           {&o.Filters.TextMarginY, 25, 20}, {&o.Groups.GroupHeightPixels, 101, 100},
                           {&o.Groups.MergeCellHeightPixels, -1, 0}, {&o.Groups.CollapseBtnSize, 21, 20},
                           {&o.Groups.GroupLineWidth, 0, 1}, {&o.Groups.GroupLineWidth, 11, 10}};
    for (const Clamp& c : cases) {
        *c.option = c.set;
        EXPECT_EQ(int(*c.option), c.expect) << c.set;
    }
    // A free-standing option object (no grid) keeps its limits too.
    TOptionsFilters free;
    free.TextMarginX = 99;
    EXPECT_EQ(int(free.TextMarginX), 20);
}

TEST_F(OptionObjects, SettersSwitchTheGrid)
{
    TOptionsEx2& o = grid->OptionsEx2();
    ASSERT_TRUE(grid->Options() & dgTitleClick);
    o.FixedCell.TitleBtn = false;
    EXPECT_TRUE(grid->Options() & dgTitleClick) << "the top-left button still clicks";
    o.FixedCell.TitleExBtn = false;
    EXPECT_FALSE(grid->Options() & dgTitleClick);
    o.FixedCell.TitleExBtn = true;
    EXPECT_TRUE(grid->Options() & dgTitleClick);

    o.Appearance.HideHScrollBar = true;
    EXPECT_EQ(grid->ScrollBars(), ssNone);
    o.Appearance.HideHScrollBar = false;
    EXPECT_EQ(grid->ScrollBars(), ssHorizontal);

    // Switching the bar on lays the titles out again.
    const int title = grid->RowHeights(0);
    o.Filters.TextBar = true;
    EXPECT_GT(grid->RowHeights(0), title);

    // The panel's padding sets its height.
    o.Filters.FilterPanel = true;
    o.Filters.FilterPanelPaddingHeight = 5;
    EXPECT_EQ(o.Filters.FilterPanelHeight(), 31);

    // Date columns get or lose their calendar button.
    TColumn* id = grid->Columns()->Items(0);
    grid->FieldsAsDate.Add(id->FieldName());
    o.Editors.DateTimePicker = false;
    EXPECT_EQ(id->ButtonStyle, cbsAuto);
    o.Editors.DateTimePicker = true;
    EXPECT_EQ(id->ButtonStyle, cbsEllipsis);

    // The filter bar's box takes the style.
    TrDBGridFilterBar* bar = TrDBGridFilterBar::Of(grid);
    o.Filters.TextComboStyle = csDropDownList;
    EXPECT_EQ(bar->FilterCombo()->Style(), csDropDownList);

    // Groups switched on by their option regroup and show the band.
    grid->SetFieldsGroupsText(QStringLiteral("1=NAME,CLUB"));
    o.Groups.Active = true;
    EXPECT_GT(grid->GroupHeight(), 0);
    o.Groups.Active = false;
    EXPECT_EQ(grid->GroupHeight(), 0);

    // A font given to the frozen columns ends their use of the grid font.
    TFont f;
    f.SetSize(15);
    o.FixedCell.SetFixedColFont(f);
    EXPECT_FALSE(o.FixedCell.FixedColParentFont);
    o.FixedCell.FixedColParentFont = true;
    EXPECT_EQ(o.FixedCell.FixedColFont().Size(), grid->Font()->Size());
    EXPECT_TRUE(o.FixedCell.FixedColParentFont);

    // The fixed column's buttons are the base grid's fixed-column click,
    // which a change of the data grid's own options leaves alone.
    auto baseClick = [&] { return bool(static_cast<TCustomGrid*>(grid)->Options() & goFixedColClick); };
    EXPECT_TRUE(baseClick());
    o.FixedCell.FixedColBtn = false;
    EXPECT_FALSE(baseClick());
    o.FixedCell.FixedColBtn = true;
    grid->SetOptions(grid->Options() | dgRowSelect);
    EXPECT_TRUE(baseClick());
}

// The footer and the title line take the grid's font when told to use it,
// and keep following it while they do.
TEST_F(OptionObjects, FooterAndTitleLineFollowTheGridFont)
{
    TFooterRow* fr = grid->FooterRow();
    fr->SetParentFont(false);
    fr->Font.SetSize(15);
    fr->SetParentFont(true);
    EXPECT_EQ(fr->Font.Size(), grid->Font()->Size());
    grid->Font()->SetSize(13);
    EXPECT_EQ(fr->Font.Size(), 13);
    EXPECT_EQ(grid->TitleLineText()->Font().Size(), 13);
    fr->SetParentFont(false);
    grid->Font()->SetSize(11);
    EXPECT_EQ(fr->Font.Size(), 13) << "an own font stays";
}

// Each layout pass gives the indicator column its configured width (11 is
// the base grid's own), freezes the configured columns and keeps the current
// column out of them.
TEST_F(OptionObjects, LayoutSizesTheIndicatorAndFreezesColumns)
{
    TFixedColText* fc = grid->FixedColText();
    fc->SetFixedColWidth(0);
    grid->LayoutChanged();
    const int own = grid->ColWidths(0);
    struct Case {
        int Width, Expected;
    } cases[] = {{20, 20}, {11, own}, {0, own}, {40, 40}};
    for (const Case& c : cases) {
        fc->SetFixedColWidth(c.Width);
        grid->LayoutChanged();
        EXPECT_EQ(grid->ColWidths(0), c.Expected) << c.Width;
    }
    grid->SetCol(2);
    grid->OptionsEx2().FixedCell.FixedCols = 2;
    grid->LayoutChanged();
    EXPECT_EQ(grid->FixedCols(), 3);
    EXPECT_EQ(grid->Col(), 3) << "the current column moves to the first one that scrolls";
}

TEST_F(OptionObjects, AssignmentGoesThroughTheSetters)
{
    TForm other(nullptr);
    auto* g2 = new TrDBGrid(&other);
    g2->SetParent(&other);
    TOptionsEx2& o = grid->OptionsEx2();
    o.Filters.TextComboStyle = csDropDownList;
    o.Filters.SetFilterPanelButtonList(QStringLiteral("1,2"));
    o.Appearance.ActiveRowOriginalColorShadowLuminance = 40;
    o.FixedCell.TitleBtn = false;
    o.FixedCell.TitleExBtn = false;
    o.Editors.NotProcMemoDblClick = true;
    g2->OptionsEx2() = o;
    EXPECT_EQ(TrDBGridFilterBar::Of(g2)->FilterCombo()->Style(), csDropDownList);
    EXPECT_EQ(g2->OptionsEx2().Filters.FilterPanelButtonIndexes(), (std::vector<int>{1, 2}));
    EXPECT_FALSE(g2->Options() & dgTitleClick);
    EXPECT_TRUE(g2->OptionsEx2().Editors.NotProcMemoDblClick);
    EXPECT_EQ(g2->OptionsEx2().Appearance.ActiveRowOriginalColorShadowLuminance, 10) << "the public shade is not copied";
    // Each object still answers to its own grid.
    g2->OptionsEx2().FixedCell.TitleBtn = true;
    EXPECT_TRUE(g2->Options() & dgTitleClick);
    EXPECT_FALSE(grid->Options() & dgTitleClick);
}

TEST_F(OptionObjects, TextFilterWildcardFallsBackToTheSorterThenTheDataset)
{
    TOptionsFilters& f = grid->OptionsEx2().Filters;
    const QChar datasetChar = f.GetTextFilterLikeChar();
    EXPECT_FALSE(datasetChar.isNull());
    EXPECT_FALSE(f.GetTextFilterLikeOperator().isEmpty());
    TrDBGridSorter_FireDac sorter(form.get());
    grid->SetSorter(&sorter);
    EXPECT_EQ(f.GetTextFilterLikeChar(), QLatin1Char('%'));
    EXPECT_EQ(f.GetTextFilterLikeOperator(), QStringLiteral("LIKE"));
    f.TextFilterLikeChar = QLatin1Char('?');
    EXPECT_EQ(f.GetTextFilterLikeChar(), QLatin1Char('?'));
    grid->SetSorter(nullptr);
}
