// The finish dialog's window: one tab "Suoritus" with the card, person,
// course, status, times, punches and notes groups, and the buttons below.

#include "data/vrkDataModule.h"
#include "platform/database/Fields.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/DBCtrls.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "components/dbcontrols/TrDBCheckBox.h"
#include "components/dbcontrols/TrDBDateTimePicker.h"
#include "components/dbcontrols/TrDBEdit.h"
#include "components/dbcontrols/TrDBLookupComboBox.h"
#include "components/dbcontrols/TrDBMemo.h"
#include "app/vrkProgramToolbars.h"
#include "components/framed/FcDBRGrp.h"
#include "components/framed/FcEdit.h"
#include "components/framed/FcLabel.h"
#include "components/framed/FcRadChk.h"
#include "components/framed/FcToolbar.h"
#include "components/grid/rDBGrid.h"
#include "resources/FinishDeskTexts.h"
#include "results/CaptionBox.h"
#include "results/DialogPictures.h"
#include "results/DropDownOnTyping.h"
#include "results/vrkResultsClass2.h"

namespace {

// The dialog places its own captions: the library's field-named label is
// hidden (and stays hidden when the control is shown again).
template <class T>
T* WithoutBoundLabel(T* Control)
{
    Control->DBEditLabel()->SetVisible(false);
    Control->DBEditLabel()->StoreVisible();
    return Control;
}

TLabel* AddLabel(TComponent* Owner, TWinControl* Parent, const QString& Text, int Left, int Top)
{
    auto* l = new TLabel(Owner);
    l->SetParent(Parent);
    l->SetCaption(Text);
    l->SetLeft(Left);
    l->SetTop(Top);
    return l;
}

// A time picker on one time field of the chosen class-course row.
TrDBDateTimePicker* TimePicker(TComponent* Owner, TWinControl* Parent, const QString& Text, const char* Field, int Left,
                               int Top, bool ReadOnly)
{
    AddLabel(Owner, Parent, Text, Left, Top);
    auto* p = new TrDBDateTimePicker(Owner);
    p->SetParent(Parent);
    p->SetKind(dtkTime);
    p->SetFormat(QStringLiteral("HH:mm:ss"));
    // An empty editable time reads as zero; an empty display-only one as
    // blanks, and the operator never lands on it.
    p->SetFormatEmpty(ReadOnly ? QStringLiteral("__:__:__") : QStringLiteral("00:00:00"));
    p->SetBounds(Left, Top + 16, 100, 23);
    p->SetReadOnly(ReadOnly);
    if (ReadOnly) {
        p->SetEnabledAll(false);
        p->SetTabStop(false);
    }
    p->SetDataSource(DataModule1 ? DataModule1->dsClassCourseFD : nullptr);
    p->SetDataField(QString::fromLatin1(Field));
    return WithoutBoundLabel(p);
}

}  // namespace

void TformResultsClass2::BuildLayout()
{
    auto* pages = new TPageControl(this);
    pages->SetParent(this);
    pages->SetBounds(4, 4, 1007, 664);
    auto* tab = new TTabSheet(this);
    tab->SetPageControl(pages);
    tab->SetCaption(QStringLiteral("Suoritus"));
    TWinControl* page = tab;

    // the chip-string memo lies under the tab page, as a record for the operator
    mmoChipString = new TMemo(this);
    mmoChipString->SetParent(this);
    mmoChipString->SetBounds(8, 640, 400, 20);
    mmoChipString->Hide();
    // The grid the shared grid actions act on while a run is shown: hidden
    // and without data, so they have nothing to act on.
    rdbgrdCurrResult = new TrDBGrid(this);
    rdbgrdCurrResult->SetName(QStringLiteral("rdbgrdCurrResult"));
    rdbgrdCurrResult->SetParent(this);
    rdbgrdCurrResult->SetBounds(420, 640, 60, 20);
    rdbgrdCurrResult->Hide();

    // card
    lblChip = AddLabel(this, page, QStringLiteral("Kortti"), 10, 12);
    edtChip1 = new TrDBEdit(this);
    edtChip1->SetParent(page);
    edtChip1->SetBounds(60, 8, 110, 23);
    edtChip1->SetDataSource(DataModule1 ? DataModule1->dsCurrResultFD : nullptr);
    edtChip1->SetDataField(QStringLiteral("CONTROL_CARD"));
    WithoutBoundLabel(edtChip1);
    edtChip1->OnEnter = [this](TComponent*) { vcPrevControlCard = edtChip1->Text(); };
    edtChip1->OnExit = [this](TComponent* S) { edtChip1Exit(S); };
    chkNoChip = new TFcCheckBox(this);
    chkNoChip->SetParent(page);
    chkNoChip->SetCaption(QStringLiteral("Ei korttia"));
    chkNoChip->SetBounds(185, 10, 95, 20);
    chkNoChip->OnClick = [this](TComponent* S) { chkNoChipClick(S); };
    chkRentedChip = new TrDBCheckBox(this);
    chkRentedChip->SetParent(page);
    chkRentedChip->SetCaption(fdtxt::RentedChip);
    chkRentedChip->SetBounds(290, 10, 100, 20);
    chkRentedChip->ValueChecked = QStringLiteral("K");
    chkRentedChip->ValueUnchecked = QStringLiteral("E");
    chkRentedChip->SetDataSource(DataModule1 ? DataModule1->dsCurrResultFD : nullptr);
    chkRentedChip->SetDataField(QStringLiteral("RENTED_CHIP"));
    chkRentedChip->OnClick = [this](TComponent* S) { chkRentedChipClick(S); };
    lblLainakortti = AddLabel(this, page, QString(), 400, 12);
    lblLainakortti->Font()->SetColor(clRed);
    lblLainakortti->Font()->SetStyle(fsBold);

    // person
    grpPerson = MakeCaptionBox(this, page, QStringLiteral("grpPerson"), QStringLiteral("Henkilö (F5)"), 8, 40, 490, 420);
    edtSearchPersons = new TFcEdit(this);
    edtSearchPersons->SetParent(grpPerson);
    edtSearchPersons->SetBounds(10, 22, 250, 23);
    edtSearchPersons->SetHint(QStringLiteral(
        "Valitse suorituksen henkilö. Aloita syöttämään henkilön nimen (etu- tai sukunimi) ensimmäisiä merkkejä ja alla "
        "oleva taulukko suodatetaan. Suoritukselle valittu henkilö poistetaan suoritukselta."));
    edtSearchPersons->OnChange = [this](TComponent*) {
        if (!FLoading)
            RefreshQueryLookupPersons();
    };
    rButton1 = new TButton(this);
    rButton1->SetParent(grpPerson);
    rButton1->SetCaption(QStringLiteral("X"));
    rButton1->SetBounds(264, 21, 26, 25);
    rButton1->SetHint(QStringLiteral("Tyhjennä henkilöiden suodatus. Ennen suodatusta valittuna ollut henkilö palautetaan "
                                     "suorituksen henkilöksi."));
    rButton1->OnClick = [this](TComponent* S) { rButton1Click(S); };
    auto* actions = new TActionList(this);
    actPersonEdit = new TAction(this);
    actPersonEdit->SetCaption(QStringLiteral("Muokkaa"));
    actPersonEdit->SetActionList(actions);
    actPersonEdit->SetShortCut(ShortCut(VK_F9, TShiftState()));
    actPersonEdit->SetHint(QStringLiteral("Muokkaa suorituksen henkilön tietoja (F9)."));
    actPersonEdit->OnExecute = [this](TComponent*) { PersonEditorCall(false); };
    actPersonAdd = new TAction(this);
    actPersonAdd->SetCaption(QStringLiteral("Lisää"));
    actPersonAdd->SetActionList(actions);
    actPersonAdd->SetShortCut(ShortCut(VK_F10, TShiftState()));
    actPersonAdd->SetHint(QStringLiteral("Lisää uusi henkilö suoritukselle (F10)."));
    actPersonAdd->OnExecute = [this](TComponent*) { PersonEditorCall(true); };
    actValidatePunches = new TAction(this);
    actValidatePunches->SetCaption(QStringLiteral("Tarkasta leimaukset uudelleen"));
    actValidatePunches->SetHint(QStringLiteral("Tarkasta suorituksen kaikkien sarjojen/ratojen leimaukset uudelleen"));
    actValidatePunches->SetActionList(actions);
    actValidatePunches->OnExecute = [this](TComponent*) { ValidatePunches(); };
    TFcToolbar* personBar = progbars::MakeDialogToolbar(this, grpPerson, "", 298, 20, 148, 25);
    progbars::AddDialogButtons(this, personBar, {{actPersonEdit, 78}, {actPersonAdd, 60, QStringLiteral("Uusi")}});
    imgOK = StatusPicture(this, grpPerson, 455, 22, RGB(0, 160, 0), QStringLiteral("✓"));
    imgQuestion = StatusPicture(this, grpPerson, 455, 22, RGB(40, 100, 200), QStringLiteral("?"));
    imgExlamation = StatusPicture(this, grpPerson, 455, 22, RGB(230, 140, 0), QStringLiteral("!"));
    rdbgrdPersons = new TrDBGrid(this);
    rdbgrdPersons->SetParent(grpPerson);
    rdbgrdPersons->SetBounds(10, 52, 470, 250);
    rdbgrdPersons->SetOptions(dgTitles | dgColLines | dgRowLines | dgRowSelect | dgAlwaysShowSelection);
    rdbgrdPersons->SetDataSource(DataModule1 ? DataModule1->dsLookupPersonFD : nullptr);
    AddCardRegisterColumn(rdbgrdPersons);
    for (auto [field, title, width] : {std::tuple{"PERSON_NAME", "Henkilö", 200}, std::tuple{"CLUB_NAME", "Seura", 125},
                                       std::tuple{"CHIP_SOURCE", "Tietokanta", 90}}) {
        TColumn* c = rdbgrdPersons->Columns()->Add();
        c->SetFieldName(QString::fromLatin1(field));
        c->Title()->SetCaption(QString::fromUtf8(title));
        c->SetWidth(width);
    }
    rdbgrdPersons->OnDblClick = [this](TComponent* S) { PersonGridDblClick(S); };
    rdbgrdPersons->OnDrawColumnCell = [this](TComponent*, const TRect& Rect, int DataCol, TColumn* Column,
                                             TGridDrawState State) {
        TFbQuery* list = DataModule1->fbQueryLookupPersonFD;
        const int64_t id = list->FieldByName(QStringLiteral("PERSON_ID"))->AsLargeInt();
        if (id != 0 && id == RunPersonId()) {
            rdbgrdPersons->Canvas()->Brush()->SetColor(RGB(144, 238, 144));
            rdbgrdPersons->Canvas()->Font()->SetColor(clBlack);
        }
        rdbgrdPersons->DefaultDrawColumnCell(Rect, DataCol, Column, State);
    };
    if (FOlder) {
        // the older dialog chooses the person in a drop-down list
        edtSearchPersons->Hide();
        rButton1->Hide();
        rdbgrdPersons->Hide();
        chkNoChip->Hide();
        edtPerson = new TrDBLookupComboBox(this);
        edtPerson->SetParent(grpPerson);
        edtPerson->SetBounds(10, 22, 280, 23);
        edtPerson->SetListSource(DataModule1 ? DataModule1->dsLookupPersonFD : nullptr);
        edtPerson->KeyField = QStringLiteral("PERSON_ID");
        edtPerson->ListField = QStringLiteral("PERSON_NAME;CLUB_NAME");
        edtPerson->DropDownRows = 15;
        WithoutBoundLabel(edtPerson);
        edtPerson->OnClick = [this](TComponent*) {
            const int64_t id = edtPerson->KeyValue().toLongLong();
            EditRun();
            RunFieldObj(QStringLiteral("PERSON_ID"))->SetAsLargeInt(id);
            haeHenkilo(id);
        };
        edtPerson->OnDropDown = [](TComponent*) { bPersonDroppedDown = true; };
        edtPerson->OnCloseUp = [](TComponent*) { bPersonDroppedDown = false; };
        edtPerson->OnKeyUp = [this](TComponent*, Word& Key, TShiftState) { DropDownOnTyping(edtPerson, Key); };
    }
    chkOwnChip = new TFcCheckBox(this);
    chkOwnChip->SetParent(grpPerson);
    chkOwnChip->SetCaption(QStringLiteral("Oma kilpailukortti"));
    chkOwnChip->SetBounds(10, 310, 160, 20);
    chkOwnChip->OnClick = [this](TComponent*) {
        if (!FLoading)
            bOwnChipChanged = true;
    };
    chkPrintReceipt = new TFcCheckBox(this);
    chkPrintReceipt->SetParent(grpPerson);
    chkPrintReceipt->SetCaption(QStringLiteral("Tulosta kuitti"));
    chkPrintReceipt->SetBounds(10, 334, 160, 20);
    chkPrintReceipt->OnClick = [this](TComponent*) {
        if (!FLoading)
            bReceiptPrintChanged = true;
    };
    chkWebShow = new TFcCheckBox(this);
    chkWebShow->SetParent(grpPerson);
    chkWebShow->SetCaption(FOlder ? QStringLiteral("Näytä nimi Web -tulospalvelussa") : QStringLiteral("Näytä nimi Webissä"));
    chkWebShow->SetBounds(10, 358, FOlder ? 215 : 160, 20);
    chkWebShow->OnClick = [this](TComponent* S) { chkWebShowClick(S); };
    edtWebShowAsked = new TFcEdit(this);
    edtWebShowAsked->SetParent(grpPerson);
    edtWebShowAsked->SetReadOnly(true);
    edtWebShowAsked->SetBounds(FOlder ? 230 : 180, 356, 150, 23);
    // A stamp to read, not a field waiting for input.
    edtWebShowAsked->SetReadOnlyColor(clWindow);
    lblPhoneNumber = MakeFieldCaption(this, grpPerson, QStringLiteral("Puhelin"), 10, 388, 54);
    edtPhoneNumber = new TFcEdit(this);
    edtPhoneNumber->SetParent(grpPerson);
    edtPhoneNumber->SetBounds(70, 384, 150, 23);
    edtPhoneNumber->OnChange = [this](TComponent*) {
        if (!FLoading)
            bPhoneNumberChanged = true;
    };

    // notes of the chosen course row
    auto* grpNotes =
        MakeCaptionBox(this, page, QStringLiteral("grpNotes"), QStringLiteral("Lisätiedot"), 8, 466, 490, 160);
    mmoRESULT_NOTES = new TrDBMemo(this);
    mmoRESULT_NOTES->SetParent(grpNotes);
    mmoRESULT_NOTES->SetBounds(10, 20, 470, 130);
    mmoRESULT_NOTES->SetDataSource(DataModule1 ? DataModule1->dsClassCourseFD : nullptr);
    mmoRESULT_NOTES->SetDataField(QStringLiteral("RESULT_NOTES"));
    WithoutBoundLabel(mmoRESULT_NOTES);

    // course
    grpCourse = MakeCaptionBox(this, page, QStringLiteral("grpCourse"),
                               FOlder ? QStringLiteral("Sarja ja Rata (F6)") : QStringLiteral("Rata (F6)"), 505, 40, 490, 100);
    edtClassCourse = new TrDBLookupComboBox(this);
    edtClassCourse->SetParent(grpCourse);
    edtClassCourse->SetBounds(10, 22, 440, 23);
    edtClassCourse->SetListSource(DataModule1 ? DataModule1->dsClassCourseFD : nullptr);
    edtClassCourse->KeyField = QStringLiteral("CLASS_COURSE_ID");
    edtClassCourse->ListField = QStringLiteral("CLASS_NAME;TIME_STR;STATUS_TXT;ACTIVE_CLASS_TXT");
    edtClassCourse->DropDownRows = 15;
    edtClassCourse->SetShowHint(false);
    WithoutBoundLabel(edtClassCourse);
    edtClassCourse->OnClick = [this](TComponent* S) { edtClassCourseClick(S); };
    edtClassCourse->OnDropDown = [](TComponent*) { bClassDroppedDown = true; };
    edtClassCourse->OnCloseUp = [](TComponent*) { bClassDroppedDown = false; };
    edtClassCourse->OnKeyUp = [this](TComponent*, Word& Key, TShiftState) { DropDownOnTyping(edtClassCourse, Key); };
    imgOKC = StatusPicture(this, grpCourse, 458, 22, RGB(0, 160, 0), QStringLiteral("✓"));
    imgQuestionC = StatusPicture(this, grpCourse, 458, 22, RGB(40, 100, 200), QStringLiteral("?"));
    imgExlamationC = StatusPicture(this, grpCourse, 458, 22, RGB(230, 140, 0), QStringLiteral("!"));
    AddLabel(this, grpCourse, QStringLiteral("Lisätiedot"), 10, 58);
    edtAdditionalNotes = new TrDBEdit(this);
    edtAdditionalNotes->SetParent(grpCourse);
    edtAdditionalNotes->SetBounds(80, 54, 170, 23);
    edtAdditionalNotes->SetDataSource(DataModule1 ? DataModule1->dsCurrResultFD : nullptr);
    edtAdditionalNotes->SetDataField(QStringLiteral("ADDITIONAL_CLASS_NOTES"));
    WithoutBoundLabel(edtAdditionalNotes);
    AddLabel(this, grpCourse, QStringLiteral("Lisäsarja"), 262, 58);
    edtAdditionalClass = new TrDBLookupComboBox(this);
    edtAdditionalClass->SetParent(grpCourse);
    edtAdditionalClass->SetBounds(325, 54, 155, 23);
    edtAdditionalClass->SetListSource(DataModule1 ? DataModule1->dsAdditionalClassFD : nullptr);
    edtAdditionalClass->KeyField = QStringLiteral("ADDITIONAL_CLASS_ID");
    edtAdditionalClass->ListField = QStringLiteral("CLASS_NAME");
    edtAdditionalClass->DropDownRows = 15;
    WithoutBoundLabel(edtAdditionalClass);
    edtAdditionalClass->OnClick = [this](TComponent*) {
        EditRun();
        RunFieldObj(QStringLiteral("ADDITIONAL_CLASS_ID"))->SetAsVariant(edtAdditionalClass->KeyValue());
    };
    edtAdditionalClass->OnDropDown = [](TComponent*) { bAddClassDroppedDown = true; };
    edtAdditionalClass->OnCloseUp = [](TComponent*) { bAddClassDroppedDown = false; };
    edtAdditionalClass->OnKeyUp = [this](TComponent*, Word& Key, TShiftState) { DropDownOnTyping(edtAdditionalClass, Key); };

    // status
    fcdbrdgrpSTATUS = new TFcDBRadioGroup(this);
    fcdbrdgrpSTATUS->SetParent(page);
    fcdbrdgrpSTATUS->SetCaption(QStringLiteral("Tila"));
    StyleCaptionBox(fcdbrdgrpSTATUS);
    fcdbrdgrpSTATUS->SetBounds(505, 146, 490, 70);
    QStringList items, values;
    for (int i = 0; i < (FOlder ? 5 : 8); ++i) {
        items << fdtxt::StatusItems[i];
        values << fdtxt::StatusValues[i];
    }
    fcdbrdgrpSTATUS->SetColumns(FOlder ? 3 : 6);
    fcdbrdgrpSTATUS->SetValues(values);
    fcdbrdgrpSTATUS->SetItems(items);
    fcdbrdgrpSTATUS->SetDataSource(DataModule1 ? DataModule1->dsClassCourseFD : nullptr);
    fcdbrdgrpSTATUS->SetDataField(QStringLiteral("STATUS"));
    // the operator's choice goes into the row at once: the times and the
    // accept checks read the row's status, not the group
    fcdbrdgrpSTATUS->OnChange = [this](TComponent*) {
        TField* f = fcdbrdgrpSTATUS->Field();
        if (f && fcdbrdgrpSTATUS->DataLink()->Editing() && f->AsString() != fcdbrdgrpSTATUS->Value())
            f->SetAsString(fcdbrdgrpSTATUS->Value());
    };
    // showing the row's stored status is never refused
    fcdbrdgrpSTATUS->OnChanging = [this](TComponent*, int NewIndex, bool& Allow) {
        Allow = fcdbrdgrpSTATUS->SettingItemIndex() || StatusChanging(NewIndex);
    };

    // times
    auto* grpTimes =
        MakeCaptionBox(this, page, QStringLiteral("grpTimes"), QStringLiteral("Aikatiedot"), 505, 222, 490, 120);
    dtpRegistered = TimePicker(this, grpTimes, QStringLiteral("Rekisteröity"), "REGISTERED_TIME", 10, 18, true);
    dtpStartPunch = TimePicker(this, grpTimes, QStringLiteral("Nollaleimaus"), "START_PUNCH_TIME", 128, 18, true);
    dtpRead = TimePicker(this, grpTimes, QStringLiteral("Luku"), "INSERTED", 246, 18, true);
    dtpChanged = TimePicker(this, grpTimes, QStringLiteral("Muutettu"), "UPDATED", 364, 18, true);
    dtpStart = TimePicker(this, grpTimes, QStringLiteral("Lähtö"), "START_TIME", 10, 66, false);
    dtpFinish = TimePicker(this, grpTimes, QStringLiteral("Maali"), "FINISH_TIME", 128, 66, false);
    dtpPenalty = TimePicker(this, grpTimes, QStringLiteral("Sakko"), "CREDIT_PENALTY_TIME", 246, 66, false);
    AddLabel(this, grpTimes, QStringLiteral("Aika"), 364, 66);
    edtTime = new TFcEdit(this);
    edtTime->SetParent(grpTimes);
    edtTime->SetReadOnly(true);
    edtTime->SetBounds(364, 82, 100, 23);
    edtTime->Font()->SetStyle(fsBold);
    // Computed, never typed: the face colour of the window, bold.
    edtTime->SetColor(clBtnFace);
    edtTime->SetReadOnlyColor(clBtnFace);
    for (auto [picker, field] : {std::pair{dtpStart, "START_TIME"}, std::pair{dtpFinish, "FINISH_TIME"},
                                 std::pair{dtpPenalty, "PENALTY_TIME"}}) {
        TrDBDateTimePicker* p = picker;
        const QString f = QString::fromLatin1(field);
        p->OnDateTimeChange = [this, p, f](TComponent*) {
            if (FLoading)
                return;
            StoreTime(p, f == QLatin1String("PENALTY_TIME") ? QStringLiteral("CREDIT_PENALTY_TIME") : f);
            laskeAjat(f);
        };
    }
    dtpStart->OnExit = [this](TComponent*) { tarkastaAjat(); };
    dtpFinish->OnExit = [this](TComponent*) { tarkastaAjat(); };

    // punches
    auto* grpPunches =
        MakeCaptionBox(this, page, QStringLiteral("grpPunches"), QStringLiteral("Leimaukset"), 505, 348, 490, 278);
    TFcToolbar* punchBar = progbars::MakeDialogToolbar(this, grpPunches, "", 10, 17, 90, 25);
    btnValidate = progbars::AddDialogButton(this, punchBar, actValidatePunches, 90, QStringLiteral("Tarkasta"));
    rdbgrdPunches = new TrDBGrid(this);
    rdbgrdPunches->SetParent(grpPunches);
    rdbgrdPunches->SetBounds(10, 48, 470, 220);
    rdbgrdPunches->SetOptions(dgTitles | dgColLines | dgRowLines | dgRowSelect);
    rdbgrdPunches->SetDataSource(DataModule1 ? DataModule1->dsPunchesFD : nullptr);
    for (auto [field, title, width] :
         {std::tuple{"CONTROL_NUMBER", "Rasti", 50}, std::tuple{"CONTROL_CODE", "Koodi", 55},
          std::tuple{"PUNCHED_CODE", "Leimauskoodi", 90}, std::tuple{"LEG_TIME_SEC_TXT", "Rastiväli", 80},
          std::tuple{"TIME_SEC_TXT", "Kokonaisaika", 90}, std::tuple{"TIME_SEC", "Sekunnit", 70}}) {
        TColumn* c = rdbgrdPunches->Columns()->Add();
        c->SetFieldName(QString::fromLatin1(field));
        c->Title()->SetCaption(QString::fromUtf8(title));
        c->SetWidth(width);
    }
    rdbgrdPunches->OnDrawColumnCell = [this](TComponent*, const TRect& Rect, int DataCol, TColumn* Column,
                                             TGridDrawState State) {
        const TColor colour = PunchRowColour(DataModule1->fbQueryPunchesFD);
        if (colour != clNone) {
            rdbgrdPunches->Canvas()->Brush()->SetColor(colour);
            rdbgrdPunches->Canvas()->Font()->SetColor(clBlack);
        }
        rdbgrdPunches->DefaultDrawColumnCell(Rect, DataCol, Column, State);
    };
    // A punch row explains itself: the database writes the row's hint (the
    // older window's punches carry none).
    if (!FOlder) {
        rdbgrdPunches->SetShowHint(true);
        rdbgrdPunches->OnGetHintStringEx = [](TComponent*, TColumn*, bool TitleRow, bool FooterRow, const TStringList& FieldValues,
                                              const QString&, QString& HintString) {
            if (!TitleRow && !FooterRow)
                HintString = FieldValues.Values(QStringLiteral("ROW_HINT"));
        };
    }

    // buttons
    btnOK = new TButton(this);
    btnOK->SetParent(this);
    btnOK->SetCaption(QStringLiteral("OK"));
    btnOK->SetBounds(735, 680, 85, 28);
    btnOK->OnClick = [this](TComponent* S) { btnOKClick(S); };
    btnCancel = new TButton(this);
    btnCancel->SetParent(this);
    btnCancel->SetCaption(QStringLiteral("Peruuta"));
    btnCancel->SetBounds(825, 680, 85, 28);
    btnCancel->OnClick = [this](TComponent* S) { cancelClick(S); };
    btnToForest = new TButton(this);
    btnToForest->SetParent(this);
    btnToForest->SetCaption(QStringLiteral("Maastoon"));
    btnToForest->SetBounds(915, 680, 85, 28);
    btnToForest->OnClick = [this](TComponent* S) { btnToForestClick(S); };
    OnKeyPress = [this](TComponent* S, QChar& Key) { FormKeyPress(S, Key); };
    OnKeyUp = [this](TComponent* S, Word& Key, TShiftState Shift) { FormKeyUp(S, Key, Shift); };
    NameControls();
}

// The controls a test or a saved layout refers to go by their field names.
void TformResultsClass2::NameControls()
{
    const std::pair<TComponent*, const char*> named[] = {
        {mmoChipString, "mmoChipString"}, {edtChip1, "edtChip1"}, {chkNoChip, "chkNoChip"},
        {chkRentedChip, "chkRentedChip"}, {edtSearchPersons, "edtSearchPersons"}, {rdbgrdPersons, "rdbgrdPersons"},
        {edtPerson, "edtPerson"}, {chkOwnChip, "chkOwnChip"}, {chkPrintReceipt, "chkPrintReceipt"},
        {chkWebShow, "chkWebShow"}, {edtPhoneNumber, "edtPhoneNumber"}, {edtClassCourse, "edtClassCourse"},
        {fcdbrdgrpSTATUS, "fcdbrdgrpSTATUS"}, {edtTime, "edtTime"}, {btnValidate, "btnValidate"},
        {rdbgrdPunches, "rdbgrdPunches"}, {btnOK, "btnOK"}, {btnCancel, "btnCancel"}, {btnToForest, "btnToForest"}};
    for (const auto& [component, name] : named)
        if (component)
            component->SetName(QString::fromLatin1(name));
}

TColor PunchRowColour(TDataSet* Punches)
{
    if (!Punches->Active() || Punches->IsEmpty())
        return clNone;
    const QString type = Punches->FieldByName(QStringLiteral("PUNCH_TYPE"))->AsString();
    TField* punched = Punches->FieldByName(QStringLiteral("PUNCHED_CODE"));
    const int code = punched->IsNull() ? 0 : punched->AsInteger();
    TColor colour = clNone;
    if (type == QLatin1String("Y"))
        colour = RGB(238, 232, 170);
    if (type == QLatin1String("R") && code == 0)
        colour = RGB(250, 128, 114);
    if (type == QLatin1String("R") && code > 0 && Punches->FieldByName(QStringLiteral("LEG_TIME_SEC_TXT"))->AsString().isEmpty())
        colour = RGB(238, 232, 170);
    if (type == QLatin1String("M") || type == QLatin1String("L") || type == QLatin1String("N"))
        colour = RGB(144, 238, 144);
    if (!punched->IsNull() && punched->AsString() == QLatin1String("99"))
        colour = RGB(126, 192, 238);
    return colour;
}
