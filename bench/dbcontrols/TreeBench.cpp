// The navigation tree over 5,000 runs under three levels (2 series, 10
// events each, 250 runs per event): a full rebuild that keeps a selected run
// deep in the tree, as the main window does after reopening its datasets,
// and finding a run's node by its key.

#include "components/dbcontrols/TrDBTreeView.h"
#include "platform/ui/Forms.h"
#include "tests/dbcontrols/TreeData.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct TreeFixture {
    TreeFixture() : data(2, 10, 250)
    {
        form = std::make_unique<TForm>(nullptr);
        tree = new TrDBTreeView(form.get());
        tree->SetParent(form.get());
        tree->SetBounds(0, 0, 300, 600);
        form->AfterConstruction();
        tree->BeginUpdate();
        TDataItemDef* s = tree->DataItemDefs()->Add();
        s->SetDataSource(&data.seriesSrc);
        s->KeyFieldName = QStringLiteral("SERIES_ID");
        s->SetRecordTextMask(QStringLiteral("<<SERIES_NAME>>"));
        s->SetExpandNode(false);
        TDataItemDef* e = s->SubDataItemDefs()->Add();
        e->SetDataSource(&data.eventsSrc);
        e->KeyFieldName = QStringLiteral("EVENT_ID");
        e->SetRecordTextMask(QStringLiteral("<<EVENT_ID>>  <<EVENT_NAME>>"));
        e->SetExpandNode(false);
        TDataItemDef* r = e->SubDataItemDefs()->Add();
        r->SetDataSource(&data.runsSrc);
        r->KeyFieldName = QStringLiteral("RUN_ID");
        r->SetRecordTextMask(QStringLiteral("<<PERSON_NAME>>"));
        r->SetExpandNode(false);
        tree->EndUpdate();
        runKey = data.runs.FieldByName(QStringLiteral("RUN_ID"));
    }
    TTreeData data;
    std::unique_ptr<TForm> form;
    TrDBTreeView* tree = nullptr;
    TField* runKey = nullptr;
};

void BM_RebuildKeepingSelection(benchmark::State& state)
{
    TreeFixture f;
    f.tree->SetSelected(f.tree->FindNode(f.runKey, 4321));
    for (auto _ : state) {
        f.tree->RefreshData(false, true);
        benchmark::DoNotOptimize(f.tree->Selected());
    }
    if (!f.tree->Selected() || TrDBTreeView::NodeObjectOf(f.tree->Selected())->KeyValue.toInt() != 4321)
        state.SkipWithError("the selected run was not kept");
    state.counters["nodes"] = f.tree->Items()->Count();
}
BENCHMARK(BM_RebuildKeepingSelection)->Unit(benchmark::kMillisecond);

void BM_FindNode(benchmark::State& state)
{
    TreeFixture f;
    for (auto _ : state)
        benchmark::DoNotOptimize(f.tree->FindNode(f.runKey, 4999));
}
BENCHMARK(BM_FindNode)->Unit(benchmark::kMicrosecond);

}  // namespace
