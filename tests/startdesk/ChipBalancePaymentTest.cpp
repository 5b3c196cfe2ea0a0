// The chip balance payment against the series' options: the paid amount, the
// amount added and the balance after, exact; the refusal and the cancel.

#include "StartDeskFixture.h"

#include "platform/ui/DBGrids.h"
#include "platform/ui/StdCtrls.h"
#include "results/vrkSaldoMaksu.h"
#include "tests/support/RealInput.h"

#include "resources/StartDeskTexts.h"
#include "results/vrkSaldoMaksuPayment.h"

namespace {

Currency Eur(int64_t cents) { return Currency::FromScaled(cents, 2); }

TEST_F(StartDesk, BalancePaymentsAsATable)
{
    f.Exec(QStringLiteral(
        "insert into vrk_chip_balance_options (chip_balance_options_id, event_series_id, payment_option_name, "
        "payment_option_price, payment_option_add_to_balance) values (1, 1, 'Kymppi', 10, 0);\n"
        "insert into vrk_chip_balance_options (chip_balance_options_id, event_series_id, payment_option_name, "
        "payment_option_price, payment_option_add_to_balance) values (2, 1, 'Bonus', 20, 25);\n"
        "insert into vrk_chip_balance_options (chip_balance_options_id, event_series_id, payment_option_name, "
        "payment_option_price, payment_option_add_to_balance, option_active) values (3, 1, 'Vanha', 5, 5, 'E');\n"));
    struct Case {
        int Option;          // 0: none chosen
        int64_t TypedCents;  // -1: the option's price stands
        bool Accepted;
        int64_t PaidCents, AddedCents;
        QString Label, Button;
    };
    const std::vector<Case> cases = {
        {1, -1, true, 1000, 1000, QStringLiteral("SALDO tapahtuman jälkeen: 48,00"), QStringLiteral("Maksettu 10,00")},
        {2, -1, true, 2000, 2500, QStringLiteral("SALDO tapahtuman jälkeen: 63,00"), QStringLiteral("Maksettu 20,00")},
        {1, 1234, true, 1234, 1234, QStringLiteral("SALDO tapahtuman jälkeen: 50,34"), QStringLiteral("Maksettu 12,34")},
        {0, -1, true, 0, 0, QStringLiteral("SALDO tapahtuman jälkeen: 38,00"), QStringLiteral("Maksa saldoa")},
        {0, 500, false, 0, 0, QString(), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Option * 100000 + c.TypedCents);
        TResultsClassForestRun checkIn;
        formMain->vc_last_read_chip.clear();
        checkIn.vcChipString = Card(QStringLiteral("12345"));
        ASSERT_TRUE(checkIn.Open());
        ASSERT_EQ(checkIn.nPaymentType, QStringLiteral("SALDO"));
        TSaldoMaksuPayment pay(checkIn);
        pay.Open();
        EXPECT_EQ(f.Module->fbQueryChipBalanceOptionsFD->RecordCount(), 2);
        EXPECT_FALSE(pay.CancelPaymentEnabled);
        if (c.Option != 0) {
            ASSERT_TRUE(f.Module->fbQueryChipBalanceOptionsFD->Locate(QStringLiteral("CHIP_BALANCE_OPTIONS_ID"), c.Option));
            pay.ChooseOption();
            EXPECT_TRUE(pay.CancelPaymentEnabled);
        }
        if (c.TypedCents >= 0)
            pay.SetPrice(Eur(c.TypedCents));
        Boxes.clear();
        EXPECT_EQ(pay.Ok(), c.Accepted);
        if (!c.Accepted) {
            EXPECT_EQ(Boxes, QStringList{txt::startdesk::NoBalanceOption});
            checkIn.Cancel();
            continue;
        }
        EXPECT_EQ(checkIn.nChipBalancePaid, Eur(c.PaidCents));
        EXPECT_EQ(checkIn.nChipBalanceAddToBalance, Eur(c.AddedCents));
        EXPECT_EQ(checkIn.BalanceLabel, c.Label);
        EXPECT_EQ(checkIn.PayBalanceCaption, c.Button);
        checkIn.ChooseCourse(401);
        const int64_t id = checkIn.iResultsClassId;
        ASSERT_TRUE(checkIn.Ok());
        EXPECT_EQ(Run(id, "cast(chip_balance_paid * 10000 as bigint)").toLongLong(), c.PaidCents * 100);
        EXPECT_EQ(Run(id, "cast(chip_balance_add * 10000 as bigint)").toLongLong(), c.AddedCents * 100);
        EXPECT_EQ(Run(id, "coalesce(chip_balance_options_id, 0)").toLongLong(), c.Option);
        f.Exec(QStringLiteral("delete from vrk_results_class where results_class_id = %1;").arg(id), true);
    }
}

// The check-in of a known card with one balance option ("Kymppi", 10).
class OneBalanceOption : public StartDesk {
protected:
    void OpenWithOneOption()
    {
        f.Exec(QStringLiteral("insert into vrk_chip_balance_options (chip_balance_options_id, event_series_id, "
                              "payment_option_name, payment_option_price, payment_option_add_to_balance) "
                              "values (1, 1, 'Kymppi', 10, 0);"));
        run.vcChipString = Card(QStringLiteral("12345"));
        ASSERT_TRUE(run.Open());
    }
};

TEST_F(OneBalanceOption, CancelledBalancePaymentIsNotSaved)
{
    ASSERT_NO_FATAL_FAILURE(OpenWithOneOption());
    TSaldoMaksuPayment pay(run);
    pay.Open();
    pay.ChooseOption();
    ASSERT_TRUE(pay.Ok());
    // opened again: the earlier payment shows, and can be cancelled
    TSaldoMaksuPayment again(run);
    again.Open();
    EXPECT_EQ(again.PriceField, Eur(1000));
    EXPECT_EQ(again.InfoField, QStringLiteral("Kymppi"));
    EXPECT_TRUE(again.CancelPaymentEnabled);
    again.CancelPayment();
    EXPECT_EQ(run.PayBalanceCaption, QStringLiteral("Maksa saldoa"));
    EXPECT_EQ(run.nChipBalancePaid, Currency());
    run.ChooseCourse(401);
    const int64_t id = run.iResultsClassId;
    ASSERT_TRUE(run.Ok());
    EXPECT_EQ(Run(id, "coalesce(chip_balance_paid, 0)").toDouble(), 0.0);
}

// A character typed in the options grid chooses the option under the cursor,
// and the price is typed next: the focus is on the price field.
TEST_F(OneBalanceOption, ATypedCharacterInTheOptionsChoosesAndMovesToThePrice)
{
    ASSERT_NO_FATAL_FAILURE(OpenWithOneOption());
    TformSaldoMaksu w(nullptr);
    w.Prepare(run);
    w.Show();
    ASSERT_TRUE(f.Module->fbQueryChipBalanceOptionsFD->Locate(QStringLiteral("CHIP_BALANCE_OPTIONS_ID"), 1));
    w.rdbgrdPaymentMethods->SetFocus();
    realinput::Type(w.rdbgrdPaymentMethods, QStringLiteral("k"));
    EXPECT_EQ(run.nChipBalanceOptionsId, 1);
    EXPECT_TRUE(w.edtPaymentPrice->Focused());
    w.Hide();
    run.Cancel();
}

}  // namespace
