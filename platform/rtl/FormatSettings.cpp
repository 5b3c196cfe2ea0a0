#include "platform/rtl/FormatSettings.h"

TFormatSettings TFormatSettings::Finnish()
{
    TFormatSettings fs;
    fs.ShortMonthNames = {QStringLiteral("tammi"), QStringLiteral("helmi"), QStringLiteral("maalis"),
                          QStringLiteral("huhti"), QStringLiteral("touko"), QStringLiteral("kesä"),
                          QStringLiteral("heinä"), QStringLiteral("elo"), QStringLiteral("syys"),
                          QStringLiteral("loka"), QStringLiteral("marras"), QStringLiteral("joulu")};
    fs.LongMonthNames = {QStringLiteral("tammikuu"), QStringLiteral("helmikuu"), QStringLiteral("maaliskuu"),
                         QStringLiteral("huhtikuu"), QStringLiteral("toukokuu"), QStringLiteral("kesäkuu"),
                         QStringLiteral("heinäkuu"), QStringLiteral("elokuu"), QStringLiteral("syyskuu"),
                         QStringLiteral("lokakuu"), QStringLiteral("marraskuu"), QStringLiteral("joulukuu")};
    fs.ShortDayNames = {QStringLiteral("su"), QStringLiteral("ma"), QStringLiteral("ti"), QStringLiteral("ke"),
                        QStringLiteral("to"), QStringLiteral("pe"), QStringLiteral("la")};
    fs.LongDayNames = {QStringLiteral("sunnuntai"), QStringLiteral("maanantai"), QStringLiteral("tiistai"),
                       QStringLiteral("keskiviikko"), QStringLiteral("torstai"), QStringLiteral("perjantai"),
                       QStringLiteral("lauantai")};
    return fs;
}

TFormatSettings TFormatSettings::Invariant()
{
    TFormatSettings fs;
    fs.DecimalSeparator = QLatin1Char('.');
    fs.ThousandSeparator = QLatin1Char(',');
    fs.DateSeparator = QLatin1Char('/');
    fs.TimeSeparator = QLatin1Char(':');
    fs.ShortDateFormat = QStringLiteral("mm/dd/yyyy");
    fs.LongDateFormat = QStringLiteral("dddd, dd mmmmm yyyy");
    fs.ShortTimeFormat = QStringLiteral("hh:nn");
    fs.LongTimeFormat = QStringLiteral("hh:nn:ss");
    fs.TimeAMString = QStringLiteral("AM");
    fs.TimePMString = QStringLiteral("PM");
    fs.ShortMonthNames = {QStringLiteral("Jan"), QStringLiteral("Feb"), QStringLiteral("Mar"), QStringLiteral("Apr"),
                          QStringLiteral("May"), QStringLiteral("Jun"), QStringLiteral("Jul"), QStringLiteral("Aug"),
                          QStringLiteral("Sep"), QStringLiteral("Oct"), QStringLiteral("Nov"), QStringLiteral("Dec")};
    fs.LongMonthNames = {QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March"),
                         QStringLiteral("April"), QStringLiteral("May"), QStringLiteral("June"),
                         QStringLiteral("July"), QStringLiteral("August"), QStringLiteral("September"),
                         QStringLiteral("October"), QStringLiteral("November"), QStringLiteral("December")};
    fs.ShortDayNames = {QStringLiteral("Sun"), QStringLiteral("Mon"), QStringLiteral("Tue"), QStringLiteral("Wed"),
                        QStringLiteral("Thu"), QStringLiteral("Fri"), QStringLiteral("Sat")};
    fs.LongDayNames = {QStringLiteral("Sunday"), QStringLiteral("Monday"), QStringLiteral("Tuesday"),
                       QStringLiteral("Wednesday"), QStringLiteral("Thursday"), QStringLiteral("Friday"),
                       QStringLiteral("Saturday")};
    fs.CurrencyString = QStringLiteral("$");
    return fs;
}

TFormatSettings& FormatSettings()
{
    static TFormatSettings settings = TFormatSettings::Finnish();
    return settings;
}
