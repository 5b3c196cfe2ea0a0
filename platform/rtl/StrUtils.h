#pragma once
// Text helpers with the one-based indexing the program's algorithms count in:
// Copy(S, 1, 3) is the first three characters, Pos returns 0 when not found.

#include "platform/rtl/FormatSettings.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>

int Length(const QString& S);
QString Copy(const QString& S, int Index, int Count = 0x7fffffff);
int Pos(const QString& SubStr, const QString& S, int Offset = 1);
QString LeftStr(const QString& S, int Count);
QString RightStr(const QString& S, int Count);
QString StringOfChar(QChar Ch, int Count);
void Delete(QString& S, int Index, int Count);
void Insert(const QString& Source, QString& S, int Index);

QString Trim(const QString& S);       // removes characters <= ' ' from both ends
QString TrimLeft(const QString& S);
QString TrimRight(const QString& S);
QString UpperCase(const QString& S);  // ASCII letters only, as the classic routine
QString LowerCase(const QString& S);
QString AnsiUpperCase(const QString& S);  // every letter
QString AnsiLowerCase(const QString& S);

bool SameText(const QString& A, const QString& B);  // case-insensitive equality
int CompareText(const QString& A, const QString& B);
int CompareStr(const QString& A, const QString& B);
bool ContainsText(const QString& Text, const QString& SubText);
bool StartsText(const QString& SubText, const QString& Text);
bool EndsText(const QString& SubText, const QString& Text);

enum TReplaceFlag { rfReplaceAll = 1, rfIgnoreCase = 2 };
QString StringReplace(const QString& S, const QString& OldPattern, const QString& NewPattern, int Flags);
QString QuotedStr(const QString& S);
QString AnsiQuotedStr(const QString& S, QChar Quote);
QString AnsiDequotedStr(const QString& S, QChar Quote);

QString IntToStr(int64_t Value);
QString IntToHex(uint64_t Value, int Digits);
int StrToInt(const QString& S);                      // raises EConvertError
int StrToIntDef(const QString& S, int Default);
bool TryStrToInt(const QString& S, int& Value);
int64_t StrToInt64(const QString& S);
int64_t StrToInt64Def(const QString& S, int64_t Default);
bool TryStrToInt64(const QString& S, int64_t& Value);

// Floats: the settings' decimal separator, and "." as well, since texts that
// other programs and people wrote use either.
QString FloatToStr(double Value, const TFormatSettings& FS = FormatSettings());
double StrToFloat(const QString& S, const TFormatSettings& FS = FormatSettings());
double StrToFloatDef(const QString& S, double Default, const TFormatSettings& FS = FormatSettings());
bool TryStrToFloat(const QString& S, double& Value, const TFormatSettings& FS = FormatSettings());
// Picture formats: "0", "#", ".", ",", quoted literals, up to three ";" sections.
QString FormatFloat(const QString& Format, double Value, const TFormatSettings& FS = FormatSettings());

// The classic Format: %[index:][-][width][.prec]type with d u x e f g n m p s.
// Raises EConvertError on a specifier its argument does not fit.
QString Format(const QString& Fmt, const QVariantList& Args, const TFormatSettings& FS = FormatSettings());
