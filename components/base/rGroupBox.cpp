#include "components/base/rGroupBox.h"

#include <algorithm>
#include <cmath>

#include "components/base/rpictool.h"
#include "components/base/rtool.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/FileDrop.h"
#include "platform/ui/Forms.h"
#include "platform/ui/MouseCursor.h"

#include <QElapsedTimer>
#include <cmath>

namespace {

int64_t TickCount()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return clock.elapsed();
}

// A colour lightened by Amount on the 0 to 240 luminance scale.
// The colour with its luminance raised by Amount on the 0..240 scale of the
// system's hue-luminance-saturation model, hue and saturation kept.
TColor Lighten(TColor Color, int Amount)
{
    const TColor c = ColorToRGB(Color);
    const double r = GetRValue(c) / 255.0, g = GetGValue(c) / 255.0, b = GetBValue(c) / 255.0;
    const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    double h = 0, sat = 0;
    const double l = (mx + mn) / 2;
    if (mx > mn) {
        const double d = mx - mn;
        sat = l > 0.5 ? d / (2 - mx - mn) : d / (mx + mn);
        h = mx == r ? (g - b) / d + (g < b ? 6 : 0) : mx == g ? (b - r) / d + 2 : (r - g) / d + 4;
        h /= 6;
    }
    const double nl = std::min(1.0, l + Amount / 240.0);
    auto channel = [](double p, double q, double t) {
        t = t < 0 ? t + 1 : t > 1 ? t - 1 : t;
        if (t < 1.0 / 6)
            return p + (q - p) * 6 * t;
        if (t < 0.5)
            return q;
        if (t < 2.0 / 3)
            return p + (q - p) * (2.0 / 3 - t) * 6;
        return p;
    };
    const double q = nl < 0.5 ? nl * (1 + sat) : nl + sat - nl * sat, p = 2 * nl - q;
    auto byte = [](double v) { return int(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
    if (sat == 0)
        return RGB(byte(nl), byte(nl), byte(nl));
    return RGB(byte(channel(p, q, h + 1.0 / 3)), byte(channel(p, q, h)), byte(channel(p, q, h - 1.0 / 3)));
}

}  // namespace

TrGroupBox::TrGroupBox(TComponent* AOwner)
    : TCustomGroupBox(AOwner),
      FMinBtnPicture(std::make_unique<TPicture>()),
      FMaxBtnPicture(std::make_unique<TPicture>()),
      FBackgroundPicture(std::make_unique<TPicture>()),
      FAutoResizePos(std::make_unique<TAutoResizePos>(this)),
      FAutoResizeChild(std::make_unique<TAutoResizeChild>(this))
{
    const TrGroupBoxCfg& cfg = ParioCompConfig.rGroupBoxCfg;
    FCaptionHeight = cfg.DefaultCaptionHeight;
    FScaledCaptionHeight = S(FCaptionHeight);
    FCaptionColor = cfg.DefaultCaptionColor;
    FCaptionFontColor = cfg.DefaultFontColor;
    FGradientColorFrom = GetStyleSystemColor(clBtnFace);
    FGradientColorTo = GetStyleSystemColor(clBtnFace);
    FCaptionFont.Assign(FFont);
    FCaptionFont.OnChange = [this] { CaptionFontChanged(); };
    auto repaint = [this] { Invalidate(); };
    FMinBtnPicture->OnChange = repaint;
    FMaxBtnPicture->OnChange = repaint;
    FBackgroundPicture->OnChange = repaint;
    FTimer = new TTimer(this);
    FTimer->SetInterval(100);
    FTimer->OnTimer = [this](TComponent*) { RefreshAutoPosition(); };
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentCreated);
}

TrGroupBox::~TrGroupBox() = default;

int TrGroupBox::S(int V) const
{
    return int(std::nearbyint(V * FScaleRatio));
}

void TrGroupBox::Loaded()
{
    TCustomGroupBox::Loaded();
    if (ParioCompConfig.rGroupBoxCfg.UseSimpleTabColor && ParentIsTab(this))
        FUseTabColor = true;
    if (FUseTabColor)
        SetColor(ParioCompConfig.rGroupBoxCfg.DefaultBkColor);
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentLoaded);
}

bool TrGroupBox::ParentIsTab(const TControl* Box)
{
    const TWinControl* p = Box->Parent();
    while (p && dynamic_cast<const TrGroupBox*>(p))
        p = p->Parent();
    return p && (dynamic_cast<const TTabSheet*>(p) || dynamic_cast<const TPageControl*>(p)
                 || p->Name().endsWith(QLatin1String("TabControl"), Qt::CaseInsensitive));
}

// ---- property setters ----------------------------------------------------------------------

void TrGroupBox::SetFrameType(TFrameType V)
{
    FFrameType = V;
    SetWidth(FWidth + 1);
    SetWidth(FWidth - 1);
    Invalidate();
}

void TrGroupBox::SetCaptionHeight(int V)
{
    FCaptionHeight = V;
    FScaledCaptionHeight = S(V);
    SetWidth(FWidth + 1);
    SetWidth(FWidth - 1);
    Invalidate();
}

void TrGroupBox::SetCaptionPosition(TCaptionPosition V)
{
    FCaptionPosition = V;
    SetWidth(FWidth + 1);
    SetWidth(FWidth - 1);
    Invalidate();
}

#define STORE_AND_REPAINT(Setter, Type, Field) \
    void TrGroupBox::Setter(Type V)            \
    {                                          \
        Field = V;                             \
        Invalidate();                          \
    }
STORE_AND_REPAINT(SetFrameColor, TColor, FFrameColor)
STORE_AND_REPAINT(SetCaptionColor, TColor, FCaptionColor)
STORE_AND_REPAINT(SetCaptionFontColor, TColor, FCaptionFontColor)
STORE_AND_REPAINT(SetCaptionDisableFontColor, TColor, FCaptionDisableFontColor)
STORE_AND_REPAINT(SetCaptionAlignment, TAlignment, FCaptionAlignment)
STORE_AND_REPAINT(SetGradientColorFrom, TColor, FGradientColorFrom)
STORE_AND_REPAINT(SetGradientColorTo, TColor, FGradientColorTo)
STORE_AND_REPAINT(SetGradientType, TGradientType, FGradientType)
STORE_AND_REPAINT(SetMinMaxBtnType, TMinMaxBtnType, FMinMaxBtnType)
STORE_AND_REPAINT(SetBackgroundPictureType, TBackgroundPictureType, FBackgroundPictureType)
STORE_AND_REPAINT(SetShowSizeGrip, bool, FShowSizeGrip)
#undef STORE_AND_REPAINT

void TrGroupBox::SetCaptionParentFont(bool V)
{
    if (V) {
        FCaptionFont.OnChange = nullptr;
        FCaptionFont.Assign(FFont);
        FCaptionFont.OnChange = [this] { CaptionFontChanged(); };
    }
    FCaptionParentFont = V;
    Invalidate();
}

void TrGroupBox::CaptionFontChanged()
{
    FCaptionParentFont = false;
    Invalidate();
}

void TrGroupBox::FontChanged()
{
    TCustomGroupBox::FontChanged();
    if (FCaptionParentFont)
        SetCaptionParentFont(true);
}

void TrGroupBox::SetUseTabColor(bool V)
{
    FUseTabColor = V;
    if (V) {
        SetParentColor(false);
        SetColor(ParioCompConfig.rGroupBoxCfg.DefaultBkColor);
    }
}

void TrGroupBox::SetClientRectTop(int V)
{
    FClientRectTop = V;
    Realign();
}

// ---- children ------------------------------------------------------------------------------

void TrGroupBox::SetAllChildren(TSetChildrenValueTypes ValueType, const QVariant& Value, void* P, int ExcludeTag)
{
    std::function<void(TWinControl*)> walk = [&](TWinControl* parent) {
        for (int i = 0; i < parent->ControlCount(); ++i) {
            TControl* c = parent->Controls(i);
            if (c->Tag == ExcludeTag)
                continue;
            switch (ValueType) {
            case chvSetVisibility:
                c->SetVisible(Value.toBool());
                break;
            case chvSetEnability:
                c->SetEnabled(Value.toBool());
                break;
            case chvSetColor:
                c->SetColor(TColor(Value.toInt()));
                break;
            case chvSetDataSource:
                break;
            }
            if (auto* w = dynamic_cast<TWinControl*>(c))
                walk(w);
        }
    };
    (void)P;
    walk(this);
}

void TrGroupBox::EnableDescendants(TWinControl* Parent, bool Value)
{
    for (int i = 0; i < Parent->ControlCount(); ++i) {
        TControl* c = Parent->Controls(i);
        c->SetEnabled(Value);
        if (auto* pc = dynamic_cast<TPageControl*>(c)) {
            for (int p = 0; p < pc->PageCount(); ++p) {
                pc->Pages(p)->SetEnabled(Value);
                EnableDescendants(pc->Pages(p), Value);
            }
        } else if (auto* w = dynamic_cast<TWinControl*>(c))
            EnableDescendants(w, Value);
    }
}

void TrGroupBox::SetEnableDropFile(bool V)
{
    FEnableDropFile = V;
    UpdateDropRegistration();
}

// The window takes dropped files while dropping is on and the box is enabled.
void TrGroupBox::UpdateDropRegistration()
{
    if (FEnableDropFile && Enabled())
        RegisterFileDrop(this, [this](const QStringList& Files, const TPoint& P) { FilesDropped(Files, P); });
    else if (HandleAllocated())
        RegisterFileDrop(this, nullptr);
}

void TrGroupBox::EnabledChanged()
{
    TCustomGroupBox::EnabledChanged();
    UpdateDropRegistration();
    if (AutoEnableChildren)
        EnableDescendants(this, Enabled());
    Invalidate();
}

TControl* TrGroupBox::DropControl() const
{
    for (int i = 0; i < ControlCount(); ++i)
        if (Controls(i)->BoundsRect().Contains(FDropPoint))
            return Controls(i);
    return nullptr;
}

void TrGroupBox::FilesDropped(const QStringList& Files, const TPoint& Point)
{
    if (!FEnableDropFile || !Enabled())
        return;
    FDropFiles = Files;
    FDropPoint = Point;
    DropFiles();
}

void TrGroupBox::DropFiles()
{
    if (OnDropFiles)
        OnDropFiles(this, FDropPoint.X, FDropPoint.Y);
}

bool TrGroupBox::ExecuteHintAction(const QString& Hint)
{
    if (!AutoHint)
        return false;
    SetCaption(Hint);
    return true;
}

// ---- client area and painting ------------------------------------------------------------------

void TrGroupBox::AdjustClientRect(TRect& R)
{
    TWinControl::AdjustClientRect(R);
    R.Top = Padding.Top + 1;
    const int h = FScaledCaptionHeight;
    if (h > 0) {
        switch (FCaptionPosition) {
        case cpTop:
            R.Top += h + 1;
            break;
        case cpBottom:
            R.Bottom -= h + 1;
            break;
        case cpLeft:
            R.Left += h + 1;
            break;
        case cpRight:
            R.Right -= h + 1;
            break;
        }
    }
    if (FFrameType == ft3D || FFrameType == ftDoubleLine)
        R.Inflate(-1, -1);
    else if (FFrameType == ftNone)
        R.Inflate(1, 1);
    if (FClientRectTop >= 0)
        R.Top = FClientRectTop;
}

TRect TrGroupBox::AdjustedClientRect()
{
    TRect r = ClientRect();
    AdjustClientRect(r);
    return r;
}

void TrGroupBox::Paint()
{
    TCanvas* c = Canvas();
    const int h = FScaledCaptionHeight;
    // 1. the inner rectangle and the caption band
    TRect I = Rect(0, 0, FWidth, FHeight);
    if (FFrameType != ftNone)
        I.Inflate(-1, -1);
    if (FFrameType == ft3D || FFrameType == ftDoubleLine)
        I.Inflate(-1, -1);
    TRect C = I;
    // 2. background
    if (!FMinimized) {
        switch (FCaptionPosition) {
        case cpTop:
            C.Bottom = I.Top + h + 1;
            I.Top += h;
            break;
        case cpBottom:
            C.Top = I.Bottom - h - 1;
            I.Bottom -= h;
            break;
        case cpLeft:
            C.Right = I.Left + h + 1;
            I.Left += h;
            break;
        case cpRight:
            C.Left = I.Right - h - 1;
            I.Right -= h;
            break;
        }
        c->Brush()->SetColor(Color());
        c->FillRect(I);
        const bool pictureCovers = !FBackgroundPicture->Empty()
                                   && (FBackgroundPictureType == bkpStretch || FBackgroundPictureType == bkpTile);
        if (FGradientType != gtNone && !pictureCovers)
            DrawGradient(c, I, FGradientColorFrom, FGradientColorTo, FGradientType == gtVertical, 100);
        if (FBackgroundPictureType == bkpCenter || FBackgroundPictureType == bkpStretch)
            DrawPictureCenter(c, I, FBackgroundPicture.get(), false, FBackgroundPictureType == bkpStretch);
        else if (FBackgroundPictureType == bkpTile) {
            const int saved = c->SaveDC();
            c->IntersectClipRect(I);
            DrawPictureTiles(c, I, FBackgroundPicture.get(), false);
            c->RestoreDC(saved);
        }
    }
    // 3. caption font and colours
    c->Font()->Assign(FCaptionFont);
    if (!Enabled())
        c->Font()->SetColor(FCaptionDisableFontColor);
    else if (FCaptionFontColor != clNone)
        c->Font()->SetColor(FCaptionFontColor);
    c->Brush()->SetColor(FCaptionColor);
    c->Pen()->SetColor(FCaptionColor);
    // 4. and 5. the caption bar with its text and button
    if (h > 0) {
        c->Brush()->SetStyle(bsSolid);
        c->FillRect(C);
        c->Pen()->SetColor(c->Font()->Color());
        PaintCaption(C, FMinMaxBtnType != mmbNone);
        if (FMinMaxBtnType != mmbNone)
            PaintMinButton(C);
    } else if (!Caption().isEmpty()) {
        // 6. a caption without a bar
        PaintCaption(I, false);
    }
    // 7. size grip
    auto* form = dynamic_cast<TCustomForm*>(Owner());
    if (FShowSizeGrip && !FMinimized && form && form->WindowState() != wsMaximized) {
        c->Brush()->SetColor(Lighten(FFrameColor, 80));
        for (int r = 1; r <= 3; ++r)
            for (int j = 1; j <= r; ++j) {
                const int x = I.Right - S(3) * j, y = I.Bottom - (4 - r) * S(3);
                c->FillRect(Bounds(x, y, S(2), S(2)));
            }
    }
    PaintFrame();
    // 10.
    if (OnDrawControl)
        OnDrawControl(this, Rect(0, 0, FWidth, FHeight));
}

void TrGroupBox::PaintCaption(TRect C, bool WithButton)
{
    TCanvas* c = Canvas();
    const QString text = Caption();
    if (text.isEmpty())
        return;
    const int h = FScaledCaptionHeight;
    const bool vertical = FCaptionPosition == cpLeft || FCaptionPosition == cpRight
                          || (FMinimized && (Align() == alLeft || Align() == alRight));
    c->Brush()->SetStyle(bsClear);
    if (vertical) {
        FontGetRotated(c->Font(), 900);
        const int w = c->TextWidth(text) + 1, t = c->TextHeight(text) + 1;
        const int x = C.Left + (C.Width() - t) / 2;
        int y;
        if (FCaptionAlignment == taLeftJustify)
            y = C.Bottom - S(4);
        else if (FCaptionAlignment == taRightJustify)
            y = C.Top + w + S(4) + (WithButton ? h : 0);
        else
            y = C.Top + w + (C.Bottom - C.Top - w) / 2;
        y = std::min(y, C.Bottom - S(4));
        c->TextOut(x, y, text);
        FontGetRotated(c->Font(), 0);
    } else {
        if (FCaptionAlignment == taRightJustify && WithButton)
            C.Right -= h;
        C.Left += S(4);
        C.Right -= S(4);
        unsigned flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
        flags |= FCaptionAlignment == taCenter ? DT_CENTER : FCaptionAlignment == taRightJustify ? DT_RIGHT : DT_LEFT;
        c->DrawText(text, C, DrawTextBiDiModeFlags(flags));
    }
    c->Brush()->SetStyle(bsSolid);
}

void TrGroupBox::PaintMinButton(const TRect& C)
{
    TCanvas* c = Canvas();
    const int h = FScaledCaptionHeight;
    TRect B = Rect(C.Right - h - 1, C.Top, C.Right, C.Top + h + 1);
    if (FMinMaxBtnType == mmbRound || FMinMaxBtnType == mmbRect)
        while (B.Width() > S(15)) {
            if (B.Height() % 2 == 1) {
                ++B.Left;
                ++B.Top;
            } else {
                --B.Right;
                --B.Bottom;
            }
        }
    FButtonRect = B;
    const TColor fontColor = c->Font()->Color();
    c->Pen()->SetColor(FCaptionColor);
    c->Brush()->SetColor(fontColor);
    const int cx = (B.Left + B.Right) / 2, cy = (B.Top + B.Bottom) / 2;
    switch (FMinMaxBtnType) {
    case mmbRound:
        c->Ellipse(B);
        c->Pen()->SetWidth(2);
        if (FMinimized) {
            c->Polyline({{cx - S(3), cy - S(3)}, {cx, cy}, {cx + S(3), cy - S(3)}});
            c->Polyline({{cx - S(3), cy + 1}, {cx, cy + S(4)}, {cx + S(3), cy + 1}});
        } else {
            c->Polyline({{cx - S(3), cy - 1}, {cx, cy - S(4)}, {cx + S(3), cy - 1}});
            c->Polyline({{cx - S(3), cy + S(3)}, {cx, cy}, {cx + S(3), cy + S(3)}});
        }
        c->Pen()->SetWidth(1);
        break;
    case mmbRect:
        c->FillRect(B);
        B.Inflate(-S(3), -S(3));
        c->Brush()->SetColor(FCaptionColor);
        c->FrameRect(B);
        if (FMinimized)
            c->FillRect(Rect(B.Left, B.Top + S(4), B.Right, B.Bottom - 1));
        else
            c->FillRect(Rect(B.Left, B.Top + 1, B.Right, B.Bottom - S(4)));
        break;
    case mmbPicture:
        try {
            DrawPictureCenter(c, B, FMinimized ? FMinBtnPicture.get() : FMaxBtnPicture.get(), true, true);
        } catch (const std::exception&) {
            // a broken button picture leaves the button empty
        }
        break;
    case mmbNone:
        break;
    }
}

void TrGroupBox::PaintFrame()
{
    TCanvas* c = Canvas();
    TRect R = Rect(0, 0, FWidth, FHeight);
    c->Brush()->SetStyle(bsSolid);
    c->Pen()->SetWidth(1);
    switch (FFrameType) {
    case ft3D:
        c->Brush()->SetColor(clBtnHighlight);
        c->FrameRect(R);
        ++R.Left;
        ++R.Top;
        c->Brush()->SetColor(FFrameColor);
        c->FrameRect(R);
        R.Offset(-1, -1);
        c->Brush()->SetColor(clBtnShadow);
        c->FrameRect(R);
        break;
    case ftSingleLine:
        c->Brush()->SetColor(FFrameColor);
        c->FrameRect(R);
        break;
    case ftDoubleLine:
        c->Brush()->SetColor(FFrameColor);
        c->FrameRect(R);
        R.Inflate(-1, -1);
        c->FrameRect(R);
        break;
    case ftNone:
        break;
    }
}

// ---- minimise and restore ----------------------------------------------------------------------

bool TrGroupBox::IsHorizontal() const
{
    return FCaptionPosition == cpLeft || FCaptionPosition == cpRight || Align() == alLeft || Align() == alRight;
}

int TrGroupBox::CollapsedSize() const
{
    int size = FFrameType == ftNone ? FScaledCaptionHeight + 1 : FScaledCaptionHeight + 3;
    if (FFrameType == ft3D || FFrameType == ftDoubleLine)
        size += 2;
    return size;
}

void TrGroupBox::MoveToSize(int Size, bool Horizontal)
{
    TRect target = BoundsRect();
    if (Horizontal)
        target.Right = target.Left + Size;
    else
        target.Bottom = target.Top + Size;
    if (FMinimizeAnimate)
        AnimateResize(this, target);
    else
        SetBoundsRect(target);
}

void TrGroupBox::SetMinimized(bool Value)
{
    if (Value == FMinimized || Align() == alClient)
        return;
    if (Value)
        Minimize();
    else
        Restore();
}

void TrGroupBox::Minimize()
{
    FMinimizing = true;
    FChildVisibility.clear();
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        FChildVisibility.push_back(c->Visible());
        if (c->Align() != alNone)
            c->Hide();
    }
    const bool horizontal = IsHorizontal();
    OriginSize = int(std::nearbyint((horizontal ? FWidth : FHeight) / FScaleRatio));
    const int collapsed = CollapsedSize();
    MoveToSize(collapsed, horizontal);
    FMinimized = true;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (horizontal || c->Align() != alNone || c->Top() + c->Height() > collapsed)
            c->Hide();
    }
    Invalidate();
    FMinimizing = false;
    if (OnMinimizeChange)
        OnMinimizeChange(this);
}

void TrGroupBox::Restore()
{
    FMinimizing = true;
    const bool horizontal = IsHorizontal();
    const int h = FScaledCaptionHeight;
    int size = S(OriginSize);
    if (OriginSize < h + 4) {
        // No size was recorded: measure the children. The result is already in
        // screen pixels and is not scaled again.
        int extent = h + 16;
        for (int i = 0; i < ControlCount(); ++i) {
            const TControl* c = Controls(i);
            extent = std::max(extent, horizontal ? c->Left() + c->Width() : c->Top() + c->Height());
        }
        size = extent + 8;
        OriginSize = int(std::nearbyint(size / FScaleRatio));
    }
    FMinimized = false;
    MoveToSize(size, horizontal);
    for (int i = 0; i < ControlCount() && i < int(FChildVisibility.size()); ++i)
        Controls(i)->SetVisible(FChildVisibility[size_t(i)]);
    Invalidate();
    FMinimizing = false;
    if (OnMinimizeChange)
        OnMinimizeChange(this);
    RefreshAutoPosition();
}

void TrGroupBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomGroupBox::MouseDown(Button, Shift, X, Y);
    const TRect hit = (Shift & ssDouble) ? Rect(0, 0, FWidth, FScaledCaptionHeight) : FButtonRect;
    if (FMinMaxBtnType != mmbNone && hit.Contains({X, Y}))
        SetMinimized(!FMinimized);
}

void TrGroupBox::CheckAutoMinimize()
{
    if (AutoMinimizeTime == 0 && AutoMaximizeTime == 0)
        return;
    const TPoint p = ScreenToClient(CursorPosSource ? CursorPosSource() : MouseCursorPos());
    const bool over = ClientRect().Contains(p);
    const bool shouldChange = (over && FMinimized) || (!over && !FMinimized);
    if (!shouldChange) {
        FHasLastTick = false;
        return;
    }
    const int64_t now = TickSource ? TickSource() : TickCount();
    if (!FHasLastTick) {
        FLastTick = now;
        FHasLastTick = true;
        return;
    }
    if (now - FLastTick > int64_t(FMinimized ? AutoMaximizeTime : AutoMinimizeTime)) {
        SetMinimized(!FMinimized);
        FHasLastTick = false;
    }
}

// ---- scaling and resizing ----------------------------------------------------------------------

void TrGroupBox::ChangeScale(int M, int D)
{
    TCustomGroupBox::ChangeScale(M, D);
    FScaleRatio = FScaleRatio * M / D;
    FScaledCaptionHeight = S(FCaptionHeight);
    if (!FCaptionParentFont) {
        auto handler = std::move(FCaptionFont.OnChange);
        FCaptionFont.SetHeight(MulDiv(FCaptionFont.Height(), M, D));
        FCaptionFont.OnChange = std::move(handler);
    }
    if (OnChangeScale)
        OnChangeScale(M, D, false, FScaleRatio);
}

void TrGroupBox::Resize()
{
    if (FLayoutNow || FAutoResizeChild->AutoResizeDelay() <= 0)
        RefreshAutoPosition();
    else {
        FTimer->SetEnabled(false);
        FTimer->SetInterval(FAutoResizeChild->AutoResizeDelay());
        FTimer->SetEnabled(true);
    }
    TCustomGroupBox::Resize();
}
