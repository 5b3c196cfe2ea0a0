// The fixed system colours of the light look and the colour name table.
#include "platform/ui/Graphics.h"

#include <QColor>
#include <iterator>

namespace {

// Windows 10 defaults, as $00BBGGRR, indexed by system colour number.
constexpr TColor SystemColors[] = {
    RGB(200, 200, 200),  // 0 scroll bar
    RGB(0, 0, 0),        // 1 desktop
    RGB(153, 180, 209),  // 2 active caption
    RGB(191, 205, 219),  // 3 inactive caption
    RGB(240, 240, 240),  // 4 menu
    RGB(255, 255, 255),  // 5 window
    RGB(100, 100, 100),  // 6 window frame
    RGB(0, 0, 0),        // 7 menu text
    RGB(0, 0, 0),        // 8 window text
    RGB(0, 0, 0),        // 9 caption text
    RGB(180, 180, 180),  // 10 active border
    RGB(244, 247, 252),  // 11 inactive border
    RGB(171, 171, 171),  // 12 application workspace
    RGB(0, 120, 215),    // 13 highlight
    RGB(255, 255, 255),  // 14 highlight text
    RGB(240, 240, 240),  // 15 button face
    RGB(160, 160, 160),  // 16 button shadow
    RGB(109, 109, 109),  // 17 grey text
    RGB(0, 0, 0),        // 18 button text
    RGB(0, 0, 0),        // 19 inactive caption text
    RGB(255, 255, 255),  // 20 button highlight
    RGB(105, 105, 105),  // 21 3D dark shadow
    RGB(227, 227, 227),  // 22 3D light
    RGB(0, 0, 0),        // 23 tooltip text
    RGB(255, 255, 225),  // 24 tooltip background
    RGB(0, 0, 0),        // 25 (unused)
    RGB(0, 102, 204),    // 26 hot-tracked item
    RGB(185, 209, 234),  // 27 active caption gradient
    RGB(215, 228, 242),  // 28 inactive caption gradient
    RGB(51, 153, 255),   // 29 menu highlight
    RGB(240, 240, 240),  // 30 menu bar
};

struct ColorIdent {
    TColor Value;
    const char* Name;
};

constexpr ColorIdent Idents[] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"}, {clSkyBlue, "clSkyBlue"}, {clCream, "clCream"}, {clMedGray, "clMedGray"},
    {clActiveBorder, "clActiveBorder"}, {clActiveCaption, "clActiveCaption"}, {clAppWorkSpace, "clAppWorkSpace"},
    {clBackground, "clBackground"}, {clBtnFace, "clBtnFace"}, {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"}, {clBtnText, "clBtnText"}, {clCaptionText, "clCaptionText"},
    {clDefault, "clDefault"}, {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"}, {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"}, {clHighlightText, "clHighlightText"}, {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"}, {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"}, {clInfoBk, "clInfoBk"}, {clInfoText, "clInfoText"},
    {clMenu, "clMenu"}, {clMenuBar, "clMenuBar"}, {clMenuHighlight, "clMenuHighlight"}, {clMenuText, "clMenuText"},
    {clNone, "clNone"}, {clScrollBar, "clScrollBar"}, {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"}, {clWindowFrame, "clWindowFrame"}, {clWindowText, "clWindowText"},
};

}  // namespace

TColor ColorToRGB(TColor Color)
{
    if ((uint32_t(Color) & 0xFF000000u) == 0xFF000000u) {
        const int index = Color & 0xFF;
        return index < int(std::size(SystemColors)) ? SystemColors[index] : clBlack;
    }
    if (Color == clNone)
        return clBlack;
    if (Color == clDefault)
        return SystemColors[5];
    return Color & 0xFFFFFF;
}

QColor ToQColor(TColor Color)
{
    const TColor c = ColorToRGB(Color);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor FromQColor(const QColor& Color)
{
    return RGB(Color.red(), Color.green(), Color.blue());
}

bool IdentToColor(const QString& Ident, TColor& Color)
{
    for (const ColorIdent& i : Idents)
        if (Ident.compare(QLatin1String(i.Name), Qt::CaseInsensitive) == 0) {
            Color = i.Value;
            return true;
        }
    return false;
}

bool ColorToIdent(TColor Color, QString& Ident)
{
    for (const ColorIdent& i : Idents)
        if (i.Value == Color) {
            Ident = QLatin1String(i.Name);
            return true;
        }
    return false;
}

bool ColorFromName(const QString& Name, TColor& Color)
{
    return !Name.isEmpty() && IdentToColor(QStringLiteral("cl") + Name, Color);
}

int ColorIdentCount()
{
    return int(std::size(Idents));
}

QString ColorIdentAt(int Index)
{
    return Index >= 0 && Index < ColorIdentCount() ? QLatin1String(Idents[Index].Name) : QString();
}
