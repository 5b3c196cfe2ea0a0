#pragma once
// The element painter of the light look: push buttons, check boxes, radio
// buttons, group frames, header sections, combo buttons, tabs, tool buttons
// and status panes, drawn by hand so they are the same on every desktop.

#include "platform/ui/Graphics.h"

enum TThemedState { tsNormal, tsHot, tsPressed, tsDisabled, tsDefaulted, tsChecked, tsCheckedHot };
enum TCheckState { cbUnchecked, cbChecked, cbGrayed };

// Whether visual styles are in use (on unless a program setting turns them off).
bool ThemeServicesEnabled();
void SetThemeServicesEnabled(bool Value);

// The style services as one object. The light look is the desktop's own
// style here (no custom style can be loaded), so it maps no system colours.
class TThemeServices {
public:
    bool Enabled() const { return ThemeServicesEnabled(); }
    bool Available() const { return true; }
    bool IsSystemStyle() const { return true; }
    TColor GetSystemColor(TColor Color) const { return Color; }
};
// The active style's services.
TThemeServices* ThemeServices();
// Check boxes and radio buttons are 13 x 13 pixels.
constexpr int ThemedCheckSize = 13;

void DrawThemedPushButton(TCanvas* Canvas, const TRect& R, TThemedState State);
// The glyph is Size pixels square at R's left, centred in R's height.
void DrawThemedCheckBox(TCanvas* Canvas, const TRect& R, TCheckState Check, TThemedState State, int Size = ThemedCheckSize);
void DrawThemedRadioButton(TCanvas* Canvas, const TRect& R, bool Checked, TThemedState State, int Size = ThemedCheckSize);
void DrawThemedGroupFrame(TCanvas* Canvas, const TRect& R, bool Enabled);
void DrawThemedHeaderSection(TCanvas* Canvas, const TRect& R, TThemedState State);
void DrawThemedComboButton(TCanvas* Canvas, const TRect& R, TThemedState State);
void DrawThemedTab(TCanvas* Canvas, const TRect& R, bool Selected, bool Hot);
void DrawThemedTabPane(TCanvas* Canvas, const TRect& R);
void DrawThemedToolButton(TCanvas* Canvas, const TRect& R, TThemedState State);
void DrawThemedStatusBar(TCanvas* Canvas, const TRect& R);
void DrawThemedStatusPane(TCanvas* Canvas, const TRect& R, bool Last);
void DrawThemedEditBorder(TCanvas* Canvas, const TRect& R, bool Focused, bool Enabled);
// A small arrow (down, up, left, right) centred in R, as the Marlett glyphs draw it.
enum TArrowKind { akDown, akUp, akLeftArrow, akRightArrow };
void DrawArrow(TCanvas* Canvas, const TRect& R, TArrowKind Kind, TColor Color);
// The selection of a list or grid item in the light look (pale fill, framed).
void DrawThemedItemSelection(TCanvas* Canvas, const TRect& R, bool Focused);
TColor ThemedSelectionColor(bool Focused);
// The text colour of labels, buttons and group captions.
TColor ThemedTextColor(bool Enabled);
