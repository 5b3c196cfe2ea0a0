#pragma once
// One process-wide set of format settings, fixed to Finnish conventions and
// independent of the machine's locale, so that the day log, money and dates
// look the same on every computer. Tests may pin other values.

#include <QChar>
#include <QString>
#include <QStringList>

struct TFormatSettings {
    QChar DecimalSeparator = QLatin1Char(',');
    QChar ThousandSeparator = QChar(0x00A0);
    QChar DateSeparator = QLatin1Char('.');
    QChar TimeSeparator = QLatin1Char(':');
    QString ShortDateFormat = QStringLiteral("d.m.yyyy");
    QString LongDateFormat = QStringLiteral("d. mmmm'ta 'yyyy");
    QString ShortTimeFormat = QStringLiteral("h:nn");
    QString LongTimeFormat = QStringLiteral("h:nn:ss");
    QString TimeAMString;
    QString TimePMString;
    QStringList ShortMonthNames;  // 12 entries
    QStringList LongMonthNames;   // 12 entries
    QStringList ShortDayNames;    // 7 entries, Sunday first
    QStringList LongDayNames;     // 7 entries, Sunday first
    int CurrencyDecimals = 2;
    QString CurrencyString = QStringLiteral("€");

    static TFormatSettings Finnish();
    static TFormatSettings Invariant();
};

// The process-wide settings (Finnish unless a test pinned others).
TFormatSettings& FormatSettings();
