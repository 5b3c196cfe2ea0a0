#include "components/dbcontrols/DlgControls.h"

#include "components/stringgrid/rStringGridEd.h"

void SetUpDialogListGrid(TrStringGridEd* Grid, int ColCount)
{
    Grid->SetColCount(ColCount);
    Grid->SetRowCount(2);
    Grid->SetFixedCols(0);
    Grid->SetFixedRows(1);
    Grid->SetOptions(Grid->Options() | goEditing | goColSizing);
}
