#pragma once
// Builds a dialog's controls in code: a control of type T owned by Owner,
// placed on Parent at the given bounds, with an optional caption.

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
