// The finish dialog's endings: the automatic acceptance of a card registered
// into the forest, "OK", "Maastoon", "Peruuta" and closing.

#include "app/vrkMainForm.h"
#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "devices/vrkFinishDeskHost.h"
#include "devices/vrkReceiptPrinter.h"
#include "devices/vrkResultBoard.h"
#include "platform/database/Fields.h"
#include "platform/ui/DBCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "resources/FinishDeskTexts.h"
#include "components/dbcontrols/TrDBCheckBox.h"
#include "components/dbcontrols/TrDBDateTimePicker.h"
#include "components/dbcontrols/TrDBEdit.h"
#include "components/dbcontrols/TrDBLookupComboBox.h"
#include "components/dbcontrols/TrDBMemo.h"
#include "components/framed/FcDBRGrp.h"
#include "components/framed/FcEdit.h"
#include "components/framed/FcRadChk.h"
#include "components/grid/rDBGrid.h"
#include "results/vrkResultsClass2.h"
#include "results/vrkResultsClass2Util.h"

namespace {

void CommitCurrentResult()
{
    TFbTransaction* t = DataModule1->fbTransactionUpdateDefaultFD;
    if (t->Active())
        t->Commit();
}

void PrintReceipt(int64_t ResultsClassId)
{
    if (receiptPrinter)
        receiptPrinter->printBadge(ResultsClassId);
}

// Shows a failed person update and goes on.
void Report(const QString& Lead, const QString& Message, bool Blank)
{
    if (!Message.isEmpty())
        ErrorBox(Lead + (Blank ? QStringLiteral(" ") : QString()) + Message);
}

QString Flag(bool Checked)
{
    return Checked ? QStringLiteral("K") : QStringLiteral("E");
}

}  // namespace

void TformResultsClass2::AutomaticAcceptance()
{
    bWasInForest = false;
    const bool receipt = chkPrintReceipt->Checked();
    // (a read accepted with its storing is committed already)
    if (!FAcceptedWithRead) {
        EditRun();
        RunFieldObj(QStringLiteral("RESULT_STATUS"))->SetAsString(QStringLiteral("V"));
        DataModule1->fbQueryCurrResultFD->Post();
    }
    FAcceptedWithRead = false;
    CommitCurrentResult();
    // (the window closes at once, so it is not loaded again: at the board
    // every millisecond here keeps the runner waiting for the result)
    {
        TDataModule1::TReadsTogether together;
        if (BoardShown() && formResultBoard) {
            formResultBoard->ShowResultData(iResultsClassId);
            FBoardShowsRun = true;
        }
        if (bNewResult && receipt && ReceiptAllowed())
            PrintReceipt(iResultsClassId);
    }
    bNewResult = false;
    CloseDialog();
}

bool TformResultsClass2::ListDroppedDown()
{
    // The flag goes with this one closing, so OK after F5 alone is lost only once.
    if (edtPerson && (bPersonDroppedDown || edtPerson->ListVisible())) {
        edtPerson->CloseUp(true);
        bPersonDroppedDown = false;
        return true;
    }
    if (bClassDroppedDown || edtClassCourse->ListVisible()) {
        edtClassCourse->CloseUp(true);
        bClassDroppedDown = false;
        return true;
    }
    if (bAddClassDroppedDown || edtAdditionalClass->ListVisible()) {
        edtAdditionalClass->CloseUp(true);
        bAddClassDroppedDown = false;
        return true;
    }
    return false;
}

void TformResultsClass2::PersonChanges(bool ForestForms, bool LookAtNoChip)
{
    const int64_t id = RunPersonId();
    if (id == 0)
        return;
    QString message;
    if ((!LookAtNoChip || FOlder || !chkNoChip->Checked()) && bOwnChipChanged && chkOwnChip->Enabled()) {
        DataModule1->updatePersonChip(id, edtChip1->Text(), Flag(chkOwnChip->Checked()), message);
        Report(fdtxt::OwnChipError, message, !ForestForms);
    }
    if (bReceiptPrintChanged) {
        DataModule1->updatePersonReceiptPrint(id, Flag(chkPrintReceipt->Checked()), message);
        Report(fdtxt::ReceiptFlagError, message, !ForestForms);
    }
    if (bPhoneNumberChanged) {
        DataModule1->updatePersonPhoneNumber(id, edtPhoneNumber->Text(), message);
        Report(fdtxt::PhoneError, message, true);
    }
    if (bWebShowChanged) {
        DataModule1->updatePersonWebShow(id, Flag(chkWebShow->Checked()), edtWebShowAsked->Text(), message);
        Report(fdtxt::WebShowError, message, true);
    }
}

void TformResultsClass2::SaveClassCourseRow()
{
    TFbQuery* rows = DataModule1->fbQuerySelectClassCourseFD;
    if (!rows->Active() || rows->IsEmpty())
        return;
    if (RowField(QStringLiteral("TIMES_CHANGED"))->AsString() == QLatin1String("K"))
        EditClassCourse();
    if (rows->State() != dsEdit)
        return;
    EditRun();
    RunFieldObj(QStringLiteral("STATUS"))->SetAsString(QString::number(RowField(QStringLiteral("STATUS"))->AsString().trimmed().toInt()));
    RunFieldObj(QStringLiteral("RESULT_NOTES"))->SetAsString(QStringLiteral("X"));
    rows->Post();
}

void TformResultsClass2::btnOKClick(TComponent*)
{
    if (ListDroppedDown())
        return;
    const bool loadedInForest =
        resultsClass->result_status() == QLatin1String("I") || resultsClass->result_status() == QLatin1String("M");
    // 2. the person
    if (RunPersonId() == 0) {
        if (loadedInForest) {
            ErrorBox(fdtxt::NoPersonForest);
            if (edtSearchPersons->CanFocus())
                edtSearchPersons->SetFocus();
            return;
        }
        if (MessageBox(fdtxt::NoPersonAsk, Title(), MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
            if (edtSearchPersons->CanFocus())
                edtSearchPersons->SetFocus();
            return;
        }
    }
    // 3. and 4. the times against the status
    TFbQuery* rows = DataModule1->fbQuerySelectClassCourseFD;
    const bool timesMissing = rows->IsEmpty() || RowField(QStringLiteral("START_TIME"))->IsNull()
                              || RowField(QStringLiteral("FINISH_TIME"))->IsNull()
                              || ZeroTime(PickerTime(dtpStart), false) || ZeroTime(PickerTime(dtpFinish), false);
    if (timesMissing && fcdbrdgrpSTATUS->Value() == QLatin1String("0")) {
        ErrorBox(fdtxt::StatusOkNoTime);
        return;
    }
    if (fcdbrdgrpSTATUS->Value() == QLatin1String("5") && !ZeroTime(edtTime->Text(), false)
        && MessageBox(fdtxt::NoTimeAsk, Title(), MB_YESNO | MB_ICONERROR) != IDYES)
        return;
    // 5. and 6. the person's changes and the receipt
    PersonChanges(false, true);
    bPrintReceipt = chkPrintReceipt->Checked();
    // 7. to 9. the class-course row and the run
    SaveClassCourseRow();
    TFbQuery* run = DataModule1->fbQueryCurrResultFD;
    if (RunField(QStringLiteral("RESULT_STATUS")) == QLatin1String("T"))
        EditRun();
    if (run->State() == dsEdit || bNewResult) {
        EditRun();
        if (loadedInForest) {
            if (chkNoChip->Checked() && !FOlder)
                RunFieldObj(QStringLiteral("CONTROL_CARD"))->SetAsString(QStringLiteral("99999999"));
            bPrintReceipt = false;
        }
        if (FOlder) {
            // the older dialog accepts with a person or without, and leaves a
            // run from the forest with its loaded status
            if (!loadedInForest)
                RunFieldObj(QStringLiteral("RESULT_STATUS"))->SetAsString(QStringLiteral("V"));
        } else
            RunFieldObj(QStringLiteral("RESULT_STATUS"))
                ->SetAsString(RunPersonId() != 0 ? QStringLiteral("V") : QStringLiteral("L"));
        run->Post();
        CommitCurrentResult();
        ShowData();
    }
    // 10. and 11.
    if (bNewResult && bPrintReceipt && ReceiptAllowed())
        PrintReceipt(iResultsClassId);
    bNewResult = false;
    btnCancel->SetVisible(true);
    if (formMain && !FOlder)
        formMain->vc_last_result_action = QStringLiteral("MAALI_TULOS");
    if (Modal())
        SetModalResult(mrOk);
    else
        Close();
}

void TformResultsClass2::btnToForestClick(TComponent*)
{
    if (ListDroppedDown())
        return;
    if (RunPersonId() == 0) {
        ErrorBox(fdtxt::NoPersonForest);
        return;
    }
    PersonChanges(true, false);
    TFbQuery* rows = DataModule1->fbQuerySelectClassCourseFD;
    if (rows->Active() && rows->State() == dsEdit) {
        EditRun();
        RunFieldObj(QStringLiteral("STATUS"))->SetAsString(QString::number(RowField(QStringLiteral("STATUS"))->AsString().trimmed().toInt()));
        RunFieldObj(QStringLiteral("RESULT_NOTES"))->SetAsString(QStringLiteral("X"));
        rows->Post();
    }
    TFbQuery* run = DataModule1->fbQueryCurrResultFD;
    if (run->State() == dsEdit || bNewResult) {
        const bool wasEditing = run->State() == dsEdit;
        EditRun();
        RunFieldObj(QStringLiteral("RESULT_STATUS"))->SetAsString(QStringLiteral("M"));
        RunFieldObj(QStringLiteral("FIRST_RESULT_STATUS"))->SetAsString(QStringLiteral("M"));
        run->Post();
        if (wasEditing) {
            CommitCurrentResult();
            ShowData();
        }
    }
    bNewResult = false;
    if (formMain && !FOlder)
        formMain->vc_last_result_action = QStringLiteral("MAALI_MAASTOON");
    if (Modal())
        SetModalResult(mrOk);
    else
        Close();
}

void TformResultsClass2::cancelClick(TComponent*)
{
    TFbTransaction* t = DataModule1->fbTransactionUpdateDefaultFD;
    for (TFbQuery* q : {DataModule1->fbQueryCurrResultFD, DataModule1->fbQuerySelectClassCourseFD})
        if (q->Active() && (q->State() == dsEdit || q->State() == dsInsert))
            q->Cancel();
    if (t->Active())
        t->Rollback();
    Close();
}

void TformResultsClass2::FormCloseQuery(TComponent*, bool& CanClose)
{
    CanClose = btnCancel->Visible();
}

void TformResultsClass2::FormClose(TComponent*, TCloseAction&)
{
    for (TFbQuery* q : {DataModule1->fbQueryCurrResultFD, DataModule1->fbQuerySelectClassCourseFD}) {
        if (q->Active() && (q->State() == dsEdit || q->State() == dsInsert))
            q->Cancel();
        q->Close();
    }
    DataModule1->fbQueryLookupPersonFD->Close();
    DataModule1->fbQuerySelectAdditionalClassFD->Close();
    DataModule1->fbQueryPunchesFD->Close();
    edtTime->SetText(QString());
    CommitCurrentResult();
    bool deleted = false;
    if (bNewResult && vcWasInForest == QLatin1String("K")) {
        // The database stored the read into the card's registration: deleting
        // "the new run" would delete the registration itself, so it stays.
        bNewResult = false;
    } else if (bNewResult) {
        DataModule1->deleteResultsClass(iResultsClassId);
        bNewResult = false;
        deleted = true;
    } else if (iResultsClassId != 0 && finishDeskHost) {
        finishDeskHost->refreshMainGrid(iResultsClassId);
    }
    // A deleted read has nothing to show: the box keeps the last run handled.
    if (!deleted && iResultsClassId != 0 && finishDeskHost && !FOlder) {
        TDataModule1::TResultBoardData d;
        // The board has just read the same run's data.
        if (FBoardShowsRun && formResultBoard && formResultBoard->nlastResultsClass_id == iResultsClassId)
            d = formResultBoard->ShownData();
        else
            DataModule1->getResultBoardData(iResultsClassId, d);
        finishDeskHost->ShowLastResult(d.sarja, d.personName, d.clubName, d.timeStr, d.status);
    }
    FBoardShowsRun = false;
    if (finishDeskHost)
        finishDeskHost->ActivateMainGrid();
}
