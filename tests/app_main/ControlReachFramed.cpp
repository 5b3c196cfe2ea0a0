#include "tests/app_main/ControlReach.h"

#include "components/framed/FcButton.h"
#include "components/framed/FcToolButton.h"

bool IsFramedButton(const TControl* C)
{
    // Check boxes and radio buttons share the button base; only push buttons count.
    return dynamic_cast<const TFcToolButton*>(C) || dynamic_cast<const TFcButton*>(C);
}

TPopupMenu* FramedDropDown(const TControl* C)
{
    auto* t = dynamic_cast<const TFcToolButton*>(C);
    return t ? t->DropDownMenu() : nullptr;
}
