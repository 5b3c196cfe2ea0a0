#include "components/output/GridSelection.h"

#include "components/grid/rDBGrid_MS.h"
#include "platform/ui/DBGrids.h"

bool IsCurrentRowSelected(TCustomDBGrid* Grid)
{
    if (auto* ms = dynamic_cast<TrDBGrid_MS*>(Grid))
        return ms->IsActiveSelected();
    return Grid && Grid->SelectedRows() && Grid->SelectedRows()->CurrentRowSelected();
}

int SelectedRowCount(TCustomDBGrid* Grid)
{
    if (auto* ms = dynamic_cast<TrDBGrid_MS*>(Grid))
        return ms->GetSelectedRecCount();
    return Grid && Grid->SelectedRows() ? Grid->SelectedRows()->Count() : 0;
}

void GetOutputCellParams(TrDBGrid* Grid, TField* Field, TFont* AFont, TColor& Background, TDataImageDef& DataImageDef)
{
    if (auto* ms = dynamic_cast<TrDBGrid_MS*>(Grid))
        ms->GetCellParamsAsNotSelected(Field, AFont, Background, DataImageDef, false, false);
    else
        Grid->GetCellParams(Field, AFont, Background, DataImageDef, false, false);
}
