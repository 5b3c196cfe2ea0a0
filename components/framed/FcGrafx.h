#pragma once
// Gradient and bitmap painting of the framed controls.

#include "components/framed/FcCommon.h"
#include "platform/ui/Controls.h"

// Paints Bounds with a two-colour gradient in one of ten directions.
void PaintGradient(TCanvas* Canvas, const TRect& Bounds, TFcGradientDirection Direction, TColor StartColor,
                   TColor StopColor, TSmoothFactor Smooth = 1);
// Paints what the control's parent shows under the control (its colour: the
// windows compose transparent controls over their parents themselves).
void DrawParentImage(TControl* Control, TCanvas* Canvas, bool InvalidateParent = false);
// Draws SourceRect of Bitmap stretched onto DestRect, leaving TransparentColor out.
void DrawFullTransparentBitmap(TCanvas* Canvas, const TBitmap* Bitmap, const TRect& DestRect, const TRect& SourceRect,
                               TColor TransparentColor);
