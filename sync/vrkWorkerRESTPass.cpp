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

#include <vector>

namespace {

constexpr int MessageBound = 30;  // message numbers 0..30: 31 per half
constexpr int RowsPerMessage = 5;
// The queue is counted after every tenth message and after the last one of a
// half: a count reads the whole queue table, and per message it cost more
// than the message itself on a long queue.
constexpr int CountEveryMessages = 10;

const QString QueueSql[] = {
    QStringLiteral("select a.replication_id, a.repl_data_id, a.repl_data_id2, a.repl_type, a.repl_data from vrk_data_replication a "),
    QStringLiteral("where a.repl_status <> 'P' and a.repl_data in ('VRK_CLIENT_MESSAGE', 'VRK_CLIENT', 'VRK_EVENT', 'VRK_CONTROLS', "
                   "'VRK_COURSE', 'VRK_COURSE_CONTROLS', 'VRK_CLASS', 'VRK_CLASS_COURSE', "),
    QStringLiteral("'VRK_ADDITIONAL_CLASS', 'VRK_CLUB', 'VRK_PERSON', 'VRK_SPECIAL_CC', 'VRK_RASTILIPPU_ENTRIES', 'VRK_RESULTS_CLASS') "),
    // The hold-back follows the claim procedure's rule; CURRENT_TIMESTAMP is
    // taken at each opening, so the statement stays prepared between
    // messages.
    QStringLiteral(" and (a.processed is null or a.processed <= dateadd(-10 second to current_timestamp)) "),
    QStringLiteral("order by a.sync_tried_count, a.replication_id "),
};

void Exec(TFbQuery& Q, const QString& Sql, const std::function<void(TFbQuery&)>& Bind)
{
    if (Q.Active())
        Q.Close();
    if (Q.SQL().Text() != Sql)
        Q.SQL().SetText(Sql);
    Bind(Q);
    Q.ExecSQL();
}

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
                FSession.ClearAccessToken();
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
        EndQueueRead();
        if (Result == 0 && !Cancelled())
            Result = DownloadHalf(DownloadLimit);
    } while ((UploadLimit || DownloadLimit) && !Cancelled());
    return Result;
}

// One upload message (steps 2 to 6 of the pass); false when the pass fails.
// Each row is claimed first and the claims are committed before the HTTP
// call, so another desk's worker on the same queue skips them; the rows'
// sent marks, written with the answer, end the claims (a failure releases
// them).
bool TformWorkerREST::UploadMessage(int MessageNo, bool& MoreRows)
{
    MoreRows = false;
    int64_t SyncMessageId = 0;
    try {
        Start(fbTrWorkerDefaultFD);
        Start(fbTrWorkerUpdateDefaultFD);
        TFbQuery& Queue = *fbQueryDefaultFD;
        if (Queue.Active())
            Queue.Close();
        static const QString Sql = QStringList(std::begin(QueueSql), std::end(QueueSql)).join(QLatin1Char('\n'));
        if (Queue.SQL().Text() != Sql)
            Queue.SQL().SetText(Sql);
        Queue.Open();

        int RowCount = 0;
        std::vector<int64_t> Claimed;
        QString Message, Table;
        while (!Queue.Eof()) {
            try {
                const QString Data = Queue.FieldByName(QStringLiteral("repl_data"))->AsString();
                if (RowCount > 0 && Data != Table) {
                    MoreRows = true;
                    break;
                }
                if (SyncMessageId == 0)
                    OnMain([&] { SyncMessageId = FHost.NewSyncMessageId(); });
                const int64_t ReplicationId = Queue.FieldByName(QStringLiteral("replication_id"))->AsLargeInt();
                if (!ClaimRow(ReplicationId, SyncMessageId)) {
                    Queue.Next();  // another desk is sending it
                    continue;
                }
                if (RowCount == 0) {
                    Message = TUploadBuilders::BatchOpening(SyncMessageId);
                    Table = Data;
                }
                FBuilders->BuildRow(Table, RowCount, ReplicationId, Queue.FieldByName(QStringLiteral("repl_data_id"))->AsLargeInt(),
                                    Message, Queue.FieldByName(QStringLiteral("repl_type"))->AsString());
                Claimed.push_back(ReplicationId);
                ++RowCount;
                if (RowCount == RowsPerMessage || Table == QLatin1String("VRK_RESULTS_CLASS") || Table == QLatin1String("VRK_CLASS")) {
                    MoreRows = true;
                    break;
                }
                Queue.Next();
            } catch (const std::exception& E) {
                Report(DbMessage(QString::fromUtf8(E.what())));
                RollbackIfActive(fbTrWorkerUpdateDefaultFD);
                RowCount = 0;
                MoreRows = false;
                break;
            }
        }
        Queue.Close();
        // The queue's read transaction serves the whole upload half (it reads
        // committed rows, so every message sees the claims and marks before
        // it): each start of a transaction is a forced write of the database
        // header, one per message more than the message needs.
        if (fbTrWorkerUpdateDefaultFD->Active())
            fbTrWorkerUpdateDefaultFD->Commit();  // the claims, before the rows go out
        if (RowCount > 0) {
            const TWireRecord* Record = wire::RecordOfQueueTable(Table);
            TUploadBuilders::CloseBatch(Message, Record ? Record->ListName : QString());
            QString Reply;
            const int Sent = json_rest_out(Message, Reply);
            // The rows' sent marks go with the answer: a reply that cannot be
            // written leaves them free to go again at once.
            Start(fbTrWorkerUpdateDefaultFD);
            for (const int64_t ReplicationId : Claimed)
                ExecMark(QStringLiteral("EXECUTE PROCEDURE E_DATA_REPL.DATA_REPLIKOITU_WEBIIN_REST(:in_replication_id, :in_sync_message_id) "),
                     [&](TFbQuery& Q) {
                         Q.ParamByName(QStringLiteral("in_replication_id")).SetAsLargeInt(ReplicationId);
                         Q.ParamByName(QStringLiteral("in_sync_message_id")).SetAsLargeInt(SyncMessageId);
                     });
            if (Sent == 0) {
                MarkUploadReply(Reply);
            } else if (Sent == 9) {
                std::unique_ptr<TJsonNode> Root = TJsonNode::Parse(Reply);
                if (!Root)
                    throw EJSONParseError(QStringLiteral("Tyhjä vastaus"));
                const QString Text = Root->Member(u"result").AsString();
                ExecMark(QStringLiteral("EXECUTE PROCEDURE E_DATA_REPL.DATA_REPL_ERROR_REST(:IN_SYNC_MESSAGE_ID, :IN_ERROR_MESSAGE) "),
                     [&](TFbQuery& Q) {
                         Q.ParamByName(QStringLiteral("IN_SYNC_MESSAGE_ID")).SetAsLargeInt(SyncMessageId);
                         Q.ParamByName(QStringLiteral("IN_ERROR_MESSAGE")).SetAsString(Text);
                     });
            }
            fbTrWorkerUpdateDefaultFD->Commit();  // the sent marks end the claims
        }
        if (!MoreRows || MessageNo % CountEveryMessages == 0)
            RefreshCounts(true);
        return true;
    } catch (const std::exception& E) {
        Report(DbMessage(QString::fromUtf8(E.what())));
        if (fbQueryDefaultFD->Active())
            fbQueryDefaultFD->Close();
        RollbackIfActive(fbTrWorkerUpdateDefaultFD);
        RollbackIfActive(fbTrWorkerDefaultFD);
        // A reply that could not be written leaves the rows free for the
        // next pass, not held until the claims' long time-out.
        if (SyncMessageId != 0) {
            try {
                Start(fbTrWorkerUpdateDefaultFD);
                ReleaseClaims(SyncMessageId);
                fbTrWorkerUpdateDefaultFD->Commit();
            } catch (const std::exception&) {
                RollbackIfActive(fbTrWorkerUpdateDefaultFD);
            }
        }
        MoreRows = false;
        return false;
    }
}

void TformWorkerREST::EndQueueRead()
{
    try {
        if (fbTrWorkerDefaultFD->Active())
            fbTrWorkerDefaultFD->Commit();
    } catch (const std::exception&) {
        RollbackIfActive(fbTrWorkerDefaultFD);
    }
}

bool TformWorkerREST::ClaimRow(int64_t ReplicationId, int64_t SyncMessageId)
{
    TFbQuery& Q = *FDQueryUpdateDefaultFD;
    if (Q.Active())
        Q.Close();
    static const QString Sql =
        QStringLiteral("SELECT OUT_CLAIMED FROM E_DATA_REPL.CLAIM_FOR_UPLOAD(:IN_REPLICATION_ID, :IN_SYNC_MESSAGE_ID)");
    if (Q.SQL().Text() != Sql)
        Q.SQL().SetText(Sql);
    Q.ParamByName(QStringLiteral("IN_REPLICATION_ID")).SetAsLargeInt(ReplicationId);
    Q.ParamByName(QStringLiteral("IN_SYNC_MESSAGE_ID")).SetAsLargeInt(SyncMessageId);
    Q.Open();
    const bool Claimed = !Q.Eof() && Q.Fields()[0]->AsInteger() == 1;
    Q.Close();
    return Claimed;
}

// Each marking statement keeps its own prepared query: a message runs
// several of them in turn, and one shared query was prepared again at
// every change of text.
void TformWorkerREST::ExecMark(const QString& Sql, const std::function<void(TFbQuery&)>& Bind)
{
    std::unique_ptr<TFbQuery>& Q = FMarkStatements[Sql];
    if (!Q) {
        Q = std::make_unique<TFbQuery>();
        Q->SetConnection(convrkEventWorkerFD);
        Q->SetTransaction(fbTrWorkerUpdateDefaultFD);
    }
    Exec(*Q, Sql, Bind);
}

void TformWorkerREST::ReleaseClaims(int64_t SyncMessageId)
{
    ExecMark( QStringLiteral("EXECUTE PROCEDURE E_DATA_REPL.RELEASE_UPLOAD_CLAIM(:IN_SYNC_MESSAGE_ID) "),
         [&](TFbQuery& Q) { Q.ParamByName(QStringLiteral("IN_SYNC_MESSAGE_ID")).SetAsLargeInt(SyncMessageId); });
}

void TformWorkerREST::MarkUploadReply(const QString& Reply)
{
    std::unique_ptr<TJsonNode> Root = TJsonNode::Parse(Reply);
    if (!Root)
        throw EJSONParseError(QStringLiteral("Tyhjä vastaus"));
    std::unique_ptr<TJsonNode> Inner = TJsonNode::Parse(Root->Member(u"result").AsString());
    if (!Inner)
        throw EJSONParseError(QStringLiteral("result ei ole JSON-olio"));
    const TJsonNode& Processed = ListMember(*Inner, u"processed");
    const TJsonNode& Errors = ListMember(*Inner, u"errors");
    for (const TJsonNode* Entry : Processed)
        ExecMark( QStringLiteral("EXECUTE PROCEDURE E_DATA_REPL.DATA_REPLIKOITU_WEBIIN(:IN_REPLICATION_ID) "),
             [&](TFbQuery& Q) {
                 Q.ParamByName(QStringLiteral("IN_REPLICATION_ID")).SetAsLargeInt(Entry->Member(u"client_message_id").AsInt64());
             });
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
