#include "components/grid/TrDBActionBar.h"

#include "platform/ui/ImgList.h"

#include <algorithm>

TrDBActionBar::TrDBActionBar(TComponent* AOwner) : TToolBar(AOwner) {}

void TrDBActionBar::SetWrap(TToolButton* Button, bool Wrap)
{
    if (Wrap)
        FWraps.insert(Button);
    else
        FWraps.erase(Button);
    Realign();
}

int TrDBActionBar::ButtonWidthOf(TToolButton* B) const
{
    if (B->Style() == tbsSeparator || B->Style() == tbsDivider)
        return B->Width() > 0 && B->Width() < FButtonWidth ? B->Width() : 8;
    int w = FButtonWidth + (B->Style() == tbsDropDown ? 12 : 0);
    if (FShowCaptions && List) {
        TCanvas m;
        m.Font()->Assign(*const_cast<TrDBActionBar*>(this)->Font());
        w = std::max(w, m.TextWidth(B->Caption()) + (Images ? Images->Width() : 0) + 12);
    }
    return w;
}

void TrDBActionBar::AlignControls(TControl*, TRect& R)
{
    const int edge = EdgeBorders ? 2 : 0;
    int x = R.Left + edge, y = R.Top + edge + 2;
    FRows = 1;
    for (int i = 0; i < ControlCount(); ++i) {
        auto* b = dynamic_cast<TToolButton*>(Controls(i));
        if (!b || !b->Visible())
            continue;
        const int w = ButtonWidthOf(b);
        b->SetBounds(x, y, w, FButtonHeight);
        x += w;
        if (FWraps.count(b)) {
            x = R.Left + edge;
            y += FButtonHeight;
            ++FRows;
        }
    }
    if (AutoSize && !FSizing) {
        const int h = FRows * FButtonHeight + 4 + 2 * edge;
        if (h != Height()) {
            FSizing = true;
            SetHeight(h);
            FSizing = false;
        }
    }
}

void TrDBActionBar::Paint()
{
    TCanvas* c = Canvas();
    const TRect r = ClientRect();
    if (Gradient) {
        GradientFillCanvas(c, clWhite, clSilver, r, gdVertical);
    } else {
        c->Brush()->SetColor(Color());
        c->FillRect(r);
    }
    if (EdgeBorders) {
        c->Pen()->SetColor(clBtnShadow);
        c->MoveTo(r.Left, r.Bottom - 1);
        c->LineTo(r.Left, r.Top);
        c->LineTo(r.Right - 1, r.Top);
        c->Pen()->SetColor(clBtnHighlight);
        c->LineTo(r.Right - 1, r.Bottom - 1);
        c->LineTo(r.Left, r.Bottom - 1);
    }
}
