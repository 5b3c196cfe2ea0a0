// The new class dialog's layout; the checks and the insert are its logic's.

#include "results/vrkNewClass.h"
#include "results/StartDeskLayout.h"

#include "platform/ui/StdCtrls.h"
#include "resources/StartDeskTexts.h"

TformNewClass* formNewClass = nullptr;

using startdesk::CentreOnMainForm;
using startdesk::L;

TformNewClass::TformNewClass(TComponent* AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("formNewClass"));
    SetCaption(txt::startdesk::NewClassCaption);
    SetBounds(0, 0, 520, 410);
    SetBorderStyle(bsDialog);
    int y = 12;
    auto field = [&](const char* caption, const char* name, int width, int maxLength, const char* hint) {
        auto* l = new TLabel(this);
        l->SetParent(this);
        l->SetBounds(12, y + 4, 140, 16);
        l->SetCaption(L(caption));
        auto* e = new TEdit(this);
        e->SetName(QString::fromLatin1(name));
        e->SetParent(this);
        e->SetBounds(160, y, width, 24);
        if (maxLength > 0)
            e->SetMaxLength(maxLength);
        if (hint)
            e->SetHint(L(hint));
        y += 32;
        return e;
    };
    edtClassName = field("Radan nimi", "edtClassName", 200, 0, nullptr);
    edtLength = field("Radan pituus (m)", "edtLength", 80, 0, "Syötä radan pituus metreissä");
    edtControlsString =
        field("Koodit", "edtControlsString", 340, 4000, "Syötä radan rastit pilkuilla eroteltuina. Älä syötä maalin koodia.");
    edtFinishCode = field("Maalin koodi", "edtFinishCode", 60, 3, nullptr);
    edtFee = field("Maksu", "edtFee", 80, 0, nullptr);
    edtClimb = field("Nousu", "edtClimb", 80, 0, nullptr);
    edtMassStartTime = field("Yhteislähdön aika", "edtMassStartTime", 100, 10,
                             "Yhteislähdön aika (HH:MM:SS), jos kaikki tämän sarjan osallistujat lähtevät yhteislähdössä yhtä aikaa.");
    edtCalcScoring = field("Pistelaskenta", "edtCalcScoring", 200, 20, nullptr);
    edtNotes = field("Lisätiedot", "edtNotes", 340, 1000, nullptr);

    const struct {
        TEdit* Edit;
        bool (TNewClassRun::*Leave)();
        QString TNewClassRun::*Field;
    } numbers[] = {{edtLength, &TNewClassRun::LeaveLength, &TNewClassRun::Length},
                   {edtFee, &TNewClassRun::LeaveFee, &TNewClassRun::Fee},
                   {edtClimb, &TNewClassRun::LeaveClimb, &TNewClassRun::Climb}};
    // A number field that is left with a bad number turns red and says why
    // below the fields; no box interrupts the typing in the next field. OK
    // refuses it with the message.
    lblCheck = new TLabel(this);
    lblCheck->SetParent(this);
    lblCheck->SetBounds(12, y + 2, 496, 30);
    lblCheck->SetWordWrap(true);
    lblCheck->Font()->SetColor(clRed);
    for (const auto& n : numbers) {
        n.Edit->OnExit = [this, n](TComponent*) {
            FRun.*n.Field = n.Edit->Text();
            const QString error = FRun.QuietLeave(FRun.*n.Field);
            n.Edit->SetColor(error.isEmpty() ? clWindow : RGB(255, 200, 200));
            lblCheck->SetCaption(error);
            if (error.isEmpty())
                n.Edit->SetText(FRun.*n.Field);
        };
    }
    btnCancel = new TButton(this);
    btnCancel->SetParent(this);
    btnCancel->SetBounds(310, 372, 96, 28);
    btnCancel->SetCancel(true);
    btnCancel->SetCaption(L("Peruuta"));
    btnCancel->SetHint(L("Peruuta uuden sarjan/radan lisäys."));
    btnCancel->OnClick = [this](TComponent*) { SetModalResult(mrCancel); };
    btnOK = new TButton(this);
    btnOK->SetParent(this);
    btnOK->SetBounds(414, 372, 96, 28);
    btnOK->SetCaption(L("OK"));
    btnOK->SetDefault(true);
    btnOK->SetHint(L("Lisää uusi sarja/rata."));
    btnOK->OnClick = [this](TComponent*) {
        ToRun();
        if (FRun.Ok())
            SetModalResult(mrOk);
    };
}

void TformNewClass::ToRun()
{
    FRun.ClassName = edtClassName->Text();
    FRun.Length = edtLength->Text();
    FRun.ControlsString = edtControlsString->Text();
    FRun.FinishCode = edtFinishCode->Text();
    FRun.Fee = edtFee->Text();
    FRun.Climb = edtClimb->Text();
    FRun.MassStartTime = edtMassStartTime->Text();
    FRun.CalcScoring = edtCalcScoring->Text();
    FRun.Notes = edtNotes->Text();
}

void TformNewClass::FromRun()
{
    edtClassName->SetText(FRun.ClassName);
    edtLength->SetText(FRun.Length);
    edtControlsString->SetText(FRun.ControlsString);
    edtFinishCode->SetText(FRun.FinishCode);
    edtFee->SetText(FRun.Fee);
    edtClimb->SetText(FRun.Climb);
    edtMassStartTime->SetText(FRun.MassStartTime);
    edtCalcScoring->SetText(FRun.CalcScoring);
    edtNotes->SetText(FRun.Notes);
}

void TformNewClass::Opening()
{
    CentreOnMainForm(this, 0);
    FRun.Open();
    FromRun();
    lblCheck->SetCaption(QString());
    for (TEdit* e : {edtLength, edtFee, edtClimb})
        e->SetColor(clWindow);
    edtClassName->SetFocus();
}
