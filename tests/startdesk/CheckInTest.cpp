// The check-in against the event database: the three openings, the person,
// the card, web entries, the fee and the save paths of OK; refusals write
// nothing and cancelling leaves nothing.

#include "StartDeskFixture.h"

#include "components/grid/rDBGrid.h"
#include "platform/ui/StdCtrls.h"
#include "resources/StartDeskTexts.h"
#include "results/vrkResultsClassForest.h"

namespace st = txt::startdesk;

namespace {

TEST_F(StartDesk, KnownCardIsCheckedInWithCourseFeeAndBalance)
{
    run.vcChipString = Card(QStringLiteral("12345"));
    ASSERT_TRUE(run.Open());
    const int64_t id = run.iResultsClassId;
    ASSERT_GT(id, 0);
    EXPECT_TRUE(run.bNewResult);
    EXPECT_EQ(formMain->vc_last_read_chip, QStringLiteral("012345"));
    // the database proposes the balance payment of the card's balance
    EXPECT_EQ(run.nPaymentType, QStringLiteral("SALDO"));
    EXPECT_EQ(run.nChipBalanceBefore, Currency::FromScaled(50, 0));
    EXPECT_EQ(run.nPaymentPrice, Currency::FromScaled(12, 0));
    EXPECT_EQ(run.BalanceLabel, QStringLiteral("SALDO tapahtuman jälkeen: 38,00"));
    // the database found the card's owner
    EXPECT_EQ(run.RunSet().FieldByName(QStringLiteral("PERSON_ID"))->AsLargeInt(), 1001);
    EXPECT_TRUE(run.OwnChip);
    EXPECT_EQ(run.Menu1State, QStringLiteral("MENU1_OK"));
    EXPECT_EQ(run.Menu1Text, QStringLiteral("Virtanen Matti, Helsingin Suunnistajat"));
    run.ChooseCourse(401);
    EXPECT_EQ(run.Menu2State, QStringLiteral("MENU2_OK"));
    const int queuedBefore =
        V(QStringLiteral("select count(*) from vrk_data_replication where repl_data = 'VRK_RESULTS_CLASS' and repl_data_id = %1").arg(id)).toInt();
    ASSERT_TRUE(run.Ok());
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(Run(id, "result_status").toString(), QStringLiteral("M"));
    EXPECT_EQ(Run(id, "class_course_id").toLongLong(), 401);
    EXPECT_EQ(Run(id, "person_id").toLongLong(), 1001);
    EXPECT_EQ(Run(id, "control_card").toString(), QStringLiteral("012345"));
    EXPECT_EQ(Run(id, "payment_type").toString(), QStringLiteral("SALDO"));
    EXPECT_EQ(Run(id, "cast(payment_price * 100 as integer)").toInt(), 1200);
    EXPECT_EQ(Run(id, "cast(chip_balance_before * 100 as integer)").toInt(), 5000);
    EXPECT_EQ(V(QStringLiteral("select count(*) from vrk_data_replication where repl_data = 'VRK_RESULTS_CLASS' and "
                               "repl_data_id = %1 and repl_status <> 'P'").arg(id)).toInt(),
              1) << "queued before saving: " << queuedBefore;
    EXPECT_EQ(formMain->vc_last_result_action, QStringLiteral("LAHTO_MAASTOON"));
    EXPECT_EQ(Closed, QList<int64_t>{id});
}

TEST_F(StartDesk, RefusalsOfOkWriteNothingAndCancelDeletesTheNewRun)
{
    run.vcChipString.clear();
    ASSERT_TRUE(run.Open());
    const int64_t id = run.iResultsClassId;
    EXPECT_EQ(run.vcControlCard, QStringLiteral("0"));
    EXPECT_FALSE(run.bChipRead);
    const QVariant updated = Run(id, "updated");

    struct Case {
        std::function<void()> Prepare;
        QString Text;
    };
    const std::vector<Case> cases = {
        {[] {}, st::NoPerson},
        {[&] { run.SelectPerson(1003); }, st::NoCard},
        {[&] { run.LeaveCard(QStringLiteral("0")); }, st::NoCard},
        {[&] { run.EnterCard(); run.LeaveCard(QStringLiteral("123456")); }, st::NoCourse},
    };
    for (const Case& c : cases) {
        Boxes.clear();
        c.Prepare();
        EXPECT_FALSE(run.Ok());
        EXPECT_EQ(Boxes, QStringList{c.Text});
        EXPECT_EQ(Run(id, "coalesce(person_id, 0)").toLongLong(), 0);
        EXPECT_EQ(Run(id, "updated"), updated);
    }
    run.Cancel();
    EXPECT_EQ(V(QStringLiteral("select count(*) from vrk_results_class where results_class_id = %1").arg(id)).toInt(), 0);
    EXPECT_TRUE(Closed.isEmpty());
}

TEST_F(StartDesk, RefusedOpeningsLeaveNoRun)
{
    const int before = Runs();
    // the same card read twice in a row: No deletes the second run
    run.vcChipString = Card(QStringLiteral("54321"));
    ASSERT_TRUE(run.Open());
    run.Cancel();
    EXPECT_EQ(Runs(), before);
    Answer = IDNO;
    TResultsClassForestRun again;
    again.vcChipString = Card(QStringLiteral("54321"));
    EXPECT_FALSE(again.Open());
    EXPECT_TRUE(again.bCancelOpen);
    EXPECT_EQ(Boxes.last(), st::SameCardAgain);
    again.Close();
    EXPECT_EQ(Runs(), before);

    // a card the database reports as already in the forest
    Answer = IDYES;
    f.Exec(QStringLiteral("insert into vrk_results_class (results_class_id, event_id, control_card, result_status, "
                          "first_result_status, status) values (5000, 100, '066666', 'M', 'M', '0');"),
           true);
    TResultsClassForestRun third;
    third.vcChipString = Card(QStringLiteral("66666"));
    EXPECT_FALSE(third.Open());
    EXPECT_EQ(Boxes.last(), st::AlreadyInForest);
    third.Close();
    EXPECT_EQ(Runs(), before + 1);
}

TEST_F(StartDesk, RentedCardTypedAndCardOwnerFound)
{
    ASSERT_TRUE(run.Open());
    const int64_t id = run.iResultsClassId;
    run.EnterCard();
    run.LeaveCard(QStringLiteral("77777"));
    EXPECT_TRUE(run.RentedChip);
    EXPECT_TRUE(run.bChipManuallyEntered);
    run.SelectPerson(1003);
    run.ChooseCourse(402);
    ASSERT_TRUE(run.Ok());
    EXPECT_EQ(Run(id, "rented_chip").toString(), QStringLiteral("K"));
    EXPECT_EQ(Run(id, "control_card").toString(), QStringLiteral("77777"));
    EXPECT_EQ(Run(id, "person_id").toLongLong(), 1003);

    // a typed card of a known person selects that person
    formMain->vc_last_read_chip.clear();
    TResultsClassForestRun second;
    ASSERT_TRUE(second.Open());
    second.EnterCard();
    second.LeaveCard(QStringLiteral("54321"));
    EXPECT_EQ(second.RunSet().FieldByName(QStringLiteral("PERSON_ID"))->AsLargeInt(), 1002);
    EXPECT_EQ(second.RunSet().FieldByName(QStringLiteral("RESULT_NOTES"))->AsString(), QStringLiteral("X"));
    EXPECT_FALSE(second.RentedChip);
    second.Cancel();
}

TEST_F(StartDesk, NoCardRunIsSavedWithTheNoCardNumberAndTila)
{
    ASSERT_TRUE(run.Open());
    const int64_t id = run.iResultsClassId;
    run.SetNoChip(true);
    run.SelectPerson(1003);
    run.ChooseCourse(401);
    TResultsClassForestRun::Tila = 1;  // "Ei aikaa"
    ASSERT_TRUE(run.Ok());
    EXPECT_EQ(Run(id, "control_card").toString(), QStringLiteral("99999999"));
    EXPECT_EQ(Run(id, "result_status").toString(), QStringLiteral("E"));

    // reopened for editing: "Ei korttia" ticked, the card empty; OK without a
    // change writes nothing but still counts as the last action
    const QVariant updated = Run(id, "updated");
    formMain->vc_last_result_action = QStringLiteral("EI");
    TResultsClassForestRun edit;
    edit.iResultsClassId = id;
    std::vector<int64_t> closed;
    edit.OnRunClosed = [&](int64_t r) { closed.push_back(r); };
    ASSERT_TRUE(edit.Open());
    EXPECT_TRUE(edit.NoChip);
    EXPECT_TRUE(edit.Card.isEmpty());
    EXPECT_EQ(edit.Menu2State, QStringLiteral("MENU2_OK"));
    ASSERT_TRUE(edit.Ok());
    EXPECT_EQ(Run(id, "updated"), updated);
    EXPECT_EQ(formMain->vc_last_result_action, QStringLiteral("LAHTO_MAASTOON"));
    EXPECT_EQ(closed, std::vector<int64_t>{id});
}

TEST_F(StartDesk, WebEntryOfTheReadCardIsAttachedAndMarked)
{
    f.Exec(QStringLiteral("update vrk_event set web_entries = 'K' where event_id = 100;"));
    Reload();
    run.vcChipString = Card(QStringLiteral("54321"));
    ASSERT_TRUE(run.Open());
    const int64_t id = run.iResultsClassId;
    EXPECT_TRUE(run.bShowWebEntries);
    EXPECT_EQ(run.WebMark, TResultsClassForestRun::TWebMark::OK);
    EXPECT_EQ(run.RunSet().FieldByName(QStringLiteral("PERSON_ID"))->AsLargeInt(), 1002);
    run.ChooseCourse(402);
    ASSERT_TRUE(run.Ok());
    EXPECT_EQ(V(QStringLiteral("select results_class_id from vrk_rastilippu_entries where rastilippu_entries_id = 801")).toLongLong(),
              id);
    EXPECT_EQ(Run(id, "result_notes").toString(), QStringLiteral("X"));
}

TEST_F(StartDesk, PersonSearchFilterAndSelectionToggle)
{
    EXPECT_EQ(TResultsClassForestRun::PersonFilter(QStringLiteral(" mat ")), QStringLiteral("PERSON_NAME like '%mat%'"));
    EXPECT_EQ(TResultsClassForestRun::PersonFilter(QStringLiteral("mat vir")),
              QStringLiteral("PERSON_NAME like '%mat% %vir%' OR PERSON_NAME like '%vir% %mat%'"));
    EXPECT_EQ(TResultsClassForestRun::PersonFilter(QStringLiteral("o'n")), QStringLiteral("PERSON_NAME like '%o''n%'"));

    ASSERT_TRUE(run.Open());
    run.SelectPerson(1001);
    run.SearchPersons(QStringLiteral("MATTI vir"));
    EXPECT_EQ(run.RunSet().FieldByName(QStringLiteral("PERSON_ID"))->AsLargeInt(), 0);
    EXPECT_EQ(run.Menu1State, QStringLiteral("MENU1_QUESTION"));
    EXPECT_EQ(f.Module->fbQueryLookupPersonFD->RecordCount(), 1);
    run.ClearSearch();  // Escape restores the person
    EXPECT_EQ(run.RunSet().FieldByName(QStringLiteral("PERSON_ID"))->AsLargeInt(), 1001);
    run.SelectPerson(0);  // the run's own person again: removed
    EXPECT_EQ(run.RunSet().FieldByName(QStringLiteral("PERSON_ID"))->AsLargeInt(), 0);
    run.Cancel();
}

}  // namespace

namespace {

TEST_F(StartDesk, WindowShowsTheRunAndSavesWithOk)
{
    TformResultsClassForest w(nullptr);
    std::vector<int64_t> closed;
    w.Run().OnRunClosed = [&](int64_t id) { closed.push_back(id); };
    w.Run().vcChipString = Card(QStringLiteral("12345"));
    ASSERT_TRUE(w.Opening());
    EXPECT_EQ(w.Width(), 1021);  // the series uses chip balances
    EXPECT_EQ(w.lblMenu1->Caption(), QStringLiteral("Virtanen Matti, Helsingin Suunnistajat"));
    EXPECT_EQ(w.edtChip1->Text(), QStringLiteral("012345"));
    EXPECT_TRUE(w.edtChip1->ReadOnly());
    EXPECT_EQ(w.lblChipBalanceInfo->Caption(), QStringLiteral("SALDO tapahtuman jälkeen: 38,00"));
    w.btnOK->Click();  // no course yet: refused, the window stays
    EXPECT_EQ(Boxes, QStringList{txt::startdesk::NoCourse});
    EXPECT_EQ(w.ModalResult(), mrNone);
    w.Run().ChooseCourse(404);
    w.Sync();
    EXPECT_EQ(w.lblMenu2->Caption(), QStringLiteral("Rata: M"));
    w.btnOK->Click();
    EXPECT_EQ(w.ModalResult(), mrOk);
    EXPECT_EQ(closed.size(), 1u);
    EXPECT_EQ(Run(closed[0], "class_course_id").toLongLong(), 404);
}

}  // namespace

#include "results/vrkPersonEditorRun.h"

namespace {

TEST_F(StartDesk, NewPersonFromTheCheckInGetsTheTypedCard)
{
    ASSERT_TRUE(run.Open());
    run.EnterCard();
    run.LeaveCard(QStringLiteral("099999"));
    EXPECT_EQ(run.ChipForPersonEditor(), QStringLiteral("099999"));
    TPersonEditorRun editor;
    editor.vcChip = run.ChipForPersonEditor();
    editor.vcPersonName = QStringLiteral("Uusi Uuno");
    editor.Open();
    ASSERT_TRUE(editor.Ok());
    editor.Close();
    run.PersonEdited(editor.iNewPersonId, true, editor.bDataChanged);
    EXPECT_EQ(run.Menu1Text, QStringLiteral("Uusi Uuno"));
    run.ChooseCourse(401);
    const int64_t id = run.iResultsClassId;
    ASSERT_TRUE(run.Ok());
    EXPECT_EQ(Run(id, "person_id").toLongLong(), editor.iNewPersonId);
    EXPECT_EQ(Run(id, "result_notes").toString(), QStringLiteral("X"));
    EXPECT_EQ(V(QStringLiteral("select control_card from vrk_person where person_id = %1").arg(editor.iNewPersonId)).toString(),
              QStringLiteral("099999"));

    // a rented card is never handed over as the new person's own card
    TResultsClassForestRun rented;
    ASSERT_TRUE(rented.Open());
    rented.EnterCard();
    rented.LeaveCard(QStringLiteral("77777"));
    EXPECT_EQ(rented.ChipForPersonEditor(), QStringLiteral("0"));
    rented.Cancel();
}

// "Muokkaa" on a run in the forest whose person editor saves nothing leaves
// the run as it was: OK then writes nothing, not even the remembered "Tila".
TEST_F(StartDesk, AnEditorClosedWithoutChangesLeavesAnExistingRunUnwritten)
{
    run.vcChipString = Card(QStringLiteral("12345"));
    ASSERT_TRUE(run.Open());
    run.ChooseCourse(401);
    const int64_t id = run.iResultsClassId;
    ASSERT_TRUE(run.Ok());
    ASSERT_EQ(Run(id, "result_status").toString(), QStringLiteral("M"));
    const QString notes = Run(id, "coalesce(result_notes, '-')").toString();

    TResultsClassForestRun existing;
    existing.iResultsClassId = id;
    ASSERT_TRUE(existing.Open());
    TResultsClassForestRun::Tila = 1;  // "Ei aikaa" left from an earlier check-in
    existing.PersonEdited(existing.RunPersonId(), false, false);
    EXPECT_EQ(existing.RunSet().State(), dsBrowse);
    ASSERT_TRUE(existing.Ok());
    EXPECT_EQ(Run(id, "result_status").toString(), QStringLiteral("M"));
    EXPECT_EQ(Run(id, "coalesce(result_notes, '-')").toString(), notes);
    TResultsClassForestRun::Tila = -1;
}

}  // namespace

#include "components/grid/TPropSaveFile.h"
#include "platform/ui/DBGrids.h"

#include <QFile>

namespace {

// Enter anywhere but a list accepts (here refused: no course), Escape cancels
// and keeps the web-entry columns for the next window.
TEST_F(StartDesk, CheckInKeysAndTheSavedWebEntryColumns)
{
    QString ini;
    {
        TformResultsClassForest w(nullptr);
        ini = w.propResultsClassForest->ResolveFileName(QString());
        EXPECT_TRUE(ini.endsWith(QStringLiteral("/ResultsClassForest.ini")));
        QFile::remove(ini);
        w.Run().vcChipString = Card(QStringLiteral("12345"));
        ASSERT_TRUE(w.Opening());
        Word key = VK_RETURN;
        w.HandleKey(key);
        EXPECT_EQ(key, 0);
        EXPECT_EQ(Boxes, QStringList{txt::startdesk::NoCourse});
        EXPECT_EQ(w.ModalResult(), mrNone);
        // the arrows step through the closed course list, each step choosing
        // the course; an open list chooses as Enter closes it, and Escape
        // closes it without cancelling
        w.Show();
        key = VK_F6;
        w.HandleKey(key);
        Word down = VK_DOWN;
        w.edtClassCourse->KeyDown(down, TShiftState());
        down = VK_DOWN;
        w.edtClassCourse->OnKeyUp(w.edtClassCourse, down, TShiftState());
        EXPECT_NE(w.Run().CourseId(), 0);
        EXPECT_TRUE(w.lblMenu2->Caption().startsWith(txt::startdesk::Menu2Course));
        w.edtClassCourse->DropDown();
        ASSERT_TRUE(w.edtClassCourse->ListVisible());
        Boxes.clear();
        key = VK_RETURN;
        w.HandleKey(key);
        EXPECT_FALSE(w.edtClassCourse->ListVisible());
        EXPECT_EQ(w.ModalResult(), mrNone);
        EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join(QLatin1Char('|')).toStdString();
        w.edtClassCourse->DropDown();
        key = VK_ESCAPE;
        w.HandleKey(key);
        EXPECT_FALSE(w.edtClassCourse->ListVisible());
        EXPECT_EQ(w.ModalResult(), mrNone);
        key = VK_F7;  // web entries are not used by this event: the key passes on
        w.HandleKey(key);
        EXPECT_EQ(key, VK_F7);
        w.rdbgrdWebEntries->Columns()->Items(0)->SetWidth(177);
        key = VK_ESCAPE;
        w.HandleKey(key);
        EXPECT_EQ(w.ModalResult(), mrCancel);
    }
    EXPECT_TRUE(QFile::exists(ini));
    TformResultsClassForest again(nullptr);
    EXPECT_EQ(again.rdbgrdWebEntries->Columns()->Items(0)->Width(), 177);
    QFile::remove(ini);
}

}  // namespace
