#pragma once
// Texts of the report engines (English, as the rest of the library's texts).

#include <QString>

namespace reptxt {

inline const QString BadFormat = QStringLiteral("Bad format of template file.");
// The kinds of template error, filled with the offending text.
inline const QString ErrBracket = QStringLiteral("Bracket error in function: \"%s\".");
inline const QString ErrCalcField = QStringLiteral("Calculation error in database field \"%s\".");
inline const QString ErrDataset = QStringLiteral("Incorrect dataset \"%s\", (A..Z allowed)");
inline const QString ErrNotFound = QStringLiteral("\"%s\" not found.");
inline const QString ErrCalcFunction = QStringLiteral("Calculation error in function \"%s\".");
inline const QString ErrTag = QStringLiteral("Incorrect tag \"%s\".");
inline const QString ErrPrinter = QStringLiteral("Printer \"%s\" not found.");
inline const QString ErrTableOneRow = QStringLiteral("Tag \"%s\" can be used only inside table with one row.");

inline const QString TooManyDatasets = QStringLiteral("Too many datasets.");
inline const QString FileNotFound = QStringLiteral("File \"%s\" not found.");
inline const QString UnknownDataset = QStringLiteral("unknown dataset");
inline const QString ClosedDataset = QStringLiteral("closed dataset");
inline const QString ActionAborted = QStringLiteral("Action aborted.");
inline const QString CreatingReport = QStringLiteral("Creating of report...");
inline const QString RecordProgress = QStringLiteral("record %d");
inline const QString CannotOpenTemplate = QStringLiteral("Cannot open file \"%s\".");
inline const QString FileNotExist = QStringLiteral("File not exist (probably).");
inline const QString SaveError = QStringLiteral("Error during saving file \"%s\".");
inline const QString SaveErrorReason = QStringLiteral(
    "You do not have access rights, target directory does not exist or target file is already opened in other application.");
inline const QString TryAgain = QStringLiteral("Try again?");
inline const QString RtfToPlainError = QStringLiteral("RTF to PlainText error: ");

} // namespace reptxt
