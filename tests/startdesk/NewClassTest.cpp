// The new class dialog against the event database: limits on leaving a
// field, the required fields in order, the insert and a database refusal.

#include "StartDeskFixture.h"

#include "components/framed/FcNumericEdit.h"
#include "components/framed/FcEdit.h"
#include "resources/StartDeskTexts.h"
#include "platform/ui/StdCtrls.h"
#include "results/vrkNewClass.h"
#include "results/vrkNewClassRun.h"
#include "tests/support/RealInput.h"

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
    // the length in kilometres
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

// A number too big for its field is refused as the field is left: the
// message, and the operator is back in the field with the number selected.
// A controls string with dashes is refused in Finnish and stays as typed.
TEST_F(StartDesk, NewClassWindowRefusesABadNumberOnLeavingAndBadCodesInFinnish)
{
    f.Module->getProcessedEventData(100);
    TformNewClass w(nullptr);
    w.Opening();
    w.edtClassName->SetText(QStringLiteral("D16"));
    bool backInLength = false;
    QString afterLeaving;
    realinput::ShowModalWith(w, [&] {
        QCoreApplication::processEvents();
        w.edtLength->SetFocus();
        realinput::Type(&w, QStringLiteral("1000x"));  // the letter is not taken
        Boxes.clear();
        realinput::Key(&w, Qt::Key_Tab);
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        backInLength = w.ActiveControl() == static_cast<TWinControl*>(w.edtLength);
        realinput::Key(&w, Qt::Key_Backspace);  // the selected number goes
        realinput::Type(&w, QStringLiteral("5,2"));
        realinput::Key(&w, Qt::Key_Tab);
        afterLeaving = w.edtLength->Text();
        w.SetModalResult(mrNone);
    });
    EXPECT_EQ(Boxes, QStringList{st::BadLength});
    EXPECT_TRUE(backInLength);
    EXPECT_EQ(afterLeaving, QStringLiteral("5,2"));
    w.SetModalResult(mrNone);
    Boxes.clear();
    w.edtControlsString->SetText(QStringLiteral("31-32-33"));
    w.btnOK->Click();
    EXPECT_EQ(w.ModalResult(), mrNone);
    EXPECT_EQ(Boxes, QStringList{st::BadControlCode.arg(QStringLiteral("31-32-33"))});
    EXPECT_EQ(w.edtControlsString->Text(), QStringLiteral("31-32-33"));
    w.edtControlsString->SetText(QStringLiteral("31,32,33"));
    Boxes.clear();
    w.btnOK->Click();
    EXPECT_EQ(w.ModalResult(), mrOk) << Boxes.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(V(QStringLiteral("select c.course_length from vrk_course c join vrk_class_course cc on cc.course_id = c.course_id "
                               "join vrk_class k on k.class_id = cc.class_id where k.class_name = 'D16'")).toInt(),
              5200);

    // Escape closes the dialog without adding anything
    w.SetModalResult(mrNone);
    w.Opening();
    w.Show();
    w.edtClassName->SetFocus();
    realinput::Type(w.edtClassName, QStringLiteral("H99"));
    realinput::Key(w.edtClassName, Qt::Key_Escape);
    EXPECT_EQ(w.ModalResult(), mrCancel);
    EXPECT_EQ(V(QStringLiteral("select count(*) from vrk_class where class_name = 'H99'")).toInt(), 0);
}

}  // namespace
