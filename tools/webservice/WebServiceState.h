#pragma once
// The stand-in web result service's state and protocol, without HTTP: one
// call per request (base, resource, method, headers, body) gives the status
// and the reply body. Accounts hold series, seasons, events, classes, courses,
// controls and the rest as rows in the download form; computers register with
// a temporary code, log in with their secret, upload batches, fetch and
// confirm download messages fed by the uploads of the other computers of the
// same account. Everything lives in memory; all methods are thread-safe.

#include <QByteArray>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <cstdint>
#include <mutex>

namespace webservice {

// The two interfaces' paths under the service's address.
extern const char* const FirstBasePath;   // "/apex/sorvex/api/v1"
extern const char* const SecondBasePath;  // "/apex/sorvex/api/v2"

struct TReply {
    int Status = 200;
    QByteArray Body;
};

struct TRequestLogEntry {
    int Base = 0;  // 1 or 2
    QString Method;
    QString Resource;
    QMap<QString, QString> Headers;  // names in lower case
    QByteArray Body;
    int Status = 0;
};

struct TClientCredentials {
    int64_t ClientId = 0;
    QString Secret;
};

struct TDownloadMessage {
    QString Id;
    QString Type;
    QJsonArray Rows;
};

// Reads JSON as the service does: also when the writer left control
// characters or stray backslashes unescaped inside strings.
QJsonDocument ParseLenient(const QByteArray& Text, QString* Error = nullptr);

class TWebServiceState {
public:
    TWebServiceState();

    // --- administration (tests, the demo file) ---
    int64_t CreateAccount(const QString& Name);
    // Loads an account from the demo file's JSON: {"account", "clients",
    // "temp_codes", "tables": {"vrk_...": [rows]}}. Returns the account id.
    int64_t LoadAccount(const QJsonObject& Demo);
    void PutRow(int64_t Account, const QString& Type, const QJsonObject& Row);
    QJsonObject Row(int64_t Account, const QString& Type, const QString& Key) const;
    int RowCount(int64_t Account, const QString& Type) const;
    TClientCredentials AddClient(int64_t Account, const QString& Name);
    void AddTempCode(int64_t Account, const QString& Code, const QString& ClientName,
                     const QString& Owner = QString(), int ValidSeconds = 3600);
    // Queues a message for every client of the account but the sender
    // (0: a change made on the web). Rows get their replication ids here.
    void QueueMessage(int64_t Account, int64_t SenderClient, const QString& Type, const QJsonArray& Rows);
    int PendingCount(int64_t ClientId) const;
    QList<TDownloadMessage> Pending(int64_t ClientId) const;
    int TokenLifetimeSeconds() const;
    void SetTokenLifetimeSeconds(int Seconds);
    void ExpireAllTokens();

    // --- what happened, for tests ---
    QList<TRequestLogEntry> RequestLog() const;
    QList<QJsonObject> UploadedRecords() const;       // as decoded, with "list" added
    QList<QJsonObject> Confirmations() const;         // message_id, processed, errors (arrays)
    QList<QJsonObject> ClientMessages() const;        // client messages (start/stop/ready)

    // --- the protocol ---
    TReply Handle(int Base, const QString& Method, const QString& Resource,
                  const QMap<QString, QString>& Headers, const QByteArray& Body);

private:
    struct TClient {
        int64_t Id = 0;
        int64_t Account = 0;
        QJsonObject Row;  // the vrk_client row
        QString Secret;
        QList<TDownloadMessage> Queue;
    };
    struct TTempCode {
        int64_t Account = 0;
        QString ClientName;
        QString Owner;
        QDateTime ValidUntil;
        bool Used = false;
    };
    struct TAccount {
        QString Name;
        QMap<QString, QMap<QString, QJsonObject>> Rows;  // type -> key -> row
    };

    mutable std::mutex FLock;
    QMap<int64_t, TAccount> FAccounts;
    QMap<int64_t, TClient> FClients;
    QMap<QString, TTempCode> FTempCodes;
    struct TToken {
        int64_t Client = 0;
        QDateTime Expires;
    };
    QMap<QString, TToken> FTokens;
    int FTokenLifetime = 3600;
    int64_t FNextAccount = 1;
    int64_t FNextClient = 1001;
    int64_t FNextReplication = 900000001;
    int64_t FNextMessage = 1;
    QList<TRequestLogEntry> FLog;
    QList<QJsonObject> FUploaded;
    QList<QJsonObject> FConfirmations;
    QList<QJsonObject> FClientMessages;
    // Upload records already applied, by "client|client_message_id": a batch
    // whose reply was lost comes again and must not be fanned out twice.
    QSet<QString> FAppliedUploads;

    TReply Dispatch(int Base, const QString& Method, const QString& Resource,
                    const QMap<QString, QString>& Headers, const QByteArray& Body);
    TClient* Authorised(const QMap<QString, QString>& Headers);
    TReply Register(const QMap<QString, QString>& Headers);
    TReply Login(const QMap<QString, QString>& Headers);
    TReply MessageCount(TClient& Client);
    TReply GetEvents(TClient& Client);
    TReply GetEventData(TClient& Client, const QMap<QString, QString>& Headers);
    TReply Upload(TClient& Client, const QByteArray& Body);
    TReply NextMessage(TClient& Client);
    TReply Confirm(TClient& Client, const QByteArray& Body);

    void PutRowLocked(TAccount& Account, const QString& Type, const QJsonObject& Row);
    void QueueLocked(int64_t Account, int64_t Sender, const QString& Type, const QJsonArray& Rows);
    void QueueForClientLocked(TClient& Client, const QString& Type, const QJsonArray& Rows);
    void QueueFirstUseLocked(TClient& Client);
    void LinkAllSeriesLocked(TClient& Client, QJsonArray* Links);
    void MergePersonLocked(TClient& Client, const QString& MergedId, const QString& KeptId);
    QString ApplyUploadRecordLocked(TClient& Client, const QString& List, const QJsonObject& Record,
                                    QJsonArray& FanOut, QString& FanOutType);
};

// The download message type of an upload list ("clubs" -> "vrk_club"), empty when unknown.
QString DownloadTypeOfList(const QString& List);
// The key member(s) of a download type.
QStringList KeyMembers(const QString& Type);

}  // namespace webservice
