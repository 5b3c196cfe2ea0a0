// The person editor window's layout; the buttons and keys hand over to its
// logic.

#include "results/vrkPerson.h"
#include "results/StartDeskLayout.h"
#include "components/framed/FcDBRGrp.h"
#include "results/CaptionBox.h"
#include "results/DropDownOnTyping.h"
#include "results/EditorGridLayout.h"

#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/DBCtrls.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/StdCtrls.h"
#include "resources/StartDeskTexts.h"
#include "results/vrkClub.h"

using namespace startdesk;

TformPerson* formPerson = nullptr;

TformPerson::TformPerson(TComponent* AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("formPerson"));
    SetCaption(txt::startdesk::EditorCaption);
    SetBorderStyle(bsDialog);
    SetBounds(0, 0, 760, 600);
    SetKeyPreview(true);
    auto* page = Make<TLabel>(this, this, 10, 8, 200, 16, QString());
    page->SetCaption(L("Henkilöt"));
    page->Font()->SetStyle(fsBold);

    actPersonEdit = new TAction(this);
    actPersonNew = new TAction(this);
    actPersonDelete = new TAction(this);
    AddEditorButtons(this, this, 230, {{actPersonEdit, "Muokkaa", [this] { FRun.EditPerson(); }},
                                        {actPersonNew, "Uusi", [this] {
                                             FRun.NewPerson();
                                             edtPERSON_NAME->SetFocus();
                                         }},
                                        {actPersonDelete, "Poista", [this] { FRun.DeletePerson(); }}});
    actPersonEdit->SetHint(L("Muokkaa henkilön tietoja (F9)."));
    actPersonNew->SetHint(L("Lisää uusi henkilö (F10)."));

    rdbgrdPerson = MakeGrid(this, this, 10, 34, 740, 210, L("rdbgrdPerson"), DataModule1->dsPersonFD,
                            {{"PERSON_NAME", "Nimi", 280}, {"CONTROL_CARD", "Oma kortti", 120}, {"LICENSE", "Lisenssi", 120},
                             {"COUNTRY", "Maa", 80}});
    GiveGridActions(rdbgrdPerson);
    BuildFields();

    btnCancel = Make<TButton>(this, this, 550, 562, 96, 28, L("btnCancel"));
    btnCancel->SetCaption(L("Peruuta"));
    btnCancel->OnClick = [this](TComponent*) {
        if (CloseClubList())
            return;
        if (FRun.Cancel())
            SetModalResult(mrCancel);
    };
    btnOK = Make<TButton>(this, this, 654, 562, 96, 28, L("btnOK"));
    btnOK->SetCaption(L("OK"));
    btnOK->SetDefault(true);
    btnOK->SetHint(L("Lisää uusi henkilö tai tallenna muutokset."));
    btnOK->OnClick = [this](TComponent*) {
        if (CloseClubList())
            return;
        PostTypedText(FRun.Persons());
        if (FRun.Ok())
            SetModalResult(mrOk);
        else if (FRun.bRentedCardRefused)
            edtCONTROL_CARD->SetFocus();
    };

    AttachEditorEvents(
        this, [this](Word& Key) { KeyDown(Key); }, [this] { return FRun.DropPending(); }, [this] { ToolbarEnabled(true); },
        [this] { return FRun.CloseQuery(); });
    OnClose = [this](TComponent*, TCloseAction&) {
        SaveEditorGridLayout(this, rdbgrdPerson);
        if (formMain && formMain->rdbgrdResultsClass && rDBAction)
            rDBAction->SetActiveGrid(formMain->rdbgrdResultsClass);
    };

    // The save rules reach this window's controls and fields through the link.
    TDataModule1::TPersonEditorLink& link = DataModule1->PersonEditor;
    link.actPersonNew = actPersonNew;
    link.actPersonEdit = actPersonEdit;
    link.actPersonDelete = actPersonDelete;
    link.edtPERSON_NAME = edtPERSON_NAME;
    link.vc_old_person_name = &FRun.vc_old_person_name;
    link.bDataChanged = &FRun.bDataChanged;
}

void TformPerson::BuildFields()
{
    int y = 256;
    auto field = [&](int left, const char* caption, const char* fieldName, int width) {
        return AddFieldEdit(this, this, DataModule1->dsPersonFD, left, 110, y, caption, fieldName, width);
    };
    edtPERSON_NAME = field(10, "Nimi", "PERSON_NAME", 300);
    BuildClubGroup(y);
    y += 62;
    edtCONTROL_CARD = field(10, "Oma kortti", "CONTROL_CARD", 120);
    BuildSex(y);
    y += 30;
    edtLICENSE = field(10, "Lisenssi", "LICENSE", 120);
    edtCOUNTRY = field(10, "Maa", "COUNTRY", 80);
    edtSPORT_ID = field(10, "Sport ID", "SPORT_ID", 120);
    edtPHONE_NUMBER = field(10, "Puhelin", "PHONE_NUMBER", 200);

    chkWebShow = AddFieldCheck(this, this, DataModule1->dsPersonFD, 450, 256, 300, "Näytä nimi Web -tulospalvelussa",
                               "WEB_SHOW");
    chkWebShow->OnClick = [this](TComponent*) { FRun.WebShowClicked(chkWebShow->Checked()); };
    chkPrintReceipt = AddFieldCheck(this, this, DataModule1->dsPersonFD, 450, 282, 300,
                                    "Tulosta henkilölle tuloskuitti", "PRINT_RECEIPT");
    y = 316;
    edtWEB_SHOW_ASKED = field(450, "Web-näyttö muutettu", "WEB_SHOW_ASKED", 170);
    edtINSERTED = field(450, "Lisätty", "INSERTED", 170);
    edtUPDATED = field(450, "Muutettu", "UPDATED", 170);
    edtPERSON_ID = field(450, "Henkilö-id", "PERSON_ID", 120);
    // Stamped by the program, never typed: read-only, and the two that are
    // disabled also look so while the row is edited.
    for (TDBEdit* e : {edtINSERTED, edtUPDATED, edtWEB_SHOW_ASKED, edtPERSON_ID})
        e->SetReadOnly(true);
    for (TDBEdit* e : {edtWEB_SHOW_ASKED, edtPERSON_ID})
        e->SetEnabled(false);
}

void TformPerson::BuildClubGroup(int Y)
{
    auto* group = MakeCaptionBox(this, this, L("grpClub"), L("Seura"), 10, Y, 420, 56);
    edtClub = Make<TDBLookupComboBox>(this, group, 10, 22, 210, 24, L("edtClub"));
    edtClub->SetDataSource(DataModule1->dsPersonFD);
    edtClub->SetDataField(L("CLUB_ID"));
    edtClub->SetListSource(DataModule1->dsLookupClubFD);
    edtClub->KeyField = L("CLUB_ID");
    edtClub->ListField = L("CLUB_NAME");
    edtClub->DropDownRows = 10;
    edtClub->OnCloseUp = [this](TComponent*) { actClubEdit->SetEnabled(FRun.ClubId() != 0); };
    // Typing in the box opens its list, so the operator sees where the
    // letters lead.
    edtClub->OnKeyUp = [this](TComponent*, Word& Key, TShiftState) { DropDownOnTyping(edtClub, Key); };
    actClubEdit = new TAction(this);
    actClubNew = new TAction(this);
    TFcToolbar* bar = progbars::MakeDialogToolbar(this, group, "", 228, 20, 194, 26);
    for (auto [action, caption, run] : {std::tuple{actClubEdit, "Muokkaa", &TformPerson::ClubEdit},
                                        std::tuple{actClubNew, "Uusi", &TformPerson::ClubNew}}) {
        action->SetCaption(L(caption));
        action->OnExecute = [this, run = run](TComponent*) { (this->*run)(); };
    }
    progbars::AddDialogButtons(this, bar, {{actClubEdit, 88}, {actClubNew, 88}});
    actClubEdit->SetHint(L("Muokkaa henkilön seuran tietoja."));
    actClubNew->SetHint(L("Lisää uusi seura ja valitse se henkilölle."));
}

void TformPerson::BuildSex(int Y)
{
    auto* label = Make<TLabel>(this, this, 10, Y + 4, 110, 16, QString());
    label->SetCaption(L("Sukupuoli"));
    // The row's own choice: a framed group bound to the person's sex, with
    // no caption or frame of its own (the label beside it names it).
    rgSex = new TFcDBRadioGroup(this);
    rgSex->SetName(L("rgSex"));
    rgSex->SetParent(this);
    rgSex->SetGroupStyle(gsCustom);
    rgSex->SetBorderOuter(fsNone);
    rgSex->SetBorderInner(fsNone);
    rgSex->SetTransparent(true);
    rgSex->SetParentColor(true);
    rgSex->SetCaption(QString());
    rgSex->SetColumns(2);
    rgSex->SetValues({L("M"), L("F")});
    rgSex->SetItems({L("Mies"), L("Nainen")});
    rgSex->SetBounds(122, Y - 3, 190, 30);
    rgSex->SetDataSource(DataModule1->dsPersonFD);
    rgSex->SetDataField(L("PERSON_SEX"));
    // The choice goes into the row at once, as the editor's other fields do.
    rgSex->OnChange = [this](TComponent*) {
        if (!rgSex->Value().isEmpty())
            FRun.SetSex(rgSex->Value());
    };
}

void TformPerson::ShowSex()
{
    const TField* f = rgSex->Field();
    rgSex->SetValue(f ? f->AsString() : QString());
}

TformPerson::~TformPerson()
{
    rgSex->SetDataSource(nullptr);
    if (DataModule1)
        DataModule1->PersonEditor = {};
}

bool TformPerson::CloseClubList()
{
    if (!edtClub->ListVisible())
        return false;
    edtClub->CloseUp(true);
    return true;
}

void TformPerson::KeyDown(Word& Key) { EditorKey(Key, actPersonEdit, actPersonNew, btnCancel); }

void TformPerson::ToolbarEnabled(bool Enabled)
{
    EditorToolbarEnabled(Enabled, {actPersonNew, actPersonEdit, actPersonDelete}, rdbgrdPerson);
}

void TformPerson::ClubEdit()
{
    if (!formClub)
        return;
    const int64_t clubId = FRun.ClubId();
    formClub->Run().iClubId = clubId;
    formClub->Opening();
    formClub->ShowModal();
    FRun.ClubEdited(formClub->Run().bDataChanged);
    MakeActiveGrid(rdbgrdPerson);
}

void TformPerson::ClubNew()
{
    if (!formClub)
        return;
    formClub->Run().iClubId = 0;
    formClub->Opening();
    formClub->ShowModal();
    if (formClub->Run().bDataChanged)
        FRun.ClubAdded(formClub->Run().iNewClubId);
    actClubEdit->SetEnabled(FRun.ClubId() != 0);
    MakeActiveGrid(rdbgrdPerson);
}

void TformPerson::Opening()
{
    CentreOnMainForm(this, -20);
    ReadEditorGridLayout(this, rdbgrdPerson);
    ToolbarEnabled(true);
    FRun.Open();
    MakeActiveGrid(rdbgrdPerson);
    ShowSex();
    // A new person is typed first; the list stays out of the way until saved.
    if (FRun.bNewPerson)
        ToolbarEnabled(false);
    actClubEdit->SetEnabled(FRun.ClubId() != 0);
    edtPERSON_NAME->SetFocus();
}
