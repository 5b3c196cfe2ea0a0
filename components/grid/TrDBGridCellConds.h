#pragma once
// The cell-condition rules a grid owns: evaluated for every painted data
// cell while the grid's CellCondition option is on, edited in the rule
// dialog and stored by the grid's settings saver.

#include "components/grid/TCellParamsCondList.h"
#include "platform/rtl/Component.h"

class TrDBGrid;

class TrDBGridCellConds : public TComponent {
public:
    explicit TrDBGridCellConds(TrDBGrid* Grid);
    // The grid's rules, made on first use (named "CellParamsCondList").
    static TrDBGridCellConds* Of(TrDBGrid* Grid);
    static TrDBGridCellConds* Find(const TrDBGrid* Grid);
    TCellParamsCondList List;
    // Recomputes the column summaries when a rule compares with one
    // ("=SUM(FIELD)" and its kin): after the rules or the filter changed,
    // never while cells are painted.
    void RefreshSummaries();
};
