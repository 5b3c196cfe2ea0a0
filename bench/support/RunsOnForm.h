#pragma once
// What the grid benchmarks stand on: the runs of an event open in a query
// behind a data source, and a form to put the grid on.

#include "platform/database/DataSource.h"
#include "platform/ui/Forms.h"
#include "tools/gallery_grid/RunsDatabase.h"

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
