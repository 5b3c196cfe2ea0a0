#include "platform/ui/HintWindow.h"

#include "platform/ui/ControlWidget.h"

namespace {
constexpr int Margin = 3;
}

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner)
{
    FColor = clInfoBk;
    Font()->SetColor(clInfoText);
    SetVisible(false);
}

QWidget* THintWindow::CreateWidget()
{
    auto* w = new TControlWidget(this, false);
    w->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    w->setAttribute(Qt::WA_ShowWithoutActivating);
    w->setFocusPolicy(Qt::NoFocus);
    return w;
}

TRect THintWindow::CalcHintRect(int MaxWidth, const QString& AHint)
{
    TCanvas c;
    c.Font()->Assign(*Font());
    TRect r = Rect(0, 0, std::max(16, MaxWidth - 2 * Margin), 0);
    c.DrawText(AHint, r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    return Rect(0, 0, r.Width() + 2 * Margin + 2, r.Height() + 2 * Margin);
}

void THintWindow::ActivateHint(const TRect& R, const QString& AHint)
{
    FText = AHint;
    SetBounds(R.Left, R.Top, R.Width(), R.Height());
    SetVisible(true);
    Widget()->show();
    Widget()->raise();
    Invalidate();
}

void THintWindow::ReleaseHandle()
{
    SetVisible(false);
    if (HandleAllocated())
        Widget()->hide();
}

bool THintWindow::Showing() const { return HandleAllocated() && Visible() && const_cast<THintWindow*>(this)->Widget()->isVisible(); }

void THintWindow::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(Rect(0, 0, Width(), Height()));
    c->Brush()->SetColor(clWindowFrame);
    c->FrameRect(Rect(0, 0, Width(), Height()));
    c->Font()->Assign(*Font());
    c->Brush()->SetStyle(bsClear);
    TRect r = Rect(Margin + 1, Margin, Width() - Margin, Height() - Margin);
    c->DrawText(FText, r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    c->Brush()->SetStyle(bsSolid);
}
