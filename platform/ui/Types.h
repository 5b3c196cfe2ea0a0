#pragma once
// Points, rectangles and colours as the drawing code counts them: rectangles
// exclude their right and bottom edges; colours are $00BBGGRR values, or a
// system-colour index with the high byte $FF, or clNone.

#include <QString>
#include <algorithm>
#include <cstdint>

struct TPoint {
    int X = 0;
    int Y = 0;
    constexpr TPoint() = default;
    constexpr TPoint(int AX, int AY) : X(AX), Y(AY) {}
    constexpr bool operator==(const TPoint& O) const { return X == O.X && Y == O.Y; }
};

struct TSize {
    int cx = 0;
    int cy = 0;
    constexpr bool operator==(const TSize& O) const { return cx == O.cx && cy == O.cy; }
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    constexpr TRect() = default;
    constexpr TRect(int L, int T, int R, int B) : Left(L), Top(T), Right(R), Bottom(B) {}
    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr TPoint TopLeft() const { return {Left, Top}; }
    constexpr TPoint BottomRight() const { return {Right, Bottom}; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool Contains(const TPoint& P) const { return P.X >= Left && P.X < Right && P.Y >= Top && P.Y < Bottom; }
    constexpr bool operator==(const TRect& O) const
    {
        return Left == O.Left && Top == O.Top && Right == O.Right && Bottom == O.Bottom;
    }
    void Offset(int DX, int DY) { Left += DX; Right += DX; Top += DY; Bottom += DY; }
    void Inflate(int DX, int DY) { Left -= DX; Right += DX; Top -= DY; Bottom += DY; }
};

constexpr TRect Rect(int L, int T, int R, int B) { return {L, T, R, B}; }
constexpr TRect Bounds(int L, int T, int W, int H) { return {L, T, L + W, T + H}; }
constexpr TPoint Point(int X, int Y) { return {X, Y}; }
inline bool PtInRect(const TRect& R, const TPoint& P) { return R.Contains(P); }
inline void InflateRect(TRect& R, int DX, int DY) { R.Inflate(DX, DY); }
inline void OffsetRect(TRect& R, int DX, int DY) { R.Offset(DX, DY); }
inline bool IntersectRect(TRect& Dest, const TRect& A, const TRect& B)
{
    Dest = {std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right), std::min(A.Bottom, B.Bottom)};
    if (Dest.IsEmpty()) {
        Dest = {};
        return false;
    }
    return true;
}
// The multiply-divide of the drawing code: a 64-bit product divided and rounded half away from zero.
inline int MulDiv(int Number, int Numerator, int Denominator)
{
    if (Denominator == 0)
        return -1;
    const int64_t p = int64_t(Number) * Numerator;
    const int64_t half = (Denominator > 0 ? Denominator : -Denominator) / 2;
    const bool negative = (p < 0) != (Denominator < 0);
    const int64_t q = ((p < 0 ? -p : p) + half) / (Denominator < 0 ? -Denominator : Denominator);
    return int(negative ? -q : q);
}

using TColor = int32_t;

// Plain colours ($00BBGGRR).
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// System colours: $FF000000 + the system colour index.
constexpr TColor clSystemColor = TColor(0xFF000000u);
constexpr TColor clScrollBar = clSystemColor | 0;
constexpr TColor clBackground = clSystemColor | 1;
constexpr TColor clActiveCaption = clSystemColor | 2;
constexpr TColor clInactiveCaption = clSystemColor | 3;
constexpr TColor clMenu = clSystemColor | 4;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowFrame = clSystemColor | 6;
constexpr TColor clMenuText = clSystemColor | 7;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clCaptionText = clSystemColor | 9;
constexpr TColor clActiveBorder = clSystemColor | 10;
constexpr TColor clInactiveBorder = clSystemColor | 11;
constexpr TColor clAppWorkSpace = clSystemColor | 12;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clInactiveCaptionText = clSystemColor | 19;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor cl3DDkShadow = clSystemColor | 21;
constexpr TColor cl3DLight = clSystemColor | 22;
constexpr TColor clInfoText = clSystemColor | 23;
constexpr TColor clInfoBk = clSystemColor | 24;
constexpr TColor clHotLight = clSystemColor | 26;
constexpr TColor clGradientActiveCaption = clSystemColor | 27;
constexpr TColor clGradientInactiveCaption = clSystemColor | 28;
constexpr TColor clMenuHighlight = clSystemColor | 29;
constexpr TColor clMenuBar = clSystemColor | 30;

constexpr TColor RGB(int R, int G, int B) { return TColor((R & 0xFF) | ((G & 0xFF) << 8) | ((B & 0xFF) << 16)); }
constexpr int GetRValue(TColor C) { return C & 0xFF; }
constexpr int GetGValue(TColor C) { return (C >> 8) & 0xFF; }
constexpr int GetBValue(TColor C) { return (C >> 16) & 0xFF; }

// The fixed light look: every system colour resolves to the same value on every machine.
TColor ColorToRGB(TColor Color);
// The colour name table without the "cl" prefix (Black, BtnFace, …), letter case ignored.
// Identifiers carry the prefix ("clRed"); names without it are read by
// ColorFromName ("Red", "BtnFace").
bool IdentToColor(const QString& Ident, TColor& Color);
bool ColorToIdent(TColor Color, QString& Ident);
bool ColorFromName(const QString& Name, TColor& Color);
// Every identifier of the table in its order (standard colours, then system colours).
int ColorIdentCount();
QString ColorIdentAt(int Index);
