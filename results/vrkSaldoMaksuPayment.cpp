// The chip balance payment: choosing an option, the paid amount and the
// amount added to the balance, exact to the ten-thousandth.

#include "results/vrkSaldoMaksuPayment.h"

#include "app/vrkDoMessage.h"
#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "resources/StartDeskTexts.h"
#include "results/vrkResultsClassForestRun.h"

namespace {
QString L(const char* s) { return QString::fromLatin1(s); }
}  // namespace

void TSaldoMaksuPayment::ReopenOptions()
{
    TFbQuery& q = *DataModule1->fbQueryChipBalanceOptionsFD;
    const QVariant current = q.Active() && !q.IsEmpty() ? q.FieldByName(L("CHIP_BALANCE_OPTIONS_ID"))->RawValue() : QVariant();
    q.Close();
    q.ParamByName(L("EVENT_SERIES_ID")).SetAsLargeInt(eventSeriesSeason->event_series_id());
    q.Open();
    if (current.isValid())
        q.Locate(L("CHIP_BALANCE_OPTIONS_ID"), current);
}

void TSaldoMaksuPayment::Open()
{
    ReopenOptions();
    CancelPaymentEnabled = false;
    AddToBalanceField = Currency();
    if (FCheckIn.nChipBalanceOptionsId == 0) {
        PriceField = Currency();
        InfoField.clear();
    } else {
        PriceField = FCheckIn.nChipBalancePaid;
        InfoField = FCheckIn.vcChipBalanceInfo;
        CancelPaymentEnabled = true;
        TFbQuery& q = *DataModule1->fbQueryChipBalanceOptionsFD;
        if (q.Locate(L("CHIP_BALANCE_OPTIONS_ID"), QVariant::fromValue<qlonglong>(FCheckIn.nChipBalanceOptionsId)))
            AddToBalanceField = q.FieldByName(L("PAYMENT_OPTION_ADD_TO_BALANCE"))->AsCurrency();
    }
}

void TSaldoMaksuPayment::ChooseOption()
{
    TFbQuery& q = *DataModule1->fbQueryChipBalanceOptionsFD;
    if (!q.Active() || q.IsEmpty())
        return;
    const int64_t id = q.FieldByName(L("CHIP_BALANCE_OPTIONS_ID"))->AsLargeInt();
    if (FCheckIn.nChipBalanceOptionsId != 0 && FCheckIn.nChipBalanceOptionsId == id)
        return;
    FCheckIn.nChipBalanceOptionsId = id;
    PriceField = q.FieldByName(L("PAYMENT_OPTION_PRICE"))->AsCurrency();
    FCheckIn.nChipBalancePaid = PriceField;
    AddToBalanceField = q.FieldByName(L("PAYMENT_OPTION_ADD_TO_BALANCE"))->AsCurrency();
    FCheckIn.nChipBalanceAddToBalance = AddToBalanceField;
    CancelPaymentEnabled = true;
    InfoField = q.FieldByName(L("PAYMENT_OPTION_NAME"))->AsString();
    FCheckIn.vcChipBalanceInfo = InfoField;
    FCheckIn.EditRun();
    ReopenOptions();
}

void TSaldoMaksuPayment::SetPrice(Currency Value)
{
    PriceField = Value;
    FCheckIn.EditRun();
    FCheckIn.nChipBalancePaid = Value;
}

void TSaldoMaksuPayment::SetInfo(const QString& Text)
{
    InfoField = Text.left(200);
    FCheckIn.EditRun();
    FCheckIn.vcChipBalanceInfo = InfoField;
}

bool TSaldoMaksuPayment::Ok()
{
    if (PriceField != Currency() && FCheckIn.nChipBalanceOptionsId == 0) {
        do_message(true, txt::startdesk::NoBalanceOption, MSG_ERROR);
        return false;
    }
    FCheckIn.nChipBalancePaid = PriceField;
    if (AddToBalanceField == Currency())
        FCheckIn.nChipBalanceAddToBalance = PriceField;  // the whole payment goes to the balance
    FCheckIn.ShowPayBalanceButton();
    FCheckIn.AfterBalancePayment();
    return true;
}

void TSaldoMaksuPayment::CancelPayment()
{
    FCheckIn.nChipBalanceOptionsId = 0;
    FCheckIn.nChipBalancePaid = Currency();
    FCheckIn.vcChipBalanceInfo.clear();
    FCheckIn.nChipBalanceAddToBalance = Currency();
    FCheckIn.EditRun();
    resultsClass->SetChipBalanceOptionsId(0);
    resultsClass->SetChipBalancePaid(Currency());
    resultsClass->SetChipBalanceInfo(QString());
    resultsClass->SetChipBalanceAdd(Currency());
    FCheckIn.AfterBalancePayment();
}
