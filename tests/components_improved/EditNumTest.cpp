// The numeric edit: texts typed and pasted, limits, steps, formats, and the
// pop-up calendar's placement.
#include "components/base/rEditNum.h"
#include "components/base/rPopupMonthCalendar.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

struct EditNumFixture : ::testing::Test {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TrEditNum* Edit = nullptr;

    void SetUp() override
    {
        Edit = new TrEditNum(Form.get());
        Edit->SetParent(Form.get());
        Edit->SetBounds(10, 10, 80, 21);
    }

    void Type(const QString& Keys)
    {
        for (QChar ch : Keys) {
            Edit->KeyPress(ch);
            if (!ch.isNull())
                Edit->SetText(Edit->Text() + ch);
        }
    }
};

}  // namespace

TEST_F(EditNumFixture, ValuesOfTexts)
{
    struct Case {
        const char* Text;
        bool Paste;
        double Value;
    } cases[] = {
        {"12,5", false, 12.5},  {"1.5", true, 1.5},       {"1,5", true, 1.5},   {"", false, 0},
        {"abc", true, 0},       {"1 234,5", true, 1234.5}, {"1.234,5", true, 1234.5},
        {"-3", false, -3},      {"2,5E2", false, 250},     {"1.234.567", true, 1234567},
    };
    for (const Case& c : cases) {
        if (c.Paste) {
            Edit->SetText(QString());
            Clipboard()->SetAsText(QString::fromUtf8(c.Text));
            Edit->PasteFromClipboard();
        } else
            Edit->SetText(QString::fromUtf8(c.Text));
        EXPECT_EQ(Edit->Text(), QString::fromUtf8(c.Text));
        EXPECT_DOUBLE_EQ(Edit->GetValue(), c.Value) << c.Text;
    }
}

TEST_F(EditNumFixture, TypedKeysAreFiltered)
{
    Edit->SetText(QString());
    Type(QStringLiteral("1a2,"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("12"));  // integer style: no letter, no decimal comma
    QChar back(VK_BACK);
    Edit->KeyPress(back);
    EXPECT_EQ(back, QChar(VK_BACK));
    Edit->Style = enFloat;
    Edit->SetText(QString());
    Type(QStringLiteral("1x2,5e"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("12,5e"));
}

TEST_F(EditNumFixture, EnterFormatsAndSelectsAll)
{
    Edit->Style = enFloat;
    Edit->SetFormat(QStringLiteral("0.00"));
    Form->Show();
    Edit->SetText(QStringLiteral("12,5"));
    QChar enter(VK_RETURN);
    Edit->KeyPress(enter);
    EXPECT_TRUE(enter.isNull());
    EXPECT_EQ(Edit->Text(), QStringLiteral("12,50"));
    EXPECT_EQ(Edit->SelLength(), 5);
    Edit->SetValue(3.14159);
    EXPECT_EQ(Edit->Text(), QStringLiteral("3,14"));
}

TEST_F(EditNumFixture, LimitsAndSteps)
{
    Edit->MinValue = 1;
    Edit->MaxValue = 10;
    struct Case {
        const char* In;
        const char* Out;
    } limits[] = {{"15", "10"}, {"-3", "1"}, {"5", "5"}, {"", "1"}};
    for (const Case& c : limits) {
        Edit->SetText(QString::fromUtf8(c.In));
        EXPECT_TRUE(Edit->CheckValue());
        EXPECT_EQ(Edit->Text(), QString::fromUtf8(c.Out)) << c.In;
    }
    Edit->MinValue = Edit->MaxValue = 0;
    Edit->Style = enFloat;
    Edit->StepOnly = true;
    Edit->StepValue = 0.5;
    Case steps[] = {{"1,3", "1,5"}, {"1,25", "1"}, {"1,75", "2"}, {"1.3", "1,5"}};
    for (const Case& c : steps) {
        Edit->SetText(QString::fromUtf8(c.In));
        EXPECT_TRUE(Edit->CheckValue());
        EXPECT_EQ(Edit->Text(), QString::fromUtf8(c.Out)) << c.In;
    }
    Word up = VK_UP;
    Edit->KeyDown(up, 0);
    EXPECT_EQ(up, 0);
    EXPECT_EQ(Edit->Text(), QStringLiteral("2"));  // 1,5 + 0,5
}

TEST_F(EditNumFixture, NotANumberKeepsTheTextAndAsIntegerIsZero)
{
    Edit->SetText(QStringLiteral("12x"));
    EXPECT_FALSE(Edit->CheckValue());
    EXPECT_EQ(Edit->Text(), QStringLiteral("12x"));
    EXPECT_EQ(Edit->AsInteger(), 0);
    EXPECT_EQ(Edit->GetValue(), 0);
    Edit->SetText(QStringLiteral("7,6"));
    EXPECT_EQ(Edit->AsInteger(), 8);
}

TEST(PopupMonthCalendarTest, OpensBelowOrAboveTheEditorAndReportsThePick)
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 300, 700);
    auto* edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(20, 600, 100, 21);
    form->Show();
    int picks = 0;
    auto* cal = TrPopupMonthCalendar::CreateEx(edit, [&](TComponent*) { ++picks; });
    cal->ScreenHeightOverride = 2000;
    const TDateTime day = EncodeDate(2026, 5, 14);
    cal->ShowCalendar(day);
    EXPECT_TRUE(cal->IsShown);
    EXPECT_EQ(cal->Top(), edit->ClientToScreen({0, 0}).Y + edit->Height());
    EXPECT_EQ(cal->Left(), edit->ClientToScreen({0, 0}).X);
    EXPECT_EQ(cal->Date(), day);
    cal->ShowCalendar(day + 3);  // already shown: nothing
    EXPECT_EQ(cal->Date(), day);
    cal->HideCalendar();
    cal->ScreenHeightOverride = edit->ClientToScreen({0, 0}).Y + 50;
    cal->ShowCalendar(day);
    EXPECT_EQ(cal->Top() + cal->Height(), edit->ClientToScreen({0, 0}).Y);
    cal->DateSelected(day + 1);
    EXPECT_EQ(picks, 1);
    EXPECT_FALSE(cal->IsShown);
    EXPECT_EQ(cal->Date(), day + 1);
}

TEST_F(EditNumFixture, SetValueRaisesOnChangeAndSelectsTheText)
{
    Edit->Style = enFloat;
    Edit->SetFormat(QStringLiteral("0.00"));
    Form->Show();
    int changes = 0;
    Edit->OnChange = [&](TComponent*) { ++changes; };
    Edit->SetValue(1234.5);
    EXPECT_EQ(Edit->Text(), QStringLiteral("1234,50"));
    EXPECT_GE(changes, 1);
    EXPECT_EQ(Edit->SelLength(), 7);
    EXPECT_DOUBLE_EQ(Edit->GetValue(), 1234.5);
}
