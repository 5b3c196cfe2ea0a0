#include "components/dbcontrols/rDBGridPropsDialogs.h"

#include "components/dbcontrols/rDBFieldsForm.h"
#include "components/dbcontrols/rDBFieldsGroupForm.h"
#include "components/dbcontrols/TrPopupDataList.h"
#include "components/grid/TrDBGridCellParamsForm.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rDBGridPropsForm.h"

void InstallDBGridPropsDialogs()
{
    TrDBGridPropsHooks& h = DBGridPropsHooks();
    h.ChooseFields = [](TrDBGrid* Grid) { ChooseFields(Grid, 0); };
    h.FieldsGroups = [](TrDBGrid* Grid) { SetFieldsGroup(Grid); };
    // The highlight rules are reached from the properties dialog as well.
    h.CellParams = [](TrDBGrid* Grid) { DBGridCellParams(Grid); };
    h.GetCellConditionActive = [](TrDBGrid* Grid) { return bool(Grid->OptionsEx2().CellCondition.Active); };
    h.SetCellConditionActive = [](TrDBGrid* Grid, bool Active) { Grid->OptionsEx2().CellCondition.Active = Active; };
    InstallGridDataList();
}
