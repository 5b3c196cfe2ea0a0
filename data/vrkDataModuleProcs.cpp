// One method per stored procedure of the event database that the windows
// call: each runs one unit of work with the module's method pattern, passes
// the inputs in the procedure's order and reads the outputs with their null
// rules.

#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"

#include "app/vrkDoMessage.h"
#include "app/vrkMainForm.h"
#include "data/vrkDbFailureCause.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/StrUtils.h"

using vrk::L;

namespace {

// The shared steps of a method whose failure text goes to an output of the
// caller: the output is cleared first and holds the failure text after a
// failure. Returns the failure text (empty on success).
QString RunReporting(const QString& Method, TFbTransaction& Transaction, QString& Message,
                     const std::function<void()>& Body, TDbMethodOptions Options = {})
{
    Message.clear();
    const QString err = RunDbMethod(Method, Transaction, Body, Options);
    if (!err.isEmpty())
        Message = err;
    return err;
}

int64_t ProcessedEvent()
{
    return formMain ? formMain->nCurrentProcessedEvent : 0;
}

int64_t ProcessedSeries()
{
    return formMain ? formMain->nCurrentProcessedEventS : 0;
}

// Commits when the procedure gave no error text, rolls back otherwise.
void CommitWhenEmpty(TFbTransaction& T, const QString& ErrorText)
{
    if (ErrorText.isEmpty())
        T.Commit();
    else
        T.Rollback();
}

// A store the database refused with its own message is undone whole: the
// procedure catches a failure such as a full disk part way through the
// evaluation, and what it had written before it (the run without its status
// and time) must not be committed.
void UndoRefusedStore(TFbTransaction& T)
{
    if (T.Active())
        T.Rollback();
}

TDbMethodOptions OthersStyle(bool Reraise)
{
    TDbMethodOptions o;
    o.LogStyle = TDbLogStyle::Others;
    o.Reraise = Reraise;
    return o;
}

TDbMethodOptions CommitItself()
{
    TDbMethodOptions o;
    o.Commit = false;
    return o;
}

}  // namespace

// ---- procedure components ----

TFbStoredProc* TDataModule1::NewProcedure(const QString& Name, const QString& Procedure, TFbTransaction* Transaction)
{
    auto* p = new TFbStoredProc(this);
    p->SetName(Name);
    p->SetConnection(convrkEventFD);
    p->SetTransaction(Transaction);
    p->SetStoredProcName(Procedure);
    return p;
}

void TDataModule1::CreateProcedureComponents()
{
    if (fbProcDeleteResultsClassFD)
        return;
    fbProcInsertClientMessageFD =
        NewProcedure(L("fbProcInsertClientMessageFD"), L("E_CLIENT_MESSAGE.INSERT_CLIENT_MESSAGE"), fbTrUpdateCallFD);
    fbProcInsertClientFD = NewProcedure(L("fbProcInsertClientFD"), L("E_CLIENT.INSERT_CLIENT"), fbTrUpdateCallFD);
    fbProcChipPrint_GetDataFD = NewProcedure(L("fbProcChipPrint_GetDataFD"), L("E_CHIP_PRINT.GET_DATA"), fbTrUpdateCallFD);
    fbProcDataRepl_GetUnsentMessages =
        NewProcedure(L("fbProcDataRepl_GetUnsentMessages"), L("E_DATA_REPL.GET_UNSENT_MESSAGES"), fbTrUpdateCallFD);
    fbProcDataRepl_GetUnsentMessages_Worker = NewProcedure(L("fbProcDataRepl_GetUnsentMessages_Worker"),
                                                           L("E_DATA_REPL.GET_UNSENT_MESSAGES"), fbTrUpdateCallWorkerFD);
    fbProcDataRepl_GetNewSyncMessageId = NewProcedure(L("fbProcDataRepl_GetNewSyncMessageId"),
                                                      L("E_DATA_REPL.GET_NEW_SYNC_MESSAGE_ID"), fbTrUpdateCallWorkerFD);
    // last: its presence tells that the set exists
    fbProcDeleteResultsClassFD =
        NewProcedure(L("fbProcDeleteResultsClassFD"), L("E_RESULTS_CLASS.RESULTS_CLASS_DELETE"), fbTrUpdateCallFD);
}

// ---- runs ----

void TDataModule1::InsertRun(const QString& chipString, const QString& toForest, const QString& startTime,
                             const QString& controlCard, int64_t& resultsClassId, QString& wasInForest,
                             QString& message, QString& flag)
{
    TFbQuery& q = SetStatement(*fbUpdateDefaultFD,
        {L("SELECT OUT_RESULTS_CLASS_ID, OUT_WAS_IN_FOREST, OUT_MESSAGE, OUT_FLAG FROM E_RESULTS_CLASS.RESULTS_CLASS_INSERT("
           ":IN_EVENT_ID, :IN_CHIP_STRING, :IN_TO_FOREST, :IN_START_TIME, :IN_LANGUAGE_CODE, :IN_CONTROL_CARD) ")});
    q.ParamByName(L("IN_EVENT_ID")).SetAsLargeInt(ProcessedEvent());
    q.ParamByName(L("IN_CHIP_STRING")).SetAsString(chipString);
    q.ParamByName(L("IN_TO_FOREST")).SetAsString(toForest);
    q.ParamByName(L("IN_START_TIME")).SetAsString(startTime);
    SetLanguage(q);
    q.ParamByName(L("IN_CONTROL_CARD")).SetAsString(controlCard);
    q.Open();
    resultsClassId = NullId(q, L("OUT_RESULTS_CLASS_ID"));
    wasInForest = NullStr(q, L("OUT_WAS_IN_FOREST"), L("E"));
    message = NullStr(q, L("OUT_MESSAGE"));
    flag = NullStr(q, L("OUT_FLAG"));
    q.Close();
}

void TDataModule1::insertResultsClass(const QString& chipString, const QString& toForest, const QString& startTime,
                                      const QString& controlCard, int64_t& resultsClassId, QString& wasInForest,
                                      QString& message, QString& flag)
{
    wasInForest.clear();
    flag.clear();
    RunReporting(L("insertResultsClass"), *fbTrUpdateCallFD, message, [&] {
        InsertRun(chipString, toForest, startTime, controlCard, resultsClassId, wasInForest, message, flag);
        if (!message.isEmpty())
            UndoRefusedStore(*fbTrUpdateCallFD);
    });
    NoteStoring(chipString, message);
    // A full disk or a damaged file reaches the desk as its cause and what
    // to do, not as the engine's error code.
    message = GetDbMessage(message);
}

void TDataModule1::storeCardRead(const QString& chipString, TStoredRead& read,
                                 const std::function<bool(const TStoredRead&)>& AcceptAtOnce)
{
    read = TStoredRead();
    RunReporting(L("insertResultsClass"), *fbTrUpdateCallFD, read.message, [&] {
        read.checkMessage.clear();
        read.runLoaded = false;
        InsertRun(chipString, L("E"), QString(), QString(), read.resultsClassId, read.wasInForest, read.message,
                  read.flag);
        if (!read.message.isEmpty()) {
            UndoRefusedStore(*fbTrUpdateCallFD);
            return;
        }
        if (read.wasInForest == L("K"))
            read.checkMessage = CheckStoredRead(read.resultsClassId);
        if (!DbFailureCause(read.checkMessage, convrkEventFD->DatabaseName).isEmpty()) {
            // The database itself failed the check (a full disk), and what it
            // left undone may be the run's status and time: the read is
            // undone whole and kept to be read again, not stored in part.
            read.message = read.checkMessage;
            read.checkMessage.clear();
            read.resultsClassId = 0;
            UndoRefusedStore(*fbTrUpdateCallFD);
            return;
        }
        read.accepted = false;
        try {
            ReadResultsClassRow(*fbUpdateDefaultFD, read.resultsClassId);
            read.runLoaded = true;
        } catch (const std::exception&) {
            // The read is stored all the same; the caller reads the run anew.
            return;
        }
        if (AcceptAtOnce && AcceptAtOnce(read))
            read.accepted = AcceptStoredRead(read.resultsClassId);
    });
    if (!read.message.isEmpty())
        read.accepted = false;
    NoteStoring(chipString, read.message);
    read.message = GetDbMessage(read.message);
    read.checkMessage = GetDbMessage(read.checkMessage);
}

QString TDataModule1::CheckStoredRead(int64_t resultsClassId)
{
    try {
        int64_t classCourseId = 0;
        QString className, message;
        ValidateRun(resultsClassId, classCourseId, className, message);
        return message;
    } catch (const std::exception& e) {
        // The failed statement undid only its own work: the read stays.
        const QString text = DbMethodLogText(L("validatePunches"), ExceptionMessage(e), TDbLogStyle::Parenthesized);
        do_message(false, text, MSG_ERROR);
        return text;
    }
}

bool TDataModule1::AcceptStoredRead(int64_t resultsClassId)
{
    try {
        // The run's own update, as the acceptance's post makes it: the
        // database queues an accepted run for upload when it is updated.
        TFbQuery& q = SetStatement(*fbUpdateDefaultFD,
            {L("UPDATE VRK_RESULTS_CLASS SET RESULT_STATUS = 'V' WHERE RESULTS_CLASS_ID = :RESULTS_CLASS_ID")});
        q.ParamByName(L("RESULTS_CLASS_ID")).SetAsLargeInt(resultsClassId);
        q.ExecSQL();
        resultsClass->Setresult_status(L("V"));
        return true;
    } catch (const std::exception& e) {
        // The failed statement undid only its own work: the read stays stored.
        do_message(false, DbMethodLogText(L("acceptCardRead"), ExceptionMessage(e), TDbLogStyle::Parenthesized),
                   MSG_ERROR);
        return false;
    }
}

void TDataModule1::deleteResultsClass(int64_t resultsClassId)
{
    RunDbMethod(L("deleteResultsClass"), *fbTrUpdateCallFD, [&] {
        CreateProcedureComponents();
        TFbStoredProc& p = *fbProcDeleteResultsClassFD;
        p.ParamByName(L("IN_RESULTS_CLASS_ID")).SetAsLargeInt(resultsClassId);
        p.ExecProc();
    });
}

void TDataModule1::ValidateRun(int64_t resultsClassId, int64_t& classCourseId, QString& className, QString& message)
{
    TFbQuery& q = SetStatement(*fbUpdateDefaultFD,
        {L("SELECT OUT_CLASS_COURSE_ID, OUT_CLASS_NAME, OUT_MESSAGE FROM E_RESULTS_CLASS.RESULTS_CLASS_VALIDATE("
           ":IN_RESULTS_CLASS_ID, :IN_LANGUAGE_CODE) ")});
    q.ParamByName(L("IN_RESULTS_CLASS_ID")).SetAsLargeInt(resultsClassId);
    SetLanguage(q);
    q.Open();
    classCourseId = NullId(q, L("OUT_CLASS_COURSE_ID"));
    className = NullStr(q, L("OUT_CLASS_NAME"));
    message = NullStr(q, L("OUT_MESSAGE"));
    q.Close();
}

void TDataModule1::validatePunches(int64_t resultsClassId, int64_t& classCourseId, QString& className, QString& message)
{
    className.clear();
    RunReporting(L("validatePunches"), *fbTrUpdateCallFD, message,
                 [&] { ValidateRun(resultsClassId, classCourseId, className, message); });
    message = GetDbMessage(message);
}

QString TDataModule1::getClassName(int64_t classId)
{
    QString name;
    RunDbMethod(L("getClassName"), *fbTrUpdateCallFD, [&] {
        TFbQuery& q = SetStatement(*fbUpdateDefaultFD, {L("select a.class_name from vrk_class a where a.class_id = :IN_CLASS_ID ")});
        q.ParamByName(L("IN_CLASS_ID")).SetAsLargeInt(classId);
        q.Open();
        name = ReqStr(q, L("CLASS_NAME"));
        q.Close();
    });
    return name;
}

QList<TDataModule1::TCardRead> TDataModule1::getOtherReadsOfCard(int64_t resultsClassId)
{
    QList<TCardRead> reads;
    RunDbMethod(L("getOtherReadsOfCard"), *fbTrUpdateCallFD, [&] {
        TFbQuery& q = SetStatement(*fbUpdateDefaultFD,
            {L("select b.results_class_id, b.chip_string from vrk_results_class a, vrk_results_class b "),
             L("where a.results_class_id = :IN_RESULTS_CLASS_ID and b.event_id = a.event_id "),
             L("and b.control_card = a.control_card and b.results_class_id <> a.results_class_id "),
             L("and b.chip_string is not null and b.chip_string <> '' "),
             L("order by b.inserted desc, b.results_class_id desc ")});
        q.ParamByName(L("IN_RESULTS_CLASS_ID")).SetAsLargeInt(resultsClassId);
        q.Open();
        for (; !q.Eof(); q.Next())
            reads.append({ReqId(q, L("RESULTS_CLASS_ID")), NullStr(q, L("CHIP_STRING"))});
        q.Close();
    });
    return reads;
}

QString TDataModule1::onkoKirjattuMaastoon(int64_t eventId, const QString& controlCard, QString& errMsg)
{
    QString result;
    const QString err = RunReporting(L("onkoKirjattuMaastoon"), *fbTrUpdateCallFD, errMsg, [&] {
        TFbQuery& q = SetStatement(*fbUpdateDefaultFD,
            {L("SELECT OUT_ONKO_KIRJATTU FROM E_RESULTS_CLASS.ONKO_KIRJATTU_MAASTOON(:IN_EVENT_ID, :IN_CONTROL_CARD) ")});
        q.ParamByName(L("IN_EVENT_ID")).SetAsLargeInt(eventId);
        q.ParamByName(L("IN_CONTROL_CARD")).SetAsString(controlCard);
        q.Open();
        result = ReqStr(q, L("OUT_ONKO_KIRJATTU"));
        q.Close();
    });
    if (!err.isEmpty())
        result.clear();
    return result;
}

TDataModule1::TReadsTogether::TReadsTogether()
{
    if (DataModule1)
        ++DataModule1->FReadsTogether;
}

TDataModule1::TReadsTogether::~TReadsTogether()
{
    if (!DataModule1 || --DataModule1->FReadsTogether > 0)
        return;
    TFbTransaction& t = *DataModule1->fbTrUpdateCallFD;
    try {
        if (t.Active())
            t.Commit();
    } catch (const std::exception& e) {
        do_message(false, DbMethodLogText(L("readsTogether"), ExceptionMessage(e), TDbLogStyle::Parenthesized),
                   MSG_ERROR);
        t.Detach();
    }
}

void TDataModule1::getResultBoardData(int64_t resultsClassId, TResultBoardData& board)
{
    board = TResultBoardData();
    TDbMethodOptions o;
    o.Commit = !ReadingTogether();
    o.ReadOnly = true;
    RunDbMethod(L("getResultBoardData"), *fbTrUpdateCallFD, [&] {
        QString rows;
        for (int i = 1; i <= 13; ++i) {
            const QString p = QStringLiteral("OUT_P%1_").arg(i);
            rows += p + L("SIJA, ") + p + L("NIMI, ") + p + L("AIKA, ") + p + L("PLUS") + (i < 13 ? L(", ") : L(" "));
        }
        TFbQuery& q = SetStatement(*fbUpdateDefaultFD,
            {L("select OUT_SIJA, OUT_SARJA, OUT_PERSON_NAME, OUT_CLUB_NAME, OUT_TIME_STR, OUT_RESULT_STATUS, OUT_STATUS, "
               "OUT_RESULT_NOTES, OUT_RENTED_CHIP, "),
             rows, L("from E_RESULTS_CLASS.HAE_RESULT_BOARD_DATA(:IN_RESULTS_CLASS_ID) ")});
        q.ParamByName(L("IN_RESULTS_CLASS_ID")).SetAsLargeInt(resultsClassId);
        q.Open();
        board.sija = NullStr(q, L("OUT_SIJA"));
        board.sarja = NullStr(q, L("OUT_SARJA"));
        board.personName = NullStr(q, L("OUT_PERSON_NAME"));
        board.clubName = NullStr(q, L("OUT_CLUB_NAME"));
        board.timeStr = NullStr(q, L("OUT_TIME_STR"));
        board.resultStatus = NullStr(q, L("OUT_RESULT_STATUS"));
        board.status = NullStr(q, L("OUT_STATUS"));
        board.resultNotes = NullStr(q, L("OUT_RESULT_NOTES"));
        board.rentedChip = NullStr(q, L("OUT_RENTED_CHIP"));
        for (int i = 0; i < 13; ++i) {
            const QString p = QStringLiteral("OUT_P%1_").arg(i + 1);
            TResultBoardRow& r = board.rows[i];
            r.sija = NullStr(q, p + L("SIJA"));
            r.nimi = NullStr(q, p + L("NIMI"));
            r.aika = NullStr(q, p + L("AIKA"));
            r.plus = NullStr(q, p + L("PLUS"));
        }
        q.Close();
    }, o);
}

QString TDataModule1::getChipPrint(int64_t resultsClassId, int rowNbr)
{
    return getChipPrintRows(resultsClassId, {rowNbr}).value(rowNbr);
}

QHash<int, QString> TDataModule1::getChipPrintRows(int64_t resultsClassId, const QList<int>& rowNbrs, bool commit)
{
    QHash<int, QString> rows;
    TDbMethodOptions o = OthersStyle(true);
    o.Commit = commit;
    o.ReadOnly = true;
    RunDbMethod(L("getChipPrint"), *fbTrUpdateCallFD, [&] {
        CreateProcedureComponents();
        TFbStoredProc& p = *fbProcChipPrint_GetDataFD;
        for (int rowNbr : rowNbrs) {
            p.ParamByName(L("IN_RESULTS_CLASS_ID")).SetAsLargeInt(resultsClassId);
            p.ParamByName(L("ROW_NBR")).SetAsInteger(rowNbr);
            SetLanguage(p);
            p.ExecProc();
            rows.insert(rowNbr, NullStr(p.ParamByName(L("OUT_DATAROW"))));
        }
    }, o);
    return rows;
}

// ---- persons, clubs and cards ----

int64_t TDataModule1::getNewPersonId()
{
    int64_t id = 0;
    RunDbMethod(L("getNewPersonId"), *fbTrUpdateCallFD, [&] {
        TFbQuery& q = SetStatement(*fbUpdateDefaultFD, {L("SELECT OUT_PERSON_ID FROM E_PERSON.GET_NEW_PERSON_ID ")});
        q.Open();
        id = ReqId(q, L("OUT_PERSON_ID"));
        q.Close();
    });
    return id;
}

void TDataModule1::checkPerson(const QString& personName, int64_t& personId, QString& foundName)
{
    // the first word, and the second (the text between the first and the
    // second blank); a third word is not passed
    const QStringList parts = personName.split(QLatin1Char(' '));
    const QString part1 = parts.value(0), part2 = parts.value(1);
    RunDbMethod(L("checkPerson"), *fbTrUpdateCallFD, [&] {
        TFbQuery& q = SetStatement(*fbUpdateDefaultFD,
            {L("SELECT OUT_PERSON_ID, OUT_PERSON_NAME FROM E_PERSON.CHECK_PERSON(:IN_EVENT_SERIES_ID, :IN_PERSON_NAME1, "
               ":IN_PERSON_NAME2) ")});
        q.ParamByName(L("IN_EVENT_SERIES_ID")).SetAsLargeInt(ProcessedSeries());
        q.ParamByName(L("IN_PERSON_NAME1")).SetAsString(part1);
        q.ParamByName(L("IN_PERSON_NAME2")).SetAsString(part2);
        q.Open();
        if (q.FieldByName(L("OUT_PERSON_ID"))->IsNull()) {
            personId = 0;
            foundName.clear();
        } else {
            const QString name = ReqStr(q, L("OUT_PERSON_NAME"));
            personId = ReqId(q, L("OUT_PERSON_ID"));
            foundName = name;
        }
        q.Close();
    });
}

void TDataModule1::RunPersonUpdate(const QString& Method, std::initializer_list<QString> Lines,
                                   const std::function<void(TFbQuery&)>& Bind, QString& errMsg)
{
    RunReporting(Method, *fbTrUpdateCallFD, errMsg, [&] {
        TFbQuery& q = SetStatement(*fbUpdateDefaultFD, Lines);
        Bind(q);
        q.Open();
        errMsg = NullStr(q, L("OUT_ERRMSG"));
        q.Close();
    });
}

void TDataModule1::updatePersonChip(int64_t personId, const QString& controlCard, const QString& personChip, QString& errMsg)
{
    RunPersonUpdate(L("updatePersonChip"),
                    {L("SELECT OUT_ERRMSG FROM E_PERSON.UPDATE_PERSON_CHIP(:IN_EVENT_SERIES_ID, :IN_PERSON_ID, :IN_CONTROL_CARD, "
                       ":IN_PERSON_CHIP) ")},
                    [&](TFbQuery& q) {
                        q.ParamByName(L("IN_EVENT_SERIES_ID")).SetAsLargeInt(ProcessedSeries());
                        q.ParamByName(L("IN_PERSON_ID")).SetAsLargeInt(personId);
                        q.ParamByName(L("IN_CONTROL_CARD")).SetAsString(controlCard);
                        q.ParamByName(L("IN_PERSON_CHIP")).SetAsString(personChip);
                    },
                    errMsg);
}

void TDataModule1::updatePersonReceiptPrint(int64_t personId, const QString& receiptPrint, QString& errMsg)
{
    RunPersonUpdate(L("updatePersonReceiptPrint"),
                    {L("SELECT OUT_ERRMSG FROM E_PERSON.UPDATE_PERSON_RECEIPT_PRINT(:IN_PERSON_ID, :IN_RECEIPT_PRINT) ")},
                    [&](TFbQuery& q) {
                        q.ParamByName(L("IN_PERSON_ID")).SetAsLargeInt(personId);
                        q.ParamByName(L("IN_RECEIPT_PRINT")).SetAsString(receiptPrint);
                    },
                    errMsg);
}

void TDataModule1::updatePersonPhoneNumber(int64_t personId, const QString& phoneNumber, QString& errMsg)
{
    RunPersonUpdate(L("updatePersonPhoneNumber"),
                    {L("SELECT OUT_ERRMSG FROM E_PERSON.UPDATE_PERSON_PHONE_NUMBER(:IN_PERSON_ID, :IN_PHONE_NUMBER) ")},
                    [&](TFbQuery& q) {
                        q.ParamByName(L("IN_PERSON_ID")).SetAsLargeInt(personId);
                        q.ParamByName(L("IN_PHONE_NUMBER")).SetAsString(phoneNumber);
                    },
                    errMsg);
}

void TDataModule1::updatePersonWebShow(int64_t personId, const QString& webShow, const QString& webShowAsked, QString& errMsg)
{
    RunPersonUpdate(L("updatePersonWebShow"),
                    {L("SELECT OUT_ERRMSG FROM E_PERSON.UPDATE_PERSON_WEB_SHOW(:IN_PERSON_ID, :IN_WEB_SHOW, :IN_WEB_SHOW_ASKED) ")},
                    [&](TFbQuery& q) {
                        q.ParamByName(L("IN_PERSON_ID")).SetAsLargeInt(personId);
                        q.ParamByName(L("IN_WEB_SHOW")).SetAsString(webShow);
                        // a text that is not a date fails the call
                        q.ParamByName(L("IN_WEB_SHOW_ASKED"))
                            .SetAsDateTime(webShowAsked.isEmpty() ? Now() : StrToDateTime(webShowAsked));
                    },
                    errMsg);
}

void TDataModule1::updatePersonSportID(int64_t personId, const QString& sportId, QString& errMsg)
{
    RunPersonUpdate(L("updatePersonSportID"),
                    {L("SELECT OUT_ERRMSG FROM E_PERSON.UPDATE_PERSON_SPORT_ID(:IN_PERSON_ID, :IN_SPORT_ID) ")},
                    [&](TFbQuery& q) {
                        q.ParamByName(L("IN_PERSON_ID")).SetAsLargeInt(personId);
                        q.ParamByName(L("IN_SPORT_ID")).SetAsString(sportId);
                    },
                    errMsg);
}

int64_t TDataModule1::getNewClubId()
{
    int64_t id = 0;
    RunDbMethod(L("getNewClubId"), *fbTrUpdateCallFD, [&] {
        TFbQuery& q = SetStatement(*fbUpdateDefaultFD, {L("SELECT OUT_CLUB_ID FROM E_CLUB.GET_NEW_CLUB_ID ")});
        q.Open();
        id = ReqId(q, L("OUT_CLUB_ID"));
        q.Close();
    });
    return id;
}

void TDataModule1::checkClub(const QString& clubName, int64_t& clubId, QString& foundName)
{
    RunDbMethod(L("checkClub"), *fbTrUpdateCallFD, [&] {
        TFbQuery& q = SetStatement(*fbUpdateDefaultFD,
            {L("SELECT OUT_CLUB_ID, OUT_CLUB_NAME FROM E_CLUB.CHECK_CLUB(:IN_EVENT_SERIES_ID, :IN_CLUB_NAME) ")});
        q.ParamByName(L("IN_EVENT_SERIES_ID")).SetAsLargeInt(ProcessedSeries());
        q.ParamByName(L("IN_CLUB_NAME")).SetAsString(clubName);
        q.Open();
        if (q.FieldByName(L("OUT_CLUB_ID"))->IsNull()) {
            clubId = 0;
            foundName.clear();
        } else {
            const QString name = ReqStr(q, L("OUT_CLUB_NAME"));
            clubId = ReqId(q, L("OUT_CLUB_ID"));
            foundName = name;
        }
        q.Close();
    });
}

QString TDataModule1::onkoLainakortti(int64_t eventSeriesId, int64_t controlCard, QString& message)
{
    QString result;
    const QString err = RunReporting(L("onkoLainakortti"), *fbTrUpdateCallFD, message, [&] {
        TFbQuery& q = SetStatement(*fbUpdateDefaultFD,
            {L("SELECT OUT_ONKO_LAINAKORTTI, OUT_MESSAGE FROM E_SPECIAL_CC.ONKO_LAINAKORTTI(:IN_EVENT_SERIES_ID, :IN_CONTROL_CARD) ")});
        q.ParamByName(L("IN_EVENT_SERIES_ID")).SetAsLargeInt(eventSeriesId);
        q.ParamByName(L("IN_CONTROL_CARD")).SetAsLargeInt(controlCard);
        q.Open();
        result = ReqStr(q, L("OUT_ONKO_LAINAKORTTI"));
        message = NullStr(q, L("OUT_MESSAGE"));
        q.Close();
    });
    if (!err.isEmpty())
        result.clear();
    return result;
}

int64_t TDataModule1::haeLainakorttiHenkilo(int64_t eventSeriesId, int64_t controlCard, QString& message)
{
    int64_t person = 0;
    const QString err = RunReporting(L("haeLainakorttiHenkilo"), *fbTrUpdateCallFD, message, [&] {
        TFbQuery& q = SetStatement(*fbUpdateDefaultFD,
            {L("SELECT OUT_PERSON_ID, OUT_MESSAGE FROM E_SPECIAL_CC.HAE_LAINAKORTTI_HENKILO(:IN_EVENT_SERIES_ID, :IN_CONTROL_CARD) ")});
        q.ParamByName(L("IN_EVENT_SERIES_ID")).SetAsLargeInt(eventSeriesId);
        q.ParamByName(L("IN_CONTROL_CARD")).SetAsLargeInt(controlCard);
        q.Open();
        person = ReqId(q, L("OUT_PERSON_ID"));
        message = NullStr(q, L("OUT_MESSAGE"));
        q.Close();
    });
    if (!err.isEmpty())
        person = 0;
    return person;
}

// ---- web entries ----

void TDataModule1::selectWebEntry(int64_t entriesId, int64_t& personId, QString& personStatus, QString& message)
{
    personStatus.clear();
    RunReporting(L("selectWebEntry"), *fbTrUpdateCallFD, message, [&] {
        TFbQuery& q = SetStatement(*fbUpdateDefaultFD,
            {L("SELECT OUT_PERSON_ID, OUT_PERSON_STATUS, OUT_MESSAGE FROM E_RESULTS_CLASS.SELECT_WEB_ENTRY("
               ":IN_RASTILIPPU_ENTRIES_ID, :IN_LANGUAGE_CODE) ")});
        q.ParamByName(L("IN_RASTILIPPU_ENTRIES_ID")).SetAsLargeInt(entriesId);
        SetLanguage(q);
        q.Open();
        personId = NullId(q, L("OUT_PERSON_ID"));
        personStatus = NullStr(q, L("OUT_PERSON_STATUS"));
        message = NullStr(q, L("OUT_MESSAGE"));
        q.Close();
    });
}

void TDataModule1::selectWebEntryChip(int64_t resultsClassId, const QString& controlCard, int64_t& entriesId,
                                      QString& status, QString& message)
{
    status.clear();
    RunReporting(L("selectWebEntryChip"), *fbTrUpdateCallFD, message, [&] {
        TFbQuery& q = SetStatement(*fbUpdateDefaultFD,
            {L("SELECT OUT_RASTILIPPU_ENTRIES_ID, OUT_STATUS, OUT_MESSAGE FROM E_RESULTS_CLASS.SELECT_WEB_ENTRY_CHIP("
               ":IN_RESULTS_CLASS_ID, :IN_CONTROL_CARD, :IN_LANGUAGE_CODE) ")});
        q.ParamByName(L("IN_RESULTS_CLASS_ID")).SetAsLargeInt(resultsClassId);
        q.ParamByName(L("IN_CONTROL_CARD")).SetAsString(controlCard);
        SetLanguage(q);
        q.Open();
        entriesId = NullId(q, L("OUT_RASTILIPPU_ENTRIES_ID"));
        status = NullStr(q, L("OUT_STATUS"));
        message = NullStr(q, L("OUT_MESSAGE"));
        q.Close();
    });
}

void TDataModule1::setWebEntryStatus(int64_t entriesId, int64_t resultsClassId, const QString& status, QString& message)
{
    RunReporting(L("setWebEntryStatus"), *fbTrUpdateCallFD, message, [&] {
        TFbQuery& q = SetStatement(*fbUpdateDefaultFD,
            {L("SELECT OUT_MESSAGE FROM E_RASTILIPPU_ENTRIES.SET_WEB_ENTRY_STATUS(:IN_RASTILIPPU_ENTRIES_ID, "
               ":IN_RESULTS_CLASS_ID, :IN_STATUS, :IN_LANGUAGE_CODE) ")});
        q.ParamByName(L("IN_RASTILIPPU_ENTRIES_ID")).SetAsLargeInt(entriesId);
        q.ParamByName(L("IN_RESULTS_CLASS_ID")).SetAsLargeInt(resultsClassId);
        q.ParamByName(L("IN_STATUS")).SetAsString(status);
        SetLanguage(q);
        q.Open();
        message = NullStr(q, L("OUT_MESSAGE"));
        q.Close();
    });
}

// ---- classes and courses ----

namespace {
const QString kClassStatement1 = QStringLiteral(
    "(:IN_EVENT_ID, :IN_CLASS_NAME, :IN_FEE, :IN_CALC_SCORING, :IN_MASS_START_TIME, :IN_CONTROLS_STRING, "
    ":IN_COURSE_LENGTH, :IN_CLIMB, :IN_NOTES, :IN_FINISH_CODE, :IN_LANGUAGE_CODE");
const QString kClassStatement2 = QStringLiteral(", :IN_CLASS_ID, :IN_COURSE_ID, :IN_ACTIVE_CLASS) ");

// An editor's number field: null when empty, else the number in the
// system's format (a text that is not a number raises).
void SetFloatText(TParam& P, const QString& Text)
{
    if (Text.isEmpty())
        P.Clear();
    else
        P.SetAsSingle(float(StrToFloat(Text)));
}
}  // namespace

void TDataModule1::insertClass(const QString& className, float fee, const QString& calcScoring, const QString& massStartTime,
                               const QString& controlsString, float courseLength, float climb, const QString& notes,
                               int finishCode, int64_t& classId, QString& message)
{
    RunReporting(L("insertClass"), *fbTrUpdateCallFD, message, [&] {
        TFbQuery& q = SetStatement(*fbUpdateDefaultFD,
            {L("SELECT OUT_CLASS_ID, OUT_MESSAGE FROM E_CLASS.CLASS_INSERT") + kClassStatement1, kClassStatement2});
        q.ParamByName(L("IN_EVENT_ID")).SetAsLargeInt(ProcessedEvent());
        q.ParamByName(L("IN_CLASS_NAME")).SetAsString(className);
        q.ParamByName(L("IN_FEE")).SetAsSingle(fee);
        q.ParamByName(L("IN_CALC_SCORING")).SetAsString(calcScoring);
        q.ParamByName(L("IN_MASS_START_TIME")).SetAsString(massStartTime);
        q.ParamByName(L("IN_CONTROLS_STRING")).SetAsString(controlsString);
        q.ParamByName(L("IN_COURSE_LENGTH")).SetAsSingle(courseLength);
        q.ParamByName(L("IN_CLIMB")).SetAsSingle(climb);
        q.ParamByName(L("IN_NOTES")).SetAsString(notes);
        q.ParamByName(L("IN_FINISH_CODE")).SetAsInteger(finishCode);
        SetLanguage(q);
        q.ParamByName(L("IN_CLASS_ID")).Clear();
        q.ParamByName(L("IN_COURSE_ID")).Clear();
        q.ParamByName(L("IN_ACTIVE_CLASS")).SetAsString(L("K"));
        q.Open();
        classId = NullId(q, L("OUT_CLASS_ID"));
        message = NullStr(q, L("OUT_MESSAGE"));
        q.Close();
        CommitWhenEmpty(*fbTrUpdateCallFD, message);
    }, CommitItself());
}

void TDataModule1::updateClass(const QString& className, const QString& fee, const QString& calcScoring,
                               const QString& massStartTime, const QString& controlsString, const QString& courseLength,
                               const QString& climb, const QString& notes, const QString& finishCode, int64_t classId,
                               int64_t courseId, const QString& activeClass, QString& message)
{
    RunReporting(L("updateClass"), *fbTrUpdateCallFD, message, [&] {
        TFbQuery& q = SetStatement(*fbUpdateDefaultFD,
            {L("SELECT OUT_CLASS_ID, OUT_MESSAGE FROM E_CLASS.CLASS_UPDATE") + kClassStatement1, kClassStatement2});
        q.ParamByName(L("IN_EVENT_ID")).SetAsLargeInt(ProcessedEvent());
        q.ParamByName(L("IN_CLASS_NAME")).SetAsString(className);
        SetFloatText(q.ParamByName(L("IN_FEE")), fee);
        q.ParamByName(L("IN_CALC_SCORING")).SetAsString(calcScoring);
        q.ParamByName(L("IN_MASS_START_TIME")).SetAsString(massStartTime);
        q.ParamByName(L("IN_CONTROLS_STRING")).SetAsString(controlsString);
        SetFloatText(q.ParamByName(L("IN_COURSE_LENGTH")), courseLength);
        SetFloatText(q.ParamByName(L("IN_CLIMB")), climb);
        q.ParamByName(L("IN_NOTES")).SetAsString(notes);
        if (finishCode.isEmpty())
            q.ParamByName(L("IN_FINISH_CODE")).Clear();
        else
            q.ParamByName(L("IN_FINISH_CODE")).SetAsInteger(StrToInt(finishCode));
        SetLanguage(q);
        q.ParamByName(L("IN_CLASS_ID")).SetAsLargeInt(classId);
        q.ParamByName(L("IN_COURSE_ID")).SetAsLargeInt(courseId);
        q.ParamByName(L("IN_ACTIVE_CLASS")).SetAsString(activeClass);
        q.Open();
        message = NullStr(q, L("OUT_MESSAGE"));
        q.Close();
        CommitWhenEmpty(*fbTrUpdateCallFD, message);
    }, CommitItself());
}

void TDataModule1::RunMarkDeleted(const QString& Method, const QString& Statement, const QString& Param, int64_t id,
                                  QString& errMsg)
{
    RunReporting(Method, *fbTrUpdateCallFD, errMsg, [&] {
        TFbQuery& q = SetStatement(*fbUpdateDefaultFD, {Statement});
        q.ParamByName(Param).SetAsLargeInt(id);
        q.Open();
        errMsg = NullStr(q, L("OUT_ERRMSG"));
        q.Close();
        CommitWhenEmpty(*fbTrUpdateCallFD, errMsg);
    }, CommitItself());
}

void TDataModule1::markClassesDeleted(int64_t eventId, QString& errMsg)
{
    RunMarkDeleted(L("markClassesDeleted"), L("SELECT OUT_ERRMSG FROM E_EVENT.MARK_CLASSES_DELETED(:IN_EVENT_ID) "),
                   L("IN_EVENT_ID"), eventId, errMsg);
}

void TDataModule1::markClassDeleted(int64_t classId, QString& errMsg)
{
    RunMarkDeleted(L("markClassDeleted"), L("SELECT OUT_ERRMSG FROM E_CLASS.MARK_CLASS_DELETED(:IN_CLASS_ID) "),
                   L("IN_CLASS_ID"), classId, errMsg);
}

// ---- client and event ----

void TDataModule1::insertClientMessage(int64_t eventId, const QString& messageType, const QString& messageKey,
                                       const QString& messageInfo, const QString& messageData)
{
    RunDbMethod(L("insertClientMessage"), *fbTrUpdateCallFD, [&] {
        CreateProcedureComponents();
        TFbStoredProc& p = *fbProcInsertClientMessageFD;
        p.ParamByName(L("IN_EVENT_ID")).SetAsLargeInt(eventId);
        p.ParamByName(L("IN_MESSAGE_TYPE")).SetAsString(messageType);
        p.ParamByName(L("IN_MESSAGE_KEY")).SetAsString(messageKey);
        p.ParamByName(L("IN_MESSAGE_INFO")).SetAsString(messageInfo);
        p.ParamByName(L("IN_MESSAGE_DATA")).SetAsString(messageData);
        p.ExecProc();
    });
}

void TDataModule1::updateClientLastEvent(int64_t eventId, QString& errMsg)
{
    RunReporting(L("updateClientLastEvent"), *fbTrUpdateCallFD, errMsg, [&] {
        TFbQuery& q = SetStatement(*fbUpdateDefaultFD, {L("SELECT OUT_ERRMSG FROM E_CLIENT.UPDATE_CLIENT_LAST_EVENT(:IN_EVENT_ID) ")});
        q.ParamByName(L("IN_EVENT_ID")).SetAsLargeInt(eventId);
        q.Open();
        errMsg = NullStr(q, L("OUT_ERRMSG"));
        q.Close();
    });
}

int64_t TDataModule1::getClientLastEvent()
{
    int64_t id = 0;
    RunDbMethod(L("getClientLastEvent"), *fbTrUpdateCallFD, [&] {
        TFbQuery& q = SetStatement(*fbUpdateDefaultFD, {L("SELECT OUT_EVENT_ID FROM E_CLIENT.HAE_CLIENT_LAST_EVENT ")});
        q.Open();
        id = ReqId(q, L("OUT_EVENT_ID"));
        q.Close();
    });
    return id;
}

void TDataModule1::sendAllEventMessages(int64_t eventId, QString& message)
{
    RunReporting(L("sendAllEventMessages"), *fbTrUpdateCallFD, message, [&] {
        TFbQuery& q = SetStatement(*fbUpdateDefaultFD, {L("SELECT OUT_MESSAGE FROM E_EVENT.SEND_ALL_EVENT_MESSAGES(:IN_EVENT_ID) ")});
        q.ParamByName(L("IN_EVENT_ID")).SetAsLargeInt(eventId);
        q.Open();
        message = NullStr(q, L("OUT_MESSAGE"));
        q.Close();
    });
}

// ---- upload queue ----

int TDataModule1::UnsentMessages(const QString& Method, bool Worker)
{
    int count = 0;
    const QString err = RunDbMethod(Method, Worker ? *fbTrUpdateCallWorkerFD : *fbTrUpdateCallFD, [&] {
        CreateProcedureComponents();
        TFbStoredProc& p = Worker ? *fbProcDataRepl_GetUnsentMessages_Worker : *fbProcDataRepl_GetUnsentMessages;
        p.ExecProc();
        count = NullInt(p.ParamByName(L("OUT_MESSAGE_COUNT")));
    }, OthersStyle(false));
    return err.isEmpty() ? count : 0;
}

int TDataModule1::getUnsentMessages()
{
    return UnsentMessages(L("getUnsentMessages"), false);
}

int TDataModule1::getUnsentMessagesWorker()
{
    return UnsentMessages(L("getUnsentMessagesWorker"), true);
}

int64_t TDataModule1::getNewSyncMessageId()
{
    int64_t id = 0;
    RunDbMethod(L("getNewSyncMessageId"), *fbTrUpdateCallWorkerFD, [&] {
        CreateProcedureComponents();
        TFbStoredProc& p = *fbProcDataRepl_GetNewSyncMessageId;
        p.ExecProc();
        id = NullId(p.ParamByName(L("OUT_SYNC_MESSAGE_ID")));
    }, OthersStyle(true));
    return id;
}
