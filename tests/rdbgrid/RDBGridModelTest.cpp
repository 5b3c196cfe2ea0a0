// The grid as a whole: the components it points at may be freed first, a
// copy of a grid takes all its settings, the library's creation and loading
// events, scaling of the filter bar, coordinates for controls beside the grid.

#include "tests/rdbgrid/RDBGridFixture.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rGlyphs.h"
#include "components/grid/TPropSaveFile.h"
#include "components/grid/TrDBGridCellConds.h"
#include "components/grid/TrDBGridFilterBar.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

class RDBGridModelTest : public RDBGridTest {};

TEST_F(RDBGridModelTest, ComponentsFreedBeforeTheGridAreForgotten)
{
    struct Case {
        const char* name;
        std::function<TComponent*()> make;
        std::function<TComponent*()> read;
    };
    const Case cases[] = {
        {"data images",
         [&] { auto* l = new TImageList(nullptr); FillImages(l); grid->SetDataImageList(l); return l; },
         [&] { return grid->DataImageList(); }},
        {"title images",
         [&] { auto* l = new TImageList(nullptr); FillImages(l); grid->SetTitleImageList(l); return l; },
         [&] { return grid->TitleImageList(); }},
        {"top-left menu", [&] { auto* m = new TPopupMenu(nullptr); grid->SetTitleExPopupMenu(m); return m; },
         [&] { return grid->TitleExPopupMenu(); }},
        {"group header menu", [&] { auto* m = new TPopupMenu(nullptr); grid->SetTitleMergedCellPopupMenu(m); return m; },
         [&] { return grid->TitleMergedCellPopupMenu(); }},
        {"property file", [&] { auto* f = new TPropSaveFile(nullptr); grid->SetPropSaveFile(f); return f; },
         [&] { return grid->PropSaveFile(); }},
        {"glyph set", [&] { auto* g = new TrCustomGlyphs(nullptr); grid->SetCustomGlyphs(g); return g; },
         [&] { return grid->CustomGlyphs(); }},
    };
    grid->TitleImages.Add(QStringLiteral("NAME=1"));
    grid->DataImages.SetText(QStringLiteral("[STATUS]\n0=0\n"));
    for (const Case& c : cases) {
        TComponent* comp = c.make();
        ASSERT_EQ(c.read(), comp) << c.name;
        delete comp;
        EXPECT_EQ(c.read(), nullptr) << c.name;
        Render();  // paints without the freed component
    }
    // A component replaced by another is no longer watched: freeing it leaves the new one.
    auto* first = new TImageList(nullptr);
    auto* second = new TImageList(nullptr);
    grid->SetTitleImageList(first);
    grid->SetTitleImageList(second);
    delete first;
    EXPECT_EQ(grid->TitleImageList(), second);
    delete second;
    EXPECT_EQ(grid->TitleImageList(), nullptr);
}

TEST_F(RDBGridModelTest, AssignCopiesListsMenusFilesLineAndConditions)
{
    TImageList images(nullptr), titleImages(nullptr);
    TPopupMenu exMenu(nullptr), mergedMenu(nullptr);
    TPropSaveFile file(nullptr);
    grid->SetDataImageList(&images);
    grid->SetTitleImageList(&titleImages);
    grid->SetTitleExPopupMenu(&exMenu);
    grid->SetTitleMergedCellPopupMenu(&mergedMenu);
    grid->SetPropSaveFile(&file);
    grid->LookupListItemHeight = 22;
    grid->LookupListItemIncreaseHeight = 5;
    grid->LookupListItemIncreaseWidth = 7;
    grid->TitleLineText()->SetText(QStringLiteral("Tulokset|Väliajat"));
    grid->FieldsAsBoolean.Add(QStringLiteral("RENTED=K;E"));
    grid->SetSortFieldName(QStringLiteral("NAME"));
    TCellParamsCond* cond = TrDBGridCellConds::Of(grid)->List.Add();
    cond->FieldName = QStringLiteral("STATUS");
    TFont title = *grid->TitleFont();
    title.SetSize(13);
    grid->SetTitleFont(title);

    auto* copy = new TrDBGrid(form.get());
    copy->Assign(*grid);
    EXPECT_EQ(copy->DataImageList(), &images);
    EXPECT_EQ(copy->TitleImageList(), &titleImages);
    EXPECT_EQ(copy->TitleExPopupMenu(), &exMenu);
    EXPECT_EQ(copy->TitleMergedCellPopupMenu(), &mergedMenu);
    EXPECT_EQ(copy->PropSaveFile(), &file);
    EXPECT_EQ(copy->LookupListItemHeight, 22);
    EXPECT_EQ(copy->LookupListItemIncreaseHeight, 5);
    EXPECT_EQ(copy->LookupListItemIncreaseWidth, 7);
    EXPECT_EQ(copy->TitleLineText()->Text(), QStringLiteral("Tulokset|Väliajat"));
    EXPECT_EQ(copy->TitleFont()->Size(), 13);
    EXPECT_EQ(copy->FieldsAsBoolean.Values(QStringLiteral("RENTED")), QStringLiteral("K;E"));
    EXPECT_TRUE(copy->SortFieldName().isEmpty()) << "the sort state is not copied";
    ASSERT_NE(TrDBGridCellConds::Find(copy), nullptr);
    ASSERT_EQ(TrDBGridCellConds::Find(copy)->List.Count(), 1);
    EXPECT_EQ(TrDBGridCellConds::Find(copy)->List.Items[0]->FieldName, QStringLiteral("STATUS"));
    // The copy watches the components too.
    grid->SetPropSaveFile(nullptr);
    delete copy;
}

TEST_F(RDBGridModelTest, CreationAndLoadingRaiseTheLibraryEvents)
{
    std::vector<std::pair<TComponent*, int>> seen;
    auto old = ParioCompConfig.Global_OnParioCompGeneralEvent;
    ParioCompConfig.Global_OnParioCompGeneralEvent = [&](TComponent* S, int Id, TComponent*, TComponent*, QVariant&) {
        seen.push_back({S, Id});
    };
    TForm f(nullptr);
    f.BeginLoading();
    auto* g = new TrDBGrid(&f);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), std::make_pair(static_cast<TComponent*>(g), 1101));
    f.EndLoading();
    EXPECT_NE(std::find(seen.begin(), seen.end(), std::make_pair(static_cast<TComponent*>(g), 1102)), seen.end());
    ParioCompConfig.Global_OnParioCompGeneralEvent = old;
}

TEST_F(RDBGridModelTest, FilterBoxesExistFromTheStartAndScaleWithTheGrid)
{
    TrComboBoxExFilter* bar = grid->FilterCombo();
    TrComboBoxExFilter* panel = grid->FilterPanelCombo();
    ASSERT_NE(bar, nullptr);
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->FilterPanel);
    EXPECT_EQ(grid->OptionsEx2().Filters.TextBarHeight, bar->Height());
    EXPECT_EQ(grid->OptionsEx2().Filters.FilterPanelComboHeight, panel->Height());
    grid->OptionsEx2().Filters.TextComboStyle = csDropDownList;
    EXPECT_EQ(bar->Style(), csDropDownList);
    EXPECT_EQ(panel->Style(), csDropDownList);
    const int h = grid->OptionsEx2().Filters.TextBarHeight;
    grid->ScaleBy(3, 2);
    EXPECT_EQ(grid->OptionsEx2().Filters.TextBarHeight, MulDiv(h, 3, 2));
}

TEST_F(RDBGridModelTest, CoordinatesAndHotTrackHelpers)
{
    grid->SetBounds(30, 20, 600, 300);
    const TRect r = grid->ClientRectToParentRect(Rect(5, 6, 25, 16));
    EXPECT_EQ(r, Rect(35, 26, 55, 36));
    EXPECT_TRUE(TrDBGrid::CheckCoord(TGridCoord{2, 3}, TGridCoord{2, 3}));
    EXPECT_FALSE(TrDBGrid::CheckCoord(TGridCoord{2, 3}, TGridCoord{3, 2}));
    EXPECT_TRUE(TrDBGrid::CheckCoordXY(TGridCoord{4, 1}, 4, 1));
    EXPECT_FALSE(TrDBGrid::CheckCoordXY(TGridCoord{4, 1}, 1, 4));
    // The mouse over a title makes it the hot-track cell; resetting forgets it.
    const TRect title = grid->CellRect(2, 0);
    Move((title.Left + title.Right) / 2, (title.Top + title.Bottom) / 2);
    EXPECT_EQ(grid->HotTrackCell().X, 2);
    grid->InvalidateHotTrackCell();
    grid->ResetHotTrackCell();
    EXPECT_EQ(grid->HotTrackCell().X, -1);
    EXPECT_EQ(grid->HotTrackCell().Y, -1);
}

namespace {

struct TEditRulesGrid : TrDBGrid {
    using TrDBGrid::CanEditModify;
};

}  // namespace

TEST_F(RDBGridModelTest, ReadOnlyFieldsAndDataKeepTheEditorClosed)
{
    grid->SetOptions(grid->Options() | dgEditing);
    TField* name = data->FieldByName(QStringLiteral("NAME"));
    const struct { const char* what; std::function<void(bool)> set; bool shows; } cases[] = {
        {"plain", [](bool) {}, true},
        {"read-only field", [&](bool On) { name->SetReadOnly(On); }, false},
        {"read-only data", [&](bool On) { data->SetReadOnly(On); }, false},
    };
    for (const auto& c : cases) {
        c.set(true);
        grid->SetSelectedIndex(1);
        grid->ShowEditor();
        EXPECT_EQ(grid->EditorMode(), c.shows) << c.what;
        grid->HideEditor();
        c.set(false);
    }

    // A wide memo shown as a glyph is not typed into.
    TClientDataSet memos;
    memos.AddField(QStringLiteral("ID"), ftInteger);
    memos.AddField(QStringLiteral("NOTE"), ftWideMemo);
    memos.CreateDataSet();
    memos.AppendRecord({1, QStringLiteral("pitkä teksti")});
    src->SetDataSet(&memos);
    grid->Columns()->SetState(csDefault);
    grid->LayoutChanged();
    grid->SetSelectedIndex(1);
    EXPECT_FALSE(static_cast<TEditRulesGrid*>(static_cast<TrDBGrid*>(grid))->CanEditModify());
    EXPECT_NE(memos.State(), dsEdit);
    src->SetDataSet(data.get());
}

// Whoever changes one of the grid's lists (a window, a saver, Assign), the
// grid repaints; a change of the field groups also regroups the columns.
TEST_F(RDBGridModelTest, ChangedListsRepaintAndNewFieldGroupsRegroup)
{
    struct Counting : TrDBGrid {
        using TrDBGrid::TrDBGrid;
        void Invalidate() override
        {
            ++Repaints;
            TrDBGrid::Invalidate();
        }
        int Repaints = 0;
    };
    auto* g = new Counting(form.get());
    const struct {
        const char* Name;
        TStringList* List;
    } cases[] = {{"DataImages", &g->DataImages},
                 {"TitleButtons", &g->TitleButtons},
                 {"TitleImages", &g->TitleImages},
                 {"FieldsFilterButton", &g->FieldsFilterButton},
                 {"FieldsFilterMapping", &g->FieldsFilterMapping},
                 {"FieldsFixedColumnWidth", &g->FieldsFixedColumnWidth},
                 {"FieldsGroups", &g->FieldsGroups}};
    for (const auto& c : cases) {
        g->Repaints = 0;
        c.List->Add(QStringLiteral("NAME=1"));
        EXPECT_GT(g->Repaints, 0) << c.Name;
    }
    // A member listed away from its master moves next to it.
    grid->OptionsEx2().Groups.Active = true;
    grid->FieldsGroups.SetText(QStringLiteral("[1::Seura::clNone::clNone::<<CLUB>>::1]\r\nID=M\r\nCLUB=0\r\n"));
    EXPECT_EQ(grid->Columns()->Items(1)->FieldName(), QStringLiteral("CLUB"));
    EXPECT_EQ(&grid->CellParamsCondList(), &TrDBGridCellConds::Of(grid)->List);
}

// A look style colours the title line band too, and the visible rows stay
// where they were.
TEST_F(RDBGridModelTest, ALookStyleColoursTheTitleLineAndKeepsTheRows)
{
    data->Locate(QStringLiteral("ID"), 6);
    const int row = grid->Row();
    grid->SetGridLookStyle(grsOlive);
    EXPECT_EQ(grid->TitleLineText()->Color(), grid->GradientStartColor);
    EXPECT_EQ(grid->TitleLineText()->Font().Color(), grid->TitleFont()->Color());
    EXPECT_EQ(grid->Row(), row);
    EXPECT_EQ(data->FieldByName(QStringLiteral("ID"))->AsInteger(), 6);
}
