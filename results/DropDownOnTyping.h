#pragma once
// A key typed in a lookup list opens the list, so that the operator sees
// where the letters lead; the keys that move, choose, close or change the
// focus leave it as it is.

#include "platform/database/DataSet.h"
#include "platform/ui/DBCtrls.h"

inline bool ListOwnKey(Word Key)
{
    return Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN ||
           Key == VK_F5 || Key == VK_F6 || Key == VK_F7 || Key == VK_TAB || Key == VK_SHIFT;
}

inline void DropDownOnTyping(TDBLookupComboBox* List, Word Key)
{
    if (!ListOwnKey(Key) && List->Enabled() && !List->ListVisible())
        List->DropDown();
}

// Up or Down released in a search field moves the list it searches one row;
// false for any other key or a closed list.
inline bool StepListOnArrow(TDataSet& List, Word Key)
{
    if ((Key != VK_UP && Key != VK_DOWN) || !List.Active())
        return false;
    if (Key == VK_UP)
        List.Prior();
    else
        List.Next();
    return true;
}
