#pragma once
// Documents printed whole, as the user sees them in their own program. The
// Linux printing system renders PDF, PostScript and images only (a text file
// comes out in the printer's own letters, an RTF or workbook as its source
// code or not at all), so every document becomes a PDF first: office files
// (RTF, DOCX, ODT, XLSX, SYLK and anything else) through a headless
// LibreOffice, plain text and pictures set on A4 pages here. The PDF then
// goes to the printer through lp, with the printer named on the command:
// the system's default printer is never changed.

#include <QString>
#include <QStringList>

// The printer the print dialogs offer when the system has none: the pages
// are written into a PDF file the user names.
extern const QString PdfFilePrinter;
bool IsPdfFilePrinter(const QString& Name);
// The installed printers, or the PDF file printer alone when there are none.
QStringList PrinterChoices();

// Writes Document as a PDF file PdfFile (replaced whole, or left alone on
// failure). Raises Exception with the reason.
void ConvertDocumentToPdf(const QString& Document, const QString& PdfFile);
// Prints Document on Printer (empty: the system's default) Copies times;
// returns when the printing system has accepted the job. Raises Exception
// with the reason (no printer, conversion failed, lp refused).
void PrintDocument(const QString& Document, const QString& Printer, int Copies = 1);
