#pragma once
// The columns of the editable string grid: each gives its grid column a data
// type, an edit style, formats and limits, fonts and colours, a pick list and
// cell graphics. The collection keeps one item per grid column.

#include "components/stringgrid/rStringGridEdTypes.h"
#include "platform/ui/Controls.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/ListBoxes.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class TrStringGridEd;
class TrStringGridEdColumn;
class TrStringGridEdColumns;

using TDropDownGetSizeEvent = std::function<void(TrStringGridEdColumn* Column, int& Width, int& Height, bool& Resize)>;

class TrStringGridEdColumn {
public:
    explicit TrStringGridEdColumn(TrStringGridEdColumns* Collection);
    ~TrStringGridEdColumn();
    TrStringGridEdColumn(const TrStringGridEdColumn&) = delete;
    TrStringGridEdColumn& operator=(const TrStringGridEdColumn&) = delete;

    void Assign(const TrStringGridEdColumn& Source);
    void RestoreDefaults();
    TrStringGridEd* Grid() const;
    TrStringGridEdColumns* Collection() const { return FCollection; }
    // The column's position in the collection (and in the grid).
    int Index() const;

    TrStringGridEdEditStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TrStringGridEdEditStyle V);
    TrStringGridEdDataType DataType = sgdText;
    TCustomImageList* DataImageList() const { return FDataImageList; }
    void SetDataImageList(TCustomImageList* V);
    QString NumFormat;
    double MinValue = 0;
    double MaxValue = 0;
    TrStringGridEdInvalidDataAction InvalidDataAction = sgaHighlight;
    TColor InvalidDataColor = clRed;
    TColor OutOfLimitDataColor = clBlack;
    int DropDownRows = 12;
    bool DropDownListCanDelete = false;
    QString CheckBoxTrueValue = QStringLiteral("1");
    QString CheckBoxFalseValue = QStringLiteral("0");
    bool CheckBoxDblClick = false;
    QString CheckListSeparator = QStringLiteral(",");
    bool CheckListCaseSensitive = false;
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment V);
    TAlignment CheckboxAlignment() const { return FCheckboxAlignment; }
    void SetCheckboxAlignment(TAlignment V);
    bool AutoAlignment = false;
    TColor Color() const { return FColor; }
    void SetColor(TColor V);
    // Editing the fonts clears the parent-font flags.
    TFont* Font() { return &FFont; }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool V);
    bool CustomDraw() const { return FCustomDraw; }
    void SetCustomDraw(bool V);
    QStringList PickList;
    bool ReadOnly = false;
    bool Visible() const { return FVisible; }
    void SetVisible(bool V);
    QString TitleCaption() const { return FTitleCaption; }
    void SetTitleCaption(const QString& V);
    TFont* TitleFont() { return &FTitleFont; }
    bool TitleParentFont() const { return FTitleParentFont; }
    void SetTitleParentFont(bool V);
    TColor TitleColor() const { return FTitleColor; }
    void SetTitleColor(TColor V);
    TAlignment TitleAlignment() const { return FTitleAlignment; }
    void SetTitleAlignment(TAlignment V);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool V);
    bool TitleWordWrap() const { return FTitleWordWrap; }
    void SetTitleWordWrap(bool V);
    TrDataBar DataBar;
    TrStatusBar StatusBar;
    int Width() const { return FWidth; }
    void SetWidth(int V);
    QString FieldName;
    int ColumnGroup = 0;
    TDrawItemEvent OnDropDownDrawItemEvent;
    TMeasureItemEvent OnDropDownMeasureItemEvent;
    TDropDownGetSizeEvent OnDropDownGetSize;

    // Check lists: a cell holds the checked items joined by CheckListSeparator.
    bool CheckListContainValue(const QString& Text, const QString& Value) const;
    QString CheckListAddValue(const QString& Text, const QString& Value) const;
    QString CheckListRemoveValue(const QString& Text, const QString& Value) const;
    QString CheckListCleanUpText(const QString& Text, bool SortAsPickList) const;
    void CheckListCleanUpRow(int ARow, bool SortAsPickList);

    // The grid took the column's width from its own column (the user sized it).
    void SetWidthFromGrid(int V) { FWidth = V; }
    // The grid's font changed: parent fonts follow.
    void GridFontChanged();

private:
    void Changed();
    void ApplyWidthToGrid();
    TrStringGridEdColumns* FCollection;
    TrStringGridEdEditStyle FButtonStyle = sgbNone;
    TCustomImageList* FDataImageList = nullptr;
    TAlignment FAlignment = taLeftJustify;
    TAlignment FCheckboxAlignment = taCenter;
    TColor FColor = clWindow;
    TFont FFont;
    bool FParentFont = true;
    bool FCustomDraw = false;
    bool FVisible = true;
    QString FTitleCaption;
    TFont FTitleFont;
    bool FTitleParentFont = true;
    TColor FTitleColor = clNone;
    TAlignment FTitleAlignment = taLeftJustify;
    bool FWordWrap = false;
    bool FTitleWordWrap = false;
    int FWidth = 90;
    bool FSettingFont = false;
};

class TrStringGridEdColumns {
public:
    explicit TrStringGridEdColumns(TrStringGridEd* Grid) : FGrid(Grid) {}
    TrStringGridEd* Grid() const { return FGrid; }
    TrStringGridEd* GetOwner() const { return FGrid; }
    int Count() const { return int(FItems.size()); }
    TrStringGridEdColumn* Add();
    TrStringGridEdColumn* Items(int Index) const { return FItems.at(size_t(Index)).get(); }
    TrStringGridEdColumn* GetColumn(int Index) const { return Items(Index); }
    void SetColumn(int Index, const TrStringGridEdColumn& Value) { Items(Index)->Assign(Value); }
    void Delete(int Index);
    void Move(int From, int To);
    void Insert(int Index, int Count);
    void Clear() { FItems.clear(); }
    int IndexOf(const TrStringGridEdColumn* C) const;
    void RestoreDefaults();
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    // A column changed: the grid repaints (not inside BeginUpdate).
    void Update();

private:
    TrStringGridEd* FGrid;
    std::vector<std::unique_ptr<TrStringGridEdColumn>> FItems;
    int FUpdateCount = 0;
};
