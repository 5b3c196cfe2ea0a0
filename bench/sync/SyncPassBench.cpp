// Goals: one pass uploads 1,000 queued changes to the loopback service in
// under 2 s; a desk downloads and applies a 5,000-run event in under 5 s.

#include "tests/sync/WebDesk.h"

#include <benchmark/benchmark.h>

#include <QJsonArray>
#include <QJsonObject>

namespace {

void QueueRuns(WebDesk& D, int64_t From, int Count)
{
    TFbQuery Q;
    Q.SetConnection(&D.Main);
    Q.SQL().SetText(QStringLiteral("insert into vrk_results_class (results_class_id, event_id, person_id, control_card, person_name, "
                                   "result_status, origin_client_id, origin_client_name, time_sec) values (:ID, 3001, -999, :CARD, "
                                   ":NAME, 'V', 1, 'Maali', :T)"));
    for (int K = 0; K < Count; ++K) {
        Q.ParamByName(QStringLiteral("ID")).SetAsLargeInt(From + K);
        Q.ParamByName(QStringLiteral("CARD")).SetAsString(QString::number(100000 + K));
        Q.ParamByName(QStringLiteral("NAME")).SetAsString(QStringLiteral("Juoksija %1").arg(K));
        Q.ParamByName(QStringLiteral("T")).SetAsInteger(3600 + K);
        Q.ExecSQL();
    }
    D.MainTr.Commit();
}

void QueuePersons(WebDesk& D, int64_t From, int Count)
{
    TFbQuery Q;
    Q.SetConnection(&D.Main);
    Q.SQL().SetText(QStringLiteral("insert into vrk_person (person_id, event_series_id, person_name, person_sex, web_show, "
                                   "print_receipt, do_sync, inserted, updated) values (:ID, 7, :NAME, 'M', 'K', 'E', 'K', "
                                   "current_timestamp, current_timestamp)"));
    for (int K = 0; K < Count; ++K) {
        Q.ParamByName(QStringLiteral("ID")).SetAsLargeInt(From + K);
        Q.ParamByName(QStringLiteral("NAME")).SetAsString(QStringLiteral("Henkilö %1").arg(From + K));
        Q.ExecSQL();
    }
    D.MainTr.Commit();
}

// Runs travel one to a batch, persons five to a batch.
void UploadThousandChanges(benchmark::State& State)
{
    WebAccount W;
    WebDesk A(W.Service, W.Service.State().AddClient(W.Account, QStringLiteral("Maali")));
    A.RunPass();  // logs in
    int64_t Next = 1000000001;
    for (auto _ : State) {
        State.PauseTiming();
        if (State.range(0) == 0)
            QueueRuns(A, Next, 1000);
        else
            QueuePersons(A, Next, 1000);
        Next += 1000;
        State.ResumeTiming();
        A.RunPass();
        State.PauseTiming();
        if (A.QueueLength() != 0)
            State.SkipWithError("queue not empty after the pass");
        State.ResumeTiming();
    }
    State.counters["changes/s"] = benchmark::Counter(1000.0 * State.iterations(), benchmark::Counter::kIsRate);
}

void DownloadFiveThousandRuns(benchmark::State& State)
{
    WebAccount W;
    WebDesk A(W.Service, W.Service.State().AddClient(W.Account, QStringLiteral("Maali")));
    A.RunPass();  // logs in
    const QString T = QStringLiteral("2026-06-02T18:00:00");
    int64_t Next = 2000000001;
    for (auto _ : State) {
        State.PauseTiming();
        for (int M = 0; M < 100; ++M) {
            QJsonArray Rows;
            for (int K = 0; K < 50; ++K, ++Next) {
                const QString Id = QString::number(Next);
                Rows.append(QJsonObject{{"results_class_id", Id}, {"event_id", "3001"}, {"leg_number", "1"}, {"entry_fee", "1200"},
                                        {"time_sec", "360000"}, {"class_course_id", "6001"}, {"origin_client_id", "1001"},
                                        {"origin_client_name", "Lähtö"}, {"rented_chip", "E"}, {"result_status", "V"},
                                        {"first_result_status", "V"}, {"person_name", "Juoksija " + Id}, {"inserted", T},
                                        {"updated", T},
                                        {"results_splits", QJsonArray{QJsonObject{{"results_split_id", Id}, {"results_class_id", Id},
                                                                                  {"class_course_id", "6001"}, {"control_code", "31"},
                                                                                  {"punch_order", "1"}, {"punch_type", "N"},
                                                                                  {"punch_edited", "E"}}}},
                                        {"special_punches", QJsonArray{}}, {"results_class_all", QJsonArray{}}});
            }
            W.Service.State().QueueMessage(W.Account, 0, QStringLiteral("vrk_results_class"), Rows);
        }
        State.ResumeTiming();
        A.RunPass();
        State.PauseTiming();
        if (W.Service.State().PendingCount(A.Client.ClientId) != 0)
            State.SkipWithError("messages left after the pass");
        State.ResumeTiming();
    }
    State.counters["runs/s"] = benchmark::Counter(5000.0 * State.iterations(), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(UploadThousandChanges)->ArgName("persons")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(DownloadFiveThousandRuns)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_MAIN();
