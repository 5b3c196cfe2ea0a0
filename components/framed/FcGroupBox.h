#pragma once
// A framed panel with a caption in one of six group styles (standard frame,
// custom, top line, flat rounded frame, banner, underline) and an optional
// check box in the caption that enables or disables the children.

#include "components/framed/FcPanel.h"

enum TFcGroupBoxStyle { gsStandard, gsCustom, gsTopLine, gsFlat, gsBanner, gsUnderline };

class TFcCustomGroupBox : public TFcCustomPanel {
public:
    explicit TFcCustomGroupBox(TComponent* AOwner);

    TFcGroupBoxStyle GroupStyle() const { return FGroupStyle; }
    virtual void SetGroupBoxStyle(TFcGroupBoxStyle Value);
    void SetGroupStyle(TFcGroupBoxStyle Value) { SetGroupBoxStyle(Value); }
    int BannerHeight() const { return FBannerHeight; }
    virtual void SetBannerHeight(int Value);
    TFont* CaptionFont() { return &FCaptionFont; }
    virtual void SetCaptionFont(const TFont& Value);
    bool Checked() const { return FChecked; }
    virtual void SetChecked(bool Value);
    bool ShowCheckBox() const { return FShowCheckBox; }
    virtual void SetShowCheckBox(bool Value);
    bool EnableControlsOnCheck() const { return FEnableControlsOnCheck; }
    virtual void SetEnableControlsOnCheck(bool Value);
    int CheckBoxSize() const { return FCheckBoxSize; }
    TRect CaptionRect() const { return FCaptionRect; }
    TNotifyEvent OnCheckBoxClick;
    virtual void ChangeState() { SetChecked(!FChecked); }
    void CustomFramingChanged() override;
    // The caption's accelerator moves the focus to the first child that takes it.
    bool DialogChar(Word Key, TShiftState Shift) override;

protected:
    void Paint() override;
    void AdjustClientRect(TRect& Rect) override;
    void FontChanged() override;
    void ChangeScale(int M, int D) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    TRect MeasureCaptionRect(TCanvas* C);
    void DrawCaptionCheckBox(TCanvas* C, const TRect& Caption);
    // Narrows the caption text past the check box (its side mirrors right-to-left).
    void SkipCaptionCheckBox(TRect& Text) const;

    TFcGroupBoxStyle FGroupStyle = gsFlat;
    int FBannerHeight = 0;
    TFont FCaptionFont;
    bool FCaptionFontChanged = false;
    TRect FCaptionRect;
    bool FEnableControlsOnCheck = true;
    bool FShowCheckBox = false;
    int FCheckBoxSize = 13;
    bool FDragging = false;
    bool FMouseOverCheckBox = false;
    bool FKeyToggle = false;
    bool FShowDownVersion = false;
    bool FChecked = true;
};
