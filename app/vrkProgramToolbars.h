#pragma once
// The program's framed tool bars look alike on every window: the gradient
// look with a groove on top, the captions under the glyphs, raised buttons
// in the platform's visual style with a 16-pixel "Segoe UI" font and a
// greyed glyph while disabled, and spacers between the groups of buttons.

#include <QString>

#include <initializer_list>
#include <vector>

class TAction;
class TCustomImageList;
class TFcSpacer;
class TFcToolbar;
class TFcToolButton;
class TOwnCaptionToolButton;
class TComponent;
class TControl;
class TWinControl;

namespace progbars {

// One row of buttons RowHeight high, not wrapping, laid out by the bar.
TFcToolbar* MakeToolbar(TComponent* Owner, TWinControl* Parent, const char* Name, TCustomImageList* Images,
                        int RowHeight = 50);
// A button of its own size under its action: Glyph above the caption,
// DisabledGlyph shown while the action is disabled (-1: none).
void StyleButton(TFcToolButton* B, TAction* Action, int W, int H, int Glyph, int DisabledGlyph);
TFcToolButton* MakeButton(TComponent* Owner, TWinControl* Parent, const char* Name, TAction* Action, int W, int H,
                          int Glyph = -1, int DisabledGlyph = -1);
// As MakeButton, with a caption of its own.
TOwnCaptionToolButton* MakeOwnCaptionButton(TComponent* Owner, TWinControl* Parent, const char* Name,
                                            TAction* Action, const QString& Caption, int W, int H,
                                            int Glyph = -1, int DisabledGlyph = -1);
// The button in its parent's font rather than the main window's large one.
void InParentFont(TOwnCaptionToolButton* B);
TFcSpacer* AddSpacer(TComponent* Owner, TFcToolbar* Bar, const char* Name, int W = 10);
// The dialogs' compact bar over a row of caption buttons (ButtonH high),
// placed at (L, T) on its parent without taking more room than the row.
TFcToolbar* MakeDialogToolbar(TComponent* Owner, TWinControl* Parent, const char* Name, int L, int T, int W,
                              int ButtonH = 26);
// A caption button of the dialogs' bar: the action's caption, or Caption
// when it is given, in the dialog's own font.
TControl* AddDialogButton(TComponent* Owner, TFcToolbar* Bar, TAction* Action, int W,
                               const QString& Caption = QString(), const char* Name = "");

struct TDialogButton {
    TAction* Action;
    int Width;
    QString Caption = QString();
    const char* Name = "";
};
// The dialogs' row: each button does a thing of its own, so a spacer stands
// between neighbours; the bar is then as wide as its row. The buttons in order.
std::vector<TControl*> AddDialogButtons(TComponent* Owner, TFcToolbar* Bar, std::initializer_list<TDialogButton> Buttons);
// The width of the bar's controls side by side.
int RowWidth(TFcToolbar* Bar);

}  // namespace progbars
