// A virtual list of 100,000 card numbers: painting a page at scattered
// positions, and jumping from the first to the last item and back; a list
// scrolled sideways.
#include "platform/ui/Forms.h"
#include "platform/ui/ListBoxes.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int Items = 100000;

struct ListForm {
    ListForm()
    {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 600);
        List = new TListBox(Form);
        List->SetParent(Form);
        List->SetBounds(0, 0, 300, 560);
        Form->AfterConstruction();
    }
    ~ListForm() { delete Form; }
    TForm* Form;
    TListBox* List;
};

}  // namespace

static void BM_PaintVirtualListPage(benchmark::State& state)
{
    ListForm f;
    f.List->SetStyle(lbVirtual);
    f.List->OnData = [](TWinControl*, int Index, QString& Data) { Data = QStringLiteral("Emit-kortti %1 – Äänekoski").arg(200000 + Index); };
    f.List->SetCount(Items);
    TBitmap target;
    int top = 0;
    for (auto _ : state) {
        f.List->SetTopIndex(top);
        top = (top + 7919) % Items;
        f.List->PaintTo(&target);
        benchmark::DoNotOptimize(target.Pixel(5, 5));
    }
}
BENCHMARK(BM_PaintVirtualListPage)->Unit(benchmark::kMillisecond);

static void BM_VirtualListJumpFirstToLast(benchmark::State& state)
{
    ListForm f;
    f.List->SetStyle(lbVirtual);
    f.List->OnData = [](TWinControl*, int Index, QString& Data) { Data = QString::number(Index); };
    f.List->SetCount(Items);
    bool end = true;
    for (auto _ : state) {
        f.List->SetItemIndex(end ? Items - 1 : 0);
        end = !end;
        benchmark::DoNotOptimize(f.List->TopIndex());
    }
}
BENCHMARK(BM_VirtualListJumpFirstToLast)->Unit(benchmark::kMicrosecond);

static void BM_PaintSidewaysScrolledList(benchmark::State& state)
{
    ListForm f;
    for (int i = 0; i < 2000; ++i)
        f.List->AddItem(QStringLiteral("Jyväskylän Suunnistajat – H21 pitkä matka – kilpailija %1 – lähtö 10:%2").arg(i).arg(i % 60));
    f.List->SetScrollWidth(900);
    TBitmap target;
    int left = 0;
    for (auto _ : state) {
        f.List->SetLeftOffset(left);
        left = (left + 53) % 600;
        f.List->PaintTo(&target);
        benchmark::DoNotOptimize(target.Pixel(5, 5));
    }
}
BENCHMARK(BM_PaintSidewaysScrolledList)->Unit(benchmark::kMillisecond);
