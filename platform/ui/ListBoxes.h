#pragma once
// List boxes that paint themselves: the standard list box, owner-drawn lists
// of fixed or variable item height, and (CheckLst.h) the check list box.
//
// A press first moves the selection (as the window system's list does) and
// then reaches MouseDown, so an override of MouseDown sees the pressed item
// as the current one. Items scroll by whole items; TopIndex is the first
// item shown.
//
// A list can be wider than its window: ScrollWidth sets the width of its
// lines, and a horizontal bar (or Left/Right keys) shifts them by LeftOffset.
// A virtual list keeps no texts: SetCount gives the number of items and
// OnData supplies an item's text whenever it is drawn or read.

#include "platform/ui/Controls.h"

#include <QStringList>
#include <vector>

class QScrollBar;

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };

using TOwnerDrawState = unsigned;
constexpr TOwnerDrawState odSelected = 0x1;
constexpr TOwnerDrawState odGrayed = 0x2;
constexpr TOwnerDrawState odDisabled = 0x4;
constexpr TOwnerDrawState odChecked = 0x8;
constexpr TOwnerDrawState odFocused = 0x10;
constexpr TOwnerDrawState odDefault = 0x20;
constexpr TOwnerDrawState odComboBoxEdit = 0x1000;

using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;
using TLBGetDataEvent = std::function<void(TWinControl* Control, int Index, QString& Data)>;
// Finds the index of an item of a virtual list by its text (-1: none).
using TLBFindDataEvent = std::function<int(TWinControl* Control, const QString& FindString)>;

class TCustomListBox : public TCustomControl {
public:
    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;

    // ---- items ----
    QStringList Items() const { return FItems; }
    void SetItems(const QStringList& Items);
    int Count() const { return int(FItems.size()); }
    // An item's text (asked from OnData in a virtual list).
    QString Strings(int Index) const;
    void SetStrings(int Index, const QString& Value);
    void* Objects(int Index) const;
    void SetObjects(int Index, void* Value);
    int AddItem(const QString& Item, void* Object = nullptr);
    void InsertItem(int Index, const QString& Item, void* Object = nullptr);
    void DeleteItem(int Index);
    // Moves an item with its object and its own state (a check mark).
    void MoveItem(int CurIndex, int NewIndex);
    // The index of an item by text (OnDataFind in a virtual list).
    int IndexOf(const QString& Item) const;
    // The number of items of a virtual list; other lists ignore it.
    void SetCount(int Value);
    bool IsVirtual() const { return FStyle == lbVirtual || FStyle == lbVirtualOwnerDraw; }
    bool IsOwnerDrawn() const
    {
        return FStyle == lbOwnerDrawFixed || FStyle == lbOwnerDrawVariable || FStyle == lbVirtualOwnerDraw;
    }
    void Clear();
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);

    // ---- selection ----
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool Value);
    bool ExtendedSelect = true;  // Shift and Ctrl extend a multiple selection
    bool Selected(int Index) const;
    void SetSelected(int Index, bool Value);
    int SelCount() const;
    void ClearSelection();
    void SelectAll();

    // ---- look and geometry ----
    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle Value);
    // The item height: the font's line height and two pixels in lbStandard, else the set one.
    int ItemHeight() const;
    void SetItemHeight(int Value);
    int TopIndex() const { return FTopIndex; }
    void SetTopIndex(int Value);
    // The rectangle of an item in client coordinates (empty when scrolled away).
    TRect ItemRect(int Index) const;
    // The item under a point; with Existing false a point below the last
    // item gives Count (else -1).
    int ItemAtPos(const TPoint& Pos, bool Existing) const;
    // Items that fit wholly from TopIndex on.
    int VisibleItemCount() const;
    TRect ClientRect() const override;
    int TabWidth = 0;  // tab stops in dialog units (0: tabs are not expanded)
    // The distance between tab stops in pixels (a quarter of the font's average
    // character width per dialog unit), 0 when tabs are not expanded.
    int TabStopPixels() const;
    // The width of the lines in pixels; wider than the client area it brings
    // a horizontal scroll bar (0: no horizontal scrolling).
    int ScrollWidth() const { return FScrollWidth; }
    void SetScrollWidth(int Value);
    // How far the lines are scrolled to the left, in pixels.
    int LeftOffset() const { return FLeftOffset; }
    void SetLeftOffset(int Value);
    int MaxLeftOffset() const;

    TNotifyEvent OnChange;  // the current item changed through the user
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;
    TLBGetDataEvent OnData;
    TLBFindDataEvent OnDataFind;

    // Used by the widget layer before a press reaches MouseDown.
    void HandlePress(TMouseButton Button, TShiftState Shift, int X, int Y);

protected:
    QWidget* CreateWidget() override;
    void Paint() override;
    void FontChanged() override;
    void Resize() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    // A typed letter or digit moves to the next item that starts with it.
    void KeyPress(QChar& Key) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    bool WantsKey(Word Key, TShiftState Shift) const override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    bool ClicksOnMouseUp() const override { return false; }
    // Draws one item: OnDrawItem for owner-drawn lists when assigned, else the text.
    virtual void DrawItem(int Index, TRect Rect, TOwnerDrawState State);
    virtual void MeasureItem(int Index, int& Height);
    // The item's state for drawing (derived lists add their own bits).
    virtual TOwnerDrawState ItemState(int Index) const;
    // The part of an item's rectangle that the focus rectangle frames.
    virtual TRect FocusRectOf(const TRect& ItemRect) const { return ItemRect; }
    // Per-item state kept in step with the items by derived lists.
    virtual void ItemInserted(int Index) { (void)Index; }
    virtual void ItemDeleted(int Index) { (void)Index; }
    virtual void ItemMoved(int CurIndex, int NewIndex) { (void)CurIndex; (void)NewIndex; }
    virtual void ItemsCleared() {}
    int ItemHeightOf(int Index) const;
    // Changes the current item as the user does (scrolls it into view, raises OnChange and OnClick).
    void UserSelect(int Index, TShiftState Shift);
    void UpdateScrollBar();
    void ScrollIntoView(int Index);
    int MaxTopIndex() const;

    QStringList FItems;
    std::vector<void*> FObjects;
    std::vector<bool> FSelected;
    TListBoxStyle FStyle = lbStandard;
    int FItemHeight = 16;
    int FItemIndex = -1;
    int FAnchor = -1;
    int FTopIndex = 0;
    bool FMultiSelect = false;
    bool FSorted = false;
    QScrollBar* FScrollBar = nullptr;
    QScrollBar* FHScrollBar = nullptr;
    int FScrollWidth = 0;
    int FLeftOffset = 0;
    bool FScrolling = false;
    mutable int FLineHeight = 0;  // the font's item height, 0 until measured
    mutable int FAverageCharWidth = 0;  // for tab stops, 0 until measured
};

class TListBox : public TCustomListBox {
public:
    explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};
