// The cell-condition dialogs: the grid's rules shown as table rows and stored
// back (captions to field names, colours, check boxes, icons), the row
// buttons, the format cells of non-formatting rows, and the value dialog's
// texts as a table.

#include "components/grid/TCellParamsCondList.h"
#include "components/grid/TPropSaveFile.h"
#include "components/stringgrid/rStringGridEd.h"
#include "components/grid/TrDBGridCellConds.h"
#include "components/grid/TrDBGridCellParamsForm.h"
#include "components/grid/rDBGrid.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Grids.h"
#include "platform/ui/StdCtrls.h"
#include "platform/rtl/DateUtils.h"
#include "tests/rdbgrid/RDBGridFixture.h"

#include <QFile>
#include <QTemporaryDir>

using namespace cellconddata;

namespace {

class CellParamsDialog : public RDBGridTest {
protected:
    void SetUp() override
    {
        RDBGridTest::SetUp();
        grid->Columns()->Items(5)->Title()->SetCaption(QStringLiteral("Aika"));
        TCellParamsCond* r = TrDBGridCellConds::Of(grid)->List.Add();
        r->FieldName = QStringLiteral("SECS");
        r->CondOperator = cpoGreater;
        r->Value = QStringLiteral("=AVG(SECS)");
        r->BkColor = clYellow;
        r->WholeRow = true;
        TCellParamsCond* s = TrDBGridCellConds::Of(grid)->List.Add();
        s->FieldName = QStringLiteral("STATUS");
        s->Value = QStringLiteral("3");
        s->Action = cpaAND;
    }
};

}  // namespace

TEST_F(CellParamsDialog, RulesRoundTripThroughTheTable)
{
    TrDBGridCellParamsForm dlg(form.get(), grid);
    TStringGrid* t = dlg.Table();
    ASSERT_EQ(t->RowCount(), 4);  // title, two rules, the empty new row
    EXPECT_EQ(t->Cells(colField, 1), QStringLiteral("Aika"));
    EXPECT_EQ(t->Cells(colSign, 1), QStringLiteral(">"));
    EXPECT_EQ(t->Cells(colValue, 1), QStringLiteral("=AVG(SECS)"));
    EXPECT_EQ(t->Cells(colAction, 1), QStringLiteral(">>>"));
    EXPECT_FALSE(t->Cells(colBkColor, 1).isEmpty());
    EXPECT_EQ(t->Cells(colWholeRow, 1), QStringLiteral("1"));
    EXPECT_EQ(t->Cells(colAction, 2), QStringLiteral("AND"));
    EXPECT_FALSE(dlg.IsFormattingRow(2));
    EXPECT_TRUE(t->Cells(colField, 3).isEmpty());
    // Edited cells become rules; the option switches on.
    t->SetCells(colSign, 2, QStringLiteral("NOT START BY"));
    t->SetCells(colIcon, 1, QStringLiteral("2"));
    dlg.MoveRow(2, true);
    dlg.StoreCond();
    const TCellParamsCondList& l = TrDBGridCellConds::Of(grid)->List;
    ASSERT_EQ(l.Count(), 2);
    EXPECT_EQ(l.Items[0]->FieldName, QStringLiteral("STATUS"));
    EXPECT_EQ(l.Items[0]->CondOperator, cpoNotStart);
    EXPECT_EQ(l.Items[1]->BkColor, clYellow);
    EXPECT_TRUE(l.Items[1]->ImageDef.UseDataImage);
    EXPECT_EQ(l.Items[1]->ImageDef.ImageIndex, 2);
    EXPECT_TRUE(grid->OptionsEx2().CellCondition.Active);
    // Clear removes a row; the empty last row stays; All empties the table.
    dlg.DeleteRow(1);
    EXPECT_EQ(t->RowCount(), 3);
    EXPECT_EQ(t->Cells(colField, 1), QStringLiteral("Aika"));
    dlg.DeleteRow(2);  // the empty new row is never removed
    EXPECT_EQ(t->RowCount(), 3);
    dlg.ClearAll();
    dlg.StoreCond();
    EXPECT_EQ(l.Count(), 0);
}

TEST_F(CellParamsDialog, ValueDialogTextsAsATable)
{
    TrDBGridCellParamsValuesForm v(form.get());
    EXPECT_FALSE(v.dtDate->ShowsNothing());
    for (const char* text : {"120", "=$Date", "=NAME", "=SUM(SECS)"}) {
        v.SetValue(QLatin1String(text));
        EXPECT_EQ(v.Value(), QLatin1String(text));
    }
    v.SetValue(QStringLiteral("=max(SECS)"));
    EXPECT_EQ(v.Value(), QStringLiteral("=MAX(SECS)"));
    // A picked date is a fixed value.
    v.chActualDate->SetChecked(false);
    v.rbDate->SetChecked(true);
    v.dtDate->SetDate(EncodeDate(2026, 12, 10));
    EXPECT_EQ(v.Value(), DateToStr(EncodeDate(2026, 12, 10)));
    // "Value of other field" needs a field.
    v.rbField->SetChecked(true);
    v.cbField->SetText(QString());
    EXPECT_FALSE(v.CanClose());
}

TEST_F(CellParamsDialog, SummaryRulesCompareWithTheFilteredRows)
{
    // SECS over their average: the younger half of the 24 runs.
    TrDBGridCellParamsForm dlg(form.get(), grid);
    dlg.StoreCond();
    const TCellParamsCondList& l = TrDBGridCellConds::Of(grid)->List;
    auto over = [&] {
        int n = 0;
        for (data->First(); !data->Eof(); data->Next())
            n += l.Evaluate(*l.Items[0]) ? 1 : 0;
        return n;
    };
    EXPECT_EQ(over(), 12);
}

TEST_F(CellParamsDialog, GridPaintsWithItsOwnRules)
{
    grid->OptionsEx2().CellCondition.Active = true;
    TrDBGridCellConds::Of(grid)->List.Items.resize(1);
    TrDBGridCellConds::Of(grid)->List.Items[0]->Value = QStringLiteral("2980");
    const QImage img = Render();
    // Row 2 (SECS 2986) is over 2980: its whole row is yellow; row 3 (2979) is not
    // (row 1 is the active row, painted in its own colour).
    const TPoint a = Blank(2, 2), b = Blank(2, 3);
    EXPECT_EQ(PixelColor(img, a.X, a.Y), clYellow);
    EXPECT_NE(PixelColor(img, b.X, b.Y), clYellow);
}

TEST_F(CellParamsDialog, ResizingKeepsTheRowButtonsBetweenTheTableAndTheBottomPanel)
{
    TrDBGridCellParamsForm dlg(form.get(), grid);
    dlg.Show();
    for (const auto& [w, h] : {std::pair{860, 350}, std::pair{1000, 600}, std::pair{600, 260}}) {
        dlg.SetClientWidth(w);
        dlg.SetClientHeight(h);
        const int panelTop = dlg.pBottom->Top();
        for (TButton* b : {dlg.btUp, dlg.btDown, dlg.btClear, dlg.btAll}) {
            EXPECT_GT(b->Top(), dlg.grCond->Top() + dlg.grCond->Height()) << h;
            EXPECT_LE(b->Top() + b->Height(), panelTop) << h;
        }
        EXPECT_GT(dlg.grCond->Height(), 40) << h;
    }
    dlg.Hide();
}

TEST_F(CellParamsDialog, TheTablesColumnWidthsAreKeptInThePropertyFile)
{
    QTemporaryDir dir;
    TPropSaveFile file(nullptr);
    file.SetFileName(dir.filePath(QStringLiteral("props.ini")));
    // Like every dataset dialog, it keeps its settings in the global property file.
    file.SetUseAsGlobalFile(true);
    {
        TrDBGridCellParamsForm dlg(form.get(), grid);
        dlg.Show();
        dlg.grCond->SetColWidths(colValue, 171);
        dlg.Hide();
    }
    file.SetUseAsGlobalFile(false);
    ASSERT_TRUE(file.SaveFile());
    QFile saved(dir.filePath(QStringLiteral("props.ini")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(saved.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("Width=171"))) << text.toStdString();
    TPropSaveFile again(nullptr);
    again.LoadFile(dir.filePath(QStringLiteral("props.ini")));
    ASSERT_EQ(again.ReadInteger(QStringLiteral("TrDBGridCellParamsForm.grCond.Column3"), QStringLiteral("Width"), 0), 171);
    again.SetUseAsGlobalFile(true);
    TrDBGridCellParamsForm dlg(form.get(), grid);
    EXPECT_NE(dlg.grCond->ColWidths(colValue), 171);
    dlg.Show();
    EXPECT_EQ(dlg.grCond->ColWidths(colValue), 171);
    EXPECT_EQ(dlg.grCond->RowCount(), 4) << "the rows are the grid's rules, not stored ones";
    dlg.Hide();
    again.SetUseAsGlobalFile(false);
}
