// Cell conditions: single rules as a table (fixed values, other fields,
// summaries, nulls, text operators), chaining with AND/OR, stop-if-true,
// a failing rule switched off, and the rule list through a property file.

#include "components/grid/TCellParamsCondList.h"
#include "components/grid/TrDBGridSummaries.h"
#include "components/grid/TrDBGridsPropSave.h"
#include "components/grid/rDBGrid.h"
#include "platform/database/DataSource.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "tests/rdbgrid/RDBGridFixture.h"

#include <gtest/gtest.h>

namespace {

class CellConditions : public ::testing::Test {
protected:
    void SetUp() override
    {
        data = MakeRunsTable(24);
        src.SetDataSet(data.get());
        grid = new TrDBGrid(&form);
        grid->SetParent(&form);
        grid->SetDataSource(&src);
        list.LinkGrid(grid);
        list.Active = true;
        data->SetRecNo(3);  // ID 3, Mäkinen Liisa, Suunta-Äänekoski, STATUS 0, RENTED K, SECS 2979
    }
    TCellParamsCond Rule(const char* Field, TCellParamsCondOperators Op, const char* Value)
    {
        TCellParamsCond c;
        c.FieldName = QLatin1String(Field);
        c.CondOperator = Op;
        c.Value = QString::fromUtf8(Value);
        return c;
    }
    TForm form{nullptr};
    std::unique_ptr<TClientDataSet> data;
    TDataSource src;
    TrDBGrid* grid = nullptr;
    TCellParamsCondList list;
};

}  // namespace

TEST_F(CellConditions, SingleRulesTable)
{
    struct Case { const char* field; TCellParamsCondOperators op; const char* value; bool expect; };
    const Case cases[] = {
        {"ID", cpoEqual, "3", true},           {"ID", cpoGreater, "3", false},       {"SECS", cpoLess, "2980", true},
        {"SECS", cpoGreaterOrEq, "=SECS", true}, {"ID", cpoLess, "=SECS", true},      {"ID", cpoEqual, "=COUNTALL(ID)", false},
        {"SECS", cpoLess, "=MAX(SECS)", true}, {"ID", cpoEqual, "", false},          {"ID", cpoNotEqual, "", true},
        {"NAME", cpoEqual, "mäkinen liisa", true}, {"NAME", cpoStart, "MÄKI", true}, {"NAME", cpoContain, "liisa", true},
        {"NAME", cpoNotContain, "liisa", false}, {"RENTED", cpoGreater, "E", true},  {"CLUB", cpoAllways, "", true},
    };
    TrDBGridSummaries sums(grid);
    sums.Recalculate();
    list.Summaries = &sums;
    for (const Case& c : cases)
        EXPECT_EQ(list.Evaluate(Rule(c.field, c.op, c.value)), c.expect) << c.field << " " << c.op << " " << c.value;
}

TEST_F(CellConditions, ChainsStopAndFailingRules)
{
    TFont font;
    TColor bk = clWindow;
    TDataImageDef img;
    auto add = [this](const TCellParamsCond& C, TCellParamsCondActions A, TColor Bk) {
        TCellParamsCond* c = list.Add();
        *c = C;
        c->Action = A;
        c->BkColor = Bk;
        c->WholeRow = true;
        return c;
    };
    // STATUS = 0 AND RENTED = K >>> yellow; then ID > 100 OR SECS < 2980 >>> green, stop; then always red.
    add(Rule("STATUS", cpoEqual, "0"), cpaAND, clNone);
    add(Rule("RENTED", cpoEqual, "K"), cpaSet, clYellow);
    add(Rule("ID", cpoGreater, "100"), cpaOR, clNone);
    add(Rule("SECS", cpoLess, "2980"), cpaSet, clLime)->StopIfTrue = true;
    add(Rule("ID", cpoAllways, ""), cpaSet, clRed);
    list.GetFieldCond(data->FieldByName(QStringLiteral("NAME")), &font, bk, img, false, true);
    EXPECT_EQ(bk, clLime);

    data->SetRecNo(1);  // RENTED E, SECS 2993: yellow and green do not hold, red does
    bk = clWindow;
    list.GetFieldCond(data->FieldByName(QStringLiteral("NAME")), &font, bk, img, false, true);
    EXPECT_EQ(bk, clRed);

    // A rule over a field the data does not have is switched off with a message.
    TCellParamsCond* bad = list.Add();
    bad->FieldName = QStringLiteral("NO_SUCH_FIELD");
    int shown = 0;
    auto old = SetModalHook([&shown](TCustomForm*) { ++shown; return int(mrOk); });
    list.GetFieldCond(nullptr, &font, bk, img, false, true);
    SetModalHook(old);
    EXPECT_TRUE(bad->Deactive);
    EXPECT_FALSE(bad->ErrorDesc.isEmpty());
    EXPECT_EQ(shown, 1);
}

TEST_F(CellConditions, RuleListThroughAPropertyFile)
{
    TCellParamsCond* c = list.Add();
    *c = Rule("NAME", cpoContain, "a\tb");
    c->Action = cpaOR;
    c->BkColor = clYellow;
    c->Bold = true;
    c->ImageDef.ImageIndex = 4;
    TPropSaveFile file(nullptr);
    file.SetContent(QString());
    TrDBGridsPropSave::SaveCellParamsCondList(&file, QStringLiteral("f.g"), list);
    TCellParamsCondList back;
    back.Add();
    TrDBGridsPropSave::ReadCellParamsCondList(&file, QStringLiteral("nothing"), back);
    EXPECT_EQ(back.Count(), 1);  // no stored rules: the list stays
    TrDBGridsPropSave::ReadCellParamsCondList(&file, QStringLiteral("f.g"), back);
    ASSERT_EQ(back.Count(), 1);
    EXPECT_EQ(back.Items[0]->Value, QStringLiteral("a\tb"));
    EXPECT_EQ(back.Items[0]->CondOperator, cpoContain);
    EXPECT_EQ(back.Items[0]->Action, cpaOR);
    EXPECT_EQ(back.Items[0]->BkColor, clYellow);
    EXPECT_EQ(back.Items[0]->FontColor, clNone);
    EXPECT_TRUE(back.Items[0]->Bold);
    EXPECT_EQ(back.Items[0]->ImageDef.ImageIndex, 4);
    file.SetContent(QStringLiteral("[k]\r\nCellParamsCondCount=1\r\n[k.CellParamsCond0]\r\nOperator=99\r\nAction=7\r\n"));
    TrDBGridsPropSave::ReadCellParamsCondList(&file, QStringLiteral("k"), back);
    EXPECT_EQ(back.Items[0]->CondOperator, cpoAllways);
    EXPECT_EQ(back.Items[0]->Action, cpaOR);
}
