#pragma once
// The data grid: a grid over the rows of a dataset. The grid's rows are the
// data link's buffer window (as many rows as fit); painting makes each row
// the link's active record in turn, reads the fields and puts the cursor's
// row back, so painting never moves the dataset or fires its events. The
// columns (their fields, widths, titles, colours, fonts, pick lists) are a
// collection of their own that follows the dataset's fields until a program
// customises it.

#include "platform/database/DataSource.h"
#include "platform/ui/DBCtrls.h"
#include "platform/ui/Grids.h"

#include <QStringList>
#include <memory>
#include <vector>

class TCustomDBGrid;
class TDBGridColumns;
class TColumn;

enum TColumnButtonStyle { cbsAuto, cbsEllipsis, cbsNone };

// Which properties of a column were set (the others follow the field/grid).
using TColumnValues = unsigned;
constexpr TColumnValues cvColor = 1;
constexpr TColumnValues cvWidth = 2;
constexpr TColumnValues cvFont = 4;
constexpr TColumnValues cvAlignment = 8;
constexpr TColumnValues cvReadOnly = 16;
constexpr TColumnValues cvTitleColor = 32;
constexpr TColumnValues cvTitleCaption = 64;
constexpr TColumnValues cvTitleAlignment = 128;
constexpr TColumnValues cvTitleFont = 256;

class TColumnTitle {
public:
    explicit TColumnTitle(TColumn* Column) : FColumn(Column) {}
    QString Caption() const;
    void SetCaption(const QString& v);
    QString DefaultCaption() const;
    TAlignment Alignment() const;
    void SetAlignment(TAlignment v);
    TColor Color() const;
    void SetColor(TColor v);
    TFont* Font();
    void SetFont(const TFont& v);
    void RestoreDefaults();
    void Assign(const TColumnTitle& Source);
    TColumn* Column() const { return FColumn; }

private:
    TColumn* FColumn;
    QString FCaption;
    TAlignment FAlignment = taLeftJustify;
    TColor FColor = clBtnFace;
    TFont FFont;
};

class TColumn {
public:
    explicit TColumn(TDBGridColumns* Collection);
    virtual ~TColumn() = default;
    TColumn(const TColumn&) = delete;
    TColumn& operator=(const TColumn&) = delete;

    TDBGridColumns* Collection() const { return FCollection; }
    TCustomDBGrid* Grid() const;
    const QString& FieldName() const { return FFieldName; }
    void SetFieldName(const QString& v);
    // The field of that name in the grid's dataset (nullptr when none).
    TField* Field() const;
    void SetField(TField* v);
    int Width() const;
    void SetWidth(int v);
    int DefaultWidth() const;
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    int Index() const;
    void SetIndex(int v);
    bool ReadOnly() const;
    void SetReadOnly(bool v);
    TColor Color() const;
    void SetColor(TColor v);
    TColor DefaultColor() const;
    TFont* Font();
    void SetFont(const TFont& v);
    TFont* DefaultFont() const;
    TAlignment Alignment() const;
    void SetAlignment(TAlignment v);
    TAlignment DefaultAlignment() const;
    TColumnTitle* Title() { return &FTitle; }
    TColumnButtonStyle ButtonStyle = cbsAuto;
    QStringList PickList;
    int DropDownRows = 7;
    int Tag = 0;
    TColumnValues AssignedValues() const { return FAssigned; }
    void RestoreDefaults();
    void Assign(const TColumn& Source);
    // Whether the column shows the field's default (not a customised column).
    bool Showing() const;

private:
    friend class TColumnTitle;
    friend class TDBGridColumns;
    friend class TCustomDBGrid;
    void Changed();
    TDBGridColumns* FCollection;
    QString FFieldName;
    TField* FField = nullptr;
    bool FVisible = true;
    int FWidth = 64;
    bool FReadOnly = false;
    TColor FColor = clWindow;
    TFont FFont;
    TAlignment FAlignment = taLeftJustify;
    TColumnTitle FTitle;
    TColumnValues FAssigned = 0;
};

enum TDBGridColumnsState { csDefault, csCustomized };

class TDBGridColumns {
public:
    explicit TDBGridColumns(TCustomDBGrid* Grid) : FGrid(Grid) {}
    TCustomDBGrid* Grid() const { return FGrid; }
    int Count() const { return int(FItems.size()); }
    TColumn* Items(int i) const { return FItems.at(size_t(i)).get(); }
    TColumn* operator[](int i) const { return Items(i); }
    // Adds a column; the collection becomes customised.
    TColumn* Add();
    void Clear();
    void Delete(int i);
    // Copies the columns of another collection (customised afterwards).
    void Assign(const TDBGridColumns& Source);
    TDBGridColumnsState State() const { return FState; }
    void SetState(TDBGridColumnsState v);
    // Columns for every field of the dataset (default state).
    void RebuildColumns();
    void RestoreDefaults();
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

private:
    friend class TColumn;
    friend class TCustomDBGrid;
    void Changed();
    void Move(int From, int To);
    TCustomDBGrid* FGrid;
    std::vector<std::unique_ptr<TColumn>> FItems;
    TDBGridColumnsState FState = csDefault;
    int FUpdateCount = 0;
};

// The selected rows of a multi-select grid, as bookmarks.
class TBookmarkList {
public:
    explicit TBookmarkList(TCustomDBGrid* Grid) : FGrid(Grid) {}
    int Count() const { return int(FList.size()); }
    const TBookmark& Items(int i) const { return FList.at(size_t(i)); }
    // Whether the row the fields read from is selected (honours the link's
    // active record, so painting can ask for every visible row).
    bool CurrentRowSelected() const;
    void SetCurrentRowSelected(bool v);
    bool Find(const TBookmark& B, int& Index) const;
    int IndexOf(const TBookmark& B) const;
    void Clear();
    // Deletes the selected rows from the dataset.
    void Delete();
    // Drops bookmarks whose rows are gone; true when any was dropped.
    bool Refresh();

private:
    TCustomDBGrid* FGrid;
    std::vector<TBookmark> FList;
};

using TDBGridOptions = unsigned;
constexpr TDBGridOptions dgEditing = 1u << 0;
constexpr TDBGridOptions dgAlwaysShowEditor = 1u << 1;
constexpr TDBGridOptions dgTitles = 1u << 2;
constexpr TDBGridOptions dgIndicator = 1u << 3;
constexpr TDBGridOptions dgColumnResize = 1u << 4;
constexpr TDBGridOptions dgColLines = 1u << 5;
constexpr TDBGridOptions dgRowLines = 1u << 6;
constexpr TDBGridOptions dgTabs = 1u << 7;
constexpr TDBGridOptions dgRowSelect = 1u << 8;
constexpr TDBGridOptions dgAlwaysShowSelection = 1u << 9;
constexpr TDBGridOptions dgConfirmDelete = 1u << 10;
constexpr TDBGridOptions dgCancelOnExit = 1u << 11;
constexpr TDBGridOptions dgMultiSelect = 1u << 12;
constexpr TDBGridOptions dgTitleClick = 1u << 13;
constexpr TDBGridOptions dgTitleHotTrack = 1u << 14;

// The grid's link: forwards the dataset's notifications to the grid.
class TGridDataLink : public TDataLink {
public:
    explicit TGridDataLink(TCustomDBGrid* Grid) : FGrid(Grid) { VisualControl = true; }
    TCustomDBGrid* Grid() const { return FGrid; }
    bool Modified() const { return FModified; }
    void SetModified() { FModified = true; }
    void Reset();

protected:
    void ActiveChanged() override;
    void DataSetChanged() override;
    void DataSetScrolled(int Distance) override;
    void EditingChanged() override;
    void LayoutChanged() override;
    void RecordChanged(TField* Field) override;
    void UpdateData() override;

private:
    friend class TCustomDBGrid;
    TCustomDBGrid* FGrid;
    bool FModified = false;
    bool FInUpdateData = false;
};

using TDrawColumnCellEvent =
    std::function<void(TComponent* Sender, const TRect& Rect, int DataCol, TColumn* Column, TGridDrawState State)>;
using TDBGridClickEvent = std::function<void(TColumn* Column)>;

class TCustomDBGrid : public TCustomGrid {
public:
    explicit TCustomDBGrid(TComponent* AOwner);
    ~TCustomDBGrid() override;

    TDataSource* DataSource() const { return FDataLink.DataSource(); }
    void SetDataSource(TDataSource* v);
    TGridDataLink* DataLink() { return &FDataLink; }
    TDBGridColumns* Columns() { return &FColumns; }
    void SetColumns(const TDBGridColumns& v) { FColumns.Assign(v); }
    TDBGridOptions Options() const { return FDBOptions; }
    void SetOptions(TDBGridOptions v);
    // The data column of the current cell and its field.
    int SelectedIndex() const;
    void SetSelectedIndex(int v);
    TField* SelectedField() const;
    void SetSelectedField(TField* v);
    TBookmarkList* SelectedRows() { return &FSelectedRows; }
    int FieldCount() const { return FColumns.Count(); }
    TField* Fields(int i) const;
    TFont* TitleFont() { return &FTitleFont; }
    void SetTitleFont(const TFont& v);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v) { FReadOnly = v; }
    int IndicatorOffset() const { return (FDBOptions & dgIndicator) ? 1 : 0; }
    int TitleOffset() const { return (FDBOptions & dgTitles) ? 1 : 0; }
    // Raw grid column <-> data column (the indicator and hidden columns).
    int RawToDataColumn(int ACol) const;
    int DataToRawColumn(int ACol) const;
    // The data column under a raw column, nullptr for the indicator.
    TColumn* ColumnAt(int RawCol) const;

    // Draws a cell as the grid does by default: the field's display text
    // with the column's alignment on the canvas's current brush and font.
    void DefaultDrawColumnCell(const TRect& Rect, int DataCol, TColumn* Column, TGridDrawState State);
    // Rebuilds the layout (columns, widths, rows) after changes.
    void LayoutChanged();
    void BeginLayout() { ++FLayoutLock; }
    void EndLayout();
    bool ValidFieldIndex(int i) const { return i >= 0 && i < FColumns.Count(); }

    TDrawColumnCellEvent OnDrawColumnCell;
    TDBGridClickEvent OnCellClick;
    TDBGridClickEvent OnTitleClick;
    TNotifyEvent OnColEnter;
    TNotifyEvent OnColExit;
    TNotifyEvent OnEditButtonClick;
    std::function<void(TComponent* Sender, int FromIndex, int ToIndex)> OnColumnMoved;

    void KeyDown(Word& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

protected:
    friend class TGridDataLink;
    friend class TDBGridColumns;
    friend class TColumn;
    friend class TBookmarkList;
    friend class TDBGridInplaceEdit;
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    virtual void DrawColumnCell(const TRect& Rect, int DataCol, TColumn* Column, TGridDrawState State);
    virtual void DrawTitleCell(int ACol, const TRect& ARect, TColumn* Column, TGridDrawState AState);
    virtual void DrawIndicatorCell(int DataRow, const TRect& ARect, TGridDrawState AState);
    // Whether a data cell shows as selected (multi-select rows and the current cell).
    virtual bool HighlightCell(int DataCol, int DataRow, const QString& Value, TGridDrawState AState);
    bool IsCellSelected(int ACol, int ARow) const override;
    bool CanHotTrack(int ACol, int ARow) const override;

    // Data link notifications.
    virtual void LinkActive(bool Value);
    virtual void DataChanged();
    virtual void Scroll(int Distance);
    virtual void EditingChanged();
    virtual void RecordChanged(TField* Field);
    virtual void UpdateData();
    virtual void ColEnter();
    virtual void ColExit();
    virtual void TitleClick(TColumn* Column);
    virtual void DoCellClick(TColumn* Column);
    virtual void DeferLayout() { LayoutChanged(); }
    // Heights of the title row and of the data rows (several text lines in a derived grid).
    virtual int TitleRowHeight() const { return FDefaultRowHeight; }
    virtual int DataRowHeight() const { return FDefaultRowHeight; }
    // Width of the indicator column.
    virtual int IndicatorColWidth() const { return 12; }
    // Data columns frozen beside the indicator (kept through every layout pass).
    virtual int FrozenDataColumns() const { return 0; }

    // Grid hooks.
    bool SelectCell(int ACol, int ARow) override;
    void CellMoved(int OldCol, int OldRow) override;
    void CellClick(int ACol, int ARow, TMouseButton Button, TShiftState Shift) override;
    void FixedCellClick(int ACol, int ARow) override;
    void ColWidthsChanged() override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    bool BeginColumnDrag(int& Origin, int& Destination, const TPoint& MousePt) override;
    bool CheckColumnDrag(int& Origin, int& Destination, const TPoint& MousePt) override;
    void GetVertScrollInfo(int& Min, int& Max, int& Page, int& Pos) const override;
    void VertScrollTo(int Pos) override;
    void VertScrollBy(int Lines) override;
    void Resize() override;
    void DoExit() override;
    void FontChanged() override;

    // Editing.
    bool CanEditShow() const override;
    bool CanEditModify() override;
    QString GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const QString& Value) override;
    int GetEditLimit() const override;
    QString GetEditMask(int ACol, int ARow) const override;
    TEditStyle GetEditStyle(int ACol, int ARow) const override;
    TInplaceEdit* CreateEditor() override;
    void EditButtonClick() override;
    void EditorKeyDown(Word& Key, TShiftState Shift) override;

    TGridDataLink FDataLink;
    TDBGridColumns FColumns;
    TBookmarkList FSelectedRows;
    TDBGridOptions FDBOptions;
    TFont FTitleFont;
    bool FReadOnly = false;
    int FLayoutLock = 0;
    bool FInLayout = false;
    // The visible columns: data column of each raw column after the indicator.
    std::vector<int> FVisibleCols;
    QString FEditText;
    // The cell being painted and its text (read once per cell).
    TColumn* FPaintColumn = nullptr;
    QString FPaintText;

private:
    void UpdateRowCount();
    void UpdateActive();
    // Makes a row of the window the one field reads come from for painting.
    void SelectPaintRow(int DataRow);
    void ApplyGridOptions();
    int FSelectionAnchorRow = -1;
};

// The data grid's cell editor: the column's pick list, and for a lookup
// field whose key field may change a data list of the lookup dataset that
// writes the chosen row's key into the key field.
class TDBGridInplaceEdit : public TInplaceEditList {
public:
    explicit TDBGridInplaceEdit(TCustomDBGrid* Grid);
    ~TDBGridInplaceEdit() override;
    TCustomDBGrid* DBGrid() const { return FDBGrid; }
    // The lookup list (created at the first lookup cell).
    TPopupDataList* DataList() const { return FDataList; }
    bool UseDataList() const { return FUseDataList; }
    void UpdateContents() override;
    void DropDown() override;
    void CloseUp(bool Accept) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    // Typing while the lookup list is open searches the list.
    void KeyPress(QChar& Key) override;

protected:
    TPopupDataList* FDataList = nullptr;
    bool FUseDataList = false;
    // Points the data list at the lookup dataset while the list is open.
    TDataSource FLookupSource;

private:
    TCustomDBGrid* FDBGrid;
};

// One line of cell text as the data grid draws it: two pixels in from the
// sides, centred vertically, clipped to the rectangle, the cell filled first
// when the brush is solid (plain Latin text takes a fast glyph path).
void DrawGridCellText(TCanvas* C, const TRect& R, const QString& Text, TAlignment A);

class TDBGrid : public TCustomDBGrid {
public:
    explicit TDBGrid(TComponent* AOwner) : TCustomDBGrid(AOwner) {}
};
