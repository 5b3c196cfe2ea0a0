#pragma once
// Texts of the data exports and the export dialog.

#include <QString>

namespace exptxt {

inline const QString Exporting = QStringLiteral("Exporting");
inline const QString OfData = QStringLiteral(" of data...");
inline const QString CannotExport = QStringLiteral("Error: Cannot export data.");
inline const QString Sum = QStringLiteral("Sum:");
inline const QString AppendNotSupported = QStringLiteral("Appending to an existing workbook is not supported.");
inline const QString TotalRecords = QStringLiteral("Total count of records: %1");
inline const QString CannotWrite = QStringLiteral("Cannot write file \"%1\".");

}  // namespace exptxt
