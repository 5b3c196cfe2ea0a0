#include "components/framed/FcNumericEdit.h"

#include "components/framed/FcCalculator.h"
#include "components/framed/FcPopups.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/StrUtils.h"

#include <QRegularExpression>
#include <cmath>

namespace {

QChar DecimalSeparator()
{
    return FormatSettings().DecimalSeparator;
}

}  // namespace

TFcNumericEdit::TFcNumericEdit(TComponent* AOwner) : TFcEdit(AOwner)
{
    SetBounds(Left(), Top(), 65, 21);
    SetAlignment(taRightJustify);
    FLoading = true;
    TFcEdit::SetText(FormatText(0));
    FLoading = false;
}

QString TFcNumericEdit::FormatText(double Value) const
{
    return FormatFloat(FDisplayFormat, Value);
}

QString TFcNumericEdit::CleanupQuotedText(const QString& Text) const
{
    const QChar dec = DecimalSeparator();
    if (FDisplayFormat.isEmpty() || !FDisplayFormat.contains(dec) ||
        !(FDisplayFormat.contains(QLatin1Char('"')) || FDisplayFormat.contains(QLatin1Char('\''))))
        return Text;
    QString result = Text, literal;
    int state = 0;
    for (const QChar c : FDisplayFormat) {
        const bool quote = c == QLatin1Char('"') || c == QLatin1Char('\'');
        if (quote) {
            static const int next[4] = {2, 3, 3, 2};
            state = next[state];
        } else if (state == 2) {
            state = 1;
        } else if (state == 3) {
            state = 0;
        }
        if (state == 1 && !quote)
            literal += c;
        if (state == 3 && !literal.isEmpty()) {
            QString blanked = literal;
            blanked.replace(dec, QLatin1Char(' '));
            result.replace(literal, blanked);
            literal.clear();
        }
    }
    return result;
}

QString TFcNumericEdit::ForeignDecimalSeparator(const QString& Text) const
{
    const QChar dec = DecimalSeparator();
    if (Text.contains(dec))
        return Text;
    const QChar foreign = dec == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
    if (Text.count(foreign) != 1)
        return Text;
    // "1.234" groups thousands; "1.5" or "12.50" is a decimal point
    static const QRegularExpression thousands(QStringLiteral("\\d{1,3}[.,]\\d{3}(?!\\d)"));
    if (thousands.match(Text).hasMatch())
        return Text;
    QString t = Text;
    t.replace(foreign, dec);
    return t;
}

double TFcNumericEdit::EvaluateText() const
{
    // 1.
    QString text = CleanupQuotedText(Text().trimmed());
    if (text.isEmpty())
        return 0;
    text = ForeignDecimalSeparator(text);
    // 2.
    const bool negative = text.startsWith(QLatin1Char('-')) ||
                          (text.startsWith(QLatin1Char('(')) && text.indexOf(QLatin1Char(')')) == text.size() - 1);
    // 3.
    const QChar dec = DecimalSeparator();
    QString kept;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isDigit() || c == dec) {
            kept += c;
        } else if (c == QLatin1Char('-')) {
            if (!AllowScientificNotation ||
                (!kept.isEmpty() && (kept.back() == QLatin1Char('E') || kept.back() == QLatin1Char('e'))))
                kept += c;
        } else if (AllowScientificNotation && (c == QLatin1Char('E') || c == QLatin1Char('e'))) {
            kept += c;
        }
    }
    // 4.
    if (kept.isEmpty())
        return 0;
    if (negative && !kept.startsWith(QLatin1Char('-')))
        kept.prepend(QLatin1Char('-'));
    // 5.
    double v = 0;
    return TryStrToFloat(kept, v) ? v : 0;
}

bool TFcNumericEdit::IsValidChar(QChar Key) const
{
    const QChar dec = DecimalSeparator();
    const ushort k = Key.unicode();
    // stage one: the character class
    bool ok;
    if (k < 32)
        ok = k != 13;
    else if (Key.isDigit() && k < 128)
        ok = true;
    else if (Key == QLatin1Char('+') || Key == QLatin1Char('-') || Key == QLatin1Char('(') || Key == QLatin1Char(')'))
        ok = true;
    else if (!FIntegersOnly && Key == dec)
        ok = true;
    else
        ok = !FIntegersOnly && AllowScientificNotation && (Key == QLatin1Char('E') || Key == QLatin1Char('e'));
    if (!ok)
        return false;
    // stage two: where it goes
    const QString text = Text();
    const int selStart = SelStart(), selLength = SelLength();
    const QString selected = SelText();
    if (Key == dec)
        return selLength == 0 ? !text.contains(dec) : (!text.contains(dec) || selected.contains(dec));
    if (!FIntegersOnly)
        return true;
    const bool signed_ = text.contains(QLatin1Char('+')) || text.contains(QLatin1Char('-'));
    if (Key == QLatin1Char('+') || Key == QLatin1Char('-')) {
        if (selStart == 0 && selLength == 0 && !signed_)
            return true;
        if (selLength == text.size() && selLength > 0)
            return true;
        return selStart == 0 && selLength > 0 &&
               (selected.contains(QLatin1Char('+')) || selected.contains(QLatin1Char('-')));
    }
    const bool startsSigned = text.startsWith(QLatin1Char('+')) || text.startsWith(QLatin1Char('-'));
    return !(selStart == 0 && selLength == 0 && startsSigned);
}

void TFcNumericEdit::KeyDown(Word& Key, TShiftState Shift)
{
    FDecimalPressed = Key == VK_DECIMAL;
    TFcEdit::KeyDown(Key, Shift);
}

void TFcNumericEdit::KeyPress(QChar& Key)
{
    if (FDecimalPressed) {
        Key = DecimalSeparator();
        FDecimalPressed = false;
    }
    TFcEdit::KeyPress(Key);
    if (!Key.isNull() && !IsValidChar(Key)) {
        Key = QChar();
        InvalidKeyPressed();
    }
}

void TFcNumericEdit::RangeError(double EnteredValue, double AdjustedValue, bool& AutoCorrect)
{
    if (OnRangeError)
        OnRangeError(this, EnteredValue, AdjustedValue, AutoCorrect);
}

double TFcNumericEdit::CheckValue(double NewValue, bool& RangeErr)
{
    double result = NewValue;
    if (FMin != FMax || CheckRange) {
        bool autoCorrect = true;
        if (!(NewValue >= FMin)) {
            RangeError(NewValue, FMin, autoCorrect);
            if (autoCorrect)
                result = FMin;
            else
                RangeErr = true;
        } else if (NewValue > FMax) {
            RangeError(NewValue, FMax, autoCorrect);
            if (autoCorrect)
                result = FMax;
            else
                RangeErr = true;
        }
    }
    FModified = result != FFieldValue;
    FFieldValue = result;
    return result;
}

double TFcNumericEdit::GetValue()
{
    try {
        if (!Text().isEmpty())
            return EvaluateText();
        if (AllowBlank)
            return BlankValue;
        TFcEdit::SetText(FormatText(FMin));
        return EvaluateText();
    } catch (...) {
        return FMin;
    }
}

void TFcNumericEdit::SetValue(double Value)
{
    if (Value != EvaluateText())
        TFcEdit::SetText(FormatText(Value));
}

void TFcNumericEdit::DoEnter()
{
    // 8.
    FModified = false;
    FFieldValue = EvaluateText();
    if (!AllowBlank)
        TFcEdit::SetText(FormatText(FFieldValue));
    TFcEdit::DoEnter();
}

void TFcNumericEdit::DoExit()
{
    // 9. the field shows its formatted value before the exit handlers run
    if (AllowBlank && Text().isEmpty()) {
        TFcEdit::DoExit();
        return;
    }
    double x;
    try {
        bool rangeError = false;
        x = CheckValue(EvaluateText(), rangeError);
        if (rangeError) {
            if (CanFocus())
                SetFocus();
            return;
        }
    } catch (...) {
        x = FMin;
        SetValue(FMin);
    }
    TFcEdit::SetText(FormatText(x));
    TFcEdit::DoExit();
}

void TFcNumericEdit::Loaded()
{
    TFcEdit::Loaded();
    FLoading = true;
    FFieldValue = EvaluateText();
    TFcEdit::SetText(FormatText(FFieldValue));
    FLoading = false;
}

void TFcNumericEdit::Change()
{
    if (Loading() || FLoading)
        return;
    TFcEdit::Change();
}

void TFcNumericEdit::SetIntegersOnly(bool Value)
{
    if (FIntegersOnly == Value)
        return;
    FIntegersOnly = Value;
    if (Value)
        SetValue(std::nearbyint(GetValue()));
}

void TFcNumericEdit::SetMin(double Value)
{
    if (FMin == Value)
        return;
    FMin = Value;
    if (!(FMax >= FMin))
        FMax = FMin;
    Invalidate();
}

void TFcNumericEdit::SetMax(double Value)
{
    if (FMax == Value)
        return;
    FMax = Value;
    if (!(FMin <= FMax))
        FMin = FMax;
    Invalidate();
}

void TFcNumericEdit::SetDisplayFormat(const QString& Value)
{
    if (FDisplayFormat == Value)
        return;
    const double v = GetValue();
    FDisplayFormat = Value;
    SetValue(v);
    if (!Loading())
        TFcEdit::SetText(FormatText(GetValue()));
}

void TFcNumericEdit::DropDown()
{
    if (ReadOnly())
        return;
    TFcEdit::DropDown();
    // the field's enter and exit handlers stay out of the calculator's way
    const TNotifyEvent enter = OnEnter, exit = OnExit;
    OnEnter = nullptr;
    OnExit = nullptr;
    try {
        DisplayCalculator();
    } catch (...) {
        // a failing calculator leaves the field as it was
    }
    OnEnter = enter;
    OnExit = exit;
}

void TFcNumericEdit::DisplayCalculator()
{
    if (!Parent())
        return;
    std::unique_ptr<TFcPopupPanel> panel = std::make_unique<TFcPopupPanel>(this);
    panel->SetParent(Parent());
    panel->SetAlignment(PopupAlignment);
    panel->Font()->SetName(Font()->Name());
    panel->Font()->SetColor(Font()->Color());
    panel->Font()->SetSize(Font()->Size());
    auto* calc = new TFcCalculator(panel.get());
    calc->SetParent(panel.get());
    calc->SetIsPopup(true);
    if (PopupWidth != 0 && PopupHeight != 0) {
        calc->SetAutoSize(false);
        calc->SetBounds(0, 0, PopupWidth, PopupHeight);
    }
    calc->SetThemeAware(UseThemes());
    calc->SetColor(Color());
    calc->SetResult(GetValue());
    if ((FrameVisible() && !UseThemes() && FrameStyle() == fsFlat) || FrameStyle() == fsFlatBold) {
        calc->SetBorderOuter(fsFlat);
        calc->SetFlatColor(FrameColor());
    }
    calc->SetCalculatorColors(CalculatorColors);
    calc->SetBoldButtons(CalculatorBoldButtons);
    TFcPopupPanel* host = panel.get();
    calc->OnSetBtnClick = [host](TComponent* Sender) { host->Close(Sender); };
    const int w = PopupWidth != 0 && PopupHeight != 0 ? PopupWidth : calc->Width();
    const int h = PopupWidth != 0 && PopupHeight != 0 ? PopupHeight : calc->Height();
    panel->SetBounds(0, 0, w + 6, h + 6);
    calc->SetBounds(3, 3, w, h);
    // no automatic selection while the calculator is open: the focus comes back
    // with the caret after the value instead of the whole text selected
    const bool autoSelect = AutoSelect();
    SetAutoSelect(false);
    const bool accepted = panel->Popup(this);
    if (accepted)
        SetValue(calc->Result());
    SetSelStart(int(Text().size()));
    PostCall([this, autoSelect] { SetAutoSelect(autoSelect); });
}
