#include "platform/ui/MonthCalendar.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLocale>
#include <QApplication>

namespace {

QDate ToQDate(TDateTime V)
{
    return QDate(1899, 12, 30).addDays(qint64(std::floor(V)));
}

TDateTime FromQDate(const QDate& D)
{
    return TDateTime(QDate(1899, 12, 30).daysTo(D));
}

}  // namespace

TMonthCalendar::TMonthCalendar(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 225;
    FHeight = 160;
    FAutoSize = true;
    FColor = clWindow;
    FTabStop = true;
}

QWidget* TMonthCalendar::CreateWidget()
{
    auto* cal = new QCalendarWidget;
    cal->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    cal->setGridVisible(false);
    cal->setFirstDayOfWeek(Qt::Monday);
    // the program's texts are Finnish: month and day names too
    cal->setLocale(QLocale(QLocale::Finnish, QLocale::Finland));
    cal->setSelectedDate(ToQDate(FDate));
    if (FPopupWindow) {
        cal->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus
                            | Qt::WindowStaysOnTopHint);
        cal->setAttribute(Qt::WA_ShowWithoutActivating);
        cal->setFocusPolicy(Qt::NoFocus);
        cal->setStyleSheet(QStringLiteral("QCalendarWidget { border: 1px solid #646464; }"));
    }
    if (FAutoSize) {
        const QSize s = cal->sizeHint();
        FWidth = s.width();
        FHeight = s.height();
    }
    QObject::connect(cal, &QCalendarWidget::clicked, [this](const QDate& d) { DateSelected(FromQDate(d)); });
    QObject::connect(cal, &QCalendarWidget::activated, [this](const QDate& d) { DateSelected(FromQDate(d)); });
    QObject::connect(cal, &QCalendarWidget::selectionChanged, [this, cal] {
        if (!FSetting)
            FDate = FromQDate(cal->selectedDate());
    });
    return cal;
}

void TMonthCalendar::SetDate(TDateTime Value)
{
    FDate = std::floor(Value);
    if (FWidget) {
        FSetting = true;
        static_cast<QCalendarWidget*>(FWidget)->setSelectedDate(ToQDate(FDate));
        FSetting = false;
    }
}

void TMonthCalendar::SetAutoSize(bool Value)
{
    FAutoSize = Value;
    if (Value && FWidget) {
        const QSize s = FWidget->sizeHint();
        SetBounds(FLeft, FTop, s.width(), s.height());
    }
}

void TMonthCalendar::ShowNoActivate()
{
    QWidget* w = Widget();
    FVisible = true;
    w->show();
}

void TMonthCalendar::HideNoActivate()
{
    FVisible = false;
    if (FWidget)
        FWidget->hide();
}

void TMonthCalendar::SendKey(Word Key)
{
    int qt = 0;
    switch (Key) {
    case VK_LEFT: qt = Qt::Key_Left; break;
    case VK_RIGHT: qt = Qt::Key_Right; break;
    case VK_UP: qt = Qt::Key_Up; break;
    case VK_DOWN: qt = Qt::Key_Down; break;
    case VK_RETURN: qt = Qt::Key_Return; break;
    default: return;
    }
    QKeyEvent press(QEvent::KeyPress, qt, Qt::NoModifier);
    QApplication::sendEvent(Widget(), &press);
}

void TMonthCalendar::DateSelected(TDateTime Value)
{
    FDate = Value;
    if (OnClick)
        OnClick(this);
}
