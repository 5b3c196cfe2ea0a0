#pragma once
// Gives the grid's table-properties dialog (components/grid) the column and
// field-group dialogs of this library: the grid library sits below this one
// and reaches them only through its hooks.

// Sets the hooks; safe to call more than once.
void InstallDBGridPropsDialogs();
