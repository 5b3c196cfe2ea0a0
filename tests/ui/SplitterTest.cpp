// The splitter dragged with the mouse resizes the control it follows, keeps
// both sides their least size and does nothing while disabled; a menu's
// default item shows bold.
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Splitter.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct SplitWindow {
    TForm* Form = new TForm(nullptr);
    TPanel* Left = new TPanel(Form);
    TSplitter* Bar = new TSplitter(Form);
    TPanel* Rest = new TPanel(Form);
    SplitWindow()
    {
        Form->SetBounds(0, 0, 400, 200);
        Left->SetParent(Form);
        Left->SetWidth(100);
        Left->SetAlign(alLeft);
        Bar->SetParent(Form);
        Bar->SetLeft(100);
        Bar->SetAlign(alLeft);
        Rest->SetParent(Form);
        Rest->SetAlign(alClient);
        Form->Show();
        QApplication::processEvents();
    }
    ~SplitWindow() { delete Form; }
    // Presses on the bar, moves by Dx and lets go, as a hand would.
    void Drag(int Dx)
    {
        QWidget* w = Bar->Widget();
        const QPoint at(1, 50);
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, at);
        const QPoint to = w->mapToGlobal(at + QPoint(Dx, 0));
        QMouseEvent move(QEvent::MouseMove, QPointF(at + QPoint(Dx, 0)), QPointF(to), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(w, &move);
        // The bar has moved under the pointer: the release comes at the same
        // place on the screen.
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, w->mapFromGlobal(to));
        QApplication::processEvents();
    }
};

}  // namespace

TEST(Splitter, DraggingResizesTheControlItFollowsWithinTheLeastSizes)
{
    SplitWindow s;
    ASSERT_EQ(s.Bar->ResizedControl(), s.Left);
    int moved = 0;
    s.Bar->OnMoved = [&](TComponent*) { ++moved; };
    s.Drag(60);
    EXPECT_EQ(s.Left->Width(), 160);
    EXPECT_EQ(s.Bar->Left(), 160);
    EXPECT_EQ(s.Rest->Left(), 163);
    EXPECT_GE(moved, 1);
    s.Drag(-500);
    EXPECT_EQ(s.Left->Width(), s.Bar->MinSize());
    s.Drag(1000);
    EXPECT_EQ(s.Rest->Width(), s.Bar->MinSize());
}

TEST(Splitter, ADisabledSplitterStaysPut)
{
    SplitWindow s;
    s.Bar->SetEnabled(false);
    s.Drag(60);
    EXPECT_EQ(s.Left->Width(), 100);
    EXPECT_EQ(s.Bar->Cursor(), crDefault);
    s.Bar->SetEnabled(true);
    EXPECT_EQ(s.Bar->Cursor(), crHSplit);
    s.Drag(20);
    EXPECT_EQ(s.Left->Width(), 120);
}

TEST(Menus, TheDefaultItemIsBold)
{
    TPopupMenu m(nullptr);
    auto* plain = new TMenuItem(&m);
    plain->SetCaption(QStringLiteral("Virkistä"));
    auto* chosen = new TMenuItem(&m);
    chosen->SetCaption(QStringLiteral("Muokkaa"));
    chosen->SetDefault(true);
    m.Items()->Add(plain);
    m.Items()->Add(chosen);
    QMenu q;
    m.Items()->FillQMenu(&q);
    ASSERT_EQ(q.actions().size(), 2);
    EXPECT_FALSE(q.actions().at(0)->font().bold());
    EXPECT_TRUE(q.actions().at(1)->font().bold());
}
