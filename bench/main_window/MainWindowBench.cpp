// The main window over an event of 5,000 runs: from creating the windows to
// the window shown with the event's runs in the results grid (goal under
// 1 s), and refreshing the results grid after one new card read (goal under
// 100 ms).

#include "app/vrkFirstUse.h"
#include "app/vrkMainForm.h"
#include "components/dbcontrols/TrDBTreeView.h"
#include "app/vrkSettings.h"
#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "platform/database/FbScript.h"
#include "platform/ui/Forms.h"
#include "tools/gallery_grid/RunsDatabase.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

TRunsDatabase& Runs()
{
    static TRunsDatabase* db = [] {
        auto* d = new TRunsDatabase(5000);
        TFbScript s;
        s.Connection = &d->Con;
        s.Transaction = &d->Tr;
        s.ExecuteScript(QStringLiteral(
            "execute procedure E_CLIENT.INSERT_CLIENT(5, 'Maalikone', 'Tiistairastit', 'K', null, '26.1', 's3cret');\n"
            "insert into VRK_CLIENT_EVENT_SERIES (CLIENT_ID, EVENT_SERIES_ID) values (5, 1);\n"
            "update VRK_CLIENT set LAST_EVENT_ID = 200;\nCOMMIT;\n"));
        if (d->Tr.Active())
            d->Tr.Commit();
        return d;
    }();
    return *db;
}

// The windows as the program creates them, over the runs database.
struct TWindows {
    TWindows()
    {
        Main = std::make_unique<TformMain>(nullptr);
        formMain = Main.get();
        Main->AfterConstruction();
        Main->s_db_name = Runs().Con.DatabaseName;
        Main->s_db_user_name = QStringLiteral("SYSDBA");
        Module = std::make_unique<TDataModule1>(nullptr);
        DataModule1 = Module.get();
    }
    ~TWindows()
    {
        Module.reset();
        DataModule1 = nullptr;
        Main.reset();
        formMain = nullptr;
    }
    std::unique_ptr<TformMain> Main;
    std::unique_ptr<TDataModule1> Module;
};

void ShowEvent200()
{
    if (TTreeNode* n = formMain->FindEventNode(200))
        formMain->tvMainTree->SetSelected(n);
}

void BM_StartToMainWindowWith5000Runs(benchmark::State& state)
{
    Runs();
    for (auto _ : state) {
        TWindows w;
        formMain->StartUp();
        ShowEvent200();
        if (!formMain->bResultsGridVisible)
            state.SkipWithError("the event's runs were not shown");
        state.PauseTiming();
        w.Module->Disconnect();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartToMainWindowWith5000Runs)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_RefreshGridAfterOneNewRead(benchmark::State& state)
{
    Runs();
    TWindows w;
    formMain->StartUp();
    ShowEvent200();
    int64_t id = 100000;
    for (auto _ : state) {
        state.PauseTiming();
        TFbScript s;
        s.Connection = &Runs().Con;
        s.Transaction = &Runs().Tr;
        s.ExecuteScript(QStringLiteral("insert into VRK_RESULTS_CLASS (RESULTS_CLASS_ID, EVENT_ID, CONTROL_CARD, RESULT_STATUS, "
                                       "PERSON_NAME) values (%1, 200, '%1', 'I', 'Uusi Lukija');\nCOMMIT;\n")
                            .arg(++id));
        if (Runs().Tr.Active())
            Runs().Tr.Commit();
        state.ResumeTiming();
        formMain->refreshMainGrid();
    }
    w.Module->Disconnect();
}
BENCHMARK(BM_RefreshGridAfterOneNewRead)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("SORVEX_HOME", home.path().toUtf8() + "/");
    std::unique_ptr<QCoreApplication> app(CreateQtApplication(argc, argv));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::_Exit(0);
}
