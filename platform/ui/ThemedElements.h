#pragma once
// More elements of the light look: the status bar's size grip, the tool
// bar's background and separators, and the group box caption's measure.

#include "platform/ui/Graphics.h"

// The diagonal dots of a size grip, placed in the bottom-right corner of R.
void DrawThemedSizeGrip(TCanvas* Canvas, const TRect& R);
void DrawThemedRebarBackground(TCanvas* Canvas, const TRect& R);
// A separator line across the middle of R (Vertical: a vertical line).
void DrawThemedToolbarSeparator(TCanvas* Canvas, const TRect& R, bool Vertical);
// The size a group box caption takes in the canvas's font.
TSize ThemedGroupBoxTextExtent(TCanvas* Canvas, const QString& Text);
