#pragma once
// A month calendar shown as a popup under an editor (the data grid's date
// cells): the editor forwards the arrow keys to it, Enter or a click picks
// the day, Escape or a click elsewhere hides it.

#include "platform/rtl/DateUtils.h"
#include "platform/ui/Controls.h"

#include <functional>
#include <memory>

class QCalendarWidget;

class TPopupCalendar {
public:
    TPopupCalendar();
    ~TPopupCalendar();
    TPopupCalendar(const TPopupCalendar&) = delete;
    TPopupCalendar& operator=(const TPopupCalendar&) = delete;
    // Shows the calendar with its top-left corner at a screen point.
    void Show(const TPoint& ScreenPos, TDateTime Date);
    void Hide();
    bool IsShown() const;
    TDateTime Date() const;
    // Moves the selection as the arrow keys do (Left/Right a day, Up/Down a week).
    void KeyDown(Word Key);
    // A day was picked (click or Enter through PickSelected).
    std::function<void(TDateTime Date)> OnSelect;
    void PickSelected();

private:
    std::unique_ptr<QCalendarWidget> FCalendar;
};
