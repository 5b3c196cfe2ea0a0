#pragma once
// A desk for the web synchronisation suites: its own copy of the event
// database, a main connection, a recording stand-in for the main window, the
// shared session, and a web worker linked to a client of the stand-in
// service. Passes run on the test's thread (RunPass) or as real cycles.

#include "platform/database/FbConnection.h"
#include "platform/database/FbQuery.h"
#include "sync/WebMainCalls.h"
#include "sync/vrkWorkerREST.h"
#include "tests/support/TestDatabase.h"
#include "tools/webservice/WebServiceServer.h"

#include <QStringList>
#include <QVariant>
#include <memory>

class TRecordingHost : public IWebSyncHost, public IWebDownloadView {
public:
    explicit TRecordingHost(TFbConnection& Main) : FMain(Main) {}

    QStringList Log;      // every day-log text
    QStringList Dialogs;  // texts also shown in a box
    bool Connected = true;
    int Unsent = -1, Waiting = -1, CountRefreshes = 0;
    int FirstSyncMarks = 0, TreeRefreshes = 0, GridRefreshes = 0;
    QStringList Actions;  // status box texts and states

    void DoMessage(const QString& Text, int, bool Dialog) override
    {
        Log << Text;
        if (Dialog)
            Dialogs << Text;
    }
    void SetWebStatus(bool C) override { Connected = C; }
    void RefreshMessageCounts(int U, int W) override
    {
        Unsent = U;
        Waiting = W;
        ++CountRefreshes;
    }
    int UnsentMessagesWorker() override;
    void MarkFirstSyncDone() override { ++FirstSyncMarks; }
    void RefreshMainTreeEvent() override { ++TreeRefreshes; }
    void RefreshResultsGrid() override { ++GridRefreshes; }

    void SetActionMessage(const QString& Text) override { Actions << Text; }
    void SynkronointiActionShow() override { Actions << QStringLiteral("<show>"); }
    void SynkronointiActionOK() override { Actions << QStringLiteral("<ok>"); }
    void SynkronointiActionERROR() override { Actions << QStringLiteral("<error>"); }
    void SynkronointiActionHide(int) override { Actions << QStringLiteral("<hide>"); }
    void SetBusy(bool) override {}
    void RefreshTreeAfterDownload() override { Actions << QStringLiteral("<tree>"); }
    // Drops the prepared statements before the connection closes.
    void Release()
    {
        FUnsent.reset();
    }

private:
    TFbConnection& FMain;
    // Kept prepared, as the data module keeps its procedures.
    std::unique_ptr<TFbQuery> FUnsent;
    TFbQuery& Prepared(std::unique_ptr<TFbQuery>& Q, const QString& Sql);
};

class WebDesk {
public:
    // Shared names a database (e.g. on a Firebird server) several desks use
    // instead of a copy of the desk's own.
    WebDesk(webservice::TWebServiceServer& Service, const webservice::TClientCredentials& Client,
            const TWebSession::TDbParams& Shared = {});
    ~WebDesk();

    // One pass on the calling thread (connects first when needed).
    int RunPass() { return Worker->RunPassHere(); }
    void Exec(const QString& Sql);
    QVariant Value(const QString& Sql);
    int Count(const QString& Sql) { return Value(Sql).toInt(); }
    int QueueLength() { return Count(QStringLiteral("select count(*) from vrk_data_replication where repl_status <> 'P'")); }
    // Lets rows that were just sent go again at once (the 10 s hold-back).
    void ReleaseHoldBack() { Exec(QStringLiteral("update vrk_data_replication set processed = null")); }

    TestDatabase Db;
    TFbConnection Main;
    TFbTransaction MainTr;
    TRecordingHost Host;
    TWebSession Session;
    std::unique_ptr<TformWorkerREST> Worker;
    webservice::TClientCredentials Client;
};

// The stand-in service trusted by this process, with one account holding a
// series, a season and an event (id 3001).
struct WebAccount {
    WebAccount();
    webservice::TWebServiceServer Service;
    int64_t Account = 0;
};
