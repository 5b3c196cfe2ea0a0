// The sort dialog's access to the data grid's sorting.

#include "components/base/ParioCompGlobalCfg.h"
#include "components/grid/TPropSaveFile.h"
#include "components/dbcontrols/rDBSortForm2.h"
#include "platform/ui/StdCtrls.h"
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

bool SortRec_LoadSortNames(TrDBGrid* Grid, QStringList& Names, std::vector<int>* Slots)
{
    Names.clear();
    if (Slots)
        Slots->clear();
    if (!Grid || !GetGlobal_PropSaveFile())
        return false;
    TrDBSortForm2 f(nullptr);
    f.rDBGrid = Grid;
    f.LoadSavedSortNames();
    for (int i = 0; i < f.lbSavedSort->Count(); ++i) {
        Names << f.lbSavedSort->Strings(i);
        if (Slots)
            Slots->push_back(int(reinterpret_cast<intptr_t>(f.lbSavedSort->Objects(i))));
    }
    return true;
}

bool SortRec_ActiveSortListPos(TrDBGrid* Grid, int ListPos)
{
    QStringList names;
    std::vector<int> slotNos;
    if (!SortRec_LoadSortNames(Grid, names, &slotNos) || ListPos < 0 || ListPos >= int(slotNos.size()))
        return false;
    return SortRec_ActiveSortIdx(Grid, slotNos[ListPos]);
}

bool SortRec_ActiveSortIdx(TrDBGrid* Grid, int SortIdx)
{
    if (!Grid || !GetGlobal_PropSaveFile())
        return false;
    TrDBSortForm2 f(nullptr);
    f.rDBGrid = Grid;
    // A free slot holds no sort: applying it would only clear the grid's own.
    if (GetGlobal_PropSaveFile()->ReadString(f.SortSection(SortIdx), QStringLiteral("SortName"), QString()).isEmpty())
        return false;
    f.LoadFromGrid();
    f.LoadSavedSort(SortIdx);
    return f.TrySort();
}
