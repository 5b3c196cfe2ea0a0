#pragma once
// The date ranges of the filter dialog's period menu, counted from a given
// day: relative days, weeks (from Monday), months, quarters, half-years and
// years, the absolute ones of the current year, and "since"/"until" ranges.

#include <QDate>
#include <QString>
#include <functional>
#include <utility>

class TComponent;
class TPopupMenu;

enum TFilterPeriodKind {
    fpDay,        // n -1, 0, 1: that day
    fpMonthDay,   // n 1: first, 0: last day of the month
    fpWeek,       // n -1, 0, 1: that week
    fpMonth,      // n -1, 0, 1: that month
    fpMonthNo,    // n 1..12: that month of the year
    fpQuarter,    // n -1, 0, 1
    fpQuarterNo,  // n 1..4
    fpHalf,       // n -1, 0, 1
    fpHalfNo,     // n 1, 2
    fpYear,       // n -1, 0, 1
    fpYearNo,     // n -5..5: the year that far from today's
    fpOther       // n -1..-4: since the start of month, quarter, half, year; 1..4: until its end
};

// From and To of a period item.
std::pair<QDate, QDate> FilterPeriod(TFilterPeriodKind Kind, int N, const QDate& Today);

// The period menu of the filter dialogs: submenus Day, Week, Month, Quarter,
// Semester, Year and OtherCaption; a click hands its kind and number to OnPick.
TPopupMenu* BuildFilterPeriodMenu(TComponent* Owner, const QString& OtherCaption,
                                  const std::function<void(TFilterPeriodKind Kind, int N)>& OnPick);
