// The window's dialog keys on the framed controls, typed as real key
// presses: Alt+letter of a caption, Enter and Escape through the default and
// cancel buttons (only one button looks default at a time), Enter as Tab.
#include "components/framed/FcButton.h"
#include "components/framed/FcEdit.h"
#include "components/framed/FcGroupBox.h"
#include "components/framed/FcRadChk.h"
#include "components/framed/FcRadGrp.h"
#include "components/framed/FcToolButton.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

template <class T>
T* Place(TWinControl* Parent, TForm* Form, int X, int Y, int W, int H)
{
    auto* c = new T(Form);
    c->SetParent(Parent);
    c->SetBounds(X, Y, W, H);
    return c;
}

struct KeysForm : ::testing::Test {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TFcEdit* edit = nullptr;
    TFcButton* ok = nullptr;
    TFcButton* cancel = nullptr;
    TFcButton* other = nullptr;
    int oks = 0, cancels = 0, others = 0;

    void SetUp() override
    {
        form->SetBounds(0, 0, 420, 300);
        edit = Place<TFcEdit>(form.get(), form.get(), 10, 10, 150, 21);
        ok = Place<TFcButton>(form.get(), form.get(), 10, 250, 75, 25);
        ok->SetCaption(QStringLiteral("&Ok"));
        ok->SetDefault(true);
        ok->OnClick = [this](TComponent*) { ++oks; };
        cancel = Place<TFcButton>(form.get(), form.get(), 90, 250, 75, 25);
        cancel->SetCaption(QStringLiteral("Peruuta"));
        cancel->SetCancel(true);
        cancel->OnClick = [this](TComponent*) { ++cancels; };
        other = Place<TFcButton>(form.get(), form.get(), 170, 250, 75, 25);
        other->SetCaption(QStringLiteral("&Siirrä"));
        other->OnClick = [this](TComponent*) { ++others; };
    }
    void Show()
    {
        form->AfterConstruction();
        form->Show();
        Application->ProcessMessages();
    }
    void Focus(TWinControl* C)
    {
        C->SetFocus();
        Application->ProcessMessages();
    }
    static void Key(TWinControl* C, Qt::Key K, Qt::KeyboardModifiers M = Qt::NoModifier)
    {
        QWidget* w = C->Widget();
        if (w->focusProxy())
            w = w->focusProxy();
        QTest::keyClick(w, K, M);
    }
};

}  // namespace

TEST_F(KeysForm, EnterAndEscapeGoToTheDefaultAndCancelButtons)
{
    Show();
    Focus(edit);
    Key(edit, Qt::Key_Return);
    EXPECT_EQ(oks, 1);
    Key(edit, Qt::Key_Escape);
    EXPECT_EQ(cancels, 1);
    // a focused push button takes the default role; Enter clicks it, not Ok
    Focus(other);
    EXPECT_TRUE(other->Active());
    EXPECT_FALSE(ok->Active());
    Key(other, Qt::Key_Return);
    EXPECT_EQ(others, 1);
    EXPECT_EQ(oks, 1);
    // back on the edit, Ok is the default again
    Focus(edit);
    EXPECT_TRUE(ok->Active());
    EXPECT_FALSE(other->Active());
}

TEST_F(KeysForm, OnlyOneDefaultAtATime)
{
    Show();
    Focus(edit);
    other->SetDefault(true);
    ok->SetDefault(false);
    EXPECT_TRUE(other->Active());
    EXPECT_FALSE(ok->Active());
    Key(edit, Qt::Key_Return);
    EXPECT_EQ(others, 1);
    EXPECT_EQ(oks, 0);
}

TEST_F(KeysForm, AltLetterClicksTheButtonOfThatCaption)
{
    auto* check = Place<TFcCheckBox>(form.get(), form.get(), 10, 50, 150, 20);
    check->SetCaption(QStringLiteral("&Näytä kaikki"));
    auto* box = Place<TFcCheckBox>(form.get(), form.get(), 10, 75, 150, 20);
    box->SetCaption(QStringLiteral("&Lukittu"));
    box->SetReadOnly(true);
    auto* radio = Place<TFcRadioButton>(form.get(), form.get(), 10, 100, 150, 20);
    radio->SetCaption(QStringLiteral("&Valitse"));
    Show();
    Focus(edit);
    Key(edit, Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(oks, 1);
    Key(edit, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(others, 1);
    // a check box takes the focus and toggles; a read-only one only takes the focus
    Key(edit, Qt::Key_L, Qt::AltModifier);
    EXPECT_TRUE(box->Focused());
    EXPECT_FALSE(box->Checked());
    // a radio button is chosen
    Key(box, Qt::Key_V, Qt::AltModifier);
    EXPECT_TRUE(radio->Focused());
    EXPECT_TRUE(radio->Checked());
    // a letter no caption carries does nothing
    Key(radio, Qt::Key_Q, Qt::AltModifier);
    EXPECT_EQ(oks + others, 2);
    // on a focused button the plain letter is enough
    Focus(other);
    Key(other, Qt::Key_O);
    EXPECT_EQ(oks, 2);
}

TEST_F(KeysForm, CheckBoxAcceleratorToggles)
{
    auto* check = Place<TFcCheckBox>(form.get(), form.get(), 10, 50, 150, 20);
    check->SetCaption(QStringLiteral("&Näytä kaikki"));
    Show();
    Focus(edit);
    // the Finnish letter Ä has no key of its own here; N does
    Key(edit, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(check->Focused());
    EXPECT_TRUE(check->Checked());
    Key(check, Qt::Key_N, Qt::AltModifier);
    EXPECT_FALSE(check->Checked());
}

TEST_F(KeysForm, GroupCaptionsFocusTheirFirstChild)
{
    auto* group = Place<TFcCustomGroupBox>(form.get(), form.get(), 200, 10, 200, 80);
    group->SetCaption(QStringLiteral("&Haku"));
    auto* inner = Place<TFcEdit>(group, form.get(), 10, 25, 100, 21);
    auto* radios = Place<TFcRadioGroup>(form.get(), form.get(), 200, 100, 200, 100);
    radios->SetCaption(QStringLiteral("&Tila"));
    radios->SetItems({QStringLiteral("Lähtenyt"), QStringLiteral("Maalissa")});
    Show();
    Focus(edit);
    Key(edit, Qt::Key_H, Qt::AltModifier);
    EXPECT_TRUE(inner->Focused());
    Key(inner, Qt::Key_T, Qt::AltModifier);
    EXPECT_TRUE(radios->Buttons(0)->Focused());
}

TEST_F(KeysForm, RadioGroupTabOnEnterMovesOn)
{
    auto* radios = Place<TFcRadioGroup>(form.get(), form.get(), 200, 100, 200, 100);
    radios->SetItems({QStringLiteral("A"), QStringLiteral("B")});
    radios->TabOnEnter = true;
    auto* after = Place<TFcEdit>(form.get(), form.get(), 200, 210, 100, 21);
    Show();
    Focus(radios->Buttons(1));
    Key(radios->Buttons(1), Qt::Key_Return);
    EXPECT_EQ(oks, 0);  // Enter did not reach the default button
    Application->ProcessMessages();
    EXPECT_TRUE(after->Focused());
}

TEST_F(KeysForm, ToolButtonAccelerator)
{
    auto* bar = Place<TFcToolbar>(form.get(), form.get(), 0, 40, 400, 30);
    auto* tool = new TFcToolButton(form.get());
    tool->SetParent(bar);
    tool->SetCaption(QStringLiteral("&Tulosta"));
    int clicks = 0;
    tool->OnClick = [&](TComponent*) { ++clicks; };
    Show();
    Focus(edit);
    Key(edit, Qt::Key_T, Qt::AltModifier);
    EXPECT_EQ(clicks, 1);
    tool->SetEnabled(false);
    Key(edit, Qt::Key_T, Qt::AltModifier);
    EXPECT_EQ(clicks, 1);
}
