#include "sync/DownloadProcedures.h"

#include <QHash>

using namespace replinput;

namespace {

constexpr TInKind Id = TInKind::ikId;
constexpr TInKind Int = TInKind::ikInteger;
constexpr TInKind Ts = TInKind::ikTimestamp;
constexpr TInKind Dt = TInKind::ikDate;
constexpr TInKind Dec = TInKind::ikDecimal;
constexpr TInKind Amt = TInKind::ikAmount;
constexpr TInKind B64 = TInKind::ikBase64;

TApplierTable Applier(const char* Type, const char* Proc, std::vector<TReplInput> Inputs, QStringList Keys,
                  const char* ReplParam = "IN_REPL_TYPE", bool TypeInText = true)
{
    TApplierTable S;
    S.MessageType = QString::fromLatin1(Type);
    S.Upsert.Procedure = QString::fromLatin1(Proc);
    S.Upsert.Inputs = std::move(Inputs);
    S.DeleteKeys = std::move(Keys);
    S.ReplTypeParam = QString::fromLatin1(ReplParam);
    S.TypeInErrorText = TypeInText;
    return S;
}

std::vector<TReplInput> EventInputs()
{
    std::vector<TReplInput> In{Req("IN_EVENT_ID", "event_id", Id), Req("IN_EVENT_SERIES_SEASON_ID", "event_series_season_id", Id),
                               Req("IN_EVENT_NAME", "event_name"), Opt("IN_EVENT_NAME2", "event_name2"),
                               Req("IN_ARENA_NAME", "arena_name")};
    for (const char* M : {"map_name", "map_year", "map_scale", "arena_quidance", "arena_link", "arena_quidance_link", "map_icon",
                          "notes", "winsplits_url", "winsplits_number", "winsplits_pwd", "routegadget_url", "xml_results_url",
                          "pdf_results", "event_director", "event_director_tel", "event_director_email", "event_courses_head",
                          "event_courses_head_tel", "event_courses_head_email", "event_courses_2", "event_courses_2_tel",
                          "event_courses_2_email", "event_result_service", "event_result_service_tel",
                          "event_result_service_email", "event_result_service_2", "event_result_service_2_tel",
                          "event_result_service_2_email", "event_other_organizers"})
        In.push_back({QStringLiteral("IN_") + QString::fromLatin1(M).toUpper(), QString::fromLatin1(M), TInKind::ikText, false});
    In.push_back(Req("IN_EVENT_DATE", "event_date", Ts));
    In.push_back(Opt("IN_MAP_URL", "map_url"));
    In.push_back(Req("IN_EVENT_START_TIME", "event_start_time"));
    In.push_back(Opt("IN_EVENT_ORGANIZER_CLUB", "event_organizer_club"));
    In.push_back(Req("IN_INSERTED", "inserted", Ts));
    In.push_back(Req("IN_UPDATED", "updated", Ts));
    In.push_back(Opt("IN_EVENT_HOSTS", "event_hosts"));
    In.push_back(Opt("IN_DEFAULT_CALC_SCORING", "default_calc_scoring"));
    In.push_back(Opt("IN_MAP_LAT", "map_lat"));
    In.push_back(Opt("IN_MAP_LONG", "map_long"));
    In.push_back(Own("IN_REPL_TYPE"));
    In.push_back(Opt("IN_FINISH_CODE", "finish_code", Int));
    In.push_back(Opt("IN_WEB_ENTRIES", "web_entries"));
    In.push_back(Opt("IN_EVENT_ORGANIZER_ID", "event_organizer_id", Id));
    return In;
}

std::vector<TReplInput> ControlInputs()
{
    return {Req("IN_CONTROL_ID", "control_id", Id), Req("IN_EVENT_ID", "event_id", Id), Req("IN_CONTROL_CODE", "control_code", Int),
            Opt("IN_PUNCHING_UNIT1", "punching_unit1", Int), Opt("IN_PUNCHING_UNIT2", "punching_unit2", Int),
            Opt("IN_PUNCHING_UNIT3", "punching_unit3", Int), Opt("IN_PUNCHING_UNIT4", "punching_unit4", Int),
            Opt("IN_PUNCHING_UNIT5", "punching_unit5", Int), Req("IN_ONLINE_CONTROL", "online_control"),
            Req("IN_INSERTED", "inserted", Ts), Req("IN_UPDATED", "updated", Ts), Req("IN_MANDATORY_CONTROL", "mandatory_control"),
            Own("IN_REPL_TYPE")};
}

std::vector<TReplInput> CourseInputs()
{
    return {Req("IN_COURSE_ID", "course_id", Id), Req("IN_EVENT_ID", "event_id", Id), Req("IN_COURSE_NAME", "course_name"),
            Opt("IN_COURSE_LENGTH", "course_length", Dec), Opt("IN_CLIMB", "climb", Dec), Opt("IN_NOTES", "notes"),
            Opt("IN_CONTROLS_STRING", "controls_string"), Opt("IN_FINISH_CODE", "finish_code"), Req("IN_INSERTED", "inserted", Ts),
            Req("IN_UPDATED", "updated", Ts), Own("IN_REPL_TYPE")};
}

std::vector<TReplInput> CourseControlInputs()
{
    return {Req("IN_COURSE_CONTROL_ID", "course_control_id", Id), Req("IN_COURSE_ID", "course_id", Id),
            Req("IN_CONTROL_SEQUENCE", "control_sequence", Int), Opt("IN_CONTROL_ID", "control_id", Id),
            Req("IN_CONTROL_CODE", "control_code", Int), Opt("IN_CONTROL_TYPE", "control_type"),
            Opt("IN_LEG_LENGTH", "leg_length", Dec), Opt("IN_ONLINE_NAME", "online_name"),
            Opt("IN_ONLINE_LEG_LENGTH", "online_leg_length", Dec), Req("IN_INSERTED", "inserted", Ts),
            Req("IN_UPDATED", "updated", Ts), Req("IN_ONLINE_CONTROL", "online_control"), Own("IN_REPL_TYPE")};
}

QHash<QString, TApplierTable> MakePlain()
{
    QHash<QString, TApplierTable> M;
    auto Put = [&](TApplierTable S, QStringList DeleteLeavesOut = {}) {
        S.DeleteLeavesOut = std::move(DeleteLeavesOut);
        M.insert(S.MessageType, std::move(S));
    };
    Put(Applier("vrk_client", "E_CLIENT.REPLICATE_CLIENT",
             {Req("IN_CLIENT", "client_id", Id), Req("IN_CLIENT_NAME", "client_name"), Opt("IN_OWNER", "owner"),
              Req("IN_IN_USE", "in_use"), Opt("IN_NOTES", "notes"), Req("in_inserted", "inserted", Ts),
              Req("in_updated", "updated", Ts), Opt("in_temp_client_id", "temp_client_id"),
              Opt("in_temp_client_id_valid_until", "temp_client_id_valid_until", Dt), Opt("IN_CLIENT_VERSION", "client_version"),
              Opt("in_client_secret", "client_secret"), Own("in_repl_type")},
             {QStringLiteral("client_id")}, "in_repl_type"),
        {QStringLiteral("in_client_secret")});
    Put(Applier("vrk_event_series", "E_EVENT_SERIES.replicate_event_series",
             {Req("in_event_series_id", "event_series_id", Id), Req("in_event_series_name", "event_series_name"),
              Opt("in_event_series_name2", "event_series_name2"), Opt("in_www_addr", "www_addr"), Opt("in_email", "email"),
              Opt("in_email2", "email2"), Req("in_inserted", "inserted", Ts), Req("in_updated", "updated", Ts),
              Own("in_repl_type"), Opt("IN_CHIP_BALANCE_IN_USE", "chip_balance_in_use"),
              Opt("IN_PAYMENT_FLEX_AMOUNT", "payment_flex_amount", Amt)},
             {QStringLiteral("event_series_id")}, "in_repl_type"),
        {QStringLiteral("IN_CHIP_BALANCE_IN_USE"), QStringLiteral("IN_PAYMENT_FLEX_AMOUNT")});
    Put(Applier("vrk_client_event_series", "E_CLIENT_EVENT_SERIES.replicate_client_event_series",
             {Req("in_client_id", "client_id", Id), Req("in_event_series_id", "event_series_id", Id),
              Req("in_inserted", "inserted", Ts), Req("in_start_date", "start_date", Ts), Req("in_end_date", "end_date", Ts),
              Own("in_repl_type")},
             {QStringLiteral("client_id"), QStringLiteral("event_series_id")}, "in_repl_type"));
    Put(Applier("vrk_event_series_season", "E_EVENT_SERIES_SEASON.replicate_event_series_season",
             {Req("in_event_series_season_id", "event_series_season_id", Id), Req("in_event_series_id", "event_series_id", Id),
              Req("in_event_series_season_name", "event_series_season_name"),
              Opt("in_event_series_season_name2", "event_series_season_name2"), Req("in_season_abbr", "season_abbr"),
              Req("in_inserted", "inserted", Ts), Req("in_updated", "updated", Ts), Own("in_repl_type")},
             {QStringLiteral("event_series_season_id")}, "in_repl_type", false));
    Put(Applier("vrk_event", "E_EVENT.REPLICATE_EVENT", EventInputs(), {QStringLiteral("event_id")}),
        {QStringLiteral("IN_EVENT_ORGANIZER_ID")});
    Put(Applier("vrk_controls", "E_CONTROLS.REPLICATE_CONTROLS", ControlInputs(), {QStringLiteral("control_id")}));
    Put(Applier("vrk_course", "E_COURSE.REPLICATE_COURSE", CourseInputs(), {QStringLiteral("course_id")}));
    Put(Applier("vrk_course_controls", "E_COURSE_CONTROLS.REPLICATE_COURSE_C", CourseControlInputs(),
             {QStringLiteral("course_control_id")}));
    Put(Applier("vrk_class_course", "E_CLASS_COURSE.REPLICATE_CLASS_COURSE",
             {Req("IN_CLASS_COURSE_ID", "class_course_id", Id), Req("IN_CLASS_ID", "class_id", Id),
              Req("IN_COURSE_ID", "course_id", Id), Req("IN_INSERTED", "inserted", Ts), Req("IN_UPDATED", "updated", Ts),
              Own("IN_REPL_TYPE")},
             {QStringLiteral("class_course_id")}));
    Put(Applier("vrk_additional_class", "E_ADDITIONAL_CLASS.REPLICATE_ADDITIONAL_C",
             {Req("IN_ADDITIONAL_CLASS_ID", "additional_class_id", Id), Req("IN_CLASS_ID", "class_id", Id),
              Req("IN_INSERTED", "inserted", Ts), Req("IN_UPDATED", "updated", Ts), Req("IN_CLASS_NAME", "class_name"),
              Opt("IN_FEE", "fee", Amt), Own("IN_REPL_TYPE")},
             {QStringLiteral("additional_class_id")}, "IN_REPL_TYPE", false));
    Put(Applier("vrk_club", "E_CLUB.REPLICATE_CLUB",
             {Req("IN_CLUB_ID", "club_id", Id), Req("IN_EVENT_SERIES_ID", "event_series_id", Id), Opt("IN_CLUB_NAME", "club_name"),
              Opt("IN_CLUB_ABBR", "club_abbr"), Opt("IN_LOCATION_NAME", "location_name"), Opt("IN_REGION_NAME", "region_name"),
              Opt("IN_REGION_ABBR", "region_abbr"), Opt("IN_COUNTRY", "country"), Opt("IN_WWW_ADDR", "www_addr"),
              Opt("IN_SCORE_CALCULATION", "score_calculation"), Req("IN_INSERTED", "inserted", Ts),
              Req("IN_UPDATED", "updated", Ts), Own("IN_REPL_TYPE")},
             {QStringLiteral("club_id")}));
    Put(Applier("vrk_special_cc", "E_SPECIAL_CC.replicate_special_cc",
             {Req("in_chip_id", "chip_id", Id), Req("in_control_card", "control_card", Id),
              Req("in_event_series_id", "event_series_id", Id), Req("in_cc_name", "cc_name"), Opt("in_owner", "owner"),
              Opt("in_year_month", "year_month"), Opt("in_comments", "comments"), Req("in_inserted", "inserted", Ts),
              Req("in_updated", "updated", Ts), Own("in_repl_type")},
             {QStringLiteral("chip_id")}, "in_repl_type"));
    Put(Applier("vrk_rastilippu_entries", "E_RASTILIPPU_ENTRIES.REPLICATE_RASTILIPPU_E",
             {Req("IN_RASTILIPPU_ENTRIES_ID", "rastilippu_entries_id", Id), Req("IN_EVENT_ID", "event_id", Id),
              Req("IN_REGISTRATION_TIME", "registration_time", Ts), Req("IN_SPORT_ID", "sport_id"), Opt("IN_EMIT_NR", "emit_nr"),
              Opt("IN_LAST_NAME", "last_name"), Opt("IN_FIRST_NAME", "first_name"), Req("IN_STATUS", "status"),
              Req("IN_RENTAL_EMIT", "rental_emit"), Req("IN_ENTRY_FEE", "entry_fee", Amt), Opt("IN_PAYMENT_STATE", "payment_state"),
              Opt("IN_RESULTS_CLASS_ID", "results_class_id", Id), Req("IN_INSERTED", "inserted", Ts),
              Req("IN_UPDATED", "updated", Ts), Opt("IN_ADDITIONALDETAILS", "additionaldetails"), Own("IN_REPL_TYPE")},
             {QStringLiteral("rastilippu_entries_id")}));
    Put(Applier("vrk_person_chips", "E_PERSON_CHIPS.REPLICATE_PERSON_CHIPS",
             {Req("IN_CONTROL_CARD", "control_card"), Opt("IN_LICENCE", "license"), Opt("IN_PERSON_NAME", "person_name"),
              Opt("IN_EXTERNAL_PERSON_ID", "external_person_id"), Opt("IN_BIRTH_YEAR", "birth_year"),
              Opt("IN_PERSON_SEX", "person_sex"), Opt("IN_CONTROL_CARD_2", "control_card_2"), Opt("IN_CLUB_NAME", "club_name"),
              Req("IN_INSERTED", "inserted", Ts), Req("IN_UPDATED", "updated", Ts),
              Req("IN_PERSON_CHIP_SOURCE", "person_chip_source"), Own("IN_REPL_TYPE")},
             {QStringLiteral("control_card")}));
    Put(Applier("vrk_chip_balance", "E_CHIP_BALANCE.REPLICATE_CHIP_BALANCE",
             {Req("IN_CHIP_BALANCE_ID", "chip_balance_id", Id), Req("IN_EVENT_SERIES_ID", "event_series_id", Id),
              Req("IN_CHIP_NUMBER", "chip_number"), Req("IN_CHIP_ACTIVE", "chip_active"), Req("IN_PERSON_NAME", "person_name"),
              Opt("IN_PERSON_CLUB", "person_club"), Req("IN_PERSON_EMAIL_ADDRESS", "person_email_address"),
              Req("IN_PERSON_PHONE_NUMBER", "person_phone_number"), Opt("IN_BALANCE_USABLE", "balance_usable", Amt),
              Req("IN_INSERTED", "inserted", Ts), Req("IN_UPDATED", "updated", Ts), Own("IN_REPL_TYPE"),
              Opt("IN_FIRMASARJA_CHIP", "firmasarja_chip")},
             {QStringLiteral("chip_balance_id")}));
    Put(Applier("vrk_chip_balance_payment_o", "E_CHIP_BALANCE_PAYMENT_O.REPLICATE_CHIP_BALANCE_PO",
             {Req("IN_CHIP_BALANCE_ID", "chip_balance_id", Id), Req("IN_CHIP_PAYMENT_OPTION_ID", "chip_payment_option_id", Id),
              Req("IN_VALID_UNTIL", "valid_until", Ts), Req("IN_OPTION_ACTIVE", "option_active"),
              Opt("IN_EVENT_ORGANIZER_ID", "event_organizer_id", Id), Req("IN_PAYMENT_OPTION_PRICE", "payment_option_price", Amt),
              Req("IN_INSERTED", "inserted", Ts), Req("IN_UPDATED", "updated", Ts), Own("IN_REPL_TYPE"),
              Req("IN_PAYMENT_OPTION_NAME", "payment_option_name"), Req("IN_EVENT_SERIES_ID", "event_series_id", Id)},
             {QStringLiteral("chip_balance_id"), QStringLiteral("chip_payment_option_id")}));
    return M;
}

TReplProcedure Proc(const char* Name, std::vector<TReplInput> Inputs)
{
    return TReplProcedure{QString::fromLatin1(Name), std::move(Inputs)};
}

}  // namespace

TReplProcedure TApplierTable::Delete() const
{
    TReplProcedure P = Upsert;
    std::erase_if(P.Inputs, [this](const TReplInput& In) { return DeleteLeavesOut.contains(In.Param); });
    return P;
}

namespace downloadprocs {

const TApplierTable* Plain(const QString& MessageType)
{
    static const QHash<QString, TApplierTable> Tables = MakePlain();
    const auto It = Tables.constFind(MessageType);
    return It == Tables.constEnd() ? nullptr : &*It;
}

const TApplierTable& Person()
{
    static const TApplierTable S = Applier(
        "vrk_person", "E_PERSON.REPLICATE_PERSON",
        {Req("IN_PERSON_ID", "person_id", Id), Req("IN_EVENT_SERIES_ID", "event_series_id", Id), Req("IN_PERSON_NAME", "person_name"),
         Req("IN_PERSON_SEX", "person_sex"), Opt("IN_CLUB_ID", "club_id", Id), Opt("IN_CONTROL_CARD", "control_card"),
         Opt("IN_LICENSE", "license"), Opt("IN_COUNTRY", "country"), Req("IN_WEB_SHOW", "web_show"),
         Req("IN_INSERTED", "inserted", Ts), Req("IN_UPDATED", "updated", Ts), Req("IN_PRINT_RECEIPT", "print_receipt"),
         Opt("IN_WEB_SHOW_ASKED", "web_show_asked", Ts), Opt("IN_PHONE_NUMBER", "phone_number"), Opt("IN_SPORT_ID", "sport_id"),
         Opt("IN_EMITAG_CARD", "emitag_card"), Opt("IN_SPORTIDENT_CARD", "sportident_card"), Opt("IN_INFOTEXT", "infotext"),
         Own("IN_REPL_TYPE")},
        {QStringLiteral("person_id")});
    return S;
}

const TApplierTable& Run()
{
    static const TApplierTable S = [] {
        std::vector<TReplInput> In{
            Req("IN_RESULTS_CLASS_ID", "results_class_id", Id), Req("IN_EVENT_ID", "event_id", Id),
            Req("IN_LEG_NUMBER", "leg_number", Int), Opt("IN_START_NUMBER", "start_number", Int),
            Opt("IN_START_NUMBER_XTRA", "start_number_xtra"), Opt("IN_CONTROL_CARD", "control_card"),
            Opt("IN_VARIATION", "variation"), Opt("IN_PERSON_ID", "person_id", Id), Opt("IN_CLUB_ID", "club_id", Id),
            Req("IN_ENTRY_FEE", "entry_fee", Amt), Opt("IN_TIME_SEC", "time_sec", Amt), Opt("IN_STATUS", "status"),
            Opt("IN_CREDIT_PENALTY_SEC", "credit_penalty_sec", Amt), Opt("IN_CREDIT_PENALTY_NOTES", "credit_penalty_notes"),
            Opt("IN_TEAM_NUMBER", "team_number"), Req("IN_INSERTED", "inserted", Ts), Req("IN_UPDATED", "updated", Ts),
            Opt("IN_START_TIME", "start_time", Ts), Opt("IN_FINISH_TIME", "finish_time", Ts),
            Req("IN_CLASS_COURSE_ID", "class_course_id", Id), Req("IN_ORIGIN_CLIENT_ID", "origin_client_id", Id),
            Req("IN_ORIGIN_CLIENT_NAME", "origin_client_name"), Req("IN_RENTED_CHIP", "rented_chip"),
            Req("IN_RESULT_STATUS", "result_status"), Opt("IN_FIXED_START_TIME", "fixed_start_time", Ts),
            Opt("IN_REGISTERED_TIME", "registered_time", Ts), Opt("IN_START_PUNCH_TIME", "start_punch_time", Ts),
            Opt("IN_CHIP_STRING", "chip_string", B64), Req("IN_FIRST_RESULT_STATUS", "first_result_status")};
        for (const char* N : {"1", "2", "3"}) {
            const QString P = QStringLiteral("online%1_").arg(QLatin1String(N));
            In.push_back({QStringLiteral("IN_") + P.toUpper() + QStringLiteral("CC_ID"), P + QStringLiteral("cc_id"), Id, false});
            In.push_back({QStringLiteral("IN_") + P.toUpper() + QStringLiteral("TIME_SEC"), P + QStringLiteral("time_sec"), Amt, false});
            In.push_back({QStringLiteral("IN_") + P.toUpper() + QStringLiteral("POSITION"), P + QStringLiteral("position"), Int, false});
            In.push_back(
                {QStringLiteral("IN_") + P.toUpper() + QStringLiteral("TIME_BEHIND"), P + QStringLiteral("time_behind"), Amt, false});
        }
        for (const TReplInput& I : {Req("IN_PERSON_NAME", "person_name"), Opt("IN_CLUB_NAME", "club_name"),
                                    Opt("IN_CLUB_ABBR", "club_abbr"), Opt("IN_LOCATION_NAME", "location_name"),
                                    Opt("IN_REGION_NAME", "region_name"), Opt("IN_REGION_ABBR", "region_abbr"),
                                    Opt("IN_COUNTRY", "country"), Opt("IN_RESULT_NOTES", "result_notes"), Own("IN_REPL_TYPE"),
                                    Opt("IN_ADDITIONAL_CLASS_ID", "additional_class_id", Id), Opt("IN_SPORTID", "sportid"),
                                    Opt("IN_ADDITIONAL_CLASS_NOTES", "additional_class_notes"),
                                    Opt("IN_PAYMENT_TYPE", "payment_type"), Opt("IN_PAYMENT_METHOD_ID", "payment_method_id", Id),
                                    Opt("IN_PAYMENT_PRICE", "payment_price", Amt), Opt("IN_PAYMENT_INFO", "payment_info"),
                                    Opt("IN_CHIP_BALANCE_OPTIONS_ID", "chip_balance_options_id", Id),
                                    Opt("IN_CHIP_BALANCE_PAID", "chip_balance_paid", Amt),
                                    Opt("IN_CHIP_BALANCE_INFO", "chip_balance_info")})
            In.push_back(I);
        return Applier("vrk_results_class", "E_RESULTS_CLASS.REPLICATE_RESULTS_CLASS", std::move(In),
                    {QStringLiteral("results_class_id")});
    }();
    return S;
}

const TReplProcedure& RunSplit()
{
    static const TReplProcedure P = Proc(
        "E_RESULTS_SPLITS.REPLICATE_RESULTS_SPLITS",
        {Req("IN_RESULTS_SPLIT_ID", "results_split_id", Id), Opt("IN_RESULTS_CONTROL_ID", "results_control_id", Id),
         Req("IN_RESULTS_CLASS_ID", "results_class_id", Id), Req("IN_CLASS_COURSE_ID", "class_course_id", Id),
         Opt("IN_TIME_SEC", "time_sec", Amt), Opt("IN_LEG_TIME_SEC", "leg_time_sec", Amt), Opt("IN_PUNCH_TIME", "punch_time", Ts),
         Opt("IN_CONTROL_NUMBER", "control_number", Int), Req("IN_CONTROL_CODE", "control_code", Int),
         Req("IN_PUNCH_ORDER", "punch_order", Int), Opt("IN_PUNCHED_CODE", "punched_code", Int), Opt("IN_CONTROL_ID", "control_id", Id),
         Req("IN_PUNCH_TYPE", "punch_type"), Req("IN_PUNCH_EDITED", "punch_edited")});
    return P;
}

const TReplProcedure& RunSpecialPunch()
{
    static const TReplProcedure P =
        Proc("E_SPECIAL_PUNCHES.REPLICATE_SPECIAL_PUNCHES",
             {Req("IN_SPECIAL_PUNCHES_ID", "special_punches_id", Id), Req("IN_EVENT_ID", "event_id", Id),
              Opt("IN_RESULTS_CLASS_ID", "results_class_id", Id), Req("IN_PUNCH_CODE", "punch_code", Int),
              Req("IN_PUNCH_TIME", "punch_time", Ts), Req("IN_PREV_PUNCH_CODE", "prev_punch_code", Int),
              Req("IN_PREV_PUNCH_TIME", "prev_punch_time", Ts)});
    return P;
}

const TReplProcedure& RunCourseCheck()
{
    static const TReplProcedure P = Proc(
        "RESULTS_CLASS_ALL.REPLICATE_RESULTS_CLASS_ALL",
        {Req("IN_RESULTS_CLASS_ALL_ID", "results_class_all_id", Id), Req("IN_RESULTS_CLASS_ID", "results_class_id", Id),
         Req("IN_CLASS_COURSE_ID", "class_course_id", Id), Opt("IN_TIME_SEC", "time_sec", Amt), Opt("IN_STATUS", "status"),
         Opt("IN_START_TIME", "start_time", Ts), Opt("IN_FINISH_TIME", "finish_time", Ts),
         Opt("IN_FIXED_START_TIME", "fixed_start_time", Ts), Opt("IN_REGISTERED_TIME", "registered_time", Ts),
         Opt("IN_START_PUNCH_TIME", "start_punch_time", Ts), Opt("IN_MISSING_CONTROLS", "missing_controls"),
         Req("IN_MISSING_CONTROLS_COUNT", "missing_controls_count", Int), Req("IN_COURSE_CONTROL_COUNT", "course_control_count", Int),
         Opt("IN_STATUS_REASON", "status_reason"), Opt("IN_CREDIT_PENALTY_TIME", "credit_penalty_time", Ts),
         Opt("IN_TIMES_CHANGED", "times_changed"), Opt("IN_RESULT_NOTES", "result_notes"), Req("IN_INSERTED", "inserted", Ts),
         Req("IN_UPDATED", "updated", Ts)});
    return P;
}

const TReplProcedure& Class()
{
    static const TReplProcedure P =
        Proc("E_CLASS.REPLICATE_CLASS",
             {Req("IN_CLASS_ID", "class_id", Id), Req("IN_EVENT_ID", "event_id", Id), Req("IN_CLASS_NAME", "class_name"),
              Opt("IN_FEE", "fee", Amt), Opt("IN_CALC_SCORING", "calc_scoring"), Opt("IN_MASS_START_TIME", "mass_start_time"),
              Req("IN_INSERTED", "inserted", Ts), Req("IN_UPDATED", "updated", Ts), Req("IN_ACTIVE_CLASS", "active_class"),
              Own("IN_REPL_TYPE")});
    return P;
}

const TReplProcedure& NestedCourse()
{
    static const TReplProcedure P = [] {
        TReplProcedure C = Proc("E_COURSE.REPLICATE_COURSE", CourseInputs());
        C.Inputs[1] = Own("IN_EVENT_ID");
        return C;
    }();
    return P;
}

const TReplProcedure& NestedControl()
{
    static const TReplProcedure P = [] {
        TReplProcedure C = Proc("E_CONTROLS.REPLICATE_CONTROLS", ControlInputs());
        C.Inputs[1] = Own("IN_EVENT_ID");
        return C;
    }();
    return P;
}

const TReplProcedure& NestedCourseControl()
{
    static const TReplProcedure P = [] {
        TReplProcedure C = Proc("E_COURSE_CONTROLS.REPLICATE_COURSE_C", CourseControlInputs());
        C.Inputs[1] = Own("IN_COURSE_ID");
        C.Inputs[11] = Req("IN_ONLINE_CONTROL", "cc_online_control");
        return C;
    }();
    return P;
}

const TReplProcedure& NestedClassCourse()
{
    static const TReplProcedure P =
        Proc("E_CLASS_COURSE.REPLICATE_CLASS_COURSE",
             {Req("IN_CLASS_COURSE_ID", "class_course_id", Id), Own("IN_CLASS_ID"), Own("IN_COURSE_ID"),
              Req("IN_INSERTED", "inserted", Ts), Req("IN_UPDATED", "updated", Ts), Own("IN_REPL_TYPE")});
    return P;
}

}  // namespace downloadprocs
