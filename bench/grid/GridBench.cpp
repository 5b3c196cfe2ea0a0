// The data grid over 5,000 runs of a real event database: painting a full
// page of 40 rows and 15 columns offscreen, scrolling from the first run to
// the last page by page (each page painted), and applying a filter and an
// index to all 5,000 rows.

#include "bench/support/RunsOnForm.h"
#include "platform/ui/DBGrids.h"

#include <QImage>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int Runs = 5000;

struct GridOverRuns : TRunsOnForm {
    TDBGrid* grid = nullptr;

    GridOverRuns() : TRunsOnForm(Runs)
    {
        grid = new TDBGrid(form.get());
        grid->SetParent(form.get());
        grid->SetDataSource(&src);
        // 40 data rows of 20 pixels and a line, the title row, the bar.
        grid->SetBounds(0, 0, 1480, 41 * 21 + 16 + 2);
        for (int i = 0; i < grid->Columns()->Count(); ++i)
            grid->Columns()->Items(i)->SetWidth(90);
    }
};

GridOverRuns& Fixture()
{
    static GridOverRuns f;
    return f;
}

void BM_PaintGridPage(benchmark::State& state)
{
    GridOverRuns& f = Fixture();
    PaintFirstPage(state, f, f.grid->Widget());
    state.counters["rows"] = f.grid->DataLink()->RecordCount();
    state.counters["cols"] = f.grid->ColCount() - 1;
}
BENCHMARK(BM_PaintGridPage)->Unit(benchmark::kMillisecond);

void BM_ScrollFirstToLastByPages(benchmark::State& state)
{
    GridOverRuns& f = Fixture();
    QWidget* w = f.grid->Widget();
    QImage target(w->size(), QImage::Format_ARGB32_Premultiplied);
    int pages = 0;
    for (auto _ : state) {
        f.q->First();
        pages = 0;
        while (!f.q->Eof()) {
            Word key = VK_NEXT;
            f.grid->KeyDown(key, 0);
            w->render(&target, QPoint(), QRegion(), QWidget::DrawChildren);
            ++pages;
        }
        benchmark::DoNotOptimize(target.pixel(5, 5));
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_ScrollFirstToLastByPages)->Unit(benchmark::kMillisecond);

// The same walk without painting: what the grid and the data link cost.
void BM_ScrollFirstToLastByPagesNoPaint(benchmark::State& state)
{
    GridOverRuns& f = Fixture();
    int pages = 0;
    for (auto _ : state) {
        f.q->First();
        pages = 0;
        while (!f.q->Eof()) {
            Word key = VK_NEXT;
            f.grid->KeyDown(key, 0);
            ++pages;
        }
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_ScrollFirstToLastByPagesNoPaint)->Unit(benchmark::kMillisecond);

void BM_ApplyFilter(benchmark::State& state)
{
    GridOverRuns& f = Fixture();
    f.q->SetFilter(QStringLiteral("((CLUB_NAME LIKE 'Rasti*') OR (CLUB_NAME LIKE '*Espoo')) AND (TIME_SEC < 4000) AND (STATUS = '0')"));
    int shown = 0;
    for (auto _ : state) {
        f.q->SetFiltered(true);
        shown = f.q->RecordCount();
        state.PauseTiming();
        f.q->SetFiltered(false);
        state.ResumeTiming();
    }
    state.counters["shown"] = shown;
}
BENCHMARK(BM_ApplyFilter)->Unit(benchmark::kMillisecond);

void BM_ApplyIndex(benchmark::State& state)
{
    GridOverRuns& f = Fixture();
    f.q->AddIndex(QStringLiteral("byNameTime"), QStringLiteral("PERSON_NAME;TIME_SEC"), QStringLiteral("TIME_SEC"));
    for (auto _ : state) {
        f.q->SetIndexName(QStringLiteral("byNameTime"));
        state.PauseTiming();
        f.q->SetIndexName(QString());
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ApplyIndex)->Unit(benchmark::kMillisecond);

}  // namespace
