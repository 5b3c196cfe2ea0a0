#pragma once
// Paints what a control's parent paints under it (the parent's own client
// painting, not its other children), so a see-through control shows the
// parent's gradient or picture rather than a flat colour.

class TControl;
class TCanvas;

// Draws onto Canvas at (0, 0), the control's size; nothing without a parent.
void PaintParentImage(TControl* Control, TCanvas* Canvas);
