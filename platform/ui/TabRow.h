#pragma once
// The row of tabs of the tab and page controls along one side of their pane:
// on top, at the bottom, or as a column at the left or right. Each tab has a
// length along the row; the row's depth is the tabs' common height (top,
// bottom) or width (left, right).

#include "platform/ui/Graphics.h"

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };

inline bool TabRowVertical(TTabPosition Pos) { return Pos == tpLeft || Pos == tpRight; }
// The tab that starts Start pixels along the row and is Length long.
TRect TabRowRect(TTabPosition Pos, int Width, int Height, int Depth, int Start, int Length);
// The pane the row leaves, overlapping the row by its border line.
TRect TabRowPane(TTabPosition Pos, int Width, int Height, int Depth);
// Takes the row's depth off the client rectangle.
void TabRowAdjust(TTabPosition Pos, int Depth, TRect& R);
// The selected tab stands out: wider along the row and reaching the control's edge.
TRect TabRowSelected(TTabPosition Pos, const TRect& Tab, int Width, int Height);
// The light look's tab, open towards the pane. The first and last tab of a row
// whose edge lies on the pane's edge are drawn flush with it.
void DrawThemedTabAt(TCanvas* Canvas, const TRect& R, bool Selected, bool Hot, TTabPosition Pos, bool FirstEdge,
                     bool LastEdge);
