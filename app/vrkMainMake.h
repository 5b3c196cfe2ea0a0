#pragma once
// The main window's builders make each control the same way: named, owned
// by the window and placed on its parent.

#include "platform/ui/Controls.h"

namespace mainwin {

template <class T>
T* Make(TComponent* Owner, TWinControl* Parent, const char* Name)
{
    auto* c = new T(Owner);
    c->SetName(QString::fromLatin1(Name));
    c->SetParent(Parent);
    return c;
}

}  // namespace mainwin
