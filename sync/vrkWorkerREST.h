#pragma once
// TformWorkerREST: the web worker. It keeps the local event database and the
// web result service in step without blocking the window: a background
// worker with one task runs one synchronisation cycle per work item on a
// pooled thread (connect the worker's own database connection, or run one
// pass: upload the queue, download and apply the waiting messages), then
// pauses; the completion handler on the main thread schedules the next one.
//
// The worker never touches the window: what it shows (day log, status pane,
// counters, tree and grid refreshes, the client row) goes through
// IWebSyncHost, called on the main thread. Its pauses end at once when the
// cycle is cancelled, so closing waits at most for one HTTP call.
//
// Member functions are split over several files by topic: the life cycle
// here, the HTTP calls (vrkWorkerRESTTransport.cpp), the pass
// (vrkWorkerRESTPass.cpp), the download dispatch and appliers
// (vrkWorkerRESTAppliers.cpp).

#include "sync/WebSession.h"
#include "sync/WebSyncHost.h"
#include "tasks/WeftBackgroundWorker.h"

#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <initializer_list>
#include <memory>
#include <vector>

class TFbConnection;
class TFbTransaction;
class TFbQuery;
class TJsonNode;
class TRESTClient;
class TUploadBuilders;
class TAppliedMessages;
struct TApplierTable;

class TformWorkerREST {
public:
    TformWorkerREST(TWebSession& Session, IWebSyncHost& Host);
    ~TformWorkerREST();
    TformWorkerREST(const TformWorkerREST&) = delete;
    TformWorkerREST& operator=(const TformWorkerREST&) = delete;

    // ---- life cycle (main thread) ----
    void FormCreate();
    void StartOnline();
    void StopOnline();
    void ResetStopOnline();

    // 1 switches the worker off until the main window's first show clears it.
    std::atomic<int> DoNotConnect{0};
    // Messages waiting on the service, as last counted.
    std::atomic<int> iWebViestitLkm{0};

    // Pauses in ms: after every cycle, after a failed login. Tests shorten them.
    int CyclePauseMs = 2000;
    int LoginPauseMs = 10000;
    // While passes keep failing the pause after each doubles, up to this;
    // the first pass that succeeds brings it back to CyclePauseMs.
    int MaxFailurePauseMs = 30000;
    // The pause after a cycle that follows Failed failed passes in a row.
    int PauseAfterFailures(int Failed) const;
    int FailedPasses() const { return FFailedPasses; }
    // Time-outs of the worker's HTTP calls (ms).
    int ConnectTimeoutMs = 15000;
    int ReadTimeoutMs = 30000;

    // ---- the HTTP calls (worker thread) ----
    void ConnectOnline();
    int json_rest_out(const QString& in_message, QString& out_result);
    int json_rest_in(const QString& in_message, QString& out_result);
    int send_confirmation_rest(const QString& in_message, QString& out_result);
    int hae_web_viestit(const QString& in_client_id);

    // ---- one pass and its parts (worker thread) ----
    int Synchronize();
    QString resetSyncTriedCounts();
    int process_json(QString& inout_result);

    // ---- the appliers: the confirmation body replaces inout_body ----
    int ApplyPlain(const TApplierTable& Table, const TJsonNode& Root, QString& inout_body, const QString& MessageId);
    int vrk_class_in(const TJsonNode& Root, QString& inout_body, const QString& MessageId);
    int vrk_person_in(const TJsonNode& Root, QString& inout_body, const QString& MessageId);
    int vrk_results_class_in(const TJsonNode& Root, QString& inout_body, const QString& MessageId);

    // The worker's own database connection (opened by the first cycle).
    int ConnectSync();
    TFbConnection* Connection() const { return convrkEventWorkerFD; }
    // Runs the given code as a cycle would: on the calling thread, with the
    // host reached directly (tests and benchmarks drive passes this way).
    int RunPassHere();

private:
    // Failed passes in a row, and whether a call of the running pass failed
    // (worker thread).
    std::atomic<int> FFailedPasses{0};
    std::atomic<bool> FCallFailedInPass{false};
    TWebSession& FSession;
    IWebSyncHost& FHost;
    PWeftBackgroundWorker FWorkerOnline;
    // The cycle running now (worker thread only); null outside cycles.
    PWeftWorkItem FItem;

    TFbConnection* convrkEventWorkerFD;
    TFbTransaction* fbTrWorkerDefaultFD;
    TFbTransaction* fbTrWorkerUpdateDefaultFD;
    TFbQuery* fbQueryReplDataFD;
    TFbQuery* fbQueryReplData2FD;
    TFbQuery* fbQueryReplData3FD;
    TFbQuery* fbQueryReplData4FD;
    TFbQuery* fbProcReplFD;
    TFbQuery* fbProcRepl2FD;
    TFbQuery* FDQueryUpdateDefaultFD;
    // The upload's statements, kept prepared, by text (worker thread).
    std::map<QString, std::unique_ptr<TFbQuery>> FStatements;
    // The message whose sent marks wait in the update transaction for the
    // next commit (0: none).
    int64_t FMarkedMessageId = 0;
    std::unique_ptr<TUploadBuilders> FBuilders;
    std::unique_ptr<TRESTClient> RESTClient1;
    int FLastUnsent = 0;

    PWeftBackgroundWorker BuildWorker();
    void ProcessOnline(const PWeftWorkItem& workItem);
    void OnlineRequestDone(const PWeftBackgroundWorker& Sender, const PWeftWorkItem& workItem);
    void OnlineMessage(int MsgID, const QString& MsgString);

    // Sends a text to the day log (task message 1001 inside a cycle).
    void Report(const QString& Text);
    // Runs fn on the main thread and waits for it (at once outside a cycle).
    void OnMain(const std::function<void()>& fn);
    bool Cancelled() const;
    // Waits Ms milliseconds or until the cycle is cancelled.
    void Pause(int Ms);

    QString DbMessage(const QString& Text);

    struct THttpReply {
        int Status = 0;
        QString Text;
    };
    THttpReply Call(bool SecondBase, bool Post, const QString& Resource, const QVector<QPair<QString, QString>>& Headers,
                    const QString* Body);
    // The service could not be reached (or refused the login) and the main
    // window was told; the next 200 reply tells it the service is back.
    bool FWebLost = false;
    void WebReachable(bool Reachable);
    // The database connection was lost (a server restarted under the desk):
    // closed after the failed pass and attached again by a later cycle.
    bool FDbLost = false;
    void LetGoOfLostConnection();
    void ReattachLostConnection();
    int RestExchange(bool Post, const QString& Resource, const QString& Body, QString& out_result);

    // Pass parts.
    struct TUploadBatch {
        int64_t SyncMessageId = 0;
        std::vector<int64_t> Claimed;  // queue rows, in the message's order
        QString Table;                 // their queue table
        QString Message;
    };
    bool UploadMessage(int MessageNo, bool& MoreRows);
    bool ClaimBatch(TUploadBatch& Batch);
    int64_t NewSyncMessageId();
    void MarkSentBatch(const TUploadBatch& Batch, int Sent, const QString& Reply);
    void MarkRefusedRows(const TJsonNode& Errors);
    // Commits the half's last sent marks and counts the queue; false when
    // the marks could not be written (their rows are then free again).
    bool EndUploadHalf();
    // Rolls back and frees the rows of the given messages.
    void ReleaseAfterFailure(std::initializer_list<int64_t> SyncMessageIds);
    bool ClaimRow(int64_t ReplicationId, int64_t SyncMessageId);
    void ReleaseClaims(int64_t SyncMessageId);
    TFbQuery& Statement(const QString& Sql);
    void ExecMark(const QString& Sql, const std::function<void(TFbQuery&)>& Bind);
    int DownloadHalf(bool& DownloadLimit);
    void MarkFirstSyncDone();
    void RefreshCounts(bool AskDatabase);

    // Dispatch and applier parts.
    int ApplyMessage(const QString& Type, const TJsonNode& Root, QString& inout_body, const QString& MessageId);
    void MarkConfirmed(TAppliedMessages& Applied, const QString& MessageId);
    int ApplyEachRow(const QString& Type, const QString& ErrorText, const TJsonNode& Root,
                     const std::function<void(const TJsonNode&)>& Apply, QString& inout_body, const QString& MessageId);
    void ApplyClassRow(const TJsonNode& Row);
    void ApplyRunRow(const TJsonNode& Row);
    int ConfirmWithRetry(const QString& Body);
};

// The program's one worker, made by the main window at start-up after the
// data module (null until then).
extern TformWorkerREST* formWorkerREST;

// The confirmation body: {"message_id": "M", "processed": "[...]", "errors":
// "[...]"}, the two lists being JSON strings that hold a JSON array. Values
// are escaped at both levels, so texts with quotes, backslashes or line
// breaks keep the body valid.
namespace confirmation {
QString Processed(const QString& ReplicationId);
QString Error(const QString& ReplicationId, const QString& Text);
QString RequestError(const QString& ReplicationId, const QString& Text, const QString& RequestData, const QString& RequestId);
QString Body(const QString& MessageId, const QStringList& Processed, const QStringList& Errors);
// Download text cleaning: escaped line breaks inside strings and raw line
// feeds go; an escaped backslash before "n" stays as it was.
QString StripLineBreaks(const QString& Text);
}  // namespace confirmation
