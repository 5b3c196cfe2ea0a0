#include "components/grid/rDBFilterPeriod.h"

#include "components/base/rtool.h"
#include "platform/ui/Menus.h"

#include <QLocale>

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

TPopupMenu* BuildFilterPeriodMenu(TComponent* Owner, const QString& OtherCaption,
                                  const std::function<void(TFilterPeriodKind Kind, int N)>& OnPick)
{
    auto* pmPeriod = new TPopupMenu(Owner);
    auto item = [&](TMenuItem* Parent, const QString& Caption, TFilterPeriodKind Kind, int N) {
        TMenuItem* i = CreateMenuItem(Owner, Caption, N, [OnPick, Kind, N](TComponent*) { OnPick(Kind, N); });
        Parent ? Parent->Add(i) : pmPeriod->Items()->Add(i);
    };
    auto line = [&](TMenuItem* Parent) { Parent->Add(CreateMenuItem(Owner, QStringLiteral("-"), 0, nullptr)); };
    auto sub = [&](const QString& Caption) {
        TMenuItem* m = CreateMenuItem(Owner, Caption, 0, nullptr);
        pmPeriod->Items()->Add(m);
        return m;
    };
    const QString last = QStringLiteral("Last"), thisOne = QStringLiteral("This"), next = QStringLiteral("Next");
    auto relative = [&](TMenuItem* m, TFilterPeriodKind k) {
        item(m, last, k, -1);
        item(m, thisOne, k, 0);
        item(m, next, k, 1);
    };
    TMenuItem* day = sub(QStringLiteral("Day"));
    item(day, QStringLiteral("Yesterday"), fpDay, -1);
    item(day, QStringLiteral("Today"), fpDay, 0);
    item(day, QStringLiteral("Tomorrow"), fpDay, 1);
    line(day);
    item(day, QStringLiteral("First day of the month"), fpMonthDay, 1);
    item(day, QStringLiteral("Last day of the month"), fpMonthDay, 0);
    relative(sub(QStringLiteral("Week")), fpWeek);
    TMenuItem* month = sub(QStringLiteral("Month"));
    relative(month, fpMonth);
    line(month);
    for (int m = 1; m <= 12; ++m)
        item(month, QLocale().monthName(m, QLocale::LongFormat), fpMonthNo, m);
    TMenuItem* quarter = sub(QStringLiteral("Quarter"));
    relative(quarter, fpQuarter);
    line(quarter);
    const QString roman[4] = {QStringLiteral("I."), QStringLiteral("II."), QStringLiteral("III."), QStringLiteral("IV.")};
    for (int q = 1; q <= 4; ++q)
        item(quarter, roman[q - 1], fpQuarterNo, q);
    TMenuItem* half = sub(QStringLiteral("Semester"));
    relative(half, fpHalf);
    line(half);
    item(half, roman[0], fpHalfNo, 1);
    item(half, roman[1], fpHalfNo, 2);
    TMenuItem* year = sub(QStringLiteral("Year"));
    relative(year, fpYear);
    line(year);
    for (int n = -5; n <= 5; ++n)
        item(year, QString::number(QDate::currentDate().year() + n), fpYearNo, n);
    TMenuItem* other = sub(OtherCaption);
    const char* since[4] = {"month", "quarter", "semester", "year"};
    for (int n = 1; n <= 4; ++n)
        item(other, QStringLiteral("Since the beginning of the %1 until today").arg(QLatin1String(since[n - 1])), fpOther, -n);
    line(other);
    item(other, QStringLiteral("Between now and the end of the month"), fpOther, 1);
    item(other, QStringLiteral("Between now and the end of the quarter"), fpOther, 2);
    item(other, QStringLiteral("Between now and the end of semester"), fpOther, 3);
    item(other, QStringLiteral("Between now and the end of the year"), fpOther, 4);
    return pmPeriod;
}
