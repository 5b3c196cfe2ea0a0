#pragma once
// The framed controls draw their own borders and glyphs: line painters that
// return the rectangle left inside the lines, the frame-style dispatchers,
// the two-level border of panels, labels and panes, the frame of edit-like
// controls, check marks, radio circles and drop-down arrows.

#include "components/framed/FcCommon.h"
#include "platform/ui/Controls.h"

TRect DrawSides(TCanvas* Canvas, TRect Rect, TColor ULColor, TColor LRColor, TSides Sides);
TRect DrawBevel(TCanvas* Canvas, TRect Rect, TColor ULColor, TColor LRColor, int Width, TSides Sides);
TRect DrawBox(TCanvas* Canvas, TRect Rect, TColor Color);
TRect DrawBoxCorners(TCanvas* Canvas, TRect Rect, TColor Color, int CornerLength);
TRect DrawFocusBorder(TCanvas* Canvas, TRect Rect, TColor Color);
TRect DrawRoundedFlatBorder(TCanvas* Canvas, TRect Rect, TColor Color, TSides Sides);
TRect DrawCtl3DBorder(TCanvas* Canvas, TRect Rect, bool Lowered);
TRect DrawCtl3DBorderSides(TCanvas* Canvas, TRect Rect, bool Lowered, TSides Sides);
TRect DrawButtonBorder(TCanvas* Canvas, TRect Rect, bool Lowered);
TRect DrawButtonBorderSides(TCanvas* Canvas, TRect Rect, bool Lowered, TSides Sides);
TRect DrawColorButtonBorder(TCanvas* Canvas, TRect Rect, TColor FaceColor, bool Lowered);
TRect DrawColorButtonBorderSides(TCanvas* Canvas, TRect Rect, TColor FaceColor, bool Lowered, TSides Sides);
TRect DrawBorder(TCanvas* Canvas, TRect Rect, TFrameStyleEx Style);
TRect DrawBorderSides(TCanvas* Canvas, TRect Rect, TFrameStyleEx Style, TSides Sides);
TRect DrawColorBorder(TCanvas* Canvas, TRect Rect, TColor Color, TFrameStyleEx Style);
TRect DrawColorBorderSides(TCanvas* Canvas, TRect Rect, TColor Color, TFrameStyleEx Style, TSides Sides);

struct TFcBorderSet {
    TFrameStyleEx BorderOuter = fsNone;
    TFrameStyleEx BorderInner = fsNone;
    int BorderWidth = 0;
    TSides BorderSides = sdAllSides;
    int BevelWidth = 1;
    TColor BorderColor = clBtnFace;
    TColor BorderHighlight = clBtnHighlight;
    TColor BorderShadow = clBtnShadow;
    TColor FlatColor = clBtnShadow;
    int FlatColorAdjustment = 30;
    TColor Color = clBtnFace;
    TColor ParentColor = clBtnFace;
    bool Transparent = false;
    bool SoftInnerFlatBorder = false;
};
// Outer frame, a band of BorderColor BorderWidth wide, inner frame; returns what is inside.
TRect DrawInnerOuterBorders(TCanvas* Canvas, const TRect& Bounds, const TFcBorderSet& B);
// The frame of an edit-like control on (0, 0, Width, Height).
void DrawFrame(TCanvas* Canvas, int Width, int Height, TFrameStyleEx FrameStyle, TColor Color, TColor FrameColor,
               TSides FrameSides, bool KeepInterior);
// How many pixels a frame style takes on each drawn side (BevelWidth for status and popup frames).
int FrameStyleThickness(TFrameStyleEx Style, int BevelWidth);

struct TFcGlyphColors {
    TColor FrameColor = clBtnShadow;
    TColor MarkColor = clWindowText;
    TColor FillColor = clWindow;
    TColor FocusColor = clWindow;
    TColor DisabledColor = clBtnFace;
    TColor HotTrackStopColor = clWindow;
    TColor HotTrackColor = TColor(1350640);
    TColor ReadOnlyColor = clInfoBk;
    TColor BackgroundColor = clBtnFace;
    TColor TransparentKeyColor = clOlive;
};
void DrawCheckBox(TCanvas* Canvas, const TRect& R, TCheckBoxState State, TFcButtonDisplayState DisplayState,
                  bool Focused, TFcButtonHotTrackStyle HotTrackStyle, const TFcGlyphColors& C, bool ReadOnly,
                  bool ReadOnlyColorOnFocus);
void DrawRadioButton(TCanvas* Canvas, const TRect& R, bool Checked, TFcButtonDisplayState DisplayState, bool Focused,
                     TFcButtonHotTrackStyle HotTrackStyle, const TFcGlyphColors& C, bool Transparent, bool ReadOnly,
                     bool ReadOnlyColorOnFocus);
void DrawDropDownArrow(TCanvas* Canvas, const TRect& R, TFcUIStyle UIStyle, bool Unused, bool Enabled);
void DrawHighlightBox(TCanvas* Canvas, const TRect& R, TFcGradientDirection Direction, TColor StartColor,
                      TColor StopColor);

// Invalidates every direct child that is transparent, so it redraws over a new background.
void InvalidateControls(TWinControl* Container);
// Asks a control to repaint its frame within R; a hidden control is left alone.
// (The frames are drawn by the controls themselves, inside their area.)
void InvalidateWindowFrame(TControl* Window, const TRect& R);
int DrawString(TCanvas* Canvas, const QString& Text, TRect& R, unsigned Flags);
void DrawStringCentered(TCanvas* Canvas, const QString& Text, const TRect& R);

constexpr unsigned DrawTextAlignments[3] = {DT_LEFT, DT_RIGHT, DT_CENTER};
constexpr unsigned DrawTextWordWrap[2] = {0, DT_WORDBREAK};
