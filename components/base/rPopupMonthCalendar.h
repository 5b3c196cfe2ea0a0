#pragma once
// The month calendar that pops up under an editor (the data grid's date
// cells) and reports the picked date. It never takes the focus, so the
// editor keeps forwarding the arrow keys of rPopupMonthCalendarKeys to it.

#include "platform/ui/MonthCalendar.h"

#include <array>

inline constexpr std::array<Word, 4> rPopupMonthCalendarKeys = {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN};

class TrPopupMonthCalendar : public TMonthCalendar {
public:
    // A hidden, auto-sized pop-up calendar for the editor Owner.
    static TrPopupMonthCalendar* CreateEx(TWinControl* Owner, TNotifyEvent OnSelectDate);
    explicit TrPopupMonthCalendar(TComponent* AOwner);
    bool IsShown = false;
    void ShowCalendar(TDateTime Date);
    void HideCalendar();
    void DateSelected(TDateTime Value) override;
    // The screen's height the placement keeps within (tests replace it).
    int ScreenHeight() const;
    int ScreenHeightOverride = 0;

private:
    TWinControl* FEditor = nullptr;
    TNotifyEvent FOnSelectDate;
};
