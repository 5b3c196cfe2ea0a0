// The check-in window's layout and the handlers that hand the operator's
// actions to its run logic.

#include "results/vrkResultsClassForest.h"
#include "results/StartDeskLayout.h"

#include "app/vrkMainForm.h"
#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "devices/vrkFinishDeskHost.h"
#include "platform/ui/DBCtrls.h"
#include "components/framed/FcEdit.h"
#include "components/framed/FcLabel.h"
#include "components/framed/FcRadChk.h"
#include "components/framed/FcRadGrp.h"
#include "components/grid/TrDBAction.h"
#include "platform/rtl/DateUtils.h"
#include "components/grid/TPropSaveFile.h"
#include "components/grid/TrDBGridsPropSave.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/StdCtrls.h"
#include "resources/StartDeskTexts.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ExtCtrls.h"
#include "results/CaptionBox.h"
#include "results/DialogPictures.h"
#include "results/DropDownOnTyping.h"
#include "results/vrkPerson.h"
#include "results/vrkSaldoMaksu.h"

#include <QTimer>

using namespace startdesk;

namespace st = txt::startdesk;

TformResultsClassForest* formResultsClassForest = nullptr;

void OpenCheckInDialog(const QString& ChipString, int64_t ResultsClassId)
{
    TformResultsClassForest& w = *formResultsClassForest;
    TResultsClassForestRun& run = w.Run();
    run.vcChipString = ChipString;
    run.iResultsClassId = ResultsClassId;
    // The main window shows the run in its grid and as the last one handled.
    run.OnRunClosed = [](int64_t Id) {
        formMain->refreshMainGrid();
        DataModule1->fbQueryResultsCFD->Locate(QStringLiteral("RESULTS_CLASS_ID"), QVariant::fromValue<qlonglong>(Id));
        if (finishDeskHost) {
            TDataModule1::TResultBoardData b;
            DataModule1->getResultBoardData(Id, b);
            finishDeskHost->ShowLastResult(b.sarja, b.personName, b.clubName, b.timeStr, st::StatusForest);
        }
    };
    if (w.Opening())
        w.ShowModal();
    else
        run.Close();
    // However the window closed, the grid actions act on the main grid again.
    if (rDBAction && formMain && formMain->rdbgrdResultsClass)
        rDBAction->SetActiveGrid(formMain->rdbgrdResultsClass);
}

namespace {

// The window's own check boxes: framed, left out of the Tab order (the
// operator's keys are the function keys), their text on the line of the
// edits beside them (the framed box draws it higher than the platform's).
TFcCheckBox* MakeCardBox(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, const QString& Name)
{
    auto* b = Make<TFcCheckBox>(Owner, Parent, X, Y + 3, W, 20, Name);
    b->SetTabStop(false);
    return b;
}

constexpr TColor kChosenRow = RGB(144, 238, 144);

TLabel* MakeLabel(TComponent* owner, TWinControl* parent, int x, int y, int w, const QString& caption)
{
    auto* l = Make<TLabel>(owner, parent, x, y, w, 16, QString());
    l->SetCaption(caption);
    return l;
}

}  // namespace

TformResultsClassForest::TformResultsClassForest(TComponent* AOwner) : TForm(AOwner), FFocusGuard(std::make_unique<QObject>())
{
    SetName(QStringLiteral("formResultsClassForest"));
    SetCaption(st::CheckInCaption);
    SetBorderStyle(bsDialog);
    BuildLayout();
    // The opening chose where the operator starts; the window is on screen now.
    OnShow = [this](TComponent*) { ApplyFocus(); };
}

void TformResultsClassForest::ApplyFocus()
{
    if (FRun.Focus == TResultsClassForestRun::TFocus::None)
        return;
    // Never inside the handler of the control losing the focus (leaving the
    // card field): the focus moves once that change is done; a window not on
    // screen yet keeps the wish for its showing.
    QTimer::singleShot(0, FFocusGuard.get(), [this] {
        using TFocus = TResultsClassForestRun::TFocus;
        if (!Visible())
            return;
        const TFocus to = std::exchange(FRun.Focus, TFocus::None);
        switch (to) {
        case TFocus::PersonSearch: edtSearchPersons->SetFocus(); break;
        case TFocus::Card:
            if (edtChip1->Visible())
                edtChip1->SetFocus();
            break;
        case TFocus::Course: edtClassCourse->SetFocus(); break;
        case TFocus::CourseList:
            edtClassCourse->SetFocus();
            edtClassCourse->DropDown();
            break;
        case TFocus::Price:
            if (grpPayment->Visible()) {
                edtPaymentPrice->SetFocus();
                edtPaymentPrice->SelectAll();
            }
            break;
        case TFocus::None: break;
        }
    });
}

void TformResultsClassForest::BuildStatusStrip()
{
    imgMenu1Question = StatusPicture(this, this, 12, 3, RGB(40, 100, 200), L("?"));
    imgMenu1OK = StatusPicture(this, this, 12, 3, RGB(0, 160, 0), QStringLiteral("✓"));
    imgMenu1Exlamation = StatusPicture(this, this, 12, 3, RGB(230, 140, 0), L("!"));
    imgMenu2 = StatusPicture(this, this, 520, 3, RGB(128, 128, 128), QStringLiteral("»"));
    imgMenu2Question = StatusPicture(this, this, 546, 3, RGB(40, 100, 200), L("?"));
    imgMenu2OK = StatusPicture(this, this, 546, 3, RGB(0, 160, 0), QStringLiteral("✓"));
    const std::pair<TImage*, const char*> names[] = {{imgMenu1Question, "imgMenu1Question"}, {imgMenu1OK, "imgMenu1OK"},
                                                     {imgMenu1Exlamation, "imgMenu1Exlamation"}, {imgMenu2, "imgMenu2"},
                                                     {imgMenu2Question, "imgMenu2Question"}, {imgMenu2OK, "imgMenu2OK"}};
    for (auto [img, name] : names)
        img->SetName(L(name));
    lblMenu1 = MakeLabel(this, this, 40, 6, 470, QString());
    lblMenu2 = MakeLabel(this, this, 574, 6, 440, QString());
    for (TLabel* l : {lblMenu1, lblMenu2})
        l->SetAutoSize(true);
    lblMenu1->SetName(L("lblMenu1"));
    lblMenu2->SetName(L("lblMenu2"));
    for (TLabel* l : {lblMenu1, lblMenu2})
        l->Font()->SetStyle(fsBold);
}

// Each step shows its label and the one picture its state names; a step
// without a state shows nothing.
void TformResultsClassForest::SyncStatusStrip()
{
    const QString& s1 = FRun.Menu1State;
    const QString& s2 = FRun.Menu2State;
    imgMenu1Question->SetVisible(s1 == L("MENU1_QUESTION"));
    imgMenu1OK->SetVisible(s1 == L("MENU1_OK"));
    imgMenu1Exlamation->SetVisible(s1 == L("MENU1_EXLAMATION"));
    lblMenu1->SetVisible(!s1.isEmpty());
    lblMenu1->SetCaption(FRun.Menu1Text);
    lblMenu1->Font()->SetColor(s1 == L("MENU1_OK") ? clHighlight : clRed);
    imgMenu2->SetVisible(!s2.isEmpty());
    imgMenu2Question->SetVisible(s2 == L("MENU2_QUESTION"));
    imgMenu2OK->SetVisible(s2 == L("MENU2_OK"));
    lblMenu2->SetVisible(!s2.isEmpty());
    lblMenu2->SetCaption(FRun.Menu2Text);
    lblMenu2->Font()->SetColor(s2 == L("MENU2_OK") ? clHighlight : clRed);
    // Step 2 follows step 1 on the narrow window and stands over the right
    // column on the wide one.
    const int after1 = lblMenu1->Visible() ? lblMenu1->Left() + lblMenu1->Width() + 16 : 12;
    const int x2 = Width() > 600 ? std::max(after1, 520) : after1;
    imgMenu2->SetLeft(x2);
    imgMenu2Question->SetLeft(x2 + 26);
    imgMenu2OK->SetLeft(x2 + 26);
    lblMenu2->SetLeft(x2 + 54);
}

void TformResultsClassForest::BuildLayout()
{
    SetBounds(0, 0, 1021, 656);
    BuildStatusStrip();

    MakeLabel(this, this, 12, 34, 50, L("Kortti"));
    edtChip1 = Make<TEdit>(this, this, 60, 30, 110, 24, L("edtChip1"));
    edtChip1->SetHint(L("Luettu, manuaalisesti syötetty tai valitun ilmoittautumisen kilpailukortti. Luettua korttia ei voi "
                        "muuttaa. \rJos manuaalisesti syötetty tai valittu ilmoittautumisesta, henkilön omaa korttia ei "
                        "käytetä. Tyhjennä kenttä, jos haluat käyttää henkilön omaa korttia."));
    edtChip1->OnEnter = [this](TComponent*) { FRun.EnterCard(); };
    edtChip1->OnExit = [this](TComponent*) {
        FRun.LeaveCard(edtChip1->Text());
        Sync();
    };
    chkRentedChip = Make<TCheckBox>(this, this, 180, 32, 100, 20, L("chkRentedChip"));
    chkRentedChip->SetCaption(L("Lainakortti"));
    chkRentedChip->OnClick = [this](TComponent*) {
        if (!FSyncing) {
            FRun.ClickRentedChip(chkRentedChip->Checked());
            Sync();
        }
    };
    chkNoChip = MakeCardBox(this, this, 284, 32, 100, L("chkNoChip"));
    chkNoChip->SetCaption(L("Ei korttia"));
    chkNoChip->SetHint(L("Kirjataanko maastoon ilman kilpailukorttia?"));
    chkNoChip->OnClick = [this](TComponent*) {
        if (!FSyncing) {
            FRun.SetNoChip(chkNoChip->Checked());
            Sync();
        }
    };
    lblLainakortti = MakeLabel(this, this, 390, 30, 165, QString());
    lblLainakortti->SetName(L("lblLainakortti"));
    lblLainakortti->Font()->SetColor(clRed);
    lblLainakortti->Font()->SetStyle(fsBold);
    lblLainakortti->Font()->SetSize(12);

    BuildPersonGroup();

    BuildCourseGroup();

    // Captioned as the boxes above it, with its choices inside.
    FcRadioGroup1 = MakeCaptionBox(this, this, L("FcRadioGroup1"), L("Tila"), 8, 538, 547, 66);
    FcRadioGroup1->SetHint(L("Valitse kirjataanko maastoon vai suoraan 'Ei aikaa' tai 'Omatoimi' -tulokseksi"));
    FcRadioGroup1->SetColumns(4);
    FcRadioGroup1->SetItems({st::StatusForest, st::StatusNoTime, st::StatusSelf, st::StatusSetter, st::StatusOfficial});
    FcRadioGroup1->OnClick = [this](TComponent*) {
        if (!FSyncing)
            TResultsClassForestRun::Tila = FcRadioGroup1->ItemIndex();
    };

    rdbgrdCurrResult = Make<TrDBGrid>(this, this, 8, 612, 40, 20, L("rdbgrdCurrResult"));
    rdbgrdCurrResult->Hide();

    BuildRightSide();

    btnCancel = Make<TButton>(this, this, 811, 616, 96, 28, L("btnCancel"));
    btnCancel->SetCaption(L("Peruuta"));
    btnCancel->OnClick = [this](TComponent*) {
        FRun.Cancel();
        SaveLayout();
        SetModalResult(mrCancel);
    };
    btnOK = Make<TButton>(this, this, 915, 616, 96, 28, L("btnOK"));
    btnOK->SetCaption(L("OK"));
    // Not the default button: Enter is the window's own key (it chooses in
    // the focused list and only elsewhere accepts).
    btnOK->OnClick = [this](TComponent*) {
        // With the course list open, OK (and Enter) takes its highlighted
        // course and nothing else.
        if (edtClassCourse->ListVisible()) {
            edtClassCourse->CloseUp(true);
            return;
        }
        if (edtAdditionalClass->ListVisible()) {
            edtAdditionalClass->CloseUp(true);
            return;
        }
        if (FRun.Ok()) {
            SaveLayout();
            SetModalResult(mrOk);
        } else {
            Sync();
        }
    };
    SetKeyPreview(true);
    OnKeyDown = [this](TComponent*, Word& Key, TShiftState) { HandleKey(Key); };
    propResultsClassForest = new TPropSaveFile(this);
    propResultsClassForest->SetName(L("propResultsClassForest"));
    propResultsClassForest->SetFileName(L("ResultsClassForest.ini"));
    ReadLayout();
}

void TformResultsClassForest::BuildCourseGroup()
{
    grpCourse = MakeCaptionBox(this, this, L("grpCourse"), L("Rata (F6)"), 8, 438, 547, 96);
    edtClassCourse = Make<TDBLookupComboBox>(this, grpCourse, 10, 22, 527, 24, L("edtClassCourse"));
    edtClassCourse->SetListSource(DataModule1->dsClassCourseFFD);
    edtClassCourse->KeyField = L("CLASS_COURSE_ID");
    edtClassCourse->ListField = L("CLASS_NAME;ACTIVE_CLASS_TXT");
    // Every selection chooses the course: the arrows step through the closed
    // list, the open list chooses as it closes.
    edtClassCourse->OnKeyUp = [this](TComponent*, Word& Key, TShiftState) {
        if (FSyncing || edtClassCourse->ListVisible())
            return;
        if (!ListOwnKey(Key)) {
            DropDownOnTyping(edtClassCourse, Key);
            return;
        }
        const int64_t key = edtClassCourse->KeyValue().toLongLong();
        if (key != FRun.CourseId()) {
            FRun.ChooseCourse(key);
            Sync();
        }
    };
    edtClassCourse->OnCloseUp = [this](TComponent*) {
        if (!FSyncing) {
            FRun.ChooseCourse(edtClassCourse->KeyValue().toLongLong());
            Sync();
        }
    };
    MakeLabel(grpCourse, grpCourse, 10, 60, 70, L("Lisäsarja"));
    edtAdditionalClass = Make<TDBLookupComboBox>(this, grpCourse, 80, 56, 200, 24, L("edtAdditionalClass"));
    edtAdditionalClass->SetListSource(DataModule1->dsAdditionalClassFD);
    edtAdditionalClass->KeyField = L("ADDITIONAL_CLASS_ID");
    edtAdditionalClass->ListField = L("CLASS_NAME");
    edtAdditionalClass->SetHint(L("Valitse tarvittaessa lisäsarja, jossa suoritus on mukana radan sarjan lisäksi."));
    auto chooseExtra = [this] {
        if (FSyncing || edtAdditionalClass->ListVisible())
            return;
        FRun.ChooseAdditionalClass(edtAdditionalClass->KeyValue().toLongLong());
        Sync();
    };
    edtAdditionalClass->OnCloseUp = [chooseExtra](TComponent*) { chooseExtra(); };
    edtAdditionalClass->OnKeyUp = [this, chooseExtra](TComponent*, Word& Key, TShiftState) {
        if (!ListOwnKey(Key))
            DropDownOnTyping(edtAdditionalClass, Key);
        else
            chooseExtra();
    };
    MakeLabel(grpCourse, grpCourse, 290, 60, 70, L("Huomiot"));
    edtADDITIONAL_CLASS_NOTES = Make<TEdit>(this, grpCourse, 352, 56, 185, 24, L("edtADDITIONAL_CLASS_NOTES"));
    edtADDITIONAL_CLASS_NOTES->SetHint(L("Lisäsarjan huomiot"));
    edtADDITIONAL_CLASS_NOTES->OnChange = [this](TComponent*) {
        if (!FSyncing)
            FRun.SetAdditionalNotes(edtADDITIONAL_CLASS_NOTES->Text());
    };
}

void TformResultsClassForest::ReadLayout()
{
    TPropSaveFile designed(nullptr);
    designed.DisableAll = true;  // a scratch copy, never a file
    designed.SetContent(QString());
    TDBGridsPropSave keep(nullptr);
    keep.StoreColumnsProp = true;
    keep.SaveDBGrid(&designed, WebEntriesKey(), rdbgrdWebEntries);
    FDesignedLayout = designed.GetContent();
    propResultsClassForest->LoadFile();
    // Files of earlier versions keep the grid under its bare name.
    propResultsClassForest->MoveSections(rdbgrdWebEntries->Name(), WebEntriesKey());
    TDBGridsPropSave saver(nullptr);
    saver.StoreColumnsProp = true;
    saver.ReadDBGrid(propResultsClassForest, WebEntriesKey(), rdbgrdWebEntries);
}

QString TformResultsClassForest::WebEntriesKey() const
{
    return Name() + QLatin1Char('.') + rdbgrdWebEntries->Name();
}

void TformResultsClassForest::LayoutFileRemoved()
{
    propResultsClassForest->Clear();
    TPropSaveFile designed(nullptr);
    designed.DisableAll = true;
    designed.SetContent(FDesignedLayout);
    TDBGridsPropSave saver(nullptr);
    saver.StoreColumnsProp = true;
    saver.ReadDBGrid(&designed, WebEntriesKey(), rdbgrdWebEntries);
}

void TformResultsClassForest::SaveLayout()
{
    TDBGridsPropSave saver(nullptr);
    saver.StoreColumnsProp = true;
    saver.SaveDBGrid(propResultsClassForest, WebEntriesKey(), rdbgrdWebEntries);
    propResultsClassForest->SaveFileSilent();
}

void TformResultsClassForest::HandleKey(Word& Key)
{
    switch (Key) {
    case VK_RETURN:
        EnterKey();
        break;
    case VK_ESCAPE:
        if (edtClassCourse->ListVisible()) {
            edtClassCourse->CloseUp(false);
            break;
        }
        if (edtAdditionalClass->ListVisible()) {
            edtAdditionalClass->CloseUp(false);
            break;
        }
        EscapeKey();
        if (Key == 0)
            return;
        break;
    case VK_F5:
        edtSearchPersons->SetFocus();
        break;
    case VK_F6:
        edtClassCourse->SetFocus();
        break;
    case VK_F7:
        if (!FRun.bShowWebEntries)
            return;
        edtSearchWebEntries->SetFocus();
        break;
    case VK_F8:
        if (!grpPayment->Visible())
            return;
        rdbgrdPaymentMethods->SetFocus();
        break;
    case VK_F9:
        if (actPersonEdit->Enabled())
            actPersonEdit->Execute();
        break;
    case VK_F10:
        actPersonAdd->Execute();
        break;
    default:
        return;
    }
    Key = 0;
}

// The control the operator works in: the window's active control also while
// the window itself is not the active one.
bool TformResultsClassForest::HasFocus(TWinControl* Control) const
{
    return Control->Focused() || ActiveControl() == Control;
}

// Enter chooses in the list that has the focus; with the chosen person's row
// highlighted, or anywhere else, it accepts the run.
void TformResultsClassForest::EnterKey()
{
    if (HasFocus(rdbgrdWebEntries) || HasFocus(edtSearchWebEntries)) {
        FRun.ToggleWebEntry();
        Sync();
        return;
    }
    if (HasFocus(rdbgrdPaymentMethods)) {
        FRun.ChoosePayment();
        Sync();
        return;
    }
    if (HasFocus(edtSearchPersons) || HasFocus(rdbgrdPersons)) {
        const int64_t listed = FRun.ListPersonId();
        const int64_t chosen = FRun.RunPersonId();
        if (listed != 0 && listed != chosen) {
            FRun.SelectPerson(0);
            Sync();
            edtClassCourse->SetFocus();
            edtClassCourse->DropDown();
            return;
        }
    }
    btnOK->Click();
}

// Escape first empties a person search in hand, then brings the list back to
// the chosen person, and only then cancels.
void TformResultsClassForest::EscapeKey()
{
    if (HasFocus(edtSearchPersons)) {
        if (!edtSearchPersons->Text().isEmpty()) {
            FRun.ClearSearch();
            Sync();
            return;
        }
        // Only the list moves back to the run's person: the run stays as it is.
        const int64_t chosen = FRun.RunPersonId();
        if (chosen != 0 && chosen != FRun.ListPersonId()) {
            FRun.ClearSearch();
            Sync();
            return;
        }
    }
    btnCancel->Click();
}

void TformResultsClassForest::BuildPersonGroup()
{
    grpPerson = MakeCaptionBox(this, this, L("grpPerson"), L("Henkilö (F5)"), 8, 60, 547, 374);
    edtSearchPersons = Make<TFcEdit>(grpPerson, grpPerson, 10, 22, 234, 24, L("edtSearchPersons"));
    edtSearchPersons->SetHint(L("Valitse suorituksen henkilö. Aloita syöttämään henkilön nimen (etu- tai sukunimi) "
                                "ensimmäisiä merkkejä ja alla oleva taulukko suodatetaan. Suoritukselle valittu henkilö "
                                "poistetaan suoritukselta."));
    edtSearchPersons->OnChange = [this](TComponent*) {
        if (!FSyncing) {
            FRun.SearchPersons(edtSearchPersons->Text());
            Sync();
        }
    };
    // Up and Down released in the search move the person list.
    edtSearchPersons->OnKeyUp = [this](TComponent*, Word& Key, TShiftState) {
        if (StepListOnArrow(*DataModule1->fbQueryLookupPersonFD, Key))
            rdbgrdPersons->Invalidate();
    };
    rButton1 = Make<TButton>(grpPerson, grpPerson, 246, 22, 26, 24, L("rButton1"));
    rButton1->SetCaption(L("X"));
    rButton1->SetHint(L("Tyhjennä henkilöiden suodatus. Ennen suodatusta valittuna ollut henkilö palautetaan suorituksen "
                        "henkilöksi."));
    rButton1->OnClick = [this](TComponent*) {
        FRun.ClearSearch();
        Sync();
        edtSearchPersons->SetFocus();
    };
    chkOwnChip = MakeCardBox(grpPerson, grpPerson, 280, 24, 150, L("chkOwnChip"));
    chkOwnChip->SetCaption(L("Oma kilpailukortti"));
    chkOwnChip->OnClick = [this](TComponent*) {
        if (!FSyncing) {
            FRun.ClickOwnChip(chkOwnChip->Checked());
            Sync();
        }
    };
    chkPrintReceipt = MakeCardBox(grpPerson, grpPerson, 434, 24, 110, L("chkPrintReceipt"));
    chkPrintReceipt->SetCaption(L("Tulosta kuitti"));
    chkPrintReceipt->OnClick = [this](TComponent*) {
        if (!FSyncing)
            FRun.ClickPrintReceipt(chkPrintReceipt->Checked());
    };
    chkWebShow = MakeCardBox(grpPerson, grpPerson, 10, 52, 150, L("chkWebShow"));
    chkWebShow->SetCaption(L("Näytä nimi Webissä"));
    chkWebShow->OnClick = [this](TComponent*) {
        if (!FSyncing) {
            FRun.ClickWebShow(chkWebShow->Checked(), DateToStr(Now()) + L(" ") + FormatDateTime(L("t"), Now()));
            Sync();
        }
    };
    edtWebShowAsked = Make<TFcEdit>(grpPerson, grpPerson, 164, 50, 140, 24, L("edtWebShowAsked"));
    edtWebShowAsked->SetReadOnly(true);
    // A stamp to read, not a field waiting for input.
    edtWebShowAsked->SetReadOnlyColor(clWindow);
    MakeFieldCaption(grpPerson, grpPerson, L("Puhelin"), 310, 54, 58);
    edtPhoneNumber = Make<TFcEdit>(grpPerson, grpPerson, 374, 50, 163, 24, L("edtPhoneNumber"));
    edtPhoneNumber->OnChange = [this](TComponent*) {
        if (!FSyncing)
            FRun.ChangePhone(edtPhoneNumber->Text());
    };
    // "Muokkaa" (F9) and "Lisää" (F10): the person editor for the run's person or a new one.
    actPersonEdit = new TAction(this);
    actPersonEdit->SetCaption(L("Muokkaa"));
    actPersonEdit->SetHint(L("Muokkaa suorituksen henkilön tietoja (F9)."));
    actPersonEdit->OnExecute = [this](TComponent*) {
        EditPerson(FRun.RunOpen() ? FRun.RunField("PERSON_ID").AsLargeInt() : 0);
    };
    actPersonAdd = new TAction(this);
    actPersonAdd->SetCaption(L("Lisää"));
    actPersonAdd->SetHint(L("Lisää uusi henkilö suoritukselle (F10)."));
    actPersonAdd->OnExecute = [this](TComponent*) { EditPerson(0); };
    TFcToolbar* personBar = progbars::MakeDialogToolbar(this, grpPerson, "", 10, 80, 190, 26);
    const auto made = progbars::AddDialogButtons(
        this, personBar, {{actPersonEdit, 90, QString(), "btnPersonEdit"}, {actPersonAdd, 90, QString(), "btnPersonAdd"}});
    btnPersonEdit = made[0];
    btnPersonAdd = made[1];
    rdbgrdPersons = MakeGrid(grpPerson, grpPerson, 10, 112, 527, 252, L("rdbgrdPersons"), DataModule1->dsLookupPersonFD,
                             {{"PERSON_NAME", "Henkilö", 200}, {"CLUB_NAME", "Seura", 170}, {"CHIP_SOURCE", "Tietokanta", 90}});
    AddCardRegisterColumn(rdbgrdPersons);
    ChosenRowsShow(rdbgrdPersons);
    rdbgrdPersons->OnDrawColumnCell = [this](TComponent*, const TRect& R, int DataCol, TColumn* C, TGridDrawState S) {
        const int64_t id = DataModule1->fbQueryLookupPersonFD->FieldByName(L("PERSON_ID"))->AsLargeInt();
        const bool chosen = id != 0 && id == (FRun.RunOpen() ? FRun.RunField("PERSON_ID").AsLargeInt() : 0);
        PaintChosenRow(rdbgrdPersons, chosen, R, DataCol, C, S);
    };
    // A double click chooses the person and moves on to the course.
    rdbgrdPersons->OnDblClick = [this](TComponent*) {
        FRun.SelectPerson(0);
        Sync();
        edtClassCourse->SetFocus();
        edtClassCourse->DropDown();
    };
}

void TformResultsClassForest::BuildRightSide()
{
    BuildWebEntries();

    grpPayment = MakeCaptionBox(this, this, L("grpPayment"), L("Osallistumismaksu (F8)"), 563, 304, 450, 290);
    rdbgrdPaymentMethods = MakeGrid(grpPayment, grpPayment, 10, 22, 430, 150, L("rdbgrdPaymentMethods"),
                                    DataModule1->dsPaymentMethodsFD,
                                    {{"OUT_PAYMENT_METHOD_NAME", "Osallistumismaksu", 280}, {"OUT_PAYMENT_METHOD_PRICE", "Hinta", 90}});
    ChosenRowsShow(rdbgrdPaymentMethods);
    rdbgrdPaymentMethods->OnDrawColumnCell = [this](TComponent*, const TRect& R, int DataCol, TColumn* C, TGridDrawState S) {
        const int64_t id = DataModule1->fbQueryPaymentMethodsFD->FieldByName(L("OUT_ID"))->AsLargeInt();
        PaintChosenRow(rdbgrdPaymentMethods, FRun.nPaymentTypeId != 0 && id == FRun.nPaymentTypeId, R, DataCol, C, S);
    };
    rdbgrdPaymentMethods->OnDblClick = [this](TComponent*) {
        FRun.ChoosePayment();
        Sync();
    };
    lblPaymentPrice = MakeFieldCaption(grpPayment, grpPayment, st::PriceFee, 10, 184, 146);
    edtPaymentPrice = Make<TEdit>(grpPayment, grpPayment, 164, 180, 100, 24, L("edtPaymentPrice"));
    edtPaymentPrice->OnExit = [this](TComponent*) {
        bool ok = false;
        const double v = QString(edtPaymentPrice->Text()).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        FRun.SetPrice(ok ? Currency::FromDouble(v) : Currency());
        Sync();
    };
    btnPayBalance = Make<TButton>(grpPayment, grpPayment, 290, 178, 150, 28, L("btnPayBalance"));
    btnPayBalance->SetHint(L("Maksa saldoa kilpailukortille"));
    btnPayBalance->OnClick = [this](TComponent*) {
        if (!formSaldoMaksu)
            return;
        formSaldoMaksu->ShowFor(FRun);
        Sync();
    };
    MakeFieldCaption(grpPayment, grpPayment, L("Maksuinfo"), 10, 214, 146);
    edtPaymentInfo = Make<TEdit>(grpPayment, grpPayment, 164, 210, 276, 24, L("edtPaymentInfo"));
    edtPaymentInfo->SetMaxLength(200);
    edtPaymentInfo->SetHint(L("Syötä tarvittaessa infotekstiä maksulle"));
    edtPaymentInfo->OnExit = [this](TComponent*) { FRun.SetInfo(edtPaymentInfo->Text()); };
    imgChipBalanceWarning = StatusPicture(grpPayment, grpPayment, 10, 243, clRed, L("!"));
    imgChipBalanceWarning->SetName(L("imgChipBalanceWarning"));
    lblChipBalanceInfo = MakeLabel(grpPayment, grpPayment, 38, 246, 402, QString());
    lblChipBalanceInfo->Font()->SetStyle(fsBold);
    lblPaymentPrice->SetName(L("lblPaymentPrice"));
    lblChipBalanceInfo->SetName(L("lblChipBalanceInfo"));
}

void TformResultsClassForest::BuildWebEntries()
{
    grpWebEntries = MakeCaptionBox(this, this, L("grpWebEntries"), L("Ilmoittautuminen (F7)"), 563, 30, 450, 270);
    edtSearchWebEntries = Make<TFcEdit>(grpWebEntries, grpWebEntries, 10, 22, 190, 24, L("edtSearchWebEntries"));
    edtSearchWebEntries->SetHint(L("Hae ilmoittautumista suku- tai etunimen osalla."));
    edtSearchWebEntries->OnChange = [this](TComponent*) {
        if (FSyncing)
            return;
        FRun.WebSearch = edtSearchWebEntries->Text();
        FRun.RefreshWebEntries();
        Sync();
    };
    edtSearchWebEntries->OnKeyUp = [this](TComponent*, Word& Key, TShiftState) { WebSearchKeyUp(Key); };
    actWebEntriesRefresh = new TAction(this);
    actWebEntriesSelect = new TAction(this);
    actWebEntriesAddPerson = new TAction(this);
    TFcToolbar* bar = progbars::MakeDialogToolbar(this, grpWebEntries, "", 206, 20, 240, 26);
    for (auto [action, caption, hint] :
         {std::tuple{actWebEntriesRefresh, "Virkistä", "Virkistä ilmoittautumiset."},
          std::tuple{actWebEntriesSelect, "Valitse", "Valitse ilmoittautuminen suoritukselle tai poista valinta (Enter)."},
          std::tuple{actWebEntriesAddPerson, "Henkilö",
                     "Lisää tämän ilmoittautumisen henkilö uudeksi tulospalvelun henkilöksi."}}) {
        action->SetCaption(L(caption));
        action->SetHint(L(hint));
    }
    progbars::AddDialogButtons(this, bar, {{actWebEntriesRefresh, 70}, {actWebEntriesSelect, 70}, {actWebEntriesAddPerson, 70}});
    actWebEntriesRefresh->OnExecute = [this](TComponent*) {
        FRun.WebSearch = edtSearchWebEntries->Text();
        FRun.RefreshWebEntries();
        Sync();
    };
    actWebEntriesSelect->OnExecute = [this](TComponent*) {
        FRun.ToggleWebEntry();
        Sync();
    };
    actWebEntriesAddPerson->OnExecute = [this](TComponent*) { AddPersonFromWebEntry(); };
    rdbgrdWebEntries = MakeGrid(grpWebEntries, grpWebEntries, 10, 52, 430, 150, L("rdbgrdWebEntries"),
                                DataModule1->dsWebEntriesFD,
                                {{"REGISTRATION_TIME", "Ilmoittautumisaika", 120}, {"EMIT_NR", "Kortti", 70},
                                 {"LAST_NAME", "Sukunimi", 100}, {"FIRST_NAME", "Etunimi", 90}});
    GiveGridActions(rdbgrdWebEntries);
    rdbgrdWebEntries->OnDblClick = [this](TComponent*) {
        FRun.ToggleWebEntry();
        Sync();
    };
    TDataSource* entries = DataModule1->dsWebEntriesFD;
    chkRENTAL_EMIT = AddFieldCheck(grpWebEntries, grpWebEntries, entries, 10, 208, 110, "Vuokrakortti", "RENTAL_EMIT");
    chkPAYMENT_STATE = AddFieldCheck(grpWebEntries, grpWebEntries, entries, 130, 208, 100, "Maksettu", "PAYMENT_STATE");
    for (TrDBCheckBox* b : {chkRENTAL_EMIT, chkPAYMENT_STATE})
        b->ReadOnly = true;
    int y = 234;
    lblENTRY_FEE = MakeLabel(grpWebEntries, grpWebEntries, 10, y + 4, 40, L("Maksu"));
    edtENTRY_FEE = Make<TrDBEdit>(grpWebEntries, grpWebEntries, 54, y, 70, 24, L("edtENTRY_FEE"));
    MakeLabel(grpWebEntries, grpWebEntries, 134, y + 4, 60, L("Sport ID"));
    edtSPORT_ID = Make<TrDBEdit>(grpWebEntries, grpWebEntries, 196, y, 120, 24, L("edtSPORT_ID"));
    for (auto [edit, field] : {std::pair{edtENTRY_FEE, "ENTRY_FEE"}, std::pair{edtSPORT_ID, "SPORT_ID"}}) {
        edit->SetDataSource(entries);
        edit->SetDataField(L(field));
        edit->SetReadOnly(true);
        edit->DBEditLabel()->SetVisible(false);
        edit->DBEditLabel()->StoreVisible();
    }
    imgWebEntriesOK = StatusPicture(grpWebEntries, grpWebEntries, 418, 206, RGB(0, 160, 0), QStringLiteral("✓"));
    imgWebEntriesQuestion = StatusPicture(grpWebEntries, grpWebEntries, 418, 206, RGB(40, 100, 200), L("?"));
    imgWebEntriesExlamation = StatusPicture(grpWebEntries, grpWebEntries, 418, 206, RGB(230, 140, 0), L("!"));
    imgWebEntriesOK->SetHint(L("Ilmoittautuminen on valittu suoritukselle."));
    imgWebEntriesQuestion->SetHint(L("Kortille ei löytynyt ilmoittautumista."));
    imgWebEntriesExlamation->SetHint(L("Tarkista ehdotettu ilmoittautuminen ja valitse se."));

    TDataModule1::TWebEntriesLink& link = DataModule1->WebEntries;
    link.edtENTRY_FEE = edtENTRY_FEE;
    link.lblENTRY_FEE = lblENTRY_FEE;
    link.imgWebEntriesOK = imgWebEntriesOK;
    link.imgWebEntriesQuestion = imgWebEntriesQuestion;
    link.imgWebEntriesExlamation = imgWebEntriesExlamation;
}

// Up and Down in the search move the entry list; Escape empties the search.
void TformResultsClassForest::WebSearchKeyUp(Word Key)
{
    if (StepListOnArrow(*DataModule1->fbQueryWebEntriesFD, Key))
        Sync();
}

void TformResultsClassForest::AddPersonFromWebEntry()
{
    QString chip, sportId, name;
    if (!formPerson || !FRun.WebEntryPerson(chip, sportId, name))
        return;
    TPersonEditorRun& editor = formPerson->Run();
    editor.iPersonId = 0;
    editor.vcChip = chip;
    editor.vcSportID = sportId;
    editor.vcPersonName = name;
    formPerson->Opening();
    formPerson->ShowModal();
    editor.Close();
    if (editor.bDataChanged && editor.iNewPersonId != 0)
        FRun.WebEntryPersonAdded(editor.iNewPersonId);
    Sync();
}

void TformResultsClassForest::PaintChosenRow(TDBGrid* Grid, bool Chosen, const TRect& Rect, int DataCol, TColumn* Column,
                                             TGridDrawState State)
{
    if (!Chosen)
        return;
    Grid->Canvas()->Brush()->SetColor(kChosenRow);
    Grid->Canvas()->Font()->SetColor(clBlack);
    Grid->DefaultDrawColumnCell(Rect, DataCol, Column, State);
}

void TformResultsClassForest::EditPerson(int64_t PersonId)
{
    if (!formPerson || (PersonId != 0 && !FRun.PersonEditEnabled))
        return;
    TPersonEditorRun& editor = formPerson->Run();
    editor.iPersonId = PersonId;
    editor.vcChip = FRun.ChipForPersonEditor();
    formPerson->Opening();
    formPerson->ShowModal();
    editor.Close();
    FRun.PersonEdited(PersonId == 0 ? editor.iNewPersonId : PersonId, PersonId == 0, editor.bDataChanged);
    Sync();
}

bool TformResultsClassForest::Opening()
{
    const bool opened = FRun.Open();
    if (opened && rDBAction)
        rDBAction->SetActiveGrid(rdbgrdCurrResult);
    Place();
    Sync();
    return opened;
}

void TformResultsClassForest::Place()
{
    const bool wide = FRun.bShowWebEntries || eventSeries->chip_balance_in_use() == L("K");
    SetWidth(wide ? 1021 : 563);
    btnOK->SetLeft(wide ? 915 : 457);
    btnCancel->SetLeft(wide ? 811 : 353);
    grpWebEntries->SetVisible(FRun.bShowWebEntries);
    grpPayment->SetVisible(wide && eventSeries->chip_balance_in_use() == L("K"));
    grpPayment->SetTop(FRun.bShowWebEntries ? 304 : 30);
    CentreOnMainForm(this, 0);
}

void TformResultsClassForest::Sync()
{
    FSyncing = true;
    SyncStatusStrip();

    for (TControl* c : std::initializer_list<TControl*>{edtChip1, chkRentedChip, chkNoChip})
        c->SetVisible(FRun.CardVisible);
    edtChip1->SetText(FRun.Card);
    edtChip1->SetReadOnly(FRun.bChipRead || FRun.NoChip);
    chkRentedChip->SetChecked(FRun.RentedChip);
    chkRentedChip->Font()->SetColor(FRun.RentedChip ? clRed : clWindowText);
    chkRentedChip->SetEnabled(!FRun.bChipRead && !FRun.NoChip);
    chkNoChip->SetChecked(FRun.NoChip);
    chkNoChip->SetEnabled(!FRun.bChipRead && !FRun.RentedChip);
    lblLainakortti->SetCaption(FRun.RentedLabel);

    if (edtSearchPersons->Text() != FRun.PersonSearch)
        edtSearchPersons->SetText(FRun.PersonSearch);
    chkOwnChip->SetChecked(FRun.OwnChip);
    chkOwnChip->SetEnabled(FRun.OwnChipEnabled);
    chkPrintReceipt->SetChecked(FRun.PrintReceipt);
    chkWebShow->SetChecked(FRun.WebShow);
    for (TControl* c : std::initializer_list<TControl*>{chkPrintReceipt, chkWebShow, edtWebShowAsked, edtPhoneNumber})
        c->SetEnabled(FRun.PersonDetailsEnabled);
    edtWebShowAsked->SetText(FRun.WebShowAsked);
    edtPhoneNumber->SetText(FRun.Phone);

    edtClassCourse->SetKeyValue(FRun.CourseId() != 0 ? QVariant::fromValue<qlonglong>(FRun.CourseId()) : QVariant());
    const bool extra = FRun.CourseId() != 0;
    edtAdditionalClass->SetEnabled(extra);
    edtADDITIONAL_CLASS_NOTES->SetEnabled(extra);
    edtAdditionalClass->SetKeyValue(FRun.AdditionalClassId() != 0 ? QVariant::fromValue<qlonglong>(FRun.AdditionalClassId())
                                                                  : QVariant());
    if (edtADDITIONAL_CLASS_NOTES->Text() != FRun.AdditionalNotes())
        edtADDITIONAL_CLASS_NOTES->SetText(FRun.AdditionalNotes());
    if (edtSearchWebEntries->Text() != FRun.WebSearch)
        edtSearchWebEntries->SetText(FRun.WebSearch);
    using TMark = TResultsClassForestRun::TWebMark;
    imgWebEntriesOK->SetVisible(FRun.WebMark == TMark::OK);
    imgWebEntriesQuestion->SetVisible(FRun.WebMark == TMark::Question);
    imgWebEntriesExlamation->SetVisible(FRun.WebMark == TMark::Exclamation);
    for (TAction* a : {actWebEntriesRefresh, actWebEntriesAddPerson, actWebEntriesSelect})
        a->SetEnabled(FRun.bShowWebEntries);
    rdbgrdWebEntries->Invalidate();
    FcRadioGroup1->SetItemIndex(TResultsClassForestRun::Tila);

    lblPaymentPrice->SetCaption(FRun.PriceLabel);
    edtPaymentPrice->SetHint(FRun.PriceHint.isEmpty() ? st::PriceFeeHint : FRun.PriceHint);
    edtPaymentPrice->SetText(CurrencyText2(FRun.PriceField));
    edtPaymentInfo->SetText(FRun.InfoField);
    btnPayBalance->SetCaption(FRun.PayBalanceCaption);
    btnPayBalance->Font()->SetStyle(FRun.PayBalanceBold ? fsBold : 0);
    lblChipBalanceInfo->SetCaption(FRun.BalanceLabel);
    lblChipBalanceInfo->Font()->SetColor(FRun.BalanceWarning ? clRed : RGB(0, 128, 0));
    imgChipBalanceWarning->SetVisible(FRun.BalanceWarning && !FRun.BalanceLabel.isEmpty());
    actPersonEdit->SetEnabled(FRun.PersonEditEnabled);
    rdbgrdPersons->Invalidate();
    rdbgrdPaymentMethods->Invalidate();
    FSyncing = false;
    ApplyFocus();
}
