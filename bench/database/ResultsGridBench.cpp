// The main results grid over an event with 5,000 runs: open the query and
// walk every row as the grid and its exports do, and a requery that keeps
// the current row by its key.

#include "data/vrkDataModule.h"
#include "platform/database/FbScript.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int Runs = 5000;

struct GridDatabase {
    QTemporaryDir dir;
    std::unique_ptr<TDataModule1> dm;

    GridDatabase()
    {
        const QString path = dir.filePath(QStringLiteral("SORVEX.FDB"));
        QFile::copy(QStringLiteral(SORVEX_EVENTDB_TEMPLATE), path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        dm = std::make_unique<TDataModule1>(nullptr);
        dm->convrkEventFD->DatabaseName = path;
        dm->convrkEventFD->UserName = QStringLiteral("SYSDBA");
        dm->convrkEventFD->Open();
        TFbScript s;
        s.Connection = dm->convrkEventFD;
        s.Transaction = dm->fbTrUpdateCallFD;
        s.ExecuteScript(QString::fromUtf8(
            "select rdb$set_context('USER_TRANSACTION', 'VRK_NO_QUEUE', '1') from rdb$database;\n"
            "insert into vrk_event (event_id, event_series_season_id, event_name, event_date) "
            "values (30, 20, 'Iso kisa', timestamp '2026-06-03 00:00');\n"
            "SET TERM ^ ;\n"
            "execute block as\n"
            "  declare i integer = 0;\n"
            "begin\n"
            "  while (i < 10) do begin\n"
            "    insert into vrk_class (class_id, event_id, class_name) values (100 + :i, 30, 'Luokka ' || :i);\n"
            "    insert into vrk_course (course_id, event_id, course_name, course_length) values (200 + :i, 30, 'Rata ' || :i, 3000 + :i * 500);\n"
            "    insert into vrk_class_course (class_course_id, class_id, course_id) values (300 + :i, 100 + :i, 200 + :i);\n"
            "    i = i + 1;\n"
            "  end\n"
            "  i = 0;\n"
            "  while (i < 5000) do begin\n"
            "    insert into vrk_results_class (results_class_id, event_id, control_card, class_course_id, origin_client_id,\n"
            "      origin_client_name, result_status, first_result_status, person_name, club_name, status, time_sec,\n"
            "      credit_penalty_sec, entry_fee, start_time, finish_time)\n"
            "    values (1000 + :i, 30, lpad(100000 + :i, 6, '0'), 300 + mod(:i, 10), 7, 'PC',\n"
            "      case mod(:i, 7) when 0 then 'M' when 1 then 'L' else 'V' end, 'V', 'Juoksija ' || :i, 'Seura ' || mod(:i, 40),\n"
            "      case mod(:i, 11) when 0 then '3' else '0' end, 1800 + mod(:i * 37, 3600), 0, 8,\n"
            "      timestamp '2026-06-03 18:00', dateadd(1800 + mod(:i * 37, 3600) second to timestamp '2026-06-03 18:00'));\n"
            "    if (mod(:i, 3) = 0) then\n"
            "      insert into vrk_data_replication (replication_id, repl_data_id, repl_data) values (1000 + :i, 1000 + :i, 'VRK_RESULTS_CLASS');\n"
            "    i = i + 1;\n"
            "  end\n"
            "end^\n"
            "SET TERM ; ^\n"));
        dm->fbTrUpdateCallFD->Commit();
        TFbQuery& q = *dm->fbQueryResultsCFD;
        q.ParamByName(QStringLiteral("MESSAGE_LANGUAGE")).SetAsString(QStringLiteral("FI"));
        q.ParamByName(QStringLiteral("EVENT_ID")).SetAsLargeInt(30);
    }
};

GridDatabase& Db()
{
    static GridDatabase db;
    return db;
}

void Walk(TFbQuery& q, benchmark::State& state)
{
    TField* id = q.FieldByName(QStringLiteral("RESULTS_CLASS_ID"));
    TField* name = q.FieldByName(QStringLiteral("PERSON_NAME"));
    TField* time = q.FieldByName(QStringLiteral("TIME_STR"));
    TField* status = q.FieldByName(QStringLiteral("RESULT_STATUS"));
    int64_t sum = 0;
    q.DisableControls();
    for (q.First(); !q.Eof(); q.Next()) {
        sum += id->AsLargeInt();
        sum += name->AsString().size() + time->DisplayText().size() + status->AsString().size();
    }
    q.EnableControls();
    benchmark::DoNotOptimize(sum);
    if (q.RecordCount() != Runs)
        state.SkipWithError("wrong row count");
}

void BM_OpenAndWalkResultsGrid(benchmark::State& state)
{
    TFbQuery& q = *Db().dm->fbQueryResultsCFD;
    for (auto _ : state) {
        q.Close();
        q.Open();
        Walk(q, state);
    }
    q.Close();
    Db().dm->fbTrMainGridFD->Commit();
}
BENCHMARK(BM_OpenAndWalkResultsGrid)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

void BM_RequeryKeepingTheRow(benchmark::State& state)
{
    TFbQuery& q = *Db().dm->fbQueryResultsCFD;
    q.Open();
    q.Locate(QStringLiteral("RESULTS_CLASS_ID"), 3500);
    for (auto _ : state) {
        q.Refresh();
        if (q.FieldByName(QStringLiteral("RESULTS_CLASS_ID"))->AsLargeInt() != 3500)
            state.SkipWithError("row lost");
    }
    q.Close();
    Db().dm->fbTrMainGridFD->Commit();
}
BENCHMARK(BM_RequeryKeepingTheRow)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    Db().dm.reset();
    benchmark::Shutdown();
    return 0;
}
