#include "components/base/rEditNum.h"

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/StrUtils.h"

#include <cmath>

TrEditNum::TrEditNum(TComponent* AOwner) : TCustomEdit(AOwner)
{
    FWidth = 48;
    SetText(QStringLiteral("0"));
}

bool TrEditNum::ReadNumber(const QString& Text, double& Value)
{
    QString t = Text.trimmed();
    t.remove(QChar(0x00A0));
    t.remove(QChar(0x202F));
    t.remove(QLatin1Char(' '));
    if (t.isEmpty())
        return false;
    const QChar dec = FormatSettings().DecimalSeparator;
    const QChar other = dec == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
    if (t.contains(dec))
        t.remove(other);  // the other mark groups thousands: "1.234,5"
    else if (t.count(other) == 1)
        t.replace(other, dec);  // a pasted "1.5" is one and a half
    else
        t.remove(other);  // "1.234.567"
    return TryStrToFloat(t, Value, FormatSettings());
}

QString TrEditNum::FormatValue(double V) const
{
    return FFormat.isEmpty() ? FloatToStr(V) : FormatFloat(FFormat, V);
}

double TrEditNum::GetValue() const
{
    double v = 0;
    return ReadNumber(Text(), v) ? v : 0;
}

void TrEditNum::SetValue(double Value)
{
    SetText(FormatValue(Value));
    CheckValue();
    if (!(ComponentState() & csDesigning) && HandleAllocated())
        SelectAll();
}

int TrEditNum::GetAsInteger()
{
    if (!CheckValue())
        return 0;
    return int(std::nearbyint(GetValue()));
}

void TrEditNum::SetAsInteger(int Value)
{
    SetValue(Value);
}

void TrEditNum::SetFormat(const QString& Value)
{
    FFormat = Value;
    CheckValue();
}

bool TrEditNum::CheckValue()
{
    // 1.
    double v = 0;
    if (!Text().trimmed().isEmpty() && !ReadNumber(Text(), v))
        return false;  // 5. the text stays as it was
    // 2.
    if (!(MinValue == 0 && MaxValue == 0)) {
        if (v > MaxValue)
            v = MaxValue;
        if (v < MinValue)
            v = MinValue;
    }
    // 3. the quotient rounds half to even
    if (StepOnly && StepValue != 0)
        v = std::nearbyint(v / StepValue) * StepValue;
    // 4.
    SetText(FormatValue(v));
    return true;
}

void TrEditNum::StepUp()
{
    SetValue(GetValue() + StepValue);
}

void TrEditNum::StepDown()
{
    SetValue(GetValue() - StepValue);
}

void TrEditNum::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomEdit::KeyDown(Key, Shift);
    if (Key == VK_UP) {
        StepUp();
        Key = 0;
    } else if (Key == VK_DOWN) {
        StepDown();
        Key = 0;
    }
}

void TrEditNum::KeyPress(QChar& Key)
{
    TCustomEdit::KeyPress(Key);
    if (Key == QChar(VK_RETURN)) {
        CheckValue();
        SelectAll();
        Key = QChar();
        return;
    }
    if (Key.unicode() < 32)
        return;
    const bool number = Key.isDigit() || Key == QLatin1Char('+') || Key == QLatin1Char('-');
    const bool floatChar = Key == QLatin1Char('E') || Key == QLatin1Char('e') || Key == FormatSettings().DecimalSeparator;
    if (!number && !(Style == enFloat && floatChar))
        Key = QChar();
}

void TrEditNum::DoExit()
{
    TCustomEdit::DoExit();
    if (!CheckValue())
        SetFocus();
}
