#pragma once
// The framed edit as a number field: typed characters are filtered, the
// text is read by a tolerant evaluation, the value is shown in a display
// format when the field is entered and left, and a range can be checked
// with a correction event.

#include "components/framed/FcEdit.h"

#include <cstdint>

using TFcRangeErrorEvent =
    std::function<void(TComponent* Sender, double EnteredValue, double AdjustedValue, bool& AutoCorrect)>;

// The calculator's colours, also readable by index 0 .. 7 in this order.
struct TFcCalculatorColors {
    TColor NumberFont = clWindowText;
    TColor NumberBtns = clBtnFace;
    TColor OperatorFont = clWindowText;
    TColor OperatorBtns = clBtnFace;
    TColor CommandFont = clWindowText;
    TColor CommandBtns = clBtnFace;
    TColor DisplayFont = clWindowText;
    TColor Display = clWindow;
    TColor GetColor(int Index) const
    {
        const TColor all[8] = {NumberFont, NumberBtns, OperatorFont, OperatorBtns, CommandFont, CommandBtns, DisplayFont, Display};
        return Index >= 0 && Index < 8 ? all[Index] : clNone;
    }
};

class TFcNumericEdit : public TFcEdit {
public:
    explicit TFcNumericEdit(TComponent* AOwner);

    bool AllowBlank = false;
    bool AllowScientificNotation = true;
    double BlankValue = 0;
    bool CheckRange = false;
    bool IntegersOnly() const { return FIntegersOnly; }
    virtual void SetIntegersOnly(bool Value);
    double Min() const { return FMin; }
    virtual void SetMin(double Value);
    double Max() const { return FMax; }
    virtual void SetMax(double Value);
    QString DisplayFormat() const { return FDisplayFormat; }
    virtual void SetDisplayFormat(const QString& Value);
    bool CalculatorVisible() const { return DropButtonVisible(); }
    void SetCalculatorVisible(bool Value) { SetDropButtonVisible(Value); }
    bool CalculatorBoldButtons = false;
    TFcCalculatorColors CalculatorColors;
    TAlignment PopupAlignment = taRightJustify;
    int PopupHeight = 0;
    int PopupWidth = 0;
    TFcRangeErrorEvent OnRangeError;
    // True after leaving the field when the accepted value differed from the one at entry.
    bool ValueModified() const { return FModified; }

    // The number shown; for an empty text (without AllowBlank) the text becomes the minimum first.
    virtual double GetValue();
    virtual void SetValue(double Value);
    virtual int64_t GetIntValue() { return int64_t(std::nearbyint(GetValue())); }
    virtual void SetIntValue(int64_t Value) { SetValue(double(Value)); }
    virtual QString FormatText(double Value) const;
    virtual double EvaluateText() const;
    virtual bool IsValidChar(QChar Key) const;
    virtual double CheckValue(double NewValue, bool& RangeError);

    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void DoEnter() override;
    void DoExit() override;
    void Loaded() override;
    void Change() override;

protected:
    void DropDown() override;
    // Opens the calculator under the field; an accepted result becomes the value.
    virtual void DisplayCalculator();
    virtual void RangeError(double EnteredValue, double AdjustedValue, bool& AutoCorrect);
    QString CleanupQuotedText(const QString& Text) const;
    // A pasted "1.5" under a comma locale: one foreign separator that is no
    // thousands grouping is read as the decimal separator.
    QString ForeignDecimalSeparator(const QString& Text) const;

    bool FIntegersOnly = true;
    double FMin = 0;
    double FMax = 0;
    QString FDisplayFormat = QStringLiteral(",0;(,0)");
    double FFieldValue = 0;
    bool FModified = false;
    bool FDecimalPressed = false;
    bool FLoading = false;
};
