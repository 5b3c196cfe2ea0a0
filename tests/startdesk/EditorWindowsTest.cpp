// The club editor, the course and control editor and the person merge dialog
// driven through their buttons, fields and keys as the operator uses them,
// against the event database: what each save writes, what each refusal
// leaves untouched, and where each window opens over the main window.

#include "StartDeskFixture.h"

#include "components/dbcontrols/TrDBCheckBox.h"
#include "components/dbcontrols/TrDBEdit.h"
#include "components/framed/FcEdit.h"
#include "components/base/rTabControlEx.h"
#include "components/grid/rDBGrid.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "resources/ProgramTexts.h"
#include "resources/StartDeskTexts.h"
#include "results/vrkClub.h"
#include "results/vrkCourse.h"
#include "results/vrkPersonMerge.h"

namespace st = txt::startdesk;

namespace {

class EditorWindows : public StartDesk {
protected:
    void SetUp() override
    {
        StartDesk::SetUp();
        formMain->SetBounds(100, 50, 1201, 801);
    }
    // Clicks the tool button of an action; false when the button is disabled
    // (the operator could not click it).
    static bool Press(TForm& Form, TAction* Action)
    {
        for (int i = 0; i < Form.ComponentCount(); ++i)
            if (auto* b = dynamic_cast<TControl*>(Form.Components(i)); b && b->Action() == Action) {
                if (!b->Enabled())
                    return false;
                b->Click();
                return true;
            }
        ADD_FAILURE() << "no button for the action";
        return false;
    }
    static void Key(TForm& Form, Word Code, bool Release = false)
    {
        Word k = Code;
        (Release ? Form.OnKeyUp : Form.OnKeyDown)(&Form, k, TShiftState());
        if (!Release && Form.OnKeyUp) {
            k = Code;
            Form.OnKeyUp(&Form, k, TShiftState());
        }
    }
    QString Club(int64_t id) { return V(QStringLiteral("select club_name from vrk_club where club_id = %1").arg(id)).toString(); }
    int Queued(const char* table, int64_t id)
    {
        return V(QStringLiteral("select count(*) from vrk_data_replication where repl_data = '%1' and repl_data_id = %2")
                     .arg(QLatin1String(table))
                     .arg(id))
            .toInt();
    }
};

TEST_F(EditorWindows, ClubWindowAddsRefusesDuplicatesAndKeepsNamesOnRefusal)
{
    TformClub w(nullptr);
    // a new club: opened below the main window's middle, the list out of reach
    w.Run().iClubId = 0;
    w.Opening();
    EXPECT_EQ(w.Left(), 100 + (1201 - w.Width()) / 2);
    EXPECT_EQ(w.Top(), 50 + (801 - w.Height()) / 2 + 20);
    EXPECT_FALSE(Press(w, w.actClubNew));
    EXPECT_FALSE(w.rdbgrdClub->Enabled());
    w.edtCLUB_NAME->SetText(QStringLiteral("Rastiveikot"));
    w.btnOK->Click();
    ASSERT_EQ(w.ModalResult(), mrOk) << Boxes.join(QLatin1Char('|')).toStdString();
    const int64_t added = w.Run().iNewClubId;
    ASSERT_GT(added, 0);
    EXPECT_TRUE(w.Run().bDataChanged);
    EXPECT_EQ(V(QStringLiteral("select club_name || score_calculation || deleted || do_sync from vrk_club where club_id = %1")
                    .arg(added))
                  .toString(),
              QStringLiteral("RastiveikotKEK"));
    EXPECT_EQ(Queued("VRK_CLUB", added), 1);

    // an existing club: "Poista" deletes nothing; editing locks the toolbar
    w.SetModalResult(mrNone);
    w.Run().iClubId = 501;
    w.Opening();
    EXPECT_EQ(w.edtCLUB_NAME->Text(), QStringLiteral("Helsingin Suunnistajat"));
    Boxes.clear();
    ASSERT_TRUE(Press(w, w.actClubDelete));
    EXPECT_EQ(Boxes, QStringList{st::ClubDeleteMissing});
    ASSERT_TRUE(Press(w, w.actClubEdit));
    EXPECT_FALSE(Press(w, w.actClubNew));

    // refusals leave the window open and the database as it was
    struct Refusal {
        QString Name;
        QString Message;
    };
    for (const Refusal& r : {Refusal{QStringLiteral("Rastiveikot"), txt::ClubNameExists1 + QStringLiteral("Rastiveikot") +
                                                                         txt::ClubNameExists2},
                             Refusal{QString(), txt::ClubNameRequired}}) {
        w.edtCLUB_NAME->SetText(r.Name);
        Boxes.clear();
        w.btnOK->Click();
        EXPECT_EQ(w.ModalResult(), mrNone) << r.Name.toStdString();
        EXPECT_EQ(Boxes, QStringList{r.Message}) << r.Name.toStdString();
        EXPECT_EQ(Club(501), QStringLiteral("Helsingin Suunnistajat"));
    }

    // Escape asks; Cancel keeps the window, and the key's release drops the edit
    Answer = IDCANCEL;
    Boxes.clear();
    Key(w, VK_ESCAPE);
    EXPECT_EQ(Boxes, QStringList{st::ClubDiscard});
    EXPECT_EQ(w.ModalResult(), mrNone);
    EXPECT_EQ(w.Run().Clubs().State(), dsBrowse);
    EXPECT_TRUE(w.rdbgrdClub->Enabled());

    // F10 adds; a name that exists offers the existing club, Yes takes it
    Key(w, VK_F10);
    EXPECT_EQ(w.Run().Clubs().State(), dsInsert);
    w.edtCLUB_NAME->SetText(QStringLiteral("Helsingin Suunnistajat"));
    Answer = IDYES;
    Boxes.clear();
    w.btnOK->Click();
    EXPECT_EQ(w.ModalResult(), mrOk);
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes[0].endsWith(st::ClubExistsInsert));
    EXPECT_EQ(w.Run().iNewClubId, 501);
    EXPECT_EQ(V(QStringLiteral("select count(*) from vrk_club where club_name = 'Helsingin Suunnistajat'")).toInt(), 1);
}

TEST_F(EditorWindows, CourseWindowSavesThroughTheClassUpdateAndRechecksRuns)
{
    // a run on H21 (course A: 31, 32 as 132, 33) read as good
    int64_t id = 0;
    QString wasInForest, message, flag;
    f.Module->insertResultsClass(
        EventDb::Emit(QStringLiteral("12345"), {{0, 0}, {31, 600}, {132, 1200}, {33, 1800}, {100, 2400}, {250, 2700}}),
        QStringLiteral("E"), QString(), QString(), id, wasInForest, message, flag);
    ASSERT_EQ(Run(id, "status").toString(), QStringLiteral("0"));

    TformCourse w(nullptr);
    int gridRefreshes = 0;
    w.Run().OnRefreshMainGrid = [&] { ++gridRefreshes; };
    w.Run().iClassId = 301;
    w.Opening();
    EXPECT_EQ(w.Left(), 100 + (1201 - w.Width()) / 2);
    EXPECT_EQ(w.Top(), 50 + (801 - w.Height()) / 2);
    EXPECT_EQ(w.edtCLASS_NAME->Text(), QStringLiteral("H21"));

    // editing a course hides the controls' tab; an empty name is refused
    ASSERT_TRUE(Press(w, w.actCourseEdit));
    EXPECT_FALSE(w.tsControl->TabVisible());
    EXPECT_FALSE(Press(w, w.actCourseEdit));
    w.edtCLASS_NAME->SetText(QString());
    Boxes.clear();
    w.btnOK->Click();
    EXPECT_EQ(w.ModalResult(), mrNone);
    EXPECT_EQ(Boxes, QStringList{st::RequiredField + QStringLiteral(" \"Radan nimi\"")});
    EXPECT_EQ(V(QStringLiteral("select class_name from vrk_class where class_id = 301")).toString(), QStringLiteral("H21"));

    // a mandatory control the run did not punch fails it; unticking the
    // active flag and an empty fee reach the class
    w.edtCLASS_NAME->SetText(QStringLiteral("H21"));
    w.edtCONTROLS_STRING->SetText(QStringLiteral("31,41,33"));
    w.edtFEE->SetText(QString());
    auto* active = dynamic_cast<TrDBCheckBox*>(w.FindComponent(QStringLiteral("chkACTIVE_CLASS")));
    ASSERT_TRUE(active);
    ASSERT_TRUE(active->Checked());
    active->Click();
    Boxes.clear();
    w.btnOK->Click();
    EXPECT_EQ(w.ModalResult(), mrOk);
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(w.Run().bDataChangedCourse);
    EXPECT_EQ(gridRefreshes, 1);
    EXPECT_EQ(V(QStringLiteral("select controls_string from vrk_course where course_id = 201")).toString(),
              QStringLiteral("31,41,33"));
    EXPECT_EQ(V(QStringLiteral("select active_class || coalesce(cast(fee as varchar(20)), '-') from vrk_class where class_id = 301"))
                  .toString(),
              QStringLiteral("E-"));
    EXPECT_NE(Run(id, "status").toString(), QStringLiteral("0"));

    // a control: F9 edits the course first, so the control's button is used
    w.SetModalResult(mrNone);
    w.Opening();
    w.pcPages->SetActivePage(w.tsControl);
    ASSERT_TRUE(w.Run().Controls().Locate(QStringLiteral("CONTROL_ID"), 34));
    ASSERT_TRUE(Press(w, w.actControlEdit));
    EXPECT_FALSE(w.tsCourses->TabVisible());
    w.edtPUNCHING_UNIT2->SetText(QStringLiteral("134"));
    w.btnOK->Click();
    EXPECT_EQ(w.ModalResult(), mrOk);
    EXPECT_TRUE(w.Run().bDataChangedControl);
    EXPECT_EQ(V(QStringLiteral("select punching_unit2 || do_sync from vrk_controls where control_id = 34")).toString(),
              QStringLiteral("134K"));

    // Escape on a pending edit asks; Cancel keeps the window, the key's
    // release drops the edit and gives the tab and the button back
    w.SetModalResult(mrNone);
    w.Opening();
    EXPECT_TRUE(w.tsCourses->TabVisible());
    ASSERT_TRUE(Press(w, w.actCourseEdit));
    Answer = IDCANCEL;
    Key(w, VK_ESCAPE);
    EXPECT_EQ(w.ModalResult(), mrNone);
    EXPECT_TRUE(w.tsControl->TabVisible());
    // Yes drops the edit and closes; nothing is written
    ASSERT_TRUE(Press(w, w.actCourseEdit));
    w.edtCLASS_NAME->SetText(QStringLiteral("H99"));
    Answer = IDYES;
    Boxes.clear();
    Key(w, VK_ESCAPE);
    EXPECT_EQ(Boxes, QStringList{st::CourseDiscard});
    EXPECT_EQ(w.ModalResult(), mrCancel);
    EXPECT_EQ(V(QStringLiteral("select class_name from vrk_class where class_id = 301")).toString(), QStringLiteral("H21"));
}

// The database's refusal of a course comes in the operator's language,
// behind the window's own Finnish heading.
TEST_F(EditorWindows, CourseRefusalInBothLanguages)
{
    TformCourse w(nullptr);
    for (const auto& [language, text] :
         {std::pair{"FI", "Yhteislähdön aika on virheellinen (HH:MM:SS)."},
          std::pair{"EN", "The mass start time is not valid (HH:MM:SS)."}}) {
        formMain->vcUILanguageCode = QString::fromLatin1(language);
        w.SetModalResult(mrNone);
        w.Run().iClassId = 301;
        w.Opening();
        ASSERT_TRUE(Press(w, w.actCourseEdit));
        auto* mass = dynamic_cast<TrDBEdit*>(w.FindComponent(QStringLiteral("edtMASS_START_TIME")));
        ASSERT_TRUE(mass);
        mass->SetText(QStringLiteral("25:99"));
        Boxes.clear();
        w.btnOK->Click();
        EXPECT_EQ(Boxes, QStringList{st::CourseUpdateFailed + QStringLiteral(" ") + QString::fromUtf8(text)}) << language;
        EXPECT_EQ(V(QStringLiteral("select coalesce(mass_start_time, '-') from vrk_class where class_id = 301")).toString(),
                  QStringLiteral("-"))
            << language;
    }
}

TEST_F(EditorWindows, MergeWindowMovesRunsAndCardsAndRemovesThePerson)
{
    f.Exec(QStringLiteral("insert into vrk_person (person_id, event_series_id, person_name, control_card, sportident_card) "
                          "values (1004, 1, 'Nieminen P.', '012399', '8001234');\n"
                          "insert into vrk_results_class (results_class_id, event_id, control_card, person_id, result_status, "
                          "first_result_status, status) values (6000, 100, '012399', 1004, 'M', 'M', '0');"));
    TformPersonMerge w(nullptr);
    w.Run().iPersonId = 1003;  // Nieminen Pekka, no card of his own
    w.Opening();
    EXPECT_EQ(w.Left(), 100 + (1201 - w.Width()) / 2);
    EXPECT_EQ(w.Top(), 50 + (801 - w.Height()) / 2 - 20);
    EXPECT_EQ(w.edtPERSON_NAME->Text(), QStringLiteral("Nieminen Pekka"));
    EXPECT_TRUE(w.imgQuestion->Visible());
    EXPECT_FALSE(w.imgOK->Visible());

    // typing filters the list, never to the kept person; OK needs a choice
    TDataSet& list = *f.Module->fbQueryLookupPersonFD;
    for (const char* search : {"niem", "p niem", "pekka nieminen"}) {
        w.edtSearchPersons->SetText(QString::fromLatin1(search));
        EXPECT_FALSE(list.Locate(QStringLiteral("PERSON_ID"), 1003)) << search;
    }
    w.edtSearchPersons->SetText(QStringLiteral("niem"));
    EXPECT_EQ(list.RecordCount(), 1);
    Boxes.clear();
    w.btnOK->Click();
    EXPECT_EQ(Boxes, QStringList{st::MergeChooseFirst});
    EXPECT_EQ(w.ModalResult(), mrNone);

    // a double click chooses; typing removes the choice, Escape restores it
    w.rdbgrdPersons->OnDblClick(w.rdbgrdPersons);
    EXPECT_EQ(w.Run().iSelectedPersonId, 1004);
    EXPECT_TRUE(w.imgOK->Visible());
    EXPECT_EQ(w.edtSearchPersons->GetText(), QString());
    w.edtSearchPersons->SetText(QStringLiteral("x"));
    EXPECT_EQ(w.Run().iSelectedPersonId, 0);
    EXPECT_TRUE(w.imgQuestion->Visible());
    Key(w, VK_ESCAPE);
    EXPECT_EQ(w.ModalResult(), mrNone);
    EXPECT_EQ(w.Run().iSelectedPersonId, 1004);
    EXPECT_TRUE(w.imgOK->Visible());

    // No writes nothing and keeps the dialog; Yes merges
    Answer = IDNO;
    w.btnOK->Click();
    EXPECT_EQ(w.ModalResult(), mrNone);
    EXPECT_EQ(V(QStringLiteral("select person_id from vrk_results_class where results_class_id = 6000")).toLongLong(), 1004);
    Answer = IDYES;
    Boxes.clear();
    w.btnOK->Click();
    EXPECT_EQ(w.ModalResult(), mrOk);
    EXPECT_EQ(Boxes, QStringList{st::MergeAsk});
    EXPECT_TRUE(w.Run().bDataChanged);
    w.Run().Close();
    EXPECT_EQ(V(QStringLiteral("select person_id from vrk_results_class where results_class_id = 6000")).toLongLong(), 1003);
    EXPECT_EQ(V(QStringLiteral("select deleted from vrk_person where person_id = 1004")).toString(), QStringLiteral("K"));
    EXPECT_EQ(V(QStringLiteral("select control_card || '/' || sportident_card || '/' || new_person_id from vrk_person "
                               "where person_id = 1003"))
                  .toString(),
              QStringLiteral("012399/8001234/1004"));
    EXPECT_EQ(Queued("VRK_PERSON", 1003), 1);
}

}  // namespace
