#pragma once
// Creating a control on a parent at a place with an optional caption: the
// four calls every hand-built window repeats for each of its controls.

#include "platform/ui/Controls.h"

#include <QString>

template <class T>
T* PlaceControl(TWinControl* Parent, TComponent* Owner, int X, int Y, int W, int H, const QString& Caption = QString())
{
    auto* c = new T(Owner);
    c->SetParent(Parent);
    c->SetBounds(X, Y, W, H);
    if (!Caption.isEmpty())
        c->SetCaption(Caption);
    return c;
}
