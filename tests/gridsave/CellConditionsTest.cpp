// Cell conditions: single rules as a table (fixed values, other fields,
// summaries, nulls, text operators), chaining with AND/OR, stop-if-true,
// a failing rule switched off, and the rule list through a property file.

#include "components/grid/TCellParamsCondList.h"
#include "components/grid/TrDBGridCellConds.h"
#include "components/grid/TrDBGridCellParamsForm.h"
#include "components/base/rHTMLLabel.h"
#include "components/grid/TrDBGridSummaries.h"
#include "components/grid/TrDBGridsPropSave.h"
#include "components/grid/rDBGrid.h"
#include "platform/database/DataSource.h"
#include "platform/ui/Forms.h"
#include "platform/rtl/StringList.h"
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

TEST_F(CellConditions, SummaryValuesAreCountedWhenNothingIsStored)
{
    // As after a restart: the rules came before the data, no summary is stored.
    TCellParamsCondList& own = TrDBGridCellConds::Of(grid)->List;
    data->SetRecNo(1);  // SECS 2993, the largest
    EXPECT_TRUE(own.Evaluate(Rule("SECS", cpoEqual, "=MAX(SECS)")));
    EXPECT_TRUE(own.Evaluate(Rule("ID", cpoEqual, "=min(ID)")));
    // Laid out while the grid had no data: still nothing counted.
    grid->SetDataSource(nullptr);
    grid->RecalculateSummaryResults(true);
    grid->SetDataSource(&src);
    data->SetRecNo(24);
    EXPECT_TRUE(own.Evaluate(Rule("ID", cpoEqual, "=COUNTALL(ID)")));
    EXPECT_EQ(data->RecNo(), 24);

    // The text of a summary value is the plain number, also above a million.
    TClientDataSet big;
    big.AddField(QStringLiteral("TXT"), ftWideString, 20);
    big.AddField(QStringLiteral("N"), ftFloat);
    big.CreateDataSet();
    big.AppendRecord({QStringLiteral("1300000"), 600000.0});
    big.AppendRecord({QStringLiteral("x"), 700000.0});
    big.First();
    TDataSource bigSrc;
    bigSrc.SetDataSet(&big);
    std::unique_ptr<TrDBGrid> bigGrid(new TrDBGrid(nullptr));
    bigGrid->SetDataSource(&bigSrc);
    EXPECT_TRUE(TrDBGridCellConds::Of(bigGrid.get())->List.Evaluate(Rule("TXT", cpoEqual, "=SUM(N)")));
}

TEST_F(CellConditions, SummaryValuesThatCannotBeHadSwitchTheRuleOff)
{
    TCellParamsCondList onData;
    onData.LinkDataset(data.get());
    struct Case { TCellParamsCondList* list; const char* value; };
    const Case cases[] = {
        {&TrDBGridCellConds::Of(grid)->List, "=FOO(SECS)"},  // no such function: a field named "FOO(SECS)"
        {&TrDBGridCellConds::Of(grid)->List, "=SUM(NOPE)"},
        {&onData, "=SUM(SECS)"},  // a list on a dataset has no grid to ask
    };
    TFont font;
    TColor bk = clWindow;
    TDataImageDef img;
    for (const Case& c : cases) {
        c.list->Clear();
        c.list->Active = true;
        TCellParamsCond* r = c.list->Add();
        *r = Rule("SECS", cpoLess, c.value);
        int shown = 0;
        auto old = SetModalHook([&shown](TCustomForm*) { ++shown; return int(mrOk); });
        c.list->GetFieldCond(nullptr, &font, bk, img, false, true);
        SetModalHook(old);
        EXPECT_TRUE(r->Deactive) << c.value;
        EXPECT_EQ(shown, 1) << c.value;
    }
}

TEST_F(CellConditions, RulesThroughIniText)
{
    form.SetName(QStringLiteral("formRuns"));
    grid->SetName(QStringLiteral("grdRuns"));
    TCellParamsCondList& own = TrDBGridCellConds::Of(grid)->List;
    *own.Add() = Rule("SECS", cpoGreater, "2900");
    own.Items[0]->BkColor = clYellow;
    TStringList lines;
    lines.Add(QStringLiteral("[other]"));
    lines.Add(QStringLiteral("Kept=1"));
    own.StoreToIniContent(lines, QString());
    EXPECT_TRUE(lines.Text().contains(QStringLiteral("[formRuns.grdRuns]"))) << lines.Text().toStdString();
    EXPECT_TRUE(lines.Text().contains(QStringLiteral("Kept=1")));

    own.Clear();
    grid->OptionsEx2().CellCondition.Active = false;
    own.LoadFromIniContent(lines, QStringLiteral("nothing.here"));
    EXPECT_EQ(own.Count(), 0);
    EXPECT_FALSE(grid->OptionsEx2().CellCondition.Active);
    own.LoadFromIniContent(lines, QString());
    ASSERT_EQ(own.Count(), 1);
    EXPECT_EQ(own.Items[0]->Value, QStringLiteral("2900"));
    EXPECT_EQ(own.Items[0]->BkColor, clYellow);
    EXPECT_TRUE(grid->OptionsEx2().CellCondition.Active);
}

TEST_F(CellConditions, TheValueDialogsListAndCondition)
{
    TClientDataSet words;
    words.AddField(QStringLiteral("W"), ftWideString, 10);
    words.CreateDataSet();
    for (const char* w : {"beta", "Alfa", "alfa", "Gamma", "BETA"})
        words.AppendRecord({QString::fromLatin1(w)});
    words.First();
    TDataSource wordSrc;
    wordSrc.SetDataSet(&words);
    std::unique_ptr<TrDBGrid> wordGrid(new TrDBGrid(nullptr));
    wordGrid->SetDataSource(&wordSrc);
    // Distinct without case, in alphabetical order without case.
    EXPECT_EQ(cellconddata::FieldValues(wordGrid.get(), QStringLiteral("W")).Values,
              QStringList({QStringLiteral("Alfa"), QStringLiteral("beta"), QStringLiteral("Gamma")}));

    TrDBGridCellParamsValuesForm v(&form);
    v.cond = QStringLiteral("Aika <");
    QString param = QStringLiteral("Cond");
    ASSERT_TRUE(bool(v.lCond->OnGetParameter));
    v.lCond->OnGetParameter(v.lCond, param);
    EXPECT_EQ(param, QStringLiteral("Aika <"));
    EXPECT_EQ(v.lCond->CaptionStrings().join(QString()), QStringLiteral("Entered condition: <B><VAR>Cond</VAR>"));
    TrDBGridCellParamsForm rules(&form, grid);
    EXPECT_EQ(rules.Constraints.MinHeight, 200);
}
