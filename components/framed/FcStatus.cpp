#include "components/framed/FcStatus.h"

#include "components/framed/FcFrames.h"
#include "components/framed/FcStatusBar.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowSizing.h"

#include <algorithm>

// ---- TFcCustomStatusPane --------------------------------------------------------

TFcCustomStatusPane::TFcCustomStatusPane(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FcCommonInitialize();
    SetBounds(0, 0, 100, 20);
    SetParentColor(true);
    FFillColor = Color();
    FFontColor = Font()->Color();
    FCurrentColor = FFontColor;
    TGraphicControl::SetTransparent(true);
    RegisterBlinkingControl(this);
}

TFcCustomStatusPane::~TFcCustomStatusPane()
{
    if (FFrameController)
        FFrameController->RemoveControl(this);
    UnregisterBlinkingControl(this);
}

void TFcCustomStatusPane::SetText(const QString& Value)
{
    if (Value == Text())
        return;
    TGraphicControl::SetText(Value);
}

void TFcCustomStatusPane::TextChanged()
{
    Invalidate();
    AdjustBounds();
}

void TFcCustomStatusPane::SetAlignment(TAlignment Value)
{
    if (FAlignment != Value) {
        FAlignment = Value;
        Invalidate();
    }
}

void TFcCustomStatusPane::SetAutoSize(bool Value)
{
    if (FAutoSize != Value) {
        FAutoSize = Value;
        AdjustBounds();
    }
}

void TFcCustomStatusPane::SetDefaultWidth(int Value)
{
    if (FDefaultWidth != Value) {
        FDefaultWidth = Value;
        AdjustBounds();
    }
}

void TFcCustomStatusPane::SetBlinking(bool Value)
{
    if (FBlinking == Value)
        return;
    FBlinking = Value;
    if (!Value) {
        FBlinkState = bsOff;
        NormalColor();
        Invalidate();
    }
}

void TFcCustomStatusPane::SetBlinkColor(TColor Value)
{
    if (FBlinkColor != Value) {
        FBlinkColor = Value;
        Invalidate();
    }
}

int TFcCustomStatusPane::GetBlinkIntervalOff() const
{
    return BlinkingControls ? BlinkingControls->IntervalOff() : 500;
}

void TFcCustomStatusPane::SetBlinkIntervalOff(int Value)
{
    if (BlinkingControls)
        BlinkingControls->SetIntervalOff(uint16_t(Value));
}

int TFcCustomStatusPane::GetBlinkIntervalOn() const
{
    return BlinkingControls ? BlinkingControls->IntervalOn() : 500;
}

void TFcCustomStatusPane::SetBlinkIntervalOn(int Value)
{
    if (BlinkingControls)
        BlinkingControls->SetIntervalOn(uint16_t(Value));
}

#define FC_PANE_SETTER(Name, Type, Field)                \
    void TFcCustomStatusPane::Set##Name(Type Value)      \
    {                                                    \
        if (Field == Value || !InFrameStyleRange(Value)) \
            return;                                      \
        Field = Value;                                   \
        Invalidate();                                    \
    }
FC_PANE_SETTER(CaptionOffset, int, FCaptionOffset)
FC_PANE_SETTER(FlatColor, TColor, FFlatColor)
FC_PANE_SETTER(FlatColorAdjustment, int, FFlatColorAdjustment)
FC_PANE_SETTER(FrameStyle, TFrameStyle, FFrameStyle)
#undef FC_PANE_SETTER

void TFcCustomStatusPane::SetBorderWidth(int Value)
{
    if (FBorderWidth != Value) {
        FBorderWidth = Value;
        Invalidate();
        AdjustBounds();
    }
}

void TFcCustomStatusPane::SetFillColor(TColor Value)
{
    FParentFillColor = false;
    if (FFillColor != Value) {
        FFillColor = Value;
        Invalidate();
    }
}

void TFcCustomStatusPane::SetParentFillColor(bool Value)
{
    if (FParentFillColor == Value)
        return;
    FParentFillColor = Value;
    if (Value) {
        FFillColor = Color();
        Invalidate();
    }
}

void TFcCustomStatusPane::SetTransparent(bool Value)
{
    if (Transparent() != Value)
        TGraphicControl::SetTransparent(Value);
}

void TFcCustomStatusPane::SetFrameController(TFcFrameController* Value)
{
    ChangeFrameController(this, FFrameController, Value);
}

void TFcCustomStatusPane::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFrameController)
        FFrameController = nullptr;
}

void TFcCustomStatusPane::CustomFramingChanged()
{
    const TFcFrameController* c = FFrameController;
    if (!c || !c->FrameVisible())
        return;
    const TFcFrameControllerNotifications n = FrameControllerNotifications;
    if (HasNotification(n, fcpFrameStyle))
        FFrameStyle = c->FrameStyle();
    if (HasNotification(n, fcpFrameColor)) {
        FFlatColor = c->FrameColor();
        FFlatColorAdjustment = 0;
    }
    if (HasNotification(n, fcpColor))
        SetFillColor(c->Color());
    if (HasNotification(n, fcpParentColor))
        SetParentColor(c->ParentColor());
    Invalidate();
}

void TFcCustomStatusPane::NormalColor()
{
    FCurrentColor = FFontColor;
}

void TFcCustomStatusPane::Blink(bool ShowBlinkColor)
{
    if (!FBlinking)
        return;
    if (ShowBlinkColor) {
        FBlinkState = bsOn;
        FCurrentColor = FBlinkColor;
    } else {
        FBlinkState = bsOff;
        NormalColor();
    }
    Repaint();
}

void TFcCustomStatusPane::FontChanged()
{
    // the web connection pane turns red and back: the next paint uses the new colour
    FFontColor = Font()->Color();
    if (!FBlinking)
        NormalColor();
    TGraphicControl::FontChanged();
    AdjustBounds();
}

void TFcCustomStatusPane::ColorChanged()
{
    if (FParentFillColor)
        FFillColor = Color();
    TGraphicControl::ColorChanged();
}

void TFcCustomStatusPane::Loaded()
{
    TGraphicControl::Loaded();
    FFontColor = Font()->Color();
    // a pane with a colour of its own fills its area
    if (!ParentColor())
        SetTransparent(false);
}

void TFcCustomStatusPane::ParentColorChanged()
{
    TGraphicControl::ParentColorChanged();
    if (FParentFillColor)
        FFillColor = Color();
}

bool TFcCustomStatusPane::ExecuteHint(const QString& Hint)
{
    if (!AutoHint)
        return false;
    SetCaption(Hint);
    return true;
}

TFcStatusBar* TFcCustomStatusPane::StatusBar() const
{
    return dynamic_cast<TFcStatusBar*>(Parent());
}

bool TFcCustomStatusPane::Themed() const
{
    const TFcStatusBar* bar = StatusBar();
    return bar && bar->VisualStyle() == vsWinXP && ActiveStyleServicesEnabled();
}

int TFcCustomStatusPane::GetMinWidth()
{
    if (Text().isEmpty())
        return FDefaultWidth;
    TBitmap b(1, 1);
    b.Canvas()->SetFont(*Font());
    TRect r(0, 0, 0, 0);
    b.Canvas()->DrawText(Text(), r, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | DT_SINGLELINE);
    return r.Width() + 2 * FBorderWidth + FCaptionOffset + 6;
}

void TFcCustomStatusPane::AdjustBounds()
{
    if (Loading() || !FAutoSize)
        return;
    SetWidth(GetMinWidth());
}

TRect TFcCustomStatusPane::GetCaptionRect()
{
    TRect r = ClientRect();
    int frame = 2;
    switch (FFrameStyle) {
    case fsNone: frame = 0; break;
    case fsFlat:
    case fsStatus:
    case fsPopup: frame = 1; break;
    default: break;
    }
    r.Inflate(-(FBorderWidth + frame), -(FBorderWidth + frame));
    return r;
}

bool TFcCustomStatusPane::UnderSizeGrip() const
{
    const TFcStatusBar* bar = StatusBar();
    if (!bar || !bar->ShowSizeGrip())
        return false;
    // both in the bar's coordinates: the pane's right edge at the bar's right client edge
    TRect client = bar->ClientRect();
    client.Inflate(-bar->BorderWidth(), -bar->BorderWidth());
    return Left() + Width() >= client.Right;
}

bool TFcCustomStatusPane::OverSizeGrip(int X, int Y) const
{
    const TFcStatusBar* bar = StatusBar();
    if (!UnderSizeGrip() || !bar->SizeGripValid())
        return false;
    return bar->SizeGripRect().Contains(Point(Left() + X, Top() + Y));
}

void TFcCustomStatusPane::MouseMove(TShiftState Shift, int X, int Y)
{
    ShowCursorShape(OverSizeGrip(X, Y) ? crSizeNWSE : Cursor());
    TGraphicControl::MouseMove(Shift, X, Y);
}

void TFcCustomStatusPane::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && OverSizeGrip(X, Y)) {
        StartWindowSizingFromCorner(GetParentForm(this));
        return;
    }
    TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TFcCustomStatusPane::Paint()
{
    DrawStatusBorder();
    DrawCaption(Text());
}

void TFcCustomStatusPane::DrawStatusBorder()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    // 1. the visual style's pane
    if (Themed()) {
        DrawThemedStatusPane(c, Rect(r.Left, r.Top + 2, r.Right, r.Bottom), false);
        return;
    }
    // 2. the fill
    if (!Transparent()) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(Color());
        c->FillRect(r);
    }
    // 3.
    r.Inflate(-FBorderWidth, -FBorderWidth);
    // 4. on a gradient bar only a divider left of every pane but the first
    const TFcStatusBar* bar = StatusBar();
    if (bar && bar->VisualStyle() == vsGradient) {
        if (Left() > bar->BorderWidth() + bar->Padding.Left) {
            TColor stop, start, frame;
            GetGradientStatusBarColors(bar->GradientColorStyle(), stop, start, frame);
            c->Brush()->SetStyle(bsSolid);
            c->Brush()->SetColor(frame);
            c->FillRect(Rect(r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1));
        }
        return;
    }
    // 5. the frame
    const TColor flat = UsingSystemStyle() ? AdjustColor(FFlatColor, FFlatColorAdjustment) : clGrayText;
    if (FFrameStyle == fsFlat) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(flat);
        c->FillRect(Rect(r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1));
        c->FillRect(Rect(r.Left + 1, r.Top, r.Right - 1, r.Top + 1));
        c->FillRect(Rect(r.Left + 1, r.Bottom - 1, r.Right - 1, r.Bottom));
        c->FillRect(Rect(r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1));
    } else if (FFrameStyle == fsFlatBold) {
        DrawBevel(c, r, flat, flat, 2, sdAllSides);
    } else {
        DrawBorder(c, r, FFrameStyle);
    }
}

void TFcCustomStatusPane::DrawCaption(const QString& Text)
{
    TCanvas* c = Canvas();
    // 1.
    const TRect r = GetCaptionRect();
    c->SetFont(*Font());
    // 2. the anchor
    const int textW = c->TextWidth(Text);
    int x;
    switch (BiDiAlignment(FAlignment)) {
    case taLeftJustify: x = r.Left + FCaptionOffset + 1; break;
    case taRightJustify: x = r.Right - FCaptionOffset - 1 - textW; break;
    default: x = r.Left + r.Width() / 2 - textW / 2; break;
    }
    const int y = r.Top + (r.Height() - c->TextHeight(QStringLiteral("Pp"))) / 2;
    // 3. the background
    c->Brush()->SetStyle(bsClear);
    if (Themed()) {
        const TFcStatusBar* bar = StatusBar();
        TBitmap scratch(bar->Width(), bar->Height());
        DrawThemedStatusBar(scratch.Canvas(), Rect(0, 0, bar->Width(), bar->Height()));
        c->CopyRect(r, scratch.Canvas(), Bounds(Left() + r.Left, Top() + r.Top, r.Width(), r.Height()));
    } else if (!Transparent()) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(FFillColor);
        c->FillRect(r);
    }
    // 4. the colour
    c->Font()->SetColor(Enabled() ? FCurrentColor : clGrayText);
    // 5. one line clipped to the caption rectangle
    c->Brush()->SetStyle(bsClear);
    c->TextRect(r, x, y, Text);
    c->Brush()->SetStyle(bsSolid);
}

// ---- the polling list -------------------------------------------------------------

TFcPollingList* PollingControls = nullptr;

TFcPollingList::TFcPollingList() : FTimer(std::make_unique<TTimer>(nullptr))
{
    FTimer->SetInterval(500);
    FTimer->OnTimer = [this](TComponent*) { TimerFired(); };
    FTimer->SetEnabled(true);
}

TFcPollingList::~TFcPollingList() = default;

void TFcPollingList::Add(TFcPollingStatus* Pane)
{
    FControls.push_back(Pane);
}

void TFcPollingList::Remove(TFcPollingStatus* Pane)
{
    FControls.erase(std::remove(FControls.begin(), FControls.end(), Pane), FControls.end());
}

bool TFcPollingList::GetEnabled() const
{
    return FTimer->Enabled();
}

void TFcPollingList::SetEnabled(bool Value)
{
    FTimer->SetEnabled(Value);
}

int TFcPollingList::GetInterval() const
{
    return FTimer->Interval();
}

void TFcPollingList::SetInterval(int Value)
{
    FTimer->SetInterval(Value);
}

void TFcPollingList::TimerFired()
{
    const std::vector<TFcPollingStatus*> panes = FControls;
    for (TFcPollingStatus* p : panes)
        if (p->Visible())
            p->TimerExpired();
}

// ---- TFcPollingStatus -----------------------------------------------------------------

TFcPollingStatus::TFcPollingStatus(TComponent* AOwner) : TFcCustomStatusPane(AOwner)
{
    if (!PollingControls)
        PollingControls = new TFcPollingList;
    PollingControls->Add(this);
}

TFcPollingStatus::~TFcPollingStatus()
{
    PollingControls->Remove(this);
    if (PollingControls->GetCount() == 0) {
        delete PollingControls;
        PollingControls = nullptr;
    }
}

bool TFcPollingStatus::GetActive() const
{
    return PollingControls->GetEnabled();
}

void TFcPollingStatus::SetActive(bool Value)
{
    PollingControls->SetEnabled(Value);
}

int TFcPollingStatus::GetInterval() const
{
    return PollingControls->GetInterval();
}

void TFcPollingStatus::SetInterval(int Value)
{
    PollingControls->SetInterval(Value);
}

void TFcPollingStatus::TimerExpired()
{
    if (OnTimerExpired)
        OnTimerExpired(this);
}

// ---- TFcClockStatus ---------------------------------------------------------------------

namespace {

// The Finnish date and time as the desktop shows them (the clock's default text).
const QString DefaultClockFormat = QStringLiteral("d.m.yyyy h:nn:ss");

}  // namespace

TFcClockStatus::TFcClockStatus(TComponent* AOwner) : TFcPollingStatus(AOwner)
{
    SetWidth(150);
}

void TFcClockStatus::SetFormat(const QString& Value)
{
    if (FFormat == Value)
        return;
    FFormat = Value;
    SetCurrentDateTimeStr();
    Invalidate();
}

void TFcClockStatus::Loaded()
{
    TFcPollingStatus::Loaded();
    SetCurrentDateTimeStr();
}

void TFcClockStatus::TimerExpired()
{
    SetCurrentDateTimeStr();
    TFcPollingStatus::TimerExpired();
}

void TFcClockStatus::SetCurrentDateTimeStr()
{
    TDateTime now = Now();
    if (OnGetDateTime)
        OnGetDateTime(this, now);
    const QString text = FormatDateTime(FFormat.isEmpty() ? DefaultClockFormat : FFormat, now);
    if (text == FDateTimeStr)
        return;
    FDateTimeStr = text;
    TFcPollingStatus::SetText(text);
}

TRect TFcClockStatus::GetCaptionRect()
{
    TRect r = TFcPollingStatus::GetCaptionRect();
    if (UnderSizeGrip())
        r.Right -= 12;
    return r;
}

void TFcClockStatus::Paint()
{
    if (Text() != FDateTimeStr)
        TGraphicControl::SetText(FDateTimeStr);
    TFcPollingStatus::Paint();
}
