#pragma once
// Text operations of the report tag language: splitting at brackets and list
// separators, finding tags by pattern, and the template errors.
#include <QString>

enum TRepErrKind {
    reBracket = 0, reCalcField = 1, reDataset = 2, reNotFound = 3, reCalcFunction = 4, reTag = 5,
    rePrinter = 6, reTableOneRow = 7
};

// Raises TReportException "Bad format of template file." + line break + the
// kind's text filled with Text (backslashes removed).
[[noreturn]] void RaiseRepErr(TRepErrKind Kind, const QString& Text);

struct TBracketParts {
    QString Head;
    QString Inside;
    QString Tail;
};
// Splits at the first round bracket pair outside double quotes; unbalanced
// brackets or an open quote raise the bracket error.
TBracketParts SepBracket(const QString& Text);

// One-based position of the first Sep character outside quotes and round and
// square brackets; 0 when there is none.
int GetFirstSep(QChar Sep, const QString& Text);

// Takes the next item off List (the rest stays in List). Quoted items keep
// their quotes, with doubled quotes reduced. A malformed list raises
// Exception with the remaining list text.
QString GetListPart(QString& List, QChar Sep);

// Finds "before X after" (any case) from the zero-based Start; returns the
// text in place of X, with Pos the zero-based match start (-1 when missing).
// With Delete the whole match is cut from Text.
QString FindTagStr(const QString& Pattern, QString& Text, int Start, int& Pos, bool Delete = false, int* MatchLength = nullptr);

bool IsConstantTag(const QString& Text);
bool IsNumericTag(const QString& Text, double& Value);
bool IsFieldTag(const QString& Text);

// A number written back into expression text: fixed notation, full precision.
QString FloatToExprText(double Value);

// Fills the first "%s" (and "%d") of a library text.
QString FillText(const QString& Template, const QString& Value);

// Formats Value with an edit mask "mask;0;" (the stored text holds no
// literals): mask characters take the value's characters in turn, "\" makes
// the next one literal, the case marks ! > < are skipped, any other mask
// character is written as it stands.
QString FormatMaskText(const QString& EditMask, const QString& Value);
