#pragma once
// The month calendar that drops down under a date cell's editor: a month
// page with the weekdays from Monday, arrows to the previous and next month,
// a click or Return picks the day. It stands in for the library's pop-up
// month calendar until that control is in components/base.

#include "platform/rtl/DateUtils.h"
#include "platform/ui/Grids.h"

#include <functional>

class TrStringGridEdCalendar : public TPopupPickList {
public:
    explicit TrStringGridEdCalendar(TComponent* AOwner);
    TDateTime Date() const { return FDate; }
    void SetDate(TDateTime Value);
    // A day was picked (click or Return).
    std::function<void()> OnSelect;
    static constexpr int CalendarWidth = 7 * 22 + 4;
    static constexpr int CalendarHeight = 20 + 16 + 6 * 18 + 4;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // The day under a point of the month page (0 when none).
    TDateTime DayAt(int X, int Y) const;

protected:
    void Paint() override;

private:
    TDateTime FirstShownDay() const;
    TDateTime FDate = 0;
};
