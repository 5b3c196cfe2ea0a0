// The filter dialog over a data grid on the Firebird club table, driven
// through the modal hook; the period menu's date ranges.

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rEditNum.h"
#include "components/base/rdlg.h"
#include "components/dbcontrols/rDBFilterForm.h"
#include "components/stringgrid/rStringGridEd.h"
#include "components/grid/rDBGrid.h"
#include "platform/database/Fields.h"
#include "platform/ui/StdCtrls.h"
#include "tests/dbcontrols/ClubsGridFixture.h"

#include <QTemporaryDir>
#include <functional>

namespace {

class FilterDialogTest : public ClubsGridFixture {
protected:
    // Drives the dialog; message boxes are counted and answered Ok.
    bool Run(const std::function<int(TrDBFilterForm*)>& Drive)
    {
        previous = SetModalHook([&](TCustomForm* F) {
            if (dynamic_cast<TrDlgForm*>(F)) {
                ++messages;
                return int(mrOk);
            }
            auto* f = dynamic_cast<TrDBFilterForm*>(F);
            if (!f)
                return int(mrCancel);
            f->Show();
            return Drive(f);
        });
        return FilterRec(grid, false);
    }
    int Count()
    {
        int n = 0;
        for (clubs->First(); !clubs->Eof(); clubs->Next())
            ++n;
        return n;
    }
    int messages = 0;
};

TEST_F(FilterDialogTest, ConditionsBuiltTestedAndApplied)
{
    const bool applied = Run([&](TrDBFilterForm* f) -> int {
        EXPECT_TRUE(f->eRes->Text().isEmpty());
        EXPECT_TRUE(f->SelectField(QStringLiteral("CLUB_NAME")));
        EXPECT_EQ(f->SelFldType(), 1);
        EXPECT_TRUE(f->eValue->Visible());
        f->SelectSign(0);  // contain
        f->eValue->SetText(QStringLiteral("Forest"));
        f->AddCondition(false);
        EXPECT_EQ(f->eRes->Text(), QStringLiteral("([CLUB_NAME] LIKE '*Forest*')")) << "no joiner before the first";
        EXPECT_EQ(f->eValue->Items(), QStringList{QStringLiteral("Forest")}) << "the value went to the history";
        EXPECT_TRUE(f->SelectField(QStringLiteral("CLUB_ID")));
        EXPECT_EQ(f->SelFldType(), 2);
        EXPECT_TRUE(f->eValNum1->Visible());
        f->SelectSign(0);  // is equal
        f->eValNum1->SetValue(4);
        f->rbOr->SetChecked(true);
        f->AddCondition(false);
        EXPECT_EQ(f->eRes->Text(), QStringLiteral("([CLUB_NAME] LIKE '*Forest*') OR ([CLUB_ID] = 4)"));
        // Test: the count, then the old (no) filter again; a second test needs a change.
        EXPECT_TRUE(f->btTest->Enabled());
        f->TestClick();
        EXPECT_EQ(f->lTest->Caption(), QStringLiteral("All OK. Selected 3 records."));
        EXPECT_FALSE(f->btTest->Enabled());
        EXPECT_FALSE(clubs->Filtered());
        EXPECT_EQ(Count(), 5);
        f->OkClick();
        return f->ModalResult();
    });
    EXPECT_TRUE(applied);
    EXPECT_TRUE(clubs->Filtered());
    EXPECT_EQ(Count(), 3);

    // The dialog opens with that filter; emptied, Ok switches filtering off.
    const bool cleared = Run([&](TrDBFilterForm* f) -> int {
        EXPECT_EQ(f->eRes->Text(), QStringLiteral("([CLUB_NAME] LIKE '*Forest*') OR ([CLUB_ID] = 4)"));
        f->btClear->Click();
        f->OkClick();
        return f->ModalResult();
    });
    EXPECT_TRUE(cleared);
    EXPECT_FALSE(clubs->Filtered());
    EXPECT_TRUE(clubs->Filter().isEmpty());
    EXPECT_EQ(Count(), 5);
}

// The value hook learns the field the condition is about and may change the
// value; the field list welcomes drags (a drop there does nothing).
TEST_F(FilterDialogTest, ValueHookSeesTheSelectedFieldAndTheFieldListTakesDrags)
{
    QStringList seen;
    auto oldHook = ParioCompConfig.Global_OnParioCompGeneralEvent;
    ParioCompConfig.Global_OnParioCompGeneralEvent = [&](TComponent* S, int Id, const TGeneralEventParam& P, TComponent*, QVariant& V) {
        if (!dynamic_cast<TrDBFilterForm*>(S) || Id != 1)
            return;
        seen << (P.Field() ? P.Field()->FieldName() : QStringLiteral("-"));
        if (P.Field() && P.Field()->FieldName() == QLatin1String("CLUB_ABBR"))
            V = V.toString().toUpper();
    };
    Run([&](TrDBFilterForm* f) -> int {
        EXPECT_TRUE(f->sgPol->DragOverAt(f->sgSign, 5, 5));
        EXPECT_FALSE(f->sgSign->DragOverAt(f->sgPol, 5, 5)) << "only the field list";
        EXPECT_TRUE(f->SelectField(QStringLiteral("CLUB_ABBR")));
        f->SelectSign(0);
        f->eValue->SetText(QStringLiteral("hs"));
        f->AddCondition(false);
        EXPECT_TRUE(f->eRes->Text().contains(QStringLiteral("HS"))) << f->eRes->Text().toStdString();
        return int(mrCancel);
    });
    ParioCompConfig.Global_OnParioCompGeneralEvent = oldHook;
    ASSERT_FALSE(seen.isEmpty());
    for (const QString& name : seen)
        EXPECT_EQ(name, QStringLiteral("CLUB_ABBR"));
}

TEST_F(FilterDialogTest, BetweenWithDotDecimalsAndBadExpressionKeepsDialogOpen)
{
    const bool applied = Run([&](TrDBFilterForm* f) -> int {
        f->SelectField(QStringLiteral("CLUB_ID"));
        f->SelectSign(6);  // is between
        EXPECT_TRUE(f->eValNum2->Visible());
        EXPECT_EQ(f->lValue1->Caption(), QStringLiteral("Value from:"));
        f->eValNum1->SetValue(1.5);
        f->eValNum2->SetValue(3);
        f->AddCondition(false);
        EXPECT_EQ(f->eRes->Text(), QStringLiteral("([CLUB_ID]>=1.5) AND ([CLUB_ID]<=3)"));
        // A broken expression: reported, the dialog stays.
        f->eRes->SetText(QStringLiteral("(CLUB_ID >>> 1"));
        f->OkClick();
        EXPECT_EQ(messages, 1);
        EXPECT_EQ(f->ModalResult(), mrNone);
        f->TestClick();
        EXPECT_TRUE(f->lTest->Caption().isEmpty());
        f->eRes->SetText(QStringLiteral("(CLUB_ID>=1.5) AND (CLUB_ID<=3)"));
        f->chShowRecCount->SetChecked(true);
        f->OkClick();
        return f->ModalResult();
    });
    EXPECT_TRUE(applied);
    EXPECT_EQ(messages, 3) << "the error of Ok and of Test, then the record count";
    EXPECT_EQ(Count(), 2);
}

TEST_F(FilterDialogTest, ConditionsSavedAndLoaded)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("clubs.flt"));
    Run([&](TrDBFilterForm* f) -> int {
        f->eRes->SetText(QStringLiteral("(CLUB_ABBR = 'HS')"));
        f->SaveConditions(file);
        f->eRes->Clear();
        f->LoadConditions(file);
        EXPECT_EQ(f->eRes->Text(), QStringLiteral("(CLUB_ABBR = 'HS')"));
        f->LoadConditions(dir.filePath(QStringLiteral("missing.flt")));
        EXPECT_EQ(messages, 1) << "a missing file is reported";
        EXPECT_EQ(f->eRes->Text(), QStringLiteral("(CLUB_ABBR = 'HS')")) << "and changes nothing";
        f->OkClick();
        return f->ModalResult();
    });
    EXPECT_EQ(Count(), 1);
}

TEST(FilterPeriodTest, RangesFromAGivenDay)
{
    const QDate d(2026, 5, 15);  // a Friday
    struct Case {
        TFilterPeriodKind Kind;
        int N;
        QDate From, To;
    } cases[] = {
        {fpDay, -1, {2026, 5, 14}, {2026, 5, 14}},
        {fpMonthDay, 0, {2026, 5, 31}, {2026, 5, 31}},
        {fpWeek, -1, {2026, 5, 4}, {2026, 5, 10}},
        {fpWeek, 0, {2026, 5, 11}, {2026, 5, 17}},
        {fpMonth, 1, {2026, 6, 1}, {2026, 6, 30}},
        {fpMonthNo, 2, {2026, 2, 1}, {2026, 2, 28}},
        {fpQuarter, 0, {2026, 4, 1}, {2026, 6, 30}},
        {fpQuarter, -1, {2026, 1, 1}, {2026, 3, 31}},
        {fpQuarterNo, 4, {2026, 10, 1}, {2026, 12, 31}},
        {fpHalf, 1, {2026, 7, 1}, {2026, 12, 31}},
        {fpHalfNo, 1, {2026, 1, 1}, {2026, 6, 30}},
        {fpYear, -1, {2025, 1, 1}, {2025, 12, 31}},
        {fpYearNo, 5, {2031, 1, 1}, {2031, 12, 31}},
        {fpOther, -2, {2026, 4, 1}, {2026, 5, 15}},
        {fpOther, 3, {2026, 5, 15}, {2026, 6, 30}},
    };
    for (const Case& c : cases) {
        const auto [from, to] = FilterPeriod(c.Kind, c.N, d);
        EXPECT_EQ(from, c.From) << c.Kind << " " << c.N;
        EXPECT_EQ(to, c.To) << c.Kind << " " << c.N;
    }
}

}  // namespace
