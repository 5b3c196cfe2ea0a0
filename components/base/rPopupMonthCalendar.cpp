#include "components/base/rPopupMonthCalendar.h"

#include "platform/ui/Forms.h"

TrPopupMonthCalendar::TrPopupMonthCalendar(TComponent* AOwner) : TMonthCalendar(AOwner) {}

TrPopupMonthCalendar* TrPopupMonthCalendar::CreateEx(TWinControl* Owner, TNotifyEvent OnSelectDate)
{
    auto* c = new TrPopupMonthCalendar(Owner);
    c->FEditor = Owner;
    c->FOnSelectDate = std::move(OnSelectDate);
    c->SetPopupWindow(true);
    c->SetVisible(false);
    c->SetAutoSize(true);
    return c;
}

int TrPopupMonthCalendar::ScreenHeight() const
{
    return ScreenHeightOverride > 0 ? ScreenHeightOverride : Screen->Height();
}

void TrPopupMonthCalendar::ShowCalendar(TDateTime Date)
{
    if (IsShown)
        return;
    // re-measured: the calendar's size follows its month and font
    SetAutoSize(false);
    SetWidth(Width() + 10);
    SetAutoSize(true);
    SetDate(Date);
    const TPoint origin = FEditor ? FEditor->ClientToScreen({0, 0}) : TPoint{0, 0};
    const int editorHeight = FEditor ? FEditor->Height() : 0;
    int top = origin.Y + editorHeight;
    if (top + Height() > ScreenHeight())
        top = origin.Y - Height();
    SetBounds(origin.X, top, Width(), Height());
    ShowNoActivate();
    SetWidth(Width() + 1);
    IsShown = true;
}

void TrPopupMonthCalendar::HideCalendar()
{
    if (!IsShown)
        return;
    SetMouseCapture(false);
    HideNoActivate();
    IsShown = false;
}

void TrPopupMonthCalendar::DateSelected(TDateTime Value)
{
    TMonthCalendar::DateSelected(Value);
    if (FOnSelectDate)
        FOnSelectDate(this);
    HideCalendar();
}
