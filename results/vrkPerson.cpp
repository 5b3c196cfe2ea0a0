// The person editor window's layout; OK and "Peruuta" hand over to its logic.

#include "results/vrkPerson.h"
#include "results/StartDeskLayout.h"

#include "data/vrkDataModule.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/DBCtrls.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/StdCtrls.h"
#include "resources/StartDeskTexts.h"

using namespace startdesk;

TformPerson* formPerson = nullptr;

TformPerson::TformPerson(TComponent* AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("formPerson"));
    SetCaption(txt::startdesk::EditorCaption);
    SetBounds(0, 0, 760, 520);
    SetKeyPreview(true);
    auto* page = Make<TLabel>(this, this, 10, 8, 200, 16, QString());
    page->SetCaption(L("Henkilöt"));
    page->Font()->SetStyle(fsBold);

    actPersonEdit = new TAction(this);
    actPersonNew = new TAction(this);
    actPersonDelete = new TAction(this);
    AddEditorButtons(this, this, 230, {{actPersonEdit, "Muokkaa", [this] { FRun.EditPerson(); }},
                                        {actPersonNew, "Uusi", [this] { FRun.NewPerson(); }},
                                        {actPersonDelete, "Poista", [this] { FRun.DeletePerson(); }}});

    rdbgrdPerson = MakeGrid(this, this, 10, 34, 740, 210, L("rdbgrdPerson"), DataModule1->dsPersonFD,
                            {{"PERSON_NAME", "Nimi", 280}, {"CONTROL_CARD", "Oma kortti", 120}, {"LICENSE", "Lisenssi", 120},
                             {"COUNTRY", "Maa", 80}});

    int y = 256;
    auto field = [&](const char* caption, const char* fieldName, int width) {
        return AddFieldEdit(this, this, DataModule1->dsPersonFD, 10, 150, y, caption, fieldName, width);
    };
    edtPERSON_NAME = field("Nimi", "PERSON_NAME", 300);
    auto* clubLabel = Make<TLabel>(this, this, 10, y + 4, 150, 16, QString());
    clubLabel->SetCaption(L("Seura"));
    edtClub = Make<TDBLookupComboBox>(this, this, 170, y, 300, 24, L("edtClub"));
    edtClub->SetDataSource(DataModule1->dsPersonFD);
    edtClub->SetDataField(L("CLUB_ID"));
    edtClub->SetListSource(DataModule1->dsLookupClubFD);
    edtClub->KeyField = L("CLUB_ID");
    edtClub->ListField = L("CLUB_NAME");
    y += 30;
    edtCONTROL_CARD = field("Oma kortti", "CONTROL_CARD", 120);
    edtLICENSE = field("Lisenssi", "LICENSE", 120);
    edtCOUNTRY = field("Maa", "COUNTRY", 80);
    edtSPORT_ID = field("Sport ID", "SPORT_ID", 120);
    edtPHONE_NUMBER = field("Puhelin", "PHONE_NUMBER", 200);
    const struct {
        const char* Caption;
        const char* Field;
    } checks[] = {{"Näytä nimi Web -tulospalvelussa", "WEB_SHOW"}, {"Tulosta henkilölle tuloskuitti", "PRINT_RECEIPT"}};
    int cy = 256;
    for (const auto& c : checks) {
        auto* box = Make<TDBCheckBox>(this, this, 500, cy, 250, 20, QString());
        box->SetCaption(L(c.Caption));
        box->SetDataSource(DataModule1->dsPersonFD);
        box->SetDataField(QString::fromLatin1(c.Field));
        box->ValueChecked = L("K");
        box->ValueUnchecked = L("E");
        cy += 26;
    }

    btnCancel = Make<TButton>(this, this, 550, 480, 96, 28, L("btnCancel"));
    btnCancel->SetCaption(L("Peruuta"));
    btnCancel->OnClick = [this](TComponent*) {
        if (FRun.Cancel())
            SetModalResult(mrCancel);
    };
    btnOK = Make<TButton>(this, this, 654, 480, 96, 28, L("btnOK"));
    btnOK->SetCaption(L("OK"));
    btnOK->SetDefault(true);
    btnOK->SetHint(L("Lisää uusi henkilö tai tallenna muutokset."));
    btnOK->OnClick = [this](TComponent*) {
        PostTypedText(FRun.Persons());
        if (FRun.Ok())
            SetModalResult(mrOk);
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

TformPerson::~TformPerson()
{
    if (DataModule1)
        DataModule1->PersonEditor = {};
}

void TformPerson::Opening()
{
    CentreOnMainForm(this, -20);
    FRun.Open();
    MakeActiveGrid(rdbgrdPerson);
}
