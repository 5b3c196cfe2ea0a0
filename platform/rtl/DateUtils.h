#pragma once
// TDateTime: days since 1899-12-30 as a double, the fraction the time of day.
// Converted to and from QDateTime only at the edges (files, database, wire).

#include "platform/rtl/FormatSettings.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <cstdint>

using TDateTime = double;

constexpr double MSecsPerDay = 86400000.0;
constexpr double SecsPerDay = 86400.0;

TDateTime Now();
TDateTime Date();
TDateTime Time();

TDateTime EncodeDate(int Year, int Month, int Day);             // raises EConvertError
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);     // raises EConvertError
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Result);
bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Result);
TDateTime EncodeDateTime(int Year, int Month, int Day, int Hour, int Min, int Sec, int MSec);
void DecodeDate(TDateTime DT, int& Year, int& Month, int& Day);
void DecodeTime(TDateTime DT, int& Hour, int& Min, int& Sec, int& MSec);
int DayOfWeek(TDateTime DT);  // 1 = Sunday
TDateTime DateOf(TDateTime DT);
TDateTime TimeOf(TDateTime DT);
TDateTime IncMilliSecond(TDateTime DT, int64_t N);
TDateTime IncSecond(TDateTime DT, int64_t N);
TDateTime IncDay(TDateTime DT, int N);
int64_t MilliSecondsBetween(TDateTime A, TDateTime B);
int64_t SecondsBetween(TDateTime A, TDateTime B);
double HourSpan(TDateTime A, TDateTime B);

QDateTime DateTimeToQDateTime(TDateTime DT);  // local time, no zone conversion
TDateTime QDateTimeToDateTime(const QDateTime& DT);
QDate DateTimeToQDate(TDateTime DT);
TDateTime QDateToDateTime(const QDate& D);

// Format letters: d dd ddd dddd ddddd dddddd m mm mmm mmmm yy yyyy h hh n nn
// s ss z zzz am/pm a/p ampm c t tt, "/" and ":" as the settings' separators,
// quoted literals. "m" right after an hour is minutes.
QString FormatDateTime(const QString& Format, TDateTime DT, const TFormatSettings& FS = FormatSettings());
QString DateToStr(TDateTime DT, const TFormatSettings& FS = FormatSettings());
QString TimeToStr(TDateTime DT, const TFormatSettings& FS = FormatSettings());
QString DateTimeToStr(TDateTime DT, const TFormatSettings& FS = FormatSettings());

// Parses a date (and optional time) written in the settings' short date order
// with any of the separators ". / -"; raises EConvertError.
TDateTime StrToDate(const QString& S, const TFormatSettings& FS = FormatSettings());
TDateTime StrToDateTime(const QString& S, const TFormatSettings& FS = FormatSettings());
TDateTime StrToTime(const QString& S, const TFormatSettings& FS = FormatSettings());
bool TryStrToDateTime(const QString& S, TDateTime& Value, const TFormatSettings& FS = FormatSettings());
bool TryStrToDate(const QString& S, TDateTime& Value, const TFormatSettings& FS = FormatSettings());
bool TryStrToTime(const QString& S, TDateTime& Value, const TFormatSettings& FS = FormatSettings());
