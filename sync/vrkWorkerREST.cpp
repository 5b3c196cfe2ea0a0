// The web worker's life cycle: building the background worker, one cycle,
// the completion handler, starting, stopping and rebuilding, and the
// worker's own database connection.

#include "sync/vrkWorkerREST.h"

#include "platform/database/FbConnection.h"
#include "platform/database/FbQuery.h"
#include "platform/http/RESTClient.h"
#include "platform/os/Waitable.h"
#include "platform/rtl/FileUtils.h"
#include "sync/UploadBuilders.h"

#include <algorithm>

namespace {

constexpr uint16_t WebMessageId = 1001;

QString ExceptionText(const std::exception_ptr& E)
{
    try {
        std::rethrow_exception(E);
    } catch (const Exception& X) {
        return X.Message();
    } catch (const std::exception& X) {
        return QString::fromUtf8(X.what());
    } catch (...) {
        return QStringLiteral("tuntematon virhe");
    }
}

}  // namespace

TformWorkerREST* formWorkerREST = nullptr;

TformWorkerREST::TformWorkerREST(TWebSession& Session, IWebSyncHost& Host) : FSession(Session), FHost(Host)
{
    convrkEventWorkerFD = new TFbConnection();
    fbTrWorkerDefaultFD = new TFbTransaction();
    fbTrWorkerUpdateDefaultFD = new TFbTransaction();
    for (TFbTransaction* T : {fbTrWorkerDefaultFD, fbTrWorkerUpdateDefaultFD})
        T->SetConnection(convrkEventWorkerFD);
    convrkEventWorkerFD->SetDefaultTransaction(fbTrWorkerDefaultFD);
    auto Query = [&](TFbTransaction* T) {
        auto* Q = new TFbQuery();
        Q->SetConnection(convrkEventWorkerFD);
        Q->SetTransaction(T);
        return Q;
    };
    fbQueryReplDataFD = Query(fbTrWorkerUpdateDefaultFD);
    fbQueryReplData2FD = Query(fbTrWorkerUpdateDefaultFD);
    fbQueryReplData3FD = Query(fbTrWorkerUpdateDefaultFD);
    fbQueryReplData4FD = Query(fbTrWorkerUpdateDefaultFD);
    fbProcReplFD = Query(fbTrWorkerUpdateDefaultFD);
    fbProcRepl2FD = Query(fbTrWorkerUpdateDefaultFD);
    FDQueryUpdateDefaultFD = Query(fbTrWorkerUpdateDefaultFD);
    FBuilders = std::make_unique<TUploadBuilders>(fbQueryReplDataFD, fbQueryReplData2FD, fbQueryReplData3FD, fbQueryReplData4FD);
    RESTClient1 = std::make_unique<TRESTClient>();
}

TformWorkerREST::~TformWorkerREST()
{
    if (FWorkerOnline)
        StopOnline();
    FBuilders.reset();
    FStatements.clear();
    for (TFbQuery* Q : {fbQueryReplDataFD, fbQueryReplData2FD, fbQueryReplData3FD, fbQueryReplData4FD,
                        fbProcReplFD, fbProcRepl2FD, FDQueryUpdateDefaultFD})
        delete Q;
    if (convrkEventWorkerFD->Connected())
        convrkEventWorkerFD->Close();
    delete fbTrWorkerUpdateDefaultFD;
    delete fbTrWorkerDefaultFD;
    delete convrkEventWorkerFD;
}

PWeftBackgroundWorker TformWorkerREST::BuildWorker()
{
    PWeftTaskConfig Config = Parallel::TaskConfig()->OnMessage(WebMessageId, [this](const PWeftTaskControl&, TWeftMessage& M) {
        OnlineMessage(M.MsgID, M.MsgData.AsString());
    });
    return Parallel::BackgroundWorker()
        ->NumTasks(1)
        ->OnRequestDone([this](const PWeftBackgroundWorker& W, const PWeftWorkItem& Item) { OnlineRequestDone(W, Item); })
        ->TaskConfig(Config)
        ->Execute([this](const PWeftWorkItem& Item) { ProcessOnline(Item); });
}

void TformWorkerREST::FormCreate()
{
    FWorkerOnline = BuildWorker();
}

void TformWorkerREST::StartOnline()
{
    if (!FWorkerOnline)
        return;
    FWorkerOnline->Schedule(FWorkerOnline->CreateWorkItem(TWeftValue(CyclePauseMs)));
}

void TformWorkerREST::StopOnline()
{
    if (!FWorkerOnline)
        return;
    FWorkerOnline->CancelAll();
    FWorkerOnline->Terminate(5);
    // Releasing the last reference waits for the running cycle; its pauses
    // and main-thread calls end at once now that it is cancelled.
    FWorkerOnline.reset();
}

void TformWorkerREST::ResetStopOnline()
{
    FHost.SetWebStatusCaption(QStringLiteral("Puretaan Web -yhteyttä..."));
    if (FWorkerOnline) {
        FWorkerOnline->CancelAll();
        FWorkerOnline->Terminate(INFINITE);
        FWorkerOnline.reset();
    }
    FWorkerOnline = BuildWorker();
    FWorkerOnline->Schedule(FWorkerOnline->CreateWorkItem(TWeftValue(0)));
    FHost.SetWebStatusCaption(QString());
}

void TformWorkerREST::ProcessOnline(const PWeftWorkItem& workItem)
{
    if (DoNotConnect != 0)
        return;
    FItem = workItem;
    struct TClear {
        PWeftWorkItem& Item;
        ~TClear() { Item.reset(); }
    } Clear{FItem};
    if (convrkEventWorkerFD->Connected()) {
        FCallFailedInPass = false;
        const bool passFailed = Synchronize() != 0;
        if (passFailed)
            Report(QStringLiteral("Web -synkronointi epäonnistui."));
        if (passFailed || FCallFailedInPass)
            ++FFailedPasses;
        else
            FFailedPasses = 0;
        if (passFailed)
            LetGoOfLostConnection();
        if (Cancelled())
            return;
    } else if (FDbLost) {
        ReattachLostConnection();
    } else if (ConnectSync() == 1) {
        Report(QStringLiteral("Yhteyden muodostus tietokantaan epäonnistui (sync)."));
    } else {
        Report(QStringLiteral("Yhteys tietokantaan muodostettu (sync)."));
    }
    const TWeftValue Data = workItem->Data();
    // A service that keeps failing is not asked again every cycle: each
    // failure in a row doubles the pause, so a long outage costs neither the
    // service nor the day log a call every second.
    Pause(Data.IsEmpty() ? 0 : std::max(Data.AsInteger(), PauseAfterFailures(FFailedPasses)));
}

void TformWorkerREST::LetGoOfLostConnection()
{
    if (convrkEventWorkerFD->Alive())
        return;
    convrkEventWorkerFD->Close();
    FDbLost = true;
    Report(QStringLiteral("Yhteys tietokantaan katkesi (sync); yhteyttä yritetään uudelleen."));
}

void TformWorkerREST::ReattachLostConnection()
{
    try {
        convrkEventWorkerFD->Open();
    } catch (const std::exception&) {
        return;  // still away: the next cycle tries again
    }
    FDbLost = false;
    Report(QStringLiteral("Yhteys tietokantaan muodostettu uudelleen (sync)."));
}

int TformWorkerREST::PauseAfterFailures(int Failed) const
{
    if (Failed <= 0)
        return 0;
    int64_t Ms = CyclePauseMs;
    for (int i = 0; i < Failed && Ms < MaxFailurePauseMs; ++i)
        Ms *= 2;
    return static_cast<int>(std::min<int64_t>(Ms, MaxFailurePauseMs));
}

void TformWorkerREST::OnlineRequestDone(const PWeftBackgroundWorker&, const PWeftWorkItem& workItem)
{
    FHost.RefreshMessageCounts(FHost.UnsentMessagesWorker(), iWebViestitLkm);
    if (DoNotConnect == 1)
        return;
    if (workItem->IsExceptional())
        OnlineMessage(WebMessageId, QStringLiteral("Poikkeus suorituksessa: ") + ExceptionText(workItem->DetachException()) +
                                        QStringLiteral(" (työ %1)").arg(workItem->UniqueID()));
    if (!workItem->CancellationToken()->IsSignalled())
        StartOnline();
}

void TformWorkerREST::OnlineMessage(int, const QString& MsgString)
{
    FHost.DoMessage(MsgString, 3, false);
}

int TformWorkerREST::ConnectSync()
{
    const TWebSession::TDbParams Db = FSession.Db();
    convrkEventWorkerFD->DatabaseName = Db.Name;
    convrkEventWorkerFD->UserName = Db.User;
    convrkEventWorkerFD->Password = Db.Password;
    QString Failure;
    try {
        convrkEventWorkerFD->Open();
    } catch (const std::exception& E) {
        Failure = QString::fromUtf8(E.what());
    }
    if (convrkEventWorkerFD->Connected()) {
        FWebLost = false;  // what the main window is told here
        OnMain([this] {
            FHost.DoMessage(QStringLiteral("Yhteys tietokantaan muodostettu (sync)."), 0, false);
            FHost.SetWebStatus(true);
        });
        return 0;
    }
    DoNotConnect = 1;
    FWebLost = true;
    OnMain([this, Failure] {
        if (!Failure.isEmpty())
            FHost.DoMessage(FHost.GetDbMessage(Failure), 2, false);
        FHost.SetWebStatus(false);
    });
    return 1;
}

int TformWorkerREST::RunPassHere()
{
    if (!convrkEventWorkerFD->Connected() && ConnectSync() != 0)
        return 1;
    return Synchronize();
}

// ---------------------------------------------------------------------------
// Links to the main thread

void TformWorkerREST::Report(const QString& Text)
{
    if (FItem)
        FItem->Task()->Comm()->Send(WebMessageId, TWeftValue(Text));
    else
        OnlineMessage(WebMessageId, Text);
}

void TformWorkerREST::OnMain(const std::function<void()>& fn)
{
    if (FItem)
        FItem->Synchronize(fn);
    else
        fn();
}

bool TformWorkerREST::Cancelled() const
{
    return FItem && FItem->CancellationToken()->IsSignalled();
}

void TformWorkerREST::Pause(int Ms)
{
    if (Ms <= 0)
        return;
    if (FItem)
        WaitForSingleObject(FItem->CancellationToken()->Handle(), DWORD(Ms));
    else
        Sleep(DWORD(Ms));
}

QString TformWorkerREST::DbMessage(const QString& Text)
{
    QString Mapped = Text;
    try {
        OnMain([&] { Mapped = FHost.GetDbMessage(Text); });
    } catch (const std::exception&) {
    }
    return Mapped;
}
