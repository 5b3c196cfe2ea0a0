// The editable string grid over 10,000 rows of 15 columns: painting one page
// of 40 rows, and sorting all rows by a text column.
#include "components/stringgrid/rStringGridEd.h"
#include "platform/ui/Forms.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <random>

namespace {

constexpr int DataRows = 10000;
constexpr int DataCols = 15;

const char* const FirstNames[] = {"Äijälä", "Öhman", "Aalto", "Ström", "Virtanen", "Kärkkäinen", "Lindholm", "Åkerlund", "Mäkinen",
                                  "Nieminen", "Heikkinen", "Koskinen", "Järvinen", "Lehtonen", "Saarinen", "Salminen"};

struct GridForm {
    std::unique_ptr<TForm> Form;
    TrStringGridEd* Grid = nullptr;
};

// Texts, numbers, integers and dates in turn, from a fixed seed.
GridForm MakeGrid()
{
    GridForm g;
    g.Form = std::make_unique<TForm>(nullptr);
    // 15 columns of 64 and a fixed one, 40 rows of 17 under a title, lines and scroll bars.
    g.Form->SetBounds(0, 0, 37 + 15 * 65 + 16 + 4, 41 * 18 + 16 + 4);
    g.Grid = new TrStringGridEd(g.Form.get());
    TrStringGridEd* grid = g.Grid;
    grid->SetParent(g.Form.get());
    grid->SetBounds(0, 0, g.Form->Width(), g.Form->Height());
    grid->SetColCount(DataCols + 1);
    grid->SetRowCount(DataRows + 1);
    grid->SetDefaultColWidth(64);
    grid->Columns()->Items(0)->SetWidth(36);
    std::mt19937 rnd(42);
    for (int c = 1; c <= DataCols; ++c) {
        TrStringGridEdColumn* col = grid->Columns()->Items(c);
        col->SetTitleCaption(QStringLiteral("Sarake %1").arg(c));
        col->DataType = c % 4 == 1 ? sgdText : c % 4 == 2 ? sgdNumber : c % 4 == 3 ? sgdInteger : sgdDate;
        col->AutoAlignment = true;
        col->NumFormat = col->DataType == sgdDate ? QStringLiteral("d.m.yyyy") : QString();
    }
    for (int r = 1; r <= DataRows; ++r) {
        grid->SetCells(0, r, QString::number(r));
        for (int c = 1; c <= DataCols; ++c) {
            QString t;
            switch (c % 4) {
            case 1: t = QString::fromUtf8(FirstNames[rnd() % 16]) + QStringLiteral(" %1").arg(rnd() % 1000); break;
            case 2: t = QStringLiteral("%1,%2").arg(rnd() % 5000).arg(rnd() % 100, 2, 10, QLatin1Char('0')); break;
            case 3: t = QString::number(rnd() % 100000); break;
            default: t = QStringLiteral("%1.%2.2026").arg(1 + rnd() % 28).arg(1 + rnd() % 12); break;
            }
            grid->SetCells(c, r, t);
        }
    }
    g.Form->AfterConstruction();
    return g;
}

void BM_PaintPageOf10000Rows(benchmark::State& state)
{
    GridForm g = MakeGrid();
    g.Grid->SetTopRow(5000);
    g.Grid->FocusCell(3, 5010, true);
    TBitmap target;
    g.Grid->PaintTo(&target);
    if (g.Grid->VisibleRowCount() < 40 || g.Grid->VisibleColCount() < 15)
        state.SkipWithError("the page is smaller than 40 x 15");
    for (auto _ : state) {
        g.Grid->PaintTo(&target);
        benchmark::DoNotOptimize(target.Pixel(5, 5));
    }
    state.counters["rows"] = g.Grid->VisibleRowCount();
    state.counters["cols"] = g.Grid->VisibleColCount();
}
BENCHMARK(BM_PaintPageOf10000Rows)->Unit(benchmark::kMillisecond);

void BM_Sort10000RowsByText(benchmark::State& state)
{
    GridForm g = MakeGrid();
    bool descending = false;
    for (auto _ : state) {
        g.Grid->SortData(1, descending, true);
        // Each round sorts the other way: a full sort every time.
        descending = !descending;
    }
}
BENCHMARK(BM_Sort10000RowsByText)->Unit(benchmark::kMillisecond);

}  // namespace
