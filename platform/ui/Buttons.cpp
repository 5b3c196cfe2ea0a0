#include "platform/ui/Buttons.h"

#include "platform/ui/ActnList.h"
#include "platform/ui/Themes.h"

#include <algorithm>

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FWidth = 23;
    FHeight = 22;
}

void TSpeedButton::SetGlyph(const TBitmap* Value)
{
    if (Value)
        FGlyph.Assign(Value);
    else
        FGlyph.SetSize(0, 0);
    // a strip of square pictures tells how many states it holds
    if (FGlyph.Height() > 0 && FGlyph.Width() % FGlyph.Height() == 0) {
        const int n = FGlyph.Width() / FGlyph.Height();
        FNumGlyphs = n > 4 ? 1 : std::max(1, n);
    }
    GlyphChanged();
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(int Value)
{
    FNumGlyphs = std::clamp(Value, 1, 4);
    Invalidate();
}

void TSpeedButton::SetFlat(bool Value)
{
    FFlat = Value;
    Invalidate();
}

void TSpeedButton::SetGroupIndex(int Value)
{
    FGroupIndex = Value;
    UpdateExclusive();
}

void TSpeedButton::SetDown(bool Value)
{
    if (FGroupIndex == 0)
        Value = false;
    if (Value == FDown || (FDown && !Value && !FAllowAllUp))
        return;
    FDown = Value;
    Invalidate();
    if (Value)
        UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool Value)
{
    FAllowAllUp = Value;
    UpdateExclusive();
}

void TSpeedButton::SetLayout(TButtonLayout Value)
{
    FLayout = Value;
    Invalidate();
}

void TSpeedButton::SetMargin(int Value)
{
    FMargin = Value;
    Invalidate();
}

void TSpeedButton::SetSpacing(int Value)
{
    FSpacing = Value;
    Invalidate();
}

void TSpeedButton::UpdateExclusive()
{
    if (FGroupIndex == 0 || !Parent())
        return;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* b = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
        if (!b || b == this || b->FGroupIndex != FGroupIndex)
            continue;
        if (FDown && b->FDown) {
            b->FDown = false;
            b->Invalidate();
        }
        b->FAllowAllUp = FAllowAllUp;
    }
}

void TSpeedButton::Click()
{
    TGraphicControl::Click();
}

void TSpeedButton::ActionChange(TBasicAction* Sender, bool CheckDefaults)
{
    TGraphicControl::ActionChange(Sender, CheckDefaults);
    if (auto* a = dynamic_cast<TCustomAction*>(Sender); a && (!CheckDefaults || !FDown))
        SetDown(a->Checked());
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled())
        return;
    FPressed = true;
    FDragging = true;
    Invalidate();
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!FDragging)
        return;
    const bool inside = X >= 0 && X < Width() && Y >= 0 && Y < Height();
    if (inside != FPressed) {
        FPressed = inside;
        Invalidate();
    }
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!FDragging || Button != mbLeft)
        return;
    FDragging = false;
    FPressed = false;
    const bool inside = X >= 0 && X < Width() && Y >= 0 && Y < Height();
    if (inside && FGroupIndex != 0)
        SetDown(!FDown);
    Invalidate();
    if (inside)
        Click();
}

void TSpeedButton::MouseEnter()
{
    TGraphicControl::MouseEnter();
    FMouseInControl = true;
    if (FFlat)
        Invalidate();
}

void TSpeedButton::MouseLeave()
{
    TGraphicControl::MouseLeave();
    FMouseInControl = false;
    if (FFlat)
        Invalidate();
}

int TSpeedButton::GlyphPart() const
{
    if (!Enabled() && FNumGlyphs > 1)
        return 1;
    if (FPressed && FNumGlyphs > 2)
        return 2;
    if (FDown && FNumGlyphs > 3)
        return 3;
    return 0;
}

void TSpeedButton::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    const bool pressed = Pressed();
    if (!FFlat) {
        DrawThemedPushButton(c, r, !Enabled() ? tsDisabled : pressed ? tsPressed : FMouseInControl ? tsHot : tsNormal);
    } else if (pressed || (FMouseInControl && Enabled())) {
        // a flat button shows its edge only under the mouse or while down
        TRect e = r;
        DrawEdge(c, e, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    // glyph and caption laid out together
    const int partW = FGlyph.Width() > 0 ? FGlyph.Width() / FNumGlyphs : 0;
    const int partH = FGlyph.Height();
    const QString text = Caption();
    c->Font()->Assign(*Font());
    const int tw = text.isEmpty() ? 0 : c->TextWidth(StripHotkey(text));
    const int th = text.isEmpty() ? 0 : c->TextHeight(QStringLiteral("Wg"));
    const bool across = FLayout == blGlyphLeft || FLayout == blGlyphRight;
    const int gap = partW > 0 && tw > 0 ? FSpacing : 0;
    const int total = across ? partW + gap + tw : partH + gap + th;
    const int room = across ? r.Width() : r.Height();
    const int start = FMargin < 0 ? (room - total) / 2 : FMargin;
    const int shift = pressed ? 1 : 0;
    TPoint glyphAt, textAt;
    switch (FLayout) {
    case blGlyphLeft:
        glyphAt = {start, (r.Height() - partH) / 2};
        textAt = {start + partW + gap, (r.Height() - th) / 2};
        break;
    case blGlyphRight:
        textAt = {start, (r.Height() - th) / 2};
        glyphAt = {start + tw + gap, (r.Height() - partH) / 2};
        break;
    case blGlyphTop:
        glyphAt = {(r.Width() - partW) / 2, start};
        textAt = {(r.Width() - tw) / 2, start + partH + gap};
        break;
    case blGlyphBottom:
        textAt = {(r.Width() - tw) / 2, start};
        glyphAt = {(r.Width() - partW) / 2, start + th + gap};
        break;
    }
    if (partW > 0) {
        TBitmap part(partW, partH);
        part.Canvas()->CopyRect(Rect(0, 0, partW, partH), FGlyph.Canvas(), Bounds(GlyphPart() * partW, 0, partW, partH));
        part.SetTransparent(true);
        c->Draw(glyphAt.X + shift, glyphAt.Y + shift, &part);
    }
    if (!text.isEmpty()) {
        c->Brush()->SetStyle(bsClear);
        c->Font()->SetColor(Enabled() ? Font()->Color() : clGrayText);
        TRect t = Bounds(textAt.X + shift, textAt.Y + shift, tw + 1, th);
        c->DrawText(text, t, DT_SINGLELINE | DT_LEFT | DT_VCENTER);
        c->Brush()->SetStyle(bsSolid);
    }
}
