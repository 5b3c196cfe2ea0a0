// Status panes as the main window uses them, the shared polling and blinking
// timers (driven by calling their ticks, not by waiting) and the status bar.
#include "components/framed/FcStatus.h"
#include "components/framed/FcStatusBar.h"
#include "platform/ui/Forms.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

class CountingPane : public TFcStatusPane {
public:
    using TFcStatusPane::TFcStatusPane;
    void Invalidate() override
    {
        ++Invalidations;
        TFcStatusPane::Invalidate();
    }
    int Invalidations = 0;
};

struct BarForm {
    BarForm()
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 400, 200);
        bar = new TFcStatusBar(form.get());
        bar->SetParent(form.get());
        form->AfterConstruction();
    }
    std::unique_ptr<TForm> form;
    TFcStatusBar* bar;
};

}  // namespace

TEST(StatusPaneTest, CaptionColourAndStyleAsTheWebStatusSetsThem)
{
    BarForm f;
    auto* pane = new CountingPane(f.form.get());
    pane->SetParent(f.bar);
    pane->Invalidations = 0;
    pane->SetCaption(QStringLiteral("Ei yhteyttä Web -tulospalveluun."));
    pane->SetCaption(QStringLiteral("Ei yhteyttä Web -tulospalveluun."));
    EXPECT_EQ(pane->Invalidations, 1) << "the same caption twice repaints once";
    pane->Font()->SetColor(clRed);
    pane->Font()->SetStyle(fsBold);
    EXPECT_EQ(pane->CurrentColor(), clRed) << "the next paint uses the new colour";
    EXPECT_EQ(pane->Font()->Style(), fsBold);
    pane->Font()->SetColor(clWindowText);
    pane->Font()->SetStyle(0);
    pane->SetCaption(QString());
    EXPECT_EQ(pane->CurrentColor(), clWindowText);
    EXPECT_TRUE(pane->Caption().isEmpty());
}

TEST(StatusPaneTest, AutoSizeWidths)
{
    BarForm f;
    auto* pane = new TFcStatusPane(f.form.get());
    pane->SetParent(f.bar);
    pane->SetAutoSize(true);
    EXPECT_EQ(pane->Width(), 40) << "empty: the default width";
    pane->SetCaption(QStringLiteral("Versio 2.1"));
    TBitmap m(1, 1);
    m.Canvas()->SetFont(*pane->Font());
    EXPECT_EQ(pane->Width(), m.Canvas()->TextWidth(QStringLiteral("Versio 2.1")) + 2 * 1 + 2 + 6);
}

TEST(StatusPaneTest, CaptionRectangleByFrameAndUnderTheGrip)
{
    BarForm f;
    auto* pane = new TFcStatusPane(f.form.get());
    pane->SetParent(f.bar);
    pane->SetBounds(0, 0, 100, 20);
    EXPECT_EQ(pane->GetCaptionRect(), Rect(2, 2, 98, 18));
    pane->SetFrameStyle(fsLowered);
    EXPECT_EQ(pane->GetCaptionRect(), Rect(3, 3, 97, 17));
    pane->SetFrameStyle(fsNone);
    EXPECT_EQ(pane->GetCaptionRect(), Rect(1, 1, 99, 19));

    auto* clock = new TFcClockStatus(f.form.get());
    clock->SetParent(f.bar);
    clock->SetBounds(f.bar->ClientRect().Right - 150, 0, 150, 19);
    EXPECT_TRUE(clock->UnderSizeGrip());
    EXPECT_EQ(clock->GetCaptionRect().Right, 150 - 2 - 12) << "clear of the grip";
    f.bar->SetShowSizeGrip(false);
    EXPECT_EQ(clock->GetCaptionRect().Right, 150 - 2);
}

TEST(PollingTest, SharedTimerLivesWithThePanesAndSkipsHiddenOnes)
{
    ASSERT_EQ(PollingControls, nullptr);
    BarForm f;
    auto* a = new TFcPollingStatus(f.form.get());
    auto* b = new TFcPollingStatus(f.form.get());
    ASSERT_NE(PollingControls, nullptr);
    EXPECT_EQ(PollingControls->GetInterval(), 500);
    EXPECT_TRUE(a->GetActive());
    QStringList ticks;
    a->OnTimerExpired = [&](TComponent*) { ticks << "a"; };
    b->OnTimerExpired = [&](TComponent*) { ticks << "b"; };
    PollingControls->TimerFired();
    b->SetVisible(false);
    PollingControls->TimerFired();
    EXPECT_EQ(ticks.join(','), QStringLiteral("a,b,a"));
    b->SetInterval(250);
    EXPECT_EQ(a->GetInterval(), 250) << "one timer for every pane";
    delete a;
    delete b;
    EXPECT_EQ(PollingControls, nullptr) << "the last pane frees the timer";
    auto* c = new TFcPollingStatus(f.form.get());
    EXPECT_EQ(PollingControls->GetInterval(), 500) << "a fresh timer";
    delete c;
}

TEST(PollingTest, ClockChangesItsCaptionOncePerSecond)
{
    BarForm f;
    auto* clock = new TFcClockStatus(f.form.get());
    clock->SetParent(f.bar);
    TDateTime now = EncodeDateTime(2026, 6, 13, 14, 5, 9, 0);
    clock->OnGetDateTime = [&](TComponent*, TDateTime& t) { t = now; };
    clock->Loaded();
    EXPECT_EQ(clock->Caption(), QStringLiteral("13.6.2026 14:05:09"));
    int changes = 0;
    QString last = clock->Caption();
    for (int tick = 0; tick < 6; ++tick) {
        now += 0.5 / 86400;  // half a second per tick
        PollingControls->TimerFired();
        if (clock->Caption() != last)
            ++changes;
        last = clock->Caption();
    }
    EXPECT_EQ(changes, 3);
    clock->SetFormat(QStringLiteral("hh:nn"));
    EXPECT_EQ(clock->Caption(), QStringLiteral("14:05"));
    clock->SetVisible(false);
    now += 120.0 / 86400;
    PollingControls->TimerFired();
    EXPECT_EQ(clock->Caption(), QStringLiteral("14:05")) << "a hidden clock is not updated";
    clock->SetVisible(true);
    PollingControls->TimerFired();
    EXPECT_EQ(clock->Caption(), QStringLiteral("14:07"));
}

TEST(BlinkingTest, PhasesColoursAndTheSharedList)
{
    ASSERT_EQ(BlinkingControls, nullptr);
    {
        BarForm f;
        auto* pane = new TFcStatusPane(f.form.get());
        ASSERT_NE(BlinkingControls, nullptr);
        EXPECT_EQ(BlinkingControls->BlinkState(), bsOff);
        pane->SetBlinkColor(clRed);
        pane->SetBlinkIntervalOn(300);
        pane->SetBlinkIntervalOff(700);
        BlinkingControls->TimerFired();
        EXPECT_EQ(pane->CurrentColor(), clWindowText) << "not blinking: the normal colour";
        pane->SetBlinking(true);
        BlinkingControls->TimerFired();  // to the normal phase
        EXPECT_EQ(BlinkingControls->TimerInterval(), 700);
        EXPECT_EQ(pane->BlinkState(), bsOff);
        BlinkingControls->TimerFired();  // the blink phase
        EXPECT_EQ(pane->CurrentColor(), clRed);
        EXPECT_EQ(pane->BlinkState(), bsOn);
        EXPECT_EQ(BlinkingControls->TimerInterval(), 300) << "the blink colour lasts IntervalOn";
        pane->SetBlinking(false);
        EXPECT_NE(pane->CurrentColor(), clRed);
    }
    EXPECT_EQ(BlinkingControls, nullptr) << "freed with the last pane";
}

TEST(StatusBarTest, ScalingSimpleModeAndGrip)
{
    BarForm f;
    f.bar->SetAlign(alNone);
    f.bar->SetWidth(400);
    TFcStatusPane* panes[3];
    const int widths[3] = {100, 100, 200};
    for (int i = 0; i < 3; ++i) {
        panes[i] = new TFcStatusPane(f.form.get());
        panes[i]->SetParent(f.bar);
        panes[i]->SetWidth(widths[i]);
    }
    f.bar->AutoScalePanes = true;
    f.bar->SetBounds(0, f.bar->Top(), 401, f.bar->Height());  // the first resize only records the width
    f.bar->SetBounds(0, f.bar->Top(), 400, f.bar->Height());
    for (int i = 0; i < 3; ++i)
        panes[i]->SetWidth(widths[i]);
    f.bar->SetBounds(0, f.bar->Top(), 600, f.bar->Height());
    EXPECT_EQ(panes[0]->Width(), 150);
    EXPECT_EQ(panes[1]->Width(), 150);
    EXPECT_EQ(panes[2]->Width(), 300);
    f.bar->SetBounds(0, f.bar->Top(), 40, f.bar->Height());
    EXPECT_EQ(panes[2]->Width(), 300) << "narrower than 50: ignored";

    panes[1]->SetVisible(false);
    f.bar->SetSimpleStatus(true);
    for (TFcStatusPane* p : panes)
        EXPECT_FALSE(p->Visible());
    f.bar->SetSimpleStatus(false);
    for (TFcStatusPane* p : panes)
        EXPECT_TRUE(p->Visible()) << "leaving simple mode shows every pane";

    EXPECT_TRUE(f.bar->SizeGripValid());
    f.form->SetBorderStyle(bsDialog);
    EXPECT_FALSE(f.bar->SizeGripValid()) << "a fixed dialog has no grip";

    EXPECT_TRUE(f.bar->AutoStyle());
    f.bar->SetBorderOuter(fsFlat);
    EXPECT_FALSE(f.bar->AutoStyle()) << "an explicit border turns the automatic style off";
    f.bar->Loaded();
    EXPECT_EQ(f.bar->BorderOuter(), fsFlat);
}

TEST(StatusBarTest, GradientRunsFromStopToStart)
{
    BarForm f;
    f.bar->SetBounds(0, 0, 300, 30);
    f.bar->SetVisualStyle(vsGradient);
    f.bar->SetGradientColorStyle(gcsCustom);
    f.bar->SetGradientColorStart(clWhite);
    f.bar->SetGradientColorStop(clGray);
    f.bar->SetShowSizeGrip(false);
    TBitmap shot;
    f.bar->PaintTo(&shot);
    EXPECT_EQ(shot.Pixel(100, 0), clGray) << "grey at the top";
    EXPECT_GT(GetRValue(shot.Pixel(100, 29)), 240);
}

TEST(StatusBarTest, APaneOverTheGripStillResizesTheWindow)
{
    BarForm f;
    f.form->Show();
    auto* pane = new TFcStatusPane(f.form.get());
    pane->SetParent(f.bar);
    pane->SetBounds(f.bar->ClientRect().Right - 150, 0, 150, f.bar->Height());
    int presses = 0;
    pane->OnMouseDown = [&](TComponent*, TMouseButton, TShiftState, int, int) { ++presses; };
    Application->ProcessMessages();
    ASSERT_TRUE(f.bar->SizeGripValid());
    const TRect grip = f.bar->SizeGripRect();
    const QPoint onGrip(grip.Left + 6, grip.Top + grip.Height() / 2);
    EXPECT_TRUE(pane->OverSizeGrip(onGrip.x() - pane->Left(), onGrip.y() - pane->Top()));
    // the mouse reaches the widget under the point, as the window system sends it
    QWidget* bar = f.bar->Widget();
    auto under = [bar](const QPoint& P) { return bar->childAt(P) ? bar->childAt(P) : bar; };
    QWidget* paneWidget = under(onGrip);
    ASSERT_EQ(paneWidget, pane->Widget()) << "the pane lies over the grip";
    const QPoint local = paneWidget->mapFrom(bar, onGrip);
    QTest::mouseMove(paneWidget, local);
    EXPECT_EQ(paneWidget->cursor().shape(), Qt::SizeFDiagCursor) << "the grip's cursor through the pane";
    QTest::mousePress(paneWidget, Qt::LeftButton, {}, local);
    QTest::mouseRelease(paneWidget, Qt::LeftButton, {}, local);
    EXPECT_EQ(presses, 0) << "the press went to the window's sizing";
    const QPoint elsewhere(pane->Left() + 10, 5);
    QTest::mouseClick(under(elsewhere), Qt::LeftButton, {}, under(elsewhere)->mapFrom(bar, elsewhere));
    EXPECT_EQ(presses, 1) << "elsewhere the pane takes its press";
}
