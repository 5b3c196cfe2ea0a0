#pragma once
// Small routines the string grid draws and edits with: colour names and
// "$" texts, the colour list of colour cells, data bars and status bars in
// cells, the warning beep, and RTF cells read as plain text. They stand in
// for the library's colour and picture tools and its rich text editor until
// those are in components/base; the grid reaches them only through here.

#include "components/stringgrid/rStringGridEdTypes.h"
#include "platform/ui/Graphics.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace sgtools {

// "clRed", "Red", "$000000FF" or a number; clNone when unreadable or empty.
TColor StringToColor(const QString& S);
// The colour's identifier when it has one, else "$" and 8 hexadecimal digits.
QString ColorToString(TColor C);
// The colour table of colour lists: display names, "Custom..." at CustomColorIndex.
QStringList GetColorList();
TColor ColorTableColor(int Index);
constexpr int CustomColorIndex = 20;
// Whether two colours are alike within Percent percent per channel.
bool IsSameColor(TColor A, TColor B, int Percent);

// A bar of (Value - Min) / (Max - Min) of the rectangle's width, graded from
// BarColor to EndColor (one colour when EndColor is clNone).
void DrawDataBar(TCanvas* C, const TRect& R, double Value, double Min, double Max, TColor BarColor, TColor EndColor);
// Position of Steps drawn in one of the six status styles.
void DrawStatusBar(TCanvas* C, const TRect& R, int Position, int Steps, TrStatusBarType Style, TColor ColorAll, TColor ColorDone);

// RTF read as plain text (paragraphs become line breaks).
QString RtfToPlainText(const QString& Rtf);
bool LooksLikeRtf(const QString& S);

// The beep of a refused key; tests replace it to count beeps.
extern std::function<void()> Beep;

}  // namespace sgtools
