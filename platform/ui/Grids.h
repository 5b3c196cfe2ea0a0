#pragma once
// The grid base classes: a scrolling table of cells that paints itself cell by
// cell on its canvas. TCustomGrid keeps the geometry (fixed and scrolling
// rows and columns, widths and heights, top-left cell, current cell), the
// sizing and moving states, hot tracking and the in-place editor, and hands
// every cell to the virtual DrawCell. TCustomDrawGrid adds the events of a
// draw grid; TStringGrid keeps a text per cell.
//
// The scroll bars are two Qt scroll bars laid over the right and bottom edge;
// everything else (cells, lines, titles, the editor's placing) is ours, so
// derived grids can carve bands out of the client area and paint them.

#include "platform/ui/Controls.h"
#include "platform/ui/ListBoxes.h"
#include "platform/ui/StdCtrls.h"

#include <QStringList>
#include <functional>
#include <map>
#include <vector>

class QScrollBar;
class TCustomGrid;

struct TGridCoord {
    int X = 0;
    int Y = 0;
    bool operator==(const TGridCoord& O) const { return X == O.X && Y == O.Y; }
};

struct TGridRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// The hot-tracked cell. Its coordinate is the top-left corner of its cell
// rectangle (one storage for both), so setting the coordinate through the
// library's helpers also makes the rectangle that single cell.
struct THotTrackCellInfo {
    TGridRect Rect{-1, -1, -1, -1};
    bool Pressed = false;
    TMouseButton Button = mbLeft;
};

using TGridOptions = unsigned;
constexpr TGridOptions goFixedVertLine = 1u << 0;
constexpr TGridOptions goFixedHorzLine = 1u << 1;
constexpr TGridOptions goVertLine = 1u << 2;
constexpr TGridOptions goHorzLine = 1u << 3;
constexpr TGridOptions goRangeSelect = 1u << 4;
constexpr TGridOptions goDrawFocusSelected = 1u << 5;
constexpr TGridOptions goRowSizing = 1u << 6;
constexpr TGridOptions goColSizing = 1u << 7;
constexpr TGridOptions goRowMoving = 1u << 8;
constexpr TGridOptions goColMoving = 1u << 9;
constexpr TGridOptions goEditing = 1u << 10;
constexpr TGridOptions goTabs = 1u << 11;
constexpr TGridOptions goRowSelect = 1u << 12;
constexpr TGridOptions goAlwaysShowEditor = 1u << 13;
constexpr TGridOptions goThumbTracking = 1u << 14;
constexpr TGridOptions goFixedColClick = 1u << 15;
constexpr TGridOptions goFixedRowClick = 1u << 16;
constexpr TGridOptions goFixedHotTrack = 1u << 17;

using TGridDrawState = unsigned;
constexpr TGridDrawState gdSelected = 1;
constexpr TGridDrawState gdFocused = 2;
constexpr TGridDrawState gdFixed = 4;
constexpr TGridDrawState gdHotTrack = 8;
constexpr TGridDrawState gdPressed = 16;

enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };
// The component library's configuration declares the same style names for
// its settings; the grid's own live in a namespace so both can be included.
namespace grids {
enum TGridDrawingStyle { gdsClassic, gdsThemed, gdsGradient };
}
enum TEditStyle { esSimple, esEllipsis, esPickList, esDataList };

// The editor that appears over the current cell. Keys it does not use itself
// (row and column moves, Return, Escape, Tab) go back to the grid.
class TInplaceEdit : public TCustomEdit {
public:
    explicit TInplaceEdit(TComponent* AOwner);
    TCustomGrid* Grid() const { return FGrid; }
    // Moves over the grid's current cell and takes its text, limit and style.
    virtual void UpdateContents();
    void Move(const TRect& Loc);
    void Hide();
    void Show();
    bool Visible() const { return FShown; }
    TEditStyle EditStyle() const { return FEditStyle; }
    void SetEditStyle(TEditStyle v);
    QString EditMask;
    // The ellipsis or drop-down button at the right edge; the text never
    // reaches into it.
    virtual int ButtonWidth() const { return FEditStyle == esSimple ? 0 : 17; }
    TRect ButtonRect() const;
    bool ButtonPressed() const { return FButtonPressed; }
    // Repaints the button (after the grid changed what it shows).
    void InvalidateButton();
    // Presses the button as a click on it does.
    void ClickButton() { EditButtonClick(); }
    virtual void DropDown() {}
    virtual void CloseUp(bool Accept) { (void)Accept; }
    virtual bool ListVisible() const { return false; }
    // Ctrl+V and Shift+Insert: the clipboard text replaces the selection
    // when the cell may change. Derived editors clean the pasted text.
    virtual void Paste();
    // Another control took the mouse or the window was deactivated (Sender:
    // where it came from, nullptr when unknown): open drop-downs close.
    virtual void CancelMode(TControl* Sender);
    // The editor lost the keyboard focus.
    virtual void KillFocus();
    void Change() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    // Return, Escape and (with goTabs) Tab belong to the grid, not the window.
    bool WantsKey(Word Key, TShiftState Shift) const override;
    // Places a popup list below the editor, or above it when it would pass
    // the bottom of the screen, cut at the screen's right edge, and shows it
    // without taking the focus.
    void ShowPopup(TWinControl* List, int AWidth, int AHeight);

protected:
    friend class TCustomGrid;
    friend class TInplaceEditButton;
    void DoExit() override;
    virtual void EditButtonClick();
    // Draws the button: a combo arrow for lists, three dots for an ellipsis.
    virtual void PaintButton(TCanvas* ACanvas, const TRect& R, bool Pressed);
    void SetGrid(TCustomGrid* G) { FGrid = G; }
    void LayoutButton();
    TCustomGrid* FGrid = nullptr;
    TEditStyle FEditStyle = esSimple;
    bool FShown = false;
    bool FButtonPressed = false;
    QWidget* FButton = nullptr;
};

// The drop-down list of texts of an in-place editor: a self-painted list
// box shown as a popup (owner-drawn when OnDrawItem is set).
class TPopupPickList : public TCustomListBox {
public:
    explicit TPopupPickList(TComponent* AOwner);
    // A click on an item (true) or outside the items (false).
    std::function<void(bool OnItem)> OnPick;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

protected:
    QWidget* CreateWidget() override;
};

// An editor with a drop-down list: the pick list of fixed texts, or another
// list (a data list) that a derived editor makes the active one.
class TInplaceEditList : public TInplaceEdit {
public:
    explicit TInplaceEditList(TComponent* AOwner);
    ~TInplaceEditList() override;
    QStringList PickList;
    int DropDownRows = 7;
    void DropDown() override;
    void CloseUp(bool Accept) override;
    bool ListVisible() const override;
    // The pick list's list box (created on first use). Setting its
    // OnDrawItem makes the drop-down owner-drawn with variable heights
    // (OnMeasureItem gives each item's height).
    TPopupPickList* PickListBox();
    // The list the drop-down shows: the pick list unless a derived editor
    // switched to its own list.
    TWinControl* ActiveList() { return FActiveList ? FActiveList : PickListBox(); }
    void SetActiveList(TWinControl* List) { FActiveList = List; }
    bool PickListActive() { return ActiveList() == PickListBox(); }
    // The pick list's current item (tests pick an entry through it).
    int ListItemIndex() const;
    void SetListItemIndex(int i);
    std::function<void(TInplaceEditList* Sender)> OnEditButtonClick;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void DblClick() override;

protected:
    void EditButtonClick() override;
    // The drop-down is gone (the editor repaints its button).
    void ListHidden();

private:
    TPopupPickList* FPickList = nullptr;
    TWinControl* FActiveList = nullptr;
};

class TCustomGrid : public TCustomControl {
public:
    explicit TCustomGrid(TComponent* AOwner);
    ~TCustomGrid() override;

    // ---- geometry ----
    int ColCount() const { return int(FColWidths.size()); }
    void SetColCount(int v);
    int RowCount() const { return int(FRowHeights.size()); }
    void SetRowCount(int v);
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int v);
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int v);
    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int v);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int v);
    int ColWidths(int i) const { return FColWidths.at(size_t(i)); }
    void SetColWidths(int i, int w);
    int RowHeights(int i) const { return FRowHeights.at(size_t(i)); }
    void SetRowHeights(int i, int h);
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int v);
    int TopRow() const { return FTopLeft.Y; }
    void SetTopRow(int v);
    int LeftCol() const { return FTopLeft.X; }
    void SetLeftCol(int v);
    int Col() const { return FCurrent.X; }
    void SetCol(int v);
    int Row() const { return FCurrent.Y; }
    void SetRow(int v);
    TGridRect Selection() const;
    // Whole scrolling rows / columns that fit.
    int VisibleRowCount() const;
    int VisibleColCount() const;
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions v);
    TGridState GridState() const { return FGridState; }

    // ---- look ----
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor v);
    grids::TGridDrawingStyle DrawingStyle() const { return FDrawingStyle; }
    void SetDrawingStyle(grids::TGridDrawingStyle v);
    // Any enumeration with the classic / themed / gradient order.
    template <typename E>
    void SetDrawingStyle(E v) { SetDrawingStyle(grids::TGridDrawingStyle(int(v))); }
    TColor GradientStartColor = clWhite;
    TColor GradientEndColor = 0xDDDDDD;
    bool DefaultDrawing = true;
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle v);
    // Shows the vertical bar whatever the scroll style, even when every row fits.
    bool ForceVertScrollBar = false;

    // ---- cells ----
    TRect CellRect(int ACol, int ARow) const;
    TGridCoord MouseCoord(int X, int Y) const;
    void MouseToCell(int X, int Y, int& ACol, int& ARow) const;
    TRect BoxRect(int ALeft, int ATop, int ARight, int ABottom) const;
    void InvalidateCell(int ACol, int ARow);
    void InvalidateRow(int ARow);
    void InvalidateCol(int ACol);
    void InvalidateGrid() { Invalidate(); }
    // The part of the control cells are drawn in (bands may be carved out).
    virtual TRect GridClientRect() const;
    // The width a vertical scroll bar takes (and the height of a horizontal one).
    static int ScrollBarSize();

    // ---- updates ----
    void BeginUpdate() { ++FUpdateLock; }
    void EndUpdate();
    bool Updating() const { return FUpdateLock > 0; }

    // ---- the editor ----
    bool EditorMode() const { return FEditorMode; }
    void SetEditorMode(bool v);
    TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }
    void ShowEditor();
    void HideEditor();
    void InvalidateEditor();
    // Takes the editor's text into the cell (SetEditText) when it changed.
    void UpdateText();

    // ---- hot tracking ----
    TGridCoord HotTrackCell() const { return {FHotTrackInfo.Rect.Left, FHotTrackInfo.Rect.Top}; }
    bool HotTrackPressed() const { return FHotTrackInfo.Pressed; }
    const THotTrackCellInfo& HotTrackInfo() const { return FHotTrackInfo; }

    // ---- dragging ----
    // Starts dragging the grid's contents: at once (Immediate) or once the
    // mouse moves Threshold pixels with the button held (-1: 5 pixels).
    void BeginDrag(bool Immediate, int Threshold = -1);
    // Ends a drag; Drop: dropped on the control under the mouse.
    void EndDrag(bool Drop);
    bool Dragging() const { return FDragging; }
    // A drag over this grid: Accept (false unless OnDragOver says so) tells
    // the dragging control whether a drop here is welcome.
    virtual bool DragOverAt(TComponent* Source, int X, int Y);
    std::function<void(TComponent* Sender, TComponent* Source, int X, int Y, bool& Accept)> OnDragOver;
    // Sizing, moving, selecting, a pressed title and a drag stop; the
    // editor's drop-down closes. Sent when another control takes the mouse.
    virtual void CancelMode(TControl* Sender);

    // ---- events ----
    std::function<void(TCustomGrid* Sender)> OnTopLeftChanged;
    std::function<void(TComponent* Sender)> OnStartDrag;
    std::function<void(TComponent* Sender, TComponent* Target, int X, int Y)> OnEndDrag;
    // The hint of the cell under the mouse; "|" in the text breaks lines.
    std::function<void(TCustomGrid* Sender, int ACol, int ARow, QString& HintStr, bool& CanShow)> OnCellHint;

    // Keys and mouse (public so the editor and tests can route them).
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    bool WantsKey(Word Key, TShiftState Shift) const override;

    // Moves the current cell (scrolling it into view when Show is set).
    void MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show);
    void FocusCell(int ACol, int ARow, bool MoveAnchor) { MoveColRow(ACol, ARow, MoveAnchor, true); }

protected:
    friend class TInplaceEdit;
    friend class TInplaceEditList;
    QWidget* CreateWidget() override;
    void Paint() override;
    void Resize() override;
    void DoEnter() override;
    void DoExit() override;
    void FontChanged() override;

    // Painting pipeline.
    virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
    virtual void DrawCellBackground(const TRect& ARect, TColor AColor, TGridDrawState AState, int ACol, int ARow);
    virtual void DrawCellHighlight(const TRect& ARect, TGridDrawState AState, int ACol, int ARow);
    // Whether the cell shows as selected (beyond the current cell / row).
    virtual bool IsCellSelected(int ACol, int ARow) const;
    // Paints what lies outside the cells (bands of derived grids).
    virtual void PaintBands() {}

    // Moving and sizing.
    virtual bool SelectCell(int ACol, int ARow);
    virtual void TopLeftChanged();
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    virtual void ColumnMoved(int FromIndex, int ToIndex);
    virtual void RowMoved(int FromIndex, int ToIndex);
    virtual void SizeChanged(int OldColCount, int OldRowCount);
    virtual bool BeginColumnDrag(int& Origin, int& Destination, const TPoint& MousePt);
    virtual bool CheckColumnDrag(int& Origin, int& Destination, const TPoint& MousePt);
    virtual bool EndColumnDrag(int& Origin, int& Destination, const TPoint& MousePt);
    virtual void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs) const;
    virtual void CellClick(int ACol, int ARow, TMouseButton Button, TShiftState Shift);
    virtual void DoStartDrag();
    // The control under a point of the grid (the grid itself when no window
    // is found there but the point lies on it).
    TControl* ControlAt(int X, int Y) const;
    void ShowDragTarget(int X, int Y);
    virtual void DoEndDrag(TComponent* Target, int X, int Y);
    // Asked when the mouse comes to another cell: the hint to show there.
    virtual void DoHintShow(int ACol, int ARow, QString& HintStr, bool& CanShow);
    // After the current cell moved (OldCol / OldRow: where it was).
    virtual void CellMoved(int OldCol, int OldRow) { (void)OldCol; (void)OldRow; }
    virtual void FixedCellClick(int ACol, int ARow);
    // Hot tracking of fixed cells: whether a cell takes part.
    virtual bool CanHotTrack(int ACol, int ARow) const;
    void SetHotTrackCell(TGridCoord C, bool Pressed);
    // Asks the hint of the cell under the point again: parts of a cell (its
    // buttons) may have hints of their own.
    void RefreshCellHint(int X, int Y);
    virtual void UpdateScrollBars();
    // The vertical scroll bar's range and position (a data grid maps rows).
    virtual void GetVertScrollInfo(int& Min, int& Max, int& Page, int& Pos) const;
    virtual void VertScrollTo(int Pos);
    virtual void VertScrollBy(int Lines);

    // Editing hooks.
    virtual bool CanEditShow() const;
    virtual bool CanEditModify();
    virtual bool CanEditAcceptKey(QChar Key) const;
    virtual QString GetEditText(int ACol, int ARow);
    virtual void SetEditText(int ACol, int ARow, const QString& Value);
    virtual int GetEditLimit() const { return 0; }
    virtual QString GetEditMask(int ACol, int ARow) const { (void)ACol; (void)ARow; return QString(); }
    virtual TEditStyle GetEditStyle(int ACol, int ARow) const { (void)ACol; (void)ARow; return esSimple; }
    virtual TInplaceEdit* CreateEditor();
    virtual void EditButtonClick() {}
    // The editor gave a key back (Escape cancels, Return accepts, moves).
    virtual void EditorKeyDown(Word& Key, TShiftState Shift);

    TColor FixedCellColor() const;
    // Rows 0..n-1 heights, columns widths: rectangles without the grid lines.
    int LineWidthH() const;  // between columns
    int LineWidthV() const;  // between rows

    std::vector<int> FColWidths;
    std::vector<int> FRowHeights;
    int FFixedCols = 1;
    int FFixedRows = 1;
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 24;
    int FGridLineWidth = 1;
    TGridCoord FTopLeft{1, 1};
    TGridCoord FCurrent{1, 1};
    TGridCoord FAnchor{1, 1};
    TGridOptions FOptions;
    TGridState FGridState = gsNormal;
    TColor FFixedColor = clBtnFace;
    grids::TGridDrawingStyle FDrawingStyle = grids::gdsClassic;
    TScrollStyle FScrollBars = ssBoth;
    int FUpdateLock = 0;
    bool FEditorMode = false;
    bool FCanEditModify = false;
    QString FEditorStartText;
    TInplaceEdit* FInplaceEdit = nullptr;
    THotTrackCellInfo FHotTrackInfo;
    TGridCoord FHintCell{-1, -1};
    // Sizing / moving.
    int FSizingIndex = -1;
    int FSizingPos = 0;
    int FSizingOfs = 0;
    int FMoveIndex = -1;
    int FMovePos = -1;
    TPoint FMouseDownPt;
    // Dragging: pending until the mouse passes the threshold.
    bool FDragging = false;
    bool FDragPending = false;
    int FDragThreshold = 5;
    TPoint FDragPt;

private:
    void ClampTopLeft();
    void ScrollIntoView(int ACol, int ARow);
    void LayoutScrollBars();
    void OnVScroll(int v);
    void OnHScroll(int v);
    QScrollBar* FVScroll = nullptr;
    QScrollBar* FHScroll = nullptr;
    bool FSettingScroll = false;
};

using TDrawCellEvent = std::function<void(TComponent* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State)>;
using TSelectCellEvent = std::function<void(TComponent* Sender, int ACol, int ARow, bool& CanSelect)>;
using TGetEditEvent = std::function<void(TComponent* Sender, int ACol, int ARow, QString& Value)>;
using TSetEditEvent = std::function<void(TComponent* Sender, int ACol, int ARow, const QString& Value)>;
using TMovedEvent = std::function<void(TComponent* Sender, int FromIndex, int ToIndex)>;

class TCustomDrawGrid : public TCustomGrid {
public:
    explicit TCustomDrawGrid(TComponent* AOwner) : TCustomGrid(AOwner) {}
    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;
    TGetEditEvent OnGetEditText;
    TGetEditEvent OnGetEditMask;
    TSetEditEvent OnSetEditText;
    TMovedEvent OnColumnMoved;
    TMovedEvent OnRowMoved;
    std::function<void(TComponent* Sender, int ACol, int ARow)> OnFixedCellClick;

protected:
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    bool SelectCell(int ACol, int ARow) override;
    QString GetEditText(int ACol, int ARow) override;
    QString GetEditMask(int ACol, int ARow) const override;
    void SetEditText(int ACol, int ARow, const QString& Value) override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    void FixedCellClick(int ACol, int ARow) override;
};

class TDrawGrid : public TCustomDrawGrid {
public:
    explicit TDrawGrid(TComponent* AOwner) : TCustomDrawGrid(AOwner) {}
};

class TStringGrid : public TDrawGrid {
public:
    explicit TStringGrid(TComponent* AOwner) : TDrawGrid(AOwner) {}
    QString Cells(int ACol, int ARow) const;
    void SetCells(int ACol, int ARow, const QString& Value);
    void* Objects(int ACol, int ARow) const;
    void SetObjects(int ACol, int ARow, void* Value);
    QStringList Cols(int ACol) const;
    QStringList Rows(int ARow) const;
    void SetRows(int ARow, const QStringList& Values);
    // Rearranges whole rows at once: row r takes what row From[r] held
    // (From holds every row index once). Sorting moves rows this way.
    void PermuteRows(const std::vector<int>& From);

protected:
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    QString GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const QString& Value) override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;

private:
    std::map<std::pair<int, int>, QString> FCells;
    std::map<std::pair<int, int>, void*> FObjects;
};
