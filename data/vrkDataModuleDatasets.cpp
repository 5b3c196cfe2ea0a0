// The datasets of the data module: their statements, parameters, keys,
// write permissions, update statements and transactions.

#include "data/vrkDataModule.h"

#include <QDateTime>

namespace {

QString Lines(std::initializer_list<const char*> l)
{
    QStringList r;
    for (const char* s : l)
        r << QString::fromUtf8(s);
    return r.join(QLatin1Char('\n'));
}

QString InsertSQL(const QString& Table, const QStringList& Cols, const QStringList& Returning = {})
{
    QStringList values;
    for (const QString& c : Cols)
        values << QStringLiteral(":NEW_") + c;
    QString sql = QStringLiteral("insert into %1 (%2)\nvalues (%3)")
                      .arg(Table, Cols.join(QStringLiteral(", ")), values.join(QStringLiteral(", ")));
    if (!Returning.isEmpty())
        sql += QStringLiteral("\nreturning ") + Returning.join(QStringLiteral(", "));
    return sql;
}

QString ModifySQL(const QString& Table, const QStringList& Cols, const QString& Key, const QStringList& Returning = {})
{
    QStringList sets;
    for (const QString& c : Cols)
        sets << c + QStringLiteral(" = :NEW_") + c;
    QString sql = QStringLiteral("update %1 set %2\nwhere %3 = :OLD_%3").arg(Table, sets.join(QStringLiteral(", ")), Key);
    if (!Returning.isEmpty())
        sql += QStringLiteral("\nreturning ") + Returning.join(QStringLiteral(", "));
    return sql;
}

QString DeleteSQL(const QString& Table, const QString& Key)
{
    return QStringLiteral("delete from %1 where %2 = :OLD_%2").arg(Table, Key);
}

QString FetchSQL(const QString& Table, const QString& Key)
{
    return QStringLiteral("select * from %1 where %2 = :%2").arg(Table, Key);
}

QStringList Cols(const char* spaceSeparated)
{
    return QString::fromLatin1(spaceSeparated).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// The run's columns that the dialogs write back; the placings
// (FINISH_POSITION, FINISH_REAL_POSITION, TIME_BEHIND) belong to the
// database and are only fetched.
const QStringList RunColumns = Cols(
    "RESULTS_CLASS_ID EVENT_ID LEG_NUMBER START_NUMBER START_NUMBER_XTRA CONTROL_CARD VARIATION PERSON_ID CLUB_ID "
    "ENTRY_FEE TIME_SEC STATUS CREDIT_PENALTY_SEC CREDIT_PENALTY_NOTES TEAM_NUMBER INSERTED UPDATED START_TIME "
    "FINISH_TIME CLASS_COURSE_ID ORIGIN_CLIENT_ID ORIGIN_CLIENT_NAME RENTED_CHIP RESULT_STATUS FIXED_START_TIME "
    "REGISTERED_TIME START_PUNCH_TIME CHIP_STRING FIRST_RESULT_STATUS ONLINE1_CC_ID ONLINE1_TIME_SEC ONLINE1_POSITION "
    "ONLINE1_TIME_BEHIND ONLINE2_CC_ID ONLINE2_TIME_SEC ONLINE2_POSITION ONLINE2_TIME_BEHIND ONLINE3_CC_ID "
    "ONLINE3_TIME_SEC ONLINE3_POSITION ONLINE3_TIME_BEHIND PERSON_NAME CLUB_NAME CLUB_ABBR LOCATION_NAME REGION_NAME "
    "REGION_ABBR COUNTRY RESULT_NOTES ADDITIONAL_CLASS_ID SPORTID ADDITIONAL_CLASS_NOTES PAYMENT_TYPE "
    "PAYMENT_METHOD_ID PAYMENT_PRICE PAYMENT_INFO CHIP_BALANCE_OPTIONS_ID CHIP_BALANCE_PAID CHIP_BALANCE_INFO "
    "CHIP_BALANCE_ADD CHIP_BALANCE_BEFORE VALIDATED_CLASS_ID VALIDATED_CLASS_COURSE_ID");

const QStringList RunCourseColumns = Cols(
    "RESULTS_CLASS_ALL_ID RESULTS_CLASS_ID CLASS_COURSE_ID TIME_SEC STATUS INSERTED UPDATED START_TIME FINISH_TIME "
    "FIXED_START_TIME REGISTERED_TIME START_PUNCH_TIME MISSING_CONTROLS MISSING_CONTROLS_COUNT COURSE_CONTROL_COUNT "
    "STATUS_REASON RESULT_NOTES CREDIT_PENALTY_TIME TIMES_CHANGED");

const QStringList ClubColumns = Cols(
    "CLUB_ID EVENT_SERIES_ID CLUB_NAME CLUB_ABBR LOCATION_NAME REGION_NAME REGION_ABBR COUNTRY WWW_ADDR "
    "SCORE_CALCULATION INSERTED UPDATED DO_SYNC DELETED");

const QStringList PersonColumns = Cols(
    "PERSON_ID EVENT_SERIES_ID PERSON_NAME PERSON_SEX CLUB_ID CONTROL_CARD LICENSE COUNTRY WEB_SHOW INSERTED UPDATED "
    "DO_SYNC DELETED PRINT_RECEIPT WEB_SHOW_ASKED PHONE_NUMBER SPORT_ID NEW_PERSON_ID");

const QStringList CourseColumns = Cols(
    "COURSE_ID EVENT_ID COURSE_NAME COURSE_LENGTH CLIMB NOTES CONTROLS_STRING DO_SYNC DELETED");

const QStringList ControlColumns = Cols(
    "CONTROL_ID EVENT_ID CONTROL_CODE PUNCHING_UNIT1 PUNCHING_UNIT2 PUNCHING_UNIT3 PUNCHING_UNIT4 PUNCHING_UNIT5 "
    "ONLINE_CONTROL INSERTED UPDATED DO_SYNC MANDATORY_CONTROL");

// The event columns the trees show: the mirror's columns without the
// organiser id and the timestamps, the map scale a second time.
const char* const EventTreeColumns =
    "select a.event_id, a.event_series_season_id, a.event_name, a.event_name2, a.arena_name, a.map_name, a.map_year,\n"
    "       a.map_scale, a.arena_quidance, a.arena_link, a.arena_quidance_link, a.map_icon, a.notes, a.winsplits_url,\n"
    "       a.winsplits_number, a.winsplits_pwd, a.routegadget_url, a.xml_results_url, a.pdf_results, a.event_director,\n"
    "       a.event_director_tel, a.event_director_email, a.event_courses_head, a.event_courses_head_tel,\n"
    "       a.event_courses_head_email, a.event_courses_2, a.event_courses_2_tel, a.event_courses_2_email,\n"
    "       a.event_result_service, a.event_result_service_tel, a.event_result_service_email, a.event_result_service_2,\n"
    "       a.event_result_service_2_tel, a.event_result_service_2_email, a.event_other_organizers, a.event_date,\n"
    "       a.map_url, a.event_start_time, a.event_organizer_club, a.event_hosts, a.default_calc_scoring, a.map_lat,\n"
    "       a.map_long, a.finish_code, a.web_entries, a.map_scale map_scale_1";

const char* const SeriesColumns =
    "select a.event_series_id, a.event_series_name, a.event_series_name2, a.www_addr, a.email, a.email2";
const char* const SeasonColumns =
    "select a.event_series_season_id, a.event_series_id, a.event_series_season_name, a.event_series_season_name2,\n"
    "       a.season_abbr, a.show_active";

// The columns of a run matched against a class-course (finish and check-in).
const char* const RunCourseSelect =
    "       C.CLASS_NAME, C2.COURSE_NAME, A.TIME_SEC, A.STATUS,\n"
    "       case when A.TIME_SEC = 0 then null else E_RESULTS_CLASS.HAE_AIKA(A.TIME_SEC) end TIME_STR,\n"
    "       A.START_TIME, A.FINISH_TIME, A.FIXED_START_TIME, A.REGISTERED_TIME, A.START_PUNCH_TIME,\n"
    "       A.MISSING_CONTROLS, A.MISSING_CONTROLS_COUNT, A.COURSE_CONTROL_COUNT, A.STATUS_REASON,\n"
    "       A.INSERTED, A.UPDATED, A.RESULT_NOTES, A.CREDIT_PENALTY_TIME, A.TIMES_CHANGED,\n"
    "       M.MESSAGE_TEXT STATUS_TXT,\n"
    "       case when C.ACTIVE_CLASS = 'K' then '' else\n"
    "         (select M2.MESSAGE_TEXT from VRK_MESSAGES M2\n"
    "          where M2.MESSAGE_NAME = 'class.active_class:' || C.ACTIVE_CLASS\n"
    "          and   M2.MESSAGE_LANGUAGE = :MESSAGE_LANGUAGE) end ACTIVE_CLASS_TXT\n";
const char* const RunCourseWhere =
    "and   M.MESSAGE_NAME = 'results_class.status:' || A.STATUS\n"
    "and   M.MESSAGE_LANGUAGE = :MESSAGE_LANGUAGE\n"
    "and   (C.ACTIVE_CLASS = 'K' or exists (select 1 from VRK_MESSAGES M3\n"
    "       where M3.MESSAGE_NAME = 'class.active_class:' || C.ACTIVE_CLASS\n"
    "       and   M3.MESSAGE_LANGUAGE = :MESSAGE_LANGUAGE))\n";


// How an update object answers with the row it wrote.
enum class TReturning { None, Key, All };

// The insert, modify, delete and fetch statements of one table over its
// columns; without delete and fetch for tables whose rows are never deleted
// from the dialog.
TFbUpdateSQL* NewUpdateSQL(TComponent* Owner, const QString& Name, const QString& Table, const QStringList& Columns,
                           const QString& Key, TReturning Returning, bool DeleteAndFetch = true)
{
    auto* u = new TFbUpdateSQL(Owner);
    u->SetName(Name);
    const QStringList all = Returning == TReturning::All ? Columns : QStringList();
    u->InsertSQL = InsertSQL(Table, Columns, Returning == TReturning::Key ? QStringList{Key} : all);
    u->ModifySQL = ModifySQL(Table, Columns, Key, all);
    if (DeleteAndFetch) {
        u->DeleteSQL = DeleteSQL(Table, Key);
        u->FetchRowSQL = FetchSQL(Table, Key);
    }
    return u;
}

// A dataset that only reads: its query and source, the transaction it runs
// in (none: the connection's default), its master source, key and statement.
struct TReadOnlyDataset {
    TFbQuery* TDataModule1::*Query;
    const char* QueryName;
    TDataSource* TDataModule1::*Source;
    const char* SourceName;
    TFbTransaction* TDataModule1::*Transaction;
    TDataSource* TDataModule1::*Master;
    const char* KeyFields;
    QString SQL;
};

using M = TDataModule1;

// The navigation trees: series, seasons and events to start with, the
// chosen event's series, season and event, and what hangs under them.
const TReadOnlyDataset kTreeDatasets[] = {
    {&M::fbQueryEventSeriesStartFD, "fbQueryEventSeriesStartFD", &M::IBCDSEventSeriesStartFD,
     "IBCDSEventSeriesStartFD", &M::fbTransactionTreeFD, nullptr, nullptr,
     Lines({SeriesColumns,
            "from vrk_client_event_series b, vrk_event_series a, vrk_client x",
            "where b.client_id = x.client_id",
            "and   b.event_series_id = a.event_series_id",
            "order by a.event_series_name"})},
    {&M::fbQueryEventSeriesSeasonStartFD, "fbQueryEventSeriesSeasonStartFD", &M::IBCDSEventSeriesSeasonStartFD,
     "IBCDSEventSeriesSeasonStartFD", &M::fbTransactionTreeFD, &M::IBCDSEventSeriesStartFD, nullptr,
     Lines({SeasonColumns,
            "from vrk_event_series_season a",
            "where A.EVENT_SERIES_ID = :EVENT_SERIES_ID",
            "order by a.event_series_season_name"})},
    {&M::fbQueryEventStartFD, "fbQueryEventStartFD", &M::IBCDSEventStartFD, "IBCDSEventStartFD",
     &M::fbTransactionTreeFD, &M::IBCDSEventSeriesSeasonStartFD, nullptr,
     Lines({EventTreeColumns,
            "from vrk_event a",
            "where a.event_series_season_id = :event_series_season_id",
            "and   a.deleted = 'E'",
            "order by a.event_date"})},
    {&M::fbQueryEventSeriesFD, "fbQueryEventSeriesFD", &M::IBCDSEventSeriesFD, "IBCDSEventSeriesFD",
     &M::fbTransactionTreeFD, nullptr, nullptr,
     Lines({SeriesColumns,
            "from vrk_client_event_series b, vrk_event_series a, vrk_client x",
            "where b.client_id = x.client_id",
            "and   b.event_series_id = a.event_series_id",
            "and   a.event_series_id = :EVENT_SERIES_ID",
            "order by a.event_series_name"})},
    {&M::fbQueryEventSeriesSeasonFD, "fbQueryEventSeriesSeasonFD", &M::IBCDSEventSeriesSeasonFD,
     "IBCDSEventSeriesSeasonFD", &M::fbTransactionTreeFD, &M::IBCDSEventSeriesFD, nullptr,
     Lines({SeasonColumns,
            "from vrk_event_series_season a",
            "where A.EVENT_SERIES_ID = :EVENT_SERIES_ID",
            "and   a.event_series_season_id = :EVENT_SERIES_SEASON_ID",
            "order by a.event_series_season_name"})},
    {&M::fbQueryEventFD, "fbQueryEventFD", &M::IBCDSEventFD, "IBCDSEventFD", &M::fbTransactionTreeFD,
     &M::IBCDSEventSeriesSeasonFD, nullptr,
     Lines({EventTreeColumns,
            "from vrk_event a",
            "where a.event_series_season_id = :event_series_season_id",
            "and   a.deleted = 'E'",
            "and   a.event_id = :EVENT_ID",
            "order by a.event_date"})},
    {&M::fbQueryPersonsFD, "fbQueryPersonsFD", &M::IBCDSPersonsFD, "IBCDSPersonsFD", &M::fbTransactionTreeFD,
     &M::IBCDSEventSeriesFD, nullptr,
     Lines({"select A.PERSON_ID, A.EVENT_SERIES_ID,",
            "       A.PERSON_NAME || case when B.CLUB_NAME is null then '' else ', ' || B.CLUB_NAME end PERSON_NAME,",
            "       A.CLUB_ID, A.CONTROL_CARD",
            "from VRK_PERSON A",
            "left outer join VRK_CLUB B on (B.CLUB_ID = A.CLUB_ID)",
            "where A.EVENT_SERIES_ID = :EVENT_SERIES_ID",
            "and   A.DELETED = 'E'",
            "order by upper(A.PERSON_NAME), upper(B.CLUB_NAME)"})},
    {&M::fbQueryClubsFD, "fbQueryClubsFD", &M::IBCDSClubsFD, "IBCDSClubsFD", &M::fbTransactionTreeFD,
     &M::IBCDSEventSeriesFD, nullptr,
     Lines({"select A.CLUB_ID, A.EVENT_SERIES_ID, A.CLUB_NAME, A.CLUB_ABBR",
            "from VRK_CLUB A",
            "where A.EVENT_SERIES_ID = :EVENT_SERIES_ID",
            "and   A.DELETED = 'E'",
            "order by upper(A.CLUB_NAME) "})},
    {&M::fbQuerySpecialCcFD, "fbQuerySpecialCcFD", &M::IBCDSSpecialCcFD, "IBCDSSpecialCcFD",
     &M::fbTransactionTreeFD, &M::IBCDSEventSeriesFD, nullptr,
     Lines({"select A.CHIP_ID, A.CONTROL_CARD, A.EVENT_SERIES_ID, A.CC_NAME, A.OWNER",
            "from VRK_SPECIAL_CC A",
            "where A.EVENT_SERIES_ID = :EVENT_SERIES_ID",
            "and   A.DELETED = 'E'",
            "order by A.CONTROL_CARD  "})},
    {&M::fbQueryClassFD, "fbQueryClassFD", &M::IBCDSClassFD, "IBCDSClassFD", &M::fbTransactionTreeFD,
     &M::IBCDSEventFD, nullptr,
     Lines({"select A.CLASS_ID, A.EVENT_ID, A.CLASS_NAME, A.FEE, A.CALC_SCORING, A.MASS_START_TIME, A.ACTIVE_CLASS",
            "from VRK_CLASS A",
            "where A.EVENT_ID = :EVENT_ID",
            "and   A.DELETED = 'E'",
            "and   exists (select 1 from VRK_CLASS_COURSE B, VRK_COURSE C",
            "              where B.CLASS_ID = A.CLASS_ID and C.COURSE_ID = B.COURSE_ID",
            "              and   B.DELETED = 'E' and C.DELETED = 'E')",
            "order by A.CLASS_NAME  "})},
    {&M::fbQueryClassCourseFD, "fbQueryClassCourseFD", &M::IBCDSClassCourseFD, "IBCDSClassCourseFD",
     &M::fbTransactionTreeFD, &M::IBCDSClassFD, nullptr,
     Lines({"select A.CLASS_COURSE_ID, A.CLASS_ID, A.COURSE_ID, B.COURSE_NAME, B.COURSE_LENGTH, B.CLIMB, B.NOTES,",
            "       B.CONTROLS_STRING, B.INSERTED, B.UPDATED,",
            "       B.COURSE_NAME || ' ' || case when B.COURSE_LENGTH = 0 then '' else '(' ||",
            "       cast(B.COURSE_LENGTH / cast(1000 as numeric(8,1)) as varchar(10)) || ')' end COURSE_NAME_TXT",
            "from VRK_COURSE B, VRK_CLASS_COURSE A",
            "where B.COURSE_ID = A.COURSE_ID",
            "and   A.CLASS_ID = :CLASS_ID",
            "order by B.COURSE_NAME "})},
};

// What the result and check-in dialogs read besides the run and its
// class-courses.
const TReadOnlyDataset kResultDialogDatasets[] = {
    {&M::fbQueryPunchesFD, "fbQueryPunchesFD", &M::dsPunchesFD, "dsPunchesFD", &M::fbTransactionUpdateDefaultFD,
     nullptr, nullptr,
     Lines({"select case when B.CONTROL_NUMBER = 0 then null else B.CONTROL_NUMBER end CONTROL_NUMBER,",
            "       case when B.CONTROL_CODE = 0 then null else B.CONTROL_CODE end CONTROL_CODE,",
            "       B.PUNCHED_CODE, B.PUNCH_TYPE,",
            "       case B.PUNCH_TYPE when 'Y' then 'Y' when 'M' then 'M' when 'L' then 'L'",
            "            when 'R' then case when B.PUNCHED_CODE is null then 'P' else 'O' end",
            "            else null end PUNCH_TYPE_TXT,",
            "       case when B.PUNCH_TYPE = 'N' then null else E_RESULTS_CLASS.HAE_AIKA_SHORT(B.LEG_TIME_SEC) end LEG_TIME_SEC_TXT,",
            "       case when B.TIME_SEC = 0 and B.PUNCH_TYPE <> 'N' then null",
            "            else E_RESULTS_CLASS.HAE_AIKA_SHORT(B.TIME_SEC) end TIME_SEC_TXT,",
            "       B.LEG_TIME_SEC, B.TIME_SEC,",
            "       case when B.PUNCH_TYPE = 'Y' or (B.PUNCH_TYPE = 'R' and B.PUNCHED_CODE is null) then 'K' else 'E' end ERROR_CONTROL,",
            "       case when B.PUNCH_TYPE = 'R' and B.PUNCHED_CODE is not null then 'Leima OK'",
            "            when B.PUNCH_TYPE = 'R' then 'Leima puuttuu'",
            "            when B.PUNCH_TYPE = 'Y' then 'Ylimääräinen leima'",
            "            when B.PUNCH_TYPE = 'N' then 'Nollaleimaus'",
            "            when B.PUNCH_TYPE = 'M' then 'Maalileimaus (aika pysähtyy)'",
            "            when B.PUNCH_TYPE = 'L' then 'Kortin luku tulospalveluun'",
            "            else '' end ROW_HINT",
            "from VRK_RESULTS_SPLITS B, VRK_RESULTS_CLASS_ALL A",
            "where A.RESULTS_CLASS_ALL_ID = :RESULTS_CLASS_ALL_ID",
            "and   B.RESULTS_CLASS_ID = A.RESULTS_CLASS_ID",
            "and   B.CLASS_COURSE_ID = A.CLASS_COURSE_ID",
            "order by B.PUNCH_ORDER  "})},
    // The lookups name no transaction of their own: the connection's default.
    {&M::fbQueryLookupPersonFD, "fbQueryLookupPersonFD", &M::dsLookupPersonFD, "dsLookupPersonFD", nullptr, nullptr,
     "PERSON_ID",
     Lines({"select * from (",
            "select A.PERSON_ID, A.PERSON_NAME, B.CLUB_NAME, A.PRINT_RECEIPT, cast('1' as varchar(1)) CHIP_TYPE,",
            "       cast('' as varchar(50)) CHIP_SOURCE, A.CONTROL_CARD",
            "from VRK_PERSON A",
            "left outer join VRK_CLUB B on (B.CLUB_ID = A.CLUB_ID)",
            "where A.EVENT_SERIES_ID = :EVENT_SERIES_ID",
            "and   A.DELETED = 'E'",
            "union",
            "select 0, '', '', 'E', '1', '', '' from RDB$DATABASE",
            "union",
            "select -999, P.PERSON_NAME, P.CLUB_NAME, 'K', '2', P.PERSON_CHIP_SOURCE, P.CONTROL_CARD",
            "from VRK_PERSON_CHIPS P",
            "where P.CONTROL_CARD = :CONTROL_CARD",
            "and   not exists (select 1 from VRK_PERSON Q",
            "                  where Q.EVENT_SERIES_ID = :EVENT_SERIES_ID and Q.DELETED = 'E'",
            "                  and   Q.CONTROL_CARD = :CONTROL_CARD)",
            ") X",
            "order by X.PERSON_NAME collate UNICODE_CI_AI"})},
    {&M::fbQuerySelectAdditionalClassFD, "fbQuerySelectAdditionalClassFD", &M::dsAdditionalClassFD,
     "dsAdditionalClassFD", &M::fbTransactionUpdateDefaultFD, nullptr, nullptr,
     Lines({"select * from (",
            "select distinct A.CLASS_ID, A.ADDITIONAL_CLASS_ID, A.CLASS_NAME",
            "from VRK_ADDITIONAL_CLASS A, VRK_CLASS_COURSE B",
            "where B.CLASS_COURSE_ID = :CLASS_COURSE_ID",
            "and   A.CLASS_ID = B.CLASS_ID",
            "union",
            "select cast(null as bigint), cast(null as bigint), '' from RDB$DATABASE",
            ") X",
            "order by X.CLASS_NAME collate UNICODE_CI"})},
    {&M::fbQueryWebEntriesFD, "fbQueryWebEntriesFD", &M::dsWebEntriesFD, "dsWebEntriesFD",
     &M::fbTransactionUpdateDefaultFD, nullptr, "RASTILIPPU_ENTRIES_ID",
     Lines({"select A.RASTILIPPU_ENTRIES_ID, A.EVENT_ID, A.REGISTRATION_TIME, A.SPORT_ID, A.EMIT_NR, A.LAST_NAME,",
            "       A.FIRST_NAME, A.STATUS, A.RENTAL_EMIT, cast(A.ENTRY_FEE as varchar(10)) ENTRY_FEE, A.RESULTS_CLASS_ID,",
            "       A.ADDITIONALDETAILS, case when A.PAYMENT_STATE = 'PAID' then 'K' else 'E' end PAYMENT_STATE",
            "from VRK_RASTILIPPU_ENTRIES A",
            "where A.STATUS = 'I' and",
            "A.EVENT_ID = :event_id",
            "order by A.LAST_NAME collate UNICODE_CI, A.FIRST_NAME collate UNICODE_CI"})},
    {&M::fbQueryPaymentMethodsFD, "fbQueryPaymentMethodsFD", &M::dsPaymentMethodsFD, "dsPaymentMethodsFD",
     &M::fbTrPaymentMethodFD, nullptr, "OUT_ID",
     Lines({"select OUT_ID, OUT_PAYMENT_TYPE, OUT_PAYMENT_METHOD_ID, OUT_PAYMENT_METHOD_NAME, OUT_PAYMENT_METHOD_PRICE, "
            "OUT_SELECTED_METHOD, OUT_CHIP_BALANCE_BEFORE",
            "from E_CHIP_BALANCE.GET_PAYMENT_METHODS(:EVENT_ID, :CONTROL_CARD, :RESULTS_CLASS_ID, :MESSAGE_LANGUAGE);"})},
    {&M::fbQueryChipBalanceOptionsFD, "fbQueryChipBalanceOptionsFD", &M::dsChipBalanceOptionsFD,
     "dsChipBalanceOptionsFD", &M::fbTrChipBalanceOptionsFD, nullptr, "CHIP_BALANCE_OPTIONS_ID",
     Lines({"select CHIP_BALANCE_OPTIONS_ID, PAYMENT_OPTION_NAME, PAYMENT_OPTION_PRICE, PAYMENT_OPTION_ADD_TO_BALANCE",
            "from vrk_chip_balance_options a",
            "where a.event_series_id = :EVENT_SERIES_ID",
            "and a.option_active = 'K'",
            "order by a.chip_balance_options_id;"})},
};

// The club choice of the person editor, with an empty row for no club.
const TReadOnlyDataset kLookupClubDataset = {
    &M::fbQueryLookupClubFD, "fbQueryLookupClubFD", &M::dsLookupClubFD, "dsLookupClubFD", nullptr, nullptr, nullptr,
    Lines({"select * from (",
           "select A.CLUB_ID, A.CLUB_NAME",
           "from VRK_CLUB A",
           "where A.EVENT_SERIES_ID = :EVENT_SERIES_ID",
           "and   A.DELETED = 'E'",
           "union",
           "select cast(null as bigint), '' from RDB$DATABASE",
           ") X",
           "order by X.CLUB_NAME collate UNICODE_CI "})};

}  // namespace

void TDataModule1::LoadResultsGridLookups()
{
    FResultsGridTexts.clear();
    FResultsGridCourses.clear();
    FResultsGridFields.clear();
    TFbQuery& q = SetStatement(*fbQueryResultsCFD,
        {Lines({"select M.MESSAGE_NAME, M.MESSAGE_TEXT from VRK_MESSAGES M",
                "where M.MESSAGE_LANGUAGE = :MESSAGE_LANGUAGE",
                "and   (M.MESSAGE_NAME starting with 'results_class.result_status:'",
                "       or M.MESSAGE_NAME starting with 'results_class.status:')"})});
    if (TParam* lang = fbQueryResultsCFD->Params().FindParam(QStringLiteral("MESSAGE_LANGUAGE")))
        q.ParamByName(QStringLiteral("MESSAGE_LANGUAGE")).AssignParam(*lang);
    else
        q.ParamByName(QStringLiteral("MESSAGE_LANGUAGE")).SetAsString(LanguageCode());
    FResultsGridLanguage = q.ParamByName(QStringLiteral("MESSAGE_LANGUAGE")).AsString();
    q.Open();
    TField* name = q.FieldByName(QStringLiteral("MESSAGE_NAME"));
    TField* text = q.FieldByName(QStringLiteral("MESSAGE_TEXT"));
    for (; !q.Eof(); q.Next())
        FResultsGridTexts.insert(name->AsString(), text->AsString());
    q.Close();

    TFbQuery& k = SetStatement(*fbQueryResultsCFD,
        {Lines({"select B.CLASS_COURSE_ID, B.CLASS_ID, C.CLASS_NAME, C.MASS_START_TIME, D.COURSE_NAME,",
                "       D.COURSE_LENGTH, D.CLIMB",
                "from VRK_CLASS_COURSE B",
                "left outer join VRK_CLASS C on (C.CLASS_ID = B.CLASS_ID)",
                "left outer join VRK_COURSE D on (D.COURSE_ID = B.COURSE_ID)",
                "where B.CLASS_COURSE_ID in (select A.CLASS_COURSE_ID from VRK_RESULTS_CLASS A",
                "                            where A.EVENT_ID = :EVENT_ID)"})});
    k.ParamByName(QStringLiteral("EVENT_ID")).AssignParam(fbQueryResultsCFD->ParamByName(QStringLiteral("EVENT_ID")));
    k.Open();
    for (; !k.Eof(); k.Next()) {
        std::vector<QVariant> row;
        for (int i = 1; i < k.FieldCount(); ++i)
            row.push_back(k.Fields()[i]->RawValue());
        FResultsGridCourses.insert(k.Fields()[0]->AsLargeInt(), std::move(row));
    }
    k.Close();
}

bool TDataModule1::RefreshChangedRuns()
{
    // More changed runs than this are read faster by one requery.
    constexpr int kMostRunsReadAgain = 200;
    TFbQuery& grid = *fbQueryResultsCFD;
    if (!grid.Active() || grid.State() != dsBrowse
        || grid.ParamByName(QStringLiteral("MESSAGE_LANGUAGE")).AsString() != FResultsGridLanguage)
        return false;
    if (!FResultsGridChanges.Started())
        return false;
    try {
        const QSet<int64_t> changed = FResultsGridChanges.Changed(grid, QDateTime::currentMSecsSinceEpoch());
        if (changed.size() > kMostRunsReadAgain)
            return false;
        // A changed run that is not read again was deleted (or is another
        // event's: the grid has no row of it to drop).
        QList<QVariantList> gone;
        // Class and course names and the status texts may have changed
        // without any run changing (the course editor refreshes the grid).
        const auto texts = FResultsGridTexts;
        const auto courses = FResultsGridCourses;
        LoadResultsGridLookups();
        const bool lookupsChanged = texts != FResultsGridTexts || courses != FResultsGridCourses;
        std::vector<std::vector<QVariant>> rows;
        if (!changed.isEmpty()) {
            TFbQuery& q = SetStatement(grid, {grid.SQL().Text(), QStringLiteral("and A.RESULTS_CLASS_ID = :RUN_ID")});
            q.ParamByName(QStringLiteral("event_id")).AssignParam(grid.ParamByName(QStringLiteral("event_id")));
            for (const int64_t run : changed) {
                q.Close();
                q.ParamByName(QStringLiteral("RUN_ID")).SetAsLargeInt(run);
                q.Open();
                if (q.IsEmpty()) {
                    gone << QVariantList{QVariant::fromValue<qlonglong>(run)};
                    continue;
                }
                std::vector<QVariant> row;
                row.reserve(size_t(q.FieldCount()));
                for (int i = 0; i < q.FieldCount(); ++i)
                    row.push_back(q.Fields()[i]->RawValue());
                rows.push_back(std::move(row));
            }
            q.Close();
        }
        if (!rows.empty() || !gone.isEmpty() || lookupsChanged)
            grid.RefreshRows(std::move(rows), gone, lookupsChanged);
        return true;
    } catch (const std::exception&) {
        // The whole requery tells what went wrong.
        return false;
    }
}

void TDataModule1::ResultsGridCalcFields(TDataSet* d)
{
    enum { kResultStatusCode, kStatusCode, kClassCourseId, kResultStatus, kStatus, kCourseFirst };
    if (FResultsGridFields.empty()) {
        for (const char* n : {"RESULT_STATUS_CODE", "STATUS_CODE", "CLASS_COURSE_ID", "RESULT_STATUS", "STATUS",
                              "CLASS_ID", "CLASS_NAME", "MASS_START_TIME", "COURSE_NAME", "COURSE_LENGTH", "CLIMB"})
            FResultsGridFields.push_back(d->FieldByName(QString::fromLatin1(n)));
    }
    TField** f = FResultsGridFields.data();
    const QVariant code = f[kResultStatusCode]->RawValue();
    const QVariant status = f[kStatusCode]->RawValue();
    auto text = [this](const QString& prefix, const QVariant& c) {
        if (!c.isValid())
            return QVariant();
        auto it = FResultsGridTexts.constFind(prefix + c.toString());
        return it == FResultsGridTexts.constEnd() ? QVariant() : QVariant(*it);
    };
    f[kResultStatus]->SetRawValue(text(QStringLiteral("results_class.result_status:"), code));
    const QString c = code.toString();
    f[kStatus]->SetRawValue(c == QLatin1String("I") || c == QLatin1String("M")
                               ? QVariant()
                               : text(QStringLiteral("results_class.status:"), status));

    const QVariant cc = f[kClassCourseId]->RawValue();
    auto it = cc.isValid() ? FResultsGridCourses.constFind(cc.toLongLong()) : FResultsGridCourses.constEnd();
    for (size_t i = 0; i < 6; ++i)
        f[kCourseFirst + i]->SetRawValue(it == FResultsGridCourses.constEnd() ? QVariant() : (*it)[i]);
}

void TDataModule1::CreateDatasets()
{
    auto readOnly = [this](const TReadOnlyDataset& e) {
        TFbQuery* q = NewQuery(QString::fromLatin1(e.QueryName), e.Transaction ? this->*e.Transaction : nullptr);
        q->SQL().SetText(e.SQL);
        if (e.Master)
            q->SetMasterSource(this->*e.Master);
        if (e.KeyFields)
            q->SetKeyFieldNames(QString::fromLatin1(e.KeyFields));
        q->SetReadOnly(true);
        this->*e.Query = q;
        this->*e.Source = NewSource(QString::fromLatin1(e.SourceName), q);
    };
    for (const TReadOnlyDataset& e : kTreeDatasets)
        readOnly(e);
    CreateResultsGrid();
    CreateCurrentResult();
    CreateRunCourses();
    for (const TReadOnlyDataset& e : kResultDialogDatasets)
        readOnly(e);
    CreateClubEditor();
    CreatePersonEditor();
    readOnly(kLookupClubDataset);
    CreateCourseEditor();
    CreateControlEditor();
}

void TDataModule1::CreateResultsGrid()
{
    fbQueryResultsCFD = NewQuery(QStringLiteral("fbQueryResultsCFD"), fbTrMainGridFD);
    // One row per run. A run with several upload-queue rows stays one row:
    // the queue is asked with EXISTS rather than joined and made distinct,
    // which gives the same rows without sorting every run of the event.
    // RESULT_STATUS_CODE is "V" for an accepted run while the upload queue
    // holds a row for it, "W" once none is left, else the run's own code.
    // RESULT_STATUS and STATUS are the VRK_MESSAGES texts of the two codes
    // in MESSAGE_LANGUAGE, and CLASS_ID, CLASS_NAME, MASS_START_TIME,
    // COURSE_NAME, COURSE_LENGTH and CLIMB those of the run's class-course
    // (left joined: empty without one); all are filled as calculated fields
    // from what is read before each open, since five index lookups per run
    // cost the database more than the rest of the row.
    fbQueryResultsCFD->SQL().SetText(Lines({
        "select A.RESULTS_CLASS_ID, A.EVENT_ID, A.LEG_NUMBER, A.START_NUMBER, A.START_NUMBER_XTRA, A.VARIATION,",
        "       A.PERSON_ID, A.CLUB_ID, A.ENTRY_FEE, A.TIME_SEC, A.CREDIT_PENALTY_SEC, A.CREDIT_PENALTY_NOTES,",
        "       A.TEAM_NUMBER, substring(cast(cast(A.INSERTED as time) as varchar(13)) from 1 for 8) INSERTED,",
        "       A.UPDATED, A.START_TIME, A.FINISH_TIME, A.CLASS_COURSE_ID, A.ORIGIN_CLIENT_ID, A.ORIGIN_CLIENT_NAME,",
        "       A.RENTED_CHIP, A.FIXED_START_TIME, A.REGISTERED_TIME, A.START_PUNCH_TIME, A.PERSON_NAME, A.CLUB_NAME,",
        "       A.LOCATION_NAME, A.REGION_NAME, A.RESULT_NOTES,",
        "       case when A.CONTROL_CARD in ('000000', '99999999') then null else A.CONTROL_CARD end CONTROL_CARD,",
        "       case when A.RESULT_STATUS = 'V' then",
        "         case when exists (select 1 from VRK_DATA_REPLICATION X",
        "                           where X.REPL_DATA_ID = A.RESULTS_CLASS_ID",
        "                           and   X.REPL_DATA = 'VRK_RESULTS_CLASS') then 'V' else 'W' end",
        "       else A.RESULT_STATUS end RESULT_STATUS_CODE,",
        "       A.STATUS STATUS_CODE,",
        "       case when A.RESULT_STATUS in ('I', 'M') then null",
        // most runs have no penalty at all (null), and their time must show
        "            else E_RESULTS_CLASS.HAE_AIKA(A.TIME_SEC + coalesce(A.CREDIT_PENALTY_SEC, 0)) end TIME_STR,",
        "       case when A.RESULT_STATUS in ('I', 'M') then null",
        "            else E_RESULTS_CLASS.HAE_AIKA(A.CREDIT_PENALTY_SEC) end PENALTY_TIME_STR",
        "from VRK_RESULTS_CLASS A",
        "where A.EVENT_ID = :event_id"}));
    fbQueryResultsCFD->Params().Add(QStringLiteral("MESSAGE_LANGUAGE")).SetAsString(QStringLiteral("FI"));
    fbQueryResultsCFD->AddField(QStringLiteral("CLASS_ID"), ftLargeint, 0, fkCalculated);
    fbQueryResultsCFD->AddField(QStringLiteral("CLASS_NAME"), ftWideString, 100, fkCalculated);
    fbQueryResultsCFD->AddField(QStringLiteral("MASS_START_TIME"), ftWideString, 10, fkCalculated);
    fbQueryResultsCFD->AddField(QStringLiteral("COURSE_NAME"), ftWideString, 100, fkCalculated);
    fbQueryResultsCFD->AddField(QStringLiteral("COURSE_LENGTH"), ftInteger, 0, fkCalculated);
    fbQueryResultsCFD->AddField(QStringLiteral("CLIMB"), ftInteger, 0, fkCalculated);
    fbQueryResultsCFD->AddField(QStringLiteral("RESULT_STATUS"), ftWideString, 1000, fkCalculated);
    fbQueryResultsCFD->AddField(QStringLiteral("STATUS"), ftWideString, 1000, fkCalculated);
    // The change log is read before the runs: a run changed in between is
    // read again by the next refresh rather than missed. Without a log the
    // grid is read whole at each refresh.
    fbQueryResultsCFD->BeforeExecute = [this](TFbQuery*) {
        LoadResultsGridLookups();
        try {
            FResultsGridChanges.Start(*fbQueryResultsCFD, QDateTime::currentMSecsSinceEpoch());
        } catch (const std::exception&) {
        }
    };
    fbQueryResultsCFD->OnCalcFields = [this](TDataSet* d) { ResultsGridCalcFields(d); };
    fbQueryResultsCFD->SetKeyFieldNames(QStringLiteral("RESULTS_CLASS_ID"));
    fbQueryResultsCFD->UpdateOptions().EnableInsert = false;
    fbQueryResultsCFD->UpdateOptions().EnableUpdate = false;
    fbQueryResultsCFD->UpdateOptions().EnableDelete = false;
    dsResultsClassFD = NewSource(QStringLiteral("dsResultsClassFD"), fbQueryResultsCFD);
}

void TDataModule1::OpenCurrentResult(int64_t ResultsClassId, bool ReadOnly)
{
    TFbQuery* run = fbQueryCurrResultFD;
    run->Close();
    TFbTransaction* t = fbTransactionUpdateDefaultFD;
    if (ReadOnly && !t->Active()) {
        t->ReadOnly = true;
        try {
            t->StartTransaction();
        } catch (...) {
            t->ReadOnly = false;
            throw;
        }
        t->ReadOnly = false;
    }
    run->ParamByName(QStringLiteral("RESULTS_CLASS_ID")).SetAsLargeInt(ResultsClassId);
    run->Open();
    run->Locate(QStringLiteral("RESULTS_CLASS_ID"), QVariant::fromValue<qlonglong>(ResultsClassId));
}

void TDataModule1::CreateCurrentResult()
{
    FDUpdateSQL1 = NewUpdateSQL(this, QStringLiteral("FDUpdateSQL1"), QStringLiteral("VRK_RESULTS_CLASS"), RunColumns,
                                QStringLiteral("RESULTS_CLASS_ID"), TReturning::Key);
    fbQueryCurrResultFD = NewQuery(QStringLiteral("fbQueryCurrResultFD"), fbTransactionUpdateDefaultFD);
    // The dialogs handle one run at a time: reading every run of the table
    // to go to one made each card read cost more the more runs there were.
    fbQueryCurrResultFD->SQL().SetText(Lines({"select *", "from   vrk_results_class a",
                                              "where  a.results_class_id = :RESULTS_CLASS_ID"}));
    fbQueryCurrResultFD->SetKeyFieldNames(QStringLiteral("RESULTS_CLASS_ID"));
    fbQueryCurrResultFD->SetUpdateObject(FDUpdateSQL1);
    dsCurrResultFD = NewSource(QStringLiteral("dsCurrResultFD"), fbQueryCurrResultFD);
}

// The run's class-courses: the check-in dialog edits them; the finish
// dialog reads them with a row for a run read at the finish only.
void TDataModule1::CreateRunCourses()
{
    FDUpdateSQL2 = NewUpdateSQL(this, QStringLiteral("FDUpdateSQL2"), QStringLiteral("VRK_RESULTS_CLASS_ALL"),
                                RunCourseColumns, QStringLiteral("RESULTS_CLASS_ALL_ID"), TReturning::Key);
    fbQuerySelectClassCourseFD = NewQuery(QStringLiteral("fbQuerySelectClassCourseFD"), fbTransactionUpdateDefaultFD);
    fbQuerySelectClassCourseFD->SQL().SetText(Lines({
        "select A.RESULTS_CLASS_ALL_ID, A.RESULTS_CLASS_ID, A.CLASS_COURSE_ID,", RunCourseSelect,
        "from VRK_RESULTS_CLASS_ALL A, VRK_CLASS_COURSE B, VRK_CLASS C, VRK_COURSE C2, VRK_MESSAGES M",
        "where A.RESULTS_CLASS_ID = :RESULTS_CLASS_ID",
        "and   B.CLASS_COURSE_ID = A.CLASS_COURSE_ID and B.DELETED = 'E'",
        "and   C.CLASS_ID = B.CLASS_ID and C.DELETED = 'E'",
        "and   C2.COURSE_ID = B.COURSE_ID", RunCourseWhere,
        "order by C.CLASS_NAME, C2.COURSE_NAME "}));
    fbQuerySelectClassCourseFD->SetKeyFieldNames(QStringLiteral("RESULTS_CLASS_ALL_ID"));
    fbQuerySelectClassCourseFD->SetUpdateObject(FDUpdateSQL2);
    dsClassCourseFD = NewSource(QStringLiteral("dsClassCourseFD"), fbQuerySelectClassCourseFD);

    fbQuerySelectClassCourseFFD = NewQuery(QStringLiteral("fbQuerySelectClassCourseFFD"), fbTransactionUpdateDefaultFD);
    fbQuerySelectClassCourseFFD->SQL().SetText(Lines({
        "select A.RESULTS_CLASS_ALL_ID, A.CLASS_COURSE_ID,", RunCourseSelect,
        "from VRK_RESULTS_CLASS_ALL A, VRK_CLASS_COURSE B, VRK_CLASS C, VRK_COURSE C2, VRK_MESSAGES M",
        "where A.RESULTS_CLASS_ID = :RESULTS_CLASS_ID",
        "and   B.CLASS_COURSE_ID = A.CLASS_COURSE_ID",
        "and   C.CLASS_ID = B.CLASS_ID",
        "and   C2.COURSE_ID = B.COURSE_ID", RunCourseWhere,
        "union",
        "select 0, 0, '', '', 0, '', null,",
        "       R.START_TIME, R.FINISH_TIME, R.FIXED_START_TIME, R.REGISTERED_TIME, R.START_PUNCH_TIME,",
        "       '', 0, 0, '', R.INSERTED, R.UPDATED, '', null, '', '', ''",
        "from VRK_RESULTS_CLASS R",
        "where R.RESULTS_CLASS_ID = :RESULTS_CLASS_ID2",
        "and   (R.RESULT_STATUS = 'M' or R.FIRST_RESULT_STATUS = 'M')",
        "order by 3, 4  "}));  // CLASS_NAME, COURSE_NAME (a union sorts by position)
    fbQuerySelectClassCourseFFD->SetReadOnly(true);
    dsClassCourseFFD = NewSource(QStringLiteral("dsClassCourseFFD"), fbQuerySelectClassCourseFFD);
}

void TDataModule1::CreateClubEditor()
{
    FDUpdateVRKCLUB = NewUpdateSQL(this, QStringLiteral("FDUpdateVRKCLUB"), QStringLiteral("VRK_CLUB"), ClubColumns,
                                   QStringLiteral("CLUB_ID"), TReturning::All);
    fbQueryClubFD = NewQuery(QStringLiteral("fbQueryClubFD"), fbTrClubFD);
    fbQueryClubFD->SQL().SetText(Lines({"select *", "from   vrk_club a", "where a.event_series_id = :event_series_id",
                                        "and a.deleted = 'E'", "order by a.club_name collate UNICODE_CI"}));
    fbQueryClubFD->SetKeyFieldNames(QStringLiteral("CLUB_ID"));
    fbQueryClubFD->UpdateOptions().EnableDelete = false;
    fbQueryClubFD->SetUpdateObject(FDUpdateVRKCLUB);
    dsClubFD = NewSource(QStringLiteral("dsClubFD"), fbQueryClubFD);
}

// The person editor writes through statements generated from the key over
// the person columns; the explicit update object is kept but bound to none.
void TDataModule1::CreatePersonEditor()
{
    FDUpdateVRKPERSON = NewUpdateSQL(this, QStringLiteral("FDUpdateVRKPERSON"), QStringLiteral("VRK_PERSON"),
                                     PersonColumns, QStringLiteral("PERSON_ID"), TReturning::None);
    fbQueryPersonFD = NewQuery(QStringLiteral("fbQueryPersonFD"), fbTrPersonFD);
    fbQueryPersonFD->SQL().SetText(Lines({"select *", "from   vrk_person a", "where a.event_series_id = :event_series_id",
                                          "and a.deleted = 'E'"}));
    fbQueryPersonFD->SetKeyFieldNames(QStringLiteral("PERSON_ID"));
    fbQueryPersonFD->UpdateOptions().EnableDelete = false;
    fbQueryPersonFD->UpdateOptions().UpdateTableName = QStringLiteral("VRK_PERSON");
    fbQueryPersonFD->UpdateOptions().UpdateFields = PersonColumns.join(QLatin1Char(';'));
    dsPersonFD = NewSource(QStringLiteral("dsPersonFD"), fbQueryPersonFD);
}

// Courses are never deleted from the editor: no delete or fetch statement.
void TDataModule1::CreateCourseEditor()
{
    FDUpdateVRKCOURSE = NewUpdateSQL(this, QStringLiteral("FDUpdateVRKCOURSE"), QStringLiteral("VRK_COURSE"),
                                     CourseColumns, QStringLiteral("COURSE_ID"), TReturning::All, false);
    fbQueryCourseFD = NewQuery(QStringLiteral("fbQueryCourseFD"), fbTrCourseFD);
    fbQueryCourseFD->SQL().SetText(Lines({
        "select A.EVENT_ID, A.CLASS_ID, A.CLASS_NAME, A.FEE, A.CALC_SCORING, A.MASS_START_TIME, A.INSERTED, A.UPDATED,",
        "       A.ACTIVE_CLASS, C.COURSE_ID, C.COURSE_NAME, C.COURSE_LENGTH, C.CLIMB, C.NOTES, C.CONTROLS_STRING,",
        "       C.DO_SYNC, C.DELETED, D.FINISH_CODE",
        "from VRK_EVENT D, VRK_COURSE C, VRK_CLASS_COURSE B, VRK_CLASS A",
        "where D.EVENT_ID = :event_id",
        "and   A.EVENT_ID = D.EVENT_ID and A.DELETED = 'E'",
        "and   B.CLASS_ID = A.CLASS_ID and B.DELETED = 'E'",
        "and   C.COURSE_ID = B.COURSE_ID"}));
    fbQueryCourseFD->SetKeyFieldNames(QStringLiteral("COURSE_ID"));
    fbQueryCourseFD->UpdateOptions().EnableDelete = false;
    fbQueryCourseFD->SetUpdateObject(FDUpdateVRKCOURSE);
    dsCourseFD = NewSource(QStringLiteral("dsCourseFD"), fbQueryCourseFD);
}

void TDataModule1::CreateControlEditor()
{
    FDUpdateVRKCONTROLS = NewUpdateSQL(this, QStringLiteral("FDUpdateVRKCONTROLS"), QStringLiteral("VRK_CONTROLS"),
                                       ControlColumns, QStringLiteral("CONTROL_ID"), TReturning::All);
    fbQueryControlFD = NewQuery(QStringLiteral("fbQueryControlFD"), fbTrControlFD);
    fbQueryControlFD->SQL().SetText(Lines({"select *", "from   vrk_controls a", "where a.event_id = :event_id"}));
    fbQueryControlFD->SetKeyFieldNames(QStringLiteral("CONTROL_ID"));
    fbQueryControlFD->SetUpdateObject(FDUpdateVRKCONTROLS);
    dsControlFD = NewSource(QStringLiteral("dsControlFD"), fbQueryControlFD);
}
