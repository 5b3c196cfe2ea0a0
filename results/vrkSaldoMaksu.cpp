// The chip balance payment window: the options grid, the paid amount and
// its info text.

#include "results/vrkSaldoMaksu.h"
#include "results/StartDeskLayout.h"
#include "results/CaptionBox.h"

#include "data/vrkDataModule.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/StdCtrls.h"
#include "resources/StartDeskTexts.h"
#include "results/vrkResultsClassForestRun.h"

using namespace startdesk;

TformSaldoMaksu* formSaldoMaksu = nullptr;

namespace {

// "12,50" or "12.50" as money; anything else is 0.
Currency ParseMoney(QString text)
{
    bool ok = false;
    const double v = text.replace(QLatin1Char(','), QLatin1Char('.')).trimmed().toDouble(&ok);
    return ok ? Currency::FromDouble(v) : Currency();
}

}  // namespace

TformSaldoMaksu::TformSaldoMaksu(TComponent* AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("formSaldoMaksu"));
    SetCaption(txt::startdesk::BalanceCaption);
    SetBounds(0, 0, 470, 330);
    SetPosition(poMainFormCenter);
    auto* title = Make<TLabel>(this, this, 10, 8, 300, 16, QString());
    title->SetCaption(L("Saldo -maksu"));
    title->Font()->SetStyle(fsBold);
    rdbgrdPaymentMethods = Make<TDBGrid>(this, this, 10, 30, 450, 160, L("rdbgrdPaymentMethods"));
    rdbgrdPaymentMethods->SetDataSource(DataModule1->dsChipBalanceOptionsFD);
    rdbgrdPaymentMethods->SetHint(L("Valitse osallistumismaksu"));
    const struct {
        const char* Field;
        const char* Title;
        int Width;
    } cols[] = {{"PAYMENT_OPTION_NAME", "Maksu", 190}, {"PAYMENT_OPTION_PRICE", "Hinta", 90},
                {"PAYMENT_OPTION_ADD_TO_BALANCE", "Saldoon lisätään", 120}};
    for (const auto& c : cols) {
        TColumn* col = rdbgrdPaymentMethods->Columns()->Add();
        col->SetFieldName(QString::fromLatin1(c.Field));
        col->Title()->SetCaption(L(c.Title));
        col->SetWidth(c.Width);
    }
    rdbgrdPaymentMethods->OnDrawColumnCell = [this](TComponent*, const TRect& R, int DataCol, TColumn* C, TGridDrawState S) {
        if (!FPayment)
            return;
        const int64_t id = DataModule1->fbQueryChipBalanceOptionsFD->FieldByName(L("CHIP_BALANCE_OPTIONS_ID"))->AsLargeInt();
        if (id == 0 || id != FPayment->CheckIn().nChipBalanceOptionsId)
            return;
        rdbgrdPaymentMethods->Canvas()->Brush()->SetColor(RGB(144, 238, 144));
        rdbgrdPaymentMethods->Canvas()->Font()->SetColor(clBlack);
        rdbgrdPaymentMethods->DefaultDrawColumnCell(R, DataCol, C, S);
    };
    // A double click or any character typed in the grid chooses the option;
    // the price is typed next.
    auto choose = [this] {
        FPayment->ChooseOption();
        Sync();
        edtPaymentPrice->SetFocus();
        edtPaymentPrice->SelectAll();
    };
    rdbgrdPaymentMethods->OnDblClick = [choose](TComponent*) { choose(); };
    rdbgrdPaymentMethods->OnKeyPress = [choose](TComponent*, QChar& Key) {
        if (Key.isPrint()) {
            Key = QChar();
            choose();
        }
    };
    MakeFieldCaption(this, this, L("Maksu"), 10, 206, 82);
    edtPaymentPrice = Make<TEdit>(this, this, 100, 202, 100, 24, L("edtPaymentPrice"));
    edtPaymentPrice->OnExit = [this](TComponent*) { FPayment->SetPrice(ParseMoney(edtPaymentPrice->Text())); };
    MakeFieldCaption(this, this, L("Maksuinfo"), 10, 238, 82);
    edtPaymentInfo = Make<TEdit>(this, this, 100, 234, 360, 24, L("edtPaymentInfo"));
    edtPaymentInfo->SetMaxLength(200);
    edtPaymentInfo->OnExit = [this](TComponent*) { FPayment->SetInfo(edtPaymentInfo->Text()); };
    btnPeruutaMaksu = Make<TButton>(this, this, 230, 286, 120, 30, L("btnPeruutaMaksu"));
    btnPeruutaMaksu->SetCaption(L("Peruuta maksu"));
    btnPeruutaMaksu->SetHint(L("Peruuta maksu (mahdollisesti syötetty maksu peruutetaan)"));
    btnPeruutaMaksu->OnClick = [this](TComponent*) {
        FPayment->CancelPayment();
        SetModalResult(mrCancel);
    };
    btnOK = Make<TButton>(this, this, 360, 286, 100, 30, L("btnOK"));
    btnOK->SetCaption(L("OK"));
    btnOK->SetHint(L("Tallenna valittu maksu"));
    btnOK->OnClick = [this](TComponent*) {
        FPayment->SetPrice(ParseMoney(edtPaymentPrice->Text()));
        FPayment->SetInfo(edtPaymentInfo->Text());
        if (FPayment->Ok())
            SetModalResult(mrOk);
    };
}

void TformSaldoMaksu::Prepare(TResultsClassForestRun& CheckIn)
{
    FPayment = std::make_unique<TSaldoMaksuPayment>(CheckIn);
    FPayment->Open();
    Sync();
}

int TformSaldoMaksu::ShowFor(TResultsClassForestRun& CheckIn)
{
    Prepare(CheckIn);
    return ShowModal();
}

void TformSaldoMaksu::Sync()
{
    edtPaymentPrice->SetText(CurrencyText2(FPayment->PriceField));
    edtPaymentInfo->SetText(FPayment->InfoField);
    btnPeruutaMaksu->SetEnabled(FPayment->CancelPaymentEnabled);
    rdbgrdPaymentMethods->Invalidate();
}
