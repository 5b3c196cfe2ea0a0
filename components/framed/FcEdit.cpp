#include "components/framed/FcEdit.h"

#include "platform/os/Sound.h"
#include "platform/ui/EditAlignment.h"
#include "platform/ui/Forms.h"

#include "components/framed/FcFrames.h"

// ---- the drop button ------------------------------------------------------------------------------

TFcEditDropButton::TFcEditDropButton(TFcCustomEdit* AEdit) : TGraphicControl(AEdit), FEdit(AEdit)
{
    SetCursor(crArrow);
}

void TFcEditDropButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    if (FEdit->CanFocus() && !FEdit->Focused())
        FEdit->SetFocus();
    FEdit->DoDropDown();
}

void TFcEditDropButton::MouseEnter()
{
    FHot = true;
    Invalidate();
    TGraphicControl::MouseEnter();
}

void TFcEditDropButton::MouseLeave()
{
    FHot = false;
    Invalidate();
    TGraphicControl::MouseLeave();
}

void TFcEditDropButton::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    const bool enabled = FEdit->Enabled();
    const bool down = FEdit->DroppedDown();
    // hot while the pointer is over the edit or the edit has the focus
    const bool hot = FHot || FEdit->InControl() || FEdit->OverControl();
    if (FEdit->FlatButtons() && !hot) {
        c->Brush()->SetColor(FEdit->Color());
        c->FillRect(r);
        DrawDropDownArrow(c, r, uiWindows10, false, enabled);
        return;
    }
    if (ThemeServicesEnabled()) {
        // the element carries its own arrow
        DrawThemedComboButton(c, r, !enabled ? tsDisabled : down ? tsPressed : hot ? tsHot : tsNormal);
        return;
    }
    const TColor face = FEdit->FlatButtons() ? FEdit->FlatButtonColor : clBtnFace;
    c->Brush()->SetColor(face);
    c->FillRect(r);
    TRect inner = r;
    if (!FEdit->FlatButtons()) {
        TRect edge = r;
        if (down)
            DrawBox(c, edge, clBtnShadow);
        else
            DrawEdge(c, edge, EDGE_RAISED, BF_RECT);
    } else if (ColorToRGB(face) == ColorToRGB(clBtnFace)) {
        DrawBevel(c, r, down ? clBtnShadow : clBtnHighlight, down ? clBtnHighlight : clBtnShadow, 1, sdAllSides);
    } else {
        DrawColorBorder(c, r, face, down ? fsLowered : fsRaised);
    }
    c->Brush()->SetColor(face);
    if (down)
        inner.Offset(1, 1);
    DrawDropDownArrow(c, inner, uiWindows10, false, enabled);
}

// ---- TFcCustomEdit ----------------------------------------------------------------------------------

TFcCustomEdit::TFcCustomEdit(TComponent* AOwner) : TCustomEdit(AOwner)
{
    FcCommonInitialize();
    FNormalColor = Color();
}

TFcCustomEdit::~TFcCustomEdit()
{
    if (FFrameController)
        FFrameController->RemoveControl(this);
}

QWidget* TFcCustomEdit::CreateWidget()
{
    QWidget* w = TCustomEdit::CreateWidget();
    FWidget = w;
    SetEditAlignment(this, BiDiAlignment(FAlignment));
    if (FFrameVisible)
        UpdateBorder();
    return w;
}

void TFcCustomEdit::SetAlignment(TAlignment Value)
{
    if (FAlignment != Value) {
        FAlignment = Value;
        SetEditAlignment(this, BiDiAlignment(Value));
    }
}

void TFcCustomEdit::SetDisabledColor(TColor Value)
{
    FDisabledColor = Value;
    if (!Enabled())
        UpdateColors();
}

void TFcCustomEdit::SetFocusColor(TColor Value)
{
    FFocusColor = Value;
    if (FInControl)
        UpdateColors();
}

void TFcCustomEdit::SetReadOnlyColor(TColor Value)
{
    FReadOnlyColor = Value;
    if (ReadOnly())
        UpdateColors();
}

void TFcCustomEdit::SetReadOnlyColorOnFocus(bool Value)
{
    if (FReadOnlyColorOnFocus != Value) {
        FReadOnlyColorOnFocus = Value;
        UpdateColors();
    }
}

void TFcCustomEdit::SetReadOnly(bool Value)
{
    if (ReadOnly() == Value)
        return;
    TCustomEdit::SetReadOnly(Value);
    ReadOnlyChanged();
}

void TFcCustomEdit::ReadOnlyChanged()
{
    if (ReadOnly())
        FShowDropButton = false;
    else if (FDropButtonVisible)
        FShowDropButton = true;
    if (FDropButton || FShowDropButton)
        LayoutDropButton();
    UpdateColors();
}

void TFcCustomEdit::FrameLookChanged(TFcFrameControllerProperty Property)
{
    // the frame is painted into the sunken border's room
    if (Property == fcpFrameVisible && FFrameVisible)
        SetCtl3D(true);
    // these two decide whether the custom frame is painted at all
    if (Property == fcpFrameVisible || Property == fcpFramingPreference || Property == fcpAll)
        UpdateBorder();
    else
        Invalidate();
}

void TFcCustomEdit::UpdateBorder()
{
    if (FFrameVisible && !UseThemes())
        SetEditFramePainter(this, [this](TCanvas* C) { PaintFrame(C); });
    else
        TCustomEdit::UpdateBorder();
}

void TFcCustomEdit::PaintFrame(TCanvas* C)
{
    // hot: focused or under the mouse with FrameHotTrack
    const bool hot = FFrameHotTrack && (FInControl || FOverControl);
    DrawFrame(C, Width(), Height(), hot ? FFrameHotStyle : FFrameStyle, Color(), hot ? FFrameHotColor : FFrameColor,
              FFrameSides, false);
}

void TFcCustomEdit::SetFlatButtons(bool Value)
{
    if (FFlatButtons == Value)
        return;
    FFlatButtons = Value;
    Invalidate();
}

void TFcCustomEdit::SetDropButtonVisible(bool Value)
{
    if (FDropButtonVisible == Value)
        return;
    FDropButtonVisible = Value;
    FShowDropButton = Value && !ReadOnly();
    LayoutDropButton();
}

void TFcCustomEdit::LayoutDropButton()
{
    if (FShowDropButton && !FDropButton) {
        FDropButton = new TFcEditDropButton(this);
        FDropButton->SetParent(this);
    }
    if (FDropButton) {
        // the system scroll bar's width, inside the edit's border
        const int w = 17;
        const int left = UseRightToLeftAlignment() ? 2 : Width() - w - 2;
        FDropButton->SetBounds(left, 2, w, std::max(0, Height() - 4));
        FDropButton->SetVisible(FShowDropButton);
    }
    const int room = FShowDropButton ? 17 : 0;
    if (UseRightToLeftAlignment())
        SetEditMargins(this, room, 0);
    else
        SetEditMargins(this, 0, room);
}

void TFcCustomEdit::BiDiModeChanged()
{
    // the text's alignment and the button change sides
    TCustomEdit::BiDiModeChanged();
    SetEditAlignment(this, BiDiAlignment(FAlignment));
    LayoutDropButton();
}

void TFcCustomEdit::Resize()
{
    TCustomEdit::Resize();
    if (FDropButton)
        LayoutDropButton();
}

void TFcCustomEdit::SetFrameController(TFcFrameController* Value)
{
    ChangeFrameController(this, FFrameController, Value);
}

void TFcCustomEdit::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomEdit::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFrameController)
        FFrameController = nullptr;
}

void TFcCustomEdit::SetFrameProperty(TFcFrameControllerProperty P, const TFcFrameController* C)
{
    switch (P) {
    case fcpColor: SetColor(C->Color()); break;
    case fcpFocusColor: SetFocusColor(C->FocusColor()); break;
    case fcpDisabledColor: SetDisabledColor(C->DisabledColor()); break;
    case fcpReadOnlyColor: SetReadOnlyColor(C->ReadOnlyColor()); break;
    case fcpReadOnlyColorOnFocus: SetReadOnlyColorOnFocus(C->ReadOnlyColorOnFocus()); break;
    case fcpParentColor: SetParentColor(C->ParentColor()); break;
    case fcpFlatButtonColor: FlatButtonColor = C->FlatButtonColor(); break;
    case fcpFlatButtons: SetFlatButtons(C->FlatButtons()); break;
    default: TakeFrameProperty(P, C); break;
    }
}

bool TFcCustomEdit::UseThemes() const
{
    return FFramingPreference == fpXPThemes && ActiveStyleServicesEnabled();
}

void TFcCustomEdit::InvalidKeyPressed()
{
    if (BeepOnInvalidKey)
        MessageBeep(0);
}

void TFcCustomEdit::UpdateColors()
{
    if (Loading())
        return;
    FUpdatingColor = true;
    try {
        TColor c;
        if (!Enabled())
            c = FDisabledColor;
        else if (FInControl)
            c = ReadOnly() && FReadOnlyColorOnFocus ? FReadOnlyColor : FFocusColor;
        else
            c = ReadOnly() ? FReadOnlyColor : FNormalColor;
        SetColor(c);
    } catch (...) {
        FUpdatingColor = false;
        throw;
    }
    FUpdatingColor = false;
}

void TFcCustomEdit::ColorChanged()
{
    if (!FUpdatingColor) {
        // a focus colour never set apart follows the normal colour
        if (FFocusColor == FNormalColor)
            FFocusColor = Color();
        FNormalColor = Color();
    }
    TCustomEdit::ColorChanged();
}

void TFcCustomEdit::EnabledChanged()
{
    TCustomEdit::EnabledChanged();
    UpdateColors();
}

void TFcCustomEdit::Loaded()
{
    TCustomEdit::Loaded();
    UpdateColors();
}

void TFcCustomEdit::UpdateFrame(bool ViaMouse, bool Value)
{
    if (ViaMouse)
        FOverControl = Value;
    else
        FInControl = Value;
    if (FFrameHotTrack || FShowDropButton)
        Invalidate();
    UpdateColors();
}

void TFcCustomEdit::DoEnter()
{
    UpdateFrame(false, true);
    FTextOnEnter = Text();
    TCustomEdit::DoEnter();
    UpdateTextHintShown(true);
}

void TFcCustomEdit::DoExit()
{
    try {
        ValidateEdit();
    } catch (const Exception& e) {
        // the focus stays on the edit until the text fills its mask or Escape restores it
        SetFocus();
        if (Application)
            Application->HandleException(&e);
        return;
    }
    TCustomEdit::DoExit();
    UpdateFrame(false, false);
    UpdateTextHintShown(false);
}

void TFcCustomEdit::SetTextHintVisibleOnFocus(bool Value)
{
    if (FTextHintVisibleOnFocus == Value)
        return;
    FTextHintVisibleOnFocus = Value;
    if (!Loading())
        UpdateTextHintShown(Focused());
}

void TFcCustomEdit::UpdateTextHintShown(bool HasFocus)
{
    // the hint goes while the user types here, unless asked to stay
    SetTextHintShown(FTextHintVisibleOnFocus || !HasFocus);
}

void TFcCustomEdit::MouseEnter()
{
    UpdateFrame(true, true);
    TCustomEdit::MouseEnter();
}

void TFcCustomEdit::MouseLeave()
{
    UpdateFrame(true, false);
    TCustomEdit::MouseLeave();
}

void TFcCustomEdit::KeyDown(Word& Key, TShiftState Shift)
{
    // Escape abandons what was typed into a masked edit
    if (Key == VK_ESCAPE && Shift == 0 && !EditMask.isEmpty() && Text() != FTextOnEnter) {
        SetText(FTextOnEnter);
        SelectAll();
        Key = 0;
        return;
    }
    TCustomEdit::KeyDown(Key, Shift);
    if (FShowDropButton && ((Key == VK_DOWN && Shift == ssAlt) || (Key == VK_F4 && Shift == 0))) {
        DoDropDown();
        Key = 0;
    }
}

void TFcCustomEdit::KeyPress(QChar& Key)
{
    if (TabOnEnter && Key == QLatin1Char('\r')) {
        Key = QChar();
        if (Parent())
            Parent()->PostTab(true);
        return;
    }
    TCustomEdit::KeyPress(Key);
}

void TFcCustomEdit::DoDropDown()
{
    if (!FShowDropButton)
        return;
    FDroppedDown = true;
    try {
        DropDown();
        CloseUp();
    } catch (...) {
        FDroppedDown = false;
        throw;
    }
    FDroppedDown = false;
}

void TFcCustomEdit::DropDown()
{
    if (OnDropDown)
        OnDropDown(this);
}

void TFcCustomEdit::CloseUp()
{
    if (OnCloseUp)
        OnCloseUp(this);
}
