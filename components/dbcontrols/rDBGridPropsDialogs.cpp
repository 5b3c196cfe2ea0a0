#include "components/dbcontrols/rDBGridPropsDialogs.h"

#include "components/dbcontrols/rDBFieldsForm.h"
#include "components/dbcontrols/rDBFieldsGroupForm.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rDBGridPropsForm.h"

void InstallDBGridPropsDialogs()
{
    TrDBGridPropsHooks& h = DBGridPropsHooks();
    h.ChooseFields = [](TrDBGrid* Grid) { ChooseFields(Grid, 0); };
    h.FieldsGroups = [](TrDBGrid* Grid) { SetFieldsGroup(Grid); };
}
