#pragma once
// The bar between an aligned control and the rest of its parent: dragging it
// resizes the control it follows, the neighbour on the side it is aligned to
// (for a left-aligned splitter the left-aligned control whose right edge it
// touches). A disabled splitter does not move and shows the normal cursor.

#include "platform/ui/Controls.h"

class TSplitter : public TGraphicControl {
public:
    explicit TSplitter(TComponent* AOwner);

    // The smallest size the resized control and the parent's rest keep.
    int MinSize() const { return FMinSize; }
    void SetMinSize(int Value) { FMinSize = Value > 0 ? Value : 1; }
    // The control the splitter resizes, found by its place; nullptr when
    // nothing lies against the splitter's aligned side.
    TControl* ResizedControl() const;
    // Moves the splitter as a drag by Delta pixels would (left/up negative).
    void MoveBy(int Delta);

    // After a drag changed the resized control's size.
    TNotifyEvent OnMoved;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;

protected:
    void Paint() override;
    void EnabledChanged() override;

private:
    bool Horizontal() const { return FAlign == alLeft || FAlign == alRight; }
    int ScreenPos(int X, int Y) const;
    void ApplyCursor();
    int FMinSize = 30;
    bool FDragging = false;
    int FDownPos = 0;
    int FDownSize = 0;
    TControl* FDragControl = nullptr;
};
