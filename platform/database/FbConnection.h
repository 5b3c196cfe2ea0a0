#pragma once
// Firebird access over libfbclient's object interface: one connection (UTF-8)
// with any number of transactions, and prepared statements whose ":NAME"
// markers are bound by name. A plain file path opens through the embedded
// engine, "host:path" through a server.

#include "platform/database/DBTypes.h"
#include "platform/database/Params.h"
#include "platform/rtl/Component.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

namespace Firebird {
class IAttachment;
class ITransaction;
class IStatement;
class IResultSet;
class IMessageMetadata;
}  // namespace Firebird

class TFbTransaction;
class TDataSet;

class TFbConnection : public TComponent {
public:
    explicit TFbConnection(TComponent* AOwner = nullptr);
    ~TFbConnection() override;

    QString DatabaseName;
    QString UserName;
    QString Password;
    QString RoleName;
    QString CharacterSet = QStringLiteral("UTF8");

    void Open();
    // Closes the datasets on the connection, rolls back every active
    // transaction and detaches.
    void Close();
    bool Connected() const { return FAttachment != nullptr; }
    // Asks the engine whether the attachment still answers (a server that
    // was restarted or a connection the engine shut down does not); false
    // when not connected.
    bool Alive() const;
    // After the connection was lost: lets go of every handle on it (datasets
    // closed, transactions forgotten) and attaches again with the same
    // settings; the datasets that were open are opened again, so the windows
    // showing them go on. Raises the engine's error when it cannot attach.
    void Reconnect();
    // A Reconnect that could not attach yet: the connection is closed but
    // meant to be open, so the next call tries again.
    bool Lost() const { return FLost; }
    void SetConnected(bool v) { v ? Open() : Close(); }

    // The transaction of datasets and statements that name none.
    TFbTransaction* DefaultTransaction() const;
    void SetDefaultTransaction(TFbTransaction* v) { FDefaultTransaction = v; }

    // Creates a new database file (UTF-8 default character set).
    static void CreateDatabase(const QString& Path, const QString& User = QStringLiteral("SYSDBA"),
                               const QString& Password = QString(), int PageSize = 8192);

    Firebird::IAttachment* Handle() const { return FAttachment; }

    // Bookkeeping of the transactions and datasets that live on the connection.
    void RegisterTransaction(TFbTransaction* T);
    void UnregisterTransaction(TFbTransaction* T);
    void RegisterDataSet(TDataSet* D);
    void UnregisterDataSet(TDataSet* D);
    void RegisterCommand(class TFbCommand* C);
    void UnregisterCommand(class TFbCommand* C);

private:
    bool FLost = false;
    std::vector<TDataSet*> FReopen;  // open when the connection was lost
    Firebird::IAttachment* FAttachment = nullptr;
    TFbTransaction* FDefaultTransaction = nullptr;
    std::unique_ptr<TFbTransaction> FOwnDefault;
    std::vector<TFbTransaction*> FTransactions;
    std::vector<TDataSet*> FDataSets;
    std::vector<class TFbCommand*> FCommands;
};

enum TFbIsolation { xiReadCommitted, xiSnapshot };

class TFbTransaction : public TComponent {
public:
    explicit TFbTransaction(TComponent* AOwner = nullptr);
    ~TFbTransaction() override;

    TFbConnection* Connection() const { return FConnection; }
    void SetConnection(TFbConnection* v);
    // Read committed (record version) unless set otherwise.
    TFbIsolation Isolation = xiReadCommitted;
    // Seconds a statement waits for a locked row before it fails.
    int LockTimeout = 10;
    bool ReadOnly = false;

    void StartTransaction();
    void Commit();
    void Rollback();
    bool Active() const { return FHandle != nullptr; }
    // Whether the running transaction was started read-only.
    bool ActiveReadOnly() const { return FHandle != nullptr && FStartedReadOnly; }
    // Starts the transaction when it is not active; true when it did.
    bool EnsureActive();

    Firebird::ITransaction* Handle() const { return FHandle; }
    // Forgets the handle without ending it (the connection is gone).
    void Detach();

private:
    TFbConnection* FConnection = nullptr;
    Firebird::ITransaction* FHandle = nullptr;
    bool FStartedReadOnly = false;
};

// One column of a statement's result (or one output of a procedure).
struct TFbColumn {
    QString Name;       // alias as the statement names it
    QString Relation;   // table, empty for an expression
    QString Field;      // column in that table
    TFieldType DataType = ftUnknown;
    int Size = 0;       // characters of a text, decimals of a fixed-point number
    bool Nullable = true;
    // Wire details of the message layout.
    unsigned SqlType = 0;
    int SqlScale = 0;
    unsigned SqlLength = 0;
    int SubType = 0;
    unsigned CharSet = 0;
    unsigned Offset = 0;
    unsigned NullOffset = 0;
};

// A prepared statement. Inputs are taken from a TParams by the names of the
// statement's markers; results arrive as rows of tagged values.
class TFbCommand {
public:
    TFbCommand(TFbConnection* Connection, TFbTransaction* Transaction);
    ~TFbCommand();
    TFbCommand(const TFbCommand&) = delete;
    TFbCommand& operator=(const TFbCommand&) = delete;

    void SetTransaction(TFbTransaction* T) { FTransaction = T; }
    // Prepares the statement (kept until Unprepare or a different text).
    // Scripts keep their text as it is (PSQL uses ":name" for variables).
    void Prepare(const QString& SQL, bool NamedParams = true);
    void Unprepare();
    bool Prepared() const { return FStatement != nullptr; }
    const QString& SQL() const { return FSQL; }
    // The distinct marker names, in order of first use.
    const QStringList& ParamNames() const { return FDistinctNames; }
    const std::vector<TFbColumn>& Columns() const { return FColumns; }
    const std::vector<TFbColumn>& Inputs() const { return FInputs; }
    // True for statements that return rows through a cursor.
    bool HasCursor() const;
    // True for UPDATE and DELETE statements.
    bool ChangesRows() const;
    // True for data-definition statements.
    bool IsDDL() const;

    // Runs a statement without cursor; its outputs (EXECUTE PROCEDURE,
    // RETURNING) go to Outputs when the statement has any.
    void Execute(const TParams& Params, std::vector<QVariant>* Outputs = nullptr);
    // Rows the last Execute changed.
    int64_t RowsAffected() const { return FRowsAffected; }
    void Open(const TParams& Params);
    bool Fetch(std::vector<QVariant>& Row);
    void CloseCursor();

private:
    std::vector<unsigned char> BuildInput(const TParams& Params, Firebird::IMessageMetadata*& Meta);
    void DecodeRow(const unsigned char* Buffer, std::vector<QVariant>& Row);
    Firebird::ITransaction* Tra() const;

    TFbConnection* FConnection;
    TFbTransaction* FTransaction;
    QString FSQL;
    QStringList FMarkerNames;
    QStringList FDistinctNames;
    Firebird::IStatement* FStatement = nullptr;
    Firebird::IMessageMetadata* FOutMeta = nullptr;
    Firebird::IResultSet* FCursor = nullptr;
    std::vector<unsigned char> FOutBuffer;
    std::vector<TFbColumn> FColumns;
    std::vector<TFbColumn> FInputs;
    unsigned FStatementType = 0;
    int64_t FRowsAffected = 0;
};

// Converts a Firebird status into our error; for the access layer's own use.
[[noreturn]] void RaiseFbError(const void* FbException);
