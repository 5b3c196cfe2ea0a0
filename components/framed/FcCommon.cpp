#include "components/framed/FcCommon.h"

#include "components/framed/FcRegIniFile.h"
#include "platform/rtl/IniFiles.h"

#include <QByteArray>
#include <cmath>

TFcXPColorScheme CurrentXPColorScheme = xpcsBlue;
bool FullColorSupported = true;

const TColor xpOfficeBlue_Selection_FrameColor = RGB(0, 0, 128);
const TColor xpOfficeBlue_Selection_ColorStart = RGB(255, 238, 194);
const TColor xpOfficeBlue_Selection_ColorStop = RGB(255, 217, 160);
const TColor xpOfficeBlue_Panel_ColorStart = RGB(227, 239, 255);
const TColor xpOfficeBlue_Panel_ColorStop = RGB(153, 187, 234);
const TColor xpOfficeBlue_Panel_FrameColor = RGB(87, 127, 191);
const TColor xpOfficeGreen_Selection_FrameColor = RGB(63, 93, 56);
const TColor xpOfficeGreen_Selection_ColorStart = RGB(255, 238, 194);
const TColor xpOfficeGreen_Selection_ColorStop = RGB(255, 217, 160);
const TColor xpOfficeGreen_Panel_ColorStart = RGB(255, 255, 237);
const TColor xpOfficeGreen_Panel_ColorStop = RGB(184, 199, 146);
const TColor xpOfficeGreen_Panel_FrameColor = RGB(127, 161, 119);
const TColor xpOfficeSilver_Selection_FrameColor = RGB(75, 75, 111);
const TColor xpOfficeSilver_Selection_ColorStart = RGB(255, 238, 194);
const TColor xpOfficeSilver_Selection_ColorStop = RGB(255, 217, 160);
const TColor xpOfficeSilver_Panel_ColorStart = RGB(249, 249, 255);
const TColor xpOfficeSilver_Panel_ColorStop = RGB(189, 188, 208);
const TColor xpOfficeSilver_Panel_FrameColor = RGB(159, 159, 177);

TFcXPColorScheme GetXPColorScheme()
{
    // The desktop keeps no scheme name on Linux: the user's setting stands in
    // for it, in the same store the settings component's registry mode uses
    // ("ColorName" under "ThemeManager" of the current user's
    // Software\Microsoft\Windows\CurrentVersion). The environment value
    // SORVEX_COLOR_SCHEME, when set, wins (one run in another scheme).
    QString name = QString::fromLocal8Bit(qgetenv("SORVEX_COLOR_SCHEME"));
    if (name.isEmpty()) {
        // read only: no folder is made for a setting nobody wrote
        TMemIniFile store(RegistryKeyFile(hkeyCurrentUser, QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion")));
        name = store.ReadString(QStringLiteral("ThemeManager"), QStringLiteral("ColorName"), QString());
    }
    name = name.toUpper();
    if (name == QLatin1String("HOMESTEAD"))
        return xpcsGreen;
    if (name == QLatin1String("METALLIC"))
        return xpcsSilver;
    return xpcsBlue;
}

bool IsFullColorSupported()
{
    return true;
}

void FcCommonInitialize()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    CurrentXPColorScheme = GetXPColorScheme();
    FullColorSupported = IsFullColorSupported();
}

namespace {

// Rounds half to even, as the colour conversions do.
int RoundEven(double V)
{
    return int(std::nearbyint(V));
}

}  // namespace

void ColorToHSL(TColor Color, uint8_t& H, uint8_t& S, uint8_t& L)
{
    const TColor c = ColorToRGB(Color);
    const double r = GetRValue(c) / 255.0, g = GetGValue(c) / 255.0, b = GetBValue(c) / 255.0;
    const double mx = std::max(r, std::max(g, b)), mn = std::min(r, std::min(g, b));
    const double l = (mx + mn) / 2;
    double h = 0, s = 0;
    if (mx != mn) {
        const double d = mx - mn;
        s = l < 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
        if (r == mx)
            h = (g - b) / d;
        else if (g == mx)
            h = 2 + (b - r) / d;
        else
            h = 4 + (r - g) / d;
        h /= 6;
        if (h < 0)
            h += 1;
    }
    H = uint8_t(RoundEven(h * 240));
    S = uint8_t(RoundEven(s * 240));
    L = uint8_t(RoundEven(l * 240));
}

uint8_t ColorHue(TColor Color)
{
    uint8_t h, s, l;
    ColorToHSL(Color, h, s, l);
    return h;
}

TColor HSLtoColor(uint8_t H, uint8_t S, uint8_t L)
{
    const double h = H / 239.0, s = S / 240.0, l = L / 240.0;
    const double m2 = l < 0.5 ? l * (1 + s) : l + s - l * s;
    if (m2 <= 0)
        return clBlack;
    const double m1 = 2 * l - m2;
    const double h6 = h * 6;
    const int k = int(h6);
    const double f = h6 - k;
    const double v = (m2 - m1) * f;
    const double rising = m1 + v, falling = m2 - v;
    double r, g, b;
    switch (k) {
    case 1: r = falling; g = m2; b = m1; break;
    case 2: r = m1; g = m2; b = rising; break;
    case 3: r = m1; g = falling; b = m2; break;
    case 4: r = rising; g = m1; b = m2; break;
    case 5: r = m2; g = m1; b = falling; break;
    default: r = m2; g = rising; b = m1; break;
    }
    auto channel = [](double x) { return RoundEven(std::min(x, 1.0) * 255); };
    return RGB(channel(r), channel(g), channel(b));
}

TColor DarkerColor(TColor Color, uint8_t Percent)
{
    uint8_t h, s, l;
    ColorToHSL(Color, h, s, l);
    return HSLtoColor(h, s, uint8_t(std::max(0, int(l) - Percent)));
}

TColor LighterColor(TColor Color, uint8_t Percent)
{
    uint8_t h, s, l;
    ColorToHSL(Color, h, s, l);
    return HSLtoColor(h, s, uint8_t(std::min(255, int(l) + Percent)));
}

TColor AdjustColor(TColor Color, int Adjustment)
{
    if (Adjustment < 0)
        return DarkerColor(Color, uint8_t(std::min(255, -Adjustment)));
    if (Adjustment > 0)
        return LighterColor(Color, uint8_t(std::min(255, Adjustment)));
    return Color;
}

TColor BlendColors(TColor ForeColor, TColor BackColor, uint8_t Alpha)
{
    const TColor f = ColorToRGB(ForeColor), b = ColorToRGB(BackColor);
    const float a = float(Alpha) / 255.0f;
    auto mix = [a](int fore, int back) { return RoundEven(double((1 - a) * float(back) + a * float(fore))); };
    return RGB(mix(GetRValue(f), GetRValue(b)), mix(GetGValue(f), GetGValue(b)), mix(GetBValue(f), GetBValue(b)));
}

bool ColorsTooClose(TColor Color1, TColor Color2)
{
    uint8_t h1, s1, l1, h2, s2, l2;
    ColorToHSL(Color1, h1, s1, l1);
    ColorToHSL(Color2, h2, s2, l2);
    return std::abs(int(h1) - int(h2)) < 20 && std::abs(int(l1) - int(l2)) < 60;
}

TColor ComplementaryColor(TColor Color, uint8_t Luminance)
{
    const uint8_t h = ColorHue(Color);
    return HSLtoColor(uint8_t(h < 120 ? h + 120 : h - 120), 240, Luminance);
}

bool TFcStyleServices::Enabled() const
{
    return ActiveStyleServicesEnabled();
}

const TFcStyleServices& ActiveStyleServices()
{
    static const TFcStyleServices services;
    return services;
}

TColor ActiveStyleColor(TFcStyleColor)
{
    return clNone;
}

TColor ActiveStyleFontColor(TFcStyleFont)
{
    return clNone;
}

bool ActiveStyleServicesEnabled()
{
    return ThemeServicesEnabled();
}

bool UsingSystemStyle()
{
    return true;
}

TColor ActiveStyleSystemColor(TColor Color)
{
    return Color;
}

TColor GetXPThemeColor(TFcXPThemeColor Element)
{
    if (!ActiveStyleServicesEnabled())
        return clBtnFace;
    // The colours the Windows 10 look gives these elements.
    switch (Element) {
    case xptcEditBorder: return RGB(122, 122, 122);
    case xptcNormalGroupFont: return RGB(33, 93, 198);
    case xptcSpecialGroupFont: return clWhite;
    case xptcGroupBarFill: return RGB(214, 223, 247);
    case xptcListGroupFill: return RGB(122, 161, 230);
    case xptcListGroupFont: return RGB(33, 93, 198);
    case xptcGroupBoxFont: return RGB(0, 70, 213);
    case xptcSpinButtonBorder: return RGB(171, 173, 179);
    }
    return clWhite;
}

namespace {

struct TSchemeColors {
    TColor SelectionFrame, SelectionStart, SelectionStop, PanelStart, PanelStop, PanelFrame;
};

TSchemeColors SchemeColors()
{
    switch (CurrentXPColorScheme) {
    case xpcsGreen:
        return {xpOfficeGreen_Selection_FrameColor, xpOfficeGreen_Selection_ColorStart,
                xpOfficeGreen_Selection_ColorStop, xpOfficeGreen_Panel_ColorStart, xpOfficeGreen_Panel_ColorStop,
                xpOfficeGreen_Panel_FrameColor};
    case xpcsSilver:
        return {xpOfficeSilver_Selection_FrameColor, xpOfficeSilver_Selection_ColorStart,
                xpOfficeSilver_Selection_ColorStop, xpOfficeSilver_Panel_ColorStart, xpOfficeSilver_Panel_ColorStop,
                xpOfficeSilver_Panel_FrameColor};
    default:
        return {xpOfficeBlue_Selection_FrameColor, xpOfficeBlue_Selection_ColorStart, xpOfficeBlue_Selection_ColorStop,
                xpOfficeBlue_Panel_ColorStart, xpOfficeBlue_Panel_ColorStop, xpOfficeBlue_Panel_FrameColor};
    }
}

bool OfficeBranch(TFcGradientColorStyle Style)
{
    return Style == gcsMSOffice && ActiveStyleServicesEnabled();
}

}  // namespace

void GetGradientSelectionColors(TFcGradientColorStyle Style, TColor& FrameColor, TColor& StartColor, TColor& StopColor)
{
    if (OfficeBranch(Style)) {
        const TSchemeColors s = SchemeColors();
        FrameColor = s.SelectionFrame;
        StartColor = s.SelectionStart;
        StopColor = s.SelectionStop;
    } else {
        FrameColor = ActiveStyleSystemColor(clHighlight);
        StopColor = BlendColors(ActiveStyleSystemColor(clHighlight), ActiveStyleSystemColor(clWindow), 77);
        StartColor = LighterColor(StopColor, 20);
    }
    if (!FullColorSupported)
        StartColor = StopColor;
}

void GetGradientPanelColors(TFcGradientColorStyle Style, TColor& StartColor, TColor& StopColor)
{
    if (OfficeBranch(Style)) {
        const TSchemeColors s = SchemeColors();
        StartColor = s.PanelStart;
        StopColor = s.PanelStop;
    } else {
        StartColor = ActiveStyleSystemColor(clWindow);
        StopColor = DarkerColor(ActiveStyleSystemColor(clBtnFace), 10);
    }
}

TColor GetGradientPanelFrameColor(TFcGradientColorStyle Style)
{
    if (OfficeBranch(Style))
        return SchemeColors().PanelFrame;
    return LighterColor(ActiveStyleSystemColor(clBtnShadow), 30);
}

void GetGradientStatusBarColors(TFcGradientColorStyle Style, TColor& StopColor, TColor& StartColor, TColor& FrameColor)
{
    if (OfficeBranch(Style)) {
        const TSchemeColors s = SchemeColors();
        StopColor = s.PanelStop;
        StartColor = s.PanelStart;
        FrameColor = s.PanelStop;
    } else {
        StopColor = DarkerColor(ActiveStyleSystemColor(clBtnFace), 20);
        StartColor = ActiveStyleSystemColor(clWindow);
        FrameColor = DarkerColor(ActiveStyleSystemColor(clBtnFace), 40);
    }
}
