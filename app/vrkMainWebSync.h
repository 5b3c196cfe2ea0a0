#pragma once
// The main window's side of the web synchronisation: the session shared with
// the web worker, the worker itself and the window's own web calls
// (registration, calendar, event data). It answers the worker's and the
// calls' requests through the main window's status boxes, counters, trees
// and grid, and installs itself as the main window's web link.

#include "platform/rtl/Component.h"
#include "sync/WebMainCalls.h"
#include "sync/WebSession.h"
#include "sync/WebSyncHost.h"

#include <QSet>
#include <QString>
#include <functional>
#include <memory>

class TformWorkerREST;
struct TWebWorkerDeleter {
    void operator()(TformWorkerREST* Worker) const;
};
using PWebWorker = std::unique_ptr<TformWorkerREST, TWebWorkerDeleter>;

class TMainWebSync : public TComponent, public IWebSyncHost, public IWebDownloadView {
public:
    explicit TMainWebSync(TComponent* AOwner);
    ~TMainWebSync() override;

    TWebSession Session;
    PWebWorker Worker;
    std::unique_ptr<TWebMainCalls> Calls;

    // Copies the main window's addresses, the client row and the database
    // connection values into the session.
    void FillSession();

    // ---- IWebSyncHost ----
    void DoMessage(const QString& Text, int Kind, bool Dialog) override;
    void SetWebStatus(bool Connected) override;
    void RefreshMessageCounts(int Unsent, int Waiting) override;
    int UnsentMessagesWorker() override;
    void MarkFirstSyncDone() override;
    void RefreshMainTreeEvent() override;
    void RefreshResultsGrid() override;
    QString GetDbMessage(const QString& Msg) override;

    // ---- IWebDownloadView ----
    void SetActionMessage(const QString& Text) override;
    void SynkronointiActionShow() override;
    void SynkronointiActionOK() override;
    void SynkronointiActionERROR() override;
    void SynkronointiActionHide(int AfterMs) override;
    void SetBusy(bool Busy) override;
    void RefreshTreeAfterDownload() override;

private:
    void Download(const std::function<void()>& Run);
    TFbTransaction& RESTTransaction();
    void StartOnline();
    void StopOnline();
    bool FOnline = false;
    // Whether the service answered the last call; each change is logged once.
    enum class TWebState { Unknown, Connected, Lost };
    TWebState FWebState = TWebState::Unknown;
    QSet<QString> FOutageTexts;
};

extern TMainWebSync* MainWebSync;

// The worker's life cycle, kept apart from the window code (vrkMainWebWorker.cpp).
PWebWorker NewWebWorker(TWebSession& Session, IWebSyncHost& Host);
void StartWebWorker(TformWorkerREST& Worker);
void StopWebWorker(TformWorkerREST& Worker);
