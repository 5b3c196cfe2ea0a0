// A second grid coupled under this one (totals, say): its columns follow
// this grid's order, visibility and widths, and both scroll sideways together.

#include "components/grid/rDBGrid.h"

#include "components/base/rtool.h"
#include "platform/database/Fields.h"

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
        FFooterGrid->SetLeftCol(std::min(LeftCol(), FFooterGrid->ColCount() - 1));
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
        SetLeftCol(std::min(Footer->LeftCol(), ColCount() - 1));
        FooterGridUpdating = false;
    }
}

void TrDBGrid::TopLeftChanged()
{
    TDBGrid::TopLeftChanged();
    if (FFooterRow.FooterVisible())
        DrawFooterRow();
    FTitleLineText.PosRight = 0;
    if (FFooterGrid && !FooterGridUpdating) {
        FooterGridUpdating = true;
        FFooterGrid->SetLeftCol(std::min(LeftCol(), FFooterGrid->ColCount() - 1));
        FooterGridUpdating = false;
    }
    if (NotifyTopLeftChanged)
        NotifyTopLeftChanged(this);
}
