// sync_desk: one desk as a process of its own, for the whole-process test.
//   sync_desk DB FIRST_URL SECOND_URL TEMP_CODE RUN_ID_FROM RUNS TOTAL_RUNS
// Links itself to the account with the temporary code, takes the first
// download, makes RUNS check-ins (every other one also read at the finish),
// then lets the web worker's cycles run until the database holds TOTAL_RUNS
// runs and nothing waits in either direction. Prints "RUNS n" and one line
// per run ("id status time name"), sorted; exits 0, or 1 after 90 s.

#include "platform/database/FbConnection.h"
#include "platform/database/FbQuery.h"
#include "platform/os/MessageWindow.h"
#include "sync/WebMainCalls.h"
#include "sync/vrkWorkerREST.h"
#include "tasks/WeftInit.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

namespace {

class TDeskHost : public IWebSyncHost, public IWebDownloadView {
public:
    explicit TDeskHost(TFbConnection& Main) : FMain(Main) {}
    void DoMessage(const QString& Text, int Kind, bool) override
    {
        std::fprintf(stderr, "log %d: %s\n", Kind, qPrintable(Text));
    }
    void SetWebStatus(bool) override {}
    void RefreshMessageCounts(int U, int W) override
    {
        Unsent = U;
        Waiting = W;
    }
    int UnsentMessagesWorker() override
    {
        return Value(QStringLiteral("select count(*) from vrk_data_replication where repl_status <> 'P'")).toInt();
    }
    void MarkFirstSyncDone() override { FirstSyncDone = true; }
    void SetActionMessage(const QString&) override {}
    void SynkronointiActionShow() override {}
    void SynkronointiActionOK() override {}
    void SynkronointiActionERROR() override {}
    void SynkronointiActionHide(int) override {}
    void SetBusy(bool) override {}
    void RefreshTreeAfterDownload() override {}

    QVariant Value(const QString& Sql)
    {
        TFbQuery Q;
        Q.SetConnection(&FMain);
        Q.SQL().SetText(Sql);
        Q.Open();
        const QVariant V = Q.Eof() ? QVariant() : Q.Fields()[0]->AsVariant();
        Q.Close();
        FMain.DefaultTransaction()->Commit();
        return V;
    }
    void Exec(const QString& Sql)
    {
        TFbQuery Q;
        Q.SetConnection(&FMain);
        Q.SQL().SetText(Sql);
        Q.ExecSQL();
        FMain.DefaultTransaction()->Commit();
    }

    int Unsent = -1, Waiting = -1;
    bool FirstSyncDone = false;

private:
    TFbConnection& FMain;
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication App(argc, argv);
    const QStringList A = App.arguments();
    if (A.size() != 8) {
        std::fprintf(stderr, "usage: sync_desk DB FIRST_URL SECOND_URL TEMP_CODE RUN_ID_FROM RUNS TOTAL_RUNS\n");
        return 2;
    }
    QString Error;
    if (!weft::initialize(&Error)) {
        std::fprintf(stderr, "%s\n", qPrintable(Error));
        return 2;
    }
    const int64_t From = A[5].toLongLong();
    const int Runs = A[6].toInt(), Total = A[7].toInt();

    TFbConnection Main;
    Main.DatabaseName = A[1];
    Main.Open();
    TFbTransaction MainTr;
    MainTr.SetConnection(&Main);
    Main.SetDefaultTransaction(&MainTr);
    TDeskHost Host(Main);
    TWebSession Session;
    Session.SetBaseUrls(A[2], A[3]);
    Session.SetDb({A[1], QString(), QString()});

    // Link to the account; the first download follows in the worker's cycles.
    TFbQuery Proc;
    Proc.SetConnection(&Main);
    TWebMainCalls MainCalls(Session, Host, Host, Proc, MainTr);
    QString Reply;
    if (MainCalls.hae_tmp_client_rest(A[4], Reply) != 0) {
        std::fprintf(stderr, "registration refused: %s\n", qPrintable(Reply));
        return 1;
    }
    const QJsonObject Row = QJsonDocument::fromJson(Reply.toUtf8()).object();
    const int64_t ClientId = Row.value(QStringLiteral("client_id")).toString().toLongLong();
    Session.SetClient(ClientId, Row.value(QStringLiteral("client_secret")).toString());
    Session.SetFirstSyncDone(QStringLiteral("N"));

    TformWorkerREST Worker(Session, Host);
    Worker.CyclePauseMs = 100;
    Worker.LoginPauseMs = 500;
    Worker.FormCreate();
    Worker.StartOnline();
    if (!RunMessageLoopUntil([&] { return Host.FirstSyncDone; }, 60000)) {
        std::fprintf(stderr, "first download did not finish\n");
        return 1;
    }
    for (int K = 0; K < Runs; ++K) {
        const int64_t Id = From + K;
        Host.Exec(QStringLiteral("insert into vrk_results_class (results_class_id, event_id, person_id, control_card, person_name, "
                                 "result_status, origin_client_id, origin_client_name) values (%1, 3001, -999, '%2', 'Juoksija %1', "
                                 "'M', %3, 'Desk')")
                      .arg(Id)
                      .arg(100000 + K)
                      .arg(ClientId));
        if (K % 2 == 0)
            Host.Exec(QStringLiteral("update vrk_results_class set result_status = 'V', time_sec = %2 where results_class_id = %1")
                          .arg(Id)
                          .arg(3000 + K));
    }
    const bool Done = RunMessageLoopUntil(
        [&] {
            return Host.Value(QStringLiteral("select count(*) from vrk_results_class")).toInt() >= Total && Host.Unsent == 0 &&
                   Worker.iWebViestitLkm.load() == 0 && Host.UnsentMessagesWorker() == 0;
        },
        90000);
    Worker.StopOnline();
    TFbQuery Q;
    Q.SetConnection(&Main);
    Q.SQL().SetText(QStringLiteral("select results_class_id || ' ' || result_status || ' ' || coalesce(cast(time_sec as integer), -1) "
                                   "|| ' ' || person_name from vrk_results_class order by results_class_id"));
    Q.Open();
    int Count = 0;
    QStringList Lines;
    for (; !Q.Eof(); Q.Next(), ++Count)
        Lines << Q.Fields()[0]->AsString();
    Q.Close();
    std::printf("RUNS %d\n%s\n", Count, qPrintable(Lines.join(QLatin1Char('\n'))));
    std::fflush(stdout);
    return Done ? 0 : 1;
}
