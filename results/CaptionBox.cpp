#include "results/CaptionBox.h"

#include "components/framed/FcLabel.h"
#include "components/framed/FcRadGrp.h"

void StyleCaptionBox(TFcCustomRadioGroup* Box)
{
    Box->SetGroupStyle(gsTopLine);
    Box->SetTransparent(true);
    // What sits inside takes the colour the box shows through, not the
    // button face of a box of its own.
    Box->SetParentColor(true);
    TFont bold;
    bold.Assign(*Box->CaptionFont());
    bold.SetStyle(fsBold);
    Box->SetCaptionFont(bold);
}

TFcRadioGroup* MakeCaptionBox(TComponent* Owner, TWinControl* Parent, const QString& Name, const QString& Caption, int X,
                              int Y, int W, int H)
{
    auto* b = new TFcRadioGroup(Owner);
    b->SetName(Name);
    b->SetParent(Parent);
    StyleCaptionBox(b);
    b->SetCaption(Caption);
    b->SetBounds(X, Y, W, H);
    return b;
}

TFcLabel* MakeFieldCaption(TComponent* Owner, TWinControl* Parent, const QString& Caption, int X, int Y, int W)
{
    auto* l = new TFcLabel(Owner);
    l->SetParent(Parent);
    l->SetAutoSize(false);
    l->SetAlignment(taRightJustify);
    l->SetTransparent(true);
    l->SetCaption(Caption);
    l->SetBounds(X, Y, W, 16);
    return l;
}
