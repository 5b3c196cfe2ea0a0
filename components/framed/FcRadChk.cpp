#include "components/framed/FcRadChk.h"

#include "platform/ui/ActnList.h"

#include "components/framed/FcFrames.h"
#include "components/framed/FcGrafx.h"
#include "components/framed/FcImageLink.h"
#include "platform/ui/ImgList.h"

// ---- TFcCustomGlyphButton ------------------------------------------------------------

TFcCustomGlyphButton::TFcCustomGlyphButton(TComponent* AOwner) : TFcCustomButton(AOwner)
{
    SetParentColor(true);
    FAutoSize = true;
    FCustomGlyphs.OnChange = [this] { CustomGlyphsChanged(); };
}

TFcCustomGlyphButton::~TFcCustomGlyphButton()
{
    UnlinkImageList(FCustomGlyphImages);
    if (FFrameController)
        FFrameController->RemoveControl(this);
}

#define FC_GLYPH_SETTER(Name, Type, Field)              \
    void TFcCustomGlyphButton::Set##Name(Type Value)    \
    {                                                   \
        if (Field == Value)                             \
            return;                                     \
        Field = Value;                                  \
        Invalidate();                                   \
    }
FC_GLYPH_SETTER(FrameColor, TColor, FFrameColor)
FC_GLYPH_SETTER(TransparentColor, TColor, FTransparentColor)
FC_GLYPH_SETTER(WinMaskColor, TColor, FWinMaskColor)
FC_GLYPH_SETTER(FillColor, TColor, FFillColor)
FC_GLYPH_SETTER(FocusColor, TColor, FFocusColor)
FC_GLYPH_SETTER(DisabledColor, TColor, FDisabledColor)
FC_GLYPH_SETTER(ReadOnlyColor, TColor, FReadOnlyColor)
FC_GLYPH_SETTER(ReadOnlyColorOnFocus, bool, FReadOnlyColorOnFocus)
FC_GLYPH_SETTER(HotTrackStyle, TFcButtonHotTrackStyle, FHotTrackStyle)
FC_GLYPH_SETTER(ReadOnly, bool, FReadOnly)
#undef FC_GLYPH_SETTER

void TFcCustomGlyphButton::SetAlignment(TAlignment Value)
{
    if (FAlignment != Value) {
        FAlignment = Value;
        AdjustSize();
        Invalidate();
    }
}

void TFcCustomGlyphButton::SetAutoSize(bool Value)
{
    if (FAutoSize != Value) {
        FAutoSize = Value;
        AdjustSize();
    }
}

void TFcCustomGlyphButton::SetWordWrap(bool Value)
{
    if (FWordWrap != Value) {
        FWordWrap = Value;
        AdjustSize();
        Invalidate();
    }
}

void TFcCustomGlyphButton::SetCustomGlyphs(const TBitmap* Value)
{
    if (Value)
        FCustomGlyphs.Assign(Value);
    else
        FCustomGlyphs.SetSize(0, 0);
    CustomGlyphsChanged();
}

void TFcCustomGlyphButton::SetCustomGlyphImages(TCustomImageList* Value)
{
    if (FCustomGlyphImages == Value)
        return;
    LinkImageList(this, FCustomGlyphImages, Value, [this] { CustomGlyphsChanged(); });
    CustomGlyphsChanged();
}

void TFcCustomGlyphButton::CustomGlyphsChanged()
{
    const bool images = FCustomGlyphImages && FCustomGlyphImages->Width() > 0 && FCustomGlyphImages->Height() > 0 &&
                        FCustomGlyphImages->Count() > 0;
    SetUseCustomGlyphs(images || !FCustomGlyphs.Empty());
}

void TFcCustomGlyphButton::SetUseCustomGlyphs(bool Value)
{
    FUseCustomGlyphs = Value;
    if (Value && FCustomGlyphImages && FCustomGlyphImages->Count() > 0) {
        FGlyphWidth = FCustomGlyphImages->Width();
        FGlyphHeight = FCustomGlyphImages->Height();
    } else if (Value) {
        FGlyphWidth = FCustomGlyphs.Width() / std::max(1, FNumGlyphs);
        FGlyphHeight = FCustomGlyphs.Height();
    } else {
        // the drawn glyph of the classic look stays 13 pixels
        FGlyphWidth = UseThemes() ? FThemedGlyphWidth : ThemedCheckSize;
        FGlyphHeight = UseThemes() ? FThemedGlyphHeight : ThemedCheckSize;
    }
    if (!Loading())
        AdjustSize();
    Invalidate();
}

void TFcCustomGlyphButton::SetFrameController(TFcFrameController* Value)
{
    ChangeFrameController(this, FFrameController, Value);
}

void TFcCustomGlyphButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TFcCustomButton::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FFrameController)
        FFrameController = nullptr;
    if (ForgetFreedImageList(FCustomGlyphImages, AComponent))
        CustomGlyphsChanged();
}

void TFcCustomGlyphButton::CustomFramingChanged()
{
    const TFcFrameController* c = FFrameController;
    if (!c || !c->FrameVisible())
        return;
    SetHotTrack(true);
    const TFcFrameControllerNotifications n = FrameControllerNotifications;
    if (HasNotification(n, fcpColor)) SetFillColor(c->Color());
    if (HasNotification(n, fcpFrameColor)) SetFrameColor(c->FrameColor());
    if (HasNotification(n, fcpFocusColor)) SetFocusColor(c->FocusColor());
    if (HasNotification(n, fcpDisabledColor)) SetDisabledColor(c->DisabledColor());
    if (HasNotification(n, fcpReadOnlyColor)) SetReadOnlyColor(c->ReadOnlyColor());
    if (HasNotification(n, fcpReadOnlyColorOnFocus)) SetReadOnlyColorOnFocus(c->ReadOnlyColorOnFocus());
    if (HasNotification(n, fcpFrameHotTrack)) SetHotTrackStyle(c->FrameHotTrack() ? htsFrame : htsInterior);
    if (HasNotification(n, fcpFrameHotColor) && FHotTrackStyle == htsFrame) SetHotTrackColor(c->FrameHotColor());
    Invalidate();
}

void TFcCustomGlyphButton::GetGlyphPosition(int& X, int& Y) const
{
    X = GlyphAtLeft() ? 0 : Width() - FGlyphWidth;
    switch (FAlignmentVertical) {
    case avTop: Y = 2; break;
    case avCenter: Y = (Height() - FGlyphHeight) / 2; break;
    case avBottom: Y = Height() - FGlyphHeight - 2; break;
    }
}

bool TFcCustomGlyphButton::GlyphAtLeft() const
{
    // mirrored, a caption right of the glyph moves to its left
    return UseRightToLeftAlignment() != (FAlignment == taRightJustify);
}

TAlignment TFcCustomGlyphButton::ControlsAlignment() const
{
    return UseRightToLeftAlignment() && FAlignment == taRightJustify ? taLeftJustify : taRightJustify;
}

TRect TFcCustomGlyphButton::GetHotTrackRect()
{
    int x, y;
    GetGlyphPosition(x, y);
    return Rect(x, y, x + FGlyphWidth, y + FGlyphHeight);
}

void TFcCustomGlyphButton::ChangeScale(int M, int D)
{
    TFcCustomButton::ChangeScale(M, D);
    if (M == D || !UseThemes())
        return;
    FThemedGlyphWidth = std::max(1, MulDiv(FThemedGlyphWidth, M, D) - 1);
    FThemedGlyphHeight = std::max(1, MulDiv(FThemedGlyphHeight, M, D) - 1);
    if (!FUseCustomGlyphs) {
        FGlyphWidth = FThemedGlyphWidth;
        FGlyphHeight = FThemedGlyphHeight;
    }
    // the base sized the box for the old glyph while it scaled the font
    AdjustSize();
    Invalidate();
}

void TFcCustomGlyphButton::AdjustSize()
{
    if (!FAutoSize || Loading())
        return;
    // 1.
    TRect c = ClientRect();
    c.Inflate(-1, -1);
    c.Right -= FGlyphWidth + 4;
    if (c.Width() < 2)
        c.Right = c.Left + 2;
    // 2.
    TBitmap b(1, 1);
    b.Canvas()->SetFont(*Font());
    unsigned flags = DT_CALCRECT | DT_EXPANDTABS;
    if (FWordWrap)
        flags |= DT_WORDBREAK;
    else
        flags |= DT_SINGLELINE;
    b.Canvas()->DrawText(Caption(), c, flags);
    // 3.
    const int w = c.Width() + FGlyphWidth + 6, h = std::max(FGlyphHeight + 2, c.Height() + 2);
    // 4. the glyph side stays where it is
    const int left = GlyphAtLeft() ? Left() : Left() + Width() - w;
    SetBounds(left, Top(), w, h);
}

void TFcCustomGlyphButton::TextChanged()
{
    AdjustSize();
    TFcCustomButton::TextChanged();
}

void TFcCustomGlyphButton::FontChanged()
{
    TFcCustomButton::FontChanged();
    AdjustSize();
}

void TFcCustomGlyphButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FUsingMouse = true;
    try {
        TFcCustomButton::MouseDown(Button, Shift, X, Y);
    } catch (...) {
        FUsingMouse = false;
        throw;
    }
    FUsingMouse = false;
}

void TFcCustomGlyphButton::KeyDown(Word& Key, TShiftState Shift)
{
    if (TabOnEnter && Key == VK_RETURN) {
        Key = 0;
        if (Parent())
            Parent()->PostTab(!(Shift & ssShift));
        return;
    }
    TFcCustomButton::KeyDown(Key, Shift);
}

TFcButtonDisplayState TFcCustomGlyphButton::DisplayState() const
{
    if (!Enabled())
        return bdsDisabled;
    if (FShowDownVersion)
        return bdsDown;
    if (FMouseOverButton)
        return bdsHot;
    return bdsNormal;
}

void TFcCustomGlyphButton::HotColors(TColor& Stop, TColor& Hot) const
{
    if (FHotTrackColorType == htctActual) {
        Stop = BlendColors(clWhite, FHotTrackColor, 190);
        Hot = FHotTrackColor;
    } else {
        Stop = ComplementaryColor(FHotTrackColor, 180);
        Hot = DarkerColor(Stop, 30);
    }
}

void TFcCustomGlyphButton::ExtractGlyph(int Index, TBitmap* Glyph, const TBitmap* Source) const
{
    Glyph->SetSize(FGlyphWidth, FGlyphHeight);
    Glyph->Canvas()->Brush()->SetColor(FTransparentColor);
    Glyph->Canvas()->FillRect(Rect(0, 0, FGlyphWidth, FGlyphHeight));
    Glyph->Canvas()->Draw(-Index * FGlyphWidth, 0, Source);
}

void TFcCustomGlyphButton::DrawGlyph(TCanvas* C)
{
    int x, y;
    GetGlyphPosition(x, y);
    TBitmap glyph(FGlyphWidth, FGlyphHeight);
    const bool themed = UseThemes() && !FUseCustomGlyphs;
    if (themed || Transparent()) {
        // the canvas under the glyph shows through
        glyph.Canvas()->CopyRect(Rect(0, 0, FGlyphWidth, FGlyphHeight), C, Bounds(x, y, FGlyphWidth, FGlyphHeight));
    } else {
        glyph.Canvas()->Brush()->SetColor(ActiveStyleSystemColor(Color()));
        glyph.Canvas()->FillRect(Rect(0, 0, FGlyphWidth, FGlyphHeight));
    }
    TBitmap picture(FGlyphWidth, FGlyphHeight);
    picture.Canvas()->Brush()->SetColor(FTransparentColor);
    picture.Canvas()->FillRect(Rect(0, 0, FGlyphWidth, FGlyphHeight));
    SelectGlyph(&picture);
    if (FUseCustomGlyphs) {
        // the window-mask colour shows the window colour
        const TColor mask = ColorToRGB(FWinMaskColor), window = ColorToRGB(clWindow);
        for (int py = 0; py < FGlyphHeight; ++py)
            for (int px = 0; px < FGlyphWidth; ++px)
                if (picture.Pixel(px, py) == mask)
                    picture.SetPixel(px, py, window);
    }
    picture.SetTransparentColor(FTransparentColor);
    picture.SetTransparentMode(tmFixed);
    picture.SetTransparent(true);
    glyph.Canvas()->Draw(0, 0, &picture);
    if (!themed && !FUseCustomGlyphs && Transparent())
        BlendButtonFrame(&glyph);
    C->Draw(x, y, &glyph);
}

void TFcCustomGlyphButton::Paint()
{
    TCanvas* c = Canvas();
    // 1. the background
    if (!Transparent()) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(ActiveStyleSystemColor(Color()));
        c->FillRect(ClientRect());
    }
    // 2.
    DrawGlyph(c);
    // 3. the caption beside the glyph
    TRect r = ClientRect();
    r.Inflate(-1, -1);
    if (GlyphAtLeft())
        r.Left += FGlyphWidth + 4;
    else
        r.Right -= FGlyphWidth;
    unsigned flags = DrawTextBiDiModeFlags(DT_LEFT | DT_EXPANDTABS);
    if (FWordWrap)
        flags |= DT_WORDBREAK;
    Draw3DText(c, r, flags);
    // 4.
    if (ShowFocus() && Focused() && !Caption().isEmpty()) {
        TRect f = r;
        f.Inflate(1, 1);
        c->DrawFocusRect(f);
    }
}

// ---- TFcCustomCheckBox --------------------------------------------------------------------

TFcCustomCheckBox::TFcCustomCheckBox(TComponent* AOwner) : TFcCustomGlyphButton(AOwner)
{
    FAlignmentVertical = avTop;
    FNumGlyphs = 9;
    AdjustSize();
}

void TFcCustomCheckBox::SetState(TCheckBoxState Value)
{
    if (FState == Value)
        return;
    FState = Value;
    Repaint();
    if (!FClicksDisabled)
        Click();
}

void TFcCustomCheckBox::InitState(TCheckBoxState Value)
{
    if (FState != Value) {
        FState = Value;
        Invalidate();
    }
}

void TFcCustomGlyphButton::ActionChange(TBasicAction* Sender, bool CheckDefaults)
{
    TFcCustomButton::ActionChange(Sender, CheckDefaults);
    auto* a = dynamic_cast<TCustomAction*>(Sender);
    if (!a || GetChecked() == a->Checked())
        return;
    // the action's own state: the box follows without firing its click
    FClicksDisabled = true;
    SetChecked(a->Checked());
    FClicksDisabled = false;
}

bool TFcCustomCheckBox::DialogChar(Word Key, TShiftState)
{
    if (!IsAccel(Key, Caption()) || !CanFocus())
        return false;
    SetFocus();
    if (Focused() && !FReadOnly) {
        ChangeState();
        Invalidate();
    }
    return true;
}

void TFcCustomCheckBox::ChangeState()
{
    if (FReadOnly)
        return;
    switch (FState) {
    case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
    }
}

void TFcCustomCheckBox::KeyDown(Word& Key, TShiftState Shift)
{
    if (!FReadOnly) {
        if (Key == VK_SPACE) {
            FKeyToggle = true;
            FShowDownVersion = true;
            Invalidate();
        } else if (Key == VK_ESCAPE && FKeyToggle) {
            FKeyToggle = false;
            FShowDownVersion = false;
            Invalidate();
        }
    }
    TFcCustomGlyphButton::KeyDown(Key, Shift);
}

void TFcCustomCheckBox::KeyUp(Word& Key, TShiftState Shift)
{
    if (!FReadOnly && Key == VK_SPACE) {
        FShowDownVersion = false;
        if (FKeyToggle) {
            FKeyToggle = false;
            ChangeState();
        }
        Invalidate();
    }
    TFcCustomGlyphButton::KeyUp(Key, Shift);
}

void TFcCustomCheckBox::DoExit()
{
    FShowDownVersion = false;
    FKeyToggle = false;
    TFcCustomGlyphButton::DoExit();
}

void TFcCustomCheckBox::SelectGlyph(TBitmap* Glyph)
{
    TCanvas* c = Glyph->Canvas();
    const TRect g(0, 0, FGlyphWidth, FGlyphHeight);
    if (FUseCustomGlyphs) {
        int index = int(FState);
        if (!Enabled())
            index += 6;
        else if (FShowDownVersion)
            index += 3;
        else if (FHotTrack && FMouseOverButton && FCustomGlyphImages && FCustomGlyphImages->Count() > 9)
            index += 9;
        if (FCustomGlyphImages && FCustomGlyphImages->Count() > 0)
            FCustomGlyphImages->Draw(c, 0, 0, index);
        else
            ExtractGlyph(index, Glyph, &FCustomGlyphs);
        return;
    }
    if (UseThemes()) {
        TThemedState s = tsNormal;
        if (!Enabled()) s = tsDisabled;
        else if (FShowDownVersion) s = tsPressed;
        else if (FMouseOverButton) s = tsHot;
        DrawThemedCheckBox(c, g, FState, s, std::min(FGlyphWidth, FGlyphHeight));
        return;
    }
    TFcGlyphColors co;
    co.FrameColor = FFrameColor;
    co.MarkColor = FHighlightColor;
    co.FillColor = FFillColor;
    co.FocusColor = FFocusColor;
    co.DisabledColor = FDisabledColor;
    co.ReadOnlyColor = FReadOnlyColor;
    HotColors(co.HotTrackStopColor, co.HotTrackColor);
    if (FHotTrack) {
        DrawCheckBox(c, g, FState, DisplayState(), Focused(), FHotTrackStyle, co, FReadOnly, FReadOnlyColorOnFocus);
        return;
    }
    // the classic sunken box
    const TRect in = DrawCtl3DBorder(c, g, true);
    c->Brush()->SetColor(Enabled() && !FShowDownVersion ? clWindow : clBtnFace);
    c->FillRect(in);
    co.MarkColor = Enabled() ? clWindowText : clBtnShadow;
    if (FState == cbGrayed)
        co.MarkColor = clBtnShadow;
    if (FState != cbUnchecked) {
        static const int pts[21][2] = {{2, 4}, {2, 5}, {2, 6}, {3, 5}, {3, 6}, {3, 7}, {4, 6}, {4, 7}, {4, 8}, {5, 5}, {5, 6},
                                       {5, 7}, {6, 4}, {6, 5}, {6, 6}, {7, 3}, {7, 4}, {7, 5}, {8, 2}, {8, 3}, {8, 4}};
        for (const auto& p : pts)
            c->SetPixel(in.Left + p[0] - 1, in.Top + p[1] - 1, ColorToRGB(co.MarkColor));
    }
}

// ---- TFcRadioButton ------------------------------------------------------------------------

TFcRadioButton::TFcRadioButton(TComponent* AOwner) : TFcCustomGlyphButton(AOwner)
{
    FAlignmentVertical = avTop;
    FNumGlyphs = 6;
    SetTabStop(false);
    AdjustSize();
}

void TFcRadioButton::SetChecked(bool Value)
{
    if (FChecked == Value)
        return;
    FChecked = Value;
    SetTabStop(Value);
    Repaint();
    if (!Value)
        return;
    if (Parent())
        for (int i = 0; i < Parent()->ControlCount(); ++i) {
            auto* other = dynamic_cast<TFcRadioButton*>(Parent()->Controls(i));
            if (other && other != this)
                other->SetChecked(false);
        }
    if (!FClicksDisabled)
        Click();
}

void TFcRadioButton::SetReadOnly(bool Value)
{
    if (FReadOnly == Value)
        return;
    FReadOnly = Value;
    Repaint();
    if (Parent())
        for (int i = 0; i < Parent()->ControlCount(); ++i)
            if (auto* other = dynamic_cast<TFcRadioButton*>(Parent()->Controls(i)))
                other->SetReadOnly(Value);
}

void TFcRadioButton::ChangeState()
{
    if (!FChecked && !FReadOnly)
        SetChecked(true);
}

bool TFcRadioButton::DialogChar(Word Key, TShiftState)
{
    if (!IsAccel(Key, Caption()) || !CanFocus())
        return false;
    SetFocus();
    if (Focused() && !FReadOnly)
        SetChecked(true);
    return true;
}

void TFcRadioButton::DoEnter()
{
    TFcCustomGlyphButton::DoEnter();
    // the keyboard reaching a button chooses it
    if (!FUsingMouse && !FReadOnly)
        SetChecked(true);
}

void TFcRadioButton::KeyDown(Word& Key, TShiftState Shift)
{
    // Down on a button that can take the focus answers as a click does
    if (Key == VK_DOWN && Shift == 0 && CanFocus()) {
        if (!FClicksDisabled)
            Click();
        Key = 0;
        return;
    }
    TFcCustomGlyphButton::KeyDown(Key, Shift);
}

void TFcRadioButton::SelectGlyph(TBitmap* Glyph)
{
    TCanvas* c = Glyph->Canvas();
    const TRect g(0, 0, FGlyphWidth, FGlyphHeight);
    if (FUseCustomGlyphs) {
        int index = FChecked ? 1 : 0;
        if (!Enabled())
            index += 4;
        else if (FShowDownVersion)
            index += 2;
        else if (FHotTrack && FMouseOverButton && FCustomGlyphImages && FCustomGlyphImages->Count() > 6)
            index += 6;
        if (FCustomGlyphImages && FCustomGlyphImages->Count() > 0)
            FCustomGlyphImages->Draw(c, 0, 0, index);
        else
            ExtractGlyph(index, Glyph, &FCustomGlyphs);
        return;
    }
    if (UseThemes()) {
        TThemedState s = tsNormal;
        if (!Enabled()) s = tsDisabled;
        else if (FShowDownVersion) s = tsPressed;
        else if (FMouseOverButton) s = tsHot;
        DrawThemedRadioButton(c, g, FChecked, s, std::min(FGlyphWidth, FGlyphHeight));
        return;
    }
    TFcGlyphColors co;
    co.FrameColor = FHotTrack ? FFrameColor : clBtnShadow;
    co.MarkColor = FHotTrack ? FHighlightColor : clWindowText;
    co.FillColor = FFillColor;
    co.FocusColor = FFocusColor;
    co.DisabledColor = FDisabledColor;
    co.ReadOnlyColor = FReadOnlyColor;
    co.BackgroundColor = Color();
    co.TransparentKeyColor = FTransparentColor;
    HotColors(co.HotTrackStopColor, co.HotTrackColor);
    DrawRadioButton(c, g, FChecked, FHotTrack ? DisplayState() : (Enabled() ? bdsNormal : bdsDisabled), Focused(),
                    FHotTrackStyle, co, true, FReadOnly, FReadOnlyColorOnFocus);
}

void TFcRadioButton::BlendButtonFrame(TBitmap* Glyph)
{
    static const int heavy[16][2] = {{4, 0}, {8, 0}, {2, 1}, {10, 1}, {1, 2}, {11, 2}, {0, 4}, {12, 4},
                                     {0, 8}, {12, 8}, {1, 10}, {11, 10}, {2, 11}, {10, 11}, {4, 12}, {8, 12}};
    static const int soft[8][2] = {{3, 0}, {9, 0}, {0, 3}, {12, 3}, {0, 9}, {12, 9}, {3, 12}, {9, 12}};
    if (Glyph->Width() < 13 || Glyph->Height() < 13)
        return;
    for (const auto& p : heavy)
        Glyph->SetPixel(p[0], p[1], BlendColors(FFrameColor, Glyph->Pixel(p[0], p[1]), 128));
    for (const auto& p : soft)
        Glyph->SetPixel(p[0], p[1], BlendColors(FFrameColor, Glyph->Pixel(p[0], p[1]), 40));
}
