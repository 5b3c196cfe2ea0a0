#pragma once
// TDataModule1: all database work of the main thread. One connection to the
// event database, thirteen transactions, the datasets the windows bind to,
// one loader per entity mirror and one method per stored procedure called.
// The module is created closed; the main window connects it when first shown.

#include "data/vrkDbMethod.h"
#include "data/vrkKeptReads.h"
#include "data/vrkRunChangeLog.h"
#include "platform/database/DataSource.h"
#include "platform/database/FbQuery.h"
#include "platform/database/FbScript.h"
#include "platform/rtl/Component.h"

#include <QHash>
#include <QList>
#include <QString>
#include <cstdint>
#include <functional>
#include <functional>
#include <vector>

class TDataModule1 : public TComponent {
public:
    explicit TDataModule1(TComponent* AOwner);
    ~TDataModule1() override;

    // ---- connection ----
    bool Connect();
    bool Disconnect();
    void DisconnectOnline();
    QString GetDbMessage(const QString& Msg);

    // ---- card reads the database refused to store ----
    const QStringList& KeptReads() const { return FKeptReads.Reads(); }
    // The oldest kept read when the database looks able to store it again
    // (a read was stored since, or the disk has room again, and the last
    // refusal is a few seconds old); empty otherwise.
    QString KeptReadDue() const;
    // Takes the due read out of the keeping to be processed again (a new
    // refusal keeps it again); empty when none is due.
    QString TakeKeptRead();

    // ---- entity loaders (fill the mirror globals) ----
    void getClientData();
    void getEventSeriesData(int64_t id);
    void getEventSeriesSeasonData(int64_t id);
    void getEventData(int64_t id);
    void getProcessedEventData(int64_t id);
    void getPersonData(int64_t id);
    void getClubData(int64_t id);
    void getSpecialCcData(int64_t id);
    void getClassData(int64_t id);
    void getClassCourseData(int64_t id);
    void getResultsClassData(int64_t id);
    // The run's row into resultsClass, read with the shared query Shared in
    // its transaction (the caller commits).
    void ReadResultsClassRow(TFbQuery& Shared, int64_t id);

    // ---- stored-procedure methods ----
    // (one method per stored procedure; declared here, implemented in
    // vrkDataModuleProcs.cpp)
    struct TResultBoardRow {
        QString sija, nimi, aika, plus;  // place, name, time, time behind
    };
    struct TResultBoardData {
        QString sija, sarja, personName, clubName, timeStr, resultStatus, status, resultNotes, rentedChip;
        TResultBoardRow rows[13];  // places 1 to 13 of the class as the board shows them
    };
    void insertResultsClass(const QString& chipString, const QString& toForest, const QString& startTime,
                            const QString& controlCard, int64_t& resultsClassId, QString& wasInForest, QString& message,
                            QString& flag);
    // A card read at the finish: stored, checked at once when it went into
    // the card's registration, and the stored run read into resultsClass, all
    // in one transaction (each transaction's start and commit is a forced
    // write, and the store has just evaluated the punches the check would
    // evaluate again). A failed check leaves the read stored: checkMessage
    // tells it. runLoaded is false when the run could not be read with it.
    // AcceptAtOnce, asked once the run is read back (resultsClass holds it),
    // tells whether the read is accepted without the operator; it is then
    // accepted in the same transaction (accepted), which queues the run for
    // upload as the acceptance's own post would.
    struct TStoredRead {
        int64_t resultsClassId = 0;
        QString wasInForest, message, flag, checkMessage;
        bool runLoaded = false;
        bool accepted = false;
    };
    void storeCardRead(const QString& chipString, TStoredRead& read,
                       const std::function<bool(const TStoredRead&)>& AcceptAtOnce = {});
    void deleteResultsClass(int64_t resultsClassId);
    void validatePunches(int64_t resultsClassId, int64_t& classCourseId, QString& className, QString& message);
    QString getClassName(int64_t classId);
    // The other runs of the event that read the same card as the given run,
    // newest first, each with its emit string (a card read again after
    // another card, so the finish can tell it was read already).
    struct TCardRead {
        int64_t resultsClassId = 0;
        QString chipString;
    };
    QList<TCardRead> getOtherReadsOfCard(int64_t resultsClassId);
    QString onkoKirjattuMaastoon(int64_t eventId, const QString& controlCard, QString& errMsg);
    void getResultBoardData(int64_t resultsClassId, TResultBoardData& board);
    QString getChipPrint(int64_t resultsClassId, int rowNbr);
    // The receipt's header rows in one transaction: each transaction's start
    // is a forced write of the database header, several per receipt cost
    // more than the rows themselves. Without commit the transaction stays
    // open for the caller's next reads, which commit it.
    QHash<int, QString> getChipPrintRows(int64_t resultsClassId, const QList<int>& rowNbrs, bool commit = true);
    // Reads made one after another for one runner (the board's rows, then
    // the receipt's) share one transaction: while one of these is alive the
    // read methods leave their transaction open, and the last one's end
    // commits it.
    class TReadsTogether {
    public:
        TReadsTogether();
        ~TReadsTogether();
        TReadsTogether(const TReadsTogether&) = delete;
        TReadsTogether& operator=(const TReadsTogether&) = delete;
    };
    bool ReadingTogether() const { return FReadsTogether > 0; }
    int64_t getNewPersonId();
    void checkPerson(const QString& personName, int64_t& personId, QString& foundName);
    void updatePersonChip(int64_t personId, const QString& controlCard, const QString& personChip, QString& errMsg);
    void updatePersonReceiptPrint(int64_t personId, const QString& receiptPrint, QString& errMsg);
    void updatePersonPhoneNumber(int64_t personId, const QString& phoneNumber, QString& errMsg);
    void updatePersonWebShow(int64_t personId, const QString& webShow, const QString& webShowAsked, QString& errMsg);
    void updatePersonSportID(int64_t personId, const QString& sportId, QString& errMsg);
    int64_t getNewClubId();
    void checkClub(const QString& clubName, int64_t& clubId, QString& foundName);
    QString onkoLainakortti(int64_t eventSeriesId, int64_t controlCard, QString& message);
    int64_t haeLainakorttiHenkilo(int64_t eventSeriesId, int64_t controlCard, QString& message);
    void selectWebEntry(int64_t entriesId, int64_t& personId, QString& personStatus, QString& message);
    void selectWebEntryChip(int64_t resultsClassId, const QString& controlCard, int64_t& entriesId, QString& status,
                            QString& message);
    void setWebEntryStatus(int64_t entriesId, int64_t resultsClassId, const QString& status, QString& message);
    void insertClass(const QString& className, float fee, const QString& calcScoring, const QString& massStartTime,
                     const QString& controlsString, float courseLength, float climb, const QString& notes, int finishCode,
                     int64_t& classId, QString& message);
    void updateClass(const QString& className, const QString& fee, const QString& calcScoring, const QString& massStartTime,
                     const QString& controlsString, const QString& courseLength, const QString& climb, const QString& notes,
                     const QString& finishCode, int64_t classId, int64_t courseId, const QString& activeClass,
                     QString& message);
    void markClassesDeleted(int64_t eventId, QString& errMsg);
    void markClassDeleted(int64_t classId, QString& errMsg);
    void insertClientMessage(int64_t eventId, const QString& messageType, const QString& messageKey,
                             const QString& messageInfo, const QString& messageData);
    void updateClientLastEvent(int64_t eventId, QString& errMsg);
    int64_t getClientLastEvent();
    void sendAllEventMessages(int64_t eventId, QString& message);
    int getUnsentMessages();
    int getUnsentMessagesWorker();
    int64_t getNewSyncMessageId();
    // The procedure components of these methods (made on first use by
    // CreateProcedureComponents, which the module's set-up may call at once).
    void CreateProcedureComponents();
    TFbStoredProc* fbProcInsertClientMessageFD = nullptr;
    TFbStoredProc* fbProcInsertClientFD = nullptr;
    TFbStoredProc* fbProcDeleteResultsClassFD = nullptr;
    TFbStoredProc* fbProcChipPrint_GetDataFD = nullptr;
    TFbStoredProc* fbProcDataRepl_GetUnsentMessages = nullptr;
    TFbStoredProc* fbProcDataRepl_GetUnsentMessages_Worker = nullptr;
    TFbStoredProc* fbProcDataRepl_GetNewSyncMessageId = nullptr;

private:
    void InsertRun(const QString& chipString, const QString& toForest, const QString& startTime,
                   const QString& controlCard, int64_t& resultsClassId, QString& wasInForest, QString& message,
                   QString& flag);
    void ValidateRun(int64_t resultsClassId, int64_t& classCourseId, QString& className, QString& message);
    // The check of a read just stored, in the store's transaction; its
    // failure is logged and returned as the check's message.
    QString CheckStoredRead(int64_t resultsClassId);
    // The acceptance of a read just stored, in the store's transaction; false
    // (logged) when it failed, and the read is then accepted on its own.
    bool AcceptStoredRead(int64_t resultsClassId);
    int FReadsTogether = 0;
    // Keeps a read whose storing the database refused, or ends the keeping
    // of its card's reads once one is stored.
    void NoteStoring(const QString& ChipString, const QString& EngineMessage);
    TKeptReads FKeptReads;
    bool FKeptReadsLoaded = false;
    bool FLastStoreOk = true;
    int64_t FLastRefusalMs = 0;
    // Reads the client table once after connecting; a refusal closes the
    // connection and raises the engine's error.
    void ProbeAccess();
    // Reads through the tables a card read and the web worker write, so the
    // old row versions a crash left are cleared away at once and written.
    void TidyAfterCrash();
    TFbStoredProc* NewProcedure(const QString& Name, const QString& Procedure, TFbTransaction* Transaction);
    void RunPersonUpdate(const QString& Method, std::initializer_list<QString> Lines,
                         const std::function<void(TFbQuery&)>& Bind, QString& errMsg);
    void RunMarkDeleted(const QString& Method, const QString& Statement, const QString& Param, int64_t id, QString& errMsg);
    int UnsentMessages(const QString& Method, bool Worker);

public:

    // ---- dataset event handlers ----
    // (attached to the datasets below; implemented in vrkDataModuleRules.cpp)
    // The members of the editor windows the handlers reach. Each window fills
    // its link when it is created and clears it (= {}) when it is destroyed;
    // a null member is skipped.
    struct TClubEditorLink {
        class TAction* actClubNew = nullptr;
        class TAction* actClubEdit = nullptr;
        class TAction* actClubDelete = nullptr;
        class TCustomEdit* edtCLUB_NAME = nullptr;
        QString* vc_old_club_name = nullptr;
        bool* bDataChanged = nullptr;
    };
    struct TPersonEditorLink {
        class TAction* actPersonNew = nullptr;
        class TAction* actPersonEdit = nullptr;
        class TAction* actPersonDelete = nullptr;
        class TCustomEdit* edtPERSON_NAME = nullptr;
        QString* vc_old_person_name = nullptr;
        bool* bDataChanged = nullptr;
    };
    struct TCourseEditorLink {
        class TAction* actCourseEdit = nullptr;
        class TAction* actControlEdit = nullptr;
        class TTabSheet* tsCourses = nullptr;
        class TTabSheet* tsControl = nullptr;
        bool* bDataChangedCourse = nullptr;
        bool* bDataChangedControl = nullptr;
    };
    struct TMainGridLink {
        class TAction* actMainGridEdit = nullptr;
        class TAction* actMainGridDelete = nullptr;
        class TAction* actMainGridToResult = nullptr;
    };
    struct TWebEntriesLink {
        class TCustomEdit* edtENTRY_FEE = nullptr;
        class TLabel* lblENTRY_FEE = nullptr;  // the fee's caption
        class TImage* imgWebEntriesOK = nullptr;
        class TImage* imgWebEntriesQuestion = nullptr;
        class TImage* imgWebEntriesExlamation = nullptr;
        // The check-in's own reaction to a move of the list's cursor.
        std::function<void()> OnCursorMoved;
    };
    TClubEditorLink ClubEditor;
    TPersonEditorLink PersonEditor;
    TCourseEditorLink CourseEditor;
    TMainGridLink MainGrid;
    TWebEntriesLink WebEntries;
    // Attaches the handlers to the datasets (once, after they are made).
    void AttachEditRules();
    void ClubBeforePost(TDataSet* D);
    void PersonBeforePost(TDataSet* D);
    void ResultsGridAfterScroll(TDataSet* D);
    // Reads again only the runs of the open results grid that changed since
    // the grid was last read (by any desk or the web worker, the upload
    // marks included), adds the new ones and drops the deleted ones; false
    // when the grid has to be read whole instead.
    bool RefreshChangedRuns();
    void WebEntriesAfterScroll(TDataSet* D);

    // ---- helpers for the methods ----
    // Sets IN_LANGUAGE_CODE (or the named parameter) to the UI language code.
    void SetLanguage(TFbQuery& Q, const QString& Param = QStringLiteral("IN_LANGUAGE_CODE"));
    void SetLanguage(TFbStoredProc& P, const QString& Param = QStringLiteral("IN_LANGUAGE_CODE"));
    QString LanguageCode() const;

    // ---- connection and transactions ----
    TFbConnection* convrkEventFD;
    TFbTransaction* fbTransactionDefaultFD;
    TFbTransaction* fbTransactionUpdateDefaultFD;
    TFbTransaction* fbTrMainGridFD;
    TFbTransaction* fbTrUpdateCallFD;
    TFbTransaction* fbTrUpdateCallWorkerFD;
    TFbTransaction* fbTrRESTUpdateDefaultFD;
    TFbTransaction* fbTransactionTreeFD;
    TFbTransaction* fbTrClubFD;
    TFbTransaction* fbTrPersonFD;
    TFbTransaction* fbTrControlFD;
    TFbTransaction* fbTrCourseFD;
    TFbTransaction* fbTrPaymentMethodFD;
    TFbTransaction* fbTrChipBalanceOptionsFD;

    // ---- shared statements (SQL replaced on every use) ----
    TFbQuery* fbQueryDefaultFD;
    TFbQuery* fbUpdateDefaultFD;
    TFbQuery* fbProcRESTFD;
    TFbQuery* fbQueryUpdateDefaultWFD;

    // ---- stored-procedure components ----
    TFbStoredProc* fbProcEvent_GetEventStats;
    TFbStoredProc* fbProcUpdateClientFD;

    // ---- navigation trees ----
    TFbQuery* fbQueryEventSeriesStartFD;
    TDataSource* IBCDSEventSeriesStartFD;
    TFbQuery* fbQueryEventSeriesSeasonStartFD;
    TDataSource* IBCDSEventSeriesSeasonStartFD;
    TFbQuery* fbQueryEventStartFD;
    TDataSource* IBCDSEventStartFD;
    TFbQuery* fbQueryEventSeriesFD;
    TDataSource* IBCDSEventSeriesFD;
    TFbQuery* fbQueryEventSeriesSeasonFD;
    TDataSource* IBCDSEventSeriesSeasonFD;
    TFbQuery* fbQueryEventFD;
    TDataSource* IBCDSEventFD;
    TFbQuery* fbQueryPersonsFD;
    TDataSource* IBCDSPersonsFD;
    TFbQuery* fbQueryClubsFD;
    TDataSource* IBCDSClubsFD;
    TFbQuery* fbQuerySpecialCcFD;
    TDataSource* IBCDSSpecialCcFD;
    TFbQuery* fbQueryClassFD;
    TDataSource* IBCDSClassFD;
    TFbQuery* fbQueryClassCourseFD;
    TDataSource* IBCDSClassCourseFD;

    // ---- main results grid ----
    TFbQuery* fbQueryResultsCFD;
    TDataSource* dsResultsClassFD;

    // ---- result and check-in dialogs ----
    TFbQuery* fbQueryCurrResultFD;
    TDataSource* dsCurrResultFD;
    // Opens fbQueryCurrResultFD on the one run the dialog handles.
    // ReadOnly: the run is only looked at (nothing is posted through the
    // current-result transaction before it ends), so a transaction started
    // for it starts read-only and writes no header page.
    void OpenCurrentResult(int64_t ResultsClassId, bool ReadOnly = false);
    TFbUpdateSQL* FDUpdateSQL1;
    TFbQuery* fbQuerySelectClassCourseFD;
    TDataSource* dsClassCourseFD;
    TFbUpdateSQL* FDUpdateSQL2;
    TFbQuery* fbQuerySelectClassCourseFFD;
    TDataSource* dsClassCourseFFD;
    TFbQuery* fbQueryPunchesFD;
    TDataSource* dsPunchesFD;
    TFbQuery* fbQueryLookupPersonFD;
    TDataSource* dsLookupPersonFD;
    TFbQuery* fbQuerySelectAdditionalClassFD;
    TDataSource* dsAdditionalClassFD;
    TFbQuery* fbQueryWebEntriesFD;
    TDataSource* dsWebEntriesFD;
    TFbQuery* fbQueryPaymentMethodsFD;
    TDataSource* dsPaymentMethodsFD;
    TFbQuery* fbQueryChipBalanceOptionsFD;
    TDataSource* dsChipBalanceOptionsFD;

    // ---- editors ----
    TFbQuery* fbQueryClubFD;
    TDataSource* dsClubFD;
    TFbUpdateSQL* FDUpdateVRKCLUB;
    TFbQuery* fbQueryPersonFD;
    TDataSource* dsPersonFD;
    TFbUpdateSQL* FDUpdateVRKPERSON;
    TFbQuery* fbQueryLookupClubFD;
    TDataSource* dsLookupClubFD;
    TFbQuery* fbQueryCourseFD;
    TDataSource* dsCourseFD;
    TFbUpdateSQL* FDUpdateVRKCOURSE;
    TFbQuery* fbQueryControlFD;
    TDataSource* dsControlFD;
    TFbUpdateSQL* FDUpdateVRKCONTROLS;

    // ---- database upgrade ----
    TFbScript* FDScript1;

private:
    // The results grid's status texts (VRK_MESSAGES by code) and the class
    // and course of each run's class-course are read once per open of the
    // grid and filled in as calculated fields, instead of being looked up
    // once per run by the database.
    void LoadResultsGridLookups();
    void ResultsGridCalcFields(TDataSet* DataSet);
    QHash<QString, QString> FResultsGridTexts;
    QHash<int64_t, std::vector<QVariant>> FResultsGridCourses;
    // The grid's fields the calculation reads and writes, found once per open.
    std::vector<TField*> FResultsGridFields;
    // The runs changed since the grid read them (every desk's, and their
    // upload marks).
    TRunChangeLog FResultsGridChanges;
    QString FResultsGridLanguage;

    void CreateComponents();
    // The datasets: the read-only ones from tables of entries, those that
    // write or calculate by a routine each.
    void CreateDatasets();
    void CreateResultsGrid();
    void CreateCurrentResult();
    void CreateRunCourses();
    void CreateClubEditor();
    void CreatePersonEditor();
    void CreateCourseEditor();
    void CreateControlEditor();
    TFbTransaction* NewTransaction(const QString& Name);
    TFbQuery* NewQuery(const QString& Name, TFbTransaction* Transaction);
    TDataSource* NewSource(const QString& Name, TFbQuery* DataSet);
    // One step of an event loader; returns false when it failed.
    bool LoadEventRow(const QString& LoaderName, int64_t id, bool IntoProcessed);
    void LoadEventStats(const QString& LoaderName, int64_t id, bool IntoProcessed);
};

extern TDataModule1* DataModule1;
