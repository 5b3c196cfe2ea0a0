#include "components/framed/FcCalculator.h"

#include "components/framed/FcFrames.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/StrUtils.h"

#include <cmath>

TFcCalculator::TFcCalculator(TComponent* AOwner) : TFcCustomPanel(AOwner)
{
    FAutoSize = true;
    SetBounds(0, 0, 147, 159);
    SetColor(clWindow);
    FFlatColorAdjustment = 0;
    FBorderOuter = fsLowered;
    SetTabStop(true);
    DoubleBuffered = true;
    MeasureFont();
    Clear();
}

void TFcCalculator::MeasureFont()
{
    TBitmap m(1, 1);
    m.Canvas()->SetFont(*Font());
    FCharSize = {m.Canvas()->TextWidth(QStringLiteral("0")), m.Canvas()->TextHeight(QStringLiteral("0"))};
    // with AutoSize the calculator is a square of the keys' size
    if (AutoSize())
        SetBounds(Left(), Top(), MinimumSide(), MinimumSide());
}

int TFcCalculator::MinimumSide() const
{
    return 5 * (FCharSize.Y + 12) + 24;
}

void TFcCalculator::FontChanged()
{
    TFcCustomPanel::FontChanged();
    MeasureFont();
    Invalidate();
}

void TFcCalculator::SetIsPopup(bool Value)
{
    FIsPopup = Value;
    Invalidate();
}

void TFcCalculator::SetBoldButtons(bool Value)
{
    if (FBoldButtons != Value) {
        FBoldButtons = Value;
        Invalidate();
    }
}

void TFcCalculator::SetCalculatorColors(const TFcCalculatorColors& Value)
{
    FCalculatorColors = Value;
    Invalidate();
}

void TFcCalculator::SetThemeAware(bool Value)
{
    if (FThemeAware != Value) {
        FThemeAware = Value;
        Invalidate();
    }
}

TRect TFcCalculator::AreaRect(TFcCalculatorArea Area) const
{
    // 1.-3. five columns and rows of keys B wide with gaps of 4
    TRect r = ClientRect();
    const_cast<TFcCalculator*>(this)->AdjustClientRect(r);
    const int w = r.Width();
    const int b = (w - 24) / 5 + 1;
    const bool raised = FBorderOuter == fsGroove || FBorderOuter == fsBump || FBorderOuter == fsLowered ||
                        FBorderOuter == fsButtonDown || FBorderOuter == fsRaised || FBorderOuter == fsButtonUp ||
                        FBorderOuter == fsFlatBold || FBorderOuter == fsFlatRounded;
    const int o = raised ? 2 : 0;
    auto p = [&](int k) { return 4 + o + k * (b + 4); };
    auto span = [&](int c1, int c2, int r1, int r2) { return Rect(p(c1), p(r1), p(c2) + b, p(r2) + b); };
    // 4. the layout
    switch (Area) {
    case ccValue: return FIsPopup ? span(0, 3, 0, 0) : span(0, 4, 0, 0);
    case ccSet: return FIsPopup ? span(4, 4, 0, 0) : TRect();
    case ccBtn7: return span(0, 0, 1, 1);
    case ccBtn8: return span(1, 1, 1, 1);
    case ccBtn9: return span(2, 2, 1, 1);
    case ccDivide: return span(3, 3, 1, 1);
    case ccClear: return span(4, 4, 1, 2);
    case ccBtn4: return span(0, 0, 2, 2);
    case ccBtn5: return span(1, 1, 2, 2);
    case ccBtn6: return span(2, 2, 2, 2);
    case ccMultiply: return span(3, 3, 2, 2);
    case ccBtn1: return span(0, 0, 3, 3);
    case ccBtn2: return span(1, 1, 3, 3);
    case ccBtn3: return span(2, 2, 3, 3);
    case ccSubtract: return span(3, 3, 3, 3);
    case ccEqual: return span(4, 4, 3, 4);
    case ccBtn0: return span(0, 1, 4, 4);
    case ccDecimal: return span(2, 2, 4, 4);
    case ccAdd: return span(3, 3, 4, 4);
    }
    return TRect();
}

TFcCalculatorArea TFcCalculator::HitTest(int X, int Y) const
{
    for (int a = ccBtn0; a <= ccSet; ++a)
        if (AreaRect(TFcCalculatorArea(a)).Contains(Point(X, Y)))
            return TFcCalculatorArea(a);
    return ccValue;
}

// ---- entry and arithmetic ----------------------------------------------------------------------

void TFcCalculator::ShowNumber()
{
    FShowResult = false;
    Invalidate();
}

void TFcCalculator::ShowResult()
{
    FShowResult = true;
    Invalidate();
}

void TFcCalculator::ShowError()
{
    FErrorOccurred = true;
    Invalidate();
}

void TFcCalculator::Clear()
{
    FResult = 0;
    FNumber = 0;
    FCurrentOperation = calcNone;
    FFirstDigit = true;
    FFirstNumber = true;
    FDecimalPlaces = 0;
    FErrorOccurred = false;
    ShowResult();
}

void TFcCalculator::SetResult(double Value)
{
    if (Value == FResult)
        return;
    FResult = Value;
    FNumber = Value;
    FCurrentOperation = calcNone;
    FFirstDigit = true;
    FFirstNumber = true;
    FDecimalPlaces = 0;
    FErrorOccurred = false;
    ShowResult();
}

void TFcCalculator::AppendDigit(int Digit)
{
    if (FErrorOccurred)
        return;
    if (FFirstDigit) {
        FNumber = Digit;
        FFirstDigit = false;
    } else if (FDecimalPlaces <= 0) {
        FNumber = std::fabs(FNumber) * 10 + Digit;
        if (!std::isfinite(FNumber)) {
            ShowError();
            return;
        }
    } else {
        const double a = std::fabs(FNumber);
        FNumber = std::trunc(a) + (a - std::trunc(a)) + Digit * std::pow(10.0, -FDecimalPlaces);
        ++FDecimalPlaces;
    }
    ShowNumber();
}

void TFcCalculator::DecimalPressed()
{
    if (FErrorOccurred || FDecimalPlaces > 1)
        return;
    if (FFirstDigit) {
        FNumber = 0;
        ShowNumber();
    }
    FDecimalPlaces = 1;
    FFirstDigit = false;
}

void TFcCalculator::CalculateNewResult()
{
    switch (FCurrentOperation) {
    case calcNone:
        FResult = FNumber;
        FFirstDigit = true;
        FDecimalPlaces = 0;
        FFirstNumber = true;
        return;
    case calcAdd: FResult += FNumber; break;
    case calcSubtract: FResult -= FNumber; break;
    case calcMultiply: FResult *= FNumber; break;
    case calcDivide:
        if (std::fabs(FNumber) < 1e-19) {
            ShowError();
            return;
        }
        FResult /= FNumber;
        break;
    }
    if (!std::isfinite(FResult))
        ShowError();
    else
        ShowResult();
}

void TFcCalculator::OperationPressed(TFcCalculatorOperation Operation)
{
    if (FErrorOccurred)
        return;
    if (!FFirstNumber) {
        CalculateNewResult();
    } else {
        FFirstNumber = false;
        if (FCurrentOperation == calcNone)
            FResult = FNumber;
    }
    FCurrentOperation = Operation;
    FFirstDigit = true;
    FDecimalPlaces = 0;
}

void TFcCalculator::EqualPressed()
{
    if (FErrorOccurred)
        return;
    CalculateNewResult();
    FFirstDigit = true;
    FDecimalPlaces = 0;
    FFirstNumber = true;
    if (OnChange)
        OnChange(this);
}

void TFcCalculator::SetPressed()
{
    if (!FFirstNumber)
        CalculateNewResult();
    if (FIsPopup && OnSetBtnClick)
        OnSetBtnClick(this);
}

void TFcCalculator::PressArea(TFcCalculatorArea Area)
{
    if (Area <= ccBtn9)
        AppendDigit(int(Area));
    else if (Area == ccDecimal)
        DecimalPressed();
    else if (Area == ccAdd)
        OperationPressed(calcAdd);
    else if (Area == ccSubtract)
        OperationPressed(calcSubtract);
    else if (Area == ccMultiply)
        OperationPressed(calcMultiply);
    else if (Area == ccDivide)
        OperationPressed(calcDivide);
    else if (Area == ccClear)
        Clear();
    else if (Area == ccEqual)
        EqualPressed();
    else if (Area == ccSet)
        SetPressed();
}

QString TFcCalculator::DisplayText() const
{
    if (FErrorOccurred)
        return QStringLiteral("E");
    const double v = FShowResult ? FResult : FNumber;
    QString text = FDecimalPlaces < 2 ? FloatToStr(v) : FormatFloat(QStringLiteral("0.") + QString(FDecimalPlaces - 1, QLatin1Char('0')), v);
    const QChar dec = FormatSettings().DecimalSeparator;
    if (!text.contains(dec))
        text += dec;
    return text;
}

// ---- mouse and keys ----------------------------------------------------------------------------------

void TFcCalculator::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TFcCustomPanel::MouseDown(Button, Shift, X, Y);
    if (!FIsPopup && Visible() && CanFocus())
        SetFocus();
    if (Button == mbLeft) {
        FOverArea = ClientRect().Contains(Point(X, Y)) ? HitTest(X, Y) : ccValue;
        FPressedArea = FOverArea;
        Invalidate();
    }
}

void TFcCalculator::MouseMove(TShiftState Shift, int X, int Y)
{
    TFcCustomPanel::MouseMove(Shift, X, Y);
    const TFcCalculatorArea over = HitTest(X, Y);
    if (over != FOverArea) {
        FOverArea = over;
        if (FPressedArea != ccValue)
            Invalidate();
    }
}

void TFcCalculator::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TFcCustomPanel::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    FOverArea = HitTest(X, Y);
    const TFcCalculatorArea pressed = FPressedArea;
    FPressedArea = ccValue;
    // 5. a click is the release over the pressed key
    if (pressed == FOverArea && pressed != ccValue) {
        PressArea(pressed);
        Invalidate();
        Click();
    }
}

bool TFcCalculator::WantsKey(Word Key, TShiftState Shift) const
{
    if (Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN || Key == VK_RETURN)
        return true;
    return TFcCustomPanel::WantsKey(Key, Shift);
}

void TFcCalculator::KeyDown(Word& Key, TShiftState Shift)
{
    TFcCustomPanel::KeyDown(Key, Shift);
    if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD0 + 9) {
        AppendDigit(Key - VK_NUMPAD0);
        Key = 0;
    } else if (Key == VK_DECIMAL) {
        DecimalPressed();
        Key = 0;
    } else if (Key == VK_RETURN) {
        if (FIsPopup)
            SetPressed();
        else
            EqualPressed();
        Key = 0;
    } else if (Key == '8' && (Shift & ssShift)) {
        OperationPressed(calcMultiply);
        Key = 0;
    } else if (Key == 187 /* the "=" key */ && (Shift & ssShift)) {
        OperationPressed(calcAdd);
        Key = 0;
    }
}

void TFcCalculator::KeyPress(QChar& Key)
{
    TFcCustomPanel::KeyPress(Key);
    const QChar dec = FormatSettings().DecimalSeparator;
    if (Key.isDigit() && Key.unicode() < 128)
        AppendDigit(Key.digitValue());
    else if (Key == QLatin1Char('-'))
        OperationPressed(calcSubtract);
    else if (Key == QLatin1Char('/'))
        OperationPressed(calcDivide);
    else if (Key == QLatin1Char('*'))
        OperationPressed(calcMultiply);
    else if (Key == QLatin1Char('+'))
        OperationPressed(calcAdd);
    else if (Key == QLatin1Char('='))
        EqualPressed();
    else if (Key == QLatin1Char('c') || Key == QLatin1Char('C'))
        Clear();
    else if (Key == dec)
        DecimalPressed();
    else
        return;
    Key = QChar();
}

// ---- painting ------------------------------------------------------------------------------------------

void TFcCalculator::DrawDisplayBox(const TRect& R, TColor FrameColor)
{
    TCanvas* c = Canvas();
    const TRect t = DrawBox(c, R, FrameColor);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(FCalculatorColors.Display);
    c->FillRect(t);
    if (Focused())
        DrawBox(c, t, LighterColor(FrameColor, 40));
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(FCalculatorColors.DisplayFont);
    const QString text = DisplayText();
    c->TextOut(t.Right - 2 - c->TextWidth(text), t.Top + (t.Height() - FCharSize.Y) / 2, text);
    c->Brush()->SetStyle(bsSolid);
}

void TFcCalculator::DrawCalcButton(TFcCalculatorArea Area, const TRect& R)
{
    TCanvas* c = Canvas();
    const bool down = Area == FPressedArea && Area == FOverArea;
    const bool flat = FBorderOuter == fsFlat || FBorderOuter == fsFlatBold || FBorderOuter == fsFlatRounded;
    // digits, operators and commands each have their colours
    const bool number = Area <= ccDecimal, op = Area >= ccAdd && Area <= ccDivide;
    const TColor face = number ? FCalculatorColors.NumberBtns : op ? FCalculatorColors.OperatorBtns : FCalculatorColors.CommandBtns;
    const TColor font = number ? FCalculatorColors.NumberFont : op ? FCalculatorColors.OperatorFont : FCalculatorColors.CommandFont;
    TRect text = R;
    if (FThemeAware && ThemeServicesEnabled()) {
        DrawThemedPushButton(c, R, down ? tsPressed : tsNormal);
    } else {
        TRect in;
        if (face == clBtnFace)
            in = down ? DrawButtonBorder(c, R, true) : flat ? DrawBorder(c, R, fsFlat) : DrawCtl3DBorder(c, R, false);
        else
            in = down ? DrawColorButtonBorder(c, R, face, true)
                      : flat ? DrawColorBorder(c, R, face, fsFlat) : DrawColorButtonBorder(c, R, face, false);
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(face);
        c->FillRect(in);
        if (down)
            text.Offset(2, 2);
    }
    static const char* const captions[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", ".", "+", "-", "*", "\xC3\xB7", "C", "="};
    if (Area == ccSet) {
        // the symbol font's "5": a filled triangle pointing up, at the font's size + 4 points
        const int h = std::max(4, (Font()->Size() + 4) * 96 / 72 / 2);
        const int cx = text.Left + text.Width() / 2, cy = text.Top + text.Height() / 2;
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(font);
        c->Pen()->SetColor(font);
        c->Polygon({{cx - h / 2 - 1, cy + h / 4}, {cx + h / 2 + 1, cy + h / 4}, {cx, cy - h / 2}});
        return;
    }
    const QString caption = QString::fromUtf8(captions[Area]);
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(font);
    c->DrawText(caption, text, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    c->Brush()->SetStyle(bsSolid);
}

void TFcCalculator::Paint()
{
    TCanvas* c = Canvas();
    TColor frame = FFlatColor;
    if (FThemeAware && ThemeServicesEnabled()) {
        frame = GetXPThemeColor(xptcEditBorder);
        const TRect in = DrawBox(c, ClientRect(), frame);
        c->Brush()->SetColor(Color());
        c->FillRect(in);
    } else {
        PaintPanel();
    }
    c->SetFont(*Font());
    if (FBoldButtons)
        c->Font()->SetStyle(c->Font()->Style() | fsBold);
    DrawDisplayBox(AreaRect(ccValue), frame);
    for (int a = ccBtn0; a <= ccEqual; ++a)
        DrawCalcButton(TFcCalculatorArea(a), AreaRect(TFcCalculatorArea(a)));
    if (FIsPopup)
        DrawCalcButton(ccSet, AreaRect(ccSet));
}
