#include "components/framed/FcButton.h"

#include "components/framed/FcFrames.h"
#include "components/framed/FcGrafx.h"
#include "components/framed/FcLegacyProps.h"
#include "components/framed/FcSystem.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

namespace {

// Whether the keyboard moved the focus since the program started: focus
// rectangles and accelerator underlines show only after that.
bool GKeyboardCues = false;

}  // namespace

bool KeyboardCuesShown()
{
    return GKeyboardCues;
}

void NoteKeyboardNavigation(Word Key, TShiftState Shift)
{
    if (Key == VK_TAB || Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN || (Shift & ssAlt))
        GKeyboardCues = true;
}

bool TFcCustomButton::ReadLegacyProperty(const QString& Name, const QString& Value)
{
    if (Name.compare(LegacyHotTrackName(), Qt::CaseInsensitive) != 0)
        return false;
    SetHotTrack(LegacyBool(Value));
    return true;
}

TFcCustomButton::TFcCustomButton(TComponent* AOwner) : TCustomControl(AOwner)
{
    FcCommonInitialize();
    SetBounds(0, 0, 115, 17);
    SetTabStop(true);
}

#define FC_BUTTON_SETTER(Name, Type, Field)         \
    void TFcCustomButton::Set##Name(Type Value)     \
    {                                               \
        if (Field == Value)                         \
            return;                                 \
        Field = Value;                              \
        Invalidate();                               \
    }
FC_BUTTON_SETTER(AlignmentVertical, TAlignmentVertical, FAlignmentVertical)
FC_BUTTON_SETTER(HotTrackColor, TColor, FHotTrackColor)
FC_BUTTON_SETTER(HotTrackColorType, TFcHotTrackColorType, FHotTrackColorType)
FC_BUTTON_SETTER(HighlightColor, TColor, FHighlightColor)
FC_BUTTON_SETTER(LightTextStyle, bool, FLightTextStyle)
FC_BUTTON_SETTER(TextStyle, TTextStyle, FTextStyle)
FC_BUTTON_SETTER(TextHighlightColor, TColor, FTextHighlightColor)
FC_BUTTON_SETTER(TextShadowColor, TColor, FTextShadowColor)
FC_BUTTON_SETTER(TextShadowDepth, int, FTextShadowDepth)
FC_BUTTON_SETTER(HotTrack, bool, FHotTrack)
FC_BUTTON_SETTER(ThemeAware, bool, FThemeAware)
#undef FC_BUTTON_SETTER

void TFcCustomButton::SetTransparent(bool Value)
{
    if (Transparent() != Value)
        TCustomControl::SetTransparent(Value);
}

bool TFcCustomButton::UseThemes() const
{
    return FThemeAware && ActiveStyleServicesEnabled();
}

bool TFcCustomButton::ShowAccel() const
{
    return GKeyboardCues;
}

bool TFcCustomButton::ShowFocus() const
{
    return GKeyboardCues;
}

void TFcCustomButton::HotTrackColors(TColor& Start, TColor& Stop) const
{
    if (FHotTrackColorType == htctActual) {
        Start = BlendColors(clWhite, FHotTrackColor, 190);
        Stop = FHotTrackColor;
    } else {
        Start = ComplementaryColor(FHotTrackColor, 180);
        Stop = DarkerColor(Start, 30);
    }
}

void TFcCustomButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && Enabled()) {
        if (CanFocus())
            SetFocus();
        if (Focused() || !CanFocus()) {
            FShowDownVersion = true;
            UpdateDisplay();
            FDragging = true;
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TFcCustomButton::MouseMove(TShiftState Shift, int X, int Y)
{
    if (FDragging) {
        const bool inside = X >= 0 && X < ClientWidth() && Y >= 0 && Y < ClientHeight();
        if (inside != FShowDownVersion) {
            FShowDownVersion = inside;
            UpdateDisplay();
        }
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TFcCustomButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FDragging) {
        FDragging = false;
        FShowDownVersion = false;
        if (X >= 0 && X < ClientWidth() && Y >= 0 && Y < ClientHeight())
            ChangeState();
        UpdateDisplay();
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TFcCustomButton::MouseEnter()
{
    FMouseOverButton = true;
    if (FHotTrack || UseThemes())
        Invalidate();
    TCustomControl::MouseEnter();
}

void TFcCustomButton::MouseLeave()
{
    FMouseOverButton = false;
    if (FHotTrack || UseThemes())
        Invalidate();
    TCustomControl::MouseLeave();
}

void TFcCustomButton::KeyDown(Word& Key, TShiftState Shift)
{
    NoteKeyboardNavigation(Key, Shift);
    TCustomControl::KeyDown(Key, Shift);
}

void TFcCustomButton::EnabledChanged()
{
    TCustomControl::EnabledChanged();
    Invalidate();
}

void TFcCustomButton::TextChanged()
{
    Repaint();
}

void TFcCustomButton::DoEnter()
{
    TCustomControl::DoEnter();
    RepaintDisplay();
}

void TFcCustomButton::DoExit()
{
    TCustomControl::DoExit();
    RepaintDisplay();
}

void TFcCustomButton::Draw3DText(TCanvas* C, TRect R, unsigned Flags)
{
    // 1.
    C->Brush()->SetStyle(bsClear);
    C->SetFont(*Font());
    // 2.
    QString text = Caption();
    if (!ShowAccel()) {
        text = RemoveAccelerators(text);
        Flags |= DT_NOPREFIX;
    }
    // mirrored buttons read right to left
    if (UseRightToLeftAlignment())
        Flags |= DT_RTLREADING;
    // 3.
    TRect m = R;
    const int h = C->DrawText(text, m, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | DT_CENTER);
    // 4.
    switch (FAlignmentVertical) {
    case avTop: R.Bottom = R.Top + h; break;
    case avCenter: R.Top = (R.Top + R.Bottom - h) / 2; R.Bottom = R.Top + h; break;
    case avBottom: R.Top = R.Bottom - h - 1; break;
    }
    auto pass = [&](TColor color, int dx, int dy) {
        TRect r = R;
        r.Offset(dx, dy);
        C->Font()->SetColor(color);
        C->DrawText(text, r, Flags);
    };
    if (Enabled()) {
        // 7.
        if (FTextStyle == tsRaised || FTextStyle == tsRecessed) {
            const TColor ul = FTextStyle == tsRaised ? FTextHighlightColor : FTextShadowColor;
            const TColor lr = FTextStyle == tsRaised ? FTextShadowColor : FTextHighlightColor;
            if (FTextStyle == tsRecessed || !FLightTextStyle)
                pass(lr, 1, 1);
            if (FTextStyle == tsRaised || !FLightTextStyle)
                pass(ul, -1, -1);
        } else if (FTextStyle == tsShadow) {
            pass(FTextShadowColor, (Flags & DT_RIGHT) ? 0 : FTextShadowDepth, FTextShadowDepth);
        }
        C->Font()->SetColor(Font()->Color());
        if (Flags & DT_RIGHT)
            R.Offset(-FTextShadowDepth, 0);
    } else {
        // 8.
        C->Font()->SetColor(ColorsTooClose(Color(), clGrayText) ? cl3DDkShadow : clGrayText);
    }
    // 9.
    C->DrawText(text, R, Flags);
    C->Brush()->SetStyle(bsSolid);
}

// ---- TFcButton ---------------------------------------------------------------------------

TFcButton::TFcButton(TComponent* AOwner) : TFcCustomButton(AOwner)
{
    SetBounds(0, 0, 75, 25);
    SetColor(clBtnFace);
}

TFcButton::~TFcButton() = default;

void TFcButton::SetAlignment(TAlignment Value)
{
    if (FAlignment != Value) {
        FAlignment = Value;
        Invalidate();
    }
}

void TFcButton::SetDefault(bool Value)
{
    FDefault = Value;
    TCustomForm* f = GetParentForm(this);
    FocusChanged(f ? f->ActiveControl() : nullptr);
    Invalidate();
}

void TFcButton::FocusChanged(TWinControl* NewFocus)
{
    const auto* target = dynamic_cast<TDialogKeyTarget*>(NewFocus);
    const bool pushButton = (target && target->IsPushButton()) || dynamic_cast<TButton*>(NewFocus);
    const bool active = pushButton ? NewFocus == this : FDefault;
    if (active != FActive) {
        FActive = active;
        Invalidate();
    }
}

bool TFcButton::DialogChar(Word Key, TShiftState)
{
    if (!IsAccel(Key, Caption()) || !CanFocus())
        return false;
    Click();
    return true;
}

void TFcButton::SetAllowAllUp(bool Value)
{
    if (FAllowAllUp != Value) {
        FAllowAllUp = Value;
        UpdateExclusive();
    }
}

void TFcButton::SetGroupIndex(int Value)
{
    if (FGroupIndex != Value) {
        FGroupIndex = Value;
        UpdateExclusive();
    }
}

void TFcButton::SetDown(bool Value)
{
    if (FGroupIndex == 0)
        Value = false;
    if (Value == FDown)
        return;
    if (FDown && !FAllowAllUp && FGroupIndex != 0)
        return;
    FDown = Value;
    FState = Value ? bsExclusive : bsUp;
    Invalidate();
    if (Value)
        UpdateExclusive();
}

void TFcButton::UpdateExclusive()
{
    if (FGroupIndex == 0 || !Parent())
        return;
    for (int i = 0; i < Parent()->ControlCount(); ++i)
        if (auto* b = dynamic_cast<TFcButton*>(Parent()->Controls(i)))
            b->ButtonPressed(FGroupIndex, this);
}

void TFcButton::ButtonPressed(int GroupIndex, TFcButton* Sender)
{
    if (Sender == this || GroupIndex != FGroupIndex)
        return;
    if (Sender->FDown && FDown) {
        FDown = false;
        FState = bsUp;
        Invalidate();
    }
    FAllowAllUp = Sender->FAllowAllUp;
}

#define FC_PUSH_SETTER(Name, Type, Field)       \
    void TFcButton::Set##Name(Type Value)       \
    {                                           \
        if (Field == Value)                     \
            return;                             \
        Field = Value;                          \
        Invalidate();                           \
    }
FC_PUSH_SETTER(FrameColor, TColor, FFrameColor)
FC_PUSH_SETTER(ShowDownPattern, bool, FShowDownPattern)
FC_PUSH_SETTER(ShowFocusRect, bool, FShowFocusRect)
#undef FC_PUSH_SETTER

void TFcButton::SetHotTrack(bool Value)
{
    TFcCustomButton::SetHotTrack(Value);
    SetTransparent(Value);
    Invalidate();
}

void TFcButton::ChangeState()
{
    if (FGroupIndex != 0)
        SetDown(!FDown);
    else
        UpdateDisplay();
    FClicking = true;
    try {
        Click();
    } catch (...) {
        FClicking = false;
        throw;
    }
    FClicking = false;
}

void TFcButton::Click()
{
    TCustomForm* f = GetParentForm(this);
    if (f && FModalResult != 0)
        f->SetModalResult(FModalResult);
    TFcCustomButton::Click();
}

bool TFcButton::DialogKey(Word Key, TShiftState Shift)
{
    if (Shift != 0 || !CanFocus())
        return false;
    if ((Key == VK_RETURN && FActive) || (Key == VK_ESCAPE && FCancel)) {
        Click();
        return true;
    }
    return false;
}

void TFcButton::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_SPACE && !(Shift & ssAlt)) {
        FKeyToggle = true;
        FShowDownVersion = true;
        UpdateDisplay();
    }
    TFcCustomButton::KeyDown(Key, Shift);
}

void TFcButton::KeyUp(Word& Key, TShiftState Shift)
{
    if (Key == VK_SPACE) {
        FShowDownVersion = false;
        if (FKeyToggle) {
            FKeyToggle = false;
            ChangeState();
        }
        UpdateDisplay();
    }
    TFcCustomButton::KeyUp(Key, Shift);
}

void TFcButton::DoEnter()
{
    // a focused push button takes the default role (also when the window learns of the focus late)
    FocusChanged(this);
    TFcCustomButton::DoEnter();
}

void TFcButton::DoExit()
{
    FKeyToggle = false;
    FShowDownVersion = false;
    UpdateDisplay();
    TFcCustomButton::DoExit();
}

bool TFcButton::Pressed() const
{
    return FState == bsDown || FState == bsExclusive || FShowDownVersion;
}

TRect TFcButton::GetCaptionRect()
{
    TRect r = ClientRect();
    r.Inflate(-5, -5);
    if (!FHotTrack && !UseThemes()) {
        const bool down = FGroupIndex != 0 ? Pressed() : FShowDownVersion;
        if (down)
            r.Offset(1, 1);
    }
    return r;
}

void TFcButton::DrawButtonContent()
{
    const unsigned flags = DrawTextAlignments[BiDiAlignment(FAlignment)] | DT_WORDBREAK | DT_EXPANDTABS;
    Draw3DText(Canvas(), GetCaptionRect(), flags);
}

void TFcButton::PaintHotTrack(TRect R)
{
    TCanvas* c = Canvas();
    // 1. the recessed outer ring
    const TColor p = Parent() ? Parent()->Color() : clBtnFace;
    const TColor dark = Enabled() ? DarkerColor(p, 20) : p, light = Enabled() ? LighterColor(p, 20) : p;
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(dark);
    c->FillRect(Rect(R.Left, R.Top + 2, R.Left + 1, R.Bottom - 2));
    c->FillRect(Rect(R.Left + 2, R.Top, R.Right - 2, R.Top + 1));
    c->SetPixel(R.Left + 1, R.Top + 1, ColorToRGB(dark));
    c->SetPixel(R.Right - 2, R.Top + 1, ColorToRGB(dark));
    c->SetPixel(R.Left + 1, R.Bottom - 2, ColorToRGB(dark));
    c->Brush()->SetColor(light);
    c->FillRect(Rect(R.Right - 1, R.Top + 2, R.Right, R.Bottom - 2));
    c->FillRect(Rect(R.Left + 2, R.Bottom - 1, R.Right - 2, R.Bottom));
    c->SetPixel(R.Right - 2, R.Bottom - 2, ColorToRGB(light));
    R.Inflate(-1, -1);
    // 2. the frame with cut corners
    const TColor frame = Enabled() ? FFrameColor
                                   : (Color() == clBtnFace ? LighterColor(clBtnShadow, 30) : DarkerColor(Color(), 80));
    c->Brush()->SetColor(frame);
    c->FillRect(Rect(R.Left + 1, R.Top, R.Right - 1, R.Top + 1));
    c->FillRect(Rect(R.Left + 1, R.Bottom - 1, R.Right - 1, R.Bottom));
    c->FillRect(Rect(R.Left, R.Top + 1, R.Left + 1, R.Bottom - 1));
    c->FillRect(Rect(R.Right - 1, R.Top + 1, R.Right, R.Bottom - 1));
    R.Inflate(-1, -1);
    // 3./4. the face
    if (!Enabled() || Pressed()) {
        c->Brush()->SetColor(Enabled() ? DarkerColor(Color(), 10) : Color());
        c->FillRect(R);
    } else {
        c->Brush()->SetColor(DarkerColor(Color(), 20));
        c->FillRect(Rect(R.Left, R.Bottom - 2, R.Right, R.Bottom - 1));
        c->Brush()->SetColor(DarkerColor(Color(), 30));
        c->FillRect(Rect(R.Left, R.Bottom - 1, R.Right, R.Bottom));
        const TRect face(R.Left, R.Top, R.Right, R.Bottom - 2);
        if (FullColorSupported) {
            PaintGradient(c, face, gdHorizontalEnd, LighterColor(Color(), 30), DarkerColor(Color(), 10), 1);
        } else {
            c->Brush()->SetColor(Color());
            c->FillRect(face);
        }
    }
    // 5. the highlight ring
    if (!Enabled())
        return;
    if (FMouseOverButton) {
        TColor start, stop;
        HotTrackColors(start, stop);
        DrawHighlightBox(c, R, gdHorizontalEnd, start, stop);
    } else if (FGroupIndex == 0 && (FActive || Focused()) && !FShowDownVersion) {
        const TColor l = LighterColor(Color(), 30);
        TColor h = FHighlightColor;
        if (ColorsTooClose(h, clBtnFace))
            h = DarkerColor(h, 30);
        DrawHighlightBox(c, R, gdHorizontalEnd, BlendColors(h, l, 60), BlendColors(h, l, 160));
    }
}

void TFcButton::PaintClassic(TRect& R)
{
    TCanvas* c = Canvas();
    if (FGroupIndex == 0 && (((FActive || Focused()) && !FShowDownVersion) || FClicking))
        R = DrawSides(c, R, clWindowFrame, clWindowFrame, sdAllSides);
    if (Color() == clBtnFace) {
        R = FGroupIndex == 0 ? DrawButtonBorder(c, R, FShowDownVersion)
                             : DrawBorder(c, R, Pressed() ? fsLowered : fsButtonUp);
    } else if (FGroupIndex == 0) {
        R = DrawColorButtonBorder(c, R, Color(), FShowDownVersion);
    } else {
        R = Pressed() ? DrawColorBorder(c, R, Color(), fsLowered) : DrawColorButtonBorder(c, R, Color(), false);
    }
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(R);
}

void TFcButton::Paint()
{
    TCanvas* c = Canvas();
    // 1.
    TRect focus = ClientRect();
    const int inset = (FHotTrack || UseThemes()) ? 3 : 4;
    focus.Inflate(-inset, -inset);
    if (FGroupIndex != 0 && Pressed())
        focus.Offset(1, 1);
    // 2.
    TRect r = ClientRect();
    if (UseThemes()) {
        // 3.
        TThemedState s = tsNormal;
        if (!Enabled())
            s = tsDisabled;
        else if (Pressed())
            s = tsPressed;
        else if (FMouseOverButton)
            s = tsHot;
        else if (FGroupIndex == 0 && (FActive || Focused()) && !FShowDownVersion)
            s = tsDefaulted;
        DrawParentImage(this, c);
        DrawThemedPushButton(c, r, s);
    } else if (FHotTrack) {
        DrawParentImage(this, c);
        PaintHotTrack(r);
    } else {
        PaintClassic(r);
    }
    // 6. the pattern of a button held down in its group
    if (FGroupIndex != 0 && FState == bsExclusive && FShowDownPattern) {
        const TColor dots = ColorToRGB(Color()) == clSilver ? clGray : clSilver;
        TRect in = r;
        if (FHotTrack || UseThemes())
            in.Inflate(-2, -2);
        for (int y = in.Top; y < in.Bottom; ++y)
            for (int x = in.Left + ((y - in.Top) % 2); x < in.Right; x += 2)
                c->SetPixel(x, y, dots);
    }
    // 7.
    c->SetFont(*Font());
    c->Brush()->SetColor(Color());
    DrawButtonContent();
    // 8.
    if (ShowFocus() && Focused() && FShowFocusRect)
        DrawFocusBorder(c, focus, clNone);
}
