// The main window's web calls: login, registration, event calendar and event
// data. The calendar commits series by series; the event data is written in
// one transaction together with the deletion marks of the event's classes,
// so a download that fails half-way leaves the classes as they were instead
// of losing the ones not yet written again.

#include "sync/WebMainCalls.h"

#include "platform/database/FbConnection.h"
#include "platform/database/FbQuery.h"
#include "platform/http/RESTClient.h"
#include "platform/rtl/FileUtils.h"
#include "sync/ReplicateInputs.h"
#include "sync/jsonnode.h"

using namespace replinput;

namespace {

constexpr TInKind Id = TInKind::ikId;
constexpr TInKind Int = TInKind::ikInteger;
constexpr TInKind Ts = TInKind::ikTimestamp;
constexpr TInKind Amt = TInKind::ikAmount;
constexpr TInKind Num = TInKind::ikDecimal;

const QString CalendarFailed = QStringLiteral(
    "Tapahtumien haku epäonnistui. Varmista, että tietokone on yhteydessä Internetiin. \r\n\r\nTulospalveluohjelmaa voi käyttää, "
    "mutta tulokset siirtyvät Web -tulospalveluun vasta kun yhteys Internetiin on muodostettu.");
const QString CalendarError = QStringLiteral("Virhetilanne kalenterien ja tapahtumien latauksessa.");
const QString EventDataFailed = QStringLiteral(
    "Tapahtuman ratatietojen haku epäonnistui. Varmista, että tietokone on yhteydessä Internetiin. \r\n\r\nTulospalveluohjelmaa voi "
    "käyttää, mutta varmista, että tulospalveluohjelmassa on uusimmat ratatiedot.");
const QString EventDataError = QStringLiteral("Virhetilanne tapahtuman ratatietojen latauksessa.");

TReplProcedure Proc(const char* Name, std::vector<TReplInput> Inputs)
{
    return TReplProcedure{QString::fromLatin1(Name), std::move(Inputs)};
}

const TReplProcedure& SeriesProc()
{
    static const TReplProcedure P = Proc(
        "E_EVENT_SERIES.replicate_event_series",
        {Req("IN_EVENT_SERIES_ID", "event_series_id", Id), Req("IN_EVENT_SERIES_NAME", "event_series_name"),
         Opt("IN_EVENT_SERIES_NAME2", "event_series_name2"), Opt("IN_WWW_ADDR", "www_addr"), Opt("IN_EMAIL", "email"),
         Opt("IN_EMAIL2", "email2"), Req("IN_INSERTED", "inserted", Ts), Req("IN_UPDATED", "updated", Ts), Own("IN_REPL_TYPE"),
         Opt("IN_CHIP_BALANCE_IN_USE", "chip_balance_in_use"), Opt("IN_PAYMENT_FLEX_AMOUNT", "payment_flex_amount", Amt),
         Opt("IN_BALANCE_PAYMENT_METHODS", "balance_payment_methods")});
    return P;
}

const TReplProcedure& SeasonProc()
{
    static const TReplProcedure P =
        Proc("E_EVENT_SERIES_SEASON.replicate_event_series_season",
             {Req("IN_EVENT_SERIES_SEASON_ID", "event_series_season_id", Id), Own("IN_EVENT_SERIES_ID"),
              Req("IN_EVENT_SERIES_SEASON_NAME", "event_series_season_name"),
              Opt("IN_EVENT_SERIES_SEASON_NAME2", "event_series_season_name2"), Req("IN_SEASON_ABBR", "season_abbr"),
              Req("IN_INSERTED", "inserted", Ts), Req("IN_UPDATED", "updated", Ts), Own("IN_REPL_TYPE")});
    return P;
}

const TReplProcedure& EventProc()
{
    static const TReplProcedure P = [] {
        std::vector<TReplInput> In{Req("IN_EVENT_ID", "event_id", Id), Own("IN_EVENT_SERIES_SEASON_ID"), Req("IN_EVENT_NAME", "event_name"),
                                   Opt("IN_EVENT_NAME2", "event_name2"), Req("IN_ARENA_NAME", "arena_name")};
        for (const char* M : {"map_name", "map_year", "map_scale", "arena_quidance", "arena_link", "arena_quidance_link", "map_icon",
                              "notes", "winsplits_url", "winsplits_number", "winsplits_pwd", "routegadget_url", "xml_results_url",
                              "pdf_results", "event_director", "event_director_tel", "event_director_email", "event_courses_head",
                              "event_courses_head_tel", "event_courses_head_email", "event_courses_2", "event_courses_2_tel",
                              "event_courses_2_email", "event_result_service", "event_result_service_tel",
                              "event_result_service_email", "event_result_service_2", "event_result_service_2_tel",
                              "event_result_service_2_email", "event_other_organizers"})
            In.push_back({QStringLiteral("IN_") + QString::fromLatin1(M).toUpper(), QString::fromLatin1(M), TInKind::ikText, false});
        for (const TReplInput& I :
             {Req("IN_EVENT_DATE", "event_date", Ts), Opt("IN_MAP_URL", "map_url"), Req("IN_EVENT_START_TIME", "event_start_time"),
              Opt("IN_EVENT_ORGANIZER_CLUB", "event_organizer_club"), Req("IN_INSERTED", "inserted", Ts),
              Req("IN_UPDATED", "updated", Ts), Opt("IN_EVENT_HOSTS", "event_hosts"),
              Opt("IN_DEFAULT_CALC_SCORING", "default_calc_scoring"), Opt("IN_MAP_LAT", "map_lat"), Opt("IN_MAP_LONG", "map_long"),
              Own("IN_REPL_TYPE"), Opt("IN_FINISH_CODE", "finish_code", Int), Opt("IN_WEB_ENTRIES", "web_entries"),
              Opt("IN_EVENT_ORGANIZER_ID", "event_organizer_id", Id), Opt("IN_FIRMASARJA_EVENT", "firmasarja_event")})
            In.push_back(I);
        return Proc("E_EVENT.REPLICATE_EVENT", std::move(In));
    }();
    return P;
}

const TReplProcedure& PaymentMethodProc()
{
    static const TReplProcedure P =
        Proc("E_EVENT_SS_PAYMENT_METHOD.REPLICATE_EVENT_SS_PAYMENT_M",
             {Req("IN_EVENT_SS_PAYMENT_METHOD_ID", "event_ss_payment_method_id", Id), Own("IN_EVENT_SERIES_SEASON_ID"),
              Req("IN_PAYMENT_METHOD_NAME", "payment_method_name"), Opt("IN_PAYMENT_METHOD_PRICE", "payment_method_price", Amt),
              Req("IN_PAYMENT_METHOD_ACTIVE", "payment_method_active"), Req("IN_INSERTED", "inserted", Ts),
              Req("IN_UPDATED", "updated", Ts), Own("IN_REPL_TYPE"), Req("IN_PROPOSED_PAYMENT_METHOD", "proposed_payment_method")});
    return P;
}

const TReplProcedure& BalanceOptionProc()
{
    static const TReplProcedure P =
        Proc("E_CHIP_BALANCE_OPTIONS.REPLICATE_CHIP_BALANCE_OPTIONS",
             {Req("IN_CHIP_BALANCE_OPTIONS_ID", "chip_balance_options_id", Id), Own("IN_EVENT_SERIES_ID"),
              Req("IN_PAYMENT_OPTION_NAME", "payment_option_name"), Opt("IN_PAYMENT_OPTION_PRICE", "payment_option_price", Amt),
              Opt("IN_PAYMENT_OPTION_ADD_TO_BAL", "payment_option_add_to_balance", Amt), Req("IN_OPTION_ACTIVE", "option_active"),
              Req("IN_INSERTED", "inserted", Ts), Req("IN_UPDATED", "updated", Ts), Own("IN_REPL_TYPE")});
    return P;
}

const TReplProcedure& ClassProc()
{
    static const TReplProcedure P =
        Proc("E_CLASS.REPLICATE_CLASS",
             {Req("IN_CLASS_ID", "class_id", Id), Own("IN_EVENT_ID"), Req("IN_CLASS_NAME", "class_name"), Opt("IN_FEE", "fee", Amt),
              Opt("IN_CALC_SCORING", "calc_scoring"), Opt("IN_MASS_START_TIME", "mass_start_time"), Req("IN_INSERTED", "inserted", Ts),
              Req("IN_UPDATED", "updated", Ts), Req("IN_ACTIVE_CLASS", "active_class"), Own("IN_REPL_TYPE")});
    return P;
}

const TReplProcedure& CourseProc()
{
    static const TReplProcedure P =
        Proc("E_COURSE.REPLICATE_COURSE",
             {Req("IN_COURSE_ID", "course_id", Id), Own("IN_EVENT_ID"), Req("IN_COURSE_NAME", "course_name"),
              Opt("IN_COURSE_LENGTH", "course_length", Num), Opt("IN_CLIMB", "climb", Num), Opt("IN_NOTES", "notes"),
              Opt("IN_CONTROLS_STRING", "controls_string"), Opt("IN_FINISH_CODE", "finish_code"), Req("IN_INSERTED", "inserted", Ts),
              Req("IN_UPDATED", "updated", Ts), Own("IN_REPL_TYPE")});
    return P;
}

const TReplProcedure& ControlProc()
{
    static const TReplProcedure P =
        Proc("E_CONTROLS.REPLICATE_CONTROLS",
             {Req("IN_CONTROL_ID", "control_id", Id), Own("IN_EVENT_ID"), Req("IN_CONTROL_CODE", "control_code", Int),
              Opt("IN_PUNCHING_UNIT1", "punching_unit1", Int), Opt("IN_PUNCHING_UNIT2", "punching_unit2", Int),
              Opt("IN_PUNCHING_UNIT3", "punching_unit3", Int), Opt("IN_PUNCHING_UNIT4", "punching_unit4", Int),
              Opt("IN_PUNCHING_UNIT5", "punching_unit5", Int), Req("IN_ONLINE_CONTROL", "online_control"),
              Req("IN_INSERTED", "inserted", Ts), Req("IN_UPDATED", "updated", Ts), Req("IN_MANDATORY_CONTROL", "mandatory_control"),
              Own("IN_REPL_TYPE")});
    return P;
}

const TReplProcedure& CourseControlProc()
{
    static const TReplProcedure P =
        Proc("E_COURSE_CONTROLS.REPLICATE_COURSE_C",
             {Req("IN_COURSE_CONTROL_ID", "course_control_id", Id), Own("IN_COURSE_ID"),
              Req("IN_CONTROL_SEQUENCE", "control_sequence", Int), Opt("IN_CONTROL_ID", "control_id", Id),
              Req("IN_CONTROL_CODE", "control_code", Int), Opt("IN_CONTROL_TYPE", "control_type"), Opt("IN_LEG_LENGTH", "leg_length", Num),
              Opt("IN_ONLINE_NAME", "online_name"), Opt("IN_ONLINE_LEG_LENGTH", "online_leg_length", Num),
              Req("IN_INSERTED", "inserted", Ts), Req("IN_UPDATED", "updated", Ts), Req("IN_ONLINE_CONTROL", "cc_online_control"),
              Own("IN_REPL_TYPE")});
    return P;
}

const TReplProcedure& ClassCourseProc()
{
    static const TReplProcedure P =
        Proc("E_CLASS_COURSE.REPLICATE_CLASS_COURSE",
             {Req("IN_CLASS_COURSE_ID", "class_course_id", Id), Own("IN_CLASS_ID"), Req("IN_COURSE_ID", "course_id", Id),
              Req("IN_INSERTED", "inserted", Ts), Req("IN_UPDATED", "updated", Ts), Own("IN_REPL_TYPE")});
    return P;
}

// The reply cleaning the downloads have always done before parsing.
QString Clean(QString Text)
{
    Text.remove(QStringLiteral("\\\\r\\\\n"));
    Text.remove(QStringLiteral("\\n"));
    return Text;
}

void ForEachItem(const TJsonNode& List, const std::function<void(const TJsonNode&)>& Fn)
{
    if (!List.IsList())
        return;
    for (const TJsonNode* Item : List)
        Fn(*Item);
}

}  // namespace

TWebMainCalls::TWebMainCalls(TWebSession& Session, IWebSyncHost& Host, IWebDownloadView& View, TFbQuery& Query,
                             TFbTransaction& Transaction)
    : FSession(Session), FHost(Host), FView(View), fbProcRESTFD(Query), fbTrRESTUpdateDefaultFD(Transaction),
      RESTClient1(std::make_unique<TRESTClient>())
{
}

TWebMainCalls::~TWebMainCalls() = default;

TWebMainCalls::TReply TWebMainCalls::Send(bool Post, const QString& Resource, const QVector<QPair<QString, QString>>& Headers)
{
    RESTClient1->BaseURL = FSession.RestBaseUrl();
    RESTClient1->ConnectTimeout = ConnectTimeoutMs;
    RESTClient1->ReadTimeout = ReadTimeoutMs;
    const TRESTClient::TReply R =
        RESTClient1->Execute(Post ? TRESTRequestMethod::rmPOST : TRESTRequestMethod::rmGET, Resource, Headers, nullptr);
    return {R.StatusCode, QString::fromUtf8(R.RawBytes)};
}

void TWebMainCalls::ConnectOnline()
{
    try {
        const TReply R = Send(true, QStringLiteral("client/login"),
                              {{QStringLiteral("id"), QString::number(FSession.ClientId())},
                               {QStringLiteral("client_secret"), FSession.ClientSecret()}});
        if (R.Status == 200) {
            FHost.SetWebStatus(true);
            std::unique_ptr<TJsonNode> Reply = TJsonNode::Parse(R.Text);
            if (!Reply)
                throw EJSONParseError(QStringLiteral("Tyhjä vastaus"));
            FSession.SetAccessToken(Reply->Member(u"access_token").AsString());
            return;
        }
        const QString Text = R.Status == 404 ? QStringLiteral("HTTP 404: Palvelua ei löydy.") : R.Text;
        FHost.DoMessage(websync::NoConnection + QStringLiteral(": ") + Text, 3, false);
        // No pause here, unlike the worker's login: this runs on the main
        // thread, and a pause would freeze the window for its length.
        FHost.SetWebStatus(false);
    } catch (const std::exception& E) {
        FHost.DoMessage(websync::NoConnection + QStringLiteral(": ") + FHost.GetDbMessage(QString::fromUtf8(E.what())), 3, false);
        FHost.SetWebStatus(false);
    }
}

int TWebMainCalls::hae_tmp_client_rest(const QString& TempId, QString& Reply)
{
    const TReply R = Send(true, QStringLiteral("client/register"), {{QStringLiteral("id"), TempId}});
    if (R.Status == 200 || R.Status == 400) {
        Reply = R.Text;
        return R.Status == 200 ? 0 : 9;
    }
    FHost.DoMessage(websync::NoConnection, 1, true);
    FHost.SetWebStatus(false);
    Reply.clear();
    return 9;
}

int TWebMainCalls::DownloadRequest(const QString& Resource, const QVector<QPair<QString, QString>>& Headers, QString& Reply)
{
    const TReply R = Send(false, Resource, Headers);
    if (R.Status == 200 || R.Status == 400) {
        Reply = R.Text;
        return R.Status == 200 ? 0 : 9;
    }
    // The failed download's own box follows and says what to do; a box of
    // its own for the missing connection would only be a second one to close
    // (the status pane and the web box show it).
    FHost.DoMessage(websync::NoConnection + QStringLiteral(" (HTTP %1)").arg(R.Status), 1, false);
    FHost.SetWebStatus(false);
    return 9;
}

int TWebMainCalls::hae_tapahtumat_rest(QString& Reply)
{
    return DownloadRequest(QStringLiteral("client/getevents"),
                           {{QStringLiteral("id"), QString::number(FSession.ClientId())},
                            {QStringLiteral("access_token"), FSession.AccessToken()}},
                           Reply);
}

int TWebMainCalls::hae_tapahtuma_tiedot_rest(int64_t EventId, QString& Reply)
{
    return DownloadRequest(QStringLiteral("client/geteventdata"),
                           {{QStringLiteral("event_id"), QString::number(EventId)},
                            {QStringLiteral("id"), QString::number(FSession.ClientId())},
                            {QStringLiteral("access_token"), FSession.AccessToken()}},
                           Reply);
}

bool TWebMainCalls::Replicate(const TReplProcedure& P, const TJsonNode& Row, const QString& Prefix,
                              const std::function<void(TFbQuery&)>& Extra)
{
    try {
        UseStatement(fbProcRESTFD, P.ExecuteStatement());
        SetInputs(fbProcRESTFD, Row, P);
        fbProcRESTFD.ParamByName(QStringLiteral("IN_REPL_TYPE")).SetAsString(QStringLiteral("U"));
        if (Extra)
            Extra(fbProcRESTFD);
        if (!fbTrRESTUpdateDefaultFD.Active())
            fbTrRESTUpdateDefaultFD.StartTransaction();
        fbProcRESTFD.ExecSQL();
        return true;
    } catch (const std::exception& E) {
        FHost.DoMessage(Prefix + FHost.GetDbMessage(QString::fromUtf8(E.what())), 2, true);
        return false;
    }
}

void TWebMainCalls::Fail(const QString& ActionText, const QString& DialogText)
{
    FView.SetActionMessage(ActionText);
    FView.SynkronointiActionERROR();
    FHost.DoMessage(DialogText, 2, true);
    FView.SynkronointiActionHide(5000);
}

void TWebMainCalls::RollbackIfActive()
{
    try {
        if (fbTrRESTUpdateDefaultFD.Active())
            fbTrRESTUpdateDefaultFD.Rollback();
    } catch (const std::exception&) {
    }
}

// ---------------------------------------------------------------------------
// Event calendar

void TWebMainCalls::ReplicateSeries(const TJsonNode& Series, bool& Failed)
{
    if (!Replicate(SeriesProc(), Series, QStringLiteral("(event_series):"), nullptr))
        Failed = true;
    if (Failed)
        return;
    const int64_t SeriesId = Series.Member(u"event_series_id").AsInt64();
    ForEachItem(Series.Member(u"event_series_seasons"), [&](const TJsonNode& Season) {
        if (!Replicate(SeasonProc(), Season, QStringLiteral("(event_series_season):"),
                       [&](TFbQuery& Q) { Q.ParamByName(QStringLiteral("IN_EVENT_SERIES_ID")).SetAsLargeInt(SeriesId); }))
            Failed = true;
        if (Failed)
            return;
        const int64_t SeasonId = Season.Member(u"event_series_season_id").AsInt64();
        auto SetSeason = [&](TFbQuery& Q) { Q.ParamByName(QStringLiteral("IN_EVENT_SERIES_SEASON_ID")).SetAsLargeInt(SeasonId); };
        ForEachItem(Season.Member(u"events"), [&](const TJsonNode& Event) {
            if (!Replicate(EventProc(), Event, QStringLiteral("(event):"), SetSeason))
                Failed = true;
        });
        ForEachItem(Season.Member(u"event_series_season_payment_methods"), [&](const TJsonNode& Method) {
            if (!Replicate(PaymentMethodProc(), Method, QStringLiteral("(event_ss_payment_method):"), SetSeason))
                Failed = true;
        });
    });
    const TJsonNode& Options = Series.Member(u"chip_balance_options");
    if (Failed)
        return;
    ForEachItem(Options, [&](const TJsonNode& Option) {
        if (!Replicate(BalanceOptionProc(), Option, QStringLiteral("(chip_balance_options):"),
                       [&](TFbQuery& Q) { Q.ParamByName(QStringLiteral("IN_EVENT_SERIES_ID")).SetAsLargeInt(SeriesId); }))
            Failed = true;
    });
}

void TWebMainCalls::hae_tapahtumat()
{
    FView.SetBusy(true);
    FView.SetActionMessage(QStringLiteral("Ladataan kalentereita ja tapahtumia."));
    FView.SynkronointiActionShow();
    if (FSession.AccessToken().isEmpty())
        ConnectOnline();
    QString Reply;
    if (hae_tapahtumat_rest(Reply) != 0) {
        bWebTapahtumatHaettu = false;
        Fail(CalendarError, CalendarFailed);
        FView.SetBusy(false);
        return;
    }
    bool Failed = false;
    try {
        std::unique_ptr<TJsonNode> Root = TJsonNode::Parse(Clean(Reply));
        if (!Root)
            throw EJSONParseError(QStringLiteral("Tyhjä vastaus"));
        const TJsonNode& SeriesList = Root->Member(u"event_series");
        if (!fbTrRESTUpdateDefaultFD.Active())
            fbTrRESTUpdateDefaultFD.StartTransaction();
        ForEachItem(SeriesList, [&](const TJsonNode& Series) {
            ReplicateSeries(Series, Failed);
            if (!Failed) {
                fbTrRESTUpdateDefaultFD.Commit();
                FView.SetActionMessage(QStringLiteral("Kalenterit ja tapahtumat ladattu."));
                FView.SynkronointiActionOK();
                bWebTapahtumatHaettu = true;
            } else {
                bWebTapahtumatHaettu = false;
                Fail(CalendarError, CalendarFailed);
            }
        });
    } catch (const std::exception&) {
        FView.SetBusy(false);
        RollbackIfActive();
        bWebTapahtumatHaettu = false;
        Fail(CalendarError, CalendarFailed);
        return;
    }
    FView.SetBusy(false);
    RollbackIfActive();
    FView.RefreshTreeAfterDownload();
}

// ---------------------------------------------------------------------------
// Event data

void TWebMainCalls::ReplicateClassCourse(const TJsonNode& ClassCourse, int64_t ClassId, int64_t EventId, bool& Failed)
{
    auto SetEvent = [&](TFbQuery& Q) { Q.ParamByName(QStringLiteral("IN_EVENT_ID")).SetAsLargeInt(EventId); };
    ForEachItem(ClassCourse.Member(u"courses"), [&](const TJsonNode& Course) {
        if (!Replicate(CourseProc(), Course, QStringLiteral("(course):"), SetEvent)) {
            Failed = true;
            return;
        }
        if (Failed)
            return;
        const int64_t CourseId = Course.Member(u"course_id").AsInt64();
        ForEachItem(Course.Member(u"course_controls"), [&](const TJsonNode& Item) {
            if (!Replicate(ControlProc(), Item, QStringLiteral("(control):"), SetEvent))
                Failed = true;
            if (Failed)
                return;
            if (!Replicate(CourseControlProc(), Item, QStringLiteral("(course_control):"),
                           [&](TFbQuery& Q) { Q.ParamByName(QStringLiteral("IN_COURSE_ID")).SetAsLargeInt(CourseId); }))
                Failed = true;
        });
    });
    if (!Replicate(ClassCourseProc(), ClassCourse, QStringLiteral("(class_course):"),
                   [&](TFbQuery& Q) { Q.ParamByName(QStringLiteral("IN_CLASS_ID")).SetAsLargeInt(ClassId); }))
        Failed = true;
}

void TWebMainCalls::ReplicateClass(const TJsonNode& Class, int64_t EventId, bool& Failed)
{
    if (!Replicate(ClassProc(), Class, QStringLiteral("(classes):"),
                   [&](TFbQuery& Q) { Q.ParamByName(QStringLiteral("IN_EVENT_ID")).SetAsLargeInt(EventId); })) {
        Failed = true;
        return;
    }
    const int64_t ClassId = Class.Member(u"class_id").AsInt64();
    ForEachItem(Class.Member(u"class_courses"), [&](const TJsonNode& ClassCourse) {
        try {
            ReplicateClassCourse(ClassCourse, ClassId, EventId, Failed);
        } catch (const std::exception& E) {
            FHost.DoMessage(QStringLiteral("(class_course):") + FHost.GetDbMessage(QString::fromUtf8(E.what())), 2, true);
            Failed = true;
        }
    });
}

void TWebMainCalls::hae_tapahtuma_tiedot(int64_t EventId)
{
    FView.SetBusy(true);
    FView.SetActionMessage(QStringLiteral("Ladataan tapahtuman ratatiedot."));
    FView.SynkronointiActionShow();
    if (FSession.AccessToken().isEmpty())
        ConnectOnline();
    QString Reply;
    if (hae_tapahtuma_tiedot_rest(EventId, Reply) != 0) {
        Fail(EventDataError, EventDataFailed);
        FView.SetBusy(false);
        return;
    }
    bool Failed = false;
    try {
        std::unique_ptr<TJsonNode> Root = TJsonNode::Parse(Clean(Reply));
        if (!Root)
            throw EJSONParseError(QStringLiteral("Tyhjä vastaus"));
        const TJsonNode& Classes = Root->Member(u"classes");
        if (!fbTrRESTUpdateDefaultFD.Active())
            fbTrRESTUpdateDefaultFD.StartTransaction();
        // The deletion marks travel in the same transaction as the classes:
        // committed together, or rolled back together.
        UseStatement(fbProcRESTFD, QStringLiteral("SELECT OUT_ERRMSG FROM E_EVENT.MARK_CLASSES_DELETED(:IN_EVENT_ID) "));
        fbProcRESTFD.ParamByName(QStringLiteral("IN_EVENT_ID")).SetAsLargeInt(EventId);
        fbProcRESTFD.Open();
        fbProcRESTFD.Close();
        ForEachItem(Classes, [&](const TJsonNode& Class) {
            ReplicateClass(Class, EventId, Failed);
            if (!Class.Items() || !Class.Items()->ContainsKey(QStringLiteral("class_courses")))
                throw EJSONUnknownFieldOrIndex(QStringLiteral("Unknown field: class_courses"));
        });
        if (!Failed) {
            fbTrRESTUpdateDefaultFD.Commit();
            FView.SetActionMessage(QStringLiteral("Tapahtuman ratatiedot ladattu."));
            FView.SynkronointiActionOK();
        } else {
            RollbackIfActive();
            Fail(EventDataError, EventDataFailed);
        }
    } catch (const std::exception&) {
        FView.SetBusy(false);
        RollbackIfActive();
        Fail(EventDataError, EventDataFailed);
        return;
    }
    FView.SetBusy(false);
    RollbackIfActive();
    FView.RefreshTreeAfterDownload();
}
