#pragma once
// Status panes: light controls without a window of their own that show one
// line of text in a frame on the framed status bar. TFcStatusPane shows a
// caption the program sets; TFcClockStatus the current date and time. The
// polling panes share one 500 ms timer, made with the first of them and
// freed with the last.

#include "platform/ui/HintAction.h"
#include "components/framed/FcBlinking.h"
#include "components/framed/FcFrameController.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/Controls.h"

#include <functional>
#include <memory>
#include <vector>

class TTimer;
class TFcStatusBar;

class TFcCustomStatusPane : public TGraphicControl, public IFcBlinkingControl, public IFcCustomFramingNotification,
                            public THintActionTarget {
public:
    explicit TFcCustomStatusPane(TComponent* AOwner);
    ~TFcCustomStatusPane() override;

    // An equal text changes nothing (no repaint).
    void SetText(const QString& Value) override;
    void SetCaption(const QString& Value) { SetText(Value); }
    TAlignment Alignment() const { return FAlignment; }
    virtual void SetAlignment(TAlignment Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool AutoHint = false;
    int DefaultWidth() const { return FDefaultWidth; }
    virtual void SetDefaultWidth(int Value);
    bool Blinking() const { return FBlinking; }
    virtual void SetBlinking(bool Value);
    TColor BlinkColor() const { return FBlinkColor; }
    virtual void SetBlinkColor(TColor Value);
    TBlinkState BlinkState() const { return FBlinkState; }
    // Shared by every blinking control.
    virtual int GetBlinkIntervalOff() const;
    virtual void SetBlinkIntervalOff(int Value);
    virtual int GetBlinkIntervalOn() const;
    virtual void SetBlinkIntervalOn(int Value);
    int BorderWidth() const { return FBorderWidth; }
    virtual void SetBorderWidth(int Value);
    int CaptionOffset() const { return FCaptionOffset; }
    virtual void SetCaptionOffset(int Value);
    TColor FillColor() const { return FFillColor; }
    virtual void SetFillColor(TColor Value);
    bool ParentFillColor() const { return FParentFillColor; }
    virtual void SetParentFillColor(bool Value);
    TColor FlatColor() const { return FFlatColor; }
    virtual void SetFlatColor(TColor Value);
    int FlatColorAdjustment() const { return FFlatColorAdjustment; }
    virtual void SetFlatColorAdjustment(int Value);
    TFrameStyle FrameStyle() const { return FFrameStyle; }
    virtual void SetFrameStyle(TFrameStyle Value);
    TFcFrameController* FrameController() const { return FFrameController; }
    virtual void SetFrameController(TFcFrameController* Value);
    TFcFrameControllerNotifications FrameControllerNotifications = fcnAll;
    virtual void SetTransparent(bool Value);
    // The font colour the next paint uses.
    TColor CurrentColor() const { return FCurrentColor; }
    TFcAboutInfo About;

    virtual int GetMinWidth();
    virtual TRect GetCaptionRect();
    virtual bool UnderSizeGrip() const;
    void CustomFramingChanged() override;
    bool GetBlinking() const override { return FBlinking; }
    void Blink(bool ShowBlinkColor) override;
    // A hint action shows its hint in a pane with AutoHint.
    bool ExecuteHint(const QString& Hint);
    bool ExecuteHintAction(const QString& Hint) override { return ExecuteHint(Hint); }
    // A pane lying over the bar's size grip passes the grip on: the cursor
    // shows it and a press there resizes the window.
    bool OverSizeGrip(int X, int Y) const;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;

protected:
    void Paint() override;
    void TextChanged() override;
    void FontChanged() override;
    void ColorChanged() override;
    void ParentColorChanged() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void DrawCaption(const QString& Text);
    virtual void DrawStatusBorder();
    virtual void AdjustBounds();
    TFcStatusBar* StatusBar() const;
    bool Themed() const;
    void NormalColor();

    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = false;
    int FDefaultWidth = 40;
    TColor FBlinkColor = clHighlight;
    TBlinkState FBlinkState = bsOn;
    bool FBlinking = false;
    TColor FFontColor = clWindowText;
    int FBorderWidth = 1;
    int FCaptionOffset = 2;
    bool FParentFillColor = true;
    TColor FFillColor = clBtnFace;
    TColor FFlatColor = clBtnShadow;
    int FFlatColorAdjustment = 30;
    TFrameStyle FFrameStyle = fsFlat;
    TFcFrameController* FFrameController = nullptr;
    TColor FCurrentColor = clWindowText;
};

class TFcStatusPane : public TFcCustomStatusPane {
public:
    explicit TFcStatusPane(TComponent* AOwner) : TFcCustomStatusPane(AOwner) {}
};

class TFcPollingStatus;

// The one timer of the polling panes.
class TFcPollingList {
public:
    TFcPollingList();
    virtual ~TFcPollingList();
    void Add(TFcPollingStatus* Pane);
    void Remove(TFcPollingStatus* Pane);
    virtual int GetCount() const { return int(FControls.size()); }
    virtual bool GetEnabled() const;
    virtual void SetEnabled(bool Value);
    virtual int GetInterval() const;
    virtual void SetInterval(int Value);
    // One tick: every visible pane, in registration order.
    void TimerFired();

private:
    std::unique_ptr<TTimer> FTimer;
    std::vector<TFcPollingStatus*> FControls;
};

extern TFcPollingList* PollingControls;

class TFcPollingStatus : public TFcCustomStatusPane {
public:
    explicit TFcPollingStatus(TComponent* AOwner);
    ~TFcPollingStatus() override;
    virtual bool GetActive() const;
    virtual void SetActive(bool Value);
    virtual int GetInterval() const;
    virtual void SetInterval(int Value);
    TNotifyEvent OnTimerExpired;
    virtual void TimerExpired();
};

using TFcGetDateTimeEvent = std::function<void(TComponent* Sender, TDateTime& DateTime)>;

class TFcClockStatus : public TFcPollingStatus {
public:
    explicit TFcClockStatus(TComponent* AOwner);
    QString Format() const { return FFormat; }
    void SetFormat(const QString& Value);
    QString DateTimeStr() const { return FDateTimeStr; }
    TFcGetDateTimeEvent OnGetDateTime;
    void TimerExpired() override;
    TRect GetCaptionRect() override;
    // What the form's loading does: the text now, the caption and the size.
    void Loaded() override;

protected:
    void Paint() override;
    virtual void SetCurrentDateTimeStr();
    QString FFormat;
    QString FDateTimeStr;
};
