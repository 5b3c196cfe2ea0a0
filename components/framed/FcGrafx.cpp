#include "components/framed/FcGrafx.h"

#include "platform/ui/Forms.h"
#include "platform/ui/ParentImage.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// One run of bands: each channel in 16.16 fixed point, the increment per
// line truncated, the line colour the integer parts.
class TColorRun {
public:
    TColorRun(TColor From, TColor To, int Lines)
    {
        const TColor a = ColorToRGB(From), b = ColorToRGB(To);
        const int from[3] = {GetRValue(a), GetGValue(a), GetBValue(a)};
        const int to[3] = {GetRValue(b), GetGValue(b), GetBValue(b)};
        for (int i = 0; i < 3; ++i) {
            FStart[i] = int64_t(from[i]) << 16;
            FInc[i] = Lines > 0 ? ((int64_t(to[i]) << 16) - FStart[i]) / Lines : 0;
        }
    }
    // The colour of line Index of the run as 0xFFRRGGBB.
    uint32_t Pixel(int Index) const
    {
        uint32_t c = 0xFF000000u;
        for (int i = 0; i < 3; ++i) {
            const int64_t v = (FStart[i] + FInc[i] * Index) >> 16;
            c |= uint32_t(std::clamp<int64_t>(v, 0, 255)) << (16 - 8 * i);
        }
        return c;
    }

private:
    int64_t FStart[3];
    int64_t FInc[3];
};

void FillRow(TBitmap& B, int Y, uint32_t Color)
{
    uint32_t* line = B.ScanLine(Y);
    for (int x = 0; x < B.Width(); ++x)
        line[x] = Color;
}

void FillAll(TBitmap& B, TColor Color)
{
    const TColor c = ColorToRGB(Color);
    const uint32_t px = 0xFF000000u | uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | uint32_t(GetBValue(c));
    for (int y = 0; y < B.Height(); ++y)
        FillRow(B, y, px);
}

// Rows from the middle up to the top blend from the stop to the start
// colour; rows from the bottom up to the middle from the start to the stop.
void HorizontalCenter(TBitmap& B, TColor Start, TColor Stop)
{
    const int h = B.Height(), mid = h / 2;
    const TColorRun up(Stop, Start, mid + 1), down(Start, Stop, h - mid - 1);
    for (int y = mid; y >= 0; --y)
        FillRow(B, y, up.Pixel(mid - y));
    for (int y = h - 1; y > mid; --y)
        FillRow(B, y, down.Pixel(h - 1 - y));
}

void VerticalCenter(TBitmap& B, TColor Start, TColor Stop)
{
    const int w = B.Width(), mid = w / 2;
    const TColorRun left(Stop, Start, mid + 1), right(Start, Stop, w - mid - 1);
    for (int y = 0; y < B.Height(); ++y) {
        uint32_t* line = B.ScanLine(y);
        for (int x = mid; x >= 0; --x)
            line[x] = left.Pixel(mid - x);
        for (int x = w - 1; x > mid; --x)
            line[x] = right.Pixel(w - 1 - x);
    }
}

// The top-left quadrant as concentric L-shaped bands from the centre (stop
// colour) outward (start colour), mirrored into the other three quadrants.
void Box(TBitmap& B, TColor Start, TColor Stop, int XOffset, int YOffset)
{
    const int w = B.Width(), h = B.Height();
    const int qx = (w - 1) / 2, qy = (h - 1) / 2, qw = qx + 1, qh = qy + 1;
    const int steps = std::max(qx - XOffset, qy - YOffset) + 1;
    const TColorRun run(Stop, Start, steps);
    for (int y = 0; y < qh; ++y) {
        uint32_t* line = B.ScanLine(y);
        for (int x = 0; x < qw; ++x) {
            // the band whose corner first reaches this pixel
            const int step = std::max(std::max(qx - XOffset - x, qy - YOffset - y), 0);
            line[x] = run.Pixel(std::min(step, steps - 1));
        }
    }
    for (int y = qh; y < h; ++y) {
        const uint32_t* src = B.ScanLine(h - 1 - y);
        uint32_t* dst = B.ScanLine(y);
        std::copy(src, src + qw, dst);
    }
    for (int y = 0; y < h; ++y) {
        uint32_t* line = B.ScanLine(y);
        for (int x = qw; x < w; ++x)
            line[x] = line[w - 1 - x];
    }
}

// Sweep lines at 45 degrees from the lower-left corner; their end points
// move two pixels per colour step.
void DiagonalUp(TBitmap& B, TColor Start, TColor Stop, bool Mirrored)
{
    const int w = B.Width(), h = B.Height();
    const int steps = int(std::sqrt(double(w) * w + double(h) * h)) + 1;
    const TColorRun run(Start, Stop, steps);
    for (int y = 0; y < h; ++y) {
        uint32_t* line = B.ScanLine(y);
        for (int x = 0; x < w; ++x) {
            const int d = (Mirrored ? w - 1 - x : x) + (h - 1 - y);
            line[x] = run.Pixel(std::min(d / 2, steps - 1));
        }
    }
}

}  // namespace

void PaintGradient(TCanvas* Canvas, const TRect& Bounds, TFcGradientDirection Direction, TColor StartColor,
                   TColor StopColor, TSmoothFactor Smooth)
{
    (void)Smooth;  // every caller smooths by 1: each colour change is a band
    if (Direction == gdHorizontalEnd || Direction == gdVerticalEnd) {
        Canvas->GradientFill(Bounds, StartColor, StopColor, Direction == gdHorizontalEnd ? gdVertical : gdHorizontal);
        return;
    }
    const int w = std::abs(Bounds.Right - Bounds.Left), h = std::abs(Bounds.Bottom - Bounds.Top);
    if (w == 0 || h == 0)
        return;
    TBitmap b(w, h);
    const bool same = ColorToRGB(StartColor) == ColorToRGB(StopColor);
    switch (Direction) {
    case gdHorizontalCenter:
        HorizontalCenter(b, StartColor, StopColor);
        break;
    case gdVerticalCenter:
        VerticalCenter(b, StartColor, StopColor);
        break;
    case gdHorizontalBox:
    case gdVerticalBox:
    case gdSquareBox:
    case gdBigSquareBox:
        if (same || w <= 4 || h <= 4) {
            FillAll(b, StartColor);
        } else {
            const int xo = (Direction == gdHorizontalBox || Direction == gdBigSquareBox) ? w / 4 : 0;
            const int yo = (Direction == gdVerticalBox || Direction == gdBigSquareBox) ? h / 4 : 0;
            Box(b, StartColor, StopColor, xo, yo);
        }
        break;
    case gdDiagonalUp:
        if (same)
            FillAll(b, StartColor);
        else
            DiagonalUp(b, StartColor, StopColor, false);
        break;
    default:  // gdDiagonalDown: the same sweep with the width negated
        if (same)
            FillAll(b, StartColor);
        else
            DiagonalUp(b, StopColor, StartColor, true);
        break;
    }
    Canvas->Draw(std::min(Bounds.Left, Bounds.Right), std::min(Bounds.Top, Bounds.Bottom), &b);
}

void DrawParentImage(TControl* Control, TCanvas* Canvas, bool InvalidateParent)
{
    TWinControl* parent = Control->Parent();
    if (!parent)
        return;
    PaintParentImage(Control, Canvas);
    // a container paints itself again anyway; any other parent is told to
    if (InvalidateParent && !dynamic_cast<TCustomControl*>(parent) && !dynamic_cast<TCustomForm*>(parent))
        parent->Invalidate();
}

void DrawFullTransparentBitmap(TCanvas* Canvas, const TBitmap* Bitmap, const TRect& DestRect, const TRect& SourceRect,
                               TColor TransparentColor)
{
    if (!Bitmap || DestRect.IsEmpty() || SourceRect.IsEmpty())
        return;
    TBitmap part(SourceRect.Width(), SourceRect.Height());
    part.Canvas()->Draw(-SourceRect.Left, -SourceRect.Top, Bitmap);
    TBitmap stretched(DestRect.Width(), DestRect.Height());
    stretched.Canvas()->StretchDraw(Rect(0, 0, DestRect.Width(), DestRect.Height()), &part);
    stretched.SetTransparentColor(TransparentColor);
    stretched.SetTransparentMode(tmFixed);
    stretched.SetTransparent(true);
    Canvas->Draw(DestRect.Left, DestRect.Top, &stretched);
}
