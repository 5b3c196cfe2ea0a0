#pragma once
// Direct printing through a dialog: DBPrintDirect opens "Print of data" for
// a grid (DBPrintDirectInt also for a dataset, record view, tree view or
// string grid). The rows are drawn page by page on the chosen printer, or
// into page pictures shown by the page preview, from which the same report
// can be printed.

#include "components/base/ParioCompGlobalCfg.h"

#include <QString>

class TComponent;
class TCustomDBGrid;
class TrDBPrintDirectForm;

// Fields and Filter enable "Column selection" and "Data selection"; Caption
// is the report title (empty keeps the one used last). Nothing happens
// without an active dataset behind the grid.
void DBPrintDirect(TCustomDBGrid* Grid, bool Fields, bool Filter, const QString& Caption = QString());
void DBPrintDirectInt(TSourceType SourceType, TComponent* Source, bool Fields, bool Filter, const QString& Caption);
// The dialog while DBPrintDirect runs (nullptr otherwise).
TrDBPrintDirectForm* ActivePrintDirectForm();
