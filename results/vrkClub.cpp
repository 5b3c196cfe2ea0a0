// The club editor window's layout; the buttons and keys hand over to its
// logic.

#include "results/vrkClub.h"
#include "results/StartDeskLayout.h"
#include "results/EditorGridLayout.h"

#include "components/base/rTabControlEx.h"
#include "data/vrkDataModule.h"
#include "platform/ui/ComCtrls.h"
#include "resources/StartDeskTexts.h"
#include "results/vrkPerson.h"

using namespace startdesk;

TformClub* formClub = nullptr;

TformClub::TformClub(TComponent* AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("formClub"));
    SetCaption(txt::startdesk::EditorCaption);
    SetBorderStyle(bsDialog);
    SetBounds(0, 0, 760, 560);
    SetKeyPreview(true);
    pcPages = Make<TrPageControlEx>(this, this, 4, 4, 752, 510, L("pcPages"));
    tsClubs = new TTabSheet(this);
    tsClubs->SetName(L("tsClubs"));
    tsClubs->SetPageControl(pcPages);
    tsClubs->SetCaption(L("Seurat"));
    pcPages->SetActivePage(tsClubs);

    actClubEdit = new TAction(this);
    actClubNew = new TAction(this);
    actClubDelete = new TAction(this);
    AddEditorButtons(this, tsClubs, 6, {{actClubEdit, "Muokkaa", [this] { FRun.EditClub(); }},
                                         {actClubNew, "Uusi", [this] { FRun.NewClub(); }},
                                         {actClubDelete, "Poista", [this] { FRun.DeleteClub(); }}});
    rdbgrdClub = MakeGrid(this, tsClubs, 6, 34, 732, 200, L("rdbgrdClub"), DataModule1->dsClubFD,
                          {{"CLUB_NAME", "Nimi", 300}, {"CLUB_ABBR", "Lyhenne", 120}, {"REGION_NAME", "Alue", 200},
                           {"COUNTRY", "Maa", 80}});
    GiveGridActions(rdbgrdClub);
    BuildFields(tsClubs);

    btnCancel = Make<TrButton>(this, this, 556, 524, 96, 28, L("btnCancel"));
    btnCancel->SetCaption(L("Peruuta"));
    btnCancel->OnClick = [this](TComponent*) {
        if (FRun.Cancel())
            SetModalResult(mrCancel);
    };
    btnOK = Make<TrButton>(this, this, 660, 524, 96, 28, L("btnOK"));
    btnOK->SetCaption(L("OK"));
    btnOK->SetDefault(true);
    btnOK->SetHint(L("Lisää uusi seura tai tallenna muutokset."));
    btnOK->OnClick = [this](TComponent*) {
        PostTypedText(FRun.Clubs());
        if (FRun.Ok())
            SetModalResult(mrOk);
    };

    AttachEditorEvents(
        this, [this](Word& Key) { KeyDown(Key); }, [this] { return FRun.DropPending(); }, [this] { ToolbarEnabled(true); },
        [this] { return FRun.CloseQuery(); });
    OnClose = [this](TComponent*, TCloseAction&) {
        SaveEditorGridLayout(this, rdbgrdClub);
        if (formPerson)
            MakeActiveGrid(formPerson->rdbgrdPerson);
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

void TformClub::BuildFields(TTabSheet* Page)
{
    int y = 246;
    int left = 6;
    auto field = [&](const char* caption, const char* fieldName, int width) {
        return AddFieldEdit(this, Page, DataModule1->dsClubFD, left, 130, y, caption, fieldName, width);
    };
    edtCLUB_NAME = field("Nimi", "CLUB_NAME", 250);
    edtCLUB_NAME->SetHint(L("Seuran nimi, joka näytetään tuloksissa."));
    edtCLUB_ABBR = field("Lyhenne", "CLUB_ABBR", 120);
    edtLOCATION_NAME = field("Paikkakunta", "LOCATION_NAME", 200);
    edtREGION_NAME = field("Alue", "REGION_NAME", 200);
    edtREGION_ABBR = field("Alueen lyhenne", "REGION_ABBR", 80);
    edtCOUNTRY = field("Maa", "COUNTRY", 80);
    edtWWW_ADDR = field("Web-osoite", "WWW_ADDR", 250);
    y = 246;
    left = 420;
    edtINSERTED = field("Lisätty", "INSERTED", 140);
    edtUPDATED = field("Muutettu", "UPDATED", 140);
    edtINSERTED->SetReadOnly(true);
    edtUPDATED->SetReadOnly(true);
    AddFieldCheck(this, Page, DataModule1->dsClubFD, left, y, 250, "Pistelaskennassa", "SCORE_CALCULATION");
}

void TformClub::KeyDown(Word& Key) { EditorKey(Key, actClubEdit, actClubNew, btnCancel); }

void TformClub::ToolbarEnabled(bool Enabled)
{
    EditorToolbarEnabled(Enabled, {actClubNew, actClubEdit, actClubDelete}, rdbgrdClub);
}

TformClub::~TformClub()
{
    if (DataModule1)
        DataModule1->ClubEditor = {};
}

void TformClub::Opening()
{
    CentreOnMainForm(this, 20);
    ReadEditorGridLayout(this, rdbgrdClub);
    ToolbarEnabled(true);
    FRun.Open();
    MakeActiveGrid(rdbgrdClub);
    // A new club is typed first; the list stays out of the way until saved.
    if (FRun.bNewClub)
        ToolbarEnabled(false);
    edtCLUB_NAME->SetFocus();
}
