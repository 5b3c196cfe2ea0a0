#pragma once
// The multi-column drop-down list of the lookup controls: one row per list
// record, one cell per list field, each cell adjustable by an event (text,
// width, a small picture, separator lines); it measures the widest text of
// every column so that its owner can size it, and lets the owner take over
// the incremental search.

#include "components/grid/rDBGridDataList.h"
#include "platform/ui/DBCtrls.h"

#include <functional>
#include <vector>

class TBitmap;

class TrPopupDataList : public TPopupDataList {
public:
    explicit TrPopupDataList(TComponent* AOwner);
    // Fixed row height (0: the text height plus ItemIncreaseHeight).
    int FixedItemHeight = 0;
    int ItemIncreaseHeight = 2;
    int ItemIncreaseWidth = 0;
    TGetLookupListItemProps GetListItemProps;
    std::function<void(TComponent* Sender, QChar& Key)> OnProcessSearchKey;
    // The width that shows every column in full; fills ColWidths.
    int GetMaxItemWidth();
    const std::vector<int>& ColWidths() const { return FColWidth; }
    int ItemHeight() const override;
    void ProcessSearchKey(QChar& Key) override;
    // The list's parent control handed to GetListItemProps (else the list).
    TComponent* PropsSender = nullptr;

protected:
    void Paint() override;

private:
    std::vector<TField*> ListFields() const;
    // A field's alignment as read in the list's reading order.
    TFieldAlignment ReadingAlignment(TFieldAlignment A) const;
    std::vector<int> FColWidth;
};

// Makes the grid's cell editor open this list for lookup fields.
void InstallGridDataList();

// Compares two key values; values that cannot be compared are not equal.
bool LookupVarEquals(const QVariant& A, const QVariant& B);
