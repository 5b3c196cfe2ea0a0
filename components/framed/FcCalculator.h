#pragma once
// A keypad calculator drawn on a framed panel: digits, decimal point, the
// four operators, clear, equals, a display and, in popup use, a "set" key
// that hands the result to the control that opened it.

#include "components/framed/FcNumericEdit.h"
#include "components/framed/FcPanel.h"

enum TFcCalculatorArea { ccBtn0, ccBtn1, ccBtn2, ccBtn3, ccBtn4, ccBtn5, ccBtn6, ccBtn7, ccBtn8, ccBtn9, ccDecimal,
                         ccAdd, ccSubtract, ccMultiply, ccDivide, ccClear, ccEqual, ccSet, ccValue };
enum TFcCalculatorOperation { calcNone, calcAdd, calcSubtract, calcMultiply, calcDivide };

class TFcCalculator : public TFcCustomPanel {
public:
    explicit TFcCalculator(TComponent* AOwner);

    bool IsPopup() const { return FIsPopup; }
    void SetIsPopup(bool Value);
    bool BoldButtons() const { return FBoldButtons; }
    virtual void SetBoldButtons(bool Value);
    TFcCalculatorColors* CalculatorColors() { return &FCalculatorColors; }
    virtual void SetCalculatorColors(const TFcCalculatorColors& Value);
    double Result() const { return FResult; }
    virtual void SetResult(double Value);
    int64_t IntResult() const { return int64_t(std::nearbyint(FResult)); }
    void SetIntResult(int64_t Value) { SetResult(double(Value)); }
    bool ThemeAware() const { return FThemeAware; }
    virtual void SetThemeAware(bool Value);
    // With AutoSize the calculator sizes itself to its keys, not to children.
    bool CanAutoSize(int&, int&) override { return false; }
    TNotifyEvent OnChange;
    TNotifyEvent OnSetBtnClick;

    void Clear();
    TRect AreaRect(TFcCalculatorArea Area) const;
    TFcCalculatorArea HitTest(int X, int Y) const;
    // The display's text ("E" after an error).
    QString DisplayText() const;
    bool ErrorOccurred() const { return FErrorOccurred; }
    // Runs a key's action as a click on it does.
    void PressArea(TFcCalculatorArea Area);
    int MinimumSide() const;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    bool WantsKey(Word Key, TShiftState Shift) const override;
    bool ClicksOnMouseUp() const override { return false; }

protected:
    void Paint() override;
    void FontChanged() override;
    virtual void DrawDisplayBox(const TRect& R, TColor FrameColor);
    virtual void DrawCalcButton(TFcCalculatorArea Area, const TRect& R);
    void AppendDigit(int Digit);
    void DecimalPressed();
    void OperationPressed(TFcCalculatorOperation Operation);
    void EqualPressed();
    void SetPressed();
    void CalculateNewResult();
    void ShowNumber();
    void ShowResult();
    void ShowError();
    void MeasureFont();

    TFcCalculatorArea FPressedArea = ccValue;
    TFcCalculatorArea FOverArea = ccValue;
    bool FIsPopup = false;
    TPoint FCharSize{8, 13};
    double FNumber = 0;
    int FDecimalPlaces = 0;
    TFcCalculatorOperation FCurrentOperation = calcNone;
    double FResult = 0;
    bool FFirstDigit = true;
    bool FFirstNumber = true;
    bool FShowResult = true;
    bool FErrorOccurred = false;
    bool FBoldButtons = false;
    TFcCalculatorColors FCalculatorColors;
    bool FThemeAware = true;
};
