// The new class dialog's layout; the checks and the insert are its logic's.

#include "results/vrkNewClass.h"
#include "results/StartDeskLayout.h"

#include "app/vrkDoMessage.h"
#include "components/framed/FcEdit.h"
#include "components/framed/FcNumericEdit.h"
#include "platform/ui/StdCtrls.h"
#include "resources/StartDeskTexts.h"

#include <QTimer>

TformNewClass* formNewClass = nullptr;

using startdesk::CentreOnMainForm;
using startdesk::L;

TformNewClass::TformNewClass(TComponent* AOwner) : TForm(AOwner), FGuard(std::make_unique<QObject>())
{
    SetName(QStringLiteral("formNewClass"));
    SetCaption(txt::startdesk::NewClassCaption);
    SetBounds(0, 0, 520, 380);
    SetBorderStyle(bsDialog);
    int y = 12;
    auto label = [&](const char* caption) {
        auto* l = new TLabel(this);
        l->SetParent(this);
        l->SetBounds(12, y + 4, 140, 16);
        l->SetCaption(L(caption));
    };
    auto place = [&](TWinControl* e, const char* name, int width, const char* hint) {
        e->SetName(QString::fromLatin1(name));
        e->SetParent(this);
        e->SetBounds(160, y, width, 24);
        if (hint)
            e->SetHint(L(hint));
        y += 32;
    };
    auto field = [&](const char* caption, const char* name, int width, int maxLength, const char* hint) {
        label(caption);
        auto* e = new TFcEdit(this);
        if (maxLength > 0)
            e->SetMaxLength(maxLength);
        place(e, name, width, hint);
        return e;
    };
    // Number fields take only numbers and show their value as "0.##" or "0".
    auto number = [&](const char* caption, const char* name, bool whole, const char* hint) {
        label(caption);
        auto* e = new TFcNumericEdit(this);
        e->SetIntegersOnly(whole);
        e->SetDisplayFormat(whole ? L("0") : L("0.##"));
        e->SetAlignment(taLeftJustify);
        place(e, name, 80, hint);
        return e;
    };
    edtClassName = field("Radan nimi", "edtClassName", 200, 0, nullptr);
    edtLength = number("Radan pituus", "edtLength", false, "Syötä radan pituus kilometreissä");
    edtControlsString =
        field("Koodit", "edtControlsString", 340, 4000, "Syötä radan rastit pilkuilla eroteltuina. Älä syötä maalin koodia.");
    edtFinishCode = number("Maalin koodi", "edtFinishCode", true, nullptr);
    edtFinishCode->SetMaxLength(3);
    edtFinishCode->AllowScientificNotation = false;
    edtFee = number("Maksu", "edtFee", false, nullptr);
    edtClimb = number("Nousu", "edtClimb", true, nullptr);
    edtMassStartTime = field("Yhteislähdön aika", "edtMassStartTime", 100, 10,
                             "Yhteislähdön aika (HH:MM:SS), jos kaikki tämän sarjan osallistujat lähtevät yhteislähdössä yhtä aikaa.");
    edtCalcScoring = field("Pistelaskenta", "edtCalcScoring", 200, 20, nullptr);
    edtNotes = field("Lisätiedot", "edtNotes", 340, 1000, nullptr);

    const struct {
        TFcNumericEdit* Edit;
        QString TNewClassRun::*Field;
    } numbers[] = {{edtLength, &TNewClassRun::Length}, {edtFee, &TNewClassRun::Fee}, {edtClimb, &TNewClassRun::Climb}};
    for (const auto& n : numbers) {
        n.Edit->OnExit = [this, n](TComponent*) {
            FRun.*n.Field = n.Edit->Text();
            const QString error = FRun.QuietLeave(FRun.*n.Field);
            if (!error.isEmpty())
                RefuseNumber(n.Edit, error);
            else
                n.Edit->SetText(FRun.*n.Field);
        };
    }
    btnCancel = new TButton(this);
    btnCancel->SetParent(this);
    btnCancel->SetBounds(310, 342, 96, 28);
    btnCancel->SetCancel(true);
    btnCancel->SetCaption(L("Peruuta"));
    btnCancel->SetHint(L("Peruuta uuden sarjan/radan lisäys."));
    btnCancel->OnClick = [this](TComponent*) { SetModalResult(mrCancel); };
    btnOK = new TButton(this);
    btnOK->SetParent(this);
    btnOK->SetBounds(414, 342, 96, 28);
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
    edtClassName->SetFocus();
}

void TformNewClass::RefuseNumber(TFcNumericEdit* Edit, const QString& Message)
{
    // Once the focus has left: a box inside the leaving would fight the move.
    QTimer::singleShot(0, FGuard.get(), [this, Edit, Message] {
        if (!Visible())
            return;
        do_message(true, Message, MSG_ERROR);
        Edit->SetFocus();
        Edit->SelectAll();
    });
}
