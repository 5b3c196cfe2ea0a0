// A second grid coupled under this one (totals, say): its columns follow
// this grid's order, visibility and widths, and both scroll sideways together.

#include "components/grid/rDBGrid.h"

#include "components/grid/TrDBGridFilterBar.h"
#include "components/base/rtool.h"
#include "platform/database/Fields.h"

namespace {

// The raw left column of To that shows the same data column as From's left
// column (the grids may differ in their indicator columns).
int FooterLeftCol(const TrDBGrid* From, const TrDBGrid* To)
{
    const int dataCol = From->LeftCol() - From->IndicatorOffset();
    return std::clamp(dataCol + To->IndicatorOffset(), To->FixedCols(), std::max(To->FixedCols(), To->ColCount() - 1));
}

}  // namespace

void TrDBGrid::SetFooterDBGrid(TrDBGrid* FooterGrid, const QString& FieldPrefix, bool ShowHSBarMaster, bool ShowHSBarFooter)
{
    if (FFooterGrid && FFooterGrid != FooterGrid) {
        FFooterGrid->NotifyTopLeftChanged = nullptr;
        RemoveFreeNotification(FFooterGrid);
    }
    FFooterGrid = FooterGrid;
    FFooterGridFieldPrefix = FieldPrefix;
    if (!FooterGrid)
        return;
    FreeNotification(FooterGrid);
    FooterGrid->NotifyTopLeftChanged = [this](TrDBGrid* Footer) { FooterScrolled(Footer); };
    SetScrollBars(ShowHSBarMaster ? ssHorizontal : ssNone);
    FooterGrid->SetScrollBars(ShowHSBarFooter ? ssHorizontal : ssNone);
    FooterGrid->SetOptions(FooterGrid->Options() & ~dgColumnResize);
    UpdateFooterGrid();
}

void TrDBGrid::UpdateFooterGrid()
{
    if (!FFooterGrid || FooterGridUpdating)
        return;
    FooterGridUpdating = true;
    try {
        // The same indicator width keeps the columns under each other.
        if (FFooterGrid->FixedColText()->FixedColWidth() != FFixedColText.FixedColWidth()) {
            FFooterGrid->FixedColText()->SetFixedColWidth(FFixedColText.FixedColWidth());
            FFooterGrid->LayoutChanged();
        }
        TDBGridColumns* fc = FFooterGrid->Columns();
        for (int i = 0; i < Columns()->Count(); ++i) {
            TColumn* mine = Columns()->Items(i);
            const QString wanted = FFooterGridFieldPrefix + mine->FieldName();
            // The footer column of the same name, else the last nameless one, else a new one.
            int found = -1, nameless = -1;
            for (int j = i; j < fc->Count() && found < 0; ++j) {
                if (fc->Items(j)->FieldName().compare(wanted, Qt::CaseInsensitive) == 0)
                    found = j;
                else if (fc->Items(j)->FieldName().isEmpty())
                    nameless = j;
            }
            if (found < 0)
                found = nameless;
            if (found < 0) {
                fc->Add();
                found = fc->Count() - 1;
            }
            if (found != i)
                fc->Items(found)->SetIndex(i);
            TColumn* theirs = fc->Items(i);
            theirs->SetVisible(mine->Visible());
            theirs->SetWidth(mine->Width());
        }
        FFooterGrid->SetLeftCol(FooterLeftCol(this, FFooterGrid));
    } catch (...) {
        FooterGridUpdating = false;
        throw;
    }
    FooterGridUpdating = false;
}

void TrDBGrid::FooterScrolled(TrDBGrid* Footer)
{
    if (!FooterGridUpdating && Footer == FFooterGrid) {
        FooterGridUpdating = true;
        SetLeftCol(FooterLeftCol(Footer, this));
        FooterGridUpdating = false;
    }
}

void TrDBGrid::TopLeftChanged()
{
    TDBGrid::TopLeftChanged();
    // The floating filter box follows its column.
    if (TrDBGridFilterBar* bar = TrDBGridFilterBar::Find(this))
        bar->FilterComboRefreshBounds();
    if (FFooterRow.FooterVisible())
        DrawFooterRow();
    FTitleLineText.PosRight = 0;
    if (FFooterGrid && !FooterGridUpdating) {
        FooterGridUpdating = true;
        FFooterGrid->SetLeftCol(FooterLeftCol(this, FFooterGrid));
        FooterGridUpdating = false;
    }
    if (NotifyTopLeftChanged)
        NotifyTopLeftChanged(this);
    if (FOptionsEx2.Filters.FilterPanel)
        Invalidate();
    if (OnTopLeftChanged)
        OnTopLeftChanged(this);
}
