// The course and control editor against the event database: a changed course
// re-checks its runs, the required name, controls saved through their
// dataset, and cancelling.

#include "StartDeskFixture.h"

#include "resources/StartDeskTexts.h"
#include "results/vrkCourseEditorRun.h"

namespace {

TEST_F(StartDesk, CourseChangeRechecksItsRuns)
{
    // a run on H21 (course A: 31, 32 as 132, 33) read as good
    int64_t id = 0;
    QString wasInForest, message, flag;
    f.Module->insertResultsClass(EventDb::Emit(QStringLiteral("12345"), {{0, 0}, {31, 600}, {132, 1200}, {33, 1800}, {100, 2400}, {250, 2700}}),
                                 QStringLiteral("E"), QString(), QString(), id, wasInForest, message, flag);
    ASSERT_EQ(Run(id, "status").toString(), QStringLiteral("0"));

    TCourseEditorRun e;
    e.iClassId = 301;
    int treeRefreshes = 0, gridRefreshes = 0;
    e.OnRefreshTreeEvent = [&] { ++treeRefreshes; };
    e.OnRefreshMainGrid = [&] { ++gridRefreshes; };
    e.Open();
    ASSERT_EQ(e.Courses().FieldByName(QStringLiteral("CLASS_NAME"))->AsString(), QStringLiteral("H21"));
    // OK without an edit: the tree is refreshed, the grid is not
    EXPECT_TRUE(e.Ok());
    EXPECT_EQ(treeRefreshes, 1);
    EXPECT_EQ(gridRefreshes, 0);

    e.Open();
    e.EditCourse();
    e.Courses().FieldByName(QStringLiteral("CLASS_NAME"))->SetAsString(QString());
    Boxes.clear();
    EXPECT_FALSE(e.Ok());
    EXPECT_EQ(Boxes, QStringList{txt::startdesk::RequiredField + QStringLiteral(" \"Radan nimi\"")});
    e.Courses().FieldByName(QStringLiteral("CLASS_NAME"))->SetAsString(QStringLiteral("H21"));
    e.Courses().FieldByName(QStringLiteral("CONTROLS_STRING"))->SetAsString(QStringLiteral("31,34,33"));
    Boxes.clear();
    ASSERT_TRUE(e.Ok());
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(e.bDataChangedCourse);
    EXPECT_EQ(gridRefreshes, 1);
    // punch 34 is missing now, yet 34 may be missed: still good; a mandatory
    // control makes the run fail
    EXPECT_EQ(V(QStringLiteral("select controls_string from vrk_course where course_id = 201")).toString(),
              QStringLiteral("31,34,33"));
    e.Open();
    e.EditCourse();
    e.Courses().FieldByName(QStringLiteral("CONTROLS_STRING"))->SetAsString(QStringLiteral("31,41,33"));
    ASSERT_TRUE(e.Ok());
    EXPECT_NE(Run(id, "status").toString(), QStringLiteral("0"));

    // a control saved through its dataset; a pending edit cancelled asks first
    e.Open();
    ASSERT_TRUE(e.Controls().Locate(QStringLiteral("CONTROL_ID"), 34));
    e.EditControl();
    e.Controls().FieldByName(QStringLiteral("PUNCHING_UNIT2"))->SetAsInteger(134);
    Answer = IDCANCEL;
    EXPECT_FALSE(e.Cancel());
    ASSERT_TRUE(e.Ok());
    EXPECT_TRUE(e.bDataChangedControl);
    EXPECT_EQ(V(QStringLiteral("select punching_unit2 from vrk_controls where control_id = 34")).toInt(), 134);
}

}  // namespace
