#include "components/output/rDBActionOutput.h"

#include "components/grid/TrDBAction.h"
#include "components/grid/rDBGrid.h"
#include "components/output/rDBExport.h"
#include "components/output/rDBPrint.h"
#include "components/output/rDBPrintDirect.h"

void InstallDBActionOutput(TrDBAction* Actions)
{
    if (!Actions)
        return;
    TrDBActionDialogs& d = Actions->Dialogs;
    d.Export = [](TrDBGrid* Grid, bool Filter, bool Columns) { DBExport(Grid, Filter, Columns, false, false); };
    d.Print = [](TrDBGrid* Grid, bool Columns, bool Filter) { DBPrint(Grid, Columns, Filter, QString()); };
    d.PrintDirect = [](TrDBGrid* Grid, bool Columns, bool Filter) { DBPrintDirect(Grid, Columns, Filter, QString()); };
}
