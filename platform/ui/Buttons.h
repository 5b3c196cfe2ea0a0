#pragma once
// The speed button: a windowless button with a glyph strip (up, disabled,
// clicked and down pictures side by side) and a caption, flat or raised,
// that can stay down in a group of its siblings.

#include "platform/ui/Controls.h"

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* AOwner);

    TBitmap* Glyph() { return &FGlyph; }
    void SetGlyph(const TBitmap* Value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    bool Down() const { return FDown; }
    virtual void SetDown(bool Value);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    // Pixels from the edge to the glyph; -1 centres glyph and caption together.
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    bool MouseInControl() const { return FMouseInControl; }
    // Drawn pressed: the mouse holds it, or it stays down in its group.
    bool Pressed() const { return FPressed || FDown; }
    void Click() override;
    void ActionChange(TBasicAction* Sender, bool CheckDefaults) override;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;

protected:
    void Paint() override;
    void TextChanged() override { Invalidate(); }
    // The part of the glyph strip for the state: 0 up, 1 disabled, 2 clicked, 3 down.
    int GlyphPart() const;
    virtual void GlyphChanged() {}
    TBitmap FGlyph;
    int FNumGlyphs = 1;

private:
    void UpdateExclusive();
    bool FFlat = false;
    int FGroupIndex = 0;
    bool FDown = false;
    bool FAllowAllUp = false;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    bool FPressed = false;
    bool FDragging = false;
    bool FMouseInControl = false;
};
