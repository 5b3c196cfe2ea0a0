#pragma once
// The tool bars of the grid action module: the toolbar over a grid (white
// to silver, sizing itself to one row of buttons) and the edit bar under an
// editor (buttons with captions in rows, a border all round).

#include "platform/ui/ComCtrls.h"

#include <set>

class TrDBActionBar : public TToolBar {
public:
    explicit TrDBActionBar(TComponent* AOwner);
    // A vertical gradient from white to silver instead of the plain colour.
    bool Gradient = false;
    // A frame on all four edges.
    bool EdgeBorders = false;
    // The bar's height follows its rows of buttons.
    bool AutoSize = true;
    // The buttons after this one start a new row.
    void SetWrap(TToolButton* Button, bool Wrap);
    bool Wrap(TToolButton* Button) const { return FWraps.count(Button) > 0; }
    int RowCount() const { return FRows; }

protected:
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void Paint() override;

private:
    int ButtonWidthOf(TToolButton* B) const;
    std::set<TToolButton*> FWraps;
    int FRows = 1;
    bool FSizing = false;
};
