// Card clocks that wrap past their 16-bit range, and downloaded course
// changes that evaluate the read runs again when the download commits.

#include "tests/eventdb/EventDbFixture.h"

#include <gtest/gtest.h>

namespace {

const QString kInsert = QStringLiteral(
    "SELECT OUT_RESULTS_CLASS_ID, OUT_WAS_IN_FOREST, OUT_MESSAGE, OUT_FLAG FROM E_RESULTS_CLASS.RESULTS_CLASS_INSERT("
    ":IN_EVENT_ID, :IN_CHIP_STRING, :IN_TO_FOREST, :IN_START_TIME, :IN_LANGUAGE_CODE, :IN_CONTROL_CARD) ");

using Punches = std::vector<std::pair<int, int>>;

class CourseChangeAndClockTest : public ::testing::Test {
protected:
    qlonglong Read(const QString& card, const Punches& punches)
    {
        TRow out = db.Row(kInsert, {{"IN_EVENT_ID", 100}, {"IN_CHIP_STRING", EventDb::Emit(card, punches)},
                                    {"IN_TO_FOREST", "E"}, {"IN_START_TIME", QString()}, {"IN_LANGUAGE_CODE", "FI"},
                                    {"IN_CONTROL_CARD", QString()}});
        EXPECT_FALSE(out["OUT_MESSAGE"].isValid()) << out["OUT_MESSAGE"].toString().toStdString();
        return out["OUT_RESULTS_CLASS_ID"].toLongLong();
    }
    TRow Run(qlonglong id)
    {
        return db.Row(QStringLiteral("select r.*, cast(r.time_sec as integer) secs from vrk_results_class r "
                                     "where r.results_class_id = :id"),
                      {{"ID", id}});
    }
    TRow Split(qlonglong id, qlonglong cc, int punchedCode)
    {
        return db.Row(QStringLiteral("select cast(s.time_sec as integer) secs, cast(s.leg_time_sec as integer) leg, "
                                     "s.punch_time from vrk_results_splits s where s.results_class_id = :id "
                                     "and s.class_course_id = :cc and s.punched_code = :pc"),
                      {{"ID", id}, {"CC", cc}, {"PC", punchedCode}});
    }
    EventDb db;
};

TEST_F(CourseChangeAndClockTest, CardClockWrappingPast18HoursKeepsTimesRight)
{
    // the card clock passes 65535 s between controls 132 and 33; the same run
    // without a wrap takes 2400 s with legs of 600 s
    struct Case {
        const char* name;
        Punches punches;
    };
    const std::vector<Case> cases = {
        {"wrap between controls", {{0, 64000}, {31, 64600}, {132, 65200}, {33, 264}, {100, 864}, {250, 1164}}},
        {"wrap before the reader slot", {{0, 62000}, {31, 62600}, {132, 63200}, {33, 63800}, {100, 64400}, {250, 64700 - 65536 + 1000}}},
        {"no wrap: a small step back is not one", {{0, 1000}, {31, 1600}, {132, 2200}, {33, 2800}, {55, 2790}, {100, 3400}, {250, 3700}}},
    };
    for (const Case& c : cases) {
        const qlonglong id = Read(QStringLiteral("12345"), c.punches);
        TRow run = Run(id);
        EXPECT_EQ(run["STATUS"].toString(), QStringLiteral("0")) << c.name;
        EXPECT_EQ(run["SECS"].toInt(), 2400) << c.name;
        EXPECT_EQ(run["CLASS_COURSE_ID"].toLongLong(), 401) << c.name;
        TRow leg = Split(id, 401, 33);
        EXPECT_EQ(leg["SECS"].toInt(), 1800) << c.name;
        EXPECT_EQ(leg["LEG"].toInt(), 600) << c.name;
        // the finish is on the wall clock before the read (18:45:12 on the read's day)
        const QDateTime finish = run["FINISH_TIME"].toDateTime();
        EXPECT_EQ(finish.date(), QDate(2024, 6, 1)) << c.name;
        EXPECT_LT(finish, QDateTime(QDate(2024, 6, 1), QTime(18, 45, 13))) << c.name;
        EXPECT_GT(finish, QDateTime(QDate(2024, 6, 1), QTime(18, 0, 0))) << c.name;
    }
}

TEST_F(CourseChangeAndClockTest, DownloadedCourseChangeEvaluatesRunsAndProposesAnotherCourse)
{
    const qlonglong id = Read(QStringLiteral("12345"), {{0, 0}, {31, 600}, {132, 1200}, {33, 1800}, {100, 2400}, {250, 2700}});
    ASSERT_EQ(Run(id)["CLASS_COURSE_ID"].toLongLong(), 401);
    ASSERT_EQ(Run(id)["RESULT_STATUS"].toString(), QStringLiteral("V"));

    // course A's second control becomes 35 in a download (the row arrives with
    // the rest of the course in one transaction)
    db.Script(QStringLiteral(
        "EXECUTE PROCEDURE E_COURSE.REPLICATE_COURSE(201, 100, 'A', 4500, NULL, NULL, '31,35,33', NULL, NULL, NULL, 'U');\n"
        "EXECUTE PROCEDURE E_COURSE_CONTROLS.REPLICATE_COURSE_C(2012, 201, 2, 0, 35, NULL, NULL, NULL, NULL, NULL, NULL, "
        "'E', 'U');\n"));

    TRow run = Run(id);
    EXPECT_EQ(run["STATUS"].toString(), QStringLiteral("3"));  // evaluated, not only marked
    EXPECT_EQ(run["RESULT_STATUS"].toString(), QStringLiteral("T"));
    EXPECT_EQ(run["VALIDATED_CLASS_COURSE_ID"].toLongLong(), 402);
    EXPECT_EQ(run["VALIDATED_CLASS_ID"].toLongLong(), 302);
    EXPECT_EQ(db.Value(QStringLiteral("select missing_controls from vrk_results_class_all where results_class_id = :id "
                                      "and class_course_id = 401"),
                       {{"ID", id}}).toString(),
              QStringLiteral("35"));
    // still a finished run in the counters, now a mispunched one
    TRow stats = db.Row(QStringLiteral("EXECUTE PROCEDURE E_EVENT.GET_EVENT_STATS(100, 'FI')"));
    EXPECT_EQ(stats["OUT_RESULTS"].toInt(), 1);
    EXPECT_EQ(stats["OUT_MP"].toInt(), 1);
    // the evaluation happened once, and nothing is left noted for the next transaction
    EXPECT_EQ(db.Value(QStringLiteral("select count(*) from vrk_recheck_course")).toInt(), 0);
}

TEST_F(CourseChangeAndClockTest, DownloadedControlChangeEvaluatesRunsOnTheirOwnCourse)
{
    // course B's control 34 may be missed; a read that skips it is OK
    const qlonglong id = Read(QStringLiteral("99001"), {{0, 0}, {31, 600}, {55, 700}, {33, 1800}, {100, 2400}, {250, 2700}});
    ASSERT_EQ(Run(id)["CLASS_COURSE_ID"].toLongLong(), 402);
    ASSERT_EQ(Run(id)["STATUS"].toString(), QStringLiteral("0"));

    // the download makes 34 mandatory: the run now misses it; no course fits
    // better, so it keeps its course and is not marked
    db.Exec(QStringLiteral("EXECUTE PROCEDURE E_CONTROLS.REPLICATE_CONTROLS(34, 100, 34, NULL, NULL, NULL, NULL, NULL, "
                           "'E', NULL, NULL, 'K', 'U')"));
    TRow run = Run(id);
    EXPECT_EQ(run["CLASS_COURSE_ID"].toLongLong(), 402);
    EXPECT_EQ(run["STATUS"].toString(), QStringLiteral("3"));
    EXPECT_EQ(run["RESULT_STATUS"].toString(), QStringLiteral("L"));
    EXPECT_FALSE(run["VALIDATED_CLASS_COURSE_ID"].isValid() && run["VALIDATED_CLASS_COURSE_ID"].toLongLong() != 0);

    // an unchanged download of the same control does not evaluate again
    db.Exec(QStringLiteral("update vrk_results_class set status = '0' where results_class_id = :id"), {{"ID", id}});
    db.Exec(QStringLiteral("EXECUTE PROCEDURE E_CONTROLS.REPLICATE_CONTROLS(34, 100, 34, NULL, NULL, NULL, NULL, NULL, "
                           "'E', NULL, NULL, 'K', 'U')"));
    EXPECT_EQ(Run(id)["STATUS"].toString(), QStringLiteral("0"));
}

TEST_F(CourseChangeAndClockTest, DownloadedMassStartMovesTimesAndUnchangedCourseLeavesRuns)
{
    // class M starts together at 18:00:00; the card clock starts 12 s later
    const qlonglong id = Read(QStringLiteral("99003"), {{0, 0}, {41, 500}, {42, 1000}, {100, 1500}, {250, 2700}});
    ASSERT_EQ(Run(id)["CLASS_COURSE_ID"].toLongLong(), 404);
    ASSERT_EQ(Run(id)["SECS"].toInt(), 1512);

    db.Exec(QStringLiteral("EXECUTE PROCEDURE E_CLASS.REPLICATE_CLASS(304, 100, 'M', 8, NULL, '18:05:00', NULL, NULL, "
                           "'K', 'U')"));
    EXPECT_EQ(Run(id)["SECS"].toInt(), 1212);

    // the same course again, its controls string written with blanks: nothing to evaluate
    db.Exec(QStringLiteral("update vrk_results_class set time_sec = 1 where results_class_id = :id"), {{"ID", id}});
    db.Exec(QStringLiteral("EXECUTE PROCEDURE E_COURSE.REPLICATE_COURSE(203, 100, 'C', 2000, NULL, NULL, '41, 42', "
                           "NULL, NULL, NULL, 'U')"));
    EXPECT_EQ(Run(id)["SECS"].toInt(), 1);
}

}  // namespace
