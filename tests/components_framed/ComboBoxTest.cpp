// The framed combo box's own completion with typed keys, the list styles'
// search with its reset delay, read-only mode and values.
#include "components/framed/FcCmboBx.h"
#include "platform/os/Sound.h"
#include "platform/ui/Forms.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <gtest/gtest.h>
#include <memory>

namespace {

void Type(QWidget* W, const QString& Text)
{
    for (QChar ch : Text) {
        const int key = ch == QLatin1Char('\b') ? int(Qt::Key_Backspace) : int(ch.toUpper().unicode());
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(W, &press);
    }
}

struct ComboForm {
    explicit ComboForm(TComboBoxStyle Style = csDropDown)
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 300, 200);
        combo = new TFcComboBox(form.get());
        combo->SetParent(form.get());
        combo->SetStyle(Style);
        QStringList items;
        for (int i = 0; i <= 10; ++i)
            items << QString::number(i);
        combo->SetItems(items);
        form->AfterConstruction();
        SetSoundSink([this](const QString&) { ++beeps; });
    }
    ~ComboForm() { SetSoundSink(nullptr); }
    QWidget* Input() const
    {
        auto* box = static_cast<QComboBox*>(combo->Widget());
        return box->lineEdit() ? static_cast<QWidget*>(box->lineEdit()) : box;
    }
    std::unique_ptr<TForm> form;
    TFcComboBox* combo;
    int beeps = 0;
};

}  // namespace

TEST(FcComboBoxTest, PickListThatCanBeTypedInto)
{
    struct Case {
        const char* typed;
        int index;
        const char* text;
        int beeps;
    } cases[] = {{"1", 1, "1", 0}, {"10", 10, "10", 0}, {"25", 2, "2", 1}, {"x", -1, "", 1}};
    for (const Case& c : cases) {
        ComboForm f;
        f.combo->AllowEdit = false;
        Type(f.Input(), QString::fromLatin1(c.typed));
        EXPECT_EQ(f.combo->ItemIndex(), c.index) << c.typed;
        EXPECT_EQ(f.combo->Text(), QString::fromLatin1(c.text)) << c.typed;
        EXPECT_EQ(f.beeps, c.beeps) << c.typed;
    }
}

TEST(FcComboBoxTest, CompletionSelectsTheTail)
{
    ComboForm f;
    f.combo->SetItems({QStringLiteral("Helsinki"), QStringLiteral("Hamina"), QStringLiteral("Turku")});
    Type(f.Input(), QStringLiteral("tu"));
    EXPECT_EQ(f.combo->Text(), QStringLiteral("Turku"));
    EXPECT_EQ(f.combo->SelStart(), 2);
    EXPECT_EQ(f.combo->SelLength(), 3);
    EXPECT_EQ(f.combo->SearchString(), QStringLiteral("tu"));
    ComboForm g;
    g.combo->SetItems({QStringLiteral("Helsinki")});
    Type(g.Input(), QStringLiteral("Hx"));
    EXPECT_EQ(g.combo->Text(), QStringLiteral("Hx")) << "AllowEdit keeps unlisted text";
    EXPECT_EQ(g.beeps, 0);
    int notInList = 0;
    g.combo->OnNotInList = [&](TComponent*) { ++notInList; };
    g.combo->DoExit();
    EXPECT_EQ(notInList, 1);
    g.combo->SetText(QStringLiteral("he"));
    EXPECT_EQ(g.combo->ItemIndex(), 0) << "text from code completes too";
    g.combo->ForceText(QStringLiteral("h"));
    EXPECT_EQ(g.combo->Text(), QStringLiteral("h"));
}

TEST(FcComboBoxTest, ListStyleSearchResetsAfterTheDelay)
{
    ComboForm f(csDropDownList);
    f.combo->SetItems({QStringLiteral("Aino"), QStringLiteral("Antti"), QStringLiteral("Bertta")});
    Type(f.Input(), QStringLiteral("an"));
    EXPECT_EQ(f.combo->ItemIndex(), 1);
    f.combo->SearchTimerExpired();  // 1500 ms without a key
    EXPECT_TRUE(f.combo->SearchString().isEmpty());
    Type(f.Input(), QStringLiteral("b"));
    EXPECT_EQ(f.combo->ItemIndex(), 2) << "a new search";
    Type(f.Input(), QStringLiteral("x"));
    EXPECT_EQ(f.combo->ItemIndex(), 2);
    EXPECT_EQ(f.beeps, 1);
}

TEST(FcComboBoxTest, ReadOnlyAndValues)
{
    ComboForm f;
    f.combo->SetItemIndex(3);
    f.combo->SetReadOnly(true);
    EXPECT_EQ(f.combo->Color(), clInfoBk);
    Type(f.Input(), QStringLiteral("7"));
    EXPECT_EQ(f.combo->ItemIndex(), 3);
    f.combo->SetReadOnly(false);
    EXPECT_EQ(f.combo->GetValue(), QStringLiteral("3")) << "without values: the text";
    f.combo->SetItems({});
    f.combo->SetSorted(true);
    f.combo->AddItemValue(QStringLiteral("Vaalea"), QStringLiteral("0"));
    f.combo->AddItemValue(QStringLiteral("Tumma"), QStringLiteral("1"));
    EXPECT_EQ(f.combo->GetItemValue(f.combo->IndexOf(QStringLiteral("Tumma"))), QStringLiteral("1"));
    f.combo->SetValue(QStringLiteral("0"));
    EXPECT_EQ(f.combo->Text(), QStringLiteral("Vaalea"));
}
