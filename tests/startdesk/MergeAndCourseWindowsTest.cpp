// Two master-data windows driven by the operator's mouse and keys: a merge of
// two persons with runs and cards chosen with a double click, after which the
// kept person has every run and card and the other is gone from the finish
// desk's person list; and a downloaded course edited and saved, with a
// controls string the course cannot take refused in Finnish and kept as typed.

#include "StartDeskFixture.h"

#include "components/dbcontrols/TrDBEdit.h"
#include "components/framed/FcEdit.h"
#include "components/grid/rDBGrid.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "resources/StartDeskTexts.h"
#include "results/vrkCourse.h"
#include "results/vrkPersonMerge.h"
#include "tests/support/RealInput.h"

namespace {

using namespace realinput;
namespace st = txt::startdesk;

class MasterDataWindows : public StartDesk {
protected:
    void SetUp() override
    {
        StartDesk::SetUp();
        formMain->SetBounds(100, 50, 1201, 801);
    }
    // The middle of a data row of a grid (1 = the first row under the titles).
    static QPoint RowMiddle(TCustomGrid* Grid, int Row)
    {
        const TRect r = Grid->CellRect(0, Row);
        return QPoint(r.Left + r.Width() / 2, r.Top + r.Height() / 2);
    }
    QString Person(int64_t Id, const char* Columns)
    {
        return V(QStringLiteral("select %1 from vrk_person where person_id = %2").arg(QLatin1String(Columns)).arg(Id)).toString();
    }
};

TEST_F(MasterDataWindows, AMergeChosenWithADoubleClickMovesEveryRunAndCardAndRemovesThePerson)
{
    // the same runner twice: the kept Virtanen Matti (own card, club) and a
    // second row made at another desk with a SportIdent card and two runs
    f.Exec(QStringLiteral(
        "insert into vrk_person (person_id, event_series_id, person_name, sportident_card, emitag_card) "
        "values (1004, 1, 'Virtanen M.', '8001234', 'EM77');\n"
        "insert into vrk_results_class (results_class_id, event_id, control_card, person_id, person_name, result_status, "
        "first_result_status, status) values (6000, 100, '012345', 1004, 'Virtanen M.', 'M', 'M', '0');\n"
        "insert into vrk_results_class (results_class_id, event_id, control_card, person_id, person_name, result_status, "
        "first_result_status, status) values (6001, 100, '012345', 1004, 'Virtanen M.', 'M', 'M', '0');\n"
        "insert into vrk_results_class (results_class_id, event_id, control_card, person_id, person_name, result_status, "
        "first_result_status, status) values (6002, 100, '012345', 1001, 'Virtanen Matti', 'M', 'M', '0');"));
    TformPersonMerge w(nullptr);
    w.Run().iPersonId = 1001;
    w.Opening();
    const int result = ShowModalWith(w, [&] {
        w.edtSearchPersons->SetFocus();
        Type(w.edtSearchPersons, QStringLiteral("virt"));
        ASSERT_EQ(f.Module->fbQueryLookupPersonFD->RecordCount(), 1);
        Click(w.rdbgrdPersons, RowMiddle(w.rdbgrdPersons, 1));
        EXPECT_EQ(w.Run().iSelectedPersonId, 0) << "a single click only moves the cursor";
        Click(w.rdbgrdPersons, RowMiddle(w.rdbgrdPersons, 1), true);
        EXPECT_EQ(w.Run().iSelectedPersonId, 1004);
        EXPECT_TRUE(w.imgOK->Visible());
        ClickMiddle(w.btnOK);
    });
    ASSERT_EQ(result, mrOk) << Boxes.join(QLatin1Char('|')).toStdString();
    w.Run().Close();

    EXPECT_EQ(V(QStringLiteral("select count(*) from vrk_results_class where person_id = 1001")).toInt(), 3);
    EXPECT_EQ(V(QStringLiteral("select count(*) from vrk_results_class where person_id = 1004")).toInt(), 0);
    EXPECT_EQ(V(QStringLiteral("select count(*) from vrk_results_class where person_name = 'Virtanen Matti' "
                               "and club_id = 501")).toInt(), 3);
    EXPECT_EQ(Person(1004, "deleted"), QStringLiteral("K"));
    EXPECT_EQ(Person(1001, "control_card || '/' || sportident_card || '/' || emitag_card"),
              QStringLiteral("012345/8001234/EM77"));
    // the finish desk's person list offers the kept person only
    TFbQuery& list = *f.Module->fbQueryLookupPersonFD;
    list.Close();
    list.SetFiltered(false);
    list.ParamByName(QStringLiteral("EVENT_SERIES_ID")).SetAsLargeInt(1);
    list.ParamByName(QStringLiteral("CONTROL_CARD")).SetAsString(QStringLiteral("012345"));
    list.Open();
    EXPECT_TRUE(list.Locate(QStringLiteral("PERSON_ID"), 1001));
    EXPECT_FALSE(list.Locate(QStringLiteral("PERSON_ID"), 1004));
    EXPECT_FALSE(list.Locate(QStringLiteral("PERSON_NAME"), QStringLiteral("Virtanen M.")));
}

TEST_F(MasterDataWindows, ADownloadedCourseIsEditedAndSavedAndABadCodeIsRefusedInFinnish)
{
    // a course as the web service delivers it: codes separated by commas
    f.Exec(QStringLiteral("update vrk_course set controls_string = '31,32,33', do_sync = 'E' where course_id = 201;"));
    for (const char* language : {"EN", "FI"}) {
        formMain->vcUILanguageCode = QString::fromLatin1(language);
        TformCourse w(nullptr);
        w.Run().iClassId = 301;
        w.Opening();
        int result = ShowModalWith(w, [&] {
            w.actCourseEdit->Execute();
            w.edtCONTROLS_STRING->SetFocus();
            Key(w.edtCONTROLS_STRING, Qt::Key_A, Qt::ControlModifier);
            Type(w.edtCONTROLS_STRING, QStringLiteral("31-33"));
            Boxes.clear();
            ClickMiddle(w.btnOK);
            // refused in Finnish whatever the interface language; the typed text stays
            EXPECT_EQ(w.ModalResult(), mrNone);
            ASSERT_EQ(Boxes.size(), 1);
            EXPECT_EQ(Boxes[0], st::CourseUpdateFailed + QStringLiteral(" ") + st::BadControlCode.arg(QStringLiteral("31-33")));
            EXPECT_EQ(w.edtCONTROLS_STRING->Text(), QStringLiteral("31-33"));
            w.edtCONTROLS_STRING->SetFocus();
            Key(w.edtCONTROLS_STRING, Qt::Key_A, Qt::ControlModifier);
            Type(w.edtCONTROLS_STRING, QStringLiteral("31, 33"));
            ClickMiddle(w.btnOK);
        });
        EXPECT_EQ(result, mrOk) << language << Boxes.join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(V(QStringLiteral("select replace(controls_string, ' ', '') from vrk_course where course_id = 201")).toString(),
                  QStringLiteral("31,33"))
            << language;
        f.Exec(QStringLiteral("update vrk_course set controls_string = '31,32,33' where course_id = 201;"));
    }
}

}  // namespace
