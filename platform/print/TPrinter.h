#pragma once
// The printer a document is drawn on through a TCanvas: an installed CUPS
// printer, or a PDF file. A PDF is written to a temporary file and put in
// place only when the document ends, so an aborted or failed print leaves
// no half file behind.

#include "platform/ui/Graphics.h"

#include <QString>
#include <memory>
#include <vector>

enum TPrinterOrientation { poPortrait, poLandscape };

class TPrinter {
public:
    TPrinter();
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // Printer to use (empty: the program's default printer).
    QString PrinterName;
    // A file name ending in ".pdf" prints into that PDF file instead; one
    // ending in ".png" draws A4 page images (name-1.png ...) at Resolution.
    QString OutputFileName;
    QString Title;
    TPrinterOrientation Orientation = poPortrait;
    int Resolution = 300;
    // Above 0: the pages are drawn into page pictures held in memory (for a
    // preview), at most this many pixels across, instead of being printed.
    int PreviewMaxWidth = 0;

    // Raises Exception when the printer cannot start (unknown printer, file not writable).
    void BeginDoc();
    void NewPage();
    void EndDoc();
    void Abort();
    bool Printing() const { return FPrinting; }

    TCanvas* Canvas() { return &FCanvas; }
    int PageWidth() const;
    int PageHeight() const;
    int PixelsPerInchX() const;
    int PixelsPerInchY() const;
    int PageNumber() const { return FPageNumber; }
    // One line of text in a cell, in the canvas font and colour, aligned
    // (DT_LEFT, DT_CENTER or DT_RIGHT) in R and cut with an ellipsis when
    // wider. A lean path for table cells, which are drawn by the ten thousand.
    void DrawCellText(const TRect& R, const QString& Text, unsigned Align);
    // The page pictures of a preview document, handed over once it ended.
    std::vector<std::unique_ptr<TBitmap>> TakePreviewPages();

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
    TCanvas FCanvas;
    bool FPrinting = false;
    int FPageNumber = 0;
};
