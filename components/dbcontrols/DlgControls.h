#pragma once
// Building blocks of the dataset dialogs' windows: controls placed on their
// parent in one call (PlaceControl), and the editable list grid several
// dialogs keep (no fixed column, one title row, editable cells, resizable
// columns).

#include "platform/rtl/Component.h"
#include "platform/ui/Controls.h"
#include "platform/ui/PlaceControl.h"

#include <QString>

class TrStringGridEd;

// ColCount columns, a title row and one empty row.
void SetUpDialogListGrid(TrStringGridEd* Grid, int ColCount);
