// The finish dialog against the real event database: opening a read, the
// person and the course candidates, time edits, accepting, the forest, and
// the automatic acceptance at the result board.

#include "app/vrkMainForm.h"
#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "devices/vrkResultBoard.h"
#include "platform/database/Fields.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/DBCtrls.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "resources/FinishDeskTexts.h"
#include "components/dbcontrols/TrDBCheckBox.h"
#include "components/dbcontrols/TrDBDateTimePicker.h"
#include "components/dbcontrols/TrDBEdit.h"
#include "components/grid/rDBGrid.h"
#include "components/dbcontrols/TrDBLookupComboBox.h"
#include "components/dbcontrols/TrDBMemo.h"
#include "components/framed/FcDBRGrp.h"
#include "components/framed/FcEdit.h"
#include "components/framed/FcRadChk.h"
#include "results/vrkPerson.h"
#include "results/vrkResultsClass.h"
#include "results/vrkResultsClass2.h"
#include "tests/finishdesk/FinishDeskFixture.h"
#include "tests/serial/PortEventLoop.h"
#include "tests/support/RealInput.h"

namespace {

const char* kRegister =
    "INSERT INTO VRK_RESULTS_CLASS (RESULTS_CLASS_ID, EVENT_ID, LEG_NUMBER, CONTROL_CARD, PERSON_ID, ENTRY_FEE, "
    "INSERTED, UPDATED, CLASS_COURSE_ID, ORIGIN_CLIENT_ID, ORIGIN_CLIENT_NAME, RENTED_CHIP, RESULT_STATUS, "
    "FIRST_RESULT_STATUS, PERSON_NAME, REGISTERED_TIME) VALUES (%1, 100, 1, '%2', %3, 12, '2024-06-01 18:00:00', "
    "'2024-06-01 18:00:00', %5, 7, 'Testikone', '%4', 'M', 'M', '', '2024-06-01 18:00:00');";

// The operator's mouse click on an item of the status group.
void ClickStatus(TFcDBRadioGroup* Group, int Index)
{
    TControl* b = Group->Buttons(Index);
    b->MouseDown(mbLeft, ssLeft, 3, 3);
    b->MouseUp(mbLeft, 0, 3, 3);
}

// The operator's change of a time: the picker takes the row into edit
// first, as a key press or the drop-down does, then the value changes.
void Pick(TrDBDateTimePicker* Picker, TDateTime Value)
{
    Picker->DataLink()->Edit();
    Picker->SetDateTime(Value);
}

}  // namespace

class FinishDialog : public FinishDesk {
protected:
    // Opens the dialog for a card read (modally); Act runs while it is open.
    void OpenRead(const QString& EmitString, std::function<void()> Act)
    {
        Dialog->vcChipString = EmitString;
        Dialog->iResultsClassId = 0;
        Open(std::move(Act));
    }
    void OpenRun(int64_t Id, std::function<void()> Act)
    {
        Dialog->vcChipString.clear();
        Dialog->iResultsClassId = Id;
        Open(std::move(Act));
    }
    void Open(std::function<void()> Act)
    {
        OnModal = [this, Act](TCustomForm*) {
            if (Act)
                Act();
            return int(mrCancel);
        };
        Dialog->ShowModal();
    }
    QString RunValue(const QString& Column, int64_t Id)
    {
        return Value(QStringLiteral("select %1 from VRK_RESULTS_CLASS where RESULTS_CLASS_ID = %2").arg(Column).arg(Id))
            .toString();
    }
    int Runs() { return Value(QStringLiteral("select count(*) from VRK_RESULTS_CLASS")).toInt(); }
};

TEST_F(FinishDialog, ACleanReadOfAKnownRunnerIsAcceptedWithOK)
{
    int64_t id = 0;
    OpenRead(CleanEmit(QStringLiteral("12345")), [&] {
        id = Dialog->iResultsClassId;
        EXPECT_EQ(Dialog->Caption(), fdtxt::FinishCaption);
        EXPECT_TRUE(Dialog->btnToForest->Visible());
        EXPECT_TRUE(Dialog->imgOK->Visible());
        EXPECT_TRUE(Dialog->imgOKC->Visible());
        EXPECT_EQ(Dialog->fcdbrdgrpSTATUS->Value(), "0");
        EXPECT_EQ(Dialog->edtTime->Text(), "00:25:00");
        EXPECT_TRUE(Dialog->chkPrintReceipt->Checked());
        // a punch row explains itself under the mouse
        auto hintOver = [&](int Row) {
            const TRect r = Dialog->rdbgrdPunches->CellRect(1, Row);
            QWidget* w = Dialog->rdbgrdPunches->Widget();
            const QPointF p(r.Left + 3, r.Top + 3);
            QMouseEvent move(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(w, &move);
            return Dialog->rdbgrdPunches->Hint();
        };
        EXPECT_EQ(hintOver(1), "Nollaleimaus");
        EXPECT_EQ(hintOver(2), "Leima OK");
        Dialog->btnOKClick(nullptr);
    });
    ASSERT_NE(id, 0);
    EXPECT_EQ(RunValue(QStringLiteral("RESULT_STATUS"), id), "V");
    EXPECT_EQ(RunValue(QStringLiteral("PERSON_ID"), id), "1001");
    EXPECT_EQ(formMain->vc_last_result_action, "MAALI_TULOS");
    EXPECT_EQ(formMain->vc_last_read_chip, "012345");
    ASSERT_FALSE(Host.GridRefreshes.empty());
    EXPECT_EQ(Host.GridRefreshes.back(), id);
    ASSERT_EQ(Host.LastResult.size(), 5);
    EXPECT_EQ(Host.LastResult[1], "Virtanen Matti");
    EXPECT_GE(Host.MainGridActivations, 1);
}

// "Lisää" (F10) at the finish: the person editor opens with the read card as
// the new person's own card; its OK makes the person the run's.
TEST_F(FinishDialog, AnUnknownCardGetsANewRunnerThroughTheAddKey)
{
    TformPerson person(nullptr);
    person.AfterConstruction();
    formPerson = &person;
    int64_t id = 0, chosen = -1;
    QString prefilledCard, notes;
    bool editorOpened = false;
    OnModal = [&](TCustomForm* F) {
        if (F == &person) {
            editorOpened = true;
            prefilledCard = person.edtCONTROL_CARD->Text();
            realinput::Type(person.edtPERSON_NAME, QStringLiteral("Uusikoski Uuno"));
            realinput::ClickMiddle(person.btnOK);
            return person.ModalResult();
        }
        id = Dialog->iResultsClassId;
        EXPECT_TRUE(Dialog->imgQuestion->Visible());
        Dialog->edtSearchPersons->SetFocus();
        realinput::Key(Dialog->edtSearchPersons, Qt::Key_F10);
        chosen = DataModule1->fbQueryCurrResultFD->FieldByName(QStringLiteral("PERSON_ID"))->AsLargeInt();
        notes = DataModule1->fbQueryCurrResultFD->FieldByName(QStringLiteral("RESULT_NOTES"))->AsString();
        EXPECT_TRUE(Dialog->imgOK->Visible());
        EXPECT_TRUE(Dialog->actPersonEdit->Enabled());
        Dialog->btnOKClick(nullptr);
        return int(mrOk);
    };
    Dialog->vcChipString = CleanEmit(QStringLiteral("55555"));
    Dialog->iResultsClassId = 0;
    Dialog->ShowModal();
    formPerson = nullptr;
    ASSERT_TRUE(editorOpened);
    EXPECT_EQ(prefilledCard, QStringLiteral("055555"));
    const int64_t added =
        Value(QStringLiteral("select person_id from VRK_PERSON where PERSON_NAME = 'Uusikoski Uuno'")).toLongLong();
    ASSERT_GT(added, 0) << BoxTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(chosen, added);
    EXPECT_EQ(notes, QStringLiteral("X"));
    EXPECT_EQ(RunValue(QStringLiteral("PERSON_ID"), id).toLongLong(), added);
    EXPECT_EQ(Value(QStringLiteral("select CONTROL_CARD from VRK_PERSON where PERSON_ID = %1").arg(added)).toString(),
              QStringLiteral("055555"));
}

// A read that is deleted (the dialog cancelled) leaves the last run shown
// in "Viimeisin käsitelty" as it was.
TEST_F(FinishDialog, ACancelledReadDoesNotFillTheLastResultBox)
{
    OpenRead(CleanEmit(QStringLiteral("12345")), [&] { Dialog->btnOKClick(nullptr); });
    ASSERT_EQ(Host.LastResult.size(), 5);
    const QStringList shown = Host.LastResult;
    OpenRead(CleanEmit(QStringLiteral("55555")), [&] {});
    EXPECT_EQ(Host.LastResult, shown);
}

TEST_F(FinishDialog, AnUnknownCardWithoutAPersonIsKeptLocally)
{
    int64_t id = 0;
    OpenRead(CleanEmit(QStringLiteral("33333")), [&] {
        id = Dialog->iResultsClassId;
        EXPECT_TRUE(Dialog->imgQuestion->Visible());
        EXPECT_FALSE(Dialog->chkPrintReceipt->Enabled());
        Answer(IDCANCEL);  // first: stay and choose a person
        Dialog->btnOKClick(nullptr);
        EXPECT_TRUE(Dialog->Visible());
        Dialog->btnOKClick(nullptr);  // then: save without one
    });
    EXPECT_TRUE(BoxTexts().contains(fdtxt::NoPersonAsk));
    EXPECT_EQ(RunValue(QStringLiteral("RESULT_STATUS"), id), "L");
}

TEST_F(FinishDialog, TheSameCardTwiceAsksWithNoPreselectedAndNoLeavesNoRun)
{
    OpenRead(CleanEmit(QStringLiteral("33333")), [&] { Dialog->btnOKClick(nullptr); });
    const int before = Runs();
    Boxes.clear();
    Answer(IDNO);
    OpenRead(CleanEmit(QStringLiteral("33333")), nullptr);
    ASSERT_FALSE(Boxes.empty());
    EXPECT_EQ(Boxes[0].Text, fdtxt::SameChipAsk);
    EXPECT_TRUE(Boxes[0].Flags & MB_DEFBUTTON2);
    EXPECT_EQ(Runs(), before);
}

// Another card between does not make a card read again a new run: the
// operator is asked as for the same card twice in a row, and at the board the
// runner is told and sees the earlier result again.
TEST_F(FinishDialog, ACardReadAgainAfterAnotherCardIsToldAsTheSameCard)
{
    int64_t first = 0;
    OpenRead(CleanEmit(QStringLiteral("12345")), [&] {
        first = Dialog->iResultsClassId;
        Dialog->btnOKClick(nullptr);
    });
    OpenRead(CleanEmit(QStringLiteral("33333")), [&] { Dialog->btnOKClick(nullptr); });
    const int before = Runs();
    Boxes.clear();
    Answer(IDNO);
    OpenRead(CleanEmit(QStringLiteral("12345")), nullptr);
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, fdtxt::SameChipAsk);
    EXPECT_TRUE(Boxes[0].Flags & MB_DEFBUTTON2);
    EXPECT_EQ(Runs(), before);

    // other punches on the same card (run again), after another card, are a
    // new read: no question
    OpenRead(CleanEmit(QStringLiteral("54321")), [&] { Dialog->btnOKClick(nullptr); });
    Boxes.clear();
    OpenRead(Emit(QStringLiteral("12345"), {{0, 0}, {31, 300}, {32, 700}, {33, 1100}, {100, 1400}, {250, 1500}}),
             [&] { Dialog->btnOKClick(nullptr); });
    EXPECT_FALSE(BoxTexts().contains(fdtxt::SameChipAsk));
    EXPECT_EQ(Runs(), before + 2);

    // at the board: no run, the runner is told and sees the earlier result
    OpenRead(CleanEmit(QStringLiteral("44444")), [&] { Dialog->btnOKClick(nullptr); });
    formMain->bResultBoardVisible = true;
    Board->Show();
    Board->ShowReadPanel();
    Boxes.clear();
    Dialog->vcChipString = CleanEmit(QStringLiteral("12345"));
    Dialog->iResultsClassId = 0;
    Dialog->Show();
    ASSERT_TRUE(PumpUntil([this] { return !Dialog->Visible(); }, 5000));
    EXPECT_TRUE(Boxes.empty());
    EXPECT_EQ(Runs(), before + 3);
    EXPECT_EQ(Board->fcpNextChipPanel->Caption(), fdtxt::SameChip);
    EXPECT_EQ(Board->nlastResultsClass_id, first);
    EXPECT_EQ(Board->fcNimi->Caption(), "Virtanen Matti");
    formMain->bResultBoardVisible = false;
    Board->Hide();
}

TEST_F(FinishDialog, ToTheForestStoresTheRegistrationWhenTheDialogCloses)
{
    int64_t id = 0;
    OpenRead(CleanEmit(QStringLiteral("12345")), [&] {
        id = Dialog->iResultsClassId;
        Dialog->btnToForestClick(nullptr);
    });
    EXPECT_EQ(RunValue(QStringLiteral("RESULT_STATUS"), id), "M");
    EXPECT_EQ(RunValue(QStringLiteral("FIRST_RESULT_STATUS"), id), "M");
    EXPECT_EQ(formMain->vc_last_result_action, "MAALI_MAASTOON");
}

TEST_F(FinishDialog, ARegisteredCardAtTheBoardIsAcceptedWithoutTheOperator)
{
    Db.Exec(QString::fromLatin1(kRegister).arg(5001).arg("054321").arg(1002).arg("E").arg(401));
    formMain->bResultBoardVisible = true;
    formMain->vc_last_result_action = QStringLiteral("EI");
    Board->Show();
    Dialog->vcChipString = Emit(QStringLiteral("54321"), {{0, 0}, {31, 600}, {100, 2400}, {250, 2700}});
    Dialog->iResultsClassId = 0;
    Dialog->Show();
    ASSERT_TRUE(PumpUntil([this] { return !Dialog->Visible(); }, 5000));
    EXPECT_EQ(RunValue(QStringLiteral("RESULT_STATUS"), 5001), "V");
    EXPECT_EQ(Board->nlastResultsClass_id, 5001);
    EXPECT_EQ(Board->fcNimi->Caption(), "Korhonen Anna");
    EXPECT_EQ(formMain->vc_last_result_action, "EI");
    EXPECT_TRUE(Boxes.empty());
    formMain->bResultBoardVisible = false;
    Board->Hide();
}

// A read the desk accepts by itself is accepted with its storing: the run
// goes up once, as when the acceptance was a step of its own. A read that
// waits for the operator is not queued before the operator's OK.
TEST_F(FinishDialog, AReadAcceptedWithoutTheOperatorIsQueuedForUploadOnce)
{
    struct Case {
        const char* name;
        bool board;
        const char* rented;  // the registration's card is rented ("K")
        bool byItself;
    };
    const std::vector<Case> cases = {
        {"registered card at the board", true, "E", true},
        {"clean run on an own card", false, "E", true},
        {"rented card", false, "K", false},
    };
    int64_t id = 5100;
    for (const Case& c : cases) {
        ++id;
        const QString card = QStringLiteral("0543%1").arg(id - 5100 + 30);
        Db.Exec(QString::fromLatin1(kRegister).arg(id).arg(card).arg(1002).arg(c.rented).arg(401));
        const QString queued = QStringLiteral("select count(*) from VRK_DATA_REPLICATION where REPL_DATA = "
                                              "'VRK_RESULTS_CLASS' and REPL_DATA_ID = %1").arg(id);
        // (the registration itself went up when it was made)
        const int before = Value(queued).toInt();
        formMain->bResultBoardVisible = c.board;
        if (c.board)
            Board->Show();
        Dialog->vcChipString = CleanEmit(card.mid(1));
        Dialog->iResultsClassId = 0;
        Dialog->Show();
        if (!c.byItself) {
            PumpUntil([] { return false; }, 300);
            ASSERT_TRUE(Dialog->Visible()) << c.name;
            EXPECT_EQ(Value(queued).toInt(), before) << c.name;
            Dialog->btnOKClick(nullptr);
        }
        ASSERT_TRUE(PumpUntil([this] { return !Dialog->Visible(); }, 5000)) << c.name;
        EXPECT_EQ(RunValue(QStringLiteral("RESULT_STATUS"), id), "V") << c.name;
        EXPECT_EQ(RunValue(QStringLiteral("STATUS"), id), "0") << c.name;
        EXPECT_EQ(Value(queued).toInt(), before + 1) << c.name;
        EXPECT_TRUE(Boxes.empty()) << c.name;
        formMain->bResultBoardVisible = false;
        Board->Hide();
    }
}

TEST_F(FinishDialog, ARegisteredCardWithoutPunchesDoesNotShowOKOnTheBoard)
{
    Db.Exec(QString::fromLatin1(kRegister).arg(5002).arg("054321").arg(1002).arg("E").arg(0));
    formMain->bResultBoardVisible = true;
    Board->Show();
    Dialog->vcChipString = Emit(QStringLiteral("54321"), {});
    Dialog->iResultsClassId = 0;
    Dialog->Show();
    ASSERT_TRUE(PumpUntil([this] { return !Dialog->Visible(); }, 5000));
    TDataModule1::TResultBoardData d;
    DataModule1->getResultBoardData(5002, d);
    EXPECT_EQ(d.resultStatus, "5");
    EXPECT_NE(Board->fctila->Caption(), "OK");
    EXPECT_EQ(Board->fctila->Font()->Color(), RGB(0, 128, 0));
    formMain->bResultBoardVisible = false;
    Board->Hide();
}

TEST_F(FinishDialog, ACardWithoutPunchesAcceptedByTheOperatorIsNotOK)
{
    int64_t id = 0;
    OpenRead(Emit(QStringLiteral("12345"), {}), [&] {
        id = Dialog->iResultsClassId;
        Dialog->btnOKClick(nullptr);
    });
    ASSERT_NE(id, 0);
    EXPECT_EQ(RunValue(QStringLiteral("RESULT_STATUS"), id), "V");
    EXPECT_EQ(RunValue(QStringLiteral("STATUS"), id), "5");
    TDataModule1::TResultBoardData d;
    DataModule1->getResultBoardData(id, d);
    EXPECT_EQ(d.resultStatus, "5");
    EXPECT_TRUE(d.sija.isEmpty());
    // a run stored without a status (by an older program) reads as no time
    Db.Exec(QStringLiteral("UPDATE VRK_RESULTS_CLASS SET STATUS = NULL WHERE RESULTS_CLASS_ID = %1").arg(id), true);
    DataModule1->getResultBoardData(id, d);
    EXPECT_EQ(d.resultStatus, "5");
}

TEST_F(FinishDialog, ARegisteredRentedCardAtAHiddenBoardWaitsForOK)
{
    Db.Exec(QString::fromLatin1(kRegister).arg(5003).arg("077777").arg(1003).arg("K").arg(401));
    OpenRead(CleanEmit(QStringLiteral("77777")), [&] {
        EXPECT_EQ(Dialog->Caption(), fdtxt::FinishCaptionForest);
        EXPECT_FALSE(Dialog->btnToForest->Visible());
        EXPECT_FALSE(Dialog->btnCancel->Visible());
        // Escape while "Peruuta" is hidden: the dialog stays open
        Dialog->cancelClick(nullptr);
        EXPECT_TRUE(Dialog->Visible());
        Dialog->btnOKClick(nullptr);
    });
    EXPECT_EQ(RunValue(QStringLiteral("RESULT_STATUS"), 5003), "V");
}

TEST_F(FinishDialog, StatusOKIsRefusedWithoutATimeAndTimesFollowTheEdits)
{
    int64_t id = 0;
    OpenRead(CleanEmit(QStringLiteral("12345")), [&] {
        id = Dialog->iResultsClassId;
        // an empty editable time reads as zero, an empty display-only one as
        // blanks and is passed over by Tab
        for (TrDBDateTimePicker* p : {Dialog->dtpStart, Dialog->dtpFinish, Dialog->dtpPenalty})
            EXPECT_EQ(p->FormatEmpty(), "00:00:00");
        for (TrDBDateTimePicker* p : {Dialog->dtpRegistered, Dialog->dtpStartPunch, Dialog->dtpRead, Dialog->dtpChanged}) {
            EXPECT_EQ(p->FormatEmpty(), "__:__:__");
            EXPECT_FALSE(p->TabStop());
        }
        // a run over midnight: start 23:50, finish 00:20 of the read day
        const TDateTime day = EncodeDate(2024, 6, 1);
        Pick(Dialog->dtpFinish, day + EncodeTime(0, 20, 0, 0));
        Pick(Dialog->dtpStart, day + EncodeTime(23, 50, 0, 0));
        EXPECT_EQ(DataModule1->fbQuerySelectClassCourseFD->FieldByName(QStringLiteral("TIME_SEC"))->AsInteger(), 1800);
        EXPECT_EQ(Dialog->edtTime->Text(), "00:30:00");
        EXPECT_TRUE(Dialog->mmoRESULT_NOTES->Text().contains(fdtxt::TimesChangedNote));
        // a two-minute penalty shows in "Aika" only
        Pick(Dialog->dtpPenalty, day + EncodeTime(0, 2, 0, 0));
        EXPECT_EQ(Dialog->edtTime->Text(), "00:32:00");
        EXPECT_EQ(DataModule1->fbQuerySelectClassCourseFD->FieldByName(QStringLiteral("TIME_SEC"))->AsInteger(), 1800);
        // the note is written once
        Pick(Dialog->dtpStart, day + EncodeTime(23, 40, 0, 0));
        EXPECT_EQ(Dialog->mmoRESULT_NOTES->Text().count(fdtxt::TimesChangedNote), 1);
        // a zero start clears the time; "OK" is refused, "Kesk" is allowed
        Pick(Dialog->dtpStart, day);
        EXPECT_EQ(DataModule1->fbQuerySelectClassCourseFD->FieldByName(QStringLiteral("TIME_SEC"))->AsInteger(), 0);
        EXPECT_TRUE(Dialog->dtpPenalty->ReadOnly());
        ClickStatus(Dialog->fcdbrdgrpSTATUS, 2);
        ClickStatus(Dialog->fcdbrdgrpSTATUS, 0);
        EXPECT_EQ(Dialog->fcdbrdgrpSTATUS->ItemIndex(), 2);
        EXPECT_TRUE(BoxTexts().contains(fdtxt::StatusOkNoTime));
        Dialog->btnOKClick(nullptr);
    });
    EXPECT_EQ(RunValue(QStringLiteral("STATUS"), id), "2");
    EXPECT_EQ(RunValue(QStringLiteral("RESULT_NOTES"), id), "X");
    EXPECT_EQ(Value(QStringLiteral("select TIMES_CHANGED from VRK_RESULTS_CLASS_ALL where RESULTS_CLASS_ID = %1 and "
                                   "CLASS_COURSE_ID = 401").arg(id)).toString(), "K");
}

TEST_F(FinishDialog, ChoosingAnotherCourseShowsItsStatusAndEmptiesTheAdditionalClass)
{
    int64_t id = 0;
    OpenRead(CleanEmit(QStringLiteral("12345")), [&] {
        id = Dialog->iResultsClassId;
        Dialog->edtClassCourse->SetKeyValue(QVariant::fromValue<qlonglong>(404));
        Dialog->edtClassCourseClick(nullptr);
        EXPECT_TRUE(Dialog->imgExlamationC->Visible());
        EXPECT_FALSE(Dialog->imgOKC->Visible());
        EXPECT_NE(Dialog->fcdbrdgrpSTATUS->Value(), "0");
        EXPECT_TRUE(Dialog->edtAdditionalClass->KeyValue().isNull());
        Dialog->btnOKClick(nullptr);
    });
    EXPECT_EQ(RunValue(QStringLiteral("CLASS_COURSE_ID"), id), "404");
}

TEST_F(FinishDialog, AnExistingRunOpensWithItsCoursePictureAndCancelKeepsIt)
{
    int64_t id = 0;
    OpenRead(Emit(QStringLiteral("12345"), {{0, 0}, {31, 600}, {100, 2400}, {250, 2700}}),
             [&] {
                 id = Dialog->iResultsClassId;
                 Dialog->btnOKClick(nullptr);
             });
    OpenRun(id, [&] {
        EXPECT_TRUE(Dialog->imgExlamationC->Visible());
        EXPECT_FALSE(Dialog->btnToForest->Visible());
        Dialog->cancelClick(nullptr);
    });
    EXPECT_EQ(RunValue(QStringLiteral("RESULT_STATUS"), id), "V");
}

TEST_F(FinishDialog, SearchingFiltersThePersonsAndDropsTheChosenOne)
{
    OpenRead(CleanEmit(QStringLiteral("12345")), [&] {
        Dialog->edtSearchPersons->SetText(QStringLiteral("matti virt"));
        TFbQuery* list = DataModule1->fbQueryLookupPersonFD;
        EXPECT_EQ(list->RecordCount(), 1);
        EXPECT_EQ(Dialog->iLastSelectedPerson, 1001);
        EXPECT_TRUE(Dialog->imgQuestion->Visible());
        Dialog->rButton1Click(nullptr);
        EXPECT_TRUE(Dialog->imgOK->Visible());
        EXPECT_EQ(DataModule1->fbQueryCurrResultFD->FieldByName(QStringLiteral("PERSON_ID"))->AsLargeInt(), 1001);
        // the chosen person chosen again is dropped
        Dialog->SelectPerson(0);
        EXPECT_EQ(DataModule1->fbQueryCurrResultFD->FieldByName(QStringLiteral("PERSON_ID"))->AsLargeInt(), 0);
        Dialog->cancelClick(nullptr);
    });
    EXPECT_EQ(Runs(), 0);
}

TEST_F(FinishDialog, TheOlderDialogAcceptsWithoutAPersonAsVAndLeavesTheDeskStateAlone)
{
    TformResultsClass older(nullptr);
    older.AfterConstruction();
    EXPECT_FALSE(older.chkNoChip->Visible());
    EXPECT_FALSE(older.rdbgrdPersons->Visible());
    formMain->vc_last_result_action = QStringLiteral("EI");
    older.vcChipString = CleanEmit(QStringLiteral("33333"));
    older.iResultsClassId = 0;
    bool flagAfterF5 = false, keptOpenByTheList = false;
    OnModal = [&](TCustomForm*) {
        // F5 goes to the person list as if it were open: the first OK only
        // closes it up, the second accepts
        Word f5 = VK_F5;
        older.FormKeyUp(&older, f5, TShiftState());
        flagAfterF5 = bPersonDroppedDown;
        older.btnOKClick(nullptr);
        keptOpenByTheList = older.ModalResult() == mrNone && !bPersonDroppedDown;
        older.btnOKClick(nullptr);
        return int(mrOk);
    };
    older.ShowModal();
    EXPECT_TRUE(flagAfterF5);
    EXPECT_TRUE(keptOpenByTheList);
    const int64_t id = older.iResultsClassId;
    EXPECT_EQ(RunValue(QStringLiteral("RESULT_STATUS"), id), "V");
    EXPECT_EQ(formMain->vc_last_result_action, "EI");
    EXPECT_TRUE(Host.LastResult.isEmpty());

    // a registered clean card on the runner's own chip: accepted by itself,
    // with the board shown or not (it is never consulted)
    Db.Exec(QString::fromLatin1(kRegister).arg(5004).arg("054321").arg(1002).arg("E").arg(401));
    formMain->bResultBoardVisible = true;
    older.vcChipString = CleanEmit(QStringLiteral("54321"));
    older.iResultsClassId = 0;
    OnModal = nullptr;
    older.ShowModal();
    EXPECT_EQ(RunValue(QStringLiteral("RESULT_STATUS"), 5004), "V");
    EXPECT_EQ(Board->nlastResultsClass_id, 0);
    formMain->bResultBoardVisible = false;
}

TEST_F(FinishDialog, TheCardFieldOfARunByHandFindsRentedCardsAndTheirPersons)
{
    int64_t id = 0;
    Dialog->vcChipString.clear();
    Dialog->iResultsClassId = 0;
    Open([&] {
        id = Dialog->iResultsClassId;
        EXPECT_EQ(Dialog->edtChip1->Text(), "000000");
        EXPECT_TRUE(Dialog->chkNoChip->Checked());
        // the card field opens when "Ei korttia" is cleared
        Dialog->chkNoChip->SetChecked(false);
        EXPECT_TRUE(Dialog->edtChip1->Enabled());
        Dialog->edtChip1->SetText(QStringLiteral("077777"));
        Dialog->edtChip1Exit(nullptr);
        EXPECT_TRUE(Dialog->chkRentedChip->Checked());
        EXPECT_FALSE(Dialog->chkOwnChip->Enabled());
        // a text that is no card number is no card at all
        Dialog->edtChip1->SetText(QStringLiteral("abc"));
        Dialog->edtChip1Exit(nullptr);
        EXPECT_FALSE(Dialog->chkRentedChip->Checked());
        EXPECT_TRUE(Dialog->imgQuestion->Visible());
        // emptied: "000000" again
        Dialog->edtChip1->SetText(QString());
        Dialog->edtChip1Exit(nullptr);
        EXPECT_EQ(DataModule1->fbQueryCurrResultFD->FieldByName(QStringLiteral("CONTROL_CARD"))->AsString(), "000000");
        // a card of a person when no person is chosen: that person
        Dialog->edtChip1->SetText(QStringLiteral("054321"));
        Dialog->edtChip1Exit(nullptr);
        EXPECT_FALSE(Dialog->chkRentedChip->Checked());
        EXPECT_EQ(DataModule1->fbQueryCurrResultFD->FieldByName(QStringLiteral("PERSON_ID"))->AsLargeInt(), 1002);
        EXPECT_TRUE(Dialog->imgOK->Visible());
        Dialog->cancelClick(nullptr);
    });
    EXPECT_EQ(Runs(), 0);
}
