#pragma once
// What the export and print dialogs share about their source: the dataset
// behind it, and the hidden twin of a caller's grid on which the user's
// column and record choices are made (the twin shares the data, so a record
// filter reaches the caller's grid, while its columns stay the caller's own).

#include "components/base/ParioCompGlobalCfg.h"

class TComponent;
class TCustomDBGrid;
class TDataSet;

// The dataset behind a source: a grid's or record view's (which must be
// active, else false), a dataset itself (active or not), none for tree
// views and string grids.
bool ResolveSourceDataSet(TSourceType Type, TComponent* Source, TDataSet*& Data);
// A hidden grid named "gr", owned by Owner, on the caller's parent; a
// library grid when the caller is one.
TCustomDBGrid* MakeTwinGrid(TComponent* Owner, TCustomDBGrid* Orig);
// Copies the caller's colours, fonts, data source, columns, its library
// settings and its selected rows into the twin.
void CopyToTwin(TCustomDBGrid* Orig, TCustomDBGrid* Twin);
