#include "components/grid/TrDBGridCellConds.h"

#include "components/grid/TrDBGridTitlePopup.h"
#include "components/grid/rDBGrid.h"

#include <QRegularExpression>

namespace {

const QString CondsName = QStringLiteral("CellParamsCondList");

}  // namespace

TrDBGridCellConds::TrDBGridCellConds(TrDBGrid* Grid) : TComponent(Grid)
{
    SetName(CondsName);
    List.LinkGrid(Grid);
    // "=SUM(FIELD)" values come from the summaries the footer and title popup share.
    List.Summaries = TrDBGridTitlePopup::Of(Grid)->Summaries();
}

TrDBGridCellConds* TrDBGridCellConds::Find(const TrDBGrid* Grid)
{
    return Grid ? dynamic_cast<TrDBGridCellConds*>(Grid->FindComponent(CondsName)) : nullptr;
}

TrDBGridCellConds* TrDBGridCellConds::Of(TrDBGrid* Grid)
{
    if (!Grid)
        return nullptr;
    if (TrDBGridCellConds* c = Find(Grid))
        return c;
    return new TrDBGridCellConds(Grid);
}

TCellParamsCondList& TrDBGrid::CellParamsCondList()
{
    return TrDBGridCellConds::Of(this)->List;
}

void TrDBGridCellConds::RefreshSummaries()
{
    auto* grid = static_cast<TrDBGrid*>(Owner());
    if (!grid->IsActive())
        return;
    static const QRegularExpression summary(QStringLiteral("^=\\s*(SUM|MIN|MAX|AVG|COUNTVAL|COUNTNULL|COUNTALL)\\s*\\("),
                                            QRegularExpression::CaseInsensitiveOption);
    for (const auto& r : List.Items)
        if (!r->Deactive && summary.match(r->Value).hasMatch()) {
            TrDBGridTitlePopup::Of(grid)->RecalculateSummaryResults(true);
            return;
        }
}

// The first of the cell parameters' three steps.
void TrDBGrid::GetFieldCond(TField* Field, TFont* AFont, TColor& Background, TDataImageDef& DataImageDef, bool,
                            bool Highlight)
{
    if (!FOptionsEx2.CellCondition.Active)
        return;
    if (TrDBGridCellConds* c = TrDBGridCellConds::Find(this)) {
        c->List.Active = true;
        c->List.GetFieldCond(Field, AFont, Background, DataImageDef, Highlight, false);
    }
}
