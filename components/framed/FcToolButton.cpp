#include "components/framed/FcToolButton.h"

#include "components/framed/FcFrames.h"
#include "components/framed/FcGrafx.h"
#include "components/framed/FcImageLink.h"
#include "components/framed/FcLegacyProps.h"
#include "components/framed/FcSystem.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"

qint64 FcTickCount()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed() + 1;  // never 0: 0 means "no menu closed yet"
}

TFcToolButton::TFcToolButton(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FcCommonInitialize();
    FSizing = true;
    SetBounds(0, 0, 25, 25);
    FSizing = false;
    SetColor(clBtnFace);
}

TFcToolButton::~TFcToolButton()
{
    UnlinkImageList(FImages);
    UnlinkImageList(FDisabledImages);
}

TFcToolbar* TFcToolButton::Toolbar() const
{
    return dynamic_cast<TFcToolbar*>(Parent());
}

TCustomImageList* TFcToolButton::ImageList() const
{
    if (FImages)
        return FImages;
    TFcToolbar* bar = Toolbar();
    return bar ? bar->Images() : nullptr;
}

TCustomImageList* TFcToolButton::DisabledImageList() const
{
    if (FDisabledImages)
        return FDisabledImages;
    TFcToolbar* bar = Toolbar();
    return bar ? bar->DisabledImages() : nullptr;
}

TSize TFcToolButton::GetImageSize() const
{
    TCustomImageList* list = ImageList();
    if (FImageIndex == -1 || !list)
        return {0, 0};
    return {list->Width(), list->Height()};
}

// ---- properties ------------------------------------------------------------------------

#define FC_TOOL_SETTER(Name, Type, Field)        \
    void TFcToolButton::Set##Name(Type Value)    \
    {                                            \
        if (Field == Value)                      \
            return;                              \
        Field = Value;                           \
        Invalidate();                            \
    }
FC_TOOL_SETTER(Alignment, TAlignment, FAlignment)
FC_TOOL_SETTER(Flat, bool, FFlat)
FC_TOOL_SETTER(ImageIndex, int, FImageIndex)
FC_TOOL_SETTER(DownIndex, int, FDownIndex)
FC_TOOL_SETTER(DisabledIndex, int, FDisabledIndex)
FC_TOOL_SETTER(HotIndex, int, FHotIndex)
FC_TOOL_SETTER(Spacing, int, FSpacing)
FC_TOOL_SETTER(ButtonTransparent, bool, FButtonTransparent)
FC_TOOL_SETTER(GradientColorStyle, TFcGradientColorStyle, FGradientColorStyle)
#undef FC_TOOL_SETTER

void TFcToolButton::SetLayout(TButtonLayout Value)
{
    FUseToolbarButtonLayout = false;
    if (FLayout != Value) {
        FLayout = Value;
        Invalidate();
    }
}

void TFcToolButton::SetShowCaption(bool Value)
{
    FUseToolbarShowCaption = false;
    if (FShowCaption != Value) {
        FShowCaption = Value;
        Invalidate();
    }
}

void TFcToolButton::SetVisualStyle(TFcVisualStyle Value)
{
    FUseToolbarVisualStyle = false;
    if (FVisualStyle != Value) {
        FVisualStyle = Value;
        Invalidate();
    }
}

void TFcToolButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    const bool resized = AWidth != Width() || AHeight != Height();
    if (!FSizing && !Loading() && resized)
        FUseToolbarButtonSize = false;
    TGraphicControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    // the bar places its buttons again: a wider one moves those after it
    if (resized && !Loading())
        if (TFcToolbar* bar = Toolbar())
            bar->PositionControls();
}

void TFcToolButton::SetUseToolbarButtonLayout(bool Value)
{
    if (FUseToolbarButtonLayout != Value) {
        FUseToolbarButtonLayout = Value;
        if (Parent())
            ToolbarChanged(tnButtonLayoutChanged);
    }
}

void TFcToolButton::SetUseToolbarButtonSize(bool Value)
{
    if (FUseToolbarButtonSize != Value) {
        FUseToolbarButtonSize = Value;
        if (Parent())
            ToolbarChanged(tnButtonSizeChanged);
    }
}

void TFcToolButton::SetUseToolbarShowCaption(bool Value)
{
    if (FUseToolbarShowCaption != Value) {
        FUseToolbarShowCaption = Value;
        if (Parent())
            ToolbarChanged(tnShowCaptionsChanged);
    }
}

void TFcToolButton::SetUseToolbarVisualStyle(bool Value)
{
    if (FUseToolbarVisualStyle != Value) {
        FUseToolbarVisualStyle = Value;
        if (Parent())
            ToolbarChanged(tnVisualStyleChanged);
    }
}

void TFcToolButton::SetToolStyle(TFcToolStyle Value)
{
    if (FToolStyle == Value)
        return;
    FToolStyle = Value;
    FGroupIndex = 0;
    if (!Loading()) {
        const bool keep = FUseToolbarButtonSize;
        SetWidth(Width() + (Value == tsDropDown ? 14 : -14));
        FUseToolbarButtonSize = keep;
    }
    Invalidate();
}

void TFcToolButton::SetGroupIndex(int Value)
{
    FGroupIndex = FToolStyle == tsDropDown ? 0 : Value;
    UpdateExclusive();
}

void TFcToolButton::SetAllowAllUp(bool Value)
{
    if (FAllowAllUp != Value) {
        FAllowAllUp = Value;
        UpdateExclusive();
    }
}

void TFcToolButton::SetDown(bool Value)
{
    if (FGroupIndex == 0)
        Value = false;
    if (Value == FDown || (FDown && !FAllowAllUp))
        return;
    FDown = Value;
    if (Value) {
        if (FState == tbsUp)
            Invalidate();
        FState = tbsExclusive;
        UpdateExclusive();
    } else {
        FState = tbsUp;
        Repaint();
    }
}

void TFcToolButton::UpdateExclusive()
{
    if (FGroupIndex == 0 || !Parent())
        return;
    for (int i = 0; i < Parent()->ControlCount(); ++i)
        if (auto* b = dynamic_cast<TFcToolButton*>(Parent()->Controls(i)))
            b->ButtonPressed(FGroupIndex, this);
}

void TFcToolButton::ButtonPressed(int GroupIndex, TFcToolButton* Sender)
{
    if (Sender == this || GroupIndex != FGroupIndex)
        return;
    if (Sender->FDown && FDown) {
        FDown = false;
        FState = tbsUp;
        Invalidate();
    }
    FAllowAllUp = Sender->FAllowAllUp;
}

void TFcToolButton::SetDropDownMenu(TPopupMenu* Value)
{
    FDropDownMenu = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TFcToolButton::SetImages(TCustomImageList* Value)
{
    LinkImageList(this, FImages, Value, [this] { ImagesChanged(); });
    ImagesChanged();
}

void TFcToolButton::ImagesChanged()
{
    // the button grows to hold the images (it then keeps a size of its own)
    if (FImages && (Width() < FImages->Width() || Height() < FImages->Height()))
        SetBounds(Left(), Top(), std::max(Width(), FImages->Width()), std::max(Height(), FImages->Height()));
    Invalidate();
}

void TFcToolButton::SetDisabledImages(TCustomImageList* Value)
{
    LinkImageList(this, FDisabledImages, Value, [this] { Invalidate(); });
}

bool TFcToolButton::ReadLegacyProperty(const QString& Name, const QString& Value)
{
    auto is = [&Name](const char* N) { return Name.compare(QLatin1String(N), Qt::CaseInsensitive) == 0; };
    if (is("GradientColorStart"))
        SelectionColorStart = LegacyColor(Value, SelectionColorStart);
    else if (is("GradientColorStop"))
        SelectionColorStop = LegacyColor(Value, SelectionColorStop);
    else if (is("FrameColor"))
        SelectionFrameColor = LegacyColor(Value, SelectionFrameColor);
    else if (is("UseGradients")) {
        if (LegacyBool(Value))
            SetVisualStyle(vsGradient);
    } else
        return false;
    Invalidate();
    return true;
}

void TFcToolButton::AssignTo(TCustomAction* Dest) const
{
    if (!Dest)
        return;
    Dest->SetCaption(Caption());
    Dest->SetHint(Hint());
    Dest->SetEnabled(Enabled());
    Dest->SetVisible(Visible());
    if (OnClick)
        Dest->OnExecute = OnClick;
    Dest->SetChecked(FDown);
    Dest->SetImageIndex(FImageIndex);
}

void TFcToolButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    const bool images = ForgetFreedImageList(FImages, AComponent);
    if (ForgetFreedImageList(FDisabledImages, AComponent) || images)
        Invalidate();
    if (AComponent == FDropDownMenu)
        FDropDownMenu = nullptr;
}

void TFcToolButton::ActionChange(TBasicAction* Sender, bool CheckDefaults)
{
    TGraphicControl::ActionChange(Sender, CheckDefaults);
    if (auto* a = dynamic_cast<TCustomAction*>(Sender)) {
        if (!CheckDefaults || !FDown)
            SetDown(a->Checked());
        if (!CheckDefaults || FImageIndex == -1)
            SetImageIndex(a->ImageIndex());
    }
}

// ---- the tool bar's settings ------------------------------------------------------------------

void TFcToolButton::PickupToolbarStyles()
{
    if (!Parent())
        return;
    for (TFcToolbarNotification n : {tnShowCaptionsChanged, tnButtonLayoutChanged, tnButtonSizeChanged, tnVisualStyleChanged})
        ToolbarChanged(n);
}

void TFcToolButton::ToolbarChanged(TFcToolbarNotification Notification)
{
    TFcToolbar* bar = Toolbar();
    if (!bar)
        return;
    switch (Notification) {
    case tnShowCaptionsChanged:
        if (FUseToolbarShowCaption) {
            SetShowCaption(bar->ShowButtonCaptions());
            FUseToolbarShowCaption = true;
        }
        break;
    case tnButtonLayoutChanged:
        if (FUseToolbarButtonLayout) {
            SetLayout(bar->ButtonLayout());
            FUseToolbarButtonLayout = true;
        }
        break;
    case tnButtonSizeChanged:
        if (FUseToolbarButtonSize) {
            int w = bar->ButtonWidth();
            if (FShowCaption) {
                TBitmap m(1, 1);
                m.Canvas()->SetFont(*Font());
                const int tw = m.Canvas()->TextWidth(Caption());
                if (FLayout == blGlyphTop || FLayout == blGlyphBottom)
                    w = std::max(w, tw + 8);
                else
                    w = std::max(w, GetImageSize().cx + tw + 12);
            }
            if (FToolStyle == tsDropDown)
                w += 14;
            FSizing = true;
            SetBounds(Left(), Top(), w, bar->ButtonHeight());
            FSizing = false;
        }
        break;
    case tnVisualStyleChanged:
        if (FUseToolbarVisualStyle) {
            SetVisualStyle(bar->VisualStyle());
            SetGradientColorStyle(bar->GradientColorStyle());
            FUseToolbarVisualStyle = true;
        }
        break;
    }
}

void TFcToolButton::Loaded()
{
    TGraphicControl::Loaded();
    PickupToolbarStyles();
}

void TFcToolButton::SetParent(TWinControl* AParent)
{
    TGraphicControl::SetParent(AParent);
    if (!Loading())
        PickupToolbarStyles();
}

void TFcToolButton::TextChanged()
{
    PickupToolbarStyles();
    Invalidate();
}

// ---- mouse --------------------------------------------------------------------------------------

bool TFcToolButton::Split() const
{
    return FToolStyle == tsDropDown && (OnClick != nullptr || Action() != nullptr);
}

void TFcToolButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (FToolStyle == tsDropDown && FDropDownMenu && (Shift & ~ssDouble) == ssLeft && Button == mbLeft) {
        const bool onArrow = UseRightToLeftAlignment() ? X <= 14 : X >= Width() - 14;
        if (onArrow || (!OnClick && !Action())) {
            if (FDropTime != 0 && FcTickCount() < FDropTime + 100) {
                // the press that closed the menu does not open it again
                FTreatAsNormal = true;
                FDropTime = 0;
            } else {
                FState = tbsDropDown;
                Repaint();
                DoDropDown();
                FTreatAsNormal = false;
                FDropTime = FcTickCount();
            }
            MouseUp(Button, Shift, X, Y);
            return;
        }
    }
    if (FToolStyle == tsDropDown && !FTreatAsNormal) {
        FTreatAsNormal = true;
        return;
    }
    if (Button == mbLeft && Enabled()) {
        if (!FDown || FState == tbsExclusive) {
            FState = tbsDown;
            Invalidate();
        }
        FDragging = true;
    }
}

void TFcToolButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!FDragging)
        return;
    const bool inside = X >= 0 && X < ClientWidth() && Y >= 0 && Y < ClientHeight();
    const TFcToolButtonState s = FDown ? tbsExclusive : (inside ? tbsDown : tbsUp);
    if (s != FState) {
        FState = s;
        Invalidate();
    }
}

void TFcToolButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    const bool inside = X >= 0 && X < ClientWidth() && Y >= 0 && Y < ClientHeight();
    if (FDragging) {
        FDragging = false;
        bool click = inside;
        if (FGroupIndex == 0) {
            FState = tbsUp;
            if (inside)
                Repaint();
        } else if (inside) {
            const bool was = FDown;
            SetDown(!FDown);
            if (FDown == was)
                click = false;
            if (FDown) {
                FState = tbsExclusive;
                Repaint();
            }
        } else {
            if (FDown)
                FState = tbsExclusive;
            Repaint();
        }
        if (click)
            Click();
    }
    if (FToolStyle == tsDropDown) {
        if (!inside)
            FTreatAsNormal = true;
        FState = tbsUp;
        Repaint();
    }
}

void TFcToolButton::MouseEnter()
{
    FMouseOverButton = true;
    Repaint();
    TGraphicControl::MouseEnter();
}

void TFcToolButton::MouseLeave()
{
    if (!FInDoDropDown) {
        FMouseOverButton = false;
        Repaint();
    }
    TGraphicControl::MouseLeave();
}

void TFcToolButton::Click()
{
    if (FToolStyle == tsButton || FTreatAsNormal)
        TGraphicControl::Click();
}

void TFcToolButton::DropDown()
{
    if (OnDropDown)
        OnDropDown(FDropDownMenu);
}

int TFcToolButton::GetMenuWidth() const
{
    TBitmap m(1, 1);
    m.Canvas()->SetFont(*Screen->MenuFont());
    int w = 0;
    TMenuItem* items = FDropDownMenu->Items();
    for (int i = 0; items && i < items->Count(); ++i)
        w = std::max(w, m.Canvas()->TextWidth(items->Items(i)->Caption()));
    return w + 56;
}

void TFcToolButton::DoDropDown()
{
    if (!FDropDownMenu)
        return;
    FInDoDropDown = true;
    try {
        DropDown();
        int x = 0;
        switch (FDropDownMenu->Alignment) {
        case paLeft: x = UseRightToLeftAlignment() ? Width() : 0; break;
        case paRight: x = UseRightToLeftAlignment() ? 0 : Width(); break;
        case paCenter: x = Width() / 2; break;
        }
        TPoint p = ClientToScreen(Point(x, Height()));
        const int m = GetMenuWidth();
        const int monitor = GetMonitorContainingPoint(p);
        if (FDropDownMenu->Alignment == paLeft) {
            const int limit = monitor >= 0 ? GetMonitorWorkArea(monitor).Right : GetActiveWorkAreaWidth(Parent());
            if (p.X + m > limit)
                p.X = limit - m;
        } else if (FDropDownMenu->Alignment == paRight) {
            const int limit = monitor >= 0 ? GetMonitorWorkArea(monitor).Left : 0;
            if (p.X - m < limit)
                p.X = m + limit;
        }
        FDropDownMenu->SetPopupComponent(this);
        FDropDownMenu->Popup(p.X, p.Y);
    } catch (...) {
        FInDoDropDown = false;
        throw;
    }
    FInDoDropDown = false;
}

// ---- painting ------------------------------------------------------------------------------------

bool TFcToolButton::FaceShown() const
{
    return FState == tbsDown || FState == tbsExclusive || FState == tbsDropDown ||
           (FMouseOverButton && FState != tbsDisabled);
}

bool TFcToolButton::ShowsPressed() const
{
    return FState == tbsDown || FState == tbsExclusive || (FState == tbsDropDown && !OnClick && !Action());
}

void TFcToolButton::GradientColors(TColor& Frame, TColor& Start, TColor& Stop) const
{
    if (FGradientColorStyle == gcsCustom) {
        Frame = SelectionFrameColor;
        Start = SelectionColorStart;
        Stop = SelectionColorStop;
    } else {
        GetGradientSelectionColors(FGradientColorStyle, Frame, Start, Stop);
    }
}

void TFcToolButton::Paint()
{
    // 1.
    if (!Enabled()) {
        FState = tbsDisabled;
        FDragging = false;
    } else if (FState == tbsDisabled) {
        FState = FDown && FGroupIndex != 0 ? tbsExclusive : tbsUp;
    }
    TCanvas* c = Canvas();
    // 2.
    TRect r = ClientRect();
    DrawBtnBorder(r);
    // 3.
    if (!FButtonTransparent) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(Color());
        c->FillRect(r);
    }
    // 4. the pattern of a button held down
    const bool plain = FVisualStyle == vsClassic || (FVisualStyle == vsWinXP && !ThemeServicesEnabled());
    if (plain && FState == tbsExclusive && !(FFlat && FMouseOverButton)) {
        const TColor back = FButtonTransparent ? clBtnFace : Color();
        const TColor fore = FButtonTransparent ? clBtnHighlight : LighterColor(Color(), 20);
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                c->SetPixel(x, y, ColorToRGB(((x + y) % 2) ? fore : back));
    }
    // 5.
    if (FToolStyle == tsDropDown)
        DrawArrow();
    // 6.
    TRect image, caption;
    GetImageAndCaptionRects(image, caption);
    DrawImage(image);
    DrawCaption(caption);
}

void TFcToolButton::DrawBtnBorder(TRect& R)
{
    TCanvas* c = Canvas();
    const bool face = FaceShown();
    if (FVisualStyle == vsWinXP && ThemeServicesEnabled()) {
        TRect e = R;
        if (Split())
            TakeArrowPart(e);
        TThemedState s;
        if (FFlat) {
            if (!face)
                s = tsNormal;
            else if (FState == tbsDown || FState == tbsDropDown)
                s = tsPressed;
            else if (FState == tbsExclusive)
                s = FMouseOverButton ? tsCheckedHot : tsChecked;
            else
                s = tsHot;
            if (s != tsNormal)
                DrawThemedToolButton(c, e, s);
        } else if (!Enabled()) {
            DrawThemedPushButton(c, e, tsDisabled);
        } else {
            s = !face ? tsNormal : (FState == tbsUp || FState == tbsDisabled) ? tsHot : tsPressed;
            DrawThemedPushButton(c, e, s);
        }
        return;
    }
    if (!face && FFlat)
        return;
    switch (FVisualStyle) {
    case vsClassic:
        R = DrawBorder(c, R, (FState == tbsDown || FState == tbsExclusive) ? fsLowered : fsButtonUp);
        break;
    case vsWinXP:
        R = DrawBorder(c, R, (FState == tbsDown || FState == tbsExclusive) ? fsStatus : fsPopup);
        break;
    case vsGradient: {
        TColor frame, start, stop;
        GradientColors(frame, start, stop);
        R = DrawBox(c, R, frame);
        switch (FState) {
        case tbsDown:
        case tbsDropDown: PaintGradient(c, R, gdHorizontalEnd, stop, start); break;
        case tbsExclusive:
            if (FMouseOverButton)
                PaintGradient(c, R, gdHorizontalEnd, FDown ? stop : start, FDown ? start : stop);
            else
                PaintGradient(c, R, gdHorizontalEnd, DarkerColor(stop, 40), start);
            break;
        default: PaintGradient(c, R, gdHorizontalEnd, start, stop); break;
        }
        break;
    }
    }
}

void TFcToolButton::TakeArrowPart(TRect& R) const
{
    // the drop-down arrow has the right 14 pixels, the left ones when mirrored
    if (UseRightToLeftAlignment())
        R.Left += 14;
    else
        R.Right -= 14;
}

void TFcToolButton::GetImageAndCaptionRects(TRect& ImageRect, TRect& CaptionRect)
{
    // 1.
    TRect r = ClientRect();
    if (FToolStyle == tsDropDown)
        TakeArrowPart(r);
    r.Inflate(-2, -2);
    const TSize is = GetImageSize();
    const int iw = is.cx, ih = is.cy, s = FSpacing;
    TCanvas* c = Canvas();
    c->SetFont(*Font());
    int a;
    // 2./3.
    if (FShowCaption && !Caption().isEmpty()) {
        TRect t = r;
        switch (FLayout) {
        case blGlyphLeft: t.Left += iw; break;
        case blGlyphRight: t.Right -= iw; break;
        case blGlyphTop: t.Top += ih; break;
        case blGlyphBottom: t.Bottom -= ih; break;
        }
        c->DrawText(Caption(), t, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | DT_CENTER);
        const int tw = t.Width(), th = t.Height(), w = r.Width(), h = r.Height();
        int ix, iy, cx, cy;
        switch (FLayout) {
        case blGlyphLeft:
            ix = r.Left + (w - s - iw - tw) / 2;
            iy = r.Top + (h - ih) / 2;
            cx = ix + iw + s;
            cy = r.Top + (h - th) / 2;
            a = iw != 0 ? ix - s : ix;
            break;
        case blGlyphRight:
            cx = r.Left + (w - s - iw - tw) / 2;
            cy = r.Top + (h - th) / 2;
            ix = cx + tw + s;
            iy = r.Top + (h - ih) / 2;
            a = iw != 0 ? cx - s : cx;
            break;
        case blGlyphTop:
            ix = r.Left + (w - iw) / 2;
            iy = r.Top + (h - s - ih - th) / 2;
            cx = r.Left + (w - tw) / 2;
            cy = iy + ih + s;
            a = std::min(ix, cx) - s;
            break;
        default:  // blGlyphBottom
            ix = r.Left + (w - iw) / 2;
            iy = r.Bottom - ih - (h - s - ih - th) / 2;
            cx = r.Left + (w - tw) / 2;
            cy = iy - th - s;
            a = std::min(ix, cx) - s;
            break;
        }
        ImageRect = Rect(ix, iy, ix + iw, iy + ih);
        CaptionRect = Rect(cx, cy, cx + tw, cy + th);
    } else {
        // 4.
        ImageRect = CenterRect(r, iw, ih);
        CaptionRect = TRect();
        a = ImageRect.Left - s;
    }
    // 5.
    if (FAlignment == taLeftJustify) {
        ImageRect.Offset(-a, 0);
        CaptionRect.Offset(-a, 0);
    } else if (FAlignment == taRightJustify) {
        ImageRect.Offset(a, 0);
        CaptionRect.Offset(a, 0);
    }
    // 6.
    if (ShowsPressed() && FVisualStyle != vsGradient) {
        const int dy = FVisualStyle == vsWinXP && ThemeServicesEnabled() ? 0 : 1;
        ImageRect.Offset(1, dy);
        CaptionRect.Offset(1, dy);
    }
}

void TFcToolButton::DrawImage(const TRect& ImageRect)
{
    TCustomImageList* list = ImageList();
    if (!list || FImageIndex == -1)
        return;
    TCanvas* c = Canvas();
    const int x = ImageRect.Left, y = ImageRect.Top;
    if (Enabled()) {
        int index = FImageIndex;
        if (FDownIndex != -1 && ShowsPressed())
            index = FDownIndex;
        else if (FHotIndex != -1 && FMouseOverButton)
            index = FHotIndex;
        list->Draw(c, x, y, index, true);
    } else if (FDisabledIndex != -1) {
        list->Draw(c, x, y, FDisabledIndex, true);
    } else if (TCustomImageList* disabled = DisabledImageList()) {
        disabled->Draw(c, x, y, FImageIndex, true);
    } else {
        list->Draw(c, x, y, FImageIndex, false);
    }
}

void TFcToolButton::DrawCaption(const TRect& CaptionRect)
{
    if (!FShowCaption)
        return;
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsClear);
    c->SetFont(*Font());
    if (!Enabled())
        c->Font()->SetColor(clBtnShadow);
    else if (FVisualStyle != vsGradient && FState == tbsDown)
        c->Font()->SetColor(clHighlightText);
    TRect r = CaptionRect;
    c->DrawText(Caption(), r,
                DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_EXPANDTABS | (UseRightToLeftAlignment() ? DT_RTLREADING : 0u));
    c->Brush()->SetStyle(bsSolid);
}

void TFcToolButton::DrawArrow()
{
    TCanvas* c = Canvas();
    const bool rtl = UseRightToLeftAlignment();
    int x = rtl ? 14 : Width() - 14;
    const bool themed = FVisualStyle == vsWinXP && ThemeServicesEnabled();
    if (themed) {
        if (Split()) {
            const TRect part = rtl ? Rect(0, 0, 14, Height()) : Rect(x, 0, Width(), Height());
            TThemedState s = tsNormal;
            if (!Enabled())
                s = tsDisabled;
            else if (FState == tbsDown || FState == tbsDropDown)
                s = tsPressed;
            else if (FMouseOverButton)
                s = tsHot;
            // the split button's drop-down element carries its own arrow: no triangle here
            DrawThemedToolButton(c, part, s);
            ::DrawArrow(c, Rect(part.Left, part.Top + part.Height() / 2 - 3, part.Right, part.Top + part.Height() / 2 + 3),
                      akDown, s == tsDisabled ? clBtnShadow : clBtnText);
            return;
        }
    } else if (FState == tbsDropDown) {
        TRect r = ClientRect();
        if (Split() && rtl)
            r.Right = FVisualStyle == vsGradient ? 15 : 14;
        else if (Split())
            r.Left = Width() - (FVisualStyle == vsGradient ? 15 : 14);
        if (FVisualStyle == vsGradient) {
            TColor frame, start, stop;
            GradientColors(frame, start, stop);
            PaintGradient(c, DrawBox(c, r, frame), gdHorizontalEnd, stop, start);
        } else {
            DrawBorder(c, r, fsStatus);
        }
    } else if (Enabled() && (!FFlat || FMouseOverButton)) {
        if (FVisualStyle != vsGradient && FState == tbsDown)
            ++x;
        if (Split()) {
            c->Brush()->SetStyle(bsSolid);
            if (FVisualStyle == vsGradient) {
                TColor frame, start, stop;
                GetGradientSelectionColors(FGradientColorStyle, frame, start, stop);
                c->Brush()->SetColor(frame);
                c->FillRect(Rect(x - 1, 0, x, Height()));
            } else {
                if (FState != tbsDown) {
                    c->Brush()->SetColor(clBtnHighlight);
                    c->FillRect(Rect(x, 0, x + 1, Height()));
                }
                c->Brush()->SetColor(clBtnShadow);
                c->FillRect(Rect(x - 1, 0, x, Height()));
            }
        }
    }
    TColor color = FVisualStyle == vsGradient && FGradientColorStyle == gcsCustom ? Font()->Color() : clWindowText;
    if (!Enabled())
        color = clBtnShadow;
    int px = rtl ? 6 : ClientWidth() - 8, py = ClientHeight() / 2 + 2;
    if (FVisualStyle != vsGradient && (FState == tbsDown || FState == tbsDropDown)) {
        ++px;
        ++py;
    }
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetColor(color);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(color);
    c->Polygon({{px, py}, {px - 2, py - 2}, {px + 2, py - 2}});
}

bool TFcToolButton::DialogChar(Word Key, TShiftState)
{
    if (!IsAccel(Key, Caption()) || !Enabled() || !Visible() || !Parent() || !Parent()->Showing())
        return false;
    if (FToolStyle == tsButton || Split())
        Click();
    else
        DoDropDown();
    return true;
}
