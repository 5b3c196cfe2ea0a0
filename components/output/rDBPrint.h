#pragma once
// Print to RTF through a dialog: DBPrint opens "Print data to RTF file" for
// a grid (DBPrintInt also for a dataset, record view, tree view or string
// grid). The dialog measures the data, fits it to the chosen paper and font
// and produces a document from the built-in page templates, which it shows
// or prints; it stays open for further prints until "Close".

#include "components/base/ParioCompGlobalCfg.h"

#include <QString>

class TComponent;
class TCustomDBGrid;
class TrDBPrintForm;

// Fields and Filter enable "Column selection" and "Data selection"; Caption
// is the report name (empty keeps the one used last). Nothing happens
// without an active dataset behind the grid.
void DBPrint(TCustomDBGrid* Grid, bool Fields, bool Filter, const QString& Caption = QString());
void DBPrintInt(TSourceType SourceType, TComponent* Source, bool Fields, bool Filter, const QString& Caption);
// The dialog while DBPrint runs (nullptr otherwise).
TrDBPrintForm* ActivePrintForm();
