#pragma once
// A grid that keeps its own selection of records (Ctrl+click or Ctrl+Space
// marks a record), independent of the base grid's selected rows. Exports and
// printouts ask it which records are selected and how a cell looks when its
// selection colouring is left out.

#include "components/grid/rDBGrid.h"
#include "platform/database/DataSet.h"
#include "platform/rtl/Exception.h"

#include <vector>

SORVEX_EXCEPTION_KIND(EInvalidGridOperation, Exception)

class TrDBGrid_MS;

class TrBookmarkList {
public:
    explicit TrBookmarkList(TrDBGrid_MS* Grid) : FGrid(Grid) {}
    // The current record's bookmark; raises EInvalidGridOperation on a closed dataset.
    TBookmark CurrentRow() const;
    bool GetCurrentRowSelected() const;
    void SetCurrentRowSelected(bool Value);
    int GetCount() const { return int(FList.size()); }
    const std::vector<TBookmark>& Items() const { return FList; }
    void Clear() { FList.clear(); }
    void SetLinkActive(bool Value);

private:
    int IndexOf(const TBookmark& B) const;
    TrDBGrid_MS* FGrid;
    std::vector<TBookmark> FList;
    bool FLinkActive = false;
};

class TrDBGrid_MS : public TrDBGrid {
public:
    explicit TrDBGrid_MS(TComponent* AOwner) : TrDBGrid(AOwner), FrBookmarks(this) {}
    TrBookmarkList* rBookmarks() { return &FrBookmarks; }
    // Whether the current record is selected; False on a closed dataset or an error.
    bool IsActiveSelected();
    // The cell's parameters as for a record that is not selected.
    void GetCellParamsAsNotSelected(TField* Field, TFont* AFont, TColor& Background, TDataImageDef& DataImageDef, bool ActiveRow,
                                    bool Highlight);
    int GetSelectedRecCount() const { return FrBookmarks.GetCount(); }
    // Marks or unmarks the current record.
    void ToggleCurrentRow();

    void GetCellParams(TField* Field, TFont* AFont, TColor& Background, TDataImageDef& DataImageDef, bool ActiveRow,
                       bool Highlight) override;
    void KeyDown(Word& Key, TShiftState Shift) override;

protected:
    void LinkActive(bool Value) override;
    void CellClick(int ACol, int ARow, TMouseButton Button, TShiftState Shift) override;

private:
    TrBookmarkList FrBookmarks;
    bool FParamsSkipSelection = false;
};
