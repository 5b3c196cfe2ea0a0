#include "components/framed/FcFrames.h"

#include "components/framed/FcGrafx.h"

namespace {

const TColor ULFrameColor[11] = {clWindow,     cl3DDkShadow, clBtnShadow, clBtnHighlight, clBtnShadow,   clNone,
                                 cl3DDkShadow, clNone,       clBtnShadow, clBtnHighlight, clBtnShadow};
const TColor LRFrameColor[11] = {clWindow, cl3DDkShadow, clBtnHighlight, clBtnShadow, clBtnHighlight, clNone,
                                 clBtnFace, clNone, clBtnHighlight, clBtnShadow, clBtnShadow};

void HLine(TCanvas* C, int X1, int X2, int Y, TColor Color)
{
    if (X2 <= X1)
        return;
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color);
    C->FillRect(Rect(X1, Y, X2, Y + 1));
}

void VLine(TCanvas* C, int X, int Y1, int Y2, TColor Color)
{
    if (Y2 <= Y1)
        return;
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color);
    C->FillRect(Rect(X, Y1, X + 1, Y2));
}

void Dot(TCanvas* C, int X, int Y, TColor Color)
{
    C->SetPixel(X, Y, ColorToRGB(Color));
}

TRect Etched(TCanvas* C, TRect R, TColor UL, TColor LR, TSides S)
{
    const bool l = HasSide(S, sdLeft), t = HasSide(S, sdTop), r = HasSide(S, sdRight), b = HasSide(S, sdBottom);
    if (r)
        Dot(C, R.Right - 1, R.Top, LR);
    if (t && !r)
        Dot(C, R.Right - 1, R.Top, UL);
    if (b)
        Dot(C, R.Left, R.Bottom - 1, LR);
    if (l && !b)
        Dot(C, R.Left, R.Bottom - 1, UL);
    if (t && !l)
        Dot(C, R.Left, R.Top + 1, LR);
    if (l && !t)
        Dot(C, R.Left + 1, R.Top, LR);
    if (b && !r)
        Dot(C, R.Right - 1, R.Bottom - 2, UL);
    if (r && !b)
        Dot(C, R.Right - 2, R.Bottom - 1, UL);
    DrawSides(C, Rect(R.Left + 1, R.Top + 1, R.Right, R.Bottom), LR, LR, S);
    DrawSides(C, Rect(R.Left, R.Top, R.Right - 1, R.Bottom - 1), UL, UL, S);
    return DrawSides(nullptr, DrawSides(nullptr, R, clNone, clNone, S), clNone, clNone, S);
}

TRect TwoPasses(TCanvas* C, TRect R, TColor UL1, TColor LR1, TColor UL2, TColor LR2, TSides S)
{
    return DrawSides(C, DrawSides(C, R, UL1, LR1, S), UL2, LR2, S);
}

}  // namespace

TRect DrawSides(TCanvas* Canvas, TRect R, TColor UL, TColor LR, TSides Sides)
{
    const TRect outer = R;
    if (Canvas) {
        if (UL != clNone) {
            if (HasSide(Sides, sdLeft))
                VLine(Canvas, outer.Left, outer.Top, outer.Bottom, UL);
            if (HasSide(Sides, sdTop))
                HLine(Canvas, outer.Left, outer.Right, outer.Top, UL);
        }
        if (LR != clNone) {
            if (HasSide(Sides, sdRight))
                VLine(Canvas, outer.Right - 1, outer.Top, outer.Bottom, LR);
            if (HasSide(Sides, sdBottom))
                HLine(Canvas, outer.Left, outer.Right, outer.Bottom - 1, LR);
        }
    }
    if (HasSide(Sides, sdLeft))
        ++R.Left;
    if (HasSide(Sides, sdTop))
        ++R.Top;
    if (HasSide(Sides, sdRight))
        --R.Right;
    if (HasSide(Sides, sdBottom))
        --R.Bottom;
    return R;
}

TRect DrawBevel(TCanvas* Canvas, TRect R, TColor UL, TColor LR, int Width, TSides Sides)
{
    for (int i = 0; i < Width; ++i)
        R = DrawSides(Canvas, R, UL, LR, Sides);
    return R;
}

TRect DrawBox(TCanvas* Canvas, TRect R, TColor Color)
{
    return DrawSides(Canvas, R, Color, Color, sdAllSides);
}

TRect DrawBoxCorners(TCanvas* C, TRect R, TColor Color, int N)
{
    HLine(C, R.Left, std::min(R.Right, R.Left + N), R.Top, Color);
    VLine(C, R.Left, R.Top, std::min(R.Bottom, R.Top + N), Color);
    HLine(C, std::max(R.Left, R.Right - N), R.Right, R.Top, Color);
    VLine(C, R.Right - 1, R.Top, std::min(R.Bottom, R.Top + N), Color);
    HLine(C, R.Left, std::min(R.Right, R.Left + N), R.Bottom - 1, Color);
    VLine(C, R.Left, std::max(R.Top, R.Bottom - N), R.Bottom, Color);
    HLine(C, std::max(R.Left, R.Right - N), R.Right, R.Bottom - 1, Color);
    VLine(C, R.Right - 1, std::max(R.Top, R.Bottom - N), R.Bottom, Color);
    R.Inflate(-1, -1);
    return R;
}

TRect DrawFocusBorder(TCanvas* C, TRect R, TColor Color)
{
    // every second pixel, one after each corner; clNone inverts what is there
    auto dot = [&](int x, int y) {
        if (Color == clNone)
            C->SetPixel(x, y, ColorToRGB(C->Pixel(x, y)) ^ 0xFFFFFF);
        else
            Dot(C, x, y, Color);
    };
    for (int x = R.Left + 1; x < R.Right; x += 2) {
        dot(x, R.Top);
        dot(x, R.Bottom - 1);
    }
    for (int y = R.Top + 1; y < R.Bottom; y += 2) {
        dot(R.Left, y);
        dot(R.Right - 1, y);
    }
    R.Inflate(-1, -1);
    return R;
}

TRect DrawRoundedFlatBorder(TCanvas* C, TRect R, TColor Color, TSides S)
{
    const bool l = HasSide(S, sdLeft), t = HasSide(S, sdTop), r = HasSide(S, sdRight), b = HasSide(S, sdBottom);
    if (l)
        VLine(C, R.Left, R.Top + (t ? 2 : 0), R.Bottom - (b ? 2 : 0), Color);
    if (t)
        HLine(C, R.Left + (l ? 2 : 0), R.Right - (r ? 2 : 0), R.Top, Color);
    if (r)
        VLine(C, R.Right - 1, R.Top + (t ? 2 : 0), R.Bottom - (b ? 2 : 0), Color);
    if (b)
        HLine(C, R.Left + (l ? 2 : 0), R.Right - (r ? 2 : 0), R.Bottom - 1, Color);
    if (l && t)
        Dot(C, R.Left + 1, R.Top + 1, Color);
    if (t && r)
        Dot(C, R.Right - 2, R.Top + 1, Color);
    if (r && b)
        Dot(C, R.Right - 2, R.Bottom - 2, Color);
    if (b && l)
        Dot(C, R.Left + 1, R.Bottom - 2, Color);
    return DrawSides(nullptr, DrawSides(nullptr, R, clNone, clNone, S), clNone, clNone, S);
}

TRect DrawCtl3DBorder(TCanvas* C, TRect R, bool Lowered)
{
    return DrawCtl3DBorderSides(C, R, Lowered, sdAllSides);
}

TRect DrawCtl3DBorderSides(TCanvas* C, TRect R, bool Lowered, TSides S)
{
    auto s = ActiveStyleSystemColor;
    if (Lowered)
        return TwoPasses(C, R, s(clBtnShadow), s(clBtnHighlight), s(cl3DDkShadow), s(cl3DLight), S);
    return TwoPasses(C, R, s(cl3DLight), s(cl3DDkShadow), s(clBtnHighlight), s(clBtnShadow), S);
}

TRect DrawButtonBorder(TCanvas* C, TRect R, bool Lowered)
{
    return DrawButtonBorderSides(C, R, Lowered, sdAllSides);
}

TRect DrawButtonBorderSides(TCanvas* C, TRect R, bool Lowered, TSides S)
{
    if (Lowered)
        return TwoPasses(C, R, clBtnText, clBtnText, clBtnShadow, clBtnShadow, S);
    return TwoPasses(C, R, clBtnHighlight, cl3DDkShadow, cl3DLight, clBtnShadow, S);
}

TRect DrawColorButtonBorder(TCanvas* C, TRect R, TColor Face, bool Lowered)
{
    return DrawColorButtonBorderSides(C, R, Face, Lowered, sdAllSides);
}

TRect DrawColorButtonBorderSides(TCanvas* C, TRect R, TColor Face, bool Lowered, TSides S)
{
    if (Lowered)
        return TwoPasses(C, R, DarkerColor(Face, 100), DarkerColor(Face, 100), DarkerColor(Face, 50),
                         DarkerColor(Face, 50), S);
    return TwoPasses(C, R, LighterColor(Face, 100), DarkerColor(Face, 100), LighterColor(Face, 40),
                     DarkerColor(Face, 50), S);
}

TRect DrawBorder(TCanvas* C, TRect R, TFrameStyleEx Style)
{
    return DrawBorderSides(C, R, Style, sdAllSides);
}

TRect DrawBorderSides(TCanvas* C, TRect R, TFrameStyleEx Style, TSides S)
{
    // the rounded frame has no table entry: it is drawn as a flat one
    const int row = Style == fsFlatRounded ? int(fsFlat) : int(Style);
    const TColor ul = ActiveStyleSystemColor(ULFrameColor[row]), lr = ActiveStyleSystemColor(LRFrameColor[row]);
    switch (Style) {
    case fsNone:
        return R;
    case fsFlat:
    case fsStatus:
    case fsPopup:
    case fsFlatRounded:
        return DrawSides(C, R, ul, lr, S);
    case fsLowered:
    case fsRaised:
        return DrawCtl3DBorderSides(C, R, Style == fsLowered, S);
    case fsButtonDown:
    case fsButtonUp:
        return DrawButtonBorderSides(C, R, Style == fsButtonDown, S);
    case fsFlatBold:
        return DrawBevel(C, R, ul, lr, 2, S);
    case fsGroove:
    case fsBump:
        return Etched(C, R, ul, lr, S);
    }
    return R;
}

TRect DrawColorBorder(TCanvas* C, TRect R, TColor Color, TFrameStyleEx Style)
{
    return DrawColorBorderSides(C, R, Color, Style, sdAllSides);
}

TRect DrawColorBorderSides(TCanvas* C, TRect R, TColor Color, TFrameStyleEx Style, TSides S)
{
    auto D = [Color](int n) { return DarkerColor(Color, uint8_t(n)); };
    auto L = [Color](int n) { return LighterColor(Color, uint8_t(n)); };
    switch (Style) {
    case fsNone:
        return R;
    case fsFlat:
        return DrawSides(C, R, D(50), D(50), S);
    case fsGroove:
        return Etched(C, R, D(50), L(100), S);
    case fsBump:
    case fsFlatRounded:
        return Etched(C, R, L(100), D(50), S);
    case fsLowered:
        return TwoPasses(C, R, D(50), L(100), D(100), L(50), S);
    case fsRaised:
        return TwoPasses(C, R, L(50), D(100), L(100), D(50), S);
    case fsButtonDown:
    case fsButtonUp:
        return DrawColorButtonBorderSides(C, R, Color, Style == fsButtonDown, S);
    case fsStatus:
        return DrawSides(C, R, D(50), L(100), S);
    case fsPopup:
        return DrawSides(C, R, L(100), D(50), S);
    case fsFlatBold:
        return TwoPasses(C, R, D(50), D(50), D(50), D(50), S);
    }
    return R;
}

int FrameStyleThickness(TFrameStyleEx Style, int BevelWidth)
{
    switch (Style) {
    case fsNone: return 0;
    case fsFlat: return 1;
    case fsStatus:
    case fsPopup: return BevelWidth;
    default: return 2;
    }
}

namespace {

void Ring(TCanvas* C, const TRect& R, TColor Color, TSides S)
{
    DrawSides(C, R, Color, Color, S);
}

}  // namespace

TRect DrawInnerOuterBorders(TCanvas* C, const TRect& Bounds, const TFcBorderSet& B)
{
    TRect r = Bounds;
    const TColor flat = AdjustColor(B.FlatColor, B.FlatColorAdjustment);
    const TSides s = B.BorderSides;
    // 2. the outer border
    switch (B.BorderOuter) {
    case fsFlat:
        r = DrawSides(C, r, flat, flat, s);
        break;
    case fsFlatBold:
        r = DrawBevel(C, r, flat, flat, 2, s);
        break;
    case fsFlatRounded: {
        const bool band = B.BorderWidth > 0 || B.BorderInner != fsNone;
        if (!B.Transparent) {
            Ring(C, r, B.ParentColor, s);
            Ring(C, DrawSides(nullptr, r, clNone, clNone, s), band ? B.BorderColor : B.Color, s);
        } else if (band) {
            Ring(C, DrawSides(nullptr, r, clNone, clNone, s), B.BorderColor, s);
        }
        r = DrawRoundedFlatBorder(C, r, flat, s);
        break;
    }
    case fsPopup:
        r = DrawBevel(C, r, B.BorderHighlight, B.BorderShadow, B.BevelWidth, s);
        break;
    case fsStatus:
        r = DrawBevel(C, r, B.BorderShadow, B.BorderHighlight, B.BevelWidth, s);
        break;
    default:
        r = DrawBorderSides(C, r, B.BorderOuter, s);
        break;
    }
    // 3. the band
    if (B.BorderWidth > 0)
        r = DrawBevel(C, r, B.BorderColor, B.BorderColor, B.BorderWidth, s);
    // 4. the inner border
    switch (B.BorderInner) {
    case fsFlat:
        if (B.SoftInnerFlatBorder) {
            HLine(C, r.Left + 1, r.Right - 1, r.Top, flat);
            HLine(C, r.Left + 1, r.Right - 1, r.Bottom - 1, flat);
            VLine(C, r.Left, r.Top + 1, r.Bottom - 1, flat);
            VLine(C, r.Right - 1, r.Top + 1, r.Bottom - 1, flat);
            r.Inflate(-1, -1);
        } else {
            r = DrawSides(C, r, flat, flat, s);
        }
        break;
    case fsFlatBold:
        r = DrawBevel(C, r, flat, flat, 2, s);
        break;
    case fsFlatRounded: {
        const TRect start = r;
        if (!B.Transparent) {
            Ring(C, r, B.BorderColor, s);
            Ring(C, DrawSides(nullptr, r, clNone, clNone, s), B.Color, s);
        } else {
            Ring(C, r, B.BorderColor, s);
        }
        r = DrawRoundedFlatBorder(C, start, flat, s);
        break;
    }
    case fsStatus:
        r = DrawBevel(C, r, B.BorderShadow, B.BorderHighlight, B.BevelWidth, s);
        break;
    case fsPopup:
        r = DrawBevel(C, r, B.BorderHighlight, B.BorderShadow, B.BevelWidth, s);
        break;
    default:
        r = DrawBorderSides(C, r, B.BorderInner, s);
        break;
    }
    return r;
}

void DrawFrame(TCanvas* C, int Width, int Height, TFrameStyleEx Style, TColor Color, TColor FrameColor, TSides Sides,
               bool KeepInterior)
{
    const TRect r(0, 0, Width, Height);
    if (!KeepInterior)
        DrawBevel(C, r, Color, Color, 2, sdAllSides);
    if (Style == fsFlat)
        DrawSides(C, r, FrameColor, FrameColor, Sides);
    else if (Style == fsFlatBold)
        DrawBevel(C, r, FrameColor, FrameColor, 2, Sides);
    else if (Color == clWindow)
        DrawBorderSides(C, r, Style, Sides);
    else
        DrawColorBorderSides(C, r, Color, Style, Sides);
}

void DrawHighlightBox(TCanvas* C, const TRect& R, TFcGradientDirection Direction, TColor StartColor, TColor StopColor)
{
    if (!FullColorSupported)
        return;
    const int saved = C->SaveDC();
    TRect inner = R;
    inner.Inflate(-2, -2);
    C->IntersectClipRect(R);
    C->ExcludeClipRect(inner);
    PaintGradient(C, R, Direction, StartColor, StopColor, 1);
    C->RestoreDC(saved);
}

namespace {

TColor InteriorColor(TFcButtonDisplayState State, bool Focused, const TFcGlyphColors& Co, bool ReadOnly,
                     bool ReadOnlyColorOnFocus)
{
    if (State == bdsDown)
        return DarkerColor(Co.FocusColor, 20);
    if (State == bdsDisabled)
        return Co.DisabledColor;
    if (Focused)
        return ReadOnly && ReadOnlyColorOnFocus ? Co.ReadOnlyColor : Co.FocusColor;
    return ReadOnly ? Co.ReadOnlyColor : Co.FillColor;
}

}  // namespace

void DrawCheckBox(TCanvas* C, const TRect& R, TCheckBoxState State, TFcButtonDisplayState DisplayState, bool Focused,
                  TFcButtonHotTrackStyle HotTrackStyle, const TFcGlyphColors& Co, bool ReadOnly,
                  bool ReadOnlyColorOnFocus)
{
    const bool hot = DisplayState == bdsHot;
    TColor frame = hot && HotTrackStyle == htsFrame ? Co.HotTrackColor : Co.FrameColor;
    const TRect interior = DrawBox(C, R, frame);
    TColor mark = Co.MarkColor;
    if (DisplayState == bdsDisabled)
        mark = clBtnShadow;
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(InteriorColor(DisplayState, Focused, Co, ReadOnly, ReadOnlyColorOnFocus));
    C->FillRect(interior);
    if (State == cbChecked) {
        static const int pts[21][2] = {{2, 4}, {2, 5}, {2, 6}, {3, 5}, {3, 6}, {3, 7}, {4, 6}, {4, 7}, {4, 8}, {5, 5}, {5, 6},
                                       {5, 7}, {6, 4}, {6, 5}, {6, 6}, {7, 3}, {7, 4}, {7, 5}, {8, 2}, {8, 3}, {8, 4}};
        for (const auto& p : pts)
            Dot(C, interior.Left + p[0], interior.Top + p[1], mark);
    } else if (State == cbGrayed) {
        TRect g = interior;
        g.Inflate(-2, -2);
        C->Brush()->SetColor(mark);
        C->FillRect(g);
    }
    if (hot && HotTrackStyle == htsInterior)
        DrawHighlightBox(C, interior, gdDiagonalDown, Co.HotTrackColor, Co.HotTrackStopColor);
    else if (hot)
        DrawBox(C, interior, Co.HotTrackColor);
}

namespace {

// The 13 x 13 radio outline: B background, Q/H blends, L light frame, F frame,
// a/b/c inner shading, '.' interior.
const char* const RadioMap[13] = {"BBBQHLFLHQBBB", "BBHFabcbaFHBB", "BHLb.....bLHB", "QFb.......bFQ", "Ha.........aH",
                                  "Lb.........bL", "Fc.........cF", "Lb.........bL", "Ha.........aH", "QFb.......bFQ",
                                  "BHLb.....bLHB", "BBHFabcbaFHBB", "BBBQHLFLHQBBB"};

}  // namespace

void DrawRadioButton(TCanvas* C, const TRect& R, bool Checked, TFcButtonDisplayState DisplayState, bool Focused,
                     TFcButtonHotTrackStyle HotTrackStyle, const TFcGlyphColors& Co, bool Transparent, bool ReadOnly,
                     bool ReadOnlyColorOnFocus)
{
    const int w = std::max(13, R.Width()), h = std::max(13, R.Height());
    TBitmap b(w, h);
    TCanvas* bc = b.Canvas();
    // 1. the interior colour fills everything
    const TColor interior = ColorToRGB(InteriorColor(DisplayState, Focused, Co, ReadOnly, ReadOnlyColorOnFocus));
    bc->Brush()->SetColor(interior);
    bc->FillRect(Rect(0, 0, w, h));
    // 2. frame colours
    const bool hot = DisplayState == bdsHot;
    const TColor frame = ColorToRGB(hot && HotTrackStyle == htsFrame ? Co.HotTrackColor : Co.FrameColor);
    const TColor light = FullColorSupported ? LighterColor(frame, 10) : frame;
    // 3. hot interior gradient
    if (hot && FullColorSupported && HotTrackStyle == htsInterior) {
        PaintGradient(bc, Rect(0, 0, 13, 13), gdDiagonalDown, Co.HotTrackColor, Co.HotTrackStopColor, 1);
        bc->Brush()->SetColor(interior);
        bc->FillRect(Rect(4, 4, 9, 9));
        bc->FillRect(Rect(5, 3, 8, 10));
        bc->FillRect(Rect(3, 5, 10, 8));
    }
    // 4. the outline
    const TColor back = Transparent ? Co.TransparentKeyColor : ColorToRGB(Co.BackgroundColor);
    const TColor half = FullColorSupported ? BlendColors(frame, Co.BackgroundColor, 128) : (Transparent ? back : frame);
    const TColor quarter = FullColorSupported ? BlendColors(frame, Co.BackgroundColor, 40) : back;
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 13; ++x) {
            const char k = RadioMap[y][x];
            const bool hotRing = hot && FullColorSupported && HotTrackStyle == htsFrame;
            switch (k) {
            case 'B': bc->SetPixel(x, y, back); break;
            case 'H': bc->SetPixel(x, y, half); break;
            case 'Q': bc->SetPixel(x, y, quarter); break;
            case 'F': bc->SetPixel(x, y, frame); break;
            case 'L': bc->SetPixel(x, y, light); break;
            case 'a':
                // 5. inner shading
                if (hotRing)
                    bc->SetPixel(x, y, frame);
                else if (FullColorSupported)
                    bc->SetPixel(x, y, BlendColors(frame, bc->Pixel(x, y), 128));
                else
                    bc->SetPixel(x, y, frame);
                break;
            case 'b':
            case 'c':
                if (hotRing)
                    bc->SetPixel(x, y, light);
                else if (FullColorSupported)
                    bc->SetPixel(x, y, BlendColors(frame, bc->Pixel(x, y), k == 'b' ? 80 : 40));
                else if (k == 'b')
                    bc->SetPixel(x, y, RGB(192, 192, 192));
                break;
            default: break;
            }
        }
    if (hot && FullColorSupported && HotTrackStyle == htsFrame) {
        static const int heavy[8][2] = {{3, 2}, {9, 2}, {2, 3}, {10, 3}, {2, 9}, {10, 9}, {3, 10}, {9, 10}};
        static const int lightPts[8][2] = {{4, 2}, {8, 2}, {2, 4}, {10, 4}, {2, 8}, {10, 8}, {4, 10}, {8, 10}};
        for (const auto& p : heavy)
            bc->SetPixel(p[0], p[1], BlendColors(frame, bc->Pixel(p[0], p[1]), 150));
        for (const auto& p : lightPts)
            bc->SetPixel(p[0], p[1], BlendColors(frame, bc->Pixel(p[0], p[1]), 80));
    }
    // 6. the dot
    if (Checked) {
        const TColor dot = ColorToRGB(DisplayState == bdsDisabled ? clBtnShadow : Co.MarkColor);
        bc->Brush()->SetColor(dot);
        bc->FillRect(Rect(5, 5, 8, 8));
        for (const auto& p : {TPoint(6, 4), TPoint(4, 6), TPoint(8, 6), TPoint(6, 8)})
            bc->SetPixel(p.X, p.Y, dot);
        const TColor edge = FullColorSupported ? BlendColors(dot, interior, 153) : dot;
        for (const auto& p : {TPoint(5, 4), TPoint(7, 4), TPoint(4, 5), TPoint(8, 5), TPoint(4, 7), TPoint(8, 7),
                              TPoint(5, 8), TPoint(7, 8)})
            bc->SetPixel(p.X, p.Y, edge);
    }
    if (Transparent) {
        b.SetTransparentColor(Co.TransparentKeyColor);
        b.SetTransparentMode(tmFixed);
        b.SetTransparent(true);
    }
    C->Draw(R.Left, R.Top, &b);
}

void DrawDropDownArrow(TCanvas* C, const TRect& R, TFcUIStyle UIStyle, bool, bool Enabled)
{
    (void)UIStyle;  // the running system (NT 10.0) decides the shape
    const TFcUIStyle style = uiWindows10;
    const TColor oldBrush = C->Brush()->Color();
    TColor color = clBlack;
    if (!Enabled)
        color = clBtnShadow;
    else if (ColorsTooClose(oldBrush, clBlack))
        color = cl3DDkShadow;
    const int x = R.Left + R.Width() / 2;
    const int y = R.Top + R.Height() / 2 - (R.Height() % 2 == 0 ? 1 : 0);
    C->Pen()->SetStyle(psClear);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(color);
    if (style == uiWindows10)
        C->Polygon({{x, y + 3}, {x - 3, y - 1}, {x - 3, y - 3}, {x, y + 1}, {x + 4, y - 2}, {x + 5, y - 2}, {x + 1, y + 3}});
    C->Pen()->SetStyle(psSolid);
    C->Brush()->SetColor(oldBrush);
}

void InvalidateWindowFrame(TControl* Window, const TRect& R)
{
    if (!Window || !Window->Showing() || R.IsEmpty())
        return;
    Window->Invalidate();
}

void InvalidateControls(TWinControl* Container)
{
    for (int i = 0; i < Container->ControlCount(); ++i) {
        TControl* c = Container->Controls(i);
        if (c->Transparent())
            c->Invalidate();
    }
}

int DrawString(TCanvas* Canvas, const QString& Text, TRect& R, unsigned Flags)
{
    return Canvas->DrawText(Text, R, Flags);
}

void DrawStringCentered(TCanvas* Canvas, const QString& Text, const TRect& R)
{
    TRect r = R;
    Canvas->DrawText(Text, r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}
