// The action module's dialog actions: each runs its installed dialog with
// the active grid and the enabled states the dialog needs; an action whose
// dialog is not installed says so; "Filter by selection" and "Filter by
// value selection" work without any.

#include "components/grid/TrDBAction.h"
#include "components/grid/TrDBGridFilterBar.h"
#include "components/grid/TrDBGridFilterForm.h"
#include "components/grid/rDBGrid.h"
#include "platform/ui/Dialogs.h"
#include "tests/rdbgrid/RDBGridFixture.h"

namespace {

class ActionDialogs : public RDBGridTest {
protected:
    void SetUp() override
    {
        RDBGridTest::SetUp();
        actions = new TrDBAction(form.get());
        actions->SetActiveGrid(grid);
        previous = SetMessageBoxHook([this](const TMessageBoxRequest& R) {
            boxes << R.Text;
            return IDOK;
        });
    }
    void TearDown() override
    {
        SetMessageBoxHook(previous);
        RDBGridTest::TearDown();
    }
    TrDBAction* actions = nullptr;
    TMessageBoxHook previous;
    QStringList boxes;
};

}  // namespace

TEST_F(ActionDialogs, InstalledDialogsGetTheActiveGrid)
{
    QStringList ran;
    TrDBActionDialogs& d = actions->Dialogs;
    d.Find = [&](TrDBGrid* G) { ran << (G == grid ? "find" : "?"); return true; };
    d.SortDialog = [&](TrDBGrid* G) { ran << (G == grid ? "sort" : "?"); return true; };
    d.ChooseFields = [&](TrDBGrid* G) { ran << (G == grid ? "columns" : "?"); };
    d.FilterForm = [&](TrDBGrid*) {
        data->SetFilter(QStringLiteral("STATUS = '3'"));
        data->SetFiltered(true);
        ran << QStringLiteral("filter");
        return true;
    };
    d.TableProperties = [&](TrDBGrid*, bool Columns, bool Conditions, bool Filters, bool Styles) {
        ran << QStringLiteral("props %1%2%3%4").arg(Columns).arg(Conditions).arg(Filters).arg(Styles);
    };
    d.Export = [&](TrDBGrid*, bool Filter, bool Columns) { ran << QStringLiteral("export %1%2").arg(Filter).arg(Columns); };
    for (TAction* a : {actions->acoFind, actions->acsSortDlg, actions->accColumns, actions->acfFilterForm, actions->acoProperties,
                       actions->acoExport})
        a->Execute();
    EXPECT_EQ(ran, (QStringList{QStringLiteral("find"), QStringLiteral("sort"), QStringLiteral("columns"), QStringLiteral("filter"),
                                QStringLiteral("props 1111"), QStringLiteral("export 11")}));
    // A dialog that filtered leaves the grid knowing the filtered fields.
    EXPECT_EQ(grid->FilteredFieldNames(), QStringLiteral("STATUS;"));
    EXPECT_TRUE(boxes.isEmpty());
    // Grid Tag 4 (no filtering): the export is told the filter is off.
    grid->Tag = 4;
    actions->RefreshAction();
    ran.clear();
    actions->acoExport->Execute();
    EXPECT_EQ(ran, QStringList{QStringLiteral("export 01")});
}

TEST_F(ActionDialogs, MissingDialogsSaySoAndTheGridsOwnFiltersWork)
{
    actions->accColumns->Execute();
    actions->acoPrint->Execute();
    EXPECT_EQ(boxes.size(), 2);
    // Filter by selection: the current cell's value.
    grid->SetSelectedIndex(2);
    actions->acfFilterSel->Execute();
    EXPECT_EQ(data->RecordCount(), 6);
    EXPECT_EQ(grid->FilteredFieldNames(), QStringLiteral("CLUB;"));
}

// "Filter by value selection" opens the current column's funnel drop-down:
// on a grid without funnel buttons it is disabled and running it opens
// nothing; with them its key Ctrl+Alt+R opens the list of the current column.
TEST_F(ActionDialogs, FilterByValueSelectionOpensTheFunnelOnlyWhereThereIsOne)
{
    grid->SetSelectedIndex(2);
    grid->OptionsEx2().Filters.FunnelBtn = false;
    actions->RefreshAction();
    EXPECT_FALSE(actions->acfFilterDlg->Enabled());
    actions->acfFilterDlg->Execute();
    TrDBGridFilterForm* f = TrDBGridFilterBar::Of(grid)->FunnelForm();
    EXPECT_TRUE(f == nullptr || !f->Visible());

    grid->OptionsEx2().Filters.FunnelBtn = true;
    actions->RefreshAction();
    ASSERT_TRUE(actions->acfFilterDlg->Enabled());
    Word key = 'R';
    actions->CheckShortcut(key, ssCtrl | ssAlt);
    EXPECT_EQ(key, 0);
    f = TrDBGridFilterBar::Of(grid)->FunnelForm();
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(f->Visible());
    EXPECT_EQ(f->DisplayField, data->FieldByName(QStringLiteral("CLUB")));
}
