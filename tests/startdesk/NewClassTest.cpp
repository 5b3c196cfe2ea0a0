// The new class dialog against the event database: limits on leaving a
// field, the required fields in order, the insert and a database refusal.

#include "StartDeskFixture.h"

#include "resources/StartDeskTexts.h"
#include "results/vrkNewClassRun.h"

namespace st = txt::startdesk;

namespace {

TEST_F(StartDesk, NewClassLimitsRequiredFieldsAndInsert)
{
    f.Module->getProcessedEventData(100);
    TNewClassRun d;
    d.Open();
    EXPECT_EQ(d.FinishCode, QStringLiteral("100"));

    struct Leave {
        QString* Field;
        QString Text;
        bool Accepted;
        QString Message;
    };
    for (const Leave& c : {Leave{&d.Length, QStringLiteral("999"), true, QString()},
                           Leave{&d.Length, QStringLiteral("999,5"), false, st::BadLength},
                           Leave{&d.Fee, QStringLiteral("9999"), true, QString()},
                           Leave{&d.Fee, QStringLiteral("10000"), false, st::BadFee},
                           Leave{&d.Climb, QStringLiteral("9999"), true, QString()},
                           Leave{&d.Climb, QStringLiteral("10000"), false, st::BadClimb},
                           Leave{&d.Climb, QStringLiteral("abc"), false, st::BadClimb}}) {
        *c.Field = c.Text;
        Boxes.clear();
        const bool ok = c.Field == &d.Length ? d.LeaveLength() : c.Field == &d.Fee ? d.LeaveFee() : d.LeaveClimb();
        EXPECT_EQ(ok, c.Accepted) << c.Text.toStdString();
        EXPECT_EQ(Boxes, c.Message.isEmpty() ? QStringList() : QStringList{c.Message});
    }

    const int classes = V(QStringLiteral("select count(*) from vrk_class")).toInt();
    d.Open();
    struct Step {
        std::function<void()> Fill;
        QString Label;
    };
    for (const Step& s : {Step{[] {}, QStringLiteral("Radan nimi")},
                          Step{[&] { d.ClassName = QStringLiteral("D16"); d.Length = QStringLiteral("0"); }, QStringLiteral("Radan pituus")},
                          Step{[&] { d.Length = QStringLiteral("3,2"); }, QStringLiteral("Koodit")},
                          Step{[&] { d.ControlsString = QStringLiteral("31,34,33"); d.FinishCode.clear(); }, QStringLiteral("Maalin koodi")}}) {
        s.Fill();
        Boxes.clear();
        EXPECT_FALSE(d.Ok());
        EXPECT_EQ(Boxes, QStringList{st::RequiredField + QStringLiteral(" \"") + s.Label + QStringLiteral("\"")});
    }
    EXPECT_EQ(V(QStringLiteral("select count(*) from vrk_class")).toInt(), classes);

    int treeRefreshes = 0, eventRefreshes = 0;
    d.OnRefreshTree = [&] { ++treeRefreshes; };
    d.OnRefreshTreeEvent = [&] { ++eventRefreshes; };
    d.FinishCode = QStringLiteral("100");
    d.Fee = QStringLiteral("8,5");
    Boxes.clear();
    ASSERT_TRUE(d.Ok()) << Boxes.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(V(QStringLiteral("select c.course_length from vrk_course c join vrk_class_course cc on cc.course_id = c.course_id "
                               "join vrk_class k on k.class_id = cc.class_id where k.class_name = 'D16'")).toInt(),
              3200);
    EXPECT_EQ(eventRefreshes, 1);
    // the same class again: the database refuses, the fields stay as typed
    Boxes.clear();
    EXPECT_FALSE(d.Ok());
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes[0].startsWith(st::NewClassFailed));
    EXPECT_EQ(d.ClassName, QStringLiteral("D16"));
    EXPECT_EQ(treeRefreshes, 2);
    EXPECT_EQ(eventRefreshes, 1);
}

}  // namespace
