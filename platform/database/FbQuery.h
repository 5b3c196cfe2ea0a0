#pragma once
// Datasets and statements over a Firebird connection: TFbQuery (a statement
// whose rows form a dataset, written back through update statements),
// TFbUpdateSQL (the insert, modify, delete and fetch statements of a query)
// and TFbStoredProc (an executable stored procedure with its declared
// parameters).

#include "platform/database/DataSet.h"
#include "platform/database/FbConnection.h"
#include "platform/database/Params.h"

#include <QStringList>
#include <functional>
#include <memory>

class TDataSource;
class TMasterDataLink;

// The statement text of a query, changed line by line.
class TSQLText {
public:
    void Clear();
    void Add(const QString& Line);
    QString Text() const { return FLines.join(QLatin1Char('\n')); }
    void SetText(const QString& v);
    const QStringList& Lines() const { return FLines; }
    int Count() const { return int(FLines.size()); }
    std::function<void()> OnChange;

private:
    QStringList FLines;
};

// The statements that write a query's rows. ":NEW_X" (or ":X") is the posted
// value of field X, ":OLD_X" its value before the edit. An insert or modify
// with a RETURNING list gives the row back as the database stored it.
class TFbUpdateSQL : public TComponent {
public:
    explicit TFbUpdateSQL(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
    QString InsertSQL;
    QString ModifySQL;
    QString DeleteSQL;
    QString FetchRowSQL;
};

struct TFbUpdateOptions {
    bool EnableInsert = true;
    bool EnableUpdate = true;
    bool EnableDelete = true;
    // Table written by generated statements; by default the first table
    // named after FROM.
    QString UpdateTableName;
    // "A;B": the fields that find a row in the table (and across requeries).
    QString KeyFields;
    // "A;B": the only fields generated statements write (all when empty).
    QString UpdateFields;
};

class TFbQuery : public TDataSet {
public:
    explicit TFbQuery(TComponent* AOwner = nullptr);
    ~TFbQuery() override;

    TFbConnection* Connection() const { return FConnection; }
    void SetConnection(TFbConnection* v);
    // The read transaction (the connection's default when none is set).
    TFbTransaction* Transaction() const;
    void SetTransaction(TFbTransaction* v);
    // The transaction posts run in (the read transaction when none is set).
    TFbTransaction* UpdateTransaction() const;
    void SetUpdateTransaction(TFbTransaction* v) { FUpdateTransaction = v; }

    TSQLText& SQL() { return FSQL; }
    TParams& Params() { return FParams; }
    TParam& ParamByName(const QString& Name) { return FParams.ParamByName(Name); }

    TFbUpdateSQL* UpdateObject() const { return FUpdateObject; }
    void SetUpdateObject(TFbUpdateSQL* v) { FUpdateObject = v; }
    TFbUpdateOptions& UpdateOptions() { return FUpdateOptions; }
    // Sets the key fields of writes and of bookmarks together.
    void SetKeyFieldNames(const QString& v);

    // A detail query: reopened with the master's current row whenever the
    // master moves; parameters take the master fields of the same name.
    TDataSource* MasterSource() const { return FMasterSource; }
    void SetMasterSource(TDataSource* v);
    // "A;B": the master fields copied into the parameters (all of the same
    // name when empty).
    QString MasterFields;

    // Runs before the statement executes on every open and requery; for the
    // statement's owner (e.g. to refresh what its calculated fields read).
    std::function<void(TFbQuery* Sender)> BeforeExecute;

    bool CanModify() const override;
    // Runs a statement that returns no rows (its transaction is started when
    // not active and stays active).
    void ExecSQL();
    int64_t RowsAffected() const { return FRowsAffected; }
    void Prepare();
    void Unprepare();

protected:
    void InternalOpen() override;
    void InternalClose() override;
    void InternalPost(TDataRecord& New, const TDataRecord* Old) override;
    void InternalDelete(const TDataRecord& Row) override;
    void CheckUpdateKind(TUpdateKind Kind) const override;

private:
    // Makes the statement when there is none and prepares the SQL text in t.
    void PrepareCommand(TFbTransaction* t);
    friend class TMasterDataLink;
    void SQLChanged();
    void MasterChanged();
    void BuildFields(const std::vector<TFbColumn>& Columns);
    QString UpdateTable() const;
    QString GeneratedSQL(TUpdateKind Kind) const;
    void RunUpdate(TUpdateKind Kind, TDataRecord* New, const TDataRecord* Old);

    TFbConnection* FConnection = nullptr;
    TFbTransaction* FTransaction = nullptr;
    TFbTransaction* FUpdateTransaction = nullptr;
    TSQLText FSQL;
    TParams FParams;
    std::unique_ptr<TFbCommand> FCommand;
    std::unique_ptr<TFbCommand> FUpdateCommand;
    TFbUpdateSQL* FUpdateObject = nullptr;
    TFbUpdateOptions FUpdateOptions;
    TDataSource* FMasterSource = nullptr;
    // Closed because the master closed: opens again when the master does.
    bool FClosedByMaster = false;
    std::unique_ptr<TMasterDataLink> FMasterLink;
    int64_t FRowsAffected = 0;
};

class TFbStoredProc : public TComponent {
public:
    explicit TFbStoredProc(TComponent* AOwner = nullptr);
    ~TFbStoredProc() override;

    TFbConnection* Connection() const { return FConnection; }
    void SetConnection(TFbConnection* v);
    TFbTransaction* Transaction() const;
    void SetTransaction(TFbTransaction* v) { FTransaction = v; }
    // "PACKAGE.PROCEDURE" or "PROCEDURE".
    const QString& StoredProcName() const { return FName; }
    void SetStoredProcName(const QString& v);

    // Reads the declared inputs and outputs into Params (needs an open
    // connection; done by ExecProc when not done yet).
    void Prepare();
    bool Prepared() const { return FPrepared; }
    TParams& Params() { return FParams; }
    TParam& ParamByName(const QString& Name);
    // Executes with the inputs' values; the outputs' values come back into
    // Params. The transaction is started when it is not active.
    void ExecProc();

private:
    TFbConnection* FConnection = nullptr;
    TFbTransaction* FTransaction = nullptr;
    QString FName;
    TParams FParams;
    bool FPrepared = false;
    std::unique_ptr<TFbCommand> FCommand;
};
