#pragma once
// The master-data editors keep their grids' columns (order, widths, shown
// columns) in the application-wide property file, under the window's and
// the grid's names: read when the editor opens, written when it closes.

class TCustomForm;
class TDBGrid;

void ReadEditorGridLayout(TCustomForm* Form, TDBGrid* Grid);
void SaveEditorGridLayout(TCustomForm* Form, TDBGrid* Grid);
