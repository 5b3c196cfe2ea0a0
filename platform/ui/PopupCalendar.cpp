#include "platform/ui/PopupCalendar.h"

#include <QCalendarWidget>
#include <QDate>

TPopupCalendar::TPopupCalendar() : FCalendar(std::make_unique<QCalendarWidget>())
{
    FCalendar->setWindowFlags(Qt::Popup);
    FCalendar->setFirstDayOfWeek(Qt::Monday);
    FCalendar->setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
    QObject::connect(FCalendar.get(), &QCalendarWidget::clicked, [this](QDate) { PickSelected(); });
    QObject::connect(FCalendar.get(), &QCalendarWidget::activated, [this](QDate) { PickSelected(); });
}

TPopupCalendar::~TPopupCalendar() = default;

void TPopupCalendar::Show(const TPoint& ScreenPos, TDateTime Date)
{
    FCalendar->setSelectedDate(DateTimeToQDate(Date));
    FCalendar->adjustSize();
    FCalendar->move(ScreenPos.X, ScreenPos.Y);
    FCalendar->show();
}

void TPopupCalendar::Hide()
{
    FCalendar->hide();
}

bool TPopupCalendar::IsShown() const
{
    return FCalendar->isVisible();
}

TDateTime TPopupCalendar::Date() const
{
    return QDateToDateTime(FCalendar->selectedDate());
}

void TPopupCalendar::KeyDown(Word Key)
{
    QDate d = FCalendar->selectedDate();
    switch (Key) {
    case VK_LEFT: d = d.addDays(-1); break;
    case VK_RIGHT: d = d.addDays(1); break;
    case VK_UP: d = d.addDays(-7); break;
    case VK_DOWN: d = d.addDays(7); break;
    default: return;
    }
    FCalendar->setSelectedDate(d);
}

void TPopupCalendar::PickSelected()
{
    const TDateTime d = Date();
    Hide();
    if (OnSelect)
        OnSelect(d);
}
