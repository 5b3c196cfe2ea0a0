#pragma once
// The base of every clickable framed control that is not a tool-bar item:
// the pressed look while the mouse or Space is held, hot tracking, keyboard
// cues and the caption painter with raised, recessed and shadowed text. The
// push button adds default and cancel, the modal result and grouped
// two-state buttons, in the visual-style, hot-track or classic look.

#include "components/framed/FcCommon.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DialogKeys.h"

// Focus rectangles and accelerator underlines show once the keyboard has
// moved the focus (Tab, arrows or Alt), not before.
bool KeyboardCuesShown();
void NoteKeyboardNavigation(Word Key, TShiftState Shift);

class TFcCustomButton : public TCustomControl, public TDialogKeyTarget {
public:
    explicit TFcCustomButton(TComponent* AOwner);

    TAlignmentVertical AlignmentVertical() const { return FAlignmentVertical; }
    virtual void SetAlignmentVertical(TAlignmentVertical Value);
    TColor HotTrackColor() const { return FHotTrackColor; }
    void SetHotTrackColor(TColor Value);
    TFcHotTrackColorType HotTrackColorType() const { return FHotTrackColorType; }
    void SetHotTrackColorType(TFcHotTrackColorType Value);
    TColor HighlightColor() const { return FHighlightColor; }
    virtual void SetHighlightColor(TColor Value);
    bool LightTextStyle() const { return FLightTextStyle; }
    virtual void SetLightTextStyle(bool Value);
    TTextStyle TextStyle() const { return FTextStyle; }
    virtual void SetTextStyle(TTextStyle Value);
    TColor TextHighlightColor() const { return FTextHighlightColor; }
    virtual void SetTextHighlightColor(TColor Value);
    TColor TextShadowColor() const { return FTextShadowColor; }
    virtual void SetTextShadowColor(TColor Value);
    int TextShadowDepth() const { return FTextShadowDepth; }
    virtual void SetTextShadowDepth(int Value);
    bool HotTrack() const { return FHotTrack; }
    virtual void SetHotTrack(bool Value);
    bool ThemeAware() const { return FThemeAware; }
    virtual void SetThemeAware(bool Value);
    virtual void SetTransparent(bool Value);
    // Hot tracking stored as "FrameFlat" (push buttons) or "Flat" (check boxes, radio buttons).
    virtual bool ReadLegacyProperty(const QString& Name, const QString& Value);
    virtual QString LegacyHotTrackName() const { return QStringLiteral("FrameFlat"); }
    bool MouseOverButton() const { return FMouseOverButton; }
    bool ShowDownVersion() const { return FShowDownVersion; }
    TFcAboutInfo About;

    virtual bool UseThemes() const;
    virtual TRect GetHotTrackRect() { return ClientRect(); }
    // Focus rectangles and accelerator underlines show once the keyboard was used.
    bool ShowAccel() const;
    bool ShowFocus() const;
    virtual void Draw3DText(TCanvas* Canvas, TRect R, unsigned Flags);
    // The two hot-track colours: the ring's start and stop.
    void HotTrackColors(TColor& Start, TColor& Stop) const;
    bool ClicksOnMouseUp() const override { return false; }

protected:
    virtual void UpdateDisplay() {}
    virtual void RepaintDisplay() { Repaint(); }
    // What a completed click does.
    virtual void ChangeState() = 0;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void EnabledChanged() override;
    void TextChanged() override;
    void DoEnter() override;
    void DoExit() override;

    TAlignmentVertical FAlignmentVertical = avCenter;
    TColor FHotTrackColor = TColor(0x00149BF0);
    TFcHotTrackColorType FHotTrackColorType = htctActual;
    TColor FHighlightColor = clHighlight;
    bool FLightTextStyle = false;
    TTextStyle FTextStyle = TTextStyle::tsNormal;
    TColor FTextHighlightColor = clBtnHighlight;
    TColor FTextShadowColor = clBtnShadow;
    int FTextShadowDepth = 2;
    bool FDragging = false;
    bool FHotTrack = false;
    bool FMouseOverButton = false;
    bool FShowDownVersion = false;
    bool FThemeAware = true;
};

enum TFcButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

class TFcButton : public TFcCustomButton {
public:
    explicit TFcButton(TComponent* AOwner);
    ~TFcButton() override;

    TAlignment Alignment() const { return FAlignment; }
    virtual void SetAlignment(TAlignment Value);
    bool Default() const { return FDefault; }
    virtual void SetDefault(bool Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int Value) { FModalResult = Value; }
    bool AllowAllUp() const { return FAllowAllUp; }
    virtual void SetAllowAllUp(bool Value);
    bool Down() const { return FDown; }
    virtual void SetDown(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    virtual void SetGroupIndex(int Value);
    TColor FrameColor() const { return FFrameColor; }
    virtual void SetFrameColor(TColor Value);
    bool ShowDownPattern() const { return FShowDownPattern; }
    virtual void SetShowDownPattern(bool Value);
    bool ShowFocusRect() const { return FShowFocusRect; }
    virtual void SetShowFocusRect(bool Value);
    void SetHotTrack(bool Value) override;
    TFcButtonState State() const { return FState; }
    // Acts as the window's default button now.
    bool Active() const { return FActive; }
    void Click() override;
    // Enter (when active) and Escape (when Cancel) click the button; true when used.
    bool DialogKey(Word Key, TShiftState Shift) override;
    // The caption's accelerator clicks the button.
    bool DialogChar(Word Key, TShiftState Shift) override;
    // A focused push button takes the default role; elsewhere the Default one has it.
    void FocusChanged(TWinControl* NewFocus) override;
    bool IsPushButton() const override { return true; }
    // A sibling with the same group index went down.
    void ButtonPressed(int GroupIndex, TFcButton* Sender);

protected:
    void Paint() override;
    void UpdateDisplay() override { Invalidate(); }
    void ChangeState() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void DoEnter() override;
    void DoExit() override;
    virtual TRect GetCaptionRect();
    virtual void DrawButtonContent();
    bool Pressed() const;
    void UpdateExclusive();
    void PaintHotTrack(TRect R);
    void PaintClassic(TRect& R);

    TAlignment FAlignment = taCenter;
    bool FClicking = false;
    bool FDefault = false;
    bool FCancel = false;
    bool FActive = false;
    int FModalResult = 0;
    bool FKeyToggle = false;
    bool FAllowAllUp = false;
    bool FDown = false;
    int FGroupIndex = 0;
    bool FShowDownPattern = true;
    bool FShowFocusRect = true;
    TColor FFrameColor = cl3DDkShadow;
    TFcButtonState FState = bsUp;
};
