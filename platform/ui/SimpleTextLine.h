#pragma once
// One line of cell text drawn the quick way: as a glyph run from a per-font
// table of glyphs and advances, for texts of Latin letters, without the full
// text layout. Grids that paint hundreds of cells per page use it first and
// fall back to TCanvas::DrawText when it declines.

#include "platform/ui/Graphics.h"

#include <QString>

// Draws Text as DrawText(Text, R, Flags) would for a single line (DT_LEFT,
// DT_CENTER or DT_RIGHT; DT_TOP or DT_VCENTER; clipped to R) in the canvas's
// font and font colour over a clear background, ending in "..." when it is
// too wide and DT_END_ELLIPSIS is given. Returns false and draws nothing when
// the text needs the full layout: other flags, characters the table does not
// cover, underlined or turned fonts, a solid brush.
bool DrawSimpleTextLine(TCanvas* Canvas, const TRect& R, const QString& Text, unsigned Flags);
