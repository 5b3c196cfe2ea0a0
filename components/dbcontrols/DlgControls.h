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

// Lets a dialog's controls follow a resize: Grow takes the extra room both
// ways, controls right of it follow the right edge, controls below it the
// bottom edge (and the right edge when they end where Grow ends).
void AnchorAroundGrowing(TWinControl* Parent, TControl* Grow);
