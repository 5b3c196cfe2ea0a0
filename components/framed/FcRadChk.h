#pragma once
// Check box and radio button that draw their box or circle themselves: in
// the visual style, from a custom glyph strip or image list, or as the
// library's hot-track glyph with read-only and focus colours, also over a
// gradient panel.

#include "components/framed/FcButton.h"
#include "components/framed/FcFrameController.h"

#include <memory>

class TCustomImageList;

class TFcCustomGlyphButton : public TFcCustomButton, public IFcCustomFramingNotification {
public:
    explicit TFcCustomGlyphButton(TComponent* AOwner);
    ~TFcCustomGlyphButton() override;

    // taRightJustify: the caption right of the glyph.
    TAlignment Alignment() const { return FAlignment; }
    virtual void SetAlignment(TAlignment Value);
    void SetAutoSize(bool Value) override;
    bool WordWrap() const { return FWordWrap; }
    virtual void SetWordWrap(bool Value);
    TColor FrameColor() const { return FFrameColor; }
    virtual void SetFrameColor(TColor Value);
    int NumGlyphs() const { return FNumGlyphs; }
    TBitmap* CustomGlyphs() { return &FCustomGlyphs; }
    virtual void SetCustomGlyphs(const TBitmap* Value);
    TCustomImageList* CustomGlyphImages() const { return FCustomGlyphImages; }
    virtual void SetCustomGlyphImages(TCustomImageList* Value);
    bool UseCustomGlyphs() const { return FUseCustomGlyphs; }
    virtual void SetUseCustomGlyphs(bool Value);
    TColor TransparentColor() const { return FTransparentColor; }
    virtual void SetTransparentColor(TColor Value);
    TColor WinMaskColor() const { return FWinMaskColor; }
    virtual void SetWinMaskColor(TColor Value);
    TColor FillColor() const { return FFillColor; }
    virtual void SetFillColor(TColor Value);
    TColor FocusColor() const { return FFocusColor; }
    virtual void SetFocusColor(TColor Value);
    TColor DisabledColor() const { return FDisabledColor; }
    virtual void SetDisabledColor(TColor Value);
    bool ReadOnly() const { return FReadOnly; }
    virtual void SetReadOnly(bool Value);
    TColor ReadOnlyColor() const { return FReadOnlyColor; }
    virtual void SetReadOnlyColor(TColor Value);
    bool ReadOnlyColorOnFocus() const { return FReadOnlyColorOnFocus; }
    void SetReadOnlyColorOnFocus(bool Value);
    int GlyphWidth() const { return FGlyphWidth; }
    int GlyphHeight() const { return FGlyphHeight; }
    bool TabOnEnter = false;
    TFcButtonHotTrackStyle HotTrackStyle() const { return FHotTrackStyle; }
    void SetHotTrackStyle(TFcButtonHotTrackStyle Value);
    TFcFrameController* FrameController() const { return FFrameController; }
    virtual void SetFrameController(TFcFrameController* Value);
    TFcFrameControllerNotifications FrameControllerNotifications = fcnAll;

    virtual bool GetChecked() const { return false; }
    // The checked action link: the action's Checked sets the box without its click.
    void ActionChange(TBasicAction* Sender, bool CheckDefaults) override;
    virtual void SetChecked(bool) {}
    QString LegacyHotTrackName() const override { return QStringLiteral("Flat"); }
    void GetGlyphPosition(int& X, int& Y) const;
    // Whether the glyph stands at the left edge (right-to-left mirrors it).
    bool GlyphAtLeft() const;
    // The side the platform lines the control up to when it mirrors a window.
    TAlignment ControlsAlignment() const;
    TRect GetHotTrackRect() override;
    void CustomFramingChanged() override;
    // Sizes the control to its glyph and caption (with AutoSize).
    void AdjustSize() override;
    // With the visual style the box grows with the form; a custom strip keeps its size.
    void ChangeScale(int M, int D) override;

protected:
    void Paint() override;
    void TextChanged() override;
    void FontChanged() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Paints the glyph of the present state into a GlyphWidth x GlyphHeight bitmap.
    virtual void SelectGlyph(TBitmap* Glyph) = 0;
    virtual void BlendButtonFrame(TBitmap*) {}
    virtual void DrawGlyph(TCanvas* Canvas);
    void ExtractGlyph(int Index, TBitmap* Glyph, const TBitmap* Source) const;
    void CustomGlyphsChanged();
    TFcButtonDisplayState DisplayState() const;
    void HotColors(TColor& Stop, TColor& Hot) const;

    TAlignment FAlignment = taRightJustify;
    bool FWordWrap = false;
    TColor FFrameColor = clBtnShadow;
    int FNumGlyphs = 9;
    TBitmap FCustomGlyphs;
    TCustomImageList* FCustomGlyphImages = nullptr;
    bool FUseCustomGlyphs = false;
    TColor FTransparentColor = clOlive;
    TColor FWinMaskColor = clLime;
    TColor FFillColor = clWindow;
    TColor FFocusColor = clWindow;
    TColor FDisabledColor = clBtnFace;
    bool FReadOnly = false;
    bool FReadOnlyColorOnFocus = false;
    TColor FReadOnlyColor = clInfoBk;
    int FGlyphWidth = 13;
    int FGlyphHeight = 13;
    int FThemedGlyphWidth = 13;
    int FThemedGlyphHeight = 13;
    TFcButtonHotTrackStyle FHotTrackStyle = htsInterior;
    TFcFrameController* FFrameController = nullptr;
    bool FClicksDisabled = false;
    bool FUsingMouse = false;
};

class TFcCustomCheckBox : public TFcCustomGlyphButton {
public:
    explicit TFcCustomCheckBox(TComponent* AOwner);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
    TCheckBoxState State() const { return FState; }
    // A change from code fires OnClick as a user's click does.
    virtual void SetState(TCheckBoxState Value);
    // Sets the state without a click.
    void InitState(TCheckBoxState Value);
    bool GetChecked() const override { return FState == cbChecked; }
    void SetChecked(bool Value) override { SetState(Value ? cbChecked : cbUnchecked); }
    bool Checked() const { return GetChecked(); }
    // The caption's accelerator focuses the box and toggles it.
    bool DialogChar(Word Key, TShiftState Shift) override;

protected:
    void ChangeState() override;
    void SelectGlyph(TBitmap* Glyph) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void DoExit() override;
    bool FAllowGrayed = false;
    TCheckBoxState FState = cbUnchecked;
    bool FKeyToggle = false;
};

class TFcCheckBox : public TFcCustomCheckBox {
public:
    explicit TFcCheckBox(TComponent* AOwner) : TFcCustomCheckBox(AOwner) {}
};

class TFcRadioButton : public TFcCustomGlyphButton {
public:
    explicit TFcRadioButton(TComponent* AOwner);
    bool GetChecked() const override { return FChecked; }
    void SetChecked(bool Value) override;
    bool Checked() const { return FChecked; }
    // Also sets it on every sibling radio button.
    void SetReadOnly(bool Value) override;
    // The caption's accelerator focuses the button, which chooses it.
    bool DialogChar(Word Key, TShiftState Shift) override;

protected:
    void ChangeState() override;
    void SelectGlyph(TBitmap* Glyph) override;
    void BlendButtonFrame(TBitmap* Glyph) override;
    void DoEnter() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    bool FChecked = false;
};
