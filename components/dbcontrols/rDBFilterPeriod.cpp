#include "components/dbcontrols/rDBFilterPeriod.h"

namespace {

QDate MonthStart(const QDate& D) { return QDate(D.year(), D.month(), 1); }
QDate MonthEnd(const QDate& D) { return MonthStart(D).addMonths(1).addDays(-1); }
// Months per unit: 1 month, 3 quarter, 6 half-year, 12 year.
QDate UnitStart(const QDate& D, int Months) { return QDate(D.year(), (D.month() - 1) / Months * Months + 1, 1); }
QDate UnitEnd(const QDate& D, int Months) { return MonthEnd(UnitStart(D, Months).addMonths(Months - 1)); }

}  // namespace

std::pair<QDate, QDate> FilterPeriod(TFilterPeriodKind Kind, int N, const QDate& Today)
{
    const QDate& d = Today;
    QDate from;
    switch (Kind) {
    case fpDay:
        from = d.addDays(N);
        return {from, from};
    case fpMonthDay:
        from = N == 1 ? MonthStart(d) : MonthEnd(d);
        return {from, from};
    case fpWeek:
        from = d.addDays(1 - d.dayOfWeek() + 7 * N);
        return {from, from.addDays(6)};
    case fpMonth:
        from = MonthStart(d).addMonths(N);
        return {from, MonthEnd(from)};
    case fpMonthNo:
        from = QDate(d.year(), N, 1);
        return {from, MonthEnd(from)};
    case fpQuarter:
        from = UnitStart(d, 3).addMonths(3 * N);
        return {from, MonthEnd(from.addMonths(2))};
    case fpQuarterNo:
        from = QDate(d.year(), 3 * N - 2, 1);
        return {from, MonthEnd(from.addMonths(2))};
    case fpHalf:
        from = UnitStart(d, 6).addMonths(6 * N);
        return {from, MonthEnd(from.addMonths(5))};
    case fpHalfNo:
        from = QDate(d.year(), 6 * N - 5, 1);
        return {from, MonthEnd(from.addMonths(5))};
    case fpYear:
        from = QDate(d.year() + N, 1, 1);
        return {from, QDate(from.year(), 12, 31)};
    case fpYearNo:
        return {QDate(d.year() + N, 1, 1), QDate(d.year() + N, 12, 31)};
    case fpOther: {
        static const int units[5] = {0, 1, 3, 6, 12};
        const int months = units[qBound(1, N < 0 ? -N : N, 4)];
        return N < 0 ? std::pair{UnitStart(d, months), d} : std::pair{d, UnitEnd(d, months)};
    }
    }
    return {d, d};
}
