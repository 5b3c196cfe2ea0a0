#pragma once
// A month calendar. As a pop-up it is a window of its own with a thin
// border that is shown without activation and never takes the focus, so
// the editor it belongs to keeps the keys.

#include "platform/rtl/DateUtils.h"
#include "platform/ui/Controls.h"

class TMonthCalendar : public TWinControl {
public:
    explicit TMonthCalendar(TComponent* AOwner);
    TDateTime Date() const { return FDate; }
    void SetDate(TDateTime Value);
    // Sizes the control to the calendar's own size while on.
    void SetAutoSize(bool Value) override;
    // Before the window exists: a pop-up window placed in screen coordinates.
    void SetPopupWindow(bool Value) { FPopupWindow = Value; }
    bool PopupWindow() const { return FPopupWindow; }
    // Shows a pop-up without activating it, and hides it without moving it.
    void ShowNoActivate();
    void HideNoActivate();
    // Forwards a key (arrows, Return) to the calendar as if typed in it.
    void SendKey(Word Key);
    // The user picked a day (clicked or Return): OnClick.
    TNotifyEvent OnClick;
    // Called by the widget layer when the user picked a day.
    virtual void DateSelected(TDateTime Value);

protected:
    QWidget* CreateWidget() override;

private:
    TDateTime FDate = 0;
    bool FPopupWindow = false;
    bool FSetting = false;
};
