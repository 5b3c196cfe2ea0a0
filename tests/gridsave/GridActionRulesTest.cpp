// The grid action module's enabling rules as a table over the grid's action
// mask, the dataset's state and the user-rights levels; shortcuts; closing a
// window with pending edits.

#include "components/grid/TPropSaveFile.h"
#include "components/grid/TrDBAction.h"
#include "components/grid/rDBGrid.h"
#include "platform/database/DataSource.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/Menus.h"
#include "tests/rdbgrid/RDBGridFixture.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

class GridActions : public ::testing::Test {
public:
    void SetUp() override
    {
        actions = std::make_unique<TrDBAction>(nullptr);
        form = std::make_unique<TForm>(nullptr);
        data = MakeRunsTable(5);
        src = std::make_unique<TDataSource>();
        src->SetDataSet(data.get());
        grid = new TrDBGrid(form.get());
        grid->SetParent(form.get());
        grid->SetDataSource(src.get());
    }
    void TearDown() override
    {
        form.reset();
        actions.reset();
    }
    TMenuItem* TopMenu(const QString& Caption) const
    {
        TMenuItem* root = actions->pmDBAction->Items();
        for (int i = 0; i < root->Count(); ++i)
            if (root->Items(i)->Caption() == Caption)
                return root->Items(i);
        return nullptr;
    }
    std::unique_ptr<TrDBAction> actions;
    std::unique_ptr<TForm> form;
    std::unique_ptr<TClientDataSet> data;
    std::unique_ptr<TDataSource> src;
    TrDBGrid* grid = nullptr;
};

struct RuleCase {
    const char* name;
    std::function<void(GridActions&)> setup;
    std::vector<std::pair<const char*, bool>> enabled;
};

}  // namespace

TEST_F(GridActions, EnablingRulesTable)
{
    const std::vector<RuleCase> cases = {
        {"no active grid",
         [](GridActions& t) { t.actions->SetActiveGrid(nullptr); },
         {{"aceEdit", false}, {"acsSort1", false}, {"acfFilter", false}, {"accColumns", false}, {"acoProperties", false},
          {"acoClose", false}, {"acoCopyCell", false}, {"acoFind", false}, {"acoPaste", false}}},
        {"main results grid, Tag 129, browsing",
         [](GridActions& t) { t.grid->Tag = 129; t.actions->SetActiveGrid(t.grid); },
         {{"aceEdit", false}, {"aceAdd", false}, {"acsSort1", true}, {"acfFilter", true}, {"accColumns", true},
          {"acoProperties", true}, {"acoCopyCell", true}, {"acoExport", true}, {"acoPrint", true}, {"acoFind", true}}},
        {"read-only grid with Tag 0 is like Tag 1",
         [](GridActions& t) { t.grid->SetReadOnly(true); t.actions->SetActiveGrid(t.grid); },
         {{"aceEdit", false}, {"aceAdd", false}, {"acsSort1", true}, {"acoClose", true}}},
        {"empty modifiable browsing dataset",
         [](GridActions& t) { t.data = MakeRunsTable(0); t.src->SetDataSet(t.data.get()); t.actions->SetActiveGrid(t.grid); },
         {{"aceAdd", true}, {"aceAutoEdit", true}, {"aceEdit", false}, {"aceDuplic", false}, {"aceDelete", false}}},
        {"editing",
         [](GridActions& t) { t.actions->SetActiveGrid(t.grid); t.data->Edit(); t.actions->RefreshAction(); },
         {{"aceSave", true}, {"aceSaveAdd", true}, {"aceCancel", true}, {"acoFind", false}, {"acsSort1", false},
          {"acfFilterSel", false}, {"acoCopyCell", false}, {"acoExport", false}, {"acoClose", false}, {"aceEdit", false}}},
        {"edit rights 2, other rights 0",
         [](GridActions& t) {
             t.actions->SetActiveGrid(t.grid);
             t.actions->SetUserRights(true, 2);
             t.actions->SetUserRights(false, 0);
         },
         {{"aceEdit", false}, {"aceAutoEdit", false}, {"aceDelete", false}, {"aceAdd", true}, {"acoExport", false},
          {"acoPrint", false}, {"acsSort1", true}}},
    };
    for (const RuleCase& c : cases) {
        SetUp();
        c.setup(*this);
        for (const auto& [name, expect] : c.enabled) {
            auto* a = dynamic_cast<TCustomAction*>(actions->FindComponent(QLatin1String(name)));
            ASSERT_NE(a, nullptr) << name;
            EXPECT_EQ(a->Enabled(), expect) << c.name << ": " << name;
        }
        TearDown();
    }
}

TEST_F(GridActions, ActionsFollowTheActiveGridsDataWithoutAnUpdatePass)
{
    // The main window makes its grid active at start, before the event's data
    // are open; no window's update pass reaches the shared actions, and a
    // click or a shortcut right after the opening must already find them on.
    grid->Tag = 129;
    data->Close();
    actions->SetActiveGrid(grid);
    ASSERT_FALSE(actions->acoExport->Enabled());
    data->Open();
    EXPECT_TRUE(actions->acoExport->Enabled());
    EXPECT_TRUE(actions->acoFind->Enabled());
    data->Edit();
    EXPECT_FALSE(actions->acoExport->Enabled());
    data->Cancel();
    EXPECT_TRUE(actions->acoExport->Enabled());
    // A change no dataset event tells of: an action's own update recomputes it.
    grid->Tag = 129 | 16;
    actions->acoProperties->Update();
    EXPECT_FALSE(actions->acoProperties->Enabled());
}

TEST_F(GridActions, VisibilityMenusShortcutsAndOtherActions)
{
    actions->SetActiveGrid(nullptr);
    EXPECT_FALSE(TopMenu(QStringLiteral("Sorting of data"))->Visible());
    EXPECT_EQ(actions->acsSort1->ShortCut(), scNone);
    EXPECT_NE(actions->acoFind->ShortCut(), scNone);
    bool asked = false;
    actions->OnGetOtherActionState = [&asked](TComponent*, TrDBGrid*, bool& Enabled) { asked = true; Enabled = true; };
    actions->RefreshAction();
    EXPECT_TRUE(asked);
    EXPECT_TRUE(actions->acoPaste->Enabled());
    actions->OnGetOtherActionState = nullptr;

    grid->Tag = 129;
    actions->SetActiveGrid(grid);
    EXPECT_FALSE(TopMenu(QStringLiteral("Record"))->Visible());
    EXPECT_TRUE(TopMenu(QStringLiteral("Filter data"))->Visible());
    EXPECT_FALSE(actions->acoClose->Visible());
    EXPECT_TRUE(actions->aceAdd->Visible());

    // Drop-downs without saved sorts or stored filters say so in one disabled line.
    for (TPopupMenu* m : {actions->pmSortList, actions->pmFilterList}) {
        m->OnPopup(m);
        m->OnPopup(m);  // twice: the list is rebuilt, not appended to
        TMenuItem* last = m->Items()->Items(m->Items()->Count() - 1);
        EXPECT_EQ(last->Caption(), QStringLiteral("no saved items"));
        EXPECT_FALSE(last->Enabled());
        EXPECT_EQ(m->Items()->Count(), m == actions->pmSortList ? 1 : 4);
    }

    EXPECT_THROW(actions->SetUserRights(false, 10), Exception);
    EXPECT_TRUE(actions->acoExport->Enabled());
}

TEST_F(GridActions, FilterLoadFollowsTheGlobalFileAndF2StartsEditingOnlyWhenAllowed)
{
    actions->SetActiveGrid(grid);
    EXPECT_FALSE(actions->acfFilterLoad->Enabled());
    TPropSaveFile global(nullptr);
    global.DisableAll = true;
    global.SetUseAsGlobalFile(true);
    data->Edit();
    actions->RefreshAction();
    EXPECT_TRUE(actions->acfFilterLoad->Enabled());
    EXPECT_FALSE(actions->acfFilterSave->Enabled());
    data->Cancel();

    Word key = VK_F2;
    actions->RefreshAction();
    actions->CheckShortcut(key, 0);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(data->State(), dsEdit);
    data->Cancel();

    grid->Tag = 1;  // no editing: F2 reaches the window
    actions->RefreshAction();
    key = VK_F2;
    actions->CheckShortcut(key, 0);
    EXPECT_EQ(key, VK_F2);
    EXPECT_EQ(data->State(), dsBrowse);
}

TEST_F(GridActions, ClosingWithPendingEditsAsks)
{
    actions->SetActiveGrid(grid);
    data->Edit();
    auto old = SetModalHook([](TCustomForm*) { return int(mrCancel); });
    EXPECT_FALSE(actions->CheckEditState(true));
    EXPECT_EQ(data->State(), dsEdit);
    SetModalHook([](TCustomForm*) { return int(mrNo); });
    EXPECT_TRUE(actions->CheckEditState(true));
    EXPECT_EQ(data->State(), dsBrowse);
    SetModalHook(old);
}

TEST_F(GridActions, ADestroyedGridIsForgotten)
{
    actions->SetActiveGrid(grid);
    form.reset();
    EXPECT_EQ(actions->GetActiveGrid(), nullptr);
    EXPECT_FALSE(actions->acsSort1->Enabled());
}

TEST_F(GridActions, SortActionsAddAFurtherColumnOnlyOnce)
{
    QStringList asked;
    grid->OnChangeSort = [&asked](TComponent*, TDataSet*, const QString& Names, bool, bool& Accept) {
        asked << Names;
        Accept = true;
    };
    actions->SetActiveGrid(grid);
    grid->SetSelectedIndex(1);  // NAME
    actions->acsSort1->Execute();
    ASSERT_EQ(grid->SortFieldName(), QStringLiteral("NAME"));
    grid->SetSelectedIndex(2);  // CLUB
    actions->RefreshAction();
    ASSERT_TRUE(actions->acsSort3->Enabled());
    actions->acsSort3->Execute();
    EXPECT_EQ(grid->SortFieldName(), QStringLiteral("NAME,CLUB"));
    EXPECT_EQ(grid->PosInSortField(QStringLiteral("club")), 2);
    // A column already in the sort is not added twice.
    actions->acsSort3->Execute();
    EXPECT_EQ(grid->SortFieldName(), QStringLiteral("NAME,CLUB"));
    EXPECT_EQ(asked, (QStringList{QStringLiteral("NAME"), QStringLiteral("NAME,CLUB")}));
    actions->acsSortNone->Execute();
    EXPECT_TRUE(grid->SortFieldName().isEmpty());
}

TEST_F(GridActions, BarsAndTheirBindingsMoveToAnotherModule)
{
    form->SetBounds(0, 0, 700, 400);
    form->AfterConstruction();
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(0, 0, 700, 300);
    TToolBar* tools = actions->CreateToolBar(panel);
    TToolBar* edit = actions->CreateEditBar(form.get());
    // The edit bar: two rows of 36-pixel buttons, the second starting with delete.
    TToolButton* del = nullptr;
    for (int i = 0; i < edit->ButtonCount(); ++i)
        if (edit->Buttons(i)->Action() == actions->aceDelete)
            del = edit->Buttons(i);
    ASSERT_NE(del, nullptr);
    EXPECT_GT(del->Top(), edit->Buttons(0)->Top()) << "delete starts the second row";
    EXPECT_GE(edit->Height(), 2 * 36);
    // The tool bar sizes itself to its one row and draws white to silver.
    EXPECT_EQ(tools->Height(), tools->ButtonHeight() + 4);
    EXPECT_TRUE(tools->ShowHint());
    TBitmap shot;
    tools->PaintTo(&shot);
    const QImage& img = shot.Image();
    EXPECT_GT(qGray(img.pixel(img.width() - 2, 1)), qGray(img.pixel(img.width() - 2, img.height() - 2)));

    TrDBAction other(nullptr);
    TToolButton* sortButton = nullptr;
    for (int i = 0; i < tools->ButtonCount(); ++i)
        if (tools->Buttons(i)->DropdownMenu == actions->pmSortList)
            sortButton = tools->Buttons(i);
    ASSERT_NE(sortButton, nullptr);
    actions->RelinkActionTo(form.get(), &other);
    EXPECT_EQ(sortButton->DropdownMenu, other.pmSortList);
    EXPECT_EQ(sortButton->Action(), other.acsSortDlg);
    EXPECT_EQ(del->Action(), other.aceDelete);
}

TEST_F(GridActions, BrowseHandlerRunsTheTriggersOwnClick)
{
    TComponent* sender = nullptr;
    TMenuItem item(nullptr);
    item.OnClick = [&](TComponent* S) { sender = S; };
    actions->acdIfBrowseExecute(&item);
    EXPECT_EQ(sender, actions.get());
    TButton button(form.get());
    sender = nullptr;
    button.OnClick = [&](TComponent* S) { sender = S; };
    actions->acdIfBrowseExecute(&button);
    EXPECT_EQ(sender, actions.get());
}
