#pragma once
// The mini-HTML markup: its renderer (shared by the HTML label) and the
// routine that draws or measures markup into any rectangle of any canvas.

#include "components/base/ParioCompGlobalCfg.h"
#include "platform/ui/Graphics.h"

class TControl;

#include <vector>

enum TrHTMLMode : uint8_t { hmNormal = 0, hmSkipEnter = 1, hmPlainAnchors = 2, hmSkipEnterPlainAnchors = 3, hmSimpleText = 4 };

using TAnchorList = std::vector<TAnchorInfo*>;

// The tag table, numbered 1 to 20 in recognition order.
extern const char* const FrmStr[20];

// What one markup pass needs to know.
struct THTMLRenderParams {
    bool Draw = true;           // false: measure only
    bool Enabled = true;
    bool WordWrap = false;
    TAlignment Alignment = taLeftJustify;
    int InnerSpace = 0;
    int TabGridWidth = 30;
    bool SimpleText = false;    // no tag is interpreted
    bool PlainAnchors = false;  // anchors neither underlined nor coloured
    TColor AnchorColor = clNone;
    TColor BaseColor = clWindowText;
    bool Shadow = false;        // a shadow pass before the text pass
    TColor ShadowColor = clBtnShadow;
    int ShadowSize = 1;
    TAnchorList* Anchors = nullptr;
    int ActiveAnchor = -1;
    // The width a run may fill up to, measured from x = 0 (the label's width).
    int RoomWidth = 0;
    // Where tab stops count from in drawing passes: the label's left edge (0)
    // or, for the free drawing routine, its area's left edge.
    int TabOrigin = 0;
    // The label lets a right-aligned line wider than itself start left of
    // its area (its end stays visible); the free routine keeps it inside.
    bool ClampRightAlignment = false;
    // The label draws the space a line ending in a tag ends with (background
    // and underline of that state); the free routine only measures it.
    bool DrawEmptyRun = true;
    // A first character too wide for a fresh visual line: the label lets it
    // overflow, the free routine cuts after it.
    bool OverflowAtLineStart = true;
    // DT_RTLREADING when the control reads right to left.
    unsigned TextFlags = 0;
};

// Prepares a text: tabs, line feeds, CR handling and "<BR>"; reports whether
// "<NOWORDWRAP>" occurred (it is removed).
QString PrepareHTMLText(const QString& Source, bool SkipEnter, bool& NoWordWrap);
// The 1-based position of the first tag and its number, or 0.
int FindFirstFrm(const QString& Text, bool SimpleText, int* TagNumber = nullptr);
// Renders the prepared text into R (text area already narrowed); returns the
// widest visual line and the total height.
TSize RenderHTML(TCanvas* Canvas, const QString& Prepared, const TRect& R, const THTMLRenderParams& P);
void rHTML_FreeAnchorInfo(TAnchorList* List);

bool rHTML_DrawText(TControl* Control, TCanvas* Canvas, const QString& Text, TRect& R, bool MeasureOnly, bool Enabled,
                    bool WordWrap, bool Beveled, TAlignment Alignment, TTextLayout Layout, int InnerSpace, int TabGridWidth,
                    TrHTMLMode Mode, TColor AnchorColor, TAnchorList* AnchorList, int ActiveAnchor);
