#include "components/framed/FcToolbarButton.h"

#include "platform/ui/ActnList.h"
#include "platform/ui/ImgList.h"

TFcToolbarButton::TFcToolbarButton(TComponent* AOwner) : TSpeedButton(AOwner)
{
    SetFlat(true);
}

void TFcToolbarButton::SetHotGlyph(const TBitmap* Value)
{
    if (Value)
        FHotGlyph.Assign(Value);
    else
        FHotGlyph.SetSize(0, 0);
    UseHotGlyph = true;
    HotGlyphChanged();
}

void TFcToolbarButton::HotGlyphChanged()
{
    // a strip of square pictures gives the count, more than four counts as one
    if (FHotGlyph.Height() != 0 && FHotGlyph.Width() % FHotGlyph.Height() == 0) {
        const int n = FHotGlyph.Width() / FHotGlyph.Height();
        FHotNumGlyphs = n > 4 ? 1 : n;
    }
    Invalidate();
}

void TFcToolbarButton::SetHotNumGlyphs(int Value)
{
    FHotNumGlyphs = std::clamp(Value, 1, 4);
    Invalidate();
}

void TFcToolbarButton::SetCaption(const QString& Value)
{
    if (FShowCaption) {
        TSpeedButton::SetCaption(Value);
    } else {
        FSaveCaption = Value;
        TSpeedButton::SetCaption(QString());
    }
}

void TFcToolbarButton::SetShowCaption(bool Value)
{
    if (FShowCaption == Value)
        return;
    if (!Value)
        FSaveCaption = TSpeedButton::Caption();
    FShowCaption = Value;
    TSpeedButton::SetCaption(Value ? FSaveCaption : QString());
    Invalidate();
}

void TFcToolbarButton::ActionChange(TBasicAction* Sender, bool CheckDefaults)
{
    const QString kept = FShowCaption ? TSpeedButton::Caption() : FSaveCaption;
    TSpeedButton::ActionChange(Sender, CheckDefaults);
    auto* a = dynamic_cast<TCustomAction*>(Sender);
    if (!a)
        return;
    // the action's picture becomes the glyph, on fuchsia that reads as transparent
    TCustomImageList* images = a->ActionList() ? a->ActionList()->Images : nullptr;
    if (images && a->ImageIndex() >= 0 && a->ImageIndex() < images->Count()) {
        TBitmap glyph(images->Width(), images->Height());
        glyph.Canvas()->Brush()->SetColor(TColor(0xFF00FF));
        glyph.Canvas()->FillRect(Rect(0, 0, images->Width(), images->Height()));
        images->Draw(glyph.Canvas(), 0, 0, a->ImageIndex(), true);
        SetGlyph(&glyph);
    }
    const QString caption = IgnoreActionCaption ? kept : TSpeedButton::Caption();
    // the hidden caption stays hidden; the action's text waits for it
    TSpeedButton::SetCaption(FShowCaption ? caption : QString());
    if (!FShowCaption)
        FSaveCaption = caption;
}

void TFcToolbarButton::ApplyToolbarSize(int Width, int Height, bool Show, TButtonLayout Layout)
{
    SetBounds(Left(), Top(), Width, Height);
    SetShowCaption(Show);
    SetLayout(Layout);
}

bool TFcToolbarButton::DialogChar(Word Key, TShiftState)
{
    if (!IsAccel(Key, TSpeedButton::Caption()) || !Enabled() || !Visible() || !Parent() || !Parent()->Showing())
        return false;
    if (GroupIndex() > 0) {
        SetDown(!Down());
        if (Down())
            Invalidate();
    }
    Click();
    return true;
}

void TFcToolbarButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    // the press itself brings a mouse enter; its glyph swap is skipped once
    if (UseHotGlyph)
        FChangingGlyph = true;
    TSpeedButton::MouseDown(Button, Shift, X, Y);
}

void TFcToolbarButton::MouseEnter()
{
    TSpeedButton::MouseEnter();
    if (!Enabled() || !UseHotGlyph)
        return;
    if (FChangingGlyph) {
        FChangingGlyph = false;
    } else {
        FChangingGlyph = true;
        FStdGlyph.Assign(&FGlyph);
        FStdNumGlyphs = FNumGlyphs;
        FGlyph.Assign(&FHotGlyph);
        FNumGlyphs = FHotNumGlyphs;
    }
    Invalidate();
}

void TFcToolbarButton::MouseLeave()
{
    TSpeedButton::MouseLeave();
    if (!Enabled() || !UseHotGlyph)
        return;
    if (FStdNumGlyphs > 0) {
        FGlyph.Assign(&FStdGlyph);
        FNumGlyphs = FStdNumGlyphs;
        FStdNumGlyphs = 0;
    }
    FChangingGlyph = false;
    Invalidate();
}
