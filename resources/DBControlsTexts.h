#pragma once
// Texts of the data-aware controls, the record and tree views and the dataset
// dialogs (English, the component library's own).

#include <QString>
#include <QStringList>

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

namespace dbctltxt {

// Data-aware picture.
inline const QString ConvertMenu = QStringLiteral("Convert...");
inline const QString ConvertCurrentToJpg = QStringLiteral("current record to JPG");
inline const QString ConvertAllToJpg = QStringLiteral("all records to JPG");
inline const QString ConvertCurrentToBmp = QStringLiteral("current record to BMP");
inline const QString ConvertAllToBmp = QStringLiteral("all records to BMP");
inline const QString CannotEditRecord = QStringLiteral("Error: Cannot edit record.");
inline const QString ConvertAllQuestion = QStringLiteral("This action change format of this field for all records in table.");
inline const QString ConvertContinue = QStringLiteral("Continue?");
inline const QString Converting = QStringLiteral("Converting...");

}  // namespace dbctltxt

namespace dbctltxt {

// Column choice dialog.
inline const QString FieldsCaption = QStringLiteral("Fields selection and properties");
inline const QString ListOfFields = QStringLiteral("List of fields:");
inline const QString FieldsListHint = QStringLiteral("Fields visibility and properties");
inline const QString MoveFieldUpHint = QStringLiteral("Move selected field up");
inline const QString MoveFieldDownHint = QStringLiteral("Move selected field down");
inline const QString All = QStringLiteral("All");
inline const QString AllHint = QStringLiteral("Select or unselect all fields.");
inline const QString Font = QStringLiteral("Font");
inline const QString FontHint = QStringLiteral("Font size and color");
inline const QString ColumnColor = QStringLiteral("Column color:");
inline const QString ColumnColorHint = QStringLiteral("Background color");
inline const QString Alignment = QStringLiteral(" Alignment: ");
inline const QString AlignLeft = QStringLiteral("Left");
inline const QString AlignRight = QStringLiteral("Right");
inline const QString AlignCenter = QStringLiteral("Center");
inline const QString CaptionLabel = QStringLiteral("Caption:");
inline const QString SizeLabel = QStringLiteral("Size:");
inline const QString SizeHint = QStringLiteral("Column width for export");
inline const QString FormatLabel = QStringLiteral("Format:");
inline const QString HeaderContent = QStringLiteral("Header content:");
inline const QString ContentInfoField = QStringLiteral("<<Field>> will be replaced by field content");
inline const QString ContentInfoRecNo = QStringLiteral("<<#>> will be replaced by record number");
inline const QString ExampleText = QStringLiteral("Example text");
inline const QString Use = QStringLiteral("Use");
inline const QString UseHint = QStringLiteral("Set field according selected values");
inline const QString GroupColumns = QStringLiteral("Group columns");
inline const QString GroupSettings = QStringLiteral("Group settings");
inline const QString SetDefaultProperties = QStringLiteral("Set default properties");
inline const QString RowHeader = QStringLiteral("- Row header -");
inline const QString UseChanges = QStringLiteral("Use changes?");
inline const QString ResetToDefault = QStringLiteral("Reset to default properties?");

}  // namespace dbctltxt

namespace dbctltxt {

// Filter dialog.
inline const QString FilterCaption = QStringLiteral("Set filter");
inline const QString AddOneCondition = QStringLiteral(" Add one condition: ");
inline const QString FieldCaption = QStringLiteral("Field caption:");
inline const QString FieldName = QStringLiteral("Field name:");
inline const QString FieldsSelectionHint = QStringLiteral("Fields selection (dblclick for insert of fieldname)");
inline const QString SignLabel = QStringLiteral("Sign:");
inline const QString SignHint = QStringLiteral("Sign selection");
inline const QString ValueLabel = QStringLiteral("Value:");
inline const QString ValueFrom = QStringLiteral("Value from:");
inline const QString ValueTo = QStringLiteral("Value to:");
inline const QString ClearHistory = QStringLiteral("<A NAME=Del>Delete</A> history");
inline const QString YesText = QStringLiteral("Yes");
inline const QString NoText = QStringLiteral("No");
inline const QString SetPeriod = QStringLiteral("Set period");
inline const QString LogicalOperator = QStringLiteral(" Logical operator ");
inline const QString AndText = QStringLiteral("AND");
inline const QString OrText = QStringLiteral("OR");
inline const QString AddCondition = QStringLiteral("Add condition");
inline const QString AddConditionHint = QStringLiteral("Add condition (uses selected field, sign and value)");
inline const QString AddConditionOk = QStringLiteral("Enter condition and OK");
inline const QString AddConditionOkHint = QStringLiteral("Enter condition and use filter.");
inline const QString FilterConditions = QStringLiteral("Filter conditions:");
inline const QString FilterConditionsHint = QStringLiteral("Enter filter condition");
inline const QString ClearAll = QStringLiteral("Clear all");
inline const QString ClearAllHint = QStringLiteral("Clear conditions");
inline const QString LoadConditionsHint = QStringLiteral("Load conditions from file");
inline const QString SaveConditionsHint = QStringLiteral("Save conditions to file");
inline const QString Test = QStringLiteral("Test");
inline const QString TestHint = QStringLiteral("Test of conditions");
inline const QString ShowRecordCount = QStringLiteral("Show record count");
inline const QString UseFilterHint = QStringLiteral("Use entered filter");
inline const QString FilterFiles = QStringLiteral("Filter conditions (*.flt)|*.flt");
inline const QString AllFiles = QStringLiteral("All files (*.*)|*.*");
inline const QString SelectedRecords = QStringLiteral("Selected %d records.");
inline const QString AllOk = QStringLiteral("All OK.");
inline const QStringList TextSigns = {QStringLiteral("contain"), QStringLiteral("start with"), QStringLiteral("is equal"),
                                      QStringLiteral("is not equal"), QStringLiteral("is greater"), QStringLiteral("is greater or equal"),
                                      QStringLiteral("is smaller"), QStringLiteral("is smaller or equal")};
inline const QStringList ValueSigns = {QStringLiteral("is equal"), QStringLiteral("is not equal"), QStringLiteral("is greater"),
                                       QStringLiteral("is greater or equal"), QStringLiteral("is smaller"),
                                       QStringLiteral("is smaller or equal"), QStringLiteral("is between")};

}  // namespace dbctltxt

namespace dbctltxt {

// Saved sorts.
inline const QString Input = QStringLiteral("Input");
inline const QString NameOfSavedItem = QStringLiteral("Name of saved item:");
inline const QString SavedSortsFull = QStringLiteral("All 20 places for saved sorting are used. Delete a saved sorting first.");

}  // namespace dbctltxt

namespace dbctltxt {

// Field groups dialog.
inline const QString FieldsGroupingCaption = QStringLiteral("Fields grouping");
inline const QString GroupsLabel = QStringLiteral("Groups:");
inline const QString NewGroup = QStringLiteral("New");
inline const QString DeleteGroup = QStringLiteral("Delete");
inline const QString CollapseGroup = QStringLiteral("Collapse");
inline const QString ExpandGroup = QStringLiteral("Expand");
inline const QString Locked = QStringLiteral("Locked");
inline const QString MergedCellTitle = QStringLiteral("Merged cell title:");
inline const QString CollapsedGroupTitle = QStringLiteral("Collapsed group title:");
inline const QString CollapsedGroupMask = QStringLiteral("Content of collapsed group (mask):");
inline const QString ToMask = QStringLiteral("<< To mask");
inline const QString ToMaskHint = QStringLiteral("Add selected field to mask");
inline const QString MaskNote = QStringLiteral("use <<FieldName>> to add field content");
inline const QString GroupTitleColor = QStringLiteral("Group title color:");
inline const QString GroupLineColor = QStringLiteral("Group line color:");
inline const QString DefaultColor = QStringLiteral("Default");
inline const QString GroupedFieldsSelection = QStringLiteral("Selection of grouped fields:");
inline const QString MasterField = QStringLiteral("Master field:");
inline const QString ShowMergedHeader = QStringLiteral("Show merged header");
inline const QString SetDefaultGroups = QStringLiteral("Set default groups");
inline const QString UseChangesHint = QStringLiteral("Use changes");

// Stored filters.
inline const QString StoredFiltersCaption = QStringLiteral("Stored filters");
inline const QString FilterNameTitle = QStringLiteral("Filter name");
inline const QString FilterConditionTitle = QStringLiteral("Filter condition");
inline const QString UseFilter = QStringLiteral("Use filter");
inline const QString SetSelectedFilterHint = QStringLiteral("Set selected filter");
inline const QString DeleteSelectedFilterHint = QStringLiteral("Delete selected filter");
inline const QString DeleteSelectedRecord = QStringLiteral("Delete selected record?");

// The memo with markup commands.
inline const QString FormatSelectedText = QStringLiteral("Format selected text");
inline const QString ShowInWindow = QStringLiteral("Show in window");
inline const QString FormatBold = QStringLiteral("Bold");
inline const QString FormatItalic = QStringLiteral("Italic");
inline const QString FormatUnderline = QStringLiteral("Underline");
inline const QString UnnumberedList = QStringLiteral("Unnumbered list");
inline const QString NumberedList = QStringLiteral("Numbered list");
inline const QString InsertEndOfPage = QStringLiteral("Insert end of page");
inline const QString InsertEndOfLine = QStringLiteral("Insert end of line");
inline const QString InsertEndOfAllLines = QStringLiteral("Insert end of all lines");
inline const QString InsertHorizontalLine = QStringLiteral("Insert horizontal line");
inline const QString InsertHTMLLink = QStringLiteral("Insert HTML link");
inline const QString ClearAllFormats = QStringLiteral("Clear all formats");
inline const QString EditWinTextNotSaved =
    QStringLiteral("Error: The text cannot be saved to the field, so the window does not open. The text stays in the memo.");

}  // namespace dbctltxt
