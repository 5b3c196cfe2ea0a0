#pragma once
// TformSaldoMaksu: the chip balance payment window ("Saldomaksu"), opened by
// the check-in window's "Maksa saldoa". Its logic is TSaldoMaksuPayment.

#include "platform/ui/Forms.h"
#include "results/vrkSaldoMaksuPayment.h"

#include <memory>

class TDBGrid;
class TEdit;
class TButton;

class TformSaldoMaksu : public TForm {
public:
    explicit TformSaldoMaksu(TComponent* AOwner);
    // Starts from the check-in's payment and shows the window (Prepare alone
    // does not show it).
    void Prepare(TResultsClassForestRun& CheckIn);
    int ShowFor(TResultsClassForestRun& CheckIn);
    TSaldoMaksuPayment* Payment() const { return FPayment.get(); }
    void Sync();

    TDBGrid* rdbgrdPaymentMethods;
    TEdit *edtPaymentPrice, *edtPaymentInfo;
    TButton *btnOK, *btnPeruutaMaksu;

private:
    std::unique_ptr<TSaldoMaksuPayment> FPayment;
};

extern TformSaldoMaksu* formSaldoMaksu;
