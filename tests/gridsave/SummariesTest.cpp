// Column summaries: sums, extremes, averages and counts over the filtered
// records and over the multi-selected ones, a column without field in the
// middle, distinct values, rounding and the tag texts.

#include "components/grid/TrDBGridColumnFilters.h"
#include "components/grid/TrDBGridSummaries.h"
#include "components/grid/TrDBGridTitlePopup.h"
#include "platform/ui/Menus.h"
#include "components/grid/rDBGrid.h"
#include "platform/database/DataSource.h"
#include "platform/database/Fields.h"
#include "platform/ui/Forms.h"
#include "tests/rdbgrid/RDBGridFixture.h"

#include <gtest/gtest.h>

TEST(Summaries, RoundingKeepsAboutSixDigits)
{
    const std::pair<double, double> cases[] = {{0, 0}, {123456.7, 123457}, {1234.567, 1234.57}, {0.1234567, 0.123457},
                                               {-2.5, -2.5}, {1234.5625, 1234.56}};
    for (const auto& [in, out] : cases)
        EXPECT_DOUBLE_EQ(TrDBGridSummaries::DoRound(in), out) << in;
}

TEST(Summaries, ColumnsSelectionDistinctValuesAndTags)
{
    TForm form(nullptr);
    auto data = MakeRunsTable(24);
    TDataSource src;
    src.SetDataSet(data.get());
    auto* grid = new TrDBGrid(&form);
    grid->SetParent(&form);
    grid->SetDataSource(&src);
    grid->SetOptions(grid->Options() | dgMultiSelect);
    // A customised set with a column without field between two others.
    TDBGridColumns* cols = grid->Columns();
    cols->Clear();
    cols->Add()->SetFieldName(QStringLiteral("ID"));
    cols->Add()->SetFieldName(QString());
    cols->Add()->SetFieldName(QStringLiteral("SECS"));
    cols->Add()->SetFieldName(QStringLiteral("CLUB"));
    data->SetFilter(QStringLiteral("STATUS = '0'"));  // drops ids 5, 10, 15, 20
    data->SetFiltered(true);
    data->First();
    grid->SelectedRows()->SetCurrentRowSelected(true);  // id 1
    data->Next();
    grid->SelectedRows()->SetCurrentRowSelected(true);  // id 2
    data->First();

    TrDBGridSummaries s(grid);
    s.CalculateDistinctValues = true;
    s.Recalculate();
    ASSERT_EQ(s.Results().size(), 4u);
    const TSummaryResults id = s.GetSummaryResults(data->FieldByName(QStringLiteral("ID")), false);
    EXPECT_EQ(id.CountValues, 20);
    EXPECT_DOUBLE_EQ(id.Sum, 300 - 50);
    EXPECT_DOUBLE_EQ(id.Min, 1);
    EXPECT_DOUBLE_EQ(id.Max, 24);
    EXPECT_DOUBLE_EQ(id.Avg, 12.5);
    EXPECT_EQ(id.SelCountValues, 2);
    EXPECT_DOUBLE_EQ(id.SelSum, 3);
    EXPECT_DOUBLE_EQ(id.SelMax, 2);
    // The column after the one without field still gets its figures.
    const TSummaryResults secs = s.Results()[2];
    EXPECT_EQ(secs.CountValues, 20);
    EXPECT_DOUBLE_EQ(secs.Sum, 20 * 3000 - 7 * 250);
    const TSummaryResults club = s.Results()[3];
    EXPECT_EQ(club.DistinctValueCount, 4);
    ASSERT_FALSE(club.DistinctValues.empty());
    // Each club loses one disqualified run: equal counts go by name.
    EXPECT_EQ(club.DistinctValues[0].Count, 5);
    EXPECT_EQ(club.DistinctValues[0].Value, QStringLiteral("Kiito-Tampere"));

    QString text = QStringLiteral("Σ %sum / %SelSum, n=%COUNTALL, ka %AVG");
    const QString values = s.ReplaceSummaryTags(text, id.Field, id, true);
    EXPECT_EQ(text, QStringLiteral("Σ 250 / 3, n=20, ka 12,5"));
    EXPECT_EQ(values, QStringLiteral("250; 12,5; 20; 3"));
}

namespace {

class FooterSummaries : public RDBGridTest {
protected:
    QString Footer(const char* Field) { return grid->FooterRow()->GetFooterText(data->FieldByName(QLatin1String(Field))); }
};

}  // namespace

TEST_F(FooterSummaries, FooterTextsShowTheGridsSummaries)
{
    TFooterRow* f = grid->FooterRow();
    f->FieldFooterDefs.Add(QStringLiteral("SECS=Σ %SUM;R;B"));
    f->FieldFooterDefs.Add(QStringLiteral("NAME=%COUNTALL juoksijaa"));
    f->SetFooterVisible(true);
    // Before any recalculation the tags show the empty summary.
    EXPECT_EQ(Footer("NAME"), QStringLiteral("0 juoksijaa"));
    grid->RecalculateSummaryResults(true);
    EXPECT_EQ(Footer("SECS"), QStringLiteral("Σ 69900"));  // 24 × 3000 − 7 × 300
    EXPECT_EQ(Footer("NAME"), QStringLiteral("24 juoksijaa"));
    EXPECT_EQ(grid->SummaryResults(grid->Columns()->Items(5), false).Max, 2993);
    EXPECT_EQ(grid->GetSummaryResults(nullptr, false).Field, nullptr);
    // The stored results stay until the next recalculation.
    data->SetFilter(QStringLiteral("STATUS = '3'"));
    data->SetFiltered(true);
    EXPECT_EQ(Footer("NAME"), QStringLiteral("24 juoksijaa"));
    EXPECT_EQ(grid->GetSummaryResults(data->FieldByName(QStringLiteral("ID")), true).CountValues, 4);
    EXPECT_EQ(Footer("NAME"), QStringLiteral("4 juoksijaa"));
}

TEST_F(FooterSummaries, RecalculatedOnOpenAndAfterAFilterWhenAsked)
{
    TFooterRow* f = grid->FooterRow();
    f->FieldFooterDefs.Add(QStringLiteral("NAME=%COUNTALL"));
    f->SetFooterVisible(true);
    f->RecalculateAfterOpen = true;
    // The grid's link becomes active again (as when a window opens its data).
    grid->SetDataSource(nullptr);
    grid->SetDataSource(src.get());
    EXPECT_EQ(Footer("NAME"), QStringLiteral("24"));
    // A column filter recalculates only with RecalculateAfterFilter.
    TrDBGridColumnFilters* filters = TrDBGridColumnFilters::Of(grid);
    ASSERT_TRUE(filters->ProcFilterBarFilter(data->FieldByName(QStringLiteral("STATUS")), QStringLiteral("3")));
    EXPECT_EQ(Footer("NAME"), QStringLiteral("24"));
    f->RecalculateAfterFilter = true;
    ASSERT_TRUE(filters->ProcFilterBarFilter(data->FieldByName(QStringLiteral("STATUS")), QStringLiteral("0")));
    EXPECT_EQ(Footer("NAME"), QStringLiteral("20"));
}

TEST_F(FooterSummaries, TheFooterPaintsTheReplacedText)
{
    TFooterRow* f = grid->FooterRow();
    f->FieldFooterDefs.Add(QStringLiteral("SECS=%SUM;R"));
    f->SetFooterVisible(true);
    grid->RecalculateSummaryResults(true);
    QString painted;
    grid->OnDrawFooterCell = [&painted](TComponent*, const TRect&, int, TField* F, QString& Text, bool&) {
        if (F && F->FieldName() == QLatin1String("SECS"))
            painted = Text;
    };
    Render();
    EXPECT_EQ(painted, QStringLiteral("69900"));
}

// The window may compute the summaries and reword their texts through the
// grid's own events.
TEST_F(FooterSummaries, TheWindowsSummaryEventsAreTheGrids)
{
    TFooterRow* f = grid->FooterRow();
    f->FieldFooterDefs.Add(QStringLiteral("SECS=%SUM s"));
    TComponent* sender = nullptr;
    grid->OnRecalculateSummaryResult = [&](TComponent* Sender, TField* F, TSummaryResults& R) {
        sender = Sender;
        if (F && F->FieldName() == QLatin1String("SECS"))
            R.Sum = 42;
    };
    grid->OnGetSummaryResult = [](TComponent*, TField*, const TSummaryResults&, const QString& Tag, bool ForFooter, QString& Text) {
        if (Tag == QLatin1String("%SUM") && ForFooter)
            Text = QStringLiteral("<") + Text + QStringLiteral(">");
    };
    grid->RecalculateSummaryResults(true);
    EXPECT_EQ(sender, grid);
    EXPECT_EQ(Footer("SECS"), QStringLiteral("<42> s"));
    // A title popup line the window takes instead of copying it.
    TrDBGridTitlePopup* popup = TrDBGridTitlePopup::Of(grid);
    popup->BuildTitlePopup(grid->Columns()->Items(5));
    TComponent* clicked = nullptr;
    grid->OnTitlePopupItemClick = [&clicked](TComponent* Sender) { clicked = Sender; };
    TMenuItem* line = popup->Menu()->Items()->Items(0);
    popup->TitlePopupClick(line);
    EXPECT_EQ(clicked, line);
}
