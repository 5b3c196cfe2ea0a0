#pragma once
// The data grid's and dataset utilities' own texts (English).

#include <QString>

namespace libtxt {

inline const QString ErrorInExpression = QStringLiteral("Error in expression.");
inline const QString NotFound = QStringLiteral("Not found");
inline const QString Filtered = QStringLiteral("Filtered");
inline const QString CtrlLeftToReset = QStringLiteral("Ctrl+Left to reset");
inline const QString CtrlRightToFilter = QStringLiteral("Ctrl+Right to filter");

}  // namespace libtxt
