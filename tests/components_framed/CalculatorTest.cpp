// The calculator's key sequences and layout, the popup position arithmetic
// and the numeric edit's calculator.
#include "components/framed/FcCalculator.h"
#include "components/framed/FcPopups.h"
#include "platform/ui/Forms.h"
#include "platform/ui/PopupHost.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

struct CalcForm {
    CalcForm()
    {
        form = std::make_unique<TForm>(nullptr);
        calc = new TFcCalculator(form.get());
        calc->SetParent(form.get());
        form->AfterConstruction();
    }
    // Keys by their captions: digits, ".", "+-*/", "=", "C".
    QString Press(const QString& Keys)
    {
        for (QChar k : Keys) {
            TFcCalculatorArea a = ccValue;
            if (k.isDigit())
                a = TFcCalculatorArea(k.digitValue());
            else if (k == QLatin1Char('.'))
                a = ccDecimal;
            else if (k == QLatin1Char('+'))
                a = ccAdd;
            else if (k == QLatin1Char('-'))
                a = ccSubtract;
            else if (k == QLatin1Char('*'))
                a = ccMultiply;
            else if (k == QLatin1Char('/'))
                a = ccDivide;
            else if (k == QLatin1Char('='))
                a = ccEqual;
            else if (k == QLatin1Char('C'))
                a = ccClear;
            calc->PressArea(a);
        }
        return calc->DisplayText();
    }
    std::unique_ptr<TForm> form;
    TFcCalculator* calc;
};

}  // namespace

TEST(CalculatorTest, KeySequences)
{
    struct Case {
        const char* keys;
        const char* display;
    } cases[] = {
        {"12+3=", "15,"}, {"12+3==", "18,"}, {"7/0=", "E"}, {"7/0=5+=", "E"}, {"7/0=C", "0,"},
        {"2+3=7+1=", "6,"}, {".5", "0,5"}, {"5.", "5,"}, {"1.00", "1,00"}, {"9-12=", "-3,"}, {"3*4=", "12,"},
    };
    for (const Case& c : cases) {
        CalcForm f;
        EXPECT_EQ(f.Press(QString::fromLatin1(c.keys)), QString::fromLatin1(c.display)) << c.keys;
    }
}

TEST(CalculatorTest, ClickIsAReleaseOverThePressedKey)
{
    CalcForm f;
    const TRect seven = f.calc->AreaRect(ccBtn7), eight = f.calc->AreaRect(ccBtn8);
    TControl* c = f.calc;
    c->MouseDown(mbLeft, ssLeft, seven.Left + 3, seven.Top + 3);
    c->MouseUp(mbLeft, 0, eight.Left + 3, eight.Top + 3);
    EXPECT_EQ(f.calc->DisplayText(), QStringLiteral("0,")) << "released over another key: nothing";
    c->MouseDown(mbLeft, ssLeft, seven.Left + 3, seven.Top + 3);
    c->MouseUp(mbLeft, 0, seven.Left + 3, seven.Top + 3);
    EXPECT_EQ(f.calc->DisplayText(), QStringLiteral("7,"));
    QChar k = QLatin1Char('*');
    static_cast<TWinControl*>(f.calc)->KeyPress(k);
    k = QLatin1Char('6');
    static_cast<TWinControl*>(f.calc)->KeyPress(k);
    k = QLatin1Char('=');
    static_cast<TWinControl*>(f.calc)->KeyPress(k);
    EXPECT_EQ(f.calc->DisplayText(), QStringLiteral("42,"));
}

TEST(CalculatorTest, SizeAndLayout)
{
    CalcForm f;
    TBitmap m(1, 1);
    m.Canvas()->SetFont(*f.calc->Font());
    const int side = 5 * (m.Canvas()->TextHeight(QStringLiteral("0")) + 12) + 24;
    EXPECT_EQ(f.calc->MinimumSide(), side);
    EXPECT_EQ(f.calc->Width(), side);
    EXPECT_EQ(f.calc->Height(), side) << "square";
    EXPECT_TRUE(f.calc->AreaRect(ccSet).IsEmpty()) << "no set key outside popup use";
    EXPECT_EQ(f.calc->AreaRect(ccBtn0).Top, f.calc->AreaRect(ccDecimal).Top);
    EXPECT_GT(f.calc->AreaRect(ccBtn0).Width(), f.calc->AreaRect(ccDecimal).Width()) << "0 spans two columns";
    EXPECT_EQ(f.calc->HitTest(f.calc->AreaRect(ccEqual).Left + 2, f.calc->AreaRect(ccEqual).Bottom - 2), ccEqual);
}

TEST(PopupPanelTest, PositionKeepsInsideTheWorkArea)
{
    const TRect work(0, 0, 1000, 700);
    EXPECT_EQ(TFcPopupPanel::PopupPosition(Rect(100, 100, 180, 121), 150, 150, taRightJustify, -1, -1, work),
              Point(30, 121));
    EXPECT_EQ(TFcPopupPanel::PopupPosition(Rect(950, 100, 1000, 121), 150, 150, taLeftJustify, -1, -1, work),
              Point(850, 121)) << "moved left to fit";
    EXPECT_EQ(TFcPopupPanel::PopupPosition(Rect(100, 650, 180, 671), 150, 150, taLeftJustify, -1, -1, work),
              Point(100, 500)) << "above the control near the bottom";
}

TEST(PopupPanelTest, NumericEditTakesTheCalculatorsResult)
{
    auto form = std::make_unique<TForm>(nullptr);
    auto* edit = new TFcNumericEdit(form.get());
    edit->SetParent(form.get());
    form->AfterConstruction();
    edit->SetValue(6);
    edit->SetCalculatorVisible(true);
    ASSERT_NE(edit->DropButton(), nullptr);
    EXPECT_TRUE(edit->DropButton()->Visible());
    EXPECT_EQ(edit->DropButton()->Left() + edit->DropButton()->Width(), edit->Width() - 2) << "at the right edge";
    edit->SetReadOnly(true);
    EXPECT_FALSE(edit->DropButton()->Visible()) << "read-only hides it";
    edit->SetReadOnly(false);
    auto old = PopupHostHook;
    PopupHostHook = [](TWinControl* Content) {
        auto* calc = dynamic_cast<TFcCalculator*>(Content->Controls(0));
        EXPECT_TRUE(calc && calc->IsPopup());
        EXPECT_DOUBLE_EQ(calc->Result(), 6);
        calc->PressArea(ccMultiply);
        calc->PressArea(ccBtn7);
        calc->PressArea(ccSet);
        return true;
    };
    TControl* button = edit->DropButton();
    button->MouseDown(mbLeft, ssLeft, 3, 3);
    PopupHostHook = old;
    EXPECT_DOUBLE_EQ(edit->GetValue(), 42);
}
