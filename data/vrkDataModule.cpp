#include "data/vrkDataModule.h"

#include "app/vrkDoMessage.h"
#include "app/vrkCommon.h"
#include "app/vrkMainForm.h"
#include "data/vrkDbFailureCause.h"
#include "data/vrkDbMethod.h"
#include "platform/rtl/Exception.h"
#include "resources/ProgramTexts.h"
#include "resources/SafeguardTexts.h"

#include <QDateTime>

TDataModule1* DataModule1 = nullptr;

TDataModule1::TDataModule1(TComponent* AOwner) : TComponent(AOwner)
{
    SetName(QStringLiteral("DataModule1"));
    CreateComponents();
    CreateDatasets();
    CreateProcedureComponents();
    AttachEditRules();
}

TDataModule1::~TDataModule1()
{
    // Closing rolls back every transaction still active.
    try {
        convrkEventFD->Close();
    } catch (...) {
    }
    if (DataModule1 == this)
        DataModule1 = nullptr;
}

TFbTransaction* TDataModule1::NewTransaction(const QString& Name)
{
    auto* t = new TFbTransaction(this);
    t->SetName(Name);
    t->SetConnection(convrkEventFD);
    // Every transaction reads committed data (record versions) and waits a
    // while for a locked row, so the web worker's connection and this one
    // see each other's commits and do not fail on a short lock.
    t->Isolation = xiReadCommitted;
    t->LockTimeout = 10;
    return t;
}

TFbQuery* TDataModule1::NewQuery(const QString& Name, TFbTransaction* Transaction)
{
    auto* q = new TFbQuery(this);
    q->SetName(Name);
    q->SetConnection(convrkEventFD);
    q->SetTransaction(Transaction);
    return q;
}

TDataSource* TDataModule1::NewSource(const QString& Name, TFbQuery* DataSet)
{
    auto* s = new TDataSource(this);
    s->SetName(Name);
    s->SetDataSet(DataSet);
    return s;
}

void TDataModule1::CreateComponents()
{
    convrkEventFD = new TFbConnection(this);
    convrkEventFD->SetName(QStringLiteral("convrkEventFD"));
    convrkEventFD->CharacterSet = QStringLiteral("UTF8");

    fbTransactionDefaultFD = NewTransaction(QStringLiteral("fbTransactionDefaultFD"));
    fbTransactionUpdateDefaultFD = NewTransaction(QStringLiteral("fbTransactionUpdateDefaultFD"));
    fbTrMainGridFD = NewTransaction(QStringLiteral("fbTrMainGridFD"));
    fbTrUpdateCallFD = NewTransaction(QStringLiteral("fbTrUpdateCallFD"));
    // The two the web worker asks for and the stored downloads leave the
    // isolation to the driver, whose default is read committed as well.
    fbTrUpdateCallWorkerFD = NewTransaction(QStringLiteral("fbTrUpdateCallWorkerFD"));
    fbTrRESTUpdateDefaultFD = NewTransaction(QStringLiteral("fbTrRESTUpdateDefaultFD"));
    fbTransactionTreeFD = NewTransaction(QStringLiteral("fbTransactionTreeFD"));
    fbTrClubFD = NewTransaction(QStringLiteral("fbTrClubFD"));
    fbTrPersonFD = NewTransaction(QStringLiteral("fbTrPersonFD"));
    fbTrControlFD = NewTransaction(QStringLiteral("fbTrControlFD"));
    fbTrCourseFD = NewTransaction(QStringLiteral("fbTrCourseFD"));
    fbTrPaymentMethodFD = NewTransaction(QStringLiteral("fbTrPaymentMethodFD"));
    fbTrChipBalanceOptionsFD = NewTransaction(QStringLiteral("fbTrChipBalanceOptionsFD"));
    convrkEventFD->SetDefaultTransaction(fbTransactionDefaultFD);

    fbQueryDefaultFD = NewQuery(QStringLiteral("fbQueryDefaultFD"), fbTransactionDefaultFD);
    fbUpdateDefaultFD = NewQuery(QStringLiteral("fbUpdateDefaultFD"), fbTrUpdateCallFD);
    fbProcRESTFD = NewQuery(QStringLiteral("fbProcRESTFD"), fbTrRESTUpdateDefaultFD);
    fbQueryUpdateDefaultWFD = NewQuery(QStringLiteral("fbQueryUpdateDefaultWFD"), nullptr);

    fbProcEvent_GetEventStats = new TFbStoredProc(this);
    fbProcEvent_GetEventStats->SetName(QStringLiteral("fbProcEvent_GetEventStats"));
    fbProcEvent_GetEventStats->SetConnection(convrkEventFD);
    fbProcEvent_GetEventStats->SetTransaction(fbTransactionDefaultFD);
    // The event line's figures after every card read: the run counts kept by
    // the database as runs change, not counted over the whole event.
    fbProcEvent_GetEventStats->SetStoredProcName(QStringLiteral("VRK_EVENT_STATS"));

    fbProcUpdateClientFD = new TFbStoredProc(this);
    fbProcUpdateClientFD->SetName(QStringLiteral("fbProcUpdateClientFD"));
    fbProcUpdateClientFD->SetConnection(convrkEventFD);
    fbProcUpdateClientFD->SetTransaction(fbTrUpdateCallFD);
    fbProcUpdateClientFD->SetStoredProcName(QStringLiteral("E_CLIENT.UPDATE_CLIENT"));

    FDScript1 = new TFbScript(this);
    FDScript1->SetName(QStringLiteral("FDScript1"));
    FDScript1->Connection = convrkEventFD;
    FDScript1->Transaction = fbTransactionDefaultFD;
}

// ---- connection ----

bool TDataModule1::Connect()
{
    try {
        if (!formMain)
            throw EDatabaseError(QStringLiteral("No configuration"));
        convrkEventFD->DatabaseName = formMain->s_db_name;
        convrkEventFD->UserName = formMain->s_db_user_name;
        convrkEventFD->Password = formMain->s_db_password;
        convrkEventFD->Open();
        if (!convrkEventFD->Connected())
            return false;
        ProbeAccess();
        TidyAfterCrash();
        if (!FKeptReadsLoaded) {
            FKeptReads.SetFile(GetExePath() + QStringLiteral("luennat_tallentamatta.txt"));
            FKeptReadsLoaded = true;
        }
        do_message(false, txt::DbConnected, MSG_INFORMATION);
        return true;
    } catch (const std::exception& e) {
        // The user sees the sentence and what to do; the engine's own text
        // goes to the day log for whoever mends the installation.
        const QString engineText = ExceptionMessage(e);
        do_message(false, engineText, MSG_ERROR);
        do_message(true, txt::DbConnectFailed + QStringLiteral("\r\n\r\n") +
                             DbFailureText(engineText, convrkEventFD->DatabaseName), MSG_ERROR);
        return false;
    }
}

void TDataModule1::ProbeAccess()
{
    // The embedded engine lets any user name in; a name the database does
    // not know then reads nothing, and an empty client table would look like
    // a new computer and open the first-use dialog. Reading the client table
    // once tells a refused user apart before anything is decided.
    try {
        TFbQuery probe;
        probe.SetConnection(convrkEventFD);
        probe.SetTransaction(fbTransactionDefaultFD);
        TFbQuery& q = SetStatement(probe, {QStringLiteral("select first 1 CLIENT_ID from VRK_CLIENT")});
        q.Open();
        q.Close();
        if (fbTransactionDefaultFD->Active())
            fbTransactionDefaultFD->Commit();
    } catch (...) {
        if (fbTransactionDefaultFD->Active())
            fbTransactionDefaultFD->Rollback();
        convrkEventFD->Close();
        throw;
    }
}

void TDataModule1::TidyAfterCrash()
{
    // Rows deleted or changed (the web queue's sent rows above all), and the
    // rows of a transaction a kill cut off, leave old row versions that the
    // engine clears away only when a reader comes across them; it writes the
    // pages of that clearing in no set order, so a kill after an index page
    // went out and before the row's page did leaves old versions without
    // index entries, which full validation reports as a damaged index (a
    // plain writer shows the same). Old versions a kill left are therefore
    // cleared here, before the desk writes anything, by reading through the
    // tables a card read and the web worker write (one event's reads); and
    // the connection is closed and opened again, as the engine writes every
    // changed page when the last connection to the file closes.
    static const char* const Tables[] = {"VRK_DATA_REPLICATION", "VRK_RESULTS_CLASS", "VRK_RESULTS_CLASS_ALL",
                                         "VRK_RESULTS_SPLITS", "VRK_SPECIAL_PUNCHES"};
    RunDbMethod(QStringLiteral("TidyAfterCrash"), *fbTransactionDefaultFD, [&] {
        for (const char* table : Tables) {
            TFbQuery& q = SetStatement(*fbQueryDefaultFD, {QStringLiteral("select count(*) from ") + QLatin1String(table)});
            q.Open();
            q.Close();
        }
    });
    convrkEventFD->Close();
    convrkEventFD->Open();
}

bool TDataModule1::Disconnect()
{
    convrkEventFD->Close();
    return !convrkEventFD->Connected();
}

void TDataModule1::DisconnectOnline()
{
    if (formMain)
        formMain->n_online_connected = 0;
}

QString TDataModule1::GetDbMessage(const QString& Msg)
{
    if (Msg.contains(QLatin1String("ORA-01017")))
        return txt::WebBadCredentials;
    if (Msg.contains(QLatin1String("ORA-28000")))
        return txt::WebUserLocked;
    // A full disk, a damaged or read-only file found during work reads as at
    // the start, not as the engine's text inside whatever dialog met it.
    const QString cause = DbFailureCause(Msg, convrkEventFD ? convrkEventFD->DatabaseName : QString());
    return cause.isEmpty() ? Msg : cause;
}

// ---- card reads the database refused to store ----

void TDataModule1::NoteStoring(const QString& ChipString, const QString& EngineMessage)
{
    if (ChipString.trimmed().isEmpty())
        return;
    if (EngineMessage.isEmpty()) {
        FLastStoreOk = true;
        FKeptReads.Stored(ChipString);
        return;
    }
    // Only a database that could not store is a reason to keep the read; a
    // read the procedure turned down for its content (no courses, a text that
    // is no card) would be turned down again.
    const bool storingFailed = !DbFailureCause(EngineMessage, convrkEventFD->DatabaseName).isEmpty()
                               || EngineMessage.contains(QStringLiteral("(virhekoodi "))
                               || EngineMessage.contains(QStringLiteral("(error code "))
                               || EngineMessage.startsWith(QStringLiteral("(insertResultsClass)"));
    if (!storingFailed)
        return;
    FLastStoreOk = false;
    FLastRefusalMs = QDateTime::currentMSecsSinceEpoch();
    FKeptReads.Keep(ChipString);
    do_message(false, txt::ChipReadKept.arg(KeptReadCard(ChipString)), MSG_WARNING);
}

QString TDataModule1::KeptReadDue() const
{
    constexpr int64_t kRetryAfterMs = 5000;
    if (FKeptReads.IsEmpty() || QDateTime::currentMSecsSinceEpoch() - FLastRefusalMs < kRetryAfterMs)
        return QString();
    if (!FLastStoreOk && DatabaseDiskNearlyFull(convrkEventFD->DatabaseName))
        return QString();
    return FKeptReads.Reads().first();
}

QString TDataModule1::TakeKeptRead()
{
    const QString read = KeptReadDue();
    if (!read.isEmpty())
        FKeptReads.Remove(read);
    return read;
}

// ---- helpers ----

QString TDataModule1::LanguageCode() const
{
    return formMain ? formMain->vcUILanguageCode : QStringLiteral("FI");
}

void TDataModule1::SetLanguage(TFbQuery& Q, const QString& Param)
{
    Q.ParamByName(Param).SetAsString(LanguageCode());
}

void TDataModule1::SetLanguage(TFbStoredProc& P, const QString& Param)
{
    P.ParamByName(Param).SetAsString(LanguageCode());
}
