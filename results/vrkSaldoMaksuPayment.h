#pragma once
// TSaldoMaksuPayment: the chip balance payment window's logic. It keeps no
// data of its own: it reads and writes the chip-balance fields of the
// check-in's run logic, which stores them in the run when OK saves it.

#include "platform/rtl/Currency.h"

#include <QString>
#include <cstdint>

class TResultsClassForestRun;

class TSaldoMaksuPayment {
public:
    explicit TSaldoMaksuPayment(TResultsClassForestRun& CheckIn) : FCheckIn(CheckIn) {}
    TResultsClassForestRun& CheckIn() const { return FCheckIn; }

    // ---- the controls' values ----
    Currency PriceField;         // edtPaymentPrice
    QString InfoField;           // edtPaymentInfo
    Currency AddToBalanceField;  // edtPaymentAddToBalance (hidden)
    bool CancelPaymentEnabled = false;

    // Opens the series' active options and starts from the check-in's payment.
    void Open();
    // Chooses the options list's current row.
    void ChooseOption();
    void SetPrice(Currency Value);     // the price field changed and was left
    void SetInfo(const QString& Text); // the info field changed and was left
    // OK: false (with the refusal shown) keeps the window open.
    bool Ok();
    // "Peruuta maksu": clears the payment in the check-in and in the run.
    void CancelPayment();

private:
    void ReopenOptions();
    TResultsClassForestRun& FCheckIn;
};
