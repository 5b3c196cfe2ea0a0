// Message boxes: each button set answers with its default when nobody is
// there to press, and a real box shows the set's Finnish buttons and returns
// the one clicked.

#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(MessageBoxTest, DefaultAnswerOfEachButtonSet)
{
    struct Case {
        unsigned Flags;
        int Answer;
    };
    const Case cases[] = {
        {MB_OK, IDOK},
        {MB_OKCANCEL, IDOK},
        {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_YESNO, IDYES},
        {MB_YESNO | MB_DEFBUTTON2, IDNO},
        {MB_YESNOCANCEL, IDYES},
        {MB_YESCANCEL | MB_ICONQUESTION, IDYES},
        {MB_YESCANCEL | MB_DEFBUTTON2, IDCANCEL},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DefaultMessageBoxAnswer(c.Flags), c.Answer) << c.Flags;
}

TEST(MessageBoxTest, YesAndCancelBoxShowsItsTwoButtonsAndReturnsTheOneClicked)
{
    for (const auto& [clicked, answer] : {std::pair{"Kyllä", IDYES}, std::pair{"Peruuta", IDCANCEL}}) {
        QStringList captions;
        QTimer::singleShot(0, [&, clicked = QString::fromUtf8(clicked)] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible())
                        box = b;
            }
            ASSERT_TRUE(box);
            QPushButton* target = nullptr;
            for (QAbstractButton* b : box->buttons()) {
                captions << b->text();
                if (b->text() == clicked)
                    target = qobject_cast<QPushButton*>(b);
            }
            ASSERT_TRUE(target);
            QTest::mouseClick(target, Qt::LeftButton);
        });
        EXPECT_EQ(MessageBox(QStringLiteral("Olet muuttanut tietoja. Haluatko peruuttaa muutokset?"), QStringLiteral("Kysymys"),
                             MB_YESCANCEL | MB_ICONQUESTION),
                  answer);
        captions.sort();
        EXPECT_EQ(captions, (QStringList{QStringLiteral("Kyllä"), QStringLiteral("Peruuta")}));
    }
}

}  // namespace
