// The library's dialogs, answered by the modal test hook.
#include "components/base/rdlg.h"
#include "components/base/rdlg_baseform.h"

#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

struct HookScope {
    explicit HookScope(TModalHook H) : Old(SetModalHook(std::move(H))) {}
    ~HookScope() { SetModalHook(Old); }
    TModalHook Old;
};

}  // namespace

TEST(DialogsTest, QuestionHasOnlyYesAndNo)
{
    HookScope h([](TCustomForm* f) {
        auto* d = dynamic_cast<TrDlgForm*>(f);
        EXPECT_EQ(d->Buttons.size(), 2u);
        EXPECT_EQ(StripHotkey(d->Buttons[0]->Caption()), QStringLiteral("Yes"));
        EXPECT_EQ(f->BorderIcons(), 0u);
        return int(mrCancel);  // closing the window cannot cancel
    });
    EXPECT_EQ(DlgQ(QStringLiteral("Jatketaanko?")), mrNo);
}

TEST(DialogsTest, CaptionBoldLineAndCustomButtons)
{
    HookScope h([](TCustomForm* f) {
        auto* d = dynamic_cast<TrDlgForm*>(f);
        EXPECT_EQ(f->Caption(), QStringLiteral("Otsikko"));
        EXPECT_EQ(d->Lines.size(), 2u);
        EXPECT_TRUE(d->Lines[0]->Font()->Style() & fsBold);
        EXPECT_FALSE(d->Lines[1]->Font()->Style() & fsBold);
        EXPECT_EQ(d->Buttons[0]->Caption(), QStringLiteral("Tallenna"));
        EXPECT_EQ(d->Buttons[0]->Width(), d->Buttons[1]->Width());
        EXPECT_EQ(d->Buttons[0]->Width(), (f->ClientWidth() - 50) / 2);
        EXPECT_GE(d->Buttons[0]->Top(), 60);
        d->Buttons[1]->Click();
        return int(mrNone);
    });
    EXPECT_EQ(ShowDlg(dtQuestion, btnCustom2, {QStringLiteral("^C Otsikko "), QStringLiteral("^BTärkeä"), QStringLiteral("teksti"),
                                               QStringLiteral("@1Tallenna"), QStringLiteral("@2Hylkää")}, true),
              mrNo);
}

TEST(DialogsTest, InputIntAsksAgainAfterABadNumber)
{
    int round = 0;
    HookScope h([&](TCustomForm* f) {
        auto* d = dynamic_cast<TrDlgForm*>(f);
        ++round;
        if (round == 1) {
            EXPECT_EQ(d->Edit->Text(), QStringLiteral("5"));
            d->Edit->SetText(QStringLiteral("viisi"));
            return int(mrOk);
        }
        if (round == 2)  // the error dialog
            return int(mrOk);
        EXPECT_EQ(d->Edit->Text(), QStringLiteral("5"));
        d->Edit->SetText(QStringLiteral("42"));
        return int(mrOk);
    });
    int v = 5;
    EXPECT_TRUE(InputInt(QStringLiteral("Luku"), QStringLiteral("Anna luku"), v));
    EXPECT_EQ(v, 42);
    EXPECT_EQ(round, 3);
}

TEST(DialogsTest, InputListOnlyWithUnknownValueStartsEmpty)
{
    HookScope h([](TCustomForm* f) {
        auto* d = dynamic_cast<TrDlgForm*>(f);
        EXPECT_EQ(d->Combo->ItemIndex(), -1);
        return int(mrOk);
    });
    const QStringList items{QStringLiteral("H21"), QStringLiteral("D21")};
    QString v = QStringLiteral("M35");
    EXPECT_TRUE(ShowInputCB(QStringLiteral("Sarja"), QStringLiteral("Valitse"), v, 200, QChar(), &items, true));
    EXPECT_EQ(v, QString());
}

TEST(DialogsTest, BaseFormRaisesTheGeneralEvents)
{
    QList<int> ids;
    ParioCompConfig.Global_OnParioCompGeneralEvent = [&](TComponent*, int id, TComponent*, TComponent*, QVariant&) { ids << id; };
    {
        HookScope h([](TCustomForm*) { return int(mrOk); });
        auto* f = new TrDlgBaseForm(nullptr);
        EXPECT_EQ(f->ShowModal(), mrOk);
        EXPECT_EQ(f->ShowModal(), mrOk);
        EXPECT_EQ(f->Font()->Height(), -11);
        delete f;
    }
    ParioCompConfig.Global_OnParioCompGeneralEvent = nullptr;
    EXPECT_EQ(ids.count(1001), 2);
    EXPECT_EQ(ids.count(1009), 2);
    EXPECT_GE(ids.count(1002), 1);
}

TEST(DialogsTest, ShowInfoKeepsOneWindow)
{
    ShowInfo(QStringLiteral("Luetaan..."), nullptr);
    TForm* first = InfoForm();
    ASSERT_NE(first, nullptr);
    ShowInfo(QStringLiteral("Vielä..."), nullptr);
    EXPECT_EQ(InfoForm(), first);
    ShowInfo(QString(), nullptr);
    EXPECT_EQ(InfoForm(), nullptr);
    EXPECT_EQ(Screen->Cursor(), crDefault);
}

// Over a form the window stays above that form (its pop-up parent), also
// when another form is the active one; over a control it has none.
TEST(DialogsTest, ShowInfoOverAFormStaysAboveThatForm)
{
    TForm over(nullptr), other(nullptr);
    over.SetBounds(100, 100, 400, 300);
    over.Show();
    other.Show();
    ShowInfo(QStringLiteral("Luetaan..."), &over);
    TForm* info = InfoForm();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->PopupParent(), &over);
    ASSERT_NE(info->Widget()->windowHandle(), nullptr);
    EXPECT_EQ(info->Widget()->windowHandle()->transientParent(), over.Widget()->windowHandle());
    auto* button = new TButton(&other);
    button->SetParent(&other);
    ShowInfo(QStringLiteral("Vielä..."), button);
    EXPECT_EQ(info->PopupParent(), nullptr);
    EXPECT_EQ(info->Widget()->windowHandle()->transientParent(), nullptr);
    ShowInfo(QString(), nullptr);
}
