#pragma once
// Texts of the data-aware controls, the record and tree views and the dataset
// dialogs (English, the component library's own).

#include <QString>

namespace dbctltxt {

// Navigation tree: what a level shows when it cannot list its records.
inline const QString DatasetNotDefined = QStringLiteral("Dataset not defined.");
inline const QString DatasetIsClosed = QStringLiteral("Dataset is closed.");
inline const QString ToBeLoaded = QStringLiteral("to be loaded...");
inline const QString MoreRecords = QStringLiteral("...");
inline const QString ParentKeyFieldNotFound = QStringLiteral("ParentKeyField \"%s\" not found.");
inline const QString KeyFieldNotFound = QStringLiteral("KeyField \"%s\" not found.");
inline const QString ParentKeyFieldNotNumeric =
    QStringLiteral("ParentKeyFieldName has to be numeric if MultilevelTopLevelFilter is not defined.");

// Memo search.
inline const QString InputCaption = QStringLiteral("Input");

// Caption labels.
inline const QString FieldLabel = QStringLiteral("FieldLabel");
inline const QString NoDataField = QStringLiteral("NoDataField");
inline const QString DefaultCaptionSuffix = QStringLiteral(":");
inline const QString SubDBLabelName = QStringLiteral("SubDBLabel");
inline const QString SubLabelName = QStringLiteral("SubLabel");
inline const QString SubCheckBoxName = QStringLiteral("SubCheckBox");

}  // namespace dbctltxt
