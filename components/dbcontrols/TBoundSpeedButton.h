#pragma once
// A small flat button a control carries beside itself (the markup memo's
// format and edit-window buttons): a glyph, or a caption when there is
// none, a frame while the mouse is over it, and a click.

#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"

class TBoundSpeedButton : public TCustomControl {
public:
    explicit TBoundSpeedButton(TComponent* AOwner);
    TBitmap* Glyph() { return &FGlyph; }
    void SetGlyph(const TBitmap* Value);
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

protected:
    void Paint() override;

private:
    TBitmap FGlyph;
    bool FHot = false;
    bool FDown = false;
};
