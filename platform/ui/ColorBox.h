#pragma once
// The colour box: an owner-drawn drop-down list of colours, each item a swatch
// and the colour's name. Which colours it lists is chosen by its style; with
// cbCustomColor the first item opens the colour dialog and then holds the
// colour chosen there.

#include "platform/ui/StdCtrls.h"

#include <functional>
#include <vector>

using TColorBoxStyle = unsigned;
constexpr TColorBoxStyle cbStandardColors = 0x1;  // the 16 basic colours
constexpr TColorBoxStyle cbExtendedColors = 0x2;  // money green, sky blue, cream, medium grey
constexpr TColorBoxStyle cbSystemColors = 0x4;    // the system colours (clBtnFace …)
constexpr TColorBoxStyle cbIncludeNone = 0x8;     // clNone
constexpr TColorBoxStyle cbIncludeDefault = 0x10; // clDefault
constexpr TColorBoxStyle cbCustomColor = 0x20;    // a first item that opens the colour dialog
constexpr TColorBoxStyle cbPrettyNames = 0x40;    // names without the "cl" prefix
constexpr TColorBoxStyle cbCustomColors = 0x80;   // colours added by OnGetColors

class TCustomColorBox;
// Adds the program's own colours with their names (cbCustomColors).
using TGetColorsEvent = std::function<void(TCustomColorBox* Sender, std::vector<std::pair<TColor, QString>>& Items)>;

class TCustomColorBox : public TComboBox {
public:
    explicit TCustomColorBox(TComponent* AOwner);
    TColorBoxStyle ColorStyle() const { return FColorStyle; }
    void SetColorStyle(TColorBoxStyle Value);
    // The chosen colour (clBlack when nothing is chosen).
    TColor Selected() const;
    // Chooses a colour; one not listed becomes the custom item's colour when
    // there is one, else nothing is chosen.
    void SetSelected(TColor Value);
    TColor Colors(int Index) const;
    QString ColorNames(int Index) const { return Items().value(Index); }
    // The swatch colours shown for clDefault and clNone.
    TColor DefaultColorColor = clBlack;
    TColor NoneColorColor = clBlack;
    QString CustomCaption = QStringLiteral("Custom...");
    TGetColorsEvent OnGetColors;
    // Fills the list again from the style (after OnGetColors changes its answer).
    void PopulateList();

protected:
    void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override;
    // Opens the colour dialog for the custom item; true when a colour was taken.
    virtual bool PickCustomColor();
    void Select() override;
    TColorBoxStyle FColorStyle = cbStandardColors | cbExtendedColors | cbSystemColors;
    std::vector<TColor> FColors;
    bool FPopulating = false;
};

class TColorBox : public TCustomColorBox {
public:
    explicit TColorBox(TComponent* AOwner) : TCustomColorBox(AOwner) {}
};
