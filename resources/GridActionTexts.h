#pragma once
// Texts of the grid's property files, per-form saving and the grid action
// module (English, the component library's own).

#include <QString>

namespace gridacttxt {

inline const QString CannotOpenFile = QStringLiteral("Cannot open file \"%s\".");
inline const QString SaveError = QStringLiteral("Error during saving file \"%s\".");
inline const QString CompNotFound = QStringLiteral("CustomPropSave: component \"%s\" not found.");
inline const QString CannotSaveComp = QStringLiteral("CustomPropSave: cannot save component \"%s\".");
inline const QString InvalidRights = QStringLiteral("Invalid user rights value.");
inline const QString SaveChanges = QStringLiteral("Save changes?");
inline const QString CannotSaveRecord = QStringLiteral("Error: Cannot save record.");
inline const QString NoSavedItems = QStringLiteral("no saved items");
inline const QString ExportNotReady = QStringLiteral("Export and printing of tables are not available yet.");
inline const QString DialogNotThere = QStringLiteral("This dialog is not available in this program.");

}  // namespace gridacttxt
