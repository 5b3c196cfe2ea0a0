// The grid with its own record selection: the bookmark list, the three
// queries exports and printouts use, and the selection's colouring.

#include "components/grid/rDBGrid_MS.h"

#include "platform/database/DataSource.h"
#include "platform/ui/Graphics.h"

#include <algorithm>

// ---- the selection -------------------------------------------------------------------

TBookmark TrBookmarkList::CurrentRow() const
{
    if (!FLinkActive || !FGrid->DataSet())
        throw EInvalidGridOperation(QStringLiteral("Cannot perform this operation on a closed dataset"));
    return FGrid->DataSet()->GetBookmark();
}

int TrBookmarkList::IndexOf(const TBookmark& B) const
{
    const auto it = std::find(FList.begin(), FList.end(), B);
    return it == FList.end() ? -1 : int(it - FList.begin());
}

bool TrBookmarkList::GetCurrentRowSelected() const
{
    return IndexOf(CurrentRow()) >= 0;
}

void TrBookmarkList::SetCurrentRowSelected(bool Value)
{
    const TBookmark b = CurrentRow();
    const int i = IndexOf(b);
    if (Value && i < 0)
        FList.push_back(b);
    else if (!Value && i >= 0)
        FList.erase(FList.begin() + i);
    FGrid->Invalidate();
}

void TrBookmarkList::SetLinkActive(bool Value)
{
    // Bookmarks of a closed or reopened dataset point nowhere.
    if (Value != FLinkActive)
        FList.clear();
    FLinkActive = Value;
}

// ---- the grid ------------------------------------------------------------------------

bool TrDBGrid_MS::IsActiveSelected()
{
    if (!DataLink()->Active())
        return false;
    try {
        return FrBookmarks.GetCurrentRowSelected();
    } catch (...) {
        return false;
    }
}

void TrDBGrid_MS::GetCellParamsAsNotSelected(TField* Field, TFont* AFont, TColor& Background, TDataImageDef& DataImageDef,
                                             bool ActiveRow, bool Highlight)
{
    FParamsSkipSelection = true;
    try {
        GetCellParams(Field, AFont, Background, DataImageDef, ActiveRow, Highlight);
    } catch (...) {
        FParamsSkipSelection = false;
        throw;
    }
    FParamsSkipSelection = false;
}

void TrDBGrid_MS::GetCellParams(TField* Field, TFont* AFont, TColor& Background, TDataImageDef& DataImageDef, bool ActiveRow,
                                bool Highlight)
{
    TrDBGrid::GetCellParams(Field, AFont, Background, DataImageDef, ActiveRow, Highlight);
    if (FParamsSkipSelection || !IsActiveSelected())
        return;
    Background = clHighlight;
    AFont->SetColor(clHighlightText);
}

void TrDBGrid_MS::ToggleCurrentRow()
{
    if (IsActive())
        FrBookmarks.SetCurrentRowSelected(!FrBookmarks.GetCurrentRowSelected());
}

void TrDBGrid_MS::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_SPACE && Shift == ssCtrl && IsActive() && !EditorMode()) {
        ToggleCurrentRow();
        Key = 0;
        return;
    }
    TrDBGrid::KeyDown(Key, Shift);
}

void TrDBGrid_MS::LinkActive(bool Value)
{
    FrBookmarks.SetLinkActive(Value);
    TrDBGrid::LinkActive(Value);
}

void TrDBGrid_MS::CellClick(int ACol, int ARow, TMouseButton Button, TShiftState Shift)
{
    TrDBGrid::CellClick(ACol, ARow, Button, Shift);
    if (Button == mbLeft && (Shift & ssCtrl) && ARow >= TitleOffset() && ACol >= IndicatorOffset())
        ToggleCurrentRow();
}
