#pragma once
// Panels, bevels, images, paint boxes, shapes, scroll boxes and timers.

#include "platform/ui/Controls.h"

#include <memory>

class QTimer;

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* AOwner);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut V) { FBevelOuter = V; Realign(); Invalidate(); }
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut V) { FBevelInner = V; Realign(); Invalidate(); }
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int V) { FBevelWidth = V; Realign(); Invalidate(); }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment V) { FAlignment = V; Invalidate(); }
    bool ParentBackground = false;
    bool ShowCaption = true;

protected:
    void Paint() override;
    void AdjustClientRect(TRect& Rect) override;
    TBevelCut FBevelOuter = bvRaised;
    TBevelCut FBevelInner = bvNone;
    int FBevelWidth = 1;
    TAlignment FAlignment = taCenter;
};

class TPanel : public TCustomPanel {
public:
    explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* AOwner);
    TBevelShape Shape() const { return FShape; }
    void SetShape(TBevelShape V) { FShape = V; Invalidate(); }
    TBevelStyle Style() const { return FStyle; }
    void SetStyle(TBevelStyle V) { FStyle = V; Invalidate(); }

protected:
    void Paint() override;
    TBevelShape FShape = bsBox;
    TBevelStyle FStyle = bsLowered;
};

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;
    TPicture* Picture() { return FPicture.get(); }
    bool Stretch = false;
    bool Center = false;
    bool Proportional = false;
    bool AutoSize = false;
    TRect DestRect() const;

protected:
    void Paint() override;
    std::unique_ptr<TPicture> FPicture;
};

class TPaintBox : public TGraphicControl {
public:
    explicit TPaintBox(TComponent* AOwner);
    TNotifyEvent OnPaint;

protected:
    void Paint() override;
};

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TGraphicControl {
public:
    explicit TShape(TComponent* AOwner);
    TShapeType Shape = stRectangle;
    TPen* Pen() { return &FPen; }
    TBrush* Brush() { return &FBrush; }

protected:
    void Paint() override;
    TPen FPen;
    TBrush FBrush;
};

// A container whose client area scrolls when the children reach beyond it.
class TScrollBox : public TWinControl {
public:
    explicit TScrollBox(TComponent* AOwner);
    void ScrollInView(TControl* Control);

protected:
    QWidget* CreateWidget() override;
    QWidget* ClientWidget() const override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    mutable QWidget* FInner = nullptr;
};

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    int Interval() const { return FInterval; }
    void SetInterval(int Value);
    TNotifyEvent OnTimer;

protected:
    virtual void Timer();
    void Loaded() override;

private:
    void UpdateTimer();
    bool FEnabled = true;
    int FInterval = 1000;
    std::unique_ptr<QTimer> FTimer;
};
