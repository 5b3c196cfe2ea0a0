#include "platform/ui/TabRow.h"

TRect TabRowRect(TTabPosition Pos, int Width, int Height, int Depth, int Start, int Length)
{
    switch (Pos) {
    case tpBottom: return Rect(Start, Height - Depth, Start + Length, Height - 2);
    case tpLeft: return Rect(2, Start, Depth, Start + Length);
    case tpRight: return Rect(Width - Depth, Start, Width - 2, Start + Length);
    case tpTop: break;
    }
    return Rect(Start, 2, Start + Length, Depth);
}

TRect TabRowPane(TTabPosition Pos, int Width, int Height, int Depth)
{
    switch (Pos) {
    case tpBottom: return Rect(0, 0, Width, Height - Depth + 1);
    case tpLeft: return Rect(Depth - 1, 0, Width, Height);
    case tpRight: return Rect(0, 0, Width - Depth + 1, Height);
    case tpTop: break;
    }
    return Rect(0, Depth - 1, Width, Height);
}

void TabRowAdjust(TTabPosition Pos, int Depth, TRect& R)
{
    switch (Pos) {
    case tpBottom: R.Bottom -= Depth; break;
    case tpLeft: R.Left += Depth; break;
    case tpRight: R.Right -= Depth; break;
    case tpTop: R.Top += Depth; break;
    }
}

TRect TabRowSelected(TTabPosition Pos, const TRect& Tab, int Width, int Height)
{
    TRect r = Tab;
    switch (Pos) {
    case tpBottom: r.Inflate(2, 0); r.Bottom = Height; break;
    case tpLeft: r.Inflate(0, 2); r.Left = 0; break;
    case tpRight: r.Inflate(0, 2); r.Right = Width; break;
    case tpTop: r.Inflate(2, 0); r.Top = 0; break;
    }
    return r;
}

namespace {

void Fill(TCanvas* C, const TRect& R, TColor Color)
{
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color);
    C->FillRect(R);
}

}  // namespace

void DrawThemedTabAt(TCanvas* C, const TRect& R, bool Selected, bool Hot, TTabPosition Pos, bool FirstEdge, bool LastEdge)
{
    Fill(C, R, Selected ? clWhite : Hot ? RGB(216, 234, 249) : RGB(240, 240, 240));
    const TColor border = RGB(217, 217, 217);
    const TRect top = Rect(R.Left, R.Top, R.Right, R.Top + 1), bottom = Rect(R.Left, R.Bottom - 1, R.Right, R.Bottom);
    const TRect left = Rect(R.Left, R.Top, R.Left + 1, R.Bottom), right = Rect(R.Right - 1, R.Top, R.Right, R.Bottom);
    // the side towards the pane stays open
    if (Pos != tpBottom)
        Fill(C, top, border);
    if (Pos != tpTop)
        Fill(C, bottom, border);
    if (Pos != tpRight)
        Fill(C, left, border);
    if (Pos != tpLeft)
        Fill(C, right, border);
    const bool vertical = TabRowVertical(Pos);
    // the edge parts: a first or last tab flush with the pane's edge carries
    // the pane's border on into the pane, without the gap of the inner tabs
    const TColor edge = RGB(190, 190, 190);
    if (FirstEdge)
        Fill(C, vertical ? Rect(R.Left, R.Top, R.Right, R.Top + 1) : Rect(R.Left, R.Top, R.Left + 1, R.Bottom + (Pos == tpTop ? 1 : 0)), edge);
    if (LastEdge)
        Fill(C, vertical ? Rect(R.Left, R.Bottom - 1, R.Right, R.Bottom) : Rect(R.Right - 1, R.Top, R.Right, R.Bottom + (Pos == tpTop ? 1 : 0)), edge);
}
