#pragma once
// The horizontal alignment of a single-line edit's text, room kept free at
// its right for a button inside it, and a frame the edit's owner paints
// itself over the edit's edge instead of the platform's border.

#include "platform/ui/Controls.h"

#include <functional>

class TCustomEdit;

void SetEditAlignment(TCustomEdit* Edit, TAlignment Alignment);
void SetEditRightMargin(TCustomEdit* Edit, int Pixels);
// Room kept free at both sides of the text (buttons inside the edit).
void SetEditMargins(TCustomEdit* Edit, int Left, int Right);
// Painter nullptr gives the platform's border back.
void SetEditFramePainter(TCustomEdit* Edit, std::function<void(TCanvas* Canvas)> Painter);
