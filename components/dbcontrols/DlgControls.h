#pragma once
// Building blocks of the dataset dialogs' windows: a control placed on its
// parent in one call, and the editable list grid several dialogs keep
// (no fixed column, one title row, editable cells, resizable columns).

#include "platform/rtl/Component.h"
#include "platform/ui/Controls.h"

#include <QString>

class TrStringGridEd;

template <class T>
T* Put(TWinControl* Parent, TComponent* Owner, int X, int Y, int W, int H, const QString& Caption = QString())
{
    auto* c = new T(Owner);
    c->SetParent(Parent);
    c->SetBounds(X, Y, W, H);
    if (!Caption.isEmpty())
        c->SetCaption(Caption);
    return c;
}

// ColCount columns, a title row and one empty row.
void SetUpDialogListGrid(TrStringGridEd* Grid, int ColCount);
