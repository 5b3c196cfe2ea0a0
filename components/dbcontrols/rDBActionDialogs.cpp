#include "components/dbcontrols/rDBActionDialogs.h"

#include "components/dbcontrols/rDBFieldsForm.h"
#include "components/dbcontrols/rDBFilterForm.h"
#include "components/dbcontrols/rDBFilterSaver.h"
#include "components/dbcontrols/rDBFindForm.h"
#include "components/dbcontrols/rDBSortForm2.h"
#include "components/grid/TrDBAction.h"
#include "components/grid/rDBGrid.h"

void InstallDBActionDialogs(TrDBAction* Actions)
{
    if (!Actions)
        return;
    TrDBActionDialogs& d = Actions->Dialogs;
    d.Find = [](TrDBGrid* Grid) { return FindRec(Grid, false); };
    d.FilterForm = [](TrDBGrid* Grid) { return FilterRec(Grid, false); };
    d.SortDialog = [](TrDBGrid* Grid) { return SortRec(Grid); };
    d.ChooseFields = [](TrDBGrid* Grid) { ChooseFields(Grid, 0); };
    d.SavedSortNames = [](TrDBGrid* Grid) {
        QStringList names;
        SortRec_LoadSortNames(Grid, names);
        return names;
    };
    // The menu hands over the item's place in the alphabetical list.
    d.ActivateSavedSort = [](TrDBGrid* Grid, int Index) { return SortRec_ActiveSortListPos(Grid, Index); };
    d.SaveFilter = [](TrDBGrid* Grid) {
        SaveFilter(Grid);
        return true;
    };
    d.LoadFilter = [](TrDBGrid* Grid) { return LoadFilter(Grid); };
    d.StoredFilterNames = [](TrDBGrid* Grid) {
        QStringList names;
        LoadFilterNames(Grid, names);
        return names;
    };
    d.ActivateStoredFilter = [](TrDBGrid* Grid, const QString& Name) { return ActiveFilterName(Grid, Name); };
}
