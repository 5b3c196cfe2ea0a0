#pragma once
// Gives the grid library (components/grid) what it reaches only through its
// hooks, as it sits below this one: the column and field-group dialogs of
// the table-properties dialog, the multi-column lookup list of the cell
// editor and the data-aware picture of the picture dialog.

// Sets the hooks; safe to call more than once.
void InstallDBGridPropsDialogs();
