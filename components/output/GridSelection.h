#pragma once
// Which records of a grid the user selected, as exports and printouts read
// it: a grid keeping its own selection (TrDBGrid_MS) answers through its own
// queries, any other grid through the base grid's selected rows.

#include "components/grid/rDBGridTypes.h"
#include "platform/ui/Graphics.h"

class TCustomDBGrid;
class TField;
class TFont;
class TrDBGrid;

// Whether the grid's current record is selected.
bool IsCurrentRowSelected(TCustomDBGrid* Grid);
int SelectedRowCount(TCustomDBGrid* Grid);
// A cell's font and colours as the grid paints it, without the selection's
// colouring: a selected record exports in its own colours.
void GetOutputCellParams(TrDBGrid* Grid, TField* Field, TFont* AFont, TColor& Background, TDataImageDef& DataImageDef);
