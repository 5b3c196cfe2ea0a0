#pragma once
// Texts of the print dialogs and the page preview.

#include <QString>

namespace prntxt {

inline const QString PrintRtfCaption = QStringLiteral("Print data to RTF file");
inline const QString PrintDirectCaption = QStringLiteral("Print of data");
inline const QString ReportName = QStringLiteral("Report name:");
inline const QString FormatOfPrint = QStringLiteral(" Format of print: ");
inline const QString Autoformat = QStringLiteral("Autoformat according data width");
inline const QString PaperSize = QStringLiteral("Paper size:");
inline const QString Orientation = QStringLiteral("Orientation:");
inline const QString Portrait = QStringLiteral("portrait");
inline const QString Landscape = QStringLiteral("landscape");
inline const QString FontSize = QStringLiteral("Font size:");
inline const QString SpacesBetween = QStringLiteral("Spaces between columns:");
inline const QString Truncation = QStringLiteral("Truncation of text columns:");
inline const QString FieldTextWraps = QStringLiteral("Field text will wrap:");
inline const QString RangeOfPrint = QStringLiteral(" Range of print: ");
inline const QString VisibleItems = QStringLiteral("Visible items");
inline const QString AllItems = QStringLiteral("All items");
inline const QString InsertSum = QStringLiteral("Insert sum of columns");
inline const QString NumberOfRecords = QStringLiteral("Number of records:");
inline const QString NumberOfPages = QStringLiteral("Number of pages approx:");
inline const QString PrinterGroup = QStringLiteral(" Printer: ");
inline const QString Setup = QStringLiteral("Setup...");
inline const QString Print = QStringLiteral("Print");
inline const QString ShowDoc = QStringLiteral("Show");
inline const QString Close = QStringLiteral("Close");
inline const QString Cancel = QStringLiteral("Cancel");
inline const QString Checking = QStringLiteral("Checking");
inline const QString OfData = QStringLiteral(" of data...");
inline const QString CreatingReport = QStringLiteral("Creating of report...");
inline const QString ErrorCreating = QStringLiteral("Error during creating of report.");
inline const QString Font = QStringLiteral("Font:");
inline const QString ChangeFont = QStringLiteral("<A Name=Font>Change font</A>");
inline const QString FitColumns = QStringLiteral("Fit columns to line width");
inline const QString UseColors = QStringLiteral("Use items color");
inline const QString PrintPictures = QStringLiteral("Print pictures");
inline const QString PictureCorrupted = QStringLiteral("(corrupted)");
inline const QString PrintGrid = QStringLiteral("Print grid");
inline const QString PrintPageNumber = QStringLiteral("Print page number");
inline const QString PrintRecordsCount = QStringLiteral("Print records count");
inline const QString Borders = QStringLiteral(" Borders (mm):");
inline const QString Horizontal = QStringLiteral("Horizontal:");
inline const QString Vertical = QStringLiteral("Vertical:");
inline const QString LineHeight = QStringLiteral("Line height:");
inline const QString Preview = QStringLiteral("Preview");
inline const QString ActionAborted = QStringLiteral("Action aborted.");
inline const QString PreviewLimited = QStringLiteral("Preview is limited to 60 pages.");
// The page preview.
inline const QString PreviewCaption = QStringLiteral("Print preview");
inline const QString ZoomToWindow = QStringLiteral("Zoom - to window");
inline const QString ZoomIn = QStringLiteral("Zoom in");
inline const QString ZoomOut = QStringLiteral("Zoom out");
inline const QString Page = QStringLiteral("Page:");
inline const QString PreviousPage = QStringLiteral("Previous page");
inline const QString NextPage = QStringLiteral("Next page");
inline const QString CloseForm = QStringLiteral("Close form");

}  // namespace prntxt
