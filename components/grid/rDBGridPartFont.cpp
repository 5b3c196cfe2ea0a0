#include "components/grid/rDBGridPartFont.h"

#include "components/grid/rDBGrid.h"

void TGridPartFont::SetFont(const TFont& V)
{
    FFont.Assign(V);
    FParentFont = false;
    Changed();
}

void TGridPartFont::SetParentFont(bool V)
{
    FParentFont = V;
    if (V)
        FFont.Assign(*FGrid->Font());
    FGrid->Invalidate();
}
