#include "components/framed/FcGroupBox.h"

#include "components/framed/FcButton.h"
#include "components/framed/FcFrames.h"
#include "components/framed/FcGrafx.h"
#include "components/framed/FcSystem.h"
#include "platform/ui/ThemedElements.h"

TFcCustomGroupBox::TFcCustomGroupBox(TComponent* AOwner) : TFcCustomPanel(AOwner)
{
    FBorderOuter = fsNone;
    FBorderInner = fsNone;
    SetAlignment(taLeftJustify);
    FAlignmentVertical = avTop;
    SetHeight(105);
    FCaptionFont.Assign(*Font());
    FCaptionFont.OnChange = [this] {
        FCaptionFontChanged = true;
        Invalidate();
    };
}

void TFcCustomGroupBox::SetGroupBoxStyle(TFcGroupBoxStyle Value)
{
    if (FGroupStyle != Value) {
        FGroupStyle = Value;
        Rearranged();
    }
}

void TFcCustomGroupBox::SetBannerHeight(int Value)
{
    if (FBannerHeight != Value) {
        FBannerHeight = Value;
        Rearranged();
    }
}

void TFcCustomGroupBox::SetCaptionFont(const TFont& Value)
{
    FCaptionFont.Assign(Value);
}

void TFcCustomGroupBox::FontChanged()
{
    TFcCustomPanel::FontChanged();
    if (!FCaptionFontChanged) {
        auto keep = FCaptionFont.OnChange;
        FCaptionFont.OnChange = nullptr;
        FCaptionFont.Assign(*Font());
        FCaptionFont.OnChange = keep;
    }
}

void TFcCustomGroupBox::ChangeScale(int M, int D)
{
    TFcCustomPanel::ChangeScale(M, D);
    if (FCaptionFontChanged)
        FCaptionFont.SetHeight(MulDiv(FCaptionFont.Height(), M, D));
}

void TFcCustomGroupBox::SetChecked(bool Value)
{
    FChecked = Value;
    if (FShowCheckBox && FEnableControlsOnCheck)
        EnableChildControls(Value);
    Invalidate();
    if (OnCheckBoxClick)
        OnCheckBoxClick(this);
}

void TFcCustomGroupBox::SetEnableControlsOnCheck(bool Value)
{
    FEnableControlsOnCheck = Value;
    if (Value && FShowCheckBox)
        EnableChildControls(FChecked);
}

void TFcCustomGroupBox::SetShowCheckBox(bool Value)
{
    FShowCheckBox = Value;
    SetTabStop(Value);
    if (Value && FEnableControlsOnCheck && !FChecked)
        EnableChildControls(false);
    Invalidate();
}

void TFcCustomGroupBox::CustomFramingChanged()
{
    if (FGroupStyle == gsCustom)
        TFcCustomPanel::CustomFramingChanged();
}

void TFcCustomGroupBox::AdjustClientRect(TRect& R)
{
    TFcCustomPanel::AdjustClientRect(R);
    TBitmap b(1, 1);
    b.Canvas()->SetFont(*Font());
    const int h = b.Canvas()->TextHeight(QStringLiteral("Yy"));
    switch (FGroupStyle) {
    case gsStandard:
    case gsFlat: {
        const int a = h / 2 - 1;
        R.Top += a >= BorderWidth() ? h - BorderWidth() : a;
        const int shrink = FGroupStyle == gsStandard ? 2 : 1;
        R.Inflate(-shrink, -shrink);
        break;
    }
    case gsCustom:
        if (!Caption().isEmpty())
            R.Top += h;
        R.Inflate(-2, -2);
        break;
    case gsTopLine:
        R.Top += h;
        break;
    case gsBanner:
        R.Top += FBannerHeight != 0 ? FBannerHeight : h + 8;
        break;
    case gsUnderline:
        R.Top += h + 4;
        break;
    }
}

TRect TFcCustomGroupBox::MeasureCaptionRect(TCanvas* C)
{
    if (Caption().isEmpty() || FGroupStyle == gsCustom)
        return TRect();
    const bool themed = VisualStyle() == vsWinXP && ActiveStyleServicesEnabled() &&
                        (FGroupStyle == gsStandard || FGroupStyle == gsFlat);
    TSize s = themed ? ThemedGroupBoxTextExtent(C, Caption()) : C->TextExtent(RemoveAccelerators(Caption()));
    if (FShowCheckBox)
        s.cx += FCheckBoxSize + 4;
    const int cw = Width();
    const bool rtl = UseRightToLeftAlignment();
    switch (FGroupStyle) {
    case gsStandard:
    case gsFlat: return rtl ? Rect(cw - s.cx - 8, 0, cw - 8, s.cy) : Rect(8, 0, s.cx + 8, s.cy);
    case gsTopLine: return rtl ? Rect(cw - s.cx - 4, 0, cw, s.cy) : Rect(0, 0, s.cx + 4, s.cy);
    case gsBanner: return Rect(0, 0, cw, FBannerHeight != 0 ? FBannerHeight : s.cy + 6);
    case gsUnderline: return Rect(0, 0, cw, s.cy + 2);
    default: return TRect();
    }
}

void TFcCustomGroupBox::DrawCaptionCheckBox(TCanvas* C, const TRect& Cap)
{
    const int left = UseRightToLeftAlignment() ? Cap.Right - FCheckBoxSize : Cap.Left;
    const TRect box = Bounds(left, Cap.Top + (Cap.Height() - FCheckBoxSize) / 2, FCheckBoxSize, FCheckBoxSize);
    TThemedState s = tsNormal;
    if (!Enabled())
        s = tsDisabled;
    else if (FShowDownVersion)
        s = tsPressed;
    else if (FMouseOverCheckBox)
        s = tsHot;
    DrawThemedCheckBox(C, box, FChecked ? cbChecked : cbUnchecked, s);
}

void TFcCustomGroupBox::SkipCaptionCheckBox(TRect& Text) const
{
    if (UseRightToLeftAlignment())
        Text.Right -= FCheckBoxSize + 4;
    else
        Text.Left += FCheckBoxSize + 4;
}

void TFcCustomGroupBox::Paint()
{
    TCanvas* c = Canvas();
    // 1.
    c->SetFont(FCaptionFont);
    const int t = c->TextHeight(QStringLiteral("Pp"));
    // 2.
    FCaptionRect = MeasureCaptionRect(c);
    TRect cap = FCaptionRect;
    const int cw = Width();
    const TRect f(0, t / 2 - 1, cw, Height());
    const bool themed = VisualStyle() == vsWinXP && ActiveStyleServicesEnabled() &&
                        (FGroupStyle == gsStandard || FGroupStyle == gsFlat);
    if (themed) {
        // 3. the visual style's group frame over what the parent paints under the box
        if (!Transparent())
            DrawParentImage(this, c, false);
        const int saved = c->SaveDC();
        if (!cap.IsEmpty())
            c->ExcludeClipRect(cap);
        DrawThemedGroupFrame(c, f, Enabled());
        c->RestoreDC(saved);
        if (!Caption().isEmpty()) {
            TRect text = cap;
            if (FShowCheckBox) {
                DrawCaptionCheckBox(c, cap);
                SkipCaptionCheckBox(text);
            }
            c->SetFont(FCaptionFont);
            c->Brush()->SetStyle(bsClear);
            c->Font()->SetColor(ThemedTextColor(Enabled()));
            c->DrawText(Caption(), text, DrawTextBiDiModeFlags(DT_SINGLELINE | DT_VCENTER));
            c->Brush()->SetStyle(bsSolid);
            // the box's focus shows round its caption text once the keyboard is in use
            if (FShowCheckBox && KeyboardCuesShown() && Focused()) {
                TRect measure = text;
                c->DrawText(Caption(), measure, DT_SINGLELINE | DT_VCENTER | DT_CALCRECT);
                if (UseRightToLeftAlignment())
                    measure.Offset(text.Right - measure.Right, 0);
                measure.Inflate(1, 0);
                DrawFocusBorder(c, measure, clNone);
            }
        }
        c->SetFont(*Font());
        return;
    }
    if (FGroupStyle == gsCustom) {
        c->SetFont(*Font());
        PaintPanel();
        return;
    }
    // 4.
    const int saved = c->SaveDC();
    if (!Transparent()) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(ActiveStyleSystemColor(Color()));
        c->FillRect(ClientRect());
    } else if (FGroupStyle != gsBanner && !cap.IsEmpty()) {
        c->ExcludeClipRect(cap);
    }
    const TColor flat = AdjustColor(FlatColor(), FlatColorAdjustment());
    auto line = [c](int x1, int y1, int x2, int y2, TColor col) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(col);
        c->FillRect(Rect(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + (y1 == y2 ? 0 : 1),
                         std::max(y1, y2) + (y1 == y2 ? 1 : 0)));
    };
    switch (FGroupStyle) {
    case gsStandard:
        if (FBorderOuter == fsNone)
            DrawBorderSides(c, f, fsGroove, sdAllSides);
        else if (FBorderOuter == fsFlat)
            DrawBox(c, f, flat);
        else if (FBorderOuter == fsFlatBold)
            DrawBevel(c, f, flat, flat, 2, sdAllSides);
        else
            DrawBorderSides(c, f, FBorderOuter, sdAllSides);
        break;
    case gsTopLine:
        if (FBorderOuter == fsNone) {
            DrawBorderSides(c, f, fsGroove, SideBit(sdTop));
        } else if (FBorderOuter == fsFlat || FBorderOuter == fsFlatBold) {
            line(f.Left + 2, f.Top, f.Right - 2, f.Top, flat);
            if (FBorderOuter == fsFlatBold)
                line(f.Left + 2, f.Top + 1, f.Right - 2, f.Top + 1, flat);
        } else {
            DrawBorderSides(c, f, FBorderOuter, SideBit(sdTop));
        }
        break;
    case gsFlat:
        line(f.Left, f.Top + 2, f.Left, f.Bottom - 2, flat);
        line(f.Left + 2, f.Top, f.Right - 2, f.Top, flat);
        line(f.Right - 1, f.Top + 2, f.Right - 1, f.Bottom - 2, flat);
        line(f.Left + 2, f.Bottom - 1, f.Right - 2, f.Bottom - 1, flat);
        for (const TPoint& p : {TPoint(f.Left + 1, f.Top + 1), TPoint(f.Right - 2, f.Top + 1),
                                TPoint(f.Right - 2, f.Bottom - 2), TPoint(f.Left + 1, f.Bottom - 2)})
            c->SetPixel(p.X, p.Y, ColorToRGB(flat));
        break;
    case gsBanner: {
        TColor start, stop, frame;
        if (GradientColorStyle() == gcsCustom) {
            start = GradientColorStart();
            stop = GradientColorStop();
            frame = flat;
        } else {
            GetGradientStatusBarColors(GradientColorStyle(), stop, start, frame);
        }
        line(cap.Left, cap.Top + 1, cap.Left, cap.Bottom - 2, frame);
        line(cap.Left + 1, cap.Top, cap.Right - 2, cap.Top, frame);
        line(cap.Right - 1, cap.Top + 1, cap.Right - 1, cap.Bottom - 2, frame);
        line(cap.Left + 1, cap.Bottom - 1, cap.Right - 2, cap.Bottom - 1, frame);
        TRect in = cap;
        in.Inflate(-1, -1);
        PaintGradient(c, in, gdHorizontalEnd, start, stop, 1);
        break;
    }
    case gsUnderline:
        line(cap.Left, cap.Bottom, cap.Right - 1, cap.Bottom, flat);
        break;
    default:
        break;
    }
    c->RestoreDC(saved);
    // 5. the caption
    if (!Caption().isEmpty()) {
        if (!Transparent() && FGroupStyle != gsBanner) {
            c->Brush()->SetStyle(bsSolid);
            c->Brush()->SetColor(ActiveStyleSystemColor(Color()));
            c->FillRect(cap);
        }
        if (FGroupStyle == gsBanner)
            cap.Inflate(-4, -1);
        c->Brush()->SetStyle(bsClear);
        if (FShowCheckBox) {
            DrawCaptionCheckBox(c, cap);
            SkipCaptionCheckBox(cap);
            c->Brush()->SetStyle(bsClear);
        }
        TColor text = FCaptionFont.Color();
        if (!Enabled())
            text = clGrayText;
        else if (VisualStyle() == vsWinXP && ActiveStyleServicesEnabled())
            text = GetXPThemeColor(xptcGroupBoxFont);
        c->Font()->SetColor(text);
        c->DrawText(Caption(), cap,
                    DrawTextAlignments[BiDiAlignment(Alignment())] | DT_SINGLELINE | DT_VCENTER |
                        DrawTextBiDiModeFlagsReadingOnly());
        c->Brush()->SetStyle(bsSolid);
    }
    // 6.
    c->SetFont(*Font());
}

void TFcCustomGroupBox::MouseMove(TShiftState Shift, int X, int Y)
{
    if (FShowCheckBox) {
        const bool over = FCaptionRect.Contains(Point(X, Y));
        if (over != FMouseOverCheckBox) {
            FMouseOverCheckBox = over;
            Invalidate();
        }
        if (FDragging) {
            const bool inside = X >= 0 && X < ClientWidth() && Y >= 0 && Y < ClientHeight();
            if (inside != FShowDownVersion) {
                FShowDownVersion = inside;
                Invalidate();
            }
        }
    }
    TFcCustomPanel::MouseMove(Shift, X, Y);
}

void TFcCustomGroupBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FShowCheckBox && Button == mbLeft && Enabled() && FCaptionRect.Contains(Point(X, Y))) {
        if (CanFocus())
            SetFocus();
        FShowDownVersion = true;
        FDragging = true;
        Invalidate();
    }
    TFcCustomPanel::MouseDown(Button, Shift, X, Y);
}

void TFcCustomGroupBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FDragging) {
        FDragging = false;
        FShowDownVersion = false;
        Invalidate();
        if (FCaptionRect.Contains(Point(X, Y)))
            ChangeState();
    }
    TFcCustomPanel::MouseUp(Button, Shift, X, Y);
}

void TFcCustomGroupBox::MouseLeave()
{
    if (FMouseOverCheckBox) {
        FMouseOverCheckBox = false;
        Invalidate();
    }
    TFcCustomPanel::MouseLeave();
}

void TFcCustomGroupBox::KeyDown(Word& Key, TShiftState Shift)
{
    NoteKeyboardNavigation(Key, Shift);
    if (FShowCheckBox && Key == VK_SPACE) {
        FShowDownVersion = true;
        FKeyToggle = true;
        Invalidate();
    }
    TFcCustomPanel::KeyDown(Key, Shift);
}

void TFcCustomGroupBox::KeyUp(Word& Key, TShiftState Shift)
{
    if (FShowCheckBox && Key == VK_SPACE) {
        FShowDownVersion = false;
        Invalidate();
        if (FKeyToggle)
            ChangeState();
    }
    TFcCustomPanel::KeyUp(Key, Shift);
}

bool TFcCustomGroupBox::DialogChar(Word Key, TShiftState)
{
    if (!IsAccel(Key, Caption()) || !Showing())
        return false;
    // the first child in the tab order; without tab stops the first that takes the focus
    TWinControl* first = FindNextControl(nullptr, true, true, false);
    if (!first)
        first = FindNextControl(nullptr, true, false, false);
    if (first)
        first->SetFocus();
    return true;
}
