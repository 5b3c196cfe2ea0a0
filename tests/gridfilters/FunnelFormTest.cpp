// The funnel value list (distinct values, checks after the present filter,
// "(empty)" and case duplicates, Ok with and without "Add to act. filter")
// and the condition dialog's conditions and date periods as tables.

#include "components/grid/TPropSaveFile.h"
#include "components/grid/TrDBGridColumnFilters.h"
#include "components/grid/TrDBGridFilterBar.h"
#include "components/grid/TrDBGridFilterCondForm.h"
#include "components/grid/TrDBGridFilterForm.h"
#include "components/grid/rDBGrid.h"
#include "components/base/rEditNum.h"
#include "components/base/rdlg.h"
#include "platform/database/Fields.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/ListBoxes.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"
#include "components/base/rListBoxes.h"
#include "tests/rdbgrid/RDBGridFixture.h"

namespace {

class Funnel : public RDBGridTest {
protected:
    void SetUp() override
    {
        RDBGridTest::SetUp();
        grid->OptionsEx2().Filters.FunnelBtn = true;
        bar = TrDBGridFilterBar::Of(grid);
    }
    TrDBGridFilterForm* Open(int DataCol)
    {
        bar->IntShowFilterDlg(grid->DataToRawColumn(DataCol));
        return bar->FunnelForm();
    }
    QStringList Checked(TrDBGridFilterForm* F)
    {
        QStringList l;
        for (int i = 0; i < F->CheckBoxList->Count(); ++i)
            if (F->CheckBoxList->Checked(i))
                l << F->CheckBoxList->Items()[i];
        return l;
    }
    TrDBGridFilterBar* bar = nullptr;
};

}  // namespace

TEST_F(Funnel, UnfilteredListChecksAllAndOkRemovesTheColumnFilter)
{
    TrDBGridFilterForm* f = Open(2);
    EXPECT_EQ(f->CheckBoxList->Items(), (QStringList{QStringLiteral("(select all)"), QStringLiteral("Kiito-Tampere"),
                                                     QStringLiteral("OK Espoo"), QStringLiteral("Rasti-Helsinki"),
                                                     QStringLiteral("Suunta-Äänekoski")}));
    EXPECT_EQ(Checked(f).size(), 5);
    f->SetFilter();
    EXPECT_FALSE(data->Filtered());
    EXPECT_FALSE(f->Visible());
}

TEST_F(Funnel, HiddenValuesComeUncheckedAndAddToActFilterKeepsTheOtherColumn)
{
    TrDBGridColumnFilters* store = TrDBGridColumnFilters::Of(grid);
    ASSERT_TRUE(store->ProcFilterBarFilter(data->FieldByName(QStringLiteral("STATUS")), QStringLiteral("3")));
    ASSERT_EQ(data->RecordCount(), 4);  // ids 5, 10, 15, 20: clubs 1, 2, 3, 0
    TrDBGridFilterForm* f = Open(1);
    // Ids 5, 10, 15, 20 carry four of the eight names: those checked, the rest hidden.
    EXPECT_EQ(f->CheckBoxList->Count(), 9);
    QStringList checked = Checked(f);
    checked.sort();
    EXPECT_EQ(checked, (QStringList{QStringLiteral("Heikkinen Kaisa"), QStringLiteral("Hämäläinen Säde"),
                                    QStringLiteral("Korhonen Eero"), QStringLiteral("Nieminen Matti")}));
    // Only Laine Juha, joined with the status filter: id 5.
    for (int i = 1; i < f->CheckBoxList->Count(); ++i)
        f->CheckBoxList->SetChecked(i, f->CheckBoxList->Items()[i] == QLatin1String("Laine Juha"));
    f->chAnd->SetChecked(true);
    f->SetFilter();
    EXPECT_EQ(data->RecordCount(), 0);  // Laine Juha is ids 6, 14, 22: none has status 3
    f = Open(1);
    for (int i = 1; i < f->CheckBoxList->Count(); ++i)
        f->CheckBoxList->SetChecked(i, f->CheckBoxList->Items()[i] == QLatin1String("Korhonen Eero"));
    f->CheckBoxList->SetChecked(0, false);
    f->chAnd->SetChecked(true);
    f->SetFilter();
    EXPECT_EQ(Ids(), QList<int>{10});
    // Without it the name replaces the status filter.
    f = Open(1);
    for (int i = 1; i < f->CheckBoxList->Count(); ++i)
        f->CheckBoxList->SetChecked(i, f->CheckBoxList->Items()[i] == QLatin1String("Korhonen Eero"));
    f->CheckBoxList->SetChecked(0, false);
    f->chAnd->SetChecked(false);
    f->SetFilter();
    EXPECT_EQ(Ids(), (QList<int>{2, 10, 18}));
}

// Loading the list of a filtered column keeps the current record on its
// screen row, and a small dataset shows no loading window in either pass.
TEST_F(Funnel, LoadingKeepsTheRowAndShowsNoWindowForFewRecords)
{
    TrDBGridColumnFilters* store = TrDBGridColumnFilters::Of(grid);
    ASSERT_TRUE(store->ProcFilterBarFilter(data->FieldByName(QStringLiteral("STATUS")), QStringLiteral("0")));
    data->Last();
    data->Prior();
    data->Prior();
    const int row = grid->DataLink()->ActiveRecord();
    const int id = data->FieldByName(QStringLiteral("ID"))->AsInteger();
    int windows = 0, scans = 0;
    grid->AfterScanDataset = [&](TComponent*, TDataSet*, int) {
        ++scans;
        if (InfoForm() && InfoForm()->Visible())
            ++windows;
    };
    Open(1);
    EXPECT_EQ(scans, 2) << "the shown and the hidden values";
    EXPECT_EQ(windows, 0);
    EXPECT_EQ(data->FieldByName(QStringLiteral("ID"))->AsInteger(), id);
    EXPECT_EQ(grid->DataLink()->ActiveRecord(), row);
}

TEST_F(Funnel, NullsShowOnceAsEmptyAndCaseVariantsOnce)
{
    data->First();
    data->Edit();
    data->FieldByName(QStringLiteral("CLUB"))->Clear();
    data->Post();
    data->Next();
    data->Edit();
    data->FieldByName(QStringLiteral("CLUB"))->SetAsString(QStringLiteral("ok espoo"));
    data->Post();
    TrDBGridFilterForm* f = Open(2);
    const QStringList items = f->CheckBoxList->Items();
    EXPECT_EQ(items.count(QStringLiteral("(empty)")), 1);
    EXPECT_EQ(items.filter(QStringLiteral("espoo"), Qt::CaseInsensitive).size(), 1);
    for (int i = 1; i < f->CheckBoxList->Count(); ++i)
        f->CheckBoxList->SetChecked(i, items[i] == QLatin1String("(empty)"));
    f->CheckBoxList->SetChecked(0, false);
    f->SetFilter();
    EXPECT_EQ(Ids(), QList<int>{1});
}

TEST_F(Funnel, ConditionDialogConditionsAsATable)
{
    TrDBGridFilterCondForm d(form.get());
    struct Case { const char* field; int sign; const char* v1; const char* v2; const char* expected; };
    const Case cases[] = {
        {"SECS", 0, "2900", "", "(SECS = 2900)"},
        {"SECS", 3, "25", "", "(SECS >= 25)"},
        {"SECS", 6, "2900", "2950", "(SECS>=2900) AND (SECS<=2950)"},
        {"NAME", 0, "Laine Juha", "", "(NAME = 'Laine Juha')"},
        {"NAME", 1, "Laine Juha", "", "(NAME <> 'Laine Juha')"},
        {"NAME", 2, "La", "", "(NAME LIKE 'La%')"},
        {"NAME", 3, "ai", "", "(NAME LIKE '%ai%')"},
    };
    for (const Case& c : cases) {
        d.InitCond(grid, data->FieldByName(QLatin1String(c.field)));
        if (QLatin1String(c.field) == QLatin1String("SECS")) {
            d.lbSignNum_nostore->SetItemIndex(c.sign);
            d.eValNum1->SetText(QLatin1String(c.v1));
            d.eValNum2->SetText(QLatin1String(c.v2));
        } else {
            d.lbSignText_nostore->SetItemIndex(c.sign);
            d.cbValText1_nostore->SetText(QLatin1String(c.v1));
        }
        d.RefAll();
        d.btOkClick();
        EXPECT_EQ(d.FilterString, QLatin1String(c.expected)) << c.field << " " << c.sign;
    }
    // "contain" with an empty text keeps Ok disabled; "is between" needs both numbers.
    d.InitCond(grid, data->FieldByName(QStringLiteral("NAME")));
    d.lbSignText_nostore->SetItemIndex(3);
    d.cbValText1_nostore->SetText(QString());
    d.RefAll();
    EXPECT_FALSE(d.btOk->Enabled());
    d.InitCond(grid, data->FieldByName(QStringLiteral("SECS")));
    d.lbSignNum_nostore->SetItemIndex(6);
    d.eValNum1->SetText(QStringLiteral("1"));
    d.eValNum2->SetText(QString());
    d.RefAll();
    EXPECT_FALSE(d.btOk->Enabled());
    EXPECT_TRUE(d.eValNum2->Visible());
}

TEST_F(Funnel, PeriodsAsATable)
{
    TrDBGridFilterCondForm d(form.get());
    struct Case { TFilterPeriodKind kind; int n; QDate today, from, to; };
    const Case cases[] = {
        {fpQuarterNo, 2, QDate(2026, 12, 10), QDate(2026, 4, 1), QDate(2026, 6, 30)},
        {fpOther, -4, QDate(2026, 12, 10), QDate(2026, 1, 1), QDate(2026, 12, 10)},
        {fpMonth, -1, QDate(2027, 1, 15), QDate(2026, 12, 1), QDate(2026, 12, 31)},
        {fpWeek, 0, QDate(2026, 12, 10), QDate(2026, 12, 7), QDate(2026, 12, 13)},
    };
    for (const Case& c : cases) {
        d.SetPeriod(c.kind, c.n, c.today);
        EXPECT_EQ(DateTimeToQDate(d.eValDate1->Date()), c.from) << int(c.kind) << " " << c.n;
        EXPECT_EQ(DateTimeToQDate(d.eValDate2->Date()), c.to) << int(c.kind) << " " << c.n;
    }
}

TEST_F(Funnel, ProgramEventsFillTheListAndApplyTheFilter)
{
    grid->OnLoadFunnelFilter = [](TComponent*, TDataSet*, const QString& FieldName, const TrDBGrid::TFunnelFilterAddToList& Add,
                                  bool& IsLoaded) {
        Add(FieldName + QStringLiteral(" b"), QStringLiteral("B"), true);
        Add(FieldName + QStringLiteral(" a"), QStringLiteral("A"), false);
        IsLoaded = true;
    };
    QString applied;
    grid->OnSetColumnFilter = [&](TComponent*, TDataSet*, TField* F, const QString& Filter, const QString&, TComponent* Form, bool& Result) {
        applied = F->FieldName() + QLatin1Char(':') + Filter + (Form ? QStringLiteral(" (funnel)") : QString());
        Result = true;
    };
    TrDBGridFilterForm* f = Open(2);
    // The program's entries in its own order; one unchecked leaves "(select all)" unchecked.
    EXPECT_EQ(f->CheckBoxList->Items(), (QStringList{QStringLiteral("(select all)"), QStringLiteral("CLUB b"), QStringLiteral("CLUB a")}));
    EXPECT_FALSE(f->CheckBoxList->Checked(0));
    f->SetFilter();
    EXPECT_EQ(applied, QStringLiteral("CLUB:(CLUB = 'B') (funnel)"));
    EXPECT_FALSE(data->Filtered());  // the grid applied nothing itself
    EXPECT_FALSE(f->Visible());
}

// The condition dialog leaves the program's property file alone: no place
// of its own is kept between runs.
TEST_F(Funnel, TheConditionDialogKeepsNoPlace)
{
    TPropSaveFile file(nullptr);
    file.SetUseAsGlobalFile(true);
    {
        TrDBGridFilterCondForm d(form.get());
        d.Show();
        d.SetBounds(50, 60, 400, 260);
        d.Hide();
    }
    file.SetUseAsGlobalFile(false);
    file.DisableAll = true;
    EXPECT_FALSE(file.SectionExists(QStringLiteral("TrDBGridFilterCondForm")));
    EXPECT_FALSE(file.SectionExists(QStringLiteral("TrDBGridFilterCondForm_XY")));
}

TEST_F(Funnel, PeriodMenuGroupsItsItemsWithLines)
{
    TrDBGridFilterCondForm d(form.get());
    TMenuItem* root = d.pmPeriod->Items();
    // Sub-menu -> the caption of the item just before its one line.
    const std::pair<int, const char*> lines[] = {
        {0, "Tomorrow"}, {1, nullptr}, {2, "Next"}, {3, "Next"}, {4, "Next"}, {5, "Next"},
        {6, "Since the beginning of the year until today"},
    };
    ASSERT_EQ(root->Count(), 7);
    for (const auto& [sub, before] : lines) {
        TMenuItem* m = root->Items(sub);
        QStringList lineAfter;
        for (int i = 0; i < m->Count(); ++i)
            if (m->Items(i)->IsLine())
                lineAfter << (i > 0 ? m->Items(i - 1)->Caption() : QString());
        EXPECT_EQ(lineAfter, before ? QStringList{QString::fromUtf8(before)} : QStringList{}) << m->Caption().toStdString();
    }
}

namespace {

// Whether image Index of the bar's list has drawn (not transparent) pixels.
bool HasPicture(TToolBar* Bar, int Index)
{
    if (!Bar->Images || Index < 0 || Index >= Bar->Images->Count())
        return false;
    TBitmap b;
    b.SetSize(16, 16);
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(TRect(0, 0, 16, 16));
    Bar->Images->Draw(b.Canvas(), 0, 0, Index, true);
    return CountPixels(b.Image(), TRect(0, 0, 16, 16), [](QRgb p) { return (p & 0xFFFFFF) != 0xFFFFFF; }) > 10;
}

}  // namespace

// The list's tool bar shows pictures with its captions: "Filter..." picture 0,
// the clear button picture 1 with only its hint; the period button picture 8.
TEST_F(Funnel, ToolBarButtonsShowTheirPictures)
{
    TrDBGridFilterForm* f = Open(2);
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(f->tbTop->ShowCaptions());
    EXPECT_EQ(f->tbTop->Images, f->ImgList);
    EXPECT_EQ(f->tbEnter->ImageIndex(), 0);
    EXPECT_EQ(f->tbClear->ImageIndex(), 1);
    EXPECT_EQ(f->tbClear->Caption(), QString());
    EXPECT_FALSE(f->tbClear->Hint().isEmpty());
    EXPECT_EQ(f->ImgList->Count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(HasPicture(f->tbTop, i)) << i;
    TrDBGridFilterCondForm d(form.get());
    EXPECT_EQ(d.btPeriod->ImageIndex(), 8);
    EXPECT_TRUE(HasPicture(d.ToolBarPeriod, 8));
    d.Show();
    EXPECT_GT(d.btPeriod->Width(), 120) << "room for the picture and the caption";
    d.Hide();
}
