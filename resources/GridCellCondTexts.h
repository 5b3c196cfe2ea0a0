#pragma once
// Texts of the grid's cell-condition dialogs (English, the component
// library's own).

#include <QString>
#include <QStringList>

namespace cellcondtxt {

inline const QStringList OperatorCaptions = {
    QStringLiteral("="),        QStringLiteral("<"),           QStringLiteral("<="),      QStringLiteral(">"),
    QStringLiteral(">="),       QStringLiteral("<>"),          QStringLiteral("start by"), QStringLiteral("not start by"),
    QStringLiteral("contain"),  QStringLiteral("not contain"), QStringLiteral("always")};
inline const QStringList ActionCaptions = {QStringLiteral(">>>"), QStringLiteral("AND"), QStringLiteral("OR")};
inline const QStringList ColumnTitles = {QString(),
                                         QStringLiteral("Field"),
                                         QStringLiteral("Sign"),
                                         QStringLiteral("Value"),
                                         QStringLiteral("Action"),
                                         QStringLiteral("Font color"),
                                         QStringLiteral("Background color"),
                                         QStringLiteral("Bold"),
                                         QStringLiteral("Whole row"),
                                         QStringLiteral("Icon"),
                                         QStringLiteral("Shown text (+)"),
                                         QStringLiteral("Stop if true"),
                                         QStringLiteral("Skip")};
inline const QStringList SummaryFunctions = {QStringLiteral("SUM"),      QStringLiteral("MIN"),       QStringLiteral("MAX"),
                                             QStringLiteral("AVG"),      QStringLiteral("COUNTVAL"), QStringLiteral("COUNTNULL"),
                                             QStringLiteral("COUNTALL")};
inline const QString Caption = QStringLiteral("Conditions for colored records");
inline const QString ListOfConditions = QStringLiteral("List of conditions:");
inline const QString ShownTextHint = QStringLiteral("Shown text: + ... show original value of the field");
inline const QString MoveOfCondition = QStringLiteral("Move of condition:");
inline const QString DeleteOfCondition = QStringLiteral("Delete of condition:");
inline const QString MoveUpHint = QStringLiteral("Move selected row up");
inline const QString MoveDownHint = QStringLiteral("Move selected row down");
inline const QString Clear = QStringLiteral("Clear");
inline const QString ClearHint = QStringLiteral("Delete selected row");
inline const QString All = QStringLiteral("All");
inline const QString AllHint = QStringLiteral("Delete all rows");
inline const QString Use = QStringLiteral("Use");
inline const QString UseHint = QStringLiteral("Use entered conditions");
inline const QString OkHint = QStringLiteral("Use entered conditions and close dialog");
inline const QString CancelHint = QStringLiteral("Cancel changes");
inline const QString ValueCaption = QStringLiteral("Value to compare");
inline const QString EnteredCondition = QStringLiteral("Entered condition: ");
inline const QString ComparedValue = QStringLiteral("Compared value:");
inline const QString FixValue = QStringLiteral("Fix value (list contains existing values)");
inline const QString DateValue = QStringLiteral("Date (only for date field)");
inline const QString ActualDate = QStringLiteral("Always compare with actual date");
inline const QString OtherField = QStringLiteral("Value of other field");
inline const QString UseSummary = QStringLiteral("Use summary result:");
inline const QString Yes = QStringLiteral("Yes");
inline const QString No = QStringLiteral("No");

}  // namespace cellcondtxt
