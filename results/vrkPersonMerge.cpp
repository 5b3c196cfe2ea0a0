// The person merge dialog's layout; the choosing and OK are its logic's.

#include "results/vrkPersonMerge.h"
#include "results/StartDeskLayout.h"

#include "app/vrkMainForm.h"
#include "components/base/rGroupBox.h"
#include "components/dbcontrols/TrDBLookupComboBox.h"
#include "results/DropDownOnTyping.h"
#include "components/framed/FcEdit.h"
#include "data/vrkDataModule.h"
#include "platform/ui/ExtCtrls.h"
#include "resources/StartDeskTexts.h"

using namespace startdesk;

TformPersonMerge* formPersonMerge = nullptr;

namespace {

constexpr TColor kChosenRow = RGB(144, 238, 144);

TLabel* MakeLabel(TComponent* owner, TWinControl* parent, int x, int y, int w, int h, const char* text)
{
    auto* l = Make<TLabel>(owner, parent, x, y, w, h, QString());
    l->SetCaption(L(text));
    return l;
}

// A status picture from the program's glyph set, hidden until the status
// calls for it.
TImage* StatusGlyph(TComponent* owner, TWinControl* parent, const char* name, const char* glyph)
{
    auto* img = Make<TImage>(owner, parent, 10, 26, 24, 24, L(name));
    TBitmap bmp;
    bmp.LoadFromResourceName(QString::fromLatin1(glyph));
    img->Picture()->AssignBitmap(&bmp);
    img->Stretch = true;
    img->Proportional = true;
    img->SetHint(L("Henkilövalinnan tila."));
    img->Hide();
    return img;
}

}  // namespace

TformPersonMerge::TformPersonMerge(TComponent* AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("formPersonMerge"));
    SetCaption(txt::startdesk::MergeCaption);
    SetBorderStyle(bsDialog);
    SetBounds(0, 0, 600, 620);
    SetKeyPreview(true);
    auto* page = MakeLabel(this, this, 10, 8, 580, 16, "Yhdistä toinen henkilö tähän henkilöön");
    page->Font()->SetStyle(fsBold);
    auto* p1 = MakeLabel(this, this, 10, 30, 580, 34,
                         "Tällä toiminnolla yhdistetään kaksi eri henkilöä yhdeksi henkilöksi. Yhdistettävän henkilön "
                         "suoritukset yhdistetään tämän henkilön suorituksiin ja yhdistettävä henkilö poistetaan.");
    p1->SetWordWrap(true);
    auto* p2 = MakeLabel(this, this, 10, 72, 580, 16, "Valitse yhdistettävä henkilö ja suorita yhdistäminen OK -painikkeella.");
    p2->SetWordWrap(true);
    BuildKeptPerson();
    BuildCandidates();

    btnCancel = Make<TrButton>(this, this, 390, 580, 96, 28, L("btnCancel"));
    btnCancel->SetCaption(L("Peruuta"));
    btnCancel->OnClick = [this](TComponent*) {
        FRun.Cancel();
        SetModalResult(mrCancel);
    };
    btnOK = Make<TrButton>(this, this, 494, 580, 96, 28, L("btnOK"));
    btnOK->SetCaption(L("OK"));
    btnOK->OnClick = [this](TComponent*) {
        if (FRun.Ok())
            SetModalResult(mrOk);
    };
    OnKeyDown = [this](TComponent*, Word& Key, TShiftState) { KeyDown(Key); };
    OnClose = [](TComponent*, TCloseAction&) {
        if (formMain && formMain->rdbgrdResultsClass && rDBAction)
            rDBAction->SetActiveGrid(formMain->rdbgrdResultsClass);
    };
}

void TformPersonMerge::BuildKeptPerson()
{
    grpPerson = Make<TrGroupBox>(this, this, 10, 98, 580, 126, L("grpPerson"));
    grpPerson->SetCaption(L("Henkilö"));
    auto dbField = [&](const char* caption, const char* field, int y, int width) {
        MakeLabel(this, grpPerson, 10, y + 4, 100, 16, caption);
        auto* e = Make<TrDBEdit>(this, grpPerson, 120, y, width, 24, QStringLiteral("edt") + QString::fromLatin1(field));
        e->SetDataSource(DataModule1->dsPersonFD);
        e->SetDataField(QString::fromLatin1(field));
        e->DBEditLabel()->SetVisible(false);
        e->DBEditLabel()->StoreVisible();
        e->SetReadOnly(true);
        return e;
    };
    edtPERSON_NAME = dbField("Nimi", "PERSON_NAME", 28, 300);
    edtPERSON_NAME->SetHint(L("Henkilön nimi, joka jää voimaan yhdistämisen jälkeen."));
    edtSPORT_ID = dbField("Sport ID", "SPORT_ID", 58, 120);
    MakeLabel(this, grpPerson, 10, 92, 100, 16, "Seura");
    edtClub = Make<TrDBLookupComboBox>(this, grpPerson, 120, 88, 300, 24, L("edtClub"));
    edtClub->SetDataSource(DataModule1->dsPersonFD, L("CLUB_ID"));
    edtClub->SetListSource(DataModule1->dsLookupClubFD);
    edtClub->KeyField = L("CLUB_ID");
    edtClub->ListField = L("CLUB_NAME");
    edtClub->DBEditLabel()->SetVisible(false);
    edtClub->DBEditLabel()->StoreVisible();
    edtClub->ReadOnly = true;
    // read-only, but its list opens on a typed key to show the clubs
    edtClub->OnKeyUp = [this](TComponent*, Word& Key, TShiftState) { DropDownOnTyping(edtClub, Key); };
    // The person grid holds the kept person's row; only its dataset is used.
    rdbgrdPerson = MakeGrid(this, grpPerson, 440, 28, 120, 80, L("rdbgrdPerson"), DataModule1->dsPersonFD,
                            {{"PERSON_NAME", "Nimi", 100}});
    rdbgrdPerson->SetVisible(false);
}

void TformPersonMerge::BuildCandidates()
{
    grpMerged = Make<TrGroupBox>(this, this, 10, 232, 580, 338, L("grpMerged"));
    grpMerged->SetCaption(L("Yhdistettävä henkilö"));
    imgQuestion = StatusGlyph(this, grpMerged, "imgQuestion", "DLGQUESTION");
    imgOK = StatusGlyph(this, grpMerged, "imgOK", "DLGBTNOK");
    imgExlamation = StatusGlyph(this, grpMerged, "imgExlamation", "DLGWARNING");
    edtSearchPersons = Make<TFcEdit>(this, grpMerged, 44, 26, 416, 24, L("edtSearchPersons"));
    edtSearchPersons->SetHint(
        L("Valitse yhdistettävä henkilö. Aloita syöttämään henkilön nimen (etu- tai sukunimi) ensimmäisiä merkkejä "
          "ja alla oleva taulukko suodatetaan."));
    edtSearchPersons->OnChange = [this](TComponent*) {
        if (FSyncing)
            return;
        FRun.SetSearch(edtSearchPersons->GetText());
        Sync();
    };
    // Up and Down released in the search move the candidate list.
    edtSearchPersons->OnKeyUp = [this](TComponent*, Word& Key, TShiftState) {
        if (StepListOnArrow(*DataModule1->fbQueryLookupPersonFD, Key))
            Sync();
    };
    rButton1 = Make<TrButton>(this, grpMerged, 468, 25, 100, 26, L("rButton1"));
    rButton1->SetCaption(L("Tyhjennä"));
    rButton1->SetHint(
        L("Tyhjennä henkilöiden suodatus. Ennen suodatusta valittuna ollut henkilö palautetaan valituksi."));
    rButton1->OnClick = [this](TComponent*) {
        FRun.ClearSearch();
        Sync();
        edtSearchPersons->SetFocus();
    };
    rdbgrdPersons = MakeGrid(this, grpMerged, 10, 60, 558, 266, L("rdbgrdPersons"), DataModule1->dsLookupPersonFD,
                             {{"PERSON_NAME", "Henkilö", 300}, {"CLUB_NAME", "Seura", 220}});
    rdbgrdPersons->SetHint(L("Valitse yhdistettävä henkilö. Valinta tehdään kaksoisnapsauttamalla."));
    ChosenRowsShow(rdbgrdPersons);
    // A double click chooses the row, or on the chosen person removes the choice.
    rdbgrdPersons->OnDblClick = [this](TComponent*) {
        FRun.SelectPerson(0);
        Sync();
        edtSearchPersons->SetFocus();
    };
    rdbgrdPersons->OnDrawColumnCell = [this](TComponent*, const TRect& Rect, int DataCol, TColumn* Column,
                                             TGridDrawState State) {
        if (FRun.IsChosenRow()) {
            rdbgrdPersons->Canvas()->Brush()->SetColor(kChosenRow);
            rdbgrdPersons->Canvas()->Font()->SetColor(clBlack);
        }
        rdbgrdPersons->DefaultDrawColumnCell(Rect, DataCol, Column, State);
    };
}

// Enter chooses, Escape clears the search or cancels, Up and Down move the
// list while the search is typed.
void TformPersonMerge::KeyDown(Word& Key)
{
    TDataSet& list = *DataModule1->fbQueryLookupPersonFD;
    if (Key == VK_RETURN) {
        FRun.EnterKey();
    } else if (Key == VK_ESCAPE) {
        if (FRun.EscapeKey()) {
            btnCancel->Click();
            Key = 0;
            return;
        }
    } else {
        return;
    }
    Key = 0;
    Sync();
}

void TformPersonMerge::Sync()
{
    FSyncing = true;
    if (edtSearchPersons->GetText() != FRun.Search)
        edtSearchPersons->SetText(FRun.Search);
    FSyncing = false;
    imgOK->SetVisible(FRun.ShowsOK());
    imgQuestion->SetVisible(!FRun.ShowsOK());
    imgExlamation->SetVisible(false);
    rdbgrdPersons->Invalidate();
}

void TformPersonMerge::Opening()
{
    CentreOnMainForm(this, -20);
    FSyncing = true;
    edtSearchPersons->SetText(QString());
    FSyncing = false;
    FRun.Open();
    if (FRun.iPersonId != 0)
        MakeActiveGrid(rdbgrdPerson);
    Sync();
    edtSearchPersons->SetFocus();
}
