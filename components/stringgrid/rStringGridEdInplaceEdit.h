#pragma once
// The cell editor of TrStringGridEd: plain typing plus the button at the
// right of the cell, the drop-down pick list in its plain, colour, check-list
// and image kinds, the month calendar of date cells and their shortcut keys,
// the cleaning of pasted text, a rich text editor laid over RTF cells and a
// custom editor control that the grid's owner supplies.

#include "components/stringgrid/rStringGridEdTypes.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/Grids.h"

#include <QStringList>
#include <cstdint>
#include <functional>

class TrStringGridEd;
class TrStringGridEdColumn;
class TrStringGridEdInplaceEdit;
class TrPopupMonthCalendar;
class TrRichEdit;

// The colour list's last entry, "Custom...", opens the colour dialog.
constexpr int CustomColorIndex = 20;

// The drop-down list of a cell: texts, colours, check boxes or images.
class TPopupListbox : public TPopupPickList {
public:
    TPopupListbox(TComponent* AOwner, TrStringGridEdInplaceEdit* Editor);
    bool IsColor = false;
    bool IsCheckList = false;
    bool IsDataImage = false;
    TrStringGridEdColumn* AColumn = nullptr;
    // Incremental search: typed characters within two seconds of each other
    // build one search text.
    void SearchKey(QChar Key);
    void ResetSearch() { FSearchText.clear(); }
    QString SearchText() const { return FSearchText; }
    // The millisecond clock of the search (tests replace it).
    static std::function<int64_t()> TickCount;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;

protected:
    void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override;

private:
    TrStringGridEdInplaceEdit* FEditor;
    QString FSearchText;
    int64_t FSearchTickCount = 0;
};

class TrStringGridEdInplaceEdit : public TInplaceEditList {
public:
    explicit TrStringGridEdInplaceEdit(TComponent* AOwner);
    ~TrStringGridEdInplaceEdit() override;
    TrStringGridEd* GridEd() const;

    void UpdateContents() override;
    TrStringGridEdEditStyle EditStyleEx() const { return FEditStyleEx; }
    void SetEditStyleEx(TrStringGridEdEditStyle Style);
    TrStringGridEdDataType DataType() const { return FDataType; }
    QString NumFormat() const { return FNumFormat; }
    bool EditCanModify();
    int ButtonWidth() const override;

    // The lists.
    void DropDown() override;
    void CloseUp(bool Accept) override { CloseUpEx(Accept, true); }
    void CloseUpEx(bool Accept, bool Close);
    bool ListVisible() const override;
    bool PickListVisible() const;
    bool CalendarVisible() const;
    TPopupListbox* PickListEd() const { return FPickList; }
    TrPopupMonthCalendar* PopupCalendar() const { return FPopupCalendar; }
    void SetDateTime(TDateTime Value);
    void PopupCallbackSelectDate();

    // The rich text and custom editors.
    virtual void ShowRichEditor(const TRect& R);
    virtual void HideRichEditor(bool Accept);
    virtual void CreateCustomEditor();
    virtual void SetCustomEditorValue(const QString& Text);
    virtual QString GetCustomEditorValue();
    virtual void ShowCustomEditor(const TRect& R);
    virtual void HideCustomEditor(bool Accept);
    bool RichEditorVisible() const { return FRichEditorVisible; }
    bool CustomEditorVisible() const { return FCustomEditorVisible; }
    TrRichEdit* RichEditor() const { return FRichEditor; }
    TWinControl* CustomEditor() const { return FCustomEditor; }
    // Whether the rich text or custom editor has the keyboard.
    bool InnerEditorFocused() const;

    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void Change() override;
    void Paste() override;
    void KillFocus() override;
    void CancelMode(TControl* Sender) override;

protected:
    void DoEnter() override;
    void EditButtonClick() override;
    void PaintButton(TCanvas* ACanvas, const TRect& R, bool Pressed) override;

private:
    bool DoDropDownKeys(Word& Key, TShiftState Shift);
    void FillPickList();
    void SizePickList();
    void OpenCalendar();
    bool DateKey(QChar& Key);
    TRect InnerEditorRect() const;
    void RaiseEditorEvent(const QString& Name);
    void CreateRichEditor();
    int FEllipsisBtnWidth = 16;
    int FActBtnWidth = 16;
    TrStringGridEdEditStyle FEditStyleEx = sgbEllipsis;
    bool FRichEditorVisible = false;
    bool FCustomEditorVisible = false;
    TrStringGridEdDataType FDataType = sgdText;
    QString FNumFormat;
    TDateTime FOrigDateTime = 0;
    TPopupListbox* FPickList = nullptr;
    TrPopupMonthCalendar* FPopupCalendar = nullptr;
    TrRichEdit* FRichEditor = nullptr;
    TWinControl* FCustomEditor = nullptr;
    TGridCoord FCustomEditCoord{-1, -1};
    bool FSettingText = false;
};
