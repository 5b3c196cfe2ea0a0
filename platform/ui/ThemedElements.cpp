#include "platform/ui/ThemedElements.h"

#include "platform/ui/Controls.h"

void DrawThemedSizeGrip(TCanvas* C, const TRect& R)
{
    // six 2 x 2 dots in a triangle, as the light look draws them
    const TColor dot = RGB(160, 160, 160);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(dot);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col <= row; ++col) {
            const int x = R.Right - 4 - col * 4, y = R.Bottom - 4 - (2 - row) * 4;
            C->FillRect(Rect(x, y, x + 2, y + 2));
        }
}

void DrawThemedRebarBackground(TCanvas* C, const TRect& R)
{
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(RGB(240, 240, 240));
    C->FillRect(R);
}

void DrawThemedToolbarSeparator(TCanvas* C, const TRect& R, bool Vertical)
{
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(RGB(189, 189, 189));
    if (Vertical) {
        const int x = R.Left + R.Width() / 2;
        C->FillRect(Rect(x, R.Top + 2, x + 1, R.Bottom - 2));
    } else {
        const int y = R.Top + R.Height() / 2;
        C->FillRect(Rect(R.Left + 2, y, R.Right - 2, y + 1));
    }
}

TSize ThemedGroupBoxTextExtent(TCanvas* C, const QString& Text)
{
    return C->TextExtent(StripHotkey(Text));
}
