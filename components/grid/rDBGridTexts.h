#pragma once
#include "resources/LibraryTexts.h"
// The data grid's and dataset utilities' own texts (English).

#include <QString>

namespace libtxt {

inline const QString ErrorInExpression = QStringLiteral("Error in expression.");
inline const QString NotFound = QStringLiteral("Not found");
inline const QString Filtered = QStringLiteral("Filtered");
inline const QString CtrlLeftToReset = QStringLiteral("Ctrl+Left to reset");
inline const QString CtrlRightToFilter = QStringLiteral("Ctrl+Right to filter");

inline const QString TitlePopupSum = QStringLiteral("Sum = %sum");
inline const QString TitlePopupMin = QStringLiteral("Min = %min");
inline const QString TitlePopupMax = QStringLiteral("Max = %max");
inline const QString TitlePopupAvg = QStringLiteral("Avg = %avg");
inline const QString TitlePopupCountVal = QStringLiteral("Count of values = %CountVal");
inline const QString TitlePopupCountNull = QStringLiteral("Count of empty = %CountNull");
inline const QString TitlePopupCountAll = QStringLiteral("Count of all = %CountAll");
inline const QString TitlePopupDistinct = QStringLiteral("Distinct values = %DistinctValues");
inline const QString CannotSaveRecord = QStringLiteral("Error: Cannot save record.");
inline const QString ContinueQuestion = QStringLiteral("Continue?");
inline const QString ClearCurrentFilter = QStringLiteral("Clear current filter");

}  // namespace libtxt
