#pragma once
// Direct printing of a grid's or dataset's rows onto a printer canvas, page
// by page: a report title and the column titles at the top of every page,
// the rows in their display widths (or fitted to the line), optional cell
// frames, page numbers and record count. A PDF file is a printer too.

#include "components/output/TExportEngine.h"
#include "platform/print/TPrinter.h"

#include <QStringList>

class TColumn;

class TDBPrintDirect : public TExportEngine {
public:
    explicit TDBPrintDirect(TComponent* AOwner = nullptr);

    QString Caption;
    QString FontName = QStringLiteral("DejaVu Sans");
    int FontSize = 8;
    TPrinterOrientation Orientation = poPortrait;
    QString PrinterName;
    int HMarginMM = 20;
    int VMarginMM = 20;
    double LineSpaceRatio = 0.2;
    bool FitColumns = false;
    bool PrintGrid = false;
    bool PrintPageNumber = false;
    bool PrintRecCount = false;
    bool PrintSum = false;
    // Grid sources: the columns' colours fill the cells and colour the text.
    bool UseColors = false;
    // Record views: graphic fields as pictures; tree views: the items' images.
    bool PrintPictures = false;
    // Above 0: the pages are drawn into pictures at most this wide (a
    // preview) instead of being printed; at most PreviewPageLimit of them.
    int PreviewMaxWidth = 0;
    int PreviewPageLimit = 60;

    // Pages of the last finished print.
    int PageCount() const { return FPages; }
    // Whether the last preview stopped at the page limit.
    bool PreviewLimited() const { return FLimited; }
    // The page pictures of the last preview.
    std::vector<std::unique_ptr<TBitmap>> TakePreviewPages() { return std::move(FPreview); }
    // Lines of text a page holds with the current font, margins and
    // orientation (one of them goes to the title row).
    int LinesPerPage();

protected:
    bool Run() override;
    QString ErrorText() const override;

private:
    void InitPage();
    void NewPage();
    void PrintHeader();
    void PrintFooter();
    void PrintRow(bool IsTitle, bool IsSum = false);
    QString CellText(size_t i, bool IsTitle, bool IsSum);
    void ColumnStyle(size_t i, bool IsTitle);
    void SetUpPrinter(TPrinter& P) const;
    int PrintTreeView();
    int PrintRecView();
    // A graphic field of a record view as its picture in the value column;
    // false when the field is no picture.
    // The picture's cell starts at CurY (a new page begun when it does not
    // fit there) and is Height high; CurY is left where it was.
    bool PrintPicture(const TExportColumn& Col, int Left, int& Height);
    // One cell of several lines from CurY, Height high, filled and framed as
    // a whole; the lines start Indent pixels in.
    void PrintTextCell(int Left, int Right, const QStringList& Lines, unsigned Align, int Indent, int Height);
    // A string grid's check-box cell: the glyph for Checked placed as the column wants.
    void PrintGridCheckBox(size_t i, int Left, bool Checked);
    // Moves to a new page when Height does not fit below CurY (and would fit on a page).
    void Fit(int Height);
    void TreeNodeStyle(class TTreeNode* N);
    void PrintCell(TRect R, const QString& Text, unsigned Align);
    // Whether F prints as a check box, and its state.
    bool AsCheckBox(TField* F, bool& Checked) const;
    void PrintCheckBox(int Left, int Width, bool Checked);
    // The lines of a text in a column Width pixels wide: its own line breaks
    // kept, words wrapped, an over-long word broken.
    QStringList WrapLines(const QString& Text, int Width) const;
    void SepLine(int Width);
    void ColumnWidths();
    int RowLines() const;

    TPrinter* FPrinter = nullptr;
    TCanvas* C = nullptr;
    std::vector<int> ColW;
    int mmx = 0, mmy = 0, Hmargin = 0, Vmargin = 0, PageWidth = 0, PageHeight = 0;
    int CurY = 0, LineH = 0, LineHSpace = 0, ColVSpace = 0;
    int FPages = 0;
    bool FLimited = false;
    std::vector<double> FSums;
    std::vector<std::unique_ptr<TBitmap>> FPreview;
};
