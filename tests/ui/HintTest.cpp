// The hint under the resting mouse follows ShowHint and ParentShowHint: tool tip
// events on the real widgets, as Qt sends them when the mouse rests.
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "tests/support/RealInput.h"

#include <QTest>
#include <QToolTip>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct HintForm {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TPanel* panel = nullptr;
    TButton* button = nullptr;
    TEdit* edit = nullptr;

    HintForm()
    {
        form->SetBounds(0, 0, 400, 300);
        panel = new TPanel(form.get());
        panel->SetParent(form.get());
        panel->SetBounds(10, 10, 300, 200);
        button = new TButton(form.get());
        button->SetBounds(10, 10, 100, 25);
        button->SetHint(QStringLiteral("Tallenna|Tallentaa muutokset"));
        button->SetParent(panel);
        edit = new TEdit(form.get());
        edit->SetParent(panel);
        edit->SetBounds(10, 50, 100, 25);
        edit->SetHint(QStringLiteral("Nimi"));
        form->AfterConstruction();
        form->Show();
    }
};

bool NoHintShowing()
{
    QToolTip::hideText();
    return QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 3000);
}

}  // namespace

TEST(HintTest, ShowHintDecidesWhoseHintPopsUp)
{
    struct Case {
        const char* name;
        std::function<void(HintForm&)> set;
        QString button, edit;
    };
    const QString none;
    const Case cases[] = {
        {"the window shows its controls' hints by default", [](HintForm&) {}, "Tallenna", "Nimi"},
        {"ShowHint off on the control", [](HintForm& f) { f.button->SetShowHint(false); }, none, "Nimi"},
        {"ShowHint off leaves it to the parent's hint",
         [](HintForm& f) {
             f.edit->SetShowHint(false);
             f.panel->SetHint(QStringLiteral("Paneeli"));
         },
         "Tallenna", "Paneeli"},
        {"the window's ShowHint off reaches every control", [](HintForm& f) { f.form->SetShowHint(false); }, none, none},
        {"a control's own ShowHint under a window without hints",
         [](HintForm& f) {
             f.form->SetShowHint(false);
             f.edit->SetShowHint(true);
         },
         none, "Nimi"},
        {"the application's ShowHint off", [](HintForm&) { Application->ShowHint = false; }, none, none},
    };
    int argc = 0;
    TApplication app(argc, nullptr);
    for (const Case& c : cases) {
        HintForm f;
        app.ShowHint = true;
        c.set(f);
        EXPECT_EQ(realinput::RestOn(f.button), c.button) << c.name;
        EXPECT_EQ(realinput::RestOn(f.edit), c.edit) << c.name;
    }
}

TEST(HintTest, ParentShowHintFollowsTheParent)
{
    HintForm f;
    EXPECT_TRUE(f.button->ShowHint()) << "taken from the window";
    f.panel->SetShowHint(false);
    EXPECT_FALSE(f.panel->ParentShowHint());
    EXPECT_FALSE(f.button->ShowHint());
    EXPECT_TRUE(f.button->ParentShowHint());
    EXPECT_EQ(realinput::RestOn(f.button), QString());
    f.panel->SetShowHint(true);
    EXPECT_EQ(realinput::RestOn(f.button), QStringLiteral("Tallenna")) << "children follow when the parent's changes";

    f.edit->SetShowHint(true);
    EXPECT_FALSE(f.edit->ParentShowHint()) << "a value of its own ends following";
    f.panel->SetShowHint(false);
    EXPECT_TRUE(f.edit->ShowHint());
    EXPECT_EQ(realinput::RestOn(f.edit), QStringLiteral("Nimi"));
    f.edit->SetParentShowHint(true);
    EXPECT_FALSE(f.edit->ShowHint()) << "following again takes the parent's value at once";
    EXPECT_EQ(realinput::RestOn(f.edit), QString());

    auto* late = new TButton(f.form.get());
    late->SetHint(QStringLiteral("Myöhään"));
    late->SetParent(f.panel);
    late->SetBounds(150, 10, 80, 25);
    EXPECT_FALSE(late->ShowHint()) << "a control placed later takes its new parent's";
    f.panel->SetShowHint(true);
    EXPECT_EQ(realinput::RestOn(late), QStringLiteral("Myöhään"));
}

TEST(HintTest, TheRestingMouseShowsTheHintOnlyWithShowHint)
{
    HintForm f;
    f.form->Widget()->setAttribute(Qt::WA_AlwaysShowToolTips);
    QWidget* button = f.button->Widget();
    ASSERT_TRUE(NoHintShowing());
    QTest::mouseMove(button, QPoint(5, 5));
    QTest::mouseMove(button, QPoint(6, 6));
    ASSERT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 3000));
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Tallenna"));

    f.button->SetShowHint(false);
    ASSERT_TRUE(NoHintShowing());
    QTest::mouseMove(f.edit->Widget(), QPoint(5, 5));
    QTest::mouseMove(button, QPoint(5, 5));
    QTest::mouseMove(button, QPoint(7, 7));
    QTest::qWait(1500);
    EXPECT_FALSE(QToolTip::isVisible()) << QToolTip::text().toStdString();
}
