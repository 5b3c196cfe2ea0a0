// The person merge dialog's layout; the choosing and OK are its logic's.

#include "results/vrkPersonMerge.h"
#include "results/StartDeskLayout.h"

#include "data/vrkDataModule.h"
#include "platform/ui/DBCtrls.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/StdCtrls.h"

using namespace startdesk;

TformPersonMerge* formPersonMerge = nullptr;

namespace {

TLabel* MakeLabel(TComponent* owner, TWinControl* parent, int x, int y, int w, int h, const char* text)
{
    auto* l = Make<TLabel>(owner, parent, x, y, w, h, QString());
    l->SetCaption(L(text));
    return l;
}

}  // namespace

TformPersonMerge::TformPersonMerge(TComponent* AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("formPersonMerge"));
    SetCaption(L("Yhdistä henkilöt"));
    SetBounds(0, 0, 600, 600);
    SetKeyPreview(true);
    auto* page = MakeLabel(this, this, 10, 8, 580, 16, "Yhdistä toinen henkilö tähän henkilöön");
    page->Font()->SetStyle(fsBold);
    auto* p1 = MakeLabel(this, this, 10, 30, 580, 34,
                       "Tällä toiminnolla yhdistetään kaksi eri henkilöä yhdeksi henkilöksi. Yhdistettävän henkilön "
                       "suoritukset yhdistetään tämän henkilön suorituksiin ja yhdistettävä henkilö poistetaan.");
    p1->SetWordWrap(true);
    auto* p2 = MakeLabel(this, this, 10, 70, 580, 16, "Valitse yhdistettävä henkilö ja suorita yhdistäminen OK -painikkeella.");
    p2->SetWordWrap(true);

    auto* kept = Make<TGroupBox>(this, this, 10, 96, 580, 120, QString());
    kept->SetCaption(L("Henkilö"));
    auto dbField = [&](const char* caption, const char* field, int y, int width) {
        MakeLabel(this, kept, 10, y + 4, 100, 16, caption);
        auto* e = Make<TDBEdit>(this, kept, 120, y, width, 24, QStringLiteral("edt") + QString::fromLatin1(field));
        e->SetDataSource(DataModule1->dsPersonFD);
        e->SetDataField(QString::fromLatin1(field));
        e->SetReadOnly(true);
        return e;
    };
    edtPERSON_NAME = dbField("Nimi", "PERSON_NAME", 22, 300);
    edtPERSON_NAME->SetHint(L("Henkilön nimi, joka jää voimaan yhdistämisen jälkeen."));
    edtSPORT_ID = dbField("Sport ID", "SPORT_ID", 52, 120);
    MakeLabel(this, kept, 10, 86, 100, 16, "Seura");
    edtClub = Make<TDBLookupComboBox>(this, kept, 120, 82, 300, 24, L("edtClub"));
    edtClub->SetDataSource(DataModule1->dsPersonFD);
    edtClub->SetDataField(L("CLUB_ID"));
    edtClub->SetListSource(DataModule1->dsLookupClubFD);
    edtClub->KeyField = L("CLUB_ID");
    edtClub->ListField = L("CLUB_NAME");
    edtClub->SetEnabled(false);

    auto* other = Make<TGroupBox>(this, this, 10, 226, 580, 320, QString());
    other->SetCaption(L("Yhdistettävä henkilö"));
    lblStatus = Make<TLabel>(this, other, 10, 24, 40, 24, L("lblStatus"));
    lblStatus->Font()->SetStyle(fsBold);
    lblStatus->SetHint(L("Henkilövalinnan tila."));
    edtSearchPersons = Make<TEdit>(this, other, 60, 22, 400, 24, L("edtSearchPersons"));
    edtSearchPersons->SetHint(
        L("Valitse yhdistettävä henkilö. Aloita syöttämään henkilön nimen (etu- tai sukunimi) ensimmäisiä merkkejä "
          "ja alla oleva taulukko suodatetaan."));
    edtSearchPersons->OnChange = [this](TComponent*) {
        FRun.SetSearch(edtSearchPersons->Text());
        Sync();
    };
    rButton1 = Make<TButton>(this, other, 470, 22, 100, 24, L("rButton1"));
    rButton1->SetCaption(L("Tyhjennä"));
    rButton1->SetHint(
        L("Tyhjennä henkilöiden suodatus. Ennen suodatusta valittuna ollut henkilö palautetaan valituksi."));
    rButton1->OnClick = [this](TComponent*) {
        FRun.ClearSearch();
        edtSearchPersons->SetText(FRun.Search);
        Sync();
    };
    rdbgrdPersons = Make<TDBGrid>(this, other, 10, 56, 560, 254, L("rdbgrdPersons"));
    rdbgrdPersons->SetDataSource(DataModule1->dsLookupPersonFD);
    rdbgrdPersons->SetHint(L("Valitse yhdistettävä henkilö. Valinta tehdään kaksoisnapsauttamalla."));
    const struct {
        const char* Field;
        const char* Title;
        int Width;
    } cols[] = {{"PERSON_NAME", "Henkilö", 300}, {"CLUB_NAME", "Seura", 220}};
    for (const auto& c : cols) {
        TColumn* col = rdbgrdPersons->Columns()->Add();
        col->SetFieldName(QString::fromLatin1(c.Field));
        col->Title()->SetCaption(L(c.Title));
        col->SetWidth(c.Width);
    }
    rdbgrdPersons->OnDblClick = [this](TComponent*) {
        FRun.SelectPerson(0);
        Sync();
    };

    btnCancel = Make<TButton>(this, this, 390, 560, 96, 28, L("btnCancel"));
    btnCancel->SetCaption(L("Peruuta"));
    btnCancel->OnClick = [this](TComponent*) {
        FRun.Cancel();
        SetModalResult(mrCancel);
    };
    btnOK = Make<TButton>(this, this, 494, 560, 96, 28, L("btnOK"));
    btnOK->SetCaption(L("OK"));
    btnOK->SetDefault(true);
    btnOK->OnClick = [this](TComponent*) {
        if (FRun.Ok())
            SetModalResult(mrOk);
    };
    // Escape first clears a search in hand; only an empty search cancels.
    OnKeyDown = [this](TComponent*, Word& Key, TShiftState) {
        if (Key != VK_ESCAPE)
            return;
        if (!FRun.Search.isEmpty())
            rButton1->Click();
        else
            btnCancel->Click();
        Key = 0;
    };
}

void TformPersonMerge::Sync()
{
    lblStatus->SetCaption(FRun.ShowsOK() ? L("OK") : L("?"));
    lblStatus->Font()->SetColor(FRun.ShowsOK() ? clGreen : clRed);
}

void TformPersonMerge::Opening()
{
    edtSearchPersons->SetText(QString());
    FRun.Open();
    Sync();
    edtSearchPersons->SetFocus();
}
