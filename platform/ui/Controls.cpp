#include "platform/ui/Controls.h"

#include "platform/ui/ActnList.h"
#include "platform/ui/ControlWidget.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"

#include <QApplication>
#include <QCursor>
#include <QFrame>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>

// ---- TControl -------------------------------------------------------------------

TControl::TControl(TComponent* AOwner) : TComponent(AOwner)
{
    FFont.OnChange = [this] {
        if (FUpdatingFont)
            return;
        FParentFont = false;
        FontChanged();
    };
}

TControl::~TControl()
{
    if (FAction)
        FAction->UnregisterClient(this);
    if (FParent)
        FParent->RemoveControl(this);
    delete FWidget;
    FWidget = nullptr;
}

QWidget* TControl::CreateWidget()
{
    return new TControlWidget(this, true);
}

void TControl::EnsureWidget() const
{
    if (FWidget)
        return;
    auto* self = const_cast<TControl*>(this);
    FWidget = self->CreateWidget();
    TControlBridge::Attach(FWidget, self, dynamic_cast<TControlWidget*>(FWidget) == nullptr);
    if (FParent)
        FWidget->setParent(FParent->ClientWidget());
    self->ApplyGeometry();
    FWidget->setEnabled(FEnabled);
    self->FontChanged();
    self->ColorChanged();
    if (UseRightToLeftAlignment())
        FWidget->setLayoutDirection(Qt::RightToLeft);
    if (FCursor != crDefault)
        self->SetCursor(FCursor);
    if (FParent)
        FWidget->setVisible(FVisible);
    if (auto* w = dynamic_cast<TWinControl*>(self); w && !w->FCtl3D)
        w->Ctl3DChanged();
}

QWidget* TControl::Widget() const
{
    EnsureWidget();
    return FWidget;
}

TCustomForm* TControl::ParentForm() const
{
    const TControl* c = this;
    while (c) {
        if (auto* f = dynamic_cast<const TCustomForm*>(c))
            return const_cast<TCustomForm*>(f);
        c = c->FParent;
    }
    return nullptr;
}

void TControl::SetParent(TWinControl* AParent)
{
    if (FParent == AParent)
        return;
    TWinControl* old = FParent;
    if (FParent)
        FParent->RemoveControl(this);
    if (AParent)
        AParent->InsertControl(this);
    if (FWidget) {
        FWidget->setParent(AParent ? AParent->ClientWidget() : nullptr);
        ApplyGeometry();
        if (AParent)
            FWidget->setVisible(FVisible);
    } else if (AParent) {
        EnsureWidget();
    }
    if (AParent) {
        if (FParentFont)
            ParentFontChanged();
        if (FParentColor)
            ParentColorChanged();
        if (FParentBiDiMode)
            ParentBiDiModeChanged();
        if (FParentShowHint)
            ParentShowHintChanged();
        if (auto* w = dynamic_cast<TWinControl*>(this))
            w->ParentCtl3DChanged();
        RequestAlign();
        AParent->AdjustSize();
    }
    if (old)
        old->AdjustSize();
}

void TControl::ApplyGeometry()
{
    if (FWidget)
        FWidget->setGeometry(FLeft, FTop, std::max(0, FWidth), std::max(0, FHeight));
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (Constraints.MinWidth > 0)
        AWidth = std::max(AWidth, Constraints.MinWidth);
    if (Constraints.MaxWidth > 0)
        AWidth = std::min(AWidth, Constraints.MaxWidth);
    if (Constraints.MinHeight > 0)
        AHeight = std::max(AHeight, Constraints.MinHeight);
    if (Constraints.MaxHeight > 0)
        AHeight = std::min(AHeight, Constraints.MaxHeight);
    const bool moved = ALeft != FLeft || ATop != FTop;
    const bool sized = AWidth != FWidth || AHeight != FHeight;
    if (!moved && !sized)
        return;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (FParent && !FParent->FRealigning) {
        FAnchorRight = FParent->ClientWidth() - (FLeft + FWidth);
        FAnchorBottom = FParent->ClientHeight() - (FTop + FHeight);
    }
    ApplyGeometry();
    if (sized) {
        if (auto* w = dynamic_cast<TWinControl*>(this))
            w->Realign();
        Resize();
    }
    RequestAlign();
    if (FParent)
        FParent->AdjustSize();
}

TRect TControl::ClientRect() const
{
    return Rect(0, 0, FWidth, FHeight);
}

void TControl::SetClientWidth(int V)
{
    SetWidth(FWidth - ClientWidth() + V);
}

void TControl::SetClientHeight(int V)
{
    SetHeight(FHeight - ClientHeight() + V);
}

TPoint TControl::ClientOrigin() const
{
    const QPoint p = Widget()->mapToGlobal(QPoint(0, 0));
    return {p.x(), p.y()};
}

TPoint TControl::ClientToScreen(const TPoint& P) const
{
    const QPoint p = Widget()->mapToGlobal(QPoint(P.X, P.Y));
    return {p.x(), p.y()};
}

TPoint TControl::ScreenToClient(const TPoint& P) const
{
    const QPoint p = Widget()->mapFromGlobal(QPoint(P.X, P.Y));
    return {p.x(), p.y()};
}

void TControl::SetAlign(TAlign Value)
{
    if (FAlign == Value)
        return;
    FAlign = Value;
    RequestAlign();
}

void TControl::SetAnchors(TAnchors Value)
{
    FAnchors = Value;
}

void TControl::SetAlignWithMargins(bool V)
{
    FAlignWithMargins = V;
    RequestAlign();
}

void TControl::RequestAlign()
{
    if (FParent && (FAlign != alNone || FParent->FRealigning == false))
        if (FAlign != alNone)
            FParent->Realign();
}

void TControl::BringToFront()
{
    if (FWidget)
        FWidget->raise();
    if (FParent) {
        auto& v = FParent->FControls;
        v.erase(std::find(v.begin(), v.end(), this));
        v.push_back(this);
    }
}

void TControl::SendToBack()
{
    if (FWidget)
        FWidget->lower();
    if (FParent) {
        auto& v = FParent->FControls;
        v.erase(std::find(v.begin(), v.end(), this));
        v.insert(v.begin(), this);
    }
}

void TControl::SetVisible(bool Value)
{
    if (FVisible == Value)
        return;
    FVisible = Value;
    if (FWidget && (FParent || dynamic_cast<TCustomForm*>(this) == nullptr))
        FWidget->setVisible(Value);
    VisibleChanged();
    if (FAlign != alNone)
        RequestAlign();
    if (FParent)
        FParent->AdjustSize();
}

bool TControl::Showing() const
{
    return FWidget && FWidget->isVisible();
}

void TControl::SetEnabled(bool Value)
{
    if (FEnabled == Value)
        return;
    FEnabled = Value;
    if (FWidget)
        FWidget->setEnabled(Value);
    EnabledChanged();
    Invalidate();
}

void TControl::SetParentFont(bool Value)
{
    FParentFont = Value;
    if (Value)
        ParentFontChanged();
}

void TControl::ParentFontChanged()
{
    if (!FParentFont || !FParent)
        return;
    FUpdatingFont = true;
    FFont.Assign(*FParent->Font());
    FUpdatingFont = false;
    FontChanged();
}

void TControl::SetColor(TColor Value)
{
    if (FColor == Value)
        return;
    FColor = Value;
    FParentColor = false;
    ColorChanged();
}

void TControl::SetParentColor(bool Value)
{
    FParentColor = Value;
    if (Value)
        ParentColorChanged();
}

void TControl::ParentColorChanged()
{
    if (!FParentColor || !FParent)
        return;
    FColor = FParent->Color();
    ColorChanged();
}

TAlignment MirroredAlignment(TAlignment Value)
{
    if (Value == taLeftJustify)
        return taRightJustify;
    if (Value == taRightJustify)
        return taLeftJustify;
    return Value;
}

TAlignment TControl::BiDiAlignment(TAlignment Value) const
{
    return UseRightToLeftAlignment() ? MirroredAlignment(Value) : Value;
}

unsigned TControl::DrawTextBiDiModeFlags(unsigned Flags) const
{
    if (UseRightToLeftAlignment()) {
        if (Flags & DT_RIGHT)
            Flags &= ~DT_RIGHT;
        else if (!(Flags & DT_CENTER))
            Flags |= DT_RIGHT;
    }
    return Flags | DrawTextBiDiModeFlagsReadingOnly();
}

void TControl::SetBiDiMode(TBiDiMode Value)
{
    FParentBiDiMode = false;
    if (FBiDiMode == Value)
        return;
    FBiDiMode = Value;
    BiDiModeChanged();
}

void TControl::SetParentBiDiMode(bool Value)
{
    FParentBiDiMode = Value;
    if (Value)
        ParentBiDiModeChanged();
}

void TControl::ParentBiDiModeChanged()
{
    if (!FParentBiDiMode || !FParent || FParent->BiDiMode() == FBiDiMode)
        return;
    FBiDiMode = FParent->BiDiMode();
    BiDiModeChanged();
}

void TControl::BiDiModeChanged()
{
    // native pieces inside the control (line edits, lists, scroll bars) follow the mirroring
    if (FWidget)
        FWidget->setLayoutDirection(UseRightToLeftAlignment() ? Qt::RightToLeft : Qt::LeftToRight);
    Invalidate();
}

void TControl::SetText(const QString& Value)
{
    if (FText == Value)
        return;
    FText = Value;
    TextChanged();
}

void TControl::SetHint(const QString& Value)
{
    // read when the mouse rests on the control (HoverHint), so nothing to pass on here
    FHint = Value;
}

void TControl::SetShowHint(bool Value)
{
    // a value chosen for the control itself ends following the parent, even an equal one
    FParentShowHint = false;
    if (FShowHint == Value)
        return;
    FShowHint = Value;
    if (auto* w = dynamic_cast<TWinControl*>(this))
        for (int i = 0; i < w->ControlCount(); ++i)
            w->Controls(i)->ParentShowHintChanged();
}

void TControl::SetParentShowHint(bool Value)
{
    if (FParentShowHint == Value)
        return;
    FParentShowHint = Value;
    if (Value)
        ParentShowHintChanged();
}

void TControl::ParentShowHintChanged()
{
    if (!FParentShowHint || !FParent)
        return;
    SetShowHint(FParent->ShowHint());
    FParentShowHint = true;
}

namespace {

Qt::CursorShape CursorShapeOf(TCursor C)
{
    switch (C) {
    case crCross:
        return Qt::CrossCursor;
    case crIBeam:
        return Qt::IBeamCursor;
    case crSizeNESW:
        return Qt::SizeBDiagCursor;
    case crSizeNS:
    case crVSplit:
        return Qt::SizeVerCursor;
    case crSizeNWSE:
        return Qt::SizeFDiagCursor;
    case crSizeWE:
    case crHSplit:
        return Qt::SizeHorCursor;
    case crUpArrow:
        return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait:
        return Qt::WaitCursor;
    case crAppStart:
        return Qt::BusyCursor;
    case crNo:
    case crNoDrop:
        return Qt::ForbiddenCursor;
    case crHelp:
        return Qt::WhatsThisCursor;
    case crHandPoint:
        return Qt::PointingHandCursor;
    case crSizeAll:
        return Qt::SizeAllCursor;
    case crNone:
        return Qt::BlankCursor;
    case crDrag:
    case crMultiDrag:
        return Qt::DragMoveCursor;
    default:
        return Qt::ArrowCursor;
    }
}

}  // namespace

Qt::CursorShape CursorShapeForScreen(TCursor C)
{
    return CursorShapeOf(C);
}

void TControl::SetCursor(TCursor Value)
{
    FCursor = Value;
    if (!FWidget)
        return;
    if (Value == crDefault)
        FWidget->unsetCursor();
    else
        FWidget->setCursor(CursorShapeOf(Value));
}

void TControl::ShowCursorShape(TCursor Value)
{
    if (!FWidget)
        return;
    if (Value == crDefault)
        FWidget->unsetCursor();
    else
        FWidget->setCursor(CursorShapeOf(Value));
}

void TControl::SetPopupMenu(TPopupMenu* Value)
{
    FPopupMenu = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TControl::SetTransparent(bool V)
{
    FTransparent = V;
    Invalidate();
}

void TControl::SetAction(TBasicAction* Value)
{
    if (FAction == Value)
        return;
    if (FAction)
        FAction->UnregisterClient(this);
    FAction = Value;
    if (FAction) {
        FAction->RegisterClient(this);
        FAction->FreeNotification(this);
        ActionChange(FAction, false);
    }
}

void TControl::ActionChange(TBasicAction* Sender, bool)
{
    auto* a = dynamic_cast<TCustomAction*>(Sender);
    if (!a)
        return;
    SetCaption(a->Caption());
    SetEnabled(a->Enabled());
    SetHint(a->Hint());
    SetVisible(a->Visible());
}

void TControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove) {
        if (AComponent == FPopupMenu)
            FPopupMenu = nullptr;
        if (AComponent == FAction)
            FAction = nullptr;
    }
}

void TControl::Loaded()
{
    TComponent::Loaded();
    RequestAlign();
    if (auto* w = dynamic_cast<TWinControl*>(this))
        w->AdjustSize();
}

void TControl::Invalidate()
{
    if (FWidget)
        FWidget->update();
}

void TControl::Update()
{
    if (FWidget)
        FWidget->repaint();
}

void TControl::Repaint()
{
    if (FWidget)
        FWidget->repaint();
}

void TControl::PaintTo(TBitmap* Target)
{
    QWidget* w = Widget();
    Target->SetSize(FWidth, FHeight);
    QImage& img = Target->Image();
    img.fill(ToQColor(FParent ? FParent->Color() : clBtnFace));
    w->render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
}

void TControl::ScaleBy(int M, int D)
{
    auto* w = dynamic_cast<TWinControl*>(this);
    if (w)
        w->DisableAlign();
    ChangeScale(M, D);
    if (w)
        w->EnableAlign();
}

void TControl::ChangeScale(int M, int D)
{
    if (M == D)
        return;
    FScaleRatio = FScaleRatio * M / D;
    SetBounds(MulDiv(FLeft, M, D), MulDiv(FTop, M, D), MulDiv(FWidth, M, D), MulDiv(FHeight, M, D));
    if (!FParentFont) {
        FUpdatingFont = true;
        FFont.SetHeight(MulDiv(FFont.Height(), M, D));
        FUpdatingFont = false;
        FontChanged();
    }
}

void TControl::PaintWindow(TCanvas*)
{
    Paint();
}

void TControl::FontChanged()
{
    if (FWidget && dynamic_cast<TControlWidget*>(FWidget) == nullptr)
        ApplyNativeLook(FWidget, this, FColor);
    Invalidate();
}

void TControl::ColorChanged()
{
    if (FWidget && dynamic_cast<TControlWidget*>(FWidget) == nullptr)
        ApplyNativeLook(FWidget, this, FColor);
    Invalidate();
}

void TControl::EnabledChanged() {}
void TControl::VisibleChanged() {}

void TControl::TextChanged()
{
    Invalidate();
}

void TControl::Click()
{
    if (FAction && OnClick == nullptr) {
        FAction->Execute();
        return;
    }
    if (OnClick)
        OnClick(this);
    else if (FAction)
        FAction->Execute();
}

void TControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TControl::MouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(this);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheel)
        OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
    return handled;
}

void TControl::DoContextPopup(TPoint MousePos, bool& Handled)
{
    if (OnContextPopup)
        OnContextPopup(this, MousePos, Handled);
}

void TControl::Resize()
{
    if (OnResize)
        OnResize(this);
}

bool TControl::MouseCapture() const
{
    return FWidget && QWidget::mouseGrabber() == FWidget;
}

void TControl::SetMouseCapture(bool Value)
{
    if (!FWidget)
        return;
    if (Value)
        FWidget->grabMouse();
    else if (QWidget::mouseGrabber() == FWidget)
        FWidget->releaseMouse();
}

// ---- TWinControl -------------------------------------------------------------------

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl()
{
    // the children go first, while this control's widget still holds theirs
    while (!FControls.empty())
        delete FControls.back();
}

QWidget* TWinControl::ClientWidget() const
{
    return Widget();
}

void TWinControl::InsertControl(TControl* AControl)
{
    AControl->FParent = this;
    FControls.push_back(AControl);
}

void TWinControl::RemoveControl(TControl* AControl)
{
    auto it = std::find(FControls.begin(), FControls.end(), AControl);
    if (it != FControls.end())
        FControls.erase(it);
    AControl->FParent = nullptr;
    if (AControl->FAlign != alNone)
        Realign();
}

bool TWinControl::ContainsControl(const TControl* Control) const
{
    while (Control && Control != this)
        Control = Control->Parent();
    return Control == this;
}

TControl* TWinControl::ControlAtPos(const TPoint& Pos, bool AllowDisabled) const
{
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (c->Visible() && (AllowDisabled || c->Enabled()) && c->BoundsRect().Contains(Pos))
            return c;
    }
    return nullptr;
}

TRect TWinControl::ClientRect() const
{
    return Rect(0, 0, FWidth, FHeight);
}

void TWinControl::AdjustClientRect(TRect& R)
{
    R.Inflate(-FBorderWidth, -FBorderWidth);
    R.Left += Padding.Left;
    R.Top += Padding.Top;
    R.Right -= Padding.Right;
    R.Bottom -= Padding.Bottom;
}

void TWinControl::EnableAlign()
{
    if (FAlignLevel > 0 && --FAlignLevel == 0)
        Realign();
}

void TWinControl::Realign()
{
    if (FAlignLevel > 0 || FRealigning || Loading())
        return;
    FRealigning = true;
    TRect r = ClientRect();
    AdjustClientRect(r);
    AlignControls(nullptr, r);
    FRealigning = false;
}

void TWinControl::AlignControls(TControl*, TRect& R)
{
    auto place = [](TControl* c, int l, int t, int w, int h) {
        if (c->FAlignWithMargins) {
            l += c->Margins.Left;
            t += c->Margins.Top;
            w -= c->Margins.Left + c->Margins.Right;
            h -= c->Margins.Top + c->Margins.Bottom;
        }
        c->SetBounds(l, t, std::max(0, w), std::max(0, h));
    };
    auto outerW = [](TControl* c) { return c->Width() + (c->FAlignWithMargins ? c->Margins.Left + c->Margins.Right : 0); };
    auto outerH = [](TControl* c) { return c->Height() + (c->FAlignWithMargins ? c->Margins.Top + c->Margins.Bottom : 0); };
    auto ofKind = [&](TAlign a) {
        std::vector<TControl*> v;
        for (TControl* c : FControls)
            if (c->FAlign == a && c->FVisible)
                v.push_back(c);
        std::stable_sort(v.begin(), v.end(), [a](TControl* x, TControl* y) {
            switch (a) {
            case alTop:
                return x->Top() < y->Top();
            case alBottom:
                return x->Top() + x->Height() > y->Top() + y->Height();
            case alLeft:
                return x->Left() < y->Left();
            case alRight:
                return x->Left() + x->Width() > y->Left() + y->Width();
            default:
                return false;
            }
        });
        return v;
    };
    for (TControl* c : ofKind(alTop)) {
        const int h = outerH(c);
        place(c, R.Left, R.Top, R.Width(), h);
        R.Top += h;
    }
    for (TControl* c : ofKind(alBottom)) {
        const int h = outerH(c);
        place(c, R.Left, R.Bottom - h, R.Width(), h);
        R.Bottom -= h;
    }
    for (TControl* c : ofKind(alLeft)) {
        const int w = outerW(c);
        place(c, R.Left, R.Top, w, R.Height());
        R.Left += w;
    }
    for (TControl* c : ofKind(alRight)) {
        const int w = outerW(c);
        place(c, R.Right - w, R.Top, w, R.Height());
        R.Right -= w;
    }
    for (TControl* c : ofKind(alClient))
        place(c, R.Left, R.Top, R.Width(), R.Height());
    // anchored controls keep their distance to the right and bottom edges
    for (TControl* c : FControls) {
        if (c->FAlign != alNone || c->FAnchorRight < 0)
            continue;
        int l = c->Left(), t = c->Top(), w = c->Width(), h = c->Height();
        const int right = ClientWidth() - c->FAnchorRight, bottom = ClientHeight() - c->FAnchorBottom;
        if (c->FAnchors & akRight) {
            if (c->FAnchors & akLeft)
                w = right - l;
            else
                l = right - w;
        }
        if (c->FAnchors & akBottom) {
            if (c->FAnchors & akTop)
                h = bottom - t;
            else
                t = bottom - h;
        }
        c->SetBounds(l, t, std::max(0, w), std::max(0, h));
    }
}

void TWinControl::SetBorderStyle(TBorderStyle Value)
{
    FBorderStyle = Value;
    Invalidate();
}

void TWinControl::SetCtl3D(bool Value)
{
    if (FCtl3D == Value)
        return;
    FCtl3D = Value;
    FParentCtl3D = false;
    ApplyCtl3D();
}

void TWinControl::SetParentCtl3D(bool Value)
{
    if (FParentCtl3D == Value)
        return;
    FParentCtl3D = Value;
    if (Value)
        ParentCtl3DChanged();
}

void TWinControl::ParentCtl3DChanged()
{
    if (!FParentCtl3D || !FParent || FCtl3D == FParent->FCtl3D)
        return;
    FCtl3D = FParent->FCtl3D;
    ApplyCtl3D();
}

void TWinControl::ApplyCtl3D()
{
    Ctl3DChanged();
    for (TControl* c : std::vector<TControl*>(FControls))
        if (auto* w = dynamic_cast<TWinControl*>(c))
            w->ParentCtl3DChanged();
}

void TWinControl::Ctl3DChanged()
{
    Invalidate();
    auto* frame = qobject_cast<QFrame*>(FWidget);
    if (!frame)
        return;
    // the widget's own sunken frame is remembered, so that it can come back
    const char* key = "sorvexCtl3DFrame";
    if (!frame->property(key).isValid()) {
        if (frame->frameShape() == QFrame::NoFrame)
            return;  // a widget without a border has nothing to flatten
        frame->setProperty(key, frame->frameStyle());
    }
    if (FCtl3D) {
        frame->setFrameStyle(frame->property(key).toInt());
    } else {
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
        frame->setLineWidth(1);
    }
}

void TWinControl::SetAutoSize(bool Value)
{
    if (FAutoSize == Value)
        return;
    FAutoSize = Value;
    AdjustSize();
}

bool TWinControl::CanAutoSize(int& NewWidth, int& NewHeight)
{
    int right = 0, bottom = 0;
    bool any = false;
    for (TControl* c : FControls) {
        if (!c->FVisible || c->FAlign == alClient)
            continue;
        any = true;
        const bool margins = c->FAlignWithMargins;
        // a child aligned to a side stretches along it and counts only across it
        if (c->FAlign != alTop && c->FAlign != alBottom)
            right = std::max(right, c->FLeft + c->FWidth + (margins ? c->Margins.Right : 0));
        if (c->FAlign != alLeft && c->FAlign != alRight)
            bottom = std::max(bottom, c->FTop + c->FHeight + (margins ? c->Margins.Bottom : 0));
    }
    if (!any)
        return false;
    // the border and the padding stay round the children
    TRect inner = ClientRect();
    AdjustClientRect(inner);
    if (right > 0)
        NewWidth = right + FWidth - inner.Right;
    if (bottom > 0)
        NewHeight = bottom + FHeight - inner.Bottom;
    return true;
}

void TWinControl::AdjustSize()
{
    if (!FAutoSize || FAutoSizing || Loading())
        return;
    int w = FWidth, h = FHeight;
    if (!CanAutoSize(w, h) || (w == FWidth && h == FHeight))
        return;
    FAutoSizing = true;
    try {
        SetBounds(FLeft, FTop, w, h);
    } catch (...) {
        FAutoSizing = false;
        throw;
    }
    FAutoSizing = false;
}

void TWinControl::SetBorderWidth(int Value)
{
    FBorderWidth = Value;
    Realign();
    Invalidate();
}

void TWinControl::SetTabStop(bool Value)
{
    FTabStop = Value;
    if (FWidget)
        FWidget->setFocusPolicy(Value ? Qt::StrongFocus : (dynamic_cast<TControlWidget*>(FWidget) ? Qt::ClickFocus : FWidget->focusPolicy()));
}

int TWinControl::TabOrder() const
{
    if (!FParent)
        return -1;
    int order = 0;
    for (TControl* c : FParent->FControls) {
        if (c == this)
            return order;
        if (dynamic_cast<TWinControl*>(c))
            ++order;
    }
    return -1;
}

void TWinControl::SetTabOrder(int Value)
{
    if (!FParent)
        return;
    auto& v = FParent->FControls;
    v.erase(std::find(v.begin(), v.end(), this));
    int order = 0;
    auto it = v.begin();
    for (; it != v.end(); ++it)
        if (dynamic_cast<TWinControl*>(*it) && order++ == Value)
            break;
    v.insert(it, this);
    // the widget chain follows the list
    QWidget* prev = nullptr;
    for (TControl* c : v)
        if (auto* w = dynamic_cast<TWinControl*>(c); w && w->FWidget) {
            if (prev)
                QWidget::setTabOrder(prev, w->FWidget);
            prev = w->FWidget;
        }
}

bool TWinControl::CanFocus() const
{
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return true;
}

void TWinControl::SetFocus()
{
    QWidget* w = Widget();
    if (w->focusPolicy() == Qt::NoFocus)
        w->setFocusPolicy(Qt::StrongFocus);
    w->setFocus(Qt::OtherFocusReason);
    if (TCustomForm* f = ParentForm(); f && f != this)
        f->FocusControlChanged(this);
}

bool TWinControl::Focused() const
{
    return FWidget && (FWidget->hasFocus() || (FWidget->focusProxy() && FWidget->focusProxy()->hasFocus()));
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool) const
{
    std::vector<TWinControl*> list;
    std::function<void(const TWinControl*)> collect = [&](const TWinControl* p) {
        for (TControl* c : p->FControls)
            if (auto* w = dynamic_cast<TWinControl*>(c)) {
                list.push_back(w);
                collect(w);
            }
    };
    collect(this);
    if (list.empty())
        return nullptr;
    int start = -1;
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i] == CurControl)
            start = int(i);
    const int n = int(list.size());
    for (int step = 1; step <= n; ++step) {
        int i = start < 0 ? (GoForward ? step - 1 : n - step) : ((start + (GoForward ? step : -step)) % n + n) % n;
        TWinControl* w = list[size_t(i)];
        if (w != CurControl && (!CheckTabStop || w->TabStop()) && w->CanFocus())
            return w;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop)
{
    if (TWinControl* w = FindNextControl(CurControl, GoForward, CheckTabStop, true))
        w->SetFocus();
}

void TControl::PostCall(std::function<void()> Call)
{
    QTimer::singleShot(0, Widget(), std::move(Call));
}

void TWinControl::PostTab(bool GoForward)
{
    QTimer::singleShot(0, Widget(), [this, GoForward] {
        TCustomForm* f = ParentForm();
        TWinControl* root = f ? static_cast<TWinControl*>(f) : this;
        root->SelectNext(this, GoForward, true);
    });
}

void TWinControl::KeyDown(Word& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(Word& Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(QChar& Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

void TWinControl::DoEnter()
{
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit)
        OnExit(this);
}

bool TWinControl::WantsKey(Word, TShiftState) const
{
    return false;
}

void TWinControl::CreateParams(TCreateParams& Params)
{
    Params.Caption = FText;
    Params.X = FLeft;
    Params.Y = FTop;
    Params.Width = FWidth;
    Params.Height = FHeight;
}

void TWinControl::CreateWnd()
{
    FParams = TCreateParams();
    CreateParams(FParams);
}

void TWinControl::RecreateWnd()
{
    CreateWnd();
    Invalidate();
}

void TWinControl::FontChanged()
{
    TControl::FontChanged();
    for (TControl* c : FControls)
        c->ParentFontChanged();
}

void TWinControl::BiDiModeChanged()
{
    TControl::BiDiModeChanged();
    for (TControl* c : std::vector<TControl*>(FControls))
        c->ParentBiDiModeChanged();
}

void TWinControl::ColorChanged()
{
    TControl::ColorChanged();
    for (TControl* c : FControls)
        c->ParentColorChanged();
}

void TWinControl::ChangeScale(int M, int D)
{
    TControl::ChangeScale(M, D);
    for (TControl* c : std::vector<TControl*>(FControls))
        c->ChangeScale(M, D);
}

void TWinControl::PaintBackground(TCanvas* ACanvas)
{
    if (FTransparent)
        return;
    ACanvas->Brush()->SetColor(FColor);
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->FillRect(Rect(0, 0, FWidth, FHeight));
}

void TWinControl::PaintWindow(TCanvas* ACanvas)
{
    PaintBackground(ACanvas);
    Paint();
}

// ---- TCustomControl / TGraphicControl ------------------------------------------------

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}

void TCustomControl::Paint() {}

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner)
{
    FParentColor = true;
}

void TGraphicControl::Paint() {}

// ---- helpers ---------------------------------------------------------------------------

bool IsAccel(Word VK, const QString& Caption)
{
    for (int i = 0; i + 1 < Caption.size(); ++i)
        if (Caption[i] == QLatin1Char('&')) {
            if (Caption[i + 1] == QLatin1Char('&')) {
                ++i;
                continue;
            }
            return Caption[i + 1].toUpper().unicode() == VK;
        }
    return false;
}

QString StripHotkey(const QString& Text)
{
    QString r;
    for (int i = 0; i < Text.size(); ++i) {
        if (Text[i] == QLatin1Char('&') && i + 1 < Text.size())
            ++i;
        else if (Text[i] == QLatin1Char('&'))
            continue;
        r += Text[i];
    }
    return r;
}

QString GetShortHint(const QString& Hint)
{
    const int i = Hint.indexOf(QLatin1Char('|'));
    return i < 0 ? Hint : Hint.left(i);
}

QString GetLongHint(const QString& Hint)
{
    const int i = Hint.indexOf(QLatin1Char('|'));
    return i < 0 ? Hint : Hint.mid(i + 1);
}

TShortCut ShortCut(Word Key, TShiftState Shift)
{
    TShortCut s = TShortCut(Key & 0xFF);
    if (Shift & ssShift)
        s |= scShift;
    if (Shift & ssCtrl)
        s |= scCtrl;
    if (Shift & ssAlt)
        s |= scAlt;
    return s;
}

void ShortCutToKey(TShortCut S, Word& Key, TShiftState& Shift)
{
    Key = S & 0xFF;
    Shift = 0;
    if (S & scShift)
        Shift |= ssShift;
    if (S & scCtrl)
        Shift |= ssCtrl;
    if (S & scAlt)
        Shift |= ssAlt;
}

namespace {

QString KeyName(Word K)
{
    if ((K >= '0' && K <= '9') || (K >= 'A' && K <= 'Z'))
        return QString(QChar(K));
    if (K >= VK_F1 && K <= VK_F12)
        return QStringLiteral("F%1").arg(K - VK_F1 + 1);
    switch (K) {
    case VK_BACK:
        return QStringLiteral("BkSp");
    case VK_TAB:
        return QStringLiteral("Tab");
    case VK_RETURN:
        return QStringLiteral("Enter");
    case VK_ESCAPE:
        return QStringLiteral("Esc");
    case VK_SPACE:
        return QStringLiteral("Space");
    case VK_PRIOR:
        return QStringLiteral("PgUp");
    case VK_NEXT:
        return QStringLiteral("PgDn");
    case VK_END:
        return QStringLiteral("End");
    case VK_HOME:
        return QStringLiteral("Home");
    case VK_LEFT:
        return QStringLiteral("Left");
    case VK_UP:
        return QStringLiteral("Up");
    case VK_RIGHT:
        return QStringLiteral("Right");
    case VK_DOWN:
        return QStringLiteral("Down");
    case VK_INSERT:
        return QStringLiteral("Ins");
    case VK_DELETE:
        return QStringLiteral("Del");
    default:
        return QString();
    }
}

}  // namespace

QString ShortCutToText(TShortCut S)
{
    const QString name = KeyName(S & 0xFF);
    if (name.isEmpty())
        return QString();
    QString r;
    if (S & scShift)
        r += QStringLiteral("Shift+");
    if (S & scCtrl)
        r += QStringLiteral("Ctrl+");
    if (S & scAlt)
        r += QStringLiteral("Alt+");
    return r + name;
}

TShortCut TextToShortCut(const QString& Text)
{
    TShortCut mods = 0;
    QString rest = Text;
    for (;;) {
        if (rest.startsWith(QLatin1String("Shift+"), Qt::CaseInsensitive)) {
            mods |= scShift;
            rest = rest.mid(6);
        } else if (rest.startsWith(QLatin1String("Ctrl+"), Qt::CaseInsensitive)) {
            mods |= scCtrl;
            rest = rest.mid(5);
        } else if (rest.startsWith(QLatin1String("Alt+"), Qt::CaseInsensitive)) {
            mods |= scAlt;
            rest = rest.mid(4);
        } else {
            break;
        }
    }
    for (int k = 1; k < 256; ++k)
        if (!KeyName(Word(k)).isEmpty() && KeyName(Word(k)).compare(rest, Qt::CaseInsensitive) == 0)
            return TShortCut(mods | k);
    return scNone;
}

Word QtKeyToVK(int K, bool Keypad)
{
    if (Keypad && K >= Qt::Key_0 && K <= Qt::Key_9)
        return Word(VK_NUMPAD0 + (K - Qt::Key_0));
    if ((K >= Qt::Key_0 && K <= Qt::Key_9) || (K >= Qt::Key_A && K <= Qt::Key_Z))
        return Word(K);
    if (K >= Qt::Key_F1 && K <= Qt::Key_F12)
        return Word(VK_F1 + (K - Qt::Key_F1));
    switch (K) {
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
        return VK_MENU;
    case Qt::Key_Pause:
        return VK_PAUSE;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_Asterisk:
        return VK_MULTIPLY;
    case Qt::Key_Plus:
        return Keypad ? VK_ADD : 0xBB;
    case Qt::Key_Minus:
        return Keypad ? VK_SUBTRACT : 0xBD;
    case Qt::Key_Menu:
        return VK_APPS;
    case Qt::Key_Comma:
        return 0xBC;
    case Qt::Key_Period:
        return Keypad ? VK_DECIMAL : 0xBE;
    default:
        return 0;
    }
}
