#pragma once
// The entity mirrors: one object per role holding one row of a central table
// (this computer's client row, the selected series, season and event, the
// event being processed, and the person, club, rented card, class,
// class-course and run in hand). selectDB fills the role's global through the
// data module's loader; only the client row is ever written back.

#include "platform/rtl/Currency.h"
#include "platform/rtl/DateUtils.h"

#include <QString>
#include <cstdint>

// A value "F" + name behind a read-write property name() / Setname(v).
#define VRK_PROPERTY(Type, Name)                              \
public:                                                       \
    const Type& Name() const { return F##Name; }              \
    void Set##Name(const Type& v) { F##Name = v; }            \
                                                              \
private:                                                      \
    Type F##Name{};

class TClient {
public:
    // Loads the active client row (IN_USE "K") into Client.
    void selectDB();
    // Writes Client back to the database through E_CLIENT.UPDATE_CLIENT.
    void updateDB();

    VRK_PROPERTY(int64_t, client_id)
    VRK_PROPERTY(QString, client_name)
    VRK_PROPERTY(QString, owner)
    VRK_PROPERTY(QString, in_use)
    VRK_PROPERTY(QString, notes)
    VRK_PROPERTY(QString, client_version)
    VRK_PROPERTY(QString, first_sync_done)
    VRK_PROPERTY(QString, do_sync)
    VRK_PROPERTY(QString, client_secret)
};

class TEvent_Series {
public:
    void selectDB(int64_t id);
    VRK_PROPERTY(int64_t, event_series_id)
    VRK_PROPERTY(QString, event_series_name)
    VRK_PROPERTY(QString, event_series_name2)
    VRK_PROPERTY(QString, www_addr)
    VRK_PROPERTY(QString, email)
    VRK_PROPERTY(QString, email2)
    VRK_PROPERTY(QString, inserted)
    VRK_PROPERTY(QString, updated)
    VRK_PROPERTY(QString, chip_balance_in_use)
    VRK_PROPERTY(float, payment_flex_amount)
};

class TEvent_Series_Season {
public:
    void selectDB(int64_t id);
    VRK_PROPERTY(int64_t, event_series_season_id)
    VRK_PROPERTY(int64_t, event_series_id)
    VRK_PROPERTY(QString, event_series_season_name)
    VRK_PROPERTY(QString, event_series_season_name2)
    VRK_PROPERTY(QString, season_abbr)
    VRK_PROPERTY(QString, show_active)
    VRK_PROPERTY(QString, inserted)
    VRK_PROPERTY(QString, updated)
};

class TEvent {
public:
    // Loads the row and the counters into event.
    void selectDB(int64_t id);
    // Loads the row and the counters into processedEvent.
    void selectProcessedDB(int64_t id);

    VRK_PROPERTY(int64_t, event_id)
    VRK_PROPERTY(int64_t, event_series_season_id)
    VRK_PROPERTY(QString, event_name)
    VRK_PROPERTY(QString, event_name2)
    VRK_PROPERTY(QString, arena_name)
    VRK_PROPERTY(QString, map_name)
    VRK_PROPERTY(QString, map_year)
    VRK_PROPERTY(QString, map_scale)
    VRK_PROPERTY(QString, arena_quidance)
    VRK_PROPERTY(QString, arena_link)
    VRK_PROPERTY(QString, arena_quidance_link)
    VRK_PROPERTY(QString, map_icon)
    VRK_PROPERTY(QString, notes)
    VRK_PROPERTY(QString, winsplits_url)
    VRK_PROPERTY(QString, winsplits_number)
    VRK_PROPERTY(QString, winsplits_pwd)
    VRK_PROPERTY(QString, routegadget_url)
    VRK_PROPERTY(QString, xml_results_url)
    VRK_PROPERTY(QString, pdf_results)
    VRK_PROPERTY(QString, event_director)
    VRK_PROPERTY(QString, event_director_tel)
    VRK_PROPERTY(QString, event_director_email)
    VRK_PROPERTY(QString, event_courses_head)
    VRK_PROPERTY(QString, event_courses_head_tel)
    VRK_PROPERTY(QString, event_courses_head_email)
    VRK_PROPERTY(QString, event_courses_2)
    VRK_PROPERTY(QString, event_courses_2_tel)
    VRK_PROPERTY(QString, event_courses_2_email)
    VRK_PROPERTY(QString, event_result_service)
    VRK_PROPERTY(QString, event_result_service_tel)
    VRK_PROPERTY(QString, event_result_service_email)
    VRK_PROPERTY(QString, event_result_service_2)
    VRK_PROPERTY(QString, event_result_service_2_tel)
    VRK_PROPERTY(QString, event_result_service_2_email)
    VRK_PROPERTY(QString, event_other_organizers)
    VRK_PROPERTY(TDateTime, event_date)
    VRK_PROPERTY(QString, map_url)
    VRK_PROPERTY(QString, event_start_time)
    VRK_PROPERTY(QString, event_organizer_club)
    VRK_PROPERTY(QString, inserted)
    VRK_PROPERTY(QString, updated)
    VRK_PROPERTY(QString, event_hosts)
    VRK_PROPERTY(QString, default_calc_scoring)
    VRK_PROPERTY(QString, map_lat)
    VRK_PROPERTY(QString, map_long)
    VRK_PROPERTY(QString, finish_code)
    VRK_PROPERTY(QString, web_entries)
    VRK_PROPERTY(int64_t, event_organizer_id)
    // Counters from the database.
    VRK_PROPERTY(int, results)
    VRK_PROPERTY(int, in_forest)
    VRK_PROPERTY(int, mp)
    VRK_PROPERTY(int, dnf)
    VRK_PROPERTY(int, no_time)
    VRK_PROPERTY(int, classess)
};

class TPerson {
public:
    void selectDB(int64_t id);
    VRK_PROPERTY(int64_t, person_id)
    VRK_PROPERTY(int64_t, event_series_id)
    VRK_PROPERTY(QString, person_name)
    VRK_PROPERTY(QString, person_sex)
    VRK_PROPERTY(int64_t, club_id)
    VRK_PROPERTY(QString, control_card)
    VRK_PROPERTY(QString, license)
    VRK_PROPERTY(QString, country)
    VRK_PROPERTY(QString, web_show)
    VRK_PROPERTY(QString, inserted)
    VRK_PROPERTY(QString, updated)
    VRK_PROPERTY(QString, person_club)
    VRK_PROPERTY(QString, club_name)
    VRK_PROPERTY(QString, print_receipt)
    VRK_PROPERTY(QString, web_show_asked)
    VRK_PROPERTY(QString, phone_number)
    VRK_PROPERTY(QString, sport_id)
    VRK_PROPERTY(QString, infotext)
};

class TClub {
public:
    void selectDB(int64_t id);
    VRK_PROPERTY(int64_t, club_id)
    VRK_PROPERTY(int64_t, event_series_id)
    VRK_PROPERTY(QString, club_name)
    VRK_PROPERTY(QString, club_abbr)
    VRK_PROPERTY(QString, location_name)
    VRK_PROPERTY(QString, region_name)
    VRK_PROPERTY(QString, region_abbr)
    VRK_PROPERTY(QString, country)
    VRK_PROPERTY(QString, www_addr)
    VRK_PROPERTY(QString, score_calculation)
    VRK_PROPERTY(QString, inserted)
    VRK_PROPERTY(QString, updated)
};

class TSpecialCc {
public:
    void selectDB(int64_t id);
    VRK_PROPERTY(int64_t, chip_id)
    VRK_PROPERTY(int64_t, control_card)
    VRK_PROPERTY(int64_t, event_series_id)
    VRK_PROPERTY(QString, cc_name)
    VRK_PROPERTY(QString, owner)
    VRK_PROPERTY(QString, year_month)
    VRK_PROPERTY(QString, comments)
    VRK_PROPERTY(QString, inserted)
    VRK_PROPERTY(QString, updated)
};

class TClass {
public:
    void selectDB(int64_t id);
    VRK_PROPERTY(int64_t, class_id)
    VRK_PROPERTY(int64_t, event_id)
    VRK_PROPERTY(QString, class_name)
    VRK_PROPERTY(float, Fee)
    VRK_PROPERTY(QString, calc_scoring)
    VRK_PROPERTY(QString, mass_start_time)
    VRK_PROPERTY(QString, inserted)
    VRK_PROPERTY(QString, updated)
};

class TClassCourse {
public:
    void selectDB(int64_t id);
    VRK_PROPERTY(int64_t, class_course_id)
    VRK_PROPERTY(int64_t, class_id)
    VRK_PROPERTY(int64_t, course_id)
    VRK_PROPERTY(QString, course_name)
    VRK_PROPERTY(int, course_length)
    VRK_PROPERTY(int, climb)
    VRK_PROPERTY(QString, notes)
    VRK_PROPERTY(QString, control_string)
    VRK_PROPERTY(QString, inserted)
    VRK_PROPERTY(QString, updated)
    VRK_PROPERTY(QString, courseNameTxt)
};

class TResultsClass {
public:
    void selectDB(int64_t id);
    VRK_PROPERTY(int64_t, results_class_id)
    VRK_PROPERTY(int64_t, event_id)
    VRK_PROPERTY(int, leg_number)
    VRK_PROPERTY(int, start_number)
    VRK_PROPERTY(QString, start_number_xtra)
    VRK_PROPERTY(QString, control_card)
    VRK_PROPERTY(QString, variation)
    VRK_PROPERTY(int64_t, person_id)
    VRK_PROPERTY(int64_t, club_id)
    VRK_PROPERTY(float, entry_fee)
    VRK_PROPERTY(float, time_sec)
    VRK_PROPERTY(QString, status)
    VRK_PROPERTY(float, credit_penalty_sec)
    VRK_PROPERTY(QString, credit_penalty_notes)
    VRK_PROPERTY(QString, team_number)
    VRK_PROPERTY(QString, inserted)
    VRK_PROPERTY(QString, updated)
    VRK_PROPERTY(TDateTime, start_time)
    VRK_PROPERTY(TDateTime, finish_time)
    VRK_PROPERTY(int64_t, class_course_id)
    VRK_PROPERTY(int64_t, origin_client_id)
    VRK_PROPERTY(QString, origin_client_name)
    VRK_PROPERTY(QString, rented_chip)
    VRK_PROPERTY(QString, result_status)
    VRK_PROPERTY(TDateTime, fixed_start_time)
    VRK_PROPERTY(TDateTime, registered_time)
    VRK_PROPERTY(TDateTime, start_punch_time)
    VRK_PROPERTY(QString, chip_string)
    VRK_PROPERTY(QString, first_result_status)
    VRK_PROPERTY(int64_t, online1_cc_id)
    VRK_PROPERTY(int64_t, online1_time_sec)
    VRK_PROPERTY(int, online1_position)
    VRK_PROPERTY(float, online1_time_behind)
    VRK_PROPERTY(int64_t, online2_cc_id)
    VRK_PROPERTY(int64_t, online2_time_sec)
    VRK_PROPERTY(int, online2_position)
    VRK_PROPERTY(float, online2_time_behind)
    VRK_PROPERTY(int64_t, online3_cc_id)
    VRK_PROPERTY(int64_t, online3_time_sec)
    VRK_PROPERTY(int, online3_position)
    VRK_PROPERTY(float, online3_time_behind)
    VRK_PROPERTY(QString, person_name)
    VRK_PROPERTY(QString, club_name)
    VRK_PROPERTY(QString, club_abbr)
    VRK_PROPERTY(QString, location_name)
    VRK_PROPERTY(QString, region_name)
    VRK_PROPERTY(QString, region_abbr)
    VRK_PROPERTY(QString, country)
    VRK_PROPERTY(Currency, PaymentPrice)
    VRK_PROPERTY(QString, PaymentInfo)
    VRK_PROPERTY(int64_t, ChipBalanceOptionsId)
    VRK_PROPERTY(Currency, ChipBalancePaid)
    VRK_PROPERTY(QString, ChipBalanceInfo)
    VRK_PROPERTY(Currency, ChipBalanceAdd)
    VRK_PROPERTY(Currency, ChipBalanceBefore)
};

#undef VRK_PROPERTY

// The role globals; created together when the main window is first shown
// (CreateEntityGlobals) and never freed. processedEvent starts as an object
// of its own and is made to refer to event when processing starts.
extern TClient* Client;
extern TEvent_Series* eventSeries;
extern TEvent_Series_Season* eventSeriesSeason;
extern TEvent* event;
extern TEvent* processedEvent;
extern TPerson* person;
extern TClub* club;
extern TSpecialCc* specialCc;
extern TClass* event_class;
extern TClassCourse* classCourse;
extern TResultsClass* resultsClass;

// Creates the globals that do not exist yet.
void CreateEntityGlobals();
