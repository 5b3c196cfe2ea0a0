// The module's datasets against the event database: every one opens with
// its parameters, the results grid's rules, the lookups, and the editors'
// posts through their update rules.

#include "tests/support/DataModuleFixture.h"

#include <gtest/gtest.h>

namespace {

class Datasets : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(f.Connect());
        f.Exec(QStringLiteral(
                   "insert into vrk_client (client_id, client_name, in_use, first_sync_done) values (7, 'PC', 'K', 'Y');\n"
                   "insert into vrk_event_series (event_series_id, event_series_name) values (10, 'Sarja');\n"
                   "insert into vrk_client_event_series (client_id, event_series_id) values (7, 10);\n"
                   "insert into vrk_event_series_season (event_series_season_id, event_series_id, event_series_season_name) "
                   "values (20, 10, 'Kausi');\n"
                   "insert into vrk_event (event_id, event_series_season_id, event_name, event_date) "
                   "values (30, 20, 'Kisa', timestamp '2026-06-03 00:00');\n"
                   "insert into vrk_club (club_id, event_series_id, club_name) values (40, 10, 'Seura');\n"
                   "insert into vrk_person (person_id, event_series_id, person_name, club_id, control_card) "
                   "values (50, 10, 'Aino', 40, '111111');\n"
                   "insert into vrk_person_chips (control_card, person_name, club_name, person_chip_source) "
                   "values ('222222', 'Rekisteri Reijo', 'Muu', 'Tietokanta');\n"
                   "insert into vrk_class (class_id, event_id, class_name) values (70, 30, 'H21');\n"
                   "insert into vrk_course (course_id, event_id, course_name, course_length) values (80, 30, 'Pitkä', 5000);\n"
                   "insert into vrk_class_course (class_course_id, class_id, course_id) values (90, 70, 80);\n"
                   "insert into vrk_results_class (results_class_id, event_id, control_card, class_course_id, "
                   "origin_client_id, origin_client_name, result_status, first_result_status, person_name, status, "
                   "time_sec, credit_penalty_sec) values (100, 30, '000000', 90, 7, 'PC', 'V', 'V', 'Aino', '0', 600, 0);\n"
                   "insert into vrk_results_class (results_class_id, event_id, control_card, class_course_id, "
                   "origin_client_id, origin_client_name, result_status, first_result_status, person_name, status, "
                   "time_sec, credit_penalty_sec) values (101, 30, '333333', 90, 7, 'PC', 'M', 'M', 'Beata', '0', 0, 0);\n"
                   "insert into vrk_results_class (results_class_id, event_id, control_card, class_course_id, "
                   "origin_client_id, origin_client_name, result_status, first_result_status, person_name, status, "
                   "time_sec, credit_penalty_sec) values (102, 30, '444444', 90, 7, 'PC', 'V', 'V', 'Cecilia', '0', 700, 0);\n"
                   "insert into vrk_data_replication (replication_id, repl_data_id, repl_data) values (1, 102, 'VRK_RESULTS_CLASS');\n"
                   "insert into vrk_data_replication (replication_id, repl_data_id, repl_data) values (2, 102, 'VRK_RESULTS_CLASS');\n"),
               true);
    }
    void SetParams(TFbQuery& q)
    {
        for (int i = 0; i < q.Params().Count(); ++i) {
            TParam& p = q.Params()[i];
            const QString n = p.Name().toUpper();
            if (n == QLatin1String("MESSAGE_LANGUAGE"))
                p.SetAsString(QStringLiteral("FI"));
            else if (n == QLatin1String("CONTROL_CARD"))
                p.SetAsString(QStringLiteral("222222"));
            else if (n == QLatin1String("EVENT_SERIES_ID"))
                p.SetAsLargeInt(10);
            else if (n == QLatin1String("EVENT_SERIES_SEASON_ID"))
                p.SetAsLargeInt(20);
            else if (n == QLatin1String("EVENT_ID"))
                p.SetAsLargeInt(30);
            else if (n == QLatin1String("CLASS_ID"))
                p.SetAsLargeInt(70);
            else if (n == QLatin1String("CLASS_COURSE_ID"))
                p.SetAsLargeInt(90);
            else if (n.startsWith(QLatin1String("RESULTS_CLASS_ID")))
                p.SetAsLargeInt(101);
            else
                p.SetAsLargeInt(1);
        }
    }
    DataModuleFixture f;
};

TEST_F(Datasets, EveryDatasetOpensWithItsParameters)
{
    int opened = 0;
    for (int i = 0; i < f.Module->ComponentCount(); ++i) {
        auto* q = dynamic_cast<TFbQuery*>(f.Module->Components(i));
        if (!q || q->SQL().Text().trimmed().isEmpty())
            continue;
        SetParams(*q);
        try {
            q->Open();
            ++opened;
        } catch (const Exception& e) {
            ADD_FAILURE() << q->Name().toStdString() << ": " << e.Message().toStdString();
        }
        q->Close();
    }
    EXPECT_EQ(opened, 26);
}

TEST_F(Datasets, ResultsGridRules)
{
    TFbQuery& q = *f.Module->fbQueryResultsCFD;
    q.ParamByName(QStringLiteral("MESSAGE_LANGUAGE")).SetAsString(QStringLiteral("FI"));
    q.ParamByName(QStringLiteral("EVENT_ID")).SetAsLargeInt(30);
    q.Open();
    EXPECT_EQ(q.RecordCount(), 3);  // two queue rows still make one grid row
    ASSERT_TRUE(q.Locate(QStringLiteral("RESULTS_CLASS_ID"), 100));
    EXPECT_TRUE(q.FieldByName(QStringLiteral("CONTROL_CARD"))->IsNull());
    EXPECT_EQ(q.FieldByName(QStringLiteral("RESULT_STATUS_CODE"))->AsString(), QStringLiteral("W"));
    EXPECT_EQ(q.FieldByName(QStringLiteral("RESULT_STATUS"))->AsString(),
              f.Value(QStringLiteral("select message_text from vrk_messages where message_name = "
                                     "'results_class.result_status:W' and message_language = 'FI'")).toString());
    EXPECT_FALSE(q.FieldByName(QStringLiteral("TIME_STR"))->IsNull());
    EXPECT_EQ(q.FieldByName(QStringLiteral("CLASS_NAME"))->AsString(), QStringLiteral("H21"));
    ASSERT_TRUE(q.Locate(QStringLiteral("RESULTS_CLASS_ID"), 101));
    EXPECT_EQ(q.FieldByName(QStringLiteral("CONTROL_CARD"))->AsString(), QStringLiteral("333333"));
    EXPECT_TRUE(q.FieldByName(QStringLiteral("TIME_STR"))->IsNull());
    EXPECT_TRUE(q.FieldByName(QStringLiteral("STATUS"))->IsNull());
    EXPECT_EQ(q.FieldByName(QStringLiteral("STATUS_CODE"))->AsString(), QStringLiteral("0"));
    ASSERT_TRUE(q.Locate(QStringLiteral("RESULTS_CLASS_ID"), 102));
    EXPECT_EQ(q.FieldByName(QStringLiteral("RESULT_STATUS_CODE"))->AsString(), QStringLiteral("V"));
    EXPECT_EQ(q.FieldByName(QStringLiteral("INSERTED"))->AsString().size(), 8);
    EXPECT_EQ(q.FieldByName(QStringLiteral("COURSE_NAME"))->AsString(), QStringLiteral("Pitkä"));
    EXPECT_EQ(q.FieldByName(QStringLiteral("COURSE_LENGTH"))->AsInteger(), 5000);
    EXPECT_THROW(q.Edit(), EDatabaseError);
    EXPECT_THROW(q.Delete(), EDatabaseError);

    // The last queue row gone: the run shows "W" after a requery, which keeps
    // the row; a run without a class-course shows no class.
    f.Exec(QStringLiteral("delete from vrk_data_replication;\n"
                          "update vrk_results_class set class_course_id = 0 where results_class_id = 101;"), true);
    q.Refresh();
    EXPECT_EQ(q.FieldByName(QStringLiteral("RESULTS_CLASS_ID"))->AsLargeInt(), 102);
    EXPECT_EQ(q.FieldByName(QStringLiteral("RESULT_STATUS_CODE"))->AsString(), QStringLiteral("W"));
    ASSERT_TRUE(q.Locate(QStringLiteral("RESULTS_CLASS_ID"), 101));
    EXPECT_TRUE(q.FieldByName(QStringLiteral("CLASS_NAME"))->IsNull());
    EXPECT_TRUE(q.FieldByName(QStringLiteral("CLASS_ID"))->IsNull());
    q.Close();
    f.Module->fbTrMainGridFD->Commit();
}

TEST_F(Datasets, ResultsGridReadsAgainWhatAnyDeskChanged)
{
    TFbQuery& q = *f.Module->fbQueryResultsCFD;
    q.ParamByName(QStringLiteral("MESSAGE_LANGUAGE")).SetAsString(QStringLiteral("FI"));
    q.ParamByName(QStringLiteral("EVENT_ID")).SetAsLargeInt(30);
    q.Open();
    ASSERT_TRUE(q.Locate(QStringLiteral("RESULTS_CLASS_ID"), 101));
    auto value = [&](int64_t Run, const char* Field) {
        return q.Lookup(QStringLiteral("RESULTS_CLASS_ID"), {QVariant::fromValue<qlonglong>(Run)}, QString::fromLatin1(Field))
            .toString();
    };
    // Nothing changed: nothing is read again and the rows stay.
    ASSERT_TRUE(f.Module->RefreshChangedRuns());
    EXPECT_EQ(q.RecordCount(), 3);

    // Another desk stores a read, a run is renamed, one is deleted and the
    // last queue rows of an accepted run go: the grid shows each change and
    // stays on its row.
    f.Exec(QStringLiteral(
               "insert into vrk_results_class (results_class_id, event_id, control_card, class_course_id, "
               "origin_client_id, origin_client_name, result_status, first_result_status, person_name, status, "
               "time_sec, credit_penalty_sec) values (103, 30, '555555', 90, 8, 'Toinen', 'M', 'M', 'Daniel', '0', 0, 0);\n"
               "update vrk_results_class set person_name = 'Beata B' where results_class_id = 101;\n"
               "delete from vrk_results_class where results_class_id = 100;\n"
               "delete from vrk_data_replication;\n"),
           true);
    ASSERT_TRUE(f.Module->RefreshChangedRuns());
    EXPECT_EQ(q.RecordCount(), 3);
    EXPECT_EQ(q.FieldByName(QStringLiteral("RESULTS_CLASS_ID"))->AsLargeInt(), 101);
    EXPECT_EQ(value(101, "PERSON_NAME"), QStringLiteral("Beata B"));
    EXPECT_EQ(value(103, "PERSON_NAME"), QStringLiteral("Daniel"));
    EXPECT_EQ(value(103, "CLASS_NAME"), QStringLiteral("H21"));
    EXPECT_EQ(value(102, "RESULT_STATUS_CODE"), QStringLiteral("W"));
    EXPECT_FALSE(q.Locate(QStringLiteral("RESULTS_CLASS_ID"), 100));

    // A class renamed in the course editor changes no run: its name follows.
    f.Exec(QStringLiteral("update vrk_class set class_name = 'H21A' where class_id = 70;"), true);
    ASSERT_TRUE(f.Module->RefreshChangedRuns());
    EXPECT_EQ(value(102, "CLASS_NAME"), QStringLiteral("H21A"));
    q.Close();
    f.Module->fbTrMainGridFD->Commit();
}

TEST_F(Datasets, PersonLookupTakesTheCardRegisterOnlyForUnknownCards)
{
    TFbQuery& q = *f.Module->fbQueryLookupPersonFD;
    q.ParamByName(QStringLiteral("EVENT_SERIES_ID")).SetAsLargeInt(10);
    q.ParamByName(QStringLiteral("CONTROL_CARD")).SetAsString(QStringLiteral("222222"));
    q.Open();
    EXPECT_EQ(q.RecordCount(), 3);
    ASSERT_TRUE(q.Locate(QStringLiteral("PERSON_ID"), -999));
    EXPECT_EQ(q.FieldByName(QStringLiteral("CHIP_TYPE"))->AsString(), QStringLiteral("2"));
    EXPECT_EQ(q.FieldByName(QStringLiteral("PERSON_NAME"))->AsString(), QStringLiteral("Rekisteri Reijo"));
    EXPECT_EQ(q.FieldByName(QStringLiteral("CHIP_SOURCE"))->AsString(), QStringLiteral("Tietokanta"));
    EXPECT_EQ(q.FieldByName(QStringLiteral("PRINT_RECEIPT"))->AsString(), QStringLiteral("K"));
    ASSERT_TRUE(q.Locate(QStringLiteral("PERSON_ID"), 0));
    EXPECT_EQ(q.FieldByName(QStringLiteral("PRINT_RECEIPT"))->AsString(), QStringLiteral("E"));
    q.Close();

    f.Exec(QStringLiteral("update vrk_person set control_card = '222222' where person_id = 50;"), true);
    q.Open();
    EXPECT_EQ(q.RecordCount(), 2);
    EXPECT_FALSE(q.Locate(QStringLiteral("PERSON_ID"), -999));
    q.Close();
    f.Module->fbTransactionDefaultFD->Commit();
}

TEST_F(Datasets, ClubEditorPostsThroughItsUpdateObject)
{
    TFbQuery& q = *f.Module->fbQueryClubFD;
    q.ParamByName(QStringLiteral("event_series_id")).SetAsLargeInt(10);
    q.Open();
    EXPECT_EQ(q.RecordCount(), 1);
    q.Append();
    q.FieldByName(QStringLiteral("CLUB_ID"))->SetAsLargeInt(41);
    q.FieldByName(QStringLiteral("EVENT_SERIES_ID"))->SetAsLargeInt(10);
    q.FieldByName(QStringLiteral("CLUB_NAME"))->SetAsString(QStringLiteral("Uusi Seura"));
    // The editor's new-record rules fill these (not part of this module).
    q.FieldByName(QStringLiteral("INSERTED"))->SetAsDateTime(Now());
    q.FieldByName(QStringLiteral("UPDATED"))->SetAsDateTime(Now());
    q.FieldByName(QStringLiteral("DELETED"))->SetAsString(QStringLiteral("E"));
    q.Post();
    EXPECT_EQ(q.FieldByName(QStringLiteral("CLUB_NAME"))->AsString(), QStringLiteral("Uusi Seura"));
    q.Locate(QStringLiteral("CLUB_ID"), 40);
    q.Edit();
    q.FieldByName(QStringLiteral("CLUB_ABBR"))->SetAsString(QStringLiteral("SE"));
    q.Post();
    EXPECT_THROW(q.Delete(), EDatabaseError);
    f.Module->fbTrClubFD->Commit();
    EXPECT_EQ(f.Value(QStringLiteral("select count(*) from vrk_club where event_series_id = 10")).toInt(), 2);
    EXPECT_EQ(f.Value(QStringLiteral("select club_abbr from vrk_club where club_id = 40")).toString(), QStringLiteral("SE"));
    q.Close();
}

TEST_F(Datasets, PersonEditorPostsThroughGeneratedStatements)
{
    TFbQuery& q = *f.Module->fbQueryPersonFD;
    q.ParamByName(QStringLiteral("event_series_id")).SetAsLargeInt(10);
    q.Open();
    ASSERT_TRUE(q.Locate(QStringLiteral("PERSON_ID"), 50));
    q.Edit();
    q.FieldByName(QStringLiteral("PHONE_NUMBER"))->SetAsString(QStringLiteral("040 123"));
    q.FieldByName(QStringLiteral("INFOTEXT"))->SetAsString(QStringLiteral("not written by the editor"));
    q.Post();
    f.Module->fbTrPersonFD->Rollback();
    EXPECT_EQ(f.Value(QStringLiteral("select phone_number from vrk_person where person_id = 50")), QVariant());
    q.Close();
    q.Open();
    q.Locate(QStringLiteral("PERSON_ID"), 50);
    q.Edit();
    q.FieldByName(QStringLiteral("PHONE_NUMBER"))->SetAsString(QStringLiteral("040 123"));
    q.FieldByName(QStringLiteral("INFOTEXT"))->SetAsString(QStringLiteral("not written by the editor"));
    q.Post();
    f.Module->fbTrPersonFD->Commit();
    EXPECT_EQ(f.Value(QStringLiteral("select phone_number from vrk_person where person_id = 50")).toString(),
              QStringLiteral("040 123"));
    EXPECT_EQ(f.Value(QStringLiteral("select infotext from vrk_person where person_id = 50")), QVariant());
    q.Close();
}

TEST_F(Datasets, CurrentRunPostsAndFetchesTheStoredRow)
{
    TFbQuery& q = *f.Module->fbQueryCurrResultFD;
    f.Module->OpenCurrentResult(101);
    ASSERT_EQ(q.RecordCount(), 1);  // the one run, not every run of the table
    ASSERT_EQ(q.FieldByName(QStringLiteral("RESULTS_CLASS_ID"))->AsLargeInt(), 101);
    q.Edit();
    q.FieldByName(QStringLiteral("RESULT_NOTES"))->SetAsString(QStringLiteral("X"));
    q.Post();
    f.Module->fbTransactionUpdateDefaultFD->Commit();
    EXPECT_EQ(f.Value(QStringLiteral("select result_notes from vrk_results_class where results_class_id = 101")).toString(),
              QStringLiteral("X"));
    q.Close();
}

// A run only looked at (a read accepted with its storing, shown until the
// window closes) is read in a read-only transaction; the next opening for
// editing gets a transaction it can post in.
TEST_F(Datasets, CurrentRunOnlyLookedAtIsReadReadOnly)
{
    TFbQuery& q = *f.Module->fbQueryCurrResultFD;
    TFbTransaction& t = *f.Module->fbTransactionUpdateDefaultFD;
    f.Module->OpenCurrentResult(101, true);
    ASSERT_EQ(q.RecordCount(), 1);
    EXPECT_TRUE(t.ActiveReadOnly());
    EXPECT_FALSE(t.ReadOnly);
    q.Close();
    t.Commit();
    f.Module->OpenCurrentResult(101);
    EXPECT_TRUE(t.Active());
    EXPECT_FALSE(t.ActiveReadOnly());
    q.Close();
    t.Commit();
}

TEST_F(Datasets, CourseCandidatesPostThroughTheirUpdateObject)
{
    f.Exec(QStringLiteral(
               "insert into vrk_results_class_all (results_class_all_id, results_class_id, class_course_id, time_sec, "
               "status) values (500, 101, 90, 0, '0');\n"
               "insert into vrk_results_class_all (results_class_all_id, results_class_id, class_course_id, time_sec, "
               "status) values (501, 101, 90, 100, null);\n"),
           true);
    TFbQuery& q = *f.Module->fbQuerySelectClassCourseFD;
    q.ParamByName(QStringLiteral("MESSAGE_LANGUAGE")).SetAsString(QStringLiteral("FI"));
    q.ParamByName(QStringLiteral("RESULTS_CLASS_ID")).SetAsLargeInt(101);
    q.Open();
    ASSERT_EQ(q.RecordCount(), 1);  // a row without a status text is not shown
    EXPECT_EQ(q.FieldByName(QStringLiteral("STATUS_TXT"))->AsString(), QStringLiteral("OK"));
    EXPECT_EQ(q.FieldByName(QStringLiteral("ACTIVE_CLASS_TXT"))->AsString(), QString());
    EXPECT_TRUE(q.FieldByName(QStringLiteral("TIME_STR"))->IsNull());
    q.Edit();
    q.FieldByName(QStringLiteral("TIMES_CHANGED"))->SetAsString(QStringLiteral("K"));
    q.Post();
    f.Module->fbTransactionUpdateDefaultFD->Commit();
    EXPECT_EQ(f.Value(QStringLiteral("select times_changed from vrk_results_class_all where results_class_all_id = 500")).toString(),
              QStringLiteral("K"));
    q.Close();

    // The check-in list adds the run's own row while it is in the forest.
    TFbQuery& ci = *f.Module->fbQuerySelectClassCourseFFD;
    ci.ParamByName(QStringLiteral("MESSAGE_LANGUAGE")).SetAsString(QStringLiteral("FI"));
    ci.ParamByName(QStringLiteral("RESULTS_CLASS_ID")).SetAsLargeInt(101);
    ci.ParamByName(QStringLiteral("RESULTS_CLASS_ID2")).SetAsLargeInt(101);
    ci.Open();
    EXPECT_EQ(ci.RecordCount(), 2);
    ci.First();
    EXPECT_EQ(ci.FieldByName(QStringLiteral("CLASS_COURSE_ID"))->AsLargeInt(), 0);
    EXPECT_THROW(ci.Edit(), EDatabaseError);
    ci.Close();
    f.Module->fbTransactionUpdateDefaultFD->Commit();
}

TEST_F(Datasets, CourseAndControlEditorsWriteTheirTables)
{
    TFbQuery& c = *f.Module->fbQueryCourseFD;
    c.ParamByName(QStringLiteral("event_id")).SetAsLargeInt(30);
    c.Open();
    ASSERT_EQ(c.RecordCount(), 1);
    EXPECT_EQ(c.FieldByName(QStringLiteral("CLASS_NAME"))->AsString(), QStringLiteral("H21"));
    c.Edit();
    c.FieldByName(QStringLiteral("COURSE_LENGTH"))->SetAsInteger(5200);
    c.FieldByName(QStringLiteral("DO_SYNC"))->SetAsString(QStringLiteral("K"));
    c.Post();
    EXPECT_EQ(c.FieldByName(QStringLiteral("COURSE_LENGTH"))->AsInteger(), 5200);
    f.Module->fbTrCourseFD->Commit();
    EXPECT_EQ(f.Value(QStringLiteral("select course_length from vrk_course where course_id = 80")).toInt(), 5200);
    c.Close();

    TFbQuery& k = *f.Module->fbQueryControlFD;
    k.ParamByName(QStringLiteral("event_id")).SetAsLargeInt(30);
    k.Open();
    EXPECT_TRUE(k.IsEmpty());
    k.Append();
    k.FieldByName(QStringLiteral("CONTROL_ID"))->SetAsLargeInt(700);
    k.FieldByName(QStringLiteral("EVENT_ID"))->SetAsLargeInt(30);
    k.FieldByName(QStringLiteral("CONTROL_CODE"))->SetAsInteger(31);
    k.FieldByName(QStringLiteral("ONLINE_CONTROL"))->SetAsString(QStringLiteral("E"));
    k.FieldByName(QStringLiteral("MANDATORY_CONTROL"))->SetAsString(QStringLiteral("K"));
    k.FieldByName(QStringLiteral("INSERTED"))->SetAsDateTime(Now());
    k.FieldByName(QStringLiteral("UPDATED"))->SetAsDateTime(Now());
    k.Post();
    k.Delete();
    EXPECT_TRUE(k.IsEmpty());
    k.Append();
    k.FieldByName(QStringLiteral("CONTROL_ID"))->SetAsLargeInt(701);
    k.FieldByName(QStringLiteral("EVENT_ID"))->SetAsLargeInt(30);
    k.FieldByName(QStringLiteral("CONTROL_CODE"))->SetAsInteger(32);
    k.FieldByName(QStringLiteral("ONLINE_CONTROL"))->SetAsString(QStringLiteral("E"));
    k.FieldByName(QStringLiteral("MANDATORY_CONTROL"))->SetAsString(QStringLiteral("K"));
    k.FieldByName(QStringLiteral("INSERTED"))->SetAsDateTime(Now());
    k.FieldByName(QStringLiteral("UPDATED"))->SetAsDateTime(Now());
    k.Post();
    f.Module->fbTrControlFD->Commit();
    EXPECT_EQ(f.Value(QStringLiteral("select list(control_code) from vrk_controls where event_id = 30")).toString(),
              QStringLiteral("32"));
    k.Close();
}

TEST_F(Datasets, TreeDetailsFollowTheirMasters)
{
    TFbQuery& series = *f.Module->fbQueryEventSeriesStartFD;
    TFbQuery& seasons = *f.Module->fbQueryEventSeriesSeasonStartFD;
    TFbQuery& events = *f.Module->fbQueryEventStartFD;
    series.Open();
    seasons.Open();
    events.Open();
    ASSERT_EQ(series.RecordCount(), 1);
    EXPECT_EQ(seasons.RecordCount(), 1);
    ASSERT_EQ(events.RecordCount(), 1);
    EXPECT_EQ(events.FieldByName(QStringLiteral("EVENT_NAME"))->AsString(), QStringLiteral("Kisa"));
    EXPECT_NE(events.FindField(QStringLiteral("MAP_SCALE_1")), nullptr);
    series.Close();
    EXPECT_FALSE(seasons.Active());
    EXPECT_FALSE(events.Active());
    f.Module->fbTransactionTreeFD->Commit();
}

}  // namespace
