#pragma once
// One record of a dataset as a two-column grid: a row per field with the
// field's caption in the fixed left column and its value on the right. It
// follows a data source (or a linked data grid, whose columns choose the
// rows), edits values in place, shows boolean rows as check boxes, memo rows
// over several lines, and serves the export and print engines through a few
// readers.

#include "platform/database/DataSource.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/Grids.h"

#include <functional>

class TColumn;
class TCustomDBGrid;
class TDateTimePicker;
class TrCustomGlyphs;
class TrDBRecView;

// The view's record link: rebuilds the rows when the dataset opens or closes.
class TrRecViewDataLink : public TDataLink {
public:
    explicit TrRecViewDataLink(TrDBRecView* AView) : FRecView(AView) { VisualControl = true; }

protected:
    void ActiveChanged() override;
    void DataSetChanged() override;
    void EditingChanged() override;
    void UpdateData() override;

private:
    TrDBRecView* FRecView;
};

// The view's in-place editor: a drop-down of 12 rows, and typed characters
// go to the view's pick-list completion first.
class TrDBRecViewInplaceEdit : public TInplaceEditList {
public:
    explicit TrDBRecViewInplaceEdit(TrDBRecView* AView);
    void KeyPress(QChar& Key) override;

private:
    TrDBRecView* FView;
};

enum TGridOptionEx { goDataRight, goNumberRight, goAddColon, goAutoHeight, goUseGridPickList, goUseGridEllipsis, goOnlyPickListValues,
                     goRTFToPlainText, goEnterNewLineMemo };
using TGridOptionsEx = unsigned;
constexpr TGridOptionsEx GridOptEx(TGridOptionEx O) { return 1u << unsigned(O); }

using TLinkClickEvent = std::function<void(TComponent* Sender, TDataSet* DataSet, void* Column, TField* Field, const QVariant& Value)>;
using TGetCellParamsEvent = std::function<void(TComponent* Sender, int Col, int Row, TFont* AFont, TColor& Background, bool& Highlight)>;

class TrDBRecView : public TCustomDrawGrid {
public:
    explicit TrDBRecView(TComponent* AOwner);
    ~TrDBRecView() override;

    TDataSource* DataSource() const { return FDataLink.DataSource(); }
    void SetDataSource(TDataSource* Value);
    TCustomDBGrid* DBGrid() const { return FDBGrid; }
    void SetDBGrid(TCustomDBGrid* Value);
    bool OnlyVisibleField() const { return FOnlyVisibleField; }
    void SetOnlyVisibleField(bool V);
    bool OnlySimpleField() const { return FOnlySimpleField; }
    void SetOnlySimpleField(bool V);
    TAlignment TitleAlignment() const { return FTitleAlignment; }
    void SetTitleAlignment(TAlignment V);
    TGridOptionsEx OptionsEx() const { return FOptionsEx; }
    void SetOptionsEx(TGridOptionsEx V);
    // "NAME" or "NAME=Caption" per line: the rows and their order.
    void SetFields(const QStringList& V);
    // "NAME=TrueText;FalseText" (empty: "1;0").
    void SetBooleanFields(const QStringList& V);
    // "NAME=token;token" font rules over SpecFont ("SF" resets to the font).
    void SetSpecFields(const QStringList& V);
    void SetEllipsisFields(const QStringList& V) { FEllipsisFields = V; }
    // INI text: a section per field name, its lines the field's pick values.
    void SetPickLists(const QStringList& V) { FPickLists = V; }
    const QStringList& Fields() const { return FFields; }
    const QStringList& SpecFields() const { return FSpecFields; }
    const QStringList& PickLists() const { return FPickLists; }
    // The calendar of date rows (made on first use, hidden).
    TDateTimePicker* DateTimePicker() const { return FDateTimePicker; }
    virtual void ShowDateTimePicker(TField* Field, const TRect& R);
    // The pick values of a row (the view's lists, a lookup field's values).
    QStringList GetPickList(int ARow) const;
    TFont* SpecFont() { return &FSpecFont; }
    // Glyphs drawn in place of the standard check boxes.
    TrCustomGlyphs* CustomGlyphs() const { return FCustomGlyphs; }
    void SetCustomGlyphs(TrCustomGlyphs* Value);
    // Typing in a pick-list cell: completes from the list (or, in a lookup
    // row, from the lookup values); true when the key was taken.
    bool PickListKeyPress(QChar& Key);
    const QString& LookupText() const { return FLookupText; }
    // Where a picture of W x H goes in a cell: scaled down to fit when it
    // reaches an edge, keeping its proportions, and centred.
    static TRect PictureRect(const TRect& Cell, int W, int H);
    double ScaleRatio() const { return FScaleRatio; }
    TGetCellParamsEvent OnGetCellParams;
    TNotifyEvent OnEditButtonClick;
    // "NAME=kind": "http://" and "mailto:" open the value with the shell,
    // other kinds raise OnLinkClick.
    void SetFieldsAsLink(const QStringList& V)
    {
        FFieldsAsLink = V;
        Invalidate();
    }
    TLinkClickEvent OnLinkClick;
    // The link kind of a row (empty: no link).
    QString LinkKind(int ARow) const;
    // What a click on a web or mail link opens: the value with the kind in
    // front unless it holds it already.
    QString LinkTarget(int ARow) const;
    // A click on the link of a row: the shell opens it, or OnLinkClick.
    void LinkClick(int ARow);

    // ---- readers (export and print engines, settings saver) ----
    TDataSource* GetDataSource() const { return DataSource(); }
    int GetFieldCount() const { return int(FFldList.size()); }
    TField* GetField(int Idx) const;
    QString GetCaption(int Idx) const;
    QString GetValue(int Idx) const;
    void GetFontStyle(int Idx, TFont* AFont, bool KeepFontNameSize);
    int GetDataAlignment(int Idx) const;
    const QStringList& FieldNames() const { return FFldList; }
    TField* FocusedField() const { return GetField(Row()); }
    QString FocusedText() const;

    void SetRows();
    void RefreshData();
    // Writes the pending edit into the field (while the dataset edits).
    void UpdateData();
    // Toggles a boolean row (SetFalse: sets it to false).
    void ChangeBool(bool SetFalse);
    bool IsBooleanRow(int Idx) const;
    bool BoolIsTrue(int Idx) const;

    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void DblClick() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;

protected:
    void Paint() override;
    TInplaceEdit* CreateEditor() override;
    void DoHintShow(int ACol, int ARow, QString& HintStr, bool& CanShow) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    bool SelectCell(int ACol, int ARow) override;
    void ColWidthsChanged() override;
    void ChangeScale(int M, int D) override;
    void DoExit() override;
    bool CanEditShow() const override;
    bool CanEditAcceptKey(QChar Key) const override;
    int GetEditLimit() const override;
    QString GetEditMask(int ACol, int ARow) const override;
    TEditStyle GetEditStyle(int ACol, int ARow) const override;
    QString GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const QString& Value) override;
    void EditButtonClick() override;
    virtual void GetCellParams(int Col, int Row, TFont* AFont, TColor& Background, bool& Highlight);

private:
    friend class TrRecViewDataLink;
    bool Ready() const;
    void SetCols();
    void SetFont(const QString& Name, TFont* Font) const;
    bool CanEdit(bool DoEdit) const;
    QString GetFieldText(TField* F) const;
    QString BooleanEntry(const QString& Name) const;
    void DoDelete();
    bool DoCopy();
    void DrwTxt(TCanvas* C, const TRect& R, const QString& Text, TAlignment Align, bool Tall);
    void DrwBmp(TCanvas* C, const TRect& R, int ARow, TField* F);
    void DrawValue(TCanvas* C, const TRect& Cell, const TRect& R, int ARow, TField* F);
    void DrawBoolean(TCanvas* C, const TRect& Cell, bool Checked);
    int MeasureText(TCanvas* C, const TRect& R, const QString& Text) const;
    bool FitRowHeight(int ARow, int ContentHeight);
    TRect LinkTextRect(int ARow) const;
    bool IsOverLink(int X, int Y) const;
    TColumn* GridColumnOf(TField* F) const;
    bool OwnPickList(const QString& FieldName, QStringList& Values) const;
    bool LocateLookup(TField* F, const QString& Value, bool Partial);
    void CompleteTyped(TInplaceEditList* E, TField* F, QChar Key, bool Backspace);
    TrCustomGlyphs* FCustomGlyphs = nullptr;
    QString FLookupText;
    bool FIsLink = false;
    TCursor FCursorBeforeLink = crDefault;
    void ResetLastEdited();
    TrRecViewDataLink FDataLink{this};
    TCustomDBGrid* FDBGrid = nullptr;
    QStringList FFldList;
    QStringList FFields;
    QStringList FBooleanFields;
    QStringList FSpecFields;
    QStringList FEllipsisFields;
    QStringList FPickLists;
    QStringList FFieldsAsLink;
    TDateTimePicker* FDateTimePicker = nullptr;
    TField* FPickerField = nullptr;
    void DateTimePickerChange();
    void DateTimePickerClose();
    TFont FSpecFont;
    bool FOnlyVisibleField = false;
    bool FOnlySimpleField = false;
    TAlignment FTitleAlignment = taLeftJustify;
    TGridOptionsEx FOptionsEx = 0;
    double FScaleRatio = 1.0;
    TField* LastEditedField = nullptr;
    QString LastEditedValue;
};
