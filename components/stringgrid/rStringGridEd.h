#pragma once
// TrStringGridEd: the library's editable string grid. Its columns give each
// grid column a data type, an edit style, formats, limits, fonts, colours, a
// pick list and cell graphics; the grid validates typed cells, keeps a change
// log, selects ranges, copies and pastes them as tab-separated text, saves
// and loads table and INI files, adds an empty last row by itself and sorts
// by a column. The in-place editor with its lists and calendar lives in
// rStringGridEdInplaceEdit.h.

#include "components/stringgrid/rStringGridEdColumn.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/Grids.h"

#include <QSet>
#include <QStringList>
#include <functional>
#include <memory>

class TrStringGridEd;
class TrCustomGlyphs;
class TrRichEdit;
class TrStringGridEdInplaceEdit;
class TTimer;

using TSGEGetDataTypeEvent = std::function<void(TrStringGridEd* Grid, int ACol, TrStringGridEdDataType& DataType, int ARow)>;
using TSGEGetNumFormatEvent = std::function<void(TrStringGridEd* Grid, int ACol, QString& NumFormat, int ARow)>;
using TSGEGetEditStyleEvent = std::function<void(TrStringGridEd* Grid, int ACol, TrStringGridEdEditStyle& EditStyle, int ARow)>;
using TSGECanEditEvent = std::function<void(TrStringGridEd* Grid, int ACol, bool& CanEdit, int ARow)>;
using TSGEGetCellParamsEvent =
    std::function<void(TrStringGridEd* Grid, int ACol, bool& Highlight, TColor& Background, TFont* Font, int ARow)>;
using TSGEGetCellParamsExEvent = std::function<void(TrStringGridEd* Grid, int ACol, TDataImageDef& DataImageDef, bool& Highlight,
                                                    TColor& Background, TFont* Font, int ARow)>;
using TSGEGetHintTextEvent = std::function<void(TrStringGridEd* Grid, int ACol, QString& HintText, int ARow)>;
using TSGECellEvent = std::function<void(TrStringGridEd* Grid, int ACol, int ARow)>;
using TSGEEditorKeyPressEvent = std::function<void(TrStringGridEd* Grid, QChar& Key)>;
using TSGEColumnEvent = std::function<void(TrStringGridEdColumn* Column)>;
using TSGEPicklistDropdownEvent = std::function<void(TrStringGridEdInplaceEdit* Editor, int ACol, QStringList& List, int ARow)>;
using TSGEEditorEvent = std::function<void(TrStringGridEdInplaceEdit* Editor, int ACol, const QString& EventName, int ARow)>;
using TSGEEllipsisButtonFormatEvent =
    std::function<void(TrStringGridEd* Grid, int ACol, TBitmap*& Glyph, int& ButtonWidth, int ARow)>;
using TSGEProgressEvent = std::function<void(TrStringGridEd* Grid, const QString& Operation, bool& Aborted, int Percent)>;
using TSGEGeneralEvent = std::function<void(TrStringGridEd* Grid, TGeneralEventType EventType, bool& Allow, TGeneralEventRec& Rec)>;
using TSGECustomEditorCreateEvent = std::function<void(TrStringGridEd* Grid, TWinControl*& Editor)>;
using TSGECustomEditorEvent =
    std::function<void(TrStringGridEd* Grid, TWinControl* Editor, bool& Handled, QString& Value, TCustomEditorAction Action)>;

class TrStringGridEd : public TStringGrid {
public:
    explicit TrStringGridEd(TComponent* AOwner);
    ~TrStringGridEd() override;

    // ---- columns and properties ----
    TrStringGridEdColumns* Columns() { CheckColumns(); return FColumns.get(); }
    // Brings the column collection in step with the column count.
    void CheckColumns();
    TrCustomGlyphs* CustomGlyphs() const { return FCustomGlyphs; }
    void SetCustomGlyphs(TrCustomGlyphs* V);
    TOptionsEx OptionsEx() const { return FOptionsEx; }
    void SetOptionsEx(TOptionsEx V);
    bool HasOptionEx(TOptionEx O) const { return (FOptionsEx & OptEx(O)) != 0; }
    int IniKeyColumn = 0;
    int IniValueColumn = 1;
    int InnerMargin() const { return FInnerMargin; }
    void SetInnerMargin(int V);
    int TitleRowHeight() const { return FTitleRowHeight; }
    void SetTitleRowHeight(int V);
    bool AutoRowHeight() const { return FAutoRowHeight; }
    void SetAutoRowHeight(bool V);
    int AutoRowMaxHeight = 0;
    bool AutoAddNewRow() const { return FAutoAddNewRow; }
    void SetAutoAddNewRow(bool V);
    TColor ChangedCellsBkColor = clInfoBk;
    TColor SelectedCellBkColor = clNone;
    TColor InRangeCellsBkColor = clNone;
    double ScaleRatio() const { return FScaleRatio; }
    TGridCoord MouseDownCoord() const { return FMouseDownCell; }
    TPoint MouseDownCellPoint() const { return FMouseDownPoint; }
    TGridRect SelectedRange() const;
    void SetSelectedRange(const TGridRect& R);
    QStringList ChangedRows;
    QStringList ChangedCells;
    int RichTextTopMargin() const { return FRichTextTopMargin; }
    void SetRichTextTopMargin(int V) { FRichTextTopMargin = std::max(0, V); }
    QChar TextApostrophe = QLatin1Char('"');
    QString SelRangeText;
    TrStringGridEdInplaceEdit* InplaceEditorEd() const;

    // ---- events ----
    TSGECustomEditorCreateEvent CustomEditorCreate;
    TSGECustomEditorEvent CustomEditorEvent;
    TDrawCellEvent OnDrawCellBackground;
    TSGEGetHintTextEvent OnGetHintText;
    TSGECellEvent OnCellClick;
    TSGECellEvent OnEllipsisClicked;
    TSGEPicklistDropdownEvent OnPicklistDropdown;
    TSGEEditorEvent OnEditorEvent;
    TSGEGetCellParamsEvent OnGetCellParams;
    TSGEGetCellParamsExEvent OnGetCellParamsEx;
    TSGEGetDataTypeEvent OnGetDataType;
    TSGEGetNumFormatEvent OnGetNumFormat;
    TSGEGetEditStyleEvent OnGetEditStyle;
    TSGECanEditEvent OnCanEdit;
    TSGECellEvent OnFinishCellEditing;
    TSGEEditorKeyPressEvent OnEditorKeyPress;
    TSGEColumnEvent OnColumnRestoreDefault;
    TSGEEllipsisButtonFormatEvent OnGetEllipsisButtonFormat;
    TSGEProgressEvent OnProgress;
    TSGEGeneralEvent OnGeneralEvent;

    bool DoGeneralEvent(TGeneralEventType EventType);
    bool DoGeneralEventParam(TGeneralEventType EventType, int ACol, QVariant& Value, void* ParamObject, int ARow);

    // ---- per-cell resolution ----
    virtual TrStringGridEdEditStyle GetEditStyleEx(int ACol, int ARow);
    virtual TrStringGridEdDataType GetDataType(int ACol, int ARow);
    virtual QString GetNumFormat(int ACol, int ARow);
    virtual TAlignment GetDataAlignment(int ACol, int ARow);
    virtual bool GetCellWordWrap(int ACol, int ARow);
    static unsigned GetTextFormatSetting(bool WordWrap);
    QString GetCellText(int ACol, int ARow) const;
    int GetCoordPosition(int ACol, int ARow) const;
    int GetCoordPosition(const TPoint& P) const;
    // The column item of a grid column (nullptr outside the grid).
    TrStringGridEdColumn* ColumnOf(int ACol);
    // Applies the cell's complete style to a canvas (for direct printing).
    void GetCellStyle(int ACol, int ARow, TCanvas* ACanvas);
    void SetColumnAutoFit(int Index);
    void SetColumnsAutoFit();
    virtual int GetColumnDataWidth(int ColIdx, int MaxRowsToTest);
    virtual int CalcCellHeight(int ACol, int ARow);
    virtual int CalcMaxRowHeight(int ARow, bool UseMax);
    virtual void SetDefaultRowHeightEd();

    // ---- editing ----
    bool CanEditModifyEx(bool SkipStyleCheck);
    bool CanEditCell(int ACol, int ARow);
    virtual void DoFinishEditing(int ACol, int ARow, bool Force);
    void FinishEditing();
    virtual void EditorKeyPress(QChar& Key);
    QString GetStringCells(int ACol, int ARow) const { return Cells(ACol, ARow); }
    void SetStringCells(int ACol, int ARow, const QString& Value);
    double GetNumCells(int ACol, int ARow);
    void SetNumCells(int ACol, int ARow, double Value);
    int GetIntCells(int ACol, int ARow);
    void SetIntCells(int ACol, int ARow, int Value);
    bool GetBoolCells(int ACol, int ARow);
    void SetBoolCells(int ACol, int ARow, bool Value);
    TDateTime GetDateTimeCells(int ACol, int ARow);
    void SetDateTimeCells(int ACol, int ARow, TDateTime Value);
    QString ActiveCellText() const { return Cells(Col(), Row()); }
    bool CheckboxIsChecked(int ACol, int ARow);
    void ChangeCheckbox();
    TAlignment GetCheckboxAlignment(int ACol, int ARow);
    void EllipsisClick();
    void ButtonClick();
    void DoEllipsisClick();
    // The key that started editing (F2 or a typed character), for the rich editor.
    QChar EditStartKey() const { return FEditStartKey; }
    bool EditStartedWithF2() const { return FEditStartF2; }

    // ---- validation ----
    TrStringGridEdDataState IsValidData(int ACol, int ARow);
    bool ValidateAllData(bool SelectInvalidCell);

    // ---- ranges and clipboard ----
    bool IsRangeSelected() const;
    int GetRangeCellCount() const;
    bool CellInSelectedRange(int ACol, int ARow) const;
    void ResetSelRange();
    void InvalidateSelectedRange();
    QString CopySelRange();
    void ClearSelRange();
    void CopyEntireTable(bool IncludingFixedRows, bool IncludingFixedColumns, QString& Text, QChar Separator);
    void PasteSelRange(bool CanExpandGrid, const QString& PasteData);
    void PasteEntireTable(bool CanExpandGrid, const QString& PasteData);

    // ---- files and the INI view ----
    void SaveToFile(const QString& FileName, const QString& Encoding, QChar Separator);
    void LoadFromFile(const QString& FileName, bool SkipAllChecks, QChar Separator, const QString& Encoding);
    void ClearEntireTable(bool IncludingFixedCells);
    int FindIniRow(const QString& Key) const;
    QString GetIniValue(const QString& Key) const;
    void SetIniValue(const QString& Key, const QString& Value);
    void SaveToIniFile(const QString& FileName, const QString& Encoding, QString& Text);
    void LoadFromIniFile(const QString& FileName, const QString& Content, const QString& Encoding);
    void LoadValuesFromIniFile(const QString& FileName, const QString& Content, const QString& Encoding);
    bool IsIniGroupRow(int ARow) const;

    // ---- rows, columns and the change log ----
    virtual bool CheckLastRow();
    void CheckLastRows();
    void BeginUpdateEd(bool UseChangeLog);
    void EndUpdateEd();
    bool UpdateLocked() const { return FUpdateLockEd > 0; }
    bool IsRowEmpty(int ARow, bool SkipFixedCol, int ColumnGroup);
    void MoveRowEx(int FromIndex, int ToIndex);
    void InsertRowEx(int RowIndex, int NumberOfRows, bool Activate);
    void DeleteRowEx(int RowIndex, int NumberOfRows);
    void MoveColumnEx(int FromIndex, int ToIndex);
    void InsertColumnEx(int ColIndex, int NumberOfCols, bool Activate);
    void DeleteColumnEx(int ColIndex, int NumberOfCols);
    void SelectFirstCell(int ACol, int ARow);
    void ResetChangeLog();
    bool IsCellChanged(int ACol, int ARow) const;
    static QString GetChangedCellStr(int ACol, int ARow);

    // ---- sorting ----
    virtual int CompareValues(const QString& Text1, const QString& Text2, int EmptyResult, TrStringGridEdColumn* Column);
    virtual int CompareCellData(int ACol, int ARow1, int ARow2, int EmptyResult);
    void SortData(int ACol, bool Descending, bool ResetSelection);
    void DoAbort() { FAborted = true; }
    int LastSortColumn() const { return FLastSortCol; }
    bool LastSortDescending() const { return FLastSortDesc; }

    // ---- keys and mouse (public so the editor and tests can route them) ----
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void CellClickEd(int ACol, int ARow);
    // The text the editor shows and writes (public for the in-place editor).
    QString GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const QString& Value) override;
    bool CanEditShow() const override;
    bool CanEditModify() override;
    // Draws an RTF text into a cell.
    virtual void DrawRichText(const TRect& R, const QString& RtfText, TColor BackgroundColor);
    // Whether a cell text is RTF (else rich text cells show it as plain text).
    static bool IsRtfText(const QString& S) { return S.startsWith(QLatin1String("{\\rtf")); }
    // The plain text of an RTF cell text.
    QString RichTextToPlainText(const QString& RtfText);

protected:
    friend class TrStringGridEdInplaceEdit;
    friend class TrStringGridEdColumn;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    TInplaceEdit* CreateEditor() override;
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    void DrawCellBackground(const TRect& ARect, TColor AColor, TGridDrawState AState, int ACol, int ARow) override;
    bool SelectCell(int ACol, int ARow) override;
    void CellMoved(int OldCol, int OldRow) override;
    void FontChanged() override;
    void ChangeScale(int M, int D) override;
    void ColWidthsChanged() override;
    void RowHeightsChanged() override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void SizeChanged(int OldColCount, int OldRowCount) override;
    void TopLeftChanged() override;
    void DoEnter() override;
    void DoExit() override;
    void FixedCellClick(int ACol, int ARow) override;
    void DoHintShow(int ACol, int ARow, QString& HintStr, bool& CanShow) override;
    TEditStyle GetEditStyle(int ACol, int ARow) const override;
    void EditorKeyDown(Word& Key, TShiftState Shift) override;
    void CellClick(int ACol, int ARow, TMouseButton Button, TShiftState Shift) override;
    virtual void DrawCellEx(int ACol, int ARow, bool Focused, TColor BackgroundColor, TGridDrawState State, const TRect& R);
    virtual void GetCellParams(int ACol, int ARow, TDataImageDef& Def, bool& Highlight, TColor& Background, TFont* AFont);

private:
    // Cell style: fonts and colours of the canvas for one cell.
    void SetCellStyle(int ACol, int ARow, TCanvas* ACanvas, TDataImageDef& Def, bool& Highlight, bool Disabled);
    void SetTextFrmRect(int ACol, int ARow, TCanvas* ACanvas, TRect& R, unsigned& Flags, TAlignment Align);
    void DrawButtonCell(int ACol, int ARow, TCanvas* ACanvas, const TRect& R, bool Focused);
    void DrawCheckboxCell(int ACol, int ARow, TCanvas* ACanvas, const TRect& R, bool Highlight);
    void DrawTextCell(int ACol, int ARow, TCanvas* ACanvas, const TRect& R, TrStringGridEdEditStyle Style,
                      TrStringGridEdDataType DataType, TDataImageDef& Def);
    void DrawDataImage(int ACol, TCanvas* ACanvas, TRect& R, const TDataImageDef& Def, const QString& Text);
    bool DrawDataBarCell(int ACol, int ARow, TCanvas* ACanvas, const TRect& R, const QString& Text, QString& DrawnText);
    bool DrawStatusBarCell(int ACol, int ARow, TCanvas* ACanvas, const TRect& R, const QString& Text);
    TRect CheckboxRect(int ACol, int ARow) const;
    bool ReadCellValue(int ACol, int ARow, const QString& Text, TrStringGridEdDataType T, double& Value);
    bool ReadColumnValue(TrStringGridEdColumn* C, const QString& Text, double& Value);
    void AddToChangeLog(int ACol, int ARow);
    // Brings the look-up sets of the change log in step with its lists.
    void SyncChangeLogSets() const;
    void ChangeLogEdited() { FChangedRowsSynced = FChangedCellsSynced = -1; }
    void ShiftChangeLog(bool Rows, int From, int By, int DeletedCount);
    void DoSelRangeProc(const TGridRect& Range, int Mode, QChar Separator);
    void PasteSelRangeInt(int StartCol, int StartRow, QChar Separator, const QString& PasteData, bool SelectRange,
                          bool SkipAllChecks, bool CanExpandGrid);
    QString CleanTextForType(int ACol, int ARow, const QString& Text);
    void ExchangeRows(int A, int B);
    void QuickSort(QStringList& List, std::vector<int>& Rows, int L, int R, int Dir, TrStringGridEdColumn* Column,
                   int& Count, int RowTotal, bool Counting);
    void SortProgress(int& Count, int RowTotal);
    void ExtendRangeTo(int ACol, int ARow);
    void HideEditorAccepting();
    void DoPaste();
    void DoCopy();
    void ApplyColumnWidths();
    void ApplyTitleRowHeight();

    std::unique_ptr<TrStringGridEdColumns> FColumns;
    TrCustomGlyphs* FCustomGlyphs = nullptr;
    TOptionsEx FOptionsEx = 0;
    int FInnerMargin = 0;
    int FTitleRowHeight = 0;
    bool FAutoRowHeight = false;
    bool FAutoAddNewRow = false;
    double FScaleRatio = 1.0;
    int FRichTextTopMargin = 1;
    bool FClickBlocked = false;
    QStringList FIniGroupRows;
    TGridCoord FRangeStart{1, 1};
    TGridCoord FRangeStop{1, 1};
    TGridCoord FMouseDownCell{-1, -1};
    TPoint FMouseDownPoint{-1, -1};
    TGridCoord FMouseCell{-1, -1};
    TGridCoord FEditCell{-1, -1};
    int FTextChangeCount = 0;
    QString FOldEditText;
    QChar FEditStartKey;
    bool FEditStartF2 = false;
    int FUpdateLockEd = 0;
    bool FUseChangeLog = false;
    int FCheckboxWidth = 13;
    int FLastSortCol = -1;
    bool FLastSortDesc = false;
    bool FAborted = false;
    bool FSettingWidths = false;
    mutable bool FSkipStyleCheck = false;
    bool FButtonDown = false;
    bool FRangeDragging = false;
    TTimer* FEllipsisTimer = nullptr;
    TGeneralEventRec FGeneralEventRec;
    // The hidden rich text control that measures and draws RTF cells.
    TrRichEdit* FRichText = nullptr;
    TrRichEdit* RichTextControl(const QString& Text);
    // The change log's lists are public; these sets answer "is it logged"
    // without a walk through them (a loaded table logs every cell).
    mutable QSet<QString> FChangedRowsSet;
    mutable QSet<QString> FChangedCellsSet;
    mutable qsizetype FChangedRowsSynced = -1;
    mutable qsizetype FChangedCellsSynced = -1;
};
