// Painting a check list box full of items and scrolling through a long list.
#include "platform/ui/CheckLst.h"
#include "platform/ui/Forms.h"

#include <benchmark/benchmark.h>

static void BM_PaintCheckListBox(benchmark::State& state)
{
    auto* f = new TForm(nullptr);
    f->SetBounds(0, 0, 400, 600);
    auto* l = new TCheckListBox(f);
    l->SetParent(f);
    l->SetBounds(0, 0, 300, 560);
    for (int i = 0; i < 5000; ++i)
        l->AddItem(QStringLiteral("Kilpailija %1 – Äänekosken Huima").arg(i));
    for (int i = 0; i < 5000; i += 3)
        l->SetChecked(i, true);
    l->SetItemIndex(10);
    f->AfterConstruction();
    TBitmap target;
    int top = 0;
    for (auto _ : state) {
        l->SetTopIndex(top);
        top = (top + 37) % 4900;
        l->PaintTo(&target);
        benchmark::DoNotOptimize(target.Pixel(5, 5));
    }
    delete f;
}
BENCHMARK(BM_PaintCheckListBox)->Unit(benchmark::kMillisecond);
