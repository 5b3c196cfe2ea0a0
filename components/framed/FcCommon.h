#pragma once
// The common ground of the framed controls: the enumerations they publish,
// the desktop colour scheme read once at start, colour arithmetic on the
// 0..240 HSL scale and the colour sets of the gradient look.

#include "platform/ui/Graphics.h"
#include "platform/ui/Themes.h"

#include <QString>
#include <cstdint>

enum TFrameStyleEx { fsNone, fsFlat, fsGroove, fsBump, fsLowered, fsButtonDown, fsRaised, fsButtonUp, fsStatus,
                     fsPopup, fsFlatBold, fsFlatRounded };
// fsNone .. fsFlatBold (the table painters have no rounded frame).
using TFrameStyle = TFrameStyleEx;
// Whether a value lies in the TFrameStyle range; setters taking a TFrameStyle
// refuse the rest (a rounded frame, a stored number out of range).
constexpr bool InFrameStyleRange(TFrameStyleEx V) { return V >= fsNone && V <= fsFlatBold; }
// Values of other types a setter macro passes on are always in range.
template <class T>
constexpr bool InFrameStyleRange(const T&) { return true; }
// Stores a changed, valid value for a frame setter; false when nothing changed.
template <class T>
bool StoreFrameValue(T& Field, const T& Value)
{
    if (Field == Value || !InFrameStyleRange(Value))
        return false;
    Field = Value;
    return true;
}

enum TSide { sdLeft, sdTop, sdRight, sdBottom };
using TSides = unsigned;
constexpr TSides SideBit(TSide S) { return 1u << unsigned(S); }
constexpr TSides sdAllSides = 0xF;
constexpr bool HasSide(TSides Sides, TSide S) { return (Sides & SideBit(S)) != 0; }

enum TFcVisualStyle { vsClassic, vsWinXP, vsGradient };
enum TFcGradientColorStyle { gcsSystem, gcsMSOffice, gcsCustom };
// The platform's own TGradientDirection (two directions) keeps its name, so
// the ten-direction gradient of the framed controls carries the library prefix.
enum TFcGradientDirection { gdDiagonalUp, gdDiagonalDown, gdHorizontalEnd, gdHorizontalCenter, gdHorizontalBox,
                            gdVerticalEnd, gdVerticalCenter, gdVerticalBox, gdSquareBox, gdBigSquareBox };
enum TFcXPColorScheme { xpcsBlue, xpcsGreen, xpcsSilver };
enum TFcXPThemeColor { xptcEditBorder, xptcNormalGroupFont, xptcSpecialGroupFont, xptcGroupBarFill,
                       xptcListGroupFill, xptcListGroupFont, xptcGroupBoxFont, xptcSpinButtonBorder };
enum TFramingPreference { fpCustomFraming, fpXPThemes };
// tsNormal is taken by the element painter's states, so the text styles are
// scoped; the other three are also reachable without the scope.
enum class TTextStyle { tsNormal, tsRaised, tsRecessed, tsShadow };
constexpr TTextStyle tsRaised = TTextStyle::tsRaised;
constexpr TTextStyle tsRecessed = TTextStyle::tsRecessed;
constexpr TTextStyle tsShadow = TTextStyle::tsShadow;
enum TBlinkState { bsOn, bsOff };
enum TAlignmentVertical { avTop, avCenter, avBottom };
enum TOrientation { orHorizontal, orVertical };
enum TFcUIStyle { uiWindows95, uiWindowsXP, uiWindowsVista, uiWindows10, uiCustomVclStyle, uiCustomColor };
enum TFcButtonDisplayState { bdsNormal, bdsDown, bdsHot, bdsDisabled };
enum TFcButtonHotTrackStyle { htsInterior, htsFrame };
enum TFcHotTrackColorType { htctComplement, htctActual };
enum TFcWindowsVersion { win95, winNT, win98, winMe, win2000, winXP, winServer2003, winVista, win7, win8, win10 };
enum TFcFrameControllerProperty { fcpColor, fcpFocusColor, fcpDisabledColor, fcpReadOnlyColor, fcpReadOnlyColorOnFocus,
                                  fcpParentColor, fcpFlatButtonColor, fcpFlatButtons, fcpFrameColor, fcpFrameHotColor,
                                  fcpFrameHotTrack, fcpFrameHotStyle, fcpFrameSides, fcpFrameStyle, fcpFrameVisible,
                                  fcpFramingPreference, fcpAll };
using TFcFrameControllerNotifications = uint16_t;
constexpr TFcFrameControllerNotifications fcnAll = 0xFFFF;
constexpr bool HasNotification(TFcFrameControllerNotifications N, TFcFrameControllerProperty P)
{
    return P == fcpAll || (N & (1u << unsigned(P))) != 0;
}
using TCheckBoxState = TCheckState;
using TSmoothFactor = int;

// ---- process-wide state ------------------------------------------------------

extern TFcXPColorScheme CurrentXPColorScheme;
extern bool FullColorSupported;
constexpr int IncrementalSearchResetDelay = 1500;

// Reads the scheme once per process: the program setting "ColorName"
// (environment SORVEX_COLOR_SCHEME stands in for the desktop's value).
TFcXPColorScheme GetXPColorScheme();
bool IsFullColorSupported();
// Runs the unit's start-up once; every framed control calls it.
void FcCommonInitialize();

// ---- colours -------------------------------------------------------------------

extern const TColor xpOfficeBlue_Selection_FrameColor, xpOfficeBlue_Selection_ColorStart,
    xpOfficeBlue_Selection_ColorStop, xpOfficeBlue_Panel_ColorStart, xpOfficeBlue_Panel_ColorStop,
    xpOfficeBlue_Panel_FrameColor;
extern const TColor xpOfficeGreen_Selection_FrameColor, xpOfficeGreen_Selection_ColorStart,
    xpOfficeGreen_Selection_ColorStop, xpOfficeGreen_Panel_ColorStart, xpOfficeGreen_Panel_ColorStop,
    xpOfficeGreen_Panel_FrameColor;
extern const TColor xpOfficeSilver_Selection_FrameColor, xpOfficeSilver_Selection_ColorStart,
    xpOfficeSilver_Selection_ColorStop, xpOfficeSilver_Panel_ColorStart, xpOfficeSilver_Panel_ColorStop,
    xpOfficeSilver_Panel_FrameColor;

void ColorToHSL(TColor Color, uint8_t& H, uint8_t& S, uint8_t& L);
uint8_t ColorHue(TColor Color);
TColor HSLtoColor(uint8_t H, uint8_t S, uint8_t L);
TColor DarkerColor(TColor Color, uint8_t Percent);
TColor LighterColor(TColor Color, uint8_t Percent);
TColor AdjustColor(TColor Color, int Adjustment);
TColor BlendColors(TColor ForeColor, TColor BackColor, uint8_t Alpha);
bool ColorsTooClose(TColor Color1, TColor Color2);
TColor ComplementaryColor(TColor Color, uint8_t Luminance);

// ---- visual styles -------------------------------------------------------------

// The style services in use: only the system look exists, whose visual-style
// elements the platform's painter draws (Themes.h, ThemedElements.h).
struct TFcStyleServices {
    bool Enabled() const;
    bool IsSystemStyle() const { return true; }
};
const TFcStyleServices& ActiveStyleServices();
bool ActiveStyleServicesEnabled();
// Colour and font elements of an application style.
enum TFcStyleColor { scEdit, scListBox, scPanel, scWindow, scButtonNormal };
enum TFcStyleFont { sfButtonTextNormal, sfListItemTextNormal, sfPanelTextNormal, sfPanelTextDisabled,
                    sfToolItemTextNormal, sfToolItemTextDisabled, sfEditBoxTextNormal };
// clNone under the system style (no application style ever runs).
TColor ActiveStyleColor(TFcStyleColor Element);
TColor ActiveStyleFontColor(TFcStyleFont Element);
// Only the system look exists here: colours pass through unchanged.
bool UsingSystemStyle();
TColor ActiveStyleSystemColor(TColor Color);
TColor GetXPThemeColor(TFcXPThemeColor Element);

void GetGradientSelectionColors(TFcGradientColorStyle Style, TColor& FrameColor, TColor& StartColor, TColor& StopColor);
void GetGradientPanelColors(TFcGradientColorStyle Style, TColor& StartColor, TColor& StopColor);
TColor GetGradientPanelFrameColor(TFcGradientColorStyle Style);
void GetGradientStatusBarColors(TFcGradientColorStyle Style, TColor& StopColor, TColor& StartColor, TColor& FrameColor);

// The "About" property every framed component publishes; it stores nothing.
struct TFcAboutInfo {};
