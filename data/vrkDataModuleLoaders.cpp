// The loaders of the entity mirrors and the client row's write-back. Each
// loader is one unit of work on fbTransactionDefaultFD with the shared query
// fbQueryDefaultFD; a missing row resets the mirror to its empty values.

#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"

#include "app/vrkDoMessage.h"
#include "resources/ProgramTexts.h"

namespace {

// A loader only reads: its transaction starts read-only.
TDbMethodOptions ReadOnlyUnit()
{
    TDbMethodOptions o;
    o.ReadOnly = true;
    return o;
}

}  // namespace

void TDataModule1::getClientData()
{
    CreateEntityGlobals();
    RunDbMethod(QStringLiteral("getClientData"), *fbTransactionDefaultFD, [&] {
        TFbQuery& q = SetStatement(*fbQueryDefaultFD,
            {QStringLiteral("select a.client_id, a.client_name, a.owner, a.in_use, a.notes, a.client_version, "
                            "a.first_sync_done, a.client_secret from vrk_client a where a.in_use = 'K' ")});
        q.Open();
        TClient& c = *Client;
        if (q.IsEmpty()) {
            c.Setclient_id(0);
            c.Setclient_name(QString());
            c.Setowner(QString());
            c.Setin_use(QStringLiteral("N"));
            c.Setnotes(QString());
            c.Setclient_version(QString());
            c.Setfirst_sync_done(QStringLiteral("Y"));
            c.Setclient_secret(QString());
        } else {
            c.Setclient_id(ReqId(q, QStringLiteral("CLIENT_ID")));
            c.Setclient_name(ReqStr(q, QStringLiteral("CLIENT_NAME")));
            c.Setowner(NullStr(q, QStringLiteral("OWNER")));
            c.Setin_use(ReqStr(q, QStringLiteral("IN_USE")));
            c.Setnotes(NullStr(q, QStringLiteral("NOTES")));
            c.Setclient_version(NullStr(q, QStringLiteral("CLIENT_VERSION")));
            c.Setfirst_sync_done(ReqStr(q, QStringLiteral("FIRST_SYNC_DONE")));
            c.Setclient_secret(NullStr(q, QStringLiteral("CLIENT_SECRET")));
        }
        fbTransactionDefaultFD->Commit();
        q.Close();
    });
}

void TDataModule1::getEventSeriesData(int64_t id)
{
    CreateEntityGlobals();
    RunDbMethod(QStringLiteral("getEventSeriesData"), *fbTransactionDefaultFD, [&] {
        TFbQuery& q = SetStatement(*fbQueryDefaultFD,
            {QStringLiteral("select a.event_series_id, a.event_series_name, a.event_series_name2, a.www_addr, a.email, "
                            "a.email2, a.inserted, a.updated, a.chip_balance_in_use, a.payment_flex_amount "),
             QStringLiteral("from vrk_event_series a "),
             QStringLiteral("where a.event_series_id = :event_series_id ")});
        q.ParamByName(QStringLiteral("event_series_id")).SetAsLargeInt(id);
        q.Open();
        TEvent_Series& s = *eventSeries;
        if (q.IsEmpty()) {
            s = TEvent_Series();
        } else {
            s.Setevent_series_id(ReqId(q, QStringLiteral("EVENT_SERIES_ID")));
            s.Setevent_series_name(ReqStr(q, QStringLiteral("EVENT_SERIES_NAME")));
            s.Setevent_series_name2(NullStr(q, QStringLiteral("EVENT_SERIES_NAME2")));
            s.Setwww_addr(NullStr(q, QStringLiteral("WWW_ADDR")));
            s.Setemail(NullStr(q, QStringLiteral("EMAIL")));
            s.Setemail2(NullStr(q, QStringLiteral("EMAIL2")));
            s.Setinserted(ReqStr(q, QStringLiteral("INSERTED")));
            s.Setupdated(ReqStr(q, QStringLiteral("UPDATED")));
            s.Setchip_balance_in_use(NullStr(q, QStringLiteral("CHIP_BALANCE_IN_USE")));
            s.Setpayment_flex_amount(NullSingle(q, QStringLiteral("PAYMENT_FLEX_AMOUNT")));
        }
        fbTransactionDefaultFD->Commit();
        q.Close();
    }, ReadOnlyUnit());
}

void TDataModule1::getEventSeriesSeasonData(int64_t id)
{
    CreateEntityGlobals();
    RunDbMethod(QStringLiteral("getEventSeriesSeasonData"), *fbTransactionDefaultFD, [&] {
        TFbQuery& q = SetStatement(*fbQueryDefaultFD,
            {QStringLiteral("select a.event_series_season_id, a.event_series_id, a.event_series_season_name, "
                            "a.event_series_season_name2, a.season_abbr, a.show_active, a.inserted, a.updated "),
             QStringLiteral("from vrk_event_series_season a "),
             QStringLiteral("where a.event_series_season_id = :event_series_season_id ")});
        q.ParamByName(QStringLiteral("event_series_season_id")).SetAsLargeInt(id);
        q.Open();
        TEvent_Series_Season& s = *eventSeriesSeason;
        if (q.IsEmpty()) {
            s = TEvent_Series_Season();
        } else {
            s.Setevent_series_season_id(ReqId(q, QStringLiteral("EVENT_SERIES_SEASON_ID")));
            s.Setevent_series_id(ReqId(q, QStringLiteral("EVENT_SERIES_ID")));
            s.Setevent_series_season_name(ReqStr(q, QStringLiteral("EVENT_SERIES_SEASON_NAME")));
            s.Setevent_series_season_name2(NullStr(q, QStringLiteral("EVENT_SERIES_SEASON_NAME2")));
            s.Setseason_abbr(ReqStr(q, QStringLiteral("SEASON_ABBR")));
            s.Setshow_active(ReqStr(q, QStringLiteral("SHOW_ACTIVE")));
            s.Setinserted(ReqStr(q, QStringLiteral("INSERTED")));
            s.Setupdated(ReqStr(q, QStringLiteral("UPDATED")));
        }
        fbTransactionDefaultFD->Commit();
        q.Close();
    }, ReadOnlyUnit());
}

// ---- events: the row, then the counters, each a unit of work ----

namespace {

const char* const EventSelect =
    "select a.event_id, a.event_series_season_id, a.event_name, a.event_name2, a.arena_name, a.map_name, a.map_year, "
    "a.map_scale, a.arena_quidance, a.arena_link, a.arena_quidance_link, a.map_icon, a.notes, a.winsplits_url, "
    "a.winsplits_number, a.winsplits_pwd, a.routegadget_url, a.xml_results_url, a.pdf_results, a.event_director, "
    "a.event_director_tel, a.event_director_email, a.event_courses_head, a.event_courses_head_tel, "
    "a.event_courses_head_email, a.event_courses_2, a.event_courses_2_tel, a.event_courses_2_email, "
    "a.event_result_service, a.event_result_service_tel, a.event_result_service_email, a.event_result_service_2, "
    "a.event_result_service_2_tel, a.event_result_service_2_email, a.event_other_organizers, a.event_date, a.map_url, "
    "a.event_start_time, a.event_organizer_club, a.inserted, a.updated, a.event_hosts, a.default_calc_scoring, "
    "a.map_lat, a.map_long, a.finish_code, a.web_entries, a.event_organizer_id ";

void ResetEvent(TEvent& e)
{
    const int counters[6] = {e.results(), e.in_forest(), e.mp(), e.dnf(), e.no_time(), e.classess()};
    e = TEvent();
    e.Setevent_date(EncodeDate(2000, 1, 1));
    e.Setweb_entries(QStringLiteral("E"));
    e.Setresults(counters[0]);
    e.Setin_forest(counters[1]);
    e.Setmp(counters[2]);
    e.Setdnf(counters[3]);
    e.Setno_time(counters[4]);
    e.Setclassess(counters[5]);
}

void CopyEvent(TDataSet& q, TEvent& e)
{
    auto n = [&](const char* f) { return NullStr(q, QString::fromLatin1(f)); };
    auto r = [&](const char* f) { return ReqStr(q, QString::fromLatin1(f)); };
    e.Setevent_id(ReqId(q, QStringLiteral("EVENT_ID")));
    e.Setevent_series_season_id(ReqId(q, QStringLiteral("EVENT_SERIES_SEASON_ID")));
    e.Setevent_name(r("EVENT_NAME"));
    e.Setevent_name2(n("EVENT_NAME2"));
    e.Setarena_name(r("ARENA_NAME"));
    e.Setmap_name(r("MAP_NAME"));
    e.Setmap_year(n("MAP_YEAR"));
    e.Setmap_scale(n("MAP_SCALE"));
    e.Setarena_quidance(n("ARENA_QUIDANCE"));
    e.Setarena_link(n("ARENA_LINK"));
    e.Setarena_quidance_link(n("ARENA_QUIDANCE_LINK"));
    e.Setmap_icon(n("MAP_ICON"));
    e.Setnotes(n("NOTES"));
    e.Setwinsplits_url(n("WINSPLITS_URL"));
    e.Setwinsplits_number(n("WINSPLITS_NUMBER"));
    e.Setwinsplits_pwd(n("WINSPLITS_PWD"));
    e.Setroutegadget_url(n("ROUTEGADGET_URL"));
    e.Setxml_results_url(n("XML_RESULTS_URL"));
    e.Setpdf_results(n("PDF_RESULTS"));
    e.Setevent_director(n("EVENT_DIRECTOR"));
    e.Setevent_director_tel(n("EVENT_DIRECTOR_TEL"));
    e.Setevent_director_email(n("EVENT_DIRECTOR_EMAIL"));
    e.Setevent_courses_head(n("EVENT_COURSES_HEAD"));
    e.Setevent_courses_head_tel(n("EVENT_COURSES_HEAD_TEL"));
    e.Setevent_courses_head_email(n("EVENT_COURSES_HEAD_EMAIL"));
    e.Setevent_courses_2(n("EVENT_COURSES_2"));
    e.Setevent_courses_2_tel(n("EVENT_COURSES_2_TEL"));
    e.Setevent_courses_2_email(n("EVENT_COURSES_2_EMAIL"));
    e.Setevent_result_service(n("EVENT_RESULT_SERVICE"));
    e.Setevent_result_service_tel(n("EVENT_RESULT_SERVICE_TEL"));
    e.Setevent_result_service_email(n("EVENT_RESULT_SERVICE_EMAIL"));
    e.Setevent_result_service_2(n("EVENT_RESULT_SERVICE_2"));
    e.Setevent_result_service_2_tel(n("EVENT_RESULT_SERVICE_2_TEL"));
    e.Setevent_result_service_2_email(n("EVENT_RESULT_SERVICE_2_EMAIL"));
    e.Setevent_other_organizers(n("EVENT_OTHER_ORGANIZERS"));
    e.Setevent_date(ReqDateTime(q, QStringLiteral("EVENT_DATE")));
    e.Setmap_url(n("MAP_URL"));
    e.Setevent_start_time(r("EVENT_START_TIME"));
    e.Setevent_organizer_club(n("EVENT_ORGANIZER_CLUB"));
    e.Setinserted(r("INSERTED"));
    e.Setupdated(r("UPDATED"));
    e.Setevent_hosts(n("EVENT_HOSTS"));
    e.Setdefault_calc_scoring(n("DEFAULT_CALC_SCORING"));
    e.Setmap_lat(n("MAP_LAT"));
    e.Setmap_long(n("MAP_LONG"));
    e.Setfinish_code(n("FINISH_CODE"));
    e.Setweb_entries(NullStr(q, QStringLiteral("WEB_ENTRIES"), QStringLiteral("E")));
    e.Setevent_organizer_id(NullId(q, QStringLiteral("EVENT_ORGANIZER_ID")));
}

}  // namespace

bool TDataModule1::LoadEventRow(const QString& LoaderName, int64_t id, bool IntoProcessed)
{
    QString failure;
    TDbMethodOptions opt;
    opt.LogStyle = TDbLogStyle::Others;
    opt.MessagePrefix = txt::DbException + QLatin1Char(' ');
    opt.ErrorMessage = &failure;
    // (read after every card read: no header page written at its start)
    opt.ReadOnly = true;
    const QString err = RunDbMethod(LoaderName + QStringLiteral(".selectVrkEvent"), *fbTransactionDefaultFD, [&] {
        TFbQuery& q = SetStatement(*fbQueryDefaultFD, {QString::fromLatin1(EventSelect),
                                                       QStringLiteral("from vrk_event a "),
                                                       QStringLiteral("where a.event_id = :event_id ")});
        q.ParamByName(QStringLiteral("event_id")).SetAsLargeInt(id);
        q.Open();
        TEvent& e = IntoProcessed ? *processedEvent : *event;
        if (q.IsEmpty()) {
            // The processed event keeps what it had; only its counters follow.
            if (!IntoProcessed)
                ResetEvent(e);
        } else {
            CopyEvent(q, e);
        }
        fbTransactionDefaultFD->Commit();
        q.Close();
    }, opt);
    if (!err.isEmpty()) {
        do_message(false, DbMethodLogText(LoaderName, failure, TDbLogStyle::Others), MSG_ERROR);
        return false;
    }
    return true;
}

void TDataModule1::LoadEventStats(const QString& LoaderName, int64_t id, bool IntoProcessed)
{
    TEvent& e = IntoProcessed ? *processedEvent : *event;
    e.Setresults(0);
    e.Setin_forest(0);
    e.Setmp(0);
    e.Setdnf(0);
    e.Setno_time(0);
    e.Setclassess(0);
    QString failure;
    TDbMethodOptions opt;
    opt.LogStyle = TDbLogStyle::Others;
    opt.MessagePrefix = txt::DbException + QLatin1Char(' ');
    opt.ErrorMessage = &failure;
    opt.ReadOnly = true;
    const QString err = RunDbMethod(LoaderName + QStringLiteral(".getEventStats"), *fbTransactionDefaultFD, [&] {
        TFbStoredProc& p = *fbProcEvent_GetEventStats;
        p.ParamByName(QStringLiteral("IN_EVENT_ID")).SetAsLargeInt(id);
        SetLanguage(p);
        p.ExecProc();
        e.Setresults(NullInt(p.ParamByName(QStringLiteral("OUT_RESULTS"))));
        e.Setin_forest(NullInt(p.ParamByName(QStringLiteral("OUT_IN_FOREST"))));
        e.Setmp(NullInt(p.ParamByName(QStringLiteral("OUT_MP"))));
        e.Setdnf(NullInt(p.ParamByName(QStringLiteral("OUT_DNF"))));
        e.Setno_time(NullInt(p.ParamByName(QStringLiteral("OUT_NO_TIME"))));
        e.Setclassess(NullInt(p.ParamByName(QStringLiteral("OUT_CLASSES"))));
    }, opt);
    if (!err.isEmpty())
        do_message(false, DbMethodLogText(LoaderName, failure, TDbLogStyle::Others), MSG_ERROR);
}

void TDataModule1::getEventData(int64_t id)
{
    CreateEntityGlobals();
    if (LoadEventRow(QStringLiteral("getEventData"), id, false))
        LoadEventStats(QStringLiteral("getEventData"), id, false);
}

void TDataModule1::getProcessedEventData(int64_t id)
{
    CreateEntityGlobals();
    if (LoadEventRow(QStringLiteral("getProcessedEventData"), id, true))
        LoadEventStats(QStringLiteral("getProcessedEventData"), id, true);
}

// ---- persons, clubs, cards, classes, class-courses, runs ----

void TDataModule1::getPersonData(int64_t id)
{
    CreateEntityGlobals();
    RunDbMethod(QStringLiteral("getPersonData"), *fbTransactionDefaultFD, [&] {
        TFbQuery& q = SetStatement(*fbQueryDefaultFD,
            {QStringLiteral("select A.PERSON_ID, A.EVENT_SERIES_ID, A.PERSON_NAME || case when B.CLUB_NAME is null "
                            "then '' else ', ' || B.CLUB_NAME end PERSON_CLUB, "),
             QStringLiteral("A.PERSON_NAME, A.PERSON_SEX, A.CLUB_ID, A.CONTROL_CARD, A.LICENSE, A.COUNTRY, A.WEB_SHOW, "
                            "A.INSERTED, A.UPDATED, B.CLUB_NAME, A.PRINT_RECEIPT, A.WEB_SHOW_ASKED, A.PHONE_NUMBER, "
                            "A.SPORT_ID, A.INFOTEXT "),
             QStringLiteral("from VRK_PERSON A "),
             QStringLiteral("left outer join VRK_CLUB B on (B.CLUB_ID = A.CLUB_ID) "),
             QStringLiteral("where A.person_id = :person_id ")});
        q.ParamByName(QStringLiteral("person_id")).SetAsLargeInt(id);
        q.Open();
        TPerson& p = *person;
        if (q.IsEmpty()) {
            p = TPerson();
        } else {
            p.Setperson_id(ReqId(q, QStringLiteral("PERSON_ID")));
            p.Setevent_series_id(ReqId(q, QStringLiteral("EVENT_SERIES_ID")));
            p.Setperson_name(ReqStr(q, QStringLiteral("PERSON_NAME")));
            p.Setperson_sex(NullStr(q, QStringLiteral("PERSON_SEX")));
            p.Setclub_id(NullId(q, QStringLiteral("CLUB_ID")));
            p.Setcontrol_card(NullStr(q, QStringLiteral("CONTROL_CARD")));
            p.Setlicense(NullStr(q, QStringLiteral("LICENSE")));
            p.Setcountry(NullStr(q, QStringLiteral("COUNTRY")));
            p.Setweb_show(ReqStr(q, QStringLiteral("WEB_SHOW")));
            p.Setinserted(ReqStr(q, QStringLiteral("INSERTED")));
            p.Setupdated(ReqStr(q, QStringLiteral("UPDATED")));
            p.Setperson_club(ReqStr(q, QStringLiteral("PERSON_CLUB")));
            p.Setclub_name(NullStr(q, QStringLiteral("CLUB_NAME")));
            p.Setprint_receipt(NullStr(q, QStringLiteral("PRINT_RECEIPT")));
            p.Setweb_show_asked(NullStr(q, QStringLiteral("WEB_SHOW_ASKED")));
            p.Setphone_number(NullStr(q, QStringLiteral("PHONE_NUMBER")));
            p.Setsport_id(NullStr(q, QStringLiteral("SPORT_ID")));
            p.Setinfotext(NullStr(q, QStringLiteral("INFOTEXT")));
        }
        fbTransactionDefaultFD->Commit();
        q.Close();
    }, ReadOnlyUnit());
}

void TDataModule1::getClubData(int64_t id)
{
    CreateEntityGlobals();
    RunDbMethod(QStringLiteral("getClubData"), *fbTransactionDefaultFD, [&] {
        TFbQuery& q = SetStatement(*fbQueryDefaultFD,
            {QStringLiteral("select a.club_id, a.event_series_id, a.club_name, a.club_abbr, a.location_name, "
                            "a.region_name, a.region_abbr, a.country, a.www_addr, a.score_calculation, a.inserted, "
                            "a.updated "),
             QStringLiteral("from vrk_club a "),
             QStringLiteral("where a.club_id = :club_id ")});
        q.ParamByName(QStringLiteral("club_id")).SetAsLargeInt(id);
        q.Open();
        TClub& c = *club;
        if (q.IsEmpty()) {
            c = TClub();
        } else {
            c.Setclub_id(ReqId(q, QStringLiteral("CLUB_ID")));
            c.Setevent_series_id(ReqId(q, QStringLiteral("EVENT_SERIES_ID")));
            c.Setclub_name(ReqStr(q, QStringLiteral("CLUB_NAME")));
            c.Setclub_abbr(NullStr(q, QStringLiteral("CLUB_ABBR")));
            c.Setlocation_name(NullStr(q, QStringLiteral("LOCATION_NAME")));
            c.Setregion_name(NullStr(q, QStringLiteral("REGION_NAME")));
            c.Setregion_abbr(NullStr(q, QStringLiteral("REGION_ABBR")));
            c.Setcountry(NullStr(q, QStringLiteral("COUNTRY")));
            c.Setwww_addr(NullStr(q, QStringLiteral("WWW_ADDR")));
            c.Setscore_calculation(NullStr(q, QStringLiteral("SCORE_CALCULATION")));
            c.Setinserted(ReqStr(q, QStringLiteral("INSERTED")));
            c.Setupdated(ReqStr(q, QStringLiteral("UPDATED")));
        }
        fbTransactionDefaultFD->Commit();
        q.Close();
    }, ReadOnlyUnit());
}

void TDataModule1::getSpecialCcData(int64_t id)
{
    CreateEntityGlobals();
    RunDbMethod(QStringLiteral("getSpecialCcData"), *fbTransactionDefaultFD, [&] {
        TFbQuery& q = SetStatement(*fbQueryDefaultFD,
            {QStringLiteral("select A.CHIP_ID, A.CONTROL_CARD, A.EVENT_SERIES_ID, A.CC_NAME, A.OWNER, A.YEAR_MONTH, "
                            "A.COMMENTS, A.INSERTED, A.UPDATED "),
             QStringLiteral("from VRK_SPECIAL_CC A "),
             QStringLiteral("where a.chip_id = :chip_id ")});
        q.ParamByName(QStringLiteral("chip_id")).SetAsLargeInt(id);
        q.Open();
        TSpecialCc& c = *specialCc;
        if (q.IsEmpty()) {
            c = TSpecialCc();
        } else {
            c.Setchip_id(ReqId(q, QStringLiteral("CHIP_ID")));
            c.Setcontrol_card(ReqId(q, QStringLiteral("CONTROL_CARD")));
            c.Setevent_series_id(ReqId(q, QStringLiteral("EVENT_SERIES_ID")));
            c.Setcc_name(ReqStr(q, QStringLiteral("CC_NAME")));
            c.Setowner(NullStr(q, QStringLiteral("OWNER")));
            c.Setyear_month(NullStr(q, QStringLiteral("YEAR_MONTH")));
            c.Setcomments(NullStr(q, QStringLiteral("COMMENTS")));
            c.Setinserted(ReqStr(q, QStringLiteral("INSERTED")));
            c.Setupdated(ReqStr(q, QStringLiteral("UPDATED")));
        }
        fbTransactionDefaultFD->Commit();
        q.Close();
    }, ReadOnlyUnit());
}

void TDataModule1::getClassData(int64_t id)
{
    CreateEntityGlobals();
    RunDbMethod(QStringLiteral("getClassData"), *fbTransactionDefaultFD, [&] {
        TFbQuery& q = SetStatement(*fbQueryDefaultFD,
            {QStringLiteral("select A.CLASS_ID, A.EVENT_ID, A.CLASS_NAME, A.FEE, A.CALC_SCORING, A.MASS_START_TIME, "
                            "A.INSERTED, A.UPDATED "),
             QStringLiteral("from VRK_CLASS A "),
             QStringLiteral("where a.class_id = :class_id ")});
        q.ParamByName(QStringLiteral("class_id")).SetAsLargeInt(id);
        q.Open();
        TClass& c = *event_class;
        if (q.IsEmpty()) {
            c = TClass();
        } else {
            c.Setclass_id(ReqId(q, QStringLiteral("CLASS_ID")));
            c.Setevent_id(ReqId(q, QStringLiteral("EVENT_ID")));
            c.Setclass_name(ReqStr(q, QStringLiteral("CLASS_NAME")));
            c.SetFee(NullSingle(q, QStringLiteral("FEE")));
            c.Setcalc_scoring(NullStr(q, QStringLiteral("CALC_SCORING")));
            c.Setmass_start_time(NullStr(q, QStringLiteral("MASS_START_TIME")));
            c.Setinserted(ReqStr(q, QStringLiteral("INSERTED")));
            c.Setupdated(ReqStr(q, QStringLiteral("UPDATED")));
        }
        fbTransactionDefaultFD->Commit();
        q.Close();
    }, ReadOnlyUnit());
}

void TDataModule1::getClassCourseData(int64_t id)
{
    CreateEntityGlobals();
    RunDbMethod(QStringLiteral("getClassCourseData"), *fbTransactionDefaultFD, [&] {
        TFbQuery& q = SetStatement(*fbQueryDefaultFD,
            {QStringLiteral("select A.CLASS_COURSE_ID, A.CLASS_ID, A.COURSE_ID, B.COURSE_NAME, B.COURSE_LENGTH, "
                            "B.CLIMB, B.NOTES, B.CONTROLS_STRING, B.INSERTED, B.UPDATED, "),
             QStringLiteral("B.COURSE_NAME || ' ' || "),
             QStringLiteral("case when B.COURSE_LENGTH = 0 then '' else '(' || cast(B.COURSE_LENGTH / cast(1000 as "
                            "numeric(8,1)) as varchar(10)) || ')' end COURSE_NAME_TXT "),
             QStringLiteral("from VRK_COURSE B, VRK_CLASS_COURSE A "),
             QStringLiteral("where B.COURSE_ID = A.COURSE_ID and A.CLASS_COURSE_ID = :class_course_id ")});
        q.ParamByName(QStringLiteral("class_course_id")).SetAsLargeInt(id);
        q.Open();
        TClassCourse& c = *classCourse;
        if (q.IsEmpty()) {
            c = TClassCourse();
        } else {
            c.Setclass_course_id(ReqId(q, QStringLiteral("CLASS_COURSE_ID")));
            c.Setclass_id(ReqId(q, QStringLiteral("CLASS_ID")));
            c.Setcourse_id(ReqId(q, QStringLiteral("COURSE_ID")));
            c.Setcourse_name(ReqStr(q, QStringLiteral("COURSE_NAME")));
            c.Setcourse_length(NullInt(q, QStringLiteral("COURSE_LENGTH")));
            c.Setclimb(NullInt(q, QStringLiteral("CLIMB")));
            c.Setnotes(NullStr(q, QStringLiteral("NOTES")));
            c.Setcontrol_string(NullStr(q, QStringLiteral("CONTROLS_STRING")));
            c.Setinserted(ReqStr(q, QStringLiteral("INSERTED")));
            c.Setupdated(ReqStr(q, QStringLiteral("UPDATED")));
            c.SetcourseNameTxt(NullStr(q, QStringLiteral("COURSE_NAME_TXT")));
        }
        fbTransactionDefaultFD->Commit();
        q.Close();
    }, ReadOnlyUnit());
}

void TDataModule1::getResultsClassData(int64_t id)
{
    RunDbMethod(QStringLiteral("getResultsClassData"), *fbTransactionDefaultFD, [&] {
        ReadResultsClassRow(*fbQueryDefaultFD, id);
        fbTransactionDefaultFD->Commit();
    }, ReadOnlyUnit());
}

void TDataModule1::ReadResultsClassRow(TFbQuery& Shared, int64_t id)
{
    CreateEntityGlobals();
    TFbQuery& q = SetStatement(Shared,
        {QStringLiteral("select A.RESULTS_CLASS_ID, A.EVENT_ID, A.LEG_NUMBER, A.START_NUMBER, A.START_NUMBER_XTRA, "
                        "A.CONTROL_CARD, A.VARIATION, A.PERSON_ID, A.CLUB_ID, A.ENTRY_FEE, A.TIME_SEC, A.STATUS, "
                        "A.CREDIT_PENALTY_SEC, A.CREDIT_PENALTY_NOTES, A.TEAM_NUMBER, A.INSERTED, A.UPDATED, "
                        "A.START_TIME, A.FINISH_TIME, A.CLASS_COURSE_ID, A.ORIGIN_CLIENT_ID, A.ORIGIN_CLIENT_NAME, "
                        "A.RENTED_CHIP, A.RESULT_STATUS, A.FIXED_START_TIME, A.REGISTERED_TIME, A.START_PUNCH_TIME, "
                        "A.CHIP_STRING, A.FIRST_RESULT_STATUS, A.ONLINE1_CC_ID, A.ONLINE1_TIME_SEC, "
                        "A.ONLINE1_POSITION, A.ONLINE1_TIME_BEHIND, A.ONLINE2_CC_ID, A.ONLINE2_TIME_SEC, "
                        "A.ONLINE2_POSITION, A.ONLINE2_TIME_BEHIND, A.ONLINE3_CC_ID, A.ONLINE3_TIME_SEC, "
                        "A.ONLINE3_POSITION, A.ONLINE3_TIME_BEHIND, A.PERSON_NAME, A.CLUB_NAME, A.CLUB_ABBR, "
                        "A.LOCATION_NAME, A.REGION_NAME, A.REGION_ABBR, A.COUNTRY, A.PAYMENT_PRICE, A.PAYMENT_INFO, "
                        "A.CHIP_BALANCE_OPTIONS_ID, A.CHIP_BALANCE_PAID, A.CHIP_BALANCE_INFO, A.CHIP_BALANCE_ADD, "
                        "A.CHIP_BALANCE_BEFORE "),
         QStringLiteral("from VRK_RESULTS_CLASS A "),
         QStringLiteral("where A.RESULTS_CLASS_ID = :RESULTS_CLASS_ID ")});
    q.ParamByName(QStringLiteral("RESULTS_CLASS_ID")).SetAsLargeInt(id);
    q.Open();
    TResultsClass& r = *resultsClass;
    if (q.IsEmpty()) {
        r = TResultsClass();
        r.Setstatus(QStringLiteral("0"));
    } else {
        auto n = [&](const char* f) { return NullStr(q, QString::fromLatin1(f)); };
        auto s = [&](const char* f) { return ReqStr(q, QString::fromLatin1(f)); };
        auto id0 = [&](const char* f) { return NullId(q, QString::fromLatin1(f)); };
        auto i0 = [&](const char* f) { return NullInt(q, QString::fromLatin1(f)); };
        auto f0 = [&](const char* f) { return NullSingle(q, QString::fromLatin1(f)); };
        auto dt = [&](const char* f) { return NullDateTime(q, QString::fromLatin1(f)); };
        auto m0 = [&](const char* f) { return NullMoney(q, QString::fromLatin1(f)); };
        r.Setresults_class_id(ReqId(q, QStringLiteral("RESULTS_CLASS_ID")));
        r.Setevent_id(ReqId(q, QStringLiteral("EVENT_ID")));
        r.Setleg_number(ReqInt(q, QStringLiteral("LEG_NUMBER")));
        r.Setstart_number(i0("START_NUMBER"));
        r.Setstart_number_xtra(n("START_NUMBER_XTRA"));
        r.Setcontrol_card(n("CONTROL_CARD"));
        r.Setvariation(n("VARIATION"));
        r.Setperson_id(id0("PERSON_ID"));
        r.Setclub_id(id0("CLUB_ID"));
        r.Setentry_fee(f0("ENTRY_FEE"));
        r.Settime_sec(f0("TIME_SEC"));
        r.Setstatus(NullStr(q, QStringLiteral("STATUS"), QStringLiteral("0")));
        r.Setcredit_penalty_sec(f0("CREDIT_PENALTY_SEC"));
        r.Setcredit_penalty_notes(n("CREDIT_PENALTY_NOTES"));
        r.Setteam_number(n("TEAM_NUMBER"));
        r.Setinserted(s("INSERTED"));
        r.Setupdated(s("UPDATED"));
        r.Setstart_time(dt("START_TIME"));
        r.Setfinish_time(dt("FINISH_TIME"));
        r.Setclass_course_id(ReqId(q, QStringLiteral("CLASS_COURSE_ID")));
        r.Setorigin_client_id(ReqId(q, QStringLiteral("ORIGIN_CLIENT_ID")));
        r.Setorigin_client_name(s("ORIGIN_CLIENT_NAME"));
        r.Setrented_chip(s("RENTED_CHIP"));
        r.Setresult_status(s("RESULT_STATUS"));
        r.Setfixed_start_time(dt("FIXED_START_TIME"));
        r.Setregistered_time(dt("REGISTERED_TIME"));
        r.Setstart_punch_time(dt("START_PUNCH_TIME"));
        r.Setchip_string(n("CHIP_STRING"));
        r.Setfirst_result_status(s("FIRST_RESULT_STATUS"));
        r.Setonline1_cc_id(id0("ONLINE1_CC_ID"));
        r.Setonline1_time_sec(id0("ONLINE1_TIME_SEC"));
        r.Setonline1_position(i0("ONLINE1_POSITION"));
        r.Setonline1_time_behind(f0("ONLINE1_TIME_BEHIND"));
        r.Setonline2_cc_id(id0("ONLINE2_CC_ID"));
        r.Setonline2_time_sec(id0("ONLINE2_TIME_SEC"));
        r.Setonline2_position(i0("ONLINE2_POSITION"));
        r.Setonline2_time_behind(f0("ONLINE2_TIME_BEHIND"));
        r.Setonline3_cc_id(id0("ONLINE3_CC_ID"));
        r.Setonline3_time_sec(id0("ONLINE3_TIME_SEC"));
        r.Setonline3_position(i0("ONLINE3_POSITION"));
        r.Setonline3_time_behind(f0("ONLINE3_TIME_BEHIND"));
        r.Setperson_name(s("PERSON_NAME"));
        r.Setclub_name(n("CLUB_NAME"));
        r.Setclub_abbr(n("CLUB_ABBR"));
        r.Setlocation_name(n("LOCATION_NAME"));
        r.Setregion_name(n("REGION_NAME"));
        r.Setregion_abbr(n("REGION_ABBR"));
        r.Setcountry(n("COUNTRY"));
        r.SetPaymentPrice(m0("PAYMENT_PRICE"));
        r.SetPaymentInfo(n("PAYMENT_INFO"));
        r.SetChipBalanceOptionsId(id0("CHIP_BALANCE_OPTIONS_ID"));
        r.SetChipBalancePaid(m0("CHIP_BALANCE_PAID"));
        r.SetChipBalanceInfo(n("CHIP_BALANCE_INFO"));
        r.SetChipBalanceAdd(m0("CHIP_BALANCE_ADD"));
        r.SetChipBalanceBefore(m0("CHIP_BALANCE_BEFORE"));
    }
    q.Close();
}

// ---- the client row's write-back ----

void TClient::updateDB()
{
    TDataModule1& dm = *DataModule1;
    TFbTransaction& t = *dm.fbTrUpdateCallFD;
    try {
        if (!t.Active())
            t.StartTransaction();
        TFbStoredProc& p = *dm.fbProcUpdateClientFD;
        p.ParamByName(QStringLiteral("IN_CLIENT")).SetAsLargeInt(client_id());
        p.ParamByName(QStringLiteral("IN_CLIENT_NAME")).SetAsString(client_name());
        p.ParamByName(QStringLiteral("IN_OWNER")).SetAsString(owner());
        p.ParamByName(QStringLiteral("IN_IN_USE")).SetAsString(in_use());
        p.ParamByName(QStringLiteral("IN_NOTES")).SetAsString(notes());
        p.ParamByName(QStringLiteral("IN_CLIENT_VERSION")).SetAsString(client_version());
        p.ParamByName(QStringLiteral("IN_FIRST_SYNC_DONE")).SetAsString(first_sync_done());
        p.ParamByName(QStringLiteral("IN_DO_SYNC")).SetAsString(do_sync());
        p.ParamByName(QStringLiteral("IN_CLIENT_SECRET")).SetAsString(client_secret());
        p.ExecProc();
        t.Commit();
    } catch (const std::exception& e) {
        do_message(true, QStringLiteral("(TClient.updateDB) ") + txt::DbException + QLatin1Char(' ') + ExceptionMessage(e),
                   MSG_ERROR);
        if (t.Active()) {
            try {
                t.Rollback();
            } catch (...) {
            }
        }
    }
}
