// The sort dialog's access to the data grid's sorting.

#include "components/base/ParioCompGlobalCfg.h"
#include "components/dbcontrols/rDBSortForm2.h"
#include "components/grid/rDBGrid.h"

QStringList GetGridSortFields(TComponent* Grid)
{
    auto* g = dynamic_cast<TrDBGrid*>(Grid);
    return g ? g->SortFieldNamesArr() : QStringList();
}

std::vector<bool> GetGridSortDescending(TComponent* Grid)
{
    auto* g = dynamic_cast<TrDBGrid*>(Grid);
    return g ? g->SortDirectionsArr() : std::vector<bool>();
}

bool ChangeGridSort(TComponent* Grid, const QString& Fields, const QString& Directions)
{
    auto* g = dynamic_cast<TrDBGrid*>(Grid);
    return g && g->ChangeSortEx(Fields, Directions);
}

bool SortRec(TrDBGrid* Grid) { return ShowSortDialog(Grid); }

// Saved sorts live in the library's global property file; the program keeps
// none yet, so there are no saved sorts to list or apply.
bool SortRec_LoadSortNames(TrDBGrid* Grid, QStringList& Names)
{
    Names.clear();
    (void)Grid;
    return false;
}

bool SortRec_ActiveSortIdx(TrDBGrid* Grid, int SortIdx)
{
    (void)Grid;
    (void)SortIdx;
    return false;
}
