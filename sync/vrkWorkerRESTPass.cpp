// One synchronisation pass: the upload half sends the queue in batches of at
// most five rows of one table (a class or run row alone) and marks the rows
// by the service's answer; the download half fetches, applies and confirms
// the waiting messages one at a time. Each half stops after 31 messages and
// the pass starts again while a bound was reached; a new computer's first
// download runs until the service has nothing more.

#include "sync/vrkWorkerREST.h"

#include "platform/database/FbConnection.h"
#include "platform/database/FbQuery.h"
#include "sync/UploadBuilders.h"
#include "sync/jsonnode.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int MessageBound = 30;  // message numbers 0..30: 31 per half
constexpr int RowsPerMessage = 5;
// The queue is counted after every tenth message and after the last one of a
// half: a count reads the whole queue table, and per message it cost more
// than the message itself on a long queue.
constexpr int CountEveryMessages = 10;

const QString QueueSqlParts[] = {
    QStringLiteral("select a.replication_id, a.repl_data_id, a.repl_data_id2, a.repl_type, a.repl_data from vrk_data_replication a "),
    QStringLiteral("where a.repl_status <> 'P' and a.repl_data in ('VRK_CLIENT_MESSAGE', 'VRK_CLIENT', 'VRK_EVENT', 'VRK_CONTROLS', "
                   "'VRK_COURSE', 'VRK_COURSE_CONTROLS', 'VRK_CLASS', 'VRK_CLASS_COURSE', "),
    QStringLiteral("'VRK_ADDITIONAL_CLASS', 'VRK_CLUB', 'VRK_PERSON', 'VRK_SPECIAL_CC', 'VRK_RASTILIPPU_ENTRIES', 'VRK_RESULTS_CLASS') "),
    // The hold-back follows the claim procedure's rule; CURRENT_TIMESTAMP is
    // taken at each opening, so the statement stays prepared between
    // messages.
    QStringLiteral(" and (a.processed is null or a.processed <= dateadd(-10 second to current_timestamp)) "),
    QStringLiteral("order by a.sync_tried_count, a.replication_id "),
    // A query reads its whole result at opening, and a message takes at most
    // five rows: reading the whole queue for each message cost as much as the
    // queue was long. Only the head is read, more of it only when other
    // desks' claims fill the head.
    QStringLiteral("rows :QUEUE_ROWS"),
};
const QString& QueueSql()
{
    static const QString Sql = QStringList(std::begin(QueueSqlParts), std::end(QueueSqlParts)).join(QLatin1Char('\n'));
    return Sql;
}
constexpr int QueueHeadRows = 2 * RowsPerMessage;

void Start(TFbTransaction* T)
{
    if (!T->Active())
        T->StartTransaction();
}

void RollbackIfActive(TFbTransaction* T)
{
    try {
        if (T->Active())
            T->Rollback();
    } catch (const std::exception&) {
    }
}

const TJsonNode& ListMember(const TJsonNode& Object, const char16_t* Name)
{
    const TJsonNode& Node = Object.Member(QStringView(Name));
    if (!Node.IsList())
        throw EJSONParseError(QStringLiteral("%1 ei ole lista").arg(QStringView(Name)));
    return Node;
}

}  // namespace

int TformWorkerREST::Synchronize()
{
    FBuilders->ThisClientId = FSession.ClientId();
    int Result = 0;
    bool UploadLimit = false;
    bool DownloadLimit = false;
    do {
        UploadLimit = false;
        DownloadLimit = false;
        Result = 0;
        int MessageNo = 0;
        for (;;) {
            bool MoreRows = false;
            if (!UploadMessage(MessageNo, MoreRows)) {
                Result = 1;
                UploadLimit = false;
                break;
            }
            if (!MoreRows || Cancelled())
                break;
            if (MessageNo < MessageBound) {
                ++MessageNo;
                continue;
            }
            UploadLimit = true;
            break;
        }
        if (!EndUploadHalf())
            Result = 1;
        if (Result != 0) {
            UploadLimit = false;
            FSession.ClearAccessToken();
        }
        if (Result == 0 && !Cancelled())
            Result = DownloadHalf(DownloadLimit);
    } while ((UploadLimit || DownloadLimit) && !Cancelled());
    return Result;
}

// One upload message (steps 2 to 6 of the pass); false when the pass fails.
// Each row is claimed first and the claims are committed before the HTTP
// call, so another desk's worker on the same queue skips them. The rows'
// sent marks, written with the answer, end the claims; they are committed
// together with the next message's claims (one commit a message, each
// commit being a dozen forced page writes), so they are still committed
// before anything else goes out, and a crash can neither send a row twice
// nor lose one. The half's last marks are committed by EndUploadHalf.
bool TformWorkerREST::UploadMessage(int MessageNo, bool& MoreRows)
{
    MoreRows = false;
    TUploadBatch Batch;
    try {
        Start(fbTrWorkerUpdateDefaultFD);
        try {
            MoreRows = ClaimBatch(Batch);
        } catch (const std::exception& E) {
            // Nothing of this message goes; the marks of the one before stay.
            Report(DbMessage(QString::fromUtf8(E.what())));
            if (Batch.SyncMessageId != 0)
                ReleaseClaims(Batch.SyncMessageId);
            Batch = TUploadBatch();
            MoreRows = false;
        }
        fbTrWorkerUpdateDefaultFD->Commit();  // the claims, before the rows go out
        FMarkedMessageId = 0;
        if (MessageNo > 0 && MessageNo % CountEveryMessages == 0)
            RefreshCounts(true);
        if (Batch.Claimed.empty())
            return true;
        const TWireRecord* Record = wire::RecordOfQueueTable(Batch.Table);
        TUploadBuilders::CloseBatch(Batch.Message, Record ? Record->ListName : QString());
        QString Reply;
        const int Sent = json_rest_out(Batch.Message, Reply);
        Start(fbTrWorkerUpdateDefaultFD);
        FMarkedMessageId = Batch.SyncMessageId;
        MarkSentBatch(Batch, Sent, Reply);
        return true;
    } catch (const std::exception& E) {
        Report(DbMessage(QString::fromUtf8(E.what())));
        // A reply that could not be written leaves the rows free for the
        // next pass, not held until the claims' long time-out.
        ReleaseAfterFailure({FMarkedMessageId, Batch.SyncMessageId});
        MoreRows = false;
        return false;
    }
}

// Reads the queue in its upload order and claims the rows of one message:
// at most five rows of one table, a class or a run alone. True when more
// rows wait. Rows another desk holds are passed over.
bool TformWorkerREST::ClaimBatch(TUploadBatch& Batch)
{
    TFbQuery& Queue = Statement(QueueSql());
    for (int HeadRows = QueueHeadRows;; HeadRows *= 4) {
        if (Queue.Active())
            Queue.Close();
        Queue.ParamByName(QStringLiteral("QUEUE_ROWS")).SetAsInteger(HeadRows);
        Queue.Open();
        int Read = 0;
        for (; !Queue.Eof(); Queue.Next(), ++Read) {
            const QString Data = Queue.FieldByName(QStringLiteral("repl_data"))->AsString();
            if (!Batch.Claimed.empty() && Data != Batch.Table) {
                Queue.Close();
                return true;
            }
            const int64_t ReplicationId = Queue.FieldByName(QStringLiteral("replication_id"))->AsLargeInt();
            if (std::find(Batch.Claimed.begin(), Batch.Claimed.end(), ReplicationId) != Batch.Claimed.end())
                continue;  // read again with a longer head
            if (Batch.SyncMessageId == 0)
                Batch.SyncMessageId = NewSyncMessageId();
            if (!ClaimRow(ReplicationId, Batch.SyncMessageId))
                continue;  // another desk is sending it
            if (Batch.Claimed.empty()) {
                Batch.Message = TUploadBuilders::BatchOpening(Batch.SyncMessageId);
                Batch.Table = Data;
            }
            FBuilders->BuildRow(Batch.Table, int(Batch.Claimed.size()), ReplicationId,
                                Queue.FieldByName(QStringLiteral("repl_data_id"))->AsLargeInt(), Batch.Message,
                                Queue.FieldByName(QStringLiteral("repl_type"))->AsString());
            Batch.Claimed.push_back(ReplicationId);
            if (int(Batch.Claimed.size()) == RowsPerMessage || Batch.Table == QLatin1String("VRK_RESULTS_CLASS")
                || Batch.Table == QLatin1String("VRK_CLASS")) {
                Queue.Close();
                return true;
            }
        }
        Queue.Close();
        if (Read < HeadRows)
            return false;
    }
}

// The message id from the worker's own transaction: a sequence value, so
// it needs neither the main thread nor a transaction of its own.
int64_t TformWorkerREST::NewSyncMessageId()
{
    TFbQuery& Q = Statement(QStringLiteral("EXECUTE PROCEDURE E_DATA_REPL.GET_NEW_SYNC_MESSAGE_ID"));
    if (Q.Active())
        Q.Close();
    Q.Open();
    const int64_t Id = Q.Fields()[0]->AsLargeInt();
    Q.Close();
    return Id;
}

bool TformWorkerREST::EndUploadHalf()
{
    bool Written = true;
    try {
        if (fbTrWorkerUpdateDefaultFD->Active())
            fbTrWorkerUpdateDefaultFD->Commit();  // the last message's sent marks
        FMarkedMessageId = 0;
    } catch (const std::exception& E) {
        Report(DbMessage(QString::fromUtf8(E.what())));
        ReleaseAfterFailure({FMarkedMessageId});
        Written = false;
    }
    RefreshCounts(true);
    return Written;
}

void TformWorkerREST::ReleaseAfterFailure(std::initializer_list<int64_t> SyncMessageIds)
{
    FMarkedMessageId = 0;
    RollbackIfActive(fbTrWorkerUpdateDefaultFD);
    try {
        Start(fbTrWorkerUpdateDefaultFD);
        for (const int64_t Id : SyncMessageIds)
            if (Id != 0)
                ReleaseClaims(Id);
        fbTrWorkerUpdateDefaultFD->Commit();
    } catch (const std::exception&) {
        RollbackIfActive(fbTrWorkerUpdateDefaultFD);
    }
}

bool TformWorkerREST::ClaimRow(int64_t ReplicationId, int64_t SyncMessageId)
{
    TFbQuery& Q = Statement(QStringLiteral("SELECT OUT_CLAIMED FROM E_DATA_REPL.CLAIM_FOR_UPLOAD(:IN_REPLICATION_ID, :IN_SYNC_MESSAGE_ID)"));
    if (Q.Active())
        Q.Close();
    Q.ParamByName(QStringLiteral("IN_REPLICATION_ID")).SetAsLargeInt(ReplicationId);
    Q.ParamByName(QStringLiteral("IN_SYNC_MESSAGE_ID")).SetAsLargeInt(SyncMessageId);
    Q.Open();
    const bool Claimed = !Q.Eof() && Q.Fields()[0]->AsInteger() == 1;
    Q.Close();
    return Claimed;
}

// Each statement of the upload keeps its own prepared query: a message runs
// several of them in turn, and one shared query was prepared again at every
// change of text.
TFbQuery& TformWorkerREST::Statement(const QString& Sql)
{
    std::unique_ptr<TFbQuery>& Q = FStatements[Sql];
    if (!Q) {
        Q = std::make_unique<TFbQuery>();
        Q->SetConnection(convrkEventWorkerFD);
        Q->SetTransaction(fbTrWorkerUpdateDefaultFD);
        Q->SQL().SetText(Sql);
    }
    return *Q;
}

void TformWorkerREST::ExecMark(const QString& Sql, const std::function<void(TFbQuery&)>& Bind)
{
    TFbQuery& Q = Statement(Sql);
    if (Q.Active())
        Q.Close();
    Bind(Q);
    Q.ExecSQL();
}

void TformWorkerREST::ReleaseClaims(int64_t SyncMessageId)
{
    ExecMark(QStringLiteral("EXECUTE PROCEDURE E_DATA_REPL.RELEASE_UPLOAD_CLAIM(:IN_SYNC_MESSAGE_ID) "),
             [&](TFbQuery& Q) { Q.ParamByName(QStringLiteral("IN_SYNC_MESSAGE_ID")).SetAsLargeInt(SyncMessageId); });
}

// The service's answer on the batch's rows: the rows it took leave the
// queue; the others are held back before they go again (and end their
// claims), the refused ones with the service's text.
void TformWorkerREST::MarkSentBatch(const TUploadBatch& Batch, int Sent, const QString& Reply)
{
    std::unique_ptr<TJsonNode> Answer;
    const TJsonNode* Processed = nullptr;
    const TJsonNode* Errors = nullptr;
    QString Refusal;
    if (Sent == 0) {
        std::unique_ptr<TJsonNode> Root = TJsonNode::Parse(Reply);
        if (!Root)
            throw EJSONParseError(QStringLiteral("Tyhjä vastaus"));
        Answer = TJsonNode::Parse(Root->Member(u"result").AsString());
        if (!Answer)
            throw EJSONParseError(QStringLiteral("result ei ole JSON-olio"));
        Processed = &ListMember(*Answer, u"processed");
        Errors = &ListMember(*Answer, u"errors");
    } else if (Sent == 9) {
        std::unique_ptr<TJsonNode> Root = TJsonNode::Parse(Reply);
        if (!Root)
            throw EJSONParseError(QStringLiteral("Tyhjä vastaus"));
        Refusal = Root->Member(u"result").AsString();
    }
    std::vector<int64_t> Taken;
    if (Processed)
        for (const TJsonNode* Entry : *Processed)
            Taken.push_back(Entry->Member(u"client_message_id").AsInt64());
    // A row that leaves the queue needs no sent mark first.
    for (const int64_t ReplicationId : Batch.Claimed)
        if (std::find(Taken.begin(), Taken.end(), ReplicationId) == Taken.end())
            ExecMark(QStringLiteral("EXECUTE PROCEDURE E_DATA_REPL.DATA_REPLIKOITU_WEBIIN_REST(:in_replication_id, :in_sync_message_id) "),
                     [&](TFbQuery& Q) {
                         Q.ParamByName(QStringLiteral("in_replication_id")).SetAsLargeInt(ReplicationId);
                         Q.ParamByName(QStringLiteral("in_sync_message_id")).SetAsLargeInt(Batch.SyncMessageId);
                     });
    for (const int64_t ReplicationId : Taken)
        ExecMark(QStringLiteral("EXECUTE PROCEDURE E_DATA_REPL.DATA_REPLIKOITU_WEBIIN(:IN_REPLICATION_ID) "),
                 [&](TFbQuery& Q) { Q.ParamByName(QStringLiteral("IN_REPLICATION_ID")).SetAsLargeInt(ReplicationId); });
    if (Errors)
        MarkRefusedRows(*Errors);
    if (Sent == 9)
        ExecMark(QStringLiteral("EXECUTE PROCEDURE E_DATA_REPL.DATA_REPL_ERROR_REST(:IN_SYNC_MESSAGE_ID, :IN_ERROR_MESSAGE) "),
                 [&](TFbQuery& Q) {
                     Q.ParamByName(QStringLiteral("IN_SYNC_MESSAGE_ID")).SetAsLargeInt(Batch.SyncMessageId);
                     Q.ParamByName(QStringLiteral("IN_ERROR_MESSAGE")).SetAsString(Refusal);
                 });
}

void TformWorkerREST::MarkRefusedRows(const TJsonNode& Errors)
{
    for (const TJsonNode* Entry : Errors) {
        const int64_t Id = Entry->Member(u"client_message_id").AsInt64();
        ExecMark(QStringLiteral("EXECUTE PROCEDURE E_DATA_REPL.DATA_REPLIKOITU_ERROR(:IN_REPLICATION_ID, :IN_ERROR_MESSAGE) "),
                 [&](TFbQuery& Q) {
                     Q.ParamByName(QStringLiteral("IN_REPLICATION_ID")).SetAsLargeInt(Id);
                     Q.ParamByName(QStringLiteral("IN_ERROR_MESSAGE")).SetAsString(Entry->Member(u"error_message").AsString());
                 });
        const QString RequestData = Entry->Member(u"request_data").AsString();
        if (RequestData.isEmpty())
            continue;
        ExecMark(QStringLiteral("EXECUTE PROCEDURE E_DATA_REPL.REQUEST_REPLICATION(:IN_REPL_DATA, :IN_REPL_DATA_ID) "), [&](TFbQuery& Q) {
            Q.ParamByName(QStringLiteral("IN_REPL_DATA")).SetAsString(RequestData);
            Q.ParamByName(QStringLiteral("IN_REPL_DATA_ID")).SetAsLargeInt(Entry->Member(u"request_data_id").AsInt64());
        });
    }
}

// The download half (step 9); the pass's result.
int TformWorkerREST::DownloadHalf(bool& DownloadLimit)
{
    const QString ClientId = QString::number(FSession.ClientId());
    int DownloadCount = 0;
    try {
        for (;;) {
            QString Message;
            if (json_rest_in(QString(), Message) != 0)
                break;
            const int Applied = process_json(Message);
            iWebViestitLkm = hae_web_viestit(ClientId);
            RefreshCounts(false);
            DownloadLimit = false;
            if (FSession.FirstSyncDone() == QLatin1String("N")) {
                // The first download has no bound of its own; it still ends
                // on a cancelled cycle or a message that cannot be applied,
                // and the next pass goes on with it.
                if (hae_web_viestit(ClientId) > 0) {
                    if (Applied == 2)
                        MarkFirstSyncDone();
                    ++DownloadCount;
                    if (Cancelled() || Applied == 9)
                        break;
                    continue;
                }
                MarkFirstSyncDone();
                OnMain([this] {
                    FHost.DoMessage(QStringLiteral("Ensimmäisen käyttökerran synkronointi Web -tulospalvelusta on valmis. Virkistä "
                                                   "Navigaatiopuu!"),
                                    0, true);
                });
                break;
            }
            if (Applied == 1 && !Cancelled()) {
                if (DownloadCount < MessageBound) {
                    ++DownloadCount;
                    continue;
                }
                DownloadLimit = true;
            }
            break;
        }
    } catch (const std::exception& E) {
        Report(DbMessage(QString::fromUtf8(E.what())));
        RollbackIfActive(fbTrWorkerUpdateDefaultFD);
        FSession.ClearAccessToken();
        return 1;
    }
    return 0;
}

void TformWorkerREST::MarkFirstSyncDone()
{
    // The window stores the client row first; the flag follows once it did.
    OnMain([this] { FHost.MarkFirstSyncDone(); });
    FSession.SetFirstSyncDone(QStringLiteral("Y"));
}

void TformWorkerREST::RefreshCounts(bool AskDatabase)
{
    OnMain([&] {
        if (AskDatabase)
            FLastUnsent = FHost.UnsentMessagesWorker();
        FHost.RefreshMessageCounts(FLastUnsent, iWebViestitLkm);
    });
}

QString TformWorkerREST::resetSyncTriedCounts()
{
    try {
        Start(fbTrWorkerUpdateDefaultFD);
        TFbQuery& Q = *FDQueryUpdateDefaultFD;
        if (Q.Active())
            Q.Close();
        Q.SQL().SetText(QStringLiteral("SELECT OUT_ERRMSG FROM E_DATA_REPL.RESET_TRIED_COUNTS"));
        Q.Open();
        const QString Text = Q.Eof() ? QString() : Q.Fields()[0]->AsString();
        Q.Close();
        fbTrWorkerUpdateDefaultFD->Commit();
        return Text;
    } catch (const std::exception& E) {
        const QString Text = QStringLiteral("(resetSyncTriedCounts): ") + QString::fromUtf8(E.what());
        OnMain([&] { FHost.DoMessage(Text, 2, false); });
        return Text;
    }
}
