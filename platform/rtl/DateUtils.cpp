#include "platform/rtl/DateUtils.h"

#include "platform/rtl/Exception.h"
#include "platform/rtl/StrUtils.h"

#include <QRegularExpression>
#include <cmath>

namespace {

const qint64 kJulianOfZero = QDate(1899, 12, 30).toJulianDay();
constexpr qint64 kMsPerDay = 86400000;

struct Parts {
    int year = 1899, month = 12, day = 30, hour = 0, min = 0, sec = 0, msec = 0;
};

Parts Split(TDateTime DT)
{
    qint64 days;
    qint64 ms;
    if (DT >= 0) {
        const qint64 total = std::llround(DT * MSecsPerDay);
        days = total / kMsPerDay;
        ms = total % kMsPerDay;
    } else {
        days = qint64(std::trunc(DT));
        ms = std::llround(std::fabs(DT - std::trunc(DT)) * MSecsPerDay);
        if (ms >= kMsPerDay)
            ms = kMsPerDay - 1;
    }
    Parts p;
    const QDate d = QDate::fromJulianDay(kJulianOfZero + days);
    p.year = d.year();
    p.month = d.month();
    p.day = d.day();
    p.hour = int(ms / 3600000);
    p.min = int(ms / 60000 % 60);
    p.sec = int(ms / 1000 % 60);
    p.msec = int(ms % 1000);
    return p;
}

}  // namespace

TDateTime Now()
{
    return QDateTimeToDateTime(QDateTime::currentDateTime());
}

TDateTime Date()
{
    return std::trunc(Now());
}

TDateTime Time()
{
    const TDateTime n = Now();
    return n - std::trunc(n);
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Result)
{
    if (Year < 1 || Year > 9999 || !QDate::isValid(Year, Month, Day))
        return false;
    Result = double(QDate(Year, Month, Day).toJulianDay() - kJulianOfZero);
    return true;
}

bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Result)
{
    if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 || MSec > 999)
        return false;
    Result = (((Hour * 60.0 + Min) * 60.0 + Sec) * 1000.0 + MSec) / MSecsPerDay;
    return true;
}

TDateTime EncodeDate(int Year, int Month, int Day)
{
    TDateTime r = 0;
    if (!TryEncodeDate(Year, Month, Day, r))
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return r;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec)
{
    TDateTime r = 0;
    if (!TryEncodeTime(Hour, Min, Sec, MSec, r))
        throw EConvertError(QStringLiteral("Invalid argument to time encode"));
    return r;
}

TDateTime EncodeDateTime(int Year, int Month, int Day, int Hour, int Min, int Sec, int MSec)
{
    const TDateTime d = EncodeDate(Year, Month, Day);
    const TDateTime t = EncodeTime(Hour, Min, Sec, MSec);
    return d >= 0 ? d + t : d - t;
}

void DecodeDate(TDateTime DT, int& Year, int& Month, int& Day)
{
    const Parts p = Split(DT);
    Year = p.year;
    Month = p.month;
    Day = p.day;
}

void DecodeTime(TDateTime DT, int& Hour, int& Min, int& Sec, int& MSec)
{
    const Parts p = Split(DT);
    Hour = p.hour;
    Min = p.min;
    Sec = p.sec;
    MSec = p.msec;
}

int DayOfWeek(TDateTime DT)
{
    return DateTimeToQDate(DT).dayOfWeek() % 7 + 1;
}

TDateTime DateOf(TDateTime DT)
{
    return std::trunc(DT);
}

TDateTime TimeOf(TDateTime DT)
{
    return std::fabs(DT - std::trunc(DT));
}

TDateTime IncMilliSecond(TDateTime DT, int64_t N)
{
    return QDateTimeToDateTime(DateTimeToQDateTime(DT).addMSecs(N));
}

TDateTime IncSecond(TDateTime DT, int64_t N)
{
    return IncMilliSecond(DT, N * 1000);
}

TDateTime IncDay(TDateTime DT, int N)
{
    return DT + N;
}

int64_t MilliSecondsBetween(TDateTime A, TDateTime B)
{
    return std::llabs(DateTimeToQDateTime(A).msecsTo(DateTimeToQDateTime(B)));
}

int64_t SecondsBetween(TDateTime A, TDateTime B)
{
    return MilliSecondsBetween(A, B) / 1000;
}

double HourSpan(TDateTime A, TDateTime B)
{
    return double(MilliSecondsBetween(A, B)) / 3600000.0;
}

QDateTime DateTimeToQDateTime(TDateTime DT)
{
    const Parts p = Split(DT);
    return QDateTime(QDate(p.year, p.month, p.day), QTime(p.hour, p.min, p.sec, p.msec));
}

TDateTime QDateTimeToDateTime(const QDateTime& DT)
{
    if (!DT.isValid())
        return 0;
    const double days = double(DT.date().toJulianDay() - kJulianOfZero);
    const double t = DT.time().msecsSinceStartOfDay() / MSecsPerDay;
    return days >= 0 ? days + t : days - t;
}

QDate DateTimeToQDate(TDateTime DT)
{
    const Parts p = Split(DT);
    return QDate(p.year, p.month, p.day);
}

TDateTime QDateToDateTime(const QDate& D)
{
    return D.isValid() ? double(D.toJulianDay() - kJulianOfZero) : 0;
}

namespace {

QString Pad(int v, int w)
{
    return QString::number(v).rightJustified(w, QLatin1Char('0'));
}

void FormatInto(QString& out, const QString& fmt, const Parts& p, TDateTime DT, const TFormatSettings& FS, int depth)
{
    if (depth > 2)
        return;
    // Twelve-hour clock when the format holds an am/pm specifier.
    const QString lower = fmt.toLower();
    const bool twelve = lower.contains(QLatin1String("am/pm")) || lower.contains(QLatin1String("a/p")) ||
                        lower.contains(QLatin1String("ampm"));
    QChar lastToken;
    const int n = int(fmt.size());
    int i = 0;
    auto run = [&](QChar c) {
        int k = 0;
        while (i + k < n && fmt[i + k].toLower() == c)
            ++k;
        return k;
    };
    while (i < n) {
        const QChar c = fmt[i];
        const QChar lc = c.toLower();
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            int j = i + 1;
            while (j < n && fmt[j] != c)
                out += fmt[j++];
            i = j + 1;
            continue;
        }
        if (c == QLatin1Char('/')) {
            out += FS.DateSeparator;
            ++i;
            continue;
        }
        if (c == QLatin1Char(':')) {
            out += FS.TimeSeparator;
            ++i;
            continue;
        }
        if (lc == QLatin1Char('a')) {
            if (fmt.mid(i, 5).compare(QLatin1String("am/pm"), Qt::CaseInsensitive) == 0) {
                const QString s = fmt.mid(i, 5);
                out += p.hour < 12 ? s.left(2) : s.right(2);
                i += 5;
            } else if (fmt.mid(i, 3).compare(QLatin1String("a/p"), Qt::CaseInsensitive) == 0) {
                const QString s = fmt.mid(i, 3);
                out += p.hour < 12 ? s.left(1) : s.right(1);
                i += 3;
            } else if (fmt.mid(i, 4).compare(QLatin1String("ampm"), Qt::CaseInsensitive) == 0) {
                out += p.hour < 12 ? FS.TimeAMString : FS.TimePMString;
                i += 4;
            } else {
                out += c;
                ++i;
            }
            continue;
        }
        const int k = (lc == QLatin1Char('d') || lc == QLatin1Char('m') || lc == QLatin1Char('y') ||
                       lc == QLatin1Char('h') || lc == QLatin1Char('n') || lc == QLatin1Char('s') ||
                       lc == QLatin1Char('z') || lc == QLatin1Char('t') || lc == QLatin1Char('c'))
                          ? run(lc)
                          : 0;
        if (k == 0) {
            out += c;
            ++i;
            continue;
        }
        switch (lc.unicode()) {
        case 'c':
            FormatInto(out, FS.ShortDateFormat, p, DT, FS, depth + 1);
            if (p.hour || p.min || p.sec || p.msec) {
                out += QLatin1Char(' ');
                FormatInto(out, FS.LongTimeFormat, p, DT, FS, depth + 1);
            }
            i += 1;
            continue;
        case 'd':
            if (k == 1)
                out += QString::number(p.day);
            else if (k == 2)
                out += Pad(p.day, 2);
            else if (k == 3)
                out += FS.ShortDayNames.value(DayOfWeek(DT) - 1);
            else if (k == 4)
                out += FS.LongDayNames.value(DayOfWeek(DT) - 1);
            else if (k == 5)
                FormatInto(out, FS.ShortDateFormat, p, DT, FS, depth + 1);
            else
                FormatInto(out, FS.LongDateFormat, p, DT, FS, depth + 1);
            i += qMin(k, 6);
            break;
        case 'm':
            if (lastToken == QLatin1Char('h') && k <= 2) {
                out += k == 1 ? QString::number(p.min) : Pad(p.min, 2);
                i += k;
            } else {
                if (k == 1)
                    out += QString::number(p.month);
                else if (k == 2)
                    out += Pad(p.month, 2);
                else if (k == 3)
                    out += FS.ShortMonthNames.value(p.month - 1);
                else
                    out += FS.LongMonthNames.value(p.month - 1);
                i += qMin(k, 4);
            }
            break;
        case 'y':
            out += k <= 2 ? Pad(p.year % 100, 2) : Pad(p.year, 4);
            i += k;
            break;
        case 'h': {
            int h = p.hour;
            if (twelve) {
                h %= 12;
                if (h == 0)
                    h = 12;
            }
            out += k == 1 ? QString::number(h) : Pad(h, 2);
            i += qMin(k, 2);
            break;
        }
        case 'n':
            out += k == 1 ? QString::number(p.min) : Pad(p.min, 2);
            i += qMin(k, 2);
            break;
        case 's':
            out += k == 1 ? QString::number(p.sec) : Pad(p.sec, 2);
            i += qMin(k, 2);
            break;
        case 'z':
            out += k < 3 ? QString::number(p.msec) : Pad(p.msec, 3);
            i += qMin(k, 3);
            break;
        case 't':
            FormatInto(out, k == 1 ? FS.ShortTimeFormat : FS.LongTimeFormat, p, DT, FS, depth + 1);
            i += qMin(k, 2);
            break;
        }
        lastToken = lc;
    }
}

}  // namespace

QString FormatDateTime(const QString& Format, TDateTime DT, const TFormatSettings& FS)
{
    QString out;
    FormatInto(out, Format.isEmpty() ? QStringLiteral("c") : Format, Split(DT), DT, FS, 0);
    return out;
}

QString DateToStr(TDateTime DT, const TFormatSettings& FS)
{
    return FormatDateTime(FS.ShortDateFormat, DT, FS);
}

QString TimeToStr(TDateTime DT, const TFormatSettings& FS)
{
    return FormatDateTime(FS.LongTimeFormat, DT, FS);
}

QString DateTimeToStr(TDateTime DT, const TFormatSettings& FS)
{
    return FormatDateTime(QStringLiteral("c"), DT, FS);
}

namespace {

// Order of day, month and year in the short date format, e.g. "dmy".
QString DateOrder(const TFormatSettings& FS)
{
    QString order;
    for (QChar c : FS.ShortDateFormat.toLower())
        if ((c == QLatin1Char('d') || c == QLatin1Char('m') || c == QLatin1Char('y')) && !order.contains(c))
            order += c;
    return order.size() == 3 ? order : QStringLiteral("dmy");
}

bool ParseDatePart(const QString& s, TDateTime& v, const TFormatSettings& FS)
{
    const QStringList parts = s.split(QRegularExpression(QStringLiteral("[./\\-]")));
    if (parts.size() < 2 || parts.size() > 3)
        return false;
    const QString order = DateOrder(FS);
    int d = 0, m = 0, y = QDate::currentDate().year();
    bool ok = true;
    int idx = 0;
    for (QChar o : order) {
        if (idx >= parts.size())
            break;
        if (o == QLatin1Char('y') && parts.size() == 2)
            continue;
        bool okOne = false;
        const int value = parts[idx].trimmed().toInt(&okOne);
        ok = ok && okOne;
        if (o == QLatin1Char('d'))
            d = value;
        else if (o == QLatin1Char('m'))
            m = value;
        else {
            y = value;
            if (parts[idx].trimmed().size() <= 2) {
                // two-digit years fall within fifty years of this year
                const int cur = QDate::currentDate().year();
                y += cur / 100 * 100;
                if (y > cur + 50)
                    y -= 100;
                else if (y < cur - 50)
                    y += 100;
            }
        }
        ++idx;
    }
    return ok && TryEncodeDate(y, m, d, v);
}

bool ParseTimePart(const QString& s, TDateTime& v, const TFormatSettings& FS)
{
    QString t = s.trimmed();
    const QStringList parts = t.split(QRegularExpression(QStringLiteral("[:.]")));
    if (parts.isEmpty() || parts.size() > 4)
        return false;
    int f[4] = {0, 0, 0, 0};
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        QString piece = parts[i].trimmed();
        if (i == 3 || (i == 2 && piece.contains(FS.DecimalSeparator))) {
            // seconds may carry milliseconds after the decimal separator
            const QStringList sm = piece.split(FS.DecimalSeparator);
            if (i == 2 && sm.size() == 2) {
                f[2] = sm[0].toInt(&ok);
                if (!ok)
                    return false;
                f[3] = sm[1].leftJustified(3, QLatin1Char('0')).left(3).toInt(&ok);
                if (!ok)
                    return false;
                continue;
            }
            f[i] = piece.leftJustified(3, QLatin1Char('0')).left(3).toInt(&ok);
        } else {
            f[i] = piece.toInt(&ok);
        }
        if (!ok)
            return false;
    }
    if (parts.size() == 1)
        return false;
    return TryEncodeTime(f[0], f[1], f[2], f[3], v);
}

}  // namespace

bool TryStrToDate(const QString& S, TDateTime& Value, const TFormatSettings& FS)
{
    return ParseDatePart(S.trimmed(), Value, FS);
}

bool TryStrToTime(const QString& S, TDateTime& Value, const TFormatSettings& FS)
{
    return ParseTimePart(S.trimmed(), Value, FS);
}

bool TryStrToDateTime(const QString& S, TDateTime& Value, const TFormatSettings& FS)
{
    const QString t = S.trimmed();
    const qsizetype sp = t.indexOf(QLatin1Char(' '));
    TDateTime d = 0, tm = 0;
    if (sp < 0) {
        if (ParseDatePart(t, d, FS)) {
            Value = d;
            return true;
        }
        return false;
    }
    if (!ParseDatePart(t.left(sp), d, FS) || !ParseTimePart(t.mid(sp + 1), tm, FS))
        return false;
    Value = d >= 0 ? d + tm : d - tm;
    return true;
}

TDateTime StrToDate(const QString& S, const TFormatSettings& FS)
{
    TDateTime v = 0;
    if (!TryStrToDate(S, v, FS))
        throw EConvertError(QStringLiteral("'%1' is not a valid date").arg(S));
    return v;
}

TDateTime StrToTime(const QString& S, const TFormatSettings& FS)
{
    TDateTime v = 0;
    if (!TryStrToTime(S, v, FS))
        throw EConvertError(QStringLiteral("'%1' is not a valid time").arg(S));
    return v;
}

TDateTime StrToDateTime(const QString& S, const TFormatSettings& FS)
{
    TDateTime v = 0;
    if (!TryStrToDateTime(S, v, FS))
        throw EConvertError(QStringLiteral("'%1' is not a valid date and time").arg(S));
    return v;
}
