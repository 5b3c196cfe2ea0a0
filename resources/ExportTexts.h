#pragma once
// Texts of the data exports and the export dialog.

#include <QString>

namespace exptxt {

inline const QString Exporting = QStringLiteral("Exporting");
inline const QString OfData = QStringLiteral(" of data...");
inline const QString CannotExport = QStringLiteral("Error: Cannot export data.");
inline const QString Sum = QStringLiteral("Sum:");
inline const QString BadPictureFormat = QStringLiteral("Bad picture format.");
inline const QString UsePreparePictureEvent = QStringLiteral("Use OnPreparePictureEvent to define picture");
inline const QString TotalRecords = QStringLiteral("Total count of records: %1");
inline const QString CannotWrite = QStringLiteral("Cannot write file \"%1\".");
inline const QString ExcelAppError = QStringLiteral("MSExcel application error.");
inline const QString NoWorkbook = QStringLiteral("No workbook is open.");
inline const QString RangeNotFound = QStringLiteral("Range \"%1\" not found.");
inline const QString SheetNotFound = QStringLiteral("Sheet \"%1\" not found.");

// The export dialog.
inline const QString ExportCaption = QStringLiteral("Export data");
inline const QString TypeOfExport = QStringLiteral(" Type of export: ");
inline const QString KindText = QStringLiteral("Export to text file");
inline const QString KindExcel = QStringLiteral("Export to MS Excel");
inline const QString KindSlk = QStringLiteral("Export to table format SLK");
inline const QString KindTemplate = QStringLiteral("Export to RTF, DOCX or ODT template");
inline const QString RangeOfExport = QStringLiteral(" Range of export: ");
inline const QString VisibleColumns = QStringLiteral("Visible columns");
inline const QString AllColumns = QStringLiteral("All columns");
inline const QString ColumnSelection = QStringLiteral("Column selection");
inline const QString ColumnSelectionHint = QStringLiteral("Export only selected columns, set order and properties.");
inline const QString DataSelection = QStringLiteral("Data selection");
inline const QString DataSelectionHint = QStringLiteral("Export only selected records.");
inline const QString SetDefaultCol = QStringLiteral("<A Name=Default>Set columns</A> according grid");
inline const QString SelectedRowsOnly = QStringLiteral("Selected rows only");
inline const QString Properties = QStringLiteral(" Properties: ");
inline const QString AddColumnName = QStringLiteral("Add column name");
inline const QString AddColumnNameHint = QStringLiteral("Column name as first row.");
inline const QString UseRealNames = QStringLiteral("Use real name of fields");
inline const QString AlignData = QStringLiteral("Align data to columns");
inline const QString AlignDataHint = QStringLiteral("Add spaces to default width");
inline const QString AppendAfter = QStringLiteral("Append data after existing");
inline const QString AppendAfterHint = QStringLiteral("Exported data will be added after existing data in file");
inline const QString ColumnSeparator = QStringLiteral("Column separator:");
inline const QString SeparatorHint = QStringLiteral("Select or enter separator");
inline const QString AddSums = QStringLiteral("Add sums of numeric columns");
inline const QString AddSumsHint = QStringLiteral("Add sums as last row");
inline const QString AddAsNewSheet = QStringLiteral("Export data as new sheet");
inline const QString AddAsNewSheetHint = QStringLiteral("Exported data will be append as new sheet in selected file");
inline const QString AppendBelow = QStringLiteral("Append data below existing rows");
inline const QString SetColumnsWidth = QStringLiteral("Set columns width");
inline const QString SetColumnsWidthHint = QStringLiteral("Set columns width according columns size");
inline const QString SetCellBorders = QStringLiteral("Set cell borders");
inline const QString FreezeTitleRow = QStringLiteral("Freeze title row");
inline const QString FreezeTitleRowHint = QStringLiteral("Title row will be frozen and still visible during scrolling");
inline const QString ReportTemplate = QStringLiteral("Report template:");
inline const QString ReportTemplateHint = QStringLiteral("Select template file");
inline const QString CodePage = QStringLiteral("Code page (charset):");
inline const QString ExportedFile = QStringLiteral("Exported file:");
inline const QString SaveOnly = QStringLiteral("Save only");
inline const QString Show = QStringLiteral("Show");
inline const QString Print = QStringLiteral("Print");
inline const QString Ok = QStringLiteral("Ok");
inline const QString OkHint = QStringLiteral("Run selected export");
inline const QString Cancel = QStringLiteral("Cancel");
inline const QString CancelHint = QStringLiteral("Cancel changes");
inline const QString FilterText = QStringLiteral("Text file (*.txt)|*.txt");
inline const QString FilterExcel = QStringLiteral("Excel file (*.xls*)|*.xls*");
inline const QString FilterSlk = QStringLiteral("Symbolic connection file (*.slk)|*.slk");
inline const QString FilterRtf = QStringLiteral("Rich text format (*.rtf)|*.rtf");
inline const QString FilterDocx = QStringLiteral("MSWord document (*.docx)|*.docx");
inline const QString FilterOdt = QStringLiteral("Open document format (*.odt)|*.odt");
inline const QString FilterAll = QStringLiteral("All files (*.*)|*.*");
inline const QString SepComma = QStringLiteral(", (comma)");
inline const QString SepSemicolon = QStringLiteral("; (semicolon)");
inline const QString SepTab = QStringLiteral("#9   (tab)");
inline const QString SepSpace = QStringLiteral("#32  (space)");

}  // namespace exptxt
