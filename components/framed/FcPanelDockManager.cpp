#include "components/framed/FcPanelDockManager.h"

#include "components/framed/FcSystem.h"

#include <algorithm>

TFcPanelDockManager::TFcPanelDockManager(TFcCustomPanel* Panel) : FPanel(Panel)
{
    FFont.SetName(QStringLiteral("Verdana"));
    FFont.SetSize(8);
    FCloseFont.SetName(QStringLiteral("Marlett"));
    FCloseFont.SetSize(8);
    Panel->DoubleBuffered = true;
}

TFcPanelDockManager::~TFcPanelDockManager() = default;

bool TFcPanelDockManager::VerticalGrabbers() const
{
    return FPanel->Align() == alTop || FPanel->Align() == alBottom;
}

void TFcPanelDockManager::InsertControl(TControl* Client)
{
    if (std::find(FClients.begin(), FClients.end(), Client) != FClients.end())
        return;
    FClients.push_back(Client);
    Client->FreeNotification(FPanel);
    Client->SetParent(FPanel);
    Client->SetVisible(true);
    ResetBounds();
}

void TFcPanelDockManager::RemoveControl(TControl* Client)
{
    FClients.erase(std::remove(FClients.begin(), FClients.end(), Client), FClients.end());
    ResetBounds();
}

TRect TFcPanelDockManager::ZoneRect(int Index) const
{
    TRect r = FPanel->FixClientRect(FPanel->ClientRect(), true);
    const int n = std::max(1, ClientCount());
    if (VerticalGrabbers()) {
        // side by side
        const int w = r.Width() / n;
        return Rect(r.Left + Index * w, r.Top, Index == n - 1 ? r.Right : r.Left + (Index + 1) * w, r.Bottom);
    }
    const int h = r.Height() / n;
    return Rect(r.Left, r.Top + Index * h, r.Right, Index == n - 1 ? r.Bottom : r.Top + (Index + 1) * h);
}

void TFcPanelDockManager::AdjustDockRect(TControl*, TRect& R) const
{
    if (VerticalGrabbers())
        R.Left += FGrabberSize;
    else
        R.Top += FGrabberSize;
}

TRect TFcPanelDockManager::GrabberRect(const TRect& Z) const
{
    return VerticalGrabbers() ? Rect(Z.Left, Z.Top, Z.Left + FGrabberSize, Z.Bottom)
                              : Rect(Z.Left, Z.Top, Z.Right, Z.Top + FGrabberSize);
}

TRect TFcPanelDockManager::CloseRect(const TRect& Z) const
{
    return VerticalGrabbers() ? Rect(Z.Left + 1, Z.Top + 1, Z.Left + FGrabberSize - 2, Z.Top + 12)
                              : Rect(Z.Right - FGrabberSize - 1, Z.Top + 1, Z.Right - 2, Z.Top + 12);
}

void TFcPanelDockManager::ResetBounds()
{
    for (int i = 0; i < ClientCount(); ++i) {
        TRect r = ZoneRect(i);
        AdjustDockRect(Clients(i), r);
        Clients(i)->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    }
    FPanel->Invalidate();
}

void TFcPanelDockManager::PaintSite(TCanvas* Canvas)
{
    for (int i = 0; i < ClientCount(); ++i)
        PaintDockFrame(Canvas, Clients(i), ZoneRect(i));
}

void TFcPanelDockManager::PaintDockFrame(TCanvas* C, TControl* Client, const TRect& R)
{
    if (!FPanel->ShowDockClientCaptions) {
        // the plain frame: a raised bar
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(GrabberRect(R));
        return;
    }
    // 1./2. the caption in the active or inactive caption colours
    const QString text = Client->Caption();
    C->SetFont(FFont);
    auto* windowed = dynamic_cast<TWinControl*>(Client);
    const bool active = !windowed || windowed->Focused();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(active ? clActiveCaption : clInactiveCaption);
    C->Font()->SetColor(active ? clCaptionText : clInactiveCaptionText);
    const TRect bar = GrabberRect(R);
    C->FillRect(bar);
    if (!VerticalGrabbers()) {
        // 3.
        C->TextRect(bar, bar.Left + 2, bar.Top, text);
    } else {
        // 4. turned to read upwards
        C->SetFont(RotateFont(FFont, 90));
        C->Font()->SetColor(clCaptionText);
        const int saved = C->SaveDC();
        C->IntersectClipRect(bar);
        C->TextOut(bar.Right - 2 - C->TextMetrics().tmHeight, bar.Bottom - 3, text);
        C->RestoreDC(saved);
    }
    // 5. the close mark
    const TRect close = CloseRect(R);
    C->SetFont(FFont);
    C->Font()->SetColor(active ? clCaptionText : clInactiveCaptionText);
    C->Pen()->SetColor(C->Font()->Color());
    C->MoveTo(close.Left + 2, close.Top + 2);
    C->LineTo(close.Right - 2, close.Bottom - 2);
    C->MoveTo(close.Right - 3, close.Top + 2);
    C->LineTo(close.Left + 1, close.Bottom - 2);
}

bool TFcPanelDockManager::MouseDown(int X, int Y)
{
    for (int i = 0; i < ClientCount(); ++i)
        if (CloseRect(ZoneRect(i)).Contains(Point(X, Y))) {
            TControl* c = Clients(i);
            RemoveControl(c);
            c->SetVisible(false);
            return true;
        }
    return false;
}
