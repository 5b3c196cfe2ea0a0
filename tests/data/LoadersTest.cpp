// Each loader fills its mirror from fixture rows, with the null rules and
// the defaults of a missing row.

#include "tests/support/DataModuleFixture.h"

#include "data/vrkEntities.h"
#include "resources/ProgramTexts.h"

#include <gtest/gtest.h>

namespace {

class Loaders : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(f.Connect());
        f.Exec(QStringLiteral(
                   "insert into vrk_client (client_id, client_name, in_use, first_sync_done, owner, client_secret) "
                   "values (7, 'Maali-PC', 'K', 'N', null, 'sekret');\n"
                   "insert into vrk_event_series (event_series_id, event_series_name, chip_balance_in_use, payment_flex_amount) "
                   "values (10, 'Iltarastit', 'K', 2.5);\n"
                   "insert into vrk_event_series_season (event_series_season_id, event_series_id, event_series_season_name, "
                   "season_abbr, show_active) values (20, 10, 'Kesä 2026', 'K26', 'K');\n"
                   "insert into vrk_event (event_id, event_series_season_id, event_name, event_date, event_start_time, "
                   "finish_code, web_entries) values (30, 20, 'Keskiviikko', timestamp '2026-06-03 00:00', '17:00', 100, null);\n"
                   "insert into vrk_club (club_id, event_series_id, club_name, club_abbr) values (40, 10, 'Rasti-Jussit', 'RJ');\n"
                   "insert into vrk_person (person_id, event_series_id, person_name, club_id, control_card, print_receipt) "
                   "values (50, 10, 'Matti Meikäläinen', 40, '123456', 'K');\n"
                   "insert into vrk_person (person_id, event_series_id, person_name, club_id) values (51, 10, 'Ilman Seuraa', null);\n"
                   "insert into vrk_special_cc (chip_id, control_card, event_series_id, cc_name) values (60, 500123, 10, 'Laina 1');\n"
                   "insert into vrk_class (class_id, event_id, class_name, fee) values (70, 30, 'A-rata', null);\n"
                   "insert into vrk_course (course_id, event_id, course_name, course_length) values (80, 30, 'A', 4500);\n"
                   "insert into vrk_course (course_id, event_id, course_name, course_length) values (81, 30, 'B', 0);\n"
                   "insert into vrk_course (course_id, event_id, course_name, course_length) values (82, 30, 'C', null);\n"
                   "insert into vrk_class_course (class_course_id, class_id, course_id) values (90, 70, 80);\n"
                   "insert into vrk_class_course (class_course_id, class_id, course_id) values (91, 70, 81);\n"
                   "insert into vrk_class_course (class_course_id, class_id, course_id) values (92, 70, 82);\n"
                   "insert into vrk_results_class (results_class_id, event_id, control_card, person_id, class_course_id, "
                   "origin_client_id, origin_client_name, rented_chip, result_status, first_result_status, person_name, "
                   "status, time_sec, payment_price, start_time) values (100, 30, '123456', 50, 90, 7, 'Maali-PC', 'E', 'V', "
                   "'V', 'Matti Meikäläinen', null, 1234.5, 12.3456, timestamp '2026-06-03 18:01:02');\n"),
               true);
    }
    DataModuleFixture f;
};

TEST_F(Loaders, ClientRowAndNoActiveRow)
{
    Client->Setdo_sync(QStringLiteral("K"));
    Client->selectDB();
    EXPECT_EQ(Client->client_id(), 7);
    EXPECT_EQ(Client->client_name(), QStringLiteral("Maali-PC"));
    EXPECT_EQ(Client->owner(), QString());
    EXPECT_EQ(Client->in_use(), QStringLiteral("K"));
    EXPECT_EQ(Client->first_sync_done(), QStringLiteral("N"));
    EXPECT_EQ(Client->client_secret(), QStringLiteral("sekret"));
    EXPECT_EQ(Client->do_sync(), QStringLiteral("K"));  // never loaded

    f.Exec(QStringLiteral("update vrk_client set in_use = 'E';"), true);
    Client->selectDB();
    EXPECT_EQ(Client->client_id(), 0);
    EXPECT_EQ(Client->in_use(), QStringLiteral("N"));
    EXPECT_EQ(Client->first_sync_done(), QStringLiteral("Y"));
    EXPECT_EQ(Client->client_name(), QString());
    EXPECT_EQ(Client->do_sync(), QStringLiteral("K"));
    EXPECT_TRUE(f.Messages(QStringLiteral("Error")).isEmpty());
    EXPECT_FALSE(f.Module->fbTransactionDefaultFD->Active());
}

TEST_F(Loaders, SeriesAndSeason)
{
    eventSeries->selectDB(10);
    EXPECT_EQ(eventSeries->event_series_name(), QStringLiteral("Iltarastit"));
    EXPECT_EQ(eventSeries->event_series_name2(), QString());
    EXPECT_EQ(eventSeries->chip_balance_in_use(), QStringLiteral("K"));
    EXPECT_FLOAT_EQ(eventSeries->payment_flex_amount(), 2.5f);
    EXPECT_FALSE(eventSeries->inserted().isEmpty());
    eventSeriesSeason->selectDB(20);
    EXPECT_EQ(eventSeriesSeason->event_series_id(), 10);
    EXPECT_EQ(eventSeriesSeason->season_abbr(), QStringLiteral("K26"));
    EXPECT_EQ(eventSeriesSeason->show_active(), QStringLiteral("K"));
    eventSeries->selectDB(999);
    EXPECT_EQ(eventSeries->event_series_id(), 0);
    EXPECT_EQ(eventSeries->event_series_name(), QString());
    EXPECT_FLOAT_EQ(eventSeries->payment_flex_amount(), 0.0f);
}

TEST_F(Loaders, EventRowCountersAndMissingEvent)
{
    event->selectDB(30);
    EXPECT_EQ(event->event_id(), 30);
    EXPECT_EQ(event->event_name(), QStringLiteral("Keskiviikko"));
    EXPECT_EQ(event->event_date(), EncodeDate(2026, 6, 3));
    EXPECT_EQ(event->event_start_time(), QStringLiteral("17:00"));
    EXPECT_EQ(event->finish_code(), QStringLiteral("100"));
    EXPECT_EQ(event->web_entries(), QStringLiteral("E"));  // null reads "E"
    EXPECT_EQ(event->event_organizer_id(), 0);
    EXPECT_EQ(event->classess(), 1);  // one class with live courses
    EXPECT_TRUE(f.Messages(QStringLiteral("Error")).isEmpty()) << f.LogLines().join('\n').toStdString();

    event->selectDB(31);
    EXPECT_EQ(event->event_id(), 0);
    EXPECT_EQ(event->event_name(), QString());
    EXPECT_EQ(event->event_date(), EncodeDate(2000, 1, 1));
    EXPECT_EQ(event->web_entries(), QStringLiteral("E"));
    EXPECT_EQ(event->classess(), 0);

    // A missing processed event keeps its values; only the counters follow.
    processedEvent->selectProcessedDB(30);
    EXPECT_EQ(processedEvent->event_id(), 30);
    processedEvent->selectProcessedDB(31);
    EXPECT_EQ(processedEvent->event_id(), 30);
    EXPECT_EQ(processedEvent->event_name(), QStringLiteral("Keskiviikko"));
    EXPECT_EQ(processedEvent->classess(), 0);
    EXPECT_FALSE(f.Module->fbTransactionDefaultFD->Active());
}

TEST_F(Loaders, EventLoaderFailureLogsBothLines)
{
    f.Module->Disconnect();
    event->selectDB(30);
    const QStringList errors = f.Messages(QStringLiteral("Error"));
    ASSERT_EQ(errors.size(), 2) << f.LogLines().join('\n').toStdString();
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("getEventData.selectVrkEvent.OTHERS: ") + txt::DbException + QLatin1Char(' ')));
    EXPECT_TRUE(errors[1].startsWith(QStringLiteral("getEventData.OTHERS: ")));
    EXPECT_FALSE(errors[1].contains(txt::DbException));
}

TEST_F(Loaders, PersonWithAndWithoutClub)
{
    person->selectDB(50);
    EXPECT_EQ(person->person_club(), QStringLiteral("Matti Meikäläinen, Rasti-Jussit"));
    EXPECT_EQ(person->club_id(), 40);
    EXPECT_EQ(person->club_name(), QStringLiteral("Rasti-Jussit"));
    EXPECT_EQ(person->control_card(), QStringLiteral("123456"));
    EXPECT_EQ(person->print_receipt(), QStringLiteral("K"));
    EXPECT_EQ(person->web_show(), QStringLiteral("K"));
    person->selectDB(51);
    EXPECT_EQ(person->person_club(), QStringLiteral("Ilman Seuraa"));
    EXPECT_EQ(person->club_id(), 0);
    EXPECT_EQ(person->club_name(), QString());
    EXPECT_EQ(person->web_show_asked(), QString());
    person->selectDB(52);
    EXPECT_EQ(person->person_id(), 0);
    EXPECT_EQ(person->person_name(), QString());
}

TEST_F(Loaders, ClubCardAndClass)
{
    club->selectDB(40);
    EXPECT_EQ(club->club_abbr(), QStringLiteral("RJ"));
    EXPECT_EQ(club->score_calculation(), QStringLiteral("K"));
    EXPECT_EQ(club->www_addr(), QString());
    specialCc->selectDB(60);
    EXPECT_EQ(specialCc->control_card(), 500123);
    EXPECT_EQ(specialCc->cc_name(), QStringLiteral("Laina 1"));
    event_class->selectDB(70);
    EXPECT_EQ(event_class->class_name(), QStringLiteral("A-rata"));
    EXPECT_FLOAT_EQ(event_class->Fee(), 0.0f);
    club->selectDB(1);
    EXPECT_EQ(club->club_id(), 0);
}

TEST_F(Loaders, ClassCourseNameText)
{
    struct Case {
        int64_t id;
        QString text;
        int length;
    };
    const Case cases[] = {
        {90, QStringLiteral("A (4.5)"), 4500},
        {91, QStringLiteral("B "), 0},
        {92, QString(), 0},
    };
    for (const Case& c : cases) {
        classCourse->selectDB(c.id);
        EXPECT_EQ(classCourse->courseNameTxt(), c.text) << c.id;
        EXPECT_EQ(classCourse->course_length(), c.length);
        EXPECT_EQ(classCourse->class_id(), 70);
    }
}

TEST_F(Loaders, RunAndMissingRun)
{
    resultsClass->selectDB(100);
    EXPECT_EQ(resultsClass->results_class_id(), 100);
    EXPECT_EQ(resultsClass->leg_number(), 1);
    EXPECT_EQ(resultsClass->control_card(), QStringLiteral("123456"));
    EXPECT_EQ(resultsClass->status(), QStringLiteral("0"));  // null reads "0"
    EXPECT_FLOAT_EQ(resultsClass->time_sec(), 1234.5f);
    EXPECT_EQ(resultsClass->PaymentPrice(), Currency::FromDouble(12.3456));
    EXPECT_EQ(resultsClass->ChipBalancePaid(), Currency());
    EXPECT_EQ(resultsClass->start_time(), EncodeDateTime(2026, 6, 3, 18, 1, 2, 0));
    EXPECT_EQ(resultsClass->finish_time(), 0.0);
    EXPECT_EQ(resultsClass->club_name(), QString());
    EXPECT_EQ(resultsClass->result_status(), QStringLiteral("V"));
    resultsClass->selectDB(101);
    EXPECT_EQ(resultsClass->results_class_id(), 0);
    EXPECT_EQ(resultsClass->status(), QStringLiteral("0"));
    EXPECT_EQ(resultsClass->person_name(), QString());
}

TEST_F(Loaders, ClientWriteBack)
{
    Client->selectDB();
    Client->Setclient_version(QStringLiteral("26.1"));
    Client->Setdo_sync(QStringLiteral("K"));
    Client->updateDB();
    EXPECT_FALSE(f.Module->fbTrUpdateCallFD->Active());
    EXPECT_EQ(f.Value(QStringLiteral("select client_version from vrk_client where client_id = 7")).toString(),
              QStringLiteral("26.1"));
    EXPECT_TRUE(f.Messages(QStringLiteral("Error")).isEmpty()) << f.LogLines().join('\n').toStdString();
}

}  // namespace
