// Each filter front end of the grid (bar texts, the funnel value list, the
// filter panel's direct text) over runners read from a Firebird table: the
// rows left are the expected ones.

#include "components/grid/TrDBGridColumnFilters.h"
#include "components/grid/TrDBGridFilterBar.h"
#include "components/grid/TrDBGridFilterForm.h"
#include "components/grid/rDBGrid.h"
#include "components/base/rListBoxes.h"
#include "platform/database/DataSource.h"
#include "platform/ui/Forms.h"
#include "tests/grid/FilterDataFixture.h"

#include <gtest/gtest.h>

namespace {

class FrontEndsFb : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 800, 400);
        src.SetDataSet(&data.DataSet());
        grid = new TrDBGrid(form.get());
        grid->SetParent(form.get());
        grid->SetBounds(0, 0, 780, 360);
        TOptionsFilters& o = grid->OptionsEx2().Filters;
        o.TextBar = o.FunnelBtn = o.FilterPanel = true;
        grid->SetDataSource(&src);
        form->AfterConstruction();
        bar = TrDBGridFilterBar::Of(grid);
    }
    TColumn* Column(const char* Name)
    {
        return grid->Columns()->Items(grid->GetFieldNameColumnIndex(QLatin1String(Name)));
    }
    RunnerData data{TRunnerSource::Firebird};
    TDataSource src;
    std::unique_ptr<TForm> form;
    TrDBGrid* grid = nullptr;
    TrDBGridFilterBar* bar = nullptr;
};

}  // namespace

TEST_F(FrontEndsFb, BarTextsLeaveTheExpectedRunners)
{
    struct Case { const char* field; const char* text; std::set<int> ids; };
    const Case cases[] = {
        {"NAME", "Aalto", {1}},
        {"NAME", "O'Neil", {3}},
        {"CLUB", "Kiito", {2, 5}},
        {"CLUB", "(null)", {3}},
        {"SECS", ">3000", {1, 2}},
        {"SECS", "3***", {1, 5}},  // 3000 <= x < 4000
        {"BORN", "1999", {5}},
        {"BORN", "1985-12", {2}},
        {"BORN", "<1990", {2}},
    };
    for (const Case& c : cases) {
        bar->FilterComboHide(true, true);
        bar->SetTextFilter(Column(c.field), QString::fromUtf8(c.text), true);
        EXPECT_EQ(data.IdSet(), c.ids) << c.field << " " << c.text << " -> " << data.DataSet().Filter().toStdString();
    }
    // Two columns are joined with AND; clearing one keeps the other.
    bar->FilterComboHide(true, true);
    bar->SetTextFilter(Column("CLUB"), QStringLiteral("Rasti"), true);
    bar->SetTextFilter(Column("BORN"), QStringLiteral(">2000"), true);
    EXPECT_EQ(data.IdSet(), std::set<int>{4});
    bar->SetTextFilter(Column("BORN"), QString(), true);
    EXPECT_EQ(data.IdSet(), (std::set<int>{1, 4}));
}

TEST_F(FrontEndsFb, FunnelListFiltersToTheCheckedValues)
{
    bar->IntShowFilterDlg(grid->DataToRawColumn(Column("CLUB")->Index()));
    TrDBGridFilterForm* f = bar->FunnelForm();
    ASSERT_NE(f, nullptr);
    const QStringList items = f->CheckBoxList->Items();
    EXPECT_EQ(items, (QStringList{QStringLiteral("(select all)"), QStringLiteral("(empty)"), QStringLiteral("Kiito"),
                                  QStringLiteral("Rasti")}));
    for (int i = 0; i < items.size(); ++i)
        f->CheckBoxList->SetChecked(i, items[i] == QLatin1String("Kiito") || items[i] == QLatin1String("(empty)"));
    f->SetFilter();
    EXPECT_EQ(data.IdSet(), (std::set<int>{2, 3, 5}));
    EXPECT_EQ(grid->FilteredFieldNames(), QStringLiteral("CLUB;"));
}

TEST_F(FrontEndsFb, PanelTextFiltersAndABadTextLeavesTheRows)
{
    ASSERT_TRUE(bar->FilterPanelApply(QStringLiteral("SECS < 3000")));
    EXPECT_EQ(data.IdSet(), std::set<int>{3});
    EXPECT_EQ(grid->FilteredFieldNames(), QStringLiteral("SECS;"));
    ASSERT_TRUE(bar->FilterPanelApply(QString()));
    EXPECT_EQ(data.IdSet().size(), 5u);
}
