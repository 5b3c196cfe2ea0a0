// The library grid's saver writes and restores every group of its keys: the
// filter panel switch and history, used bar texts, line style, the fixed
// column's texts, the cell-condition rules, the whole footer and the
// display-kind lists; deleting erases their sections.

#include "components/grid/TCellParamsCondList.h"
#include "components/grid/TPropSaveFile.h"
#include "components/grid/TrDBGridCellConds.h"
#include "components/grid/TrDBGridColumnFilters.h"
#include "components/grid/TrDBGridFilterBar.h"
#include "components/grid/TrDBGridsPropSave.h"
#include "components/grid/rDBGrid.h"
#include "tests/rdbgrid/RDBGridFixture.h"

namespace {

class GridSaverKeys : public RDBGridTest {
protected:
    void SetUp() override
    {
        RDBGridTest::SetUp();
        form->SetName(QStringLiteral("f"));
        grid->SetName(QStringLiteral("g"));
        file.SetContent(QString());
        main = std::make_unique<TPropSaveMain>(form.get());
        main->SetPropSaveFile(&file);
        saver = new TrDBGridsPropSave(form.get());
        saver->SetPropSaveMain(main.get());
        saver->StoreFooterRow = saver->StoreFilterSetting = saver->StoreDesignSetting = saver->StoreFieldsGroup = true;
    }
    void TearDown() override
    {
        main->SetPropSaveFile(nullptr);
        main.reset();
        RDBGridTest::TearDown();
    }
    TPropSaveFile file{nullptr};
    std::unique_ptr<TPropSaveMain> main;
    TrDBGridsPropSave* saver = nullptr;
};

}  // namespace

TEST_F(GridSaverKeys, EveryGroupRoundTrips)
{
    TOptionsEx2& o = grid->OptionsEx2();
    o.Filters.FilterPanel = true;
    o.Appearance.DataRowLineStyle = psDot;
    o.CellCondition.Active = true;
    grid->FixedColText()->SetFixedColWidth(13);
    grid->FixedColText()->SetTitleText(QStringLiteral("#"));
    grid->FixedColText()->SetTextMask(QStringLiteral("%RECNO"));
    TCellParamsCond* rule = TrDBGridCellConds::Of(grid)->List.Add();
    rule->FieldName = QStringLiteral("SECS");
    rule->CondOperator = cpoGreater;
    rule->Value = QStringLiteral("=AVG(SECS)");
    rule->BkColor = 0x99FFFF;
    rule->WholeRow = true;
    TFooterRow* fr = grid->FooterRow();
    fr->BoldText = true;
    fr->SimpleText = QStringLiteral("Yhteensä");
    fr->SimpleTextAlign = taCenter;
    fr->FieldFooterDefs.Add(QStringLiteral("SECS=%SUM;R"));
    fr->SetFooterVisible(true);
    grid->FieldsAsLink.Add(QStringLiteral("NAME"));
    grid->TitleHints.Add(QStringLiteral("SECS=Aika sekunteina"));
    TrDBGridFilterBar* bar = TrDBGridFilterBar::Of(grid);
    bar->TextValueList[QStringLiteral("NAME")] = {QStringLiteral("Laine"), QStringLiteral("Aino")};
    ASSERT_TRUE(bar->FilterPanelApply(QStringLiteral("STATUS = '3'")));
    saver->ReadSaveProps(psaSave, &file, grid, QStringLiteral("f.g"));
    EXPECT_EQ(file.ReadInteger(QStringLiteral("f.g"), QStringLiteral("CellParamsCondCount"), 0), 1);
    EXPECT_EQ(file.ReadString(QStringLiteral("f.g.CellParamsCond0"), QStringLiteral("Value"), QString()), QStringLiteral("=AVG(SECS)"));
    EXPECT_TRUE(file.SectionExists(QStringLiteral("f.gFieldsFieldsAsLink")));
    EXPECT_TRUE(file.ValueExists(QStringLiteral("f.g"), QStringLiteral("FieldGroupMergedCell")));
    EXPECT_TRUE(file.SectionExists(QStringLiteral("f.g.FixedCol")) == false);  // the parent font is not stored

    // A fresh grid reads everything back.
    TForm other(nullptr);
    other.SetName(QStringLiteral("f"));
    auto* g = new TrDBGrid(&other);
    g->SetName(QStringLiteral("g"));
    g->SetDataSource(src.get());
    saver->ReadSaveProps(psaRead, &file, g, QStringLiteral("f.g"));
    TOptionsEx2& p = g->OptionsEx2();
    EXPECT_TRUE(p.Filters.FilterPanel);
    EXPECT_EQ(p.Appearance.DataRowLineStyle, psDot);
    EXPECT_TRUE(p.CellCondition.Active);
    EXPECT_EQ(g->FixedColText()->FixedColWidth(), 13);
    EXPECT_EQ(g->FixedColText()->TitleText(), QStringLiteral("#"));
    EXPECT_EQ(g->FixedColText()->TextMask(), QStringLiteral("%RECNO"));
    ASSERT_EQ(TrDBGridCellConds::Of(g)->List.Count(), 1);
    const TCellParamsCond& r = *TrDBGridCellConds::Of(g)->List.Items[0];
    EXPECT_EQ(r.CondOperator, cpoGreater);
    EXPECT_EQ(r.BkColor, TColor(0x99FFFF));
    EXPECT_TRUE(r.WholeRow);
    EXPECT_TRUE(g->FooterRow()->BoldText);
    EXPECT_EQ(g->FooterRow()->SimpleText, QStringLiteral("Yhteensä"));
    EXPECT_EQ(g->FooterRow()->SimpleTextAlign, taCenter);
    EXPECT_TRUE(g->FooterRow()->FooterVisible());
    EXPECT_EQ(g->FieldsAsLink.Text().trimmed(), QStringLiteral("NAME"));
    EXPECT_EQ(g->TitleHints.Values(QStringLiteral("SECS")), QStringLiteral("Aika sekunteina"));
    TrDBGridFilterBar* b = TrDBGridFilterBar::Of(g);
    EXPECT_EQ(b->TextValueList[QStringLiteral("NAME")], (QStringList{QStringLiteral("Laine"), QStringLiteral("Aino")}));
    EXPECT_EQ(b->FilterPanelCombo()->Items(), QStringList{QStringLiteral("STATUS = '3'")});
    EXPECT_EQ(g->FilteredFieldNames(), QStringLiteral("STATUS;"));

    // Deleting erases the rule, footer, filter and list sections.
    saver->ReadSaveProps(psaDelete, &file, g, QStringLiteral("f.g"));
    for (const char* s : {"f.g.CellParamsCond0", "f.gFieldsFieldsAsLink", "f.gTitleHints", "f.gFooterFieldFooterDefs",
                          "f.g.Filter.FilterPanelItems", "f.g.FilterTextValues"})
        EXPECT_FALSE(file.SectionExists(QLatin1String(s))) << s;
}
