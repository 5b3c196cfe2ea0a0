#pragma once
// The numeric edit: only number characters can be typed, the value stays
// within its limits and steps, and it is shown in a display format. Texts
// read in the program's fixed Finnish format; a pasted "1.5" reads as one
// and a half like "1,5".

#include "platform/ui/StdCtrls.h"

enum enStyle { enInteger, enFloat };

class TrEditNum : public TCustomEdit {
public:
    explicit TrEditNum(TComponent* AOwner);
    enStyle Style = enInteger;
    double MinValue = 0;
    double MaxValue = 0;
    double StepValue = 0;
    bool StepOnly = false;
    const QString& Format() const { return FFormat; }
    void SetFormat(const QString& Value);
    double GetValue() const;
    void SetValue(double Value);
    double Value() const { return GetValue(); }
    int GetAsInteger();
    void SetAsInteger(int Value);
    int AsInteger() { return GetAsInteger(); }
    // Limits, steps and reformats the text; false (text kept) when it is not a number.
    bool CheckValue();
    void StepUp();
    void StepDown();

    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void DoExit() override;

    // Reads a number as people and other programs write it: "," or "." as
    // the decimal point, blanks and (with a comma decimal) dots grouping
    // thousands. False when the text is not a number.
    static bool ReadNumber(const QString& Text, double& Value);

private:
    QString FormatValue(double V) const;
    QString FFormat;
};
