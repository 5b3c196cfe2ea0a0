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

namespace dbctltxt {

// Find dialog.
inline const QString FindCaption = QStringLiteral("Find record");
inline const QString FindValue = QStringLiteral("Find value:");
inline const QString DeleteHistory = QStringLiteral("<A NAME=Del>Delete</A> history");
inline const QString DeleteQuotes = QStringLiteral("Delete quotes");
inline const QString Compare = QStringLiteral(" Compare: ");
inline const QString CompareHint = QStringLiteral("Type of comparison");
inline const QString WholeField = QStringLiteral("Whole field");
inline const QString BeginningOfField = QStringLiteral("Beginning of field");
inline const QString AnyPartOfField = QStringLiteral("Any part of field");
inline const QString CaseSensitive = QStringLiteral("Case sensitive");
inline const QString IgnoreDiacritics = QStringLiteral("Ignore diacritics");
inline const QString CloseWhenFound = QStringLiteral("Close dialog when record is found");
inline const QString ShowWarningNotFound = QStringLiteral("Show warning if no record found");
inline const QString InFields = QStringLiteral("in fields:");
inline const QString FieldsHint = QStringLiteral("Fields to be searched");
inline const QString Sort = QStringLiteral("Sort");
inline const QString MoveUpHint = QStringLiteral("Move selected field up");
inline const QString MoveDownHint = QStringLiteral("Move selected field down");
inline const QString SelectAll = QStringLiteral("Select all");
inline const QString Find = QStringLiteral("Find");
inline const QString FindHint = QStringLiteral("Start searching");
inline const QString FindNext = QStringLiteral("Find next");
inline const QString Previous = QStringLiteral("Previous");
inline const QString Close = QStringLiteral("Close");
inline const QString CloseHint = QStringLiteral("Close form");
inline const QString Searching = QStringLiteral("Searching...");
inline const QString FoundIn = QStringLiteral("%s. %s:");
inline const QString Found = QStringLiteral("Found");
inline const QString NotFound = QStringLiteral("Not found");

}  // namespace dbctltxt

namespace dbctltxt {

// Sort dialog.
inline const QString SortCaption = QStringLiteral("Record sorting");
inline const QString SortingCriteria = QStringLiteral("Sorting criteria:");
inline const QString SortField = QStringLiteral("Field");
inline const QString SortDescending = QStringLiteral("Descending");
inline const QString DeleteRowHint = QStringLiteral("Delete selected row");
inline const QString DeleteAllRowsHint = QStringLiteral("Delete all rows");
inline const QString SaveSortingHint = QStringLiteral("Save sorting");
inline const QString SavedSorting = QStringLiteral("Saved sorting:");
inline const QString Ok = QStringLiteral("Ok");
inline const QString UseSortingHint = QStringLiteral("Use selected sorting");
inline const QString Cancel = QStringLiteral("Cancel");
inline const QString CancelHint = QStringLiteral("Cancel changes");
inline const QString SortingError = QStringLiteral("Error: Sorting of data.");

}  // namespace dbctltxt
