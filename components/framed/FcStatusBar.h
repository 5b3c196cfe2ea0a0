#pragma once
// The framed status bar: a panel at the bottom of its window that holds the
// status panes, draws a size grip that resizes the window from its corner,
// has a simple mode with one caption, and can scale its panes with its width.

#include "components/framed/FcPanel.h"

class TFcStatusBar : public TFcCustomPanel {
public:
    explicit TFcStatusBar(TComponent* AOwner);

    bool AutoStyle() const { return FAutoStyle; }
    void SetAutoStyle(bool Value) { FAutoStyle = Value; }
    bool ShowSizeGrip() const { return FShowSizeGrip; }
    virtual void SetShowSizeGrip(bool Value);
    bool SimpleStatus() const { return FSimpleStatus; }
    virtual void SetSimpleStatus(bool Value);
    QString SimpleCaption() const { return FSimpleCaption; }
    virtual void SetSimpleCaption(const QString& Value);
    TFrameStyle SimpleFrameStyle() const { return FSimpleFrameStyle; }
    virtual void SetSimpleFrameStyle(TFrameStyle Value);
    bool AutoScalePanes = false;

    void SetBorderInner(TFrameStyleEx Value) override;
    void SetBorderOuter(TFrameStyleEx Value) override;
    void SetBorderSides(TSides Value) override;
    virtual void AdjustStyle();
    TRect ClientRect() const override;
    void GetGradientColors(TColor& Start, TColor& Stop) const override;
    // Whether the window can be resized from the grip (a sizeable, not maximised window).
    bool SizeGripValid() const;
    TRect SizeGripRect() const { return Rect(Width() - 13, 0, Width(), Height()); }
    void Loaded() override;

protected:
    void Paint() override;
    void Resize() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    virtual void DrawSimpleStatusBorder(const TRect& R);
    void DrawSizeGrip();

    bool FAutoStyle = true;
    bool FSimpleStatus = false;
    QString FSimpleCaption;
    TFrameStyle FSimpleFrameStyle = fsFlat;
    bool FShowSizeGrip = true;
    bool FFirst = true;
    int FDelta = 0;
    int FLastWidth = 0;
};
