#include "components/dbcontrols/DlgControls.h"

#include "components/stringgrid/rStringGridEd.h"

void SetUpDialogListGrid(TrStringGridEd* Grid, int ColCount)
{
    Grid->SetColCount(ColCount);
    Grid->SetRowCount(2);
    Grid->SetFixedCols(0);
    Grid->SetFixedRows(1);
    Grid->SetOptions(Grid->Options() | goEditing | goColSizing);
}

void AnchorAroundGrowing(TWinControl* Parent, TControl* Grow)
{
    const int right = Grow->Left() + Grow->Width(), bottom = Grow->Top() + Grow->Height();
    for (int i = 0; i < Parent->ControlCount(); ++i) {
        TControl* c = Parent->Controls(i);
        if (c == Grow) {
            c->SetAnchors(akLeft | akTop | akRight | akBottom);
            continue;
        }
        const bool below = c->Top() >= bottom;
        const bool endsWithGrow = c->Left() + c->Width() >= right - 2 && c->Left() > Grow->Left() + Grow->Width() / 2;
        const bool rightOf = c->Left() >= right - 4 || (below && endsWithGrow);
        c->SetAnchors((rightOf ? akRight : akLeft) | (below ? akBottom : akTop));
    }
}
