// The club editor window's layout; the buttons hand over to its logic.

#include "results/vrkClub.h"
#include "results/StartDeskLayout.h"

#include "data/vrkDataModule.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/DBCtrls.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/StdCtrls.h"
#include "resources/StartDeskTexts.h"

using namespace startdesk;

TformClub* formClub = nullptr;

TformClub::TformClub(TComponent* AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("formClub"));
    SetCaption(txt::startdesk::EditorCaption);
    SetBounds(0, 0, 760, 540);
    SetKeyPreview(true);
    auto* page = Make<TLabel>(this, this, 10, 8, 200, 16, QString());
    page->SetCaption(L("Seurat"));
    page->Font()->SetStyle(fsBold);

    actClubEdit = new TAction(this);
    actClubNew = new TAction(this);
    actClubDelete = new TAction(this);
    AddEditorButtons(this, this, 230, {{actClubEdit, "Muokkaa", [this] { FRun.EditClub(); }},
                                        {actClubNew, "Uusi", [this] { FRun.NewClub(); }},
                                        {actClubDelete, "Poista", [this] { FRun.DeleteClub(); }}});

    rdbgrdClub = Make<TDBGrid>(this, this, 10, 34, 740, 200, L("rdbgrdClub"));
    rdbgrdClub->SetDataSource(DataModule1->dsClubFD);
    AddGridColumns(rdbgrdClub, {{"CLUB_NAME", "Nimi", 300}, {"CLUB_ABBR", "Lyhenne", 120}, {"REGION_NAME", "Alue", 200},
                                {"COUNTRY", "Maa", 80}});

    int y = 246;
    int left = 10;
    auto field = [&](const char* caption, const char* fieldName, int width) {
        return AddFieldEdit(this, this, DataModule1->dsClubFD, left, 130, y, caption, fieldName, width);
    };
    edtCLUB_NAME = field("Nimi", "CLUB_NAME", 300);
    edtCLUB_NAME->SetHint(L("Seuran nimi, joka näytetään tuloksissa."));
    edtCLUB_ABBR = field("Lyhenne", "CLUB_ABBR", 120);
    edtLOCATION_NAME = field("Paikkakunta", "LOCATION_NAME", 200);
    edtREGION_NAME = field("Alue", "REGION_NAME", 200);
    edtREGION_ABBR = field("Alueen lyhenne", "REGION_ABBR", 80);
    edtCOUNTRY = field("Maa", "COUNTRY", 80);
    edtWWW_ADDR = field("Web-osoite", "WWW_ADDR", 300);
    y = 246;
    left = 470;
    edtINSERTED = field("Lisätty", "INSERTED", 140);
    edtUPDATED = field("Päivitetty", "UPDATED", 140);
    edtINSERTED->SetReadOnly(true);
    edtUPDATED->SetReadOnly(true);
    auto* scoring = Make<TDBCheckBox>(this, this, left, y, 250, 20, L("chkSCORE_CALCULATION"));
    scoring->SetCaption(L("Pistelaskennassa"));
    scoring->SetDataSource(DataModule1->dsClubFD);
    scoring->SetDataField(L("SCORE_CALCULATION"));
    scoring->ValueChecked = L("K");
    scoring->ValueUnchecked = L("E");

    btnCancel = Make<TButton>(this, this, 550, 500, 96, 28, L("btnCancel"));
    btnCancel->SetCaption(L("Peruuta"));
    btnCancel->OnClick = [this](TComponent*) {
        if (FRun.Cancel())
            SetModalResult(mrCancel);
    };
    btnOK = Make<TButton>(this, this, 654, 500, 96, 28, L("btnOK"));
    btnOK->SetCaption(L("OK"));
    btnOK->SetDefault(true);
    btnOK->SetHint(L("Lisää uusi seura tai tallenna muutokset."));
    btnOK->OnClick = [this](TComponent*) {
        PostTypedText(FRun.Clubs());
        if (FRun.Ok())
            SetModalResult(mrOk);
    };

    // F9 edits, F10 adds, Escape cancels as "Peruuta" does.
    OnKeyDown = [this](TComponent*, Word& Key, TShiftState) {
        if (Key == VK_F9)
            FRun.EditClub();
        else if (Key == VK_F10)
            FRun.NewClub();
        else if (Key == VK_ESCAPE)
            btnCancel->Click();
        else
            return;
        Key = 0;
    };

    // The save rules reach this window's controls and fields through the link.
    TDataModule1::TClubEditorLink& link = DataModule1->ClubEditor;
    link.actClubNew = actClubNew;
    link.actClubEdit = actClubEdit;
    link.actClubDelete = actClubDelete;
    link.edtCLUB_NAME = edtCLUB_NAME;
    link.vc_old_club_name = &FRun.vc_old_club_name;
    link.bDataChanged = &FRun.bDataChanged;
}

TformClub::~TformClub()
{
    if (DataModule1)
        DataModule1->ClubEditor = {};
}

void TformClub::Opening()
{
    FRun.Open();
    edtCLUB_NAME->SetFocus();
}
