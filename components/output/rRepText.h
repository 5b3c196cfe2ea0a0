#pragma once
// Text operations of the report tag language: splitting at brackets and list
// separators, finding tags by pattern, and the template errors.
#include <QString>

#include <functional>

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

// The characters around a whole word for the post-processing searches.
bool IsSeekWordBoundary(QChar C);

// One replacement of a seek operation: Length characters from Start become Text.
struct TSeekReplacement {
    int Start;
    int Length;
    QString Text;
};
// Replaces every occurrence of Old (any case) that ends before the limit:
// the search starts at the first SeekFrom (or the start) and ends at the
// first SeekTo from there (or the end); the limit moves with what the
// replacements insert. With WholeWord an occurrence counts only between word
// boundaries, and not at the very end of the text.
void SeekAndReplace(QString& Text, const QString& Old, bool WholeWord, const QString& SeekFrom, const QString& SeekTo,
                    const std::function<TSeekReplacement(const QString& Text, int Pos)>& Make);

// The marks of a replacement text: the first "\^" starts superscript and the
// first "\_" subscript, each ended by the next "\=" (added when missing).
QString ApplyScriptMarks(const QString& Text, const QString& Super, const QString& Sub, const QString& Plain);

// Splits a number in scientific notation at its first capital E: the text
// before it, the exponent's sign ("-" or empty) and its digits without
// leading zeros. False when there is no E.
bool SplitScientific(const QString& Text, QString& Mantissa, QString& Sign, QString& Digits);
