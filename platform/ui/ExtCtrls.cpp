#include "platform/ui/ExtCtrls.h"

#include "platform/ui/ControlWidget.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

// ---- TCustomPanel ---------------------------------------------------------------

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner)
{
    FWidth = 185;
    FHeight = 41;
}

void TCustomPanel::AdjustClientRect(TRect& R)
{
    TCustomControl::AdjustClientRect(R);
    int bevel = 0;
    if (FBevelOuter != bvNone)
        bevel += FBevelWidth;
    if (FBevelInner != bvNone)
        bevel += FBevelWidth;
    R.Inflate(-bevel, -bevel);
}

void TCustomPanel::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone)
            return;
        if (cut == bvSpace) {
            r.Inflate(-FBevelWidth, -FBevelWidth);
            return;
        }
        Frame3D(c, r, cut == bvLowered ? clBtnShadow : clBtnHighlight, cut == bvLowered ? clBtnHighlight : clBtnShadow, FBevelWidth);
    };
    bevel(FBevelOuter);
    r.Inflate(-FBorderWidth, -FBorderWidth);
    bevel(FBevelInner);
    if (ShowCaption && !FText.isEmpty()) {
        c->Brush()->SetStyle(bsClear);
        c->Font()->Assign(FFont);
        const unsigned align = FAlignment == taLeftJustify ? DT_LEFT : FAlignment == taRightJustify ? DT_RIGHT : DT_CENTER;
        c->DrawText(FText, r, align | DT_VCENTER | DT_SINGLELINE);
    }
}

// ---- TBevel ------------------------------------------------------------------------

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FWidth = 50;
    FHeight = 50;
}

void TBevel::Paint()
{
    TCanvas* c = Canvas();
    const TColor a = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
    const TColor b = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
    TRect r = ClientRect();
    auto line = [&](int x1, int y1, int x2, int y2, TColor col) {
        c->Pen()->SetColor(col);
        c->MoveTo(x1, y1);
        c->LineTo(x2, y2);
    };
    c->Pen()->SetWidth(1);
    c->Pen()->SetStyle(psSolid);
    switch (FShape) {
    case bsBox:
        Frame3D(c, r, a, b, 1);
        break;
    case bsFrame: {
        TRect outer = r;
        outer.Right--;
        outer.Bottom--;
        Frame3D(c, outer, a, a, 1);
        TRect inner = Rect(r.Left + 1, r.Top + 1, r.Right, r.Bottom);
        Frame3D(c, inner, b, b, 1);
        break;
    }
    case bsTopLine:
        line(0, 0, FWidth, 0, a);
        line(0, 1, FWidth, 1, b);
        break;
    case bsBottomLine:
        line(0, FHeight - 2, FWidth, FHeight - 2, a);
        line(0, FHeight - 1, FWidth, FHeight - 1, b);
        break;
    case bsLeftLine:
        line(0, 0, 0, FHeight, a);
        line(1, 0, 1, FHeight, b);
        break;
    case bsRightLine:
        line(FWidth - 2, 0, FWidth - 2, FHeight, a);
        line(FWidth - 1, 0, FWidth - 1, FHeight, b);
        break;
    case bsSpacer:
        break;
    }
}

// ---- TImage --------------------------------------------------------------------------

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(std::make_unique<TPicture>())
{
    FWidth = 105;
    FHeight = 105;
    FPicture->OnChange = [this] {
        if (AutoSize && !FPicture->Empty())
            SetBounds(FLeft, FTop, FPicture->Width(), FPicture->Height());
        Invalidate();
    };
}

TImage::~TImage() = default;

TRect TImage::DestRect() const
{
    int w = FPicture->Width(), h = FPicture->Height();
    if (Stretch || (Proportional && (w > FWidth || h > FHeight))) {
        if (Proportional && w > 0 && h > 0) {
            if (double(FWidth) / w < double(FHeight) / h) {
                h = MulDiv(h, FWidth, w);
                w = FWidth;
            } else {
                w = MulDiv(w, FHeight, h);
                h = FHeight;
            }
        } else {
            w = FWidth;
            h = FHeight;
        }
    }
    TRect r = Rect(0, 0, w, h);
    if (Center)
        r.Offset((FWidth - w) / 2, (FHeight - h) / 2);
    return r;
}

void TImage::Paint()
{
    if (!FPicture->Empty())
        Canvas()->StretchDraw(DestRect(), FPicture->Graphic());
}

// ---- TPaintBox / TShape ------------------------------------------------------------

TPaintBox::TPaintBox(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FWidth = 105;
    FHeight = 105;
}

void TPaintBox::Paint()
{
    if (OnPaint)
        OnPaint(this);
}

TShape::TShape(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FWidth = 65;
    FHeight = 65;
    FPen.OnChange = [this] { Invalidate(); };
    FBrush.OnChange = [this] { Invalidate(); };
}

void TShape::Paint()
{
    TCanvas* c = Canvas();
    c->SetPen(FPen);
    c->SetBrush(FBrush);
    int x = FPen.Width() / 2, y = x, w = FWidth - FPen.Width() + 1, h = FHeight - FPen.Width() + 1;
    if (Shape == stSquare || Shape == stRoundSquare || Shape == stCircle) {
        const int s = std::min(w, h);
        x += (w - s) / 2;
        y += (h - s) / 2;
        w = h = s;
    }
    switch (Shape) {
    case stRectangle:
    case stSquare:
        c->Rectangle(x, y, x + w, y + h);
        break;
    case stRoundRect:
    case stRoundSquare:
        c->RoundRect(x, y, x + w, y + h, std::min(w, h) / 4, std::min(w, h) / 4);
        break;
    case stEllipse:
    case stCircle:
        c->Ellipse(x, y, x + w, y + h);
        break;
    }
}

// ---- TScrollBox ------------------------------------------------------------------------

TScrollBox::TScrollBox(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 185;
    FHeight = 41;
}

QWidget* TScrollBox::CreateWidget()
{
    auto* area = new QScrollArea;
    area->setFrameShape(QFrame::StyledPanel);
    FInner = new TControlWidget(this, false);
    FInner->setAutoFillBackground(true);
    area->setWidget(FInner);
    area->setWidgetResizable(false);
    return area;
}

QWidget* TScrollBox::ClientWidget() const
{
    Widget();
    return FInner;
}

void TScrollBox::AlignControls(TControl* AControl, TRect& R)
{
    TWinControl::AlignControls(AControl, R);
    // the inner area covers every child
    int w = FWidth - 4, h = FHeight - 4;
    for (int i = 0; i < ControlCount(); ++i) {
        w = std::max(w, Controls(i)->Left() + Controls(i)->Width());
        h = std::max(h, Controls(i)->Top() + Controls(i)->Height());
    }
    if (FInner)
        FInner->resize(w, h);
}

void TScrollBox::ScrollInView(TControl* Control)
{
    if (auto* area = static_cast<QScrollArea*>(FWidget); area && Control)
        area->ensureWidgetVisible(Control->Widget());
}

// ---- TTimer ------------------------------------------------------------------------------

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), FTimer(std::make_unique<QTimer>())
{
    QObject::connect(FTimer.get(), &QTimer::timeout, [this] { Timer(); });
    UpdateTimer();
}

TTimer::~TTimer() = default;

void TTimer::Timer()
{
    if (OnTimer)
        OnTimer(this);
}

void TTimer::Loaded()
{
    TComponent::Loaded();
    UpdateTimer();
}

void TTimer::SetEnabled(bool Value)
{
    FEnabled = Value;
    UpdateTimer();
}

void TTimer::SetInterval(int Value)
{
    FInterval = Value;
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    // an interval of 0 never fires: a timer without an interval is switched off
    if (FEnabled && FInterval > 0 && !Loading()) {
        FTimer->start(FInterval);
    } else {
        FTimer->stop();
    }
}
