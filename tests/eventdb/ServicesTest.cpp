// Web entries, payment rows, persons and their merge, refusal texts, the
// upload queue and the download (replicate) procedures.

#include "tests/eventdb/EventDbFixture.h"

#include <gtest/gtest.h>

namespace {

const QString kInsert = QStringLiteral(
    "SELECT OUT_RESULTS_CLASS_ID, OUT_WAS_IN_FOREST, OUT_MESSAGE, OUT_FLAG FROM E_RESULTS_CLASS.RESULTS_CLASS_INSERT("
    ":IN_EVENT_ID, :IN_CHIP_STRING, :IN_TO_FOREST, :IN_START_TIME, :IN_LANGUAGE_CODE, :IN_CONTROL_CARD) ");
const std::vector<std::pair<int, int>> kCourseA = {{0, 0}, {31, 600}, {32, 1200}, {33, 1800}, {100, 2400}, {250, 2700}};

class ServicesTest : public ::testing::Test {
protected:
    TRow Insert(qlonglong event, const QString& chip, const QString& lang = QStringLiteral("FI"),
                const QString& toForest = QStringLiteral("E"), const QString& card = QString())
    {
        return db.Row(kInsert, {{"IN_EVENT_ID", event}, {"IN_CHIP_STRING", chip}, {"IN_TO_FOREST", toForest},
                                {"IN_START_TIME", QString()}, {"IN_LANGUAGE_CODE", lang}, {"IN_CONTROL_CARD", card}});
    }
    int Count(const QString& table) { return db.Value(QStringLiteral("select count(*) from ") + table).toInt(); }
    int Queued(const QString& table, qlonglong id)
    {
        return db.Value(QStringLiteral("select count(*) from vrk_data_replication where repl_data = :t and repl_data_id = :id"),
                        {{"T", table}, {"ID", id}}).toInt();
    }
    EventDb db;
};

TEST_F(ServicesTest, WebEntryProposalsAndStatus)
{
    const QString byEntry = QStringLiteral("SELECT OUT_PERSON_ID, OUT_PERSON_STATUS, OUT_MESSAGE FROM "
                                           "E_RESULTS_CLASS.SELECT_WEB_ENTRY(:IN_RASTILIPPU_ENTRIES_ID, :IN_LANGUAGE_CODE) ");
    TRow r = db.Row(byEntry, {{"IN_RASTILIPPU_ENTRIES_ID", 802}, {"IN_LANGUAGE_CODE", "FI"}});
    EXPECT_EQ(r["OUT_PERSON_ID"].toLongLong(), 1001);  // by Sport ID
    EXPECT_EQ(r["OUT_PERSON_STATUS"].toString(), QStringLiteral("OK"));
    r = db.Row(byEntry, {{"IN_RASTILIPPU_ENTRIES_ID", 801}, {"IN_LANGUAGE_CODE", "FI"}});
    EXPECT_EQ(r["OUT_PERSON_ID"].toLongLong(), 1002);  // by name only: to be checked
    EXPECT_EQ(r["OUT_PERSON_STATUS"].toString(), QStringLiteral("EXLAMATION"));

    const qlonglong run = Insert(100, QString(), QStringLiteral("FI"), QStringLiteral("K"), QStringLiteral("054321"))
                              ["OUT_RESULTS_CLASS_ID"].toLongLong();
    const QString byCard = QStringLiteral("SELECT OUT_RASTILIPPU_ENTRIES_ID, OUT_STATUS, OUT_MESSAGE FROM "
                                          "E_RESULTS_CLASS.SELECT_WEB_ENTRY_CHIP(:IN_RESULTS_CLASS_ID, :IN_CONTROL_CARD, :IN_LANGUAGE_CODE) ");
    r = db.Row(byCard, {{"IN_RESULTS_CLASS_ID", run}, {"IN_CONTROL_CARD", "054321"}, {"IN_LANGUAGE_CODE", "FI"}});
    EXPECT_EQ(r["OUT_RASTILIPPU_ENTRIES_ID"].toLongLong(), 801);
    EXPECT_EQ(r["OUT_STATUS"].toString(), QStringLiteral("OK"));
    r = db.Row(byCard, {{"IN_RESULTS_CLASS_ID", run}, {"IN_CONTROL_CARD", "011111"}, {"IN_LANGUAGE_CODE", "FI"}});
    EXPECT_EQ(r["OUT_RASTILIPPU_ENTRIES_ID"].toLongLong(), 801);  // the run's person has an open entry
    EXPECT_EQ(r["OUT_STATUS"].toString(), QStringLiteral("EXLAMATION"));

    r = db.Row(QStringLiteral("SELECT OUT_MESSAGE FROM E_RASTILIPPU_ENTRIES.SET_WEB_ENTRY_STATUS(:IN_RASTILIPPU_ENTRIES_ID, "
                              ":IN_RESULTS_CLASS_ID, :IN_STATUS, :IN_LANGUAGE_CODE) "),
               {{"IN_RASTILIPPU_ENTRIES_ID", 801}, {"IN_RESULTS_CLASS_ID", run}, {"IN_STATUS", "M"}, {"IN_LANGUAGE_CODE", "FI"}});
    EXPECT_FALSE(r["OUT_MESSAGE"].isValid());
    EXPECT_EQ(db.Value(QStringLiteral("select status from vrk_rastilippu_entries where rastilippu_entries_id = 801")).toString(),
              QStringLiteral("M"));
    EXPECT_EQ(Queued(QStringLiteral("VRK_RASTILIPPU_ENTRIES"), 801), 1);
    // the open list no longer offers it
    r = db.Row(byCard, {{"IN_RESULTS_CLASS_ID", run}, {"IN_CONTROL_CARD", "054321"}, {"IN_LANGUAGE_CODE", "FI"}});
    EXPECT_EQ(r["OUT_RASTILIPPU_ENTRIES_ID"].toLongLong(), 0);
}

TEST_F(ServicesTest, PaymentRowsWithCardBalance)
{
    const QString sql = QStringLiteral(
        "select OUT_ID, OUT_PAYMENT_TYPE, OUT_PAYMENT_METHOD_ID, OUT_PAYMENT_METHOD_NAME, OUT_PAYMENT_METHOD_PRICE, "
        "OUT_SELECTED_METHOD, OUT_CHIP_BALANCE_BEFORE from E_CHIP_BALANCE.GET_PAYMENT_METHODS(:EVENT_ID, :CONTROL_CARD, "
        ":RESULTS_CLASS_ID, :MESSAGE_LANGUAGE);");
    auto selected = [](const std::vector<TRow>& rows) {
        int n = 0;
        TRow s;
        for (const TRow& r : rows)
            if (r["OUT_SELECTED_METHOD"].toString() == QLatin1String("K")) {
                ++n;
                s = r;
            }
        EXPECT_EQ(n, 1);
        return s;
    };
    auto rows = db.Rows(sql, {{"EVENT_ID", 100}, {"CONTROL_CARD", "012345"}, {"RESULTS_CLASS_ID", QVariant()}, {"MESSAGE_LANGUAGE", "FI"}});
    ASSERT_EQ(rows.size(), 3u);
    TRow s = selected(rows);
    EXPECT_EQ(s["OUT_PAYMENT_TYPE"].toString(), QStringLiteral("SALDO"));
    EXPECT_DOUBLE_EQ(s["OUT_CHIP_BALANCE_BEFORE"].toDouble(), 50.0);
    EXPECT_DOUBLE_EQ(s["OUT_PAYMENT_METHOD_PRICE"].toDouble(), 12.0);

    // a balance payment of this computer not yet confirmed by the web lowers the balance
    const qlonglong paid = Insert(100, EventDb::Emit(QStringLiteral("12345"), kCourseA))["OUT_RESULTS_CLASS_ID"].toLongLong();
    db.Exec(QStringLiteral("update vrk_results_class set payment_type = 'SALDO', payment_method_id = 601, payment_price = 12 "
                           "where results_class_id = :id"),
            {{"ID", paid}});
    rows = db.Rows(sql, {{"EVENT_ID", 100}, {"CONTROL_CARD", "012345"}, {"RESULTS_CLASS_ID", QVariant()}, {"MESSAGE_LANGUAGE", "EN"}});
    EXPECT_DOUBLE_EQ(selected(rows)["OUT_CHIP_BALANCE_BEFORE"].toDouble(), 38.0);
    // the run itself proposes its own payment and does not count against itself
    rows = db.Rows(sql, {{"EVENT_ID", 100}, {"CONTROL_CARD", "012345"}, {"RESULTS_CLASS_ID", paid}, {"MESSAGE_LANGUAGE", "EN"}});
    s = selected(rows);
    EXPECT_EQ(s["OUT_PAYMENT_TYPE"].toString(), QStringLiteral("SALDO"));
    EXPECT_DOUBLE_EQ(s["OUT_CHIP_BALANCE_BEFORE"].toDouble(), 50.0);

    // a card without a balance: the season's proposed method
    rows = db.Rows(sql, {{"EVENT_ID", 100}, {"CONTROL_CARD", ""}, {"RESULTS_CLASS_ID", QVariant()}, {"MESSAGE_LANGUAGE", "FI"}});
    ASSERT_EQ(rows.size(), 2u);
    s = selected(rows);
    EXPECT_EQ(s["OUT_PAYMENT_METHOD_ID"].toLongLong(), 601);
    EXPECT_EQ(s["OUT_PAYMENT_METHOD_NAME"].toString(), QStringLiteral("Käteinen"));
}

TEST_F(ServicesTest, PersonMergeMovesTheRuns)
{
    const qlonglong run = Insert(100, EventDb::Emit(QStringLiteral("54321"), kCourseA))["OUT_RESULTS_CLASS_ID"].toLongLong();
    db.Exec(QStringLiteral("update vrk_results_class set result_status = 'V' where results_class_id = :id"), {{"ID", run}});
    const int before = Queued(QStringLiteral("VRK_RESULTS_CLASS"), run);
    // the merge dialog posts the kept person naming the person to merge away
    db.Exec(QStringLiteral("update vrk_person set new_person_id = 1002, do_sync = 'K', updated = current_timestamp "
                           "where person_id = 1003"));
    TRow r = db.Row(QStringLiteral("select person_id, person_name from vrk_results_class where results_class_id = :id"), {{"ID", run}});
    EXPECT_EQ(r["PERSON_ID"].toLongLong(), 1003);
    EXPECT_EQ(r["PERSON_NAME"].toString(), QStringLiteral("Nieminen Pekka"));
    EXPECT_EQ(db.Value(QStringLiteral("select deleted from vrk_person where person_id = 1002")).toString(), QStringLiteral("K"));
    EXPECT_EQ(Queued(QStringLiteral("VRK_PERSON"), 1003), 1);
    EXPECT_EQ(Queued(QStringLiteral("VRK_PERSON"), 1002), 0);  // the service merges from the kept row
    EXPECT_EQ(Queued(QStringLiteral("VRK_RESULTS_CLASS"), run), before + 1);
}

TEST_F(ServicesTest, PersonUpdatesAndLookups)
{
    auto errmsg = [&](const QString& sql, const TArgs& args) { return db.Row(sql, args)["OUT_ERRMSG"]; };
    const QString chip = QStringLiteral("SELECT OUT_ERRMSG FROM E_PERSON.UPDATE_PERSON_CHIP(:IN_EVENT_SERIES_ID, :IN_PERSON_ID, "
                                        ":IN_CONTROL_CARD, :IN_PERSON_CHIP) ");
    EXPECT_FALSE(errmsg(chip, {{"IN_EVENT_SERIES_ID", 1}, {"IN_PERSON_ID", 1003}, {"IN_CONTROL_CARD", "012345"}, {"IN_PERSON_CHIP", "K"}}).isValid());
    // the card left its former owner
    EXPECT_FALSE(db.Value(QStringLiteral("select control_card from vrk_person where person_id = 1001")).isValid());
    EXPECT_EQ(db.Value(QStringLiteral("select control_card from vrk_person where person_id = 1003")).toString(), QStringLiteral("012345"));
    EXPECT_TRUE(errmsg(chip, {{"IN_EVENT_SERIES_ID", 1}, {"IN_PERSON_ID", 1003}, {"IN_CONTROL_CARD", "077777"}, {"IN_PERSON_CHIP", "K"}})
                    .toString().contains(QStringLiteral("Lainakorttia")));
    EXPECT_FALSE(errmsg(QStringLiteral("SELECT OUT_ERRMSG FROM E_PERSON.UPDATE_PERSON_PHONE_NUMBER(:IN_PERSON_ID, :IN_PHONE_NUMBER) "),
                        {{"IN_PERSON_ID", 1002}, {"IN_PHONE_NUMBER", "040 123"}}).isValid());
    EXPECT_TRUE(errmsg(QStringLiteral("SELECT OUT_ERRMSG FROM E_PERSON.UPDATE_PERSON_RECEIPT_PRINT(:IN_PERSON_ID, :IN_RECEIPT_PRINT) "),
                       {{"IN_PERSON_ID", 4242}, {"IN_RECEIPT_PRINT", "E"}}).isValid());
    EXPECT_EQ(Queued(QStringLiteral("VRK_PERSON"), 1002), 1);

    TRow p = db.Row(QStringLiteral("SELECT OUT_PERSON_ID, OUT_PERSON_NAME FROM E_PERSON.CHECK_PERSON(:IN_EVENT_SERIES_ID, "
                                   ":IN_PERSON_NAME1, :IN_PERSON_NAME2) "),
                    {{"IN_EVENT_SERIES_ID", 1}, {"IN_PERSON_NAME1", "korhonen"}, {"IN_PERSON_NAME2", "ANNA"}});
    EXPECT_EQ(p["OUT_PERSON_ID"].toLongLong(), 1002);
    TRow c = db.Row(QStringLiteral("SELECT OUT_CLUB_ID, OUT_CLUB_NAME FROM E_CLUB.CHECK_CLUB(:IN_EVENT_SERIES_ID, :IN_CLUB_NAME) "),
                    {{"IN_EVENT_SERIES_ID", 1}, {"IN_CLUB_NAME", "helsingin suunnistajat"}});
    EXPECT_FALSE(c["OUT_CLUB_ID"].isValid());  // exact names: a case-only rename is allowed

    EXPECT_EQ(db.Row(QStringLiteral("SELECT OUT_ONKO_LAINAKORTTI, OUT_MESSAGE FROM E_SPECIAL_CC.ONKO_LAINAKORTTI(:IN_EVENT_SERIES_ID, :IN_CONTROL_CARD) "),
                     {{"IN_EVENT_SERIES_ID", 1}, {"IN_CONTROL_CARD", 77777}})["OUT_ONKO_LAINAKORTTI"].toString(), QStringLiteral("K"));
    EXPECT_EQ(db.Row(QStringLiteral("SELECT OUT_PERSON_ID, OUT_MESSAGE FROM E_SPECIAL_CC.HAE_LAINAKORTTI_HENKILO(:IN_EVENT_SERIES_ID, :IN_CONTROL_CARD) "),
                     {{"IN_EVENT_SERIES_ID", 1}, {"IN_CONTROL_CARD", 54321}})["OUT_PERSON_ID"].toLongLong(), 1002);
    const qlonglong a = db.Value(QStringLiteral("SELECT OUT_PERSON_ID FROM E_PERSON.GET_NEW_PERSON_ID ")).toLongLong();
    const qlonglong b = db.Value(QStringLiteral("SELECT OUT_CLUB_ID FROM E_CLUB.GET_NEW_CLUB_ID ")).toLongLong();
    EXPECT_GT(a, 7000000000LL);  // client 7's own id range
    EXPECT_GT(b, a);
}

// Every refusal in both languages, and nothing is written.
TEST_F(ServicesTest, RefusalTextsInBothLanguages)
{
    db.Exec(QStringLiteral("insert into vrk_event (event_id, event_series_season_id, event_name, event_date) "
                           "values (101, 10, 'Tyhjä', current_timestamp)"));
    db.Exec(QStringLiteral("insert into vrk_results_class (results_class_id, event_id, result_status, chip_string) "
                           "values (55, 101, 'V', :chip)"),
            {{"CHIP", EventDb::Emit(QStringLiteral("12345"), kCourseA)}});
    const QString good = EventDb::Emit(QStringLiteral("12345"), kCourseA);
    QString bad = good;
    bad.replace(QStringLiteral(",031,00600"), QStringLiteral(",031,99999"));
    struct Case {
        const char* name;
        std::function<QVariant(const char*)> call;
    };
    auto insert = [&](qlonglong ev, const QString& chip) {
        return [&, ev, chip](const char* lang) { return Insert(ev, chip, QString::fromLatin1(lang))["OUT_MESSAGE"]; };
    };
    const std::vector<Case> cases = {
        {"malformed emit string", insert(100, QStringLiteral("\"X\",\"0\",garbage"))},
        {"wrong number of fields", insert(100, good.section(QLatin1Char(','), 0, 60))},
        {"punch time out of range", insert(100, bad)},
        {"event without courses", insert(101, good)},
        {"unknown event", insert(555, good)},
        {"re-check of an unknown run",
         [&](const char* lang) {
             return db.Row(QStringLiteral("SELECT OUT_CLASS_COURSE_ID, OUT_CLASS_NAME, OUT_MESSAGE FROM "
                                          "E_RESULTS_CLASS.RESULTS_CLASS_VALIDATE(:IN_RESULTS_CLASS_ID, :IN_LANGUAGE_CODE) "),
                           {{"IN_RESULTS_CLASS_ID", 4242}, {"IN_LANGUAGE_CODE", lang}})["OUT_MESSAGE"];
         }},
        {"course without controls",
         [&](const char* lang) {
             return db.Row(QStringLiteral("SELECT OUT_CLASS_ID, OUT_MESSAGE FROM E_CLASS.CLASS_INSERT(:IN_EVENT_ID, :IN_CLASS_NAME, "
                                          ":IN_FEE, :IN_CALC_SCORING, :IN_MASS_START_TIME, :IN_CONTROLS_STRING, :IN_COURSE_LENGTH, "
                                          ":IN_CLIMB, :IN_NOTES, :IN_FINISH_CODE, :IN_LANGUAGE_CODE, :IN_CLASS_ID, :IN_COURSE_ID, "
                                          ":IN_ACTIVE_CLASS) "),
                           {{"IN_EVENT_ID", 100}, {"IN_CLASS_NAME", "D10"}, {"IN_FEE", 5.0}, {"IN_CALC_SCORING", ""},
                            {"IN_MASS_START_TIME", ""}, {"IN_CONTROLS_STRING", " , "}, {"IN_COURSE_LENGTH", 2.0},
                            {"IN_CLIMB", 0.0}, {"IN_NOTES", ""}, {"IN_FINISH_CODE", 100}, {"IN_LANGUAGE_CODE", lang},
                            {"IN_CLASS_ID", QVariant()}, {"IN_COURSE_ID", QVariant()}, {"IN_ACTIVE_CLASS", "K"}})["OUT_MESSAGE"];
         }},
        {"class name taken",
         [&](const char* lang) {
             return db.Row(QStringLiteral("SELECT OUT_CLASS_ID, OUT_MESSAGE FROM E_CLASS.CLASS_INSERT(:IN_EVENT_ID, :IN_CLASS_NAME, "
                                          ":IN_FEE, :IN_CALC_SCORING, :IN_MASS_START_TIME, :IN_CONTROLS_STRING, :IN_COURSE_LENGTH, "
                                          ":IN_CLIMB, :IN_NOTES, :IN_FINISH_CODE, :IN_LANGUAGE_CODE) "),
                           {{"IN_EVENT_ID", 100}, {"IN_CLASS_NAME", "h21"}, {"IN_FEE", 5.0}, {"IN_CALC_SCORING", ""},
                            {"IN_MASS_START_TIME", ""}, {"IN_CONTROLS_STRING", "31"}, {"IN_COURSE_LENGTH", 2.0},
                            {"IN_CLIMB", 0.0}, {"IN_NOTES", ""}, {"IN_FINISH_CODE", 100}, {"IN_LANGUAGE_CODE", lang}})["OUT_MESSAGE"];
         }},
        {"re-check in an event without courses",
         [&](const char* lang) {
             return db.Row(QStringLiteral("SELECT OUT_CLASS_COURSE_ID, OUT_CLASS_NAME, OUT_MESSAGE FROM "
                                          "E_RESULTS_CLASS.RESULTS_CLASS_VALIDATE(:IN_RESULTS_CLASS_ID, :IN_LANGUAGE_CODE) "),
                           {{"IN_RESULTS_CLASS_ID", 55}, {"IN_LANGUAGE_CODE", lang}})["OUT_MESSAGE"];
         }},
        {"unknown web entry",
         [&](const char* lang) {
             return db.Row(QStringLiteral("SELECT OUT_PERSON_ID, OUT_PERSON_STATUS, OUT_MESSAGE FROM "
                                          "E_RESULTS_CLASS.SELECT_WEB_ENTRY(:IN_RASTILIPPU_ENTRIES_ID, :IN_LANGUAGE_CODE) "),
                           {{"IN_RASTILIPPU_ENTRIES_ID", 4242}, {"IN_LANGUAGE_CODE", lang}})["OUT_MESSAGE"];
         }},
    };
    const int runs = Count(QStringLiteral("vrk_results_class")), classes = Count(QStringLiteral("vrk_class"));
    const int queued = Count(QStringLiteral("vrk_data_replication"));
    for (const Case& c : cases) {
        const QString fi = c.call("FI").toString(), en = c.call("EN").toString();
        EXPECT_FALSE(fi.isEmpty()) << c.name;
        EXPECT_FALSE(en.isEmpty()) << c.name;
        EXPECT_NE(fi, en) << c.name;
    }
    EXPECT_EQ(Count(QStringLiteral("vrk_results_class")), runs);
    EXPECT_EQ(Count(QStringLiteral("vrk_results_class_all")), 0);
    EXPECT_EQ(Count(QStringLiteral("vrk_results_splits")), 0);
    EXPECT_EQ(Count(QStringLiteral("vrk_class")), classes);
    EXPECT_EQ(Count(QStringLiteral("vrk_data_replication")), queued);
}

TEST_F(ServicesTest, EveryChangeIsQueuedOnce)
{
    // a read stores nothing for upload until the dialog accepts it
    const qlonglong run = Insert(100, EventDb::Emit(QStringLiteral("12345"), kCourseA))["OUT_RESULTS_CLASS_ID"].toLongLong();
    EXPECT_EQ(Count(QStringLiteral("vrk_data_replication")), 0);
    db.Exec(QStringLiteral("update vrk_results_class set result_status = 'V', updated = current_timestamp where results_class_id = :id"),
            {{"ID", run}});
    EXPECT_EQ(Queued(QStringLiteral("VRK_RESULTS_CLASS"), run), 1);
    // the finish dialog edits the chosen class-course row: one more change
    db.Exec(QStringLiteral("update vrk_results_class_all set time_sec = 2390, times_changed = 'K' "
                           "where results_class_id = :id and class_course_id = 401"),
            {{"ID", run}});
    EXPECT_EQ(Queued(QStringLiteral("VRK_RESULTS_CLASS"), run), 2);
    EXPECT_EQ(db.Value(QStringLiteral("select cast(time_sec as integer) from vrk_results_class where results_class_id = :id"),
                       {{"ID", run}}).toInt(), 2390);
    // a run without a person stays local
    const qlonglong local = Insert(100, EventDb::Emit(QStringLiteral("99005"), kCourseA))["OUT_RESULTS_CLASS_ID"].toLongLong();
    db.Exec(QStringLiteral("update vrk_results_class set result_notes = 'x' where results_class_id = :id"), {{"ID", local}});
    EXPECT_EQ(Queued(QStringLiteral("VRK_RESULTS_CLASS"), local), 0);
    // a deletion of an uploaded run goes up once; a pending new run's does not
    db.Exec(QStringLiteral("EXECUTE PROCEDURE E_RESULTS_CLASS.RESULTS_CLASS_DELETE(:IN_RESULTS_CLASS_ID)"), {{"IN_RESULTS_CLASS_ID", run}});
    db.Exec(QStringLiteral("EXECUTE PROCEDURE E_RESULTS_CLASS.RESULTS_CLASS_DELETE(:IN_RESULTS_CLASS_ID)"), {{"IN_RESULTS_CLASS_ID", local}});
    db.Exec(QStringLiteral("EXECUTE PROCEDURE E_RESULTS_CLASS.RESULTS_CLASS_DELETE(:IN_RESULTS_CLASS_ID)"), {{"IN_RESULTS_CLASS_ID", 0}});
    EXPECT_EQ(db.Value(QStringLiteral("select count(*) from vrk_data_replication where repl_data_id = :id and repl_type = 'D'"),
                       {{"ID", run}}).toInt(), 1);
    EXPECT_EQ(Queued(QStringLiteral("VRK_RESULTS_CLASS"), local), 0);
    EXPECT_EQ(Count(QStringLiteral("vrk_results_splits")), 0);
    // editors' rows with DO_SYNC 'K', a client message, a class
    db.Exec(QStringLiteral("update vrk_club set club_abbr = 'HSu', do_sync = 'K' where club_id = 501"));
    db.Exec(QStringLiteral("EXECUTE PROCEDURE E_CLIENT_MESSAGE.INSERT_CLIENT_MESSAGE(:IN_EVENT_ID, :IN_MESSAGE_TYPE, "
                           ":IN_MESSAGE_KEY, :IN_MESSAGE_INFO, :IN_MESSAGE_DATA)"),
            {{"IN_EVENT_ID", 100}, {"IN_MESSAGE_TYPE", "3"}, {"IN_MESSAGE_KEY", "100"}, {"IN_MESSAGE_INFO", "Tapahtuman kasittely alkaa"},
             {"IN_MESSAGE_DATA", "-"}});
    EXPECT_EQ(Queued(QStringLiteral("VRK_CLUB"), 501), 1);
    EXPECT_EQ(db.Value(QStringLiteral("select count(*) from vrk_data_replication where repl_data = 'VRK_CLIENT_MESSAGE'")).toInt(), 1);

    // the worker's view: pending rows, sent, confirmed
    auto unsent = [&] { return db.Row(QStringLiteral("EXECUTE PROCEDURE E_DATA_REPL.GET_UNSENT_MESSAGES"))["OUT_MESSAGE_COUNT"].toInt(); };
    const int pending = unsent();
    EXPECT_EQ(pending, Count(QStringLiteral("vrk_data_replication")));
    const qlonglong sync = db.Row(QStringLiteral("EXECUTE PROCEDURE E_DATA_REPL.GET_NEW_SYNC_MESSAGE_ID"))["OUT_SYNC_MESSAGE_ID"].toLongLong();
    const qlonglong first = db.Value(QStringLiteral("select min(replication_id) from vrk_data_replication")).toLongLong();
    db.Exec(QStringLiteral("EXECUTE PROCEDURE E_DATA_REPL.DATA_REPLIKOITU_WEBIIN_REST(:in_replication_id, :in_sync_message_id) "),
            {{"in_replication_id", first}, {"in_sync_message_id", sync}});
    db.Exec(QStringLiteral("EXECUTE PROCEDURE E_DATA_REPL.DATA_REPL_ERROR_REST(:IN_SYNC_MESSAGE_ID, :IN_ERROR_MESSAGE) "),
            {{"IN_SYNC_MESSAGE_ID", sync}, {"IN_ERROR_MESSAGE", "500"}});
    EXPECT_EQ(db.Row(QStringLiteral("EXECUTE PROCEDURE E_DATA_REPL.GET_UNSENT_MESSAGES"))["OUT_ON_ERROR_COUNT"].toInt(), 1);
    db.Exec(QStringLiteral("EXECUTE PROCEDURE E_DATA_REPL.DATA_REPLIKOITU_WEBIIN(:IN_REPLICATION_ID) "), {{"IN_REPLICATION_ID", first}});
    EXPECT_EQ(unsent(), pending - 1);
    EXPECT_FALSE(db.Value(QStringLiteral("SELECT OUT_ERRMSG FROM E_DATA_REPL.RESET_TRIED_COUNTS")).isValid());
}

TEST_F(ServicesTest, DownloadsApplyRowsWithoutQueueing)
{
    const QString person = QStringLiteral(
        "SELECT OUT_REQUEST_DATA, OUT_REQUEST_DATA_ID FROM E_PERSON.REPLICATE_PERSON(:IN_PERSON_ID, :IN_EVENT_SERIES_ID, "
        ":IN_PERSON_NAME, :IN_PERSON_SEX, :IN_CLUB_ID, :IN_CONTROL_CARD, :IN_LICENSE, :IN_COUNTRY, :IN_WEB_SHOW, :IN_INSERTED, "
        ":IN_UPDATED, :IN_PRINT_RECEIPT, :IN_WEB_SHOW_ASKED, :IN_PHONE_NUMBER, :IN_SPORT_ID, :IN_EMITAG_CARD, "
        ":IN_SPORTIDENT_CARD, :IN_INFOTEXT, :IN_REPL_TYPE)");
    TArgs args = {{"IN_PERSON_ID", 2001}, {"IN_EVENT_SERIES_ID", 1}, {"IN_PERSON_NAME", "Laine Liisa"}, {"IN_PERSON_SEX", "F"},
                  {"IN_CLUB_ID", 502}, {"IN_CONTROL_CARD", "033333"}, {"IN_LICENSE", QVariant()}, {"IN_COUNTRY", "FIN"},
                  {"IN_WEB_SHOW", "K"}, {"IN_INSERTED", QVariant()}, {"IN_UPDATED", QVariant()}, {"IN_PRINT_RECEIPT", "K"},
                  {"IN_WEB_SHOW_ASKED", QVariant()}, {"IN_PHONE_NUMBER", QVariant()}, {"IN_SPORT_ID", QVariant()},
                  {"IN_EMITAG_CARD", QVariant()}, {"IN_SPORTIDENT_CARD", QVariant()}, {"IN_INFOTEXT", QVariant()}, {"IN_REPL_TYPE", "U"}};
    TRow r = db.Row(person, args);
    EXPECT_EQ(r["OUT_REQUEST_DATA"].toString(), QStringLiteral("VRK_CLUB"));
    EXPECT_EQ(r["OUT_REQUEST_DATA_ID"].toLongLong(), 502);
    EXPECT_EQ(db.Value(QStringLiteral("select count(*) from vrk_person where person_id = 2001")).toInt(), 0);

    db.Exec(QStringLiteral("EXECUTE PROCEDURE E_CLUB.REPLICATE_CLUB(:IN_CLUB_ID, :IN_EVENT_SERIES_ID, :IN_CLUB_NAME, :IN_CLUB_ABBR, "
                           ":IN_LOCATION_NAME, :IN_REGION_NAME, :IN_REGION_ABBR, :IN_COUNTRY, :IN_WWW_ADDR, :IN_SCORE_CALCULATION, "
                           ":IN_INSERTED, :IN_UPDATED, :IN_REPL_TYPE)"),
            {{"IN_CLUB_ID", 502}, {"IN_EVENT_SERIES_ID", 1}, {"IN_CLUB_NAME", QVariant()}, {"IN_CLUB_ABBR", "X"},
             {"IN_LOCATION_NAME", QVariant()}, {"IN_REGION_NAME", QVariant()}, {"IN_REGION_ABBR", QVariant()},
             {"IN_COUNTRY", QVariant()}, {"IN_WWW_ADDR", QVariant()}, {"IN_SCORE_CALCULATION", QVariant()},
             {"IN_INSERTED", QVariant()}, {"IN_UPDATED", QVariant()}, {"IN_REPL_TYPE", "U"}});
    EXPECT_EQ(db.Value(QStringLiteral("select club_name from vrk_club where club_id = 502")).toString(), QString());  // coalesced
    r = db.Row(person, args);
    EXPECT_FALSE(r["OUT_REQUEST_DATA"].isValid());
    EXPECT_EQ(db.Value(QStringLiteral("select person_name from vrk_person where person_id = 2001")).toString(), QStringLiteral("Laine Liisa"));

    // a downloaded run with its nested rows, and its deletion
    db.Exec(QStringLiteral("EXECUTE PROCEDURE E_RESULTS_CLASS.REPLICATE_RESULTS_CLASS(:IN_RESULTS_CLASS_ID, :IN_EVENT_ID, "
                           ":IN_LEG_NUMBER, :IN_START_NUMBER, :IN_START_NUMBER_XTRA, :IN_CONTROL_CARD, :IN_VARIATION, :IN_PERSON_ID, "
                           ":IN_CLUB_ID, :IN_ENTRY_FEE, :IN_TIME_SEC, :IN_STATUS, :IN_CREDIT_PENALTY_SEC, :IN_CREDIT_PENALTY_NOTES, "
                           ":IN_TEAM_NUMBER, :IN_INSERTED, :IN_UPDATED, :IN_START_TIME, :IN_FINISH_TIME, :IN_CLASS_COURSE_ID, "
                           ":IN_ORIGIN_CLIENT_ID, :IN_ORIGIN_CLIENT_NAME, :IN_RENTED_CHIP, :IN_RESULT_STATUS, :IN_FIXED_START_TIME, "
                           ":IN_REGISTERED_TIME, :IN_START_PUNCH_TIME, :IN_CHIP_STRING, :IN_FIRST_RESULT_STATUS, :IN_ONLINE1_CC_ID, "
                           ":IN_ONLINE1_TIME_SEC, :IN_ONLINE1_POSITION, :IN_ONLINE1_TIME_BEHIND, :IN_ONLINE2_CC_ID, :IN_ONLINE2_TIME_SEC, "
                           ":IN_ONLINE2_POSITION, :IN_ONLINE2_TIME_BEHIND, :IN_ONLINE3_CC_ID, :IN_ONLINE3_TIME_SEC, :IN_ONLINE3_POSITION, "
                           ":IN_ONLINE3_TIME_BEHIND, :IN_PERSON_NAME, :IN_CLUB_NAME, :IN_CLUB_ABBR, :IN_LOCATION_NAME, :IN_REGION_NAME, "
                           ":IN_REGION_ABBR, :IN_COUNTRY, :IN_RESULT_NOTES, :IN_REPL_TYPE, :IN_ADDITIONAL_CLASS_ID, :IN_SPORTID, "
                           ":IN_ADDITIONAL_CLASS_NOTES, :IN_PAYMENT_TYPE, :IN_PAYMENT_METHOD_ID, :IN_PAYMENT_PRICE, :IN_PAYMENT_INFO, "
                           ":IN_CHIP_BALANCE_OPTIONS_ID, :IN_CHIP_BALANCE_PAID, :IN_CHIP_BALANCE_INFO)"),
            {{"IN_RESULTS_CLASS_ID", 9000000001LL}, {"IN_EVENT_ID", 100}, {"IN_CONTROL_CARD", "033333"}, {"IN_PERSON_ID", 2001},
             {"IN_TIME_SEC", 2000.0}, {"IN_STATUS", "0"}, {"IN_CLASS_COURSE_ID", 401}, {"IN_ORIGIN_CLIENT_ID", 9},
             {"IN_ORIGIN_CLIENT_NAME", "Toinen"}, {"IN_RESULT_STATUS", "V"}, {"IN_PERSON_NAME", "Laine Liisa"},
             {"IN_REPL_TYPE", "U"}});
    db.Exec(QStringLiteral("EXECUTE PROCEDURE RESULTS_CLASS_ALL.REPLICATE_RESULTS_CLASS_ALL(:IN_RESULTS_CLASS_ALL_ID, "
                           ":IN_RESULTS_CLASS_ID, :IN_CLASS_COURSE_ID, :IN_TIME_SEC, :IN_STATUS, :IN_START_TIME, :IN_FINISH_TIME, "
                           ":IN_FIXED_START_TIME, :IN_REGISTERED_TIME, :IN_START_PUNCH_TIME, :IN_MISSING_CONTROLS, "
                           ":IN_MISSING_CONTROLS_COUNT, :IN_COURSE_CONTROL_COUNT, :IN_STATUS_REASON, :IN_CREDIT_PENALTY_TIME, "
                           ":IN_TIMES_CHANGED, :IN_RESULT_NOTES, :IN_INSERTED, :IN_UPDATED)"),
            {{"IN_RESULTS_CLASS_ALL_ID", 9000000002LL}, {"IN_RESULTS_CLASS_ID", 9000000001LL}, {"IN_CLASS_COURSE_ID", 401},
             {"IN_TIME_SEC", 2000.0}, {"IN_STATUS", "0"}, {"IN_COURSE_CONTROL_COUNT", 3}});
    EXPECT_EQ(db.Value(QStringLiteral("select person_name from vrk_results_class where results_class_id = 9000000001")).toString(),
              QStringLiteral("Laine Liisa"));
    EXPECT_EQ(Count(QStringLiteral("vrk_data_replication")), 0);
    // the downloaded run takes its place on the board
    EXPECT_EQ(db.Row(QStringLiteral("select OUT_SIJA, OUT_P1_NIMI from E_RESULTS_CLASS.HAE_RESULT_BOARD_DATA(:ID)"),
                     {{"ID", 9000000001LL}})["OUT_SIJA"].toString(), QStringLiteral("1."));

    // the client row of another computer never becomes this computer's; the
    // deletion arrives with eleven inputs
    const QString client = QStringLiteral(
        "EXECUTE PROCEDURE E_CLIENT.REPLICATE_CLIENT(:IN_CLIENT, :IN_CLIENT_NAME, :IN_OWNER, :IN_IN_USE, :IN_NOTES, "
        ":in_inserted, :in_updated, :in_temp_client_id, :in_temp_client_id_valid_until, :IN_CLIENT_VERSION, :in_client_secret, "
        ":in_repl_type)");
    db.Exec(client, {{"IN_CLIENT", 9}, {"IN_CLIENT_NAME", "Toinen"}, {"IN_IN_USE", "K"}, {"in_repl_type", "U"}});
    EXPECT_EQ(db.Value(QStringLiteral("select in_use from vrk_client where client_id = 9")).toString(), QStringLiteral("E"));
    db.Exec(QStringLiteral("EXECUTE PROCEDURE E_CLIENT.REPLICATE_CLIENT(:IN_CLIENT, :IN_CLIENT_NAME, :IN_OWNER, :IN_IN_USE, "
                           ":IN_NOTES, :in_inserted, :in_updated, :in_temp_client_id, :in_temp_client_id_valid_until, "
                           ":IN_CLIENT_VERSION, :in_repl_type)"),
            {{"IN_CLIENT", 9}, {"in_repl_type", "D"}});
    db.Exec(QStringLiteral("EXECUTE PROCEDURE E_CLIENT.REPLICATE_CLIENT(:IN_CLIENT, :IN_CLIENT_NAME, :IN_OWNER, :IN_IN_USE, "
                           ":IN_NOTES, :in_inserted, :in_updated, :in_temp_client_id, :in_temp_client_id_valid_until, "
                           ":IN_CLIENT_VERSION, :in_repl_type)"),
            {{"IN_CLIENT", 7}, {"in_repl_type", "D"}});
    EXPECT_EQ(Count(QStringLiteral("vrk_client")), 1);
    EXPECT_EQ(db.Value(QStringLiteral("select client_id from vrk_client where in_use = 'K'")).toLongLong(), 7);
    EXPECT_EQ(Count(QStringLiteral("vrk_data_replication")), 0);

    // the event counters
    TRow s = db.Row(QStringLiteral("EXECUTE PROCEDURE E_EVENT.GET_EVENT_STATS(:IN_EVENT_ID, :IN_LANGUAGE_CODE)"),
                    {{"IN_EVENT_ID", 100}, {"IN_LANGUAGE_CODE", "FI"}});
    EXPECT_EQ(s["OUT_RESULTS"].toInt(), 1);
    EXPECT_EQ(s["OUT_CLASSES"].toInt(), 4);
}

}  // namespace
