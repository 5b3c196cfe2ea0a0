#pragma once
// The kinds, records and small persistent parts the editable string grid and
// its columns share: edit styles, data types, validity, options, the
// data-image definition of a cell, the general-event record, and the data
// bar and status bar settings of a column.

#include "components/base/ParioCompGlobalCfg.h"  // TrDataBarText, TrStatusBarType
#include "platform/ui/Types.h"

#include <QString>
#include <QVariant>
#include <cstdint>

class TColumn;
class TField;


enum TrStringGridEdEditStyle {
    sgbNone,
    sgbEllipsis,
    sgbEllipsisOnly,
    sgbDropDown,
    sgbDropDownList,
    sgbDropDownColor,
    sgbCheckbox,
    sgbDateTimePicker,
    sgbDropDownCheckList,
    sgbDropDownCheckListOnly,
    sgbDropDownDataImage,
    sgbButton,
    sgbRichText,
    sgbCustomEditor
};

// Styles 1 to 5 and 7 to 10 carry a button at the right of the editor.
inline bool IsButtonStyle(TrStringGridEdEditStyle S)
{
    return (S >= sgbEllipsis && S <= sgbDropDownColor) || (S >= sgbDateTimePicker && S <= sgbDropDownDataImage);
}
// Styles 3 to 5 and 7 to 10 open a list or the calendar.
inline bool IsListStyle(TrStringGridEdEditStyle S)
{
    return (S >= sgbDropDown && S <= sgbDropDownColor) || (S >= sgbDateTimePicker && S <= sgbDropDownDataImage);
}
inline bool IsEllipsisStyle(TrStringGridEdEditStyle S) { return S == sgbEllipsis || S == sgbEllipsisOnly; }
inline bool IsPickListStyle(TrStringGridEdEditStyle S) { return IsListStyle(S) && S != sgbDateTimePicker; }
inline bool IsCheckListStyle(TrStringGridEdEditStyle S)
{
    return S == sgbDropDownCheckList || S == sgbDropDownCheckListOnly;
}

enum TrStringGridEdDataType { sgdText, sgdNumber, sgdInteger, sgdDate, sgdTime, sgdDateTime, sgdDataBar, sgdStatusBar };

inline bool IsNumberType(TrStringGridEdDataType T)
{
    return T == sgdNumber || T == sgdInteger || T == sgdDataBar || T == sgdStatusBar;
}
inline bool IsDateType(TrStringGridEdDataType T) { return T == sgdDate || T == sgdTime || T == sgdDateTime; }

enum TrStringGridEdDataState { sdsOk, sdsEmpty, sdsInvalid, sdsOutOfLimit };

enum TrStringGridEdInvalidDataAction { sgaNone, sgaHighlight, sgaBeep };

// Scoped: the data grid's options use some of the same names.
enum class TOptionEx {
    dgDragCell,
    dgSelectRange,
    dgAlwaysShowSelection,
    dgEditArrowKeyMoveCell,
    dgShowTitleBold,
    dgColorChangedCells,
    dgSortAfterTitleClick,
    dgSortFixedCol,
    dgSortShowProgress,
    dgResizeLastColumn,
    dgNextRowAfterReturn,
    dgCopyPasteHiddenColumns,
    dgSkipCellHighlight
};
// A set of TOptionEx: bit n is ordinal n.
using TOptionsEx = uint32_t;
constexpr TOptionsEx OptEx(TOptionEx O) { return TOptionsEx(1u << unsigned(O)); }

enum TCustomEditorAction { ceaSetValue, ceaGetValue, ceaShow, ceaHide };

// The general events of the string grid and of the data grid (one list, so
// code that uses both grids sees one type).
enum TGeneralEventType {
    geChangeScaleBefore, geChangeScaleAfter,
    geIsBool, geIsMemo, geIsMemoGlyph, geIsMemoText, geIsHTMLText, geIsRichEdit, geIsGraphic, geIsFieldAsDate, geIsDate,
    geIsFieldAsTime, geIsTime, geIsColor, geIsLink, geIsPassword,
    geIsFilter,
    geIsDrawDropDown, geIsDataBar, geIsStatusBar, geIsDataImage, geIsFixedColumn,
    geIsReadOnlyColumn, geIsLookupFilterColumn,
    geGetTitleImageIndex, geGetTitleButtonList,
    geShowMemoDialog, geShowGraphicDialog,
    geSetColumnWidth,
    geContextPopup, geContextTitlePopup, geContextTitleExPopup, geContextTitleMergedCellPopup, geContextFixColPopup,
    geGetDataBarParam, geGetStatusBarParam, geGetFooterRowParam, geGetDataImageIndex, geGetDataImageAlignment,
    geDropDownShowing, geDropDownClosed,
    geCellObjectClick, geCellObjectDblClick, gePasteDataBefore, gePasteDataAfter
};

// What GetCoordPosition answers for a cell.
constexpr int cpOutside = 0;
constexpr int cpFixedCorner = 1;
constexpr int cpFixedRow = 2;
constexpr int cpFixedCol = 3;
constexpr int cpDataCell = 4;

struct TDataImageDef {
    bool UseDataImage = false;
    int ImageIndex = -1;
    QString ImageAlignment;  // first letter L, R, C or A (automatic)
    QString ShowText;        // "+": the cell's text; "'x": the literal x; else drawn as it is
    bool SkipTextDrawing = false;
};

// Refilled for every general event; a handler may change ParamValue. The
// string grid fills Col and Row, the data grid Column, Field and FieldValue.
struct TGeneralEventRec {
    int Col = -1;
    int Row = -1;
    TColumn* Column = nullptr;
    TField* Field = nullptr;
    void* ParamObject = nullptr;
    QVariant ParamValue;
    QVariant FieldValue;
};

class TrDataBar {
public:
    double MinValue = 0;
    double MaxValue = 100;
    TColor ColorFrom = clNone;
    TColor ColorTo = clNone;
    TrDataBarText Text = dbtValue;
    void Assign(const TrDataBar& S) { *this = S; }
};

class TrStatusBar {
public:
    int Steps = 5;
    TColor ColorAll = clNone;
    TColor ColorDone = clNone;
    TrStatusBarType IconType = sbtDots;
    void Assign(const TrStatusBar& S) { *this = S; }
};
