// The results grid over 5,000 runs of a real event database: applying a
// filter-bar text to a column, opening a column's funnel value list and
// computing every column summary.

#include "bench/support/RunsOnForm.h"
#include "components/grid/TrDBGridColumnFilters.h"
#include "components/grid/TrDBGridFilterBar.h"
#include "components/grid/TrDBGridFilterForm.h"
#include "components/grid/TrDBGridSummaries.h"
#include "components/grid/rDBGrid.h"
#include "platform/database/Fields.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct GridOverRuns : TRunsOnForm {
    TrDBGrid* grid = nullptr;
    GridOverRuns() : TRunsOnForm(5000)
    {
        grid = new TrDBGrid(form.get());
        grid->SetParent(form.get());
        grid->SetDataSource(&src);
    }
};

GridOverRuns& Fixture()
{
    static GridOverRuns f;
    return f;
}

void BM_FilterBarText(benchmark::State& State)
{
    GridOverRuns& f = Fixture();
    TrDBGridColumnFilters* filters = TrDBGridColumnFilters::Of(f.grid);
    TField* club = f.q->FieldByName(QStringLiteral("CLUB_NAME"));
    TField* time = f.q->FieldByName(QStringLiteral("TIME_SEC"));
    for (auto _ : State) {
        filters->ResetFilter();
        filters->ProcFilterBarFilter(club, QStringLiteral("Rasti | OK"));
        filters->ProcFilterBarFilter(time, QStringLiteral(">=1800 & <3600"));
        benchmark::DoNotOptimize(f.q->RecordCount());
    }
    filters->ResetFilter();
}
BENCHMARK(BM_FilterBarText)->Unit(benchmark::kMillisecond);

// The funnel list of a column with few values (clubs) and one with many
// (person names), under a filter on another column so both passes run.
void BM_FunnelValueList(benchmark::State& State)
{
    GridOverRuns& f = Fixture();
    f.grid->OptionsEx2().Filters.FunnelBtn = true;
    TrDBGridColumnFilters* filters = TrDBGridColumnFilters::Of(f.grid);
    filters->ProcFilterBarFilter(f.q->FieldByName(QStringLiteral("TIME_SEC")), QStringLiteral(">=1800"));
    TrDBGridFilterBar* bar = TrDBGridFilterBar::Of(f.grid);
    const int col = f.grid->GetFieldNameColumnIndex(State.range(0) ? QStringLiteral("PERSON_NAME") : QStringLiteral("CLUB_NAME"));
    for (auto _ : State) {
        bar->IntShowFilterDlg(f.grid->DataToRawColumn(col));
        benchmark::DoNotOptimize(bar->FunnelForm()->DisplayList.size());
        bar->FunnelForm()->Hide();
    }
    State.counters["values"] = double(bar->FunnelForm()->DisplayList.size());
    filters->ResetFilter();
}
BENCHMARK(BM_FunnelValueList)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// With the distinct values (the title popup shows them) or without (the footer).
void BM_AllColumnSummaries(benchmark::State& State)
{
    GridOverRuns& f = Fixture();
    TrDBGridSummaries s(f.grid);
    s.CalculateDistinctValues = State.range(0) != 0;
    for (auto _ : State) {
        s.Recalculate();
        benchmark::DoNotOptimize(s.Results().size());
    }
}
BENCHMARK(BM_AllColumnSummaries)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
