#include "sync/WireRecords.h"

namespace {

using F = TWireForm;

TWireMember M(const char* Name, F Form, bool Always)
{
    return TWireMember{QString::fromLatin1(Name), Form, Always, QString(), TWireSource::wsColumn, TWireDirection::wdBoth};
}
TWireMember I(const char* Name, bool Always = true) { return M(Name, F::wfInteger, Always); }
TWireMember T(const char* Name, bool Always = false) { return M(Name, F::wfText, Always); }
TWireMember D(const char* Name, bool Always = true) { return M(Name, F::wfDateTime, Always); }
TWireMember W(const char* Name, bool Always = false) { return M(Name, F::wfWhole, Always); }
TWireMember H(const char* Name, bool Always = false) { return M(Name, F::wfHundredths, Always); }
TWireMember DownOnly(TWireMember Member)
{
    Member.Direction = TWireDirection::wdDownloadOnly;
    return Member;
}
TWireMember UpOnly(TWireMember Member)
{
    Member.Direction = TWireDirection::wdUploadOnly;
    return Member;
}

TWireRecord R(const char* Queue, const char* List, const char* Key, const char* Type, const char* Table,
              std::vector<TWireMember> Members)
{
    return TWireRecord{QString::fromLatin1(Queue), QString::fromLatin1(List), QString::fromLatin1(Key),
                       QString::fromLatin1(Type), QString::fromLatin1(Table), std::move(Members)};
}

const TWireRecord ClientMessages = R("VRK_CLIENT_MESSAGE", "client_messages", "client_message_id", "", "vrk_client_message", {
    [] { TWireMember C = I("client_id"); C.Source = TWireSource::wsThisClient; return C; }(),
    I("event_id"), T("message_type", true), T("message_key", true), T("message_info", true), T("message_data", true)});

const TWireRecord Clients = R("VRK_CLIENT", "clients", "client_id", "vrk_client", "vrk_client", {
    [] { TWireMember C = I("client_id"); C.Source = TWireSource::wsChangedRowId; return C; }(),
    T("client_name", true), T("owner"), T("in_use", true), T("notes"), D("inserted"), D("updated"), T("temp_client_id"),
    [] { TWireMember C = D("temp_client_id_valid_until", false); C.Column = QStringLiteral("temp_client_valid_until"); return C; }(),
    T("client_version"), T("client_secret")});

const TWireRecord Events = R("VRK_EVENT", "events", "event_id", "vrk_event", "vrk_event", {
    I("event_id"), I("event_series_season_id"), T("event_name", true), T("event_name2"), T("arena_name", true),
    T("map_name", true), T("map_year"), T("map_scale"), T("arena_quidance"), T("arena_link"), T("arena_quidance_link"),
    T("map_icon"), T("notes"), T("winsplits_url"), T("winsplits_number"), T("winsplits_pwd"), T("routegadget_url"),
    T("xml_results_url"), T("pdf_results", true), T("event_director"), T("event_director_tel"), T("event_director_email"),
    T("event_courses_head"), T("event_courses_head_tel"), T("event_courses_head_email"), T("event_courses_2"),
    T("event_courses_2_tel"), T("event_courses_2_email"), T("event_result_service"), T("event_result_service_tel"),
    T("event_result_service_email"), T("event_result_service_2"), T("event_result_service_2_tel"),
    T("event_result_service_2_email"), T("event_other_organizers"), D("event_date"), M("map_url", F::wfText22, false),
    T("event_start_time", true), T("event_organizer_club"), D("inserted"), D("updated"), T("event_hosts"),
    T("default_calc_scoring"), T("map_lat"), T("map_long"), I("finish_code", false), T("web_entries"),
    DownOnly(I("event_organizer_id", false))});

const TWireRecord Controls = R("VRK_CONTROLS", "controls", "control_id", "vrk_controls", "vrk_controls", {
    I("control_id"), I("event_id"), I("control_code"), I("punching_unit1", false), I("punching_unit2", false),
    I("punching_unit3", false), I("punching_unit4", false), I("punching_unit5", false), T("online_control", true),
    T("mandatory_control", true), D("inserted"), D("updated")});

const TWireRecord Courses = R("VRK_COURSE", "courses", "course_id", "vrk_course", "vrk_course", {
    I("course_id"), I("event_id"), T("course_name", true), W("course_length"), W("climb"), T("notes"),
    T("controls_string"), D("inserted"), D("updated"), DownOnly(T("finish_code"))});

const TWireRecord CourseControls = R("VRK_COURSE_CONTROLS", "course_controls", "course_control_id", "vrk_course_controls", "vrk_course_controls", {
    I("course_control_id"), I("course_id"), I("control_sequence"), I("control_id", false), I("control_code"),
    T("control_type"), W("leg_length"), T("online_name"), W("online_leg_length"), T("online_control", true),
    D("inserted"), D("updated")});

const TWireRecord Classes = R("VRK_CLASS", "classes", "class_id", "vrk_class", "vrk_class", {
    I("class_id"), I("event_id"), T("class_name", true), H("fee"), T("calc_scoring"), T("mass_start_time"),
    T("active_class", true), D("inserted"), D("updated")});

const TWireRecord ClassCourses = R("VRK_CLASS_COURSE", "class_courses", "class_course_id", "vrk_class_course", "vrk_class_course", {
    I("class_course_id"), I("class_id"), I("course_id"), D("inserted"), D("updated")});

const TWireRecord AdditionalClasses = R("VRK_ADDITIONAL_CLASS", "additional_classes", "additional_class_id", "vrk_additional_class", "vrk_additional_class", {
    I("additional_class_id"), I("class_id"), T("class_name", true), H("fee"), D("inserted"), D("updated")});

const TWireRecord Clubs = R("VRK_CLUB", "clubs", "club_id", "vrk_club", "vrk_club", {
    I("club_id"), I("event_series_id"), T("club_name"), T("club_abbr"), T("location_name"), T("region_name"),
    T("region_abbr"), T("country"), T("www_addr"), T("score_calculation"), D("inserted"), D("updated")});

const TWireRecord Persons = R("VRK_PERSON", "persons", "person_id", "vrk_person", "vrk_person", {
    I("person_id"), I("event_series_id"), T("person_name", true), T("person_sex", true), I("club_id", false),
    T("control_card"), T("license"), T("country"), T("web_show", true), T("print_receipt", true),
    D("web_show_asked", false), T("phone_number"), T("sport_id"), UpOnly(I("new_person_id", false)), T("emitag_card"),
    T("sportident_card"), T("infotext"), D("inserted"), D("updated")});

const TWireRecord SpecialCcs = R("VRK_SPECIAL_CC", "special_ccs", "chip_id", "vrk_special_cc", "vrk_special_cc", {
    I("chip_id"), I("control_card"), I("event_series_id"), T("cc_name", true), T("owner"), T("year_month"),
    T("comments"), D("inserted"), D("updated")});

const TWireRecord WebEntries = R("VRK_RASTILIPPU_ENTRIES", "rastilippu_entries", "rastilippu_entries_id", "vrk_rastilippu_entries", "vrk_rastilippu_entries", {
    I("rastilippu_entries_id"), I("event_id"), D("registration_time"), T("sport_id"), T("emit_nr"), T("last_name"),
    T("first_name"), T("status", true), T("rental_emit", true), H("entry_fee", true), T("payment_state"),
    I("results_class_id", false), T("additionaldetails"), D("inserted"), D("updated")});

const TWireRecord Runs = R("VRK_RESULTS_CLASS", "results_classes", "results_class_id", "vrk_results_class", "vrk_results_class", {
    I("results_class_id"), I("event_id"), I("leg_number"), I("start_number", false), T("start_number_xtra"),
    T("control_card"), T("variation"), I("person_id", false), I("club_id", false), H("entry_fee", true), H("time_sec"),
    T("status"), H("credit_penalty_sec"), T("credit_penalty_notes"), T("team_number"), D("start_time", false),
    D("finish_time", false), I("class_course_id"), I("origin_client_id"), T("origin_client_name", true),
    T("rented_chip", true), T("result_status", true), D("fixed_start_time", false), D("registered_time", false),
    D("start_punch_time", false), M("chip_string", F::wfBase64, false), T("first_result_status", true),
    I("online1_cc_id", false), H("online1_time_sec"), W("online1_position"), H("online1_time_behind"),
    I("online2_cc_id", false), H("online2_time_sec"), W("online2_position"), H("online2_time_behind"),
    I("online3_cc_id", false), H("online3_time_sec"), W("online3_position"), H("online3_time_behind"),
    T("person_name", true), T("club_name"), T("club_abbr"), T("location_name"), T("region_name"), T("region_abbr"),
    T("country"), T("result_notes"), I("additional_class_id", false), T("sportid"), T("additional_class_notes"),
    T("payment_type"), I("payment_method_id", false), H("payment_price"), T("payment_info"),
    I("chip_balance_options_id", false), H("chip_balance_paid"), T("chip_balance_info"), D("inserted"), D("updated")});

// Nested items ---------------------------------------------------------------

const TWireRecord ClassCourseItemRecord = R("", "class_courses", "class_course_id", "", "vrk_class_course", {
    I("class_course_id"), UpOnly(I("course_id")), D("inserted"), D("updated")});

const TWireRecord CourseItemRecord = R("", "courses", "course_id", "", "vrk_course", {
    I("course_id"), T("course_name", true), W("course_length"), W("climb"), T("notes"), T("controls_string"),
    DownOnly(T("finish_code")), D("inserted"), D("updated")});

const TWireRecord CourseControlItemRecord = R("", "course_controls", "course_control_id", "", "vrk_course_controls", {
    I("course_control_id"), I("control_sequence"), I("control_id", false), I("control_code"), T("control_type"),
    W("leg_length"), T("online_name"), W("online_leg_length"), T("cc_online_control", true), I("punching_unit1", false),
    I("punching_unit2", false), I("punching_unit3", false), I("punching_unit4", false), I("punching_unit5", false),
    T("online_control", true), T("mandatory_control", true), D("inserted"), D("updated")});

const TWireRecord AdditionalClassItemRecord = R("", "additional_classes", "additional_class_id", "", "vrk_additional_class", {
    I("additional_class_id"), T("class_name", true), H("fee"), D("inserted"), D("updated")});

const TWireRecord SplitItemRecord = R("", "results_splits", "results_split_id", "", "vrk_results_splits", {
    I("results_split_id"), I("results_control_id", false), I("results_class_id"), I("class_course_id"), H("time_sec"),
    H("leg_time_sec"), D("punch_time", false), I("control_number", false), I("control_code"), I("punch_order"),
    I("punched_code", false), I("control_id", false), T("punch_type", true), T("punch_edited", true)});

const TWireRecord SpecialPunchItemRecord = R("", "special_punches", "special_punches_id", "", "vrk_special_punches", {
    I("special_punches_id"), I("event_id"), I("results_class_id", false), I("punch_code"), D("punch_time"),
    I("prev_punch_code"), D("prev_punch_time")});

const TWireRecord CourseCheckItemRecord = R("", "results_class_all", "results_class_all_id", "", "vrk_results_class_all", {
    I("results_class_all_id"), I("results_class_id"), I("class_course_id"), H("time_sec"), T("status"),
    D("start_time", false), D("finish_time", false), D("fixed_start_time", false), D("registered_time", false),
    D("start_punch_time", false), T("missing_controls"), I("missing_controls_count"), I("course_control_count"),
    T("status_reason"), T("result_notes"), D("credit_penalty_time", false), T("times_changed"), D("inserted"),
    D("updated")});

// Download only ---------------------------------------------------------------

const TWireRecord EventSeries = R("", "", "event_series_id", "vrk_event_series", "vrk_event_series", {
    I("event_series_id"), T("event_series_name", true), T("event_series_name2"), T("www_addr"), T("email"), T("email2"),
    D("inserted"), D("updated"), T("chip_balance_in_use"), H("payment_flex_amount")});

const TWireRecord ClientEventSeries = R("", "", "client_id", "vrk_client_event_series", "vrk_client_event_series", {
    I("client_id"), I("event_series_id"), D("inserted"), D("start_date"), D("end_date")});

const TWireRecord Seasons = R("", "", "event_series_season_id", "vrk_event_series_season", "vrk_event_series_season", {
    I("event_series_season_id"), I("event_series_id"), T("event_series_season_name", true),
    T("event_series_season_name2"), T("season_abbr", true), D("inserted"), D("updated")});

const TWireRecord PersonChips = R("", "", "control_card", "vrk_person_chips", "vrk_person_chips", {
    T("control_card", true), T("license"), T("person_name"), T("external_person_id"), T("birth_year"), T("person_sex"),
    T("control_card_2"), T("club_name"), D("inserted"), D("updated"), T("person_chip_source", true)});

const TWireRecord ChipBalances = R("", "", "chip_balance_id", "vrk_chip_balance", "vrk_chip_balance", {
    I("chip_balance_id"), I("event_series_id"), T("chip_number", true), T("chip_active", true), T("person_name", true),
    T("person_club"), T("person_email_address", true), T("person_phone_number", true), H("balance_usable"),
    D("inserted"), D("updated"), T("firmasarja_chip")});

const TWireRecord ChipBalancePaymentOptions = R("", "", "chip_balance_id", "vrk_chip_balance_payment_o", "vrk_chip_balance_payment_o", {
    I("chip_balance_id"), I("chip_payment_option_id"), D("valid_until"), T("option_active", true),
    I("event_organizer_id", false), H("payment_option_price", true), D("inserted"), D("updated"),
    T("payment_option_name", true), I("event_series_id")});

}  // namespace

const TWireMember* TWireRecord::Member(const QString& Name) const
{
    for (const TWireMember& Candidate : Members)
        if (Candidate.Name == Name)
            return &Candidate;
    return nullptr;
}

namespace wire {

const std::vector<const TWireRecord*>& UploadRecords()
{
    static const std::vector<const TWireRecord*> All{
        &ClientMessages, &Clients, &Events, &Controls, &Courses, &CourseControls, &Classes,
        &ClassCourses, &AdditionalClasses, &Clubs, &Persons, &SpecialCcs, &WebEntries, &Runs};
    return All;
}

const std::vector<const TWireRecord*>& DownloadOnlyRecords()
{
    static const std::vector<const TWireRecord*> All{&EventSeries, &ClientEventSeries, &Seasons, &PersonChips,
                                                     &ChipBalances, &ChipBalancePaymentOptions};
    return All;
}

const TWireRecord* RecordOfQueueTable(const QString& QueueTable)
{
    for (const TWireRecord* Record : UploadRecords())
        if (Record->QueueTable == QueueTable)
            return Record;
    return nullptr;
}

const TWireRecord* RecordOfMessageType(const QString& MessageType)
{
    if (MessageType.isEmpty())
        return nullptr;
    for (const TWireRecord* Record : UploadRecords())
        if (Record->MessageType == MessageType)
            return Record;
    for (const TWireRecord* Record : DownloadOnlyRecords())
        if (Record->MessageType == MessageType)
            return Record;
    return nullptr;
}

const TWireRecord& ClassCourseItem() { return ClassCourseItemRecord; }
const TWireRecord& CourseItem() { return CourseItemRecord; }
const TWireRecord& CourseControlItem() { return CourseControlItemRecord; }
const TWireRecord& AdditionalClassItem() { return AdditionalClassItemRecord; }
const TWireRecord& SplitItem() { return SplitItemRecord; }
const TWireRecord& SpecialPunchItem() { return SpecialPunchItemRecord; }
const TWireRecord& CourseCheckItem() { return CourseCheckItemRecord; }

}  // namespace wire
