#pragma once
// The older button of the framed tool bar: a flat speed button with a second
// glyph shown while the mouse is over it, a caption that can be hidden (and
// comes back when shown again), and an action link that can leave the
// caption alone. The bar's text options size it directly.

#include "components/framed/FcCommon.h"
#include "components/framed/FcToolbar.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/DialogKeys.h"

class TFcToolbarButton : public TSpeedButton, public IFcToolbarButtonSizing, public TDialogKeyTarget {
public:
    explicit TFcToolbarButton(TComponent* AOwner);

    TBitmap* HotGlyph() { return &FHotGlyph; }
    // Copies the picture and turns the hot glyph on.
    virtual void SetHotGlyph(const TBitmap* Value);
    int HotNumGlyphs() const { return FHotNumGlyphs; }
    virtual void SetHotNumGlyphs(int Value);
    bool UseHotGlyph = false;
    // The action's caption is not taken over.
    bool IgnoreActionCaption = false;
    QString Caption() const { return TSpeedButton::Caption(); }
    // Shown: sets the text; hidden: keeps it for when the caption is shown again.
    virtual void SetCaption(const QString& Value);
    bool ShowCaption() const { return FShowCaption; }
    virtual void SetShowCaption(bool Value);
    // The caption kept while it is hidden.
    QString SavedCaption() const { return FSaveCaption; }
    TFcAboutInfo About;

    void ActionChange(TBasicAction* Sender, bool CheckDefaults) override;
    void ApplyToolbarSize(int Width, int Height, bool ShowCaption, TButtonLayout Layout) override;
    // The caption's accelerator: a grouped button toggles, then the click fires.
    bool DialogChar(Word Key, TShiftState Shift) override;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;

private:
    void HotGlyphChanged();
    bool FChangingGlyph = false;
    TBitmap FHotGlyph;
    int FHotNumGlyphs = 1;
    TBitmap FStdGlyph;
    int FStdNumGlyphs = 0;
    QString FSaveCaption;
    bool FShowCaption = true;
};
