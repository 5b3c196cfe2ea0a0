#pragma once
// The standard edit menu of the memo and the rich text editor: which items
// are enabled when it opens, and the edit commands by tag (1 undo, 2 cut,
// 3 copy, 4 paste, 5 delete, 10 select all, 20 word wrap). Both editors
// have the same editing operations, so one template serves them.

#include "platform/ui/Clipbrd.h"
#include "platform/ui/Menus.h"

namespace redit {

inline void ForEachItem(TMenuItem* Parent, const std::function<void(TMenuItem*)>& Do)
{
    for (int i = 0; i < Parent->Count(); ++i)
        Do(Parent->Items(i));
}

// Enables the top-level edit items. Options: font item shown, word wrap allowed, files allowed.
template <class E>
void EnableEditItems(TPopupMenu* Menu, E* Edit, bool HasSearchText, bool AllowFont, bool AllowWordWrap, bool AllowFiles)
{
    ForEachItem(Menu->Items(), [&](TMenuItem* item) {
        switch (item->Tag) {
        case 1:
            item->SetEnabled(Edit->CanUndo());
            break;
        case 2:
        case 3:
        case 5:
            item->SetEnabled(Edit->SelLength() > 0);
            break;
        case 4:
            item->SetEnabled(Clipboard()->HasText());
            break;
        case 12:
            item->SetEnabled(HasSearchText);
            break;
        case 13:
            item->SetEnabled(AllowFont);
            break;
        case 20:
            item->SetEnabled(AllowWordWrap);
            item->SetChecked(Edit->WordWrap());
            break;
        case 21:
        case 22:
            item->SetEnabled(AllowFiles);
            break;
        default:
            break;
        }
    });
}

// Runs the plain edit commands; false for the tags the editor handles itself.
template <class E>
bool RunEditCommand(E* Edit, int Tag)
{
    switch (Tag) {
    case 1:
        Edit->Undo();
        return true;
    case 2:
        Edit->CutToClipboard();
        return true;
    case 3:
        Edit->CopyToClipboard();
        return true;
    case 4:
        Edit->PasteFromClipboard();
        return true;
    case 5:
        Edit->SetSelText(QString());
        return true;
    case 10:
        Edit->SelectAll();
        return true;
    case 20:
        Edit->SetWordWrap(!Edit->WordWrap());
        // wrapped text needs no horizontal bar, unwrapped text gets one back
        if (Edit->WordWrap() && Edit->ScrollBars() == ssBoth)
            Edit->SetScrollBars(ssVertical);
        else if (!Edit->WordWrap() && Edit->ScrollBars() == ssVertical)
            Edit->SetScrollBars(ssBoth);
        return true;
    default:
        return false;
    }
}

}  // namespace redit
