// Card reads against the fixture event: parsing, course matching, statuses,
// times, split rows, forest registration, placings, the board and receipts.

#include "tests/eventdb/EventDbFixture.h"

#include "platform/database/FbQuery.h"

#include <gtest/gtest.h>

namespace {

const QString kInsert = QStringLiteral(
    "SELECT OUT_RESULTS_CLASS_ID, OUT_WAS_IN_FOREST, OUT_MESSAGE, OUT_FLAG FROM E_RESULTS_CLASS.RESULTS_CLASS_INSERT("
    ":IN_EVENT_ID, :IN_CHIP_STRING, :IN_TO_FOREST, :IN_START_TIME, :IN_LANGUAGE_CODE, :IN_CONTROL_CARD) ");

// Course A is 31, 32 (or unit 132), 33; course B is 31, 34 (may be missed), 33;
// the finish code is 100. Card clock zero is 18:00:12.345 (read 18:45:12.345,
// reader slot 250 at 2700 s).
using Punches = std::vector<std::pair<int, int>>;
const Punches kCourseA = {{0, 0}, {31, 600}, {132, 1200}, {33, 1800}, {100, 2400}, {250, 2700}};

class ReadingTest : public ::testing::Test {
protected:
    TRow Read(const QString& chip, const QString& toForest = QStringLiteral("E"), const QString& card = QString(),
              const QString& lang = QStringLiteral("FI"))
    {
        return db.Row(kInsert, {{"IN_EVENT_ID", 100}, {"IN_CHIP_STRING", chip}, {"IN_TO_FOREST", toForest},
                                {"IN_START_TIME", QString()}, {"IN_LANGUAGE_CODE", lang}, {"IN_CONTROL_CARD", card}});
    }
    TRow Run(qlonglong id)
    {
        return db.Row(QStringLiteral("select r.*, cast(r.time_sec as integer) secs from vrk_results_class r "
                                     "where r.results_class_id = :id"),
                      {{"ID", id}});
    }
    // A clean read of course A finishing at card time Finish; the run's id.
    qlonglong ReadCourseA(const QString& card, int finish)
    {
        Punches p = {{0, 0}, {31, 600}, {32, 1200}, {33, 1800}, {100, finish}, {250, finish + 300}};
        return Read(EventDb::Emit(card, p))["OUT_RESULTS_CLASS_ID"].toLongLong();
    }
    TRow CourseRow(qlonglong id, qlonglong cc)
    {
        return db.Row(QStringLiteral("select a.*, cast(a.time_sec as integer) secs from vrk_results_class_all a "
                                     "where a.results_class_id = :id and a.class_course_id = :cc"),
                      {{"ID", id}, {"CC", cc}});
    }
    EventDb db;
};

TEST_F(ReadingTest, CleanReadIsOkWithTimeAndSplits)
{
    TRow out = Read(EventDb::Emit(QStringLiteral("12345"), kCourseA));
    EXPECT_FALSE(out["OUT_MESSAGE"].isValid());
    EXPECT_EQ(out["OUT_FLAG"].toString(), QStringLiteral("O"));
    EXPECT_EQ(out["OUT_WAS_IN_FOREST"].toString(), QStringLiteral("E"));
    const qlonglong id = out["OUT_RESULTS_CLASS_ID"].toLongLong();
    ASSERT_GT(id, 0);

    TRow run = Run(id);
    EXPECT_EQ(run["RESULT_STATUS"].toString(), QStringLiteral("V"));
    EXPECT_EQ(run["PERSON_ID"].toLongLong(), 1001);
    EXPECT_EQ(run["PERSON_NAME"].toString(), QStringLiteral("Virtanen Matti"));
    EXPECT_EQ(run["CLUB_NAME"].toString(), QStringLiteral("Helsingin Suunnistajat"));
    EXPECT_EQ(run["CONTROL_CARD"].toString(), QStringLiteral("012345"));
    EXPECT_EQ(run["CLASS_COURSE_ID"].toLongLong(), 401);  // H21 (active) over H35 on the same course
    EXPECT_EQ(run["STATUS"].toString(), QStringLiteral("0"));
    EXPECT_EQ(run["SECS"].toInt(), 2400);
    EXPECT_EQ(run["ORIGIN_CLIENT_NAME"].toString(), QStringLiteral("Testikone"));

    // one evaluated row per class-course, also for courses that do not fit
    EXPECT_EQ(db.Value(QStringLiteral("select count(*) from vrk_results_class_all where results_class_id = :id"),
                       {{"ID", id}}).toInt(), 4);
    EXPECT_EQ(CourseRow(id, 404)["STATUS"].toString(), QStringLiteral("3"));

    auto splits = db.Rows(QStringLiteral("select punch_type, control_number, control_code, punched_code, "
                                         "cast(time_sec as integer) t, cast(leg_time_sec as integer) leg "
                                         "from vrk_results_splits where results_class_id = :id and class_course_id = 401 "
                                         "order by punch_order"),
                          {{"ID", id}});
    ASSERT_EQ(splits.size(), 6u);
    const char* types = "NRRRML";
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(splits[i]["PUNCH_TYPE"].toString(), QString(QLatin1Char(types[i]))) << i;
    EXPECT_EQ(splits[2]["CONTROL_NUMBER"].toInt(), 2);
    EXPECT_EQ(splits[2]["CONTROL_CODE"].toInt(), 32);
    EXPECT_EQ(splits[2]["PUNCHED_CODE"].toInt(), 132);  // the alternative punching unit counts
    EXPECT_EQ(splits[2]["T"].toInt(), 1200);
    EXPECT_EQ(splits[2]["LEG"].toInt(), 600);
    EXPECT_EQ(splits[4]["T"].toInt(), 2400);

    // a course the read does not fit gets its split rows once it is chosen
    const QString count404 = QStringLiteral("select count(*) from vrk_results_splits where results_class_id = :id "
                                            "and class_course_id = 404");
    EXPECT_EQ(db.Value(count404, {{"ID", id}}).toInt(), 0);
    db.Exec(QStringLiteral("update vrk_results_class set class_course_id = 404 where results_class_id = :id"), {{"ID", id}});
    EXPECT_EQ(db.Value(count404, {{"ID", id}}).toInt(), 8);  // N, 41 and 42 missing, 31, 132, 33 extra, M, L
    EXPECT_EQ(Run(id)["STATUS"].toString(), QStringLiteral("3"));
}

TEST_F(ReadingTest, StatusesOfImperfectReads)
{
    struct Case {
        const char* name;
        Punches punches;
        const char* status;
        const char* missing;
        const char* flag;
        int secs;
    };
    const std::vector<Case> cases = {
        {"missed control", {{0, 0}, {31, 600}, {32, 1200}, {100, 2400}, {250, 2700}}, "3", "33", "H", 2400},
        {"no finish punch", {{0, 0}, {31, 600}, {32, 1200}, {33, 1800}, {250, 2700}}, "2", "", "H", 0},
        {"extra punches and optional control skipped", {{0, 0}, {31, 600}, {55, 700}, {33, 1800}, {100, 2400}, {250, 2700}},
         "0", "", "O", 2400},
    };
    for (const Case& c : cases) {
        TRow out = Read(EventDb::Emit(QStringLiteral("99001"), c.punches));
        ASSERT_FALSE(out["OUT_MESSAGE"].isValid()) << c.name;
        EXPECT_EQ(out["OUT_FLAG"].toString(), QString::fromLatin1(c.flag)) << c.name;
        TRow run = Run(out["OUT_RESULTS_CLASS_ID"].toLongLong());
        EXPECT_EQ(run["STATUS"].toString(), QString::fromLatin1(c.status)) << c.name;
        EXPECT_EQ(run["SECS"].toInt(), c.secs) << c.name;
        EXPECT_EQ(run["RESULT_STATUS"].toString(), QStringLiteral("L")) << c.name;  // unknown card: no person
        TRow cc = CourseRow(run["RESULTS_CLASS_ID"].toLongLong(), run["CLASS_COURSE_ID"].toLongLong());
        EXPECT_EQ(cc["MISSING_CONTROLS"].toString(), QString::fromLatin1(c.missing)) << c.name;
    }
    // the optional control of course B shows as a row without a punch
    TRow last = db.Row(QStringLiteral("select first 1 r.results_class_id, r.class_course_id from vrk_results_class r "
                                      "order by r.results_class_id desc"));
    EXPECT_EQ(last["CLASS_COURSE_ID"].toLongLong(), 402);
    EXPECT_EQ(db.Value(QStringLiteral("select count(*) from vrk_results_splits where results_class_id = :id and "
                                      "class_course_id = 402 and punch_type = 'R' and punched_code is null"),
                       {{"ID", last["RESULTS_CLASS_ID"]}}).toInt(), 1);
    EXPECT_EQ(db.Value(QStringLiteral("select count(*) from vrk_results_splits where results_class_id = :id and "
                                      "class_course_id = 402 and punch_type = 'Y' and punched_code = 55"),
                       {{"ID", last["RESULTS_CLASS_ID"]}}).toInt(), 1);
}

TEST_F(ReadingTest, ControlChangesReachTheNextRead)
{
    // the first read caches the course plans; a new punching unit of control
    // 32 must count at the next read
    Read(EventDb::Emit(QStringLiteral("99006"), kCourseA));
    db.Exec(QStringLiteral("update vrk_controls set punching_unit2 = 133 where control_id = 32"));
    TRow out = Read(EventDb::Emit(QStringLiteral("99007"), {{0, 0}, {31, 600}, {133, 1200}, {33, 1800}, {100, 2400}, {250, 2700}}));
    TRow run = Run(out["OUT_RESULTS_CLASS_ID"].toLongLong());
    EXPECT_EQ(run["CLASS_COURSE_ID"].toLongLong(), 401);
    EXPECT_EQ(run["STATUS"].toString(), QStringLiteral("0"));
}

TEST_F(ReadingTest, MassStartAndRunsOverMidnight)
{
    // zero punch at 23:50, finish 30 minutes later on the next day
    TRow out = Read(EventDb::Emit(QStringLiteral("99002"), {{0, 0}, {31, 600}, {132, 900}, {33, 1200}, {100, 1800}, {250, 2100}},
                                  QStringLiteral("02.06.2024 00.25.00.000")));
    TRow run = Run(out["OUT_RESULTS_CLASS_ID"].toLongLong());
    EXPECT_EQ(run["STATUS"].toString(), QStringLiteral("0"));
    EXPECT_EQ(run["SECS"].toInt(), 1800);

    // class M starts together at 18:00:00; the card clock starts 12 s later
    out = Read(EventDb::Emit(QStringLiteral("99003"), {{0, 0}, {41, 500}, {42, 1000}, {100, 1500}, {250, 2700}}));
    run = Run(out["OUT_RESULTS_CLASS_ID"].toLongLong());
    EXPECT_EQ(run["CLASS_COURSE_ID"].toLongLong(), 404);
    EXPECT_EQ(run["SECS"].toInt(), 1512);
}

TEST_F(ReadingTest, ForestRegistrationLeavesOneRunAfterTheFinish)
{
    // check-in: a new run that is not yet in the forest
    TRow in = Read(QString(), QStringLiteral("K"), QStringLiteral("054321"));
    const qlonglong reg = in["OUT_RESULTS_CLASS_ID"].toLongLong();
    EXPECT_EQ(Run(reg)["RESULT_STATUS"].toString(), QStringLiteral("I"));
    EXPECT_EQ(Run(reg)["PERSON_ID"].toLongLong(), 1002);
    const QString onko = QStringLiteral("SELECT OUT_ONKO_KIRJATTU FROM E_RESULTS_CLASS.ONKO_KIRJATTU_MAASTOON(:IN_EVENT_ID, :IN_CONTROL_CARD) ");
    EXPECT_EQ(db.Value(onko, {{"IN_EVENT_ID", 100}, {"IN_CONTROL_CARD", "054321"}}).toString(), QStringLiteral("E"));
    // the check-in dialog saves it into the forest
    db.Exec(QStringLiteral("update vrk_results_class set result_status = 'M', first_result_status = 'M', "
                           "class_course_id = 402 where results_class_id = :id"),
            {{"ID", reg}});
    EXPECT_EQ(db.Value(onko, {{"IN_EVENT_ID", 100}, {"IN_CONTROL_CARD", "54321"}}).toString(), QStringLiteral("K"));
    // a second check-in of the same card is told so but still gets its own row
    TRow again = Read(QString(), QStringLiteral("K"), QStringLiteral("054321"));
    EXPECT_EQ(again["OUT_WAS_IN_FOREST"].toString(), QStringLiteral("K"));
    EXPECT_NE(again["OUT_RESULTS_CLASS_ID"].toLongLong(), reg);
    db.Exec(QStringLiteral("EXECUTE PROCEDURE E_RESULTS_CLASS.RESULTS_CLASS_DELETE(:IN_RESULTS_CLASS_ID)"),
            {{"IN_RESULTS_CLASS_ID", again["OUT_RESULTS_CLASS_ID"]}});

    // the finish read fills the registration
    TRow fin = Read(EventDb::Emit(QStringLiteral("54321"), {{0, 0}, {31, 600}, {33, 1800}, {100, 2400}, {250, 2700}}));
    EXPECT_EQ(fin["OUT_WAS_IN_FOREST"].toString(), QStringLiteral("K"));
    EXPECT_EQ(fin["OUT_RESULTS_CLASS_ID"].toLongLong(), reg);
    EXPECT_EQ(db.Value(QStringLiteral("select count(*) from vrk_results_class where control_card = '054321'")).toInt(), 1);
    TRow run = Run(reg);
    EXPECT_EQ(run["RESULT_STATUS"].toString(), QStringLiteral("V"));
    EXPECT_EQ(run["FIRST_RESULT_STATUS"].toString(), QStringLiteral("M"));
    EXPECT_EQ(run["CLASS_COURSE_ID"].toLongLong(), 402);
    EXPECT_EQ(run["STATUS"].toString(), QStringLiteral("0"));
    EXPECT_EQ(run["SECS"].toInt(), 2400);
}

TEST_F(ReadingTest, PlacingsAndBoardStandings)
{
    // H21: Virtanen 40:00, a register card owner 35:00 (accepted by the
    // dialog), Korhonen 45:00, one tie at 40:00 without a person ('L', not placed)
    const qlonglong virtanen = ReadCourseA(QStringLiteral("12345"), 2400);
    const qlonglong fast = ReadCourseA(QStringLiteral("88888"), 2100);
    const qlonglong korhonen = ReadCourseA(QStringLiteral("54321"), 2700);
    ReadCourseA(QStringLiteral("99004"), 2400);
    db.Exec(QStringLiteral("update vrk_results_class set person_id = 1003, result_status = 'V' where results_class_id = :id"),
            {{"ID", fast}});
    db.Exec(QStringLiteral("update vrk_results_class set class_course_id = 401 where results_class_id = :id"),
            {{"ID", korhonen}});
    EXPECT_EQ(Run(fast)["PERSON_NAME"].toString(), QStringLiteral("Nieminen Pekka"));

    const QString board = QStringLiteral(
        "select OUT_SIJA, OUT_SARJA, OUT_PERSON_NAME, OUT_CLUB_NAME, OUT_TIME_STR, OUT_RESULT_STATUS, OUT_STATUS, "
        "OUT_RESULT_NOTES, OUT_RENTED_CHIP, OUT_P1_SIJA, OUT_P1_NIMI, OUT_P1_AIKA, OUT_P1_PLUS, OUT_P2_SIJA, OUT_P2_NIMI, "
        "OUT_P2_PLUS, OUT_P3_SIJA, OUT_P3_NIMI, OUT_P3_PLUS, OUT_P4_SIJA, OUT_P4_NIMI, OUT_P13_SIJA "
        "from E_RESULTS_CLASS.HAE_RESULT_BOARD_DATA(:IN_RESULTS_CLASS_ID) ");
    TRow b = db.Row(board, {{"IN_RESULTS_CLASS_ID", virtanen}});
    EXPECT_EQ(b["OUT_SIJA"].toString(), QStringLiteral("2."));
    EXPECT_EQ(b["OUT_SARJA"].toString(), QStringLiteral("H21"));
    EXPECT_EQ(b["OUT_PERSON_NAME"].toString(), QStringLiteral("Virtanen Matti"));
    EXPECT_EQ(b["OUT_TIME_STR"].toString(), QStringLiteral("40:00"));
    EXPECT_EQ(b["OUT_RESULT_STATUS"].toString(), QStringLiteral("0"));
    EXPECT_EQ(b["OUT_STATUS"].toString(), QStringLiteral("OK"));
    EXPECT_EQ(b["OUT_RENTED_CHIP"].toString(), QStringLiteral("E"));
    EXPECT_EQ(b["OUT_P1_NIMI"].toString(), QStringLiteral("Nieminen Pekka"));
    EXPECT_EQ(b["OUT_P1_AIKA"].toString(), QStringLiteral("35:00"));
    EXPECT_EQ(b["OUT_P1_PLUS"].toString(), QString());
    EXPECT_EQ(b["OUT_P2_SIJA"].toString(), b["OUT_SIJA"].toString());
    EXPECT_EQ(b["OUT_P2_PLUS"].toString(), QStringLiteral("+05:00"));
    EXPECT_EQ(b["OUT_P3_NIMI"].toString(), QStringLiteral("Korhonen Anna"));
    EXPECT_EQ(b["OUT_P3_SIJA"].toString(), QStringLiteral("3."));
    EXPECT_EQ(b["OUT_P4_NIMI"].toString(), QString());
    EXPECT_EQ(b["OUT_P13_SIJA"].toString(), QString());

    // equal totals share a place; a penalty counts
    db.Exec(QStringLiteral("update vrk_results_class set credit_penalty_sec = 300 where results_class_id = :id"), {{"ID", fast}});
    b = db.Row(board, {{"IN_RESULTS_CLASS_ID", fast}});
    EXPECT_EQ(b["OUT_SIJA"].toString(), QStringLiteral("1."));
    EXPECT_EQ(b["OUT_P2_SIJA"].toString(), QStringLiteral("1."));
    // a run that is not placed has an empty place
    db.Exec(QStringLiteral("update vrk_results_class set status = '3' where results_class_id = :id"), {{"ID", korhonen}});
    b = db.Row(board, {{"IN_RESULTS_CLASS_ID", korhonen}});
    EXPECT_EQ(b["OUT_SIJA"].toString(), QString());
    EXPECT_EQ(b["OUT_RESULT_STATUS"].toString(), QStringLiteral("3"));
    EXPECT_EQ(b["OUT_STATUS"].toString(), QStringLiteral("Leima puuttuu"));
}

// A card read twice gives two runs of one runner; the standings list the
// runner once, at the better run, and either run shows the runner's place.
TEST_F(ReadingTest, RunnerReadTwiceIsListedOnceInTheStandings)
{
    const qlonglong first = ReadCourseA(QStringLiteral("12345"), 2400);
    const qlonglong again = ReadCourseA(QStringLiteral("12345"), 2400);
    const qlonglong other = ReadCourseA(QStringLiteral("54321"), 2700);
    db.Exec(QStringLiteral("update vrk_results_class set class_course_id = 401 where results_class_id = :id"), {{"ID", other}});
    const QString board = QStringLiteral("select OUT_SIJA, OUT_P1_NIMI, OUT_P2_NIMI, OUT_P2_SIJA, OUT_P3_NIMI "
                                         "from E_RESULTS_CLASS.HAE_RESULT_BOARD_DATA(:IN_RESULTS_CLASS_ID) ");
    for (const qlonglong run : {first, again, other}) {
        const TRow b = db.Row(board, {{"IN_RESULTS_CLASS_ID", run}});
        EXPECT_EQ(b["OUT_P1_NIMI"].toString(), QStringLiteral("Virtanen Matti")) << run;
        EXPECT_EQ(b["OUT_P2_NIMI"].toString(), QStringLiteral("Korhonen Anna")) << run;
        EXPECT_EQ(b["OUT_P2_SIJA"].toString(), QStringLiteral("2.")) << run;
        EXPECT_EQ(b["OUT_P3_NIMI"].toString(), QString()) << run;
        EXPECT_EQ(b["OUT_SIJA"].toString(), run == other ? QStringLiteral("2.") : QStringLiteral("1.")) << run;
    }
}

TEST_F(ReadingTest, ReceiptRows)
{
    const qlonglong id = Read(EventDb::Emit(QStringLiteral("12345"), kCourseA))["OUT_RESULTS_CLASS_ID"].toLongLong();
    auto header = [&](int row, const char* lang) {
        TRow r = db.Row(QStringLiteral("EXECUTE PROCEDURE E_CHIP_PRINT.GET_DATA(:IN_RESULTS_CLASS_ID, :ROW_NBR, :IN_LANGUAGE_CODE)"),
                        {{"IN_RESULTS_CLASS_ID", id}, {"ROW_NBR", row}, {"IN_LANGUAGE_CODE", lang}});
        return r["OUT_DATAROW"].toString();
    };
    EXPECT_EQ(header(81, "FI"), QStringLiteral("Iltarastit 1"));
    EXPECT_EQ(header(82, "FI"), QStringLiteral("01.06.2024 Paloheinä"));
    EXPECT_EQ(header(83, "FI"), QStringLiteral("Virtanen Matti, Helsingin Suunnistajat"));
    EXPECT_EQ(header(84, "FI"), QStringLiteral("H21 A (4.5 km)"));
    EXPECT_EQ(header(86, "FI"), QStringLiteral("Tulos 40:00"));
    EXPECT_EQ(header(86, "EN"), QStringLiteral("Result 40:00"));
    EXPECT_LE(header(86, "FI").size(), 21);

    auto rows = db.Rows(QStringLiteral("SELECT OUT_CONTROL, OUT_CONTROL_CODE, OUT_SPLIT_TIME, OUT_TOTAL_TIME FROM "
                                       "E_CHIP_PRINT.GET_SPLITS_EPR3(:IN_RESULTS_CLASS_ID, :IN_LANGUAGE_CODE) "),
                        {{"IN_RESULTS_CLASS_ID", id}, {"IN_LANGUAGE_CODE", "EN"}});
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_FALSE(rows[0]["OUT_CONTROL"].isValid());
    EXPECT_EQ(rows[0]["OUT_CONTROL_CODE"].toString(), QStringLiteral("Start"));
    EXPECT_EQ(rows[2]["OUT_CONTROL"].toInt(), 2);
    EXPECT_EQ(rows[2]["OUT_CONTROL_CODE"].toString(), QStringLiteral("32"));
    EXPECT_EQ(rows[2]["OUT_SPLIT_TIME"].toString(), QStringLiteral("10:00"));
    EXPECT_EQ(rows[2]["OUT_TOTAL_TIME"].toString(), QStringLiteral("20:00"));
    EXPECT_EQ(rows[4]["OUT_CONTROL_CODE"].toString(), QStringLiteral("Finish"));
    EXPECT_EQ(rows[4]["OUT_TOTAL_TIME"].toString(), QStringLiteral("40:00"));
}

TEST_F(ReadingTest, RecheckProposesAnotherCourseAndCourseEditsMarkRuns)
{
    const qlonglong id = Read(EventDb::Emit(QStringLiteral("12345"), kCourseA))["OUT_RESULTS_CLASS_ID"].toLongLong();
    db.Exec(QStringLiteral("update vrk_results_class set class_course_id = 402 where results_class_id = :id"), {{"ID", id}});
    TRow v = db.Row(QStringLiteral("SELECT OUT_CLASS_COURSE_ID, OUT_CLASS_NAME, OUT_MESSAGE FROM "
                                   "E_RESULTS_CLASS.RESULTS_CLASS_VALIDATE(:IN_RESULTS_CLASS_ID, :IN_LANGUAGE_CODE) "),
                    {{"IN_RESULTS_CLASS_ID", id}, {"IN_LANGUAGE_CODE", "FI"}});
    EXPECT_FALSE(v["OUT_MESSAGE"].isValid());
    EXPECT_EQ(v["OUT_CLASS_COURSE_ID"].toLongLong(), 401);
    EXPECT_EQ(v["OUT_CLASS_NAME"].toString(), QStringLiteral("H21"));
    EXPECT_EQ(Run(id)["CLASS_COURSE_ID"].toLongLong(), 402);  // the operator decides

    // course A loses control 32: the H21 run now misses a control and D21 fits
    db.Exec(QStringLiteral("update vrk_results_class set class_course_id = 401 where results_class_id = :id"), {{"ID", id}});
    TRow u = db.Row(QStringLiteral("SELECT OUT_CLASS_ID, OUT_MESSAGE FROM E_CLASS.CLASS_UPDATE(:IN_EVENT_ID, :IN_CLASS_NAME, "
                                   ":IN_FEE, :IN_CALC_SCORING, :IN_MASS_START_TIME, :IN_CONTROLS_STRING, :IN_COURSE_LENGTH, "
                                   ":IN_CLIMB, :IN_NOTES, :IN_FINISH_CODE, :IN_LANGUAGE_CODE, :IN_CLASS_ID, :IN_COURSE_ID, "
                                   ":IN_ACTIVE_CLASS) "),
                    {{"IN_EVENT_ID", 100}, {"IN_CLASS_NAME", "H21"}, {"IN_FEE", 12.0}, {"IN_CALC_SCORING", ""},
                     {"IN_MASS_START_TIME", ""}, {"IN_CONTROLS_STRING", "31, 35, 33"}, {"IN_COURSE_LENGTH", 4500.0},
                     {"IN_CLIMB", QVariant()}, {"IN_NOTES", ""}, {"IN_FINISH_CODE", QVariant()}, {"IN_LANGUAGE_CODE", "FI"},
                     {"IN_CLASS_ID", 301}, {"IN_COURSE_ID", 201}, {"IN_ACTIVE_CLASS", "K"}});
    EXPECT_FALSE(u["OUT_MESSAGE"].isValid());
    TRow run = Run(id);
    EXPECT_EQ(run["RESULT_STATUS"].toString(), QStringLiteral("T"));
    EXPECT_EQ(run["STATUS"].toString(), QStringLiteral("3"));
    EXPECT_EQ(run["VALIDATED_CLASS_COURSE_ID"].toLongLong(), 402);
    EXPECT_EQ(run["VALIDATED_CLASS_ID"].toLongLong(), 302);
    EXPECT_EQ(db.Value(QStringLiteral("select controls_string from vrk_course where course_id = 201")).toString(),
              QStringLiteral("31,35,33"));
}

// "Luku" of a run's course rows is when its card was read: a re-check (a
// course saved in the editor, the dialog's "Tarkasta") gives fresh results
// but keeps it; a run without a read keeps the time it was stored.
TEST_F(ReadingTest, RecheckAfterACourseIsSavedKeepsTheReadTime)
{
    const qlonglong id = Read(EventDb::Emit(QStringLiteral("12345"), kCourseA))["OUT_RESULTS_CLASS_ID"].toLongLong();
    const QString readAt = QStringLiteral("2024-06-01 18:45:12");
    auto inserted = [&](qlonglong run) {
        return db.Value(QStringLiteral("select cast(max(a.inserted) as varchar(30)) || '|' || cast(min(a.inserted) as varchar(30)) "
                                       "from vrk_results_class_all a where a.results_class_id = :id"),
                        {{"ID", run}})
            .toString();
    };
    const QString both = readAt + QStringLiteral(".3450|") + readAt + QStringLiteral(".3450");
    EXPECT_EQ(inserted(id), both);

    const qlonglong byHand = Read(QString(), QStringLiteral("K"), QStringLiteral("054321"))["OUT_RESULTS_CLASS_ID"].toLongLong();
    const QString stored = db.Value(QStringLiteral("select cast(inserted as varchar(30)) from vrk_results_class where results_class_id = :id"),
                                    {{"ID", byHand}})
                               .toString();
    EXPECT_EQ(inserted(byHand), stored + QLatin1Char('|') + stored);

    // the course is saved with another control: its runs are checked again
    TRow u = db.Row(QStringLiteral("SELECT OUT_CLASS_ID, OUT_MESSAGE FROM E_CLASS.CLASS_UPDATE(:IN_EVENT_ID, :IN_CLASS_NAME, "
                                   ":IN_FEE, :IN_CALC_SCORING, :IN_MASS_START_TIME, :IN_CONTROLS_STRING, :IN_COURSE_LENGTH, "
                                   ":IN_CLIMB, :IN_NOTES, :IN_FINISH_CODE, :IN_LANGUAGE_CODE, :IN_CLASS_ID, :IN_COURSE_ID, "
                                   ":IN_ACTIVE_CLASS) "),
                    {{"IN_EVENT_ID", 100}, {"IN_CLASS_NAME", "H21"}, {"IN_FEE", 12.0}, {"IN_CALC_SCORING", ""},
                     {"IN_MASS_START_TIME", ""}, {"IN_CONTROLS_STRING", "31,35,33"}, {"IN_COURSE_LENGTH", 4500.0},
                     {"IN_CLIMB", QVariant()}, {"IN_NOTES", ""}, {"IN_FINISH_CODE", QVariant()}, {"IN_LANGUAGE_CODE", "FI"},
                     {"IN_CLASS_ID", 301}, {"IN_COURSE_ID", 201}, {"IN_ACTIVE_CLASS", "K"}});
    EXPECT_FALSE(u["OUT_MESSAGE"].isValid());
    EXPECT_EQ(Run(id)["STATUS"].toString(), QStringLiteral("3"));
    EXPECT_EQ(inserted(id), both);
    EXPECT_GT(db.Value(QStringLiteral("select max(a.updated) from vrk_results_class_all a where a.results_class_id = :id"), {{"ID", id}})
                  .toDateTime()
                  .date()
                  .year(),
              2024);
    // and the dialog's own re-check
    for (const qlonglong run : {id, byHand}) {
        db.Row(QStringLiteral("SELECT OUT_MESSAGE FROM E_RESULTS_CLASS.RESULTS_CLASS_VALIDATE(:IN_RESULTS_CLASS_ID, :IN_LANGUAGE_CODE) "),
               {{"IN_RESULTS_CLASS_ID", run}, {"IN_LANGUAGE_CODE", "FI"}});
    }
    EXPECT_EQ(inserted(id), both);
    EXPECT_EQ(inserted(byHand), stored + QLatin1Char('|') + stored);
}

// The desk stores a finish read and checks it in one transaction; the check
// then takes the store's evaluation instead of repeating it. Whatever the
// shortcut, the check must answer and leave the run exactly as a check of
// its own does, also when the run's course changed in between.
TEST_F(ReadingTest, CheckInTheStoringTransactionAnswersAsACheckOfItsOwn)
{
    const QString kValidate = QStringLiteral(
        "SELECT OUT_CLASS_COURSE_ID, OUT_MESSAGE FROM E_RESULTS_CLASS.RESULTS_CLASS_VALIDATE(:IN_RESULTS_CLASS_ID, 'FI') ");
    const QString kChangeCourse =
        QStringLiteral("update vrk_results_class set class_course_id = 401 where results_class_id = :ID");
    struct Case {
        const char* name;
        bool registered;    // the card was checked in on course B (D21)
        bool changeCourse;  // the run is moved to course A between store and check
    };
    const std::vector<Case> cases = {
        {"registration on another course", true, false},
        {"fresh read", false, false},
        {"course changed in between", true, true},
    };
    const QString chip = EventDb::Emit(QStringLiteral("54321"), kCourseA);
    const TArgs readArgs = {{"IN_EVENT_ID", 100}, {"IN_CHIP_STRING", chip}, {"IN_TO_FOREST", "E"},
                            {"IN_START_TIME", QString()}, {"IN_LANGUAGE_CODE", "FI"}, {"IN_CONTROL_CARD", QString()}};
    auto registerCard = [](EventDb& d) {
        const QVariant reg = d.Row(kInsert, {{"IN_EVENT_ID", 100}, {"IN_CHIP_STRING", QString()}, {"IN_TO_FOREST", "K"},
                                             {"IN_START_TIME", QString()}, {"IN_LANGUAGE_CODE", "FI"},
                                             {"IN_CONTROL_CARD", "054321"}})["OUT_RESULTS_CLASS_ID"];
        d.Exec(QStringLiteral("update vrk_results_class set result_status = 'M', first_result_status = 'M', "
                              "class_course_id = 402 where results_class_id = :id"),
               {{"ID", reg}});
    };
    // The run as the check leaves it, with its course rows and splits.
    auto state = [](EventDb& d, qlonglong id, const TRow& check) {
        TRow r = d.Row(QStringLiteral("select r.class_course_id, r.status, cast(r.time_sec as integer) secs, r.start_time, "
                                      "r.finish_time, r.result_status, (select count(*) from vrk_results_class_all a "
                                      "where a.results_class_id = r.results_class_id) courses, (select count(*) from "
                                      "vrk_results_splits s where s.results_class_id = r.results_class_id) splits "
                                      "from vrk_results_class r where r.results_class_id = :id"),
                       {{"ID", id}});
        r.insert(QStringLiteral("PROPOSED"), check["OUT_CLASS_COURSE_ID"]);
        r.insert(QStringLiteral("MESSAGE"), check["OUT_MESSAGE"]);
        return r;
    };
    for (const Case& c : cases) {
        // each in a transaction of its own
        EventDb apart;
        if (c.registered)
            registerCard(apart);
        const qlonglong a = apart.Row(kInsert, readArgs)["OUT_RESULTS_CLASS_ID"].toLongLong();
        if (c.changeCourse)
            apart.Exec(kChangeCourse, {{"ID", a}});
        const TRow expected = state(apart, a, apart.Row(kValidate, {{"IN_RESULTS_CLASS_ID", a}}));

        // all in one
        EventDb together;
        if (c.registered)
            registerCard(together);
        TFbTransaction t;
        t.SetConnection(&together.Connection());
        t.StartTransaction();
        auto open = [&](TFbQuery& q, const QString& sql, const TArgs& args) {
            q.SetConnection(&together.Connection());
            q.SetTransaction(&t);
            q.SQL().Add(sql);
            for (const auto& [name, value] : args)
                q.ParamByName(name).SetValue(value);
        };
        TFbQuery store, change, check;
        open(store, kInsert, readArgs);
        store.Open();
        const qlonglong b = store.FieldByName(QStringLiteral("OUT_RESULTS_CLASS_ID"))->AsLargeInt();
        store.Close();
        if (c.changeCourse) {
            open(change, kChangeCourse, {{"ID", b}});
            change.ExecSQL();
        }
        open(check, kValidate, {{"IN_RESULTS_CLASS_ID", b}});
        check.Open();
        TRow answer;
        for (const char* f : {"OUT_CLASS_COURSE_ID", "OUT_MESSAGE"}) {
            TField* field = check.FieldByName(QString::fromLatin1(f));
            answer.insert(QString::fromLatin1(f), field->IsNull() ? QVariant() : field->Value());
        }
        check.Close();
        t.Commit();
        EXPECT_EQ(state(together, b, answer), expected) << c.name;
    }
}

}  // namespace
