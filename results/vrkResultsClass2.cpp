// TformResultsClass2: the window, opening a card read (or a run) and loading
// the run into the window.

#include "results/vrkResultsClass2.h"
#include "components/grid/TrDBAction.h"

#include "app/vrkDoMessage.h"
#include "app/vrkMainForm.h"
#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "devices/vrkEmitReader.h"
#include "devices/vrkFinishDeskHost.h"
#include "devices/vrkResultBoard.h"
#include "platform/database/Fields.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/DBCtrls.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ExtCtrls.h"
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
#include "results/vrkResultsClass2Util.h"

#include <QTimer>

TformResultsClass2* formResultsClass2 = nullptr;
bool bCancelOpen = false;
bool bWasInForest = false;
bool bClassChanged = false;
bool bClassDroppedDown = false;
bool bPersonDroppedDown = false;
bool bAddClassDroppedDown = false;
bool bPrintReceipt = false;

TformResultsClass2::TformResultsClass2(TComponent* AOwner) : TformResultsClass2(AOwner, false) {}

TformResultsClass2::TformResultsClass2(TComponent* AOwner, bool Older)
    : TForm(AOwner), FOlder(Older), FPostGuard(std::make_unique<QObject>())
{
    SetName(Older ? QStringLiteral("formResultsClass") : QStringLiteral("formResultsClass2"));
    SetCaption(fdtxt::FinishCaption);
    SetBorderStyle(bsDialog);
    SetBounds(0, 0, 1015, 718);
    SetKeyPreview(true);
    BuildLayout();
    OnShow = [this](TComponent* S) { FormShow(S); };
    OnActivate = [this](TComponent* S) { FormActivate(S); };
    OnCloseQuery = [this](TComponent* S, bool& C) { FormCloseQuery(S, C); };
    OnClose = [this](TComponent* S, TCloseAction& A) { FormClose(S, A); };
}

TformResultsClass2::~TformResultsClass2()
{
    if (formResultsClass2 == this)
        formResultsClass2 = nullptr;
}

// ---------------------------------------------------------------------------
// Opening

bool TformResultsClass2::ProcessChipString(QString& WasInForest, QString& CourseFlag)
{
    THourGlassCursor hourGlass;
    int64_t id = 0;
    QString message;
    DataModule1->insertResultsClass(vcChipString, QStringLiteral("E"), QString(), QString(), id, WasInForest, message,
                                    CourseFlag);
    iResultsClassId = id;
    if (WasInForest.isEmpty())
        WasInForest = QStringLiteral("E");
    if (!message.isEmpty()) {
        ErrorBox(fdtxt::ChipProcessingError + message);
        return false;
    }
    return true;
}

void TformResultsClass2::ResetState()
{
    FBoardShowsRun = false;
    FAcceptedWithRead = false;
    edtClassCourse->SetEnabled(true);
    bNewResult = false;
    bCancelOpen = false;
    bWasInForest = false;
    bOwnChipChanged = bReceiptPrintChanged = bPhoneNumberChanged = bWebShowChanged = false;
    btnToForest->SetEnabled(true);
    for (TImage* i : {imgOK, imgQuestion, imgExlamation, imgOKC, imgQuestionC, imgExlamationC})
        i->Hide();
    vcCourseFlag = QStringLiteral("?");
    vcWasInForest = QStringLiteral("E");
    FLoading = true;
    edtSearchPersons->SetText(QString());
    FLoading = false;
    iLastSelectedPerson = 0;
    DataModule1->fbQueryLookupPersonFD->SetFiltered(false);
    bChipManuallyEntered = false;
    bChipRead = false;
    vcPrevControlCard.clear();
    SetCaption(fdtxt::FinishCaption);
}

void TformResultsClass2::FormShow(TComponent*)
{
    const TDateTime opened = Now();
    if (formMain)
        SetBounds(formMain->Left() + (formMain->Width() - Width()) / 2,
                  formMain->Top() + (formMain->Height() - Height()) / 2, Width(), Height());
    ResetState();
    if (!vcChipString.isEmpty()) {
        bChipRead = true;
        if (mmoChipString->Visible()) {
            mmoChipString->SetText(QStringLiteral("[") + TimeToStr(opened) + QStringLiteral("] ") + vcChipString);
        }
        OpenCardRead();
    } else if (iResultsClassId == 0) {
        OpenNewByHand();
    } else {
        OpenExisting();
    }
    if (BoardShown() && formResultBoard)
        formResultBoard->HideReadPanel();
    if (formMain && resultsClass)
        formMain->vc_last_read_chip = resultsClass->control_card();
    const bool registered = vcWasInForest == QLatin1String("K");
    btnToForest->SetVisible(bNewResult && !registered);
    btnCancel->SetVisible(!(registered && !bWasInForest));
    const bool noPunches = resultsClass->result_status() == QLatin1String("I")
                           || resultsClass->result_status() == QLatin1String("M")
                           || RunField(QStringLiteral("CONTROL_CARD")) == QLatin1String("000000")
                           || RunField(QStringLiteral("CONTROL_CARD")) == QLatin1String("99999999");
    actValidatePunches->SetEnabled(!noPunches);
    btnValidate->SetEnabled(!noPunches);
    rdbgrdPunches->SetVisible(!noPunches || FOlder);
    RecheckMarkedRun();
    if (!bCancelOpen && !bWasInForest) {
        TWinControl* focus = FOlder ? static_cast<TWinControl*>(edtPerson) : edtSearchPersons;
        if (focus->CanFocus())
            focus->SetFocus();
        bClassDroppedDown = false;
        bPersonDroppedDown = false;
        const int64_t personId = RunPersonId();
        imgOK->SetVisible(personId != 0);
        imgQuestion->SetVisible(personId == 0);
        actPersonEdit->SetEnabled(personId != 0 && (FOlder || personId != -999));
        ShowCoursePicture();
    }
    // The activation duties (closing at once, accepting) must not wait for
    // the window manager: a dialog shown next to the result board is not run
    // modally, and a window that still counts as active from its last
    // showing is not activated again.
    FActivationPending = true;
    QTimer::singleShot(0, FPostGuard.get(), [this] {
        if (FActivationPending && Visible())
            FormActivate(this);
    });
}

void TformResultsClass2::OpenCardRead()
{
    TDataModule1::TStoredRead read;
    const bool board = BoardShown();
    {
        THourGlassCursor hourGlass;
        // A read the desk accepts by itself is accepted with its storing
        // (one commit per read instead of two).
        DataModule1->storeCardRead(vcChipString, read, [&](const TDataModule1::TStoredRead& r) {
            return r.wasInForest == QLatin1String("K") && AcceptedWithoutOperator(board);
        });
    }
    FAcceptedWithRead = read.accepted;
    iResultsClassId = read.resultsClassId;
    vcWasInForest = read.wasInForest.isEmpty() ? QStringLiteral("E") : read.wasInForest;
    vcCourseFlag = read.flag;
    if (!read.message.isEmpty()) {
        ErrorBox(fdtxt::ChipProcessingError + read.message);
        bCancelOpen = true;  // nothing was stored, so nothing is pending
        resultsClass->selectDB(0);
        return;
    }
    if (!read.runLoaded)
        resultsClass->selectDB(iResultsClassId);
    if (vcWasInForest != QLatin1String("K")) {
        const bool lastCard = formMain && formMain->vc_last_read_chip == resultsClass->control_card();
        // A card read again after other cards is the same card read again too.
        const int64_t earlier = lastCard ? 0 : EarlierReadOfCard();
        const bool same = lastCard || earlier != 0;
        if (board) {
            if (formResultBoard) {
                if (same)
                    formResultBoard->ShowSameChip(earlier);
                else
                    formResultBoard->ShowNotInForest();
            }
            bCancelOpen = true;
        } else if (same
                   && MessageBox(fdtxt::SameChipAsk, Title(), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDNO) {
            bCancelOpen = true;
        }
    } else {
        if (!read.checkMessage.isEmpty())
            ErrorBox(fdtxt::RecheckError + QLatin1Char(' ') + read.checkMessage);
        if (AcceptedWithoutOperator(board))
            bWasInForest = true;
        else {
            SetCaption(fdtxt::FinishCaptionForest);
            if (resultsClass->status() != QLatin1String("0"))
                vcCourseFlag = QStringLiteral("H");
        }
    }
    bNewResult = true;
    ShowData();
}

bool TformResultsClass2::AcceptedWithoutOperator(bool Board) const
{
    // A clean run on the card's own chip is accepted at once; beside the
    // board every run of a registered card is (the older dialog has no board
    // rule).
    const bool clean = resultsClass->status() == QLatin1String("0");
    const bool ownChip = resultsClass->rented_chip() != QLatin1String("K");
    return (clean && ownChip) || (Board && !FOlder);
}

int64_t TformResultsClass2::EarlierReadOfCard() const
{
    if (vcChipString.isEmpty())
        return 0;
    for (const TDataModule1::TCardRead& read : DataModule1->getOtherReadsOfCard(iResultsClassId))
        if (SameCardContent(read.chipString, vcChipString))
            return read.resultsClassId;
    return 0;
}

void TformResultsClass2::OpenNewByHand()
{
    QString flag;
    if (!ProcessChipString(vcWasInForest, flag)) {
        bCancelOpen = true;
        resultsClass->selectDB(0);
        return;
    }
    vcCourseFlag = flag;
    resultsClass->selectDB(iResultsClassId);
    bNewResult = true;
    bChipRead = false;
    if (FOlder)
        btnToForest->SetEnabled(false);
    ShowData();
}

void TformResultsClass2::OpenExisting()
{
    resultsClass->selectDB(iResultsClassId);
    bChipRead = true;
    ShowData();
    vcCourseFlag = resultsClass->status() != QLatin1String("0") ? QStringLiteral("H") : QStringLiteral("O");
}

void TformResultsClass2::RecheckMarkedRun()
{
    bClassChanged = false;
    if (RunField(QStringLiteral("RESULT_STATUS")) != QLatin1String("T"))
        return;
    int64_t cc = 0;
    QString className, message;
    DataModule1->validatePunches(iResultsClassId, cc, className, message);
    // The run is read again after the check: the check gives it fresh times
    // and decides on its own proposal (the one stored on the run before it
    // may be out of date), so the proposal offered is the check's answer.
    ShowData();
    if (!message.isEmpty())
        ErrorBox(fdtxt::RecheckError + QLatin1Char(' ') + message);
    if (cc != 0 && cc != RunField(QStringLiteral("CLASS_COURSE_ID")).toLongLong()) {
        FProposedClassCourse = cc;
        FProposedClassName = className;
        bClassChanged = true;
    }
}

void TformResultsClass2::ShowCoursePicture()
{
    imgQuestionC->SetVisible(vcCourseFlag == QLatin1String("?"));
    imgOKC->SetVisible(vcCourseFlag == QLatin1String("O"));
    imgExlamationC->SetVisible(vcCourseFlag == QLatin1String("H"));
}

void TformResultsClass2::FormActivate(TComponent*)
{
    FActivationPending = false;
    if (bWasInForest) {
        AutomaticAcceptance();
        return;
    }
    if (bCancelOpen) {
        bCancelOpen = false;
        CloseDialog();
        return;
    }
    if (bClassChanged) {
        bClassChanged = false;
        if (MessageBox(fdtxt::ClassChangedAsk + QLatin1Char(' ') + FProposedClassName, Title(),
                       MB_YESNO | MB_ICONQUESTION) == IDYES) {
            EditRun();
            RunFieldObj(QStringLiteral("CLASS_COURSE_ID"))->SetAsLargeInt(FProposedClassCourse);
            edtClassCourse->SetKeyValue(QVariant::fromValue<qlonglong>(FProposedClassCourse));
            haeSarja(FProposedClassCourse);
        }
    }
}

void TformResultsClass2::CloseDialog()
{
    if (Modal())
        SetModalResult(mrCancel);
    else
        Close();
}

// ---------------------------------------------------------------------------
// Loading the run

void TformResultsClass2::OpenClassCourses()
{
    TFbQuery* q = DataModule1->fbQuerySelectClassCourseFD;
    q->Close();
    q->ParamByName(QStringLiteral("RESULTS_CLASS_ID")).SetAsLargeInt(iResultsClassId);
    q->ParamByName(QStringLiteral("MESSAGE_LANGUAGE")).SetAsString(DataModule1->LanguageCode());
    q->Open();
}

void TformResultsClass2::ShowData()
{
    FLoading = true;
    // A run accepted at once beside the board closes before anyone could
    // pick a person, a course or an additional class: the series' person
    // list and the run's course and punch rows are not read for it, and one
    // accepted with its storing is only looked at.
    const bool closesAtOnce = bWasInForest && BoardShown();
    DataModule1->OpenCurrentResult(iResultsClassId, closesAtOnce && FAcceptedWithRead);
    if (rDBAction)
        rDBAction->SetActiveGrid(rdbgrdCurrResult);

    TFbQuery* persons = DataModule1->fbQueryLookupPersonFD;
    if (!closesAtOnce)
        OpenPersons();
    const int64_t personId = RunPersonId();
    if (persons->Active())
        persons->Locate(QStringLiteral("PERSON_ID"), QVariant::fromValue<qlonglong>(personId));
    if (edtPerson)
        edtPerson->SetKeyValue(QVariant::fromValue<qlonglong>(personId));
    haeHenkilo(personId);

    if (!closesAtOnce)
        OpenClassCourses();
    const int64_t cc = RunField(QStringLiteral("CLASS_COURSE_ID")).toLongLong();
    edtClassCourse->SetKeyValue(QVariant::fromValue<qlonglong>(cc));
    haeSarja(cc);

    if (!closesAtOnce)
        OpenAdditionalClasses(cc);
    edtAdditionalClass->SetKeyValue(RunFieldObj(QStringLiteral("ADDITIONAL_CLASS_ID"))->AsVariant());

    for (TControl* c : std::initializer_list<TControl*>{edtChip1, chkRentedChip, chkNoChip}) {
        c->SetVisible(true);
        c->SetEnabled(true);
    }
    FNoChipReadOnly = false;
    chkNoChip->SetChecked(false);
    fcdbrdgrpSTATUS->SetEnabled(true);
    dtpStart->SetReadOnly(false);
    dtpFinish->SetReadOnly(false);
    const QString card = RunField(QStringLiteral("CONTROL_CARD"));
    if (FOlder) {
        // no card box here: a run without a card has no card controls and
        // its status and times are not edited
        const bool cardless = card == QLatin1String("000000");
        chkNoChip->Hide();
        edtChip1->SetVisible(!cardless);
        chkRentedChip->SetVisible(!cardless);
        fcdbrdgrpSTATUS->SetEnabled(!cardless);
        dtpStart->SetReadOnly(cardless);
        dtpFinish->SetReadOnly(cardless);
        const bool rentedRun = RunField(QStringLiteral("RENTED_CHIP")) == QLatin1String("K");
        chkRentedChip->Font()->SetColor(rentedRun ? clRed : clWindowText);
        lblLainakortti->SetCaption(fdtxt::RentedChip);
        lblLainakortti->SetVisible(rentedRun);
    } else if (card == QLatin1String("000000") || card == QLatin1String("99999999")) {
        chkNoChip->SetChecked(true);
        edtChip1->SetEnabled(false);
        chkRentedChip->SetEnabled(false);
        FNoChipReadOnly = card == QLatin1String("99999999");
    } else {
        edtChip1->SetEnabled(false);
        chkRentedChip->SetEnabled(false);
        chkNoChip->SetEnabled(false);
    }
    if (!FOlder)
        chkRentedChip->Font()->SetColor(clWindowText);
    if (!FOlder && RunField(QStringLiteral("RENTED_CHIP")) == QLatin1String("K")) {
        chkRentedChip->Font()->SetColor(clRed);
        lblLainakortti->SetCaption(person->infotext().isEmpty()
                                       ? fdtxt::RentedChip
                                       : fdtxt::RentedChip + QLatin1Char(',') + person->infotext());
    }
    TFbQuery* rows = DataModule1->fbQuerySelectClassCourseFD;
    const bool noTimes = rows->IsEmpty() || rows->FieldByName(QStringLiteral("START_TIME"))->IsNull()
                         || rows->FieldByName(QStringLiteral("FINISH_TIME"))->IsNull();
    dtpPenalty->SetReadOnly(noTimes);
    if (fcdbrdgrpSTATUS->Value() != QLatin1String("0")) {
        TFbQuery* punches = DataModule1->fbQueryPunchesFD;
        if (punches->Active())
            punches->Locate(QStringLiteral("ERROR_CONTROL"), QStringLiteral("K"));
    }
    FLoading = false;
}

void TformResultsClass2::OpenPersons()
{
    TFbQuery* q = DataModule1->fbQueryLookupPersonFD;
    q->Close();
    q->ParamByName(QStringLiteral("EVENT_SERIES_ID")).SetAsLargeInt(formMain ? formMain->nCurrentProcessedEventS : 0);
    // (the older dialog lists the series' persons only, no card register)
    q->ParamByName(QStringLiteral("CONTROL_CARD")).SetAsString(FOlder ? QString() : RunField(QStringLiteral("CONTROL_CARD")));
    q->Open();
}

void TformResultsClass2::OpenAdditionalClasses(int64_t ClassCourseId)
{
    TFbQuery* q = DataModule1->fbQuerySelectAdditionalClassFD;
    q->Close();
    q->ParamByName(QStringLiteral("CLASS_COURSE_ID")).SetAsLargeInt(ClassCourseId);
    q->Open();
}

// ---------------------------------------------------------------------------
// The run's fields

TField* TformResultsClass2::RunFieldObj(const QString& Name) const
{
    return DataModule1->fbQueryCurrResultFD->FieldByName(Name);
}

QString TformResultsClass2::RunField(const QString& Name) const
{
    TFbQuery* run = DataModule1->fbQueryCurrResultFD;
    if (!run->Active() || run->IsEmpty())
        return QString();
    return run->FieldByName(Name)->AsString();
}

int64_t TformResultsClass2::RunPersonId() const
{
    TFbQuery* run = DataModule1->fbQueryCurrResultFD;
    if (!run->Active() || run->IsEmpty())
        return 0;
    return run->FieldByName(QStringLiteral("PERSON_ID"))->AsLargeInt();
}

bool TformResultsClass2::BoardShown() const
{
    return !FOlder && formMain && formMain->bResultBoardVisible;
}

bool TformResultsClass2::ReceiptAllowed() const
{
    return !FOlder || edtChip1->Visible();
}

void TformResultsClass2::EditRun()
{
    TFbQuery* run = DataModule1->fbQueryCurrResultFD;
    if (run->State() != dsEdit && run->State() != dsInsert)
        run->Edit();
}

void TformResultsClass2::EditClassCourse()
{
    TFbQuery* rows = DataModule1->fbQuerySelectClassCourseFD;
    if (rows->State() != dsEdit && rows->State() != dsInsert)
        rows->Edit();
}
