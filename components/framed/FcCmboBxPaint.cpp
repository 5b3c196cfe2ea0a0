// The framed combo box's own frame and flat drop-down button, painted on a
// layer over the platform's box: the band that covers the native border, the
// frame on the chosen sides and the button. While read-only the layer takes
// the mouse, so the list cannot be opened.
#include "components/framed/FcCmboBx.h"
#include "components/framed/FcFrames.h"
#include "platform/ui/ComboFrameLayer.h"
#include "platform/ui/Themes.h"

namespace {
constexpr int ButtonWidth = 17;  // the system's vertical scroll bar
}

void TFcCustomComboBox::FrameLookChanged(TFcFrameControllerProperty Property)
{
    if (Property == fcpFrameVisible) {
        SetParentCtl3D(!FFrameVisible);
        SetCtl3D(!FFrameVisible);
    }
    Invalidate();
}

bool TFcCustomComboBox::UseThemes() const
{
    return FFramingPreference == fpXPThemes && ActiveStyleServicesEnabled();
}

TRect TFcCustomComboBox::ButtonRect() const
{
    const int inset = ActiveStyleServicesEnabled() ? 1 : 2;
    if (UseRightToLeftAlignment())
        return Rect(inset, inset, inset + ButtonWidth, Height() - inset);
    return Rect(Width() - ButtonWidth - inset, inset, Width() - inset, Height() - inset);
}

void TFcCustomComboBox::UpdateFrameLayer()
{
    SetComboFrameLayer(this, [this](TCanvas* C, bool MouseOver) { PaintFrameLayer(C, MouseOver); }, FReadOnly);
}

void TFcCustomComboBox::PaintFrameLayer(TCanvas* C, bool MouseOver)
{
    const TRect client = Rect(0, 0, Width(), Height());
    const bool hot = FIsFocused || MouseOver;
    const bool customFrame = FFrameVisible && !UseThemes();
    const bool listStyle = Style() == csDropDownList || IsOwnerDrawn();
    const TRect button = ButtonRect();
    auto band = [C, this](TRect R) {
        C->Brush()->SetColor(Color());
        for (int i = 0; i < 2; ++i) {
            C->FrameRect(R);
            R.Inflate(-1, -1);
        }
    };
    if (customFrame || !Ctl3D()) {
        // a band of the control's colour over the native 3-D border
        band(client);
        if (!customFrame) {
            // the flat border in its place
            C->Brush()->SetColor(clWindowFrame);
            C->FrameRect(client);
        }
    } else if (ActiveStyleServicesEnabled() && !(Style() == csDropDownList && FReadOnly) &&
               ColorToRGB(Color()) != ColorToRGB(clWhite)) {
        // a coloured box (focus, read-only) keeps its colour up to the native border
        TRect text = client;
        text.Inflate(-1, -1);
        if (UseRightToLeftAlignment())
            text.Left = button.Right;
        else
            text.Right = button.Left;
        band(text);
    }
    if (FReadOnly && !listStyle) {
        // a read-only combo shows no button to press
        C->Brush()->SetColor(Color());
        C->FillRect(button);
    } else if (FlatButtons && !FReadOnly) {
        PaintFlatButton(C, button, hot);
    }
    if (customFrame) {
        const bool frameHot = FFrameHotTrack && hot;
        DrawFrame(C, Width(), Height(), frameHot ? FFrameHotStyle : FFrameStyle, Color(), frameHot ? FFrameHotColor : FFrameColor,
                  FFrameSides, true);
    }
}

void TFcCustomComboBox::PaintFlatButton(TCanvas* C, const TRect& R, bool Hot)
{
    const bool open = DroppedDown();
    if (Hot && UseThemes()) {
        DrawThemedComboButton(C, R, open ? tsPressed : tsHot);
        return;
    }
    if (Hot) {
        C->Brush()->SetColor(FlatButtonColor);
        C->FillRect(R);
        if (FlatButtonColor == clBtnFace)
            DrawBevel(C, R, open ? clBtnShadow : clBtnHighlight, open ? clBtnHighlight : clBtnShadow, 1, sdAllSides);
        else
            DrawColorButtonBorder(C, R, FlatButtonColor, open);
    } else {
        C->Brush()->SetColor(Color());
        C->FillRect(R);
    }
    TRect arrow = R;
    if (open)
        arrow.Offset(1, 1);
    C->Brush()->SetColor(Hot ? FlatButtonColor : Color());
    DrawDropDownArrow(C, arrow, uiWindows10, false, Enabled());
}
