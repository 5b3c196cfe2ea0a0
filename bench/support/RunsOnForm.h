#pragma once
// What the grid benchmarks stand on: the runs of an event open in a query
// behind a data source, and a form to put the grid on.

#include "platform/database/DataSource.h"
#include "platform/ui/Forms.h"
#include "tools/gallery_grid/RunsDatabase.h"

#include <QImage>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <memory>

struct TRunsOnForm {
    explicit TRunsOnForm(int Runs) : db(Runs)
    {
        q->Open();
        src.SetDataSet(q.get());
        form->SetBounds(0, 0, 1500, 900);
    }
    TRunsDatabase db;
    std::unique_ptr<TFbQuery> q = db.NewRunsQuery();
    TDataSource src;
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
};

// Paints the grid's page from the first run onto an offscreen image of the
// screen's pixel format once per iteration, as a repaint of the window does.
inline void PaintFirstPage(benchmark::State& state, TRunsOnForm& f, QWidget* w)
{
    f.q->First();
    QImage target(w->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        w->render(&target, QPoint(), QRegion(), QWidget::DrawChildren);
        benchmark::DoNotOptimize(target.pixel(5, 5));
    }
}
