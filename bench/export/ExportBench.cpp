// Exports of the 5,000-run results table (15 columns) to each file kind.

#include "components/output/TDBPrintDirect.h"
#include "components/output/TSLKExport.h"
#include "components/output/TTXTExport.h"
#include "components/output/TrXLSExport.h"
#include "tests/output/ExportFixture.h"

#include <QFile>
#include <benchmark/benchmark.h>

namespace {

TClientDataSet* Runs()
{
    static std::unique_ptr<TClientDataSet> d = MakeResultsTable(5000);
    return d.get();
}

QString Target(const char* Ext)
{
    static QTemporaryDir dir;
    return dir.filePath(QStringLiteral("runs.") + QLatin1String(Ext));
}

void BM_TextExport(benchmark::State& S)
{
    TTXTExport t;
    t.ActionAfter = aaNone;
    t.FieldSeparator = QStringLiteral(";");
    t.TextApostrophe = QStringLiteral("\"");
    t.FillChar = QChar();
    t.ExportFile = Target("txt");
    for (auto _ : S)
        if (!t.Execute(Runs()))
            S.SkipWithError("export failed");
}
BENCHMARK(BM_TextExport)->Unit(benchmark::kMillisecond);

void BM_SylkExport(benchmark::State& S)
{
    TSLKExport t;
    t.ActionAfter = aaNone;
    t.MakeSumRow = true;
    t.ExportFile = Target("slk");
    for (auto _ : S)
        if (!t.Execute(Runs()))
            S.SkipWithError("export failed");
}
BENCHMARK(BM_SylkExport)->Unit(benchmark::kMillisecond);

void BM_XlsxExport(benchmark::State& S)
{
    TrXLSExport t;
    t.ActionAfter = aaNone;
    t.SetOption(xleSetCellBorders, true);
    t.ExportFile = Target("xlsx");
    for (auto _ : S)
        if (!t.ExportDBTable(Runs()))
            S.SkipWithError("export failed");
}
BENCHMARK(BM_XlsxExport)->Unit(benchmark::kMillisecond);

void BM_PrintDirectToPdf(benchmark::State& S)
{
    TDBPrintDirect t;
    t.FitColumns = true;
    t.PrintPageNumber = true;
    t.ExportFile = Target("pdf");
    for (auto _ : S)
        if (!t.Execute(Runs()))
            S.SkipWithError("print failed");
}
BENCHMARK(BM_PrintDirectToPdf)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// Appending the 5,000 runs below a workbook that already holds them: the
// old workbook is read back, the new rows written and merged into the old
// sheet's part, the rest of the package copied as it was.
void BM_XlsxAppendTo5000Rows(benchmark::State& S)
{
    const QString base = Target("base.xlsx");
    {
        TrXLSExport x;
        x.ActionAfter = aaNone;
        x.ExportFile = base;
        if (!x.ExportDBTable(Runs()))
            S.SkipWithError("export failed");
    }
    const QString target = Target("append.xlsx");
    TrXLSExport x;
    x.ActionAfter = aaNone;
    x.ExportFile = target;
    x.SetOption(xleAddToExistingRows, true);
    for (auto _ : S) {
        S.PauseTiming();
        QFile::remove(target);
        QFile::copy(base, target);
        S.ResumeTiming();
        if (!x.ExportDBTable(Runs()))
            S.SkipWithError("append failed");
    }
}
BENCHMARK(BM_XlsxAppendTo5000Rows)->Unit(benchmark::kMillisecond);

}  // namespace
