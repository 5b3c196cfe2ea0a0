// The zoomed picture's scroll bars: shown when the picture is larger than the
// control, ranging over the picture, with thumbs as large as the part shown.
#include "components/base/rImageZoom.h"

#include "platform/ui/ControlScrollBars.h"

#include <algorithm>

QWidget* TrImageZoom::CreateWidget()
{
    QWidget* w = TCustomControl::CreateWidget();
    FWidget = w;
    FBars = std::make_unique<TControlScrollBars>(this);
    FBars->Attach();
    // a page is half the client height whichever bar moves, not the thumb's size
    FBars->PageStep = [this](bool) { return ClientHeight() / 2; };
    FBars->OnScroll = [this](bool Horizontal, int Pos) { ScrollTo(Horizontal, Pos); };
    return w;
}

TRect TrImageZoom::ClientRect() const
{
    TRect r = TCustomControl::ClientRect();
    if (FTypeScrollBar == tsBoth) {
        r.Right = std::max(r.Left, r.Right - TControlScrollBars::Extent);
        r.Bottom = std::max(r.Top, r.Bottom - TControlScrollBars::Extent);
    }
    return r;
}

void TrImageZoom::ShowScrollBars()
{
    if (!FBars)
        return;
    const bool shown = FScrollBar && FTypeScrollBar == tsBoth;
    if (shown) {
        const TScaleInfo si = ScaleInfo();
        // range 0 to size - 1 with a page of the part shown: the thumb stops at size - page
        FBars->Set(true, 0, GetPictureWidth() - si.SourceSize.cx, si.SourceSize.cx, FZoomOffset.X);
        FBars->Set(false, 0, GetPictureHeight() - si.SourceSize.cy, si.SourceSize.cy, FZoomOffset.Y);
    }
    FBars->SetShown(shown);
}

void TrImageZoom::ScrollTo(bool Horizontal, int Pos)
{
    TPoint o = FZoomOffset;
    (Horizontal ? o.X : o.Y) = Pos;
    SetZoomOffset(o);
}

void TrImageZoom::Scroll(bool Horizontal, TScrollCode Code, int ThumbPos)
{
    if (!FBars || !FBars->Shown())
        return;
    int pos = FBars->Position(Horizontal);
    switch (Code) {
    case scLineUp: pos -= 1; break;
    case scLineDown: pos += 1; break;
    case scPageUp: pos -= ClientHeight() / 2; break;
    case scPageDown: pos += ClientHeight() / 2; break;
    case scTop: pos = 0; break;
    case scBottom: pos = FBars->Maximum(Horizontal); break;
    case scThumb: pos = ThumbPos; break;
    }
    FBars->SetPosition(Horizontal, pos);
}
