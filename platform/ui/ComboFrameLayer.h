#pragma once
// A layer over a combo box that the control paints itself: its own frame and
// drop-down button over the platform's box. The painter learns whether the
// mouse is over the box (its edit field included). With CatchMouse the layer
// takes presses and double clicks, so the box cannot be opened or edited by
// the mouse (a read-only box).

#include "platform/ui/StdCtrls.h"

#include <functional>

using TComboLayerPainter = std::function<void(TCanvas* Canvas, bool MouseOver)>;

// Puts the layer on (a painter) or takes it off (nullptr); again to change CatchMouse.
void SetComboFrameLayer(TComboBox* Combo, TComboLayerPainter Painter, bool CatchMouse);
