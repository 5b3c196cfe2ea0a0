// Screen scaling of the grid: the pixel settings follow the ratio through
// UseScale; the fonts of the bands that keep their own font are scaled here.

#include "components/grid/rDBGrid.h"

#include "components/base/rtool.h"

void TrDBGrid::ChangeScale(int M, int D)
{
    // 1. A window may keep the grid as it is.
    if (M == D || D == 0 || !DoGeneralEvent(geChangeScaleBefore))
        return;
    // 2.
    BeginUpdate();
    try {
        TDBGrid::ChangeScale(M, D);
        FScaleRatio = M * FScaleRatio / D;
        FOptionsEx2.Filters.TextBarHeight = MulDiv(FOptionsEx2.Filters.TextBarHeight, M, D);
        if (FFixedColText.FixedColWidth() >= 8)
            FFixedColText.SetFixedColWidth(FFixedColText.FixedColWidth() * M / D);
        if (!FTitleLineText.ParentFont()) {
            TFont f(FTitleLineText.Font());
            DPI_ScaleFontHeight(&f, M, D);
            FTitleLineText.SetFont(f);
        }
        if (!FFixedColText.ParentFont()) {
            TFont f(FFixedColText.Font());
            DPI_ScaleFontHeight(&f, M, D);
            FFixedColText.SetFont(f);
        }
        if (!FFooterRow.ParentFont())
            DPI_ScaleFontHeight(&FFooterRow.Font, M, D);
        if (FFooterRow.FooterHeight() > 0)
            FFooterRow.SetFooterHeight(FFooterRow.FooterHeight() * M / D);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    LayoutChanged();
    // 3.
    DoGeneralEvent(geChangeScaleAfter);
}
