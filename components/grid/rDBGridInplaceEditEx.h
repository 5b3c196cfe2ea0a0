#pragma once
// The cell editor of every TrDBGrid. On top of the data grid's editor (pick
// lists, lookup data lists) it gives date and time cells their keyboard
// shortcuts (today, first and last day of the month, a day or a month up or
// down, the time of day, the field's minute step or an hour up or down),
// masks password cells, moves to the neighbouring column when the caret
// leaves the text at either end, and cleans pasted text by field type.

#include "platform/ui/DBGrids.h"
#include "components/base/rPopupMonthCalendar.h"

#include <memory>

class TrDBGrid;

class TrDBGridInplaceEditEx : public TDBGridInplaceEdit {
public:
    explicit TrDBGridInplaceEditEx(TrDBGrid* Grid);
    TrDBGrid* GetrDBGrid() const { return FGrid; }
    void UpdateContents() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void DblClick() override;
    void Paste() override;
    // Applies a date or time shortcut to the selected field; true when handled.
    // Key is a character ('*', ';', 'T', 'S', 'E') or VK_UP / VK_DOWN with Ctrl
    // (and Shift for a month or an hour).
    virtual bool ProcDateTimeHotKey(int Key, TShiftState Shift);
    // The calendar of date cells, under the editor.
    void ShowCalendar(TDateTime Date);
    void HideCalendar();
    bool CalendarShown() const;
    TrPopupMonthCalendar* Calendar() const { return FCalendar; }
    // A day was picked: it becomes the field's date.
    void PopupCallbackSelectDate(TDateTime Date);
    void KeyUp(Word& Key, TShiftState Shift) override;
    void DoExit() override;
    // Colour cells: the pick list draws a colour square before each name, and
    // its user-defined entry opens the colour dialog.
    // The drop-down: owner-drawn for colour and FieldsDrawDropDown fields,
    // sized by SetListWidth, with geDropDownShowing / geDropDownClosed raised.
    void DropDown() override;
    void CloseUp(bool Accept) override;
    // Sizes and places an open drop-down (AutoPickListWidth, OnPickListSetSize).
    virtual void SetListWidth();
    void PickListDrawItem(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State);
    void PickListMeasureItem(TWinControl* Control, int Index, int& Height);
    bool CheckSelectUserDefinedColor(TField* Field);

protected:
    // The ellipsis button: the library's glyph, or what OnGetEllipsisButtonFormat gives.
    void PaintButton(TCanvas* ACanvas, const TRect& R, bool Pressed) override;

private:
    bool IsOwnerDrawnList(TField* F) const;
    // The lookup list of the layer above, when it gave one.
    void MakeDataList();
    void PrepareDataList(TField* F);
    int WidestPickListItem();
    int DataListWidth();
    TrDBGrid* FGrid;
    // Owned by the editor as a component; created at the first date button.
    TrPopupMonthCalendar* FCalendar = nullptr;
    QString oldFieldColorString;
};
