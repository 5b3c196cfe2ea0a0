#include "platform/ui/Themes.h"

#include <algorithm>

namespace {

bool GThemes = true;

void Fill(TCanvas* C, const TRect& R, TColor Color)
{
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color);
    C->FillRect(R);
}

void Frame(TCanvas* C, const TRect& R, TColor Color)
{
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color);
    C->FrameRect(R);
}

}  // namespace

bool ThemeServicesEnabled()
{
    return GThemes;
}

void SetThemeServicesEnabled(bool Value)
{
    GThemes = Value;
}

TThemeServices* ThemeServices()
{
    static TThemeServices services;
    return &services;
}

TColor ThemedTextColor(bool Enabled)
{
    return Enabled ? clBtnText : clGrayText;
}

void DrawThemedPushButton(TCanvas* C, const TRect& R, TThemedState S)
{
    TColor face = RGB(225, 225, 225), border = RGB(173, 173, 173);
    switch (S) {
    case tsHot:
        face = RGB(229, 241, 251);
        border = RGB(0, 120, 215);
        break;
    case tsPressed:
    case tsChecked:
    case tsCheckedHot:
        face = RGB(204, 228, 247);
        border = RGB(0, 84, 153);
        break;
    case tsDisabled:
        face = RGB(204, 204, 204);
        border = RGB(191, 191, 191);
        break;
    case tsDefaulted:
        border = RGB(0, 120, 215);
        break;
    default:
        break;
    }
    Fill(C, R, face);
    Frame(C, R, border);
    if (S == tsDefaulted) {
        TRect inner = R;
        inner.Inflate(-1, -1);
        Frame(C, inner, border);
    }
}

void DrawThemedCheckBox(TCanvas* C, const TRect& R, TCheckState Check, TThemedState S, int Size)
{
    const TRect box = Bounds(R.Left, R.Top + (R.Height() - Size) / 2, Size, Size);
    // the mark is drawn for 13 pixels and grows with the box
    auto at = [Size](int V) { return MulDiv(V, Size, ThemedCheckSize); };
    TColor border = RGB(51, 51, 51), back = clWhite, mark = RGB(51, 51, 51);
    if (S == tsHot) {
        border = RGB(0, 120, 215);
        mark = RGB(0, 120, 215);
    } else if (S == tsPressed) {
        border = RGB(0, 84, 153);
        back = RGB(204, 228, 247);
        mark = RGB(0, 84, 153);
    } else if (S == tsDisabled) {
        border = RGB(204, 204, 204);
        mark = RGB(204, 204, 204);
    }
    Fill(C, box, back);
    Frame(C, box, border);
    if (Check == cbChecked) {
        // the tick: two strokes, two pixels thick at 13 pixels
        C->Pen()->SetColor(mark);
        C->Pen()->SetWidth(1);
        C->Pen()->SetStyle(psSolid);
        const int x = box.Left, y = box.Top;
        for (int d = 0; d < std::max(2, at(2)); ++d) {
            C->MoveTo(x + at(3), y + at(6) + d);
            C->LineTo(x + at(5), y + at(8) + d);
            C->LineTo(x + at(10), y + at(3) + d);
        }
    } else if (Check == cbGrayed) {
        Fill(C, Bounds(box.Left + at(3), box.Top + at(3), Size - 2 * at(3), Size - 2 * at(3)), mark);
    }
}

void DrawThemedRadioButton(TCanvas* C, const TRect& R, bool Checked, TThemedState S, int Size)
{
    const TRect box = Bounds(R.Left, R.Top + (R.Height() - Size) / 2, Size, Size);
    TColor border = RGB(51, 51, 51), mark = RGB(51, 51, 51);
    if (S == tsHot)
        border = mark = RGB(0, 120, 215);
    else if (S == tsDisabled)
        border = mark = RGB(204, 204, 204);
    C->Pen()->SetColor(border);
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetWidth(1);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clWhite);
    C->Ellipse(box.Left, box.Top, box.Right, box.Bottom);
    if (Checked) {
        const int inset = MulDiv(3, Size, ThemedCheckSize);
        C->Pen()->SetColor(mark);
        C->Brush()->SetColor(mark);
        C->Ellipse(box.Left + inset, box.Top + inset, box.Right - inset, box.Bottom - inset);
    }
}

void DrawThemedGroupFrame(TCanvas* C, const TRect& R, bool Enabled)
{
    Frame(C, R, Enabled ? RGB(220, 220, 220) : RGB(204, 204, 204));
}

void DrawThemedHeaderSection(TCanvas* C, const TRect& R, TThemedState S)
{
    Fill(C, R, S == tsHot ? RGB(217, 235, 249) : S == tsPressed ? RGB(188, 220, 244) : clWhite);
    Fill(C, Rect(R.Right - 1, R.Top, R.Right, R.Bottom), RGB(229, 229, 229));
    Fill(C, Rect(R.Left, R.Bottom - 1, R.Right, R.Bottom), RGB(229, 229, 229));
}

TColor ThemedSelectionColor(bool Focused) { return Focused ? RGB(204, 232, 255) : RGB(217, 217, 217); }

void DrawThemedItemSelection(TCanvas* C, const TRect& R, bool Focused)
{
    Fill(C, R, ThemedSelectionColor(Focused));
    Frame(C, R, Focused ? RGB(153, 209, 255) : RGB(191, 191, 191));
}

void DrawArrow(TCanvas* C, const TRect& R, TArrowKind K, TColor Color)
{
    const int cx = R.Left + R.Width() / 2, cy = R.Top + R.Height() / 2;
    C->Pen()->SetColor(Color);
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetWidth(1);
    for (int i = 0; i < 4; ++i) {
        switch (K) {
        case akDown:
            C->MoveTo(cx - 3 + i, cy - 2 + i);
            C->LineTo(cx + 4 - i, cy - 2 + i);
            break;
        case akUp:
            C->MoveTo(cx - 3 + i, cy + 1 - i);
            C->LineTo(cx + 4 - i, cy + 1 - i);
            break;
        case akLeftArrow:
            C->MoveTo(cx + 1 - i, cy - 3 + i);
            C->LineTo(cx + 1 - i, cy + 4 - i);
            break;
        case akRightArrow:
            C->MoveTo(cx - 2 + i, cy - 3 + i);
            C->LineTo(cx - 2 + i, cy + 4 - i);
            break;
        }
    }
}

void DrawThemedComboButton(TCanvas* C, const TRect& R, TThemedState S)
{
    if (S == tsHot || S == tsPressed)
        Fill(C, R, S == tsHot ? RGB(229, 241, 251) : RGB(204, 228, 247));
    DrawArrow(C, R, akDown, S == tsDisabled ? RGB(191, 191, 191) : RGB(96, 96, 96));
}

void DrawThemedTab(TCanvas* C, const TRect& R, bool Selected, bool Hot)
{
    Fill(C, R, Selected ? clWhite : Hot ? RGB(216, 234, 249) : RGB(240, 240, 240));
    const TColor border = RGB(217, 217, 217);
    Fill(C, Rect(R.Left, R.Top, R.Right, R.Top + 1), border);
    Fill(C, Rect(R.Left, R.Top, R.Left + 1, R.Bottom), border);
    Fill(C, Rect(R.Right - 1, R.Top, R.Right, R.Bottom), border);
}

void DrawThemedTabPane(TCanvas* C, const TRect& R)
{
    Fill(C, R, clWhite);
    Frame(C, R, RGB(217, 217, 217));
}

void DrawThemedToolButton(TCanvas* C, const TRect& R, TThemedState S)
{
    switch (S) {
    case tsHot:
        Fill(C, R, RGB(229, 243, 255));
        Frame(C, R, RGB(204, 232, 255));
        break;
    case tsPressed:
        Fill(C, R, RGB(204, 232, 255));
        Frame(C, R, RGB(153, 209, 255));
        break;
    case tsChecked:
    case tsCheckedHot:
        Fill(C, R, RGB(204, 232, 255));
        Frame(C, R, RGB(153, 209, 255));
        break;
    default:
        break;
    }
}

void DrawThemedStatusBar(TCanvas* C, const TRect& R)
{
    Fill(C, R, clBtnFace);
    Fill(C, Rect(R.Left, R.Top, R.Right, R.Top + 1), RGB(215, 215, 215));
}

void DrawThemedStatusPane(TCanvas* C, const TRect& R, bool Last)
{
    if (!Last)
        Fill(C, Rect(R.Right - 1, R.Top + 2, R.Right, R.Bottom - 2), RGB(215, 215, 215));
}

void DrawThemedEditBorder(TCanvas* C, const TRect& R, bool Focused, bool Enabled)
{
    Frame(C, R, !Enabled ? RGB(204, 204, 204) : Focused ? RGB(0, 120, 215) : RGB(122, 122, 122));
}
