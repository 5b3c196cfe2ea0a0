#pragma once
// The lookup drop-down of the grid's cell editor. The library's multi-column
// list lives in the layer above the grid: that layer installs how the list
// is made, how the grid's item settings and cell handler reach it and how
// wide it needs to be; without it the editor uses the platform's list.

#include <QString>
#include <functional>

class TBitmap;
class TCanvas;
class TComponent;
class TField;
class TPopupDataList;

// Adjusts one cell of a lookup list: its width, text, a small picture drawn
// at its left and separator lines along its top and bottom edges.
using TGetLookupListItemProps =
    std::function<void(TComponent* Sender, TCanvas* Canvas, int RowIndex, int ColIndex, bool Selected, TField* KeyField, TField* ListField,
                       int& Width, int Height, QString& Text, TBitmap* ShowBmp, bool& DrawSeparatorTop, bool& DrawSeparatorBottom)>;

// What the editor hands the list before each opening.
struct TGridDataListSettings {
    int ItemHeight = 0;  // 0: the list's own
    int IncreaseHeight = 2;
    int IncreaseWidth = 0;
    TGetLookupListItemProps ItemProps;
    TComponent* Sender = nullptr;  // the editor, as the cell handler's Sender
};

struct TGridDataListLayer {
    std::function<TPopupDataList*()> Make;
    std::function<void(TPopupDataList* List, const TGridDataListSettings& Settings)> Prepare;
    // The width that shows every column of the list in full.
    std::function<int(TPopupDataList* List)> MaxItemWidth;
};
TGridDataListLayer& GridDataListLayer();
