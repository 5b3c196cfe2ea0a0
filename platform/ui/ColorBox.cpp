#include "platform/ui/ColorBox.h"

#include "platform/ui/CommonDialogs.h"

TCustomColorBox::TCustomColorBox(TComponent* AOwner) : TComboBox(AOwner)
{
    FStyle = csOwnerDrawFixed;
    PopulateList();
}

void TCustomColorBox::SetColorStyle(TColorBoxStyle Value)
{
    if (FColorStyle == Value)
        return;
    const TColor keep = Selected();
    FColorStyle = Value;
    PopulateList();
    SetSelected(keep);
}

void TCustomColorBox::PopulateList()
{
    FPopulating = true;
    QStringList names;
    FColors.clear();
    auto add = [&](TColor Color, const QString& Name) {
        FColors.push_back(Color);
        names << Name;
    };
    if (FColorStyle & cbCustomColor)
        add(clBlack, CustomCaption);
    auto nameOf = [this](const QString& Ident) {
        return (FColorStyle & cbPrettyNames) && Ident.startsWith(QStringLiteral("cl")) ? Ident.mid(2) : Ident;
    };
    // the identifier table holds the 16 standard, the 4 extended and then the system colours
    for (int i = 0; i < ColorIdentCount(); ++i) {
        const QString ident = ColorIdentAt(i);
        TColor color = clBlack;
        IdentToColor(ident, color);
        bool wanted = false;
        if (color == clNone)
            wanted = FColorStyle & cbIncludeNone;
        else if (color == clDefault)
            wanted = FColorStyle & cbIncludeDefault;
        else if ((uint32_t(color) & 0xFF000000u) == 0xFF000000u)
            wanted = FColorStyle & cbSystemColors;
        else
            wanted = i < 16 ? (FColorStyle & cbStandardColors) : (FColorStyle & cbExtendedColors);
        if (wanted)
            add(color, nameOf(ident));
    }
    if ((FColorStyle & cbCustomColors) && OnGetColors) {
        std::vector<std::pair<TColor, QString>> extra;
        OnGetColors(this, extra);
        for (const auto& [color, name] : extra)
            add(color, name);
    }
    SetItems(names);
    FPopulating = false;
}

TColor TCustomColorBox::Colors(int Index) const
{
    return Index >= 0 && size_t(Index) < FColors.size() ? FColors[size_t(Index)] : clBlack;
}

TColor TCustomColorBox::Selected() const
{
    return Colors(ItemIndex());
}

void TCustomColorBox::SetSelected(TColor Value)
{
    const int first = (FColorStyle & cbCustomColor) ? 1 : 0;
    for (size_t i = size_t(first); i < FColors.size(); ++i)
        if (FColors[i] == Value) {
            SetItemIndex(int(i));
            return;
        }
    if (FColorStyle & cbCustomColor) {
        FColors[0] = Value;
        SetItemIndex(0);
        Invalidate();
        return;
    }
    SetItemIndex(-1);
}

bool TCustomColorBox::PickCustomColor()
{
    TColorDialog dialog(nullptr);
    dialog.Color = Colors(0);
    if (!dialog.Execute())
        return false;
    FColors[0] = dialog.Color;
    return true;
}

void TCustomColorBox::Select()
{
    // choosing the custom item asks for its colour first
    if (!FPopulating && (FColorStyle & cbCustomColor) && ItemIndex() == 0)
        PickCustomColor();
    TComboBox::Select();
}

void TCustomColorBox::DrawItem(int Index, TRect R, TOwnerDrawState State)
{
    (void)State;
    TCanvas* c = Canvas();
    if (OnDrawItem) {
        TComboBox::DrawItem(Index, R, State);
        return;
    }
    c->FillRect(R);
    // the swatch: a square as high as the item, framed in black
    const int side = std::max(0, R.Height() - 4);
    const TRect swatch = Rect(R.Left + 2, R.Top + 2, R.Left + 2 + side, R.Top + 2 + side);
    TColor color = Colors(Index);
    if (color == clDefault)
        color = DefaultColorColor;
    else if (color == clNone)
        color = NoneColorColor;
    const TColor textColor = c->Font()->Color();
    const TColor brushColor = c->Brush()->Color();
    c->Brush()->SetColor(color);
    c->FillRect(swatch);
    c->Brush()->SetColor(clBlack);
    c->FrameRect(swatch);
    c->Brush()->SetColor(brushColor);
    c->Font()->SetColor(textColor);
    TRect t = R;
    t.Left = swatch.Right + 4;
    c->DrawText(Items().value(Index), t, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}
