// The exporters' entries and walks for the sources that are not data
// grids: a record view (the current record), a tree view (its shown nodes)
// and a string grid (its data rows). Kept apart from the grid code because
// the string grid's and the data grid's type headers cannot meet.

#include "components/output/TExportEngine.h"

#include "components/dbcontrols/TrDBRecView.h"
#include "components/stringgrid/rStringGridEd.h"
#include "platform/ui/TreeViews.h"

bool TExportEngine::Execute(TrDBRecView* RecView)
{
    return ExecuteInt(stRecView, RecView);
}

bool TExportEngine::Execute(TTreeView* TreeView)
{
    return ExecuteInt(stTreeView, TreeView);
}

bool TExportEngine::Execute(TrStringGridEd* StringGrid)
{
    return ExecuteInt(stStringGrid, StringGrid);
}
