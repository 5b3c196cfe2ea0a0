#include "components/framed/FcImageLink.h"

#include "platform/ui/ImgList.h"

void LinkImageList(TComponent* Client, TCustomImageList*& Slot, TCustomImageList* Value, std::function<void()> OnChange)
{
    if (Slot)
        Slot->UnRegisterChanges(&Slot);
    Slot = Value;
    if (!Value)
        return;
    Value->RegisterChanges(&Slot, std::move(OnChange));
    Client->FreeNotification(Value);
}

void UnlinkImageList(TCustomImageList*& Slot)
{
    if (Slot)
        Slot->UnRegisterChanges(&Slot);
    Slot = nullptr;
}

bool ForgetFreedImageList(TCustomImageList*& Slot, const TComponent* Freed)
{
    if (!Slot || static_cast<const TComponent*>(Slot) != Freed)
        return false;
    Slot = nullptr;  // the list is going away; its links go with it
    return true;
}
