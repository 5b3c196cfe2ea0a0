// The library's data grid over 5,000 runs with the results grid's columns:
// painting a page with a look style and cell colours, sorting by two fields
// through the sorter, one incremental search step, and copying the whole
// dataset as clipboard table text.

#include "bench/support/RunsOnForm.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rDBGridSorter.h"
#include "platform/database/Fields.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int Runs = 5000;

struct RDBGridOverRuns : TRunsOnForm {
    TrDBGrid* grid = nullptr;
    TrDBGridSorter_FireDac* sorter = nullptr;

    RDBGridOverRuns() : TRunsOnForm(Runs)
    {
        grid = new TrDBGrid(form.get());
        grid->SetParent(form.get());
        sorter = new TrDBGridSorter_FireDac(form.get());
        grid->SetSorter(sorter);
        grid->SetDataSource(&src);
        grid->SetBounds(0, 0, 1480, 860);
        grid->SetGridLookStyle(grsBlueOffice);
        grid->OptionsEx2().Appearance.DrawColoredRow = true;
        grid->SetTitleLines(2);
        grid->FieldsAsBoolean.Add(QStringLiteral("RENTED_CHIP=K;E"));
        grid->SetColorHotTrackRow(0xE0FFE0);
        // The results window's colouring: disqualified runs red, others by status.
        TField* status = q->FieldByName(QStringLiteral("STATUS"));
        grid->OnGetCellParams = [status](TComponent*, TField* F, TFont* Font, TColor& Bk, bool, bool) {
            if (status->AsString() == QLatin1String("3"))
                Bk = 0xC0C0FF;
            else if (status->AsString() == QLatin1String("5") && F->FieldName() == QLatin1String("TIME_SEC"))
                Font->SetColor(clMaroon);
        };
        grid->OnDrawColumnCell = [this](TComponent*, const TRect& R, int DataCol, TColumn* Column, TGridDrawState State) {
            if (Column->FieldName() == QLatin1String("RESULT_STATUS")) {
                grid->Canvas()->Brush()->SetColor(0xA0FFA0);
                grid->DefaultDrawColumnCell(R, DataCol, Column, State);
            }
        };
        for (int i = 0; i < grid->Columns()->Count(); ++i)
            grid->Columns()->Items(i)->SetWidth(90);
        grid->SetSelectedIndex(2);  // PERSON_NAME
    }
};

RDBGridOverRuns& Fixture()
{
    static RDBGridOverRuns f;
    return f;
}

void BM_PaintPageWithLookStyleAndCellColours(benchmark::State& state)
{
    RDBGridOverRuns& f = Fixture();
    PaintFirstPage(state, f, f.grid->Widget());
    state.counters["rows"] = f.grid->DataLink()->RecordCount();
    state.counters["cols"] = f.grid->ColCount() - 1;
}
BENCHMARK(BM_PaintPageWithLookStyleAndCellColours)->Unit(benchmark::kMillisecond);

// Each iteration changes the order: club and time, then name and number.
void BM_SortByTwoFields(benchmark::State& state)
{
    RDBGridOverRuns& f = Fixture();
    f.q->SetRecNo(2500);
    bool flip = false;
    for (auto _ : state) {
        const bool ok = flip ? f.grid->ChangeSortEx(QStringLiteral("CLUB_NAME,TIME_SEC"), QStringLiteral("A,D"))
                             : f.grid->ChangeSortEx(QStringLiteral("PERSON_NAME,START_NUMBER"), QStringLiteral("D,A"));
        benchmark::DoNotOptimize(ok);
        flip = !flip;
    }
}
BENCHMARK(BM_SortByTwoFields)->Unit(benchmark::kMillisecond);

// One typed character: a prefix found by Locate.
void BM_IncrementalSearchStepLocate(benchmark::State& state)
{
    RDBGridOverRuns& f = Fixture();
    f.grid->SetOptions(f.grid->Options() & ~dgEditing);
    for (auto _ : state) {
        state.PauseTiming();
        f.grid->StopSearching();
        QChar first = QLatin1Char('n');
        f.grid->KeyPress(first);
        state.ResumeTiming();
        QChar k = QLatin1Char('i');
        f.grid->KeyPress(k);
    }
}
BENCHMARK(BM_IncrementalSearchStepLocate)->Unit(benchmark::kMillisecond);

// One step that no prefix matches: a substring search over every record.
void BM_IncrementalSearchStepSubstring(benchmark::State& state)
{
    RDBGridOverRuns& f = Fixture();
    f.grid->SetOptions(f.grid->Options() & ~dgEditing);
    for (auto _ : state) {
        state.PauseTiming();
        f.grid->StopSearching();
        QChar first = QLatin1Char('z');
        f.grid->KeyPress(first);
        state.ResumeTiming();
        QChar k = QLatin1Char('q');
        f.grid->KeyPress(k);
    }
}
BENCHMARK(BM_IncrementalSearchStepSubstring)->Unit(benchmark::kMillisecond);

void BM_CopyWholeDataset(benchmark::State& state)
{
    RDBGridOverRuns& f = Fixture();
    qsizetype size = 0;
    for (auto _ : state) {
        const QString text = f.grid->IntCopyData(false, true, true, true, false, nullptr);
        size = text.size();
    }
    state.counters["chars"] = double(size);
}
BENCHMARK(BM_CopyWholeDataset)->Unit(benchmark::kMillisecond);

}  // namespace
