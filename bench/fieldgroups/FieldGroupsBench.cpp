// The data grid over 5,000 runs with three field groups (one collapsed, its
// master showing a mask): painting a page, where every title and data cell
// asks for its group, against the same page with the groups off; and the
// group information of every column.

#include "bench/support/RunsOnForm.h"
#include "components/grid/rDBGrid.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct GroupedRuns : TRunsOnForm {
    TrDBGrid* grid = nullptr;

    GroupedRuns() : TRunsOnForm(5000)
    {
        grid = new TrDBGrid(form.get());
        grid->SetParent(form.get());
        grid->SetDataSource(&src);
        grid->SetBounds(0, 0, 1480, 860);
        grid->SetTitleLines(2);
        for (int i = 0; i < grid->Columns()->Count(); ++i)
            grid->Columns()->Items(i)->SetWidth(90);
        grid->SetFieldsGroupsText(QStringLiteral(
            "[1::Kilpailija::Red::Red::<<PERSON_NAME>>::0]\r\nPERSON_NAME=M\r\nCLUB_NAME=0\r\nCLUB_ID=0\r\n\r\n"
            "[2::Kortti::Red::Red::<<CONTROL_CARD>> <<RENTED_CHIP>>::0]\r\nCONTROL_CARD=M\r\nRENTED_CHIP=0\r\n\r\n"
            "[3::Aika::Green::Green::<<TIME_SEC>>::0]\r\nTIME_SEC=M\r\nSTART_TIME=0\r\nFINISH_TIME=0\r\nCREDIT_PENALTY_SEC=0\r\n"));
        grid->SetGroupsActive(true);
        grid->CollapseGroup(2);
    }
};

GroupedRuns& Fixture()
{
    static GroupedRuns f;
    return f;
}

void PaintPage(benchmark::State& state, bool Groups)
{
    GroupedRuns& f = Fixture();
    f.grid->SetGroupsActive(Groups);
    PaintFirstPage(state, f, f.grid->Widget());
    state.counters["rows"] = f.grid->DataLink()->RecordCount();
}

void BM_PaintPageWithGroups(benchmark::State& state) { PaintPage(state, true); }
BENCHMARK(BM_PaintPageWithGroups)->Unit(benchmark::kMillisecond);

void BM_PaintPageWithoutGroups(benchmark::State& state) { PaintPage(state, false); }
BENCHMARK(BM_PaintPageWithoutGroups)->Unit(benchmark::kMillisecond);

void BM_GroupInfoOfEveryColumn(benchmark::State& state)
{
    GroupedRuns& f = Fixture();
    f.grid->SetGroupsActive(true);
    for (auto _ : state)
        for (int i = 0; i < f.grid->Columns()->Count(); ++i)
            benchmark::DoNotOptimize(f.grid->GetFieldGroupInfo(f.grid->Columns()->Items(i)->Field()).GroupID);
}
BENCHMARK(BM_GroupInfoOfEveryColumn)->Unit(benchmark::kMicrosecond);

}  // namespace
