#pragma once
// Cell conditions: rules that colour a grid's cells by the record's values.
// A rule compares one field with a fixed value, today's date ("=$Date"),
// another field ("=NAME") or a column summary ("=SUM(TIME)"); rules chain
// with AND/OR and the ">>>" rule applies font colour, background, bold and
// data image to its column or the whole row. A rule that raises is switched
// off with a message and the others go on.

#include "components/grid/TrDBGridSummaries.h"
#include "components/grid/rDBGridTypes.h"

#include <QString>
#include <memory>
#include <vector>

class TrDBGrid;
class TDataSet;
class TField;
class TFont;
class TStringList;

enum TCellParamsCondOperators { cpoEqual, cpoLess, cpoLessOrEq, cpoGreater, cpoGreaterOrEq, cpoNotEqual, cpoStart, cpoNotStart,
                                cpoContain, cpoNotContain, cpoAllways };
enum TCellParamsCondActions { cpaSet, cpaAND, cpaOR };

struct TCellParamsCond {
    QString FieldName;
    TCellParamsCondOperators CondOperator = cpoEqual;
    QString Value;
    TCellParamsCondActions Action = cpaSet;
    TColor FontColor = clNone;
    TColor BkColor = clNone;
    bool Bold = false;
    bool WholeRow = false;
    TDataImageDef ImageDef;
    bool StopIfTrue = false;
    bool Deactive = false;
    QString ErrorDesc;
    int LastRecNo = -1;
    bool LastResult = false;
};

class TCellParamsCondList {
public:
    std::vector<std::unique_ptr<TCellParamsCond>> Items;
    // Grid-linked lists evaluate only with the grid's cell-condition option on.
    bool Active = false;
    // The column summaries that "=SUM(FIELD)" and its kin compare with: read
    // as last computed, and computed when nothing is stored for the field
    // yet. A list without them (linked to a dataset) fails such a rule.
    TrDBGridSummaries* Summaries = nullptr;

    int Count() const { return int(Items.size()); }
    TCellParamsCond* Add();
    void Clear() { Items.clear(); }
    void Assign(const TCellParamsCondList& Source);
    void LinkGrid(TrDBGrid* Grid) { FGrid = Grid; FDataSet = nullptr; }
    void LinkDataset(TDataSet* DataSet) { FGrid = nullptr; FDataSet = DataSet; }
    void ResetCond();
    // The rules from or to INI text lines, section GridKey (empty: the grid's
    // owner name + "." + its name); only for a list linked to a grid. A
    // non-empty list read switches the grid's cell conditions on.
    void LoadFromIniContent(TStringList& IniContent, const QString& GridKey);
    void StoreToIniContent(TStringList& IniContent, const QString& GridKey);
    // Applies the rules to one cell of the current record.
    void GetFieldCond(TField* Field, TFont* AFont, TColor& Background, TDataImageDef& DataImageDef, bool Highlight,
                      bool RefreshCond);
    // Whether one rule holds for the current record (no chaining, no cache).
    bool Evaluate(const TCellParamsCond& C) const;

private:
    void ProcIniContent(TStringList& IniContent, const QString& GridKey, bool Load);
    TSummaryResults SummaryOf(TDataSet* DS, TField* F) const;
    TrDBGrid* FGrid = nullptr;
    TDataSet* FDataSet = nullptr;
};
